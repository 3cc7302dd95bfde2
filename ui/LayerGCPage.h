// CLayerGCPage: the feature-class page ("地物类", template 2022), the last page of a vector layer's
// property sheet. It lists the layer's classes with their code, whether objects use them ("已用" /
// "未用") and how many, and lets the user create a class, import classes from a scheme file, delete
// classes (the selected one, or all that no object uses from the list's pop-up menu), edit a class in
// the feature-class sheet and sort the list by any column (a second click on a column turns the order).
//
// The page works on its own copies of the classes and never changes the layer. A class of the layer
// given another code is recorded as a renumbering pair (its code in the layer, its code now), kept at
// one pair per class: back at its old code the pair goes, and a deleted class takes its pair with it.
// Codes of the layer's classes stay taken for the whole run, also after their class was deleted, so
// that no new class can take over a table or objects of another. Apply sends WM_LAYERGC_CHANGED to the
// sheet with the class list and both halves of the pairs.
//
// The feature-class sheet's edit is taken only when it closed with OK. In view-only mode "新建",
// "导入" and "删除" are disabled and the menu does not open; "属性" shows a class read-only.
#pragma once

#include <afx/afx.h>
#include <afx/ListCtrl.h>
#include <afx/PropertySheet.h>

#include <map>

#include "core/GeoGClass.h"
#include "core/GeoTheme.h"

class CGeoVectorLayer;
class CSymbolLibIO;

// Page to sheet on Apply: wParam 0, lParam a tagLayerGCData* (valid during the call only).
const UINT WM_LAYERGC_CHANGED = 0x2664;

typedef CTypedPtrList<CObList, CGeoGClass*> CGeoGClassList;

struct tagLayerGCData {
    CGeoGClassList* pClassList;  // the classes as the page holds them, owned by the page
    CUIntArray* pOldCodes;       // pairs at equal index: a layer class renumbered from the old code
    CUIntArray* pNewCodes;       // to the new one
};

class CLayerGCPage : public CPropertyPage {
    DECLARE_DYNCREATE(CLayerGCPage)
public:
    enum { IDD = 2022 };

    CLayerGCPage();
    ~CLayerGCPage() override;

    // Fills the page from the layer (copies of its classes in ascending code order and the number of
    // objects per code), keeps the symbol library (may be NULL) for the feature-class sheet and the
    // view-only flag. Called before the page has a window.
    void SetData(CGeoVectorLayer* pLayer, CSymbolLibIO* pLib, int bViewOnly);

    // The argument of the sort callback.
    struct tagSortParam {
        CListCtrl* pList;
        int nColumn;
        int bAscending;
        int nKind;  // 0 text ignoring case, 1 unsigned number
        const std::map<LPARAM, CString>* pTexts;  // the column's text by item data, during the sort
    };

    CListCtrl m_ListCtrl;
    CUIntArray m_arrOldCodes;
    CUIntArray m_arrNewCodes;
    CUIntArray m_arrOrgCodes;   // the layer's class codes when the page was filled, ascending
    CGeoGClassList m_GClassList;  // owned
    CUIntArray m_arrUsedCodes;  // codes the layer's objects carry, ascending
    CUIntArray m_arrUsedCounts;
    tagSortParam m_SortParam{nullptr, 0, 1, 0, nullptr};
    int m_bSortAscending = 1;
    int m_nSortColumn = 0;
    int m_bViewOnly = 0;
    CSymbolLibIO* m_pSymbolLib = nullptr;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnApply() override;
    void OnNew();
    void OnImport();
    void OnDelete();
    void OnProperties();
    void OnDeleteUnused();
    void OnDblClkList(NMHDR* pNMHDR, LRESULT* pResult);
    void OnRClickList(NMHDR* pNMHDR, LRESULT* pResult);
    void OnColumnClick(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    // Deletes the classes of the codes in order; with bAsk each one is confirmed first (OK / Cancel),
    // and a Cancel ends the whole deletion before that code.
    void DeleteClasses(CUIntArray& codes, int bAsk);
    // Adds a row for the class at its list position pos (row nIndex, -1 for the end).
    void AddRow(const CGeoGClass& gc, int nIndex, POSITION pos);
    void UpdateRow(int nRow, const CGeoGClass& gc);
    void SetUsage(int nRow, UINT nCount);
    void SortByColumn(int nColumn);
    // Whether a class may be added with that name and code: 0 yes; 1 another class has the name; 2
    // another class has the code, or the code belongs to a class of the layer.
    int CheckConflict(CString strName, UINT nCode, int* pClash);
    static CGeoTheme* FindTheme(CTypedPtrList<CObList, CGeoTheme*>& themes, CString strName);
    static int FindInArray(UINT nValue, CUIntArray* pArray);
    // Runs the feature-class sheet on pClass (NULL: a new class) with nOwnCode as its own code; the
    // edited class in *pEdited and TRUE when the sheet closed with OK after a change.
    BOOL RunClassSheet(CGeoGClass* pClass, UINT nOwnCode, int bViewOnly, CGeoGClass* pEdited);
    UINT UsageOf(UINT nCode) const;
    int SelectedRow() const;
    CGeoGClass* ClassOfRow(int nRow) const;
};
