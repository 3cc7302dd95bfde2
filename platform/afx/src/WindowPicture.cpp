// Draws the window model the way the classic look shows it.
#include "afx/WindowPicture.h"

#include <algorithm>
#include <string>

#include "WndInternal.h"
#include "afx/DateTimeCtrl.h"
#include "afx/ListCtrl.h"
#include "afx/TreeCtrl.h"
#include "win32/gdirecord.h"
#include "win32/windraw.h"

namespace {

const int kCaption = 22;
const COLORREF kFace = RGB(212, 208, 200), kShadow = RGB(128, 128, 128), kHighlight = RGB(10, 36, 106),
               kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0), kGray = RGB(128, 128, 128);

DWORD Style(HWND h) { return static_cast<DWORD>(GetWindowLongPtrA(h, GWL_STYLE)); }
std::string Cls(HWND h) {
    char buf[64] = "";
    GetClassNameA(h, buf, sizeof buf);
    return afx::win32LowerName(buf);
}

void Fill(HDC dc, RECT r, COLORREF c) {
    HBRUSH b = CreateSolidBrush(c);
    FillRect(dc, &r, b);
    DeleteObject(b);
}

void Frame(HDC dc, RECT r, COLORREF c) {
    HBRUSH b = CreateSolidBrush(c);
    FrameRect(dc, &r, b);
    DeleteObject(b);
}

void Text(HDC dc, const std::string& s, RECT r, UINT fmt, COLORREF c) {
    SetTextColor(dc, c);
    SetBkMode(dc, TRANSPARENT);
    // '&' marks a mnemonic: shown without the ampersand.
    std::string t;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '&' && i + 1 < s.size() && s[i + 1] != '&') continue;
        t += s[i];
    }
    DrawTextA(dc, t.c_str(), static_cast<int>(t.size()), &r, fmt | DT_NOPREFIX);
}

void Sunken(HDC dc, RECT r) {
    DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT);
}

void DrawButton(HDC dc, HWND h, RECT r) {
    DWORD type = Style(h) & BS_TYPEMASK;
    std::string text = GetWindowTextRaw(h);
    bool enabled = IsWindowEnabled(h);
    COLORREF ink = enabled ? kBlack : kGray;
    int check = static_cast<int>(SendMessageA(h, BM_GETCHECK, 0, 0));
    if (type == BS_GROUPBOX) {
        RECT f{r.left, r.top + 6, r.right, r.bottom};
        DrawEdge(dc, &f, EDGE_ETCHED, BF_RECT);
        if (!text.empty()) {
            RECT t{r.left + 8, r.top, r.left + 8 + static_cast<int>(text.size()) * 6 + 4, r.top + 13};
            Fill(dc, t, kFace);
            Text(dc, text, t, DT_LEFT | DT_SINGLELINE, ink);
        }
        return;
    }
    if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE) {
        int y = (r.top + r.bottom) / 2 - 6;
        RECT box{r.left, y, r.left + 13, y + 13};
        Fill(dc, box, enabled ? kWhite : kFace);
        Sunken(dc, box);
        if (check) {
            HPEN pen = CreatePen(PS_SOLID, 2, check == BST_INDETERMINATE ? kGray : ink);
            HGDIOBJ old = SelectObject(dc, pen);
            POINT pts[] = {{box.left + 3, y + 6}, {box.left + 5, y + 9}, {box.left + 10, y + 3}};
            Polyline(dc, pts, 3);
            SelectObject(dc, old);
            DeleteObject(pen);
        }
        Text(dc, text, RECT{r.left + 17, r.top, r.right, r.bottom}, DT_LEFT | DT_VCENTER | DT_SINGLELINE, ink);
        return;
    }
    if (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON) {
        int y = (r.top + r.bottom) / 2 - 6;
        HBRUSH white = CreateSolidBrush(enabled ? kWhite : kFace);
        HPEN pen = CreatePen(PS_SOLID, 1, kShadow);
        HGDIOBJ ob = SelectObject(dc, white), op = SelectObject(dc, pen);
        Ellipse(dc, r.left, y, r.left + 12, y + 12);
        if (check) {
            HBRUSH dot = CreateSolidBrush(ink);
            SelectObject(dc, dot);
            Ellipse(dc, r.left + 4, y + 4, r.left + 8, y + 8);
            SelectObject(dc, white);
            DeleteObject(dot);
        }
        SelectObject(dc, ob);
        SelectObject(dc, op);
        DeleteObject(white);
        DeleteObject(pen);
        Text(dc, text, RECT{r.left + 16, r.top, r.right, r.bottom}, DT_LEFT | DT_VCENTER | DT_SINGLELINE, ink);
        return;
    }
    Fill(dc, r, kFace);
    if (type == BS_DEFPUSHBUTTON) Frame(dc, r, kBlack);
    RECT e = r;
    if (type == BS_DEFPUSHBUTTON) InflateRect(&e, -1, -1);
    DrawEdge(dc, &e, EDGE_RAISED, BF_RECT);
    Text(dc, text, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE, ink);
}

void DrawEditLike(HDC dc, HWND h, RECT r, const std::string& text, bool readOnlyLook) {
    bool enabled = IsWindowEnabled(h);
    Fill(dc, r, enabled && !readOnlyLook ? kWhite : kFace);
    if ((Style(h) & WS_BORDER) || (GetWindowLongPtrA(h, GWL_EXSTYLE) & WS_EX_CLIENTEDGE)) Sunken(dc, r);
    DWORD align = Style(h) & (ES_CENTER | ES_RIGHT);
    RECT t{r.left + 3, r.top, r.right - 3, r.bottom};
    std::string shown = (Style(h) & ES_PASSWORD) ? std::string(text.size(), '*') : text;
    Text(dc, shown, t, (align == ES_RIGHT ? DT_RIGHT : align == ES_CENTER ? DT_CENTER : DT_LEFT) | DT_VCENTER | DT_SINGLELINE,
         enabled ? kBlack : kGray);
}

void DrawCombo(HDC dc, HWND h, RECT r) {
    RECT box{r.left, r.top, r.right, std::min(r.bottom, r.top + 18)};
    DrawEditLike(dc, h, box, GetWindowTextRaw(h), false);
    RECT btn{box.right - 17, box.top + 2, box.right - 2, box.bottom - 2};
    Fill(dc, btn, kFace);
    DrawEdge(dc, &btn, EDGE_RAISED, BF_RECT);
    int cx = (btn.left + btn.right) / 2, cy = (btn.top + btn.bottom) / 2;
    for (int i = 0; i < 4; ++i) {
        MoveToEx(dc, cx - 3 + i, cy - 2 + i, nullptr);
        LineTo(dc, cx + 4 - i, cy - 2 + i);
    }
}

void DrawListBox(HDC dc, HWND h, RECT r) {
    Fill(dc, r, kWhite);
    Sunken(dc, r);
    int n = static_cast<int>(SendMessageA(h, LB_GETCOUNT, 0, 0)), top = static_cast<int>(SendMessageA(h, LB_GETTOPINDEX, 0, 0));
    for (int i = top; i < n; ++i) {
        RECT ir;
        SendMessageA(h, LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&ir));
        OffsetRect(&ir, r.left, r.top);
        if (ir.top >= r.bottom - 2) break;
        ir.left += 2;
        ir.right -= 2;
        if (ir.top < r.top + 2) ir.top = r.top + 2;
        int len = static_cast<int>(SendMessageA(h, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0));
        std::string t(static_cast<size_t>(std::max(len, 8)) + 1, '\0');
        SendMessageA(h, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&t[0]));
        t.resize(static_cast<size_t>(std::max(len, 0)));
        bool sel = SendMessageA(h, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0;
        if (sel) Fill(dc, ir, kHighlight);
        Text(dc, t, RECT{ir.left + 2, ir.top, ir.right, ir.bottom}, DT_LEFT | DT_VCENTER | DT_SINGLELINE, sel ? kWhite : kBlack);
    }
}

void DrawScrollBar(HDC dc, RECT r, bool vertical, int min, int max, int page, int pos) {
    Fill(dc, r, RGB(236, 233, 216));
    int len = vertical ? r.bottom - r.top : r.right - r.left, thick = vertical ? r.right - r.left : r.bottom - r.top;
    RECT a = vertical ? RECT{r.left, r.top, r.right, r.top + thick} : RECT{r.left, r.top, r.left + thick, r.bottom};
    RECT b = vertical ? RECT{r.left, r.bottom - thick, r.right, r.bottom} : RECT{r.right - thick, r.top, r.right, r.bottom};
    for (RECT* x : {&a, &b}) {
        Fill(dc, *x, kFace);
        DrawEdge(dc, x, EDGE_RAISED, BF_RECT);
    }
    int track = len - 2 * thick;
    int range = max - min + 1;
    if (track <= 8 || range <= 0) return;
    int thumb = page > 0 ? std::max(8, track * page / range) : thick;
    int span = std::max(1, range - std::max(page, 1));
    int off = thick + (track - thumb) * std::max(0, pos - min) / span;
    RECT t = vertical ? RECT{r.left, r.top + off, r.right, r.top + off + thumb} : RECT{r.left + off, r.top, r.left + off + thumb, r.bottom};
    Fill(dc, t, kFace);
    DrawEdge(dc, &t, EDGE_RAISED, BF_RECT);
}

void DrawOwnBars(HDC dc, HWND h, RECT r) {
    for (int bar : {SB_VERT, SB_HORZ}) {
        if (!IsScrollBarShown(h, bar)) continue;
        SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
        GetScrollInfo(h, bar, &si);
        RECT br = bar == SB_VERT ? RECT{r.right - 16, r.top + 2, r.right - 2, r.bottom - 2} : RECT{r.left + 2, r.bottom - 16, r.right - 2, r.bottom - 2};
        DrawScrollBar(dc, br, bar == SB_VERT, si.nMin, si.nMax, static_cast<int>(si.nPage), si.nPos);
    }
}

void DrawImage(HDC dc, HIMAGELIST il, int i, int x, int y) {
    if (il && i >= 0 && i < ImageList_GetImageCount(il)) ImageList_Draw(il, i, dc, x, y, ILD_TRANSPARENT);
}

void DrawTree(HDC dc, HWND h, RECT r) {
    Fill(dc, r, kWhite);
    Sunken(dc, r);
    auto* tree = static_cast<CTreeCtrl*>(CWnd::FromHandle(h));
    CImageList* images = tree->GetImageList(TVSIL_NORMAL);
    HIMAGELIST il = images ? images->m_hImageList : nullptr;
    for (HTREEITEM it = tree->GetFirstVisibleItem(); it; it = tree->GetNextVisibleItem(it)) {
        RECT lr, full;
        tree->GetItemRect(it, &lr, TRUE);
        tree->GetItemRect(it, &full, FALSE);
        OffsetRect(&lr, r.left, r.top);
        OffsetRect(&full, r.left, r.top);
        if (lr.top >= r.bottom - 2) break;
        if (tree->ItemHasChildren(it) && (Style(h) & TVS_HASBUTTONS)) {
            RECT bx{lr.left - (il ? 18 : 0) - 13, lr.top + 4, lr.left - (il ? 18 : 0) - 4, lr.top + 13};
            Fill(dc, bx, kWhite);
            Frame(dc, bx, kShadow);
            MoveToEx(dc, bx.left + 2, (bx.top + bx.bottom) / 2, nullptr);
            LineTo(dc, bx.right - 2, (bx.top + bx.bottom) / 2);
            if (!(tree->GetItemState(it, TVIS_EXPANDED) & TVIS_EXPANDED)) {
                MoveToEx(dc, (bx.left + bx.right) / 2, bx.top + 2, nullptr);
                LineTo(dc, (bx.left + bx.right) / 2, bx.bottom - 2);
            }
        }
        bool sel = tree->GetSelectedItem() == it, drop = tree->GetDropHilightItem() == it;
        int img = 0, selImg = 0;
        tree->GetItemImage(it, img, selImg);
        DrawImage(dc, il, sel ? selImg : img, lr.left - 18, lr.top + 1);
        if (sel || drop) Fill(dc, lr, sel && GetFocus() != h && !drop ? kFace : kHighlight);
        Text(dc, tree->GetItemText(it).str(), RECT{lr.left + 2, lr.top, lr.right, lr.bottom}, DT_LEFT | DT_VCENTER | DT_SINGLELINE,
             (sel && GetFocus() == h) || drop ? kWhite : kBlack);
    }
    DrawOwnBars(dc, h, r);
}

void DrawListView(HDC dc, HWND h, RECT r) {
    Fill(dc, r, kWhite);
    Sunken(dc, r);
    auto* list = static_cast<CListCtrl*>(CWnd::FromHandle(h));
    bool report = (Style(h) & LVS_TYPEMASK) == LVS_REPORT;
    CImageList* images = list->GetImageList(LVSIL_SMALL);
    HIMAGELIST il = images ? images->m_hImageList : nullptr;
    if (report && !(Style(h) & LVS_NOCOLUMNHEADER)) {
        int x = r.left + 2;
        for (int c = 0; c < list->GetColumnCount(); ++c) {
            RECT hr{x, r.top + 2, x + list->GetColumnWidth(c), r.top + 2 + kListHeaderHeight};
            Fill(dc, hr, kFace);
            DrawEdge(dc, &hr, EDGE_RAISED, BF_RECT);
            Text(dc, list->GetColumnText(c).str(), hr, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS, kBlack);
            x = hr.right;
        }
    }
    for (int i = report ? list->GetTopIndex() : 0; i < list->GetItemCount(); ++i) {
        RECT ir;
        list->GetItemRect(i, &ir, LVIR_BOUNDS);
        OffsetRect(&ir, r.left + 2, r.top + 2);
        if (ir.top >= r.bottom - 2 || ir.left >= r.right - 2) {
            if (report) break;
            continue;
        }
        bool sel = list->GetItemState(i, LVIS_SELECTED | LVIS_DROPHILITED) != 0;
        if (sel && (GetFocus() == h || (Style(h) & LVS_SHOWSELALWAYS))) Fill(dc, ir, GetFocus() == h ? kHighlight : kFace);
        COLORREF ink = sel && GetFocus() == h ? kWhite : kBlack;
        DrawImage(dc, il, list->GetItemImage(i), ir.left + 1, ir.top);
        int x = ir.left + (il ? 18 : 0);
        int columns = report ? std::max(1, list->GetColumnCount()) : 1;
        for (int c = 0; c < columns; ++c) {
            int w = report ? list->GetColumnWidth(c) - (c == 0 && il ? 18 : 0) : kListColumnWidth - (il ? 18 : 0);
            int fmt = DT_LEFT;
            LVCOLUMN dummy{};
            (void)dummy;
            Text(dc, list->GetItemText(i, c).str(), RECT{x + 2, ir.top, x + w - 2, ir.bottom}, fmt | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS, ink);
            x += w;
        }
    }
    DrawOwnBars(dc, h, r);
}

void DrawStatic(HDC dc, HWND h, RECT r) {
    DWORD type = Style(h) & SS_TYPEMASK;
    bool enabled = IsWindowEnabled(h);
    if (Style(h) & SS_SUNKEN || (GetWindowLongPtrA(h, GWL_EXSTYLE) & WS_EX_STATICEDGE)) Sunken(dc, r);
    if (Style(h) & WS_BORDER) Frame(dc, r, kBlack);
    switch (type) {
        case SS_ETCHEDHORZ: {
            RECT e{r.left, r.top, r.right, r.top + 2};
            DrawEdge(dc, &e, EDGE_ETCHED, BF_TOP);
            return;
        }
        case SS_ETCHEDFRAME: DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT); return;
        case SS_BLACKFRAME: Frame(dc, r, kBlack); return;
        case SS_BLACKRECT: Fill(dc, r, kBlack); return;
        case SS_GRAYRECT: Fill(dc, r, kGray); return;
        case SS_WHITERECT: Fill(dc, r, kWhite); return;
        case SS_BITMAP: {
            HBITMAP bmp = reinterpret_cast<HBITMAP>(SendMessageA(h, STM_GETIMAGE, IMAGE_BITMAP, 0));
            BITMAP bm{};
            if (!bmp || !GetObjectA(bmp, sizeof bm, &bm)) return;
            HDC mem = CreateCompatibleDC(dc);
            HGDIOBJ old = SelectObject(mem, bmp);
            BitBlt(dc, r.left, r.top, bm.bmWidth, bm.bmHeight, mem, 0, 0, SRCCOPY);
            SelectObject(mem, old);
            DeleteDC(mem);
            return;
        }
        default: {
            UINT fmt = type == SS_CENTER ? DT_CENTER : type == SS_RIGHT ? DT_RIGHT : DT_LEFT;
            if (Style(h) & SS_CENTERIMAGE) fmt |= DT_VCENTER | DT_SINGLELINE;
            else fmt |= DT_WORDBREAK;
            Text(dc, GetWindowTextRaw(h), r, fmt, enabled ? kBlack : kGray);
        }
    }
}

// A window that paints itself: WM_PAINT on its canvas, copied into the picture over its client area,
// with its own scroll bars beside it.
void DrawByPaint(HDC dc, HWND h, RECT r) {
    InvalidateRect(h, nullptr, TRUE);
    UpdateWindow(h);
    RECT client;
    GetClientRect(h, &client);
    HBITMAP canvas = win32::GetWindowCanvas(h);
    if (canvas) {
        HDC src = GetDC(h);
        BitBlt(dc, r.left, r.top, client.right, client.bottom, src, 0, 0, SRCCOPY);
        ReleaseDC(h, src);
    }
    const bool both = IsScrollBarShown(h, SB_VERT) && IsScrollBarShown(h, SB_HORZ);
    if (both) Fill(dc, RECT{r.left + client.right, r.top + client.bottom, r.right, r.bottom}, kFace);
    for (int bar : {SB_VERT, SB_HORZ}) {
        if (!IsScrollBarShown(h, bar)) continue;
        SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
        GetScrollInfo(h, bar, &si);
        const RECT br = bar == SB_VERT ? RECT{r.left + client.right, r.top, r.right, r.top + client.bottom}
                                       : RECT{r.left, r.top + client.bottom, r.left + client.right, r.bottom};
        DrawScrollBar(dc, br, bar == SB_VERT, si.nMin, si.nMax, static_cast<int>(si.nPage), si.nPos);
    }
}

// The window's whole rectangle, at origin: the controls draw their own bars inside it.
RECT WindowArea(HWND h, POINT origin) {
    RECT wr;
    GetWindowRect(h, &wr);
    return RECT{origin.x, origin.y, origin.x + (wr.right - wr.left), origin.y + (wr.bottom - wr.top)};
}

// A button or a text static that an object of the program subclassed and that paints itself (a picker,
// a grid, a sample the dialog draws on): after a paint its canvas holds what it drew. The screen shows
// such a window from its canvas too.
bool PaintsItself(HWND h, const std::string& cls) {
    if (cls != "button" && cls != "static") return false;
    if (cls == "static") {
        const DWORD t = Style(h) & SS_TYPEMASK;
        if (t == SS_BITMAP || t == SS_ICON || t == SS_OWNERDRAW) return false;
    }
    if (!CWnd::FromHandlePermanent(h)) return false;
    InvalidateRect(h, nullptr, TRUE);
    UpdateWindow(h);
    return win32::GetWindowCanvas(h) != nullptr;
}

void DrawWindow(HDC dc, HWND h, POINT origin) {
    RECT rc = WindowArea(h, origin);
    std::string cls = Cls(h);
    bool children = true;
    if (PaintsItself(h, cls)) DrawByPaint(dc, h, rc);
    else if (cls == "button") DrawButton(dc, h, rc);
    else if (cls == "edit") DrawEditLike(dc, h, rc, GetWindowTextRaw(h), (Style(h) & ES_READONLY) != 0);
    else if (cls == "static" && (Style(h) & SS_TYPEMASK) != SS_OWNERDRAW) DrawStatic(dc, h, rc);
    else if (cls == "combobox") DrawCombo(dc, h, rc);
    else if (cls == "listbox") DrawListBox(dc, h, rc);
    else if (cls == "systreeview32") DrawTree(dc, h, rc);
    else if (cls == "syslistview32") DrawListView(dc, h, rc);
    else if (cls == "sysdatetimepick32") DrawEditLike(dc, h, rc, GetWindowTextRaw(h), false);
    else if (cls == "scrollbar") {
        SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
        GetScrollInfo(h, SB_CTL, &si);
        DrawScrollBar(dc, rc, (Style(h) & SBS_VERT) != 0, si.nMin, si.nMax, static_cast<int>(si.nPage), si.nPos);
    } else if (cls == "#32770") {
        Fill(dc, rc, kFace);
    } else {
        DrawByPaint(dc, h, rc);
    }
    if (!children) return;
    for (HWND c : GetChildWindows(h)) {
        if (!(Style(c) & WS_VISIBLE)) continue;
        RECT cr;
        GetWindowRect(c, &cr);
        POINT o{cr.left, cr.top};
        ScreenToClient(h, &o);
        DrawWindow(dc, c, POINT{origin.x + o.x, origin.y + o.y});
    }
}

}  // namespace

HDC AfxDrawWindowPicture(HWND hWnd) {
    if (!IsWindow(hWnd)) return nullptr;
    const RECT rc = WindowArea(hWnd, POINT{0, 0});
    bool caption = !(Style(hWnd) & WS_CHILD) && (Style(hWnd) & WS_CAPTION) == WS_CAPTION;
    int top = caption ? kCaption : 0;
    HDC dc = win32::CreateImageDC(std::max(1, static_cast<int>(rc.right)), std::max(1, static_cast<int>(rc.bottom) + top));
    if (!dc) return nullptr;
    HFONT font = CreateFontA(-12, 0, 0, 0, 400, 0, 0, 0, 134, 0, 0, 0, 0, "宋体");
    HGDIOBJ oldFont = SelectObject(dc, font);
    if (caption) {
        Fill(dc, RECT{0, 0, rc.right, top}, kHighlight);
        Text(dc, GetWindowTextRaw(hWnd), RECT{6, 0, rc.right - 6, top}, DT_LEFT | DT_VCENTER | DT_SINGLELINE, kWhite);
    }
    DrawWindow(dc, hWnd, POINT{0, top});
    if (caption) {
        RECT all{0, 0, rc.right, rc.bottom + top};
        DrawEdge(dc, &all, EDGE_RAISED, BF_RECT);
    }
    SelectObject(dc, oldFont);
    DeleteObject(font);
    return dc;
}

BOOL AfxWriteWindowPicture(HWND hWnd, const char* path) {
    HDC dc = AfxDrawWindowPicture(hWnd);
    if (!dc) return FALSE;
    BOOL ok = win32::WriteDCToPNG(dc, path);
    DeleteDC(dc);
    return ok;
}
