#include "vector/IdentifyPoints.h"

#include "core/GeoSettings.h"
#include "core/GeoVectorLayer.h"
#include "core/OpenTable.h"
#include "ostrel/CenPos.h"
#include "ostrel/Contact.h"
#include "vector/GeoLabelPoint.h"
#include "vector/GeoPLine.h"
#include "vector/GeoPoint.h"
#include "vector/GeoPolygon.h"

#include <afx/FileReplacement.h>
#include <afx/WinApp.h>

#include <boost/geometry.hpp>
#include <boost/geometry/geometries/box.hpp>
#include <boost/geometry/geometries/point.hpp>
#include <boost/geometry/index/rtree.hpp>

#include <algorithm>
#include <iterator>
#include <memory>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

namespace bg = boost::geometry;
namespace bgi = boost::geometry::index;

namespace {

CIdentificationPointRelate g_Relate;
CIPInfoList g_IPTable;
CString g_strIPFile;
int g_bInputImmediately = 1;

const int kMaxPathBytes = 255;

// The ring data of a polygon as the use-data flag says: borrowed from the cache while it is on, owned
// (and freed here) while it is off.
struct RingData {
    POINT* pts = nullptr;
    int* sizes = nullptr;
    int count = 0;
    bool owned = false;
    explicit RingData(const CGeoPolygon& polygon) {
        owned = !GetUseData();
        polygon.GetPolyData(&pts, &sizes, count);
    }
    ~RingData() {
        if (owned) {
            delete[] pts;
            delete[] sizes;
        }
    }
    RingData(const RingData&) = delete;
    RingData& operator=(const RingData&) = delete;
};

bool PointInPolygon(POINT p, const CGeoPolygon& polygon, const RingData& rings) {
    if (!polygon.GetBounds().PtInRect(p)) return false;
    if (!rings.pts || !rings.sizes || rings.count < 1) return false;
    if (!PtInPolygon(p, rings.pts, rings.sizes[0])) return false;
    const POINT* ring = rings.pts + rings.sizes[0];
    for (int i = 1; i < rings.count; ++i) {
        if (PtInPolygon(p, ring, rings.sizes[i])) return false;
        ring += rings.sizes[i];
    }
    return true;
}

bool InLayer(CGeoVectorLayer* pLayer, CGeoPolygon* pPolygon) {
    return pLayer && pPolygon && pLayer->IsListed(pPolygon);
}

void CollectLayer(CGeoVectorLayer* pLayer, std::vector<CGeoPoint*>* points, std::vector<CGeoPolygon*>* polygons) {
    for (POSITION p = pLayer->m_ObjList.GetHeadPosition(); p;) {
        CObject* pObject = pLayer->m_ObjList.GetNext(p);
        if (points && pObject->IsKindOf(RUNTIME_CLASS(CGeoPoint))) points->push_back(static_cast<CGeoPoint*>(pObject));
        if (polygons && pObject->IsKindOf(RUNTIME_CLASS(CGeoPolygon)))
            polygons->push_back(static_cast<CGeoPolygon*>(pObject));
    }
}

std::vector<CGeoPoint*> ListOf(const CGeoPolygon& polygon) {
    CGeoPointList list;
    polygon.GetPointList(list);
    std::vector<CGeoPoint*> listed;
    listed.reserve(static_cast<size_t>(list.GetCount()));
    for (POSITION p = list.GetHeadPosition(); p;) listed.push_back(list.GetNext(p));
    return listed;
}

}  // namespace

// For each point, the polygons whose lists hold it, in layer order: what RelatePoint would otherwise
// find by reading every polygon's list. The polygons of a run stay the same; their lists change only
// through RelatePoint and AddLabelPoint, which tell this map.
struct CIdentificationPointRelate::PointHolders {
    // The run's polygons; point -> the polygons whose lists hold it, in layer order (list order keys),
    // the first in the cell (a point mostly lies in one polygon), any others in a vector of their own.
    // Open tables: a cell per entry and no allocation each.
    struct PolygonCell {
        const CGeoPolygon* polygon = nullptr;
        bool Empty() const { return polygon == nullptr; }
        uint64_t Key() const { return opentable::KeyOf(polygon); }
    };
    struct PointCell {
        const CGeoPoint* point = nullptr;
        CGeoPolygon* first = nullptr;
        uint32_t more = kNone;
        bool Empty() const { return point == nullptr; }
        uint64_t Key() const { return opentable::KeyOf(point); }
    };
    static constexpr uint32_t kNone = 0xFFFFFFFFu;
    opentable::OpenTable<PolygonCell> polygons;
    opentable::OpenTable<PointCell> byPoint;
    std::vector<std::vector<CGeoPolygon*>> more;  // by PointCell::more
    std::vector<uint32_t> freeMore;
    std::vector<CGeoPolygon*> scratch;

    // The polygons come listed in layer order, which their list order keys follow; relating replaces
    // points only, so the keys stay as they are for the run.
    explicit PointHolders(const std::vector<CGeoPolygon*>& listed) {
        polygons.Reserve(listed.size());
        for (CGeoPolygon* pPolygon : listed) polygons.Insert(opentable::KeyOf(pPolygon)).polygon = pPolygon;
        for (CGeoPolygon* pPolygon : listed) Enter(pPolygon, ListOf(*pPolygon));
    }
    // The polygons whose lists hold the point, in layer order.
    void HoldersOf(const CGeoPoint* pPoint, std::vector<CGeoPolygon*>& out) const {
        out.clear();
        const PointCell* cell = byPoint.Find(opentable::KeyOf(pPoint));
        if (!cell) return;
        out.push_back(cell->first);
        if (cell->more != kNone) out.insert(out.end(), more[cell->more].begin(), more[cell->more].end());
    }
    // Puts the point's holders back, or drops its cell when none is left.
    void Keep(const CGeoPoint* pPoint, const std::vector<CGeoPolygon*>& holders) {
        PointCell* cell = byPoint.Find(opentable::KeyOf(pPoint));
        if (holders.empty()) {
            if (!cell) return;
            if (cell->more != kNone) ReleaseMore(cell->more);
            byPoint.Erase(cell);
            return;
        }
        if (!cell) {
            cell = &byPoint.Insert(opentable::KeyOf(pPoint));
            cell->point = pPoint;
        }
        cell->first = holders[0];
        if (holders.size() == 1) {
            if (cell->more != kNone) ReleaseMore(cell->more);
            cell->more = kNone;
            return;
        }
        if (cell->more == kNone) {
            if (!freeMore.empty()) {
                cell->more = freeMore.back();
                freeMore.pop_back();
            } else {
                cell->more = static_cast<uint32_t>(more.size());
                more.emplace_back();
            }
        }
        more[cell->more].assign(holders.begin() + 1, holders.end());
    }
    void ReleaseMore(uint32_t n) {
        std::vector<CGeoPolygon*>().swap(more[n]);
        freeMore.push_back(n);
    }
    void Enter(CGeoPolygon* pPolygon, const std::vector<CGeoPoint*>& listed) {
        const ULONGLONG order = pPolygon->GetListOrder();
        for (CGeoPoint* pPoint : listed) {
            HoldersOf(pPoint, scratch);
            auto at = std::lower_bound(scratch.begin(), scratch.end(), order,
                                       [](const CGeoPolygon* x, ULONGLONG y) { return x->GetListOrder() < y; });
            if (at != scratch.end() && *at == pPolygon) continue;
            scratch.insert(at, pPolygon);
            Keep(pPoint, scratch);
        }
    }
    void Leave(CGeoPolygon* pPolygon, const std::vector<CGeoPoint*>& listed) {
        for (CGeoPoint* pPoint : listed) {
            HoldersOf(pPoint, scratch);
            const auto end = std::remove(scratch.begin(), scratch.end(), pPolygon);
            if (end == scratch.end()) continue;
            scratch.erase(end, scratch.end());
            Keep(pPoint, scratch);
        }
    }
    // The polygon's list was `before` and is now what it holds.
    void Changed(CGeoPolygon* pPolygon, const std::vector<CGeoPoint*>& before) {
        if (!polygons.Find(opentable::KeyOf(pPolygon))) return;
        Leave(pPolygon, before);
        Enter(pPolygon, ListOf(*pPolygon));
    }
};

// Makes pPoint the polygon's label point. The point object is replaced (and deleted), so every other
// polygon whose list still names it is pointed at its replacement, leaving no list with a freed point.
// With the run's map the lists that name the point are looked up there instead of read from every
// polygon, and the map follows the lists changed here.
void CIdentificationPointRelate::RelatePoint(CGeoPolygon* pPolygon, CGeoPoint* pPoint) {
    CGeoVectorLayer* pLayer = m_pLayer;
    PointHolders* pHolders = m_pRunHolders;
    const UINT nID = pPoint->GetID();
    // The other lists that name the point, taken while it is still alive.
    std::vector<std::pair<CGeoPolygon*, std::vector<CGeoPoint*>>> holders;
    if (pHolders) {
        std::vector<CGeoPolygon*> naming;
        pHolders->HoldersOf(pPoint, naming);
        for (CGeoPolygon* pOther : naming)
            if (pOther != pPolygon) holders.emplace_back(pOther, ListOf(*pOther));
    } else {
        std::vector<CGeoPolygon*> polygons;
        CollectLayer(pLayer, nullptr, &polygons);
        for (CGeoPolygon* pOther : polygons) {
            if (pOther == pPolygon) continue;
            std::vector<CGeoPoint*> listed = ListOf(*pOther);
            if (std::find(listed.begin(), listed.end(), pPoint) == listed.end()) continue;
            holders.emplace_back(pOther, std::move(listed));
        }
    }
    const std::vector<CGeoPoint*> own = pHolders ? ListOf(*pPolygon) : std::vector<CGeoPoint*>();
    pPolygon->SetLabelPoint(pPoint);
    CGeoAccessorialObject* pFound = pLayer->FindObj(nID);
    CGeoPoint* pNew = pFound && pFound->IsKindOf(RUNTIME_CLASS(CGeoPoint)) ? static_cast<CGeoPoint*>(pFound) : nullptr;
    if (pNew != pPoint) {
        for (auto& holder : holders) {
            holder.first->ReleasePoints();
            for (CGeoPoint* pListed : holder.second) {
                if (pListed != pPoint) holder.first->AddPoint(pListed);
                else if (pNew) holder.first->AddPoint(pNew);
            }
        }
    }
    if (pHolders) {
        pHolders->Changed(pPolygon, own);
        for (auto& holder : holders) pHolders->Changed(holder.first, holder.second);
    }
}


// ---- CIPInfo / CIPInfoList ----

CIPInfo& CIPInfo::operator=(const CIPInfo& src) {
    m_nCode = src.m_nCode;
    m_nClassID = src.m_nClassID;
    m_nType = src.m_nType;
    return *this;
}

CIPInfoList& CIPInfoList::operator=(const CIPInfoList& src) {
    if (&src == this) return *this;
    ClearAll();
    for (POSITION p = src.GetHeadPosition(); p;) AddTail(new CIPInfo(*static_cast<CIPInfo*>(src.GetNext(p))));
    return *this;
}

CIPInfo* CIPInfoList::GetIPInfo(UINT nCode) const {
    for (POSITION p = GetHeadPosition(); p;) {
        CIPInfo* pInfo = static_cast<CIPInfo*>(GetNext(p));
        if (pInfo->m_nCode == nCode) return pInfo;
    }
    return nullptr;
}

void CIPInfoList::ClearAll() {
    for (POSITION p = GetHeadPosition(); p;) delete static_cast<CIPInfo*>(GetNext(p));
    RemoveAll();
}

// ---- CIdentificationPointRelate ----

CIdentificationPointRelate& CIdentificationPointRelate::operator=(const CIdentificationPointRelate& src) {
    m_bAutoRelate = src.m_bAutoRelate;
    m_bNeedIPFile = src.m_bNeedIPFile;
    m_bNoCondition = src.m_bNoCondition;
    m_bAutoAdd = src.m_bAutoAdd;
    m_bAutoAddNeedIPFile = src.m_bAutoAddNeedIPFile;
    m_bAutoAddNoCondition = src.m_bAutoAddNoCondition;
    m_bConstructByLabPoint = src.m_bConstructByLabPoint;
    return *this;
}

void CIdentificationPointRelate::ConstructPolygonPointList() {
    if (!m_pLayer) return;
    std::vector<CGeoPoint*> points;
    std::vector<CGeoPolygon*> polygons;
    CollectLayer(m_pLayer, &points, &polygons);
    for (CGeoPolygon* pPolygon : polygons) pPolygon->ReleasePoints();
    // Each point goes to the first polygon in list order that holds it, and each polygon takes its
    // points in list order. Only polygons whose bounds hold a point can hold it, so the polygons are
    // looked up by bounds once for the run instead of every point being tried against every polygon.
    typedef bg::model::point<double, 2, bg::cs::cartesian> BoxPoint;
    typedef bg::model::box<BoxPoint> Box;
    typedef std::pair<Box, size_t> Entry;
    std::vector<Entry> entries;
    entries.reserve(polygons.size());
    for (size_t i = 0; i < polygons.size(); ++i) {
        const CRect b = polygons[i]->GetBounds();
        entries.emplace_back(Box(BoxPoint(std::min(b.left, b.right), std::min(b.top, b.bottom)),
                                 BoxPoint(std::max(b.left, b.right), std::max(b.top, b.bottom))),
                             i);
    }
    const bgi::rtree<Entry, bgi::quadratic<16>> byBounds(entries.begin(), entries.end());
    std::vector<std::unique_ptr<RingData>> rings(polygons.size());
    std::vector<Entry> found;
    for (CGeoPoint* pPoint : points) {
        const POINT p = pPoint->GetPoint();
        found.clear();
        byBounds.query(bgi::intersects(BoxPoint(p.x, p.y)), std::back_inserter(found));
        std::sort(found.begin(), found.end(), [](const Entry& x, const Entry& y) { return x.second < y.second; });
        for (const Entry& e : found) {
            CGeoPolygon* pPolygon = polygons[e.second];
            if (!rings[e.second]) rings[e.second].reset(new RingData(*pPolygon));
            if (!PointInPolygon(p, *pPolygon, *rings[e.second])) continue;
            pPolygon->AddPoint(pPoint);
            break;
        }
    }
}

void CIdentificationPointRelate::ConstructPolygonPointList(CGeoPolygon* pPolygon) {
    if (!m_pLayer || !pPolygon) return;
    std::vector<CGeoPoint*> points;
    CollectLayer(m_pLayer, &points, nullptr);
    pPolygon->ReleasePoints();
    RingData rings(*pPolygon);
    for (CGeoPoint* pPoint : points)
        if (PointInPolygon(pPoint->GetPoint(), *pPolygon, rings)) pPolygon->AddPoint(pPoint);
}

void CIdentificationPointRelate::RelateIdentificationPoint() {
    if (!m_pLayer) return;
    const bool relate = m_bAutoRelate && (m_bNoCondition || m_bNeedIPFile);
    const bool add = m_bAutoAdd && (m_bAutoAddNeedIPFile || m_bAutoAddNoCondition);
    if (!relate && !add) return;

    // The IP file is read once for the whole run instead of once per polygon.
    CIPInfoList runTable;
    const int bRead = LoadIdentificationPointFile(g_strIPFile, runTable);
    m_pRunTable = bRead ? &runTable : nullptr;
    m_bRunTableRead = 1;

    std::vector<CGeoPolygon*> polygons;
    CollectLayer(m_pLayer, nullptr, &polygons);
    PointHolders holders(polygons);
    m_pRunHolders = &holders;
    for (CGeoPolygon* pPolygon : polygons) {
        int done = 0;
        if (m_bAutoRelate) {
            if (m_bNeedIPFile) done = AutoRelateNeedIPFile(pPolygon);
            if (!done && m_bNoCondition) done = AtuoRelateNoCondition(pPolygon);
        }
        if (m_bAutoAdd && !done) {
            if (m_bAutoAddNeedIPFile) done = AutoAddNeedIPFile(pPolygon);
            if (!done && m_bAutoAddNoCondition) done = AutoAddNoCondition(pPolygon, 0);
        }
    }
    m_pRunHolders = nullptr;
    m_pRunTable = nullptr;
    m_bRunTableRead = 0;
}

const CIPInfoList* CIdentificationPointRelate::ReadIPTable(CIPInfoList& scratch) {
    if (m_bRunTableRead) return m_pRunTable;
    return LoadIdentificationPointFile(g_strIPFile, scratch) ? &scratch : nullptr;
}

int CIdentificationPointRelate::PolyIsSameCode(CGeoPolygon* pPolygon, UINT& nCode) {
    CGeoPolyBorder border;
    pPolygon->GetPolyBorder(border);
    bool first = true;
    for (int i = 0; i < border.GetSize(); ++i) {
        CGeoPLine* pArc = border[i].arc;
        if (!pArc) continue;
        const UINT nClass = pArc->GetObjectClassID();
        if (first) {
            nCode = nClass;
            first = false;
        } else if (nClass != nCode) {
            return 0;
        }
    }
    return first ? 0 : 1;
}

int CIdentificationPointRelate::AtuoRelateNoCondition(CGeoPolygon* pPolygon) {
    if (!InLayer(m_pLayer, pPolygon) || pPolygon->GetPointCount() == 0 || pPolygon->GetLabelPointCount() > 0) return 0;
    CGeoPointList list;
    pPolygon->GetPointList(list);
    RelatePoint(pPolygon, list.GetHead());
    return 1;
}

int CIdentificationPointRelate::AutoRelateNeedIPFile(CGeoPolygon* pPolygon) {
    if (!InLayer(m_pLayer, pPolygon) || pPolygon->GetPointCount() == 0 || pPolygon->GetLabelPointCount() > 0) return 0;
    CIPInfoList scratch;
    const CIPInfoList* pTable = ReadIPTable(scratch);
    if (!pTable) return 0;
    UINT nCode = 0;
    if (!PolyIsSameCode(pPolygon, nCode)) return 0;
    const CIPInfo* pInfo = pTable->GetIPInfo(nCode);
    if (!pInfo) return 0;
    CGeoPointList list;
    pPolygon->GetPointList(list);
    for (POSITION p = list.GetHeadPosition(); p;) {
        CGeoPoint* pPoint = list.GetNext(p);
        if (pPoint->GetObjectClassID() == pInfo->m_nClassID) {
            RelatePoint(pPolygon, pPoint);
            return 1;
        }
    }
    return 0;
}

int CIdentificationPointRelate::AddLabelPoint(CGeoPolygon* pPolygon, UINT nClassID, bool bDefaultStyle) {
    POINT position{0, 0};
    {
        RingData rings(*pPolygon);
        if (!rings.pts || !rings.sizes || rings.count < 1) return 0;
        if (!FindCenPos(rings.pts, rings.sizes, rings.count, position, 1.0)) return 0;
    }
    CGeoLabelPoint* pLabel = new CGeoLabelPoint(position);
    pLabel->SetPolygonID(pPolygon->GetID());
    if (bDefaultStyle) {
        GEOVIEW view = pLabel->GetGeoView();
        view.m_nFillShape = GetDefaultPolygonFillShape();
        view.m_crFillColor = GetDefaultPolygonFillColor();
        view.m_nLineShape = GetDefaultPolygonBorderLineShape();
        view.m_crLineColor = GetDefaultPolygonBorderLineColor();
        view.m_bTransparent = IsDefaultPolygonTransparent();
        pLabel->SetGeoView(view);
    }
    if (!m_pLayer->Add(pLabel)) {
        delete pLabel;
        return 0;
    }
    pLabel->SetObjectClassID(nClassID);
    if (bDefaultStyle) pLabel->SetUnit(pPolygon->GetUnit());
    const std::vector<CGeoPoint*> before = m_pRunHolders ? ListOf(*pPolygon) : std::vector<CGeoPoint*>();
    pPolygon->AddPoint(pLabel);
    if (m_pRunHolders) m_pRunHolders->Changed(pPolygon, before);
    pPolygon->SetLabelPoint(pLabel);
    return 1;
}

int CIdentificationPointRelate::AutoAddNoCondition(CGeoPolygon* pPolygon, UINT nClassID) {
    if (!InLayer(m_pLayer, pPolygon) || pPolygon->GetLabelPointCount() > 0) return 0;
    return AddLabelPoint(pPolygon, nClassID, true);
}

int CIdentificationPointRelate::AutoAddNeedIPFile(CGeoPolygon* pPolygon) {
    if (!InLayer(m_pLayer, pPolygon) || pPolygon->GetLabelPointCount() > 0) return 0;
    CIPInfoList scratch;
    const CIPInfoList* pTable = ReadIPTable(scratch);
    if (!pTable) return 0;
    UINT nCode = 0;
    if (!PolyIsSameCode(pPolygon, nCode)) return 0;
    const CIPInfo* pInfo = pTable->GetIPInfo(nCode);
    if (!pInfo) return 0;
    return AddLabelPoint(pPolygon, pInfo->m_nClassID, false);
}

// ---- free functions ----

void SetIdentificationPointLayer(CGeoVectorLayer* pLayer) { g_Relate.SetLayer(pLayer); }
void SetIdentificationPointRelate(CIdentificationPointRelate& relate) { g_Relate = relate; }
void GetIdentificationPointRelate(CIdentificationPointRelate& relate) { relate = g_Relate; }
void IdentificationPointRelate() { g_Relate.RelateIdentificationPoint(); }
void ConstructPolygonPointList() { g_Relate.ConstructPolygonPointList(); }
void ConstructPolygonPointList(CGeoPolygon* pPolygon) { g_Relate.ConstructPolygonPointList(pPolygon); }
int AtuoAddNoCondition(CGeoPolygon* pPolygon) { return g_Relate.AutoAddNoCondition(pPolygon, 0); }
int AtuoAddNeedIPFile(CGeoPolygon* pPolygon) { return g_Relate.AutoAddNeedIPFile(pPolygon); }
int AtuoRelateNoCondition(CGeoPolygon* pPolygon) { return g_Relate.AtuoRelateNoCondition(pPolygon); }
int AtuoRelateNeedIPFile(CGeoPolygon* pPolygon) { return g_Relate.AutoRelateNeedIPFile(pPolygon); }

int GetIdentificationPointCode(UINT nCode, UINT& nClassID, int& nType) {
    const CIPInfo* pInfo = g_IPTable.GetIPInfo(nCode);
    if (!pInfo) return 0;
    nClassID = pInfo->m_nClassID;
    nType = pInfo->m_nType;
    return 1;
}

void SetIdentificationPointCode(CIPInfoList& list) { g_IPTable = list; }
int IsInputIPAttributeImmediately() { return g_bInputImmediately; }
void InputIPAttributeImmediately(int bOn) { g_bInputImmediately = bOn; }

int LoadIdentificationPointFile(CString strPath, CIPInfoList& list) {
    if (strPath.IsEmpty()) return 0;
    FILE* f = std::fopen(strPath, "r");
    if (!f) return 0;
    list.ClearAll();
    int code = 0, classID = 0, type = 0;
    // A row that does not hold three numbers ends the table: reading on would never pass it.
    while (std::fscanf(f, "%d %d %d", &code, &classID, &type) == 3)
        list.AddTail(new CIPInfo(static_cast<UINT>(code), static_cast<UINT>(classID), type));
    std::fclose(f);
    return list.IsEmpty() ? 0 : 1;
}

int SaveIdentificationPointFile(CString strPath, CIPInfoList& list) {
    if (strPath.IsEmpty()) return 0;
    // Written beside the old file and renamed over it only when complete.
    CFileReplacement save;
    CString temp;
    if (!save.Add(strPath, temp)) return 0;
    FILE* f = std::fopen(temp, "wt");
    if (!f) return 0;
    bool ok = true;
    for (POSITION p = list.GetHeadPosition(); p;) {
        const CIPInfo* pInfo = static_cast<CIPInfo*>(list.GetNext(p));
        if (std::fprintf(f, "%d\t%d\t%d\n", static_cast<int>(pInfo->m_nCode), static_cast<int>(pInfo->m_nClassID),
                         pInfo->m_nType) < 0)
            ok = false;
    }
    if (std::fclose(f) != 0) ok = false;
    return ok && save.Commit() ? 1 : 0;
}

int SpacifyIdentificationPointFile(CString strPath) {
    if (strPath.IsEmpty()) {
        g_strIPFile.Empty();
        g_IPTable.ClearAll();
        return 1;
    }
    if (!LoadIdentificationPointFile(strPath, g_IPTable)) return 0;
    g_strIPFile = strPath;
    return 1;
}

CString GetIdentificationPointFile() { return g_strIPFile; }

void LoadIdentificationPointInfo() {
    if (CWinApp* pApp = AfxGetApp()) {
        const CString value = pApp->GetProfileString("Settings", "IPInfo");
        const char* s = value;
        const char* colon = std::strchr(s, ':');
        if (!value.IsEmpty() && colon) {
            // The path is everything after the first colon, blanks included; an over-long one is
            // refused whole rather than cut into another file's name.
            char* end = nullptr;
            const long flag = std::strtol(s, &end, 10);
            const bool number = end != s && end == colon;
            if (number && std::strlen(colon + 1) <= static_cast<size_t>(kMaxPathBytes)) {
                g_bInputImmediately = static_cast<int>(flag);
                g_strIPFile = colon + 1;
            }
        }
    }
    LoadIdentificationPointFile(g_strIPFile, g_IPTable);
}

void SaveIdentificationPointInfo() {
    CWinApp* pApp = AfxGetApp();
    if (!pApp) return;
    CString value;
    value.Format("%d:", g_bInputImmediately);
    value += g_strIPFile;
    pApp->WriteProfileString("Settings", "IPInfo", value);
}
