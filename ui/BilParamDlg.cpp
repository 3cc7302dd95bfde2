#include "ui/BilParamDlg.h"

#include "ui/resources/DemDialogTemplates.h"

namespace {
UINT Template()
{
    RegisterDemDialogTemplates();
    return IDD_BIL_PARAM;
}
}  // namespace

IMPLEMENT_DYNAMIC(CBilParamDlg, CDialog)

CBilParamDlg::CBilParamDlg(CWnd* pParent) : CDialog(Template(), pParent) {}

void CBilParamDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_BIL_HZOOM, m_nHzoom);
    DDV_MinMaxUInt(pDX, m_nHzoom, 1, 10000);
    DDX_Text(pDX, IDC_BIL_INVALID, m_lInvalid);
}

BOOL CBilParamDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (CWnd* invalid = GetDlgItem(IDC_BIL_INVALID)) invalid->SetFocus();
    return FALSE;
}
