#include "SymbolRender.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

namespace quenby {

namespace {

const double kPi = 3.14159265358979323846;
const DWORD kStrokeStyle = 0x200;  // solid, flat ends, round joins: dashes end exactly where they should
const double kMaxDashRuns = 100000.0;

struct DPoint {
    double x, y;
};

LONG ClampAdd(LONG a, LONG b) {
    long long v = static_cast<long long>(a) + b;
    return static_cast<LONG>(std::min<long long>(std::max<long long>(v, INT32_MIN), INT32_MAX));
}

POINT ToPoint(const DPoint& p) { return POINT{RoundToLong(p.x), RoundToLong(p.y)}; }

RECT Normalized(const RECT& r) {
    return RECT{std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
                std::max(r.top, r.bottom)};
}

double Wrap2Pi(double a) {
    a = std::fmod(a, 2 * kPi);
    if (a < 0) a += 2 * kPi;
    return a;
}

// Points of the arc of the ellipse in box (library frame, y up) from the radial through start,
// counter-clockwise, to the radial through end (equal radials: the whole ellipse).
std::vector<POINT> LibArcPoints(const RECT& box, const POINT& start, const POINT& end) {
    const RECT b = Normalized(box);
    const double cx = (b.left + static_cast<double>(b.right)) / 2, cy = (b.top + static_cast<double>(b.bottom)) / 2;
    const double rx = (b.right - static_cast<double>(b.left)) / 2, ry = (b.bottom - static_cast<double>(b.top)) / 2;
    std::vector<POINT> pts;
    if (rx <= 0 || ry <= 0) return pts;
    const double a0 = std::atan2((start.y - cy) / ry, (start.x - cx) / rx);
    const double a1 = std::atan2((end.y - cy) / ry, (end.x - cx) / rx);
    double sweep = Wrap2Pi(a1 - a0);
    if (sweep == 0) sweep = 2 * kPi;
    const int n = std::max(4, static_cast<int>(std::ceil(sweep / (2 * kPi) * 72)));
    for (int i = 0; i <= n; ++i) {
        const double t = a0 + sweep * i / n;
        pts.push_back(POINT{RoundToLong(cx + rx * std::cos(t)), RoundToLong(cy + ry * std::sin(t))});
    }
    return pts;
}

POINT LibCentre(const RECT& box) {
    return POINT{static_cast<LONG>((static_cast<long long>(box.left) + box.right) / 2),
                 static_cast<LONG>((static_cast<long long>(box.top) + box.bottom) / 2)};
}

bool IsSquare(const RECT& box) {
    return std::llabs(static_cast<long long>(box.right) - box.left) ==
           std::llabs(static_cast<long long>(box.bottom) - box.top);
}

Ring MapPoints(const Frame& frame, const std::vector<POINT>& lib) {
    Ring out;
    out.reserve(lib.size());
    for (const POINT& p : lib) out.push_back(frame.Point(p));
    return out;
}

// The line's points with consecutive repeats dropped.
std::vector<DPoint> CleanPath(const Ring& line) {
    std::vector<DPoint> path;
    for (const POINT& p : line) {
        if (!path.empty() && path.back().x == p.x && path.back().y == p.y) continue;
        path.push_back(DPoint{static_cast<double>(p.x), static_cast<double>(p.y)});
    }
    return path;
}

// The path moved sideways by off (positive: the viewer's left of the direction of travel), with mitred
// corners (bevelled where a mitre would reach too far).
std::vector<DPoint> OffsetPath(const std::vector<DPoint>& path, double off, bool closed, bool flipped) {
    if (off == 0) return path;
    const size_t n = path.size();
    std::vector<DPoint> normals(n - 1);
    for (size_t i = 0; i + 1 < n; ++i) {
        double dx = path[i + 1].x - path[i].x, dy = path[i + 1].y - path[i].y;
        double len = std::hypot(dx, dy);
        dx /= len;
        dy /= len;
        normals[i] = flipped ? DPoint{dy, -dx} : DPoint{-dy, dx};
    }
    auto join = [&](const DPoint& p, const DPoint& a, const DPoint& b, std::vector<DPoint>& out) {
        const double dot = a.x * b.x + a.y * b.y;
        if (1 + dot < 0.15) {
            out.push_back(DPoint{p.x + off * a.x, p.y + off * a.y});
            out.push_back(DPoint{p.x + off * b.x, p.y + off * b.y});
        } else {
            out.push_back(DPoint{p.x + off * (a.x + b.x) / (1 + dot), p.y + off * (a.y + b.y) / (1 + dot)});
        }
    };
    std::vector<DPoint> out;
    if (closed) {
        // The corner at the first point opens and closes the ring: it starts on the first side's
        // point and ends with the whole corner, so no side is drawn twice.
        std::vector<DPoint> first;
        join(path[0], normals[n - 2], normals[0], first);
        out.push_back(first.back());
        for (size_t i = 1; i + 1 < n; ++i) join(path[i], normals[i - 1], normals[i], out);
        out.insert(out.end(), first.begin(), first.end());
    } else {
        out.push_back(DPoint{path[0].x + off * normals[0].x, path[0].y + off * normals[0].y});
        for (size_t i = 1; i + 1 < n; ++i) join(path[i], normals[i - 1], normals[i], out);
        out.push_back(DPoint{path[n - 1].x + off * normals[n - 2].x, path[n - 1].y + off * normals[n - 2].y});
    }
    return out;
}

Ring ToRing(const std::vector<DPoint>& pts) {
    Ring r;
    r.reserve(pts.size());
    for (const DPoint& p : pts) {
        POINT q = ToPoint(p);
        if (r.empty() || r.back().x != q.x || r.back().y != q.y) r.push_back(q);
    }
    if (r.size() == 1) r.push_back(r.front());
    return r;
}

// Lays the on-off pattern along the points and hands every "on" run to the sink.
void Dash(const std::vector<DPoint>& pts, const std::vector<LONG>& pattern, COLORREF cr, LONG width, Sink& sink) {
    double total = 0, cycle = 0;
    for (size_t i = 0; i + 1 < pts.size(); ++i) total += std::hypot(pts[i + 1].x - pts[i].x, pts[i + 1].y - pts[i].y);
    for (LONG d : pattern) cycle += d;
    if (total / cycle * static_cast<double>(pattern.size()) > kMaxDashRuns) {  // too fine to see: solid
        sink.Lines(ToRing(pts), cr, width, kStrokeStyle);
        return;
    }
    size_t k = 0;
    double rem = pattern[0];
    bool on = true;
    std::vector<DPoint> run{pts[0]};
    for (size_t i = 0; i + 1 < pts.size(); ++i) {
        const DPoint a = pts[i], b = pts[i + 1];
        const double len = std::hypot(b.x - a.x, b.y - a.y);
        double t = 0;
        while (len - t > rem) {
            t += rem;
            const DPoint q{a.x + (b.x - a.x) * t / len, a.y + (b.y - a.y) * t / len};
            if (on) {
                run.push_back(q);
                sink.Lines(ToRing(run), cr, width, kStrokeStyle);
                run.clear();
            } else {
                run.assign(1, q);
            }
            on = !on;
            k = (k + 1) % pattern.size();
            rem = pattern[k];
        }
        rem -= len - t;
        if (on) run.push_back(b);
    }
    if (on && run.size() >= 2) sink.Lines(ToRing(run), cr, width, kStrokeStyle);
}

}  // namespace

LONG RoundToLong(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return INT32_MAX;
    if (v <= -2147483648.0) return INT32_MIN;
    return static_cast<LONG>(std::round(v));
}

// ---------------------------------------------------------------------------------------------------
// Bounds

void BoundsSink::Add(LONG x, LONG y, LONG pad) {
    RECT r{ClampAdd(x, -pad), ClampAdd(y, -pad), ClampAdd(x, pad), ClampAdd(y, pad)};
    if (empty) {
        bounds = r;
        empty = false;
        return;
    }
    bounds.left = std::min(bounds.left, r.left);
    bounds.top = std::min(bounds.top, r.top);
    bounds.right = std::max(bounds.right, r.right);
    bounds.bottom = std::max(bounds.bottom, r.bottom);
}

void BoundsSink::Lines(const Ring& pts, COLORREF, LONG width, DWORD) {
    for (const POINT& p : pts) Add(p.x, p.y, width / 2 + 1);
}

void BoundsSink::Area(const std::vector<Ring>& rings, COLORREF, LONG width, DWORD, COLORREF, BYTE) {
    for (const Ring& r : rings) Lines(r, 0, width, 0);
}

void BoundsSink::Text(const POINT& topLeft, COLORREF, LONG height, const CString&, const CString& text, double) {
    // Text may turn about its corner: a square that holds it in any direction.
    long long reach = static_cast<long long>(std::llabs(height)) * (text.GetLength() / 2 + 2);
    Add(topLeft.x, topLeft.y, static_cast<LONG>(std::min<long long>(reach, INT32_MAX / 2)));
}

void BoundsSink::Ellipse(const RECT& box, COLORREF, LONG width, DWORD, COLORREF, BYTE) {
    Add(box.left, box.top, width / 2 + 1);
    Add(box.right, box.bottom, width / 2 + 1);
}

void BoundsSink::Arc(const RECT& box, const POINT&, const POINT&, COLORREF, LONG width, DWORD, COLORREF, BYTE, BYTE) {
    Ellipse(box, 0, width, 0, 0, 0);
}

void BoundsSink::Chord(const RECT& box, const POINT&, const POINT&, COLORREF, LONG width, DWORD, COLORREF, BYTE) {
    Ellipse(box, 0, width, 0, 0, 0);
}

// ---------------------------------------------------------------------------------------------------
// Device contexts

DcSink::DcSink(HDC hdc, bool xorMode) : ok(false), m_hdc(hdc), m_xor(xorMode), m_saved(0) {
    if (!hdc) return;
    m_saved = SaveDC(hdc);
    if (m_saved == 0) return;
    ok = true;
    SetROP2(hdc, xorMode ? R2_NOTXORPEN : R2_COPYPEN);
    SetBkMode(hdc, TRANSPARENT);
    SetPolyFillMode(hdc, ALTERNATE);
}

DcSink::~DcSink() {
    if (ok) RestoreDC(m_hdc, m_saved);
}

HGDIOBJ DcSink::MakePen(COLORREF cr, LONG width, DWORD style) const {
    DWORD kind = style & PS_STYLE_MASK;
    if (kind == PS_NULL) return GetStockObject(NULL_PEN);
    if (kind == PS_USERSTYLE || kind > PS_ALTERNATE) kind = PS_SOLID;
    if (width <= 1) return CreatePen(static_cast<int>(kind == PS_ALTERNATE ? PS_SOLID : kind), 0, cr);
    LOGBRUSH lb{BS_SOLID, cr, 0};
    HPEN pen = ExtCreatePen(PS_GEOMETRIC | kind | (style & (PS_ENDCAP_MASK | PS_JOIN_MASK)),
                            static_cast<DWORD>(width), &lb, 0, nullptr);
    if (!pen) pen = CreatePen(PS_SOLID, width, cr);
    return pen;
}

HGDIOBJ DcSink::MakeBrush(COLORREF cr, BYTE fillStyle) const {
    if (fillStyle >= QUENBY_FILL_HATCH_FIRST && fillStyle <= QUENBY_FILL_HATCH_LAST)
        return CreateHatchBrush(fillStyle - QUENBY_FILL_HATCH_FIRST, cr);
    if (fillStyle == QUENBY_FILL_SOLID || fillStyle == QUENBY_FILL_TRANSPARENT) return CreateSolidBrush(cr);
    return GetStockObject(NULL_BRUSH);
}

void DcSink::WithObjects(COLORREF crLine, LONG width, DWORD style, COLORREF crFill, BYTE fillStyle,
                         const std::function<void()>& draw) {
    auto pass = [&](HGDIOBJ pen, HGDIOBJ brush, int rop) {
        HGDIOBJ oldPen = SelectObject(m_hdc, pen);
        HGDIOBJ oldBrush = SelectObject(m_hdc, brush);
        int oldRop = rop ? SetROP2(m_hdc, rop) : 0;
        draw();
        if (oldRop) SetROP2(m_hdc, oldRop);
        SelectObject(m_hdc, oldPen);
        SelectObject(m_hdc, oldBrush);
        DeleteObject(pen);    // stock objects are left alone by DeleteObject
        DeleteObject(brush);
    };
    if (fillStyle == QUENBY_FILL_TRANSPARENT && !m_xor) {
        pass(GetStockObject(NULL_PEN), MakeBrush(crFill, fillStyle), R2_MASKPEN);
        pass(MakePen(crLine, width, style), GetStockObject(NULL_BRUSH), 0);
    } else {
        pass(MakePen(crLine, width, style), MakeBrush(crFill, fillStyle), 0);
    }
}

void DcSink::Lines(const Ring& pts, COLORREF cr, LONG width, DWORD style) {
    if (pts.size() < 2) return;
    WithObjects(cr, width, style, 0, QUENBY_FILL_NONE,
                [&] { Polyline(m_hdc, pts.data(), static_cast<int>(pts.size())); });
}

void DcSink::Area(const std::vector<Ring>& rings, COLORREF crLine, LONG width, DWORD style, COLORREF crFill,
                  BYTE fillStyle) {
    Ring all;
    std::vector<INT> counts;
    for (const Ring& r : rings) {
        if (r.size() < 2) continue;
        all.insert(all.end(), r.begin(), r.end());
        counts.push_back(static_cast<INT>(r.size()));
    }
    if (counts.empty()) return;
    WithObjects(crLine, width, style, crFill, fillStyle,
                [&] { PolyPolygon(m_hdc, all.data(), counts.data(), static_cast<int>(counts.size())); });
}

void DcSink::Text(const POINT& topLeft, COLORREF cr, LONG height, const CString& face, const CString& text,
                  double angleDegrees) {
    if (text.IsEmpty() || height == 0) return;
    const int escapement = static_cast<int>(RoundToLong(angleDegrees * 10));
    HFONT font = CreateFontA(-std::abs(height), 0, escapement, escapement, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0,
                             m_xor ? NONANTIALIASED_QUALITY : 0, 0, face);
    HGDIOBJ oldFont = SelectObject(m_hdc, font);
    SetTextAlign(m_hdc, TA_LEFT | TA_TOP);
    if (m_xor) {
        // Text ignores the raster operation; its outline, filled as a path, does not.
        BeginPath(m_hdc);
        TextOutA(m_hdc, topLeft.x, topLeft.y, text, text.GetLength());
        EndPath(m_hdc);
        HGDIOBJ brush = CreateSolidBrush(cr);
        HGDIOBJ oldBrush = SelectObject(m_hdc, brush);
        HGDIOBJ oldPen = SelectObject(m_hdc, GetStockObject(NULL_PEN));
        FillPath(m_hdc);
        SelectObject(m_hdc, oldPen);
        SelectObject(m_hdc, oldBrush);
        DeleteObject(brush);
    } else {
        SetTextColor(m_hdc, cr);
        TextOutA(m_hdc, topLeft.x, topLeft.y, text, text.GetLength());
    }
    SelectObject(m_hdc, oldFont);
    DeleteObject(font);
}

void DcSink::Ellipse(const RECT& box, COLORREF crLine, LONG width, DWORD style, COLORREF crFill, BYTE fillStyle) {
    const RECT b = Normalized(box);
    WithObjects(crLine, width, style, crFill, fillStyle, [&] { ::Ellipse(m_hdc, b.left, b.top, b.right, b.bottom); });
}

void DcSink::Arc(const RECT& box, const POINT& start, const POINT& end, COLORREF crLine, LONG width, DWORD style,
                 COLORREF crFill, BYTE fillStyle, BYTE pie) {
    const RECT b = Normalized(box);
    if (pie) {
        WithObjects(crLine, width, style, crFill, fillStyle,
                    [&] { Pie(m_hdc, b.left, b.top, b.right, b.bottom, start.x, start.y, end.x, end.y); });
    } else {
        WithObjects(crLine, width, style, 0, QUENBY_FILL_NONE,
                    [&] { ::Arc(m_hdc, b.left, b.top, b.right, b.bottom, start.x, start.y, end.x, end.y); });
    }
}

void DcSink::Chord(const RECT& box, const POINT& start, const POINT& end, COLORREF crLine, LONG width, DWORD style,
                   COLORREF crFill, BYTE fillStyle) {
    const RECT b = Normalized(box);
    WithObjects(crLine, width, style, crFill, fillStyle,
                [&] { ::Chord(m_hdc, b.left, b.top, b.right, b.bottom, start.x, start.y, end.x, end.y); });
}

// ---------------------------------------------------------------------------------------------------
// Outputers

void OutputSink::Lines(const Ring& pts, COLORREF cr, LONG width, DWORD style) {
    if (pts.empty()) return;
    m_io->OnOutputPolyLine(m_out, pts.data(), static_cast<LONG>(pts.size()), cr, static_cast<DWORD>(width), style, 0,
                           m_clip, m_context);
}

void OutputSink::Area(const std::vector<Ring>& rings, COLORREF crLine, LONG width, DWORD style, COLORREF crFill,
                      BYTE fillStyle) {
    for (const Ring& r : rings) {
        if (r.empty()) continue;
        m_io->OnOutputPolygon(m_out, r.data(), static_cast<LONG>(r.size()), crLine, static_cast<DWORD>(width), style,
                              crFill, fillStyle, 0, m_clip, m_context);
    }
}

void OutputSink::Text(const POINT& topLeft, COLORREF cr, LONG height, const CString& face, const CString& text,
                      double angleDegrees) {
    LOGFONT font;
    std::memset(&font, 0, sizeof font);
    font.lfHeight = height;
    font.lfEscapement = font.lfOrientation = RoundToLong(angleDegrees * 10);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = GB2312_CHARSET;
    std::strncpy(font.lfFaceName, face, sizeof font.lfFaceName - 1);
    m_io->OnOutputAnno(m_out, topLeft, cr, font, text, m_clip, m_context);
}

void OutputSink::Ellipse(const RECT& box, COLORREF crLine, LONG width, DWORD style, COLORREF crFill, BYTE fillStyle) {
    m_io->OnOutputEllipse(m_out, &box, crLine, static_cast<DWORD>(width), style, crFill, fillStyle, m_clip, m_context);
}

void OutputSink::Arc(const RECT& box, const POINT& start, const POINT& end, COLORREF crLine, LONG width, DWORD style,
                     COLORREF crFill, BYTE fillStyle, BYTE pie) {
    m_io->OnOutputArc(m_out, &box, start, end, crLine, static_cast<DWORD>(width), style, crFill, fillStyle, pie, m_clip,
                      m_context);
}

void OutputSink::Chord(const RECT& box, const POINT& start, const POINT& end, COLORREF crLine, LONG width,
                       DWORD style, COLORREF crFill, BYTE fillStyle) {
    m_io->OnOutputChord(m_out, &box, start, end, crLine, static_cast<DWORD>(width), style, crFill, fillStyle, m_clip,
                        m_context);
}

// ---------------------------------------------------------------------------------------------------
// Frames

HookFrame::HookFrame(CSymbolLibIO* io, void* context, const POINT& anchor, const POINT& origin, double angleDegrees)
    : m_io(io), m_context(context), m_anchor(anchor), m_origin(origin), m_angle(angleDegrees), m_rotated(false) {
    double libDegrees = std::fmod(-angleDegrees, 360.0);
    if (std::isnan(libDegrees)) libDegrees = 0;
    if (libDegrees < 0) libDegrees += 360.0;
    if (libDegrees != 0 && libDegrees != 360.0) {
        double systemAngle = 0;
        m_io->OnLibToSystomAngle(libDegrees * kPi / 180.0, systemAngle, m_context);
        m_sin = std::sin(systemAngle);
        m_cos = std::cos(systemAngle);
        m_rotated = true;
    }
}

POINT HookFrame::Point(const POINT& lib) const {
    POINT rel{ClampAdd(lib.x, -m_origin.x), ClampAdd(lib.y, -m_origin.y)};
    POINT p{0, 0};
    m_io->OnLibToSystomPoint(rel, p, m_context);
    if (m_rotated) {
        POINT q{0, 0};
        m_io->OnRotatePoint(m_sin, m_cos, p, q, m_context);
        p = q;
    }
    return POINT{ClampAdd(m_anchor.x, p.x), ClampAdd(m_anchor.y, p.y)};
}

LONG HookFrame::Length(LONG lib) const {
    LONG out = 0;
    m_io->OnLibToSystomLength(lib, out, m_context);
    return out;
}

FitFrame::FitFrame(const RECT& lib, const RECT& system, bool keepAspect, std::function<LONG(LONG)> length)
    : m_length(std::move(length)) {
    const RECT l = Normalized(lib);
    m_libLeft = l.left;
    m_libTop = l.bottom;  // library y points up: the larger y is the viewer's top
    const double lw = std::max(1.0, static_cast<double>(l.right) - l.left);
    const double lh = std::max(1.0, static_cast<double>(l.bottom) - l.top);
    const double sw = static_cast<double>(system.right) - system.left;
    const double sh = static_cast<double>(system.bottom) - system.top;
    m_sx = sw / lw;
    m_sy = sh / lh;
    m_x0 = system.left;
    m_y0 = system.top;
    if (keepAspect) {
        const double k = std::min(std::fabs(m_sx), std::fabs(m_sy));
        m_sx = m_sx < 0 ? -k : k;
        m_sy = m_sy < 0 ? -k : k;
        m_x0 += (sw - m_sx * lw) / 2;
        m_y0 += (sh - m_sy * lh) / 2;
    }
}

POINT FitFrame::Point(const POINT& lib) const {
    return POINT{RoundToLong(m_x0 + (lib.x - m_libLeft) * m_sx), RoundToLong(m_y0 + (m_libTop - lib.y) * m_sy)};
}

// ---------------------------------------------------------------------------------------------------
// Renderers

Overrides ResolveOverrides(const CSymbolAttrib* attrib, const CQuenby& symbol, DWORD unitsPerMM) {
    Overrides ov;
    if (!attrib) return ov;
    ov.color = attrib->GetColorOverride(ov.cr) != FALSE;
    LONG width = 0;
    const DWORD kind = symbol.GetKind();
    if ((kind == QUENBY_LINE_SYMBOL || kind == QUENBY_FILL_SYMBOL) && attrib->GetWidthOverride(width) && width >= 0) {
        ov.width = true;
        ov.widthLib = RoundToLong(width * static_cast<double>(unitsPerMM) / 100.0);
    }
    return ov;
}

void RenderPrimitives(const std::vector<QuenbyPrimitive>& prims, const Frame& frame, const Overrides& ov, Sink& sink) {
    for (const QuenbyPrimitive& p : prims) {
        const COLORREF crLine = ov.color ? ov.cr : p.crLine;
        const COLORREF crFill = ov.color ? ov.cr : p.crFill;
        const LONG width = std::max<LONG>(0, frame.Length(p.nWidth));
        switch (p.nType) {
        case QUENBY_PRIM_POLYLINE: sink.Lines(MapPoints(frame, p.points), crLine, width, p.dwLineStyle); break;
        case QUENBY_PRIM_POLYGON:
            sink.Area({MapPoints(frame, p.points)}, crLine, width, p.dwLineStyle, crFill, p.byFillStyle);
            break;
        case QUENBY_PRIM_TEXT:
            sink.Text(frame.Point(p.ptText), crLine, frame.Length(p.nTextHeight), p.strFace, p.strText,
                      frame.TextAngle());
            break;
        case QUENBY_PRIM_ELLIPSE:
        case QUENBY_PRIM_ARC:
        case QUENBY_PRIM_CHORD: {
            RECT box;
            if (!frame.Rotated()) {
                const POINT a = frame.Point(POINT{p.rcBox.left, p.rcBox.top});
                const POINT b = frame.Point(POINT{p.rcBox.right, p.rcBox.bottom});
                box = RECT{a.x, a.y, b.x, b.y};
            } else if (IsSquare(p.rcBox)) {
                // A circle turns into itself: only its centre moves.
                const POINT c = frame.Point(LibCentre(p.rcBox));
                const LONG r = frame.Length(static_cast<LONG>(std::llabs(static_cast<long long>(p.rcBox.right) - p.rcBox.left) / 2));
                box = RECT{ClampAdd(c.x, -r), ClampAdd(c.y, -r), ClampAdd(c.x, r), ClampAdd(c.y, r)};
            } else {
                // A turned ellipse is drawn from its outline.
                const POINT centre = LibCentre(p.rcBox);
                std::vector<POINT> lib = p.nType == QUENBY_PRIM_ELLIPSE
                                             ? LibArcPoints(p.rcBox, POINT{p.rcBox.right, centre.y},
                                                            POINT{p.rcBox.right, centre.y})
                                             : LibArcPoints(p.rcBox, p.ptStart, p.ptEnd);
                if (lib.empty()) break;
                if (p.nType == QUENBY_PRIM_ARC && !p.byPie) {
                    sink.Lines(MapPoints(frame, lib), crLine, width, p.dwLineStyle);
                    break;
                }
                if (p.nType == QUENBY_PRIM_ARC) {
                    lib.insert(lib.begin(), centre);
                    lib.push_back(centre);
                } else {
                    lib.push_back(lib.front());
                }
                sink.Area({MapPoints(frame, lib)}, crLine, width, p.dwLineStyle, crFill, p.byFillStyle);
                break;
            }
            if (p.nType == QUENBY_PRIM_ELLIPSE)
                sink.Ellipse(box, crLine, width, p.dwLineStyle, crFill, p.byFillStyle);
            else if (p.nType == QUENBY_PRIM_ARC)
                sink.Arc(box, frame.Point(p.ptStart), frame.Point(p.ptEnd), crLine, width, p.dwLineStyle, crFill,
                         p.byFillStyle, p.byPie);
            else
                sink.Chord(box, frame.Point(p.ptStart), frame.Point(p.ptEnd), crLine, width, p.dwLineStyle, crFill,
                           p.byFillStyle);
            break;
        }
        default: break;
        }
    }
}

void RenderStrokes(const std::vector<QuenbyStroke>& strokes, const Ring& line, const StrokeSpace& space,
                   const Overrides& ov, Sink& sink) {
    const std::vector<DPoint> path = CleanPath(line);
    if (path.size() < 2) return;
    const bool closed = path.size() >= 4 && path.front().x == path.back().x && path.front().y == path.back().y;
    for (const QuenbyStroke& s : strokes) {
        const COLORREF cr = ov.color ? ov.cr : s.crColor;
        const LONG width = std::max<LONG>(0, space.length(ov.width ? ov.widthLib : s.nWidth));
        const std::vector<DPoint> pts = OffsetPath(path, space.length(s.nOffset), closed, space.flipped);
        std::vector<LONG> pattern;
        for (LONG d : s.dashes) pattern.push_back(std::max<LONG>(1, space.length(d)));
        if (pattern.empty())
            sink.Lines(ToRing(pts), cr, width, kStrokeStyle);
        else
            Dash(pts, pattern, cr, width, sink);
    }
}

void RenderFill(const CGeoFillSymbol& fill, const std::vector<Ring>& rings, const StrokeSpace& space,
                const Overrides& ov, Sink& sink) {
    const COLORREF cr = ov.color ? ov.cr : fill.m_crFill;
    if (fill.m_byFillStyle != QUENBY_FILL_NONE) sink.Area(rings, cr, 0, PS_NULL, cr, fill.m_byFillStyle);
    for (Ring ring : rings) {
        if (ring.empty()) continue;
        if (ring.front().x != ring.back().x || ring.front().y != ring.back().y) ring.push_back(ring.front());
        RenderStrokes(fill.m_border, ring, space, ov, sink);
    }
}

bool PrimitiveBounds(const std::vector<QuenbyPrimitive>& prims, RECT& rc) {
    bool any = false;
    auto add = [&](LONG x, LONG y) {
        if (!any) {
            rc = RECT{x, y, x, y};
            any = true;
            return;
        }
        rc.left = std::min(rc.left, x);
        rc.top = std::min(rc.top, y);
        rc.right = std::max(rc.right, x);
        rc.bottom = std::max(rc.bottom, y);
    };
    for (const QuenbyPrimitive& p : prims) {
        switch (p.nType) {
        case QUENBY_PRIM_POLYLINE:
        case QUENBY_PRIM_POLYGON:
            for (const POINT& q : p.points) add(q.x, q.y);
            break;
        case QUENBY_PRIM_TEXT:
            add(p.ptText.x, p.ptText.y);
            add(ClampAdd(p.ptText.x, static_cast<LONG>(std::min<long long>(
                                         static_cast<long long>(p.nTextHeight) * p.strText.GetLength() / 2, INT32_MAX))),
                ClampAdd(p.ptText.y, -p.nTextHeight));
            break;
        default:
            add(p.rcBox.left, p.rcBox.top);
            add(p.rcBox.right, p.rcBox.bottom);
            break;
        }
    }
    return any;
}

Ring EllipseRing(const RECT& box, bool flipped) {
    const RECT b = Normalized(box);
    const double cx = (b.left + static_cast<double>(b.right)) / 2, cy = (b.top + static_cast<double>(b.bottom)) / 2;
    const double rx = (b.right - static_cast<double>(b.left)) / 2, ry = (b.bottom - static_cast<double>(b.top)) / 2;
    const double perimeter = 2 * kPi * std::sqrt((rx * rx + ry * ry) / 2);
    const int n = std::max(16, std::min(720, static_cast<int>(perimeter / 3)));
    Ring ring;
    for (int i = 0; i < n; ++i) {
        const double t = 2 * kPi * i / n;
        ring.push_back(POINT{RoundToLong(cx + rx * std::cos(t)), RoundToLong(cy + ry * std::sin(t))});
    }
    if (flipped) std::reverse(ring.begin(), ring.end());
    ring.push_back(ring.front());
    return ring;
}

Ring RoundRectRing(const RECT& box, const POINT& corner, bool flipped) {
    const RECT b = Normalized(box);
    const double w = static_cast<double>(b.right) - b.left, h = static_cast<double>(b.bottom) - b.top;
    const double rx = std::min(std::fabs(static_cast<double>(corner.x)) / 2, w / 2);
    const double ry = std::min(std::fabs(static_cast<double>(corner.y)) / 2, h / 2);
    const double centres[4][2] = {{b.right - rx, b.top + ry}, {b.right - rx, b.bottom - ry},
                                  {b.left + rx, b.bottom - ry}, {b.left + rx, b.top + ry}};
    const int steps = (rx > 0 && ry > 0) ? 9 : 0;
    Ring ring;
    for (int c = 0; c < 4; ++c) {
        const double a0 = -kPi / 2 + c * kPi / 2;
        for (int i = 0; i <= steps; ++i) {
            const double t = a0 + (kPi / 2) * (steps ? static_cast<double>(i) / steps : 0.0);
            POINT q{RoundToLong(centres[c][0] + rx * std::cos(t)), RoundToLong(centres[c][1] + ry * std::sin(t))};
            if (ring.empty() || ring.back().x != q.x || ring.back().y != q.y) ring.push_back(q);
        }
    }
    if (flipped) std::reverse(ring.begin(), ring.end());
    ring.push_back(ring.front());
    return ring;
}

Ring ThreePointArc(const POINT& p1, const POINT& p2, const POINT& p3) {
    const double ax = p1.x, ay = p1.y, bx = p2.x, by = p2.y, cx = p3.x, cy = p3.y;
    const double d = 2 * (ax * (by - cy) + bx * (cy - ay) + cx * (ay - by));
    if (std::fabs(d) < 1e-9) return Ring{p1, p2, p3};
    const double a2 = ax * ax + ay * ay, b2 = bx * bx + by * by, c2 = cx * cx + cy * cy;
    const double ux = (a2 * (by - cy) + b2 * (cy - ay) + c2 * (ay - by)) / d;
    const double uy = (a2 * (cx - bx) + b2 * (ax - cx) + c2 * (bx - ax)) / d;
    const double r = std::hypot(ax - ux, ay - uy);
    const double t1 = std::atan2(ay - uy, ax - ux), t2 = std::atan2(by - uy, bx - ux), t3 = std::atan2(cy - uy, cx - ux);
    const double s13 = Wrap2Pi(t3 - t1), s12 = Wrap2Pi(t2 - t1);
    const double sweep = s12 <= s13 ? s13 : s13 - 2 * kPi;
    const int n = std::max(2, std::min(720, static_cast<int>(std::ceil(std::fabs(sweep) / (kPi / 36)))));
    Ring ring{p1};
    for (int i = 1; i < n; ++i) {
        const double t = t1 + sweep * i / n;
        ring.push_back(POINT{RoundToLong(ux + r * std::cos(t)), RoundToLong(uy + r * std::sin(t))});
    }
    ring.push_back(p3);
    return ring;
}

}  // namespace quenby
