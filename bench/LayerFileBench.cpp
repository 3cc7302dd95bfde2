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
#include <cstring>
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

// The resident-set high-water mark, reset to the present resident size by ResetPeak (Linux 4.0 on).
size_t Status(const char* key) {
    FILE* f = std::fopen("/proc/self/status", "r");
    if (!f) return 0;
    char line[256];
    size_t kb = 0;
    const size_t len = std::strlen(key);
    while (std::fgets(line, sizeof line, f))
        if (std::strncmp(line, key, len) == 0) kb = std::strtoull(line + len, nullptr, 10);
    std::fclose(f);
    return kb * 1024;
}

bool ResetPeak() {
    FILE* f = std::fopen("/proc/self/clear_refs", "w");
    if (!f) return false;
    const bool ok = std::fputs("5", f) >= 0;
    return std::fclose(f) == 0 && ok;
}

// The memory of the layer saved in bench.LYR once loaded: the heap it holds per point of its lines, with
// a breakdown per object; the resident peak while loading; and what the look-ups built by the first
// rectangle and user-ID searches add.
void PrintMemory(CGeoMap& map, const Lines& d) {
    malloc_trim(0);
    const bool peakKnown = ResetPeak();
    const size_t residentBefore = Status("VmRSS:");
    const size_t before = bench::HeapInUse();
    CGeoLayer* loaded = map.LoadLayer("bench.LYR");
    const size_t after = bench::HeapInUse();
    const size_t residentPeak = Status("VmHWM:");
    auto* vl = static_cast<CGeoVectorLayer*>(loaded);
    size_t capacity = 0;
    int objects = vl->GetObjectCount();
    // Walked through the list: looking objects up by ID would build the layer's ID tree first.
    for (POSITION p = vl->m_ObjList.GetHeadPosition(); p;) {
        auto* pl = dynamic_cast<CGeoPLine*>(static_cast<CObject*>(vl->m_ObjList.GetNext(p)));
        if (pl) capacity += static_cast<size_t>(pl->GetPointBufferSize());
    }
    const double points = static_cast<double>(d.points);
    const double perObject = static_cast<double>(after - before) / objects;
    std::printf("\nmemory of the loaded layer of %d polylines: %.1f bytes per point (a point is %zu bytes)\n",
                objects, static_cast<double>(after - before) / points, sizeof(POINT));
    std::printf("  per object %.0f bytes: CGeoPLine %zu, point block %.0f (%.1f points), the rest %.0f "
                "(heap headers, names, index, layer lists)\n",
                perObject, sizeof(CGeoPLine), static_cast<double>(capacity) / objects, points / objects,
                perObject - sizeof(CGeoPLine) - static_cast<double>(capacity) / objects);
    // The layer's object list is one of its own members too: three pointers a node.
    const double listNode = 3 * sizeof(void*);
    std::printf("  the floor the object's own members and the layer's list set (object, points, list node; no "
                "heap headers): %.1f bytes per point\n",
                ((sizeof(CGeoPLine) + listNode) * objects + static_cast<double>(capacity)) / points);
    if (peakKnown && residentPeak > residentBefore)
        std::printf("  resident peak while loading: %.1f bytes per point above the resident size before\n",
                    static_cast<double>(residentPeak - residentBefore) / points);

    // The look-ups are built by the first search that needs them and kept current from then on.
    vl->FindObj(CRect(0, 0, 1000, 1000), SELOBJ_MEET, 0);
    const size_t bounded = bench::HeapInUse();
    CGeoAccessorialObjectList found;
    vl->FindUserObj(1, found);
    const size_t indexed = bench::HeapInUse();
    std::printf("  the bounds look-up adds %.1f bytes per point (%.0f per object), the user-ID look-up %.1f (%.0f); "
                "with both: %.1f bytes per point\n",
                (bounded - after) / points, static_cast<double>(bounded - after) / objects,
                (indexed - bounded) / points, static_cast<double>(indexed - bounded) / objects,
                (indexed - before) / points);
    delete loaded;
}

}  // namespace

int main(int argc, char** argv) {
    // BENCH_LINES makes a smaller run for profiling. "bench_LayerFileBench memory N" prints only the
    // memory of a loaded layer of N lines (for the largest layers, where the peers' rounds take long).
    const char* env = std::getenv("BENCH_LINES");
    const bool memoryOnly = argc > 2 && std::strcmp(argv[1], "memory") == 0;
    const int kLines = memoryOnly ? std::atoi(argv[2]) : env ? std::atoi(env) : kDefaultLines;
    if (kLines <= 0) {
        std::fprintf(stderr, "usage: bench_LayerFileBench [memory LINES]\n");
        return 2;
    }
    Lines d = MakeLines(kLines);
    std::printf("%d polylines, %zu points\n\n", kLines, d.points);
    if (memoryOnly) {
        CGeoMap map;
        CGeoVectorLayer* layer = BuildLayer(d);
        map.SaveLayer(layer, "bench.LYR");
        delete layer;
        PrintMemory(map, d);
        return 0;
    }
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

    delete layer;
    PrintMemory(map, d);
    return 0;
}
