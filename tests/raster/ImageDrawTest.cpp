#include "raster/GeoImage.h"
#include "raster/GeoImageLayer.h"

#include "core/GeoSettings.h"

#include <afx/Dc.h>
#include <win32/gdirecord.h>

#include <gtest/gtest.h>

namespace {

tagRasterParameter TenMillimetrePixels()
{
    tagRasterParameter p{};
    p.m_nScale = 50000;
    p.m_dXResolution = p.m_dYResolution = 400.0;
    p.m_dPixelSize = 10.0;
    return p;
}

// A 4 x 4 image of 10 mm pixels over (0, 0) - (40, 40) mm; pixel (x, y) grey 10 * (4 * y + x) + 40.
CGeoImage* Checker()
{
    tagRasterParameter p = TenMillimetrePixels();
    auto* image = new CGeoImage(4, 4, 8, 0, 40, p);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) image->SetPixelValue(10 * (4 * y + x) + 40, x, y);
    return image;
}

struct Canvas {
    Canvas() { dc.Attach(win32::CreateImageDC(60, 60)); }
    ~Canvas() { ::DeleteDC(dc.Detach()); }
    COLORREF At(int x, int y) { return ::GetPixel(dc, x, y); }
    CDC dc;
};

}  // namespace

TEST(ImageDraw, PixelsLandOnTheirDeviceCellsUnderARedBoundary)
{
    CGeoImageLayer layer;
    CGeoImage* image = Checker();
    ASSERT_EQ(layer.Add(image), 1);
    Canvas canvas;
    // Scale 10: one millimetre per device pixel; origin (0, -40) puts the north edge at device row 0.
    layer.Draw(&canvas.dc, nullptr, 10, CPoint(0, -40));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            const int v = 10 * (4 * y + x) + 40;
            EXPECT_EQ(canvas.At(10 * x + 5, 10 * (3 - y) + 5), RGB(v, v, v)) << x << "," << y;
        }
    EXPECT_EQ(canvas.At(0, 20), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(20, 0), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(50, 50), RGB(255, 255, 255));  // outside the image

    // A clip rectangle limits the painting.
    Canvas clipped;
    RECT clip{0, 0, 10, 60};  // the painting reaches at most two source pixels past it
    layer.Draw(&clipped.dc, &clip, 10, CPoint(0, -40));
    EXPECT_EQ(clipped.At(35, 25), RGB(255, 255, 255));
    EXPECT_EQ(clipped.At(5, 35), RGB(40, 40, 40));
}

TEST(ImageDraw, EmptyOrLooseImagesDrawNothing)
{
    Canvas canvas;
    tagRasterParameter p = TenMillimetrePixels();
    CGeoImage loose(4, 4, 8, 0, 40, p);
    loose.Draw(&canvas.dc, nullptr, 10, CPoint(0, -40), CPoint(0, 0), 0);
    CGeoImageLayer layer;
    auto* empty = new CGeoImage;  // no bitmap: its width would be a divisor
    RECT r{0, 0, 40, 40};
    ASSERT_EQ(layer.Add(empty), 1);
    layer.ResetBounds(CRect(r));
    layer.Draw(&canvas.dc, nullptr, 10, CPoint(0, -40));
    for (int y = 0; y < 60; y += 7)
        for (int x = 0; x < 60; x += 7) EXPECT_EQ(canvas.At(x, y), RGB(255, 255, 255));
}

TEST(ImageDraw, ControlPointsShowTheirKind)
{
    Canvas canvas;
    CGeoGCPoint same(1), plain;
    same.CGeoPoint::operator=(CPoint(20, 20));
    plain.CGeoPoint::operator=(CPoint(40, 20));
    same.Draw(&canvas.dc, 10, 10, CPoint(0, -60), CPoint(0, 0), nullptr, 0, 0, 0, 0, nullptr, 0);
    plain.Draw(&canvas.dc, 10, 10, CPoint(0, -60), CPoint(0, 0), nullptr, 0, 0, 0, 0, nullptr, 0);
    // Crosses at device (20, 40) and (40, 40): a vertical stroke above each centre.
    EXPECT_EQ(canvas.At(20, 38), RGB(0, 0, 255));
    EXPECT_EQ(canvas.At(40, 38), RGB(255, 0, 0));
    const CRect b = plain.GetDrawBounds(10, CPoint(0, -60), CPoint(0, 0), 0, nullptr);
    const int r3 = 3 * GetCrossRadius();
    EXPECT_EQ(b, CRect(40 - r3, 40 - r3 - 20, 40 + r3 + 100, 40 + r3));
    EXPECT_EQ(same.GetDrawBounds(10, CPoint(0, -60), CPoint(0, 0), 0, nullptr).right, 20 + r3 + 100 + 10 * GetCrossRadius());
    CGeoGCPoint g;
    g.SetPixelPoint(CPoint(1234, 5678));
    EXPECT_EQ(g.GetX(0), 1234);
    EXPECT_EQ(g.GetY(0), 5678);
    EXPECT_EQ(g.CanAutoRemoveByLayer(), 0);
}
