// GDI object handles: the registry of live objects, pens, brushes, fonts, stock objects, GetObject and
// DeleteObject.
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <cstdint>
#include <vector>

#include "gdi_internal.h"

namespace win32 {
namespace gdi {
namespace {

// The handles of live objects. Painting a layer makes, selects and deletes a pen for every object it
// draws, each step asking here first: an open-addressed table (linear probing, removal by shifting
// back) answers without allocating a node per object or dividing by a prime on every look-up.
class LiveSet {
public:
    void Insert(const void* p) {
        if ((m_count + 1) * 2 > m_slots.size()) Grow();
        Place(p);
    }
    bool Contains(const void* p) const { return p && Find(p) != kNone; }
    void Erase(const void* p) {
        size_t i = p ? Find(p) : kNone;
        if (i == kNone) return;
        m_slots[i] = nullptr;
        --m_count;
        // Later entries of the same run move back into the gap unless their home lies after it.
        const size_t mask = m_slots.size() - 1;
        for (size_t j = (i + 1) & mask; m_slots[j]; j = (j + 1) & mask) {
            const size_t home = Hash(m_slots[j]) & mask;
            const bool stays = i <= j ? (i < home && home <= j) : (i < home || home <= j);
            if (stays) continue;
            m_slots[i] = m_slots[j];
            m_slots[j] = nullptr;
            i = j;
        }
    }

private:
    static constexpr size_t kNone = static_cast<size_t>(-1);
    static size_t Hash(const void* p) {
        uint64_t x = reinterpret_cast<uintptr_t>(p);
        x ^= x >> 33;
        x *= 0xff51afd7ed558ccdULL;
        x ^= x >> 33;
        return static_cast<size_t>(x);
    }
    size_t Find(const void* p) const {
        if (m_slots.empty()) return kNone;
        const size_t mask = m_slots.size() - 1;
        for (size_t i = Hash(p) & mask;; i = (i + 1) & mask) {
            if (m_slots[i] == p) return i;
            if (!m_slots[i]) return kNone;
        }
    }
    void Place(const void* p) {
        const size_t mask = m_slots.size() - 1;
        for (size_t i = Hash(p) & mask;; i = (i + 1) & mask) {
            if (m_slots[i] == p) return;
            if (!m_slots[i]) {
                m_slots[i] = p;
                ++m_count;
                return;
            }
        }
    }
    void Grow() {
        std::vector<const void*> old;
        old.swap(m_slots);
        m_slots.assign(std::max<size_t>(64, old.size() * 2), nullptr);
        m_count = 0;
        for (const void* p : old)
            if (p) Place(p);
    }

    std::vector<const void*> m_slots;  // a power of two long, at most half full
    size_t m_count = 0;
};

// Never destroyed, so that objects freed during static destruction still find it.
LiveSet& Live() {
    static auto* live = new LiveSet();
    return *live;
}

}  // namespace

Object::Object(DWORD t) : type(t) { Live().Insert(this); }
Object::~Object() { Live().Erase(this); }
bool IsLive(const void* h) { return Live().Contains(h); }

void ObjRef::Reset() {
    if (o_) {
        Object* o = o_;
        o_ = nullptr;
        if (--o->dcRefs == 0 && o->deletePending) delete o;
    }
}

Bitmap::~Bitmap() { std::free(bits); }

Bitmap* NewBitmap(int w, int h, int bpp, bool dibRows, bool bottomUp) {
    if (w <= 0 || h <= 0) return nullptr;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return nullptr;
    int64_t stride = dibRows ? ((int64_t)w * bpp + 31) / 32 * 4 : ((int64_t)w * bpp + 15) / 16 * 2;
    int64_t size = stride * h;
    // 1 GiB of pixels is beyond anything this system draws; refuse rather than exhaust memory.
    if (stride > INT32_MAX || size > (int64_t(1) << 30)) return nullptr;
    void* bits = std::calloc((size_t)size, 1);
    if (!bits) return nullptr;
    Bitmap* b = new Bitmap();
    b->width = w;
    b->height = h;
    b->bpp = bpp;
    b->stride = (int)stride;
    b->bottomUp = bottomUp;
    b->bits = static_cast<uint8_t*>(bits);
    b->size = (size_t)size;
    if (bpp == 1) {
        b->palette = {{0, 0, 0, 0}, {255, 255, 255, 0}};
    } else if (bpp <= 8) {
        int n = 1 << bpp;
        for (int i = 0; i < n; ++i) {
            BYTE g = (BYTE)(i * 255 / (n - 1));
            b->palette.push_back({g, g, g, 0});
        }
    }
    b->bmih.biSize = sizeof(BITMAPINFOHEADER);
    b->bmih.biWidth = w;
    b->bmih.biHeight = bottomUp ? h : -h;
    b->bmih.biPlanes = 1;
    b->bmih.biBitCount = (WORD)bpp;
    b->bmih.biCompression = BI_RGB;
    b->bmih.biSizeImage = (DWORD)size;
    return b;
}

namespace {

Object* MakeStock(int index) {
    auto brush = [](COLORREF c, UINT style) {
        Brush* b = new Brush();
        b->style = style;
        b->color = c;
        return b;
    };
    auto pen = [](COLORREF c, DWORD style) {
        Pen* p = new Pen();
        p->style = style;
        p->color = c;
        return p;
    };
    auto font = [](const char* face) {
        Font* f = new Font();
        f->lf.lfHeight = -12;
        f->lf.lfWeight = FW_NORMAL;
        f->lf.lfCharSet = GB2312_CHARSET;
        f->lf.lfQuality = DEFAULT_QUALITY;
        std::strncpy(f->lf.lfFaceName, face, LF_FACESIZE - 1);
        return f;
    };
    Object* o = nullptr;
    switch (index) {
        case WHITE_BRUSH: o = brush(0xFFFFFF, BS_SOLID); break;
        case LTGRAY_BRUSH: o = brush(0xC0C0C0, BS_SOLID); break;
        case GRAY_BRUSH: o = brush(0x808080, BS_SOLID); break;
        case DKGRAY_BRUSH: o = brush(0x404040, BS_SOLID); break;
        case BLACK_BRUSH: o = brush(0x000000, BS_SOLID); break;
        case NULL_BRUSH: o = brush(0, BS_NULL); break;
        case WHITE_PEN: o = pen(0xFFFFFF, PS_SOLID); break;
        case BLACK_PEN: o = pen(0x000000, PS_SOLID); break;
        case NULL_PEN: o = pen(0, PS_NULL); break;
        case OEM_FIXED_FONT:
        case ANSI_FIXED_FONT:
        case SYSTEM_FIXED_FONT: o = font("新宋体"); break;
        case ANSI_VAR_FONT:
        case SYSTEM_FONT:
        case DEVICE_DEFAULT_FONT:
        case DEFAULT_GUI_FONT: o = font("宋体"); break;
        case DC_BRUSH: {
            Brush* b = brush(0xFFFFFF, BS_SOLID);
            b->dcBrush = true;
            o = b;
            break;
        }
        case DC_PEN: {
            Pen* p = pen(0, PS_SOLID);
            p->dcPen = true;
            o = p;
            break;
        }
        default: return nullptr;
    }
    o->stock = true;
    return o;
}

}  // namespace

Bitmap* StockMonoBitmap() {
    static Bitmap* b = [] {
        Bitmap* bm = NewBitmap(1, 1, 1, false, false);
        bm->stock = true;
        return bm;
    }();
    return b;
}

}  // namespace gdi
}  // namespace win32

using namespace win32::gdi;
using win32::GdiRecord;

HGDIOBJ GetStockObject(int index) {
    static Object* stock[DC_PEN + 1] = {};
    if (index < 0 || index > DC_PEN || index == 9 || index == DEFAULT_PALETTE) return nullptr;
    if (!stock[index]) stock[index] = MakeStock(index);
    return reinterpret_cast<HGDIOBJ>(stock[index]);
}

DWORD GetObjectType(HGDIOBJ h) {
    if (!h || !IsLive(h)) return 0;
    return reinterpret_cast<Object*>(h)->type;
}

BOOL DeleteObject(HGDIOBJ h) {
    if (!h || !IsLive(h)) return FALSE;
    Object* o = reinterpret_cast<Object*>(h);
    if (o->stock) return TRUE;
    switch (o->type) {
        case OBJ_DC:
        case OBJ_MEMDC: return FALSE;
        case OBJ_BITMAP:
            if (o->dcRefs > 0) return FALSE;
            delete o;
            return TRUE;
        default:
            if (o->dcRefs > 0) {
                o->deletePending = true;
                return TRUE;
            }
            delete o;
            return TRUE;
    }
}

int GetObjectA(HGDIOBJ h, int cb, LPVOID buf) {
    if (!h || !IsLive(h) || cb < 0) return 0;
    Object* o = reinterpret_cast<Object*>(h);
    auto copy = [&](const void* src, int n) -> int {
        if (!buf) return n;
        int k = cb < n ? cb : n;
        std::memcpy(buf, src, (size_t)k);
        return k;
    };
    switch (o->type) {
        case OBJ_PEN: {
            Pen* p = static_cast<Pen*>(o);
            LOGPEN lp{p->style, {p->width, 0}, p->color};
            return copy(&lp, sizeof lp);
        }
        case OBJ_EXTPEN: {
            Pen* p = static_cast<Pen*>(o);
            size_t n = offsetof(EXTLOGPEN, elpStyleEntry) + sizeof(DWORD) * (p->user.empty() ? 1 : p->user.size());
            std::vector<uint8_t> bytes(n, 0);
            EXTLOGPEN* e = reinterpret_cast<EXTLOGPEN*>(bytes.data());
            e->elpPenStyle = p->style;
            e->elpWidth = (DWORD)p->width;
            e->elpBrushStyle = p->brushStyle;
            e->elpColor = p->color;
            e->elpHatch = p->hatch;
            e->elpNumEntries = (DWORD)p->user.size();
            if (!p->user.empty()) std::memcpy(e->elpStyleEntry, p->user.data(), sizeof(DWORD) * p->user.size());
            return copy(bytes.data(), (int)n);
        }
        case OBJ_BRUSH: {
            Brush* b = static_cast<Brush*>(o);
            LOGBRUSH lb{b->style, b->color, (ULONG_PTR)(b->style == BS_HATCHED ? b->hatch : 0)};
            return copy(&lb, sizeof lb);
        }
        case OBJ_FONT: return copy(&static_cast<Font*>(o)->lf, sizeof(LOGFONTA));
        case OBJ_BITMAP: {
            Bitmap* b = static_cast<Bitmap*>(o);
            DIBSECTION ds{};
            ds.dsBm.bmType = 0;
            ds.dsBm.bmWidth = b->width;
            ds.dsBm.bmHeight = b->height;
            ds.dsBm.bmWidthBytes = b->stride;
            ds.dsBm.bmPlanes = 1;
            ds.dsBm.bmBitsPixel = (WORD)b->bpp;
            ds.dsBm.bmBits = b->dib ? b->bits : nullptr;
            if (b->dib && (cb >= (int)sizeof(DIBSECTION) || !buf)) {
                ds.dsBmih = b->bmih;
                if (b->bpp == 16) { ds.dsBitfields[0] = 0x7C00; ds.dsBitfields[1] = 0x03E0; ds.dsBitfields[2] = 0x001F; }
                if (b->bpp == 32) { ds.dsBitfields[0] = 0xFF0000; ds.dsBitfields[1] = 0xFF00; ds.dsBitfields[2] = 0xFF; }
                return copy(&ds, sizeof ds);
            }
            return copy(&ds.dsBm, sizeof(BITMAP));
        }
        default: return 0;
    }
}

HPEN CreatePen(int style, int width, COLORREF color) {
    int s = style & PS_STYLE_MASK;
    if (s > PS_ALTERNATE || s == PS_USERSTYLE || s == PS_ALTERNATE) s = PS_SOLID;
    Pen* p = new Pen();
    p->style = (DWORD)s;
    p->width = width < 0 ? 0 : width;
    p->color = color & 0x00FFFFFF;
    return reinterpret_cast<HPEN>(p);
}

HPEN CreatePenIndirect(const LOGPEN* lp) {
    if (!lp) return nullptr;
    return CreatePen((int)lp->lopnStyle, lp->lopnWidth.x, lp->lopnColor);
}

HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD styleCount, const DWORD* styles) {
    if (!brush) return nullptr;
    DWORD type = style & PS_TYPE_MASK, s = style & PS_STYLE_MASK;
    if (type != PS_COSMETIC && type != PS_GEOMETRIC) return nullptr;
    if (s > PS_ALTERNATE) return nullptr;
    if (type == PS_COSMETIC) {
        if (width != 1 || brush->lbStyle != BS_SOLID) return nullptr;
        if ((style & (PS_ENDCAP_MASK | PS_JOIN_MASK)) != 0) return nullptr;
        if (s == PS_INSIDEFRAME) return nullptr;
    } else if (s == PS_ALTERNATE) {
        return nullptr;
    }
    if (s == PS_USERSTYLE) {
        if (styleCount == 0 || styleCount > 16 || !styles) return nullptr;
        DWORD total = 0;
        for (DWORD i = 0; i < styleCount; ++i) total += styles[i];
        if (total == 0) return nullptr;
    } else if (styleCount != 0 || styles) {
        return nullptr;
    }
    if ((style & PS_ENDCAP_MASK) > PS_ENDCAP_FLAT || (style & PS_JOIN_MASK) > PS_JOIN_MITER) return nullptr;
    if (width > 0x7FFFFFFF) return nullptr;
    Pen* p = new Pen();
    p->style = style;
    p->width = (int)width;
    p->color = brush->lbColor & 0x00FFFFFF;
    p->ext = true;
    p->type = OBJ_EXTPEN;
    p->brushStyle = brush->lbStyle;
    p->hatch = brush->lbHatch;
    if (s == PS_USERSTYLE) p->user.assign(styles, styles + styleCount);
    if (brush->lbStyle == BS_NULL) p->style = (style & ~PS_STYLE_MASK) | PS_NULL;
    return reinterpret_cast<HPEN>(p);
}

HBRUSH CreateSolidBrush(COLORREF color) {
    Brush* b = new Brush();
    b->style = BS_SOLID;
    b->color = color & 0x00FFFFFF;
    return reinterpret_cast<HBRUSH>(b);
}

HBRUSH CreateHatchBrush(int hatch, COLORREF color) {
    if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS) return nullptr;
    Brush* b = new Brush();
    b->style = BS_HATCHED;
    b->hatch = hatch;
    b->color = color & 0x00FFFFFF;
    return reinterpret_cast<HBRUSH>(b);
}

HBRUSH CreatePatternBrush(HBITMAP hbm) {
    Bitmap* bm = Get<Bitmap>(hbm, OBJ_BITMAP);
    if (!bm) return nullptr;
    auto pat = std::make_shared<Pattern>();
    pat->w = bm->width;
    pat->h = bm->height;
    pat->mono = bm->bpp == 1;
    for (int y = 0; y < bm->height; ++y) {
        for (int x = 0; x < bm->width; ++x) {
            uint32_t v = GetPixelValue(*bm, x, y);
            if (pat->mono)
                pat->bits.push_back((uint8_t)(v & 1));
            else
                pat->colors.push_back(PixelToColor(*bm, v));
        }
    }
    Brush* b = new Brush();
    b->style = BS_PATTERN;
    b->pattern = pat;
    return reinterpret_cast<HBRUSH>(b);
}

HBRUSH CreateDIBPatternBrushPt(const void* packedDib, UINT usage) {
    if (!packedDib || usage != DIB_RGB_COLORS) return nullptr;
    const BITMAPINFO* bmi = static_cast<const BITMAPINFO*>(packedDib);
    const BITMAPINFOHEADER& h = bmi->bmiHeader;
    if (h.biSize < sizeof(BITMAPINFOHEADER)) return nullptr;
    int colors = h.biBitCount <= 8 ? (h.biClrUsed ? (int)h.biClrUsed : 1 << h.biBitCount) : 0;
    if (h.biBitCount <= 8 && colors > (1 << h.biBitCount)) return nullptr;
    int masks = (h.biCompression == BI_BITFIELDS) ? 3 : 0;
    const uint8_t* bits = reinterpret_cast<const uint8_t*>(packedDib) + h.biSize + 4 * (colors + masks);
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP hbm = CreateDIBSection(dc, bmi, DIB_RGB_COLORS, nullptr, nullptr, 0);
    HBRUSH br = nullptr;
    if (hbm) {
        Bitmap* bm = Get<Bitmap>(hbm, OBJ_BITMAP);
        std::memcpy(bm->bits, bits, bm->size);
        br = CreatePatternBrush(hbm);
        Brush* b = Get<Brush>(br, OBJ_BRUSH);
        if (b) {
            b->style = BS_DIBPATTERNPT;
            // A 1-bit DIB carries its own colours, unlike a monochrome bitmap.
            if (b->pattern->mono) {
                b->pattern->mono = false;
                for (uint8_t v : b->pattern->bits) {
                    const RGBQUAD& q = bm->palette[v & 1];
                    b->pattern->colors.push_back(RGB(q.rgbRed, q.rgbGreen, q.rgbBlue));
                }
                b->pattern->bits.clear();
            }
        }
        DeleteObject(hbm);
    }
    DeleteDC(dc);
    return br;
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* lb) {
    if (!lb) return nullptr;
    switch (lb->lbStyle) {
        case BS_SOLID: return CreateSolidBrush(lb->lbColor);
        case BS_NULL: {
            Brush* b = new Brush();
            b->style = BS_NULL;
            return reinterpret_cast<HBRUSH>(b);
        }
        case BS_HATCHED: return CreateHatchBrush((int)lb->lbHatch, lb->lbColor);
        case BS_PATTERN:
        case BS_PATTERN8X8: return CreatePatternBrush(reinterpret_cast<HBITMAP>(lb->lbHatch));
        case BS_DIBPATTERNPT:
        case BS_DIBPATTERN8X8: return CreateDIBPatternBrushPt(reinterpret_cast<const void*>(lb->lbHatch), lb->lbColor);
        default: return nullptr;
    }
}

HFONT CreateFontIndirectA(const LOGFONTA* lf) {
    if (!lf) return nullptr;
    Font* f = new Font();
    f->lf = *lf;
    f->lf.lfFaceName[LF_FACESIZE - 1] = 0;
    return reinterpret_cast<HFONT>(f);
}

HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                  DWORD quality, DWORD pitchAndFamily, LPCSTR face) {
    LOGFONTA lf{};
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfEscapement = escapement;
    lf.lfOrientation = orientation;
    lf.lfWeight = weight;
    lf.lfItalic = (BYTE)italic;
    lf.lfUnderline = (BYTE)underline;
    lf.lfStrikeOut = (BYTE)strikeOut;
    lf.lfCharSet = (BYTE)charSet;
    lf.lfOutPrecision = (BYTE)outPrecision;
    lf.lfClipPrecision = (BYTE)clipPrecision;
    lf.lfQuality = (BYTE)quality;
    lf.lfPitchAndFamily = (BYTE)pitchAndFamily;
    if (face) std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return CreateFontIndirectA(&lf);
}
