#include "ui/LayerNormalPage.h"

#include "ui/resources/LayerDialogTemplates.h"

IMPLEMENT_DYNCREATE(CLayerNormalPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CLayerNormalPage, CPropertyPage)
    ON_EN_CHANGE(IDC_LAYERN_NAME, OnChanged)
    ON_BN_CLICKED(IDC_LAYERN_EDITABLE, OnChanged)
    ON_BN_CLICKED(IDC_LAYERN_AUTOSIZE, OnChanged)
    ON_BN_CLICKED(IDC_LAYERN_THEMATIC, OnChanged)
    ON_BN_CLICKED(IDC_LAYERN_GIS, OnClickGIS)
    ON_BN_CLICKED(IDC_LAYERN_CARTO, OnClickCarto)
    ON_BN_CLICKED(IDC_LAYERN_SYMBOLIZED, OnClickSymbolized)
END_MESSAGE_MAP()

CLayerNormalPage::CLayerNormalPage(CString strCaption)
    : CPropertyPage(IDD), m_strCaption(strCaption.IsEmpty() ? CString("图层常规属性") : strCaption) {
    RegisterLayerDialogTemplates();
}

void CLayerNormalPage::SetData(int nLayerKind, CString strFileName, CString strName, COleDateTime buildTime,
                               int bEditable, int bViewOnly, UINT nObjectCount, int bAutoSize, int nLayerType) {
    m_nLayerKind = nLayerKind;
    m_strFileName = strFileName;
    m_strName = strName;
    m_BuildTime = buildTime;
    m_bEditable = bEditable;
    m_bViewOnly = bViewOnly;
    m_nObjectCount = nObjectCount;
    m_bAutoSize = bAutoSize;
    m_nLayerType = nLayerType;
}

void CLayerNormalPage::DoDataExchange(CDataExchange* pDX) {
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_LAYERN_AUTOSIZE, m_btnAutoSize);
    DDX_Text(pDX, IDC_LAYERN_FILE, m_strFileName);
    DDX_Text(pDX, IDC_LAYERN_NAME, m_strName);
    DDX_Text(pDX, IDC_LAYERN_TYPE, m_strLayerType);
    DDX_Text(pDX, IDC_LAYERN_BUILD_DATE, m_strBuildDate);
    // The count is shown only: a read would give back what was written.
    if (!pDX->m_bSaveAndValidate) DDX_Text(pDX, IDC_LAYERN_OBJECTS, m_nObjectCount);
    DDX_Check(pDX, IDC_LAYERN_GIS, m_bGISData);
    DDX_Check(pDX, IDC_LAYERN_CARTO, m_bCartoData);
    DDX_Check(pDX, IDC_LAYERN_THEMATIC, m_bThematic);
    DDX_Check(pDX, IDC_LAYERN_SYMBOLIZED, m_bSymbolized);
    DDX_Check(pDX, IDC_LAYERN_AUTOSIZE, m_bAutoSize);
    DDX_Check(pDX, IDC_LAYERN_EDITABLE, m_bEditable);
}

BOOL CLayerNormalPage::OnInitDialog() {
    SetWindowText(m_strCaption);
    const bool raster = m_nLayerKind == 3 || m_nLayerKind == 4;
    if (raster) GetDlgItem(IDC_LAYERN_AUTOSIZE)->ShowWindow(SW_SHOW);
    if (m_nLayerKind != 2)
        for (int id : {IDC_LAYERN_KIND_LABEL, IDC_LAYERN_GIS, IDC_LAYERN_CARTO, IDC_LAYERN_SYMBOLIZED})
            GetDlgItem(id)->ShowWindow(SW_HIDE);
    m_bSymbolized = (m_nLayerType & LAYERTYPE_SYMBOLIZED) != 0;
    m_bThematic = (m_nLayerType & LAYERTYPE_THEMATIC) != 0;
    m_bGISData = !m_bSymbolized && (m_nLayerType & LAYERTYPE_GIS) != 0;
    m_bCartoData = m_bSymbolized || (m_nLayerType & LAYERTYPE_CARTO) != 0;
    m_strBuildDate.Format("%d年%d月%d日", m_BuildTime.GetYear(), m_BuildTime.GetMonth(), m_BuildTime.GetDay());
    static const char* const kinds[] = {"", "图层", "矢量图层", "图像图层", "DEM图层"};
    m_strLayerType = m_nLayerKind >= 1 && m_nLayerKind <= 4 ? kinds[m_nLayerKind] : "";
    CPropertyPage::OnInitDialog();
    UpdateEnabling();
    for (int id : {IDC_LAYERN_NAME, IDC_LAYERN_EDITABLE}) GetDlgItem(id)->EnableWindow(!m_bViewOnly);
    m_btnAutoSize.EnableWindow(!m_bViewOnly);
    return TRUE;
}

void CLayerNormalPage::UpdateEnabling() {
    const BOOL kinds = !m_bSymbolized && !m_bViewOnly;
    GetDlgItem(IDC_LAYERN_GIS)->EnableWindow(kinds);
    GetDlgItem(IDC_LAYERN_CARTO)->EnableWindow(kinds);
    GetDlgItem(IDC_LAYERN_SYMBOLIZED)->EnableWindow(!m_bViewOnly);
}

void CLayerNormalPage::OnChanged() {
    UpdateData(TRUE);
    SetModified();
}

void CLayerNormalPage::OnClickGIS() {
    UpdateData(TRUE);
    if (!m_bGISData && !m_bCartoData) {
        m_bCartoData = 1;
        UpdateData(FALSE);
    }
    SetModified();
}

void CLayerNormalPage::OnClickCarto() {
    UpdateData(TRUE);
    if (!m_bGISData && !m_bCartoData) {
        m_bGISData = 1;
        UpdateData(FALSE);
    }
    SetModified();
}

void CLayerNormalPage::OnClickSymbolized() {
    UpdateData(TRUE);
    if (m_bSymbolized) {
        m_bGISData = 0;
        m_bCartoData = 1;
        UpdateData(FALSE);
    }
    UpdateEnabling();
    SetModified();
}

BOOL CLayerNormalPage::OnApply() {
    UpdateData(TRUE);
    tagLayerNormalData data{m_strName, m_bEditable, m_bAutoSize,
                            (m_bGISData ? LAYERTYPE_GIS : 0) | (m_bCartoData ? LAYERTYPE_CARTO : 0) |
                                (m_bSymbolized ? LAYERTYPE_SYMBOLIZED : 0) | (m_bThematic ? LAYERTYPE_THEMATIC : 0)};
    CWnd* pSheet = GetSheet() ? static_cast<CWnd*>(GetSheet()) : GetParent();
    if (pSheet) pSheet->SendMessage(WM_LAYERNORMAL_CHANGED, 0, reinterpret_cast<LPARAM>(&data));
    return CPropertyPage::OnApply();
}
