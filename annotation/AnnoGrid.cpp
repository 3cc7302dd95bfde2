#include "annotation/AnnoGrid.h"

#include "annotation/AnnoBoxIndex.h"

#include <ostrel/Contact.h>

#include <climits>
#include <cmath>

namespace {

int g_nAnnoIndexID = 0;

// A double kept inside the LONG range, truncated toward zero; NaN gives 0.
LONG ClampToLong(double v) {
    if (!(v == v)) return 0;
    if (v >= 2147483647.0) return INT_MAX;
    if (v <= -2147483648.0) return INT_MIN;
    return static_cast<LONG>(v);
}

LONG AddClamped(long long a, long long b) {
    const long long s = a + b;
    if (s > INT_MAX) return INT_MAX;
    if (s < INT_MIN) return INT_MIN;
    return static_cast<LONG>(s);
}

// The cell of coordinate v along one axis: trunc((v - origin) / size) clamped to 0 .. last.
int CellOf(LONG v, LONG origin, float size, int last) {
    const float offset = static_cast<float>(static_cast<long long>(v) - origin);
    if (!(size > 0.0f)) return offset > 0.0f ? last : 0;
    const float q = offset / size;
    if (!(q > 0.0f)) return 0;  // also NaN
    if (q >= static_cast<float>(last)) return last;
    return static_cast<int>(q);
}

POINT MakePt(LONG x, LONG y) {
    POINT p;
    p.x = x;
    p.y = y;
    return p;
}

RECT RectOf(const tagANNORECT& b) {
    RECT r;
    r.left = b.left;
    r.top = b.top;
    r.right = b.right;
    r.bottom = b.bottom;
    return r;
}

// A turned box against an upright one: an edge of the ring meets the rectangle, or the rectangle lies
// inside the ring (a label wholly covered by another is a collision too).
int RingXUpright(const tagANNORECT& turned, const tagANNORECT& upright, int margin) {
    POINT ring[4];
    GetAnnoRectCorners(turned, margin, ring);
    const RECT r = RectOf(upright);
    for (int i = 0; i < 4; ++i)
        if (LineXRect(ring[i], ring[(i + 1) % 4], r)) return 1;
    return PtInPolygon(MakePt(upright.left, upright.top), ring, 4) ? 1 : 0;
}

}  // namespace

// ---- tagANNORECT ----

tagANNORECT::tagANNORECT(int nID, const RECT& box, float fAngle)
    : left(box.left), top(box.top), right(box.right), bottom(box.bottom), angle(fAngle), id(nID) {}

tagANNORECT::tagANNORECT(int nID, int x, int y, int width, int height, float fAngle)
    : left(x), top(y), right(AddClamped(x, width)), bottom(AddClamped(y, height)), angle(fAngle), id(nID) {}

// ---- free functions ----

void GetAnnoRectCorners(const tagANNORECT& box, int margin, POINT corners[4]) {
    const long long d = margin;
    corners[0] = MakePt(AddClamped(box.left, -d), AddClamped(box.top, -d));
    corners[1] = MakePt(AddClamped(box.right, d), AddClamped(box.top, -d));
    corners[2] = MakePt(AddClamped(box.right, d), AddClamped(box.bottom, d));
    corners[3] = MakePt(AddClamped(box.left, -d), AddClamped(box.bottom, d));
    if (box.angle == 0.0f) return;
    const double a = static_cast<double>(box.angle) * 3.1415926 / 180.0;
    const double c = std::cos(a), s = std::sin(a);
    const double x0 = corners[0].x, y0 = corners[0].y;
    for (int i = 1; i < 4; ++i) {
        const double dx = corners[i].x - x0, dy = corners[i].y - y0;
        const LONG rx = ClampToLong(dx * c - dy * s + 0.5);
        const LONG ry = ClampToLong(dx * s + dy * c + 0.5);
        corners[i] = MakePt(AddClamped(corners[0].x, rx), AddClamped(corners[0].y, ry));
    }
}

int AnnoRectsIntersect(const tagANNORECT& a, const tagANNORECT& b, int margin) {
    const bool aTurned = a.angle != 0.0f, bTurned = b.angle != 0.0f;
    if (!aTurned && !bTurned) return RectXRect(RectOf(a), RectOf(b)) ? 1 : 0;
    if (aTurned && !bTurned) return RingXUpright(a, b, margin);
    if (!aTurned && bTurned) return RingXUpright(b, a, margin);
    POINT ra[4], rb[4];
    GetAnnoRectCorners(a, margin, ra);
    GetAnnoRectCorners(b, margin, rb);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (LineXLine(ra[i], ra[(i + 1) % 4], rb[j], rb[(j + 1) % 4])) return 1;
    // No edge contact: one ring may still cover the other entirely.
    return (PtInPolygon(ra[0], rb, 4) || PtInPolygon(rb[0], ra, 4)) ? 1 : 0;
}

void SetZeroAnnoIndexID() { g_nAnnoIndexID = 0; }

int GetAnnoIndexID() {
    const int id = g_nAnnoIndexID;
    g_nAnnoIndexID = static_cast<int>(static_cast<unsigned>(id) + 1u);
    return id;
}

// ---- CGeoAnnoGrid ----

CGeoAnnoGrid::CGeoAnnoGrid() : m_pBoxIndex(new CAnnoBoxIndex) { SetZeroAnnoIndexID(); }

CGeoAnnoGrid::~CGeoAnnoGrid() {
    FreeMemory();
    for (POSITION p = m_Records.GetHeadPosition(); p;) delete m_Records.GetNext(p);
    m_Records.RemoveAll();
}

void CGeoAnnoGrid::SetTotalRect(const CRect& rect) { m_rcTotal = rect; }
void CGeoAnnoGrid::SetRows(int rows) { m_nRows = rows; }
void CGeoAnnoGrid::SetColumns(int columns) { m_nColumns = columns; }

int CGeoAnnoGrid::GetGridIndexNum() const {
    const long long n = (static_cast<long long>(m_nRows) + 1) * (static_cast<long long>(m_nColumns) + 1);
    return n > INT_MAX ? INT_MAX : static_cast<int>(n);
}

void CGeoAnnoGrid::BuildIndex() {
    FreeMemory();
    m_nIndexRows = m_nRows < 1 ? 1 : m_nRows;
    m_nIndexColumns = m_nColumns < 1 ? 1 : m_nColumns;
    m_rcIndex = m_rcTotal;
    m_fCellWidth = static_cast<float>(static_cast<long long>(m_rcIndex.right) - m_rcIndex.left) /
                   static_cast<float>(m_nIndexColumns);
    m_fCellHeight = static_cast<float>(static_cast<long long>(m_rcIndex.bottom) - m_rcIndex.top) /
                    static_cast<float>(m_nIndexRows);
    const size_t n = (static_cast<size_t>(m_nIndexRows) + 1) * (static_cast<size_t>(m_nIndexColumns) + 1);
    m_pCells = new CAnnoRectList*[n]();
}

void CGeoAnnoGrid::FreeMemory() {
    if (!m_pCells) return;
    m_pBoxIndex->Clear();
    const size_t n = (static_cast<size_t>(m_nIndexRows) + 1) * (static_cast<size_t>(m_nIndexColumns) + 1);
    for (size_t i = 0; i < n; ++i) delete m_pCells[i];
    delete[] m_pCells;
    m_pCells = nullptr;
}

CAnnoRectList* CGeoAnnoGrid::Cell(int row, int col) const {
    return m_pCells[static_cast<size_t>(row) * static_cast<size_t>(m_nIndexColumns) + static_cast<size_t>(col)];
}

void CGeoAnnoGrid::AddRecord(const tagANNORECT& box) {
    tagANNORECT* p = new tagANNORECT(box);
    m_Records.AddTail(p);
    AddAnnoToIndex(p);
}

void CGeoAnnoGrid::AddRecord(int id, const RECT& box, float angle) { AddRecord(tagANNORECT(id, box, angle)); }

void CGeoAnnoGrid::AddAnnoToIndex(tagANNORECT* pBox) {
    if (!m_pCells || !pBox) return;
    int c0, c1, r0, r1;
    GetAnnoIndex(*pBox, c0, c1, r0, r1);
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c) {
            CAnnoRectList*& cell =
                m_pCells[static_cast<size_t>(r) * static_cast<size_t>(m_nIndexColumns) + static_cast<size_t>(c)];
            if (!cell) cell = new CAnnoRectList(10);
            cell->AddTail(pBox);
        }
    m_pBoxIndex->Add(pBox, CAnnoBoxIndex::CellRange{c0, c1, r0, r1});
}

void CGeoAnnoGrid::GetAnnoIndex(const tagANNORECT& box, int& colMin, int& colMax, int& rowMin, int& rowMax) const {
    POINT pts[4];
    GetAnnoRectCorners(box, 0, pts);
    LONG minX = pts[0].x, maxX = pts[0].x, minY = pts[0].y, maxY = pts[0].y;
    for (int i = 1; i < 4; ++i) {
        if (pts[i].x < minX) minX = pts[i].x;
        if (pts[i].x > maxX) maxX = pts[i].x;
        if (pts[i].y < minY) minY = pts[i].y;
        if (pts[i].y > maxY) maxY = pts[i].y;
    }
    colMin = CellOf(minX, m_rcIndex.left, m_fCellWidth, m_nIndexColumns);
    colMax = CellOf(maxX, m_rcIndex.left, m_fCellWidth, m_nIndexColumns);
    rowMin = CellOf(minY, m_rcIndex.top, m_fCellHeight, m_nIndexRows);
    rowMax = CellOf(maxY, m_rcIndex.top, m_fCellHeight, m_nIndexRows);
}

void CGeoAnnoGrid::GetRecord(const tagANNORECT& box, CAnnoRectList& out) const {
    out.RemoveAll();
    if (!m_pCells) return;
    int c0, c1, r0, r1;
    GetAnnoIndex(box, c0, c1, r0, r1);
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c)
            if (const CAnnoRectList* cell = Cell(r, c))
                for (POSITION p = cell->GetHeadPosition(); p;) out.AddTail(cell->GetNext(p));
}

int CGeoAnnoGrid::Intersects(const tagANNORECT& box, int margin) const {
    if (!m_pCells) return 0;
    CAnnoBoxIndex::CellRange cells;
    GetAnnoIndex(box, cells.c0, cells.c1, cells.r0, cells.r1);
    return m_pBoxIndex->Intersects(box, margin, cells, m_nIndexColumns);
}

POSITION CGeoAnnoGrid::FindRecord(int id) const {
    for (POSITION p = m_Records.GetHeadPosition(); p;) {
        const POSITION at = p;
        if (m_Records.GetNext(p)->id == id) return at;
    }
    return nullptr;
}

void CGeoAnnoGrid::RemoveFromIndex(const tagANNORECT* pBox) {
    if (!m_pCells) return;
    m_pBoxIndex->Remove(pBox);
    int c0, c1, r0, r1;
    GetAnnoIndex(*pBox, c0, c1, r0, r1);
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c)
            if (CAnnoRectList* cell = Cell(r, c))
                for (POSITION p = cell->GetHeadPosition(); p;) {
                    const POSITION at = p;
                    if (cell->GetNext(p) == pBox) cell->RemoveAt(at);
                }
}

void CGeoAnnoGrid::DeleteRecord(int id) {
    const POSITION at = FindRecord(id);
    if (at) DeleteRecord(*m_Records.GetAt(at));
}

void CGeoAnnoGrid::DeleteRecord(const tagANNORECT& box) {
    // The registered box is looked up by id and leaves the cells of its OWN range, so that no cell keeps
    // a pointer to the freed box whatever coordinates the caller passed.
    const POSITION at = FindRecord(box.id);
    if (!at) return;
    tagANNORECT* p = m_Records.GetAt(at);
    RemoveFromIndex(p);
    m_Records.RemoveAt(at);
    delete p;
}

void CGeoAnnoGrid::ReplaceRecord(const tagANNORECT& oldBox, const tagANNORECT& newBox) {
    if (!m_pCells) return;
    int c0, c1, r0, r1;
    GetAnnoIndex(oldBox, c0, c1, r0, r1);
    tagANNORECT* found = nullptr;
    for (int r = r0; r <= r1 && !found; ++r)
        for (int c = c0; c <= c1 && !found; ++c)
            if (const CAnnoRectList* cell = Cell(r, c))
                for (POSITION p = cell->GetHeadPosition(); p && !found;) {
                    tagANNORECT* b = cell->GetNext(p);
                    if (b->id == oldBox.id) found = b;
                }
    if (!found) return;
    // The box leaves every cell it was entered in (its own range, which may differ from oldBox's) before
    // it changes, so no cell keeps it under its former extent.
    RemoveFromIndex(found);
    *found = newBox;
    AddAnnoToIndex(found);
}

void CGeoAnnoGrid::MoveRecord(int id, const POINT& oldPos, float oldAngle, const POINT& newPos, float newAngle,
                              int width, int height) {
    ReplaceRecord(tagANNORECT(id, oldPos.x, oldPos.y, width, height, oldAngle),
                  tagANNORECT(id, newPos.x, newPos.y, width, height, newAngle));
}
