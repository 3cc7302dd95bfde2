#include "core/VMSymbolOutputer.h"

#include "core/GeoGClass.h"
#include "core/GeoVectorLayer.h"
#include "core/GeoVectorObject.h"
#include "core/GeoView.h"
#include "core/VMSymbolLibIO.h"

#include <ostrel/Contact.h>
#include <ostrel/Measure.h>
#include <ostrel/Units.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace {

// width * 10 as the 32-bit value the style computation works with.
LONG TenfoldWidth(DWORD dwWidth) { return static_cast<LONG>(static_cast<uint32_t>(dwWidth * 10u)); }

// Style width of a polyline: always converted at the output scale.
float PolyLineWidth(DWORD dwWidth, const CCoordsConverter* pConv) {
    LONG w = RPtoLP(static_cast<UINT>(pConv->m_nNumerator), 3, TenfoldWidth(dwWidth), 1.0);
    return static_cast<float>(w / 10.0);
}

// Style width of an outlined area: converted only for a positive width, else -1 (no outline width).
float AreaWidth(bool bPositive, DWORD dwWidth, const CCoordsConverter* pConv) {
    LONG w = -1;
    if (bPositive)
        w = RPtoLP(static_cast<UINT>(pConv->m_nNumerator), 3, TenfoldWidth(dwWidth), 1.0);
    return static_cast<float>(w / 10.0);
}

void SetFill(GEOVIEW& v, DWORD crFill, BYTE byFillStyle) {
    v.m_crFillColor = crFill;
    v.m_bTransparent = byFillStyle == 8 ? 1 : 0;
    v.m_nFillShape = (byFillStyle >= 1 && byFillStyle <= 7) ? byFillStyle - 1 : 0;
}

// The style of ellipses, arcs and chords.
GEOVIEW ClosedShapeView(DWORD crLine, DWORD dwWidth, DWORD dwLineStyle, DWORD crFill, BYTE byFillStyle,
                        const CCoordsConverter* pConv) {
    GEOVIEW v;
    v.m_crLineColor = crLine;
    v.m_fLineWidth = AreaWidth(dwWidth != 0, dwWidth, pConv);
    v.m_nLineShape = static_cast<int>(dwLineStyle);
    SetFill(v, crFill, byFillStyle);
    return v;
}

RECT Normalized(const RECT& r) {
    RECT n = r;
    if (n.left > n.right) std::swap(n.left, n.right);
    if (n.top > n.bottom) std::swap(n.top, n.bottom);
    return n;
}

bool IsSquare(const RECT& n) {
    return static_cast<int64_t>(n.right) - n.left == static_cast<int64_t>(n.bottom) - n.top;
}

// The box's centre and the point halfway along the arc from start to end (counter-clockwise, y up):
// end turned back (clockwise, a negative angle) by half the sweep.
void ArcMiddle(const RECT& n, const POINT& ptStart, const POINT& ptEnd, POINT& centre, POINT& middle) {
    centre.x = static_cast<LONG>((static_cast<double>(n.left) + n.right) / 2.0);
    centre.y = static_cast<LONG>((static_cast<double>(n.top) + n.bottom) / 2.0);
    double sweep = CalcAngle(centre, ptStart, ptEnd, 0);
    middle = RotatePoint(ptEnd, centre, -sweep / 2.0);
}

CVMSymbolShapeMaker* g_pShapeMaker = nullptr;

}  // namespace

void CVMSymbolOutputer::SetShapeMaker(CVMSymbolShapeMaker* pMaker) { g_pShapeMaker = pMaker; }

CVMSymbolShapeMaker* CVMSymbolOutputer::GetShapeMaker() { return g_pShapeMaker; }

void CVMSymbolOutputer::AddGClassIfMissing(CGeoVectorLayer* pLayer, UINT nCode) {
    if (!pLayer || nCode == 0) return;
    if (pLayer->m_Theme.FindGC(nCode) != -1) return;
    CGeoGClass gc;
    gc.SetGCID(nCode);
    CString name;
    name.Format("%d", static_cast<int>(nCode));
    gc.SetGCName(name);
    pLayer->m_Theme.AddGC(gc, -2);
}

LONG CVMSymbolOutputer::Finish(CGeoVectorObject* pObject, const GEOVIEW& view) {
    if (!pObject) return 1;
    pObject->SetUnit(m_nUnit);
    POINT off = m_ptOffset;
    ::ChangeUnit(3, m_nUnit, off, 1.0);
    pObject->Move(CSize(-off.x, -off.y));
    pObject->SetGeoView(view);
    pObject->SetObjectClassID(m_nClassCode);
    pObject->SetDisplayAttribute(DISPLAYATTR_SELF);
    pObject->SetZ(m_dZ);
    AddGClassIfMissing(m_pTargetLayer, m_nClassCode);
    // An object no layer takes would belong to nobody.
    if (!pObject->AttachLayer(m_pTargetLayer)) {
        delete pObject;
        return 1;
    }
    return 0;
}

LONG CVMSymbolOutputer::OutputPolyLine(const POINT* pPoints, LONG nCount, DWORD crColor, DWORD dwWidth,
                                       DWORD dwLineStyle, BYTE, const RECT*, void* pContext) {
    if (nCount < 2 || !pContext || !pPoints || !g_pShapeMaker) return 1;
    const CCoordsConverter* pConv = static_cast<const CCoordsConverter*>(pContext);
    CGeoVectorObject* pLine = g_pShapeMaker->PolyLine(pPoints, nCount);
    GEOVIEW v;
    v.m_crLineColor = crColor;
    v.m_fLineWidth = PolyLineWidth(dwWidth, pConv);
    v.m_nLineShape = static_cast<int>(dwLineStyle);
    return Finish(pLine, v);
}

LONG CVMSymbolOutputer::OutputPolygon(const POINT* pPoints, LONG nCount, DWORD crLine, DWORD dwWidth,
                                      DWORD dwLineStyle, DWORD crFill, BYTE byFillStyle, BYTE, const RECT*,
                                      void* pContext) {
    if (!pContext || !pPoints || nCount < 1 || !g_pShapeMaker) return 1;
    const CCoordsConverter* pConv = static_cast<const CCoordsConverter*>(pContext);
    LONG n = nCount;
    if (n > 1 && EqualPoint(pPoints[n - 1], pPoints[0])) --n;
    if (n < 3) return 1;
    CGeoVectorObject* pPolygon = g_pShapeMaker->PolygonLine(pPoints, n, byFillStyle != 0 ? 1 : 0);
    const bool bOutlined = TenfoldWidth(dwWidth) > 0;
    GEOVIEW v;
    v.m_crLineColor = bOutlined ? crLine : crFill;
    v.m_fLineWidth = AreaWidth(bOutlined, dwWidth, pConv);
    v.m_nLineShape = static_cast<int>(dwLineStyle);
    SetFill(v, crFill, byFillStyle);
    return Finish(pPolygon, v);
}

LONG CVMSymbolOutputer::OutputAnno(const POINT& ptPosition, DWORD crColor, LOGFONT& font, const char* pszText,
                                   const RECT*, void* pContext) {
    if (!pContext || !pszText || !g_pShapeMaker) return 1;
    const int64_t h = font.lfHeight;
    const int64_t len = static_cast<int64_t>(std::strlen(pszText));
    auto clamp = [](int64_t v) {
        return static_cast<LONG>(v < INT32_MIN ? INT32_MIN : (v > INT32_MAX ? INT32_MAX : v));
    };
    CRect box;
    box.left = ptPosition.x;
    box.top = ptPosition.y;
    box.right = clamp(ptPosition.x + (len / 2 + 1) * h);
    box.bottom = clamp(ptPosition.y - h);
    CGeoVectorObject* pAnno = g_pShapeMaker->Anno(CString(pszText), box, font.lfHeight);
    if (!pAnno) return 1;
    GEOVIEW v = pAnno->GetGeoView();
    v.m_crAnnoColor = crColor;
    v.SetFaceName(font.lfFaceName);
    v.SetUnderLine(font.lfUnderline ? 1 : 0);
    return Finish(pAnno, v);
}

LONG CVMSymbolOutputer::OutputEllipse(const RECT* pBox, DWORD crLine, DWORD dwWidth, DWORD dwLineStyle, DWORD crFill,
                                      BYTE byFillStyle, const RECT*, void* pContext) {
    if (!pContext || !pBox || !g_pShapeMaker) return 1;
    const CCoordsConverter* pConv = static_cast<const CCoordsConverter*>(pContext);
    CGeoVectorObject* pShape = g_pShapeMaker->Ellipse(CRect(*pBox), byFillStyle != 0 ? 1 : 0);
    return Finish(pShape, ClosedShapeView(crLine, dwWidth, dwLineStyle, crFill, byFillStyle, pConv));
}

LONG CVMSymbolOutputer::OutputArc(const RECT* pBox, const POINT& ptStart, const POINT& ptEnd, DWORD crLine,
                                  DWORD dwWidth, DWORD dwLineStyle, DWORD crFill, BYTE byFillStyle, BYTE byPie,
                                  const RECT*, void* pContext) {
    if (!pContext || !pBox || !g_pShapeMaker) return 1;
    if (EqualPoint(ptStart, ptEnd)) return 1;
    const RECT n = Normalized(*pBox);
    if (!IsSquare(n)) return 1;
    const CCoordsConverter* pConv = static_cast<const CCoordsConverter*>(pContext);
    POINT centre, middle;
    ArcMiddle(n, ptStart, ptEnd, centre, middle);
    const GEOVIEW v = ClosedShapeView(crLine, dwWidth, dwLineStyle, crFill, byFillStyle, pConv);

    const int64_t lhs = (static_cast<int64_t>(middle.x) - ptStart.x) * (static_cast<int64_t>(ptEnd.y) - middle.y);
    const int64_t rhs = (static_cast<int64_t>(middle.y) - ptStart.y) * (static_cast<int64_t>(ptEnd.x) - middle.x);
    if (lhs == rhs) {
        const POINT pts[3] = {ptStart, middle, ptEnd};
        return Finish(g_pShapeMaker->PolyLine(pts, 3), v);
    }
    if (!byPie) return Finish(g_pShapeMaker->Arc(ptStart, middle, ptEnd), v);
    return Finish(g_pShapeMaker->ArcPolygon(ptStart, middle, ptEnd, &centre, byFillStyle != 0 ? 1 : 0), v);
}

LONG CVMSymbolOutputer::OutputChord(const RECT* pBox, const POINT& ptStart, const POINT& ptEnd, DWORD crLine,
                                    DWORD dwWidth, DWORD dwLineStyle, DWORD crFill, BYTE byFillStyle, const RECT*,
                                    void* pContext) {
    if (!pContext || !pBox || !g_pShapeMaker) return 1;
    const RECT n = Normalized(*pBox);
    if (!IsSquare(n)) return 1;
    const CCoordsConverter* pConv = static_cast<const CCoordsConverter*>(pContext);
    POINT centre, middle;
    ArcMiddle(n, ptStart, ptEnd, centre, middle);
    CGeoVectorObject* pPolygon =
        g_pShapeMaker->ArcPolygon(ptStart, middle, ptEnd, nullptr, byFillStyle != 0 ? 1 : 0);
    return Finish(pPolygon, ClosedShapeView(crLine, dwWidth, dwLineStyle, crFill, byFillStyle, pConv));
}
