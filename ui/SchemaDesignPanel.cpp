// The scheme designer's style and option panel: the previews and ">>" buttons of the selected layer's or
// class's display style, the class options (scale range, geometry, elevation, data type) and the symbol
// library of the symbol previews. The style sheet marks the scheme modified; the options do not.
#include "ui/SchemaDesignDlg.h"

#include "core/SymbolLibAccess.h"
#include "ui/StyleSheet.h"
#include "ui/resources/SchemeDesignTemplates.h"

void CSchemaDesignDlg::ShowGeoView(const GEOVIEW* pGV) {
    CButton* buttons[] = {&m_btnPointStyle, &m_btnLineStyle, &m_btnFillStyle, &m_btnAnnoStyle};
    if (!pGV) {
        CWnd* previews[] = {&m_stcPointView, &m_stcPointSymbol, &m_stcFillView, &m_stcFillSymbol,
                            &m_stcLineView,  &m_stcLineSymbol,  &m_stcAnnoView};
        for (CWnd* w : previews) w->SetWindowText("");
        // Kind 5 and no library draw nothing, so the previews show empty.
        const GEOVIEW none;
        for (CGeoViewPreview* v : {&m_stcPointView, &m_stcFillView, &m_stcLineView, &m_stcAnnoView}) v->SetData(none, 5);
        m_stcPointSymbol.SetData(none, 0, nullptr);
        m_stcFillSymbol.SetData(none, 2, nullptr);
        m_stcLineSymbol.SetData(none, 1, nullptr);
        for (CButton* b : buttons) b->EnableWindow(FALSE);
        return;
    }
    for (CButton* b : buttons) b->EnableWindow(TRUE);
    m_stcPointView.SetData(*pGV, 1);
    m_stcPointSymbol.SetData(*pGV, 0, m_pSymbolLib);
    m_stcFillView.SetData(*pGV, 3);
    m_stcFillSymbol.SetData(*pGV, 2, m_pSymbolLib);
    m_stcLineView.SetData(*pGV, 2);
    m_stcLineSymbol.SetData(*pGV, 1, m_pSymbolLib);
    m_stcAnnoView.SetData(*pGV, 4);
}

void CSchemaDesignDlg::ShowScale(int nLevel) {
    const BOOL c = nLevel == TNT_CLASS;
    for (int id : {IDC_SD_LIMIT_SCALE, IDC_SD_POINT, IDC_SD_LINE, IDC_SD_ANNO, IDC_SD_ELEVATION})
        GetDlgItem(id)->EnableWindow(c);
    for (int id : {IDC_SD_MIN_SCALE, IDC_SD_MAX_SCALE}) GetDlgItem(id)->EnableWindow(c && m_bLimitScale);
    for (int id : {IDC_SD_POINT_DIRECTED, IDC_SD_IDENT_POINT}) GetDlgItem(id)->EnableWindow(c && m_bPoint);
    for (int id : {IDC_SD_LINE_DIRECTED, IDC_SD_FILLED}) GetDlgItem(id)->EnableWindow(c && m_bLine);
}

BOOL CSchemaDesignDlg::GetCurrentGV(GEOVIEW& gv) {
    HTREEITEM h = m_treeScheme.GetSelectedItem();
    const int level = m_treeScheme.GetItemType(h);
    if (level == TNT_LAYER) {
        gv = ThemeOfItem(h)->GetGeoView();
        return TRUE;
    }
    CGeoGClass gc;
    if (level != TNT_CLASS || ClassOfItem(h, gc) < 0) return FALSE;
    gv = gc.GetGeoView();
    return TRUE;
}

void CSchemaDesignDlg::OnButtonMore(int nPage) {
    if (nPage > 3) return;
    HTREEITEM h = m_treeScheme.GetSelectedItem();
    const int level = m_treeScheme.GetItemType(h);
    CGeoTheme* pTheme = ThemeOfItem(h);
    GEOVIEW gv;
    CGeoGClass gc;
    int index = -1, bShowSize = 0;
    UINT width = 50, height = 50;
    if (level == TNT_LAYER) {
        gv = pTheme->GetGeoView();
    } else if (level == TNT_CLASS) {
        index = ClassOfItem(h, gc);
        if (index < 0) return;
        gv = gc.GetGeoView();
        bShowSize = gc.GetFontSize(width, height);
    } else {
        return;
    }
    CStyleSheet sheet("显示风格设置", nullptr, static_cast<UINT>(nPage));
    sheet.SetData(gv, m_pSymbolLib, bShowSize, width, height);
    if (sheet.DoModal() != IDOK) return;
    if (level == TNT_LAYER) {
        pTheme->SetGeoView(sheet.GetGeoView());
        gv = pTheme->GetGeoView();
    } else {
        gc.SetGeoView(sheet.GetGeoView());
        if (bShowSize) {
            sheet.GetAnnoSize(width, height);
            gc.SetFontSize(width, height);
        }
        pTheme->SetGC(index, gc);
        gv = gc.GetGeoView();
    }
    ShowGeoView(&gv);
    SetModify(1);
}

void CSchemaDesignDlg::SetScale(int bLimited) {
    HTREEITEM h = m_treeScheme.GetSelectedItem();
    CGeoGClass gc;
    const int index = ClassOfItem(h, gc);
    if (index < 0) return;
    if (bLimited)
        gc.SetMinMaxScale(m_nMinScale, m_nMaxScale);
    else
        gc.SetMinMaxScale(1, 0xFFFFFFFFu);
    ThemeOfItem(h)->SetGC(index, gc);
    SetModify(1);
}

void CSchemaDesignDlg::OnCheckScale() {
    UpdateData(TRUE);
    for (int id : {IDC_SD_MIN_SCALE, IDC_SD_MAX_SCALE}) GetDlgItem(id)->EnableWindow(m_bLimitScale);
    SetScale(m_bLimitScale);
    UpdateData(FALSE);
}

void CSchemaDesignDlg::OnChangeEditScaleMax() {
    UpdateData(TRUE);
    SetScale(1);
    UpdateData(FALSE);
}

void CSchemaDesignDlg::OnChangeEditScaleMin() { OnChangeEditScaleMax(); }

void CSchemaDesignDlg::OnGCTypeChanged() {
    UpdateData(TRUE);
    HTREEITEM h = m_treeScheme.GetSelectedItem();
    if (m_treeScheme.GetItemType(h) != TNT_CLASS) return;
    // Every bit comes from its member, also while its check is disabled, so clearing "点状地物" keeps
    // the point's own options for when it is set again.
    DWORD t = 0;
    if (m_bPoint) t |= GCT_POINT;
    if (m_bPointDirected) t |= GCT_POINT_DIRECTED;
    if (m_bIdentPoint) t |= GCT_POINT_IDPOINT;
    if (m_bLine) t |= GCT_LINE;
    if (m_bLineDirected) t |= GCT_LINE_DIRECTED;
    if (m_bFilled) t |= GCT_LINE_FILLED;
    if (m_bAnno) t |= GCT_ANNO;
    if (m_bGISData) t |= GCT_GIS_DATA;
    if (m_bMapData) t |= GCT_CARTO_DATA;
    for (int id : {IDC_SD_POINT_DIRECTED, IDC_SD_IDENT_POINT}) GetDlgItem(id)->EnableWindow(m_bPoint);
    for (int id : {IDC_SD_LINE_DIRECTED, IDC_SD_FILLED}) GetDlgItem(id)->EnableWindow(m_bLine);
    CGeoGClass gc;
    const int index = ClassOfItem(h, gc);
    if (index < 0) return;
    gc.SetType(static_cast<int>(t));
    ThemeOfItem(h)->SetGC(index, gc);
    SetModify(1);
}

void CSchemaDesignDlg::OnCheckVpoint() {
    UpdateData(TRUE);
    if (m_bPointDirected) m_bIdentPoint = 0;
    UpdateData(FALSE);
    OnGCTypeChanged();
}

void CSchemaDesignDlg::OnCheckLabelpoint() {
    UpdateData(TRUE);
    if (m_bIdentPoint) m_bPointDirected = 0;
    UpdateData(FALSE);
    OnGCTypeChanged();
}

void CSchemaDesignDlg::OnUseElevation() {
    UpdateData(TRUE);
    HTREEITEM h = m_treeScheme.GetSelectedItem();
    CGeoGClass gc;
    const int index = ClassOfItem(h, gc);
    if (index < 0) return;
    gc.ValidElevation(m_bElevation);
    ThemeOfItem(h)->SetGC(index, gc);
    SetModify(1);
}

// A layer or class keeps at least one of its two data kinds: clearing the last one sets the other.
void CSchemaDesignDlg::OnCheckGisdata() {
    UpdateData(TRUE);
    if (!m_bGISData && !m_bMapData) m_bMapData = 1;
    ApplyDataKinds();
}

void CSchemaDesignDlg::OnCheckMapdata() {
    UpdateData(TRUE);
    if (!m_bGISData && !m_bMapData) m_bGISData = 1;
    ApplyDataKinds();
}

void CSchemaDesignDlg::ApplyDataKinds() {
    UpdateData(FALSE);
    HTREEITEM h = m_treeScheme.GetSelectedItem();
    const int level = m_treeScheme.GetItemType(h);
    if (level == TNT_LAYER) {
        ThemeOfItem(h)->SetDataType((m_bMapData ? 2 : 0) | (m_bGISData ? 1 : 0));
        SetModify(1);
    } else if (level == TNT_CLASS)
        OnGCTypeChanged();
}

void CSchemaDesignDlg::OnSymbollibBrowse() {
    UpdateData(TRUE);
    const CString name = SelectSymbolLib(m_strSymbolLib);
    if (name != m_strSymbolLib) {
        m_strSymbolLib = name;
        UpdateData(FALSE);
    }
}

void CSchemaDesignDlg::OnSymbollibReload() {
    if (!UpdateData(TRUE)) return;
    if (m_strSymbolLib.IsEmpty()) {
        ReleaseSymbolLibIO(m_pSymbolLib);
        m_pSymbolLib = nullptr;
    } else {
        CSymbolLibIO* pLib = GetSymbolLibIO(GetSymbolLibFileName(m_strSymbolLib), static_cast<int>(m_nSymbolScale));
        if (!pLib) return;  // the old library stays in use
        ReleaseSymbolLibIO(m_pSymbolLib);
        m_pSymbolLib = pLib;
    }
    GEOVIEW gv;
    if (GetCurrentGV(gv)) ShowGeoView(&gv);
}
