// Ostrel: planar geometry on 32-bit integer points.
//
// Coordinates are integers in the caller's unit with y pointing up. Conventions that hold in every
// header below:
// - Angles are radians. CalcAngle measures counter-clockwise (y up), in [0, 2*pi).
// - RotatePoint turns a positive angle COUNTER-CLOCKWISE with y up: a frame rotated counter-clockwise
//   by a is entered with RotatePoint(p, c, -a) and left with RotatePoint(p, c, a). The display
//   translation turns the same way.
// - A three-point arc runs from p1 through p2 to p3; GetArcPara returns its end points in
//   counter-clockwise order, so that CalcAngle(centre, start, end) is its sweep.
// - SqrtDist is the squared distance.
// - PointToLine is the distance to the closed segment, PointToStraightLine to the infinite line;
//   LineDistance is the latter truncated to an integer. PointOnLine is a boolean on-segment test.
// - Integer results of unit and length conversions are truncated toward zero; constructed points
//   (rotations, centres, feet, vertices, spline and snap points) are rounded to nearest, halves away
//   from zero. Every double-to-integer conversion is clamped to the LONG range (NaN gives 0).
// - Integer predicates use 64- and 128-bit intermediates; no input overflows, and degenerate input
//   (coincident points, zero-length segments, empty rectangles, zero radii or scales) gives a defined
//   answer stated in the header.
// - Rectangles given to tests are normalised first and are closed (edges and corners count).
// - Process-wide state (display translation, scratch buffers) is unguarded, like the rest of the
//   drawing state, and meant for the user-interface thread.
#pragma once

#include "ostrel/Contact.h"
#include "ostrel/GeoArray.h"
#include "ostrel/HeapSort.h"
#include "ostrel/Measure.h"
#include "ostrel/Misc.h"
#include "ostrel/LabelPlacement.h"
#include "ostrel/PointBuffer.h"
#include "ostrel/ShapePoints.h"
#include "ostrel/Snap.h"
#include "ostrel/Translate.h"
#include "ostrel/Units.h"
