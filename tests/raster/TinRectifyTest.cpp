#include "raster/GeoImage.h"
#include "raster/GeoTinRectifier.h"
#include "raster/Polynomial.h"
#include "raster/RasterTinHooks.h"

#include "ImageFixtures.h"
#include "support/TempDir.h"

#include <afx/afxtest.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <random>
#include <sstream>

using namespace imagefixtures;

namespace {

int Pattern(int x, int y) { return 1 + ((x * 7 + y * 13 + (x * y) % 11) % 254); }

tagRasterParameter Parameter(double pixelSize)
{
    tagRasterParameter p{};
    p.m_nScale = 50000;
    p.m_dXResolution = p.m_dYResolution = 400.0;
    p.m_dPixelSize = pixelSize;
    return p;
}

// An 8-bit image of w x h pixels filled with Pattern (never 0), its bounds' west edge at x0 and north
// edge at y0, pixels of size g.
std::unique_ptr<CGeoImage> Source(int w, int h, int x0 = 0, int y0 = 0, double g = 1.0, int bits = 8)
{
    tagRasterParameter p = Parameter(g);
    auto image = std::make_unique<CGeoImage>(w, h, bits, x0, y0 == 0 ? h : y0, p);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (bits == 24)
                image->SetPixel(RGB(Pattern(x, y), Pattern(y, x), 9), x, y);
            else
                image->SetPixelValue(Pattern(x, y) & ((1 << bits) - 1), x, y);
        }
    return image;
}

CGeoGCPoint* Gcp(double E, double N, double px, double py)
{
    auto* g = new CGeoGCPoint;
    g->SetGCPX(E);
    g->SetGCPY(N);
    g->SetPixelPoint(CPoint(static_cast<LONG>(std::lround(px * 10)), static_cast<LONG>(std::lround(py * 10))));
    return g;
}

struct PointList {
    CTypedPtrList<CObList, CGeoGCPoint*> list;
    ~PointList()
    {
        while (!list.IsEmpty()) delete list.RemoveHead();
    }
};

// Answers every message box with OK and remembers the texts.
class BoxDriver : public CUserDriver {
public:
    std::vector<std::string> texts;
    int OnMessageBox(const CString& text, UINT, UINT) override
    {
        texts.push_back(static_cast<const char*>(text));
        return IDOK;
    }
    int OnFileDialog(CFileDialog&, CString&) override { return IDCANCEL; }
};

struct BoxScope {
    BoxDriver driver;
    BoxScope() { AfxSetUserDriver(&driver); }
    ~BoxScope() { AfxSetUserDriver(nullptr); }
};

// The warp used for the scanned-sheet tests: ground (metres) of a pixel, gently non-linear.
void Warp(double x, double y, double& E, double& N)
{
    E = 500000.0 + 2.0 * x + 0.15 * y + 0.004 * x * y;
    N = 3300000.0 + 2.0 * y - 0.1 * x + 0.003 * x * x;
}

}  // namespace

TEST(TinRectifier, AffineIsExactAtVerticesAndFallsBackEdgewiseWhenFlat)
{
    struct Case {
        CGeoTinRectifier::Vertex v[3];
        bool flat;
    } cases[] = {
        {{{0, 0, 5, 7}, {100, 0, 55, 9}, {0, 100, 4, 57}}, false},
        {{{500000, 3300000, 10, 20}, {500040, 3300010, 30, 24}, {500010, 3300050, 13, 45}}, false},
        {{{0, 0, 5, 7}, {10, 20, 15, 17}, {20, 40, 25, 27}}, true},  // on one line
    };
    for (const Case& c : cases) {
        double A[6];
        CGeoTinRectifier::SolveAffine(c.v, A);
        if (!c.flat) {
            for (const auto& v : c.v) {
                EXPECT_NEAR(A[0] + A[1] * v.E + A[2] * v.N, v.x, 1e-6);
                EXPECT_NEAR(A[3] + A[4] * v.E + A[5] * v.N, v.y, 1e-6);
            }
        } else {
            // Scaled along the first edge: vertices 0 and 1 land on their pixels.
            EXPECT_DOUBLE_EQ(A[1], 1.0);
            EXPECT_DOUBLE_EQ(A[5], 0.5);
            EXPECT_DOUBLE_EQ(A[2], 0.0);
            EXPECT_DOUBLE_EQ(A[4], 0.0);
            for (int i = 0; i < 2; ++i) {
                EXPECT_NEAR(A[0] + A[1] * c.v[i].E, c.v[i].x, 1e-9);
                EXPECT_NEAR(A[3] + A[5] * c.v[i].N, c.v[i].y, 1e-9);
            }
        }
    }
}

TEST(TinRectifier, FindAgreesWithAScanOfEveryTriangleFromTheLast)
{
    // A scattered point set triangulated by the library's TIN.
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(0.0, 1000.0);
    PointList points;
    for (int i = 0; i < 300; ++i) points.list.AddTail(Gcp(u(rng), u(rng), u(rng), u(rng)));
    // The TIN runs in pixel space; give every point its map position at its pixel position so that the
    // map triangles are proper too.
    for (POSITION pos = points.list.GetHeadPosition(); pos;) {
        CGeoGCPoint* g = points.list.GetNext(pos);
        g->SetGCPX(g->GetPixelPoint().x / 10.0);
        g->SetGCPY(g->GetPixelPoint().y / 10.0);
    }
    std::vector<tagRasterTinTriangle> tin;
    ASSERT_TRUE(GetRasterTinHooks().pfnControlPointTin);
    ASSERT_TRUE(GetRasterTinHooks().pfnControlPointTin(points.list, tin));
    ASSERT_GT(tin.size(), 400u);
    std::vector<CGeoTinRectifier::Triangle> triangles(tin.size());
    for (size_t k = 0; k < tin.size(); ++k)
        for (int i = 0; i < 3; ++i) {
            const auto* g = static_cast<const CGeoGCPoint*>(tin[k].pBody[i]);
            triangles[k].v[i] = {g->GetGCPX(), g->GetGCPY(), 0, 0};
            triangles[k].neighbor[i] = tin[k].nNeighbor[i];
        }
    CGeoTinRectifier engine;
    engine.SetTriangles(triangles);
    auto scan = [&](double x, double y) {
        for (int k = engine.GetTriangleCount() - 1; k >= 0; --k) {
            const auto& t = engine.GetTriangle(k);
            const double xy[6] = {t.v[0].E, t.v[0].N, t.v[1].E, t.v[1].N, t.v[2].E, t.v[2].N};
            if (PointInPolygon(x, y, 3, xy)) return k;
        }
        return -1;
    };
    // A raster walk (as the resamplers do) and scattered probes, some outside the hull.
    int misses = 0;
    for (double y = -20; y < 1020; y += 13.7)
        for (double x = -20; x < 1020; x += 9.3) {
            const int found = engine.Find(x, y);
            const int expected = scan(x, y);
            // Both must agree on whether the point is covered; a point on a shared edge may go either way.
            ASSERT_EQ(found < 0, expected < 0) << x << "," << y;
            if (found >= 0) {
                const auto& t = engine.GetTriangle(found);
                const double xy[6] = {t.v[0].E, t.v[0].N, t.v[1].E, t.v[1].N, t.v[2].E, t.v[2].N};
                ASSERT_TRUE(PointInPolygon(x, y, 3, xy));
            } else {
                ++misses;
            }
        }
    EXPECT_GT(misses, 0);
    const auto& s = engine.GetStatistics();
    // Walking from the last triangle answers most pixels of a raster walk.
    EXPECT_GT(s.current + s.walk, 3 * s.grid);
}

TEST(ReSample123, PinsTheMapRectangleAndLeavesNoControlPoints)
{
    // Odd sizes: no sample position falls exactly between two source pixels.
    const int W = 41, H = 31;
    const double g = 10.0;
    auto src = Source(W, H, 1000, 2000 + int(H * g), g);
    src->GetGCPoints()->AddTail(Gcp(1, 2, 3, 4));
    const CRect B = src->GetBounds();
    ASSERT_EQ(B, CRect(1000, 2000, 1000 + int(W * g), 2000 + int(H * g)));
    // The inner rectangle where the bounds' own linear map puts it: one affine over everything.
    auto px = [&](double E) { return (E - B.left) * (W - 1) / (W * g); };
    auto py = [&](double N) { return (N - B.top) * (H - 1) / (H * g); };
    // An inner rectangle whose pixel rectangle lies on whole pixels of that map: (82, 62) m from the
    // corner is pixel (8, 6), (328, 248) m is (32, 24).
    const CRect mapRect(1000 + 82, 2000 + 62, 1000 + 328, 2000 + 248);
    const CRect pixelRect(8, 6, 32, 24);
    ASSERT_DOUBLE_EQ(px(mapRect.left), 8.0);
    ASSERT_DOUBLE_EQ(py(mapRect.bottom), 24.0);
    ProgressScope progress;
    CGeoImage* out = nullptr;
    ASSERT_EQ(src->ReSample123(out, mapRect, pixelRect, 0), 1);
    std::unique_ptr<CGeoImage> hold(out);
    EXPECT_EQ(src->GetGCPoints()->GetCount(), 0);
    ASSERT_EQ(out->GetDIB()->GetWidth(), W);
    ASSERT_EQ(out->GetDIB()->GetHeight(), H);
    EXPECT_EQ(out->GetUnit(), 6);
    EXPECT_EQ(out->GetBounds().left, B.left);
    EXPECT_EQ(out->GetBounds().bottom, B.bottom);
    for (int r = 0; r < H; ++r)
        for (int k = 0; k < W; ++k) {
            const double x = B.left + k * g, y = B.bottom - (r + 1) * g;
            const int ix = static_cast<int>(px(x) + 0.5), iy = static_cast<int>(py(y) + 0.5);
            const int expected = (ix < W && iy < H && y >= B.top) ? src->GetPixelValue(ix, iy) : 0;
            ASSERT_EQ(out->GetPixelValue(k, H - 1 - r), expected) << k << "," << r;
        }
    ASSERT_FALSE(progress.wnd.messages.empty());
    EXPECT_EQ(progress.wnd.messages.front().id, 1224u);
    EXPECT_EQ(progress.wnd.messages.back().id, 1226u);
}

TEST(ReSample123, RefusesAZeroPixelSizeBeforeTouchingTheControlPoints)
{
    auto src = Source(8, 8, 0, 0, 1.0);
    tagRasterParameter p = Parameter(0.0);
    CGeoImage zero(8, 8, 8, 0, 8, p);
    zero.GetGCPoints()->AddTail(Gcp(1, 2, 3, 4));
    CGeoImage* out = nullptr;
    EXPECT_EQ(zero.ReSample123(out, CRect(0, 0, 4, 4), CRect(0, 0, 4, 4), 0), 0);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(zero.GetGCPoints()->GetCount(), 1);
}

namespace {

// A scanned sheet: W x H pixels warped onto the ground by Warp, control points on a grid of pixel
// positions, the four frame corners given separately (at the pixel corners of an inner frame).
struct Sheet {
    static constexpr int W = 121, H = 101;
    std::unique_ptr<CGeoImage> image = Source(W, H);
    PointList corners;
    CRect frame;

    Sheet()
    {
        // Control points every 20 pixels, their ground from the warp, rounded to whole metres so that
        // output pixels can fall on them exactly.
        for (int y = 0; y <= 100; y += 20)
            for (int x = 0; x <= 120; x += 20) {
                double E, N;
                Warp(x, y, E, N);
                image->GetGCPoints()->AddTail(Gcp(std::round(E), std::round(N), x, y));
            }
        double E0, N0, E1, N1;
        Warp(0, 0, E0, N0);
        Warp(120, 100, E1, N1);
        frame = CRect(500000, 3300280, 500310, 3300000);
        // The frame corners: the image's corner points, by quadrant.
        const int pix[4][2] = {{0, 0}, {120, 0}, {120, 100}, {0, 100}};
        for (const auto& p : pix) {
            double E, N;
            Warp(p[0], p[1], E, N);
            corners.list.AddTail(Gcp(std::round(E), std::round(N), p[0], p[1]));
        }
    }
};

}  // namespace

TEST(PartialReSample, IsExactAtTheControlPointsAndRemovesItsOwnPoints)
{
    Sheet sheet;
    const INT_PTR before = sheet.image->GetGCPoints()->GetCount();
    ProgressScope progress;
    CGeoImage* out = nullptr;
    const double cell = 1.0;
    ASSERT_EQ(sheet.image->PartialReSample("", out, sheet.frame, cell, &sheet.corners.list, 0), 1);
    std::unique_ptr<CGeoImage> hold(out);
    EXPECT_EQ(sheet.image->GetGCPoints()->GetCount(), before);
    const int W2 = sheet.frame.Width(), H2 = sheet.frame.top - sheet.frame.bottom;
    ASSERT_EQ(out->GetDIB()->GetWidth(), W2);
    ASSERT_EQ(out->GetDIB()->GetHeight(), H2);
    // Output pixel (column k, row r from the north) samples the ground at (left + k, top - (r + 1)).
    int checked = 0;
    for (POSITION pos = sheet.image->GetGCPoints()->GetHeadPosition(); pos;) {
        const CGeoGCPoint* g = sheet.image->GetGCPoints()->GetNext(pos);
        const int k = static_cast<int>(g->GetGCPX()) - sheet.frame.left;
        const int r = sheet.frame.top - static_cast<int>(g->GetGCPY()) - 1;
        if (k < 0 || k >= W2 || r < 0 || r >= H2) continue;
        const int sx = g->GetPixelPoint().x / 10, sy = g->GetPixelPoint().y / 10;
        // Points on the sheet's edges may lie just outside the straight-sided quadrilateral of its corners.
        if (sx <= 0 || sy <= 0 || sx >= Sheet::W - 1 || sy >= Sheet::H - 1) continue;
        EXPECT_EQ(out->GetPixelValue(k, H2 - 1 - r), sheet.image->GetPixelValue(sx, sy)) << sx << "," << sy;
        ++checked;
    }
    EXPECT_GE(checked, 20);
    // Beyond the source's quadrilateral the output is background; inside it nothing is (the pattern is
    // never 0).
    EXPECT_EQ(out->GetPixelValue(W2 - 1, H2 - 1), 0);  // north-east of the sheet
    EXPECT_NE(out->GetPixelValue(W2 / 2, H2 / 2), 0);
    EXPECT_EQ(progress.wnd.messages.back().id, 1226u);
}

TEST(PartialReSample, RefusesIncompleteFramesAndKeepsThePointsOnFailure)
{
    struct Case {
        const char* what;
        int corners;       // how many of the four corners to give
        bool oneQuadrant;  // all four in the same quadrant
        double cell;
        bool breakTin;
        bool message;
    } cases[] = {
        {"three corners", 3, false, 1.0, false, true},
        {"a quadrant without a corner", 4, true, 1.0, false, true},
        {"zero cell", 4, false, 0.0, false, false},
        {"negative cell", 4, false, -2.0, false, false},
        {"no triangulation", 4, false, 1.0, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Sheet sheet;
        if (c.corners < 4) delete sheet.corners.list.RemoveTail();
        if (c.oneQuadrant) {
            // Two corners duplicated: the centre moves and the north-west quadrant stays empty.
            CGeoGCPoint* nw = sheet.corners.list.RemoveTail();
            delete nw;
            sheet.corners.list.AddTail(new CGeoGCPoint(*sheet.corners.list.GetHead()));
        }
        const INT_PTR before = sheet.image->GetGCPoints()->GetCount();
        tagRasterTinHooks saved = GetRasterTinHooks();
        if (c.breakTin) {
            tagRasterTinHooks broken = saved;
            broken.pfnControlPointTin = [](CTypedPtrList<CObList, CGeoGCPoint*>&, std::vector<tagRasterTinTriangle>&) {
                return BOOL(FALSE);
            };
            SetRasterTinHooks(broken);
        }
        BoxScope boxes;
        CGeoImage* out = reinterpret_cast<CGeoImage*>(1);
        EXPECT_EQ(sheet.image->PartialReSample("", out, sheet.frame, c.cell, &sheet.corners.list, 0), 0);
        SetRasterTinHooks(saved);
        EXPECT_EQ(out, nullptr);
        EXPECT_EQ(sheet.image->GetGCPoints()->GetCount(), before);
        if (c.message) {
            ASSERT_EQ(boxes.driver.texts.size(), 1u);
            EXPECT_EQ(boxes.driver.texts[0], "图廓点不全!");
        } else {
            EXPECT_TRUE(boxes.driver.texts.empty());
        }
    }
}

TEST(PartialReSample, AgreesWithGdalwarpTpsAtTheControlPoints)
{
    if (!HaveTool("gdalwarp") || !HaveTool("gdal_translate")) GTEST_SKIP() << "gdal-bin is not installed";
    Sheet sheet;
    testsupport::TempDir dir;
    const std::string plain = dir.Path() + "/sheet.tif", gcps = dir.Path() + "/sheet-gcp.tif",
                      warped = dir.Path() + "/warped.tif";
    CGeoImage& img = *sheet.image;
    ASSERT_TRUE(WriteGreyTiff(plain, Sheet::W, Sheet::H,
                              [&](int x, int row) { return img.GetPixelValue(x, Sheet::H - 1 - row); }));
    // GDAL counts lines from the top and puts pixel centres at +0.5.
    std::ostringstream translate;
    translate << "gdal_translate -q -a_srs EPSG:32650";
    for (POSITION pos = img.GetGCPoints()->GetHeadPosition(); pos;) {
        const CGeoGCPoint* g = img.GetGCPoints()->GetNext(pos);
        translate << " -gcp " << g->GetPixelPoint().x / 10.0 + 0.5 << ' '
                  << (Sheet::H - 1 - g->GetPixelPoint().y / 10.0) + 0.5 << ' ' << std::fixed << g->GetGCPX() << ' '
                  << g->GetGCPY();
        translate.unsetf(std::ios::fixed);
    }
    translate << ' ' << plain << ' ' << gcps;
    ASSERT_EQ(RunQuiet(translate.str()), 0);
    // Our output pixel samples its south-west corner; shift GDAL's grid so its centres fall there.
    const CRect& f = sheet.frame;
    std::ostringstream warp;
    warp << std::fixed << "gdalwarp -q -tps -r near -ot Byte -dstnodata 0 -tr 1 1 -te " << f.left - 0.5 << ' '
         << f.bottom - 0.5 << ' ' << f.right - 0.5 << ' ' << f.top - 0.5 << ' ' << gcps << ' ' << warped;
    ASSERT_EQ(RunQuiet(warp.str()), 0);
    CNewDIB theirs;
    ASSERT_TRUE(theirs.ReadFile(warped.c_str()));

    CGeoImage* out = nullptr;
    ASSERT_EQ(img.PartialReSample("", out, sheet.frame, 1.0, &sheet.corners.list, 0), 1);
    std::unique_ptr<CGeoImage> hold(out);
    const int W2 = out->GetDIB()->GetWidth(), H2 = out->GetDIB()->GetHeight();
    ASSERT_EQ(theirs.GetWidth(), W2);
    ASSERT_EQ(theirs.GetHeight(), H2);
    int atPoints = 0, equalAtPoints = 0;
    for (POSITION pos = img.GetGCPoints()->GetHeadPosition(); pos;) {
        const CGeoGCPoint* g = img.GetGCPoints()->GetNext(pos);
        const int k = static_cast<int>(g->GetGCPX()) - f.left, r = f.top - static_cast<int>(g->GetGCPY()) - 1;
        if (k < 0 || k >= W2 || r < 0 || r >= H2) continue;
        const int sx = g->GetPixelPoint().x / 10, sy = g->GetPixelPoint().y / 10;
        if (sx <= 0 || sy <= 0 || sx >= Sheet::W - 1 || sy >= Sheet::H - 1) continue;
        ++atPoints;
        equalAtPoints += out->GetPixelValue(k, H2 - 1 - r) == theirs.GetPixelIndex(k, H2 - 1 - r);
    }
    EXPECT_GE(atPoints, 20);
    EXPECT_EQ(equalAtPoints, atPoints);
    // Away from the points the two models differ; report how much.
    long long both = 0, equal = 0;
    int largest = 0;
    for (int y = 0; y < H2; ++y)
        for (int x = 0; x < W2; ++x) {
            const int a = out->GetPixelValue(x, y), b = theirs.GetPixelIndex(x, y);
            if (a == 0 || b == 0) continue;
            ++both;
            equal += a == b;
            largest = std::max(largest, std::abs(a - b));
        }
    std::printf("TIN against gdalwarp -tps: %lld of %lld pixels equal (%.1f%%), largest difference %d\n", equal, both,
                both ? 100.0 * equal / both : 0.0, largest);
    EXPECT_GT(both, W2 * H2 / 2);
}
