// Polygon dissolve and polygon intersection against GEOS (built only with GEOS: scripts/install-deps bench).
#ifndef BENCH_HAVE_GEOS
#include <cstdio>
int main() {
    std::puts("built without GEOS: scripts/install-deps bench installs it");
    return 0;
}
#else
// Polygon dissolve and polygon intersection against GEOS, in the same process.
//
//   dissolve       a 200 x 200 grid of topological squares; the cells of every other 10 x 10 block
//                  (20 000 polygons in 200 groups) are merged by CGeoProcPoly::ReunitePoly, and the
//                  same squares by GEOSUnaryUnion;
//   intersection   two 10 000-vertex polygons (circles of 5 km in millimetres, overlapping by half)
//                  by CPolygonXPolygon and by GEOSIntersection.
// Each prints both times, their ratio, and the areas and ring counts to compare (within 1 unit^2 per
// vertex). Usage: bench_geoprocess [cells per side] [vertices]
#include "core/GeoVectorLayer.h"
#include "vector/GeoPLine.h"
#include "vector/GeoPolygonLine.h"
#include "vector/GeoProcPoly.h"
#include "vector/PolygonXPolygon.h"

#include <geos_c.h>

#include <chrono>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

double Seconds(std::chrono::steady_clock::time_point a) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - a).count();
}

double Area(const POINT* p, int n) {
    double s = 0;
    for (int i = 0; i < n; ++i) {
        const POINT& a = p[i];
        const POINT& b = p[(i + 1) % n];
        s += static_cast<double>(a.x) * b.y - static_cast<double>(b.x) * a.y;
    }
    return s / 2;
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
    auto t0 = std::chrono::steady_clock::now();
    CGeoProcPoly proc(&layer, array);
    POINT* pts = nullptr;
    int* sizes = nullptr;
    int count = 0;
    proc.ReunitePoly(selection, &pts, &sizes, count);
    const double ours = Seconds(t0);
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
    t0 = std::chrono::steady_clock::now();
    GEOSGeometry* unioned = GEOSUnaryUnion_r(h, collection);
    const double peer = Seconds(t0);
    double peerArea = 0;
    GEOSArea_r(h, unioned, &peerArea);
    std::printf("dissolve of %d polygons: %.3f s, GEOS UnaryUnion %.3f s, ratio %.2f\n", selection.GetSize(), ours,
                peer, ours / peer);
    std::printf("  area %.0f against %.0f (difference %.0f, allowed %d); rings %d against %d\n", area, peerArea,
                std::fabs(area - peerArea), vertices, count, RingCount(h, unioned));
    GEOSGeom_destroy_r(h, unioned);
    GEOSGeom_destroy_r(h, collection);
}

std::vector<POINT> Circle(int n, double cx, double cy, double r) {
    std::vector<POINT> pts;
    for (int i = 0; i < n; ++i) {
        const double a = 2 * M_PI * i / n;
        pts.push_back({static_cast<LONG>(std::lround(cx + r * std::cos(a))), static_cast<LONG>(std::lround(cy + r * std::sin(a)))});
    }
    return pts;
}

void Intersect(GEOSContextHandle_t h, int n) {
    const double r = 5e6;
    std::vector<POINT> a = Circle(n, 0, 0, r), b = Circle(n, r, 0, r);
    CGeoPolygonLine la(static_cast<int>(a.size()), a.data(), FALSE), lb(static_cast<int>(b.size()), b.data(), FALSE);
    auto t0 = std::chrono::steady_clock::now();
    CPolygonXPolygon x;
    std::unique_ptr<CGeoPolygonLine> ours(x.PolygonLineXPolygonLine(&la, &lb));
    const double oursTime = Seconds(t0);
    double area = 0;
    if (ours) {
        std::vector<POINT> pts;
        for (int i = 0; i < ours->GetPoints(); ++i) pts.push_back(ours->GetPoint(i));
        area = std::fabs(Area(pts.data(), static_cast<int>(pts.size())));
    }
    GEOSGeometry* ga = Ring(h, a);
    GEOSGeometry* gb = Ring(h, b);
    t0 = std::chrono::steady_clock::now();
    GEOSGeometry* gx = GEOSIntersection_r(h, ga, gb);
    const double peer = Seconds(t0);
    double peerArea = 0;
    GEOSArea_r(h, gx, &peerArea);
    std::printf("intersection of two %d-vertex polygons: %.3f s, GEOS Intersection %.3f s, ratio %.1f\n", n, oursTime,
                peer, oursTime / peer);
    std::printf("  area %.0f against %.0f (difference %.0f, allowed %d)\n", area, peerArea, std::fabs(area - peerArea),
                ours ? ours->GetPoints() : 0);
    GEOSGeom_destroy_r(h, gx);
    GEOSGeom_destroy_r(h, ga);
    GEOSGeom_destroy_r(h, gb);
}

}  // namespace

int main(int argc, char** argv) {
    const int cells = argc > 1 ? std::atoi(argv[1]) : 200;
    const int vertices = argc > 2 ? std::atoi(argv[2]) : 10000;
    GEOSContextHandle_t h = GEOS_init_r();
    GEOSContext_setNoticeHandler_r(h, Notice);
    GEOSContext_setErrorHandler_r(h, Notice);
    Dissolve(h, cells);
    Intersect(h, vertices);
    GEOS_finish_r(h);
    return 0;
}
#endif
