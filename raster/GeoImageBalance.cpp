// Radiometric balancing of an image near its mosaic seams.
#include "raster/GeoHistogram.h"
#include "raster/GeoImage.h"
#include "raster/GeoMosaicPLine.h"
#include "raster/GeoMosaicReferenceBuffer.h"

#include <afx/Random.h>
#include <ostrel/Units.h>
#include <virdun/Wallis.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// v + 0.5 truncated toward zero.
inline int Round(double v) { return static_cast<int>(v + 0.5); }

inline BYTE ToByte(int v) { return static_cast<BYTE>(std::max(0, std::min(255, v))); }

// A line's standard-histogram extent cut to a w x h image; false when nothing is left.
bool ClippedExtent(CGeoMosaicPLine* line, int w, int h, int& top, int& left, int& bottom, int& right)
{
    line->GetStandardHistogram()->GetExtent(top, left, bottom, right);
    top = std::max(0, top);
    left = std::max(0, left);
    bottom = std::min(h - 1, bottom);
    right = std::min(w - 1, right);
    return top <= bottom && left <= right;
}

}  // namespace

int CGeoImage::CreateHistogram(int top, int left, int bottom, int right, CGeoHistogram& h)
{
    if (m_DIB.GetBitCount() != 8) return 0;
    const int W = m_DIB.GetWidth(), H = m_DIB.GetHeight();
    top = std::max(0, top);
    left = std::max(0, left);
    bottom = std::min(H - 1, bottom);
    right = std::min(W - 1, right);
    if (top > bottom || left > right) return 0;
    h.Initialize((bottom - top + 1) * (right - left + 1), 1, 256);
    int* counts = h.GetH(0);
    const BYTE* bits = m_DIB.GetDIBBits();
    const size_t stride = m_DIB.GetBytesPerLine();
    for (int r = top; r <= bottom; ++r) {
        const BYTE* row = bits + size_t(H - 1 - r) * stride;
        for (int c = left; c <= right; ++c) ++counts[row[c]];
    }
    h.CreateSByH();
    return 1;
}

int CGeoImage::ResampleByHistogram(int kind)
{
    if (m_DIB.GetBitCount() != 8) return 1;
    const int W = m_DIB.GetWidth(), H = m_DIB.GetHeight();
    BYTE* bits = m_DIB.GetDIBBits();
    const size_t stride = m_DIB.GetBytesPerLine();
    auto pixel = [&](int r, int c) -> BYTE& { return bits[size_t(H - 1 - r) * stride + size_t(c)]; };
    int* table = nullptr;
    for (POSITION pos = m_MosaicPLines.GetHeadPosition(); pos;) {
        CGeoMosaicPLine* line = m_MosaicPLines.GetNext(pos);
        const int position = line->GetImagePosition();
        if (position != IMAGE_EAST && position != IMAGE_SOUTH) continue;
        int top, left, bottom, right;
        if (!ClippedExtent(line, W, H, top, left, bottom, right)) continue;
        CGeoHistogram mine;
        if (!CreateHistogram(top, left, bottom, right, mine)) continue;
        if (!mine.CreateLookUpTable(line->GetStandardHistogram()->GetHistogram(), kind, table, 0) || !table) continue;
        auto blend = [&](BYTE& v, double w) { v = ToByte(Round(table[v] * (1 - w) + w * v)); };
        if (position == IMAGE_EAST) {
            const int c = Round(left + (right - left) * (2.0 / 3.0));
            const double s = 1.0 / (right - c + 2);
            for (int r = top; r <= bottom; ++r) {
                for (int k = left; k < c; ++k) pixel(r, k) = ToByte(table[pixel(r, k)]);
                double w = s;
                for (int k = c; k <= right; ++k, w += s) blend(pixel(r, k), w);
            }
        } else {
            const int c = Round(top + (bottom - top) * (2.0 / 3.0));
            const double s = 1.0 / (bottom - c + 2);
            for (int r = top; r < c; ++r)
                for (int k = left; k <= right; ++k) pixel(r, k) = ToByte(table[pixel(r, k)]);
            double w = s;
            for (int r = c; r <= bottom; ++r, w += s)
                for (int k = left; k <= right; ++k) blend(pixel(r, k), w);
        }
    }
    delete[] table;
    return 1;
}

int CGeoImage::ResampleByPLineBuffer(CObList& buffers, int a, int mode)
{
    const int W = m_DIB.GetWidth(), H = m_DIB.GetHeight();
    if (m_DIB.GetBitCount() != 8) return 0;
    BYTE* bits = m_DIB.GetDIBBits();
    const size_t stride = m_DIB.GetBytesPerLine();
    auto at = [&](int r, int c) -> BYTE& { return bits[size_t(H - 1 - r) * stride + size_t(c)]; };
    const bool snap = mode > 100;
    if (snap) mode -= 100;
    int processed = 0;
    for (POSITION pos = buffers.GetHeadPosition(); pos;) {
        CGeoPLineBuffer* buffer = static_cast<CGeoPLineBuffer*>(buffers.GetNext(pos));
        const int side = buffer->GetImagePosition();
        if (side != 0 && side != 2) continue;
        ++processed;
        int start, end;
        buffer->GetRange(start, end);
        const int* table = buffer->GetPosition();
        if (!table) continue;
        const bool byColumn = side == 2;
        end = std::min(end, (byColumn ? W : H) - 1);
        const int across = byColumn ? H : W;
        for (int i = std::max(start, 0); i <= end; ++i) {
            int g = table[i - start];
            if (!(a + 2 <= g && g < across - a - 2)) continue;
            // lo runs south (side 2) or west (side 0) of the seam pixel, hi north or east; lo(-1) = hi(1).
            auto lo = [&](int k) -> BYTE& { return byColumn ? at(g + k, i) : at(i, g - k); };
            auto hi = [&](int k) -> BYTE& { return byColumn ? at(g - k, i) : at(i, g + k); };
            auto loAt = [&](int k) -> BYTE& { return k < 0 ? hi(-k) : lo(k); };
            if (snap && std::abs(lo(0) - lo(1)) - std::abs(lo(0) - hi(1)) > 10) g += byColumn ? 1 : -1;
            auto loMean3 = [&](int k) { loAt(k) = ToByte(Round((loAt(k + 1) + loAt(k) + loAt(k - 1)) / 3.0)); };
            auto hiMean3 = [&](int k) { hi(k + 1) = ToByte(Round((hi(k) + hi(k + 1) + hi(k + 2)) / 3.0)); };
            auto loMean2 = [&](int k) { loAt(k) = ToByte(Round((loAt(k) + loAt(k - 1)) / 2.0)); };
            auto hiMean2 = [&](int k) { hi(k + 1) = ToByte(Round((hi(k) + hi(k + 1)) / 2.0)); };
            const bool hiFirst = (i % 2) == 0;
            switch (mode) {
            case 0:
                for (int k = 0; k < a; ++k) { loMean3(k); hiMean3(k); }
                break;
            case 1:
                for (int k = 0; k < a; ++k) {
                    if (hiFirst) { hiMean3(k); loMean3(k); } else { loMean3(k); hiMean3(k); }
                }
                break;
            case 2:
                for (int k = 0; k < a; ++k) { loMean2(k); hiMean2(k); }
                break;
            case 3:
                for (int k = 0; k < a; ++k) {
                    if (hiFirst) { hiMean2(k); loMean2(k); } else { loMean2(k); hiMean2(k); }
                }
                break;
            default: {
                const BYTE m = ToByte(Round((lo(0) + hi(1)) / 2.0));
                lo(0) = m;
                hi(1) = m;
                for (int k = 1; k < a; ++k) { loMean2(k); hiMean2(k); }
                break;
            }
            }
        }
    }
    return processed;
}

int CGeoImage::ResampleByReferenceBuffer(int maxWidth)
{
    CObList lines;
    for (POSITION pos = m_MosaicPLines.GetHeadPosition(); pos;) lines.AddTail(m_MosaicPLines.GetNext(pos));
    return ResampleByReferenceBuffer(lines, maxWidth);
}

int CGeoImage::ResampleByReferenceBuffer(CObList& lines, int maxWidth)
{
    const int unit = GetUnit();
    const double p = ::ChangeUnit(unit, 6, m_RasterParameter.m_dPixelSize, 1.0);
    const int B = m_DIB.GetBitCount();
    // A pixel size that is not positive would never advance the walks below.
    if (!(p > 0.0) || (B != 8 && B != 24)) return 0;
    AfxSRandFromClock();
    const int W = m_DIB.GetWidth(), H = m_DIB.GetHeight();
    const int bpp = B / 8;
    BYTE* bits = m_DIB.GetDIBBits();
    const size_t stride = m_DIB.GetBytesPerLine();
    auto at = [&](int r, int c) { return bits + size_t(H - 1 - r) * stride + size_t(c) * bpp; };
    double ox = 0.0, oy = 0.0;
    GetOrigin(ox, oy);
    const CRect bounds = GetBounds();
    const double West = ::ChangeUnit(unit, 6, double(bounds.left), 1.0) + ox;
    const double North = ::ChangeUnit(unit, 6, double(std::max(bounds.top, bounds.bottom)), 1.0) + oy;

    // The feather's width at row (or column) t: ragged around W, never beyond it.
    auto featherWidth = [](int t, int Wc) {
        const double r = AfxRand() * 5.0 / 32767.0;
        int s = static_cast<int>(r + (0.75 + 0.25 * std::fabs(std::sin(t * 3.14 / 20))) * Wc - 4.5);
        return std::min(s, Wc);
    };
    // Blends pixel px toward the reference pixels k, k + 1 of rec (weight f on k), j of s + 1 steps from
    // the seam.
    auto feather = [&](BYTE* px, const BYTE* rec, int k, double f, int j, int s) {
        const BYTE* r0 = rec + size_t(k) * bpp;
        const BYTE* r1 = r0 + bpp;
        if (!r0[0] || !r1[0]) return;
        const double a = double(j + 1) / (s + 2);
        for (int b = 0; b < bpp; ++b) {
            const double ref = r0[b] * f + r1[b] * (1 - f);
            px[b] = ToByte(Round((1 - a) * ref + a * px[b]));
        }
    };

    std::vector<CGeoMosaicPLine*> order;
    for (int want : {IMAGE_EAST, IMAGE_SOUTH})
        for (POSITION pos = lines.GetHeadPosition(); pos;) {
            CObject* o = lines.GetNext(pos);
            if (!o || !o->IsKindOf(RUNTIME_CLASS(CGeoMosaicPLine))) continue;
            CGeoMosaicPLine* line = static_cast<CGeoMosaicPLine*>(o);
            if (line->GetImagePosition() == want) order.push_back(line);
        }

    for (CGeoMosaicPLine* line : order) {
        CGeoMosaicReferenceBuffer* R = line->GetReferenceBuffer();
        const double q = R->GetPixelSize();
        // A strip of another depth, or without a pixel size, cannot be blended into this image.
        if (R->GetBits() != B || !(q > 0.0) || line->GetMosaicPoints() < 2) continue;
        const int Wc = std::min(maxWidth, Round(R->GetWidth() * q / p));
        double minE, minN, maxE, maxN;
        if (!line->GetMapExt(minE, minN, maxE, maxN, 1)) continue;
        minE /= 1000.0, minN /= 1000.0, maxE /= 1000.0, maxN /= 1000.0;
        const bool rows = line->GetImagePosition() == IMAGE_EAST;
        const int limit = rows ? H : W;
        int first = rows ? Round((North - maxN) / p) : Round((minE - West) / p);
        int last = rows ? Round((North - minN) / p) : Round((maxE - West) / p);
        if (first >= limit || last < 0) continue;
        last = std::min(last, limit - 1);
        first = std::max(first, 0);
        const std::vector<stMosaicPoint>& mp = line->GetMosaicPointArray();
        bool reversed = false;
        int L = -1;
        for (int u = 1; u < static_cast<int>(mp.size()); ++u) {
            double Ea = mp[u - 1].E / 1000.0, Na = mp[u - 1].N / 1000.0;
            double Eb = mp[u].E / 1000.0, Nb = mp[u].N / 1000.0;
            if (rows) {
                if (Nb > Na) {
                    std::swap(Ea, Eb);
                    std::swap(Na, Nb);
                    reversed = true;
                }
                if (Na == Nb) continue;
                const double D = -(Eb - Ea) / (Nb - Na);
                const int t0 = Round((North - Na) / p);
                double N = Na - 1.2 * p;
                const double E = Ea + 1.2 * D;
                int t = t0, n = 0;
                for (; N > Nb - 1.5 * p; ++t, ++n, N -= p) {
                    if (reversed && u > 1 && t >= L) break;
                    if (!reversed && t < L) continue;
                    if (t < first || t > last) continue;
                    const double P = (E - West) / p + n * D;
                    if (P < 0 || static_cast<int>(P) >= W) continue;
                    const int Q = static_cast<int>(P);
                    const double f = P - Q;
                    int s = featherWidth(t, Wc);
                    if (0.4 * s > t - first) s = Round((t - first) * (1 - D));
                    s = std::max(s, 1);
                    const BYTE* rec = R->GetBuffer(u - 1, (Na - N) / (Na - Nb), 0.0);
                    if (!rec) continue;
                    for (int j = 0; j <= s && Q + j < W; ++j) {
                        const int k = std::max(0, Round(j * p / q));
                        if (k >= R->GetWidth() - 1) continue;
                        feather(at(t, Q + j), rec, k, f, j, s);
                    }
                    if (Q >= 2 && Q < W - 1) {
                        BYTE* m = at(t, Q - 1);
                        const BYTE* l = at(t, Q - 2);
                        const BYTE* r = at(t, Q);
                        for (int b = 0; b < bpp; ++b) m[b] = BYTE((m[b] + ((l[b] + r[b]) >> 1)) / 2);
                    }
                }
                L = reversed ? t0 : t;
            } else {
                if (Eb < Ea) {
                    std::swap(Ea, Eb);
                    std::swap(Na, Nb);
                    reversed = true;
                }
                if (Ea == Eb) continue;
                const double D = (Na - Nb) / (Eb - Ea);
                double Y = (North - Na) / p;
                const int c0 = Round((Ea - West) / p);
                int c = c0;
                for (double E = West + c0 * p; E < Eb; E += p, ++c, Y += D) {
                    if (reversed && u > 1 && c >= L) break;
                    if (!reversed && c < L) continue;
                    if (c < first || c > last) continue;
                    if (!(Y >= 0) || static_cast<int>(Y) >= H) continue;
                    const int Q = static_cast<int>(Y);
                    const double f = Y - Q;
                    const int s = std::max(featherWidth(c, Wc), 1);
                    const BYTE* rec = R->GetBuffer(u - 1, (E - Ea) / (Eb - Ea), 0.0);
                    if (!rec) continue;
                    for (int j = 0; j <= s && Q + j < H; ++j) {
                        const int k = std::max(0, Round(j * p / q));
                        if (k >= R->GetWidth() - 1) continue;
                        feather(at(Q + j, c), rec, k, f, j, s);
                    }
                    if (Q >= 2 && Q < H - 1) {
                        BYTE* m = at(Q - 1, c);
                        const BYTE* nn = at(Q - 2, c);
                        const BYTE* ss = at(Q, c);
                        for (int b = 0; b < bpp; ++b) m[b] = BYTE((nn[b] + ss[b]) >> 1);
                    }
                }
                L = reversed ? c0 : c;
            }
        }
    }
    return 1;
}

int CGeoImage::Wallis(double mean, double deviation, CRect margins)
{
    CRect region(0, 0, 0, 0);
    if (!margins.IsRectNull()) region = CRect(margins.left, margins.top, -margins.right, -margins.bottom);
    const int H = m_DIB.GetHeight();
    if (H <= 0) return 0;
    return ShellWallis(m_DIB.GetDIBBits(), H, m_DIB.GetWidth(), m_DIB.GetBitCount(),
                       static_cast<int>(m_DIB.GetBytesPerLine()), region, mean, deviation, "匀色处理...");
}

int CGeoImage::WallisRegion()
{
    const int W = m_DIB.GetWidth(), H = m_DIB.GetHeight();
    for (POSITION pos = m_MosaicPLines.GetHeadPosition(); pos;) {
        CGeoMosaicPLine* line = m_MosaicPLines.GetNext(pos);
        const int position = line->GetImagePosition();
        if (position != IMAGE_EAST && position != IMAGE_SOUTH) continue;
        int top, left, bottom, right;
        line->GetStandardHistogram()->GetExtent(top, left, bottom, right);
        if (W <= 0 || H <= 0) continue;
        CGeoStandardHistogram* standard = line->GetStandardHistogram();
        ShellTransitionWallis(m_DIB.GetDIBBits(), H, W, m_DIB.GetBitCount(), static_cast<int>(m_DIB.GetBytesPerLine()),
                              top, bottom, left, right, position == IMAGE_EAST ? 0 : 1, standard->GetAverages(),
                              standard->GetCovarances());
    }
    return 1;
}
