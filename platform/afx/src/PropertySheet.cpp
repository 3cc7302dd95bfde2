#include "afx/PropertySheet.h"

#include <algorithm>

#include "afx/Screen.h"
#include "afx/WinApp.h"

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)
IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

namespace {
// The sheet's layout in pixels: a margin, a row of tabs above the pages, and the buttons below them.
const int kMargin = 7, kTabHeight = 21, kButtonW = 75, kButtonH = 23, kButtonGap = 6, kSheetX = 100, kSheetY = 100;
}  // namespace

CPropertyPage::CPropertyPage(UINT nIDTemplate, UINT nIDCaption) : CDialog(nIDTemplate) {
    if (nIDCaption) m_strCaption.LoadString(nIDCaption);
}

BOOL CPropertyPage::OnSetActive() { return TRUE; }
BOOL CPropertyPage::OnKillActive() { return UpdateData(TRUE); }
BOOL CPropertyPage::OnApply() {
    OnOK();
    m_bModified = FALSE;
    return TRUE;
}
void CPropertyPage::OnReset() { OnCancel(); }

void CPropertyPage::SetModified(BOOL bChanged) {
    m_bModified = bChanged;
    if (m_pSheet) m_pSheet->RecalcApply();
}

CString CPropertyPage::GetCaption() const {
    if (!m_strCaption.IsEmpty()) return m_strCaption;
    if (m_psp.pszTitle) return CString(m_psp.pszTitle);
    const AfxDlgTemplate* t = AfxFindDialogTemplate(m_nIDTemplate);
    return t && t->caption ? CString(t->caption) : CString();
}

CPropertySheet::CPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : m_pParentWnd(pParentWnd), m_strCaption(pszCaption), m_nStartPage(iSelectPage) {}

CPropertySheet::CPropertySheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage)
    : m_pParentWnd(pParentWnd), m_nStartPage(iSelectPage) {
    m_strCaption.LoadString(nIDCaption);
}

void CPropertySheet::AddPage(CPropertyPage* pPage) {
    if (!pPage) return;
    m_pages.push_back(pPage);
    m_created.push_back(false);
    pPage->m_pSheet = this;
}

void CPropertySheet::RemovePage(CPropertyPage* pPage) { RemovePage(GetPageIndex(pPage)); }

void CPropertySheet::RemovePage(int nPage) {
    if (nPage < 0 || nPage >= GetPageCount()) return;
    CPropertyPage* p = m_pages[static_cast<size_t>(nPage)];
    if (p->m_hWnd) p->DestroyWindow();
    p->m_pSheet = nullptr;
    m_pages.erase(m_pages.begin() + nPage);
    m_created.erase(m_created.begin() + nPage);
    if (m_nActive == nPage) {
        m_nActive = -1;
        if (m_hWnd && !m_pages.empty()) SetActivePage(std::min(nPage, GetPageCount() - 1));
    } else if (m_nActive > nPage) {
        --m_nActive;
    }
}

CPropertyPage* CPropertySheet::GetPage(int nPage) const {
    return nPage >= 0 && nPage < GetPageCount() ? m_pages[static_cast<size_t>(nPage)] : nullptr;
}

CPropertyPage* CPropertySheet::GetActivePage() const { return GetPage(m_nActive); }

int CPropertySheet::GetPageIndex(CPropertyPage* pPage) const {
    auto it = std::find(m_pages.begin(), m_pages.end(), pPage);
    return it == m_pages.end() ? -1 : static_cast<int>(it - m_pages.begin());
}

void CPropertySheet::SetTitle(LPCTSTR lpszText, UINT) {
    m_strCaption = lpszText;
    if (m_hWnd) SetWindowText(m_strCaption);
}

BOOL CPropertySheet::CreatePage(int nPage) {
    CPropertyPage* p = m_pages[static_cast<size_t>(nPage)];
    if (m_created[static_cast<size_t>(nPage)] && p->m_hWnd) return TRUE;
    if (!p->CreateFromTemplate(this, true, m_rcPage.left, m_rcPage.top)) return FALSE;
    m_created[static_cast<size_t>(nPage)] = true;
    p->SendMessage(WM_INITDIALOG, 0, 0);
    return TRUE;
}

BOOL CPropertySheet::SetActivePage(int nPage) {
    if (nPage < 0 || nPage >= GetPageCount()) return FALSE;
    if (nPage == m_nActive) return TRUE;
    if (!m_hWnd) {
        m_nStartPage = static_cast<UINT>(nPage);
        return TRUE;
    }
    if (CPropertyPage* old = GetActivePage()) {
        if (!old->OnKillActive()) return FALSE;
        old->ShowWindow(SW_HIDE);
    }
    if (!CreatePage(nPage)) return FALSE;
    m_nActive = nPage;
    CPropertyPage* p = GetActivePage();
    p->OnSetActive();
    p->ShowWindow(SW_SHOW);
    Invalidate();
    OnActivePageChanged();
    return TRUE;
}

BOOL CPropertySheet::SetActivePage(CPropertyPage* pPage) { return SetActivePage(GetPageIndex(pPage)); }

BOOL CPropertySheet::OnInitDialog() { return TRUE; }

void CPropertySheet::RecalcApply() {
    if (!m_hWnd) return;
    bool any = false;
    for (size_t i = 0; i < m_pages.size(); ++i)
        if (m_created[i] && m_pages[i]->IsModified()) any = true;
    if (HWND apply = ::GetDlgItem(m_hWnd, ID_APPLY_NOW)) ::EnableWindow(apply, any);
}

INT_PTR CPropertySheet::DoModal() {
    if (m_pages.empty()) return -1;
    // The page area is as large as the largest page template.
    int w = 0, h = 0;
    for (CPropertyPage* p : m_pages)
        if (const AfxDlgTemplate* t = AfxFindDialogTemplate(p->GetTemplateID())) {
            w = std::max(w, win32::DluToPixelX(t->cx));
            h = std::max(h, win32::DluToPixelY(t->cy));
        }
    m_rcPage = CRect(kMargin, kMargin + kTabHeight, kMargin + w, kMargin + kTabHeight + h);
    // Pages narrower than the row of buttons widen the sheet to it, so no button is cut off at the left.
    const int rowWidth = 3 * kButtonW + 2 * kButtonGap;
    int cx = std::max(w, rowWidth) + 2 * kMargin, cy = m_rcPage.bottom + kMargin + kButtonH + kMargin;
    m_bEnded = FALSE;
    m_nResult = IDCANCEL;
    m_nActive = -1;
    std::fill(m_created.begin(), m_created.end(), false);
    HWND prevFocus = ::GetFocus();
    if (!CreateEx(0, "#32770", m_strCaption, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_MODALFRAME,
                  CRect(kSheetX, kSheetY, kSheetX + cx, kSheetY + cy), nullptr, 0))
        return -1;
    struct { int id; LPCSTR text; } buttons[] = {{IDOK, "确定"}, {IDCANCEL, "取消"}, {ID_APPLY_NOW, "应用(&A)"}};
    int x = cx - kMargin - rowWidth, y = cy - kMargin - kButtonH;
    for (auto& b : buttons) {
        CreateWindowExA(0, "Button", b.text,
                        WS_CHILD | WS_VISIBLE | WS_TABSTOP | (b.id == IDOK ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) |
                            (b.id == ID_APPLY_NOW ? WS_DISABLED : 0),
                        x, y, kButtonW, kButtonH, m_hWnd, reinterpret_cast<HMENU>(static_cast<intptr_t>(b.id)), nullptr, nullptr);
        x += kButtonW + kButtonGap;
    }
    SendMessage(DM_SETDEFID, IDOK, 0);
    HWND prevActive = ::SetActiveWindow(m_hWnd);
    OnInitDialog();
    UINT start = m_nStartPage < m_pages.size() ? m_nStartPage : 0;
    SetActivePage(static_cast<int>(start));

    CString what;
    what.Format("sheet \"%s\" %s", (LPCSTR)m_strCaption, GetRuntimeClass()->m_lpszClassName);
    win32::PumpMessages();
    BOOL handled = FALSE;
    if (!m_bEnded) {
        CUserDriver* d = AfxGetUserDriver();
        if (d) handled = d->OnModal(*this);
        else if (CWndScreen* s = AfxGetScreen()) handled = s->RunModalLoop(*this);
        win32::PumpMessages();
    }
    bool forced = false;
    if (!m_bEnded) {
        forced = true;
        PressCancel();
        if (!m_bEnded) EndDialog(IDCANCEL);
    }
    win32::AppendUserLog(what.str() + " ended " + std::to_string(m_nResult) +
                         (forced ? (handled ? " (left open: cancel answer)" : " (no driver: cancel answer)") : ""));
    for (CPropertyPage* p : m_pages)
        if (p->m_hWnd) p->DestroyWindow();
    DestroyWindow();
    m_nActive = -1;
    if (prevActive && ::IsWindow(prevActive)) ::SetActiveWindow(prevActive);
    if (prevFocus && ::IsWindow(prevFocus)) ::SetFocus(prevFocus);
    return m_nResult;
}

BOOL CPropertySheet::ApplyAll() {
    if (CPropertyPage* p = GetActivePage())
        if (!p->OnKillActive()) return FALSE;
    for (size_t i = 0; i < m_pages.size(); ++i) {
        if (!m_created[i]) continue;
        if (!m_pages[i]->OnApply()) {
            SetActivePage(static_cast<int>(i));
            return FALSE;
        }
    }
    RecalcApply();
    return TRUE;
}

BOOL CPropertySheet::PressOK() {
    if (!ApplyAll()) return FALSE;
    EndDialog(IDOK);
    return TRUE;
}

BOOL CPropertySheet::PressApply() { return ApplyAll(); }

void CPropertySheet::PressCancel() {
    for (size_t i = 0; i < m_pages.size(); ++i)
        if (m_created[i] && !m_pages[i]->OnQueryCancel()) return;
    for (size_t i = 0; i < m_pages.size(); ++i)
        if (m_created[i]) m_pages[i]->OnReset();
    EndDialog(IDCANCEL);
}

void CPropertySheet::EndDialog(int nEndID) {
    m_bEnded = TRUE;
    m_nResult = nEndID;
}

BOOL CPropertySheet::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (CWnd::OnCommand(wParam, lParam)) return TRUE;
    if (HIWORD(wParam) != BN_CLICKED) return FALSE;
    switch (LOWORD(wParam)) {
        case IDOK: PressOK(); return TRUE;
        case IDCANCEL: PressCancel(); return TRUE;
        case ID_APPLY_NOW: PressApply(); return TRUE;
        default: return FALSE;
    }
}

BOOL CPropertySheet::PreTranslateMessage(MSG* pMsg) {
    if (!pMsg || pMsg->message != WM_KEYDOWN || (pMsg->wParam != VK_RETURN && pMsg->wParam != VK_ESCAPE)) return FALSE;
    HWND focus = ::GetFocus();
    if (focus && (::SendMessageA(focus, WM_GETDLGCODE, pMsg->wParam, reinterpret_cast<LPARAM>(pMsg)) & DLGC_WANTALLKEYS)) return FALSE;
    if (pMsg->wParam == VK_RETURN && focus && ::IsChild(m_hWnd, focus) &&
        (::SendMessageA(focus, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) {
        HWND parent = ::GetParent(focus);
        ::SendMessageA(parent, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(focus), BN_CLICKED), reinterpret_cast<LPARAM>(focus));
        return TRUE;
    }
    SendMessage(WM_COMMAND, MAKEWPARAM(pMsg->wParam == VK_RETURN ? IDOK : IDCANCEL, BN_CLICKED), 0);
    return TRUE;
}
