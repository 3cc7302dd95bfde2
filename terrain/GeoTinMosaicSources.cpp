// CGeoTin: the builds over mosaic lines and over an image's seam or side.
#include "raster/GeoImage.h"
#include "raster/GeoMosaicPLine.h"
#include "terrain/GeoTin.h"
#include "vector/GeoPolygonLine.h"
#include "vector/GeoTinPoint.h"

#include <ostrel/Units.h>

#include <algorithm>
#include <memory>

namespace {

// Mean pixel position of a line's mosaic points (from their positions in tenths), truncated.
CPoint MeanPixel(CGeoMosaicPLine& line, int m)
{
    std::unique_ptr<POINT[]> p(line.GetPixelPoints(10.0));
    double sx = 0.0, sy = 0.0;
    for (int i = 0; i < line.GetMosaicPoints(); ++i) {
        sx += p[i].x;
        sy += p[i].y;
    }
    if (m <= 0) return CPoint(0, 0);
    return CPoint(static_cast<int>(sx / m / 10.0), static_cast<int>(sy / m / 10.0));
}

}  // namespace

BOOL CGeoTin::CreateFromBodies(CGeoVectorObject** bodies, int count, LONG n, CPoint centre)
{
    if (n <= 0 || !AllocateTables(static_cast<int>(n))) return FALSE;
    CGeoTinPoint* cursor = GetTinPoint(0);
    LONG filled = 0;
    for (int i = 0; i < count; ++i) {
        // A body that would write past the table is left out rather than overrun it.
        if (bodies[i]->GetTinPointNumber() > n - filled) break;
        filled += bodies[i]->CreateTinPoints(cursor, centre);
    }
    m_nPoints = static_cast<int>(std::max<LONG>(0, std::min(filled, n)));
    if (m_nPoints < 3 || !Triangulate()) return FALSE;
    CreateNeighborhood();
    ConvexCheck();
    CrossCheck();
    return TRUE;
}

BOOL CGeoTin::Create(CTypedPtrList<CObList, CGeoMosaicPLine*>& lines)
{
    Release();
    LONG n = 0;
    double sx = 0.0, sy = 0.0;
    std::vector<CGeoVectorObject*> bodies;
    for (POSITION pos = lines.GetHeadPosition(); pos;) {
        CGeoMosaicPLine* line = lines.GetNext(pos);
        // One TIN vertex per mosaic point: what the line's CreateTinPoints writes, whether or not each
        // mosaic point has a vertex of its own.
        const int k = line->GetTinPointNumber();
        n += k;
        for (int i = 0; i < k; ++i) {
            sx += line->GetX(i);
            sy += line->GetY(i);
        }
        bodies.push_back(line);
    }
    if (n <= 0) return FALSE;
    const CPoint centre(static_cast<int>(sx / n), static_cast<int>(sy / n));
    return CreateFromBodies(bodies.data(), static_cast<int>(bodies.size()), n, centre);
}

BOOL CGeoTin::Create(CGeoImage* image, double, CGeoPolygonLine& boundary, CPoint& base)
{
    Release();
    ReleaseHelpers();
    if (!image) return FALSE;
    CGeoMosaicPLine* U = image->GetUnionMosaicLine();
    if (!U) return FALSE;
    m_Helpers.AddTail(U);
    const int m = U->GetMosaicPoints();
    if (m <= 0) return FALSE;
    CPoint centre = MeanPixel(*U, m);
    double ox = 0.0, oy = 0.0;
    image->GetOrigin(ox, oy);
    const int unit = image->GetUnit();
    const CRect b = image->GetBounds();
    ox = ::ChangeUnit(6, unit, ox, 1.0) + b.left;
    oy = ::ChangeUnit(6, unit, oy, 1.0) + std::min(b.top, b.bottom);
    auto* M = new CGeoMosaicPLine(1, &centre, 1.0, ox, oy, image->GetRasterParameter());
    m_Helpers.AddTail(M);
    CGeoVectorObject* bodies[2] = {U, M};
    if (!CreateFromBodies(bodies, 2, m + 1, centre)) return FALSE;
    image->GetRasterBoundary(base, boundary);
    return TRUE;
}

BOOL CGeoTin::Create(CGeoImage* image, double, CGeoPolygonLine& boundary, CPoint& base, CGeoMosaicPLine* line,
                     EnumImagePosition position)
{
    Release();
    ReleaseHelpers();
    if (!image || !line || line->GetPoints() < 2 || line->GetMosaicPoints() < 2) return FALSE;
    CRect R = image->GetBounds();
    R.NormalizeRect();
    auto* L = new CGeoMosaicPLine(*line, 0, 1);
    m_Helpers.AddTail(L);
    const int lineUnit = L->GetUnit(), imageUnit = image->GetUnit();
    double ox = 0.0, oy = 0.0;
    image->GetOrigin(ox, oy);
    ox = ::ChangeUnit(6, lineUnit, ox, 1.0);
    oy = ::ChangeUnit(6, lineUnit, oy, 1.0);
    const double xL = ::ChangeUnit(imageUnit, lineUnit, double(R.left), 1.0) + ox;
    const double xR = ::ChangeUnit(imageUnit, lineUnit, double(R.right), 1.0) + ox;
    const double yS = ::ChangeUnit(imageUnit, lineUnit, double(R.top), 1.0) + oy;
    const double yN = ::ChangeUnit(imageUnit, lineUnit, double(R.bottom), 1.0) + oy;
    const int W = image->GetWidth(), H = image->GetHeight();
    const int last = L->GetPoints() - 1;
    struct Corner {
        double x, y, E, N;
    };
    const Corner sw{0, 0, xL, yS}, nw{0, double(H - 1), xL, yN}, se{double(W - 1), 0, xR, yS},
        ne{double(W - 1), double(H - 1), xR, yN};
    Corner first, second;
    switch (position) {
    case IMAGE_WEST:
        if (L->GetY(0) < L->GetY(last)) first = nw, second = sw; else first = sw, second = nw;
        break;
    case IMAGE_EAST:
        if (L->GetY(0) < L->GetY(last)) first = ne, second = se; else first = se, second = ne;
        break;
    case IMAGE_NORTH:
        if (L->GetX(0) < L->GetX(last)) first = ne, second = nw; else first = nw, second = ne;
        break;
    case IMAGE_SOUTH:
        if (L->GetX(0) < L->GetX(last)) first = se, second = sw; else first = sw, second = se;
        break;
    default:
        return FALSE;
    }
    L->AddPoint(first.x, first.y, first.E, first.N);
    L->AddPoint(second.x, second.y, second.E, second.N);
    L->SetClosedFlag(1);
    const int w = L->GetMosaicPoints();
    CPoint centre = MeanPixel(*L, w);
    auto* M = new CGeoMosaicPLine(1, &centre, 1.0, xL, yS, image->GetRasterParameter());
    m_Helpers.AddTail(M);
    CGeoVectorObject* bodies[2] = {L, M};
    if (!CreateFromBodies(bodies, 2, 2 * static_cast<LONG>(w), centre)) return FALSE;
    CGeoPolygonLine ring;
    for (const stMosaicPoint& p : L->GetMosaicPointArray())
        ring.AddPoint(POINT{static_cast<LONG>(p.E - ox), static_cast<LONG>(p.N - oy)});
    image->SetRasterBoundary(CPoint(0, 0), ring);
    image->CGeoRasterObject::GetRasterBoundary(base, boundary);
    return TRUE;
}

void CGeoTin::DetachHelpers(CObList& out)
{
    while (!m_Helpers.IsEmpty()) out.AddTail(m_Helpers.RemoveHead());
}
