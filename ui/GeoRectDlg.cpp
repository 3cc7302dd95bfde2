#include "ui/GeoRectDlg.h"

#include <cmath>

#include "ui/resources/AnnoDialogTemplates.h"

IMPLEMENT_DYNAMIC(CGeoRectDlg, CDialog)

namespace {

// v * 10 / s in 64 bits, kept inside the int range.
int Shown(int v, int s) {
    const long long q = static_cast<long long>(v) * 10 / s;
    return q > 2147483647LL ? 2147483647 : (q < -2147483647LL - 1 ? -2147483647 - 1 : static_cast<int>(q));
}

int Taken(int shown, int s) {
    const double v = std::trunc(shown * static_cast<double>(s) / 10.0 + 0.5);
    return v >= 2147483647.0 ? 2147483647 : static_cast<int>(v);
}

}  // namespace

CGeoRectDlg::CGeoRectDlg(CWnd* pParent) : CDialog(IDD, pParent) { RegisterAnnoDialogTemplates(); }

void CGeoRectDlg::SetMargins(const tagGEORECT& margins, int s) {
    m_nScale = s < 1 ? 1 : s;
    m_nLeft = Shown(margins.left, m_nScale);
    m_nRight = Shown(margins.right, m_nScale);
    m_nTop = Shown(margins.top, m_nScale);
    m_nBottom = Shown(margins.bottom, m_nScale);
}

tagGEORECT CGeoRectDlg::GetMargins() const {
    tagGEORECT r;
    r.left = Taken(m_nLeft, m_nScale);
    r.right = Taken(m_nRight, m_nScale);
    r.top = Taken(m_nTop, m_nScale);
    r.bottom = Taken(m_nBottom, m_nScale);
    return r;
}

void CGeoRectDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, 1045, m_nBottom);
    DDV_MinMaxInt(pDX, m_nBottom, 0, 999999999);
    DDX_Text(pDX, 1042, m_nLeft);
    DDV_MinMaxInt(pDX, m_nLeft, 0, 999999999);
    DDX_Text(pDX, 1043, m_nRight);
    DDV_MinMaxInt(pDX, m_nRight, 0, 999999999);
    DDX_Text(pDX, 1044, m_nTop);
    DDV_MinMaxInt(pDX, m_nTop, 0, 999999999);
}
