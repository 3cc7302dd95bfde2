// Point, segment and polyline predicates on integer points. Conventions in GeomTypes.h.
//
// The two polyline families count differently: PointWithFoldLine takes the number of segments
// (it reads n + 1 points), LineSegWithFoldLine the number of points (n - 1 segments).
#pragma once

#include "GeomTypes.h"

// 1 when pt lies on the infinite line through a and b. A line with a.x == b.x is decided exactly on x;
// otherwise the point's vertical offset from the line, |(a - pt) x (b - pt)| / |b.x - a.x|, may be at
// most 0.01.
int PointWithLine(tagPOINT* pt, tagPOINT* a, tagPOINT* b);
// 1 when pt lies in the box of a-b (borders included) and on its line as PointWithLine decides.
int PointWithLineSeg(tagPOINT* pt, tagPOINT* a, tagPOINT* b);
// 1 when pt lies on one of the n segments (pts[i], pts[i + 1]); 0 for n <= 0.
int PointWithFoldLine(tagPOINT* pt, tagPOINT* pts, int n);

// Ray-crossing code of the segment a-b for the ray from pt towards +x: -1 pt lies on the segment;
// 1 the ray crosses it (a crossing through the end b included); 2 the ray passes through the end a or
// runs along the segment; 0 it misses.
LONG PointWithLineSegExt(tagPOINT* pt, tagPOINT* a, tagPOINT* b);

// 1 when the segments a-b and c-d cross or touch: an end point lying on the other segment (collinear
// and within its span on both axes), or each segment's ends strictly on both sides of the other's line.
int LineSegWithLineSeg(tagPOINT* a, tagPOINT* b, tagPOINT* c, tagPOINT* d);
// 1 when a-b meets one of the n - 1 segments (pts[i], pts[i + 1]); zero-length segments are skipped;
// 0 for n < 2.
unsigned char LineSegWithFoldLine(tagPOINT* a, tagPOINT* b, tagPOINT* pts, LONG n);
