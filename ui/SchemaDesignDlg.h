// CSchemaDesignDlg: the scheme designer ("方案设计", template 2021), the one modal dialog in which a
// person builds and changes schemes. Several schemes can be open at once under one root of a tree:
//
//   方案集 (root, level 4)
//     scheme (level 1): the title of its file, item data the CScheme*; schemes sorted by text
//       layer (level 2): the theme's name, item data the CGeoTheme*; each new layer shown first, so a
//                        scheme read from a file shows its layers in the reverse of the stored order
//         class (level 3): "name-code" or "code-name" (GetGCTitle), item data the class code
//
// Tree items point into the scheme objects; commands find their objects through the selected item. A
// class is looked up by its code in its layer's theme. Every edit goes to the schemes in memory at once;
// files are written only by the save commands, by "保存结束" and by a Yes to the save question when a
// modified scheme is deleted, always through a temporary file (SaveSchemeFile), so a failed save leaves
// the previous file as it was. Nothing is handed back to the host.
//
// The right-hand side shows the selected layer's or class's fields (one row per field, in stored order),
// its display style in four style and three symbol previews, and the options of a class (scale range,
// geometry kind, elevation flag, data type). The designer keeps its own clipboard (tagSDClipboard) for
// layers, classes, field structures and styles; layers and classes can also be dragged in the tree.
//
// Use: construct, optionally InitData (a scheme file opened at start), DoModal: IDOK after "保存结束"
// (every scheme saved), IDCANCEL after "不保存结束" or Escape confirmed.
#pragma once

#include <afx/afx.h>
#include <afx/Dialog.h>
#include <afx/ImageList.h>
#include <afx/StdCtrls.h>
#include <dao/DaoFieldInfo.h>

#include "core/GeoTheme.h"
#include "ui/DragListCtrl.h"
#include "ui/GeoViewPreview.h"
#include "ui/Scheme.h"
#include "ui/SchemeTreeCtrl.h"

class CSymbolLibIO;

// The designer's own clipboard (the system clipboard is not used). A copy replaces only the part of
// its kind and sets m_nKind; the other parts keep stale contents that no paste reads.
struct tagSDClipboard {
    tagSDClipboard() = default;
    // Frees the field records.
    ~tagSDClipboard();
    tagSDClipboard(const tagSDClipboard&) = delete;
    tagSDClipboard& operator=(const tagSDClipboard&) = delete;
    // Frees the field records and empties the list (the kind is not changed).
    void ClearFields();

    int m_nKind = 0;              // 0 empty, 1 field list, 2 display style, 3 feature class, 4 layer
    CPtrList m_fieldList{10};     // CDaoFieldInfo*, owned
    GEOVIEW m_geoView;
    CGeoGClass m_gclass;
    CGeoTheme m_theme;
};

class CSchemaDesignDlg : public CDialog {
    DECLARE_DYNAMIC(CSchemaDesignDlg)
public:
    enum { IDD = 2021 };

    explicit CSchemaDesignDlg(CWnd* pParent = nullptr);
    // Destroys every open scheme (with its themes) and the clipboard's field records.
    ~CSchemaDesignDlg() override;

    // The scheme file opened when the dialog starts ("" for none). A file that cannot be read shows
    // "无法打开指定文件!" and the designer starts with the root alone.
    void InitData(CString strPath) { m_strInitScheme = strPath; }

    // Releases the open symbol library, then destroys the window.
    BOOL DestroyWindow() override;

    // Class titles: "%s-%u" (name, code) when bNameFirst, else "%u-%s" (code, name).
    static CString GetGCTitle(CString strName, UINT nCode, int bNameFirst);
    // The inverse. A name-first title splits at its last "-" (codes hold none, names may), a code-first
    // title at its first; the code is the value of the leading decimal digits (0 without any). A title
    // without "-" leaves both outputs untouched.
    static void OutGCTitle(CString strTitle, CString& strName, UINT& nCode, int bNameFirst);
    // TRUE when the text is decimal digits only and its value is neither 0 nor 0xFFFFFFFF or more; n
    // receives the value.
    static BOOL GetNameNumber(CString strText, UINT& n);
    // The first child of hParent whose text equals strText (letter case counts); NULL when none.
    static HTREEITEM FindItem(CString strText, CTreeCtrl* pTree, HTREEITEM hParent);

    // ---- members (the dialog's controls and state) ----
    tagSDClipboard m_clipboard;
    CGeoViewSymbolPreview m_stcFillSymbol, m_stcLineSymbol, m_stcPointSymbol;
    CButton m_btnLimitScale;
    CEdit m_edtMinScale, m_edtMaxScale;
    CButton m_btnFillStyle, m_btnPointStyle, m_btnLineStyle, m_btnAnnoStyle;
    CGeoViewPreview m_stcPointView, m_stcFillView, m_stcLineView, m_stcAnnoView;
    CDragListCtrl m_lstField;
    CSchemeTreeCtrl m_treeScheme;
    int m_bLimitScale = 0;
    UINT m_nMaxScale = 10000;
    UINT m_nMinScale = 10;
    int m_bPoint = 0, m_bLine = 0, m_bAnno = 0, m_bElevation = 0;
    int m_bPointDirected = 0, m_bLineDirected = 0;
    CString m_strSymbolLib;
    UINT m_nSymbolScale = 0;
    int m_bIdentPoint = 0, m_bFilled = 0, m_bGISData = 0, m_bMapData = 0;
    CString m_strInitScheme;
    CImageList m_imageList;
    CTypedPtrList<CPtrList, CScheme*> m_schemeList{10};  // owned
    int m_bNameFirst = 0;
    CSymbolLibIO* m_pSymbolLib = nullptr;               // owned
    HTREEITEM m_hRDropItem = nullptr, m_hRDropTarget = nullptr;

    // ---- tree model ----
    // Lists the scheme and shows it under the root with its layers and classes. With pScheme NULL the
    // file is read first (a new scheme; NULL after "无法打开指定文件!" when it cannot be read); else the
    // scheme given is listed as it is. The scheme's item, or NULL.
    HTREEITEM InsertScheme(CString strPath, CScheme* pScheme);
    // The layer item of the theme (shown first under the scheme) with its class items; NULL on failure.
    HTREEITEM AddTheme(CGeoTheme* pTheme, HTREEITEM hScheme);
    // An item of the level under hParent at the level's place; NULL for any other level.
    HTREEITEM InsertTreeItem(CString strText, TreeNodeType nType, HTREEITEM hParent);
    // The class item's title and code at the current title order.
    HTREEITEM InsertClassItem(const CGeoGClass& gc, HTREEITEM hLayer);
    // Reorders and retitles the class items of a layer for the tree's sort mode.
    void SortTreeLayerChild(HTREEITEM hLayer);
    // Sets the modified flag of the scheme holding the selected item.
    void SetModify(int bModified);

    // Objects behind items (NULL when the item is not of the level or its object is gone).
    CScheme* SchemeOfItem(HTREEITEM hItem) const;     // a scheme, layer or class item's scheme
    CGeoTheme* ThemeOfItem(HTREEITEM hItem) const;    // a layer or class item's theme
    // A copy of the class of a class item into gc and its index in its theme; -1 when not found.
    int ClassOfItem(HTREEITEM hItem, CGeoGClass& gc) const;

    // ---- naming rules ----
    CString GetDefaultThemeName(HTREEITEM hScheme);
    // A name and code for a class joining the layer: kept when both are free there (and given), else
    // asked for with the feature-class info dialog until free; FALSE when cancelled or not a layer.
    BOOL GetGCNameID(HTREEITEM hLayer, CString& strName, UINT& nCode);
    POSITION FindShemeInList(CString strPath);
    static POSITION FindThemeInList(CString strName, CTypedPtrList<CObList, CGeoTheme*>& list);

    // ---- field list ----
    void initListCtrl();
    void InsertListCtrlItem(const CDaoFieldInfo& field, int nRow);
    void EditListCtrlItem(int nRow, const CDaoFieldInfo& field);
    // Row nRow read back into a field record.
    void GetListCtrlItem(int nRow, CDaoFieldInfo& field);
    BOOL HasListCtrlSameFieldInfo(CString strName);
    CString GetListCtrlUniFieldName(CString strName);

    // ---- style and option panel ----
    void ShowGeoView(const GEOVIEW* pGV);
    void ShowScale(int nLevel);
    BOOL GetCurrentGV(GEOVIEW& gv);
    void SetScale(int bLimited);
    void OnButtonMore(int nPage);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    // Tree and files.
    void OnSelchangedTreeSd(NMHDR* pNMHDR, LRESULT* pResult);
    void OnRclickTreeSd(NMHDR* pNMHDR, LRESULT* pResult);
    void OnPaint();
    void OnSdTreeNew();
    void OnSdTreeSave();
    void OnSdTreeSaveAs();
    void OnSdTreeSaveAll();
    void OnSdTreeReport();
    void OnSdTreeInput();
    void OnSdTreeProp();
    void OnSortByName();
    void OnSortByCode();
    void OnSortNon();
    // Layer and class commands.
    void OnSdTreeRename();
    void OnSdTreeDel();
    void OnBeginlabeleditTreeSd(NMHDR* pNMHDR, LRESULT* pResult);
    void OnEndlabeleditTreeSd(NMHDR* pNMHDR, LRESULT* pResult);
    // Clipboard and drops.
    void OnSdTreeCopy();
    void OnSdTreeCopyField();
    void OnSdTreeCopyStyle();
    void OnSdTreePaste();
    void OnSdTreePasteField();
    void OnSdTreePasteStyle();
    LRESULT OnRDrop(WPARAM wParam, LPARAM lParam);
    LRESULT OnCopyGC(WPARAM wParam, LPARAM lParam);
    LRESULT OnCopyLayer(WPARAM wParam, LPARAM lParam);
    LRESULT OnMoveLayer(WPARAM wParam, LPARAM lParam);
    LRESULT OnMoveGC(WPARAM wParam, LPARAM lParam);
    void OnRDropCancel();
    void OnRDropCopyLayer();
    void OnRDropCopyGC();
    void OnRDropMoveLayer();
    // Field list.
    void OnRclickListFieldDesign(NMHDR* pNMHDR, LRESULT* pResult);
    void OnDblclkListFieldDesign(NMHDR* pNMHDR, LRESULT* pResult);
    void OnSdFieldNew();
    void OnSdFieldInsert();
    void OnSdFieldEdit();
    void OnSdFieldDel();
    void OnSdFieldCopy();
    void OnSdFieldPaste();
    LRESULT OnMoveField(WPARAM wParam, LPARAM lParam);
    // Panel.
    void OnButtonPoint() { OnButtonMore(0); }
    void OnButtonLine() { OnButtonMore(1); }
    void OnButtonPolygon() { OnButtonMore(2); }
    void OnButtonAnnotation() { OnButtonMore(3); }
    void OnCheckScale();
    void OnChangeEditScaleMax();
    void OnChangeEditScaleMin();
    void OnGCTypeChanged();
    void OnCheckVpoint();
    void OnCheckLabelpoint();
    void OnUseElevation();
    void OnCheckGisdata();
    void OnCheckMapdata();
    void OnSymbollibBrowse();
    void OnSymbollibReload();
    DECLARE_MESSAGE_MAP()

private:
    // Saves one scheme to its path; TRUE on success (its flag then cleared).
    BOOL SaveScheme(CScheme* pScheme);
    // Saves every scheme in tree order; TRUE when all were written.
    BOOL SaveAllSchemes();
    // The data-kind checks to the selected layer's data type or class's type word.
    void ApplyDataKinds();
    // Applies a sort mode to every layer and records it.
    void SetSortMode(int nMode);
    // The field commands' target: the selected layer's theme, or a copy of the selected class (with its
    // index). FALSE for any other selection or a class no longer in its theme.
    struct FieldTarget;
    BOOL GetFieldTarget(FieldTarget& t);
    void PutFieldTarget(FieldTarget& t);
    // Appends the clipboard's fields to the selected layer or class (renaming clashes).
    void PasteFields();
    // Adds the class to the layer under a free name and code; the new item or NULL.
    HTREEITEM AddClassToLayer(CGeoGClass gc, HTREEITEM hLayer);
    // Adds a copy of the theme to the scheme under the next default name, selects it and starts a label
    // edit; the new item or NULL.
    HTREEITEM AddThemeCopy(const CGeoTheme& theme, HTREEITEM hScheme);
    // Whether a class of the theme other than the one at nExcept has the name (letter case counts) or
    // the code; *pNameClash tells which (the name when both).
    static BOOL HasClassClash(const CGeoTheme* pTheme, int nExcept, const CString& strName, UINT nCode, BOOL* pNameClash);
    // Asks for a class's name and code with the info dialog until no other class of the theme has
    // either (saying which clashed); FALSE when cancelled. bAcceptUnchanged: the values given count as
    // free without a check (a rename that changes nothing).
    static BOOL AskGCNameID(const CGeoTheme* pTheme, int nExcept, CString& strName, UINT& nCode, BOOL bAcceptUnchanged);
    // Shows a class's fields and options.
    void ShowClass(const CGeoGClass& gc);
    // Fills the field list with the fields of the theme or, when pClass is given, of the class.
    void ShowFields(const CGeoTheme* pTheme, const CGeoGClass* pClass);
};
