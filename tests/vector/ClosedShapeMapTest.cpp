// Closed shapes in a vector layer: a map of circles, a regular polygon, rectangles and ellipses with
// reversed corners, saved as a layer file and a map record and loaded back. The loaded shapes keep their
// classes, corners and face flags, draw the same picture, and are found by rectangle selection and by
// the layer's bounds the way their normalised bounds say.
#include "PLineSampleMap.h"

#include "support/TempDir.h"
#include "vector/GeoCircle.h"
#include "vector/GeoEllipse.h"
#include "vector/GeoNPolygon.h"
#include "vector/GeoRect.h"

#include <win32/gdirecord.h>

#include <gtest/gtest.h>

#include <string>

namespace {

// Class 1 "地块" fills in green with a red outline.
CGeoVectorLayer* BuildShapes() {
    CGeoTheme theme;
    theme.SetName("地块");
    CGeoGClass parcels = plinesample::FeatureClass(1, "地块", nullptr, RGB(200, 0, 0), 2);
    GEOVIEW view = parcels.GetGeoView();
    view.m_crFillColor = RGB(0, 160, 0);
    view.m_nFillShape = 0;
    parcels.SetGeoView(view);
    theme.AddGC(parcels, -2);
    CRect bounds(0, 0, 100000, 100000);
    CGeoVectorLayer* layer = CreateVectorLayer(&bounds, &theme, "地块", "", 0);

    auto add = [&](CGeoCloseLine* shape, int face) {
        shape->SetFace(face);
        shape->SetObjectClassID(1);
        layer->Add(shape);
    };
    add(new CGeoRect(CRect(40000, 30000, 10000, 10000)), 1);         // corners reversed
    add(new CGeoCircle(CPoint(70000, 25000), CPoint(70000, 40000)), 1);
    add(new CGeoNPolygon(CPoint(25000, 70000), CPoint(40000, 70000), 6), 0);
    add(new CGeoEllipse(CRect(95000, 90000, 55000, 65000)), 1);     // corners reversed
    add(new CGeoRectCircle(CRect(45000, 45000, 55000, 55000)), 0);
    return layer;
}

TEST(ClosedShapeMap, SavedLoadedDrawnAndSelected) {
    testsupport::TempDir dir("corvane-closedmap");
    CGeoMap map;
    ASSERT_EQ(map.AddLayer(BuildShapes(), -1), 1);
    map.FindLayer(0)->SetFileName(CString(dir("shapes.LYR").c_str()));
    HDC before = plinesample::DrawMap(map, nullptr);
    {
        CFile f(CString(dir("map.rec").c_str()), CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&f, CArchive::store);
        map.Serialize(ar);
        ar.Close();
    }
    CGeoMap loaded;
    {
        CFile f(CString(dir("map.rec").c_str()), CFile::modeRead);
        CArchive ar(&f, CArchive::load);
        loaded.Serialize(ar);
    }
    ASSERT_EQ(loaded.GetLayerCount(), 1);
    auto* layer = static_cast<CGeoVectorLayer*>(loaded.FindLayer(0));
    ASSERT_TRUE(layer && layer->IsKindOf(RUNTIME_CLASS(CGeoVectorLayer)));

    // Every shape comes back as it went.
    auto* original = static_cast<CGeoVectorLayer*>(map.FindLayer(0));
    POSITION a = original->m_ObjList.GetHeadPosition(), b = layer->m_ObjList.GetHeadPosition();
    int count = 0;
    while (a && b) {
        auto* x = static_cast<CGeoCloseLine*>(original->m_ObjList.GetNext(a));
        auto* y = static_cast<CGeoCloseLine*>(layer->m_ObjList.GetNext(b));
        ASSERT_EQ(x->GetRuntimeClass(), y->GetRuntimeClass()) << count;
        EXPECT_EQ(x->GetPosition(), y->GetPosition()) << count;
        EXPECT_EQ(x->IsFace(), y->IsFace()) << count;
        EXPECT_EQ(x->GetPoint(0), y->GetPoint(0)) << count;
        EXPECT_EQ(x->GetPoint(1), y->GetPoint(1)) << count;
        ++count;
    }
    EXPECT_EQ(count, 5);
    EXPECT_FALSE(a || b);

    HDC after = plinesample::DrawMap(loaded, nullptr);
    EXPECT_TRUE(plinesample::Pixels(before) == plinesample::Pixels(after));
    win32::WriteDCToPNG(after, (std::string(CORVANE_TEST_OUTPUT_DIR) + "/closedshapes.png").c_str());
    // Page: 8 pixels per 1000 mm, y up. Inside the reversed rectangle and the ellipse: the fill; inside
    // the hexagon (an outline): white.
    EXPECT_EQ(::GetPixel(after, 200, 640), RGB(0, 160, 0));  // (25000, 20000) in the rectangle
    EXPECT_EQ(::GetPixel(after, 580, 176), RGB(0, 160, 0));  // (72500, 78000) in the ellipse
    EXPECT_EQ(::GetPixel(after, 200, 240), RGB(255, 255, 255));  // (25000, 70000) in the hexagon
    EXPECT_EQ(::GetPixel(after, 560, 600), RGB(0, 160, 0));  // (70000, 25000) the circle's centre
    ::DeleteDC(before);
    ::DeleteDC(after);

    // Selecting across the reversed rectangle's left side finds it; its empty inside finds nothing else.
    CGeoAccessorialObject* hit = layer->FindObj(CRect(9000, 15000, 11000, 16000), SELOBJ_MEET, 0);
    ASSERT_TRUE(hit);
    EXPECT_TRUE(hit->IsKindOf(RUNTIME_CLASS(CGeoRect)));
    EXPECT_EQ(hit->GetRuntimeClass(), RUNTIME_CLASS(CGeoRect));
    hit = layer->FindObj(CRect(90500, 70000, 92500, 71000), SELOBJ_MEET, 0);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->GetRuntimeClass(), RUNTIME_CLASS(CGeoEllipse));
    EXPECT_EQ(layer->FindObj(CRect(1000, 1000, 2000, 2000), SELOBJ_MEET, 0), nullptr);
    EXPECT_EQ(layer->GetValideRect(), CRect(10000, 10000, 95000, 90000));
}

}  // namespace
