// CGeoTin: the build forms, elevation queries, terrain checks and DXF export.
#include "core/GeoMap.h"
#include "core/GeoVectorLayer.h"
#include "raster/GeoBandData.h"
#include "raster/GeoGCPoint.h"
#include "raster/GeoImage.h"
#include "terrain/GeoTin.h"
#include "vector/GeoTinPoint.h"
#include "terrain/GeoTinTriangle.h"
#include "terrain/TerrainFileSave.h"

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <locale.h>
#include <string>
#include <vector>


namespace {

const char* const kContourLayer = "__GEO_CONTOUR_LAYER__";
const char* const kElevationPointLayer = "__GEO_ELEVATION_POINT_LAYER__";

void AppendVectorLayer(CGeoMap* pMap, const char* name, CGeoVectorLayerList& list) {
    CGeoLayer* layer = pMap->FindLayer(CString(name));
    if (layer && layer->IsKindOf(RUNTIME_CLASS(CGeoVectorLayer))) list.AddTail(static_cast<CGeoVectorLayer*>(layer));
}

}  // namespace

CGeoTin::CGeoTin(CGeoMap* pMap) {
    if (!pMap) return;
    CGeoVectorLayerList layers;
    AppendVectorLayer(pMap, kContourLayer, layers);
    AppendVectorLayer(pMap, kElevationPointLayer, layers);
    Create(layers);
}

BOOL CGeoTin::Create(CGeoVectorLayerList& layers) {
    Release();
    CGeoTinPoint::SetMinusY(0);
    const LONG n = CountLayerTinPoints(layers);
    if (n <= 0) return FALSE;

    m_rcBounds = GetLayerListBounds(layers, GetUnit());
    CPoint centre(static_cast<int>((static_cast<long long>(m_rcBounds.left) + m_rcBounds.right) / 2),
                  static_cast<int>((static_cast<long long>(m_rcBounds.top) + m_rcBounds.bottom) / 2));

    if (!AllocateTables(n)) return FALSE;
    CGeoTinPoint* cursor = GetTinPoint(0);
    const LONG filled = FillLayerTinPoints(layers, cursor, centre);
    if (filled != n) {
        CString text;
        text.Format("参加构网的点数为%ld 实际在网的是 %ld", static_cast<long>(n), static_cast<long>(filled));
        AfxMessageBox(text);
        // Records past the written ones name no body: build from the written ones only.
        m_nPoints = std::max<LONG>(0, std::min(filled, n));
        if (m_nPoints == 0) {
            Release();
            return FALSE;
        }
    }

    // The TIN's bounds: the extent of its vertices.
    CGeoTinPoint* v = GetTinPoint(0);
    // A height that is not a number gives planes that are not either, and every elevation read from
    // them would come out as 0: such sources are refused.
    LONG unusable = 0;
    for (int i = 0; i < m_nPoints; ++i)
        if (!std::isfinite(v[i].GetZ())) ++unusable;
    if (unusable) {
        CString text;
        text.Format("构网点的高程无效(非数值或无穷大): %ld 个点", static_cast<long>(unusable));
        AfxMessageBox(text);
        Release();
        return FALSE;
    }
    int minX = v[0].GetX(), maxX = minX, minY = v[0].GetY(), maxY = minY;
    for (int i = 1; i < m_nPoints; ++i) {
        const int x = v[i].GetX(), y = v[i].GetY();
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    }
    m_rcBounds.SetRect(minX, minY, maxX, maxY);
    m_rcBounds.NormalizeRect();

    if (!Triangulate()) return FALSE;
    CreateNeighborhood();
    ConvexCheck();
    CrossCheck();
    CreatePlaneForm();
    return TRUE;
}

CGeoTin::CGeoTin(CGeoImage* pImage) {
    if (pImage) Create(*pImage->GetGCPoints());
}

BOOL CGeoTin::Create(CTypedPtrList<CObList, CGeoGCPoint*>& points) {
    Release();
    CGeoTinPoint::SetMinusY(1);
    const int n = points.GetCount();
    if (n <= 0) return FALSE;
    double sx = 0.0, sy = 0.0;
    for (POSITION pos = points.GetHeadPosition(); pos;) {
        CGeoGCPoint* p = points.GetNext(pos);
        sx += p->GetX(0);
        sy += p->GetY(0);
    }
    CPoint centre(static_cast<int>(sx / n), static_cast<int>(sy / n));
    if (!AllocateTables(n)) return FALSE;
    CGeoTinPoint* cursor = GetTinPoint(0);
    for (POSITION pos = points.GetHeadPosition(); pos;) {
        CGeoGCPoint* p = points.GetNext(pos);
        CGeoTinPoint* record = cursor;
        if (p->CreateTinPoints(cursor, centre) != 1 || cursor != record + 1) {
            Release();
            return FALSE;
        }
        // The sort key from the point's own GetX / GetY (its pixel point), the frame of the centre: the
        // point class's record writer measures its map position instead.
        const double dx = static_cast<double>(p->GetX(0)) - centre.x, dy = static_cast<double>(p->GetY(0)) - centre.y;
        record->SetDistance(dx * dx + dy * dy);
    }
    if (!Triangulate()) return FALSE;
    CreateNeighborhood();
    ConvexCheck();
    return TRUE;
}

LONG CGeoTin::GetElevation(int x, int y, LONG serial, double k, LONG fallback) const {
    const CGeoTinTriangle* t = GetTriangle(serial);
    return t ? t->GetElevation(x, y, k) : fallback;
}

void CGeoTin::TerrainCheck() {
    CGeoTinTriangle* t = GetTriangle(1);
    if (!t) return;
    LONG counter = 1;
    for (int pass = 0; pass < 16 && counter; ++pass) {
        counter = 0;
        for (int k = 0; k < m_nTriangles; ++k) {
            if (t[k].TerrainCheckTypeB(counter)) continue;
            if (t[k].TerrainCheckTypeA(counter)) continue;
            if (t[k].TerrainCheckTypeH(counter)) continue;
            t[k].TerrainCheckTypeD(counter);
        }
    }
}

void CGeoTin::ExportToDxf(CString path) const {
    const CString name = path + ".dxf";
    // Written beside the target and renamed over it only when complete, so a failed or killed export
    // leaves the previous file whole.
    CTerrainFileSave save;
    FILE* f = save.Open(name, "w");
    if (!f) return;
    std::vector<char> buffer(1 << 16);
    std::setvbuf(f, buffer.data(), _IOFBF, buffer.size());
    // Numbers are written with a decimal point whatever locale the host runs in.
    locale_t c = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(0));
    locale_t old = c ? uselocale(c) : static_cast<locale_t>(0);

    std::fputs("0\nSECTION\n2\nENTITIES\n", f);
    for (int k = 0; k < m_nTriangles; ++k) {
        const CGeoTinTriangle* t = GetTriangle(k + 1);
        std::fputs("0\nPOLYLINE\n66\n1\n8\n0\n", f);
        static const int order[4] = {2, 0, 1, 2};
        for (int i : order) {
            const CGeoTinPoint* p = t->GetVertex(i);
            std::fprintf(f, "0\nVERTEX\n10\n%.1lf\n20\n%.1lf\n", static_cast<double>(p->GetX()),
                         static_cast<double>(p->GetY()));
        }
        std::fputs("0\nSEQEND\n", f);
    }
    std::fputs("0\nENDSEC\n0\nEOF\n", f);

    if (c) {
        uselocale(old);
        freelocale(c);
    }
    if (!save.Close(f, name, !std::ferror(f)) || !save.Commit()) save.Report("DXF文件保存失败: ", name);
}
