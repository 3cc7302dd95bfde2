#include "core/SharedGeoView.h"

#include "core/GeoSettings.h"

#include <cstring>

// Each thread keeps, with a count of its own, the default style it last made and the style it last
// shared otherwise: objects made or loaded one after another then find theirs without a search.
//
// It also keeps the bytes of the last style record it read and what they made of which style: the
// objects of a layer file mostly repeat one record, and bytes equal to those, read over the same style,
// give the same style again, so they are passed over instead of read field by field.
struct CSharedGeoView::ThreadCache {
    Rep* defaultRep = nullptr;
    COLORREF colour = 0, fillColour = 0;
    int pointSize = 0;
    Rep* lastRep = nullptr;
    Rep* recordFrom = nullptr;
    Rep* recordTo = nullptr;
    UINT recordLength = 0;
    BYTE record[160];
    ~ThreadCache() {
        Release(defaultRep);
        Release(lastRep);
        Release(recordFrom);
        Release(recordTo);
    }
};

CSharedGeoView::ThreadCache& CSharedGeoView::Cache() {
    thread_local ThreadCache cache;
    return cache;
}

bool SameGeoView(const GEOVIEW& a, const GEOVIEW& b) {
    return a.m_nViewType == b.m_nViewType && a.m_nPointShape == b.m_nPointShape &&
           a.m_crPointColor == b.m_crPointColor && a.m_nPointSize == b.m_nPointSize &&
           a.m_nLineShape == b.m_nLineShape && a.m_crLineColor == b.m_crLineColor &&
           std::memcmp(&a.m_fLineWidth, &b.m_fLineWidth, sizeof a.m_fLineWidth) == 0 &&
           a.m_crFillColor == b.m_crFillColor && a.m_nFillShape == b.m_nFillShape &&
           a.m_bTransparent == b.m_bTransparent && std::memcmp(a.m_bySymbol, b.m_bySymbol, sizeof a.m_bySymbol) == 0 &&
           a.m_crAnnoColor == b.m_crAnnoColor &&
           std::memcmp(a.m_szFaceName, b.m_szFaceName, sizeof a.m_szFaceName) == 0 &&
           a.m_dwTextFlags == b.m_dwTextFlags && a.m_nBufferWidth == b.m_nBufferWidth;
}

void CSharedGeoView::Release(Rep* rep) {
    if (rep && rep->refs.fetch_sub(1, std::memory_order_acq_rel) == 1) delete rep;
}

CSharedGeoView::CSharedGeoView() {
    // The default style is made from these settings alone (GEOVIEW::GEOVIEW).
    ThreadCache& c = Cache();
    const COLORREF colour = GetDefaultColor(), fillColour = GetDefaultFillColor();
    const int pointSize = GetDefaultPointSize();
    if (!c.defaultRep || c.colour != colour || c.fillColour != fillColour || c.pointSize != pointSize) {
        Release(c.defaultRep);
        c.defaultRep = new Rep(GetDefaultGEOVIEW());
        c.colour = colour;
        c.fillColour = fillColour;
        c.pointSize = pointSize;
    }
    m_pRep = c.defaultRep;
    m_pRep->refs.fetch_add(1, std::memory_order_relaxed);
}

CSharedGeoView::CSharedGeoView(const CSharedGeoView& other) : m_pRep(other.m_pRep) {
    m_pRep->refs.fetch_add(1, std::memory_order_relaxed);
}

CSharedGeoView& CSharedGeoView::operator=(const CSharedGeoView& other) {
    other.m_pRep->refs.fetch_add(1, std::memory_order_relaxed);
    Release(m_pRep);
    m_pRep = other.m_pRep;
    return *this;
}

CSharedGeoView::~CSharedGeoView() { Release(m_pRep); }

CSharedGeoView::Rep* CSharedGeoView::Share(const GEOVIEW& view, Rep* present) {
    ThreadCache& c = Cache();
    for (Rep* candidate : {present, c.lastRep, c.defaultRep}) {
        if (candidate && SameGeoView(candidate->view, view)) {
            candidate->refs.fetch_add(1, std::memory_order_relaxed);
            return candidate;
        }
    }
    Rep* rep = new Rep(view);
    rep->refs.fetch_add(1, std::memory_order_relaxed);  // the cache's count
    Release(c.lastRep);
    c.lastRep = rep;
    return rep;
}

CSharedGeoView& CSharedGeoView::operator=(const GEOVIEW& view) {
    Rep* rep = Share(view, m_pRep);
    Release(m_pRep);
    m_pRep = rep;
    return *this;
}

void CSharedGeoView::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        // A copy is written: storing sets the record version in the style it writes, and the shared one
        // is not ours alone.
        GEOVIEW view(m_pRep->view);
        view.Serialize(ar);
        return;
    }
    ThreadCache& c = Cache();
    UINT available = 0;
    const BYTE* bytes = ar.GetLoadBuffer(available);
    if (c.recordLength && c.recordFrom == m_pRep && available >= c.recordLength &&
        std::memcmp(bytes, c.record, c.recordLength) == 0) {
        ar.SkipLoaded(c.recordLength);
        c.recordTo->refs.fetch_add(1, std::memory_order_relaxed);
        Release(m_pRep);
        m_pRep = c.recordTo;
        return;
    }
    const ULONGLONG before = ar.GetLoadedCount();
    GEOVIEW view(m_pRep->view);
    view.Serialize(ar);
    const ULONGLONG length = ar.GetLoadedCount() - before;
    Rep* from = m_pRep;
    from->refs.fetch_add(1, std::memory_order_relaxed);
    *this = view;
    // The record is kept when it came whole from the buffer as seen before reading it.
    if (bytes && length <= available && length <= sizeof c.record) {
        std::memcpy(c.record, bytes, static_cast<size_t>(length));
        c.recordLength = static_cast<UINT>(length);
        Release(c.recordFrom);
        Release(c.recordTo);
        c.recordFrom = from;
        c.recordTo = m_pRep;
        m_pRep->refs.fetch_add(1, std::memory_order_relaxed);
    } else {
        Release(from);
    }
}
