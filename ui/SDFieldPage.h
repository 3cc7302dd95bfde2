// CSDFieldPage: the field page ("属性信息", template 2025) of the layer and feature-class property
// sheets. It edits a list of attribute field descriptions and keeps, for each field whose stored form
// changed, a rename record (CFlagInfo), so that the sheet can alter an existing attribute table field
// by field. On Apply it sends WM_FIELDINFO_CHANGED (0x2660) to its sheet: wParam 0, lParam the address
// of a tagFieldPageData naming both lists (valid during the call only).
//
// Rename records as this page writes them (the stored table knows a field by its old name; an empty old
// name marks a field the table does not have yet):
//   state 1  old = stored name, new = current name: the stored field takes the current description;
//   state 2  old = stored name, new empty: the stored field is to be deleted;
//   state 3  old empty, new = current name: a field added on this page.
// Moving fields writes no record. Names compare ignoring the case of single-byte letters.
//
// Row i of the list always shows field i. In view-only mode nothing can be changed: the buttons stay
// disabled and right and double clicks do nothing; Apply still sends the lists.
#pragma once

#include <afx/afx.h>
#include <afx/PropertySheet.h>
#include <dao/DaoFieldInfo.h>

#include "ui/DragListCtrl.h"

// Writes the field into row nRow of a field list with the columns name, type, width, length, decimals,
// default value and required ("是"/"否"); the field page and the scheme designer's field list share them.
void WriteFieldRow(CListCtrl& list, int nRow, const CDaoFieldInfo& info);

// Page to sheet on Apply; lParam a tagFieldPageData*.
const UINT WM_FIELDINFO_CHANGED = 0x2660;

struct tagFieldPageData {
    CPtrList* pFieldList;     // CDaoFieldInfo*, owned by the page
    CObList* pFlagInfoList;   // CFlagInfo*, owned by the page
};

class CSDFieldPage : public CPropertyPage {
    DECLARE_DYNCREATE(CSDFieldPage)
public:
    enum { IDD = 2025 };

    CSDFieldPage();
    ~CSDFieldPage() override;

    // Appends copies of the fields (CDaoFieldInfo*; pFields may be NULL) to the page's list, replaces
    // the page's rename records with copies of pFlags (emptied when NULL) and keeps the view-only flag.
    // Called before the page has a window.
    void SetData(CPtrList* pFields, CObList* pFlags, int bViewOnly);

    // The rename-record algebra of the page's commands, on a record list (CFlagInfo*, owned by it).
    // A field named strName was added.
    static void NoteFieldAdded(CObList& flags, const CString& strName);
    // The field named strOld now has the name strNew (its description may have changed too).
    static void NoteFieldEdited(CObList& flags, const CString& strOld, const CString& strNew);
    // The field named strName was deleted.
    static void NoteFieldDeleted(CObList& flags, const CString& strName);

    CDragListCtrl m_ListCtrl;
    CPtrList m_FieldList;     // CDaoFieldInfo*, in display order; owned
    CObList m_FlagInfoList;   // CFlagInfo*; owned
    int m_bViewOnly = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnApply() override;
    void OnAdd();
    void OnInsert();
    void OnEdit();
    void OnDelete();
    void OnUp();
    void OnDown();
    void OnClickList(NMHDR* pNMHDR, LRESULT* pResult);
    void OnRClickList(NMHDR* pNMHDR, LRESULT* pResult);
    void OnDblClkList(NMHDR* pNMHDR, LRESULT* pResult);
    LRESULT OnRowDropped(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void AddRow(const CDaoFieldInfo& info, int nRow);
    void UpdateRow(const CDaoFieldInfo& info, int nRow);
    void SwapFields(int a, int b);
    CDaoFieldInfo* FieldAt(int nIndex) const;
    // Runs the field dialog for a new field; the description on IDOK.
    bool AskNewField(CDaoFieldInfo& info);
    void InsertField(const CDaoFieldInfo& info, int nBefore);
    void SelectRow(int nRow);
    int SelectedRow() const;
};
