#include "raster/GeoTinRectifier.h"

#include "raster/GeoImage.h"
#include "raster/Polynomial.h"

#include <algorithm>
#include <cmath>

void CGeoTinRectifier::SolveAffine(const Vertex v[3], double A[6])
{
    double M[36] = {};
    double b[6];
    for (int i = 0; i < 3; ++i) {
        double* r1 = M + 12 * i;
        double* r2 = r1 + 6;
        r1[0] = 1.0;
        r1[1] = v[i].E;
        r1[2] = v[i].N;
        r2[3] = 1.0;
        r2[4] = v[i].E;
        r2[5] = v[i].N;
        b[2 * i] = v[i].x;
        b[2 * i + 1] = v[i].y;
    }
    // Unknowns in the order A0, A1, A2, A3, A4, A5; rows x0, y0, x1, y1, x2, y2.
    int ok = 0;
    gauss(6, M, b, 1e-12, &ok);
    if (ok) {
        std::copy(b, b + 6, A);
        return;
    }
    // Three vertices on one line: scale each axis along the first edge where it moves at all.
    std::fill(A, A + 6, 0.0);
    A[0] = v[0].x;
    if (std::fabs(v[1].E - v[0].E) > 0.1) {
        A[1] = (v[1].x - v[0].x) / (v[1].E - v[0].E);
        A[0] = v[0].x - v[0].E * A[1];
    }
    A[3] = v[0].y;
    if (std::fabs(v[1].N - v[0].N) > 0.1) {
        A[5] = (v[1].y - v[0].y) / (v[1].N - v[0].N);
        A[3] = v[0].y - v[0].N * A[5];
    }
}

void CGeoTinRectifier::SetTriangles(std::vector<Triangle> triangles)
{
    m_Triangles = std::move(triangles);
    for (Triangle& t : m_Triangles) SolveAffine(t.v, t.A);
    m_nCurrent = static_cast<int>(m_Triangles.size()) - 1;
    m_Stats = Statistics();
    BuildGrid();
}

void CGeoTinRectifier::BuildGrid()
{
    m_Cells.clear();
    m_nCols = m_nRows = 0;
    if (m_Triangles.empty()) return;
    m_dMinE = m_dMaxE = m_Triangles[0].v[0].E;
    m_dMinN = m_dMaxN = m_Triangles[0].v[0].N;
    for (const Triangle& t : m_Triangles)
        for (const Vertex& v : t.v) {
            m_dMinE = std::min(m_dMinE, v.E);
            m_dMaxE = std::max(m_dMaxE, v.E);
            m_dMinN = std::min(m_dMinN, v.N);
            m_dMaxN = std::max(m_dMaxN, v.N);
        }
    // About one triangle per cell.
    const int side = std::max(1, std::min(1024, static_cast<int>(std::sqrt(double(m_Triangles.size())))));
    m_nCols = m_nRows = side;
    m_dCellE = (m_dMaxE - m_dMinE) / side;
    m_dCellN = (m_dMaxN - m_dMinN) / side;
    if (!(m_dCellE > 0.0)) m_dCellE = 1.0;
    if (!(m_dCellN > 0.0)) m_dCellN = 1.0;
    m_Cells.assign(static_cast<size_t>(side) * side, {});
    auto cellOf = [](double v, double lo, double size, int n) {
        const int c = static_cast<int>(std::floor((v - lo) / size));
        return std::max(0, std::min(n - 1, c));
    };
    for (int k = static_cast<int>(m_Triangles.size()) - 1; k >= 0; --k) {
        const Triangle& t = m_Triangles[static_cast<size_t>(k)];
        const double e0 = std::min({t.v[0].E, t.v[1].E, t.v[2].E}), e1 = std::max({t.v[0].E, t.v[1].E, t.v[2].E});
        const double n0 = std::min({t.v[0].N, t.v[1].N, t.v[2].N}), n1 = std::max({t.v[0].N, t.v[1].N, t.v[2].N});
        const int c0 = cellOf(e0, m_dMinE, m_dCellE, m_nCols), c1 = cellOf(e1, m_dMinE, m_dCellE, m_nCols);
        const int r0 = cellOf(n0, m_dMinN, m_dCellN, m_nRows), r1 = cellOf(n1, m_dMinN, m_dCellN, m_nRows);
        for (int r = r0; r <= r1; ++r)
            for (int c = c0; c <= c1; ++c) m_Cells[static_cast<size_t>(r) * m_nCols + c].push_back(k);
    }
}

bool CGeoTinRectifier::Inside(int t, double x, double y) const
{
    const Triangle& tr = m_Triangles[static_cast<size_t>(t)];
    const double xy[6] = {tr.v[0].E, tr.v[0].N, tr.v[1].E, tr.v[1].N, tr.v[2].E, tr.v[2].N};
    return PointInPolygon(x, y, 3, xy) != 0;
}

int CGeoTinRectifier::Find(double x, double y)
{
    if (m_Triangles.empty()) return -1;
    const int start = m_nCurrent;
    if (Inside(start, x, y)) {
        ++m_Stats.current;
        return start;
    }
    // One step at a time across edges 0, 1, 2, each step from where the last one arrived.
    int t = start;
    for (int k = 0; k < 3; ++k) {
        const int next = m_Triangles[static_cast<size_t>(t)].neighbor[k];
        if (next < 0) continue;
        t = next;
        if (Inside(t, x, y)) {
            ++m_Stats.walk;
            return m_nCurrent = t;
        }
    }
    // Two steps: across edge m, then across edges 0, 1, 2 of wherever that leads.
    t = start;
    for (int m = 0; m < 3; ++m) {
        const int across = m_Triangles[static_cast<size_t>(t)].neighbor[m];
        if (across < 0) continue;
        t = across;
        for (int k = 0; k < 3; ++k) {
            const int next = m_Triangles[static_cast<size_t>(t)].neighbor[k];
            if (next < 0) continue;
            t = next;
            if (Inside(t, x, y)) {
                ++m_Stats.walk;
                return m_nCurrent = t;
            }
        }
    }
    // Only triangles whose boxes cover the point can hold it; they are listed highest index first.
    if (x < m_dMinE || x > m_dMaxE || y < m_dMinN || y > m_dMaxN) {
        ++m_Stats.missed;
        return -1;
    }
    const int c = std::max(0, std::min(m_nCols - 1, static_cast<int>(std::floor((x - m_dMinE) / m_dCellE))));
    const int r = std::max(0, std::min(m_nRows - 1, static_cast<int>(std::floor((y - m_dMinN) / m_dCellN))));
    for (int k : m_Cells[static_cast<size_t>(r) * m_nCols + c])
        if (Inside(k, x, y)) {
            ++m_Stats.grid;
            return m_nCurrent = k;
        }
    ++m_Stats.missed;
    return -1;
}

void CGeoTinRectifier::ToPixel(int t, double x, double y, double& sx, double& sy) const
{
    const double* A = m_Triangles[static_cast<size_t>(t)].A;
    sx = A[1] * x + A[0] + A[2] * y + 0.5;
    sy = A[4] * x + A[3] + A[5] * y + 0.5;
}

int CGeoTinRectifier::Sample(const CNewDIB& source, double sx, double sy, int interpolate, CNewDIB& out, int column,
                             int row)
{
    const int W = source.GetWidth(), H = source.GetHeight();
    if (!(sx >= 0.0) || !(sy >= 0.0)) return 0;
    if (sx >= double(W) || sy >= double(H)) return 0;
    const int ix = static_cast<int>(sx), iy = static_cast<int>(sy);
    const size_t srcRow = source.GetBytesPerLine(), dstRow = out.GetBytesPerLine();
    const BYTE* s = source.GetDIBBits() + size_t(iy) * srcRow;
    BYTE* d = out.GetDIBBits() + size_t(row) * dstRow;
    switch (source.GetBitCount()) {
    case 1: {
        const BYTE mask = BYTE(0x80 >> (column & 7));
        if (s[ix >> 3] & (0x80 >> (ix & 7)))
            d[column >> 3] |= mask;
        else
            d[column >> 3] &= BYTE(~mask);
        break;
    }
    case 4: {
        const int nib = (ix & 1) ? (s[ix >> 1] & 0x0F) : (s[ix >> 1] >> 4);
        BYTE& b = d[column >> 1];
        b = (column & 1) ? BYTE((b & 0xF0) | nib) : BYTE((b & 0x0F) | (nib << 4));
        break;
    }
    case 8:
        if (interpolate && ix < W - 2 && iy < H - 2) {
            const BYTE q[4] = {s[ix], s[ix + 1], s[srcRow + ix], s[srcRow + ix + 1]};
            d[column] = CGeoImage::Interpolate(sx - ix, sy - iy, q, 1);
        } else {
            d[column] = s[ix];
        }
        break;
    case 24:
        d[3 * column] = s[3 * ix];
        d[3 * column + 1] = s[3 * ix + 1];
        d[3 * column + 2] = s[3 * ix + 2];
        break;
    default:
        return 0;
    }
    return 1;
}

void CGeoTinRectifier::SetBackground(CNewDIB& out, int column, int row)
{
    BYTE* d = out.GetDIBBits() + size_t(row) * out.GetBytesPerLine();
    switch (out.GetBitCount()) {
    case 1: d[column >> 3] &= BYTE(~(0x80 >> (column & 7))); break;
    case 4: d[column >> 1] &= (column & 1) ? 0xF0 : 0x0F; break;
    case 8: d[column] = 0; break;
    case 24: d[3 * column] = d[3 * column + 1] = d[3 * column + 2] = 0; break;
    default: break;
    }
}
