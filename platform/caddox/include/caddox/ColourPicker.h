// Caddox: the colour picker, a push button that holds a colour and lets the person choose another.
//
// A dialog subclasses a template button with it (DDX_Control) and exchanges the colour with
// DDX_ColourPicker. When the person has chosen a colour (SelectColour, what the picker's colour popup does
// when an entry is taken) the picker keeps it and sends CPN_SELCHANGE_MSG (0x7EC) to its parent with
// wParam = the new COLORREF and lParam = its own control id. Setting the colour by code sends nothing.
#pragma once

#include <afx/Dialog.h>
#include <afx/StdCtrls.h>

// The message a picker sends to its parent after the person chose a colour.
const UINT CPN_SELCHANGE_MSG = 0x7EC;

class CColourPicker : public CButton {
    DECLARE_DYNAMIC(CColourPicker)
public:
    CColourPicker() = default;

    COLORREF GetColour() const { return m_crColour; }
    // Sets the colour shown (no message) and repaints the button when it has a window.
    void SetColour(COLORREF crColour);
    // The person's choice: the colour is kept and CPN_SELCHANGE_MSG goes to the parent (when there is
    // one). FALSE when the picker has no window or is disabled (a person cannot reach it then).
    BOOL SelectColour(COLORREF crColour);

private:
    COLORREF m_crColour = 0;
};

// The colour of the picker attached to control nIDC (by DDX_Control before it): loading sets the picker's
// colour from crColour, saving reads it back into crColour. A control that is not a subclassed picker
// exchanges nothing.
void DDX_ColourPicker(CDataExchange* pDX, int nIDC, COLORREF& crColour);
