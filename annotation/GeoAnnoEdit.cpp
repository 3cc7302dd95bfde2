// CGeoAnno: the editing geometry of an annotation (handles, drags, hit tests, moves, turns, transforms
// and changes of position type).
#include "annotation/DrawGeoAnno.h"
#include "annotation/AnnoCharPositions.h"
#include "annotation/AnnoLayout.h"
#include "annotation/FormatText.h"
#include "annotation/GeoAnno.h"
#include "core/CoreResources.h"
#include "core/GeoSettings.h"
#include "core/GeoView.h"

#include <afx/CursorResource.h>
#include <afx/Dc.h>
#include <ostrel/Contact.h>
#include <ostrel/Measure.h>
#include <ostrel/Units.h>
#include <pellion/GeoCoordinateTransformer.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

namespace {

// The kind a drag continues with after crossing the opposite edge, stored negated; 0 or the last kind
// dragged otherwise. Shared by every annotation of the process.
int s_nFlippedHandle = 0;

const double kPi = 3.1415926;

// Tenths of a degree -> radians.
double TenthsToRadians(double tenths) { return tenths * kPi / 10 / 180; }

LONG ClampLong(double v) {
    if (!(v == v)) return 0;
    if (v >= 2147483647.0) return INT_MAX;
    if (v <= -2147483648.0) return INT_MIN;
    return static_cast<LONG>(v);
}
// trunc(v + 0.5)
int Round(double v) { return ClampLong(std::trunc(v + 0.5)); }
int Trunc(double v) { return ClampLong(std::trunc(v)); }

LONG Mid(LONG a, LONG b) { return Trunc(a / 2.0 + b / 2.0); }

// The point of kind k (1..8) on four corners (left-bottom, right-bottom, right-top, left-top).
CPoint KindPoint(const CPoint pts[4], int k) {
    switch (k) {
    case 1: return pts[0];
    case 2: return CPoint(Mid(pts[0].x, pts[1].x), Mid(pts[0].y, pts[1].y));
    case 3: return pts[1];
    case 4: return CPoint(Mid(pts[1].x, pts[2].x), Mid(pts[1].y, pts[2].y));
    case 5: return pts[2];
    case 6: return CPoint(Mid(pts[2].x, pts[3].x), Mid(pts[2].y, pts[3].y));
    case 7: return pts[3];
    case 8: return CPoint(Mid(pts[0].x, pts[3].x), Mid(pts[0].y, pts[3].y));
    default: return CPoint(0, 0);
    }
}

// The members of r that handle kind k stands for take p (top is the smaller y).
void SetKindMembers(CRect& r, int k, CPoint p) {
    switch (k) {
    case 2: r.top = p.y; break;
    case 3: r.right = p.x; r.top = p.y; break;
    case 4: r.right = p.x; break;
    case 5: r.right = p.x; r.bottom = p.y; break;
    case 6: r.bottom = p.y; break;
    case 7: r.left = p.x; r.bottom = p.y; break;
    case 8: r.left = p.x; break;
    default: r.left = p.x; r.top = p.y; break;
    }
}

// The kind a drag continues with once the box is inside out; 0 when the kind stays.
int FlippedKind(const CRect& b, int k) {
    const bool flipY = b.bottom < b.top, flipX = b.right < b.left;
    if (flipY && flipX) {
        switch (k) {
        case 1: return 5;
        case 3: return 7;
        case 5: return 1;
        case 7: return 3;
        default: return 0;
        }
    }
    if (flipY) {
        switch (k) {
        case 1: return 7;
        case 2: return 6;
        case 3: return 5;
        case 5: return 3;
        case 6: return 2;
        case 7: return 1;
        default: return 0;
        }
    }
    if (flipX) {
        switch (k) {
        case 1: return 3;
        case 3: return 1;
        case 4: return 8;
        case 5: return 7;
        case 7: return 5;
        case 8: return 4;
        default: return 0;
        }
    }
    return 0;
}

// A scale factor (new - fixed) / (old - fixed); a negative one, and one that cannot be computed (an
// old extent equal to the fixed part), is taken as 1.0.
double Factor(double now, double before, double fixed) {
    const double den = before - fixed;
    if (den == 0.0) return 1.0;
    const double f = (now - fixed) / den;
    if (!std::isfinite(f) || f < 0.0) return 1.0;
    return f;
}

// Whether the closed outline of n points meets the normalised rectangle (its area counts too, so a
// rectangle inside a character box meets it).
bool OutlineMeets(const POINT* pts, int n, const RECT& r) { return PolygonXRect(pts, n, r) != 0; }

// The five-point outline (x, y) .. (x, y) of a box of w x h at p, turned about p by the angle (tenths).
void BoxOutline(CPoint p, int w, int h, double tenths, POINT out[5]) {
    out[0] = POINT{p.x, p.y};
    out[1] = POINT{ClampLong(static_cast<double>(p.x) + w), p.y};
    out[2] = POINT{ClampLong(static_cast<double>(p.x) + w), ClampLong(static_cast<double>(p.y) + h)};
    out[3] = POINT{p.x, ClampLong(static_cast<double>(p.y) + h)};
    out[4] = out[0];
    RotatePoints(p.x, p.y, out, out, 5, TenthsToRadians(tenths));
}

}  // namespace

void SetHandleZero() { s_nFlippedHandle = 0; }

// ---- helpers ----

bool CGeoAnno::GetMeasuredCorners(CPoint pts[4], int turned) const {
    const CPoint unset(INT_MIN, INT_MIN);
    CPoint four[4] = {unset, unset, unset, unset};
    GetFourPoints(four, turned, -1);
    if (four[0] == unset) return false;
    for (int i = 0; i < 4; ++i) pts[i] = four[i];
    return true;
}

int CGeoAnno::GetHandleKind(int nHandle) const {
    if (m_nPositionType == 2 || GetFormatStyle()) return nHandle;
    const int style = GetArrayStyle();
    if (style == ARRAY_ECHELON) {
        if (nHandle == 1) return 4;
        if (nHandle == 2) return 8;
    } else if (style == ARRAY_VERTICAL && m_byMoveFlag == 1) {
        if (nHandle == 1) return 2;
        if (nHandle == 2) return 6;
    }
    return nHandle;
}

CSize CGeoAnno::GetTextExtent(CDC*, UINT, const GEOVIEW&) const {
    if (m_strText.IsEmpty()) return CSize(0, 0);
    return CSize(m_rcBounds.Width(), m_rcBounds.Height());
}

// ---- handles ----

int CGeoAnno::GetHandleCount() const {
    if (m_nPositionType == 2) return 8;
    if (m_nPositionType == 6) return m_aPoints.GetSize();
    if (!GetFormatStyle()) {
        const int style = GetArrayStyle();
        if (style == ARRAY_ECHELON || (style == ARRAY_VERTICAL && m_byMoveFlag == 1)) return 2;
    }
    return 8;
}

CPoint CGeoAnno::GetHandle(int nHandle) const {
    if (m_nPositionType == 2) {
        const CRect& r = m_rcBounds;
        const LONG w = r.right - r.left, h = r.bottom - r.top;
        switch (nHandle) {
        case 1: return CPoint(r.left, r.top);
        case 2: return CPoint(r.left + w / 2, r.top);
        case 3: return CPoint(r.right, r.top);
        case 4: return CPoint(r.right, r.top + h / 2);
        case 5: return CPoint(r.right, r.bottom);
        case 6: return CPoint(r.left + w / 2, r.bottom);
        case 7: return CPoint(r.left, r.bottom);
        case 8: return CPoint(r.left, r.top + h / 2);
        default: return CPoint(0, 0);
        }
    }
    if (m_nPositionType == 6) return GetPositionPoint(nHandle - 1);
    CPoint pts[4];
    if (!GetMeasuredCorners(pts, 1)) return CPoint(0, 0);
    return KindPoint(pts, GetHandleKind(nHandle));
}

HCURSOR CGeoAnno::GetHandleCursor(int nHandle) const {
    if (m_nPositionType == 6) return AfxLoadCursorResource(IDC_GEO_HANDLE);
    const float a = GetEscapeAngle(0);
    const bool level = m_nPositionType == 2 || (a >= 0.0f && a <= 450.0f);
    switch (GetHandleKind(nHandle)) {
    case 1:
    case 5: return LoadCursor(nullptr, level ? IDC_SIZENESW : IDC_SIZENWSE);
    case 2:
    case 6: return LoadCursor(nullptr, level ? IDC_SIZENS : IDC_SIZEWE);
    case 3:
    case 7: return LoadCursor(nullptr, level ? IDC_SIZENWSE : IDC_SIZENESW);
    case 4:
    case 8: return LoadCursor(nullptr, level ? IDC_SIZEWE : IDC_SIZENS);
    default: return CGeoObject::GetHandleCursor(nHandle);
    }
}

int CGeoAnno::CanMoveHandle(int nHandle) const {
    if (m_byMoveFlag == 3 && (nHandle == 1 || nHandle == 3 || nHandle == 5 || nHandle == 7)) return 0;
    return 1;
}

int CGeoAnno::CanAddHandle(int) const { return 0; }

int CGeoAnno::CanDeleteHandle(int nHandle) const {
    if (m_nPositionType != 6) return 0;
    const int n = std::min(m_aPoints.GetSize(), GetStringCount(m_strText));
    return (n > 1 && nHandle >= 1 && nHandle <= n) ? 1 : 0;
}

void CGeoAnno::DeleteHandle(int nHandle) {
    if (!CanDeleteHandle(nHandle)) return;
    const int k = nHandle - 1;
    const int pos = FindCharPosition(k, m_strText);
    if (pos < 0) return;
    const int len = m_strText.GetLength();
    const int n = (static_cast<unsigned char>(m_strText[pos]) > 0x7F && pos + 1 < len) ? 2 : 1;
    m_strText.Delete(pos, n);
    m_aPoints.RemoveAt(k);
    m_aAngles.RemoveAt(k);
    CalculateAnnoBounds();
}

int CGeoAnno::ResizeToBox(const CRect& b0, const CRect& b) {
    const double W0 = static_cast<double>(b0.right) - b0.left, H0 = static_cast<double>(b0.bottom) - b0.top;
    const double W = static_cast<double>(b.right) - b.left, H = static_cast<double>(b.bottom) - b.top;
    const bool echelon = GetArrayStyle() == ARRAY_ECHELON;
    CStringArray rows;
    const int R = CalculateMultiLineRows(m_strText, rows, GetArrayStyle());
    const int M = GetMaxWords(rows);

    const int cw0 = m_nCharWidth, ch0 = m_nCharHeight, cs0 = m_nColSpace, rs0 = m_nRowSpace;
    // The part of the box that does not grow with the characters: the spacing of formatted text (its
    // measures with every leaf counted as 0), else the column and row spaces.
    double fixedW = static_cast<double>(M - 1) * m_nColSpace, fixedH = static_cast<double>(R - 1) * m_nRowSpace;
    if (GetFormatStyle()) {
        GEOANNO r = MakeGeoAnno();
        tagGEOFORMAT format = m_Format;
        fixedW = GetFormatWidth(m_strText, &r, &format, 0, 0);
        fixedH = GetFormatHeight(m_strText, &r, &format, 0, 0);
    }
    const double sx = std::fabs(Factor(W, W0, fixedW));
    const double sy = std::fabs(Factor(H, H0, fixedH));
    const double dW = W - W0, dH = H - H0;

    switch (m_byMoveFlag) {
    case 0:
        m_nCharWidth = Round(sx * m_nCharWidth);
        m_nCharHeight = Round(sy * m_nCharHeight);
        break;
    case 1:
        if (echelon) {
            if (R > 1) m_nColSpace += Round(dW / (R - 1));
        } else {
            if (R > 1) m_nRowSpace += Round(dH / (R - 1));
            if (M > 1) m_nColSpace += Round(dW / (M - 1));
        }
        break;
    case 2: {
        if (R < 2) {
            m_nCharHeight = Trunc(sy * m_nCharHeight);
        } else {
            if (m_nRowSpace == 0) m_nRowSpace = 1;
            const double ratio = static_cast<double>(m_nCharHeight) / std::abs(m_nRowSpace);
            if (ratio < 2 || ratio > 20) {
                const int s = Round(dH / (2 * R - 1));
                m_nCharHeight += s;
                m_nRowSpace += s;
            } else {
                const double total = static_cast<double>(R - 1) * m_nRowSpace + static_cast<double>(R) * m_nCharHeight;
                const double t = total != 0.0 ? dH / total : 0.0;
                const int ch = m_nCharHeight, rs = m_nRowSpace;
                m_nCharHeight += Round(ch * t);
                m_nRowSpace += Round(rs * t);
            }
        }
        if (M < 2) {
            m_nCharWidth = Round(sx * m_nCharWidth);
        } else {
            if (m_nColSpace == 0) m_nColSpace = 1;
            const double ratio = static_cast<double>(m_nCharWidth) / std::abs(m_nColSpace);
            if (ratio < 2 || ratio > 20) {
                const int s = Round(dW / (2 * M - 1));
                m_nCharWidth += s;
                m_nColSpace += s;
            } else {
                const int width = GetMaxWidth(rows, m_nCharWidth, m_nCharHeight, m_nColSpace, 0.0f, 0);
                const double t = width != 0 ? dW / width : 0.0;
                const int cw = m_nCharWidth, cs = m_nColSpace;
                m_nCharWidth += Round(cw * t);
                m_nColSpace += Round(cs * t);
            }
        }
        break;
    }
    case 3: {
        if (m_nCharHeight == 0) m_nCharHeight = 1;
        const double q = static_cast<double>(m_nCharWidth) / m_nCharHeight;
        int w = Trunc(sx * m_nCharWidth), h = Trunc(sy * m_nCharHeight);
        if (sx != 1.0 && sy != 1.0) {
            const int g = q != 0.0 ? Trunc(w / q) : h;
            if (h < g)
                w = Trunc(q * h);
            else
                h = g;
        } else if (sx != 1.0) {
            if (q != 0.0) h = Trunc(w / q);
        } else {
            w = Trunc(h * q);
        }
        m_nCharWidth = w;
        m_nCharHeight = h;
        break;
    }
    default: break;
    }
    if (m_nCharWidth < 1) m_nCharWidth = 1;
    if (m_nCharHeight < 1) m_nCharHeight = 1;
    if (echelon) return 0;
    int flags = 0;
    if (m_nCharWidth == cw0 && m_nColSpace == cs0) flags |= 1;
    if (m_nCharHeight == ch0 && m_nRowSpace == rs0) flags |= 2;
    return flags;
}

void CGeoAnno::MoveHandleTo(int nHandle, CPoint point) {
    if (!CanMoveHandle(nHandle)) return;
    if (m_nPositionType == 2) {
        SetKindMembers(m_rcBounds, nHandle, point);
        return;
    }
    if (m_nPositionType == 6) {
        if (nHandle < 1 || nHandle > m_aPoints.GetSize()) return;
        m_aPoints[nHandle - 1] = point;
        CalculateAnnoBounds();
        return;
    }
    CPoint pts[4];
    if (!GetMeasuredCorners(pts, 0)) return;

    const double a = static_cast<double>(GetEscapeAngle(0)) * kPi / 10 / 180;
    const CPoint p0 = GetPositionPoint(0);
    CRect b(pts[0].x, pts[0].y, pts[1].x, pts[2].y);
    const CRect b0 = b;

    POINT p = point;
    RotatePointAbout(p0.x, p0.y, &p, -a);

    int k = GetHandleKind(nHandle);
    if (s_nFlippedHandle < 0)
        k = -s_nFlippedHandle;
    else
        s_nFlippedHandle = k;
    SetKindMembers(b, k, CPoint(p));

    const bool echelon = GetArrayStyle() == ARRAY_ECHELON;
    if (GetFormatStyle()) m_byMoveFlag = 0;
    if (echelon) m_byMoveFlag = 1;
    const int unchanged = ResizeToBox(b0, b);

    POINT anchor;
    if (echelon) {
        POINT now{b.left, b.top}, before{b0.left, b0.top};
        RotatePointAbout(p0.x, p0.y, &now, a);
        RotatePointAbout(p0.x, p0.y, &before, a);
        anchor = POINT{ClampLong(static_cast<double>(p0.x) + now.x - before.x),
                       ClampLong(static_cast<double>(p0.y) + now.y - before.y)};
    } else {
        const double w = static_cast<double>(b.right) - b.left, h = static_cast<double>(b.bottom) - b.top;
        const double hw = Round(w / 2.0), hh = Round(h / 2.0);
        double x = b.left, y = b.top;
        switch (m_byAlignType) {
        case 1: y += hh; break;
        case 2: y += h; break;
        case 3: x += hw; break;
        case 4: x += hw; y += hh; break;
        case 5: x += hw; y += h; break;
        case 6: x += w; break;
        case 7: x += w; y += hh; break;
        case 8: x += w; y += h; break;
        default: break;
        }
        anchor = POINT{ClampLong(x), ClampLong(y)};
        if (unchanged & 1) anchor.x = p0.x;
        if (unchanged & 2) anchor.y = p0.y;
        RotatePointAbout(p0.x, p0.y, &anchor, a);
    }
    m_aPoints[0] = CPoint(anchor);
    CalculateAnnoBounds();

    const int flipped = FlippedKind(b, k);
    if (flipped != 0) s_nFlippedHandle = -flipped;
}

// ---- hit tests and tracker ----

int CGeoAnno::NormalHitTest(CPoint point, UINT scale, CPoint origin, CPoint offset) const {
    if (m_nPositionType == 2) return CGeoObject::NormalHitTest(point, scale, origin, offset);
    CPoint pts[4];
    if (!GetMeasuredCorners(pts, 1)) return CGeoObject::NormalHitTest(point, scale, origin, offset);
    POINT dev[4];
    for (int i = 0; i < 4; ++i) dev[i] = RPtoLP(scale, origin, offset, pts[i]);
    return PtInPolygon(point, dev, 4) ? TRUE : FALSE;
}

void CGeoAnno::DrawTracker(CDC* pDC, RECT* clip, UINT scale, CPoint origin, CPoint offset, TrackerState state,
                           TrackerDrawState drawState) {
    if (pDC == nullptr || (state != TRACKER_SELECTED && state != TRACKER_ACTIVE)) return;
    if (m_nPositionType == 6) DrawBaseLine(pDC, clip, scale, origin, offset, state, drawState);
    int first = 1, last = GetHandleCount();
    if (drawState == TRACKER_NOFIRST || drawState == TRACKER_NOENDS) first = 2;
    if (drawState == TRACKER_NOLAST || drawState == TRACKER_NOENDS) last -= 1;

    const int oldRop = pDC->SetROP2(R2_NOTXORPEN);
    CPen pen(PS_SOLID, 0, GetTrackerFrameColor());
    CBrush brush(GetTrackerFillColor());
    CPen* pOldPen = pDC->SelectObject(&pen);
    CBrush* pOldBrush = pDC->SelectObject(&brush);
    const double r = GetHandleRadius();
    for (int i = first; i <= last; ++i) {
        const CPoint h = RPtoLP(scale, origin, offset, GetHandle(i));
        pDC->Rectangle(ClampLong(h.x - r - 1), ClampLong(h.y - r - 1), ClampLong(h.x + r), ClampLong(h.y + r));
    }
    pDC->SetROP2(oldRop);
    pDC->SelectObject(pOldPen);
    pDC->SelectObject(pOldBrush);
}

int CGeoAnno::Intersects(const CRect& rect, SELOBJMODE mode) const {
    const int base = CGeoObject::Intersects(rect, mode);
    if (m_nPositionType == 2 || !base) return base;
    CRect r = rect;
    r.NormalizeRect();
    CPoint pts[4];
    if (mode == SELOBJ_INSIDE) {
        if (!GetMeasuredCorners(pts, 1)) return base;
        for (const CPoint& q : pts)
            if (!(q.x >= r.left && q.x < r.right && q.y >= r.top && q.y < r.bottom)) return 0;
        return 1;
    }
    if (mode != SELOBJ_MEET) return 0;

    POINT outline[5];
    if (m_nPositionType == 6) {
        // Each character at its own point, lower-left corner placed by the align type, turned with it.
        const int n = std::min(GetStringCount(m_strText), m_aPoints.GetSize());
        for (int i = 0; i < n; ++i) {
            CPoint at;
            float angle = 0.0f;
            char ch[3] = {0, 0, 0};
            if (!GetAt(i, &at, &angle, ch)) break;
            const int bytes = ch[1] ? 2 : 1;
            const int w = Round(bytes * static_cast<double>(m_nCharWidth) / 2);
            const CSize off = GetCharAlignOffset(m_byAlignType, w, m_nCharHeight, 1.0);
            POINT p{ClampLong(static_cast<double>(at.x) - off.cx), ClampLong(static_cast<double>(at.y) - off.cy)};
            if (m_byAlignType == 2 || m_byAlignType == 5 || m_byAlignType == 8)
                p.y = ClampLong(static_cast<double>(p.y) - m_nCharHeight);
            p = RotatePoint(p, at, TenthsToRadians(angle));
            BoxOutline(CPoint(p), w, m_nCharHeight, angle, outline);
            if (OutlineMeets(outline, 5, r)) return 1;
        }
        return 0;
    }
    if (!GetMeasuredCorners(pts, 0)) return base;
    if (!GetFormatStyle() && GetArrayStyle() == ARRAY_ECHELON) {
        // Echelon characters stand upright, each at its own place along the text angle.
        GEOANNO rec = MakeGeoAnno();
        CArray<CPoint, CPoint> places;
        CArray<int, int> widths;
        const int n = CalculateEchelonPositions(rec, places, widths, 1);
        for (int i = 0; i < n && i < places.GetSize() && i < widths.GetSize(); ++i) {
            BoxOutline(places[i], widths[i], rec.m_nCharHeight, 0.0, outline);
            if (OutlineMeets(outline, 5, r)) return 1;
        }
        return 0;
    }
    if (GetFormatStyle() || GetArrayStyle() != ARRAY_HORIZONTAL) {
        // One box for the whole text, turned with it.
        POINT turned[4];
        if (!GetMeasuredCorners(pts, 1)) return base;
        for (int i = 0; i < 4; ++i) turned[i] = pts[i];
        return OutlineMeets(turned, 4, r) ? 1 : 0;
    }
    // Horizontal rows, first row at the top of the box, each placed in its column, turned with the text
    // about the anchor.
    CStringArray rows;
    const int R = CalculateMultiLineRows(m_strText, rows, ARRAY_HORIZONTAL);
    const CPoint p0 = GetPositionPoint(0);
    const double escape = GetEscapeAngle(0);
    const LONG left = pts[0].x, top = pts[2].y;
    const LONG boxWidth = pts[1].x - pts[0].x;
    const int column = m_byAlignType / 3;
    for (int i = 0; i < R; ++i) {
        const int rw = GetRowWidth(rows[i], m_nCharWidth, m_nCharHeight, m_nColSpace);
        double x = left;
        if (column == 1)
            x += Round((static_cast<double>(boxWidth) - rw) / 2.0);
        else if (column == 2)
            x += static_cast<double>(boxWidth) - rw;
        const double y = static_cast<double>(top) - static_cast<double>(i + 1) * m_nCharHeight -
                         static_cast<double>(i) * m_nRowSpace;
        POINT at{ClampLong(x), ClampLong(y)};
        RotatePointAbout(p0.x, p0.y, &at, TenthsToRadians(escape));
        BoxOutline(CPoint(at), rw, m_nCharHeight, m_fOrientAngle, outline);
        if (OutlineMeets(outline, 5, r)) return 1;
    }
    return 0;
}

// ---- moves, turns, transforms ----

void CGeoAnno::Move(CSize offset) {
    if (!CanMove()) return;
    CGeoObject::Move(offset);
    for (int i = 0; i < m_aPoints.GetSize(); ++i)
        m_aPoints[i] = CPoint(ClampLong(static_cast<double>(m_aPoints[i].x) + offset.cx),
                              ClampLong(static_cast<double>(m_aPoints[i].y) + offset.cy));
    CalculateAnnoBounds();
}

void CGeoAnno::MoveTo(CRect rect) {
    if (!CanMove()) return;
    const CRect old = m_rcBounds;
    CGeoObject::MoveTo(rect);
    const double dx = static_cast<double>(rect.left) - old.left, dy = static_cast<double>(rect.top) - old.top;
    for (int i = 0; i < m_aPoints.GetSize(); ++i)
        m_aPoints[i] = CPoint(ClampLong(m_aPoints[i].x + dx), ClampLong(m_aPoints[i].y + dy));
    CalculateAnnoBounds();
}

int CGeoAnno::CanbeRotate() const { return m_nPositionType == 2 ? 0 : 1; }

void CGeoAnno::DoRotateCCW(double degrees, CPoint centre) {
    if (!CanbeRotate()) return;
    const int n = m_nPositionType == 6 ? std::min(m_aAngles.GetSize(), m_aPoints.GetSize()) : 1;
    const double rad = degrees * kPi / 180;
    for (int i = 0; i < n; ++i) {
        const double angle = std::fmod(static_cast<double>(m_aAngles[i]) - 10 * degrees, 3600.0);
        m_aAngles[i] = static_cast<float>(angle);
        m_fOrientAngle = static_cast<float>(angle);
        m_aPoints[i] = CPoint(RotatePoint(m_aPoints[i], centre, -rad));
    }
    CalculateAnnoBounds();
}

void CGeoAnno::Transform(CGeoCoordinateTransformer& transformer, double x0, double y0) {
    const CRect b = m_rcBounds;
    const POINT in[5] = {{b.left, b.top}, {b.left, b.bottom}, {b.right, b.bottom}, {b.right, b.top},
                         GetPositionPoint(0)};
    const bool base = transformer.IsKindOf(RUNTIME_CLASS(CBaseCoordinateTransformer)) != FALSE;
    POINT out[5];
    for (int i = 0; i < 5; ++i) {
        const double xm = ::ChangeUnit(m_nUnit, 6, static_cast<double>(in[i].x), 1.0) + x0;
        const double ym = ::ChangeUnit(m_nUnit, 6, static_cast<double>(in[i].y), 1.0) + y0;
        double xo = xm, yo = ym;
        transformer.Transform(xm, ym, xo, yo);
        if (base) {
            const auto& t = static_cast<const CBaseCoordinateTransformer&>(transformer);
            xo -= t.GetSecondOffsetX();
            yo -= t.GetSecondOffsetY();
        }
        out[i] = POINT{ClampLong(std::trunc(::ChangeUnit(6, m_nUnit, xo, 1.0))),
                       ClampLong(std::trunc(::ChangeUnit(6, m_nUnit, yo, 1.0)))};
    }
    m_aPoints[0] = CPoint(out[4]);
    LONG minX = out[0].x, minY = out[0].y, maxX = out[0].x, maxY = out[0].y;
    for (int i = 1; i < 4; ++i) {
        minX = std::min(minX, out[i].x);
        minY = std::min(minY, out[i].y);
        maxX = std::max(maxX, out[i].x);
        maxY = std::max(maxY, out[i].y);
    }
    m_rcBounds = CRect(minX, minY, maxX, maxY);
    // A transformation that stretches the map stretches the letters with it.
    if (transformer.IsLengthChanged() == 1) {
        m_nCharWidth = Round(transformer.TransformLength(m_nCharWidth));
        m_nCharHeight = Round(transformer.TransformLength(m_nCharHeight));
    }
}

// ---- position type ----

int CGeoAnno::ChangePositionType(int t) {
    if (m_nPositionType == 2) {
        if (t == 0 || t == 1 || t == 3) {
            GEOANNO r = MakeGeoAnno();
            r.m_nOutputMode = 4;
            tagGEORECT margins = m_Margins;
            DrawGeoAnno(nullptr, 0, 0, CPoint(0, 0), CPoint(0, 0), GetSelfGeoView(), r, nullptr, 0, &margins,
                        nullptr, 0, 1);
            m_strText = r.m_strText;
            m_aPoints[0] = r.m_ptPosition;
            SetAlignType(r.m_nAlignType);
            m_nPositionType = t;
            CalculateAnnoBounds();
            return 1;
        }
        if (t == 6) {
            // One point per character, laid along the box's top edge from its left-top corner.
            m_nPositionType = 6;
            CPoint start = m_rcBounds.TopLeft();
            CalculatePosForMultiP(this, start, 0.0f, 0, -1);
            CalculateAnnoBounds();
        }
        return 1;
    }
    if (IsPositionType(0) || IsPositionType(1)) {
        if (t == 2) {
            if (GetFormatStyle()) return 0;
            GEOANNO r = MakeGeoAnno();
            if (r.GetArrayStyle() == ARRAY_ECHELON) r.SetArrayStyle(ARRAY_HORIZONTAL);
            CPoint pts[4] = {r.m_ptPosition, r.m_ptPosition, r.m_ptPosition, r.m_ptPosition};
            GetFourSquarePoint(r, pts, 0, nullptr);
            m_rcBounds = CRect(pts[0], pts[2]);
            m_byAlignType = 0;
            m_nPositionType = 2;
            return 1;
        }
        // The characters spread to points of their own (formatted text stays as it is).
        if (t == 6) ConvertToMultiPoint(this);
        return 1;
    }
    if (m_nPositionType == 6) {
        if (t == 6) return 1;
        m_aPoints.SetSize(1);
        m_aAngles.SetSize(1);
        m_nPositionType = t;
        CalculateAnnoBounds();
        return 1;
    }
    return 0;
}
