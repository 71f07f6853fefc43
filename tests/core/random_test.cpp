#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "common/random.h"

namespace {

class RandomTest : public ::testing::Test {
protected:
    void SetUp() override { prng::reset(); }
    void TearDown() override { prng::reset(); }
};

std::vector<int> draws(int count) {
    std::vector<int> values;
    for (int i = 0; i < count; ++i) values.push_back(prng::rand());
    return values;
}

}  // namespace

TEST_F(RandomTest, StartStateIsOne) {
    EXPECT_EQ(prng::state(), 1u);
    EXPECT_EQ(draws(10), (std::vector<int>{41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464}));
}

TEST_F(RandomTest, SeedOfTheChannelDrift) {
    prng::srand(123);
    EXPECT_EQ(draws(10), (std::vector<int>{440, 19053, 23075, 13104, 32363, 3265, 30749, 32678, 9760, 28064}));
}

TEST_F(RandomTest, SeedingRestartsTheSequence) {
    prng::srand(123);
    std::vector<int> first = draws(5);
    prng::srand(123);
    EXPECT_EQ(draws(5), first);
    prng::srand(1);
    EXPECT_EQ(prng::rand(), 41);
}

TEST_F(RandomTest, StateStepsModuloTwoToTheThirtyTwo) {
    prng::srand(0xFFFFFFFFu);
    int value = prng::rand();
    // 0xFFFFFFFF * 214013 + 2531011 = 2316998 modulo 2^32.
    EXPECT_EQ(prng::state(), 2316998u);
    EXPECT_EQ(value, (2316998 >> 16) & 0x7FFF);
}

TEST_F(RandomTest, DrawsStayWithinFifteenBits) {
    prng::srand(0);
    int highest = 0, topHalfStates = 0;
    for (int i = 0; i < 100000; ++i) {
        int value = prng::rand();
        ASSERT_GE(value, 0);
        ASSERT_LE(value, 32767);
        highest = std::max(highest, value);
        topHalfStates += (prng::state() >> 31) != 0;
    }
    EXPECT_EQ(highest, 32767);
    EXPECT_GT(topHalfStates, 0);  // states with bit 31 set were drawn from too
}
