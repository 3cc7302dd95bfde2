// A point against an arc, a circle and a ring. Conventions in GeomTypes.h.
//
// An arc (or a three-point circle) is a, b, c; its angular range runs from a to c in the arc's own
// sense, both ends included. A ring is a centre and an integer radius; its inside includes the circle
// line. The double d is the radius to test against, except where a function says otherwise; each
// function's tolerance is part of its contract.
//
// When a, b, c make no circle, the arc forms show "指定的三点不能构成圆弧!" and return 0; the circle
// forms return 0 silently.
#pragma once

#include "GeomTypes.h"

// 1 when pt lies on the arc of radius d about the centre of a, b, c: the centre is not more than d
// (+0.001) to the right of or above the point, pt lies in the arc's angular range, and
// |dx^2 + dy^2 - d^2| <= 1.0.
int PointWithArc(tagPOINT* pt, double d, tagPOINT* a, tagPOINT* b, tagPOINT* c);
// As PointWithArc up to the angular range; then gap := (|distance to centre - r|)^2 with the circle's
// own radius r, and 1 when gap <= d (here d is the largest accepted squared gap). gap is written only
// when the point passed the pre-test and the range test.
int PointWithArcEx(tagPOINT* pt, double d, double& gap, tagPOINT* a, tagPOINT* b, tagPOINT* c);
// Crossings (0 to 4) of the arc with the ray from pt towards +x: 1 for each crossing in the arc's
// range, 2 for a crossing at the arc's first end. A point on the arc counts as a crossing.
LONG PointWithArcExt(tagPOINT* pt, tagPOINT* a, tagPOINT* b, tagPOINT* c);

// 1 when the distance of pt from the centre of the circle through a, b, c differs from d by <= 0.1.
int PointWithCircle(tagPOINT* pt, double d, tagPOINT* a, tagPOINT* b, tagPOINT* c);
// As PointWithCircle; dist receives the distance whenever the circle exists.
int PointWithCircleEx(tagPOINT* pt, double d, double& dist, tagPOINT* a, tagPOINT* b, tagPOINT* c);
// Ray-crossing code of the circle through a, b, c: -1 on the circle (or at a touching row's tangent
// point), 1 inside (one crossing), 2 two crossings to the right, 0 none.
LONG PointWithCircleExt(tagPOINT* pt, tagPOINT* a, tagPOINT* b, tagPOINT* c);

// 1 when pt lies in the ring's box and |pt - centre|^2 - r^2 <= 0.001.
int RingWithPoint(tagPOINT* centre, LONG r, tagPOINT* pt);
// 0 outside (or outside the ring's box), 1 on the circle (within 0.0001 in squares), 2 inside.
unsigned char RingWithPointEx(tagPOINT* centre, LONG r, tagPOINT* pt);
// RingWithPoint(centre, r, pt).
int PointWithRing(tagPOINT* pt, tagPOINT* centre, LONG r);
// RingWithPointEx(centre, r, pt).
unsigned char PointWithRingEx(tagPOINT* pt, tagPOINT* centre, LONG r);
