#include "ui/GeoFormatDlg.h"

#include "ui/resources/AnnoDialogTemplates.h"

IMPLEMENT_DYNAMIC(CGeoFormatDlg, CDialog)

CGeoFormatDlg::CGeoFormatDlg(CWnd* pParent) : CDialog(IDD, pParent) { RegisterAnnoDialogTemplates(); }

void CGeoFormatDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, 1500, m_Format.hor);
    DDV_MinMaxInt(pDX, m_Format.hor, 0, 999999999);
    DDX_Text(pDX, 1501, m_Format.ver);
    DDV_MinMaxInt(pDX, m_Format.ver, 0, 999999999);
    DDX_Text(pDX, 1502, m_Format.fen_hor);
    DDV_MinMaxInt(pDX, m_Format.fen_hor, 0, 999999999);
    DDX_Text(pDX, 1503, m_Format.fen_ver);
    DDV_MinMaxInt(pDX, m_Format.fen_ver, 0, 999999999);
    DDX_Text(pDX, 1504, m_Format.fen_shu_width);
}
