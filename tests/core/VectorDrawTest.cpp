// Vector objects: which style they are drawn with, how Draw, Hide and Blink reach the painting hooks,
// the dangle and false-node marks, and the editing entry points (hit test, snapping gate, mirroring).
#include "DrawTestSupport.h"

#include "core/GeoGClass.h"
#include "core/GeoSettings.h"
#include "core/GeoVectorLayer.h"

#include <gtest/gtest.h>

namespace {

constexpr COLORREF kClassColour = 0x111111, kLayerColour = 0x222222, kOwnColour = 0x333333;

GEOVIEW LineColoured(COLORREF c)
{
    GEOVIEW v;
    v.m_crLineColor = c;
    return v;
}

// A layer (top-left corner (1000, 2000)) whose style has kLayerColour and whose theme has class 1 in
// kClassColour, drawn between scales 1000 and 10000.
struct StyledLayer {
    CGeoVectorLayer layer{CRect(1000, 2000, 9000, 9000)};
    StyledLayer()
    {
        layer.SetGeoView(LineColoured(kLayerColour));
        CGeoGClass gc;
        gc.SetGCID(1);
        gc.SetGeoView(LineColoured(kClassColour));
        gc.SetMinMaxScale(1000, 10000);
        layer.m_Theme.AddGC(gc, -2);
    }
    CDrawTestBox* Add(UINT nClass, const CRect& r = CRect(10, 10, 20, 20))
    {
        CDrawTestBox* p = new CDrawTestBox(r);
        p->SetGeoView(LineColoured(kOwnColour));
        p->SetObjectClassID(nClass);
        EXPECT_TRUE(layer.Add(p));
        return p;
    }
};

// The line colour of the last drawing hook call.
COLORREF DrawnColour(CGeoVectorObject& o, tagDisplayState ds)
{
    CTestDC dc;
    DrawLog().clear();
    o.Draw(&dc, nullptr, 1000, 1000, CPoint(0, 0), CPoint(0, 0), ds, 0);
    return DrawLog().empty() ? 0xFFFFFFFF : DrawLog().back().view.m_crLineColor;
}

TEST(VectorStyle, DisplayAttributePicksTheStyle)
{
    StyledLayer s;
    CDrawTestBox* classed = s.Add(1);
    CDrawTestBox* plain = s.Add(0);
    CDrawTestBox loose;  // in no layer
    loose.SetGeoView(LineColoured(kOwnColour));
    const COLORREF untouched = 0x777777;
    struct Case {
        CGeoVectorObject* object;
        int attr;
        COLORREF expected;
    } cases[] = {
        {classed, 0, kLayerColour}, {classed, 1, kClassColour}, {classed, 2, kClassColour},
        {plain, 1, kOwnColour},     {plain, 2, kOwnColour},     {plain, 9, untouched},
        {&loose, 0, untouched},     {&loose, 2, kOwnColour},
    };
    for (const Case& c : cases) {
        GEOVIEW v = LineColoured(untouched);
        c.object->GetGeoView(v, static_cast<DISPLAYATTR>(c.attr));
        EXPECT_EQ(v.m_crLineColor, c.expected) << "attr " << c.attr;
        // Drawing resolves the same way (the drawn style starts as the own view).
        if (c.expected != untouched) {
            EXPECT_EQ(DrawnColour(*c.object, DisplayState(c.attr)), c.expected);
        }
    }
    // A symbolised layer draws every object with its own view.
    s.layer.SetLayerType(4);
    EXPECT_EQ(DrawnColour(*classed, DisplayState(2)), kOwnColour);
}

TEST(VectorStyle, MarkColoursWinAndDropTheSymbolColours)
{
    StyledLayer s;
    CDrawTestBox* p = s.Add(0);
    GEOVIEW own = LineColoured(kOwnColour);
    own.m_fLineWidth = 3.5f;
    own.SetSymbol(SYMBOL_LINE, 77);
    p->SetGeoView(own);
    p->SetMark(GEOMARK_2);

    tagDisplayState ds = DisplayState(2);
    ds.m_bShowMark = 1;
    ds.m_bSymbolized = 1;
    ds.m_bKeepSymbolColor = 1;
    CTestDC dc;
    DrawLog().clear();
    p->Draw(&dc, nullptr, 1000, 1000, CPoint(0, 0), CPoint(0, 0), ds, 0);
    ASSERT_EQ(DrawLog().size(), 1u);
    const DrawCall& c = DrawLog()[0];
    const GEOVIEW mark = GetMarkGeoView(GEOMARK_2);
    EXPECT_EQ(c.hook, "draw+sym");
    EXPECT_EQ(c.view.m_crPointColor, mark.m_crPointColor);
    EXPECT_EQ(c.view.m_crLineColor, mark.m_crLineColor);
    EXPECT_EQ(c.view.m_crFillColor, mark.m_crFillColor);
    EXPECT_EQ(c.view.m_bTransparent, mark.m_bTransparent);
    EXPECT_EQ(c.view.m_fLineWidth, 3.5f);  // only the colours change
    EXPECT_EQ(c.view.GetSymbol(SYMBOL_LINE), 77);
    EXPECT_EQ(c.keepColours, 0);

    // Without the mark switch, or without a mark, the object keeps its style and the symbol colours.
    for (int variant = 0; variant < 2; ++variant) {
        tagDisplayState d = ds;
        if (variant == 0) d.m_bShowMark = 0;
        else p->SetMark(static_cast<GEOMARK>(0));
        DrawLog().clear();
        p->Draw(&dc, nullptr, 1000, 1000, CPoint(0, 0), CPoint(0, 0), d, 0);
        ASSERT_EQ(DrawLog().size(), 1u);
        EXPECT_EQ(DrawLog()[0].view.m_crLineColor, kOwnColour);
        EXPECT_EQ(DrawLog()[0].keepColours, 1);
    }
}

TEST(VectorStyle, ElevationChartColoursContoursAndElevationPoints)
{
    StyledLayer s;
    CGeoGClass contour, spot, other;
    contour.SetGCID(201);
    spot.SetGCID(7);
    spot.ValidElevation(1);
    other.SetGCID(5);
    for (CGeoGClass* gc : {&contour, &spot, &other}) {
        gc->SetGeoView(LineColoured(kClassColour));
        s.layer.m_Theme.AddGC(*gc, -2);
    }
    CDrawTestBox* line = s.Add(201);
    CDrawTestBox* plainLine = s.Add(5);
    // The library's point class once it has one, else a box that passes for a point.
    CGeoVectorObject* point = IsStandInKind(PointKind())
                                  ? new CDrawTestKindBox(CRect(0, 0, 1, 1), PointKind())
                                  : static_cast<CGeoVectorObject*>(PointKind()->CreateObject());
    point->SetObjectClassID(7);
    ASSERT_TRUE(s.layer.Add(point));
    line->SetZ(0.0);  // elevation 0 takes chart class 7
    point->SetZ(0.0);

    const _tagELEVATIONCHART chart = GetCurrentElevationChart();
    const int onlyContour = IsOnlyContourShowElevChart(), elevPoint = IsElevPointShowElevChart();
    tagDisplayState ds = DisplayState(1);
    ds.m_bElevationChart = 1;

    OnlycontourShowElevChart(1);
    ElevPointShowElevChart(1);
    GEOVIEW v;
    line->GetGeoView(v, ds);  // a contour: line mode
    EXPECT_EQ(v.m_crLineColor, chart.m_crColor[7]);
    EXPECT_FLOAT_EQ(v.m_fLineWidth, chart.m_nWidth[7] / 10.0f);
    plainLine->GetGeoView(v, ds);  // neither contour nor point: its class style
    EXPECT_EQ(v.m_crLineColor, kClassColour);
    GEOVIEW pv;
    point->GetGeoView(pv, ds);  // an elevation point: point mode
    EXPECT_EQ(pv.m_crPointColor, chart.m_crColor[7]);
    EXPECT_EQ(pv.m_crLineColor, kClassColour);

    OnlycontourShowElevChart(0);  // every line is coloured; points still in point mode
    plainLine->GetGeoView(v, ds);
    EXPECT_EQ(v.m_crLineColor, chart.m_crColor[7]);
    point->GetGeoView(pv, ds);
    EXPECT_EQ(pv.m_crPointColor, chart.m_crColor[7]);
    ElevPointShowElevChart(0);  // the point is now coloured as a line
    point->GetGeoView(pv, ds);
    EXPECT_EQ(pv.m_crLineColor, chart.m_crColor[7]);

    OnlycontourShowElevChart(onlyContour);
    ElevPointShowElevChart(elevPoint);
}

TEST(VectorStyle, BeginHookCanSettleTheStyle)
{
    StyledLayer s;
    CDrawTestBox* p = s.Add(0);
    p->m_nBeginResult = 0;
    p->m_BeginView = LineColoured(0x445566);
    EXPECT_EQ(DrawnColour(*p, DisplayState(0)), 0x445566u);
    p->m_nBeginResult = 1;  // anything but 0 goes on to the display attribute
    EXPECT_EQ(DrawnColour(*p, DisplayState(0)), kLayerColour);
}

TEST(VectorStyle, AttributeDisplayStyleIsCachedUntilRefreshed)
{
    StyledLayer s;
    CDrawTestBox* p = s.Add(0);
    const tagDisplayState ds = DisplayState(3);

    // No condition applies: the own style is cached.
    EXPECT_EQ(DrawnColour(*p, ds), kOwnColour);
    EXPECT_TRUE(p->IsADInitilized());
    p->SetGeoView(LineColoured(0x999999));
    EXPECT_EQ(DrawnColour(*p, ds), kOwnColour);
    CGeoVectorObject::SetADRefresh(1);
    EXPECT_EQ(DrawnColour(*p, ds), 0x999999u);
    p->SetGeoView(LineColoured(0xAAAAAA));
    EXPECT_EQ(DrawnColour(*p, ds), 0xAAAAAAu);
    CGeoVectorObject::SetADRefresh(0);
    p->SetGeoView(LineColoured(0xBBBBBB));
    EXPECT_EQ(DrawnColour(*p, ds), 0xAAAAAAu);
    s.layer.ResetADRefresh();
    EXPECT_FALSE(p->IsADInitilized());
    EXPECT_EQ(DrawnColour(*p, ds), 0xBBBBBBu);

    // A condition of the layer that holds gives its style; the object stays valid with it.
    CDrawTestBox* q = s.Add(1);
    s.layer.GetAttriDispParam().SetGeoView(1, "set", "1==1", LineColoured(0x123456));
    GEOVIEW found;
    EXPECT_EQ(s.layer.GetGeoViewAD(q, found), 1);
    EXPECT_EQ(found.m_crLineColor, 0x123456u);
    EXPECT_EQ(DrawnColour(*q, ds), 0x123456u);
    EXPECT_EQ(s.layer.GetGeoViewAD(p, found), 0);  // class 0 has no conditions
    EXPECT_EQ(s.layer.GetGeoViewAD(nullptr, found), 0);
}

TEST(VectorDraw, ShowModesAndClassScaleRanges)
{
    StyledLayer s;  // class 1 is drawn between 1000 and 10000
    CDrawTestBox* classed = s.Add(1);
    CDrawTestBox* plain = s.Add(0);
    CTestDC screen, printer(1);
    ASSERT_TRUE(printer.IsPrinting());
    struct Case {
        CGeoVectorObject* object;
        int showMode;
        CDC* dc;
        UINT scale;
        bool drawn;
    } cases[] = {
        {classed, 0, &screen, 500, false},  {classed, 0, &printer, 500, true},  // 500 x 10 on paper
        {classed, 0, &screen, 5000, true},  {classed, 0, &printer, 5000, false},
        {classed, 1, &screen, 500, true},   {classed, 7, &printer, 5000, true},
        {classed, 2, &screen, 5000, false}, {plain, 0, &screen, 1, true},
        {plain, 2, &screen, 5000, false},
    };
    for (const Case& c : cases) {
        tagDisplayState ds = DisplayState(2);
        ds.m_nShowMode = c.showMode;
        DrawLog().clear();
        c.object->Draw(c.dc, nullptr, c.scale, c.scale, CPoint(0, 0), CPoint(0, 0), ds, 0);
        EXPECT_EQ(DrawLog().size(), c.drawn ? 1u : 0u)
            << "mode " << c.showMode << " scale " << c.scale << (c.dc == &printer ? " printer" : " screen");
    }
    // NeedDraw, used by Hide and Blink, takes the scale as it is.
    EXPECT_EQ(classed->NeedDraw(nullptr, 500, CPoint(0, 0), CPoint(0, 0), VISIBLE_BYSCALE, nullptr), 0);
    EXPECT_EQ(classed->NeedDraw(nullptr, 500, CPoint(0, 0), CPoint(0, 0), VISIBLE_ALL, nullptr), 1);
    EXPECT_EQ(plain->NeedDraw(nullptr, 500, CPoint(0, 0), CPoint(0, 0), VISIBLE_NONE, nullptr), 0);
}

TEST(VectorDraw, HooksReceiveTheDisplayStateWords)
{
    CDrawTestBox p(CRect(10, 10, 20, 20));
    p.SetGeoView(LineColoured(kOwnColour));
    int libToken = 0;
    tagDisplayState ds = DisplayState(2);
    ds.m_pSymbolLibIO = reinterpret_cast<CSymbolLibIO*>(&libToken);
    ds.m_bKeepSymbolColor = 1;
    ds.m_nWord8 = 8;
    ds.m_bScaleWidth = 11;
    RECT clip = {0, 0, 50, 50};
    CTestDC dc;

    DrawLog().clear();
    p.Draw(&dc, &clip, 100, 200, CPoint(1, 2), CPoint(3, 4), ds, 1);
    ds.m_bSymbolized = 1;
    p.Draw(&dc, &clip, 100, 200, CPoint(1, 2), CPoint(3, 4), ds, 1);
    ASSERT_EQ(DrawLog().size(), 2u);
    const DrawCall& plain = DrawLog()[0];
    EXPECT_EQ(plain.hook, "draw");
    EXPECT_EQ(plain.scaleWidths, 11);
    const DrawCall& sym = DrawLog()[1];
    EXPECT_EQ(sym.hook, "draw+sym");
    EXPECT_EQ(sym.symbolLib, &libToken);
    EXPECT_EQ(sym.keepColours, 1);
    for (const DrawCall& c : DrawLog()) {
        EXPECT_EQ(c.scale, 100u);
        EXPECT_EQ(c.scale2, 200u);
        EXPECT_EQ(c.origin, CPoint(1, 2));
        EXPECT_EQ(c.offset, CPoint(3, 4));
        EXPECT_EQ(c.clip, &clip);  // handed on, not tested: the box lies outside it
        EXPECT_EQ(c.xorMode, 1);
        EXPECT_EQ(c.word8, 8);
    }

    // The preview form: the given style or the own view, never a clip.
    GEOVIEW preview = LineColoured(0x0000AA);
    DrawLog().clear();
    p.Draw(&dc, 100, 200, CPoint(1, 2), CPoint(3, 4), &preview, 1, 0, 5, 6, &libToken, 0);
    p.Draw(&dc, 100, 200, CPoint(1, 2), CPoint(3, 4), nullptr, 0, 1, 5, 6, nullptr, 0);
    ASSERT_EQ(DrawLog().size(), 2u);
    EXPECT_EQ(DrawLog()[0].hook, "draw+sym");
    EXPECT_EQ(DrawLog()[0].view.m_crLineColor, 0x0000AAu);
    EXPECT_EQ(DrawLog()[0].keepColours, 0);
    EXPECT_EQ(DrawLog()[1].hook, "draw");
    EXPECT_EQ(DrawLog()[1].view.m_crLineColor, kOwnColour);
    EXPECT_EQ(DrawLog()[1].scaleWidths, 6);
    for (const DrawCall& c : DrawLog()) {
        EXPECT_EQ(c.clip, nullptr);
        EXPECT_EQ(c.word8, 5);
    }

    // No device context, no drawing.
    DrawLog().clear();
    p.Draw(nullptr, &clip, 100, 200, CPoint(1, 2), CPoint(3, 4), ds, 0);
    p.Hide(nullptr, nullptr, 100, 200, CPoint(1, 2), CPoint(3, 4), ds);
    EXPECT_TRUE(DrawLog().empty());
}

TEST(VectorDraw, HideAndBlinkTestTheClipAndPassNoOffset)
{
    // Scale 10 maps millimetres to device units one to one, y turned down.
    CDrawTestBox p(CRect(100, 100, 200, 200));  // device (100, -200) to (200, -100) at origin (0, 0)
    CTestDC dc;
    RECT miss = {300, -200, 400, -100};
    RECT meet = {150, -150, 400, -100};
    struct Case {
        RECT* clip;
        int showMode;
        bool symbolised;
        const char* hook;  // NULL: nothing painted
    } cases[] = {
        {&miss, 1, false, nullptr}, {&meet, 1, false, "hide"}, {nullptr, 1, true, "hide+sym"},
        {nullptr, 2, false, nullptr},
    };
    for (const Case& c : cases) {
        tagDisplayState ds = DisplayState(2);
        ds.m_nShowMode = c.showMode;
        ds.m_bSymbolized = c.symbolised;
        DrawLog().clear();
        p.Hide(&dc, c.clip, 10, 10, CPoint(5, 6), CPoint(0, 0), ds);
        p.Blink(&dc, c.clip, 10, 10, CPoint(5, 6), CPoint(0, 0), ds);
        if (!c.hook) {
            EXPECT_TRUE(DrawLog().empty());
            continue;
        }
        ASSERT_EQ(DrawLog().size(), 2u);
        EXPECT_EQ(DrawLog()[0].hook, c.hook);
        EXPECT_EQ(DrawLog()[1].hook, std::string(c.hook).replace(0, 4, "blink"));
        EXPECT_EQ(DrawLog()[0].origin, CPoint(5, 6));
    }
    // The offset takes part in the clip test only: a clip that the offset moves the box into.
    tagDisplayState ds = DisplayState(2);
    ds.m_nShowMode = 1;
    DrawLog().clear();
    p.Hide(&dc, &miss, 10, 10, CPoint(0, 0), CPoint(200, 0), ds);
    ASSERT_EQ(DrawLog().size(), 1u);
    EXPECT_EQ(DrawLog()[0].offset, CPoint(0, 0));
}

TEST(VectorDraw, DangleAndFalseNodeSquares)
{
    CTestDC dc;
    CPen before(PS_SOLID, 3, 0x010203);
    dc.SelectObject(&before);
    DrawDangle(&dc, CPoint(50, 60));
    DrawFalseNode(&dc, CPoint(-5, 7));
    DrawDangle(nullptr, CPoint(0, 0));
    const std::vector<win32::GdiRecord> r = dc.Records("Rectangle");
    ASSERT_EQ(r.size(), 2u);
    const int d = GetDangleRadius(), f = GetFalseNodeRadius();
    EXPECT_EQ(r[0].points[0].x, 50 - d);
    EXPECT_EQ(r[0].points[0].y, 60 - d);
    EXPECT_EQ(r[0].points[1].x, 50 + d);
    EXPECT_EQ(r[0].points[1].y, 60 + d);
    EXPECT_EQ(r[0].pen.lopnColor, GetDangleColor());
    EXPECT_EQ(r[1].points[0].x, -5 - f);
    EXPECT_EQ(r[1].points[1].y, 7 + f);
    EXPECT_EQ(r[1].pen.lopnColor, GetFalseNodeColor());
    for (const win32::GdiRecord& x : r) {
        EXPECT_EQ(x.pen.lopnStyle & PS_STYLE_MASK, static_cast<UINT>(PS_SOLID));
        EXPECT_EQ(x.pen.lopnWidth.x, 1);
        EXPECT_EQ(x.brush.lbStyle, static_cast<UINT>(BS_NULL));
    }
    EXPECT_EQ(dc.GetCurrentPen()->GetSafeHandle(), before.GetSafeHandle());  // restored
}

TEST(VectorEdit, HitTestUsesTheSelectionRadius)
{
    CDrawTestBox p(CRect(100, 100, 200, 200));  // device x 100..200, y -200..-100 at scale 10
    int rx = 0, ry = 0;
    GetSelRectRadius(rx, ry);
    const struct {
        CPoint point;
        int hit;
    } cases[] = {
        {CPoint(150, -150), 1},                // inside
        {CPoint(100 - rx + 1, -150), 1},       // the radius reaches in
        {CPoint(100 - rx - 1, -150), 0},       // just too far left
        {CPoint(150, -100 + ry - 1), 1},       // just below, within reach
        {CPoint(150, -100 + ry + 5), 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(p.NormalHitTest(c.point, 10, CPoint(0, 0), CPoint(0, 0)), c.hit) << c.point.x << "," << c.point.y;
    // Origin and offset take part in the mapping back.
    EXPECT_EQ(p.NormalHitTest(CPoint(1150, -150), 10, CPoint(600, 0), CPoint(400, 0)), 1);
}

TEST(VectorEdit, SnapGateAsksTheShapeOnlyWhenItCanAnswer)
{
    CDrawTestBox p(CRect(100, 100, 200, 200));
    CPoint at;
    int index = -1;
    EXPECT_EQ(p.GetSnapPoint(at, CRect(150, 150, 160, 160), index, SNAP_NONE, 0), 0);
    EXPECT_EQ(p.GetSnapPoint(at, CRect(300, 300, 310, 310), index, SNAP_VERTEX, 0), 0);
    EXPECT_EQ(p.m_nSnapCalls, 0);
    EXPECT_EQ(p.GetSnapPoint(at, CRect(190, 190, 260, 260), index, SNAP_VERTEX, 0), 7);
    EXPECT_EQ(p.m_nSnapCalls, 1);
    EXPECT_EQ(at, CPoint(100, 100));
}

TEST(VectorEdit, MirrorTakesTheAxisIntoObjectCoordinates)
{
    CGeoVectorLayer layer(CRect(1000, 2000, 5000, 6000));
    CDrawTestBox* p = new CDrawTestBox(CRect(0, 0, 10, 10));
    ASSERT_TRUE(layer.Add(p));

    EXPECT_EQ(p->Mirror(POINT{1500, 2000}, POINT{1500, 3000}), 1);
    ASSERT_EQ(p->m_MirrorAxis.size(), 2u);
    EXPECT_EQ(p->m_MirrorAxis[0].x, 500);
    EXPECT_EQ(p->m_MirrorAxis[0].y, 0);
    EXPECT_EQ(p->m_MirrorAxis[1].y, 1000);
    EXPECT_EQ(p->m_nRecalcCount, 1);

    p->m_nMirrorResult = 0;  // the shape refuses: no bounds recomputed
    EXPECT_EQ(p->Mirror(POINT{0, 0}, POINT{1, 1}), 0);
    EXPECT_EQ(p->m_nRecalcCount, 1);

    layer.Editable(0);
    p->m_nMirrorResult = 1;
    p->m_MirrorAxis.clear();
    EXPECT_EQ(p->Mirror(POINT{0, 0}, POINT{1, 1}), 0);
    EXPECT_TRUE(p->m_MirrorAxis.empty());

    CDrawTestBox loose;  // no layer: the axis as given
    EXPECT_EQ(loose.Mirror(POINT{7, 8}, POINT{9, 10}), 1);
    EXPECT_EQ(loose.m_MirrorAxis[0].x, 7);
}

}  // namespace
