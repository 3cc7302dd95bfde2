// CFieldDefDlg: the raw DAO field dialog ("增加字段" / "修改字段", template 2000): name, one of the nine
// field types, the DAO size, the default value, the required and zero-length flags and fixed or
// variable length. No operation of the library opens it; hosts may.
//
// OK validates and, on a failure, shows "设置错误,需重填!", focuses the offending control with its text
// selected and keeps the dialog open: the name with every blank removed must be 1 to 20 bytes (a
// Chinese character counts two; the name stored and shown is the one without blanks); a text field's
// size must not exceed 255, and a non-empty default must be exactly as long as the size for a fixed
// length and not longer for a variable length.
#pragma once

#include <afx/afx.h>
#include <afx/Dialog.h>
#include <afx/StdCtrls.h>
#include <dao/DaoFieldInfo.h>

class CFieldDefDlg : public CDialog {
    DECLARE_DYNAMIC(CFieldDefDlg)
public:
    enum { IDD = 2000 };

    // With a field (copied) the caption is "修改字段"; without one "增加字段" and the library's default
    // description is edited.
    explicit CFieldDefDlg(CDaoFieldInfo* pField = nullptr, CWnd* pParent = nullptr);

    CDaoFieldInfo GetFieldInfo() const { return m_FieldInfo; }

    CEdit m_editDefault;
    CEdit m_editSize;
    CComboBox m_cbType;
    int m_nLengthKind = -1;  // radio group 1030: 0 fixed, 1 variable
    CDaoFieldInfo m_FieldInfo;
    CString m_strCaption;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnSelChangeType();
    DECLARE_MESSAGE_MAP()

private:
    void ApplyType();
    void Refuse(int nID);
};
