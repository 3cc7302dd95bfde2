// A segment, a polyline or a second circle against an arc, a circle and a ring. Conventions in
// GeomTypes.h.
//
// Arcs and three-point circles are p, q, s (circle from CircleCentre, sense from IsArcClockwise, range
// from p to s). A ring is a centre and an integer radius r. Polylines are n points, n - 1 segments.
// The `mode` of RingWithArc and RingWithCircle: nonzero asks whether the figures meet, 0 whether the
// second lies inside the ring.
//
// When p, q, s make no circle, LineSegWithArc and the three-point LineSegWithCircle show
// "指定的三点无法构成圆弧!" and return 0 (the polyline forms show it once per segment tested);
// RingWithArc and RingWithCircle return 0 silently.
#pragma once

#include "GeomTypes.h"

// 1 when the segment a-b meets the arc: one of the points where the segment's line crosses the circle
// lies on the segment (borders included) and, truncated toward zero, in the arc's angular range.
// 0 when the segment stays more than 0.1 away from the circle.
int LineSegWithArc(tagPOINT* a, tagPOINT* b, tagPOINT* p, tagPOINT* q, tagPOINT* s);
// LineSegWithCircle(a, b, centre, r) with the circle through p, q, s.
int LineSegWithCircle(tagPOINT* a, tagPOINT* b, tagPOINT* p, tagPOINT* q, tagPOINT* s);
// Exactly LineSegWithRing(a, b, centre, r).
int LineSegWithCircle(tagPOINT* a, tagPOINT* b, tagPOINT* centre, LONG r);
// 1 when RingWithLineSeg(centre, r, a, b) gives 1, else 0: a segment whose first end lies inside or on
// the circle counts as not meeting it (the test is not symmetric in a and b).
int LineSegWithRing(tagPOINT* a, tagPOINT* b, tagPOINT* centre, LONG r);
// 2 when a lies inside or on the ring (within 0.0001 in squares), whatever b is; 1 when the segment
// crosses the circle (both ends outside and the segment passes strictly inside; a outside and b
// inside; or b on the circle on its far side from a); 0 otherwise, a zero-length segment outside
// included.
unsigned char RingWithLineSeg(tagPOINT* centre, LONG r, tagPOINT* a, tagPOINT* b);

// LineSegWithArc on each of the n - 1 segments in order, 1 at the first hit; 0 for n < 2.
int FoldLineWithArc(tagPOINT* pts, int n, tagPOINT* p, tagPOINT* q, tagPOINT* s);
// The three-point LineSegWithCircle on each segment in order; 0 for n < 2.
int FoldLineWithCircle(tagPOINT* pts, int n, tagPOINT* p, tagPOINT* q, tagPOINT* s);
// The centre-and-radius LineSegWithCircle on each segment in order; 0 for n < 2.
int FoldLineWithCircle(tagPOINT* pts, int n, tagPOINT* centre, LONG r);

// The ring (c, r) against the arc p, q, s. With e the distance of the centres and R the arc's radius:
// 1 when the arc's circle lies inside the ring (r - R > e) in both modes; 0 when the circles are apart
// (e > r + R) or the ring lies inside the arc's circle (R - r > e). Otherwise mode 0: 1 when p, q and s
// all lie in the ring; mode nonzero: 1 when any of them does, else whether c is seen from the arc's
// centre within the arc's angular range.
int RingWithArc(tagPOINT* c, LONG r, tagPOINT* p, tagPOINT* q, tagPOINT* s, short mode);
// The ring against the circle through p, q, s: 1 when that circle lies inside the ring; 0 when apart
// or when the ring lies inside it; when they cross, mode nonzero gives 1 and mode 0 gives 0.
int RingWithCircle(tagPOINT* c, LONG r, tagPOINT* p, tagPOINT* q, tagPOINT* s, short mode);
