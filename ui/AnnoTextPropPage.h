// CAnnoTextPropPage: the page "文字" (template 2015) that an annotation adds to the vector object's
// property sheet: text, character size (by type-size name or custom, with a locked width to height
// ratio), spacing, angles, alignment, arrangement, frame and placement, and two buttons for the box
// margins (CGeoRectDlg) and the formatted-text spacing (CGeoFormatDlg).
//
// The page edits m_data (annotation/AnnoDialogHooks.h gives its units) and nothing else; CGeoAnno hands
// it the values and takes them back after the sheet's OK. Leaving the page reads the controls and is
// refused, with a message, for a char width or height not above 0 ("注记的宽和高不能小于0！") and for
// formatted text whose mark-up is not valid ("格式化注记的字符串的格式有误，请检查！"); numbers outside
// their ranges are refused by the exchange with the class library's message. A placement chosen on the
// page becomes the position type (box 2, multi-point 6, single point 0) when the page is left; a
// placement left as it opened keeps the annotation's own type.
//
// Control states: the format and box buttons show only for formatted text and for box placement; the
// drag radios, arrangement, placement and two-sided alignment give way to formatted text, box and
// multi-point placement and vertical or echelon text as the annotation allows; column and row space
// and two-sided alignment are off for multi-point placement. The text edit is multi-line (Enter starts
// a row) only for horizontal text that is not multi-point. A read-only page disables every control.
#pragma once

#include <afx/afx.h>
#include <afx/PropertySheet.h>
#include <afx/StdCtrls.h>
#include <caddox/Pickers.h>

#include "annotation/AnnoDialogHooks.h"

class CAnnoTextPropPage : public CPropertyPage {
    DECLARE_DYNCREATE(CAnnoTextPropPage)
public:
    enum { IDD = 2015 };

    CAnnoTextPropPage();

    CColourPicker m_btnColour;
    CComboBox m_cmbTypeSize;
    CComboBox m_cmbAlign;
    tagAnnoTextPageData m_data;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnKillActive() override;

    // Enables, disables, shows and hides the controls by format, placement and arrangement as they
    // stand on the page.
    void UpdateControlStates();
    // Multi-line with Enter for horizontal text that is not multi-point, else single-line.
    void UpdateTextEditStyle();
    // The size edits or the type-size combo, by the size mode.
    void EnableSizeControls(int bByName);
    // The float an edit holds now; false when it holds no number.
    bool ReadFloat(int nID, float& value) const;
    // Shows one member in its edit, formatted as the exchange formats it.
    void ShowFloat(int nID, float& value);
    int CurSel(int nID) const;
    // Checks radio `mode` of the drag group (1467, 1468, 1469, 1050) and clears the others.
    void CheckMoveMode(int mode);

    void OnAlignSelected();
    void OnHeightChange();
    void OnWidthChange();
    void OnTypeSizeSelected();
    void OnSizeModeClicked();
    void OnLockClicked();
    void OnFormatClicked();
    void OnItalicChange();
    void OnArraySelected();
    void OnPlacementSelected();
    void OnFormatSettings();
    void OnBoxSettings();
    void OnModified();
    DECLARE_MESSAGE_MAP()

    // The placement the page opened with, which stands for the annotation's own position type.
    int m_nOpenPlacement = -1;
    int m_nOpenType = 0;
};
