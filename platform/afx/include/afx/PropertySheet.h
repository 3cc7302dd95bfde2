// Property pages and tabbed property sheets.
//
// A page is a child dialog built from its template the first time it is activated (OnInitDialog, then
// OnSetActive). Leaving a page runs its OnKillActive, which may refuse (the page stays). OK runs the
// active page's OnKillActive, then OnApply of every page created so far in AddPage order; a FALSE keeps
// the sheet open on that page. Cancel runs OnReset (whose default is OnCancel) of every created page.
// DoModal returns IDOK or IDCANCEL. The sheet's own buttons are IDOK, IDCANCEL and ID_APPLY_NOW
// (disabled until a page calls SetModified(TRUE)); the pages sit below a row of tabs.
#pragma once

#include <vector>

#include "afx/Dialog.h"

#define ID_APPLY_NOW 0x3021
#define AFX_IDC_TAB_CONTROL 0x3020
#define PSM_SETCURSEL (WM_USER + 101)

class CPropertySheet;

class CPropertyPage : public CDialog {
    DECLARE_DYNAMIC(CPropertyPage)
public:
    CPropertyPage() = default;
    explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0);

    virtual BOOL OnSetActive();   // TRUE; a FALSE keeps the previous page
    virtual BOOL OnKillActive();  // UpdateData(TRUE)
    virtual BOOL OnApply();       // OnOK(), then TRUE
    virtual void OnReset();       // OnCancel()
    void OnOK() override {}
    void OnCancel() override {}
    virtual BOOL OnQueryCancel() { return TRUE; }
    void SetModified(BOOL bChanged = TRUE);
    BOOL IsModified() const { return m_bModified; }
    CPropertySheet* GetSheet() const { return m_pSheet; }
    CString GetCaption() const;

    // The caption shown on the tab (the template's when not set).
    CString m_strCaption;
    struct { DWORD dwFlags = 0; LPCSTR pszTitle = nullptr; } m_psp;

protected:
    friend class CPropertySheet;
    CPropertySheet* m_pSheet = nullptr;
    BOOL m_bModified = FALSE;
};

class CPropertySheet : public CWnd {
    DECLARE_DYNAMIC(CPropertySheet)
public:
    CPropertySheet() = default;
    explicit CPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    explicit CPropertySheet(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);

    void AddPage(CPropertyPage* pPage);  // the sheet does not own the page
    void RemovePage(CPropertyPage* pPage);
    void RemovePage(int nPage);
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    CPropertyPage* GetPage(int nPage) const;
    CPropertyPage* GetActivePage() const;
    int GetActiveIndex() const { return m_nActive; }
    int GetPageIndex(CPropertyPage* pPage) const;
    // Leaves the active page (OnKillActive may refuse) and activates another; FALSE when refused.
    BOOL SetActivePage(int nPage);
    BOOL SetActivePage(CPropertyPage* pPage);
    void SetTitle(LPCTSTR lpszText, UINT nStyle = 0);
    CString GetTitle() const { return m_strCaption; }

    // IDOK or IDCANCEL (see the top of this file); -1 without pages.
    virtual INT_PTR DoModal();
    virtual BOOL OnInitDialog();
    // The sheet's buttons, as a person would press them; FALSE when the sheet stayed open.
    BOOL PressOK();
    BOOL PressApply();
    void PressCancel();
    void EndDialog(int nEndID);
    BOOL IsEnded() const { return m_bEnded; }
    void RecalcApply();
    // Enter presses OK (unless the focused control takes Enter itself), Escape presses Cancel.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    CWnd* m_pParentWnd = nullptr;
    struct { DWORD dwFlags = 0; } m_psh;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL CreatePage(int nPage);
    BOOL ApplyAll();
    // After another page became the active one, however it was chosen (a tab, a refused OK going back
    // to the page that refused, or the program's SetActivePage), so a sheet that shows its pages
    // another way keeps that view on the page shown.
    virtual void OnActivePageChanged() {}

    CString m_strCaption;
    std::vector<CPropertyPage*> m_pages;
    std::vector<bool> m_created;
    int m_nActive = -1;
    UINT m_nStartPage = 0;
    BOOL m_bEnded = FALSE;
    int m_nResult = IDCANCEL;
    CRect m_rcPage;
};
