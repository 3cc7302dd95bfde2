// The point marker of Caddox: a small figure drawn with GDI where a point has no symbol.
//
// DrawPoint (pDC, pt, direction, marker, colour, size, xorMode, callback, reserved) draws marker
// number `marker` centred on the device point pt, `size` device units across, turned by `direction`
// degrees counter-clockwise as a viewer sees it, in `colour`. The markers (the number is taken modulo
// CADDOX_MARKER_COUNT; a negative number counts as 0):
//   0 filled circle    1 hollow circle    2 filled square    3 hollow square
//   4 upright cross    5 diagonal cross   6 filled triangle  7 hollow triangle
// Outlines use a solid pen of width 1; filled figures take a solid brush of the same colour, hollow
// ones the stock null brush. Circles are not turned. A size below 1 counts as 1. With xorMode non-zero
// the raster operation is R2_NOTXORPEN, so that drawing the same marker twice restores the picture.
// The device context's pen, brush and raster operation are put back before DrawPoint returns.
//
// When a callback is given it draws instead of the marker table: it receives the same drawing
// arguments, and DrawPoint itself draws nothing. `reserved` is accepted and not read. A NULL pDC (or a
// CDC without a device context) draws nothing.
#pragma once

#include <afx/afx.h>

#define CADDOX_MARKER_COUNT 8

typedef void (*CADDOX_POINTCALLBACK)(CDC* pDC, CPoint pt, double direction, int marker, COLORREF colour, int size,
                                     int xorMode);

void DrawPoint(CDC* pDC, CPoint pt, double direction, int marker, COLORREF colour, int size, int xorMode,
               CADDOX_POINTCALLBACK callback, int reserved);
