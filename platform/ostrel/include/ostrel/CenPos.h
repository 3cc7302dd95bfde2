// Inner position of an area given as rings (the first the outline, the others holes).
#pragma once

#include "win32/wintypes.h"

// Finds a point strictly inside the first ring and outside every further ring. pts holds the rings one
// after the other, sizes[i] the point count of ring i, nRings the ring count. dMinWidth (>= 0, in the
// points' unit) is the least width of the inner stretch a candidate is taken from: the widest horizontal
// stretch inside the area, tried at several heights, gives the position at its middle.
// Returns 1 and writes out; 0 (out untouched) when the arguments are empty or inconsistent (NULL, a ring
// count below 1, a negative size) or no stretch at least dMinWidth wide was found.
int FindCenPos(const POINT* pts, const int* sizes, int nRings, POINT& out, double dMinWidth);
