#include "annotation/GeoDNAnno.h"

#include "core/CoreResources.h"
#include "core/GeoView.h"

#include <afx/CursorResource.h>
#include <caddox/DrawPoint.h>
#include <ostrel/Units.h>
#include <pellion/GeoCoordinateTransformer.h>

#include <algorithm>
#include <climits>
#include <cmath>

IMPLEMENT_SERIAL(CGeoDNAnno, CGeoAnno, 0)

namespace {

LONG TruncToLong(double v) {
    if (!(v == v)) return 0;
    if (v >= 2147483647.0) return INT_MAX;
    if (v <= -2147483648.0) return INT_MIN;
    return static_cast<LONG>(std::trunc(v));
}

}  // namespace

CGeoDNAnno::CGeoDNAnno() = default;

CGeoDNAnno::CGeoDNAnno(const CString& text, const CRect& box, int charWidth, int charHeight, UINT formatWord,
                       int vertical, float angleDegrees)
    : CGeoAnno(text, box, charWidth, charHeight, formatWord, vertical, angleDegrees),
      m_ptPosPt{box.left, box.top} {}

CGeoDNAnno::CGeoDNAnno(POINT position, const CString& text, const CRect& box, int charWidth, int charHeight,
                       UINT formatWord, int vertical, float angleDegrees)
    : CGeoAnno(text, box, charWidth, charHeight, formatWord, vertical, angleDegrees), m_ptPosPt(position) {}

CGeoDNAnno::~CGeoDNAnno() = default;

void CGeoDNAnno::Serialize(CArchive& ar) {
    CGeoAnno::Serialize(ar);
    if (ar.IsStoring()) {
        ar << static_cast<LONG>(m_ptPosPt.x) << static_cast<LONG>(m_ptPosPt.y);
        return;
    }
    LONG x = 0, y = 0;
    ar >> x >> y;
    m_ptPosPt = POINT{x, y};
}

void CGeoDNAnno::OnDrawDNAnnoPosPt(CDC* pDC, UINT scale, CPoint origin, CPoint offset, const GEOVIEW& view,
                                   RECT* /*pClip*/, int xorMode) {
    const CPoint device = RPtoLP(scale, origin, offset, m_ptPosPt);
    DrawPoint(pDC, device, 0.0, view.m_nPointShape, view.m_crPointColor, view.m_nPointSize, xorMode, nullptr, 0);
}

void CGeoDNAnno::OnHideDNAnnoPosPt(CDC*, UINT, CPoint, const GEOVIEW&, RECT*, int) {}

CGeoObject* CGeoDNAnno::Duplicate(int withAttribute, int withRecord) {
    CGeoDNAnno* pNew = new CGeoDNAnno;
    if (!pNew->Copy(*this, withAttribute, withRecord)) {
        pNew->Remove();
        return nullptr;
    }
    return pNew;
}

int CGeoDNAnno::CopyData(const CGeoVectorObject& src) {
    const CGeoDNAnno* d = dynamic_cast<const CGeoDNAnno*>(&src);
    if (d == nullptr) return 0;
    m_ptPosPt = d->GetDNAnnoPosPt();
    BoundsChanged();
    return CGeoAnno::CopyData(src);
}

CRect CGeoDNAnno::GetBounds() const {
    CRect r = CGeoAnno::GetBounds();
    r.left = std::min<LONG>(r.left, m_ptPosPt.x);
    r.right = std::max<LONG>(r.right, m_ptPosPt.x);
    r.top = std::min<LONG>(r.top, m_ptPosPt.y);
    r.bottom = std::max<LONG>(r.bottom, m_ptPosPt.y);
    return r;
}

void CGeoDNAnno::OnDrawWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                         const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8,
                                         void* /*pSymbolLib*/, int /*keepColours*/) {
    // The annotation's own hook would come back through our plain hook and draw the marker a second
    // time, which in xor mode wipes it out again; so the text is drawn here directly.
    OnDrawDNAnnoPosPt(pDC, scale, origin, offset, view, pClip, xorMode);
    CGeoAnno::OnDrawWithoutSymbolization(pDC, scale, scale2, origin, offset, view, pClip, xorMode, nWord8, 1);
}

void CGeoDNAnno::OnDrawWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                            const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8,
                                            int scaleWidths) {
    OnDrawDNAnnoPosPt(pDC, scale, origin, offset, view, pClip, xorMode);
    CGeoAnno::OnDrawWithoutSymbolization(pDC, scale, scale2, origin, offset, view, pClip, xorMode, nWord8,
                                         scaleWidths);
}

void CGeoDNAnno::OnUnitChanged(int nOldUnit) {
    CGeoAnno::OnUnitChanged(nOldUnit);
    ::ChangeUnit(nOldUnit, m_nUnit, m_ptPosPt, 1.0);
}

void CGeoDNAnno::Transform(CGeoCoordinateTransformer& transformer, double x0, double y0) {
    CGeoAnno::Transform(transformer, x0, y0);
    const double xm = ::ChangeUnit(m_nUnit, 6, static_cast<double>(m_ptPosPt.x), 1.0) + x0;
    const double ym = ::ChangeUnit(m_nUnit, 6, static_cast<double>(m_ptPosPt.y), 1.0) + y0;
    double xo = xm, yo = ym;
    transformer.Transform(xm, ym, xo, yo);
    if (transformer.IsKindOf(RUNTIME_CLASS(CBaseCoordinateTransformer))) {
        const auto& t = static_cast<const CBaseCoordinateTransformer&>(transformer);
        xo -= t.GetSecondOffsetX();
        yo -= t.GetSecondOffsetY();
    }
    m_ptPosPt = POINT{TruncToLong(::ChangeUnit(6, m_nUnit, xo, 1.0)), TruncToLong(::ChangeUnit(6, m_nUnit, yo, 1.0))};
    BoundsChanged();  // the bounds take in the position point
}

int CGeoDNAnno::GetHandleCount() const { return 9; }

CPoint CGeoDNAnno::GetHandle(int nHandle) const {
    if (nHandle > 8) return CPoint(m_ptPosPt);
    return CGeoAnno::GetHandle(nHandle);
}

HCURSOR CGeoDNAnno::GetHandleCursor(int nHandle) const {
    if (nHandle > 8) return AfxLoadCursorResource(IDC_GEO_HANDLE);
    return CGeoAnno::GetHandleCursor(nHandle);
}

int CGeoDNAnno::CanMoveHandle(int) const { return 1; }

void CGeoDNAnno::MoveHandleTo(int nHandle, CPoint point) {
    if (nHandle < GetHandleCount()) {
        CGeoAnno::MoveHandleTo(nHandle, point);
        return;
    }
    m_ptPosPt = POINT{point.x, point.y};
    BoundsChanged();
}
