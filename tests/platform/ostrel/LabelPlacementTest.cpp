// Label-placement helpers: their side and ordering conventions and their refusals.
#include <ostrel/LabelPlacement.h>

#include <gtest/gtest.h>

namespace {

bool Same(const POINT& a, const POINT& b) { return a.x == b.x && a.y == b.y; }

}  // namespace

TEST(LabelPlacement, InsertPointRoundsHalvesUpwards) {
    EXPECT_TRUE(Same(CalcInsertPoint({0, 0}, {10, -5}, 0.5), POINT{5, -2}));  // -2.5 -> -2
    EXPECT_TRUE(Same(CalcInsertPoint({0, 0}, {10, 0}, 1.5), POINT{15, 0}));   // beyond b
}

TEST(LabelPlacement, NearestSegmentToARectangle) {
    const POINT line[3] = {{0, 0}, {100, 0}, {100, 100}};
    POINT nearest{-1, -1};
    EXPECT_EQ(CalcMinDisNo(line, 3, RECT{120, 40, 120, 40}, nearest), 1);
    EXPECT_TRUE(Same(nearest, POINT{100, 40}));
    EXPECT_EQ(CalcMinDisNo(line, 3, RECT{40, 10, 40, 10}, nearest), 0);
    EXPECT_TRUE(Same(nearest, POINT{40, 0}));
    nearest = POINT{7, 7};
    EXPECT_EQ(CalcMinDisNo(line, 1, RECT{0, 0, 0, 0}, nearest), -1);
    EXPECT_EQ(CalcMinDisNo(nullptr, 3, RECT{0, 0, 0, 0}, nearest), -1);
    EXPECT_TRUE(Same(nearest, POINT{7, 7}));
}

TEST(LabelPlacement, OffsetSideOneIsLeftOfTravel) {
    // Travelling +x with y up: left is +y. The corner keeps both segments at the distance.
    const POINT line[3] = {{0, 0}, {100, 0}, {100, 100}};
    int count = 3;
    const POINT* left = CalcOffsetPoint(line, count, 10.0, 1, 1);
    ASSERT_NE(left, nullptr);
    ASSERT_EQ(count, 3);
    EXPECT_TRUE(Same(left[0], POINT{0, 10}));
    EXPECT_TRUE(Same(left[1], POINT{90, 10}));
    EXPECT_TRUE(Same(left[2], POINT{90, 100}));
    const POINT* right = CalcOffsetPoint(line, count, 10.0, 0, 1);
    EXPECT_TRUE(Same(right[0], POINT{0, -10}));
    EXPECT_TRUE(Same(right[1], POINT{110, -10}));
    int none = 0;
    EXPECT_EQ(CalcOffsetPoint(line, none, 10.0, 1, 1), nullptr);
    int single = 1;
    const POINT* still = CalcOffsetPoint(line, single, 10.0, 1, 1);
    ASSERT_NE(still, nullptr);
    EXPECT_TRUE(Same(still[0], line[0]));  // a lone point has no side
}

TEST(LabelPlacement, SegmentAndEllipseCrossings) {
    POINT first{}, second{};
    // Through the circle of radius 10 about the origin: both crossings on the segment, nearer to a first.
    EXPECT_EQ(CalcLineXEllipse({-20, 0}, {20, 0}, {0, 0}, 10, 10, first, second), 2);
    EXPECT_TRUE(Same(first, POINT{-10, 0}));
    EXPECT_TRUE(Same(second, POINT{10, 0}));
    // From the centre outwards: one crossing on the segment, the other behind a.
    EXPECT_EQ(CalcLineXEllipse({0, 0}, {0, 30}, {0, 0}, 10, 10, first, second), 1);
    EXPECT_TRUE(Same(first, POINT{0, 10}));
    EXPECT_TRUE(Same(second, POINT{0, -10}));
    // An ellipse stretched along x.
    EXPECT_EQ(CalcLineXEllipse({0, 0}, {40, 0}, {0, 0}, 20, 5, first, second), 1);
    EXPECT_TRUE(Same(first, POINT{20, 0}));
    // Inside without reaching, missing, degenerate.
    first = POINT{7, 7};
    EXPECT_EQ(CalcLineXEllipse({0, 0}, {3, 0}, {0, 0}, 10, 10, first, second), 0);
    EXPECT_EQ(CalcLineXEllipse({-20, 50}, {20, 50}, {0, 0}, 10, 10, first, second), 0);
    EXPECT_EQ(CalcLineXEllipse({0, 0}, {20, 0}, {0, 0}, 0, 10, first, second), 0);
    EXPECT_EQ(CalcLineXEllipse({5, 5}, {5, 5}, {0, 0}, 10, 10, first, second), 0);
    EXPECT_TRUE(Same(first, POINT{7, 7}));
}
