#include "PolygonPredicates.h"

#include "CurvePredicates.h"
#include "GeomInternal.h"
#include "LinePredicates.h"
#include "PlanarMeasures.h"

#include <afx/afx.h>

#include <algorithm>

using namespace corvanegeom;

namespace {

bool IsClosed(const tagPOINT* ring, LONG n) { return n >= 1 && SamePoint(&ring[n - 1], &ring[0]); }

// The ray walk shared by the three point-in-polygon forms: -1 when pt lies on the boundary, else the
// number of crossings of the ray from pt towards +x. The ring is closed.
LONG CrossingWalk(const tagPOINT* pt, const tagPOINT* ring, LONG n) {
    LONG count = 0;
    for (LONG g = 0; g + 1 < n; ++g) {
        const tagPOINT& P = ring[g];
        const tagPOINT& Q = ring[g + 1];
        const LONG ylo = std::min(P.y, Q.y), yhi = std::max(P.y, Q.y);
        if (pt->y < ylo || pt->y > yhi) continue;
        if (pt->y > ylo && pt->y < yhi) {
            if (P.x == Q.x) {
                if (pt->x == P.x) return -1;
                if (pt->x < P.x) ++count;
                continue;
            }
            if (pt->x >= std::max(P.x, Q.x)) continue;
            if (pt->x <= std::min(P.x, Q.x)) {
                ++count;
                continue;
            }
            // Which side of the edge pt lies on, with the edge turned to run upwards.
            int side = -CrossSign(pt, &P, &Q);
            if (Q.y < P.y) side = -side;
            if (side == 0) return -1;
            if (side > 0) ++count;
            continue;
        }
        if (P.y == Q.y) {  // horizontal edge on the ray's row
            if (std::min(P.x, Q.x) <= pt->x && pt->x <= std::max(P.x, Q.x)) return -1;
            continue;
        }
        if (pt->y == P.y) {  // the edge's start vertex
            if (pt->x == P.x) return -1;
            if (pt->x < P.x) ++count;
            continue;
        }
        // The edge's end vertex Q, on the ray's row.
        if (pt->x == Q.x) return -1;
        if (pt->x > Q.x) continue;
        // Look ahead for the next vertex off this row: when the boundary passes through Q the next
        // edge's start vertex counts it; at a peak or a trough Q counts once more here.
        LONG idx = g + 2;
        const tagPOINT* R = &Q;
        for (LONG steps = 0; steps < n; ++steps, ++idx) {
            if (idx > n - 2) idx = idx - n + 1;
            R = &ring[idx];
            if (R->y != Q.y) break;
        }
        const bool passes = (P.y < Q.y && Q.y < R->y) || (P.y > Q.y && Q.y > R->y);
        if (!passes) ++count;
    }
    return count;
}

}  // namespace

int PointWithPolygon(tagPOINT* pt, tagPOINT* ring, LONG n) {
    if (!IsClosed(ring, n)) return 0;
    const LONG walk = CrossingWalk(pt, ring, n);
    return walk < 0 ? 1 : (walk % 2);
}

unsigned char PointWithPolygonEx(tagPOINT* pt, tagPOINT* ring, LONG n) {
    if (!IsClosed(ring, n)) return 0;
    const LONG walk = CrossingWalk(pt, ring, n);
    return walk < 0 ? 1 : (walk % 2 ? 2 : 0);
}

LONG PointWithPolygonExt(tagPOINT* pt, tagPOINT* ring, LONG n) {
    if (n < 3 || !IsClosed(ring, n)) return 0;
    return CrossingWalk(pt, ring, n);
}

int PointWithRect(tagPOINT* pt, tagEnvelope* env) {
    return env->xmin <= pt->x && pt->x <= env->xmax && env->ymin <= pt->y && pt->y <= env->ymax;
}

unsigned char PointWithRectEx(tagPOINT* pt, tagEnvelope* env) {
    if (!PointWithRect(pt, env)) return 0;
    if (pt->x == env->xmin || pt->x == env->xmax || pt->y == env->ymin || pt->y == env->ymax) return 1;
    return 2;
}

unsigned char LineSegWithRect(tagPOINT* a, tagPOINT* b, tagEnvelope* env) {
    const unsigned char ca = PointWithRectEx(a, env), cb = PointWithRectEx(b, env);
    if (ca == 2) return 2;
    if (cb == 2) return 1;
    if (ca == 1 && cb == 1) {
        tagPOINT mid{static_cast<LONG>((static_cast<int64_t>(a->x) + b->x) / 2),
                     static_cast<LONG>((static_cast<int64_t>(a->y) + b->y) / 2)};
        return PointWithRectEx(&mid, env) == 2 ? 1 : 0;
    }
    if (!(env->xmin <= a->x || env->xmin <= b->x) || !(env->ymin <= a->y || env->ymin <= b->y) ||
        !(a->x <= env->xmax || b->x <= env->xmax) || !(a->y <= env->ymax || b->y <= env->ymax))
        return 0;
    const auto within = [](LONG v, LONG e1, LONG e2) { return std::min(e1, e2) <= v && v <= std::max(e1, e2); };
    tagPOINT c1{env->xmin, env->ymin}, c2{env->xmax, env->ymin}, c3{env->xmax, env->ymax}, c4{env->xmin, env->ymax};
    if (within(env->ymin, a->y, b->y) && LineSegWithLineSeg(a, b, &c1, &c2)) return 1;
    if (within(env->xmax, a->x, b->x) && LineSegWithLineSeg(a, b, &c2, &c3)) return 1;
    if (within(env->ymax, a->y, b->y) && LineSegWithLineSeg(a, b, &c3, &c4)) return 1;
    if (within(env->xmin, a->x, b->x) && LineSegWithLineSeg(a, b, &c4, &c1)) return 1;
    return 0;
}

namespace {
struct Box {
    int64_t xmin, ymin, xmax, ymax;
};
Box CircleBox(const tagPOINT* centre, LONG r) {
    return {static_cast<int64_t>(centre->x) - r, static_cast<int64_t>(centre->y) - r,
            static_cast<int64_t>(centre->x) + r, static_cast<int64_t>(centre->y) + r};
}
Box EnvBox(const tagEnvelope* e) { return {e->xmin, e->ymin, e->xmax, e->ymax}; }
bool Inside(const Box& inner, const Box& outer) {
    return outer.xmin <= inner.xmin && inner.xmax <= outer.xmax && outer.ymin <= inner.ymin &&
           inner.ymax <= outer.ymax;
}
bool Overlap(const Box& p, const Box& q) {
    return p.xmin <= q.xmax && q.xmin <= p.xmax && p.ymin <= q.ymax && q.ymin <= p.ymax;
}
const char kNoCircle[] = "指定的三点不能构成圆!";
}  // namespace

int RectWithArc(tagEnvelope* env, tagPOINT* p, tagPOINT* q, tagPOINT* s, short mode) {
    tagPOINT centre{0, 0};
    LONG r = 0;
    if (!CircleCentre(p, q, s, &centre, r)) {
        AfxMessageBox(kNoCircle, MB_OK);
        return 0;
    }
    const Box envelope = EnvBox(env), circle = CircleBox(&centre, r);
    if (mode != 0) {
        if (!Overlap(circle, envelope)) return 0;
        tagEnvelope arc{};
        if (!ArcEnvelope(&arc, p, q, s)) return 0;
        if (!Overlap(EnvBox(&arc), envelope)) return 0;
        tagPOINT c1{env->xmin, env->ymin}, c2{env->xmin, env->ymax}, c3{env->xmax, env->ymax},
            c4{env->xmax, env->ymin};
        return LineSegWithArc(&c1, &c2, p, q, s) || LineSegWithArc(&c2, &c3, p, q, s) ||
               LineSegWithArc(&c3, &c4, p, q, s) || LineSegWithArc(&c4, &c1, p, q, s);
    }
    if (!Inside(circle, envelope)) return 0;
    tagEnvelope arc{};
    if (!ArcEnvelope(&arc, p, q, s)) return 0;
    return Inside(EnvBox(&arc), envelope);
}

int RectWithCircle(tagEnvelope* env, tagPOINT* centre, LONG r, short mode) {
    const Box circle = CircleBox(centre, r), envelope = EnvBox(env);
    return mode == 0 ? Inside(circle, envelope) : Overlap(circle, envelope);
}

int RectWithCircle(tagEnvelope* env, tagPOINT* p, tagPOINT* q, tagPOINT* s, short mode) {
    tagPOINT centre{0, 0};
    LONG r = 0;
    if (!CircleCentre(p, q, s, &centre, r)) {
        AfxMessageBox(kNoCircle, MB_OK);
        return 0;
    }
    return RectWithCircle(env, &centre, r, mode);
}

namespace {
bool EdgeMeetsSegment(tagPOINT* ring, int n, tagPOINT* a, tagPOINT* b) {
    for (int g = 0; g + 1 < n; ++g)
        if (LineSegWithLineSeg(&ring[g], &ring[g + 1], a, b)) return true;
    return false;
}
}  // namespace

int PolygonWithLineSeg(tagPOINT* ring, int n, tagPOINT* a, tagPOINT* b, short mode) {
    if (mode == 1) {
        if (PointWithPolygon(a, ring, n) || PointWithPolygon(b, ring, n)) return 1;
        return EdgeMeetsSegment(ring, n, a, b);
    }
    if (EdgeMeetsSegment(ring, n, a, b)) return 0;
    return PointWithPolygon(a, ring, n);
}

int PolygonWithFoldLine(tagPOINT* ring, int n, tagPOINT* pts, LONG m, short mode) {
    if (m < 1) return 0;
    bool meets = false;
    for (int g = 0; g + 1 < n && !meets; ++g) meets = LineSegWithFoldLine(&ring[g], &ring[g + 1], pts, m) != 0;
    if (meets) return mode == 1;
    return PointWithPolygon(&pts[0], ring, n);
}

int PolygonWithArc(tagPOINT* ring, int n, tagPOINT* p, tagPOINT* q, tagPOINT* s, short mode) {
    if (mode == 1) {
        if (PointWithPolygon(p, ring, n) || PointWithPolygon(q, ring, n) || PointWithPolygon(s, ring, n)) return 1;
        return FoldLineWithArc(ring, n, p, q, s);
    }
    if (FoldLineWithArc(ring, n, p, q, s)) return 0;
    return PointWithPolygon(p, ring, n);
}

int PolygonWithCircle(tagPOINT* ring, int n, tagPOINT* p, tagPOINT* q, tagPOINT* s, short mode) {
    if (mode == 1) {
        if (PointWithPolygon(p, ring, n) || PointWithPolygon(q, ring, n) || PointWithPolygon(s, ring, n)) return 1;
        return FoldLineWithCircle(ring, n, p, q, s);
    }
    if (FoldLineWithCircle(ring, n, p, q, s)) return 0;
    return PointWithPolygon(p, ring, n);
}

int PolygonWithCircle(tagPOINT* ring, int n, tagPOINT* centre, LONG r, short mode) {
    // A point on the circle itself: a corner of its box can lie outside a polygon the circle lies in.
    tagPOINT onCircle{ClampToLong(static_cast<int64_t>(centre->x) + r), centre->y};
    if (mode == 1) {
        if (PointWithPolygon(&onCircle, ring, n)) return 1;
        return FoldLineWithCircle(ring, n, centre, r);
    }
    if (FoldLineWithCircle(ring, n, centre, r)) return 0;
    return PointWithPolygon(&onCircle, ring, n);
}
