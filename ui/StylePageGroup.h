// The display-style pages as the layer and feature-class sheets place them: the style page at the top
// level of a tree sheet and the point, line, fill and annotation pages beneath it, all working on one
// style record that the sheet owns.
#pragma once

#include <afx/afx.h>
#include <caddox/TPropertySheet.h>

#include "core/GeoView.h"
#include "ui/PropageStyleAnno.h"
#include "ui/PropageStyleLine.h"
#include "ui/PropageStylePoint.h"
#include "ui/PropageStylePolygon.h"
#include "ui/SDStylePage.h"

class CSymbolLibIO;

// Adds the five pages to the sheet (the style page, then its four children) and hands them their data:
// the style page a copy of *pView with its style buttons off; the point, line, fill and annotation
// pages the address pView (which must outlive the sheet's run), the library (may be NULL) and the
// view-only flag; the annotation page also whether it shows the letter size, and that size.
void AddStylePages(CTPropertySheet& sheet, CSDStylePage& style, CPropageStylePoint& point, CPropageStyleLine& line,
                   CPropageStylePolygon& polygon, CPropageStyleAnno& anno, GEOVIEW* pView, CSymbolLibIO* pLib,
                   int bViewOnly, int bShowSize, UINT nWidth, UINT nHeight);
