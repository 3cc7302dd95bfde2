#include "ui/DEMLevelDlg.h"

#include <algorithm>
#include <cmath>

#include <afx/Dc.h>

#include "terrain/GeoDEM.h"
#include "ui/LevelCountDlg.h"
#include "ui/resources/DemDialogTemplates.h"

namespace {

UINT Template()
{
    RegisterDemDialogTemplates();
    return IDD_DEM_LEVEL;
}

const COLORREF kWhite = 0xFFFFFF;

// The DEM asks for its classes through this hook; filled when the library is loaded.
const bool g_hookInstalled = [] {
    SetDemLevelDialogHook(&RunDemLevelDialog);
    return true;
}();

}  // namespace

BEGIN_MESSAGE_MAP(CDEMLevelDlg, CDialog)
    ON_MESSAGE(CLM_ROWCLICKED, OnSelectClass)
    ON_MESSAGE(CPN_SELCHANGE_MSG, OnColourPicked)
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_BN_CLICKED(IDC_DEM_ADD, OnAdd)
    ON_BN_CLICKED(IDC_DEM_DELETE, OnDelete)
    ON_BN_CLICKED(IDC_DEM_SPLIT, OnEqualSplit)
    ON_BN_CLICKED(IDC_DEM_CONFIRM, OnConfirm)
    ON_EN_KILLFOCUS(IDC_DEM_LOWER, OnKillFocusLower)
    ON_EN_KILLFOCUS(IDC_DEM_UPPER, OnKillFocusUpper)
END_MESSAGE_MAP()

IMPLEMENT_DYNAMIC(CDEMLevelDlg, CDialog)

CDEMLevelDlg::CDEMLevelDlg(CWnd* pParent) : CDialog(Template(), pParent) {}

CString CDEMLevelDlg::FormatClassRange(double dLow, double dHigh)
{
    CString s;
    s.Format("[%.1f,%.1f]", dLow, dHigh);
    return s;
}

COLORREF CDEMLevelDlg::MixColors(COLORREF c, COLORREF n)
{
    const int r = GetRValue(c) / 2 + GetRValue(n) / 2;
    const int g = GetGValue(c) / 2 + GetGValue(n) / 2;
    const int b = GetBValue(c) / 2 + GetBValue(n) / 2;
    return RGB(r, g, b);
}

COLORREF CDEMLevelDlg::GetBarColorAt(int x) const
{
    if (x < m_rcBar.left || x >= m_rcBar.right) return kWhite;
    for (int i = 0; i < 3; ++i)
        if (x < m_nBarEnds[i]) return m_crBar[i];
    return kWhite;
}

void CDEMLevelDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_DEM_CLASS_LIST, m_ClassList);
    DDX_Control(pDX, IDC_DEM_BAR, m_ColourBar);
    DDX_Control(pDX, IDC_DEM_COLOUR, m_ColourPicker);
    DDX_Text(pDX, IDC_DEM_LOWER, m_dLowerBound);
    DDX_Text(pDX, IDC_DEM_UPPER, m_dUpperBound);
    DDX_Text(pDX, IDC_DEM_LOWER_UNIT, m_strLowerUnit);
    DDX_Text(pDX, IDC_DEM_UPPER_UNIT, m_strUpperUnit);
    DDX_ColourPicker(pDX, IDC_DEM_COLOUR, m_crCurrent);
    if (!pDX->m_bSaveAndValidate) {
        CString s;
        s.Format("%.1f", m_dLowerBound);
        SetDlgItemText(IDC_DEM_LOWER, s);
        s.Format("%.1f", m_dUpperBound);
        SetDlgItemText(IDC_DEM_UPPER, s);
    }
}

BOOL CDEMLevelDlg::OnInitDialog()
{
    m_strLowerUnit = m_strUpperUnit = m_strUnit;
    CArray<double, double> thresholds;
    m_Parameter.GetThresholdArray(thresholds);
    m_Parameter.GetColorArray(m_Colors);
    // Classes follow the thresholds: a parameter with fewer colours than classes repeats its last colour
    // (as drawing does), extra colours are dropped, and one without colours gets the single grey class.
    if (m_Colors.GetSize() == 0) m_Colors.Add(0x606060);
    const int classes = static_cast<int>(thresholds.GetSize()) + 1;
    const DWORD last = m_Colors[m_Colors.GetSize() - 1];
    while (m_Colors.GetSize() < classes) m_Colors.Add(last);
    m_Colors.SetSize(classes);
    m_Breaks.RemoveAll();
    m_Breaks.Add(m_dMinimum);
    for (int i = 0; i < thresholds.GetSize(); ++i) m_Breaks.Add(thresholds[i]);
    m_Breaks.Add(m_dMaximum);
    m_nSelected = 0;

    CDialog::OnInitDialog();
    m_ClassList.SetExtendedStyle(LVS_EX_FULLROWSELECT);
    m_ClassList.InsertColumn(0, "颜色", LVCFMT_CENTER, 60);
    m_ClassList.InsertColumn(1, "阈值", LVCFMT_CENTER, 150);
    FillClassList();
    m_ClassList.SetFocus();
    SendMessage(CLM_ROWCLICKED, 0, m_nSelected);
    return FALSE;
}

void CDEMLevelDlg::FillClassList()
{
    m_ClassList.DeleteAllItems();
    for (int i = 0; i < GetClassCount(); ++i) {
        m_ClassList.InsertItem(i, "");
        m_ClassList.SetItemText(i, 1, FormatClassRange(m_Breaks[i], m_Breaks[i + 1]));
    }
    m_ClassList.SetRowColors(m_Colors);
}

void CDEMLevelDlg::SetRowRange(int row, double dLow, double dHigh)
{
    if (row >= 0 && row < m_ClassList.GetItemCount()) m_ClassList.SetItemText(row, 1, FormatClassRange(dLow, dHigh));
}

LRESULT CDEMLevelDlg::OnSelectClass(WPARAM, LPARAM lParam)
{
    const int s = static_cast<int>(lParam);
    const int n = GetClassCount();
    if (s < 0 || s >= n) return 1;
    m_nSelected = s;
    m_crCurrent = m_Colors[s];
    const bool last = s == n - 1;
    if (s == 0) {
        m_dLowerBound = m_dMinimum;
        m_dUpperBound = n == 1 ? m_dMaximum : m_Breaks[1];
    } else if (last) {
        m_dLowerBound = m_Breaks[s];
        m_dUpperBound = m_dMaximum;
    } else {
        m_dLowerBound = m_Breaks[s];
        m_dUpperBound = m_Breaks[s + 1];
    }
    if (CWnd* lower = GetDlgItem(IDC_DEM_LOWER)) lower->EnableWindow(s > 0);
    if (CWnd* upper = GetDlgItem(IDC_DEM_UPPER)) upper->EnableWindow(!last);
    UpdateData(FALSE);
    DrawColourBar(s);
    return 1;
}

LRESULT CDEMLevelDlg::OnColourPicked(WPARAM wParam, LPARAM lParam)
{
    if (static_cast<int>(lParam) != IDC_DEM_COLOUR || m_nSelected >= GetClassCount()) return 1;
    m_crCurrent = static_cast<COLORREF>(wParam);
    m_Colors[m_nSelected] = m_crCurrent;
    m_ClassList.SetRowColors(m_Colors);
    m_ClassList.RedrawSelectedRows();
    DrawColourBar(m_nSelected);
    return 1;
}

void CDEMLevelDlg::OnPaint()
{
    CPaintDC dc(this);
    DrawColourBar(m_nSelected);
}

void CDEMLevelDlg::DrawColourBar(int s)
{
    const int n = GetClassCount();
    if (!m_ColourBar.m_hWnd || s < 0 || s >= n) return;
    CRect client;
    m_ColourBar.GetClientRect(&client);
    m_rcBar = client;
    m_rcBar.DeflateRect(5, 10);
    const double width = m_rcBar.Width();
    // Segments: [left, end0) colour0, [end0, end1) colour1, [end1, right) colour2.
    double span = 0.0, base = 0.0;
    double x1 = 0.0, x2 = 0.0;
    COLORREF c0 = m_crCurrent, c1 = m_crCurrent, c2 = m_crCurrent;
    int kind = 0;  // 0 whole bar, 1 two parts at x1, 2 three parts at x1 and x2
    if (n > 1) {
        if (s == 0) {
            base = m_dMinimum;
            span = m_Breaks[2] - m_dMinimum;
            kind = 1;
            c0 = m_crCurrent;
            c1 = c2 = m_Colors[1];
        } else if (s == n - 1) {
            base = m_Breaks[s - 1];
            span = m_dMaximum - base;
            kind = 1;
            c0 = m_Colors[s - 1];
            c1 = c2 = m_crCurrent;
        } else {
            base = m_Breaks[s - 1];
            span = m_Breaks[s + 2] - base;
            kind = 2;
            c0 = m_Colors[s - 1];
            c1 = m_crCurrent;
            c2 = m_Colors[s + 1];
        }
    }
    // Classes without width (a flat DEM, equal breaks) have no scale: the bar is one colour and cannot
    // be dragged.
    m_dPixelsPerUnit = span > 0.0 && std::isfinite(width / span) ? width / span : 0.0;
    if (m_dPixelsPerUnit <= 0.0) {
        kind = 0;
        c0 = c1 = c2 = m_crCurrent;
    }
    const double k = m_dPixelsPerUnit;
    auto clampX = [&](double x) {
        if (!(x > m_rcBar.left)) return static_cast<int>(m_rcBar.left);
        if (x > m_rcBar.right) return static_cast<int>(m_rcBar.right);
        return static_cast<int>(x);
    };
    int e0 = m_rcBar.right, e1 = m_rcBar.right;
    if (kind == 1) {
        x1 = s == 0 ? (m_dUpperBound - base) * k : (m_dLowerBound - base) * k;
        e0 = e1 = clampX(x1);
    } else if (kind == 2) {
        x1 = (m_dLowerBound - base) * k;
        x2 = (m_dUpperBound - base) * k;
        e0 = clampX(x1);
        e1 = std::max(e0, clampX(x2));
    }
    m_nBarEnds[0] = e0;
    m_nBarEnds[1] = e1;
    m_nBarEnds[2] = m_rcBar.right;
    m_crBar[0] = c0;
    m_crBar[1] = c1;
    m_crBar[2] = c2;

    CClientDC dc(&m_ColourBar);
    dc.FillSolidRect(&client, kWhite);
    int left = m_rcBar.left;
    for (int i = 0; i < 3; ++i) {
        if (m_nBarEnds[i] > left) dc.FillSolidRect(left, m_rcBar.top, m_nBarEnds[i] - left, m_rcBar.Height(), m_crBar[i]);
        left = std::max(left, m_nBarEnds[i]);
    }
}

void CDEMLevelDlg::OnLButtonDown(UINT, CPoint point) { DragClassBound(point); }

void CDEMLevelDlg::OnMouseMove(UINT nFlags, CPoint point)
{
    if (nFlags & MK_LBUTTON) DragClassBound(point);
}

void CDEMLevelDlg::DragClassBound(CPoint point)
{
    const int n = GetClassCount(), s = m_nSelected;
    const double k = m_dPixelsPerUnit;
    if (n < 2 || s < 0 || s >= n || !m_ColourBar.m_hWnd || !(k > 0.0)) return;
    ClientToScreen(&point);
    m_ColourBar.ScreenToClient(&point);
    if (!m_rcBar.PtInRect(point)) return;
    const double a = point.x / k;
    bool lowerChanged = false, upperChanged = false;
    if (s == 0) {
        m_dUpperBound = std::min(m_dMinimum + a, m_Breaks[2]);
        upperChanged = true;
    } else if (s == n - 1) {
        m_dLowerBound = std::min(m_Breaks[s - 1] + a, m_dMaximum);
        lowerChanged = true;
    } else {
        const double value = std::min(m_Breaks[s - 1] + a, m_Breaks[s + 2]);
        const double upperX = (m_dUpperBound - m_Breaks[s - 1]) * k;
        const double lowerX = (m_dLowerBound - m_Breaks[s - 1]) * k;
        if (std::fabs(point.x - upperX) < std::fabs(point.x - lowerX)) {
            m_dUpperBound = value;
            upperChanged = true;
        } else {
            m_dLowerBound = value;
            lowerChanged = true;
        }
    }
    if (lowerChanged) {
        m_Breaks[s] = m_dLowerBound;
        SetRowRange(s, m_Breaks[s], m_Breaks[s + 1]);
        SetRowRange(s - 1, m_Breaks[s - 1], m_Breaks[s]);
    }
    if (upperChanged) {
        m_Breaks[s + 1] = m_dUpperBound;
        SetRowRange(s, m_Breaks[s], m_Breaks[s + 1]);
        SetRowRange(s + 1, m_Breaks[s + 1], m_Breaks[s + 2]);
    }
    UpdateData(FALSE);
    m_ClassList.Invalidate();
    DrawColourBar(s);
}

void CDEMLevelDlg::RefuseEdit(int nID)
{
    UpdateData(FALSE);
    if (CEdit* edit = static_cast<CEdit*>(GetDlgItem(nID))) {
        edit->SetFocus();
        edit->SetSel(0, -1);
    }
}

void CDEMLevelDlg::OnKillFocusLower()
{
    const int s = m_nSelected, n = GetClassCount();
    if (s <= 0 || s >= n) return;
    if (!UpdateData(TRUE)) return;
    const double value = m_dLowerBound;
    if (m_Breaks[s - 1] <= value && value <= m_Breaks[s + 1]) {
        m_Breaks[s] = value;
        SetRowRange(s, value, s == n - 1 ? m_dMaximum : m_dUpperBound);
        SetRowRange(s - 1, m_Breaks[s - 1], value);
        DrawColourBar(s);
    } else {
        m_dLowerBound = m_Breaks[s];
        RefuseEdit(IDC_DEM_LOWER);
    }
}

void CDEMLevelDlg::OnKillFocusUpper()
{
    const int s = m_nSelected, n = GetClassCount();
    if (s < 0 || s >= n - 1) return;
    if (!UpdateData(TRUE)) return;
    const double value = m_dUpperBound;
    if (m_Breaks[s] <= value && value <= m_Breaks[s + 2]) {
        m_Breaks[s + 1] = value;
        SetRowRange(s, s == 0 ? m_dMinimum : m_dLowerBound, value);
        SetRowRange(s + 1, value, m_Breaks[s + 2]);
        DrawColourBar(s);
    } else {
        m_dUpperBound = m_Breaks[s + 1];
        RefuseEdit(IDC_DEM_UPPER);
    }
}

void CDEMLevelDlg::OnOK()
{
    CWnd* focus = GetFocus();
    const int id = focus ? focus->GetDlgCtrlID() : 0;
    if (id == IDC_DEM_LOWER) OnKillFocusLower();
    else if (id == IDC_DEM_UPPER) OnKillFocusUpper();
}

void CDEMLevelDlg::OnAdd()
{
    const int n = GetClassCount(), s = m_nSelected;
    if (s < 0 || s >= n) return;
    const bool last = s == n - 1;
    const COLORREF mixed = n == 1 ? MixColors(m_Colors[s], 0) : MixColors(m_Colors[s], m_Colors[last ? s - 1 : s + 1]);
    if (last) m_Colors.Add(mixed);
    else m_Colors.InsertAt(s + 1, mixed);
    const double mid = m_Breaks[s] + (m_Breaks[s + 1] - m_Breaks[s]) / 2;
    m_Breaks.InsertAt(s + 1, mid);
    SetRowRange(s, m_Breaks[s], mid);
    m_ClassList.InsertItem(s + 1, "");
    SetRowRange(s + 1, mid, m_Breaks[s + 2]);
    m_ClassList.SetRowColors(m_Colors);
    SendMessage(CLM_ROWCLICKED, 0, s);
    m_ClassList.SetFocus();
    Invalidate();
}

void CDEMLevelDlg::OnDelete()
{
    const int n = GetClassCount(), s = m_nSelected;
    if (n <= 1) {
        m_nSelected = 0;
        return;
    }
    if (s < 0 || s >= n) return;
    m_Colors.RemoveAt(s);
    m_ClassList.SetRowColors(m_Colors);
    if (s > 0 && s == n - 1) {
        m_Breaks.RemoveAt(s);
        m_ClassList.DeleteItem(s);
        SetRowRange(s - 1, m_Breaks[s - 1], m_dMaximum);
        m_nSelected = s - 1;
    } else {
        m_Breaks.RemoveAt(s + 1);
        m_ClassList.DeleteItem(s);
        SetRowRange(s, m_Breaks[s], m_Breaks[s + 1]);
    }
    SendMessage(CLM_ROWCLICKED, 0, m_nSelected);
    m_ClassList.SetFocus();
    m_ClassList.Invalidate();
    DrawColourBar(m_nSelected);
}

void CDEMLevelDlg::OnEqualSplit()
{
    CLevelCountDlg count(this);
    count.m_nCount = GetClassCount();
    if (count.DoModal() != IDOK) return;
    const int target = count.m_nCount;
    if (target < 1) return;
    if (target > GetClassCount()) {
        while (GetClassCount() < target) {
            const int n = GetClassCount(), s = std::min(m_nSelected, n - 1);
            const COLORREF neighbour = n == 1 ? 0 : m_Colors[s == n - 1 ? s - 1 : s + 1];
            m_Colors.Add(MixColors(m_Colors[s], neighbour));
        }
    } else {
        m_Colors.SetSize(target);
    }
    m_Breaks.RemoveAll();
    for (int j = 0; j < target; ++j) m_Breaks.Add(m_dMinimum + j * (m_dMaximum - m_dMinimum) / target);
    m_Breaks.Add(m_dMaximum);
    FillClassList();
    m_nSelected = 0;
    SendMessage(CLM_ROWCLICKED, 0, 0);
    m_ClassList.SetFocus();
    Invalidate();
}

void CDEMLevelDlg::OnConfirm()
{
    if (!UpdateData(TRUE)) return;
    const int n = GetClassCount();
    CArray<double, double> inner;
    for (int i = 1; i < n; ++i) inner.Add(m_Breaks[i]);
    if (inner.GetSize() == 0) {
        // A single class has no thresholds; the parameter's setter refuses an empty list (it would keep
        // the old ones and leave classes without colours), so the result is rebuilt without them.
        CGeoClassificationParameter single;
        single.SetName(m_Parameter.GetName());
        single.SetArrange(m_Parameter.GetLow(), m_Parameter.GetHigh());
        m_Parameter = single;
    } else {
        m_Parameter.SetThresholdArray(inner);
    }
    m_Parameter.SetColorArray(m_Colors);
    EndDialog(IDOK);
}

int RunDemLevelDialog(CGeoClassificationParameter& param, const CString& unit, double dMin, double dMax)
{
    CDEMLevelDlg dlg(nullptr);
    dlg.m_Parameter = param;
    dlg.m_strUnit = unit;
    dlg.m_dMinimum = dMin;
    dlg.m_dMaximum = dMax;
    if (dlg.DoModal() != IDOK) return IDCANCEL;
    param = dlg.m_Parameter;
    return IDOK;
}
