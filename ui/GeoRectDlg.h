// CGeoRectDlg: "方框注记设置" (template 2034), the inner margins of a box annotation, each shown in
// tenths of a millimetre on the map at scale 1 : s.
//
// SetMargins takes margins in millimetres and shows each as margin * 10 / s (integer division);
// GetMargins, after IDOK, gives each shown value v back as trunc(v * s / 10.0 + 0.5) millimetres. Each
// field takes 0 to 999999999; anything else keeps the dialog open with the class library's message.
#pragma once

#include <afx/afx.h>
#include <afx/Dialog.h>

#include "annotation/GeoAnnoRecord.h"

class CGeoRectDlg : public CDialog {
    DECLARE_DYNAMIC(CGeoRectDlg)
public:
    enum { IDD = 2034 };

    explicit CGeoRectDlg(CWnd* pParent = nullptr);

    // s below 1 counts as 1.
    void SetMargins(const tagGEORECT& margins, int s);
    tagGEORECT GetMargins() const;

    int m_nBottom = 0;
    int m_nLeft = 0;
    int m_nRight = 0;
    int m_nTop = 0;
    int m_nScale = 1;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
