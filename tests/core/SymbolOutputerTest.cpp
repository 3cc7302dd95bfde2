// The symbolised-output sink: which objects each primitive becomes, their styles, class and placement.
#include <gtest/gtest.h>

#include "annotation/GeoAnno.h"
#include "core/GeoGClass.h"
#include "core/GeoVectorLayer.h"
#include "core/VMSymbolLibIO.h"
#include "core/VMSymbolOutputer.h"
#include "vector/GeoEllipse.h"
#include "vector/GeoPLine.h"
#include "vector/GeoPolygonLine.h"
#include "vector/GeoTriPointArc.h"

#include <cstring>
#include <vector>

namespace {

struct OutputerFixture : ::testing::Test {
    CGeoVectorLayer layer{CRect(0, 0, 100000, 100000)};
    CCoordsConverter conv{1000, 1000, 0};
    CVMSymbolOutputer out;

    void SetUp() override { out.SetTargetLayer(&layer); }

    CGeoVectorObject* Last() {
        if (layer.m_ObjList.IsEmpty()) return nullptr;
        return static_cast<CGeoVectorObject*>(layer.m_ObjList.GetTail());
    }
    std::vector<CPoint> Points(const CGeoVectorObject* o) {
        std::vector<CPoint> pts;
        for (int i = 0; i < o->GetPoints(); ++i) pts.push_back(o->GetPoint(i));
        return pts;
    }
};

const RECT kSquare = {-1000, -1000, 1000, 1000};

}  // namespace

TEST_F(OutputerFixture, PolygonDropsRepeatedClosingPointAndNeedsThreeLeft) {
    const POINT four[] = {{0, 0}, {10, 0}, {10, 10}, {0, 0}};
    EXPECT_EQ(0, out.OutputPolygon(four, 4, 0xFF, 1, 0, 0x00FF00, 1, 0, nullptr, &conv));
    CGeoVectorObject* o = Last();
    ASSERT_TRUE(o && o->IsKindOf(RUNTIME_CLASS(CGeoPolygonLine)));
    EXPECT_EQ((std::vector<CPoint>{{0, 0}, {10, 0}, {10, 10}}), Points(o));
    EXPECT_EQ(1, static_cast<CGeoPolygonLine*>(o)->IsFace());

    const POINT three[] = {{0, 0}, {10, 0}, {0, 0}};
    EXPECT_EQ(1, out.OutputPolygon(three, 3, 0xFF, 1, 0, 0, 0, 0, nullptr, &conv));
    EXPECT_EQ(1, layer.GetObjectCount());
}

TEST_F(OutputerFixture, EveryPrimitiveRefusedWithoutContext) {
    const POINT pts[] = {{0, 0}, {10, 0}, {10, 10}};
    LOGFONT font{};
    font.lfHeight = 10;
    EXPECT_EQ(1, out.OutputPolyLine(pts, 3, 0, 1, 0, 0, nullptr, nullptr));
    EXPECT_EQ(1, out.OutputPolygon(pts, 3, 0, 1, 0, 0, 0, 0, nullptr, nullptr));
    EXPECT_EQ(1, out.OutputAnno(pts[0], 0, font, "ab", nullptr, nullptr));
    EXPECT_EQ(1, out.OutputEllipse(&kSquare, 0, 1, 0, 0, 0, nullptr, nullptr));
    EXPECT_EQ(1, out.OutputArc(&kSquare, {1000, 0}, {0, 1000}, 0, 1, 0, 0, 0, 0, nullptr, nullptr));
    EXPECT_EQ(1, out.OutputChord(&kSquare, {1000, 0}, {0, 1000}, 0, 1, 0, 0, 0, nullptr, nullptr));
    // A polyline needs two points.
    EXPECT_EQ(1, out.OutputPolyLine(pts, 1, 0, 1, 0, 0, nullptr, &conv));
    EXPECT_EQ(0, layer.GetObjectCount());
}

TEST_F(OutputerFixture, TextBoxGrowsWithHalfTheByteCount) {
    LOGFONT font{};
    font.lfHeight = 10;
    font.lfUnderline = 1;
    std::strcpy(font.lfFaceName, "黑体");
    EXPECT_EQ(0, out.OutputAnno(CPoint(100, 200), 0x123456, font, "abcd", nullptr, &conv));
    CGeoVectorObject* o = Last();
    ASSERT_TRUE(o && o->IsKindOf(RUNTIME_CLASS(CGeoAnno)));
    CGeoAnno expected(CString("abcd"), CRect(100, 200, 130, 190), 10, 10, 4, 0, 0.0f);
    CGeoAnno* anno = static_cast<CGeoAnno*>(o);
    EXPECT_EQ(expected.MakeGeoAnno().m_rcBounds, anno->MakeGeoAnno().m_rcBounds);
    EXPECT_EQ(expected.GetPoint(0), anno->GetPoint(0));
    EXPECT_EQ(10, anno->MakeGeoAnno().m_nCharHeight);
    GEOVIEW v = o->GetGeoView();
    EXPECT_EQ(0x123456u, v.m_crAnnoColor);
    EXPECT_STREQ("黑体", v.m_szFaceName);
    EXPECT_NE(0u, v.m_dwTextFlags & GEOVIEW_TEXT_UNDERLINE);
}

TEST_F(OutputerFixture, EllipseBoxOfEqualSignedSidesIsCircle) {
    struct Case {
        RECT box;
        bool circle;
    } cases[] = {{{0, 0, 20, 20}, true}, {{0, 0, 20, 10}, false}, {{0, 20, 20, 0}, false}};
    for (const Case& c : cases) {
        EXPECT_EQ(0, out.OutputEllipse(&c.box, 0, 1, 0, 0, 0, nullptr, &conv));
        CGeoVectorObject* o = Last();
        ASSERT_TRUE(o && o->IsKindOf(RUNTIME_CLASS(CGeoEllipse)));
        EXPECT_EQ(c.circle, o->IsKindOf(RUNTIME_CLASS(CGeoRectCircle))) << c.box.bottom;
        EXPECT_EQ(0, static_cast<CGeoEllipse*>(o)->IsFace());
    }
}

TEST_F(OutputerFixture, ArcTakesMiddleOfSweepAndPieClosesThroughCentre) {
    EXPECT_EQ(0, out.OutputArc(&kSquare, {1000, 0}, {0, 1000}, 0, 1, 0, 0, 0, 0, nullptr, &conv));
    CGeoVectorObject* o = Last();
    ASSERT_TRUE(o && o->IsKindOf(RUNTIME_CLASS(CGeoTriPointArc)));
    EXPECT_EQ((std::vector<CPoint>{{1000, 0}, {707, 707}, {0, 1000}}), Points(o));

    // Box corners given in any order, pie: the arc's polyline plus the centre, as an area.
    const RECT flipped = {1000, 1000, -1000, -1000};
    EXPECT_EQ(0, out.OutputArc(&flipped, {1000, 0}, {0, 1000}, 0, 1, 0, 0, 1, 1, nullptr, &conv));
    o = Last();
    ASSERT_TRUE(o && o->IsKindOf(RUNTIME_CLASS(CGeoPolygonLine)));
    std::vector<CPoint> pts = Points(o);
    ASSERT_GE(pts.size(), 4u);
    EXPECT_EQ(CPoint(1000, 0), pts.front());
    EXPECT_EQ(CPoint(0, 0), pts.back());
    EXPECT_EQ(1, static_cast<CGeoPolygonLine*>(o)->IsFace());

    // Collinear points give a plain polyline, pie or not.
    const RECT dot = {0, 0, 0, 0};
    EXPECT_EQ(0, out.OutputArc(&dot, {1, 0}, {2, 0}, 0, 1, 0, 0, 1, 1, nullptr, &conv));
    o = Last();
    ASSERT_TRUE(o);
    EXPECT_EQ(RUNTIME_CLASS(CGeoPLine), o->GetRuntimeClass());
    EXPECT_EQ((std::vector<CPoint>{{1, 0}, {2, 0}, {2, 0}}), Points(o));

    const int before = layer.GetObjectCount();
    const RECT wide = {-1000, -1000, 1000, 0};
    EXPECT_EQ(1, out.OutputArc(&kSquare, {1000, 0}, {1000, 0}, 0, 1, 0, 0, 0, 0, nullptr, &conv));
    EXPECT_EQ(1, out.OutputArc(&wide, {1000, 0}, {0, 1000}, 0, 1, 0, 0, 0, 0, nullptr, &conv));
    EXPECT_EQ(1, out.OutputChord(&wide, {1000, 0}, {0, 1000}, 0, 1, 0, 0, 0, nullptr, &conv));
    EXPECT_EQ(before, layer.GetObjectCount());
}

TEST_F(OutputerFixture, ChordIsTheArcClosedAlongItsEnds) {
    EXPECT_EQ(0, out.OutputChord(&kSquare, {1000, 0}, {0, 1000}, 0, 1, 0, 0, 0, nullptr, &conv));
    CGeoVectorObject* o = Last();
    ASSERT_TRUE(o && o->IsKindOf(RUNTIME_CLASS(CGeoPolygonLine)));
    std::vector<CPoint> pts = Points(o);
    ASSERT_GE(pts.size(), 3u);
    EXPECT_EQ(CPoint(1000, 0), pts.front());
    EXPECT_EQ(CPoint(0, 1000), pts.back());
    EXPECT_EQ(0, static_cast<CGeoPolygonLine*>(o)->IsFace());

    // A chord whose ends meet collapses to one spot and makes no ring.
    const int before = layer.GetObjectCount();
    EXPECT_EQ(1, out.OutputChord(&kSquare, {1000, 0}, {1000, 0}, 0, 1, 0, 0, 0, nullptr, &conv));
    EXPECT_EQ(before, layer.GetObjectCount());
}

TEST_F(OutputerFixture, StyleWidthsColoursAndFill) {
    const POINT pts[] = {{0, 0}, {10, 0}, {10, 10}};
    // Zero width: polyline converts 0, the outlined shapes take -0.1 and a polygon its fill colour.
    ASSERT_EQ(0, out.OutputPolyLine(pts, 3, 0xAA, 0, 7, 0, nullptr, &conv));
    GEOVIEW v = Last()->GetGeoView();
    EXPECT_FLOAT_EQ(0.0f, v.m_fLineWidth);
    EXPECT_EQ(0xAAu, v.m_crLineColor);
    EXPECT_EQ(7, v.m_nLineShape);

    ASSERT_EQ(0, out.OutputPolygon(pts, 3, 0xAA, 0, 0, 0xBB, 8, 0, nullptr, &conv));
    v = Last()->GetGeoView();
    EXPECT_FLOAT_EQ(-0.1f, v.m_fLineWidth);
    EXPECT_EQ(0xBBu, v.m_crLineColor);
    EXPECT_EQ(0xBBu, v.m_crFillColor);
    EXPECT_EQ(1, v.m_bTransparent);
    EXPECT_EQ(0, v.m_nFillShape);

    ASSERT_EQ(0, out.OutputEllipse(&kSquare, 0xAA, 0, 0, 0xBB, 3, nullptr, &conv));
    v = Last()->GetGeoView();
    EXPECT_FLOAT_EQ(-0.1f, v.m_fLineWidth);
    EXPECT_EQ(0xAAu, v.m_crLineColor);
    EXPECT_EQ(0, v.m_bTransparent);
    EXPECT_EQ(2, v.m_nFillShape);
    ASSERT_EQ(0, out.OutputArc(&kSquare, {1000, 0}, {0, 1000}, 0, 0, 0, 0, 0, 0, nullptr, &conv));
    EXPECT_FLOAT_EQ(-0.1f, Last()->GetGeoView().m_fLineWidth);
    ASSERT_EQ(0, out.OutputChord(&kSquare, {1000, 0}, {0, 1000}, 0, 0, 0, 0, 0, nullptr, &conv));
    EXPECT_FLOAT_EQ(-0.1f, Last()->GetGeoView().m_fLineWidth);

    // Width 500 at 1:1000: 5000 tenths -> 50 -> 5.0; a width whose tenfold is negative as a signed
    // value counts as no width for a polygon.
    ASSERT_EQ(0, out.OutputPolyLine(pts, 3, 0, 500, 0, 0, nullptr, &conv));
    EXPECT_FLOAT_EQ(5.0f, Last()->GetGeoView().m_fLineWidth);
    ASSERT_EQ(0, out.OutputPolygon(pts, 3, 0xAA, 500, 0, 0xBB, 9, 0, nullptr, &conv));
    v = Last()->GetGeoView();
    EXPECT_FLOAT_EQ(5.0f, v.m_fLineWidth);
    EXPECT_EQ(0xAAu, v.m_crLineColor);
    EXPECT_EQ(0, v.m_nFillShape);
    EXPECT_EQ(0, v.m_bTransparent);
    ASSERT_EQ(0, out.OutputPolygon(pts, 3, 0xAA, 0x0CCCCCCDu, 0, 0xBB, 1, 0, nullptr, &conv));
    v = Last()->GetGeoView();
    EXPECT_FLOAT_EQ(-0.1f, v.m_fLineWidth);
    EXPECT_EQ(0xBBu, v.m_crLineColor);
}

TEST_F(OutputerFixture, FinishingSetsUnitOffsetClassAndAddsClassOnce) {
    out.SetUnit(4);  // centimetres
    out.SetOffset(CPoint(1000, -500));  // millimetres
    out.SetClassCode(37);
    out.SetZ(12.5);
    const POINT pts[] = {{200, 100}, {300, 100}};
    ASSERT_EQ(0, out.OutputPolyLine(pts, 2, 0, 0, 0, 0, nullptr, &conv));
    CGeoVectorObject* o = Last();
    EXPECT_EQ(4, o->GetUnit());
    EXPECT_EQ((std::vector<CPoint>{{100, 150}, {200, 150}}), Points(o));
    EXPECT_EQ(37u, o->GetObjectClassID());
    EXPECT_EQ(DISPLAYATTR_SELF, o->SetDisplayAttribute(DISPLAYATTR_SELF));  // the stored one
    EXPECT_DOUBLE_EQ(12.5, o->GetZ());
    ASSERT_EQ(1, layer.m_Theme.GetGCCount());
    CGeoGClass gc;
    layer.m_Theme.GetGC(0, gc);
    EXPECT_EQ(37u, gc.GetGCID());
    EXPECT_EQ(CString("37"), gc.GetGCName());

    ASSERT_EQ(0, out.OutputPolyLine(pts, 2, 0, 0, 0, 0, nullptr, &conv));
    EXPECT_EQ(1, layer.m_Theme.GetGCCount());

    CVMSymbolOutputer::AddGClassIfMissing(&layer, 0);
    CVMSymbolOutputer::AddGClassIfMissing(nullptr, 5);
    EXPECT_EQ(1, layer.m_Theme.GetGCCount());
}

TEST(SymbolOutputerTest, WithoutTargetLayerNothingIsCreated) {
    CVMSymbolOutputer out;
    CCoordsConverter conv(1, 1, 0);
    const POINT pts[] = {{0, 0}, {10, 0}};
    EXPECT_EQ(1, out.OutputPolyLine(pts, 2, 0, 0, 0, 0, nullptr, &conv));  // and nothing leaks
}
