// Resource numbers of the library's own resources kept with the core.
#pragma once

// The handle cursor of digitised shapes (open lines, circles, points, annotation position points):
// 32 x 32 monochrome, hot spot (15, 15), a small square with an arrow leaving each corner. Loaded with
// AfxLoadCursorResource (afx/CursorResource.h).
#define IDC_GEO_HANDLE 322
