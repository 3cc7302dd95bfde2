// Snapping a point to the features of a shape.
//
// The box is the capture area around the cursor (normalised first, closed); its centre,
// (trunc((left + right) / 2), trunc((top + bottom) / 2)), stands for the cursor. A candidate point
// qualifies when it lies in the box and, when tolerance > 0, no farther than tolerance from the centre.
// Of the qualifying candidates the one nearest the centre wins (the first one on a tie). On success pt
// becomes it, index (where asked) is set, and the result is 1; otherwise pt and index are unchanged and
// the result is 0. Computed candidates are rounded to the nearest integer.
//
// pt is read on entry only by SnapToPerPoint and SnapToCircleTangentPoint: it is the point from which
// the perpendicular or the tangent is drawn (pass the cursor itself when there is no other).
#pragma once

#include "win32/wintypes.h"

// The points themselves; index = the point's index.
int SnapToVertex(const POINT* pts, int n, POINT& pt, const RECT& box, int& index, LONG tolerance);
// The first and the last point only.
int SnapToEndPoint(const POINT* pts, int n, POINT& pt, const RECT& box, LONG tolerance);
// Midpoints of the segments (CalcMidPoint); index = the segment's first point.
int SnapToMidPoint(const POINT* pts, int n, POINT& pt, const RECT& box, int& index, LONG tolerance);
// Feet of the perpendiculars from pt on the segments, where they fall within the segment;
// index = the segment's first point.
int SnapToPerPoint(const POINT* pts, int n, POINT& pt, const RECT& box, int& index, LONG tolerance);
// The point of the polyline nearest the cursor; index = the segment's first point (0 for one point).
int SnapToNearestPoint(const POINT* pts, int n, POINT& pt, const RECT& box, int& index, LONG tolerance);

// Ellipse (circle when rx = ry) about c with semi-axes rx and ry (negative values count as their
// absolute value).
int SnapToCenterPoint(const POINT& c, double rx, double ry, POINT& pt, const RECT& box, LONG tolerance);
// The given quadrant points (any count), like SnapToVertex without an index; c, rx and ry are not read.
int SnapToQuadrant(const POINT* pts, int n, const POINT& c, double rx, double ry, POINT& pt, const RECT& box,
                   LONG tolerance);
// The point of the outline nearest the cursor (the cursor at the centre: the point on the +x axis).
int SnapToCircleNearestPoint(const POINT& c, double rx, double ry, POINT& pt, const RECT& box, LONG tolerance);
// The points where a line from pt touches the outline; none when pt lies on or inside it.
int SnapToCircleTangentPoint(const POINT& c, double rx, double ry, POINT& pt, const RECT& box, LONG tolerance);
