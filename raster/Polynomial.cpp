#include "raster/Polynomial.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

int PolynomialCoefCount(int kind)
{
    switch (kind) {
    case 1: return 6;
    case 2: return 12;
    case 3: return 20;
    case 4: return 30;
    case 10: return 8;
    case 20: return 4;
    default: return 0;
    }
}

int MatchPolynomialKind(int k, int n)
{
    if (n <= 0) return 0;
    if (n <= 2) return 20;
    if (n == 3) return k <= 1 ? k : 1;
    if (n <= 5) return (k > 1 && k < 10) ? 10 : k;
    if (n <= 9) return (k > 2 && k < 10) ? 2 : k;
    if (n <= 14) return (k > 3 && k < 10) ? 3 : k;
    return (k > 4 && k < 10) ? 4 : k;
}

bool PolynomialScalesMap(int n, const double* points)
{
    return n > 0 && points && (points[2] >= 100000.0 || points[3] >= 100000.0);
}

namespace {

// The terms of a general kind at (u, v), in coefficient order; returns their count.
int Terms(int kind, double u, double v, double* t)
{
    int c = 0;
    t[c++] = 1.0;
    t[c++] = u;
    t[c++] = v;
    if (kind == 10) {
        t[c++] = u * v;
        return c;
    }
    if (kind >= 2) {
        t[c++] = u * v;
        t[c++] = u * u;
        t[c++] = v * v;
    }
    if (kind >= 3) {
        t[c++] = u * u * u;
        t[c++] = u * u * v;
        t[c++] = u * v * v;
        t[c++] = v * v * v;
    }
    if (kind >= 4) {
        t[c++] = u * u * u * u;
        t[c++] = u * u * u * v;
        t[c++] = u * u * v * v;
        t[c++] = u * v * v * v;
        t[c++] = v * v * v * v;
    }
    return c;
}

// Solves the normal equations of a design (2n x m rows) against targets; residuals into res (2n).
bool Solve(const std::vector<double>& A, const std::vector<double>& b, int rows, int m, double* coef, double* res)
{
    std::vector<double> C(size_t(m) * m), r(m);
    NormalMatrix(A.data(), rows, m, C.data());
    NormalRightSide(A.data(), b.data(), rows, m, 1, r.data());
    int ok = 0;
    gauss(m, C.data(), r.data(), 1e-12, &ok);
    if (!ok) return false;
    for (int i = 0; i < m; ++i) coef[i] = r[i];
    if (res)
        for (int i = 0; i < rows; ++i) {
            double f = 0.0;
            for (int j = 0; j < m; ++j) f += A[size_t(i) * m + j] * coef[j];
            res[i] = b[i] - f;
        }
    return true;
}

}  // namespace

int Polynomial(int kind, int n, double* P, double* m2p, double* p2m, double* rm2p, double* rp2m)
{
    if (n <= 0 || !P) return 0;
    const int m = PolynomialCoefCount(kind);
    if (!m) return 0;
    // One or two points always give a similarity: its four coefficients are all a caller must provide.
    const int zeroed = (n <= 2 || kind == 20) ? 4 : m;
    if (m2p)
        for (int i = 0; i < zeroed; ++i) m2p[i] = 0.0;
    if (p2m)
        for (int i = 0; i < zeroed; ++i) p2m[i] = 0.0;
    if (n == 1) {
        const double x = P[0], y = P[1], X = P[2], Y = P[3];
        if (m2p) { m2p[0] = x - X; m2p[1] = y - Y; m2p[2] = 1.0; m2p[3] = 0.0; }
        if (p2m) { p2m[0] = X - x; p2m[1] = Y - y; p2m[2] = 1.0; p2m[3] = 0.0; }
        if (rm2p) rm2p[0] = rm2p[1] = 0.0;
        if (rp2m) rp2m[0] = rp2m[1] = 0.0;
        return 20;
    }
    const int rows = 2 * n;
    if (n == 2 || kind == 20) {
        std::vector<double> A(size_t(rows) * 4), b(rows);
        if (p2m) {
            for (int i = 0; i < n; ++i) {
                const double* p = P + 4 * i;
                double* a = &A[size_t(8) * i];
                a[0] = 1; a[1] = 0; a[2] = p[0]; a[3] = p[1];
                a[4] = 0; a[5] = 1; a[6] = p[1]; a[7] = -p[0];
                b[2 * i] = p[2];
                b[2 * i + 1] = p[3];
            }
            if (!Solve(A, b, rows, 4, p2m, rp2m)) return 0;
        }
        if (m2p) {
            for (int i = 0; i < n; ++i) {
                const double* p = P + 4 * i;
                double* a = &A[size_t(8) * i];
                a[0] = 1; a[1] = 0; a[2] = p[2]; a[3] = -p[3];
                a[4] = 0; a[5] = 1; a[6] = p[3]; a[7] = p[2];
                b[2 * i] = p[0];
                b[2 * i + 1] = p[1];
            }
            if (!Solve(A, b, rows, 4, m2p, rm2p)) return 0;
        }
        return 20;
    }
    const int half = m / 2;
    std::vector<double> A(size_t(rows) * m, 0.0), b(rows);
    double t[15];
    auto fill = [&](bool toMap, double scale) {
        for (int i = 0; i < n; ++i) {
            const double* p = P + 4 * i;
            const double u = toMap ? p[0] : p[2] / scale, v = toMap ? p[1] : p[3] / scale;
            Terms(kind, u, v, t);
            double* r0 = &A[size_t(2 * i) * m];
            double* r1 = r0 + m;
            for (int j = 0; j < m; ++j) r0[j] = r1[j] = 0.0;
            for (int j = 0; j < half; ++j) {
                r0[j] = t[j];
                r1[half + j] = t[j];
            }
            b[2 * i] = toMap ? p[2] : p[0];
            b[2 * i + 1] = toMap ? p[3] : p[1];
        }
    };
    if (p2m) {
        fill(true, 1.0);
        if (!Solve(A, b, rows, m, p2m, rp2m)) return 0;
    }
    if (m2p) {
        fill(false, PolynomialScalesMap(n, P) ? 4000.0 : 1.0);
        if (!Solve(A, b, rows, m, m2p, rm2p)) return 0;
    }
    // Too few points for the kind asked for: report the richest kind they carry.
    if (n < half) return n <= 2 ? 20 : n == 3 ? 1 : n <= 5 ? 10 : n <= 9 ? 2 : 3;
    return kind;
}

void gauss(int n, double* A, double* b, double eps, int* ok)
{
    *ok = 0;
    if (n <= 0) return;
    for (int i = 0; i < n - 1; ++i) {
        int p = i;
        double best = std::fabs(A[size_t(i) * n + i]);
        for (int k = i + 1; k < n; ++k) {
            const double v = std::fabs(A[size_t(k) * n + i]);
            if (v > best) { best = v; p = k; }
        }
        if (!(best >= eps)) return;
        if (p != i) {
            for (int j = i; j < n; ++j) std::swap(A[size_t(i) * n + j], A[size_t(p) * n + j]);
            std::swap(b[i], b[p]);
        }
        const double pivot = A[size_t(i) * n + i];
        b[i] /= pivot;
        for (int j = i + 1; j < n; ++j) {
            A[size_t(i) * n + j] /= pivot;
            for (int k = i + 1; k < n; ++k) A[size_t(k) * n + j] -= A[size_t(k) * n + i] * A[size_t(i) * n + j];
        }
        for (int j = i + 1; j < n; ++j) b[j] -= A[size_t(j) * n + i] * b[i];
    }
    // The last pivot is tested like the others: a singular system must not pass as solved.
    const double last = A[size_t(n - 1) * n + (n - 1)];
    if (!(std::fabs(last) >= eps)) return;
    b[n - 1] /= last;
    for (int r = n - 2; r >= 0; --r) {
        double s = 0.0;
        for (int j = r + 1; j < n; ++j) s += A[size_t(r) * n + j] * b[j];
        b[r] -= s;
    }
    *ok = 1;
}

void NormalMatrix(const double* A, int n, int m, double* C)
{
    for (int i = 0; i < m; ++i)
        for (int j = 0; j < m; ++j) {
            double s = 0.0;
            for (int r = 0; r < n; ++r) s += A[size_t(r) * m + i] * A[size_t(r) * m + j];
            C[size_t(i) * m + j] = s;
        }
}

void NormalRightSide(const double* A, const double* B, int n, int m, int k, double* C)
{
    for (int i = 0; i < m; ++i)
        for (int j = 0; j < k; ++j) {
            double s = 0.0;
            for (int r = 0; r < n; ++r) s += A[size_t(r) * m + i] * B[size_t(r) * k + j];
            C[size_t(i) * k + j] = s;
        }
}

int AffineFromThreePoints(const double* P, double* coef)
{
    double A[36] = {};
    double b[6];
    for (int i = 0; i < 3; ++i) {
        const double* p = P + 4 * i;
        double* r0 = A + 12 * i;
        double* r1 = r0 + 6;
        r0[0] = 1; r0[1] = p[0]; r0[2] = p[1];
        r1[3] = 1; r1[4] = p[0]; r1[5] = p[1];
        b[2 * i] = p[2];
        b[2 * i + 1] = p[3];
    }
    int ok = 0;
    gauss(6, A, b, 1e-12, &ok);
    if (!ok) return 0;
    for (int i = 0; i < 6; ++i) coef[i] = b[i];
    return 1;
}

int PointInPolygon(double x, double y, int n, const double* xy)
{
    int count = 0;
    for (int i = 0; i < n; ++i) {
        const double x1 = xy[2 * i], y1 = xy[2 * i + 1];
        const double x2 = xy[2 * ((i + 1) % n)], y2 = xy[2 * ((i + 1) % n) + 1];
        if (y1 == y2) continue;
        const double lo = std::min(y1, y2), hi = std::max(y1, y2);
        if (y < lo || y >= hi) continue;
        const double ex = x1 + (y - y1) * (x2 - x1) / (y2 - y1);
        if (ex > x) ++count;
    }
    return count & 1;
}

int PointInPolygon(int x, int y, int n, const POINT* points)
{
    std::vector<double> xy(size_t(2) * std::max(n, 0));
    for (int i = 0; i < n; ++i) {
        xy[2 * i] = points[i].x;
        xy[2 * i + 1] = points[i].y;
    }
    return PointInPolygon(double(x), double(y), n, xy.data());
}

namespace {
double s_refX = 0.0, s_refY = 0.0;
}

void SetDistanceReference(double x, double y)
{
    s_refX = x;
    s_refY = y;
}

int CompareDistance(const void* a, const void* b)
{
    const double* p = static_cast<const double*>(a);
    const double* q = static_cast<const double*>(b);
    const double dp = (p[0] - s_refX) * (p[0] - s_refX) + (p[1] - s_refY) * (p[1] - s_refY);
    const double dq = (q[0] - s_refX) * (q[0] - s_refX) + (q[1] - s_refY) * (q[1] - s_refY);
    return dp < dq ? -1 : dp > dq ? 1 : 0;
}

void SwapDouble(double& a, double& b)
{
    const double t = a;
    a = b;
    b = t;
}
