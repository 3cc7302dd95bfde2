// CSymbolLibPickDlg: picks a symbol-library file of the symbol-library folder (template 2019).
//
// The list shows the folder's library files ("#name", icon 0), symbol files ("name", icon 1) or both,
// as the type list 1035 says; it opens on the type of the current name (empty or "#..." a library
// file) with that name selected. Selecting an entry puts its name into the edit 1034; a double click
// also presses OK. OK closes only when the name is not empty and its file exists
// (GetSymbolLibFileName, FileIsExist); otherwise the dialog stays open without a message.
#pragma once

#include <afx/afx.h>
#include <afx/Dialog.h>
#include <afx/ImageList.h>
#include <afx/ListCtrl.h>

class CSymbolLibPickDlg : public CDialog {
    DECLARE_DYNAMIC(CSymbolLibPickDlg)
public:
    enum { IDD = 2019 };

    explicit CSymbolLibPickDlg(CString strCurrentName, CWnd* pParent = nullptr);

    // The name chosen after IDOK ("#name" or "name"); the name given until then.
    CString GetLibFileName() const { return m_strLibName; }

    CListCtrl m_lstLibs;
    CString m_strLibName;
    int m_nLibType = 0;
    CImageList m_imgList;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnTypeChanged();
    void OnDblClk(NMHDR* pNMHDR, LRESULT* pResult);
    void OnItemChanged(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    // Lists the folder's files of the type and selects the entry of strSelect.
    void FillList(int nType, const CString& strSelect);
    // The selected entry's name, "#" in front for a library file; "" without selection.
    CString GetSelectedName();
};
