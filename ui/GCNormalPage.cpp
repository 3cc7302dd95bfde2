#include "ui/GCNormalPage.h"

#include "ui/resources/ClassDialogTemplates.h"

IMPLEMENT_DYNCREATE(CGCNormalPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CGCNormalPage, CPropertyPage)
    ON_BN_CLICKED(IDC_GCN_LIMIT_SCALE, OnClickGeometry)
    ON_BN_CLICKED(IDC_GCN_POINT, OnClickGeometry)
    ON_BN_CLICKED(IDC_GCN_LINE, OnClickGeometry)
    ON_BN_CLICKED(IDC_GCN_LINE_DIRECTED, OnClickGeometry)
    ON_BN_CLICKED(IDC_GCN_FILLED, OnClickGeometry)
    ON_BN_CLICKED(IDC_GCN_ANNO, OnClickAnno)
    ON_BN_CLICKED(IDC_GCN_IDPOINT, OnClickIdPoint)
    ON_BN_CLICKED(IDC_GCN_POINT_DIRECTED, OnClickPointDirected)
    ON_BN_CLICKED(IDC_GCN_GIS, OnClickGIS)
    ON_BN_CLICKED(IDC_GCN_CARTO, OnClickCarto)
    ON_BN_CLICKED(IDC_GCN_ELEVATION, OnChanged)
    ON_EN_CHANGE(IDC_GCN_NAME, OnChanged)
    ON_EN_CHANGE(IDC_GCN_CODE, OnChanged)
    ON_EN_CHANGE(IDC_GCN_MIN_SCALE, OnChanged)
    ON_EN_CHANGE(IDC_GCN_MAX_SCALE, OnChanged)
    ON_EN_KILLFOCUS(IDC_GCN_CODE, OnKillFocusCode)
END_MESSAGE_MAP()

namespace {

const struct {
    int id;
    DWORD bit;
} kTypeBits[] = {{IDC_GCN_POINT, GCT_POINT},        {IDC_GCN_POINT_DIRECTED, GCT_POINT_DIRECTED},
                 {IDC_GCN_LINE, GCT_LINE},          {IDC_GCN_LINE_DIRECTED, GCT_LINE_DIRECTED},
                 {IDC_GCN_ANNO, GCT_ANNO},          {IDC_GCN_IDPOINT, GCT_POINT_IDPOINT},
                 {IDC_GCN_FILLED, GCT_LINE_FILLED}, {IDC_GCN_GIS, GCT_GIS_DATA},
                 {IDC_GCN_CARTO, GCT_CARTO_DATA}};

}  // namespace

CGCNormalPage::CGCNormalPage() : CPropertyPage(IDD) { RegisterClassDialogTemplates(); }

void CGCNormalPage::SetData(CGeoGClass* pGClass, CObList* pOtherClasses, int bViewOnly) {
    m_pGClass = pGClass;
    m_pOtherClasses = pOtherClasses;
    m_bViewOnly = bViewOnly;
    if (!pGClass) return;
    m_strName = pGClass->GetGCName();
    m_nCode = pGClass->GetGCID() ? pGClass->GetGCID() : 1;
    m_nMaxScale = pGClass->GetMaxScale();
    m_nMinScale = pGClass->GetMinScale();
    m_bLimitScale = !(m_nMaxScale == 0xFFFFFFFFu && m_nMinScale == 1);
    if (!m_bLimitScale) {
        m_nMaxScale = 10000;
        m_nMinScale = 10;
    }
    const DWORD type = static_cast<DWORD>(pGClass->GetType());
    m_bPoint = (type & GCT_POINT) != 0;
    m_bPointDirected = (type & GCT_POINT_DIRECTED) != 0;
    m_bLine = (type & GCT_LINE) != 0;
    m_bLineDirected = (type & GCT_LINE_DIRECTED) != 0;
    m_bAnno = (type & GCT_ANNO) != 0;
    m_bIdentPoint = (type & GCT_POINT_IDPOINT) != 0 && !m_bPointDirected;
    m_bFilled = (type & GCT_LINE_FILLED) != 0;
    m_bGISData = (type & GCT_GIS_DATA) != 0;
    m_bMapData = (type & GCT_CARTO_DATA) != 0;
    m_bElevation = pGClass->IsElevationValid() ? 1 : 0;
}

void CGCNormalPage::DoDataExchange(CDataExchange* pDX) {
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_GCN_LIMIT_SCALE, m_btnLimitScale);
    DDX_Control(pDX, IDC_GCN_NAME, m_edtName);
    DDX_Control(pDX, IDC_GCN_CODE, m_edtCode);
    DDX_Control(pDX, IDC_GCN_MIN_SCALE, m_edtMinScale);
    DDX_Control(pDX, IDC_GCN_MAX_SCALE, m_edtMaxScale);
    DDX_Text(pDX, IDC_GCN_NAME, m_strName);
    DDX_Text(pDX, IDC_GCN_CODE, m_nCode);
    DDX_Text(pDX, IDC_GCN_MAX_SCALE, m_nMaxScale);
    DDX_Text(pDX, IDC_GCN_MIN_SCALE, m_nMinScale);
    DDX_Check(pDX, IDC_GCN_LIMIT_SCALE, m_bLimitScale);
    DDX_Check(pDX, IDC_GCN_POINT, m_bPoint);
    DDX_Check(pDX, IDC_GCN_LINE, m_bLine);
    DDX_Check(pDX, IDC_GCN_ANNO, m_bAnno);
    DDX_Check(pDX, IDC_GCN_ELEVATION, m_bElevation);
    DDX_Check(pDX, IDC_GCN_POINT_DIRECTED, m_bPointDirected);
    DDX_Check(pDX, IDC_GCN_LINE_DIRECTED, m_bLineDirected);
    DDX_Check(pDX, IDC_GCN_IDPOINT, m_bIdentPoint);
    DDX_Check(pDX, IDC_GCN_FILLED, m_bFilled);
    DDX_Check(pDX, IDC_GCN_GIS, m_bGISData);
    DDX_Check(pDX, IDC_GCN_CARTO, m_bMapData);
}

BOOL CGCNormalPage::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    UpdateEnabling();
    return TRUE;
}

void CGCNormalPage::UpdateEnabling() {
    if (m_bViewOnly) {
        for (int id : {IDC_GCN_NAME, IDC_GCN_CODE, IDC_GCN_LIMIT_SCALE, IDC_GCN_ELEVATION, IDC_GCN_POINT, IDC_GCN_LINE,
                       IDC_GCN_ANNO, IDC_GCN_MIN_SCALE, IDC_GCN_MAX_SCALE, IDC_GCN_POINT_DIRECTED, IDC_GCN_IDPOINT,
                       IDC_GCN_LINE_DIRECTED, IDC_GCN_FILLED})
            GetDlgItem(id)->EnableWindow(FALSE);
        return;
    }
    const BOOL limit = Checked(IDC_GCN_LIMIT_SCALE), point = Checked(IDC_GCN_POINT), line = Checked(IDC_GCN_LINE);
    GetDlgItem(IDC_GCN_MIN_SCALE)->EnableWindow(limit);
    GetDlgItem(IDC_GCN_MAX_SCALE)->EnableWindow(limit);
    GetDlgItem(IDC_GCN_POINT_DIRECTED)->EnableWindow(point);
    GetDlgItem(IDC_GCN_IDPOINT)->EnableWindow(point);
    GetDlgItem(IDC_GCN_LINE_DIRECTED)->EnableWindow(line);
    GetDlgItem(IDC_GCN_FILLED)->EnableWindow(line);
}

void CGCNormalPage::OnChanged() { SetModified(); }

void CGCNormalPage::OnClickGeometry() {
    UpdateEnabling();
    SetModified();
}

void CGCNormalPage::OnClickAnno() {
    UpdateEnabling();
    SetModified();
    if (CWnd* pSheet = GetParent())
        pSheet->SendMessage(WM_GCTYPE_CHANGED, GCT_ANNO, Checked(IDC_GCN_ANNO) ? 1 : 0);
}

void CGCNormalPage::OnClickIdPoint() {
    if (Checked(IDC_GCN_IDPOINT)) CheckDlgButton(IDC_GCN_POINT_DIRECTED, BST_UNCHECKED);
    SetModified();
}

void CGCNormalPage::OnClickPointDirected() {
    if (Checked(IDC_GCN_POINT_DIRECTED)) CheckDlgButton(IDC_GCN_IDPOINT, BST_UNCHECKED);
    SetModified();
}

void CGCNormalPage::OnClickGIS() {
    if (!Checked(IDC_GCN_GIS) && !Checked(IDC_GCN_CARTO)) CheckDlgButton(IDC_GCN_CARTO, BST_CHECKED);
    SetModified();
}

void CGCNormalPage::OnClickCarto() {
    if (!Checked(IDC_GCN_CARTO) && !Checked(IDC_GCN_GIS)) CheckDlgButton(IDC_GCN_GIS, BST_CHECKED);
    SetModified();
}

void CGCNormalPage::Refuse(LPCTSTR lpszMessage, int nID) {
    AfxMessageBox(lpszMessage);
    CEdit* pEdit = static_cast<CEdit*>(GetDlgItem(nID));
    pEdit->SetFocus();
    pEdit->SetSel(0, -1);
}

void CGCNormalPage::OnKillFocusCode() {
    BOOL bNumber = FALSE;
    const UINT value = GetDlgItemInt(IDC_GCN_CODE, &bNumber, FALSE);
    if (bNumber && value == 0) Refuse("地物编码必须是大于0的正整数!", IDC_GCN_CODE);
}

BOOL CGCNormalPage::OnApply() {
    if (!m_bViewOnly && m_pGClass) {
        // Values the exchange refused would leave the class half-written; the sheet stays open instead.
        if (!UpdateData(TRUE)) return FALSE;
        // Code 0 stands for "no class" and names the table of the common fields; it is never a class's.
        if (m_nCode == 0) {
            Refuse("地物编码必须是大于0的正整数!", IDC_GCN_CODE);
            return FALSE;
        }
        if (m_pOtherClasses) {
            for (POSITION p = m_pOtherClasses->GetHeadPosition(); p;) {
                auto* pOther = static_cast<CGeoGClass*>(m_pOtherClasses->GetNext(p));
                if (!pOther) continue;
                if (pOther->GetGCID() == m_nCode && m_nCode != m_pGClass->GetGCID()) {
                    Refuse("地物编码重复", IDC_GCN_CODE);
                    return FALSE;
                }
                if (pOther->GetGCName().Compare(m_strName) == 0 && m_strName.Compare(m_pGClass->GetGCName()) != 0) {
                    Refuse("地物名称重复", IDC_GCN_NAME);
                    return FALSE;
                }
            }
        }
        if (m_pUsedCodes) {
            for (INT_PTR i = 0; i < m_pUsedCodes->GetSize(); ++i) {
                if ((*m_pUsedCodes)[i] == m_nCode && m_nCode != m_nOwnCode) {
                    Refuse("地物编码重复", IDC_GCN_CODE);
                    return FALSE;
                }
            }
        }
        if (!m_bLimitScale) {
            m_nMaxScale = 0xFFFFFFFFu;
            m_nMinScale = 1;
        }
        m_pGClass->SetGCName(m_strName);
        m_pGClass->SetGCID(m_nCode);
        m_pGClass->SetMinMaxScale(m_nMinScale, m_nMaxScale);
        DWORD type = static_cast<DWORD>(m_pGClass->GetType());
        const int values[] = {m_bPoint, m_bPointDirected, m_bLine, m_bLineDirected, m_bAnno,
                              m_bIdentPoint, m_bFilled, m_bGISData, m_bMapData};
        for (size_t i = 0; i < sizeof values / sizeof values[0]; ++i)
            type = values[i] ? (type | kTypeBits[i].bit) : (type & ~kTypeBits[i].bit);
        m_pGClass->SetType(static_cast<int>(type));
        m_pGClass->ValidElevation(m_bElevation);
        if (CWnd* pSheet = GetParent()) pSheet->SendMessage(WM_GCNORMAL_CHANGED, 0, reinterpret_cast<LPARAM>(m_pGClass));
        if (!m_bLimitScale) {
            // The edits keep showing the suggestion for a range.
            m_nMaxScale = 10000;
            m_nMinScale = 10;
        }
    }
    return CPropertyPage::OnApply();
}
