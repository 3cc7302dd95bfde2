// CGeoLabelPoint: the point that marks the inside of a topological polygon. The polygon keeps the label
// point's ID and the label point the polygon's; the polygon's feature class, style and attribute record
// are those of its label point.
//
// How label points look is the process-wide setting GetLabelPointShowType (LABELTYPE, GeoSettings.h):
// LABEL_HIDE nothing at all, LABEL_DOT a small dot, LABEL_CROSS a cross of the cross radius,
// LABEL_SYMBOL the style's point symbol (only when drawing with symbols; plain drawing has no figure
// for it). With the painters' nWord8 set they also show their Z value as text ("%.3f") right of and
// above the point by the cross radius, in the point colour on a transparent background.
//
// Label points share the point counter and default name of CGeoPoint ("点 " + n).
//
// Record (after the point record; no version gate): the polygon ID as a 32-bit word.
#pragma once

#include "vector/GeoPoint.h"

class CGeoLabelPoint : public CGeoPoint {
    DECLARE_SERIAL(CGeoLabelPoint)

public:
    // As the point's constructors; polygon ID 0.
    CGeoLabelPoint();
    explicit CGeoLabelPoint(POINT p);
    CGeoLabelPoint(int x, int y);
    // A new label point with a fresh default name, filled by CGeoVectorObject::Copy (src,
    // copyAttributes, attributeMode).
    CGeoLabelPoint(const CGeoLabelPoint& src, int copyAttributes, int attributeMode);
    ~CGeoLabelPoint() override;

    void Serialize(CArchive& ar) override;

    // The ID of the polygon this point labels (0: none). The polygon writes it when it links the point.
    DWORD GetPolygonID() const { return m_dwPolygonID; }
    void SetPolygonID(DWORD dwID) { m_dwPolygonID = dwID; }

    // CGeoVectorObject::Copy (src, 0, 1).
    CGeoLabelPoint& operator=(const CGeoLabelPoint& src);
    // The point's assignments (= a CPoint moves the point).
    using CGeoPoint::operator=;

    // ---- overrides ----

    // "标识点".
    CString GetObjectTypeName() const override;
    // Leaving its layer, a label point of exactly this class takes itself away from the polygon the
    // layer holds under its polygon ID.
    void OnDeleteFromLayer(CGeoVectorLayer* pLayer) override;
    // A new CGeoLabelPoint filled by Copy (this, withAttribute, withRecord); NULL when the copy fails.
    // The caller owns the result.
    CGeoObject* Duplicate(int withAttribute, int withRecord) override;
    // The point part, then the polygon ID; 0 (nothing copied) when src is not a label point.
    int CopyData(const CGeoVectorObject& src) override;
    // D = the bounds in device coordinates: the union of D grown by the cross radius and D grown by the
    // handle radius when withHandles is set (else D). The style is not read.
    CRect GetDrawBounds(UINT scale, CPoint origin, CPoint offset, int withHandles, const GEOVIEW* pView) const override;
    // The style's fill symbol: the symbol of the polygon the point labels.
    int GetObjectSymbolID(GEOVIEW view) const override;

    // Symbolised: with LABEL_SYMBOL, a library and a point symbol in the style, that symbol unturned at
    // the device position (and the Z text with nWord8); otherwise, or when the library fails, the plain
    // painter (scaleWidths 1), which then shows the Z text itself.
    void OnDrawWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset, const GEOVIEW& view,
                                 RECT* pClip, int xorMode, int nWord8, void* pSymbolLib, int keepColours) override;
    // Plain: LABEL_HIDE draws nothing. Otherwise a solid pen of width 1 in the point colour (R2_XORPEN
    // with xorMode): LABEL_CROSS a cross from x - r to x + r and y - r to y + r, LABEL_DOT an Ellipse
    // (x - 1, y - 1, x + 2, y + 2) with the brush the DC has selected, other types no figure; then the Z
    // text with nWord8. The DC's raster operation, pen, background mode and text colour are put back.
    void OnDrawWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                    const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8,
                                    int scaleWidths) override;
    // Hiding and blinking draw nothing.
    void OnHideWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, const GEOVIEW& view,
                                 RECT* pClip) override;
    void OnHideWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, const GEOVIEW& view,
                                    RECT* pClip) override;
    void OnBlinkWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, const GEOVIEW& view,
                                  RECT* pClip) override;
    void OnBlinkWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, const GEOVIEW& view,
                                     RECT* pClip) override;

protected:
    // The Z text at (p.x + r, p.y - r), r the cross radius, in the colour, on a transparent background.
    void DrawElevationText(CDC* pDC, CPoint p, COLORREF colour) const;

    DWORD m_dwPolygonID = 0;
};
