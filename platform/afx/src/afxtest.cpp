#include "afx/afxtest.h"

#include <cstdio>

#include "CtrlInternal.h"
#include "afx/StdCtrls.h"

namespace afxtest {
namespace {
Session* g_session = nullptr;

bool Contains(const std::string& hay, const std::string& needle) { return needle.empty() || hay.find(needle) != std::string::npos; }

void Refuse(const std::string& why) {
    if (g_session) g_session->Fail(why);
    else std::fprintf(stderr, "[afxtest] %s\n", why.c_str());
}

std::string Name(HWND h) {
    char buf[128];
    char cls[64] = "";
    GetClassNameA(h, cls, sizeof cls);
    std::snprintf(buf, sizeof buf, "%s %d", cls, GetDlgCtrlID(h));
    return buf;
}

// A person can reach a window that exists, is visible and enabled, with all its parents.
bool Reachable(HWND h, const char* action) {
    if (!h || !IsWindow(h)) {
        Refuse(std::string(action) + ": no such window");
        return false;
    }
    for (HWND p = h; p; p = GetParent(p))
        if (!IsWindowEnabled(p) && (p == h || (GetWindowLongPtrA(p, GWL_STYLE) & WS_CHILD))) {
            Refuse(std::string(action) + " refused: " + Name(h) + " is disabled");
            return false;
        }
    if (!IsWindowVisible(h)) {
        Refuse(std::string(action) + " refused: " + Name(h) + " is hidden");
        return false;
    }
    return true;
}

HWND Ctl(CWnd& parent, int id) { return ::GetDlgItem(parent.m_hWnd, id); }

// A mouse message as the system delivers it: WM_SETCURSOR first, unless a window holds the capture.
void SendMouse(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    ::SendSetCursor(h, msg);
    if (IsWindow(h)) ::SendMessageA(h, msg, wParam, lParam);
}

std::string Lower(const std::string& s) {
    std::string r = s;
    for (char& c : r) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return r;
}

bool IsClass(HWND h, const char* name) {
    char cls[64] = "";
    GetClassNameA(h, cls, sizeof cls);
    return Lower(cls) == Lower(name);
}
}  // namespace

Session* Current() { return g_session; }

Session::Session(bool strict) : m_strict(strict) {
    if (g_session) std::fprintf(stderr, "[afxtest] a second session replaces the first\n");
    g_session = this;
    m_pPrevDriver = AfxGetUserDriver();
    AfxSetUserDriver(this);
    win32::UserHooks hooks;
    hooks.popupMenu = [this](HWND, const std::vector<MenuItemInfo>& items, POINT) { return OnPopup(items); };
    hooks.messageBox = [this](HWND, const std::string& text, const std::string&, UINT type) {
        return OnMessageBox(CString(text), type, 0);
    };
    hooks.emptyQueue = [this]() {
        if (m_feeds.empty()) {
            Fail("a message loop waited on an empty queue");
            return false;
        }
        auto feed = m_feeds.front();
        m_feeds.erase(m_feeds.begin());
        feed();
        return true;
    };
    win32::SetUserHooks(hooks);
}

Session::~Session() {
    win32::SetUserHooks(win32::UserHooks());
    AfxSetUserDriver(m_pPrevDriver);
    if (g_session == this) g_session = nullptr;
}

void Session::SetFailureHandler(std::function<void(const std::string&)> handler) { m_onFailure = std::move(handler); }

void Session::Fail(const std::string& message) {
    m_failures.push_back(message);
    if (m_onFailure) m_onFailure(message);
    else std::fprintf(stderr, "[afxtest] %s\n", message.c_str());
}

void Session::ExpectDialog(UINT nIDTemplate, std::function<void(CDialog&)> act) {
    Step s;
    s.kind = Kind::Dialog;
    s.id = nIDTemplate;
    s.dialog = std::move(act);
    m_script.push_back(std::move(s));
}

void Session::ExpectDialog(CRuntimeClass* pClass, std::function<void(CDialog&)> act) {
    Step s;
    s.kind = Kind::Dialog;
    s.cls = pClass;
    s.dialog = std::move(act);
    m_script.push_back(std::move(s));
}

void Session::OnDialog(UINT nIDTemplate, std::function<void(CDialog&)> act) { m_responders.emplace_back(nIDTemplate, std::move(act)); }

bool Session::OpenDialog(UINT nIDTemplate, std::function<void(CDialog&)> act, const std::function<bool()>& action) {
    Step s;
    s.kind = Kind::Dialog;
    s.id = nIDTemplate;
    s.dialog = std::move(act);
    static unsigned serial = 0;
    s.serial = ++serial;
    const unsigned mine = s.serial;
    m_script.push_front(std::move(s));
    const bool acted = action();
    for (auto it = m_script.begin(); it != m_script.end(); ++it)
        if (it->serial == mine) {
            // Still waiting: the dialog never opened.
            m_script.erase(it);
            if (acted) Fail("dialog " + std::to_string(nIDTemplate) + " did not open");
            return false;
        }
    return acted;
}

void Session::ExpectSheet(const std::string& caption, std::function<void(CPropertySheet&)> act) {
    Step s;
    s.kind = Kind::Sheet;
    s.text = caption;
    s.sheet = std::move(act);
    m_script.push_back(std::move(s));
}

void Session::ExpectMessageBox(const std::string& text, int answer) {
    Step s;
    s.kind = Kind::Box;
    s.text = text;
    s.answer = answer;
    m_script.push_back(std::move(s));
}

void Session::ExpectFileDialog(const std::string& title, const std::string& path) {
    Step s;
    s.kind = Kind::File;
    s.text = title;
    s.path = path;
    m_script.push_back(std::move(s));
}

void Session::ExpectPopup(std::function<UINT(const std::vector<MenuItemInfo>&)> chooser) {
    Step s;
    s.kind = Kind::Popup;
    s.popup = std::move(chooser);
    m_script.push_back(std::move(s));
}

namespace {
const MenuItemInfo* FindItem(const std::vector<MenuItemInfo>& items, const std::function<bool(const MenuItemInfo&)>& pred) {
    for (const auto& it : items) {
        if (pred(it)) return &it;
        if (const MenuItemInfo* sub = FindItem(it.sub, pred)) return sub;
    }
    return nullptr;
}
}  // namespace

void Session::ExpectPopup(UINT nID) {
    ExpectPopup([this, nID](const std::vector<MenuItemInfo>& items) -> UINT {
        const MenuItemInfo* it = FindItem(items, [nID](const MenuItemInfo& m) { return m.id == nID && !(m.flags & MF_SEPARATOR); });
        if (!it) {
            Fail("popup menu has no command " + std::to_string(nID));
            return 0;
        }
        if (it->flags & (MF_GRAYED | MF_DISABLED)) {
            Fail("popup command " + std::to_string(nID) + " is disabled");
            return 0;
        }
        return nID;
    });
}

void Session::ExpectPopupText(const std::string& text) {
    ExpectPopup([this, text](const std::vector<MenuItemInfo>& items) -> UINT {
        const MenuItemInfo* it = FindItem(items, [&](const MenuItemInfo& m) { return m.text == text && !(m.flags & MF_POPUP); });
        if (!it) {
            Fail("popup menu has no item \"" + text + "\"");
            return 0;
        }
        return it->id;
    });
}

void Session::FeedLoop(std::function<void()> feed) { m_feeds.push_back(std::move(feed)); }

std::string Session::Describe(const Step& s) const {
    switch (s.kind) {
        case Kind::Dialog:
            return s.cls ? std::string("dialog of class ") + s.cls->m_lpszClassName : "dialog " + std::to_string(s.id);
        case Kind::Sheet: return "sheet \"" + s.text + "\"";
        case Kind::Box: return "message box \"" + s.text + "\"";
        case Kind::File: return "file dialog \"" + s.text + "\"";
        case Kind::Popup: return "popup menu";
    }
    return "?";
}

bool Session::TakeNext(Kind kind, Step& out, const std::string& what) {
    if (m_script.empty() || m_script.front().kind != kind) {
        if (m_strict)
            Fail("unscripted " + what + (m_script.empty() ? std::string(" (nothing expected)") : " (expected " + Describe(m_script.front()) + ")"));
        return false;
    }
    out = std::move(m_script.front());
    m_script.pop_front();
    return true;
}

bool Session::Verify() {
    bool ok = m_script.empty();
    for (const Step& s : m_script) Fail("expected but never shown: " + Describe(s));
    m_script.clear();
    return ok;
}

int Session::OnMessageBox(const CString& text, UINT nType, UINT) {
    Step s;
    std::string what = "message box \"" + text.str() + "\"";
    if (!m_script.empty() && m_script.front().kind == Kind::Box && !Contains(text.str(), m_script.front().text)) {
        Fail(what + " does not match " + Describe(m_script.front()));
        return MessageBoxDefaultAnswer(nType);
    }
    if (!TakeNext(Kind::Box, s, what)) return m_strict ? ((nType & MB_TYPEMASK) == MB_OK ? IDOK : IDCANCEL) : MessageBoxDefaultAnswer(nType);
    return s.answer;
}

int Session::OnFileDialog(CFileDialog& dlg, CString& rPathName) {
    Step s;
    std::string what = "file dialog \"" + dlg.GetTitle().str() + "\"";
    if (!m_script.empty() && m_script.front().kind == Kind::File && !Contains(dlg.GetTitle().str(), m_script.front().text)) {
        Fail(what + " does not match " + Describe(m_script.front()));
        return IDCANCEL;
    }
    if (!TakeNext(Kind::File, s, what)) return IDCANCEL;
    if (s.path.empty()) return IDCANCEL;
    rPathName = CString(s.path);
    return IDOK;
}

UINT Session::OnPopup(const std::vector<MenuItemInfo>& items) {
    Step s;
    if (!TakeNext(Kind::Popup, s, "popup menu")) return 0;
    return s.popup ? s.popup(items) : 0;
}

BOOL Session::OnModal(CWnd& wnd) {
    if (CPropertySheet* sheet = dynamic_cast<CPropertySheet*>(&wnd)) {
        Step s;
        std::string what = "sheet \"" + sheet->GetTitle().str() + "\"";
        if (!m_script.empty() && m_script.front().kind == Kind::Sheet && !Contains(sheet->GetTitle().str(), m_script.front().text)) {
            Fail(what + " does not match " + Describe(m_script.front()));
            return FALSE;
        }
        if (!TakeNext(Kind::Sheet, s, what)) return FALSE;
        if (s.sheet) s.sheet(*sheet);
        Pump();
        if (!sheet->IsEnded() && m_strict) Fail(what + " was left open");
        return TRUE;
    }
    CDialog* dlg = dynamic_cast<CDialog*>(&wnd);
    if (!dlg) return FALSE;
    std::string what = "dialog " + std::to_string(dlg->GetTemplateID()) + " " + dlg->GetRuntimeClass()->m_lpszClassName;
    Step s;
    bool matches = !m_script.empty() && m_script.front().kind == Kind::Dialog &&
                   (m_script.front().cls ? dlg->IsKindOf(m_script.front().cls) : m_script.front().id == dlg->GetTemplateID());
    if (matches) {
        s = std::move(m_script.front());
        m_script.pop_front();
    } else {
        bool responded = false;
        for (auto& r : m_responders)
            if (r.first == dlg->GetTemplateID()) {
                s.dialog = r.second;
                responded = true;
                break;
            }
        if (!responded) {
            if (m_strict)
                Fail("unscripted " + what + (m_script.empty() ? std::string(" (nothing expected)") : " (expected " + Describe(m_script.front()) + ")"));
            return FALSE;
        }
    }
    if (s.dialog) s.dialog(*dlg);
    Pump();
    if (!dlg->IsEnded() && m_strict) Fail(what + " was left open");
    return TRUE;
}

// ---- acting ----------------------------------------------------------------------------------------

int Pump() { return win32::PumpMessages(); }

bool Type(CWnd* ctrl, const std::string& gbk) {
    HWND h = ctrl ? ctrl->m_hWnd : nullptr;
    if (!Reachable(h, "Type")) return false;
    if (IsClass(h, "Edit")) {
        if (GetWindowLongPtrA(h, GWL_STYLE) & ES_READONLY) {
            Refuse("Type refused: " + Name(h) + " is read-only");
            return false;
        }
        if (GetFocus() != h) ::SetFocus(h);
        ::SendMessageA(h, EM_SETSEL, 0, -1);
        ::SendMessageA(h, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(gbk.c_str()));
    } else if (IsClass(h, "ComboBox") && (GetWindowLongPtrA(h, GWL_STYLE) & 3) != CBS_DROPDOWNLIST) {
        if (GetFocus() != h) ::SetFocus(h);
        ::SendMessageA(h, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(gbk.c_str()));
    } else {
        Refuse("Type refused: " + Name(h) + " takes no text");
        return false;
    }
    Pump();
    return true;
}

bool Type(CWnd& parent, int id, const std::string& gbk) { return Type(CWnd::FromHandle(Ctl(parent, id)), gbk); }

bool TypeChars(CWnd* ctrl, const std::string& gbk) {
    HWND h = ctrl ? ctrl->m_hWnd : nullptr;
    if (!Reachable(h, "TypeChars")) return false;
    if (GetFocus() != h) ::SetFocus(h);
    for (unsigned char c : gbk) ::SendMessageA(h, WM_CHAR, c, 1);
    Pump();
    return true;
}

bool Click(CWnd* ctrl) {
    HWND h = ctrl ? ctrl->m_hWnd : nullptr;
    if (!Reachable(h, "Click")) return false;
    if (IsClass(h, "Button")) {
        if ((GetWindowLongPtrA(h, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX) {
            Refuse("Click refused: " + Name(h) + " is a group box");
            return false;
        }
        ::SendMessageA(h, BM_CLICK, 0, 0);
    } else {
        RECT rc;
        ::GetClientRect(h, &rc);
        POINT c{rc.right / 2, rc.bottom / 2}, s = c;
        ::ClientToScreen(h, &s);
        SetCursorPos(s.x, s.y);
        SendMouse(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(c.x, c.y));
        if (IsWindow(h)) SendMouse(h, WM_LBUTTONUP, 0, MAKELPARAM(c.x, c.y));
    }
    Pump();
    return true;
}

bool Click(CWnd& parent, int id) { return Click(CWnd::FromHandle(Ctl(parent, id))); }

bool Check(CWnd& parent, int id, bool on) {
    HWND h = Ctl(parent, id);
    if (!Reachable(h, "Check")) return false;
    for (int i = 0; i < 3; ++i) {
        if ((::SendMessageA(h, BM_GETCHECK, 0, 0) == BST_CHECKED) == on) return true;
        if (!Click(CWnd::FromHandle(h))) return false;
    }
    Refuse("Check: " + Name(h) + " does not take the state");
    return false;
}

bool Select(CWnd* ctrl, int index) {
    HWND h = ctrl ? ctrl->m_hWnd : nullptr;
    if (!Reachable(h, "Select")) return false;
    if (!IsClass(h, "ComboBox") && !IsClass(h, "ListBox")) {
        Refuse("Select refused: " + Name(h) + " is not a combo or list box");
        return false;
    }
    bool combo = IsClass(h, "ComboBox");
    int count = static_cast<int>(::SendMessageA(h, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0));
    if (index < 0 || index >= count) {
        Refuse("Select: " + Name(h) + " has no item " + std::to_string(index));
        return false;
    }
    if (combo && GetFocus() != h) ::SetFocus(h);
    if (::SendMessageA(h, AFXM_USER_SELECT, static_cast<WPARAM>(index), 0) == -1) {
        Refuse("Select: " + Name(h) + " has no item " + std::to_string(index));
        return false;
    }
    Pump();
    return true;
}

bool Select(CWnd& parent, int id, int index) { return Select(CWnd::FromHandle(Ctl(parent, id)), index); }

bool Select(CWnd& parent, int id, const std::string& text) {
    HWND h = Ctl(parent, id);
    UINT msg = IsClass(h, "ComboBox") ? CB_FINDSTRINGEXACT : LB_FINDSTRINGEXACT;
    int i = static_cast<int>(::SendMessageA(h, msg, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str())));
    if (h && i < 0) {
        Refuse("Select: " + Name(h) + " has no item \"" + text + "\"");
        return false;
    }
    return Select(CWnd::FromHandle(h), i);
}

bool DoubleClick(CWnd& parent, int id, int index) {
    HWND h = Ctl(parent, id);
    if (!Reachable(h, "DoubleClick")) return false;
    if (IsClass(h, "ListBox")) {
        // Both presses of a double click land on the item: in a multiple-selection list box each toggles
        // it, so it ends as it was before, with a selection change for each.
        if (index >= 0 && !Select(CWnd::FromHandle(h), index)) return false;
        if (index >= 0 && (GetWindowLongPtrA(h, GWL_STYLE) & LBS_MULTIPLESEL) && !Select(CWnd::FromHandle(h), index)) return false;
        if (!IsWindow(h)) return true;
        ::SendMessageA(h, AFXM_USER_DBLCLK, static_cast<WPARAM>(index), 0);
    } else {
        RECT rc;
        ::GetClientRect(h, &rc);
        ::SendMessageA(h, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(rc.right / 2, rc.bottom / 2));
    }
    Pump();
    return true;
}

bool Key(UINT vk) {
    HWND target = GetFocus();
    if (!target) target = GetActiveWindow();
    if (!target) {
        Refuse("Key: no window has the focus");
        return false;
    }
    HWND top = target;
    while (GetParent(top)) top = GetParent(top);
    MSG m{target, WM_KEYDOWN, vk, 1, 0, POINT{0, 0}};
    if (!CWnd::WalkPreTranslateTree(top, &m)) {
        ::SendMessageA(target, WM_KEYDOWN, vk, 1);
        bool printable = (vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z') || vk == VK_SPACE || vk == VK_BACK || vk == VK_RETURN;
        if (printable && IsWindow(target)) ::SendMessageA(target, WM_CHAR, vk == VK_RETURN ? '\r' : vk, 1);
        if (IsWindow(target)) ::SendMessageA(target, WM_KEYUP, vk, 1);
    }
    Pump();
    return true;
}

void HoldKey(UINT vk, bool down) { SetKeyDown(static_cast<int>(vk), down); }

bool SetFocus(CWnd* wnd) {
    HWND h = wnd ? wnd->m_hWnd : nullptr;
    if (!Reachable(h, "SetFocus")) return false;
    ::SetFocus(h);
    Pump();
    return true;
}

bool SetFocus(CWnd& parent, int id) { return SetFocus(CWnd::FromHandle(Ctl(parent, id))); }

bool Scroll(CWnd* target, UINT nSBCode, int nPos, bool vertical) {
    HWND h = target ? target->m_hWnd : nullptr;
    if (!Reachable(h, "Scroll")) return false;
    if (IsClass(h, "ScrollBar")) ::SendMessageA(h, AFXM_USER_SCROLL, MAKEWPARAM(nSBCode, nPos), 0);
    else ::SendMessageA(h, vertical ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(nSBCode, nPos), 0);
    Pump();
    return true;
}

bool Wheel(CWnd* wnd, short delta, CPoint pt) {
    HWND h = wnd ? wnd->m_hWnd : nullptr;
    if (!Reachable(h, "Wheel")) return false;
    POINT s{pt.x, pt.y};
    ::ClientToScreen(h, &s);
    SetCursorPos(s.x, s.y);
    ::SendMessageA(h, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)), MAKELPARAM(s.x, s.y));
    Pump();
    return true;
}

bool Mouse(CWnd* wnd, UINT message, CPoint pt, UINT nFlags) {
    HWND h = wnd ? wnd->m_hWnd : nullptr;
    // A window holding the capture gets the mouse wherever it is.
    if (GetCapture() != h && !Reachable(h, "Mouse")) return false;
    POINT s{pt.x, pt.y};
    ::ClientToScreen(h, &s);
    SetCursorPos(s.x, s.y);
    SendMouse(h, message, nFlags, MAKELPARAM(pt.x, pt.y));
    Pump();
    return true;
}

bool FireTimer(CWnd* wnd, UINT_PTR nIDEvent) {
    HWND h = wnd ? wnd->m_hWnd : nullptr;
    if (!::FireTimer(h, nIDEvent)) {
        Refuse("FireTimer: timer " + std::to_string(nIDEvent) + " is not set");
        return false;
    }
    Pump();
    return true;
}

bool Ok(CWnd& dlg) {
    if (auto* sheet = dynamic_cast<CPropertySheet*>(&dlg)) {
        sheet->SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(Ctl(dlg, IDOK)));
        Pump();
        return true;
    }
    return Click(dlg, IDOK);
}

bool Cancel(CWnd& dlg) {
    if (Ctl(dlg, IDCANCEL)) return Click(dlg, IDCANCEL);
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    Pump();
    return true;
}

bool Apply(CPropertySheet& sheet) { return Click(sheet, ID_APPLY_NOW); }

bool ActivatePage(CPropertySheet& sheet, int nPage) {
    bool ok = sheet.SetActivePage(nPage) != FALSE;
    Pump();
    return ok;
}

// ---- observing ------------------------------------------------------------------------------------

std::string Text(CWnd* wnd) { return wnd ? GetWindowTextRaw(wnd->m_hWnd) : std::string(); }
std::string Text(CWnd& parent, int id) { return GetWindowTextRaw(Ctl(parent, id)); }
int CheckState(CWnd& parent, int id) { return static_cast<int>(::SendMessageA(Ctl(parent, id), BM_GETCHECK, 0, 0)); }
bool IsEnabled(CWnd& parent, int id) { return ::IsWindowEnabled(Ctl(parent, id)) != FALSE; }
bool IsVisible(CWnd& parent, int id) { return ::IsWindowVisible(Ctl(parent, id)) != FALSE; }
int FocusId() { return GetFocus() ? GetDlgCtrlID(GetFocus()) : 0; }
CWnd* Focus() { return CWnd::FromHandle(GetFocus()); }

std::pair<int, int> Selection(CWnd& parent, int id) {
    DWORD a = 0, b = 0;
    ::SendMessageA(Ctl(parent, id), EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
    return {static_cast<int>(a), static_cast<int>(b)};
}

std::vector<std::string> Items(CWnd& parent, int id) {
    std::vector<std::string> r;
    HWND h = Ctl(parent, id);
    bool combo = IsClass(h, "ComboBox");
    int n = static_cast<int>(::SendMessageA(h, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        int len = static_cast<int>(::SendMessageA(h, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, static_cast<WPARAM>(i), 0));
        std::string t(static_cast<size_t>(std::max(len, 8)) + 1, '\0');
        ::SendMessageA(h, combo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&t[0]));
        t.resize(static_cast<size_t>(std::max(len, 0)));
        if (!combo && ::SendMessageA(h, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0) t = "*" + t;
        r.push_back(t);
    }
    return r;
}

const std::vector<std::string>& Transcript() { return win32::GetUserLog(); }
void ClearTranscript() { win32::ClearUserLog(); }

namespace {
MessageSpy* g_spy = nullptr;
}

MessageSpy::MessageSpy() {
    g_spy = this;
    win32::SetMessageSpy([](const win32::SpyRecord& r) {
        if (g_spy) g_spy->m_records.push_back(r);
    });
}

MessageSpy::~MessageSpy() {
    win32::SetMessageSpy(nullptr);
    if (g_spy == this) g_spy = nullptr;
}

std::vector<win32::SpyRecord> MessageSpy::Of(UINT msg) const {
    std::vector<win32::SpyRecord> r;
    for (const auto& x : m_records)
        if (x.msg == msg) r.push_back(x);
    return r;
}

}  // namespace afxtest

namespace afxtest {
namespace {

#define AFXM_USER_BEGINDRAG 0x0FF8

POINT Centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// The client point of an item of a tree, or below its last visible item for NULL.
// Whether a client point of the control is inside its client area below the top rows (a list's header):
// where a person can click. Refused (told) when not.
bool InView(HWND h, POINT pt, int top, const std::string& what) {
    RECT client;
    ::GetClientRect(h, &client);
    if (pt.x >= 0 && pt.x < client.right && pt.y >= top && pt.y < client.bottom) return true;
    Refuse(what + " is scrolled out of view: a person scrolls to it first");
    return false;
}

bool TreePoint(CTreeCtrl* tree, HTREEITEM item, POINT& pt) {
    RECT r;
    if (item) {
        if (!tree->GetItemRect(item, &r, TRUE)) {
            Refuse("the tree item is not visible or not an item of the tree");
            return false;
        }
        pt = Centre(r);
        return InView(tree->m_hWnd, pt, 0, "the tree item \"" + tree->GetItemText(item).str() + "\"");
    }
    HTREEITEM last = nullptr;
    for (HTREEITEM h = tree->GetFirstVisibleItem(); h; h = tree->GetNextVisibleItem(h)) last = h;
    pt = POINT{5, 2};
    if (last && tree->GetItemRect(last, &r, FALSE)) pt.y = r.bottom + 2;
    return InView(tree->m_hWnd, pt, 0, "the empty space below the tree's last item");
}

bool ListPoint(CListCtrl* list, int row, POINT& pt) {
    RECT r;
    if (row >= 0) {
        if (!list->GetItemRect(row, &r, LVIR_LABEL)) {
            Refuse("the list has no row " + std::to_string(row));
            return false;
        }
        pt = Centre(r);
        const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(list->m_hWnd, GWL_STYLE));
        const int header = (style & LVS_TYPEMASK) == LVS_REPORT && !(style & LVS_NOCOLUMNHEADER) ? kListHeaderHeight : 0;
        return InView(list->m_hWnd, pt, header, "the list's row " + std::to_string(row));
    }
    int n = list->GetItemCount();
    pt = POINT{5, kListHeaderHeight + 2};
    if (n > 0 && list->GetItemRect(n - 1, &r, LVIR_BOUNDS)) pt = POINT{5, r.bottom + 2};
    // Below the last row only where the rows leave room: a list whose rows fill it has no empty space.
    return InView(list->m_hWnd, pt, 0, "the empty space below the list's last row");
}

void MoveCursor(HWND h, POINT client) {
    POINT s = client;
    ::ClientToScreen(h, &s);
    SetCursorPos(s.x, s.y);
}

bool MouseOn(CWnd* ctrl, UINT msg, POINT pt, const char* what) {
    HWND h = ctrl ? ctrl->m_hWnd : nullptr;
    if (!Reachable(h, what)) return false;
    MoveCursor(h, pt);
    UINT flags = msg == WM_RBUTTONDOWN ? MK_RBUTTON : MK_LBUTTON;
    if (GetKeyState(VK_CONTROL) < 0) flags |= MK_CONTROL;
    SendMouse(h, msg, flags, MAKELPARAM(pt.x, pt.y));
    if (IsWindow(h) && msg == WM_LBUTTONDOWN) SendMouse(h, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    if (IsWindow(h) && msg == WM_RBUTTONDOWN) SendMouse(h, WM_RBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    Pump();
    return true;
}

// A mouse message at a client point of `over`, to the window holding the capture when one does, else to
// the window under the point. With clientOnly, a window not holding the capture hears the message only
// over its client area: over its own scroll bars the system sends non-client messages, which no window
// here answers.
void MouseAt(HWND over, POINT client, UINT msg, UINT flags, bool clientOnly = false) {
    POINT s = client;
    ::ClientToScreen(over, &s);
    SetCursorPos(s.x, s.y);
    HWND recv = GetCapture() ? GetCapture() : WindowFromPoint(s);
    if (!recv) return;
    POINT c = s;
    ::ScreenToClient(recv, &c);
    const int hit = ::SendSetCursor(recv, msg);
    if (IsWindow(recv) && (!clientOnly || GetCapture() || hit == HTCLIENT)) ::SendMessageA(recv, msg, flags, MAKELPARAM(c.x, c.y));
    Pump();
}

// A mouse move to (or the release at) a client point of `over`, through the capture when one is held.
void DragStep(HWND over, POINT client, bool right, bool release) {
    const UINT msg = release ? (right ? WM_RBUTTONUP : WM_LBUTTONUP) : WM_MOUSEMOVE;
    MouseAt(over, client, msg, release ? 0 : (right ? MK_RBUTTON : MK_LBUTTON));
}

// Moves to a client point of `over` and releases there, through the capture when one is held.
void MoveAndRelease(HWND over, POINT client, bool right) {
    DragStep(over, client, right, false);
    DragStep(over, client, right, true);
}

bool StartDrag(HWND h, POINT at, bool right, const char* what) {
    if (!Reachable(h, what)) return false;
    MoveCursor(h, at);
    if (!::SendMessageA(h, AFXM_USER_BEGINDRAG, right ? MK_RBUTTON : MK_LBUTTON, MAKELPARAM(at.x, at.y))) {
        Refuse(std::string(what) + ": the control does not drag");
        return false;
    }
    Pump();
    return true;
}

}  // namespace

bool ClickItem(CTreeCtrl* tree, HTREEITEM item) {
    POINT pt;
    return tree && TreePoint(tree, item, pt) && MouseOn(tree, WM_LBUTTONDOWN, pt, "ClickItem");
}
bool RightClick(CTreeCtrl* tree, HTREEITEM item) {
    POINT pt;
    return tree && TreePoint(tree, item, pt) && MouseOn(tree, WM_RBUTTONDOWN, pt, "RightClick");
}
bool DoubleClick(CTreeCtrl* tree, HTREEITEM item) {
    POINT pt;
    return tree && TreePoint(tree, item, pt) && MouseOn(tree, WM_LBUTTONDBLCLK, pt, "DoubleClick");
}
bool ClickRow(CListCtrl* list, int row) {
    POINT pt;
    return list && ListPoint(list, row, pt) && MouseOn(list, WM_LBUTTONDOWN, pt, "ClickRow");
}
bool RightClickRow(CListCtrl* list, int row) {
    POINT pt;
    return list && ListPoint(list, row, pt) && MouseOn(list, WM_RBUTTONDOWN, pt, "RightClickRow");
}
bool DoubleClickRow(CListCtrl* list, int row) {
    POINT pt;
    return list && ListPoint(list, row, pt) && MouseOn(list, WM_LBUTTONDBLCLK, pt, "DoubleClickRow");
}

bool SelectRows(CListCtrl* list, const std::vector<int>& rows) {
    bool ok = true;
    for (size_t i = 0; i < rows.size() && ok; ++i) {
        if (i == 1) HoldKey(VK_CONTROL, true);
        ok = ClickRow(list, rows[i]);
    }
    HoldKey(VK_CONTROL, false);
    return ok;
}

bool BeginDrag(CTreeCtrl* tree, HTREEITEM from, bool rightButton) {
    POINT a;
    return tree && from && TreePoint(tree, from, a) && StartDrag(tree->m_hWnd, a, rightButton, "DragTree");
}
bool BeginDrag(CListCtrl* list, int from, bool rightButton) {
    POINT a;
    return list && from >= 0 && ListPoint(list, from, a) && StartDrag(list->m_hWnd, a, rightButton, "DragList");
}
bool DragOver(CTreeCtrl* tree, HTREEITEM over, bool rightButton) {
    POINT b;
    if (!tree || !TreePoint(tree, over, b)) return false;
    DragStep(tree->m_hWnd, b, rightButton, false);
    return true;
}
bool DragOver(CListCtrl* list, int over, bool rightButton) {
    POINT b;
    if (!list || !ListPoint(list, over, b)) return false;
    DragStep(list->m_hWnd, b, rightButton, false);
    return true;
}
bool Drop(CTreeCtrl* tree, HTREEITEM at, bool rightButton) {
    POINT b;
    if (!tree || !TreePoint(tree, at, b)) return false;
    MoveAndRelease(tree->m_hWnd, b, rightButton);
    return true;
}
bool Drop(CListCtrl* list, int at, bool rightButton) {
    POINT b;
    if (!list || !ListPoint(list, at, b)) return false;
    MoveAndRelease(list->m_hWnd, b, rightButton);
    return true;
}
bool Hover(CWnd* over, CPoint ptClient) {
    if (!over || !IsWindow(over->m_hWnd)) return false;
    MouseAt(over->m_hWnd, POINT{ptClient.x, ptClient.y}, WM_MOUSEMOVE, 0, true);
    return true;
}
void DragOver(CWnd* over, CPoint ptClient, bool rightButton) {
    if (over && IsWindow(over->m_hWnd)) DragStep(over->m_hWnd, ptClient, rightButton, false);
}
void Drop(CWnd* over, CPoint ptClient, bool rightButton) {
    if (over && IsWindow(over->m_hWnd)) MoveAndRelease(over->m_hWnd, ptClient, rightButton);
}

bool DragTree(CTreeCtrl* tree, HTREEITEM from, HTREEITEM to, bool rightButton) {
    POINT b;
    if (!tree || !from || !TreePoint(tree, to, b)) return false;
    return BeginDrag(tree, from, rightButton) && Drop(tree, to, rightButton);
}

bool DragList(CListCtrl* list, int from, int to, bool rightButton) {
    POINT b;
    if (!list || from < 0 || !ListPoint(list, to, b)) return false;
    return BeginDrag(list, from, rightButton) && Drop(list, to, rightButton);
}

bool SetDate(CWnd* ctrl, const SYSTEMTIME* st) {
    HWND h = ctrl ? ctrl->m_hWnd : nullptr;
    if (!Reachable(h, "SetDate")) return false;
    if (!::SendMessageA(h, AFXM_USER_SETTIME, 0, reinterpret_cast<LPARAM>(st))) {
        Refuse("SetDate refused: not a date the picker takes");
        return false;
    }
    Pump();
    return true;
}

bool EditTreeLabel(CTreeCtrl* tree, HTREEITEM item, const std::string& gbk, bool cancel) {
    if (!tree || !Reachable(tree->m_hWnd, "EditTreeLabel")) return false;
    CEdit* edit = tree->EditLabel(item);
    if (!edit) return false;
    if (!Type(edit, gbk)) return false;
    return Key(cancel ? VK_ESCAPE : VK_RETURN);
}

std::string DumpTree(CTreeCtrl* tree) { return tree ? tree->Dump() : std::string(); }
std::string DumpList(CListCtrl* list) { return list ? list->Dump() : std::string(); }

}  // namespace afxtest
