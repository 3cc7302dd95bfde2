#include "ui/FieldPropDlg.h"

#include "ui/resources/FieldDialogTemplates.h"

IMPLEMENT_DYNAMIC(CFieldPropDlg, CDialog)

BEGIN_MESSAGE_MAP(CFieldPropDlg, CDialog)
    ON_CBN_SELCHANGE(IDC_FIELD_TYPE, OnSelChangeType)
END_MESSAGE_MAP()

namespace {

// The entries of the type list, by list index; indexes 1, 6 and 8 exist only in the mapping.
const struct {
    int nIndex;
    const char* lpszName;
} kTypeEntries[] = {{0, "文本"}, {2, "短整数"}, {3, "长整数"}, {4, "浮点数"}, {5, "是/否"}, {7, "日期"}};

// The list index of a DAO type, -1 for a type the mapping lacks.
int DaoTypeToListType(short nType) {
    for (UINT i = 0; i <= 8; ++i)
        if (ListTypeToDaoType(i) == nType) return static_cast<int>(i);
    return -1;
}

}  // namespace

short ListTypeToDaoType(UINT nIndex) {
    static const short kTypes[] = {dbText, dbByte, dbInteger, dbLong, dbDouble, dbBoolean, dbCurrency, dbDate, dbMemo};
    return nIndex < 9 ? kTypes[nIndex] : static_cast<short>(dbText);
}

CFieldPropDlg::CFieldPropDlg(CWnd* pParent) : CDialog(IDD, pParent), m_strLengthLabel("字段长度") {
    RegisterFieldDialogTemplates();
    m_FieldInfo = GetDefaultFieldInfo();
}

void CFieldPropDlg::SetData(CListCtrl* pList, int bNewField, CDaoFieldInfo* pField) {
    m_pListCtrl = pList;
    m_bNewField = bNewField;
    if (!bNewField && pField) m_FieldInfo = *pField;
}

void CFieldPropDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_FIELD_NAME, m_editName);
    DDX_Control(pDX, IDC_FIELD_TYPE, m_cbType);
    DDX_Control(pDX, IDC_FIELD_LENGTH, m_editLength);
    DDX_Text(pDX, IDC_FIELD_NAME, m_strName);
    DDX_Text(pDX, IDC_FIELD_LENGTH_LABEL, m_strLengthLabel);
    DDX_Text(pDX, IDC_FIELD_LENGTH, m_nLength);
    DDV_MinMaxUInt(pDX, m_nLength, 0, 255);
    DDX_Text(pDX, IDC_FIELD_INPUT_WIDTH, m_nInputWidth);
    // The input width is packed into eight bits of the size, as the length is: a larger one would
    // overwrite the decimals.
    DDV_MinMaxUInt(pDX, m_nInputWidth, 0, 255);
    DDX_Text(pDX, IDC_FIELD_DECIMALS, m_nDecimals);
    DDV_MinMaxUInt(pDX, m_nDecimals, 0, 10);
    DDX_Text(pDX, IDC_FIELD_DEFAULT, m_strDefault);
    DDX_CBIndex(pDX, IDC_FIELD_REQUIRED, m_nRequired);
}

BOOL CFieldPropDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_cbType.ResetContent();
    for (const auto& e : kTypeEntries) {
        const int i = m_cbType.AddString(e.lpszName);
        m_cbType.SetItemData(i, static_cast<DWORD_PTR>(e.nIndex));
    }
    m_cbType.SetCurSel(0);
    m_nTypeIndex = 0;
    if (!m_bNewField) {
        m_strName = m_FieldInfo.m_strName;
        const CString typeName = m_TypeMap.GetTypeString(m_FieldInfo.m_nType);
        int found = -1;
        for (int i = 0; i < m_cbType.GetCount() && !typeName.IsEmpty(); ++i) {
            CString text;
            m_cbType.GetLBText(i, text);
            if (text.Find(typeName) == 0) {
                found = i;
                break;
            }
        }
        if (found >= 0) {
            m_nTypeIndex = static_cast<int>(m_cbType.GetItemData(found));
        } else {
            // A type the list does not offer keeps its own index, so that OK stores it back unchanged.
            const int own = DaoTypeToListType(m_FieldInfo.m_nType);
            m_nTypeIndex = own >= 0 ? own : 0;
        }
        int width = 0, len = 0, dec = 0;
        GetFieldSize(ListTypeToDaoType(static_cast<UINT>(m_nTypeIndex)), m_FieldInfo.m_lSize, width, len, dec);
        m_nLength = static_cast<UINT>(width);
        m_nInputWidth = static_cast<UINT>(len);
        m_nDecimals = static_cast<UINT>(dec);
        m_strDefault = m_FieldInfo.m_strDefaultValue;
        m_nRequired = m_FieldInfo.m_bRequired ? 1 : 0;
        m_cbType.SetCurSel(found);
    }
    ApplyTypeIndex();
    UpdateData(FALSE);
    return TRUE;
}

void CFieldPropDlg::ApplyTypeIndex() {
    const int t = m_nTypeIndex;
    if (t == 0 || t == 8)
        m_strLengthLabel = "文本长度";
    else if (t >= 1 && t <= 4)
        m_strLengthLabel = "输出宽度";
    else
        m_strLengthLabel = "字段长度";
    const BOOL bSized = (t >= 0 && t <= 4) || t == 8;
    GetDlgItem(IDC_FIELD_LENGTH)->EnableWindow(bSized);
    GetDlgItem(IDC_FIELD_INPUT_WIDTH)->EnableWindow(bSized);
    GetDlgItem(IDC_FIELD_DECIMALS)->EnableWindow(t == 4);
}

void CFieldPropDlg::OnSelChangeType() {
    UpdateData(TRUE);
    const int sel = m_cbType.GetCurSel();
    if (sel >= 0) m_nTypeIndex = static_cast<int>(m_cbType.GetItemData(sel));
    int width = 0, len = 0, dec = 0;
    GetFieldSize(ListTypeToDaoType(static_cast<UINT>(m_nTypeIndex)), -1, width, len, dec);
    m_nLength = static_cast<UINT>(width);
    m_nInputWidth = static_cast<UINT>(len);
    m_nDecimals = static_cast<UINT>(dec);
    ApplyTypeIndex();
    UpdateData(FALSE);
}

void CFieldPropDlg::RefuseName(LPCTSTR lpszMessage) {
    AfxMessageBox(lpszMessage);
    m_editName.SetFocus();
    m_editName.SetSel(0, -1);
}

void CFieldPropDlg::OnOK() {
    if (!UpdateData(TRUE)) return;
    if (m_strName.IsEmpty()) {
        RefuseName("请输入字段名!");
        return;
    }
    if (m_bNewField || m_strName.Compare(m_FieldInfo.m_strName) != 0) {
        const int rows = m_pListCtrl ? m_pListCtrl->GetItemCount() : 0;
        for (int i = 0; i < rows; ++i) {
            if (m_pListCtrl->GetItemText(i, 0).CompareNoCase(m_strName) == 0) {
                RefuseName("字段名不能重复!");
                return;
            }
        }
    }
    m_FieldInfo.m_strName = m_strName;
    m_FieldInfo.m_nType = ListTypeToDaoType(static_cast<UINT>(m_nTypeIndex));
    m_FieldInfo.m_lSize = GetFieldSize(m_FieldInfo.m_nType, static_cast<int>(m_nLength),
                                       static_cast<int>(m_nInputWidth), static_cast<int>(m_nDecimals));
    m_FieldInfo.m_bRequired = m_nRequired;
    m_FieldInfo.m_strDefaultValue = m_strDefault;
    EndDialog(IDOK);
}
