#include "terrain/GradeSlope.h"

#include "terrain/GeoDEM.h"

#include <cmath>
#include <cstdint>
#include <new>
#include <vector>

CGradeSlope::CGradeSlope(int width, int height) : m_nWidth(0), m_nHeight(0), m_pBuffer(nullptr)
{
    if (width <= 0 || height <= 0) return;
    m_pBuffer = new (std::nothrow) GRADESLOPE[static_cast<size_t>(width) * height]();
    if (!m_pBuffer) return;
    m_nWidth = width;
    m_nHeight = height;
}

CGradeSlope::~CGradeSlope() { delete[] m_pBuffer; }

int CGradeSlope::SetGradeSlope(int column, int row, float grade, ENSLOPE direction)
{
    if (column < 0 || column >= m_nWidth || row < 0 || row >= m_nHeight) return 0;
    GRADESLOPE& cell = m_pBuffer[column + static_cast<size_t>(row) * m_nWidth];
    cell.grade = grade;
    cell.direction = direction;
    return 1;
}

int CGradeSlope::GetGradeSlope(int column, int row, float& grade, ENSLOPE& direction) const
{
    if (column < 0 || column >= m_nWidth || row < 0 || row >= m_nHeight) return 0;
    const GRADESLOPE& cell = m_pBuffer[column + static_cast<size_t>(row) * m_nWidth];
    grade = cell.grade;
    direction = cell.direction;
    return 1;
}

// The direction code of neighbour (m, l) seen from (b, e); rows count from the north.
static ENSLOPE DirectionCode(int b, int e, int m, int l)
{
    if (m > b) return l == e ? SLOPE_EAST : l < e ? SLOPE_NORTHEAST : SLOPE_SOUTHEAST;
    if (m < b) return l == e ? SLOPE_WEST : l < e ? SLOPE_NORTHWEST : SLOPE_SOUTHWEST;
    return l < e ? SLOPE_NORTH : SLOPE_SOUTH;
}

void CGeoDEM::CalculateGradeSlope(CGradeSlope*& out, int columns, int rows)
{
    out = nullptr;
    const LONG* v = Nodes();
    if (!v) return;
    const int w = GetWidth(), h = GetHeight();
    if (columns < 1) columns = w;
    if (rows < 1) rows = h;
    out = new CGradeSlope(columns, rows);
    if (!out->GetGradeSlopeBuffer()) return;
    // A single output column or row samples the first node and has no neighbours on that axis.
    const double a = columns > 1 ? double(w - 1) / (columns - 1) : 0.0;
    const double d = rows > 1 ? double(h - 1) / (rows - 1) : 0.0;
    const LONG invalid = GetInvalidElevation();
    const double scale = m_dScale, cell = GetCellSize();
    std::vector<int> colOf(static_cast<size_t>(columns)), rowOf(static_cast<size_t>(rows));
    for (int j = 0; j < columns; ++j) colOf[static_cast<size_t>(j)] = static_cast<int>(j * a);
    for (int i = 0; i < rows; ++i) rowOf[static_cast<size_t>(i)] = static_cast<int>(i * d);
    auto node = [&](int col, int rowFromNorth) { return v[static_cast<size_t>(h - 1 - rowFromNorth) * w + col]; };
    GRADESLOPE* buf = out->GetGradeSlopeBuffer();
    // Candidates in the order NW, N, NE, W, E, SW, S, SE: (dj, di).
    static const int kOrder[8][2] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}};
    for (int i = 0; i < rows; ++i) {
        const int e = rowOf[static_cast<size_t>(i)];
        for (int j = 0; j < columns; ++j) {
            const int b = colOf[static_cast<size_t>(j)];
            const LONG z = node(b, e);
            if (z == invalid) continue;
            LONG lowest = z;
            int m = -1, l = -1;
            for (const auto& k : kOrder) {
                const int jj = j + k[0], ii = i + k[1];
                if (jj < 0 || jj >= columns || ii < 0 || ii >= rows) continue;
                const int mc = colOf[static_cast<size_t>(jj)], lr = rowOf[static_cast<size_t>(ii)];
                const LONG zn = node(mc, lr);
                if (zn == invalid || zn >= lowest) continue;
                lowest = zn;
                m = mc;
                l = lr;
            }
            if (m < 0) continue;
            const double dist = std::sqrt(double(b - m) * (b - m) + double(e - l) * (e - l)) * cell;
            GRADESLOPE& g = buf[j + static_cast<size_t>(i) * columns];
            g.grade = static_cast<float>(std::atan((double(z) - lowest) * scale / dist));
            g.direction = DirectionCode(b, e, m, l);
        }
    }
}

int CGeoDEM::GetGradeBlock(int band, DWORD x, DWORD y, DWORD count, DWORD rows, double* out)
{
    const LONG* v = band == 0 ? Nodes() : nullptr;
    const int64_t w = GetWidth(), h = GetHeight();
    if (!v || !out || int64_t(x) + count > w || int64_t(y) + rows > h) return 0;
    const LONG invalid = GetInvalidElevation();
    const double scale = m_dScale, cell = GetCellSize();
    const int64_t firstBandRow = h - y - rows;
    // Candidates in the order SW, W, NW, S, N, SE, E, NE: (column step, band row step).
    static const int kOrder[8][2] = {{-1, -1}, {-1, 0}, {-1, 1}, {0, -1}, {0, 1}, {1, -1}, {1, 0}, {1, 1}};
    for (DWORD i = 0; i < rows; ++i) {
        const int64_t br = firstBandRow + i;
        for (DWORD j = 0; j < count; ++j) {
            const int64_t c = int64_t(x) + j;
            double& result = out[static_cast<size_t>(i) * count + j];
            const LONG z = v[br * w + c];
            result = -1.0;
            if (z == invalid) continue;
            LONG lowest = z;
            int dc = 0, dr = 0;
            bool found = false;
            for (const auto& k : kOrder) {
                // Neighbours anywhere in the grid take part; nothing outside it is read.
                const int64_t cc = c + k[0], rr = br + k[1];
                if (cc < 0 || cc >= w || rr < 0 || rr >= h) continue;
                const LONG zn = v[rr * w + cc];
                if (zn == invalid || zn >= lowest) continue;
                lowest = zn;
                dc = k[0];
                dr = k[1];
                found = true;
            }
            if (found) result = (double(z) - lowest) * scale / (std::sqrt(double(dc * dc + dr * dr)) * cell);
        }
    }
    return 1;
}
