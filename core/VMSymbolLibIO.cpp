#include "core/VMSymbolLibIO.h"

#include <ostrel/Measure.h>
#include <ostrel/Units.h>

#include <algorithm>
#include <climits>
#include <cmath>

IMPLEMENT_DYNCREATE(CVMSymbolLibIO, CSymbolLibIO)

namespace {

const double kPi = 3.14159265358979323846;
const int kNoUnitChange = 9;

const CCoordsConverter& Converter(void* pContext) {
    static const CCoordsConverter kDefault;
    return pContext ? *static_cast<const CCoordsConverter*>(pContext) : kDefault;
}

int Denominator(const CCoordsConverter& c) { return c.m_nDenominator == 0 ? 1 : c.m_nDenominator; }

// The ratio of the device conversions: (1 / U) * n / d.
double DeviceRatio(const CSymbolLibIO* io, const CCoordsConverter& c) {
    return 1.0 / io->GetUnitsPerMM() * c.m_nNumerator / Denominator(c);
}

// Truncation toward zero, clamped to the LONG range (NaN gives 0).
LONG TruncToLong(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return INT32_MAX;
    if (v <= -2147483648.0) return INT32_MIN;
    return static_cast<LONG>(std::trunc(v));
}

// Rounding to the nearest integer, halves up: trunc(v + 0.5) for v >= -0.5, and the same rounding below,
// where truncating v + 0.5 would move every exact negative value up by one.
LONG RoundHalfUp(double v) { return TruncToLong(std::floor(v + 0.5)); }

}  // namespace

LONG CVMSymbolLibIO::OnNormalizeRect(RECT& rc, void* pContext) {
    const bool device = Converter(pContext).m_nDevice != 0;
    if (rc.left > rc.right) std::swap(rc.left, rc.right);
    if (device ? rc.top > rc.bottom : rc.top < rc.bottom) std::swap(rc.top, rc.bottom);
    return 0;
}

LONG CVMSymbolLibIO::OnGetAngle(double dCos, double dSin, double& dAngle, void* pContext) {
    const double a = std::asin(std::max(-1.0, std::min(1.0, dSin)));
    if (Converter(pContext).m_nDevice != 0) {
        double r;
        if (dCos >= 0 && dSin >= 0)
            r = 2 * kPi - a;
        else if (dCos <= 0)
            r = a + kPi;
        else
            r = -a;
        if (r > 2 * kPi)
            r -= 2 * kPi;
        else if (r < 0)
            r += 2 * kPi;
        dAngle = r;
    } else {
        if (dCos >= 0 && dSin <= 0)
            dAngle = 2 * kPi - a;
        else if (dCos <= 0 && dSin <= 0)
            dAngle = a + kPi;
        else if (dCos <= 0 && dSin >= 0)
            dAngle = kPi - a;
        else
            dAngle = a;
    }
    return 0;
}

LONG CVMSymbolLibIO::OnRotatePoint(double dSin, double dCos, const POINT& ptIn, POINT& ptOut, void* pContext) {
    if (!pContext) return 0;
    const double x = ptIn.x, y = ptIn.y;
    ptOut.x = RoundHalfUp(x * dCos - y * dSin);
    ptOut.y = RoundHalfUp(x * dSin + y * dCos);
    return 0;
}

LONG CVMSymbolLibIO::OnGetArcFactor(const POINT& ptA, const POINT& ptCentre, const POINT& ptB, double& dOut,
                                    void* pContext) {
    const double ax = static_cast<double>(ptA.x) - ptCentre.x, ay = static_cast<double>(ptA.y) - ptCentre.y;
    const double bx = static_cast<double>(ptB.x) - ptCentre.x, by = static_cast<double>(ptB.y) - ptCentre.y;
    const double lengths = std::hypot(ax, ay) * std::hypot(bx, by);
    const double c = lengths > 0 ? (ax * bx + ay * by) / lengths : 1.0;
    // a or b on the centre, or both in one direction: no arc to speak of.
    if (c >= 1.0) {
        dOut = 0.0;
        return 0;
    }
    dOut = std::sqrt(std::max(0.0, 1 - c * c)) / (1 - c);
    if (GetVectorRelation(ptCentre, ptB, ptA, Converter(pContext).m_nDevice) != 1) dOut = -dOut;
    return 0;
}

LONG CVMSymbolLibIO::OnLibToSystomRect(const RECT& rcIn, RECT& rcOut, void* pContext) {
    const CCoordsConverter& c = Converter(pContext);
    rcOut = rcIn;
    RPtoLP(static_cast<UINT>(Denominator(c)), kNoUnitChange, rcOut, DeviceRatio(this, c));
    return 0;
}

LONG CVMSymbolLibIO::OnLibToSystomPoint(const POINT& ptIn, POINT& ptOut, void* pContext) {
    const CCoordsConverter& c = Converter(pContext);
    if (c.m_nDevice != 0) {
        POINT p = ptIn;
        RPtoLP(1u, kNoUnitChange, p, DeviceRatio(this, c));
        ptOut.x = p.x;
        ptOut.y = p.y == INT32_MIN ? INT32_MAX : -p.y;
    } else {
        const double u = GetUnitsPerMM();
        ptOut.x = TruncToLong(ptIn.x / u * c.m_nNumerator);
        ptOut.y = TruncToLong(ptIn.y / u * c.m_nNumerator);
    }
    return 0;
}

LONG CVMSymbolLibIO::OnLibToSystomLength(LONG nIn, LONG& nOut, void* pContext) {
    const CCoordsConverter& c = Converter(pContext);
    if (c.m_nDevice != 0)
        nOut = RPtoLP(1u, kNoUnitChange, nIn, DeviceRatio(this, c));
    else
        nOut = TruncToLong(nIn / static_cast<double>(GetUnitsPerMM()) * c.m_nNumerator);
    return 0;
}

LONG CVMSymbolLibIO::OnLibToSystomAngle(double dIn, double& dOut, void* pContext) {
    if (Converter(pContext).m_nDevice != 0) {
        dOut = dIn;
    } else {
        dOut = -dIn;
        if (dOut < 0) dOut += 2 * kPi;
    }
    return 0;
}

LONG CVMSymbolLibIO::OnSystomToLibLength(LONG nIn, LONG& nOut, void* pContext) {
    const CCoordsConverter& c = Converter(pContext);
    if (c.m_nDevice != 0)
        nOut = LPtoRP(1u, kNoUnitChange, nIn, DeviceRatio(this, c));
    else
        nOut = c.m_nNumerator == 0 ? 0 : RoundHalfUp(GetUnitsPerMM() * (nIn / static_cast<double>(c.m_nNumerator)));
    return 0;
}
