#include <afx/Random.h>

#include <gtest/gtest.h>

#include <vector>

TEST(AfxRand, FifteenBitSequenceOfTheClassLibrary)
{
    AfxSRand(1);
    EXPECT_EQ(AfxRand(), 41);
    EXPECT_EQ(AfxRand(), 18467);
    EXPECT_EQ(AfxRand(), 6334);
    // Never beyond 15 bits, so rand() * 5 / 32767 stays below 5.
    for (int i = 0; i < 100000; ++i) {
        const int r = AfxRand();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, AFX_RAND_MAX);
    }
}

TEST(AfxRand, ClockSeedCanBeFixedForTests)
{
    AfxSetClockSeed(1, 77);
    AfxSRandFromClock();
    std::vector<int> first{AfxRand(), AfxRand(), AfxRand()};
    AfxSRandFromClock();
    std::vector<int> second{AfxRand(), AfxRand(), AfxRand()};
    EXPECT_EQ(first, second);
    AfxSRand(77);
    EXPECT_EQ(AfxRand(), first[0]);
    AfxSetClockSeed(0, 0);
}
