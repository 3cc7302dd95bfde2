// CLevelCountDlg: asks for the number of equal classes (1 to 16) for the DEM level dialog's equal split.
#pragma once

#include <afx/Dialog.h>

class CLevelCountDlg : public CDialog {
    DECLARE_DYNAMIC(CLevelCountDlg)
public:
    explicit CLevelCountDlg(CWnd* pParent = nullptr);

    // The count shown on opening and, after IDOK, the count typed (1..16; anything else is refused with
    // the standard range message and the dialog stays open). 0 at construction.
    int m_nCount = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
