// CGeoTinPoint: one vertex of a triangulated irregular network.
//
// A vertex holds no coordinates of its own: it names a vector object (its main body, not owned) and the
// index of one of that object's vertices (its number), and reads position and height through the
// body's virtual GetPoint, GetX, GetY and GetZ with that number, in the body's own unit. The body must
// outlive the vertex and keep its vertex order. Vertices live in contiguous arrays that the TIN builder
// sizes from the bodies' GetTinPointNumber and fills through their CreateTinPoints; a record is copied
// by assignment.
//
// Process-wide: while m_bMinusY is non-zero (its initial value is 1) every vertex is seen with y
// negated (GetY), so that bodies whose y grows downwards (pixel rows) are seen with y growing upwards.
// Unguarded; a TIN build must not overlap a change of it.
#pragma once

#include "core/GeoVectorObject.h"

#include <afx/afx.h>

class CGeoVectorObject;

class CGeoTinPoint {
public:
    // Inline (below), since a TIN build asks every vertex for these several times:
    // The body's GetPoint(number): raw body coordinates, the flag not applied.
    CPoint GetPoint() const;
    // The body's GetX(number).
    int GetX() const;
    // The body's GetY(number), negated while m_bMinusY is non-zero.
    int GetY() const;
    // The body's GetZ(number).
    double GetZ() const;

    int GetNumber() const { return m_nNumber; }
    void SetNumber(int number) { m_nNumber = number; }
    // Squared distance to the build centre: the sort key of construction.
    double GetDistance() const { return m_dDistance; }
    void SetDistance(double distance) { m_dDistance = distance; }
    CGeoVectorObject*& GetMainBody() { return m_pMainBody; }
    void SetMainBody(CGeoVectorObject* pBody) { m_pMainBody = pBody; }

    static void SetMinusY(int minusY) { m_bMinusY = minusY; }
    static int GetMinusY() { return m_bMinusY; }

    // TRUE when this vertex, p and q (through GetX / GetY) turn strictly counter-clockwise; collinear
    // vertices give FALSE.
    BOOL IsAnticlockwise(const CGeoTinPoint* p, const CGeoTinPoint* q) const;
    // TRUE when both vertices have the same body, the body has points, and their numbers are
    // consecutive modulo the body's GetPoints() (so the last and the first vertex of every body are
    // neighbours, open lines included).
    BOOL IsNeighborPoint(const CGeoTinPoint* p) const;  // inline (below)

    static int m_bMinusY;

private:
    int m_nNumber = 0;
    double m_dDistance = 0.0;
    CGeoVectorObject* m_pMainBody = nullptr;
};

inline CPoint CGeoTinPoint::GetPoint() const { return m_pMainBody->GetPoint(m_nNumber); }

inline int CGeoTinPoint::GetX() const { return m_pMainBody->GetX(m_nNumber); }

inline int CGeoTinPoint::GetY() const {
    const int y = m_pMainBody->GetY(m_nNumber);
    // Negated in 64 bits: INT_MIN has no negation in an int.
    return m_bMinusY ? static_cast<int>(-static_cast<long long>(y)) : y;
}

inline double CGeoTinPoint::GetZ() const { return m_pMainBody->GetZ(m_nNumber); }

inline BOOL CGeoTinPoint::IsNeighborPoint(const CGeoTinPoint* p) const {
    if (m_pMainBody != p->m_pMainBody || m_pMainBody == nullptr) return FALSE;
    const long long count = m_pMainBody->GetPoints();
    if (count <= 0) return FALSE;
    const long long a = m_nNumber, b = p->m_nNumber;
    return ((a + 1) % count == b || (b + 1) % count == a) ? TRUE : FALSE;
}
