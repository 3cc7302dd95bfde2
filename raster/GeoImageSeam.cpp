// Seam resampling of an image (into a new image or into a mosaic) and the fill of its invalid area,
// through triangulations over its mosaic points.
#include "raster/GeoImage.h"
#include "raster/GeoMosaicPLine.h"
#include "raster/GeoTinRectifier.h"
#include "raster/Polynomial.h"
#include "raster/RasterTinHooks.h"

#include <afx/WinApp.h>
#include <ostrel/Units.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

void Progress(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (CWnd* wnd = AfxGetMainWnd()) wnd->SendMessage(message, wParam, lParam);
}

struct ProgressEnd {
    ~ProgressEnd() { Progress(1226, 0, 0); }
};

inline int Round(double v) { return static_cast<int>(v + 0.5); }

CString& DebugFolder()
{
    static CString folder;
    return folder;
}

// The lines a seam build made for its vertices, deleted once the engine no longer needs them.
struct Helpers {
    CObList list;
    ~Helpers()
    {
        while (!list.IsEmpty()) delete list.RemoveHead();
    }
};

// Engine triangles over mosaic points: map (E - dx, N - dy), pixel the point's rounded pixel position.
std::vector<CGeoTinRectifier::Triangle> MosaicTriangles(const std::vector<tagRasterTinTriangle>& tin, double dx,
                                                        double dy)
{
    std::vector<CGeoTinRectifier::Triangle> triangles(tin.size());
    for (size_t k = 0; k < tin.size(); ++k)
        for (int i = 0; i < 3; ++i) {
            const auto* line = static_cast<const CGeoMosaicPLine*>(tin[k].pBody[i]);
            const int n = tin[k].nNumber[i];
            triangles[k].v[i] = {line->GetMapE(n) - dx, line->GetMapN(n) - dy, double(line->GetX(n)),
                                 double(line->GetY(n))};
            triangles[k].neighbor[i] = tin[k].nNeighbor[i];
        }
    return triangles;
}

// The seam network and the moved boundary; false when there is none.
bool BuildSeamEngine(CGeoImage* image, CGeoPolygonLine& boundary, double width, CGeoMosaicPLine* line,
                     EnumImagePosition position, Helpers& helpers, double dx, double dy, CGeoTinRectifier& engine)
{
    const tagRasterTinHooks& hooks = GetRasterTinHooks();
    if (!hooks.pfnSeamTin) return false;
    std::vector<tagRasterTinTriangle> tin;
    CPoint base(0, 0);
    if (!hooks.pfnSeamTin(image, width, boundary, base, line, position, tin, helpers.list) || tin.empty())
        return false;
    boundary.Move(CSize(base));
    engine.SetTriangles(MosaicTriangles(tin, dx, dy));
    return true;
}

// Source pixel (ix, iy) of a 1-, 4-, 8- or 24-bit bitmap written into (column, row) of out.
void CopyPixel(const CNewDIB& src, int ix, int iy, CNewDIB& out, int column, int row)
{
    CGeoTinRectifier::Sample(src, ix + 0.5, iy + 0.5, 0, out, column, row);
}

// Sets every bit of (column, row): 255, white, or the pixel's bit or nibble.
void SetOnes(CNewDIB& dib, int column, int row)
{
    BYTE* d = dib.GetDIBBits() + size_t(row) * dib.GetBytesPerLine();
    switch (dib.GetBitCount()) {
    case 1: d[column >> 3] |= BYTE(0x80 >> (column & 7)); break;
    case 4: d[column >> 1] |= (column & 1) ? 0x0F : 0xF0; break;
    case 8: d[column] = 255; break;
    case 24: d[3 * column] = d[3 * column + 1] = d[3 * column + 2] = 255; break;
    default: break;
    }
}

}  // namespace

void CGeoImage::SetDebugFolder(const CString& folder) { DebugFolder() = folder; }

CString CGeoImage::GetDebugFolder()
{
    if (!DebugFolder().IsEmpty()) return DebugFolder();
    const char* tmp = std::getenv("TMPDIR");
    return CString(tmp && *tmp ? tmp : "/tmp");
}

int CGeoImage::ReSampleB(CGeoImage*& out, CGeoPolygonLine& boundary, int interpolate, double width, CRect extent,
                         EnumImagePosition position, CGeoMosaicPLine* line)
{
    out = nullptr;
    if (extent.right == 0) extent = GetBounds();
    const double g = m_RasterParameter.m_dPixelSize;
    const double lo = std::min(extent.top, extent.bottom), hi = std::max(extent.top, extent.bottom);
    if (!(g > 0.0) || !m_DIB.Ready()) return 0;
    const double wOut = (double(extent.right) - extent.left) / g, hOut = (hi - lo) / g;
    if (!(wOut >= 1.0 && hOut >= 1.0 && wOut < 2147483647.0 && hOut < 2147483647.0)) return 0;
    const int W2 = static_cast<int>(wOut), H2 = static_cast<int>(hOut);

    Progress(1224, 0, reinterpret_cast<LPARAM>("接边处理中..."));
    ProgressEnd end;
    Helpers helpers;
    CGeoTinRectifier engine;
    if (!BuildSeamEngine(this, boundary, width, line, position, helpers, 0.0, 0.0, engine)) return 0;
    const int n = boundary.GetPoints();
    std::vector<POINT> ring(static_cast<size_t>(std::max(n, 0)));
    for (int i = 0; i < n; ++i) ring[static_cast<size_t>(i)] = boundary.GetPoint(i);

    std::unique_ptr<CGeoImage> image(
        new CGeoImage(W2, H2, m_DIB.GetBitCount(), extent.left, static_cast<int>(hi), m_RasterParameter));
    if (!image->m_DIB.Ready()) return 0;
    DWORD table[256];
    const int entries = m_DIB.GetColorTable(table);
    if (entries != -1) image->m_DIB.SetColorTable(entries, table);
    CNewDIB& dib = image->m_DIB;
    const bool eight = dib.GetBitCount() == 8;
    for (int r = 0; r < H2; ++r) {
        const double y = hi - (r + 1) * g;
        const int row = H2 - r - 1;
        for (int k = 0; k < W2; ++k) {
            const double x = extent.left + k * g;
            const int t = n > 2 && PointInPolygon(static_cast<int>(x), static_cast<int>(y), n, ring.data())
                              ? engine.Find(x, y)
                              : -1;
            if (t < 0) {
                CGeoTinRectifier::SetBackground(dib, k, row);
                continue;
            }
            double sx, sy;
            engine.ToPixel(t, x, y, sx, sy);
            // 0 marks what lies outside: a sampled 0 becomes 1.
            if (CGeoTinRectifier::Sample(m_DIB, sx, sy, interpolate, dib, k, row) && eight) {
                BYTE& v = dib.GetDIBBits()[size_t(row) * dib.GetBytesPerLine() + k];
                if (v == 0) v = 1;
            }
        }
        Progress(1225, static_cast<WPARAM>(double(r) / H2 * 100.0), 0);
    }
    out = image.release();
    return 1;
}

int CGeoImage::ReSampleMosaic(CGeoImage*& mosaic, CGeoPolygonLine& boundary, int index, int count, int, double width,
                              CRect, EnumImagePosition position, CGeoMosaicPLine* line)
{
    if (!mosaic || !mosaic->m_DIB.Ready() || !m_DIB.Ready()) return 0;
    CGeoImage& M = *mosaic;
    const double g = M.m_RasterParameter.m_dPixelSize;
    // A pixel size that is not positive would place nothing; other depths cannot be copied pixel for pixel.
    if (!(g > 0.0) || M.m_DIB.GetBitCount() != m_DIB.GetBitCount()) return 0;

    Progress(1224, 0, reinterpret_cast<LPARAM>("接边、拼图处理中..."));
    ProgressEnd end;
    ResampleByHistogram(0);
    double ox = 0.0, oy = 0.0;
    GetOrigin(ox, oy);
    ox = ::ChangeUnit(6, GetUnit(), ox, 1.0);
    oy = ::ChangeUnit(6, GetUnit(), oy, 1.0);
    Helpers helpers;
    CGeoTinRectifier engine;
    if (!BuildSeamEngine(this, boundary, width, line, position, helpers, ox, oy, engine)) return 0;
    const int n = boundary.GetPoints();
    std::vector<double> ring(size_t(2) * std::max(n, 0));
    for (int i = 0; i < n; ++i) {
        const POINT p = boundary.GetPoint(i);
        ring[size_t(2) * i] = p.x;
        ring[size_t(2) * i + 1] = p.y;
    }

    CRect B = M.GetBounds();
    B.NormalizeRect();
    CRect R = boundary.GetBounds();
    R.NormalizeRect();
    R.IntersectRect(R, B);
    R.NormalizeRect();
    R.left = B.left + static_cast<LONG>(static_cast<int>((R.left - B.left) / g) * g);
    R.top = B.top + static_cast<LONG>(static_cast<int>((R.top - B.top) / g) * g);
    const int columns = Round((R.right - R.left + 1) / g), rows = Round((R.bottom - R.top + 1) / g);

    CString text;
    text.Format("接边、拼图处理中... (%s) %d Of %d", static_cast<const char*>(GetObjectName()), index + 1, count);
    Progress(1224, 0, reinterpret_cast<LPARAM>(static_cast<const char*>(text)));

    CNewDIB& target = M.m_DIB;
    const int MW = target.GetWidth(), MH = target.GetHeight();
    const int W = m_DIB.GetWidth(), H = m_DIB.GetHeight();
    const int row0 = static_cast<int>((R.top - B.top) / g), col0 = static_cast<int>((R.left - B.left) / g);
    const BYTE* src = m_DIB.GetDIBBits();
    const size_t srcStride = m_DIB.GetBytesPerLine();
    // The mean of the non-zero source pixels within radius s of (ix, iy); 0 when there is none.
    auto neighbourhood = [&](int ix, int iy, int s) {
        const int r0 = std::max(0, iy - s), r1 = std::min(H, iy - s + 2 * s + 1);
        const int c0 = std::max(0, ix - s), c1 = std::min(W, ix - s + 2 * s + 1);
        int sum = 0, cnt = 0;
        for (int r = r0; r < r1; ++r)
            for (int c = c0; c < c1; ++c)
                if (const BYTE v = src[size_t(r) * srcStride + c]) {
                    sum += v;
                    ++cnt;
                }
        return cnt ? sum / cnt : 0;
    };
    for (int j = 0; j < rows; ++j) {
        const int mrow = row0 + j;
        if (mrow >= 0 && mrow < MH) {
            for (int l = 0; l < columns; ++l) {
                const int mcol = col0 + l;
                if (mcol < 0 || mcol >= MW) continue;
                const double x = R.left + l * g, y = R.top + j * g;
                if (n < 3 || !PointInPolygon(x, y, n, ring.data())) continue;
                const int t = engine.Find(x, y);
                if (t < 0) {
                    CGeoTinRectifier::SetBackground(target, mcol, mrow);
                    continue;
                }
                double sx, sy;
                engine.ToPixel(t, x, y, sx, sy);
                if (!(sx >= 0.0) || !(sy >= 0.0) || sx >= W || sy >= H) continue;
                const int ix = static_cast<int>(sx), iy = static_cast<int>(sy);
                if (target.GetBitCount() != 8) {
                    CopyPixel(m_DIB, ix, iy, target, mcol, mrow);
                    continue;
                }
                BYTE& v = target.GetDIBBits()[size_t(mrow) * target.GetBytesPerLine() + mcol];
                const BYTE s = src[size_t(iy) * srcStride + ix];
                if (s) {
                    v = s;
                } else if (!v) {
                    for (int radius = 1; radius <= 4 && !v; ++radius) v = static_cast<BYTE>(neighbourhood(ix, iy, radius));
                }
            }
        }
        Progress(1225, static_cast<WPARAM>(double(j) / std::max(rows, 1) * 100.0), 0);
    }
    return 1;
}

namespace {

// Paints the triangles of the engine that touch the image's west or east edge.
void PaintEdgeTriangles(const CGeoTinRectifier& engine, CNewDIB& dib, CRect B, double g, int clear)
{
    const int W = dib.GetWidth(), H = dib.GetHeight();
    for (int k = 0; k < engine.GetTriangleCount(); ++k) {
        const CGeoTinRectifier::Triangle& t = engine.GetTriangle(k);
        bool edge = false;
        for (const auto& v : t.v) edge = edge || std::fabs(v.E - B.left) < 0.1 || std::fabs(v.E - B.right) < 0.1;
        if (!edge) continue;
        CRect R(Round(t.v[0].E), Round(t.v[0].N), Round(t.v[0].E), Round(t.v[0].N));
        for (int i = 1; i < 3; ++i) {
            R.left = std::min<LONG>(R.left, Round(t.v[i].E));
            R.right = std::max<LONG>(R.right, Round(t.v[i].E));
            R.top = std::min<LONG>(R.top, Round(t.v[i].N));
            R.bottom = std::max<LONG>(R.bottom, Round(t.v[i].N));
        }
        const int columns = Round((R.right - R.left) / g), rows = Round((R.bottom - R.top) / g);
        const double xy[6] = {t.v[0].E, t.v[0].N, t.v[1].E, t.v[1].N, t.v[2].E, t.v[2].N};
        const int row0 = static_cast<int>((R.top - B.top) / g), col0 = static_cast<int>((R.left - B.left) / g);
        for (int j = 0; j < rows; ++j) {
            const int row = row0 + j;
            if (row < 0 || row >= H) continue;
            for (int m = 0; m < columns; ++m) {
                const int col = col0 + m;
                if (col < 0 || col >= W) continue;
                if (!PointInPolygon(R.left + m * g, R.top + j * g, 3, xy)) continue;
                if (clear)
                    CGeoTinRectifier::SetBackground(dib, col, row);
                else
                    SetOnes(dib, col, row);
            }
        }
    }
}

}  // namespace

int CGeoImage::FillInvalidArea(CTypedPtrList<CObList, CGeoMosaicPLine*>& lines, int clear)
{
    const double g = m_RasterParameter.m_dPixelSize;
    if (!(g > 0.0) || !m_DIB.Ready()) return 0;
    const tagRasterTinHooks& hooks = GetRasterTinHooks();
    std::vector<tagRasterTinTriangle> tin;
    CString path = GetDebugFolder();
    if (!path.IsEmpty() && path[path.GetLength() - 1] != '/' && path[path.GetLength() - 1] != '\\') path += "/";
    path += "tin";
    if (!hooks.pfnMosaicLineTin || !hooks.pfnMosaicLineTin(lines, path, tin) || tin.empty()) return 0;
    CGeoTinRectifier engine;
    engine.SetTriangles(MosaicTriangles(tin, 0.0, 0.0));
    CRect B = GetBounds();
    B.NormalizeRect();
    PaintEdgeTriangles(engine, m_DIB, B, g, clear);
    return 1;
}

int CGeoImage::FillInvalidArea(CTypedPtrList<CObList, CGeoGCPoint*>& points, int clear)
{
    const double g = m_RasterParameter.m_dPixelSize;
    if (!(g > 0.0) || !m_DIB.Ready()) return 0;
    const tagRasterTinHooks& hooks = GetRasterTinHooks();
    std::vector<tagRasterTinTriangle> tin;
    if (!hooks.pfnControlPointTin || !hooks.pfnControlPointTin(points, tin) || tin.empty()) return 0;
    std::vector<CGeoTinRectifier::Triangle> triangles(tin.size());
    for (size_t k = 0; k < tin.size(); ++k)
        for (int i = 0; i < 3; ++i) {
            const auto* p = static_cast<const CGeoGCPoint*>(tin[k].pBody[i]);
            triangles[k].v[i] = {p->GetGCPX(), p->GetGCPY(), 0.0, 0.0};
            triangles[k].neighbor[i] = tin[k].nNeighbor[i];
        }
    CGeoTinRectifier engine;
    engine.SetTriangles(std::move(triangles));
    CRect B = GetBounds();
    B.NormalizeRect();
    // The triangles are scanned over the rectangle of their map vertices, as for mosaic lines.
    PaintEdgeTriangles(engine, m_DIB, B, g, clear);
    return 1;
}
