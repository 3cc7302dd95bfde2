// Style resolution and drawing of vector objects: which style an object is drawn with, and the entry
// points that hand that style to the shape's painting hooks.
#include "core/GeoVectorObject.h"

#include "core/DisplayState.h"
#include "core/GeoGClass.h"
#include "core/GeoSettings.h"
#include "core/GeoVectorLayer.h"

#include <afx/afx.h>

#include <climits>

namespace {

// While it is non-zero every request for the attribute-display style recomputes the cached one.
int g_nADRefresh = 0;

CGeoVectorLayer* VectorLayerOf(const CGeoVectorObject* pObject)
{
    CGeoLayer* pLayer = pObject->GetLayer();
    return pLayer && pLayer->IsKindOf(RUNTIME_CLASS(CGeoVectorLayer)) ? static_cast<CGeoVectorLayer*>(pLayer)
                                                                       : nullptr;
}

// The point shapes are built on this library, so their class is found by name.
bool IsKindOfClassNamed(const CObject* pObject, LPCSTR lpszClassName)
{
    const CRuntimeClass* pClass = CRuntimeClass::FromName(lpszClassName);
    return pClass != nullptr && pObject->IsKindOf(pClass);
}

// The hollow square of a dangle or false-node mark.
void DrawMarkSquare(CDC* pDC, POINT p, int r, COLORREF colour)
{
    if (pDC == nullptr) return;
    CPen pen(PS_SOLID, 1, colour);
    CPen* pOldPen = pDC->SelectObject(&pen);
    CGdiObject* pOldBrush = pDC->SelectStockObject(NULL_BRUSH);
    pDC->Rectangle(p.x - r, p.y - r, p.x + r, p.y + r);
    if (pOldBrush) pDC->SelectObject(pOldBrush);
    if (pOldPen) pDC->SelectObject(pOldPen);
}

}  // namespace

int CGeoVectorObject::IsADRefresh() { return g_nADRefresh; }
void CGeoVectorObject::SetADRefresh(int bRefresh) { g_nADRefresh = bRefresh; }

GEOVIEW CGeoVectorObject::GetSelfGeoView() const
{
    return GetDisplayAttribute() == DISPLAYATTR_GCLASS ? GetGClassGeoView() : m_GeoView;
}

void CGeoVectorObject::GetGeoView(GEOVIEW& view, DISPLAYATTR attr)
{
    switch (attr) {
    case DISPLAYATTR_LAYER:
        if (CGeoVectorLayer* pLayer = VectorLayerOf(this)) view = pLayer->GetGeoView();
        break;
    case DISPLAYATTR_GCLASS: view = GetGClassGeoView(); break;
    case DISPLAYATTR_SELF:
        // The own view is taken without the copy GetSelfGeoView returns: this runs for every shape drawn.
        if (GetDisplayAttribute() == DISPLAYATTR_GCLASS)
            view = GetGClassGeoView();
        else
            view = m_GeoView.Get();
        break;
    case DISPLAYATTR_ATTRIBUTE:
        if (!m_bADInitialized || g_nADRefresh) {
            GEOVIEW found;
            CGeoVectorLayer* pLayer = VectorLayerOf(this);
            if (pLayer && pLayer->GetGeoViewAD(this, found))
                ADGeoView() = found;
            else
                ADGeoView() = GetSelfGeoView();
            m_bADInitialized = 1;
        }
        view = ADGeoView();
        break;
    default: break;
    }
}

int CGeoVectorObject::GetGeoView(GEOVIEW& view, tagDisplayState ds)
{
    const DISPLAYATTR attr = static_cast<DISPLAYATTR>(ds.m_nDisplayAttr);

    // A marked object takes the colours of its mark style over its own.
    if (ds.m_bShowMark && GetMark() != 0) {
        GetGeoView(view, attr);
        const GEOVIEW mark = GetMarkGeoView(GetMark());
        view.m_crPointColor = mark.m_crPointColor;
        view.m_crLineColor = mark.m_crLineColor;
        view.m_crFillColor = mark.m_crFillColor;
        view.m_bTransparent = mark.m_bTransparent;
        if (ds.m_bSymbolized) OnPrepareSymbol(view, ds);
        return 1;
    }

    if (ds.m_bElevationChart) {
        GetGeoView(view, attr);
        bool elevationPoint = false;
        if (IsElevPointShowElevChart() && IsKindOfClassNamed(this, "CGeoPoint")) {
            CGeoGClass gc;
            elevationPoint = GetGClass(gc) && gc.IsElevationValid();
        }
        if (!IsOnlyContourShowElevChart() || IsContourCode(GetObjectClassID())) {
            SetGeoViewByElevation(this, &view, elevationPoint ? 0 : 3);
            if (ds.m_bSymbolized) OnPrepareSymbol(view, ds);
            return 1;
        }
        if (elevationPoint) {
            SetGeoViewByElevation(this, &view, 0);
            if (ds.m_bSymbolized) OnPrepareSymbol(view, ds);
            return 1;
        }
    }

    if (OnGetGeoViewBegin(view, ds) == 0) return 1;
    GetGeoView(view, attr);
    return 1;
}

int CGeoVectorObject::OnGetGeoViewBegin(GEOVIEW& /*view*/, tagDisplayState /*ds*/) { return -1; }

void CGeoVectorObject::OnPrepareSymbol(GEOVIEW& view, tagDisplayState ds)
{
    GEOVIEW resolved = m_GeoView;
    GetGeoView(resolved, static_cast<DISPLAYATTR>(ds.m_nDisplayAttr));
    for (SYMBOLTYPE kind : {SYMBOL_POINT, SYMBOL_LINE, SYMBOL_FILL}) view.SetSymbol(kind, resolved.GetSymbol(kind));
}

void CGeoVectorObject::Draw(CDC* pDC, RECT* pClip, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                            tagDisplayState ds, int xorMode)
{
    if (pDC == nullptr) return;
    if (ds.m_nShowMode == VISIBLE_NONE) return;
    if (ds.m_nShowMode == VISIBLE_BYSCALE) {
        // Printers work at ten times the screen's resolution, so a class's scale range is taken there
        // at ten times the scale.
        UINT effective = scale;
        if (pDC->IsPrinting()) effective = scale > UINT_MAX / 10 ? UINT_MAX : scale * 10;
        if (GetObjectClassID() != 0 && !IsVisible(effective)) return;
    }

    GEOVIEW view = m_GeoView;
    GetGeoView(view, ds);
    // A mark's colours must win over the symbol's own.
    const int keepColours = (ds.m_bShowMark && GetMark() != 0) ? 0 : ds.m_bKeepSymbolColor;
    if (ds.m_bSymbolized)
        OnDrawWithSymbolization(pDC, scale, scale2, origin, offset, view, pClip, xorMode, ds.m_nWord8,
                                ds.m_pSymbolLibIO, keepColours);
    else
        OnDrawWithoutSymbolization(pDC, scale, scale2, origin, offset, view, pClip, xorMode, ds.m_nWord8,
                                   ds.m_bScaleWidth);
}

void CGeoVectorObject::Hide(CDC* pDC, RECT* pClip, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                            tagDisplayState ds)
{
    if (pDC == nullptr) return;
    GEOVIEW view;
    GetGeoView(view, ds);
    if (!NeedDraw(pClip, scale, origin, offset, static_cast<VISIBLESTATE>(ds.m_nShowMode), &view)) return;
    if (ds.m_bSymbolized)
        OnHideWithSymbolization(pDC, scale, scale2, origin, view, pClip);
    else
        OnHideWithoutSymbolization(pDC, scale, scale2, origin, view, pClip);
}

void CGeoVectorObject::Blink(CDC* pDC, RECT* pClip, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                             tagDisplayState ds)
{
    if (pDC == nullptr) return;
    GEOVIEW view;
    GetGeoView(view, ds);
    if (!NeedDraw(pClip, scale, origin, offset, static_cast<VISIBLESTATE>(ds.m_nShowMode), &view)) return;
    if (ds.m_bSymbolized)
        OnBlinkWithSymbolization(pDC, scale, scale2, origin, view, pClip);
    else
        OnBlinkWithoutSymbolization(pDC, scale, scale2, origin, view, pClip);
}

void CGeoVectorObject::Draw(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset, const GEOVIEW* pView,
                            int bSymbolized, int xorMode, int nWord8, int scaleWidths, void* pSymbolLib,
                            int keepColours)
{
    if (pDC == nullptr) return;
    const GEOVIEW view = pView ? *pView : m_GeoView;
    if (bSymbolized)
        OnDrawWithSymbolization(pDC, scale, scale2, origin, offset, view, nullptr, xorMode, nWord8, pSymbolLib,
                                keepColours);
    else
        OnDrawWithoutSymbolization(pDC, scale, scale2, origin, offset, view, nullptr, xorMode, nWord8,
                                   scaleWidths);
}

int CGeoVectorObject::NeedDraw(RECT* pClip, UINT scale, CPoint origin, CPoint offset, VISIBLESTATE state,
                               const GEOVIEW* pView) const
{
    if (state == VISIBLE_NONE) return 0;
    if (state == VISIBLE_BYSCALE && GetObjectClassID() != 0 && !IsVisible(scale)) return 0;
    return IntersectsDrawField(pClip, scale, origin, offset, 0, pView);
}

void DrawDangle(CDC* pDC, POINT p) { DrawMarkSquare(pDC, p, GetDangleRadius(), GetDangleColor()); }
void DrawFalseNode(CDC* pDC, POINT p) { DrawMarkSquare(pDC, p, GetFalseNodeRadius(), GetFalseNodeColor()); }
