// The window manager: the handle table, classes, messages and the queue, focus, capture, timers,
// coordinates, hit testing, scroll bars and painting order.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <set>

#include "user_internal.h"
#include "win32/gdirecord.h"

namespace win32 {
namespace user {

State& S() {
    static auto* s = new State();
    return *s;
}

Wnd* W(HWND h) {
    auto& t = S().windows;
    auto it = t.find(reinterpret_cast<uintptr_t>(h));
    return it == t.end() ? nullptr : it->second.get();
}

std::string Lower(const std::string& s) {
    std::string r = s;
    for (char& c : r) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return r;
}

void Log(const std::string& line) { S().log.push_back(line); }

void Changed(HWND h) {
    if (S().changeHook && h) S().changeHook(h);
}

void TimerChanged(HWND h, UINT_PTR id, UINT elapse) {
    if (S().timerHook) S().timerHook(h, id, elapse);
}

// Removes the timers the predicate picks, telling the screen of each.
template <class Pred>
void DropTimers(Pred pick) {
    auto& timers = S().timers;
    for (auto it = timers.begin(); it != timers.end();) {
        if (!pick(it->first)) {
            ++it;
            continue;
        }
        const auto key = it->first;
        it = timers.erase(it);
        TimerChanged(key.first, key.second, 0);
    }
}

}  // namespace user

void SetUserHooks(const UserHooks& hooks) { user::S().hooks = hooks; }
const UserHooks& GetUserHooks() { return user::S().hooks; }
void SetWindowChangeHook(std::function<void(HWND)> changed) { user::S().changeHook = std::move(changed); }
void SetTimerHook(std::function<void(HWND, UINT_PTR, UINT)> changed) { user::S().timerHook = std::move(changed); }
void SetScreenUserHooks(const UserHooks& hooks) { user::S().screenHooks = hooks; }
void SetWindowLifeHooks(void (*create)(HWND), void (*destroy)(HWND)) {
    user::S().createHook = create;
    user::S().destroyHook = destroy;
}
void SetMessageSpy(std::function<void(const SpyRecord&)> spy) { user::S().spy = std::move(spy); }
std::function<void(const SpyRecord&)> GetMessageSpy() { return user::S().spy; }
const std::vector<std::string>& GetUserLog() { return user::S().log; }
void ClearUserLog() { user::S().log.clear(); }
void AppendUserLog(const std::string& line) { user::Log(line); }
size_t GetQueueLength() { return user::S().queue.size(); }

int PumpMessages() {
    int n = 0;
    auto& q = user::S().queue;
    while (!q.empty() && n < 100000) {
        MSG m = q.front();
        q.pop_front();
        if (m.message == WM_QUIT) {
            user::Log("WM_QUIT posted outside a message loop was dropped");
            continue;
        }
        DispatchMessageA(&m);
        ++n;
    }
    return n;
}

void ResetWindowManager() {
    for (HWND h : GetTopLevelWindows()) DestroyWindow(h);
    auto& s = user::S();
    s.queue.clear();
    win32::user::DropTimers([](const std::pair<HWND, UINT_PTR>&) { return true; });
    s.focus = s.capture = s.active = nullptr;
    s.keys.clear();
    s.cursorPos = POINT{0, 0};
    s.cursor = nullptr;
    s.procStack.clear();
    user::ResetMenus();
    user::ResetImageLists();
}

}  // namespace win32

using namespace win32::user;

BOOL RegisterClassA(const WNDCLASS* wc) {
    if (!wc || !wc->lpfnWndProc || !wc->lpszClassName || !*wc->lpszClassName) return FALSE;
    std::string key = Lower(wc->lpszClassName);
    if (S().classes.count(key)) return FALSE;
    ClassRec rec;
    rec.wc = *wc;
    rec.name = wc->lpszClassName;
    rec.wc.lpszClassName = nullptr;
    rec.wc.lpszMenuName = nullptr;
    S().classes[key] = rec;
    return TRUE;
}

BOOL GetClassInfoA(HINSTANCE, LPCSTR lpszClass, WNDCLASS* wc) {
    if (!lpszClass) return FALSE;
    auto it = S().classes.find(Lower(lpszClass));
    if (it == S().classes.end()) return FALSE;
    if (wc) {
        *wc = it->second.wc;
        wc->lpszClassName = it->second.name.c_str();
    }
    return TRUE;
}

int GetClassNameA(HWND hwnd, LPSTR buf, int nMax) {
    Wnd* w = W(hwnd);
    if (!w || !buf || nMax <= 0) return 0;
    int n = std::min<int>(static_cast<int>(w->cls.size()), nMax - 1);
    std::memcpy(buf, w->cls.data(), n);
    buf[n] = 0;
    return n;
}

HWND CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int x, int y,
                     int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance, LPVOID lpParam) {
    if (!lpClassName) return nullptr;
    auto cit = S().classes.find(Lower(lpClassName));
    if (cit == S().classes.end()) return nullptr;
    if (hWndParent && !W(hWndParent)) return nullptr;
    auto w = std::make_unique<Wnd>();
    uintptr_t id = S().nextHandle;
    S().nextHandle += 4;
    w->handle = reinterpret_cast<HWND>(id);
    w->cls = cit->second.name;
    w->proc = cit->second.wc.lpfnWndProc;
    w->parent = hWndParent;
    w->ctrlId = (dwStyle & WS_CHILD) ? static_cast<int>(reinterpret_cast<uintptr_t>(hMenu)) : 0;
    w->style = dwStyle;
    w->exStyle = dwExStyle;
    w->rc = RECT{x, y, x + std::max(0, nWidth), y + std::max(0, nHeight)};
    w->text = lpWindowName ? lpWindowName : "";
    w->order = S().nextOrder++;
    HWND h = w->handle;
    S().windows[id] = std::move(w);
    if (hWndParent) W(hWndParent)->children.push_back(h);
    if (S().createHook) S().createHook(h);
    CREATESTRUCT cs{lpParam, hInstance, hMenu, hWndParent, nHeight, nWidth, y, x, static_cast<LONG>(dwStyle),
                    lpWindowName, lpClassName, dwExStyle};
    if (!SendMessageA(h, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
        DestroyWindow(h);
        return nullptr;
    }
    if (!W(h)) return nullptr;
    if (SendMessageA(h, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(h);
        return nullptr;
    }
    if (!W(h)) return nullptr;
    W(h)->dirty = true;
    Changed(h);
    return h;
}

namespace {

void DestroyRec(HWND h) {
    Wnd* w = W(h);
    if (!w || w->destroying) return;
    w->destroying = true;
    auto& s = S();
    if (s.capture == h) s.capture = nullptr;
    if (s.focus == h) s.focus = nullptr;
    if (s.active == h) s.active = nullptr;
    SendMessageA(h, WM_DESTROY, 0, 0);
    std::vector<HWND> kids = W(h) ? W(h)->children : std::vector<HWND>();
    for (HWND c : kids) DestroyRec(c);
    SendMessageA(h, WM_NCDESTROY, 0, 0);
    w = W(h);
    if (!w) return;
    if (Wnd* p = W(w->parent)) p->children.erase(std::remove(p->children.begin(), p->children.end(), h), p->children.end());
    win32::user::DropTimers([h](const std::pair<HWND, UINT_PTR>& k) { return k.first == h; });
    s.queue.erase(std::remove_if(s.queue.begin(), s.queue.end(), [h](const MSG& m) { return m.hwnd == h; }),
                  s.queue.end());
    win32::DetachWindowCanvas(h);
    win32::ForgetPaintRecording(h);
    s.windows.erase(reinterpret_cast<uintptr_t>(h));
    if (s.destroyHook) s.destroyHook(h);
}

}  // namespace

BOOL DestroyWindow(HWND hwnd) {
    Wnd* w = W(hwnd);
    if (!w || w->destroying) return FALSE;
    DestroyRec(hwnd);
    return TRUE;
}

BOOL IsWindow(HWND hwnd) { return W(hwnd) != nullptr; }

LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Wnd* w = W(hwnd);
    if (!w) return 0;
    auto& s = S();
    if (s.spy) s.spy(win32::SpyRecord{false, s.procStack.empty() ? nullptr : s.procStack.back(), hwnd, msg, wParam, lParam});
    WNDPROC proc = w->proc;
    s.procStack.push_back(hwnd);
    LRESULT r = proc(hwnd, msg, wParam, lParam);
    s.procStack.pop_back();
    return r;
}

BOOL PostMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (hwnd && !W(hwnd)) return FALSE;
    auto& s = S();
    if (s.spy) s.spy(win32::SpyRecord{true, s.procStack.empty() ? nullptr : s.procStack.back(), hwnd, msg, wParam, lParam});
    s.queue.push_back(MSG{hwnd, msg, wParam, lParam, 0, s.cursorPos});
    return TRUE;
}

void PostQuitMessage(int nExitCode) { S().queue.push_back(MSG{nullptr, WM_QUIT, static_cast<WPARAM>(nExitCode), 0, 0, S().cursorPos}); }

namespace {
bool Matches(const MSG& m, HWND hwnd, UINT fmin, UINT fmax) {
    if (hwnd && m.hwnd != hwnd && !IsChild(hwnd, m.hwnd) && m.message != WM_QUIT) return false;
    if (fmin == 0 && fmax == 0) return true;
    return m.message >= fmin && m.message <= fmax;
}
bool Take(LPMSG msg, HWND hwnd, UINT fmin, UINT fmax, bool remove) {
    auto& q = S().queue;
    for (auto it = q.begin(); it != q.end(); ++it) {
        if (!Matches(*it, hwnd, fmin, fmax)) continue;
        if (msg) *msg = *it;
        if (remove) q.erase(it);
        return true;
    }
    return false;
}
}  // namespace

BOOL GetMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax) {
    MSG m{};
    for (int tries = 0; tries < 2; ++tries) {
        if (Take(&m, hwnd, filterMin, filterMax, true)) {
            if (msg) *msg = m;
            return m.message != WM_QUIT;
        }
        const auto& waited = S().hooks.emptyQueue ? S().hooks.emptyQueue : S().screenHooks.emptyQueue;
        if (tries == 0 && waited && waited()) continue;
        break;
    }
    Log("a message loop waited on an empty queue and was ended");
    if (msg) *msg = MSG{nullptr, WM_QUIT, 0, 0, 0, S().cursorPos};
    return FALSE;
}

BOOL PeekMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeMsg) {
    return Take(msg, hwnd, filterMin, filterMax, (removeMsg & PM_REMOVE) != 0) ? TRUE : FALSE;
}

BOOL TranslateMessage(const MSG*) { return FALSE; }

LRESULT DispatchMessageA(const MSG* msg) {
    if (!msg) return 0;
    if (msg->message == WM_TIMER && msg->lParam) {
        reinterpret_cast<TIMERPROC>(msg->lParam)(msg->hwnd, WM_TIMER, msg->wParam, 0);
        return 0;
    }
    Wnd* w = W(msg->hwnd);
    if (!w) return 0;
    auto& s = S();
    s.procStack.push_back(msg->hwnd);
    LRESULT r = w->proc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
    s.procStack.pop_back();
    return r;
}

LRESULT CallWindowProcA(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return proc ? proc(hwnd, msg, wParam, lParam) : 0;
}

namespace {
// A window's own scroll bars take the right and bottom edges of its rectangle: the client area is the
// rest, from the top left corner.
RECT ClientOf(const Wnd* w) {
    RECT rc{0, 0, w->rc.right - w->rc.left, w->rc.bottom - w->rc.top};
    if (w->style & WS_VSCROLL) rc.right = std::max<LONG>(0, rc.right - GetSystemMetrics(SM_CXVSCROLL));
    if (w->style & WS_HSCROLL) rc.bottom = std::max<LONG>(0, rc.bottom - GetSystemMetrics(SM_CYHSCROLL));
    return rc;
}

POINT Origin(HWND hwnd) {
    POINT o{0, 0};
    for (Wnd* w = W(hwnd); w; w = W(w->parent)) {
        o.x += w->rc.left;
        o.y += w->rc.top;
    }
    return o;
}

bool Contains(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

// The part of the window under a screen point.
LRESULT HitCode(HWND hwnd, POINT screen) {
    const Wnd* w = W(hwnd);
    const POINT o = Origin(hwnd);
    const POINT p{screen.x - o.x, screen.y - o.y};
    if (!Contains(RECT{0, 0, w->rc.right - w->rc.left, w->rc.bottom - w->rc.top}, p)) return HTNOWHERE;
    const RECT client = ClientOf(w);
    if (Contains(client, p)) return HTCLIENT;
    if ((w->style & WS_VSCROLL) && p.x >= client.right && p.y < client.bottom) return HTVSCROLL;
    if ((w->style & WS_HSCROLL) && p.y >= client.bottom && p.x < client.right) return HTHSCROLL;
    return HTNOWHERE;  // the corner between the two bars
}

HCURSOR ClassCursor(HWND hwnd) {
    const Wnd* w = W(hwnd);
    if (!w) return nullptr;
    auto it = S().classes.find(Lower(w->cls));
    return it == S().classes.end() ? nullptr : it->second.wc.hCursor;
}
}  // namespace

LRESULT DefWindowProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Wnd* w = W(hwnd);
    if (!w) return 0;
    switch (msg) {
        case WM_NCCREATE:
            return TRUE;
        case WM_SETTEXT:
            w->text = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
            Changed(hwnd);
            return TRUE;
        case WM_GETTEXT: {
            if (!lParam || wParam == 0) return 0;
            size_t n = std::min(w->text.size(), static_cast<size_t>(wParam) - 1);
            std::memcpy(reinterpret_cast<char*>(lParam), w->text.data(), n);
            reinterpret_cast<char*>(lParam)[n] = 0;
            return static_cast<LRESULT>(n);
        }
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(w->text.size());
        case WM_CLOSE:
            DestroyWindow(hwnd);
            return 0;
        case WM_PAINT:
            w->dirty = false;
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_NCHITTEST:
            return HitCode(hwnd, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        case WM_CONTEXTMENU:
            if (w->style & WS_CHILD && w->parent) return SendMessageA(w->parent, msg, wParam, lParam);
            return 0;
        case WM_SETCURSOR: {
            // The parent may choose first; then the client area shows the class cursor of the window
            // under the mouse (wParam), and a class without one leaves the cursor as it is; the rest
            // of a window shows the arrow.
            if (w->style & WS_CHILD && w->parent && SendMessageA(w->parent, msg, wParam, lParam)) return TRUE;
            if (static_cast<short>(LOWORD(lParam)) != HTCLIENT) {
                SetCursor(win32::StandardCursor(32512));
                return TRUE;
            }
            HCURSOR c = ClassCursor(reinterpret_cast<HWND>(wParam));
            if (!c) return FALSE;
            SetCursor(c);
            return TRUE;
        }
        default:
            return 0;
    }
}

LONG_PTR GetWindowLongPtrA(HWND hwnd, int index) {
    Wnd* w = W(hwnd);
    if (!w) return 0;
    switch (index) {
        case GWL_STYLE: return static_cast<LONG_PTR>(w->style);
        case GWL_EXSTYLE: return static_cast<LONG_PTR>(w->exStyle);
        case GWL_ID: return w->ctrlId;
        case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(w->proc);
        case GWLP_USERDATA: return w->userData;
        default: return 0;
    }
}

LONG_PTR SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value) {
    Wnd* w = W(hwnd);
    if (!w) return 0;
    LONG_PTR old = GetWindowLongPtrA(hwnd, index);
    switch (index) {
        case GWL_STYLE: w->style = static_cast<DWORD>(value); break;
        case GWL_EXSTYLE: w->exStyle = static_cast<DWORD>(value); break;
        case GWL_ID: w->ctrlId = static_cast<int>(value); break;
        case GWLP_WNDPROC: if (value) w->proc = reinterpret_cast<WNDPROC>(value); break;
        case GWLP_USERDATA: w->userData = value; break;
        default: return 0;
    }
    if ((index == GWL_STYLE || index == GWL_EXSTYLE) && old != value) Changed(hwnd);
    return old;
}

void* GetWindowExtra(HWND hwnd) {
    Wnd* w = W(hwnd);
    return w ? w->extra : nullptr;
}
void SetWindowExtra(HWND hwnd, void* p) {
    if (Wnd* w = W(hwnd)) w->extra = p;
}

HWND GetParent(HWND hwnd) {
    Wnd* w = W(hwnd);
    return w ? w->parent : nullptr;
}

HWND GetDlgItem(HWND hDlg, int nID) {
    Wnd* w = W(hDlg);
    if (!w) return nullptr;
    for (HWND c : w->children)
        if (W(c) && W(c)->ctrlId == nID) return c;
    return nullptr;
}

int GetDlgCtrlID(HWND hwnd) {
    Wnd* w = W(hwnd);
    return w ? w->ctrlId : 0;
}

BOOL IsChild(HWND hParent, HWND hwnd) {
    if (!hParent) return FALSE;
    for (Wnd* w = W(hwnd); w && w->parent; w = W(w->parent))
        if (w->parent == hParent) return TRUE;
    return FALSE;
}

HWND GetDesktopWindow() { return reinterpret_cast<HWND>(static_cast<uintptr_t>(0x10)); }

std::vector<HWND> GetChildWindows(HWND hwnd) {
    Wnd* w = W(hwnd);
    return w ? w->children : std::vector<HWND>();
}

std::vector<HWND> GetTopLevelWindows() {
    std::vector<std::pair<unsigned, HWND>> v;
    for (auto& kv : S().windows)
        if (!kv.second->parent) v.emplace_back(kv.second->order, kv.second->handle);
    std::sort(v.begin(), v.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<HWND> r;
    for (auto& p : v) r.push_back(p.second);
    return r;
}

HWND GetWindow(HWND hwnd, UINT cmd) {
    Wnd* w = W(hwnd);
    if (!w) return nullptr;
    if (cmd == GW_CHILD) return w->children.empty() ? nullptr : w->children.front();
    std::vector<HWND> sib = w->parent ? W(w->parent)->children : GetTopLevelWindows();
    auto it = std::find(sib.begin(), sib.end(), hwnd);
    if (it == sib.end()) return nullptr;
    if (cmd == GW_HWNDNEXT) return it + 1 == sib.end() ? nullptr : *(it + 1);
    if (cmd == GW_HWNDPREV) return it == sib.begin() ? nullptr : *(it - 1);
    return nullptr;
}

BOOL SetWindowTextA(HWND hwnd, LPCSTR text) {
    if (!W(hwnd)) return FALSE;
    return SendMessageA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : "")) ? TRUE : FALSE;
}

int GetWindowTextA(HWND hwnd, LPSTR buf, int nMax) {
    if (!buf || nMax <= 0) return 0;
    buf[0] = 0;
    return static_cast<int>(SendMessageA(hwnd, WM_GETTEXT, static_cast<WPARAM>(nMax), reinterpret_cast<LPARAM>(buf)));
}

int GetWindowTextLengthA(HWND hwnd) { return static_cast<int>(SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0)); }

std::string GetWindowTextRaw(HWND hwnd) {
    Wnd* w = W(hwnd);
    return w ? w->text : std::string();
}

BOOL SetDlgItemTextA(HWND hDlg, int nID, LPCSTR text) { return SetWindowTextA(GetDlgItem(hDlg, nID), text); }

UINT GetDlgItemTextA(HWND hDlg, int nID, LPSTR buf, int nMax) {
    return static_cast<UINT>(GetWindowTextA(GetDlgItem(hDlg, nID), buf, nMax));
}

BOOL ShowWindow(HWND hwnd, int nCmdShow) {
    Wnd* w = W(hwnd);
    if (!w) return FALSE;
    BOOL was = (w->style & WS_VISIBLE) ? TRUE : FALSE;
    bool show = nCmdShow != SW_HIDE;
    if (show == static_cast<bool>(was)) return was;
    if (show) w->style |= WS_VISIBLE;
    else w->style &= ~WS_VISIBLE;
    SendMessageA(hwnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    if (Wnd* ww = W(hwnd)) {
        ww->dirty = true;
        if (Wnd* p = W(ww->parent)) p->dirty = true;
        Changed(hwnd);
    }
    return was;
}

BOOL IsWindowVisible(HWND hwnd) {
    Wnd* w = W(hwnd);
    if (!w) return FALSE;
    for (; w; w = W(w->parent))
        if (!(w->style & WS_VISIBLE)) return FALSE;
    return TRUE;
}

BOOL EnableWindow(HWND hwnd, BOOL bEnable) {
    Wnd* w = W(hwnd);
    if (!w) return FALSE;
    BOOL wasDisabled = (w->style & WS_DISABLED) ? TRUE : FALSE;
    if (static_cast<bool>(bEnable) == !wasDisabled) return wasDisabled;
    if (bEnable) w->style &= ~WS_DISABLED;
    else w->style |= WS_DISABLED;
    w->dirty = true;
    Changed(hwnd);
    SendMessageA(hwnd, WM_ENABLE, bEnable ? TRUE : FALSE, 0);
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND hwnd) {
    Wnd* w = W(hwnd);
    return w && !(w->style & WS_DISABLED) ? TRUE : FALSE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int w, int h, BOOL bRepaint) {
    Wnd* wnd = W(hwnd);
    if (!wnd) return FALSE;
    bool sized = (wnd->rc.right - wnd->rc.left) != w || (wnd->rc.bottom - wnd->rc.top) != h;
    bool moved = wnd->rc.left != x || wnd->rc.top != y;
    wnd->rc = RECT{x, y, x + std::max(0, w), y + std::max(0, h)};
    if (bRepaint) wnd->dirty = true;
    if (moved || sized) Changed(hwnd);
    if (moved) SendMessageA(hwnd, WM_MOVE, 0, MAKELPARAM(x, y));
    if (sized && (wnd = W(hwnd))) {
        const RECT client = ClientOf(wnd);
        SendMessageA(hwnd, WM_SIZE, 0, MAKELPARAM(client.right, client.bottom));
    }
    return TRUE;
}

BOOL GetWindowRect(HWND hwnd, LPRECT rc) {
    Wnd* w = W(hwnd);
    if (!w || !rc) return FALSE;
    POINT o = Origin(hwnd);
    *rc = RECT{o.x, o.y, o.x + (w->rc.right - w->rc.left), o.y + (w->rc.bottom - w->rc.top)};
    return TRUE;
}

BOOL GetClientRect(HWND hwnd, LPRECT rc) {
    Wnd* w = W(hwnd);
    if (!w || !rc) return FALSE;
    *rc = ClientOf(w);
    return TRUE;
}

BOOL ScreenToClient(HWND hwnd, LPPOINT pt) {
    if (!W(hwnd) || !pt) return FALSE;
    POINT o = Origin(hwnd);
    pt->x -= o.x;
    pt->y -= o.y;
    return TRUE;
}

BOOL ClientToScreen(HWND hwnd, LPPOINT pt) {
    if (!W(hwnd) || !pt) return FALSE;
    POINT o = Origin(hwnd);
    pt->x += o.x;
    pt->y += o.y;
    return TRUE;
}

int MapWindowPoints(HWND from, HWND to, LPPOINT pts, UINT n) {
    POINT a = from ? Origin(from) : POINT{0, 0}, b = to ? Origin(to) : POINT{0, 0};
    for (UINT i = 0; i < n; ++i) {
        pts[i].x += a.x - b.x;
        pts[i].y += a.y - b.y;
    }
    return MAKELONG(static_cast<WORD>(a.x - b.x), static_cast<WORD>(a.y - b.y));
}

namespace {
// The deepest hit below a window whose client point is p, or the window itself. Children show only
// inside the client area: over the window's own scroll bars the window is hit.
HWND HitChild(HWND h, POINT p) {
    Wnd* w = W(h);
    if (!Contains(ClientOf(w), p)) return h;
    const POINT o = Origin(h);
    for (auto it = w->children.rbegin(); it != w->children.rend(); ++it) {
        Wnd* c = W(*it);
        if (!c || !(c->style & WS_VISIBLE) || !Contains(c->rc, p)) continue;
        if (c->style & WS_DISABLED) continue;
        if (SendMessageA(*it, WM_NCHITTEST, 0, MAKELPARAM(o.x + p.x, o.y + p.y)) == HTTRANSPARENT) continue;
        return HitChild(*it, POINT{p.x - c->rc.left, p.y - c->rc.top});
    }
    return h;
}
}  // namespace

HWND WindowFromPoint(POINT pt) {
    std::vector<HWND> tops = GetTopLevelWindows();
    for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
        Wnd* w = W(*it);
        if (!(w->style & WS_VISIBLE) || !Contains(w->rc, pt)) continue;
        return HitChild(*it, POINT{pt.x - w->rc.left, pt.y - w->rc.top});
    }
    return nullptr;
}

HWND ChildWindowFromPoint(HWND hParent, POINT p) {
    Wnd* w = W(hParent);
    if (!w) return nullptr;
    RECT rc{0, 0, w->rc.right - w->rc.left, w->rc.bottom - w->rc.top};
    if (!Contains(rc, p)) return nullptr;
    for (auto it = w->children.rbegin(); it != w->children.rend(); ++it)
        if (W(*it) && Contains(W(*it)->rc, p)) return *it;
    return hParent;
}

HWND SetFocus(HWND hwnd) {
    auto& s = S();
    HWND old = s.focus;
    if (hwnd && !W(hwnd)) return nullptr;
    if (old == hwnd) return old;
    s.focus = hwnd;
    Changed(old);
    Changed(hwnd);
    if (old && W(old)) SendMessageA(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    if (hwnd && W(hwnd) && s.focus == hwnd) SendMessageA(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
    return old;
}

HWND GetFocus() { return S().focus; }

HWND SetActiveWindow(HWND hwnd) {
    HWND old = S().active;
    S().active = W(hwnd) ? hwnd : nullptr;
    if (old && old != hwnd && W(old)) SendMessageA(old, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(hwnd));
    if (hwnd && old != hwnd && W(hwnd)) SendMessageA(hwnd, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(old));
    return old;
}

HWND GetActiveWindow() { return S().active; }

HWND SetCapture(HWND hwnd) {
    auto& s = S();
    HWND old = s.capture;
    s.capture = W(hwnd) ? hwnd : nullptr;
    if (old && old != hwnd && W(old)) SendMessageA(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
    return old;
}

BOOL ReleaseCapture() {
    auto& s = S();
    HWND old = s.capture;
    s.capture = nullptr;
    if (old && W(old)) SendMessageA(old, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND GetCapture() { return S().capture; }

BOOL InvalidateRect(HWND hwnd, const RECT*, BOOL) {
    Wnd* w = W(hwnd);
    if (!w) return FALSE;
    w->dirty = true;
    Changed(hwnd);
    return TRUE;
}

BOOL ValidateRect(HWND hwnd, const RECT*) {
    Wnd* w = W(hwnd);
    if (!w) return FALSE;
    w->dirty = false;
    return TRUE;
}

BOOL IsWindowDirty(HWND hwnd) {
    Wnd* w = W(hwnd);
    return w && w->dirty ? TRUE : FALSE;
}

BOOL UpdateWindow(HWND hwnd) {
    Wnd* w = W(hwnd);
    if (!w) return FALSE;
    if (!w->dirty) return TRUE;
    SendMessageA(hwnd, WM_PAINT, 0, 0);
    if ((w = W(hwnd)) && w->dirty) {
        Log("WM_PAINT of a \"" + w->cls + "\" window never began painting");
        w->dirty = false;
    }
    return TRUE;
}

namespace {
int PaintTree(HWND h) {
    int n = 0;
    Wnd* w = W(h);
    if (!w || !(w->style & WS_VISIBLE)) return 0;
    if (w->dirty) {
        UpdateWindow(h);
        ++n;
    }
    std::vector<HWND> kids = W(h) ? W(h)->children : std::vector<HWND>();
    for (HWND c : kids) n += PaintTree(c);
    return n;
}
}  // namespace

int PaintDirtyWindows() {
    int n = 0;
    for (HWND h : GetTopLevelWindows()) n += PaintTree(h);
    return n;
}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC proc) {
    if (hwnd && !W(hwnd)) return 0;
    auto& s = S();
    if (!hwnd) nIDEvent = s.nextTimer++;
    s.timers[{hwnd, nIDEvent}] = TimerRec{uElapse, proc};
    win32::user::TimerChanged(hwnd, nIDEvent, uElapse ? uElapse : 1);
    return nIDEvent ? nIDEvent : 1;
}

BOOL KillTimer(HWND hwnd, UINT_PTR nIDEvent) {
    if (!S().timers.erase({hwnd, nIDEvent})) return FALSE;
    win32::user::TimerChanged(hwnd, nIDEvent, 0);
    return TRUE;
}

BOOL HasTimer(HWND hwnd, UINT_PTR nIDEvent) { return S().timers.count({hwnd, nIDEvent}) ? TRUE : FALSE; }

UINT GetTimerElapse(HWND hwnd, UINT_PTR nIDEvent) {
    auto it = S().timers.find({hwnd, nIDEvent});
    return it == S().timers.end() ? 0 : it->second.elapse;
}

BOOL FireTimer(HWND hwnd, UINT_PTR nIDEvent) {
    auto it = S().timers.find({hwnd, nIDEvent});
    if (it == S().timers.end()) return FALSE;
    TIMERPROC proc = it->second.proc;
    if (proc) proc(hwnd, WM_TIMER, nIDEvent, 0);
    else SendMessageA(hwnd, WM_TIMER, nIDEvent, 0);
    return TRUE;
}

BOOL GetCursorPos(LPPOINT pt) {
    if (!pt) return FALSE;
    *pt = S().cursorPos;
    return TRUE;
}

BOOL SetCursorPos(int x, int y) {
    S().cursorPos = POINT{x, y};
    return TRUE;
}

SHORT GetKeyState(int vk) { return S().keys.count(vk) ? static_cast<SHORT>(0x8000) : 0; }
SHORT GetAsyncKeyState(int vk) { return GetKeyState(vk); }
void SetKeyDown(int vk, bool down) {
    if (down) S().keys.insert(vk);
    else S().keys.erase(vk);
}

HCURSOR SetCursor(HCURSOR cursor) {
    HCURSOR old = S().cursor;
    S().cursor = cursor;
    return old;
}
HCURSOR GetCursor() { return S().cursor; }

int SendSetCursor(HWND hwnd, UINT mouseMsg) {
    if (!W(hwnd) || S().capture) return HTNOWHERE;
    const POINT at = S().cursorPos;
    const int hit = static_cast<int>(SendMessageA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y)));
    if (W(hwnd)) SendMessageA(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(static_cast<WORD>(hit), mouseMsg));
    return hit;
}

HCURSOR win32::StandardCursor(WORD id) {
    static const WORD standard[] = {32512, 32513, 32642, 32643, 32644, 32645, 32646};
    // One byte per cursor: its address is the handle.
    static char tokens[sizeof standard / sizeof standard[0]];
    for (size_t i = 0; i < sizeof standard / sizeof standard[0]; ++i)
        if (standard[i] == id) return reinterpret_cast<HCURSOR>(&tokens[i]);
    return nullptr;
}

int GetSystemMetrics(int nIndex) {
    switch (nIndex) {
        case SM_CXVSCROLL:
        case SM_CYHSCROLL: return 17;
        default: return 0;
    }
}

// ---- scroll bars --------------------------------------------------------------------------------

namespace {
ScrollRec* Bar(HWND hwnd, int nBar) {
    Wnd* w = W(hwnd);
    if (!w || nBar < SB_HORZ || nBar > SB_CTL) return nullptr;
    return &w->scroll[nBar];
}
void Clamp(ScrollRec& r) {
    int maxPos = r.max - std::max(0, static_cast<int>(r.page) - 1);
    if (maxPos < r.min) maxPos = r.min;
    r.pos = std::max(r.min, std::min(r.pos, maxPos));
}
}  // namespace

int SetScrollInfo(HWND hwnd, int nBar, const SCROLLINFO* si, BOOL bRedraw) {
    ScrollRec* r = Bar(hwnd, nBar);
    if (!r || !si) return 0;
    if (si->fMask & SIF_RANGE) {
        r->min = si->nMin;
        r->max = si->nMax;
    }
    if (si->fMask & SIF_PAGE) r->page = si->nPage;
    if (si->fMask & SIF_POS) r->pos = si->nPos;
    Clamp(*r);
    Changed(hwnd);
    if (nBar != SB_CTL && (si->fMask & (SIF_RANGE | SIF_PAGE)) && !(si->fMask & SIF_DISABLENOSCROLL))
        ShowScrollBar(hwnd, nBar, r->max - std::max(0, static_cast<int>(r->page) - 1) > r->min);
    if (bRedraw) InvalidateRect(hwnd, nullptr, FALSE);
    return r->pos;
}

BOOL GetScrollInfo(HWND hwnd, int nBar, LPSCROLLINFO si) {
    ScrollRec* r = Bar(hwnd, nBar);
    if (!r || !si) return FALSE;
    if (si->fMask & SIF_RANGE) {
        si->nMin = r->min;
        si->nMax = r->max;
    }
    if (si->fMask & SIF_PAGE) si->nPage = r->page;
    if (si->fMask & SIF_POS) si->nPos = r->pos;
    if (si->fMask & SIF_TRACKPOS) si->nTrackPos = r->track;
    return TRUE;
}

int SetScrollPos(HWND hwnd, int nBar, int nPos, BOOL bRedraw) {
    ScrollRec* r = Bar(hwnd, nBar);
    if (!r) return 0;
    int old = r->pos;
    r->pos = nPos;
    Clamp(*r);
    Changed(hwnd);
    if (bRedraw) InvalidateRect(hwnd, nullptr, FALSE);
    return old;
}

int GetScrollPos(HWND hwnd, int nBar) {
    ScrollRec* r = Bar(hwnd, nBar);
    return r ? r->pos : 0;
}

BOOL SetScrollRange(HWND hwnd, int nBar, int nMin, int nMax, BOOL bRedraw) {
    SCROLLINFO si{sizeof si, SIF_RANGE, nMin, nMax, 0, 0, 0};
    if (!Bar(hwnd, nBar)) return FALSE;
    SetScrollInfo(hwnd, nBar, &si, bRedraw);
    return TRUE;
}

BOOL GetScrollRange(HWND hwnd, int nBar, LPINT lpMin, LPINT lpMax) {
    ScrollRec* r = Bar(hwnd, nBar);
    if (!r) return FALSE;
    if (lpMin) *lpMin = r->min;
    if (lpMax) *lpMax = r->max;
    return TRUE;
}

BOOL ShowScrollBar(HWND hwnd, int nBar, BOOL bShow) {
    Wnd* w = W(hwnd);
    if (!w) return FALSE;
    if (nBar == SB_CTL) return ShowWindow(hwnd, bShow ? SW_SHOW : SW_HIDE), TRUE;
    DWORD bits = nBar == SB_HORZ ? WS_HSCROLL : nBar == SB_VERT ? WS_VSCROLL : (WS_HSCROLL | WS_VSCROLL);
    if (bShow) w->style |= bits;
    else w->style &= ~bits;
    Changed(hwnd);
    return TRUE;
}

BOOL EnableScrollBar(HWND hwnd, UINT wSBflags, UINT wArrows) {
    Wnd* w = W(hwnd);
    if (!w) return FALSE;
    for (int b = SB_HORZ; b <= SB_CTL; ++b)
        if (static_cast<int>(wSBflags) == b || (wSBflags == SB_BOTH && b != SB_CTL)) w->scroll[b].enabled = wArrows != ESB_DISABLE_BOTH;
    if (wSBflags == SB_CTL) EnableWindow(hwnd, wArrows != ESB_DISABLE_BOTH);
    return TRUE;
}

BOOL IsScrollBarShown(HWND hwnd, int nBar) {
    Wnd* w = W(hwnd);
    if (!w) return FALSE;
    if (nBar == SB_CTL) return IsWindowVisible(hwnd);
    return (w->style & (nBar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL)) ? TRUE : FALSE;
}

// ---- message boxes ------------------------------------------------------------------------------

int MessageBoxDefaultAnswer(UINT nType) {
    static const int buttons[6][3] = {{IDOK, IDOK, IDOK},          {IDOK, IDCANCEL, IDCANCEL},
                                      {IDABORT, IDRETRY, IDIGNORE}, {IDYES, IDNO, IDCANCEL},
                                      {IDYES, IDNO, IDNO},          {IDRETRY, IDCANCEL, IDCANCEL}};
    UINT kind = nType & MB_TYPEMASK;
    UINT def = (nType & MB_DEFMASK) >> 8;
    if (kind > 5) kind = 0;
    if (def > 2) def = 0;
    return buttons[kind][def];
}

int MessageBoxA(HWND hwnd, LPCSTR text, LPCSTR caption, UINT type) {
    std::string t = text ? text : "", c = caption ? caption : "";
    const auto& box = S().hooks.messageBox ? S().hooks.messageBox : S().screenHooks.messageBox;
    int answer = box ? box(hwnd, t, c, type) : MessageBoxDefaultAnswer(type);
    Log("message box \"" + t + "\" answered " + std::to_string(answer));
    return answer;
}
