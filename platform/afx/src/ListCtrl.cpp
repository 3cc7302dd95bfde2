// The list control's procedure and wrapper.
#include "afx/ListCtrl.h"
#include "afx/Cursor.h"

#include <algorithm>
#include <cstring>

#include "CtrlInternal.h"
#include "WndInternal.h"
#include "afx/GdiObject.h"

IMPLEMENT_DYNAMIC(CListCtrl, CWnd)

namespace afx {
struct LItem {
    std::vector<std::string> texts;  // one per sub-item
    int image = 0;
    LPARAM data = 0;
    UINT state = 0;
};
struct LColumn {
    std::string text;
    int fmt = LVCFMT_LEFT;
    int cx = 60;
};
struct ListViewState {
    std::vector<LItem> items;
    std::vector<LColumn> columns;
    DWORD exStyle = 0;
    int top = 0;
    int mark = -1;
    HIMAGELIST images[3] = {nullptr, nullptr, nullptr};
};

ListViewState* ListOf(HWND h) {
    char cls[32] = "";
    GetClassNameA(h, cls, sizeof cls);
    return win32LowerName(cls) == "syslistview32" ? static_cast<ListViewState*>(GetWindowExtra(h)) : nullptr;
}
}  // namespace afx

using afx::ListViewState;
using afx::LItem;

namespace {

DWORD Style(HWND h) { return static_cast<DWORD>(GetWindowLongPtrA(h, GWL_STYLE)); }
bool Report(HWND h) { return (Style(h) & LVS_TYPEMASK) == LVS_REPORT; }
int HeaderHeight(HWND h) { return Report(h) && !(Style(h) & LVS_NOCOLUMNHEADER) ? kListHeaderHeight : 0; }

int RowsPerColumn(HWND h) {
    RECT rc;
    GetClientRect(h, &rc);
    return std::max(1, static_cast<int>(rc.bottom - HeaderHeight(h)) / kListRowHeight);
}

RECT ItemRect(HWND h, ListViewState* st, int i) {
    if (Report(h)) {
        int w = 0;
        for (auto& c : st->columns) w += c.cx;
        RECT rc;
        GetClientRect(h, &rc);
        if (w == 0) w = rc.right;
        int y = HeaderHeight(h) + (i - st->top) * kListRowHeight;
        return RECT{0, y, w, y + kListRowHeight};
    }
    int per = RowsPerColumn(h);
    int col = i / per, row = i % per;
    return RECT{col * kListColumnWidth, row * kListRowHeight, (col + 1) * kListColumnWidth, (row + 1) * kListRowHeight};
}

LRESULT Notify(HWND h, UINT code, int item, UINT newState = 0, UINT oldState = 0, UINT changed = 0, POINT pt = POINT{0, 0},
               int sub = 0) {
    NMITEMACTIVATE nm{};
    nm.iItem = item;
    nm.iSubItem = sub;
    nm.uNewState = newState;
    nm.uOldState = oldState;
    nm.uChanged = changed;
    nm.ptAction = pt;
    ListViewState* st = afx::ListOf(h);
    if (st && item >= 0 && item < static_cast<int>(st->items.size())) nm.lParam = st->items[static_cast<size_t>(item)].data;
    return afx::NotifyParent(h, &nm.hdr, code);
}

// Changes one item's state with LVN_ITEMCHANGING / LVN_ITEMCHANGED; false when vetoed.
bool ChangeState(HWND h, ListViewState* st, int i, UINT state, UINT mask) {
    UINT old = st->items[static_cast<size_t>(i)].state;
    UINT next = (old & ~mask) | (state & mask);
    if (next == old) return true;
    if (Notify(h, LVN_ITEMCHANGING, i, next, old, LVIF_STATE)) return false;
    st = afx::ListOf(h);
    if (!st || i >= static_cast<int>(st->items.size())) return false;
    st->items[static_cast<size_t>(i)].state = next;
    InvalidateRect(h, nullptr, TRUE);
    Notify(h, LVN_ITEMCHANGED, i, next, old, LVIF_STATE);
    return true;
}

bool SetState(HWND h, ListViewState* st, int i, UINT state, UINT mask) {
    int n = static_cast<int>(st->items.size());
    if (i == -1) {
        bool ok = true;
        for (int k = 0; k < n && afx::ListOf(h) == st; ++k) ok = ChangeState(h, st, k, state, mask) && ok;
        return ok;
    }
    if (i < 0 || i >= n) return false;
    // One selected (and one focused) item at most where the style asks.
    if ((mask & LVIS_SELECTED) && (state & LVIS_SELECTED) && (Style(h) & LVS_SINGLESEL))
        for (int k = 0; k < n && afx::ListOf(h) == st; ++k)
            if (k != i && (st->items[static_cast<size_t>(k)].state & LVIS_SELECTED)) ChangeState(h, st, k, 0, LVIS_SELECTED);
    if ((mask & LVIS_FOCUSED) && (state & LVIS_FOCUSED))
        for (int k = 0; k < n && afx::ListOf(h) == st; ++k)
            if (k != i && (st->items[static_cast<size_t>(k)].state & LVIS_FOCUSED)) ChangeState(h, st, k, 0, LVIS_FOCUSED);
    if (afx::ListOf(h) != st || i >= static_cast<int>(st->items.size())) return false;
    return ChangeState(h, st, i, state, mask);
}

int HitTest(HWND h, ListViewState* st, POINT pt, UINT* flags) {
    int n = static_cast<int>(st->items.size());
    RECT client;
    GetClientRect(h, &client);
    UINT f = LVHT_NOWHERE;
    int hit = -1;
    if (pt.y < HeaderHeight(h)) f = pt.y < 0 ? LVHT_ABOVE : LVHT_NOWHERE;
    else if (pt.y >= client.bottom) f = LVHT_BELOW;
    else
        for (int i = 0; i < n; ++i) {
            RECT r = ItemRect(h, st, i);
            if (pt.x >= r.left && pt.x < r.right && pt.y >= r.top && pt.y < r.bottom) {
                hit = i;
                int icon = st->images[Report(h) || (Style(h) & LVS_TYPEMASK) == LVS_LIST ? LVSIL_SMALL : LVSIL_NORMAL] ? 18 : 0;
                f = pt.x < r.left + icon ? LVHT_ONITEMICON : LVHT_ONITEMLABEL;
                break;
            }
        }
    if (flags) *flags = f;
    return hit;
}

#define AFXM_USER_BEGINDRAG 0x0FF8

// What a press of the mouse button on row i (-1: empty space) does to the selection.
void PressSelect(HWND h, ListViewState* st, int i, bool right) {
    bool ctrl = GetKeyState(VK_CONTROL) < 0 && !(Style(h) & LVS_SINGLESEL);
    if (i >= 0) {
        if (ctrl) {
            UINT s = st->items[static_cast<size_t>(i)].state & LVIS_SELECTED;
            SetState(h, st, i, s ? LVIS_FOCUSED : (LVIS_SELECTED | LVIS_FOCUSED), LVIS_SELECTED | LVIS_FOCUSED);
        } else if (!(right && (st->items[static_cast<size_t>(i)].state & LVIS_SELECTED))) {
            for (int k = 0; k < static_cast<int>(st->items.size()) && afx::ListOf(h) == st; ++k)
                if (k != i) ChangeState(h, st, k, 0, LVIS_SELECTED);
            if (afx::ListOf(h) == st) SetState(h, st, i, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        }
        if (afx::ListOf(h) == st) st->mark = i;
    } else if (!ctrl && !right) {
        SetState(h, st, -1, 0, LVIS_SELECTED);
    }
}

LRESULT ListViewProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    ListViewState* st = static_cast<ListViewState*>(GetWindowExtra(h));
    switch (msg) {
        case WM_NCCREATE:
            SetWindowExtra(h, new ListViewState());
            return TRUE;
        case WM_NCDESTROY:
            delete st;
            SetWindowExtra(h, nullptr);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (GetFocus() != h) SetFocus(h);
            if (!IsWindow(h)) return 0;
            if (Report(h) && pt.y >= 0 && pt.y < HeaderHeight(h) && msg == WM_LBUTTONDOWN) {
                int x = 0;
                for (size_t c = 0; c < st->columns.size(); ++c) {
                    x += st->columns[c].cx;
                    if (pt.x < x) {
                        if (!(Style(h) & LVS_NOSORTHEADER)) Notify(h, LVN_COLUMNCLICK, -1, 0, 0, 0, pt, static_cast<int>(c));
                        break;
                    }
                }
                return 0;
            }
            int i = HitTest(h, st, pt, nullptr);
            if (msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN) PressSelect(h, st, i, msg == WM_RBUTTONDOWN);
            if (!IsWindow(h)) return 0;
            UINT code = msg == WM_LBUTTONDOWN ? NM_CLICK : msg == WM_RBUTTONDOWN ? NM_RCLICK : NM_DBLCLK;
            if (!Notify(h, code, i, 0, 0, 0, pt) && msg == WM_RBUTTONDOWN && IsWindow(h)) {
                POINT s = pt;
                ClientToScreen(h, &s);
                SendMessageA(h, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(h), MAKELPARAM(s.x, s.y));
            }
            return 0;
        }
        case AFXM_USER_BEGINDRAG: {
            POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            int i = HitTest(h, st, pt, nullptr);
            if (i < 0) return FALSE;
            // The press that starts a drag selects the row first, as a press does; a row already
            // selected keeps the selection as it is (a drag of several rows).
            if (!(st->items[static_cast<size_t>(i)].state & LVIS_SELECTED)) {
                if (GetFocus() != h) SetFocus(h);
                if (!IsWindow(h)) return FALSE;
                PressSelect(h, st, i, wParam == MK_RBUTTON);
                if (afx::ListOf(h) != st) return FALSE;
            }
            Notify(h, wParam == MK_RBUTTON ? LVN_BEGINRDRAG : LVN_BEGINDRAG, i, 0, 0, 0, pt);
            return TRUE;
        }
        case WM_KEYDOWN: {
            NMLVKEYDOWN nm{};
            nm.wVKey = static_cast<WORD>(wParam);
            afx::NotifyParent(h, &nm.hdr, LVN_KEYDOWN);
            return 0;
        }
        case WM_VSCROLL: {
            int code = LOWORD(wParam), n = static_cast<int>(st->items.size());
            if (code == SB_LINEDOWN) ++st->top;
            else if (code == SB_LINEUP) --st->top;
            else if (code == SB_THUMBPOSITION || code == SB_THUMBTRACK) st->top = HIWORD(wParam);
            st->top = std::max(0, std::min(st->top, n - RowsPerColumn(h)));
            SetScrollPos(h, SB_VERT, st->top, TRUE);
            InvalidateRect(h, nullptr, TRUE);
            return 0;
        }
        case WM_SETFOCUS: {
            NMHDR nm{};
            afx::NotifyParent(h, &nm, NM_SETFOCUS);
            return 0;
        }
        case WM_KILLFOCUS: {
            NMHDR nm{};
            afx::NotifyParent(h, &nm, NM_KILLFOCUS);
            return 0;
        }
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        default:
            return DefWindowProcA(h, msg, wParam, lParam);
    }
}

struct RegisterList {
    RegisterList() {
        WNDCLASS wc{};
        wc.lpfnWndProc = ListViewProc;
        wc.lpszClassName = "SysListView32";
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        RegisterClassA(&wc);
        afx::RegisterWrapperFactory("SysListView32", [] { return static_cast<CWnd*>(new CListCtrl); });
    }
} g_registerList;

void UpdateScroll(HWND h, ListViewState* st) {
    int n = static_cast<int>(st->items.size());
    int page = RowsPerColumn(h);
    st->top = std::max(0, std::min(st->top, n - page));
    if (Report(h)) {
        SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, n - 1, static_cast<UINT>(page), st->top, 0};
        SetScrollInfo(h, SB_VERT, &si, FALSE);
    }
    InvalidateRect(h, nullptr, TRUE);
}

}  // namespace

#define ST afx::ListOf(m_hWnd)
#define VALID(st, i) ((st) && (i) >= 0 && (i) < static_cast<int>((st)->items.size()))

BOOL CListCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create("SysListView32", "", dwStyle, rect, pParentWnd, nID);
}

DWORD CListCtrl::SetExtendedStyle(DWORD dwNewStyle) {
    ListViewState* st = ST;
    if (!st) return 0;
    DWORD old = st->exStyle;
    st->exStyle = dwNewStyle;
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return old;
}

DWORD CListCtrl::GetExtendedStyle() const {
    ListViewState* st = ST;
    return st ? st->exStyle : 0;
}

int CListCtrl::InsertColumn(int nCol, LPCTSTR lpszColumnHeading, int nFormat, int nWidth, int) {
    ListViewState* st = ST;
    if (!st || nCol < 0) return -1;
    afx::LColumn c;
    c.text = lpszColumnHeading ? lpszColumnHeading : "";
    c.fmt = nFormat;
    c.cx = nWidth < 0 ? static_cast<int>(c.text.size()) * 6 + 12 : nWidth;
    nCol = std::min(nCol, static_cast<int>(st->columns.size()));
    st->columns.insert(st->columns.begin() + nCol, c);
    for (auto& it : st->items)
        if (static_cast<int>(it.texts.size()) > nCol && nCol > 0) it.texts.insert(it.texts.begin() + nCol, std::string());
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return nCol;
}

int CListCtrl::InsertColumn(int nCol, const LVCOLUMN* p) {
    if (!p) return -1;
    return InsertColumn(nCol, (p->mask & LVCF_TEXT) ? p->pszText : "", (p->mask & LVCF_FMT) ? p->fmt : LVCFMT_LEFT,
                        (p->mask & LVCF_WIDTH) ? p->cx : -1);
}

BOOL CListCtrl::DeleteColumn(int nCol) {
    ListViewState* st = ST;
    if (!st || nCol < 0 || nCol >= static_cast<int>(st->columns.size())) return FALSE;
    st->columns.erase(st->columns.begin() + nCol);
    for (auto& it : st->items)
        if (nCol < static_cast<int>(it.texts.size())) it.texts.erase(it.texts.begin() + nCol);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return TRUE;
}

int CListCtrl::GetColumnWidth(int nCol) const {
    ListViewState* st = ST;
    return st && nCol >= 0 && nCol < static_cast<int>(st->columns.size()) ? st->columns[static_cast<size_t>(nCol)].cx : 0;
}

BOOL CListCtrl::SetColumnWidth(int nCol, int cx) {
    ListViewState* st = ST;
    if (!st || nCol < 0 || nCol >= static_cast<int>(st->columns.size())) return FALSE;
    st->columns[static_cast<size_t>(nCol)].cx = cx;
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return TRUE;
}

int CListCtrl::GetColumnCount() const {
    ListViewState* st = ST;
    return st ? static_cast<int>(st->columns.size()) : 0;
}

CString CListCtrl::GetColumnText(int nCol) const {
    ListViewState* st = ST;
    return st && nCol >= 0 && nCol < static_cast<int>(st->columns.size()) ? CString(st->columns[static_cast<size_t>(nCol)].text) : CString();
}

int CListCtrl::InsertItem(const LVITEM* p) {
    ListViewState* st = ST;
    if (!st || !p || p->iSubItem != 0) return -1;
    LItem it;
    it.texts.push_back((p->mask & LVIF_TEXT) && p->pszText ? p->pszText : "");
    if (p->mask & LVIF_IMAGE) it.image = p->iImage;
    if (p->mask & LVIF_PARAM) it.data = p->lParam;
    if (p->mask & LVIF_STATE) it.state = p->state & p->stateMask & ~(LVIS_SELECTED | LVIS_FOCUSED);
    int n = static_cast<int>(st->items.size());
    int at = std::max(0, std::min(p->iItem, n));
    DWORD s = GetStyle();
    if (s & (LVS_SORTASCENDING | LVS_SORTDESCENDING)) {
        at = 0;
        bool desc = (s & LVS_SORTDESCENDING) != 0;
        while (at < n) {
            int c = afx::CompareItems(st->items[static_cast<size_t>(at)].texts[0], it.texts[0]);
            if (desc ? c < 0 : c > 0) break;
            ++at;
        }
    }
    st->items.insert(st->items.begin() + at, it);
    if (st->mark >= at) ++st->mark;
    UpdateScroll(m_hWnd, st);
    Notify(m_hWnd, LVN_INSERTITEM, at);
    return at;
}

int CListCtrl::InsertItem(UINT nMask, int nItem, LPCTSTR lpszItem, UINT nState, UINT nStateMask, int nImage, LPARAM lParam) {
    LVITEM it{};
    it.mask = nMask;
    it.iItem = nItem;
    it.pszText = const_cast<LPSTR>(lpszItem);
    it.state = nState;
    it.stateMask = nStateMask;
    it.iImage = nImage;
    it.lParam = lParam;
    return InsertItem(&it);
}

int CListCtrl::InsertItem(int nItem, LPCTSTR lpszItem) { return InsertItem(LVIF_TEXT, nItem, lpszItem, 0, 0, 0, 0); }
int CListCtrl::InsertItem(int nItem, LPCTSTR lpszItem, int nImage) {
    return InsertItem(LVIF_TEXT | LVIF_IMAGE, nItem, lpszItem, 0, 0, nImage, 0);
}

BOOL CListCtrl::DeleteItem(int nItem) {
    ListViewState* st = ST;
    if (!VALID(st, nItem)) return FALSE;
    Notify(m_hWnd, LVN_DELETEITEM, nItem);
    st = ST;
    if (!VALID(st, nItem)) return FALSE;
    st->items.erase(st->items.begin() + nItem);
    if (st->mark == nItem) st->mark = -1;
    else if (st->mark > nItem) --st->mark;
    UpdateScroll(m_hWnd, st);
    return TRUE;
}

BOOL CListCtrl::DeleteAllItems() {
    ListViewState* st = ST;
    if (!st) return FALSE;
    if (!Notify(m_hWnd, LVN_DELETEALLITEMS, -1))
        for (int i = 0; i < static_cast<int>(st->items.size()); ++i) Notify(m_hWnd, LVN_DELETEITEM, i);
    st = ST;
    if (!st) return FALSE;
    st->items.clear();
    st->mark = -1;
    st->top = 0;
    UpdateScroll(m_hWnd, st);
    return TRUE;
}

int CListCtrl::GetItemCount() const {
    ListViewState* st = ST;
    return st ? static_cast<int>(st->items.size()) : 0;
}

CString CListCtrl::GetItemText(int nItem, int nSubItem) const {
    ListViewState* st = ST;
    if (!VALID(st, nItem) || nSubItem < 0) return CString();
    const auto& t = st->items[static_cast<size_t>(nItem)].texts;
    return nSubItem < static_cast<int>(t.size()) ? CString(t[static_cast<size_t>(nSubItem)]) : CString();
}

int CListCtrl::GetItemText(int nItem, int nSubItem, LPTSTR lpszText, int nLen) const {
    CString s = GetItemText(nItem, nSubItem);
    if (!lpszText || nLen <= 0) return 0;
    int n = std::min(s.GetLength(), nLen - 1);
    std::memcpy(lpszText, static_cast<LPCSTR>(s), static_cast<size_t>(n));
    lpszText[n] = 0;
    return n;
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, LPCTSTR lpszText) {
    ListViewState* st = ST;
    if (!VALID(st, nItem) || nSubItem < 0) return FALSE;
    auto& t = st->items[static_cast<size_t>(nItem)].texts;
    if (static_cast<int>(t.size()) <= nSubItem) t.resize(static_cast<size_t>(nSubItem) + 1);
    t[static_cast<size_t>(nSubItem)] = lpszText ? lpszText : "";
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return TRUE;
}

DWORD_PTR CListCtrl::GetItemData(int nItem) const {
    ListViewState* st = ST;
    return VALID(st, nItem) ? static_cast<DWORD_PTR>(st->items[static_cast<size_t>(nItem)].data) : 0;
}

BOOL CListCtrl::SetItemData(int nItem, DWORD_PTR dwData) {
    ListViewState* st = ST;
    if (!VALID(st, nItem)) return FALSE;
    st->items[static_cast<size_t>(nItem)].data = static_cast<LPARAM>(dwData);
    return TRUE;
}

int CListCtrl::GetItemImage(int nItem) const {
    ListViewState* st = ST;
    return VALID(st, nItem) ? st->items[static_cast<size_t>(nItem)].image : -1;
}

BOOL CListCtrl::GetItem(LVITEM* p) const {
    ListViewState* st = ST;
    if (!p || !VALID(st, p->iItem)) return FALSE;
    const LItem& it = st->items[static_cast<size_t>(p->iItem)];
    if ((p->mask & LVIF_TEXT) && p->pszText && p->cchTextMax > 0) GetItemText(p->iItem, p->iSubItem, p->pszText, p->cchTextMax);
    if (p->mask & LVIF_IMAGE) p->iImage = it.image;
    if (p->mask & LVIF_PARAM) p->lParam = it.data;
    if (p->mask & LVIF_STATE) p->state = it.state & p->stateMask;
    return TRUE;
}

BOOL CListCtrl::SetItem(const LVITEM* p) {
    ListViewState* st = ST;
    if (!p || !VALID(st, p->iItem)) return FALSE;
    if (p->mask & LVIF_TEXT) SetItemText(p->iItem, p->iSubItem, p->pszText);
    if (p->mask & LVIF_IMAGE) st->items[static_cast<size_t>(p->iItem)].image = p->iImage;
    if (p->mask & LVIF_PARAM) st->items[static_cast<size_t>(p->iItem)].data = p->lParam;
    if (p->mask & LVIF_STATE) return SetItemState(p->iItem, p->state, p->stateMask);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return TRUE;
}

BOOL CListCtrl::SetItem(int nItem, int nSubItem, UINT nMask, LPCTSTR lpszItem, int nImage, UINT nState, UINT nStateMask, LPARAM lParam) {
    LVITEM it{};
    it.mask = nMask;
    it.iItem = nItem;
    it.iSubItem = nSubItem;
    it.pszText = const_cast<LPSTR>(lpszItem);
    it.iImage = nImage;
    it.state = nState;
    it.stateMask = nStateMask;
    it.lParam = lParam;
    return SetItem(&it);
}

UINT CListCtrl::GetItemState(int nItem, UINT nMask) const {
    ListViewState* st = ST;
    return VALID(st, nItem) ? st->items[static_cast<size_t>(nItem)].state & nMask : 0;
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask) {
    ListViewState* st = ST;
    if (!st) return FALSE;
    if (nItem >= 0 && (nMask & LVIS_SELECTED) && (nState & LVIS_SELECTED)) st->mark = nItem;
    return SetState(m_hWnd, st, nItem, nState, nMask) ? TRUE : FALSE;
}

BOOL CListCtrl::SetItemState(int nItem, LVITEM* pItem) { return pItem ? SetItemState(nItem, pItem->state, pItem->stateMask) : FALSE; }

UINT CListCtrl::GetSelectedCount() const {
    ListViewState* st = ST;
    UINT n = 0;
    if (st)
        for (auto& it : st->items) n += (it.state & LVIS_SELECTED) ? 1 : 0;
    return n;
}

POSITION CListCtrl::GetFirstSelectedItemPosition() const {
    int i = GetNextItem(-1, LVNI_SELECTED);
    return i < 0 ? nullptr : reinterpret_cast<POSITION>(static_cast<uintptr_t>(i + 1));
}

int CListCtrl::GetNextSelectedItem(POSITION& pos) const {
    int i = static_cast<int>(reinterpret_cast<uintptr_t>(pos)) - 1;
    int next = GetNextItem(i, LVNI_SELECTED);
    pos = next < 0 ? nullptr : reinterpret_cast<POSITION>(static_cast<uintptr_t>(next + 1));
    return i;
}

int CListCtrl::GetNextItem(int nItem, int nFlags) const {
    ListViewState* st = ST;
    if (!st) return -1;
    UINT want = (nFlags & LVNI_SELECTED ? LVIS_SELECTED : 0) | (nFlags & LVNI_FOCUSED ? LVIS_FOCUSED : 0);
    for (int i = nItem + 1; i < static_cast<int>(st->items.size()); ++i)
        if ((st->items[static_cast<size_t>(i)].state & want) == want) return i;
    return -1;
}

int CListCtrl::GetSelectionMark() const {
    ListViewState* st = ST;
    return st ? st->mark : -1;
}

int CListCtrl::SetSelectionMark(int iIndex) {
    ListViewState* st = ST;
    if (!st) return -1;
    int old = st->mark;
    st->mark = iIndex;
    return old;
}

int CListCtrl::FindItem(LVFINDINFO* p, int nStart) const {
    ListViewState* st = ST;
    if (!st || !p) return -1;
    for (int i = nStart + 1; i < static_cast<int>(st->items.size()); ++i) {
        const LItem& it = st->items[static_cast<size_t>(i)];
        if ((p->flags & LVFI_PARAM) && it.data == p->lParam) return i;
        if ((p->flags & (LVFI_STRING | LVFI_PARTIAL)) && p->psz) {
            std::string t = it.texts[0];
            if (p->flags & LVFI_PARTIAL) t = t.substr(0, std::strlen(p->psz));
            if (afx::CompareItems(t, p->psz) == 0) return i;
        }
    }
    return -1;
}

BOOL CListCtrl::SortItems(PFNLVCOMPARE pfnCompare, DWORD_PTR dwData) {
    ListViewState* st = ST;
    if (!st || !pfnCompare) return FALSE;
    std::stable_sort(st->items.begin(), st->items.end(), [&](const LItem& a, const LItem& b) {
        return pfnCompare(a.data, b.data, static_cast<LPARAM>(dwData)) < 0;
    });
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return TRUE;
}

int CListCtrl::HitTest(CPoint pt, UINT* pFlags) const {
    ListViewState* st = ST;
    return st ? ::HitTest(m_hWnd, st, pt, pFlags) : -1;
}

int CListCtrl::HitTest(LVHITTESTINFO* p) const {
    if (!p) return -1;
    p->iItem = HitTest(CPoint(p->pt), &p->flags);
    p->iSubItem = 0;
    return p->iItem;
}

BOOL CListCtrl::GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const {
    ListViewState* st = ST;
    if (!VALID(st, nItem) || !lpRect) return FALSE;
    RECT r = ItemRect(m_hWnd, st, nItem);
    int icon = st->images[LVSIL_SMALL] ? 18 : 0;
    if (nCode == LVIR_ICON) r.right = r.left + icon;
    else if (nCode == LVIR_LABEL) {
        r.left += icon;
        if (Report(m_hWnd) && !st->columns.empty()) r.right = st->columns[0].cx;
    }
    *lpRect = r;
    return TRUE;
}

BOOL CListCtrl::GetItemPosition(int nItem, LPPOINT lpPoint) const {
    RECT r;
    if (!GetItemRect(nItem, &r, LVIR_BOUNDS) || !lpPoint) return FALSE;
    *lpPoint = POINT{r.left, r.top};
    return TRUE;
}

BOOL CListCtrl::EnsureVisible(int nItem, BOOL) {
    ListViewState* st = ST;
    if (!VALID(st, nItem)) return FALSE;
    if (Report(m_hWnd)) {
        int page = RowsPerColumn(m_hWnd);
        if (nItem < st->top) st->top = nItem;
        else if (nItem >= st->top + page) st->top = nItem - page + 1;
        UpdateScroll(m_hWnd, st);
    }
    return TRUE;
}

int CListCtrl::GetTopIndex() const {
    ListViewState* st = ST;
    return st ? st->top : 0;
}

int CListCtrl::GetCountPerPage() const { return RowsPerColumn(m_hWnd); }
BOOL CListCtrl::RedrawItems(int, int) {
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return TRUE;
}
BOOL CListCtrl::Update(int) {
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return TRUE;
}

CImageList* CListCtrl::SetImageList(CImageList* pImageList, int nImageListType) {
    ListViewState* st = ST;
    if (!st || nImageListType < 0 || nImageListType > 2) return nullptr;
    HIMAGELIST old = st->images[nImageListType];
    st->images[nImageListType] = pImageList ? pImageList->m_hImageList : nullptr;
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return CImageList::FromHandle(old);
}

CImageList* CListCtrl::GetImageList(int nImageListType) const {
    ListViewState* st = ST;
    return st && nImageListType >= 0 && nImageListType <= 2 ? CImageList::FromHandle(st->images[nImageListType]) : nullptr;
}

CImageList* CListCtrl::CreateDragImage(int nItem, LPPOINT lpPoint) {
    RECT r;
    if (!GetItemRect(nItem, &r, LVIR_BOUNDS)) return nullptr;
    if (lpPoint) *lpPoint = POINT{r.left, r.top};
    CImageList* icons = GetImageList(LVSIL_SMALL);
    return afx::NewDragImage(r.right - r.left, r.bottom - r.top, icons ? icons->m_hImageList : nullptr, GetItemImage(nItem),
                             GetItemText(nItem, 0).str());
}

std::string CListCtrl::Dump() const {
    ListViewState* st = ST;
    std::string out;
    if (!st) return out;
    for (const LItem& it : st->items) {
        std::string line = (it.state & LVIS_SELECTED) ? "*" : "";
        if (it.state & LVIS_DROPHILITED) line += "^";
        size_t cols = std::max(st->columns.size(), static_cast<size_t>(1));
        for (size_t c = 0; c < std::max(cols, it.texts.size()); ++c) {
            if (c) line += " | ";
            line += c < it.texts.size() ? it.texts[c] : "";
        }
        line += " | " + std::to_string(static_cast<long long>(it.data)) + " | " + std::to_string(it.image);
        out += line + "\n";
    }
    return out;
}
