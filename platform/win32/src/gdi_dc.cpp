// Device contexts: creation, selected objects, attributes, saved states and the mapping from logical to
// device coordinates.
#include <cmath>

#include "gdi_internal.h"

namespace win32 {
namespace gdi {

DC::~DC() {
    if (Bitmap* b = static_cast<Bitmap*>(st.bitmap.get())) {
        if (b->selectedIn == this) b->selectedIn = nullptr;
    }
    st = DcState();
    saved.clear();
    delete ownedBitmap;
}

Bitmap* DC::Surface() const {
    switch (kind) {
        case DcKind::Memory: return static_cast<Bitmap*>(st.bitmap.get());
        case DcKind::Window: return WindowCanvas(hwnd);
        default: return nullptr;
    }
}

void DC::DeviceSize(int* w, int* h) const {
    if (Bitmap* b = Surface()) {
        *w = b->width;
        *h = b->height;
    } else {
        *w = infoWidth;
        *h = infoHeight;
    }
}

int DC::BitsPixel() const {
    if (kind == DcKind::Memory) {
        if (Bitmap* b = Surface()) return b->bpp;
    }
    return 32;
}

DC* DcFrom(HDC h) { return Get<DC>(h, OBJ_DC); }

Pen* CurrentPen(const DC& dc) { return static_cast<Pen*>(dc.st.pen.get()); }
Brush* CurrentBrush(const DC& dc) { return static_cast<Brush*>(dc.st.brush.get()); }
Font* CurrentFont(const DC& dc) { return static_cast<Font*>(dc.st.font.get()); }

DC* NewDC(DcKind kind) {
    DC* dc = new DC();
    dc->kind = kind;
    if (kind == DcKind::Memory) dc->type = OBJ_MEMDC;
    dc->st.pen = ObjRef(reinterpret_cast<Object*>(GetStockObject(BLACK_PEN)));
    dc->st.brush = ObjRef(reinterpret_cast<Object*>(GetStockObject(WHITE_BRUSH)));
    dc->st.font = ObjRef(reinterpret_cast<Object*>(GetStockObject(SYSTEM_FONT)));
    if (kind == DcKind::Memory) {
        Bitmap* mono = StockMonoBitmap();
        dc->st.bitmap = ObjRef(mono);
    }
    return dc;
}

int LRound(double v) {
    if (!(v == v)) return 0;
    if (v > 2147483647.0) return INT32_MAX;
    if (v < -2147483648.0) return INT32_MIN;
    return (int)std::lround(v);
}

Xform GetXform(const DC& dc) {
    const DcState& s = dc.st;
    Xform x;
    x.sx = (double)s.vpExt.cx / s.winExt.cx;
    x.sy = (double)s.vpExt.cy / s.winExt.cy;
    x.tx = s.vpOrg.x - s.winOrg.x * x.sx;
    x.ty = s.vpOrg.y - s.winOrg.y * x.sy;
    return x;
}

POINT ToDevice(const DC& dc, int x, int y) {
    const DcState& s = dc.st;
    if (s.mapMode == MM_TEXT)
        return POINT{SatAdd((int64_t)x - s.winOrg.x, s.vpOrg.x), SatAdd((int64_t)y - s.winOrg.y, s.vpOrg.y)};
    Xform t = GetXform(dc);
    return POINT{LRound(((double)x - s.winOrg.x) * t.sx + s.vpOrg.x), LRound(((double)y - s.winOrg.y) * t.sy + s.vpOrg.y)};
}

POINT ToDevice(const DC& dc, POINT p) { return ToDevice(dc, p.x, p.y); }

POINT ToLogical(const DC& dc, double x, double y) {
    const DcState& s = dc.st;
    Xform t = GetXform(dc);
    return POINT{LRound((x - s.vpOrg.x) / t.sx + s.winOrg.x), LRound((y - s.vpOrg.y) / t.sy + s.winOrg.y)};
}

RECT ToDeviceRect(const DC& dc, int l, int t, int r, int b) {
    POINT a = ToDevice(dc, l, t), c = ToDevice(dc, r, b);
    RECT rc{a.x < c.x ? a.x : c.x, a.y < c.y ? a.y : c.y, a.x < c.x ? c.x : a.x, a.y < c.y ? c.y : a.y};
    return rc;
}

namespace {

// The fixed extents of the metric and English modes for a device of `dpi` pixels per inch.
void FixedExtents(int mode, int dpi, SIZE* win, SIZE* vp) {
    int units = 1;
    switch (mode) {
        case MM_LOMETRIC: units = 254; break;
        case MM_HIMETRIC: units = 2540; break;
        case MM_LOENGLISH: units = 100; break;
        case MM_HIENGLISH: units = 1000; break;
        case MM_TWIPS: units = 1440; break;
        default: *win = {1, 1}; *vp = {1, 1}; return;
    }
    *win = {units, units};
    *vp = {dpi, -dpi};
}

void FixIsotropic(DcState& s) {
    if (s.mapMode != MM_ISOTROPIC) return;
    double xr = std::fabs((double)s.vpExt.cx / s.winExt.cx), yr = std::fabs((double)s.vpExt.cy / s.winExt.cy);
    if (xr == yr) return;
    if (xr > yr) {
        int v = LRound(std::fabs((double)s.winExt.cx) * yr);
        s.vpExt.cx = (s.vpExt.cx < 0 ? -1 : 1) * (v ? v : 1);
    } else {
        int v = LRound(std::fabs((double)s.winExt.cy) * xr);
        s.vpExt.cy = (s.vpExt.cy < 0 ? -1 : 1) * (v ? v : 1);
    }
}

}  // namespace
}  // namespace gdi
}  // namespace win32

using namespace win32::gdi;
using win32::GdiRecord;

HDC CreateCompatibleDC(HDC hdc) {
    DC* ref = hdc ? DcFrom(hdc) : nullptr;
    if (hdc && !ref) return nullptr;
    DC* dc = NewDC(DcKind::Memory);
    if (ref) {
        dc->printer = ref->printer;
        dc->dpi = ref->dpi;
    }
    return reinterpret_cast<HDC>(dc);
}

BOOL DeleteDC(HDC hdc) {
    DC* dc = DcFrom(hdc);
    if (!dc) return FALSE;
    delete dc;
    return TRUE;
}

int GetDeviceCaps(HDC hdc, int index) {
    DC* dc = DcFrom(hdc);
    if (!dc) return 0;
    int w, h;
    dc->DeviceSize(&w, &h);
    int bpp = dc->BitsPixel();
    switch (index) {
        case DRIVERVERSION: return 0x4000;
        case TECHNOLOGY: return dc->printer ? DT_RASPRINTER : DT_RASDISPLAY;
        case HORZSIZE: return LRound(w * 25.4 / dc->dpi);
        case VERTSIZE: return LRound(h * 25.4 / dc->dpi);
        case HORZRES:
        case PHYSICALWIDTH: return w;
        case VERTRES:
        case PHYSICALHEIGHT: return h;
        case BITSPIXEL: return bpp;
        case PLANES: return 1;
        case NUMBRUSHES:
        case NUMPENS:
        case NUMCOLORS: return bpp <= 8 ? 1 << bpp : -1;
        case NUMFONTS: return 0;
        case CURVECAPS: return 0x1FF;
        case LINECAPS: return 0xFE;
        case POLYGONALCAPS: return 0xFF;
        case TEXTCAPS: return 0x7FFF;
        case CLIPCAPS: return 1;
        case RASTERCAPS: return RC_BITBLT | RC_BITMAP64 | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT | RC_STRETCHDIB;
        case ASPECTX:
        case ASPECTY: return 36;
        case ASPECTXY: return 51;
        case LOGPIXELSX:
        case LOGPIXELSY: return dc->dpi;
        case SIZEPALETTE: return 0;
        case NUMRESERVED: return 20;
        case COLORRES: return 24;
        case PHYSICALOFFSETX:
        case PHYSICALOFFSETY: return 0;
        case SCALINGFACTORX:
        case SCALINGFACTORY: return 0;
        default: return 0;
    }
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h) {
    DC* dc = DcFrom(hdc);
    if (!dc || !h || !IsLive(h)) return nullptr;
    Object* o = reinterpret_cast<Object*>(h);
    auto swap = [](ObjRef& slot, Object* o) {
        HGDIOBJ old = reinterpret_cast<HGDIOBJ>(slot.get());
        slot = ObjRef(o);
        return old;
    };
    switch (o->type) {
        case OBJ_PEN:
        case OBJ_EXTPEN: return swap(dc->st.pen, o);
        case OBJ_BRUSH: return swap(dc->st.brush, o);
        case OBJ_FONT: return swap(dc->st.font, o);
        case OBJ_BITMAP: {
            if (dc->kind != DcKind::Memory) return nullptr;
            Bitmap* b = static_cast<Bitmap*>(o);
            if ((b->selectedIn && b->selectedIn != dc) || b->windowCanvas) return nullptr;
            // A bitmap goes into one memory DC at a time; window canvases stay with their windows.
            Bitmap* old = static_cast<Bitmap*>(dc->st.bitmap.get());
            if (old && old->selectedIn == dc) old->selectedIn = nullptr;
            b->selectedIn = dc;
            return swap(dc->st.bitmap, o);
        }
        case OBJ_REGION: return reinterpret_cast<HGDIOBJ>((intptr_t)SelectClipRgn(hdc, reinterpret_cast<HRGN>(h)));
        default: return nullptr;
    }
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type) {
    DC* dc = DcFrom(hdc);
    if (!dc) return nullptr;
    switch (type) {
        case OBJ_PEN:
        case OBJ_EXTPEN: return reinterpret_cast<HGDIOBJ>(dc->st.pen.get());
        case OBJ_BRUSH: return reinterpret_cast<HGDIOBJ>(dc->st.brush.get());
        case OBJ_FONT: return reinterpret_cast<HGDIOBJ>(dc->st.font.get());
        case OBJ_BITMAP: return reinterpret_cast<HGDIOBJ>(dc->st.bitmap.get());
        default: return nullptr;
    }
}

int SaveDC(HDC hdc) {
    DC* dc = DcFrom(hdc);
    if (!dc) return 0;
    dc->saved.push_back(dc->st);
    return (int)dc->saved.size();
}

BOOL RestoreDC(HDC hdc, int level) {
    DC* dc = DcFrom(hdc);
    if (!dc) return FALSE;
    int n = (int)dc->saved.size();
    if (level < 0) level = n + 1 + level;
    if (level < 1 || level > n) return FALSE;
    Bitmap* before = static_cast<Bitmap*>(dc->st.bitmap.get());
    dc->st = dc->saved[level - 1];
    dc->saved.resize(level - 1);
    Bitmap* after = static_cast<Bitmap*>(dc->st.bitmap.get());
    if (before != after) {
        if (before && before->selectedIn == dc) before->selectedIn = nullptr;
        if (after) after->selectedIn = dc;
    }
    return TRUE;
}

#define DC_ATTR(getter, setter, field, type, bad, check)                  \
    type setter(HDC hdc, type v) {                                        \
        DC* dc = DcFrom(hdc);                                              \
        if (!dc || !(check)) return bad;                                  \
        type old = dc->st.field;                                          \
        dc->st.field = v;                                                 \
        return old;                                                       \
    }                                                                     \
    type getter(HDC hdc) {                                                \
        DC* dc = DcFrom(hdc);                                              \
        return dc ? dc->st.field : bad;                                   \
    }

DC_ATTR(GetTextColor, SetTextColor, textColor, COLORREF, CLR_INVALID, (v = v & 0xFFFFFF, true))
DC_ATTR(GetBkColor, SetBkColor, bkColor, COLORREF, CLR_INVALID, (v = v & 0xFFFFFF, true))
DC_ATTR(GetBkMode, SetBkMode, bkMode, int, 0, (v == TRANSPARENT || v == OPAQUE))
DC_ATTR(GetROP2, SetROP2, rop2, int, 0, (v >= R2_BLACK && v <= R2_WHITE))
DC_ATTR(GetPolyFillMode, SetPolyFillMode, polyFillMode, int, 0, (v == ALTERNATE || v == WINDING))
DC_ATTR(GetStretchBltMode, SetStretchBltMode, stretchMode, int, 0, (v >= BLACKONWHITE && v <= HALFTONE))
DC_ATTR(GetTextAlign, SetTextAlign, textAlign, UINT, GDI_ERROR, true)
DC_ATTR(GetArcDirection, SetArcDirection, arcDirection, int, 0, (v == AD_COUNTERCLOCKWISE || v == AD_CLOCKWISE))
DC_ATTR(GetGraphicsMode, SetGraphicsMode, graphicsMode, int, 0, (v == GM_COMPATIBLE || v == GM_ADVANCED))
DC_ATTR(GetTextCharacterExtra, SetTextCharacterExtra, charExtra, int, (int)0x80000000, true)
DC_ATTR(GetDCBrushColor, SetDCBrushColor, dcBrushColor, COLORREF, CLR_INVALID, (v = v & 0xFFFFFF, true))
DC_ATTR(GetDCPenColor, SetDCPenColor, dcPenColor, COLORREF, CLR_INVALID, (v = v & 0xFFFFFF, true))

BOOL SetBrushOrgEx(HDC hdc, int x, int y, LPPOINT old) {
    DC* dc = DcFrom(hdc);
    if (!dc) return FALSE;
    if (old) *old = dc->st.brushOrg;
    dc->st.brushOrg = {x, y};
    return TRUE;
}

BOOL GetBrushOrgEx(HDC hdc, LPPOINT pt) {
    DC* dc = DcFrom(hdc);
    if (!dc || !pt) return FALSE;
    *pt = dc->st.brushOrg;
    return TRUE;
}

BOOL SetMiterLimit(HDC hdc, FLOAT limit, FLOAT* old) {
    DC* dc = DcFrom(hdc);
    if (!dc || !(limit >= 1.0f)) return FALSE;
    if (old) *old = dc->st.miterLimit;
    dc->st.miterLimit = limit;
    return TRUE;
}

BOOL GetMiterLimit(HDC hdc, FLOAT* limit) {
    DC* dc = DcFrom(hdc);
    if (!dc || !limit) return FALSE;
    *limit = dc->st.miterLimit;
    return TRUE;
}

int SetMapMode(HDC hdc, int mode) {
    DC* dc = DcFrom(hdc);
    if (!dc || mode < MM_TEXT || mode > MM_ANISOTROPIC) return 0;
    DcState& s = dc->st;
    int old = s.mapMode;
    if (mode == MM_ANISOTROPIC) {
        // keeps the current extents
    } else if (mode == MM_ISOTROPIC) {
        FixedExtents(MM_LOMETRIC, dc->dpi, &s.winExt, &s.vpExt);
    } else {
        FixedExtents(mode, dc->dpi, &s.winExt, &s.vpExt);
    }
    s.mapMode = mode;
    return old;
}

int GetMapMode(HDC hdc) {
    DC* dc = DcFrom(hdc);
    return dc ? dc->st.mapMode : 0;
}

BOOL SetWindowOrgEx(HDC hdc, int x, int y, LPPOINT old) {
    DC* dc = DcFrom(hdc);
    if (!dc) return FALSE;
    if (old) *old = dc->st.winOrg;
    dc->st.winOrg = {x, y};
    return TRUE;
}

BOOL GetWindowOrgEx(HDC hdc, LPPOINT pt) {
    DC* dc = DcFrom(hdc);
    if (!dc || !pt) return FALSE;
    *pt = dc->st.winOrg;
    return TRUE;
}

BOOL SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT old) {
    DC* dc = DcFrom(hdc);
    if (!dc) return FALSE;
    if (old) *old = dc->st.vpOrg;
    dc->st.vpOrg = {x, y};
    return TRUE;
}

BOOL GetViewportOrgEx(HDC hdc, LPPOINT pt) {
    DC* dc = DcFrom(hdc);
    if (!dc || !pt) return FALSE;
    *pt = dc->st.vpOrg;
    return TRUE;
}

BOOL OffsetWindowOrgEx(HDC hdc, int dx, int dy, LPPOINT old) {
    DC* dc = DcFrom(hdc);
    if (!dc) return FALSE;
    if (old) *old = dc->st.winOrg;
    dc->st.winOrg.x = SatAdd(dc->st.winOrg.x, dx);
    dc->st.winOrg.y = SatAdd(dc->st.winOrg.y, dy);
    return TRUE;
}

BOOL OffsetViewportOrgEx(HDC hdc, int dx, int dy, LPPOINT old) {
    DC* dc = DcFrom(hdc);
    if (!dc) return FALSE;
    if (old) *old = dc->st.vpOrg;
    dc->st.vpOrg.x = SatAdd(dc->st.vpOrg.x, dx);
    dc->st.vpOrg.y = SatAdd(dc->st.vpOrg.y, dy);
    return TRUE;
}

BOOL SetWindowExtEx(HDC hdc, int x, int y, LPSIZE old) {
    DC* dc = DcFrom(hdc);
    if (!dc) return FALSE;
    if (old) *old = dc->st.winExt;
    if (dc->st.mapMode != MM_ISOTROPIC && dc->st.mapMode != MM_ANISOTROPIC) return TRUE;
    if (x == 0 || y == 0) return FALSE;
    dc->st.winExt = {x, y};
    FixIsotropic(dc->st);
    return TRUE;
}

BOOL GetWindowExtEx(HDC hdc, LPSIZE sz) {
    DC* dc = DcFrom(hdc);
    if (!dc || !sz) return FALSE;
    *sz = dc->st.winExt;
    return TRUE;
}

BOOL SetViewportExtEx(HDC hdc, int x, int y, LPSIZE old) {
    DC* dc = DcFrom(hdc);
    if (!dc) return FALSE;
    if (old) *old = dc->st.vpExt;
    if (dc->st.mapMode != MM_ISOTROPIC && dc->st.mapMode != MM_ANISOTROPIC) return TRUE;
    if (x == 0 || y == 0) return FALSE;
    dc->st.vpExt = {x, y};
    FixIsotropic(dc->st);
    return TRUE;
}

BOOL GetViewportExtEx(HDC hdc, LPSIZE sz) {
    DC* dc = DcFrom(hdc);
    if (!dc || !sz) return FALSE;
    *sz = dc->st.vpExt;
    return TRUE;
}

BOOL ScaleWindowExtEx(HDC hdc, int xn, int xd, int yn, int yd, LPSIZE old) {
    DC* dc = DcFrom(hdc);
    if (!dc || xd == 0 || yd == 0) return FALSE;
    SIZE e = dc->st.winExt;
    return SetWindowExtEx(hdc, (int)((int64_t)e.cx * xn / xd), (int)((int64_t)e.cy * yn / yd), old);
}

BOOL ScaleViewportExtEx(HDC hdc, int xn, int xd, int yn, int yd, LPSIZE old) {
    DC* dc = DcFrom(hdc);
    if (!dc || xd == 0 || yd == 0) return FALSE;
    SIZE e = dc->st.vpExt;
    return SetViewportExtEx(hdc, (int)((int64_t)e.cx * xn / xd), (int)((int64_t)e.cy * yn / yd), old);
}

BOOL LPtoDP(HDC hdc, LPPOINT pts, int count) {
    DC* dc = DcFrom(hdc);
    if (!dc || (count > 0 && !pts)) return FALSE;
    for (int i = 0; i < count; ++i) pts[i] = ToDevice(*dc, pts[i]);
    return TRUE;
}

BOOL DPtoLP(HDC hdc, LPPOINT pts, int count) {
    DC* dc = DcFrom(hdc);
    if (!dc || (count > 0 && !pts)) return FALSE;
    for (int i = 0; i < count; ++i) pts[i] = ToLogical(*dc, pts[i].x, pts[i].y);
    return TRUE;
}
