// The polygon line: the ring and its closing side in measures, hit tests, insertion, snapping and
// thinning; its record, copies and names; its painters on a recording device context; its conversions.
#include "LineTestSupport.h"

#include "core/GeoSettings.h"
#include "core/VMSymbolLibIO.h"
#include "platform/quenby/SampleSymbolLib.h"
#include "vector/CompressPts.h"
#include "vector/GeoLineType.h"
#include "vector/GeoPolygonLine.h"
#include "vector/GeoRAPolygon.h"

#include <ostrel/PointBuffer.h>
#include <quenby/SymbolOutputer.h>
#include <win32/gdirecord.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace linetest;

namespace {

using Records = std::vector<win32::GdiRecord>;

std::unique_ptr<CGeoPolygonLine> Ring(const Pts& pts) {
    return std::make_unique<CGeoPolygonLine>(static_cast<int>(pts.size()), pts.empty() ? nullptr : pts.data(), TRUE);
}

const Pts kSquare = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};

TEST(GeoPolygonLine, MeasuresTheRingWithItsClosingSide) {
    auto square = Ring(kSquare);
    EXPECT_EQ(square->GetPoints(), 4);
    EXPECT_DOUBLE_EQ(square->Length(), 40.0);
    EXPECT_DOUBLE_EQ(square->Area(), 100.0);
    EXPECT_EQ(square->IsCompleted(), 1);
    EXPECT_EQ(square->IsFace(), 0);
    // Below 3 points there is no ring to measure.
    EXPECT_DOUBLE_EQ(Ring({{0, 0}, {10, 0}})->Length(), 0.0);
    EXPECT_DOUBLE_EQ(Ring({})->Area(), 0.0);
}

TEST(GeoPolygonLine, HitTestsReachTheClosingSide) {
    auto square = Ring(kSquare);
    EXPECT_EQ(square->PointOnLine(POINT{0, 5}), 3);  // only the closing side passes there
    EXPECT_EQ(square->PointOnLine(POINT{5, 1}), 0);
    EXPECT_EQ(square->PointOnLine(POINT{5, 5}), -1);
    EXPECT_EQ(square->PointOnLine(POINT{-3, 5}, 4), 3);
    EXPECT_EQ(square->PointOnLine(POINT{-3, 5}, 3), -1);
    EXPECT_EQ(square->PointOnLine(POINT{9, 5}, 2), 1);

    // Through: the open sides, then the closing one; a rectangle strictly inside meets nothing.
    EXPECT_EQ(square->Through(CRect(-2, 4, 1, 6)), 1);
    EXPECT_EQ(square->Through(CRect(3, 3, 7, 7)), 0);
    EXPECT_EQ(Ring({{5, 5}})->Through(CRect(0, 0, 5, 5)), 1);  // a one-point ring: edges count
    EXPECT_EQ(Ring({})->Through(CRect(0, 0, 5, 5)), 0);
    EXPECT_EQ(Ring({})->PointOnLine(POINT{0, 0}), -1);
}

TEST(GeoPolygonLine, InsertsOnTheClosingSideAsTheNewLastPoint) {
    ASSERT_EQ(GetHandleRadius(), 7);  // 7 units at scale 10 in millimetres
    auto big = Ring({{0, 0}, {100, 0}, {100, 100}, {0, 100}});
    EXPECT_EQ(big->InsertPoint(POINT{2, 50}, 10), 1);
    EXPECT_TRUE(SamePoints(PointsOf(*big), {{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 50}}));
    EXPECT_EQ(big->InsertPoint(POINT{50, 98}, 10), 1);
    EXPECT_TRUE(SamePoints(PointsOf(*big), {{0, 0}, {100, 0}, {100, 100}, {50, 100}, {0, 100}, {0, 50}}));
    EXPECT_EQ(big->InsertPoint(POINT{3, 2}, 10), 0);    // on a vertex
    EXPECT_EQ(big->InsertPoint(POINT{50, 50}, 10), 0);  // far from every side
    EXPECT_EQ(big->GetPoints(), 6);
}

TEST(GeoPolygonLine, SnapsOnTheClosedRingButNeverToAnEndPoint) {
    auto square = Ring(kSquare);
    CPoint p;
    int index = -1;
    EXPECT_EQ(square->GetSnapPointA(p, CRect(-1, -1, 1, 1), index, SNAP_ENDPOINT, 0), 0);
    EXPECT_EQ(square->GetSnapPointA(p, CRect(-2, 3, 2, 7), index, SNAP_MIDPOINT, 0), 1);
    EXPECT_EQ(p, CPoint(0, 5));  // the midpoint of the closing side
    EXPECT_EQ(index, 3);
    EXPECT_EQ(square->GetSnapPointA(p, CRect(9, 9, 11, 11), index, SNAP_VERTEX, 0), 1);
    EXPECT_EQ(p, CPoint(10, 10));
    EXPECT_EQ(square->GetSnapPointA(p, CRect(-1, 6, 1, 8), index, SNAP_NEAREST, 0), 1);
    EXPECT_EQ(p, CPoint(0, 7));
    EXPECT_EQ(square->GetSnapPointA(p, CRect(-1, -1, 1, 1), index, SNAP_CENTER, 0), 0);
    EXPECT_EQ(Ring({})->GetSnapPointA(p, CRect(-1, -1, 1, 1), index, SNAP_VERTEX, 0), 0);
}

TEST(GeoPolygonLine, ThinsAsAClosedRing) {
    auto ring = Ring({{0, 0}, {50, 1}, {100, 0}, {100, 100}, {0, 100}});
    CCompressPts thinner;
    thinner.m_dDistance = 5.0;
    EXPECT_EQ(ring->Compress(thinner), 1);
    EXPECT_EQ(ring->GetPoints(), 4);
    EXPECT_EQ(ring->GetBounds(), CRect(0, 0, 100, 100));
    EXPECT_EQ(Ring({{0, 0}, {5, 5}})->Compress(thinner), 0);
}

TEST(GeoPolygonLine, RecordCopiesAndNames) {
    auto square = Ring(kSquare);
    EXPECT_EQ(square->GetObjectTypeName(), CString("多边形"));
    EXPECT_EQ(square->SetFace(1), 0);
    EXPECT_EQ(square->SetFace(1), 1);
    EXPECT_EQ(square->GetObjectTypeName(), CString("多边形面"));
    GEOVIEW view;
    view.SetSymbol(SYMBOL_LINE, 11);
    view.SetSymbol(SYMBOL_FILL, 21);
    EXPECT_EQ(square->GetObjectSymbolID(view), 21);
    EXPECT_EQ(Ring(kSquare)->GetObjectSymbolID(view), 11);

    // The record is the polyline's followed by the face flag.
    CGeoPLine asLine(4, kSquare.data(), TRUE);
    const Bytes lineBytes = Store([&](CArchive& ar) { asLine.CGeoPLine::Serialize(ar); });
    const Bytes bytes = Store([&](CArchive& ar) { square->Serialize(ar); });
    ASSERT_EQ(bytes.size(), lineBytes.size() + 4);
    EXPECT_EQ(Bytes(bytes.end() - 4, bytes.end()), Bytes({1, 0, 0, 0}));

    CObject* obj = nullptr;
    Load(Store([&](CArchive& ar) { ar << static_cast<CObject*>(square.get()); }), [&](CArchive& ar) { ar >> obj; });
    std::unique_ptr<CObject> owned(obj);
    ASSERT_TRUE(obj && obj->IsKindOf(RUNTIME_CLASS(CGeoPolygonLine)));
    auto* back = static_cast<CGeoPolygonLine*>(obj);
    EXPECT_EQ(back->IsFace(), 1);
    EXPECT_TRUE(SamePoints(PointsOf(*back), kSquare));

    CGeoPolygonLine copy(*square, 0, 1);
    EXPECT_EQ(copy.IsFace(), 1);
    EXPECT_TRUE(SamePoints(PointsOf(copy), kSquare));
    std::unique_ptr<CGeoObject> dup(square->Duplicate(0, 1));
    ASSERT_TRUE(dup && dup->IsKindOf(RUNTIME_CLASS(CGeoPolygonLine)));
    EXPECT_EQ(static_cast<CGeoPolygonLine&>(*dup).IsFace(), 1);
}

TEST(GeoPolygonLine, ConvertsToAnExplicitlyClosedPolylineAndToARightAnglePolygon) {
    auto square = Ring(kSquare);
    square->SetUnit(6);
    square->SetZ(3.5);
    square->SetFace(1);
    std::unique_ptr<CGeoLine> line(square->ConvertTo(GLT_TYPE(GLT_PLINE, 0), 0));
    ASSERT_TRUE(line && line->GetRuntimeClass() == RUNTIME_CLASS(CGeoPLine));
    EXPECT_TRUE(SamePoints(PointsOf(static_cast<CGeoPLine&>(*line)), {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}}));
    EXPECT_EQ(line->GetUnit(), 6);
    EXPECT_EQ(line->GetZ(0), 3.5);

    std::unique_ptr<CGeoLine> ra(square->ConvertTo(GLT_TYPE(GLT_RAPOLYGON, 0), 0));
    ASSERT_TRUE(ra && ra->GetRuntimeClass() == RUNTIME_CLASS(CGeoRAPolygon));
    EXPECT_EQ(static_cast<CGeoRAPolygon&>(*ra).IsFace(), 1);
    EXPECT_EQ(ra->GetUnit(), 6);
    EXPECT_TRUE(SamePoints(PointsOf(static_cast<CGeoPLine&>(*ra)), kSquare));

    EXPECT_EQ(square->ConvertTo(GLT_TYPE(GLT_POLYGONLINE, 0), 0), nullptr);
    EXPECT_TRUE(SamePoints(PointsOf(*square), kSquare));  // the source is as it was
}

// ---- painters ----

const UINT kScale = 10;
const CPoint kOrigin(0, -300);
const COLORREF kRed = 0x0000FF, kGreen = 0x00FF00;

class GeoPolygonLineDraw : public ::testing::Test {
protected:
    void SetUp() override {
        m_dc.Attach(win32::CreateRecordingDC(400, 400));
        m_ring = Ring({{10, 10}, {100, 10}, {100, 100}});
        m_view.m_crLineColor = kRed;
        m_view.m_crFillColor = kGreen;
        m_view.m_nLineShape = PS_ENDCAP_FLAT;
        m_view.m_fLineWidth = 3.0f;
        m_view.m_nFillShape = 0;
        m_view.m_bTransparent = 0;
        m_lib.reset(new CVMSymbolLibIO);
        quenbytest::AddSampleSymbols(*m_lib);
    }
    void TearDown() override { EXPECT_EQ(GetFXPointBufferDepth(), 0); }

    void Plain(int xorMode = 0) {
        m_ring->OnDrawWithoutSymbolization(&m_dc, kScale, kScale, kOrigin, CPoint(0, 0), m_view, nullptr, xorMode, 0, 1);
    }
    Records All() const { return win32::GetRecording(m_dc.m_hDC); }

    CDC m_dc;
    std::unique_ptr<CGeoPolygonLine> m_ring;
    GEOVIEW m_view;
    std::unique_ptr<CSymbolLibIO> m_lib;
};

const Pts kDevice = {{10, 290}, {100, 290}, {100, 200}};

TEST_F(GeoPolygonLineDraw, AnOutlineIsAClosedClippedPolylineWithoutBrush) {
    Plain();
    Records all = All();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].call, "Polyline");
    EXPECT_TRUE(SamePoints(all[0].points, {{10, 290}, {100, 290}, {100, 200}, {10, 290}}));
    EXPECT_EQ(all[0].brush.lbStyle, static_cast<UINT>(BS_NULL));
    EXPECT_EQ(all[0].pen.lopnStyle, static_cast<UINT>(PS_GEOMETRIC | PS_ENDCAP_FLAT));
    EXPECT_EQ(all[0].bkMode, OPAQUE);
}

TEST_F(GeoPolygonLineDraw, AFaceIsAFilledPolygonAndTheDeviceContextIsPutBack) {
    m_ring->SetFace(1);
    CPen pen(PS_DASH, 1, 0x123456);
    CBrush brush(0x654321);
    HGDIOBJ oldPen = ::SelectObject(m_dc.m_hDC, pen);
    HGDIOBJ oldBrush = ::SelectObject(m_dc.m_hDC, brush);
    m_dc.SetBkMode(TRANSPARENT);
    m_dc.SetROP2(R2_XORPEN);

    struct Case {
        const char* what;
        float width;
        int fillShape;
        int transparent;
        int xorMode;
        UINT penStyle;
        UINT brushStyle;
        int rop2;
        int bkMode;
    };
    const UINT geometric = PS_GEOMETRIC | PS_ENDCAP_FLAT;
    const Case cases[] = {
        {"solid", 3.0f, 0, 0, 0, geometric, BS_SOLID, R2_XORPEN, OPAQUE},
        {"width -1: no outline", -1.0f, 0, 0, 0, PS_NULL, BS_SOLID, R2_XORPEN, OPAQUE},
        {"hatched", 3.0f, 5, 0, 0, geometric, BS_HATCHED, R2_XORPEN, OPAQUE},
        {"transparent", 3.0f, 0, 1, 0, geometric, BS_SOLID, R2_MASKPEN, TRANSPARENT},
        {"transparent in xor", 3.0f, 0, 1, 1, geometric, BS_SOLID, R2_NOTXORPEN, TRANSPARENT},
    };
    for (const Case& c : cases) {
        m_view.m_fLineWidth = c.width;
        m_view.m_nFillShape = c.fillShape;
        m_view.m_bTransparent = c.transparent;
        win32::ClearRecording(m_dc.m_hDC);
        Plain(c.xorMode);
        Records all = All();
        ASSERT_EQ(all.size(), 1u) << c.what;
        EXPECT_EQ(all[0].call, "Polygon") << c.what;
        EXPECT_TRUE(SamePoints(all[0].points, kDevice)) << c.what;
        EXPECT_EQ(all[0].pen.lopnStyle & (PS_STYLE_MASK | PS_TYPE_MASK | PS_ENDCAP_MASK), c.penStyle) << c.what;
        EXPECT_EQ(all[0].brush.lbStyle, c.brushStyle) << c.what;
        EXPECT_EQ(all[0].brush.lbColor, kGreen) << c.what;
        if (c.brushStyle == BS_HATCHED) {
            EXPECT_EQ(all[0].brush.lbHatch, static_cast<ULONG_PTR>(HS_CROSS)) << c.what;
        }
        EXPECT_EQ(all[0].rop2, c.rop2) << c.what;
        EXPECT_EQ(all[0].bkMode, c.bkMode) << c.what;
        // Everything is the caller's again.
        EXPECT_EQ(m_dc.GetROP2(), R2_XORPEN) << c.what;
        EXPECT_EQ(m_dc.GetBkMode(), TRANSPARENT) << c.what;
        EXPECT_EQ(::GetCurrentObject(m_dc.m_hDC, OBJ_PEN), static_cast<HGDIOBJ>(pen)) << c.what;
        EXPECT_EQ(::GetCurrentObject(m_dc.m_hDC, OBJ_BRUSH), static_cast<HGDIOBJ>(brush)) << c.what;
    }
    ::SelectObject(m_dc.m_hDC, oldPen);
    ::SelectObject(m_dc.m_hDC, oldBrush);
}

TEST_F(GeoPolygonLineDraw, SymbolisedDrawingTakesTheFillSymbolForAFaceAndFallsBack) {
    m_view.SetSymbol(SYMBOL_LINE, 11);
    m_view.SetSymbol(SYMBOL_FILL, 99);  // no such symbol: the plain painter draws the face
    m_ring->SetFace(1);
    m_ring->OnDrawWithSymbolization(&m_dc, kScale, kScale, kOrigin, CPoint(0, 0), m_view, nullptr, 0, 0, m_lib.get(), 1);
    Records all = All();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].call, "Polygon");

    // An outline follows the line symbol (black dashes) along the closed ring.
    m_ring->SetFace(0);
    win32::ClearRecording(m_dc.m_hDC);
    m_ring->OnDrawWithSymbolization(&m_dc, kScale, kScale, kOrigin, CPoint(0, 0), m_view, nullptr, 0, 0, m_lib.get(), 1);
    all = All();
    ASSERT_GT(all.size(), 1u);
    bool closingSide = false;
    for (const win32::GdiRecord& r : all) {
        EXPECT_EQ(r.pen.lopnColor, 0x000000u) << r.ToString();
        for (const POINT& p : r.points) closingSide |= p.y > 200 && p.y < 290 && p.x > 10 && p.x < 100;
    }
    EXPECT_TRUE(closingSide);  // dashes on the diagonal from the last point back to the first

    // A face with a fill symbol: the symbol takes the style's fill colour unless keepColours is set.
    m_view.SetSymbol(SYMBOL_FILL, 21);  // a green hatch with a dark border
    m_view.m_crFillColor = 0x123456;
    m_ring->SetFace(1);
    win32::ClearRecording(m_dc.m_hDC);
    m_ring->OnDrawWithSymbolization(&m_dc, kScale, kScale, kOrigin, CPoint(0, 0), m_view, nullptr, 0, 0, m_lib.get(), 0);
    all = All();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].call, "PolyPolygon");
    EXPECT_TRUE(SamePoints(all[0].points, {{10, 290}, {100, 290}, {100, 200}, {10, 290}}));
    EXPECT_EQ(all[0].brush.lbColor, 0x123456u);
    EXPECT_EQ(all[1].pen.lopnColor, 0x123456u);
}

TEST_F(GeoPolygonLineDraw, SymbolisedOutputClosesTheRing) {
    class CKeep : public CSymbolOutputer {
    public:
        LONG OutputPolyLine(const POINT* p, LONG n, DWORD, DWORD, DWORD, BYTE, const RECT*, void*) override {
            for (LONG i = 0; i < n; ++i) pts.push_back(p[i]);
            return 0;
        }
        Pts pts;
    } out;
    GEOVIEW view;
    view.SetSymbol(SYMBOL_LINE, 11);
    CCoordsConverter converter(1000, 1000, 0);
    auto ring = Ring({{0, 0}, {100, 0}, {100, 100}});
    EXPECT_EQ(ring->OnSymbolizeOutput(m_lib.get(), &out, &converter, &view), 1);
    EXPECT_TRUE(SamePoints(out.pts, {{0, 0}, {100, 0}, {100, 100}, {0, 0}}));  // the ring closed explicitly
    ring->SetFace(1);  // a face needs a fill symbol
    EXPECT_EQ(ring->OnSymbolizeOutput(m_lib.get(), &out, &converter, &view), 0);
}

}  // namespace
