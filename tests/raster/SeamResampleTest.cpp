#include "raster/GeoImage.h"
#include "raster/GeoMosaicPLine.h"
#include "vector/GeoTinPoint.h"

#include "ImageFixtures.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

using namespace imagefixtures;

namespace {

tagRasterParameter Parameter(double g = 1.0)
{
    tagRasterParameter p{};
    p.m_nScale = 50000;
    p.m_dXResolution = p.m_dYResolution = 400.0;
    p.m_dPixelSize = g;
    return p;
}

int Pattern(int x, int y) { return 20 + (x * 5 + y * 11) % 200; }

// A 40 x 30 image, 1 unit per pixel, its bounds (0, 0) .. (40, 30): map position = pixel position.
std::unique_ptr<CGeoImage> Image(int (*value)(int, int) = Pattern)
{
    tagRasterParameter p = Parameter();
    auto image = std::make_unique<CGeoImage>(40, 30, 8, 0, 30, p);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) image->SetPixelValue(value(x, y), x, y);
    return image;
}

CGeoMosaicPLine* Line(std::initializer_list<std::pair<int, int>> points, const char* head, const char* tail)
{
    auto* line = new CGeoMosaicPLine;
    for (auto [x, y] : points) line->AddPoint(x, y, x, y);
    line->SetHeadNodeName(head);
    line->SetTailNodeName(tail);
    return line;
}

// Seam lines closing the ring (5, 5) - (35, 5) - (35, 25) - (5, 25).
void AddRing(CGeoImage& image)
{
    auto* lines = image.GetMosaicLines();
    lines->AddTail(Line({{5, 5}, {20, 5}, {35, 5}}, "N1", "N2"));
    lines->AddTail(Line({{35, 5}, {35, 25}}, "N2", "N3"));
    lines->AddTail(Line({{35, 25}, {20, 25}, {5, 25}}, "N3", "N4"));
    lines->AddTail(Line({{5, 25}, {5, 5}}, "N4", "N1"));
}

bool Inside(int x, int y) { return x > 5 && x < 34 && y > 5 && y < 24; }

}  // namespace

TEST(ReSampleB, CutsTheImageAlongItsSeamWhateverFlagAContourBuildLeft)
{
    for (int minusY : {1, 0}) {
        SCOPED_TRACE(minusY);
        // A contour TIN clears the process-wide flag; the seam's pixel positions must not depend on it.
        CGeoTinPoint::SetMinusY(minusY);
        auto image = Image([](int x, int y) { return (x == 10 && y == 10) ? 0 : Pattern(x, y); });
        AddRing(*image);
        ProgressScope progress;
        CGeoPolygonLine boundary;
        CGeoImage* out = nullptr;
        ASSERT_EQ(image->ReSampleB(out, boundary, 0, 0.0, CRect(0, 0, 0, 0), IMAGE_NONE, nullptr), 1);
        std::unique_ptr<CGeoImage> hold(out);
        ASSERT_EQ(out->GetDIB()->GetWidth(), 40);
        ASSERT_EQ(out->GetDIB()->GetHeight(), 30);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x) {
                const int v = out->GetPixelValue(x, y);
                if (Inside(x, y)) {
                    ASSERT_EQ(v, std::max(1, image->GetPixelValue(x, y))) << x << "," << y;  // a sampled 0 is 1
                } else if (x < 4 || x > 36 || y < 4 || y > 26) {
                    ASSERT_EQ(v, 0) << x << "," << y;
                }
            }
        EXPECT_EQ(out->GetPixelValue(10, 10), 1);
        EXPECT_EQ(progress.wnd.messages.front().id, 1224u);
        EXPECT_EQ(progress.wnd.messages.back().id, 1226u);
    }
    CGeoTinPoint::SetMinusY(1);
}

TEST(ReSampleB, OneSideOfASeamLine)
{
    // A north-south seam at x = 30; the image lies west of it: the seam closed with the west corners.
    auto image = Image();
    std::unique_ptr<CGeoMosaicPLine> seam(Line({{30, 0}, {30, 15}, {30, 29}}, "S1", "S2"));
    CGeoPolygonLine boundary;
    CGeoImage* out = nullptr;
    ASSERT_EQ(image->ReSampleB(out, boundary, 0, 0.0, CRect(0, 0, 0, 0), IMAGE_WEST, seam.get()), 1);
    std::unique_ptr<CGeoImage> hold(out);
    EXPECT_GE(boundary.GetPoints(), 5);
    for (int y = 2; y < 28; ++y) {
        for (int x = 2; x < 28; ++x) ASSERT_NE(out->GetPixelValue(x, y), 0) << x << "," << y;
        for (int x = 31; x < 40; ++x) ASSERT_EQ(out->GetPixelValue(x, y), 0) << x << "," << y;
    }
}

TEST(ReSampleB, RefusesWhatItCannotSize)
{
    auto image = Image();
    CGeoPolygonLine boundary;
    CGeoImage* out = nullptr;
    // Lines that do not close give no network.
    image->GetMosaicLines()->AddTail(Line({{5, 5}, {35, 5}}, "N1", "N2"));
    image->GetMosaicLines()->AddTail(Line({{35, 5}, {35, 25}}, "N2", "N3"));
    EXPECT_EQ(image->ReSampleB(out, boundary, 0, 0.0, CRect(0, 0, 0, 0), IMAGE_NONE, nullptr), 0);
    EXPECT_EQ(out, nullptr);
    tagRasterParameter zero = Parameter(0.0);
    CGeoImage flat(40, 30, 8, 0, 30, zero);
    AddRing(flat);
    EXPECT_EQ(flat.ReSampleB(out, boundary, 0, 0.0, CRect(0, 0, 40, 30), IMAGE_NONE, nullptr), 0);
}

TEST(ReSampleMosaic, KeepsMosaicValuesUnderZeroSamplesAndFillsHolesFromTheNeighbourhood)
{
    // Source zeros: one pixel over a mosaic value, one over a mosaic hole, and a 5 x 5 block.
    auto image = Image([](int x, int y) {
        if ((x == 10 && y == 10) || (x == 20 && y == 12)) return 0;
        if (x >= 25 && x <= 29 && y >= 15 && y <= 19) return 0;
        return Pattern(x, y);
    });
    AddRing(*image);
    tagRasterParameter p = Parameter();
    auto mosaic = std::make_unique<CGeoImage>(40, 30, 8, 0, 30, p);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) mosaic->SetPixelValue(33, x, y);
    mosaic->SetPixelValue(77, 10, 10);
    mosaic->SetPixelValue(0, 20, 12);
    for (int y = 15; y <= 19; ++y)
        for (int x = 25; x <= 29; ++x) mosaic->SetPixelValue(0, x, y);
    CGeoImage* target = mosaic.get();
    CGeoPolygonLine boundary;
    ASSERT_EQ(image->ReSampleMosaic(target, boundary, 0, 1, 0, 0.0, CRect(), IMAGE_NONE, nullptr), 1);
    // The mean of the non-zero source pixels of the (2s + 1)-square around (x, y).
    auto mean = [&](int x, int y, int s) {
        int sum = 0, n = 0;
        for (int j = y - s; j <= y + s; ++j)
            for (int i = x - s; i <= x + s; ++i)
                if (int v = image->GetPixelValue(i, j)) {
                    sum += v;
                    ++n;
                }
        return n ? sum / n : 0;
    };
    EXPECT_EQ(mosaic->GetPixelValue(10, 10), 77);
    EXPECT_EQ(mosaic->GetPixelValue(20, 12), mean(20, 12, 1));
    EXPECT_EQ(mosaic->GetPixelValue(27, 17), mean(27, 17, 3));  // 3 x 3 and 5 x 5 hold only zeros
    EXPECT_EQ(mosaic->GetPixelValue(25, 15), mean(25, 15, 1));
    EXPECT_EQ(mosaic->GetPixelValue(15, 20), image->GetPixelValue(15, 20));
    EXPECT_EQ(mosaic->GetPixelValue(2, 2), 33);  // outside the seam
    EXPECT_EQ(mosaic->GetPixelValue(38, 28), 33);

    // A mosaic smaller than the seam's rectangle: only its own pixels are written.
    auto small = std::make_unique<CGeoImage>(12, 9, 8, 0, 9, p);
    CGeoImage* smallTarget = small.get();
    CGeoPolygonLine again;
    ASSERT_EQ(image->ReSampleMosaic(smallTarget, again, 1, 2, 0, 0.0, CRect(), IMAGE_NONE, nullptr), 1);
    EXPECT_EQ(small->GetPixelValue(8, 7), image->GetPixelValue(8, 7));
    // Different depths cannot be copied pixel for pixel.
    auto grey24 = std::make_unique<CGeoImage>(40, 30, 24, 0, 30, p);
    CGeoImage* t24 = grey24.get();
    EXPECT_EQ(image->ReSampleMosaic(t24, again, 0, 1, 0, 0.0, CRect(), IMAGE_NONE, nullptr), 0);
}

TEST(FillInvalidArea, PaintsTheTrianglesAtTheWestAndEastEdges)
{
    testsupport::TempDir dir;
    CGeoImage::SetDebugFolder(dir.Path().c_str());
    for (int clear : {0, 1}) {
        SCOPED_TRACE(clear);
        auto image = Image();
        CTypedPtrList<CObList, CGeoMosaicPLine*> lines;
        // Edge lines (one reaching far beyond the image) and an inner triangle of three points.
        lines.AddTail(Line({{0, 0}, {0, 15}, {0, 60}}, "W1", "W2"));
        lines.AddTail(Line({{40, 0}, {40, 30}}, "E1", "E2"));
        lines.AddTail(Line({{15, 10}, {25, 10}, {20, 20}}, "I1", "I2"));
        ASSERT_EQ(image->FillInvalidArea(lines, clear), 1);
        const int painted = clear ? 0 : 255;
        EXPECT_EQ(image->GetPixelValue(2, 15), painted);
        EXPECT_EQ(image->GetPixelValue(38, 15), painted);
        EXPECT_EQ(image->GetPixelValue(20, 13), Pattern(20, 13));  // the inner triangle touches no edge
        while (!lines.IsEmpty()) delete lines.RemoveHead();
    }
    EXPECT_TRUE(std::filesystem::exists(dir("tin.dxf")));
    CGeoImage::SetDebugFolder("");

    // The control-point form: a fan of four triangles around the centre, each touching an edge.
    auto image = Image();
    CTypedPtrList<CObList, CGeoGCPoint*> points;
    for (auto [x, y] : {std::pair{0, 0}, {40, 0}, {40, 30}, {0, 30}, {20, 15}}) {
        auto* g = new CGeoGCPoint;
        g->SetGCPX(x);
        g->SetGCPY(y);
        g->SetPixelPoint(CPoint(10 * x, 10 * y));
        points.AddTail(g);
    }
    ASSERT_EQ(image->FillInvalidArea(points, 0), 1);
    EXPECT_EQ(image->GetPixelValue(20, 10), 255);
    EXPECT_EQ(image->GetPixelValue(5, 15), 255);
    while (!points.IsEmpty()) delete points.RemoveHead();
}
