#include "ui/ColorListCtrl.h"

#include <algorithm>

#include <afx/Dc.h>

IMPLEMENT_DYNAMIC(CColorListCtrl, CListCtrl)

BEGIN_MESSAGE_MAP(CColorListCtrl, CListCtrl)
    ON_WM_LBUTTONDOWN()
    ON_WM_PAINT()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    AFX_ENTRY(WM_REFLECT_BASE + WM_DRAWITEM, 0, 0, 0,
              AFX_THIS(_p)->DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam)); *pResult = TRUE)
END_MESSAGE_MAP()

BOOL CColorListCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    CREATESTRUCT cs{};
    cs.style = static_cast<LONG>(dwStyle);
    if (!PreCreateWindow(cs)) return FALSE;
    return CListCtrl::Create(static_cast<DWORD>(cs.style), rect, pParentWnd, nID);
}

BOOL CColorListCtrl::PreCreateWindow(CREATESTRUCT& cs)
{
    DWORD style = static_cast<DWORD>(cs.style);
    style = (style & ~LVS_TYPEMASK) | LVS_REPORT | LVS_OWNERDRAWFIXED;
    style &= ~LVS_SHOWSELALWAYS;
    cs.style = static_cast<LONG>(style);
    return TRUE;
}

int CColorListCtrl::SetRowColors(const CArray<DWORD, DWORD>& colors)
{
    if (colors.GetSize() == 0) return 0;
    m_RowColors.Copy(colors);
    if (m_hWnd) Invalidate(FALSE);
    return 1;
}

int CColorListCtrl::GetRowColors(CArray<DWORD, DWORD>& out) const
{
    out.RemoveAll();
    out.Copy(m_RowColors);
    return static_cast<int>(out.GetSize());
}

int CColorListCtrl::SetSelectionMode(int nMode)
{
    const int previous = m_nSelectionMode;
    if (nMode >= 0 && nMode <= 2) {
        m_nSelectionMode = nMode;
        if (m_hWnd) Invalidate();
    }
    return previous;
}

int CColorListCtrl::RedrawSelectedRows()
{
    if (!m_hWnd) return 0;
    CRect r;
    const int focused = GetNextItem(-1, LVNI_FOCUSED);
    if (focused >= 0 && GetItemRect(focused, &r, LVIR_BOUNDS)) InvalidateRect(&r, FALSE);
    for (int i = GetNextItem(-1, LVNI_SELECTED); i >= 0; i = GetNextItem(i, LVNI_SELECTED))
        if (GetItemRect(i, &r, LVIR_BOUNDS)) InvalidateRect(&r, FALSE);
    UpdateWindow();
    return 1;
}

void CColorListCtrl::OnLButtonDown(UINT nFlags, CPoint point)
{
    (void)nFlags;
    const int row = HitTest(point);
    if (row >= 0)
        if (CWnd* parent = GetParent()) parent->SendMessage(CLM_ROWCLICKED, 0, static_cast<LPARAM>(row));
    if (m_hWnd) Default();
}

void CColorListCtrl::OnPaint()
{
    // In mode 2 the highlight runs to the client's right edge, past the columns: that strip is not part
    // of any row, so it is invalidated here for the rows to paint over it.
    if (m_nSelectionMode == 2 && IsReportView() && GetItemCount() > 0) {
        CRect client, row;
        GetClientRect(&client);
        if (GetItemRect(0, &row, LVIR_BOUNDS) && row.right < client.right) {
            CRect strip(row.right, client.top, client.right, client.bottom);
            InvalidateRect(&strip, FALSE);
        }
    }
    Default();
}

void CColorListCtrl::OnSetFocus(CWnd* pOldWnd)
{
    Default();
    if (pOldWnd && pOldWnd != this && IsReportView()) RedrawSelectedRows();
}

void CColorListCtrl::OnKillFocus(CWnd* pNewWnd)
{
    Default();
    if (pNewWnd && pNewWnd != this && IsReportView()) RedrawSelectedRows();
}

void CColorListCtrl::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (!lpDrawItemStruct || !m_hWnd) return;
    CDC* dc = CDC::FromHandle(lpDrawItemStruct->hDC);
    if (!dc) return;
    const int item = static_cast<int>(lpDrawItemStruct->itemID);
    if (item < 0 || item >= GetItemCount()) return;
    const int saved = dc->SaveDC();

    const UINT state = GetItemState(item, LVIS_SELECTED | LVIS_FOCUSED | LVIS_DROPHILITED | LVIS_STATEIMAGEMASK);
    const bool focus = GetFocus() == this;
    const bool highlighted =
        (state & LVIS_DROPHILITED) || ((state & LVIS_SELECTED) && (focus || (GetStyle() & LVS_SHOWSELALWAYS)));

    CRect bounds, label, client;
    GetItemRect(item, &bounds, LVIR_BOUNDS);
    GetItemRect(item, &label, LVIR_LABEL);
    GetClientRect(&client);
    const CString text0 = GetItemText(item, 0);
    const int blank = dc->GetTextExtent(CString(" ")).cx;

    CRect area = bounds;
    if (m_nSelectionMode == 0) {
        area = label;
        area.right = std::min<LONG>(label.right, label.left + dc->GetTextExtent(text0).cx + 2 * blank);
    } else if (m_nSelectionMode == 2) {
        area.right = std::max<LONG>(bounds.right, client.right);
    }

    COLORREF textColor = GetSysColor(COLOR_WINDOWTEXT), backColor = GetSysColor(COLOR_WINDOW);
    if (highlighted) {
        textColor = GetSysColor(COLOR_HIGHLIGHTTEXT);
        backColor = GetSysColor(COLOR_HIGHLIGHT);
    }
    dc->SetTextColor(textColor);
    dc->SetBkColor(backColor);
    dc->FillSolidRect(&area, backColor);

    // The swatch: the first column in the row's colour.
    const int firstWidth = GetColumnCount() > 0 ? GetColumnWidth(0) : bounds.Width();
    CRect first(bounds.left, bounds.top, bounds.left + firstWidth, bounds.bottom);
    if (m_RowColors.GetSize() > 0 && item < m_RowColors.GetSize()) {
        dc->FillSolidRect(&first, m_RowColors[item]);
        // The fill leaves the swatch's colour as the background colour: the texts after it would stand on
        // patches of it (a range in black on dark green). They stand on the row's own background.
        dc->SetBkColor(backColor);
    }

    // State image and small icon (with its overlay, blended when highlighted).
    int x = first.left;
    if (CImageList* states = GetImageList(LVSIL_STATE)) {
        const int image = static_cast<int>((state & LVIS_STATEIMAGEMASK) >> 12) - 1;
        if (image >= 0) states->Draw(dc, image, CPoint(x, first.top), ILD_TRANSPARENT);
        x += 16;
    }
    if (CImageList* small = GetImageList(LVSIL_SMALL)) {
        const UINT overlay = GetItemState(item, LVIS_OVERLAYMASK);
        small->Draw(dc, GetItemImage(item), CPoint(x, first.top),
                    ILD_TRANSPARENT | (highlighted ? ILD_BLEND50 : 0u) | overlay);
        x += 16;
    }
    CRect textRect(x + blank, first.top, first.right - blank, first.bottom);
    dc->DrawText(text0, &textRect, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);

    // Further columns: in mode 0 they are never highlighted.
    if (m_nSelectionMode == 0) {
        dc->SetTextColor(GetSysColor(COLOR_WINDOWTEXT));
        dc->SetBkColor(GetSysColor(COLOR_WINDOW));
    }
    int left = first.right;
    for (int c = 1; c < GetColumnCount(); ++c) {
        CRect col(left, bounds.top, left + GetColumnWidth(c), bounds.bottom);
        left = col.right;
        if (m_nSelectionMode == 0) dc->FillSolidRect(&col, GetSysColor(COLOR_WINDOW));
        CRect t(col.left + 2 * blank, col.top, col.right - 2 * blank, col.bottom);
        dc->DrawText(GetItemText(item, c), &t, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }

    if ((state & LVIS_FOCUSED) && focus) dc->DrawFocusRect(&area);
    dc->RestoreDC(saved);
}
