// CGeoDEM::CreateContour: contour lines of the grid at a fixed interval, traced cell by cell over a
// table of edge crossings, into a vector layer (open lines as CGeoPLine, closed ones as
// CGeoPolygonLine, each with its elevation as Z).
//
// Grid terms: band row r (0 = south), column c, stored value v(r, c); level L in stored units. The
// horizontal edge (r, c) joins (r, c) and (r, c + 1) and has row code 2r; the vertical edge (r, c) joins
// (r, c) and (r + 1, c) and has row code 2r + 1. An edge is crossed when one end is below L and the other
// is not (a node equal to L counts as above). Edges with an invalid end are never crossed: a line meeting
// no-data ends there as an open line, like a line meeting the grid's border.
//
// The edge table holds (2H + 8) x (W + 4) four-byte crossing indices (0: none), with a margin so that
// neighbour look-ups may step one edge outside the grid. Crossings live in a per-level array; every
// chain clears the slots of the crossings it consumes, so the table is clean again after each level
// without a full sweep. All state lives in one tracer object: contour tracing is re-entrant.
#include "terrain/GeoDEM.h"
#include "terrain/DemProgress.h"

#include "core/GeoVectorLayer.h"
#include "vector/GeoPLine.h"
#include "vector/GeoPolygonLine.h"

#include <ostrel/Units.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

struct Crossing {
    int rowCode;
    int col;
    double x;
    double y;
    int next;  // list links: crossing indices, -1 none
    int prev;
    int list;  // 0 border/no-data (open), 1 interior (closed), -1 unlinked
    bool terminal;
};

LONG TruncSat(double v)
{
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return 2147483647;
    if (v <= -2147483648.0) return -2147483647 - 1;
    return static_cast<LONG>(v);
}

class ContourTracer {
public:
    ContourTracer(const LONG* v, int w, int h, LONG invalid, double cell, double ox, double oy, double scale, int demUnit,
                  CGeoVectorLayer& layer)
        : m_v(v), m_w(w), m_h(h), m_invalid(invalid), m_cell(cell), m_ox(ox), m_oy(oy), m_scale(scale),
          m_demUnit(demUnit), m_layer(layer), m_stride(w + 4)
    {
        const size_t n = static_cast<size_t>(w) * h;
        m_valid.assign(n, 1);
        for (size_t i = 0; i < n; ++i)
            if (v[i] == invalid) {
                m_valid[i] = 0;
                m_hasInvalid = true;
            }
        // Value ranges per row and per run of kChunk columns (with the next column, so that every edge
        // starting in the run is covered) let a level skip what it cannot cross.
        m_chunks = (w + kChunk - 1) / kChunk;
        m_rowMin.assign(static_cast<size_t>(h), INT32_MAX);
        m_rowMax.assign(static_cast<size_t>(h), INT32_MIN);
        m_chunkMin.assign(static_cast<size_t>(h) * m_chunks, INT32_MAX);
        m_chunkMax.assign(static_cast<size_t>(h) * m_chunks, INT32_MIN);
        for (int r = 0; r < h; ++r)
            for (int c = 0; c < w; ++c) {
                const size_t i = static_cast<size_t>(r) * w + c;
                if (!m_valid[i]) continue;
                m_rowMin[static_cast<size_t>(r)] = std::min(m_rowMin[static_cast<size_t>(r)], v[i]);
                m_rowMax[static_cast<size_t>(r)] = std::max(m_rowMax[static_cast<size_t>(r)], v[i]);
                const int k = c / kChunk;
                for (int kk = (c % kChunk == 0 && k > 0) ? k - 1 : k; kk <= k; ++kk) {
                    const size_t j = static_cast<size_t>(r) * m_chunks + kk;
                    m_chunkMin[j] = std::min(m_chunkMin[j], v[i]);
                    m_chunkMax[j] = std::max(m_chunkMax[j], v[i]);
                }
            }
        const int s = m_stride;
        // [q][r][first, opposite, third]
        const int offsets[2][2][3] = {{{s + 1, 2 * s, s}, {1 - s, -2 * s, -s}}, {{s, 1, -s}, {s - 1, -1, -s - 1}}};
        std::copy(&offsets[0][0][0], &offsets[0][0][0] + 12, &m_offset[0][0][0]);
    }

    bool Allocate()
    {
        const size_t slots = static_cast<size_t>(2 * m_h + 8) * static_cast<size_t>(m_stride);
        // calloc leaves untouched pages unmapped: only the rows where lines run cost memory.
        m_table.reset(static_cast<int32_t*>(std::calloc(slots, sizeof(int32_t))));
        return m_table != nullptr;
    }

    int TraceLevel(LONG level)
    {
        m_level = level;
        m_cr.clear();
        m_head[0] = m_head[1] = m_tail[0] = m_tail[1] = -1;
        m_added = 0;
        FindCrossings();
        while (m_head[0] >= 0) BuildOpen(m_head[0]);
        while (m_head[1] >= 0) BuildClosed(m_head[1]);
        return m_added;
    }

private:
    LONG V(int r, int c) const { return m_v[static_cast<size_t>(r) * m_w + c]; }
    bool Valid(int r, int c) const { return m_valid[static_cast<size_t>(r) * m_w + c] != 0; }
    size_t Slot(int rowCode, int col) const { return static_cast<size_t>(rowCode + 4) * m_stride + col + 2; }
    size_t Slot(const Crossing& k) const { return Slot(k.rowCode, k.col); }

    // The cell whose south-west node is (r, c) exists and has four valid corners.
    bool CellValid(int r, int c) const
    {
        if (r < 0 || c < 0 || r > m_h - 2 || c > m_w - 2) return false;
        return !m_hasInvalid || (Valid(r, c) && Valid(r, c + 1) && Valid(r + 1, c) && Valid(r + 1, c + 1));
    }
    // The south-west node of the cell on side r of crossing k.
    void SideCell(const Crossing& k, int side, int& r, int& c) const
    {
        const int row = k.rowCode / 2;
        if ((k.rowCode & 1) == 0) {
            r = side == 0 ? row : row - 1;
            c = k.col;
        } else {
            r = row;
            c = side == 0 ? k.col : k.col - 1;
        }
    }
    bool SideValid(const Crossing& k, int side) const
    {
        int r, c;
        SideCell(k, side, r, c);
        return CellValid(r, c);
    }

    bool Crossed(LONG a, LONG b) const { return (a < m_level) != (b < m_level); }

    void Add(int rowCode, int col, bool interior)
    {
        Crossing k;
        k.rowCode = rowCode;
        k.col = col;
        const int r = rowCode / 2;
        if ((rowCode & 1) == 0) {
            const double v0 = V(r, col), v1 = V(r, col + 1);
            k.x = col * m_cell + m_ox + m_cell * (m_level - v0) / (v1 - v0);
            k.y = r * m_cell + m_oy;
        } else {
            const double v0 = V(r, col), v1 = V(r + 1, col);
            k.x = col * m_cell + m_ox;
            k.y = r * m_cell + m_oy + m_cell * (m_level - v0) / (v1 - v0);
        }
        k.next = k.prev = -1;
        k.terminal = !interior || !SideValid(k, 0) || !SideValid(k, 1);
        k.list = k.terminal ? 0 : 1;
        const int index = static_cast<int>(m_cr.size());
        m_cr.push_back(k);
        m_table[Slot(rowCode, col)] = index + 1;
        if (interior && k.terminal) {
            // Lines ending at no-data start after the border ones, in scan order.
            m_pending.push_back(index);
            return;
        }
        Append(index, k.list);
    }

    void Append(int index, int list)
    {
        Crossing& k = m_cr[static_cast<size_t>(index)];
        k.list = list;
        k.prev = m_tail[list];
        k.next = -1;
        if (m_tail[list] >= 0) m_cr[static_cast<size_t>(m_tail[list])].next = index;
        else m_head[list] = index;
        m_tail[list] = index;
    }

    void Unlink(int index)
    {
        Crossing& k = m_cr[static_cast<size_t>(index)];
        if (k.list < 0) return;
        if (k.prev >= 0) m_cr[static_cast<size_t>(k.prev)].next = k.next;
        else m_head[k.list] = k.next;
        if (k.next >= 0) m_cr[static_cast<size_t>(k.next)].prev = k.prev;
        else m_tail[k.list] = k.prev;
        k.list = -1;
        k.next = k.prev = -1;
    }

    void Remove(int index)
    {
        Unlink(index);
        m_table[Slot(m_cr[static_cast<size_t>(index)])] = 0;
    }

    // Horizontal edge (r, c) and vertical edge (r, c) tests, no-data aware.
    bool HCrossed(int r, int c) const
    {
        return (!m_hasInvalid || (Valid(r, c) && Valid(r, c + 1))) && Crossed(V(r, c), V(r, c + 1));
    }
    bool VCrossed(int r, int c) const
    {
        return (!m_hasInvalid || (Valid(r, c) && Valid(r + 1, c))) && Crossed(V(r, c), V(r + 1, c));
    }
    // Whether row r's horizontal edges, or the vertical edges between rows r and r + 1, can be crossed.
    bool RowMay(int r) const
    {
        return m_rowMin[static_cast<size_t>(r)] < m_level && m_rowMax[static_cast<size_t>(r)] >= m_level;
    }
    bool PairMay(int r) const
    {
        const LONG lo = std::min(m_rowMin[static_cast<size_t>(r)], m_rowMin[static_cast<size_t>(r + 1)]);
        const LONG hi = std::max(m_rowMax[static_cast<size_t>(r)], m_rowMax[static_cast<size_t>(r + 1)]);
        return lo < m_level && hi >= m_level;
    }

    void FindCrossings()
    {
        const int w = m_w, h = m_h;
        m_pending.clear();
        // Border edges: bottom and top rows by column, then left and right columns by row.
        const bool bottom = RowMay(0), top = RowMay(h - 1);
        for (int c = 0; c <= w - 2; ++c) {
            if (bottom && HCrossed(0, c)) Add(0, c, false);
            if (h > 1 && top && HCrossed(h - 1, c)) Add(2 * (h - 1), c, false);
        }
        for (int r = 0; r <= h - 2; ++r) {
            if (!PairMay(r)) continue;
            if (VCrossed(r, 0)) Add(2 * r + 1, 0, false);
            if (w > 1 && VCrossed(r, w - 1)) Add(2 * r + 1, w - 1, false);
        }
        // Interior edges.
        if (h >= 2 && PairMay(0))
            for (int c = 1; c <= w - 2; ++c)
                if (VCrossed(0, c)) Add(1, c, true);
        for (int r = 1; r <= h - 2; ++r) {
            const bool row = RowMay(r), pair = PairMay(r);
            if (!row && !pair) continue;
            if (row && w >= 2 && HCrossed(r, 0)) Add(2 * r, 0, true);
            for (int c = 1; c <= w - 2;) {
                const int k = c / kChunk;
                const int last = std::min(w - 2, k * kChunk + kChunk - 1);
                const size_t j = static_cast<size_t>(r) * m_chunks + k, j1 = j + m_chunks;
                const bool hMay = row && m_chunkMin[j] < m_level && m_chunkMax[j] >= m_level;
                const bool vMay = pair && std::min(m_chunkMin[j], m_chunkMin[j1]) < m_level &&
                                  std::max(m_chunkMax[j], m_chunkMax[j1]) >= m_level;
                if (!hMay && !vMay) {
                    c = last + 1;
                    continue;
                }
                for (; c <= last; ++c) {
                    if (hMay && HCrossed(r, c)) Add(2 * r, c, true);
                    if (vMay && VCrossed(r, c)) Add(2 * r + 1, c, true);
                }
            }
        }
        for (int index : m_pending) Append(index, 0);
        m_pending.clear();
    }

    // Moves from crossing cur (parity q, entering side r) to the next crossing of the line; 0, or -1
    // when the line cannot go on. cur is unlinked (its slot stays set).
    int Next(int& cur, int& q, int& r)
    {
        const Crossing k = m_cr[static_cast<size_t>(cur)];
        const size_t base = Slot(k);
        int chosen = -1;
        for (int attempt = 0; attempt < 2 && chosen < 0; ++attempt) {
            if (SideValid(k, r)) {
                const int* off = m_offset[q][r];
                const int a = m_table[base + off[0]], b = m_table[base + off[1]], c = m_table[base + off[2]];
                if (a) {
                    chosen = a - 1;
                    if (b && c) {
                        // A saddle: the mean of the four corners decides (summed in 64 bits).
                        const int br = k.rowCode / 2, bc = k.col;
                        static const int kCorner[2][2][2] = {{{1, 1}, {-1, 1}}, {{1, 1}, {1, -1}}};
                        const int dr = kCorner[q][r][0], dc = kCorner[q][r][1];
                        const int64_t f = V(br, bc);
                        const int64_t sum = f + V(br + dr, bc) + V(br, bc + dc) + V(br + dr, bc + dc);
                        const int64_t mean = sum / 4;
                        const int64_t level = m_level;
                        if ((level >= f && mean >= level) || (f >= level && mean < level)) chosen = c - 1;
                    }
                } else if (b) {
                    chosen = b - 1;
                } else if (c) {
                    chosen = c - 1;
                }
            }
            if (chosen < 0) r = 1 - r;
        }
        if (chosen < 0) return -1;
        const Crossing& n = m_cr[static_cast<size_t>(chosen)];
        q = n.rowCode & 1;
        // Continue into the cell beyond the chosen edge, away from the current one.
        if (q == 1) r = (k.x <= n.x && k.col < n.col) ? 0 : 1;
        else r = k.rowCode < n.rowCode ? 0 : 1;
        Unlink(cur);
        cur = chosen;
        return 0;
    }

    void PutVertex(std::vector<POINT>& pts, const Crossing& k) const
    {
        const int layerUnit = m_layer.GetUnit();
        POINT p;
        p.x = TruncSat(::ChangeUnit(m_demUnit, layerUnit, k.x));
        p.y = TruncSat(::ChangeUnit(m_demUnit, layerUnit, k.y));
        pts.push_back(p);
    }

    void Emit(std::vector<POINT>& pts, bool closed)
    {
        CGeoPLine* line = closed ? new CGeoPolygonLine(static_cast<int>(pts.size()), pts.data(), 1)
                                 : new CGeoPLine(static_cast<int>(pts.size()), pts.data(), 1);
        line->SetZ(m_level * m_scale);
        line->SetUnit(m_layer.GetUnit());
        if (m_layer.Add(line)) ++m_added;
        else delete line;
    }

    void BuildOpen(int start)
    {
        Crossing& s = m_cr[static_cast<size_t>(start)];
        int q = s.rowCode & 1, r;
        const bool border = s.rowCode == 0 || s.rowCode == 2 * (m_h - 1) || (q == 1 && (s.col == 0 || s.col == m_w - 1));
        if (border) r = (s.rowCode == 0 || (q == 1 && s.col == 0)) ? 0 : 1;
        else r = SideValid(s, 0) ? 0 : 1;
        if (!SideValid(s, r)) {  // a lone crossing between no-data cells
            Remove(start);
            return;
        }
        std::vector<POINT> pts;
        std::vector<double> xs{s.x}, ys{s.y};
        double lx = s.x, ly = s.y;
        int cur = start;
        for (;;) {
            const int left = cur;
            if (Next(cur, q, r) < 0) {
                Remove(left);
                return;
            }
            const Crossing& n = m_cr[static_cast<size_t>(cur)];
            if (std::fabs(n.x - lx) > 0.1 || std::fabs(n.y - ly) > 0.1) {
                xs.push_back(n.x);
                ys.push_back(n.y);
                lx = n.x;
                ly = n.y;
            }
            m_table[Slot(m_cr[static_cast<size_t>(left)])] = 0;
            if (n.terminal) break;
        }
        if (xs.size() > 2) {
            for (size_t i = 0; i < xs.size(); ++i) {
                Crossing tmp{};
                tmp.x = xs[i];
                tmp.y = ys[i];
                PutVertex(pts, tmp);
            }
            Emit(pts, false);
        }
        Remove(cur);
    }

    void BuildClosed(int first)
    {
        int q = m_cr[static_cast<size_t>(first)].rowCode & 1, r = 0;
        std::vector<POINT> pts;
        PutVertex(pts, m_cr[static_cast<size_t>(first)]);
        int cur = first;
        if (Next(cur, q, r) < 0) {
            Remove(first);
            return;
        }
        const Crossing* n = &m_cr[static_cast<size_t>(cur)];
        double lx = n->x, ly = n->y;
        PutVertex(pts, *n);
        while (cur != first) {
            const int left = cur;
            if (Next(cur, q, r) < 0) {
                Remove(left);
                Remove(first);
                return;
            }
            n = &m_cr[static_cast<size_t>(cur)];
            if (std::fabs(n->x - lx) + std::fabs(n->y - ly) >= 1.0) {
                PutVertex(pts, *n);
                lx = n->x;
                ly = n->y;
            }
            m_table[Slot(m_cr[static_cast<size_t>(left)])] = 0;
        }
        if (pts.size() > 2) Emit(pts, true);
        Remove(first);
    }

    const LONG* m_v;
    int m_w, m_h;
    LONG m_invalid;
    double m_cell, m_ox, m_oy, m_scale;
    int m_demUnit;
    CGeoVectorLayer& m_layer;
    int m_stride;
    bool m_hasInvalid = false;
    std::vector<unsigned char> m_valid;
    static const int kChunk = 32;
    int m_chunks = 0;
    std::vector<LONG> m_rowMin, m_rowMax, m_chunkMin, m_chunkMax;
    int m_offset[2][2][3];
    struct FreeDeleter {
        void operator()(int32_t* p) const { std::free(p); }
    };
    std::unique_ptr<int32_t[], FreeDeleter> m_table;
    std::vector<Crossing> m_cr;
    std::vector<int> m_pending;
    int m_head[2] = {-1, -1}, m_tail[2] = {-1, -1};
    LONG m_level = 0;
    int m_added = 0;
};

int64_t FloorDiv(int64_t a, int64_t b)
{
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

}  // namespace

int CGeoDEM::CreateContour(CGeoVectorLayer& layer, double interval)
{
    const LONG* v = Nodes();
    const double cell = GetCellSize();
    if (!v || !(cell > 0.0) || !(m_dScale > 0.0)) return -1;
    // The interval in stored units; below one unit there is no level step.
    const double steps = interval / m_dScale + 0.5;
    if (!(steps >= 1.0) || steps > 2147483647.0) return -1;
    const int64_t c = static_cast<int64_t>(steps);
    const LONG lo = GetMinElevation(), hi = GetMaxElevation();
    if (lo > hi) return 0;  // no valid node
    // Floor division, so that the lowest level inside a negative range is traced too.
    const int64_t first = (FloorDiv(lo, c) + 1) * c;
    const int64_t end = FloorDiv(hi, c) * c + 1;
    const int64_t levels = first < end ? (end - 1 - first) / c + 1 : 0;
    // Every level is a pass over the grid: a range this interval cuts into more levels than any map
    // draws (a spike in the data, an interval far too small) is refused, not worked through for hours.
    if (levels > kMaxContourLevels) {
        CString text;
        text.Format("等高线层数过多: %lld 层，最多 %d 层，请加大等高距", static_cast<long long>(levels),
                    kMaxContourLevels);
        AfxMessageBox(text);
        return -1;
    }
    const int w = GetWidth(), h = GetHeight();
    // Lines are placed on the grid: the south-west node is the origin of the crossing positions.
    const double ox = m_rcBounds.left;
    const double oy = static_cast<double>(GetMaxY()) - (h - 1) * cell;
    ContourTracer tracer(v, w, h, GetInvalidElevation(), cell, ox, oy, m_dScale, GetUnit(), layer);
    if (!tracer.Allocate()) return -1;
    demprogress::Begin("正在计算等高线...");
    int added = 0;
    int64_t done = 0;
    for (int64_t level = first; level < end; level += c) {
        added += tracer.TraceLevel(static_cast<LONG>(level));
        ++done;
        demprogress::Step(static_cast<int>(done * 100 / levels));
    }
    demprogress::End();
    return added;
}
