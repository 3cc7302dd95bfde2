// DrawGeoAnno: the one function through which annotation text is drawn, measured, hit-tested or
// converted, whatever asks for it (the annotation object's own drawing, the labellers, the conversions,
// the style previews). The record's output mode says which (AnnoTextDraw.h).
#pragma once

#include "annotation/GeoAnnoRecord.h"

#include <afx/afx.h>

class CDC;
class GEOVIEW;

// Draws one annotation record: a char width or height below 1 first becomes 1 (in the record). Position
// types 0, 1 and 3: the whole-text frame or background (with the spacing), then the rows, or for
// formatted text DrawGeoFormatAnno (FormatText.h). Position type 2: the background (no spacing), then the text inside the box
// with the margins. Any other position type (5, 6, negative ...) draws nothing.
// The DC may be NULL when the output mode asks for a computation only. The record may be changed (sizes,
// the last row's values, the output fields): callers hand over a copy they do not need afterwards.
void DrawGeoAnno(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset, const GEOVIEW& style,
                 GEOANNO& anno, RECT* pClip, int highlight, tagGEORECT* pMargins, tagGEOFORMAT* pFormat,
                 int nWord8, int scaleWidths);
