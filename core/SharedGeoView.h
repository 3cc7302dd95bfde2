// CSharedGeoView: a vector object's own display style, held as a pointer to one counted copy that every
// object with an equal style shares.
//
// A layer's objects nearly always carry the same own style (the default one, or the one they were
// loaded with), and a GEOVIEW is 104 bytes: held by value it was the largest part of a small object.
// Sharing is invisible to callers: a style is read as a const GEOVIEW and replaced whole (Set, Load),
// never changed in place, so no object sees another's change. Equal means every field that a copy
// carries (GEOVIEW::operator=), so the record written from a shared style has the bytes of the object's
// own. The counts are atomic, so objects that share a style may live on different threads.
#pragma once

#include "core/GeoView.h"

#include <atomic>

class CSharedGeoView {
public:
    // GetDefaultGEOVIEW (): shared while the default colours and point size stay as they are.
    CSharedGeoView();
    CSharedGeoView(const CSharedGeoView& other);
    CSharedGeoView& operator=(const CSharedGeoView& other);
    ~CSharedGeoView();

    const GEOVIEW& Get() const { return m_pRep->view; }
    operator const GEOVIEW&() const { return m_pRep->view; }

    // Takes the style; shares an equal one where it can.
    CSharedGeoView& operator=(const GEOVIEW& view);

    // GEOVIEW::Serialize: loading reads the record over a copy of the present style (fields of parts the
    // record does not carry keep their values, as they would in place) and shares the result.
    void Serialize(CArchive& ar);

private:
    struct Rep {
        explicit Rep(const GEOVIEW& v) : view(v) {}
        std::atomic<int> refs{1};
        GEOVIEW view;
    };
    struct ThreadCache;
    static ThreadCache& Cache();
    // The rep holding a style equal to view (the present one, or one recently shared), else a new one;
    // returned with a count taken for the caller.
    static Rep* Share(const GEOVIEW& view, Rep* present);
    static void Release(Rep* rep);

    Rep* m_pRep;
};

// Whether two styles hold the same values in every field that a copy carries (m_fVersion, which a copy
// does not carry, is not compared).
bool SameGeoView(const GEOVIEW& a, const GEOVIEW& b);
