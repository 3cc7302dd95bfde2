// Small helpers: decimal text, exchanging and reversing points, contour classes.
#pragma once

#include "afx/String.h"
#include "win32/wintypes.h"

// Decimal text of an int ("-12", "0", "2147483647").
CString itos(int value);

void Swap(POINT& a, POINT& b);
// Reverses the order of n points in place; n <= 1 or NULL does nothing.
void SwapCoordinate(POINT* pts, int n);

// Contour class of elevation z for the contour interval I:
//   0 index contour (a multiple of 5 I), 1 basic contour (a multiple of I),
//   2 half-interval contour (a multiple of I / 2), 3 quarter-interval contour (a multiple of I / 4),
//   4 an elevation point that lies on no contour level (only when pointMode is non-zero),
//  -1 none of these, or an interval that is not positive, or a z that is not finite.
// "A multiple" allows a relative error of 1e-6 of the interval. Classes 5 and 6 are never returned.
int GetContourType(double z, float interval, int pointMode);
