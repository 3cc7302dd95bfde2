// CDragListCtrl: a report list whose single selected row can be dragged onto another row. When the row
// is released over a list, the parent gets LVM_ROWDROPPED (0x47E) by SendMessage: wParam the dragged
// row, lParam the row dropped on, or -2 when dropped below the last row. Nothing is sent when the two
// are equal or when the release is not over a list.
//
// A drag runs from the list's begin-drag notification to the left-button release, with the mouse
// captured; it starts only while exactly one row is selected. The control keeps no data beyond the drag
// state: rows and their data belong to the user. While a drag runs, mouse moves and the release are the
// drag's alone (the list's own handling of them does not run).
#pragma once

#include <afx/afx.h>
#include <afx/ImageList.h>
#include <afx/ListCtrl.h>

// Sent to the parent after a drag: wParam the dragged row, lParam the target row or -2.
const UINT LVM_ROWDROPPED = 0x47E;

class CDragListCtrl : public CListCtrl {
    DECLARE_DYNAMIC(CDragListCtrl)
public:
    CDragListCtrl() = default;
    ~CDragListCtrl() override;

    BOOL IsDragging() const { return m_bDragging; }

    CImageList* m_pDragImage = nullptr;  // owned while a drag runs
    int m_bDragging = 0;
    int m_nDragItem = -1;
    int m_nDropItem = -1;     // drop-highlighted row, -1 none
    int m_nReleaseItem = -1;  // row under the cursor at release, -2 below the rows
    CPoint m_ptCursor;        // screen point of the last mouse move

protected:
    void OnBeginDrag(NMHDR* pNMHDR, LRESULT* pResult);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()
};
