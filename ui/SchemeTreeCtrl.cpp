#include "ui/SchemeTreeCtrl.h"

IMPLEMENT_DYNAMIC(CSchemeTreeCtrl, CMyTreeCtrl)

BEGIN_MESSAGE_MAP(CSchemeTreeCtrl, CMyTreeCtrl)
    ON_NOTIFY_REFLECT(TVN_BEGINDRAG, OnBeginDrag)
    ON_NOTIFY_REFLECT(TVN_BEGINRDRAG, OnBeginRDrag)
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_RBUTTONUP()
END_MESSAGE_MAP()

CSchemeTreeCtrl::~CSchemeTreeCtrl() {
    if (m_pDragImage) {
        CImageList::EndDrag();
        delete m_pDragImage;
    }
}

int CSchemeTreeCtrl::GetItemType(HTREEITEM hItem) const {
    if (!hItem) return TNT_NONE;
    HTREEITEM parent = GetParentItem(hItem);
    if (!parent) return TNT_ROOT;
    HTREEITEM grand = GetParentItem(parent);
    if (!grand) return TNT_SCHEME;
    HTREEITEM great = GetParentItem(grand);
    if (!great) return TNT_LAYER;
    return GetParentItem(great) ? TNT_NONE : TNT_CLASS;
}

bool CSchemeTreeCtrl::BeginDrag(NMHDR* pNMHDR) {
    auto* pNM = reinterpret_cast<NMTREEVIEW*>(pNMHDR);
    const HTREEITEM hItem = pNM->itemNew.hItem;
    const int type = GetItemType(hItem);
    if (type != TNT_LAYER && type != TNT_CLASS) {
        m_hDragItem = nullptr;
        return false;
    }
    m_hDragItem = hItem;
    delete m_pDragImage;
    m_pDragImage = CreateDragImage(hItem);
    if (m_pDragImage) m_pDragImage->BeginDrag(0, CPoint(8, 8));
    CPoint pt(pNM->ptDrag);
    ClientToScreen(&pt);
    CImageList::DragEnter(GetDesktopWindow(), pt);
    SetCapture();
    return true;
}

void CSchemeTreeCtrl::OnBeginDrag(NMHDR* pNMHDR, LRESULT* pResult) {
    *pResult = 0;
    m_bLDragging = 0;
    if (!BeginDrag(pNMHDR)) return;
    m_bLDragging = 1;
    m_hLastDropItem = m_hDragItem;
}

void CSchemeTreeCtrl::OnBeginRDrag(NMHDR* pNMHDR, LRESULT* pResult) {
    *pResult = 0;
    m_bRDragging = 0;
    if (!BeginDrag(pNMHDR)) return;
    m_bRDragging = 1;
}

void CSchemeTreeCtrl::RedrawNow(HTREEITEM hItem) {
    CRect r;
    if (hItem && GetItemRect(hItem, &r, FALSE)) {
        InvalidateRect(&r, TRUE);
        UpdateWindow();
    }
}

void CSchemeTreeCtrl::OnMouseMove(UINT nFlags, CPoint point) {
    (void)nFlags;
    if (m_bLDragging || m_bRDragging) {
        m_ptCursor = point;
        ClientToScreen(&m_ptCursor);
        CImageList::DragMove(m_ptCursor);
        CImageList::DragShowNolock(FALSE);
        CPoint pt = m_ptCursor;
        if (CWnd* pUnder = WindowFromPoint(m_ptCursor)) pUnder->ScreenToClient(&pt);
        if (HTREEITEM hHit = HitTest(pt)) {
            SelectDropTarget(hHit);
            m_hDropItem = hHit;
            if (m_hDropItem != m_hLastDropItem) {
                if (m_hLastDropItem) {
                    HTREEITEM prev = GetPrevSiblingItem(m_hLastDropItem), next = GetNextSiblingItem(m_hLastDropItem);
                    RedrawNow(m_hLastDropItem);
                    RedrawNow(prev);
                    RedrawNow(next);
                }
                m_hLastDropItem = m_hDropItem;
            }
        }
        CImageList::DragShowNolock(TRUE);
    }
    Default();
}

CTreeCtrl* CSchemeTreeCtrl::EndDrag(CPoint point) {
    ReleaseCapture();
    CImageList::DragLeave(GetDesktopWindow());
    CImageList::EndDrag();
    SelectDropTarget(nullptr);
    delete m_pDragImage;
    m_pDragImage = nullptr;
    CPoint screen = point;
    ClientToScreen(&screen);
    CWnd* pUnder = WindowFromPoint(screen);
    if (!pUnder || pUnder->GetClassName().CompareNoCase("SysTreeView32") != 0) return nullptr;
    return pUnder->IsKindOf(RUNTIME_CLASS(CTreeCtrl)) ? static_cast<CTreeCtrl*>(pUnder) : nullptr;
}

void CSchemeTreeCtrl::OnLButtonUp(UINT nFlags, CPoint point) {
    (void)nFlags;
    if (!m_bLDragging && !m_bRDragging) return;
    // Any release ends the drag; only the button that began it drops.
    const bool drop = m_bLDragging != 0;
    m_bLDragging = m_bRDragging = 0;
    CTreeCtrl* pTree = EndDrag(point);
    if (drop && pTree) {
        m_hDropItem = HitTest(point);
        const int d = GetItemType(m_hDragItem), t = GetItemType(m_hDropItem);
        UINT msg = 0;
        HTREEITEM target = m_hDropItem;
        const bool sameParent = m_hDropItem && GetParentItem(m_hDragItem) == GetParentItem(m_hDropItem);
        if (d == TNT_CLASS && t == TNT_LAYER) {
            msg = STM_CLASS_TO_LAYER;
        } else if (d == TNT_LAYER && t == TNT_SCHEME) {
            msg = STM_LAYER_TO_SCHEME;
        } else if (d == TNT_LAYER && t == TNT_LAYER && sameParent) {
            msg = STM_LAYER_TO_LAYER;
        } else if (d == TNT_CLASS && t == TNT_CLASS) {
            if (sameParent && m_nSortMode == 2) {
                msg = STM_CLASS_TO_CLASS;
            } else if (!sameParent) {
                msg = STM_CLASS_TO_LAYER;
                target = GetParentItem(m_hDropItem);
            }
        }
        if (msg)
            if (CWnd* pParent = GetParent())
                pParent->SendMessage(msg, reinterpret_cast<WPARAM>(target), reinterpret_cast<LPARAM>(m_hDragItem));
    }
    Invalidate();
}

void CSchemeTreeCtrl::OnRButtonUp(UINT nFlags, CPoint point) {
    (void)nFlags;
    if (!m_bLDragging && !m_bRDragging) return;
    const bool drop = m_bRDragging != 0;
    m_bLDragging = m_bRDragging = 0;
    CTreeCtrl* pTree = EndDrag(point);
    if (drop && pTree) {
        m_hDropItem = HitTest(point);
        if (CWnd* pParent = GetParent())
            pParent->SendMessage(STM_RDROP, reinterpret_cast<WPARAM>(m_hDropItem), reinterpret_cast<LPARAM>(m_hDragItem));
    }
    Invalidate();
}
