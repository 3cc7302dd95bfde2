#include "raster/GeoGCPoint.h"

#include "core/GeoSettings.h"

#include <afx/Dc.h>
#include <afx/GdiObject.h>

#include <algorithm>
#include <cstdint>

IMPLEMENT_SERIAL(CGeoGCPoint, CGeoPoint, 0)

CGeoGCPoint::CGeoGCPoint(int bSamePoint) : m_bSamePoint(bSamePoint) { SetAutoRemoveByLayer(0); }

CGeoGCPoint::CGeoGCPoint(const CGeoGCPoint& src) : CGeoPoint()
{
    SetAutoRemoveByLayer(0);
    CGeoPoint::operator=(src);
    CopyFields(src);
}

CGeoGCPoint& CGeoGCPoint::operator=(const CGeoGCPoint& src)
{
    if (this != &src) {
        CGeoPoint::operator=(src);
        CopyFields(src);
    }
    return *this;
}

CGeoGCPoint::~CGeoGCPoint() = default;

void CGeoGCPoint::CopyFields(const CGeoGCPoint& src)
{
    m_bSamePoint = src.m_bSamePoint;
    m_dX = src.m_dX;
    m_dY = src.m_dY;
    m_dZ = src.m_dZ;
    m_dResidualX = src.m_dResidualX;
    m_dResidualY = src.m_dResidualY;
    m_dResidualZ = src.m_dResidualZ;
    m_dDistance = src.m_dDistance;
    m_dLatitude = src.m_dLatitude;
    m_dLongitude = src.m_dLongitude;
    m_lNumber = src.m_lNumber;
    m_ptPixel = src.m_ptPixel;
}

void CGeoGCPoint::Serialize(CArchive& ar)
{
    CGeoPoint::Serialize(ar);
    if (ar.IsStoring()) {
        ar << static_cast<LONG>(m_bSamePoint) << m_dX << m_dY << m_dZ << m_dResidualX << m_dResidualY << m_dResidualZ;
        ar << static_cast<LONG>(m_ptPixel.x) << static_cast<LONG>(m_ptPixel.y);
        return;
    }
    LONG same = 0, px = 0, py = 0;
    double z = 0.0;
    ar >> same >> m_dX >> m_dY >> z >> m_dResidualX >> m_dResidualY >> m_dResidualZ >> px >> py;
    m_bSamePoint = same;
    SetZ(z);
    m_ptPixel = CPoint(px, py);
}

namespace {
CRect Grown(const CRect& r, int64_t left, int64_t top, int64_t right, int64_t bottom)
{
    auto clamp = [](int64_t v) -> LONG {
        return static_cast<LONG>(std::min<int64_t>(INT32_MAX, std::max<int64_t>(INT32_MIN, v)));
    };
    return CRect(clamp(int64_t(r.left) - left), clamp(int64_t(r.top) - top), clamp(int64_t(r.right) + right),
                 clamp(int64_t(r.bottom) + bottom));
}
}  // namespace

CRect CGeoGCPoint::GetDrawBounds(UINT scale, CPoint origin, CPoint offset, int withHandles, const GEOVIEW*) const
{
    const CRect d = RPtoLP(scale, origin, offset, GetBounds());
    const int64_t r3 = int64_t(GetCrossRadius()) * 3;
    // Device y points down: "upwards" is towards a smaller top.
    CRect result = Grown(d, r3, r3 + 20, r3 + 100, r3);
    if (withHandles) {
        const int64_t h = GetHandleRadius();
        result |= Grown(d, h, h, h, h);
    }
    if (m_bSamePoint) result = Grown(result, 0, 0, int64_t(GetCrossRadius()) * 10, 0);
    return result;
}

void CGeoGCPoint::OnDrawWithoutSymbolization(CDC* pDC, UINT scale, UINT, CPoint origin, CPoint offset,
                                             const GEOVIEW&, RECT*, int xorMode, int, int)
{
    if (!pDC) return;
    CPen pen(PS_SOLID, 1, m_bSamePoint ? RGB(0, 0, 255) : RGB(255, 0, 0));
    CPen* oldPen = pDC->SelectObject(&pen);
    CGdiObject* oldBrush = pDC->SelectStockObject(NULL_BRUSH);
    const int oldRop = xorMode ? pDC->SetROP2(R2_XORPEN) : 0;
    const CPoint p = RPtoLP(scale, origin, offset, m_ptPosition);
    const int r3 = GetCrossRadius() * 3;
    const int h = r3 / 2;
    pDC->MoveTo(p.x, p.y - r3);
    pDC->LineTo(p.x, p.y + r3);
    pDC->MoveTo(p.x - r3, p.y);
    pDC->LineTo(p.x + r3, p.y);
    pDC->Ellipse(p.x - h, p.y - h, p.x + h, p.y + h);
    if (m_bSamePoint) {
        const COLORREF oldBk = pDC->SetBkColor(RGB(255, 255, 0));
        const CString name = GetObjectName();
        pDC->TextOut(p.x + 5, p.y + 5, name);
        pDC->SetBkColor(oldBk);
    }
    if (xorMode) pDC->SetROP2(oldRop);
    if (oldBrush) pDC->SelectObject(oldBrush);
    pDC->SelectObject(oldPen);
}

int CGeoGCPoint::GetX(int) const { return m_ptPixel.x; }

int CGeoGCPoint::GetY(int) const { return m_ptPixel.y; }
