#include "annotation/DrawGeoAnno.h"

#include "annotation/AnnoBlockDraw.h"
#include "annotation/AnnoTextDraw.h"
#include "annotation/FormatText.h"

void DrawGeoAnno(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset, const GEOVIEW& style,
                 GEOANNO& anno, RECT* pClip, int highlight, tagGEORECT* pMargins, tagGEOFORMAT* pFormat,
                 int nWord8, int scaleWidths)
{
    if (anno.m_nCharHeight <= 0) anno.m_nCharHeight = 1;
    if (anno.m_nCharWidth <= 0) anno.m_nCharWidth = 1;
    switch (anno.m_nPositionType) {
    case 0:
    case 1:
    case 3:
        DrawAnnoBackground(pDC, scale, scale2, origin, offset, style, anno, pClip, highlight, pFormat);
        if (anno.GetFormatStyle()) {
            DrawGeoFormatAnno(pDC, scale, scale2, origin, offset, style, anno, pFormat, pClip, highlight);
        } else {
            DrawAnnoRows(pDC, scale, scale2, origin, offset, style, anno, pClip, highlight, nWord8, scaleWidths);
        }
        break;
    case 2:
        DrawAnnoBackground(pDC, scale, scale2, origin, offset, style, anno, pClip, highlight, nullptr);
        DrawBoxedAnno(pDC, scale, scale2, origin, offset, style, anno, pMargins, pClip, highlight, nWord8,
                      scaleWidths);
        break;
    default:
        break;
    }
}
