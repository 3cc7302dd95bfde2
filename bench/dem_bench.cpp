// DEM speed against GDAL's C API in the same process, on 3000 and 4000 square grids of hills and on a
// tilted plane:
//   - contours at one interval: CreateContour into a vector layer against GDALContourGenerate into an
//     in-memory OGR layer over the same stored values; the lines per level must be as many (GDAL's lines
//     of fewer than three vertices, which the library does not keep, left out) and every vertex must lie
//     within half a cell of one of GDAL's at the same level (GDAL puts its nodes on cell centres, so its
//     grid is given the library's node positions as centres);
//   - reading the 32-bit BIL file against GDAL opening it and reading its band;
//   - reading the .grd text grid against GDAL reading the same values from an ASCII grid (AAIGrid);
//     both grids must equal the written one;
//   - slope against GDALDEMProcessing "slope" into memory; on the plane tilted along the diagonal the
//     steepest descent equals the gradient, so both slopes must agree there (to 1e-4 degree).
// Prints the best of three alternating rounds of each side and the ratio (library / GDAL); exits 1 when
// an answer differs from GDAL's.
#include "BenchUtil.h"

#include "core/GeoVectorLayer.h"
#include "core/GeoVectorObject.h"
#include "terrain/GeoDEM.h"
#include "terrain/GradeSlope.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <unordered_set>
#include <vector>

#ifdef BENCH_HAVE_GDAL
#include <gdal.h>
#include <gdal_alg.h>
#include <gdal_utils.h>
#include <cpl_conv.h>
#include <ogr_api.h>
#endif

namespace {

bool g_wrong = false;

void Fail(const std::string& what) {
    std::printf("WRONG: %s\n", what.c_str());
    g_wrong = true;
}

// 25 Gaussian hills and a small ripple (stored in decimetres), or a plane falling to the south-west.
std::unique_ptr<CGeoDEM> Terrain(int n, bool plane) {
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
            if (plane) {
                v[static_cast<size_t>(r) * n + c] = 3 * (c + r);
                continue;
            }
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

#ifdef BENCH_HAVE_GDAL

// The stored values north row first, as GDAL reads them; the library keeps the south row first.
std::vector<int32_t> NorthFirst(const CGeoDEM& dem) {
    const int w = dem.GetWidth(), h = dem.GetHeight();
    std::vector<int32_t> out(static_cast<size_t>(w) * h);
    const LONG* v = dem.GetNodes();
    for (int r = 0; r < h; ++r)
        std::copy(v + static_cast<size_t>(h - 1 - r) * w, v + static_cast<size_t>(h - r) * w,
                  out.begin() + static_cast<size_t>(r) * w);
    return out;
}

std::vector<int32_t> ReadBand(const std::string& path) {
    std::vector<int32_t> out;
    GDALDatasetH ds = GDALOpen(path.c_str(), GA_ReadOnly);
    if (!ds) return out;
    const int w = GDALGetRasterXSize(ds), h = GDALGetRasterYSize(ds);
    out.resize(static_cast<size_t>(w) * h);
    if (GDALRasterIO(GDALGetRasterBand(ds, 1), GF_Read, 0, 0, w, h, out.data(), w, h, GDT_Int32, 0, 0) != CE_None)
        out.clear();
    GDALClose(ds);
    return out;
}

// An in-memory GDAL grid of the DEM's stored values whose cell centres are the library's node positions.
GDALDatasetH MemoryGrid(CGeoDEM& dem) {
    const int w = dem.GetWidth(), h = dem.GetHeight();
    GDALDatasetH ds = GDALCreate(GDALGetDriverByName("MEM"), "", w, h, 1, GDT_Int32, nullptr);
    std::vector<int32_t> rows = NorthFirst(dem);
    if (GDALRasterIO(GDALGetRasterBand(ds, 1), GF_Write, 0, 0, w, h, rows.data(), w, h, GDT_Int32, 0, 0) != CE_None)
        Fail("the in-memory grid could not be written");
    const double cell = dem.GetCellSize();
    const double west = dem.GetPosition().left, south = static_cast<double>(dem.GetMaxY()) - (h - 1) * cell;
    double gt[6] = {west - cell / 2, cell, 0, south + (h - 1) * cell + cell / 2, 0, -cell};
    GDALSetGeoTransform(ds, gt);
    GDALSetRasterNoDataValue(GDALGetRasterBand(ds, 1), dem.GetInvalidElevation());
    return ds;
}

struct Lines {
    std::map<long long, long> perLevel;  // level (stored units) -> lines
    std::unordered_set<long long> cells;  // level and the half-cell square of each vertex
    long vertices = 0;
};

long long Key(long long level, long long cx, long long cy) { return (level * 8192 + cx) * 8192 + cy; }

void Contours(CGeoDEM& dem, double interval, int n) {
    const long long step = std::llround(interval / 0.1);
    const double cell = dem.GetCellSize();
    const double west = dem.GetPosition().left, south = static_cast<double>(dem.GetMaxY()) - (n - 1) * cell;
    GDALDatasetH grid = MemoryGrid(dem);
    int ours = 0;
    std::vector<std::unique_ptr<CGeoVectorLayer>> ourRounds;
    std::vector<GDALDatasetH> theirRounds;
    auto runOurs = [&] {
        ourRounds.push_back(std::make_unique<CGeoVectorLayer>());
        ourRounds.back()->SetUnit(6);
        ours = dem.CreateContour(*ourRounds.back(), interval);
    };
    auto runGdal = [&] {
        GDALDatasetH out = GDALCreate(GDALGetDriverByName("Memory"), "", 0, 0, 0, GDT_Unknown, nullptr);
        OGRLayerH layer = GDALDatasetCreateLayer(out, "contour", nullptr, wkbLineString, nullptr);
        OGRFieldDefnH field = OGR_Fld_Create("elev", OFTReal);
        OGR_L_CreateField(layer, field, TRUE);
        OGR_Fld_Destroy(field);
        GDALContourGenerate(GDALGetRasterBand(grid, 1), static_cast<double>(step), 0.0, 0, nullptr, TRUE,
                            dem.GetInvalidElevation(), layer, -1, 0, nullptr, nullptr);
        theirRounds.push_back(out);
    };
    const bench::Pair t = bench::Alternate(3, runOurs, runGdal);
    CGeoVectorLayer* kept = ourRounds.back().get();
    GDALDatasetH keptOut = theirRounds.back();
    bench::Row("contours of " + std::to_string(n) + "^2 hills (GDALContourGenerate)", t.ours, t.peer);

    // GDAL's lines per level and vertex squares (side half a cell, in node units: positions * 2 / cell).
    Lines theirs;
    OGRLayerH layer = GDALDatasetGetLayer(keptOut, 0);
    OGR_L_ResetReading(layer);
    while (OGRFeatureH f = OGR_L_GetNextFeature(layer)) {
        OGRGeometryH g = OGR_F_GetGeometryRef(f);
        const long long level = std::llround(OGR_F_GetFieldAsDouble(f, 0));
        const int count = OGR_G_GetPointCount(g);
        const bool closed = count > 1 && OGR_G_GetX(g, 0) == OGR_G_GetX(g, count - 1) &&
                            OGR_G_GetY(g, 0) == OGR_G_GetY(g, count - 1);
        if (count - (closed ? 1 : 0) > 2) ++theirs.perLevel[level];
        for (int i = 0; i < count; ++i) {
            const double cx = (OGR_G_GetX(g, i) - west) / cell * 2, cy = (OGR_G_GetY(g, i) - south) / cell * 2;
            theirs.cells.insert(Key(level, std::llround(std::floor(cx)), std::llround(std::floor(cy))));
        }
        OGR_F_Destroy(f);
    }
    Lines mine;
    long far = 0;
    for (int id = 1; id <= kept->GetMaxID(); ++id) {
        auto* line = static_cast<CGeoVectorObject*>(kept->FindObj(static_cast<UINT>(id)));
        if (!line) continue;
        const long long level = std::llround(line->GetZ() / 0.1);
        ++mine.perLevel[level];
        for (int i = 0; i < line->GetPoints(); ++i) {
            ++mine.vertices;
            // Within half a cell: some GDAL vertex in this or a neighbouring half-cell square.
            const double cx = (line->GetX(i) - west) / cell * 2, cy = (line->GetY(i) - south) / cell * 2;
            const long long x0 = std::llround(std::floor(cx)), y0 = std::llround(std::floor(cy));
            bool found = false;
            for (int dx = -1; dx <= 1 && !found; ++dx)
                for (int dy = -1; dy <= 1 && !found; ++dy) found = theirs.cells.count(Key(level, x0 + dx, y0 + dy)) > 0;
            if (!found) ++far;
        }
    }
    long levelsDiffering = 0;
    for (const auto& kv : theirs.perLevel)
        if (mine.perLevel[kv.first] != kv.second) ++levelsDiffering;
    for (const auto& kv : mine.perLevel)
        if (!theirs.perLevel.count(kv.first)) ++levelsDiffering;
    std::printf("    %d lines, %ld vertices over %zu levels; levels with another line count %ld; vertices "
                "farther than half a cell %ld\n",
                ours, mine.vertices, mine.perLevel.size(), levelsDiffering, far);
    if (levelsDiffering || far) Fail("contours differ from GDAL's");
    for (GDALDatasetH d : theirRounds) GDALClose(d);
    GDALClose(grid);
}

void Reads(CGeoDEM& dem, const std::string& dir, int n) {
    const std::string bil = dir + "/t.bil", grd = dir + "/t.grd", asc = dir + "/t.asc";
    dem.SaveAsBil(CString(bil.c_str()), 32);
    dem.SaveAsGrd(CString(grd.c_str()));
    {
        GDALDatasetH src = GDALOpen(bil.c_str(), GA_ReadOnly);
        GDALDatasetH copy = src ? GDALCreateCopy(GDALGetDriverByName("AAIGrid"), asc.c_str(), src, FALSE, nullptr,
                                                 nullptr, nullptr)
                                : nullptr;
        if (copy) GDALClose(copy);
        if (src) GDALClose(src);
    }
    const std::vector<int32_t> expected = NorthFirst(dem);
    const std::string size = std::to_string(n) + "^2";
    for (int k = 0; k < 2; ++k) {
        const std::string& ourFile = k == 0 ? bil : grd;
        const std::string& peerFile = k == 0 ? bil : asc;
        // Every round's result is kept until the end, so no round pays for freeing the one before.
        std::vector<std::unique_ptr<CGeoDEM>> ourRounds;
        std::vector<std::vector<int32_t>> peerRounds;
        const bench::Pair t = bench::Alternate(
            3,
            [&] {
                ourRounds.push_back(std::make_unique<CGeoDEM>());
                ourRounds.back()->LoadRasterFile(CString(ourFile.c_str()));
            },
            [&] { peerRounds.push_back(ReadBand(peerFile)); });
        const std::unique_ptr<CGeoDEM>& loaded = ourRounds.back();
        const std::vector<int32_t>& peer = peerRounds.back();
        bench::Row(k == 0 ? "read a 32-bit BIL of " + size + " (GDAL EHdr)" : "read a .grd of " + size + " (GDAL AAIGrid)",
                   t.ours, t.peer);
        const bool same = loaded->GetNodes() && loaded->GetWidth() == n && loaded->GetHeight() == n &&
                          NorthFirst(*loaded) == expected && peer == expected;
        if (!same) Fail(ourFile + ": the grids read differ");
    }
}

void Slope(CGeoDEM& dem, int n, bool check) {
    GDALDatasetH grid = MemoryGrid(dem);
    std::vector<std::unique_ptr<CGradeSlope>> ourRounds;
    std::vector<GDALDatasetH> theirRounds;
    // Vertical units (decimetres) per horizontal unit (metres): 10.
    char* argv[] = {const_cast<char*>("-of"), const_cast<char*>("MEM"), const_cast<char*>("-s"),
                    const_cast<char*>("10"), nullptr};
    GDALDEMProcessingOptions* options = GDALDEMProcessingOptionsNew(argv, nullptr);
    const bench::Pair t = bench::Alternate(
        3,
        [&] {
            CGradeSlope* slope = nullptr;
            dem.CalculateGradeSlope(slope, 0, 0);
            ourRounds.emplace_back(slope);
        },
        [&] { theirRounds.push_back(GDALDEMProcessing("", grid, "slope", nullptr, options, nullptr)); });
    CGradeSlope* ours = ourRounds.back().get();
    GDALDatasetH theirs = theirRounds.back();
    GDALDEMProcessingOptionsFree(options);
    bench::Row("slope of " + std::to_string(n) + "^2 " + (check ? "plane" : "hills") + " (GDALDEMProcessing)",
               t.ours, t.peer);
    if (check) {
        std::vector<float> deg(static_cast<size_t>(n) * n);
        if (!theirs || GDALRasterIO(GDALGetRasterBand(theirs, 1), GF_Read, 0, 0, n, n, deg.data(), n, n, GDT_Float32,
                                    0, 0) != CE_None) {
            Fail("GDAL's slope could not be read");
        } else {
            long differing = 0;
            const GRADESLOPE* g = ours->GetGradeSlopeBuffer();
            for (int r = 1; r < n - 1; ++r)
                for (int c = 1; c < n - 1; ++c) {
                    const size_t i = static_cast<size_t>(r) * n + c;
                    if (std::fabs(g[i].grade * 180.0 / M_PI - deg[i]) > 1e-4) ++differing;
                }
            std::printf("    inner cells whose slope differs from GDAL's by more than 1e-4 degree: %ld\n", differing);
            if (differing) Fail("slopes differ from GDAL's");
        }
    }
    for (GDALDatasetH d : theirRounds)
        if (d) GDALClose(d);
    GDALClose(grid);
}

#endif

}  // namespace

int main() {
#ifndef BENCH_HAVE_GDAL
    std::printf("GDAL (libgdal-dev) not available: nothing to measure against\n");
    return 0;
#else
    GDALAllRegister();
    CPLSetConfigOption("GDAL_NUM_THREADS", "1");
    char tmpl[] = "/tmp/corvane-dem-bench-XXXXXX";
    const char* made = mkdtemp(tmpl);
    if (!made) return 1;
    const std::string dir = made;
    bench::Header();
    for (int n : {3000, 4000}) {
        auto dem = Terrain(n, false);
        const double interval = (dem->GetRealMaxElevation() - dem->GetRealMinElevation()) / 40;
        Contours(*dem, std::round(interval), n);
        Reads(*dem, dir, n);
        Slope(*dem, n, false);
    }
    auto plane = Terrain(4000, true);
    Slope(*plane, 4000, true);
    std::system(("rm -rf " + dir).c_str());
    return g_wrong ? 1 : 0;
#endif
}
