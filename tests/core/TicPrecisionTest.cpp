// The tick precision setter refuses what the coordinate library cannot format.
#include "core/GeoSettings.h"

#include <pellion/TicPrecision.h>

#include <gtest/gtest.h>

TEST(TicPrecision, OutOfRangeStoresMinusOne)
{
    const int before = GetTicPrecision();
    const int max = GetMaxTicPrecision();
    const struct {
        int in, stored;
    } cases[] = {{-2, -1}, {-1, -1}, {0, 0}, {3, 3}, {max, max}, {max + 1, -1}, {-100, -1}};
    for (const auto& c : cases) {
        SetTicPrecision(c.in);
        EXPECT_EQ(GetTicPrecision(), c.stored) << c.in;
    }
    SetTicPrecision(before);
}
