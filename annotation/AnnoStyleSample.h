// DrawTips: a sample of an annotation style, drawn into a rectangle of a dialog (a style page's preview
// control).
//
// The style's sizes are physical sizes in tenths of a millimetre: character width and height, row and
// column space, line width, the bounds of a box annotation, the margins, the formatted-text spacing and
// the view's buffer width. They are turned into device pixels with the DC's LOGPIXELSX (widths) and
// LOGPIXELSY (heights), so the sample shows them at their true size on the screen. The rectangle and
// the position point are in device pixels of pDC (y down); the bounds of a box annotation are replaced.
//
//   fit = 0: the sample is drawn at true size, centred on the rectangle, even when it overflows it.
//   fit != 0, scaleSizes != 0: the sizes are scaled by k, the smaller of (rectangle width / sample
//     width) and (rectangle height / sample height), so that the sample fits the rectangle.
//   fit != 0, scaleSizes = 0: the text keeps its true size and the rectangle follows the sample
//     instead: it becomes exactly as wide as the sample (its left side stays), and its bottom moves down
//     when it is lower than the sample. The changed rectangle is handed back in rect (device pixels).
// A sample whose corners all coincide counts as 1 x 1 drawing units and fits any rectangle.
//
// The caller's GEOANNO, GEOVIEW, margins and format are not changed (the function works on copies),
// except for a formatted text's part output array (GEOANNO::m_pPartOutput, a CFormatPartArray owned by
// the caller): its entries receive the parts' boxes in device pixels (y down). A NULL pDC draws nothing
// and changes nothing.
#pragma once

#include "annotation/GeoAnnoRecord.h"

class CDC;
class GEOVIEW;

void DrawTips(CDC* pDC, CRect& rect, GEOANNO& anno, GEOVIEW& view, tagGEORECT& margins, tagGEOFORMAT& format,
              int fit = 1, int scaleSizes = 1);
