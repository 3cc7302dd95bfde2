#include "ui/PropageStyleAnno.h"

#include "annotation/AnnoStyleSample.h"
#include "annotation/GeoAnnoRecord.h"
#include "core/GeoView.h"
#include "ui/StylePageMessages.h"

#include <afx/Dc.h>
#include <ostrel/FontComboBox.h>

IMPLEMENT_DYNCREATE(CPropageStyleAnno, CStylePage)

BEGIN_MESSAGE_MAP(CPropageStyleAnno, CStylePage)
    ON_WM_PAINT()
    ON_BN_CLICKED(1475, OnFlagClicked)
    ON_BN_CLICKED(1476, OnFlagClicked)
    ON_BN_CLICKED(1477, OnFlagClicked)
    ON_BN_CLICKED(1478, OnFlagClicked)
    ON_BN_CLICKED(1046, OnFlagClicked)
    ON_CONTROL_RANGE(BN_CLICKED, 1041, 1041, OnStyleClicked)
    ON_CONTROL_RANGE(BN_CLICKED, 1048, 1048, OnStyleClicked)
    ON_CONTROL_RANGE(BN_CLICKED, 1481, 1482, OnStyleClicked)
    ON_EN_CHANGE(1045, OnSizeChange)
    ON_EN_CHANGE(1047, OnSizeChange)
    ON_EN_CHANGE(1480, OnBufferChange)
    ON_CBN_SELCHANGE(1080, OnFaceSelected)
    ON_MESSAGE(CPN_COLOURCHANGED, OnColourChanged)
END_MESSAGE_MAP()

namespace {

// The size controls: labels, edits and units of the character width and height.
const int kSizeControls[] = {1044, 1045, 1050, 1049, 1047, 1051};
// The four lettering styles that exclude one another.
const int kStyleBoxes[] = {1041, 1048, 1481, 1482};

}  // namespace

CPropageStyleAnno::CPropageStyleAnno() : CStylePage(IDD, STYLEPAGE_ANNO) {}

void CPropageStyleAnno::SetData(GEOVIEW* pGeoView, int bShowSize, UINT nWidth, UINT nHeight) {
    m_pGeoView = pGeoView;
    if (m_pGeoView) LoadFrom(*m_pGeoView);
    m_bShowSize = bShowSize;
    m_nCharWidth = nWidth;
    m_nCharHeight = nHeight;
}

void CPropageStyleAnno::SetShowSize(int bShow, UINT* pWidth, UINT* pHeight) {
    m_bShowSize = bShow;
    if (!bShow) return;
    if (pWidth) m_nCharWidth = *pWidth;
    if (pHeight) m_nCharHeight = *pHeight;
    // An open page shows the new size in its edits too, or the next exchange would read the old one
    // back over it.
    if (m_hWnd) {
        CString text;
        text.Format("%u", m_nCharWidth);
        SetDlgItemText(1045, text);
        text.Format("%u", m_nCharHeight);
        SetDlgItemText(1047, text);
    }
}

void CPropageStyleAnno::LoadFrom(const GEOVIEW& gv) {
    m_strFace = gv.m_szFaceName;
    m_crText = gv.m_crAnnoColor;
    m_nBufferWidth = gv.m_nBufferWidth;
    const DWORD f = gv.m_dwTextFlags;
    m_bBold = (f & GEOVIEW_TEXT_BOLD) ? 1 : 0;
    m_bUnderline = (f & GEOVIEW_TEXT_UNDERLINE) ? 1 : 0;
    m_bStrike = (f & GEOVIEW_TEXT_STRIKE) ? 1 : 0;
    m_bEmphasis = (f & GEOVIEW_TEXT_EMPHASIS) ? 1 : 0;
    m_bTransparent = (f & GEOVIEW_TEXT_TRANSPARENT) ? 1 : 0;
    const bool shoulder = (f & GEOVIEW_TEXT_SONGJIAN) != 0, slant = (f & GEOVIEW_TEXT_SLANT) != 0;
    m_bLeftShoulder = shoulder && !(f & GEOVIEW_TEXT_SONGJIAN_DIR);
    m_bRightShoulder = shoulder && (f & GEOVIEW_TEXT_SONGJIAN_DIR);
    m_bLeftSlant = slant && !(f & GEOVIEW_TEXT_SLANT_DIR);
    m_bRightSlant = slant && (f & GEOVIEW_TEXT_SLANT_DIR);
}

void CPropageStyleAnno::StoreInto(GEOVIEW* pGeoView, const CString& strFace) {
    pGeoView->SetFaceName(strFace);
    pGeoView->m_crAnnoColor = m_crText;
    // Shoulder-raised before slanted: switching one on switches the other off, so slant wins.
    pGeoView->SetTransparent(m_bTransparent);
    pGeoView->SetBold(m_bBold);
    pGeoView->SetSongjian(m_bLeftShoulder || m_bRightShoulder, m_bLeftShoulder);
    pGeoView->SetUnderLine(m_bUnderline);
    pGeoView->SetZhongLine(m_bStrike);
    pGeoView->SetZhuoZhong(m_bEmphasis);
    pGeoView->m_nBufferWidth = m_nBufferWidth;
    pGeoView->SetXieTi(m_bLeftSlant || m_bRightSlant, m_bLeftSlant);
}

int CPropageStyleAnno::GetData(GEOVIEW* pGeoView) {
    if (!m_cmbFace.GetSafeHwnd()) return 0;
    const int sel = m_cmbFace.GetCurSel();
    if (sel < 0) return 0;
    CString face;
    m_cmbFace.GetLBText(sel, face);
    StoreInto(pGeoView, face);
    return 1;
}

void CPropageStyleAnno::DoDataExchange(CDataExchange* pDX) {
    CStylePage::DoDataExchange(pDX);
    DDX_Control(pDX, 1080, m_cmbFace);
    DDX_Control(pDX, 1063, m_btnColour);
    DDX_Control(pDX, 1134, m_stcSample);
    DDX_ColourPicker(pDX, 1063, m_crText);
    DDX_Check(pDX, 1046, m_bTransparent);
    DDX_Check(pDX, 1478, m_bBold);
    DDX_Text(pDX, 1480, m_nBufferWidth);
    DDV_MinMaxInt(pDX, m_nBufferWidth, 0, 999999999);
    DDX_Check(pDX, 1475, m_bUnderline);
    DDX_Check(pDX, 1476, m_bStrike);
    DDX_Check(pDX, 1477, m_bEmphasis);
    DDX_Check(pDX, 1481, m_bLeftSlant);
    DDX_Check(pDX, 1482, m_bRightSlant);
    DDX_Text(pDX, 1045, m_nCharWidth);
    DDX_Text(pDX, 1047, m_nCharHeight);
    DDX_Check(pDX, 1041, m_bLeftShoulder);
    DDX_Check(pDX, 1048, m_bRightShoulder);
}

BOOL CPropageStyleAnno::OnInitDialog() {
    CStylePage::OnInitDialog();
    UpdateFontComboBox(&m_cmbFace, m_strFace);
    if (!m_bShowSize) ShowSizeControls();
    DrawSample();
    return TRUE;
}

BOOL CPropageStyleAnno::OnSetActive() {
    ShowSizeControls();
    DrawSample();
    return CStylePage::OnSetActive();
}

void CPropageStyleAnno::ShowSizeControls() {
    for (int id : kSizeControls)
        if (CWnd* pCtrl = GetDlgItem(id)) pCtrl->ShowWindow(m_bShowSize ? SW_SHOW : SW_HIDE);
}

void CPropageStyleAnno::OnFlagClicked() {
    NotifyChanging();
    DrawSample();
}

void CPropageStyleAnno::OnStyleClicked(UINT nID) {
    if (IsDlgButtonChecked(static_cast<int>(nID)) == BST_CHECKED) {
        // The other three styles go off on the screen; the exchange below reads them so.
        for (int id : kStyleBoxes)
            if (id != static_cast<int>(nID)) CheckDlgButton(id, BST_UNCHECKED);
    }
    NotifyChanging();
    DrawSample();
}

void CPropageStyleAnno::OnSizeChange() {
    NotifyChanging();
    DrawSample();
}

void CPropageStyleAnno::OnBufferChange() { NotifyChanging(); }

void CPropageStyleAnno::OnFaceSelected() {
    const int sel = m_cmbFace.GetCurSel();
    if (sel >= 0) m_cmbFace.GetLBText(sel, m_strFace);
    NotifyChanging();
    DrawSample();
}

LRESULT CPropageStyleAnno::OnColourChanged(WPARAM, LPARAM) {
    NotifyChanging();
    DrawSample();
    return 0;
}

void CPropageStyleAnno::OnPaint() {
    { CPaintDC dc(this); }
    DrawSample();
}

void CPropageStyleAnno::DrawSample() {
    if (!m_stcSample.GetSafeHwnd()) return;
    m_stcSample.RedrawWindow();  // erased and repainted now, so the sample lies on a clean face
    CClientDC dc(&m_stcSample);
    PaintSample(&dc);
}

void CPropageStyleAnno::PaintSample(CDC* pDC) {
    CRect rcClient;
    m_stcSample.GetClientRect(&rcClient);
    GEOVIEW view;
    StoreInto(&view, m_strFace);
    GEOANNO anno;
    anno.m_strText = "中文字样";
    anno.m_nCharWidth = m_bShowSize ? static_cast<int>(m_nCharWidth) : 100;
    anno.m_nCharHeight = m_bShowSize ? static_cast<int>(m_nCharHeight) : 100;
    anno.m_nAlignType = 4;
    anno.m_nPositionType = 0;
    CRect rcBounds = rcClient;
    rcBounds.DeflateRect(15, 15);
    anno.m_rcBounds = rcBounds;
    anno.m_ptPosition = rcBounds.CenterPoint();
    CRect rcClip = rcClient;
    rcClip.DeflateRect(2, 2);
    const int saved = pDC->SaveDC();
    pDC->IntersectClipRect(&rcClip);
    tagGEORECT margins;
    tagGEOFORMAT format;
    DrawTips(pDC, rcBounds, anno, view, margins, format, 1, 1);
    pDC->RestoreDC(saved);
}

void CPropageStyleAnno::AfterApplied(CWnd* pParent) {
    if (m_bShowSize)
        pParent->SendMessage(WM_ANNOSIZE_CHANGED, static_cast<WPARAM>(m_nCharWidth), static_cast<LPARAM>(m_nCharHeight));
}
