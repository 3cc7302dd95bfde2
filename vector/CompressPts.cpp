#include "vector/CompressPts.h"

#include "ostrel/Contact.h"
#include "ostrel/Measure.h"
#include "ostrel/ShapePoints.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>
#include <vector>

namespace {

// A farther point than this fraction of its chord always stays: it shapes the line whatever D is.
const double kRelativeDeviation = 0.207;

// Midpoint with each coordinate sum halved toward zero, without overflowing.
POINT HalfWay(const POINT& a, const POINT& b) {
    POINT m;
    m.x = static_cast<LONG>((static_cast<long long>(a.x) + b.x) / 2);
    m.y = static_cast<LONG>((static_cast<long long>(a.y) + b.y) / 2);
    return m;
}

// Moves the points whose flag is set to the front, in order; returns their number.
int Gather(POINT* pts, int n, const char* keep) {
    int k = 0;
    for (int i = 0; i < n; ++i)
        if (keep[i]) pts[k++] = pts[i];
    return k;
}

// Ratio of an integer line distance to a chord length. A zero chord gives +inf for a positive
// distance (the test passes) and NaN for a zero one (every comparison fails).
double Ratio(int distance, double chord) { return static_cast<double>(distance) / chord; }

}  // namespace

int CCompressPts::Compress(POINT* points, int* n, int closed) {
    if (points == nullptr || n == nullptr) return 0;
    if (*n <= 2) return 0;
    if (m_dDistance == 0.0 && m_dDirection == 0.0) return 0;

    const double D = m_dDistance;
    int count = *n;

    // One flag a point, and the open chords (never more than the points): held on the stack for the
    // short lines most layers are made of.
    const int kInline = 256;
    char keepInline[kInline];
    std::pair<int, int> openInline[kInline];
    std::vector<char> keepHeap;
    std::vector<std::pair<int, int>> openHeap;
    char* keep = keepInline;
    std::pair<int, int>* open = openInline;
    if (count > kInline) {
        keepHeap.resize(count);
        openHeap.resize(count);
        keep = keepHeap.data();
        open = openHeap.data();
    }

    // 1. Distance pass: split every chord at its farthest inner point while that point matters.
    //    Chords are independent of one another, so a work list gives the same kept set as splitting
    //    all open chords pass by pass.
    if (D != 0.0) {
        std::fill(keep, keep + count, 0);
        keep[0] = keep[count - 1] = 1;
        // Within 2^31 - 1 on both axes every cross product fits 64 bits exactly, and so converts to
        // the same double as the wide one; wider lines take the wide measure.
        long long minX = points[0].x, maxX = minX, minY = points[0].y, maxY = minY;
        for (int i = 1; i < count; ++i) {
            minX = std::min<long long>(minX, points[i].x);
            maxX = std::max<long long>(maxX, points[i].x);
            minY = std::min<long long>(minY, points[i].y);
            maxY = std::max<long long>(maxY, points[i].y);
        }
        const bool narrow = maxX - minX <= INT32_MAX && maxY - minY <= INT32_MAX;
        int top = 0;
        open[top++] = {0, count - 1};
        while (top > 0) {
            const auto [a, b] = open[--top];
            if (b - a < 2) continue;  // no inner point: closed at once
            // One chord length serves every point tested against this chord.
            const double chord = Distance(points[a], points[b]);
            int c = a + 1;
            double e;
            if (narrow && chord != 0.0) {
                // The distance to the chord's straight line, |(b - a) x (p - a)| / chord, as the wide
                // measure gives it.
                const long long ax = points[a].x, ay = points[a].y;
                const long long bx = points[b].x - ax, by = points[b].y - ay;
                auto distance = [&](int i) {
                    const long long cross = bx * (points[i].y - ay) - by * (points[i].x - ax);
                    return std::fabs(static_cast<double>(cross)) / chord;
                };
                e = distance(c);
                for (int i = a + 2; i < b; ++i) {
                    const double d = distance(i);
                    if (d > e) {  // strictly: the first index wins a tie
                        e = d;
                        c = i;
                    }
                }
            } else {
                e = PointToStraightLine(points[c], points[a], points[b], chord);
                for (int i = a + 2; i < b; ++i) {
                    const double d = PointToStraightLine(points[i], points[a], points[b], chord);
                    if (d > e) {
                        e = d;
                        c = i;
                    }
                }
            }
            // A zero chord gives inf (split) for e > 0 and NaN (no split) for e == 0.
            if (e > D || e / chord > kRelativeDeviation) {
                keep[c] = 1;
                open[top++] = {c, b};
                open[top++] = {a, c};
            }
        }
        count = Gather(points, count, keep);
    }

    // 2. Direction pass. It reads three points from the start, so it needs three.
    if (m_dDirection != 0.0 && count >= 3) CompressByDirection(points, &count);

    // 3. Spike pass: P[j-1] == P[j+1] means P[j] is the tip of a spike and P[j+1] its return.
    //    The tests read the values from before the pass; the first and the last point always stay.
    if (count >= 3) {
        std::fill(keep, keep + count, 1);
        for (int j = 1; j <= count - 2;) {
            if (PointEqual(points[j - 1], points[j + 1])) {
                keep[j] = 0;
                if (j + 1 < count - 1) keep[j + 1] = 0;
                j += 2;
            } else {
                ++j;
            }
        }
        count = Gather(points, count, keep);
    }

    // 4. Ring ends. The step reads two points from each end, so it needs three.
    if (count >= 3 && (closed || PointEqual(points[0], points[count - 1])))
        CompressStartEndPoint(points, &count);

    *n = count;
    return 1;
}

int CCompressPts::CalcDirection(const POINT* pts) {
    const POINT& p0 = pts[0];
    const POINT& p1 = pts[1];
    const POINT& p2 = pts[2];
    POINT f = ProPoint(p0, p1, p2);
    long long dx = static_cast<long long>(p1.x) - p0.x;
    long long dy = static_cast<long long>(p1.y) - p0.y;
    if (dy > 0) return p2.x < f.x ? 1 : 0;
    if (dy < 0) return p2.x > f.x ? 1 : 0;
    if (dx > 0) return p2.y > f.y ? 1 : 0;
    return p2.y < f.y ? 1 : 0;
}

void CCompressPts::CompressByDirection(POINT* points, int* n) {
    const int count = *n;
    const double t = 2.0 * m_dDirection;
    const double tt = t * t;
    std::vector<char> keep(count, 1);
    int d = CalcDirection(points);
    for (int i = 2; i <= count - 3; ++i) {
        if (SqrtDist(points[i - 1], points[i]) > tt && SqrtDist(points[i], points[i + 1]) > tt) continue;
        int d1 = CalcDirection(points + i - 1);
        if (d1 == d) continue;
        d = d1;
        int d2 = CalcDirection(points + i);
        if (d2 == d) continue;
        keep[i] = 0;
        d = d2;
    }
    *n = Gather(points, count, keep.data());
}

void CCompressPts::CompressStartEndPoint(POINT* points, int* n) {
    const int m = *n - 1;
    POINT* P = points;
    const double D4 = 4.0 * m_dDistance;
    if (PointEqual(P[0], P[m])) {
        // The ring repeats its start: move both copies together (inclusive tests).
        if (Ratio(LineDistance(P[1], P[0], P[2]), Distance(P[0], P[2])) >= kRelativeDeviation &&
            Ratio(LineDistance(P[m - 1], P[m], P[m - 2]), Distance(P[m], P[m - 2])) >= kRelativeDeviation &&
            D4 >= LineDistance(P[0], P[m - 1], P[1])) {
            P[0] = P[m] = HalfWay(P[1], P[m - 1]);
        }
        return;
    }
    // The ring closes implicitly from P[m] back to P[0] (strict tests).
    if (Ratio(LineDistance(P[1], P[0], P[2]), Distance(P[0], P[2])) > kRelativeDeviation &&
        Ratio(LineDistance(P[m], P[0], P[m - 1]), Distance(P[0], P[m - 1])) > kRelativeDeviation &&
        D4 > LineDistance(P[0], P[m], P[1])) {
        P[0] = HalfWay(P[1], P[m]);
        return;
    }
    if (Ratio(LineDistance(P[0], P[m], P[1]), Distance(P[m], P[1])) > kRelativeDeviation &&
        Ratio(LineDistance(P[m - 1], P[m], P[m - 2]), Distance(P[m], P[m - 2])) > kRelativeDeviation &&
        D4 > LineDistance(P[m], P[m - 1], P[0])) {
        P[m] = HalfWay(P[0], P[m - 1]);
    }
}
