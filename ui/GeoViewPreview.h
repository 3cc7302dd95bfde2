// CGeoViewPreview and CGeoViewSymbolPreview: statics that show one part of a display style, used by
// the display-style page and the scheme designer. Both paint only in their own WM_PAINT, from the
// style and kind last given to SetData, on the control's client rectangle (device pixels, origin at
// its top left; w and h its width and height; divisions are integer divisions).
//
// CGeoViewPreview, by kind:
//   1 point       the character whose code is the low byte of the point shape in the marker font
//                 "VOZivuz" (the font mapper substitutes a face when it is not installed), point size
//                 high, in the point colour, centred in the square of side 2 * (point size / 2) about
//                 the centre, clipped to the client rectangle, on a transparent background
//   2 line        a polyline (w/7, 6h/7), (3w/7, 2h/7), (5w/7, 5h/7), (6w/7, h/7) with the style's pen
//   3 fill        with d = w/10 and c = h/10 the polygon (d,9c) (d,6c) (3d,3c) (5d,4c) (7d,2c) (9d,6c)
//                 (9d,9c), outlined with the style's pen and filled with a solid brush (fill shape
//                 without a hatch) or a hatch brush in the fill colour; a transparent style draws it
//                 with R2_MASKPEN on a transparent background
//   4 annotation  the sample "中文字样" of the annotation part, fitted to the client rectangle shrunk
//                 by 8 on every side
//   other         nothing (5 until SetData is called)
// The style's pen: the pen style of its line shape (GetLineShape), the line width cut to whole pixels,
// the line colour.
//
// CGeoViewSymbolPreview draws the legend of the style's symbol of its kind (0 point, 1 line, 2 fill)
// in the client rectangle shrunk by 5, when it has a library and the library holds a symbol of that
// number and kind; otherwise it stays empty.
#pragma once

#include "core/GeoView.h"

#include <afx/afx.h>
#include <afx/StdCtrls.h>

class CSymbolLibIO;

class CGeoViewPreview : public CStatic {
    DECLARE_DYNAMIC(CGeoViewPreview)
public:
    CGeoViewPreview() = default;
    // Keeps a copy of the style and the kind and repaints the whole control (erased).
    void SetData(GEOVIEW gv, int nKind);

    GEOVIEW m_GeoView;
    int m_nKind = 5;

protected:
    void OnPaint();
    DECLARE_MESSAGE_MAP()
};

class CGeoViewSymbolPreview : public CStatic {
    DECLARE_DYNAMIC(CGeoViewSymbolPreview)
public:
    CGeoViewSymbolPreview() = default;
    // Keeps a copy of the style, the kind and the library (not owned; NULL draws nothing) and repaints
    // the whole control (erased).
    void SetData(GEOVIEW gv, int nKind, CSymbolLibIO* pLib);

    GEOVIEW m_GeoView;
    int m_nKind = 0;
    CSymbolLibIO* m_pSymbolLib = nullptr;

protected:
    void OnPaint();
    DECLARE_MESSAGE_MAP()
};
