#include "afx/Dc.h"

#include <map>
#include <memory>

IMPLEMENT_DYNAMIC(CDC, CObject)
IMPLEMENT_DYNAMIC(CClientDC, CDC)
IMPLEMENT_DYNAMIC(CWindowDC, CDC)
IMPLEMENT_DYNAMIC(CPaintDC, CDC)

namespace {

// DCs held by CDC objects, and temporary CDCs for the others; never destroyed (see GdiObject.cpp).
std::map<HDC, CDC*>& Permanent() {
    static auto* m = new std::map<HDC, CDC*>();
    return *m;
}

std::map<HDC, std::unique_ptr<CDC>>& Temporary() {
    static auto* m = new std::map<HDC, std::unique_ptr<CDC>>();
    return *m;
}

}  // namespace

CDC::~CDC() {
    if (m_hDC) ::DeleteDC(Detach());
}

CDC* CDC::FromHandle(HDC hDC) {
    if (!hDC) return nullptr;
    auto p = Permanent().find(hDC);
    if (p != Permanent().end()) return p->second;
    std::unique_ptr<CDC>& t = Temporary()[hDC];
    if (!t || t->m_hDC != hDC) {
        t.reset(new CDC);
        t->m_hDC = t->m_hAttribDC = hDC;
        t->m_bPrinting = ::GetDeviceCaps(hDC, TECHNOLOGY) == DT_RASPRINTER;
    }
    return t.get();
}

void CDC::DeleteTempMap() {
    for (auto& e : Temporary()) e.second->m_hDC = e.second->m_hAttribDC = nullptr;  // never deletes DCs
    Temporary().clear();
}

BOOL CDC::Attach(HDC hDC) {
    if (!hDC || m_hDC) return FALSE;
    m_hDC = m_hAttribDC = hDC;
    m_bPrinting = ::GetDeviceCaps(hDC, TECHNOLOGY) == DT_RASPRINTER;
    Permanent()[hDC] = this;
    return TRUE;
}

HDC CDC::Detach() {
    HDC h = m_hDC;
    if (h) {
        auto p = Permanent().find(h);
        if (p != Permanent().end() && p->second == this) Permanent().erase(p);
        // A temporary CDC of this handle would outlive it.
        auto t = Temporary().find(h);
        if (t != Temporary().end() && t->second.get() != this) {
            t->second->m_hDC = t->second->m_hAttribDC = nullptr;
            Temporary().erase(t);
        }
    }
    m_hDC = m_hAttribDC = nullptr;
    return h;
}

BOOL CDC::DeleteDC() {
    if (!m_hDC) return FALSE;
    return ::DeleteDC(Detach());
}

BOOL CDC::CreateCompatibleDC(CDC* pDC) {
    if (m_hDC) return FALSE;
    return Attach(::CreateCompatibleDC(pDC ? pDC->m_hDC : nullptr));
}

CPen* CDC::SelectObject(CPen* pPen) {
    if (!pPen) return nullptr;
    return CPen::FromHandle((HPEN)::SelectObject(m_hDC, pPen->m_hObject));
}

CBrush* CDC::SelectObject(CBrush* pBrush) {
    if (!pBrush) return nullptr;
    return CBrush::FromHandle((HBRUSH)::SelectObject(m_hDC, pBrush->m_hObject));
}

CFont* CDC::SelectObject(CFont* pFont) {
    if (!pFont) return nullptr;
    return CFont::FromHandle((HFONT)::SelectObject(m_hDC, pFont->m_hObject));
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap) {
    if (!pBitmap) return nullptr;
    return CBitmap::FromHandle((HBITMAP)::SelectObject(m_hDC, pBitmap->m_hObject));
}

CGdiObject* CDC::SelectObject(CGdiObject* pObject) {
    if (!pObject) return nullptr;
    if (::GetObjectType(pObject->m_hObject) == OBJ_REGION) {
        ::SelectClipRgn(m_hDC, (HRGN)pObject->m_hObject);
        return nullptr;
    }
    return CGdiObject::FromHandle(::SelectObject(m_hDC, pObject->m_hObject));
}

int CDC::SelectObject(CRgn* pRgn) { return ::SelectClipRgn(m_hDC, pRgn ? (HRGN)*pRgn : nullptr); }

CGdiObject* CDC::SelectStockObject(int nIndex) {
    HGDIOBJ h = ::GetStockObject(nIndex);
    if (!h) return nullptr;
    return CGdiObject::FromHandle(::SelectObject(m_hDC, h));
}

float CDC::GetMiterLimit() const {
    FLOAT f = 0;
    ::GetMiterLimit(m_hDC, &f);
    return f;
}

CPoint CDC::SetBrushOrg(int x, int y) {
    POINT p{0, 0};
    ::SetBrushOrgEx(m_hDC, x, y, &p);
    return CPoint(p);
}

CPoint CDC::GetBrushOrg() const {
    POINT p{0, 0};
    ::GetBrushOrgEx(m_hDC, &p);
    return CPoint(p);
}

CPoint CDC::SetViewportOrg(int x, int y) {
    POINT p{0, 0};
    ::SetViewportOrgEx(m_hDC, x, y, &p);
    return CPoint(p);
}

CPoint CDC::OffsetViewportOrg(int nWidth, int nHeight) {
    POINT p{0, 0};
    ::OffsetViewportOrgEx(m_hDC, nWidth, nHeight, &p);
    return CPoint(p);
}

CPoint CDC::GetViewportOrg() const {
    POINT p{0, 0};
    ::GetViewportOrgEx(m_hDC, &p);
    return CPoint(p);
}

CSize CDC::SetViewportExt(int cx, int cy) {
    SIZE s{0, 0};
    ::SetViewportExtEx(m_hDC, cx, cy, &s);
    return CSize(s);
}

CSize CDC::ScaleViewportExt(int xNum, int xDenom, int yNum, int yDenom) {
    SIZE s{0, 0};
    ::ScaleViewportExtEx(m_hDC, xNum, xDenom, yNum, yDenom, &s);
    return CSize(s);
}

CSize CDC::GetViewportExt() const {
    SIZE s{0, 0};
    ::GetViewportExtEx(m_hDC, &s);
    return CSize(s);
}

CPoint CDC::SetWindowOrg(int x, int y) {
    POINT p{0, 0};
    ::SetWindowOrgEx(m_hDC, x, y, &p);
    return CPoint(p);
}

CPoint CDC::OffsetWindowOrg(int nWidth, int nHeight) {
    POINT p{0, 0};
    ::OffsetWindowOrgEx(m_hDC, nWidth, nHeight, &p);
    return CPoint(p);
}

CPoint CDC::GetWindowOrg() const {
    POINT p{0, 0};
    ::GetWindowOrgEx(m_hDC, &p);
    return CPoint(p);
}

CSize CDC::SetWindowExt(int cx, int cy) {
    SIZE s{0, 0};
    ::SetWindowExtEx(m_hDC, cx, cy, &s);
    return CSize(s);
}

CSize CDC::ScaleWindowExt(int xNum, int xDenom, int yNum, int yDenom) {
    SIZE s{0, 0};
    ::ScaleWindowExtEx(m_hDC, xNum, xDenom, yNum, yDenom, &s);
    return CSize(s);
}

CSize CDC::GetWindowExt() const {
    SIZE s{0, 0};
    ::GetWindowExtEx(m_hDC, &s);
    return CSize(s);
}

void CDC::DPtoLP(LPSIZE lpSize) const {
    POINT p[2] = {{0, 0}, {lpSize->cx, lpSize->cy}};
    ::DPtoLP(m_hDC, p, 2);
    lpSize->cx = p[1].x - p[0].x;
    lpSize->cy = p[1].y - p[0].y;
}

void CDC::LPtoDP(LPSIZE lpSize) const {
    POINT p[2] = {{0, 0}, {lpSize->cx, lpSize->cy}};
    ::LPtoDP(m_hDC, p, 2);
    lpSize->cx = p[1].x - p[0].x;
    lpSize->cy = p[1].y - p[0].y;
}

CPoint CDC::GetCurrentPosition() const {
    POINT p{0, 0};
    ::GetCurrentPositionEx(m_hDC, &p);
    return CPoint(p);
}

CPoint CDC::MoveTo(int x, int y) {
    POINT p{0, 0};
    ::MoveToEx(m_hDC, x, y, &p);
    return CPoint(p);
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr) {
    ::SetBkColor(m_hDC, clr);
    ::ExtTextOut(m_hDC, 0, 0, ETO_OPAQUE, lpRect, nullptr, 0, nullptr);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr) {
    RECT r{x, y, x + cx, y + cy};
    FillSolidRect(&r, clr);
}

void CDC::Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight) {
    Draw3dRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, clrTopLeft,
               clrBottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight) {
    FillSolidRect(x, y, cx - 1, 1, clrTopLeft);
    FillSolidRect(x, y, 1, cy - 1, clrTopLeft);
    FillSolidRect(x + cx, y, -1, cy, clrBottomRight);
    FillSolidRect(x, y + cy, cx, -1, clrBottomRight);
}

CSize CDC::GetTextExtent(LPCTSTR lpszString, int nCount) const {
    SIZE s{0, 0};
    ::GetTextExtentPoint32(m_hDC, lpszString, nCount, &s);
    return CSize(s);
}

int CDC::GetTextFace(CString& rString) const {
    char face[LF_FACESIZE] = {0};
    int n = ::GetTextFace(m_hDC, LF_FACESIZE, face);
    rString = face;
    return n;
}

// ---------------------------------------------------------------------------------------------------------

CClientDC::CClientDC(HWND hWnd) : m_hWnd(hWnd) {
    if (!Attach(::GetDC(hWnd))) AfxThrowResourceException();
}

CClientDC::~CClientDC() {
    if (m_hDC) ::ReleaseDC(m_hWnd, Detach());
}

CWindowDC::CWindowDC(HWND hWnd) : m_hWnd(hWnd) {
    if (!Attach(::GetWindowDC(hWnd))) AfxThrowResourceException();
}

CWindowDC::~CWindowDC() {
    if (m_hDC) ::ReleaseDC(m_hWnd, Detach());
}

CPaintDC::CPaintDC(HWND hWnd) : m_hWnd(hWnd), m_ps{} {
    if (!Attach(::BeginPaint(hWnd, &m_ps))) AfxThrowResourceException();
}

CPaintDC::~CPaintDC() {
    if (m_hDC) {
        Detach();
        ::EndPaint(m_hWnd, &m_ps);
    }
}
