#include "ui/ValueInputDlg.h"

#include "ui/ValueInputRange.h"

#include <afx/StdCtrls.h>

IMPLEMENT_DYNAMIC(CValueInputDlg, CDialog)

CValueInputDlg::CValueInputDlg(CWnd* pParent) : CDialog(IDD, pParent) {}

void CValueInputDlg::SetValue(LONG lValue) {
    m_lValue = lValue;
    m_nValueType = 1;
}

void CValueInputDlg::SetValue(float fValue) {
    m_fValue = fValue;
    m_nValueType = 0;
}

void CValueInputDlg::SetValueField(LONG lMin, LONG lMax, int nMode) {
    m_lMin = lMin;
    m_lMax = lMax;
    m_nRangeMode = ClampValueRangeMode(nMode);
}

void CValueInputDlg::SetValueField(float fMin, float fMax, int nMode) {
    m_fMin = fMin;
    m_fMax = fMax;
    m_nRangeMode = ClampValueRangeMode(nMode);
}

void CValueInputDlg::SetPrompt(CString strCaption, CString strLabel, CString strUnit) {
    m_strCaption = strCaption;
    m_strLabel = strLabel;
    m_strUnit = strUnit;
}

void CValueInputDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, 6001, m_fValue);
    DDX_Text(pDX, 6000, m_lValue);
    DDX_Text(pDX, 1038, m_strLabel);
    DDX_Text(pDX, 1039, m_strUnit);
}

BOOL CValueInputDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    GetDlgItem(6000)->ShowWindow(m_nValueType == 1 ? SW_SHOW : SW_HIDE);
    GetDlgItem(6001)->ShowWindow(m_nValueType == 1 ? SW_HIDE : SW_SHOW);
    SetWindowText(m_strCaption);
    CEdit* pEdit = static_cast<CEdit*>(GetDlgItem(VisibleEditID()));
    pEdit->SetFocus();
    pEdit->SetSel(0, -1);
    return FALSE;
}

void CValueInputDlg::OnOK() {
    if (!UpdateData(TRUE)) return;
    CString message;
    const BOOL bPass = m_nValueType == 1 ? CheckValueInRange(m_lValue, m_lMin, m_lMax, m_nRangeMode, &message)
                                         : CheckValueInRange(m_fValue, m_fMin, m_fMax, m_nRangeMode, &message);
    if (!bPass) {
        AfxMessageBox(message);
        CEdit* pEdit = static_cast<CEdit*>(GetDlgItem(VisibleEditID()));
        pEdit->SetFocus();
        pEdit->SetSel(0, -1);
        return;
    }
    EndDialog(IDOK);
}
