// TIN rectification of an image: grid-cell fine rectification inside a map frame, and the resampling
// that pins an inner map rectangle to a pixel rectangle.
#include "raster/GeoImage.h"
#include "raster/GeoTinRectifier.h"
#include "raster/Polynomial.h"
#include "raster/RasterTinHooks.h"

#include <afx/WinApp.h>

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

// Ends the host's progress display however the operation leaves once it has started it.
struct ProgressEnd {
    ~ProgressEnd() { Progress(1226, 0, 0); }
};

// Control points appended for one operation come off the image's list again on every exit, so that
// they are never saved with the image as real ones.
class TemporaryPoints {
public:
    explicit TemporaryPoints(CTypedPtrList<CObList, CGeoGCPoint*>& list)
        : m_list(list), m_nKeep(static_cast<int>(list.GetCount())) {}
    ~TemporaryPoints()
    {
        while (static_cast<int>(m_list.GetCount()) > m_nKeep) delete m_list.RemoveTail();
    }
    void Add(double E, double N, double px, double py)
    {
        CGeoGCPoint* g = new CGeoGCPoint;
        g->SetGCPX(E);
        g->SetGCPY(N);
        g->SetPixelPoint(CPoint(static_cast<int>(px * 10.0), static_cast<int>(py * 10.0)));
        m_list.AddTail(g);
    }

private:
    CTypedPtrList<CObList, CGeoGCPoint*>& m_list;
    int m_nKeep;
};

// The engine over the triangulation of the image's control points: map positions from their X and Y,
// pixel positions from their pixel points in tenths. FALSE when there is no triangulation.
bool BuildControlPointEngine(CTypedPtrList<CObList, CGeoGCPoint*>& points, CGeoTinRectifier& engine)
{
    const tagRasterTinHooks& hooks = GetRasterTinHooks();
    std::vector<tagRasterTinTriangle> tin;
    if (!hooks.pfnControlPointTin || !hooks.pfnControlPointTin(points, tin) || tin.empty()) return false;
    std::vector<CGeoTinRectifier::Triangle> triangles(tin.size());
    for (size_t k = 0; k < tin.size(); ++k) {
        for (int i = 0; i < 3; ++i) {
            const CGeoGCPoint* g = static_cast<const CGeoGCPoint*>(tin[k].pBody[i]);
            if (!g) return false;
            triangles[k].v[i] = {g->GetGCPX(), g->GetGCPY(), g->GetPixelPoint().x / 10.0, g->GetPixelPoint().y / 10.0};
            triangles[k].neighbor[i] = tin[k].nNeighbor[i];
        }
    }
    engine.SetTriangles(std::move(triangles));
    return true;
}

// A north-up output of w x h pixels of size cell with its north-west corner at (x0, y0), the source's
// bit count, raster parameter (but for the pixel size) and colour table. NULL without memory.
std::unique_ptr<CGeoImage> MakeOutput(CNewDIB& source, tagRasterParameter parameter, int w, int h, double x0,
                                      double y0, double cell)
{
    parameter.m_dPixelSize = cell;
    std::unique_ptr<CGeoImage> out(new CGeoImage(w, h, source.GetBitCount(), static_cast<int>(x0),
                                                 static_cast<int>(y0), parameter));
    if (!out->GetDIB()->Ready()) return nullptr;
    DWORD table[256];
    const int entries = source.GetColorTable(table);
    if (entries != -1) out->GetDIB()->SetColorTable(entries, table);
    return out;
}

// A map position record for the edge points: E, N, pixel x, pixel y.
struct EdgePoint {
    double E, N, x, y;
};

double SegmentDistance(double px, double py, double ax, double ay, double bx, double by)
{
    const double dx = bx - ax, dy = by - ay;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0.0 ? ((px - ax) * dx + (py - ay) * dy) / len2 : 0.0;
    t = std::max(0.0, std::min(1.0, t));
    return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

}  // namespace

int CGeoImage::PartialReSample(CString, CGeoImage*& out, CRect frame, double cell,
                               CTypedPtrList<CObList, CGeoGCPoint*>* corners, int interpolate)
{
    out = nullptr;
    if (!corners || corners->GetCount() < 4) {
        AfxMessageBox("图廓点不全!", MB_OK);
        return 0;
    }
    // No cell size or no frame would divide by zero or size a negative image.
    if (!(cell > 0.0) || !m_DIB.Ready()) return 0;
    const double wOut = (double(frame.right) - frame.left) / cell, hOut = (double(frame.top) - frame.bottom) / cell;
    if (!(wOut >= 1.0 && hOut >= 1.0 && wOut < 2147483647.0 && hOut < 2147483647.0)) return 0;
    const int W2 = static_cast<int>(wOut), H2 = static_cast<int>(hOut);

    // Frame corners by quadrant around the first four points' centre.
    double cE = 0.0, cN = 0.0;
    {
        POSITION pos = corners->GetHeadPosition();
        for (int i = 0; i < 4; ++i) {
            const CGeoGCPoint* g = corners->GetNext(pos);
            cE += g->GetGCPX() / 4.0;
            cN += g->GetGCPY() / 4.0;
        }
    }
    cE = std::trunc(cE);
    cN = std::trunc(cN);
    const CGeoGCPoint* quadrant[4] = {};  // south-west, south-east, north-east, north-west
    for (POSITION pos = corners->GetHeadPosition(); pos;) {
        const CGeoGCPoint* g = corners->GetNext(pos);
        const double E = g->GetGCPX(), N = g->GetGCPY();
        if (E < cE && N < cN) quadrant[0] = g;
        else if (E > cE && N < cN) quadrant[1] = g;
        else if (E > cE && N > cN) quadrant[2] = g;
        else if (E < cE && N > cN) quadrant[3] = g;
    }
    // A corner that no point gives would leave the frame's edges undefined.
    if (!quadrant[0] || !quadrant[1] || !quadrant[2] || !quadrant[3]) {
        AfxMessageBox("图廓点不全!", MB_OK);
        return 0;
    }

    Progress(1224, 0, reinterpret_cast<LPARAM>("分格网精纠正中..."));
    ProgressEnd end;

    // The source's pixel corners on the map, from the bilinear fit of the first four points.
    const int W = m_DIB.GetWidth(), H = m_DIB.GetHeight();
    double rec[16];
    {
        POSITION pos = corners->GetHeadPosition();
        for (int i = 0; i < 4; ++i) {
            const CGeoGCPoint* g = corners->GetNext(pos);
            rec[4 * i] = g->GetPixelPoint().x / 10.0;
            rec[4 * i + 1] = g->GetPixelPoint().y / 10.0;
            rec[4 * i + 2] = g->GetGCPX();
            rec[4 * i + 3] = g->GetGCPY();
        }
    }
    double p2m[8] = {};
    if (Polynomial(POLY_BILINEAR, 4, rec, nullptr, p2m, nullptr, nullptr) != POLY_BILINEAR) return 0;
    const double pixelCorner[4][2] = {{0, 0}, {double(W - 1), 0}, {double(W - 1), double(H - 1)}, {0, double(H - 1)}};
    double C[4][2];
    for (int i = 0; i < 4; ++i) {
        const double u = pixelCorner[i][0], v = pixelCorner[i][1];
        C[i][0] = p2m[0] + p2m[1] * u + p2m[2] * v + p2m[3] * u * v;
        C[i][1] = p2m[4] + p2m[5] * u + p2m[6] * v + p2m[7] * u * v;
    }
    const double quad[8] = {C[0][0], C[0][1], C[1][0], C[1][1], C[2][0], C[2][1], C[3][0], C[3][1]};

    // The image's control points on each frame edge (south, east, north, west), each list ordered by
    // distance from the edge's first corner, joined into one ring.
    std::vector<EdgePoint> ring;
    int listEnd[4] = {};
    for (int e = 0; e < 4; ++e) {
        const CGeoGCPoint* a = quadrant[e];
        const CGeoGCPoint* b = quadrant[(e + 1) % 4];
        std::vector<double> records;
        for (POSITION pos = m_GCPoints.GetHeadPosition(); pos;) {
            const CGeoGCPoint* g = m_GCPoints.GetNext(pos);
            if (SegmentDistance(g->GetGCPX(), g->GetGCPY(), a->GetGCPX(), a->GetGCPY(), b->GetGCPX(), b->GetGCPY()) <
                0.1) {
                records.insert(records.end(), {g->GetGCPX(), g->GetGCPY(), g->GetPixelPoint().x / 10.0,
                                               g->GetPixelPoint().y / 10.0});
            }
        }
        SetDistanceReference(a->GetGCPX(), a->GetGCPY());
        if (!records.empty()) std::qsort(records.data(), records.size() / 4, 4 * sizeof(double), CompareDistance);
        for (size_t i = 0; i < records.size(); i += 4)
            ring.push_back({records[i], records[i + 1], records[i + 2], records[i + 3]});
        listEnd[e] = static_cast<int>(ring.size());
    }

    // Thinning: points closer than 10 pixels to the last kept one go, except where a list starts and
    // at the ring's end. firstOf[e] is the kept index where list e (east, north, west) starts.
    std::vector<EdgePoint> kept;
    int firstOf[3] = {-1, -1, -1};
    for (int i = 0; i < static_cast<int>(ring.size()); ++i) {
        const int startsList = (i == listEnd[0] && listEnd[1] > listEnd[0]) ? 0
                             : (i == listEnd[1] && listEnd[2] > listEnd[1]) ? 1
                             : (i == listEnd[2] && listEnd[3] > listEnd[2]) ? 2
                                                                           : -1;
        bool keep = i == 0 || startsList >= 0 || i + 1 == static_cast<int>(ring.size());
        if (!keep) {
            const EdgePoint& last = kept.back();
            keep = std::fabs(ring[i].x - last.x) > 10.0 || std::fabs(ring[i].y - last.y) > 10.0;
        }
        if (keep) {
            if (startsList >= 0 && firstOf[startsList] < 0) firstOf[startsList] = static_cast<int>(kept.size());
            kept.push_back(ring[i]);
        }
    }
    const int u = static_cast<int>(kept.size());

    // Each kept point carried out to the source's edge, along the direction its neighbours give. The
    // corner points stand at the end of one list and the start of the next: neighbours skip the twin.
    std::vector<EdgePoint> extended;
    for (int i = 0; i < u; ++i) {
        int p = (i - 1) % u, q = (i + 1) % u;
        auto isStart = [&](int k) { return k > 0 && (k == firstOf[0] || k == firstOf[1] || k == firstOf[2]); };
        if (i == 0) p = u - 2;
        else if (isStart(i)) p = i - 2;
        else if (isStart(i + 1)) q = i + 2;
        if (i + 1 == u) q = 1;
        p = std::max(0, std::min(u - 1, p));
        q = std::max(0, std::min(u - 1, q));
        const int idx[3] = {i, q, p};
        double sim[12];
        for (int k = 0; k < 3; ++k) {
            const EdgePoint& e = kept[static_cast<size_t>(idx[k])];
            sim[4 * k] = e.x;
            sim[4 * k + 1] = e.y;
            sim[4 * k + 2] = e.E;
            sim[4 * k + 3] = e.N;
        }
        double c[4] = {};
        if (Polynomial(POLY_SIMILARITY, 3, sim, c, nullptr, nullptr, nullptr) != POLY_SIMILARITY) return 0;
        const EdgePoint& pi = kept[static_cast<size_t>(i)];
        const EdgePoint& pq = kept[static_cast<size_t>(q)];
        EdgePoint x = pi;
        if (std::fabs(pi.y - pq.y) >= std::fabs(pi.x - pq.x))
            x.E = std::fabs(C[0][0] - pi.E) < std::fabs(C[1][0] - pi.E) ? C[0][0] : C[1][0];
        else
            x.N = std::fabs(C[0][1] - pi.N) < std::fabs(C[3][1] - pi.N) ? C[0][1] : C[3][1];
        // The fit runs from map to pixel, so its map-to-pixel form places the point.
        x.x = c[0] + c[2] * x.E - c[3] * x.N;
        x.y = c[1] + c[3] * x.E + c[2] * x.N;
        extended.push_back(x);
    }

    TemporaryPoints temporary(m_GCPoints);
    for (int i = 0; i < 4; ++i) temporary.Add(C[i][0], C[i][1], pixelCorner[i][0], pixelCorner[i][1]);
    for (const EdgePoint& e : extended) temporary.Add(e.E, e.N, e.x, e.y);

    CGeoTinRectifier engine;
    if (!BuildControlPointEngine(m_GCPoints, engine)) return 0;
    std::unique_ptr<CGeoImage> image = MakeOutput(m_DIB, m_RasterParameter, W2, H2, frame.left, frame.top, cell);
    if (!image) return 0;
    CNewDIB& dib = *image->GetDIB();
    for (int r = 0; r < H2; ++r) {
        const double y = frame.top - (r + 1) * cell;
        const int row = H2 - r - 1;
        for (int k = 0; k < W2; ++k) {
            const double x = frame.left + k * cell;
            const int t = PointInPolygon(x, y, 4, quad) ? engine.Find(x, y) : -1;
            if (t < 0) {
                CGeoTinRectifier::SetBackground(dib, k, row);
                continue;
            }
            double sx, sy;
            engine.ToPixel(t, x, y, sx, sy);
            CGeoTinRectifier::Sample(m_DIB, sx, sy, interpolate, dib, k, row);
        }
        Progress(1225, static_cast<WPARAM>(double(r) / H2 * 100.0), 0);
    }
    out = image.release();
    return 1;
}

int CGeoImage::ReSample123(CGeoImage*& out, CRect mapRect, CRect pixelRect, int interpolate)
{
    out = nullptr;
    const CRect B = GetBounds();
    const double g = m_RasterParameter.m_dPixelSize;
    const double lo = std::min(B.top, B.bottom), hi = std::max(B.top, B.bottom);
    // Refused before anything changes: no pixel size or no bounds would divide by zero.
    if (!(g > 0.0) || !m_DIB.Ready()) return 0;
    const double wOut = (double(B.right) - B.left) / g, hOut = (hi - lo) / g;
    if (!(wOut >= 1.0 && hOut >= 1.0 && wOut < 2147483647.0 && hOut < 2147483647.0)) return 0;
    const int W2 = static_cast<int>(wOut), H2 = static_cast<int>(hOut);
    const int W = m_DIB.GetWidth(), H = m_DIB.GetHeight();

    Progress(1224, 0, reinterpret_cast<LPARAM>("接边处理中..."));
    ProgressEnd end;

    while (!m_GCPoints.IsEmpty()) delete m_GCPoints.RemoveHead();
    TemporaryPoints pinned(m_GCPoints);
    pinned.Add(mapRect.left, mapRect.top, pixelRect.left, pixelRect.top);
    pinned.Add(mapRect.left, mapRect.bottom, pixelRect.left, pixelRect.bottom);
    pinned.Add(mapRect.right, mapRect.bottom, pixelRect.right, pixelRect.bottom);
    pinned.Add(mapRect.right, mapRect.top, pixelRect.right, pixelRect.top);
    pinned.Add(B.left, lo, 0, 0);
    pinned.Add(B.left, hi, 0, H - 1);
    pinned.Add(B.right, hi, W - 1, H - 1);
    pinned.Add(B.right, lo, W - 1, 0);

    CGeoTinRectifier engine;
    if (!BuildControlPointEngine(m_GCPoints, engine)) return 0;
    std::unique_ptr<CGeoImage> image = MakeOutput(m_DIB, m_RasterParameter, W2, H2, B.left, hi, g);
    if (!image) return 0;
    image->SetUnit(6);
    CNewDIB& dib = *image->GetDIB();
    for (int r = 0; r < H2; ++r) {
        const double y = hi - (r + 1) * g;
        const int row = H2 - r - 1;
        for (int k = 0; k < W2; ++k) {
            const double x = B.left + k * g;
            const int t = engine.Find(x, y);
            if (t < 0) {
                CGeoTinRectifier::SetBackground(dib, k, row);
                continue;
            }
            double sx, sy;
            engine.ToPixel(t, x, y, sx, sy);
            CGeoTinRectifier::Sample(m_DIB, sx, sy, interpolate, dib, k, row);
        }
        Progress(1225, static_cast<WPARAM>(double(r) / H2 * 100.0), 0);
    }
    out = image.release();
    return 1;
}
