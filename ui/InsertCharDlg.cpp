#include "ui/InsertCharDlg.h"

#include "ui/resources/AnnoDialogTemplates.h"

IMPLEMENT_DYNAMIC(CInsertCharDlg, CDialog)

CInsertCharDlg::CInsertCharDlg(CWnd* pParent) : CDialog(IDD, pParent) { RegisterAnnoDialogTemplates(); }

void CInsertCharDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, 1067, m_strText);
    DDX_Text(pDX, 1068, m_fAngle);
    DDV_MinMaxFloat(pDX, m_fAngle, 0.0f, 360.0f);
}
