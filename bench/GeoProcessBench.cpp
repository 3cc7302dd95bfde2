// Polygon dissolve and polygon intersection against GEOS (built only with GEOS: scripts/install-deps bench).
#ifndef BENCH_HAVE_GEOS
#include <cstdio>
int main() {
    std::puts("built without GEOS: scripts/install-deps bench installs it");
    return 0;
}
#else
// Polygon overlay against GEOS, in the same process, each row checked against GEOS's answer:
//
//   dissolve       a grid of topological squares; the cells of every other 10 x 10 block are merged
//                  by CGeoProcPoly::ReunitePoly, and the same squares by GEOSUnaryUnion;
//   intersection   two rings of the same shape, overlapping, by CPolygonXPolygon and by
//                  GEOSIntersection: circles, and stars of nine and seven arms; each at a small and a
//                  large size (about 10^3 and 10^5 vertices in all).
//
// Every row prints both times (best of alternating rounds), their ratio, and the areas. A row whose
// area differs from GEOS's by more than the rounding of crossings allows (the result's perimeter in
// square units, or one unit^2 per vertex for the dissolve) is marked WRONG and the program exits 1.
// For each intersection shape it also prints how the library's time grows from the small size to the
// large against n log n (1.00 = exactly n log n; above 1 = faster than n log n growth).
//
// Usage: bench_geoprocess [cells per side] [small vertices per ring] [large vertices per ring]
#include "BenchUtil.h"

#include "core/GeoVectorLayer.h"
#include "vector/GeoPLine.h"
#include "vector/GeoPolygonLine.h"
#include "vector/GeoProcPoly.h"
#include "vector/PolygonXPolygon.h"

#include <geos_c.h>

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

int g_failures = 0;

double Area(const POINT* p, int n) {
    double s = 0;
    for (int i = 0; i < n; ++i) {
        const POINT& a = p[i];
        const POINT& b = p[(i + 1) % n];
        s += static_cast<double>(a.x) * b.y - static_cast<double>(b.x) * a.y;
    }
    return s / 2;
}

double Perimeter(const std::vector<POINT>& p) {
    double s = 0;
    for (size_t i = 0; i < p.size(); ++i) {
        const POINT& a = p[i];
        const POINT& b = p[(i + 1) % p.size()];
        s += std::hypot(static_cast<double>(b.x) - a.x, static_cast<double>(b.y) - a.y);
    }
    return s;
}

// Prints the comparison of a row's answer with GEOS's and counts a failure.
void CheckArea(const std::string& what, double ours, double peer, double allowed) {
    const double diff = std::fabs(ours - peer);
    const bool ok = diff <= allowed;
    std::printf("  area %.0f against %.0f (difference %.0f, allowed %.0f)%s\n", ours, peer, diff, allowed,
                ok ? "" : "  WRONG");
    if (!ok) {
        std::fprintf(stderr, "%s: the area differs from GEOS's\n", what.c_str());
        ++g_failures;
    }
}

void Notice(const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    std::vfprintf(stderr, fmt, ap);
    va_end(ap);
    std::fputc('\n', stderr);
}

GEOSGeometry* Ring(GEOSContextHandle_t h, const std::vector<POINT>& pts) {
    GEOSCoordSequence* seq = GEOSCoordSeq_create_r(h, static_cast<unsigned>(pts.size() + 1), 2);
    for (size_t i = 0; i <= pts.size(); ++i) {
        const POINT& p = pts[i % pts.size()];
        GEOSCoordSeq_setXY_r(h, seq, static_cast<unsigned>(i), p.x, p.y);
    }
    return GEOSGeom_createPolygon_r(h, GEOSGeom_createLinearRing_r(h, seq), nullptr, 0);
}

// Exterior and interior rings of a (multi)polygon.
int RingCount(GEOSContextHandle_t h, const GEOSGeometry* g) {
    int rings = 0;
    for (int i = 0; i < GEOSGetNumGeometries_r(h, g); ++i)
        rings += 1 + GEOSGetNumInteriorRings_r(h, GEOSGetGeometryN_r(h, g, i));
    return rings;
}

void Dissolve(GEOSContextHandle_t h, int n) {
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
            if ((i / 10 + j / 10) % 2 == 0) {
                selection.Add(j * n + i);
                squares.push_back(Ring(h, {{i * c, j * c}, {(i + 1) * c, j * c}, {(i + 1) * c, (j + 1) * c}, {i * c, (j + 1) * c}}));
            }
        }

    layer.FindObj(1);  // the layer's index is built outside the timing
    auto t0 = bench::Now();
    CGeoProcPoly proc(&layer, array);
    POINT* pts = nullptr;
    int* sizes = nullptr;
    int count = 0;
    proc.ReunitePoly(selection, &pts, &sizes, count);
    const double ours = bench::Now() - t0;
    double area = 0;
    int vertices = 0, at = 0;
    for (int i = 0; i < count; ++i) {
        area += std::fabs(Area(pts + at, sizes[i]));
        vertices += sizes[i];
        at += sizes[i];
    }
    delete[] pts;
    delete[] sizes;

    GEOSGeometry* collection = GEOSGeom_createCollection_r(h, GEOS_GEOMETRYCOLLECTION, squares.data(),
                                                           static_cast<unsigned>(squares.size()));
    t0 = bench::Now();
    GEOSGeometry* unioned = GEOSUnaryUnion_r(h, collection);
    const double peer = bench::Now() - t0;
    double peerArea = 0;
    GEOSArea_r(h, unioned, &peerArea);
    const std::string what = "dissolve of " + std::to_string(selection.GetSize()) + " polygons (GEOS UnaryUnion)";
    bench::Row(what, ours, peer);
    CheckArea(what, area, peerArea, vertices);
    std::printf("  rings %d against %d\n", count, RingCount(h, unioned));
    GEOSGeom_destroy_r(h, unioned);
    GEOSGeom_destroy_r(h, collection);
}

// ---- intersection ----

typedef std::function<std::vector<POINT>(int n, double cx, double cy, double r, double turn)> Shape;

std::vector<POINT> Circle(int n, double cx, double cy, double r, double turn) {
    std::vector<POINT> pts;
    for (int i = 0; i < n; ++i) {
        const double a = 2 * M_PI * i / n + turn;
        pts.push_back({static_cast<LONG>(std::lround(cx + r * std::cos(a))), static_cast<LONG>(std::lround(cy + r * std::sin(a)))});
    }
    return pts;
}

// A star of `arms` arms, its radius r (1 + 0.3 cos(arms t)), sampled at n vertices.
Shape Star(int arms) {
    return [arms](int n, double cx, double cy, double r, double turn) {
        std::vector<POINT> pts;
        for (int i = 0; i < n; ++i) {
            const double t = 2 * M_PI * i / n;
            const double d = r * (1 + 0.3 * std::cos(arms * t));
            pts.push_back({static_cast<LONG>(std::lround(cx + d * std::cos(t + turn))),
                           static_cast<LONG>(std::lround(cy + d * std::sin(t + turn)))});
        }
        return pts;
    };
}

// Times one intersection of two n-vertex rings (the second moved by 0.8 r and turned) against GEOS.
// Returns the library's time for one intersection.
double Intersect(GEOSContextHandle_t h, const std::string& name, const Shape& shapeA, const Shape& shapeB, int n) {
    const double r = 5e6;  // 5 km in millimetres
    const std::vector<POINT> a = shapeA(n, 0, 0, r, 0), b = shapeB(n, 0.8 * r, 0.2 * r, r, 0.1);
    CGeoPolygonLine la(static_cast<int>(a.size()), a.data(), FALSE), lb(static_cast<int>(b.size()), b.data(), FALSE);
    GEOSGeometry* ga = Ring(h, a);
    GEOSGeometry* gb = Ring(h, b);
    // Small inputs are repeated so that a round lasts long enough to time.
    const int reps = std::max(1, 200000 / n);
    std::vector<POINT> answer;
    GEOSGeometry* gx = nullptr;
    auto ours = [&] {
        for (int k = 0; k < reps; ++k) {
            CPolygonXPolygon x;
            std::unique_ptr<CGeoPolygonLine> res(x.PolygonLineXPolygonLine(&la, &lb));
            if (k == 0) {
                answer.clear();
                for (int i = 0; res && i < res->GetPoints(); ++i) answer.push_back(res->GetPoint(i));
            }
        }
    };
    auto peer = [&] {
        for (int k = 0; k < reps; ++k) {
            GEOSGeometry* g = GEOSIntersection_r(h, ga, gb);
            if (gx) GEOSGeom_destroy_r(h, gx);
            gx = g;
        }
    };
    const bench::Pair t = bench::Alternate(3, ours, peer);
    const std::string what = "intersection of two " + std::to_string(n) + "-vertex " + name + " (GEOS Intersection)";
    std::printf("%-58s %12.6f %12.6f %8.2f\n", what.c_str(), t.ours / reps, t.peer / reps, t.ours / t.peer);
    // The library answers the largest part; GEOS gives every part.
    double peerArea = 0, peerLength = 0;
    for (int i = 0; gx && i < GEOSGetNumGeometries_r(h, gx); ++i) {
        double pa = 0, pl = 0;
        GEOSArea_r(h, GEOSGetGeometryN_r(h, gx, i), &pa);
        GEOSLength_r(h, GEOSGetGeometryN_r(h, gx, i), &pl);
        if (pa > peerArea) {
            peerArea = pa;
            peerLength = pl;
        }
    }
    const double area = answer.empty() ? 0 : Area(answer.data(), static_cast<int>(answer.size()));
    CheckArea(what, area, peerArea, Perimeter(answer) + peerLength + 1);
    if (gx) GEOSGeom_destroy_r(h, gx);
    GEOSGeom_destroy_r(h, ga);
    GEOSGeom_destroy_r(h, gb);
    return t.ours / reps;
}

}  // namespace

int main(int argc, char** argv) {
    const int cells = argc > 1 ? std::atoi(argv[1]) : 200;
    const int small = argc > 2 ? std::atoi(argv[2]) : 500;
    const int large = argc > 3 ? std::atoi(argv[3]) : 50000;
    GEOSContextHandle_t h = GEOS_init_r();
    GEOSContext_setNoticeHandler_r(h, Notice);
    GEOSContext_setErrorHandler_r(h, Notice);
    bench::Header();
    Dissolve(h, cells);
    const struct {
        const char* name;
        Shape a, b;
    } shapes[] = {
        {"circles", Circle, Circle},
        {"stars", Star(9), Star(7)},
    };
    for (const auto& s : shapes) {
        const double t1 = Intersect(h, s.name, s.a, s.b, small);
        const double t2 = Intersect(h, s.name, s.a, s.b, large);
        const double nlogn = (large * std::log(large)) / (small * std::log(small));
        std::printf("  %s: the library's time grows %.1fx from %d to %d vertices a ring; n log n grows %.1fx (ratio %.2f)\n",
                    s.name, t2 / t1, small, large, nlogn, nlogn / (t2 / t1));
    }
    GEOS_finish_r(h);
    if (g_failures) std::printf("%d row(s) WRONG\n", g_failures);
    return g_failures ? 1 : 0;
}
#endif
