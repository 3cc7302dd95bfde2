#include "terrain/GeoClassificationParameter.h"
#include "terrain/GeoDEM.h"
#include "terrain/GeoDEMLayer.h"

#include "core/GeoMap.h"
#include "DemFixtures.h"
#include "support/TempDir.h"

#include <afx/Dc.h>
#include <win32/gdirecord.h>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using demtest::MakeDem;
using demtest::MakeDemFn;

namespace {

const LONG X = -99999;

CArray<double, double> Doubles(std::initializer_list<double> v)
{
    CArray<double, double> a;
    for (double d : v) a.Add(d);
    return a;
}

// An image DC of w x h pixels held by a CDC.
struct ImageDC {
    ImageDC(int w, int h) { dc.Attach(win32::CreateImageDC(w, h)); }
    COLORREF At(int x, int y) { return ::GetPixel(dc.GetSafeHdc(), x, y); }
    CDC dc;
};

}  // namespace

TEST(ElevationClasses, ClassificationColoursAndRange)
{
    CGeoClassificationParameter p;
    EXPECT_EQ(p.SetArrange(5, 5), 0);
    EXPECT_EQ(p.GetLow(), 0.0);
    EXPECT_EQ(p.GetHigh(), 1.0);
    ASSERT_EQ(p.SetArrange(0, 100), 1);
    EXPECT_EQ(p.GetClssification(50), 0);  // no thresholds
    EXPECT_EQ(p.SetThresholdArray(CArray<double, double>()), 0);
    ASSERT_EQ(p.SetThresholdArray(Doubles({10, 20})), 1);
    CArray<DWORD, DWORD> colors;
    colors.Add(0x0000FF);
    colors.Add(0x00FF00);
    ASSERT_EQ(p.SetColorArray(colors), 1);
    struct Case {
        double v;
        int cls;
        COLORREF color;
    } cases[] = {{0, 0, 0x0000FF},  {10, 0, 0x0000FF}, {10.5, 1, 0x00FF00}, {20, 1, 0x00FF00},
                 {100, 2, 0x00FF00},  // a class past the last colour takes the last colour
                 {-1, -1, 0xC0C0C0}, {101, -1, 0xC0C0C0}, {NAN, -1, 0xC0C0C0}};
    for (const Case& c : cases) {
        EXPECT_EQ(p.GetClssification(c.v), c.cls) << c.v;
        EXPECT_EQ(p.GetColor(c.v), c.color) << c.v;
    }
    // The ranged forms map [lo, hi] onto [low, high] first.
    EXPECT_EQ(p.GetClssification(0.15, 0.0, 1.0), 1);
    EXPECT_EQ(p.GetClssification(5, 5, 5), -1);
    EXPECT_EQ(p.GetColor(2.0, 0.0, 1.0), 0xC0C0C0u);

    CGeoClassificationParameter q(p);  // keeps the source's name
    EXPECT_EQ(q.GetName(), p.GetName());
    EXPECT_EQ(q.GetThresholdCount(), 2);
}

TEST(ElevationClasses, DefaultAndShowParameters)
{
    auto dem = MakeDemFn(10, 1, [](int c, int) { return c * 100; });  // 0 .. 900
    CGeoClassificationParameter grey = dem->GetShowParameter();
    EXPECT_EQ(grey.GetColorCount(), 1);
    EXPECT_EQ(grey.GetColor(450), 0x606060u);
    dem->LevelShow(1);
    CGeoClassificationParameter nine = dem->GetShowParameter();
    CArray<double, double> t;
    nine.GetThresholdArray(t);
    ASSERT_EQ(t.GetSize(), 8);
    for (int i = 0; i < 8; ++i) EXPECT_NEAR(t[i], 100.0 * (i + 1), 1e-9);
    EXPECT_EQ(nine.GetColor(50), 0x217500u);
    EXPECT_EQ(nine.GetColor(850), 0xFFFFFFu);
    // A level dialog nobody answers (no user driver) is a cancel: the classes stay as they were.
    const int before = dem->GetLevelParameter().GetColorCount();
    EXPECT_EQ(dem->SetLevelParameter(), 0);
    EXPECT_EQ(dem->GetLevelParameter().GetColorCount(), before);
    const DemLevelDialogHook installed = SetDemLevelDialogHook([](CGeoClassificationParameter& p, const CString& unit, double lo, double hi) {
        EXPECT_EQ(std::string(unit), "米");
        EXPECT_EQ(lo, 0.0);
        EXPECT_EQ(hi, 900.0);
        CArray<DWORD, DWORD> one;
        one.Add(0x123456);
        p.SetColorArray(one);
        return IDOK;
    });
    EXPECT_EQ(dem->SetLevelParameter(), 1);
    SetDemLevelDialogHook(installed);
    EXPECT_EQ(dem->GetLevelParameter().GetColorCount(), 1);
    EXPECT_TRUE(dem->IsBitmapOutdated());
}

TEST(DemDrawing, WholeViewMapsEdgesOntoTheViewAndRebuildsOnlyWhenOutdated)
{
    // 4 x 3 nodes of 1 m; scale 1000 makes a node 10 x 10 pixels; the origin puts the north edge at 0.
    auto owned = MakeDem({{0, 100, 200, 300},  //
                          {400, 500, X, 700},
                          {800, 850, 880, 900}},
                         0, 3, 1.0, 1.0);
    CGeoDEM* dem = owned.get();
    CGeoDEMLayer layer;
    layer.SetUnit(6);
    ASSERT_EQ(layer.Add(owned.release()), 1);
    ImageDC img(40, 30);
    const CPoint origin(0, -3000);
    RECT view{0, 0, 40, 30};
    dem->LevelShow(1);
    layer.Draw(&img.dc, &view, 1000, origin, CPoint(0, 0));
    EXPECT_FALSE(dem->IsBitmapOutdated());
    // The classes of 0..900: 0x217500 up to 100, 0x4AAE02 above it, ...; the maximum is white.
    // A node takes the level whose break it has reached: 100 starts the second level.
    EXPECT_EQ(img.At(5, 5), RGB(0x00, 0x75, 0x21));    // 0
    EXPECT_EQ(img.At(15, 5), RGB(0x02, 0xAE, 0x4A));   // 100
    EXPECT_EQ(img.At(15, 15), RGB(0xAD, 0x5A, 0x18));  // 500
    EXPECT_EQ(img.At(25, 15), RGB(0xFF, 0xFF, 0xFF));  // invalid: background
    EXPECT_EQ(img.At(39, 0), RGB(0xBC, 0xDF, 0x07));   // 300, up to the east edge
    EXPECT_EQ(img.At(39, 15), RGB(0xBC, 0xBA, 0xBD));  // 700
    EXPECT_EQ(img.At(39, 29), RGB(0xFF, 0xFF, 0xFF));  // 900 = max: the last, white level
    EXPECT_EQ(img.At(0, 29), RGB(0xFF, 0xFF, 0xFF));   // 800: the ninth colour is white too

    // A redraw without a change does not rebuild the bitmap.
    const void* bits = dem->GetRenderer().m_pBits;
    layer.Draw(&img.dc, &view, 1000, origin, CPoint(0, 0));
    EXPECT_EQ(dem->GetRenderer().m_pBits, bits);
    // Level show off: one grey class from the minimum, white from the maximum.
    dem->LevelShow(0);
    EXPECT_TRUE(dem->IsBitmapOutdated());
    layer.Draw(&img.dc, &view, 1000, origin, CPoint(0, 0));
    EXPECT_EQ(dem->GetRenderer().m_nLevelCount, 2);
    EXPECT_EQ(img.At(5, 5), RGB(0x60, 0x60, 0x60));
    EXPECT_EQ(img.At(35, 25), RGB(0xFF, 0xFF, 0xFF));
}

TEST(DemDrawing, ZoomedCornerStaysRegisteredAndDrawsNothingOutsideTheClip)
{
    // 16 x 12 nodes; node (c, r) holds a distinct class so a one-pixel shift shows.
    auto owned = MakeDemFn(16, 12, [](int c, int r) { return (c + r) % 2 ? 900 : 0; }, 0, 12, 1.0, 1.0);
    CGeoDEM* dem = owned.get();
    CGeoDEMLayer layer;
    layer.SetUnit(6);
    ASSERT_EQ(layer.Add(owned.release()), 1);
    dem->LevelShow(0);
    // Scale 250: a node is 40 x 40 pixels; the view shows 60 x 50 pixels of the north-west corner.
    ImageDC img(100, 100);
    RECT view{0, 0, 60, 50};
    layer.Draw(&img.dc, &view, 250, CPoint(0, -12000), CPoint(0, 0));
    const COLORREF grey = RGB(0x60, 0x60, 0x60), white = RGB(0xFF, 0xFF, 0xFF);
    EXPECT_EQ(img.At(39, 39), grey);   // node (0, 0)
    EXPECT_EQ(img.At(40, 39), white);  // node (1, 0) starts exactly at 40
    EXPECT_EQ(img.At(39, 40), white);  // node (0, 1)
    EXPECT_EQ(img.At(59, 49), grey);   // node (1, 1) at the view's corner
    // Nothing beyond the clip (the image starts white: draw a DEM that would paint it grey).
    EXPECT_EQ(img.At(61, 10), white);
    EXPECT_EQ(img.At(10, 51), white);
    ImageDC other(100, 100);
    RECT away{500, 500, 600, 600};
    layer.Draw(&other.dc, &away, 250, CPoint(0, -12000), CPoint(0, 0));
    EXPECT_EQ(other.At(10, 10), white);
}

TEST(DemLayer, AcceptsOnlyDemsAndLoadsByClassName)
{
    CGeoDEMLayer layer;
    CGeoRasterObject notDem;
    EXPECT_EQ(layer.ObjectIsValid(&notDem), 0);
    EXPECT_EQ(layer.EditProperties(0, 0, nullptr), 0);

    std::unique_ptr<CGeoDEMLayer> made(CreateDemLayer(CRect(0, 0, 10, 10), CString("  地形  "), CString(" a.lyr "), 0, 0));
    EXPECT_EQ(std::string(made->GetObjectName()), "地形");
    EXPECT_EQ(std::string(made->GetFileName()), "a.lyr");
    EXPECT_EQ(made->GetBounds(), CRect(0, 0, 10, 10));
    std::unique_ptr<CGeoDEMLayer> blank(CreateDemLayer(CRect(), CString("   "), CString(""), 1, 0));
    EXPECT_FALSE(blank->GetObjectName().IsEmpty());
    EXPECT_TRUE(blank->IsAutoSize());

    testsupport::TempDir dir;
    auto dem = MakeDemFn(3, 2, [](int c, int r) { return c + r; }, 0, 20, 10.0, 0.1);
    const std::string grd = dir("terrain.grd");
    ASSERT_EQ(dem->SaveAsGrd(CString(grd.c_str())), 1);
    auto owned = std::make_unique<CGeoDEM>(nullptr, CString(""));
    ASSERT_EQ(owned->LoadRasterFile(CString(grd.c_str())), 1);
    CGeoDEMLayer* stored = CreateDemLayer(CRect(), CString("dem"), CString(""), 1, 0);
    stored->SetUnit(6);
    ASSERT_EQ(stored->Add(owned.release()), 1);
    CGeoMap map;
    const std::string lyr = dir("dem.LYR");
    ASSERT_EQ(map.SaveLayer(stored, CString(lyr.c_str())), 1);
    delete stored;
    std::unique_ptr<CGeoLayer> loaded(map.LoadLayer(CString(lyr.c_str())));
    ASSERT_TRUE(loaded);
    ASSERT_TRUE(loaded->IsKindOf(RUNTIME_CLASS(CGeoDEMLayer)));
    auto* demLayer = static_cast<CGeoDEMLayer*>(loaded.get());
    ASSERT_EQ(demLayer->GetObjectCount(), 1);
    auto* back = static_cast<CGeoDEM*>(demLayer->GetObjectList().GetHead());
    double out = 0;
    ASSERT_EQ(back->GetPixel(2L, 1L, out), 1);  // the grid came back from its file
    EXPECT_DOUBLE_EQ(out, 0.3);
}
