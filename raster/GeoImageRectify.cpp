// Polynomial rectification of an image over its control points.
#include "raster/GeoImage.h"
#include "raster/Polynomial.h"

#include <afx/WinApp.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

// Exponents (of u, of v) of the terms of a general kind, in coefficient order.
struct Term { int u, v; };
const Term kTerms[15] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}, {2, 0}, {0, 2}, {3, 0}, {2, 1}, {1, 2}, {0, 3},
                         {4, 0}, {3, 1}, {2, 2}, {1, 3}, {0, 4}};

double Power(double b, int e)
{
    double r = 1.0;
    while (e-- > 0) r *= b;
    return r;
}

// Evaluates a map-to-pixel model (similarity in its map-to-pixel form).
void Evaluate(const double* c, int kind, double x, double y, double& X, double& Y)
{
    if (kind == 20) {
        X = c[0] + c[2] * x - c[3] * y;
        Y = c[1] + c[3] * x + c[2] * y;
        return;
    }
    const int half = PolynomialCoefCount(kind) / 2;
    X = Y = 0.0;
    for (int t = 0; t < half; ++t) {
        const double term = Power(x, kTerms[t].u) * Power(y, kTerms[t].v);
        X += c[t] * term;
        Y += c[half + t] * term;
    }
}

void Progress(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (CWnd* wnd = AfxGetMainWnd()) wnd->SendMessage(message, wParam, lParam);
}

// Sends the end of progress however the operation leaves.
struct ProgressEnd {
    ~ProgressEnd() { Progress(1226, 0, 0); }
};

}  // namespace

int CGeoImage::GetPointRecords(double*& records)
{
    const int n = static_cast<int>(m_GCPoints.GetCount());
    records = new double[size_t(4) * std::max(n, 1)];
    int i = 0;
    for (POSITION pos = m_GCPoints.GetHeadPosition(); pos; ++i) {
        const CGeoGCPoint* g = m_GCPoints.GetNext(pos);
        records[4 * i] = g->GetPixelPoint().x / 10.0;
        records[4 * i + 1] = g->GetPixelPoint().y / 10.0;
        records[4 * i + 2] = g->GetGCPX();
        records[4 * i + 3] = g->GetGCPY();
    }
    return n;
}

int CGeoImage::MatchNewlyFormula(int k) { return MatchPolynomialKind(k, static_cast<int>(m_GCPoints.GetCount())); }

int CGeoImage::CalcCoef(int kind, double* mapToPixel, double* pixelToMap)
{
    kind = MatchNewlyFormula(kind);
    if (!kind) return 0;
    double* records = nullptr;
    const int n = GetPointRecords(records);
    std::unique_ptr<double[]> hold(records);
    return Polynomial(kind, n, records, mapToPixel, pixelToMap, nullptr, nullptr) ? 1 : 0;
}

int CGeoImage::Calculate(double* coef, int kind, double x, double y, double& X, double& Y)
{
    kind = MatchNewlyFormula(kind);
    if (!kind) return 0;
    if (x > 100000.0 || y > 100000.0) {
        x /= 4000.0;
        y /= 4000.0;
    }
    Evaluate(coef, kind, x, y, X, Y);
    return 1;
}

void CGeoImage::RowConstants(const double* c, int kind, double y, double& rowX, double& rowY)
{
    rowX = rowY = 0.0;
    if (kind == 20) return;
    const int half = PolynomialCoefCount(kind) / 2;
    for (int t = 0; t < half; ++t)
        if (kTerms[t].u == 0) {
            const double term = Power(y, kTerms[t].v);
            rowX += c[t] * term;
            rowY += c[half + t] * term;
        }
}

int CGeoImage::CalculateFast(double* c, int kind, double x, double y, double& X, double& Y, double rowX, double rowY)
{
    if (!kind) return 0;
    if (kind == 20) {
        Evaluate(c, kind, x, y, X, Y);
        return 1;
    }
    const int half = PolynomialCoefCount(kind) / 2;
    X = rowX;
    Y = rowY;
    for (int t = 0; t < half; ++t)
        if (kTerms[t].u != 0) {
            const double term = Power(x, kTerms[t].u) * Power(y, kTerms[t].v);
            X += c[t] * term;
            Y += c[half + t] * term;
        }
    return 1;
}

int CGeoImage::MapCoordToImageCoord(int kind, double X, double Y, double& x, double& y)
{
    kind = MatchNewlyFormula(kind);
    if (!kind) return 0;
    double* records = nullptr;
    const int n = GetPointRecords(records);
    std::unique_ptr<double[]> hold(records);
    double c[30] = {};
    const int fitted = Polynomial(kind, n, records, c, nullptr, nullptr, nullptr);
    if (!fitted) return 0;
    // Evaluate in the scale the model was fitted in (the fit decides by its first point).
    if (fitted != 20 && PolynomialScalesMap(n, records)) {
        X /= 4000.0;
        Y /= 4000.0;
    }
    Evaluate(c, fitted, X, Y, x, y);
    return 1;
}

int CGeoImage::ImageCoordToMapCoord(int kind, double& X, double& Y, double x, double y)
{
    kind = MatchNewlyFormula(kind);
    if (!kind) return 0;
    double* records = nullptr;
    const int n = GetPointRecords(records);
    std::unique_ptr<double[]> hold(records);
    double c[30] = {};
    const int fitted = Polynomial(kind, n, records, nullptr, c, nullptr, nullptr);
    if (!fitted) return 0;
    if (fitted == 20) {
        X = c[0] + c[2] * x + c[3] * y;
        Y = c[1] + c[2] * y - c[3] * x;
    } else {
        Evaluate(c, fitted, x, y, X, Y);
    }
    return 1;
}

int CGeoImage::Accuracy(int kind, double& rms)
{
    kind = MatchNewlyFormula(kind);
    if (!kind) return 0;
    double* records = nullptr;
    const int n = GetPointRecords(records);
    std::unique_ptr<double[]> hold(records);
    double m2p[30] = {}, p2m[30] = {};
    std::vector<double> rm2p(size_t(2) * n), rp2m(size_t(2) * n);
    const int fitted = Polynomial(kind, n, records, m2p, p2m, rm2p.data(), rp2m.data());
    if (!fitted) return 0;
    rms = 0.0;
    const int half = PolynomialCoefCount(fitted) / 2;
    if (n < half) return 0;
    // With as many points as the model has unknowns per coordinate the fit is exact: no divisor.
    const int freedom = n - half;
    int i = 0;
    for (POSITION pos = m_GCPoints.GetHeadPosition(); pos; ++i) {
        CGeoGCPoint* g = m_GCPoints.GetNext(pos);
        const double rx = rp2m[2 * i], ry = rp2m[2 * i + 1];
        g->SetResidualX(rx);
        g->SetResidualY(ry);
        if (freedom > 0) rms += (rx * rx + ry * ry) / freedom;
        g->SetDistance(std::sqrt(rx * rx + ry * ry));
    }
    rms = std::sqrt(rms);
    return 1;
}

BYTE CGeoImage::Interpolate(double dx, double dy, const BYTE* p, int method)
{
    double v;
    if (method == 1) {
        v = p[0] * (1 - dx) * (1 - dy) + p[1] * dx * (1 - dy) + p[2] * (1 - dx) * dy + p[3] * dx * dy;
    } else if (method == 2) {
        auto weights = [](double t, double* w) {
            const double t2 = t * t, t3 = t2 * t;
            w[0] = -t + 2 * t2 - t3;
            w[1] = 1 - 2 * t2 + t3;
            w[2] = t + t2 - t3;
            w[3] = t3 - t2;
        };
        double wx[4], wy[4];
        weights(dx, wx);
        weights(dy, wy);
        v = 0.0;
        for (int j = 0; j < 4; ++j)
            for (int i = 0; i < 4; ++i) v += p[4 * j + i] * wx[i] * wy[j];
    } else {
        return 0;
    }
    // The cubic kernel overshoots at edges; wrapping to a byte would turn bright edges dark.
    v += 0.5;
    if (v <= 0.0) return 0;
    if (v >= 255.0) return 255;
    return static_cast<BYTE>(v);
}

int CGeoImage::Resample(int kind, CString, CGeoImage*& result, CRect extent, double p, EdInterpolateMethod method)
{
    result = nullptr;
    kind = MatchNewlyFormula(kind);
    if (!kind) return 0;
    const double left = extent.left, right = extent.right, top = extent.top, bottom = extent.bottom;
    const int w = static_cast<int>(std::min((right - left) / p, 2147483647.0));
    const int h = static_cast<int>(std::min((top - bottom) / p, 2147483647.0));
    // No pixel size or no extent gives no image (and would divide by zero below).
    if (!(p > 0.0) || w <= 0 || h <= 0 || !m_DIB.Ready()) return 0;

    Progress(1224, 0, reinterpret_cast<LPARAM>("整体纠正中..."));
    ProgressEnd end;

    double* records = nullptr;
    const int n = GetPointRecords(records);
    std::unique_ptr<double[]> hold(records);
    double c[30] = {};
    if (!Polynomial(kind, n, records, c, nullptr, nullptr, nullptr)) return 0;

    const int B = m_DIB.GetBitCount(), W = m_DIB.GetWidth(), H = m_DIB.GetHeight();
    const size_t srcRow = m_DIB.GetBytesPerLine();
    tagRasterParameter parameter = m_RasterParameter;
    parameter.m_dPixelSize = p;
    std::unique_ptr<CGeoImage> out(new CGeoImage(w, h, B, extent.left, extent.top, parameter));
    if (!out->m_DIB.Ready()) return 0;
    DWORD table[256];
    const int entries = m_DIB.GetColorTable(table);
    if (entries != -1) out->m_DIB.SetColorTable(entries, table);

    // Common leading digits of the extent are taken off the ground coordinates (only in the copies of
    // the control points handed to the fit: the image's own points stay as they are).
    auto commonStart = [](double a, double b) {
        for (int P = 0; P <= 5; ++P) {
            const double k = std::pow(10.0, P);
            if (std::floor(a / k) == std::floor(b / k)) return std::floor(a / k) * k;
        }
        return 0.0;
    };
    const double oy = top > 100000.0 ? commonStart(top, bottom) : 0.0;
    const double ox = left > 100000.0 ? commonStart(left, right) : 0.0;
    for (int i = 0; i < n; ++i) {
        records[4 * i + 2] -= ox;
        records[4 * i + 3] -= oy;
    }
    const int fitted = Polynomial(kind, n, records, c, nullptr, nullptr, nullptr);
    if (!fitted) return 0;
    const double L = left - ox, T = top - oy;
    // Ground coordinates are scaled exactly as the fit scaled them.
    const double div = (fitted != 20 && PolynomialScalesMap(n, records)) ? 4000.0 : 1.0;

    const BYTE* src = m_DIB.GetDIBBits();
    BYTE* dst = out->m_DIB.GetDIBBits();
    const size_t dstRow = out->m_DIB.GetBytesPerLine();
    const int bytesPerPixel = B == 24 ? 3 : 1;
    for (int r = 0; r < h; ++r) {
        const double Y = (T - (r + 1) * p) / div;
        double rowX = 0.0, rowY = 0.0;
        RowConstants(c, fitted, Y, rowX, rowY);
        BYTE* line = dst + size_t(h - 1 - r) * dstRow;
        for (int col = 0; col < w; ++col) {
            const double X = (L + (col + 1) * p) / div;
            double u = 0.0, v = 0.0;
            CalculateFast(c, fitted, X, Y, u, v, rowX, rowY);
            if (method == INTERPOLATE_NEAREST) {
                const double fi = u + 0.5, fj = v + 0.5;
                if (!(fi > -1.0 && fi < W && fj > -1.0 && fj < H)) continue;
                const int i = static_cast<int>(fi), j = static_cast<int>(fj);
                if (i < 0 || j < 0 || i >= W || j >= H) continue;
                const BYTE* s = src + size_t(j) * srcRow;
                if (B == 1) {
                    if (s[i >> 3] & (0x80 >> (i & 7))) line[col >> 3] |= BYTE(0x80 >> (col & 7));
                } else if (B == 4) {
                    const int nib = (i & 1) ? (s[i >> 1] & 0x0F) : (s[i >> 1] >> 4);
                    line[col >> 1] |= BYTE((col & 1) ? nib : nib << 4);
                } else if (B == 8) {
                    line[col] = s[i];
                } else if (B == 24) {
                    line[3 * col] = s[3 * i];
                    line[3 * col + 1] = s[3 * i + 1];
                    line[3 * col + 2] = s[3 * i + 2];
                }
                continue;
            }
            if (B != 8 && B != 24) continue;
            if (!(u > -1.0 && u < W && v > -1.0 && v < H)) continue;
            const int i = static_cast<int>(u), j = static_cast<int>(v);
            if (method == INTERPOLATE_BILINEAR) {
                if (i < 0 || j < 0 || i >= W - 1 || j >= H - 1) continue;
                const BYTE* s0 = src + size_t(j) * srcRow;
                const BYTE* s1 = s0 + srcRow;
                for (int k = 0; k < bytesPerPixel; ++k) {
                    const BYTE q[4] = {s0[bytesPerPixel * i + k], s0[bytesPerPixel * (i + 1) + k],
                                       s1[bytesPerPixel * i + k], s1[bytesPerPixel * (i + 1) + k]};
                    line[bytesPerPixel * col + k] = Interpolate(u - i, v - j, q, 1);
                }
            } else {
                if (!(i > 0 && i < W - 2 && j > 0 && j < H - 2)) continue;
                for (int k = 0; k < bytesPerPixel; ++k) {
                    BYTE q[16];
                    for (int jj = 0; jj < 4; ++jj) {
                        const BYTE* s = src + size_t(j - 1 + jj) * srcRow;
                        for (int ii = 0; ii < 4; ++ii) q[4 * jj + ii] = s[bytesPerPixel * (i - 1 + ii) + k];
                    }
                    line[bytesPerPixel * col + k] = Interpolate(u - i, v - j, q, 2);
                }
            }
        }
        Progress(1225, static_cast<WPARAM>(std::floor(double(r) / h * 100.0)), 0);
    }
    result = out.release();
    return 1;
}
