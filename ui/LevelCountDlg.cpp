#include "ui/LevelCountDlg.h"

#include "ui/resources/DemDialogTemplates.h"

namespace {
UINT Template()
{
    RegisterDemDialogTemplates();
    return IDD_LEVEL_COUNT;
}
}  // namespace

IMPLEMENT_DYNAMIC(CLevelCountDlg, CDialog)

CLevelCountDlg::CLevelCountDlg(CWnd* pParent) : CDialog(Template(), pParent) {}

void CLevelCountDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_LEVEL_COUNT, m_nCount);
    DDV_MinMaxInt(pDX, m_nCount, 1, 16);
}
