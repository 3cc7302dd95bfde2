// The class library's GDI object wrappers: CGdiObject and its pen, brush, font, region and bitmap
// classes, each owning one GDI handle (see win32/wingdi.h for what the handles do).
//
// Ownership: an object deletes its handle when it is destroyed or DeleteObject is called, unless the
// handle was taken back with Detach. FromHandle gives the object that owns a handle, or a temporary
// wrapper kept until DeleteTempMap (the temporary wrapper never deletes the handle); a NULL handle gives
// NULL. The constructors that create a handle throw CResourceException when GDI refuses; the Create
// functions return FALSE instead. Create on an object that already holds a handle fails.
#pragma once

#include "afx/Geometry.h"
#include "afx/Object.h"
#include "afx/ResourceException.h"
#include "afx/String.h"
#include "win32/wingdi.h"

class CDC;

class CGdiObject : public CObject {
    DECLARE_DYNAMIC(CGdiObject)
public:
    CGdiObject() = default;
    ~CGdiObject() override;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    HGDIOBJ m_hObject = nullptr;

    operator HGDIOBJ() const { return m_hObject; }
    HGDIOBJ GetSafeHandle() const { return m_hObject; }

    // The object that owns the handle, else a temporary wrapper of the handle's kind (CPen, CBrush,
    // CFont, CRgn, CBitmap or CGdiObject); NULL for a NULL handle.
    static CGdiObject* FromHandle(HGDIOBJ hObject);
    // Frees the temporary wrappers (the handles stay).
    static void DeleteTempMap();

    // Takes ownership of a handle; FALSE when the object already holds one or hObject is NULL.
    BOOL Attach(HGDIOBJ hObject);
    // Gives up the handle without deleting it.
    HGDIOBJ Detach();
    // Deletes the handle; FALSE when there is none or GDI refuses (a bitmap still selected).
    BOOL DeleteObject();

    // The handle's description (LOGPEN, LOGBRUSH, LOGFONT, BITMAP...): bytes copied, 0 on failure.
    int GetObject(int nCount, LPVOID lpObject) const;
    UINT GetObjectType() const;
    // Attaches a stock object (never deleted by GDI).
    BOOL CreateStockObject(int nIndex);
    BOOL UnrealizeObject() { return m_hObject != nullptr; }

    BOOL operator==(const CGdiObject& obj) const { return obj.m_hObject == m_hObject; }
    BOOL operator!=(const CGdiObject& obj) const { return obj.m_hObject != m_hObject; }
};

class CPen : public CGdiObject {
    DECLARE_DYNAMIC(CPen)
public:
    static CPen* FromHandle(HPEN hPen) { return static_cast<CPen*>(CGdiObject::FromHandle(hPen)); }

    CPen() = default;
    // width in logical units; 0 draws one pixel whatever the mapping.
    CPen(int nPenStyle, int nWidth, COLORREF crColor);
    // A geometric or cosmetic pen (ExtCreatePen); nStyleCount/lpStyle for PS_USERSTYLE.
    CPen(int nPenStyle, int nWidth, const LOGBRUSH* pLogBrush, int nStyleCount = 0, const DWORD* lpStyle = nullptr);
    BOOL CreatePen(int nPenStyle, int nWidth, COLORREF crColor);
    BOOL CreatePen(int nPenStyle, int nWidth, const LOGBRUSH* pLogBrush, int nStyleCount = 0,
                   const DWORD* lpStyle = nullptr);
    BOOL CreatePenIndirect(LPLOGPEN lpLogPen);

    operator HPEN() const { return static_cast<HPEN>(static_cast<void*>(m_hObject)); }
    int GetLogPen(LOGPEN* pLogPen) { return GetObject(sizeof(LOGPEN), pLogPen); }
    int GetExtLogPen(EXTLOGPEN* pLogPen) { return GetObject(sizeof(EXTLOGPEN), pLogPen); }
};

class CBitmap;

class CBrush : public CGdiObject {
    DECLARE_DYNAMIC(CBrush)
public:
    static CBrush* FromHandle(HBRUSH hBrush) { return static_cast<CBrush*>(CGdiObject::FromHandle(hBrush)); }

    CBrush() = default;
    explicit CBrush(COLORREF crColor);      // solid
    CBrush(int nIndex, COLORREF crColor);   // hatched, HS_*
    explicit CBrush(CBitmap* pBitmap);      // pattern
    BOOL CreateSolidBrush(COLORREF crColor);
    BOOL CreateHatchBrush(int nIndex, COLORREF crColor);
    BOOL CreateBrushIndirect(const LOGBRUSH* lpLogBrush);
    BOOL CreatePatternBrush(CBitmap* pBitmap);
    BOOL CreateDIBPatternBrush(const void* lpPackedDIB, UINT nUsage);
    // The brush of a system colour (GetSysColorBrush): attached, and never deleted by GDI.
    BOOL CreateSysColorBrush(int nIndex);

    operator HBRUSH() const { return static_cast<HBRUSH>(static_cast<void*>(m_hObject)); }
    int GetLogBrush(LOGBRUSH* pLogBrush) { return GetObject(sizeof(LOGBRUSH), pLogBrush); }
};

class CFont : public CGdiObject {
    DECLARE_DYNAMIC(CFont)
public:
    static CFont* FromHandle(HFONT hFont) { return static_cast<CFont*>(CGdiObject::FromHandle(hFont)); }

    CFont() = default;
    BOOL CreateFontIndirect(const LOGFONT* lpLogFont);
    BOOL CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
                    BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision, BYTE nClipPrecision,
                    BYTE nQuality, BYTE nPitchAndFamily, LPCTSTR lpszFacename);
    // nPointSize in tenths of a point; the height is converted to the DC's logical units (the screen's,
    // 96 pixels per inch, when pDC is NULL): 90 gives lfHeight -12 in MM_TEXT.
    BOOL CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, CDC* pDC = nullptr);
    // lfHeight holds tenths of a point on the way in.
    BOOL CreatePointFontIndirect(const LOGFONT* lpLogFont, CDC* pDC = nullptr);

    operator HFONT() const { return static_cast<HFONT>(static_cast<void*>(m_hObject)); }
    int GetLogFont(LOGFONT* pLogFont) { return GetObject(sizeof(LOGFONT), pLogFont); }
};

// Regions in device coordinates (see wingdi.h). Functions returning a region complexity give ERROR on
// failure.
class CRgn : public CGdiObject {
    DECLARE_DYNAMIC(CRgn)
public:
    static CRgn* FromHandle(HRGN hRgn) { return static_cast<CRgn*>(CGdiObject::FromHandle(hRgn)); }

    CRgn() = default;
    operator HRGN() const { return static_cast<HRGN>(static_cast<void*>(m_hObject)); }

    BOOL CreateRectRgn(int x1, int y1, int x2, int y2);
    BOOL CreateRectRgnIndirect(LPCRECT lpRect);
    BOOL CreateEllipticRgn(int x1, int y1, int x2, int y2);
    BOOL CreateEllipticRgnIndirect(LPCRECT lpRect);
    BOOL CreatePolygonRgn(const POINT* lpPoints, int nCount, int nMode);
    BOOL CreatePolyPolygonRgn(const POINT* lpPoints, const INT* lpPolyCounts, int nCount, int nPolyFillMode);
    BOOL CreateRoundRectRgn(int x1, int y1, int x2, int y2, int x3, int y3);
    // The DC's closed path as a region (the path is used up).
    BOOL CreateFromPath(CDC* pDC);

    void SetRectRgn(int x1, int y1, int x2, int y2) { ::SetRectRgn(*this, x1, y1, x2, y2); }
    void SetRectRgn(LPCRECT lpRect) { ::SetRectRgn(*this, lpRect->left, lpRect->top, lpRect->right, lpRect->bottom); }
    // This region = pRgn1 op pRgn2 (this must already hold a region, as in GDI).
    int CombineRgn(CRgn* pRgn1, CRgn* pRgn2, int nCombineMode);
    int CopyRgn(CRgn* pRgnSrc);
    BOOL EqualRgn(CRgn* pRgn) const;
    int OffsetRgn(int x, int y) { return ::OffsetRgn(*this, x, y); }
    int OffsetRgn(POINT point) { return ::OffsetRgn(*this, point.x, point.y); }
    int GetRgnBox(LPRECT lpRect) const { return ::GetRgnBox(*this, lpRect); }
    BOOL PtInRegion(int x, int y) const { return ::PtInRegion(*this, x, y); }
    BOOL PtInRegion(POINT point) const { return ::PtInRegion(*this, point.x, point.y); }
    BOOL RectInRegion(LPCRECT lpRect) const { return ::RectInRegion(*this, lpRect); }
};

class CBitmap : public CGdiObject {
    DECLARE_DYNAMIC(CBitmap)
public:
    static CBitmap* FromHandle(HBITMAP hBitmap) { return static_cast<CBitmap*>(CGdiObject::FromHandle(hBitmap)); }

    CBitmap() = default;
    operator HBITMAP() const { return static_cast<HBITMAP>(static_cast<void*>(m_hObject)); }

    BOOL CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits);
    BOOL CreateBitmapIndirect(LPBITMAP lpBitmap);
    BOOL CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight);
    BOOL CreateDiscardableBitmap(CDC* pDC, int nWidth, int nHeight) { return CreateCompatibleBitmap(pDC, nWidth, nHeight); }
    int GetBitmap(BITMAP* pBitMap) { return GetObject(sizeof(BITMAP), pBitMap); }
    DWORD SetBitmapBits(DWORD dwCount, const void* lpBits) { return (DWORD)::SetBitmapBits(*this, dwCount, lpBits); }
    DWORD GetBitmapBits(DWORD dwCount, LPVOID lpBits) const { return (DWORD)::GetBitmapBits(*this, (LONG)dwCount, lpBits); }
};
