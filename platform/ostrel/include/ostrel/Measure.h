// Measures, angles, bounds and rotations on integer points (y up).
//
// Conventions (the same throughout Ostrel):
// - Angles are radians. CalcAngle measures counter-clockwise with y up.
// - RotatePoint turns a positive angle COUNTER-CLOCKWISE with y up (so (10, 0) turned by pi/2 about
//   the origin is (0, 10)): x' = cx + dx cos a - dy sin a, y' = cy + dx sin a + dy cos a. Turning a
//   point into a frame rotated counter-clockwise by a is RotatePoint(p, c, -a); turning it back is
//   RotatePoint(p, c, a).
// - Three-point arcs run from p1 through p2 to p3. GetArcPara reports the arc's end points in
//   counter-clockwise order (y up), so CalcAngle(centre, start, end) is the arc's sweep, and the mapped
//   points suit GDI Arc, which draws counter-clockwise as seen on the device.
// - Constructed points are rounded to the nearest integer, halves away from zero, and clamped to LONG.
// - Differences and products are taken in 64- or 128-bit integers: nothing overflows for any LONG input.
// - Three collinear (or coincident) points have no circle: the double form of GetCenterOfCircle
//   returns 0, the point form gives the midpoint of p1 and p3, GetRadius of three points gives 0.0.
#pragma once

#include "win32/wintypes.h"

double Distance(const POINT& p, const POINT& q);
// The SQUARED distance, despite the name: compare it with a squared tolerance.
double SqrtDist(const POINT& p, const POINT& q);

// Distance from p to the closed segment a-b (to a when a equals b).
double PointToLine(const POINT& p, const POINT& a, const POINT& b);
// Distance from p to the infinite straight line through a and b (to a when a equals b).
double PointToStraightLine(const POINT& p, const POINT& a, const POINT& b);
// The same distance with the chord length Distance(a, b) given, for loops that test many points
// against one chord; the result is bit for bit that of the three-point form.
double PointToStraightLine(const POINT& p, const POINT& a, const POINT& b, double chord);
// PointToStraightLine truncated toward zero: the integer line distance that the point thinner divides
// by chord lengths. (The boolean on-segment test is PointOnLine in Contact.h.)
int LineDistance(const POINT& p, const POINT& a, const POINT& b);

// Sum of the segment lengths of n points; closed non-zero adds the side from the last point back to the
// first. Fewer than 2 points give 0.
double PolyLineLength(const POINT* pts, int n, int closed = 0);
// Area enclosed by the ring of n points (closed implicitly; a repeated closing point adds nothing),
// always >= 0 whatever the orientation. Fewer than 3 points give 0.
double PolygonArea(const POINT* pts, int n);

// Counter-clockwise angle (y up) from the ray c->a to the ray c->b, in [0, 2*pi). A ray of zero length
// points along +x. With a = (c.x + r, c.y) it is the direction of b. The flag is accepted and ignored.
double CalcAngle(const POINT& c, const POINT& a, const POINT& b, int flag = 0);

// (trunc((left + right) / 2), trunc((top + bottom) / 2)).
POINT RectCenter(const RECT& r);
// (trunc((p.x + q.x) / 2), trunc((p.y + q.y) / 2)).
POINT CalcMidPoint(const POINT& p, const POINT& q);

// Centre of the circle through three points, rounded; see the collinear rule above.
POINT GetCenterOfCircle(const POINT& p1, const POINT& p2, const POINT& p3);
// Centre in doubles; returns 1, or 0 for collinear points (x, y then get the midpoint of p1 and p3).
int GetCenterOfCircle(const POINT& p1, const POINT& p2, const POINT& p3, double& x, double& y);
// Radius of the circle through three points (0.0 when collinear).
double GetRadius(const POINT& p1, const POINT& p2, const POINT& p3);
// Distance from a centre to a point of the circle.
double GetRadius(const POINT& centre, const POINT& p);

// The circle's bounding square (rounded centre +- rounded radius) and the arc's end points in
// counter-clockwise order: start = p1, end = p3 when p1 -> p2 -> p3 turns counter-clockwise, else the
// reverse. Returns 1; collinear points give the points' bounding box, start p1, end p3 and 0.
int GetArcPara(const POINT& p1, const POINT& p2, const POINT& p3, RECT& circleBox, POINT& start,
               POINT& end, int flag = 0);
// Bounding box of the arc itself: its three points plus the axis extremes of the circle inside its
// sweep, found in doubles (rounded, clamped to LONG), so that a nearly straight arc whose circle lies far
// beyond the coordinate range keeps its bulge. Collinear points give the points' bounding box. The flag
// is accepted and ignored.
RECT GetArcRect(const POINT& p1, const POINT& p2, const POINT& p3, int flag = 0);
// Bounding square of the full circle; collinear points give the points' bounding box.
RECT GetCircleRect(const POINT& p1, const POINT& p2, const POINT& p3);

// Grows the normalised rectangle r to hold p.
void RecalcBounds(RECT& r, const POINT& p);
// Normalised bounding box of n points; (0, 0, 0, 0) for n <= 0.
RECT RecalcBounds(const POINT* pts, int n);
// Bounding box of the regular n-gon with centre c and vertex v (the vertices of GetVertex);
// n < 1 gives the box of v alone. Nothing is allocated; the time grows with n.
RECT RecalcBounds(int n, const POINT& c, const POINT& v);

// p turned about c by the angle (radians, counter-clockwise with y up for a positive angle), rounded.
POINT RotatePoint(const POINT& p, const POINT& c, double radians);
// Exactly RotatePoint by pi/2 (counter-clockwise) and by pi, in integers.
POINT RotatePoint90(const POINT& p, const POINT& c);
POINT RotatePoint180(const POINT& p, const POINT& c);

// Turn from the ray c->b to the ray c->a: 1 counter-clockwise, -1 clockwise, 0 collinear (or a zero
// ray), as seen with y up when deviceFlag is 0 and as seen on a y-down device when it is non-zero.
int GetVectorRelation(const POINT& c, const POINT& b, const POINT& a, int deviceFlag);
