// Polygon dissolve: merging key strings along shared arcs, the order of groups, and the merged
// outlines taken from a grid layer's arcs.
#include "vector/GeoProcPoly.h"

#include "LineTestSupport.h"
#include "core/GeoVectorLayer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

using namespace linetest;

namespace {

const LONG E = POLYGON_RING_END;

CGeoKeyString Keys(std::initializer_list<LONG> values) {
    CGeoKeyString k;
    for (LONG v : values) k.Add(v);
    return k;
}

std::vector<LONG> ToVector(const CGeoKeyString& k) { return std::vector<LONG>(k.GetData(), k.GetData() + k.GetSize()); }

double Area(const POINT* p, int n) {
    double s = 0;
    for (int i = 0; i < n; ++i) {
        const POINT& a = p[i];
        const POINT& b = p[(i + 1) % n];
        s += static_cast<double>(a.x) * b.y - static_cast<double>(b.x) * a.y;
    }
    return s / 2;
}

// An nx x ny grid of squares of side c: horizontal arcs run left to right, vertical arcs bottom
// to top, and every cell walks its outline counterclockwise (bottom, right, -top, -left), so two
// neighbours walk their common arc in opposite directions.
struct Grid {
    int nx, ny, c;
    CGeoVectorLayer layer{CRect(0, 0, 100000, 100000)};
    std::vector<LONG> h, v;  // arc IDs
    std::vector<std::unique_ptr<CGeoKeyString>> cells;
    CGeoKeyStringArray array;

    Grid(int nx_, int ny_, int c_ = 1000) : nx(nx_), ny(ny_), c(c_) {
        for (int j = 0; j <= ny; ++j)
            for (int i = 0; i < nx; ++i) h.push_back(Arc({{i * c, j * c}, {(i + 1) * c, j * c}}));
        for (int j = 0; j < ny; ++j)
            for (int i = 0; i <= nx; ++i) v.push_back(Arc({{i * c, j * c}, {i * c, (j + 1) * c}}));
        for (int j = 0; j < ny; ++j)
            for (int i = 0; i < nx; ++i) {
                cells.emplace_back(new CGeoKeyString(
                    Keys({H(i, j), V(i + 1, j), -H(i, j + 1), -V(i, j), E})));
                array.Add(cells.back().get());
            }
    }
    LONG H(int i, int j) const { return h[j * nx + i]; }
    LONG V(int i, int j) const { return v[j * (nx + 1) + i]; }
    LONG Arc(const Pts& pts) {
        CGeoPLine* line = MakeLine(pts);
        EXPECT_TRUE(layer.Add(line));
        return static_cast<LONG>(line->GetID());
    }
    LONG Cell(int i, int j) const { return j * nx + i; }
};

struct Result {
    int rc = -1;
    std::vector<std::vector<POINT>> rings;
};

Result Dissolve(Grid& g, std::initializer_list<LONG> selection) {
    CGeoProcPoly proc(&g.layer, g.array);
    CGeoKeyString sel = Keys(selection);
    POINT* pts = nullptr;
    int* sizes = nullptr;
    int count = -1;
    Result r;
    r.rc = proc.ReunitePoly(sel, &pts, &sizes, count);
    if (r.rc) {
        int at = 0;
        for (int i = 0; i < count; ++i) {
            r.rings.emplace_back(pts + at, pts + at + sizes[i]);
            at += sizes[i];
        }
    }
    delete[] pts;
    delete[] sizes;
    return r;
}

double Area(const std::vector<POINT>& ring) { return std::fabs(Area(ring.data(), static_cast<int>(ring.size()))); }

}  // namespace

TEST(GeoProcPoly, BuildNewPolyDropsTheSharedArcAndLeavesNoRingEnd) {
    CGeoProcPoly proc;
    struct Case {
        const char* name;
        CGeoKeyString a, b;
        std::vector<LONG> want;
    } cases[] = {
        {"opposite", Keys({1, 2, 3, 4, E}), Keys({5, 6, 7, -2, E}), {1, 5, 6, 7, 3, 4}},
        // walked the same way: b joins reversed and negated
        {"same way", Keys({1, 2, 3, 4, E}), Keys({5, 2, 6, 7, E}), {1, -5, -7, -6, 3, 4}},
        // two shared arcs in a row: the second one is peeled off as well
        {"two arcs", Keys({1, 2, 3, 4, E}), Keys({-3, -2, 5, 6, E}), {4, 1, 5, 6}},
    };
    for (Case& c : cases) {
        CGeoKeyString out;
        EXPECT_EQ(proc.BuildNewPoly(c.a, c.b, out), 1) << c.name;
        EXPECT_EQ(ToVector(out), c.want) << c.name;
    }
    CGeoKeyString a = Keys({1, 2, E}), b = Keys({3, 4, E}), out = Keys({9});
    EXPECT_EQ(proc.BuildNewPoly(a, b, out), 0);
    EXPECT_EQ(ToVector(out), std::vector<LONG>{9});
}

TEST(GeoProcPoly, RingEndIsNeverASharedArc) {
    CGeoKeyString a = Keys({1, 2, E}), b = Keys({3, 4, E});
    CGeoKeyStringArray array;
    array.Add(&a);
    array.Add(&b);
    CGeoProcPoly proc(nullptr, array);
    CGeoKeyString both = Keys({0, 1});
    EXPECT_EQ(proc.IsJoinGeneralize(both, 0), 0);
    POINT* pts = reinterpret_cast<POINT*>(0x1);
    int* sizes = reinterpret_cast<int*>(0x1);
    int count = 77;
    EXPECT_EQ(proc.ReunitePoly(both, &pts, &sizes, count), 0);
    EXPECT_EQ(count, 77);  // untouched
}

TEST(GeoProcPoly, NothingTouchingReturnsZero) {
    Grid g(3, 1);
    EXPECT_EQ(Dissolve(g, {}).rc, 0);
    EXPECT_EQ(Dissolve(g, {1}).rc, 0);
    EXPECT_EQ(Dissolve(g, {0, 2}).rc, 0);  // the middle one is not selected
}

TEST(GeoProcPoly, RowMergesIntoOneOutlineWhateverTheSelectionOrder) {
    Grid g(3, 1);
    for (auto order : {std::vector<LONG>{0, 1, 2}, std::vector<LONG>{0, 2, 1}, std::vector<LONG>{2, 0, 1}}) {
        CGeoProcPoly proc(&g.layer, g.array);
        CGeoKeyString sel;
        for (LONG p : order) sel.Add(p);
        POINT* pts = nullptr;
        int* sizes = nullptr;
        int count = 0;
        ASSERT_EQ(proc.ReunitePoly(sel, &pts, &sizes, count), 1);
        ASSERT_EQ(count, 1);
        // 8 outer arcs of two points each: junctions appear twice
        EXPECT_EQ(sizes[0], 16);
        EXPECT_DOUBLE_EQ(std::fabs(Area(pts, sizes[0])), 3e6);
        delete[] pts;
        delete[] sizes;
    }
}

TEST(GeoProcPoly, SeparatePairsGiveOneRingEach) {
    Grid g(5, 1);
    Result r = Dissolve(g, {0, 1, 3, 4});
    ASSERT_EQ(r.rc, 1);
    ASSERT_EQ(r.rings.size(), 2u);
    EXPECT_DOUBLE_EQ(Area(r.rings[0]), 2e6);
    EXPECT_DOUBLE_EQ(Area(r.rings[1]), 2e6);
    EXPECT_EQ(r.rings[0][0].x, 1000);  // the first pair's group, from its second polygon on
    EXPECT_EQ(r.rings[1][0].x, 4000);
}

TEST(GeoProcPoly, AreaAroundAnUnselectedPolygonGivesOneRingPerLoop) {
    Grid g(3, 3);
    std::initializer_list<LONG> ring = {0, 1, 2, 3, 5, 6, 7, 8};  // all but the middle cell
    Result r = Dissolve(g, ring);
    ASSERT_EQ(r.rc, 1);
    ASSERT_EQ(r.rings.size(), 2u);
    EXPECT_DOUBLE_EQ(Area(r.rings[0]), 9e6);
    EXPECT_DOUBLE_EQ(Area(r.rings[1]), 1e6);
    for (const auto& ringPts : r.rings) {  // each ring closes on itself
        EXPECT_EQ(ringPts.front().x, ringPts.back().x);
        EXPECT_EQ(ringPts.front().y, ringPts.back().y);
    }
}

TEST(GeoProcPoly, LargeGridKeepsTheTotalArea) {
    // Every other row selected: each selected row is its own group of 20.
    Grid g(20, 20, 500);
    CGeoProcPoly proc(&g.layer, g.array);
    CGeoKeyString sel;
    for (int j = 0; j < 20; j += 2)
        for (int i = 0; i < 20; ++i) sel.Add(g.Cell(i, j));
    POINT* pts = nullptr;
    int* sizes = nullptr;
    int count = 0;
    ASSERT_EQ(proc.ReunitePoly(sel, &pts, &sizes, count), 1);
    EXPECT_EQ(count, 10);
    int at = 0;
    for (int i = 0; i < count; ++i) {
        EXPECT_DOUBLE_EQ(std::fabs(Area(pts + at, sizes[i])), 20 * 500.0 * 500.0) << i;
        at += sizes[i];
    }
    delete[] pts;
    delete[] sizes;
}

TEST(GeoProcPoly, MissingArcContributesNoPoints) {
    Grid g(2, 1);
    // The shared arc's neighbours stay; deleting an outer arc removes its two points from the ring.
    CGeoAccessorialObject* outer = g.layer.FindObj(static_cast<UINT>(g.H(0, 0)));
    ASSERT_TRUE(outer);
    g.layer.Delete(outer, 0);
    delete outer;
    Result r = Dissolve(g, {0, 1});
    ASSERT_EQ(r.rc, 1);
    size_t total = 0;
    for (const auto& ring : r.rings) total += ring.size();
    EXPECT_EQ(total, 10u);  // 5 of the 6 outer arcs
}

TEST(GeoProcPoly, APositionSelectedTwiceCountsOnce) {
    Grid g(3, 1);
    Result once = Dissolve(g, {0, 1});
    struct Case {
        const char* name;
        std::initializer_list<LONG> selection;
        int rc;
    } cases[] = {
        {"pair with a repeat", {0, 1, 1, 0}, 1},
        {"repeat first", {1, 1, 0}, 1},
        {"one polygon twice", {1, 1}, 0},
    };
    for (const Case& c : cases) {
        Result r = Dissolve(g, c.selection);
        ASSERT_EQ(r.rc, c.rc) << c.name;
        if (!r.rc) continue;
        ASSERT_EQ(r.rings.size(), 1u) << c.name;
        EXPECT_DOUBLE_EQ(Area(r.rings[0]), 2e6) << c.name;
    }
    // the same ring, point for point, as without the repeats
    std::vector<POINT> twice = Dissolve(g, {0, 1, 1, 0}).rings.at(0), plain = once.rings.at(0);
    ASSERT_EQ(twice.size(), plain.size());
    for (size_t i = 0; i < plain.size(); ++i) EXPECT_TRUE(twice[i].x == plain[i].x && twice[i].y == plain[i].y) << i;
}
