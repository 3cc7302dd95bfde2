// CSchemeTreeCtrl: the scheme tree of the scheme designer. Its four levels are the root (4), schemes
// (1), layers (2) and feature classes (3); deeper items and NULL are 0. Layers and feature classes can
// be dragged with either mouse button; a drop becomes a message to the parent (SendMessage, wParam the
// target item, lParam the dragged item):
//   right button: STM_RDROP (0x47A), the item under the release point or NULL;
//   left button, by the levels of the dragged (d) and target (t) items:
//     d 3 on t 2                        STM_CLASS_TO_LAYER (0x47B), the layer
//     d 2 on t 1                        STM_LAYER_TO_SCHEME (0x47C), the scheme
//     d 2 on t 2, same parent           STM_LAYER_TO_LAYER (0x47D), the layer
//     d 3 on t 3, same parent, unsorted STM_CLASS_TO_CLASS (0x47F), the class
//     d 3 on t 3, different parents     STM_CLASS_TO_LAYER (0x47B), the target's layer
// and nothing otherwise. A drop counts only when released over a tree. Releasing the other button ends
// a running drag without dropping anything.
#pragma once

#include <afx/afx.h>
#include <afx/ImageList.h>

#include "ui/MyTreeCtrl.h"

enum TreeNodeType { TNT_NONE = 0, TNT_SCHEME = 1, TNT_LAYER = 2, TNT_CLASS = 3, TNT_ROOT = 4 };

const UINT STM_RDROP = 0x47A;
const UINT STM_CLASS_TO_LAYER = 0x47B;
const UINT STM_LAYER_TO_SCHEME = 0x47C;
const UINT STM_LAYER_TO_LAYER = 0x47D;
const UINT STM_CLASS_TO_CLASS = 0x47F;

class CSchemeTreeCtrl : public CMyTreeCtrl {
    DECLARE_DYNAMIC(CSchemeTreeCtrl)
public:
    CSchemeTreeCtrl() = default;
    ~CSchemeTreeCtrl() override;

    // The level of the item (TreeNodeType as int).
    int GetItemType(HTREEITEM hItem) const;
    // 0 by code, 1 by name, 2 none.
    void SetSortMode(int nMode) { m_nSortMode = nMode; }
    int GetSortMode() const { return m_nSortMode; }

    int m_bLDragging = 0;
    int m_bRDragging = 0;
    HTREEITEM m_hDragItem = nullptr;
    CImageList* m_pDragImage = nullptr;  // owned during a drag
    CPoint m_ptCursor;
    HTREEITEM m_hDropItem = nullptr;
    HTREEITEM m_hLastDropItem = nullptr;
    int m_nSortMode = 2;

protected:
    void OnBeginDrag(NMHDR* pNMHDR, LRESULT* pResult);
    void OnBeginRDrag(NMHDR* pNMHDR, LRESULT* pResult);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnRButtonUp(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    bool BeginDrag(NMHDR* pNMHDR);
    // Ends the drag: capture, drag image and drop highlight. The tree under the release point when
    // there is one, else NULL.
    CTreeCtrl* EndDrag(CPoint point);
    void RedrawNow(HTREEITEM hItem);
};
