#include "vector/GeoLabelPoint.h"

#include "core/GeoSettings.h"
#include "core/GeoVectorLayer.h"
#include "vector/GeoPolygon.h"
#include "vector/ShapePainter.h"
#include "vector/SaturatingMath.h"

#include <quenby/SymbolLibIO.h>

#include <algorithm>
#include <climits>
#include <cstring>

using geomath::ClampLong;

IMPLEMENT_SERIAL(CGeoLabelPoint, CGeoPoint, 1)

namespace {

}  // namespace

CGeoLabelPoint::CGeoLabelPoint() = default;

CGeoLabelPoint::CGeoLabelPoint(POINT p) : CGeoPoint(p) {}

CGeoLabelPoint::CGeoLabelPoint(int x, int y) : CGeoPoint(x, y) {}

CGeoLabelPoint::CGeoLabelPoint(const CGeoLabelPoint& src, int copyAttributes, int attributeMode) {
    // Copied here rather than by the point's copy constructor, so that the label point's own CopyData
    // runs and the polygon ID comes along.
    Copy(src, copyAttributes, attributeMode);
}

CGeoLabelPoint::~CGeoLabelPoint() = default;

void CGeoLabelPoint::Serialize(CArchive& ar) {
    CGeoPoint::Serialize(ar);
    if (ar.IsStoring())
        ar << m_dwPolygonID;
    else
        ar >> m_dwPolygonID;
}

CGeoLabelPoint& CGeoLabelPoint::operator=(const CGeoLabelPoint& src) {
    if (&src != this) Copy(src, 0, 1);
    return *this;
}

CString CGeoLabelPoint::GetObjectTypeName() const { return CString("标识点"); }

void CGeoLabelPoint::OnDeleteFromLayer(CGeoVectorLayer* pLayer) {
    if (!pLayer || std::strcmp(GetRuntimeClass()->m_lpszClassName, "CGeoLabelPoint") != 0) return;
    CGeoAccessorialObject* pOwner = pLayer->FindObj(GetPolygonID());
    if (pOwner && pOwner->IsKindOf(RUNTIME_CLASS(CGeoPolygon)))
        static_cast<CGeoPolygon*>(pOwner)->SetLabelPoint(static_cast<CGeoLabelPoint*>(nullptr));
}

CGeoObject* CGeoLabelPoint::Duplicate(int withAttribute, int withRecord) {
    CGeoLabelPoint* copy = new CGeoLabelPoint;
    if (!copy->Copy(*this, withAttribute, withRecord)) {
        copy->Remove();
        return nullptr;
    }
    return copy;
}

int CGeoLabelPoint::CopyData(const CGeoVectorObject& src) {
    if (!src.IsKindOf(RUNTIME_CLASS(CGeoLabelPoint))) return 0;
    if (!CGeoPoint::CopyData(src)) return 0;
    m_dwPolygonID = static_cast<const CGeoLabelPoint&>(src).m_dwPolygonID;
    return 1;
}

CRect CGeoLabelPoint::GetDrawBounds(UINT scale, CPoint origin, CPoint offset, int withHandles, const GEOVIEW*) const {
    // The point's bounds without a style are exactly the cross-radius ones.
    return CGeoPoint::GetDrawBounds(scale, origin, offset, withHandles, nullptr);
}

int CGeoLabelPoint::GetObjectSymbolID(GEOVIEW view) const { return view.GetSymbol(SYMBOL_FILL); }

void CGeoLabelPoint::OnDrawWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                             const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8,
                                             void* pSymbolLib, int keepColours) {
    const int symbol = ChooseSymbol(pSymbolLib, view, SYMBOL_POINT);
    if (symbol == 0 || GetLabelPointShowType() != LABEL_SYMBOL) {
        OnDrawWithoutSymbolization(pDC, scale, scale2, origin, offset, view, pClip, xorMode, nWord8, 1);
        return;
    }
    const CPoint device = RPtoLP(scale, origin, offset, m_ptPosition);
    CSymbolPainting painting(*this, m_SymbolAttrib, static_cast<CSymbolLibIO*>(pSymbolLib), symbol, scale, scale2,
                             keepColours, view.m_crPointColor);
    if (painting.DrawPoint(pDC, device, 0.0, pClip, xorMode) != QUENBY_OK) {
        // The plain painter shows the Z text itself, so it is not drawn twice.
        painting.RestoreMask();
        OnDrawWithoutSymbolization(pDC, scale, scale2, origin, offset, view, pClip, xorMode, nWord8, 1);
        return;
    }
    if (nWord8) DrawElevationText(pDC, device, view.m_crPointColor);
}

void CGeoLabelPoint::OnDrawWithoutSymbolization(CDC* pDC, UINT scale, UINT, CPoint origin, CPoint offset,
                                                const GEOVIEW& view, RECT*, int xorMode, int nWord8, int) {
    const LABELTYPE type = GetLabelPointShowType();
    if (type == LABEL_HIDE || !pDC || !pDC->m_hDC) return;
    CShapePainter painter(pDC);
    painter.SelectPen(PS_SOLID, 1, view.m_crPointColor);
    if (xorMode) painter.SetROP2(R2_XORPEN);
    const CPoint p = RPtoLP(scale, origin, offset, m_ptPosition);
    const int64_t r = GetCrossRadius();
    const HDC hdc = pDC->m_hDC;
    if (type == LABEL_CROSS) {
        ::MoveToEx(hdc, ClampLong(p.x - r), p.y, nullptr);
        ::LineTo(hdc, ClampLong(p.x + r), p.y);
        ::MoveToEx(hdc, p.x, ClampLong(p.y - r), nullptr);
        ::LineTo(hdc, p.x, ClampLong(p.y + r));
    } else if (type == LABEL_DOT) {
        ::Ellipse(hdc, ClampLong(p.x - 1LL), ClampLong(p.y - 1LL), ClampLong(p.x + 2LL), ClampLong(p.y + 2LL));
    }
    if (nWord8) DrawElevationText(pDC, p, view.m_crPointColor);
    painter.Restore();
}

void CGeoLabelPoint::DrawElevationText(CDC* pDC, CPoint p, COLORREF colour) const {
    if (!pDC || !pDC->m_hDC) return;
    const HDC hdc = pDC->m_hDC;
    const int64_t r = GetCrossRadius();
    CString text;
    text.Format("%.3f", GetZ());
    const COLORREF oldColour = ::SetTextColor(hdc, colour);
    const int oldMode = ::SetBkMode(hdc, TRANSPARENT);
    ::TextOut(hdc, ClampLong(p.x + r), ClampLong(p.y - r), text, text.GetLength());
    if (oldMode) ::SetBkMode(hdc, oldMode);
    if (oldColour != CLR_INVALID) ::SetTextColor(hdc, oldColour);
}

void CGeoLabelPoint::OnHideWithSymbolization(CDC*, UINT, UINT, CPoint, const GEOVIEW&, RECT*) {}

void CGeoLabelPoint::OnHideWithoutSymbolization(CDC*, UINT, UINT, CPoint, const GEOVIEW&, RECT*) {}

void CGeoLabelPoint::OnBlinkWithSymbolization(CDC*, UINT, UINT, CPoint, const GEOVIEW&, RECT*) {}

void CGeoLabelPoint::OnBlinkWithoutSymbolization(CDC*, UINT, UINT, CPoint, const GEOVIEW&, RECT*) {}
