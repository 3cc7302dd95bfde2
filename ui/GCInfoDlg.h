// CGCInfoDlg: asks for a feature class's name and code ("地物信息", template 2032), optionally showing
// the layer the class belongs to.
//
// The caller sets name, code and layer (SetData, or the public members), may choose the field that
// takes the focus with its text selected (SetFocusField: 1 name, 2 code, 0 neither), runs DoModal and
// reads m_strName and m_nCode after IDOK. OK refuses a code outside 1..4294967295 (the data exchange's
// refusal) and an empty name ("地物名称不能为空!", the name focused); the dialog then stays open. An
// empty layer name hides the layer label and field.
#pragma once

#include <afx/afx.h>
#include <afx/Dialog.h>
#include <afx/StdCtrls.h>

class CGCInfoDlg : public CDialog {
    DECLARE_DYNAMIC(CGCInfoDlg)
public:
    enum { IDD = 2032 };

    explicit CGCInfoDlg(CWnd* pParent = nullptr);

    void SetData(CString strName, UINT nCode, CString strLayerName);
    void SetFocusField(int nFocus) { m_nFocus = nFocus; }

    CString m_strName;
    UINT m_nCode = 0;
    CStatic m_stcLayer;
    CString m_strLayerName;
    CEdit m_editLayer;
    int m_nFocus = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
};
