// The standard controls: button, edit, static, combo box, list box and scroll bar. Each wraps a window
// of its class ("Button", "Edit", "Static", "ComboBox", "ListBox", "ScrollBar") whose state lives in the
// window manager, so a control made from a template and one attached later see the same state.
//
// Notification policy: changes made by code (SetWindowText, SetCheck, SetCurSel, SetSel...) send no
// notification; what a person does through the driver does (typing: EN_UPDATE then EN_CHANGE; a click:
// BN_CLICKED after an auto box toggled or an auto radio button checked itself and unchecked the others of
// its WS_GROUP run; a selection: CBN_SELCHANGE / LBN_SELCHANGE). Focus changes notify the parent
// (EN_SETFOCUS/EN_KILLFOCUS, CBN_SETFOCUS/CBN_KILLFOCUS, BN_SETFOCUS/BN_KILLFOCUS, LBN_ with LBS_NOTIFY).
#pragma once

#include "afx/Wnd.h"

class CButton : public CWnd {
    DECLARE_DYNAMIC(CButton)
public:
    BOOL Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    int GetCheck() const;  // BST_*
    void SetCheck(int nCheck);
    UINT GetState() const;
    void SetState(BOOL bHighlight);
    UINT GetButtonStyle() const;
    void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE);
    HBITMAP SetBitmap(HBITMAP hBitmap);
    HBITMAP GetBitmap() const;
};

class CEdit : public CWnd {
    DECLARE_DYNAMIC(CEdit)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    // The selection in bytes; nEndChar -1 means the end, nStartChar -1 removes the selection.
    void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE);
    void GetSel(int& nStartChar, int& nEndChar) const;
    DWORD GetSel() const;
    void ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo = FALSE);  // notifies, as typing does
    // The most bytes a person can type (0: the default, 30000). Text set by code is not cut.
    void LimitText(int nChars = 0);
    void SetLimitText(UINT nMax) { LimitText(static_cast<int>(nMax)); }
    UINT GetLimitText() const;
    BOOL SetReadOnly(BOOL bReadOnly = TRUE);
};

class CStatic : public CWnd {
    DECLARE_DYNAMIC(CStatic)
public:
    BOOL Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID = 0xffff);
    // SS_BITMAP: the bitmap shown (the control does not own it); the previous one.
    HBITMAP SetBitmap(HBITMAP hBitmap);
    HBITMAP GetBitmap() const;
};

// A combo box. Sorted boxes (CBS_SORT) insert by case-insensitive GBK byte order. Owner-drawn boxes
// without CBS_HASSTRINGS keep the lParam of AddString / InsertString as the item's data and have no text.
class CComboBox : public CWnd {
    DECLARE_DYNAMIC(CComboBox)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    int GetCount() const;
    int GetCurSel() const;     // CB_ERR when none
    int SetCurSel(int nSelect);  // -1 clears; CB_ERR for a bad index (the selection is cleared then)
    int AddString(LPCTSTR lpszString);  // the index, CB_ERR
    int InsertString(int nIndex, LPCTSTR lpszString);  // -1 appends
    int DeleteString(UINT nIndex);  // the count left, CB_ERR
    void ResetContent();
    int GetLBText(int nIndex, LPTSTR lpszText) const;
    void GetLBText(int nIndex, CString& rString) const;
    int GetLBTextLen(int nIndex) const;
    DWORD_PTR GetItemData(int nIndex) const;  // CB_ERR for a bad index
    int SetItemData(int nIndex, DWORD_PTR dwItemData);
    void* GetItemDataPtr(int nIndex) const;
    int SetItemDataPtr(int nIndex, void* pData);
    // Prefix (FindString) or whole (FindStringExact) case-insensitive match, searching after
    // nStartAfter (-1: from the start) and wrapping; CB_ERR when none.
    int FindString(int nStartAfter, LPCTSTR lpszString) const;
    int FindStringExact(int nIndexStart, LPCTSTR lpszFind) const;
    int SelectString(int nStartAfter, LPCTSTR lpszString);  // selects a FindString match; its index
    void ShowDropDown(BOOL bShowIt = TRUE);
    BOOL GetDroppedState() const;
    BOOL LimitText(int nMaxChars);
    // Owner-drawn combos: draw one item (the default draws nothing) / give its height.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) { (void)lpDrawItemStruct; }
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) { (void)lpMeasureItemStruct; }
};

// A list box. Items are 16 pixels high, from the top index down; LBS_MULTIPLESEL / LBS_EXTENDEDSEL allow
// several selected items.
class CListBox : public CWnd {
    DECLARE_DYNAMIC(CListBox)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    int GetCount() const;
    int AddString(LPCTSTR lpszItem);  // the index, LB_ERR
    int InsertString(int nIndex, LPCTSTR lpszItem);
    int DeleteString(UINT nIndex);  // the count left, LB_ERR
    void ResetContent();
    int GetText(int nIndex, LPTSTR lpszBuffer) const;
    void GetText(int nIndex, CString& rString) const;
    int GetTextLen(int nIndex) const;
    DWORD_PTR GetItemData(int nIndex) const;
    int SetItemData(int nIndex, DWORD_PTR dwItemData);
    void* GetItemDataPtr(int nIndex) const;
    int SetItemDataPtr(int nIndex, void* pData);
    int GetCurSel() const;       // single selection: the selected item, LB_ERR when none
    int SetCurSel(int nSelect);  // single selection only
    int GetSel(int nIndex) const;  // > 0 when selected
    int SetSel(int nIndex, BOOL bSelect = TRUE);  // multiple selection; -1 is every item
    int GetSelCount() const;
    int GetSelItems(int nMaxItems, LPINT rgIndex) const;
    int FindString(int nStartAfter, LPCTSTR lpszItem) const;
    int FindStringExact(int nIndexStart, LPCTSTR lpszFind) const;
    int SelectString(int nStartAfter, LPCTSTR lpszItem);
    int GetTopIndex() const;
    int SetTopIndex(int nIndex);
    int GetItemRect(int nIndex, LPRECT lpRect) const;  // LB_ERR for a bad index
    // The item at a client point, with *bOutside when below the last item.
    UINT ItemFromPoint(CPoint pt, BOOL& bOutside) const;
};

class CScrollBar : public CWnd {
    DECLARE_DYNAMIC(CScrollBar)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    int GetScrollPos() const { return CWnd::GetScrollPos(SB_CTL); }
    int SetScrollPos(int nPos, BOOL bRedraw = TRUE) { return CWnd::SetScrollPos(SB_CTL, nPos, bRedraw); }
    void GetScrollRange(LPINT lpMinPos, LPINT lpMaxPos) const { CWnd::GetScrollRange(SB_CTL, lpMinPos, lpMaxPos); }
    void SetScrollRange(int nMinPos, int nMaxPos, BOOL bRedraw = TRUE) { CWnd::SetScrollRange(SB_CTL, nMinPos, nMaxPos, bRedraw); }
    BOOL SetScrollInfo(LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE) { return CWnd::SetScrollInfo(SB_CTL, lpScrollInfo, bRedraw); }
    BOOL GetScrollInfo(LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL) { return CWnd::GetScrollInfo(SB_CTL, lpScrollInfo, nMask); }
    void ShowScrollBar(BOOL bShow = TRUE) { CWnd::ShowScrollBar(SB_CTL, bShow); }
    BOOL EnableScrollBar(UINT nArrowFlags = ESB_ENABLE_BOTH) { return CWnd::EnableScrollBar(SB_CTL, nArrowFlags); }
};
