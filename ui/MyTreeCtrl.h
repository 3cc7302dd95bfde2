// CMyTreeCtrl: a tree control with text search over the whole tree, copying of items and branches,
// moving of branches, depth-first navigation and overridable notifications for copies and moves. While
// a label editor is open it keeps Enter, Delete, Escape and Control-key combinations for the editor.
//
// Moving and copying make new items: a moved branch keeps its texts, images, data and expanded states,
// but its items are new handles. The control keeps no data of its own.
#pragma once

#include <afx/afx.h>
#include <afx/TreeCtrl.h>

// Where Move (item, action) puts an item among its siblings.
enum TMOVEACTION { TMA_FIRST = 0, TMA_LAST = 1, TMA_UP = 2, TMA_DOWN = 3 };

class CMyTreeCtrl : public CTreeCtrl {
    DECLARE_DYNAMIC(CMyTreeCtrl)
public:
    CMyTreeCtrl() = default;
    ~CMyTreeCtrl() override = default;

    BOOL PreTranslateMessage(MSG* pMsg) override;

    // The next item after hStart (the selected item when NULL) in depth-first order, downwards or
    // upwards, wrapping around the tree, whose text holds strText; NULL when none does or the text is
    // empty. hStart itself is never tested. Without bMatchCase letters compare in either case. With
    // bWholeWord an occurrence counts only when neither the character before nor the one after is an
    // ASCII letter or "_" (two-byte characters never count as letters); a later occurrence in the same
    // text may still count. Items IsFindValid refuses are passed over.
    virtual HTREEITEM FindItem(CString& strText, BOOL bMatchCase, BOOL bDown, BOOL bWholeWord, HTREEITEM hStart);
    virtual BOOL IsFindValid(HTREEITEM hItem);

    // A copy of the item (text, images, data, state-image and expanded bits) under hParent after
    // hAfter; NULL when the insertion fails.
    HTREEITEM CopyItem(HTREEITEM hItem, HTREEITEM hParent, HTREEITEM hAfter);
    // A copy of the item and its descendants; the copy's top item.
    HTREEITEM CopyBranch(HTREEITEM hItem, HTREEITEM hParent, HTREEITEM hAfter);
    // Moves the branch: a copy under hParent after hAfter, then the original deleted. The new top item;
    // NULL when hParent lies inside the branch itself (nothing moves).
    HTREEITEM Move(HTREEITEM hItem, HTREEITEM hParent, HTREEITEM hAfter);
    // Moves the branch among its siblings: first, last, one up, one down. The item itself when it
    // already stands there (or for an unknown action), NULL for a NULL item.
    HTREEITEM Move(HTREEITEM hItem, int nAction);

    virtual void OnItemCopied(HTREEITEM hOld, HTREEITEM hNew);
    virtual void OnBranchCopied(HTREEITEM hOld, HTREEITEM hNew);
    virtual void OnItemMoved(HTREEITEM hOld, HTREEITEM hNew);
    virtual void OnMoveChildItem(HTREEITEM hOldParent);

    // Navigation in depth-first order. NULL stands for the tree's top level where noted.
    HTREEITEM GetFirstSibling(HTREEITEM hItem) const;
    HTREEITEM GetLastSibling(HTREEITEM hItem) const;   // NULL: the last top-level item
    HTREEITEM GetFirstItem(HTREEITEM hItem) const;     // NULL: the first top-level item
    HTREEITEM GetLastItem(HTREEITEM hItem) const;      // the deepest last descendant; NULL: of the tree
    using CTreeCtrl::GetNextItem;
    HTREEITEM GetNextItem(HTREEITEM hItem) const;      // NULL after the last item
    HTREEITEM GetPrevItem(HTREEITEM hItem) const;      // NULL before the first
    BOOL IsLeafItem(HTREEITEM hItem) const;
    void InvalidateItemRect(HTREEITEM hItem);

private:
    bool IsInBranch(HTREEITEM hItem, HTREEITEM hTop) const;
};
