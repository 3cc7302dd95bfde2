#include "CurvePredicates.h"

#include "GeomInternal.h"
#include "PlanarMeasures.h"

#include <afx/afx.h>

#include <algorithm>

using namespace corvanegeom;

namespace {
const char kNoArc[] = "指定的三点无法构成圆弧!";

bool Between(double v, double e1, double e2) { return std::min(e1, e2) <= v && v <= std::max(e1, e2); }
}  // namespace

int LineSegWithArc(tagPOINT* a, tagPOINT* b, tagPOINT* p, tagPOINT* q, tagPOINT* s) {
    tagPOINT centre{0, 0};
    LONG r = 0;
    if (!CircleCentre(p, q, s, &centre, r)) {
        AfxMessageBox(kNoArc, MB_OK);
        return 0;
    }
    const double cx = centre.x, cy = centre.y, R = r;
    if (std::sqrt(DPointToLineSeg(&centre, a, b)) - R > 0.1) return 0;

    double x[2], y[2];
    bool onSegment[2];
    if (a->x == b->x) {
        const double rad = R * R - Sq(a->x - cx);
        if (rad < 0) return 0;  // the line passes the circle by (within the 0.1 of the pre-test)
        const double w = std::sqrt(rad);
        x[0] = x[1] = a->x;
        y[0] = cy + w;
        y[1] = cy - w;
        for (int i = 0; i < 2; ++i) onSegment[i] = Between(y[i], a->y, b->y);
    } else {
        const double k = (static_cast<double>(a->y) - b->y) / (static_cast<double>(a->x) - b->x);
        const double m = (a->y - cy) - (a->x - cx) * k;
        const double A = k * k + 1.0, B = 2.0 * m * k, C = m * m - R * R;
        const double disc = B * B - 4.0 * A * C;
        if (disc < 0) return 0;
        const double root = std::sqrt(disc);
        const double x1 = (root - B) / (2.0 * A), x2 = -(root + B) / (2.0 * A);
        x[0] = x1 + cx;
        y[0] = k * x1 + m + cy;
        x[1] = x2 + cx;
        y[1] = k * x2 + m + cy;
        for (int i = 0; i < 2; ++i) onSegment[i] = Between(x[i], a->x, b->x);
    }
    // Both crossings are tried: the first may lie outside the arc's range while the second lies in it.
    const int clockwise = IsArcClockwise(p, q, s);
    for (int i = 0; i < 2; ++i) {
        if (!onSegment[i]) continue;
        tagPOINT hit{TruncToLong(x[i]), TruncToLong(y[i])};
        if (IsPointInSectorEx(&hit, p, s, &centre, clockwise)) return 1;
    }
    return 0;
}

int LineSegWithCircle(tagPOINT* a, tagPOINT* b, tagPOINT* p, tagPOINT* q, tagPOINT* s) {
    tagPOINT centre{0, 0};
    LONG r = 0;
    if (!CircleCentre(p, q, s, &centre, r)) {
        AfxMessageBox(kNoArc, MB_OK);
        return 0;
    }
    return LineSegWithCircle(a, b, &centre, r);
}

int LineSegWithCircle(tagPOINT* a, tagPOINT* b, tagPOINT* centre, LONG r) { return LineSegWithRing(a, b, centre, r); }

int LineSegWithRing(tagPOINT* a, tagPOINT* b, tagPOINT* centre, LONG r) {
    return RingWithLineSeg(centre, r, a, b) == 1;
}

unsigned char RingWithLineSeg(tagPOINT* centre, LONG r, tagPOINT* a, tagPOINT* b) {
    const double r2 = static_cast<double>(r) * r;
    const double a2 = DPointToPoint(a, centre), b2 = DPointToPoint(b, centre), l2 = DPointToPoint(a, b);
    const double dA = a2 - r2, dB = b2 - r2;
    if (dA > 0.0001 && dB > 0.0001) {
        if (l2 == 0) return 0;
        const double ax = static_cast<double>(a->x) - centre->x, ay = static_cast<double>(a->y) - centre->y;
        const double bx = static_cast<double>(b->x) - centre->x, by = static_cast<double>(b->y) - centre->y;
        const double cross = by * ax - bx * ay;
        const double h = cross * cross / l2 - r2;
        if (h > -0.0001) return 0;
        // The line passes inside the circle: the segment crosses it when the foot of the centre lies
        // between the ends (the angles at a and at b are not obtuse).
        return (a2 - b2 + l2 >= 0 && b2 - a2 + l2 >= 0) ? 1 : 0;
    }
    if (dA <= 0.0001) return 2;
    if (dB < -0.0001) return 1;
    return a2 + b2 - l2 <= -0.0001 ? 1 : 0;
}

int FoldLineWithArc(tagPOINT* pts, int n, tagPOINT* p, tagPOINT* q, tagPOINT* s) {
    for (int i = 0; i + 1 < n; ++i)
        if (LineSegWithArc(&pts[i], &pts[i + 1], p, q, s)) return 1;
    return 0;
}

int FoldLineWithCircle(tagPOINT* pts, int n, tagPOINT* p, tagPOINT* q, tagPOINT* s) {
    for (int i = 0; i + 1 < n; ++i)
        if (LineSegWithCircle(&pts[i], &pts[i + 1], p, q, s)) return 1;
    return 0;
}

int FoldLineWithCircle(tagPOINT* pts, int n, tagPOINT* centre, LONG r) {
    for (int i = 0; i + 1 < n; ++i)
        if (LineSegWithCircle(&pts[i], &pts[i + 1], centre, r)) return 1;
    return 0;
}

namespace {
// 1 or 0 when the two circles' positions decide alone, -1 when they cross.
int CirclePosition(tagPOINT* c, LONG r, tagPOINT* C, LONG R) {
    const double e = std::sqrt(DPointToPoint(c, C));
    const double rr = r, RR = R;
    if ((rr - RR) - e > 0) return 1;
    if (e > rr + RR) return 0;
    if ((RR - rr) - e > 0) return 0;
    return -1;
}
bool InDisc(tagPOINT* p, tagPOINT* c, LONG r) { return DPointToPoint(p, c) <= static_cast<double>(r) * r; }
}  // namespace

int RingWithArc(tagPOINT* c, LONG r, tagPOINT* p, tagPOINT* q, tagPOINT* s, short mode) {
    tagPOINT C{0, 0};
    LONG R = 0;
    if (!CircleCentre(p, q, s, &C, R)) return 0;
    const int position = CirclePosition(c, r, &C, R);
    if (position >= 0) return position;
    if (mode == 0) return InDisc(p, c, r) && InDisc(q, c, r) && InDisc(s, c, r);
    if (InDisc(p, c, r) || InDisc(q, c, r) || InDisc(s, c, r)) return 1;
    return IsPointInSectorEx(c, p, s, &C, IsArcClockwise(p, q, s));
}

int RingWithCircle(tagPOINT* c, LONG r, tagPOINT* p, tagPOINT* q, tagPOINT* s, short mode) {
    tagPOINT C{0, 0};
    LONG R = 0;
    if (!CircleCentre(p, q, s, &C, R)) return 0;
    const int position = CirclePosition(c, r, &C, R);
    if (position >= 0) return position;
    return mode != 0;
}
