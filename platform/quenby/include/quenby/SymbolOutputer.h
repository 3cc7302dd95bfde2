// CSymbolOutputer: the sink of CSymbolLibIO::OutputSymbol. The library decomposes a symbol into
// primitives and hands each one, through its subclass's OnOutput... operations, to an outputer.
//
// Coordinates and lengths arrive in the caller's system units, as the library's conversion operations
// produced them for the context given to OutputSymbol (the same context is passed on). Every Output...
// operation returns 0 when it took the primitive and 1 when it refused it; a refusal does not stop the
// run. The base refuses everything.
//
// Primitive values:
//   colours        COLORREF
//   width          the stroke width in system units (0 = the thinnest line)
//   line style     an ExtCreatePen style word: PS_SOLID.. in the low bits, end caps 0x100/0x200, joins
//                  0x1000/0x2000; PS_NULL (5) means no outline
//   fill style     0 no fill, 1 solid, 2..7 hatch HS_HORIZONTAL..HS_DIAGCROSS (style - 2), 8 solid fill
//                  drawn transparent (combined with what lies beneath)
//   arcs           run counter-clockwise as seen by a viewer, from the radial through start to the radial
//                  through end; pie 1 closes the arc through the centre (a pie), 0 leaves it open
//   the BYTE before the RECT* of polylines and polygons is always 0; the RECT* is the clip rectangle of
//   the OutputSymbol call (NULL at every call of this system)
#pragma once

#include <afx/afx.h>
#include <win32/wingdi.h>

class CSymbolOutputer {
public:
    CSymbolOutputer() = default;
    virtual ~CSymbolOutputer();

    // Called before and after the primitives of each OutputSymbol call; the base does nothing and
    // returns 0. The results are not read.
    virtual LONG BeginOutput();
    virtual LONG EndOutput();

    // count >= 1 points of an open line.
    virtual LONG OutputPolyLine(const POINT* pPoints, LONG nCount, DWORD crColor, DWORD dwWidth, DWORD dwLineStyle,
                                BYTE byReserved, const RECT* pClip, void* pContext);
    // A closed ring of count points (the last point may or may not repeat the first).
    virtual LONG OutputPolygon(const POINT* pPoints, LONG nCount, DWORD crLine, DWORD dwWidth, DWORD dwLineStyle,
                               DWORD crFill, BYTE byFillStyle, BYTE byReserved, const RECT* pClip, void* pContext);
    // Text with its top-left corner at position; font.lfHeight is the letter height in system units,
    // lfFaceName the face, lfUnderline the underline flag, lfEscapement the direction in tenths of a
    // degree counter-clockwise. text is GBK and zero-terminated.
    virtual LONG OutputAnno(const POINT& ptPosition, DWORD crColor, LOGFONT& font, const char* pszText,
                            const RECT* pClip, void* pContext);
    // The ellipse inscribed in the box (corners in any order).
    virtual LONG OutputEllipse(const RECT* pBox, DWORD crLine, DWORD dwWidth, DWORD dwLineStyle, DWORD crFill,
                               BYTE byFillStyle, const RECT* pClip, void* pContext);
    virtual LONG OutputArc(const RECT* pBox, const POINT& ptStart, const POINT& ptEnd, DWORD crLine, DWORD dwWidth,
                           DWORD dwLineStyle, DWORD crFill, BYTE byFillStyle, BYTE byPie, const RECT* pClip,
                           void* pContext);
    // An arc closed by the chord between its ends.
    virtual LONG OutputChord(const RECT* pBox, const POINT& ptStart, const POINT& ptEnd, DWORD crLine, DWORD dwWidth,
                             DWORD dwLineStyle, DWORD crFill, BYTE byFillStyle, const RECT* pClip, void* pContext);
};
