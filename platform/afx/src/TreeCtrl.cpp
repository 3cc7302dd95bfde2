// The tree control's procedure and wrapper.
#include "afx/TreeCtrl.h"
#include "afx/Cursor.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <set>
#include <vector>

#include "CtrlInternal.h"
#include "WndInternal.h"
#include "afx/GdiObject.h"

IMPLEMENT_DYNAMIC(CTreeCtrl, CWnd)

namespace afx {
struct TNode {
    std::string text;
    int image = 0, selImage = 0;
    LPARAM data = 0;
    UINT state = 0;
    TNode* parent = nullptr;
    std::vector<TNode*> kids;
};

struct TreeState {
    TNode root;
    std::set<TNode*> all;
    TNode* selected = nullptr;
    TNode* drop = nullptr;
    TNode* editing = nullptr;
    HWND edit = nullptr;
    WNDPROC editSuper = nullptr;
    bool ending = false;
    int top = 0;
    HIMAGELIST images[3] = {nullptr, nullptr, nullptr};
    size_t siblingHint = 0;  // where the last sibling lookup found its item
    ~TreeState() {
        for (TNode* n : all) delete n;
    }
};

TreeState* TreeOf(HWND h) {
    char cls[32] = "";
    GetClassNameA(h, cls, sizeof cls);
    return win32LowerName(cls) == "systreeview32" ? static_cast<TreeState*>(GetWindowExtra(h)) : nullptr;
}
}  // namespace afx

using afx::TNode;
using afx::TreeState;

namespace {

HTREEITEM H(TNode* n) { return reinterpret_cast<HTREEITEM>(n); }

TNode* N(TreeState* st, HTREEITEM h) {
    if (!st || !h) return nullptr;
    if (h == TVI_ROOT) return &st->root;
    TNode* n = reinterpret_cast<TNode*>(h);
    return st->all.count(n) ? n : nullptr;
}

// The position of n among its siblings. Walks over siblings go one step at a time, so the item is
// looked for at the last position found and beside it before the siblings are searched; a walk over
// k siblings then costs k steps, not k * k / 2.
size_t SiblingIndex(TreeState* st, TNode* n) {
    const std::vector<TNode*>& sib = n->parent->kids;
    for (size_t i : {st->siblingHint + 1, st->siblingHint, st->siblingHint - 1})
        if (i < sib.size() && sib[i] == n) return st->siblingHint = i;
    return st->siblingHint = static_cast<size_t>(std::find(sib.begin(), sib.end(), n) - sib.begin());
}

DWORD Style(HWND h) { return static_cast<DWORD>(GetWindowLongPtrA(h, GWL_STYLE)); }

void Visible(const TNode* parent, std::vector<TNode*>& out) {
    for (TNode* k : parent->kids) {
        out.push_back(k);
        if (k->state & TVIS_EXPANDED) Visible(k, out);
    }
}

int Depth(const TNode* n) {
    int d = 0;
    for (const TNode* p = n->parent; p && p->parent; p = p->parent) ++d;
    return d;
}

int TextWidth(const std::string& s) { return static_cast<int>(s.size()) * 6 + 4; }

void FillItem(TVITEM& it, TNode* n) {
    it.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_STATE;
    it.hItem = H(n);
    if (!n) return;
    it.state = n->state;
    it.pszText = const_cast<LPSTR>(n->text.c_str());
    it.iImage = n->image;
    it.iSelectedImage = n->selImage;
    it.cChildren = n->kids.empty() ? 0 : 1;
    it.lParam = n->data;
}

LRESULT Notify(HWND h, UINT code, TNode* oldItem, TNode* newItem, UINT action, POINT pt = POINT{0, 0}) {
    NMTREEVIEW nm{};
    nm.action = action;
    FillItem(nm.itemOld, oldItem);
    FillItem(nm.itemNew, newItem);
    nm.ptDrag = pt;
    return afx::NotifyParent(h, &nm.hdr, code);
}

bool IsUnder(const TNode* n, const TNode* ancestor) {
    for (; n; n = n->parent)
        if (n == ancestor) return true;
    return false;
}

void ExpandParents(TNode* n) {
    for (TNode* p = n->parent; p && p->parent; p = p->parent) p->state |= TVIS_EXPANDED;
}

void UpdateScroll(HWND h, TreeState* st) {
    std::vector<TNode*> vis;
    Visible(&st->root, vis);
    RECT rc;
    GetClientRect(h, &rc);
    int page = std::max(1, static_cast<int>(rc.bottom) / kTreeRowHeight);
    st->top = std::max(0, std::min(st->top, static_cast<int>(vis.size()) - page));
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, static_cast<int>(vis.size()) - 1, static_cast<UINT>(page), st->top, 0};
    SetScrollInfo(h, SB_VERT, &si, FALSE);
    InvalidateRect(h, nullptr, TRUE);
}

}  // namespace

namespace afx {

// The rows and rectangles the geometry comment of TreeCtrl.h describes.
bool TreeItemRect(HWND h, TreeState* st, TNode* n, RECT* rc, bool textOnly) {
    std::vector<TNode*> vis;
    Visible(&st->root, vis);
    auto it = std::find(vis.begin(), vis.end(), n);
    if (it == vis.end()) return false;
    int row = static_cast<int>(it - vis.begin()) - st->top;
    RECT client;
    GetClientRect(h, &client);
    if (!textOnly) {
        *rc = RECT{0, row * kTreeRowHeight, client.right, (row + 1) * kTreeRowHeight};
        return true;
    }
    int x = (Depth(n) + ((Style(h) & TVS_LINESATROOT) ? 1 : 0)) * kTreeIndent + (st->images[TVSIL_NORMAL] ? 18 : 0);
    *rc = RECT{x, row * kTreeRowHeight, x + TextWidth(n->text), (row + 1) * kTreeRowHeight};
    return true;
}

HTREEITEM TreeHitTest(HWND h, TreeState* st, POINT pt, UINT* flags) {
    std::vector<TNode*> vis;
    Visible(&st->root, vis);
    RECT client;
    GetClientRect(h, &client);
    UINT f = 0;
    TNode* hit = nullptr;
    if (pt.y < 0) f = TVHT_ABOVE;
    else if (pt.y >= client.bottom) f = TVHT_BELOW;
    else {
        int row = pt.y / kTreeRowHeight + st->top;
        if (row >= static_cast<int>(vis.size())) f = TVHT_NOWHERE;
        else {
            hit = vis[static_cast<size_t>(row)];
            int indent = (Depth(hit) + ((Style(h) & TVS_LINESATROOT) ? 1 : 0)) * kTreeIndent;
            int icon = st->images[TVSIL_NORMAL] ? 18 : 0;
            if (pt.x < indent) f = (pt.x >= indent - kTreeIndent && !hit->kids.empty()) ? TVHT_ONITEMBUTTON : TVHT_ONITEMINDENT;
            else if (pt.x < indent + icon) f = TVHT_ONITEMICON;
            else if (pt.x < indent + icon + TextWidth(hit->text)) f = TVHT_ONITEMLABEL;
            else f = TVHT_ONITEMRIGHT;
        }
    }
    if (flags) *flags = f;
    return (f & (TVHT_ONITEM | TVHT_ONITEMBUTTON | TVHT_ONITEMINDENT | TVHT_ONITEMRIGHT)) ? H(hit) : nullptr;
}

BOOL TreeSelect(HWND h, TreeState* st, TNode* n, UINT action) {
    if (n == st->selected) return TRUE;
    TNode* old = st->selected;
    if (Notify(h, TVN_SELCHANGING, old, n, action)) return FALSE;
    if (!IsWindow(h) || afx::TreeOf(h) != st) return FALSE;
    if (n && !st->all.count(n)) return FALSE;  // deleted by the handler
    if (old && st->all.count(old)) old->state &= ~TVIS_SELECTED;
    st->selected = n;
    if (n) {
        n->state |= TVIS_SELECTED;
        ExpandParents(n);
    }
    UpdateScroll(h, st);
    Notify(h, TVN_SELCHANGED, old && st->all.count(old) ? old : nullptr, n, action);
    return TRUE;
}

}  // namespace afx

namespace {

void DeleteNode(HWND h, TreeState* st, TNode* n) {
    std::vector<TNode*> kids = n->kids;
    for (TNode* k : kids) DeleteNode(h, st, k);
    Notify(h, TVN_DELETEITEM, n, nullptr, 0);
    auto& sib = n->parent->kids;
    sib.erase(std::remove(sib.begin(), sib.end(), n), sib.end());
    if (st->drop == n) st->drop = nullptr;
    st->all.erase(n);
    delete n;
}

BOOL Delete(HWND h, TreeState* st, TNode* n) {
    if (n == &st->root) {
        std::vector<TNode*> roots = st->root.kids;
        bool had = st->selected != nullptr;
        st->selected = nullptr;
        for (TNode* r : roots) DeleteNode(h, st, r);
        if (had) Notify(h, TVN_SELCHANGED, nullptr, nullptr, TVC_UNKNOWN);
        UpdateScroll(h, st);
        return TRUE;
    }
    bool moves = st->selected && IsUnder(st->selected, n);
    TNode* next = nullptr;
    if (moves) {
        // The next sibling, else the previous one, else the parent.
        auto& sib = n->parent->kids;
        auto it = std::find(sib.begin(), sib.end(), n);
        if (it + 1 != sib.end()) next = *(it + 1);
        else if (it != sib.begin()) next = *(it - 1);
        else if (n->parent != &st->root) next = n->parent;
        st->selected = nullptr;
    }
    if (st->editing && IsUnder(st->editing, n)) {
        DestroyWindow(st->edit);
        st->edit = nullptr;
        st->editing = nullptr;
    }
    DeleteNode(h, st, n);
    if (moves) {
        if (next) {
            next->state |= TVIS_SELECTED;
            st->selected = next;
            Notify(h, TVN_SELCHANGED, nullptr, next, TVC_UNKNOWN);
        }
    }
    if (IsWindow(h)) UpdateScroll(h, st);
    return TRUE;
}

HTREEITEM Insert(HWND h, TreeState* st, const TVINSERTSTRUCT* is) {
    TNode* parent = N(st, is->hParent ? is->hParent : TVI_ROOT);
    if (!parent) return nullptr;
    auto n = std::make_unique<TNode>();
    const TVITEM& it = is->item;
    if (it.mask & TVIF_TEXT) n->text = it.pszText ? it.pszText : "";
    if (it.mask & TVIF_IMAGE) n->image = it.iImage;
    if (it.mask & TVIF_SELECTEDIMAGE) n->selImage = it.iSelectedImage;
    if (it.mask & TVIF_PARAM) n->data = it.lParam;
    if (it.mask & TVIF_STATE) n->state = it.state & it.stateMask & ~TVIS_SELECTED;
    n->parent = parent;
    auto& sib = parent->kids;
    size_t pos;
    if (is->hInsertAfter == TVI_FIRST) pos = 0;
    else if (is->hInsertAfter == TVI_LAST || !is->hInsertAfter) pos = sib.size();
    else if (is->hInsertAfter == TVI_SORT) {
        pos = 0;
        while (pos < sib.size() && afx::CompareItems(sib[pos]->text, n->text) <= 0) ++pos;
    } else {
        TNode* after = N(st, is->hInsertAfter);
        auto f = std::find(sib.begin(), sib.end(), after);
        if (!after || f == sib.end()) return nullptr;
        pos = static_cast<size_t>(f - sib.begin()) + 1;
    }
    TNode* raw = n.release();
    sib.insert(sib.begin() + static_cast<std::ptrdiff_t>(pos), raw);
    st->all.insert(raw);
    UpdateScroll(h, st);
    return H(raw);
}

void EndEdit(HWND h, TreeState* st, bool cancel) {
    if (!st->editing || st->ending) return;
    st->ending = true;
    TNode* n = st->editing;
    std::string text = GetWindowTextRaw(st->edit);
    NMTVDISPINFO nm{};
    FillItem(nm.item, n);
    nm.item.mask = TVIF_TEXT | TVIF_HANDLE | TVIF_PARAM;
    nm.item.pszText = cancel ? nullptr : &text[0];
    nm.item.cchTextMax = static_cast<int>(text.size());
    LRESULT accept = afx::NotifyParent(h, &nm.hdr, TVN_ENDLABELEDIT);
    if (!IsWindow(h) || afx::TreeOf(h) != st) return;
    HWND edit = st->edit;
    st->edit = nullptr;
    st->editing = nullptr;
    if (!cancel && accept && st->all.count(n)) {
        n->text = text;
        InvalidateRect(h, nullptr, TRUE);
    }
    bool hadFocus = GetFocus() == edit;
    DestroyWindow(edit);
    if (hadFocus && IsWindow(h)) SetFocus(h);
    st->ending = false;
}

// The label editor: an edit whose Enter and Escape end the edit; it wants every key from the dialog.
LRESULT LabelEditProc(HWND e, UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND tree = GetParent(e);
    TreeState* st = afx::TreeOf(tree);
    WNDPROC super = st ? st->editSuper : DefWindowProcA;
    if (st && st->edit == e) {
        if (msg == WM_GETDLGCODE) return DLGC_WANTALLKEYS | CallWindowProcA(super, e, msg, wParam, lParam);
        if (msg == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE)) {
            EndEdit(tree, st, wParam == VK_ESCAPE);
            return 0;
        }
        if (msg == WM_CHAR && (wParam == '\r' || wParam == 0x1B)) return 0;
        if (msg == WM_KILLFOCUS) {
            LRESULT r = CallWindowProcA(super, e, msg, wParam, lParam);
            if (st->edit == e) EndEdit(tree, st, false);
            return r;
        }
    }
    return CallWindowProcA(super, e, msg, wParam, lParam);
}

HWND BeginEdit(HWND h, TreeState* st, TNode* n) {
    if (!n || n == &st->root || !(Style(h) & TVS_EDITLABELS)) return nullptr;
    if (st->editing) EndEdit(h, st, false);
    NMTVDISPINFO nm{};
    FillItem(nm.item, n);
    if (afx::NotifyParent(h, &nm.hdr, TVN_BEGINLABELEDIT)) return nullptr;
    if (!IsWindow(h) || !st->all.count(n)) return nullptr;
    ExpandParents(n);
    RECT rc{0, 0, 0, 0};
    afx::TreeItemRect(h, st, n, &rc, true);
    HWND e = CreateWindowExA(0, "Edit", n->text.c_str(), WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, rc.left, rc.top,
                             std::max(60, static_cast<int>(rc.right - rc.left) + 20), rc.bottom - rc.top, h, nullptr, nullptr, nullptr);
    if (!e) return nullptr;
    st->editSuper = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(e, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LabelEditProc)));
    st->edit = e;
    st->editing = n;
    SetFocus(e);
    SendMessageA(e, EM_SETSEL, 0, -1);
    return e;
}

// Mouse messages carry client points; the drag message carries the button in wParam.
#define AFXM_USER_BEGINDRAG 0x0FF8

LRESULT TreeProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    TreeState* st = static_cast<TreeState*>(GetWindowExtra(h));
    switch (msg) {
        case WM_NCCREATE:
            SetWindowExtra(h, new TreeState());
            return TRUE;
        case WM_NCDESTROY:
            delete st;
            SetWindowExtra(h, nullptr);
            return 0;
        case WM_DESTROY:
            if (st->edit) {
                st->ending = true;
                st->edit = nullptr;
                st->editing = nullptr;
            }
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (GetFocus() != h) SetFocus(h);
            if (!IsWindow(h)) return 0;
            UINT flags = 0;
            TNode* n = N(st, afx::TreeHitTest(h, st, pt, &flags));
            if (msg == WM_RBUTTONDOWN) {
                NMHDR nm{};
                if (!afx::NotifyParent(h, &nm, NM_RCLICK) && IsWindow(h)) {
                    POINT s = pt;
                    ClientToScreen(h, &s);
                    SendMessageA(h, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(h), MAKELPARAM(s.x, s.y));
                }
                return 0;
            }
            if (msg == WM_LBUTTONDBLCLK) {
                NMHDR nm{};
                if (!afx::NotifyParent(h, &nm, NM_DBLCLK) && IsWindow(h) && n && !n->kids.empty()) {
                    n->state ^= TVIS_EXPANDED;
                    UpdateScroll(h, st);
                }
                return 0;
            }
            if (n && (flags & TVHT_ONITEMBUTTON)) {
                n->state ^= TVIS_EXPANDED;
                UpdateScroll(h, st);
            } else if (n && (flags & TVHT_ONITEM)) {
                afx::TreeSelect(h, st, n, TVC_BYMOUSE);
            }
            if (IsWindow(h)) {
                NMHDR nm{};
                afx::NotifyParent(h, &nm, NM_CLICK);
            }
            return 0;
        }
        case AFXM_USER_BEGINDRAG: {
            POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            TNode* n = N(st, afx::TreeHitTest(h, st, pt, nullptr));
            if (!n || (Style(h) & TVS_DISABLEDRAGDROP)) return FALSE;
            Notify(h, wParam == MK_RBUTTON ? TVN_BEGINRDRAG : TVN_BEGINDRAG, nullptr, n, 0, pt);
            return TRUE;
        }
        case WM_KEYDOWN: {
            NMTVKEYDOWN nm{};
            nm.wVKey = static_cast<WORD>(wParam);
            afx::NotifyParent(h, &nm.hdr, TVN_KEYDOWN);
            if (!IsWindow(h)) return 0;
            std::vector<TNode*> vis;
            Visible(&st->root, vis);
            auto it = std::find(vis.begin(), vis.end(), st->selected);
            if (wParam == VK_DOWN && it != vis.end() && it + 1 != vis.end()) afx::TreeSelect(h, st, *(it + 1), TVC_BYKEYBOARD);
            if (wParam == VK_UP && it != vis.end() && it != vis.begin()) afx::TreeSelect(h, st, *(it - 1), TVC_BYKEYBOARD);
            if (wParam == VK_F2 && st->selected) BeginEdit(h, st, st->selected);
            return 0;
        }
        case WM_VSCROLL: {
            std::vector<TNode*> vis;
            Visible(&st->root, vis);
            int code = LOWORD(wParam);
            if (code == SB_LINEDOWN) ++st->top;
            else if (code == SB_LINEUP) --st->top;
            else if (code == SB_THUMBPOSITION || code == SB_THUMBTRACK) st->top = HIWORD(wParam);
            else if (code == SB_TOP) st->top = 0;
            else if (code == SB_BOTTOM) st->top = static_cast<int>(vis.size());
            UpdateScroll(h, st);
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

struct RegisterTree {
    RegisterTree() {
        WNDCLASS wc{};
        wc.lpfnWndProc = TreeProc;
        wc.lpszClassName = "SysTreeView32";
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        RegisterClassA(&wc);
        afx::RegisterWrapperFactory("SysTreeView32", [] { return static_cast<CWnd*>(new CTreeCtrl); });
    }
} g_registerTree;

}  // namespace

// ---- the wrapper -----------------------------------------------------------------------------------

#define ST afx::TreeOf(m_hWnd)

BOOL CTreeCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create("SysTreeView32", "", dwStyle, rect, pParentWnd, nID);
}

HTREEITEM CTreeCtrl::InsertItem(const TVINSERTSTRUCT* is) {
    TreeState* st = ST;
    return st && is ? Insert(m_hWnd, st, is) : nullptr;
}

HTREEITEM CTreeCtrl::InsertItem(UINT nMask, LPCTSTR lpszItem, int nImage, int nSelectedImage, UINT nState, UINT nStateMask,
                                LPARAM lParam, HTREEITEM hParent, HTREEITEM hInsertAfter) {
    TVINSERTSTRUCT is{};
    is.hParent = hParent;
    is.hInsertAfter = hInsertAfter;
    is.item.mask = nMask;
    is.item.pszText = const_cast<LPSTR>(lpszItem);
    is.item.iImage = nImage;
    is.item.iSelectedImage = nSelectedImage;
    is.item.state = nState;
    is.item.stateMask = nStateMask;
    is.item.lParam = lParam;
    return InsertItem(&is);
}

HTREEITEM CTreeCtrl::InsertItem(LPCTSTR lpszItem, int nImage, int nSelectedImage, HTREEITEM hParent, HTREEITEM hInsertAfter) {
    return InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE, lpszItem, nImage, nSelectedImage, 0, 0, 0, hParent, hInsertAfter);
}

HTREEITEM CTreeCtrl::InsertItem(LPCTSTR lpszItem, HTREEITEM hParent, HTREEITEM hInsertAfter) {
    return InsertItem(TVIF_TEXT, lpszItem, 0, 0, 0, 0, 0, hParent, hInsertAfter);
}

BOOL CTreeCtrl::DeleteItem(HTREEITEM hItem) {
    TreeState* st = ST;
    TNode* n = N(st, hItem);
    return n ? Delete(m_hWnd, st, n) : FALSE;
}

CString CTreeCtrl::GetItemText(HTREEITEM hItem) const {
    TNode* n = N(ST, hItem);
    return n && n->parent ? CString(n->text) : CString();
}

BOOL CTreeCtrl::SetItemText(HTREEITEM hItem, LPCTSTR lpszItem) {
    TNode* n = N(ST, hItem);
    if (!n || !n->parent) return FALSE;
    n->text = lpszItem ? lpszItem : "";
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return TRUE;
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM hItem) const {
    TNode* n = N(ST, hItem);
    return n ? static_cast<DWORD_PTR>(n->data) : 0;
}

BOOL CTreeCtrl::SetItemData(HTREEITEM hItem, DWORD_PTR dwData) {
    TNode* n = N(ST, hItem);
    if (!n || !n->parent) return FALSE;
    n->data = static_cast<LPARAM>(dwData);
    return TRUE;
}

BOOL CTreeCtrl::GetItemImage(HTREEITEM hItem, int& nImage, int& nSelectedImage) const {
    TNode* n = N(ST, hItem);
    if (!n || !n->parent) return FALSE;
    nImage = n->image;
    nSelectedImage = n->selImage;
    return TRUE;
}

BOOL CTreeCtrl::SetItemImage(HTREEITEM hItem, int nImage, int nSelectedImage) {
    TNode* n = N(ST, hItem);
    if (!n || !n->parent) return FALSE;
    n->image = nImage;
    n->selImage = nSelectedImage;
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return TRUE;
}

UINT CTreeCtrl::GetItemState(HTREEITEM hItem, UINT nStateMask) const {
    TNode* n = N(ST, hItem);
    return n ? n->state & nStateMask : 0;
}

BOOL CTreeCtrl::SetItemState(HTREEITEM hItem, UINT nState, UINT nStateMask) {
    TreeState* st = ST;
    TNode* n = N(st, hItem);
    if (!n || !n->parent) return FALSE;
    // Selection goes through SelectItem; the drop highlight is kept unique as SelectDropTarget does.
    nStateMask &= ~TVIS_SELECTED;
    n->state = (n->state & ~nStateMask) | (nState & nStateMask);
    if (nStateMask & TVIS_DROPHILITED) {
        if (n->state & TVIS_DROPHILITED) {
            if (st->drop && st->drop != n) st->drop->state &= ~TVIS_DROPHILITED;
            st->drop = n;
        } else if (st->drop == n) {
            st->drop = nullptr;
        }
    }
    UpdateScroll(m_hWnd, st);
    return TRUE;
}

BOOL CTreeCtrl::GetItem(TVITEM* pItem) const {
    TNode* n = pItem ? N(ST, pItem->hItem) : nullptr;
    if (!n || !n->parent) return FALSE;
    UINT mask = pItem->mask;
    if (mask & TVIF_TEXT) {
        if (pItem->pszText && pItem->cchTextMax > 0) {
            std::string t = n->text.substr(0, static_cast<size_t>(pItem->cchTextMax - 1));
            std::memcpy(pItem->pszText, t.c_str(), t.size() + 1);
        }
    }
    if (mask & TVIF_IMAGE) pItem->iImage = n->image;
    if (mask & TVIF_SELECTEDIMAGE) pItem->iSelectedImage = n->selImage;
    if (mask & TVIF_PARAM) pItem->lParam = n->data;
    if (mask & TVIF_STATE) pItem->state = n->state & (pItem->stateMask ? pItem->stateMask : 0xFFFFFFFFu);
    if (mask & TVIF_CHILDREN) pItem->cChildren = n->kids.empty() ? 0 : 1;
    return TRUE;
}

BOOL CTreeCtrl::SetItem(TVITEM* pItem) {
    TNode* n = pItem ? N(ST, pItem->hItem) : nullptr;
    if (!n || !n->parent) return FALSE;
    if (pItem->mask & TVIF_TEXT) n->text = pItem->pszText ? pItem->pszText : "";
    if (pItem->mask & TVIF_IMAGE) n->image = pItem->iImage;
    if (pItem->mask & TVIF_SELECTEDIMAGE) n->selImage = pItem->iSelectedImage;
    if (pItem->mask & TVIF_PARAM) n->data = pItem->lParam;
    if (pItem->mask & TVIF_STATE) SetItemState(pItem->hItem, pItem->state, pItem->stateMask);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return TRUE;
}

UINT CTreeCtrl::GetCount() const {
    TreeState* st = ST;
    return st ? static_cast<UINT>(st->all.size()) : 0;
}

BOOL CTreeCtrl::ItemHasChildren(HTREEITEM hItem) const {
    TNode* n = N(ST, hItem);
    return n && !n->kids.empty();
}

HTREEITEM CTreeCtrl::GetRootItem() const {
    TreeState* st = ST;
    return st && !st->root.kids.empty() ? H(st->root.kids.front()) : nullptr;
}

HTREEITEM CTreeCtrl::GetParentItem(HTREEITEM hItem) const {
    TNode* n = N(ST, hItem);
    return n && n->parent && n->parent->parent ? H(n->parent) : nullptr;
}

HTREEITEM CTreeCtrl::GetChildItem(HTREEITEM hItem) const {
    TNode* n = N(ST, hItem ? hItem : TVI_ROOT);
    return n && !n->kids.empty() ? H(n->kids.front()) : nullptr;
}

HTREEITEM CTreeCtrl::GetNextSiblingItem(HTREEITEM hItem) const {
    TreeState* st = ST;
    TNode* n = N(st, hItem);
    if (!n || !n->parent) return nullptr;
    const size_t i = SiblingIndex(st, n) + 1;
    return i < n->parent->kids.size() ? H(n->parent->kids[i]) : nullptr;
}

HTREEITEM CTreeCtrl::GetPrevSiblingItem(HTREEITEM hItem) const {
    TreeState* st = ST;
    TNode* n = N(st, hItem);
    if (!n || !n->parent) return nullptr;
    const size_t i = SiblingIndex(st, n);
    return i > 0 ? H(n->parent->kids[i - 1]) : nullptr;
}

HTREEITEM CTreeCtrl::GetNextVisibleItem(HTREEITEM hItem) const {
    TreeState* st = ST;
    if (!st) return nullptr;
    std::vector<TNode*> vis;
    Visible(&st->root, vis);
    auto it = std::find(vis.begin(), vis.end(), N(st, hItem));
    return it == vis.end() || it + 1 == vis.end() ? nullptr : H(*(it + 1));
}

HTREEITEM CTreeCtrl::GetPrevVisibleItem(HTREEITEM hItem) const {
    TreeState* st = ST;
    if (!st) return nullptr;
    std::vector<TNode*> vis;
    Visible(&st->root, vis);
    auto it = std::find(vis.begin(), vis.end(), N(st, hItem));
    return it == vis.end() || it == vis.begin() ? nullptr : H(*(it - 1));
}

HTREEITEM CTreeCtrl::GetFirstVisibleItem() const {
    TreeState* st = ST;
    if (!st) return nullptr;
    std::vector<TNode*> vis;
    Visible(&st->root, vis);
    return st->top < static_cast<int>(vis.size()) ? H(vis[static_cast<size_t>(st->top)]) : nullptr;
}

HTREEITEM CTreeCtrl::GetSelectedItem() const {
    TreeState* st = ST;
    return st ? H(st->selected) : nullptr;
}

HTREEITEM CTreeCtrl::GetDropHilightItem() const {
    TreeState* st = ST;
    return st ? H(st->drop) : nullptr;
}

HTREEITEM CTreeCtrl::GetNextItem(HTREEITEM hItem, UINT nCode) const {
    switch (nCode) {
        case TVGN_ROOT: return GetRootItem();
        case TVGN_NEXT: return GetNextSiblingItem(hItem);
        case TVGN_PREVIOUS: return GetPrevSiblingItem(hItem);
        case TVGN_PARENT: return GetParentItem(hItem);
        case TVGN_CHILD: return GetChildItem(hItem);
        case TVGN_FIRSTVISIBLE: return GetFirstVisibleItem();
        case TVGN_NEXTVISIBLE: return GetNextVisibleItem(hItem);
        case TVGN_PREVIOUSVISIBLE: return GetPrevVisibleItem(hItem);
        case TVGN_DROPHILITE: return GetDropHilightItem();
        case TVGN_CARET: return GetSelectedItem();
        default: return nullptr;
    }
}

BOOL CTreeCtrl::SelectItem(HTREEITEM hItem) {
    TreeState* st = ST;
    if (!st) return FALSE;
    TNode* n = hItem ? N(st, hItem) : nullptr;
    if (hItem && (!n || !n->parent)) return FALSE;
    return afx::TreeSelect(m_hWnd, st, n, TVC_UNKNOWN);
}

BOOL CTreeCtrl::SelectDropTarget(HTREEITEM hItem) {
    TreeState* st = ST;
    if (!st) return FALSE;
    TNode* n = hItem ? N(st, hItem) : nullptr;
    if (hItem && (!n || !n->parent)) return FALSE;
    if (st->drop) st->drop->state &= ~TVIS_DROPHILITED;
    st->drop = n;
    if (n) n->state |= TVIS_DROPHILITED;
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return TRUE;
}

BOOL CTreeCtrl::Select(HTREEITEM hItem, UINT nCode) {
    if (nCode == TVGN_CARET) return SelectItem(hItem);
    if (nCode == TVGN_DROPHILITE) return SelectDropTarget(hItem);
    if (nCode == TVGN_FIRSTVISIBLE) return EnsureVisible(hItem);
    return FALSE;
}

BOOL CTreeCtrl::Expand(HTREEITEM hItem, UINT nCode) {
    TreeState* st = ST;
    TNode* n = N(st, hItem);
    if (!n || !n->parent) return FALSE;
    if (nCode == TVE_EXPAND) n->state |= TVIS_EXPANDED | TVIS_EXPANDEDONCE;
    else if (nCode == TVE_COLLAPSE) n->state &= ~TVIS_EXPANDED;
    else if (nCode == TVE_TOGGLE) n->state ^= TVIS_EXPANDED;
    else return FALSE;
    UpdateScroll(m_hWnd, st);
    return TRUE;
}

BOOL CTreeCtrl::EnsureVisible(HTREEITEM hItem) {
    TreeState* st = ST;
    TNode* n = N(st, hItem);
    if (!n || !n->parent) return FALSE;
    ExpandParents(n);
    std::vector<TNode*> vis;
    Visible(&st->root, vis);
    int row = static_cast<int>(std::find(vis.begin(), vis.end(), n) - vis.begin());
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    int page = std::max(1, static_cast<int>(rc.bottom) / kTreeRowHeight);
    if (row < st->top) st->top = row;
    else if (row >= st->top + page) st->top = row - page + 1;
    UpdateScroll(m_hWnd, st);
    return TRUE;
}

BOOL CTreeCtrl::SortChildren(HTREEITEM hItem) {
    TreeState* st = ST;
    TNode* n = N(st, hItem ? hItem : TVI_ROOT);
    if (!n) return FALSE;
    std::stable_sort(n->kids.begin(), n->kids.end(),
                     [](const TNode* a, const TNode* b) { return afx::CompareItems(a->text, b->text) < 0; });
    UpdateScroll(m_hWnd, st);
    return TRUE;
}

CEdit* CTreeCtrl::EditLabel(HTREEITEM hItem) {
    TreeState* st = ST;
    TNode* n = N(st, hItem);
    HWND e = n ? BeginEdit(m_hWnd, st, n) : nullptr;
    return static_cast<CEdit*>(CWnd::FromHandle(e));
}

CEdit* CTreeCtrl::GetEditControl() const {
    TreeState* st = ST;
    return st && st->edit ? static_cast<CEdit*>(CWnd::FromHandle(st->edit)) : nullptr;
}

BOOL CTreeCtrl::EndEditLabelNow(BOOL fCancelWithoutSave) {
    TreeState* st = ST;
    if (!st || !st->editing) return FALSE;
    EndEdit(m_hWnd, st, fCancelWithoutSave != FALSE);
    return TRUE;
}

HTREEITEM CTreeCtrl::HitTest(CPoint pt, UINT* pFlags) const {
    TreeState* st = ST;
    return st ? afx::TreeHitTest(m_hWnd, st, pt, pFlags) : nullptr;
}

HTREEITEM CTreeCtrl::HitTest(TVHITTESTINFO* p) const {
    if (!p) return nullptr;
    p->hItem = HitTest(CPoint(p->pt), &p->flags);
    return p->hItem;
}

BOOL CTreeCtrl::GetItemRect(HTREEITEM hItem, LPRECT lpRect, BOOL bTextOnly) const {
    TreeState* st = ST;
    TNode* n = N(st, hItem);
    return n && n->parent && lpRect && afx::TreeItemRect(m_hWnd, st, n, lpRect, bTextOnly != FALSE);
}

UINT CTreeCtrl::GetVisibleCount() const {
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    return static_cast<UINT>(rc.bottom / kTreeRowHeight);
}

CImageList* CTreeCtrl::SetImageList(CImageList* pImageList, int nImageListType) {
    TreeState* st = ST;
    if (!st || nImageListType < 0 || nImageListType > 2) return nullptr;
    HIMAGELIST old = st->images[nImageListType];
    st->images[nImageListType] = pImageList ? pImageList->m_hImageList : nullptr;
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return CImageList::FromHandle(old);
}

CImageList* CTreeCtrl::GetImageList(int nImageListType) const {
    TreeState* st = ST;
    return st && nImageListType >= 0 && nImageListType <= 2 ? CImageList::FromHandle(st->images[nImageListType]) : nullptr;
}

CImageList* CTreeCtrl::CreateDragImage(HTREEITEM hItem) {
    TreeState* st = ST;
    TNode* n = N(st, hItem);
    if (!n || !n->parent) return nullptr;
    HIMAGELIST icons = st->images[TVSIL_NORMAL];
    return afx::NewDragImage((icons ? 18 : 0) + TextWidth(n->text), kTreeRowHeight, icons, n->image, n->text);
}

std::string CTreeCtrl::Dump() const {
    TreeState* st = ST;
    std::string out;
    if (!st) return out;
    std::function<void(const TNode*, int)> walk = [&](const TNode* p, int depth) {
        for (const TNode* k : p->kids) {
            out += std::string(static_cast<size_t>(depth) * 2, ' ') + (k == st->selected ? "*" : "") + k->text + " | " +
                   std::to_string(static_cast<long long>(k->data)) + " | " + std::to_string(k->image) + "," +
                   std::to_string(k->selImage) + ((k->state & TVIS_EXPANDED) && !k->kids.empty() ? " +" : "") + "\n";
            walk(k, depth + 1);
        }
    };
    walk(&st->root, 0);
    return out;
}
