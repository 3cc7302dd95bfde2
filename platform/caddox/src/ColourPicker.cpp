#include "caddox/ColourPicker.h"

IMPLEMENT_DYNAMIC(CColourPicker, CButton)

void CColourPicker::SetColour(COLORREF crColour)
{
    m_crColour = crColour;
    if (m_hWnd) Invalidate(FALSE);
}

BOOL CColourPicker::SelectColour(COLORREF crColour)
{
    if (!m_hWnd || !IsWindowEnabled()) return FALSE;
    SetColour(crColour);
    if (CWnd* parent = GetParent())
        parent->SendMessage(CPN_SELCHANGE_MSG, static_cast<WPARAM>(crColour), static_cast<LPARAM>(GetDlgCtrlID()));
    return TRUE;
}

void DDX_ColourPicker(CDataExchange* pDX, int nIDC, COLORREF& crColour)
{
    HWND h = pDX->PrepareCtrl(nIDC);
    CColourPicker* picker = dynamic_cast<CColourPicker*>(CWnd::FromHandlePermanent(h));
    if (!picker) return;  // the control is not a subclassed picker: nothing to exchange
    if (pDX->m_bSaveAndValidate) crColour = picker->GetColour();
    else picker->SetColour(crColour);
}
