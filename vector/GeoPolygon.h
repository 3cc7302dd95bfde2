// CGeoPolygon: the topological polygon, the area feature of a vector layer.
//
// A polygon holds no coordinates of its own. Its boundary is a key string of signed IDs of arcs
// (CGeoPLine objects of the same layer):
//   v > 0      the arc with ID v, walked from its first to its last point;
//   v < 0      the arc with ID -v, walked from its last point back to its first;
//   500000     (POLYGON_RING_END) ends the current ring; every ring, the last included, ends with it,
//              and values after the last ring end belong to no ring.
// The first ring is the outer boundary, every further ring a hole. Orientation and nesting are not
// checked. The border is the key string resolved: one QhPLine per key value, in the same order, a
// ring end giving a NULL arc.
//
// The polygon's feature class, symbol attributes and attribute record are those of its label point (a
// CGeoLabelPoint of the layer), linked both ways by ID: the polygon keeps the label point's ID and the
// label point the polygon's.
//
// Ring data and the use-data flag. The ring data (GetPolyData) is the coordinates of every ring one
// after the other: each arc's points in walking order (a spline arc gives its whole drawn curve), the
// last point of one arc and the first of the next both kept, so a closed ring ends on its first point.
// The process-wide use-data flag (SetUseData / GetUseData, initially 1) decides who owns it:
//   on   the polygon keeps what GetPolyData computes as its cache and owns it; GetPolyData returns the
//        cached arrays (a later call frees them and caches new ones); callers never free them.
//        Operations that need ring data compute the cache when it is missing.
//   off  nothing is cached: every GetPolyData result belongs to the caller (delete[] both arrays), and
//        operations that need ring data compute it and free it again.
// BuildBorderLine sets the flag, so right after it the flag says whether that polygon's arcs were all
// found. A polygon always frees a cache it holds when it dies, whatever the flag is then.
// The cache is recomputed only when missing: whoever edits arcs directly refreshes it by calling
// GetPolyData while the flag is on.
//
// Record (after the vector-object record; no version gate):
//   key count      archive count (16-bit, or 0xFFFF then 32-bit)
//   key values     count x 32-bit signed, ring ends included
//   label-point ID DWORD, 0 = none
// A loaded polygon has no border, ring data or point list until its layer calls BuildBorderLine.
//
// Default names: every CGeoPolygon constructed empty or from a border raises a process-wide counter
// (starting at -1) but keeps an empty name; DefaultObjectName names it "多边形 " + the counter.
#pragma once

#include "core/GeoVectorObject.h"

#include <memory>

class CGeoPLine;
class CGeoPoint;
class CGeoLabelPoint;
class CGeoVectorLayer;

// The key value that ends a ring.
#define POLYGON_RING_END 500000

// One resolved key value.
struct QhPLine {
    CGeoPLine* arc = nullptr;  // the arc of the layer; NULL for a ring end and for an arc not found
    int forward = 0;           // non-zero: walked first to last point; 0: reversed (unused at a ring end)
};

typedef CArray<LONG, LONG> CGeoKeyString;
typedef CArray<QhPLine, QhPLine> CGeoPolyBorder;
typedef CTypedPtrList<CObList, CGeoPoint*> CGeoPointList;
typedef CTypedPtrList<CObList, CGeoPLine*> CGeoArcList;

// The process-wide use-data flag (see the top of this file).
void SetUseData(int bUseData);
int GetUseData();

class CGeoPolygon : public CGeoVectorObject {
    DECLARE_SERIAL(CGeoPolygon)

public:
    // Empty; raises the polygon counter; empty name.
    CGeoPolygon();
    // As above, then SetKeyString (border).
    explicit CGeoPolygon(CGeoPolyBorder& border);
    // ConstructPolygonFromLineList (lines), then RecalcBounds; not counted, the name stays the default
    // object name.
    explicit CGeoPolygon(CGeoArcList& lines);
    // Frees a ring cache it holds; listed points are not deleted.
    ~CGeoPolygon() override;

    void Serialize(CArchive& ar) override;

    // ---- measures (virtual) ----

    // RecalcArea, then the stored area.
    virtual double Area();
    // Sum over the rings of Ostrel PolyLineLength (ring, size, 1); 0 without ring data.
    virtual double Length();

    // ---- key string and border ----

    // A copy of the key string; with bSorted, of the sorted copy (absolute values, ring ends included,
    // ascending). The first sorted request builds that copy, and SetKeyString keeps it current from
    // then on.
    void GetKeyString(CGeoKeyString& out, int bSorted);
    void GetPolyBorder(CGeoPolyBorder& out) const;
    // Takes the keys and rebuilds the border through the layer's FindObj (|v|): a ring end, an ID not
    // found, an object that is not a CGeoPLine, or a polygon without a vector layer give a NULL arc.
    // Refreshes the sorted copy when it is in use; then RecalcBounds.
    void SetKeyString(CGeoKeyString& keys);
    // Takes the border and rebuilds the keys: {arc, non-zero} the arc's ID, {arc, 0} minus it, {NULL, any}
    // a ring end. Refreshes the sorted copy when it is in use; then RecalcBounds.
    void SetKeyString(CGeoPolyBorder& border);
    // As the previous one, without refreshing the sorted copy.
    void SetBorderLine(const CGeoPolyBorder& border);
    // Resolves the key string against the owning layer: the flag becomes 1, then 0 when any arc is
    // missing (not found or not a CGeoPLine); ring ends never ask the layer. Then RecalcBounds.
    void BuildBorderLine();
    // The ring data (see the top of this file): *ppPoints, *ppRingSizes, nRingCount. NULL, NULL, 0 when
    // the key string is empty or any arc of the border is missing (a cache is then left as it was).
    void GetPolyData(POINT** ppPoints, int** ppRingSizes, int& nRingCount) const;
    // Appends the rings of a list of arcs in which a NULL entry closes each ring (arcs after the last
    // NULL are ignored; an empty ring adds nothing).
    void ConstructPolygonFromLineList(CGeoArcList& lines);
    // Orients the arcs of one ring by their shared ends (Ostrel EqualPoint) and appends them, a closing
    // {NULL, 0} and the keys with their ring end to the arrays. The arcs must be listed in ring order;
    // whether the ring closes is not checked. An empty list appends nothing.
    static void ConstructOnePolygonFromLineList(CGeoArcList& ringLines, CGeoPolyBorder& border, CGeoKeyString& keys);

    // ---- topology queries ----

    // 1 when the border holds that arc.
    int IsPartOf(const CGeoPLine* pArc) const;
    // The first other polygon of the layer (head to tail) whose bounds meet this one's (touching edges
    // count) and whose border holds the arc; NULL when none or without a vector layer.
    CGeoPolygon* GetNeighbourPolygon(const CGeoPLine* pArc) const;
    // Where p lies on the arc: 0 outside the arc's bounds grown by 1; -1 at both its first and last point
    // (a closed arc); -2 at its first point; -3 at its last; else the index 1 .. n - 2 of the first inner
    // point equal to p; 0 when none. NULL gives 0.
    static int GetHandlePosOnLine(const CGeoPLine* pArc, CPoint p);
    // The 1-based index of the first cached ring point equal to p, -1 when none. They read the cache
    // (computed first when missing while the flag is on; with the flag off and no cache: none).
    int IsHandle(POINT p) const;
    // Appends the 1-based index of every cached ring point equal to p; 1 when any.
    int IsHandle(POINT p, CGeoKeyString& out) const;

    // ---- label point and point list ----

    // NULL unlinks the label point. Otherwise links lp: when lp names another polygon of the layer, that
    // polygon loses its label point; then lp names this polygon.
    void SetLabelPoint(CGeoLabelPoint* pLabel);
    // Turns a plain point of the layer into this polygon's label point: a new CGeoLabelPoint at its
    // position takes its place, IDs, class, style, unit and Z in the layer and in the point list; the
    // point is deleted. Returns the label point's position. Without a vector layer holding the point,
    // nothing changes and the point's position is returned.
    POINT SetLabelPoint(CGeoPoint* pPoint);
    // The label point: NULL for ID 0; in a layer the object with that ID when it is a CGeoLabelPoint
    // (else NULL); without a layer the point last linked.
    CGeoLabelPoint* GetLabelPoint() const;
    DWORD GetLabelPointID() const { return m_dwLabelPointID; }
    // The point list: points of the layer that lie inside the polygon. Not owned.
    void AddPoint(CGeoPoint* pPoint);
    int GetPointCount() const { return m_pExtras ? m_pExtras->points.GetCount() : 0; }
    void GetPointList(CGeoPointList& out) const;
    void ReleasePoints() {
        if (m_pExtras) m_pExtras->points.RemoveAll();
    }
    // 0 for label-point ID 0; else appends the listed label points to out, 1 when out is then not empty.
    int GetLabelPointList(CGeoPointList& out) const;
    int GetLabelPointCount() const;

    // ---- measures ----

    // Outer ring's Ostrel PolygonArea minus each hole's; 0 without rings.
    void RecalcArea();
    // Sum over the rings of the distances between consecutive ring points.
    void RecalcPerimeter();
    double GetPerimeter();

    // ---- overrides ----

    // Bounds of the outer ring's arcs (the border up to its first NULL entry); empty without arcs.
    void RecalcBounds() override;
    // Centre of the bounds, (a + b) / 2 in floating point truncated toward zero.
    CPoint GetVisiblePoint() const override;
    // "多边形".
    CString GetObjectTypeName() const override;
    // "多边形 " + the polygon counter.
    void DefaultObjectName() override;
    // NULL: a topological polygon cannot be duplicated.
    CGeoObject* Duplicate(int withAttribute, int withRecord) override;
    // 0, nothing copied.
    int CopyData(const CGeoVectorObject& src) override;
    // The vector-object part only; the ring cache is not converted.
    void OnUnitChanged(int nOldUnit) override;
    // 0: a polygon offers no snap point (its arcs do).
    int GetSnapPointA(CPoint& point, CRect rect, int& nIndex, SNAPTYPE type, LONG lParam) override;

    // ==== What the layer asks of a polygon (GeoPolygonLayer.cpp) ====

    // BuildBorderLine; when every arc was found the ring data is read and the polygon stays (1), else 0
    // and the layer drops it.
    int OnLayerLoaded() override;
    // A polygon of exactly this class with a label-point ID hands its label point back to the layer as
    // a plain CGeoPoint at the same place (Replace; the label point is deleted when it was listed there,
    // else left as it is) and unlinks it. Derived classes do nothing here.
    void OnDeleteFromLayer(CGeoVectorLayer* pLayer) override;
    // The label point, which keeps the polygon's record; NULL without one.
    CGeoVectorObject* GetAttributeCarrier() override;
    // 1: polygons are found after everything lying on them.
    int IsFoundLast() const override;
    // IsPartOf for a CGeoPLine, else 0.
    int UsesBorderArc(const CGeoVectorObject* pArc) const override;
    // The arcs of the border entries, in border order.
    void GetBorderArcs(std::vector<const CGeoVectorObject*>& arcs) const override;
    // Bounds meet the square of 10 units about p (touching counts) and IsHandle (p) is not -1.
    int HasHandleNear(POINT p) const override;
    // Bounds meet that square and an arc of the key string, found by its ID in pLayer and a CGeoPLine,
    // has p at an end or a vertex (GetHandlePosOnLine not 0).
    int HasBorderPointAt(POINT p, CGeoVectorLayer* pLayer) const override;

    // ==== Style, drawing, handles and editing (GeoPolygonDraw.cpp) ====
    // All of them take the ring data as the use-data flag says (see the top of this file).

    // The style comes from the label point. Without a label-point ID: the fill shape, fill colour, line
    // shape, line colour and transparent flag of the default polygon settings, the rest of view kept (0).
    // With an ID whose label point is not found: -1 (the general resolution goes on with the polygon).
    // Otherwise by display attribute (word 1 of ds): 0 the layer's style (-1 without a vector layer), 1 the
    // label point's class style, 2 its own style (GetSelfGeoView), 3 the attribute-display style, cached
    // in the polygon and asked of the layer for the label point when the cache is stale, the refresh
    // flag is on or the label point's cache is stale (the label point's own style when no rule applies);
    // these return 0. 4 gives -1; any other value 0 with view untouched.
    int OnGetGeoViewBegin(GEOVIEW& view, tagDisplayState ds) override;
    // Show state 0: fill shape 0, line colour 0, line width 0; 1: fill shape 0, line colour 0x0000FF,
    // line width 5; 2: fill shape 4, fill colour 0; 3: fill shape 4, fill colour 0x00FF00; others nothing.
    void OnPrepareGeoView(GEOVIEW& view, SHOWSTATE state) override;
    // The style's fill symbol.
    int GetObjectSymbolID(GEOVIEW view) const override;
    // The label point's class when there is a label point, else the polygon's own.
    UINT GetObjectClassID() const override;
    // Symbol attributes are the label point's when there is one, else the polygon's own.
    WORD PrepareSymbolAttribute(CSymbolLibIO* pLib, int nSymbol, int keepColours, DWORD crColour) override;
    CSymbolAttrib GetSymbolAttribute(CSymbolLibIO* pLib, int nSymbol) const override;
    CSymbolAttrib GetSymbolAttribute(CSymbolLibIO* pLib) const override;
    void SetSymbolAttribute(DWORD dwItemID, CString strName, tagVM_SYM_VARIANT value) override;
    void SetSymbolAttribute(int nItem, tagVM_SYM_VARIANT value) override;
    void SetSymbolAttribute(CSymbolAttrib attrib) override;
    void SetSymbolAttributeMark(int nKind, int bOn) override;

    // Symbolised: the style's fill symbol over all rings (ring sizes as parts), mode -300 with xorMode
    // else 13, with a copy of the label point's (else the polygon's) prepared symbol attributes, whose
    // mask is set back afterwards. No symbol, no library or a library failure: the plain painter.
    void OnDrawWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset, const GEOVIEW& view,
                                 RECT* pClip, int xorMode, int nWord8, void* pSymbolLib, int keepColours) override;
    // Plain: filled without outline (the arcs draw the border): the null pen, a solid brush of the fill
    // colour for Caddox fill shape -1, else a hatch of that style; R2_NOTXORPEN with xorMode, else
    // R2_COPYPEN; a transparent style adds R2_MASKPEN (without xorMode) and a transparent background,
    // else an opaque one. One ring: Polygon; more: PolyPolygon (alternate filling, so holes stay empty).
    // The DC's state is put back.
    void OnDrawWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                    const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8,
                                    int scaleWidths) override;
    // A polygon neither hides nor blinks.
    void OnHideWithSymbolization(CDC*, UINT, UINT, CPoint, const GEOVIEW&, RECT*) override {}
    void OnHideWithoutSymbolization(CDC*, UINT, UINT, CPoint, const GEOVIEW&, RECT*) override {}
    void OnBlinkWithSymbolization(CDC*, UINT, UINT, CPoint, const GEOVIEW&, RECT*) override {}
    void OnBlinkWithoutSymbolization(CDC*, UINT, UINT, CPoint, const GEOVIEW&, RECT*) override {}
    // The fill symbol over the rings in millimetres through the outputer. 1 when the library did it; 0
    // when it failed, an argument is NULL, the style has no fill symbol or there are no rings.
    int OnSymbolizeOutput(CSymbolLibIO* pLib, CSymbolOutputer* pOutputer, CCoordsConverter* pConverter,
                          GEOVIEW* pView) override;

    // Handles are the ring points of all rings in order, numbered from 1 (junction points twice, every
    // ring's closing point included). A number outside 1 .. count gives (0, 0).
    int GetHandleCount() const override;
    CPoint GetHandle(int nHandle) const override;
    // CanBeEdited; handles are never deleted or added.
    int CanMoveHandle(int nHandle) const override;
    int CanDeleteHandle(int nHandle) const override;
    int CanAddHandle(int nHandle) const override;
    void DeleteHandle(int nHandle) override;
    void AddHandle(int nHandle) override;
    // Moves the shared vertex at handle h to p everywhere in the layer (nothing without a vector layer,
    // when not editable or for a handle number outside the handles):
    //   flag on   every polygon with a ring point at h has those cached points moved; then every
    //             polyline of the layer with an end or vertex at h has it moved (both ends of a closed
    //             one), and the polygons' bounds are recomputed;
    //   flag off  the first arc of the border holding h decides: an inner vertex moves in that arc alone
    //             (this polygon's and its neighbour's bounds recomputed); an arc end (a node) moves in
    //             every polyline of the layer as above, with the polygons through that point recomputed.
    void MoveHandleTo(int nHandle, CPoint point) override;
    // Offsets the cached ring points and the bounds (only while the flag is on, when CanMove and d is not
    // zero). The arcs move as objects of the layer.
    void Move(CSize d) override;
    // While the flag is on: every cached ring point through the common transformation (unit to metres
    // plus (x0, y0), the transformer, less its second offsets for a CBaseCoordinateTransformer, back to
    // the unit, truncated); the bounds become those of all ring points.
    void Transform(CGeoCoordinateTransformer& transformer, double x0, double y0) override;
    // SELOBJ_INSIDE: the bounds test of CGeoObject. Otherwise 0 unless EnvelopmentIntersects; bounds
    // that are a point or a segment: whether the rectangle holds or meets it; a rectangle spanning the
    // bounds' whole height or width: 1; else the outer ring must meet the rectangle clipped to the
    // bounds and no hole may meet it (0 without rings).
    int Intersects(const CRect& rect, SELOBJMODE mode) const override;

protected:
    // The polygon's vector layer, NULL when it has none.
    CGeoVectorLayer* GetVectorLayer() const;
    // The arc with ID |v| of the layer; NULL when none or not a CGeoPLine.
    CGeoPLine* FindArc(LONG v) const;
    void RebuildSortedKeys();
    void FreeCache() const;
    // While the flag is on, computes the cache when it is missing.
    void EnsureCache() const;

    // Ring data as the flag says: the cache (computed when missing) or a fresh copy freed on
    // destruction.
    class Rings {
    public:
        explicit Rings(const CGeoPolygon& polygon);
        ~Rings();
        Rings(const Rings&) = delete;
        Rings& operator=(const Rings&) = delete;
        POINT* points = nullptr;
        int* sizes = nullptr;
        int count = 0;
        int total = 0;

    private:
        bool owned_ = false;
    };

    // The key string and the border in one block of m_nKeys entries: entry i holds key i, and for
    // i < m_nBorder border entry i (arc and direction). The border is never longer than the key string
    // and as long once set or resolved; a loaded polygon has none until BuildBorderLine.
    struct Entry {
        CGeoPLine* arc;
        LONG key;
        int forward;
    };
    std::unique_ptr<Entry[]> m_pEntries;
    int m_nKeys = 0;
    int m_nBorder = 0;
    // A block of nKeys entries in place of the present one, the keys and border entries that fit kept;
    // the border is cut to nKeys.
    void ResizeEntries(int nKeys);
    // Keys and border both from border (KeyOf each entry).
    void TakeBorder(const CGeoPolyBorder& border);
    // What most polygons never use, made the first time it is: the sorted copy of the keys (once asked
    // for) and the point list.
    struct Extras {
        CGeoKeyString sortedKeys;
        bool sortedValid = false;
        CGeoPointList points;
    };
    std::unique_ptr<Extras> m_pExtras;
    Extras& GetExtras();
    bool SortedKeysValid() const { return m_pExtras && m_pExtras->sortedValid; }
    // The ring cache: while the points are not NULL the ring sizes lie in the same block, after them.
    mutable POINT* m_pRingPoints = nullptr;
    mutable int* m_pRingSizes = nullptr;
    mutable int m_nRingCount = 0;
    DWORD m_dwLabelPointID = 0;
    mutable CGeoLabelPoint* m_pLabelPoint = nullptr;
    double m_dArea = 0.0;
    double m_dPerimeter = 0.0;

    static int s_nPolygonCount;
};
