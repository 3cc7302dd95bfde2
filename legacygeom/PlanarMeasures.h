// Distances, directions, arc sense and circle construction on integer points: the base of every
// predicate of the library. Conventions in GeomTypes.h.
#pragma once

#include "GeomTypes.h"

// 1 and k = (p.y - q.y) / (p.x - q.x); 0 (k untouched) when p.x == q.x.
int Slope(tagPOINT* p, tagPOINT* q, double& k);

// 1 when the arc from a through b to c turns clockwise (y up); 0 for an anticlockwise arc and for
// three collinear points (a turn of less than 0.001, measured as cross / (c.x - a.x)).
int IsArcClockwise(tagPOINT* a, tagPOINT* b, tagPOINT* c);

// The circle through a, b and c: centre and radius truncated toward zero, result 1. 0 with the outputs
// untouched when two points coincide, both chords a-b and b-c are vertical, their slopes differ by less
// than 0.0001, or the circle does not fit 32-bit integers.
int CircleCentre(tagPOINT* a, tagPOINT* b, tagPOINT* c, tagPOINT* centre, LONG& r);

// (p.x - q.x)^2 + (p.y - q.y)^2.
double DPointToPoint(tagPOINT* p, tagPOINT* q);
// Squared distance to the infinite line through a and b; to a itself when a == b.
double DPointToLine(tagPOINT* pt, tagPOINT* a, tagPOINT* b);
// Squared distance to the segment a-b (an end point's when the foot lies beyond it, by 0.001).
double DPointToLineSeg(tagPOINT* pt, tagPOINT* a, tagPOINT* b);
// Smallest squared distance to the n segments (pts[i], pts[i + 1]): pts holds n + 1 points.
// 0.0 for n <= 0.
double DPointToFoldLine(tagPOINT* pt, int n, tagPOINT* pts);

// Direction of p seen from origin, 0 to 2*pi with the constants 1.57079632679485, 3.1415926535897,
// 4.712388980384549 and 6.2831853071794; 0 when p == origin.
double AngleEx(tagPOINT* p, tagPOINT* origin);

// 1 when the direction of pt from centre lies in the angular range swept from a to b: anticlockwise
// when clockwise == 0, clockwise otherwise. Both ends belong to the range.
int IsPointInSectorEx(tagPOINT* pt, tagPOINT* a, tagPOINT* b, tagPOINT* centre, int clockwise);
// As IsPointInSectorEx, and pt is not farther from the centre than a (by less than 0.001 in squares).
int IsPointInSector(tagPOINT* pt, tagPOINT* a, tagPOINT* b, tagPOINT* centre, int clockwise);

// Squared distance of pt from the arc's pie slice: |pt - centre|^2 when pt lies in the slice (not
// farther from the centre than the arc), else the squared distance to the nearer end. -1.0 after the
// message "The three points can not build a circle!" when a, b, c make no circle.
double DPointToArc(tagPOINT* pt, tagPOINT* a, tagPOINT* b, tagPOINT* c);
// Squared distance from pt to the centre of the circle through a, b, c; -1.0 (no message) when
// there is none.
double DPointToCircle(tagPOINT* pt, tagPOINT* a, tagPOINT* b, tagPOINT* c);

// The integer envelope of the arc a, b, c: the box of its ends widened to centre +- r for every axis
// direction the arc passes. The quadrants are [0, pi/2), [pi/2, pi), [pi, 3pi/2), [3pi/2, 2pi], so an
// end lying exactly on an axis direction belongs to the quadrant that starts there; the box of the
// ends covers such an end either way. 1; 0 with env untouched after the message
// "指定的三点不能构成圆!" when the points make no circle.
int ArcEnvelope(tagEnvelope* env, tagPOINT* a, tagPOINT* b, tagPOINT* c);
