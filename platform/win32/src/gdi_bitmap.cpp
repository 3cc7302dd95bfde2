// Bitmaps, DIBs and block transfers: CreateBitmap, CreateCompatibleBitmap, CreateDIBSection, GetDIBits,
// SetDIBits, BitBlt, StretchBlt, PatBlt, StretchDIBits and SetDIBitsToDevice. Every stretch samples the
// nearest source pixel.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "gdi_internal.h"

namespace win32 {
namespace gdi {
namespace {

// A DIB described by a BITMAPINFO, for reading or writing pixels in its own layout.
struct Dib {
    int w = 0, h = 0, bpp = 0, stride = 0;
    bool bottomUp = true;
    std::vector<RGBQUAD> palette;
    uint32_t masks[3] = {0, 0, 0};  // 16 and 32 bits: red, green, blue
    int shifts[3] = {0, 0, 0}, widths[3] = {0, 0, 0};

    // Row `y` counted from the top of the image.
    const uint8_t* Row(const void* bits, int y) const {
        return static_cast<const uint8_t*>(bits) + (size_t)(bottomUp ? h - 1 - y : y) * stride;
    }
    uint8_t* Row(void* bits, int y) const {
        return static_cast<uint8_t*>(bits) + (size_t)(bottomUp ? h - 1 - y : y) * stride;
    }
    uint32_t Raw(const uint8_t* row, int x) const {
        switch (bpp) {
            case 32: return (uint32_t)row[x * 4] | (uint32_t)row[x * 4 + 1] << 8 | (uint32_t)row[x * 4 + 2] << 16 | (uint32_t)row[x * 4 + 3] << 24;
            case 24: return (uint32_t)row[x * 3] | (uint32_t)row[x * 3 + 1] << 8 | (uint32_t)row[x * 3 + 2] << 16;
            case 16: return (uint32_t)row[x * 2] | (uint32_t)row[x * 2 + 1] << 8;
            case 8: return row[x];
            case 4: return (row[x / 2] >> ((x & 1) ? 0 : 4)) & 0x0F;
            default: return (row[x / 8] >> (7 - (x & 7))) & 1;
        }
    }
    COLORREF Color(uint32_t v) const {
        if (bpp <= 8) {
            if (v >= palette.size()) return 0;
            return RGB(palette[v].rgbRed, palette[v].rgbGreen, palette[v].rgbBlue);
        }
        if (bpp == 24) return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
        BYTE c[3];
        for (int i = 0; i < 3; ++i) {
            uint32_t f = (v & masks[i]) >> shifts[i];
            int wd = widths[i];
            c[i] = (BYTE)(wd >= 8 ? f >> (wd - 8) : wd == 0 ? 0 : (f * 255 + ((1u << wd) - 1) / 2) / ((1u << wd) - 1));
        }
        return RGB(c[0], c[1], c[2]);
    }
};

void MaskShift(uint32_t m, int* shift, int* width) {
    *shift = 0;
    *width = 0;
    if (!m) return;
    while (!(m & 1)) {
        m >>= 1;
        ++*shift;
    }
    while (m & 1) {
        m >>= 1;
        ++*width;
    }
}

// Reads a BITMAPINFO; false when it is not a DIB this stand-in can use.
bool ParseDib(const BITMAPINFO* bmi, UINT usage, Dib* d) {
    if (!bmi || usage != DIB_RGB_COLORS) return false;
    const BITMAPINFOHEADER& h = bmi->bmiHeader;
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biSize > 1024) return false;
    if (h.biWidth <= 0 || h.biHeight == 0 || h.biHeight == INT32_MIN) return false;
    int bpp = h.biBitCount;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return false;
    if (!(h.biCompression == BI_RGB || (h.biCompression == BI_BITFIELDS && (bpp == 16 || bpp == 32)))) return false;
    d->w = h.biWidth;
    d->h = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    d->bottomUp = h.biHeight > 0;
    d->bpp = bpp;
    int64_t stride = ((int64_t)d->w * bpp + 31) / 32 * 4;
    if (stride * d->h > (int64_t(1) << 31)) return false;
    d->stride = (int)stride;
    const uint8_t* after = reinterpret_cast<const uint8_t*>(bmi) + h.biSize;
    if (bpp <= 8) {
        uint32_t n = h.biClrUsed ? h.biClrUsed : 1u << bpp;
        if (n > (1u << bpp)) return false;
        const RGBQUAD* q = reinterpret_cast<const RGBQUAD*>(after);
        d->palette.assign(q, q + n);
    } else if (h.biCompression == BI_BITFIELDS) {
        const uint8_t* m = h.biSize >= 52 ? reinterpret_cast<const uint8_t*>(bmi) + 40 : after;
        std::memcpy(d->masks, m, sizeof d->masks);
    } else if (bpp == 16) {
        d->masks[0] = 0x7C00;
        d->masks[1] = 0x03E0;
        d->masks[2] = 0x001F;
    } else {
        d->masks[0] = 0xFF0000;
        d->masks[1] = 0x00FF00;
        d->masks[2] = 0x0000FF;
    }
    for (int i = 0; i < 3; ++i) MaskShift(d->masks[i], &d->shifts[i], &d->widths[i]);
    return true;
}

// The pixel value a destination bitmap gets for a DIB pixel, with a cache for palette DIBs.
struct DibToBitmap {
    const Dib& dib;
    const Bitmap& dst;
    std::vector<uint32_t> lut;
    DibToBitmap(const Dib& d, const Bitmap& b) : dib(d), dst(b) {
        for (const RGBQUAD& q : d.palette) lut.push_back(ColorToPixel(b, RGB(q.rgbRed, q.rgbGreen, q.rgbBlue)));
    }
    uint32_t operator()(uint32_t raw) const {
        if (dib.bpp <= 8) return raw < lut.size() ? lut[raw] : 0;
        if ((dst.bpp == 32 || dst.bpp == 24) && (dib.bpp == 24 || (dib.bpp == 32 && dib.masks[0] == 0xFF0000 && dib.masks[1] == 0xFF00 && dib.masks[2] == 0xFF)))
            return raw & 0xFFFFFF;
        return ColorToPixel(dst, dib.Color(raw));
    }
};

// Visits the visible destination rows of a (possibly mirrored) device rectangle from (x1, y1) to (x2, y2)
// with the source coordinates (nearest sample) of a source range [sx1, sx2) x [sy1, sy2): f(y, sy, left,
// right, cols) for each visible run [left, right) of row y, where cols[i] is the source column of pixel
// left + i. Runs come rectangle by rectangle of the visible area, rows top to bottom within each.
template <class F>
void ForEachStretchedRun(DC& dc, int x1, int y1, int x2, int y2, double sx1, double sy1, double sx2, double sy2, F f) {
    RECT vis;
    if (!VisibleBox(dc, &vis)) return;
    int l = std::min(x1, x2), r = std::max(x1, x2), t = std::min(y1, y2), b = std::max(y1, y2);
    l = std::max<int>(l, vis.left);
    t = std::max<int>(t, vis.top);
    r = std::min<int>(r, vis.right);
    b = std::min<int>(b, vis.bottom);
    if (l >= r || t >= b) return;
    std::vector<int> col((size_t)(r - l));
    for (int x = l; x < r; ++x) col[(size_t)(x - l)] = FloorInt(sx1 + (x + 0.5 - x1) / (double)(x2 - x1) * (sx2 - sx1));
    auto body = [&](int bl, int bt, int br, int bb) {
        for (int y = bt; y < bb; ++y) {
            int sy = FloorInt(sy1 + (y + 0.5 - y1) / (double)(y2 - y1) * (sy2 - sy1));
            f(y, sy, bl, br, col.data() + (bl - l));
        }
    };
    if (dc.st.hasClip)
        dc.st.clip.ForEachRectIn(l, t, r, b, body);
    else
        body(l, t, r, b);
}

// The same, pixel by pixel: f(x, y, sx, sy).
template <class F>
void ForEachStretched(DC& dc, int x1, int y1, int x2, int y2, double sx1, double sy1, double sx2, double sy2, F f) {
    ForEachStretchedRun(dc, x1, y1, x2, y2, sx1, sy1, sx2, sy2, [&](int y, int sy, int bl, int br, const int* cols) {
        for (int x = bl; x < br; ++x) f(x, y, cols[x - bl], sy);
    });
}

// Colour conversion between bitmaps as GDI does it for blits, giving a destination pixel value.
struct BitmapToBitmap {
    const Bitmap& src;
    const Bitmap& dst;
    uint32_t monoFg, monoBg;  // mono source -> colour destination: 0 -> text colour, 1 -> background colour
    COLORREF srcBk;           // colour source -> mono destination: the source's background colour -> 1
    bool same;
    uint32_t operator()(uint32_t v) const {
        if (same) return v;
        if (src.bpp == 1 && dst.bpp != 1) return v ? monoBg : monoFg;
        COLORREF c = PixelToColor(src, v);
        if (dst.bpp == 1 && src.bpp != 1) return c == srcBk ? 1 : 0;
        return ColorToPixel(dst, c);
    }
};

void ApplyRop3(Bitmap& b, int x, int y, DWORD rop, const Paint& pat, bool usesPat, uint32_t s) {
    uint32_t p = 0;
    if (usesPat) {
        COLORREF c;
        if (PaintColorAt(pat, x, y, &c)) p = ColorToPixel(b, c);
    }
    uint32_t d = GetPixelValue(b, x, y);
    SetPixelValue(b, x, y, Rop3(rop, p, s, d) & PixelMask(b));
}

int StretchFromDib(DC& dc, POINT d1, POINT d2, double sx1, double sy1, double sx2, double sy2, const Dib& dib,
                   const void* bits, int firstRow, int rows, DWORD rop) {
    // firstRow/rows: the DIB rows (top-down indices) present in `bits`; others are left alone.
    Bitmap* b = dc.Surface();
    if (!b) return 1;
    DibToBitmap conv(dib, *b);
    Paint pat = BrushPaint(dc, CurrentBrush(dc));
    bool usesPat = Rop3UsesPattern(rop);
    bool copy = rop == SRCCOPY;
    bool standard32 = dib.bpp == 32 && dib.masks[0] == 0xFF0000 && dib.masks[1] == 0xFF00 && dib.masks[2] == 0xFF;
    if (copy && b->bpp == 32 && (dib.bpp == 24 || dib.bpp == 8 || standard32)) {
        // The common painting of an image onto a 32-bit surface, a row at a time: a repeated source row
        // (an image drawn larger than its pixels) is copied from the row above.
        uint32_t lut[256] = {};
        std::copy_n(conv.lut.begin(), std::min<size_t>(conv.lut.size(), 256), lut);
        const unsigned w = (unsigned)dib.w;
        const int bpp = dib.bpp;
        // The run painted last, and whether every pixel of it came from the image.
        int lastY = 0, lastSy = 0, lastLeft = 0, lastRight = 0;
        bool lastWhole = false;
        ForEachStretchedRun(dc, d1.x, d1.y, d2.x, d2.y, sx1, sy1, sx2, sy2, [&](int y, int sy, int bl, int br, const int* cols) {
            if (sy < firstRow || sy >= firstRow + rows) {
                lastWhole = false;
                return;
            }
            uint32_t* out = reinterpret_cast<uint32_t*>(b->Row(y)) + bl;
            const int n = br - bl;
            if (lastWhole && sy == lastSy && y == lastY + 1 && bl == lastLeft && br == lastRight) {
                std::memcpy(out, reinterpret_cast<const uint32_t*>(b->Row(lastY)) + bl, (size_t)n * 4);
                lastY = y;
                return;
            }
            const uint8_t* row = dib.Row(bits, sy);
            bool whole = true;
            if (bpp == 24) {
                for (int i = 0; i < n; ++i) {
                    const unsigned sx = (unsigned)cols[i];
                    if (sx >= w) {
                        whole = false;
                        continue;
                    }
                    const uint8_t* p = row + (size_t)sx * 3;
                    if (sx + 1 < w) {  // a pixel follows in the row: one 4-byte read
                        uint32_t v;
                        std::memcpy(&v, p, 4);
                        out[i] = v & 0xFFFFFF;
                    } else {
                        out[i] = (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16;
                    }
                }
            } else if (bpp == 8) {
                for (int i = 0; i < n; ++i) {
                    const unsigned sx = (unsigned)cols[i];
                    if (sx >= w) {
                        whole = false;
                        continue;
                    }
                    out[i] = lut[row[sx]];
                }
            } else {
                for (int i = 0; i < n; ++i) {
                    const unsigned sx = (unsigned)cols[i];
                    if (sx >= w) {
                        whole = false;
                        continue;
                    }
                    uint32_t v;
                    std::memcpy(&v, row + (size_t)sx * 4, 4);
                    out[i] = v & 0xFFFFFF;
                }
            }
            lastY = y;
            lastSy = sy;
            lastLeft = bl;
            lastRight = br;
            lastWhole = whole;
        });
        return 1;
    }
    ForEachStretched(dc, d1.x, d1.y, d2.x, d2.y, sx1, sy1, sx2, sy2, [&](int x, int y, int sx, int sy) {
        if (sx < 0 || sx >= dib.w || sy < firstRow || sy >= firstRow + rows) return;
        uint32_t s = conv(dib.Raw(dib.Row(bits, sy), sx));
        if (copy)
            SetPixelValue(*b, x, y, s);
        else
            ApplyRop3(*b, x, y, rop, pat, usesPat, s);
    });
    return 1;
}

bool SamePalette(const std::vector<RGBQUAD>& a, const std::vector<RGBQUAD>& b) {
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(RGBQUAD)) == 0);
}

Bitmap* GetBitmap(HBITMAP h) { return Get<Bitmap>(h, OBJ_BITMAP); }

}  // namespace
}  // namespace gdi
}  // namespace win32

using namespace win32::gdi;
using win32::GdiRecord;

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitCount, const void* bits) {
    if (width < 0 || height < 0 || planes != 1) return nullptr;
    if (width == 0 || height == 0) {
        width = height = 1;
        bitCount = 1;
        bits = nullptr;
    }
    Bitmap* b = NewBitmap(width, height, (int)bitCount, false, false);
    if (!b) return nullptr;
    if (bits) std::memcpy(b->bits, bits, b->size);
    return reinterpret_cast<HBITMAP>(b);
}

HBITMAP CreateBitmapIndirect(const BITMAP* bm) {
    if (!bm) return nullptr;
    return CreateBitmap(bm->bmWidth, bm->bmHeight, bm->bmPlanes, bm->bmBitsPixel, bm->bmBits);
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height) {
    DC* dc = DcFrom(hdc);
    if (!dc || width < 0 || height < 0) return nullptr;
    if (width == 0 || height == 0) return CreateBitmap(1, 1, 1, 1, nullptr);
    int bpp = dc->BitsPixel();
    Bitmap* b = NewBitmap(width, height, bpp, false, false);
    if (!b) return nullptr;
    if (bpp > 1 && bpp <= 8) {
        if (Bitmap* cur = dc->Surface()) b->palette = cur->palette;
    }
    return reinterpret_cast<HBITMAP>(b);
}

HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO* bmi, UINT usage, void** bits, HANDLE section, DWORD offset) {
    if (bits) *bits = nullptr;
    if (hdc && !DcFrom(hdc)) return nullptr;
    if (section || offset) return nullptr;
    Dib d;
    if (!ParseDib(bmi, usage, &d)) return nullptr;
    // Only the standard channel layouts are drawable.
    if (d.bpp == 16 && !(d.masks[0] == 0x7C00 && d.masks[1] == 0x03E0 && d.masks[2] == 0x001F)) return nullptr;
    if (d.bpp == 32 && !(d.masks[0] == 0xFF0000 && d.masks[1] == 0xFF00 && d.masks[2] == 0xFF)) return nullptr;
    Bitmap* b = NewBitmap(d.w, d.h, d.bpp, true, d.bottomUp);
    if (!b) return nullptr;
    b->dib = true;
    if (d.bpp <= 8) {
        b->palette = d.palette;
        b->palette.resize((size_t)1 << d.bpp, RGBQUAD{0, 0, 0, 0});
    }
    b->bmih = bmi->bmiHeader;
    b->bmih.biSize = sizeof(BITMAPINFOHEADER);
    b->bmih.biSizeImage = (DWORD)b->size;
    if (bits) *bits = b->bits;
    return reinterpret_cast<HBITMAP>(b);
}

HBITMAP CreateDIBitmap(HDC hdc, const BITMAPINFOHEADER* bmih, DWORD init, const void* bits, const BITMAPINFO* bmi,
                       UINT usage) {
    if (!bmih) return nullptr;
    HBITMAP h = CreateCompatibleBitmap(hdc ? hdc : nullptr, bmih->biWidth, bmih->biHeight < 0 ? -bmih->biHeight : bmih->biHeight);
    if (!hdc) {
        Bitmap* b = NewBitmap(bmih->biWidth, bmih->biHeight < 0 ? -bmih->biHeight : bmih->biHeight, 32, false, false);
        h = reinterpret_cast<HBITMAP>(b);
    }
    if (!h) return nullptr;
    if ((init & CBM_INIT) && bits && bmi) {
        Bitmap* b = GetBitmap(h);
        if (SetDIBits(hdc, h, 0, (UINT)b->height, bits, bmi, usage) == 0) {
            DeleteObject(h);
            return nullptr;
        }
    }
    return h;
}

LONG GetBitmapBits(HBITMAP bmp, LONG cb, LPVOID bits) {
    Bitmap* b = GetBitmap(bmp);
    if (!b || cb < 0) return 0;
    LONG wordStride = (LONG)(((int64_t)b->width * b->bpp + 15) / 16 * 2);
    if (!bits) return wordStride * b->height;
    LONG done = 0;
    for (int y = 0; y < b->height && done < cb; ++y) {
        LONG n = std::min(wordStride, cb - done);
        std::memcpy(static_cast<uint8_t*>(bits) + done, b->Row(y), (size_t)n);
        done += n;
    }
    return done;
}

LONG SetBitmapBits(HBITMAP bmp, DWORD cb, const void* bits) {
    Bitmap* b = GetBitmap(bmp);
    if (!b || !bits) return 0;
    LONG wordStride = (LONG)(((int64_t)b->width * b->bpp + 15) / 16 * 2);
    LONG done = 0;
    for (int y = 0; y < b->height && (DWORD)done < cb; ++y) {
        LONG n = std::min<LONG>(wordStride, (LONG)(cb - (DWORD)done));
        std::memcpy(b->Row(y), static_cast<const uint8_t*>(bits) + done, (size_t)n);
        done += n;
    }
    return done;
}

int GetDIBits(HDC hdc, HBITMAP bmp, UINT start, UINT lines, LPVOID bits, LPBITMAPINFO bmi, UINT usage) {
    Bitmap* b = GetBitmap(bmp);
    if (!b || !bmi || (hdc && !DcFrom(hdc)) || usage != DIB_RGB_COLORS) return 0;
    BITMAPINFOHEADER& h = bmi->bmiHeader;
    if (h.biSize < sizeof(BITMAPINFOHEADER)) return 0;
    if (!bits && h.biBitCount == 0) {
        h.biWidth = b->width;
        h.biHeight = b->height;
        h.biPlanes = 1;
        h.biBitCount = (WORD)b->bpp;
        h.biCompression = BI_RGB;
        h.biSizeImage = (DWORD)(DibRowBytes(b->width, (WORD)b->bpp) * b->height);
        h.biClrUsed = 0;
        return b->height;
    }
    int bpp = h.biBitCount;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return 0;
    if (h.biCompression != BI_RGB) return 0;
    // The colour table: the bitmap's own for its depth, else a grey ramp.
    Bitmap fmt;
    fmt.bpp = bpp;
    if (bpp <= 8) {
        int n = 1 << bpp;
        if (b->bpp == bpp && (int)b->palette.size() == n) {
            fmt.palette = b->palette;
        } else {
            for (int i = 0; i < n; ++i) {
                BYTE g = (BYTE)(i * 255 / (n - 1));
                fmt.palette.push_back({g, g, g, 0});
            }
        }
        std::memcpy(bmi->bmiColors, fmt.palette.data(), sizeof(RGBQUAD) * fmt.palette.size());
        h.biClrUsed = 0;
    }
    h.biSizeImage = (DWORD)(DibRowBytes(b->width, (WORD)bpp) * b->height);
    if (!bits) return b->height;
    if (h.biWidth != b->width) return 0;
    bool bottomUp = h.biHeight > 0;
    int stride = DibRowBytes(b->width, (WORD)bpp);
    int copied = 0;
    for (UINT i = start; i < start + lines && (int)i < b->height; ++i) {
        int srcRow = bottomUp ? b->height - 1 - (int)i : (int)i;
        uint8_t* row = static_cast<uint8_t*>(bits) + (size_t)(i - start) * stride;
        Bitmap view;
        view.width = b->width;
        view.height = 1;
        view.bpp = bpp;
        view.stride = stride;
        view.bits = row;
        view.palette = fmt.palette;
        for (int x = 0; x < b->width; ++x) {
            uint32_t v = GetPixelValue(*b, x, srcRow);
            uint32_t out = (b->bpp == bpp && bpp <= 8 && SamePalette(fmt.palette, b->palette)) ? v : ColorToPixel(view, PixelToColor(*b, v));
            SetPixelValue(view, x, 0, out);
        }
        view.bits = nullptr;
        ++copied;
    }
    return copied;
}

int SetDIBits(HDC hdc, HBITMAP bmp, UINT start, UINT lines, const void* bits, const BITMAPINFO* bmi, UINT usage) {
    Bitmap* b = GetBitmap(bmp);
    Dib d;
    if (!b || !bits || (hdc && !DcFrom(hdc)) || !ParseDib(bmi, usage, &d)) return 0;
    if (d.w != b->width) return 0;
    DibToBitmap conv(d, *b);
    int copied = 0;
    for (UINT i = start; i < start + lines && (int)i < d.h && (int)i < b->height; ++i) {
        // Line i of the DIB, counted from its first stored row; rows of `bits` start at `start`.
        const uint8_t* row = static_cast<const uint8_t*>(bits) + (size_t)(i - start) * d.stride;
        int dstRow = d.bottomUp ? b->height - 1 - (int)i : (int)i;
        for (int x = 0; x < d.w; ++x) SetPixelValue(*b, x, dstRow, conv(d.Raw(row, x)));
        ++copied;
    }
    return copied;
}

BOOL PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop) {
    DC* dc = DcFrom(hdc);
    if (!dc || Rop3UsesSource(rop)) return FALSE;
    POINT p1 = ToDevice(*dc, x, y), p2 = ToDevice(*dc, SatAdd(x, w), SatAdd(y, h));
    if (GdiRecord* r = Record(*dc, "PatBlt", {p1, p2})) r->flags = rop;
    Bitmap* b = dc->Surface();
    if (!b) return TRUE;
    Paint pat = BrushPaint(*dc, CurrentBrush(*dc));
    bool usesPat = Rop3UsesPattern(rop);
    if (usesPat && pat.kind == Paint::None) return TRUE;
    Mask m = MakeMask(*dc, std::min(p1.x, p2.x), std::min(p1.y, p2.y), std::max(p1.x, p2.x), std::max(p1.y, p2.y));
    if (m.Empty()) return TRUE;
    auto body = [&](int l, int t, int r, int bt) {
        for (int yy = t; yy < bt; ++yy)
            for (int xx = l; xx < r; ++xx) ApplyRop3(*b, xx, yy, rop, pat, usesPat, 0);
    };
    if (dc->st.hasClip)
        dc->st.clip.ForEachRectIn(m.x0, m.y0, m.x0 + m.w, m.y0 + m.h, body);
    else
        body(m.x0, m.y0, m.x0 + m.w, m.y0 + m.h);
    return TRUE;
}

BOOL StretchBlt(HDC hdst, int x, int y, int w, int h, HDC hsrc, int xs, int ys, int ws, int hs, DWORD rop) {
    DC* dst = DcFrom(hdst);
    if (!dst) return FALSE;
    if (!Rop3UsesSource(rop)) return PatBlt(hdst, x, y, w, h, rop);
    DC* src = DcFrom(hsrc);
    if (!src) return FALSE;
    POINT d1 = ToDevice(*dst, x, y), d2 = ToDevice(*dst, SatAdd(x, w), SatAdd(y, h));
    POINT s1 = ToDevice(*src, xs, ys), s2 = ToDevice(*src, SatAdd(xs, ws), SatAdd(ys, hs));
    if (GdiRecord* r = Record(*dst, (w == ws && h == hs) ? "BitBlt" : "StretchBlt", {d1, d2, s1, s2})) r->flags = rop;
    Bitmap* db = dst->Surface();
    Bitmap* sb = src->Surface();
    if (!db || !sb) return TRUE;
    // A copy of the source when it is also the destination, so overlapping blits read unchanged pixels.
    Bitmap* from = sb;
    Bitmap snapshot;
    if (sb == db) {
        snapshot.width = sb->width;
        snapshot.height = sb->height;
        snapshot.bpp = sb->bpp;
        snapshot.stride = sb->stride;
        snapshot.bottomUp = sb->bottomUp;
        snapshot.palette = sb->palette;
        snapshot.bits = static_cast<uint8_t*>(std::malloc(sb->size));
        if (!snapshot.bits) return FALSE;
        std::memcpy(snapshot.bits, sb->bits, sb->size);
        snapshot.size = sb->size;
        from = &snapshot;
    }
    BitmapToBitmap conv{*from, *db, ColorToPixel(*db, dst->st.textColor), ColorToPixel(*db, dst->st.bkColor),
                        src->st.bkColor, from->bpp == db->bpp && (from->bpp > 8 || SamePalette(from->palette, db->palette))};
    Paint pat = BrushPaint(*dst, CurrentBrush(*dst));
    bool usesPat = Rop3UsesPattern(rop);
    bool copy = rop == SRCCOPY;
    ForEachStretched(*dst, d1.x, d1.y, d2.x, d2.y, s1.x, s1.y, s2.x, s2.y, [&](int px, int py, int sx, int sy) {
        if (sx < 0 || sy < 0 || sx >= from->width || sy >= from->height) return;
        uint32_t s = conv(GetPixelValue(*from, sx, sy));
        if (copy)
            SetPixelValue(*db, px, py, s);
        else
            ApplyRop3(*db, px, py, rop, pat, usesPat, s);
    });
    return TRUE;
}

BOOL BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int xs, int ys, DWORD rop) {
    return StretchBlt(dst, x, y, w, h, src, xs, ys, w, h, rop);
}

int StretchDIBits(HDC hdc, int xD, int yD, int wD, int hD, int xS, int yS, int wS, int hS, const void* bits,
                  const BITMAPINFO* bmi, UINT usage, DWORD rop) {
    DC* dc = DcFrom(hdc);
    Dib d;
    if (!dc || !bits || !ParseDib(bmi, usage, &d)) return (int)GDI_ERROR;
    POINT d1 = ToDevice(*dc, xD, yD), d2 = ToDevice(*dc, SatAdd(xD, wD), SatAdd(yD, hD));
    if (GdiRecord* r = Record(*dc, "StretchDIBits", {d1, d2, POINT{xS, yS}, POINT{SatAdd(xS, wS), SatAdd(yS, hS)}})) r->flags = rop;
    if (wS == 0 || hS == 0) return 0;
    // Source rows as indices from the top: a bottom-up DIB counts ySrc from its bottom row.
    // The destination's top edge meets the source's top edge (negative sizes mirror).
    double top = d.bottomUp ? d.h - (double)yS - hS : (double)yS;
    double bottom = d.bottomUp ? d.h - (double)yS : (double)yS + hS;
    StretchFromDib(*dc, d1, d2, xS, top, (double)xS + wS, bottom, d, bits, 0, d.h, rop);
    return hS < 0 ? -hS : hS;
}

int SetDIBitsToDevice(HDC hdc, int xD, int yD, DWORD w, DWORD h, int xS, int yS, UINT startScan, UINT scanLines,
                      const void* bits, const BITMAPINFO* bmi, UINT usage) {
    DC* dc = DcFrom(hdc);
    Dib d;
    if (!dc || !bits || !ParseDib(bmi, usage, &d) || w > 0x7FFFFFFF || h > 0x7FFFFFFF) return 0;
    POINT p = ToDevice(*dc, xD, yD);
    POINT d1 = p, d2{SatAdd(p.x, w), SatAdd(p.y, h)};
    Record(*dc, "SetDIBitsToDevice", {d1, d2, POINT{xS, yS}});
    // `bits` holds scan lines startScan .. startScan + scanLines - 1, numbered from the DIB's first row in
    // memory (the bottom row of a bottom-up DIB). As top-down indices of the whole image:
    int first = d.bottomUp ? d.h - (int)startScan - (int)scanLines : (int)startScan;
    Dib part = d;
    part.h = (int)scanLines;
    const void* base = bits;
    // Rows of `part` are top-down indices relative to `first`.
    double top = d.bottomUp ? d.h - (double)yS - h : (double)yS;
    Bitmap* b = dc->Surface();
    if (!b) return (int)scanLines;
    DibToBitmap conv(d, *b);
    ForEachStretched(*dc, d1.x, d1.y, d2.x, d2.y, xS, top, (double)xS + w, top + h, [&](int x, int y, int sx, int sy) {
        if (sx < 0 || sx >= d.w || sy < first || sy >= first + (int)scanLines || sy < 0 || sy >= d.h) return;
        SetPixelValue(*b, x, y, conv(part.Raw(part.Row(base, sy - first), sx)));
    });
    return (int)scanLines;
}

BOOL GdiFlush() { return TRUE; }
