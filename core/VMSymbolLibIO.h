// CVMSymbolLibIO, this library's reader of symbol libraries, and CCoordsConverter, the context every
// symbol drawing and output call hands through the symbol library to its conversions.
//
// The symbol library creates a CVMSymbolLibIO when it opens a file (GetSymbolLibIO) and calls its
// conversion operations back with the context of each call. With U = GetUnitsPerMM () of the library,
// d and n the context's denominator and numerator, trunc truncation toward zero, and RPtoLP / LPtoRP the
// planar-geometry library's length conversions with unit 9 (no unit change):
//
//   operation             device flag set (device coordinates)         flag clear (object coordinates)
//   OnNormalizeRect       left <= right, top <= bottom                 left <= right, top >= bottom
//   OnGetAngle            a = asin(sine); cos >= 0 and sin >= 0:       a = asin(sine); cos >= 0 and sin <= 0:
//                         2pi - a; else cos <= 0: a + pi; else -a;     2pi - a; else cos <= 0 and sin <= 0:
//                         then brought into [0, 2pi] by one turn       a + pi; else cos <= 0: pi - a; else a
//   OnRotatePoint         (round(x cos - y sin), round(x sin + y cos)); a NULL context writes nothing
//   OnGetArcFactor        c = cosine of the angle at the centre between a and b; sqrt(1 - c*c) / (1 - c),
//                         negated unless GetVectorRelation (centre, b, a, flag) is 1 (0 when a or b is
//                         the centre or c is 1)
//   OnLibToSystomRect     RPtoLP (scale d, unit 9, ratio (1/U) n/d) on every member (both flags)
//   OnLibToSystomPoint    RPtoLP (scale 1, ratio (1/U) n/d), y negated  (trunc(x / U n), trunc(y / U n))
//   OnLibToSystomLength   RPtoLP (scale 1, ratio (1/U) n/d)             trunc(v / U n)
//   OnLibToSystomAngle    unchanged                                     negated, plus 2pi when below 0
//   OnSystomToLibLength   LPtoRP (scale 1, ratio (1/U) n/d)             round(U (v / n))
//
// round is rounding to the nearest integer with halves going up (floor(v + 0.5)): for values of -0.5 and
// above it is trunc(v + 0.5), and it stays correct for negative values, which trunc(v + 0.5) would move up
// by one (a point at (0, 10) turned by 90 degrees lands on (-10, 0), not (-9, 0)).
// Every operation returns 0. A denominator of 0 counts as 1; a numerator of 0 makes the object-
// coordinate length back-conversion 0; a NULL context counts as {1, 1, 1} (OnRotatePoint excepted).
// Everything else is inherited from CSymbolLibIO (the DC-logic conversions, OnSystomToLib, and the
// On Output... operations that hand primitives to the outputer).
// Example: context {5000, 5000, 0} with U = 100: OnLibToSystomLength (250) = 12500 and
// OnSystomToLibLength (12500) = 250.
#pragma once

#include <afx/afx.h>
#include <quenby/SymbolLibIO.h>

// The context of a symbol drawing or output call: three ints, 1, 1, 1 when default-constructed.
class CCoordsConverter {
public:
    CCoordsConverter() = default;
    CCoordsConverter(int nDenominator, int nNumerator, int nDevice)
        : m_nDenominator(nDenominator), m_nNumerator(nNumerator), m_nDevice(nDevice) {}

    int m_nDenominator = 1;  // the scale being drawn at (the draw call's first scale value)
    int m_nNumerator = 1;    // the reference scale (the draw call's second scale value)
    int m_nDevice = 1;       // 1: convert to device coordinates; 0: to object coordinates
};
static_assert(sizeof(CCoordsConverter) == 12, "three ints");

class CVMSymbolLibIO : public CSymbolLibIO {
    DECLARE_DYNCREATE(CVMSymbolLibIO)
public:
    CVMSymbolLibIO() = default;
    ~CVMSymbolLibIO() override = default;

    // pContext points to a CCoordsConverter (OnRotatePoint also accepts NULL).
    LONG OnNormalizeRect(RECT& rc, void* pContext) override;
    LONG OnGetAngle(double dCos, double dSin, double& dAngle, void* pContext) override;
    LONG OnRotatePoint(double dSin, double dCos, const POINT& ptIn, POINT& ptOut, void* pContext) override;
    LONG OnGetArcFactor(const POINT& ptA, const POINT& ptCentre, const POINT& ptB, double& dOut,
                        void* pContext) override;
    LONG OnLibToSystomRect(const RECT& rcIn, RECT& rcOut, void* pContext) override;
    LONG OnLibToSystomPoint(const POINT& ptIn, POINT& ptOut, void* pContext) override;
    LONG OnLibToSystomLength(LONG nIn, LONG& nOut, void* pContext) override;
    LONG OnLibToSystomAngle(double dIn, double& dOut, void* pContext) override;
    LONG OnSystomToLibLength(LONG nIn, LONG& nOut, void* pContext) override;
};
