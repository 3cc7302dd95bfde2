#include "core/GeoHelpers.h"

#include <ostrel/Contact.h>
#include <ostrel/Measure.h>
#include <win32/module.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace {

const double kPi = 3.14159265358979323846;

// Point counts are capped so that a radius near the coordinate limits cannot ask for millions of points.
const int kMaxSteps = 100000;

LONG Trunc(double v)
{
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return 2147483647;
    if (v <= -2147483648.0) return (LONG)-2147483647 - 1;
    return (LONG)std::trunc(v);
}

POINT MakePoint(LONG x, LONG y)
{
    POINT p;
    p.x = x;
    p.y = y;
    return p;
}

// centre + trunc(r cos a), centre + trunc(r sin a), without overflow.
POINT OnCircle(const POINT& c, double r, double a)
{
    return MakePoint(Trunc((double)c.x + std::trunc(r * std::cos(a))), Trunc((double)c.y + std::trunc(r * std::sin(a))));
}

void Hand(const std::vector<POINT>& pts, POINT*& points, int& count)
{
    points = new POINT[pts.size()];
    for (size_t i = 0; i < pts.size(); ++i) points[i] = pts[i];
    count = (int)pts.size();
}

int StepCount(double n)
{
    if (!(n >= 1.0)) return 1;
    if (n > kMaxSteps) return kMaxSteps;
    return (int)n;
}

} // namespace

int GetLineCoefficients(double x1, double y1, double x2, double y2, double* A, double* B, double* C)
{
    double b = x1 - x2, a, c;
    if (b != 0.0) {
        a = y2 - y1;
        c = -y1 * b - x1 * a;
    } else {
        if (y1 == y2) return 0;
        a = 1.0;
        c = -x2;
    }
    if (A) *A = a;
    if (B) *B = b;
    if (C) *C = c;
    return 1;
}

int CrossPoint(double A1, double B1, double C1, double A2, double B2, double C2, double* x, double* y)
{
    double det = A1 * B2 - A2 * B1;
    if (det > -1e-9 && det < 1e-9) return 0;
    if (x) *x = (-B2 * C1 + B1 * C2) / det;
    if (y) *y = (-A1 * C2 + A2 * C1) / det;
    return 1;
}

namespace {

// Parameter of (px, py) along the segment, on the segment's longer axis.
double SegmentParam(double x1, double y1, double x2, double y2, double px, double py)
{
    double dx = x2 - x1, dy = y2 - y1;
    if (std::fabs(dy) >= std::fabs(dx)) return dy == 0.0 ? 0.0 : (py - y1) / dy;
    return dx == 0.0 ? 0.0 : (px - x1) / dx;
}

} // namespace

int CrossPoint(double x1, double y1, double x2, double y2, double x3, double y3, double x4, double y4, double* x,
               double* y)
{
    double A1, B1, C1, A2, B2, C2;
    if (!GetLineCoefficients(x1, y1, x2, y2, &A1, &B1, &C1)) return 0;
    if (!GetLineCoefficients(x3, y3, x4, y4, &A2, &B2, &C2)) return 0;
    double px, py;
    if (!CrossPoint(A1, B1, C1, A2, B2, C2, &px, &py)) return 0;
    if (x) *x = px;
    if (y) *y = py;
    double t1 = SegmentParam(x1, y1, x2, y2, px, py);
    double t2 = SegmentParam(x3, y3, x4, y4, px, py);
    return (t1 >= 0.01 && t1 <= 0.99 && t2 >= 0.01 && t2 <= 0.99) ? 1 : 0;
}

int IsAnticlockwise(double x1, double y1, double x2, double y2, double x3, double y3)
{
    return ((y3 - y2) * x1 + (y1 - y3) * x2 + (y2 - y1) * x3 < 0) ? TRUE : FALSE;
}

namespace {

// The arc's sweep (0 to 2 pi) about the centre (cx, cy) in doubles: the angle between the rays to p1
// and p3, taken the long way round when the centre lies on p2's side of the chord.
double ArcSweep(POINT p1, POINT p2, POINT p3, double cx, double cy)
{
    const double ax = p1.x - cx, ay = p1.y - cy, bx = p3.x - cx, by = p3.y - cy;
    const double minor = std::atan2(std::fabs(ax * by - ay * bx), ax * bx + ay * by);
    const double chordX = (double)p3.x - p1.x, chordY = (double)p3.y - p1.y;
    const double sideOfCentre = chordX * (cy - p1.y) - chordY * (cx - p1.x);
    const double sideOfMiddle = chordX * ((double)p2.y - p1.y) - chordY * ((double)p2.x - p1.x);
    return (sideOfCentre > 0.0) == (sideOfMiddle > 0.0) && sideOfCentre != 0.0 ? 2.0 * kPi - minor : minor;
}

// The point of the circle at angle a, from the centre in doubles, truncated as the run's points are.
POINT OnCircle(double cx, double cy, double r, double a)
{
    return MakePoint(Trunc(std::trunc(cx + r * std::cos(a))), Trunc(std::trunc(cy + r * std::sin(a))));
}

} // namespace

double TriPointArcLength(POINT p1, POINT p2, POINT p3)
{
    double cx, cy;
    if (!GetCenterOfCircle(p1, p2, p3, cx, cy)) return 0.0;
    return ArcSweep(p1, p2, p3, cx, cy) * std::hypot(p1.x - cx, p1.y - cy);
}

void ConvertTriPntArcToPLine(POINT p1, POINT p2, POINT p3, POINT*& points, int& count, int minChord, int maxSteps)
{
    double cxd, cyd;
    bool circle = GetCenterOfCircle(p1, p2, p3, cxd, cyd) != 0;
    if (circle && (std::fabs(cxd) >= 2147483647.0 || std::fabs(cyd) >= 2147483647.0)) circle = false;
    if (!circle) {
        // A straight run: keep p2 only when it bends the run.
        std::vector<POINT> run = {p1};
        if (!PointOnLine(p2, p1, p3) && !EqualPoint(p2, p1) && !EqualPoint(p2, p3)) run.push_back(p2);
        run.push_back(p3);
        Hand(run, points, count);
        return;
    }
    // Centre, radius and angles stay in doubles: a rounded centre would put the run's points (its first
    // one included) beside the arc when the circle is large.
    const double r = std::hypot(p1.x - cxd, p1.y - cyd);

    const int chordFloor = (int)std::trunc(2.0 * kPi * r / 2000.0);
    if (minChord <= chordFloor) minChord = chordFloor;
    double step = 2.8 * std::sqrt(100.0 / r);

    const bool ccw = IsAnticlockwise(p1.x, p1.y, p2.x, p2.y, p3.x, p3.y) != 0;
    const double a1 = std::atan2(p1.y - cyd, p1.x - cxd);
    const double sweep = ArcSweep(p1, p2, p3, cxd, cyd);
    const double dir = ccw ? 1.0 : -1.0;

    int n;
    if (step >= 1.0471975511965976) {
        n = 6;
        step = sweep / 6.0;
    } else {
        n = StepCount(std::trunc(sweep / step) + 1.0);
    }
    if (maxSteps > 0 && n >= maxSteps) {
        n = maxSteps;
        step = sweep / maxSteps;
    }
    const double chord = Distance(p1, p3);

    // The run starts exactly at p1 and ends exactly at p3, so arcs that share an end stay joined.
    std::vector<POINT> pts{p1};
    if ((n > 5 || n <= 1) && (minChord <= chord || n == 1)) {
        for (int i = 1; i < n; ++i) pts.push_back(OnCircle(cxd, cyd, r, a1 + dir * i * step));
    } else if (minChord >= chord) {
        // A short arc is its chord.
    } else {
        for (int i = 1; i < 5; ++i) pts.push_back(OnCircle(cxd, cyd, r, a1 + dir * i * (sweep / 5.0)));
    }
    pts.push_back(p3);
    Hand(pts, points, count);
}

int ConvertRadiusCircleToPLine(POINT centre, double radius, POINT*& points, int& count, int maxSteps)
{
    double r = radius > 0.0 ? radius : 0.0; // also NaN -> 0
    double step = 2.8 * std::sqrt(10.0 / r);
    int n;
    if (step >= kPi / 18.0) {
        n = 36;
        step = kPi / 18.0;
    } else {
        n = StepCount(std::trunc(2.0 * kPi / step) + 1.0);
    }
    if (maxSteps > 0 && maxSteps < n) {
        n = maxSteps;
        step = 2.0 * kPi / maxSteps;
    }
    std::vector<POINT> pts;
    pts.reserve((size_t)n + 1);
    for (int i = 0; i < n; ++i) pts.push_back(OnCircle(centre, r, i * step));
    pts.push_back(pts.front());
    Hand(pts, points, count);
    return count;
}

void ConvertRoundRectToPLine(RECT rect, POINT cornerSize, POINT*& points, int& count)
{
    const double cx = std::trunc(((double)rect.left + rect.right) / 2.0);
    const double cy = std::trunc(((double)rect.top + rect.bottom) / 2.0);
    const double rx = cornerSize.x / 2.0, ry = cornerSize.y / 2.0;
    const double bx = std::trunc(rect.right - rx + 0.5), by = std::trunc(rect.top + ry + 0.5);

    const double m = std::max(std::fabs(rx), std::fabs(ry));
    double step = m > 0.0 ? 2.8 * std::sqrt(100.0 / m) : kPi; // a zero corner takes the coarse branch
    int k;
    double astep;
    if (step >= kPi / 8.0) {
        k = 4;
        astep = kPi / 8.0;
    } else {
        k = StepCount(std::trunc(kPi / (2.0 * step)));
        astep = step;
    }

    std::vector<POINT> q((size_t)k + 1);
    for (int i = 0; i <= k; ++i) {
        double t = i == k ? kPi / 2.0 : i * astep;
        q[(size_t)i] = MakePoint(Trunc(bx + std::trunc(std::fabs(rx * std::cos(t)))),
                                 Trunc(by - std::trunc(std::fabs(ry * std::sin(t)))));
    }
    auto mirrorX = [&](const POINT& p) { return MakePoint(Trunc(2.0 * cx - p.x), p.y); };
    auto mirrorY = [&](const POINT& p) { return MakePoint(p.x, Trunc(2.0 * cy - p.y)); };

    std::vector<POINT> pts;
    pts.reserve(4 * (size_t)k + 5);
    for (int i = 0; i <= k; ++i) pts.push_back(q[(size_t)i]);
    for (int i = 0; i <= k; ++i) pts.push_back(mirrorX(q[(size_t)(k - i)]));
    for (int i = 0; i <= k; ++i) pts.push_back(mirrorY(mirrorX(q[(size_t)i])));
    for (int i = 0; i <= k; ++i) pts.push_back(mirrorY(q[(size_t)(k - i)]));
    pts.push_back(pts.front());
    Hand(pts, points, count);
}

void ClipCoorWithOrigin(double& x, double& y, double& originX, double& originY)
{
    originX = std::trunc(x / 1000000.0) * 1000000.0;
    originY = std::trunc(y / 1000000.0) * 1000000.0;
    x -= originX;
    y -= originY;
}

void PolyLine(HDC hdc, POINT* points, int count, RECT* clip)
{
    if (hdc == nullptr || points == nullptr || count < 2) return;
    if (clip == nullptr) {
        Polyline(hdc, points, count);
        return;
    }
    int start = -1; // first point of the open run
    for (int i = 0; i + 1 < count; ++i) {
        const bool meets = LineXRect(points[i], points[i + 1], *clip) != 0;
        if (meets && start < 0) start = i;
        if (!meets && start >= 0) {
            Polyline(hdc, points + start, i - start + 1);
            start = -1;
        }
    }
    if (start >= 0) Polyline(hdc, points + start, count - start);
}

DWORD ShowLastErrorMessage(CString before, CString after)
{
    DWORD code = GetLastError();
    AfxMessageBox(before + CString(win32::SystemErrorText(code)) + after, MB_OK);
    return code;
}
