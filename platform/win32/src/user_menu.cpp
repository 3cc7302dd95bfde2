// Menus: popup menus built in code, shown through the user hook.
#include <map>

#include "user_internal.h"

namespace win32 {
namespace user {
namespace {

struct MenuItem {
    UINT flags = 0;
    UINT_PTR id = 0;
    std::string text;
};
struct Menu {
    std::vector<MenuItem> items;
};

std::map<HMENU, std::unique_ptr<Menu>>& Menus() {
    static auto* m = new std::map<HMENU, std::unique_ptr<Menu>>();
    return *m;
}
uintptr_t& NextMenu() {
    static uintptr_t n = 0x20000;
    return n;
}

Menu* M(HMENU h) {
    auto it = Menus().find(h);
    return it == Menus().end() ? nullptr : it->second.get();
}

// The item a command id or position names, or -1.
int Find(Menu* m, UINT u, UINT flags) {
    if (!m) return -1;
    if (flags & MF_BYPOSITION) return u < m->items.size() ? static_cast<int>(u) : -1;
    for (size_t i = 0; i < m->items.size(); ++i)
        if (!(m->items[i].flags & (MF_POPUP | MF_SEPARATOR)) && m->items[i].id == u) return static_cast<int>(i);
    return -1;
}

std::string Describe(const std::vector<MenuItemInfo>& items) {
    std::string s;
    for (const auto& it : items) {
        if (!s.empty()) s += "|";
        s += it.flags & MF_SEPARATOR ? std::string("-") : std::to_string(it.id) + " " + it.text;
    }
    return s;
}

}  // namespace

void ResetMenus() { Menus().clear(); }

}  // namespace user
}  // namespace win32

using namespace win32::user;

HMENU CreatePopupMenu() {
    HMENU h = reinterpret_cast<HMENU>(NextMenu());
    NextMenu() += 4;
    Menus()[h] = std::make_unique<Menu>();
    return h;
}

HMENU CreateMenu() { return CreatePopupMenu(); }

BOOL DestroyMenu(HMENU hMenu) {
    Menu* m = M(hMenu);
    if (!m) return FALSE;
    std::vector<HMENU> subs;
    for (auto& it : m->items)
        if (it.flags & MF_POPUP) subs.push_back(reinterpret_cast<HMENU>(it.id));
    Menus().erase(hMenu);
    for (HMENU s : subs) DestroyMenu(s);
    return TRUE;
}

BOOL InsertMenuA(HMENU hMenu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR lpNewItem) {
    Menu* m = M(hMenu);
    if (!m) return FALSE;
    MenuItem it{uFlags & ~MF_BYPOSITION, uIDNewItem, (uFlags & MF_SEPARATOR) || !lpNewItem ? "" : lpNewItem};
    if (it.flags & MF_SEPARATOR) it.id = 0;
    size_t pos = m->items.size();
    if (uPosition != static_cast<UINT>(-1)) {
        int i = Find(m, uPosition, uFlags);
        if (i >= 0) pos = static_cast<size_t>(i);
    }
    m->items.insert(m->items.begin() + static_cast<std::ptrdiff_t>(pos), it);
    return TRUE;
}

BOOL AppendMenuA(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR lpNewItem) {
    return InsertMenuA(hMenu, static_cast<UINT>(-1), uFlags | MF_BYPOSITION, uIDNewItem, lpNewItem);
}

BOOL DeleteMenu(HMENU hMenu, UINT uPosition, UINT uFlags) {
    Menu* m = M(hMenu);
    int i = Find(m, uPosition, uFlags);
    if (i < 0) return FALSE;
    m->items.erase(m->items.begin() + i);
    return TRUE;
}

int GetMenuItemCount(HMENU hMenu) {
    Menu* m = M(hMenu);
    return m ? static_cast<int>(m->items.size()) : -1;
}

UINT GetMenuItemID(HMENU hMenu, int nPos) {
    Menu* m = M(hMenu);
    if (!m || nPos < 0 || nPos >= static_cast<int>(m->items.size())) return static_cast<UINT>(-1);
    const MenuItem& it = m->items[static_cast<size_t>(nPos)];
    if (it.flags & MF_POPUP) return static_cast<UINT>(-1);
    return static_cast<UINT>(it.id);
}

UINT GetMenuState(HMENU hMenu, UINT uId, UINT uFlags) {
    Menu* m = M(hMenu);
    int i = Find(m, uId, uFlags);
    return i < 0 ? static_cast<UINT>(-1) : m->items[static_cast<size_t>(i)].flags;
}

int GetMenuStringA(HMENU hMenu, UINT uIDItem, LPSTR buf, int nMax, UINT uFlag) {
    Menu* m = M(hMenu);
    int i = Find(m, uIDItem, uFlag);
    if (i < 0) return 0;
    const std::string& t = m->items[static_cast<size_t>(i)].text;
    if (!buf || nMax <= 0) return static_cast<int>(t.size());
    int n = std::min(static_cast<int>(t.size()), nMax - 1);
    t.copy(buf, static_cast<size_t>(n));
    buf[n] = 0;
    return n;
}

DWORD CheckMenuItem(HMENU hMenu, UINT uId, UINT uCheck) {
    Menu* m = M(hMenu);
    int i = Find(m, uId, uCheck);
    if (i < 0) return static_cast<DWORD>(-1);
    UINT& f = m->items[static_cast<size_t>(i)].flags;
    DWORD old = f & MF_CHECKED;
    f = (f & ~MF_CHECKED) | (uCheck & MF_CHECKED);
    return old;
}

BOOL EnableMenuItem(HMENU hMenu, UINT uId, UINT uEnable) {
    Menu* m = M(hMenu);
    int i = Find(m, uId, uEnable);
    if (i < 0) return -1;
    UINT& f = m->items[static_cast<size_t>(i)].flags;
    BOOL old = static_cast<BOOL>(f & (MF_GRAYED | MF_DISABLED));
    f = (f & ~(MF_GRAYED | MF_DISABLED)) | (uEnable & (MF_GRAYED | MF_DISABLED));
    return old;
}

HMENU GetSubMenu(HMENU hMenu, int nPos) {
    Menu* m = M(hMenu);
    if (!m || nPos < 0 || nPos >= static_cast<int>(m->items.size())) return nullptr;
    const MenuItem& it = m->items[static_cast<size_t>(nPos)];
    return it.flags & MF_POPUP ? reinterpret_cast<HMENU>(it.id) : nullptr;
}

std::vector<MenuItemInfo> GetMenuItems(HMENU hMenu) {
    std::vector<MenuItemInfo> r;
    Menu* m = M(hMenu);
    if (!m) return r;
    for (const auto& it : m->items) {
        MenuItemInfo info{static_cast<UINT>(it.flags & MF_POPUP ? 0 : it.id), it.text, it.flags, {}};
        if (it.flags & MF_POPUP) info.sub = GetMenuItems(reinterpret_cast<HMENU>(it.id));
        r.push_back(std::move(info));
    }
    return r;
}

BOOL TrackPopupMenu(HMENU hMenu, UINT uFlags, int x, int y, int, HWND hWnd, const RECT*) {
    if (!M(hMenu)) return FALSE;
    std::vector<MenuItemInfo> items = GetMenuItems(hMenu);
    const auto& choose = S().hooks.popupMenu ? S().hooks.popupMenu : S().screenHooks.popupMenu;
    UINT chosen = choose ? choose(hWnd, items, POINT{x, y}) : 0;
    Log("popup menu [" + Describe(items) + "] chose " + std::to_string(chosen));
    if (uFlags & TPM_RETURNCMD) return static_cast<BOOL>(chosen);
    if (!chosen) return FALSE;
    PostMessageA(hWnd, WM_COMMAND, chosen, 0);
    return TRUE;
}
