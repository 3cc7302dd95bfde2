#include "vector/ShapePainter.h"

#include "core/GeoVectorObject.h"

#include <ostrel/PointBuffer.h>
#include <quenby/SymbolLibIO.h>

#include <climits>
#include <cmath>

int GetDevicePenWidth(const GEOVIEW& view, UINT scale, UINT scale2, int scaleWidths) {
    if (!scaleWidths) return 0;
    const double w = static_cast<double>(view.m_fLineWidth) * scale2 / (scale ? scale : 1u);
    if (!(w > 0.0)) return 0;  // negative, zero or NaN
    if (w >= static_cast<double>(INT_MAX)) return INT_MAX;
    return static_cast<int>(w);
}

int ChooseSymbol(const void* pLib, const GEOVIEW& view, SYMBOLTYPE kind) {
    return pLib ? view.GetSymbol(kind) : 0;
}

int GetSymbolDrawMode(int xorMode) { return xorMode ? QUENBY_MODE_XOR : QUENBY_MODE_NORMAL; }

void DrawLineEndMarks(CDC* pDC, const POINT* pts, int n, int nDangleBits) {
    if (!pDC || !pts || n < 1) return;
    if (nDangleBits & DANGLE_FIRST) DrawDangle(pDC, pts[0]);
    if ((nDangleBits & DANGLE_LAST) && n > 1) DrawDangle(pDC, pts[n - 1]);
    if (nDangleBits & FALSENODE_FIRST) DrawFalseNode(pDC, pts[0]);
    if ((nDangleBits & FALSENODE_LAST) && n > 1) DrawFalseNode(pDC, pts[n - 1]);
}

// ---- scratch points ----

CScratchPoints::CScratchPoints(int n) : m_pPoints(GetFXPointBuffer(n)) {}

CScratchPoints::~CScratchPoints() { Release(); }

void CScratchPoints::Release() {
    if (m_pPoints) FreeFXPointBuffer();
    m_pPoints = nullptr;
}

// ---- plain painting ----

CShapePainter::CShapePainter(CDC* pDC) : m_pDC(pDC && pDC->m_hDC ? pDC : nullptr) {}

CShapePainter::~CShapePainter() { Restore(); }

BOOL CShapePainter::Select(HGDIOBJ hObject, BOOL bOwned) {
    if (!hObject) return FALSE;
    if (!m_pDC) {
        if (bOwned) ::DeleteObject(hObject);
        return FALSE;
    }
    const DWORD type = ::GetObjectType(hObject);
    if (type != OBJ_PEN && type != OBJ_EXTPEN && type != OBJ_BRUSH) {
        if (bOwned) ::DeleteObject(hObject);
        return FALSE;
    }
    HGDIOBJ hOld = ::SelectObject(m_pDC->m_hDC, hObject);
    if (!hOld) {
        if (bOwned) ::DeleteObject(hObject);
        return FALSE;
    }
    // Only the first selection of each kind remembers what to put back.
    HGDIOBJ& hKeep = type == OBJ_BRUSH ? m_hOldBrush : m_hOldPen;
    if (!hKeep) hKeep = hOld;
    if (bOwned) m_created.push_back(hObject);
    return TRUE;
}

BOOL CShapePainter::SelectLinePen(const GEOVIEW& view, int w, BOOL bGeometric) {
    if (bGeometric && w > 1) {
        LOGBRUSH lb{BS_SOLID, view.m_crLineColor, 0};
        HPEN hPen = ::ExtCreatePen(static_cast<DWORD>(view.m_nLineShape) | PS_GEOMETRIC, static_cast<DWORD>(w), &lb,
                                   0, nullptr);
        if (hPen) return Select(hPen, TRUE);
    }
    return SelectPen(PS_SOLID, w > 0 ? w : 0, view.m_crLineColor);
}

BOOL CShapePainter::SelectPen(int nStyle, int nWidth, COLORREF crColor) {
    return Select(::CreatePen(nStyle, nWidth, crColor), TRUE);
}

BOOL CShapePainter::SelectFillBrush(int nHatch, COLORREF crColor) {
    HBRUSH hBrush = nHatch < 0 ? ::CreateSolidBrush(crColor) : ::CreateHatchBrush(nHatch, crColor);
    return Select(hBrush, TRUE);
}

BOOL CShapePainter::SelectStockObject(int nIndex) { return Select(::GetStockObject(nIndex), FALSE); }

void CShapePainter::SetROP2(int nRop) {
    if (!m_pDC) return;
    const int nOld = ::SetROP2(m_pDC->m_hDC, nRop);
    if (nOld) m_modes.push_back({0, nOld});
}

void CShapePainter::SetXorMode(int xorMode) {
    if (xorMode) SetROP2(R2_NOTXORPEN);
}

void CShapePainter::SetBkMode(int nMode) {
    if (!m_pDC) return;
    const int nOld = ::SetBkMode(m_pDC->m_hDC, nMode);
    if (nOld) m_modes.push_back({1, nOld});
}

void CShapePainter::Restore() {
    if (m_pDC) {
        const HDC hdc = m_pDC->m_hDC;
        for (size_t i = m_modes.size(); i-- > 0;) {
            if (m_modes[i].nKind == 0)
                ::SetROP2(hdc, m_modes[i].nOld);
            else
                ::SetBkMode(hdc, m_modes[i].nOld);
        }
        if (m_hOldPen) ::SelectObject(hdc, m_hOldPen);
        if (m_hOldBrush) ::SelectObject(hdc, m_hOldBrush);
    }
    m_modes.clear();
    m_hOldPen = m_hOldBrush = nullptr;
    for (size_t i = 0; i < m_created.size(); ++i) ::DeleteObject(m_created[i]);
    m_created.clear();
}

// ---- symbols ----

CSymbolPainting::CSymbolPainting(CGeoVectorObject& obj, CSymbolAttrib& attrib, CSymbolLibIO* pLib, int nSymbol,
                                 UINT scale, UINT scale2, int keepColours, COLORREF crColor)
    : m_attrib(attrib),
      m_pLib(pLib),
      m_nSymbol(nSymbol),
      m_converter(static_cast<int>(scale), static_cast<int>(scale2), 1),
      m_pContext(&m_converter),
      m_wOldMask(obj.PrepareSymbolAttribute(pLib, nSymbol, keepColours, crColor)) {}

CSymbolPainting::CSymbolPainting(CGeoVectorObject& obj, CSymbolAttrib& attrib, CSymbolLibIO* pLib, int nSymbol,
                                 void* pConverter)
    : m_attrib(attrib),
      m_pLib(pLib),
      m_nSymbol(nSymbol),
      m_pContext(pConverter),
      m_wOldMask(obj.PrepareSymbolAttribute(pLib, nSymbol, 1, 0)) {}

CSymbolPainting::~CSymbolPainting() { RestoreMask(); }

void CSymbolPainting::RestoreMask() {
    if (m_bRestored) return;
    m_attrib.SetAttribMask(m_wOldMask);
    m_bRestored = true;
}

LONG CSymbolPainting::DrawPoly(CDC* pDC, const POINT* pPoints, const LONG* pCounts, LONG nParts, const RECT* pClip,
                               int xorMode) {
    if (!m_pLib || !pDC) return QUENBY_ERR_ARGUMENT;
    return m_pLib->DrawSymbol(pDC->m_hDC, m_nSymbol, pPoints, pCounts, nParts, pClip, 0, 0, m_pContext,
                              GetSymbolDrawMode(xorMode), nullptr, &m_attrib);
}

LONG CSymbolPainting::DrawPoly(CDC* pDC, const POINT* pPoints, LONG nCount, const RECT* pClip, int xorMode) {
    return DrawPoly(pDC, pPoints, &nCount, 1, pClip, xorMode);
}

LONG CSymbolPainting::DrawRect(CDC* pDC, const RECT* pRect, const RECT* pClip, int xorMode) {
    if (!m_pLib || !pDC) return QUENBY_ERR_ARGUMENT;
    return m_pLib->DrawSymbol(pDC->m_hDC, m_nSymbol, pRect, pClip, 0, 0, m_pContext, GetSymbolDrawMode(xorMode),
                              nullptr, &m_attrib);
}

LONG CSymbolPainting::DrawPoint(CDC* pDC, const POINT& pt, double dAngle, const RECT* pClip, int xorMode) {
    if (!m_pLib || !pDC) return QUENBY_ERR_ARGUMENT;
    return m_pLib->DrawSymbol(pDC->m_hDC, m_nSymbol, pt, dAngle, pClip, 0, m_pContext, GetSymbolDrawMode(xorMode),
                              nullptr, &m_attrib);
}

LONG CSymbolPainting::OutputPoly(CSymbolOutputer* pOutputer, const POINT* pPoints, const LONG* pCounts, LONG nParts) {
    if (!m_pLib || !pOutputer) return QUENBY_ERR_ARGUMENT;
    return m_pLib->OutputSymbol(pOutputer, m_nSymbol, pPoints, pCounts, nParts, 0, nullptr, m_pContext, &m_attrib);
}

LONG CSymbolPainting::OutputPoly(CSymbolOutputer* pOutputer, const POINT* pPoints, LONG nCount) {
    return OutputPoly(pOutputer, pPoints, &nCount, 1);
}

void ApplyAreaShowState(GEOVIEW& view, int state, float w0, float w1) {
    switch (state) {
        case 0:
        case 1:
            view.m_nFillShape = 0;
            view.m_crLineColor = state == 0 ? 0 : 0x0000FF;
            view.m_fLineWidth = state == 0 ? w0 : w1;
            break;
        case 2:
        case 3:
            view.m_nFillShape = 4;
            view.m_crFillColor = state == 2 ? 0 : 0x00FF00;
            break;
        default:
            break;
    }
}
