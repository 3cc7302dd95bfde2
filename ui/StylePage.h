// The two bases of the display-style pages (point, line, fill, annotation: PropageStyle*.h).
//
// CStylePage: what every style page does with the style it edits. SetData hands it a GEOVIEW (not
// owned, outliving the page's use); the style is written only by Apply, which stores the page's part
// through StorePart and then sends WM_GEOVIEW_CHANGED with the page's kind to the parent
// (StylePageMessages.h). Every edit the person makes sends WM_GEOVIEW_CHANGING with the page's part in
// a scratch style. A view-only page notifies nobody and Apply writes nothing. Apply is refused (FALSE,
// nothing written) when the exchange refuses a value or StorePart returns 0.
//
// CSymbolStylePage: a style page with a symbol browser of one symbol kind over the hidden frame 1041
// when it has a symbol library (not owned, may be NULL). Clicking a symbol shows it in the preview 1045
// and in the edits 1050 (number) and 1051 (name). Without a library the symbol number loaded is shown
// and stored back unchanged.
#pragma once

#include "ui/SymbolLibBrowser.h"

#include <afx/afx.h>
#include <afx/PropertySheet.h>
#include <caddox/Pickers.h>

class CSymbolLibIO;
class GEOVIEW;

class CStylePage : public CPropertyPage {
    DECLARE_DYNAMIC(CStylePage)
public:
    // Nonzero: the page shows the style but its edits notify nobody and Apply writes nothing.
    void SetViewOnly(int bViewOnly) { m_bViewOnly = bViewOnly; }

protected:
    // nKind: the page's STYLEPAGE_* kind, sent with its notifications.
    CStylePage(UINT nIDTemplate, int nKind) : CPropertyPage(nIDTemplate), m_nKind(nKind) {}

    // Stores the page's part into *pGeoView: 1; 0 when the page cannot say it yet (nothing stored).
    virtual int StorePart(GEOVIEW* pGeoView) = 0;
    // Called by Apply after WM_GEOVIEW_CHANGED went to pParent.
    virtual void AfterApplied(CWnd* pParent) { (void)pParent; }

    // Reads the page and sends WM_GEOVIEW_CHANGING with the page's part; marks the page modified.
    void NotifyChanging();
    BOOL OnApply() override;

public:
    GEOVIEW* m_pGeoView = nullptr;
    int m_bViewOnly = 0;

private:
    int m_nKind;
};

class CSymbolStylePage : public CStylePage {
    DECLARE_DYNAMIC(CSymbolStylePage)
public:
    // pLib may be NULL. Call before the page's window exists.
    void SetData(GEOVIEW* pGeoView, CSymbolLibIO* pLib);

    // For hosts and tests that look inside.
    CSymbolLibBrowser& GetBrowser() { return m_wndBrowser; }
    CSymbolPreview& GetPreview() { return m_stcPreview; }

protected:
    // nSymbolFilter: the symbol kinds the browser lists (SetSymbolFilter).
    CSymbolStylePage(UINT nIDTemplate, int nKind, int nSymbolFilter)
        : CStylePage(nIDTemplate, nKind), m_nSymbolFilter(nSymbolFilter) {}

    // Loads the page's members from gv (the symbol into m_nSymbol).
    virtual void LoadFrom(const GEOVIEW& gv) = 0;
    // Refreshes what the page derives from its members after a load (e.g. a type list's samples).
    virtual void OnLoaded() {}

    // The symbol to store: the browser's current one when it exists, else the one loaded.
    LONG CurrentSymbol();

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void ShowSymbolText(LONG lSymbol);
    LRESULT OnSymbolSelected(WPARAM wParam, LPARAM lParam);
    // "恢复" (1042): reloads the page from the style without telling anyone.
    void OnRestore();
    DECLARE_MESSAGE_MAP()

public:
    CSymbolPreview m_stcPreview;
    CSymbolLibIO* m_pSymbolLib = nullptr;
    CSymbolLibBrowser m_wndBrowser;
    LONG m_nSymbol = 0;

private:
    int m_nSymbolFilter;
};
