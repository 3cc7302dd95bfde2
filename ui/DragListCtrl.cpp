#include "ui/DragListCtrl.h"

IMPLEMENT_DYNAMIC(CDragListCtrl, CListCtrl)

BEGIN_MESSAGE_MAP(CDragListCtrl, CListCtrl)
    ON_NOTIFY_REFLECT(LVN_BEGINDRAG, OnBeginDrag)
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

namespace {

// The list control under a screen point, or NULL when the window there is no list.
CListCtrl* ListWindow(CWnd* pWnd) {
    if (!pWnd || pWnd->GetClassName().CompareNoCase("SysListView32") != 0) return nullptr;
    return pWnd->IsKindOf(RUNTIME_CLASS(CListCtrl)) ? static_cast<CListCtrl*>(pWnd) : nullptr;
}

}  // namespace

CDragListCtrl::~CDragListCtrl() {
    if (m_pDragImage) {
        CImageList::EndDrag();
        delete m_pDragImage;
    }
}

void CDragListCtrl::OnBeginDrag(NMHDR* pNMHDR, LRESULT* pResult) {
    auto* pNM = reinterpret_cast<NMLISTVIEW*>(pNMHDR);
    *pResult = 0;
    m_nDragItem = pNM->iItem;
    if (m_nDragItem == -1 || GetSelectedCount() != 1) return;
    CPoint ptImage;
    m_pDragImage = CreateDragImage(m_nDragItem, &ptImage);
    if (!m_pDragImage) return;
    m_pDragImage->BeginDrag(0, CPoint(16, 8));
    CPoint pt(pNM->ptAction);
    ClientToScreen(&pt);
    CImageList::DragEnter(GetDesktopWindow(), pt);
    m_bDragging = 1;
    m_nDropItem = -1;
    m_nReleaseItem = -1;
    SetCapture();
}

void CDragListCtrl::OnMouseMove(UINT nFlags, CPoint point) {
    (void)nFlags;
    if (!m_bDragging) return;
    m_ptCursor = point;
    ClientToScreen(&m_ptCursor);
    CImageList::DragMove(m_ptCursor);
    CImageList::DragShowNolock(FALSE);
    CWnd* pUnder = WindowFromPoint(m_ptCursor);
    CPoint pt = m_ptCursor;
    if (pUnder) pUnder->ScreenToClient(&pt);
    CImageList::DragShowNolock(TRUE);
    if (pUnder != this) return;
    const int row = HitTest(pt);
    if (row < 0 || row == m_nDropItem) return;
    SetItemState(row, LVIS_DROPHILITED, LVIS_DROPHILITED);
    RedrawItems(row, row);
    if (m_nDropItem != -1) {
        SetItemState(m_nDropItem, 0, LVIS_DROPHILITED);
        RedrawItems(m_nDropItem, m_nDropItem);
    }
    m_nDropItem = row;
    UpdateWindow();
}

void CDragListCtrl::OnLButtonUp(UINT nFlags, CPoint point) {
    (void)nFlags;
    if (!m_bDragging) return;
    ReleaseCapture();
    m_bDragging = 0;
    CImageList::DragLeave(GetDesktopWindow());
    CImageList::EndDrag();
    delete m_pDragImage;
    m_pDragImage = nullptr;
    if (m_nDropItem != -1) {
        SetItemState(m_nDropItem, 0, LVIS_DROPHILITED);
        RedrawItems(m_nDropItem, m_nDropItem);
    }
    CPoint pt = point;
    ClientToScreen(&pt);
    CListCtrl* pUnder = ListWindow(WindowFromPoint(pt));
    if (!pUnder) return;
    pUnder->ScreenToClient(&pt);
    const int row = pUnder->HitTest(pt);
    m_nReleaseItem = row < 0 ? -2 : row;
    if (m_nReleaseItem != m_nDragItem)
        if (CWnd* pParent = GetParent())
            pParent->SendMessage(LVM_ROWDROPPED, static_cast<WPARAM>(m_nDragItem), static_cast<LPARAM>(m_nReleaseItem));
}
