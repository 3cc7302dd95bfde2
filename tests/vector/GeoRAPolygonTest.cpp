// The right-angle polygon: its vertex ring follows every change of the control points; measures, hit
// tests, insertion and snapping work on the ring; completed and unfinished shapes paint differently;
// its record and conversions.
#include "LineTestSupport.h"

#include "core/VMSymbolLibIO.h"
#include "platform/quenby/SampleSymbolLib.h"
#include "vector/GeoLineType.h"
#include "vector/GeoRAPolygon.h"

#include <ostrel/PointBuffer.h>
#include <quenby/SymbolOutputer.h>
#include <win32/gdirecord.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace linetest;

namespace {

std::unique_ptr<CGeoRAPolygon> RA(const Pts& pts) {
    return std::make_unique<CGeoRAPolygon>(static_cast<int>(pts.size()), pts.empty() ? nullptr : pts.data(), TRUE);
}

Pts VerticesOf(const CGeoRAPolygon& ra) {
    const POINT* v = ra.GetVertices();
    return v ? Pts(v, v + ra.GetVertexCount()) : Pts();
}

// Four control points: the outline runs (50,0) (100,0) (100,50) (0,50) (0,0) and closes along y = 0.
const Pts kControls = {{50, 0}, {100, 0}, {100, 50}, {0, 80}};
const Pts kRing = {{50, 0}, {100, 0}, {100, 50}, {0, 50}, {0, 0}};

TEST(GeoRAPolygon, TheVertexRingFollowsEveryChangeOfTheControlPoints) {
    auto ra = RA(kControls);
    EXPECT_EQ(ra->GetPoints(), 4);
    EXPECT_TRUE(SamePoints(VerticesOf(*ra), kRing));
    EXPECT_EQ(ra->GetBounds(), CRect(0, 0, 100, 50));  // the ring's, not the control points'
    EXPECT_DOUBLE_EQ(ra->Length(), 300.0);
    EXPECT_DOUBLE_EQ(ra->Area(), 5000.0);

    ra->MovePointTo(3, POINT{70, 80});
    EXPECT_TRUE(SamePoints(VerticesOf(*ra), {{50, 0}, {100, 0}, {100, 50}, {70, 50}, {70, 0}}));
    ra->DeletePoint(3);  // three control points: the ring closes through control point 0 again
    EXPECT_TRUE(SamePoints(VerticesOf(*ra), {{50, 0}, {100, 0}, {100, 50}, {50, 50}, {50, 0}}));
    EXPECT_EQ(ra->GetBounds(), CRect(50, 0, 100, 50));
    ra->Move(CSize(5, -5));
    EXPECT_TRUE(SamePoints(VerticesOf(*ra), {{55, -5}, {105, -5}, {105, 45}, {55, 45}, {55, -5}}));
    EXPECT_EQ(ra->GetBounds(), CRect(55, -5, 105, 45));
    ra->DoRotateCCW(180.0, CPoint(55, -5));
    EXPECT_EQ(ra->GetBounds(), CRect(5, -55, 55, -5));

    // Built point by point while digitising.
    CGeoRAPolygon drawn;
    for (const POINT& p : kControls) drawn.AddPoint(p);
    EXPECT_TRUE(SamePoints(VerticesOf(drawn), kRing));
    EXPECT_EQ(drawn.GetBounds(), CRect(0, 0, 100, 50));
    // A copy rebuilds its own ring; the ring never outgrows twice the control points.
    CGeoRAPolygon copy(drawn, 0, 1);
    EXPECT_TRUE(SamePoints(VerticesOf(copy), kRing));
    for (int n = 1; n <= 9; ++n) {
        Pts zig;
        for (int i = 0; i < n; ++i) zig.push_back(POINT{i * 10, (i % 2) * 10 + i});
        EXPECT_LE(RA(zig)->GetVertexCount(), 2 * n) << n;
    }
    // A change of unit converts the control points and rebuilds the ring from them.
    auto metres = RA({{0, 0}, {2, 0}, {2, 1}});
    metres->SetUnit(6);
    metres->ChangeUnit(3);
    EXPECT_TRUE(SamePoints(VerticesOf(*metres), {{0, 0}, {2000, 0}, {2000, 1000}, {0, 1000}, {0, 0}}));
    EXPECT_EQ(RA({})->GetVertexCount(), 0);
    EXPECT_EQ(RA({})->Length(), 0.0);
}

TEST(GeoRAPolygon, RecordHoldsTheControlPointsAndLoadingRebuildsTheRing) {
    auto ra = RA(kControls);
    ra->SetFace(1);
    CObject* obj = nullptr;
    Load(Store([&](CArchive& ar) { ar << static_cast<CObject*>(ra.get()); }), [&](CArchive& ar) { ar >> obj; });
    std::unique_ptr<CObject> owned(obj);
    ASSERT_TRUE(obj && obj->GetRuntimeClass() == RUNTIME_CLASS(CGeoRAPolygon));
    auto* back = static_cast<CGeoRAPolygon*>(obj);
    EXPECT_TRUE(SamePoints(PointsOf(*back), kControls));
    EXPECT_TRUE(SamePoints(VerticesOf(*back), kRing));
    EXPECT_EQ(back->IsFace(), 1);
    EXPECT_EQ(back->GetObjectTypeName(), CString("直角多边形面"));
    std::unique_ptr<CGeoObject> dup(back->Duplicate(0, 1));
    ASSERT_TRUE(dup && dup->GetRuntimeClass() == RUNTIME_CLASS(CGeoRAPolygon));
    EXPECT_TRUE(SamePoints(VerticesOf(static_cast<CGeoRAPolygon&>(*dup)), kRing));
}

TEST(GeoRAPolygon, HitTestsAnswerVertexIndexesOfTheRing) {
    auto ra = RA(kControls);
    EXPECT_EQ(ra->PointOnLine(POINT{70, 49}), 2);  // side (100,50)-(0,50)
    EXPECT_EQ(ra->PointOnLine(POINT{1, 25}), 3);   // side (0,50)-(0,0): no control point on it
    EXPECT_EQ(ra->PointOnLine(POINT{20, 1}), 4);   // the closing side back to vertex 0
    EXPECT_EQ(ra->PointOnLine(POINT{20, 30}), -1);
    EXPECT_EQ(ra->PointOnLine(POINT{0, 80}), -1);  // a control point, but off the ring and the bounds
    EXPECT_EQ(ra->PointOnLine(POINT{2, 25}, 3), 3);
    EXPECT_EQ(ra->PointOnLine(POINT{20, 2}, 3), 4);
    EXPECT_EQ(ra->PointOnLine(POINT{20, 20}, 3), -1);

    EXPECT_EQ(ra->Through(CRect(-10, 20, 10, 30)), 1);
    EXPECT_EQ(ra->Through(CRect(10, -5, 20, 5)), 1);  // the closing side
    EXPECT_EQ(ra->Through(CRect(20, 10, 90, 40)), 0);
    // Two control points: an open pair of vertices, no closing side of its own.
    auto pair = RA({{0, 0}, {100, 0}});
    EXPECT_EQ(pair->Through(CRect(40, -5, 60, 5)), 1);
    auto dot = RA({{5, 5}});
    EXPECT_EQ(dot->PointOnLine(POINT{5, 5}), 0);
    EXPECT_EQ(dot->PointOnLine(POINT{5, 5}, 2), 0);
    EXPECT_EQ(dot->PointOnLine(POINT{6, 5}, 2), -1);  // the bounds are not grown by the tolerance
    EXPECT_EQ(dot->Through(CRect(0, 0, 5, 5)), 0);  // right and bottom edges are outside
    EXPECT_EQ(RA({})->PointOnLine(POINT{0, 0}), -1);
    EXPECT_EQ(RA({})->Through(CRect(-5, -5, 5, 5)), 0);
}

TEST(GeoRAPolygon, InsertsTheFootAsAControlPointAfterTheRightOne) {
    struct Case {
        const char* what;
        POINT click;
        int result;
        Pts controls;
    };
    const Case cases[] = {
        {"a side starting at a control point", {70, 48}, 1, {{50, 0}, {100, 0}, {100, 50}, {70, 50}, {0, 80}}},
        {"a side between two derived corners", {2, 25}, 1, {{50, 0}, {100, 0}, {100, 50}, {0, 25}, {0, 80}}},
        {"the closing side, ending at control point 0", {20, 2}, 1, {{50, 0}, {100, 0}, {100, 50}, {0, 80}, {20, 0}}},
        {"on a handle", {99, 1}, 0, kControls},
        {"inside", {70, 25}, 0, kControls},
    };
    for (const Case& c : cases) {
        auto ra = RA(kControls);
        EXPECT_EQ(ra->InsertPoint(c.click, 10), c.result) << c.what;
        EXPECT_TRUE(SamePoints(PointsOf(*ra), c.controls)) << c.what;
    }
    // A side from a derived corner to control point 3 (the ring (0,0) (100,0) (100,100) (0,100)): the
    // new point goes after control point 2, before the one the side ends at.
    auto ra = RA({{0, 0}, {100, 0}, {50, 100}, {0, 100}});
    ASSERT_TRUE(SamePoints(VerticesOf(*ra), {{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}}));
    EXPECT_EQ(ra->InsertPoint(POINT{80, 98}, 10), 1);
    EXPECT_TRUE(SamePoints(PointsOf(*ra), {{0, 0}, {100, 0}, {50, 100}, {80, 100}, {0, 100}}));
}

TEST(GeoRAPolygon, SnapsToTheOpenRingOfVertices) {
    auto ra = RA(kControls);
    CPoint p;
    int index = -1;
    EXPECT_EQ(ra->GetSnapPointA(p, CRect(-2, 48, 2, 52), index, SNAP_VERTEX, 0), 1);
    EXPECT_EQ(p, CPoint(0, 50));
    EXPECT_EQ(index, 3);
    EXPECT_EQ(ra->GetSnapPointA(p, CRect(40, 45, 60, 55), index, SNAP_MIDPOINT, 0), 1);
    EXPECT_EQ(p, CPoint(50, 50));
    // The closing side is not part of the snapping ring.
    EXPECT_EQ(ra->GetSnapPointA(p, CRect(23, -2, 27, 2), index, SNAP_MIDPOINT, 0), 0);
    EXPECT_EQ(ra->GetSnapPointA(p, CRect(-1, -1, 1, 1), index, SNAP_ENDPOINT, 0), 0);
}

TEST(GeoRAPolygon, ConvertsItsRingToAPolylineAndAPolygonLine) {
    auto ra = RA(kControls);
    ra->SetUnit(6);
    ra->SetFace(1);
    std::unique_ptr<CGeoLine> line(ra->ConvertTo(GLT_TYPE(GLT_PLINE, 0), 0));
    ASSERT_TRUE(line && line->GetRuntimeClass() == RUNTIME_CLASS(CGeoPLine));
    EXPECT_TRUE(SamePoints(PointsOf(static_cast<CGeoPLine&>(*line)),
                           {{0, 0}, {100, 0}, {100, 50}, {0, 50}, {0, 0}}));  // one corner at both ends
    EXPECT_EQ(line->GetUnit(), 6);
    std::unique_ptr<CGeoLine> ring(ra->ConvertTo(GLT_TYPE(GLT_POLYGONLINE, 0), 0));
    ASSERT_TRUE(ring && ring->GetRuntimeClass() == RUNTIME_CLASS(CGeoPolygonLine));
    EXPECT_TRUE(SamePoints(PointsOf(static_cast<CGeoPLine&>(*ring)), {{100, 0}, {100, 50}, {0, 50}, {0, 0}}));
    EXPECT_EQ(static_cast<CGeoPolygonLine&>(*ring).IsFace(), 1);
    EXPECT_EQ(ring->GetUnit(), 6);
    EXPECT_EQ(ra->ConvertTo(GLT_TYPE(GLT_RAPOLYGON, 0), 0), nullptr);
}

// ---- painters ----

class GeoRAPolygonDraw : public ::testing::Test {
protected:
    void SetUp() override {
        m_dc.Attach(win32::CreateRecordingDC(400, 400));
        m_view.m_crLineColor = 0x0000FF;
        m_view.m_crFillColor = 0x00FF00;
        m_view.m_nLineShape = PS_ENDCAP_FLAT;
        m_view.m_fLineWidth = 3.0f;
        m_view.m_nFillShape = 0;
        m_view.m_bTransparent = 1;
    }
    void TearDown() override { EXPECT_EQ(GetFXPointBufferDepth(), 0); }
    std::vector<win32::GdiRecord> Draw(CGeoRAPolygon& ra, int xorMode = 0) {
        win32::ClearRecording(m_dc.m_hDC);
        ra.OnDrawWithoutSymbolization(&m_dc, 10, 10, CPoint(0, -300), CPoint(0, 0), m_view, nullptr, xorMode, 0, 1);
        return win32::GetRecording(m_dc.m_hDC);
    }

    CDC m_dc;
    GEOVIEW m_view;
};

TEST_F(GeoRAPolygonDraw, ACompletedFaceIsAPolygonOfTheRingAndAnUnfinishedShapeAnOpenChain) {
    auto ra = RA(kControls);
    ra->SetFace(1);
    auto all = Draw(*ra);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].call, "Polygon");
    EXPECT_TRUE(SamePoints(all[0].points, {{50, 300}, {100, 300}, {100, 250}, {0, 250}, {0, 300}}));
    EXPECT_EQ(all[0].pen.lopnStyle, static_cast<UINT>(PS_SOLID));  // never a geometric pen
    EXPECT_EQ(all[0].pen.lopnWidth.x, 3);
    EXPECT_EQ(all[0].brush.lbStyle, static_cast<UINT>(BS_SOLID));
    EXPECT_EQ(all[0].rop2, R2_MASKPEN);  // transparent face
    EXPECT_EQ(all[0].bkMode, TRANSPARENT);
    EXPECT_EQ(m_dc.GetROP2(), R2_COPYPEN);

    // While digitising: the vertices without the last one, and no transparency.
    ra->Complete(0);
    all = Draw(*ra);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].call, "Polyline");
    EXPECT_TRUE(SamePoints(all[0].points, {{50, 300}, {100, 300}, {100, 250}, {0, 250}}));
    EXPECT_EQ(all[0].rop2, R2_COPYPEN);
    EXPECT_EQ(all[0].bkMode, OPAQUE);
    auto pair = RA({{0, 0}, {100, 0}});
    pair->Complete(0);
    all = Draw(*pair, 1);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].points.size(), 2u);
    EXPECT_EQ(all[0].rop2, R2_NOTXORPEN);
    auto dot = RA({{5, 5}});
    dot->Complete(0);
    EXPECT_TRUE(Draw(*dot).empty());
    EXPECT_TRUE(Draw(*RA({})).empty());
}

TEST(GeoRAPolygonOutput, CompletedShapesCloseTheRingUnfinishedOnesLeaveTheLastVertexOut) {
    class CKeep : public CSymbolOutputer {
    public:
        LONG OutputPolyLine(const POINT* p, LONG n, DWORD, DWORD, DWORD, BYTE, const RECT*, void*) override {
            lines.emplace_back(p, p + n);
            return 0;
        }
        std::vector<Pts> lines;
    };
    CVMSymbolLibIO lib;
    quenbytest::AddSampleSymbols(lib);
    GEOVIEW view;
    view.SetSymbol(SYMBOL_LINE, 11);
    CCoordsConverter converter(1000, 1000, 0);
    auto ra = RA(kControls);
    CKeep done;
    EXPECT_EQ(ra->OnSymbolizeOutput(&lib, &done, &converter, &view), 1);
    ASSERT_EQ(done.lines.size(), 1u);
    EXPECT_TRUE(SamePoints(done.lines[0], {{50, 0}, {100, 0}, {100, 50}, {0, 50}, {0, 0}, {50, 0}}));
    ra->Complete(0);
    CKeep open;
    EXPECT_EQ(ra->OnSymbolizeOutput(&lib, &open, &converter, &view), 1);
    ASSERT_EQ(open.lines.size(), 1u);
    EXPECT_TRUE(SamePoints(open.lines[0], {{50, 0}, {100, 0}, {100, 50}, {0, 50}}));
    // A completed face needs a fill symbol; an unfinished face is still drawn with the line symbol.
    ra->SetFace(1);
    EXPECT_EQ(ra->OnSymbolizeOutput(&lib, &open, &converter, &view), 1);
    ra->Complete(1);
    EXPECT_EQ(ra->OnSymbolizeOutput(&lib, &open, &converter, &view), 0);
    EXPECT_EQ(GetFXPointBufferDepth(), 0);
}

}  // namespace
