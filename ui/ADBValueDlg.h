// CADBValueDlg: edits the attribute record of one vector object (template 2016 "属性数据输入").
//
// The record holds the layer theme's common fields, then the fields of the object's feature class
// (field i < T is theme field i, else class field i - T; N fields in all). Four rows show four fields
// at a time, each with the input control of its type (a "否/是" list for booleans, a date picker for
// dates, an edit otherwise, its text limited to 3, 5 or 10 characters for byte, integer and long, the
// field size for text and 255 for the rest) and a marker ("* L" / "  L" a required / optional common
// field, "*  " / "   " a class field). A vertical scroll bar moves through the rest; the field that has
// the focus keeps it while it stays in view.
//
// The caller builds the dialog, calls InitData and runs DoModal only when that returned nonzero, then
// reads GetRetCode: 0 nothing written (cancelled, or every value empty), 1 values written, 2 the record
// deleted, 3 the record split off under a new user ID. Nothing reaches the database before 确定, 删除
// or 拆分.
//
// Refusals keep the dialog open with the values as they are and say why: a required field left empty
// ("<name>为必填字段!"), a number field holding text that is not a number of its type
// ("<name>的数据无效!", also when scrolling would hide it), a failed write ("修改属性失败!",
// "拆分属性失败!" with the object's old user ID put back, "删除属性失败!").
#pragma once

#include <afx/DateTimeCtrl.h>
#include <afx/Dialog.h>
#include <afx/StdCtrls.h>

#include "core/GeoGClass.h"

class CGeoVectorObject;
class CGeoVectorLayer;

class CADBValueDlg : public CDialog {
    DECLARE_DYNAMIC(CADBValueDlg)
public:
    explicit CADBValueDlg(CWnd* pParent = nullptr);
    ~CADBValueDlg() override;

    // Prepares the dialog for the object; 1 ready for DoModal, 0 nothing to show: NULL object, no
    // vector layer, a class the layer's theme lacks, no fields, or a record that exists but cannot be
    // read ("无法获得地物信息!"). The values are the record's, or for a new record the fields' default
    // values (none: empty).
    int InitData(CGeoVectorObject* pObject);
    int GetRetCode() const { return m_nRetCode; }

    // 1 when another object of the object's layer has its user ID; 0 otherwise and for NULL.
    static int HaveSameUserObject(CGeoVectorObject* pObject);
    // 1 when the text is acceptable for the DAO field type:
    //   byte: 1 to 3 digits, at most 255;
    //   integer, long: digits with an optional leading "-" and at least one digit, not beyond
    //     "32767"/"-32768" (integer) or "2147483647"/"-2147483648" (long), compared as texts of equal
    //     length, longer texts refused;
    //   currency, double: digits with at most one "." and an optional leading "-", at least one digit;
    //   every other type: 1.
    static int InvalideData(CString strText, short nType);

    // The working value of field nIndex (for hosts that show the state, and tests); NULL outside 0..N-1.
    const COleVariant* GetValue(int nIndex) const;
    int GetTopIndex() const { return m_nTopIndex; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnButtonAdvDel();
    void OnButtonAdvSplit();
    void OnKillFocusRow0() { m_nFocusRow = 0; }
    void OnKillFocusRow1() { m_nFocusRow = 1; }
    void OnKillFocusRow2() { m_nFocusRow = 2; }
    void OnKillFocusRow3() { m_nFocusRow = 3; }
    void OnKillFocusDate0(NMHDR*, LRESULT* pResult) { m_nFocusRow = 0; *pResult = 0; }
    void OnKillFocusDate1(NMHDR*, LRESULT* pResult) { m_nFocusRow = 1; *pResult = 0; }
    void OnKillFocusDate2(NMHDR*, LRESULT* pResult) { m_nFocusRow = 2; *pResult = 0; }
    void OnKillFocusDate3(NMHDR*, LRESULT* pResult) { m_nFocusRow = 3; *pResult = 0; }

    DECLARE_MESSAGE_MAP()

private:
    // Field nIndex of the record; 0 when nIndex is outside 0..N-1.
    int GetFieldInfo(int nIndex, CDaoFieldInfo& info);
    // The value of the row's control for the type; 1 for a handled type, 0 (with "数据类型不支持!")
    // for another. Text a number field refuses gives an empty value.
    int GetDataFromCtrl(int nRow, short nType, COleVariant& value);
    void SetCtrlData(int nRow, short nType, COleVariant& value);
    // Shows the row's marker, name and the input control of the field's type; returns that control.
    CWnd* SetOneGroupState(int nRow, CDaoFieldInfo& info, int nFieldIndex);
    void SetInitCtrlState();
    void SetCurFocus(int nRow, short nType);
    // Copies the rows' values into the value array, field nTop + row for each row whose field exists.
    void UpdateVarArray(int nTop);
    // The first visible row whose number text its type refuses, or -1; that row's field in *pInfo.
    int FindRejectedRow(CDaoFieldInfo* pInfo);
    // Refuses with "<name>的数据无效!" and the row's text selected when a row holds such text.
    BOOL RefuseRejectedRow();
    // Steps 1 and 2 of 确定 and 拆分: the rows copied back and the required fields checked; FALSE
    // (after the message) when the dialog must stay open. Fills the value list.
    BOOL CollectValues(CList<COleVariant, COleVariant&>& values, BOOL& bAllEmpty);
    void ShowRows();
    // The row whose input control has the focus, else the row that last lost it.
    int FocusRow() const;

    CStatic m_stMarker[4];
    CStatic m_stName[4];
    CEdit m_edValue[4];
    CDateTimeCtrl m_dtValue[4];
    CComboBox m_cbValue[4];
    CStatic m_stPlace[4];
    CScrollBar m_sbRows;

    int m_nRetCode = 0;
    CGeoGClass m_gclass;
    COleVariant* m_pValues = nullptr;  // N values, owned
    int m_nFieldCount = 0;
    int m_nLayerFieldCount = 0;
    CGeoVectorObject* m_pObject = nullptr;
    CGeoVectorLayer* m_pLayer = nullptr;
    int m_nFocusRow = 0;
    int m_nTopIndex = 0;
};

// The core's attribute value dialog hook (core/DialogHooks.h): -1 when InitData refuses the object,
// else the dialog's return code after DoModal.
int RunAttributeValueDialog(CGeoVectorObject* pObject);
