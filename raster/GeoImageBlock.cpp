// Pixel exchange between overlapping images and the proportional pixel <-> map conversion.
#include "raster/GeoImage.h"
#include "raster/GeoMosaicPLine.h"

#include <ostrel/Units.h>

#include <algorithm>
#include <cmath>

namespace {
LONG Trunc(double v)
{
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return 2147483647;
    if (v <= -2147483648.0) return -2147483647 - 1;
    return static_cast<LONG>(v);
}

struct Overlap {
    CRect A, B, I;
};

// This image's bounds in other's unit (A), other's bounds (B) and their intersection (I); false when
// the two do not share any area or one has no size.
bool FindOverlap(const CGeoImage& self, const CGeoImage& other, Overlap& o)
{
    o.A = self.GetBounds();
    ::ChangeUnit(self.GetUnit(), other.GetUnit(), static_cast<RECT&>(o.A));
    o.B = other.GetBounds();
    o.A.NormalizeRect();
    o.B.NormalizeRect();
    o.I = CRect(std::max(o.A.left, o.B.left), std::max(o.A.top, o.B.top), std::min(o.A.right, o.B.right),
                std::min(o.A.bottom, o.B.bottom));
    return o.I.left < o.I.right && o.I.top < o.I.bottom && o.A.Width() > 0 && o.A.Height() > 0 &&
           o.B.Width() > 0 && o.B.Height() > 0;
}
}  // namespace

int CGeoImage::GetBlock(CNewDIB* other, int a, int b, int c, int d, int w, int h)
{
    return m_DIB.GetDIBBlock(other, c, d, a, b, w, h);
}

int CGeoImage::PutBlock(CNewDIB* other, int a, int b, int c, int d, int w, int h)
{
    return m_DIB.PutDIBBlock(other, a, b, c, d, w, h);
}

int CGeoImage::GetBlock(CGeoImage* other)
{
    if (!other || other->GetBitCount() != GetBitCount()) return 0;
    Overlap o;
    if (!FindOverlap(*this, *other, o)) return 0;
    const int ox = Trunc(double(o.I.left - o.B.left) / o.B.Width() * other->m_DIB.GetWidth());
    const int oy = Trunc(double(o.I.top - o.B.top) / o.B.Height() * other->m_DIB.GetHeight());
    const int tx = Trunc(double(o.I.left - o.A.left) / o.A.Width() * m_DIB.GetWidth());
    const int ty = Trunc(double(o.I.top - o.A.top) / o.A.Height() * m_DIB.GetHeight());
    const int w = Trunc(double(o.I.Width()) * other->GetWidth() / o.B.Width());
    const int h = Trunc(double(o.I.Height()) * other->GetHeight() / o.B.Height());
    return GetBlock(&other->m_DIB, tx, ty, ox, oy, w, h);
}

int CGeoImage::PutBlock(CGeoImage* other)
{
    if (!other || other->GetBitCount() != GetBitCount()) return 0;
    Overlap o;
    if (!FindOverlap(*this, *other, o)) return 0;
    const int ox = Trunc(double(o.I.left - o.B.left) / o.B.Width() * other->m_DIB.GetWidth());
    const int oy = Trunc(double(o.I.top - o.B.top) / o.B.Height() * other->m_DIB.GetHeight());
    const int tx = Trunc(double(o.I.left - o.A.left) / o.A.Width() * m_DIB.GetWidth());
    const int ty = Trunc(double(o.I.top - o.A.top) / o.A.Height() * m_DIB.GetHeight());
    const int w = Trunc(double(o.I.Width()) * m_DIB.GetWidth() / o.A.Width());
    const int h = Trunc(double(o.I.Height()) * m_DIB.GetHeight() / o.A.Height());
    PutBlock(&other->m_DIB, ox, oy, tx, ty, w, h);
    return 1;
}

CRect CGeoImage::GetGeoPositionByPixel(CRect r)
{
    r.NormalizeRect();
    CRect G = GetBounds();
    G.NormalizeRect();
    const double W = m_DIB.GetWidth(), H = m_DIB.GetHeight();
    if (W <= 0 || H <= 0) return CRect(0, 0, 0, 0);
    return CRect(Trunc(G.left + G.Width() * r.left / W), Trunc(G.top + G.Height() * r.top / H),
                 Trunc(G.left + G.Width() * r.right / W), Trunc(G.top + G.Height() * r.bottom / H));
}

int CGeoImage::ImageCoordToMapCoordDirect(double& X, double& Y, double x, double y)
{
    const double W = m_DIB.GetWidth(), H = m_DIB.GetHeight();
    if (W <= 0 || H <= 0 || !(x >= 0 && x <= W && y >= 0 && y <= H)) return 0;
    CRect G = GetBounds();
    G.NormalizeRect();
    X = x * G.Width() / W + G.left + ::ChangeUnit(6, m_nUnit, m_dOriginX);
    Y = y * G.Height() / H + G.top + ::ChangeUnit(6, m_nUnit, m_dOriginY);
    return 1;
}

int CGeoImage::MapCoordToImageCoordDirect(double X, double Y, double& x, double& y)
{
    CRect G = GetBounds();
    G.NormalizeRect();
    const double W = m_DIB.GetWidth(), H = m_DIB.GetHeight();
    const double Xr = X - ::ChangeUnit(6, m_nUnit, m_dOriginX), Yr = Y - ::ChangeUnit(6, m_nUnit, m_dOriginY);
    if (W <= 0 || H <= 0 || G.Width() <= 0 || G.Height() <= 0) return 0;
    if (!(Xr >= G.left && Xr <= G.right && Yr >= G.top && Yr <= G.bottom)) return 0;
    x = W * (Xr - G.left) / G.Width();
    y = H * (Yr - G.top) / G.Height();
    return 1;
}

void CGeoImage::OnPartialShiftMosaicLine(CObject* line, int dx, int dy)
{
    if (line && line->IsKindOf(RUNTIME_CLASS(CGeoMosaicPLine))) static_cast<CGeoMosaicPLine*>(line)->ShiftPixels(dx, dy);
}
