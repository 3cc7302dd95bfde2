// CGeoPolygon2: a simple area bounded by one closed chain of polylines.
//
// Unlike the topological polygon it has a single ring, no holes and no label point. It keeps the border
// lines themselves in ring order (not owned: they belong to the layer) and their layer IDs, which are
// all its record stores. Each line shares an end point with the next one, the last with the first; a
// line may run either way. Point equality along the chain is exact.
//
// The ring is never reshaped through the polygon: handles can be read but not moved, added or deleted.
//
// Record (after the vector-object record; no version gate):
//   ID count     archive count (16-bit, or 0xFFFF then 32-bit)
//   IDs          count x DWORD
// A loaded polygon has no border lines until BuildBorderLine resolves the IDs in its layer.
//
// Default names: every construction raises a process-wide counter (starting at -1) and leaves the name
// empty; DefaultObjectName names it "多边形 " + the counter.
#pragma once

#include "core/GeoVectorObject.h"

class CGeoPLine;

typedef CTypedPtrList<CObList, CGeoPLine*> CGeoPLineList;

class CGeoPolygon2 : public CGeoVectorObject {
    DECLARE_SERIAL(CGeoPolygon2)

public:
    CGeoPolygon2();
    // SetBorderLine (lines).
    explicit CGeoPolygon2(const CGeoPLineList& lines);
    // The lines are not deleted.
    ~CGeoPolygon2() override;

    void Serialize(CArchive& ar) override;

    // The base overloads stay reachable beside the ones added here.
    using CGeoVectorObject::Intersects;
    using CGeoVectorObject::OnHideWithSymbolization;
    using CGeoVectorObject::OnHideWithoutSymbolization;
    using CGeoVectorObject::OnBlinkWithSymbolization;
    using CGeoVectorObject::OnBlinkWithoutSymbolization;

    // 1 when the ring (GetPolygonPoints) meets the rectangle (boundary and inside count); 0 when it does
    // not or the chain is broken.
    virtual int Intersects(const CRect& rect);
    // This polygon neither hides nor blinks.
    virtual void OnHideWithSymbolization(CDC*, UINT, CPoint, const GEOVIEW&, RECT*) {}
    virtual void OnHideWithoutSymbolization(CDC*, UINT, CPoint, const GEOVIEW&, RECT*) {}
    virtual void OnBlinkWithSymbolization(CDC*, UINT, CPoint, const GEOVIEW&, RECT*) {}
    virtual void OnBlinkWithoutSymbolization(CDC*, UINT, CPoint, const GEOVIEW&, RECT*) {}

    // ---- border ----

    // The border becomes these lines in order, the IDs their GetID values; then RecalcBounds.
    void SetBorderLine(const CGeoPLineList& lines);
    // Resolves the IDs through the layer's FindObj into the border. When an ID is not found or names
    // no CGeoPLine (or the polygon has no vector layer) the border stays empty, the IDs are kept and the
    // bounds are left as they are; otherwise RecalcBounds.
    void BuildBorderLine();
    const CGeoPLineList& GetBorderLines() const { return m_Lines; }
    const CDWordArray& GetLineIDs() const { return m_IDs; }

    // The ring in the polygon's unit: count handles (GetHandleCount) plus the closing point, so
    // points[count] == points[0] for a closed chain. The first line runs forward when its last point is
    // an end of the second line (a single line always runs forward); every further line must start or
    // end at the current chain end. 1 with a new[] array the caller frees (delete[]); 0 with points
    // NULL and count 0 when the border is empty, a line has no points or the chain is broken.
    int GetPolygonPoints(POINT*& points, int& count) const;

    // The ring that encloses this one; not owned. NULL when none.
    CGeoPolygon2* GetOutPolygon() const { return m_pOutPolygon; }
    void SetOutPolygon(CGeoPolygon2* pOut) { m_pOutPolygon = pOut; }

    // ---- overrides ----

    // A new CGeoPolygon2 filled by Copy (so CopyData); NULL when the copy fails.
    CGeoObject* Duplicate(int withAttribute, int withRecord) override;
    // 0 when the vector-object part refuses. Otherwise the border is emptied and, when this polygon
    // belongs to a layer and src is a CGeoPolygon2, each of src's lines is duplicated, added to that
    // layer (which gives it its ID) and appended with its new ID. Without a layer the border stays
    // empty. Then RecalcBounds; 1.
    int CopyData(const CGeoVectorObject& src) override;
    // The union of the lines' bounds, each converted from millimetres to the polygon's unit; empty
    // without lines.
    void RecalcBounds() override;
    // Centre of the bounds, (a + b) / 2 in floating point truncated toward zero.
    CPoint GetVisiblePoint() const override;
    // When CanMove and d is not zero: every border line moves by d converted to its unit, then the
    // bounds are offset by d.
    void Move(CSize d) override;
    // The sum of the lines' handle counts less one per line (each junction once, the closing point
    // not repeated); 0 without lines.
    int GetHandleCount() const override;
    // Ring vertex i (1-based) in the polygon's unit: handle i walks the lines, each line after the first
    // sharing its first handle with the previous one; i = GetHandleCount () + 1 is the closing point.
    // (0, 0) for i <= 0, beyond the ring or along a broken chain.
    CPoint GetHandle(int nHandle) const override;
    // The size-all cursor.
    HCURSOR GetHandleCursor(int nHandle) const override;
    // The ring cannot be reshaped: 0, and the edits do nothing.
    int CanMoveHandle(int nHandle) const override;
    int CanDeleteHandle(int nHandle) const override;
    int CanAddHandle(int nHandle) const override;
    void MoveHandleTo(int nHandle, CPoint point) override;
    void DeleteHandle(int nHandle) override;
    void AddHandle(int nHandle) override;
    // State 0: fill shape 0, line colour 0, line width 1.0; 1: fill shape 0, line colour 0x0000FF, line
    // width 10.0; 2: fill shape 4, fill colour 0; 3: fill shape 4, fill colour 0x00FF00; others nothing.
    void OnPrepareGeoView(GEOVIEW& view, SHOWSTATE state) override;
    // Draws nothing.
    void OnDrawWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset, const GEOVIEW& view,
                                 RECT* pClip, int xorMode, int nWord8, void* pSymbolLib, int keepColours) override;
    // The ring with the style's pen (Caddox line shape, width the line width truncated, line colour) and
    // brush (fill shape 0: solid in the fill colour; 1 .. 5: that hatch style; any other value: solid).
    // A transparent style fills with R2_MASKPEN and no pen, then outlines with R2_COPYPEN and no brush;
    // otherwise one Polygon with both. Nothing for a broken chain. The DC's state is put back.
    void OnDrawWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                    const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8,
                                    int scaleWidths) override;
    // The style's fill symbol.
    int GetObjectSymbolID(GEOVIEW view) const override;
    // "多边形".
    CString GetObjectTypeName() const override;
    // "多边形 " + the counter.
    void DefaultObjectName() override;
    // The vector-object part only (the lines keep their own units).
    void OnUnitChanged(int nOldUnit) override;

private:
    // A point of pLine converted from its unit to the polygon's.
    POINT ToOwnUnit(const CGeoPLine* pLine, POINT p) const;

    CGeoPLineList m_Lines{10};
    CDWordArray m_IDs;
    CGeoPolygon2* m_pOutPolygon = nullptr;

    static int s_nPolygon2Count;
};
