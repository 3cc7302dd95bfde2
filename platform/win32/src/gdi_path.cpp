// Paths: building between BeginPath and EndPath, and stroking, filling, flattening, reading back and
// turning into regions.
#include <cairo.h>

#include <algorithm>
#include <cmath>

#include "gdi_internal.h"

namespace win32 {
namespace gdi {

void AppendToPath(DC& dc, const Shape& s) { dc.path.insert(dc.path.end(), s.begin(), s.end()); }

namespace {

DC* ClosedPathDC(HDC hdc) {
    DC* dc = DcFrom(hdc);
    if (!dc || dc->pathState != PathState::Closed) return nullptr;
    return dc;
}

std::vector<POINT> RoundedPoints(const Shape& s) {
    std::vector<POINT> pts;
    for (const PathPoint& p : s) pts.push_back(POINT{LRound(p.x), LRound(p.y)});
    return pts;
}

void RecordPath(DC& dc, const char* call) {
    if (GdiRecord* r = Record(dc, call, RoundedPoints(dc.path)))
        for (const PathPoint& p : dc.path) r->types.push_back(p.type);
}

void Discard(DC& dc) {
    dc.path.clear();
    dc.pathState = PathState::None;
}

Region ShapeRegion(const Shape& s, int fillMode) {
    if (s.empty()) return Region();
    RECT box = ShapeBox(s, 2);
    Mask m;
    m.x0 = box.left;
    m.y0 = box.top;
    m.w = box.right - box.left;
    m.h = box.bottom - box.top;
    if (m.w <= 0 || m.h <= 0 || (int64_t)m.w * m.h > (int64_t(1) << 28)) return Region();
    m.stride = cairo_format_stride_for_width(CAIRO_FORMAT_A8, m.w);
    m.data.assign((size_t)m.stride * m.h, 0);
    FillIntoMask(m, s, fillMode, false);
    return Region::FromMask(m.data.data(), m.stride, m.x0, m.y0, m.w, m.h);
}

}  // namespace

Region PathRegion(const Shape& s, int fillMode) { return ShapeRegion(s, fillMode); }

}  // namespace gdi
}  // namespace win32

using namespace win32::gdi;
using win32::GdiRecord;

BOOL BeginPath(HDC hdc) {
    DC* dc = DcFrom(hdc);
    if (!dc) return FALSE;
    dc->path.clear();
    dc->pathState = PathState::Open;
    dc->pathNeedMove = true;
    return TRUE;
}

BOOL EndPath(HDC hdc) {
    DC* dc = DcFrom(hdc);
    if (!dc || dc->pathState != PathState::Open) return FALSE;
    dc->pathState = PathState::Closed;
    return TRUE;
}

BOOL AbortPath(HDC hdc) {
    DC* dc = DcFrom(hdc);
    if (!dc) return FALSE;
    Discard(*dc);
    return TRUE;
}

BOOL CloseFigure(HDC hdc) {
    DC* dc = DcFrom(hdc);
    if (!dc || dc->pathState != PathState::Open) return FALSE;
    if (!dc->path.empty()) {
        dc->path.back().type |= PT_CLOSEFIGURE;
        dc->pathNeedMove = true;
    }
    return TRUE;
}

BOOL FillPath(HDC hdc) {
    DC* dc = ClosedPathDC(hdc);
    if (!dc) return FALSE;
    RecordPath(*dc, "FillPath");
    DrawShape(*dc, dc->path, false, true);
    Discard(*dc);
    return TRUE;
}

BOOL StrokePath(HDC hdc) {
    DC* dc = ClosedPathDC(hdc);
    if (!dc) return FALSE;
    RecordPath(*dc, "StrokePath");
    DrawShape(*dc, dc->path, true, false);
    Discard(*dc);
    return TRUE;
}

BOOL StrokeAndFillPath(HDC hdc) {
    DC* dc = ClosedPathDC(hdc);
    if (!dc) return FALSE;
    RecordPath(*dc, "StrokeAndFillPath");
    DrawShape(*dc, dc->path, true, true);
    Discard(*dc);
    return TRUE;
}

BOOL FlattenPath(HDC hdc) {
    DC* dc = ClosedPathDC(hdc);
    if (!dc) return FALSE;
    Shape out;
    for (const Polyline2& l : Flatten(dc->path, 0.25)) {
        size_t n = l.xy.size() / 2;
        for (size_t i = 0; i < n; ++i) out.push_back(PathPoint{l.xy[2 * i], l.xy[2 * i + 1], (BYTE)(i ? PT_LINETO : PT_MOVETO)});
        if (l.closed && n) out.back().type |= PT_CLOSEFIGURE;
    }
    dc->path = out;
    return TRUE;
}

BOOL WidenPath(HDC hdc) {
    DC* dc = ClosedPathDC(hdc);
    if (!dc) return FALSE;
    // The widened outline as the border of the pixels the pen covers, traced as rectangles per span.
    PenInfo pen = ResolvePen(*dc);
    if (pen.null) return FALSE;
    RECT box = ShapeBox(dc->path, pen.width / 2 * std::max<double>(1.0, dc->st.miterLimit) + 2);
    Mask m;
    m.x0 = box.left;
    m.y0 = box.top;
    m.w = box.right - box.left;
    m.h = box.bottom - box.top;
    if (m.w <= 0 || m.h <= 0 || (int64_t)m.w * m.h > (int64_t(1) << 28)) return FALSE;
    m.stride = cairo_format_stride_for_width(CAIRO_FORMAT_A8, m.w);
    m.data.assign((size_t)m.stride * m.h, 0);
    StrokeIntoMask(m, Flatten(dc->path, 0.1), pen, false, dc->st.miterLimit);
    Region r = Region::FromMask(m.data.data(), m.stride, m.x0, m.y0, m.w, m.h);
    Shape out;
    for (const RECT& rc : r.Rects()) {
        // Pixel (x, y) spans x - 0.5 .. x + 0.5 in path coordinates.
        double l = rc.left - 0.5, t = rc.top - 0.5, rr = rc.right - 0.5, b = rc.bottom - 0.5;
        out.push_back({l, t, PT_MOVETO});
        out.push_back({rr, t, PT_LINETO});
        out.push_back({rr, b, PT_LINETO});
        out.push_back({l, b, PT_LINETO | PT_CLOSEFIGURE});
    }
    dc->path = out;
    return TRUE;
}

int GetPath(HDC hdc, LPPOINT pts, LPBYTE types, int count) {
    DC* dc = ClosedPathDC(hdc);
    if (!dc) return -1;
    int n = (int)dc->path.size();
    if (count == 0) return n;
    if (count < n || !pts || !types) return -1;
    for (int i = 0; i < n; ++i) {
        pts[i] = ToLogical(*dc, dc->path[i].x, dc->path[i].y);
        types[i] = dc->path[i].type;
    }
    return n;
}

HRGN PathToRegion(HDC hdc) {
    DC* dc = ClosedPathDC(hdc);
    if (!dc) return nullptr;
    Rgn* r = new Rgn();
    r->r = ShapeRegion(dc->path, dc->st.polyFillMode);
    Discard(*dc);
    return reinterpret_cast<HRGN>(r);
}

BOOL SelectClipPath(HDC hdc, int mode) {
    DC* dc = ClosedPathDC(hdc);
    if (!dc || mode < RGN_AND || mode > RGN_COPY) return FALSE;
    HRGN rgn = PathToRegion(hdc);
    int res = ExtSelectClipRgn(hdc, rgn, mode);
    DeleteObject(rgn);
    return res != ERROR;
}

namespace win32 {

namespace {
Xform PointXform(const gdi::DC& dc) {
    if (dc.st.mapMode == MM_TEXT) return Xform{1.0, 1.0, (double)dc.st.vpOrg.x - dc.st.winOrg.x, (double)dc.st.vpOrg.y - dc.st.winOrg.y};
    return GetXform(dc);
}
}  // namespace

int GetPathPrecise(HDC hdc, double* xy, BYTE* types, int count) {
    DC* dc = ClosedPathDC(hdc);
    if (!dc) return -1;
    const int n = (int)dc->path.size();
    if (count == 0) return n;
    if (count < n || !xy || !types) return -1;
    const Xform t = PointXform(*dc);
    for (int i = 0; i < n; ++i) {
        xy[2 * i] = (dc->path[i].x - t.tx) / t.sx;
        xy[2 * i + 1] = (dc->path[i].y - t.ty) / t.sy;
        types[i] = dc->path[i].type;
    }
    return n;
}

BOOL PolyDrawPrecise(HDC hdc, const double* xy, const BYTE* types, int count) {
    DC* dc = DcFrom(hdc);
    if (!dc || !xy || !types || count < 1 || (types[0] & ~PT_CLOSEFIGURE) != PT_MOVETO) return FALSE;
    if (!ValidPolyDrawTypes(types, count)) return FALSE;
    const Xform t = PointXform(*dc);
    Shape s;
    std::vector<POINT> rounded;
    PathPoint start{0, 0, PT_MOVETO};
    for (int i = 0; i < count; ++i) {
        const BYTE kind = types[i] & ~PT_CLOSEFIGURE;
        const PathPoint p{xy[2 * i] * t.sx + t.tx, xy[2 * i + 1] * t.sy + t.ty, kind};
        s.push_back(p);
        rounded.push_back(POINT{LRound(p.x), LRound(p.y)});
        if (kind == PT_MOVETO) start = p;
        if (types[i] & PT_CLOSEFIGURE) {
            s.back().type |= PT_CLOSEFIGURE;
            // GDI moves back to the figure's start after a close.
            if (i + 1 < count && (types[i + 1] & ~PT_CLOSEFIGURE) != PT_MOVETO) s.push_back(start);
        }
    }
    if (GdiRecord* r = Record(*dc, "PolyDraw", rounded)) r->types.assign(types, types + count);
    if (dc->InPath()) {
        AppendToPath(*dc, s);
        dc->pathNeedMove = false;
    } else {
        DrawShape(*dc, s, true, false);
    }
    dc->st.curPos = ToLogical(*dc, s.back().x, s.back().y);
    return TRUE;
}

BOOL FillPathSmooth(HDC hdc, COLORREF color) {
    DC* dc = ClosedPathDC(hdc);
    if (!dc) return FALSE;
    RecordPath(*dc, "FillPath");
    if (!dc->path.empty() && dc->Surface()) {
        const RECT box = ShapeBox(dc->path, 2);
        Mask m = MakeMask(*dc, box.left, box.top, box.right, box.bottom);
        if (!m.Empty()) {
            FillIntoMask(m, dc->path, WINDING, true);
            CompositeAlpha(*dc, m, color, nullptr);
        }
    }
    Discard(*dc);
    return TRUE;
}

}  // namespace win32
