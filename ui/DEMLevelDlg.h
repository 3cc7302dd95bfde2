// CDEMLevelDlg: edits a DEM's elevation classes. One row per class (its colour and value range) in a
// colour list, a colour picker for the selected class, edits for its lower and upper bound, a colour
// bar on which the bounds can be dragged, and buttons to split the selected class, delete it, or split
// the whole range into N equal classes.
//
// The caller fills m_Parameter (the classes), m_strUnit, m_dMinimum and m_dMaximum (the DEM's real
// elevation range), runs DoModal and, on IDOK, takes m_Parameter: its colours and inner breaks become
// those edited; its name and own range (low, high) are kept. With a single class it has no thresholds.
//
// While open, class i spans breaks[i] .. breaks[i + 1], breaks being the minimum, the thresholds and
// the maximum. Enter does not close the dialog: it checks the bound edit that has the focus, as leaving
// it does. Only the confirm button (1183) confirms; Cancel (2) leaves m_Parameter as it was given.
//
// RunDemLevelDialog is the DEM's level dialog hook (SetDemLevelDialogHook); the library installs it
// when it is loaded.
#pragma once

#include <afx/Dialog.h>
#include <afx/StdCtrls.h>
#include <caddox/ColourPicker.h>

#include "terrain/GeoClassificationParameter.h"
#include "ui/ColorListCtrl.h"

class CDEMLevelDlg : public CDialog {
    DECLARE_DYNAMIC(CDEMLevelDlg)
public:
    explicit CDEMLevelDlg(CWnd* pParent = nullptr);

    CGeoClassificationParameter m_Parameter;
    CString m_strUnit;
    double m_dMinimum = 0.0;
    double m_dMaximum = 0.0;

    // The state being edited (for hosts that show it and for tests).
    int GetClassCount() const { return static_cast<int>(m_Colors.GetSize()); }
    const CArray<double, double>& GetBreaks() const { return m_Breaks; }
    const CArray<DWORD, DWORD>& GetColors() const { return m_Colors; }
    int GetSelectedClass() const { return m_nSelected; }
    // The colour bar's drawing area in its control's client pixels, and its horizontal scale (pixels per
    // elevation unit; 0 when the classes around the selected one have no width), as last painted.
    CRect GetBarRect() const { return m_rcBar; }
    double GetPixelsPerUnit() const { return m_dPixelsPerUnit; }
    // The colour of a client point of the colour bar as last painted (white outside the bar).
    COLORREF GetBarColorAt(int x) const;

    // "[low,high]" with both numbers "%.1f".
    static CString FormatClassRange(double dLow, double dHigh);
    // Each of red, green and blue: c / 2 + n / 2, both halved with truncation.
    static COLORREF MixColors(COLORREF c, COLORREF n);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // Enter: checks the focused bound edit; never closes.
    void OnOK() override;

    LRESULT OnSelectClass(WPARAM wParam, LPARAM lParam);
    LRESULT OnColourPicked(WPARAM wParam, LPARAM lParam);
    void OnPaint();
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnAdd();
    void OnDelete();
    void OnEqualSplit();
    void OnConfirm();
    void OnKillFocusLower();
    void OnKillFocusUpper();
    DECLARE_MESSAGE_MAP()

private:
    void FillClassList();
    void SetRowRange(int row, double dLow, double dHigh);
    void DrawColourBar(int s);
    void DragClassBound(CPoint point);
    void RefuseEdit(int nID);

    CColorListCtrl m_ClassList;
    CStatic m_ColourBar;
    CColourPicker m_ColourPicker;
    CString m_strLowerUnit, m_strUpperUnit;
    double m_dLowerBound = 0.0, m_dUpperBound = 0.0;
    COLORREF m_crCurrent = 0;
    CArray<double, double> m_Breaks;
    CArray<DWORD, DWORD> m_Colors;
    int m_nSelected = 0;
    CRect m_rcBar;
    double m_dPixelsPerUnit = 0.0;
    // The painted bar: segment ends (client x) and colours, for GetBarColorAt.
    int m_nBarEnds[3] = {0, 0, 0};
    COLORREF m_crBar[3] = {0, 0, 0};
};

// Opens the level dialog modally on param; IDOK stores the result in param, IDCANCEL leaves it.
int RunDemLevelDialog(CGeoClassificationParameter& param, const CString& unit, double dMin, double dMax);
