#include "caddox/Pickers.h"

#include "caddox/Choosers.h"
#include "caddox/DrawPoint.h"
#include "caddox/FillShape.h"
#include "caddox/LineShape.h"

#include <cmath>

IMPLEMENT_DYNAMIC(CCaddoxPicker, CButton)
IMPLEMENT_DYNAMIC(CColourPicker, CCaddoxPicker)
IMPLEMENT_DYNAMIC(CLineWidthPicker, CCaddoxPicker)
IMPLEMENT_DYNAMIC(CNonSymbPntPicker, CCaddoxPicker)
IMPLEMENT_DYNAMIC(CLineStyleBox, CComboBox)
IMPLEMENT_DYNAMIC(CFillTypeComboBox, CComboBox)

BEGIN_MESSAGE_MAP(CCaddoxPicker, CButton)
    ON_WM_PAINT()
    ON_CONTROL_REFLECT(BN_CLICKED, OnClicked)
END_MESSAGE_MAP()

void CCaddoxPicker::OnClicked() {
    if (m_hWnd && IsWindowEnabled()) Choose();
}

void CCaddoxPicker::PostNcDestroy() {
    if (m_bAutoDelete) delete this;
}

void CCaddoxPicker::Notify(UINT message, WPARAM wParam) {
    if (m_hWnd) Invalidate();
    if (CWnd* pParent = GetParent()) pParent->SendMessage(message, wParam, static_cast<LPARAM>(GetDlgCtrlID()));
}

void CCaddoxPicker::OnPaint() {
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    dc.FillSolidRect(&rc, ::GetSysColor(COLOR_BTNFACE));
    CRect edge = rc;
    dc.DrawEdge(&edge, EDGE_RAISED, BF_RECT);
    CRect face = rc;
    face.DeflateRect(4, 4);
    if (!IsWindowEnabled()) return;  // a disabled picker shows an empty face
    DrawValue(&dc, face);
}

void CColourPicker::SetColour(COLORREF cr) {
    m_crColour = cr;
    if (m_hWnd) Invalidate();
}

void CColourPicker::PickColour(COLORREF cr) {
    m_crColour = cr;
    Notify(CPN_COLOURCHANGED, static_cast<WPARAM>(cr));
}

BOOL CColourPicker::SelectColour(COLORREF cr) {
    if (!m_hWnd || !IsWindowEnabled()) return FALSE;
    PickColour(cr);
    return TRUE;
}

void CColourPicker::Choose() {
    CColourChooser chooser(m_crColour, this);
    if (chooser.DoModal() == IDOK && m_hWnd) PickColour(chooser.GetColour());
}

void CColourPicker::DrawValue(CDC* pDC, const CRect& rcFace) {
    pDC->FillSolidRect(&rcFace, m_crColour);
    pDC->Draw3dRect(&rcFace, 0x808080, 0x808080);
}

void CLineWidthPicker::SetWidth(float fWidth) {
    m_fWidth = fWidth;
    if (m_hWnd) Invalidate();
}

void CLineWidthPicker::PickWidth(float fWidth) {
    m_fWidth = fWidth;
    Notify(CPN_WIDTHCHANGED, 0);
}

void CLineWidthPicker::Choose() {
    CLineWidthChooser chooser(m_fWidth, this);
    if (chooser.DoModal() == IDOK && m_hWnd && chooser.GetWidth() != m_fWidth) PickWidth(chooser.GetWidth());
}

void CLineWidthPicker::DrawValue(CDC* pDC, const CRect& rcFace) {
    const int w = CaddoxWidthPixels(m_fWidth, rcFace.Height());
    const int y = rcFace.CenterPoint().y - w / 2;
    pDC->FillSolidRect(rcFace.left, y, rcFace.Width(), w, 0x000000);
}

void CNonSymbPntPicker::SetMarker(int nMarker) {
    m_nMarker = nMarker;
    if (m_hWnd) Invalidate();
}

void CNonSymbPntPicker::PickMarker(int nMarker) {
    m_nMarker = nMarker;
    Notify(CPN_MARKERCHANGED, static_cast<WPARAM>(nMarker));
}

void CNonSymbPntPicker::Choose() {
    CMarkerChooser chooser(m_nMarker, this);
    if (chooser.DoModal() == IDOK && m_hWnd && chooser.GetMarker() != m_nMarker) PickMarker(chooser.GetMarker());
}

void CNonSymbPntPicker::DrawValue(CDC* pDC, const CRect& rcFace) {
    const int size = rcFace.Height() < rcFace.Width() ? rcFace.Height() : rcFace.Width();
    DrawPoint(pDC, rcFace.CenterPoint(), 0.0, m_nMarker, 0x000000, size, 0, nullptr, 0);
}

namespace {

// The picker of class T on control nIDC, attaching one (deleted with its window) when the dialog did
// not subclass the control itself. NULL when the control is subclassed by something else.
template <class T>
T* PickerOf(CDataExchange* pDX, int nIDC, CRuntimeClass* pClass) {
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd) return pWnd->IsKindOf(pClass) ? static_cast<T*>(pWnd) : nullptr;
    T* pPicker = new T;
    if (!pPicker->SubclassWindow(hWnd)) {
        delete pPicker;
        return nullptr;
    }
    pPicker->m_bAutoDelete = TRUE;
    return pPicker;
}

}  // namespace

void DDX_ColourPicker(CDataExchange* pDX, int nIDC, COLORREF& crColour) {
    CColourPicker* pPicker = PickerOf<CColourPicker>(pDX, nIDC, RUNTIME_CLASS(CColourPicker));
    if (!pPicker) return;
    if (pDX->m_bSaveAndValidate)
        crColour = pPicker->GetColour();
    else
        pPicker->SetColour(crColour);
}

void DDX_LineWidthPicker(CDataExchange* pDX, int nIDC, float& fWidth) {
    CLineWidthPicker* pPicker = PickerOf<CLineWidthPicker>(pDX, nIDC, RUNTIME_CLASS(CLineWidthPicker));
    if (!pPicker) return;
    if (pDX->m_bSaveAndValidate)
        fWidth = pPicker->GetWidth();
    else
        pPicker->SetWidth(fWidth);
}

void DDX_NonSymbPntPicker(CDataExchange* pDX, int nIDC, int& nMarker) {
    CNonSymbPntPicker* pPicker = PickerOf<CNonSymbPntPicker>(pDX, nIDC, RUNTIME_CLASS(CNonSymbPntPicker));
    if (!pPicker) return;
    if (pDX->m_bSaveAndValidate)
        nMarker = pPicker->GetMarker();
    else
        pPicker->SetMarker(nMarker);
}

// ---- owner-drawn lists --------------------------------------------------------------------------

namespace {

// The item's box filled with the selection or window colour; the inner box to draw in.
CRect PrepareItem(CDC* pDC, const DRAWITEMSTRUCT* pDis) {
    CRect rc(pDis->rcItem);
    const bool bSelected = (pDis->itemState & ODS_SELECTED) != 0;
    pDC->FillSolidRect(&rc, ::GetSysColor(bSelected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    rc.DeflateRect(4, 3);
    return rc;
}

}  // namespace

void CLineStyleBox::DrawItem(LPDRAWITEMSTRUCT pDis) {
    if (!pDis || pDis->itemID == static_cast<UINT>(-1)) return;
    CDC* pDC = CDC::FromHandle(pDis->hDC);
    const CRect rc = PrepareItem(pDC, pDis);
    CPen pen(GetLineShape(static_cast<int>(pDis->itemData)), 1, m_crColor);
    CPen* pOld = pDC->SelectObject(&pen);
    const int y = rc.CenterPoint().y;
    pDC->MoveTo(rc.left, y);
    pDC->LineTo(rc.right, y);
    pDC->SelectObject(pOld);
}

void CLineStyleBox::MeasureItem(LPMEASUREITEMSTRUCT pMis) {
    if (pMis) pMis->itemHeight = 16;
}

void CFillTypeComboBox::DrawItem(LPDRAWITEMSTRUCT pDis) {
    if (!pDis || pDis->itemID == static_cast<UINT>(-1)) return;
    CDC* pDC = CDC::FromHandle(pDis->hDC);
    const CRect rc = PrepareItem(pDC, pDis);
    const int hatch = GetFillShape(static_cast<int>(pDis->itemData));
    CBrush brush;
    if (hatch < 0)
        brush.CreateSolidBrush(m_crColor);
    else
        brush.CreateHatchBrush(hatch, m_crColor);
    pDC->FillRect(&rc, &brush);
    pDC->Draw3dRect(&rc, 0x000000, 0x000000);
}

void CFillTypeComboBox::MeasureItem(LPMEASUREITEMSTRUCT pMis) {
    if (pMis) pMis->itemHeight = 16;
}
