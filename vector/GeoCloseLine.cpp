#include "vector/GeoCloseLine.h"

#include "vector/ShapePainter.h"
#include "vector/SaturatingMath.h"

#include <caddox/FillShape.h>
#include <ostrel/Units.h>
#include <pellion/GeoCoordinateTransformer.h>
#include <quenby/SymbolLibIO.h>

#include <climits>
#include <cmath>

using geomath::TruncLong;

IMPLEMENT_SERIAL(CGeoCloseLine, CGeoLine, 0)

namespace {

}  // namespace

CGeoCloseLine::CGeoCloseLine() = default;

CGeoCloseLine::~CGeoCloseLine() = default;

void CGeoCloseLine::Serialize(CArchive& ar) {
    CGeoLine::Serialize(ar);
    if (ar.IsStoring()) {
        ar << static_cast<LONG>(m_bFace);
    } else {
        LONG face = 0;
        ar >> face;
        m_bFace = face;
    }
}

double CGeoCloseLine::Area() const { return 0.0; }

int CGeoCloseLine::SetFace(int bFace) {
    const int old = m_bFace;
    m_bFace = bFace;
    return old;
}

int CGeoCloseLine::CopyData(const CGeoVectorObject& src) {
    if (!CGeoLine::CopyData(src)) return 0;
    if (src.IsKindOf(RUNTIME_CLASS(CGeoCloseLine))) m_bFace = static_cast<const CGeoCloseLine&>(src).m_bFace;
    return 1;
}

int CGeoCloseLine::GetObjectSymbolID(GEOVIEW view) const {
    return view.GetSymbol(m_bFace ? SYMBOL_FILL : SYMBOL_LINE);
}

int CGeoCloseLine::ChooseShapeSymbol(const void* pLib, const GEOVIEW& view) const {
    return ChooseSymbol(pLib, view, m_bFace ? SYMBOL_FILL : SYMBOL_LINE);
}

COLORREF CGeoCloseLine::ShapeColour(const GEOVIEW& view) const {
    return m_bFace ? view.m_crFillColor : view.m_crLineColor;
}

void CGeoCloseLine::PreparePlainPainter(CShapePainter& painter, const GEOVIEW& view, UINT scale, UINT scale2,
                                        int scaleWidths, int xorMode, BOOL bGeometricPen) const {
    const int w = GetDevicePenWidth(view, scale, scale2, scaleWidths);
    if (bGeometricPen)
        painter.SelectLinePen(view, w, TRUE);
    else
        painter.SelectPen(PS_SOLID, w, view.m_crLineColor);
    if (m_bFace)
        painter.SelectFillBrush(GetFillShape(view.m_nFillShape), view.m_crFillColor);
    else
        painter.SelectStockObject(NULL_BRUSH);
    painter.SetXorMode(xorMode);
    if (view.m_bTransparent && m_bFace) {
        if (!xorMode) painter.SetROP2(R2_MASKPEN);
        painter.SetBkMode(TRANSPARENT);
    } else {
        painter.SetBkMode(OPAQUE);
    }
}

POINT CGeoCloseLine::TransformPoint(CGeoCoordinateTransformer& transformer, double x0, double y0, POINT p) const {
    const int unit = GetUnit();
    const double xm = ::ChangeUnit(unit, 6, static_cast<double>(p.x), 1.0) + x0;
    const double ym = ::ChangeUnit(unit, 6, static_cast<double>(p.y), 1.0) + y0;
    double xo = xm, yo = ym;
    transformer.Transform(xm, ym, xo, yo);
    if (transformer.IsKindOf(RUNTIME_CLASS(CBaseCoordinateTransformer))) {
        const CBaseCoordinateTransformer& base = static_cast<const CBaseCoordinateTransformer&>(transformer);
        xo -= base.GetSecondOffsetX();
        yo -= base.GetSecondOffsetY();
    }
    return POINT{TruncLong(::ChangeUnit(6, unit, xo, 1.0)), TruncLong(::ChangeUnit(6, unit, yo, 1.0))};
}

int CGeoCloseLine::OutputRectSymbol(CSymbolLibIO* pLib, CSymbolOutputer* pOutputer, CCoordsConverter* pConverter,
                                    const GEOVIEW* pView, const RECT& rcMillimetres) {
    if (!pLib || !pOutputer || !pConverter || !pView) return 0;
    const int symbol = pView->GetSymbol(m_bFace ? SYMBOL_FILL : SYMBOL_LINE);
    if (symbol == 0) return 0;
    CSymbolPainting output(*this, m_SymbolAttrib, pLib, symbol, pConverter);
    return pLib->OutputSymbol(pOutputer, symbol, &rcMillimetres, nullptr, pConverter, &m_SymbolAttrib) == QUENBY_OK
               ? 1
               : 0;
}

void CGeoCloseLine::PaintBoundsEllipseWithSymbol(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                                 const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8,
                                                 void* pSymbolLib, int keepColours) {
    const int symbol = ChooseShapeSymbol(pSymbolLib, view);
    LONG result = QUENBY_ERR_ARGUMENT;
    if (symbol != 0) {
        const CRect device = RPtoLP(scale, origin, offset, GetBounds());
        CSymbolPainting painting(*this, m_SymbolAttrib, static_cast<CSymbolLibIO*>(pSymbolLib), symbol, scale,
                                 scale2, keepColours, ShapeColour(view));
        result = painting.DrawRect(pDC, &device, pClip, xorMode);
    }
    if (result != QUENBY_OK)
        OnDrawWithoutSymbolization(pDC, scale, scale2, origin, offset, view, pClip, xorMode, nWord8, 1);
}

void CGeoCloseLine::PaintBoundsEllipse(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                       const GEOVIEW& view, int xorMode, int scaleWidths) {
    if (!pDC || !pDC->m_hDC) return;
    CShapePainter painter(pDC);
    const CRect device = RPtoLP(scale, origin, offset, GetBounds());
    PreparePlainPainter(painter, view, scale, scale2, scaleWidths, xorMode, FALSE);
    ::Ellipse(pDC->m_hDC, device.left, device.top, device.right, device.bottom);
    painter.Restore();
}
