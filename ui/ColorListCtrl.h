// CColorListCtrl: a report-view list control that paints its rows itself, with the first column of
// every row filled with that row's colour. The DEM level dialog uses it as its class list (a colour
// swatch and the class's value range per row).
//
// A left click on a row sends CLM_ROWCLICKED (0x2B10) to the parent, wParam 0 and lParam the row, before
// the list's own handling (which selects the row); a click on empty space sends nothing.
//
// Selection modes (how a highlighted row is painted): 0 the label of the first column only, 1 the row's
// columns, 2 the row out to the client's right edge. A row is highlighted when it is drop-highlighted, or
// when it is selected and the control has the focus or the LVS_SHOWSELALWAYS style.
#pragma once

#include <afx/afx.h>
#include <afx/ListCtrl.h>

// The owner-drawn style and control kind of list views and the item-state and image-list bits it paints with
// (missing from the window model's headers).
#ifndef LVS_OWNERDRAWFIXED
#define LVS_OWNERDRAWFIXED 0x0400u
#endif
#ifndef ODT_LISTVIEW
#define ODT_LISTVIEW 102
#endif
#ifndef LVIS_OVERLAYMASK
#define LVIS_OVERLAYMASK 0x0F00u
#endif
#ifndef LVIS_STATEIMAGEMASK
#define LVIS_STATEIMAGEMASK 0xF000u
#endif
#ifndef ILD_BLEND50
#define ILD_BLEND50 0x0004u
#endif

// Sent to the parent when a row is clicked: wParam 0, lParam the row index.
const UINT CLM_ROWCLICKED = 0x2B10;

class CColorListCtrl : public CListCtrl {
    DECLARE_DYNAMIC(CColorListCtrl)
public:
    // Selection mode 1, no row colours.
    CColorListCtrl() = default;
    ~CColorListCtrl() override = default;

    // Creates the control through PreCreateWindow (report view, owner-drawn rows). FALSE when the window
    // cannot be made.
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    // Adds LVS_REPORT and LVS_OWNERDRAWFIXED to cs.style and clears LVS_SHOWSELALWAYS; TRUE. A control
    // that comes from a dialog template and is subclassed keeps the template's styles.
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);

    // 0 and no change for an empty array; otherwise the row colours (COLORREF, row i at index i) are
    // replaced and 1 returned. Rows past the end of the array get no swatch.
    int SetRowColors(const CArray<DWORD, DWORD>& colors);
    // out is emptied and receives the row colours; their count.
    int GetRowColors(CArray<DWORD, DWORD>& out) const;
    // The previous mode; a mode of 0, 1 or 2 is stored and the control repainted, any other changes
    // nothing.
    int SetSelectionMode(int nMode);
    int GetSelectionMode() const { return m_nSelectionMode; }
    // Invalidates the focused row and every selected row, then updates the window; 1 (0 without window).
    int RedrawSelectedRows();

    // Paints one row (WM_DRAWITEM reflected from the parent).
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

protected:
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnPaint();
    void OnSetFocus(CWnd* pOldWnd);
    void OnKillFocus(CWnd* pNewWnd);
    DECLARE_MESSAGE_MAP()

private:
    bool IsReportView() const { return (GetStyle() & LVS_TYPEMASK) == LVS_REPORT; }

    int m_nSelectionMode = 1;
    CArray<DWORD, DWORD> m_RowColors;
};
