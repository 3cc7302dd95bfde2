// StGeoDrawingParameter: how a TIN is painted into a device context (origin and scales from body
// coordinates to device units, and the drawing function), and the exported point-array types of the
// TIN code.
#pragma once

#include <afx/afx.h>

#include "vector/GeoTinPoint.h"

// 1 paints every triangle filled in its serial colour (COLORREF = serial number); any other value draws
// outlines.
enum EDrawingFunction : int { DRAWING_OUTLINE = 0, DRAWING_RASTERIZE = 1 };

struct StGeoDrawingParameter {
    // Origin 0, scales 1, outline drawing.
    StGeoDrawingParameter() {}
    // Origin and scales; outline drawing until SetDrawingFunction.
    StGeoDrawingParameter(double xOrigin, double yOrigin, double xScale, double yScale)
        : m_dXOrigin(xOrigin), m_dYOrigin(yOrigin), m_dXScale(xScale), m_dYScale(yScale) {}

    // Returns the previous function.
    EDrawingFunction SetDrawingFunction(EDrawingFunction f) {
        EDrawingFunction old = m_eFunction;
        m_eFunction = f;
        return old;
    }
    BOOL IsRasterizing() const { return m_eFunction == DRAWING_RASTERIZE ? TRUE : FALSE; }
    // x' = trunc((x - x origin) * x scale + 0.5); y' = trunc((y - y origin) * y scale + 0.5) while
    // CGeoTinPoint::m_bMinusY is set (body y already grows downwards), else
    // trunc((y origin - y) * y scale + 0.5). Truncation toward zero, saturated to 32 bits.
    tagPOINT RPToLP(CPoint p) const;

    CRect m_rect;  // carried, never used
    double m_dXOrigin = 0.0, m_dYOrigin = 0.0;
    double m_dXScale = 1.0, m_dYScale = 1.0;
    EDrawingFunction m_eFunction = DRAWING_OUTLINE;
};

// A growable CPoint array with its own grow step (100 by default).
class CGeoPointArray : public CArray<CPoint, CPoint> {
public:
    CGeoPointArray() : m_nGrowBy(100) { CArray<CPoint, CPoint>::SetSize(0, m_nGrowBy); }
    explicit CGeoPointArray(int growBy) : m_nGrowBy(growBy) { CArray<CPoint, CPoint>::SetSize(0, m_nGrowBy); }
    void SetSize(int n) { CArray<CPoint, CPoint>::SetSize(n, m_nGrowBy); }

private:
    int m_nGrowBy;
};

// A growable array of TIN vertex records, copied whole by assignment. Nothing in the library fills
// one; it exists for hosts that keep vertex records of their own.
class CGeoTinPointArray : public CArray<CGeoTinPoint, CGeoTinPoint&> {
public:
    ~CGeoTinPointArray() override;
};

