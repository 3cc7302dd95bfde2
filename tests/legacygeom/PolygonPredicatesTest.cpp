#include "GeomTestSupport.h"

#include "PolygonPredicates.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {
tagPOINT g_square[5] = {P(0, 0), P(10, 0), P(10, 10), P(0, 10), P(0, 0)};
tagPOINT g_diamond[5] = {P(5, 0), P(10, 5), P(5, 10), P(0, 5), P(5, 0)};
}  // namespace

TEST(PointWithPolygon, ThreeConventionsOnTheSquare) {
    struct Case {
        tagPOINT pt;
        int in;
        unsigned char ex;
        LONG ext;
    } cases[] = {
        {P(5, 5), 1, 2, 1},   {P(10, 5), 1, 1, -1}, {P(5, 10), 1, 1, -1}, {P(0, 0), 1, 1, -1},
        {P(15, 5), 0, 0, 0},  {P(-5, 5), 0, 0, 2},  {P(-5, 0), 0, 0, 2},  {P(-5, 10), 0, 0, 2},
        {P(5, 11), 0, 0, 0},  {P(5, -1), 0, 0, 0},
    };
    for (Case& c : cases) {
        EXPECT_EQ(PointWithPolygon(&c.pt, g_square, 5), c.in) << c.pt.x << "," << c.pt.y;
        EXPECT_EQ(PointWithPolygonEx(&c.pt, g_square, 5), c.ex) << c.pt.x << "," << c.pt.y;
        EXPECT_EQ(PointWithPolygonExt(&c.pt, g_square, 5), c.ext) << c.pt.x << "," << c.pt.y;
    }
}

TEST(PointWithPolygon, RingNotClosedOrTooShortCountsEveryPointOutside) {
    tagPOINT pts[] = {P(5, 5), P(10, 5), P(-5, 5)};
    for (tagPOINT& pt : pts) {
        EXPECT_EQ(PointWithPolygon(&pt, g_square, 4), 0);
        EXPECT_EQ(PointWithPolygonEx(&pt, g_square, 4), 0);
        EXPECT_EQ(PointWithPolygonExt(&pt, g_square, 4), 0);
        EXPECT_EQ(PointWithPolygon(&pt, g_square, 0), 0);
        EXPECT_EQ(PointWithPolygonExt(&pt, g_square, 1), 0);
    }
}

TEST(PointWithPolygonExt, VerticesOnTheRaysRow) {
    tagPOINT peak[4] = {P(0, 0), P(10, 10), P(20, 0), P(0, 0)};
    tagPOINT arrow[4] = {P(0, 0), P(10, 5), P(0, 10), P(0, 0)};
    // A ring whose lowest vertex is its first one, and one with a flat top.
    tagPOINT trough[4] = {P(10, 0), P(20, 10), P(0, 10), P(10, 0)};
    tagPOINT flat[6] = {P(0, 0), P(10, 0), P(10, 5), P(5, 5), P(0, 5), P(0, 0)};
    struct Case {
        tagPOINT* ring;
        LONG n;
        tagPOINT pt;
        LONG expected;
        const char* what;
    } cases[] = {
        {peak, 4, P(0, 10), 2, "level with the apex"},
        {arrow, 4, P(5, 5), 1, "inside, level with the side vertex"},
        {arrow, 4, P(-5, 5), 2, "left, level with the side vertex"},
        {arrow, 4, P(12, 5), 0, "right of the side vertex"},
        {trough, 4, P(0, 0), 2, "level with the first vertex, a trough"},
        {flat, 6, P(-3, 5), 2, "level with a flat top"},
        {flat, 6, P(7, 5), -1, "on the flat top"},
        {flat, 6, P(-3, 0), 2, "level with the flat bottom"},
    };
    for (Case& c : cases) EXPECT_EQ(PointWithPolygonExt(&c.pt, c.ring, c.n), c.expected) << c.what;
}

TEST(PointWithRect, BorderBelongsToTheEnvelope) {
    tagEnvelope env{0, 0, 10, 10};
    struct Case {
        tagPOINT pt;
        int in;
        unsigned char ex;
    } cases[] = {{P(5, 5), 1, 2}, {P(0, 5), 1, 1}, {P(10, 10), 1, 1}, {P(11, 5), 0, 0}, {P(5, -1), 0, 0}};
    for (Case& c : cases) {
        EXPECT_EQ(PointWithRect(&c.pt, &env), c.in);
        EXPECT_EQ(PointWithRectEx(&c.pt, &env), c.ex);
    }
}

TEST(LineSegWithRect, PositionCodes) {
    tagEnvelope env{0, 0, 10, 10};
    struct Case {
        tagPOINT a, b;
        unsigned char expected;
        const char* what;
    } cases[] = {
        {P(5, 5), P(20, 20), 2, "a inside"},
        {P(20, 20), P(5, 5), 1, "b inside"},
        {P(0, 0), P(10, 10), 1, "ends on the border, midpoint inside"},
        {P(0, 0), P(10, 0), 0, "along the border"},
        {P(-5, 5), P(15, 5), 1, "across"},
        {P(-5, -5), P(-1, 20), 0, "left of the envelope"},
        {P(-5, 5), P(5, 15), 1, "across a corner"},
        {P(-5, 20), P(20, -5), 1, "a diagonal through it"},
        {P(15, 5), P(20, 30), 0, "right of it"},
        {P(-10, 0), P(20, 0), 1, "along the bottom side's line"},
        {P(-2000000000, 5), P(2000000000, 5), 1, "full-range ends"},
    };
    for (Case& c : cases) EXPECT_EQ(LineSegWithRect(&c.a, &c.b, &env), c.expected) << c.what;
}

TEST(RectWithCircle, BoxTests) {
    tagEnvelope env{0, 0, 10, 10};
    struct Case {
        tagPOINT centre;
        LONG r;
        int inside, meets;
    } cases[] = {
        {P(5, 5), 3, 1, 1},   {P(5, 5), 6, 0, 1},  {P(13, 13), 3, 0, 1},  // boxes touch at (10, 10)
        {P(5, 5), 5, 1, 1},   {P(14, 5), 3, 0, 0}, {P(2147483000, 5), 2000, 0, 0},
    };
    for (Case& c : cases) {
        EXPECT_EQ(RectWithCircle(&env, &c.centre, c.r, 0), c.inside);
        EXPECT_EQ(RectWithCircle(&env, &c.centre, c.r, 1), c.meets);
        EXPECT_EQ(RectWithCircle(&env, &c.centre, c.r, -3), c.meets);  // any nonzero mode
    }
    AfxClearMessageLog();
    tagPOINT p = P(2, 5), q = P(5, 8), s = P(8, 5);  // centre (5, 5), r = 3
    EXPECT_EQ(RectWithCircle(&env, &p, &q, &s, 0), 1);
    tagPOINT l1 = P(0, 0), l2 = P(1, 1), l3 = P(2, 2);
    EXPECT_EQ(RectWithCircle(&env, &l1, &l2, &l3, 1), 0);
    EXPECT_EQ(TakeMessages(), std::vector<std::string>{"指定的三点不能构成圆!"});
}

TEST(RectWithArc, CrossingTheBorderOrLyingInside) {
    AfxClearMessageLog();
    tagEnvelope env{0, 0, 10, 10};
    struct Case {
        tagPOINT p, q, s;
        int meets, inside;
        const char* what;
    } cases[] = {
        {P(4, 5), P(5, 6), P(6, 5), 0, 1, "small arc inside"},
        {P(8, 5), P(10, 7), P(12, 5), 1, 0, "crosses the right side at (10, 7)"},
        {P(20, 5), P(23, 8), P(26, 5), 0, 0, "far away"},
        // Its circle reaches into the envelope, the arc itself (the lower half) does not.
        {P(14, 8), P(17, 5), P(20, 8), 0, 0, "circle overlaps, arc does not"},
    };
    for (Case& c : cases) {
        EXPECT_EQ(RectWithArc(&env, &c.p, &c.q, &c.s, 1), c.meets) << c.what;
        EXPECT_EQ(RectWithArc(&env, &c.p, &c.q, &c.s, 0), c.inside) << c.what;
    }
    EXPECT_TRUE(TakeMessages().empty());
    tagPOINT l1 = P(0, 0), l2 = P(1, 1), l3 = P(2, 2);
    EXPECT_EQ(RectWithArc(&env, &l1, &l2, &l3, 1), 0);
    EXPECT_EQ(TakeMessages(), std::vector<std::string>{"指定的三点不能构成圆!"});
}

TEST(PolygonWithLineSeg, MeetsAndInside) {
    struct Case {
        tagPOINT a, b;
        int meets, inside;
        const char* what;
    } cases[] = {
        {P(2, 2), P(8, 8), 1, 1, "inside"},
        {P(5, 5), P(15, 5), 1, 0, "leaves through a side"},
        {P(15, 5), P(5, 5), 1, 0, "enters through a side"},
        {P(-5, 5), P(15, 5), 1, 0, "crosses it"},
        {P(20, 0), P(20, 10), 0, 0, "beside it"},
        {P(0, 20), P(0, 30), 0, 0, "on the line of a side, apart from it"},
    };
    for (Case& c : cases) {
        EXPECT_EQ(PolygonWithLineSeg(g_square, 5, &c.a, &c.b, 1), c.meets) << c.what;
        EXPECT_EQ(PolygonWithLineSeg(g_square, 5, &c.a, &c.b, 0), c.inside) << c.what;
        EXPECT_EQ(PolygonWithLineSeg(g_square, 5, &c.a, &c.b, 2), c.inside) << c.what << " (mode 2)";
    }
}

TEST(PolygonWithFoldLine, MeetsAndInside) {
    tagPOINT inside[3] = {P(2, 2), P(8, 2), P(8, 8)};
    tagPOINT leaving[3] = {P(2, 2), P(8, 2), P(15, 8)};
    tagPOINT outside[3] = {P(20, 2), P(28, 2), P(28, 8)};
    EXPECT_EQ(PolygonWithFoldLine(g_square, 5, inside, 3, 1), 1);
    EXPECT_EQ(PolygonWithFoldLine(g_square, 5, inside, 3, 0), 1);
    EXPECT_EQ(PolygonWithFoldLine(g_square, 5, leaving, 3, 1), 1);
    EXPECT_EQ(PolygonWithFoldLine(g_square, 5, leaving, 3, 0), 0);
    EXPECT_EQ(PolygonWithFoldLine(g_square, 5, outside, 3, 1), 0);
    EXPECT_EQ(PolygonWithFoldLine(g_square, 5, outside, 3, 0), 0);
    EXPECT_EQ(PolygonWithFoldLine(g_square, 5, inside, 0, 1), 0);  // no point to test
}

TEST(PolygonWithArc, MeetsAndInside) {
    AfxClearMessageLog();
    struct Case {
        tagPOINT p, q, s;
        int meets, inside;
        const char* what;
    } cases[] = {
        {P(4, 5), P(5, 6), P(6, 5), 1, 1, "small arc inside"},
        {P(8, 5), P(10, 7), P(12, 5), 1, 0, "crosses the right side"},
        {P(20, 5), P(23, 8), P(26, 5), 0, 0, "far away"},
        {P(13, 5), P(5, 13), P(-3, 5), 0, 0, "its circle holds the whole square"},
    };
    for (Case& c : cases) {
        EXPECT_EQ(PolygonWithArc(g_square, 5, &c.p, &c.q, &c.s, 1), c.meets) << c.what;
        EXPECT_EQ(PolygonWithArc(g_square, 5, &c.p, &c.q, &c.s, 0), c.inside) << c.what;
    }
    EXPECT_TRUE(TakeMessages().empty());
}

TEST(PolygonWithCircle, ThreePointForm) {
    AfxClearMessageLog();
    tagPOINT p = P(3, 5), q = P(5, 7), s = P(7, 5);  // centre (5, 5), r = 2
    EXPECT_EQ(PolygonWithCircle(g_square, 5, &p, &q, &s, 1), 1);
    EXPECT_EQ(PolygonWithCircle(g_square, 5, &p, &q, &s, 0), 1);
    tagPOINT p2 = P(7, 5), q2 = P(10, 8), s2 = P(13, 5);  // centre (10, 5), r = 3: crosses the right side
    EXPECT_EQ(PolygonWithCircle(g_square, 5, &p2, &q2, &s2, 1), 1);
    EXPECT_EQ(PolygonWithCircle(g_square, 5, &p2, &q2, &s2, 0), 0);
    EXPECT_TRUE(TakeMessages().empty());
}

TEST(PolygonWithCircle, CentreAndRadiusFormTestsAPointOnTheCircle) {
    // The circle of radius 3 about (5, 5) lies inside the diamond (its sides are 3.54 from the centre),
    // although the corner (8, 8) of its box lies outside.
    tagPOINT centre = P(5, 5);
    EXPECT_EQ(PolygonWithCircle(g_diamond, 5, &centre, 3, 1), 1);
    EXPECT_EQ(PolygonWithCircle(g_diamond, 5, &centre, 3, 0), 1);
    // Radius 4 crosses the diamond's sides.
    EXPECT_EQ(PolygonWithCircle(g_diamond, 5, &centre, 4, 1), 1);
    EXPECT_EQ(PolygonWithCircle(g_diamond, 5, &centre, 4, 0), 0);
    tagPOINT away = P(30, 30);
    EXPECT_EQ(PolygonWithCircle(g_diamond, 5, &away, 3, 1), 0);
    EXPECT_EQ(PolygonWithCircle(g_diamond, 5, &away, 3, 0), 0);
}

namespace {
// Reference classification of a grid point against a closed ring: exact boundary test, then the
// half-open even-odd rule.
unsigned char ReferencePosition(const tagPOINT& pt, const std::vector<tagPOINT>& ring) {
    for (size_t i = 0; i + 1 < ring.size(); ++i) {
        const tagPOINT &a = ring[i], &b = ring[i + 1];
        const long long cross = static_cast<long long>(pt.x - a.x) * (b.y - a.y) -
                                static_cast<long long>(pt.y - a.y) * (b.x - a.x);
        if (cross == 0 && std::min(a.x, b.x) <= pt.x && pt.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= pt.y &&
            pt.y <= std::max(a.y, b.y))
            return 1;
    }
    bool inside = false;
    for (size_t i = 0; i + 1 < ring.size(); ++i) {
        const tagPOINT &a = ring[i], &b = ring[i + 1];
        if ((a.y > pt.y) == (b.y > pt.y)) continue;
        const double x = a.x + static_cast<double>(pt.y - a.y) * (b.x - a.x) / (b.y - a.y);
        if (pt.x < x) inside = !inside;
    }
    return inside ? 2 : 0;
}
}  // namespace

TEST(PointWithPolygonEx, AgreesWithAReferenceOnEveryGridPoint) {
    // Rings with horizontal edges, collinear vertices, peaks and troughs on shared rows, and starting
    // vertices at extremes.
    const std::vector<std::vector<tagPOINT>> rings = {
        {P(0, 0), P(10, 0), P(10, 10), P(0, 10), P(0, 0)},
        {P(5, 0), P(10, 5), P(5, 10), P(0, 5), P(5, 0)},
        {P(0, 0), P(6, 0), P(6, 3), P(3, 3), P(3, 8), P(0, 8), P(0, 0)},                         // L shape
        {P(0, 0), P(4, 6), P(8, 0), P(12, 6), P(16, 0), P(16, 10), P(0, 10), P(0, 0)},           // zigzag floor
        {P(0, 5), P(3, 5), P(5, 0), P(7, 5), P(10, 5), P(6, 8), P(8, 12), P(5, 9), P(2, 12), P(4, 8),
         P(0, 5)},                                                                                // star
        {P(2, 2), P(5, 2), P(8, 2), P(8, 6), P(8, 9), P(2, 9), P(2, 2)},                         // collinear runs
        {P(10, 10), P(4, 4), P(10, 0), P(0, 0), P(0, 10), P(10, 10)},                            // notch
        {P(3, 0), P(6, 3), P(9, 0), P(9, 6), P(6, 3), P(3, 6), P(3, 0)},                         // touching itself
    };
    for (size_t k = 0; k < rings.size(); ++k) {
        std::vector<tagPOINT> ring = rings[k];
        for (LONG y = -2; y <= 14; ++y)
            for (LONG x = -2; x <= 18; ++x) {
                tagPOINT pt = P(x, y);
                const unsigned char expected = ReferencePosition(pt, ring);
                const LONG n = static_cast<LONG>(ring.size());
                ASSERT_EQ(PointWithPolygonEx(&pt, ring.data(), n), expected)
                    << "ring " << k << " point " << x << "," << y;
                ASSERT_EQ(PointWithPolygon(&pt, ring.data(), n), expected != 0);
            }
    }
}
