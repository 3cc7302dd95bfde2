// Polygons and envelopes. Conventions in GeomTypes.h.
//
// A polygon is a ring of n points including the closing repeat: it is closed when ring[n - 1] equals
// ring[0], and its edges are (ring[i], ring[i + 1]) for i = 0 ... n - 2. A ring that is not closed (or
// n < 1) counts every point as outside. An envelope's border belongs to it.
//
// The `short mode`: for RectWithArc and RectWithCircle any nonzero value asks whether the figure meets
// the envelope and 0 whether it lies inside; for the PolygonWith functions exactly 1 asks whether the
// figure meets the polygon and every other value whether it lies inside.
//
// Three points that make no circle: RectWithArc and the three-point RectWithCircle show
// "指定的三点不能构成圆!" and return 0; the arc and circle polygon forms show the messages of the
// curve predicates they call.
#pragma once

#include "GeomTypes.h"

// 1 inside or on the boundary; 0 outside or when the ring is not closed.
int PointWithPolygon(tagPOINT* pt, tagPOINT* ring, LONG n);
// 0 outside (or ring not closed), 1 on the boundary, 2 inside.
unsigned char PointWithPolygonEx(tagPOINT* pt, tagPOINT* ring, LONG n);
// -1 on the boundary, else the number of boundary crossings of the ray from pt towards +x (a vertex
// where the boundary only touches the ray's row counts twice); 0 when n < 3 or the ring is not closed.
LONG PointWithPolygonExt(tagPOINT* pt, tagPOINT* ring, LONG n);

// xmin <= pt.x <= xmax and ymin <= pt.y <= ymax.
int PointWithRect(tagPOINT* pt, tagEnvelope* env);
// 0 outside, 1 on the border, 2 strictly inside.
unsigned char PointWithRectEx(tagPOINT* pt, tagEnvelope* env);
// 2 when a lies strictly inside; 1 when b lies strictly inside, when both ends lie on the border and
// their midpoint (truncated toward zero) strictly inside, or when the segment crosses a side; 0
// otherwise (a segment along the border included).
unsigned char LineSegWithRect(tagPOINT* a, tagPOINT* b, tagEnvelope* env);

// mode nonzero: 1 when the arc crosses a side of the envelope (an arc wholly inside gives 0);
// mode 0: 1 when the arc's circle's box and the arc's envelope lie inside the envelope.
int RectWithArc(tagEnvelope* env, tagPOINT* p, tagPOINT* q, tagPOINT* s, short mode);
// Box tests of the circle's bounding box [centre +- r]: mode 0 gives 1 when the box lies inside the
// envelope (borders may coincide); mode nonzero gives 1 when box and envelope overlap (touching counts).
int RectWithCircle(tagEnvelope* env, tagPOINT* centre, LONG r, short mode);
// The centre-and-radius form with the circle through p, q, s.
int RectWithCircle(tagEnvelope* env, tagPOINT* p, tagPOINT* q, tagPOINT* s, short mode);

// Segment against polygon. Mode 1: 1 when a or b is in the polygon or an edge meets a-b. Other modes:
// 0 when an edge meets a-b, else 1 when a is in the polygon.
int PolygonWithLineSeg(tagPOINT* ring, int n, tagPOINT* a, tagPOINT* b, short mode);
// Polyline of m points against polygon. Mode 1: 1 when an edge meets the polyline, else when pts[0] is
// in the polygon. Other modes: 0 when an edge meets it, else 1 when pts[0] is in the polygon. 0 for m < 1.
int PolygonWithFoldLine(tagPOINT* ring, int n, tagPOINT* pts, LONG m, short mode);
// Arc against polygon. Mode 1: 1 when p, q or s is in the polygon, else whether an edge meets the arc.
// Other modes: 0 when an edge meets the arc, else 1 when p is in the polygon.
int PolygonWithArc(tagPOINT* ring, int n, tagPOINT* p, tagPOINT* q, tagPOINT* s, short mode);
// As PolygonWithArc with the circle through p, q, s (edges tested with the three-point
// FoldLineWithCircle).
int PolygonWithCircle(tagPOINT* ring, int n, tagPOINT* p, tagPOINT* q, tagPOINT* s, short mode);
// Circle of centre and radius against polygon; the circle is represented by its point
// (centre.x + r, centre.y). Mode 1: 1 when that point is in the polygon, else whether an edge meets
// the circle. Other modes: 0 when an edge meets the circle, else 1 when that point is in the polygon.
int PolygonWithCircle(tagPOINT* ring, int n, tagPOINT* centre, LONG r, short mode);
