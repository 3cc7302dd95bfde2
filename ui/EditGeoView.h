// The one-page style editor EditGEOVIEW and CopyGeoViewPart, which copies one part of a display style.
#pragma once

#include <afx/afx.h>

class CSymbolLibIO;
class GEOVIEW;

// Opens the style page of one part of gv in a plain tabbed sheet captioned "显示风格设置": kind 0 point,
// 1 line, 2 fill (these with the symbol library pLib, not owned, NULL for none), 3 annotation (without
// the character size). The page writes its part straight into gv when the person presses OK; with
// bViewOnly nonzero it shows the style and writes nothing. Returns 1 after OK, 0 after Cancel, and 0
// at once (nothing shown) for any other kind.
int EditGEOVIEW(GEOVIEW& gv, int nKind, CSymbolLibIO* pLib, int bViewOnly);

// Copies one part of *pSource into *pTarget, the rest of *pTarget unchanged:
//   0 point shape, colour, size and symbol      1 line shape, colour, width and symbol
//   2 fill shape, colour, transparent flag and symbol
//   3 face, annotation colour, the lettering flags (through the GEOVIEW setters, so the source's
//     styles and their directions carry over) and the buffer width
// Any other kind copies nothing.
void CopyGeoViewPart(GEOVIEW* pTarget, const GEOVIEW* pSource, UINT nKind);
