// Point thinning of a 1,000,000-point digitised line (a noisy meander, fixed seed) with a distance
// tolerance, against GEOS's Douglas-Peucker simplifier (GEOSSimplify) at the same tolerance on the same
// points. The two keep different sets (the thinner also keeps points far from their chord relative to
// its length), so the kept counts are printed beside the times.
// Prints ratios (ours / peer); never passes or fails on time.
#include "BenchUtil.h"

#include "vector/CompressPts.h"

#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

#ifdef BENCH_HAVE_GEOS
#define GEOS_USE_ONLY_R_API
#include <geos_c.h>
#endif

namespace {

const int kPoints = 1000000;
const double kTolerance = 50.0;

std::vector<POINT> Meander(int n) {
    std::mt19937 rng(7);
    std::normal_distribution<double> noise(0.0, 20.0);
    std::vector<POINT> pts(n);
    for (int i = 0; i < n; ++i) {
        double t = i * 0.01;
        pts[i].x = static_cast<LONG>(i * 10 + noise(rng));
        pts[i].y = static_cast<LONG>(5000 * std::sin(t * 0.37) + 800 * std::sin(t * 2.1) + noise(rng));
    }
    return pts;
}

}  // namespace

int main() {
    std::vector<POINT> line = Meander(kPoints);
    CCompressPts thinner;
    thinner.m_dDistance = kTolerance;
    int keptOurs = 0;
    auto ours = [&] {
        std::vector<POINT> work(line);
        int n = kPoints;
        thinner.Compress(work.data(), &n, 0);
        keptOurs = n;
    };
    bench::Header();
#ifdef BENCH_HAVE_GEOS
    GEOSContextHandle_t ctx = GEOS_init_r();
    GEOSCoordSequence* seq = GEOSCoordSeq_create_r(ctx, kPoints, 2);
    for (int i = 0; i < kPoints; ++i) GEOSCoordSeq_setXY_r(ctx, seq, i, line[i].x, line[i].y);
    GEOSGeometry* geom = GEOSGeom_createLineString_r(ctx, seq);
    int keptPeer = 0;
    auto peer = [&] {
        GEOSGeometry* s = GEOSSimplify_r(ctx, geom, kTolerance);
        keptPeer = GEOSGeomGetNumPoints_r(ctx, s);
        GEOSGeom_destroy_r(ctx, s);
    };
    bench::Pair t = bench::Alternate(5, ours, peer);
    bench::Row("thin a 1M-point line, D = 50 (GEOS Douglas-Peucker)", t.ours, t.peer);
    std::printf("points kept: ours %d, GEOS %d\n", keptOurs, keptPeer);
    GEOSGeom_destroy_r(ctx, geom);
    GEOS_finish_r(ctx);
#else
    double t = 1e300;
    for (int r = 0; r < 5; ++r) t = std::min(t, bench::TimeOnce(ours));
    bench::Row("thin a 1M-point line, D = 50 (built without GEOS)", t, 0);
    std::printf("points kept: %d\n", keptOurs);
#endif
    return 0;
}
