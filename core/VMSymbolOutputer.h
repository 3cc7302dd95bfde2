// CVMSymbolOutputer: the sink that turns the primitives of a decomposed symbol into ordinary vector
// objects of a target layer (symbolised export). The symbol library's OutputSymbol hands every stroke,
// area, text, ellipse, arc and chord to one of the Output... operations below; each creates an object,
// gives it a style that reproduces the primitive's colour, width and fill, and attaches it to the target
// layer.
//
// Coordinates arrive in the source object's frame (millimetres when the shapes output in millimetres);
// the created objects take the unit code set here without any conversion of their coordinates and are
// then moved by minus the offset (millimetres, converted into that unit).
//
// The context of every call is the CCoordsConverter of the output run (device flag 0, both scale values
// the output scale); a NULL context refuses the primitive.
//
// Common finishing of a created object o:
//   1. o's unit code = GetUnit () (no conversion);
//   2. o moved by minus the offset converted from millimetres into that unit;
//   3. o's own style = a default GEOVIEW with the fields the primitive sets (annotations: their own
//      style), feature-class ID = GetClassCode (), display attribute 2 (own style), Z = GetZ ();
//   4. AddGClassIfMissing (target, class code), then o attached to the target layer. When the layer
//      refuses it (or there is none) o is deleted and the primitive is refused.
//
// Style values:
//   line width w = width * 10 (a 32-bit value); for polylines always, and for the other shapes only when
//     the width is positive (polygons: w > 0 taken as signed; the others: width != 0), w becomes
//     RPtoLP (numerator of the context, millimetres, w); otherwise w = -1. The style width is w / 10.0.
//   transparent flag: 1 exactly for fill style 8; fill shape: fill style - 1 for 1 to 7, else 0.
//
// Every Output... operation returns 0 when it created an object and 1 when it refused the primitive.
//
// The shapes and annotations the sink creates live on the floors above this one; the code that knows
// them registers a CVMSymbolShapeMaker when the library starts (SetShapeMaker). Until one is
// registered every primitive is refused.
#pragma once

#include <afx/afx.h>
#include <quenby/SymbolOutputer.h>

class CGeoVectorLayer;
class CGeoVectorObject;
class GEOVIEW;

// Creates the objects the sink hands on. Each returns a NEW object that the caller owns, in the
// coordinates given (no unit set), or NULL when it cannot build one.
class CVMSymbolShapeMaker {
public:
    virtual ~CVMSymbolShapeMaker() = default;
    // A plain polyline through the n points (n >= 2).
    virtual CGeoVectorObject* PolyLine(const POINT* pPoints, LONG n) = 0;
    // A polygon line of the n points (n >= 3), filled when bFace.
    virtual CGeoVectorObject* PolygonLine(const POINT* pPoints, LONG n, int bFace) = 0;
    // An annotation of the text in the box with letter width and height h, format word 4, horizontal,
    // angle 0, with its own default style.
    virtual CGeoVectorObject* Anno(const CString& text, const CRect& box, LONG h) = 0;
    // A circle held by its box when right - left equals bottom - top (signed), else an ellipse; the
    // box as given; filled when bFace.
    virtual CGeoVectorObject* Ellipse(const CRect& box, int bFace) = 0;
    // A three-point arc.
    virtual CGeoVectorObject* Arc(POINT start, POINT middle, POINT end) = 0;
    // The three-point arc's polyline, with pCentre appended when not NULL, closed into a polygon line
    // (filled when bFace); NULL when a conversion fails or the ring keeps fewer than 3 points.
    virtual CGeoVectorObject* ArcPolygon(POINT start, POINT middle, POINT end, const POINT* pCentre,
                                         int bFace) = 0;
};

class CVMSymbolOutputer : public CSymbolOutputer {
public:
    // No target layer, offset (0, 0), unit 3 (millimetres), class code 0, Z 0.0.
    CVMSymbolOutputer() = default;
    ~CVMSymbolOutputer() override = default;

    // The layer that receives the created objects; not owned.
    void SetTargetLayer(CGeoVectorLayer* pLayer) { m_pTargetLayer = pLayer; }
    CGeoVectorLayer* GetTargetLayer() const { return m_pTargetLayer; }
    // Millimetres subtracted from every created object.
    void SetOffset(CPoint offset) { m_ptOffset = offset; }
    CPoint GetOffset() const { return m_ptOffset; }
    // Unit code, feature-class code and elevation given to every created object.
    void SetUnit(int nUnit) { m_nUnit = nUnit; }
    int GetUnit() const { return m_nUnit; }
    void SetClassCode(UINT nCode) { m_nClassCode = nCode; }
    UINT GetClassCode() const { return m_nClassCode; }
    void SetZ(double z) { m_dZ = z; }
    double GetZ() const { return m_dZ; }

    // A CGeoPLine of the points; refused for fewer than 2 points (or none given). Style: line colour,
    // width, line shape = line style.
    LONG OutputPolyLine(const POINT* pPoints, LONG nCount, DWORD crColor, DWORD dwWidth, DWORD dwLineStyle,
                        BYTE byReserved, const RECT* pClip, void* pContext) override;
    // A CGeoPolygonLine of the points without a closing point that repeats the first; refused when fewer
    // than 3 remain. Face flag = fill style != 0. Style: as the polyline plus fill colour, transparent
    // flag and fill shape; a width of 0 or less takes the fill colour as the line colour.
    LONG OutputPolygon(const POINT* pPoints, LONG nCount, DWORD crLine, DWORD dwWidth, DWORD dwLineStyle,
                       DWORD crFill, BYTE byFillStyle, BYTE byReserved, const RECT* pClip, void* pContext) override;
    // A CGeoAnno of the text with the box (x, y, x + (L / 2 + 1) h, y - h), L the text's length in bytes
    // and h the font height, letter width and height h, format word 4, horizontal, angle 0. Style: the
    // annotation's own, with annotation colour, face name and underline flag from the font. Refused for a
    // NULL text.
    LONG OutputAnno(const POINT& ptPosition, DWORD crColor, LOGFONT& font, const char* pszText, const RECT* pClip,
                    void* pContext) override;
    // The box as given (not normalised): a CGeoRectCircle when right - left equals bottom - top (signed),
    // else a CGeoEllipse; face flag = fill style != 0. Refused for a NULL box.
    LONG OutputEllipse(const RECT* pBox, DWORD crLine, DWORD dwWidth, DWORD dwLineStyle, DWORD crFill,
                       BYTE byFillStyle, const RECT* pClip, void* pContext) override;
    // Refused when start equals end or the normalised box is not square. The middle point is end turned
    // back about the box's centre by half the sweep from start to end. Collinear start, middle and end
    // give a CGeoPLine of the three points; otherwise a CGeoTriPointArc, or with pie != 0 the closed
    // polygon line of the arc's polyline plus the centre (face flag = fill style != 0).
    LONG OutputArc(const RECT* pBox, const POINT& ptStart, const POINT& ptEnd, DWORD crLine, DWORD dwWidth,
                   DWORD dwLineStyle, DWORD crFill, BYTE byFillStyle, BYTE byPie, const RECT* pClip,
                   void* pContext) override;
    // Refused when the normalised box is not square. The arc as above, converted to its polyline and that
    // to a polygon line, which closes it along the chord (face flag = fill style != 0). Refused as well
    // when a conversion fails or the ring keeps fewer than 3 points (ends meeting on a tiny arc).
    LONG OutputChord(const RECT* pBox, const POINT& ptStart, const POINT& ptEnd, DWORD crLine, DWORD dwWidth,
                     DWORD dwLineStyle, DWORD crFill, BYTE byFillStyle, const RECT* pClip, void* pContext) override;

    // When pLayer is not NULL, nCode is not 0 and the layer's theme has no class of that code: appends a
    // default feature class with that code, named by the code in decimal ("%d").
    static void AddGClassIfMissing(CGeoVectorLayer* pLayer, UINT nCode);

    // The maker every sink creates its objects with; not owned, it must outlive its use. NULL
    // unregisters it. GetShapeMaker: the one registered, NULL when none.
    static void SetShapeMaker(CVMSymbolShapeMaker* pMaker);
    static CVMSymbolShapeMaker* GetShapeMaker();

private:
    // The common finishing above; takes ownership of pObject. 0 when attached, 1 (object deleted) when not.
    LONG Finish(CGeoVectorObject* pObject, const GEOVIEW& view);

    CGeoVectorLayer* m_pTargetLayer = nullptr;
    CPoint m_ptOffset{0, 0};
    int m_nUnit = 3;
    UINT m_nClassCode = 0;
    double m_dZ = 0.0;
};
