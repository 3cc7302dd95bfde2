// Topological polygons on screen and under the mouse: style borrowed from the label point, filling
// without outline, symbol drawing with the label point's attributes, handles over all rings, dragging
// a shared vertex through every arc and polygon, moving and selection by rectangle.
#include "vector/GeoPolygon.h"

#include "LineTestSupport.h"
#include "core/GeoSettings.h"
#include "core/GeoVectorLayer.h"
#include "core/VMSymbolLibIO.h"
#include "platform/quenby/SampleSymbolLib.h"
#include "vector/GeoLabelPoint.h"

#include <ostrel/PointBuffer.h>
#include <quenby/SymbolOutputer.h>
#include <win32/gdirecord.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace linetest;

namespace {

using Records = std::vector<win32::GdiRecord>;

struct UseDataGuard {
    int saved = GetUseData();
    ~UseDataGuard() { SetUseData(saved); }
};

// Two squares sharing arc S (ID 1), which has an inner vertex at (100,50); L (2) closes the left one,
// R (3) the right one; H (4) is a hole in the left square; T (5) is a line of no polygon that passes
// through the node (100,100).
struct Squares {
    CGeoVectorLayer layer{CRect(0, 0, 1000, 1000)};
    CGeoPLine* S = Arc({{100, 0}, {100, 50}, {100, 100}});
    CGeoPLine* L = Arc({{100, 100}, {0, 100}, {0, 0}, {100, 0}});
    CGeoPLine* R = Arc({{100, 0}, {200, 0}, {200, 100}, {100, 100}});
    CGeoPLine* H = Arc({{20, 20}, {40, 20}, {40, 40}, {20, 40}, {20, 20}});
    CGeoPLine* T = Arc({{50, 150}, {100, 100}, {150, 150}});
    CGeoPolygon* left = Polygon({1, 2, POLYGON_RING_END, 4, POLYGON_RING_END});
    CGeoPolygon* right = Polygon({3, -1, POLYGON_RING_END});

    CGeoPLine* Arc(const Pts& pts) {
        CGeoPLine* line = MakeLine(pts);
        EXPECT_TRUE(layer.Add(line));
        return line;
    }
    CGeoPolygon* Polygon(std::initializer_list<LONG> keys) {
        CGeoPolygon* polygon = new CGeoPolygon;
        EXPECT_TRUE(layer.Add(polygon));
        CGeoKeyString k;
        for (LONG v : keys) k.Add(v);
        polygon->SetKeyString(k);
        return polygon;
    }
    CGeoLabelPoint* Label(CGeoPolygon* polygon, POINT at) {
        CGeoLabelPoint* label = new CGeoLabelPoint(at);
        EXPECT_TRUE(layer.Add(label));
        polygon->SetLabelPoint(label);
        return label;
    }
};

Pts HandlesOf(const CGeoPolygon& polygon) {
    Pts out;
    for (int i = 1; i <= polygon.GetHandleCount(); ++i) out.push_back(polygon.GetHandle(i));
    return out;
}

}  // namespace

TEST(GeoPolygonStyle, ViewComesFromTheLabelPointOrTheDefaults) {
    Squares m;
    GEOVIEW view = GetDefaultGEOVIEW();
    view.m_crPointColor = 0x111111;
    tagDisplayState ds{};
    EXPECT_EQ(m.left->OnGetGeoViewBegin(view, ds), 0);
    EXPECT_EQ(view.m_nFillShape, GetDefaultPolygonFillShape());
    EXPECT_EQ(view.m_crFillColor, GetDefaultPolygonFillColor());
    EXPECT_EQ(view.m_nLineShape, GetDefaultPolygonBorderLineShape());
    EXPECT_EQ(view.m_crLineColor, GetDefaultPolygonBorderLineColor());
    EXPECT_EQ(view.m_bTransparent, IsDefaultPolygonTransparent());
    EXPECT_EQ(view.m_crPointColor, 0x111111u) << "the rest of the view stays";

    CGeoLabelPoint* label = m.Label(m.left, POINT{50, 50});
    GEOVIEW own = GetDefaultGEOVIEW();
    own.m_crFillColor = 0x00ABCD;
    label->SetGeoView(own);
    GEOVIEW layerView = GetDefaultGEOVIEW();
    layerView.m_crFillColor = 0x0000EE;
    m.layer.SetGeoView(layerView);
    struct Case {
        int attr;
        int result;
        COLORREF fill;
    } cases[] = {{0, 0, 0x0000EE}, {2, 0, 0x00ABCD}, {3, 0, 0x00ABCD}, {4, -1, 0x777777}, {9, 0, 0x777777}};
    for (const Case& c : cases) {
        GEOVIEW v = GetDefaultGEOVIEW();
        v.m_crFillColor = 0x777777;
        ds.m_nDisplayAttr = c.attr;
        EXPECT_EQ(m.left->OnGetGeoViewBegin(v, ds), c.result) << c.attr;
        EXPECT_EQ(v.m_crFillColor, c.fill) << c.attr;
    }
    EXPECT_TRUE(m.left->IsADInitilized()) << "the attribute style is cached in the polygon";

    // The class and symbol attributes are the label point's too.
    label->SetObjectClassID(8);
    m.left->SetObjectClassID(2);
    EXPECT_EQ(m.left->GetObjectClassID(), 8u);
    m.left->SetSymbolAttributeMark(4, 1);
    EXPECT_EQ(label->GetSymbolAttribute(static_cast<CSymbolLibIO*>(nullptr)).GetAttribMask(), 0x04);

    // A label-point ID whose point is gone: the general resolution goes on.
    m.layer.Delete(label, 0);
    delete label;
    GEOVIEW v;
    EXPECT_EQ(m.left->OnGetGeoViewBegin(v, ds), 0) << "Delete unlinked the polygon: defaults again";
}

TEST(GeoPolygonStyle, ShowStatesAdjustFillAndLine) {
    struct Case {
        SHOWSTATE state;
        int fillShape;
        COLORREF fill, line;
        float width;
    } cases[] = {
        {SHOWSTATE_0, 0, 0x123456, 0, 0.0f},
        {SHOWSTATE_1, 0, 0x123456, 0x0000FF, 5.0f},
        {SHOWSTATE_2, 4, 0, 0xABCDEF, 2.0f},
        {SHOWSTATE_3, 4, 0x00FF00, 0xABCDEF, 2.0f},
    };
    CGeoPolygon polygon;
    for (const Case& c : cases) {
        GEOVIEW v = GetDefaultGEOVIEW();
        v.m_nFillShape = 9;
        v.m_crFillColor = 0x123456;
        v.m_crLineColor = 0xABCDEF;
        v.m_fLineWidth = 2.0f;
        polygon.OnPrepareGeoView(v, c.state);
        EXPECT_EQ(v.m_nFillShape, c.fillShape) << c.state;
        EXPECT_EQ(v.m_crFillColor, c.fill) << c.state;
        EXPECT_EQ(v.m_crLineColor, c.line) << c.state;
        EXPECT_EQ(v.m_fLineWidth, c.width) << c.state;
    }
}

class GeoPolygonDraw : public ::testing::Test {
protected:
    void SetUp() override {
        m_dc.Attach(win32::CreateRecordingDC(400, 400));
        m_view.m_crFillColor = 0x00FF00;
        m_view.m_nFillShape = 0;
        m_view.m_bTransparent = 0;
        m_lib.reset(new CVMSymbolLibIO);
        quenbytest::AddSampleSymbols(*m_lib);
    }
    void TearDown() override { EXPECT_EQ(GetFXPointBufferDepth(), 0); }
    Records All() const { return win32::GetRecording(m_dc.m_hDC); }

    CDC m_dc;
    GEOVIEW m_view = GetDefaultGEOVIEW();
    std::unique_ptr<CSymbolLibIO> m_lib;
    UseDataGuard m_guard;
};

TEST_F(GeoPolygonDraw, RingsFillWithoutOutlineInOneCall) {
    for (int flag : {1, 0}) {
        SetUseData(flag);
        Squares m;
        win32::ClearRecording(m_dc.m_hDC);
        m.left->OnDrawWithoutSymbolization(&m_dc, 10, 10, CPoint(0, -300), CPoint(0, 0), m_view, nullptr, 0, 0, 1);
        m.right->OnDrawWithoutSymbolization(&m_dc, 10, 10, CPoint(0, -300), CPoint(0, 0), m_view, nullptr, 1, 0, 1);
        Records all = All();
        ASSERT_EQ(all.size(), 2u) << flag;
        EXPECT_EQ(all[0].call, "PolyPolygon");
        EXPECT_EQ(all[0].counts, (std::vector<int>{7, 5})) << "the hole is a second polygon";
        EXPECT_EQ(all[0].polyFillMode, ALTERNATE);
        EXPECT_EQ(all[0].pen.lopnStyle, static_cast<UINT>(PS_NULL));
        EXPECT_EQ(all[0].brush.lbStyle, static_cast<UINT>(BS_SOLID));
        EXPECT_EQ(all[0].brush.lbColor, 0x00FF00u);
        EXPECT_EQ(all[0].rop2, R2_COPYPEN);
        EXPECT_EQ(all[1].call, "Polygon");
        EXPECT_EQ(all[1].points.size(), 7u);
        EXPECT_EQ(all[1].points[1].x, 200);
        EXPECT_EQ(all[1].points[1].y, 300);
        EXPECT_EQ(all[1].rop2, R2_NOTXORPEN);
        EXPECT_EQ(m_dc.GetROP2(), R2_COPYPEN);
    }
    // Transparent: masked and on a transparent background.
    Squares m;
    m_view.m_bTransparent = 1;
    win32::ClearRecording(m_dc.m_hDC);
    m.right->OnDrawWithoutSymbolization(&m_dc, 10, 10, CPoint(0, -300), CPoint(0, 0), m_view, nullptr, 0, 0, 1);
    Records all = All();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].rop2, R2_MASKPEN);
    EXPECT_EQ(all[0].bkMode, TRANSPARENT);
}

TEST_F(GeoPolygonDraw, SymbolDrawsWithTheLabelPointsAttributesAndLeavesItsMask) {
    Squares m;
    CGeoLabelPoint* label = m.Label(m.right, POINT{150, 50});
    label->SetSymbolAttributeMark(4, 1);
    const WORD mask = label->GetSymbolAttribute(static_cast<CSymbolLibIO*>(nullptr)).GetAttribMask();
    m_view.SetSymbol(SYMBOL_FILL, 21);  // a hatch with a border
    m_view.m_crFillColor = 0x123456;
    m.right->OnDrawWithSymbolization(&m_dc, 10, 10, CPoint(0, -300), CPoint(0, 0), m_view, nullptr, 0, 0, m_lib.get(), 0);
    Records all = All();
    ASSERT_FALSE(all.empty());
    EXPECT_EQ(all[0].call, "PolyPolygon");
    EXPECT_EQ(all[0].brush.lbColor, 0x123456u) << "the symbol takes the style's fill colour";
    EXPECT_EQ(label->GetSymbolAttribute(static_cast<CSymbolLibIO*>(nullptr)).GetAttribMask(), mask);
    EXPECT_EQ(m.right->CGeoVectorObject::GetSymbolAttribute(static_cast<CSymbolLibIO*>(nullptr)).GetAttribMask(), 0);

    // An unknown symbol falls back to filling.
    m_view.SetSymbol(SYMBOL_FILL, 99);
    win32::ClearRecording(m_dc.m_hDC);
    m.right->OnDrawWithSymbolization(&m_dc, 10, 10, CPoint(0, -300), CPoint(0, 0), m_view, nullptr, 0, 0, m_lib.get(), 0);
    all = All();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].call, "Polygon");
    EXPECT_EQ(all[0].pen.lopnStyle, static_cast<UINT>(PS_NULL));
}

TEST_F(GeoPolygonDraw, OutputGoesThroughTheFillSymbolInMillimetres) {
    class CKeep : public CSymbolOutputer {
    public:
        LONG OutputPolyLine(const POINT* p, LONG n, DWORD, DWORD, DWORD, BYTE, const RECT*, void*) override {
            for (LONG i = 0; i < n; ++i) pts.push_back(p[i]);
            return 0;
        }
        LONG OutputPolygon(const POINT* p, LONG n, DWORD, DWORD, DWORD, DWORD, BYTE, BYTE, const RECT*, void*) override {
            for (LONG i = 0; i < n; ++i) pts.push_back(p[i]);
            return 0;
        }
        Pts pts;
    } out;
    Squares m;
    m.right->SetUnit(4);  // centimetres: every output point is ten times the ring point
    CGeoLabelPoint* label = m.Label(m.right, POINT{150, 50});
    const WORD mask = label->GetSymbolAttribute(static_cast<CSymbolLibIO*>(nullptr)).GetAttribMask();
    GEOVIEW view = GetDefaultGEOVIEW();
    CCoordsConverter converter(1000, 1000, 0);
    EXPECT_EQ(m.right->OnSymbolizeOutput(m_lib.get(), &out, &converter, &view), 0) << "no fill symbol";
    EXPECT_EQ(m.right->OnSymbolizeOutput(m_lib.get(), nullptr, &converter, &view), 0);
    view.SetSymbol(SYMBOL_FILL, 21);
    EXPECT_EQ(m.right->OnSymbolizeOutput(m_lib.get(), &out, &converter, &view), 1);
    ASSERT_FALSE(out.pts.empty());
    bool corner = false;
    for (const POINT& p : out.pts) {
        EXPECT_TRUE(p.x >= 1000 && p.x <= 2000 && p.y >= 0 && p.y <= 1000) << p.x << "," << p.y;
        corner |= p.x == 2000 && p.y == 1000;
    }
    EXPECT_TRUE(corner);
    EXPECT_EQ(label->GetSymbolAttribute(static_cast<CSymbolLibIO*>(nullptr)).GetAttribMask(), mask);
}

TEST(GeoPolygonEdit, HandlesAreTheRingPointsOfEveryRing) {
    UseDataGuard guard;
    SetUseData(1);
    Squares m;
    EXPECT_EQ(m.left->GetHandleCount(), 12);
    EXPECT_TRUE(SamePoints(HandlesOf(*m.right),
                           {{100, 0}, {200, 0}, {200, 100}, {100, 100}, {100, 100}, {100, 50}, {100, 0}}));
    EXPECT_EQ(m.right->GetHandle(0), CPoint(0, 0));
    EXPECT_EQ(m.right->GetHandle(8), CPoint(0, 0));
    EXPECT_EQ(m.right->CanMoveHandle(1), 1);
    EXPECT_EQ(m.right->CanDeleteHandle(1), 0);
    EXPECT_EQ(m.right->CanAddHandle(1), 0);
}

TEST(GeoPolygonEdit, DraggingANodeMovesItInEveryArcAndPolygon) {
    UseDataGuard guard;
    for (int flag : {1, 0}) {
        SetUseData(flag);
        Squares m;
        // Handle 4 of the right polygon is the node (100,100) where S, L, R and the loose line T meet.
        ASSERT_EQ(m.right->GetHandle(4), CPoint(100, 100));
        m.right->MoveHandleTo(4, CPoint(120, 130));
        EXPECT_TRUE(SamePoints(PointsOf(*m.S), {{100, 0}, {100, 50}, {120, 130}})) << flag;
        EXPECT_TRUE(SamePoints(PointsOf(*m.L), {{120, 130}, {0, 100}, {0, 0}, {100, 0}})) << flag;
        EXPECT_TRUE(SamePoints(PointsOf(*m.R), {{100, 0}, {200, 0}, {200, 100}, {120, 130}})) << flag;
        EXPECT_TRUE(SamePoints(PointsOf(*m.T), {{50, 150}, {120, 130}, {150, 150}})) << flag;
        EXPECT_EQ(m.left->GetBounds(), CRect(0, 0, 120, 130)) << flag;
        EXPECT_EQ(m.right->GetBounds(), CRect(100, 0, 200, 130)) << flag;
        // The polygons draw from their rings at once.
        EXPECT_EQ(m.left->GetHandle(1), CPoint(100, 0));
        EXPECT_EQ(m.left->GetHandle(3), CPoint(120, 130)) << flag;
        EXPECT_EQ(m.left->GetHandle(4), CPoint(120, 130)) << flag;
    }
}

TEST(GeoPolygonEdit, DraggingAnInnerVertexMovesItOnceInItsArc) {
    UseDataGuard guard;
    SetUseData(0);
    Squares m;
    ASSERT_EQ(m.left->GetHandle(2), CPoint(100, 50));
    m.left->MoveHandleTo(2, CPoint(130, 50));
    EXPECT_TRUE(SamePoints(PointsOf(*m.S), {{100, 0}, {130, 50}, {100, 100}}));
    EXPECT_EQ(m.left->GetBounds(), CRect(0, 0, 130, 100));
    EXPECT_EQ(m.right->GetBounds(), CRect(100, 0, 200, 100));
    EXPECT_EQ(m.right->GetHandle(6), CPoint(130, 50));

    // Not editable: nothing moves.
    m.layer.Editable(0);
    m.left->MoveHandleTo(2, CPoint(150, 50));
    EXPECT_EQ(m.S->GetPoint(1), CPoint(130, 50));
}

TEST(GeoPolygonEdit, MoveShiftsOnlyTheCachedRingsAndBounds) {
    UseDataGuard guard;
    SetUseData(1);
    Squares m;
    m.right->Move(CSize(5, 7));
    EXPECT_EQ(m.right->GetBounds(), CRect(105, 7, 205, 107));
    EXPECT_EQ(m.right->GetHandle(2), CPoint(205, 7));
    EXPECT_EQ(m.R->GetPoint(1), CPoint(200, 0)) << "arcs move as objects of the layer";

    SetUseData(0);
    m.left->Move(CSize(5, 7));
    EXPECT_EQ(m.left->GetBounds(), CRect(0, 0, 100, 100)) << "nothing moves without a cache";
}

TEST(GeoPolygonEdit, RectangleSelectionRespectsHoles) {
    UseDataGuard guard;
    SetUseData(1);
    Squares m;
    struct Case {
        CRect rect;
        SELOBJMODE mode;
        int hit;
    } cases[] = {
        {CRect(60, -10, 70, 120), SELOBJ_MEET, 1},  // spans the whole height
        {CRect(60, 60, 70, 70), SELOBJ_MEET, 1},    // inside the outer ring
        {CRect(25, 25, 35, 35), SELOBJ_MEET, 0},    // inside the hole
        {CRect(30, 30, 50, 50), SELOBJ_MEET, 1},    // partly in the hole, partly on the filled ring
        {CRect(10, 10, 50, 50), SELOBJ_MEET, 1},    // the hole and filled area all round it
        {CRect(20, 20, 40, 40), SELOBJ_MEET, 1},    // exactly the hole: its edges are filled boundary
        {CRect(300, 300, 310, 310), SELOBJ_MEET, 0},
        {CRect(-1, -1, 101, 101), SELOBJ_INSIDE, 1},
        {CRect(10, 10, 90, 90), SELOBJ_INSIDE, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(m.left->Intersects(c.rect, c.mode), c.hit) << c.rect.left << "," << c.rect.top;
}
