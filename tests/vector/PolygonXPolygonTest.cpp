// Polygon intersection: the planar helpers, and the common region of two outlines traced through the
// scratch topology.
#include "vector/PolygonXPolygon.h"

#include "vector/GeoPolygonLine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

class PolygonXPolygonProbe {
public:
    static double Angle(POINT p, POINT a, POINT b) { return CPolygonXPolygon::InsectionAngle(p, a, b); }
    static int Cross(POINT p1, POINT p2, POINT p3, POINT p4, POINT& out) {
        return CPolygonXPolygon::IfLineXLine(p1, p2, p3, p4, out);
    }
    static int Foot(POINT a, POINT b, POINT p, POINT& out) { return CPolygonXPolygon::LineForm(a, b, p, out); }
    static double ToLine(POINT a, POINT b, POINT p) { return CPolygonXPolygon::PointToLine(a, b, p); }
};

namespace {

using Pts = std::vector<POINT>;

std::unique_ptr<CGeoPolygonLine> Outline(const Pts& pts) {
    std::unique_ptr<CGeoPolygonLine> line(new CGeoPolygonLine);
    for (const POINT& p : pts) line->AddPoint(p);
    return line;
}

Pts Rect(int l, int b, int r, int t) { return {{l, b}, {r, b}, {r, t}, {l, t}}; }

// Measured from the first point, so coordinates near the 32-bit limits keep their precision.
double Area(const CGeoPolygonLine& line) {
    double s = 0;
    const int n = line.GetPoints();
    const POINT o = line.GetPoint(0);
    for (int i = 0; i < n; ++i) {
        POINT a = line.GetPoint(i), b = line.GetPoint((i + 1) % n);
        s += (static_cast<double>(a.x) - o.x) * (static_cast<double>(b.y) - o.y) -
             (static_cast<double>(b.x) - o.x) * (static_cast<double>(a.y) - o.y);
    }
    return s / 2;
}

std::unique_ptr<CGeoPolygonLine> Intersect(CPolygonXPolygon& x, const Pts& a, const Pts& b) {
    auto pa = Outline(a), pb = Outline(b);
    return std::unique_ptr<CGeoPolygonLine>(x.PolygonLineXPolygonLine(pa.get(), pb.get()));
}

}  // namespace

TEST(PolygonXPolygon, PlanarHelpers) {
    const double pi = 3.1415926;
    EXPECT_NEAR(PolygonXPolygonProbe::Angle({0, 0}, {10, 0}, {0, 10}), pi / 2, 1e-6);
    EXPECT_NEAR(PolygonXPolygonProbe::Angle({0, 0}, {0, 10}, {10, 0}), 3 * pi / 2, 1e-6);
    EXPECT_EQ(PolygonXPolygonProbe::Angle({0, 0}, {0, 0}, {10, 0}), 0);

    struct Case {
        POINT p1, p2, p3, p4;
        int want;
        POINT x;
    } cases[] = {
        {{0, 0}, {10, 10}, {0, 10}, {10, 0}, 1, {5, 5}},    // crossing
        {{0, 0}, {10, 0}, {0, 5}, {10, 5}, 0, {}},          // parallel
        {{0, 0}, {10, 0}, {10, 0}, {10, 10}, 1, {10, 0}},   // touching end to end
        {{0, 0}, {10, 0}, {20, -5}, {20, 5}, 0, {}},        // boxes apart
        {{0, 0}, {0, 0}, {0, -5}, {0, 5}, 0, {}},           // a degenerate segment
        {{0, 0}, {10, 0}, {5, 1}, {6, 10}, 0, {}},          // lines cross outside the segments
        // Crossings round to the nearest unit on either side of zero (halves upwards), so one near an
        // axis-parallel edge stays within it: x = -2.3 is -2, inside the edge from x = -3 to -2.
        {{-10, -3}, {0, -3}, {-3, -10}, {-2, 0}, 1, {-2, -3}},
        {{-5, -10}, {0, -5}, {-5, -5}, {0, -10}, 1, {-2, -7}},  // (-2.5, -7.5)
    };
    for (const Case& c : cases) {
        POINT x{-1, -1};
        EXPECT_EQ(PolygonXPolygonProbe::Cross(c.p1, c.p2, c.p3, c.p4, x), c.want);
        if (c.want) {
            EXPECT_TRUE(x.x == c.x.x && x.y == c.x.y) << x.x << "," << x.y;
        }
    }

    POINT f{};
    EXPECT_EQ(PolygonXPolygonProbe::Foot({0, 0}, {100, 0}, {30, 40}, f), 1);
    EXPECT_TRUE(f.x == 30 && f.y == 0);
    EXPECT_EQ(PolygonXPolygonProbe::Foot({0, 0}, {100, 0}, {130, 40}, f), 0);
    EXPECT_DOUBLE_EQ(PolygonXPolygonProbe::ToLine({0, 0}, {100, 0}, {130, 40}), 40);  // the infinite line
    EXPECT_DOUBLE_EQ(PolygonXPolygonProbe::ToLine({0, 0}, {0, 0}, {3, 4}), 5);
}

TEST(PolygonXPolygon, OverlappingSquaresGiveTheOverlap) {
    CPolygonXPolygon x;
    auto r = Intersect(x, Rect(0, 0, 10000, 10000), Rect(5000, 5000, 15000, 15000));
    ASSERT_TRUE(r);
    EXPECT_DOUBLE_EQ(std::fabs(Area(*r)), 25e6);
    for (int i = 0; i < r->GetPoints(); ++i) {
        POINT p = r->GetPoint(i);
        EXPECT_TRUE(p.x >= 5000 && p.x <= 10000 && p.y >= 5000 && p.y <= 10000) << p.x << "," << p.y;
    }
    EXPECT_GT(Area(*r), 0);  // traced counterclockwise
    // One object serves any number of intersections.
    auto again = Intersect(x, Rect(0, 0, 10000, 10000), Rect(5000, 5000, 15000, 15000));
    ASSERT_TRUE(again);
    EXPECT_DOUBLE_EQ(std::fabs(Area(*again)), 25e6);
}

TEST(PolygonXPolygon, DisjointPolygonsGiveNull) {
    CPolygonXPolygon x;
    EXPECT_FALSE(Intersect(x, Rect(0, 0, 10000, 10000), Rect(20000, 0, 30000, 10000)));
    EXPECT_EQ(x.PolygonLineXPolygonLine(nullptr, nullptr), nullptr);
}

TEST(PolygonXPolygon, InnerPolygonIsTheAnswer) {
    CPolygonXPolygon x;
    Pts inner = {{3000, 3000}, {7000, 3000}, {7000, 7000}, {3000, 7000}};
    for (bool closed : {false, true}) {
        Pts in = inner;
        if (closed) in.push_back(in.front());  // the doubled closing point is thinned away
        auto r = Intersect(x, Rect(0, 0, 10000, 10000), in);
        ASSERT_TRUE(r) << closed;
        EXPECT_EQ(r->GetPoints(), 4) << closed;
        // a ring made of one closed line keeps the line's own vertex order
        for (int i = 0; i < 4 && r->GetPoints() == 4; ++i)
            EXPECT_TRUE(r->GetPoint(i).x == inner[i].x && r->GetPoint(i).y == inner[i].y) << i;
    }
}

TEST(PolygonXPolygon, VertexNearAnEdgeIsSnappedOntoIt) {
    CPolygonXPolygon x;
    // B's left side runs 400 units right of A's right side: it is snapped onto that side, and the
    // two squares then share an edge and nothing else.
    auto r = Intersect(x, Rect(0, 0, 10000, 10000), Rect(10400, 0, 20000, 10000));
    EXPECT_FALSE(r && std::fabs(Area(*r)) > 1e6);
    // A triangle poking into the square: the common part is the triangle's tip.
    auto tip = Intersect(x, Rect(0, 0, 10000, 10000), Pts{{5000, 5000}, {15000, 0}, {15000, 10000}});
    ASSERT_TRUE(tip);
    EXPECT_NEAR(std::fabs(Area(*tip)), 0.5 * 5000 * 5000, 2e3);
}

// Two overlapping regular polygons of 1 km radius: splitting at their crossings ends (rounded crossings
// once made the pieces cross again a unit away, without end), and the overlap is the lens inside both.
TEST(PolygonXPolygon, OverlappingCirclesGiveTheLens) {
    for (int n : {8, 16, 64}) {
        auto circle = [n](double cx, double cy) {
            Pts pts;
            for (int k = 0; k < n; ++k) {
                const double t = 2 * 3.14159265358979 * k / n;
                pts.push_back({static_cast<LONG>(std::lround(cx + 1e6 * std::cos(t))),
                               static_cast<LONG>(std::lround(cy + 1e6 * std::sin(t)))});
            }
            return pts;
        };
        CPolygonXPolygon x;
        auto r = Intersect(x, circle(0, 0), circle(800000, 300000));
        ASSERT_TRUE(r) << n;
        EXPECT_GT(std::fabs(Area(*r)), 1e11) << n;
        for (int i = 0; i < r->GetPoints(); ++i) {
            POINT p = r->GetPoint(i);
            EXPECT_LE(std::hypot(p.x, p.y), 1e6 + 2) << n;
            EXPECT_LE(std::hypot(p.x - 800000.0, p.y - 300000.0), 1e6 + 2) << n;
        }
    }
}

// Squares overlapping anywhere in the coordinate range give their overlap, below zero as above it.
TEST(PolygonXPolygon, OverlapAnywhereInTheRange) {
    const LONG big = 2147480000;
    const LONG origins[][2] = {{0, 0}, {-20000, -20000}, {-15000, 3000}, {3000, -15000}, {-big, -big}, {big - 20000, big - 20000}};
    for (const auto& o : origins) {
        CPolygonXPolygon x;
        const LONG l = o[0], b = o[1];
        auto r = Intersect(x, Rect(l, b, l + 10000, b + 10000), Rect(l + 5000, b + 5000, l + 15000, b + 15000));
        ASSERT_TRUE(r) << l << "," << b;
        EXPECT_DOUBLE_EQ(Area(*r), 25e6) << l << "," << b;
        ASSERT_EQ(r->GetPoints(), 4);
        // counterclockwise from the lowest leftmost corner
        EXPECT_TRUE(r->GetPoint(0).x == l + 5000 && r->GetPoint(0).y == b + 5000);
        EXPECT_TRUE(r->GetPoint(1).x == l + 10000 && r->GetPoint(1).y == b + 5000);
    }
}

// A U and a rectangle over its notch: the rectangle's corners all lie on or inside the U's outline,
// yet the notch between them is outside the U; only the two parts in the arms are common, and the
// larger is the answer.
TEST(PolygonXPolygon, NotchOutsideOneInputIsNotAnAnswer) {
    CPolygonXPolygon x;
    const Pts u = {{0, 0}, {9000, 0}, {9000, 9000}, {6000, 9000}, {6000, 3000}, {3000, 3000}, {3000, 9000}, {0, 9000}};
    auto notch = Intersect(x, u, Rect(3000, 3000, 6000, 9000));
    EXPECT_FALSE(notch);
    auto arms = Intersect(x, u, Rect(1000, 5000, 6500, 7000));
    ASSERT_TRUE(arms);
    EXPECT_DOUBLE_EQ(Area(*arms), 2000.0 * 2000);  // the left arm's part; the right one is 500 x 2000
    for (int i = 0; i < arms->GetPoints(); ++i) EXPECT_LE(arms->GetPoint(i).x, 3000);
}

// A polygon with a hole (a ring that runs out to the hole along a bridge and back) against a square
// that covers it: the answer keeps the hole, joined to the outline by a bridge.
TEST(PolygonXPolygon, HoleIsKept) {
    CPolygonXPolygon x;
    const Pts framed = {{0, 0}, {3000, 7000}, {7000, 7000}, {7000, 3000}, {3000, 3000}, {3000, 7000}, {0, 0},
                        {10000, 0}, {10000, 10000}, {0, 10000}};
    auto r = Intersect(x, framed, Rect(-1000, -1000, 11000, 11000));
    ASSERT_TRUE(r);
    EXPECT_DOUBLE_EQ(Area(*r), 1e8 - 16e6);
}

// A crossing off the whole units left of zero goes to the nearest one: the slanted edge meets y = -3
// at x = -2.3, so the corner is (-2, -3).
TEST(PolygonXPolygon, CrossingRoundsToTheNearestUnitBelowZero) {
    CPolygonXPolygon x;
    auto r = Intersect(x, Rect(-10, -10, 10, -3), Pts{{-20, -10}, {-3, -10}, {-2, 0}, {-20, 0}});
    ASSERT_TRUE(r);
    const Pts want = {{-10, -10}, {-3, -10}, {-2, -3}, {-10, -3}};
    ASSERT_EQ(r->GetPoints(), 4);
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(r->GetPoint(i).x == want[i].x && r->GetPoint(i).y == want[i].y) << i;
}
