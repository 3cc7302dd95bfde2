// CGeoMapIndexPolygon: the outline of one sheet of a map-sheet series in a map-sheet index layer.
//
// A topological polygon over one closed polyline (the sheet outline) that carries the sheet's map
// name, map number (the sheet number) and a file name. Drawn like any polygon, then the map number is
// written in its middle.
//
// Record (after the polygon record; no version gate): map name, map number, file name, each an archive
// string.
#pragma once

#include "vector/GeoPolygon.h"

class CGeoVectorLayer;

class CGeoMapIndexPolygon : public CGeoPolygon {
    DECLARE_SERIAL(CGeoMapIndexPolygon)

public:
    // An empty polygon with empty strings.
    CGeoMapIndexPolygon();
    // The polygon of that sheet: its four corners from Pellion (MapInfo of coordinate system 0, corner
    // coordinates of type 2, in kilometres) become the points (x * 1000000 - base.x, y * 1000000 -
    // base.y) with base the layer's GetLayerBase, each truncated toward zero and clamped to the 32-bit
    // range; a fifth point closes the ring. The outline is a new CGeoPLine added to the layer (which
    // owns it); the key string becomes {its ID, POLYGON_RING_END}. The polygon itself is not added: the
    // caller adds it. The map number becomes sheetNumber.
    // A sheet number Pellion does not know gives an outline of five points at (-base.x, -base.y). A
    // NULL layer, or one refusing the outline, leaves the polygon without a border.
    CGeoMapIndexPolygon(CGeoVectorLayer* pLayer, CString sheetNumber);
    ~CGeoMapIndexPolygon() override;

    void Serialize(CArchive& ar) override;

    void SetMapName(const CString& name) { m_strMapName = name; }
    CString GetMapName() const { return m_strMapName; }
    void SetMapNumber(const CString& number) { m_strMapNumber = number; }
    CString GetMapNumber() const { return m_strMapNumber; }
    void SetFileName(CString name) { m_strFileName = name; }
    CString GetFileName() const { return m_strFileName; }

    // The polygon's drawing of the same kind, then the map number (see DrawMapNumber).
    void OnDrawWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset, const GEOVIEW& view,
                                 RECT* pClip, int xorMode, int nWord8, void* pSymbolLib, int keepColours) override;
    void OnDrawWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                    const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8,
                                    int scaleWidths) override;

protected:
    // The map number in the DC's current font, centred on the polygon's device bounds, opaque and
    // clipped to its text box within the device bounds grown by 10 on every side; with xorMode in
    // R2_XORPEN (the raster operation is put back). Nothing for a NULL DC.
    void DrawMapNumber(CDC* pDC, UINT scale, CPoint origin, CPoint offset, int xorMode) const;

    CString m_strMapName;
    CString m_strMapNumber;
    CString m_strFileName;
};
