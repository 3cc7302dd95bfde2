#include "afx/Dialog.h"
#include "afx/Cursor.h"

#include "CtrlInternal.h"
#include "afx/Screen.h"
#include "afx/WinApp.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

namespace {

// Top-level dialogs sit here on the virtual screen, so screen and client points map the same way
// every time.
const int kDialogX = 100, kDialogY = 100;

struct DlgState {
    UINT defId = 0;
};

LRESULT CALLBACK_DialogProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    DlgState* st = static_cast<DlgState*>(GetWindowExtra(h));
    switch (msg) {
        case WM_NCCREATE:
            SetWindowExtra(h, new DlgState());
            return TRUE;
        case WM_NCDESTROY:
            delete st;
            SetWindowExtra(h, nullptr);
            return 0;
        case DM_GETDEFID:
            return st && st->defId ? MAKELONG(st->defId, DC_HASDEFID) : 0;
        case DM_SETDEFID:
            if (st) st->defId = static_cast<UINT>(wParam);
            return TRUE;
        case WM_CLOSE:
            SendMessageA(h, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(h, IDCANCEL)));
            return 0;
        default:
            return DefWindowProcA(h, msg, wParam, lParam);
    }
}

struct RegisterDialogClass {
    RegisterDialogClass() {
        WNDCLASS wc{};
        wc.lpfnWndProc = CALLBACK_DialogProc;
        wc.lpszClassName = "#32770";
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        RegisterClassA(&wc);
    }
} g_registerDialogClass;

}  // namespace

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_pParentWnd(pParentWnd), m_nIDTemplate(nIDTemplate) {}

CDialog::CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd) : m_pParentWnd(pParentWnd) {
    if (lpszTemplateName && reinterpret_cast<uintptr_t>(lpszTemplateName) < 0x10000)
        m_nIDTemplate = static_cast<UINT>(reinterpret_cast<uintptr_t>(lpszTemplateName));
    else if (lpszTemplateName && lpszTemplateName[0] == '#')
        m_nIDTemplate = static_cast<UINT>(std::atoi(lpszTemplateName + 1));
}

BOOL CDialog::CreateFromTemplate(CWnd* pParent, bool bChild, int x, int y) {
    const AfxDlgTemplate* t = AfxFindDialogTemplate(m_nIDTemplate);
    if (!t || m_hWnd) return FALSE;
    DWORD style = t->style;
    if (bChild) style = (style & ~(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME)) | WS_CHILD;
    else style |= WS_VISIBLE;
    int cx = win32::DluToPixelX(t->cx), cy = win32::DluToPixelY(t->cy);
    if (!CreateEx(0, "#32770", t->caption, style, CRect(x, y, x + cx, y + cy), bChild ? pParent : nullptr,
                  0, nullptr))
        return FALSE;
    AfxCreateDialogControls(m_hWnd, *t);
    for (const AfxDlgItem& it : t->items)
        if ((std::string(it.className) == "Button" || std::string(it.className) == "button") &&
            (it.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            m_nDefID = static_cast<UINT>(it.id);
    return TRUE;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) {
    m_nIDTemplate = nIDTemplate;
    m_pParentWnd = pParentWnd;
    m_bModal = FALSE;
    m_bEnded = FALSE;
    bool child = pParentWnd && (AfxFindDialogTemplate(nIDTemplate) ? (AfxFindDialogTemplate(nIDTemplate)->style & WS_CHILD) != 0 : false);
    if (!CreateFromTemplate(pParentWnd, child, child ? 0 : kDialogX, child ? 0 : kDialogY)) return FALSE;
    if (SendMessage(WM_INITDIALOG, 0, 0)) {
        if (CWnd* first = GetNextDlgTabItem(nullptr)) ::SetFocus(first->m_hWnd);
    }
    return TRUE;
}

INT_PTR CDialog::DoModal() {
    CString what;
    what.Format("dialog %u %s", m_nIDTemplate, GetRuntimeClass()->m_lpszClassName);
    m_bModal = TRUE;
    m_bEnded = FALSE;
    m_nModalResult = -1;
    HWND prevFocus = ::GetFocus();
    if (!CreateFromTemplate(m_pParentWnd, false, kDialogX, kDialogY)) {
        win32::AppendUserLog(what.str() + " has no template");
        m_bModal = FALSE;
        return -1;
    }
    HWND prevActive = ::SetActiveWindow(m_hWnd);
    if (SendMessage(WM_INITDIALOG, 0, 0) && !m_bEnded && m_hWnd) {
        if (CWnd* first = GetNextDlgTabItem(nullptr)) ::SetFocus(first->m_hWnd);
    }
    INT_PTR r = RunModal(what);
    DestroyWindow();
    m_bModal = FALSE;
    if (prevActive && ::IsWindow(prevActive)) ::SetActiveWindow(prevActive);
    if (prevFocus && ::IsWindow(prevFocus)) ::SetFocus(prevFocus);
    return r;
}

INT_PTR CDialog::RunModal(const CString& what) {
    win32::PumpMessages();
    BOOL handled = FALSE;
    if (!m_bEnded && m_hWnd) {
        CUserDriver* d = AfxGetUserDriver();
        if (d) handled = d->OnModal(*this);
        else if (CWndScreen* s = AfxGetScreen()) handled = s->RunModalLoop(*this);
        win32::PumpMessages();
    }
    bool forced = false;
    if (!m_bEnded && m_hWnd) {
        // Nobody acts as the user (or the script left it open): the modal ends with its cancel answer.
        forced = true;
        SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(m_hWnd, IDCANCEL)));
        win32::PumpMessages();
        if (!m_bEnded) EndDialog(IDCANCEL);
    }
    win32::AppendUserLog(what.str() + " ended " + std::to_string(m_nModalResult) +
                         (forced ? (handled ? " (left open: cancel answer)" : " (no driver: cancel answer)") : ""));
    return m_nModalResult;
}

void CDialog::EndDialog(int nResult) {
    m_bEnded = TRUE;
    m_nModalResult = nResult;
    if (!m_bModal && m_hWnd) ShowWindow(SW_HIDE);
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_INITDIALOG) {
        LRESULT r = 0;
        if (!CWnd::OnWndMsg(message, wParam, lParam, &r)) r = OnInitDialog();
        *pResult = r;
        return TRUE;
    }
    return CWnd::OnWndMsg(message, wParam, lParam, pResult);
}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (CWnd::OnCommand(wParam, lParam)) return TRUE;
    UINT id = LOWORD(wParam), code = HIWORD(wParam);
    if (code != BN_CLICKED) return FALSE;
    if (id == IDOK) {
        OnOK();
        return TRUE;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return TRUE;
    }
    return FALSE;
}

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl) {
    if (!pWndCtrl || !pWndCtrl->m_hWnd) return;
    ::SetFocus(pWndCtrl->m_hWnd);
    if (::SendMessageA(pWndCtrl->m_hWnd, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
        ::SendMessageA(pWndCtrl->m_hWnd, EM_SETSEL, 0, -1);
}

void CDialog::NextDlgCtrl() const {
    if (CWnd* n = GetNextDlgTabItem(CWnd::GetFocus(), FALSE)) const_cast<CDialog*>(this)->GotoDlgCtrl(n);
}

void CDialog::PrevDlgCtrl() const {
    if (CWnd* n = GetNextDlgTabItem(CWnd::GetFocus(), TRUE)) const_cast<CDialog*>(this)->GotoDlgCtrl(n);
}

void CDialog::SetDefID(UINT nID) {
    m_nDefID = nID;
    SendMessage(DM_SETDEFID, nID, 0);
}

DWORD CDialog::GetDefID() const { return static_cast<DWORD>(::SendMessageA(m_hWnd, DM_GETDEFID, 0, 0)); }

BOOL CDialog::IsDialogMessage(LPMSG pMsg) {
    if (!pMsg || pMsg->message != WM_KEYDOWN || !m_hWnd) return FALSE;
    HWND focus = ::GetFocus();
    if (focus && focus != m_hWnd && !::IsChild(m_hWnd, focus)) return FALSE;
    UINT code = focus ? static_cast<UINT>(::SendMessageA(focus, WM_GETDLGCODE, pMsg->wParam, reinterpret_cast<LPARAM>(pMsg))) : 0;
    if (code & DLGC_WANTALLKEYS) return FALSE;
    switch (pMsg->wParam) {
        case VK_RETURN: {
            if (focus && (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) {
                ::SendMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(focus), BN_CLICKED), reinterpret_cast<LPARAM>(focus));
                return TRUE;
            }
            DWORD def = GetDefID();
            UINT id = HIWORD(def) == DC_HASDEFID ? LOWORD(def) : IDOK;
            HWND btn = ::GetDlgItem(m_hWnd, static_cast<int>(id));
            // The default button answers Enter even when hidden; a disabled one does not.
            if (btn && !::IsWindowEnabled(btn)) return TRUE;
            ::SendMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(btn));
            return TRUE;
        }
        case VK_ESCAPE: {
            HWND btn = ::GetDlgItem(m_hWnd, IDCANCEL);
            if (btn && !::IsWindowEnabled(btn)) return TRUE;
            ::SendMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(btn));
            return TRUE;
        }
        case VK_TAB:
            if (code & DLGC_WANTTAB) return FALSE;
            if (GetKeyState(VK_SHIFT) < 0) PrevDlgCtrl();
            else NextDlgCtrl();
            return TRUE;
        default:
            return FALSE;
    }
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
    // The dialog manager runs for top-level dialogs; a child dialog (a page) leaves keys to its sheet.
    if (GetStyle() & WS_CHILD) return FALSE;
    if (pMsg->message == WM_KEYDOWN) return IsDialogMessage(pMsg);
    return FALSE;
}
