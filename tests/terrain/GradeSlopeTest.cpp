#include "terrain/GradeSlope.h"

#include "terrain/GeoDEM.h"
#include "DemFixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using demtest::MakeDem;
using demtest::MakeDemFn;

namespace {

const LONG X = -99999;

std::unique_ptr<CGradeSlope> Slope(CGeoDEM& dem, int columns = 0, int rows = 0)
{
    CGradeSlope* out = nullptr;
    dem.CalculateGradeSlope(out, columns, rows);
    return std::unique_ptr<CGradeSlope>(out);
}

ENSLOPE Dir(const CGradeSlope& s, int c, int r)
{
    float g;
    ENSLOPE d = SLOPE_NONE;
    EXPECT_EQ(s.GetGradeSlope(c, r, g, d), 1);
    return d;
}

}  // namespace

TEST(GradeSlope, PitDrawsEveryNeighbourAndHasNoDirection)
{
    auto dem = MakeDem({{5, 5, 5}, {5, 1, 5}, {5, 5, 5}}, 0, 30, 10.0, 1.0);
    auto s = Slope(*dem);
    ASSERT_EQ(s->GetWidth(), 3);
    ASSERT_EQ(s->GetHeight(), 3);
    const ENSLOPE expected[3][3] = {{SLOPE_SOUTHEAST, SLOPE_SOUTH, SLOPE_SOUTHWEST},
                                    {SLOPE_EAST, SLOPE_NONE, SLOPE_WEST},
                                    {SLOPE_NORTHEAST, SLOPE_NORTH, SLOPE_NORTHWEST}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) EXPECT_EQ(Dir(*s, c, r), expected[r][c]) << c << "," << r;
    float g = -1;
    ENSLOPE d;
    ASSERT_EQ(s->GetGradeSlope(1, 1, g, d), 1);
    EXPECT_EQ(g, 0.0f);  // cells without direction read 0
    ASSERT_EQ(s->GetGradeSlope(0, 0, g, d), 1);
    EXPECT_NEAR(g, std::atan(4.0 / (10 * std::sqrt(2.0))), 1e-6);  // diagonal: 4 m over 10 sqrt 2
    ASSERT_EQ(s->GetGradeSlope(1, 0, g, d), 1);
    EXPECT_NEAR(g, std::atan(0.4), 1e-6);
    EXPECT_EQ(s->GetGradeSlope(3, 0, g, d), 0);
    EXPECT_EQ(s->SetGradeSlope(0, -1, 1.0f, SLOPE_EAST), 0);
}

TEST(GradeSlope, TiesInvalidNodesAndTheBlockForm)
{
    // North and east equally low: both functions choose north. The invalid node is never chosen.
    auto dem = MakeDem({{9, 2, 9}, {9, 5, 2}, {X, 9, 9}}, 0, 30, 10.0, 0.1);
    auto s = Slope(*dem);
    EXPECT_EQ(Dir(*s, 1, 1), SLOPE_NORTH);
    EXPECT_EQ(Dir(*s, 0, 2), SLOPE_NONE);  // the invalid node itself
    EXPECT_EQ(Dir(*s, 1, 2), SLOPE_NORTHEAST);  // 9 -> the 2 north-east of it; the invalid west is skipped
    double block[9];
    ASSERT_EQ(dem->GetGradeBlock(0, 0, 0, 3, 3, block), 1);
    // South row first: (X, 9, 9), then (9, 5, 2), then (9, 2, 9).
    EXPECT_EQ(block[0], -1.0);                 // invalid
    EXPECT_NEAR(block[4], 0.3 / 10.0, 1e-12);  // centre: to the north (3 stored x 0.1 over 10 m)
    EXPECT_EQ(block[7], -1.0);                 // the northern 2: no lower neighbour
    EXPECT_NEAR(block[2], 0.7 / 10.0, 1e-12);  // south-east 9 -> north 2
    EXPECT_EQ(dem->GetGradeBlock(0, 1, 1, 3, 3, block), 0);  // leaves the grid
}

TEST(GradeSlope, CoarseGridsAndSingleRowsOrColumns)
{
    // A valley along the middle row falling 1 per node to the east: on a 3 x 3 grid over 5 x 5 nodes
    // the neighbours are two nodes away and the distance counts source nodes.
    auto dem = MakeDemFn(5, 5, [](int c, int r) { return 100 - c + 3 * std::abs(r - 2); }, 0, 50, 10.0, 1.0);
    auto s = Slope(*dem, 3, 3);
    ASSERT_EQ(s->GetWidth(), 3);
    float g;
    ENSLOPE d;
    ASSERT_EQ(s->GetGradeSlope(1, 1, g, d), 1);
    EXPECT_EQ(d, SLOPE_EAST);
    EXPECT_NEAR(g, std::atan(2.0 / 20.0), 1e-6);
    EXPECT_EQ(Dir(*s, 2, 1), SLOPE_NONE);

    // One output column or row: no division by zero; the samples have neighbours on one axis only.
    auto column = Slope(*dem, 1, 3);
    ASSERT_EQ(column->GetWidth(), 1);
    EXPECT_EQ(Dir(*column, 0, 1), SLOPE_NONE);  // the valley floor
    auto row = Slope(*dem, 5, 1);
    EXPECT_EQ(Dir(*row, 0, 0), SLOPE_EAST);
    auto single = MakeDem({{3}});
    auto one = Slope(*single);
    EXPECT_EQ(Dir(*one, 0, 0), SLOPE_NONE);

    CGeoDEM empty;
    CGradeSlope* none = reinterpret_cast<CGradeSlope*>(1);
    empty.CalculateGradeSlope(none, 0, 0);
    EXPECT_EQ(none, nullptr);
}
