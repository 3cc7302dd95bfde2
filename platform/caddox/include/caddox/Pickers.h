// Caddox pickers: buttons that hold a colour, a line width or a point-marker number, and owner-drawn
// lists of line types and fill types, for the style pages.
//
// A picker is a template button subclassed by its page (SubclassDlgItem or DDX_Control) or, failing
// that, by its DDX function, which then attaches a picker that deletes itself with the window. A click on
// it (mouse, or Space while it has the focus) opens its chooser (Choosers.h) modally; the parent does not
// hear the click itself. What the person picks there arrives through PickColour / PickWidth / PickMarker
// (which a host's own chooser may call too): the value is stored, the button redrawn, and the parent told
// by SendMessage:
//     CPN_COLOURCHANGED  0x7EC  wParam the colour, lParam the control id: every time a colour is taken
//                               (OK in the chooser), even the one the picker held
//     CPN_WIDTHCHANGED   0xBD5  wParam 0, lParam the control id (the width is read from the picker): when
//                               the width taken differs from the one held
//     CPN_MARKERCHANGED  0xBF2  wParam the marker number, lParam the control id: when the marker differs
// Cancel in a chooser changes nothing and tells nobody. A value set by code (SetColour, SetWidth,
// SetMarker, or a DDX load) notifies nobody.
#pragma once

#include <afx/afx.h>
#include <afx/Dialog.h>
#include <afx/StdCtrls.h>

#define CPN_COLOURCHANGED 0x7EC
#define CPN_WIDTHCHANGED 0xBD5
#define CPN_MARKERCHANGED 0xBF2

// The part the three pickers share: subclassing, self-deletion and the notification.
class CCaddoxPicker : public CButton {
    DECLARE_DYNAMIC(CCaddoxPicker)
public:
    // Set by the DDX functions on a picker they attached themselves: deleted after its window goes.
    BOOL m_bAutoDelete = FALSE;

protected:
    void PostNcDestroy() override;
    void Notify(UINT message, WPARAM wParam);
    void OnPaint();
    void OnClicked();
    // Runs the picker's chooser and takes its answer.
    virtual void Choose() = 0;
    // Draws the value inside the button's face (client pixels).
    virtual void DrawValue(CDC* pDC, const CRect& rcFace) = 0;
    DECLARE_MESSAGE_MAP()
};

class CColourPicker : public CCaddoxPicker {
    DECLARE_DYNAMIC(CColourPicker)
public:
    COLORREF GetColour() const { return m_crColour; }
    void SetColour(COLORREF cr);
    void PickColour(COLORREF cr);
    // The person's choice through the window: PickColour, when the picker has a window and is enabled
    // (a person cannot reach it otherwise: FALSE, nothing changes).
    BOOL SelectColour(COLORREF cr);

protected:
    void DrawValue(CDC* pDC, const CRect& rcFace) override;
    void Choose() override;
    COLORREF m_crColour = 0;
};

// Widths in millimetres (the style's line width); drawn as a line of that many pixels, at least 1.
class CLineWidthPicker : public CCaddoxPicker {
    DECLARE_DYNAMIC(CLineWidthPicker)
public:
    float GetWidth() const { return m_fWidth; }
    void SetWidth(float fWidth);
    void PickWidth(float fWidth);

protected:
    void DrawValue(CDC* pDC, const CRect& rcFace) override;
    void Choose() override;
    float m_fWidth = 0.0f;
};

// Marker numbers as DrawPoint draws them.
class CNonSymbPntPicker : public CCaddoxPicker {
    DECLARE_DYNAMIC(CNonSymbPntPicker)
public:
    int GetMarker() const { return m_nMarker; }
    void SetMarker(int nMarker);
    void PickMarker(int nMarker);

protected:
    void DrawValue(CDC* pDC, const CRect& rcFace) override;
    void Choose() override;
    int m_nMarker = 0;
};

// Exchange the picker's value with a member: loading sets it (no notification), saving reads it. The
// control nIDC must be a button of the dialog; the first call attaches a picker when the dialog has not
// subclassed it with one.
void DDX_ColourPicker(CDataExchange* pDX, int nIDC, COLORREF& crColour);
void DDX_LineWidthPicker(CDataExchange* pDX, int nIDC, float& fWidth);
void DDX_NonSymbPntPicker(CDataExchange* pDX, int nIDC, int& nMarker);

// An owner-drawn drop-down list without strings whose items' data are line shapes (GetLineShape): each
// item is a line across its box in m_crColor.
class CLineStyleBox : public CComboBox {
    DECLARE_DYNAMIC(CLineStyleBox)
public:
    COLORREF m_crColor = 0;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
};

// The same for fill shapes (GetFillShape): each item is its box filled solid or hatched in m_crColor.
class CFillTypeComboBox : public CComboBox {
    DECLARE_DYNAMIC(CFillTypeComboBox)
public:
    COLORREF m_crColor = 0;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
};
