// The scheme designer's clipboard (layers, classes, field structures, styles; one kind at a time, kept
// as copies so a later delete of the source does not matter) and the drops of the scheme tree: copies
// of layers and classes obey the naming rules of the commands, moves change the stored order.
#include "ui/SchemaDesignDlg.h"

#include <afx/Menu.h>

#include "ui/resources/SchemeDesignTemplates.h"

void CSchemaDesignDlg::OnSdTreeCopy() {
    HTREEITEM h = m_treeScheme.GetSelectedItem();
    const int level = m_treeScheme.GetItemType(h);
    if (level == TNT_LAYER) {
        m_clipboard.m_theme = *ThemeOfItem(h);
        m_clipboard.m_nKind = 4;
    } else if (level == TNT_CLASS) {
        CGeoGClass gc;
        if (ClassOfItem(h, gc) < 0) return;
        m_clipboard.m_gclass = gc;
        m_clipboard.m_nKind = 3;
    }
}

void CSchemaDesignDlg::OnSdTreeCopyField() {
    m_clipboard.ClearFields();
    HTREEITEM h = m_treeScheme.GetSelectedItem();
    const int level = m_treeScheme.GetItemType(h);
    CDaoFieldInfo info;
    if (level == TNT_LAYER) {
        const CGeoTheme* pTheme = ThemeOfItem(h);
        for (int i = 0; i < pTheme->GetFieldCount() && pTheme->GetFieldInfo(i, info); ++i)
            m_clipboard.m_fieldList.AddTail(new CDaoFieldInfo(info));
        m_clipboard.m_nKind = 1;
    } else if (level == TNT_CLASS) {
        CGeoGClass gc;
        if (ClassOfItem(h, gc) < 0) return;
        for (int i = 0; i < gc.GetFieldCount(); ++i) {
            if (!gc.GetFieldInfo(i, info)) return;
            m_clipboard.m_fieldList.AddTail(new CDaoFieldInfo(info));
        }
        m_clipboard.m_nKind = 1;
    }
}

void CSchemaDesignDlg::OnSdTreeCopyStyle() {
    GEOVIEW gv;
    if (!GetCurrentGV(gv)) return;
    m_clipboard.m_geoView = gv;
    m_clipboard.m_nKind = 2;
}

void CSchemaDesignDlg::OnSdTreePaste() {
    HTREEITEM h = m_treeScheme.GetSelectedItem();
    const int level = m_treeScheme.GetItemType(h);
    if (level == TNT_SCHEME && m_clipboard.m_nKind == 4) {
        if (AddThemeCopy(m_clipboard.m_theme, h)) SetModify(1);
    } else if (level == TNT_LAYER && m_clipboard.m_nKind == 3) {
        AddClassToLayer(m_clipboard.m_gclass, h);
    }
}

void CSchemaDesignDlg::OnSdTreePasteField() { PasteFields(); }

void CSchemaDesignDlg::OnSdTreePasteStyle() {
    if (m_clipboard.m_nKind != 2) return;
    HTREEITEM h = m_treeScheme.GetSelectedItem();
    const int level = m_treeScheme.GetItemType(h);
    const GEOVIEW gv = m_clipboard.m_geoView;
    if (level == TNT_CLASS) {
        CGeoGClass gc;
        const int index = ClassOfItem(h, gc);
        if (index < 0) return;
        gc.SetGeoView(gv);
        ThemeOfItem(h)->SetGC(index, gc);
    } else if (level == TNT_LAYER) {
        ThemeOfItem(h)->SetGeoView(gv);
    } else {
        return;
    }
    ShowGeoView(&gv);
    SetModify(1);
}

// ---- drops ----------------------------------------------------------------------------------------------

LRESULT CSchemaDesignDlg::OnRDrop(WPARAM wParam, LPARAM lParam) {
    m_hRDropTarget = reinterpret_cast<HTREEITEM>(wParam);
    m_hRDropItem = reinterpret_cast<HTREEITEM>(lParam);
    CPoint pt;
    if (!GetCursorPos(&pt)) return 0;
    const int d = m_treeScheme.GetItemType(m_hRDropItem), t = m_treeScheme.GetItemType(m_hRDropTarget);
    CMenu menu;
    menu.CreatePopupMenu();
    if (d == TNT_LAYER && t == TNT_SCHEME)
        menu.AppendMenu(MF_STRING, ID_SD_RDROP_COPYLAYER, "复制图层");
    else if (d == TNT_LAYER && t == TNT_LAYER &&
             m_treeScheme.GetParentItem(m_hRDropItem) == m_treeScheme.GetParentItem(m_hRDropTarget))
        menu.AppendMenu(MF_STRING, ID_SD_RDROP_MOVELAYER, "移动图层");
    else if (d == TNT_CLASS && t == TNT_LAYER)
        menu.AppendMenu(MF_STRING, ID_SD_RDROP_COPYGC, "复制地物类");
    else
        return 0;
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, ID_SD_RDROP_CANCEL, "取消");
    menu.TrackPopupMenu(TPM_RIGHTBUTTON, pt.x, pt.y, this);
    return 0;
}

void CSchemaDesignDlg::OnRDropCancel() {}

namespace {

void SendDrop(CWnd* pDlg, UINT msg, HTREEITEM hTarget, HTREEITEM hItem) {
    if (hTarget != hItem)
        pDlg->SendMessage(msg, reinterpret_cast<WPARAM>(hTarget), reinterpret_cast<LPARAM>(hItem));
}

}  // namespace

void CSchemaDesignDlg::OnRDropCopyLayer() { SendDrop(this, STM_LAYER_TO_SCHEME, m_hRDropTarget, m_hRDropItem); }
void CSchemaDesignDlg::OnRDropCopyGC() { SendDrop(this, STM_CLASS_TO_LAYER, m_hRDropTarget, m_hRDropItem); }
void CSchemaDesignDlg::OnRDropMoveLayer() { SendDrop(this, STM_LAYER_TO_LAYER, m_hRDropTarget, m_hRDropItem); }

LRESULT CSchemaDesignDlg::OnCopyLayer(WPARAM wParam, LPARAM lParam) {
    HTREEITEM hTarget = reinterpret_cast<HTREEITEM>(wParam), hItem = reinterpret_cast<HTREEITEM>(lParam);
    if (m_treeScheme.GetItemType(hItem) != TNT_LAYER) return 0;
    AddThemeCopy(*ThemeOfItem(hItem), hTarget);
    return 0;
}

LRESULT CSchemaDesignDlg::OnMoveLayer(WPARAM wParam, LPARAM lParam) {
    HTREEITEM hTarget = reinterpret_cast<HTREEITEM>(wParam), hItem = reinterpret_cast<HTREEITEM>(lParam);
    HTREEITEM hScheme = m_treeScheme.GetParentItem(hTarget);
    if (hTarget == hItem || m_treeScheme.GetItemType(hItem) != TNT_LAYER || m_treeScheme.GetItemType(hTarget) != TNT_LAYER ||
        m_treeScheme.GetParentItem(hItem) != hScheme)
        return 0;
    // The schemas behind the two items themselves, so namesakes never stand in for each other.
    CScheme* pScheme = SchemeOfItem(hScheme);
    CGeoTheme *pMoved = ThemeOfItem(hItem), *pTarget = ThemeOfItem(hTarget);
    POSITION pm = pScheme->m_lstThemes.Find(pMoved);
    if (!pm || !pScheme->m_lstThemes.Find(pTarget)) return 0;
    pScheme->m_lstThemes.RemoveAt(pm);
    pScheme->m_lstThemes.InsertAfter(pScheme->m_lstThemes.Find(pTarget), pMoved);
    if (HTREEITEM hMoved = m_treeScheme.Move(hItem, hScheme, hTarget)) m_treeScheme.SelectItem(hMoved);
    pScheme->m_bModified = 1;  // the saved order changed
    return 0;
}

LRESULT CSchemaDesignDlg::OnCopyGC(WPARAM wParam, LPARAM lParam) {
    HTREEITEM hTarget = reinterpret_cast<HTREEITEM>(wParam), hItem = reinterpret_cast<HTREEITEM>(lParam);
    CGeoGClass gc;
    if (m_treeScheme.GetItemType(hTarget) != TNT_LAYER || ClassOfItem(hItem, gc) < 0) return 0;
    AddClassToLayer(gc, hTarget);
    return 0;
}

LRESULT CSchemaDesignDlg::OnMoveGC(WPARAM wParam, LPARAM lParam) {
    HTREEITEM hTarget = reinterpret_cast<HTREEITEM>(wParam), hItem = reinterpret_cast<HTREEITEM>(lParam);
    HTREEITEM hLayer = m_treeScheme.GetParentItem(hTarget);
    if (hTarget == hItem || m_treeScheme.GetItemType(hItem) != TNT_CLASS || m_treeScheme.GetItemType(hTarget) != TNT_CLASS ||
        m_treeScheme.GetParentItem(hItem) != hLayer)
        return 0;
    CGeoTheme* pTheme = ThemeOfItem(hTarget);
    CGeoGClass gc;
    const int from = ClassOfItem(hItem, gc);
    if (from < 0) return 0;
    pTheme->DeleteGC(from);
    // Directly after the target, at the index the target has once the class is out.
    const int to = pTheme->FindGC(static_cast<UINT>(m_treeScheme.GetItemData(hTarget)));
    if (to < 0 || !pTheme->AddGC(gc, to)) {
        pTheme->AddGC(gc, from == 0 ? -1 : from - 1);  // put it back where it was
        return 0;
    }
    if (HTREEITEM hMoved = m_treeScheme.Move(hItem, hLayer, hTarget)) m_treeScheme.SelectItem(hMoved);
    SetModify(1);
    return 0;
}
