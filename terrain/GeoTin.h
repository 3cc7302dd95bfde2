// CGeoTin: a triangulated irregular network over vertices taken from vector objects.
//
// Construction is a radial sweep: the vertex records are sorted by their squared distance from a centre,
// the nearest ones make a first triangle, and every further vertex is joined to the edges of the current
// convex hull that it sees, starting at the first visible edge in hull-list order from the list's head.
// The triangles are then linked to their neighbours, improved by at most 20 passes of edge swaps that
// raise the smallest angle, and, where the sources are lines, bent by at most 10 passes so that the
// lines' segments become triangle edges; the plane forms come last where elevations are wanted.
// Triangle k of the table (0-based) has serial number k + 1; serial numbers follow the construction
// order above, which the elevation queries and the rectification code rely on.
//
// Coordinates: everything geometric uses the vertices' GetX / GetY (y negated while
// CGeoTinPoint::m_bMinusY is set), in each body's own unit; nothing converts units.
//
// Ownership: the TIN owns its vertex table, its triangle table (the triangles are built in place in it)
// and its hull list; it does not own the bodies its vertices name, which must outlive it.
//
// Degenerate input: vertices equal to the nearest one are dropped while the first triangle is sought;
// a vertex inside or on the hull when its turn comes joins no triangle (its record stays in the vertex
// table). When every vertex lies on one line no triangle can be made: the build leaves 0 triangles and
// the Create forms return FALSE.
//
// Serialize writes and reads nothing: a TIN is rebuilt from its sources, never stored.
#pragma once

#include "core/GeoVectorObject.h"
#include "raster/GeoBandData.h"
#include "raster/GeoMosaicPLine.h"
#include "terrain/GeoVectorLayerList.h"

#include <memory>
#include <vector>

class CDC;
class CGeoGCPoint;
class CGeoImage;
class CGeoMap;
class CGeoMosaicPLine;
class CGeoPolygonLine;
class CGeoTinPoint;
class CGeoTinTriangle;
struct StGeoDrawingParameter;

class CGeoTin : public CGeoVectorObject {
    DECLARE_SERIAL(CGeoTin)
public:
    // An empty TIN: no tables, no vertices, no triangles.
    CGeoTin();
    // Builds from the map's layer "__GEO_CONTOUR_LAYER__" (when it has one) and then its layer
    // "__GEO_ELEVATION_POINT_LAYER__" (when it has one) with Create (layers); the result is not
    // reported; a map with neither (or NULL) leaves the TIN empty. The layers are not owned.
    explicit CGeoTin(CGeoMap* pMap);
    // Builds from the image's control points with Create (control points); NULL leaves the TIN empty.
    explicit CGeoTin(CGeoImage* pImage);
    // Destroys the triangles and releases both tables.
    ~CGeoTin() override;

    // Writes and reads nothing.
    void Serialize(CArchive& ar) override;

    // The vector-layer build. Clears CGeoTinPoint::m_bMinusY first (the layers' y grows upwards), takes
    // every object of every layer in list order, sorts around the centre of the layers' united bounds
    // (each converted from its layer's unit to the TIN's unit), and runs the whole pipeline including
    // segment forcing and plane forms. The TIN's bounds become the normalised extent of its vertices.
    // When the objects write fewer vertex records than they announce (GetTinPointNumber against
    // CreateTinPoints) the message "参加构网的点数为%ld 实际在网的是 %ld" (announced, written) is shown
    // and the build goes on with the written records. FALSE when the layers give no vertex, a table
    // cannot be allocated, a vertex's height is NaN or infinite (message "构网点的高程无效(非数值或无穷大):
    // N 个点", the TIN left empty), or every vertex lies on one line; TRUE otherwise. A previous build
    // of this TIN is released first.
    BOOL Create(CGeoVectorLayerList& layers);

    // The control-point build: one vertex per control point (its pixel point, GetX / GetY, tenths of a
    // pixel), sorted around the mean pixel point; sweep, links and swaps only (no forcing, no plane
    // forms). Sets CGeoTinPoint::m_bMinusY to 1 and leaves it so: image code reads pixel rows through
    // this TIN with y negated, whatever an earlier layer build left in the flag. FALSE for an empty list,
    // a table that cannot be allocated, or control points all on one line. A previous build is released.
    BOOL Create(CTypedPtrList<CObList, CGeoGCPoint*>& points);

    // The mosaic-line build: one vertex per mosaic point of every line (the lines' rounded pixel
    // positions, GetX / GetY), sorted around their mean; sweep, links, swaps and segment forcing. The
    // lines are not owned. FALSE for no mosaic point, no memory or all points on one line.
    BOOL Create(CTypedPtrList<CObList, CGeoMosaicPLine*>& lines);
    // The image-seam build: the image's union seam line (GetUnionMosaicLine) and a one-point line at its
    // mean pixel position (map position from the image's origin and corner); then the image's raster
    // boundary into boundary and base. width is not used. FALSE when the seam lines do not close or the
    // network cannot be built.
    BOOL Create(CGeoImage* image, double width, CGeoPolygonLine& boundary, CPoint& base);
    // The image-side build: a closed copy of line with the two image corners of its side appended
    // (position 0 west, 1 east, 2 north, 3 south) and a one-point line at its mean pixel position; the
    // copy's map positions become the image's raster boundary, handed out in boundary and base. FALSE
    // for a line of fewer than 2 points, another position, or a network that cannot be built.
    BOOL Create(CGeoImage* image, double width, CGeoPolygonLine& boundary, CPoint& base, CGeoMosaicPLine* line,
                EnumImagePosition position);
    // The lines the two image builds made for their vertices (owned by the TIN until then, freed with
    // it) move to out; the caller deletes them once nothing reads the vertices any more.
    void DetachHelpers(CObList& out);

    // trunc((a x + b y + c) / k + 0.5), toward zero, from the plane of the triangle with that serial
    // number (1-based); fallback when the serial is below 1 or above the triangle count. x and y are in
    // the frame of the vertices' GetX / GetY. The TIN does not search for the triangle containing the
    // point: the plane is evaluated at (x, y) wherever it lies.
    LONG GetElevation(int x, int y, LONG serial, double k, LONG fallback) const;

    // At most 16 passes over the triangles in table order, each run while the previous one flipped an
    // edge: per triangle the checks of type B, else A, else H, else D (GeoTinTriangle.h), whose guarded
    // flips remove flat triangles whose three vertices lie on one line. Plane forms are not recomputed.
    void TerrainCheck();

    // Writes path + ".dxf" (appended in every case) as an ENTITIES section with one POLYLINE per
    // triangle in table order, its VERTEX records (x, y with "%.1lf") being vertex 2, 0, 1, 2. The file
    // is written beside the target and renamed over it when complete: a failed export leaves the
    // previous file whole. Fails silently when the file cannot be created; a write that fails after
    // that (a full disk) is told to the user with its cause. A TIN without triangles writes an empty
    // but complete section.
    void ExportToDxf(CString path) const;

    // ---- the sweep, step by step ----
    // The Create forms run these themselves; a host may run them in the same order on a TIN whose
    // vertex table it filled through a Create form's sources. Every vertex named here must be a record
    // of this TIN's vertex table (GetTinPoint); others are refused as stated.
    //
    // Takes the first triangle from pending (vertices in sweep order, nearest first): its head a is
    // removed; heads equal to a are removed and dropped; the next head p is removed; the first later
    // q off the line through a and p is removed; the triangle (a, p, q) is made anticlockwise and its
    // vertices start the hull. FALSE for an empty list, every remaining vertex on one line, a vertex
    // not in the table or no memory for the hull. A later call starts a new hull.
    BOOL CreateTheFirstTriangle(CTypedPtrList<CPtrList, CGeoTinPoint*>& pending);
    // Joins p to the first hull edge (prev, cur), in hull order from the head, that p sees from outside:
    // adds the triangle (p, cur, prev) and inserts p after prev. Returns prev's hull position; NULL when
    // p sees no edge (inside or on the hull), is already on the hull, is not in the table, or no first
    // triangle was made. A NULL answer changes nothing.
    POSITION InsertBoundaryVertex(CGeoTinPoint* p);
    // After InsertBoundaryVertex: with a, b the two hull vertices after p, adds (p, b, a) and removes a
    // from the hull while p sees the edge (a, b). The position is not read.
    void ExtendNext(POSITION pos, CGeoTinPoint* p);
    // After InsertBoundaryVertex: with c the vertex at pos and d the one before it, adds (p, c, d) and
    // removes c from the hull while p sees the edge (d, c).
    void ExtendPrev(POSITION pos, CGeoTinPoint* p);
    // InsertBoundaryVertex, then ExtendNext, then ExtendPrev only when the insertion was after the hull's
    // head (only then can the visible chain go on backwards past the head).
    void Extend(CGeoTinPoint* p);
    // Constructs the triangle (p1, p2, p3) in the next place of the triangle table with the next serial
    // number and its bounds. No capacity test: the sweep never makes more than 2 n triangles of n
    // vertices, and a caller adding its own must stay within that too.
    void AddTinTriangle(CGeoTinPoint* p1, CGeoTinPoint* p2, CGeoTinPoint* p3);
    // The current hull, anticlockwise from its head, into out (emptied first); its size. Empty once a
    // Create form has finished (the hull is a build's scratch) or before a first triangle.
    int GetBoundary(CTypedPtrList<CPtrList, CGeoTinPoint*>& out) const;

    // The pipeline steps after the sweep, in this order; public so that every build form can run the
    // ones it needs.
    void CreateNeighborhood();
    void ConvexCheck();
    void CrossCheck();
    void CreatePlaneForm();

    // Each triangle's Draw in table order; nothing without triangles.
    void Draw(CDC* pDC, StGeoDrawingParameter& parameter);
    void OnDrawWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                 const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8, void* pSymbolLib,
                                 int keepColours) override;
    // Each triangle's OnDrawWithoutSymbolization, last triangle first.
    void OnDrawWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                    const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8,
                                    int scaleWidths) override;

    // ---- read access ----
    int GetPointCount() const { return m_nPoints; }
    int GetTriangleCount() const { return m_nTriangles; }
    // Vertex record i of the table (sorted by distance after a build); NULL out of range.
    CGeoTinPoint* GetTinPoint(int i) const;
    // The triangle with that serial number (1-based); NULL out of range.
    CGeoTinTriangle* GetTriangle(LONG serial) const;

protected:
    // Releases a previous build: destroys the triangles, deletes both tables, empties the hull.
    void Release();
    // Makes the vertex table for n records and the triangle table for 2 n triangles; FALSE (nothing
    // kept) when either cannot be had or the sizes do not fit the band's 32-bit length.
    BOOL AllocateTables(int n);
    // Sorts the vertex table (squared distance ascending; equal distances keep their table order) and
    // runs the sweep over it. FALSE when no first triangle exists.
    BOOL Triangulate();

private:
    struct Hull;

    // Inline: the passes over every triangle ask these for every vertex.
    CGeoTinPoint* Vertices() const {
        return m_pVertexTable ? reinterpret_cast<CGeoTinPoint*>(m_pVertexTable->GetBuffer()) : nullptr;
    }
    CGeoTinTriangle* Triangles() const {
        return m_pTriangleTable ? reinterpret_cast<CGeoTinTriangle*>(m_pTriangleTable->GetBuffer()) : nullptr;
    }
    // The table position of p; -1 when p is not a record of the vertex table.
    inline int TableIndex(const CGeoTinPoint* p) const;
    // A new, empty hull over the vertex table; FALSE without memory.
    BOOL StartHull();
    // The first triangle (a, b, c by table position), made anticlockwise, and the hull of its vertices.
    void OpenHull(int a, int b, int c);
    void ExtendIndex(int p);

    // Builds from the vertices of the bodies (each CreateTinPoints around centre), n places at most:
    // sweep, links, swaps and forcing. FALSE when no triangle can be made.
    BOOL CreateFromBodies(CGeoVectorObject** bodies, int count, LONG n, CPoint centre);
    // Deletes the helper lines of an earlier image build.
    void ReleaseHelpers();

    CObList m_Helpers;
    struct HullDeleter {
        void operator()(Hull* hull) const;
    };
    std::unique_ptr<Hull, HullDeleter> m_pHull;  // during a sweep only
    int m_nPoints = 0;
    CGeoBandData* m_pVertexTable = nullptr;
    CGeoBandData* m_pTriangleTable = nullptr;
    int m_nTriangles = 0;
};
