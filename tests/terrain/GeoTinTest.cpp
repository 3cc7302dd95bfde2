// TIN construction: the sweep, links, angle swaps and segment forcing on small cases and at scale.
#include <array>
#include "TinTestSupport.h"

#include "vector/GeoPLine.h"

#include <cstdio>

using namespace tintest;

namespace {

std::unique_ptr<CGeoTin> Build(CGeoVectorLayer& layer) {
    auto tin = std::make_unique<CGeoTin>();
    CGeoVectorLayerList list;
    list.AddTail(&layer);
    tin->Create(list);
    return tin;
}

std::set<std::pair<int, int>> Corners(const CGeoTinTriangle* t) {
    std::set<std::pair<int, int>> s;
    for (int i = 0; i < 3; ++i) s.insert({t->GetVertex(i)->GetX(), t->GetVertex(i)->GetY()});
    return s;
}

TEST(GeoTin, SmallCases) {
    MinusYGuard guard;
    struct Case {
        const char* name;
        std::vector<POINT> pts;
        int triangles;
        int used;
    };
    const Case cases[] = {
        {"three points", {{0, 0}, {10, 0}, {0, 10}}, 1, 3},
        {"four convex points", {{0, 0}, {100, 10}, {-100, 10}, {0, 30}}, 2, 4},
        // The layer's bounds are empty, so the centre is (0, 0): the duplicate of the nearest point is
        // dropped before the first triangle.
        {"duplicate of the nearest", {{1, 1}, {1, 1}, {20, 0}, {0, 20}}, 1, 3},
        // (2, 0) lies on the line through (1, 0) and (3, 0): skipped for the first triangle, joined later.
        {"collinear skipped then joined", {{1, 0}, {2, 0}, {3, 0}, {0, 30}}, 2, 4},
        // A later duplicate lies on the hull when its turn comes and joins no triangle.
        {"later duplicate unused", {{0, 0}, {10, 0}, {0, 10}, {40, 40}, {40, 40}}, 2, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto layer = PointLayer(c.pts);
        auto tin = Build(*layer);
        TinFacts f = CheckTin(*tin);
        EXPECT_EQ(f.triangles, c.triangles);
        EXPECT_EQ(f.usedVertices, c.used);
    }
}

TEST(GeoTin, ThreePointsMakeOneUnlinkedTriangle) {
    MinusYGuard guard;
    auto layer = PointLayer({{0, 0}, {0, 10}, {10, 0}});
    auto tin = Build(*layer);
    ASSERT_EQ(tin->GetTriangleCount(), 1);
    CGeoTinTriangle* t = tin->GetTriangle(1);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(t->GetNeighbor(i), nullptr);
    EXPECT_EQ(tin->GetTriangle(0), nullptr);
    EXPECT_EQ(tin->GetTriangle(2), nullptr);
}

TEST(GeoTin, SwapsToTheDiagonalWithTheLargerSmallestAngle) {
    MinusYGuard guard;
    // A flat rhombus: the long diagonal (-100, 10)-(100, 10) makes two slivers; the short one wins.
    auto layer = PointLayer({{0, 0}, {100, 10}, {-100, 10}, {0, 20}});
    auto tin = Build(*layer);
    ASSERT_EQ(tin->GetTriangleCount(), 2);
    auto edges = Edges(*tin);
    EXPECT_TRUE(edges.count({{0, 0}, {0, 20}}));
    EXPECT_FALSE(edges.count({{-100, 10}, {100, 10}}));
}

TEST(GeoTin, AllCollinearGivesNoTriangle) {
    MinusYGuard guard;
    auto layer = PointLayer({{0, 0}, {1, 1}, {2, 2}, {5, 5}, {-3, -3}});
    CGeoTin tin;
    CGeoVectorLayerList list;
    list.AddTail(layer.get());
    EXPECT_FALSE(tin.Create(list));
    EXPECT_EQ(tin.GetTriangleCount(), 0);
    tin.TerrainCheck();  // nothing to do, nothing to crash on
    EXPECT_EQ(tin.GetElevation(0, 0, 1, 1.0, -7), -7);
}

TEST(GeoTin, RandomPointsAtScale) {
    MinusYGuard guard;
    auto layer = PointLayer(RandomPoints(10000, 7));
    auto tin = Build(*layer);
    TinFacts f = CheckTin(*tin);
    EXPECT_EQ(f.usedVertices, 10000);  // general position: every vertex is used
    const double share = DelaunayShare(*tin);
    std::printf("[ figure ] locally Delaunay inner edges after the swap passes: %.4f\n", share);
    EXPECT_GT(share, 0.9);
}

TEST(GeoTin, ConcentricRings) {
    MinusYGuard guard;
    // Many vertices at one distance from the centre: the hull grows ring by ring.
    std::vector<POINT> pts;
    for (int r = 1; r <= 20; ++r)
        for (int i = 0; i < 50; ++i) {
            const double a = 2.0 * M_PI * (i + 0.5 * (r % 2)) / 50;
            pts.push_back(POINT{static_cast<int>(std::lround(1000 * r * std::cos(a))),
                                static_cast<int>(std::lround(1000 * r * std::sin(a)))});
        }
    auto layer = PointLayer(pts);
    auto tin = Build(*layer);
    TinFacts f = CheckTin(*tin);
    EXPECT_EQ(f.usedVertices, 1000);
}

// Runs the pipeline of the line-based builds (no plane forms) with the y flag as it is, so the forcing
// can be seen in both frames.
class PipelineTin : public CGeoTin {
public:
    BOOL Build(const std::vector<CGeoVectorObject*>& bodies, CPoint centre) {
        LONG n = 0;
        for (auto* b : bodies) n += b->GetTinPointNumber();
        if (!AllocateTables(n)) return FALSE;
        CGeoTinPoint* cursor = GetTinPoint(0);
        for (auto* b : bodies) b->CreateTinPoints(cursor, centre);
        if (!Triangulate()) return FALSE;
        CreateNeighborhood();
        ConvexCheck();
        CrossCheck();
        return TRUE;
    }
    // The vertex records of the bodies in sweep order (nearest the centre first), nothing built.
    void Fill(const std::vector<CGeoVectorObject*>& bodies, CPoint centre) {
        LONG n = 0;
        for (auto* b : bodies) n += b->GetTinPointNumber();
        ASSERT_TRUE(AllocateTables(n));
        CGeoTinPoint* cursor = GetTinPoint(0);
        for (auto* b : bodies) b->CreateTinPoints(cursor, centre);
        std::stable_sort(GetTinPoint(0), GetTinPoint(0) + n,
                         [](const CGeoTinPoint& a, const CGeoTinPoint& b) { return a.GetDistance() < b.GetDistance(); });
    }
    // The sweep through the public steps: the first triangle, then every pending vertex in turn.
    BOOL BuildByHand() {
        CTypedPtrList<CPtrList, CGeoTinPoint*> pending;
        for (int i = 0; i < GetPointCount(); ++i) pending.AddTail(GetTinPoint(i));
        if (!CreateTheFirstTriangle(pending)) return FALSE;
        while (!pending.IsEmpty()) Extend(pending.RemoveHead());
        CreateNeighborhood();
        ConvexCheck();
        CrossCheck();
        return TRUE;
    }
    // Each triangle's vertices as table positions, in serial order.
    std::vector<std::array<long, 3>> Triangles() const {
        std::vector<std::array<long, 3>> out;
        for (LONG s = 1; s <= GetTriangleCount(); ++s) {
            std::array<long, 3> t{};
            for (int i = 0; i < 3; ++i) t[i] = static_cast<long>(GetTriangle(s)->GetVertex(i) - GetTinPoint(0));
            out.push_back(t);
        }
        return out;
    }
};

TEST(GeoTin, TheStepsByHandBuildWhatTheSweepBuilds) {
    MinusYGuard guard;
    CGeoTinPoint::SetMinusY(0);
    // Spot heights around two contour rings: hull chains that run over the list's head happen here.
    auto spots = PointLayer(RandomPoints(400, 11, 4000));
    std::vector<CGeoVectorObject*> bodies;
    for (POSITION pos = spots->m_ObjList.GetHeadPosition(); pos;)
        bodies.push_back(static_cast<CGeoVectorObject*>(spots->m_ObjList.GetNext(pos)));
    std::unique_ptr<CGeoPolygonLine> inner(Ring(2000, 2000, 700, 60, 10.0)), outer(Ring(2000, 2000, 1500, 90, 5.0));
    bodies.push_back(inner.get());
    bodies.push_back(outer.get());
    PipelineTin sweep, steps;
    ASSERT_TRUE(sweep.Build(bodies, CPoint(2000, 2000)));
    steps.Fill(bodies, CPoint(2000, 2000));
    ASSERT_TRUE(steps.BuildByHand());
    EXPECT_EQ(steps.Triangles(), sweep.Triangles());
    CheckTin(steps);
}

TEST(GeoTin, BoundaryStepsOneAtATime) {
    MinusYGuard guard;
    CGeoTinPoint::SetMinusY(0);
    auto layer = PointLayer({{0, 0}, {10, 0}, {0, 10}, {2, 2}, {20, 20}, {-30, 5}});
    std::vector<CGeoVectorObject*> bodies;
    for (POSITION pos = layer->m_ObjList.GetHeadPosition(); pos;)
        bodies.push_back(static_cast<CGeoVectorObject*>(layer->m_ObjList.GetNext(pos)));
    PipelineTin tin;
    tin.Fill(bodies, CPoint(0, 0));
    CTypedPtrList<CPtrList, CGeoTinPoint*> hull;
    auto at = [&](int x, int y) {
        for (int i = 0; i < tin.GetPointCount(); ++i)
            if (tin.GetTinPoint(i)->GetX() == x && tin.GetTinPoint(i)->GetY() == y) return tin.GetTinPoint(i);
        return static_cast<CGeoTinPoint*>(nullptr);
    };

    // Before a first triangle there is no hull to join.
    EXPECT_EQ(tin.InsertBoundaryVertex(at(20, 20)), nullptr);
    CTypedPtrList<CPtrList, CGeoTinPoint*> pending;
    pending.AddTail(at(0, 0));
    pending.AddTail(at(10, 0));
    pending.AddTail(at(0, 10));
    ASSERT_TRUE(tin.CreateTheFirstTriangle(pending));
    EXPECT_TRUE(pending.IsEmpty());
    EXPECT_EQ(tin.GetBoundary(hull), 3);
    EXPECT_EQ(tin.GetTriangleCount(), 1);

    // Inside the hull, already on it, or not a record of this TIN: refused, nothing changes.
    CGeoTinPoint stranger;
    EXPECT_EQ(tin.InsertBoundaryVertex(at(2, 2)), nullptr);
    EXPECT_EQ(tin.InsertBoundaryVertex(at(10, 0)), nullptr);
    EXPECT_EQ(tin.InsertBoundaryVertex(&stranger), nullptr);
    EXPECT_EQ(tin.GetTriangleCount(), 1);

    // (20, 20) sees the edge (10, 0)-(0, 10): one triangle, and the hull grows by one vertex.
    POSITION pos = tin.InsertBoundaryVertex(at(20, 20));
    ASSERT_NE(pos, nullptr);
    tin.ExtendNext(pos, at(20, 20));
    tin.ExtendPrev(pos, at(20, 20));
    EXPECT_EQ(tin.GetTriangleCount(), 2);
    EXPECT_EQ(tin.GetBoundary(hull), 4);

    // (-30, 5) sees (20, 20)-(0, 10) first and, walking on, (0, 10)-(0, 0): Extend joins it to both,
    // and (0, 10) leaves the hull.
    tin.Extend(at(-30, 5));
    EXPECT_EQ(tin.GetTriangleCount(), 4);
    ASSERT_EQ(tin.GetBoundary(hull), 4);
    EXPECT_EQ(hull.Find(at(0, 10)), nullptr);
    tin.CreateNeighborhood();
    CheckTin(tin);
}

// The share of the bodies' segments (closing segments of polygon lines included) that are TIN edges.
double ForcedShare(const CGeoTin& tin, const std::vector<CGeoPolygonLine*>& lines) {
    std::set<std::pair<const void*, std::pair<int, int>>> edges;
    for (LONG s = 1; s <= tin.GetTriangleCount(); ++s) {
        CGeoTinTriangle* t = tin.GetTriangle(s);
        for (int i = 0; i < 3; ++i) {
            CGeoTinPoint* a = t->GetVertex(i);
            CGeoTinPoint* b = t->GetVertex((i + 1) % 3);
            if (a->GetMainBody() != b->GetMainBody()) continue;
            edges.insert({a->GetMainBody(), {std::min(a->GetNumber(), b->GetNumber()), std::max(a->GetNumber(), b->GetNumber())}});
        }
    }
    int total = 0, found = 0;
    for (auto* l : lines) {
        const int n = l->GetPoints();
        for (int i = 0; i < n; ++i) {
            const int j = (i + 1) % n;
            ++total;
            found += edges.count({l, {std::min(i, j), std::max(i, j)}}) ? 1 : 0;
        }
    }
    return static_cast<double>(found) / total;
}

TEST(GeoTin, ContourSegmentsAreForcedIntoTheTin) {
    MinusYGuard guard;
    // Two coarse rings and a sparse spot-height grid: without forcing many ring segments are cut.
    std::vector<std::unique_ptr<CGeoVectorObject>> owned;
    std::vector<CGeoPolygonLine*> rings = {Ring(0, 0, 5000, 40, 100.0), Ring(0, 0, 9000, 60, 50.0)};
    std::vector<CGeoVectorObject*> bodies(rings.begin(), rings.end());
    for (auto* r : rings) owned.emplace_back(r);
    for (int x = -12000; x <= 12000; x += 1500)
        for (int y = -12000; y <= 12000; y += 1500) {
            auto* p = new CGeoPoint(x + 7, y + 3);
            owned.emplace_back(p);
            bodies.push_back(p);
        }
    double shares[2];
    for (int flag = 0; flag < 2; ++flag) {
        CGeoTinPoint::SetMinusY(flag);
        PipelineTin tin;
        ASSERT_TRUE(tin.Build(bodies, CPoint(0, 0)));
        CheckTin(tin);
        shares[flag] = ForcedShare(tin, rings);
    }
    std::printf("[ figure ] contour segments that are TIN edges: %.4f (y up), %.4f (y flipped)\n", shares[0], shares[1]);
    EXPECT_GT(shares[0], 0.95);
    // The forced segments are read in the vertices' frame: a mirrored build forces as well.
    EXPECT_GT(shares[1], 0.95);
}

// The links and swaps as the plain algorithm does them: every edge entry paired by its two vertices, and
// every pass testing every edge of every triangle in table order. The library's faster passes must
// leave the very same table: same vertices in the same slots, same links.
class StepTin : public CGeoTin {
public:
    BOOL Sweep(const std::vector<CGeoVectorObject*>& bodies, CPoint centre) {
        LONG n = 0;
        for (auto* b : bodies) n += b->GetTinPointNumber();
        if (!AllocateTables(n)) return FALSE;
        CGeoTinPoint* cursor = GetTinPoint(0);
        for (auto* b : bodies) b->CreateTinPoints(cursor, centre);
        return Triangulate();
    }
    void PlainLinks() {
        std::map<std::pair<CGeoTinPoint*, CGeoTinPoint*>, StGeoPointTriangleIndex> open;
        for (LONG s = 1; s <= GetTriangleCount(); ++s)
            for (int i = 0; i < 3; ++i) {
                const StGeoPointTriangleIndex e{GetTriangle(s), static_cast<unsigned char>(i)};
                const auto key = std::make_pair(e.GetLowVertex(), e.GetHighVertex());
                auto it = open.find(key);
                if (it == open.end()) {
                    open.emplace(key, e);
                } else {
                    e.Link(&it->second);
                    open.erase(it);
                }
            }
    }
    void PlainSwaps() {
        bool swapped = true;
        for (int pass = 0; pass < 20 && swapped; ++pass) {
            swapped = false;
            for (LONG s = 1; s <= GetTriangleCount(); ++s) {
                CGeoTinTriangle* T = GetTriangle(s);
                for (int l = 0; l < 3; ++l) {
                    StGeoPointTriangleIndex* link = T->GetNeighbor(l);
                    if (!link) continue;
                    CGeoTinPoint* w = link->GetOppositeVertex();
                    CGeoTinPoint* a = T->GetVertex(l);
                    CGeoTinPoint* b = T->GetVertex((l + 1) % 3);
                    CGeoTinPoint* g = T->GetVertex((l + 2) % 3);
                    if (!TinTurnsAnticlockwise(a, w, g) || !TinTurnsAnticlockwise(b, g, w)) continue;
                    const double m = std::max(T->GetCosMinAngle(), link->triangle->GetCosMinAngle());
                    if (MinAngleOfPoints(a, w, g) < m && MinAngleOfPoints(b, g, w) < m) {
                        T->reconstruct(l, link);
                        swapped = true;
                        break;
                    }
                }
            }
        }
    }
    // Every slot of the table: vertex positions, then the serial number and edge of each link.
    std::vector<long> Table() {
        std::vector<long> out;
        for (LONG s = 1; s <= GetTriangleCount(); ++s) {
            CGeoTinTriangle* t = GetTriangle(s);
            for (int i = 0; i < 3; ++i) {
                out.push_back(static_cast<long>(t->GetVertex(i) - GetTinPoint(0)));
                StGeoPointTriangleIndex* link = t->GetNeighbor(i);
                out.push_back(link ? link->triangle->GetSerialNumber() * 4 + link->edge : -1);
            }
        }
        return out;
    }
};

TEST(GeoTin, LinksAndSwapsGiveThePlainAlgorithmsTable) {
    MinusYGuard guard;
    CGeoTinPoint::SetMinusY(0);
    std::vector<std::unique_ptr<CGeoVectorObject>> owned;
    auto points = [&](const std::vector<POINT>& pts) {
        std::vector<CGeoVectorObject*> bodies;
        for (const POINT& p : pts) {
            owned.emplace_back(new CGeoPoint(p));
            bodies.push_back(owned.back().get());
        }
        return bodies;
    };
    std::vector<POINT> rings;  // nearly cocircular: many passes, many near-ties
    for (int r = 1; r <= 30; ++r)
        for (int i = 0; i < 100; ++i) {
            const double a = 2.0 * M_PI * (i + 0.37 * r) / 100;
            rings.push_back(POINT{static_cast<int>(std::lround(700 * r * std::cos(a))),
                                  static_cast<int>(std::lround(700 * r * std::sin(a)))});
        }
    std::vector<CGeoVectorObject*> contours;
    for (int k = 1; k <= 12; ++k) {
        owned.emplace_back(Ring(150 * k, -90 * k, 1500.0 * k, 40 + 15 * k, 10.0 * k));
        contours.push_back(owned.back().get());
    }
    const struct {
        const char* name;
        std::vector<CGeoVectorObject*> bodies;
    } cases[] = {{"random", points(RandomPoints(4000, 11))},
                 {"grid", points([] {
                      std::vector<POINT> g;  // cocircular by the thousand
                      for (int x = 0; x < 40; ++x)
                          for (int y = 0; y < 40; ++y) g.push_back(POINT{x * 100, y * 100});
                      return g;
                  }())},
                 {"rings", points(rings)},
                 {"contours", contours}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StepTin plain, fast;
        ASSERT_TRUE(plain.Sweep(c.bodies, CPoint(0, 0)));
        ASSERT_TRUE(fast.Sweep(c.bodies, CPoint(0, 0)));
        plain.PlainLinks();
        fast.CreateNeighborhood();
        ASSERT_EQ(plain.Table(), fast.Table());
        plain.PlainSwaps();
        fast.ConvexCheck();
        EXPECT_EQ(plain.Table(), fast.Table());
    }
}

TEST(GeoTin, SecondCreateReplacesTheFirst) {
    MinusYGuard guard;
    auto a = PointLayer(RandomPoints(50, 1));
    auto b = PointLayer({{0, 0}, {10, 0}, {0, 10}});
    CGeoTin tin;
    CGeoVectorLayerList la, lb;
    la.AddTail(a.get());
    lb.AddTail(b.get());
    ASSERT_TRUE(tin.Create(la));
    EXPECT_GT(tin.GetTriangleCount(), 40);
    ASSERT_TRUE(tin.Create(lb));  // the first tables are released (the leak checker watches)
    EXPECT_EQ(tin.GetPointCount(), 3);
    EXPECT_EQ(tin.GetTriangleCount(), 1);
    EXPECT_EQ(Corners(tin.GetTriangle(1)), (std::set<std::pair<int, int>>{{0, 0}, {10, 0}, {0, 10}}));
}

}  // namespace
