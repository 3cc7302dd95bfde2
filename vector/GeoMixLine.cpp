#include "vector/GeoMixLine.h"

#include "core/GeoHelpers.h"
#include "vector/GeoLineType.h"
#include "vector/GeoSPLine.h"
#include "vector/ShapePainter.h"

#include <caddox/LineShape.h>
#include <ostrel/Contact.h>
#include <ostrel/Measure.h>
#include <ostrel/ShapePoints.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

IMPLEMENT_SERIAL(CGeoMixedLine, CGeoPLine, 1)

namespace {

const int kMaxStart = 0xFFFFFF;  // a run's first point must fit its 24 bits

double SegmentLength(const POINT& a, const POINT& b) {
    const double dx = static_cast<double>(b.x) - a.x;
    const double dy = static_cast<double>(b.y) - a.y;
    return std::sqrt(dx * dx + dy * dy);
}

bool Collinear(const POINT& a, const POINT& b, const POINT& c) {
    // 64-bit products: 32-bit ones overflow for coordinates far apart.
    return (static_cast<LONGLONG>(b.x) - a.x) * (static_cast<LONGLONG>(c.y) - b.y) ==
           (static_cast<LONGLONG>(b.y) - a.y) * (static_cast<LONGLONG>(c.x) - b.x);
}

void Unite(RECT& into, const RECT& r, bool& any) {
    if (!any) {
        into = r;
        any = true;
        return;
    }
    into.left = std::min(into.left, r.left);
    into.top = std::min(into.top, r.top);
    into.right = std::max(into.right, r.right);
    into.bottom = std::max(into.bottom, r.bottom);
}

}  // namespace

// ---- construction ----

CGeoMixedLine::CGeoMixedLine() = default;

CGeoMixedLine::CGeoMixedLine(int n) : CGeoPLine(n) {}

CGeoMixedLine::CGeoMixedLine(int n, CPoint p) : CGeoPLine(n, p) {
    if (m_nSlotCount > 0) m_runs.push_back(MakeRun(LT_STRAIGHT, 0));
}

CGeoMixedLine::CGeoMixedLine(CPoint p) : CGeoMixedLine(50, p) {}

CGeoMixedLine::CGeoMixedLine(const CGeoMixedLine& src, int copyAttributes, int attributeMode) : CGeoPLine(50) {
    // Copied here, not by the polyline constructor, so that the runs come along.
    Copy(src, copyAttributes, attributeMode);
}

CGeoMixedLine::CGeoMixedLine(int n, const POINT* pts, BOOL roundUp) : CGeoPLine(n, pts, roundUp) {
    if (m_nSlotCount > 0) m_runs.push_back(MakeRun(LT_STRAIGHT, 0));
    RecalcBounds();
}

CGeoMixedLine::~CGeoMixedLine() = default;

int CGeoMixedLine::GetLineTypePointSize(int type) { return type == LT_SPLINE ? kSplinePoints + 1 : 1; }

// ---- record ----

void CGeoMixedLine::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD>(m_runs.size()));
        for (DWORD run : m_runs) ar << run;
        CGeoPLine::Serialize(ar);
        return;
    }
    try {
        const DWORD count = ar.ReadCount();
        ar.EnsureAvailable(static_cast<ULONGLONG>(count) * sizeof(DWORD));
        std::vector<DWORD> runs(count);
        for (DWORD& run : runs) ar >> run;
        for (std::size_t r = 0; r < runs.size(); ++r) {
            const bool ordered = r == 0 ? RunStart(runs[r]) == 0 : RunStart(runs[r]) > RunStart(runs[r - 1]);
            if (RunType(runs[r]) > LT_ARC || !ordered) AfxThrowArchiveException(CArchiveException::badIndex);
        }
        m_runs.swap(runs);
        CGeoPLine::Serialize(ar);
        if (m_nSlotCount == 0) m_runs.clear();
        if (!RunsFitSlots()) AfxThrowArchiveException(CArchiveException::badIndex);
    } catch (...) {
        // Whatever was read, an empty line without runs is left behind.
        m_runs.clear();
        m_nSlotCount = 0;
        m_rcBounds.SetRectEmpty();
        Trim();
        throw;
    }
}

bool CGeoMixedLine::RunsFitSlots() const {
    if (m_runs.empty()) return m_nSlotCount == 0;
    LONGLONG slots = 0;
    for (std::size_t r = 0; r + 1 < m_runs.size(); ++r)
        slots += static_cast<LONGLONG>(RunStart(m_runs[r + 1]) - RunStart(m_runs[r])) *
                 GetLineTypePointSize(RunType(m_runs[r]));
    const LONGLONG rest = m_nSlotCount - slots;
    return rest >= 1 && (rest - 1) % GetLineTypePointSize(RunType(m_runs.back())) == 0;
}

// ---- slot layout ----

int CGeoMixedLine::RunOf(int i) const {
    int found = m_runs.empty() ? -1 : 0;
    for (std::size_t r = 1; r < m_runs.size(); ++r) {
        if (RunStart(m_runs[r]) > i) break;
        found = static_cast<int>(r);
    }
    return found;
}

int CGeoMixedLine::RunSlotStart(int r) const {
    int slot = 0;
    for (int q = 0; q < r; ++q)
        slot += (RunStart(m_runs[q + 1]) - RunStart(m_runs[q])) * GetLineTypePointSize(RunType(m_runs[q]));
    return slot;
}

int CGeoMixedLine::RunSlots(int r) const {
    if (r + 1 < static_cast<int>(m_runs.size()))
        return (RunStart(m_runs[r + 1]) - RunStart(m_runs[r])) * GetLineTypePointSize(RunType(m_runs[r]));
    return m_nSlotCount - RunSlotStart(r);
}

int CGeoMixedLine::RunEnd(int r) const {
    if (r + 1 < static_cast<int>(m_runs.size())) return RunStart(m_runs[r + 1]);
    return GetPoints() - 1;
}

int CGeoMixedLine::GetPoints() const {
    if (m_runs.empty() || m_nSlotCount <= 0) return 0;
    const int last = static_cast<int>(m_runs.size()) - 1;
    const int rest = m_nSlotCount - RunSlotStart(last);
    // Runs that promise more slots than are in use (only while a damaged record is read).
    if (rest < 1) return RunStart(m_runs[last]);
    return RunStart(m_runs[last]) + (rest - 1) / GetLineTypePointSize(RunType(m_runs[last])) + 1;
}

int CGeoMixedLine::GetPointSize(int i) const {
    if (i < 0 || i >= GetPoints()) return 0;
    return GetLineTypePointSize(RunType(m_runs[RunOf(i)]));
}

int CGeoMixedLine::GetPointIndex(int i) const {
    if (i <= 0 || m_runs.empty()) return 0;
    const int r = RunOf(i);
    return RunSlotStart(r) + (i - RunStart(m_runs[r])) * GetLineTypePointSize(RunType(m_runs[r]));
}

CPoint CGeoMixedLine::GetPoint(int index) const {
    if (index < 0 || index >= GetPoints()) return CPoint(0, 0);
    const int slot = GetPointIndex(index);
    return (slot >= 0 && slot < m_nSlotCount) ? CPoint(m_pPoints[slot]) : CPoint(0, 0);
}

int CGeoMixedLine::GetLineType(int i) const {
    if (m_runs.empty()) return 0;
    return RunType(m_runs[RunOf(i)]);
}

std::vector<POINT> CGeoMixedLine::LogicalPoints() const {
    const int n = GetPoints();
    std::vector<POINT> pts(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) pts[i] = GetPoint(i);
    return pts;
}

bool CGeoMixedLine::Rebuild(const std::vector<POINT>& pts, const std::vector<DWORD>& runs) {
    const int n = static_cast<int>(pts.size());
    if (n == 0 || runs.empty()) {
        m_runs.clear();
        m_nSlotCount = 0;
        OnLineChanged();
        RecalcBounds();
        return true;
    }
    if (n - 1 > kMaxStart) return false;
    // Slot of every point: the strides of the points before it.
    std::vector<int> slotOf(static_cast<std::size_t>(n));
    LONGLONG slot = 0;
    std::size_t r = 0;
    for (int i = 0; i < n; ++i) {
        while (r + 1 < runs.size() && RunStart(runs[r + 1]) <= i) ++r;
        if (slot > INT_MAX) return false;
        slotOf[i] = static_cast<int>(slot);
        slot += GetLineTypePointSize(RunType(runs[r]));
    }
    const int total = slotOf[n - 1] + 1;
    if (!EnsureSlots(total)) return false;
    // Interpolated slots start at the point before them; OnLineChanged draws the curve through them.
    for (int i = 0; i < n; ++i) {
        const int end = i + 1 < n ? slotOf[i + 1] : total;
        for (int s = slotOf[i]; s < end; ++s) m_pPoints[s] = pts[i];
    }
    m_runs = runs;
    m_nSlotCount = total;
    OnLineChanged();
    RecalcBounds();
    return true;
}

void CGeoMixedLine::OnAddPoint() {
    if (m_nSlotCount == 1) {
        m_runs.assign(1, MakeRun(LT_STRAIGHT, 0));
        return;
    }
    if (m_runs.empty()) return;
    const int last = static_cast<int>(m_runs.size()) - 1;
    if (RunType(m_runs[last]) == LT_ARC && RunSlots(last) > 2) {
        const int end = RunStart(m_runs[last]) + 2;
        if (end <= kMaxStart) m_runs.push_back(MakeRun(LT_STRAIGHT, end));
    }
}

void CGeoMixedLine::OnLineChanged() {
    for (int r = 0; r < static_cast<int>(m_runs.size()); ++r) {
        if (RunType(m_runs[r]) != LT_SPLINE) continue;
        const bool last = r + 1 == static_cast<int>(m_runs.size());
        const int slots = RunSlots(r) + (last ? 0 : 1);
        const int start = RunSlotStart(r);
        if (start + slots <= m_nSlotCount) AdjustSpline(slots, kSplinePoints, m_pPoints + start);
    }
}

// ---- run types ----

void CGeoMixedLine::SetLineType(int i, int type) {
    const int n = GetPoints();
    if (!CanBeEdited() || i < 0 || i >= n || type < LT_STRAIGHT || type > LT_ARC) return;
    std::vector<DWORD> runs = m_runs;
    if (runs.empty()) runs.push_back(MakeRun(LT_STRAIGHT, 0));

    if (i == n - 1) {
        // While digitising: the type applies to what comes after point i.
        const int tL = RunType(runs.back());
        const int fL = RunStart(runs.back());
        if (tL == type) {
            // A complete arc followed by another arc starts a new one.
            if (type == LT_ARC && i - fL == 2) runs.push_back(MakeRun(LT_ARC, i));
        } else if (tL == LT_ARC && i - fL == 1) {
            // An arc waiting for its third point: its only segment takes the new kind.
            runs.pop_back();
            if (runs.empty() || RunType(runs.back()) != type) runs.push_back(MakeRun(type, fL));
        } else {
            // A last run without a segment yet is replaced; a run of the same kind before it goes on.
            if (fL == i && runs.size() > 1) {
                runs.pop_back();
                const DWORD prev = runs.back();
                const bool completeArc = RunType(prev) == LT_ARC && i - RunStart(prev) == 2;
                if (RunType(prev) != type || completeArc) runs.push_back(MakeRun(type, i));
            } else if (fL == i) {
                runs.back() = MakeRun(type, i);
            } else {
                runs.push_back(MakeRun(type, i));
            }
        }
    } else {
        int r = 0;
        for (std::size_t q = 1; q < runs.size() && RunStart(runs[q]) <= i; ++q) r = static_cast<int>(q);
        if (RunType(runs[r]) == type) return;
        const int count = static_cast<int>(runs.size());
        const int f = RunStart(runs[r]);
        const bool hasPrev = r > 0, hasNext = r + 1 < count;
        const bool prevSame = hasPrev && RunType(runs[r - 1]) == type;
        const bool nextSame = hasNext && RunType(runs[r + 1]) == type;
        if (!hasPrev && !hasNext) {
            // A line of one run is not turned into a spline from an inner point.
            if (type == LT_SPLINE) return;
            runs[r] = MakeRun(type, f);
        } else if (prevSame && nextSame) {
            runs.erase(runs.begin() + r, runs.begin() + r + 2);
        } else if (prevSame) {
            runs.erase(runs.begin() + r);
        } else {
            runs[r] = MakeRun(type, f);
            if (nextSame) runs.erase(runs.begin() + r + 1);
        }
    }
    if (runs != m_runs) Rebuild(LogicalPoints(), runs);
}

// ---- inserting and deleting ----

bool CGeoMixedLine::InsertInto(POINT p, int pos, int r) {
    std::vector<POINT> pts = LogicalPoints();
    std::vector<DWORD> runs = m_runs;
    pts.insert(pts.begin() + pos, p);
    const int f = RunStart(runs[r]);
    if (RunType(runs[r]) != LT_ARC) {
        for (std::size_t q = r + 1; q < runs.size(); ++q) runs[q] = MakeRun(RunType(runs[q]), RunStart(runs[q]) + 1);
    } else if (r + 1 < static_cast<int>(runs.size())) {
        // The arc keeps its first three points; its old last segment opens the following run, which keeps
        // its first index (now the old middle point). An arc cannot take it: a straight run does.
        if (RunType(runs[r + 1]) == LT_ARC) runs.insert(runs.begin() + r + 1, MakeRun(LT_STRAIGHT, f + 2));
        for (std::size_t q = r + 2; q < runs.size(); ++q) runs[q] = MakeRun(RunType(runs[q]), RunStart(runs[q]) + 1);
    } else if (static_cast<int>(pts.size()) - 1 - f >= 2) {
        // The last arc now has its third point: what follows it is straight.
        runs.push_back(MakeRun(LT_STRAIGHT, f + 2));
    }
    for (DWORD run : runs)
        if (RunStart(run) > kMaxStart) return false;
    return Rebuild(pts, runs);
}

void CGeoMixedLine::InsertPointBefore(POINT p, int i) {
    if (!CanBeEdited() || i < 0 || i >= GetPoints()) return;
    InsertInto(p, i, RunOf(i));
}

int CGeoMixedLine::InsertPointAfter(POINT p, int i) {
    if (!CanBeEdited() || i < 0 || i >= GetPoints()) return 0;
    return InsertInto(p, i + 1, RunOf(i)) ? 1 : 0;
}

int CGeoMixedLine::DeletePoint(int i) {
    const int n = GetPoints();
    if (!CanBeEdited() || i < 0 || i >= n) return 0;
    const int r = RunOf(i);
    if (RunType(m_runs[r]) == LT_ARC) return 0;
    if (i == n - 1 && i > 0 && RunType(m_runs[RunOf(i - 1)]) == LT_ARC) return 0;
    std::vector<POINT> pts = LogicalPoints();
    std::vector<DWORD> runs = m_runs;
    pts.erase(pts.begin() + i);
    for (std::size_t q = r + 1; q < runs.size(); ++q) runs[q] = MakeRun(RunType(runs[q]), RunStart(runs[q]) - 1);
    const int f = RunStart(runs[r]);
    if (pts.empty()) {
        runs.clear();
    } else if (i == 0) {
        // A run that held only the first segment is gone: the next one now starts at point 0.
        if (r + 1 < static_cast<int>(runs.size()) && RunStart(runs[r + 1]) == 0) runs.erase(runs.begin() + r);
    } else if (i == n - 1) {
        if (f == i && runs.size() > 1) runs.erase(runs.begin() + r);
    } else if (f == i) {
        const bool hasNext = r + 1 < static_cast<int>(runs.size());
        if (!hasNext && f == static_cast<int>(pts.size()) - 1) {
            // The last run held one segment, now none.
            runs.erase(runs.begin() + r);
        } else if (hasNext && RunStart(runs[r + 1]) == f) {
            runs.erase(runs.begin() + r);
            // Its neighbours merge when they are of one kind that is not an arc.
            if (r > 0 && r < static_cast<int>(runs.size()) && RunType(runs[r - 1]) == RunType(runs[r]) &&
                RunType(runs[r]) != LT_ARC)
                runs.erase(runs.begin() + r);
        }
    }
    return Rebuild(pts, runs) ? 1 : 0;
}

int CGeoMixedLine::CanAddHandle(int nHandle) const {
    if (!CGeoPLine::CanAddHandle(nHandle)) return 0;
    return GetLineType(nHandle - 1) == LT_ARC ? 0 : 1;
}

void CGeoMixedLine::Clear() {
    if (!CanBeEdited()) return;
    CGeoPLine::Clear();
    m_runs.clear();
}

void CGeoMixedLine::Invert() {
    const int n = GetPoints();
    if (!CanBeEdited() || n <= 1) return;
    const int last = static_cast<int>(m_runs.size()) - 1;
    if (RunType(m_runs[last]) == LT_ARC && n - 1 - RunStart(m_runs[last]) < 2) return;
    std::vector<POINT> pts = LogicalPoints();
    std::reverse(pts.begin(), pts.end());
    std::vector<DWORD> runs;
    for (int r = last; r >= 0; --r) {
        const int f = RunStart(m_runs[r]), e = RunEnd(r);
        if (e > f) runs.push_back(MakeRun(RunType(m_runs[r]), n - 1 - e));
    }
    Rebuild(pts, runs);
}

// ---- measures and hit tests ----

void CGeoMixedLine::RecalcBounds() {
    RECT box = {0, 0, 0, 0};
    bool any = false;
    for (int r = 0; r < static_cast<int>(m_runs.size()); ++r) {
        const int start = RunSlotStart(r);
        const bool last = r + 1 == static_cast<int>(m_runs.size());
        const int slots = std::min(RunSlots(r) + (last ? 0 : 1), m_nSlotCount - start);
        if (slots <= 0) continue;
        const POINT* s = m_pPoints + start;
        if (RunType(m_runs[r]) == LT_ARC && slots == 3)
            Unite(box, GetArcRect(s[0], s[1], s[2], 0), any);
        else
            Unite(box, ::RecalcBounds(s, slots), any);
    }
    m_rcBounds = box;
}

void CGeoMixedLine::RecalcBounds(POINT) { RecalcBounds(); }

double CGeoMixedLine::Length() const {
    if (m_runs.empty() || m_nSlotCount < 2) return 0.0;
    double sum = 0.0;
    for (int r = 0; r < static_cast<int>(m_runs.size()); ++r) {
        const int start = RunSlotStart(r);
        const bool last = r + 1 == static_cast<int>(m_runs.size());
        const int slots = std::min(RunSlots(r) + (last ? 0 : 1), m_nSlotCount - start);
        const POINT* s = m_pPoints + start;
        if (RunType(m_runs[r]) == LT_ARC && slots == 3 && !Collinear(s[0], s[1], s[2])) {
            sum += TriPointArcLength(s[0], s[1], s[2]);
            continue;
        }
        for (int k = 1; k < slots; ++k) sum += SegmentLength(s[k - 1], s[k]);
    }
    return sum;
}

int CGeoMixedLine::Through(const CRect& rect) const {
    for (int r = 0; r < static_cast<int>(m_runs.size()); ++r) {
        const int start = RunSlotStart(r);
        const bool last = r + 1 == static_cast<int>(m_runs.size());
        const int slots = std::min(RunSlots(r) + (last ? 0 : 1), m_nSlotCount - start);
        const POINT* s = m_pPoints + start;
        if (RunType(m_runs[r]) == LT_ARC && slots == 3) {
            if (ArcXRect(s[0], s[1], s[2], rect, 0)) return 1;
            continue;
        }
        for (int k = 1; k < slots; ++k)
            if (LineXRect(s[k - 1], s[k], rect)) return 1;
    }
    return 0;
}

// ---- painting ----

void CGeoMixedLine::OnDrawWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                            const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8, void*, int) {
    // No symbol draws a mixed line: it is painted plainly, so that it stays visible on symbolised maps.
    OnDrawWithoutSymbolization(pDC, scale, scale2, origin, offset, view, pClip, xorMode, nWord8, 1);
}

void CGeoMixedLine::OnDrawWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                               const GEOVIEW& view, RECT*, int xorMode, int, int scaleWidths) {
    if (!pDC || !pDC->m_hDC) return;
    CShapePainter painter(pDC);
    painter.SelectPen(GetLineShape(view.m_nLineShape), GetDevicePenWidth(view, scale, scale2, scaleWidths),
                      view.m_crLineColor);
    painter.SelectStockObject(NULL_BRUSH);
    painter.SetXorMode(xorMode);
    for (int r = 0; r < static_cast<int>(m_runs.size()); ++r) {
        const int start = RunSlotStart(r);
        const bool last = r + 1 == static_cast<int>(m_runs.size());
        const int slots = std::min(RunSlots(r) + (last ? 0 : 1), m_nSlotCount - start);
        const POINT* s = m_pPoints + start;
        if (RunType(m_runs[r]) == LT_ARC && slots == 3 && !Collinear(s[0], s[1], s[2])) {
            RECT box;
            POINT from, to;
            GetArcPara(s[0], s[1], s[2], box, from, to, 0);
            CRect device = RPtoLP(scale, origin, offset, box);
            device.NormalizeRect();
            pDC->Arc(&device, RPtoLP(scale, origin, offset, from), RPtoLP(scale, origin, offset, to));
            continue;
        }
        if (slots < 2) continue;
        pDC->MoveTo(RPtoLP(scale, origin, offset, s[0]));
        for (int k = 1; k < slots; ++k) pDC->LineTo(RPtoLP(scale, origin, offset, s[k]));
    }
    painter.Restore();
}

// ---- refused ----

int CGeoMixedLine::PointOnLine(POINT, int) const { return -1; }

int CGeoMixedLine::PointOnLine(POINT) const { return -1; }

int CGeoMixedLine::InsertPoint(POINT, UINT) { return 0; }

int CGeoMixedLine::Compress(CCompressPts&) { return 0; }

int CGeoMixedLine::CanAddLine(CGeoPLine) const { return 0; }

void CGeoMixedLine::TrimHead(int) {}

void CGeoMixedLine::TrimTail(int) {}

// ---- copies, names, conversions ----

int CGeoMixedLine::CopyData(const CGeoVectorObject& src) {
    // The slots of another class would be read with runs they do not have.
    if (!src.IsKindOf(RUNTIME_CLASS(CGeoMixedLine))) return 0;
    if (!CGeoPLine::CopyData(src)) return 0;
    m_runs = static_cast<const CGeoMixedLine&>(src).m_runs;
    return 1;
}

CGeoObject* CGeoMixedLine::Duplicate(int withAttribute, int withRecord) {
    CGeoMixedLine* copy = new CGeoMixedLine;
    if (!copy->Copy(*this, withAttribute, withRecord)) {
        copy->Remove();
        return nullptr;
    }
    return copy;
}

CString CGeoMixedLine::GetObjectTypeName() const { return CString("混合曲线"); }

CGeoLine* CGeoMixedLine::ConvertMeTo(WORD code, DWORD flags) const {
    if (!CanConvertTo(code, flags)) return nullptr;
    const BYTE type = GetGLTType(code);
    if (type == GLT_SPLINE) {
        const int n = GetPoints();
        CGeoSPLine* spline = new CGeoSPLine(n, kSplinePoints);
        for (int i = 0; i < n; ++i) spline->AddPoint(GetPoint(i));
        spline->SetUnit(GetUnit());
        spline->Complete(1);
        return spline;
    }
    if (type != GLT_PLINE) return nullptr;
    std::vector<POINT> out;
    for (int r = 0; r < static_cast<int>(m_runs.size()); ++r) {
        const int start = RunSlotStart(r);
        const bool last = r + 1 == static_cast<int>(m_runs.size());
        const int slots = std::min(RunSlots(r) + (last ? 0 : 1), m_nSlotCount - start);
        if (slots <= 0) continue;
        const POINT* s = m_pPoints + start;
        // The boundary point is already there as the end of the run before.
        const std::size_t skip = out.empty() ? 0 : 1;
        if (RunType(m_runs[r]) == LT_ARC && slots == 3) {
            POINT* arc = nullptr;
            int count = 0;
            ConvertTriPntArcToPLine(s[0], s[1], s[2], arc, count, 50, 360);
            for (int k = static_cast<int>(skip); k < count; ++k) out.push_back(arc[k]);
            delete[] arc;
        } else {
            for (int k = static_cast<int>(skip); k < slots; ++k) out.push_back(s[k]);
        }
    }
    CGeoPLine* line = new CGeoPLine(static_cast<int>(out.size()), out.empty() ? nullptr : out.data(), TRUE);
    line->SetUnit(GetUnit());
    line->Complete(1);
    return line;
}
