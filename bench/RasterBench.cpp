// Rectification and drawing speed of images, against gdalwarp on the same data in the same run.
//
// Resample: an 8000 x 9500 8-bit image, control points on a 2nd-order model, orders 1-3, nearest and
// bilinear, against `gdalwarp -order N` single-threaded with an exact transformer. Draw: a 1920 x 1080
// view over a 20000 x 20000 image against the same view over a 2000 x 2000 image (the cost should
// follow the view, so the ratio should stay near 1).
#include "raster/GeoImage.h"
#include "raster/GeoImageLayer.h"

#include <afx/Dc.h>
#include <win32/gdirecord.h>

#include <tiffio.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

double Seconds(const std::chrono::steady_clock::time_point& t0)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

bool WriteTiff(const std::string& path, int w, int h)
{
    TIFF* t = TIFFOpen(path.c_str(), "w");
    if (!t) return false;
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, w);
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, h);
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
    TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, 64);
    std::vector<unsigned char> row(w);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) row[x] = static_cast<unsigned char>((x ^ y) + (x * y >> 9));
        TIFFWriteScanline(t, row.data(), y, 0);
    }
    TIFFClose(t);
    return true;
}

void Ground(double x, double y, double& X, double& Y)
{
    X = 500000 + 1.02 * x + 0.01 * y + 2e-7 * x * x;
    Y = 3400000 + 0.99 * y - 0.02 * x + 1e-7 * x * y;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string dir = argc > 1 ? argv[1] : "/tmp";
    const std::string src = dir + "/raster_bench_src.tif", gcp = dir + "/raster_bench_gcp.tif",
                      out = dir + "/raster_bench_gdal.tif";
    const int W = 8000, H = 9500;
    if (!WriteTiff(src, W, H)) return 1;
    CGeoImage image;
    if (!image.LoadRasterFile(src.c_str())) return 1;
    std::ostringstream gcps;
    gcps.precision(15);
    for (int j = 0; j <= 5; ++j)
        for (int i = 0; i <= 5; ++i) {
            const double x = (W - 1) * i / 5.0, y = (H - 1) * j / 5.0;
            double X, Y;
            Ground(x, y, X, Y);
            auto* g = new CGeoGCPoint;
            g->SetPixelPoint(CPoint(static_cast<LONG>(x * 10), static_cast<LONG>(y * 10)));
            g->SetGCPX(X);
            g->SetGCPY(Y);
            image.GetGCPoints()->AddTail(g);
            gcps << " -gcp " << x + 0.5 << " " << H - 0.5 - y << " " << X << " " << Y;
        }
    if (std::system(("gdal_translate -q" + gcps.str() + " " + src + " " + gcp).c_str()) != 0) {
        std::printf("gdal_translate failed; is gdal-bin installed?\n");
        return 1;
    }
    const CRect extent(500000, 3409300, 508000, 3399800);
    const double p = 1.0;
    const int w = 8000, h = 9500;
    std::printf("Resample %d x %d 8-bit -> %d x %d\n", W, H, w, h);
    for (int order = 1; order <= 3; ++order)
        for (int method = 0; method <= 1; ++method) {
            auto t0 = std::chrono::steady_clock::now();
            CGeoImage* result = nullptr;
            image.Resample(order, "", result, extent, p, EdInterpolateMethod(method));
            const double ours = Seconds(t0);
            delete result;
            char cmd[1024];
            std::snprintf(cmd, sizeof cmd,
                          "gdalwarp -q -overwrite -order %d -r %s -et 0 -wo NUM_THREADS=1 -te %.1f %.1f %.1f %.1f "
                          "-ts %d %d %s %s",
                          order, method ? "bilinear" : "near", extent.left + p / 2, extent.bottom - p / 2,
                          extent.right + p / 2, extent.top - p / 2, w, h, gcp.c_str(), out.c_str());
            t0 = std::chrono::steady_clock::now();
            const int rc = std::system(cmd);
            const double gdal = Seconds(t0);
            std::printf("  order %d %-8s  ours %.3f s  gdalwarp %.3f s%s  ratio %.2f\n", order,
                        method ? "bilinear" : "nearest", ours, gdal, rc ? " (failed)" : "", ours / gdal);
        }

    // Drawing: the same view over a small and a large image.
    auto drawTime = [](int size) {
        tagRasterParameter rp{};
        rp.m_nScale = 10;
        rp.m_dXResolution = rp.m_dYResolution = 25.4;
        rp.m_dPixelSize = 1.0;  // one millimetre per pixel, one device pixel at scale 10
        CGeoImageLayer layer;
        auto* big = new CGeoImage(size, size, 8, 0, size, rp);
        layer.Add(big);
        CDC dc;
        dc.Attach(win32::CreateImageDC(1920, 1080));
        const int repeats = 5;
        auto t0 = std::chrono::steady_clock::now();
        for (int i = 0; i < repeats; ++i) layer.Draw(&dc, nullptr, 10, CPoint(-size / 3, -size / 2));
        const double s = Seconds(t0) / repeats;
        ::DeleteDC(dc.Detach());
        return s;
    };
    const double small = drawTime(2000), large = drawTime(20000);
    std::printf("Draw 1920 x 1080 view: over 2000^2 %.4f s, over 20000^2 %.4f s, ratio %.2f\n", small, large,
                large / small);
    std::remove(src.c_str());
    std::remove(gcp.c_str());
    std::remove(out.c_str());
    return 0;
}
