// CGCNormalPage: the general page ("常规", template 2023) of the feature-class sheet: name, code, the
// geometry flags, the data kinds, the elevation flag and the scale range of one class.
//
// Apply (unless view-only) refuses, keeping the sheet open with the offending edit focused: a code of
// 0 ("地物编码必须是大于0的正整数!"); a code another class has while it differs from the class's own
// ("地物编码重复"); a name another class has (exact comparison) while it differs from the class's own
// ("地物名称重复"); a code among the used codes while it differs from the own code ("地物编码重复").
// Otherwise it writes name, code, scale range (unlimited: 1 to 0xFFFFFFFF), type flags and elevation
// flag into the class and sends WM_GCNORMAL_CHANGED to the sheet. Ticking "注记地物" sends
// WM_GCTYPE_CHANGED at once. At least one data kind stays ticked.
#pragma once

#include <afx/afx.h>
#include <afx/PropertySheet.h>
#include <afx/StdCtrls.h>

#include "core/GeoGClass.h"

// Page to sheet on Apply: wParam 0, lParam the CGeoGClass* written.
const UINT WM_GCNORMAL_CHANGED = 0x2661;
// Page to sheet on a click on "注记地物": wParam GCT_ANNO, lParam 1 when ticked, else 0.
const UINT WM_GCTYPE_CHANGED = 0x2667;

class CGCNormalPage : public CPropertyPage {
    DECLARE_DYNCREATE(CGCNormalPage)
public:
    enum { IDD = 2023 };

    CGCNormalPage();

    // The class shown and written on Apply (not owned), the classes it must not collide with (CGeoGClass*,
    // not owned, may be NULL) and the view-only flag.
    void SetData(CGeoGClass* pGClass, CObList* pOtherClasses, int bViewOnly);

    CButton m_btnLimitScale;
    CEdit m_edtName;
    CEdit m_edtCode;
    CEdit m_edtMinScale;
    CEdit m_edtMaxScale;
    CString m_strName;
    UINT m_nCode = 1;
    UINT m_nMaxScale = 0;
    UINT m_nMinScale = 0;
    int m_bLimitScale = 0;
    int m_bPoint = 0;
    int m_bLine = 0;
    int m_bAnno = 0;
    int m_bElevation = 0;
    int m_bPointDirected = 0;
    int m_bLineDirected = 0;
    int m_bIdentPoint = 0;
    int m_bFilled = 0;
    int m_bGISData = 0;
    int m_bMapData = 0;
    UINT m_nOwnCode = 0;
    CUIntArray* m_pUsedCodes = nullptr;  // codes in use elsewhere (not owned), may be NULL
    int m_bViewOnly = 0;
    CObList* m_pOtherClasses = nullptr;
    CGeoGClass* m_pGClass = nullptr;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnApply() override;
    void OnClickGeometry();
    void OnClickAnno();
    void OnClickIdPoint();
    void OnClickPointDirected();
    void OnClickGIS();
    void OnClickCarto();
    void OnChanged();
    void OnKillFocusCode();
    DECLARE_MESSAGE_MAP()

private:
    void UpdateEnabling();
    void Refuse(LPCTSTR lpszMessage, int nID);
    int Checked(int nID) { return IsDlgButtonChecked(nID) == BST_CHECKED; }
};
