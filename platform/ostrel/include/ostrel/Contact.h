// Contact tests between points, segments, rings and shapes on integer points (y up).
//
// Every test returns non-zero on contact and 0 otherwise. Rectangles are normalised first and are
// closed: touching an edge or a corner counts. Segment predicates are exact (128-bit intermediates).
// Shapes given by their outline (circle, ellipse, arc, rounded rectangle, regular polygon) are in
// contact when their OUTLINE meets the rectangle: a rectangle wholly inside a circle does not touch it.
// Rings and polygons (PolygonXRect, PtInPolygon) are areas: the boundary and the inside both count.
#pragma once

#include "win32/wintypes.h"

// The closed segment p-q meets the rectangle (a degenerate segment: the point lies in it).
int LineXRect(const POINT& p, const POINT& q, const RECT& r);
// The two rectangles share at least one point.
int RectXRect(const RECT& r1, const RECT& r2);
// The area of the ring of n points (closed implicitly) and the rectangle overlap: an edge meets the
// rectangle or the rectangle lies inside the ring. n <= 0 gives 0; 1 or 2 points act as a point or a
// segment.
int PolygonXRect(const POINT* pts, int n, const RECT& r);
// Outline of the ellipse inscribed in box (for CircleXRect, the circle inscribed in it) meets the
// rectangle. A box of zero width or height is its degenerate segment.
int CircleXRect(const RECT& box, const RECT& r);
int EllipseXRect(const RECT& box, const RECT& r);
// The arc from p1 through p2 to p3 meets the rectangle; collinear points are the segments p1-p2-p3.
// The flag is accepted and ignored.
int ArcXRect(const POINT& p1, const POINT& p2, const POINT& p3, const RECT& r, int flag = 0);
// Outline of the rounded rectangle box with corner radii (radii.x, radii.y) meets the rectangle; radii
// larger than half the box are cut to half the box, negative ones count as their absolute value.
int RoundRectXRect(const RECT& box, const POINT& radii, const RECT& r);
int RoundRectXRect(const RECT& box, const SIZE& radii, const RECT& r);
// Outline of the regular n-gon (centre c, vertex v; GetVertex) meets the rectangle; n = 1 is the point
// v, n <= 0 gives 0. Nothing is allocated; the time grows with n.
int NPlygnXRect(int n, const POINT& c, const POINT& v, const RECT& r);

// The closed segments a-b and c-d share a point (touching counts).
int LineXLine(const POINT& a, const POINT& b, const POINT& c, const POINT& d);
// As LineXLine, and the shared point is written to x (rounded): the crossing, or for overlapping
// collinear segments the shared point nearest a. x is left unchanged when they do not meet.
int LineSegmentXLineSegment(const POINT& a, const POINT& b, const POINT& c, const POINT& d, POINT& x);
// The same test under its other name.
int Intersection(const POINT& a, const POINT& b, const POINT& c, const POINT& d, POINT& x);

// Walks the segment p -> q against the polyline ring[0 .. n - 1] (its n - 1 segments; repeat the first
// point at the end for a closed ring). Contacts closer than one unit to p or to q are end contacts.
// Returns 1 when there is a contact strictly between them, with x = the one nearest p (rounded); since
// it lies at least a unit beyond p, repeating the search from x to q always ends. Returns 0 otherwise,
// with x = q when the polyline touches q, else x = p when it touches p, else x unchanged.
int LineSegXLSegs(const POINT& p, const POINT& q, const POINT* ring, int n, POINT& x);

// p lies on the closed segment a-b, allowing for the rounding of a computed point: some point of the
// segment lies within half a unit of p in x and in y. (For an integer distance from a line, see
// LineDistance in Measure.h.)
int PointOnLine(const POINT& p, const POINT& a, const POINT& b);
// p lies inside the ring of n points (closed implicitly, even-odd rule) or on its boundary.
int PtInPolygon(const POINT& p, const POINT* pts, int n);
// p lies strictly inside the ring: its boundary does not count.
int PtInsidePolygon(const POINT& p, const POINT* pts, int n);

// Exact equality of two points (two names, one meaning).
int EqualPoint(const POINT& p, const POINT& q);
int PointEqual(const POINT& p, const POINT& q);
