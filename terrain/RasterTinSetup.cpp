// Fills the image code's triangulation hooks with this floor's TIN when the library is loaded, so that
// rectification and seam resampling get their networks without including terrain/.
#include "raster/RasterTinHooks.h"
#include "terrain/GeoTin.h"
#include "terrain/GeoTinTriangle.h"
#include "vector/GeoTinPoint.h"

namespace {

// Copies the built network into the plain table: serial k + 1 becomes index k.
void CopyTriangles(CGeoTin& tin, std::vector<tagRasterTinTriangle>& triangles)
{
    const int n = tin.GetTriangleCount();
    triangles.assign(static_cast<size_t>(n), tagRasterTinTriangle{});
    for (int k = 0; k < n; ++k) {
        CGeoTinTriangle* t = tin.GetTriangle(k + 1);
        tagRasterTinTriangle& out = triangles[static_cast<size_t>(k)];
        for (int i = 0; i < 3; ++i) {
            CGeoTinPoint* v = t->GetVertex(i);
            out.pBody[i] = v ? v->GetMainBody() : nullptr;
            out.nNumber[i] = v ? v->GetNumber() : 0;
            StGeoPointTriangleIndex* link = t->GetNeighbor(i);
            out.nNeighbor[i] = link ? static_cast<int>(link->triangle->GetSerialNumber()) - 1 : -1;
        }
    }
}

BOOL ControlPointTin(CTypedPtrList<CObList, CGeoGCPoint*>& points, std::vector<tagRasterTinTriangle>& triangles)
{
    triangles.clear();
    CGeoTin tin;
    if (!tin.Create(points) || tin.GetTriangleCount() <= 0) return FALSE;
    CopyTriangles(tin, triangles);
    return TRUE;
}

BOOL MosaicLineTin(CTypedPtrList<CObList, CGeoMosaicPLine*>& lines, const char* dxfPath,
                   std::vector<tagRasterTinTriangle>& triangles)
{
    triangles.clear();
    CGeoTin tin;
    if (!tin.Create(lines) || tin.GetTriangleCount() <= 0) return FALSE;
    if (dxfPath) tin.ExportToDxf(CString(dxfPath));
    CopyTriangles(tin, triangles);
    return TRUE;
}

BOOL SeamTin(CGeoImage* image, double width, CGeoPolygonLine& boundary, CPoint& base, CGeoMosaicPLine* line,
             int position, std::vector<tagRasterTinTriangle>& triangles, CObList& helpers)
{
    triangles.clear();
    CGeoTin tin;
    const BOOL built = line ? tin.Create(image, width, boundary, base, line, static_cast<EnumImagePosition>(position))
                            : tin.Create(image, width, boundary, base);
    if (built && tin.GetTriangleCount() > 0) CopyTriangles(tin, triangles);
    tin.DetachHelpers(helpers);
    return triangles.empty() ? FALSE : TRUE;
}

struct HookInstaller {
    HookInstaller() { SetRasterTinHooks(tagRasterTinHooks{ControlPointTin, MosaicLineTin, SeamTin}); }
} g_installer;

}  // namespace
