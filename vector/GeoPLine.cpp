#include "vector/GeoPLine.h"

#include "vector/GeoTinPoint.h"

#include "ostrel/Contact.h"
#include "ostrel/Measure.h"
#include "ostrel/PointBuffer.h"
#include "ostrel/Units.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

IMPLEMENT_SERIAL(CGeoPLine, CGeoOpenLine, 1)

namespace {

LineMemAllocator g_allocator = nullptr;

void* Reallocate(void* block, LONGLONG bytes) {
    // A block always exists, so ask for at least one byte (realloc of 0 bytes would free it).
    std::size_t n = static_cast<std::size_t>(std::max<LONGLONG>(bytes, 1));
    return g_allocator ? g_allocator(block, n) : std::realloc(block, n);
}

// Coordinates wrap like the 32-bit arithmetic of the record's integers instead of overflowing.
LONG AddWrap(LONG a, LONG b) {
    return static_cast<LONG>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

POINT Offset(POINT p, LONG dx, LONG dy) { return POINT{AddWrap(p.x, dx), AddWrap(p.y, dy)}; }

const double kPi = 3.14159265358979323846;

}  // namespace

LONGLONG LineMemSize(int n) { return 8LL * n; }

int NearestSize(int n) {
    LONGLONG bytes = 8LL * (n / 50 * 50LL + 50);
    if (bytes < 0 || bytes > INT_MAX) return 0;
    return static_cast<int>(bytes);
}

LineMemAllocator SetLineMemAllocator(LineMemAllocator allocator) {
    LineMemAllocator previous = g_allocator;
    g_allocator = allocator;
    return previous;
}

// ---- construction ----

CGeoPLine::CGeoPLine() : CGeoPLine(50) {}

CGeoPLine::CGeoPLine(int n) {
    LONGLONG bytes = LineMemSize(std::max(n, 0));
    if (bytes > INT_MAX) bytes = 0;
    m_pPoints = static_cast<POINT*>(Reallocate(nullptr, bytes));
    m_nCapacity = m_pPoints ? static_cast<int>(bytes) : 0;
}

// A one-point line needs a slot for its point, whatever n says.
CGeoPLine::CGeoPLine(int n, CPoint p) : CGeoPLine(std::max(n, 1)) {
    if (m_nCapacity < LineMemSize(1)) return;
    m_pPoints[0] = p;
    m_nSlotCount = 1;
    m_rcBounds = CRect(p, p);
}

CGeoPLine::CGeoPLine(CPoint p) : CGeoPLine(50, p) {}

CGeoPLine::CGeoPLine(const CGeoPLine& src, int copyAttributes, int attributeMode) : CGeoPLine(50) {
    Copy(src, copyAttributes, attributeMode);
}

CGeoPLine::CGeoPLine(const CGeoPLine& src) : CGeoPLine(src, 0, 1) {}

CGeoPLine::CGeoPLine(int n, const POINT* pts, BOOL roundUp) {
    if (n < 0 || pts == nullptr) n = 0;
    LONGLONG bytes = roundUp ? NearestSize(n) : LineMemSize(n);
    if (bytes < LineMemSize(n)) bytes = 0;  // beyond the int range: nothing fits
    m_pPoints = static_cast<POINT*>(Reallocate(nullptr, bytes));
    m_nCapacity = m_pPoints ? static_cast<int>(bytes) : 0;
    if (m_nCapacity >= LineMemSize(n) && n > 0) {
        std::memcpy(m_pPoints, pts, static_cast<std::size_t>(n) * sizeof(POINT));
        m_nSlotCount = n;
    }
    Complete(1);
    RecalcBounds();
}

CGeoPLine::~CGeoPLine() {
    if (!PointsInline()) std::free(m_pPoints);
}

// ---- storage ----

int CGeoPLine::AppendLineMem(int bytes) {
    LONGLONG c = m_nCapacity;
    LONGLONG target;
    if (bytes < 0) {
        target = c + LineMemSize(50);
    } else if (bytes == 0) {
        if (c <= LineMemSize(50)) return 0;
        target = LineMemSize(50);
    } else if (bytes == c) {
        return 0;
    } else {
        target = bytes;
    }
    // Never below the slots in use: they would be cut off while still counted.
    if (target > INT_MAX || target < LineMemSize(m_nSlotCount)) return 0;
    void* block;
    if (PointsInline()) {
        // Out of the object into a block of its own.
        block = Reallocate(nullptr, target);
        if (block) std::memcpy(block, m_inlinePoints, static_cast<std::size_t>(std::min(c, target)));
    } else {
        block = Reallocate(m_pPoints, target);
    }
    if (block == nullptr) return 0;
    m_pPoints = static_cast<POINT*>(block);
    m_nCapacity = static_cast<int>(target);
    return 1;
}

int CGeoPLine::EnsureSlots(int slots) {
    if (LineMemSize(slots) <= m_nCapacity) return 1;
    int bytes = NearestSize(slots);
    if (bytes <= 0) return 0;
    return AppendLineMem(bytes);
}

void CGeoPLine::Trim() {
    LONGLONG bytes = LineMemSize(m_nSlotCount);
    if (bytes <= INT_MAX) AppendLineMem(static_cast<int>(bytes));
}

// ---- record ----

void CGeoPLine::Serialize(CArchive& ar) {
    CGeoOpenLine::Serialize(ar);
    if (ar.IsStoring()) {
        const int n = GetPoints();
        POINT* buf = GetFXPointBuffer(n);
        if (buf != nullptr) {
            for (int i = 0; i < n; ++i) buf[i] = m_pPoints[GetPointIndex(i)];
            ar.Write(buf, static_cast<UINT>(n) * sizeof(POINT));
            FreeFXPointBuffer();
        } else {
            for (int i = 0; i < n; ++i) ar << m_pPoints[GetPointIndex(i)];
        }
        return;
    }

    // The slot count just read is checked before anything is allocated from it; whatever goes wrong,
    // an empty line is left behind.
    try {
        LoadPoints(ar);
    } catch (...) {
        m_nSlotCount = 0;
        throw;
    }
}

void CGeoPLine::LoadPoints(CArchive& ar) {
    if (m_nSlotCount < 0) AfxThrowArchiveException(CArchiveException::badIndex);
    const int n = GetPoints();
    const int kStep = 8192;
    // Up to kStep points are read into a block of their own size, so only a longer count is first
    // checked against what the file still holds.
    if (n > kStep) ar.EnsureAvailable(static_cast<ULONGLONG>(n) * sizeof(POINT));
    // The usual line, one slot per point: the points go straight into the block, whose size the count
    // bounds (at most kStep points before the file has shown it holds them).
    bool identity = n > 0 && n == m_nSlotCount && n <= kStep;
    for (int i = 0; identity && i < n; ++i) identity = GetPointSize(i) == 1;
    if (identity) {
        const UINT want = static_cast<UINT>(n) * sizeof(POINT);
        if (g_allocator == nullptr && m_nCapacity != static_cast<int>(want)) {
            // A line made to be loaded has the default block of 50 slots: the points go into a block of
            // their own size, or into the object itself when there are one or two, and the default block
            // is let go, which the next line then takes up again (shrinking it in place instead would
            // leave each time a remnant that the next line cannot use).
            POINT* target;
            std::unique_ptr<POINT, decltype(&std::free)> block(nullptr, &std::free);
            if (want <= sizeof m_inlinePoints) {
                target = m_inlinePoints;
            } else {
                block.reset(static_cast<POINT*>(std::malloc(want)));
                if (!block) AfxThrowMemoryException();
                target = block.get();
            }
            if (ar.Read(target, want) != want) AfxThrowArchiveException(CArchiveException::endOfFile);
            if (!PointsInline()) std::free(m_pPoints);
            m_pPoints = block ? block.release() : m_inlinePoints;
            m_nCapacity = static_cast<int>(want);
            OnLineChanged();
            Trim();
            return;
        }
        if (m_nCapacity < LineMemSize(n) && !AppendLineMem(static_cast<int>(LineMemSize(n)))) AfxThrowMemoryException();
        if (ar.Read(m_pPoints, want) != want) AfxThrowArchiveException(CArchiveException::endOfFile);
        OnLineChanged();
        Trim();
        return;
    }
    // Read in bounded steps, so a stream of unknown length cannot make us allocate more than it holds.
    std::vector<POINT> pts;
    while (static_cast<int>(pts.size()) < n) {
        int step = std::min(kStep, n - static_cast<int>(pts.size()));
        std::size_t old = pts.size();
        pts.resize(old + step);
        UINT want = static_cast<UINT>(step) * sizeof(POINT);
        if (ar.Read(&pts[old], want) != want) AfxThrowArchiveException(CArchiveException::endOfFile);
    }
    // Every point starts where the strides of the points before it put it, inside the slots in use.
    std::vector<int> slotOf(n);
    LONGLONG pos = 0;
    for (int i = 0; i < n; ++i) {
        if (pos >= m_nSlotCount) AfxThrowArchiveException(CArchiveException::badIndex);
        slotOf[i] = static_cast<int>(pos);
        if (i + 1 == n) break;
        int s = GetPointSize(i);
        if (s < 1) AfxThrowArchiveException(CArchiveException::badIndex);
        pos += s;
    }
    // The slots end with the last stored point's stride: a larger count would size the block from a
    // number no stored point accounts for.
    if (n == 0 ? m_nSlotCount != 0 : m_nSlotCount - slotOf[n - 1] > GetPointSize(n - 1))
        AfxThrowArchiveException(CArchiveException::badIndex);
    LONGLONG need = LineMemSize(m_nSlotCount);
    if (m_nCapacity < need && (need > INT_MAX || !AppendLineMem(static_cast<int>(need)))) AfxThrowMemoryException();
    // Slots that no stored point reaches (derived ones, rebuilt below) start as (0, 0).
    if (m_nSlotCount > 0) std::memset(m_pPoints, 0, static_cast<std::size_t>(m_nSlotCount) * sizeof(POINT));
    for (int i = 0; i < n; ++i) m_pPoints[slotOf[i]] = pts[i];
    OnLineChanged();
    Trim();
}

// ---- logical points ----

int CGeoPLine::GetPointSize(int) const { return 1; }

int CGeoPLine::GetPointIndex(int i) const { return i * GetPointSize(0); }

void CGeoPLine::OnAddPoint() {}

void CGeoPLine::OnLineChanged() {}

int CGeoPLine::CanSamePoint(int, int) const { return 1; }

int CGeoPLine::CanAddLine(CGeoPLine) const { return 1; }

int CGeoPLine::GetPoints() const {
    if (m_nSlotCount <= 0) return 0;
    int s = std::max(GetPointSize(0), 1);
    return (m_nSlotCount - 1) / s + 1;
}

CPoint CGeoPLine::GetPoint(int index) const {
    int slot = SlotOf(index);
    return slot < 0 ? CPoint(0, 0) : CPoint(m_pPoints[slot]);
}

int CGeoPLine::GetStartAndEndPoint(CPoint& start, CPoint& end) const {
    if (m_nSlotCount <= 0) return 0;
    start = m_pPoints[0];
    end = m_pPoints[m_nSlotCount - 1];
    return 1;
}

int CGeoPLine::GetX(int i) const { return GetPoint(i).x; }

int CGeoPLine::GetY(int i) const { return GetPoint(i).y; }

LONG CGeoPLine::CreateTinPoints(CGeoTinPoint*& cursor, CPoint& reference) {
    const int n = GetPoints();
    for (int i = 0; i < n; ++i) {
        CPoint p = GetPoint(i);
        double dx = static_cast<double>(p.x) - reference.x;
        double dy = static_cast<double>(p.y) - reference.y;
        cursor->SetNumber(i);
        cursor->SetMainBody(this);
        cursor->SetDistance(dx * dx + dy * dy);
        ++cursor;
    }
    return n;
}

int CGeoPLine::FindPoint(POINT point) const {
    const int n = GetPoints();
    int slot = 0;
    for (int i = 0; i < n && slot < m_nSlotCount; ++i) {
        if (EqualPoint(m_pPoints[slot], point)) return i;
        slot += std::max(GetPointSize(i), 1);
    }
    return -1;
}

int CGeoPLine::FindPoint(POINT point, int& index) const {
    int i = FindPoint(point);
    if (i < 0) return 0;
    index = i;
    return 1;
}

int CGeoPLine::DeletePoint(POINT point) {
    int i = FindPoint(point);
    if (i < 0) return 0;
    return DeletePoint(i);
}

// ---- bounds ----

void CGeoPLine::RecalcBounds(POINT p) {
    if (m_nSlotCount == 1)
        m_rcBounds = CRect(p, p);
    else
        ::RecalcBounds(m_rcBounds, p);
}

void CGeoPLine::RecalcBounds() { m_rcBounds = ::RecalcBounds(m_pPoints, m_nSlotCount); }

// ---- editing ----

int CGeoPLine::AddPoint(POINT point) {
    if (!CanBeEdited()) return 0;
    const int n = GetPoints();
    int s = GetPointSize(n > 0 ? n - 1 : 0);
    int step = n > 0 ? std::max(s, 1) : 1;  // the first point owns a single slot
    LONGLONG need = static_cast<LONGLONG>(m_nSlotCount) + std::max(s, step);
    if (need > INT_MAX || !EnsureSlots(static_cast<int>(need))) return 0;
    m_nSlotCount += step;
    m_pPoints[m_nSlotCount - 1] = point;
    OnAddPoint();
    OnLineChanged();
    RecalcBounds(point);
    return 1;
}

void CGeoPLine::Clear() {
    if (!CanBeEdited()) return;
    m_nSlotCount = 0;
    m_rcBounds.SetRectEmpty();
    Trim();
}

void CGeoPLine::InsertPointBefore(POINT p, int i) {
    if (!CanBeEdited() || i < 0 || i >= GetPoints()) return;
    const int s = std::max(GetPointSize(0), 1);
    LONGLONG need = static_cast<LONGLONG>(m_nSlotCount) + s;
    if (need > INT_MAX || !EnsureSlots(static_cast<int>(need))) return;
    const int at = i * s;
    std::memmove(m_pPoints + at + s, m_pPoints + at, static_cast<std::size_t>(m_nSlotCount - at) * sizeof(POINT));
    m_pPoints[at] = p;
    m_nSlotCount += s;
    OnLineChanged();
    RecalcBounds(p);
}

int CGeoPLine::InsertPointAfter(POINT p, int i) {
    if (!CanBeEdited() || i < 0 || i >= GetPoints()) return 0;
    const int s = std::max(GetPointSize(0), 1);
    LONGLONG need = static_cast<LONGLONG>(m_nSlotCount) + s;
    if (need > INT_MAX || !EnsureSlots(static_cast<int>(need))) return 0;
    const int at = (i + 1) * s;
    if (at < m_nSlotCount)
        std::memmove(m_pPoints + at + s, m_pPoints + at, static_cast<std::size_t>(m_nSlotCount - at) * sizeof(POINT));
    m_pPoints[at] = p;
    m_nSlotCount += s;
    OnLineChanged();
    RecalcBounds(p);
    return 1;
}

int CGeoPLine::DeletePoint(int i) {
    if (!CanBeEdited() || i < 0 || i >= GetPoints()) return 0;
    const int s = std::max(GetPointSize(0), 1);
    if (i > 0) {
        // The point and the derived slots before it go.
        const int from = i * s + 1;
        const int to = (i - 1) * s + 1;
        if (from < m_nSlotCount)
            std::memmove(m_pPoints + to, m_pPoints + from, static_cast<std::size_t>(m_nSlotCount - from) * sizeof(POINT));
    } else if (s < m_nSlotCount) {
        // The first point and the derived slots after it go.
        std::memmove(m_pPoints, m_pPoints + s, static_cast<std::size_t>(m_nSlotCount - s) * sizeof(POINT));
    }
    m_nSlotCount = std::max(m_nSlotCount - s, 0);
    OnLineChanged();
    RecalcBounds();
    return 1;
}

void CGeoPLine::MovePoint(int index, POINT offset) {
    if (!CanBeEdited() || (offset.x == 0 && offset.y == 0)) return;
    int slot = SlotOf(index);
    if (slot < 0) return;
    PlacePoint(index, slot, Offset(m_pPoints[slot], offset.x, offset.y));
}

void CGeoPLine::MovePointTo(int index, POINT position) {
    if (!CanBeEdited()) return;
    int slot = SlotOf(index);
    if (slot < 0) return;
    PlacePoint(index, slot, position);
}

int CGeoPLine::SlotOf(int index) const {
    if (index < 0 || index >= GetPoints()) return -1;
    int slot = GetPointIndex(index);
    return (slot >= 0 && slot < m_nSlotCount) ? slot : -1;
}

void CGeoPLine::PlacePoint(int index, int slot, POINT position) {
    POINT& p = m_pPoints[slot];
    p = position;
    // Classes whose points may not coincide with a neighbour move them off it.
    if (index > 0 && !CanSamePoint(index, 1) && EqualPoint(p, GetPoint(index - 1))) p = Offset(p, 5, 5);
    if (index < GetPoints() - 1 && !CanSamePoint(index, 0) && EqualPoint(p, GetPoint(index + 1)))
        p = Offset(p, 5, 5);
    OnLineChanged();
    RecalcBounds();
}

void CGeoPLine::Invert() {
    if (!CanBeEdited() || m_nSlotCount <= 1) return;
    const int s = std::max(GetPointSize(0), 1);
    const int n = GetPoints();
    for (int j = 0; j < n / 2; ++j) std::swap(m_pPoints[j * s], m_pPoints[m_nSlotCount - 1 - j * s]);
    OnLineChanged();
    RecalcBounds();
}

void CGeoPLine::TrimHead(int n) {
    if (n <= 0 || n > GetPoints() || !CanBeEdited()) return;
    const int s = std::max(GetPointSize(0), 1);
    m_nSlotCount = (n - 1) * s + 1;
    Trim();
    OnLineChanged();
    RecalcBounds();
}

void CGeoPLine::TrimTail(int n) {
    if (n <= 0 || n > GetPoints() || !CanBeEdited()) return;
    const int s = std::max(GetPointSize(0), 1);
    const int keep = (n - 1) * s + 1;
    std::memmove(m_pPoints, m_pPoints + (m_nSlotCount - keep), static_cast<std::size_t>(keep) * sizeof(POINT));
    m_nSlotCount = keep;
    Trim();
    OnLineChanged();
    RecalcBounds();
}

// ---- copies ----

CGeoObject* CGeoPLine::Duplicate(int withAttribute, int withRecord) {
    CGeoPLine* copy = new CGeoPLine;
    if (!copy->Copy(*this, withAttribute, withRecord)) {
        copy->Remove();
        return nullptr;
    }
    return copy;
}

int CGeoPLine::CopyData(const CGeoVectorObject& src) {
    if (!src.IsKindOf(RUNTIME_CLASS(CGeoPLine))) return 0;
    const CGeoPLine& line = static_cast<const CGeoPLine&>(src);
    if (&line == this) return 1;
    // Room first: a copy that cannot hold the source's slots changes nothing.
    LONGLONG need = LineMemSize(line.m_nSlotCount);
    if (m_nCapacity < need && (need > INT_MAX || !AppendLineMem(static_cast<int>(need)))) return 0;
    if (!CGeoOpenLine::CopyData(src)) return 0;
    if (line.m_nSlotCount > 0)
        std::memcpy(m_pPoints, line.m_pPoints, static_cast<std::size_t>(line.m_nSlotCount) * sizeof(POINT));
    return 1;
}

// ---- transformations ----

void CGeoPLine::Move(CSize d) {
    if (!CanMove() || (d.cx == 0 && d.cy == 0)) return;
    for (int i = 0; i < m_nSlotCount; ++i) m_pPoints[i] = Offset(m_pPoints[i], d.cx, d.cy);
    m_rcBounds.OffsetRect(d);
}

void CGeoPLine::DoRotateCCW(double degrees, CPoint centre) {
    const double radians = degrees * kPi / 180.0;
    for (int i = 0; i < m_nSlotCount; ++i) m_pPoints[i] = RotatePoint(m_pPoints[i], centre, radians);
    RecalcBounds();
}

void CGeoPLine::OnUnitChanged(int nOldUnit) {
    CGeoOpenLine::OnUnitChanged(nOldUnit);
    ::ChangeUnit(nOldUnit, GetUnit(), m_pPoints, m_pPoints, m_nSlotCount, 1.0);
}

CString CGeoPLine::GetObjectTypeName() const { return CString("折线"); }

// ---- handles ----

int CGeoPLine::CanDeleteHandle(int nHandle) const {
    const int n = GetPoints();
    return (CanBeEdited() && nHandle > 0 && nHandle <= n && n > 1) ? 1 : 0;
}

int CGeoPLine::CanAddHandle(int nHandle) const { return CGeoPLine::CanDeleteHandle(nHandle); }

void CGeoPLine::DeleteHandle(int nHandle) {
    if (CanDeleteHandle(nHandle)) DeletePoint(nHandle - 1);
}

void CGeoPLine::AddHandle(int nHandle) {
    if (!CanAddHandle(nHandle)) return;
    const CPoint p = GetPoint(nHandle - 1);
    LONGLONG dx, dy;
    if (nHandle < GetHandleCount()) {
        const CPoint q = GetPoint(nHandle);
        dx = (static_cast<LONGLONG>(q.x) - p.x) / 10;
        dy = (static_cast<LONGLONG>(q.y) - p.y) / 10;
    } else {
        // Beyond the last point, away from the one before it.
        const CPoint q = GetPoint(nHandle - 2);
        dx = (static_cast<LONGLONG>(p.x) - q.x) / 10;
        dy = (static_cast<LONGLONG>(p.y) - q.y) / 10;
    }
    InsertPointAfter(Offset(p, static_cast<LONG>(dx), static_cast<LONG>(dy)), nHandle - 1);
}
