#include <gtest/gtest.h>

#include <memory>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "image/pcx.h"
#include "support/test_files.h"

namespace {

using Bytes = std::vector<uint8_t>;

// A 128-byte header with the width and height at offsets 12 and 14 and the
// other fields as an exporter writes them, followed by the pixel data.
Bytes pcxFile(int width, int height, const Bytes& data) {
    Bytes file(128 + data.size(), 0);
    std::copy(data.begin(), data.end(), file.begin() + 128);
    file[0] = 10;
    file[1] = 5;
    file[2] = 1;
    file[3] = 8;
    // The window says 3x2 whatever the picture is: it must not be used.
    file[8] = 2;
    file[10] = 1;
    file[12] = static_cast<uint8_t>(width & 0xFF);
    file[13] = static_cast<uint8_t>(width >> 8);
    file[14] = static_cast<uint8_t>(height & 0xFF);
    file[15] = static_cast<uint8_t>(height >> 8);
    file[65] = 3;
    file[66] = static_cast<uint8_t>((width + 1) & 0xFF);  // a padded line length, not consulted
    return file;
}

using Loaded = std::unique_ptr<Image>;

uint8_t red(const Image& image, int x, int y) { return image.pixels[4 * (x + y * image.width) + 2]; }
uint8_t green(const Image& image, int x, int y) { return image.pixels[4 * (x + y * image.width) + 1]; }
uint8_t blue(const Image& image, int x, int y) { return image.pixels[4 * (x + y * image.width) + 0]; }

class PcxTest : public ::testing::Test {
protected:
    Loaded load(const Bytes& contents) { return loadPcx(ShowContext(messages), dir.write("picture.pcx", contents).c_str()); }
    TempDir dir;
    MessageLog messages;
};

}  // namespace

// ---------------------------------------------------------------- header

TEST_F(PcxTest, MissingFileGivesEmptyImage) {
    Loaded image(loadPcx(ShowContext(messages), dir.file("absent.pcx").c_str()));
    EXPECT_EQ(image->width, 0);
    EXPECT_EQ(image->height, 0);
    EXPECT_EQ(image->count(), 0);
}

TEST_F(PcxTest, SizeComesFromOffsetsTwelveAndFourteen) {
    Loaded image(load(pcxFile(258, 3, {})));
    EXPECT_EQ(image->width, 258);
    EXPECT_EQ(image->height, 3);
    EXPECT_EQ(image->count(), 774);
}

TEST_F(PcxTest, SizeFieldsAreUnsigned) {
    Loaded image(load(pcxFile(40000, 1, {})));
    EXPECT_EQ(image->width, 40000);
    EXPECT_EQ(image->height, 1);
}

TEST_F(PcxTest, ZeroWidthOrHeightGivesEmptyImageOfThatSize) {
    Loaded wide(load(pcxFile(5, 0, {1, 2, 3})));
    EXPECT_EQ(wide->width, 5);
    EXPECT_EQ(wide->height, 0);
    EXPECT_EQ(wide->count(), 0);
    Loaded tall(load(pcxFile(0, 7, {1, 2, 3})));
    EXPECT_EQ(tall->width, 0);
    EXPECT_EQ(tall->height, 7);
    EXPECT_EQ(tall->count(), 0);
}

TEST_F(PcxTest, ShortHeaderStillGivesTheHeadersSize) {
    Bytes file = pcxFile(4, 2, {});
    file.resize(16);
    Loaded image(load(file));
    EXPECT_EQ(image->width, 4);
    EXPECT_EQ(image->height, 2);
    for (int i = 0; i < image->count() * 4; ++i) EXPECT_EQ(image->pixels[i], 0) << i;
}

TEST_F(PcxTest, FileShorterThanTheSizeFieldsGivesEmptyImage) {
    Bytes file = pcxFile(4, 2, {});
    file.resize(13);  // the low byte of the width only
    Loaded image(load(file));
    EXPECT_EQ(image->width, 4);
    EXPECT_EQ(image->height, 0);
    EXPECT_EQ(image->count(), 0);
    Loaded empty(load({}));
    EXPECT_EQ(empty->count(), 0);
}

TEST_F(PcxTest, OversizedHeaderIsRefusedWithOneLineNamingTheFile) {
    std::string path = dir.write("huge.pcx", pcxFile(65535, 65535, {0xC1, 0x10}));
    Loaded image = loadPcx(ShowContext(messages), path.c_str());
    const std::string& error = messages.warnings;
    EXPECT_EQ(image->count(), 0);
    EXPECT_EQ(image->width, 0);
    EXPECT_EQ(image->height, 0);
    EXPECT_NE(error.find(path), std::string::npos) << error;
    ASSERT_FALSE(error.empty());
    EXPECT_EQ(error.back(), '\n');
    EXPECT_EQ(error.find('\n'), error.size() - 1) << error;
}

// 64 MiB of pixels is the largest picture taken.
TEST_F(PcxTest, SixtyFourMebibytesIsTheLimit) {
    Loaded tooLarge = loadPcx(ShowContext(messages), dir.write("over.pcx", pcxFile(4096, 4097, {})).c_str());
    EXPECT_FALSE(messages.warnings.empty());
    EXPECT_EQ(tooLarge->count(), 0);

    messages.warnings.clear();
    Loaded largest(loadPcx(ShowContext(messages), dir.write("limit.pcx", pcxFile(4096, 4096, {0xC3, 0x21})).c_str()));
    EXPECT_TRUE(messages.warnings.empty());
    ASSERT_EQ(largest->count(), 4096 * 4096);
    EXPECT_EQ(red(*largest, 2, 0), 0x21);
    EXPECT_EQ(red(*largest, 3, 0), 0);
    EXPECT_EQ(blue(*largest, 4095, 4095), 0);
}

// A caller may take less than the show's limit: a picture over its limit is
// refused before any pixel array is made, one at the limit is read.
TEST_F(PcxTest, CallerMayLowerTheLimit) {
    std::string path = dir.write("small.pcx", pcxFile(16, 16, {0xC2, 0x44}));
    Loaded refused = loadPcx(ShowContext(messages), path.c_str(), 16 * 16 * 4 - 1);
    EXPECT_FALSE(messages.warnings.empty());
    EXPECT_EQ(refused->count(), 0);
    EXPECT_EQ(refused->pixels, nullptr);

    messages.warnings.clear();
    Loaded taken(loadPcx(ShowContext(messages), path.c_str(), 16 * 16 * 4));
    EXPECT_TRUE(messages.warnings.empty());
    ASSERT_EQ(taken->count(), 256);
    EXPECT_EQ(red(*taken, 1, 0), 0x44);
    EXPECT_EQ(red(*taken, 2, 0), 0);
}

// ---------------------------------------------------------------- decoding

TEST_F(PcxTest, TwoByOnePictureOfLiterals) {
    Loaded image(load(pcxFile(2, 1, {10, 20, 30, 40, 50, 60})));
    EXPECT_EQ(image->pixelAt(0, 0), 0x000A1E32u);  // red 10, green 30, blue 50
    EXPECT_EQ(image->pixelAt(1, 0), 0x0014283Cu);  // red 20, green 40, blue 60
}

TEST_F(PcxTest, RowsHoldRedGreenBluePlaneRowsTopDown) {
    Loaded image(load(pcxFile(2, 2, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12})));
    EXPECT_EQ(image->pixelAt(0, 0), 0x00010305u);
    EXPECT_EQ(image->pixelAt(1, 0), 0x00020406u);
    EXPECT_EQ(image->pixelAt(0, 1), 0x0007090Bu);
    EXPECT_EQ(image->pixelAt(1, 1), 0x00080A0Cu);
}

TEST_F(PcxTest, RunFillsFivePixelsAndHighestLiteralIs191) {
    // red: a run of five 0x80, then the literal 191; green and blue: runs of 6.
    Loaded image(load(pcxFile(6, 1, {0xC5, 0x80, 0xBF, 0xC6, 0x01, 0xC6, 0x02})));
    for (int x = 0; x < 5; ++x) EXPECT_EQ(red(*image, x, 0), 0x80) << x;
    EXPECT_EQ(red(*image, 5, 0), 191);
    for (int x = 0; x < 6; ++x) {
        EXPECT_EQ(green(*image, x, 0), 1);
        EXPECT_EQ(blue(*image, x, 0), 2);
        EXPECT_EQ(image->pixels[4 * x + 3], 0);
    }
}

TEST_F(PcxTest, RunValueMayBeAnyByteIncludingRunMarkers) {
    Loaded image(load(pcxFile(1, 1, {0xC1, 0xFF, 0xC1, 0xC0, 0xC1, 0xC5})));
    EXPECT_EQ(image->pixelAt(0, 0), 0x00FFC0C5u);
}

TEST_F(PcxTest, RunOfLengthZeroWritesNothingAndDoesNotMove) {
    Loaded image(load(pcxFile(2, 1, {0xC0, 0x77, 5, 6, 7, 8, 9, 10})));
    EXPECT_EQ(red(*image, 0, 0), 5);
    EXPECT_EQ(red(*image, 1, 0), 6);
    EXPECT_EQ(green(*image, 0, 0), 7);
    EXPECT_EQ(blue(*image, 1, 0), 10);
}

TEST_F(PcxTest, RunPastTheEndOfTheRedRowIsCutThere) {
    // Width 3: the red run of 5 writes three bytes; green starts with 0x11.
    Loaded image(load(pcxFile(3, 1, {0xC5, 0x99, 0x11, 0x12, 0x13, 0x21, 0x22, 0x23})));
    for (int x = 0; x < 3; ++x) EXPECT_EQ(red(*image, x, 0), 0x99) << x;
    EXPECT_EQ(green(*image, 0, 0), 0x11);
    EXPECT_EQ(green(*image, 2, 0), 0x13);
    EXPECT_EQ(blue(*image, 0, 0), 0x21);
    EXPECT_EQ(blue(*image, 2, 0), 0x23);
}

TEST_F(PcxTest, RunPastTheLastPlaneRowDoesNotSpillIntoTheNextRow) {
    Loaded image(load(pcxFile(2, 2, {1, 1, 2, 2, 0xC9, 0x33, 4, 4, 5, 5, 6, 6})));
    EXPECT_EQ(blue(*image, 1, 0), 0x33);
    EXPECT_EQ(red(*image, 0, 1), 4);
    EXPECT_EQ(red(*image, 1, 1), 4);
    EXPECT_EQ(blue(*image, 1, 1), 6);
}

// The pixel data is read in blocks of 1000 bytes; a run whose count byte is
// the last of one block takes its value from the first byte of the next.
TEST_F(PcxTest, RunValueAtTheStartOfTheNextBlock) {
    const int width = 1001;
    Bytes data(999, 0x05);          // red literals for columns 0..998
    data.push_back(0xC2);           // data byte 999: the last of the first block
    data.push_back(0xAB);           // data byte 1000: the first of the second
    // Green is runs of 0x44, blue literals.
    for (int done = 0; done < width;) {
        int run = std::min(63, width - done);
        data.push_back(static_cast<uint8_t>(0xC0 + run));
        data.push_back(0x44);
        done += run;
    }
    for (int x = 0; x < width; ++x) data.push_back(static_cast<uint8_t>(x % 150));
    Loaded image(load(pcxFile(width, 1, data)));
    EXPECT_EQ(red(*image, 998, 0), 0x05);
    EXPECT_EQ(red(*image, 999, 0), 0xAB);
    EXPECT_EQ(red(*image, 1000, 0), 0xAB);
    for (int x = 0; x < width; ++x) {
        ASSERT_EQ(green(*image, x, 0), 0x44) << x;
        ASSERT_EQ(blue(*image, x, 0), x % 150) << x;
    }
}

// Reading the data in blocks must give what reading it whole gives.
TEST_F(PcxTest, LargePictureDecodesAcrossManyBlocks) {
    const int width = 320, height = 240;
    Bytes data;
    std::vector<uint8_t> expected(static_cast<size_t>(width) * height * 3);
    uint32_t state = 99;
    size_t e = 0;
    for (int y = 0; y < height; ++y) {
        for (int plane = 0; plane < 3; ++plane) {
            for (int x = 0; x < width;) {
                state = state * 1103515245u + 12345u;
                int run = 1 + static_cast<int>((state >> 16) % 7);
                uint8_t value = static_cast<uint8_t>(state >> 24);
                run = std::min(run, width - x);
                if (run == 1 && value < 192) {
                    data.push_back(value);
                } else {
                    data.push_back(static_cast<uint8_t>(0xC0 + run));
                    data.push_back(value);
                }
                for (int k = 0; k < run; ++k) expected[e++] = value;
                x += run;
            }
        }
    }
    Loaded image(load(pcxFile(width, height, data)));
    ASSERT_EQ(image->count(), width * height);
    e = 0;
    for (int y = 0; y < height; ++y) {
        for (int plane = 2; plane >= 0; --plane) {
            for (int x = 0; x < width; ++x) {
                ASSERT_EQ(image->pixels[4 * (x + y * width) + plane], expected[e++]) << x << "," << y;
            }
        }
    }
    for (int i = 0; i < width * height; ++i) ASSERT_EQ(image->pixels[4 * i + 3], 0);
}

// ---------------------------------------------------------------- truncation

TEST_F(PcxTest, MissingPixelDataDecodesAsZero) {
    Loaded image(load(pcxFile(3, 2, {7, 8})));
    EXPECT_EQ(red(*image, 0, 0), 7);
    EXPECT_EQ(red(*image, 1, 0), 8);
    EXPECT_EQ(red(*image, 2, 0), 0);
    for (int x = 0; x < 3; ++x) EXPECT_EQ(image->pixelAt(x, 1), 0u);
}

// The end of the file in a later block: the missing bytes are 0, not what the
// previous block left in the buffer.
TEST_F(PcxTest, TruncatedLaterBlockDoesNotReuseOldBytes) {
    const int width = 400;
    Bytes data(1200, 0x2A);  // literal 42 for the first 1200 plane bytes
    Loaded image(load(pcxFile(width, 2, data)));
    // Plane bytes 0..1199 are 42: red, green, blue of row 0.
    EXPECT_EQ(blue(*image, 399, 0), 0x2A);
    // Row 1 would be 42 again if old buffer contents were decoded.
    for (int x = 0; x < width; ++x) ASSERT_EQ(image->pixelAt(x, 1), 0u) << x;
}

TEST_F(PcxTest, RunCountAsTheLastByteOfTheFileFillsZero) {
    Loaded image(load(pcxFile(4, 1, {1, 0xC3})));
    EXPECT_EQ(red(*image, 0, 0), 1);
    EXPECT_EQ(red(*image, 1, 0), 0);
    EXPECT_EQ(red(*image, 3, 0), 0);
}

// The file ends exactly at a block's end: the block after it is empty, and
// everything decoded before stays.
TEST_F(PcxTest, FileEndingAtABlockBoundaryKeepsEveryByte) {
    Bytes data(2000, 0x05);
    Loaded image(load(pcxFile(1000, 2, data)));
    EXPECT_EQ(red(*image, 999, 0), 5);
    EXPECT_EQ(green(*image, 999, 0), 5);
    EXPECT_EQ(blue(*image, 0, 0), 0);
    EXPECT_EQ(image->pixelAt(999, 1), 0u);
}

TEST_F(PcxTest, HeaderOnlyGivesBlackPictureOfItsSize) {
    Loaded image(load(pcxFile(320, 240, {})));
    ASSERT_EQ(image->count(), 76800);
    for (int i = 0; i < 76800 * 4; ++i) ASSERT_EQ(image->pixels[i], 0) << i;
}
