// Drawing and resizing of an image.
#include "raster/GeoImage.h"

#include "core/GeoView.h"
#include "raster/GeoMosaicPLine.h"
#include "raster/GeoRasterLayer.h"

#include <afx/Dc.h>
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
}  // namespace

void CGeoImage::Draw(CDC* pDC, RECT* clip, UINT scale, CPoint origin, CPoint offset, int)
{
    // An empty bitmap has no pixels to map the view onto (and its width is a divisor below).
    if (!pDC || !GetLayer() || !m_DIB.Ready()) return;
    CRect bounds = GetBounds();
    bounds.NormalizeRect();
    const CRect D = RPtoLP(scale, origin, offset, static_cast<RECT>(bounds));
    CRect C = D;
    if (clip) {
        C.left = std::max(D.left, clip->left);
        C.top = std::max(D.top, clip->top);
        C.right = std::min(D.right, clip->right);
        C.bottom = std::min(D.bottom, clip->bottom);
    }
    if (C.left >= C.right || C.top >= C.bottom || D.right <= D.left || D.bottom <= D.top) return;

    const double W = GetWidth(), H = GetHeight();
    // Sizes in double: bounds may reach across the coordinate range, past what an int difference holds.
    const double dw = double(D.right) - D.left, dh = double(D.bottom) - D.top;
    // The source pixels under the visible part (rows from the top), one pixel more on every side so
    // that partly visible pixels at the edges are painted too.
    LONG sl = Trunc(W * (double(C.left) - D.left) / dw + 0.5) - 1;
    LONG st = Trunc(H * (double(C.top) - D.top) / dh + 0.5) - 1;
    LONG sr = Trunc(W * (double(C.right) - D.left) / dw + 0.5) + 1;
    LONG sb = Trunc(H * (double(C.bottom) - D.top) / dh + 0.5) + 1;
    sl = std::max<LONG>(sl, 0);
    st = std::max<LONG>(st, 0);
    sr = std::min<LONG>(sr, GetWidth() - 1);
    sb = std::min<LONG>(sb, GetHeight() - 1);
    if (sl > sr || st > sb) return;

    // Those pixels' own rectangle on the map, so that they land exactly where they belong.
    const double bw = double(bounds.right) - bounds.left, bh = double(bounds.bottom) - bounds.top;
    const LONG left = Trunc(bounds.left + bw * sl / W + 0.5);
    const LONG right = Trunc(bounds.left + bw * (sr + 1) / W + 0.5);
    const LONG north = Trunc(bounds.bottom - bh * st / H + 0.5);
    const LONG south = Trunc(bounds.bottom - bh * (sb + 1) / H + 0.5);
    CRect T = RPtoLP(scale, origin, offset, CRect(left, south, right, north));
    T.right += 1;
    T.bottom += 1;
    CRect S(sl, st, sr + 1, sb + 1);
    m_DIB.DrawDIB(pDC, &T, &S, SRCCOPY);

    // The boundary is kept relative to the base point: it is drawn there, in red.
    GEOVIEW view = m_Boundary.GetGeoView();
    view.m_crLineColor = RGB(255, 0, 0);
    const CRect mm = GetBoundsInMillimeter();
    const CPoint boundaryOffset(offset.x + mm.left, offset.y + mm.top);
    if (m_Boundary.GetPoints() >= 2)
        m_Boundary.Draw(pDC, scale, scale, origin, boundaryOffset, &view, 0, 0, 0, 0, nullptr, 0);
    for (POSITION pos = m_DrawnMosaicPLines.GetHeadPosition(); pos;) {
        CGeoMosaicPLine* line = m_DrawnMosaicPLines.GetNext(pos);
        if (line) line->Draw(pDC, scale, scale, origin, offset, nullptr, 0, 0, 0, 0, nullptr, 0);
    }
}

void CGeoImage::Hide(CDC*, RECT*, UINT, CPoint, int) {}

void CGeoImage::MoveTo(CRect rect)
{
    if (!CanMove()) return;
    const bool noWidth = rect.right == rect.left, noHeight = rect.bottom == rect.top;
    if (noWidth && noHeight) {
        CGeoRasterObject::MoveTo(rect);
        return;
    }
    if (noWidth || noHeight) return;
    m_Boundary.Clear();
    CRect n = rect;
    n.NormalizeRect();
    CRect old = GetBounds();
    old.NormalizeRect();
    const double scale = m_RasterParameter.m_nScale;
    auto pixels = [&](LONG size, double dpi) {
        const double cm = ::ChangeUnit(m_nUnit, 4, static_cast<double>(size));
        return Trunc(std::floor(cm / scale / 2.54 * dpi));
    };
    const CPoint oldExtent = m_ptExtent;
    m_ptExtent = CPoint(pixels(n.Width(), m_RasterParameter.m_dXResolution),
                        pixels(n.Height(), m_RasterParameter.m_dYResolution));
    if (n.Width() != old.Width() || n.Height() != old.Height()) {
        DWORD fill = 0xFFFFFF;
        if (GetLayer() && GetLayer()->IsKindOf(RUNTIME_CLASS(CGeoRasterLayer)))
            fill = static_cast<DWORD>(static_cast<CGeoRasterLayer*>(GetLayer())->GetBackColor());
        // The bitmap takes the new pixel count (extent + 1), not the size in object units, which
        // would be millions of pixels in millimetres.
        const bool resized = m_ptExtent.x >= 0 && m_ptExtent.y >= 0 &&
                             m_DIB.Resize(CSize(m_ptExtent.x + 1, m_ptExtent.y + 1), fill);
        if (resized)
            m_dwBytesPerRow = m_DIB.GetBytesPerLine();
        else
            m_ptExtent = oldExtent;
    }
    m_rcBounds = n;
    NotifyLayerBoundsChanged();
}
