// CPolygonXPolygon: the common part of two closed polygon lines.
//
// The two outlines are copied as polylines into a private scratch layer and turned into a small
// line-and-node topology: vertices near another line's segment are snapped onto it, near-duplicate
// vertices are thinned out, nearby line ends are joined, lines are split at every crossing,
// duplicate lines dropped, nodes generated, dangling lines removed, and every face of the network
// is traced as a ring (CGeoPolygon2) by always taking the leftmost turn (y axis up). The first ring
// every vertex of which lies in or on both inputs (PtInPolygon, or within 1000 units of the outline)
// is the answer.
//
// Coordinates are those of the inputs, with no unit conversion; the tolerances are in the same
// units. The fixed tolerances of 1000 mean that features smaller than about 1000 units (1 m in
// millimetre layers) collapse: such polygons give no answer or a coarse one.
//
// Nodes are CGeoNode objects: a point and the signed IDs of the lines that meet there (+ID: the line
// starts at the node, -ID: it ends there). Each scratch line keeps its start node's ID in its user
// word (SetObjectData) and its end node's ID in its user pointer (SetObjectDataPtr).
//
// The scratch layer is emptied at the end of every call, so one object may serve any number of
// intersections without growing. The inputs are never modified.
#pragma once

#include <afx/afx.h>
#include <win32/wintypes.h>

#include <vector>

class CGeoPLine;
class CGeoNode;
class CGeoPolygon2;
class CGeoPolygonLine;
class CGeoVectorLayer;

class CPolygonXPolygon : public CObject {
    DECLARE_DYNCREATE(CPolygonXPolygon)

public:
    // Split tolerance = the handle radius of the settings; vertex, node and line tolerances 1000;
    // a new, empty scratch layer.
    CPolygonXPolygon();
    // Deletes the scratch layer and everything it holds.
    ~CPolygonXPolygon() override;

    CPolygonXPolygon(const CPolygonXPolygon&) = delete;
    CPolygonXPolygon& operator=(const CPolygonXPolygon&) = delete;

    // The common region of a and b as a new polygon line that the caller owns (no layer; its points
    // in ring order without a repeated closing point), or NULL when no ring lies inside both, or
    // when either input is NULL or has fewer than three points.
    CGeoPolygonLine* PolygonLineXPolygonLine(CGeoPolygonLine* a, CGeoPolygonLine* b);

    // Safety cap on the splits of one BreakLineXLine call; every split makes progress, so only a
    // degenerate input (crossings rounding onto one another) can reach it.
    static const int kMaxSplits = 100000;

private:
    friend class PolygonXPolygonProbe;  // the tests reach the planar helpers

    typedef std::vector<CGeoPLine*> LineList;
    typedef std::vector<CGeoNode*> NodeList;
    typedef std::vector<CGeoPolygon2*> RingList;

    // The pipeline steps, on the working list of lines.
    void LineInsertPoint(LineList& lines);
    void VerTexDistance(LineList& lines);
    void NodeDistance(LineList& lines);
    void BreakLineXLine(LineList& lines);
    void DeletePublicLine(LineList& lines);
    void GenerateNode(LineList& lines, NodeList& nodes);
    void ClearDangleLineAndNode(LineList& lines, NodeList& nodes, NodeList& dangles);
    void ConstructPolyGon(LineList& lines, NodeList& nodes, RingList& rings);
    // 1 when the ring, walked with the direction flags (one per line, < 1 = backwards), runs
    // counterclockwise (y axis up).
    int IsWiseClock(CGeoPolygon2* ring, int* directions);
    // 1 when every point of either ring's chain is a vertex of some line of the other.
    int A_Equal_B_Polygon(CGeoPolygon2* r1, CGeoPolygon2* r2);
    // The first crossing of a segment of lineA with a segment of lineB (segments of A in order,
    // and within each those of B): A's segment index, B's in segmentB and the point in crossing;
    // -1 when there is none.
    int PLineXPLine(int& segmentB, CGeoPLine* lineA, CGeoPLine* lineB, CPoint* crossing);

    // Planar helpers on integer points, computed in double precision.
    static double iDist(POINT p, POINT q);
    // Whether two points lie within the split tolerance of each other.
    bool Near(POINT p, POINT q) const { return iDist(p, q) <= m_nSplitTolerance; }
    static double PointToLine(POINT a, POINT b, POINT p);
    static int CrossPoint1(const double line1[3], const double line2[3], double& x, double& y);
    static int CrossPoint2(POINT p1, POINT p2, POINT p3, POINT p4, POINT& out);
    static int IfLineXLine(POINT p1, POINT p2, POINT p3, POINT p4, POINT& out);
    static int LineForm(POINT a, POINT b, POINT p, POINT& out);
    static double InsectionAngle(POINT p, POINT a, POINT b);

    // Splits line at the crossing x on its segment i (at the vertex itself when x is one); the new line
    // (when it keeps two vertices) joins the scratch layer and the end of the list. false when nothing
    // was cut (x is an end of the line, or the point could not be inserted).
    bool SplitLine(LineList& lines, CGeoPLine* line, int i, POINT x);
    // Detaches the line from the scratch layer and deletes it.
    void DropObject(CObject* obj);
    CGeoNode* NodeByID(DWORD id) const;
    CGeoPLine* LineByID(DWORD id) const;

    int m_nSplitTolerance;
    int m_nReserved1 = 0;
    int m_nReserved2 = 0;
    int m_nVertexTolerance = 1000;
    int m_nNodeTolerance = 1000;
    int m_nLineTolerance = 1000;
    CGeoVectorLayer* m_pLayer;
};
