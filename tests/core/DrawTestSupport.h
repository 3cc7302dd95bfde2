// Shapes for the drawing, query and editing tests of vector objects and layers.
//
// CDrawTestBox occupies its bounds. Every painting hook logs its call (DrawLog) and paints the box's
// device rectangle: drawing with a Rectangle in the style's line colour, hiding with a filled rectangle
// in R2_NOTXORPEN and blinking in R2_XORPEN, so that hiding or blinking twice restores the pixels. Its
// Transform maps the two corners of its bounds the way shapes map their points (metres, the
// transformer, second offsets taken off, back to the unit truncated).
//
// PolygonKind and PointKind give the library's run-time class of that name when it is registered, else
// a stand-in registered under the name for the test program's lifetime, so that tests can build
// objects the library takes for polygons or points before those shapes exist.
#pragma once

#include "core/GeoVectorObject.h"
#include "vector/GeoLine.h"

#include <afx/afx.h>
#include <win32/gdirecord.h>

#include <string>
#include <vector>

struct DrawCall {
    const CGeoVectorObject* object = nullptr;
    std::string hook;  // "draw+sym", "draw", "hide+sym", "hide", "blink+sym", "blink"
    GEOVIEW view;
    UINT scale = 0, scale2 = 0;
    CPoint origin, offset;  // offset (0, 0) for the hide and blink hooks, which get none
    RECT* clip = nullptr;
    int xorMode = 0, word8 = 0;
    void* symbolLib = nullptr;
    int keepColours = -1;  // symbolised drawing only
    int scaleWidths = -1;  // plain drawing only
};
std::vector<DrawCall>& DrawLog();

class CDrawTestBox : public CGeoVectorObject {
    DECLARE_DYNAMIC(CDrawTestBox)
public:
    explicit CDrawTestBox(const CRect& bounds = CRect(0, 0, 10, 10));

    int OnGetGeoViewBegin(GEOVIEW& view, tagDisplayState ds) override;
    void OnDrawWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset, const GEOVIEW& view,
                                 RECT* pClip, int xorMode, int nWord8, void* pSymbolLib, int keepColours) override;
    void OnDrawWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                    const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8, int scaleWidths) override;
    void OnHideWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, const GEOVIEW& view,
                                 RECT* pClip) override;
    void OnHideWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, const GEOVIEW& view,
                                    RECT* pClip) override;
    void OnBlinkWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, const GEOVIEW& view,
                                  RECT* pClip) override;
    void OnBlinkWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, const GEOVIEW& view,
                                     RECT* pClip) override;
    int GetSnapPointA(CPoint& point, CRect rect, int& nIndex, SNAPTYPE type, LONG lParam) override;
    int OnMirror(POINT a, POINT b) override;
    void RecalcBounds() override { ++m_nRecalcCount; }
    void Transform(CGeoCoordinateTransformer& transformer, double x0, double y0) override;

    int m_nBeginResult = -1;        // what OnGetGeoViewBegin answers
    GEOVIEW m_BeginView;            // the style it sets when it answers 0
    bool m_bClearDrawFlag = false;  // drawing clears the layer draw flag, as a host's abort would
    int m_nSnapCalls = 0;
    int m_nMirrorResult = 1;
    std::vector<POINT> m_MirrorAxis;
    int m_nRecalcCount = 0;

private:
    void Log(const char* hook, const GEOVIEW& view, UINT scale, UINT scale2, CPoint origin, CPoint offset,
             RECT* pClip, int xorMode, int word8, void* lib, int keep, int widths) const;
    void Paint(CDC* pDC, UINT scale, CPoint origin, CPoint offset, COLORREF colour, int rop2, bool fill) const;
};

// A line that converts only to a plain polyline over its bounds' two corners.
class CDrawTestLine : public CGeoLine {
    DECLARE_DYNAMIC(CDrawTestLine)
public:
    explicit CDrawTestLine(const CRect& bounds);
    int CanConvertTo(WORD code, DWORD flags) const override;
    CGeoLine* ConvertMeTo(WORD code, DWORD flags) const override;
};

CRuntimeClass* PolygonKind();
CRuntimeClass* PointKind();
// TRUE for the test's own stand-in of a class the library does not have yet.
bool IsStandInKind(const CRuntimeClass* pKind);

// A box whose run-time class derives from the given one (see PolygonKind, PointKind).
class CDrawTestKindBox : public CDrawTestBox {
public:
    CDrawTestKindBox(const CRect& bounds, CRuntimeClass* pKind);
    CRuntimeClass* GetRuntimeClass() const override { return &m_Class; }

private:
    mutable CRuntimeClass m_Class;
};

// A device context for the tests, freed with the object: kind 0 records its drawing calls, 1 is a
// printer that records too, 2 paints pixels on a white bitmap.
class CTestDC : public CDC {
public:
    explicit CTestDC(int kind = 0, int width = 400, int height = 400);
    std::vector<win32::GdiRecord> Records() const { return win32::GetRecording(m_hDC); }
    // The calls of that name, in order.
    std::vector<win32::GdiRecord> Records(const char* call) const;
};

// A tagDisplayState with word 1 = attr and everything else 0 (no symbols, scale ranges honoured).
tagDisplayState DisplayState(int attr = 2);
