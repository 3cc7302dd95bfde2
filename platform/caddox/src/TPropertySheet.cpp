#include "caddox/TPropertySheet.h"

IMPLEMENT_DYNAMIC(CTPropertySheet, CPropertySheet)

namespace {
const int kTreeWidth = 130, kGap = 7;
}  // namespace

CTPropertySheet::CTPropertySheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage)
    : CPropertySheet(nIDCaption, pParentWnd, iSelectPage) {}

CTPropertySheet::CTPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : CPropertySheet(pszCaption, pParentWnd, iSelectPage) {}

void CTPropertySheet::AddPage(CPropertyPage* pPage, LPCTSTR, int, int, CPropertyPage* pParentPage, void*) {
    if (!pPage) return;
    CPropertySheet::AddPage(pPage);
    m_parents.resize(static_cast<size_t>(GetPageCount()), nullptr);
    m_parents.back() = GetPageIndex(pParentPage) >= 0 ? pParentPage : nullptr;
}

CPropertyPage* CTPropertySheet::GetParentPage(CPropertyPage* pPage) const {
    const int i = GetPageIndex(pPage);
    return i >= 0 && static_cast<size_t>(i) < m_parents.size() ? m_parents[static_cast<size_t>(i)] : nullptr;
}

BOOL CTPropertySheet::OnInitDialog() {
    CPropertySheet::OnInitDialog();
    // The pages move right to make room for the tree, where the tabs would have been.
    CRect rcWnd;
    GetWindowRect(&rcWnd);
    const int shift = kTreeWidth + kGap;
    MoveWindow(rcWnd.left, rcWnd.top, rcWnd.Width() + shift, rcWnd.Height(), FALSE);
    for (CWnd* pChild = GetWindow(GW_CHILD); pChild; pChild = pChild->GetWindow(GW_HWNDNEXT)) {
        CRect rc;
        pChild->GetWindowRect(&rc);
        ScreenToClient(&rc);
        pChild->MoveWindow(rc.left + shift, rc.top, rc.Width(), rc.Height(), FALSE);
    }
    const CRect rcTree(m_rcPage.left, m_rcPage.top, m_rcPage.left + kTreeWidth, m_rcPage.bottom);
    m_rcPage.OffsetRect(shift, 0);
    m_tree.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT |
                      TVS_SHOWSELALWAYS,
                  rcTree, this, CADDOX_IDC_PAGE_TREE);
    m_items.assign(static_cast<size_t>(GetPageCount()), nullptr);
    for (int i = 0; i < GetPageCount(); ++i) {
        CPropertyPage* pParent = m_parents[static_cast<size_t>(i)];
        const int parent = pParent ? GetPageIndex(pParent) : -1;
        HTREEITEM hParent = parent >= 0 ? m_items[static_cast<size_t>(parent)] : TVI_ROOT;
        HTREEITEM item = m_tree.InsertItem(GetPage(i)->GetCaption(), hParent ? hParent : TVI_ROOT, TVI_LAST);
        m_tree.SetItemData(item, static_cast<DWORD_PTR>(i));
        m_items[static_cast<size_t>(i)] = item;
    }
    for (HTREEITEM item : m_items)
        if (m_tree.ItemHasChildren(item)) m_tree.Expand(item, TVE_EXPAND);
    // Selecting the first page in the tree activates it, so tree and page agree from the start.
    if (!m_items.empty()) {
        const size_t start = m_nStartPage < m_items.size() ? m_nStartPage : 0;
        m_tree.SelectItem(m_items[start]);
    }
    return TRUE;
}

void CTPropertySheet::SelectActiveInTree() {
    const int active = GetActiveIndex();
    if (!m_tree.m_hWnd || active < 0 || static_cast<size_t>(active) >= m_items.size()) return;
    m_bSyncing = TRUE;
    m_tree.SelectItem(m_items[static_cast<size_t>(active)]);
    m_bSyncing = FALSE;
}

void CTPropertySheet::OnActivePageChanged() {
    if (!m_bSyncing) SelectActiveInTree();
}

BOOL CTPropertySheet::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    const NMHDR* pHdr = reinterpret_cast<const NMHDR*>(lParam);
    if (pHdr && pHdr->idFrom == CADDOX_IDC_PAGE_TREE && pHdr->code == TVN_SELCHANGED && !m_bSyncing) {
        const NMTREEVIEW* pTv = reinterpret_cast<const NMTREEVIEW*>(lParam);
        const int page = pTv->itemNew.hItem ? static_cast<int>(m_tree.GetItemData(pTv->itemNew.hItem)) : -1;
        // A page activated selects itself in the tree (OnActivePageChanged); a page that refused to be
        // left takes the tree back.
        if (page < 0 || page == GetActiveIndex() || !SetActivePage(page)) SelectActiveInTree();
        *pResult = 0;
        return TRUE;
    }
    return CPropertySheet::OnNotify(wParam, lParam, pResult);
}
