#include "afx/GdiObject.h"

#include <cstring>
#include <map>
#include <memory>

#include "afx/Dc.h"
#include "win32/windraw.h"

IMPLEMENT_DYNAMIC(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CRgn, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)

namespace {

// Handles owned by objects, and temporary wrappers of the others. Never destroyed: objects living in
// static storage may detach during exit.
std::map<HGDIOBJ, CGdiObject*>& Permanent() {
    static auto* m = new std::map<HGDIOBJ, CGdiObject*>();
    return *m;
}

std::map<HGDIOBJ, std::unique_ptr<CGdiObject>>& Temporary() {
    static auto* m = new std::map<HGDIOBJ, std::unique_ptr<CGdiObject>>();
    return *m;
}

CRuntimeClass* WrapperClass(HGDIOBJ h) {
    switch (::GetObjectType(h)) {
        case OBJ_PEN:
        case OBJ_EXTPEN: return RUNTIME_CLASS(CPen);
        case OBJ_BRUSH: return RUNTIME_CLASS(CBrush);
        case OBJ_FONT: return RUNTIME_CLASS(CFont);
        case OBJ_REGION: return RUNTIME_CLASS(CRgn);
        case OBJ_BITMAP: return RUNTIME_CLASS(CBitmap);
        default: return RUNTIME_CLASS(CGdiObject);
    }
}

CGdiObject* NewWrapper(CRuntimeClass* c) {
    if (c == RUNTIME_CLASS(CPen)) return new CPen;
    if (c == RUNTIME_CLASS(CBrush)) return new CBrush;
    if (c == RUNTIME_CLASS(CFont)) return new CFont;
    if (c == RUNTIME_CLASS(CRgn)) return new CRgn;
    if (c == RUNTIME_CLASS(CBitmap)) return new CBitmap;
    return new CGdiObject;
}

}  // namespace

CGdiObject::~CGdiObject() { DeleteObject(); }

CGdiObject* CGdiObject::FromHandle(HGDIOBJ h) {
    if (!h) return nullptr;
    auto p = Permanent().find(h);
    if (p != Permanent().end()) return p->second;
    CRuntimeClass* cls = WrapperClass(h);
    auto& temp = Temporary();
    auto t = temp.find(h);
    // A handle value may come back for an object of another kind once the first is deleted.
    if (t != temp.end() && t->second->m_hObject == h && t->second->GetRuntimeClass() == cls) return t->second.get();
    CGdiObject* w = NewWrapper(cls);
    w->m_hObject = h;
    if (t != temp.end()) t->second->m_hObject = nullptr;
    temp[h].reset(w);
    return w;
}

void CGdiObject::DeleteTempMap() {
    for (auto& e : Temporary()) e.second->m_hObject = nullptr;  // wrappers never delete handles
    Temporary().clear();
}

BOOL CGdiObject::Attach(HGDIOBJ h) {
    if (!h || m_hObject) return FALSE;
    m_hObject = h;
    Permanent()[h] = this;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
    HGDIOBJ h = m_hObject;
    if (h) {
        auto p = Permanent().find(h);
        if (p != Permanent().end() && p->second == this) Permanent().erase(p);
    }
    m_hObject = nullptr;
    return h;
}

BOOL CGdiObject::DeleteObject() {
    if (!m_hObject) return FALSE;
    // A handle GDI will not delete yet (a bitmap still selected into a DC) stays with the object.
    if (::GetObjectType(m_hObject) == OBJ_BITMAP) {
        HGDIOBJ h = m_hObject;
        if (!::DeleteObject(h)) return FALSE;
        Detach();
        return TRUE;
    }
    return ::DeleteObject(Detach());
}

int CGdiObject::GetObject(int nCount, LPVOID lpObject) const { return ::GetObject(m_hObject, nCount, lpObject); }

UINT CGdiObject::GetObjectType() const { return (UINT)::GetObjectType(m_hObject); }

BOOL CGdiObject::CreateStockObject(int nIndex) { return Attach(::GetStockObject(nIndex)); }

// ---------------------------------------------------------------------------------------------------------

CPen::CPen(int nPenStyle, int nWidth, COLORREF crColor) {
    if (!CreatePen(nPenStyle, nWidth, crColor)) AfxThrowResourceException();
}

CPen::CPen(int nPenStyle, int nWidth, const LOGBRUSH* pLogBrush, int nStyleCount, const DWORD* lpStyle) {
    if (!CreatePen(nPenStyle, nWidth, pLogBrush, nStyleCount, lpStyle)) AfxThrowResourceException();
}

BOOL CPen::CreatePen(int nPenStyle, int nWidth, COLORREF crColor) {
    if (m_hObject) return FALSE;
    return Attach(::CreatePen(nPenStyle, nWidth, crColor));
}

BOOL CPen::CreatePen(int nPenStyle, int nWidth, const LOGBRUSH* pLogBrush, int nStyleCount, const DWORD* lpStyle) {
    if (m_hObject || nWidth < 0 || nStyleCount < 0) return FALSE;
    return Attach(::ExtCreatePen((DWORD)nPenStyle, (DWORD)nWidth, pLogBrush, (DWORD)nStyleCount, lpStyle));
}

BOOL CPen::CreatePenIndirect(LPLOGPEN lpLogPen) {
    if (m_hObject) return FALSE;
    return Attach(::CreatePenIndirect(lpLogPen));
}

// ---------------------------------------------------------------------------------------------------------

CBrush::CBrush(COLORREF crColor) {
    if (!CreateSolidBrush(crColor)) AfxThrowResourceException();
}

CBrush::CBrush(int nIndex, COLORREF crColor) {
    if (!CreateHatchBrush(nIndex, crColor)) AfxThrowResourceException();
}

CBrush::CBrush(CBitmap* pBitmap) {
    if (!CreatePatternBrush(pBitmap)) AfxThrowResourceException();
}

BOOL CBrush::CreateSolidBrush(COLORREF crColor) { return !m_hObject && Attach(::CreateSolidBrush(crColor)); }

BOOL CBrush::CreateHatchBrush(int nIndex, COLORREF crColor) {
    return !m_hObject && Attach(::CreateHatchBrush(nIndex, crColor));
}

BOOL CBrush::CreateBrushIndirect(const LOGBRUSH* lpLogBrush) {
    return !m_hObject && Attach(::CreateBrushIndirect(lpLogBrush));
}

BOOL CBrush::CreatePatternBrush(CBitmap* pBitmap) {
    return !m_hObject && pBitmap && Attach(::CreatePatternBrush(*pBitmap));
}

BOOL CBrush::CreateDIBPatternBrush(const void* lpPackedDIB, UINT nUsage) {
    return !m_hObject && Attach(::CreateDIBPatternBrushPt(lpPackedDIB, nUsage));
}

BOOL CBrush::CreateSysColorBrush(int nIndex) { return !m_hObject && Attach(::GetSysColorBrush(nIndex)); }

// ---------------------------------------------------------------------------------------------------------

BOOL CFont::CreateFontIndirect(const LOGFONT* lpLogFont) {
    return !m_hObject && Attach(::CreateFontIndirect(lpLogFont));
}

BOOL CFont::CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
                       BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision, BYTE nClipPrecision,
                       BYTE nQuality, BYTE nPitchAndFamily, LPCTSTR lpszFacename) {
    return !m_hObject && Attach(::CreateFont(nHeight, nWidth, nEscapement, nOrientation, nWeight, bItalic, bUnderline,
                                             cStrikeOut, nCharSet, nOutPrecision, nClipPrecision, nQuality,
                                             nPitchAndFamily, lpszFacename));
}

BOOL CFont::CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, CDC* pDC) {
    LOGFONT lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfHeight = nPointSize;
    if (lpszFaceName) std::strncpy(lf.lfFaceName, lpszFaceName, LF_FACESIZE - 1);
    return CreatePointFontIndirect(&lf, pDC);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONT* lpLogFont, CDC* pDC) {
    if (!lpLogFont) return FALSE;
    HDC hDC = pDC ? pDC->GetSafeHdc() : nullptr;
    HDC screen = hDC ? nullptr : ::GetDC(nullptr);
    HDC dc = hDC ? hDC : screen;
    LOGFONT lf = *lpLogFont;
    // Tenths of a point to device pixels, then to the DC's logical units.
    POINT pt{0, (LONG)(((int64_t)::GetDeviceCaps(dc, LOGPIXELSY) * lf.lfHeight * 2 + 720) / 1440)};
    POINT org{0, 0};
    ::DPtoLP(dc, &pt, 1);
    ::DPtoLP(dc, &org, 1);
    lf.lfHeight = -std::abs(pt.y - org.y);
    if (screen) ::ReleaseDC(nullptr, screen);
    return CreateFontIndirect(&lf);
}

// ---------------------------------------------------------------------------------------------------------

BOOL CRgn::CreateRectRgn(int x1, int y1, int x2, int y2) { return !m_hObject && Attach(::CreateRectRgn(x1, y1, x2, y2)); }

BOOL CRgn::CreateRectRgnIndirect(LPCRECT lpRect) { return !m_hObject && Attach(::CreateRectRgnIndirect(lpRect)); }

BOOL CRgn::CreateEllipticRgn(int x1, int y1, int x2, int y2) {
    return !m_hObject && Attach(::CreateEllipticRgn(x1, y1, x2, y2));
}

BOOL CRgn::CreateEllipticRgnIndirect(LPCRECT lpRect) {
    return !m_hObject && Attach(::CreateEllipticRgnIndirect(lpRect));
}

BOOL CRgn::CreatePolygonRgn(const POINT* lpPoints, int nCount, int nMode) {
    return !m_hObject && Attach(::CreatePolygonRgn(lpPoints, nCount, nMode));
}

BOOL CRgn::CreatePolyPolygonRgn(const POINT* lpPoints, const INT* lpPolyCounts, int nCount, int nPolyFillMode) {
    return !m_hObject && Attach(::CreatePolyPolygonRgn(lpPoints, lpPolyCounts, nCount, nPolyFillMode));
}

BOOL CRgn::CreateRoundRectRgn(int x1, int y1, int x2, int y2, int x3, int y3) {
    return !m_hObject && Attach(::CreateRoundRectRgn(x1, y1, x2, y2, x3, y3));
}

BOOL CRgn::CreateFromPath(CDC* pDC) { return !m_hObject && pDC && Attach(::PathToRegion(pDC->GetSafeHdc())); }

int CRgn::CombineRgn(CRgn* pRgn1, CRgn* pRgn2, int nCombineMode) {
    return ::CombineRgn(*this, pRgn1 ? (HRGN)*pRgn1 : nullptr, pRgn2 ? (HRGN)*pRgn2 : nullptr, nCombineMode);
}

int CRgn::CopyRgn(CRgn* pRgnSrc) {
    return ::CombineRgn(*this, pRgnSrc ? (HRGN)*pRgnSrc : nullptr, nullptr, RGN_COPY);
}

BOOL CRgn::EqualRgn(CRgn* pRgn) const { return pRgn && ::EqualRgn(*this, *pRgn); }

// ---------------------------------------------------------------------------------------------------------

BOOL CBitmap::CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits) {
    return !m_hObject && Attach(::CreateBitmap(nWidth, nHeight, nPlanes, nBitcount, lpBits));
}

BOOL CBitmap::CreateBitmapIndirect(LPBITMAP lpBitmap) { return !m_hObject && Attach(::CreateBitmapIndirect(lpBitmap)); }

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) {
    return !m_hObject && pDC && Attach(::CreateCompatibleBitmap(pDC->GetSafeHdc(), nWidth, nHeight));
}
