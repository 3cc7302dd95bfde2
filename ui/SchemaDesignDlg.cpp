// The scheme designer: the dialog, its tree of schemes, layers and classes, the display of the selected
// item, the ordering of class items, and the scheme-file commands. The layer and class commands, the
// clipboard and drops, the field list and the style panel are in the SchemaDesign*.cpp files beside it.
#include "ui/SchemaDesignDlg.h"

#include <cstdlib>

#include <afx/Dc.h>
#include <afx/Exception.h>
#include <afx/Menu.h>
#include <brisca/FileFunctions.h>

#include "core/GeoSettings.h"
#include "core/SymbolLibAccess.h"
#include "ui/SchemeReport.h"
#include "ui/resources/SchemeDesignTemplates.h"

IMPLEMENT_DYNAMIC(CSchemaDesignDlg, CDialog)

BEGIN_MESSAGE_MAP(CSchemaDesignDlg, CDialog)
    ON_NOTIFY(TVN_SELCHANGED, IDC_SD_TREE, OnSelchangedTreeSd)
    ON_NOTIFY(NM_RCLICK, IDC_SD_TREE, OnRclickTreeSd)
    ON_NOTIFY(TVN_BEGINLABELEDIT, IDC_SD_TREE, OnBeginlabeleditTreeSd)
    ON_NOTIFY(TVN_ENDLABELEDIT, IDC_SD_TREE, OnEndlabeleditTreeSd)
    ON_WM_PAINT()
    ON_COMMAND(ID_SD_TREE_NEW, OnSdTreeNew)
    ON_COMMAND(ID_SD_TREE_SAVE, OnSdTreeSave)
    ON_COMMAND(ID_SD_TREE_SAVEAS, OnSdTreeSaveAs)
    ON_COMMAND(ID_SD_TREE_SAVEALL, OnSdTreeSaveAll)
    ON_COMMAND(ID_SD_TREE_REPORT, OnSdTreeReport)
    ON_COMMAND(ID_SD_TREE_INPUT, OnSdTreeInput)
    ON_COMMAND(ID_SD_TREE_PROP, OnSdTreeProp)
    ON_COMMAND(ID_SD_SORT_NAME, OnSortByName)
    ON_COMMAND(ID_SD_SORT_CODE, OnSortByCode)
    ON_COMMAND(ID_SD_SORT_NONE, OnSortNon)
    ON_COMMAND(ID_SD_TREE_RENAME, OnSdTreeRename)
    ON_COMMAND(ID_SD_TREE_DEL, OnSdTreeDel)
    ON_COMMAND(ID_SD_TREE_COPY, OnSdTreeCopy)
    ON_COMMAND(ID_SD_TREE_COPYFIELD, OnSdTreeCopyField)
    ON_COMMAND(ID_SD_TREE_COPYSTYLE, OnSdTreeCopyStyle)
    ON_COMMAND(ID_SD_TREE_PASTE, OnSdTreePaste)
    ON_COMMAND(ID_SD_TREE_PASTEFIELD, OnSdTreePasteField)
    ON_COMMAND(ID_SD_TREE_PASTESTYLE, OnSdTreePasteStyle)
    ON_MESSAGE(STM_RDROP, OnRDrop)
    ON_MESSAGE(STM_CLASS_TO_LAYER, OnCopyGC)
    ON_MESSAGE(STM_LAYER_TO_SCHEME, OnCopyLayer)
    ON_MESSAGE(STM_LAYER_TO_LAYER, OnMoveLayer)
    ON_MESSAGE(STM_CLASS_TO_CLASS, OnMoveGC)
    ON_COMMAND(ID_SD_RDROP_CANCEL, OnRDropCancel)
    ON_COMMAND(ID_SD_RDROP_COPYLAYER, OnRDropCopyLayer)
    ON_COMMAND(ID_SD_RDROP_COPYGC, OnRDropCopyGC)
    ON_COMMAND(ID_SD_RDROP_MOVELAYER, OnRDropMoveLayer)
    ON_NOTIFY(NM_RCLICK, IDC_SD_FIELDS, OnRclickListFieldDesign)
    ON_NOTIFY(NM_DBLCLK, IDC_SD_FIELDS, OnDblclkListFieldDesign)
    ON_COMMAND(ID_SD_FIELD_NEW, OnSdFieldNew)
    ON_COMMAND(ID_SD_FIELD_INSERT, OnSdFieldInsert)
    ON_COMMAND(ID_SD_FIELD_EDIT, OnSdFieldEdit)
    ON_COMMAND(ID_SD_FIELD_DEL, OnSdFieldDel)
    ON_COMMAND(ID_SD_FIELD_COPY, OnSdFieldCopy)
    ON_COMMAND(ID_SD_FIELD_PASTE, OnSdFieldPaste)
    ON_MESSAGE(LVM_ROWDROPPED, OnMoveField)
    ON_BN_CLICKED(IDC_SD_POINT_STYLE, OnButtonPoint)
    ON_BN_CLICKED(IDC_SD_LINE_STYLE, OnButtonLine)
    ON_BN_CLICKED(IDC_SD_FILL_STYLE, OnButtonPolygon)
    ON_BN_CLICKED(IDC_SD_ANNO_STYLE, OnButtonAnnotation)
    ON_BN_CLICKED(IDC_SD_LIMIT_SCALE, OnCheckScale)
    ON_EN_CHANGE(IDC_SD_MAX_SCALE, OnChangeEditScaleMax)
    ON_EN_CHANGE(IDC_SD_MIN_SCALE, OnChangeEditScaleMin)
    ON_BN_CLICKED(IDC_SD_POINT, OnGCTypeChanged)
    ON_BN_CLICKED(IDC_SD_LINE, OnGCTypeChanged)
    ON_BN_CLICKED(IDC_SD_ANNO, OnGCTypeChanged)
    ON_BN_CLICKED(IDC_SD_LINE_DIRECTED, OnGCTypeChanged)
    ON_BN_CLICKED(IDC_SD_FILLED, OnGCTypeChanged)
    ON_BN_CLICKED(IDC_SD_POINT_DIRECTED, OnCheckVpoint)
    ON_BN_CLICKED(IDC_SD_IDENT_POINT, OnCheckLabelpoint)
    ON_BN_CLICKED(IDC_SD_ELEVATION, OnUseElevation)
    ON_BN_CLICKED(IDC_SD_GIS_DATA, OnCheckGisdata)
    ON_BN_CLICKED(IDC_SD_MAP_DATA, OnCheckMapdata)
    ON_BN_CLICKED(IDC_SD_LIB_BROWSE, OnSymbollibBrowse)
    ON_BN_CLICKED(IDC_SD_LIB_RELOAD, OnSymbollibReload)
END_MESSAGE_MAP()

namespace {

const char* const kRootText = "方案集";

// The leading decimal digits of the text as a code (0 without any), saturating at 0xFFFFFFFF.
UINT LeadingCode(const CString& s) {
    unsigned long long v = 0;
    for (int i = 0; i < s.GetLength() && s[i] >= '0' && s[i] <= '9'; ++i) {
        v = v * 10 + static_cast<unsigned>(s[i] - '0');
        if (v > 0xFFFFFFFFull) v = 0xFFFFFFFFull;
    }
    return static_cast<UINT>(v);
}

// The byte offset of the first or last "-" outside two-byte characters; -1 when none.
int FindHyphen(const CString& s, bool last) {
    int found = -1;
    for (int i = 0; i < s.GetLength(); ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (c >= 0x81 && i + 1 < s.GetLength()) {
            ++i;  // a trail byte is never a hyphen
            continue;
        }
        if (c == '-') {
            found = i;
            if (!last) break;
        }
    }
    return found;
}

}  // namespace

tagSDClipboard::~tagSDClipboard() { ClearFields(); }

void tagSDClipboard::ClearFields() {
    for (POSITION p = m_fieldList.GetHeadPosition(); p;) delete static_cast<CDaoFieldInfo*>(m_fieldList.GetNext(p));
    m_fieldList.RemoveAll();
}

CSchemaDesignDlg::CSchemaDesignDlg(CWnd* pParent) : CDialog(IDD, pParent) {
    m_strSymbolLib = GetDefaultSymbolLibFile();
    m_nSymbolScale = static_cast<UINT>(GetDefaultMapScale());
}

CSchemaDesignDlg::~CSchemaDesignDlg() {
    for (POSITION p = m_schemeList.GetHeadPosition(); p;) delete m_schemeList.GetNext(p);
    m_schemeList.RemoveAll();
}

BOOL CSchemaDesignDlg::DestroyWindow() {
    if (m_pSymbolLib) {
        ReleaseSymbolLibIO(m_pSymbolLib);
        m_pSymbolLib = nullptr;
    }
    return CDialog::DestroyWindow();
}

void CSchemaDesignDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SD_FILL_SYMBOL, m_stcFillSymbol);
    DDX_Control(pDX, IDC_SD_LINE_SYMBOL, m_stcLineSymbol);
    DDX_Control(pDX, IDC_SD_POINT_SYMBOL, m_stcPointSymbol);
    DDX_Control(pDX, IDC_SD_LIMIT_SCALE, m_btnLimitScale);
    DDX_Control(pDX, IDC_SD_MIN_SCALE, m_edtMinScale);
    DDX_Control(pDX, IDC_SD_MAX_SCALE, m_edtMaxScale);
    DDX_Control(pDX, IDC_SD_FILL_STYLE, m_btnFillStyle);
    DDX_Control(pDX, IDC_SD_POINT_STYLE, m_btnPointStyle);
    DDX_Control(pDX, IDC_SD_LINE_STYLE, m_btnLineStyle);
    DDX_Control(pDX, IDC_SD_ANNO_STYLE, m_btnAnnoStyle);
    DDX_Control(pDX, IDC_SD_POINT_VIEW, m_stcPointView);
    DDX_Control(pDX, IDC_SD_FILL_VIEW, m_stcFillView);
    DDX_Control(pDX, IDC_SD_LINE_VIEW, m_stcLineView);
    DDX_Control(pDX, IDC_SD_ANNO_VIEW, m_stcAnnoView);
    DDX_Control(pDX, IDC_SD_FIELDS, m_lstField);
    DDX_Control(pDX, IDC_SD_TREE, m_treeScheme);
    DDX_Check(pDX, IDC_SD_LIMIT_SCALE, m_bLimitScale);
    DDX_Text(pDX, IDC_SD_MAX_SCALE, m_nMaxScale);
    DDX_Text(pDX, IDC_SD_MIN_SCALE, m_nMinScale);
    DDX_Check(pDX, IDC_SD_POINT, m_bPoint);
    DDX_Check(pDX, IDC_SD_LINE, m_bLine);
    DDX_Check(pDX, IDC_SD_ANNO, m_bAnno);
    DDX_Check(pDX, IDC_SD_ELEVATION, m_bElevation);
    DDX_Check(pDX, IDC_SD_POINT_DIRECTED, m_bPointDirected);
    DDX_Check(pDX, IDC_SD_LINE_DIRECTED, m_bLineDirected);
    DDX_Text(pDX, IDC_SD_SYMBOL_LIB, m_strSymbolLib);
    DDX_Text(pDX, IDC_SD_SYMBOL_SCALE, m_nSymbolScale);
    DDV_MinMaxUInt(pDX, m_nSymbolScale, 1, 9999999);
    DDX_Check(pDX, IDC_SD_IDENT_POINT, m_bIdentPoint);
    DDX_Check(pDX, IDC_SD_FILLED, m_bFilled);
    DDX_Check(pDX, IDC_SD_GIS_DATA, m_bGISData);
    DDX_Check(pDX, IDC_SD_MAP_DATA, m_bMapData);
}

BOOL CSchemaDesignDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_bNameFirst = 1;
    m_imageList.Create(IDB_SCHEME_TREE, 16, 8, RGB(255, 255, 255));
    m_treeScheme.SetImageList(&m_imageList, TVSIL_NORMAL);
    InsertTreeItem(kRootText, TNT_ROOT, TVI_ROOT);
    if (!m_strInitScheme.IsEmpty()) InsertScheme(m_strInitScheme, nullptr);
    initListCtrl();
    return TRUE;
}

// ---- titles ----------------------------------------------------------------------------------------

CString CSchemaDesignDlg::GetGCTitle(CString strName, UINT nCode, int bNameFirst) {
    CString s;
    if (bNameFirst)
        s.Format("%s-%u", static_cast<LPCTSTR>(strName), nCode);
    else
        s.Format("%u-%s", nCode, static_cast<LPCTSTR>(strName));
    return s;
}

void CSchemaDesignDlg::OutGCTitle(CString strTitle, CString& strName, UINT& nCode, int bNameFirst) {
    const int at = FindHyphen(strTitle, bNameFirst != 0);
    if (at < 0) return;
    const CString before = strTitle.Left(at), after = strTitle.Mid(at + 1);
    if (bNameFirst) {
        strName = before;
        nCode = LeadingCode(after);
    } else {
        nCode = LeadingCode(before);
        strName = after;
    }
}

// ---- tree model -------------------------------------------------------------------------------------

HTREEITEM CSchemaDesignDlg::InsertTreeItem(CString strText, TreeNodeType nType, HTREEITEM hParent) {
    HTREEITEM hAfter = TVI_LAST;
    int image = 0;
    switch (nType) {
        case TNT_ROOT: image = 0; hParent = TVI_ROOT; break;
        case TNT_SCHEME: image = 2; hAfter = TVI_SORT; break;
        case TNT_LAYER: image = 4; hAfter = TVI_FIRST; break;
        case TNT_CLASS: image = 6; hAfter = m_treeScheme.GetSortMode() == 2 ? TVI_LAST : TVI_SORT; break;
        default: return nullptr;
    }
    return m_treeScheme.InsertItem(strText, image, image + 1, hParent, hAfter);
}

HTREEITEM CSchemaDesignDlg::InsertScheme(CString strPath, CScheme* pScheme) {
    if (!pScheme) {
        auto* pNew = new CScheme;
        int ok = 0;
        try {
            ok = ReadSchemeFile(strPath, pNew->m_lstThemes);
        } catch (CException&) {
            ok = 0;  // not a scheme file: nothing of it was kept
        }
        if (!ok) {
            AfxMessageBox("无法打开指定文件!", MB_OK);
            delete pNew;
            return nullptr;
        }
        pNew->m_strPath = strPath;
        pScheme = pNew;
    }
    m_schemeList.AddTail(pScheme);
    HTREEITEM hItem = InsertTreeItem(GetFileName(pScheme->m_strPath), TNT_SCHEME, m_treeScheme.GetRootItem());
    if (!hItem) return nullptr;
    m_treeScheme.SetItemData(hItem, reinterpret_cast<DWORD_PTR>(pScheme));
    for (POSITION p = pScheme->m_lstThemes.GetHeadPosition(); p;)
        if (!AddTheme(pScheme->m_lstThemes.GetNext(p), hItem)) return nullptr;
    return hItem;
}

HTREEITEM CSchemaDesignDlg::InsertClassItem(const CGeoGClass& gc, HTREEITEM hLayer) {
    HTREEITEM h = InsertTreeItem(GetGCTitle(gc.GetGCName(), gc.GetGCID(), m_bNameFirst), TNT_CLASS, hLayer);
    if (h) m_treeScheme.SetItemData(h, gc.GetGCID());
    return h;
}

HTREEITEM CSchemaDesignDlg::AddTheme(CGeoTheme* pTheme, HTREEITEM hScheme) {
    HTREEITEM hLayer = InsertTreeItem(pTheme->GetName(), TNT_LAYER, hScheme);
    if (!hLayer) return nullptr;
    m_treeScheme.SetItemData(hLayer, reinterpret_cast<DWORD_PTR>(pTheme));
    const CTypedPtrList<CObList, CGeoGClass*>& classes = pTheme->GetGCList();
    for (POSITION p = classes.GetHeadPosition(); p;) {
        const CGeoGClass* pClass = classes.GetNext(p);
        if (!pClass) return nullptr;
        InsertClassItem(*pClass, hLayer);
    }
    return hLayer;
}

CScheme* CSchemaDesignDlg::SchemeOfItem(HTREEITEM hItem) const {
    switch (m_treeScheme.GetItemType(hItem)) {
        case TNT_CLASS: hItem = m_treeScheme.GetParentItem(hItem); [[fallthrough]];
        case TNT_LAYER: hItem = m_treeScheme.GetParentItem(hItem); [[fallthrough]];
        case TNT_SCHEME: return reinterpret_cast<CScheme*>(m_treeScheme.GetItemData(hItem));
        default: return nullptr;
    }
}

CGeoTheme* CSchemaDesignDlg::ThemeOfItem(HTREEITEM hItem) const {
    switch (m_treeScheme.GetItemType(hItem)) {
        case TNT_CLASS: hItem = m_treeScheme.GetParentItem(hItem); [[fallthrough]];
        case TNT_LAYER: return reinterpret_cast<CGeoTheme*>(m_treeScheme.GetItemData(hItem));
        default: return nullptr;
    }
}

int CSchemaDesignDlg::ClassOfItem(HTREEITEM hItem, CGeoGClass& gc) const {
    if (m_treeScheme.GetItemType(hItem) != TNT_CLASS) return -1;
    const CGeoTheme* pTheme = ThemeOfItem(hItem);
    const int i = pTheme ? pTheme->FindGC(static_cast<UINT>(m_treeScheme.GetItemData(hItem))) : -1;
    if (i < 0 || !pTheme->GetGC(i, gc)) return -1;
    return i;
}

void CSchemaDesignDlg::SetModify(int bModified) {
    if (CScheme* pScheme = SchemeOfItem(m_treeScheme.GetSelectedItem())) pScheme->m_bModified = bModified;
}

// ---- display of the selected item ---------------------------------------------------------------------

void CSchemaDesignDlg::ShowFields(const CGeoTheme* pTheme, const CGeoGClass* pClass) {
    CDaoFieldInfo info;
    const int n = pClass ? pClass->GetFieldCount() : pTheme->GetFieldCount();
    for (int i = 0; i < n; ++i) {
        if (!(pClass ? pClass->GetFieldInfo(i, info) : pTheme->GetFieldInfo(i, info))) break;
        InsertListCtrlItem(info, i);
    }
}

void CSchemaDesignDlg::ShowClass(const CGeoGClass& gc) {
    ShowFields(nullptr, &gc);
    const GEOVIEW gv = gc.GetGeoView();
    ShowGeoView(&gv);
    m_nMaxScale = gc.GetMaxScale();
    m_nMinScale = gc.GetMinScale();
    m_bLimitScale = !(m_nMaxScale == 0xFFFFFFFFu && m_nMinScale == 1);
    if (!m_bLimitScale) {
        m_nMaxScale = 10000;
        m_nMinScale = 10;
    }
    const DWORD t = static_cast<DWORD>(gc.GetType());
    m_bPoint = (t & GCT_POINT) != 0;
    m_bPointDirected = (t & GCT_POINT_DIRECTED) != 0;
    m_bLine = (t & GCT_LINE) != 0;
    m_bLineDirected = (t & GCT_LINE_DIRECTED) != 0;
    m_bAnno = (t & GCT_ANNO) != 0;
    m_bIdentPoint = (t & GCT_POINT_IDPOINT) != 0 && !m_bPointDirected;
    m_bFilled = (t & GCT_LINE_FILLED) != 0;
    m_bGISData = (t & GCT_GIS_DATA) != 0;
    m_bMapData = (t & GCT_CARTO_DATA) != 0;
    m_bElevation = gc.IsElevationValid();
    ShowScale(TNT_CLASS);
}

void CSchemaDesignDlg::OnSelchangedTreeSd(NMHDR* pNMHDR, LRESULT* pResult) {
    *pResult = 0;
    HTREEITEM hItem = reinterpret_cast<NMTREEVIEW*>(pNMHDR)->itemNew.hItem;
    m_lstField.DeleteAllItems();
    const int level = m_treeScheme.GetItemType(hItem);
    if (level == TNT_ROOT || level == TNT_SCHEME) {
        ShowGeoView(nullptr);
        ShowScale(level);
    } else if (level == TNT_LAYER) {
        const CGeoTheme* pTheme = ThemeOfItem(hItem);
        ShowFields(pTheme, nullptr);
        const GEOVIEW gv = pTheme->GetGeoView();
        ShowGeoView(&gv);
        ShowScale(TNT_LAYER);
        m_bGISData = (pTheme->GetDataType() & 0x1) != 0;
        m_bMapData = (pTheme->GetDataType() & 0x2) != 0;
    } else if (level == TNT_CLASS) {
        CGeoGClass gc;
        if (ClassOfItem(hItem, gc) < 0) return;
        ShowClass(gc);
    }
    UpdateData(FALSE);
}

// ---- tree context menu -------------------------------------------------------------------------------

void CSchemaDesignDlg::OnRclickTreeSd(NMHDR* pNMHDR, LRESULT* pResult) {
    (void)pNMHDR;
    *pResult = 0;
    CPoint ptScreen;
    if (!GetCursorPos(&ptScreen)) return;
    CPoint pt = ptScreen;
    m_treeScheme.ScreenToClient(&pt);
    HTREEITEM hItem = m_treeScheme.HitTest(pt);
    if (!hItem || !m_treeScheme.SelectItem(hItem)) return;
    const int kind = m_clipboard.m_nKind;
    CMenu menu;
    menu.CreatePopupMenu();
    switch (m_treeScheme.GetItemType(hItem)) {
        case TNT_ROOT:
            menu.AppendMenu(MF_STRING, ID_SD_TREE_NEW, "新建方案");
            menu.AppendMenu(MF_STRING, ID_SD_TREE_INPUT, "导入方案");
            menu.AppendMenu(MF_STRING, ID_SD_TREE_SAVEALL, "保存所有方案");
            break;
        case TNT_SCHEME:
            menu.AppendMenu(MF_STRING, ID_SD_TREE_SAVE, "保存方案");
            menu.AppendMenu(MF_STRING, ID_SD_TREE_SAVEAS, "另存方案");
            menu.AppendMenu(MF_STRING, ID_SD_TREE_DEL, "删除方案");
            menu.AppendMenu(MF_STRING, ID_SD_TREE_REPORT, "输出方案");
            menu.AppendMenu(MF_STRING, ID_SD_TREE_PROP, "方案属性");
            menu.AppendMenu(MF_SEPARATOR);
            menu.AppendMenu(MF_STRING, ID_SD_TREE_NEW, "新建图层");
            menu.AppendMenu(MF_STRING, ID_SD_TREE_INPUT, "导入图层");
            if (kind == 4) menu.AppendMenu(MF_STRING, ID_SD_TREE_PASTE, "粘贴图层");
            break;
        case TNT_LAYER:
            menu.AppendMenu(MF_STRING, ID_SD_TREE_COPY, "拷贝图层");
            menu.AppendMenu(MF_STRING, ID_SD_TREE_COPYFIELD, "拷贝属性结构");
            menu.AppendMenu(MF_STRING, ID_SD_TREE_COPYSTYLE, "拷贝显示风格");
            menu.AppendMenu(MF_STRING, ID_SD_TREE_RENAME, "重命名");
            menu.AppendMenu(MF_STRING, ID_SD_TREE_DEL, "删除图层");
            menu.AppendMenu(MF_SEPARATOR);
            menu.AppendMenu(MF_STRING, ID_SD_TREE_NEW, "新建地物类");
            if (kind == 1) menu.AppendMenu(MF_STRING, ID_SD_TREE_PASTEFIELD, "粘贴属性结构");
            if (kind == 2) menu.AppendMenu(MF_STRING, ID_SD_TREE_PASTESTYLE, "粘贴显示风格");
            if (kind == 3) menu.AppendMenu(MF_STRING, ID_SD_TREE_PASTE, "粘贴地物类");
            break;
        case TNT_CLASS:
            menu.AppendMenu(MF_STRING, ID_SD_TREE_COPY, "拷贝地物类");
            menu.AppendMenu(MF_STRING, ID_SD_TREE_COPYFIELD, "拷贝属性结构");
            menu.AppendMenu(MF_STRING, ID_SD_TREE_COPYSTYLE, "拷贝显示风格");
            menu.AppendMenu(MF_STRING, ID_SD_TREE_RENAME, "重命名");
            menu.AppendMenu(MF_STRING, ID_SD_TREE_DEL, "删除地物类");
            if (kind == 1) menu.AppendMenu(MF_STRING, ID_SD_TREE_PASTEFIELD, "粘贴属性结构");
            if (kind == 2) menu.AppendMenu(MF_STRING, ID_SD_TREE_PASTESTYLE, "粘贴显示风格");
            break;
        default: return;
    }
    const int mode = m_treeScheme.GetSortMode();
    menu.AppendMenu(MF_SEPARATOR);
    if (mode != 1) menu.AppendMenu(MF_STRING, ID_SD_SORT_NAME, "按名字排序");
    if (mode != 0) menu.AppendMenu(MF_STRING, ID_SD_SORT_CODE, "按编码排序");
    if (mode != 2) menu.AppendMenu(MF_STRING, ID_SD_SORT_NONE, "不排序");
    menu.TrackPopupMenu(TPM_RIGHTBUTTON, ptScreen.x, ptScreen.y, this);
}

// ---- ordering of class items -----------------------------------------------------------------------

void CSchemaDesignDlg::SortTreeLayerChild(HTREEITEM hLayer) {
    const CGeoTheme* pTheme = ThemeOfItem(hLayer);
    if (!pTheme || m_treeScheme.GetItemType(hLayer) != TNT_LAYER) return;
    const int mode = m_treeScheme.GetSortMode();
    const int oldOrder = m_bNameFirst, newOrder = mode == 1 ? 1 : mode == 0 ? 0 : oldOrder;
    if (mode == 2) {
        // Back to the stored order: the items take the classes' titles one by one.
        const CTypedPtrList<CObList, CGeoGClass*>& classes = pTheme->GetGCList();
        POSITION p = classes.GetHeadPosition();
        for (HTREEITEM h = m_treeScheme.GetChildItem(hLayer); h && p; h = m_treeScheme.GetNextSiblingItem(h)) {
            const CGeoGClass* pClass = classes.GetNext(p);
            m_treeScheme.SetItemText(h, GetGCTitle(pClass->GetGCName(), pClass->GetGCID(), newOrder));
            m_treeScheme.SetItemData(h, pClass->GetGCID());
        }
        return;
    }
    for (HTREEITEM h = m_treeScheme.GetChildItem(hLayer); h; h = m_treeScheme.GetNextSiblingItem(h)) {
        CString name;
        UINT code = 0;
        OutGCTitle(m_treeScheme.GetItemText(h), name, code, oldOrder);
        m_treeScheme.SetItemText(h, GetGCTitle(name, code, newOrder));
    }
    m_treeScheme.SortChildren(hLayer);
}

void CSchemaDesignDlg::SetSortMode(int nMode) {
    if (m_treeScheme.GetSortMode() == nMode) return;
    m_treeScheme.SetSortMode(nMode);
    for (HTREEITEM hs = m_treeScheme.GetChildItem(m_treeScheme.GetRootItem()); hs; hs = m_treeScheme.GetNextSiblingItem(hs))
        for (HTREEITEM hl = m_treeScheme.GetChildItem(hs); hl; hl = m_treeScheme.GetNextSiblingItem(hl)) SortTreeLayerChild(hl);
}

void CSchemaDesignDlg::OnSortByName() {
    if (m_treeScheme.GetSortMode() == 1) return;
    SetSortMode(1);
    m_bNameFirst = 1;
}

void CSchemaDesignDlg::OnSortByCode() {
    if (m_treeScheme.GetSortMode() == 0) return;
    SetSortMode(0);
    m_bNameFirst = 0;
}

void CSchemaDesignDlg::OnSortNon() { SetSortMode(2); }

// ---- scheme files ------------------------------------------------------------------------------------

BOOL CSchemaDesignDlg::SaveScheme(CScheme* pScheme) {
    if (!pScheme || !SaveSchemeFile(pScheme->m_lstThemes, pScheme->m_strPath)) return FALSE;
    pScheme->m_bModified = 0;
    return TRUE;
}

BOOL CSchemaDesignDlg::SaveAllSchemes() {
    BOOL all = TRUE;
    for (HTREEITEM h = m_treeScheme.GetChildItem(m_treeScheme.GetRootItem()); h; h = m_treeScheme.GetNextSiblingItem(h))
        if (!SaveScheme(SchemeOfItem(h))) all = FALSE;
    return all;
}

void CSchemaDesignDlg::OnSdTreeSave() {
    HTREEITEM h = m_treeScheme.GetSelectedItem();
    if (m_treeScheme.GetItemType(h) == TNT_SCHEME) SaveScheme(SchemeOfItem(h));
}

void CSchemaDesignDlg::OnSdTreeSaveAs() {
    HTREEITEM h = m_treeScheme.GetSelectedItem();
    if (m_treeScheme.GetItemType(h) != TNT_SCHEME) return;
    CScheme* pScheme = SchemeOfItem(h);
    CFileDialog dlg(FALSE, "sch", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, SCHEME_FILE_FILTER, this);
    dlg.m_ofn.lpstrTitle = "方案另存为";
    if (dlg.DoModal() != IDOK) return;
    const CString path = dlg.GetPathName();
    if (!SaveSchemeFile(pScheme->m_lstThemes, path)) return;
    pScheme->m_strPath = path;
    pScheme->m_bModified = 0;
    m_treeScheme.SetItemText(h, GetFileName(path));
}

void CSchemaDesignDlg::OnSdTreeSaveAll() {
    if (m_treeScheme.GetItemType(m_treeScheme.GetSelectedItem()) == TNT_ROOT) SaveAllSchemes();
}

void CSchemaDesignDlg::OnSdTreeReport() {
    HTREEITEM h = m_treeScheme.GetSelectedItem();
    if (m_treeScheme.GetItemType(h) == TNT_SCHEME) WriteSchemeToFile(SchemeOfItem(h));
}

void CSchemaDesignDlg::OnSdTreeProp() {
    HTREEITEM h = m_treeScheme.GetSelectedItem();
    if (m_treeScheme.GetItemType(h) == TNT_SCHEME) AfxMessageBox(SchemeOfItem(h)->m_strPath, MB_OK);
}

void CSchemaDesignDlg::OnOK() {
    // A scheme that could not be written keeps the designer open (the save already said why), so its
    // edits are not lost: the person can save it elsewhere or leave with "不保存结束".
    if (SaveAllSchemes()) EndDialog(IDOK);
}

void CSchemaDesignDlg::OnCancel() {
    if (AfxMessageBox("真的要退出.", MB_YESNO) == IDYES) EndDialog(IDCANCEL);
}

void CSchemaDesignDlg::OnPaint() {
    CPaintDC dc(this);
    CWnd* previews[] = {&m_stcPointView, &m_stcPointSymbol, &m_stcFillView, &m_stcFillSymbol,
                        &m_stcLineView,  &m_stcLineSymbol,  &m_stcAnnoView};
    for (CWnd* w : previews)
        if (w->GetSafeHwnd()) w->Invalidate(TRUE);
}
