// Contact tests: segments, rectangles, rings and outlines.
#include "ostrel/Contact.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

POINT P(LONG x, LONG y) { return POINT{x, y}; }

TEST(OstrelContact, SegmentAgainstClosedRectangle)
{
    const RECT r = {0, 0, 10, 10};
    struct Case {
        POINT p, q;
        int hit;
    };
    const Case cases[] = {
        {P(-5, 5), P(15, 5), 1},   // through
        {P(2, 2), P(3, 3), 1},     // inside
        {P(-5, 10), P(15, 10), 1}, // along the top edge
        {P(10, 15), P(15, 10), 0}, // passes the corner outside
        {P(5, 15), P(15, 5), 1},   // cuts the corner region
        {P(10, 20), P(20, 10), 0},
        {P(-1, 12), P(12, -1), 1}, // diagonal through
        {P(11, 0), P(20, 0), 0},
        {P(10, 10), P(10, 10), 1}, // degenerate, on the corner
        {P(11, 10), P(11, 10), 0},
        {P(INT_MIN, INT_MIN), P(INT_MAX, INT_MAX), 1},
        {P(INT_MIN, INT_MAX), P(INT_MAX, INT_MAX - 1), 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LineXRect(c.p, c.q, r), c.hit) << c.p.x << "," << c.p.y << " " << c.q.x << "," << c.q.y;
        EXPECT_EQ(LineXRect(c.q, c.p, RECT{10, 10, 0, 0}), c.hit); // reversed segment, unnormalised box
    }
}

TEST(OstrelContact, RectanglesTouchingCount)
{
    EXPECT_EQ(RectXRect(RECT{0, 0, 10, 10}, RECT{10, 10, 20, 20}), 1);
    EXPECT_EQ(RectXRect(RECT{0, 0, 10, 10}, RECT{11, 0, 20, 20}), 0);
    EXPECT_EQ(RectXRect(RECT{10, 10, 0, 0}, RECT{2, 2, 3, 3}), 1);
    EXPECT_EQ(RectXRect(RECT{5, 5, 5, 5}, RECT{5, 5, 5, 5}), 1);
}

TEST(OstrelContact, RingsAreAreas)
{
    const POINT square[] = {P(0, 0), P(100, 0), P(100, 100), P(0, 100)};
    EXPECT_EQ(PolygonXRect(square, 4, RECT{40, 40, 60, 60}), 1);     // rectangle inside, no edge met
    EXPECT_EQ(PolygonXRect(square, 4, RECT{-10, -10, 200, 200}), 1); // ring inside the rectangle
    EXPECT_EQ(PolygonXRect(square, 4, RECT{90, 90, 110, 110}), 1);
    EXPECT_EQ(PolygonXRect(square, 4, RECT{101, 0, 120, 10}), 0);
    EXPECT_EQ(PolygonXRect(square, 0, RECT{0, 0, 1, 1}), 0);

    // A concave ring (a U open at the top).
    const POINT u[] = {P(0, 0), P(30, 0), P(30, 30), P(20, 30), P(20, 10), P(10, 10), P(10, 30), P(0, 30)};
    struct Case {
        POINT p;
        int in, strictly;
    };
    const Case cases[] = {
        {P(5, 5), 1, 1},   {P(15, 20), 0, 0}, {P(15, 10), 1, 0}, // on the inner edge
        {P(0, 0), 1, 0},   {P(25, 29), 1, 1}, {P(31, 5), 0, 0},  {P(-1, 30), 0, 0},
        {P(30, 30), 1, 0}, {P(15, 5), 1, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PtInPolygon(c.p, u, 8), c.in) << c.p.x << "," << c.p.y;
        EXPECT_EQ(PtInsidePolygon(c.p, u, 8), c.strictly) << c.p.x << "," << c.p.y;
    }
    const POINT big[] = {P(INT_MIN, INT_MIN), P(INT_MAX, INT_MIN), P(INT_MAX, INT_MAX), P(INT_MIN, INT_MAX)};
    EXPECT_EQ(PtInsidePolygon(P(0, 0), big, 4), 1);
}

TEST(OstrelContact, OutlinesOfCirclesAndEllipses)
{
    const RECT circle = {-100, -100, 100, 100};
    EXPECT_EQ(CircleXRect(circle, RECT{-10, -10, 10, 10}), 0); // wholly inside the disc
    EXPECT_EQ(CircleXRect(circle, RECT{95, -5, 105, 5}), 1);   // across the rim
    EXPECT_EQ(CircleXRect(circle, RECT{80, 80, 99, 99}), 0);   // in the box's corner, outside the circle
    EXPECT_EQ(CircleXRect(circle, RECT{-200, -200, 200, 200}), 1);
    EXPECT_EQ(CircleXRect(circle, RECT{100, 0, 110, 1}), 1);   // touching the rim

    const RECT ellipse = {-200, -100, 200, 100};
    EXPECT_EQ(EllipseXRect(ellipse, RECT{190, -5, 210, 5}), 1);
    EXPECT_EQ(EllipseXRect(ellipse, RECT{-5, 95, 5, 105}), 1);
    EXPECT_EQ(EllipseXRect(ellipse, RECT{150, 80, 160, 90}), 0); // outside near the corner
    EXPECT_EQ(EllipseXRect(RECT{0, 0, 0, 50}, RECT{-1, 10, 1, 12}), 1); // flat: a segment
    EXPECT_EQ(EllipseXRect(RECT{0, 0, 0, 50}, RECT{1, 10, 2, 12}), 0);
    EXPECT_EQ(EllipseXRect(RECT{5, 5, 5, 5}, RECT{5, 5, 5, 5}), 1);
}

TEST(OstrelContact, ArcsMeetOnlyWithinTheirSweep)
{
    // Upper half circle of radius 100.
    const POINT a = P(100, 0), b = P(0, 100), c = P(-100, 0);
    EXPECT_EQ(ArcXRect(a, b, c, RECT{-5, 95, 5, 105}, 0), 1);
    EXPECT_EQ(ArcXRect(a, b, c, RECT{-5, -105, 5, -95}, 0), 0); // the full circle's bottom
    EXPECT_EQ(ArcXRect(a, b, c, RECT{95, -5, 105, 5}, 0), 1);   // an end point
    EXPECT_EQ(ArcXRect(a, b, c, RECT{-10, -10, 10, 10}, 0), 0); // inside
    EXPECT_EQ(ArcXRect(a, b, c, RECT{-200, 50, 200, 60}, 0), 1);
    // Collinear: the two segments.
    EXPECT_EQ(ArcXRect(P(0, 0), P(10, 0), P(20, 0), RECT{15, -1, 16, 1}, 0), 1);
    EXPECT_EQ(ArcXRect(P(0, 0), P(10, 0), P(20, 0), RECT{15, 1, 16, 2}, 0), 0);
}

TEST(OstrelContact, RoundedRectanglesAndRegularPolygons)
{
    const RECT box = {0, 0, 100, 60};
    const POINT radii = P(20, 20);
    EXPECT_EQ(RoundRectXRect(box, radii, RECT{40, -5, 60, 5}), 1);   // across the bottom side
    EXPECT_EQ(RoundRectXRect(box, radii, RECT{1, 1, 3, 3}), 0);      // in the cut corner
    EXPECT_EQ(RoundRectXRect(box, radii, RECT{40, 20, 60, 40}), 0);  // inside
    EXPECT_EQ(RoundRectXRect(box, radii, RECT{5, 5, 7, 7}), 1);      // on the corner arc
    EXPECT_EQ(RoundRectXRect(box, P(0, 0), RECT{0, 0, 1, 1}), 1);    // plain rectangle corner
    EXPECT_EQ(RoundRectXRect(box, SIZE{500, 500}, RECT{49, -1, 51, 1}), 1); // radii cut to half the box

    EXPECT_EQ(NPlygnXRect(4, P(0, 0), P(10, 0), RECT{4, 4, 6, 6}), 1);  // on the side (10,0)-(0,10)
    EXPECT_EQ(NPlygnXRect(4, P(0, 0), P(10, 0), RECT{-1, -1, 1, 1}), 0); // inside
    EXPECT_EQ(NPlygnXRect(1, P(0, 0), P(10, 0), RECT{9, -1, 11, 1}), 1);
    EXPECT_EQ(NPlygnXRect(0, P(0, 0), P(10, 0), RECT{9, -1, 11, 1}), 0);
    // A side count far beyond drawing needs no memory of its own: nearly a circle of radius 1000.
    EXPECT_EQ(NPlygnXRect(1000000, P(0, 0), P(1000, 0), RECT{-2, 995, 2, 1005}), 1);
    EXPECT_EQ(NPlygnXRect(1000000, P(0, 0), P(1000, 0), RECT{-2, -2, 2, 2}), 0);
}

TEST(OstrelContact, SegmentPairs)
{
    POINT x = P(-99, -99);
    EXPECT_EQ(LineSegmentXLineSegment(P(0, 0), P(10, 10), P(0, 10), P(10, 0), x), 1);
    EXPECT_EQ(x.x, 5);
    EXPECT_EQ(x.y, 5);
    EXPECT_EQ(Intersection(P(0, 0), P(10, 0), P(3, -1), P(4, 2), x), 1);
    EXPECT_EQ(x.x, 3);
    EXPECT_EQ(x.y, 0);
    // Collinear overlap: the shared point nearest a.
    EXPECT_EQ(LineSegmentXLineSegment(P(0, 0), P(10, 0), P(15, 0), P(4, 0), x), 1);
    EXPECT_EQ(x.x, 4);
    x = P(-99, -99);
    EXPECT_EQ(LineSegmentXLineSegment(P(0, 0), P(10, 0), P(0, 1), P(10, 1), x), 0);
    EXPECT_EQ(x.x, -99); // unchanged

    EXPECT_EQ(LineXLine(P(0, 0), P(10, 0), P(10, 0), P(10, 5)), 1); // touching at an end
    EXPECT_EQ(LineXLine(P(0, 0), P(10, 0), P(11, 0), P(20, 0)), 0);
    EXPECT_EQ(LineXLine(P(0, 0), P(0, 0), P(0, 0), P(0, 0)), 1);
    EXPECT_EQ(LineXLine(P(INT_MIN, INT_MIN), P(INT_MAX, INT_MAX), P(INT_MIN, INT_MAX), P(INT_MAX, INT_MIN)), 1);

    struct OnCase {
        POINT p;
        int on;
    };
    const OnCase on[] = {{P(5, 0), 1}, {P(10, 0), 1}, {P(11, 0), 0}, {P(5, 1), 0}};
    for (const OnCase& c : on) EXPECT_EQ(PointOnLine(c.p, P(0, 0), P(10, 0)), c.on) << c.p.x << "," << c.p.y;
    EXPECT_EQ(PointOnLine(P(3, 1), P(0, 0), P(10, 3)), 1); // (3, 0.9) rounds to it
    EXPECT_EQ(PointOnLine(P(3, 2), P(0, 0), P(10, 3)), 0);
    EXPECT_EQ(EqualPoint(P(1, 2), P(1, 2)), 1);
    EXPECT_EQ(PointEqual(P(1, 2), P(2, 1)), 0);
}

TEST(OstrelContact, WalkingASegmentAcrossARingEnds)
{
    const POINT ring[] = {P(0, 0), P(100, 0), P(100, 100), P(0, 100), P(0, 0)};
    // From outside, through the square: the crossings in order, then none.
    POINT from = P(-50, 50), to = P(150, 50), x = P(0, 0);
    ASSERT_EQ(LineSegXLSegs(from, to, ring, 5, x), 1);
    EXPECT_EQ(x.x, 0);
    EXPECT_EQ(x.y, 50);
    ASSERT_EQ(LineSegXLSegs(x, to, ring, 5, x), 1);
    EXPECT_EQ(x.x, 100);
    x = P(7, 7);
    EXPECT_EQ(LineSegXLSegs(P(100, 50), to, ring, 5, x), 0);
    EXPECT_EQ(x.x, 100); // it touches at the start
    // Ending on the boundary: reported through x = q.
    x = P(7, 7);
    EXPECT_EQ(LineSegXLSegs(P(50, 50), P(50, 100), ring, 5, x), 0);
    EXPECT_EQ(x.y, 100);
    // No contact at all: x is left alone.
    x = P(7, 7);
    EXPECT_EQ(LineSegXLSegs(P(20, 20), P(30, 30), ring, 5, x), 0);
    EXPECT_EQ(x.x, 7);

    // A zig-zag ring: repeating from each crossing always terminates.
    const POINT zig[] = {P(0, -10), P(10, 10), P(20, -10), P(30, 10), P(40, -10), P(50, 10)};
    POINT start = P(-5, 0), end = P(60, 1);
    int crossings = 0;
    while (LineSegXLSegs(start, end, zig, 6, x) && crossings < 100) {
        ++crossings;
        start = x;
    }
    EXPECT_EQ(crossings, 5);
}

} // namespace
