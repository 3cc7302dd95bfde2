// The tree control ("SysTreeView32"): items with text, images and data under a root, expanded or not,
// one selected item, a drop-highlighted item, and a label editor.
//
// Geometry: visible items (the roots and the children of expanded items, depth first) are rows of
// kTreeRowHeight pixels from the top of the client area (less the scroll offset); an item's label
// starts at its depth times kTreeIndent (plus one indent with TVS_LINESATROOT), then an image of 16
// pixels when the control has an image list. HitTest and GetItemRect agree with this.
//
// Notifications (WM_NOTIFY to the parent, reflected to the control's own map first):
//   SelectItem, by code or click: TVN_SELCHANGING (a nonzero result vetoes: SelectItem returns FALSE)
//   then TVN_SELCHANGED, both at once, with action TVC_BYMOUSE for clicks, TVC_UNKNOWN for code.
//   Deleting the selected item or an ancestor of it moves the selection to the next sibling, else the
//   previous sibling, else the parent (TVN_SELCHANGED; nothing when the tree is left empty).
//   EditLabel: TVN_BEGINLABELEDIT (nonzero vetoes); the editor is an Edit child (GetEditControl). Enter
//   ends it with the text, even unchanged; Escape or losing the focus to outside with pszText NULL.
//   TVN_ENDLABELEDIT's result TRUE sets the label. A click on an item sends NM_CLICK, a right click
//   NM_RCLICK, a double click NM_DBLCLK; a drag begins with TVN_BEGINDRAG / TVN_BEGINRDRAG.
#pragma once

#include <string>

#include "afx/ImageList.h"
#include "afx/StdCtrls.h"

const int kTreeRowHeight = 18;
const int kTreeIndent = 19;

class CTreeCtrl : public CWnd {
    DECLARE_DYNAMIC(CTreeCtrl)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // hInsertAfter: TVI_FIRST, TVI_LAST, TVI_SORT (case-insensitive by text) or a sibling. NULL when the
    // parent or the sibling is not an item of this tree.
    HTREEITEM InsertItem(LPCTSTR lpszItem, int nImage, int nSelectedImage, HTREEITEM hParent = TVI_ROOT,
                         HTREEITEM hInsertAfter = TVI_LAST);
    HTREEITEM InsertItem(LPCTSTR lpszItem, HTREEITEM hParent = TVI_ROOT, HTREEITEM hInsertAfter = TVI_LAST);
    HTREEITEM InsertItem(const TVINSERTSTRUCT* lpInsertStruct);
    HTREEITEM InsertItem(UINT nMask, LPCTSTR lpszItem, int nImage, int nSelectedImage, UINT nState,
                         UINT nStateMask, LPARAM lParam, HTREEITEM hParent, HTREEITEM hInsertAfter);
    // TVI_ROOT deletes every item. Each deleted item sends TVN_DELETEITEM. FALSE for a bad item.
    BOOL DeleteItem(HTREEITEM hItem);
    BOOL DeleteAllItems() { return DeleteItem(TVI_ROOT); }

    CString GetItemText(HTREEITEM hItem) const;
    BOOL SetItemText(HTREEITEM hItem, LPCTSTR lpszItem);
    DWORD_PTR GetItemData(HTREEITEM hItem) const;
    BOOL SetItemData(HTREEITEM hItem, DWORD_PTR dwData);
    BOOL GetItemImage(HTREEITEM hItem, int& nImage, int& nSelectedImage) const;
    BOOL SetItemImage(HTREEITEM hItem, int nImage, int nSelectedImage);
    UINT GetItemState(HTREEITEM hItem, UINT nStateMask) const;
    BOOL SetItemState(HTREEITEM hItem, UINT nState, UINT nStateMask);
    BOOL GetItem(TVITEM* pItem) const;
    BOOL SetItem(TVITEM* pItem);
    UINT GetCount() const;
    BOOL ItemHasChildren(HTREEITEM hItem) const;

    HTREEITEM GetRootItem() const;
    HTREEITEM GetParentItem(HTREEITEM hItem) const;
    HTREEITEM GetChildItem(HTREEITEM hItem) const;
    HTREEITEM GetNextSiblingItem(HTREEITEM hItem) const;
    HTREEITEM GetPrevSiblingItem(HTREEITEM hItem) const;
    HTREEITEM GetNextVisibleItem(HTREEITEM hItem) const;
    HTREEITEM GetPrevVisibleItem(HTREEITEM hItem) const;
    HTREEITEM GetFirstVisibleItem() const;
    HTREEITEM GetSelectedItem() const;
    HTREEITEM GetDropHilightItem() const;
    HTREEITEM GetNextItem(HTREEITEM hItem, UINT nCode) const;

    // See the top of this file; NULL clears the selection. FALSE when vetoed or the item is bad.
    BOOL SelectItem(HTREEITEM hItem);
    BOOL SelectDropTarget(HTREEITEM hItem);
    BOOL Select(HTREEITEM hItem, UINT nCode);
    // TVE_EXPAND, TVE_COLLAPSE, TVE_TOGGLE; FALSE for a bad item.
    BOOL Expand(HTREEITEM hItem, UINT nCode);
    BOOL EnsureVisible(HTREEITEM hItem);
    // Sorts the children (not deeper) by text, case-insensitive; TVI_ROOT sorts the roots.
    BOOL SortChildren(HTREEITEM hItem);

    CEdit* EditLabel(HTREEITEM hItem);  // the editor, NULL when vetoed or without TVS_EDITLABELS
    CEdit* GetEditControl() const;
    // Ends a label edit: TRUE cancels (pszText NULL).
    BOOL EndEditLabelNow(BOOL fCancelWithoutSave);

    HTREEITEM HitTest(CPoint pt, UINT* pFlags = nullptr) const;
    HTREEITEM HitTest(TVHITTESTINFO* pHitTestInfo) const;
    BOOL GetItemRect(HTREEITEM hItem, LPRECT lpRect, BOOL bTextOnly) const;
    UINT GetIndent() const { return kTreeIndent; }
    UINT GetVisibleCount() const;

    CImageList* SetImageList(CImageList* pImageList, int nImageListType);
    CImageList* GetImageList(int nImageListType) const;
    // A drag image of the item (its image and label), owned by the caller; NULL for a bad item.
    CImageList* CreateDragImage(HTREEITEM hItem);

    // "text | data | image,selectedImage" per item, indented two spaces per level, in tree order;
    // expanded items end with " +", the selected one is marked "*" first.
    std::string Dump() const;
};
