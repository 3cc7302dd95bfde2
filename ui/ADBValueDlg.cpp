#include "ui/ADBValueDlg.h"

#include "core/DialogHooks.h"
#include "core/GeoVectorLayer.h"
#include "core/GeoVectorObject.h"
#include "ui/resources/AttributeDialogTemplates.h"

#include <dao/DaoFieldInfo.h>
#include <tamsel/GeoAttributeDatabase.h>
#include <tamsel/ValueConvert.h>

#include <algorithm>

IMPLEMENT_DYNAMIC(CADBValueDlg, CDialog)

namespace {

typedef CList<COleVariant, COleVariant&> ValueList;

UINT Template()
{
    RegisterAttributeDialogTemplates();
    return IDD_ADB_VALUE;
}

const int kRows = 4;

bool IsEmptyValue(const COleVariant& v) { return v.vt == VT_EMPTY || v.vt == VT_NULL; }

bool IsNumberType(short nType)
{
    return nType == dbByte || nType == dbInteger || nType == dbLong || nType == dbCurrency || nType == dbDouble;
}

// Digits, an optional leading minus, at least one digit, and at most nMaxPoints points.
bool IsPlainNumber(const CString& s, int nMaxPoints)
{
    int nPoints = 0, nDigits = 0;
    for (int i = 0; i < s.GetLength(); ++i) {
        const char c = s[i];
        if (c >= '0' && c <= '9')
            ++nDigits;
        else if (c == '.')
            ++nPoints;
        else if (c != '-' || i != 0)
            return false;
    }
    return nDigits > 0 && nPoints <= nMaxPoints;
}

// An integer text against the largest positive and the smallest negative value written out.
bool IntegerInRange(const CString& s, const char* pszMax, const char* pszMin)
{
    if (!IsPlainNumber(s, 0)) return false;
    const CString limit = s[0] == '-' ? CString(pszMin) : CString(pszMax);
    if (s.GetLength() > limit.GetLength()) return false;
    return s.GetLength() < limit.GetLength() || s.CompareNoCase(limit) <= 0;
}

// The edit text of a currency field without the unit shown before it.
CString WithoutCurrencyUnit(CString s)
{
    const CString unit = GetCurrencyUnit();
    if (s.Left(unit.GetLength()) == unit) {
        s = s.Mid(unit.GetLength());
        s.TrimLeft();
    }
    return s;
}

// The row's number text as its check reads it.
CString NumberText(CEdit& edit, short nType)
{
    CString s;
    edit.GetWindowText(s);
    s.TrimLeft();
    s.TrimRight();
    if (nType == dbCurrency) s = WithoutCurrencyUnit(s);
    return s;
}

// The dialog's hook for the core; installed when the library is loaded.
const bool g_hookInstalled = [] {
    SetAttributeValueDialogHook(&RunAttributeValueDialog);
    return true;
}();

}  // namespace

BEGIN_MESSAGE_MAP(CADBValueDlg, CDialog)
    ON_WM_VSCROLL()
    ON_BN_CLICKED(IDC_ADB_DELETE, OnButtonAdvDel)
    ON_BN_CLICKED(IDC_ADB_SPLIT, OnButtonAdvSplit)
    ON_CBN_KILLFOCUS(1255, OnKillFocusRow0)
    ON_CBN_KILLFOCUS(1257, OnKillFocusRow1)
    ON_CBN_KILLFOCUS(1259, OnKillFocusRow2)
    ON_CBN_KILLFOCUS(1261, OnKillFocusRow3)
    ON_NOTIFY(NM_KILLFOCUS, 1254, OnKillFocusDate0)
    ON_NOTIFY(NM_KILLFOCUS, 1256, OnKillFocusDate1)
    ON_NOTIFY(NM_KILLFOCUS, 1258, OnKillFocusDate2)
    ON_NOTIFY(NM_KILLFOCUS, 1260, OnKillFocusDate3)
    ON_EN_KILLFOCUS(1098, OnKillFocusRow0)
    ON_EN_KILLFOCUS(1099, OnKillFocusRow1)
    ON_EN_KILLFOCUS(1100, OnKillFocusRow2)
    ON_EN_KILLFOCUS(1101, OnKillFocusRow3)
END_MESSAGE_MAP()

CADBValueDlg::CADBValueDlg(CWnd* pParent) : CDialog(Template(), pParent) { (void)g_hookInstalled; }

CADBValueDlg::~CADBValueDlg() { delete[] m_pValues; }

void CADBValueDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    for (int row = 0; row < kRows; ++row) {
        DDX_Control(pDX, g_nADBMarkerIDs[row], m_stMarker[row]);
        DDX_Control(pDX, g_nADBNameIDs[row], m_stName[row]);
        DDX_Control(pDX, g_nADBEditIDs[row], m_edValue[row]);
        DDX_Control(pDX, g_nADBDateIDs[row], m_dtValue[row]);
        DDX_Control(pDX, g_nADBListIDs[row], m_cbValue[row]);
        DDX_Control(pDX, g_nADBPlaceholderIDs[row], m_stPlace[row]);
    }
    DDX_Control(pDX, IDC_ADB_SCROLL, m_sbRows);
}

// ---- data ---------------------------------------------------------------------------------------

int CADBValueDlg::HaveSameUserObject(CGeoVectorObject* pObject)
{
    if (!pObject || !pObject->GetLayer()) return 0;
    CGeoAccessorialObjectList list;
    if (!pObject->GetLayer()->FindUserObj(pObject->GetUserID(), list)) return 0;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        if (list.GetNext(pos) != pObject) return 1;
    return 0;
}

int CADBValueDlg::InvalideData(CString s, short nType)
{
    switch (nType) {
        case dbByte:
            return s.GetLength() >= 1 && s.GetLength() <= 3 && IsPlainNumber(s, 0) && s[0] != '-' &&
                           atoi(s) <= 255
                       ? 1
                       : 0;
        case dbInteger:
            return IntegerInRange(s, "32767", "-32768") ? 1 : 0;
        case dbLong:
            return IntegerInRange(s, "2147483647", "-2147483648") ? 1 : 0;
        case dbCurrency:
        case dbDouble:
            return IsPlainNumber(s, 1) ? 1 : 0;
        default:
            return 1;
    }
}

int CADBValueDlg::InitData(CGeoVectorObject* pObject)
{
    if (!pObject || !pObject->GetLayer() || !pObject->GetLayer()->IsKindOf(RUNTIME_CLASS(CGeoVectorLayer))) return 0;
    auto* pLayer = static_cast<CGeoVectorLayer*>(pObject->GetLayer());
    const CGeoTheme& theme = pLayer->m_Theme;
    const UINT nClass = pObject->GetObjectClassID();
    const int nIndex = theme.FindGC(nClass);
    if (nIndex < 0) return 0;
    m_pLayer = pLayer;
    m_pObject = pObject;
    theme.GetGC(nIndex, m_gclass);
    m_nLayerFieldCount = theme.GetFieldCount();
    m_nFieldCount = m_nLayerFieldCount + m_gclass.GetFieldCount();
    if (m_nFieldCount <= 0) return 0;
    delete[] m_pValues;
    m_pValues = new COleVariant[m_nFieldCount];

    CGeoAttributeDatabase* pDB = pLayer->GetAttributeDatabase();
    if (pDB && pDB->IsExistID(pObject->GetUserID(), nClass)) {
        ValueList values;
        if (!pLayer->GetAttribute(pObject->GetUserID(), &values, nClass)) {
            AfxMessageBox("无法获得地物信息!");
            return 0;
        }
        int i = 0;
        for (POSITION pos = values.GetHeadPosition(); pos && i < m_nFieldCount; ++i) m_pValues[i] = values.GetNext(pos);
        return 1;
    }
    for (int i = 0; i < m_nFieldCount; ++i) {
        CDaoFieldInfo info;
        GetFieldInfo(i, info);
        if (!info.m_strDefaultValue.IsEmpty()) m_pValues[i] = stringtoVar(info.m_strDefaultValue, info.m_nType);
    }
    return 1;
}

const COleVariant* CADBValueDlg::GetValue(int nIndex) const
{
    return nIndex >= 0 && nIndex < m_nFieldCount && m_pValues ? &m_pValues[nIndex] : nullptr;
}

int CADBValueDlg::GetFieldInfo(int nIndex, CDaoFieldInfo& info)
{
    if (nIndex < 0 || nIndex >= m_nFieldCount || !m_pLayer) return 0;
    if (nIndex < m_nLayerFieldCount) return m_pLayer->m_Theme.GetFieldInfo(nIndex, info);
    return m_gclass.GetFieldInfo(nIndex - m_nLayerFieldCount, info);
}

// ---- rows ---------------------------------------------------------------------------------------

int CADBValueDlg::GetDataFromCtrl(int nRow, short nType, COleVariant& value)
{
    value.Clear();
    CString s;
    switch (nType) {
        case dbBoolean: {
            const int sel = m_cbValue[nRow].GetCurSel();
            if (sel >= 0)
                value = COleVariant(static_cast<short>(sel == 1 ? VARIANT_TRUE : VARIANT_FALSE), VT_BOOL);
            return 1;
        }
        case dbByte:
        case dbInteger:
        case dbLong:
            s = NumberText(m_edValue[nRow], nType);
            if (s.IsEmpty() || !InvalideData(s, nType)) return 1;
            if (nType == dbByte)
                value = COleVariant(static_cast<BYTE>(atoi(s)));
            else if (nType == dbInteger)
                value = COleVariant(static_cast<short>(atoi(s)));
            else
                value = COleVariant(static_cast<LONG>(atol(s)));
            return 1;
        case dbCurrency:
            s = NumberText(m_edValue[nRow], nType);
            if (s.IsEmpty() || !InvalideData(s, nType)) return 1;
            value = COleVariant(StrtoOleCurrency(s));
            return 1;
        case dbDouble:
            s = NumberText(m_edValue[nRow], nType);
            if (s.IsEmpty() || !InvalideData(s, nType)) return 1;
            value = COleVariant(StringtoDouble(s));
            return 1;
        case dbDate: {
            COleDateTime t;
            if (m_dtValue[nRow].GetTime(t) == GDT_VALID && t.GetStatus() == COleDateTime::valid) value = COleVariant(t);
            return 1;
        }
        case dbText:
        case dbMemo:
            m_edValue[nRow].GetWindowText(s);
            s.TrimLeft();
            if (!s.IsEmpty()) value = COleVariant(s);
            return 1;
        default:
            AfxMessageBox("数据类型不支持!");
            return 0;
    }
}

void CADBValueDlg::SetCtrlData(int nRow, short nType, COleVariant& value)
{
    CString s;
    switch (nType) {
        case dbBoolean:
            m_cbValue[nRow].SetCurSel(value.vt == VT_BOOL && value.boolVal != VARIANT_FALSE ? 1 : 0);
            return;
        case dbByte:
            if (value.vt == VT_UI1) s.Format("%d", static_cast<int>(value.bVal));
            break;
        case dbInteger:
        case dbLong:
            if (value.vt == VT_I2)
                s.Format("%d", static_cast<int>(value.iVal));
            else if (value.vt == VT_I4)
                s.Format("%d", static_cast<int>(value.lVal));
            break;
        case dbCurrency:
            s = GetCurrencyUnit();
            if (value.vt == VT_CY) s += COleCurrency(value.cyVal).Format(0, LANG_USER_DEFAULT);
            break;
        case dbDouble:
            if (value.vt == VT_R8) s.Format("%f", value.dblVal);
            break;
        case dbDate:
            m_dtValue[nRow].SetTime(value.vt == VT_DATE ? COleDateTime(value.date) : COleDateTime::GetCurrentTime());
            return;
        case dbText:
        case dbMemo:
            if (value.vt == VT_BSTR) s = value.strVal;
            break;
        default:
            AfxMessageBox("数据类型不支持!");
            break;
    }
    m_edValue[nRow].SetWindowText(s);
}

CWnd* CADBValueDlg::SetOneGroupState(int nRow, CDaoFieldInfo& info, int nFieldIndex)
{
    if (nFieldIndex < m_nLayerFieldCount)
        m_stMarker[nRow].SetWindowText(info.m_bRequired ? "* L" : "  L");
    else
        m_stMarker[nRow].SetWindowText(info.m_bRequired ? "*  " : "   ");
    m_stName[nRow].SetWindowText(info.m_strName);

    CWnd* pShown = nullptr;
    if (info.m_nType == dbBoolean) {
        m_edValue[nRow].ShowWindow(SW_HIDE);
        m_dtValue[nRow].ShowWindow(SW_HIDE);
        pShown = &m_cbValue[nRow];
    } else if (info.m_nType == dbDate) {
        m_edValue[nRow].ShowWindow(SW_HIDE);
        m_cbValue[nRow].ShowWindow(SW_HIDE);
        pShown = &m_dtValue[nRow];
    } else {
        m_cbValue[nRow].ShowWindow(SW_HIDE);
        m_dtValue[nRow].ShowWindow(SW_HIDE);
        int nLimit = 255;
        if (info.m_nType == dbByte)
            nLimit = 3;
        else if (info.m_nType == dbInteger)
            nLimit = 5;
        else if (info.m_nType == dbLong)
            nLimit = 10;
        else if (info.m_nType == dbText)
            nLimit = static_cast<int>(info.m_lSize);
        m_edValue[nRow].LimitText(nLimit);
        if (info.m_nType == dbCurrency && m_edValue[nRow].GetWindowTextLength() == 0)
            m_edValue[nRow].SetWindowText(GetCurrencyUnit());
        pShown = &m_edValue[nRow];
    }
    pShown->ShowWindow(SW_SHOW);
    return pShown;
}

void CADBValueDlg::SetInitCtrlState()
{
    GetDlgItem(IDC_ADB_SPLIT)->EnableWindow(m_pObject && HaveSameUserObject(m_pObject));
    const COleDateTime now = COleDateTime::GetCurrentTime();
    for (int row = 0; row < kRows; ++row) {
        CRect rc;
        m_stPlace[row].GetWindowRect(&rc);
        ScreenToClient(&rc);
        m_cbValue[row].MoveWindow(&rc, TRUE);
        m_edValue[row].MoveWindow(&rc, TRUE);
        m_dtValue[row].MoveWindow(&rc, TRUE);
        m_dtValue[row].SetTime(now);
        if (row >= m_nFieldCount) {
            m_cbValue[row].ShowWindow(SW_HIDE);
            m_edValue[row].ShowWindow(SW_HIDE);
            m_dtValue[row].ShowWindow(SW_HIDE);
        }
    }
    if (m_nFieldCount <= kRows) {
        m_sbRows.ShowWindow(SW_HIDE);
    } else {
        m_sbRows.SetScrollRange(0, m_nFieldCount - kRows);
    }
}

void CADBValueDlg::SetCurFocus(int nRow, short nType)
{
    if (nRow < 0 || nRow >= kRows) return;
    if (nType == dbBoolean)
        m_cbValue[nRow].SetFocus();
    else if (nType == dbDate)
        m_dtValue[nRow].SetFocus();
    else
        m_edValue[nRow].SetFocus();
}

void CADBValueDlg::UpdateVarArray(int nTop)
{
    for (int row = 0; row < std::min(m_nFieldCount, kRows); ++row) {
        const int nField = nTop + row;
        CDaoFieldInfo info;
        if (!GetFieldInfo(nField, info)) continue;
        GetDataFromCtrl(row, info.m_nType, m_pValues[nField]);
    }
}

int CADBValueDlg::FindRejectedRow(CDaoFieldInfo* pInfo)
{
    for (int row = 0; row < std::min(m_nFieldCount, kRows); ++row) {
        CDaoFieldInfo info;
        if (!GetFieldInfo(m_nTopIndex + row, info) || !IsNumberType(info.m_nType)) continue;
        const CString s = NumberText(m_edValue[row], info.m_nType);
        if (!s.IsEmpty() && !InvalideData(s, info.m_nType)) {
            if (pInfo) *pInfo = info;
            return row;
        }
    }
    return -1;
}

BOOL CADBValueDlg::RefuseRejectedRow()
{
    // Text that is not a number of the field's type would otherwise be stored as an empty value,
    // erasing what the record held, without a word.
    CDaoFieldInfo info;
    const int row = FindRejectedRow(&info);
    if (row < 0) return FALSE;
    AfxMessageBox(info.m_strName + "的数据无效!");
    m_edValue[row].SetFocus();
    m_edValue[row].SetSel(0, -1);
    m_nFocusRow = row;
    return TRUE;
}

int CADBValueDlg::FocusRow() const
{
    // A scroll bar clicked by a person takes the focus, and the row's kill-focus notice names the row;
    // a scroll that leaves the focus where it was (keys, the wheel, a host) finds it in its row.
    const CWnd* pFocus = CWnd::GetFocus();
    for (int row = 0; pFocus && row < kRows; ++row)
        if (pFocus->m_hWnd == m_edValue[row].m_hWnd || pFocus->m_hWnd == m_dtValue[row].m_hWnd ||
            pFocus->m_hWnd == m_cbValue[row].m_hWnd)
            return row;
    return m_nFocusRow;
}

void CADBValueDlg::ShowRows()
{
    for (int row = 0; row < kRows; ++row) {
        const int nField = m_nTopIndex + row;
        CDaoFieldInfo info;
        if (!GetFieldInfo(nField, info)) continue;
        SetOneGroupState(row, info, nField);
        SetCtrlData(row, info.m_nType, m_pValues[nField]);
    }
}

// ---- dialog -------------------------------------------------------------------------------------

BOOL CADBValueDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetInitCtrlState();
    for (int row = 0; row < kRows; ++row) m_cbValue[row].SetCurSel(0);
    CWnd* pFirst = nullptr;
    for (int row = 0; row < std::min(m_nFieldCount, kRows); ++row) {
        CDaoFieldInfo info;
        GetFieldInfo(row, info);
        CWnd* pShown = SetOneGroupState(row, info, row);
        SetCtrlData(row, info.m_nType, m_pValues[row]);
        if (row == 0) pFirst = pShown;
    }
    if (pFirst) pFirst->SetFocus();
    m_nFocusRow = 0;
    return FALSE;
}

void CADBValueDlg::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    const int nOld = m_nTopIndex;
    const int nLast = std::max(0, m_nFieldCount - kRows);
    int nNew = nOld;
    switch (nSBCode) {
        case SB_LINEUP:
            if (nOld > 0) nNew = nOld - 1;
            break;
        case SB_LINEDOWN:
            if (nOld <= m_nFieldCount - 5) nNew = nOld + 1;
            break;
        case SB_PAGEUP:
            if (nOld >= 2)
                nNew = nOld - 2;
            else if (nOld == 1)
                nNew = 0;
            break;
        case SB_PAGEDOWN:
            if (nOld <= m_nFieldCount - 6)
                nNew = nOld + 2;
            else if (nOld == m_nFieldCount - 5)
                nNew = nOld + 1;
            break;
        case SB_THUMBTRACK:
            nNew = std::min(std::max(static_cast<int>(nPos), 0), nLast);
            break;
        default:
            return;
    }
    if (nNew != nOld) {
        // A refused number would be lost once its row shows another field.
        if (RefuseRejectedRow()) return;
        UpdateVarArray(nOld);
        m_nTopIndex = nNew;
        ShowRows();
        const int nFocusField = nOld + FocusRow();
        int nRow = nFocusField - nNew;
        if (nRow < 0 || nRow >= kRows) nRow = nNew > nOld ? 0 : kRows - 1;
        CDaoFieldInfo info;
        GetFieldInfo(nNew + nRow, info);
        SetCurFocus(nRow, info.m_nType);
        // Moving the focus told the row it left; the focused field's row is this one.
        m_nFocusRow = nRow;
        m_sbRows.SetScrollPos(nNew, TRUE);
    }
    (void)pScrollBar;
}

BOOL CADBValueDlg::CollectValues(ValueList& values, BOOL& bAllEmpty)
{
    if (RefuseRejectedRow()) return FALSE;
    UpdateVarArray(m_nTopIndex);
    values.RemoveAll();
    bAllEmpty = TRUE;
    for (int i = 0; i < m_nFieldCount; ++i) {
        CDaoFieldInfo info;
        GetFieldInfo(i, info);
        if (info.m_bRequired && IsEmptyValue(m_pValues[i])) {
            AfxMessageBox(info.m_strName + "为必填字段!");
            return FALSE;
        }
        if (!IsEmptyValue(m_pValues[i])) bAllEmpty = FALSE;
        values.AddTail(m_pValues[i]);
    }
    return TRUE;
}

void CADBValueDlg::OnOK()
{
    ValueList values;
    BOOL bAllEmpty = TRUE;
    if (!CollectValues(values, bAllEmpty)) return;
    if (bAllEmpty) {
        m_nRetCode = 0;
    } else {
        if (!m_pLayer->SetAttribute(m_pObject, &values)) {
            AfxMessageBox("修改属性失败!");
            return;
        }
        m_nRetCode = 1;
    }
    EndDialog(IDOK);
}

void CADBValueDlg::OnCancel()
{
    m_nRetCode = 0;
    EndDialog(IDCANCEL);
}

void CADBValueDlg::OnButtonAdvDel()
{
    // Removes the record whatever other objects share it; a refusal by the database is said, not
    // reported as a deletion.
    if (!m_pLayer->RemoveAttribute(m_pObject, 1)) {
        AfxMessageBox("删除属性失败!");
        return;
    }
    m_nRetCode = 2;
    EndDialog(IDOK);
}

void CADBValueDlg::OnButtonAdvSplit()
{
    ValueList values;
    BOOL bAllEmpty = TRUE;
    if (!CollectValues(values, bAllEmpty)) return;
    const UINT nOldUserID = m_pObject->GetUserID();
    m_pObject->SetUserID(static_cast<UINT>(m_pLayer->AssignID()));
    if (!bAllEmpty) {
        if (!m_pLayer->SetAttribute(m_pObject, &values)) {
            // Without its record under the new ID the object would be cut off from its attributes.
            m_pObject->SetUserID(nOldUserID);
            AfxMessageBox("拆分属性失败!");
            return;
        }
    }
    m_nRetCode = bAllEmpty ? 0 : 3;
    EndDialog(IDOK);
}

int RunAttributeValueDialog(CGeoVectorObject* pObject)
{
    CADBValueDlg dlg(nullptr);
    if (!dlg.InitData(pObject)) return -1;
    dlg.DoModal();
    return dlg.GetRetCode();
}
