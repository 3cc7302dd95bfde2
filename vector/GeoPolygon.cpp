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

// The arc with ID |v| of the layer; NULL when none, not a CGeoPLine or without a layer.
CGeoPLine* ArcOf(CGeoVectorLayer* pLayer, LONG v) {
    if (!pLayer) return nullptr;
    CGeoAccessorialObject* pObject = pLayer->FindObj(AbsKey(v));
    // An ID naming anything but a polyline (a damaged file) is a missing arc, never a line.
    if (!pObject || !pObject->IsKindOf(RUNTIME_CLASS(CGeoPLine))) return nullptr;
    return static_cast<CGeoPLine*>(pObject);
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
    // The cache is this polygon's whatever the flag says now: it was only ever kept while the flag was
    // on, and a load that ended on an incomplete polygon must not leak every other polygon's rings.
    FreeCache();
}

void CGeoPolygon::FreeCache() const {
    // With points the sizes share their block; without, they have one of their own.
    if (m_pRingPoints)
        delete[] m_pRingPoints;
    else
        delete[] m_pRingSizes;
    m_pRingPoints = nullptr;
    m_pRingSizes = nullptr;
    m_nRingCount = 0;
}

void CGeoPolygon::ResizeEntries(int nKeys) {
    std::unique_ptr<Entry[]> entries(nKeys > 0 ? new Entry[static_cast<size_t>(nKeys)] : nullptr);
    const int kept = std::min(nKeys, m_nKeys);
    for (int i = 0; i < kept; ++i) entries[i] = m_pEntries[i];
    for (int i = kept; i < nKeys; ++i) entries[i] = Entry{nullptr, 0, 0};
    m_pEntries = std::move(entries);
    m_nKeys = nKeys;
    m_nBorder = std::min(m_nBorder, nKeys);
}

void CGeoPolygon::Serialize(CArchive& ar) {
    CGeoVectorObject::Serialize(ar);
    // The keys as an array of 32-bit values: the archive count, then their bytes as they lie in memory.
    LONG chunk[256];
    const int chunkKeys = static_cast<int>(sizeof chunk / sizeof chunk[0]);
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD>(m_nKeys));
        for (int i = 0; i < m_nKeys; i += chunkKeys) {
            const int n = std::min(chunkKeys, m_nKeys - i);
            for (int k = 0; k < n; ++k) chunk[k] = m_pEntries[i + k].key;
            ar.Write(chunk, static_cast<UINT>(sizeof(LONG) * n));
        }
        ar << m_dwLabelPointID;
    } else {
        ResizeEntries(0);
        m_pExtras.reset();
        FreeCache();
        m_pLabelPoint = nullptr;
        const DWORD count = ar.ReadCount();
        if (count > 0x7FFFFFFF) AfxThrowArchiveException(CArchiveException::badIndex);
        ar.EnsureAvailable(count);  // every key takes at least one byte
        ResizeEntries(static_cast<int>(count));
        if (m_nKeys > 0) ar.EnsureAvailable(static_cast<ULONGLONG>(sizeof(LONG)) * static_cast<ULONGLONG>(m_nKeys));
        for (int i = 0; i < m_nKeys; i += chunkKeys) {
            const int n = std::min(chunkKeys, m_nKeys - i);
            const UINT bytes = static_cast<UINT>(sizeof(LONG) * n);
            if (ar.Read(chunk, bytes) != bytes) AfxThrowArchiveException(CArchiveException::endOfFile);
            for (int k = 0; k < n; ++k) m_pEntries[i + k].key = chunk[k];
        }
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

CGeoPLine* CGeoPolygon::FindArc(LONG v) const { return ArcOf(GetVectorLayer(), v); }

CGeoPolygon::Extras& CGeoPolygon::GetExtras() {
    if (!m_pExtras) m_pExtras.reset(new Extras);
    return *m_pExtras;
}

void CGeoPolygon::RebuildSortedKeys() {
    CGeoKeyString& sorted = GetExtras().sortedKeys;
    sorted.SetSize(m_nKeys);
    for (int i = 0; i < m_nKeys; ++i) sorted[i] = static_cast<LONG>(AbsKey(m_pEntries[i].key));
    CHeapSort::HeapSort(sorted.GetData(), sorted.GetSize());
}

void CGeoPolygon::GetKeyString(CGeoKeyString& out, int bSorted) {
    if (bSorted) {
        if (!SortedKeysValid()) {
            RebuildSortedKeys();
            m_pExtras->sortedValid = true;
        }
        out.Copy(m_pExtras->sortedKeys);
        return;
    }
    out.SetSize(m_nKeys);
    for (int i = 0; i < m_nKeys; ++i) out[i] = m_pEntries[i].key;
}

void CGeoPolygon::GetPolyBorder(CGeoPolyBorder& out) const {
    out.SetSize(m_nBorder);
    for (int i = 0; i < m_nBorder; ++i) {
        out[i].arc = m_pEntries[i].arc;
        out[i].forward = m_pEntries[i].forward;
    }
}

void CGeoPolygon::SetKeyString(CGeoKeyString& keys) {
    const int n = keys.GetSize();
    std::unique_ptr<Entry[]> entries(n > 0 ? new Entry[static_cast<size_t>(n)] : nullptr);
    CGeoVectorLayer* pLayer = GetVectorLayer();
    for (int i = 0; i < n; ++i) {
        const LONG v = keys[i];
        entries[i] = Entry{nullptr, v, 0};
        if (v != POLYGON_RING_END) {
            entries[i].arc = ArcOf(pLayer, v);
            entries[i].forward = v >= 0;
        }
    }
    m_pEntries = std::move(entries);
    m_nKeys = m_nBorder = n;
    if (SortedKeysValid()) RebuildSortedKeys();
    RecalcBounds();
}

void CGeoPolygon::TakeBorder(const CGeoPolyBorder& border) {
    const int n = border.GetSize();
    std::unique_ptr<Entry[]> entries(n > 0 ? new Entry[static_cast<size_t>(n)] : nullptr);
    for (int i = 0; i < n; ++i) entries[i] = Entry{border[i].arc, KeyOf(border[i]), border[i].forward};
    m_pEntries = std::move(entries);
    m_nKeys = m_nBorder = n;
}

void CGeoPolygon::SetKeyString(CGeoPolyBorder& border) {
    TakeBorder(border);
    if (SortedKeysValid()) RebuildSortedKeys();
    RecalcBounds();
}

void CGeoPolygon::SetBorderLine(const CGeoPolyBorder& border) {
    TakeBorder(border);
    RecalcBounds();
}

void CGeoPolygon::BuildBorderLine() {
    SetUseData(1);
    CGeoVectorLayer* pLayer = GetVectorLayer();
    for (int i = 0; i < m_nKeys; ++i) {
        Entry& entry = m_pEntries[i];
        const LONG v = entry.key;
        entry.arc = nullptr;
        if (v == POLYGON_RING_END) {
            entry.forward = 1;
        } else {
            entry.arc = ArcOf(pLayer, v);
            entry.forward = v >= 0;
            if (!entry.arc) SetUseData(0);
        }
    }
    m_nBorder = m_nKeys;
    RecalcBounds();
}

void CGeoPolygon::GetPolyData(POINT** ppPoints, int** ppRingSizes, int& nRingCount) const {
    if (ppPoints) *ppPoints = nullptr;
    if (ppRingSizes) *ppRingSizes = nullptr;
    nRingCount = 0;
    const int n = m_nKeys;
    if (n == 0) return;
    // The border is walked beside the keys; a key without its border entry counts as missing.
    int rings = 0;
    long long total = 0;
    for (int i = 0; i < n; ++i) {
        if (m_pEntries[i].key == POLYGON_RING_END)
            ++rings;
        else if (i >= m_nBorder || !m_pEntries[i].arc)
            return;
        else  // every slot in use: a spline arc contributes the curve it draws
            total += std::max(0, m_pEntries[i].arc->CGeoLine::GetPoints());
    }
    if (total > INT_MAX) return;
    const int sizeSlots = rings > 0 ? rings : 1;
    // The points go straight from the arcs into one block of the exact size. A cache keeps the ring
    // sizes in the same block, after the points (a POINT holds two sizes); what goes to the caller is
    // two blocks, each to be freed alone.
    const bool cached = GetUseData() != 0;
    POINT* pts = nullptr;
    int* sizes = nullptr;
    if (total > 0 && cached) {
        pts = new POINT[static_cast<size_t>(total) + static_cast<size_t>(sizeSlots + 1) / 2];
        sizes = reinterpret_cast<int*>(pts + total);
    } else {
        sizes = new int[sizeSlots];
        if (total > 0) pts = new POINT[static_cast<size_t>(total)];
    }
    int ring = 0, r = 0;
    POINT* at = pts;
    for (int i = 0; i < n; ++i) {
        const LONG v = m_pEntries[i].key;
        if (v == POLYGON_RING_END) {
            sizes[ring++] = r;
            r = 0;
            continue;
        }
        const CGeoPLine* pArc = m_pEntries[i].arc;
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
    if (cached) {
        FreeCache();
        m_pRingPoints = pts;
        m_pRingSizes = sizes;
        m_nRingCount = rings;
    } else {
        if (!ppPoints) delete[] pts;
        if (!ppRingSizes) delete[] sizes;
    }
    if (ppPoints) *ppPoints = pts;
    if (ppRingSizes) *ppRingSizes = sizes;
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
    CGeoPolyBorder border;
    CGeoKeyString keys;
    for (POSITION p = lines.GetHeadPosition(); p;) {
        CGeoPLine* pArc = lines.GetNext(p);
        if (pArc) {
            ring.AddTail(pArc);
            continue;
        }
        ConstructOnePolygonFromLineList(ring, border, keys);
        ring.RemoveAll();
    }
    // The keys follow the present keys and the border entries the present border, which may be
    // shorter (a loaded polygon not yet resolved).
    const int nKeys = m_nKeys, nBorder = m_nBorder;
    if (keys.GetSize() > 0) ResizeEntries(nKeys + keys.GetSize());
    for (int i = 0; i < keys.GetSize(); ++i) m_pEntries[nKeys + i].key = keys[i];
    for (int i = 0; i < border.GetSize(); ++i) {
        m_pEntries[nBorder + i].arc = border[i].arc;
        m_pEntries[nBorder + i].forward = border[i].forward;
    }
    m_nBorder = nBorder + border.GetSize();
    if (SortedKeysValid()) RebuildSortedKeys();
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
    for (int i = 0; i < m_nBorder; ++i)
        if (m_pEntries[i].arc == pArc) return 1;
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
    if (m_pExtras)
        if (POSITION p = m_pExtras->points.Find(pPoint)) m_pExtras->points.SetAt(p, pLabel);
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

void CGeoPolygon::AddPoint(CGeoPoint* pPoint) { GetExtras().points.AddTail(pPoint); }

void CGeoPolygon::GetPointList(CGeoPointList& out) const {
    if (!m_pExtras) return;
    for (POSITION p = m_pExtras->points.GetHeadPosition(); p;) out.AddTail(m_pExtras->points.GetNext(p));
}

int CGeoPolygon::GetLabelPointList(CGeoPointList& out) const {
    if (m_dwLabelPointID == 0) return 0;
    for (POSITION p = m_pExtras ? m_pExtras->points.GetHeadPosition() : nullptr; p;) {
        CGeoPoint* pPoint = m_pExtras->points.GetNext(p);
        if (pPoint && pPoint->IsKindOf(RUNTIME_CLASS(CGeoLabelPoint))) out.AddTail(pPoint);
    }
    return out.IsEmpty() ? 0 : 1;
}

int CGeoPolygon::GetLabelPointCount() const {
    if (m_dwLabelPointID == 0) return 0;
    int n = 0;
    for (POSITION p = m_pExtras ? m_pExtras->points.GetHeadPosition() : nullptr; p;) {
        CGeoPoint* pPoint = m_pExtras->points.GetNext(p);
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
    CRect bounds(0, 0, 0, 0);
    for (int i = 0; i < m_nBorder && m_pEntries[i].arc; ++i) {
        const CRect r = m_pEntries[i].arc->GetBounds();
        if (i == 0) {
            bounds = r;
            continue;
        }
        // Sides are extended one by one, so that a straight horizontal or vertical arc, whose bounds
        // have no area, still widens the bounds, and so that bounds without area so far keep their
        // extent when an arc with area joins them.
        bounds.left = std::min(bounds.left, r.left);
        bounds.top = std::min(bounds.top, r.top);
        bounds.right = std::max(bounds.right, r.right);
        bounds.bottom = std::max(bounds.bottom, r.bottom);
    }
    // Written member by member: the layer hears of the change once.
    m_rcBounds.left = bounds.left;
    m_rcBounds.top = bounds.top;
    m_rcBounds.right = bounds.right;
    m_rcBounds.bottom = bounds.bottom;
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
