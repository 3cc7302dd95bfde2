#include "virdun/Wallis.h"

#include <afx/WinApp.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr int kBlock = 32;
constexpr double kContrast = 0.75;
constexpr double kBrightness = 0.8;

void Progress(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (CWnd* wnd = AfxGetMainWnd()) wnd->SendMessage(message, wParam, lParam);
}

BYTE Clamp(double v)
{
    v += 0.5;
    if (!(v > 0.0)) return 0;
    if (v >= 255.0) return 255;
    return static_cast<BYTE>(v);
}

bool Usable(const BYTE* bits, int height, int width, int bitCount, int bytesPerRow)
{
    if (!bits || height <= 0 || width <= 0) return false;
    if (bitCount != 8 && bitCount != 24) return false;
    return static_cast<long long>(bytesPerRow) >= static_cast<long long>(width) * (bitCount / 8);
}

// The pixel byte of band b at (column x, row y from the top).
inline BYTE& At(BYTE* bits, int height, int bytesPerRow, int channels, int x, int y, int b)
{
    return bits[size_t(height - 1 - y) * size_t(bytesPerRow) + size_t(x) * channels + b];
}

}  // namespace

int ShellWallis(BYTE* bits, int height, int width, int bitCount, int bytesPerRow, CRect region, double mean,
                double deviation, const char* status)
{
    if (!Usable(bits, height, width, bitCount, bytesPerRow)) return 0;
    const int x0 = std::max(0, static_cast<int>(region.left)), y0 = std::max(0, static_cast<int>(region.top));
    const int x1 = width - 1 - std::max(0, -static_cast<int>(region.right));
    const int y1 = height - 1 - std::max(0, -static_cast<int>(region.bottom));
    if (x1 < x0 || y1 < y0) return 0;
    const int channels = bitCount / 8;
    const int w = x1 - x0 + 1, h = y1 - y0 + 1;
    const int bx = (w + kBlock - 1) / kBlock, by = (h + kBlock - 1) / kBlock;

    Progress(1224, 0, reinterpret_cast<LPARAM>(status));
    for (int b = 0; b < channels; ++b) {
        // Sums per block, then statistics per block over the 3 x 3 blocks around it.
        std::vector<double> sum(size_t(bx) * by, 0.0), sq(size_t(bx) * by, 0.0), cnt(size_t(bx) * by, 0.0);
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                const double v = At(bits, height, bytesPerRow, channels, x, y, b);
                const size_t k = size_t((y - y0) / kBlock) * bx + size_t((x - x0) / kBlock);
                sum[k] += v;
                sq[k] += v * v;
                cnt[k] += 1.0;
            }
        std::vector<double> m(size_t(bx) * by), s(size_t(bx) * by);
        for (int j = 0; j < by; ++j)
            for (int i = 0; i < bx; ++i) {
                double S = 0, Q = 0, N = 0;
                for (int jj = std::max(0, j - 1); jj <= std::min(by - 1, j + 1); ++jj)
                    for (int ii = std::max(0, i - 1); ii <= std::min(bx - 1, i + 1); ++ii) {
                        const size_t k = size_t(jj) * bx + ii;
                        S += sum[k];
                        Q += sq[k];
                        N += cnt[k];
                    }
                const double mu = S / N;
                m[size_t(j) * bx + i] = mu;
                s[size_t(j) * bx + i] = std::sqrt(std::max(0.0, Q / N - mu * mu));
            }
        // Block centres sit at (i + 0.5) * kBlock; pixels between them take the bilinear blend.
        auto blend = [&](const std::vector<double>& t, double fx, double fy) {
            const double gx = std::max(0.0, std::min(double(bx - 1), fx / kBlock - 0.5));
            const double gy = std::max(0.0, std::min(double(by - 1), fy / kBlock - 0.5));
            const int i = std::min(bx - 1, static_cast<int>(gx)), j = std::min(by - 1, static_cast<int>(gy));
            const int i1 = std::min(bx - 1, i + 1), j1 = std::min(by - 1, j + 1);
            const double ax = gx - i, ay = gy - j;
            return (t[size_t(j) * bx + i] * (1 - ax) + t[size_t(j) * bx + i1] * ax) * (1 - ay) +
                   (t[size_t(j1) * bx + i] * (1 - ax) + t[size_t(j1) * bx + i1] * ax) * ay;
        };
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                const double lm = blend(m, x - x0, y - y0), ls = blend(s, x - x0, y - y0);
                BYTE& p = At(bits, height, bytesPerRow, channels, x, y, b);
                const double denominator = kContrast * ls + (1 - kContrast) * deviation;
                const double gain = denominator > 0.0 ? kContrast * deviation / denominator : 1.0;
                p = Clamp((p - lm) * gain + kBrightness * mean + (1 - kBrightness) * lm);
            }
            const int done = b * h + (y - y0) + 1;
            Progress(1225, static_cast<WPARAM>(100.0 * done / (double(h) * channels)), 0);
        }
    }
    Progress(1226, 0, 0);
    return 1;
}

int ShellTransitionWallis(BYTE* bits, int height, int width, int bitCount, int bytesPerRow, int top, int bottom,
                          int left, int right, int direction, double* averages, double* covariances)
{
    if (!Usable(bits, height, width, bitCount, bytesPerRow) || !averages || !covariances) return 0;
    // The seam's position stays where the caller put it even when the strip is cut to the image.
    const int seam = direction == 0 ? left : top;
    const int span = direction == 0 ? right - left + 1 : bottom - top + 1;
    top = std::max(0, top);
    left = std::max(0, left);
    bottom = std::min(height - 1, bottom);
    right = std::min(width - 1, right);
    if (bottom < top || right < left || span <= 0) return 0;
    const int channels = bitCount / 8;
    for (int b = 0; b < channels; ++b) {
        double S = 0, Q = 0, N = 0;
        for (int y = top; y <= bottom; ++y)
            for (int x = left; x <= right; ++x) {
                const double v = At(bits, height, bytesPerRow, channels, x, y, b);
                S += v;
                Q += v * v;
                N += 1;
            }
        const double mu = S / N, sigma = std::sqrt(std::max(0.0, Q / N - mu * mu));
        const double gain = sigma > 0.0 ? covariances[b] / sigma : 1.0;
        for (int y = top; y <= bottom; ++y)
            for (int x = left; x <= right; ++x) {
                const int d = (direction == 0 ? x : y) - seam;
                const double weight = std::max(0.0, 1.0 - double(d) / span);
                BYTE& p = At(bits, height, bytesPerRow, channels, x, y, b);
                const double target = (p - mu) * gain + averages[b];
                p = Clamp(weight * target + (1 - weight) * p);
            }
    }
    return 1;
}
