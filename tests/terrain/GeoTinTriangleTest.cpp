// TIN triangles: angles, plane forms, flips, records, the drawing mapping and rasterising.
#include "TinTestSupport.h"

#include "../support/TempDir.h"
#include "core/GeoMap.h"
#include "terrain/GeoDrawingParameter.h"
#include "vector/GeoPLine.h"

#include <afx/Dc.h>
#include <afx/File.h>
#include <win32/gdirecord.h>

using namespace tintest;

namespace {

struct Vertices {
    std::unique_ptr<CGeoPLine> body;
    std::vector<CGeoTinPoint> v;
    explicit Vertices(const std::vector<POINT>& pts) {
        body = std::make_unique<CGeoPLine>(static_cast<int>(pts.size()), pts.data(), TRUE);
        v.resize(pts.size());
        CGeoTinPoint* cursor = v.data();
        CPoint centre(0, 0);
        body->CreateTinPoints(cursor, centre);
    }
    CGeoTinPoint* operator[](int i) { return &v[i]; }
};

TEST(GeoTinTriangle, Angles) {
    MinusYGuard guard;
    CGeoTinPoint::SetMinusY(0);
    Vertices right({{0, 0}, {3, 0}, {0, 4}});
    EXPECT_DOUBLE_EQ(MinAngleOfPoints(right[0], right[1], right[2]), 0.8);
    Vertices eq({{0, 0}, {1000, 0}, {500, 866}});
    EXPECT_NEAR(MinAngleOfPoints(eq[0], eq[1], eq[2]), 0.5, 1e-3);

    CGeoTinTriangle t(right[0], right[1], right[2]);
    EXPECT_NEAR(t.GetAngle(0), M_PI / 2, 1e-12);
    EXPECT_NEAR(t.GetMinAngle(), std::acos(0.8), 1e-12);
    // Degenerate: two vertices on one spot, and three on one line, never give NaN.
    Vertices flat({{0, 0}, {0, 0}, {5, 0}, {10, 0}});
    CGeoTinTriangle d1(flat[0], flat[1], flat[2]), d2(flat[0], flat[2], flat[3]);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(std::isnan(d1.GetAngle(i)));
        EXPECT_FALSE(std::isnan(d2.GetAngle(i)));
    }
    EXPECT_NEAR(d2.GetAngle(1), M_PI, 1e-12);
}

TEST(GeoTinTriangle, BoundsKeepTheLargerYOnTop) {
    MinusYGuard guard;
    for (int flag = 0; flag < 2; ++flag) {
        // The bounds come from the bodies' raw points, whatever the y flag says.
        CGeoTinPoint::SetMinusY(flag);
        Vertices v({{-5, 7}, {3, -2}, {0, 40}});
        CGeoTinTriangle t(v[0], v[1], v[2]);
        t.SetPosition();
        EXPECT_EQ(t.GetBounds(), CRect(-5, 40, 3, -2));
        EXPECT_EQ(t.GetBounds(), t.GetPosition());
    }
}

TEST(GeoTinTriangle, PlaneFormAndElevation) {
    MinusYGuard guard;
    CGeoTinPoint::SetMinusY(0);
    AfxClearMessageLog();
    auto layer = PointLayer({{0, 0}, {10, 0}, {0, 10}}, {5.0, 25.0, -15.0});
    std::vector<CGeoTinPoint> v(3);
    CGeoTinPoint* cursor = v.data();
    CPoint centre(0, 0);
    int k = 0;
    for (POSITION pos = layer->m_ObjList.GetHeadPosition(); pos; ++k)
        static_cast<CGeoVectorObject*>(layer->m_ObjList.GetNext(pos))->CreateTinPoints(cursor, centre);
    CGeoTinTriangle t(&v[0], &v[1], &v[2]);
    t.CreatePlaneForm();
    EXPECT_NEAR(t.GetA(), 2.0, 1e-12);
    EXPECT_NEAR(t.GetB(), -2.0, 1e-12);
    EXPECT_NEAR(t.GetC(), 5.0, 1e-12);
    EXPECT_TRUE(AfxGetMessageLog().empty());

    // Rounding: trunc(v / k + 0.5) toward zero, so -12.34 gives -11.
    struct {
        int x, y;
        double k;
        LONG want;
    } rows[] = {{0, 0, 1.0, 5}, {5, 0, 1.0, 15}, {0, 0, 10.0, 1}, {59, 0, 1.0, 123}};
    for (auto& r : rows) EXPECT_EQ(t.GetElevation(r.x, r.y, r.k), r.want) << r.x << "," << r.y;

    // Collinear vertices: one message, the level plane at vertex 0's height.
    Vertices line({{0, 0}, {5, 5}, {10, 10}});
    line.body->SetZ(7.5);
    CGeoTinTriangle flat(line[0], line[1], line[2]);
    flat.CreatePlaneForm();
    ASSERT_EQ(AfxGetMessageLog().size(), 1u);
    EXPECT_EQ(AfxGetMessageLog()[0].text, CString("Error: Plane form"));
    EXPECT_EQ(flat.GetElevation(1000, -40, 1.0), 8);
    AfxClearMessageLog();
}

TEST(GeoTinTriangle, ElevationRoundsHalfUpTowardZero) {
    // A level plane at z through three spot heights answers trunc(z / k + 0.5).
    MinusYGuard guard;
    for (auto [z, k, want] : {std::tuple{123.4, 10.0, 12}, {-123.4, 10.0, -11}, {12.5, 1.0, 13}, {-0.4, 1.0, 0}}) {
        auto layer = PointLayer({{0, 0}, {10, 0}, {0, 10}}, {z, z, z});
        CGeoTin tin;
        CGeoVectorLayerList list;
        list.AddTail(layer.get());
        ASSERT_TRUE(tin.Create(list));
        EXPECT_EQ(tin.GetElevation(3, 3, 1, k, -99), want) << z << " / " << k;
        EXPECT_EQ(tin.GetElevation(3, 3, 0, k, -99), -99);
        EXPECT_EQ(tin.GetElevation(3, 3, 2, k, -99), -99);
    }
}

TEST(GeoTinTriangle, FlipAndFlipBackRestoreThePair) {
    MinusYGuard guard;
    // A hexagon around a centre vertex: every inner edge can be flipped and flipped back.
    auto layer = PointLayer({{0, 0}, {100, 0}, {50, 87}, {-50, 87}, {-100, 0}, {-50, -87}, {50, -87}, {150, 90}});
    CGeoTin tin;
    CGeoVectorLayerList list;
    list.AddTail(layer.get());
    ASSERT_TRUE(tin.Create(list));
    CheckTin(tin);
    int flips = 0;
    for (LONG s = 1; s <= tin.GetTriangleCount(); ++s) {
        CGeoTinTriangle* t = tin.GetTriangle(s);
        for (int i = 0; i < 3; ++i) {
            StGeoPointTriangleIndex* out = nullptr;
            const auto before = Edges(tin);
            CGeoTinTriangle* u = t->GetNeighbor(i) ? t->GetNeighbor(i)->triangle : nullptr;
            if (!t->reconstruct(i, &out)) continue;
            ++flips;
            ASSERT_NE(out, nullptr);
            EXPECT_EQ(out->triangle, u);  // the link of edge i + 1 names the other new triangle
            CheckTin(tin);
            EXPECT_NE(Edges(tin), before);
            // The new shared edge is edge i + 1: flipping it restores the edge set.
            StGeoPointTriangleIndex* back = nullptr;
            ASSERT_EQ(t->reconstruct((i + 1) % 3, &back), 1);
            CheckTin(tin);
            EXPECT_EQ(Edges(tin), before);
        }
    }
    EXPECT_GT(flips, 3);
}

TEST(GeoTinTriangle, GuardedFlipRefusesConcaveQuadrilaterals) {
    MinusYGuard guard;
    // (50, 30) lies inside the other three: every inner edge closes an arrow-shaped quadrilateral.
    auto layer = PointLayer({{0, 0}, {100, 0}, {50, 100}, {50, 30}});
    CGeoTin tin;
    CGeoVectorLayerList list;
    list.AddTail(layer.get());
    ASSERT_TRUE(tin.Create(list));
    int refused = 0;
    for (LONG s = 1; s <= tin.GetTriangleCount(); ++s)
        for (int i = 0; i < 3; ++i) {
            StGeoPointTriangleIndex* out = nullptr;
            if (!tin.GetTriangle(s)->GetNeighbor(i)) continue;
            const auto before = Edges(tin);
            if (!tin.GetTriangle(s)->reconstruct(i, &out)) {
                ++refused;
                EXPECT_EQ(Edges(tin), before);
            } else {
                ASSERT_EQ(tin.GetTriangle(s)->reconstruct((i + 1) % 3, &out), 1);
            }
        }
    EXPECT_EQ(tin.GetTriangleCount(), 3);
    EXPECT_EQ(refused, 6);
}

TEST(GeoTinTriangle, RecordIsTheVectorPartAndThePlane) {
    CGeoTinTriangle t;
    {
        // A plane is only set by CreatePlaneForm; a loaded record carries it.
        CMemFile f;
        CArchive ar(&f, CArchive::store);
        CGeoTinTriangle src;
        src.CGeoVectorObject::Serialize(ar);
        ar << 1.5 << -2.25 << 3.0;
        ar.Close();
        f.SeekToBegin();
        CArchive in(&f, CArchive::load);
        t.Serialize(in);
    }
    EXPECT_EQ(t.GetA(), 1.5);
    EXPECT_EQ(t.GetB(), -2.25);
    EXPECT_EQ(t.GetC(), 3.0);
    // Stored again: the vector part, then exactly the three doubles.
    CMemFile a, b;
    {
        CArchive ar(&a, CArchive::store);
        t.Serialize(ar);
    }
    {
        CArchive ar(&b, CArchive::store);
        t.CGeoVectorObject::Serialize(ar);
        ar << 1.5 << -2.25 << 3.0;
    }
    ASSERT_EQ(a.GetLength(), b.GetLength());
    std::vector<BYTE> ba(a.GetLength()), bb(b.GetLength());
    a.SeekToBegin();
    b.SeekToBegin();
    a.Read(ba.data(), static_cast<UINT>(ba.size()));
    b.Read(bb.data(), static_cast<UINT>(bb.size()));
    EXPECT_EQ(ba, bb);
}

// A triangle in a vector layer is stored as its vector part and plane only: read back, it has no
// vertices, and drawing, hit tests and bounds must leave it be.
TEST(GeoTinTriangle, TriangleReadFromALayerFileDrawsNothingAndCrashesNothing) {
    testsupport::TempDir dir;
    CGeoMap map;
    CRect bounds(0, 0, 1000, 1000);
    CGeoVectorLayer* layer = CreateVectorLayer(&bounds, nullptr, "tin", "", 0);
    map.AddLayer(layer, -1);
    Vertices v({{0, 0}, {300, 0}, {0, 400}});
    auto* built = new CGeoTinTriangle(v[0], v[1], v[2]);
    built->SetPosition();
    layer->Add(built);
    layer->Add(new CGeoTinTriangle);
    ASSERT_EQ(map.SaveLayer(layer, CString(dir("tin").c_str())), 1);

    std::unique_ptr<CGeoLayer> back(map.LoadLayer(CString(dir("tin.LYR").c_str())));
    ASSERT_NE(back, nullptr);
    auto* loaded = static_cast<CGeoVectorLayer*>(back.get());
    ASSERT_EQ(loaded->GetObjectCount(), 2);
    CDC dc;
    dc.Attach(win32::CreateImageDC(64, 64));
    RECT clip{-100000, -100000, 100000, 100000};
    for (int attr : {0, 1, 2}) {
        tagDisplayState ds{};
        ds.m_nDisplayAttr = attr;
        loaded->Draw(&dc, &clip, 10, 10, CPoint(0, 0), ds, 0, nullptr);
        loaded->Draw(&dc, nullptr, 10, 10, CPoint(0, 0), ds, 0, nullptr);
    }
    loaded->FindObj(CRect(-10, -10, 500, 500), SELOBJ_MEET, 0);
    loaded->FindObj(CRect(-10, -10, 500, 500), SELOBJ_INSIDE, 0);
    StGeoDrawingParameter p(0.0, 0.0, 1.0, 1.0);
    for (POSITION pos = loaded->m_ObjList.GetHeadPosition(); pos;) {
        auto* t = static_cast<CGeoTinTriangle*>(loaded->m_ObjList.GetNext(pos));
        ASSERT_TRUE(t->IsKindOf(RUNTIME_CLASS(CGeoTinTriangle)));
        EXPECT_FALSE(t->HasVertices());
        const CRect before = t->GetBounds();
        t->SetPosition();
        EXPECT_EQ(t->GetBounds(), before);
        t->Draw(&dc, p);
        t->RecalcBounds();
    }
}

TEST(GeoTinTriangle, DrawingMapFollowsTheYFlag) {
    MinusYGuard guard;
    StGeoDrawingParameter p(0.0, 0.0, 1.0, 1.0);
    CGeoTinPoint::SetMinusY(1);
    tagPOINT a = p.RPToLP(CPoint(10, 20));
    EXPECT_EQ(a.x, 10);
    EXPECT_EQ(a.y, 20);
    CGeoTinPoint::SetMinusY(0);
    a = p.RPToLP(CPoint(10, 20));
    EXPECT_EQ(a.x, 10);
    EXPECT_EQ(a.y, -19);  // -19.5 truncates toward zero
    p.SetDrawingFunction(DRAWING_RASTERIZE);
    EXPECT_TRUE(p.IsRasterizing());
    EXPECT_EQ(p.SetDrawingFunction(DRAWING_OUTLINE), DRAWING_RASTERIZE);
    EXPECT_FALSE(p.IsRasterizing());
}

TEST(GeoTinTriangle, RasterisingPaintsSerialNumbers) {
    MinusYGuard guard;
    auto layer = PointLayer(RandomPoints(40, 3, 60));
    CGeoTin tin;
    CGeoVectorLayerList list;
    list.AddTail(layer.get());
    ASSERT_TRUE(tin.Create(list));
    // Flag 0 (cleared by the build): device y = y origin - y, so an origin at the top maps 0..60 to rows.
    CDC dc;
    dc.Attach(win32::CreateImageDC(64, 64));
    dc.FillSolidRect(0, 0, 64, 64, RGB(0, 0, 0));
    StGeoDrawingParameter p(0.0, 61.0, 1.0, 1.0);
    p.SetDrawingFunction(DRAWING_RASTERIZE);
    tin.Draw(&dc, p);
    std::set<COLORREF> seen;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const COLORREF c = ::GetPixel(dc.m_hDC, x, y);
            EXPECT_LE(c, static_cast<COLORREF>(tin.GetTriangleCount())) << x << "," << y;
            seen.insert(c);
        }
    // Most triangles cover at least one pixel centre of their own.
    EXPECT_GT(seen.size(), static_cast<size_t>(tin.GetTriangleCount()) / 2);
}

}  // namespace
