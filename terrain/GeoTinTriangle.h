// CGeoTinTriangle: one triangle of a triangulated irregular network (CGeoTin), with its neighbour links
// (StGeoPointTriangleIndex) and its plane form.
//
// A triangle names three vertex records of its TIN's vertex table (not owned) and, across each edge,
// the triangle on the other side. Edge i runs from vertex i to vertex (i + 1) mod 3; the vertex opposite
// edge i is vertex (i + 2) mod 3. The link of edge i of T names U and the index j of the same edge in U,
// and U's link of edge j names T and i; for two anticlockwise triangles vertex i of T is vertex j + 1 of
// U and vertex i + 1 of T is vertex j of U. A NULL triangle in a link means the edge lies on the hull.
//
// Coordinates: every geometric test and the plane form use the vertices' GetX / GetY (y negated while
// CGeoTinPoint::m_bMinusY is set); the bounds (SetPosition) and drawing use the raw GetPoint.
//
// Triangles live in their TIN's triangle table, constructed in place; the TIN destroys them with it.
//
// Record (Serialize): the CGeoVectorObject part, then a, b, c as three doubles. Vertices, links and the
// serial number are not stored.
#pragma once

#include "core/GeoVectorObject.h"

#include <cmath>

class CDC;
class CGeoTinPoint;
class CGeoTinTriangle;
struct StGeoDrawingParameter;

// One neighbour link: the triangle across an edge and the index of that edge in it.
struct StGeoPointTriangleIndex {
    CGeoTinTriangle* triangle = nullptr;  // NULL: the edge lies on the hull
    unsigned char edge = 0;

    // Of the two ends of the link's edge (vertex edge and edge + 1 of its triangle), the one at the
    // lower / higher address in the vertex table.
    CGeoTinPoint* GetLowVertex() const;
    CGeoTinPoint* GetHighVertex() const;
    // Vertex (edge + 2) mod 3 of the link's triangle.
    CGeoTinPoint* GetOppositeVertex() const;
    // Makes this link's edge slot (in its triangle) name other, and other's slot name this link; a NULL
    // other clears this slot only.
    void Link(const StGeoPointTriangleIndex* other) const;
};

// Sort order of links by edge: the low-vertex addresses, then the high-vertex addresses. Two links with
// equal keys describe the same edge. Returns -1, 0 or 1.
int CompareTriangleEdges(const StGeoPointTriangleIndex* a, const StGeoPointTriangleIndex* b);

// CGeoTinPoint::IsAnticlockwise (p; q, r) computed exactly: TRUE when p, q, r turn strictly
// anticlockwise through GetX / GetY; collinear vertices give FALSE.
BOOL TinTurnsAnticlockwise(const CGeoTinPoint* p, const CGeoTinPoint* q, const CGeoTinPoint* r);

// Cosine of the smallest interior angle of p1, p2, p3 (through GetX / GetY). Equal sides resolve in the
// order: the side opposite p1, then p2, then p3. Degenerate input (two equal points) gives NaN or inf.
double MinAngleOfPoints(const CGeoTinPoint* p1, const CGeoTinPoint* p2, const CGeoTinPoint* p3);

// The two tests above on coordinates already read (x, y as GetX / GetY give them), bit for bit the same
// results; the TIN's passes over many triangles use these on a copy of the coordinates.
inline bool TinCcw(long long x1, long long y1, long long x2, long long y2, long long x3, long long y3) {
    const __int128 a = static_cast<__int128>(x2 - x1) * (y3 - y1);
    const __int128 b = static_cast<__int128>(y2 - y1) * (x3 - x1);
    return a > b;
}
// Inline: the swap passes call it twice for every edge they test. The side opposite the smallest angle
// is picked by selection rather than by branching (which side it is cannot be foreseen); the other two
// enter only through a sum and a product, whose order does not change the result.
inline double TinCosMinAngle(double x1, double y1, double x2, double y2, double x3, double y3) {
    const double A = (x2 - x3) * (x2 - x3) + (y2 - y3) * (y2 - y3);
    const double B = (x1 - x3) * (x1 - x3) + (y1 - y3) * (y1 - y3);
    const double C = (x1 - x2) * (x1 - x2) + (y1 - y2) * (y1 - y2);
    const bool a = A <= B && A <= C;
    const bool b = !a && B <= A && B <= C;
    const double X = a ? A : b ? B : C;
    const double P = a ? B : A;
    const double Q = a || b ? C : B;
    return (P + Q - X) / 2.0 / std::sqrt(P * Q);
}

// Solves the n x n system rows (row-major, n * n) x = rhs by Gaussian elimination with partial pivoting;
// the solution replaces rhs. Returns 0 (rows and rhs partly reduced) when a pivot of columns 0 .. n - 2
// lies below bound in absolute value, else 1. The last diagonal entry is divided without a test.
int SolvePlaneForm(double* rows, double* rhs, double bound, int n);

class CGeoTinTriangle : public CGeoVectorObject {
    DECLARE_SERIAL(CGeoTinTriangle)
public:
    // Links cleared; vertices and plane unset (NULL and 0).
    CGeoTinTriangle();
    // Links cleared; vertices p1, p2, p3 in that order.
    CGeoTinTriangle(CGeoTinPoint* p1, CGeoTinPoint* p2, CGeoTinPoint* p3);
    ~CGeoTinTriangle() override;

    void Serialize(CArchive& ar) override;

    void initialize(CGeoTinPoint* p1, CGeoTinPoint* p2, CGeoTinPoint* p3);
    void initialize(const CGeoTinTriangle& t);  // t's three vertices

    CGeoTinPoint* GetVertex(int i) const { return m_pVertex[i]; }
    // TRUE when all three vertices are set. A triangle read from a record has none (the record keeps
    // only the plane): it draws nothing and SetPosition leaves its bounds alone.
    BOOL HasVertices() const { return m_pVertex[0] && m_pVertex[1] && m_pVertex[2]; }
    void SetVertex(CGeoTinPoint* p, int i) { m_pVertex[i] = p; }
    // The stored link of edge i, or NULL when it names no triangle.
    StGeoPointTriangleIndex* GetNeighbor(int i) { return m_Neighbor[i].triangle ? &m_Neighbor[i] : nullptr; }
    // Copies *link into slot i; NULL clears the slot.
    void SetNeighbor(int i, const StGeoPointTriangleIndex* link) {
        m_Neighbor[i] = link ? *link : StGeoPointTriangleIndex();
    }
    // 1-based position in the TIN's triangle table.
    LONG GetSerialNumber() const { return m_lSerialNumber; }
    void SetSerialNumber(LONG serial) { m_lSerialNumber = serial; }
    double GetA() const { return m_a; }
    double GetB() const { return m_b; }
    double GetC() const { return m_c; }

    // Bounds from the vertices' GetPoint: left = smallest x, top = largest y, right = largest x,
    // bottom = smallest y (top >= bottom, unlike the library's normalised rectangles).
    void SetPosition();
    // The same bounds from the vertices' points already read (a, b, c: GetPoint of vertex 0, 1, 2).
    void SetPosition(const CPoint& a, const CPoint& b, const CPoint& c);
    // The bounds as SetPosition keeps them (top >= bottom), not normalised: a triangle's rectangle is
    // a map rectangle with y growing upwards.
    CRect GetBounds() const override;
    // Swaps vertices 1 and 2 unless vertex 0, 1, 2 turn strictly anticlockwise.
    void MakeAnticlockwise();
    // MinAngleOfPoints of the three vertices.
    double GetCosMinAngle() const;
    // acos of GetCosMinAngle (a cosine above 1 taken as 1), radians.
    double GetMinAngle() const;
    // Interior angle at vertex i, radians; the cosine is clamped to -1 .. 1, so never NaN.
    double GetAngle(int i) const;
    // TRUE when edge i is a segment of one body (vertex i IsNeighborPoint vertex i + 1).
    BOOL IsContinuePoints(int i) const;
    // TRUE when the three vertices are consecutive points of one body, in vertex order (number (i + 1) =
    // (number (i) + 1) mod the body's point count for every i).
    BOOL IsTypeB() const;
    // TRUE when the three vertices have one body and IsTypeB is FALSE.
    BOOL IsTypeA() const;

    // Flips edge i unconditionally with link (the stored link of edge i): both triangles stay
    // anticlockwise, the new shared edge is this triangle's edge (i + 1) mod 3 and the other's edge
    // (link.edge + 1) mod 3, and the four outer links follow.
    void reconstruct(int i, StGeoPointTriangleIndex* link);
    // Guarded flip of edge i: *out = the link of edge i (NULL when none). 0 without a link, for an edge
    // along a body, or when the quadrilateral is not strictly convex; otherwise flips, sets *out to the
    // link of edge (i + 1) mod 3 (naming the other new triangle) and returns 1.
    int reconstruct(int i, StGeoPointTriangleIndex** out);
    // The guarded flip of the edge between vertices a and b (edge a when b = (a + 1) mod 3, else edge b).
    int reconstruct(int a, int b, StGeoPointTriangleIndex** out);
    // Re-pairs the links of this triangle and other after their vertices changed; 1.
    int ReconstructNeighborhood(CGeoTinTriangle* other);

    // The plane z = a x + b y + c through the three vertices. Collinear vertices: the message box
    // "Error: Plane form" and the level plane at vertex 0's height.
    void CreatePlaneForm();
    // The same from the vertices' GetX, GetY and GetZ already read (x[i], y[i], z[i] of vertex i).
    void CreatePlaneForm(const double x[3], const double y[3], const double z[3]);
    // trunc((a x + b y + c) / k + 0.5), toward zero, with x, y in the frame of GetX / GetY. The plane is
    // evaluated at (x, y) even when the point lies outside the triangle.
    LONG GetElevation(int x, int y, double k) const;

    // Segment forcing (CGeoTin::CrossCheck): see GeoTinTriangle.cpp. Each returns 1 after a flip (count
    // raised by one), else 0.
    int CrossCheck(LONG& count);
    int CrossCheck2(double x1, double y1, double x2, double y2, int edge, LONG& count);

    // Terrain checks (CGeoTin::TerrainCheck): 1 when the triangle is of that type (whether or not a flip
    // was made, count raised by one per flip), 0 when it is not.
    int TerrainCheckTypeA(LONG& count);
    int TerrainCheckTypeB(LONG& count);
    int TerrainCheckTypeD(LONG& count);
    int TerrainCheckTypeH(LONG& count);

    // Rasterising (parameter.IsRasterizing): fills the triangle with pen and brush of COLORREF = the
    // serial number; otherwise a 1-pixel red (0x0000FF) outline 0, 1, 2, 0. Device points by
    // parameter.RPToLP of the vertices' GetPoint.
    virtual void Draw(CDC* pDC, StGeoDrawingParameter& parameter);
    void OnDrawWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                 const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8, void* pSymbolLib,
                                 int keepColours) override;
    // The outline 0, 1, 2, 0 through RPtoLP with the view's line shape, width (truncated) and colour.
    void OnDrawWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                    const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8,
                                    int scaleWidths) override;

private:
    // The guarded flip's convexity test for edge i against the opposite vertex w.
    BOOL CanFlip(int i, const CGeoTinPoint* w) const;

    CGeoTinPoint* m_pVertex[3] = {nullptr, nullptr, nullptr};
    StGeoPointTriangleIndex m_Neighbor[3];
    double m_a = 0.0, m_b = 0.0, m_c = 0.0;
    LONG m_lSerialNumber = 0;
};
