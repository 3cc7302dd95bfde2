#include "vector/GeoSPLine.h"

#include "core/GeoSettings.h"
#include "vector/GeoLineType.h"
#include "vector/GeoPolygonLine.h"

#include <ostrel/Contact.h>
#include <ostrel/ShapePoints.h>
#include <ostrel/Snap.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <vector>

IMPLEMENT_SERIAL(CGeoSPLine, CGeoPLine, 0)

int CGeoSPLine::ResolveK(int k) { return k > 0 ? k : std::max(GetSplineIntpPts(), 1); }

int CGeoSPLine::SlotsFor(int n, int k) {
    if (n <= 0) return 0;
    const LONGLONG slots = (static_cast<LONGLONG>(n) - 1) * (static_cast<LONGLONG>(k) + 1) + 1;
    return static_cast<int>(std::min<LONGLONG>(slots, INT_MAX));
}

// ---- construction ----

CGeoSPLine::CGeoSPLine(int k) : m_nK(ResolveK(k)) {}

CGeoSPLine::CGeoSPLine(int n, int k) : CGeoPLine(SlotsFor(n, ResolveK(k))), m_nK(ResolveK(k)) {}

CGeoSPLine::CGeoSPLine(CPoint p, int k) : CGeoPLine(p), m_nK(ResolveK(k)) {}

CGeoSPLine::CGeoSPLine(int n, CPoint p, int k) : CGeoPLine(SlotsFor(n, ResolveK(k)), p), m_nK(ResolveK(k)) {}

CGeoSPLine::CGeoSPLine(const CGeoSPLine& src, int copyAttributes, int attributeMode) : m_nK(ResolveK(0)) {
    Copy(src, copyAttributes, attributeMode);
}

CGeoSPLine::CGeoSPLine(int n, int k, const POINT* slots)
    : CGeoPLine(SlotsFor(n, ResolveK(k)), slots, TRUE), m_nK(ResolveK(k)) {}

CGeoSPLine::~CGeoSPLine() = default;

// ---- record ----

void CGeoSPLine::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << static_cast<LONG>(m_nK);
        CGeoPLine::Serialize(ar);
        return;
    }
    LONG k = 0;
    ar >> k;
    // A stride of k + 1 must be at least 2. The interpolated slots are not stored, so k alone sizes the
    // block: beyond kMaxStoredIntp per segment a record is damaged, not a finer curve.
    if (k < 1 || k > kMaxStoredIntp) AfxThrowArchiveException(CArchiveException::badIndex);
    const int oldK = m_nK;
    m_nK = k;
    try {
        CGeoPLine::Serialize(ar);
        // Every control point must own exactly k + 1 slots, the last one a single slot.
        if (m_nSlotCount > 0 && (m_nSlotCount - 1) % (m_nK + 1) != 0)
            AfxThrowArchiveException(CArchiveException::badIndex);
    } catch (...) {
        m_nK = oldK;
        m_nSlotCount = 0;
        Trim();
        throw;
    }
}

// ---- slot layout ----

int CGeoSPLine::GetPointSize(int) const { return m_nK + 1; }

void CGeoSPLine::OnLineChanged() { AdjustSpline(m_nSlotCount, m_nK, m_pPoints); }

void CGeoSPLine::OnAddPoint() {
    const int s = m_nK + 1;
    if (m_nSlotCount > s && EqualPoint(m_pPoints[m_nSlotCount - 1], m_pPoints[m_nSlotCount - 1 - s]))
        m_nSlotCount -= s;
}

int CGeoSPLine::CanSamePoint(int, int) const { return 0; }

void CGeoSPLine::RecalcBounds(POINT) { RecalcBounds(); }

int CGeoSPLine::CanDeleteHandle(int nHandle) const {
    const int n = GetPoints();
    return (CanBeEdited() && nHandle > 0 && nHandle <= n && n > 2) ? 1 : 0;
}

int CGeoSPLine::Compress(CCompressPts&) { return 0; }

int CGeoSPLine::SetSplineIntpPoints(int k) {
    if (!CanBeEdited()) return 0;
    k = ResolveK(k);
    if (k == m_nK) return 0;
    const int n = GetPoints();
    if (n <= 1) {
        m_nK = k;
        return 1;
    }
    const LONGLONG oldStride = static_cast<LONGLONG>(m_nK) + 1;
    const LONGLONG newStride = static_cast<LONGLONG>(k) + 1;
    const LONGLONG slots = (static_cast<LONGLONG>(n) - 1) * newStride + 1;
    if (k < m_nK) {
        for (LONGLONG j = 1; j < n; ++j) m_pPoints[j * newStride] = m_pPoints[j * oldStride];
        m_nSlotCount = static_cast<int>(slots);
        m_nK = k;
        OnLineChanged();
        Trim();
    } else {
        const LONGLONG bytes = LineMemSize(1) * slots;
        if (slots > INT_MAX || bytes > INT_MAX) return 0;
        if (m_nCapacity < bytes && !AppendLineMem(static_cast<int>(bytes))) return 0;
        for (LONGLONG j = n - 1; j >= 1; --j) m_pPoints[j * newStride] = m_pPoints[j * oldStride];
        m_nSlotCount = static_cast<int>(slots);
        m_nK = k;
        OnLineChanged();
    }
    RecalcBounds();
    return 1;
}

// ---- snapping ----

int CGeoSPLine::GetSnapPointA(CPoint& point, CRect rect, int& nIndex, SNAPTYPE type, LONG lParam) {
    switch (type) {
        case SNAP_VERTEX: {
            CRect area = rect;
            area.NormalizeRect();
            const LONGLONG cx = (static_cast<LONGLONG>(area.left) + area.right) / 2;
            const LONGLONG cy = (static_cast<LONGLONG>(area.top) + area.bottom) / 2;
            const LONGLONG hw = (static_cast<LONGLONG>(area.right) - area.left) / 2;
            const LONGLONG hh = (static_cast<LONGLONG>(area.bottom) - area.top) / 2;
            const int n = GetPoints();
            for (int i = 0; i < n; ++i) {
                const CPoint p = GetPoint(i);
                if (std::llabs(p.x - cx) < hw && std::llabs(p.y - cy) < hh) {
                    point = p;
                    return 1;
                }
            }
            return 0;
        }
        case SNAP_ENDPOINT:
        case SNAP_NEAREST: return CGeoPLine::GetSnapPointA(point, rect, nIndex, type, lParam);
        default: return 0;
    }
}

// ---- copies and names ----

int CGeoSPLine::CopyData(const CGeoVectorObject& src) {
    // The slots of a line of another stride would be read with this spline's stride.
    if (!src.IsKindOf(RUNTIME_CLASS(CGeoSPLine))) return 0;
    if (!CGeoPLine::CopyData(src)) return 0;
    m_nK = static_cast<const CGeoSPLine&>(src).m_nK;
    return 1;
}

CGeoObject* CGeoSPLine::Duplicate(int withAttribute, int withRecord) {
    CGeoSPLine* copy = new CGeoSPLine;
    if (!copy->Copy(*this, withAttribute, withRecord)) {
        copy->Remove();
        return nullptr;
    }
    return copy;
}

CString CGeoSPLine::GetObjectTypeName() const { return CString("样条曲线"); }

// ---- conversions ----

CGeoLine* CGeoSPLine::ConvertMeTo(WORD code, DWORD flags) const {
    if (!CanConvertTo(code, flags)) return nullptr;
    const BYTE type = GetGLTType(code);
    if (type != GLT_PLINE && type != GLT_POLYGONLINE) return nullptr;
    bool keep;
    if (flags == 0) {
        keep = true;
    } else if (flags == 1) {
        keep = false;
    } else {
        const int answer = AfxMessageBox("保留样条插值点吗?", MB_YESNOCANCEL);
        if (answer == IDYES)
            keep = true;
        else if (answer == IDNO)
            keep = false;
        else
            return nullptr;
    }
    std::vector<POINT> controls;
    const POINT* pts = m_pPoints;
    int n = m_nSlotCount;
    if (!keep) {
        n = GetPoints();
        controls.resize(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i) controls[i] = GetPoint(i);
        pts = controls.data();
    }
    CGeoPLine* result;
    if (type == GLT_PLINE)
        result = new CGeoPLine(n, pts, TRUE);
    else
        result = new CGeoPolygonLine(n, pts, TRUE);  // face flag 0
    result->SetUnit(GetUnit());
    return result;
}
