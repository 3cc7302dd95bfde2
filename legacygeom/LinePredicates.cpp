#include "LinePredicates.h"

#include "GeomInternal.h"

#include <algorithm>

using namespace corvanegeom;

int PointWithLine(tagPOINT* pt, tagPOINT* a, tagPOINT* b) {
    if (a->x == b->x) return pt->x == a->x;
    const double ax = static_cast<double>(a->x) - pt->x, ay = static_cast<double>(a->y) - pt->y;
    const double bx = static_cast<double>(b->x) - pt->x, by = static_cast<double>(b->y) - pt->y;
    const double offset = std::fabs(ax * by - ay * bx) / std::fabs(bx - ax);
    return offset <= 0.01;
}

int PointWithLineSeg(tagPOINT* pt, tagPOINT* a, tagPOINT* b) {
    if (pt->x < std::min(a->x, b->x) || pt->x > std::max(a->x, b->x)) return 0;
    if (pt->y < std::min(a->y, b->y) || pt->y > std::max(a->y, b->y)) return 0;
    return PointWithLine(pt, a, b);
}

int PointWithFoldLine(tagPOINT* pt, tagPOINT* pts, int n) {
    for (int i = 0; i < n; ++i)
        if (PointWithLineSeg(pt, &pts[i], &pts[i + 1])) return 1;
    return 0;
}

LONG PointWithLineSegExt(tagPOINT* pt, tagPOINT* a, tagPOINT* b) {
    const LONG ylo = std::min(a->y, b->y), yhi = std::max(a->y, b->y);
    const LONG xlo = std::min(a->x, b->x), xhi = std::max(a->x, b->x);
    if (a->x == b->x) {
        if (a->x < pt->x) return 0;
        const bool inY = ylo <= pt->y && pt->y <= yhi;
        if (a->x == pt->x) return inY ? -1 : 0;
        if (!inY) return 0;
        return pt->y == a->y ? 2 : 1;
    }
    if (a->y == b->y) {
        if (pt->y != a->y || pt->x > xhi) return 0;
        return xlo <= pt->x ? -1 : 2;
    }
    if (pt->y < ylo || pt->y > yhi) return 0;
    if (pt->y != a->y && pt->y != b->y) {
        if (pt->x >= xhi) return 0;
        if (pt->x <= xlo) return 1;
        // Which side of the segment the point lies on, with the segment turned to run upwards.
        int side = -CrossSign(pt, a, b);
        if (b->y < a->y) side = -side;
        return side > 0 ? 1 : (side < 0 ? 0 : -1);
    }
    if (pt->y == b->y) return pt->x < b->x ? 1 : (pt->x == b->x ? -1 : 0);
    return pt->x < a->x ? 2 : (pt->x == a->x ? -1 : 0);
}

namespace {
// The sign of p against the line s-t, and whether p lies on the segment s-t itself.
int Orientation(const tagPOINT* p, const tagPOINT* s, const tagPOINT* t, bool& onSegment) {
    const int sign = CrossSign(p, s, t);
    onSegment = false;
    if (sign == 0) {
        const int64_t px = static_cast<int64_t>(p->x) - s->x, tx = static_cast<int64_t>(t->x) - s->x;
        const int64_t py = static_cast<int64_t>(p->y) - s->y, ty = static_cast<int64_t>(t->y) - s->y;
        // Both axes: on x alone, distant collinear vertical segments would count as touching.
        onSegment = std::min<int64_t>(tx, 0) <= px && px <= std::max<int64_t>(tx, 0) &&
                    std::min<int64_t>(ty, 0) <= py && py <= std::max<int64_t>(ty, 0);
    }
    return sign;
}
}  // namespace

int LineSegWithLineSeg(tagPOINT* a, tagPOINT* b, tagPOINT* c, tagPOINT* d) {
    bool on = false;
    const int sc = Orientation(c, a, b, on);
    if (on) return 1;
    const int sd = Orientation(d, a, b, on);
    if (on) return 1;
    const int sa = Orientation(a, c, d, on);
    if (on) return 1;
    const int sb = Orientation(b, c, d, on);
    if (on) return 1;
    return sc * sd < 0 && sa * sb < 0;
}

unsigned char LineSegWithFoldLine(tagPOINT* a, tagPOINT* b, tagPOINT* pts, LONG n) {
    for (LONG i = 0; i + 1 < n; ++i) {
        if (SamePoint(&pts[i], &pts[i + 1])) continue;
        if (LineSegWithLineSeg(a, b, &pts[i], &pts[i + 1])) return 1;
    }
    return 0;
}
