// Shape type codes of the line classes and the one table of conversions they accept.
//
// A conversion target is a 16-bit code: the type in the low byte, a parameter in the high byte
// (the interpolation count of a new spline, 0 meaning the global default; the number of sides of a
// regular polygon; unused by the other types). Only the type byte decides whether a conversion is
// accepted.
#pragma once

#include <afx/afx.h>

#include <initializer_list>

// Type bytes and the class each one produces.
enum : WORD {
    GLT_PLINE = 0,           // CGeoPLine
    GLT_SPLINE = 1,          // CGeoSPLine; parameter: interpolation count (0 = global default)
    GLT_RESERVED = 2,        // no class accepts or produces it
    GLT_CIRCLE = 3,          // CGeoCircle
    GLT_TRIPOINTCIRCLE = 4,  // CGeoTriPointCircle
    GLT_RECTCIRCLE = 5,      // CGeoRectCircle
    GLT_TRIPOINTARC = 6,     // CGeoTriPointArc
    GLT_ELLIPSE = 7,         // CGeoEllipse
    GLT_RECT = 8,            // CGeoRect
    GLT_ROUNDRECT = 9,       // CGeoRoundRect
    GLT_POLYGONLINE = 10,    // CGeoPolygonLine
    GLT_RAPOLYGON = 11,      // CGeoRAPolygon
    GLT_NPOLYGON = 12,       // CGeoNPolygon; parameter: number of sides
};

// type | (param & 0xFF) << 8: only the low byte of the parameter is kept.
inline WORD GLT_TYPE(WORD type, WORD param) { return static_cast<WORD>(type | ((param & 0xFF) << 8)); }
// The type byte and the parameter byte of a code.
inline BYTE GetGLTType(WORD code) { return static_cast<BYTE>(code & 0xFF); }
inline BYTE GetGLTParam(WORD code) { return static_cast<BYTE>(code >> 8); }

// A set of type bytes as a bit mask (bit t = type t); types above 31 cannot be members.
constexpr DWORD GLTSet(std::initializer_list<WORD> types) {
    DWORD mask = 0;
    for (WORD t : types)
        if (t < 32) mask |= DWORD(1) << t;
    return mask;
}

// One row of the conversion table: what a source class accepts.
struct GeoLineConversionRow {
    LPCSTR lpszClassName;  // run-time class name of the source
    DWORD dwTargets;       // type bytes accepted
    DWORD dwRingTargets;   // of those, the ones accepted only from a source of at least 3 points
};

// The row of the class, or of its nearest base class that has one; NULL when no class of its chain
// has a row (a class that is no line).
const GeoLineConversionRow* FindLineConversionRow(const CRuntimeClass* pClass);

// Whether a source of this class holding nPoints logical points accepts the code. Refuses a type byte
// outside the row, the source's own type being never in its row. The parameter byte is not looked at.
BOOL IsLineConversionAccepted(const CRuntimeClass* pClass, WORD code, int nPoints);
