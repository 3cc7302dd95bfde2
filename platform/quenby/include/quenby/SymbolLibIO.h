// CSymbolLibIO: an open symbol library. It reads symbol-library files, draws symbols on a device context
// and decomposes them into primitives for a CSymbolOutputer.
//
// Coordinates
//   A caller draws in its own "system" units: device (logical) coordinates for DrawSymbol, its object
//   coordinates for OutputSymbol. The library never interprets them itself: it converts every library
//   point and length through the virtual On... operations below, handing them the context pointer the
//   caller passed. A subclass (given to OpenSymbolLib) overrides them to map library units to the
//   caller's units at the caller's scale. The base operations, used when the library is opened with
//   this class itself, map library units to tenths of a millimetre with y pointing down (a device at
//   scale 1:1) and ignore the context.
//   Angles handed to the point forms are degrees, counter-clockwise as a viewer sees them. Symbols are
//   turned by giving OnLibToSystomAngle the library angle (the viewer's angle negated, the way a device
//   with y pointing down measures it) and rotating with OnRotatePoint by the angle it returns.
//
// Shapes (DrawSymbol and OutputSymbol)
//   point form         a point symbol at the point, turned by the angle; a custom symbol centred there
//   rectangle form     the ellipse inscribed in the rectangle: line symbols along it, fill symbols fill it,
//                      a point symbol at its centre, a custom symbol stretched onto the rectangle
//   poly form          parts of points: line symbols along each part, fill symbols fill the parts as the
//                      rings of one area (alternate filling, so inner rings are holes) and draw their
//                      border along every ring, a custom symbol stretched onto the points' bounds
//   three-point form   (output only) the arc from p1 through p2 to p3 (a line when they are collinear),
//                      then as the poly form with one part
//   rectangle-and-size form (output only) the rounded rectangle whose corner ellipse is size.x by size.y,
//                      then as the poly form with one closed part
//   A shape the symbol's kind cannot take (a point symbol in the poly form, a line or fill symbol at a
//   point) is an error, so that the caller draws without the symbol.
//
// Results of DrawSymbol, OutputSymbol and DrawSymbolLegend
//   QUENBY_OK 0 drawn (or handed to the outputer; an outputer's refusal of a primitive is not an error)
//   QUENBY_ERR_NO_SYMBOL    the library has no symbol of that number
//   QUENBY_ERR_SHAPE        the symbol's kind cannot take that shape
//   QUENBY_ERR_ARGUMENT     a NULL device context, outputer, rectangle or point array, fewer than one
//                           part, a part of fewer than one point, an unknown mode
//   QUENBY_ERR_DEVICE       the device context refused the drawing
//   Nothing is drawn when the result is not 0. With a clip rectangle, a symbol wholly outside it draws
//   nothing and returns 0.
//
// Drawing modes: 13 draws normally (R2_COPYPEN); -300 draws for display in XOR fashion (R2_NOTXORPEN,
// text included), so that drawing the same symbol twice restores the image. The device context's state
// is restored before DrawSymbol returns.
//
// Symbol-library file (".sym" and ".slb" are one format). Little-endian, no padding. "string" is the
// class library's archive string: a BYTE length below 255, else 0xFF and a WORD length below 0xFFFE,
// else 0xFF 0xFFFF and a DWORD length; then that many GBK bytes, no terminator.
//     BYTE[4]  "QSYM"
//     WORD     format version, 1
//     WORD     0
//     DWORD    library units per millimetre, 1 to 1 000 000
//     string   description
//     DWORD    symbol count n
//     n entries:
//         DWORD   length in bytes of the rest of the entry (a reader skips an entry of a kind it does
//                 not know, and requires the entry to end exactly there otherwise)
//         DWORD   symbol number, 1 to 0x1FFFFF, unique in the file
//         WORD    kind: 0x8000 point, 0x4000 line, 0x2000 fill, 0x1000 custom
//         string  name
//         body of the kind:
//             point   primitive list
//             line    stroke list
//             fill    COLORREF fill colour, BYTE fill style, stroke list (the border)
//             custom  RECT frame (x1, y1, x2, y2; not degenerate), primitive list
//     primitive list: DWORD count, then per primitive
//         BYTE type, COLORREF line colour, LONG width (>= 0), DWORD line style, then by type:
//             1 polyline  DWORD count (>= 2), count POINTs (x, y LONGs)
//             2 polygon   COLORREF fill colour, BYTE fill style, DWORD count (>= 3), count POINTs
//             3 text      POINT top-left, LONG height (> 0), string face (< 32 bytes), string text
//             4 ellipse   COLORREF fill colour, BYTE fill style, RECT box
//             5 arc       COLORREF fill colour, BYTE fill style, BYTE pie, RECT box, POINT start, POINT end
//             6 chord     COLORREF fill colour, BYTE fill style, RECT box, POINT start, POINT end
//     stroke list: DWORD count, then per stroke
//         COLORREF colour, LONG width (>= 0), LONG offset, DWORD dash count (even, <= 64), LONG dashes (> 0)
//     Fill styles are 0 to 8 (see Symbols.h). Nothing follows the last entry.
// A file that breaks any of these rules does not open (QUENBY_OPEN_DAMAGED).
#pragma once

#include <afx/afx.h>
#include <win32/wingdi.h>

#include "quenby/SymbolAttrib.h"
#include "quenby/SymbolOutputer.h"
#include "quenby/Symbols.h"

#define QUENBY_OK 0
#define QUENBY_ERR_NO_SYMBOL 1
#define QUENBY_ERR_SHAPE 2
#define QUENBY_ERR_ARGUMENT 3
#define QUENBY_ERR_DEVICE 4

// Errors of OpenSymbolLib.
#define QUENBY_OPEN_OK 0
#define QUENBY_OPEN_BAD_CLASS 1      // NULL, not creatable, or not derived from CSymbolLibIO
#define QUENBY_OPEN_NO_FILE 2        // the file cannot be opened or read
#define QUENBY_OPEN_NOT_LIBRARY 3    // no "QSYM" at the start
#define QUENBY_OPEN_BAD_VERSION 4    // a format version this library cannot read
#define QUENBY_OPEN_DAMAGED 5        // truncated or inconsistent content

// The drawing modes.
#define QUENBY_MODE_NORMAL 13
#define QUENBY_MODE_XOR (-300)

// The file's format version.
#define QUENBY_FILE_VERSION 1

class CSymbolLibIO : public CObject {
    DECLARE_DYNCREATE(CSymbolLibIO)
public:
    // An empty library: 100 units per millimetre, no description, no symbols.
    CSymbolLibIO();
    // Deletes the symbols.
    ~CSymbolLibIO() override;
    CSymbolLibIO(const CSymbolLibIO&) = delete;
    CSymbolLibIO& operator=(const CSymbolLibIO&) = delete;

    // Creates an object of pClass (CSymbolLibIO or a class derived from it, dynamically creatable) and
    // reads the file at strPath into it. n is the host's map scale denominator, kept as GetMapScale.
    // *pError (when pError is given) receives QUENBY_OPEN_OK and the object is returned, owned by the
    // caller; or an error code and NULL.
    static CSymbolLibIO* OpenSymbolLib(CRuntimeClass* pClass, const CString& strPath, LONG* pError, DWORD n);

    // The whole library in the file format above. Loading replaces the content and raises
    // CArchiveException on a damaged file (the library is then left empty).
    void Serialize(CArchive& ar) override;

    // Library units per millimetre on paper, never 0.
    DWORD GetUnitsPerMM() const { return m_dwUnitsPerMM; }
    // Values outside 1 to 1 000 000 are refused (FALSE).
    BOOL SetUnitsPerMM(DWORD dwUnits);
    CString GetFileDescribe() const { return m_strDescribe; }
    void SetFileDescribe(const CString& strDescribe) { m_strDescribe = strDescribe; }
    // The path the library was opened from ("" for one built in memory).
    CString GetFilePath() const { return m_strPath; }
    DWORD GetMapScale() const { return m_dwMapScale; }

    // ------------------------------------------------------------------------------------------------
    // Symbols.

    // Every symbol by number. The map and its symbols belong to the library.
    CMap<LONG, LONG, CQuenby*, CQuenby*>& GetSymbolMap() { return m_symbols; }
    // The symbol of that number, or NULL; it belongs to the library.
    CQuenby* FindSymbol(LONG lSymbol) const;
    // Takes ownership of pSymbol and files it under its number, replacing (and deleting) a symbol of the
    // same number. FALSE (and pSymbol deleted) when its number is outside 1 to 0x1FFFFF.
    BOOL AddSymbol(CQuenby* pSymbol);
    // Deletes the symbol of that number; FALSE when there is none.
    BOOL RemoveSymbol(LONG lSymbol);

    // The symbol's name, "" when there is no such symbol.
    CString GetSymbolName(LONG lSymbol) const;
    BOOL IsKindOfPointSymbol(LONG lSymbol) const;
    BOOL IsKindOfLineSymbol(LONG lSymbol) const;
    BOOL IsKindOfFillSymbol(LONG lSymbol) const;

    // The symbol's attribute record: mask 0, slot 1 its main colour (type 2), and for line and fill
    // symbols slot 4 its main width in 0.01 mm (type 1). A cleared record when there is no such symbol.
    CSymbolAttrib GetSymbolAttrib(LONG lSymbol) const;
    // The mask bits the symbol honours: VM_SYM_MASK_COLOR for every symbol, plus VM_SYM_MASK_WIDTH for
    // line and fill symbols; 0 when there is no such symbol.
    WORD GetSupportSymAttribMask(LONG lSymbol) const;

    // ------------------------------------------------------------------------------------------------
    // Drawing, in device (logical) coordinates of hdc through the conversion operations. pClip: a
    // rectangle in the same coordinates outside which nothing needs drawing, or NULL. The int arguments
    // are reserved and 0. pContext goes to the conversion operations. pOutRect, when given, receives the
    // bounds of what was drawn (empty when nothing). pAttrib: the overrides to apply (mask and items),
    // or NULL. Results and modes: see the top of this file.

    // Rectangle form: the ellipse inscribed in *pRect.
    LONG DrawSymbol(HDC hdc, LONG lSymbol, const RECT* pRect, const RECT* pClip, int nReserved1, int nReserved2,
                    void* pContext, int nMode, RECT* pOutRect, CSymbolAttrib* pAttrib);
    // Point form; dAngle in degrees, counter-clockwise.
    LONG DrawSymbol(HDC hdc, LONG lSymbol, const POINT& pt, double dAngle, const RECT* pClip, int nReserved,
                    void* pContext, int nMode, RECT* pOutRect, CSymbolAttrib* pAttrib);
    // Poly form: nParts parts, the i-th of pCounts[i] points, one after the other in pPoints.
    LONG DrawSymbol(HDC hdc, LONG lSymbol, const POINT* pPoints, const LONG* pCounts, LONG nParts, const RECT* pClip,
                    int nReserved1, int nReserved2, void* pContext, int nMode, RECT* pOutRect, CSymbolAttrib* pAttrib);

    // The symbol's legend fitted into *pRect (device coordinates of hdc): a point or custom symbol scaled
    // to fit (custom ones stretched), a line symbol along the rectangle's middle from left to right, a
    // fill symbol filling the rectangle. Lengths of line and fill legends come from OnLibToDCLogic.
    // nReserved and lStyle are accepted for callers and change nothing; pContext is not used.
    LONG DrawSymbolLegend(HDC hdc, LONG lSymbol, const RECT* pRect, const RECT* pClip = nullptr, int nReserved = 1,
                          void* pContext = nullptr, int nMode = QUENBY_MODE_NORMAL, CSymbolAttrib* pAttrib = nullptr,
                          LONG lStyle = 0);

    // ------------------------------------------------------------------------------------------------
    // Decomposition: each primitive of the symbol, in system coordinates, goes through the On Output...
    // operations to pOutputer (BeginOutput before, EndOutput after). Result 0 when done; see the top of
    // this file. nFlag is reserved and 0.

    LONG OutputSymbol(CSymbolOutputer* pOutputer, LONG lSymbol, const POINT* pPoints, const LONG* pCounts, LONG nParts,
                      int nFlag, const RECT* pClip, void* pContext, CSymbolAttrib* pAttrib);
    LONG OutputSymbol(CSymbolOutputer* pOutputer, LONG lSymbol, const POINT& pt, double dAngle, const RECT* pClip,
                      void* pContext, CSymbolAttrib* pAttrib);
    LONG OutputSymbol(CSymbolOutputer* pOutputer, LONG lSymbol, const RECT* pRect, const RECT* pClip, void* pContext,
                      CSymbolAttrib* pAttrib);
    LONG OutputSymbol(CSymbolOutputer* pOutputer, LONG lSymbol, const POINT& p1, const POINT& p2, const POINT& p3,
                      const RECT* pClip, void* pContext, CSymbolAttrib* pAttrib);
    LONG OutputSymbol(CSymbolOutputer* pOutputer, LONG lSymbol, const RECT* pRect, const POINT& ptCorner,
                      const RECT* pClip, void* pContext, CSymbolAttrib* pAttrib);

    // ------------------------------------------------------------------------------------------------
    // Conversion and output operations, in the order subclasses override them. Each returns 0.

    // Library units to the device context's logical units: lengths v * LOGPIXELSX / (25.4 * U), rounded;
    // points the same with y negated; rectangles corner by corner, normalised.
    virtual LONG OnLibToDCLogic(HDC hdc, const RECT& rcLib, RECT& rcOut);
    virtual LONG OnLibToDCLogic(HDC hdc, const POINT& ptLib, POINT& ptOut);
    virtual LONG OnLibToDCLogic(HDC hdc, LONG nLib, LONG& nOut);
    virtual LONG OnDCLogicToLib(HDC hdc, LONG nLogic, LONG& nOut);
    // Orders a system rectangle so that (left, top) is the corner a viewer sees at the top left.
    virtual LONG OnNormalizeRect(RECT& rc, void* pContext);
    // The angle of the direction (cosine, sine).
    virtual LONG OnGetAngle(double dCos, double dSin, double& dAngle, void* pContext);
    // out = (x cos - y sin, x sin + y cos), rounded half away from zero.
    virtual LONG OnRotatePoint(double dSin, double dCos, const POINT& ptIn, POINT& ptOut, void* pContext);
    // cot of half the angle at the centre between a and b, signed by the turn from b to a.
    virtual LONG OnGetArcFactor(const POINT& ptA, const POINT& ptCentre, const POINT& ptB, double& dOut,
                                void* pContext);
    virtual LONG OnLibToSystomRect(const RECT& rcIn, RECT& rcOut, void* pContext);
    virtual LONG OnLibToSystomPoint(const POINT& ptIn, POINT& ptOut, void* pContext);
    virtual LONG OnLibToSystomLength(LONG nIn, LONG& nOut, void* pContext);
    virtual LONG OnLibToSystomAngle(double dIn, double& dOut, void* pContext);
    virtual LONG OnSystomToLib(const RECT& rcIn, RECT& rcOut, void* pContext);
    virtual LONG OnSystomToLib(const POINT& ptIn, POINT& ptOut, void* pContext);
    virtual LONG OnSystomToLibLength(LONG nIn, LONG& nOut, void* pContext);
    // Hand the primitive to the outputer's matching Output... operation and return its result.
    virtual LONG OnOutputPolyLine(CSymbolOutputer* pOutputer, const POINT* pPoints, LONG nCount, DWORD crColor,
                                  DWORD dwWidth, DWORD dwLineStyle, BYTE byReserved, const RECT* pClip, void* pContext);
    virtual LONG OnOutputPolygon(CSymbolOutputer* pOutputer, const POINT* pPoints, LONG nCount, DWORD crLine,
                                 DWORD dwWidth, DWORD dwLineStyle, DWORD crFill, BYTE byFillStyle, BYTE byReserved,
                                 const RECT* pClip, void* pContext);
    virtual LONG OnOutputAnno(CSymbolOutputer* pOutputer, const POINT& ptPosition, DWORD crColor, LOGFONT& font,
                              const char* pszText, const RECT* pClip, void* pContext);
    virtual LONG OnOutputEllipse(CSymbolOutputer* pOutputer, const RECT* pBox, DWORD crLine, DWORD dwWidth,
                                 DWORD dwLineStyle, DWORD crFill, BYTE byFillStyle, const RECT* pClip, void* pContext);
    virtual LONG OnOutputArc(CSymbolOutputer* pOutputer, const RECT* pBox, const POINT& ptStart, const POINT& ptEnd,
                             DWORD crLine, DWORD dwWidth, DWORD dwLineStyle, DWORD crFill, BYTE byFillStyle, BYTE byPie,
                             const RECT* pClip, void* pContext);
    virtual LONG OnOutputChord(CSymbolOutputer* pOutputer, const RECT* pBox, const POINT& ptStart, const POINT& ptEnd,
                               DWORD crLine, DWORD dwWidth, DWORD dwLineStyle, DWORD crFill, BYTE byFillStyle,
                               const RECT* pClip, void* pContext);

private:
    void RemoveAllSymbols();

    DWORD m_dwUnitsPerMM;
    CString m_strDescribe;
    CString m_strPath;
    DWORD m_dwMapScale;
    CMap<LONG, LONG, CQuenby*, CQuenby*> m_symbols;
};
