// TIN rectification and mosaicking speed, against gdalwarp on the same data in the same run.
//
// TIN rectification: PartialReSample of a warped sheet with about 200 and 2 000 control points against
// `gdalwarp -tps` (a thin-plate spline, a different model: a speed reference only). Mosaic: four
// overlapping tiles with different brightness, each balanced at its seams and written into one mosaic
// along its seam ring (ReSampleMosaic), against `gdalwarp` of the four tiles into one image. Sizes are
// a quarter of the full ones (2000 x 2375 output, 2000 x 2000 mosaic) so that `make bench` stays quick;
// MOSAIC_BENCH_FULL=1 runs 8000 x 9500 and 8000 x 8000.
#include "raster/GeoImage.h"
#include "raster/GeoMosaicPLine.h"

#include "BenchUtil.h"

#include <tiffio.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

int Value(int x, int y) { return 20 + ((x ^ y) + (x * y >> 9)) % 200; }

bool WriteTiff(const std::string& path, CGeoImage& image)
{
    const int w = image.GetDIB()->GetWidth(), h = image.GetDIB()->GetHeight();
    TIFF* t = TIFFOpen(path.c_str(), "w");
    if (!t) return false;
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, w);
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, h);
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
    TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, 64);
    for (int r = 0; r < h; ++r) {
        const BYTE* row = image.GetDIB()->GetDIBBits() + size_t(h - 1 - r) * image.GetDIB()->GetBytesPerLine();
        TIFFWriteScanline(t, const_cast<BYTE*>(row), r, 0);
    }
    TIFFClose(t);
    return true;
}

tagRasterParameter Parameter()
{
    tagRasterParameter p{};
    p.m_nScale = 50000;
    p.m_dXResolution = p.m_dYResolution = 400.0;
    p.m_dPixelSize = 1.0;
    return p;
}

// The sheet's ground (metres) of a pixel: mildly non-linear.
void Warp(double x, double y, double& E, double& N)
{
    E = 500000.0 + 1.01 * x + 0.02 * y + 3e-7 * x * y;
    N = 3300000.0 + 0.99 * y - 0.015 * x + 2e-7 * x * x;
}

void TinRectification(const std::string& dir, int W, int H, int side)
{
    tagRasterParameter parameter = Parameter();
    CGeoImage image(W, H, 8, 0, H, parameter);
    BYTE* bits = image.GetDIB()->GetDIBBits();
    const size_t stride = image.GetDIB()->GetBytesPerLine();
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) bits[size_t(y) * stride + x] = static_cast<BYTE>(Value(x, y));
    std::ostringstream gcps;
    gcps.precision(15);
    for (int j = 0; j < side; ++j)
        for (int i = 0; i < side; ++i) {
            const double x = std::round((W - 1) * i / double(side - 1)), y = std::round((H - 1) * j / double(side - 1));
            double E, N;
            Warp(x, y, E, N);
            auto* g = new CGeoGCPoint;
            g->SetPixelPoint(CPoint(static_cast<LONG>(x * 10), static_cast<LONG>(y * 10)));
            g->SetGCPX(E);
            g->SetGCPY(N);
            image.GetGCPoints()->AddTail(g);
            gcps << " -gcp " << x + 0.5 << ' ' << H - 0.5 - y << ' ' << E << ' ' << N;
        }
    CTypedPtrList<CObList, CGeoGCPoint*> corners;
    const double pc[4][2] = {{0, 0}, {double(W - 1), 0}, {double(W - 1), double(H - 1)}, {0, double(H - 1)}};
    double minE = 1e300, maxE = -1e300, minN = 1e300, maxN = -1e300;
    for (const auto& c : pc) {
        double E, N;
        Warp(c[0], c[1], E, N);
        auto* g = new CGeoGCPoint;
        g->SetPixelPoint(CPoint(static_cast<LONG>(c[0] * 10), static_cast<LONG>(c[1] * 10)));
        g->SetGCPX(E);
        g->SetGCPY(N);
        corners.AddTail(g);
        minE = std::min(minE, E), maxE = std::max(maxE, E), minN = std::min(minN, N), maxN = std::max(maxN, N);
    }
    const CRect frame(static_cast<int>(minE), static_cast<int>(maxN), static_cast<int>(maxE), static_cast<int>(minN));
    const std::string src = dir + "/mosaic_bench_sheet.tif", gcp = dir + "/mosaic_bench_gcp.tif",
                      out = dir + "/mosaic_bench_tps.tif";
    WriteTiff(src, image);
    const bool gdal = std::system(("gdal_translate -q" + gcps.str() + " " + src + " " + gcp).c_str()) == 0;
    char cmd[1024];
    std::snprintf(cmd, sizeof cmd,
                  "gdalwarp -q -overwrite -tps -r near -wo NUM_THREADS=1 -te %d %d %d %d -tr 1 1 %s %s >/dev/null 2>&1",
                  frame.left, frame.bottom, frame.right, frame.top, gcp.c_str(), out.c_str());
    const bench::Pair t = bench::Alternate(
        1,
        [&] {
            CGeoImage* result = nullptr;
            image.PartialReSample("", result, frame, 1.0, &corners, 0);
            delete result;
        },
        [&] {
            if (gdal) std::system(cmd);
        });
    char what[128];
    std::snprintf(what, sizeof what, "TIN rectification %dx%d, %d points (gdalwarp -tps)", frame.Width(),
                  frame.top - frame.bottom, side * side);
    bench::Row(what, t.ours, gdal ? t.peer : 0.0);
    while (!corners.IsEmpty()) delete corners.RemoveHead();
    std::remove(src.c_str());
    std::remove(gcp.c_str());
    std::remove(out.c_str());
}

CGeoMosaicPLine* SeamLine(double e0, double n0, double e1, double n1, double tileE, double tileS, const char* head,
                          const char* tail)
{
    auto* line = new CGeoMosaicPLine;
    const int steps = 8;
    for (int i = 0; i <= steps; ++i) {
        const double E = e0 + (e1 - e0) * i / steps, N = n0 + (n1 - n0) * i / steps;
        line->AddPoint(E - tileE, N - tileS, E, N);
    }
    line->SetHeadNodeName(head);
    line->SetTailNodeName(tail);
    return line;
}

void Mosaic(const std::string& dir, int S)
{
    // Tiles of 0.6 S overlapping by 0.2 S; the seams run along S / 2.
    const int T = S * 3 / 5, half = S / 2;
    tagRasterParameter p = Parameter();
    struct Tile {
        int E0, S0;
        int offset;
        std::unique_ptr<CGeoImage> image;
    } tiles[4] = {{0, S - T, 0, nullptr}, {S - T, S - T, 25, nullptr}, {0, 0, -20, nullptr}, {S - T, 0, 40, nullptr}};
    const char* names[4][4] = {{"C", "N", "NW", "W"}, {"C", "E", "NE", "N"}, {"C", "W", "SW", "S"}, {"C", "S", "SE", "E"}};
    for (int k = 0; k < 4; ++k) {
        Tile& t = tiles[k];
        t.image = std::make_unique<CGeoImage>(T, T, 8, t.E0, t.S0 + T, p);
        BYTE* bits = t.image->GetDIB()->GetDIBBits();
        const size_t stride = t.image->GetDIB()->GetBytesPerLine();
        for (int y = 0; y < T; ++y)
            for (int x = 0; x < T; ++x)
                bits[size_t(y) * stride + x] = static_cast<BYTE>(Value(t.E0 + x, t.S0 + y) / 2 + 60 + t.offset);
        // The seam ring: this tile's quadrant of the mosaic, from the centre round.
        const double qe0 = t.E0 == 0 ? 0 : half, qe1 = t.E0 == 0 ? half : S;
        const double qn0 = t.S0 == 0 ? 0 : half, qn1 = t.S0 == 0 ? half : S;
        const double ce = half, cn = half;
        const double xe = qe0 == ce ? qe1 : qe0, xn = qn0 == cn ? qn1 : qn0;
        auto* lines = t.image->GetMosaicLines();
        lines->AddTail(SeamLine(ce, cn, xe, cn, t.E0, t.S0, names[k][0], names[k][1]));
        lines->AddTail(SeamLine(xe, cn, xe, xn, t.E0, t.S0, names[k][1], names[k][2]));
        lines->AddTail(SeamLine(xe, xn, ce, xn, t.E0, t.S0, names[k][2], names[k][3]));
        lines->AddTail(SeamLine(ce, xn, ce, cn, t.E0, t.S0, names[k][3], names[k][0]));
    }
    std::string inputs;
    for (int k = 0; k < 4; ++k) {
        const std::string raw = dir + "/mosaic_bench_raw" + std::to_string(k) + ".tif",
                          geo = dir + "/mosaic_bench_tile" + std::to_string(k) + ".tif";
        WriteTiff(raw, *tiles[k].image);
        char cmd[512];
        std::snprintf(cmd, sizeof cmd, "gdal_translate -q -a_ullr %d %d %d %d %s %s >/dev/null 2>&1", tiles[k].E0,
                      tiles[k].S0 + T, tiles[k].E0 + T, tiles[k].S0, raw.c_str(), geo.c_str());
        std::system(cmd);
        std::remove(raw.c_str());
        inputs += " " + geo;
    }
    const std::string out = dir + "/mosaic_bench_merged.tif";
    char cmd[1024];
    std::snprintf(cmd, sizeof cmd, "gdalwarp -q -overwrite -wo NUM_THREADS=1 -te 0 0 %d %d -tr 1 1%s %s >/dev/null 2>&1",
                  S, S, inputs.c_str(), out.c_str());
    const bench::Pair t = bench::Alternate(
        1,
        [&] {
            CGeoImage mosaic(S, S, 8, 0, S, p);
            CGeoImage* target = &mosaic;
            for (int k = 0; k < 4; ++k) {
                CGeoPolygonLine boundary;
                tiles[k].image->ReSampleMosaic(target, boundary, k, 4, 0, 0.0, CRect(), IMAGE_NONE, nullptr);
            }
        },
        [&] { std::system(cmd); });
    char what[128];
    std::snprintf(what, sizeof what, "mosaic of four tiles into %dx%d (gdalwarp of the tiles)", S, S);
    bench::Row(what, t.ours, t.peer);
    std::remove(out.c_str());
    for (int k = 0; k < 4; ++k) std::remove((dir + "/mosaic_bench_tile" + std::to_string(k) + ".tif").c_str());
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string dir = argc > 1 ? argv[1] : ".";
    const char* full = std::getenv("MOSAIC_BENCH_FULL");
    const int k = full && *full == '1' ? 4 : 1;
    bench::Header();
    TinRectification(dir, 2000 * k, 2375 * k, 14);
    TinRectification(dir, 2000 * k, 2375 * k, 45);
    Mosaic(dir, 2000 * k);
    return 0;
}
