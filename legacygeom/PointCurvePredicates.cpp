#include "PointCurvePredicates.h"

#include "GeomInternal.h"
#include "PlanarMeasures.h"

#include <afx/afx.h>

#include <algorithm>

using namespace corvanegeom;

namespace {

const char kNoArc[] = "指定的三点不能构成圆弧!";

// The pre-test and angular-range test shared by the two on-arc forms; false after the message when
// there is no circle.
bool OnArcCandidate(tagPOINT* pt, double d, tagPOINT* a, tagPOINT* b, tagPOINT* c, tagPOINT& centre,
                    LONG& r, double& dx, double& dy, bool& circle) {
    circle = CircleCentre(a, b, c, &centre, r) != 0;
    if (!circle) {
        AfxMessageBox(kNoArc, MB_OK);
        return false;
    }
    dx = static_cast<double>(centre.x) - pt->x;
    dy = static_cast<double>(centre.y) - pt->y;
    if (dx - d > 0.001 || dy - d > 0.001) return false;
    return IsPointInSectorEx(pt, a, c, &centre, IsArcClockwise(a, b, c)) != 0;
}

}  // namespace

int PointWithArc(tagPOINT* pt, double d, tagPOINT* a, tagPOINT* b, tagPOINT* c) {
    tagPOINT centre{0, 0};
    LONG r = 0;
    double dx = 0, dy = 0;
    bool circle = false;
    if (!OnArcCandidate(pt, d, a, b, c, centre, r, dx, dy, circle)) return 0;
    return std::fabs(dx * dx + dy * dy - d * d) <= 1.0;
}

int PointWithArcEx(tagPOINT* pt, double d, double& gap, tagPOINT* a, tagPOINT* b, tagPOINT* c) {
    tagPOINT centre{0, 0};
    LONG r = 0;
    double dx = 0, dy = 0;
    bool circle = false;
    if (!OnArcCandidate(pt, d, a, b, c, centre, r, dx, dy, circle)) return 0;
    gap = Sq(std::fabs(std::sqrt(dx * dx + dy * dy) - r));
    return gap - d <= 0;
}

LONG PointWithArcExt(tagPOINT* pt, tagPOINT* a, tagPOINT* b, tagPOINT* c) {
    tagPOINT centre{0, 0};
    LONG r = 0;
    if (!CircleCentre(a, b, c, &centre, r)) {
        AfxMessageBox(kNoArc, MB_OK);
        return 0;
    }
    const double cx = centre.x, cy = centre.y, R = r;
    if (pt->x > cx + R || pt->y > cy + R || pt->y < cy - R) return 0;
    const double w = std::sqrt(std::max(0.0, R * R - Sq(pt->y - cy)));
    const double xr = cx + w, xl = cx - w;
    if (pt->x > xr) return 0;
    const int clockwise = IsArcClockwise(a, b, c);
    LONG count = 0;
    tagPOINT right{TruncToLong(xr), pt->y};
    if (IsPointInSectorEx(&right, a, c, &centre, clockwise)) count = (a->x == xr && a->y == pt->y) ? 2 : 1;
    if (pt->x <= xl) {
        tagPOINT left{TruncToLong(xl), pt->y};
        if (IsPointInSectorEx(&left, a, c, &centre, clockwise)) count += SamePoint(&left, a) ? 2 : 1;
    }
    return count;
}

int PointWithCircle(tagPOINT* pt, double d, tagPOINT* a, tagPOINT* b, tagPOINT* c) {
    const double s = DPointToCircle(pt, a, b, c);
    if (s < 0) return 0;
    return std::fabs(std::sqrt(s) - d) <= 0.1;
}

int PointWithCircleEx(tagPOINT* pt, double d, double& dist, tagPOINT* a, tagPOINT* b, tagPOINT* c) {
    const double s = DPointToCircle(pt, a, b, c);
    if (s < 0) return 0;
    dist = std::sqrt(s);
    return std::fabs(dist - d) <= 0.1;
}

LONG PointWithCircleExt(tagPOINT* pt, tagPOINT* a, tagPOINT* b, tagPOINT* c) {
    tagPOINT centre{0, 0};
    LONG r = 0;
    if (!CircleCentre(a, b, c, &centre, r)) return 0;
    const int64_t cx = centre.x, cy = centre.y, R = r;
    if (pt->y < cy - R || pt->y > cy + R) return 0;
    if (pt->y == cy + R || pt->y == cy - R) return pt->x == cx ? -1 : (pt->x < cx ? 2 : 0);
    if (pt->x < cx - R) return 2;
    const double s = DPointToPoint(pt, &centre) - static_cast<double>(R) * R;
    if (std::fabs(s) <= 0.001) return -1;
    if (s < -0.001) return 1;
    return pt->x <= cx ? 2 : 0;
}

namespace {
bool InRingBox(const tagPOINT* centre, LONG r, const tagPOINT* pt) {
    const int64_t cx = centre->x, cy = centre->y;
    return cx - r <= pt->x && pt->x <= cx + r && cy - r <= pt->y && pt->y <= cy + r;
}
double RingExcess(tagPOINT* centre, LONG r, tagPOINT* pt) {
    return DPointToPoint(pt, centre) - static_cast<double>(r) * r;
}
}  // namespace

int RingWithPoint(tagPOINT* centre, LONG r, tagPOINT* pt) {
    if (!InRingBox(centre, r, pt)) return 0;
    return RingExcess(centre, r, pt) <= 0.001;
}

unsigned char RingWithPointEx(tagPOINT* centre, LONG r, tagPOINT* pt) {
    if (!InRingBox(centre, r, pt)) return 0;
    const double f = RingExcess(centre, r, pt);
    if (f > 0.0001) return 0;
    if (f < -0.0001) return 2;
    return 1;
}

int PointWithRing(tagPOINT* pt, tagPOINT* centre, LONG r) { return RingWithPoint(centre, r, pt); }

unsigned char PointWithRingEx(tagPOINT* pt, tagPOINT* centre, LONG r) { return RingWithPointEx(centre, r, pt); }
