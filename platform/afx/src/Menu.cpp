#include "afx/Menu.h"

#include <map>
#include <memory>

IMPLEMENT_DYNAMIC(CMenu, CObject)

namespace {
std::map<HMENU, std::unique_ptr<CMenu>>& Temps() {
    static auto* m = new std::map<HMENU, std::unique_ptr<CMenu>>();
    return *m;
}
}  // namespace

CMenu::~CMenu() { DestroyMenu(); }

CMenu* CMenu::FromHandle(HMENU hMenu) {
    if (!hMenu) return nullptr;
    auto& slot = Temps()[hMenu];
    if (!slot) {
        slot = std::make_unique<CMenu>();
        slot->m_hMenu = hMenu;
    }
    // A temporary never destroys the menu it wraps.
    return slot.get();
}

BOOL CMenu::CreatePopupMenu() {
    if (m_hMenu) return FALSE;
    m_hMenu = ::CreatePopupMenu();
    return m_hMenu != nullptr;
}

BOOL CMenu::CreateMenu() {
    if (m_hMenu) return FALSE;
    m_hMenu = ::CreateMenu();
    return m_hMenu != nullptr;
}

BOOL CMenu::DestroyMenu() {
    if (!m_hMenu) return FALSE;
    HMENU h = Detach();
    auto it = Temps().find(h);
    if (it != Temps().end() && it->second.get() != this) {
        it->second->m_hMenu = nullptr;
        Temps().erase(it);
    }
    return ::DestroyMenu(h);
}

BOOL CMenu::Attach(HMENU hMenu) {
    if (m_hMenu || !hMenu) return FALSE;
    m_hMenu = hMenu;
    return TRUE;
}

HMENU CMenu::Detach() {
    HMENU h = m_hMenu;
    m_hMenu = nullptr;
    return h;
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) { return ::AppendMenuA(m_hMenu, nFlags, nIDNewItem, lpszNewItem); }
BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
    return ::InsertMenuA(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}
BOOL CMenu::DeleteMenu(UINT nPosition, UINT nFlags) { return ::DeleteMenu(m_hMenu, nPosition, nFlags); }
UINT CMenu::GetMenuItemCount() const { return static_cast<UINT>(::GetMenuItemCount(m_hMenu)); }
UINT CMenu::GetMenuItemID(int nPos) const { return ::GetMenuItemID(m_hMenu, nPos); }
UINT CMenu::GetMenuState(UINT nID, UINT nFlags) const { return ::GetMenuState(m_hMenu, nID, nFlags); }
int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const {
    int n = ::GetMenuStringA(m_hMenu, nIDItem, nullptr, 0, nFlags);
    std::string buf(static_cast<size_t>(n) + 1, '\0');
    ::GetMenuStringA(m_hMenu, nIDItem, &buf[0], n + 1, nFlags);
    buf.resize(static_cast<size_t>(n));
    rString = CString(buf);
    return n;
}
UINT CMenu::CheckMenuItem(UINT nIDCheckItem, UINT nCheck) { return ::CheckMenuItem(m_hMenu, nIDCheckItem, nCheck); }
UINT CMenu::EnableMenuItem(UINT nIDEnableItem, UINT nEnable) { return static_cast<UINT>(::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable)); }
CMenu* CMenu::GetSubMenu(int nPos) const { return FromHandle(::GetSubMenu(m_hMenu, nPos)); }

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect) {
    return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd ? pWnd->m_hWnd : nullptr, lpRect);
}
