// CGeoGCPoint: a ground control point, tying a pixel of an image to a position on the ground.
//
// It is a vector point (its position is its place on the map) that an image keeps in its control-point
// list. The pixel point is in tenths of a pixel, x from the left column and y from the bottom row (the
// bitmap's row order); GetX and GetY answer it, so a triangulation over control points works in image
// space. Ground coordinates X (east), Y (north) and Z are in ground units (metres); the residuals are
// what the last accuracy computation left. Control points are not removed with their layer.
//
// Record (after the CGeoPoint record):
//   same point   32-bit int
//   X, Y, Z      doubles (Z is the vector object's Z value; loading copies it back)
//   rX, rY, rZ   doubles, residuals
//   pixel point  two 32-bit ints, x then y (tenths of a pixel)
// Distance, latitude, longitude and the control-point number are not stored (0 after loading).
#pragma once

#include "vector/GeoPoint.h"

class CGeoGCPoint : public CGeoPoint {
    DECLARE_SERIAL(CGeoGCPoint)

public:
    // All values 0; not removed automatically by a layer.
    explicit CGeoGCPoint(int bSamePoint = 0);
    // The point part through the vector-object copy, then every field of a control point.
    CGeoGCPoint(const CGeoGCPoint& src);
    CGeoGCPoint& operator=(const CGeoGCPoint& src);
    ~CGeoGCPoint() override;

    void Serialize(CArchive& ar) override;

    int IsSamePoint() const { return m_bSamePoint; }
    void SetSamePoint(int bSame) { m_bSamePoint = bSame; }
    double GetGCPX() const { return m_dX; }
    double GetGCPE() const { return m_dX; }
    void SetGCPX(double x) { m_dX = x; }
    void SetGCPE(double e) { m_dX = e; }
    double GetGCPY() const { return m_dY; }
    double GetGCPN() const { return m_dY; }
    void SetGCPY(double y) { m_dY = y; }
    void SetGCPN(double n) { m_dY = n; }
    double GetGCPZ() const { return m_dZ; }
    // Sets the vector object's Z value as well.
    void SetGCPZ(double z) { SetZ(z); }
    double GetResidualX() const { return m_dResidualX; }
    double GetResidualY() const { return m_dResidualY; }
    double GetResidualZ() const { return m_dResidualZ; }
    void SetResidualX(double v) { m_dResidualX = v; }
    void SetResidualY(double v) { m_dResidualY = v; }
    void SetResidualZ(double v) { m_dResidualZ = v; }
    double GetDistance() const { return m_dDistance; }
    void SetDistance(double v) { m_dDistance = v; }
    double GetLatitude() const { return m_dLatitude; }
    void SetLatitude(double v) { m_dLatitude = v; }
    double GetLongitude() const { return m_dLongitude; }
    void SetLongitude(double v) { m_dLongitude = v; }
    LONG GetCtrlPointNumber() const { return m_lNumber; }
    void SetCtrlPointNumber(LONG n) { m_lNumber = n; }
    // Tenths of a pixel; y from the bottom row.
    CPoint GetPixelPoint() const { return m_ptPixel; }
    void SetPixelPoint(CPoint p) { m_ptPixel = p; }

    // ---- overrides ----

    // The bounds in device units grown by three cross radii, then 100 to the right and 20 upwards for
    // the label; united with the bounds grown by the handle radius when handles are asked for; a same
    // point reaches a further ten cross radii to the right.
    CRect GetDrawBounds(UINT scale, CPoint origin, CPoint offset, int withHandles, const GEOVIEW* pView) const override;
    // A cross of three cross radii each way and a circle of half that radius, pen width 1, blue
    // (0xFF0000) for a same point and red (255) otherwise, hollow; xorMode draws with R2_XORPEN. A
    // same point shows its name at (x + 5, y + 5) on yellow (0x00FFFF).
    void OnDrawWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                    const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8,
                                    int scaleWidths) override;
    // The pixel point (tenths of a pixel).
    int GetX(int nIndex) const override;
    int GetY(int nIndex) const override;

private:
    void CopyFields(const CGeoGCPoint& src);

    int m_bSamePoint = 0;
    double m_dX = 0.0;
    double m_dY = 0.0;
    double m_dResidualX = 0.0;
    double m_dResidualY = 0.0;
    double m_dResidualZ = 0.0;
    double m_dDistance = 0.0;
    double m_dLatitude = 0.0;
    double m_dLongitude = 0.0;
    LONG m_lNumber = 0;
    CPoint m_ptPixel{0, 0};
};

// A growable array of control points (pointers; the array does not own them).
class CGeoGCPointArray : public CObArray {
public:
    // growBy: the growth step SetSize uses (20 by default).
    explicit CGeoGCPointArray(int growBy = 20) : m_nGrowBy(growBy) {}
    void SetSize(int size) { CObArray::SetSize(size, m_nGrowBy); }
    CGeoGCPoint* GetAt(INT_PTR i) const { return static_cast<CGeoGCPoint*>(CObArray::GetAt(i)); }
    INT_PTR Add(CGeoGCPoint* p) { return CObArray::Add(p); }

private:
    int m_nGrowBy;
};
