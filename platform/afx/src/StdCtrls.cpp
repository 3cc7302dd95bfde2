// The procedures of the standard control classes and their wrappers.
#include "afx/StdCtrls.h"
#include "afx/Cursor.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "CtrlInternal.h"
#include "WndInternal.h"
#include "afx/DateTimeCtrl.h"

IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CComboBox, CWnd)
IMPLEMENT_DYNAMIC(CListBox, CWnd)
IMPLEMENT_DYNAMIC(CScrollBar, CWnd)
IMPLEMENT_DYNAMIC(CDateTimeCtrl, CWnd)

namespace afx {

void NotifyParent(HWND hCtl, UINT code) {
    HWND parent = GetParent(hCtl);
    if (parent) SendMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hCtl), code), reinterpret_cast<LPARAM>(hCtl));
}

LRESULT NotifyParent(HWND hCtl, NMHDR* hdr, UINT code) {
    hdr->hwndFrom = hCtl;
    hdr->idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(hCtl));
    hdr->code = code;
    HWND parent = GetParent(hCtl);
    return parent ? SendMessageA(parent, WM_NOTIFY, hdr->idFrom, reinterpret_cast<LPARAM>(hdr)) : 0;
}

int CompareItems(const std::string& a, const std::string& b) { return CString(a).CompareNoCase(CString(b)); }

std::string CutGbk(const std::string& s, size_t n) {
    if (s.size() <= n) return s;
    size_t i = 0;
    while (i < n) {
        size_t step = static_cast<unsigned char>(s[i]) >= 0x81 && i + 1 < s.size() ? 2 : 1;
        if (i + step > n) break;
        i += step;
    }
    return s.substr(0, i);
}

}  // namespace afx

namespace {

template <class T>
T* State(HWND h) {
    return static_cast<T*>(GetWindowExtra(h));
}

// Text set by code changes the record and repaints only when it differs; it never notifies.
LRESULT SetTextQuietly(HWND h, LPARAM lParam) {
    std::string now = GetWindowTextRaw(h), next = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
    if (now == next) return TRUE;
    DefWindowProcA(h, WM_SETTEXT, 0, lParam);
    InvalidateRect(h, nullptr, TRUE);
    return TRUE;
}

DWORD Style(HWND h) { return static_cast<DWORD>(GetWindowLongPtrA(h, GWL_STYLE)); }

// ---- Button ---------------------------------------------------------------------------------------

struct ButtonState {
    int check = BST_UNCHECKED;
    bool pushed = false;
    HANDLE image = nullptr;
};

void Click(HWND h) {
    DWORD type = Style(h) & BS_TYPEMASK;
    ButtonState* st = State<ButtonState>(h);
    if (type == BS_GROUPBOX) return;
    if (type != BS_OWNERDRAW && GetFocus() != h) SetFocus(h);
    if (!IsWindow(h)) return;
    if (type == BS_AUTOCHECKBOX) st->check = st->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
    if (type == BS_AUTO3STATE) st->check = (st->check + 1) % 3;
    if (type == BS_AUTORADIOBUTTON) {
        // Check this one and clear the other auto radio buttons of its WS_GROUP run.
        std::vector<HWND> kids = GetChildWindows(GetParent(h));
        size_t i = std::find(kids.begin(), kids.end(), h) - kids.begin();
        size_t first = i;
        while (first > 0 && first < kids.size() && !(Style(kids[first]) & WS_GROUP)) --first;
        for (size_t k = first; k < kids.size(); ++k) {
            if (k > first && (Style(kids[k]) & WS_GROUP)) break;
            if ((Style(kids[k]) & BS_TYPEMASK) == BS_AUTORADIOBUTTON && kids[k] != h)
                SendMessageA(kids[k], BM_SETCHECK, BST_UNCHECKED, 0);
        }
        st->check = BST_CHECKED;
    }
    InvalidateRect(h, nullptr, TRUE);
    afx::NotifyParent(h, BN_CLICKED);
}

LRESULT ButtonProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    ButtonState* st = State<ButtonState>(h);
    DWORD type = Style(h) & BS_TYPEMASK;
    switch (msg) {
        case WM_NCCREATE:
            SetWindowExtra(h, new ButtonState());
            return TRUE;
        case WM_NCDESTROY:
            delete st;
            SetWindowExtra(h, nullptr);
            return 0;
        case WM_SETTEXT:
            return SetTextQuietly(h, lParam);
        case BM_GETCHECK:
            return st->check;
        case BM_SETCHECK:
            if (st->check != static_cast<int>(wParam)) InvalidateRect(h, nullptr, TRUE);
            st->check = static_cast<int>(wParam);
            return 0;
        case BM_GETSTATE:
            return st->check | (st->pushed ? 4 : 0) | (GetFocus() == h ? 8 : 0);
        case BM_SETSTATE:
            st->pushed = wParam != 0;
            return 0;
        case BM_SETSTYLE:
            SetWindowLongPtrA(h, GWL_STYLE, static_cast<LONG_PTR>((Style(h) & ~0xFFFFu) | (wParam & 0xFFFFu)));
            if (lParam) InvalidateRect(h, nullptr, TRUE);
            return 0;
        case BM_SETIMAGE: {
            HANDLE old = st->image;
            st->image = reinterpret_cast<HANDLE>(lParam);
            InvalidateRect(h, nullptr, TRUE);
            return reinterpret_cast<LRESULT>(old);
        }
        case BM_GETIMAGE:
            return reinterpret_cast<LRESULT>(st->image);
        case BM_CLICK:
            if (!IsWindowEnabled(h) || !IsWindowVisible(h)) return 0;
            Click(h);
            return 0;
        case WM_LBUTTONUP:
            Click(h);
            return 0;
        case WM_LBUTTONDBLCLK:
            if (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON || (Style(h) & BS_NOTIFY))
                afx::NotifyParent(h, BN_DOUBLECLICKED);
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_SPACE) Click(h);
            return 0;
        case WM_SETFOCUS:
            if (Style(h) & BS_NOTIFY) afx::NotifyParent(h, BN_SETFOCUS);
            return 0;
        case WM_KILLFOCUS:
            if (Style(h) & BS_NOTIFY) afx::NotifyParent(h, BN_KILLFOCUS);
            return 0;
        case WM_GETDLGCODE:
            if (type == BS_DEFPUSHBUTTON) return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
            if (type == BS_PUSHBUTTON || type == BS_OWNERDRAW) return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
            if (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON) return DLGC_BUTTON | DLGC_RADIOBUTTON;
            if (type == BS_GROUPBOX) return DLGC_STATIC;
            return DLGC_BUTTON;
        case WM_NCHITTEST:
            return type == BS_GROUPBOX ? HTTRANSPARENT : HTCLIENT;
        default:
            return DefWindowProcA(h, msg, wParam, lParam);
    }
}

// ---- Edit -----------------------------------------------------------------------------------------

struct EditState {
    int selStart = 0, selEnd = 0;
    UINT limit = 30000;
    int lead = -1;  // a GBK lead byte typed, waiting for its trail byte
};

void ReplaceSelection(HWND h, EditState* st, const std::string& in, bool notify) {
    std::string text = GetWindowTextRaw(h);
    int n = static_cast<int>(text.size());
    int a = std::max(0, std::min(st->selStart, n)), b = std::max(a, std::min(st->selEnd, n));
    size_t room = st->limit > text.size() - static_cast<size_t>(b - a) ? st->limit - (text.size() - static_cast<size_t>(b - a)) : 0;
    std::string add = afx::CutGbk(in, room);
    std::string next = text.substr(0, static_cast<size_t>(a)) + add + text.substr(static_cast<size_t>(b));
    DefWindowProcA(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(next.c_str()));
    st->selStart = st->selEnd = a + static_cast<int>(add.size());
    InvalidateRect(h, nullptr, TRUE);
    if (add.size() < in.size()) afx::NotifyParent(h, EN_MAXTEXT);
    if (notify && next != text) {
        afx::NotifyParent(h, EN_UPDATE);
        if (IsWindow(h)) afx::NotifyParent(h, EN_CHANGE);
    }
}

LRESULT EditProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    EditState* st = State<EditState>(h);
    switch (msg) {
        case WM_NCCREATE:
            SetWindowExtra(h, new EditState());
            return TRUE;
        case WM_NCDESTROY:
            delete st;
            SetWindowExtra(h, nullptr);
            return 0;
        case WM_SETTEXT:
            st->selStart = st->selEnd = 0;
            return SetTextQuietly(h, lParam);
        case EM_SETSEL: {
            int n = static_cast<int>(GetWindowTextRaw(h).size());
            int a = static_cast<int>(static_cast<intptr_t>(wParam)), b = static_cast<int>(lParam);
            if (a == -1) {
                st->selStart = st->selEnd = std::min(st->selEnd, n);
                return 0;
            }
            if (b < 0 || b > n) b = n;
            a = std::max(0, std::min(a, n));
            if (a > b) std::swap(a, b);
            st->selStart = a;
            st->selEnd = b;
            return 0;
        }
        case EM_GETSEL:
            if (wParam) *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(st->selStart);
            if (lParam) *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(st->selEnd);
            return MAKELONG(st->selStart, st->selEnd);
        case EM_LIMITTEXT:
            st->limit = wParam ? static_cast<UINT>(wParam) : 0x7FFFFFFE;
            return 0;
        case EM_GETLIMITTEXT:
            return st->limit;
        case EM_SETREADONLY:
            SetWindowLongPtrA(h, GWL_STYLE, static_cast<LONG_PTR>(wParam ? (Style(h) | ES_READONLY) : (Style(h) & ~ES_READONLY)));
            InvalidateRect(h, nullptr, TRUE);
            return TRUE;
        case EM_REPLACESEL:
            ReplaceSelection(h, st, lParam ? reinterpret_cast<LPCSTR>(lParam) : "", true);
            return 0;
        case WM_CHAR: {
            if (Style(h) & ES_READONLY) return 0;
            unsigned char c = static_cast<unsigned char>(wParam);
            if (c == VK_BACK) {
                if (st->selStart == st->selEnd && st->selStart > 0) {
                    std::string t = GetWindowTextRaw(h);
                    // Step back over a whole character.
                    int p = 0, prev = 0;
                    while (p < st->selStart) {
                        prev = p;
                        p += static_cast<unsigned char>(t[static_cast<size_t>(p)]) >= 0x81 ? 2 : 1;
                    }
                    st->selStart = prev;
                }
                ReplaceSelection(h, st, "", true);
                return 0;
            }
            if (c < 0x20) return 0;
            if (st->lead >= 0) {
                std::string two{static_cast<char>(st->lead), static_cast<char>(c)};
                st->lead = -1;
                ReplaceSelection(h, st, two, true);
                return 0;
            }
            if (c >= 0x81) {
                st->lead = c;
                return 0;
            }
            if ((Style(h) & ES_NUMBER) && (c < '0' || c > '9')) return 0;
            ReplaceSelection(h, st, std::string(1, static_cast<char>(c)), true);
            return 0;
        }
        case WM_KEYDOWN:
            if (wParam == VK_DELETE && !(Style(h) & ES_READONLY)) {
                std::string t = GetWindowTextRaw(h);
                if (st->selStart == st->selEnd && st->selEnd < static_cast<int>(t.size()))
                    st->selEnd += static_cast<unsigned char>(t[static_cast<size_t>(st->selEnd)]) >= 0x81 ? 2 : 1;
                ReplaceSelection(h, st, "", true);
            }
            return 0;
        case WM_SETFOCUS:
            afx::NotifyParent(h, EN_SETFOCUS);
            return 0;
        case WM_KILLFOCUS:
            afx::NotifyParent(h, EN_KILLFOCUS);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_HASSETSEL | DLGC_WANTCHARS | DLGC_WANTARROWS |
                   ((Style(h) & ES_MULTILINE) && (Style(h) & ES_WANTRETURN) ? DLGC_WANTALLKEYS : 0);
        default:
            return DefWindowProcA(h, msg, wParam, lParam);
    }
}

// ---- Static ---------------------------------------------------------------------------------------

LRESULT StaticProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_SETTEXT:
            return SetTextQuietly(h, lParam);
        case STM_SETIMAGE: {
            HANDLE old = GetWindowExtra(h);
            SetWindowExtra(h, reinterpret_cast<void*>(lParam));
            InvalidateRect(h, nullptr, TRUE);
            return reinterpret_cast<LRESULT>(old);
        }
        case STM_GETIMAGE:
            return reinterpret_cast<LRESULT>(GetWindowExtra(h));
        case WM_NCHITTEST:
            return (Style(h) & SS_NOTIFY) ? HTCLIENT : HTTRANSPARENT;
        case WM_LBUTTONUP:
            if (Style(h) & SS_NOTIFY) afx::NotifyParent(h, STN_CLICKED);
            return 0;
        case WM_LBUTTONDBLCLK:
            if (Style(h) & SS_NOTIFY) afx::NotifyParent(h, STN_DBLCLK);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_STATIC;
        default:
            return DefWindowProcA(h, msg, wParam, lParam);
    }
}

// ---- Combo box and list box ---------------------------------------------------------------------

struct Item {
    std::string text;
    DWORD_PTR data = 0;
    bool sel = false;
};

struct ListState {
    std::vector<Item> items;
    int cur = -1;
    int top = 0;
    int anchor = -1;
    bool dropped = false;
    UINT limit = 0;
    bool ownBar = false;  // a list box made with WS_VSCROLL: its bar shows while rows lie out of view
};

bool HasStrings(HWND h, bool combo) {
    DWORD s = Style(h);
    if (combo) return !(s & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) || (s & CBS_HASSTRINGS);
    return !(s & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) || (s & LBS_HASSTRINGS);
}

int Insert(HWND h, ListState* st, int at, LPARAM lParam, bool combo, bool sorted) {
    Item it;
    if (HasStrings(h, combo)) it.text = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
    else it.data = static_cast<DWORD_PTR>(lParam);
    int n = static_cast<int>(st->items.size());
    if (sorted && HasStrings(h, combo)) {
        at = 0;
        while (at < n && afx::CompareItems(st->items[static_cast<size_t>(at)].text, it.text) <= 0) ++at;
    } else if (at < 0 || at > n) {
        if (at > n) return -1;
        at = n;
    }
    st->items.insert(st->items.begin() + at, it);
    if (st->cur >= at) ++st->cur;
    InvalidateRect(h, nullptr, TRUE);
    return at;
}

int Find(const ListState* st, int after, LPCSTR s, bool exact) {
    int n = static_cast<int>(st->items.size());
    if (!s || n == 0) return -1;
    CString key(s);
    int len = key.GetLength();
    for (int k = 1; k <= n; ++k) {
        int i = ((after < 0 ? -1 : after) + k) % n;
        const std::string& t = st->items[static_cast<size_t>(i)].text;
        if (exact ? CString(t).CompareNoCase(key) == 0 : CString(t.substr(0, static_cast<size_t>(len))).CompareNoCase(key) == 0)
            return i;
    }
    return -1;
}

LRESULT CopyText(const ListState* st, WPARAM i, LPARAM buf) {
    if (i >= st->items.size()) return -1;
    const std::string& t = st->items[i].text;
    if (buf) std::memcpy(reinterpret_cast<char*>(buf), t.c_str(), t.size() + 1);
    return static_cast<LRESULT>(t.size());
}

void ComboShowSelection(HWND h, ListState* st) {
    std::string t = st->cur >= 0 ? st->items[static_cast<size_t>(st->cur)].text : std::string();
    SetTextQuietly(h, reinterpret_cast<LPARAM>(t.c_str()));
    InvalidateRect(h, nullptr, TRUE);
}

LRESULT ComboProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    ListState* st = State<ListState>(h);
    switch (msg) {
        case WM_NCCREATE:
            // The scroll styles of a combo box belong to its drop-down list, not to the box.
            SetWindowLongPtrA(h, GWL_STYLE, static_cast<LONG_PTR>(Style(h) & ~(WS_VSCROLL | WS_HSCROLL)));
            SetWindowExtra(h, new ListState());
            DefWindowProcA(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
            return TRUE;
        case WM_NCDESTROY:
            delete st;
            SetWindowExtra(h, nullptr);
            return 0;
        case CB_ADDSTRING:
            return Insert(h, st, -1, lParam, true, (Style(h) & CBS_SORT) != 0);
        case CB_INSERTSTRING:
            return Insert(h, st, static_cast<int>(static_cast<intptr_t>(wParam)), lParam, true, false);
        case CB_DELETESTRING:
            if (wParam >= st->items.size()) return CB_ERR;
            st->items.erase(st->items.begin() + static_cast<std::ptrdiff_t>(wParam));
            if (st->cur == static_cast<int>(wParam)) {
                st->cur = -1;
                ComboShowSelection(h, st);
            } else if (st->cur > static_cast<int>(wParam)) {
                --st->cur;
            }
            return static_cast<LRESULT>(st->items.size());
        case CB_RESETCONTENT:
            st->items.clear();
            st->cur = -1;
            ComboShowSelection(h, st);
            return 0;
        case CB_GETCOUNT:
            return static_cast<LRESULT>(st->items.size());
        case CB_GETCURSEL:
            return st->cur;
        case CB_SETCURSEL:
            if (static_cast<intptr_t>(wParam) < 0 || wParam >= st->items.size()) {
                st->cur = -1;
                ComboShowSelection(h, st);
                return CB_ERR;
            }
            st->cur = static_cast<int>(wParam);
            ComboShowSelection(h, st);
            return st->cur;
        case CB_GETLBTEXT:
            if (!HasStrings(h, true) && wParam < st->items.size()) {
                if (lParam) *reinterpret_cast<DWORD_PTR*>(lParam) = st->items[wParam].data;
                return sizeof(DWORD_PTR);
            }
            return CopyText(st, wParam, lParam);
        case CB_GETLBTEXTLEN:
            return CopyText(st, wParam, 0);
        case CB_GETITEMDATA:
            return wParam < st->items.size() ? static_cast<LRESULT>(st->items[wParam].data) : CB_ERR;
        case CB_SETITEMDATA:
            if (wParam >= st->items.size()) return CB_ERR;
            st->items[wParam].data = static_cast<DWORD_PTR>(lParam);
            return TRUE;
        case CB_FINDSTRING:
        case CB_FINDSTRINGEXACT:
            return Find(st, static_cast<int>(static_cast<intptr_t>(wParam)), reinterpret_cast<LPCSTR>(lParam), msg == CB_FINDSTRINGEXACT);
        case CB_SELECTSTRING: {
            int i = Find(st, static_cast<int>(static_cast<intptr_t>(wParam)), reinterpret_cast<LPCSTR>(lParam), false);
            if (i < 0) return CB_ERR;
            st->cur = i;
            ComboShowSelection(h, st);
            return i;
        }
        case CB_SHOWDROPDOWN:
            if (st->dropped != (wParam != 0)) {
                st->dropped = wParam != 0;
                afx::NotifyParent(h, st->dropped ? CBN_DROPDOWN : CBN_CLOSEUP);
            }
            return TRUE;
        case CB_LIMITTEXT:
            st->limit = static_cast<UINT>(wParam);
            return TRUE;
        case 0x0157:  // CB_GETDROPPEDSTATE
            return st->dropped;
        case AFXM_USER_SELECT:
            if (wParam >= st->items.size()) return CB_ERR;
            if (st->cur != static_cast<int>(wParam)) {
                st->cur = static_cast<int>(wParam);
                ComboShowSelection(h, st);
                afx::NotifyParent(h, CBN_SELCHANGE);
            }
            if (IsWindow(h)) afx::NotifyParent(h, CBN_SELENDOK);
            return st->cur;
        case WM_SETTEXT:
            if ((Style(h) & 3) == CBS_DROPDOWNLIST) return CB_ERR;
            return SetTextQuietly(h, lParam);
        case EM_REPLACESEL: {
            // Typing into the edit part of a drop-down combo.
            std::string t = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
            if (st->limit) t = afx::CutGbk(t, st->limit);
            SetTextQuietly(h, reinterpret_cast<LPARAM>(t.c_str()));
            afx::NotifyParent(h, CBN_EDITUPDATE);
            if (IsWindow(h)) afx::NotifyParent(h, CBN_EDITCHANGE);
            return 0;
        }
        case WM_SETFOCUS:
            afx::NotifyParent(h, CBN_SETFOCUS);
            return 0;
        case WM_KILLFOCUS:
            afx::NotifyParent(h, CBN_KILLFOCUS);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        default:
            return DefWindowProcA(h, msg, wParam, lParam);
    }
}

bool MultiSel(HWND h) { return (Style(h) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0; }

void ListSelect(HWND h, ListState* st, int i, bool notify) {
    int n = static_cast<int>(st->items.size());
    if (i < 0 || i >= n) return;
    bool changed;
    if (MultiSel(h)) {
        Item& it = st->items[static_cast<size_t>(i)];
        if (Style(h) & LBS_MULTIPLESEL) {
            it.sel = !it.sel;
            changed = true;
        } else {
            changed = false;
            for (int k = 0; k < n; ++k) {
                bool want = k == i;
                if (st->items[static_cast<size_t>(k)].sel != want) changed = true;
                st->items[static_cast<size_t>(k)].sel = want;
            }
        }
        st->cur = i;
    } else {
        changed = st->cur != i;
        st->cur = i;
    }
    InvalidateRect(h, nullptr, TRUE);
    if (notify && changed && (Style(h) & LBS_NOTIFY)) afx::NotifyParent(h, LBN_SELCHANGE);
}

// A list box's own bar shows only while its rows do not all fit, as the system's list box does, so
// that a list that fits keeps its whole width for its rows.
void UpdateListBar(HWND h, ListState* st) {
    if (!st || !st->ownBar) return;
    RECT rc;
    GetClientRect(h, &rc);
    const int rows = std::max(1, static_cast<int>(rc.bottom) / afx::kItemHeight);
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, static_cast<int>(st->items.size()) - 1, static_cast<UINT>(rows), st->top, 0};
    SetScrollInfo(h, SB_VERT, &si, FALSE);
}

LRESULT ListBoxProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam);

LRESULT ListProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    const LRESULT r = ListBoxProc(h, msg, wParam, lParam);
    switch (msg) {
        case WM_NCCREATE:
            if (ListState* st = State<ListState>(h)) {
                st->ownBar = (Style(h) & WS_VSCROLL) != 0;
                UpdateListBar(h, st);
            }
            break;
        case LB_ADDSTRING:
        case LB_INSERTSTRING:
        case LB_DELETESTRING:
        case LB_RESETCONTENT:
        case 0x0197:  // LB_SETTOPINDEX
            UpdateListBar(h, State<ListState>(h));
            break;
        default:
            break;
    }
    return r;
}

LRESULT ListBoxProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    ListState* st = State<ListState>(h);
    int n = st ? static_cast<int>(st->items.size()) : 0;
    int wi = static_cast<int>(static_cast<intptr_t>(wParam));
    switch (msg) {
        case WM_NCCREATE:
            SetWindowExtra(h, new ListState());
            return TRUE;
        case WM_NCDESTROY:
            delete st;
            SetWindowExtra(h, nullptr);
            return 0;
        case LB_ADDSTRING:
            return Insert(h, st, -1, lParam, false, (Style(h) & LBS_SORT) != 0);
        case LB_INSERTSTRING:
            return Insert(h, st, wi, lParam, false, false);
        case LB_DELETESTRING:
            if (wi < 0 || wi >= n) return LB_ERR;
            st->items.erase(st->items.begin() + wi);
            if (st->cur == wi) st->cur = -1;
            else if (st->cur > wi) --st->cur;
            InvalidateRect(h, nullptr, TRUE);
            return static_cast<LRESULT>(st->items.size());
        case LB_RESETCONTENT:
            st->items.clear();
            st->cur = -1;
            st->top = 0;
            InvalidateRect(h, nullptr, TRUE);
            return 0;
        case LB_GETCOUNT:
            return n;
        case LB_GETTEXT:
            if (!HasStrings(h, false) && wi >= 0 && wi < n) {
                if (lParam) *reinterpret_cast<DWORD_PTR*>(lParam) = st->items[static_cast<size_t>(wi)].data;
                return sizeof(DWORD_PTR);
            }
            return CopyText(st, wParam, lParam);
        case LB_GETTEXTLEN:
            return CopyText(st, wParam, 0);
        case LB_GETITEMDATA:
            return wi >= 0 && wi < n ? static_cast<LRESULT>(st->items[static_cast<size_t>(wi)].data) : LB_ERR;
        case LB_SETITEMDATA:
            if (wi < 0 || wi >= n) return LB_ERR;
            st->items[static_cast<size_t>(wi)].data = static_cast<DWORD_PTR>(lParam);
            return TRUE;
        case LB_GETCURSEL:
            if (MultiSel(h)) return st->cur;
            return st->cur;
        case LB_SETCURSEL:
            if (MultiSel(h)) return LB_ERR;
            if (wi < 0 || wi >= n) {
                st->cur = -1;
                InvalidateRect(h, nullptr, TRUE);
                return wi == -1 ? 0 : LB_ERR;
            }
            st->cur = wi;
            InvalidateRect(h, nullptr, TRUE);
            return wi;
        case LB_GETSEL:
            if (wi < 0 || wi >= n) return LB_ERR;
            return MultiSel(h) ? st->items[static_cast<size_t>(wi)].sel : st->cur == wi;
        case LB_SETSEL: {
            if (!MultiSel(h)) return LB_ERR;
            int i = static_cast<int>(lParam);
            if (i == -1) {
                for (auto& it : st->items) it.sel = wParam != 0;
            } else {
                if (i < 0 || i >= n) return LB_ERR;
                st->items[static_cast<size_t>(i)].sel = wParam != 0;
            }
            InvalidateRect(h, nullptr, TRUE);
            return 0;
        }
        case LB_GETSELCOUNT: {
            if (!MultiSel(h)) return LB_ERR;
            int c = 0;
            for (auto& it : st->items) c += it.sel ? 1 : 0;
            return c;
        }
        case LB_GETSELITEMS: {
            if (!MultiSel(h)) return LB_ERR;
            int c = 0;
            LPINT out = reinterpret_cast<LPINT>(lParam);
            for (int k = 0; k < n && c < wi; ++k)
                if (st->items[static_cast<size_t>(k)].sel) out[c++] = k;
            return c;
        }
        case LB_FINDSTRING:
        case LB_FINDSTRINGEXACT:
            return Find(st, wi, reinterpret_cast<LPCSTR>(lParam), msg == LB_FINDSTRINGEXACT);
        case LB_SELECTSTRING: {
            int i = Find(st, wi, reinterpret_cast<LPCSTR>(lParam), false);
            if (i < 0) return LB_ERR;
            if (MultiSel(h)) st->items[static_cast<size_t>(i)].sel = true;
            st->cur = i;
            return i;
        }
        case LB_GETTOPINDEX:
            return st->top;
        case 0x0197:  // LB_SETTOPINDEX
            if (wi < 0 || (wi >= n && n > 0)) return LB_ERR;
            st->top = wi;
            InvalidateRect(h, nullptr, TRUE);
            return 0;
        case LB_GETITEMRECT: {
            if (wi < 0 || (wi >= n && !(n == 0 && wi == 0))) return LB_ERR;
            RECT rc;
            GetClientRect(h, &rc);
            RECT* out = reinterpret_cast<RECT*>(lParam);
            *out = RECT{0, (wi - st->top) * afx::kItemHeight, rc.right, (wi - st->top + 1) * afx::kItemHeight};
            return 0;
        }
        case 0x01A9: {  // LB_ITEMFROMPOINT
            int y = GET_Y_LPARAM(lParam);
            int i = st->top + (y < 0 ? -1 : y / afx::kItemHeight);
            bool outside = i < 0 || i >= n;
            if (i >= n) i = n - 1;
            if (i < 0) i = 0;
            return MAKELONG(i, outside ? 1 : 0);
        }
        case WM_LBUTTONDOWN: {
            int y = GET_Y_LPARAM(lParam);
            int i = st->top + y / afx::kItemHeight;
            if (GetFocus() != h) SetFocus(h);
            if (IsWindow(h) && y >= 0 && i < n) ListSelect(h, st, i, true);
            return 0;
        }
        case WM_LBUTTONDBLCLK: {
            int y = GET_Y_LPARAM(lParam);
            int i = st->top + y / afx::kItemHeight;
            if (y >= 0 && i < n && (Style(h) & LBS_NOTIFY)) afx::NotifyParent(h, LBN_DBLCLK);
            return 0;
        }
        case AFXM_USER_SELECT:
            if (wi < 0 || wi >= n) return LB_ERR;
            if (GetFocus() != h) SetFocus(h);
            if (IsWindow(h)) ListSelect(h, st, wi, true);
            return 0;
        case AFXM_USER_DBLCLK:
            if (wi < 0 || wi >= n) return LB_ERR;
            if (Style(h) & LBS_NOTIFY) afx::NotifyParent(h, LBN_DBLCLK);
            return 0;
        case WM_SETFOCUS:
            if (Style(h) & LBS_NOTIFY) afx::NotifyParent(h, LBN_SETFOCUS);
            return 0;
        case WM_KILLFOCUS:
            if (Style(h) & LBS_NOTIFY) afx::NotifyParent(h, LBN_KILLFOCUS);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        default:
            return DefWindowProcA(h, msg, wParam, lParam);
    }
}

// ---- Scroll bar -------------------------------------------------------------------------------------

LRESULT ScrollBarProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case AFXM_USER_SCROLL: {
            HWND parent = GetParent(h);
            if (parent) SendMessageA(parent, (Style(h) & SBS_VERT) ? WM_VSCROLL : WM_HSCROLL, wParam, reinterpret_cast<LPARAM>(h));
            return 0;
        }
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS;
        default:
            return DefWindowProcA(h, msg, wParam, lParam);
    }
}

// ---- Date-time picker -----------------------------------------------------------------------------

struct DateState {
    bool none = false;
    SYSTEMTIME st{};
};

void ShowDate(HWND h, DateState* d) {
    char buf[32] = "";
    if (!d->none) std::snprintf(buf, sizeof buf, "%04u-%02u-%02u", d->st.wYear, d->st.wMonth, d->st.wDay);
    SetTextQuietly(h, reinterpret_cast<LPARAM>(buf));
}

bool ValidDate(const SYSTEMTIME& s) {
    static const int days[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (s.wYear < 1601 || s.wYear > 30827 || s.wMonth < 1 || s.wMonth > 12 || s.wDay < 1) return false;
    bool leap = (s.wYear % 4 == 0 && s.wYear % 100 != 0) || s.wYear % 400 == 0;
    return s.wDay <= (s.wMonth == 2 ? (leap ? 29 : 28) : days[s.wMonth - 1]);
}

LRESULT DateProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    DateState* d = State<DateState>(h);
    switch (msg) {
        case WM_NCCREATE: {
            d = new DateState();
            COleDateTime now = COleDateTime::GetCurrentTime();
            d->st.wYear = static_cast<WORD>(now.GetYear());
            d->st.wMonth = static_cast<WORD>(now.GetMonth());
            d->st.wDay = static_cast<WORD>(now.GetDay());
            SetWindowExtra(h, d);
            DefWindowProcA(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
            return TRUE;
        }
        case WM_CREATE:
            ShowDate(h, d);
            return 0;
        case WM_NCDESTROY:
            delete d;
            SetWindowExtra(h, nullptr);
            return 0;
        case DTM_GETSYSTEMTIME:
            if (d->none) return GDT_NONE;
            if (lParam) *reinterpret_cast<SYSTEMTIME*>(lParam) = d->st;
            return GDT_VALID;
        case DTM_SETSYSTEMTIME:
        case AFXM_USER_SETTIME: {
            bool user = msg == AFXM_USER_SETTIME;
            const SYSTEMTIME* s = reinterpret_cast<const SYSTEMTIME*>(lParam);
            bool none = user ? s == nullptr : wParam == GDT_NONE;
            if (none && !(Style(h) & DTS_SHOWNONE)) return FALSE;
            if (!none && (!s || !ValidDate(*s))) return FALSE;
            d->none = none;
            if (!none) d->st = *s;
            ShowDate(h, d);
            if (user) {
                NMDATETIMECHANGE nm{};
                nm.dwFlags = none ? GDT_NONE : GDT_VALID;
                nm.st = d->st;
                afx::NotifyParent(h, &nm.nmhdr, DTN_DATETIMECHANGE);
            }
            return TRUE;
        }
        case WM_KILLFOCUS: {
            NMHDR nm{};
            afx::NotifyParent(h, &nm, NM_KILLFOCUS);
            return 0;
        }
        case WM_SETFOCUS: {
            NMHDR nm{};
            afx::NotifyParent(h, &nm, NM_SETFOCUS);
            return 0;
        }
        case WM_SETTEXT:
            return FALSE;
        default:
            return DefWindowProcA(h, msg, wParam, lParam);
    }
}

struct RegisterClasses {
    RegisterClasses() {
        struct {
            const char* name;
            WNDPROC proc;
            CWnd* (*make)();
        } table[] = {
            {"Button", ButtonProc, [] { return static_cast<CWnd*>(new CButton); }},
            {"Edit", EditProc, [] { return static_cast<CWnd*>(new CEdit); }},
            {"Static", StaticProc, [] { return static_cast<CWnd*>(new CStatic); }},
            {"ComboBox", ComboProc, [] { return static_cast<CWnd*>(new CComboBox); }},
            {"ListBox", ListProc, [] { return static_cast<CWnd*>(new CListBox); }},
            {"ScrollBar", ScrollBarProc, [] { return static_cast<CWnd*>(new CScrollBar); }},
            {"SysDateTimePick32", DateProc, [] { return static_cast<CWnd*>(new CDateTimeCtrl); }},
        };
        for (auto& t : table) {
            WNDCLASS wc{};
            wc.lpfnWndProc = t.proc;
            wc.lpszClassName = t.name;
            // Every control shows the arrow, except an edit, which shows the text cursor.
            wc.hCursor = LoadCursor(nullptr, std::strcmp(t.name, "Edit") == 0 ? IDC_IBEAM : IDC_ARROW);
            RegisterClassA(&wc);
            afx::RegisterWrapperFactory(t.name, t.make);
        }
    }
} g_registerClasses;

}  // namespace

// ---- wrappers -------------------------------------------------------------------------------------

BOOL CButton::Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create("Button", lpszCaption, dwStyle, rect, pParentWnd, nID);
}
int CButton::GetCheck() const { return static_cast<int>(::SendMessageA(m_hWnd, BM_GETCHECK, 0, 0)); }
void CButton::SetCheck(int nCheck) { ::SendMessageA(m_hWnd, BM_SETCHECK, static_cast<WPARAM>(nCheck), 0); }
UINT CButton::GetState() const { return static_cast<UINT>(::SendMessageA(m_hWnd, BM_GETSTATE, 0, 0)); }
void CButton::SetState(BOOL bHighlight) { ::SendMessageA(m_hWnd, BM_SETSTATE, static_cast<WPARAM>(bHighlight), 0); }
UINT CButton::GetButtonStyle() const { return GetStyle() & 0xFFFF; }
void CButton::SetButtonStyle(UINT nStyle, BOOL bRedraw) { ::SendMessageA(m_hWnd, BM_SETSTYLE, nStyle, bRedraw); }
HBITMAP CButton::SetBitmap(HBITMAP hBitmap) {
    return reinterpret_cast<HBITMAP>(::SendMessageA(m_hWnd, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hBitmap)));
}
HBITMAP CButton::GetBitmap() const { return reinterpret_cast<HBITMAP>(::SendMessageA(m_hWnd, BM_GETIMAGE, IMAGE_BITMAP, 0)); }

BOOL CEdit::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create("Edit", "", dwStyle, rect, pParentWnd, nID);
}
void CEdit::SetSel(int nStartChar, int nEndChar, BOOL) { ::SendMessageA(m_hWnd, EM_SETSEL, static_cast<WPARAM>(nStartChar), nEndChar); }
void CEdit::GetSel(int& nStartChar, int& nEndChar) const {
    DWORD a = 0, b = 0;
    ::SendMessageA(m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
    nStartChar = static_cast<int>(a);
    nEndChar = static_cast<int>(b);
}
DWORD CEdit::GetSel() const { return static_cast<DWORD>(::SendMessageA(m_hWnd, EM_GETSEL, 0, 0)); }
void CEdit::ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo) {
    ::SendMessageA(m_hWnd, EM_REPLACESEL, static_cast<WPARAM>(bCanUndo), reinterpret_cast<LPARAM>(lpszNewText));
}
void CEdit::LimitText(int nChars) { ::SendMessageA(m_hWnd, EM_LIMITTEXT, static_cast<WPARAM>(nChars), 0); }
UINT CEdit::GetLimitText() const { return static_cast<UINT>(::SendMessageA(m_hWnd, EM_GETLIMITTEXT, 0, 0)); }
BOOL CEdit::SetReadOnly(BOOL bReadOnly) { return static_cast<BOOL>(::SendMessageA(m_hWnd, EM_SETREADONLY, static_cast<WPARAM>(bReadOnly), 0)); }

BOOL CStatic::Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create("Static", lpszText, dwStyle, rect, pParentWnd, nID);
}
HBITMAP CStatic::SetBitmap(HBITMAP hBitmap) {
    return reinterpret_cast<HBITMAP>(::SendMessageA(m_hWnd, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hBitmap)));
}
HBITMAP CStatic::GetBitmap() const { return reinterpret_cast<HBITMAP>(::SendMessageA(m_hWnd, STM_GETIMAGE, IMAGE_BITMAP, 0)); }

#define SEND(msg, w, l) ::SendMessageA(m_hWnd, msg, (WPARAM)(w), (LPARAM)(l))

BOOL CComboBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create("ComboBox", "", dwStyle, rect, pParentWnd, nID);
}
int CComboBox::GetCount() const { return static_cast<int>(SEND(CB_GETCOUNT, 0, 0)); }
int CComboBox::GetCurSel() const { return static_cast<int>(SEND(CB_GETCURSEL, 0, 0)); }
int CComboBox::SetCurSel(int nSelect) { return static_cast<int>(SEND(CB_SETCURSEL, static_cast<intptr_t>(nSelect), 0)); }
int CComboBox::AddString(LPCTSTR s) { return static_cast<int>(SEND(CB_ADDSTRING, 0, s)); }
int CComboBox::InsertString(int nIndex, LPCTSTR s) { return static_cast<int>(SEND(CB_INSERTSTRING, static_cast<intptr_t>(nIndex), s)); }
int CComboBox::DeleteString(UINT nIndex) { return static_cast<int>(SEND(CB_DELETESTRING, nIndex, 0)); }
void CComboBox::ResetContent() { SEND(CB_RESETCONTENT, 0, 0); }
int CComboBox::GetLBText(int nIndex, LPTSTR lpszText) const { return static_cast<int>(SEND(CB_GETLBTEXT, nIndex, lpszText)); }
void CComboBox::GetLBText(int nIndex, CString& rString) const {
    int n = GetLBTextLen(nIndex);
    if (n < 0) {
        rString.Empty();
        return;
    }
    std::string buf(static_cast<size_t>(n) + 1, '\0');
    SEND(CB_GETLBTEXT, nIndex, &buf[0]);
    buf.resize(static_cast<size_t>(n));
    rString = CString(buf);
}
int CComboBox::GetLBTextLen(int nIndex) const { return static_cast<int>(SEND(CB_GETLBTEXTLEN, nIndex, 0)); }
DWORD_PTR CComboBox::GetItemData(int nIndex) const { return static_cast<DWORD_PTR>(SEND(CB_GETITEMDATA, nIndex, 0)); }
int CComboBox::SetItemData(int nIndex, DWORD_PTR d) { return static_cast<int>(SEND(CB_SETITEMDATA, nIndex, d)); }
void* CComboBox::GetItemDataPtr(int nIndex) const { return reinterpret_cast<void*>(GetItemData(nIndex)); }
int CComboBox::SetItemDataPtr(int nIndex, void* p) { return SetItemData(nIndex, reinterpret_cast<DWORD_PTR>(p)); }
int CComboBox::FindString(int nStartAfter, LPCTSTR s) const { return static_cast<int>(SEND(CB_FINDSTRING, static_cast<intptr_t>(nStartAfter), s)); }
int CComboBox::FindStringExact(int nIndexStart, LPCTSTR s) const {
    return static_cast<int>(SEND(CB_FINDSTRINGEXACT, static_cast<intptr_t>(nIndexStart), s));
}
int CComboBox::SelectString(int nStartAfter, LPCTSTR s) { return static_cast<int>(SEND(CB_SELECTSTRING, static_cast<intptr_t>(nStartAfter), s)); }
void CComboBox::ShowDropDown(BOOL bShowIt) { SEND(CB_SHOWDROPDOWN, bShowIt, 0); }
BOOL CComboBox::GetDroppedState() const { return static_cast<BOOL>(SEND(0x0157, 0, 0)); }
BOOL CComboBox::LimitText(int nMaxChars) { return static_cast<BOOL>(SEND(CB_LIMITTEXT, nMaxChars, 0)); }

BOOL CListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create("ListBox", "", dwStyle, rect, pParentWnd, nID);
}
int CListBox::GetCount() const { return static_cast<int>(SEND(LB_GETCOUNT, 0, 0)); }
int CListBox::AddString(LPCTSTR s) { return static_cast<int>(SEND(LB_ADDSTRING, 0, s)); }
int CListBox::InsertString(int nIndex, LPCTSTR s) { return static_cast<int>(SEND(LB_INSERTSTRING, static_cast<intptr_t>(nIndex), s)); }
int CListBox::DeleteString(UINT nIndex) { return static_cast<int>(SEND(LB_DELETESTRING, nIndex, 0)); }
void CListBox::ResetContent() { SEND(LB_RESETCONTENT, 0, 0); }
int CListBox::GetText(int nIndex, LPTSTR buf) const { return static_cast<int>(SEND(LB_GETTEXT, nIndex, buf)); }
void CListBox::GetText(int nIndex, CString& rString) const {
    int n = GetTextLen(nIndex);
    if (n < 0) {
        rString.Empty();
        return;
    }
    std::string buf(static_cast<size_t>(n) + 1, '\0');
    SEND(LB_GETTEXT, nIndex, &buf[0]);
    buf.resize(static_cast<size_t>(n));
    rString = CString(buf);
}
int CListBox::GetTextLen(int nIndex) const { return static_cast<int>(SEND(LB_GETTEXTLEN, nIndex, 0)); }
DWORD_PTR CListBox::GetItemData(int nIndex) const { return static_cast<DWORD_PTR>(SEND(LB_GETITEMDATA, nIndex, 0)); }
int CListBox::SetItemData(int nIndex, DWORD_PTR d) { return static_cast<int>(SEND(LB_SETITEMDATA, nIndex, d)); }
void* CListBox::GetItemDataPtr(int nIndex) const { return reinterpret_cast<void*>(GetItemData(nIndex)); }
int CListBox::SetItemDataPtr(int nIndex, void* p) { return SetItemData(nIndex, reinterpret_cast<DWORD_PTR>(p)); }
int CListBox::GetCurSel() const { return static_cast<int>(SEND(LB_GETCURSEL, 0, 0)); }
int CListBox::SetCurSel(int nSelect) { return static_cast<int>(SEND(LB_SETCURSEL, static_cast<intptr_t>(nSelect), 0)); }
int CListBox::GetSel(int nIndex) const { return static_cast<int>(SEND(LB_GETSEL, nIndex, 0)); }
int CListBox::SetSel(int nIndex, BOOL bSelect) { return static_cast<int>(SEND(LB_SETSEL, bSelect, nIndex)); }
int CListBox::GetSelCount() const { return static_cast<int>(SEND(LB_GETSELCOUNT, 0, 0)); }
int CListBox::GetSelItems(int nMaxItems, LPINT rgIndex) const { return static_cast<int>(SEND(LB_GETSELITEMS, nMaxItems, rgIndex)); }
int CListBox::FindString(int nStartAfter, LPCTSTR s) const { return static_cast<int>(SEND(LB_FINDSTRING, static_cast<intptr_t>(nStartAfter), s)); }
int CListBox::FindStringExact(int nIndexStart, LPCTSTR s) const {
    return static_cast<int>(SEND(LB_FINDSTRINGEXACT, static_cast<intptr_t>(nIndexStart), s));
}
int CListBox::SelectString(int nStartAfter, LPCTSTR s) { return static_cast<int>(SEND(LB_SELECTSTRING, static_cast<intptr_t>(nStartAfter), s)); }
int CListBox::GetTopIndex() const { return static_cast<int>(SEND(LB_GETTOPINDEX, 0, 0)); }
int CListBox::SetTopIndex(int nIndex) { return static_cast<int>(SEND(0x0197, nIndex, 0)); }
int CListBox::GetItemRect(int nIndex, LPRECT lpRect) const { return static_cast<int>(SEND(LB_GETITEMRECT, nIndex, lpRect)); }
UINT CListBox::ItemFromPoint(CPoint pt, BOOL& bOutside) const {
    DWORD r = static_cast<DWORD>(SEND(0x01A9, 0, MAKELPARAM(pt.x, pt.y)));
    bOutside = HIWORD(r) ? TRUE : FALSE;
    return LOWORD(r);
}

BOOL CScrollBar::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create("ScrollBar", "", dwStyle, rect, pParentWnd, nID);
}

BOOL CDateTimeCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create("SysDateTimePick32", "", dwStyle, rect, pParentWnd, nID);
}
DWORD CDateTimeCtrl::GetTime(LPSYSTEMTIME p) const { return static_cast<DWORD>(SEND(DTM_GETSYSTEMTIME, 0, p)); }
DWORD CDateTimeCtrl::GetTime(COleDateTime& t) const {
    SYSTEMTIME st{};
    DWORD r = GetTime(&st);
    if (r == GDT_VALID) {
        t = COleDateTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond);
    } else {
        t = COleDateTime();
        t.SetStatus(COleDateTime::null);
    }
    return r;
}
BOOL CDateTimeCtrl::SetTime(const SYSTEMTIME* p) { return static_cast<BOOL>(SEND(DTM_SETSYSTEMTIME, p ? GDT_VALID : GDT_NONE, p)); }
BOOL CDateTimeCtrl::SetTime(const COleDateTime& t) {
    if (t.GetStatus() == COleDateTime::invalid) return FALSE;
    if (t.GetStatus() != COleDateTime::valid) return SetTime(static_cast<const SYSTEMTIME*>(nullptr));
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(t.GetYear());
    st.wMonth = static_cast<WORD>(t.GetMonth());
    st.wDay = static_cast<WORD>(t.GetDay());
    st.wHour = static_cast<WORD>(t.GetHour());
    st.wMinute = static_cast<WORD>(t.GetMinute());
    st.wSecond = static_cast<WORD>(t.GetSecond());
    return SetTime(&st);
}
