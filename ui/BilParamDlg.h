// CBilParamDlg: asks for a BIL grid's elevation factor (Hzoom, 1 to 10000) and invalid elevation.
// Nothing in the library opens it; a host may.
#pragma once

#include <afx/Dialog.h>

class CBilParamDlg : public CDialog {
    DECLARE_DYNAMIC(CBilParamDlg)
public:
    explicit CBilParamDlg(CWnd* pParent = nullptr);

    UINT m_nHzoom = 10;   // stored heights are real heights times this; out of 1..10000 is refused
    LONG m_lInvalid = 0;  // the stored value of invalid nodes

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    // The focus goes to the invalid value (FALSE: set here).
    BOOL OnInitDialog() override;
};
