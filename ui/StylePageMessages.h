// The messages the four style pages (point, line, fill, annotation) send to their parent window, and
// the kinds they carry in wParam.
//
//   WM_GEOVIEW_CHANGING 0x2663  while the person edits: wParam the page's kind, lParam a GEOVIEW* that
//                               holds the page's part in an otherwise default style; the style lives
//                               only during the call (copy what you keep)
//   WM_GEOVIEW_CHANGED  0x2662  on Apply, after the page wrote its part: wParam the kind, lParam the
//                               GEOVIEW* the page edits
//   WM_ANNOSIZE_CHANGED 0x2666  on Apply of the annotation page while it shows the character size:
//                               wParam the character width, lParam the height (0.1 mm)
// The result is never read. A view-only page sends none of them.
#pragma once

#include <afx/afx.h>

const UINT WM_GEOVIEW_CHANGED = 0x2662;
const UINT WM_GEOVIEW_CHANGING = 0x2663;
const UINT WM_ANNOSIZE_CHANGED = 0x2666;

// The kinds: which part of a GEOVIEW a page edits. They are also the page indexes of the style sheet.
#define STYLEPAGE_POINT 0
#define STYLEPAGE_LINE 1
#define STYLEPAGE_FILL 2
#define STYLEPAGE_ANNO 3
