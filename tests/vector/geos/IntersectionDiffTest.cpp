// Polygon intersection against GEOS: the library's answer is the largest part of the common region,
// so it must cover the largest part of GEOS's intersection up to the rounding of crossings.
#include "GeosPeer.h"

#include "vector/GeoPolygonLine.h"
#include "vector/PolygonXPolygon.h"

#include <climits>
#include <memory>

using namespace geospeer;

namespace {

struct Pair {
    std::string name;
    Shape a, b;
};

// Runs one pair through both and compares; returns the area of the library's answer (0 for none), or
// -1 when an input is not a valid polygon for GEOS (the pair is then not compared).
double Check(const Geos& g, const Pair& c) {
    SCOPED_TRACE(c.name);
    const Ring ra = Keyhole(c.a), rb = Keyhole(c.b);
    CGeoPolygonLine la(static_cast<int>(ra.size()), ra.data(), FALSE), lb(static_cast<int>(rb.size()), rb.data(), FALSE);
    CPolygonXPolygon x;
    std::unique_ptr<CGeoPolygonLine> ours(x.PolygonLineXPolygonLine(&la, &lb));
    Ring got;
    if (ours)
        for (int i = 0; i < ours->GetPoints(); ++i) got.push_back(ours->GetPoint(i));

    GEOSGeometry* ga = g.Polygon(c.a);
    GEOSGeometry* gb = g.Polygon(c.b);
    if (GEOSisValid_r(g.h(), ga) != 1 || GEOSisValid_r(g.h(), gb) != 1) {
        // Random rings rounded to whole units may cross themselves; GEOS has no answer for those.
        g.Destroy(ga);
        g.Destroy(gb);
        return -1;
    }
    GEOSGeometry* gx = GEOSIntersection_r(g.h(), ga, gb);
    EXPECT_TRUE(gx) << "GEOS failed";
    const GEOSGeometry* part = gx ? g.LargestPart(gx) : nullptr;
    const double peerArea = part ? g.Area(part) : 0;
    const double peerLength = part ? g.Length(part) : 0;

    if (got.empty()) {
        EXPECT_LE(peerArea, Allowance(peerLength)) << "no answer where GEOS finds area " << peerArea;
    } else {
        EXPECT_GE(got.size(), 3u);
        // Traced answers run counterclockwise; an input lying wholly inside the other comes back as
        // it was given.
        if (!SameRing(got, ra) && !SameRing(got, rb)) {
            EXPECT_GT(SignedArea(got), 0) << "the answer runs clockwise: " << Describe(got);
        }
        // An input returned as it was is measured as the shape it stands for (its bridges may cross its
        // holes, which GEOS would not read as meant).
        GEOSGeometry* mine = SameRing(got, ra) ? g.Polygon(c.a) : SameRing(got, rb) ? g.Polygon(c.b) : g.ValidPolygon(got);
        const double allowed = Allowance(Perimeter(got) + peerLength);
        if (part) {
            EXPECT_LE(g.DifferenceArea(mine, part), allowed)
                << "area " << SignedArea(got) << " against " << peerArea << "; answer " << Describe(got);
        } else {
            EXPECT_LE(g.Area(mine), allowed) << "GEOS finds no area; answer " << Describe(got);
        }
        g.Destroy(mine);
    }
    g.Destroy(gx);
    g.Destroy(ga);
    g.Destroy(gb);
    return got.empty() ? 0 : SignedArea(got);
}

}  // namespace

Shape S(Ring outer, std::vector<Ring> holes = {}) { return Shape{std::move(outer), std::move(holes)}; }

TEST(IntersectionAgainstGeos, AwkwardPairs) {
    const LONG big = 2147483000;
    const Ring square = Rect(0, 0, 10000, 10000);
    const Ring u = {{0, 0}, {9000, 0}, {9000, 9000}, {6000, 9000}, {6000, 3000}, {3000, 3000}, {3000, 9000}, {0, 9000}};
    const Shape framed = S(Rect(0, 0, 10000, 10000), {Rect(3000, 3000, 6000, 7000)});
    const Shape twoHoles = S(Rect(0, 0, 20000, 10000), {Rect(2000, 5000, 6000, 8000), Rect(12000, 1000, 16000, 4000)});
    Shape nineHoles = S(Rect(0, 0, 10000, 10000));
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) nineHoles.holes.push_back(Rect(1000 + 3000 * i, 1000 + 3000 * j, 2000 + 3000 * i, 2000 + 3000 * j));
    const Pair cases[] = {
        {"overlapping squares", S(square), S(Rect(5000, 5000, 15000, 15000))},
        {"overlapping squares left of and below the origin", S(Rect(-15000, -15000, -5000, -5000)), S(Rect(-10000, -10000, 0, 0))},
        {"squares across the origin", S(Rect(-7000, -3000, 3000, 7000)), S(Rect(-2000, -8000, 8000, 2000))},
        {"squares near the lowest coordinates", S(Rect(-big, -big, -big + 10000, -big + 10000)),
         S(Rect(-big + 5000, -big + 5000, -big + 15000, -big + 15000))},
        {"squares near the highest coordinates", S(Rect(big - 15000, big - 15000, big - 5000, big - 5000)),
         S(Rect(big - 10000, big - 10000, big, big))},
        {"triangles spanning the whole range", S({{-big, -big}, {big, -big}, {0, big}}), S({{-big, big}, {0, -big}, {big, big}})},
        {"a slanted square across the whole range", S(Rect(-big, -big, big, big)), S({{0, -big}, {big, 0}, {0, big}, {-big, 0}})},
        {"a U and a bar across its notch", S(u), S(Rect(1000, 5000, 8500, 7000))},
        {"a U and a rectangle over its notch only", S(u), S(Rect(3500, 4000, 5500, 8000))},
        {"the same square twice", S(square), S(square)},
        {"the same square, the other way round", S(square), S(Reversed(square))},
        {"sharing the whole bottom edge", S(square), S(Rect(0, 0, 10000, 5000))},
        {"sharing part of an edge from outside", S(square), S(Rect(10000, 2000, 20000, 8000))},
        {"inside, touching the outline at one edge", S(square), S(Rect(0, 2000, 4000, 8000))},
        {"a diamond touching a corner from outside", S(square), S({{10000, 10000}, {15000, 12000}, {12000, 15000}})},
        {"a triangle whose tip touches an edge from inside", S(square), S({{5000, 0}, {8000, 6000}, {2000, 6000}})},
        {"a vertex of each on the other's edge", S(Rect(0, 0, 10000, 10000)), S({{5000, 10000}, {10000, 5000}, {15000, 15000}})},
        {"crossing at a shared vertex", S({{0, 0}, {10000, 10000}, {0, 10000}}), S({{0, 0}, {10000, 0}, {0, 10000}})},
        {"a sliver one unit wide", S(square), S(Moved(square, 9999, 0))},
        {"shifted by one unit both ways", S(square), S(Moved(square, 1, 1))},
        {"a thin triangle across", S(square), S({{-5000, 4999}, {15000, 5000}, {-5000, 5001}})},
        {"a needle crossing at a shallow angle", S({{0, 0}, {1000000, 1}, {1000000, 3}, {0, 2}}), S({{0, 3}, {1000000, 0}, {1000000, 2}, {0, 5}})},
        {"a frame and a bar through its hole", framed, S(Rect(-1000, 4000, 11000, 6000))},
        {"a frame inside a larger square", framed, S(Rect(-1000, -1000, 11000, 11000))},
        {"a frame and a square inside its hole", framed, S(Rect(4000, 4000, 5500, 5500))},
        {"a frame and a square over its hole's corner", framed, S(Rect(5000, 5000, 12000, 12000))},
        {"two holes and a bar through both", twoHoles, S(Rect(-1000, 3000, 21000, 6000))},
        {"two holes, all covered", twoHoles, S(Rect(-1000, -1000, 21000, 11000))},
        {"two frames", framed, S(Moved(framed.outer, 2000, 2000), {Moved(framed.holes[0], 2000, 2000)})},
        {"nine holes, all covered", nineHoles, S(Rect(-1000, -1000, 11000, 11000))},
        {"nine holes and a bar through a row of them", nineHoles, S(Rect(-1000, 1500, 11000, 5500))},
        {"nine holes and a square inside", nineHoles, S(Rect(500, 500, 9500, 9500))},
        {"a square around the hole", framed, S(Rect(2500, 2500, 6500, 7500))},
        // A crossing rounded onto the common box's border leaves the first ring running out and back
        // along one segment.
        {"a rounded crossing that leaves a spike",
         S({{49, 62}, {41, 66}, {41, 74}, {30, 77}, {28, 73}, {27, 70}, {13, 66}, {14, 62}, {17, 59}, {18, 55},
            {15, 50}, {16, 50}, {15, 48}, {20, 49}, {22, 46}, {18, 39}, {27, 40}, {30, 45}, {30, 44}, {31, 35},
            {35, 39}, {35, 42}, {35, 47}, {37, 47}, {39, 48}, {45, 44}, {41, 53}, {40, 56}}),
         S({{35, 64}, {30, 61}, {14, 45}, {31, 51}})},
        {"a hole touching the outline, all covered", S(square, {{{0, 0}, {2000, 5000}, {5000, 2000}}}), S(Rect(-1000, -1000, 11000, 11000))},
        {"a hole touching the outline, half covered", S(square, {{{0, 0}, {2000, 5000}, {5000, 2000}}}), S(Rect(-1000, -1000, 3000, 11000))},
        {"a hole touching the outline, kept whole", S(square, {{{0, 0}, {2000, 5000}, {5000, 2000}}}), S(Rect(-1000, -1000, 8000, 11000))},
        {"a hole touching the outline away from its lowest corner", S(square, {{{0, 5000}, {3000, 6000}, {3000, 4000}}}), S(Rect(-1000, -1000, 8000, 11000))},
        {"disjoint", S(square), S(Rect(20000, 0, 30000, 10000))},
        {"one inside the other", S(square), S(Rect(3000, 3000, 7000, 7000))},
        {"the first inside the second", S(Rect(3000, 3000, 7000, 7000)), S(square)},
    };
    Geos g;
    for (const Pair& c : cases) Check(g, c);
}

// Random star-shaped rings, some spiky, at shifts that put them anywhere in the coordinate range.
TEST(IntersectionAgainstGeos, RandomStars) {
    Geos g;
    std::mt19937 rng(38);
    std::uniform_int_distribution<int> count(3, 60);
    std::uniform_real_distribution<double> unit(0, 1);
    const double shifts[] = {0, -1e6, 2.1e9, -2.1e9};
    int compared = 0;
    for (int k = 0; k < 400; ++k) {
        const double sx = shifts[k % 4], sy = shifts[(k / 4) % 4];
        const double r = 1000 + 1e6 * unit(rng);
        const double inner = unit(rng) * r;
        Ring a = RandomStar(rng, count(rng), sx, sy, inner, r);
        Ring b = RandomStar(rng, count(rng), sx + r * (unit(rng) - 0.5) * 2, sy + r * (unit(rng) - 0.5) * 2, unit(rng) * r, r);
        if (a.size() < 3 || b.size() < 3) continue;
        if (k % 3 == 0) b = Reversed(b);
        if (Check(g, {"random stars " + std::to_string(k), S(a), S(b)}) >= 0) ++compared;
    }
    EXPECT_GT(compared, 300);
}

// Large rings: two stars of 2,000 vertices overlapping by about a third, and circles of 10,000.
TEST(IntersectionAgainstGeos, LargeRings) {
    Geos g;
    std::mt19937 rng(2000);
    const double r = 5e6;
    Check(g, {"stars of 2,000 vertices", S(RandomStar(rng, 2000, 0, 0, 0.7 * r, r)), S(RandomStar(rng, 2000, 1.3 * r, 0, 0.7 * r, r))});
    Check(g, {"arm stars of 5,000 vertices", S(ArmStar(5000, 9, 0, 0, r, 0.3)), S(ArmStar(5000, 7, 0.8 * r, 0.2 * r, r, 0.3, 0.1))});
    Check(g, {"circles of 10,000 vertices", S(Circle(10000, 0, 0, r)), S(Circle(10000, r, 0, r))});
}

// Random star-shaped rings with a random star-shaped hole, against random stars and against each other.
TEST(IntersectionAgainstGeos, RandomHoles) {
    Geos g;
    std::mt19937 rng(3838);
    std::uniform_int_distribution<int> count(3, 40);
    std::uniform_real_distribution<double> unit(0, 1);
    std::uniform_int_distribution<int> many(12, 40);  // enough to go round the centre
    auto framed = [&](double cx, double cy, double r) {
        return S(RandomStar(rng, many(rng), cx, cy, 0.6 * r, r), {RandomStar(rng, many(rng), cx, cy, 0.1 * r, 0.5 * r)});
    };
    int compared = 0;
    for (int k = 0; k < 150; ++k) {
        const double r = 1e5 + 1e6 * unit(rng);
        const double cx = -1.5e9 * unit(rng), cy = 1.5e9 * unit(rng);
        const Shape a = framed(cx, cy, r);
        const double bx = cx + r * (unit(rng) - 0.5) * 2, by = cy + r * (unit(rng) - 0.5) * 2;
        const Shape b = k % 2 ? framed(bx, by, r * (0.5 + unit(rng))) : S(RandomStar(rng, count(rng), bx, by, 0.3 * r, r));
        if (Check(g, {"random holes " + std::to_string(k), a, b}) >= 0) ++compared;
    }
    EXPECT_GT(compared, 100);
}

// Random rings on a coarse grid, so that edges run along each other, vertices land on the other's
// edges and vertices meet: many of the pairs share edges and touch.
TEST(IntersectionAgainstGeos, RandomGridRings) {
    Geos g;
    std::mt19937 rng(1000);
    std::uniform_int_distribution<int> count(3, 16), cell(-4, 4);
    int compared = 0;
    for (int k = 0; k < 400; ++k) {
        auto grid = [&](double cx, double cy) {
            Ring r = RandomStar(rng, count(rng), cx, cy, 1, 6);
            for (POINT& p : r) p = {p.x * 1000 - 7000, p.y * 1000 + 3000};
            return r;
        };
        Ring a = grid(0, 0), b = grid(cell(rng), cell(rng));
        if (a.size() < 3 || b.size() < 3) continue;
        if (k % 2) b = Reversed(b);
        if (Check(g, {"grid rings " + std::to_string(k), S(a), S(b)}) >= 0) ++compared;
    }
    EXPECT_GT(compared, 200);
}
