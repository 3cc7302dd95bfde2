#include "ui/ImagePropertyDlg.h"

#include "raster/GeoImage.h"
#include "ui/resources/RasterDialogTemplates.h"

IMPLEMENT_DYNAMIC(CImagePropertyDlg, CDialog)

BEGIN_MESSAGE_MAP(CImagePropertyDlg, CDialog)
    ON_BN_CLICKED(IDC_IMAGE_RESET, OnReset)
END_MESSAGE_MAP()

CImagePropertyDlg::CImagePropertyDlg(CWnd* pParent) : CDialog(IDD, pParent) { RegisterRasterDialogTemplates(); }

void CImagePropertyDlg::SetImage(CGeoImage* image)
{
    if (!image) return;
    const tagRasterParameter p = image->GetRasterParameter();
    m_strName = m_strOldName = image->GetObjectName();
    m_strFile = image->GetDIB()->GetFileName();
    m_nWidth = image->GetDIB()->GetWidth();
    m_nHeight = image->GetDIB()->GetHeight();
    m_nXDpi = m_nOldXDpi = static_cast<int>(p.m_dXResolution);
    m_nYDpi = m_nOldYDpi = static_cast<int>(p.m_dYResolution);
    m_nScale = m_nOldScale = static_cast<UINT>(p.m_nScale);
}

int CImagePropertyDlg::ApplyTo(CGeoImage* image) const
{
    if (!image) return 0;
    tagRasterParameter p = image->GetRasterParameter();
    bool parameter = false;
    if (m_nXDpi != static_cast<int>(p.m_dXResolution)) {
        p.m_dXResolution = m_nXDpi;
        parameter = true;
    }
    if (m_nYDpi != static_cast<int>(p.m_dYResolution)) {
        p.m_dYResolution = m_nYDpi;
        parameter = true;
    }
    if (m_nScale != static_cast<UINT>(p.m_nScale)) {
        p.m_nScale = static_cast<int>(m_nScale);
        parameter = true;
    }
    if (parameter) image->SetRasterParameter(p);
    const bool named = m_strName != image->GetObjectName();
    if (named) image->SetObjectName(m_strName);
    return parameter || named ? 1 : 0;
}

void CImagePropertyDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_IMAGE_NAME, m_strName);
    DDV_MaxChars(pDX, m_strName, 20);
    DDX_Text(pDX, IDC_IMAGE_FILE, m_strFile);
    DDX_Text(pDX, IDC_IMAGE_WIDTH, m_nWidth);
    DDX_Text(pDX, IDC_IMAGE_HEIGHT, m_nHeight);
    DDX_Text(pDX, IDC_IMAGE_XDPI, m_nXDpi);
    DDX_Text(pDX, IDC_IMAGE_YDPI, m_nYDpi);
    DDX_Text(pDX, IDC_IMAGE_SCALE, m_nScale);
    DDV_MinMaxUInt(pDX, m_nScale, 100, 1000000);
}

void CImagePropertyDlg::OnReset()
{
    m_strName = m_strOldName;
    m_nXDpi = m_nOldXDpi;
    m_nYDpi = m_nOldYDpi;
    m_nScale = m_nOldScale;
    UpdateData(FALSE);
}
