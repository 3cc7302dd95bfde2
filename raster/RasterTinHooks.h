// Triangulations the image code asks for, reached through hooks.
//
// Rectification and seam resampling walk a triangulated irregular network over an image's control
// points (or, later, its mosaic points). The network is built by the terrain floor, which this floor
// never includes; terrain/ fills these hooks when the library loads. A hook that is not filled (NULL)
// behaves as a build that failed.
//
// A triangulation is handed over as a plain table: triangle k (0-based) is the triangle with serial
// number k + 1 of the network, in the network's own order. Each vertex names the object that supplies
// it (not owned; it must outlive the table) and that object's vertex number; edge i runs from vertex i
// to vertex (i + 1) mod 3, and nNeighbor[i] is the index of the triangle across edge i, -1 on the hull.
#pragma once

#include <afx/afx.h>

#include <vector>

class CGeoGCPoint;
class CGeoImage;
class CGeoMosaicPLine;
class CGeoPolygonLine;
class CGeoVectorObject;

struct tagRasterTinTriangle {
    CGeoVectorObject* pBody[3];
    int nNumber[3];
    int nNeighbor[3];
};

struct tagRasterTinHooks {
    // The control-point triangulation of the list (over the points' pixel positions). TRUE with the
    // table filled; FALSE (table empty) for no triangle: an empty list, collinear points, no memory.
    BOOL (*pfnControlPointTin)(CTypedPtrList<CObList, CGeoGCPoint*>& points,
                               std::vector<tagRasterTinTriangle>& triangles);
    // The triangulation of the mosaic points of the lines (body: the line, number: the mosaic point's
    // index). When dxfPath is given the network is also written there as DXF (".dxf" appended; a file
    // that cannot be written is passed over). FALSE (table empty) for no triangle.
    BOOL (*pfnMosaicLineTin)(CTypedPtrList<CObList, CGeoMosaicPLine*>& lines, const char* dxfPath,
                             std::vector<tagRasterTinTriangle>& triangles);
    // The triangulation over an image's seam: with line NULL the union of its mosaic lines and its raster
    // boundary; otherwise line closed with the two image corners of position's side, which becomes the
    // image's raster boundary. boundary and base receive that boundary (relative to base). Bodies are
    // mosaic lines (number: the mosaic point's index), some made for the purpose: those go into helpers,
    // which the caller deletes once the table is no longer read. FALSE (table empty) for no triangle.
    BOOL (*pfnSeamTin)(CGeoImage* image, double width, CGeoPolygonLine& boundary, CPoint& base,
                       CGeoMosaicPLine* line, int position, std::vector<tagRasterTinTriangle>& triangles,
                       CObList& helpers);
};

// The hooks now in force (all NULL until the terrain floor fills them).
const tagRasterTinHooks& GetRasterTinHooks();
// Replaces every hook at once and returns the previous set, so that a test can put it back.
tagRasterTinHooks SetRasterTinHooks(const tagRasterTinHooks& hooks);
