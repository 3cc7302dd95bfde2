// The list control ("SysListView32") in report and list views: columns, items with sub-item texts, an
// image and data, item states (LVIS_SELECTED, LVIS_FOCUSED, LVIS_DROPHILITED), sorting and hit testing.
//
// Geometry: in report view a header of kListHeaderHeight pixels (none with LVS_NOCOLUMNHEADER), then rows
// of kListRowHeight pixels from the top item down, as wide as the columns together; in list view rows
// of kListRowHeight pixels in columns of kListColumnWidth pixels, top to bottom then left to right.
// HitTest and GetItemRect agree with this.
//
// Notifications (WM_NOTIFY to the parent; reflected first): a state change by code or click sends
// LVN_ITEMCHANGING (nonzero vetoes) and LVN_ITEMCHANGED; a click NM_CLICK (iItem -1 on empty space), a
// double click NM_DBLCLK, a right click NM_RCLICK, a header click LVN_COLUMNCLICK, a drag LVN_BEGINDRAG /
// LVN_BEGINRDRAG; deleting items LVN_DELETEITEM / LVN_DELETEALLITEMS; inserting LVN_INSERTITEM. With
// LVS_SINGLESEL selecting an item deselects the others (each change notified).
#pragma once

#include <string>
#include <vector>

#include "afx/Collections.h"
#include "afx/ImageList.h"
#include "afx/StdCtrls.h"

const int kListRowHeight = 17;
const int kListHeaderHeight = 20;
const int kListColumnWidth = 120;

typedef int (*PFNLVCOMPARE)(LPARAM, LPARAM, LPARAM);

class CListCtrl : public CWnd {
    DECLARE_DYNAMIC(CListCtrl)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    DWORD SetExtendedStyle(DWORD dwNewStyle);  // the previous
    DWORD GetExtendedStyle() const;
    int InsertColumn(int nCol, LPCTSTR lpszColumnHeading, int nFormat = LVCFMT_LEFT, int nWidth = -1, int nSubItem = -1);
    int InsertColumn(int nCol, const LVCOLUMN* pColumn);
    BOOL DeleteColumn(int nCol);
    int GetColumnWidth(int nCol) const;
    BOOL SetColumnWidth(int nCol, int cx);
    int GetColumnCount() const;
    CString GetColumnText(int nCol) const;

    // The index where the item went (sorted lists place it by text), -1.
    int InsertItem(int nItem, LPCTSTR lpszItem);
    int InsertItem(int nItem, LPCTSTR lpszItem, int nImage);
    int InsertItem(const LVITEM* pItem);
    int InsertItem(UINT nMask, int nItem, LPCTSTR lpszItem, UINT nState, UINT nStateMask, int nImage, LPARAM lParam);
    BOOL DeleteItem(int nItem);
    BOOL DeleteAllItems();
    int GetItemCount() const;
    CString GetItemText(int nItem, int nSubItem) const;
    int GetItemText(int nItem, int nSubItem, LPTSTR lpszText, int nLen) const;
    BOOL SetItemText(int nItem, int nSubItem, LPCTSTR lpszText);
    DWORD_PTR GetItemData(int nItem) const;
    BOOL SetItemData(int nItem, DWORD_PTR dwData);
    BOOL GetItem(LVITEM* pItem) const;
    BOOL SetItem(const LVITEM* pItem);
    BOOL SetItem(int nItem, int nSubItem, UINT nMask, LPCTSTR lpszItem, int nImage, UINT nState, UINT nStateMask, LPARAM lParam);
    int GetItemImage(int nItem) const;

    UINT GetItemState(int nItem, UINT nMask) const;
    // nItem -1 changes every item. FALSE for a bad item or a vetoed change.
    BOOL SetItemState(int nItem, UINT nState, UINT nMask);
    BOOL SetItemState(int nItem, LVITEM* pItem);
    UINT GetSelectedCount() const;
    // Positions run 1-based through the selected items: NULL when there are none.
    POSITION GetFirstSelectedItemPosition() const;
    int GetNextSelectedItem(POSITION& pos) const;
    int GetNextItem(int nItem, int nFlags) const;
    int GetSelectionMark() const;
    int SetSelectionMark(int iIndex);

    // LVFI_PARAM (by data) or LVFI_STRING (whole text, case-insensitive; LVFI_PARTIAL for a prefix),
    // after nStart (-1: from the start); -1 when none.
    int FindItem(LVFINDINFO* pFindInfo, int nStart = -1) const;
    // A stable sort by the callback on the items' data.
    BOOL SortItems(PFNLVCOMPARE pfnCompare, DWORD_PTR dwData);

    int HitTest(CPoint pt, UINT* pFlags = nullptr) const;
    int HitTest(LVHITTESTINFO* pHitTestInfo) const;
    BOOL GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const;
    BOOL GetItemPosition(int nItem, LPPOINT lpPoint) const;
    BOOL EnsureVisible(int nItem, BOOL bPartialOK);
    int GetTopIndex() const;
    int GetCountPerPage() const;
    BOOL RedrawItems(int nFirst, int nLast);
    BOOL Update(int nItem);

    CImageList* SetImageList(CImageList* pImageList, int nImageListType);
    CImageList* GetImageList(int nImageListType) const;
    // A drag image of the item, owned by the caller, with its upper-left corner in *lpPoint.
    CImageList* CreateDragImage(int nItem, LPPOINT lpPoint);

    // One line per item: the sub-item texts joined by " | ", then " | data | image"; selected items
    // marked "*" first, drop-highlighted "^".
    std::string Dump() const;
};
