#include "afx/Wnd.h"
#include "afx/Cursor.h"

#include <cstdio>
#include <functional>
#include <map>
#include <memory>

#include "WndInternal.h"
#include "afx/Dc.h"
#include "afx/Exception.h"
#include "afx/GdiObject.h"
#include "afx/WinApp.h"
#include "afx/Dialog.h"
#include "afx/Screen.h"

IMPLEMENT_DYNAMIC(CWnd, CObject)

namespace afx {
namespace {

std::map<HWND, CWnd*>& Perm() {
    static auto* m = new std::map<HWND, CWnd*>();
    return *m;
}
std::map<HWND, std::unique_ptr<CWnd>>& Temp() {
    static auto* m = new std::map<HWND, std::unique_ptr<CWnd>>();
    return *m;
}
std::map<std::string, std::function<CWnd*()>>& Factories() {
    static auto* m = new std::map<std::string, std::function<CWnd*()>>();
    return *m;
}
CWnd* g_pWndInit = nullptr;
std::vector<MSG> g_current;

}  // namespace

void RegisterWrapperFactory(const char* className, CWnd* (*make)()) { Factories()[win32LowerName(className)] = make; }

std::string win32LowerName(const std::string& s) {
    std::string r = s;
    for (char& c : r) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return r;
}

}  // namespace afx

struct AfxWndAccess {
    static void Hook(CWnd* p, HWND h) {
        p->m_hWnd = h;
        afx::Perm()[h] = p;
        p->m_pfnSuper = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(h, GWLP_WNDPROC));
        if (p->m_pfnSuper == AfxWndProc) p->m_pfnSuper = ::DefWindowProcA;
        SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc));
    }
    static void Detach(CWnd* p) {
        afx::Perm().erase(p->m_hWnd);
        p->m_hWnd = nullptr;
        p->m_pfnSuper = nullptr;
    }
    static void SetTemporary(CWnd* p) { p->m_bTemporary = true; }
};

namespace {

void OnCreateWindow(HWND h) {
    if (CWnd* p = afx::g_pWndInit) {
        afx::g_pWndInit = nullptr;
        AfxWndAccess::Hook(p, h);
    }
    if (CWndScreen* s = AfxGetScreen()) s->OnWindowCreated(h);
}

void OnDestroyWindow(HWND h) {
    auto it = afx::Perm().find(h);
    if (it != afx::Perm().end()) {
        it->second->m_hWnd = nullptr;
        afx::Perm().erase(it);
    }
    afx::Temp().erase(h);
    if (CWndScreen* s = AfxGetScreen()) s->OnWindowDestroyed(h);
}

struct InstallHooks {
    InstallHooks() { win32::SetWindowLifeHooks(OnCreateWindow, OnDestroyWindow); }
} g_installHooks;

}  // namespace

LRESULT AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* p = CWnd::FromHandlePermanent(hWnd);
    if (!p) return ::DefWindowProcA(hWnd, message, wParam, lParam);
    POINT pt;
    GetCursorPos(&pt);
    afx::g_current.push_back(MSG{hWnd, message, wParam, lParam, 0, pt});
    LRESULT r = p->WindowProc(message, wParam, lParam);
    afx::g_current.pop_back();
    if (message == WM_NCDESTROY && CWnd::FromHandlePermanent(hWnd) == p) {
        AfxWndAccess::Detach(p);
        p->PostNcDestroy();
    }
    return r;
}

CWnd::~CWnd() {
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        HWND h = m_hWnd;
        if (afx::Perm().count(h) && afx::Perm()[h] == this) {
            // Destroying the window would call into a half-destroyed object: take the messages back.
            SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper ? m_pfnSuper : ::DefWindowProcA));
            afx::Perm().erase(h);
            m_hWnd = nullptr;
            if (!m_bTemporary) ::DestroyWindow(h);
        }
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    auto it = afx::Perm().find(hWnd);
    return it == afx::Perm().end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    if (!hWnd || !::IsWindow(hWnd)) return nullptr;
    if (CWnd* p = FromHandlePermanent(hWnd)) return p;
    auto& t = afx::Temp();
    auto it = t.find(hWnd);
    if (it != t.end()) return it->second.get();
    char cls[256];
    ::GetClassNameA(hWnd, cls, sizeof cls);
    auto f = afx::Factories().find(afx::win32LowerName(cls));
    CWnd* p = f != afx::Factories().end() ? f->second() : new CWnd();
    AfxWndAccess::SetTemporary(p);
    p->m_hWnd = hWnd;
    t[hWnd].reset(p);
    return p;
}

LPCTSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon) {
    static std::map<std::string, std::unique_ptr<std::string>> names;
    char buf[128];
    std::snprintf(buf, sizeof buf, "Afx:%x:%lx:%lx:%lx", nClassStyle, (unsigned long)(uintptr_t)hCursor,
                  (unsigned long)(uintptr_t)hbrBackground, (unsigned long)(uintptr_t)hIcon);
    auto& slot = names[buf];
    if (!slot) {
        slot = std::make_unique<std::string>(buf);
        WNDCLASS wc{};
        wc.style = nClassStyle;
        wc.lpfnWndProc = AfxWndProc;
        wc.hCursor = hCursor;
        wc.hbrBackground = hbrBackground;
        wc.hIcon = hIcon;
        wc.lpszClassName = slot->c_str();
        RegisterClassA(&wc);
    }
    return slot->c_str();
}

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                  UINT nID, void*) {
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                    CWnd* pParentWnd, UINT nID, LPVOID lpParam) {
    if (m_hWnd) return FALSE;
    if (!lpszClassName) lpszClassName = AfxRegisterWndClass(0, LoadCursor(nullptr, IDC_ARROW));
    afx::g_pWndInit = this;
    HWND h = CreateWindowExA(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                             rect.right - rect.left, rect.bottom - rect.top, pParentWnd ? pParentWnd->m_hWnd : nullptr,
                             reinterpret_cast<HMENU>(static_cast<uintptr_t>(nID)), nullptr, lpParam);
    afx::g_pWndInit = nullptr;
    if (!h) {
        m_hWnd = nullptr;
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::DestroyWindow() {
    if (!m_hWnd) return FALSE;
    HWND h = m_hWnd;
    BOOL r = ::DestroyWindow(h);
    if (m_hWnd == h) {
        afx::Perm().erase(h);
        m_hWnd = nullptr;
    }
    return r;
}

BOOL CWnd::Attach(HWND hWnd) {
    if (m_hWnd || !::IsWindow(hWnd) || FromHandlePermanent(hWnd)) return FALSE;
    afx::Temp().erase(hWnd);
    m_hWnd = hWnd;
    afx::Perm()[hWnd] = this;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND h = m_hWnd;
    if (h) afx::Perm().erase(h);
    m_hWnd = nullptr;
    return h;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (m_hWnd || !::IsWindow(hWnd) || FromHandlePermanent(hWnd)) return FALSE;
    afx::Temp().erase(hWnd);
    AfxWndAccess::Hook(this, hWnd);
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
    return pParent ? SubclassWindow(::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID))) : FALSE;
}

HWND CWnd::UnsubclassWindow() {
    HWND h = m_hWnd;
    if (!h) return nullptr;
    if (m_pfnSuper) SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    AfxWndAccess::Detach(this);
    return h;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_hWnd) return WindowProc(message, wParam, lParam);
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_hWnd) {
        WindowProc(message, wParam, lParam);
        return TRUE;
    }
    return ::PostMessageA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::SendDlgItemMessage(int nID, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageA(::GetDlgItem(m_hWnd, nID), message, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT r = 0;
    if (!OnWndMsg(message, wParam, lParam, &r)) r = DefWindowProc(message, wParam, lParam);
    return r;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_hWnd) return 0;
    if (m_pfnSuper) return CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    const MSG* m = GetCurrentMessage();
    return m ? DefWindowProc(m->message, m->wParam, m->lParam) : 0;
}

const MSG* CWnd::GetCurrentMessage() { return afx::g_current.empty() ? nullptr : &afx::g_current.back(); }

const AFX_MSGMAP* CWnd::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, entries};
    return &map;
}

const AFX_MSGMAP* CWnd::GetMessageMap() const { return GetThisMessageMap(); }

namespace {
// Searches the map chain for an entry; TRUE when a handler took the message.
BOOL Dispatch(CWnd* self, const AFX_MSGMAP* map, UINT message, UINT code, UINT id, bool matchId, WPARAM wParam,
              LPARAM lParam, LRESULT* pResult) {
    for (; map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->nMessage; ++e) {
            if (e->nMessage != message) continue;
            if (message == WM_COMMAND || message == WM_NOTIFY || message == WM_REFLECT_BASE + WM_COMMAND ||
                message == WM_REFLECT_BASE + WM_NOTIFY) {
                if (e->nCode != code) continue;
                if (matchId && (id < e->nID || id > e->nLastID)) continue;
            }
            if (e->pfn(self, wParam, lParam, pResult)) return TRUE;
        }
    }
    return FALSE;
}
}  // namespace

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam)) return FALSE;
        *pResult = 0;
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        const NMHDR* h = reinterpret_cast<const NMHDR*>(lParam);
        if (!h) return FALSE;
        LRESULT r = 0;
        if (!OnNotify(wParam, lParam, &r)) return FALSE;
        *pResult = r;
        return TRUE;
    }
    if (message == WM_DRAWITEM || message == WM_MEASUREITEM) {
        // Owner-drawn controls draw themselves when their object wants to (DrawItem / MeasureItem).
        HWND hCtl = nullptr;
        if (message == WM_DRAWITEM && lParam) hCtl = reinterpret_cast<LPDRAWITEMSTRUCT>(lParam)->hwndItem;
        if (message == WM_MEASUREITEM && lParam)
            hCtl = ::GetDlgItem(m_hWnd, static_cast<int>(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam)->CtlID));
        if (CWnd* c = FromHandlePermanent(hCtl))
            if (c != this && c->OnChildNotify(message, wParam, lParam, pResult)) return TRUE;
    }
    return Dispatch(this, GetMessageMap(), message, 0, 0, false, wParam, lParam, pResult);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    LRESULT r = 0;
    UINT code = 0;
    if (message == WM_COMMAND) code = HIWORD(wParam);
    else if (message == WM_NOTIFY) code = reinterpret_cast<const NMHDR*>(lParam)->code;
    if (!Dispatch(this, GetMessageMap(), WM_REFLECT_BASE + message, code, 0, false, wParam, lParam, &r)) return FALSE;
    if (pResult) *pResult = r;
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    HWND hCtl = reinterpret_cast<HWND>(lParam);
    if (hCtl) {
        CWnd* c = FromHandlePermanent(hCtl);
        if (c && c != this && c->OnChildNotify(WM_COMMAND, wParam, lParam, nullptr)) return TRUE;
    }
    return OnCmdMsg(LOWORD(wParam), HIWORD(wParam), nullptr, nullptr);
}

BOOL CWnd::OnCmdMsg(UINT nID, int nCode, void*, void*) {
    LRESULT r = 0;
    return Dispatch(this, GetMessageMap(), WM_COMMAND, static_cast<UINT>(nCode) & 0xFFFF, nID, true,
                    MAKEWPARAM(nID, nCode), 0, &r);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    const NMHDR* h = reinterpret_cast<const NMHDR*>(lParam);
    if (CWnd* c = FromHandlePermanent(h->hwndFrom))
        if (c != this && c->OnChildNotify(WM_NOTIFY, wParam, lParam, pResult)) return TRUE;
    return Dispatch(this, GetMessageMap(), WM_NOTIFY, h->code, static_cast<UINT>(h->idFrom), true, wParam, lParam, pResult);
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg) {
    for (HWND h = pMsg->hwnd; h; h = ::GetParent(h)) {
        CWnd* p = FromHandlePermanent(h);
        if (p && p->PreTranslateMessage(pMsg)) return TRUE;
        if (h == hWndStop) break;
    }
    return FALSE;
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (CUserException&) {
        return FALSE;
    }
    return TRUE;
}

CWnd* CWnd::GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }
void CWnd::GetDlgItem(int nID, HWND* phWnd) const { *phWnd = ::GetDlgItem(m_hWnd, nID); }
int CWnd::GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
int CWnd::SetDlgCtrlID(int nID) { return static_cast<int>(SetWindowLongPtrA(m_hWnd, GWL_ID, nID)); }
CWnd* CWnd::GetParent() const { return FromHandle(::GetParent(m_hWnd)); }

CWnd* CWnd::GetTopLevelParent() const {
    HWND h = m_hWnd;
    while (::GetParent(h)) h = ::GetParent(h);
    return FromHandle(h);
}

BOOL CWnd::IsChild(const CWnd* pWnd) const { return pWnd && ::IsChild(m_hWnd, pWnd->m_hWnd); }

CWnd* CWnd::GetDesktopWindow() { return nullptr; }
CWnd* CWnd::GetWindow(UINT nCmd) const { return FromHandle(::GetWindow(m_hWnd, nCmd)); }

CWnd* CWnd::GetNextDlgGroupItem(CWnd* pWndCtl, BOOL bPrevious) const {
    std::vector<HWND> kids = GetChildWindows(m_hWnd);
    if (kids.empty() || !pWndCtl) return nullptr;
    size_t i = 0;
    while (i < kids.size() && kids[i] != pWndCtl->m_hWnd) ++i;
    if (i == kids.size()) return nullptr;
    // The run: from the last WS_GROUP at or before i to before the next WS_GROUP.
    size_t first = i;
    while (first > 0 && !(GetWindowLongPtrA(kids[first], GWL_STYLE) & WS_GROUP)) --first;
    size_t last = i + 1;
    while (last < kids.size() && !(GetWindowLongPtrA(kids[last], GWL_STYLE) & WS_GROUP)) ++last;
    size_t n = last - first;
    size_t j = bPrevious ? first + (i - first + n - 1) % n : first + (i - first + 1) % n;
    return FromHandle(kids[j]);
}

CWnd* CWnd::GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious) const {
    std::vector<HWND> kids = GetChildWindows(m_hWnd);
    std::vector<HWND> stops;
    for (HWND k : kids)
        if ((GetWindowLongPtrA(k, GWL_STYLE) & WS_TABSTOP) && ::IsWindowVisible(k) && ::IsWindowEnabled(k)) stops.push_back(k);
    if (stops.empty()) return nullptr;
    size_t i = 0;
    while (pWndCtl && i < stops.size() && stops[i] != pWndCtl->m_hWnd) ++i;
    if (!pWndCtl || i == stops.size()) return FromHandle(bPrevious ? stops.back() : stops.front());
    size_t n = stops.size();
    return FromHandle(stops[bPrevious ? (i + n - 1) % n : (i + 1) % n]);
}

CString CWnd::GetClassName() const {
    char buf[256];
    ::GetClassNameA(m_hWnd, buf, sizeof buf);
    return CString(buf);
}

void CWnd::SetWindowText(LPCTSTR lpszString) {
    if (m_hWnd) ::SetWindowTextA(m_hWnd, lpszString);
}

int CWnd::GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const { return ::GetWindowTextA(m_hWnd, lpszStringBuf, nMaxCount); }

void CWnd::GetWindowText(CString& rString) const {
    int n = ::GetWindowTextLengthA(m_hWnd);
    std::string buf(static_cast<size_t>(n) + 1, '\0');
    int got = ::GetWindowTextA(m_hWnd, &buf[0], n + 1);
    buf.resize(static_cast<size_t>(got < 0 ? 0 : got));
    rString = CString(buf);
}

int CWnd::GetWindowTextLength() const { return ::GetWindowTextLengthA(m_hWnd); }
void CWnd::SetDlgItemText(int nID, LPCTSTR lpszString) { ::SetDlgItemTextA(m_hWnd, nID, lpszString); }

int CWnd::GetDlgItemText(int nID, CString& rString) const {
    rString.Empty();
    if (CWnd* p = GetDlgItem(nID)) p->GetWindowText(rString);
    return rString.GetLength();
}

int CWnd::GetDlgItemText(int nID, LPTSTR lpStr, int nMaxCount) const {
    return static_cast<int>(::GetDlgItemTextA(m_hWnd, nID, lpStr, nMaxCount));
}

void CWnd::SetDlgItemInt(int nID, UINT nValue, BOOL bSigned) {
    CString s;
    if (bSigned) s.Format("%d", static_cast<int>(nValue));
    else s.Format("%u", nValue);
    SetDlgItemText(nID, s);
}

UINT CWnd::GetDlgItemInt(int nID, BOOL* lpTrans, BOOL bSigned) const {
    CString s;
    GetDlgItemText(nID, s);
    s.TrimLeft();
    s.TrimRight();
    const char* p = s;
    char* end = nullptr;
    long long v = std::strtoll(p, &end, 10);
    bool ok = end != p && *end == 0 && (bSigned ? (v >= INT32_MIN && v <= INT32_MAX) : (s[0] != '-' && v <= UINT32_MAX));
    if (lpTrans) *lpTrans = ok ? TRUE : FALSE;
    return ok ? static_cast<UINT>(v) : 0;
}

void CWnd::CheckDlgButton(int nIDButton, UINT nCheck) { SendDlgItemMessage(nIDButton, BM_SETCHECK, nCheck, 0); }
UINT CWnd::IsDlgButtonChecked(int nIDButton) const {
    return static_cast<UINT>(::SendMessageA(::GetDlgItem(m_hWnd, nIDButton), BM_GETCHECK, 0, 0));
}

void CWnd::CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton) {
    for (int id = nIDFirstButton; id <= nIDLastButton; ++id)
        if (::GetDlgItem(m_hWnd, id)) CheckDlgButton(id, id == nIDCheckButton ? BST_CHECKED : BST_UNCHECKED);
}

int CWnd::GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton) {
    for (int id = nIDFirstButton; id <= nIDLastButton; ++id)
        if (::GetDlgItem(m_hWnd, id) && IsDlgButtonChecked(id)) return id;
    return 0;
}

BOOL CWnd::ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
BOOL CWnd::IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
BOOL CWnd::EnableWindow(BOOL bEnable) { return ::EnableWindow(m_hWnd, bEnable); }
BOOL CWnd::IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
DWORD CWnd::GetStyle() const { return static_cast<DWORD>(GetWindowLongPtrA(m_hWnd, GWL_STYLE)); }
DWORD CWnd::GetExStyle() const { return static_cast<DWORD>(GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE)); }

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT) {
    if (!m_hWnd) return FALSE;
    DWORD s = GetStyle(), n = (s & ~dwRemove) | dwAdd;
    if (s == n) return FALSE;
    SetWindowLongPtrA(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(n));
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return TRUE;
}

BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT) {
    if (!m_hWnd) return FALSE;
    DWORD s = GetExStyle(), n = (s & ~dwRemove) | dwAdd;
    if (s == n) return FALSE;
    SetWindowLongPtrA(m_hWnd, GWL_EXSTYLE, static_cast<LONG_PTR>(n));
    return TRUE;
}

void CWnd::SetFont(CFont* pFont, BOOL bRedraw) {
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(pFont ? pFont->m_hObject : nullptr), bRedraw);
}

CFont* CWnd::GetFont() const {
    return CFont::FromHandle(reinterpret_cast<HFONT>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0)));
}

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint) { ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint); }
void CWnd::MoveWindow(LPCRECT r, BOOL bRepaint) { ::MoveWindow(m_hWnd, r->left, r->top, r->right - r->left, r->bottom - r->top, bRepaint); }

BOOL CWnd::SetWindowPos(const CWnd*, int x, int y, int cx, int cy, UINT nFlags) {
    // SWP_NOSIZE 1, SWP_NOMOVE 2, SWP_SHOWWINDOW 0x40, SWP_HIDEWINDOW 0x80.
    RECT rc;
    ::GetWindowRect(m_hWnd, &rc);
    POINT p{rc.left, rc.top};
    if (HWND parent = ::GetParent(m_hWnd)) ::ScreenToClient(parent, &p);
    if (nFlags & 2) { x = p.x; y = p.y; }
    if (nFlags & 1) { cx = rc.right - rc.left; cy = rc.bottom - rc.top; }
    ::MoveWindow(m_hWnd, x, y, cx, cy, TRUE);
    if (nFlags & 0x40) ShowWindow(SW_SHOW);
    if (nFlags & 0x80) ShowWindow(SW_HIDE);
    return TRUE;
}

void CWnd::GetWindowRect(LPRECT lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }
void CWnd::GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
void CWnd::ScreenToClient(LPPOINT lpPoint) const { ::ScreenToClient(m_hWnd, lpPoint); }
void CWnd::ClientToScreen(LPPOINT lpPoint) const { ::ClientToScreen(m_hWnd, lpPoint); }
void CWnd::ScreenToClient(LPRECT r) const { ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(r), 2); }
void CWnd::ClientToScreen(LPRECT r) const { ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<LPPOINT>(r), 2); }
void CWnd::CenterWindow(CWnd*) {}

CWnd* CWnd::WindowFromPoint(POINT point) { return FromHandle(::WindowFromPoint(point)); }
CWnd* CWnd::ChildWindowFromPoint(POINT point) const { return FromHandle(::ChildWindowFromPoint(m_hWnd, point)); }

void CWnd::Invalidate(BOOL bErase) { ::InvalidateRect(m_hWnd, nullptr, bErase); }
void CWnd::InvalidateRect(LPCRECT lpRect, BOOL bErase) { ::InvalidateRect(m_hWnd, lpRect, bErase); }
void CWnd::ValidateRect(LPCRECT lpRect) { ::ValidateRect(m_hWnd, lpRect); }
void CWnd::UpdateWindow() { ::UpdateWindow(m_hWnd); }

BOOL CWnd::RedrawWindow(LPCRECT, void*, UINT) {
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return ::UpdateWindow(m_hWnd);
}

CDC* CWnd::GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }
int CWnd::ReleaseDC(CDC* pDC) {
    if (!pDC) return 0;
    HDC h = pDC->m_hDC;
    pDC->Detach();
    return ::ReleaseDC(m_hWnd, h);
}

CWnd* CWnd::SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
CWnd* CWnd::GetFocus() { return FromHandle(::GetFocus()); }
CWnd* CWnd::SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
CWnd* CWnd::GetCapture() { return FromHandle(::GetCapture()); }
CWnd* CWnd::SetActiveWindow() { return FromHandle(::SetActiveWindow(m_hWnd)); }
CWnd* CWnd::GetActiveWindow() { return FromHandle(::GetActiveWindow()); }

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer) { return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer); }
BOOL CWnd::KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }

int CWnd::SetScrollPos(int nBar, int nPos, BOOL bRedraw) { return ::SetScrollPos(m_hWnd, nBar, nPos, bRedraw); }
int CWnd::GetScrollPos(int nBar) const { return ::GetScrollPos(m_hWnd, nBar); }
void CWnd::SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw) { ::SetScrollRange(m_hWnd, nBar, nMinPos, nMaxPos, bRedraw); }
void CWnd::GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const { ::GetScrollRange(m_hWnd, nBar, lpMinPos, lpMaxPos); }
BOOL CWnd::SetScrollInfo(int nBar, LPSCROLLINFO si, BOOL bRedraw) {
    if (!si) return FALSE;
    ::SetScrollInfo(m_hWnd, nBar, si, bRedraw);
    return TRUE;
}
BOOL CWnd::GetScrollInfo(int nBar, LPSCROLLINFO si, UINT nMask) {
    if (!si) return FALSE;
    si->fMask = nMask;
    return ::GetScrollInfo(m_hWnd, nBar, si);
}
int CWnd::GetScrollLimit(int nBar) {
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE, 0, 0, 0, 0, 0};
    ::GetScrollInfo(m_hWnd, nBar, &si);
    int lim = si.nMax - std::max(0, static_cast<int>(si.nPage) - 1);
    return lim < si.nMin ? si.nMin : lim;
}
void CWnd::ShowScrollBar(UINT nBar, BOOL bShow) { ::ShowScrollBar(m_hWnd, static_cast<int>(nBar), bShow); }
BOOL CWnd::EnableScrollBar(int nSBFlags, UINT nArrowFlags) { return ::EnableScrollBar(m_hWnd, static_cast<UINT>(nSBFlags), nArrowFlags); }

int CWnd::MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType) {
    return AfxMessageBoxCaption(lpszText, lpszCaption, nType);
}
