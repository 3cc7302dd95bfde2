#include "ui/SymbolLibBrowser.h"

#include <afx/Cursor.h>
#include <quenby/SymbolLibIO.h>

#include <map>

namespace {

const COLORREF kHighlight = 0x8C3232;

// Now, from the class library's clock (which a host or a test can set).
SYSTEMTIME Now() {
    const COleDateTime now = COleDateTime::GetCurrentTime();
    SYSTEMTIME st = {};
    st.wYear = static_cast<WORD>(now.GetYear());
    st.wMonth = static_cast<WORD>(now.GetMonth());
    st.wDay = static_cast<WORD>(now.GetDay());
    st.wHour = static_cast<WORD>(now.GetHour());
    st.wMinute = static_cast<WORD>(now.GetMinute());
    st.wSecond = static_cast<WORD>(now.GetSecond());
    return st;
}

// One solid brush per background colour for the registered classes: a class keeps its brush for as
// long as windows of it may exist, which is the life of the process.
HBRUSH BackgroundBrush(COLORREF cr) {
    static std::map<COLORREF, HBRUSH> brushes;
    auto it = brushes.find(cr);
    if (it == brushes.end()) it = brushes.emplace(cr, CreateSolidBrush(cr)).first;
    return it->second;
}

}  // namespace

IMPLEMENT_DYNAMIC(CSymbolLibBrowser, CWnd)

BEGIN_MESSAGE_MAP(CSymbolLibBrowser, CWnd)
    ON_WM_PAINT()
    ON_WM_VSCROLL()
    ON_WM_LBUTTONDOWN()
    ON_WM_KEYDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSEWHEEL()
    ON_WM_ACTIVATE()
END_MESSAGE_MAP()

CSymbolLibBrowser::CSymbolLibBrowser() : m_timeLastKey(Now()) {}

CSymbolLibBrowser::~CSymbolLibBrowser() = default;

BOOL CSymbolLibBrowser::Create(const RECT& rect, CWnd* pParent, UINT nID, LONG frameStyle, DWORD crBackground) {
    m_pNotifyWnd = pParent;
    CRect rc(rect);
    if (m_nSizeAdjustMode == 1) {
        const int w = m_sizeLegend.cx + 2 * m_sizeSpace.cx;
        const int h = m_sizeLegend.cy + 2 * m_sizeSpace.cy;
        if (w > 0) rc.right = rc.left + rc.Width() / w * w;
        if (h > 0) rc.bottom = rc.top + rc.Height() / h * h;
    }
    LPCTSTR lpszClass = AfxRegisterWndClass(0x80B, nullptr, BackgroundBrush(crBackground), nullptr);
    DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_VSCROLL;
    DWORD dwExStyle = 0;
    if (frameStyle == 1) dwStyle |= WS_BORDER;
    if (nID == 0) {
        dwStyle = (dwStyle & ~WS_CHILD) | WS_POPUP;
        dwExStyle |= WS_EX_TOOLWINDOW;
    }
    if (frameStyle == 2) dwExStyle |= WS_EX_CLIENTEDGE;
    return CreateEx(dwExStyle, lpszClass, "SymbolLibBrowser", dwStyle, rc, pParent, nID);
}

void CSymbolLibBrowser::Initate(CSymbolLibIO* pLib) {
    m_pSymbolLib = pLib;
    InitateSymbol();
}

DWORD CSymbolLibBrowser::SetSymbolFilter(DWORD dwFilter) {
    const DWORD old = m_dwSymbolFilter;
    m_dwSymbolFilter = dwFilter;
    return old;
}

SIZE CSymbolLibBrowser::SetLegendSize(SIZE size) {
    const SIZE old = m_sizeLegend;
    m_sizeLegend = size;
    return old;
}

SIZE CSymbolLibBrowser::SetSymbolSize(SIZE size) {
    const SIZE old = m_sizeSymbol;
    m_sizeSymbol = size;
    return old;
}

SIZE CSymbolLibBrowser::SetSpaceOfLegend(LONG cx, LONG cy) {
    const SIZE old = m_sizeSpace;
    m_sizeSpace = SIZE{cx, cy};
    m_sizeSpaceUsed = m_sizeSpace;
    return old;
}

LONG CSymbolLibBrowser::SetSizeAdjustMode(LONG nMode) {
    const LONG old = m_nSizeAdjustMode;
    m_nSizeAdjustMode = nMode;
    return old;
}

LONG CSymbolLibBrowser::SetSymbolStyle(LONG nStyle) {
    const LONG old = m_nSymbolStyle;
    m_nSymbolStyle = nStyle;
    return old;
}

LONG CSymbolLibBrowser::SetLegendStyle(LONG nStyle) {
    const LONG old = m_nLegendStyle;
    m_nLegendStyle = nStyle;
    return old;
}

int CSymbolLibBrowser::InitateSymbol() {
    m_nCurSymbol = 0;
    if (!m_pSymbolLib) return 0;
    m_arrItems = CollectBrowserSymbols(m_pSymbolLib, m_dwSymbolFilter);
    // The current symbol was just cleared, so this selects nothing; it also resets the partial redraw.
    SetCurSel(-1, 0, 1);

    CRect rc(0, 0, 0, 0);
    if (m_hWnd) GetClientRect(&rc);
    const tagSLB_LAYOUT layout = LayoutBrowser(SIZE{rc.Width(), rc.Height()}, m_sizeLegend, m_sizeSpace,
                                               m_nSizeAdjustMode, static_cast<int>(m_arrItems.size()));
    m_nCellHeight = layout.nCellHeight;
    m_nCols = layout.nCols;
    m_nRows = layout.nRows;
    if (m_hWnd) {
        SetScrollRange(SB_VERT, 0, layout.nScrollMax, FALSE);
        if (layout.nScrollMax > 0) SetScrollPos(SB_VERT, 0, TRUE);
        ShowScrollBar(SB_VERT, layout.bShowScroll);
    }
    m_nTopRow = 0;
    return 1;
}

void CSymbolLibBrowser::ScrollTo(int nRow) {
    m_nTopRow = nRow;
    if (m_hWnd) SetScrollPos(SB_VERT, nRow, TRUE);
}

void CSymbolLibBrowser::SelectSymbol(LONG lSymbol, int bNotify) {
    m_nCurSymbol = lSymbol;
    if (!m_pSymbolLib) return;
    LONG index = -1;
    for (size_t i = 0; i < m_arrItems.size(); ++i) {
        if (m_arrItems[i].lSymbolID == lSymbol) {
            index = static_cast<LONG>(i);
            break;
        }
    }
    if (index >= 0) ScrollTo(index / (m_nCols > 0 ? m_nCols : 1));
    SetCurSel(index, bNotify, 1);
}

void CSymbolLibBrowser::LocateSymbol(const char* pszDigits) {
    const LONG index = LocateBrowserSymbol(m_arrItems, pszDigits);
    if (index >= 0) SelectSymbol(m_arrItems[index].lSymbolID, 1);
}

void CSymbolLibBrowser::SetCurSel(LONG nIndex, int bNotify, int bEraseAll) {
    m_nPrevSel = m_nCurSel;
    m_nCurSel = nIndex;
    const LONG count = static_cast<LONG>(m_arrItems.size());
    if (nIndex < count) {
        if (nIndex >= 0)
            m_nCurSymbol = m_arrItems[nIndex].lSymbolID;
        else if (bNotify)
            m_nCurSymbol = 0;
    }
    if (m_hWnd) {
        if (!bEraseAll) {
            m_bPartialRedraw = 1;
            Invalidate(FALSE);
        } else {
            m_bPartialRedraw = 0;
            Invalidate(TRUE);
        }
    }
    if (m_pNotifyWnd && bNotify) m_pNotifyWnd->SendMessage(WM_SLB_SELCHANGE, m_nCurSymbol, m_nCurSel);
}

LONG CSymbolLibBrowser::HitTest(POINT pt) const {
    return BrowserHitTest(pt, m_sizeLegend, m_sizeSpaceUsed, m_nCols, m_nTopRow);
}

void CSymbolLibBrowser::OnPaint() {
    CPaintDC dc(this);
    CFont font;
    font.CreatePointFont(90, "宋体");
    CFont* pOldFont = dc.SelectObject(&font);
    CRect rc;
    GetClientRect(&rc);
    m_sizeSpaceUsed = StretchBrowserSpace(SIZE{rc.Width(), rc.Height()}, m_sizeLegend, m_sizeSpace, m_nSizeAdjustMode);
    if (m_pSymbolLib) {
        const int w = m_sizeLegend.cx + 2 * m_sizeSpaceUsed.cx;
        const int h = m_sizeLegend.cy + 2 * m_sizeSpaceUsed.cy;
        m_nCellHeight = h;
        const LONG count = static_cast<LONG>(m_arrItems.size());
        LONG index = static_cast<LONG>(m_nTopRow) * m_nCols;
        // Only the rows that show are walked: a large library costs no more to paint than a small one.
        for (int y = rc.top; y < rc.bottom && index < count && w > 0 && h > 0; y += h) {
            for (int x = rc.left; x < rc.right - m_sizeSpaceUsed.cx - m_sizeLegend.cx && index < count;
                 x += w, ++index) {
                if (m_bPartialRedraw && index != m_nPrevSel && index != m_nCurSel) continue;
                tagSLB_DRAWITEM_DATA data;
                data.lSymbolID = m_arrItems[index].lSymbolID;
                data.strName = m_arrItems[index].strName;
                data.lIndex = index;
                data.rcItem = RECT{x + m_sizeSpaceUsed.cx, y + m_sizeSpaceUsed.cy, x + m_sizeSpaceUsed.cx + m_sizeLegend.cx,
                                   y + m_sizeSpaceUsed.cy + m_sizeLegend.cy};
                data.hDC = dc.m_hDC;
                data.bSelected = index == m_nCurSel;
                DrawItem(&data);
            }
        }
    }
    m_bPartialRedraw = 0;
    dc.SelectObject(pOldFont);
}

int CSymbolLibBrowser::DrawItem(tagSLB_DRAWITEM_DATA* pData) {
    CDC* pDC = CDC::FromHandle(pData->hDC);
    const CRect legend(pData->rcItem);
    RECT rcSymbol;
    rcSymbol.left = legend.left + (legend.Width() - m_sizeSymbol.cx) / 2;
    rcSymbol.top = legend.top + legend.Height() / 4 - m_sizeSymbol.cy / 2;
    rcSymbol.right = rcSymbol.left + m_sizeSymbol.cx;
    rcSymbol.bottom = rcSymbol.top + m_sizeSymbol.cy - 2;
    CSymbolAttrib highlight;
    CSymbolAttrib* pAttrib = nullptr;
    if (pData->bSelected) {
        highlight.SetAttribMask(2);
        tagVM_SYM_VARIANT colour;
        colour.wType = VM_SYM_COLOR;
        colour.crValue = kHighlight;
        highlight.SetAttribItem(1, colour);
        pAttrib = &highlight;
    }
    if (m_pSymbolLib)
        m_pSymbolLib->DrawSymbolLegend(pData->hDC, pData->lSymbolID, &rcSymbol, nullptr, 1, nullptr, 13, pAttrib,
                                       m_nSymbolStyle);

    CString label;
    label.Format("[%d]\n", static_cast<int>(pData->lSymbolID));
    label += pData->strName;
    CRect area = legend;
    area.top = (legend.top + legend.bottom) / 2 + 2;
    CRect text = area;
    pDC->DrawText(label, &text, DT_CENTER | DT_WORDBREAK | DT_CALCRECT);
    // The measured label centred in the lower part, grown by 2 to the sides and below.
    const int dx = (area.Width() - text.Width()) / 2;
    text.OffsetRect(area.left + dx - text.left, area.top - text.top);
    text.left -= 2;
    text.right += 2;
    text.bottom += 2;
    const COLORREF crOldText = pDC->SetTextColor(pData->bSelected ? 0xFFFFFF : 0x000000);
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    pDC->FillSolidRect(&text, pData->bSelected ? kHighlight : 0xFFFFFF);
    pDC->DrawText(label, &text, DT_CENTER | DT_WORDBREAK | DT_NOCLIP | DT_WORD_ELLIPSIS);
    pDC->SetTextColor(crOldText);
    pDC->SetBkMode(nOldMode);
    return 1;
}

void CSymbolLibBrowser::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
    int nMin = 0, nMax = 0;
    GetScrollRange(SB_VERT, &nMin, &nMax);
    const int p = GetScrollPos(SB_VERT);
    int n = p;
    bool bMove = true;
    switch (nSBCode) {
    case SB_LINEUP: n = p - 1 < nMin ? nMin : p - 1; break;
    case SB_LINEDOWN: n = p + 1 > nMax ? nMax : p + 1; break;
    case SB_PAGEUP: n = p - m_nRows < nMin ? nMin : p - m_nRows; break;
    case SB_PAGEDOWN: n = p + m_nRows > nMax ? nMax : p + m_nRows; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: n = static_cast<int>(nPos); break;
    case SB_TOP: n = nMin; break;
    case SB_BOTTOM: n = nMax; break;
    default: bMove = false; break;
    }
    if (bMove) {
        SetScrollPos(SB_VERT, n, TRUE);
        m_nTopRow = n;
    }
    Invalidate(TRUE);
    UpdateWindow();
    (void)pScrollBar;
    Default();
}

void CSymbolLibBrowser::OnLButtonDown(UINT, CPoint point) {
    m_nPrevSel = m_nCurSel;
    m_nCurSel = HitTest(point);
    m_bPartialRedraw = 1;
    Invalidate(FALSE);
}

void CSymbolLibBrowser::OnMouseMove(UINT nFlags, CPoint point) {
    ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
    if (nFlags & MK_LBUTTON) {
        const LONG hit = HitTest(point);
        if (hit != m_nCurSel) {
            m_nPrevSel = m_nCurSel;
            m_nCurSel = hit;
            m_bPartialRedraw = 1;
            Invalidate(FALSE);
        }
    }
}

void CSymbolLibBrowser::OnLButtonUp(UINT, CPoint point) {
    m_strLocate.Empty();
    SetCurSel(HitTest(point), 1, 0);
    SetFocus();
}

BOOL CSymbolLibBrowser::OnMouseWheel(UINT, short zDelta, CPoint) {
    int nMin = 0, nMax = 0;
    GetScrollRange(SB_VERT, &nMin, &nMax);
    int n = m_nTopRow - zDelta / 120;
    if (n > nMax) n = nMax;
    if (n < nMin) n = nMin;
    m_nTopRow = n;
    SetScrollPos(SB_VERT, n, TRUE);
    Invalidate(TRUE);
    UpdateWindow();
    return TRUE;
}

void CSymbolLibBrowser::OnKeyDown(UINT nChar, UINT, UINT) {
    char digit = 0;
    if (nChar >= '0' && nChar <= '9') digit = static_cast<char>(nChar);
    else if (nChar >= VK_NUMPAD0 && nChar <= VK_NUMPAD9) digit = static_cast<char>('0' + (nChar - VK_NUMPAD0));
    if (!digit) {
        Default();
        return;
    }
    const SYSTEMTIME now = Now();
    if (TypeAheadExpired(m_timeLastKey, now)) m_strLocate.Empty();
    m_timeLastKey = now;
    m_strLocate += digit;
    LocateSymbol(m_strLocate);
}

void CSymbolLibBrowser::OnActivate(UINT nState, CWnd*, BOOL) {
    Default();
    if (nState == WA_INACTIVE && m_pNotifyWnd) m_pNotifyWnd->SendMessage(WM_SLB_DEACTIVATE, 0, 0);
}

// ---- CSymbolPreview -----------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CSymbolPreview, CStatic)

BEGIN_MESSAGE_MAP(CSymbolPreview, CStatic)
    ON_WM_PAINT()
END_MESSAGE_MAP()

void CSymbolPreview::SetSymbol(LONG lSymbol) {
    m_nSymbol = lSymbol;
    if (m_hWnd) Invalidate(TRUE);
}

void CSymbolPreview::OnPaint() {
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    dc.FillSolidRect(&rc, ::GetSysColor(COLOR_BTNFACE));
    CFont font;
    font.CreatePointFont(90, "宋体");
    CFont* pOldFont = dc.SelectObject(&font);
    // The caption sits inside the control, on the frame's top line as a group box's does: drawn half
    // above the control's top edge it would be cut in half there.
    const CString text("预览");
    const CSize extent = dc.GetTextExtent(text);
    CRect edge = rc;
    edge.top += extent.cy / 2;
    dc.DrawEdge(&edge, EDGE_ETCHED, BF_RECT);
    CRect caption(rc.left + 8, rc.top, rc.left + 8 + extent.cx + 4, rc.top + extent.cy);
    dc.FillSolidRect(&caption, ::GetSysColor(COLOR_BTNFACE));
    dc.SetBkMode(TRANSPARENT);
    caption.left += 2;
    dc.DrawText(text, &caption, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOCLIP);
    dc.SelectObject(pOldFont);
    if (!m_pSymbolLib) return;
    CRect draw;
    if (m_pSymbolLib->IsKindOfPointSymbol(m_nSymbol)) {
        int w = rc.Width() / 2, h = rc.Height() / 2;
        if (w > 25) w = 25;
        if (h > 25) h = 25;
        const CPoint c = rc.CenterPoint();
        draw = CRect(c.x - w / 2, c.y - h / 2, c.x - w / 2 + w, c.y - h / 2 + h);
    } else if (m_pSymbolLib->IsKindOfLineSymbol(m_nSymbol)) {
        draw = CRect(rc.left + 20, rc.top, rc.right - 20, rc.bottom);
    } else {
        draw = rc;
        draw.DeflateRect(15, 15);
    }
    m_pSymbolLib->DrawSymbolLegend(dc.m_hDC, m_nSymbol, &draw, nullptr, 1, nullptr, 13, nullptr, 0);
}
