#include "ui/FieldDefDlg.h"

#include "core/GeoFieldList.h"
#include "ui/resources/FieldDialogTemplates.h"

IMPLEMENT_DYNAMIC(CFieldDefDlg, CDialog)

BEGIN_MESSAGE_MAP(CFieldDefDlg, CDialog)
    ON_CBN_SELCHANGE(IDC_FIELDDEF_TYPE, OnSelChangeType)
END_MESSAGE_MAP()

CFieldDefDlg::CFieldDefDlg(CDaoFieldInfo* pField, CWnd* pParent) : CDialog(IDD, pParent) {
    RegisterFieldDialogTemplates();
    if (pField) {
        m_FieldInfo = *pField;
        m_strCaption = "修改字段";
    } else {
        m_FieldInfo = GetDefaultFieldInfo();
        m_strCaption = "增加字段";
    }
}

void CFieldDefDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_FIELDDEF_DEFAULT, m_editDefault);
    DDX_Control(pDX, IDC_FIELDDEF_SIZE, m_editSize);
    DDX_Control(pDX, IDC_FIELDDEF_TYPE, m_cbType);
    DDX_Radio(pDX, IDC_FIELDDEF_FIXED, m_nLengthKind);
    DDX_Text(pDX, IDC_FIELDDEF_NAME, m_FieldInfo.m_strName);
    DDX_Text(pDX, IDC_FIELDDEF_SIZE, m_FieldInfo.m_lSize);
    DDX_Text(pDX, IDC_FIELDDEF_DEFAULT, m_FieldInfo.m_strDefaultValue);
    DDX_Check(pDX, IDC_FIELDDEF_REQUIRED, m_FieldInfo.m_bRequired);
    DDX_Check(pDX, IDC_FIELDDEF_ZEROLENGTH, m_FieldInfo.m_bAllowZeroLength);
    if (pDX->m_bSaveAndValidate) {
        const int sel = m_cbType.GetCurSel();
        if (sel >= 0) m_FieldInfo.m_nType = static_cast<short>(GetFieldTypeCode(sel));
        if (m_nLengthKind == 0)
            m_FieldInfo.m_lAttributes = (m_FieldInfo.m_lAttributes | dbFixedField) & ~dbVariableField;
        else if (m_nLengthKind == 1)
            m_FieldInfo.m_lAttributes = (m_FieldInfo.m_lAttributes | dbVariableField) & ~dbFixedField;
    }
}

BOOL CFieldDefDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetWindowText(m_strCaption);
    m_cbType.ResetContent();
    for (int i = 0; i < FIELD_TYPE_CHOICES; ++i) m_cbType.AddString(GetFieldTypeName(i));
    m_cbType.SetCurSel(GetFieldTypeIndex(m_FieldInfo));
    m_nLengthKind = (m_FieldInfo.m_lAttributes & dbVariableField) ? 1 : 0;
    UpdateData(FALSE);
    ApplyType();
    return TRUE;
}

void CFieldDefDlg::OnSelChangeType() { ApplyType(); }

void CFieldDefDlg::ApplyType() {
    const int sel = m_cbType.GetCurSel();
    if (sel >= 0) m_FieldInfo.m_nType = static_cast<short>(GetFieldTypeCode(sel));
    UpdateData(TRUE);
    const short type = m_FieldInfo.m_nType;
    GetDlgItem(IDC_FIELDDEF_FIXED)->EnableWindow(type == dbText);
    GetDlgItem(IDC_FIELDDEF_VARIABLE)->EnableWindow(type == dbText);
    m_editDefault.EnableWindow(TRUE);
    m_editSize.SetReadOnly(type != dbText);
    LONG size = -1;
    bool fixed = true;
    switch (type) {
    case dbBoolean:
    case dbByte: size = 1; break;
    case dbInteger: size = 2; break;
    case dbLong: size = 4; break;
    case dbCurrency:
    case dbDouble:
    case dbDate: size = 8; break;
    case dbText: fixed = false; break;
    case dbMemo: size = 0; fixed = false; break;
    default: UpdateData(FALSE); return;
    }
    if (size >= 0) m_FieldInfo.m_lSize = size;
    if (fixed)
        m_FieldInfo.m_lAttributes = (m_FieldInfo.m_lAttributes | dbFixedField) & ~dbVariableField;
    else
        m_FieldInfo.m_lAttributes = (m_FieldInfo.m_lAttributes | dbVariableField) & ~dbFixedField;
    m_nLengthKind = fixed ? 0 : 1;
    UpdateData(FALSE);
}

void CFieldDefDlg::Refuse(int nID) {
    AfxMessageBox("设置错误,需重填!", MB_OK);
    CEdit* pEdit = static_cast<CEdit*>(GetDlgItem(nID));
    pEdit->SetFocus();
    pEdit->SetSel(0, -1);
}

void CFieldDefDlg::OnOK() {
    if (!UpdateData(TRUE)) return;
    CString name = m_FieldInfo.m_strName;
    name.Remove(' ');
    m_FieldInfo.m_strName = name;
    SetDlgItemText(IDC_FIELDDEF_NAME, name);
    if (name.GetLength() < 1 || name.GetLength() > 20) {
        Refuse(IDC_FIELDDEF_NAME);
        return;
    }
    if (m_FieldInfo.m_nType == dbText) {
        if (m_FieldInfo.m_lSize > 255) {
            Refuse(IDC_FIELDDEF_SIZE);
            return;
        }
        const CString& def = m_FieldInfo.m_strDefaultValue;
        if (!def.IsEmpty()) {
            const bool fixed = (m_FieldInfo.m_lAttributes & dbFixedField) != 0;
            const LONG len = def.GetLength();
            if (fixed ? len != m_FieldInfo.m_lSize : len > m_FieldInfo.m_lSize) {
                Refuse(IDC_FIELDDEF_DEFAULT);
                return;
            }
        }
    }
    EndDialog(IDOK);
}
