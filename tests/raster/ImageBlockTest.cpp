#include "raster/GeoImage.h"

#include <gtest/gtest.h>

namespace {

tagRasterParameter Pixels(double size)
{
    tagRasterParameter p{};
    p.m_nScale = 50000;
    p.m_dXResolution = p.m_dYResolution = 400.0;
    p.m_dPixelSize = size;
    return p;
}

}  // namespace

TEST(ImageBlock, OverlapsExchangePixels)
{
    tagRasterParameter p = Pixels(1.0);
    // a covers (0, 0) - (10, 10), b covers (5, 5) - (15, 15); both 1 mm pixels.
    CGeoImage a(10, 10, 8, 0, 10, p), b(10, 10, 8, 5, 15, p);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) b.SetPixelValue(100 + 10 * y + x, x, y);
    ASSERT_EQ(a.GetBlock(&b), 1);
    EXPECT_EQ(a.GetPixelValue(5, 5), 100);  // b's south-west pixel
    EXPECT_EQ(a.GetPixelValue(9, 9), 144);
    EXPECT_EQ(a.GetPixelValue(4, 5), 0);
    a.SetPixelValue(7, 6, 6);
    ASSERT_EQ(a.PutBlock(&b), 1);
    EXPECT_EQ(b.GetPixelValue(1, 1), 7);
    EXPECT_EQ(b.GetPixelValue(6, 6), 166);  // outside the overlap

    CGeoImage far(4, 4, 8, 100, 104, p), colour(10, 10, 24, 0, 10, p);
    EXPECT_EQ(a.GetBlock(&far), 0);
    EXPECT_EQ(a.PutBlock(&far), 0);
    EXPECT_EQ(a.GetBlock(&colour), 0);
    EXPECT_EQ(colour.PutBlock(&a), 0);
}

TEST(ImageBlock, DirectConversionsIncludeBothEdges)
{
    tagRasterParameter p = Pixels(2.0);
    CGeoImage image(50, 20, 8, 100, 140, p);  // (100, 100) - (200, 140) mm
    image.SetOrigin(3.0, 4.0);               // metres: 3000, 4000 mm
    double X = 0, Y = 0, x = 0, y = 0;
    ASSERT_EQ(image.ImageCoordToMapCoordDirect(X, Y, 50.0, 0.0), 1);
    EXPECT_DOUBLE_EQ(X, 3200.0);
    EXPECT_DOUBLE_EQ(Y, 4100.0);
    EXPECT_EQ(image.ImageCoordToMapCoordDirect(X, Y, 50.5, 0.0), 0);
    EXPECT_DOUBLE_EQ(X, 3200.0);  // untouched
    ASSERT_EQ(image.MapCoordToImageCoordDirect(3200.0, 4140.0, x, y), 1);
    EXPECT_DOUBLE_EQ(x, 50.0);
    EXPECT_DOUBLE_EQ(y, 20.0);
    EXPECT_EQ(image.MapCoordToImageCoordDirect(3200.5, 4140.0, x, y), 0);
    ASSERT_EQ(image.ImageCoordToMapCoordDirect(X, Y, 12.25, 7.5), 1);
    ASSERT_EQ(image.MapCoordToImageCoordDirect(X, Y, x, y), 1);
    EXPECT_NEAR(x, 12.25, 1e-9);
    EXPECT_NEAR(y, 7.5, 1e-9);
    EXPECT_EQ(image.GetGeoPositionByPixel(CRect(5, 2, 10, 4)), CRect(110, 104, 120, 108));
}
