// CPickGCDlg: the feature-class picker ("选择地物类", template 2010) of the vector-object sheet.
//
// The caller sets m_Theme (the classes offered), m_nCode (the current class) and m_pSymbolLib, runs
// DoModal and after IDOK reads m_nCode and m_Theme (which may have gained a class made with "新建地物类").
// The list names the classes by name or by code, as the radio pair chooses; that choice is kept for the
// life of the process. "属性" shows the current class in the class sheet, view-only.
#pragma once

#include <afx/afx.h>
#include <afx/Dialog.h>
#include <afx/StdCtrls.h>

#include "core/GeoTheme.h"

class CSymbolLibIO;

class CPickGCDlg : public CDialog {
    DECLARE_DYNAMIC(CPickGCDlg)
public:
    enum { IDD = 2010 };

    explicit CPickGCDlg(CWnd* pParent = nullptr);

    CListBox m_lstClasses;
    UINT m_nCode = 0;
    CString m_strName;
    CGeoTheme m_Theme;
    CSymbolLibIO* m_pSymbolLib = nullptr;
    CGeoGClass m_GClass;  // not read
    // 0 the list shows names, 1 codes; shared by every picker of the process.
    static int s_nListBy;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnSelChangeList();
    void OnDblClkList();
    void OnListBy();
    void OnNewClass();
    void OnProperties();
    DECLARE_MESSAGE_MAP()

private:
    void FillList();
    CString EntryText(const CGeoGClass& gc) const;
};
