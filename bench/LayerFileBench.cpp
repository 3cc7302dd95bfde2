// Layer files against their peers, on 100,000 polylines of 10 to 50 points (fixed seed):
//   - saving the layer against fwrite of the same points (the limit) and GDAL/OGR writing the same
//     lines as FlatGeobuf, Shapefile and GeoPackage;
//   - loading it, objects kept in memory, against OGR reading each of those files' features into memory;
//   - the heap bytes per point of the loaded layer, with a breakdown per object.
// Prints ratios (ours / peer); never passes or fails on time.
#include "BenchUtil.h"

#include "core/GeoMap.h"
#include "core/GeoVectorLayer.h"
#include "vector/GeoPLine.h"

#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#ifdef BENCH_HAVE_GDAL
#include <gdal.h>
#include <ogr_api.h>
#include <ogr_srs_api.h>
#endif

namespace {

const int kDefaultLines = 100000;

struct Lines {
    std::vector<std::vector<POINT>> lines;
    size_t points = 0;
};

Lines MakeLines(int n) {
    Lines out;
    std::mt19937 rng(20261210);
    std::uniform_int_distribution<int> len(10, 50), start(0, 4900000), step(-2000, 2000);
    out.lines.resize(n);
    for (auto& l : out.lines) {
        int k = len(rng);
        POINT p{start(rng), start(rng)};
        for (int i = 0; i < k; ++i) {
            l.push_back(p);
            p.x += step(rng);
            p.y += step(rng);
        }
        out.points += l.size();
    }
    return out;
}

CGeoVectorLayer* BuildLayer(const Lines& d) {
    CGeoVectorLayer* layer = CreateVectorLayer(nullptr, nullptr, "bench", "", 0);
    for (const auto& l : d.lines) layer->Add(new CGeoPLine(static_cast<int>(l.size()), l.data(), FALSE));
    return layer;
}

void WriteRaw(const Lines& d, const char* path) {
    FILE* f = std::fopen(path, "wb");
    for (const auto& l : d.lines) {
        int n = static_cast<int>(l.size());
        std::fwrite(&n, sizeof n, 1, f);
        std::fwrite(l.data(), sizeof(POINT), l.size(), f);
    }
    std::fclose(f);
}

size_t HeapInUse() { return mallinfo2().uordblks; }

#ifdef BENCH_HAVE_GDAL
void OgrWrite(const Lines& d, const char* driverName, const char* path) {
    GDALDriverH drv = GDALGetDriverByName(driverName);
    VSIUnlink(path);
    if (std::string(driverName) == "ESRI Shapefile") {
        std::string base(path, std::string(path).size() - 4);
        for (const char* ext : {".shx", ".dbf", ".prj", ".cpg"}) VSIUnlink((base + ext).c_str());
    }
    GDALDatasetH ds = GDALCreate(drv, path, 0, 0, 0, GDT_Unknown, nullptr);
    OGRLayerH layer = GDALDatasetCreateLayer(ds, "lines", nullptr, wkbLineString, nullptr);
    OGRFeatureDefnH defn = OGR_L_GetLayerDefn(layer);
    GDALDatasetStartTransaction(ds, TRUE);
    for (const auto& l : d.lines) {
        OGRFeatureH feat = OGR_F_Create(defn);
        OGRGeometryH g = OGR_G_CreateGeometry(wkbLineString);
        OGR_G_SetPointCount(g, static_cast<int>(l.size()));
        for (size_t i = 0; i < l.size(); ++i) OGR_G_SetPoint_2D(g, static_cast<int>(i), l[i].x, l[i].y);
        OGR_F_SetGeometryDirectly(feat, g);
        if (OGR_L_CreateFeature(layer, feat) != OGRERR_NONE) std::fprintf(stderr, "OGR refused a feature\n");
        OGR_F_Destroy(feat);
    }
    GDALDatasetCommitTransaction(ds);
    GDALClose(ds);
}

// Every feature read and kept, as a reader that holds the layer in memory does.
size_t OgrRead(const char* path, std::vector<OGRFeatureH>& kept) {
    GDALDatasetH ds = GDALOpenEx(path, GDAL_OF_VECTOR, nullptr, nullptr, nullptr);
    OGRLayerH layer = GDALDatasetGetLayer(ds, 0);
    OGR_L_ResetReading(layer);
    while (OGRFeatureH f = OGR_L_GetNextFeature(layer)) kept.push_back(f);
    GDALClose(ds);
    return kept.size();
}
#endif

}  // namespace

int main() {
    // BENCH_LINES makes a smaller run for profiling.
    const char* env = std::getenv("BENCH_LINES");
    const int kLines = env ? std::atoi(env) : kDefaultLines;
    Lines d = MakeLines(kLines);
    std::printf("%d polylines, %zu points\n\n", kLines, d.points);
    bench::Header();

    CGeoMap map;
    CGeoVectorLayer* layer = BuildLayer(d);
    const int rounds = 3;
    if (std::getenv("BENCH_PROFILE_LOAD")) {  // one save, then one load kept alive: for a profiler
        map.SaveLayer(layer, "bench.LYR");
        delete layer;
        for (int i = 0; i < 5; ++i) {
            CGeoLayer* loaded = map.LoadLayer("bench.LYR");
            std::printf("%d objects\n", static_cast<CGeoVectorLayer*>(loaded)->GetObjectCount());
            delete loaded;
        }
        return 0;
    }
    bench::Pair save = bench::Alternate(
        rounds, [&] { map.SaveLayer(layer, "bench.LYR"); }, [&] { WriteRaw(d, "bench.raw"); });
    bench::Row("save layer (fwrite of the same points)", save.ours, save.peer);

    bench::Pair load{1e300, 1e300};
    for (int r = 0; r < rounds; ++r) {
        load.ours = std::min(load.ours, bench::TimeOnce([&] { delete map.LoadLayer("bench.LYR"); }));
        load.peer = std::min(load.peer, bench::TimeOnce([&] {
                                 std::vector<char> buf;
                                 FILE* f = std::fopen("bench.raw", "rb");
                                 std::fseek(f, 0, SEEK_END);
                                 buf.resize(std::ftell(f));
                                 std::fseek(f, 0, SEEK_SET);
                                 size_t got = std::fread(buf.data(), 1, buf.size(), f);
                                 std::fclose(f);
                                 (void)got;
                             }));
    }
    bench::Row("load layer (fread of the same points)", load.ours, load.peer);

#ifdef BENCH_HAVE_GDAL
    GDALAllRegister();
    struct Drv {
        const char* name;
        const char* file;
    } drivers[] = {{"FlatGeobuf", "bench.fgb"}, {"ESRI Shapefile", "bench.shp"}, {"GPKG", "bench.gpkg"}};
    for (const Drv& drv : drivers) {
        bench::Pair w = bench::Alternate(
            rounds, [&] { map.SaveLayer(layer, "bench.LYR"); }, [&] { OgrWrite(d, drv.name, drv.file); });
        bench::Row(std::string("save layer (OGR ") + drv.name + " write)", w.ours, w.peer);
    }
    for (const Drv& drv : drivers) {
        bench::Pair r = bench::Alternate(
            rounds, [&] { delete map.LoadLayer("bench.LYR"); },
            [&] {
                std::vector<OGRFeatureH> kept;
                OgrRead(drv.file, kept);
                for (OGRFeatureH f : kept) OGR_F_Destroy(f);
            });
        bench::Row(std::string("load layer (OGR ") + drv.name + " read into memory)", r.ours, r.peer);
    }
#else
    std::printf("(built without GDAL: the OGR rows are left out; scripts/install-deps bench installs it)\n");
#endif

    // Memory: the heap the loaded layer holds, per point of its lines.
    delete layer;
    malloc_trim(0);
    size_t before = HeapInUse();
    CGeoLayer* loaded = map.LoadLayer("bench.LYR");
    size_t after = HeapInUse();
    auto* vl = static_cast<CGeoVectorLayer*>(loaded);
    size_t capacity = 0;
    int objects = vl->GetObjectCount();
    for (int i = 1; i <= objects; ++i) {
        auto* pl = dynamic_cast<CGeoPLine*>(vl->FindObj(static_cast<UINT>(i)));
        if (pl) capacity += static_cast<size_t>(pl->GetPointBufferSize());
    }
    double perObject = static_cast<double>(after - before) / objects;
    std::printf("\nmemory of the loaded layer: %.1f bytes per point (a point is %zu bytes)\n",
                static_cast<double>(after - before) / d.points, sizeof(POINT));
    std::printf("  per object %.0f bytes: CGeoPLine %zu, point block %.0f (%.1f points), the rest %.0f "
                "(heap headers, names, index, layer lists)\n",
                perObject, sizeof(CGeoPLine), static_cast<double>(capacity) / objects,
                static_cast<double>(d.points) / objects,
                perObject - sizeof(CGeoPLine) - static_cast<double>(capacity) / objects);
    std::printf("  the floor the object's own members set (object and points, nothing else): %.1f bytes per point\n",
                (static_cast<double>(sizeof(CGeoPLine)) * objects + static_cast<double>(capacity)) / d.points);
    delete loaded;
    return 0;
}
