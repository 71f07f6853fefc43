#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "common/random.h"

namespace {

std::vector<int> draws(Random& random, int count) {
    std::vector<int> values;
    for (int i = 0; i < count; ++i) values.push_back(random.rand());
    return values;
}

}  // namespace

TEST(RandomTest, KnownSequencesFromTheStartStateAndTheDriftSeed) {
    Random random;
    EXPECT_EQ(random.state, 1u);
    EXPECT_EQ(draws(random, 10), (std::vector<int>{41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464}));
    random.srand(123);
    EXPECT_EQ(draws(random, 10), (std::vector<int>{440, 19053, 23075, 13104, 32363, 3265, 30749, 32678, 9760, 28064}));
    random.srand(1);
    EXPECT_EQ(random.rand(), 41);
}

TEST(RandomTest, StateStepsModuloTwoToTheThirtyTwo) {
    Random random;
    random.srand(0xFFFFFFFFu);
    int value = random.rand();
    // 0xFFFFFFFF * 214013 + 2531011 = 2316998 modulo 2^32.
    EXPECT_EQ(random.state, 2316998u);
    EXPECT_EQ(value, (2316998 >> 16) & 0x7FFF);
}

TEST(RandomTest, DrawsStayWithinFifteenBits) {
    Random random;
    random.srand(0);
    int highest = 0, topHalfStates = 0;
    for (int i = 0; i < 100000; ++i) {
        int value = random.rand();
        ASSERT_GE(value, 0);
        ASSERT_LE(value, 32767);
        highest = std::max(highest, value);
        topHalfStates += (random.state >> 31) != 0;
    }
    EXPECT_EQ(highest, 32767);
    EXPECT_GT(topHalfStates, 0);  // states with bit 31 set were drawn from too
}
