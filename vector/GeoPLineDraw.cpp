// CGeoPLine: the painters and the symbolised output.
#include "vector/GeoPLine.h"

#include "core/GeoHelpers.h"
#include "vector/ShapePainter.h"

#include <ostrel/Units.h>
#include <quenby/SymbolLibIO.h>

void CGeoPLine::OnDrawWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                        const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8, void* pSymbolLib,
                                        int keepColours) {
    const int symbol = ChooseSymbol(pSymbolLib, view, SYMBOL_LINE);
    if (symbol == 0) {
        OnDrawWithoutSymbolization(pDC, scale, scale2, origin, offset, view, pClip, xorMode, nWord8, 1);
        return;
    }
    LONG result = QUENBY_ERR_ARGUMENT;
    {
        // The buffer and the attribute mask are given back before the plain painter may run.
        CScratchPoints pts(m_nSlotCount);
        if (pts.Get()) {
            RPtoLP(scale, origin, offset, m_pPoints, pts.Get(), m_nSlotCount);
            CSymbolPainting symbolPainting(*this, m_SymbolAttrib, static_cast<CSymbolLibIO*>(pSymbolLib), symbol,
                                           scale, scale2, keepColours, view.m_crLineColor);
            result = symbolPainting.DrawPoly(pDC, pts.Get(), m_nSlotCount, pClip, xorMode);
        }
    }
    if (result != QUENBY_OK)
        OnDrawWithoutSymbolization(pDC, scale, scale2, origin, offset, view, pClip, xorMode, nWord8, 1);
}

void CGeoPLine::OnDrawWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                           const GEOVIEW& view, RECT* pClip, int xorMode, int, int scaleWidths) {
    if (!pDC || !pDC->m_hDC) return;
    CScratchPoints pts(m_nSlotCount);
    CShapePainter painter(pDC);
    painter.SelectLinePen(view, GetDevicePenWidth(view, scale, scale2, scaleWidths), TRUE);
    painter.SelectStockObject(NULL_BRUSH);
    if (!pts.Get()) return;
    RPtoLP(scale, origin, offset, m_pPoints, pts.Get(), m_nSlotCount);
    painter.SetXorMode(xorMode);
    ::PolyLine(pDC->m_hDC, pts.Get(), m_nSlotCount, pClip);
    DrawLineEndMarks(pDC, pts.Get(), m_nSlotCount, GetDangleType());
    painter.Restore();
}

int CGeoPLine::OnSymbolizeOutput(CSymbolLibIO* pLib, CSymbolOutputer* pOutputer, CCoordsConverter* pConverter,
                                 GEOVIEW* pView) {
    if (!pLib || !pOutputer || !pConverter || !pView) return 0;
    const int symbol = pView->GetSymbol(SYMBOL_LINE);
    if (symbol == 0) return 0;
    CScratchPoints pts(m_nSlotCount);
    if (!pts.Get()) return 0;
    ::ChangeUnit(GetUnit(), 3, m_pPoints, pts.Get(), m_nSlotCount, 1.0);
    CSymbolPainting output(*this, m_SymbolAttrib, pLib, symbol, pConverter);
    return output.OutputPoly(pOutputer, pts.Get(), m_nSlotCount) == QUENBY_OK ? 1 : 0;
}
