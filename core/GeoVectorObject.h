// CGeoVectorObject: the base of every vector feature (points, lines, closed shapes, polygons,
// annotations).
//
// It adds to the accessorial object the feature-class ID, the object's own display style (GEOVIEW),
// which style it is drawn with (DISPLAYATTR), a Z value, the marks for dangling line ends and false
// nodes, the symbol attributes that override a symbol's defaults (CSymbolAttrib), and a cache for the
// style computed from attribute values. It declares the virtual interface every shape implements:
// symbol attributes, copying, snapping, the drawing hooks, symbolised output, and the point-and-height
// contract through which terrain code takes vertices from vector objects (GetPoint, GetX, GetY, GetZ,
// SetZ, GetPoints, GetTinPointNumber, CreateTinPoints).
//
// Record (Serialize), after the CGeoAccessorialObject part:
//   feature-class ID      DWORD
//   display attribute     DWORD: storing writes the effective attribute (GetDisplayAttribute, 1 or 2)
//                         and also keeps it in the object; loading takes the value as stored
//   Z                     8-byte double
//   symbol attributes     SerializeSymbolAttribute: the CSymbolAttrib record; records older than 1.31
//                         hold the old form instead (below)
//   own view              the GEOVIEW record (GEOVIEW::Serialize), only when the display attribute is 2
// Old form of the symbol attributes (records before 1.31): present only when bit 0 of the flag byte is
// set (the flag byte itself exists from 1.15): DWORD symbol-attribute flag, and when its bit 0 is set a
// DWORD symbol width in 0.01 mm, which becomes item 4 of the symbol attributes with mask bit 0x04.
#pragma once

#include "core/DisplayState.h"
#include "core/GeoAccessorialObject.h"
#include "core/GeoView.h"
#include "core/SharedGeoView.h"

#include <quenby/SymbolAttrib.h>

#include <memory>
#include <vector>

class CDC;
class CGeoGClass;
class CSymbolLibIO;
class CSymbolOutputer;
class CCoordsConverter;
class CVMSymbolOutputer;
class CGeoVectorLayer;
class CGeoTinPoint;
class CGeoPLine;
class CTPropertySheet;
struct tagPropertyParam;

// Which style an object is drawn with.
enum DISPLAYATTR : int {
    DISPLAYATTR_LAYER = 0,      // the layer's style
    DISPLAYATTR_GCLASS = 1,     // the feature class's style
    DISPLAYATTR_SELF = 2,       // the object's own view
    DISPLAYATTR_ATTRIBUTE = 3,  // the style computed from the object's attribute values
};

// Dangle bits (GetDangleType): dangling-end and false-node marks at the two ends of a line.
#define DANGLE_FIRST 0x01
#define DANGLE_LAST 0x02
#define FALSENODE_FIRST 0x08
#define FALSENODE_LAST 0x10

class CGeoVectorObject : public CGeoAccessorialObject {
    DECLARE_SERIAL(CGeoVectorObject)

public:
    // Feature-class ID 0, cleared symbol attributes, the own view GetDefaultGEOVIEW (), display attribute
    // 2, no dangle bits, symbol-attribute flag 0, attribute-display cache not valid, Z 0.0, width 0.
    CGeoVectorObject();
    ~CGeoVectorObject() override;

    void Serialize(CArchive& ar) override;

    // ---- virtual operations added here ----

    // Stores the CSymbolAttrib record; loads it when the record's version is 1.31 or more, else the old
    // form (see the top of this file).
    virtual void SerializeSymbolAttribute(CArchive& ar);
    // "矢量对象" for the base; each shape names its kind.
    virtual CString GetObjectTypeName() const;
    // Recomputes the bounds from the shape's coordinates; the base has none and does nothing.
    virtual void RecalcBounds();
    // CanBeEdited.
    virtual int CanEditSymbolAttribute() const;
    // Lets the user set the old-style symbol width (0.01 mm) in the value input dialog, captioned
    // "设置符号属性" with the unit "0.01毫米". The field starts at the width when bit 0 of the
    // symbol-attribute flag is set; otherwise, when pLib and nSymbol are given and the library lets the
    // symbol take a width (GetSupportSymAttribMask bit 0x04), at the object's width item (slot 4, whose
    // name becomes the label); otherwise at 0, labelled "符号宽度". After OK a non-zero value sets bit 0
    // and becomes the width, 0 clears bit 0 and leaves the width; result 1. Result 0 after cancel, and
    // without a dialog when CanEditSymbolAttribute is 0. The third argument is not read.
    virtual int EditSymbolAttribute(CSymbolLibIO* pLib, int nSymbol, int nReserved);
    // The feature-class ID.
    virtual UINT GetObjectClassID() const;
    // Copies the source's symbol attributes; 1.
    virtual int CopySymbolAttribute(const CGeoVectorObject& src);
    // Gets the symbol attributes ready for drawing and returns the mask as it was, which the painter
    // restores afterwards: when keepColours is 0 and mask bit 0x02 is clear, the mask gains 0x02 and
    // item 1 becomes crColour (a colour variant). The library and the symbol are not read.
    virtual WORD PrepareSymbolAttribute(CSymbolLibIO* pLib, int nSymbol, int keepColours, DWORD crColour);
    // The symbol's own attributes overridden by the object's: with no library or symbol 0 a copy of the
    // object's record; otherwise the library's record for the symbol, where every item the object sets
    // (type not 0) replaces the library's (slots 0 to 8 by index, later items by ID), with the object's
    // mask.
    virtual CSymbolAttrib GetSymbolAttribute(CSymbolLibIO* pLib, int nSymbol) const;
    // The same for the object's symbol (GetSymbolID (NULL)); a copy of the object's record when pLib is
    // NULL.
    virtual CSymbolAttrib GetSymbolAttribute(CSymbolLibIO* pLib) const;
    // Sets the item with that ID; when the record has none, adds an item with the name, ID and value.
    virtual void SetSymbolAttribute(DWORD dwItemID, CString strName, tagVM_SYM_VARIANT value);
    // Sets the item at the index (slot numbers 0 to 8, then added items); a bad index changes nothing.
    virtual void SetSymbolAttribute(int nItem, tagVM_SYM_VARIANT value);
    // Replaces the whole record.
    virtual void SetSymbolAttribute(CSymbolAttrib attrib);
    // Sets (bOn != 0) or clears the mask bit of an item kind: 0 0x001, 1 0x002, 2 0x080, 3 0x010,
    // 4 0x004, 5 0x008, 6 0x020, 7 0x100, 8 0x400, any other kind 0x200; a negative kind does nothing.
    virtual void SetSymbolAttributeMark(int nKind, int bOn);
    // Takes the source's feature class, style and attribute record into this object's layer. It needs
    // the source in a vector layer; without one it returns 0 and changes nothing.
    virtual int CopyAttribute(const CGeoVectorObject& src, int bWithRecord);
    // Copies bounds, unit and Z, then the virtual CopySymbolAttribute; 1.
    virtual int CopyData(const CGeoVectorObject& src);
    // Snapping hook of the editing interface; the base snaps to nothing (0).
    virtual int GetSnapPointA(CPoint& point, CRect rect, int& nIndex, SNAPTYPE type, LONG lParam);
    // Adjusts a resolved style for a show state; the base does nothing.
    virtual void OnPrepareGeoView(GEOVIEW& view, SHOWSTATE state);

    // Painting hooks: the shape draws itself in device coordinates of pDC (origin and offset as in
    // CGeoObject::RPtoLP). With symbols through the library pSymbolLib (a CSymbolLibIO*), keeping the
    // symbol's colours when keepColours is set; without symbols from the style alone, line widths scaled
    // by scale2 / scale when scaleWidths is set. xorMode draws so that a second drawing removes it.
    // The base bodies draw nothing.
    virtual void OnDrawWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                         const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8,
                                         void* pSymbolLib, int keepColours);
    virtual void OnDrawWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                            const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8,
                                            int scaleWidths);
    virtual void OnHideWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, const GEOVIEW& view,
                                         RECT* pClip);
    virtual void OnHideWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin,
                                            const GEOVIEW& view, RECT* pClip);
    virtual void OnBlinkWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, const GEOVIEW& view,
                                          RECT* pClip);
    virtual void OnBlinkWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin,
                                             const GEOVIEW& view, RECT* pClip);

    // Property-sheet hooks: a shape adds its own pages and takes their results; the base does nothing.
    virtual void OnAddPropertyPage(CTPropertySheet* pSheet, tagPropertyParam* pParam, int nFlag);
    virtual void OnPropertyPageOK();
    virtual void OnPropertyPageCancel();
    // The vector-object property sheet "矢量对象属性" over this object (core/DialogHooks.h), view-only
    // when bViewOnly is nonzero; pParam (may be NULL) gives the style pages their symbol library. After
    // OK the sheet's edits are written back in this order: the feature class (SetObjectClassID, on a
    // topological polygon's label point when it has one), the name, the face flag of a closed line,
    // three-point circle or polygon line, a spline's interpolation count when above 0, Z, a point's
    // direction (0 unless its class is directed), the edited style (to the label point and the object),
    // then OnPropertyPageOK; result 1. A view-only sheet writes nothing back before OnPropertyPageOK.
    // After a cancel OnPropertyPageCancel; result 0.
    virtual int NewEditProperties(int bViewOnly, tagPropertyParam* pParam);

    // Mirrors the coordinates about the line through a and b (object coordinates of the layer); the base
    // has none (0).
    virtual int OnMirror(POINT a, POINT b);
    // The virtual RecalcBounds.
    virtual void AfterMirrorRecalcBounds();
    // Decomposes the symbolised object into plain objects through the outputer; the base outputs
    // nothing (0).
    virtual int OnSymbolizeOutput(CSymbolLibIO* pLib, CSymbolOutputer* pOutputer, CCoordsConverter* pConverter,
                                  GEOVIEW* pView);
    // The symbol number of the style that applies to this kind of shape; the base has none (0).
    virtual int GetObjectSymbolID(GEOVIEW view) const;

    // Point-and-height contract with the terrain code. The base has no vertices: point (0, 0), X and Y 0,
    // no points, no TIN points; every vertex has the object's Z.
    virtual CPoint GetPoint(int nIndex) const;
    virtual int GetX(int nIndex) const;
    virtual int GetY(int nIndex) const;
    virtual double GetZ(int nIndex = 0) const;
    virtual void SetZ(double z);
    virtual int GetPoints() const;
    // The virtual GetPoints.
    virtual LONG GetTinPointNumber() const;
    // Fills TIN vertices from cursor on (advancing it) for the object's points, with their squared
    // distance to the reference point; returns how many. The base has none (0).
    virtual LONG CreateTinPoints(CGeoTinPoint*& pCursor, CPoint& reference);

    // ---- how a layer treats each kind of shape ----
    // The layer asks these instead of knowing the shapes: a shape whose layer must act on it (a
    // topological polygon and its label point, a line that converts) overrides them.

    // After the layer has listed and linked every object it loaded: 1 keeps the object; 0 makes the
    // layer take it out with its record (whatever the editable flag) and delete it. The base keeps it.
    virtual int OnLayerLoaded();
    // Before pLayer takes the object out of its list (Delete): the shape settles what other objects
    // of that layer hold of it. The base does nothing.
    virtual void OnDeleteFromLayer(CGeoVectorLayer* pLayer);
    // The object whose attribute record stands for this one: the base is its own carrier; a shape that
    // keeps its record on another object returns that object, NULL when it has none.
    virtual CGeoVectorObject* GetAttributeCarrier();
    // 1 for a shape that covers what lies on it and is therefore found after every other kind by a
    // rectangle search; the base 0.
    virtual int IsFoundLast() const;
    // Neighbourhood queries of topological polygons; the base takes part in none (0).
    // Whether the arc is one of the shape's border arcs (NULL: 0).
    virtual int UsesBorderArc(const CGeoVectorObject* pArc) const;
    // Appends every arc of the shape's border (as UsesBorderArc compares them, so a shape whose border
    // changes tells its layer through BoundsChanged); the base has none.
    virtual void GetBorderArcs(std::vector<const CGeoVectorObject*>& arcs) const;
    // Whether the shape's bounds meet the square of 10 units about p and one of its ring points is p.
    virtual int HasHandleNear(POINT p) const;
    // Whether the shape's bounds meet that square and p lies on one of its border arcs, looked up in
    // pLayer, as the arc's end or inner point.
    virtual int HasBorderPointAt(POINT p, CGeoVectorLayer* pLayer) const;
    // Conversions between line kinds; the base converts to nothing. CanConvertTo: whether the shape
    // type code (with its flags) is accepted, 0 or 1. ConvertShape: a NEW object of that kind that the
    // caller owns, NULL when refused. ConvertToPolyline: a NEW plain polyline, NULL when refused.
    virtual int CanConvertTo(WORD code, DWORD flags) const;
    virtual CGeoVectorObject* ConvertShape(WORD code, DWORD flags) const;
    virtual CGeoVectorObject* ConvertToPolyline() const;
    // This object as a plain polyline (the class and those derived from it), else NULL.
    virtual CGeoPLine* AsPLine();

    // ---- overrides ----

    // A new CGeoVectorObject that is Copy (this, withAttribute, withRecord); NULL when the copy fails.
    // Every shape overrides it to create its own class. The caller owns the result.
    CGeoObject* Duplicate(int withAttribute, int withRecord) override;
    // 0 without a sheet when nFirst is nonzero; else NewEditProperties (bViewOnly, or 1 when the object
    // cannot be edited, pParam as a tagPropertyParam*).
    int EditProperties(int nFirst, int bViewOnly, void* pParam) override;

    // ---- feature class and styles ----

    // Sets the feature-class ID and the display attribute (1 for a non-zero ID, else 2); 1.
    int SetObjectClassID(UINT nClassID);
    // Replaces the own view; returns the previous one.
    GEOVIEW SetGeoView(GEOVIEW view);
    GEOVIEW GetGeoView() const { return m_GeoView; }
    // Returns the previous value.
    DISPLAYATTR SetDisplayAttribute(DISPLAYATTR attr);
    // The effective display attribute: 1 when the object has a feature-class ID and its layer does not
    // draw symbolised (a vector layer with layer-type bit 4), else 2.
    DISPLAYATTR GetDisplayAttribute() const;
    // The feature class's style when the object's class is known to its layer's theme, else the own view.
    GEOVIEW GetGClassGeoView() const;
    // Copies the object's feature class into gc: 0 (gc untouched) when the feature-class ID is 0, the
    // object has no layer or the layer's theme lacks the class.
    int GetGClass(CGeoGClass& gc) const;
    // The feature class's name, "未命名地物" when GetGClass finds none.
    CString GetGClassName() const;
    // The feature class's scale-range test (min <= scale <= max); 1 when GetGClass finds none.
    int IsVisible(UINT scale) const;
    // The symbol number of the style: the virtual GetObjectSymbolID of the given style, or, for NULL, of
    // GetGClassGeoView ().
    int GetSymbolID(GEOVIEW* pView) const;

    // The attribute-display cache valid flag.
    int IsADInitilized() const { return m_bADInitialized; }
    void InitilizeAD(int bInitialized) { m_bADInitialized = bInitialized; }
    void UninitilizeAD() { m_bADInitialized = 0; }

    // ---- dangle and false-node marks ----

    int GetDangleType() const { return m_nDangleType; }
    // Replaces the dangle bits (0x03) when t <= 3, keeping the false-node bits, or the false-node bits
    // (0x18) when t > 3, keeping the dangle bits; the result is t with the kept bits. Returns the
    // previous bits.
    int SetDangleType(int t);
    // Bits after OR-ing t.
    int AddDangleType(int t);
    // Bits after clearing t.
    int ClearDangleType(int t);

    // ---- symbol attributes ----

    DWORD GetSymbolAttributeFlag() const { return m_dwSymbolAttrFlag; }
    // Stores the flag and mirrors it into bit 0 of the flag byte (set when non-zero, else cleared).
    void SetSymbolAttributeFlag(DWORD dwFlag);

    // ---- copies ----

    // TRUE when both objects' run-time class names are equal.
    int IsSameType(const CGeoVectorObject& other) const;
    // 0 when IsSameType fails; else the virtual CopyData, and when that succeeds and withAttribute is
    // set, the virtual CopyAttribute (src, withRecord).
    int Copy(const CGeoVectorObject& src, int withAttribute, int withRecord);
    // Coarse test of the bounds against a rectangle (normalised first): bounds that are a point must lie
    // in the rectangle as given (PtInRect, right and bottom edges excluded); bounds with an area must
    // share area with it; bounds that are a horizontal or vertical segment must meet it (LineXRect).
    int EnvelopmentIntersects(const CRect& rect) const;
    // Whether the two objects have equal attribute records. It needs this object in a vector layer;
    // without one it returns 0.
    int HasSameDBAttribute(const CGeoVectorObject& other) const;

    // ==== Style resolution, drawing and editing entry points (GeoVectorObjectDraw.cpp,
    // ==== GeoVectorObjectEdit.cpp) ====

    // The attribute-display refresh flag, process-wide, initially 0: while it is non-zero every request
    // for the attribute-display style (display attribute 3) asks the layer again instead of using the
    // object's cached style. The host sets it while conditions change and clears it afterwards.
    static int IsADRefresh();
    static void SetADRefresh(int bRefresh);

    // The feature class's style (GetGClassGeoView) when the effective display attribute is 1, else the
    // own view.
    GEOVIEW GetSelfGeoView() const;
    // The style of a display attribute: 0 the layer's style (view unchanged without a vector layer),
    // 1 GetGClassGeoView, 2 GetSelfGeoView, 3 the attribute-display style; any other value leaves view
    // unchanged. The attribute-display style is cached in the object: it is computed (the layer's
    // GetGeoViewAD, else GetSelfGeoView when the layer gives none or there is no vector layer) when the
    // cache is not valid or the refresh flag is on, and the cache is then valid.
    void GetGeoView(GEOVIEW& view, DISPLAYATTR attr);
    // The style an object is drawn with under a display state, resolved in this order:
    //   1. marks (word 10 on and the object carries a mark): the style of word 1 with the point, line
    //      and fill colours and the transparent flag of mark style GetMarkGeoView (mark);
    //   2. elevation chart (word 9 on): the style of word 1 coloured by SetGeoViewByElevation, in point
    //      mode (0) for an elevation point (a CGeoPoint whose class has the elevation flag, while the
    //      elevation-points setting is on), else in line mode (3), when only-contours is off or the
    //      class is a contour code; only elevation points are coloured otherwise; objects that are
    //      neither fall through to step 3;
    //   3. the hook OnGetGeoViewBegin: when it returns 0, view is final;
    //   4. the style of word 1 (GetGeoView (view, attr)).
    // Steps 1 and 2 finish with OnPrepareSymbol when word 3 is on. Returns 1.
    int GetGeoView(GEOVIEW& view, tagDisplayState ds);
    // Hook before the display attribute is applied: 0 makes view final; the base returns -1.
    virtual int OnGetGeoViewBegin(GEOVIEW& view, tagDisplayState ds);
    // Hook after a mark or elevation colouring: the base copies the point, line and fill symbol numbers
    // of the style of word 1 into view.
    virtual void OnPrepareSymbol(GEOVIEW& view, tagDisplayState ds);

    // Draws the object (device coordinates as in CGeoObject::RPtoLP with origin and offset). Show mode
    // (word 6) 2 draws nothing; 0 draws nothing for an object with a feature class whose scale range
    // (IsVisible) excludes the scale, taken ten times larger on a printing DC; other modes draw
    // whatever the scale. The style is GetGeoView (own view, ds); the symbolised hook runs when word 3
    // is on (library word 5, keepColours word 4, forced to 0 for a marked object while word 10 is on),
    // else the plain hook (scaleWidths word 11); both get word 8. The clip is handed on, not tested.
    // A NULL pDC draws nothing.
    void Draw(CDC* pDC, RECT* pClip, UINT scale, UINT scale2, CPoint origin, CPoint offset, tagDisplayState ds,
              int xorMode);
    // Hide and Blink: the style is GetGeoView (default style, ds); when NeedDraw holds, the hide (blink)
    // hook of the symbolised kind (word 3 on) or the plain kind gets (pDC, scale, scale2, origin, style,
    // pClip) - no offset, so callers fold it into the origin. A NULL pDC does nothing.
    void Hide(CDC* pDC, RECT* pClip, UINT scale, UINT scale2, CPoint origin, CPoint offset, tagDisplayState ds);
    void Blink(CDC* pDC, RECT* pClip, UINT scale, UINT scale2, CPoint origin, CPoint offset, tagDisplayState ds);
    // The preview form: the given style (NULL: the own view), no clip; the symbolised hook with the
    // library and keepColours when bSymbolized, else the plain one with scaleWidths. A NULL pDC draws
    // nothing.
    void Draw(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset, const GEOVIEW* pView, int bSymbolized,
              int xorMode, int nWord8, int scaleWidths, void* pSymbolLib, int keepColours);
    // 0 for show mode 2, or show mode 0 with a feature class whose scale range excludes scale; else
    // IntersectsDrawField (pClip, scale, origin, offset, 0, pView): TRUE for a NULL clip.
    int NeedDraw(RECT* pClip, UINT scale, CPoint origin, CPoint offset, VISIBLESTATE state, const GEOVIEW* pView) const;

    // Hit test with the selection radii (GetSelRectRadius, device units) around the device point: the
    // square is mapped back to object coordinates (display translation as globally set) and the
    // virtual Intersects (rect, SELOBJ_MEET) decides.
    int NormalHitTest(CPoint point, UINT scale, CPoint origin, CPoint offset) const override;
    // 0 for SNAP_NONE or a box (object coordinates) that EnvelopmentIntersects rejects, without asking
    // the shape; else the virtual GetSnapPointA with the same arguments.
    int GetSnapPoint(CPoint& point, CRect box, int& nIndex, SNAPTYPE type, LONG lParam);
    // Mirrors about the line through a and b, given in the layer's frame (millimetres): 0 when the
    // object cannot be edited; the layer's top-left corner in millimetres is taken off both points, then
    // the virtual OnMirror; 0 when it refuses, else AfterMirrorRecalcBounds and 1.
    int Mirror(POINT a, POINT b) override;

    // ==== Symbolised output (GeoSymbolizeOutput.cpp) ====

    // Hands the object's symbolised shape to pOutputer as vector primitives: the style is a copy of the
    // own view resolved by GetGeoView with the display state {feature-class style, keep symbol colours,
    // library pLib, scale widths}; the context is a CCoordsConverter (scale, scale, device flag 0); the
    // outputer takes the object's unit, feature-class ID and Z. The result is OnSymbolizeOutput's (1 when
    // the symbol was output, 0 when the shape has none, as in the base); 0 for a NULL outputer.
    int SymbolizeOutput(CSymbolLibIO* pLib, CVMSymbolOutputer* pOutputer, UINT scale);
    // Writes the object's symbolised shape as objects of pTarget (NULL: the object's own layer) through a
    // CVMSymbolOutputer of its own. The offset is (0, 0) into the own layer, else the difference of the
    // layers' absolute origins (top-left of the bounds in millimetres + layer origin * 1000), truncated.
    // Into a layer of type exactly 1 (GIS data only) the output takes the feature class's style and no
    // feature class; the object's class ID, own view and display attribute are restored afterwards.
    // 0 for an object without a vector layer or when there is no target; else as the form above.
    int SymbolizeOutput(CSymbolLibIO* pLib, UINT scale, CGeoVectorLayer* pTarget);
    // ==== end of symbolised output ====

protected:
    explicit CGeoVectorObject(NameLater tag) : CGeoAccessorialObject(tag) {}

    UINT m_nClassID = 0;
    // Beside the class ID: an attribute write reads the one and clears the other, and together they fill
    // what would otherwise be padding.
    int m_bADInitialized = 0;
    CSymbolAttrib m_SymbolAttrib;
    // The own view, shared with the objects whose own view is equal (see CSharedGeoView): read it as a
    // GEOVIEW, replace it whole.
    CSharedGeoView m_GeoView;
    DISPLAYATTR m_nDisplayAttr = DISPLAYATTR_SELF;
    int m_nDangleType = 0;
    DWORD m_dwSymbolAttrFlag = 0;
    // Symbol width in 0.01 mm of the old form; meaningful when bit 0 of m_dwSymbolAttrFlag is set.
    // Beside the flag, where it fills what would otherwise be padding.
    LONG m_lWidth = 0;
    // The style the attribute display rules last gave (see GetGeoView), made the first time one is asked
    // for: most objects are never drawn by attribute, and a style is a large part of an object.
    std::unique_ptr<GEOVIEW> m_pADGeoView;
    GEOVIEW& ADGeoView() {
        if (!m_pADGeoView) m_pADGeoView.reset(new GEOVIEW);
        return *m_pADGeoView;
    }
    double m_dZ = 0.0;
};

// Lets the user edit the object's attribute record in the attribute value dialog. 2 without a dialog
// when the object is NULL, has no feature class or is not in a vector layer, or when the dialog cannot
// be prepared for it (its class is not in the layer's theme, the record has no fields, or the record
// cannot be read); otherwise 0 when the dialog changed the record (values written, the record deleted
// or split off) and 1 when it closed without a change.
int ObjAttributeEdit(CGeoVectorObject* pObject);

// ==== Dangle and false-node marks (GeoVectorObjectDraw.cpp) ====
// A hollow square (null brush, solid pen of width 1) from (p.x - r, p.y - r) to (p.x + r, p.y + r) in
// device coordinates, r and the colour being the dangle radius and colour (GetDangleRadius,
// GetDangleColor) or the false-node radius and colour. The DC's pen and brush are restored; a NULL pDC
// draws nothing.
void DrawDangle(CDC* pDC, POINT p);
void DrawFalseNode(CDC* pDC, POINT p);
