// Regions as GDI objects, region painting, and the DC's clip region.
#include <cairo.h>

#include <algorithm>
#include <cmath>

#include "gdi_internal.h"

namespace win32 {
namespace gdi {
namespace {

Rgn* GetRgn(HRGN h) { return Get<Rgn>(h, OBJ_REGION); }

HRGN NewRgn(Region r) {
    Rgn* g = new Rgn();
    g->r = std::move(r);
    return reinterpret_cast<HRGN>(g);
}

Region DeviceArea(const DC& dc) {
    int w, h;
    dc.DeviceSize(&w, &h);
    return Region::FromRect(0, 0, w, h);
}

// A region given in logical coordinates, mapped to the device rectangle by rectangle.
Region ToDeviceRegion(const DC& dc, const Region& r) {
    if (dc.st.mapMode == MM_TEXT) {
        Region d = r;
        d.Offset(dc.st.vpOrg.x - dc.st.winOrg.x, dc.st.vpOrg.y - dc.st.winOrg.y);
        return d;
    }
    Region out;
    for (const RECT& rc : r.Rects()) {
        RECT d = ToDeviceRect(dc, rc.left, rc.top, rc.right, rc.bottom);
        out = Region::Combine(out, Region::FromRect(d.left, d.top, d.right, d.bottom), RGN_OR);
    }
    return out;
}

// A mask holding the region's pixels (device coordinates) inside the DC's visible area.
Mask RegionMask(const DC& dc, const Region& r) {
    RECT box = r.Box();
    Mask m = MakeMask(dc, box.left, box.top, box.right, box.bottom);
    if (m.Empty()) return m;
    r.ForEachRectIn(m.x0, m.y0, m.x0 + m.w, m.y0 + m.h, [&](int l, int t, int rr, int b) {
        for (int y = t; y < b; ++y) std::fill(m.Row(y) + (l - m.x0), m.Row(y) + (rr - m.x0), 255);
    });
    return m;
}

void RecordRegion(DC& dc, const char* call, const Region& r) {
    RECT b = r.Box();
    Record(dc, call, {POINT{b.left, b.top}, POINT{b.right, b.bottom}});
}

int SetClip(DC& dc, const Region* r, int mode) {
    if (mode == RGN_COPY) {
        if (!r) {
            dc.st.hasClip = false;
            dc.st.clip = Region();
            return SIMPLEREGION;
        }
        dc.st.hasClip = true;
        dc.st.clip = *r;
        return dc.st.clip.Complexity();
    }
    if (!r || mode < RGN_AND || mode > RGN_DIFF) return ERROR;
    Region current = dc.st.hasClip ? dc.st.clip : DeviceArea(dc);
    dc.st.clip = Region::Combine(current, *r, mode);
    dc.st.hasClip = true;
    return dc.st.clip.Complexity();
}

Region Visible(const DC& dc) {
    Region area = DeviceArea(dc);
    return dc.st.hasClip ? Region::Combine(dc.st.clip, area, RGN_AND) : area;
}

}  // namespace
}  // namespace gdi
}  // namespace win32

using namespace win32::gdi;
using win32::GdiRecord;

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    return NewRgn(Region::FromRect(left, top, right, bottom));
}

HRGN CreateRectRgnIndirect(const RECT* rc) {
    if (!rc) return nullptr;
    return CreateRectRgn(rc->left, rc->top, rc->right, rc->bottom);
}

HRGN CreateEllipticRgn(int left, int top, int right, int bottom) {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    if (right - left < 1 || bottom - top < 1) return NewRgn(Region());
    // The ellipse touching the box's outer edges; pixel x spans x - 0.5 .. x + 0.5.
    double cx = (left + right) / 2.0 - 0.5, cy = (top + bottom) / 2.0 - 0.5;
    return NewRgn(PathRegion(EllipseOutline(cx, cy, (right - left) / 2.0, (bottom - top) / 2.0), ALTERNATE));
}

HRGN CreateEllipticRgnIndirect(const RECT* rc) {
    if (!rc) return nullptr;
    return CreateEllipticRgn(rc->left, rc->top, rc->right, rc->bottom);
}

HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int ew, int eh) {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    if (right - left < 1 || bottom - top < 1) return NewRgn(Region());
    double rx = std::min(std::abs(ew), right - left) / 2.0, ry = std::min(std::abs(eh), bottom - top) / 2.0;
    if (rx < 1 || ry < 1) return CreateRectRgn(left, top, right, bottom);
    return NewRgn(PathRegion(RoundRectOutline(left - 0.5, top - 0.5, right - 0.5, bottom - 0.5, rx, ry), ALTERNATE));
}

HRGN CreatePolygonRgn(const POINT* pts, int count, int fillMode) {
    INT c = count;
    return CreatePolyPolygonRgn(pts, &c, 1, fillMode);
}

HRGN CreatePolyPolygonRgn(const POINT* pts, const INT* counts, int polygons, int fillMode) {
    if (!pts || !counts || polygons <= 0 || (fillMode != ALTERNATE && fillMode != WINDING)) return nullptr;
    Shape s;
    size_t k = 0;
    for (int i = 0; i < polygons; ++i) {
        if (counts[i] < 2) return nullptr;
        for (int j = 0; j < counts[i]; ++j, ++k)
            s.push_back(PathPoint{(double)pts[k].x, (double)pts[k].y, (BYTE)(j ? PT_LINETO : PT_MOVETO)});
        s.back().type |= PT_CLOSEFIGURE;
    }
    return NewRgn(PathRegion(s, fillMode));
}

int CombineRgn(HRGN dst, HRGN src1, HRGN src2, int mode) {
    Rgn* d = GetRgn(dst);
    Rgn* a = GetRgn(src1);
    if (!d || !a || mode < RGN_AND || mode > RGN_COPY) return ERROR;
    if (mode == RGN_COPY) {
        d->r = a->r;
        return d->r.Complexity();
    }
    Rgn* b = GetRgn(src2);
    if (!b) return ERROR;
    d->r = Region::Combine(a->r, b->r, mode);
    return d->r.Complexity();
}

BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom) {
    Rgn* g = GetRgn(rgn);
    if (!g) return FALSE;
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    g->r = Region::FromRect(left, top, right, bottom);
    return TRUE;
}

int OffsetRgn(HRGN rgn, int dx, int dy) {
    Rgn* g = GetRgn(rgn);
    if (!g) return ERROR;
    g->r.Offset(dx, dy);
    return g->r.Complexity();
}

int GetRgnBox(HRGN rgn, LPRECT rc) {
    Rgn* g = GetRgn(rgn);
    if (!g || !rc) return ERROR;
    *rc = g->r.Box();
    return g->r.Complexity();
}

BOOL EqualRgn(HRGN a, HRGN b) {
    Rgn* ga = GetRgn(a);
    Rgn* gb = GetRgn(b);
    if (!ga || !gb) return ERROR;
    return ga->r == gb->r;
}

BOOL PtInRegion(HRGN rgn, int x, int y) {
    Rgn* g = GetRgn(rgn);
    return g && g->r.Contains(x, y);
}

BOOL RectInRegion(HRGN rgn, const RECT* rc) {
    Rgn* g = GetRgn(rgn);
    if (!g || !rc) return FALSE;
    RECT n{std::min(rc->left, rc->right), std::min(rc->top, rc->bottom), std::max(rc->left, rc->right),
           std::max(rc->top, rc->bottom)};
    return g->r.Intersects(n);
}

BOOL FillRgn(HDC hdc, HRGN rgn, HBRUSH brush) {
    DC* dc = DcFrom(hdc);
    Rgn* g = GetRgn(rgn);
    Brush* b = Get<Brush>(brush, OBJ_BRUSH);
    if (!dc || !g || !b) return FALSE;
    Region r = ToDeviceRegion(*dc, g->r);
    RecordRegion(*dc, "FillRgn", r);
    Composite(*dc, RegionMask(*dc, r), BrushPaint(*dc, b), dc->st.rop2);
    return TRUE;
}

BOOL PaintRgn(HDC hdc, HRGN rgn) {
    DC* dc = DcFrom(hdc);
    Rgn* g = GetRgn(rgn);
    if (!dc || !g) return FALSE;
    Region r = ToDeviceRegion(*dc, g->r);
    RecordRegion(*dc, "PaintRgn", r);
    Composite(*dc, RegionMask(*dc, r), BrushPaint(*dc, CurrentBrush(*dc)), dc->st.rop2);
    return TRUE;
}

BOOL FrameRgn(HDC hdc, HRGN rgn, HBRUSH brush, int width, int height) {
    DC* dc = DcFrom(hdc);
    Rgn* g = GetRgn(rgn);
    Brush* b = Get<Brush>(brush, OBJ_BRUSH);
    if (!dc || !g || !b) return FALSE;
    Region r = ToDeviceRegion(*dc, g->r);
    Xform x = GetXform(*dc);
    int w = std::max(1, LRound(std::abs(width) * std::fabs(x.sx))), h = std::max(1, LRound(std::abs(height) * std::fabs(x.sy)));
    // The interior keeps the pixels whose neighbours up to w across and h down are all inside.
    Region inner = r;
    for (int d = 1; d <= w && d <= 4096; ++d) {
        Region a = r, c = r;
        a.Offset(d, 0);
        c.Offset(-d, 0);
        inner = Region::Combine(Region::Combine(inner, a, RGN_AND), c, RGN_AND);
    }
    for (int d = 1; d <= h && d <= 4096; ++d) {
        Region a = r, c = r;
        a.Offset(0, d);
        c.Offset(0, -d);
        inner = Region::Combine(Region::Combine(inner, a, RGN_AND), c, RGN_AND);
    }
    Region frame = Region::Combine(r, inner, RGN_DIFF);
    RecordRegion(*dc, "FrameRgn", r);
    Composite(*dc, RegionMask(*dc, frame), BrushPaint(*dc, b), dc->st.rop2);
    return TRUE;
}

BOOL InvertRgn(HDC hdc, HRGN rgn) {
    DC* dc = DcFrom(hdc);
    Rgn* g = GetRgn(rgn);
    if (!dc || !g) return FALSE;
    Region r = ToDeviceRegion(*dc, g->r);
    RecordRegion(*dc, "InvertRgn", r);
    Paint p;
    p.kind = Paint::Solid;
    Composite(*dc, RegionMask(*dc, r), p, R2_NOT);
    return TRUE;
}

int SelectClipRgn(HDC hdc, HRGN rgn) {
    DC* dc = DcFrom(hdc);
    if (!dc) return ERROR;
    if (!rgn) return SetClip(*dc, nullptr, RGN_COPY);
    Rgn* g = GetRgn(rgn);
    if (!g) return ERROR;
    return SetClip(*dc, &g->r, RGN_COPY);
}

int ExtSelectClipRgn(HDC hdc, HRGN rgn, int mode) {
    DC* dc = DcFrom(hdc);
    if (!dc) return ERROR;
    Rgn* g = rgn ? GetRgn(rgn) : nullptr;
    if (rgn && !g) return ERROR;
    return SetClip(*dc, g ? &g->r : nullptr, mode);
}

int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom) {
    DC* dc = DcFrom(hdc);
    if (!dc) return ERROR;
    RECT d = ToDeviceRect(*dc, left, top, right, bottom);
    Region r = Region::FromRect(d.left, d.top, d.right, d.bottom);
    return SetClip(*dc, &r, RGN_AND);
}

int ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom) {
    DC* dc = DcFrom(hdc);
    if (!dc) return ERROR;
    RECT d = ToDeviceRect(*dc, left, top, right, bottom);
    Region r = Region::FromRect(d.left, d.top, d.right, d.bottom);
    return SetClip(*dc, &r, RGN_DIFF);
}

int OffsetClipRgn(HDC hdc, int dx, int dy) {
    DC* dc = DcFrom(hdc);
    if (!dc) return ERROR;
    if (!dc->st.hasClip) return SIMPLEREGION;
    Xform x = GetXform(*dc);
    dc->st.clip.Offset(LRound(dx * x.sx), LRound(dy * x.sy));
    return dc->st.clip.Complexity();
}

int GetClipBox(HDC hdc, LPRECT rc) {
    DC* dc = DcFrom(hdc);
    if (!dc || !rc) return ERROR;
    Region v = Visible(*dc);
    RECT b = v.Box();
    POINT p1 = ToLogical(*dc, b.left, b.top), p2 = ToLogical(*dc, b.right, b.bottom);
    rc->left = std::min(p1.x, p2.x);
    rc->right = std::max(p1.x, p2.x);
    rc->top = std::min(p1.y, p2.y);
    rc->bottom = std::max(p1.y, p2.y);
    return v.Complexity();
}

int GetClipRgn(HDC hdc, HRGN rgn) {
    DC* dc = DcFrom(hdc);
    Rgn* g = GetRgn(rgn);
    if (!dc || !g) return -1;
    if (!dc->st.hasClip) return 0;
    g->r = dc->st.clip;
    return 1;
}

BOOL PtVisible(HDC hdc, int x, int y) {
    DC* dc = DcFrom(hdc);
    if (!dc) return FALSE;
    POINT p = ToDevice(*dc, x, y);
    return Visible(*dc).Contains(p.x, p.y);
}

BOOL RectVisible(HDC hdc, const RECT* rc) {
    DC* dc = DcFrom(hdc);
    if (!dc || !rc) return FALSE;
    RECT d = ToDeviceRect(*dc, rc->left, rc->top, rc->right, rc->bottom);
    return Visible(*dc).Intersects(d);
}
