// CGeoTinRectifier: the per-pixel engine of TIN rectification and seam resampling.
//
// Each triangle of a triangulation carries its three map positions (E, N) and its own affine from map
// position to source pixel: pixel x = A0 + A1 E + A2 N, pixel y = A3 + A4 E + A5 N (x from the left
// column, y from the bottom row of the source bitmap). The affine is solved exactly from the three
// vertices; when they lie on one line (a singular system) it is built edge-wise from vertices 0 and 1
// instead, so that a flat triangle still maps somewhere near its vertices.
//
// Finding the triangle of a map position starts at the triangle found last (the last triangle before
// the first search), then steps across its edges and its neighbours' edges; only when that walk misses
// does it look further, among the triangles whose bounding boxes cover the position (a bucket grid over
// the triangulation's extent), highest index first. The answer is the same as a scan of every triangle
// from the last down would give, without the scan. Inside means the crossing test on the triangle's map
// vertices (PointInPolygon): a point on a west or south edge belongs to the triangle, one on an east or
// north edge may not.
//
// Sampling writes one output pixel from the source pixel under (sx, sy) = affine + 0.5, truncated:
// 1 and 4 bits copy the bit or nibble (bitmap order: the leftmost pixel in the high bit or nibble), 8 bits
// the byte (or, when asked and not within two pixels of the right or top edge, the bilinear blend of its
// 2 x 2 neighbourhood), 24 bits three bytes. Positions off the source leave the output pixel unwritten.
//
// The engine holds no pointer into the images it samples: source and output are passed per call. One
// engine serves one operation on one thread.
#pragma once

#include "raster/RasterTinHooks.h"

#include <brisca/NewDIB.h>

#include <vector>

class CGeoTinRectifier {
public:
    // One triangle as the engine needs it: map and pixel positions of its vertices and its neighbours
    // (indices into the same table, -1 on the hull).
    struct Vertex {
        double E, N;  // map position
        double x, y;  // source pixel position, y from the bottom row
    };
    struct Triangle {
        Vertex v[3];
        int neighbor[3];
        double A[6];
    };

    // Takes the triangles (the affines are computed here) and makes the last one current. An empty
    // table finds nothing.
    void SetTriangles(std::vector<Triangle> triangles);
    int GetTriangleCount() const { return static_cast<int>(m_Triangles.size()); }
    const Triangle& GetTriangle(int i) const { return m_Triangles[static_cast<size_t>(i)]; }

    // The index of the triangle holding (x, y), which becomes current; -1 when none does.
    int Find(double x, double y);
    // Source position of (x, y) through triangle t's affine, + 0.5 (not yet truncated).
    void ToPixel(int t, double x, double y, double& sx, double& sy) const;

    // How the last Find calls were answered: by the current triangle, by the walk, or by the grid.
    struct Statistics {
        long long current = 0, walk = 0, grid = 0, missed = 0;
    };
    const Statistics& GetStatistics() const { return m_Stats; }

    // Solves one triangle's affine into A (the exact one or the edge-wise fallback).
    static void SolveAffine(const Vertex v[3], double A[6]);

    // Samples source pixel (trunc(sx), trunc(sy)) into output pixel (column, bitmap row) of out, as the
    // header describes; interpolate != 0 blends 8-bit samples. 1 when written, 0 off the source. The
    // two bitmaps have the same bit count; the output position must lie in out.
    static int Sample(const CNewDIB& source, double sx, double sy, int interpolate, CNewDIB& out, int column,
                      int row);
    // Sets output pixel (column, bitmap row) to 0 in every bit depth.
    static void SetBackground(CNewDIB& out, int column, int row);

private:
    bool Inside(int t, double x, double y) const;
    void BuildGrid();

    std::vector<Triangle> m_Triangles;
    int m_nCurrent = -1;
    // Bucket grid over the triangles' extent: cell (i, j) lists the triangles whose boxes meet it,
    // highest index first.
    double m_dMinE = 0, m_dMinN = 0, m_dCellE = 1, m_dCellN = 1, m_dMaxE = 0, m_dMaxN = 0;
    int m_nCols = 0, m_nRows = 0;
    std::vector<std::vector<int>> m_Cells;
    Statistics m_Stats;
};
