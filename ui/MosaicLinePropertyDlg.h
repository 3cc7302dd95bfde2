// CMosaicLinePropertyDlg: what a mosaic line is (template 2014, "接边线属性"), shown only: the name of
// its layer, its head and tail node names, its vertex count and a list of its mosaic points (index,
// pixel x and y, map E and N, "%.3f").
#pragma once

#include <afx/afx.h>
#include <afx/Dialog.h>
#include <afx/ListCtrl.h>

class CGeoMosaicPLine;

class CMosaicLinePropertyDlg : public CDialog {
    DECLARE_DYNAMIC(CMosaicLinePropertyDlg)
public:
    enum { IDD = 2014 };

    explicit CMosaicLinePropertyDlg(CWnd* pParent = nullptr);

    // The line shown (not owned; it must outlive DoModal); NULL shows empty fields and leaves the list
    // as the template made it.
    void SetMosaicLine(CGeoMosaicPLine* line);

    CListCtrl m_ListCtrl;
    CString m_strLayer;
    CString m_strHead;
    int m_nPoints = 0;
    CString m_strTail;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

private:
    CGeoMosaicPLine* m_pLine = nullptr;
};
