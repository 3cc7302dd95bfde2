// Shared types and conventions of the planar geometry library.
//
// Coordinates are 32-bit integers (tagPOINT) with the y axis pointing up.
//  - Results: the yes-no forms return 0 or 1; the `Ex` forms a position code 0 outside, 1 on the
//    boundary, 2 inside; the `Ext` forms a crossing count of the ray from the point towards +x
//    (-1 where they say the point lies on the figure).
//  - Distances are squared distances, in the square of the coordinate unit.
//  - Angles are radians in [0, 2*pi), anticlockwise from +x (a point above its origin lies at pi/2).
//  - An arc is three points: first end, a point on it, last end. Its sense comes from IsArcClockwise,
//    its circle from CircleCentre, whose centre and radius are truncated toward zero.
//  - Computations run in double precision from the integer coordinates; values converted back to
//    integers are truncated toward zero. Integer comparisons and sums of coordinates use 64-bit
//    intermediates, and the sign of a cross product of integer points is taken exactly (the
//    tolerances of +-0.0001 on such products therefore mean "exactly zero").
//  - Degenerate input (coinciding points, zero-length segments, collinear arc points, empty
//    polylines) never divides by zero: each function says what it returns for it.
//  - A circle whose centre or radius does not fit a 32-bit integer counts as no circle.
//  - No function keeps state or allocates; the few that report a failure show a message box with an
//    OK button (AfxMessageBox), as each header says.
#pragma once

#include "win32/wintypes.h"

// An integer envelope; its border belongs to it.
struct tagEnvelope {
    LONG xmin;
    LONG ymin;
    LONG xmax;
    LONG ymax;
};
