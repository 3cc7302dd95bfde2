// Drawing of CGeoAnno: both painting hooks end in DrawGeoAnno.
#include "annotation/DrawGeoAnno.h"
#include "annotation/AnnoLayout.h"
#include "annotation/GeoAnno.h"
#include "core/GeoHelpers.h"

#include <afx/Dc.h>
#include <ostrel/PointBuffer.h>

void CGeoAnno::OnDrawWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                       const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8,
                                       void* /*pSymbolLib*/, int /*keepColours*/)
{
    OnDrawWithoutSymbolization(pDC, scale, scale2, origin, offset, view, pClip, xorMode, nWord8, 1);
}

void CGeoAnno::OnDrawWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                          const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8,
                                          int scaleWidths)
{
    if (m_strText.IsEmpty()) return;
    GEOANNO r = MakeGeoAnno();
    tagGEOFORMAT f = MakeGeoFormat();
    tagGEORECT m = MakeGeoRect();
    OnDrawAnno(pDC, scale, scale2, origin, offset, view, r, pClip, xorMode, &m, &f, nWord8, scaleWidths);
}

void CGeoAnno::OnHideWithSymbolization(CDC*, UINT, UINT, CPoint, const GEOVIEW&, RECT*) {}
void CGeoAnno::OnHideWithoutSymbolization(CDC*, UINT, UINT, CPoint, const GEOVIEW&, RECT*) {}
void CGeoAnno::OnBlinkWithSymbolization(CDC*, UINT, UINT, CPoint, const GEOVIEW&, RECT*) {}
void CGeoAnno::OnBlinkWithoutSymbolization(CDC*, UINT, UINT, CPoint, const GEOVIEW&, RECT*) {}

void CGeoAnno::OnDrawAnno(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset, const GEOVIEW& view,
                          GEOANNO& r, RECT* pClip, int xorMode, tagGEORECT* pMargins, tagGEOFORMAT* pFormat,
                          int nWord8, int scaleWidths)
{
    if (!IsPositionType(6)) {
        DrawGeoAnno(pDC, scale, scale2, origin, offset, view, r, pClip, xorMode, pMargins, pFormat, nWord8,
                    scaleWidths);
        return;
    }
    r.m_nPositionType = 0;
    r.m_nRowSpace = 0;
    r.m_nColSpace = 0;
    r.SetFormatStyle(0);
    const int n = GetStringCount(m_strText);
    for (int k = 0; k < n; ++k) {
        CPoint p;
        float angle = 0.0f;
        char piece[3] = {0, 0, 0};
        if (!GetAt(k, &p, &angle, piece)) break;
        r.m_strText = piece;
        r.m_ptPosition = p;
        r.m_ptRotateCenter = p;
        r.m_fEscapeAngle = angle;
        r.m_fOrientAngle = angle;
        r.m_nAlignType = m_byAlignType;
        DrawGeoAnno(pDC, scale, scale2, origin, offset, view, r, pClip, xorMode, pMargins, pFormat, nWord8,
                    scaleWidths);
    }
}

void CGeoAnno::DrawBaseLine(CDC* pDC, RECT* pClip, UINT scale, CPoint origin, CPoint offset, TrackerState,
                            TrackerDrawState)
{
    const int n = static_cast<int>(m_aPoints.GetSize());
    if (pDC == nullptr || n < 1) return;
    POINT* pts = GetFXPointBuffer(n);
    if (pts == nullptr) return;
    RPtoLP(scale, origin, offset, m_aPoints.GetData(), pts, n);
    CPen pen(PS_DOT, 1, RGB(0, 0, 125));
    CPen* oldPen = pDC->SelectObject(&pen);
    const int oldRop = pDC->SetROP2(R2_NOTXORPEN);
    PolyLine(pDC->GetSafeHdc(), pts, n, pClip);
    pDC->SetROP2(oldRop);
    if (oldPen) pDC->SelectObject(oldPen);
    FreeFXPointBuffer();
}
