// CInsertCharDlg: "插入字符" (template 2041): the characters to insert into a multi-point annotation
// (1067) and the angle of the line they are laid along (1068, degrees, 0 to 360; another value keeps
// the dialog open with the class library's message).
#pragma once

#include <afx/afx.h>
#include <afx/Dialog.h>

class CInsertCharDlg : public CDialog {
    DECLARE_DYNAMIC(CInsertCharDlg)
public:
    enum { IDD = 2041 };

    explicit CInsertCharDlg(CWnd* pParent = nullptr);

    CString m_strText;
    float m_fAngle = 0.0f;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
