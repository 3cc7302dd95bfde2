#include "GeomTestSupport.h"

#include "LinePredicates.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(LineSegWithLineSeg, CrossTouchAndMiss) {
    struct Case {
        tagPOINT a, b, c, d;
        int expected;
        const char* what;
    } cases[] = {
        {P(0, 0), P(10, 10), P(0, 10), P(10, 0), 1, "crossing"},
        {P(0, 0), P(10, 0), P(5, 0), P(5, 10), 1, "an end touches"},
        {P(0, 0), P(10, 0), P(20, 0), P(30, 0), 0, "collinear, apart"},
        {P(0, 0), P(10, 0), P(10, 0), P(20, 0), 1, "collinear, sharing an end"},
        {P(0, 0), P(10, 0), P(5, 1), P(5, 10), 0, "above, not touching"},
        {P(0, 0), P(0, 10), P(0, 20), P(0, 30), 0, "vertical collinear, apart"},
        {P(0, 0), P(0, 10), P(0, 5), P(0, 30), 1, "vertical collinear, overlapping"},
        {P(0, 0), P(10, 10), P(3, 3), P(3, 3), 1, "a zero-length segment on the other"},
        {P(0, 0), P(10, 10), P(4, 3), P(4, 3), 0, "a zero-length segment beside it"},
        {P(-2000000000, -2000000000), P(2000000000, 2000000000), P(-2000000000, 2000000000),
         P(2000000000, -2000000000), 1, "full-range coordinates"},
        {P(-2000000000, -2000000000), P(2000000000, 1999999999), P(-2000000000, -1999999999),
         P(2000000000, 2000000000), 0, "nearly parallel, full range"},
    };
    for (Case& c : cases) {
        EXPECT_EQ(LineSegWithLineSeg(&c.a, &c.b, &c.c, &c.d), c.expected) << c.what;
        EXPECT_EQ(LineSegWithLineSeg(&c.c, &c.d, &c.a, &c.b), c.expected) << c.what << " (swapped)";
    }
}

TEST(PointWithLineSegExt, RayCrossingCodes) {
    struct Case {
        tagPOINT pt, a, b;
        LONG expected;
        const char* what;
    } cases[] = {
        {P(0, 5), P(10, 0), P(10, 10), 1, "vertical, crossed"},
        {P(0, 5), P(10, 5), P(10, 10), 2, "vertical, through a"},
        {P(0, 5), P(10, 0), P(10, 5), 1, "vertical, through b"},
        {P(10, 7), P(10, 0), P(10, 10), -1, "on a vertical segment"},
        {P(12, 7), P(10, 0), P(10, 10), 0, "right of a vertical segment"},
        {P(0, 11), P(10, 0), P(10, 10), 0, "above a vertical segment"},
        {P(0, 0), P(5, 0), P(9, 0), 2, "along a horizontal segment"},
        {P(6, 0), P(5, 0), P(9, 0), -1, "on a horizontal segment"},
        {P(10, 0), P(5, 0), P(9, 0), 0, "beyond a horizontal segment"},
        {P(0, 1), P(5, 0), P(9, 0), 0, "above a horizontal segment"},
        {P(2, 5), P(10, 0), P(0, 10), 1, "sloped, left of it"},
        {P(7, 5), P(10, 0), P(0, 10), 0, "sloped, right of it"},
        {P(5, 5), P(10, 0), P(0, 10), -1, "sloped, on it"},
        {P(2, 5), P(0, 10), P(10, 0), 1, "sloped downwards, left of it"},
        {P(7, 5), P(0, 10), P(10, 0), 0, "sloped downwards, right of it"},
        {P(-1, 5), P(0, 0), P(10, 10), 1, "left of the box"},
        {P(11, 5), P(0, 0), P(10, 10), 0, "right of the box"},
        {P(3, 10), P(0, 0), P(10, 10), 1, "level with b, left of it"},
        {P(10, 10), P(0, 0), P(10, 10), -1, "at b"},
        {P(-3, 0), P(0, 0), P(10, 10), 2, "level with a, left of it"},
        {P(0, 0), P(0, 0), P(10, 10), -1, "at a"},
        {P(3, 0), P(0, 0), P(10, 10), 0, "level with a, right of it"},
    };
    for (Case& c : cases) EXPECT_EQ(PointWithLineSegExt(&c.pt, &c.a, &c.b), c.expected) << c.what;
}

TEST(PointWithLine, OnLineSegmentAndPolyline) {
    struct Case {
        tagPOINT pt, a, b;
        int line, seg;
        const char* what;
    } cases[] = {
        {P(5, 5), P(0, 0), P(10, 10), 1, 1, "middle of a diagonal"},
        {P(20, 20), P(0, 0), P(10, 10), 1, 0, "on the line beyond b"},
        {P(11, 11), P(0, 0), P(10, 10), 1, 0, "outside the box"},
        {P(5, 6), P(0, 0), P(10, 10), 0, 0, "one unit off"},
        {P(3, 1), P(0, 0), P(300, 100), 1, 1, "exactly on a shallow line"},
        {P(3, 2), P(0, 0), P(300, 100), 0, 0, "off a shallow line"},
        {P(0, 7), P(0, 0), P(0, 10), 1, 1, "on a vertical segment"},
        {P(0, 17), P(0, 0), P(0, 10), 1, 0, "on a vertical line beyond the segment"},
        {P(1, 7), P(0, 0), P(0, 10), 0, 0, "beside a vertical segment"},
        {P(0, 0), P(0, 0), P(10, 10), 1, 1, "at a"},
        {P(2, 2), P(2, 2), P(2, 2), 1, 1, "a zero-length segment at its point"},
        {P(2, 3), P(2, 2), P(2, 2), 1, 0, "a zero-length segment elsewhere"},
    };
    for (Case& c : cases) {
        EXPECT_EQ(PointWithLine(&c.pt, &c.a, &c.b), c.line) << c.what;
        EXPECT_EQ(PointWithLineSeg(&c.pt, &c.a, &c.b), c.seg) << c.what;
    }

    tagPOINT pts[3] = {P(0, 0), P(10, 0), P(10, 10)};
    tagPOINT onSecond = P(10, 5), onFirst = P(4, 0);
    EXPECT_EQ(PointWithFoldLine(&onSecond, pts, 2), 1);
    EXPECT_EQ(PointWithFoldLine(&onSecond, pts, 1), 0);  // n counts segments: only pts[0]-pts[1]
    EXPECT_EQ(PointWithFoldLine(&onFirst, pts, 1), 1);
    EXPECT_EQ(PointWithFoldLine(&onFirst, pts, 0), 0);
}

TEST(LineSegWithFoldLine, CountsPointsAndSkipsRepeats) {
    tagPOINT a = P(5, -5), b = P(5, 5);
    tagPOINT crossing[2] = {P(0, 0), P(10, 0)};
    EXPECT_EQ(LineSegWithFoldLine(&a, &b, crossing, 2), 1);
    EXPECT_EQ(LineSegWithFoldLine(&a, &b, crossing, 1), 0);  // one point, no segment
    EXPECT_EQ(LineSegWithFoldLine(&a, &b, crossing, 0), 0);

    // A repeated point on the segment forms a zero-length segment, which is skipped; the segments
    // around it stay clear of a-b.
    tagPOINT repeated[4] = {P(5, 20), P(5, 5), P(5, 5), P(5, 20)};
    tagPOINT c = P(5, 5), d = P(5, -5);
    EXPECT_EQ(LineSegWithFoldLine(&c, &d, repeated + 1, 2), 0);
    EXPECT_EQ(LineSegWithFoldLine(&c, &d, repeated, 4), 1);  // the segment (5,20)-(5,5) touches it

    tagPOINT later[4] = {P(20, 20), P(30, 20), P(30, 20), P(0, 0)};
    EXPECT_EQ(LineSegWithFoldLine(&a, &b, later, 4), 1);  // the last segment crosses
}

namespace {
int Orient(const tagPOINT& a, const tagPOINT& b, const tagPOINT& c) {
    const long long v = static_cast<long long>(b.x - a.x) * (c.y - a.y) - static_cast<long long>(b.y - a.y) * (c.x - a.x);
    return (v > 0) - (v < 0);
}
bool OnSegment(const tagPOINT& p, const tagPOINT& a, const tagPOINT& b) {
    return Orient(a, b, p) == 0 && std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x) &&
           std::min(a.y, b.y) <= p.y && p.y <= std::max(a.y, b.y);
}
// Closed segments share a point.
bool ReferenceMeet(const tagPOINT& a, const tagPOINT& b, const tagPOINT& c, const tagPOINT& d) {
    if (OnSegment(c, a, b) || OnSegment(d, a, b) || OnSegment(a, c, d) || OnSegment(b, c, d)) return true;
    return Orient(a, b, c) * Orient(a, b, d) < 0 && Orient(c, d, a) * Orient(c, d, b) < 0;
}
}  // namespace

TEST(LineSegWithLineSeg, AgreesWithAReferenceOnSmallGrids) {
    unsigned state = 12345;
    auto next = [&state]() {
        state = state * 1103515245u + 12345u;
        return static_cast<LONG>((state >> 16) % 7);  // a 7 x 7 grid: many collinear and touching cases
    };
    for (int i = 0; i < 20000; ++i) {
        tagPOINT a = P(next(), next()), b = P(next(), next()), c = P(next(), next()), d = P(next(), next());
        ASSERT_EQ(LineSegWithLineSeg(&a, &b, &c, &d), ReferenceMeet(a, b, c, d) ? 1 : 0)
            << a.x << "," << a.y << " " << b.x << "," << b.y << " / " << c.x << "," << c.y << " " << d.x << "," << d.y;
    }
}
