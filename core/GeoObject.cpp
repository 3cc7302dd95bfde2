#include "core/GeoObject.h"

#include "core/CorvaneModule.h"
#include "core/GeoSettings.h"

#include <afx/Dc.h>

#include <ostrel/Measure.h>
#include <ostrel/Misc.h>
#include <ostrel/Translate.h>
#include <ostrel/Units.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

IMPLEMENT_SERIAL(CGeoObject, CObject, 1)

int CGeoObject::s_nObjectCount = -1;

namespace {

const DWORD kVersionFlag = 0x80000000u;

LONG Clamp(int64_t v)
{
    if (v > 2147483647LL) return 2147483647;
    if (v < -2147483648LL) return (LONG)-2147483647 - 1;
    return (LONG)v;
}

LONG Trunc(double v)
{
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return 2147483647;
    if (v <= -2147483648.0) return (LONG)-2147483647 - 1;
    return (LONG)std::trunc(v);
}

double Scale(UINT scale) { return scale == 0 ? 1.0 : (double)scale; }

// Millimetres -> device: x' = trunc((v + origin) * 10 / scale) and y' = -trunc(...), the latter taken as
// trunc(-...) so that it cannot overflow.
LONG ToDeviceX(int64_t mm, int64_t origin, UINT scale) { return Trunc((double)(mm + origin) * 10.0 / Scale(scale)); }
LONG ToDeviceY(int64_t mm, int64_t origin, UINT scale) { return Trunc(-(double)(mm + origin) * 10.0 / Scale(scale)); }

CRect Normalized(const RECT& r)
{
    CRect n(r);
    n.NormalizeRect();
    return n;
}

} // namespace

CGeoObject::CGeoObject()
{
    ++s_nObjectCount;
    SetNumberedName("对象 ", s_nObjectCount);
}

CGeoObject::CGeoObject(NameLater) { ++s_nObjectCount; }

CGeoObject::CGeoObject(const CRect& bounds) : m_rcBounds(this, Normalized(bounds))
{
    ++s_nObjectCount;
    SetNumberedName("对象 ", s_nObjectCount);
}

CGeoObject::~CGeoObject() = default;

void CGeoObject::Remove() { delete this; }

void CGeoObject::Remove(CGeoObject* pObject) { delete pObject; }

void CGeoObject::Serialize(CArchive& ar)
{
    m_fVersion = 1.0f;
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        const float version = GetCorvaneVersion();
        const bool versioned = version > 1.0f;
        ar << static_cast<const RECT&>(m_rcBounds);
        ar << m_strName;
        DWORD unit = (DWORD)m_nUnit;
        if (versioned) unit |= kVersionFlag;
        ar << unit;
        if (versioned) ar << version;
    } else {
        RECT r;
        ar >> r;
        m_rcBounds = r;
        ar >> m_strName;
        DWORD unit = 0;
        ar >> unit;
        m_nUnit = (int)(unit & ~kVersionFlag);
        if (unit & kVersionFlag) ar >> m_fVersion;
    }
}

CGeoObject* CGeoObject::Duplicate(int, int)
{
    CGeoObject* pCopy = new CGeoObject(m_rcBounds);
    pCopy->m_nUnit = m_nUnit;
    return pCopy;
}

CRect CGeoObject::GetBounds() const { return Normalized(m_rcBounds); }

CRect CGeoObject::GetDrawBounds(UINT scale, CPoint origin, CPoint offset, int withHandles, const GEOVIEW*) const
{
    CRect r = RPtoLP(scale, origin, offset, GetBounds());
    if (withHandles) {
        int h = GetHandleRadius();
        r.SetRect(Clamp((int64_t)r.left - h), Clamp((int64_t)r.top - h), Clamp((int64_t)r.right + h),
                  Clamp((int64_t)r.bottom + h));
    }
    r.SetRect(Clamp((int64_t)r.left - 5), Clamp((int64_t)r.top - 5), Clamp((int64_t)r.right + 5),
              Clamp((int64_t)r.bottom + 5));
    return r;
}

int CGeoObject::EditProperties(int, int, void*) { return 0; }

CPoint CGeoObject::GetVisiblePoint() const { return RectCenter(GetBounds()); }

int CGeoObject::CanMove() const { return 1; }

void CGeoObject::MoveTo(CRect rect)
{
    if (!CanMove()) return;
    if (rect.left == rect.right && rect.top == rect.bottom) {
        const int64_t dx = (int64_t)rect.left - m_rcBounds.left, dy = (int64_t)rect.top - m_rcBounds.top;
        m_rcBounds.SetRect(rect.left, rect.top, Clamp(m_rcBounds.right + dx), Clamp(m_rcBounds.bottom + dy));
    } else {
        m_rcBounds = Normalized(rect);
    }
}

void CGeoObject::Move(CSize offset)
{
    if (!CanMove()) return;
    m_rcBounds.SetRect(Clamp((int64_t)m_rcBounds.left + offset.cx), Clamp((int64_t)m_rcBounds.top + offset.cy),
                       Clamp((int64_t)m_rcBounds.right + offset.cx), Clamp((int64_t)m_rcBounds.bottom + offset.cy));
}

int CGeoObject::Mirror(POINT, POINT) { return 0; }

void CGeoObject::DrawTracker(CDC* pDC, RECT* clip, UINT scale, CPoint origin, CPoint offset, TrackerState state,
                             TrackerDrawState drawState)
{
    if (pDC == nullptr || (state != TRACKER_SELECTED && state != TRACKER_ACTIVE)) return;
    int first = 1, last = GetHandleCount();
    if (drawState == TRACKER_NOFIRST || drawState == TRACKER_NOENDS) first = 2;
    if (drawState == TRACKER_NOLAST || drawState == TRACKER_NOENDS) last -= 1;

    const int oldRop = pDC->SetROP2(R2_NOTXORPEN);
    CPen pen(PS_SOLID, 0, GetTrackerFrameColor());
    CBrush brush(GetTrackerFillColor());
    CPen* pOldPen = pDC->SelectObject(&pen);
    CBrush* pOldBrush = pDC->SelectObject(&brush);
    const int64_t r = GetHandleRadius();
    CRect clipBox;
    if (clip) clipBox = Normalized(*clip);
    for (int i = first; i <= last; ++i) {
        const CPoint h = RPtoLP(scale, origin, offset, GetHandle(i));
        const CRect square(Clamp(h.x - r - 1), Clamp(h.y - r - 1), Clamp(h.x + r), Clamp(h.y + r));
        CRect common;
        if (clip && !common.IntersectRect(&square, &clipBox)) continue;
        pDC->Rectangle(&square);
    }
    pDC->SetROP2(oldRop);
    if (pOldPen) pDC->SelectObject(pOldPen);
    if (pOldBrush) pDC->SelectObject(pOldBrush);
}

int CGeoObject::CanMoveHandle(int) const { return 1; }

void CGeoObject::MoveHandleTo(int nHandle, CPoint point)
{
    if (!CanMoveHandle(nHandle)) return;
    CRect r = GetBounds();
    // The point is kept in the first quadrant and short of the bounds' right and bottom edge.
    if (point.x < 0) point.x = 0;
    if (point.y < 0) point.y = 0;
    if (point.x > r.right) point.x = r.right;
    if (point.y > r.bottom) point.y = r.bottom;
    switch (nHandle) {
    case 2: r.top = point.y; break;
    case 3: r.right = point.x; r.top = point.y; break;
    case 4: r.right = point.x; break;
    case 5: r.right = point.x; r.bottom = point.y; break;
    case 6: r.bottom = point.y; break;
    case 7: r.left = point.x; r.bottom = point.y; break;
    case 8: r.left = point.x; break;
    default: r.left = point.x; r.top = point.y; break; // 1 and any other number
    }
    MoveTo(r);
}

int CGeoObject::CanDeleteHandle(int) const { return 0; }
void CGeoObject::DeleteHandle(int) {}
int CGeoObject::CanAddHandle(int) const { return 0; }
void CGeoObject::AddHandle(int) {}

int CGeoObject::Intersects(const CRect& rect, SELOBJMODE mode) const
{
    const CRect b = GetBounds(), r = Normalized(rect);
    if (mode == SELOBJ_MEET) {
        CRect common;
        return common.IntersectRect(&b, &r) ? TRUE : FALSE;
    }
    if (mode == SELOBJ_INSIDE)
        return (r.left <= b.left && b.right <= r.right && r.top <= b.top && b.bottom <= r.bottom) ? TRUE : FALSE;
    return FALSE;
}

int CGeoObject::GetHandleCount() const { return 8; }

CPoint CGeoObject::GetHandle(int nHandle) const
{
    const CRect r = GetBounds();
    const POINT c = RectCenter(r);
    switch (nHandle) {
    case 2: return CPoint(c.x, r.top);
    case 3: return CPoint(r.right, r.top);
    case 4: return CPoint(r.right, c.y);
    case 5: return CPoint(r.right, r.bottom);
    case 6: return CPoint(c.x, r.bottom);
    case 7: return CPoint(r.left, r.bottom);
    case 8: return CPoint(r.left, c.y);
    default: return CPoint(r.left, r.top);
    }
}

HCURSOR CGeoObject::GetHandleCursor(int nHandle) const
{
    switch (nHandle) {
    case 2:
    case 6: return LoadCursor(nullptr, IDC_SIZENS);
    case 3:
    case 7: return LoadCursor(nullptr, IDC_SIZENESW);
    case 4:
    case 8: return LoadCursor(nullptr, IDC_SIZEWE);
    default: return LoadCursor(nullptr, IDC_SIZENWSE);
    }
}

void CGeoObject::DefaultObjectName() { SetNumberedName("对象 ", s_nObjectCount); }

void CGeoObject::SetNumberedName(LPCSTR prefix, int counter)
{
    // Every object made names itself, and one read from a file twice over (its class renames it) before
    // its stored name replaces both: built in place, without the temporaries of string sums.
    char text[64];
    const size_t n = std::min(std::strlen(prefix), sizeof text - 12);
    std::memcpy(text, prefix, n);
    *std::to_chars(text + n, text + sizeof text - 1, counter).ptr = '\0';
    m_strName = text;
}

int CGeoObject::HandleHitTest(CPoint point, UINT scale, CPoint origin, CPoint offset) const
{
    const int64_t r = GetHandleRadius();
    for (int i = GetHandleCount(); i >= 1; --i) {
        const CPoint h = RPtoLP(scale, origin, offset, GetHandle(i));
        if (point.x >= h.x - r && point.x < h.x + r && point.y >= h.y - r && point.y < h.y + r) return i;
    }
    return 0;
}

int CGeoObject::NormalHitTest(CPoint point, UINT scale, CPoint origin, CPoint offset) const
{
    return RPtoLP(scale, origin, offset, GetBounds()).PtInRect(point);
}

void CGeoObject::OnUnitChanged(int nOldUnit)
{
    ::ChangeUnit(nOldUnit, m_nUnit, static_cast<RECT&>(m_rcBounds), 1.0);
    BoundsChanged();
}

void CGeoObject::DoRotateCCW(double, CPoint) {}

void CGeoObject::SetObjectName(CString name)
{
    if (name.IsEmpty())
        DefaultObjectName();
    else
        m_strName = name;
}

int CGeoObject::SetUnit(int nUnit)
{
    const int old = m_nUnit;
    m_nUnit = nUnit;
    // An index of bounds keeps each object's bounds in its unit.
    if (old != nUnit) BoundsChanged();
    return old;
}

int CGeoObject::ChangeUnit(int nUnit)
{
    const int old = SetUnit(nUnit);
    if (old != nUnit) OnUnitChanged(old);
    return old;
}

CRect CGeoObject::GetBoundsInMillimeter() const
{
    CRect r = GetBounds();
    if (m_nUnit != 3) ::ChangeUnit(m_nUnit, 3, static_cast<RECT&>(r), 1.0);
    return r;
}

int CGeoObject::HitTest(CPoint point, UINT scale, CPoint origin, CPoint offset, int handles) const
{
    return handles ? HandleHitTest(point, scale, origin, offset) : NormalHitTest(point, scale, origin, offset);
}

int CGeoObject::IntersectsDrawField(RECT* clip, UINT scale, CPoint origin, CPoint offset, int withHandles,
                                    const GEOVIEW* pView) const
{
    if (clip == nullptr) return TRUE;
    const CRect drawn = GetDrawBounds(scale, origin, offset, withHandles, pView);
    const CRect c = Normalized(*clip);
    CRect common;
    return common.IntersectRect(&drawn, &c) ? TRUE : FALSE;
}

void CGeoObject::Rotate(int flags, double degrees, CPoint centre)
{
    const CRect b = GetBounds();
    if (flags & 0x40)
        centre = RectCenter(b);
    else if (flags & 0x80)
        centre = CPoint(b.left, b.top);
    else if (flags & 0x400)
        centre = CPoint(b.right, b.bottom);
    else if (flags & 0x100)
        centre = CPoint(b.right, b.top);
    else if (flags & 0x200)
        centre = CPoint(b.left, b.bottom);

    double angle;
    if (flags & 4)
        angle = 90.0;
    else if (flags & 8)
        angle = 180.0;
    else if (flags & 0x10)
        angle = 270.0;
    else
        angle = degrees - std::trunc(degrees / 360.0) * 360.0;
    if (flags & 2) angle = 360.0 - angle;
    DoRotateCCW(angle, centre);
}

// ---- device mapping ----

CPoint CGeoObject::RPtoLP(UINT scale, CPoint origin, CPoint offset, POINT point) const
{
    POINT p = point;
    if (m_nUnit != 3) ::ChangeUnit(m_nUnit, 3, p, 1.0);
    if (IsUsedTranslate()) {
        POINT t = {Clamp((int64_t)p.x + offset.x), Clamp((int64_t)p.y + offset.y)};
        Translate(t);
        return CPoint(ToDeviceX(t.x, origin.x, scale), ToDeviceY(t.y, origin.y, scale));
    }
    return CPoint(ToDeviceX((int64_t)p.x + offset.x, origin.x, scale),
                  ToDeviceY((int64_t)p.y + offset.y, origin.y, scale));
}

CRect CGeoObject::RPtoLP(UINT scale, CPoint origin, CPoint offset, RECT rect) const
{
    RECT r = rect;
    if (m_nUnit != 3) ::ChangeUnit(m_nUnit, 3, r, 1.0);
    int64_t l, t, rr, b;
    if (IsUsedTranslate()) {
        RECT o = {Clamp((int64_t)r.left + offset.x), Clamp((int64_t)r.top + offset.y),
                  Clamp((int64_t)r.right + offset.x), Clamp((int64_t)r.bottom + offset.y)};
        Translate(o);
        l = o.left;
        t = o.top;
        rr = o.right;
        b = o.bottom;
    } else {
        l = (int64_t)r.left + offset.x;
        t = (int64_t)r.top + offset.y;
        rr = (int64_t)r.right + offset.x;
        b = (int64_t)r.bottom + offset.y;
    }
    // The vertical edges change places as y turns downward.
    return CRect(ToDeviceX(l, origin.x, scale), ToDeviceY(b, origin.y, scale), ToDeviceX(rr, origin.x, scale),
                 ToDeviceY(t, origin.y, scale));
}

void CGeoObject::RPtoLP(UINT scale, CPoint origin, CPoint offset, const POINT* src, POINT* dst, int n) const
{
    if (src == nullptr || dst == nullptr) return;
    for (int i = 0; i < n; ++i) dst[i] = RPtoLP(scale, origin, offset, src[i]);
}

namespace {

// Device -> millimetres for one point, translated or not.
POINT DeviceToMillimeters(LONG x, LONG y, UINT scale, CPoint origin, CPoint offset, bool translate)
{
    double X = x * Scale(scale) / 10.0 - origin.x;
    double Y = -(double)y * Scale(scale) / 10.0 - origin.y;
    if (translate) Translate2(X, Y);
    POINT p = {Trunc(X - offset.x), Trunc(Y - offset.y)};
    return p;
}

} // namespace

CPoint CGeoObject::LPtoRP(UINT scale, CPoint origin, CPoint offset, POINT point) const
{
    POINT p = DeviceToMillimeters(point.x, point.y, scale, origin, offset, IsUsedTranslate() != 0);
    if (m_nUnit != 3) ::ChangeUnit(3, m_nUnit, p, 1.0);
    return CPoint(p);
}

CRect CGeoObject::LPtoRP(UINT scale, CPoint origin, CPoint offset, RECT rect, int translate) const
{
    const bool on = translate == 1 ? true : (translate == 0 ? false : IsUsedTranslate() != 0);
    CRect r;
    if (on) {
        // The inverse of a turned box: the box of its four corners taken back.
        const POINT corners[4] = {{rect.left, rect.top}, {rect.right, rect.top}, {rect.right, rect.bottom},
                                  {rect.left, rect.bottom}};
        RECT box = {0, 0, 0, 0};
        for (int i = 0; i < 4; ++i) {
            POINT p = DeviceToMillimeters(corners[i].x, corners[i].y, scale, origin, offset, true);
            if (i == 0) box = RECT{p.x, p.y, p.x, p.y};
            RecalcBounds(box, p);
        }
        r = box;
    } else {
        const POINT lt = DeviceToMillimeters(rect.left, rect.bottom, scale, origin, offset, false);
        const POINT rb = DeviceToMillimeters(rect.right, rect.top, scale, origin, offset, false);
        r.SetRect(lt.x, lt.y, rb.x, rb.y);
    }
    r.NormalizeRect();
    if (m_nUnit != 3) ::ChangeUnit(3, m_nUnit, static_cast<RECT&>(r), 1.0);
    return r;
}

void CGeoObject::LPtoRP(UINT scale, CPoint origin, CPoint offset, const POINT* src, POINT* dst, int n) const
{
    if (src == nullptr || dst == nullptr) return;
    for (int i = 0; i < n; ++i) dst[i] = LPtoRP(scale, origin, offset, src[i]);
}

void CGeoObject::OnBoundsChanged() {}

// ---- CGeoObjectBounds ----

void CGeoObjectBounds::Changed() { m_pOwner->BoundsChanged(); }

CGeoObjectBounds& CGeoObjectBounds::operator=(const RECT& r)
{
    CRect::operator=(CRect(r));
    Changed();
    return *this;
}

void CGeoObjectBounds::SetRect(int l, int t, int r, int b) { CRect::SetRect(l, t, r, b); Changed(); }
void CGeoObjectBounds::SetRectEmpty() { CRect::SetRectEmpty(); Changed(); }
void CGeoObjectBounds::CopyRect(LPCRECT r) { CRect::CopyRect(r); Changed(); }
void CGeoObjectBounds::InflateRect(int x, int y) { CRect::InflateRect(x, y); Changed(); }
void CGeoObjectBounds::InflateRect(SIZE s) { CRect::InflateRect(s); Changed(); }
void CGeoObjectBounds::InflateRect(int l, int t, int r, int b) { CRect::InflateRect(l, t, r, b); Changed(); }
void CGeoObjectBounds::DeflateRect(int x, int y) { CRect::DeflateRect(x, y); Changed(); }
void CGeoObjectBounds::DeflateRect(SIZE s) { CRect::DeflateRect(s); Changed(); }
void CGeoObjectBounds::OffsetRect(int x, int y) { CRect::OffsetRect(x, y); Changed(); }
void CGeoObjectBounds::OffsetRect(POINT p) { CRect::OffsetRect(p); Changed(); }
void CGeoObjectBounds::OffsetRect(SIZE s) { CRect::OffsetRect(s); Changed(); }
void CGeoObjectBounds::NormalizeRect() { CRect::NormalizeRect(); Changed(); }

BOOL CGeoObjectBounds::IntersectRect(LPCRECT r1, LPCRECT r2)
{
    const BOOL b = CRect::IntersectRect(r1, r2);
    Changed();
    return b;
}

BOOL CGeoObjectBounds::UnionRect(LPCRECT r1, LPCRECT r2)
{
    const BOOL b = CRect::UnionRect(r1, r2);
    Changed();
    return b;
}

BOOL CGeoObjectBounds::SubtractRect(LPCRECT r1, LPCRECT r2)
{
    const BOOL b = CRect::SubtractRect(r1, r2);
    Changed();
    return b;
}
