#include "raster/GeoImage.h"

#include "ImageFixtures.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <sstream>

using namespace imagefixtures;

namespace {

int Pattern(int x, int y) { return (x * 5 + y * 3 + (x * y) % 7) & 0xFF; }

tagRasterParameter Parameter()
{
    tagRasterParameter p{};
    p.m_nScale = 50000;
    p.m_dXResolution = p.m_dYResolution = 400.0;
    p.m_dPixelSize = 1.0;
    return p;
}

// An image of w x h pixels (rows from the bottom) filled with Pattern.
std::unique_ptr<CGeoImage> Source(int w, int h, int bits = 8)
{
    tagRasterParameter p = Parameter();
    auto image = std::make_unique<CGeoImage>(w, h, bits, 0, h, p);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (bits == 24)
                image->SetPixel(RGB(Pattern(x, y), Pattern(y, x), 7), x, y);
            else
                image->SetPixelValue(Pattern(x, y) & ((1 << bits) - 1), x, y);
        }
    return image;
}

// Control points at a grid of pixel positions; ground from toGround.
template <class F>
void AddGrid(CGeoImage& image, int w, int h, int steps, F toGround)
{
    for (int j = 0; j <= steps; ++j)
        for (int i = 0; i <= steps; ++i) {
            const double x = (w - 1) * double(i) / steps, y = (h - 1) * double(j) / steps;
            auto* g = new CGeoGCPoint;
            g->SetPixelPoint(CPoint(static_cast<LONG>(std::lround(x * 10)), static_cast<LONG>(std::lround(y * 10))));
            double X, Y;
            toGround(std::lround(x * 10) / 10.0, std::lround(y * 10) / 10.0, X, Y);
            g->SetGCPX(X);
            g->SetGCPY(Y);
            image.GetGCPoints()->AddTail(g);
        }
}

}  // namespace

TEST(Resample, ShiftSamplesTheFarCornerOfEachCell)
{
    const int W = 12, H = 9;
    for (int bits : {1, 4, 8, 24}) {
        auto src = Source(W, H, bits);
        AddGrid(*src, W, H, 2, [](double x, double y, double& X, double& Y) { X = 1000 + x; Y = 2000 + y; });
        CGeoImage* out = nullptr;
        ASSERT_EQ(src->Resample(1, "", out, CRect(1000, 2000 + H, 1000 + W, 2000), 1.0, INTERPOLATE_NEAREST), 1);
        std::unique_ptr<CGeoImage> hold(out);
        ASSERT_EQ(out->GetDIB()->GetWidth(), W);
        ASSERT_EQ(out->GetDIB()->GetHeight(), H);
        ASSERT_EQ(out->GetBitCount(), bits);
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                // Output (x, y) samples the ground at the cell's far corner: source (x + 1, y).
                if (bits == 24)
                    EXPECT_EQ(out->GetPixel(x, y), x + 1 < W ? src->GetPixel(x + 1, y) : 0u) << x << "," << y;
                else
                    EXPECT_EQ(out->GetPixelValue(x, y), x + 1 < W ? src->GetPixelValue(x + 1, y) : 0)
                        << bits << ": " << x << "," << y;
            }
    }
}

TEST(Resample, QuarterTurnIsPixelExact)
{
    const int N = 10;
    auto src = Source(N, N);
    // Pixel (u, v) lies at ground (1000 + N - v, 2000 + u): columns run north.
    AddGrid(*src, N, N, 3, [](double u, double v, double& X, double& Y) { X = 1000 + 10 - v; Y = 2000 + u; });
    CGeoImage* out = nullptr;
    ASSERT_EQ(src->Resample(2, "", out, CRect(1000, 2000 + N, 1000 + N, 2000), 1.0, INTERPOLATE_NEAREST), 1);
    std::unique_ptr<CGeoImage> hold(out);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) EXPECT_EQ(out->GetPixelValue(x, y), src->GetPixelValue(y, N - 1 - x)) << x << "," << y;
}

TEST(Resample, SizeProgressAndFailures)
{
    auto src = Source(20, 20);
    AddGrid(*src, 20, 20, 2, [](double x, double y, double& X, double& Y) { X = 2 * x; Y = 2 * y; });
    ProgressScope progress;
    CGeoImage* out = nullptr;
    ASSERT_EQ(src->Resample(1, "", out, CRect(0, 40, 1000, 0), 2.0, INTERPOLATE_BILINEAR), 1);
    std::unique_ptr<CGeoImage> hold(out);
    EXPECT_EQ(out->GetDIB()->GetWidth(), 500);
    EXPECT_EQ(out->GetDIB()->GetHeight(), 20);
    EXPECT_DOUBLE_EQ(out->GetRasterParameter().m_dPixelSize, 2.0);
    const auto& m = progress.wnd.messages;
    ASSERT_EQ(m.size(), 22u);
    EXPECT_EQ(m.front().id, 1224u);
    EXPECT_EQ(m[1].id, 1225u);
    EXPECT_EQ(m[1].w, 0);
    EXPECT_EQ(m[20].w, 95);
    EXPECT_EQ(m.back().id, 1226u);

    // No pixel size, an empty extent: refused before anything starts.
    progress.wnd.messages.clear();
    EXPECT_EQ(src->Resample(1, "", out, CRect(0, 40, 1000, 0), 0.0, INTERPOLATE_NEAREST), 0);
    EXPECT_EQ(src->Resample(1, "", out, CRect(0, 0, 1000, 40), 1.0, INTERPOLATE_NEAREST), 0);
    EXPECT_EQ(out, nullptr);
    EXPECT_TRUE(progress.wnd.messages.empty());

    // A fit that fails after the start still ends the progress display.
    tagRasterParameter lp = Parameter();
    CGeoImage line(4, 4, 8, 0, 4, lp);
    AddGrid(line, 4, 4, 2, [](double x, double, double& X, double& Y) { X = x; Y = x; });
    EXPECT_EQ(line.Resample(1, "", out, CRect(0, 4, 4, 0), 1.0, INTERPOLATE_NEAREST), 0);
    ASSERT_EQ(progress.wnd.messages.size(), 2u);
    EXPECT_EQ(progress.wnd.messages[0].id, 1224u);
    EXPECT_EQ(progress.wnd.messages[1].id, 1226u);
}

TEST(Resample, LeavesTheImagesControlPointsWhereTheyWere)
{
    auto src = Source(16, 16);
    AddGrid(*src, 16, 16, 2, [](double x, double y, double& X, double& Y) { X = 512000 + 2 * x; Y = 3398000 + 2 * y; });
    std::vector<std::pair<double, double>> before;
    for (POSITION pos = src->GetGCPoints()->GetHeadPosition(); pos;) {
        const CGeoGCPoint* g = src->GetGCPoints()->GetNext(pos);
        before.emplace_back(g->GetGCPX(), g->GetGCPY());
    }
    CGeoImage* out = nullptr;
    ASSERT_EQ(src->Resample(1, "", out, CRect(512000, 3398032, 512032, 3398000), 2.0, INTERPOLATE_NEAREST), 1);
    std::unique_ptr<CGeoImage> hold(out);
    size_t i = 0;
    for (POSITION pos = src->GetGCPoints()->GetHeadPosition(); pos; ++i) {
        const CGeoGCPoint* g = src->GetGCPoints()->GetNext(pos);
        EXPECT_EQ(g->GetGCPX(), before[i].first);
        EXPECT_EQ(g->GetGCPY(), before[i].second);
    }
    // The shifted fit still places the pixels: each cell samples its far corner, source (x + 1, y).
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 15; ++x) EXPECT_EQ(out->GetPixelValue(x, y), src->GetPixelValue(x + 1, y));
}

// The same rectification through gdalwarp: where both pick a source pixel they must pick the same one.
TEST(Resample, AgreesWithGdalwarp)
{
    if (!HaveTool("gdalwarp") || !HaveTool("gdal_translate")) GTEST_SKIP() << "GDAL tools not installed";
    testsupport::TempDir dir;
    const int W = 120, H = 90;
    ASSERT_TRUE(WriteGreyTiff(dir("src.tif"), W, H, [](int x, int row) { return Pattern(x, H - 1 - row); }));
    CGeoImage src;
    ASSERT_EQ(src.LoadRasterFile(dir("src.tif").c_str()), 1);
    auto toGround = [](double x, double y, double& X, double& Y) {
        X = 1000 + 1.1 * x + 0.05 * y + 1e-3 * x * x;
        Y = 5000 + 0.9 * y - 0.03 * x + 1e-3 * x * y;
    };
    for (int order : {1, 2, 3}) {
        while (!src.GetGCPoints()->IsEmpty()) delete src.GetGCPoints()->RemoveHead();
        AddGrid(src, W, H, 4, toGround);
        std::ostringstream gcps;
        gcps.precision(17);
        for (POSITION pos = src.GetGCPoints()->GetHeadPosition(); pos;) {
            const CGeoGCPoint* g = src.GetGCPoints()->GetNext(pos);
            // GDAL counts lines from the top and puts pixel centres at .5.
            gcps << " -gcp " << g->GetPixelPoint().x / 10.0 + 0.5 << " " << H - 0.5 - g->GetPixelPoint().y / 10.0
                 << " " << g->GetGCPX() << " " << g->GetGCPY();
        }
        ASSERT_EQ(RunQuiet("gdal_translate -q" + gcps.str() + " " + dir("src.tif") + " " + dir("gcp.tif")), 0);
        // Finer cells than the source's: GDAL widens its kernels when it reduces.
        const double p = 0.75;
        const CRect extent(1000, 5100, 1150, 4990);
        const int w = 200, h = 146;
        for (int method : {0, 1}) {
            CGeoImage* ours = nullptr;
            ASSERT_EQ(src.Resample(order, "", ours, extent, p, EdInterpolateMethod(method)), 1);
            std::unique_ptr<CGeoImage> hold(ours);
            ASSERT_EQ(ours->GetDIB()->GetWidth(), w);
            ASSERT_EQ(ours->GetDIB()->GetHeight(), h);
            // Our cells sample their far corner, GDAL's their centre: move GDAL's grid by half a cell.
            char te[256];
            std::snprintf(te, sizeof te, " -te %.6f %.6f %.6f %.6f -ts %d %d", extent.left + p / 2,
                          extent.top - p / 2 - h * p, extent.left + p / 2 + w * p, extent.top - p / 2, w, h);
            const std::string cmd = "gdalwarp -q -overwrite -order " + std::to_string(order) + " -r " +
                                    (method ? "bilinear" : "near") + " -et 0 -wo NUM_THREADS=1" + te + " " +
                                    dir("gcp.tif") + " " + dir("gdal.tif");
            ASSERT_EQ(RunQuiet(cmd), 0) << cmd;
            CNewDIB theirs;
            ASSERT_EQ(theirs.ReadFile(dir("gdal.tif").c_str()), 1);
            ASSERT_EQ(theirs.GetWidth(), w);
            int compared = 0, equal = 0, largest = 0;
            for (int y = 1; y < h - 1; ++y)
                for (int x = 1; x < w - 1; ++x) {
                    const int a = ours->GetPixelValue(x, y), b = theirs.GetPixelIndex(x, y);
                    if (a == 0 || b == 0) continue;  // off the source in either
                    ++compared;
                    equal += a == b;
                    largest = std::max(largest, std::abs(a - b));
                }
            ASSERT_GT(compared, w * h / 2);
            const double share = double(equal) / compared;
            std::printf("order %d %s: %d pixels compared, %.4f equal, largest difference %d\n", order,
                        method ? "bilinear" : "nearest", compared, share, largest);
            if (method == 0) {
                EXPECT_GT(share, 0.999) << "order " << order;
            } else {
                // Rounding and GDAL's handling of the source's last row and column differ in a few pixels.
                EXPECT_GT(share, 0.98) << "order " << order;
            }
        }
    }
}

// Every TIFF and BMP the library writes opens in GDAL with the same size, bands and pixels.
TEST(Resample, WrittenImagesOpenInGdal)
{
    if (!HaveTool("gdal_translate")) GTEST_SKIP() << "GDAL tools not installed";
    testsupport::TempDir dir;
    for (int bits : {8, 24}) {
        auto image = Source(13, 7, bits);
        for (const char* ext : {".tif", ".bmp"}) {
            const std::string path = dir(std::string("out") + std::to_string(bits) + ext);
            ASSERT_EQ(image->SaveRasterFile(path.c_str()), 1);
            const std::string raw = path + ".raw";
            // Band-interleaved-by-pixel raw bytes, top row first; colour tables expanded to RGB.
            ASSERT_EQ(RunQuiet("gdal_translate -q -of ENVI -co INTERLEAVE=BIP " + path + " " + raw),
                      0);
            const std::string bytes = testsupport::ReadFileBytes(raw);
            const int bands = bits == 24 ? 3 : 1;
            ASSERT_EQ(bytes.size(), size_t(13 * 7 * bands)) << path;
            for (int row = 0; row < 7; ++row)
                for (int x = 0; x < 13; ++x) {
                    const int y = 6 - row;
                    const unsigned char* px = reinterpret_cast<const unsigned char*>(bytes.data()) + (row * 13 + x) * bands;
                    if (bits == 8) {
                        EXPECT_EQ(px[0], image->GetPixelValue(x, y)) << path;
                    } else {
                        const DWORD c = image->GetPixel(x, y);
                        EXPECT_EQ(px[0], GetRValue(c)) << path;
                        EXPECT_EQ(px[1], GetGValue(c)) << path;
                        EXPECT_EQ(px[2], GetBValue(c)) << path;
                    }
                }
        }
    }
}
