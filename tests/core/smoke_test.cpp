#include <gtest/gtest.h>

#include "image/image.h"

TEST(Smoke, NewImageIsBlack) {
    Image image;
    EXPECT_EQ(image.count, 76800);
    EXPECT_EQ(image.pixelAt(319, 239), 0u);
}
