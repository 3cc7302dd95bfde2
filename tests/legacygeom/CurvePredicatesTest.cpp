#include "GeomTestSupport.h"

#include "CurvePredicates.h"

#include <gtest/gtest.h>

#include <vector>

TEST(RingWithLineSeg, CodesOfASegmentAgainstARing) {
    tagPOINT centre = P(0, 0);
    struct Case {
        tagPOINT a, b;
        unsigned char ring;
        int seg;
        const char* what;
    } cases[] = {
        {P(-10, 0), P(10, 0), 1, 1, "through the middle"},
        {P(-10, 6), P(10, 6), 0, 0, "passes above"},
        {P(6, 0), P(10, 0), 0, 0, "outside, pointing away"},
        {P(0, 0), P(10, 0), 2, 0, "a inside"},
        {P(10, 0), P(0, 0), 1, 1, "b inside"},
        {P(-10, 0), P(5, 0), 1, 1, "b on the circle, far side"},
        {P(10, 0), P(5, 0), 0, 0, "b on the circle, near side"},
        {P(5, 0), P(10, 0), 2, 0, "a on the circle"},
        {P(-10, 5), P(10, 5), 0, 0, "tangent"},
        {P(-3, 5), P(3, 5), 0, 0, "along the tangent row, touching"},
        {P(-4, 4), P(4, 4), 1, 1, "a shallow chord: both ends just outside"},
        {P(8, 8), P(8, 8), 0, 0, "zero length, outside"},
    };
    for (Case& c : cases) {
        EXPECT_EQ(RingWithLineSeg(&centre, 5, &c.a, &c.b), c.ring) << c.what;
        EXPECT_EQ(LineSegWithRing(&c.a, &c.b, &centre, 5), c.seg) << c.what;
        EXPECT_EQ(LineSegWithCircle(&c.a, &c.b, &centre, 5), c.seg) << c.what;
    }
}

TEST(RingWithLineSeg, ChordNearTheTopOfALargeCircleCrossesIt) {
    // Both ends lie outside, close to the circle; the chord between them dips inside twice.
    tagPOINT centre = P(0, 0), a = P(-11, 49), b = P(11, 49);
    EXPECT_EQ(RingWithLineSeg(&centre, 50, &a, &b), 1);
    EXPECT_EQ(LineSegWithRing(&a, &b, &centre, 50), 1);
}

TEST(LineSegWithArc, MeetsOnlyWithinTheArcsRange) {
    AfxClearMessageLog();
    tagPOINT up1 = P(5, 0), up2 = P(0, 5), up3 = P(-5, 0);        // upper half about the origin
    tagPOINT lo1 = P(5, 10), lo2 = P(10, 5), lo3 = P(15, 10);     // lower half about (10, 10)
    struct Case {
        tagPOINT a, b;
        tagPOINT *p, *q, *s;
        int expected;
        const char* what;
    } cases[] = {
        {P(0, -10), P(0, 10), &up1, &up2, &up3, 1, "vertical through both halves"},
        {P(0, -10), P(0, -1), &up1, &up2, &up3, 0, "vertical, meets only the lower half"},
        {P(10, 0), P(10, 7), &lo1, &lo2, &lo3, 1, "vertical, meets at (10, 5)"},
        {P(-10, 3), P(10, 3), &up1, &up2, &up3, 1, "horizontal through the upper half"},
        {P(-10, -3), P(10, -3), &up1, &up2, &up3, 0, "horizontal through the lower half"},
        {P(-1, -1), P(1, 1), &up1, &up2, &up3, 0, "inside the circle"},
        {P(-20, 20), P(20, 20), &up1, &up2, &up3, 0, "far away"},
        // The line's first crossing, (4, -3), lies in the lower half; the second, (-3, 4), in the upper.
        {P(-10, 11), P(10, -9), &up1, &up2, &up3, 1, "sloped, second crossing in range"},
        {P(-10, 11), P(0, 1), &up1, &up2, &up3, 1, "sloped, only the second crossing on the segment"},
        {P(0, 1), P(10, -9), &up1, &up2, &up3, 0, "sloped, only the first crossing on the segment"},
        {P(-10, 6), P(10, 6), &up1, &up2, &up3, 0, "horizontal above the circle"},
    };
    for (Case& c : cases) EXPECT_EQ(LineSegWithArc(&c.a, &c.b, c.p, c.q, c.s), c.expected) << c.what;
    EXPECT_TRUE(TakeMessages().empty());
}

TEST(FoldLineForms, TestEachSegmentAndNeedTwoPoints) {
    AfxClearMessageLog();
    tagPOINT p = P(5, 0), q = P(0, 5), s = P(-5, 0), centre = P(0, 0);
    tagPOINT line[3] = {P(-10, 10), P(-10, 3), P(10, 3)};
    EXPECT_EQ(FoldLineWithArc(line, 3, &p, &q, &s), 1);
    EXPECT_EQ(FoldLineWithArc(line, 2, &p, &q, &s), 0);
    EXPECT_EQ(FoldLineWithCircle(line, 3, &p, &q, &s), 1);
    EXPECT_EQ(FoldLineWithCircle(line, 3, &centre, 5), 1);
    EXPECT_EQ(FoldLineWithCircle(line, 2, &centre, 5), 0);
    EXPECT_EQ(FoldLineWithArc(line, 1, &p, &q, &s), 0);
    EXPECT_EQ(FoldLineWithCircle(line, 1, &p, &q, &s), 0);
    EXPECT_EQ(FoldLineWithCircle(line, 1, &centre, 5), 0);
    EXPECT_EQ(FoldLineWithCircle(line, 0, nullptr, 5), 0);

    // No circle: the message once per segment tested.
    tagPOINT l1 = P(0, 0), l2 = P(1, 1), l3 = P(2, 2);
    EXPECT_EQ(FoldLineWithArc(line, 3, &l1, &l2, &l3), 0);
    EXPECT_EQ(TakeMessages(), std::vector<std::string>(2, "指定的三点无法构成圆弧!"));
    EXPECT_EQ(FoldLineWithCircle(line, 3, &l1, &l2, &l3), 0);
    EXPECT_EQ(TakeMessages(), std::vector<std::string>(2, "指定的三点无法构成圆弧!"));
}

TEST(RingWithArc, ModesAndPositions) {
    AfxClearMessageLog();
    tagPOINT origin = P(0, 0);
    struct Case {
        tagPOINT c;
        LONG r;
        tagPOINT p, q, s;
        int meets, inside;
        const char* what;
    } cases[] = {
        {origin, 10, P(1, 0), P(0, 1), P(-1, 0), 1, 1, "small arc inside a large ring"},
        {origin, 5, P(3, 4), P(5, 0), P(3, -4), 1, 1, "arc on the ring's own circle"},
        {origin, 5, P(20, 0), P(23, 3), P(26, 0), 0, 0, "apart"},
        {origin, 1, P(-10, 0), P(0, 10), P(10, 0), 0, 0, "ring inside the arc's circle"},
        // Arc about (7, 0), R = 3, upper half: its end (4, 0) lies in the ring.
        {origin, 5, P(10, 0), P(7, 3), P(4, 0), 1, 0, "crossing, one end in the ring"},
        // Arc about (6, 0), R = 3 facing the ring: no end point in the ring, the ring's centre in the
        // arc's range as seen from its centre.
        {origin, 5, P(6, 3), P(3, 0), P(6, -3), 1, 0, "crossing, ends outside, facing the ring"},
        // The same circle, the half facing away.
        {origin, 5, P(6, -3), P(9, 0), P(6, 3), 0, 0, "crossing circles, arc facing away"},
    };
    for (Case& k : cases) {
        EXPECT_EQ(RingWithArc(&k.c, k.r, &k.p, &k.q, &k.s, 1), k.meets) << k.what;
        EXPECT_EQ(RingWithArc(&k.c, k.r, &k.p, &k.q, &k.s, 0), k.inside) << k.what;
    }
    tagPOINT l1 = P(0, 0), l2 = P(1, 1), l3 = P(2, 2);
    EXPECT_EQ(RingWithArc(&origin, 5, &l1, &l2, &l3, 1), 0);
    EXPECT_EQ(RingWithCircle(&origin, 5, &l1, &l2, &l3, 1), 0);
    EXPECT_TRUE(TakeMessages().empty());
}

TEST(RingWithCircle, ModesAndPositions) {
    tagPOINT origin = P(0, 0);
    struct Case {
        tagPOINT p, q, s;
        int meets, inside;
    } cases[] = {
        {P(4, 0), P(7, 3), P(10, 0), 1, 0},   // crossing
        {P(8, 0), P(11, 3), P(14, 0), 0, 0},  // apart
        {P(1, 0), P(0, 1), P(-1, 0), 1, 1},   // inside
        {P(-10, 0), P(0, 10), P(10, 0), 0, 0},  // the ring inside the circle
    };
    for (Case& k : cases) {
        EXPECT_EQ(RingWithCircle(&origin, 5, &k.p, &k.q, &k.s, 1), k.meets);
        EXPECT_EQ(RingWithCircle(&origin, 5, &k.p, &k.q, &k.s, 0), k.inside);
    }
}

TEST(RingWithLineSeg, SegmentsWithBothEndsOutsideAgreeWithTheirDistanceFromTheCentre) {
    // Both ends outside: the segment crosses the circle exactly when its nearest point lies strictly
    // inside. Every segment between grid points around a circle of radius 5.
    tagPOINT centre = P(0, 0);
    std::vector<tagPOINT> grid;
    for (LONG y = -7; y <= 7; ++y)
        for (LONG x = -7; x <= 7; ++x)
            if (x * x + y * y > 25) grid.push_back(P(x, y));
    for (tagPOINT& a : grid)
        for (tagPOINT& b : grid) {
            // Nearest point of the segment to the centre, exactly in rationals: t = -(a.b-a)/|b-a|^2.
            const long long dx = b.x - a.x, dy = b.y - a.y, l2 = dx * dx + dy * dy;
            const long long dot = -(static_cast<long long>(a.x) * dx + static_cast<long long>(a.y) * dy);
            bool crosses;
            if (l2 == 0 || dot <= 0 || dot >= l2) {
                crosses = false;  // the nearest point is an end, which lies outside
            } else {
                const long long cross = static_cast<long long>(a.x) * dy - static_cast<long long>(a.y) * dx;
                crosses = cross * cross < 25 * l2;  // squared distance of the line below r^2
            }
            ASSERT_EQ(RingWithLineSeg(&centre, 5, &a, &b), crosses ? 1 : 0)
                << a.x << "," << a.y << " - " << b.x << "," << b.y;
        }
}
