#include "vector/GeoMapIndexPolygon.h"

#include "core/GeoVectorLayer.h"
#include "vector/GeoPLine.h"

#include <pellion/MapInfo.h>

#include <climits>
#include <cmath>

IMPLEMENT_SERIAL(CGeoMapIndexPolygon, CGeoPolygon, 0)

namespace {

// Kilometres from the sheet series to the layer's coordinates.
const double kCornerFactor = 1000000.0;

// Truncated toward zero; beyond the 32-bit range (or not a number) clamped rather than wrapped.
LONG ToCoordinate(double v) {
    if (std::isnan(v)) return 0;
    if (v >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (v <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<LONG>(v);
}

}  // namespace

CGeoMapIndexPolygon::CGeoMapIndexPolygon() = default;

CGeoMapIndexPolygon::CGeoMapIndexPolygon(CGeoVectorLayer* pLayer, CString sheetNumber) {
    m_strMapNumber = sheetNumber;
    if (!pLayer) return;
    MapInfo info(sheetNumber, 0);
    const CPoint base = pLayer->GetLayerBase();
    POINT ring[5];
    for (int corner = 0; corner < 4; ++corner) {
        // An unknown sheet leaves the corner at 0, 0.
        double x = 0.0, y = 0.0;
        info.GetMapCornerCoordinate(corner, x, y, 2, -1);
        ring[corner].x = ToCoordinate(x * kCornerFactor - base.x);
        ring[corner].y = ToCoordinate(y * kCornerFactor - base.y);
    }
    ring[4] = ring[0];
    CGeoPLine* pOutline = new CGeoPLine(5, ring, 1);
    if (!pLayer->Add(pOutline)) {
        pOutline->Remove();
        return;
    }
    CGeoPolyBorder border;
    border.Add(QhPLine{pOutline, 1});
    border.Add(QhPLine{nullptr, 0});
    SetBorderLine(border);
}

CGeoMapIndexPolygon::~CGeoMapIndexPolygon() = default;

void CGeoMapIndexPolygon::Serialize(CArchive& ar) {
    CGeoPolygon::Serialize(ar);
    if (ar.IsStoring())
        ar << m_strMapName << m_strMapNumber << m_strFileName;
    else
        ar >> m_strMapName >> m_strMapNumber >> m_strFileName;
}

void CGeoMapIndexPolygon::OnDrawWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                                  const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8,
                                                  void* pSymbolLib, int keepColours) {
    CGeoPolygon::OnDrawWithSymbolization(pDC, scale, scale2, origin, offset, view, pClip, xorMode, nWord8, pSymbolLib,
                                         keepColours);
    DrawMapNumber(pDC, scale, origin, offset, xorMode);
}

void CGeoMapIndexPolygon::OnDrawWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                                     const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8,
                                                     int scaleWidths) {
    CGeoPolygon::OnDrawWithoutSymbolization(pDC, scale, scale2, origin, offset, view, pClip, xorMode, nWord8,
                                            scaleWidths);
    DrawMapNumber(pDC, scale, origin, offset, xorMode);
}

void CGeoMapIndexPolygon::DrawMapNumber(CDC* pDC, UINT scale, CPoint origin, CPoint offset, int xorMode) const {
    if (!pDC) return;
    int oldRop = 0;
    if (xorMode) oldRop = pDC->SetROP2(R2_XORPEN);
    CRect device = RPtoLP(scale, origin, offset, static_cast<RECT>(GetBounds()));
    device.InflateRect(10, 10);
    const CPoint c(static_cast<int>((static_cast<double>(device.left) + device.right) / 2.0),
                   static_cast<int>((static_cast<double>(device.top) + device.bottom) / 2.0));
    const CSize extent = pDC->GetTextExtent(m_strMapNumber);
    const CRect box(c.x - extent.cx / 2, c.y - extent.cy / 2, c.x + extent.cx / 2, c.y + extent.cy / 2);
    CRect clip;
    clip.IntersectRect(&box, &device);
    pDC->ExtTextOut(c.x - extent.cx / 2, c.y - extent.cy / 2, ETO_OPAQUE | ETO_CLIPPED, &clip, m_strMapNumber, nullptr);
    if (xorMode) pDC->SetROP2(oldRop);
}
