#include "PlanarMeasures.h"

#include "GeomInternal.h"

#include <afx/afx.h>

#include <algorithm>

using namespace corvanegeom;

int Slope(tagPOINT* p, tagPOINT* q, double& k) {
    if (p->x == q->x) return 0;
    k = (static_cast<double>(p->y) - q->y) / (static_cast<double>(p->x) - q->x);
    return 1;
}

int IsArcClockwise(tagPOINT* a, tagPOINT* b, tagPOINT* c) {
    if (b->x == a->x) return c->x < a->x ? (b->y < a->y) : (b->y >= a->y);
    if (b->y == a->y) return c->y < a->y ? (b->x > a->x) : (b->x < a->x);
    const double dx1 = static_cast<double>(b->x) - a->x, dy1 = static_cast<double>(b->y) - a->y;
    const double dx2 = static_cast<double>(c->x) - a->x, dy2 = static_cast<double>(c->y) - a->y;
    // c straight above or below a: the sign of the cross product decides without the division below.
    if (dx2 == 0) return -dy2 * dx1 > 0;
    const double cross = dx2 * dy1 - dy2 * dx1;
    if (std::fabs(cross / dx2) < 0.001) return 0;
    return cross > 0;
}

int CircleCentre(tagPOINT* a, tagPOINT* b, tagPOINT* c, tagPOINT* centre, LONG& r) {
    if (SamePoint(a, b) || SamePoint(b, c) || SamePoint(a, c)) return 0;
    double k1 = 0, k2 = 0;
    const int has1 = Slope(a, b, k1), has2 = Slope(b, c, k2);
    if (!has1 && !has2) return 0;
    if (has1 && has2 && std::fabs(k1 - k2) < 0.0001) return 0;
    const double ax = a->x, ay = a->y, bx = b->x, by = b->y, cx = c->x, cy = c->y;
    const double dx1 = bx - ax, dy1 = by - ay, dx2 = cx - ax, dy2 = cy - ay;
    const double K1 = (bx * bx - ax * ax) + (by * by - ay * ay);
    const double K2 = (cx * cx - ax * ax) + (cy * cy - ay * ay);
    const double den = 2 * (dx2 * dy1 - dy2 * dx1);
    if (den == 0) return 0;
    const double Y = (K1 * dx2 - K2 * dx1) / den;
    // With a vertical first chord the second one (a to c) is not vertical: solve with it instead.
    const double X = dx1 != 0 ? (K1 - 2 * dy1 * Y) / (2 * dx1) : (K2 - 2 * dy2 * Y) / (2 * dx2);
    const double radius = std::sqrt(Sq(X - ax) + Sq(Y - ay));
    const auto fits = [](double v) { return v > -2147483649.0 && v < 2147483648.0; };
    if (!fits(X) || !fits(Y) || !fits(radius)) return 0;
    centre->x = static_cast<LONG>(X);
    centre->y = static_cast<LONG>(Y);
    r = static_cast<LONG>(radius);
    return 1;
}

double DPointToPoint(tagPOINT* p, tagPOINT* q) {
    return Sq(static_cast<double>(p->x) - q->x) + Sq(static_cast<double>(p->y) - q->y);
}

namespace {
// (a - pt) x (b - pt) squared over |b - a|^2; a != b.
double LineDistance(const tagPOINT* pt, const tagPOINT* a, const tagPOINT* b) {
    const double ax = static_cast<double>(a->x) - pt->x, ay = static_cast<double>(a->y) - pt->y;
    const double bx = static_cast<double>(b->x) - pt->x, by = static_cast<double>(b->y) - pt->y;
    const double cross = ax * by - ay * bx;
    const double l2 = Sq(static_cast<double>(b->x) - a->x) + Sq(static_cast<double>(b->y) - a->y);
    return cross * cross / l2;
}
}  // namespace

double DPointToLine(tagPOINT* pt, tagPOINT* a, tagPOINT* b) {
    if (SamePoint(a, b)) return DPointToPoint(pt, a);
    return LineDistance(pt, a, b);
}

double DPointToLineSeg(tagPOINT* pt, tagPOINT* a, tagPOINT* b) {
    if (SamePoint(a, b)) return DPointToPoint(a, pt);
    const double a2 = DPointToPoint(a, pt), b2 = DPointToPoint(b, pt), l2 = DPointToPoint(a, b);
    if (a2 - b2 + l2 < -0.001) return a2;
    if (l2 - a2 + b2 < -0.001) return b2;
    return LineDistance(pt, a, b);
}

double DPointToFoldLine(tagPOINT* pt, int n, tagPOINT* pts) {
    if (n <= 0) return 0.0;
    double best = DPointToLineSeg(pt, &pts[0], &pts[1]);
    for (int i = 1; i < n; ++i) best = std::min(best, DPointToLineSeg(pt, &pts[i], &pts[i + 1]));
    return best;
}

double AngleEx(tagPOINT* p, tagPOINT* origin) {
    const double dx = static_cast<double>(p->x) - origin->x, dy = static_cast<double>(p->y) - origin->y;
    if (dx == 0) return dy < 0 ? kThreeHalfPi : (dy == 0 ? 0.0 : kHalfPi);
    if (dy == 0) return dx < 0 ? kPi : 0.0;
    const double t = std::fabs(std::atan(dy / dx));
    if (dy > 0) return dx > 0 ? t : kPi - t;
    return dx > 0 ? kTwoPi - t : kPi + t;
}

int IsPointInSectorEx(tagPOINT* pt, tagPOINT* a, tagPOINT* b, tagPOINT* centre, int clockwise) {
    double from = AngleEx(a, centre), to = AngleEx(b, centre);
    const double t = AngleEx(pt, centre);
    if (clockwise) std::swap(from, to);  // a clockwise sweep from a to b runs anticlockwise from b to a
    if (to < from) return !(to < t && t < from);
    return !(t < from || t > to);
}

int IsPointInSector(tagPOINT* pt, tagPOINT* a, tagPOINT* b, tagPOINT* centre, int clockwise) {
    if (!IsPointInSectorEx(pt, a, b, centre, clockwise)) return 0;
    return DPointToPoint(pt, centre) - DPointToPoint(a, centre) < 0.001;
}

double DPointToArc(tagPOINT* pt, tagPOINT* a, tagPOINT* b, tagPOINT* c) {
    tagPOINT* s = a;
    tagPOINT* e = c;
    if (!IsArcClockwise(a, b, c)) std::swap(s, e);
    tagPOINT centre{0, 0};
    LONG r = 0;
    if (!CircleCentre(s, b, e, &centre, r)) {
        AfxMessageBox("The three points can not build a circle!", MB_OK);
        return -1.0;
    }
    if (IsPointInSector(pt, s, e, &centre, 1)) return DPointToPoint(pt, &centre);
    return std::min(DPointToPoint(pt, s), DPointToPoint(pt, e));
}

double DPointToCircle(tagPOINT* pt, tagPOINT* a, tagPOINT* b, tagPOINT* c) {
    tagPOINT centre{0, 0};
    LONG r = 0;
    if (!CircleCentre(a, b, c, &centre, r)) return -1.0;
    return DPointToPoint(pt, &centre);
}

namespace {
int Quadrant(double angle) {
    if (angle < kHalfPi) return 0;
    if (angle < kPi) return 1;
    if (angle < kThreeHalfPi) return 2;
    return 3;
}
}  // namespace

int ArcEnvelope(tagEnvelope* env, tagPOINT* a, tagPOINT* b, tagPOINT* c) {
    tagPOINT centre{0, 0};
    LONG r = 0;
    if (!CircleCentre(a, b, c, &centre, r)) {
        AfxMessageBox("指定的三点不能构成圆!", MB_OK);
        return 0;
    }
    tagPOINT* s = a;
    tagPOINT* e = c;
    if (IsArcClockwise(a, b, c)) std::swap(s, e);  // now anticlockwise from s to e
    const double ts = AngleEx(s, &centre), te = AngleEx(e, &centre);
    const int qs = Quadrant(ts), qe = Quadrant(te);

    // passed[k]: the sweep passes the axis direction k * pi/2.
    bool passed[4] = {false, false, false, false};
    if (qs == qe) {
        if (ts > te) passed[0] = passed[1] = passed[2] = passed[3] = true;
    } else {
        for (int q = qs + 1;; ++q) {
            passed[q % 4] = true;
            if (q % 4 == qe) break;
        }
    }
    tagEnvelope box{std::min(s->x, e->x), std::min(s->y, e->y), std::max(s->x, e->x), std::max(s->y, e->y)};
    if (passed[0]) box.xmax = ClampToLong(static_cast<int64_t>(centre.x) + r);
    if (passed[1]) box.ymax = ClampToLong(static_cast<int64_t>(centre.y) + r);
    if (passed[2]) box.xmin = ClampToLong(static_cast<int64_t>(centre.x) - r);
    if (passed[3]) box.ymin = ClampToLong(static_cast<int64_t>(centre.y) - r);
    *env = box;
    return 1;
}
