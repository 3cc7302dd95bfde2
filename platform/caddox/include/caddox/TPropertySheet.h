// Caddox: CTPropertySheet, a modal property sheet whose pages stand in a tree on its left instead of
// a row of tabs.
//
// Pages are added in order, each under a parent page or at the top level, and labelled with their
// template's caption. A page's window is made the first time it is shown, so data handed to a page
// before DoModal is in place when its OnInitDialog runs. Selecting a page in the tree activates it
// (the page left may refuse, and the tree then stays on it); a page activated any other way (SetActivePage,
// an OK refused by a page) is selected in the tree too, so the tree always marks the page shown. OK runs the active page's OnKillActive and
// then OnApply of every page whose window exists, in the order they were added, and stays open while
// one returns FALSE; Cancel runs OnReset of the pages that exist. DoModal returns 1 after OK and 2
// after Cancel. Pages are child windows of the sheet, so what a page sends its parent reaches the
// sheet's (or a derived sheet's) message map.
#pragma once

#include <afx/afx.h>
#include <afx/PropertySheet.h>
#include <afx/TreeCtrl.h>

#include <vector>

// The tree's control id in the sheet.
#define CADDOX_IDC_PAGE_TREE 0x3022

class CTPropertySheet : public CPropertySheet {
    DECLARE_DYNAMIC(CTPropertySheet)
public:
    // nIDCaption: a string resource; iSelectPage: the page shown first, in AddPage order.
    explicit CTPropertySheet(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    explicit CTPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);

    // Adds pPage (not owned) under pParentPage (NULL: the top level; it must have been added before).
    // The other arguments are accepted for callers and not read.
    void AddPage(CPropertyPage* pPage, LPCTSTR lpszReserved = nullptr, int nReserved1 = 0, int nReserved2 = 0,
                 CPropertyPage* pParentPage = nullptr, void* pReserved = nullptr);

    // The page tree (valid while the sheet is open).
    CTreeCtrl& GetPageTree() { return m_tree; }
    // The parent page given to AddPage, NULL for a top-level page or one not added.
    CPropertyPage* GetParentPage(CPropertyPage* pPage) const;

protected:
    BOOL OnInitDialog() override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void OnActivePageChanged() override;

private:
    std::vector<CPropertyPage*> m_parents;  // by page index
    std::vector<HTREEITEM> m_items;         // by page index, while the sheet is open
    CTreeCtrl m_tree;
    BOOL m_bSyncing = FALSE;
    void SelectActiveInTree();
};
