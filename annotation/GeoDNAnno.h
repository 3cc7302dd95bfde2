// CGeoDNAnno: an annotation that also keeps a position point, the place its text refers to (for example
// a spot whose value the text states). The point is drawn as a point marker under the text and dragged
// as a ninth handle; everything else is the annotation's.
//
// Units: the point is a pair of 32-bit integers in the object's unit, like every other coordinate of
// the annotation; a change of unit converts it with the other sizes.
//
// Record (Serialize): the annotation's record, then the point as 8 bytes (x, then y, 32-bit signed,
// little-endian). A record that ends before those 8 bytes raises CArchiveException.
#pragma once

#include "annotation/GeoAnno.h"

class CGeoDNAnno : public CGeoAnno {
    DECLARE_SERIAL(CGeoDNAnno)

public:
    // The annotation's default object; the position point is (0, 0) until set or loaded.
    CGeoDNAnno();
    // The annotation's legacy constructor (CGeoAnno (text, box, char width, char height, alignment word,
    // vertical, degrees)); the position point is the box's (left, top) corner as given, not normalised.
    CGeoDNAnno(const CString& text, const CRect& box, int charWidth, int charHeight, UINT formatWord,
               int vertical, float angleDegrees);
    // The same with the position point given.
    CGeoDNAnno(POINT position, const CString& text, const CRect& box, int charWidth, int charHeight,
               UINT formatWord, int vertical, float angleDegrees);
    ~CGeoDNAnno() override;

    void Serialize(CArchive& ar) override;

    // ---- the position point ----

    // Draws the point as Caddox marker: the view's point shape, colour and size, direction 0, at the
    // point mapped to device coordinates with `scale`, origin and offset. The clip rectangle is not used.
    virtual void OnDrawDNAnnoPosPt(CDC* pDC, UINT scale, CPoint origin, CPoint offset, const GEOVIEW& view,
                                   RECT* pClip, int xorMode);
    // Nothing: like the text, the point is neither hidden nor blinked by drawing.
    virtual void OnHideDNAnnoPosPt(CDC* pDC, UINT scale, CPoint origin, const GEOVIEW& view, RECT* pClip,
                                   int xorMode);
    virtual void SetDNAnnoPosPt(POINT p) {
        m_ptPosPt = p;
        BoundsChanged();
    }
    virtual POINT GetDNAnnoPosPt() const { return m_ptPosPt; }

    // ---- overrides ----

    // A new CGeoDNAnno filled through Copy; NULL when the copy fails. The caller owns the result.
    CGeoObject* Duplicate(int withAttribute, int withRecord) override;
    // The point, then the annotation's CopyData. 0 (nothing copied) when the source is not a
    // CGeoDNAnno or the annotation part fails; else 1.
    int CopyData(const CGeoVectorObject& src) override;
    // The annotation's bounds, normalised and widened to contain the position point.
    CRect GetBounds() const override;
    // The point marker first, then the annotation's text (drawn once, without symbols).
    void OnDrawWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                 const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8, void* pSymbolLib,
                                 int keepColours) override;
    void OnDrawWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                    const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8,
                                    int scaleWidths) override;
    // The annotation's conversion, then the point (truncated toward zero).
    void OnUnitChanged(int nOldUnit) override;
    // The annotation's transform, then the point mapped the same way (object unit -> metres, + (x0, y0),
    // the transformer, the second offsets of a CBaseCoordinateTransformer taken off, back, truncated).
    void Transform(CGeoCoordinateTransformer& transformer, double x0, double y0) override;
    // Always 9: handles 1 to 8 are the annotation's, handle 9 is the position point.
    int GetHandleCount() const override;
    // 1..8: the annotation's handle; any number above 8: the position point.
    CPoint GetHandle(int nHandle) const override;
    // 1..8: the annotation's cursor; above 8: the library's handle cursor (resource 322).
    HCURSOR GetHandleCursor(int nHandle) const override;
    // Always 1, also for the corners while the move flag is 3.
    int CanMoveHandle(int nHandle) const override;
    // Handles below GetHandleCount go to the annotation; otherwise the position point becomes point and
    // the text stays where it is.
    void MoveHandleTo(int nHandle, CPoint point) override;

protected:
    POINT m_ptPosPt{0, 0};
};
