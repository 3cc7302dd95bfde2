// Planar helpers shared by the shapes and painters: line coefficients and intersections in doubles, an
// orientation test, point approximations of three-point arcs, circles and rounded rectangles, the
// splitting of large coordinates into a whole-million origin and a remainder, a clipped polyline, and a
// message box with the last system error. No state.
//
// Coordinates of the point approximations are integers in the caller's unit (y up); each computed
// coordinate is truncated toward zero. Their arrays are allocated with new[] for the caller, who frees
// them with delete[]. Angles are radians.
#pragma once

#include <afx/afx.h>
#include <win32/wingdi.h>

// The line A x + B y + C = 0 through (x1, y1) and (x2, y2): B = x1 - x2; for B != 0, A = y2 - y1 and
// C = -y1 B - x1 A; for a vertical line A = 1 and C = -x2. Returns 1, or 0 when the points coincide
// (nothing written). NULL outputs are skipped.
int GetLineCoefficients(double x1, double y1, double x2, double y2, double* A, double* B, double* C);

// Intersection of two lines given by coefficients: 1 with (x, y) written, 0 when the determinant
// A1 B2 - A2 B1 lies within 1e-9 of zero (parallel; nothing written). NULL outputs are skipped.
int CrossPoint(double A1, double B1, double C1, double A2, double B2, double C2, double* x, double* y);

// Intersection of the segments (x1, y1)-(x2, y2) and (x3, y3)-(x4, y4). 0 when either segment has
// coinciding ends or the lines are parallel. Otherwise the lines' intersection is written to x and y
// (when not NULL) and the result is 1 only when it lies between 1 % and 99 % along both segments
// (measured on each segment's longer axis); crossings within 1 % of an end do not count.
int CrossPoint(double x1, double y1, double x2, double y2, double x3, double y3, double x4, double y4, double* x,
               double* y);

// TRUE when p1 -> p2 -> p3 turns counter-clockwise (y up); collinear points give FALSE.
int IsAnticlockwise(double x1, double y1, double x2, double y2, double x3, double y3);

// Points of the arc from p1 through p2 to p3, in the arc's turning direction, ending exactly at p3.
// The step count follows the radius (2.8 sqrt(100 / r) radians per step, at least six steps for small
// arcs) and is cut to maxSteps when maxSteps > 0; an arc whose chord is not longer than minChord (raised
// to 2 pi r / 2000) is given as its chord, p1 and p3. Collinear points (and arcs whose centre lies
// beyond the coordinate range) give a straight run: p1, p3, with p2 between them when it does not lie
// on the segment p1-p3. points receives a new array of count points; the result is never empty.
void ConvertTriPntArcToPLine(POINT p1, POINT p2, POINT p3, POINT*& points, int& count, int minChord,
                             int maxSteps);
// Length of the arc from p1 through p2 to p3 (radius times sweep, both in doubles, so circles far beyond
// the coordinate range measure correctly); 0.0 for collinear points.
double TriPointArcLength(POINT p1, POINT p2, POINT p3);

// Points of the circle about centre: n steps from the +x axis counter-clockwise, the first point
// repeated at the end (count = n + 1, also returned). n is 36 for small radii (10 degree steps), else
// about 2 pi / (2.8 sqrt(10 / r)), cut to maxSteps when 0 < maxSteps < n. A radius of 0, a negative one
// or NaN gives 37 points at the centre (or maxSteps + 1).
int ConvertRadiusCircleToPLine(POINT centre, double radius, POINT*& points, int& count, int maxSteps);

// Points of the rounded rectangle rect (left <= right, top <= bottom) with corner ellipse size
// cornerSize: four quarters of k + 1 points each, the first running from about
// (right, top + cornerSize.y / 2) to (right - cornerSize.x / 2, top) and the others its mirror images
// about the centre, then the first point repeated: count = 4 k + 5 (k = 4 for corners up to about 124
// units across, more for larger ones). A zero corner size gives the four corners repeated.
void ConvertRoundRectToPLine(RECT rect, POINT cornerSize, POINT*& points, int& count);

// Splits x and y into a whole-million origin (truncated toward zero) and the remainder:
// originX = trunc(x / 1 000 000) * 1 000 000, x -= originX; likewise for y.
void ClipCoorWithOrigin(double& x, double& y, double& originX, double& originY);

// Draws the polyline of count device points. Without a clip, one GDI Polyline of all points. With one,
// only the runs of consecutive segments that meet the clip rectangle (edges count), each run with one
// Polyline call from its first point to the end of its last segment. Fewer than 2 points, a NULL array
// or a NULL DC draw nothing.
void PolyLine(HDC hdc, POINT* points, int count, RECT* clip);

// Shows before + the system's text for the last error + after in a message box (OK) and returns the
// error code.
DWORD ShowLastErrorMessage(CString before, CString after);
