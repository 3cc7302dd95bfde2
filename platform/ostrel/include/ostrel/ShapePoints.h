// Points that shapes derive from their defining points: spline interpolation, regular and right-angle
// polygon vertices, and feet of perpendiculars. Results are rounded to the nearest integer.
#pragma once

#include "win32/wintypes.h"

// Fills the interpolated slots of a spline in place. Control points sit at slots 0, k + 1, 2(k + 1), ...
// below slotCount; the k slots between two control points get a Catmull-Rom curve through the control
// points (the end points repeated as their own outer neighbours). Control slots, and slots after the last
// control point, are not touched. k <= 0, slotCount < 2 or a NULL array do nothing.
void AdjustSpline(int slotCount, int k, POINT* slots);

// The n vertices of the regular polygon with centre c, the given vertex v first, then counter-clockwise
// (y up). Writes n points to out and returns n; n <= 0 or a NULL array writes nothing and returns 0.
int GetVertex(int n, const POINT& c, const POINT& v, POINT* out);

// The rectilinear outline of a right-angle polygon digitised by n control points. The first side runs
// from control point 0 to control point 1 (direction u); every later side is perpendicular to the one
// before and ends level with the next control point; the outline then closes at right angles onto the
// line of the first side. Written to out (room for 2 * n points) as:
//   n = 0: nothing; n = 1: the point; n = 2: the two points;
//   n even: control point 0, the n - 1 derived corners, and the corner on the first side's line that
//           closes the ring (n + 1 points);
//   n odd:  control point 0, the n - 1 derived corners, the closing corner, and control point 0 again
//           (n + 2 points).
// In both cases the last point closes the ring and the first point lies on the closing side, so the
// outline without its first point is the whole ring. Returns the number of points written.
// Coincident first control points take u along +x.
int GetVertex(int n, const POINT* ctrl, POINT* out);

// Foot of the perpendicular from p on the line through a with direction dir; a when dir is (0, 0).
POINT VtPoint(const POINT& a, const POINT& p, const SIZE& dir);
POINT VtPoint(const POINT& a, const POINT& p, const POINT& dir);
// Foot of the perpendicular from p2 on the line p0-p1; p0 when p0 equals p1.
POINT ProPoint(const POINT& p0, const POINT& p1, const POINT& p2);
