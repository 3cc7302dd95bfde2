// The class library's device contexts: CDC over an HDC (see win32/wingdi.h and win32/windraw.h for what
// each call draws and returns), and the DCs of windows, CClientDC, CWindowDC and CPaintDC.
//
// Ownership: a CDC deletes the DC it holds when it is destroyed, unless the DC was taken back with Detach
// (window DCs are released instead). FromHandle gives the CDC that holds an HDC or a temporary one kept
// until DeleteTempMap, which never deletes the DC. SelectObject returns the previously selected object
// as a wrapper from FromHandle (NULL on failure), so it can be selected back.
//
// Coordinates are logical unless a function says otherwise. IsPrinting is TRUE for a DC that says it is
// a printer (win32::CreatePrinterDC) or that the host marked by setting m_bPrinting.
#pragma once

#include <type_traits>
#include <utility>

#include "afx/GdiObject.h"
#include "afx/Geometry.h"
#include "afx/String.h"
#include "win32/windraw.h"
#include "win32/wingdi.h"

class CDC : public CObject {
    DECLARE_DYNAMIC(CDC)
public:
    CDC() = default;
    ~CDC() override;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC m_hDC = nullptr;
    HDC m_hAttribDC = nullptr;  // the same DC: output and attributes are not split here
    BOOL m_bPrinting = FALSE;

    operator HDC() const { return m_hDC; }
    HDC GetSafeHdc() const { return m_hDC; }
    static CDC* FromHandle(HDC hDC);
    static void DeleteTempMap();
    // Takes ownership of hDC (FALSE when hDC is NULL or a DC is held); a printer DC sets m_bPrinting.
    BOOL Attach(HDC hDC);
    HDC Detach();
    BOOL DeleteDC();
    // A memory DC compatible with pDC (NULL: the screen).
    BOOL CreateCompatibleDC(CDC* pDC);

    BOOL IsPrinting() const { return m_bPrinting; }
    int GetDeviceCaps(int nIndex) const { return ::GetDeviceCaps(m_hDC, nIndex); }
    int SaveDC() { return ::SaveDC(m_hDC); }
    BOOL RestoreDC(int nSavedDC) { return ::RestoreDC(m_hDC, nSavedDC); }

    // Objects
    CPen* SelectObject(CPen* pPen);
    CBrush* SelectObject(CBrush* pBrush);
    CFont* SelectObject(CFont* pFont);
    CBitmap* SelectObject(CBitmap* pBitmap);
    CGdiObject* SelectObject(CGdiObject* pObject);
    int SelectObject(CRgn* pRgn);  // the clip region's complexity
    HGDIOBJ SelectObject(HGDIOBJ hObject) { return ::SelectObject(m_hDC, hObject); }
    CGdiObject* SelectStockObject(int nIndex);
    CPen* GetCurrentPen() const { return CPen::FromHandle((HPEN)::GetCurrentObject(m_hDC, OBJ_PEN)); }
    CBrush* GetCurrentBrush() const { return CBrush::FromHandle((HBRUSH)::GetCurrentObject(m_hDC, OBJ_BRUSH)); }
    CFont* GetCurrentFont() const { return CFont::FromHandle((HFONT)::GetCurrentObject(m_hDC, OBJ_FONT)); }
    CBitmap* GetCurrentBitmap() const { return CBitmap::FromHandle((HBITMAP)::GetCurrentObject(m_hDC, OBJ_BITMAP)); }

    // Attributes
    COLORREF SetTextColor(COLORREF crColor) { return ::SetTextColor(m_hDC, crColor); }
    COLORREF GetTextColor() const { return ::GetTextColor(m_hDC); }
    COLORREF SetBkColor(COLORREF crColor) { return ::SetBkColor(m_hDC, crColor); }
    COLORREF GetBkColor() const { return ::GetBkColor(m_hDC); }
    int SetBkMode(int nBkMode) { return ::SetBkMode(m_hDC, nBkMode); }
    int GetBkMode() const { return ::GetBkMode(m_hDC); }
    int SetROP2(int nDrawMode) { return ::SetROP2(m_hDC, nDrawMode); }
    int GetROP2() const { return ::GetROP2(m_hDC); }
    int SetPolyFillMode(int nPolyFillMode) { return ::SetPolyFillMode(m_hDC, nPolyFillMode); }
    int GetPolyFillMode() const { return ::GetPolyFillMode(m_hDC); }
    int SetStretchBltMode(int nStretchMode) { return ::SetStretchBltMode(m_hDC, nStretchMode); }
    int GetStretchBltMode() const { return ::GetStretchBltMode(m_hDC); }
    UINT SetTextAlign(UINT nFlags) { return ::SetTextAlign(m_hDC, nFlags); }
    UINT GetTextAlign() const { return ::GetTextAlign(m_hDC); }
    int SetArcDirection(int nArcDirection) { return ::SetArcDirection(m_hDC, nArcDirection); }
    int GetArcDirection() const { return ::GetArcDirection(m_hDC); }
    int SetGraphicsMode(int iMode) { return ::SetGraphicsMode(m_hDC, iMode); }
    int GetGraphicsMode() const { return ::GetGraphicsMode(m_hDC); }
    int SetTextCharacterExtra(int nCharExtra) { return ::SetTextCharacterExtra(m_hDC, nCharExtra); }
    int GetTextCharacterExtra() const { return ::GetTextCharacterExtra(m_hDC); }
    BOOL SetMiterLimit(float fMiterLimit) { return ::SetMiterLimit(m_hDC, fMiterLimit, nullptr); }
    float GetMiterLimit() const;
    CPoint SetBrushOrg(int x, int y);
    CPoint SetBrushOrg(POINT point) { return SetBrushOrg(point.x, point.y); }
    CPoint GetBrushOrg() const;

    // Mapping
    int SetMapMode(int nMapMode) { return ::SetMapMode(m_hDC, nMapMode); }
    int GetMapMode() const { return ::GetMapMode(m_hDC); }
    CPoint SetViewportOrg(int x, int y);
    CPoint SetViewportOrg(POINT point) { return SetViewportOrg(point.x, point.y); }
    CPoint OffsetViewportOrg(int nWidth, int nHeight);
    CPoint GetViewportOrg() const;
    CSize SetViewportExt(int cx, int cy);
    CSize SetViewportExt(SIZE size) { return SetViewportExt(size.cx, size.cy); }
    CSize ScaleViewportExt(int xNum, int xDenom, int yNum, int yDenom);
    CSize GetViewportExt() const;
    CPoint SetWindowOrg(int x, int y);
    CPoint SetWindowOrg(POINT point) { return SetWindowOrg(point.x, point.y); }
    CPoint OffsetWindowOrg(int nWidth, int nHeight);
    CPoint GetWindowOrg() const;
    CSize SetWindowExt(int cx, int cy);
    CSize SetWindowExt(SIZE size) { return SetWindowExt(size.cx, size.cy); }
    CSize ScaleWindowExt(int xNum, int xDenom, int yNum, int yDenom);
    CSize GetWindowExt() const;
    void DPtoLP(LPPOINT lpPoints, int nCount = 1) const { ::DPtoLP(m_hDC, lpPoints, nCount); }
    void DPtoLP(LPRECT lpRect) const { ::DPtoLP(m_hDC, reinterpret_cast<LPPOINT>(lpRect), 2); }
    void DPtoLP(LPSIZE lpSize) const;  // a size: scaled, not moved
    void LPtoDP(LPPOINT lpPoints, int nCount = 1) const { ::LPtoDP(m_hDC, lpPoints, nCount); }
    void LPtoDP(LPRECT lpRect) const { ::LPtoDP(m_hDC, reinterpret_cast<LPPOINT>(lpRect), 2); }
    void LPtoDP(LPSIZE lpSize) const;

    // Clipping
    int GetClipBox(LPRECT lpRect) const { return ::GetClipBox(m_hDC, lpRect); }
    BOOL PtVisible(int x, int y) const { return ::PtVisible(m_hDC, x, y); }
    BOOL PtVisible(POINT point) const { return ::PtVisible(m_hDC, point.x, point.y); }
    BOOL RectVisible(LPCRECT lpRect) const { return ::RectVisible(m_hDC, lpRect); }
    int SelectClipRgn(CRgn* pRgn) { return ::SelectClipRgn(m_hDC, pRgn ? (HRGN)*pRgn : nullptr); }
    int SelectClipRgn(CRgn* pRgn, int nMode) { return ::ExtSelectClipRgn(m_hDC, pRgn ? (HRGN)*pRgn : nullptr, nMode); }
    int ExcludeClipRect(int x1, int y1, int x2, int y2) { return ::ExcludeClipRect(m_hDC, x1, y1, x2, y2); }
    int ExcludeClipRect(LPCRECT r) { return ::ExcludeClipRect(m_hDC, r->left, r->top, r->right, r->bottom); }
    int IntersectClipRect(int x1, int y1, int x2, int y2) { return ::IntersectClipRect(m_hDC, x1, y1, x2, y2); }
    int IntersectClipRect(LPCRECT r) { return ::IntersectClipRect(m_hDC, r->left, r->top, r->right, r->bottom); }
    int OffsetClipRgn(int x, int y) { return ::OffsetClipRgn(m_hDC, x, y); }
    int OffsetClipRgn(SIZE size) { return ::OffsetClipRgn(m_hDC, size.cx, size.cy); }

    // Lines and curves
    CPoint GetCurrentPosition() const;
    CPoint MoveTo(int x, int y);  // returns the previous position
    CPoint MoveTo(POINT point) { return MoveTo(point.x, point.y); }
    BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
    BOOL LineTo(POINT point) { return ::LineTo(m_hDC, point.x, point.y); }
    BOOL Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
        return ::Arc(m_hDC, x1, y1, x2, y2, x3, y3, x4, y4);
    }
    BOOL Arc(LPCRECT r, POINT ptStart, POINT ptEnd) {
        return ::Arc(m_hDC, r->left, r->top, r->right, r->bottom, ptStart.x, ptStart.y, ptEnd.x, ptEnd.y);
    }
    BOOL ArcTo(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
        return ::ArcTo(m_hDC, x1, y1, x2, y2, x3, y3, x4, y4);
    }
    BOOL ArcTo(LPCRECT r, POINT ptStart, POINT ptEnd) {
        return ::ArcTo(m_hDC, r->left, r->top, r->right, r->bottom, ptStart.x, ptStart.y, ptEnd.x, ptEnd.y);
    }
    BOOL AngleArc(int x, int y, int nRadius, float fStartAngle, float fSweepAngle) {
        return ::AngleArc(m_hDC, x, y, (DWORD)nRadius, fStartAngle, fSweepAngle);
    }
    BOOL Polyline(const POINT* lpPoints, int nCount) { return ::Polyline(m_hDC, lpPoints, nCount); }
    BOOL PolylineTo(const POINT* lpPoints, int nCount) { return ::PolylineTo(m_hDC, lpPoints, nCount); }
    BOOL PolyPolyline(const POINT* lpPoints, const DWORD* lpPolyPoints, int nCount) {
        return ::PolyPolyline(m_hDC, lpPoints, lpPolyPoints, (DWORD)nCount);
    }
    BOOL PolyBezier(const POINT* lpPoints, int nCount) { return ::PolyBezier(m_hDC, lpPoints, (DWORD)nCount); }
    BOOL PolyBezierTo(const POINT* lpPoints, int nCount) { return ::PolyBezierTo(m_hDC, lpPoints, (DWORD)nCount); }
    BOOL PolyDraw(const POINT* lpPoints, const BYTE* lpTypes, int nCount) {
        return ::PolyDraw(m_hDC, lpPoints, lpTypes, nCount);
    }

    // Closed figures
    BOOL Polygon(const POINT* lpPoints, int nCount) { return ::Polygon(m_hDC, lpPoints, nCount); }
    BOOL PolyPolygon(const POINT* lpPoints, const INT* lpPolyCounts, int nCount) {
        return ::PolyPolygon(m_hDC, lpPoints, lpPolyCounts, nCount);
    }
    BOOL Rectangle(int x1, int y1, int x2, int y2) { return ::Rectangle(m_hDC, x1, y1, x2, y2); }
    BOOL Rectangle(LPCRECT r) { return ::Rectangle(m_hDC, r->left, r->top, r->right, r->bottom); }
    BOOL RoundRect(int x1, int y1, int x2, int y2, int x3, int y3) { return ::RoundRect(m_hDC, x1, y1, x2, y2, x3, y3); }
    BOOL RoundRect(LPCRECT r, POINT point) {
        return ::RoundRect(m_hDC, r->left, r->top, r->right, r->bottom, point.x, point.y);
    }
    BOOL Ellipse(int x1, int y1, int x2, int y2) { return ::Ellipse(m_hDC, x1, y1, x2, y2); }
    BOOL Ellipse(LPCRECT r) { return ::Ellipse(m_hDC, r->left, r->top, r->right, r->bottom); }
    BOOL Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
        return ::Chord(m_hDC, x1, y1, x2, y2, x3, y3, x4, y4);
    }
    BOOL Chord(LPCRECT r, POINT ptStart, POINT ptEnd) {
        return ::Chord(m_hDC, r->left, r->top, r->right, r->bottom, ptStart.x, ptStart.y, ptEnd.x, ptEnd.y);
    }
    BOOL Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
        return ::Pie(m_hDC, x1, y1, x2, y2, x3, y3, x4, y4);
    }
    BOOL Pie(LPCRECT r, POINT ptStart, POINT ptEnd) {
        return ::Pie(m_hDC, r->left, r->top, r->right, r->bottom, ptStart.x, ptStart.y, ptEnd.x, ptEnd.y);
    }
    void FillRect(LPCRECT lpRect, CBrush* pBrush) { ::FillRect(m_hDC, lpRect, pBrush ? (HBRUSH)*pBrush : nullptr); }
    void FrameRect(LPCRECT lpRect, CBrush* pBrush) { ::FrameRect(m_hDC, lpRect, pBrush ? (HBRUSH)*pBrush : nullptr); }
    void InvertRect(LPCRECT lpRect) { ::InvertRect(m_hDC, lpRect); }
    void DrawFocusRect(LPCRECT lpRect) { ::DrawFocusRect(m_hDC, lpRect); }
    BOOL DrawEdge(LPRECT lpRect, UINT nEdge, UINT nFlags) { return ::DrawEdge(m_hDC, lpRect, nEdge, nFlags); }
    // Fills with one colour through ExtTextOut's opaque rectangle; like the class library's, it leaves
    // the DC's background colour set to clr.
    void FillSolidRect(LPCRECT lpRect, COLORREF clr);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF clr);
    // A one-pixel frame: top and left in clrTopLeft, right and bottom in clrBottomRight.
    void Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight);
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight);

    // Regions and pixels
    BOOL FillRgn(CRgn* pRgn, CBrush* pBrush) { return pRgn && pBrush && ::FillRgn(m_hDC, *pRgn, *pBrush); }
    BOOL FrameRgn(CRgn* pRgn, CBrush* pBrush, int nWidth, int nHeight) {
        return pRgn && pBrush && ::FrameRgn(m_hDC, *pRgn, *pBrush, nWidth, nHeight);
    }
    BOOL InvertRgn(CRgn* pRgn) { return pRgn && ::InvertRgn(m_hDC, *pRgn); }
    BOOL PaintRgn(CRgn* pRgn) { return pRgn && ::PaintRgn(m_hDC, *pRgn); }
    COLORREF SetPixel(int x, int y, COLORREF crColor) { return ::SetPixel(m_hDC, x, y, crColor); }
    COLORREF SetPixel(POINT point, COLORREF crColor) { return ::SetPixel(m_hDC, point.x, point.y, crColor); }
    BOOL SetPixelV(int x, int y, COLORREF crColor) { return ::SetPixelV(m_hDC, x, y, crColor); }
    BOOL SetPixelV(POINT point, COLORREF crColor) { return ::SetPixelV(m_hDC, point.x, point.y, crColor); }
    COLORREF GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
    COLORREF GetPixel(POINT point) const { return ::GetPixel(m_hDC, point.x, point.y); }

    // Block transfers
    BOOL PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop) { return ::PatBlt(m_hDC, x, y, nWidth, nHeight, dwRop); }
    BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop) {
        return ::BitBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC ? pSrcDC->m_hDC : nullptr, xSrc, ySrc, dwRop);
    }
    BOOL StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, int nSrcWidth,
                    int nSrcHeight, DWORD dwRop) {
        return ::StretchBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC ? pSrcDC->m_hDC : nullptr, xSrc, ySrc, nSrcWidth,
                            nSrcHeight, dwRop);
    }

    // Text
    BOOL TextOut(int x, int y, LPCTSTR lpszString, int nCount) { return ::TextOut(m_hDC, x, y, lpszString, nCount); }
    BOOL TextOut(int x, int y, const CString& str) { return ::TextOut(m_hDC, x, y, str, str.GetLength()); }
    BOOL ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCTSTR lpszString, UINT nCount, INT* lpDxWidths) {
        return ::ExtTextOut(m_hDC, x, y, nOptions, lpRect, lpszString, nCount, lpDxWidths);
    }
    BOOL ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, const CString& str, INT* lpDxWidths) {
        return ::ExtTextOut(m_hDC, x, y, nOptions, lpRect, str, (UINT)str.GetLength(), lpDxWidths);
    }
    CSize GetTextExtent(LPCTSTR lpszString, int nCount) const;
    CSize GetTextExtent(const CString& str) const { return GetTextExtent(str, str.GetLength()); }
    CSize GetOutputTextExtent(LPCTSTR lpszString, int nCount) const { return GetTextExtent(lpszString, nCount); }
    CSize GetOutputTextExtent(const CString& str) const { return GetTextExtent(str, str.GetLength()); }
    BOOL GetTextMetrics(LPTEXTMETRIC lpMetrics) const { return ::GetTextMetrics(m_hDC, lpMetrics); }
    BOOL GetOutputTextMetrics(LPTEXTMETRIC lpMetrics) const { return ::GetTextMetrics(m_hDC, lpMetrics); }
    BOOL GetCharWidth(UINT nFirstChar, UINT nLastChar, INT* lpBuffer) const {
        return ::GetCharWidth(m_hDC, nFirstChar, nLastChar, lpBuffer);
    }
    int DrawText(LPCTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat) {
        return ::DrawText(m_hDC, lpszString, nCount, lpRect, nFormat);
    }
    int DrawText(const CString& str, LPRECT lpRect, UINT nFormat) {
        return ::DrawText(m_hDC, str, str.GetLength(), lpRect, nFormat);
    }
    int GetTextFace(int nCount, LPTSTR lpszFacename) const { return ::GetTextFace(m_hDC, nCount, lpszFacename); }
    int GetTextFace(CString& rString) const;

    // Paths
    BOOL BeginPath() { return ::BeginPath(m_hDC); }
    BOOL EndPath() { return ::EndPath(m_hDC); }
    BOOL AbortPath() { return ::AbortPath(m_hDC); }
    BOOL CloseFigure() { return ::CloseFigure(m_hDC); }
    BOOL FillPath() { return ::FillPath(m_hDC); }
    BOOL StrokePath() { return ::StrokePath(m_hDC); }
    BOOL StrokeAndFillPath() { return ::StrokeAndFillPath(m_hDC); }
    BOOL FlattenPath() { return ::FlattenPath(m_hDC); }
    BOOL WidenPath() { return ::WidenPath(m_hDC); }
    int GetPath(LPPOINT lpPoints, LPBYTE lpTypes, int nCount) const { return ::GetPath(m_hDC, lpPoints, lpTypes, nCount); }
    BOOL SelectClipPath(int nMode) { return ::SelectClipPath(m_hDC, nMode); }
};

// The DC of a window's client area, released when the object goes. Constructed from the window's handle
// or from any window object with GetSafeHwnd() (CWnd*); NULL gives the screen.
class CClientDC : public CDC {
    DECLARE_DYNAMIC(CClientDC)
public:
    explicit CClientDC(HWND hWnd);
    template <class W, class = decltype(std::declval<W*>()->GetSafeHwnd())>
    explicit CClientDC(W* pWnd) : CClientDC(pWnd ? pWnd->GetSafeHwnd() : (HWND) nullptr) {}
    ~CClientDC() override;
    HWND m_hWnd;
};

class CWindowDC : public CDC {
    DECLARE_DYNAMIC(CWindowDC)
public:
    explicit CWindowDC(HWND hWnd);
    template <class W, class = decltype(std::declval<W*>()->GetSafeHwnd())>
    explicit CWindowDC(W* pWnd) : CWindowDC(pWnd ? pWnd->GetSafeHwnd() : (HWND) nullptr) {}
    ~CWindowDC() override;
    HWND m_hWnd;
};

// BeginPaint in the constructor, EndPaint in the destructor; m_ps.rcPaint is the whole client area.
class CPaintDC : public CDC {
    DECLARE_DYNAMIC(CPaintDC)
public:
    explicit CPaintDC(HWND hWnd);
    template <class W, class = decltype(std::declval<W*>()->GetSafeHwnd())>
    explicit CPaintDC(W* pWnd) : CPaintDC(pWnd ? pWnd->GetSafeHwnd() : (HWND) nullptr) {}
    ~CPaintDC() override;
    HWND m_hWnd;
    PAINTSTRUCT m_ps;
};
