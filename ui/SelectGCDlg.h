// CSelectGCDlg: picks feature classes out of a list of layer schemas ("选择地物类", template 2024).
//
// The left list offers every class of every schema, the right one holds the classes chosen; both are
// sorted by their text "<schema> : <class> [<code>]" and allow several items selected. ">" and "<" (or
// a double click) move the selected items across, ">>" and "<<" all of them. After OK the entries whose
// chosen flag is 1 are the classes picked, in schema and class order (not in text order).
#pragma once

#include <afx/afx.h>
#include <afx/Dialog.h>
#include <afx/StdCtrls.h>

#include "core/GeoTheme.h"

// One class offered.
struct tagGCEntry {
    CString strScheme;  // the schema's (layer's) name
    CString strName;    // the class's name
    UINT nCode = 0;
    int bChosen = 0;
};

class CSelectGCDlg : public CDialog {
    DECLARE_DYNAMIC(CSelectGCDlg)
public:
    enum { IDD = 2024 };

    explicit CSelectGCDlg(CWnd* pParent = nullptr);
    ~CSelectGCDlg() override;

    // The schemas to offer (not owned; may be NULL); before DoModal.
    void SetSchemeList(CTypedPtrList<CObList, CGeoTheme*>* pList) { m_pSchemeList = pList; }
    // The entries (tagGCEntry*, owned by the dialog) in schema and class order.
    CPtrList* GetEntryList() { return &m_EntryList; }

    CListBox m_lbChosen;
    CButton m_btnAdd;
    CButton m_btnAddAll;
    CButton m_btnRemove;
    CButton m_btnRemoveAll;
    CListBox m_lbAvailable;
    CTypedPtrList<CObList, CGeoTheme*>* m_pSchemeList = nullptr;
    CPtrList m_EntryList;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnAdd();
    void OnAddAll();
    void OnRemove();
    void OnRemoveAll();
    void OnSelChangeAvailable();
    void OnSelChangeChosen();
    DECLARE_MESSAGE_MAP()

private:
    static void MoveSelected(CListBox& from, CListBox& to);
    static void MoveAll(CListBox& from, CListBox& to);
    void UpdateButtons();
};
