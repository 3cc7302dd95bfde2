// CFieldPropDlg: the field dialog of the field lists ("字段属性", template 2031). It edits one attribute
// field description in the library's own vocabulary: a type from a list of six, an output width (the
// "length"), an input width and a number of decimals, packed into m_lSize by GetFieldSize.
//
// The caller sets the mode and the list whose column-0 names a new name may not repeat (SetData), runs
// DoModal and, after IDOK, reads the description with GetFieldInfo. OK refuses an empty name
// ("请输入字段名!") and a name that any row of the list already has, ignoring letter case
// ("字段名不能重复!"), checked for a new field or when the name changed; each refusal focuses the name
// with its text selected and keeps the dialog open. Length and input width must lie in 0..255 and
// decimals in 0..10 (the data exchange's own refusal).
//
// A field whose type the list does not offer (byte, currency, memo) shows no type selected and keeps its
// own type unless the person picks one: confirming the dialog never converts such a column.
#pragma once

#include <afx/afx.h>
#include <afx/Dialog.h>
#include <afx/ListCtrl.h>
#include <afx/StdCtrls.h>
#include <dao/DaoFieldInfo.h>

#include "core/GeoFieldList.h"

// The DAO type of a list type index: 0 text, 1 byte, 2 integer, 3 long, 4 double, 5 boolean, 6 currency,
// 7 date, 8 memo; any other index text.
short ListTypeToDaoType(UINT nIndex);

class CFieldPropDlg : public CDialog {
    DECLARE_DYNAMIC(CFieldPropDlg)
public:
    enum { IDD = 2031 };

    explicit CFieldPropDlg(CWnd* pParent = nullptr);

    // pList (not owned, may be NULL) holds the names a new name may not repeat in column 0. bNewField 0
    // edits a copy of *pField (which must then be given); otherwise a new field is made.
    void SetData(CListCtrl* pList, int bNewField, CDaoFieldInfo* pField);
    // The description after OK. Of a new field only name, type, size, required flag and default come
    // from the dialog; the rest is the library's default description (GetDefaultFieldInfo).
    CDaoFieldInfo GetFieldInfo() const { return m_FieldInfo; }

    CEdit m_editName;
    CComboBox m_cbType;
    CEdit m_editLength;
    CString m_strName;
    CString m_strLengthLabel;
    UINT m_nLength = 50;
    UINT m_nInputWidth = 50;
    UINT m_nDecimals = 0;
    CString m_strDefault;
    int m_nRequired = 0;
    int m_nTypeIndex = 0;
    CDaoFieldInfo m_FieldInfo;
    int m_bNewField = 1;
    CListCtrl* m_pListCtrl = nullptr;
    FTListMap m_TypeMap;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnSelChangeType();
    DECLARE_MESSAGE_MAP()

private:
    void ApplyTypeIndex();
    void RefuseName(LPCTSTR lpszMessage);
};
