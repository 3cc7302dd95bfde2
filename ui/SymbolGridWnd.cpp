#include "ui/SymbolGridWnd.h"

#include <quenby/SymbolLibIO.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

IMPLEMENT_DYNAMIC(CSymbolGridWnd, CWnd)

BEGIN_MESSAGE_MAP(CSymbolGridWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_VSCROLL()
END_MESSAGE_MAP()

CSymbolGridWnd::CSymbolGridWnd(int nKind, CSymbolLibIO* pLib, LONG lSingleSymbol)
    : m_nKind(nKind), m_crBack(::GetSysColor(COLOR_WINDOW)), m_nSingleSymbol(lSingleSymbol), m_pSymbolLib(pLib) {}

BOOL CSymbolGridWnd::Create(DWORD dwStyle, const RECT& rect, CWnd* pParent, CSymbolLibIO* pLib, UINT nID) {
    m_pSymbolLib = pLib;
    LPCTSTR lpszClass = AfxRegisterWndClass(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS, nullptr,
                                            ::GetSysColorBrush(COLOR_WINDOW), nullptr);
    const BOOL bDone = CreateEx(WS_EX_STATICEDGE, lpszClass, "", dwStyle | WS_CHILD, rect, pParent, nID);
    if (bDone && m_pSymbolLib) Layout();
    return bDone;
}

void CSymbolGridWnd::SetKind(int nKind) {
    m_nKind = nKind;
    if (m_hWnd) Invalidate();
}

void CSymbolGridWnd::SetSymbolLib(CSymbolLibIO* pLib) {
    m_pSymbolLib = pLib;
    if (m_hWnd) Invalidate();
}

void CSymbolGridWnd::SetSingleSymbol(LONG lSymbol) {
    m_nSingleSymbol = lSymbol;
    m_nTopRow = 0;
    if (m_hWnd) Invalidate();
}

void CSymbolGridWnd::SetSingleMode(BOOL bSingle) {
    m_bGrid = !bSingle;
    if (m_hWnd) Invalidate();
}

BOOL CSymbolGridWnd::IsOfKind(LONG lSymbol) const {
    switch (m_nKind) {
    case 0: return m_pSymbolLib->IsKindOfPointSymbol(lSymbol);
    case 1: return m_pSymbolLib->IsKindOfLineSymbol(lSymbol);
    case 2: return m_pSymbolLib->IsKindOfFillSymbol(lSymbol);
    case 3: {
        CQuenby* pSymbol = m_pSymbolLib->FindSymbol(lSymbol);
        return pSymbol && pSymbol->IsKindOf(RUNTIME_CLASS(CGeoCustomSymbol));
    }
    default: return FALSE;
    }
}

LONG CSymbolGridWnd::CellSymbol(int nIndex) const {
    return nIndex >= 0 && nIndex < static_cast<int>(m_cells.size()) ? m_cells[nIndex] : 0;
}

void CSymbolGridWnd::Layout() {
    // The kind's symbols by increasing number: the library's own keys, sorted, never a walk over every
    // number between the lowest and the highest.
    m_cells.clear();
    if (m_pSymbolLib) {
        CMap<LONG, LONG, CQuenby*, CQuenby*>& symbols = m_pSymbolLib->GetSymbolMap();
        for (POSITION pos = symbols.GetStartPosition(); pos;) {
            LONG number = 0;
            CQuenby* pSymbol = nullptr;
            symbols.GetNextAssoc(pos, number, pSymbol);
            if (static_cast<DWORD>(number) <= 0x7FFFFFFAu && IsOfKind(number)) m_cells.push_back(number);
        }
        std::sort(m_cells.begin(), m_cells.end());
    }
    m_nCount = m_bGrid ? static_cast<int>(m_cells.size()) + 1 : 1;

    CRect rc(0, 0, 0, 0);
    if (m_hWnd) GetClientRect(&rc);
    const int w = rc.Width();
    if (m_nKind == 1) {
        m_nCols = w > 399 ? 2 : 1;
        m_nCellWidth = m_nCols == 2 ? (w - 10) / 2 : w - 10;
        m_nCellHeight = 40;
    } else {
        m_nCols = (w - 2) / (m_nKind == 0 ? 40 : 80);
        if (m_nCols < 1) m_nCols = 1;
        m_nCellWidth = m_nCellHeight = (w - 2) / m_nCols;
    }
    if (m_nCellWidth < 1) m_nCellWidth = 1;
    if (m_nCellHeight < 1) m_nCellHeight = 1;
    m_nLeftMargin = (w - m_nCellWidth * m_nCols) / 2;
    m_nTopMargin = m_nLeftMargin;
    m_nRows = (m_nCount + m_nCols - 1) / m_nCols;
}

CRect CSymbolGridWnd::GetCellRect(int nIndex) const {
    CRect rc;
    rc.left = (nIndex % m_nCols) * m_nCellWidth + m_nLeftMargin;
    rc.top = (nIndex / m_nCols - m_nTopRow) * m_nCellHeight + m_nTopMargin;
    rc.right = rc.left + m_nCellWidth;
    rc.bottom = rc.top + m_nCellHeight;
    rc.InflateRect(1, 1);
    return rc;
}

int CSymbolGridWnd::HitTest(POINT pt) const {
    if (pt.x < m_nLeftMargin || pt.x > m_nLeftMargin + m_nCols * m_nCellWidth || pt.y < m_nTopMargin) return -1;
    const int col = (pt.x - m_nLeftMargin - 1) / m_nCellWidth;
    const int row = (pt.y - m_nTopMargin) / m_nCellHeight;
    const int index = col + (row + m_nTopRow) * m_nCols;
    if (col < 0 || row < 0 || col >= m_nCols || row > m_nRows || index >= m_nCount) return -1;
    return index;
}

LONG CSymbolGridWnd::GetSelectedSymbol() const { return CellSymbol(m_nSelected); }

int CSymbolGridWnd::Locate(LONG lSymbol) {
    if (!m_bGrid || !m_pSymbolLib) return 0;
    Layout();
    char want[16], have[16];
    std::snprintf(want, sizeof want, "%d", static_cast<int>(lSymbol));
    const size_t n = std::strlen(want);
    for (size_t i = 0; i < m_cells.size(); ++i) {
        std::snprintf(have, sizeof have, "%d", static_cast<int>(m_cells[i]));
        if (std::strncmp(have, want, n) != 0) continue;
        m_nSelected = static_cast<int>(i);
        m_nTopRow = m_nSelected / m_nCols;
        if (m_hWnd) {
            SetScrollPos(SB_VERT, m_nTopRow, TRUE);
            Invalidate();
        }
        return 1;
    }
    return 0;
}

void CSymbolGridWnd::Notify(UINT message, int nIndex) {
    tagSGW_NOTIFY record = {m_nKind, nIndex, CellSymbol(nIndex), 0};
    if (CWnd* pParent = GetParent())
        pParent->SendMessage(message, static_cast<WPARAM>(m_nKind), reinterpret_cast<LPARAM>(&record));
}

BOOL CSymbolGridWnd::OnEraseBkgnd(CDC* pDC) {
    CRect rc;
    GetClientRect(&rc);
    pDC->FillSolidRect(&rc, ::GetSysColor(COLOR_WINDOW));
    return TRUE;
}

void CSymbolGridWnd::OnPaint() {
    CPaintDC dc(this);
    Layout();
    CRect client;
    GetClientRect(&client);
    if (!m_pSymbolLib) return;
    if (!m_bGrid) {
        const LONG symbol = m_nSingleSymbol;
        if (m_pSymbolLib->IsKindOfLineSymbol(symbol)) {
            const int y = client.CenterPoint().y, w = client.Width();
            const POINT pts[4] = {{client.left, y}, {client.left + w / 3, y}, {client.left + 2 * w / 3, y}, {client.right, y}};
            const LONG count = 4;
            m_pSymbolLib->DrawSymbol(dc.m_hDC, symbol, pts, &count, 1, nullptr, 0, 0, nullptr, 13, nullptr, nullptr);
        } else if (m_pSymbolLib->IsKindOfFillSymbol(symbol)) {
            CRect rc = client;
            rc.InflateRect(client.Width() / 10, client.Height() / 10);
            m_pSymbolLib->DrawSymbolLegend(dc.m_hDC, symbol, &rc, nullptr, 1, nullptr, 13, nullptr, 0);
        } else {
            m_pSymbolLib->DrawSymbolLegend(dc.m_hDC, symbol, &client, nullptr, 1, nullptr, 13, nullptr, 0);
        }
        return;
    }
    // The bar stays where it is, disabled when every row shows: hidden, it would widen the client area
    // under a grid laid out for the narrower one, and the next paint would lay the cells out again over
    // the lines of this one.
    SCROLLINFO si = {};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    si.nMin = 0;
    si.nMax = m_nRows - 1;
    si.nPage = static_cast<UINT>(client.Height() / m_nCellHeight);
    si.nPos = m_nTopRow;
    SetScrollInfo(SB_VERT, &si, TRUE);
    EnableScrollBar(SB_VERT, static_cast<int>(si.nPage) >= si.nMax ? ESB_DISABLE_BOTH : ESB_ENABLE_BOTH);

    // Only the rows in view are drawn.
    const int visibleRows = client.Height() / m_nCellHeight + 2;
    const int first = m_nTopRow * m_nCols;
    const int last = std::min(m_nCount, (m_nTopRow + visibleRows) * m_nCols);
    // The cell rectangle is grown by one pixel for the hover frame; the grid is drawn on the cells
    // themselves, neighbours sharing their line, so every line is one pixel and the spacing regular.
    CPen grid(PS_SOLID, 1, RGB(255, 0, 0));
    CPen* pOldPen = dc.SelectObject(&grid);
    CBrush* pOldBrush = static_cast<CBrush*>(dc.SelectStockObject(NULL_BRUSH));
    for (int i = first; i < last; ++i) {
        CRect rc = GetCellRect(i);
        rc.DeflateRect(1, 1);
        dc.Rectangle(rc.left, rc.top, rc.right + 1, rc.bottom + 1);
    }
    // Each symbol inside its cell, clipped to it: a symbol larger than its cell does not run over the
    // lines or into its neighbours.
    const int nOldMode = dc.SetBkMode(TRANSPARENT);
    for (int i = first; i < last; ++i) {
        const LONG symbol = CellSymbol(i);
        if (!symbol) continue;
        CRect cell = GetCellRect(i);
        cell.DeflateRect(1, 1);
        CRect rc = cell;
        rc.DeflateRect(m_nKind == 2 || m_nKind == 3 ? 2 : 3, m_nKind == 2 || m_nKind == 3 ? 2 : 3);
        const int saved = dc.SaveDC();
        dc.IntersectClipRect(cell.left + 1, cell.top + 1, cell.right, cell.bottom);
        m_pSymbolLib->DrawSymbolLegend(dc.m_hDC, symbol, &rc, nullptr, 1, nullptr, 13, nullptr, 0);
        dc.RestoreDC(saved);
    }
    dc.SetBkMode(nOldMode);
    if (m_nSelected >= first && m_nSelected < last) {
        CPen frame(PS_SOLID, 1, RGB(0, 0, 255));
        dc.SelectObject(&frame);
        CRect rc = GetCellRect(m_nSelected);
        rc.DeflateRect(3, 3);
        dc.Rectangle(rc.left, rc.top, rc.right + 1, rc.bottom + 1);
        dc.SelectObject(&grid);
    }
    dc.SelectObject(pOldPen);
    dc.SelectObject(pOldBrush);
    m_nFramed = -1;
}

void CSymbolGridWnd::DrawFrame(int nIndex, BOOL bPressed) {
    if (nIndex < 0 || (nIndex == m_nFramed && bPressed == m_bFramedPressed)) return;
    // A frame shows only while the keyboard focus is not inside one of the grid's own children.
    CWnd* pFocus = GetFocus();
    if (pFocus && pFocus != this && IsChild(pFocus)) return;
    if (nIndex != m_nFramed) EraseFrame();
    CClientDC dc(this);
    CRect rc = GetCellRect(nIndex);
    rc.DeflateRect(2, 2);  // inside the cell's lines
    const COLORREF light = ::GetSysColor(COLOR_BTNFACE), dark = ::GetSysColor(COLOR_3DDKSHADOW);
    dc.Draw3dRect(&rc, bPressed ? dark : light, bPressed ? light : dark);
    m_nFramed = nIndex;
    m_bFramedPressed = bPressed;
}

void CSymbolGridWnd::EraseFrame() {
    if (m_nFramed < 0) return;
    CClientDC dc(this);
    CRect rc = GetCellRect(m_nFramed);
    rc.DeflateRect(2, 2);
    dc.Draw3dRect(&rc, m_crBack, m_crBack);
    m_nFramed = -1;
}

void CSymbolGridWnd::OnMouseMove(UINT, CPoint point) {
    if (m_nSingleSymbol != 0) return;
    const int hit = HitTest(point);
    if (hit == m_nHover) return;
    EraseFrame();
    m_nHover = hit;
    if (hit < 0) return;
    DrawFrame(hit, FALSE);
    SetTimer(1, 100);
    Notify(WM_SGW_HOVER, hit);
}

void CSymbolGridWnd::OnLButtonDown(UINT, CPoint point) {
    if (m_nSingleSymbol != 0) return;
    SetFocus();
    m_ptLastClick = point;
    const int pressed = HitTest(point);
    if (pressed < 0) {
        m_nHover = -1;
        return;
    }
    DrawFrame(pressed, TRUE);
    if (GetCapture()) return;  // someone else holds the mouse: no press loop
    SetCapture();
    // The press runs its own loop until the button comes up or the capture is lost.
    MSG msg;
    while (GetCapture() == this && ::GetMessage(&msg, nullptr, 0, 0)) {
        if (msg.message == WM_SETCURSOR) continue;
        if (msg.message == WM_MOUSEMOVE) {
            const CPoint pt(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
            const int hit = HitTest(pt);
            if (hit == pressed) DrawFrame(pressed, TRUE);
            else if (hit >= 0) DrawFrame(pressed, FALSE);
            continue;
        }
        if (msg.message == WM_LBUTTONUP) {
            const CPoint pt(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
            EraseFrame();
            if (HitTest(pt) == pressed) {
                m_nSelected = pressed;
                const CRect rc = GetCellRect(pressed);
                InvalidateRect(&rc);
                Invalidate();
                Notify(WM_SGW_CHOSEN, pressed);
            }
            break;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessage(&msg);
    }
    if (GetCapture() == this) ReleaseCapture();
}

void CSymbolGridWnd::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar*) {
    SCROLLINFO si = {};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(SB_VERT, &si);
    const int maxTop = si.nMax - static_cast<int>(si.nPage) + 1;
    int n = m_nTopRow;
    switch (nSBCode) {
    case SB_LINEUP: n -= 1; break;
    case SB_LINEDOWN: n += 1; break;
    case SB_PAGEUP: n -= static_cast<int>(si.nPage); break;
    case SB_PAGEDOWN: n += static_cast<int>(si.nPage); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: n = static_cast<int>(nPos); break;
    case SB_TOP: n = si.nMin; break;
    case SB_BOTTOM: n = si.nMax; break;
    case SB_ENDSCROLL: Invalidate(); return;
    default: return;
    }
    if (nSBCode != SB_THUMBPOSITION && nSBCode != SB_THUMBTRACK && nSBCode != SB_BOTTOM) {
        if (n > maxTop) n = maxTop;
        if (n < si.nMin) n = si.nMin;
    }
    m_nTopRow = n;
    SetScrollPos(SB_VERT, n, FALSE);
}

// ---- CSymbolSelectDlg ---------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CSymbolSelectDlg, CDialog)

BEGIN_MESSAGE_MAP(CSymbolSelectDlg, CDialog)
    ON_WM_CREATE()
    ON_EN_CHANGE(1013, OnCodeChanged)
    ON_MESSAGE(WM_SGW_HOVER, OnGridHover)
    ON_MESSAGE(WM_SGW_CHOSEN, OnGridChosen)
END_MESSAGE_MAP()

CSymbolSelectDlg::CSymbolSelectDlg(CSymbolLibIO* pLib, int nKind, LONG lSymbol, CWnd* pParent)
    : CDialog(IDD, pParent), m_nSymbol(lSymbol), m_pSymbolLib(pLib), m_nKind(nKind), m_nInitSymbol(lSymbol) {}

void CSymbolSelectDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, 1013, m_edtCode);
    DDX_Text(pDX, 1025, m_nSymbol);
    DDX_Text(pDX, 1026, m_strSymbolName);
    DDX_Text(pDX, 1024, m_strLibDescribe);
}

int CSymbolSelectDlg::OnCreate(LPCREATESTRUCT) {
    const int result = static_cast<int>(Default());
    m_wndGrid.SetKind(m_nKind);
    m_wndGrid.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP, CRect(10, 40, 240, 240), this, m_pSymbolLib,
                     1262);
    return result;
}

BOOL CSymbolSelectDlg::OnInitDialog() {
    static const char* const kinds[] = {"(点符号)", "(线符号)", "(面符号)"};
    CString caption = "符号选择";
    if (m_nKind >= 0 && m_nKind <= 2) caption += kinds[m_nKind];
    SetWindowText(caption);
    if (m_pSymbolLib) {
        m_strLibDescribe = m_pSymbolLib->GetFileDescribe();
        m_strSymbolName = m_pSymbolLib->GetSymbolName(m_nSymbol);
        if (m_nSymbol != 0) m_wndGrid.Locate(m_nSymbol);
    }
    CDialog::OnInitDialog();
    // The grid takes the place of the template's hidden frame 1262 (the grid has that id too, so the
    // frame is found among the statics).
    for (CWnd* pChild = GetWindow(GW_CHILD); pChild; pChild = pChild->GetWindow(GW_HWNDNEXT)) {
        if (pChild->GetDlgCtrlID() == 1262 && pChild != &m_wndGrid) {
            CRect rc;
            pChild->GetWindowRect(&rc);
            ScreenToClient(&rc);
            m_wndGrid.MoveWindow(&rc);
            break;
        }
    }
    CString text;
    text.Format("%d", static_cast<int>(m_nSymbol));
    m_edtCode.SetWindowText(text);
    m_edtCode.SetFocus();
    m_edtCode.SetSel(0, -1);
    return FALSE;
}

LRESULT CSymbolSelectDlg::OnGridHover(WPARAM, LPARAM lParam) {
    const tagSGW_NOTIFY* pRecord = reinterpret_cast<const tagSGW_NOTIFY*>(lParam);
    if (m_pSymbolLib && pRecord && m_pSymbolLib->FindSymbol(pRecord->lSymbol)) {
        CString text;
        text.Format("%d ", static_cast<int>(pRecord->lSymbol));
        SetDlgItemText(1037, text + m_pSymbolLib->GetSymbolName(pRecord->lSymbol));
    }
    return 0;
}

LRESULT CSymbolSelectDlg::OnGridChosen(WPARAM, LPARAM lParam) {
    const tagSGW_NOTIFY* pRecord = reinterpret_cast<const tagSGW_NOTIFY*>(lParam);
    if (m_pSymbolLib && pRecord && m_pSymbolLib->FindSymbol(pRecord->lSymbol)) {
        m_nSymbol = pRecord->lSymbol;
        m_strSymbolName = m_pSymbolLib->GetSymbolName(m_nSymbol);
        UpdateData(FALSE);
    }
    return 0;
}

void CSymbolSelectDlg::OnCodeChanged() {
    CString text;
    m_edtCode.GetWindowText(text);
    m_wndGrid.Locate(std::atoi(text));
}

BOOL CSymbolSelectDlg::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN && m_edtCode.m_hWnd && pMsg->hwnd == m_edtCode.m_hWnd) {
        CString text;
        m_edtCode.GetWindowText(text);
        if (std::atoi(text) != 0) {
            m_nSymbol = m_wndGrid.GetSelectedSymbol();
            m_strSymbolName = m_pSymbolLib ? m_pSymbolLib->GetSymbolName(m_nSymbol) : CString();
        } else {
            m_nSymbol = 0;
            m_strSymbolName.Empty();
            m_wndGrid.Invalidate();
        }
        UpdateData(FALSE);
        return TRUE;
    }
    return CDialog::PreTranslateMessage(pMsg);
}
