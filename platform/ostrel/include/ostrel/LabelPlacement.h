// Placing text along lines: points between two points, the nearest place on a line, a line moved
// sideways, and where a segment crosses an ellipse.
//
// Conventions: coordinates are integers with y up; constructed points are rounded to the nearest
// integer, halves upwards (floor (v + 0.5)), and clamped to LONG.
#pragma once

#include "win32/wintypes.h"

// The point at fraction t of the way from a to b: a + t (b - a). t is not limited to 0 .. 1.
POINT CalcInsertPoint(const POINT& a, const POINT& b, double t);

// The index of the first point of the segment of the polyline (count points) that comes nearest to the
// rectangle's centre (a zero-size rectangle is a point), and in nearest the nearest point on that
// segment; ties keep the earlier segment. -1 (nearest untouched) for fewer than 2 points or NULL.
int CalcMinDisNo(const POINT* pts, int count, const RECT& r, POINT& nearest);

// The polyline moved sideways by distance: side 1 to the left of its travel (y up), side 0 (any other
// value) to its right. Every vertex moves along the mean of the normals of its two segments, stretched
// so that both segments keep the distance; at turns sharper than about 150 degrees the vertex takes the
// next segment's normal unstretched. Zero-length segments take a neighbour's normal. The result lives
// in a buffer of this library that stays valid until the next call from the same thread; the caller
// does not free it. count is written back (unchanged). NULL with count 0 for NULL or count < 1. The flag
// is accepted and ignored.
POINT* CalcOffsetPoint(const POINT* pts, int& count, double distance, int side, int flag);

// Where segment a-b crosses the ellipse about centre with radii rx (along x) and ry (along y): the
// number of crossings that lie on the closed segment (0, 1 or 2). With 1 or 2, first is the crossing
// on the segment nearest to a and second the other crossing of the line through a and b (the same point
// when the line only touches). With 0 neither is written. A zero-length segment, or a radius that is
// not positive, gives 0.
int CalcLineXEllipse(const POINT& a, const POINT& b, const POINT& centre, double rx, double ry, POINT& first,
                     POINT& second);
