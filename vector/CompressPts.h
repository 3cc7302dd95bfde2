// CCompressPts: the point thinner for digitised lines.
//
// It removes vertices that add nothing to the shape within a distance tolerance, straightens small
// zig-zags next to short segments, removes spikes that go out and come straight back, and tidies the
// start and end point of rings. It works in place on the caller's array and only ever shortens it.
//
// Tolerances are in the unit of the points. The host sets them and hands the thinner to a line's
// Compress (open mode for polylines, closed mode for polygon lines).
#pragma once

#include "win32/wintypes.h"

class CCompressPts {
public:
    // Both tolerances start at 0, so an unset thinner attempts nothing.
    CCompressPts() = default;
    CCompressPts(const CCompressPts& src) = default;
    CCompressPts& operator=(const CCompressPts& src) = default;
    virtual ~CCompressPts() = default;

    // Thins points[0 .. *n - 1] in place and stores the new count in *n.
    // closed: 1 for a ring whose end does not repeat its start (a polygon line), 0 for an open line.
    // Returns 0 when nothing was attempted (fewer than 3 points, both tolerances 0, or a NULL argument);
    // the array and the count are then unchanged. Otherwise returns 1.
    // Guarantees: the first point is never removed; the last point is never removed (it may be moved by
    // the ring step, as the first may); the count never grows; at least 2 points remain.
    //
    // The passes, in order:
    // 1. distance (m_dDistance != 0): keeps the ends and, splitting chords recursively, every point
    //    farther than D from its chord's straight line or farther than 0.207 chord lengths from it;
    // 2. direction (m_dDirection != 0, at least 3 points left): drops a point next to a segment no
    //    longer than 2 L where the turn flips side at it and flips again at the next point;
    // 3. spikes: where a point is followed by a return to the point before it, both the tip and the
    //    return go (the last point stays, so only the tip goes there);
    // 4. ring ends (closed, or the first point equals the last; at least 3 points left): may move the
    //    first point (and a repeated last point) to the midpoint of its neighbours, or the last point
    //    to the midpoint of the first and the one before it; the count does not change.
    int Compress(POINT* points, int* n, int closed);

    double m_dDistance = 0.0;   // distance tolerance D
    double m_dDirection = 0.0;  // direction tolerance L

private:
    // Zig-zag pass; needs *n >= 3.
    void CompressByDirection(POINT* points, int* n);
    // 1 when pts[2] lies to the left of the directed line pts[0] -> pts[1] (y up), else 0.
    int CalcDirection(const POINT* pts);
    // Ring-end step; needs n >= 3; never changes n.
    void CompressStartEndPoint(POINT* points, int* n);
};
