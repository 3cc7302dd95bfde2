#include "ui/GCInfoDlg.h"

#include "ui/resources/ClassDialogTemplates.h"

IMPLEMENT_DYNAMIC(CGCInfoDlg, CDialog)

CGCInfoDlg::CGCInfoDlg(CWnd* pParent) : CDialog(IDD, pParent) { RegisterClassDialogTemplates(); }

void CGCInfoDlg::SetData(CString strName, UINT nCode, CString strLayerName) {
    m_strName = strName;
    m_nCode = nCode;
    m_strLayerName = strLayerName;
}

void CGCInfoDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_GCINFO_LAYER_LABEL, m_stcLayer);
    DDX_Control(pDX, IDC_GCINFO_LAYER, m_editLayer);
    DDX_Text(pDX, IDC_GCINFO_NAME, m_strName);
    DDX_Text(pDX, IDC_GCINFO_CODE, m_nCode);
    DDV_MinMaxUInt(pDX, m_nCode, 1, 4294967295u);
    DDX_Text(pDX, IDC_GCINFO_LAYER, m_strLayerName);
}

BOOL CGCInfoDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (m_strLayerName.IsEmpty()) {
        m_stcLayer.ShowWindow(SW_HIDE);
        m_editLayer.ShowWindow(SW_HIDE);
    }
    const int id = m_nFocus == 1 ? IDC_GCINFO_NAME : m_nFocus == 2 ? IDC_GCINFO_CODE : 0;
    if (!id) return TRUE;
    CEdit* pEdit = static_cast<CEdit*>(GetDlgItem(id));
    pEdit->SetFocus();
    pEdit->SetSel(0, -1);
    return FALSE;
}

void CGCInfoDlg::OnOK() {
    if (!UpdateData(TRUE)) return;
    if (m_strName.IsEmpty()) {
        AfxMessageBox("地物名称不能为空!");
        CEdit* pEdit = static_cast<CEdit*>(GetDlgItem(IDC_GCINFO_NAME));
        pEdit->SetFocus();
        pEdit->SetSel(0, -1);
        return;
    }
    EndDialog(IDOK);
}
