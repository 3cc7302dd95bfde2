// Measures, angles, circles, bounds and rotations, with the library's sign conventions.
#include "ostrel/Measure.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace {

const double kPi = 3.14159265358979323846;

POINT P(LONG x, LONG y) { return POINT{x, y}; }

void ExpectPoint(const POINT& p, LONG x, LONG y)
{
    EXPECT_EQ(p.x, x);
    EXPECT_EQ(p.y, y);
}

TEST(OstrelMeasure, DistancesAndTheSquaredOne)
{
    EXPECT_DOUBLE_EQ(Distance(P(0, 0), P(3, 4)), 5.0);
    EXPECT_DOUBLE_EQ(SqrtDist(P(0, 0), P(3, 4)), 25.0); // the squared distance
    // Opposite corners of the LONG range: no overflow.
    EXPECT_DOUBLE_EQ(SqrtDist(P(INT_MIN, 0), P(INT_MAX, 0)), std::pow(4294967295.0, 2));

    struct Case {
        POINT p, a, b;
        double segment, line;
    };
    const Case cases[] = {
        {P(5, 3), P(0, 0), P(10, 0), 3.0, 3.0},
        {P(20, 0), P(0, 0), P(10, 0), 10.0, 0.0},  // beyond b: the line passes through, the segment not
        {P(-3, 4), P(0, 0), P(10, 0), 5.0, 4.0},
        {P(3, 4), P(0, 0), P(0, 0), 5.0, 5.0},      // degenerate: distance to a
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(PointToLine(c.p, c.a, c.b), c.segment);
        EXPECT_DOUBLE_EQ(PointToStraightLine(c.p, c.a, c.b), c.line);
        EXPECT_EQ(LineDistance(c.p, c.a, c.b), (int)c.line);
    }
    EXPECT_EQ(LineDistance(P(5, 2), P(0, 0), P(10, 1)), 1); // 1.49.. truncated
}

TEST(OstrelMeasure, LengthsAndAreas)
{
    const POINT square[] = {P(0, 0), P(10, 0), P(10, 10), P(0, 10)};
    EXPECT_DOUBLE_EQ(PolyLineLength(square, 4, 0), 30.0);
    EXPECT_DOUBLE_EQ(PolyLineLength(square, 4, 1), 40.0);
    EXPECT_DOUBLE_EQ(PolyLineLength(square, 1, 1), 0.0);
    EXPECT_DOUBLE_EQ(PolygonArea(square, 4), 100.0);
    const POINT clockwise[] = {P(0, 0), P(0, 10), P(10, 10), P(10, 0), P(0, 0)};
    EXPECT_DOUBLE_EQ(PolygonArea(clockwise, 5), 100.0); // orientation and a repeated end do not matter
    EXPECT_DOUBLE_EQ(PolygonArea(square, 2), 0.0);
    const POINT huge[] = {P(INT_MIN, INT_MIN), P(INT_MAX, INT_MIN), P(INT_MAX, INT_MAX), P(INT_MIN, INT_MAX)};
    EXPECT_DOUBLE_EQ(PolygonArea(huge, 4), std::pow(4294967295.0, 2));
}

TEST(OstrelMeasure, CalcAngleIsCounterClockwiseFromTheFirstRay)
{
    struct Case {
        POINT a, b;
        double angle;
    };
    const Case cases[] = {
        {P(1, 0), P(0, 1), kPi / 2},     {P(1, 0), P(0, -1), 3 * kPi / 2}, {P(0, 1), P(1, 0), 3 * kPi / 2},
        {P(1, 0), P(-5, 0), kPi},        {P(1, 0), P(7, 0), 0.0},          {P(0, 0), P(0, 1), kPi / 2},
    };
    for (const Case& c : cases) EXPECT_NEAR(CalcAngle(P(0, 0), c.a, c.b, 0), c.angle, 1e-12);
    // The direction of p1 -> p2, measured from the +x axis.
    EXPECT_NEAR(CalcAngle(P(10, 10), P(10010, 10), P(20, 20), 0), kPi / 4, 1e-12);
}

TEST(OstrelMeasure, RotatePointTurnsCounterClockwiseForAPositiveAngle)
{
    ExpectPoint(RotatePoint(P(10, 0), P(0, 0), kPi / 2), 0, 10); // a quarter turn takes +x to +y
    ExpectPoint(RotatePoint(P(10, 0), P(0, 0), -kPi / 2), 0, -10);
    ExpectPoint(RotatePoint(P(15, 5), P(0, 0), kPi / 2), -5, 15);
    ExpectPoint(RotatePoint(P(10, 0), P(0, 0), kPi / 4), 7, 7); // 7.07 rounded
    ExpectPoint(RotatePoint90(P(12, 3), P(2, 1)), 0, 11);
    ExpectPoint(RotatePoint(P(12, 3), P(2, 1), kPi / 2), 0, 11);
    ExpectPoint(RotatePoint180(P(12, 3), P(2, 1)), -8, -1);
    ExpectPoint(RotatePoint(P(3, 4), P(1, 1), NAN), 3, 4);
    // Entering a frame turned counter-clockwise by a and leaving it again (to within the rounding).
    POINT p = P(1234, -567), c = P(10, 20);
    POINT back = RotatePoint(RotatePoint(p, c, -0.3), c, 0.3);
    EXPECT_LE(std::abs(back.x - p.x), 1);
    EXPECT_LE(std::abs(back.y - p.y), 1);
    // In that frame the point lies on the frame's x axis.
    POINT along = RotatePoint(P(110, 120), c, -kPi / 4);
    EXPECT_EQ(along.y, 20);
    // Far points clamp instead of overflowing.
    ExpectPoint(RotatePoint180(P(INT_MIN, INT_MAX), P(INT_MAX, INT_MIN)), INT_MAX, INT_MIN);
}

TEST(OstrelMeasure, HalfTheSweepTurnsTheEndBackToTheMiddleOfTheArc)
{
    // A counter-clockwise arc from start to end: its middle is the end turned back by half the sweep.
    const POINT c = P(0, 0), start = P(1000, 0), end = P(0, 1000);
    double sweep = CalcAngle(c, start, end, 0);
    ExpectPoint(RotatePoint(end, c, -sweep / 2.0), 707, 707);
}

TEST(OstrelMeasure, CentresAndMidpoints)
{
    ExpectPoint(RectCenter(RECT{-3, -3, 0, 0}), -1, -1); // toward zero
    ExpectPoint(RectCenter(RECT{INT_MAX, INT_MAX, INT_MAX, INT_MAX}), INT_MAX, INT_MAX);
    ExpectPoint(CalcMidPoint(P(1, -1), P(2, -2)), 1, -1);

    ExpectPoint(GetCenterOfCircle(P(1000, 0), P(0, 1000), P(-1000, 0)), 0, 0);
    EXPECT_DOUBLE_EQ(GetRadius(P(1000, 0), P(0, 1000), P(-1000, 0)), 1000.0);
    EXPECT_DOUBLE_EQ(GetRadius(P(0, 0), P(3, 4)), 5.0);
    double x = 1, y = 1;
    EXPECT_EQ(GetCenterOfCircle(P(0, 0), P(5, 5), P(10, 10), x, y), 0); // collinear: no circle
    EXPECT_DOUBLE_EQ(x, 5.0);
    ExpectPoint(GetCenterOfCircle(P(0, 0), P(5, 5), P(10, 10)), 5, 5);
    EXPECT_DOUBLE_EQ(GetRadius(P(0, 0), P(5, 5), P(10, 10)), 0.0);
    EXPECT_DOUBLE_EQ(GetRadius(P(7, 7), P(7, 7), P(7, 7)), 0.0);
    EXPECT_EQ(GetCenterOfCircle(P(INT_MIN, 0), P(0, INT_MAX), P(INT_MAX, 0), x, y), 1);
    EXPECT_NEAR(x, -0.5, 1.0);
}

TEST(OstrelMeasure, ArcsRunCounterClockwiseFromStartToEnd)
{
    RECT box;
    POINT s, e;
    // Counter-clockwise half circle through the top.
    EXPECT_EQ(GetArcPara(P(1000, 0), P(0, 1000), P(-1000, 0), box, s, e, 0), 1);
    ExpectPoint(s, 1000, 0);
    ExpectPoint(e, -1000, 0);
    EXPECT_EQ(box.left, -1000);
    EXPECT_EQ(box.top, -1000);
    EXPECT_EQ(box.right, 1000);
    EXPECT_EQ(box.bottom, 1000);
    EXPECT_NEAR(CalcAngle(RectCenter(box), s, e) * (box.right - box.left) / 2.0, kPi * 1000, 1e-9);
    // The same arc given clockwise: the ends are swapped, the sweep is the same.
    GetArcPara(P(-1000, 0), P(0, 1000), P(1000, 0), box, s, e, 0);
    ExpectPoint(s, 1000, 0);
    EXPECT_NEAR(CalcAngle(P(0, 0), s, e), kPi, 1e-12);
    // Collinear: no circle.
    EXPECT_EQ(GetArcPara(P(0, 0), P(5, 0), P(10, 0), box, s, e, 0), 0);
    EXPECT_EQ(box.right, 10);

    struct Case {
        POINT p1, p2, p3;
        RECT arc;
    };
    const Case cases[] = {
        {P(1000, 0), P(707, 707), P(0, 1000), RECT{0, 0, 1000, 1000}},           // quarter
        {P(1000, 0), P(0, 1000), P(-1000, 0), RECT{-1000, 0, 1000, 1000}},       // upper half
        {P(1000, 0), P(0, -1000), P(-1000, 0), RECT{-1000, -1000, 1000, 0}},     // lower half, clockwise
        {P(1000, 0), P(-1000, 0), P(0, -1000), RECT{-1000, -1000, 1000, 1000}},  // three quarters
        {P(0, 0), P(3, 3), P(6, 6), RECT{0, 0, 6, 6}},                           // collinear
    };
    for (const Case& c : cases) {
        RECT r = GetArcRect(c.p1, c.p2, c.p3, 0);
        EXPECT_EQ(r.left, c.arc.left);
        EXPECT_EQ(r.top, c.arc.top);
        EXPECT_EQ(r.right, c.arc.right);
        EXPECT_EQ(r.bottom, c.arc.bottom);
    }
    RECT full = GetCircleRect(P(1000, 0), P(707, 707), P(0, 1000));
    EXPECT_EQ(full.left, -1000);
    EXPECT_EQ(full.bottom, 1000);
}

TEST(OstrelMeasure, BoundsAndTurns)
{
    const POINT pts[] = {P(5, -2), P(-1, 7), P(3, 3)};
    RECT r = RecalcBounds(pts, 3);
    EXPECT_EQ(r.left, -1);
    EXPECT_EQ(r.top, -2);
    EXPECT_EQ(r.right, 5);
    EXPECT_EQ(r.bottom, 7);
    RecalcBounds(r, P(10, -10));
    EXPECT_EQ(r.right, 10);
    EXPECT_EQ(r.top, -10);
    r = RecalcBounds(pts, 0);
    EXPECT_EQ(r.left | r.top | r.right | r.bottom, 0);
    RECT sq = RecalcBounds(4, P(0, 0), P(10, 0));
    EXPECT_EQ(sq.left, -10);
    EXPECT_EQ(sq.top, -10);
    EXPECT_EQ(sq.right, 10);
    EXPECT_EQ(sq.bottom, 10);

    EXPECT_EQ(GetVectorRelation(P(0, 0), P(1, 0), P(0, 1), 0), 1); // b -> a counter-clockwise, y up
    EXPECT_EQ(GetVectorRelation(P(0, 0), P(1, 0), P(0, 1), 1), -1); // the same seen on a y-down device
    EXPECT_EQ(GetVectorRelation(P(0, 0), P(0, 1), P(1, 0), 0), -1);
    EXPECT_EQ(GetVectorRelation(P(0, 0), P(1, 0), P(2, 0), 0), 0);
}

} // namespace
