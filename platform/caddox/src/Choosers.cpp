#include "caddox/Choosers.h"

#include "caddox/DrawPoint.h"

#include <afx/DialogTemplate.h>
#include <afx/Dc.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

IMPLEMENT_DYNAMIC(CChooserGrid, CWnd)
IMPLEMENT_DYNAMIC(CColourChooser, CDialog)
IMPLEMENT_DYNAMIC(CLineWidthChooser, CDialog)
IMPLEMENT_DYNAMIC(CMarkerChooser, CDialog)

namespace {

const DWORD kGridStyle = SS_NOTIFY | WS_TABSTOP | WS_GROUP;
const DWORD kEditStyle = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;

// The three templates, registered the first time a chooser is made.
void RegisterTemplates() {
    static bool done = false;
    if (done) return;
    done = true;

    AfxDlgTemplate colour;
    colour.id = CADDOX_IDD_COLOUR_CHOOSER;
    colour.caption = "颜色";
    colour.cx = 212;
    colour.cy = 118;
    colour.items = {
        {CADDOX_IDC_CHOOSER_GRID, "Static", "", kGridStyle, 7, 7, 128, 84},
        {IDC_STATIC, "Button", "自定义", BS_GROUPBOX, 142, 3, 63, 88},
        {IDC_STATIC, "Static", "红:", SS_LEFT, 149, 17, 16, 10},
        {CADDOX_IDC_CHOOSER_RED, "Edit", "", kEditStyle | WS_GROUP, 167, 15, 32, 12},
        {IDC_STATIC, "Static", "绿:", SS_LEFT, 149, 33, 16, 10},
        {CADDOX_IDC_CHOOSER_GREEN, "Edit", "", kEditStyle, 167, 31, 32, 12},
        {IDC_STATIC, "Static", "蓝:", SS_LEFT, 149, 49, 16, 10},
        {CADDOX_IDC_CHOOSER_BLUE, "Edit", "", kEditStyle, 167, 47, 32, 12},
        {CADDOX_IDC_CHOOSER_SAMPLE, "Static", "", 0, 149, 65, 50, 20},
        {IDOK, "Button", "确定", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 98, 98, 50, 14},
        {IDCANCEL, "Button", "取消", BS_PUSHBUTTON | WS_TABSTOP, 155, 98, 50, 14},
    };
    AfxRegisterDialogTemplate(colour);

    AfxDlgTemplate width;
    width.id = CADDOX_IDD_WIDTH_CHOOSER;
    width.caption = "线宽";
    width.cx = 178;
    width.cy = 152;
    width.items = {
        {CADDOX_IDC_CHOOSER_GRID, "Static", "", kGridStyle, 7, 7, 106, 120},
        {IDC_STATIC, "Static", "线宽:", SS_LEFT, 7, 135, 24, 10},
        {CADDOX_IDC_CHOOSER_WIDTH, "Edit", "", kEditStyle | WS_GROUP, 33, 133, 46, 12},
        {IDC_STATIC, "Static", "毫米", SS_LEFT, 83, 135, 24, 10},
        {IDOK, "Button", "确定", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 121, 7, 50, 14},
        {IDCANCEL, "Button", "取消", BS_PUSHBUTTON | WS_TABSTOP, 121, 25, 50, 14},
    };
    AfxRegisterDialogTemplate(width);

    AfxDlgTemplate marker;
    marker.id = CADDOX_IDD_MARKER_CHOOSER;
    marker.caption = "点形";
    marker.cx = 134;
    marker.cy = 92;
    marker.items = {
        {CADDOX_IDC_CHOOSER_GRID, "Static", "", kGridStyle, 7, 7, 120, 60},
        {IDOK, "Button", "确定", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 20, 72, 50, 14},
        {IDCANCEL, "Button", "取消", BS_PUSHBUTTON | WS_TABSTOP, 77, 72, 50, 14},
    };
    AfxRegisterDialogTemplate(marker);
}

const COLORREF kPalette[CColourChooser::kPaletteSize] = {
    // greys
    0x000000, 0x404040, 0x606060, 0x808080, 0xA0A0A0, 0xC0C0C0, 0xE0E0E0, 0xFFFFFF,
    // full colours: red, orange, yellow, green, cyan, blue, magenta, purple
    0x0000FF, 0x0080FF, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFF0000, 0xFF00FF, 0x800080,
    // dark
    0x000080, 0x004080, 0x008080, 0x008000, 0x808000, 0x800000, 0x400040, 0x004000,
    // light
    0x8080FF, 0x80C0FF, 0x80FFFF, 0x80FF80, 0xFFFF80, 0xFF8080, 0xFF80FF, 0xFF80C0,
    // pale
    0xC0C0FF, 0xC0E0FF, 0xC0FFFF, 0xC0FFC0, 0xFFFFC0, 0xFFC0C0, 0xFFC0FF, 0xE0C0FF,
    // map colours: greens, olive, browns, tan, blues
    0x006400, 0x228B22, 0x2F6B55, 0x13458B, 0x3F85CD, 0x8CB4D2, 0xE16941, 0xEBCE87,
};

const float kWidths[CLineWidthChooser::kWidthCount] = {0.1f, 0.2f, 0.3f, 0.5f, 0.8f, 1.0f, 1.5f, 2.0f, 3.0f, 5.0f};

std::string Trimmed(const CString& s) {
    std::string t = s.str();
    const size_t a = t.find_first_not_of(" \t");
    if (a == std::string::npos) return std::string();
    const size_t b = t.find_last_not_of(" \t");
    return t.substr(a, b - a + 1);
}

// A whole number 0..255, nothing else.
bool ParseComponent(const CString& text, int& value) {
    const std::string t = Trimmed(text);
    if (t.empty() || t.size() > 3) return false;
    for (char c : t)
        if (c < '0' || c > '9') return false;
    value = std::atoi(t.c_str());
    return value <= 255;
}

// A finite number >= 0, nothing after it.
bool ParseWidth(const CString& text, float& value) {
    const std::string t = Trimmed(text);
    if (t.empty()) return false;
    char* end = nullptr;
    const double v = std::strtod(t.c_str(), &end);
    if (!end || *end != '\0' || !std::isfinite(v) || v < 0.0 || v > 1.0e6) return false;
    value = static_cast<float>(v);
    return true;
}

CString WidthText(float w) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", static_cast<double>(w));
    return CString(buf);
}

}  // namespace

int CaddoxWidthPixels(float fWidth, int nMax) {
    int w = std::isfinite(fWidth) && fWidth < 1.0e6f ? static_cast<int>(std::lround(fWidth)) : nMax;
    if (w > nMax) w = nMax;
    return w < 1 ? 1 : w;
}

// ---- the grid ---------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CChooserGrid, CWnd)
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_KEYDOWN()
    ON_WM_GETDLGCODE()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

void CChooserGrid::Setup(int nCount, int nCols, DrawFn draw, bool bSelectable) {
    m_nCount = nCount < 0 ? 0 : nCount;
    m_nCols = nCols < 1 ? 1 : nCols;
    m_draw = std::move(draw);
    m_bSelectable = bSelectable;
    if (m_nSel >= m_nCount) m_nSel = -1;
    if (m_hWnd) Invalidate();
}

void CChooserGrid::SetCurSel(int nCell) {
    m_nSel = nCell >= 0 && nCell < m_nCount ? nCell : -1;
    if (m_hWnd) Invalidate();
}

CRect CChooserGrid::GetCellRect(int nCell) const {
    if (!m_hWnd || nCell < 0 || nCell >= m_nCount) return CRect(0, 0, 0, 0);
    CRect client;
    GetClientRect(&client);
    const int rows = (m_nCount + m_nCols - 1) / m_nCols;
    const int cw = client.Width() / m_nCols, ch = client.Height() / rows;
    const int x = (nCell % m_nCols) * cw, y = (nCell / m_nCols) * ch;
    return CRect(x, y, x + cw, y + ch);
}

int CChooserGrid::HitTest(CPoint pt) const {
    for (int i = 0; i < m_nCount; ++i)
        if (GetCellRect(i).PtInRect(pt)) return i;
    return -1;
}

void CChooserGrid::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, ::GetSysColor(COLOR_BTNFACE));
    // The cells' texts in the dialog font.
    CFont dialogFont;
    CFont* pFont = GetParent() ? GetParent()->GetFont() : nullptr;
    if (!pFont && dialogFont.CreatePointFont(90, "宋体")) pFont = &dialogFont;
    CFont* pOldFont = pFont ? dc.SelectObject(pFont) : nullptr;
    const bool focused = ::GetFocus() == m_hWnd;
    for (int i = 0; i < m_nCount; ++i) {
        const CRect cell = GetCellRect(i);
        CRect inside = cell;
        inside.DeflateRect(3, 3);
        if (m_draw) m_draw(&dc, i, inside);
        if (i == m_nSel) {
            // Two rings, dark outside and white inside, read on any colour of the cell.
            CRect ring = cell;
            ring.DeflateRect(1, 1);
            dc.Draw3dRect(&ring, 0x000000, 0x000000);
            ring.DeflateRect(1, 1);
            dc.Draw3dRect(&ring, 0xFFFFFF, 0xFFFFFF);
            if (focused) {
                CRect f = cell;
                dc.DrawFocusRect(&f);
            }
        }
    }
    if (pOldFont) dc.SelectObject(pOldFont);
}

void CChooserGrid::Select(int nCell, UINT code) {
    if (nCell < 0 || nCell >= m_nCount) return;
    const bool changed = nCell != m_nSel;
    SetCurSel(nCell);
    HWND hParent = ::GetParent(m_hWnd);
    if (!hParent) return;
    if (changed || code != CGN_SELCHANGE)
        ::SendMessageA(hParent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), code), reinterpret_cast<LPARAM>(m_hWnd));
}

void CChooserGrid::OnLButtonDown(UINT, CPoint pt) {
    if (!m_bSelectable) return;
    if (::GetFocus() != m_hWnd) SetFocus();
    Select(HitTest(pt), CGN_SELCHANGE);
}

void CChooserGrid::OnLButtonDblClk(UINT, CPoint pt) {
    if (!m_bSelectable) return;
    const int cell = HitTest(pt);
    if (cell < 0) return;
    Select(cell, CGN_SELCHANGE);
    if (m_hWnd) Select(cell, CGN_DBLCLK);
}

void CChooserGrid::OnKeyDown(UINT nChar, UINT, UINT) {
    if (!m_bSelectable || m_nCount == 0) return;
    int cell = m_nSel < 0 ? 0 : m_nSel;
    if (m_nSel >= 0) {
        switch (nChar) {
            case VK_LEFT: cell -= 1; break;
            case VK_RIGHT: cell += 1; break;
            case VK_UP: cell -= m_nCols; break;
            case VK_DOWN: cell += m_nCols; break;
            case VK_HOME: cell = 0; break;
            case VK_END: cell = m_nCount - 1; break;
            default: return;
        }
    } else if (nChar != VK_LEFT && nChar != VK_RIGHT && nChar != VK_UP && nChar != VK_DOWN && nChar != VK_HOME &&
               nChar != VK_END) {
        return;
    }
    if (cell < 0 || cell >= m_nCount) return;
    Select(cell, CGN_SELCHANGE);
}

UINT CChooserGrid::OnGetDlgCode() { return DLGC_WANTARROWS; }

void CChooserGrid::OnSetFocus(CWnd*) { Invalidate(); }
void CChooserGrid::OnKillFocus(CWnd*) { Invalidate(); }

// ---- colour ---------------------------------------------------------------------------------------------

CColourChooser::CColourChooser(COLORREF crInitial, CWnd* pParent)
    : CDialog((RegisterTemplates(), CADDOX_IDD_COLOUR_CHOOSER), pParent),
      m_crColour(crInitial & 0xFFFFFF),
      m_crSample(crInitial & 0xFFFFFF) {}

const COLORREF* CColourChooser::Palette() { return kPalette; }

int CColourChooser::PaletteIndex(COLORREF cr) {
    for (int i = 0; i < kPaletteSize; ++i)
        if (kPalette[i] == (cr & 0xFFFFFF)) return i;
    return -1;
}

BOOL CColourChooser::OnInitDialog() {
    CDialog::OnInitDialog();
    m_grid.SubclassDlgItem(CADDOX_IDC_CHOOSER_GRID, this);
    m_grid.Setup(kPaletteSize, kPaletteCols, [](CDC* pDC, int i, const CRect& rc) {
        pDC->FillSolidRect(&rc, kPalette[i]);
        pDC->Draw3dRect(&rc, 0x808080, 0x808080);
    });
    m_sample.SubclassDlgItem(CADDOX_IDC_CHOOSER_SAMPLE, this);
    m_sample.Setup(1, 1, [this](CDC* pDC, int, const CRect& rc) {
        CRect all = rc;
        all.InflateRect(3, 3);
        pDC->FillSolidRect(&all, m_crSample);
        pDC->Draw3dRect(&all, 0x000000, 0x000000);
    }, false);
    for (int id : {CADDOX_IDC_CHOOSER_RED, CADDOX_IDC_CHOOSER_GREEN, CADDOX_IDC_CHOOSER_BLUE})
        SendDlgItemMessage(id, EM_LIMITTEXT, 3, 0);
    m_grid.SetCurSel(PaletteIndex(m_crColour));
    ShowFields(m_crColour);
    m_grid.SetFocus();
    return FALSE;
}

void CColourChooser::ShowFields(COLORREF cr) {
    m_bFilling = true;
    SetDlgItemInt(CADDOX_IDC_CHOOSER_RED, GetRValue(cr), FALSE);
    SetDlgItemInt(CADDOX_IDC_CHOOSER_GREEN, GetGValue(cr), FALSE);
    SetDlgItemInt(CADDOX_IDC_CHOOSER_BLUE, GetBValue(cr), FALSE);
    m_bFilling = false;
    m_crSample = cr;
    m_sample.Invalidate();
}

BOOL CColourChooser::ReadFields(COLORREF& cr) const {
    int rgb[3] = {0, 0, 0};
    const int ids[3] = {CADDOX_IDC_CHOOSER_RED, CADDOX_IDC_CHOOSER_GREEN, CADDOX_IDC_CHOOSER_BLUE};
    for (int k = 0; k < 3; ++k) {
        CString t;
        GetDlgItemText(ids[k], t);
        if (!ParseComponent(t, rgb[k])) return FALSE;
    }
    cr = RGB(rgb[0], rgb[1], rgb[2]);
    return TRUE;
}

BOOL CColourChooser::OnCommand(WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    if (id == CADDOX_IDC_CHOOSER_GRID && (code == CGN_SELCHANGE || code == CGN_DBLCLK)) {
        const int cell = m_grid.GetCurSel();
        if (cell >= 0 && code == CGN_SELCHANGE) ShowFields(kPalette[cell]);
        if (code == CGN_DBLCLK) OnOK();
        return TRUE;
    }
    if ((id == CADDOX_IDC_CHOOSER_RED || id == CADDOX_IDC_CHOOSER_GREEN || id == CADDOX_IDC_CHOOSER_BLUE) && code == EN_CHANGE) {
        if (m_bFilling) return TRUE;
        COLORREF cr;
        if (ReadFields(cr)) {
            m_crSample = cr;
            m_sample.Invalidate();
            m_grid.SetCurSel(PaletteIndex(cr));
        }
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CColourChooser::OnOK() {
    COLORREF cr;
    if (!ReadFields(cr)) {
        AfxMessageBox("红、绿、蓝的值应为 0 到 255 之间的整数。", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    m_crColour = cr;
    EndDialog(IDOK);
}

// ---- line width ---------------------------------------------------------------------------------------

CLineWidthChooser::CLineWidthChooser(float fInitial, CWnd* pParent)
    : CDialog((RegisterTemplates(), CADDOX_IDD_WIDTH_CHOOSER), pParent), m_fWidth(fInitial) {}

const float* CLineWidthChooser::Widths() { return kWidths; }

int CLineWidthChooser::WidthIndex(float fWidth) {
    for (int i = 0; i < kWidthCount; ++i)
        if (std::fabs(kWidths[i] - fWidth) < 1e-6f) return i;
    return -1;
}

BOOL CLineWidthChooser::OnInitDialog() {
    CDialog::OnInitDialog();
    m_grid.SubclassDlgItem(CADDOX_IDC_CHOOSER_GRID, this);
    m_grid.Setup(kWidthCount, 1, [](CDC* pDC, int i, const CRect& rc) {
        pDC->FillSolidRect(&rc, 0xFFFFFF);
        // The value at the left, the line as the picker will show it at the right.
        CRect text = rc;
        text.right = text.left + 44;
        text.left += 4;
        pDC->SetBkMode(TRANSPARENT);
        pDC->SetTextColor(0x000000);
        pDC->DrawText(WidthText(kWidths[i]), &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        const int w = CaddoxWidthPixels(kWidths[i], rc.Height() - 2);
        const int y = rc.CenterPoint().y - w / 2;
        pDC->FillSolidRect(text.right + 4, y, rc.right - 6 - (text.right + 4), w, 0x000000);
    });
    SendDlgItemMessage(CADDOX_IDC_CHOOSER_WIDTH, EM_LIMITTEXT, 12, 0);
    m_bFilling = true;
    SetDlgItemText(CADDOX_IDC_CHOOSER_WIDTH, WidthText(m_fWidth));
    m_bFilling = false;
    m_grid.SetCurSel(WidthIndex(m_fWidth));
    m_grid.SetFocus();
    return FALSE;
}

BOOL CLineWidthChooser::OnCommand(WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    if (id == CADDOX_IDC_CHOOSER_GRID && (code == CGN_SELCHANGE || code == CGN_DBLCLK)) {
        const int row = m_grid.GetCurSel();
        if (row >= 0 && code == CGN_SELCHANGE) {
            m_bFilling = true;
            SetDlgItemText(CADDOX_IDC_CHOOSER_WIDTH, WidthText(kWidths[row]));
            m_bFilling = false;
        }
        if (code == CGN_DBLCLK) OnOK();
        return TRUE;
    }
    if (id == CADDOX_IDC_CHOOSER_WIDTH && code == EN_CHANGE) {
        if (m_bFilling) return TRUE;
        CString t;
        GetDlgItemText(CADDOX_IDC_CHOOSER_WIDTH, t);
        float w;
        m_grid.SetCurSel(ParseWidth(t, w) ? WidthIndex(w) : -1);
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CLineWidthChooser::OnOK() {
    CString t;
    GetDlgItemText(CADDOX_IDC_CHOOSER_WIDTH, t);
    float w;
    if (!ParseWidth(t, w)) {
        AfxMessageBox("线宽应为不小于 0 的数。", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    m_fWidth = w;
    EndDialog(IDOK);
}

// ---- marker ---------------------------------------------------------------------------------------------

CMarkerChooser::CMarkerChooser(int nInitial, CWnd* pParent)
    : CDialog((RegisterTemplates(), CADDOX_IDD_MARKER_CHOOSER), pParent), m_nMarker(nInitial) {}

BOOL CMarkerChooser::OnInitDialog() {
    CDialog::OnInitDialog();
    m_grid.SubclassDlgItem(CADDOX_IDC_CHOOSER_GRID, this);
    m_grid.Setup(CADDOX_MARKER_COUNT, 4, [](CDC* pDC, int i, const CRect& rc) {
        pDC->FillSolidRect(&rc, 0xFFFFFF);
        const int side = (rc.Width() < rc.Height() ? rc.Width() : rc.Height()) * 3 / 5;
        DrawPoint(pDC, rc.CenterPoint(), 0.0, i, 0x000000, side, 0, nullptr, 0);
    });
    m_grid.SetCurSel(m_nMarker >= 0 && m_nMarker < CADDOX_MARKER_COUNT ? m_nMarker : -1);
    m_grid.SetFocus();
    return FALSE;
}

BOOL CMarkerChooser::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == CADDOX_IDC_CHOOSER_GRID && HIWORD(wParam) == CGN_DBLCLK) {
        OnOK();
        return TRUE;
    }
    if (LOWORD(wParam) == CADDOX_IDC_CHOOSER_GRID) return TRUE;
    return CDialog::OnCommand(wParam, lParam);
}

void CMarkerChooser::OnOK() {
    // With no cell selected (a marker number outside the table), OK keeps the number given.
    if (m_grid.GetCurSel() >= 0) m_nMarker = m_grid.GetCurSel();
    EndDialog(IDOK);
}
