// Snapping, shape points and the small helpers.
#include "ostrel/GeoArray.h"
#include "ostrel/HeapSort.h"
#include "ostrel/Misc.h"
#include "ostrel/ShapePoints.h"
#include "ostrel/Snap.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

POINT P(LONG x, LONG y) { return POINT{x, y}; }

void ExpectPoint(const POINT& p, LONG x, LONG y)
{
    EXPECT_EQ(p.x, x);
    EXPECT_EQ(p.y, y);
}

const POINT kLine[] = {P(0, 0), P(100, 0), P(100, 100)};

TEST(OstrelSnap, PolylineFeatures)
{
    POINT pt = P(-1, -1);
    int index = -1;
    // The box's centre (98, 3) stands for the cursor.
    const RECT box = {90, -5, 106, 11};
    EXPECT_EQ(SnapToVertex(kLine, 3, pt, box, index, 0), 1);
    ExpectPoint(pt, 100, 0);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(SnapToNearestPoint(kLine, 3, pt, box, index, 0), 1);
    ExpectPoint(pt, 100, 3); // the second segment is nearer than the first
    EXPECT_EQ(index, 1);

    pt = P(-1, -1);
    index = -1;
    EXPECT_EQ(SnapToVertex(kLine, 3, pt, RECT{40, 40, 60, 60}, index, 0), 0); // nothing in the box
    ExpectPoint(pt, -1, -1);
    EXPECT_EQ(index, -1);
    EXPECT_EQ(SnapToVertex(kLine, 3, pt, box, index, 1), 0); // (100, 0) is farther than 1 from (98, 3)
    EXPECT_EQ(SnapToVertex(kLine, 3, pt, box, index, 4), 1);

    EXPECT_EQ(SnapToEndPoint(kLine, 3, pt, box, 0), 0); // (100, 0) is no end point
    EXPECT_EQ(SnapToEndPoint(kLine, 3, pt, RECT{95, 95, 105, 105}, 0), 1);
    ExpectPoint(pt, 100, 100);

    EXPECT_EQ(SnapToMidPoint(kLine, 3, pt, RECT{95, 45, 105, 55}, index, 0), 1);
    ExpectPoint(pt, 100, 50);
    EXPECT_EQ(index, 1);

    // The perpendicular from the point given, onto the segment it falls on.
    pt = P(40, 30);
    EXPECT_EQ(SnapToPerPoint(kLine, 3, pt, RECT{30, -10, 50, 10}, index, 0), 1);
    ExpectPoint(pt, 40, 0);
    EXPECT_EQ(index, 0);
    pt = P(140, 30);
    EXPECT_EQ(SnapToPerPoint(kLine, 3, pt, RECT{30, -10, 50, 10}, index, 0), 0);
}

TEST(OstrelSnap, CircleFeatures)
{
    const POINT c = P(0, 0);
    POINT pt = P(0, 0);
    EXPECT_EQ(SnapToCenterPoint(c, 10, 10, pt, RECT{-2, -2, 2, 2}, 0), 1);
    EXPECT_EQ(SnapToCenterPoint(c, 10, 10, pt, RECT{1, 1, 2, 2}, 0), 0);

    EXPECT_EQ(SnapToCircleNearestPoint(c, 100, 100, pt, RECT{60, 60, 80, 80}, 0), 1);
    ExpectPoint(pt, 71, 71);
    EXPECT_EQ(SnapToCircleNearestPoint(c, 200, 100, pt, RECT{190, -5, 210, 5}, 0), 1);
    ExpectPoint(pt, 200, 0);
    EXPECT_EQ(SnapToCircleNearestPoint(c, 200, 100, pt, RECT{-5, 90, 5, 110}, 0), 1);
    ExpectPoint(pt, 0, 100);
    EXPECT_EQ(SnapToCircleNearestPoint(c, 200, 100, pt, RECT{-5, -5, 5, 5}, 0), 0); // nearest is (0, 100)

    // Tangents from (20, 0) to the circle of radius 10 touch it at 60 degrees either side.
    pt = P(20, 0);
    EXPECT_EQ(SnapToCircleTangentPoint(c, 10, 10, pt, RECT{0, 0, 10, 10}, 0), 1);
    ExpectPoint(pt, 5, 9);
    pt = P(3, 3); // inside: no tangent
    EXPECT_EQ(SnapToCircleTangentPoint(c, 10, 10, pt, RECT{-20, -20, 20, 20}, 0), 0);
    pt = P(20, 0);
    EXPECT_EQ(SnapToCircleTangentPoint(c, 0, 10, pt, RECT{-20, -20, 20, 20}, 0), 0);

    const POINT quad[] = {P(10, 0), P(0, 10), P(-10, 0), P(0, -10)};
    EXPECT_EQ(SnapToQuadrant(quad, 4, c, 10, 10, pt, RECT{-12, -2, -8, 2}, 0), 1);
    ExpectPoint(pt, -10, 0);
}

TEST(OstrelShape, RegularAndRightAnglePolygons)
{
    POINT out[8];
    ASSERT_EQ(GetVertex(4, P(0, 0), P(10, 0), out), 4);
    ExpectPoint(out[0], 10, 0);
    ExpectPoint(out[1], 0, 10); // counter-clockwise
    ExpectPoint(out[3], 0, -10);
    EXPECT_EQ(GetVertex(0, P(0, 0), P(10, 0), out), 0);

    struct Case {
        std::vector<POINT> ctrl;
        std::vector<POINT> outline;
    };
    const Case cases[] = {
        {{P(3, 4)}, {P(3, 4)}},
        {{P(0, 0), P(10, 0)}, {P(0, 0), P(10, 0)}},
        // Three points make a rectangle, closed back at the first point.
        {{P(0, 0), P(10, 0), P(7, 5)}, {P(0, 0), P(10, 0), P(10, 5), P(0, 5), P(0, 0)}},
        // Four points: the last corner is dropped onto the first side's line.
        {{P(0, 0), P(10, 0), P(11, 10), P(-1, 9)}, {P(0, 0), P(10, 0), P(10, 10), P(-1, 10), P(-1, 0)}},
        // A tilted first side.
        {{P(0, 0), P(10, 10), P(0, 20)}, {P(0, 0), P(10, 10), P(0, 20), P(-10, 10), P(0, 0)}},
        // Coincident first points: the first side runs along +x.
        {{P(5, 5), P(5, 5), P(5, 9), P(9, 9)}, {P(5, 5), P(5, 5), P(5, 9), P(9, 9), P(9, 5)}},
    };
    for (const Case& c : cases) {
        const int n = (int)c.ctrl.size();
        std::vector<POINT> got((size_t)(2 * n));
        ASSERT_EQ(GetVertex(n, c.ctrl.data(), got.data()), (int)c.outline.size()) << n;
        for (size_t i = 0; i < c.outline.size(); ++i) ExpectPoint(got[i], c.outline[i].x, c.outline[i].y);
    }
}

TEST(OstrelShape, FeetAndSplines)
{
    ExpectPoint(VtPoint(P(0, 0), P(5, 7), SIZE{10, 0}), 5, 0);
    ExpectPoint(VtPoint(P(0, 0), P(5, 7), P(0, 0)), 0, 0);
    ExpectPoint(ProPoint(P(0, 0), P(10, 10), P(10, 0)), 5, 5);
    ExpectPoint(ProPoint(P(3, 3), P(3, 3), P(10, 0)), 3, 3);

    // Control points on a straight line interpolate on it; control slots stay.
    POINT slots[9] = {P(0, 0), P(-1, -1), P(-1, -1), P(-1, -1), P(40, 0), P(-1, -1), P(-1, -1), P(-1, -1), P(80, 0)};
    AdjustSpline(9, 3, slots);
    ExpectPoint(slots[0], 0, 0);
    ExpectPoint(slots[4], 40, 0);
    ExpectPoint(slots[8], 80, 0);
    for (int i : {1, 2, 3, 5, 6, 7}) {
        EXPECT_EQ(slots[i].y, 0);
        EXPECT_GT(slots[i].x, slots[i - 1].x);
    }
    // A bend: the curve passes through the control points and bulges between them.
    POINT bend[5] = {P(0, 0), P(0, 0), P(100, 100), P(0, 0), P(200, 0)};
    AdjustSpline(5, 1, bend);
    ExpectPoint(bend[2], 100, 100);
    EXPECT_GT(bend[1].y, 50);
    EXPECT_GT(bend[3].y, 50);
    POINT untouched[3] = {P(1, 1), P(9, 9), P(2, 2)};
    AdjustSpline(3, 0, untouched);
    ExpectPoint(untouched[1], 9, 9);
}

TEST(OstrelMisc, TextSortingArraysContours)
{
    EXPECT_STREQ((LPCSTR)itos(0), "0");
    EXPECT_STREQ((LPCSTR)itos(-12), "-12");
    EXPECT_STREQ((LPCSTR)itos(INT_MIN), "-2147483648");

    LONG values[] = {5, -3, 5, 0, INT_MAX, INT_MIN, 2};
    CHeapSort::HeapSort(values, 7);
    const LONG sorted[] = {INT_MIN, -3, 0, 2, 5, 5, INT_MAX};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(values[i], sorted[i]);
    CHeapSort::HeapSort(values, 0);

    CGeoArray array;
    EXPECT_EQ(array.GetData(), nullptr);
    std::vector<POINT> many(120, P(1, 2));
    array.Add(many.data(), 120);
    array.Add(P(9, 9));
    EXPECT_EQ(array.GetSize(), 121);
    POINT* block = array.GetData();
    ASSERT_NE(block, nullptr);
    ExpectPoint(block[120], 9, 9);
    delete[] block;
    ExpectPoint(array.GetAt(121), 0, 0);

    POINT ring[] = {P(1, 1), P(2, 2), P(3, 3)};
    SwapCoordinate(ring, 3);
    ExpectPoint(ring[0], 3, 3);
    ExpectPoint(ring[2], 1, 1);
    Swap(ring[0], ring[1]);
    ExpectPoint(ring[0], 2, 2);

    struct Case {
        double z;
        float interval;
        int pointMode, type;
    };
    const Case cases[] = {
        {100.0, 10.0f, 0, 0}, {-50.0, 10.0f, 0, 0}, {0.0, 10.0f, 0, 0},  {30.0, 10.0f, 0, 1},
        {35.0, 10.0f, 0, 2},  {37.5, 10.0f, 0, 3},  {36.0, 10.0f, 0, -1}, {36.0, 10.0f, 1, 4},
        {30.0, 0.0f, 0, -1},  {0.3, 0.1f, 0, 1},    {30.0, -10.0f, 1, -1},
    };
    for (const Case& c : cases) EXPECT_EQ(GetContourType(c.z, c.interval, c.pointMode), c.type) << c.z;
}

} // namespace
