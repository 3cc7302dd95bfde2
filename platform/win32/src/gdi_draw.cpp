// Drawing primitives: each builds its figure in device coordinates and either adds it to the open path
// or draws it with the DC's pen and brush.
#include <cmath>

#include "gdi_internal.h"

namespace win32 {
namespace gdi {
namespace {

const double kPi = 3.14159265358979323846;

void Add(Shape& s, double x, double y, BYTE t) { s.push_back(PathPoint{x, y, t}); }
void Add(Shape& s, POINT p, BYTE t) { s.push_back(PathPoint{(double)p.x, (double)p.y, t}); }
void CloseLast(Shape& s) {
    if (!s.empty()) s.back().type |= PT_CLOSEFIGURE;
}

// Appends Béziers for the elliptical arc centred (cx, cy), angles a0 -> a1 in radians counter-clockwise as
// seen on the device (a point is (cx + rx cos a, cy - ry sin a)). The start point must already be in s.
void AddArc(Shape& s, double cx, double cy, double rx, double ry, double a0, double a1) {
    double sweep = a1 - a0;
    int n = (int)std::ceil(std::fabs(sweep) / (kPi / 2) - 1e-9);
    if (n < 1) n = 1;
    double step = sweep / n;
    double k = 4.0 / 3.0 * std::tan(step / 4);
    for (int i = 0; i < n; ++i) {
        double t0 = a0 + step * i, t1 = t0 + step;
        double c0 = std::cos(t0), s0 = std::sin(t0), c1 = std::cos(t1), s1 = std::sin(t1);
        Add(s, cx + rx * (c0 - k * s0), cy - ry * (s0 + k * c0), PT_BEZIERTO);
        Add(s, cx + rx * (c1 + k * s1), cy - ry * (s1 - k * c1), PT_BEZIERTO);
        Add(s, cx + rx * c1, cy - ry * s1, PT_BEZIERTO);
    }
}

// The box of a figure given by a bounding rectangle: right and bottom excluded, and shrunk so that an
// inside-frame pen stays inside.
struct Box {
    double l, t, r, b;  // pixel-centre coordinates of the outermost outline pixels
    bool ok;
};

Box FigureBox(const DC& dc, int l, int t, int r, int b, bool insideFrame) {
    RECT rc = ToDeviceRect(dc, l, t, r, b);
    Box bx{(double)rc.left, (double)rc.top, (double)rc.right - 1, (double)rc.bottom - 1, rc.right > rc.left && rc.bottom > rc.top};
    if (insideFrame) {
        PenInfo pen = ResolvePen(dc);
        if (!pen.null && pen.insideFrame && pen.width > 1) {
            double d = (pen.width - 1) / 2;
            bx.l += d;
            bx.t += d;
            bx.r -= d;
            bx.b -= d;
            if (bx.r < bx.l) bx.l = bx.r = (bx.l + bx.r) / 2;
            if (bx.b < bx.t) bx.t = bx.b = (bx.t + bx.b) / 2;
        }
    }
    return bx;
}

// Radial angle of a device point seen from the centre, as the ellipse's parameter.
double RadialParam(double cx, double cy, double rx, double ry, POINT p) {
    double phi = std::atan2(-(p.y - cy), p.x - cx);
    return std::atan2(rx * std::sin(phi), ry * std::cos(phi));
}

// Start and end parameters of an arc in the DC's direction; equal radials give a full turn.
void ArcParams(const DC& dc, const Box& bx, POINT s, POINT e, double* a0, double* a1) {
    double cx = (bx.l + bx.r) / 2, cy = (bx.t + bx.b) / 2, rx = (bx.r - bx.l) / 2, ry = (bx.b - bx.t) / 2;
    *a0 = RadialParam(cx, cy, rx, ry, s);
    double end = RadialParam(cx, cy, rx, ry, e);
    if (dc.st.arcDirection == AD_CLOCKWISE) {
        while (end >= *a0 - 1e-12) end -= 2 * kPi;
    } else {
        while (end <= *a0 + 1e-12) end += 2 * kPi;
    }
    *a1 = end;
}

Shape EllipseShape(const DC& dc, const Box& bx) {
    Shape s;
    double cx = (bx.l + bx.r) / 2, cy = (bx.t + bx.b) / 2, rx = (bx.r - bx.l) / 2, ry = (bx.b - bx.t) / 2;
    bool cw = dc.st.arcDirection == AD_CLOCKWISE;
    Add(s, cx + rx, cy, PT_MOVETO);
    AddArc(s, cx, cy, rx, ry, 0, cw ? -2 * kPi : 2 * kPi);
    CloseLast(s);
    return s;
}

Shape RectShape(const DC& dc, const Box& bx) {
    Shape s;
    Add(s, bx.r, bx.t, PT_MOVETO);
    if (dc.st.arcDirection == AD_CLOCKWISE) {
        Add(s, bx.r, bx.b, PT_LINETO);
        Add(s, bx.l, bx.b, PT_LINETO);
        Add(s, bx.l, bx.t, PT_LINETO);
    } else {
        Add(s, bx.l, bx.t, PT_LINETO);
        Add(s, bx.l, bx.b, PT_LINETO);
        Add(s, bx.r, bx.b, PT_LINETO);
    }
    CloseLast(s);
    return s;
}

Shape Reversed(const Shape& s) {
    // Reverses a single closed figure made of lines and Béziers.
    Shape out;
    if (s.empty()) return out;
    Add(out, s.back().x, s.back().y, PT_MOVETO);
    for (size_t i = s.size() - 1; i > 0; --i) {
        BYTE t = s[i].type & ~PT_CLOSEFIGURE;
        if (t == PT_BEZIERTO) {
            // s[i-2], s[i-1], s[i] are a Bézier from s[i-3]; reversed: s[i-1], s[i-2], s[i-3].
            Add(out, s[i - 1].x, s[i - 1].y, PT_BEZIERTO);
            Add(out, s[i - 2].x, s[i - 2].y, PT_BEZIERTO);
            Add(out, s[i - 3].x, s[i - 3].y, PT_BEZIERTO);
            i -= 2;
        } else {
            Add(out, s[i - 1].x, s[i - 1].y, PT_LINETO);
        }
    }
    CloseLast(out);
    return out;
}

Shape RoundRectShape(const DC& dc, const Box& bx, int ew, int eh) {
    Xform x = GetXform(dc);
    double w = std::fabs(ew * x.sx), h = std::fabs(eh * x.sy);
    double bw = bx.r - bx.l + 1, bh = bx.b - bx.t + 1;
    double rx = (std::min(w, bw) - 1) / 2, ry = (std::min(h, bh) - 1) / 2;
    if (rx <= 0 || ry <= 0) return RectShape(dc, bx);
    Shape s = RoundRectOutline(bx.l, bx.t, bx.r, bx.b, rx, ry);
    if (dc.st.arcDirection == AD_CLOCKWISE) return Reversed(s);
    return s;
}

// Draws or adds to the path. `continues` says the figure goes on from the current position (the "To"
// functions), `closed` that it is a closed figure that the brush fills.
void Emit(DC& dc, const Shape& s, bool continues, bool closed) {
    if (dc.InPath()) {
        Shape t = s;
        // A "To" figure continues the path's last figure when that ends open at the current position.
        if (continues && !dc.pathNeedMove && !dc.path.empty() && !t.empty() &&
            !(dc.path.back().type & PT_CLOSEFIGURE) && dc.path.back().x == t[0].x && dc.path.back().y == t[0].y)
            t.erase(t.begin());
        AppendToPath(dc, t);
        dc.pathNeedMove = false;
        return;
    }
    DrawShape(dc, s, true, closed);
}

std::vector<POINT> DevicePoints(const DC& dc, const POINT* pts, size_t n) {
    std::vector<POINT> out(n);
    for (size_t i = 0; i < n; ++i) out[i] = ToDevice(dc, pts[i]);
    return out;
}

BOOL ArcFamily(HDC hdc, const char* call, int l, int t, int r, int b, int xs, int ys, int xe, int ye, int kind) {
    DC* dc = DcFrom(hdc);
    if (!dc) return FALSE;
    POINT ds = ToDevice(*dc, xs, ys), de = ToDevice(*dc, xe, ye);
    POINT c1 = ToDevice(*dc, l, t), c2 = ToDevice(*dc, r, b);
    Record(*dc, call, {c1, c2, ds, de});
    Box bx = FigureBox(*dc, l, t, r, b, kind != 0 && kind != 3);
    if (!bx.ok) return TRUE;
    double cx = (bx.l + bx.r) / 2, cy = (bx.t + bx.b) / 2, rx = (bx.r - bx.l) / 2, ry = (bx.b - bx.t) / 2;
    double a0, a1;
    ArcParams(*dc, bx, ds, de, &a0, &a1);
    Shape s;
    double sx = cx + rx * std::cos(a0), sy = cy - ry * std::sin(a0);
    double ex = cx + rx * std::cos(a1), ey = cy - ry * std::sin(a1);
    if (kind == 3) {  // ArcTo: a line from the current position first
        Add(s, ToDevice(*dc, dc->st.curPos), PT_MOVETO);
        Add(s, sx, sy, PT_LINETO);
    } else {
        Add(s, sx, sy, PT_MOVETO);
    }
    AddArc(s, cx, cy, rx, ry, a0, a1);
    if (kind == 1) {  // Chord
        CloseLast(s);
    } else if (kind == 2) {  // Pie
        Add(s, cx, cy, PT_LINETO);
        CloseLast(s);
    }
    Emit(*dc, s, kind == 3, kind == 1 || kind == 2);
    if (kind == 3) dc->st.curPos = ToLogical(*dc, ex, ey);
    return TRUE;
}

}  // namespace

Shape EllipseOutline(double cx, double cy, double rx, double ry) {
    Shape s;
    Add(s, cx + rx, cy, PT_MOVETO);
    AddArc(s, cx, cy, rx, ry, 0, 2 * kPi);
    CloseLast(s);
    return s;
}

Shape RoundRectOutline(double l, double t, double r, double b, double rx, double ry) {
    Shape s;
    Add(s, r - rx, t, PT_MOVETO);
    Add(s, l + rx, t, PT_LINETO);
    AddArc(s, l + rx, t + ry, rx, ry, kPi / 2, kPi);
    Add(s, l, b - ry, PT_LINETO);
    AddArc(s, l + rx, b - ry, rx, ry, kPi, 1.5 * kPi);
    Add(s, r - rx, b, PT_LINETO);
    AddArc(s, r - rx, b - ry, rx, ry, 1.5 * kPi, 2 * kPi);
    Add(s, r, t + ry, PT_LINETO);
    AddArc(s, r - rx, t + ry, rx, ry, 0, kPi / 2);
    CloseLast(s);
    return s;
}

}  // namespace gdi
}  // namespace win32

using namespace win32::gdi;
using win32::GdiRecord;

BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT old) {
    DC* dc = DcFrom(hdc);
    if (!dc) return FALSE;
    if (old) *old = dc->st.curPos;
    dc->st.curPos = {x, y};
    if (dc->InPath()) dc->pathNeedMove = true;
    return TRUE;
}

BOOL GetCurrentPositionEx(HDC hdc, LPPOINT pt) {
    DC* dc = DcFrom(hdc);
    if (!dc || !pt) return FALSE;
    *pt = dc->st.curPos;
    return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y) {
    DC* dc = DcFrom(hdc);
    if (!dc) return FALSE;
    POINT a = ToDevice(*dc, dc->st.curPos), b = ToDevice(*dc, x, y);
    Record(*dc, "LineTo", {a, b});
    Shape s;
    Add(s, a, PT_MOVETO);
    Add(s, b, PT_LINETO);
    Emit(*dc, s, true, false);
    dc->st.curPos = {x, y};
    return TRUE;
}

BOOL Polyline(HDC hdc, const POINT* pts, int count) {
    DC* dc = DcFrom(hdc);
    if (!dc || !pts || count < 2) return FALSE;
    std::vector<POINT> d = DevicePoints(*dc, pts, (size_t)count);
    Record(*dc, "Polyline", d);
    Shape s;
    s.reserve(d.size());
    for (int i = 0; i < count; ++i) Add(s, d[i], i ? PT_LINETO : PT_MOVETO);
    Emit(*dc, s, false, false);
    return TRUE;
}

BOOL PolylineTo(HDC hdc, const POINT* pts, int count) {
    DC* dc = DcFrom(hdc);
    if (!dc || !pts || count < 1) return FALSE;
    std::vector<POINT> d = DevicePoints(*dc, pts, (size_t)count);
    d.insert(d.begin(), ToDevice(*dc, dc->st.curPos));
    Record(*dc, "PolylineTo", d);
    Shape s;
    for (size_t i = 0; i < d.size(); ++i) Add(s, d[i], i ? PT_LINETO : PT_MOVETO);
    Emit(*dc, s, true, false);
    dc->st.curPos = pts[count - 1];
    return TRUE;
}

BOOL PolyPolyline(HDC hdc, const POINT* pts, const DWORD* counts, DWORD polylines) {
    DC* dc = DcFrom(hdc);
    if (!dc || !pts || !counts || polylines == 0) return FALSE;
    size_t total = 0;
    for (DWORD i = 0; i < polylines; ++i) {
        if (counts[i] < 2) return FALSE;
        total += counts[i];
    }
    std::vector<POINT> d = DevicePoints(*dc, pts, total);
    if (GdiRecord* r = Record(*dc, "PolyPolyline", d))
        for (DWORD i = 0; i < polylines; ++i) r->counts.push_back((int)counts[i]);
    Shape s;
    size_t k = 0;
    for (DWORD i = 0; i < polylines; ++i)
        for (DWORD j = 0; j < counts[i]; ++j, ++k) Add(s, d[k], j ? PT_LINETO : PT_MOVETO);
    Emit(*dc, s, false, false);
    return TRUE;
}

BOOL Polygon(HDC hdc, const POINT* pts, int count) {
    DC* dc = DcFrom(hdc);
    if (!dc || !pts || count < 2) return FALSE;
    std::vector<POINT> d = DevicePoints(*dc, pts, (size_t)count);
    Record(*dc, "Polygon", d);
    Shape s;
    for (int i = 0; i < count; ++i) Add(s, d[i], i ? PT_LINETO : PT_MOVETO);
    CloseLast(s);
    Emit(*dc, s, false, true);
    return TRUE;
}

BOOL PolyPolygon(HDC hdc, const POINT* pts, const INT* counts, int polygons) {
    DC* dc = DcFrom(hdc);
    if (!dc || !pts || !counts || polygons <= 0) return FALSE;
    size_t total = 0;
    for (int i = 0; i < polygons; ++i) {
        if (counts[i] < 2) return FALSE;
        total += (size_t)counts[i];
    }
    std::vector<POINT> d = DevicePoints(*dc, pts, total);
    if (GdiRecord* r = Record(*dc, "PolyPolygon", d)) r->counts.assign(counts, counts + polygons);
    Shape s;
    size_t k = 0;
    for (int i = 0; i < polygons; ++i) {
        for (int j = 0; j < counts[i]; ++j, ++k) Add(s, d[k], j ? PT_LINETO : PT_MOVETO);
        CloseLast(s);
    }
    Emit(*dc, s, false, true);
    return TRUE;
}

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom) {
    DC* dc = DcFrom(hdc);
    if (!dc) return FALSE;
    Record(*dc, "Rectangle", {ToDevice(*dc, left, top), ToDevice(*dc, right, bottom)});
    Box bx = FigureBox(*dc, left, top, right, bottom, true);
    if (!bx.ok) return TRUE;
    Emit(*dc, RectShape(*dc, bx), false, true);
    return TRUE;
}

BOOL RoundRect(HDC hdc, int left, int top, int right, int bottom, int ew, int eh) {
    DC* dc = DcFrom(hdc);
    if (!dc) return FALSE;
    Xform x = GetXform(*dc);
    Record(*dc, "RoundRect",
           {ToDevice(*dc, left, top), ToDevice(*dc, right, bottom), POINT{LRound(std::fabs(ew * x.sx)), LRound(std::fabs(eh * x.sy))}});
    Box bx = FigureBox(*dc, left, top, right, bottom, true);
    if (!bx.ok) return TRUE;
    Emit(*dc, RoundRectShape(*dc, bx, ew, eh), false, true);
    return TRUE;
}

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom) {
    DC* dc = DcFrom(hdc);
    if (!dc) return FALSE;
    Record(*dc, "Ellipse", {ToDevice(*dc, left, top), ToDevice(*dc, right, bottom)});
    Box bx = FigureBox(*dc, left, top, right, bottom, true);
    if (!bx.ok) return TRUE;
    Emit(*dc, EllipseShape(*dc, bx), false, true);
    return TRUE;
}

BOOL Arc(HDC hdc, int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
    return ArcFamily(hdc, "Arc", l, t, r, b, xs, ys, xe, ye, 0);
}

BOOL ArcTo(HDC hdc, int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
    return ArcFamily(hdc, "ArcTo", l, t, r, b, xs, ys, xe, ye, 3);
}

BOOL Chord(HDC hdc, int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
    return ArcFamily(hdc, "Chord", l, t, r, b, xs, ys, xe, ye, 1);
}

BOOL Pie(HDC hdc, int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
    return ArcFamily(hdc, "Pie", l, t, r, b, xs, ys, xe, ye, 2);
}

BOOL AngleArc(HDC hdc, int x, int y, DWORD radius, FLOAT startDegrees, FLOAT sweepDegrees) {
    DC* dc = DcFrom(hdc);
    if (!dc || radius > 0x7FFFFFFF) return FALSE;
    Xform xf = GetXform(*dc);
    POINT c = ToDevice(*dc, x, y);
    double rx = radius * std::fabs(xf.sx), ry = radius * std::fabs(xf.sy);
    double a0 = startDegrees * kPi / 180, a1 = (startDegrees + sweepDegrees) * kPi / 180;
    Record(*dc, "AngleArc", {c, POINT{LRound(rx), LRound(ry)}});
    Shape s;
    Add(s, ToDevice(*dc, dc->st.curPos), PT_MOVETO);
    Add(s, c.x + rx * std::cos(a0), c.y - ry * std::sin(a0), PT_LINETO);
    AddArc(s, c.x, c.y, rx, ry, a0, a1);
    Emit(*dc, s, true, false);
    dc->st.curPos = ToLogical(*dc, c.x + rx * std::cos(a1), c.y - ry * std::sin(a1));
    return TRUE;
}

BOOL PolyBezier(HDC hdc, const POINT* pts, DWORD count) {
    DC* dc = DcFrom(hdc);
    if (!dc || !pts || count < 1 || (count - 1) % 3 != 0) return FALSE;
    std::vector<POINT> d = DevicePoints(*dc, pts, count);
    Record(*dc, "PolyBezier", d);
    Shape s;
    for (DWORD i = 0; i < count; ++i) Add(s, d[i], i ? PT_BEZIERTO : PT_MOVETO);
    Emit(*dc, s, false, false);
    return TRUE;
}

BOOL PolyBezierTo(HDC hdc, const POINT* pts, DWORD count) {
    DC* dc = DcFrom(hdc);
    if (!dc || !pts || count < 3 || count % 3 != 0) return FALSE;
    std::vector<POINT> d = DevicePoints(*dc, pts, count);
    d.insert(d.begin(), ToDevice(*dc, dc->st.curPos));
    Record(*dc, "PolyBezierTo", d);
    Shape s;
    for (size_t i = 0; i < d.size(); ++i) Add(s, d[i], i ? PT_BEZIERTO : PT_MOVETO);
    Emit(*dc, s, true, false);
    dc->st.curPos = pts[count - 1];
    return TRUE;
}

namespace win32 {
namespace gdi {

bool ValidPolyDrawTypes(const BYTE* types, int count) {
    // Béziers come in threes, and only the known types occur.
    for (int i = 0; i < count; ++i) {
        const BYTE t = types[i] & ~PT_CLOSEFIGURE;
        if (t == PT_BEZIERTO) {
            if (i + 2 >= count || (types[i + 1] & ~PT_CLOSEFIGURE) != PT_BEZIERTO ||
                (types[i + 2] & ~PT_CLOSEFIGURE) != PT_BEZIERTO)
                return false;
            i += 2;
        } else if (t != PT_MOVETO && t != PT_LINETO) {
            return false;
        }
    }
    return true;
}

}  // namespace gdi
}  // namespace win32

BOOL PolyDraw(HDC hdc, const POINT* pts, const BYTE* types, int count) {
    DC* dc = DcFrom(hdc);
    if (!dc || !pts || !types || count < 1) return FALSE;
    if (!ValidPolyDrawTypes(types, count)) return FALSE;
    std::vector<POINT> d = DevicePoints(*dc, pts, (size_t)count);
    if (GdiRecord* r = Record(*dc, "PolyDraw", d)) r->types.assign(types, types + count);
    Shape s;
    POINT start = ToDevice(*dc, dc->st.curPos);
    if ((types[0] & ~PT_CLOSEFIGURE) != PT_MOVETO) Add(s, start, PT_MOVETO);
    for (int i = 0; i < count; ++i) {
        BYTE t = types[i] & ~PT_CLOSEFIGURE;
        Add(s, d[i], t);
        if (t == PT_MOVETO) start = d[i];
        if (types[i] & PT_CLOSEFIGURE) {
            CloseLast(s);
            // GDI moves back to the figure's start after a close.
            if (i + 1 < count && (types[i + 1] & ~PT_CLOSEFIGURE) != PT_MOVETO) Add(s, start, PT_MOVETO);
        }
    }
    Emit(*dc, s, (types[0] & ~PT_CLOSEFIGURE) != PT_MOVETO, false);
    dc->st.curPos = pts[count - 1];
    return TRUE;
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF c) {
    DC* dc = DcFrom(hdc);
    if (!dc) return CLR_INVALID;
    POINT p = ToDevice(*dc, x, y);
    if (GdiRecord* r = Record(*dc, "SetPixel", {p})) r->textColor = c;
    Bitmap* b = dc->Surface();
    if (!b || p.x < 0 || p.y < 0 || p.x >= b->width || p.y >= b->height) return CLR_INVALID;
    if (dc->st.hasClip && !dc->st.clip.Contains(p.x, p.y)) return CLR_INVALID;
    uint32_t v = ColorToPixel(*b, c & 0xFFFFFF);
    SetPixelValue(*b, p.x, p.y, v);
    return PixelToColor(*b, v);
}

BOOL SetPixelV(HDC hdc, int x, int y, COLORREF c) { return SetPixel(hdc, x, y, c) != CLR_INVALID; }

COLORREF GetPixel(HDC hdc, int x, int y) {
    DC* dc = DcFrom(hdc);
    if (!dc) return CLR_INVALID;
    POINT p = ToDevice(*dc, x, y);
    Bitmap* b = dc->Surface();
    if (!b || p.x < 0 || p.y < 0 || p.x >= b->width || p.y >= b->height) return CLR_INVALID;
    if (dc->st.hasClip && !dc->st.clip.Contains(p.x, p.y)) return CLR_INVALID;
    return PixelToColor(*b, GetPixelValue(*b, p.x, p.y));
}
