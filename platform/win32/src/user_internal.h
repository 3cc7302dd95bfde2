// The window manager's records, shared by its sources. Private to win32.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "win32/winuser.h"

namespace win32 {

void ForgetPaintRecording(HWND hwnd);

namespace user {

struct ScrollRec {
    int min = 0, max = 0;
    UINT page = 0;
    int pos = 0, track = 0;
    bool enabled = true;
};

struct Wnd {
    HWND handle = nullptr;
    std::string cls;
    WNDPROC proc = nullptr;
    HWND parent = nullptr;
    int ctrlId = 0;
    DWORD style = 0, exStyle = 0;
    RECT rc{0, 0, 0, 0};  // relative to the parent's client area (the screen for a top-level window)
    std::string text;
    void* extra = nullptr;
    LONG_PTR userData = 0;
    bool dirty = false;
    bool destroying = false;
    unsigned order = 0;
    ScrollRec scroll[3];
    std::vector<HWND> children;
};

struct ClassRec {
    WNDCLASS wc{};
    std::string name;
};

struct TimerRec {
    UINT elapse = 0;
    TIMERPROC proc = nullptr;
};

struct State {
    std::map<uintptr_t, std::unique_ptr<Wnd>> windows;
    std::map<std::string, ClassRec> classes;  // by lower-case name
    std::deque<MSG> queue;
    std::map<std::pair<HWND, UINT_PTR>, TimerRec> timers;
    HWND focus = nullptr, capture = nullptr, active = nullptr;
    std::set<int> keys;
    POINT cursorPos{0, 0};
    HCURSOR cursor = nullptr;
    std::vector<HWND> procStack;
    UserHooks hooks;
    UserHooks screenHooks;
    std::function<void(HWND)> changeHook;
    std::function<void(HWND, UINT_PTR, UINT)> timerHook;
    std::function<void(const SpyRecord&)> spy;
    std::vector<std::string> log;
    void (*createHook)(HWND) = nullptr;
    void (*destroyHook)(HWND) = nullptr;
    uintptr_t nextHandle = 0x10000;
    unsigned nextOrder = 1;
    UINT_PTR nextTimer = 0x7F00;
};

State& S();
Wnd* W(HWND h);
std::string Lower(const std::string& s);
void Log(const std::string& line);
// Tells the screen (SetWindowChangeHook) that the window's record changed.
void Changed(HWND h);
void ResetMenus();
void ResetImageLists();

}  // namespace user
}  // namespace win32
