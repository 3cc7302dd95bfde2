#include "ui/AnnoTextPropPage.h"

#include <cmath>
#include <cstdlib>

#include "annotation/AnnoFont.h"
#include "annotation/FormatText.h"
#include "ui/GeoFormatDlg.h"
#include "ui/GeoRectDlg.h"
#include "ui/resources/AnnoDialogTemplates.h"

IMPLEMENT_DYNCREATE(CAnnoTextPropPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CAnnoTextPropPage, CPropertyPage)
    ON_CBN_SELCHANGE(1040, OnAlignSelected)
    ON_EN_CHANGE(1030, OnHeightChange)
    ON_EN_CHANGE(1031, OnWidthChange)
    ON_CBN_SELCHANGE(1042, OnTypeSizeSelected)
    ON_BN_CLICKED(1043, OnSizeModeClicked)
    ON_BN_CLICKED(1044, OnSizeModeClicked)
    ON_BN_CLICKED(1041, OnLockClicked)
    ON_BN_CLICKED(1047, OnFormatClicked)
    ON_EN_CHANGE(1054, OnItalicChange)
    ON_CBN_SELCHANGE(1058, OnArraySelected)
    ON_CBN_SELCHANGE(1066, OnPlacementSelected)
    ON_BN_CLICKED(1048, OnFormatSettings)
    ON_BN_CLICKED(1049, OnBoxSettings)
    ON_BN_CLICKED(1467, OnModified)
    ON_BN_CLICKED(1468, OnModified)
    ON_BN_CLICKED(1469, OnModified)
    ON_BN_CLICKED(1050, OnModified)
    ON_BN_CLICKED(1486, OnModified)
    ON_EN_CHANGE(1001, OnModified)
    ON_EN_CHANGE(1032, OnModified)
    ON_EN_CHANGE(1033, OnModified)
    ON_EN_CHANGE(1034, OnModified)
END_MESSAGE_MAP()

namespace {

const int kMoveGroup[] = {1467, 1468, 1469, 1050};
// Everything a read-only page disables.
const int kEditable[] = {1001, 1040, 1467, 1468, 1469, 1050, 1048, 1049, 1030, 1031, 1042, 1043, 1044,
                         1041, 1047, 1034, 1032, 1033, 1486, 1066, 1054, 1053, 1055, 1058, 1056, 1057};

// v * 10 / s and back, for the format dialog's fields.
int SpacingShown(int v, int s) { return static_cast<int>(std::trunc(v * 10.0 / s)); }
int SpacingTaken(int shown, int s) { return static_cast<int>(std::trunc(shown * static_cast<double>(s) / 10.0 + 0.5)); }

}  // namespace

CAnnoTextPropPage::CAnnoTextPropPage() : CPropertyPage(IDD) { RegisterAnnoDialogTemplates(); }

void CAnnoTextPropPage::DoDataExchange(CDataExchange* pDX) {
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, 1055, m_btnColour);
    DDX_Control(pDX, 1042, m_cmbTypeSize);
    DDX_Control(pDX, 1040, m_cmbAlign);
    DDX_Text(pDX, 1001, m_data.strText);
    DDX_Text(pDX, 1032, m_data.fColSpace);
    DDV_MinMaxFloat(pDX, m_data.fColSpace, 0.0f, 1e9f);
    DDX_Text(pDX, 1034, m_data.fRotateAngle);
    DDX_Text(pDX, 1033, m_data.fRowSpace);
    DDV_MinMaxFloat(pDX, m_data.fRowSpace, 0.0f, 1e9f);
    DDX_Check(pDX, 1486, m_data.bTwoAlign);
    DDX_Radio(pDX, 1467, m_data.nMoveMode);
    DDX_Check(pDX, 1047, m_data.bFormatted);
    DDX_Check(pDX, 1041, m_data.bLockRatio);
    DDX_Radio(pDX, 1043, m_data.nSizeMode);
    DDX_Text(pDX, 1030, m_data.fCharHeight);
    DDV_MinMaxFloat(pDX, m_data.fCharHeight, 1.0f, 1e9f);
    DDX_Text(pDX, 1031, m_data.fCharWidth);
    DDV_MinMaxFloat(pDX, m_data.fCharWidth, 1.0f, 1e9f);
    DDX_Text(pDX, 1054, m_data.fItalicAngle);
    DDV_MinMaxFloat(pDX, m_data.fItalicAngle, 0.0f, 80.0f);
    DDX_Text(pDX, 1053, m_data.fLineWidth);
    DDX_Check(pDX, 1056, m_data.bFillFrame);
    DDX_Check(pDX, 1057, m_data.bShowFrame);
    DDX_CBIndex(pDX, 1058, m_data.nArrayStyle);
    DDX_CBIndex(pDX, 1066, m_data.nPlacement);
    DDX_ColourPicker(pDX, 1055, m_data.crBackColor);
}

BOOL CAnnoTextPropPage::OnInitDialog() {
    CString name;
    const bool byName =
        m_data.fCharWidth == m_data.fCharHeight && GetFontKBySize(m_data.fCharHeight, name);
    m_data.nSizeMode = byName ? 0 : 1;
    if (byName) m_data.fTypeSize = m_data.fCharHeight;
    if (m_data.fCharHeight == 0.0f) m_data.fCharHeight = 1.0f;
    m_data.fRatio = m_data.fCharWidth / m_data.fCharHeight;
    if (m_data.nPositionType == 2) m_data.nPlacement = ANNO_PLACE_BOX;
    if (m_data.nPositionType == 2 || m_data.bFormatted) {
        m_data.nArrayStyle = 0;
        m_data.nMoveMode = 0;
    }
    m_nOpenPlacement = m_data.nPlacement;
    m_nOpenType = m_data.nPositionType;

    CPropertyPage::OnInitDialog();
    int count = 0;
    const tagANNOFONTSIZE* sizes = GetAnnoFontSizeTable(count);
    for (int i = 0; i < count; ++i) m_cmbTypeSize.AddString(sizes[i].name);
    m_cmbAlign.SetCurSel(m_data.nAlignType);
    if (byName) m_cmbTypeSize.SetCurSel(m_cmbTypeSize.FindStringExact(-1, name));
    EnableSizeControls(byName);
    UpdateControlStates();
    if (m_data.bReadOnly)
        for (int id : kEditable) GetDlgItem(id)->EnableWindow(FALSE);
    UpdateTextEditStyle();
    return TRUE;
}

BOOL CAnnoTextPropPage::OnKillActive() {
    if (!UpdateData(TRUE)) return FALSE;
    if (!(m_data.fCharWidth > 0.0f) || !(m_data.fCharHeight > 0.0f)) {
        AfxMessageBox("注记的宽和高不能小于0！");
        return FALSE;
    }
    // The placement the page opened with stands for the annotation's own type, which may be one that
    // shows as another (1 and 3 show as a single point).
    m_data.nPositionType =
        m_data.nPlacement == m_nOpenPlacement ? m_nOpenType : AnnoPlacementToType(m_data.nPlacement);
    if (m_data.bFormatted) {
        CString text = m_data.strText;
        if (IsValidFormatString(text) != FORMAT_VALID) {
            AfxMessageBox("格式化注记的字符串的格式有误，请检查！");
            return FALSE;
        }
    }
    return TRUE;
}

void CAnnoTextPropPage::UpdateControlStates() {
    auto enable = [this](int id, bool on) { GetDlgItem(id)->EnableWindow(on ? TRUE : FALSE); };
    auto show = [this](int id, bool on) { GetDlgItem(id)->ShowWindow(on ? SW_SHOW : SW_HIDE); };
    const bool formatted = IsDlgButtonChecked(1047) == BST_CHECKED;
    const int placement = CurSel(1066), array = CurSel(1058);
    show(1049, false);
    show(1048, false);
    for (int id : {1047, 1066, 1486, 1058}) enable(id, true);
    for (int id : kMoveGroup) enable(id, true);
    if (formatted) {
        for (int id : kMoveGroup) enable(id, false);
        for (int id : {1058, 1066, 1486}) enable(id, false);
        show(1048, true);
    }
    if (placement == ANNO_PLACE_BOX || placement == ANNO_PLACE_MULTI) {
        for (int id : kMoveGroup) enable(id, false);
        enable(1047, false);
        enable(1058, false);
    }
    if (array == ARRAY_VERTICAL || array == ARRAY_ECHELON)
        for (int id : {1047, 1066, 1486}) enable(id, false);
    if (placement == ANNO_PLACE_BOX) show(1049, true);
    for (int id : {1032, 1033, 1486}) enable(id, placement != ANNO_PLACE_MULTI);
}

void CAnnoTextPropPage::UpdateTextEditStyle() {
    CWnd* edit = GetDlgItem(1001);
    const DWORD rows = ES_MULTILINE | ES_WANTRETURN;
    if (CurSel(1058) != ARRAY_HORIZONTAL || CurSel(1066) == ANNO_PLACE_MULTI)
        edit->ModifyStyle(rows, 0);
    else
        edit->ModifyStyle(0, rows);
}

void CAnnoTextPropPage::CheckMoveMode(int mode) {
    for (int i = 0; i < 4; ++i) CheckDlgButton(kMoveGroup[i], i == mode ? BST_CHECKED : BST_UNCHECKED);
}

void CAnnoTextPropPage::EnableSizeControls(int bByName) {
    GetDlgItem(1030)->EnableWindow(!bByName);
    GetDlgItem(1031)->EnableWindow(!bByName);
    GetDlgItem(1042)->EnableWindow(bByName ? TRUE : FALSE);
}

bool CAnnoTextPropPage::ReadFloat(int nID, float& value) const {
    CString text;
    GetDlgItemText(nID, text);
    const char* s = static_cast<LPCSTR>(text);
    char* end = nullptr;
    const double v = std::strtod(s, &end);
    if (end == s) return false;
    while (*end == ' ') ++end;
    if (*end != '\0' || !std::isfinite(v)) return false;
    value = static_cast<float>(v);
    return true;
}

void CAnnoTextPropPage::ShowFloat(int nID, float& value) {
    CDataExchange dx(this, FALSE);
    DDX_Text(&dx, nID, value);
}

int CAnnoTextPropPage::CurSel(int nID) const {
    CComboBox* combo = static_cast<CComboBox*>(GetDlgItem(nID));
    return combo ? combo->GetCurSel() : -1;
}

void CAnnoTextPropPage::OnAlignSelected() {
    m_data.nAlignType = CurSel(1040);
    SetModified(TRUE);
}

void CAnnoTextPropPage::OnHeightChange() {
    float h = 0.0f;
    if (ReadFloat(1030, h)) {
        m_data.fCharHeight = h;
        if (IsDlgButtonChecked(1041) == BST_CHECKED) {
            m_data.fCharWidth = h * m_data.fRatio;
            ShowFloat(1031, m_data.fCharWidth);
        }
    }
    SetModified(TRUE);
}

void CAnnoTextPropPage::OnWidthChange() {
    float w = 0.0f;
    if (ReadFloat(1031, w)) {
        m_data.fCharWidth = w;
        if (m_data.fRatio == 0.0f) m_data.fRatio = 0.0001f;
        if (IsDlgButtonChecked(1041) == BST_CHECKED) {
            m_data.fCharHeight = w / m_data.fRatio;
            ShowFloat(1030, m_data.fCharHeight);
        }
    }
    SetModified(TRUE);
}

void CAnnoTextPropPage::OnTypeSizeSelected() {
    const int sel = m_cmbTypeSize.GetCurSel();
    if (sel >= 0) {
        CString name;
        m_cmbTypeSize.GetLBText(sel, name);
        m_data.fTypeSize = static_cast<float>(GetFontSizeByK(name));
        m_data.fCharWidth = m_data.fCharHeight = m_data.fTypeSize;
        ShowFloat(1030, m_data.fCharHeight);
        ShowFloat(1031, m_data.fCharWidth);
    }
    SetModified(TRUE);
}

void CAnnoTextPropPage::OnSizeModeClicked() {
    const bool byName = IsDlgButtonChecked(1043) == BST_CHECKED;
    m_data.nSizeMode = byName ? 0 : 1;
    EnableSizeControls(byName);
    SetModified(TRUE);
}

void CAnnoTextPropPage::OnLockClicked() {
    float w = 0.0f, h = 0.0f;
    // A height of 0 gives no ratio; the one before stays.
    if (ReadFloat(1031, w) && ReadFloat(1030, h) && h != 0.0f) m_data.fRatio = w / h;
    SetModified(TRUE);
}

void CAnnoTextPropPage::OnFormatClicked() {
    UpdateControlStates();
    if (IsDlgButtonChecked(1047) == BST_CHECKED) {
        CComboBox* array = static_cast<CComboBox*>(GetDlgItem(1058));
        array->SetCurSel(ARRAY_HORIZONTAL);
        CheckMoveMode(0);
        UpdateTextEditStyle();
    }
    SetModified(TRUE);
}

void CAnnoTextPropPage::OnItalicChange() {
    float a = 0.0f;
    if (ReadFloat(1054, a) && (a < 0.0f || a > 80.0f)) {
        if (a < 0.0f) a = -a;
        if (a > 80.0f) {
            const double whole = std::trunc(a);
            a = static_cast<float>(std::fmod(whole, 80.0) + (a - whole));
        }
        m_data.fItalicAngle = a;
        ShowFloat(1054, m_data.fItalicAngle);
    }
    SetModified(TRUE);
}

void CAnnoTextPropPage::OnArraySelected() {
    if (CurSel(1058) == ARRAY_ECHELON) CheckMoveMode(1);
    UpdateTextEditStyle();
    UpdateControlStates();
    SetModified(TRUE);
}

void CAnnoTextPropPage::OnPlacementSelected() {
    UpdateControlStates();
    UpdateTextEditStyle();
}

void CAnnoTextPropPage::OnFormatSettings() {
    const int s = m_data.nScale < 1 ? 1 : m_data.nScale;
    CGeoFormatDlg dlg(this);
    tagGEOFORMAT& f = m_data.format;
    dlg.m_Format.hor = SpacingShown(f.hor, s);
    dlg.m_Format.ver = SpacingShown(f.ver, s);
    dlg.m_Format.fen_hor = SpacingShown(f.fen_hor, s);
    dlg.m_Format.fen_ver = SpacingShown(f.fen_ver, s);
    dlg.m_Format.fen_shu_width = f.fen_shu_width * 10.0f / s;
    if (dlg.DoModal() == IDOK) {
        f.hor = SpacingTaken(dlg.m_Format.hor, s);
        f.ver = SpacingTaken(dlg.m_Format.ver, s);
        f.fen_hor = SpacingTaken(dlg.m_Format.fen_hor, s);
        f.fen_ver = SpacingTaken(dlg.m_Format.fen_ver, s);
        f.fen_shu_width = s * dlg.m_Format.fen_shu_width / 10.0f;
    }
    SetModified(TRUE);
}

void CAnnoTextPropPage::OnBoxSettings() {
    CGeoRectDlg dlg(this);
    dlg.SetMargins(m_data.margins, m_data.nScale);
    if (dlg.DoModal() == IDOK) m_data.margins = dlg.GetMargins();
    SetModified(TRUE);
}

void CAnnoTextPropPage::OnModified() { SetModified(TRUE); }
