// CPolygonXPolygon: the common part of two closed polygon lines.
//
// Outside the box the two inputs' boxes share (with a unit to spare) only how often each ring winds
// round matters, so each ring is first reduced there to a path along that box's border. The rings are
// then cut into segments and noded: every crossing of two segments is rounded to the nearest whole unit
// (floor of x + 0.5, computed exactly) and both segments are split there, a vertex lying on another
// segment splits it, and collinear overlaps are split at each other's ends; the cut pieces are searched
// again until nothing crosses, and a ring running out along a segment and straight back loses that
// spike. The pieces form a planar network whose faces are classified exactly by their winding numbers
// about each input (nonzero = inside), and the boundary of the faces inside both is traced as rings.
// The crossing search is a sweep over the segments sorted by x, so the work grows as n log n plus the
// crossings, unless many segments span the same range of x (long spikes side by side), where it tends
// to n^2.
//
// Coordinates are those of the inputs (32-bit, the whole range), with no unit conversion; a point of
// the answer lies within a unit of the exact boundary. An input may run either way round, touch or
// cross itself, or reach holes along a bridge traversed both ways (the two traversals cancel).
//
// The answer, when the common region has several separate parts, is the part of largest area: its
// outline counterclockwise (y axis up) from its lowest leftmost vertex, without repeated or straight-
// through vertices, and a hole of that part joined to the outline where it touches it, or else by a
// bridge run out and back along the horizontal line from the hole's lowest leftmost vertex to the
// nearest point of the outline on its left. When the outlines never meet and the answer is the whole
// of one input (it lies inside the other and around none of its holes), that input's own points are
// the answer, in its own order (a repeated closing point, and repeated consecutive points, left out).
#pragma once

#include <afx/afx.h>
#include <win32/wintypes.h>

class CGeoPolygonLine;

class CPolygonXPolygon : public CObject {
    DECLARE_DYNCREATE(CPolygonXPolygon)

public:
    CPolygonXPolygon();
    ~CPolygonXPolygon() override;

    CPolygonXPolygon(const CPolygonXPolygon&) = delete;
    CPolygonXPolygon& operator=(const CPolygonXPolygon&) = delete;

    // The common region of a and b as a new polygon line that the caller owns (no layer; its points in
    // ring order without a repeated closing point; see above for which part and in what order), or
    // NULL when the inputs share no area (disjoint, or meeting only along edges or at points), or when
    // either input is NULL or has fewer than three distinct points. The inputs are never modified.
    CGeoPolygonLine* PolygonLineXPolygonLine(CGeoPolygonLine* a, CGeoPolygonLine* b);

private:
    friend class PolygonXPolygonProbe;  // the tests reach the planar helpers

    // Planar helpers on integer points, computed in double precision; every rounded coordinate is the
    // nearest whole unit (floor of x + 0.5), saturated to 32 bits.
    // Euclidean distance, 0 for equal points.
    static double iDist(POINT p, POINT q);
    // Distance from p to the infinite line through a and b; iDist(a, p) when a equals b.
    static double PointToLine(POINT a, POINT b, POINT p);
    // Intersection of the lines A x + B y + C = 0 given as {A, B, C}; 0 when parallel.
    static int CrossPoint1(const double line1[3], const double line2[3], double& x, double& y);
    // Intersection of the lines p1p2 and p3p4, rounded; 0 when parallel.
    static int CrossPoint2(POINT p1, POINT p2, POINT p3, POINT p4, POINT& out);
    // Crossing of the segments p1p2 and p3p4, rounded; 1 only when it lies in both segments' boxes
    // (borders included); 0 for a degenerate segment, boxes apart, or parallel lines.
    static int IfLineXLine(POINT p1, POINT p2, POINT p3, POINT p4, POINT& out);
    // Foot of the perpendicular from p onto the line ab, rounded; 1 only when the exact foot lies in
    // the segment's box (borders included).
    static int LineForm(POINT a, POINT b, POINT p, POINT& out);
    // Angle counterclockwise (y axis up) from the direction p->a to p->b, in [0, 2 pi); 0 when a or b
    // equals p.
    static double InsectionAngle(POINT p, POINT a, POINT b);
};
