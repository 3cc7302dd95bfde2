// Polygon dissolve and layer clip against GEOS (built only with GEOS: scripts/install-deps bench).
#ifndef BENCH_HAVE_GEOS
#include <cstdio>
int main() {
    std::puts("built without GEOS: scripts/install-deps bench installs it");
    return 0;
}
#else
// Dissolve and clip against GEOS in the same process, each row at a small and a large size (about
// 10^3 and 10^5 vertices in all) and checked against GEOS's answer:
//
//   dissolve, one group          every cell of an n x n grid of topological squares merged into one
//                                area by CGeoProcPoly::ReunitePoly; GEOSUnaryUnion of the squares;
//   dissolve, one group, holes   the same without every fourth cell of every fourth row (one area
//                                with many holes);
//   dissolve, small groups       the cells of every other 4 x 4 block (many groups of 16);
//   clip, crossing               polylines of 20 vertices wandering across a star-shaped clip polygon
//                                with many vertices, cut by LayerCut; the peer clips every line with
//                                GEOSIntersection, or with a prepared polygon (contains / intersects
//                                first), whichever is faster;
//   clip, inside                 the same lines kept within the polygon's middle (every line kept whole);
//   clip, outside                the same lines moved off the clip polygon (nothing is kept).
// Both sides start from the clip polygon's coordinates and from lines already held (the layer's
// objects, GEOS's line strings).
//
// A dissolve must give GEOS's area and ring count exactly (the grid is integer); a clip must give
// GEOS's total length within the rounding of its crossings (one unit per piece end). A wrong row is
// marked WRONG and the program exits 1. For each row the growth of the library's time from the small
// to the large size is printed against n log n (1.00 = n log n; above 1 = faster than that).
//
// Usage: bench_DissolveClipBench ["row name"]   (one row, both sizes; all rows without it)
#include "BenchUtil.h"

#include "core/GeoVectorLayer.h"
#include "vector/GeoPLine.h"
#include "vector/GeoProcPoly.h"
#include "vector/LayerMergeClip.h"

#include <geos_c.h>

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

int g_failures = 0;

void Notice(const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    std::vfprintf(stderr, fmt, ap);
    va_end(ap);
    std::fputc('\n', stderr);
}

void Check(const std::string& what, bool ok, const char* fmt, double ours, double peer, double allowed) {
    std::printf("  %s: ", what.c_str());
    std::printf(fmt, ours, peer, allowed);
    std::printf("%s\n", ok ? "" : "  WRONG");
    if (!ok) {
        std::fprintf(stderr, "%s: the answer differs from GEOS's\n", what.c_str());
        ++g_failures;
    }
}

double SignedArea(const POINT* p, int n) {
    double s = 0;
    for (int i = 0; i < n; ++i) {
        const POINT& a = p[i];
        const POINT& b = p[(i + 1) % n];
        s += (static_cast<double>(a.x) - p[0].x) * (static_cast<double>(b.y) - p[0].y) -
             (static_cast<double>(b.x) - p[0].x) * (static_cast<double>(a.y) - p[0].y);
    }
    return s / 2;
}

GEOSGeometry* Polygon(GEOSContextHandle_t h, const std::vector<POINT>& pts) {
    GEOSCoordSequence* seq = GEOSCoordSeq_create_r(h, static_cast<unsigned>(pts.size() + 1), 2);
    for (size_t i = 0; i <= pts.size(); ++i) {
        const POINT& p = pts[i % pts.size()];
        GEOSCoordSeq_setXY_r(h, seq, static_cast<unsigned>(i), p.x, p.y);
    }
    return GEOSGeom_createPolygon_r(h, GEOSGeom_createLinearRing_r(h, seq), nullptr, 0);
}

GEOSGeometry* Line(GEOSContextHandle_t h, const std::vector<POINT>& pts) {
    GEOSCoordSequence* seq = GEOSCoordSeq_create_r(h, static_cast<unsigned>(pts.size()), 2);
    for (size_t i = 0; i < pts.size(); ++i) GEOSCoordSeq_setXY_r(h, seq, static_cast<unsigned>(i), pts[i].x, pts[i].y);
    return GEOSGeom_createLineString_r(h, seq);
}

int RingCount(GEOSContextHandle_t h, const GEOSGeometry* g) {
    int rings = 0;
    for (int i = 0; i < GEOSGetNumGeometries_r(h, g); ++i)
        rings += 1 + GEOSGetNumInteriorRings_r(h, GEOSGetGeometryN_r(h, g, i));
    return rings;
}

// n log n growth between two sizes against the time's growth (1 = n log n).
double Growth(double n0, double t0, double n1, double t1) {
    return (n1 * std::log(n1)) / (n0 * std::log(n0)) / (t1 / t0);
}

struct Row {
    double vertices = 0, ours = 0, peer = 0;
};

void Print(const std::string& what, const Row& r) {
    const std::string row = what + " (" + std::to_string(static_cast<long>(r.vertices)) + " vertices)";
    std::printf("%-58s %12.6f %12.6f %8.2f\n", row.c_str(), r.ours, r.peer, r.peer > 0 ? r.ours / r.peer : 0.0);
}

// ---- dissolve ----

enum class Pick { All, Holes, Blocks };

Row Dissolve(GEOSContextHandle_t h, int n, Pick pick, const std::string& what) {
    const int c = 1000;
    CGeoVectorLayer layer(CRect(0, 0, n * c, n * c));
    std::vector<LONG> hz, vt;
    auto arc = [&](POINT a, POINT b) {
        CGeoPLine* line = new CGeoPLine(2, std::vector<POINT>{a, b}.data(), FALSE);
        layer.Add(line);
        return static_cast<LONG>(line->GetID());
    };
    for (int j = 0; j <= n; ++j)
        for (int i = 0; i < n; ++i) hz.push_back(arc({i * c, j * c}, {(i + 1) * c, j * c}));
    for (int j = 0; j < n; ++j)
        for (int i = 0; i <= n; ++i) vt.push_back(arc({i * c, j * c}, {i * c, (j + 1) * c}));
    std::vector<std::unique_ptr<CGeoKeyString>> keys;
    CGeoKeyStringArray array;
    CGeoKeyString selection;
    std::vector<GEOSGeometry*> squares;
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            keys.emplace_back(new CGeoKeyString);
            for (LONG k : {hz[j * n + i], vt[j * (n + 1) + i + 1], -hz[(j + 1) * n + i], -vt[j * (n + 1) + i],
                           static_cast<LONG>(POLYGON_RING_END)})
                keys.back()->Add(k);
            array.Add(keys.back().get());
            bool take = true;
            if (pick == Pick::Holes) take = !(i % 4 == 2 && j % 4 == 2);
            if (pick == Pick::Blocks) take = (i / 4 + j / 4) % 2 == 0;
            if (take) {
                selection.Add(j * n + i);
                squares.push_back(Polygon(h, {{i * c, j * c}, {(i + 1) * c, j * c}, {(i + 1) * c, (j + 1) * c}, {i * c, (j + 1) * c}}));
            }
        }
    layer.FindObj(1);  // the layer's index is built outside the timing
    GEOSGeometry* collection = GEOSGeom_createCollection_r(h, GEOS_GEOMETRYCOLLECTION, squares.data(),
                                                           static_cast<unsigned>(squares.size()));

    double area = 0;
    int rings = 0;
    double peerArea = 0;
    int peerRings = 0;
    const int reps = n < 100 ? 20 : 1;  // a small run is repeated within each timing
    bench::Pair t = bench::Alternate(
        3,
        [&] {
          for (int rep = 0; rep < reps; ++rep) {
            CGeoProcPoly proc(&layer, array);
            POINT* pts = nullptr;
            int* sizes = nullptr;
            int count = 0;
            proc.ReunitePoly(selection, &pts, &sizes, count);
            area = 0;
            for (int i = 0, at = 0; i < count; at += sizes[i], ++i) area += SignedArea(pts + at, sizes[i]);
            rings = count;
            delete[] pts;
            delete[] sizes;
          }
        },
        [&] {
            for (int rep = 0; rep < reps; ++rep) {
                GEOSGeometry* u = GEOSUnaryUnion_r(h, collection);
                GEOSArea_r(h, u, &peerArea);
                peerRings = RingCount(h, u);
                GEOSGeom_destroy_r(h, u);
            }
        });
    GEOSGeom_destroy_r(h, collection);
    Row r;
    r.vertices = 2.0 * (hz.size() + vt.size());
    r.ours = t.ours / reps;
    r.peer = t.peer / reps;
    Print(what, r);
    Check(what, std::fabs(std::fabs(area) - peerArea) < 0.5 && rings == peerRings,
          "area %.0f against %.0f (allowed difference %.0f)", std::fabs(area), peerArea, 0);
    std::printf("    rings %d against %d\n", rings, peerRings);
    return r;
}

// ---- clip ----

std::vector<POINT> Star(int n, double cx, double cy, double r, double depth) {
    std::vector<POINT> out;
    for (int i = 0; i < n; ++i) {
        const double a = 2 * M_PI * i / n, d = r * (1 + depth * std::cos(9 * a));
        out.push_back({static_cast<LONG>(std::lround(cx + d * std::cos(a))), static_cast<LONG>(std::lround(cy + d * std::sin(a)))});
    }
    return out;
}

// Lines of `vertices` points wandering over a square of side `side` from (x0, y0).
std::vector<std::vector<POINT>> Wanderers(std::mt19937& rng, int lines, int vertices, double x0, double y0, double side) {
    std::uniform_real_distribution<double> at(0, side), step(-side / 12, side / 12);
    std::vector<std::vector<POINT>> out;
    for (int k = 0; k < lines; ++k) {
        double x = at(rng), y = at(rng);
        std::vector<POINT> line;
        for (int i = 0; i < vertices; ++i) {
            line.push_back({static_cast<LONG>(std::lround(x0 + x)), static_cast<LONG>(std::lround(y0 + y))});
            // turned back at the square's sides (a line never runs back over itself)
            x += step(rng);
            y += step(rng);
            x = x < 0 ? -x : (x > side ? 2 * side - x : x);
            y = y < 0 ? -y : (y > side ? 2 * side - y : y);
        }
        out.push_back(line);
    }
    return out;
}

double Length(const CGeoVectorObject* obj) {
    double s = 0;
    for (int i = 0; i + 1 < obj->GetPoints(); ++i) {
        POINT a = obj->GetPoint(i), b = obj->GetPoint(i + 1);
        s += std::hypot(static_cast<double>(b.x) - a.x, static_cast<double>(b.y) - a.y);
    }
    return s;
}

enum class Where { Crossing, Inside, Outside };

Row Clip(GEOSContextHandle_t h, int lines, int clipVertices, Where where, const std::string& what) {
    const double side = 1e6;
    std::mt19937 rng(42);
    std::vector<POINT> ring = Star(clipVertices, 1.5 * side, 1.5 * side, 0.35 * side, 0.3);
    std::vector<std::vector<POINT>> paths =
        where == Where::Crossing  ? Wanderers(rng, lines, 20, side, side, side)
        : where == Where::Inside ? Wanderers(rng, lines, 20, 1.35 * side, 1.35 * side, 0.3 * side)
                                 : Wanderers(rng, lines, 20, 3 * side, side, side);

    CGeoVectorLayer source;
    for (const auto& p : paths) source.Add(new CGeoPLine(static_cast<int>(p.size()), p.data(), FALSE));
    std::vector<DPoint> clip;
    for (POINT p : ring) clip.push_back({p.x * 1000.0, p.y * 1000.0});
    clip.push_back(clip.front());
    CGeoVectorLayerList list;
    list.AddTail(&source);

    std::vector<GEOSGeometry*> glines;
    for (const auto& p : paths) glines.push_back(Line(h, p));

    // Both sides start from the clip polygon's coordinates and lines already held: the layer's
    // objects, GEOS's line strings.
    double length = 0, peerLength = 0;
    int pieces = 0;
    std::vector<std::unique_ptr<CGeoVectorLayer>> targets;  // freed outside the timing
    const int reps = lines < 1000 ? 50 : 1;                  // a small run is repeated within each timing
    bench::Pair plain = bench::Alternate(
        3,
        [&] {
            for (int rep = 0; rep < reps; ++rep) targets.emplace_back(new CGeoVectorLayer);
            for (int rep = 0; rep < reps; ++rep)
                LayerCut(list, clip.data(), static_cast<LONG>(clip.size()), targets[targets.size() - reps + rep].get(), 0);
        },
        [&] {
          for (int rep = 0; rep < reps; ++rep) {
            GEOSGeometry* gclip = Polygon(h, ring);
            peerLength = 0;
            for (GEOSGeometry* l : glines) {
                GEOSGeometry* x = GEOSIntersection_r(h, l, gclip);
                double len = 0;
                GEOSLength_r(h, x, &len);
                peerLength += len;
                GEOSGeom_destroy_r(h, x);
            }
            GEOSGeom_destroy_r(h, gclip);
          }
        });
    double preparedLength = 0;
    bench::Pair prep = bench::Alternate(
        3, [] {},
        [&] {
          for (int rep = 0; rep < reps; ++rep) {
            GEOSGeometry* gclip = Polygon(h, ring);
            const GEOSPreparedGeometry* prepared = GEOSPrepare_r(h, gclip);
            preparedLength = 0;
            for (GEOSGeometry* l : glines) {
                double len = 0;
                if (GEOSPreparedContainsProperly_r(h, prepared, l)) {
                    GEOSGeometry* x = GEOSGeom_clone_r(h, l);  // the clip's answer is a geometry of its own
                    GEOSLength_r(h, x, &len);
                    GEOSGeom_destroy_r(h, x);
                } else if (GEOSPreparedIntersects_r(h, prepared, l)) {
                    GEOSGeometry* x = GEOSIntersection_r(h, l, gclip);
                    GEOSLength_r(h, x, &len);
                    GEOSGeom_destroy_r(h, x);
                }
                preparedLength += len;
            }
            GEOSPreparedGeom_destroy_r(h, prepared);
            GEOSGeom_destroy_r(h, gclip);
          }
        });
    CGeoVectorLayer* target = targets.back().get();
    for (POSITION p = target->m_ObjList.GetHeadPosition(); p;) {
        length += Length(static_cast<CGeoVectorObject*>(target->m_ObjList.GetNext(p)));
        ++pieces;
    }
    for (GEOSGeometry* l : glines) GEOSGeom_destroy_r(h, l);

    Row r;
    r.vertices = 20.0 * lines + clipVertices;
    r.ours = plain.ours / reps;
    r.peer = std::min(plain.peer, prep.peer) / reps;
    Print(what, r);
    std::printf("    GEOS: intersection %.6f s, prepared %.6f s\n", plain.peer / reps, prep.peer / reps);
    const double allowed = 2.0 * pieces + 1e-9 * peerLength + 1;
    Check(what, std::fabs(length - peerLength) <= allowed && std::fabs(preparedLength - peerLength) < 1e-6 * peerLength + 1,
          "length %.0f against %.0f (allowed difference %.0f)", length, peerLength, allowed);
    std::printf("    %d pieces\n", pieces);
    return r;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string only = argc > 1 ? argv[1] : "";  // a row's name runs that row alone
    GEOSContextHandle_t h = GEOS_init_r();
    GEOSContext_setNoticeHandler_r(h, Notice);
    GEOSContext_setErrorHandler_r(h, Notice);
    bench::Header();

    struct Shape {
        std::string name;
        std::function<Row(bool large)> run;
    };
    const Shape shapes[] = {
        {"dissolve, one group", [&](bool large) { return Dissolve(h, large ? 160 : 16, Pick::All, "dissolve, one group"); }},
        {"dissolve, one group, holes",
         [&](bool large) { return Dissolve(h, large ? 160 : 16, Pick::Holes, "dissolve, one group, holes"); }},
        {"dissolve, small groups",
         [&](bool large) { return Dissolve(h, large ? 160 : 16, Pick::Blocks, "dissolve, small groups"); }},
        {"clip, crossing",
         [&](bool large) { return Clip(h, large ? 4000 : 40, large ? 20000 : 200, Where::Crossing, "clip, crossing"); }},
        {"clip, inside",
         [&](bool large) { return Clip(h, large ? 4000 : 40, large ? 20000 : 200, Where::Inside, "clip, inside"); }},
        {"clip, outside",
         [&](bool large) { return Clip(h, large ? 4000 : 40, large ? 20000 : 200, Where::Outside, "clip, outside"); }},
    };
    for (const Shape& s : shapes) {
        if (!only.empty() && s.name != only) continue;
        const Row small = s.run(false), large = s.run(true);
        std::printf("  %s: growth against n log n %.2f\n", s.name.c_str(),
                    Growth(small.vertices, small.ours, large.vertices, large.ours));
    }
    GEOS_finish_r(h);
    if (g_failures) std::fprintf(stderr, "%d rows differ from GEOS\n", g_failures);
    return g_failures ? 1 : 0;
}
#endif
