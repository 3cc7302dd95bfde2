#include "afx/Screen.h"

namespace {
CWndScreen* g_pScreen = nullptr;
}  // namespace

void AfxSetScreen(CWndScreen* pScreen) {
    g_pScreen = pScreen;
    if (!pScreen) {
        win32::SetWindowChangeHook(nullptr);
        win32::SetTimerHook(nullptr);
        win32::SetScreenUserHooks(win32::UserHooks());
        return;
    }
    win32::SetWindowChangeHook([](HWND h) {
        if (g_pScreen) g_pScreen->OnWindowChanged(h);
    });
    win32::SetTimerHook([](HWND h, UINT_PTR id, UINT elapse) {
        if (g_pScreen) g_pScreen->OnTimerChanged(h, id, elapse);
    });
    // Popup menus, message boxes of the window manager and waiting message loops reach the screen
    // through the window manager's second set of hooks, which a driver's hooks take precedence over.
    win32::UserHooks hooks;
    hooks.popupMenu = [](HWND owner, const std::vector<MenuItemInfo>& items, POINT pt) -> UINT {
        return g_pScreen ? g_pScreen->PopupMenu(owner, items, pt) : 0;
    };
    hooks.messageBox = [](HWND, const std::string& text, const std::string& caption, UINT type) -> int {
        int r = g_pScreen ? g_pScreen->MessageBox(CString(text), CString(caption), type) : -1;
        return r < 0 ? MessageBoxDefaultAnswer(type) : r;
    };
    hooks.emptyQueue = []() -> bool { return g_pScreen && g_pScreen->WaitForMessage(); };
    win32::SetScreenUserHooks(hooks);
}

CWndScreen* AfxGetScreen() { return g_pScreen; }
