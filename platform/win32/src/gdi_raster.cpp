// The drawing machinery: coverage masks rasterised with Cairo (no antialiasing) or by the one-pixel line
// stepper, pens and brushes resolved to device units, and the pixel combiner that applies a raster
// operation bit by bit inside the clip region.
#include <cairo.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cmath>
#include <cstring>

#include "gdi_internal.h"

namespace win32 {
namespace gdi {
namespace {

// Hatch patterns, 8 rows from the top; the most significant bit is the leftmost pixel.
const uint8_t kHatch[6][8] = {
    {0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00},  // HS_HORIZONTAL
    {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08},  // HS_VERTICAL
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},  // HS_FDIAGONAL
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},  // HS_BDIAGONAL
    {0x08, 0x08, 0x08, 0xFF, 0x08, 0x08, 0x08, 0x08},  // HS_CROSS
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},  // HS_DIAGCROSS
};

// Dash patterns in pixels for one-pixel (cosmetic) pens, and in pen widths for geometric ones.
const std::vector<double> kCosmeticDashes[5] = {{}, {18, 6}, {3, 3}, {9, 6, 3, 6}, {9, 3, 3, 3, 3, 3}};
const std::vector<double> kGeometricDashes[5] = {{}, {3, 1}, {1, 1}, {3, 1, 1, 1}, {3, 1, 1, 1, 1, 1}};

// Wider pens than this are drawn this wide: far beyond any surface, and within Cairo's coordinates.
const double kMaxPenWidth = 65536;

int Mod(int64_t a, int m) {
    int r = (int)(a % m);
    return r < 0 ? r + m : r;
}

void RowExtent(const uint8_t* row, int w, int* first, int* last);

// Cairo context drawing into a mask, with device coordinates translated to the mask's box: by the
// context's matrix, or, with `ownOffset`, by the caller adding (dx, dy) to each point, which gives Cairo
// the same numbers (its matrix adds the same offset) without transforming every point through it. Cairo
// is given a surface a few pixels larger than the mask: geometry lying beyond a surface's edge can leave
// coverage in the edge pixels, so the margin takes it and only the inside is kept.
class MaskCairo {
public:
    MaskCairo(Mask& m, bool antialias, bool ownOffset = false) : target_(m) {
        padded_.x0 = m.x0 - kPad;
        padded_.y0 = m.y0 - kPad;
        padded_.w = m.w + 2 * kPad;
        padded_.h = m.h + 2 * kPad;
        padded_.stride = cairo_format_stride_for_width(CAIRO_FORMAT_A8, padded_.w);
        // Text fills one small mask after another: their pixels go into a buffer kept for the next.
        padded_.data.swap(Spare());
        padded_.data.assign((size_t)padded_.stride * padded_.h, 0);
        surface_ = cairo_image_surface_create_for_data(padded_.data.data(), CAIRO_FORMAT_A8, padded_.w, padded_.h,
                                                       padded_.stride);
        cr = cairo_create(surface_);
        cairo_set_antialias(cr, antialias ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
        // Integer device coordinates are pixel centres.
        dx = 0.5 - padded_.x0;
        dy = 0.5 - padded_.y0;
        if (!ownOffset) cairo_translate(cr, dx, dy);
    }
    ~MaskCairo() {
        if (!cr) {  // the coverage was taken
            padded_.data.swap(Spare());
            return;
        }
        End();
        for (int y = 0; y < target_.h; ++y) {
            uint8_t* dst = target_.Row(target_.y0 + y);
            const uint8_t* src = padded_.Row(target_.y0 + y) + kPad;
            int first, last;
            RowExtent(src, target_.w, &first, &last);
            for (int x = first; x < last; ++x)
                if (src[x] > dst[x]) dst[x] = src[x];
        }
        padded_.data.swap(Spare());
    }
    MaskCairo(const MaskCairo&) = delete;
    MaskCairo& operator=(const MaskCairo&) = delete;

    // Ends the drawing and gives the nonzero part of the coverage inside the mask's box (tightly packed,
    // empty when nothing is covered) instead of combining it into the mask, whose pixels stay untouched.
    Mask TakeNonzero() {
        End();
        return NonzeroPart(padded_.Row(target_.y0) + kPad, padded_.stride, target_.x0, target_.y0, target_.w,
                           target_.h);
    }

    cairo_t* cr = nullptr;
    double dx = 0, dy = 0;  // device to surface coordinates

private:
    void End() {
        cairo_destroy(cr);
        cr = nullptr;
        cairo_surface_flush(surface_);
        cairo_surface_destroy(surface_);
        surface_ = nullptr;
    }
    static std::vector<uint8_t>& Spare() {
        static thread_local std::vector<uint8_t> spare;
        return spare;
    }
    static const int kPad = 4;
    Mask& target_;
    Mask padded_;
    cairo_surface_t* surface_ = nullptr;
};

// Adds the shape to the context's path, moved by (dx, dy).
void AddShapePath(cairo_t* cr, const Shape& s, double dx, double dy) {
    cairo_new_path(cr);
    for (size_t i = 0; i < s.size(); ++i) {
        const PathPoint& p = s[i];
        BYTE t = p.type & ~PT_CLOSEFIGURE;
        if (t == PT_MOVETO) {
            cairo_move_to(cr, p.x + dx, p.y + dy);
        } else if (t == PT_LINETO) {
            cairo_line_to(cr, p.x + dx, p.y + dy);
        } else if (t == PT_BEZIERTO && i + 2 < s.size()) {
            cairo_curve_to(cr, p.x + dx, p.y + dy, s[i + 1].x + dx, s[i + 1].y + dy, s[i + 2].x + dx, s[i + 2].y + dy);
            i += 2;
        }
        if (s[i].type & PT_CLOSEFIGURE) cairo_close_path(cr);
    }
}

// A box outside which curves need no detail: a piece whose control points all lie beyond it stays
// beyond it, so its chord serves.
struct KeepBox {
    double x1, y1, x2, y2;
    bool Outside(double a, double b, double c, double d, double e, double f, double g, double h) const {
        return (a < x1 && c < x1 && e < x1 && g < x1) || (a > x2 && c > x2 && e > x2 && g > x2) ||
               (b < y1 && d < y1 && f < y1 && h < y1) || (b > y2 && d > y2 && f > y2 && h > y2);
    }
};

void FlattenBezier(std::vector<double>& out, double x0, double y0, double x1, double y1, double x2, double y2,
                   double x3, double y3, double tol, int depth, const KeepBox* keep) {
    if (keep && keep->Outside(x0, y0, x1, y1, x2, y2, x3, y3)) {
        out.push_back(x3);
        out.push_back(y3);
        return;
    }
    // Flat enough when both control points lie within tol of the chord.
    double dx = x3 - x0, dy = y3 - y0;
    double len = std::hypot(dx, dy);
    double d1, d2;
    if (len < 1e-9) {
        d1 = std::hypot(x1 - x0, y1 - y0);
        d2 = std::hypot(x2 - x0, y2 - y0);
    } else {
        d1 = std::fabs((x1 - x0) * dy - (y1 - y0) * dx) / len;
        d2 = std::fabs((x2 - x0) * dy - (y2 - y0) * dx) / len;
    }
    if (depth >= 16 || (d1 <= tol && d2 <= tol)) {
        out.push_back(x3);
        out.push_back(y3);
        return;
    }
    double x01 = (x0 + x1) / 2, y01 = (y0 + y1) / 2, x12 = (x1 + x2) / 2, y12 = (y1 + y2) / 2;
    double x23 = (x2 + x3) / 2, y23 = (y2 + y3) / 2;
    double xa = (x01 + x12) / 2, ya = (y01 + y12) / 2, xb = (x12 + x23) / 2, yb = (y12 + y23) / 2;
    double xm = (xa + xb) / 2, ym = (ya + yb) / 2;
    FlattenBezier(out, x0, y0, x01, y01, xa, ya, xm, ym, tol, depth + 1, keep);
    FlattenBezier(out, xm, ym, xb, yb, x23, y23, x3, y3, tol, depth + 1, keep);
}

// A part of a polyline inside a box, with its distance from the polyline's start.
struct Piece {
    Polyline2 line;
    double start = 0;
};

// Cuts polylines to the box [x1, x2] x [y1, y2] (Liang-Barsky per segment). Lines wholly inside are
// kept as they are, closed ones included.
std::vector<Piece> ClipToBox(const std::vector<Polyline2>& lines, double x1, double y1, double x2, double y2) {
    std::vector<Piece> out;
    for (const Polyline2& l : lines) {
        size_t n = l.xy.size() / 2;
        if (n == 0) continue;
        bool inside = true;
        for (size_t i = 0; i < n && inside; ++i)
            inside = l.xy[2 * i] >= x1 && l.xy[2 * i] <= x2 && l.xy[2 * i + 1] >= y1 && l.xy[2 * i + 1] <= y2;
        if (inside) {
            out.push_back(Piece{l, 0});
            continue;
        }
        std::vector<double> pts = l.xy;
        if (l.closed) {
            pts.push_back(l.xy[0]);
            pts.push_back(l.xy[1]);
        }
        size_t m = pts.size() / 2;
        double along = 0;
        bool open = false;  // the last piece ends where the current segment starts
        for (size_t i = 0; i + 1 < m; ++i) {
            double ax = pts[2 * i], ay = pts[2 * i + 1], bx = pts[2 * i + 2], by = pts[2 * i + 3];
            double dx = bx - ax, dy = by - ay, len = std::hypot(dx, dy);
            double t0 = 0, t1 = 1;
            auto clip = [&](double p, double q) {
                if (p == 0) return q >= 0;
                double r = q / p;
                if (p < 0) {
                    if (r > t1) return false;
                    if (r > t0) t0 = r;
                } else {
                    if (r < t0) return false;
                    if (r < t1) t1 = r;
                }
                return true;
            };
            bool keep = clip(-dx, ax - x1) && clip(dx, x2 - ax) && clip(-dy, ay - y1) && clip(dy, y2 - ay) && t0 <= t1;
            if (keep) {
                if (!(open && t0 == 0)) {
                    out.push_back(Piece{Polyline2(), along + t0 * len});
                    out.back().line.xy.push_back(ax + t0 * dx);
                    out.back().line.xy.push_back(ay + t0 * dy);
                }
                out.back().line.xy.push_back(ax + t1 * dx);
                out.back().line.xy.push_back(ay + t1 * dy);
                open = t1 == 1;
            } else {
                open = false;
            }
            along += len;
        }
    }
    return out;
}

// Steps a one-pixel line from a to b, leaving out b, and marks the pixels inside the mask. `phase` is the
// position in the dash pattern (pixels), carried from segment to segment.
template <class Sink>
void StepLine(const RECT& box, int ax, int ay, int bx, int by, const std::vector<double>& dashes, double period,
              bool opaqueGaps, int64_t& phase, Sink& sink) {
    int64_t dx = (int64_t)bx - ax, dy = (int64_t)by - ay;
    int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
    int64_t n = adx > ady ? adx : ady;
    if (n == 0) return;
    bool xMajor = adx >= ady;
    int64_t sMajor = xMajor ? (dx < 0 ? -1 : 1) : (dy < 0 ? -1 : 1);
    int64_t dMinor = xMajor ? dy : dx;
    int64_t major0 = xMajor ? ax : ay, minor0 = xMajor ? ay : ax;
    // Only the steps whose major coordinate falls in the box need visiting.
    int64_t lo = xMajor ? box.left : box.top, hi = (xMajor ? box.right : box.bottom) - 1;
    int64_t k0, k1;
    if (sMajor > 0) {
        k0 = lo - major0;
        k1 = hi - major0;
    } else {
        k0 = major0 - hi;
        k1 = major0 - lo;
    }
    if (k0 < 0) k0 = 0;
    if (k1 > n - 1) k1 = n - 1;
    for (int64_t k = k0; k <= k1; ++k) {
        int64_t major = major0 + sMajor * k;
        // Minor coordinate rounded half away from the start.
        __int128 num = (__int128)2 * k * (dMinor < 0 ? -dMinor : dMinor) + n;
        int64_t off = (int64_t)(num / (2 * (__int128)n));
        int64_t minor = minor0 + (dMinor < 0 ? -off : off);
        int64_t x = xMajor ? major : minor, y = xMajor ? minor : major;
        uint8_t v = 255;
        if (!dashes.empty()) {
            double pos = std::fmod((double)(phase + k), period);
            size_t i = 0;
            double acc = 0;
            for (; i < dashes.size(); ++i) {
                acc += dashes[i];
                if (pos < acc) break;
            }
            bool on = (i % 2) == 0;
            if (!on) {
                if (!opaqueGaps) continue;
                v = 1;
            }
        }
        if (x < box.left || y < box.top || x >= box.right || y >= box.bottom) continue;
        sink((int)x, (int)y, v);
    }
    phase += n;
}

// Steps one-pixel polylines inside the box, calling sink(x, y, value) per pixel: 255 for the pen, 1 for
// a dash gap (only with opaqueGaps). Each segment leaves out its last pixel; the dash pattern runs on
// from segment to segment of a figure.
template <class Sink>
void StepPolylines(const std::vector<Polyline2>& lines, const PenInfo& pen, bool opaqueGaps, const RECT& box, Sink sink) {
    double period = 0;
    for (double d : pen.dashes) period += d;
    for (const Polyline2& l : lines) {
        size_t n = l.xy.size() / 2;
        if (n == 0) continue;
        std::vector<POINT> pts;
        pts.reserve(n + (l.closed ? 1 : 0));
        for (size_t i = 0; i < n; ++i) {
            POINT p{LRound(l.xy[2 * i]), LRound(l.xy[2 * i + 1])};
            if (pts.empty() || p.x != pts.back().x || p.y != pts.back().y) pts.push_back(p);
        }
        if (l.closed && pts.size() > 1 && (pts.front().x != pts.back().x || pts.front().y != pts.back().y))
            pts.push_back(pts.front());
        int64_t phase = 0;
        for (size_t i = 0; i + 1 < pts.size(); ++i)
            StepLine(box, pts[i].x, pts[i].y, pts[i + 1].x, pts[i + 1].y, pen.dashes, period, opaqueGaps, phase, sink);
        // A closed figure's last segment ends on its first pixel, already drawn; a closed figure of a
        // single point draws that pixel.
        if (pts.size() == 1 && l.closed) {
            POINT p = pts[0];
            if (p.x >= box.left && p.y >= box.top && p.x < box.right && p.y < box.bottom) sink(p.x, p.y, (uint8_t)255);
        }
    }
}

// The first and one-past-last nonzero bytes of a mask row; first == last when the row is empty.
void RowExtent(const uint8_t* row, int w, int* first, int* last) {
    int a = 0;
    while (a + 8 <= w) {
        uint64_t v;
        std::memcpy(&v, row + a, 8);
        if (v) break;
        a += 8;
    }
    while (a < w && !row[a]) ++a;
    if (a == w) {
        *first = *last = w;
        return;
    }
    int b = w;
    while (b - 8 >= a) {
        uint64_t v;
        std::memcpy(&v, row + b - 8, 8);
        if (v) break;
        b -= 8;
    }
    while (b > a && !row[b - 1]) --b;
    *first = a;
    *last = b;
}

// One channel of colour c over pixel byte d at coverage a: (c x a + d x (255 - a) + 127) / 255, which
// leaves d at a = 0 and gives c at a = 255.
inline uint8_t Blend(int c, int d, int a) { return (uint8_t)((c * a + d * (255 - a) + 127) / 255); }

// Blends colour (b, g, r) over n pixels of a 32-bit row by their coverage bytes, as Blend does, and
// clears the fourth byte of each pixel whose coverage is not zero. Four pixels at a time where SSE2 is
// at hand: the sum fits 16 bits (at most 65152), and (x + 1 + (x >> 8)) >> 8 is x / 255 for all such x.
void BlendRow32(uint8_t* px, const uint8_t* cover, int n, int cb, int cg, int cr) {
    int i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i color = _mm_setr_epi16((short)cb, (short)cg, (short)cr, 0, (short)cb, (short)cg, (short)cr, 0);
    const __m128i k255 = _mm_set1_epi16(255), k127 = _mm_set1_epi16(127), k1 = _mm_set1_epi16(1);
    const __m128i keepColour = _mm_set1_epi32(0x00FFFFFF);
    auto mix = [&](__m128i d, __m128i a) {
        __m128i x = _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(color, a), _mm_mullo_epi16(d, _mm_sub_epi16(k255, a))), k127);
        return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(x, k1), _mm_srli_epi16(x, 8)), 8);
    };
    for (; i + 4 <= n; i += 4) {
        uint32_t a4;
        std::memcpy(&a4, cover + i, 4);
        if (!a4) continue;
        uint8_t* p = px + (size_t)i * 4;
        __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        __m128i a = _mm_cvtsi32_si128((int)a4);
        a = _mm_unpacklo_epi8(a, a);
        a = _mm_unpacklo_epi16(a, a);  // each coverage byte four times
        __m128i lo = mix(_mm_unpacklo_epi8(d, zero), _mm_unpacklo_epi8(a, zero));
        __m128i hi = mix(_mm_unpackhi_epi8(d, zero), _mm_unpackhi_epi8(a, zero));
        __m128i out = _mm_packus_epi16(lo, hi);
        out = _mm_and_si128(out, _mm_or_si128(keepColour, _mm_cmpeq_epi8(a, zero)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p), out);
    }
#endif
    for (; i < n; ++i) {
        int a = cover[i];
        if (!a) continue;
        uint8_t* p = px + (size_t)i * 4;
        p[0] = Blend(cb, p[0], a);
        p[1] = Blend(cg, p[1], a);
        p[2] = Blend(cr, p[2], a);
        p[3] = 0;
    }
}

uint32_t NearestIndex(const Bitmap& b, COLORREF c) {
    int r = GetRValue(c), g = GetGValue(c), bl = GetBValue(c);
    uint32_t best = 0;
    int bestD = INT32_MAX;
    for (size_t i = 0; i < b.palette.size(); ++i) {
        const RGBQUAD& q = b.palette[i];
        int d = (q.rgbRed - r) * (q.rgbRed - r) + (q.rgbGreen - g) * (q.rgbGreen - g) + (q.rgbBlue - bl) * (q.rgbBlue - bl);
        if (d < bestD) {
            bestD = d;
            best = (uint32_t)i;
            if (d == 0) break;
        }
    }
    return best;
}

}  // namespace

// ---------------------------------------------------------------------------------------------------------
// Pixels

uint32_t PixelMask(const Bitmap& b) { return b.bpp >= 32 ? 0xFFFFFFu : b.bpp == 24 ? 0xFFFFFFu : (1u << b.bpp) - 1; }

uint32_t ColorToPixel(const Bitmap& b, COLORREF c) {
    switch (b.bpp) {
        case 32:
        case 24: return (uint32_t)GetRValue(c) << 16 | (uint32_t)GetGValue(c) << 8 | GetBValue(c);
        case 16: return (uint32_t)(GetRValue(c) >> 3) << 10 | (uint32_t)(GetGValue(c) >> 3) << 5 | (GetBValue(c) >> 3);
        default: return NearestIndex(b, c);
    }
}

COLORREF PixelToColor(const Bitmap& b, uint32_t v) {
    switch (b.bpp) {
        case 32:
        case 24: return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
        case 16: {
            uint32_t r = (v >> 10) & 31, g = (v >> 5) & 31, bl = v & 31;
            return RGB(r << 3 | r >> 2, g << 3 | g >> 2, bl << 3 | bl >> 2);
        }
        default: {
            if (v >= b.palette.size()) return 0;
            const RGBQUAD& q = b.palette[v];
            return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
        }
    }
}

uint32_t GetPixelValue(const Bitmap& b, int x, int y) {
    const uint8_t* row = b.Row(y);
    switch (b.bpp) {
        case 32: {
            const uint8_t* p = row + (size_t)x * 4;
            return (uint32_t)p[2] << 16 | (uint32_t)p[1] << 8 | p[0];
        }
        case 24: {
            const uint8_t* p = row + (size_t)x * 3;
            return (uint32_t)p[2] << 16 | (uint32_t)p[1] << 8 | p[0];
        }
        case 16: return (uint32_t)row[x * 2] | (uint32_t)row[x * 2 + 1] << 8;
        case 8: return row[x];
        case 4: return (row[x / 2] >> ((x & 1) ? 0 : 4)) & 0x0F;
        default: return (row[x / 8] >> (7 - (x & 7))) & 1;
    }
}

void SetPixelValue(Bitmap& b, int x, int y, uint32_t v) {
    uint8_t* row = b.Row(y);
    switch (b.bpp) {
        case 32: {
            uint8_t* p = row + (size_t)x * 4;
            p[0] = (uint8_t)v;
            p[1] = (uint8_t)(v >> 8);
            p[2] = (uint8_t)(v >> 16);
            p[3] = 0;
            break;
        }
        case 24: {
            uint8_t* p = row + (size_t)x * 3;
            p[0] = (uint8_t)v;
            p[1] = (uint8_t)(v >> 8);
            p[2] = (uint8_t)(v >> 16);
            break;
        }
        case 16:
            row[x * 2] = (uint8_t)v;
            row[x * 2 + 1] = (uint8_t)((v >> 8) & 0x7F);
            break;
        case 8: row[x] = (uint8_t)v; break;
        case 4: {
            int shift = (x & 1) ? 0 : 4;
            row[x / 2] = (uint8_t)((row[x / 2] & ~(0x0F << shift)) | ((v & 0x0F) << shift));
            break;
        }
        default: {
            int shift = 7 - (x & 7);
            row[x / 8] = (uint8_t)((row[x / 8] & ~(1 << shift)) | ((v & 1) << shift));
            break;
        }
    }
}

uint32_t Rop2(int rop2, uint32_t d, uint32_t p) {
    switch (rop2) {
        case R2_BLACK: return 0;
        case R2_NOTMERGEPEN: return ~(d | p);
        case R2_MASKNOTPEN: return d & ~p;
        case R2_NOTCOPYPEN: return ~p;
        case R2_MASKPENNOT: return p & ~d;
        case R2_NOT: return ~d;
        case R2_XORPEN: return d ^ p;
        case R2_NOTMASKPEN: return ~(d & p);
        case R2_MASKPEN: return d & p;
        case R2_NOTXORPEN: return ~(d ^ p);
        case R2_NOP: return d;
        case R2_MERGENOTPEN: return d | ~p;
        case R2_MERGEPENNOT: return p | ~d;
        case R2_MERGEPEN: return d | p;
        case R2_WHITE: return 0xFFFFFFFFu;
        default: return p;  // R2_COPYPEN
    }
}

uint32_t Rop3(DWORD rop, uint32_t p, uint32_t s, uint32_t d) {
    uint32_t table = (rop >> 16) & 0xFF;
    switch (table) {
        case 0xCC: return s;
        case 0xF0: return p;
        case 0xAA: return d;
        case 0x00: return 0;
        case 0xFF: return 0xFFFFFFFFu;
        default: break;
    }
    uint32_t r = 0;
    for (int i = 0; i < 8; ++i) {
        if (!((table >> i) & 1)) continue;
        r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    }
    return r;
}

bool Rop3UsesSource(DWORD rop) {
    uint32_t t = (rop >> 16) & 0xFF;
    return (((t >> 2) ^ t) & 0x33) != 0;
}

bool Rop3UsesPattern(DWORD rop) {
    uint32_t t = (rop >> 16) & 0xFF;
    return (((t >> 4) ^ t) & 0x0F) != 0;
}

// ---------------------------------------------------------------------------------------------------------
// Masks

bool VisibleBox(const DC& dc, RECT* rc) {
    Bitmap* b = dc.Surface();
    if (!b) return false;
    RECT v{0, 0, b->width, b->height};
    if (dc.st.hasClip) {
        RECT c = dc.st.clip.Box();
        v.left = std::max(v.left, c.left);
        v.top = std::max(v.top, c.top);
        v.right = std::min(v.right, c.right);
        v.bottom = std::min(v.bottom, c.bottom);
    }
    *rc = v;
    return v.left < v.right && v.top < v.bottom;
}

Mask MakeMask(const DC& dc, int l, int t, int r, int b) {
    Mask m;
    RECT v;
    if (!VisibleBox(dc, &v)) return m;
    l = std::max<int>(l, v.left);
    t = std::max<int>(t, v.top);
    r = std::min<int>(r, v.right);
    b = std::min<int>(b, v.bottom);
    if (l >= r || t >= b) return m;
    m.x0 = l;
    m.y0 = t;
    m.w = r - l;
    m.h = b - t;
    m.stride = cairo_format_stride_for_width(CAIRO_FORMAT_A8, m.w);
    m.data.assign((size_t)m.stride * m.h, 0);
    return m;
}

RECT ShapeBox(const Shape& s, double grow) {
    if (s.empty()) return RECT{0, 0, 0, 0};
    double x1 = s[0].x, y1 = s[0].y, x2 = x1, y2 = y1;
    for (const PathPoint& p : s) {
        x1 = std::min(x1, p.x);
        y1 = std::min(y1, p.y);
        x2 = std::max(x2, p.x);
        y2 = std::max(y2, p.y);
    }
    auto clampd = [](double v) { return v < -1e9 ? -1e9 : v > 1e9 ? 1e9 : v; };
    return RECT{(LONG)std::floor(clampd(x1 - grow)), (LONG)std::floor(clampd(y1 - grow)),
                (LONG)std::ceil(clampd(x2 + grow)) + 1, (LONG)std::ceil(clampd(y2 + grow)) + 1};
}

std::vector<Polyline2> Flatten(const Shape& s, double tol, const RECT* keepBox) {
    std::vector<Polyline2> out;
    KeepBox kb{0, 0, 0, 0};
    if (keepBox) kb = KeepBox{keepBox->left - 2.0, keepBox->top - 2.0, keepBox->right + 2.0, keepBox->bottom + 2.0};
    double cx = 0, cy = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const PathPoint& p = s[i];
        BYTE t = p.type & ~PT_CLOSEFIGURE;
        if (t == PT_MOVETO || out.empty()) {
            out.push_back(Polyline2());
            // Room for the figure's points up to the next move (a curve may still add more): a short
            // line is drawn by the hundred thousand, and growing each one step by step costs more than
            // drawing it.
            size_t end = i + 1;
            while (end < s.size() && (s[end].type & ~PT_CLOSEFIGURE) != PT_MOVETO) ++end;
            out.back().xy.reserve(2 * (end - i + 1));
            if (t != PT_MOVETO) {
                out.back().xy.push_back(cx);
                out.back().xy.push_back(cy);
            }
        }
        if (t == PT_BEZIERTO && i + 2 < s.size()) {
            FlattenBezier(out.back().xy, cx, cy, p.x, p.y, s[i + 1].x, s[i + 1].y, s[i + 2].x, s[i + 2].y, tol, 0,
                          keepBox ? &kb : nullptr);
            i += 2;
        } else {
            out.back().xy.push_back(p.x);
            out.back().xy.push_back(p.y);
        }
        cx = s[i].x;
        cy = s[i].y;
        if (s[i].type & PT_CLOSEFIGURE) {
            out.back().closed = true;
            // A figure after a close without a move starts at the closed figure's first point.
            cx = out.back().xy[0];
            cy = out.back().xy[1];
        }
    }
    return out;
}

void StrokeIntoMask(Mask& m, const std::vector<Polyline2>& lines, const PenInfo& pen, bool opaqueGaps,
                    double miterLimit) {
    if (m.Empty() || pen.null) return;
    if (pen.thin) {
        RECT box{m.x0, m.y0, m.x0 + m.w, m.y0 + m.h};
        StepPolylines(lines, pen, opaqueGaps, box, [&](int x, int y, uint8_t v) {
            uint8_t& px = m.Row(y)[x - m.x0];
            if (v > px) px = v;
        });
        return;
    }
    // Cairo keeps coordinates in 24.8 fixed point, so lines reaching far outside the mask (a zoomed-in
    // map) are cut to a box around it first, far enough out that no cap or join shows; each piece keeps
    // its distance along the line so dashes stay in phase.
    double reach = pen.width * std::max(1.0, miterLimit) + 4;
    std::vector<Piece> pieces = ClipToBox(lines, m.x0 - 0.5 - reach, m.y0 - 0.5 - reach, m.x0 + m.w + reach, m.y0 + m.h + reach);
    MaskCairo mc(m, false);
    cairo_t* cr = mc.cr;
    cairo_set_line_width(cr, pen.width);
    cairo_set_line_cap(cr, pen.cap == PS_ENDCAP_FLAT ? CAIRO_LINE_CAP_BUTT
                           : pen.cap == PS_ENDCAP_SQUARE ? CAIRO_LINE_CAP_SQUARE
                                                         : CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, pen.join == PS_JOIN_BEVEL ? CAIRO_LINE_JOIN_BEVEL
                            : pen.join == PS_JOIN_MITER ? CAIRO_LINE_JOIN_MITER
                                                        : CAIRO_LINE_JOIN_ROUND);
    cairo_set_miter_limit(cr, miterLimit);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    auto addPiece = [&](const Piece& p) {
        size_t n = p.line.xy.size() / 2;
        if (n == 0) return;
        cairo_move_to(cr, p.line.xy[0], p.line.xy[1]);
        for (size_t i = 1; i < n; ++i) cairo_line_to(cr, p.line.xy[2 * i], p.line.xy[2 * i + 1]);
        if (p.line.closed) cairo_close_path(cr);
    };
    if (!pen.dashes.empty() && opaqueGaps) {
        cairo_set_source_rgba(cr, 0, 0, 0, 1.0 / 255.0);
        cairo_new_path(cr);
        for (const Piece& p : pieces) addPiece(p);
        cairo_stroke(cr);
    }
    cairo_set_source_rgba(cr, 0, 0, 0, 1.0);
    if (pen.dashes.empty()) {
        cairo_new_path(cr);
        for (const Piece& p : pieces) addPiece(p);
        cairo_stroke(cr);
        return;
    }
    for (const Piece& p : pieces) {
        cairo_set_dash(cr, pen.dashes.data(), (int)pen.dashes.size(), p.start);
        cairo_new_path(cr);
        addPiece(p);
        cairo_stroke(cr);
    }
}

namespace {

struct Edge {
    double x0, y0, dxdy;
    double ytop, ybot;  // ytop < ybot
    int dir;            // +1 downwards, -1 upwards
};

// Aliased polygon fill with GDI's rule: a pixel is inside when its centre (integer device coordinates)
// is inside; a centre exactly on an edge belongs to the figure on the edge's right or below it (left and
// top edges are in, right and bottom edges out), so figures sharing an edge never share a pixel.
void ScanFill(Mask& m, const Shape& s, int fillMode) {
    std::vector<Edge> edges;
    RECT box{m.x0, m.y0, m.x0 + m.w, m.y0 + m.h};
    for (const Polyline2& l : Flatten(s, 0.1, &box)) {
        size_t n = l.xy.size() / 2;
        for (size_t i = 0; i < n; ++i) {
            size_t j = (i + 1) % n;  // every figure is closed for filling
            double x0 = l.xy[2 * i], y0 = l.xy[2 * i + 1], x1 = l.xy[2 * j], y1 = l.xy[2 * j + 1];
            if (y0 == y1 || !std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1)) continue;
            Edge e;
            e.dir = y1 > y0 ? 1 : -1;
            if (y0 > y1) {
                std::swap(x0, x1);
                std::swap(y0, y1);
            }
            e.x0 = x0;
            e.y0 = y0;
            e.ytop = y0;
            e.ybot = y1;
            e.dxdy = (x1 - x0) / (y1 - y0);
            edges.push_back(e);
        }
    }
    if (edges.empty()) return;
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.ytop < b.ytop; });
    std::vector<const Edge*> active;
    std::vector<std::pair<double, int>> xs;
    size_t next = 0;
    for (int y = m.y0; y < m.y0 + m.h; ++y) {
        double fy = y;
        while (next < edges.size() && edges[next].ytop <= fy) active.push_back(&edges[next++]);
        active.erase(std::remove_if(active.begin(), active.end(), [&](const Edge* e) { return e->ybot <= fy; }), active.end());
        xs.clear();
        for (const Edge* e : active)
            if (e->ytop <= fy) xs.push_back({e->x0 + (fy - e->y0) * e->dxdy, e->dir});
        if (xs.size() < 2) continue;
        std::sort(xs.begin(), xs.end());
        uint8_t* row = m.Row(y);
        int wind = 0;
        for (size_t k = 0; k + 1 < xs.size(); ++k) {
            wind += xs[k].second;
            bool in = fillMode == WINDING ? wind != 0 : (wind & 1) != 0;
            if (!in) continue;
            double a = std::max(std::ceil(xs[k].first), (double)m.x0);
            double b = std::min(std::ceil(xs[k + 1].first), (double)(m.x0 + m.w));
            if (!(a < b)) continue;
            int x1 = (int)a, x2 = (int)b;
            std::memset(row + (x1 - m.x0), 255, (size_t)(x2 - x1));
        }
    }
}

}  // namespace

void FillIntoMask(Mask& m, const Shape& s, int fillMode, bool antialias) {
    if (m.Empty() || s.empty()) return;
    // Antialiasing through Cairo, whose fixed-point coordinates cannot hold shapes reaching far beyond
    // the mask; those (giant glyphs at high zoom) are filled without it.
    RECT box = ShapeBox(s, 0);
    const LONG kCairoReach = 1 << 20;
    bool far = box.left < m.x0 - kCairoReach || box.top < m.y0 - kCairoReach || box.right > m.x0 + m.w + kCairoReach ||
               box.bottom > m.y0 + m.h + kCairoReach;
    if (!antialias || far) {
        ScanFill(m, s, fillMode);
        return;
    }
    MaskCairo mc(m, antialias, true);
    cairo_set_fill_rule(mc.cr, fillMode == WINDING ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
    cairo_set_source_rgba(mc.cr, 0, 0, 0, 1.0);
    AddShapePath(mc.cr, s, mc.dx, mc.dy);
    cairo_fill(mc.cr);
}

Mask NonzeroPart(const uint8_t* data, int stride, int x0, int y0, int w, int h) {
    int l = w, r = 0, t = h, b = 0;
    for (int y = 0; y < h; ++y) {
        int first, last;
        RowExtent(data + (size_t)y * stride, w, &first, &last);
        if (first >= last) continue;
        l = std::min(l, first);
        r = std::max(r, last);
        t = std::min(t, y);
        b = y + 1;
    }
    Mask out;
    if (l >= r) return out;
    out.x0 = x0 + l;
    out.y0 = y0 + t;
    out.w = r - l;
    out.h = b - t;
    out.stride = out.w;
    out.data.resize((size_t)out.w * out.h);
    for (int y = 0; y < out.h; ++y)
        std::memcpy(out.Row(out.y0 + y), data + (size_t)(t + y) * stride + l, (size_t)out.w);
    return out;
}

Mask FillCoverage(const Shape& s, const RECT& box) {
    Mask frame;  // the box only: the coverage is taken from Cairo's surface, never combined into it
    frame.x0 = box.left;
    frame.y0 = box.top;
    frame.w = box.right - box.left;
    frame.h = box.bottom - box.top;
    frame.stride = frame.w;
    if (frame.Empty() || s.empty()) return Mask();
    MaskCairo mc(frame, true, true);
    cairo_set_fill_rule(mc.cr, CAIRO_FILL_RULE_WINDING);
    cairo_set_source_rgba(mc.cr, 0, 0, 0, 1.0);
    AddShapePath(mc.cr, s, mc.dx, mc.dy);
    cairo_fill(mc.cr);
    return mc.TakeNonzero();
}

// ---------------------------------------------------------------------------------------------------------
// Pens, brushes, combining

LOGPEN PenInfo::Describe() const {
    LOGPEN lp{style, {null ? 0 : (LONG)LRound(width), 0}, color};
    return lp;
}

PenInfo ResolvePen(const DC& dc) {
    PenInfo pi;
    Pen* p = CurrentPen(dc);
    if (!p) return pi;
    pi.style = p->style;
    DWORD s = p->style & PS_STYLE_MASK;
    if (s == PS_NULL) return pi;
    pi.null = false;
    pi.color = p->dcPen ? dc.st.dcPenColor : p->color;
    double scale = std::fabs(GetXform(dc).sx);
    pi.insideFrame = s == PS_INSIDEFRAME;
    if (!p->ext || (p->style & PS_TYPE_MASK) == PS_COSMETIC) {
        pi.cap = PS_ENDCAP_ROUND;
        pi.join = PS_JOIN_ROUND;
        double w = 1;
        if (!p->ext && p->width > 1) w = std::min(std::max(1.0, (double)LRound(p->width * scale)), kMaxPenWidth);
        else if (!p->ext && p->width == 1) w = std::max(1.0, (double)LRound(scale));
        pi.width = w;
        pi.thin = w <= 1;
        if (pi.thin) {
            if (s >= PS_DASH && s <= PS_DASHDOTDOT) pi.dashes = kCosmeticDashes[s];
            if (s == PS_ALTERNATE) pi.dashes = {1, 1};
            if (s == PS_USERSTYLE)
                for (DWORD d : p->user) pi.dashes.push_back((double)d);
        }
        return pi;
    }
    pi.cap = (int)(p->style & PS_ENDCAP_MASK);
    pi.join = (int)(p->style & PS_JOIN_MASK);
    double w = std::min(std::max(1.0, (double)LRound(p->width * scale)), kMaxPenWidth);
    pi.width = w;
    pi.thin = w <= 1;
    if (s >= PS_DASH && s <= PS_DASHDOTDOT)
        for (double d : kGeometricDashes[s]) pi.dashes.push_back(d * w);
    if (s == PS_USERSTYLE)
        for (DWORD d : p->user) pi.dashes.push_back(std::max(0.0, d * scale));
    return pi;
}

Paint PenPaint(const DC& dc, const PenInfo& pen) {
    Paint p;
    if (pen.null) return p;
    p.kind = Paint::Solid;
    p.fg = pen.color;
    p.bg = dc.st.bkColor;
    p.opaque = dc.st.bkMode == OPAQUE;
    return p;
}

Paint BrushPaint(const DC& dc, const Brush* b) {
    Paint p;
    if (!b) return p;
    p.org = dc.st.brushOrg;
    p.bg = dc.st.bkColor;
    p.opaque = dc.st.bkMode == OPAQUE;
    switch (b->style) {
        case BS_SOLID:
            p.kind = Paint::Solid;
            p.fg = b->dcBrush ? dc.st.dcBrushColor : b->color;
            break;
        case BS_HATCHED:
            p.kind = Paint::Hatch;
            p.fg = b->color;
            p.hatch = b->hatch;
            break;
        case BS_PATTERN:
        case BS_DIBPATTERN:
        case BS_DIBPATTERNPT:
            if (!b->pattern || b->pattern->w <= 0 || b->pattern->h <= 0) return p;
            p.kind = Paint::Pattern;
            p.pattern = b->pattern;
            p.monoFg = dc.st.textColor;
            p.monoBg = dc.st.bkColor;
            break;
        default: break;
    }
    return p;
}

bool PaintColorAt(const Paint& p, int x, int y, COLORREF* c) {
    switch (p.kind) {
        case Paint::Solid: *c = p.fg; return true;
        case Paint::Hatch: {
            int hx = Mod((int64_t)x - p.org.x, 8), hy = Mod((int64_t)y - p.org.y, 8);
            if (kHatch[p.hatch][hy] & (0x80 >> hx)) {
                *c = p.fg;
                return true;
            }
            if (!p.opaque) return false;
            *c = p.bg;
            return true;
        }
        case Paint::Pattern: {
            const gdi::Pattern& pat = *p.pattern;
            int px = Mod((int64_t)x - p.org.x, pat.w), py = Mod((int64_t)y - p.org.y, pat.h);
            size_t i = (size_t)py * pat.w + px;
            if (pat.mono)
                *c = pat.bits[i] ? p.monoBg : p.monoFg;
            else
                *c = pat.colors[i];
            return true;
        }
        default: return false;
    }
}

void Composite(DC& dc, const Mask& m, const Paint& p, int rop2) {
    Bitmap* b = dc.Surface();
    if (!b || m.Empty() || p.kind == Paint::None) return;
    const uint32_t pm = PixelMask(*b);
    uint32_t fgPx = ColorToPixel(*b, p.fg), bgPx = ColorToPixel(*b, p.bg);
    COLORREF lastC = p.fg;
    uint32_t lastPx = fgPx;
    if (b->bpp == 32 && p.kind == Paint::Solid && rop2 == R2_COPYPEN) {
        // The common case, a plain fill: whole 32-bit words.
        auto fast = [&](int l, int t, int r, int bt) {
            for (int y = t; y < bt; ++y) {
                const uint8_t* row = m.Row(y);
                uint32_t* px = reinterpret_cast<uint32_t*>(b->Row(y));
                int first, last;
                RowExtent(row + (l - m.x0), r - l, &first, &last);
                for (int x = l + first; x < l + last; ++x) {
                    uint8_t v = row[x - m.x0];
                    if (v >= 128)
                        px[x] = fgPx;
                    else if (v && p.opaque)
                        px[x] = bgPx;
                }
            }
        };
        if (dc.st.hasClip)
            dc.st.clip.ForEachRectIn(m.x0, m.y0, m.x0 + m.w, m.y0 + m.h, fast);
        else
            fast(m.x0, m.y0, m.x0 + m.w, m.y0 + m.h);
        return;
    }
    auto body = [&](int l, int t, int r, int bt) {
        for (int y = t; y < bt; ++y) {
            const uint8_t* row = m.Row(y);
            int first, last;
            RowExtent(row + (l - m.x0), r - l, &first, &last);
            for (int x = l + first; x < l + last; ++x) {
                uint8_t v = row[x - m.x0];
                if (!v) continue;
                uint32_t src;
                if (p.kind == Paint::Solid) {
                    if (v >= 128)
                        src = fgPx;
                    else if (p.opaque)
                        src = bgPx;
                    else
                        continue;
                } else {
                    COLORREF c;
                    if (!PaintColorAt(p, x, y, &c)) continue;
                    if (c != lastC) {
                        lastC = c;
                        lastPx = ColorToPixel(*b, c);
                    }
                    src = lastPx;
                }
                uint32_t d = rop2 == R2_COPYPEN ? 0 : GetPixelValue(*b, x, y);
                SetPixelValue(*b, x, y, Rop2(rop2, d, src) & pm);
            }
        }
    };
    if (dc.st.hasClip)
        dc.st.clip.ForEachRectIn(m.x0, m.y0, m.x0 + m.w, m.y0 + m.h, body);
    else
        body(m.x0, m.y0, m.x0 + m.w, m.y0 + m.h);
}

void CompositeAlpha(DC& dc, const Mask& m, COLORREF color, const Region* extraClip, int dx, int dy) {
    Bitmap* b = dc.Surface();
    if (!b || m.Empty()) return;
    const bool indexed = b->bpp <= 8;
    const uint32_t colorPx = ColorToPixel(*b, color);
    const int cr = GetRValue(color), cg = GetGValue(color), cb = GetBValue(color);
    const int x0 = m.x0 + dx, y0 = m.y0 + dy;  // where the mask lies on the device
    auto body = [&](int l, int t, int r, int bt) {
#if defined(__SSE2__)
        // Small masks (text) land on rows far apart in memory: ask for all of them at once.
        if (b->bpp == 32 && bt - t <= 64 && r - l <= 64)
            for (int y = t; y < bt; ++y) {
                const char* p = reinterpret_cast<const char*>(b->Row(y) + (size_t)l * 4);
                _mm_prefetch(p, _MM_HINT_T0);
                _mm_prefetch(p + (size_t)(r - l) * 4 - 1, _MM_HINT_T0);
            }
#endif
        for (int y = t; y < bt; ++y) {
            const uint8_t* row = m.Row(y - dy);
            if (b->bpp == 32) {  // skips uncovered pixels itself
                BlendRow32(b->Row(y) + (size_t)l * 4, row + (l - x0), r - l, cb, cg, cr);
                continue;
            }
            int first, last;
            RowExtent(row + (l - x0), r - l, &first, &last);
            for (int x = l + first; x < l + last; ++x) {
                int a = row[x - x0];
                if (!a) continue;
                if (b->bpp == 24) {
                    uint8_t* p = b->Row(y) + (size_t)x * 3;
                    p[0] = Blend(cb, p[0], a);
                    p[1] = Blend(cg, p[1], a);
                    p[2] = Blend(cr, p[2], a);
                    continue;
                }
                if (indexed || a == 255) {
                    if (a >= 128) SetPixelValue(*b, x, y, colorPx);
                    continue;
                }
                COLORREF d = PixelToColor(*b, GetPixelValue(*b, x, y));
                SetPixelValue(*b, x, y, ColorToPixel(*b, RGB(Blend(cr, GetRValue(d), a), Blend(cg, GetGValue(d), a),
                                                             Blend(cb, GetBValue(d), a))));
            }
        }
    };
    const Region* clip = dc.st.hasClip ? &dc.st.clip : nullptr;
    Region both;
    if (clip && extraClip) {
        both = Region::Combine(*clip, *extraClip, RGN_AND);
        clip = &both;
    } else if (extraClip) {
        clip = extraClip;
    }
    if (clip)
        clip->ForEachRectIn(x0, y0, x0 + m.w, y0 + m.h, body);
    else
        body(x0, y0, x0 + m.w, y0 + m.h);
}

void DrawShape(DC& dc, const Shape& s, bool stroke, bool fill) {
    if (s.empty() || !dc.Surface()) return;
    PenInfo pen = ResolvePen(dc);
    Paint brush = fill ? BrushPaint(dc, CurrentBrush(dc)) : Paint();
    bool doStroke = stroke && !pen.null;
    bool doFill = fill && brush.kind != Paint::None;
    if (!doStroke && !doFill) return;
    if (doStroke && !doFill && pen.thin) {
        // One-pixel lines go straight to the pixels: no mask over their (often large) bounding box.
        Bitmap* b = dc.Surface();
        RECT vis;
        if (!VisibleBox(dc, &vis)) return;
        const bool complexClip = dc.st.hasClip && dc.st.clip.Complexity() == COMPLEXREGION;
        const uint32_t fg = ColorToPixel(*b, pen.color), bg = ColorToPixel(*b, dc.st.bkColor), pm = PixelMask(*b);
        const int rop = dc.st.rop2;
        StepPolylines(Flatten(s, 0.1, &vis), pen, dc.st.bkMode == OPAQUE, vis, [&](int x, int y, uint8_t v) {
            if (complexClip && !dc.st.clip.Contains(x, y)) return;
            uint32_t src = v >= 128 ? fg : bg;
            uint32_t d = rop == R2_COPYPEN ? 0 : GetPixelValue(*b, x, y);
            SetPixelValue(*b, x, y, Rop2(rop, d, src) & pm);
        });
        return;
    }
    double grow = 2;
    if (doStroke && !pen.thin) grow += pen.width / 2 * std::max<double>(1.0, dc.st.miterLimit);
    RECT box = ShapeBox(s, grow);
    Mask fillMask, penMask;
    if (doFill) {
        fillMask = MakeMask(dc, box.left, box.top, box.right, box.bottom);
        FillIntoMask(fillMask, s, dc.st.polyFillMode, false);
    }
    if (doStroke) {
        penMask = MakeMask(dc, box.left, box.top, box.right, box.bottom);
        RECT keep{penMask.x0 - (LONG)grow, penMask.y0 - (LONG)grow, penMask.x0 + penMask.w + (LONG)grow,
                  penMask.y0 + penMask.h + (LONG)grow};
        StrokeIntoMask(penMask, Flatten(s, 0.1, &keep), pen, dc.st.bkMode == OPAQUE, dc.st.miterLimit);
    }
    if (doFill && doStroke && !penMask.Empty()) {
        // The pen wins where both would touch a pixel, so that each pixel is combined once.
        for (size_t i = 0; i < fillMask.data.size(); ++i)
            if (penMask.data[i]) fillMask.data[i] = 0;
    }
    if (doFill) Composite(dc, fillMask, brush, dc.st.rop2);
    if (doStroke) Composite(dc, penMask, PenPaint(dc, pen), dc.st.rop2);
}

}  // namespace gdi
}  // namespace win32
