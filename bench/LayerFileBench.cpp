// Layer files against their peers, on 100,000 polylines of 10 to 50 points (fixed seed):
//   - saving the layer against fwrite of the same points (the limit) and GDAL/OGR writing the same
//     lines as FlatGeobuf, Shapefile and GeoPackage;
//   - loading it, objects kept in memory, against OGR reading each of those files' features into memory;
//   - the heap bytes per point of the loaded layer, with a breakdown per object.
// Two more shapes, each loaded against OGR reading FlatGeobuf, with the heap per point of both:
//   - 100,000 square cells whose 21-point rings share their arcs (a polygon layer: one arc per cell side,
//     the polygons naming their arcs), against the same rings as FlatGeobuf polygons;
//   - 300,000 two-point lines.
// "bench_LayerFileBench polygons" or "... twopoint" runs one of these shapes alone.
// Prints ratios (ours / peer); never passes or fails on time, but fails when a loaded layer does not
// hold what the peer read.
#include "BenchUtil.h"

#include "core/GeoMap.h"
#include "core/GeoVectorLayer.h"
#include "vector/GeoPLine.h"
#include "vector/GeoPolygon.h"

#include <malloc.h>

#include <cmath>
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

// ---- other shapes -----------------------------------------------------------------------------------

// A k x k grid of square cells 1000 units wide. Each side is one arc of 6 points (the 4 inner points a
// little off the straight line, the same on both cells that share it), so a cell's ring, walked once
// round, has 21 points (20 distinct and the first again).
struct Cells {
    int k = 0;
    std::vector<std::vector<POINT>> horizontal, vertical;  // (k + 1) rows of k; (k + 1) columns of k
    const std::vector<POINT>& H(int i, int j) const { return horizontal[static_cast<size_t>(j) * k + i]; }
    const std::vector<POINT>& V(int i, int j) const { return vertical[static_cast<size_t>(i) * k + j]; }
    size_t RingPoints() const { return static_cast<size_t>(k) * k * 21; }
    // The ring of cell (i, j) counter-clockwise from its lower left corner, closed.
    std::vector<POINT> Ring(int i, int j) const {
        std::vector<POINT> r;
        auto walk = [&](const std::vector<POINT>& arc, bool forward) {
            for (size_t n = 0; n + 1 < arc.size(); ++n) r.push_back(forward ? arc[n] : arc[arc.size() - 1 - n]);
        };
        walk(H(i, j), true);
        walk(V(i + 1, j), true);
        walk(H(i, j + 1), false);
        walk(V(i, j), false);
        r.push_back(r.front());
        return r;
    }
};

Cells MakeCells(int polygons) {
    Cells c;
    c.k = static_cast<int>(std::sqrt(static_cast<double>(polygons)) + 0.5);
    std::mt19937 rng(4321);
    std::uniform_int_distribution<int> wobble(-40, 40);
    const int side = 1000;
    for (int j = 0; j <= c.k; ++j)
        for (int i = 0; i < c.k; ++i) {
            std::vector<POINT> arc;
            for (int n = 0; n <= 5; ++n)
                arc.push_back({i * side + n * side / 5, j * side + (n == 0 || n == 5 ? 0 : wobble(rng))});
            c.horizontal.push_back(arc);
        }
    for (int i = 0; i <= c.k; ++i)
        for (int j = 0; j < c.k; ++j) {
            std::vector<POINT> arc;
            for (int n = 0; n <= 5; ++n)
                arc.push_back({i * side + (n == 0 || n == 5 ? 0 : wobble(rng)), j * side + n * side / 5});
            c.vertical.push_back(arc);
        }
    return c;
}

CGeoVectorLayer* BuildCellLayer(const Cells& c) {
    CGeoVectorLayer* layer = CreateVectorLayer(nullptr, nullptr, "cells", "", 0);
    std::vector<DWORD> h, v;
    for (const auto& arc : c.horizontal) {
        CGeoPLine* line = new CGeoPLine(static_cast<int>(arc.size()), arc.data(), FALSE);
        layer->Add(line);
        h.push_back(line->GetID());
    }
    for (const auto& arc : c.vertical) {
        CGeoPLine* line = new CGeoPLine(static_cast<int>(arc.size()), arc.data(), FALSE);
        layer->Add(line);
        v.push_back(line->GetID());
    }
    for (int j = 0; j < c.k; ++j)
        for (int i = 0; i < c.k; ++i) {
            CGeoPolygon* polygon = new CGeoPolygon;
            layer->Add(polygon);
            CGeoKeyString keys;
            keys.Add(static_cast<LONG>(h[static_cast<size_t>(j) * c.k + i]));
            keys.Add(static_cast<LONG>(v[static_cast<size_t>(i + 1) * c.k + j]));
            keys.Add(-static_cast<LONG>(h[static_cast<size_t>(j + 1) * c.k + i]));
            keys.Add(-static_cast<LONG>(v[static_cast<size_t>(i) * c.k + j]));
            keys.Add(POLYGON_RING_END);
            polygon->SetKeyString(keys);
        }
    return layer;
}

// What a loaded layer holds, to be compared with what the peer read: the number of polygons (or lines),
// their points (a ring counted once round, as the peer stores it), and the sum of the x coordinates.
struct Summary {
    long long items = 0, points = 0, sumX = 0;
    bool operator==(const Summary& o) const { return items == o.items && points == o.points && sumX == o.sumX; }
};

Summary Summarise(CGeoVectorLayer* layer) {
    Summary s;
    for (POSITION p = layer->m_ObjList.GetHeadPosition(); p;) {
        CObject* o = static_cast<CObject*>(layer->m_ObjList.GetNext(p));
        if (auto* polygon = dynamic_cast<CGeoPolygon*>(o)) {
            POINT* pts = nullptr;
            int* sizes = nullptr;
            int rings = 0;
            polygon->GetPolyData(&pts, &sizes, rings);
            ++s.items;
            // The ring data keeps both ends of every arc; the peer's ring has each corner once.
            int at = 0;
            for (int r = 0; r < rings; ++r) {
                for (int n = 0; n < sizes[r]; ++n) {
                    const bool repeated = n > 0 && pts[at + n].x == pts[at + n - 1].x && pts[at + n].y == pts[at + n - 1].y;
                    if (!repeated) {
                        ++s.points;
                        s.sumX += pts[at + n].x;
                    }
                }
                at += sizes[r];
            }
            if (!GetUseData()) {
                delete[] pts;
                delete[] sizes;
            }
        }
    }
    return s;
}

Summary SummariseLines(CGeoVectorLayer* layer) {
    Summary s;
    for (POSITION p = layer->m_ObjList.GetHeadPosition(); p;) {
        auto* line = dynamic_cast<CGeoPLine*>(static_cast<CObject*>(layer->m_ObjList.GetNext(p)));
        if (!line) continue;
        ++s.items;
        const POINT* pts = line->GetPointBuffer();
        for (int n = 0; n < line->GetPoints(); ++n) {
            ++s.points;
            s.sumX += pts[n].x;
        }
    }
    return s;
}

#ifdef BENCH_HAVE_GDAL
void OgrWritePolygons(const Cells& c, const char* path) {
    GDALDriverH drv = GDALGetDriverByName("FlatGeobuf");
    VSIUnlink(path);
    GDALDatasetH ds = GDALCreate(drv, path, 0, 0, 0, GDT_Unknown, nullptr);
    OGRLayerH layer = GDALDatasetCreateLayer(ds, "cells", nullptr, wkbPolygon, nullptr);
    OGRFeatureDefnH defn = OGR_L_GetLayerDefn(layer);
    for (int j = 0; j < c.k; ++j)
        for (int i = 0; i < c.k; ++i) {
            const std::vector<POINT> r = c.Ring(i, j);
            OGRGeometryH ring = OGR_G_CreateGeometry(wkbLinearRing);
            OGR_G_SetPointCount(ring, static_cast<int>(r.size()));
            for (size_t n = 0; n < r.size(); ++n) OGR_G_SetPoint_2D(ring, static_cast<int>(n), r[n].x, r[n].y);
            OGRGeometryH polygon = OGR_G_CreateGeometry(wkbPolygon);
            OGR_G_AddGeometryDirectly(polygon, ring);
            OGRFeatureH feat = OGR_F_Create(defn);
            OGR_F_SetGeometryDirectly(feat, polygon);
            if (OGR_L_CreateFeature(layer, feat) != OGRERR_NONE) std::fprintf(stderr, "OGR refused a feature\n");
            OGR_F_Destroy(feat);
        }
    GDALClose(ds);
}

// The same summary of what OGR read: rings counted without their closing point, as ours.
Summary SummariseOgr(const std::vector<OGRFeatureH>& kept) {
    Summary s;
    for (OGRFeatureH f : kept) {
        OGRGeometryH g = OGR_F_GetGeometryRef(f);
        if (!g) continue;
        ++s.items;
        const bool polygon = wkbFlatten(OGR_G_GetGeometryType(g)) == wkbPolygon;
        const int parts = polygon ? OGR_G_GetGeometryCount(g) : 1;
        for (int r = 0; r < parts; ++r) {
            OGRGeometryH part = polygon ? OGR_G_GetGeometryRef(g, r) : g;
            const int n = OGR_G_GetPointCount(part);
            for (int m = 0; m < n; ++m) {
                ++s.points;
                s.sumX += static_cast<long long>(OGR_G_GetX(part, m));
            }
        }
    }
    return s;
}
#endif

// Loads `file` once more to measure the heap it takes, and the peer's heap for what it read.
double HeapOfLoad(CGeoMap& map, const char* file) {
    malloc_trim(0);
    const size_t before = bench::HeapInUse();
    CGeoLayer* loaded = map.LoadLayer(file);
    const size_t after = bench::HeapInUse();
    delete loaded;
    return static_cast<double>(after - before);
}

// Times loading `file` against OGR reading `peerFile`, checks both read the same, and prints the heap
// per point of both.
int LoadRows(CGeoMap& map, const char* what, const char* file, const char* peerFile, double points,
             const Summary& expected, bool polygons) {
    const int rounds = 3;
    int failed = 0;
    {
        CGeoLayer* loaded = map.LoadLayer(file);
        auto* vl = dynamic_cast<CGeoVectorLayer*>(loaded);
        const Summary got = vl ? (polygons ? Summarise(vl) : SummariseLines(vl)) : Summary();
        delete loaded;
        if (!(got == expected)) {
            std::printf("wrong: %s loaded %lld items, %lld points, x sum %lld; expected %lld, %lld, %lld\n", file,
                        got.items, got.points, got.sumX, expected.items, expected.points, expected.sumX);
            failed = 1;
        }
    }
#ifdef BENCH_HAVE_GDAL
    {
        std::vector<OGRFeatureH> kept;
        OgrRead(peerFile, kept);
        const Summary got = SummariseOgr(kept);
        for (OGRFeatureH f : kept) OGR_F_Destroy(f);
        if (!(got == expected)) {
            std::printf("wrong: OGR read %lld items, %lld points, x sum %lld; expected %lld, %lld, %lld\n", got.items,
                        got.points, got.sumX, expected.items, expected.points, expected.sumX);
            failed = 1;
        }
    }
    bench::Pair r = bench::Alternate(
        rounds, [&] { delete map.LoadLayer(file); },
        [&] {
            std::vector<OGRFeatureH> kept;
            OgrRead(peerFile, kept);
            for (OGRFeatureH f : kept) OGR_F_Destroy(f);
        });
    bench::Row(std::string("load ") + what + " (OGR FlatGeobuf read into memory)", r.ours, r.peer);
    malloc_trim(0);
    const size_t before = bench::HeapInUse();
    std::vector<OGRFeatureH> kept;
    OgrRead(peerFile, kept);
    const double peerHeap = static_cast<double>(bench::HeapInUse() - before);
    for (OGRFeatureH f : kept) OGR_F_Destroy(f);
#else
    (void)peerFile;
    const double peerHeap = 0;
    const double t = bench::TimeOnce([&] { delete map.LoadLayer(file); });
    std::printf("load %s: %.4f s (built without GDAL: no peer)\n", what, t);
#endif
    const double ours = HeapOfLoad(map, file);
    std::printf("  heap of the loaded layer: %.1f bytes per point; OGR's features %.1f (ratio %.2f)\n", ours / points,
                peerHeap / points, peerHeap > 0 ? ours / peerHeap : 0.0);
    return failed;
}

int PolygonRows(int polygons) {
    const Cells c = MakeCells(polygons);
    std::printf("\n%d square cells sharing their arcs, %zu ring points\n", c.k * c.k, c.RingPoints());
    CGeoMap map;
    CGeoVectorLayer* layer = BuildCellLayer(c);
    map.SaveLayer(layer, "cells.LYR");
    delete layer;
    Summary expected;
    for (int j = 0; j < c.k; ++j)
        for (int i = 0; i < c.k; ++i) {
            ++expected.items;
            for (const POINT& p : c.Ring(i, j)) {
                ++expected.points;
                expected.sumX += p.x;
            }
        }
#ifdef BENCH_HAVE_GDAL
    GDALAllRegister();
    OgrWritePolygons(c, "cells.fgb");
#endif
    return LoadRows(map, "cell polygons sharing arcs", "cells.LYR", "cells.fgb", static_cast<double>(c.RingPoints()),
                    expected, true);
}

int TwoPointRows(int count) {
    Lines d;
    std::mt19937 rng(777);
    std::uniform_int_distribution<int> start(0, 4900000), step(-2000, 2000);
    d.lines.resize(static_cast<size_t>(count));
    for (auto& l : d.lines) {
        POINT p{start(rng), start(rng)};
        l.push_back(p);
        l.push_back(POINT{p.x + step(rng), p.y + step(rng)});
        d.points += 2;
    }
    std::printf("\n%d two-point lines\n", count);
    CGeoMap map;
    CGeoVectorLayer* layer = BuildLayer(d);
    map.SaveLayer(layer, "twopoint.LYR");
    delete layer;
    Summary expected;
    for (const auto& l : d.lines) {
        ++expected.items;
        for (const POINT& p : l) {
            ++expected.points;
            expected.sumX += p.x;
        }
    }
#ifdef BENCH_HAVE_GDAL
    GDALAllRegister();
    OgrWrite(d, "FlatGeobuf", "twopoint.fgb");
#endif
    return LoadRows(map, "two-point lines", "twopoint.LYR", "twopoint.fgb", static_cast<double>(d.points), expected,
                    false);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "polygons") == 0) return PolygonRows(100000);
    if (argc == 2 && std::strcmp(argv[1], "twopoint") == 0) return TwoPointRows(300000);
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
    int failed = PolygonRows(100000);
    failed |= TwoPointRows(300000);
    return failed;
}
