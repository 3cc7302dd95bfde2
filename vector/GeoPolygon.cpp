#include "vector/GeoPolygon.h"

#include "core/GeoVectorLayer.h"
#include "vector/GeoLabelPoint.h"
#include "vector/GeoPLine.h"

#include <ostrel/Contact.h>
#include <ostrel/GeoArray.h>
#include <ostrel/HeapSort.h>
#include <ostrel/Measure.h>
#include <ostrel/Misc.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

IMPLEMENT_SERIAL(CGeoPolygon, CGeoVectorObject, 0)

int CGeoPolygon::s_nPolygonCount = -1;

namespace {

int g_bUseData = 1;

// |v| without overflow for the most negative value.
UINT AbsKey(LONG v) { return v < 0 ? 0u - static_cast<UINT>(v) : static_cast<UINT>(v); }

LONG KeyOf(const QhPLine& entry) {
    if (!entry.arc) return POLYGON_RING_END;
    const LONG id = static_cast<LONG>(entry.arc->GetID());
    return entry.forward ? id : -id;
}

// Whether two normalised rectangles overlap or touch.
bool Meet(const CRect& a, const CRect& b) {
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

}  // namespace

void SetUseData(int bUseData) { g_bUseData = bUseData; }

int GetUseData() { return g_bUseData; }

// ---------------------------------------------------------------------------------------------------
// Construction

CGeoPolygon::CGeoPolygon() {
    ++s_nPolygonCount;
    m_strName = "";
}

CGeoPolygon::CGeoPolygon(CGeoPolyBorder& border) : CGeoPolygon() { SetKeyString(border); }

CGeoPolygon::CGeoPolygon(CGeoArcList& lines) {
    ConstructPolygonFromLineList(lines);
    // Resolved at once, so it has the bounds it is drawn and found by.
    RecalcBounds();
}

CGeoPolygon::~CGeoPolygon() {
    m_KeyString.RemoveAll();
    m_Border.RemoveAll();
    m_PointList.RemoveAll();
    // The cache is this polygon's whatever the flag says now: it was only ever kept while the flag was
    // on, and a load that ended on an incomplete polygon must not leak every other polygon's rings.
    FreeCache();
}

void CGeoPolygon::FreeCache() const {
    delete[] m_pRingPoints;
    delete[] m_pRingSizes;
    m_pRingPoints = nullptr;
    m_pRingSizes = nullptr;
    m_nRingCount = 0;
}

void CGeoPolygon::Serialize(CArchive& ar) {
    CGeoVectorObject::Serialize(ar);
    if (ar.IsStoring()) {
        m_KeyString.Serialize(ar);
        ar << m_dwLabelPointID;
    } else {
        m_KeyString.RemoveAll();
        m_Border.RemoveAll();
        m_SortedKeys.RemoveAll();
        m_bSortedValid = 0;
        m_PointList.RemoveAll();
        FreeCache();
        m_pLabelPoint = nullptr;
        m_KeyString.Serialize(ar);
        ar >> m_dwLabelPointID;
    }
}

// ---------------------------------------------------------------------------------------------------
// Key string and border

CGeoVectorLayer* CGeoPolygon::GetVectorLayer() const {
    CGeoLayer* pLayer = GetLayer();
    if (!pLayer || !pLayer->IsKindOf(RUNTIME_CLASS(CGeoVectorLayer))) return nullptr;
    return static_cast<CGeoVectorLayer*>(pLayer);
}

CGeoPLine* CGeoPolygon::FindArc(LONG v) const {
    CGeoVectorLayer* pLayer = GetVectorLayer();
    if (!pLayer) return nullptr;
    CGeoAccessorialObject* pObject = pLayer->FindObj(AbsKey(v));
    // An ID naming anything but a polyline (a damaged file) is a missing arc, never a line.
    if (!pObject || !pObject->IsKindOf(RUNTIME_CLASS(CGeoPLine))) return nullptr;
    return static_cast<CGeoPLine*>(pObject);
}

void CGeoPolygon::RebuildSortedKeys() {
    m_SortedKeys.SetSize(m_KeyString.GetSize());
    for (int i = 0; i < m_KeyString.GetSize(); ++i) m_SortedKeys[i] = static_cast<LONG>(AbsKey(m_KeyString[i]));
    CHeapSort::HeapSort(m_SortedKeys.GetData(), m_SortedKeys.GetSize());
}

void CGeoPolygon::GetKeyString(CGeoKeyString& out, int bSorted) {
    if (bSorted && !m_bSortedValid) {
        RebuildSortedKeys();
        m_bSortedValid = 1;
    }
    out.Copy(bSorted ? m_SortedKeys : m_KeyString);
}

void CGeoPolygon::GetPolyBorder(CGeoPolyBorder& out) const { out.Copy(m_Border); }

void CGeoPolygon::SetKeyString(CGeoKeyString& keys) {
    m_KeyString.Copy(keys);
    m_Border.RemoveAll();
    for (int i = 0; i < m_KeyString.GetSize(); ++i) {
        const LONG v = m_KeyString[i];
        QhPLine entry;
        if (v != POLYGON_RING_END) {
            entry.arc = FindArc(v);
            entry.forward = v >= 0;
        }
        m_Border.Add(entry);
    }
    if (m_bSortedValid) RebuildSortedKeys();
    RecalcBounds();
}

void CGeoPolygon::SetKeyString(CGeoPolyBorder& border) {
    m_Border.Copy(border);
    m_KeyString.SetSize(m_Border.GetSize());
    for (int i = 0; i < m_Border.GetSize(); ++i) m_KeyString[i] = KeyOf(m_Border[i]);
    if (m_bSortedValid) RebuildSortedKeys();
    RecalcBounds();
}

void CGeoPolygon::SetBorderLine(const CGeoPolyBorder& border) {
    m_Border.RemoveAll();
    m_KeyString.RemoveAll();
    for (int i = 0; i < border.GetSize(); ++i) {
        m_Border.Add(border[i]);
        m_KeyString.Add(KeyOf(border[i]));
    }
    RecalcBounds();
}

void CGeoPolygon::BuildBorderLine() {
    m_Border.RemoveAll();
    SetUseData(1);
    m_Border.SetSize(m_KeyString.GetSize());
    for (int i = 0; i < m_KeyString.GetSize(); ++i) {
        const LONG v = m_KeyString[i];
        QhPLine& entry = m_Border[i];
        if (v == POLYGON_RING_END) {
            entry.forward = 1;
        } else {
            entry.arc = FindArc(v);
            entry.forward = v >= 0;
            if (!entry.arc) SetUseData(0);
        }
    }
    RecalcBounds();
}

void CGeoPolygon::GetPolyData(POINT** ppPoints, int** ppRingSizes, int& nRingCount) const {
    if (ppPoints) *ppPoints = nullptr;
    if (ppRingSizes) *ppRingSizes = nullptr;
    nRingCount = 0;
    const int n = m_KeyString.GetSize();
    if (n == 0) return;
    // The border is walked beside the keys; a key without its border entry counts as missing.
    int rings = 0;
    for (int i = 0; i < n; ++i) {
        if (m_KeyString[i] == POLYGON_RING_END)
            ++rings;
        else if (i >= m_Border.GetSize() || !m_Border[i].arc)
            return;
    }
    // Every slot in use: a spline arc contributes the curve it draws. The points go straight from the
    // arcs into one block of the exact size.
    long long total = 0;
    for (int i = 0; i < n; ++i)
        if (m_KeyString[i] != POLYGON_RING_END) total += std::max(0, m_Border[i].arc->CGeoLine::GetPoints());
    if (total > INT_MAX) return;
    int* sizes = new int[rings > 0 ? rings : 1];
    POINT* pts = total > 0 ? new POINT[static_cast<size_t>(total)] : nullptr;
    int ring = 0, r = 0;
    POINT* at = pts;
    for (int i = 0; i < n; ++i) {
        const LONG v = m_KeyString[i];
        if (v == POLYGON_RING_END) {
            sizes[ring++] = r;
            r = 0;
            continue;
        }
        const CGeoPLine* pArc = m_Border[i].arc;
        const int count = pArc->CGeoLine::GetPoints();
        if (count <= 0) continue;
        const POINT* from = pArc->GetPointBuffer();
        if (v < 0)
            std::reverse_copy(from, from + count, at);
        else
            std::copy(from, from + count, at);
        at += count;
        r += count;
    }
    if (GetUseData()) {
        FreeCache();
        m_pRingPoints = pts;
        m_pRingSizes = sizes;
        m_nRingCount = rings;
    }
    if (ppPoints)
        *ppPoints = pts;
    else if (!GetUseData())
        delete[] pts;
    if (ppRingSizes)
        *ppRingSizes = sizes;
    else if (!GetUseData())
        delete[] sizes;
    nRingCount = rings;
}

CGeoPolygon::Rings::Rings(const CGeoPolygon& polygon) {
    if (GetUseData()) {
        if (!polygon.m_pRingPoints || !polygon.m_pRingSizes) polygon.GetPolyData(nullptr, nullptr, count);
        points = polygon.m_pRingPoints;
        sizes = polygon.m_pRingSizes;
        count = points && sizes ? polygon.m_nRingCount : 0;
    } else {
        polygon.GetPolyData(&points, &sizes, count);
        owned_ = true;
    }
    if (!points || !sizes) count = 0;
    for (int i = 0; i < count; ++i) total += sizes[i];
}

CGeoPolygon::Rings::~Rings() {
    if (owned_) {
        delete[] points;
        delete[] sizes;
    }
}

void CGeoPolygon::ConstructPolygonFromLineList(CGeoArcList& lines) {
    CGeoArcList ring;
    for (POSITION p = lines.GetHeadPosition(); p;) {
        CGeoPLine* pArc = lines.GetNext(p);
        if (pArc) {
            ring.AddTail(pArc);
            continue;
        }
        CGeoPolyBorder border;
        CGeoKeyString keys;
        ConstructOnePolygonFromLineList(ring, border, keys);
        m_Border.Append(border);
        m_KeyString.Append(keys);
        ring.RemoveAll();
    }
    if (m_bSortedValid) RebuildSortedKeys();
    // The border changed; the bounds follow at RecalcBounds, but the layer's look-up of border arcs
    // must hear of it now.
    BoundsChanged();
}

void CGeoPolygon::ConstructOnePolygonFromLineList(CGeoArcList& ringLines, CGeoPolyBorder& border,
                                                  CGeoKeyString& keys) {
    if (ringLines.IsEmpty()) return;
    auto add = [&](CGeoPLine* pArc, int forward) {
        QhPLine entry;
        entry.arc = pArc;
        entry.forward = forward;
        border.Add(entry);
        keys.Add(KeyOf(entry));
    };
    POSITION p = ringLines.GetHeadPosition();
    CGeoPLine* a = ringLines.GetNext(p);
    if (!p) {
        add(a, 1);
    } else {
        CGeoPLine* b = ringLines.GetNext(p);
        CPoint a0, a1, b0, b1;
        a->GetStartAndEndPoint(a0, a1);
        b->GetStartAndEndPoint(b0, b1);
        if (EqualPoint(a1, b0)) {
            add(a, 1), add(b, 1);
        } else if (EqualPoint(a1, b1)) {
            add(a, 1), add(b, 0);
        } else if (EqualPoint(a0, b0)) {
            add(a, 0), add(b, 1);
        } else {
            add(a, 0), add(b, 0);
        }
        CGeoPLine* prev = b;
        while (p) {
            CGeoPLine* c = ringLines.GetNext(p);
            CPoint p0, p1, c0, c1;
            prev->GetStartAndEndPoint(p0, p1);
            c->GetStartAndEndPoint(c0, c1);
            add(c, EqualPoint(c0, p0) || EqualPoint(c0, p1) ? 1 : 0);
            prev = c;
        }
    }
    QhPLine end;
    border.Add(end);
    keys.Add(POLYGON_RING_END);
}

// ---------------------------------------------------------------------------------------------------
// Topology queries

int CGeoPolygon::IsPartOf(const CGeoPLine* pArc) const {
    if (!pArc) return 0;
    for (int i = 0; i < m_Border.GetSize(); ++i)
        if (m_Border[i].arc == pArc) return 1;
    return 0;
}

CGeoPolygon* CGeoPolygon::GetNeighbourPolygon(const CGeoPLine* pArc) const {
    CGeoVectorLayer* pLayer = GetVectorLayer();
    if (!pLayer || !pArc) return nullptr;
    const CRect bounds = GetBounds();
    // Neighbours along a straight shared arc only touch: touching counts.
    auto neighbour = [&](CObject* pObject) -> CGeoPolygon* {
        if (pObject == this || !pObject->IsKindOf(RUNTIME_CLASS(CGeoPolygon))) return nullptr;
        CGeoPolygon* pOther = static_cast<CGeoPolygon*>(pObject);
        return Meet(bounds, pOther->GetBounds()) && pOther->IsPartOf(pArc) ? pOther : nullptr;
    };
    // Only the shapes whose borders hold the arc can answer, and they come in list order.
    std::vector<CGeoVectorObject*> holders;
    if (pLayer->FindBorderHolders(pArc, holders)) {
        for (CGeoVectorObject* pObject : holders)
            if (CGeoPolygon* pOther = neighbour(pObject)) return pOther;
        return nullptr;
    }
    for (POSITION p = pLayer->m_ObjList.GetHeadPosition(); p;)
        if (CGeoPolygon* pOther = neighbour(pLayer->m_ObjList.GetNext(p))) return pOther;
    return nullptr;
}

int CGeoPolygon::GetHandlePosOnLine(const CGeoPLine* pArc, CPoint p) {
    if (!pArc) return 0;
    CRect area = pArc->GetBounds();
    area.InflateRect(1, 1);
    if (!area.PtInRect(p)) return 0;
    const int n = pArc->GetPoints();
    if (n <= 0) return 0;
    const bool first = EqualPoint(pArc->GetPoint(0), p);
    const bool last = EqualPoint(pArc->GetPoint(n - 1), p);
    if (first && last) return -1;
    if (first) return -2;
    if (last) return -3;
    for (int i = 1; i <= n - 2; ++i)
        if (EqualPoint(pArc->GetPoint(i), p)) return i;
    return 0;
}

void CGeoPolygon::EnsureCache() const {
    if (GetUseData() && (!m_pRingPoints || !m_pRingSizes)) {
        int rings = 0;
        GetPolyData(nullptr, nullptr, rings);
    }
}

int CGeoPolygon::IsHandle(POINT p) const {
    EnsureCache();
    if (!m_pRingPoints || !m_pRingSizes) return -1;
    int total = 0;
    for (int i = 0; i < m_nRingCount; ++i) total += m_pRingSizes[i];
    for (int i = 0; i < total; ++i)
        if (EqualPoint(m_pRingPoints[i], p)) return i + 1;
    return -1;
}

int CGeoPolygon::IsHandle(POINT p, CGeoKeyString& out) const {
    EnsureCache();
    if (!m_pRingPoints || !m_pRingSizes) return 0;
    int total = 0;
    for (int i = 0; i < m_nRingCount; ++i) total += m_pRingSizes[i];
    int found = 0;
    for (int i = 0; i < total; ++i) {
        if (EqualPoint(m_pRingPoints[i], p)) {
            out.Add(i + 1);
            found = 1;
        }
    }
    return found;
}

// ---------------------------------------------------------------------------------------------------
// Label point and point list

void CGeoPolygon::SetLabelPoint(CGeoLabelPoint* pLabel) {
    if (!pLabel) {
        m_dwLabelPointID = 0;
        m_pLabelPoint = nullptr;
        return;
    }
    m_dwLabelPointID = pLabel->GetID();
    m_pLabelPoint = pLabel;
    if (pLabel->GetPolygonID() == GetID()) return;
    if (CGeoVectorLayer* pLayer = GetVectorLayer()) {
        CGeoAccessorialObject* pOld = pLayer->FindObj(pLabel->GetPolygonID());
        if (pOld && pOld != this && pOld->IsKindOf(RUNTIME_CLASS(CGeoPolygon)))
            static_cast<CGeoPolygon*>(pOld)->SetLabelPoint(static_cast<CGeoLabelPoint*>(nullptr));
    }
    pLabel->SetPolygonID(GetID());
}

POINT CGeoPolygon::SetLabelPoint(CGeoPoint* pPoint) {
    if (!pPoint) return POINT{0, 0};
    const CPoint position = pPoint->GetPoint();
    CGeoVectorLayer* pLayer = GetVectorLayer();
    if (!pLayer || pPoint->GetLayer() != pLayer || !pLayer->IsListed(pPoint)) return position;
    CGeoLabelPoint* pLabel = new CGeoLabelPoint(position);
    pLabel->SetPolygonID(GetID());
    pLayer->Replace(pLabel, pPoint);
    pLabel->SetUnit(pPoint->GetUnit());
    pLabel->SetZ(pPoint->GetZ());
    if (POSITION p = m_PointList.Find(pPoint)) m_PointList.SetAt(p, pLabel);
    pPoint->Remove();
    SetLabelPoint(pLabel);
    return pLabel->GetPoint();
}

CGeoLabelPoint* CGeoPolygon::GetLabelPoint() const {
    if (m_dwLabelPointID == 0) return nullptr;
    CGeoVectorLayer* pLayer = GetVectorLayer();
    if (!pLayer) return m_pLabelPoint;
    // Asked of the layer every time, so that a label point replaced or deleted since it was linked is
    // never handed out.
    CGeoAccessorialObject* pObject = pLayer->FindObj(m_dwLabelPointID);
    m_pLabelPoint = pObject && pObject->IsKindOf(RUNTIME_CLASS(CGeoLabelPoint))
                        ? static_cast<CGeoLabelPoint*>(pObject)
                        : nullptr;
    return m_pLabelPoint;
}

void CGeoPolygon::AddPoint(CGeoPoint* pPoint) { m_PointList.AddTail(pPoint); }

void CGeoPolygon::GetPointList(CGeoPointList& out) const {
    for (POSITION p = m_PointList.GetHeadPosition(); p;) out.AddTail(m_PointList.GetNext(p));
}

int CGeoPolygon::GetLabelPointList(CGeoPointList& out) const {
    if (m_dwLabelPointID == 0) return 0;
    for (POSITION p = m_PointList.GetHeadPosition(); p;) {
        CGeoPoint* pPoint = m_PointList.GetNext(p);
        if (pPoint && pPoint->IsKindOf(RUNTIME_CLASS(CGeoLabelPoint))) out.AddTail(pPoint);
    }
    return out.IsEmpty() ? 0 : 1;
}

int CGeoPolygon::GetLabelPointCount() const {
    if (m_dwLabelPointID == 0) return 0;
    int n = 0;
    for (POSITION p = m_PointList.GetHeadPosition(); p;) {
        CGeoPoint* pPoint = m_PointList.GetNext(p);
        if (pPoint && pPoint->IsKindOf(RUNTIME_CLASS(CGeoLabelPoint))) ++n;
    }
    return n;
}

// ---------------------------------------------------------------------------------------------------
// Measures

void CGeoPolygon::RecalcArea() {
    Rings rings(*this);
    double area = 0.0;
    const POINT* p = rings.points;
    for (int i = 0; i < rings.count; ++i) {
        const double a = PolygonArea(p, rings.sizes[i]);
        area += i == 0 ? a : -a;
        p += rings.sizes[i];
    }
    m_dArea = area;
}

double CGeoPolygon::Area() {
    RecalcArea();
    return m_dArea;
}

void CGeoPolygon::RecalcPerimeter() {
    Rings rings(*this);
    double perimeter = 0.0;
    const POINT* p = rings.points;
    for (int i = 0; i < rings.count; ++i) {
        for (int k = 0; k + 1 < rings.sizes[i]; ++k) perimeter += Distance(p[k], p[k + 1]);
        p += rings.sizes[i];
    }
    m_dPerimeter = perimeter;
}

double CGeoPolygon::GetPerimeter() {
    RecalcPerimeter();
    return m_dPerimeter;
}

double CGeoPolygon::Length() {
    Rings rings(*this);
    double length = 0.0;
    const POINT* p = rings.points;
    for (int i = 0; i < rings.count; ++i) {
        length += PolyLineLength(p, rings.sizes[i], 1);
        p += rings.sizes[i];
    }
    return length;
}

// ---------------------------------------------------------------------------------------------------
// Overrides

void CGeoPolygon::RecalcBounds() {
    m_rcBounds.SetRectEmpty();
    bool first = true;
    for (int i = 0; i < m_Border.GetSize() && m_Border[i].arc; ++i) {
        const CRect r = m_Border[i].arc->GetBounds();
        if (first) {
            m_rcBounds = r;
            first = false;
            continue;
        }
        // Sides are extended one by one, so that a straight horizontal or vertical arc, whose bounds
        // have no area, still widens the bounds, and so that bounds without area so far keep their
        // extent when an arc with area joins them.
        m_rcBounds.left = std::min(m_rcBounds.left, r.left);
        m_rcBounds.top = std::min(m_rcBounds.top, r.top);
        m_rcBounds.right = std::max(m_rcBounds.right, r.right);
        m_rcBounds.bottom = std::max(m_rcBounds.bottom, r.bottom);
    }
    BoundsChanged();
}

CPoint CGeoPolygon::GetVisiblePoint() const {
    const CRect b = GetBounds();
    return CPoint(static_cast<int>((static_cast<double>(b.left) + b.right) / 2),
                  static_cast<int>((static_cast<double>(b.top) + b.bottom) / 2));
}

CString CGeoPolygon::GetObjectTypeName() const { return "多边形"; }

void CGeoPolygon::DefaultObjectName() {
    CString name;
    name.Format("多边形 %d", s_nPolygonCount);
    m_strName = name;
}

CGeoObject* CGeoPolygon::Duplicate(int withAttribute, int withRecord) {
    (void)withAttribute;
    (void)withRecord;
    return nullptr;
}

int CGeoPolygon::CopyData(const CGeoVectorObject& src) {
    (void)src;
    return 0;
}

void CGeoPolygon::OnUnitChanged(int nOldUnit) { CGeoVectorObject::OnUnitChanged(nOldUnit); }

int CGeoPolygon::GetSnapPointA(CPoint& point, CRect rect, int& nIndex, SNAPTYPE type, LONG lParam) {
    (void)point;
    (void)rect;
    (void)nIndex;
    (void)type;
    (void)lParam;
    return 0;
}
