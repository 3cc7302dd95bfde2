#include "ostrel/CenPos.h"

#include "ostrel/Contact.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Whether p lies strictly inside the outline and in no hole.
bool InsideArea(const POINT& p, const POINT* pts, const int* sizes, int nRings) {
    if (!PtInsidePolygon(p, pts, sizes[0])) return false;
    const POINT* ring = pts + sizes[0];
    for (int i = 1; i < nRings; ++i) {
        if (sizes[i] >= 3 && PtInPolygon(p, ring, sizes[i])) return false;
        ring += sizes[i];
    }
    return true;
}

}  // namespace

int FindCenPos(const POINT* pts, const int* sizes, int nRings, POINT& out, double dMinWidth) {
    if (!pts || !sizes || nRings < 1) return 0;
    long long total = 0;
    for (int i = 0; i < nRings; ++i) {
        if (sizes[i] < 0) return 0;
        total += sizes[i];
    }
    if (sizes[0] < 3 || total <= 0) return 0;
    LONG top = pts[0].y, bottom = pts[0].y;
    for (int i = 1; i < sizes[0]; ++i) {
        top = std::min(top, pts[i].y);
        bottom = std::max(bottom, pts[i].y);
    }
    if (bottom - top < 1) return 0;

    // Heights tried: the middle first, then spreading out, so that a regular area gets its centre row.
    const int kRows = 15;
    double bestWidth = -1;
    POINT best{0, 0};
    for (int k = 0; k < kRows; ++k) {
        const int step = (k + 1) / 2 * ((k % 2) ? 1 : -1);
        const double fy = top + (bottom - top) * (0.5 + step / double(kRows + 1));
        const double y = std::floor(fy) + 0.5;  // between integer rows, so no vertex lies on it
        std::vector<double> xs;
        const POINT* ring = pts;
        for (int r = 0; r < nRings; ++r) {
            const int n = sizes[r];
            for (int i = 0; i < n; ++i) {
                const POINT& a = ring[i];
                const POINT& b = ring[(i + 1) % n];
                if ((a.y < y) != (b.y < y)) xs.push_back(a.x + (y - a.y) * double(b.x - a.x) / double(b.y - a.y));
            }
            ring += n;
        }
        std::sort(xs.begin(), xs.end());
        for (size_t i = 0; i + 1 < xs.size(); ++i) {
            const double width = xs[i + 1] - xs[i];
            if (width <= bestWidth || width < dMinWidth) continue;
            POINT c{LONG(std::lround((xs[i] + xs[i + 1]) / 2)), LONG(std::lround(std::floor(fy)))};
            if (!InsideArea(c, pts, sizes, nRings)) {
                c.y = LONG(std::floor(fy)) + 1;
                if (!InsideArea(c, pts, sizes, nRings)) continue;
            }
            bestWidth = width;
            best = c;
        }
    }
    if (bestWidth < 0) return 0;
    out = best;
    return 1;
}
