// Point thinning of digitised lines with a distance tolerance, against GEOS's Douglas-Peucker simplifier
// (GEOSSimplify) at the same tolerance on the same points, on three shapes (fixed seeds): one
// 1,000,000-point noisy meander, five meanders of 200,000 points, and 20,000 wandering lines of 50
// points. The two keep different sets (the thinner also keeps points far from their chord relative to
// its length, and measures from the chord's straight line where GEOS measures from the segment), so the
// kept counts are printed beside the times.
// Prints ratios (ours / peer); never passes or fails on time, but fails (exit 1) when the thinned lines
// are wrong: a line that is not a subsequence of its points with both ends kept, or a point GEOS keeps
// that lies farther than the tolerance from the straight line of the thinner's chord over it (unless it
// lies in a loop between two coincident points, which the thinner may drop as a spike).
#include "BenchUtil.h"

#include "vector/CompressPts.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#ifdef BENCH_HAVE_GEOS
#define GEOS_USE_ONLY_R_API
#include <geos_c.h>
#endif

namespace {

using Line = std::vector<POINT>;

const double kTolerance = 50.0;

Line Meander(int n, unsigned seed, double phase) {
    std::mt19937 rng(seed);
    std::normal_distribution<double> noise(0.0, 20.0);
    Line pts(n);
    for (int i = 0; i < n; ++i) {
        double t = i * 0.01;
        pts[i].x = static_cast<LONG>(i * 10 + noise(rng));
        pts[i].y = static_cast<LONG>(5000 * std::sin(t * 0.37 + phase) + 800 * std::sin(t * 2.1) + noise(rng));
    }
    return pts;
}

// Lines that wander with a slowly turning heading, 30 units a step, digitised with a little noise.
std::vector<Line> Wanderers(int count, int points) {
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> where(0.0, 1e6), heading(0.0, 6.283185307179586);
    std::normal_distribution<double> turn(0.0, 0.25), noise(0.0, 4.0);
    std::vector<Line> lines(static_cast<size_t>(count));
    for (Line& l : lines) {
        double x = where(rng), y = where(rng), a = heading(rng);
        for (int i = 0; i < points; ++i) {
            l.push_back(POINT{static_cast<LONG>(x + noise(rng)), static_cast<LONG>(y + noise(rng))});
            a += turn(rng);
            x += 30 * std::cos(a);
            y += 30 * std::sin(a);
        }
    }
    return lines;
}

// Distance from p to the straight line through a and b (to a when they coincide).
double ToStraightLine(const POINT& p, const POINT& a, const POINT& b) {
    const double bx = double(b.x) - a.x, by = double(b.y) - a.y, px = double(p.x) - a.x, py = double(p.y) - a.y;
    const double chord = std::hypot(bx, by);
    return chord > 0 ? std::fabs(bx * py - by * px) / chord : std::hypot(px, py);
}

// The positions in line of the points of kept, matched in order; empty when kept is not a subsequence
// of line holding both its ends.
std::vector<size_t> Positions(const Line& line, const Line& kept) {
    std::vector<size_t> at;
    for (size_t i = 0; i < line.size() && at.size() < kept.size(); ++i)
        if (line[i].x == kept[at.size()].x && line[i].y == kept[at.size()].y) at.push_back(i);
    if (at.size() != kept.size() || at.size() < 2 || at.front() != 0 || at.back() != line.size() - 1) at.clear();
    return at;
}

// For each point of line, whether it lies strictly between two coincident points: in a loop that comes
// back to where it left, which the thinner drops as a spike once the loop is down to one point.
std::vector<char> InLoops(const Line& line) {
    std::vector<int> depth(line.size() + 1, 0);
    std::unordered_map<uint64_t, size_t> last;
    for (size_t i = 0; i < line.size(); ++i) {
        const uint64_t key = uint64_t(uint32_t(line[i].x)) << 32 | uint32_t(line[i].y);
        auto found = last.find(key);
        if (found != last.end()) {
            ++depth[found->second + 1];
            --depth[i];
        }
        last[key] = i;
    }
    std::vector<char> in(line.size());
    int d = 0;
    for (size_t i = 0; i < line.size(); ++i) in[i] = (d += depth[i]) > 0;
    return in;
}

// Whether the thinned line kept lost nothing that reference (a thinning of the same line) shows: every
// point of reference outside loops lies within the tolerance of the straight line of the kept chord
// that spans it, which is what the thinner promises for every point it drops.
bool Keeps(const Line& line, const Line& kept, const Line& reference) {
    const std::vector<size_t> ours = Positions(line, kept), theirs = Positions(line, reference);
    if (ours.empty() || theirs.empty()) return false;
    const std::vector<char> loop = InLoops(line);
    size_t j = 0;
    for (size_t r = 0; r < theirs.size(); ++r) {
        while (ours[j + 1] < theirs[r]) ++j;
        if (!loop[theirs[r]] && ToStraightLine(reference[r], kept[j], kept[j + 1]) > kTolerance + 1e-9) return false;
    }
    return true;
}

// The thinner on every line, keeping the thinned lines of the last run.
struct Ours {
    const std::vector<Line>& lines;
    std::vector<Line> kept;
    CCompressPts thinner;
    explicit Ours(const std::vector<Line>& l) : lines(l), kept(l.size()) { thinner.m_dDistance = kTolerance; }
    void operator()() {
        for (size_t i = 0; i < lines.size(); ++i) {
            Line& work = kept[i];
            work.assign(lines[i].begin(), lines[i].end());
            int n = static_cast<int>(work.size());
            thinner.Compress(work.data(), &n, 0);
            work.resize(static_cast<size_t>(n));
        }
    }
    size_t Count() const {
        size_t n = 0;
        for (const Line& l : kept) n += l.size();
        return n;
    }
};

#ifdef BENCH_HAVE_GEOS
// GEOS on the same lines, built once; keeps the points of the simplified lines of the last run.
struct Peer {
    GEOSContextHandle_t ctx;
    std::vector<GEOSGeometry*> geoms;
    std::vector<Line> kept;
    explicit Peer(const std::vector<Line>& lines) : ctx(GEOS_init_r()), kept(lines.size()) {
        for (const Line& l : lines) {
            GEOSCoordSequence* seq = GEOSCoordSeq_create_r(ctx, static_cast<unsigned>(l.size()), 2);
            for (size_t i = 0; i < l.size(); ++i) GEOSCoordSeq_setXY_r(ctx, seq, static_cast<unsigned>(i), l[i].x, l[i].y);
            geoms.push_back(GEOSGeom_createLineString_r(ctx, seq));
        }
    }
    ~Peer() {
        for (GEOSGeometry* g : geoms) GEOSGeom_destroy_r(ctx, g);
        GEOS_finish_r(ctx);
    }
    void operator()(bool keep) {
        for (size_t i = 0; i < geoms.size(); ++i) {
            GEOSGeometry* s = GEOSSimplify_r(ctx, geoms[i], kTolerance);
            if (keep) {
                const GEOSCoordSequence* seq = GEOSGeom_getCoordSeq_r(ctx, s);
                unsigned n = 0;
                GEOSCoordSeq_getSize_r(ctx, seq, &n);
                kept[i].resize(n);
                for (unsigned k = 0; k < n; ++k) {
                    double x, y;
                    GEOSCoordSeq_getXY_r(ctx, seq, k, &x, &y);
                    kept[i][k] = POINT{static_cast<LONG>(x), static_cast<LONG>(y)};
                }
            }
            GEOSGeom_destroy_r(ctx, s);
        }
    }
    size_t Count() const {
        size_t n = 0;
        for (const Line& l : kept) n += l.size();
        return n;
    }
};

// Times both, prints the row and the kept counts, and checks the thinned lines; false when wrong.
bool Row(const std::string& what, const std::vector<Line>& lines) {
    Ours ours(lines);
    Peer peer(lines);
    bench::Pair t = bench::Alternate(5, [&] { ours(); }, [&] { peer(false); });
    peer(true);
    bench::Row(what, t.ours, t.peer);
    std::printf("points kept: ours %zu, GEOS %zu\n", ours.Count(), peer.Count());
    size_t wrong = 0;
    for (size_t i = 0; i < lines.size(); ++i)
        if (!Keeps(lines[i], ours.kept[i], peer.kept[i]) && wrong++ < 3)
            std::printf("wrong: line %zu thinned to %zu points\n", i, ours.kept[i].size());
    if (wrong) std::printf("wrong: %zu of %zu lines\n", wrong, lines.size());
    return wrong == 0;
}
#else
bool Row(const std::string& what, const std::vector<Line>& lines) {
    Ours ours(lines);
    double t = 1e300;
    for (int r = 0; r < 5; ++r) t = std::min(t, bench::TimeOnce([&] { ours(); }));
    bench::Row(what + " (built without GEOS)", t, 0);
    std::printf("points kept: %zu\n", ours.Count());
    bool ok = true;
    for (size_t i = 0; i < lines.size(); ++i) ok &= !Positions(lines[i], ours.kept[i]).empty();
    return ok;
}
#endif

}  // namespace

int main() {
    bench::Header();
    bool ok = Row("thin a 1M-point line, D = 50 (GEOS Douglas-Peucker)", {Meander(1000000, 7, 0.0)});
    std::vector<Line> big;
    for (unsigned s = 1; s <= 5; ++s) big.push_back(Meander(200000, s, s * 0.7));
    ok &= Row("thin 5 lines of 200,000 points", big);
    ok &= Row("thin 20,000 lines of 50 points", Wanderers(20000, 50));
    return ok ? 0 : 1;
}
