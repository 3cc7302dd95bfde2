// DEM speed against GDAL on the same files, in one run: each figure is our time over GDAL's.
//   bench/run_dem_bench [size]     (default 4000: a size x size int32 grid)
// Needs gdal-bin. Prints one line per operation and the peak resident memory after each of ours.
#include "terrain/GeoDEM.h"
#include "terrain/GeoDEMLayer.h"
#include "terrain/GradeSlope.h"

#include "core/GeoVectorLayer.h"

#include <afx/Dc.h>
#include <win32/gdirecord.h>

#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>

namespace {

double Now()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

template <class F>
double Time(F f)
{
    const double t = Now();
    f();
    return Now() - t;
}

double Shell(const std::string& cmd)
{
    return Time([&] {
        if (std::system((cmd + " > /dev/null 2>&1").c_str()) != 0) std::printf("  (failed: %s)\n", cmd.c_str());
    });
}

long PeakMB()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss / 1024;
}

void Report(const char* what, double ours, double gdal)
{
    std::printf("%-34s ours %7.3f s  gdal %7.3f s  ratio %5.2f  peak %ld MB\n", what, ours, gdal, ours / gdal, PeakMB());
}

// A synthetic terrain: 25 Gaussian hills and a small ripple, stored in decimetres.
std::unique_ptr<CGeoDEM> Terrain(int n)
{
    tagRasterParameter p{50000, 0, 400, 400, 10.0};
    auto dem = std::make_unique<CGeoDEM>(n, n, 32, 0, n * 10, p, 0.1);
    dem->SetUnit(6);
    dem->SetInvalidElevation(-99999);
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(0, 1);
    double hills[25][4];
    for (auto& h : hills) h[0] = u(rng) * n, h[1] = u(rng) * n, h[2] = (0.03 + 0.1 * u(rng)) * n, h[3] = 200 + 1800 * u(rng);
    LONG* v = dem->GetNodes();
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c) {
            double z = 20 * std::sin(c * 0.05) * std::cos(r * 0.07);
            for (const auto& h : hills) {
                const double d2 = (c - h[0]) * (c - h[0]) + (r - h[1]) * (r - h[1]);
                z += h[3] * std::exp(-d2 / (2 * h[2] * h[2]));
            }
            v[static_cast<size_t>(r) * n + c] = static_cast<LONG>(std::lround(z * 10));
        }
    dem->RecalcMinMax();
    return dem;
}

}  // namespace

int main(int argc, char** argv)
{
    const int n = argc > 1 ? std::atoi(argv[1]) : 4000;
    const std::string dir = "/tmp/corvane-dem-bench";
    std::system(("rm -rf " + dir + " && mkdir -p " + dir).c_str());
    std::printf("grid %d x %d int32\n", n, n);
    auto dem = Terrain(n);
    const std::string bil = dir + "/t.bil", grd = dir + "/t.grd";
    dem->SaveAsBil(CString(bil.c_str()), 32);

    {
        CGeoDEM loaded;
        const double ours = Time([&] { loaded.LoadRasterFile(CString(bil.c_str())); });
        const double gdal = Shell("gdal_translate -q -of GTiff " + bil + " " + dir + "/t.tif");
        Report("BIL load (vs gdal_translate)", ours, gdal);
    }
    {
        const double ours = Time([&] { dem->SaveAsGrd(CString(grd.c_str())); });
        const double gdal = Shell("gdal_translate -q -of AAIGrid " + bil + " " + dir + "/t.asc");
        Report(".grd write (vs AAIGrid write)", ours, gdal);
        CGeoDEM loaded;
        const double parse = Time([&] { loaded.LoadRasterFile(CString(grd.c_str())); });
        const double gdalParse = Shell("gdal_translate -q -of GTiff " + dir + "/t.asc " + dir + "/t2.tif");
        Report(".grd parse (vs AAIGrid parse)", parse, gdalParse);
    }
    {
        const double interval = (dem->GetRealMaxElevation() - dem->GetRealMinElevation()) / 40;
        CGeoVectorLayer layer;
        layer.SetUnit(6);
        int lines = 0;
        const double ours = Time([&] { lines = dem->CreateContour(layer, interval); });
        const double gdal = Shell("gdal_contour -q -i " + std::to_string(interval * 10) + " -a elev " + bil + " " + dir +
                                  "/c.gpkg");
        std::printf("  %d lines at interval %.1f m\n", lines, interval);
        Report("contours, 40 levels (vs gdal_contour)", ours, gdal);
    }
    {
        CGradeSlope* slope = nullptr;
        const double ours = Time([&] { dem->CalculateGradeSlope(slope, 0, 0); });
        delete slope;
        const double gdal = Shell("gdaldem slope -q " + bil + " " + dir + "/s.tif");
        Report("slope (vs gdaldem slope)", ours, gdal);
    }
    {
        CGeoDEMLayer layer;
        layer.SetUnit(6);
        CGeoDEM* d = dem.release();
        layer.Add(d);
        d->LevelShow(1);
        CDC dc;
        dc.Attach(win32::CreateImageDC(1920, 1080));
        RECT view{0, 0, 1920, 1080};
        const UINT scale = 5000;  // 1 m = 2 px
        const CPoint origin(0, -n * 10 * 1000);
        const double rebuild = Time([&] { layer.Draw(&dc, &view, scale, origin, CPoint(0, 0)); });
        const double redraw = Time([&] {
            for (int i = 0; i < 100; ++i) layer.Draw(&dc, &view, scale, CPoint(origin.x - i * 1000, origin.y), CPoint(0, 0));
        }) / 100;
        // The same nine classes for GDAL: equal breaks over the stored range.
        const std::string colors = dir + "/colors.txt";
        if (FILE* f = std::fopen(colors.c_str(), "w")) {
            static const int rgb[9][3] = {{0x00, 0x75, 0x21}, {0x02, 0xAE, 0x4A}, {0x49, 0xC4, 0x2E},
                                          {0xBC, 0xDF, 0x07}, {0xD5, 0xBA, 0x09}, {0xAD, 0x5A, 0x18},
                                          {0xAE, 0x69, 0x6C}, {0xBC, 0xBA, 0xBD}, {0xFF, 0xFF, 0xFF}};
            const double lo = d->GetMinElevation(), hi = d->GetMaxElevation();
            for (int i = 0; i < 9; ++i)
                std::fprintf(f, "%f %d %d %d\n", lo + i * (hi - lo) / 9, rgb[i][0], rgb[i][1], rgb[i][2]);
            std::fclose(f);
        }
        const double color = Shell("gdaldem color-relief -q -nearest_color_entry " + bil + " " + colors + " " + dir + "/r.tif");
        Report("bitmap rebuild (vs color-relief)", rebuild, color);
        std::printf("%-34s %7.4f s per 1920x1080 redraw (%.1f%% of a rebuild)\n", "redraw without rebuild", redraw,
                    100 * redraw / rebuild);
    }
    std::system(("rm -rf " + dir).c_str());
    return 0;
}
