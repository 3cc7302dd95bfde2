// CSymbolPickDlg: picks one symbol of an open library with the symbol browser (template 2035).
//
// It opens with the given symbol selected in the browser and shown in the preview; a click in the
// browser shows the symbol in the preview and its number and name in the read-only edits 1050 and
// 1051; typing a number in 1048 selects the first listed symbol whose number begins with it; "恢复"
// (1049) goes back to the symbol given. After IDOK GetSelSymbol is the browser's current symbol; after
// cancel it is the symbol given.
#pragma once

#include "ui/SymbolLibBrowser.h"

#include <afx/afx.h>
#include <afx/Dialog.h>

class CSymbolLibIO;

class CSymbolPickDlg : public CDialog {
    DECLARE_DYNAMIC(CSymbolPickDlg)
public:
    enum { IDD = 2035 };

    // pLib is not owned (NULL lists nothing); dwKindFilter goes to the browser (0x8000 point, 0x4000
    // line, 0x2000 fill; other bits list nothing).
    CSymbolPickDlg(CSymbolLibIO* pLib, LONG lSymbol, DWORD dwKindFilter, CWnd* pParent = nullptr);
    // No library, symbol 0 and the browser's own filter 0xE000.
    explicit CSymbolPickDlg(CWnd* pParent = nullptr);

    void SetSymbolLib(CSymbolLibIO* pLib) { m_pSymbolLib = pLib; }
    void SetSelSymbol(LONG lSymbol) { m_nSymbol = lSymbol; }
    // The browser's filter; returns the previous one.
    DWORD SetSymbolFilter(DWORD dwFilter) { return m_wndBrowser.SetSymbolFilter(dwFilter); }
    LONG GetSelSymbol() const { return m_nSymbol; }

    // For hosts and tests that look inside.
    CSymbolLibBrowser& GetBrowser() { return m_wndBrowser; }
    CSymbolPreview& GetPreview() { return m_stcPreview; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    LRESULT OnSymbolSelected(WPARAM wParam, LPARAM lParam);
    void OnRestore();
    void OnFindChange();
    void OnFindUpdate() {}
    DECLARE_MESSAGE_MAP()

    CSymbolLibIO* m_pSymbolLib = nullptr;
    CSymbolLibBrowser m_wndBrowser;
    LONG m_nSymbol = 0;
    CSymbolPreview m_stcPreview;
};
