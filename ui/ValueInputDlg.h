// CValueInputDlg: asks for one number, a 32-bit integer or a float, with a caption, a label before the
// field and a unit text after it, and an optional range check (template 2033).
//
// The caller configures it, runs DoModal (IDOK or IDCANCEL) and reads the value after IDOK. Only one of
// the two edits is shown: 6000 in integer mode, 6001 in float mode. OK exchanges the data first (text
// that is not a number is refused there, with the field focused) and then checks the range by mode
// (ui/ValueInputRange.h): a failure shows its message, focuses the visible field with all its text
// selected and keeps the dialog open.
#pragma once

#include <afx/afx.h>
#include <afx/Dialog.h>

class CValueInputDlg : public CDialog {
    DECLARE_DYNAMIC(CValueInputDlg)
public:
    enum { IDD = 2033 };

    explicit CValueInputDlg(CWnd* pParent = nullptr);

    // The integer value, and integer mode.
    void SetValue(LONG lValue);
    // The float value, and float mode.
    void SetValue(float fValue);
    // 1 integer, 0 float.
    void SetValueType(int nType) { m_nValueType = nType; }
    // The range of that type and the mode (0 between, 1 at least the minimum, 2 at most the maximum,
    // 3 none; any other mode becomes 3).
    void SetValueField(LONG lMin, LONG lMax, int nMode);
    void SetValueField(float fMin, float fMax, int nMode);
    void SetPrompt(CString strCaption, CString strLabel, CString strUnit);
    LONG GetLongValue() const { return m_lValue; }
    float GetFloatValue() const { return m_fValue; }

    float m_fValue = 0.0f;
    LONG m_lValue = 0;
    CString m_strLabel;
    CString m_strUnit;
    CString m_strCaption;
    int m_nRangeMode = 3;
    int m_nValueType = 1;
    LONG m_lMin = 0;
    LONG m_lMax = 0;
    float m_fMin = 0.0f;
    float m_fMax = 0.0f;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    // The edit shown for the mode.
    int VisibleEditID() const { return m_nValueType == 1 ? 6000 : 6001; }
};
