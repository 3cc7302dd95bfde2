#include "vector/GeoRoundRect.h"

#include "core/GeoHelpers.h"
#include "vector/GeoEllipse.h"
#include "vector/GeoLineType.h"
#include "vector/GeoPolygonLine.h"
#include "vector/ShapePainter.h"
#include "vector/SaturatingMath.h"

#include <afx/Cursor.h>
#include <ostrel/Contact.h>
#include <ostrel/Measure.h>
#include <ostrel/Units.h>
#include <quenby/SymbolLibIO.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <memory>

using geomath::ClampLong;

IMPLEMENT_SERIAL(CGeoRoundRect, CGeoRect, 0)

namespace {

const double kPi = 3.14159265358979323846;

template <class T>
T* WithUnitAndFace(T* target, int unit, int face) {
    target->SetUnit(unit);
    target->SetFace(face);
    return target;
}

// The rounded ring of the normalised bounds with the effective corner size, for the caller to free.
std::unique_ptr<POINT[]> RoundRing(const CRect& b, CPoint size, int& count) {
    POINT* points = nullptr;
    count = 0;
    ConvertRoundRectToPLine(b, size, points, count);
    return std::unique_ptr<POINT[]>(points);
}

}  // namespace

// ---- construction ----

CGeoRoundRect::CGeoRoundRect() = default;

CGeoRoundRect::CGeoRoundRect(CPoint size) { SetRoundRect(size); }

CGeoRoundRect::CGeoRoundRect(CPoint p, CPoint size) : CGeoRect(p) { SetRoundRect(size); }

CGeoRoundRect::CGeoRoundRect(const CRect& r, CPoint size) : CGeoRect(r) { SetRoundRect(size); }

CGeoRoundRect::CGeoRoundRect(const CGeoRoundRect& src, int withAttribute, int withRecord) : CGeoRect() {
    Copy(src, withAttribute, withRecord);
}

CGeoRoundRect::~CGeoRoundRect() = default;

void CGeoRoundRect::Serialize(CArchive& ar) {
    CGeoRect::Serialize(ar);
    if (ar.IsStoring()) {
        ar << static_cast<LONG>(m_ptRound.x) << static_cast<LONG>(m_ptRound.y);
    } else {
        LONG cx = 0, cy = 0;
        ar >> cx >> cy;
        m_ptRound = CPoint(cx, cy);
    }
}

CPoint CGeoRoundRect::SetRoundRect(CPoint size) {
    const CPoint old = m_ptRound;
    m_ptRound = size;
    return old;
}

CPoint CGeoRoundRect::GetRoundRect() const {
    const CRect b = GetBounds();
    const LONGLONG w = static_cast<LONGLONG>(b.right) - b.left, h = static_cast<LONGLONG>(b.bottom) - b.top;
    // A negative size (set by a caller or read from a file) would turn the corners inside out.
    return CPoint(ClampLong(std::clamp<LONGLONG>(m_ptRound.x, 0, w)), ClampLong(std::clamp<LONGLONG>(m_ptRound.y, 0, h)));
}

CGeoObject* CGeoRoundRect::Duplicate(int withAttribute, int withRecord) {
    CGeoRoundRect* copy = new CGeoRoundRect;
    if (!copy->Copy(*this, withAttribute, withRecord)) {
        copy->Remove();
        return nullptr;
    }
    return copy;
}

int CGeoRoundRect::CopyData(const CGeoVectorObject& src) {
    if (!CGeoRect::CopyData(src)) return 0;
    if (src.IsKindOf(RUNTIME_CLASS(CGeoRoundRect))) m_ptRound = static_cast<const CGeoRoundRect&>(src).m_ptRound;
    return 1;
}

// ---- measures and hit tests ----

double CGeoRoundRect::Area() const {
    const CPoint c = GetRoundRect();
    const double W = std::fabs(static_cast<double>(m_rcBounds.right) - m_rcBounds.left);
    const double H = std::fabs(static_cast<double>(m_rcBounds.bottom) - m_rcBounds.top);
    const double A = W - c.x, B = H - c.y, rx = c.x / 2.0, ry = c.y / 2.0;
    return 2.0 * A * ry + 2.0 * B * rx + A * B + kPi * rx * ry;
}

double CGeoRoundRect::Length() const {
    const CPoint c = GetRoundRect();
    const double W = std::fabs(static_cast<double>(m_rcBounds.right) - m_rcBounds.left);
    const double H = std::fabs(static_cast<double>(m_rcBounds.bottom) - m_rcBounds.top);
    return 2.0 * (W + H) - (static_cast<double>(c.x) + c.y) * 0.4292037;
}

int CGeoRoundRect::PointOnLine(POINT point) const {
    const CRect box(ClampLong(static_cast<LONGLONG>(point.x) - 2), ClampLong(static_cast<LONGLONG>(point.y) - 2),
                    ClampLong(static_cast<LONGLONG>(point.x) + 2), ClampLong(static_cast<LONGLONG>(point.y) + 2));
    return Intersects(box, SELOBJ_MEET) ? 0 : -1;
}

int CGeoRoundRect::PointOnLine(POINT point, int tolerance) const {
    const CRect b = GetBounds();
    const LONGLONG t = tolerance;
    if (point.x < b.left - t || point.y < b.top - t || point.x > b.right + t || point.y > b.bottom + t) return -1;
    int count = 0;
    const std::unique_ptr<POINT[]> ring = RoundRing(b, GetRoundRect(), count);
    for (int i = 0; i + 1 < count; ++i)
        if (PointToLine(point, ring[i], ring[i + 1]) < tolerance) return 0;
    return -1;
}

int CGeoRoundRect::LineXLine(const CGeoLine&) const { return 0; }

int CGeoRoundRect::Through(const CRect& rect) const {
    const POINT radii{m_ptRound.x / 2, m_ptRound.y / 2};
    return RoundRectXRect(GetBounds(), radii, rect);
}

// ---- handles ----

int CGeoRoundRect::GetHandleCount() const { return 9; }

CPoint CGeoRoundRect::GetHandle(int nHandle) const {
    if (nHandle != 9) return CGeoRect::GetHandle(nHandle);
    const CRect b = GetBounds();
    LONGLONG x = static_cast<LONGLONG>(b.right) - m_ptRound.x / 2;
    LONGLONG y = static_cast<LONGLONG>(b.top) + m_ptRound.y / 2;
    const LONGLONG midX = (static_cast<LONGLONG>(b.left) + b.right) / 2;
    const LONGLONG midY = (static_cast<LONGLONG>(b.top) + b.bottom) / 2;
    if (x < midX) x = midX;
    if (y > midY) y = midY;
    return CPoint(ClampLong(x), ClampLong(y));
}

void CGeoRoundRect::MoveHandleTo(int nHandle, CPoint point) {
    if (nHandle != 9) {
        CGeoRect::MoveHandleTo(nHandle, point);
        return;
    }
    if (!CanMoveHandle(nHandle)) return;
    const CRect b = GetBounds();
    const LONGLONG w = static_cast<LONGLONG>(b.right) - b.left, h = static_cast<LONGLONG>(b.bottom) - b.top;
    LONGLONG x = point.x, y = point.y;
    if (x > static_cast<LONGLONG>(b.right) - 1)
        x = static_cast<LONGLONG>(b.right) - 1;
    else if (x < b.left + w / 2)
        x = b.left + w / 2;
    if (y < static_cast<LONGLONG>(b.top) + 1)
        y = static_cast<LONGLONG>(b.top) + 1;
    else if (y > b.top + h / 2)
        y = b.top + h / 2;
    m_ptRound = CPoint(ClampLong((b.right - x) * 2), ClampLong((y - b.top) * 2));
}

HCURSOR CGeoRoundRect::GetHandleCursor(int nHandle) const {
    if (nHandle == 9) return LoadCursor(nullptr, IDC_SIZEALL);
    return CGeoRect::GetHandleCursor(nHandle);
}

void CGeoRoundRect::OnUnitChanged(int nOldUnit) {
    CGeoRect::OnUnitChanged(nOldUnit);
    ::ChangeUnit(nOldUnit, GetUnit(), static_cast<POINT&>(m_ptRound), 1.0);
}

CString CGeoRoundRect::GetObjectTypeName() const {
    CString name("圆角矩形");
    if (m_bFace) name += CString("面");
    return name;
}

int CGeoRoundRect::GetSnapPointA(CPoint&, CRect, int&, SNAPTYPE, LONG) { return 0; }

// ---- painters ----

void CGeoRoundRect::OnDrawWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                            const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8,
                                            void* pSymbolLib, int keepColours) {
    const int symbol = ChooseShapeSymbol(pSymbolLib, view);
    LONG result = QUENBY_ERR_ARGUMENT;
    if (symbol != 0) {
        int count = 0;
        const std::unique_ptr<POINT[]> ring = RoundRing(GetBounds(), GetRoundRect(), count);
        RPtoLP(scale, origin, offset, ring.get(), ring.get(), count);
        CSymbolPainting painting(*this, m_SymbolAttrib, static_cast<CSymbolLibIO*>(pSymbolLib), symbol, scale,
                                 scale2, keepColours, ShapeColour(view));
        result = painting.DrawPoly(pDC, ring.get(), count, pClip, xorMode);
    }
    if (result != QUENBY_OK)
        OnDrawWithoutSymbolization(pDC, scale, scale2, origin, offset, view, pClip, xorMode, nWord8, 1);
}

void CGeoRoundRect::OnDrawWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                               const GEOVIEW& view, RECT*, int xorMode, int, int scaleWidths) {
    if (!pDC || !pDC->m_hDC) return;
    CShapePainter painter(pDC);
    PreparePlainPainter(painter, view, scale, scale2, scaleWidths, xorMode, FALSE);
    CRect d = RPtoLP(scale, origin, offset, GetBounds());
    d.NormalizeRect();
    POINT size = GetRoundRect();
    ::RPtoLP(scale, GetUnit(), size, 1.0);
    ::RoundRect(pDC->m_hDC, d.left, d.top, d.right, d.bottom, size.x, size.y);
    painter.Restore();
}

int CGeoRoundRect::OnSymbolizeOutput(CSymbolLibIO* pLib, CSymbolOutputer* pOutputer, CCoordsConverter* pConverter,
                                     GEOVIEW* pView) {
    if (!pLib || !pOutputer || !pConverter || !pView) return 0;
    const int symbol = pView->GetSymbol(m_bFace ? SYMBOL_FILL : SYMBOL_LINE);
    if (symbol == 0) return 0;
    const RECT mm = GetBoundsInMillimeter();
    POINT size = GetRoundRect();
    ::ChangeUnit(GetUnit(), 3, size, 1.0);
    CSymbolPainting output(*this, m_SymbolAttrib, pLib, symbol, pConverter);
    return pLib->OutputSymbol(pOutputer, symbol, &mm, size, nullptr, pConverter, &m_SymbolAttrib) == QUENBY_OK ? 1
                                                                                                              : 0;
}

// ---- conversions ----

CGeoLine* CGeoRoundRect::ConvertMeTo(WORD code, DWORD flags) const {
    if (!CanConvertTo(code, flags)) return nullptr;
    const CRect b = GetBounds();
    switch (GetGLTType(code)) {
        case GLT_PLINE: {
            int count = 0;
            const std::unique_ptr<POINT[]> ring = RoundRing(b, GetRoundRect(), count);
            CGeoPLine* line = new CGeoPLine(count, ring.get(), 1);
            line->Complete(1);
            line->SetUnit(GetUnit());
            return line;
        }
        case GLT_POLYGONLINE: {
            int count = 0;
            const std::unique_ptr<POINT[]> ring = RoundRing(b, GetRoundRect(), count);
            CGeoPolygonLine* polygon = new CGeoPolygonLine(count - 1, ring.get(), 1);
            polygon->Complete(1);
            return WithUnitAndFace(polygon, GetUnit(), m_bFace);
        }
        case GLT_ELLIPSE: return WithUnitAndFace(new CGeoEllipse(b), GetUnit(), m_bFace);
        case GLT_RECT: return WithUnitAndFace(new CGeoRect(b), GetUnit(), m_bFace);
        default: return nullptr;
    }
}
