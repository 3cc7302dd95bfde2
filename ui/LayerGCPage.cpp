#include "ui/LayerGCPage.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <utility>
#include <vector>

#include <afx/Menu.h>

#include "core/GeoVectorLayer.h"
#include "ui/GCInfoDlg.h"
#include "ui/GCPropSheet.h"
#include "ui/Scheme.h"
#include "ui/SelectGCDlg.h"
#include "ui/resources/LayerDialogTemplates.h"

IMPLEMENT_DYNCREATE(CLayerGCPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CLayerGCPage, CPropertyPage)
    ON_BN_CLICKED(IDC_LAYERGC_NEW, OnNew)
    ON_BN_CLICKED(IDC_LAYERGC_IMPORT, OnImport)
    ON_BN_CLICKED(IDC_LAYERGC_DELETE, OnDelete)
    ON_BN_CLICKED(IDC_LAYERGC_PROPERTIES, OnProperties)
    ON_COMMAND(ID_LAYERGC_DELETE_UNUSED, OnDeleteUnused)
    ON_NOTIFY(NM_DBLCLK, IDC_LAYERGC_LIST, OnDblClkList)
    ON_NOTIFY(NM_RCLICK, IDC_LAYERGC_LIST, OnRClickList)
    ON_NOTIFY(LVN_COLUMNCLICK, IDC_LAYERGC_LIST, OnColumnClick)
END_MESSAGE_MAP()

namespace {

const char kUsed[] = "已用";
const char kUnused[] = "未用";

// Codes with their counts, ascending by code (the pairs kept together).
void SortCodes(CUIntArray& codes, CUIntArray* pCounts) {
    std::vector<std::pair<UINT, UINT>> v;
    for (INT_PTR i = 0; i < codes.GetSize(); ++i) v.emplace_back(codes[i], pCounts ? (*pCounts)[i] : 0);
    std::stable_sort(v.begin(), v.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (size_t i = 0; i < v.size(); ++i) {
        codes[static_cast<INT_PTR>(i)] = v[i].first;
        if (pCounts) (*pCounts)[static_cast<INT_PTR>(i)] = v[i].second;
    }
}

int CompareRows(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort) {
    auto* param = reinterpret_cast<CLayerGCPage::tagSortParam*>(lParamSort);
    const CString& a = param->pTexts->at(lParam1);
    const CString& b = param->pTexts->at(lParam2);
    int result;
    if (param->nKind == 1) {
        // Compared, not subtracted: a difference of two codes overflows at 2^31.
        const unsigned long x = std::strtoul(a, nullptr, 10), y = std::strtoul(b, nullptr, 10);
        result = x < y ? -1 : (x > y ? 1 : 0);
    } else {
        result = a.CompareNoCase(b);
    }
    return param->bAscending ? result : -result;
}

}  // namespace

CLayerGCPage::CLayerGCPage() : CPropertyPage(IDD) { RegisterLayerDialogTemplates(); }

CLayerGCPage::~CLayerGCPage() {
    for (POSITION p = m_GClassList.GetHeadPosition(); p;) m_GClassList.GetNext(p)->Remove();
    m_GClassList.RemoveAll();
}

void CLayerGCPage::SetData(CGeoVectorLayer* pLayer, CSymbolLibIO* pLib, int bViewOnly) {
    m_pSymbolLib = pLib;
    m_bViewOnly = bViewOnly;
    if (!pLayer) return;
    m_arrUsedCodes.RemoveAll();
    m_arrUsedCounts.RemoveAll();
    pLayer->GetUsedGCID(m_arrUsedCodes, &m_arrUsedCounts);
    SortCodes(m_arrUsedCodes, &m_arrUsedCounts);
    m_arrOrgCodes.RemoveAll();
    pLayer->GetAllGCID(m_arrOrgCodes);
    SortCodes(m_arrOrgCodes, nullptr);
    CGeoGClass gc;
    for (INT_PTR i = 0; i < m_arrOrgCodes.GetSize(); ++i)
        if (pLayer->GetGClass(m_arrOrgCodes[i], gc)) m_GClassList.AddTail(new CGeoGClass(gc));
}

void CLayerGCPage::DoDataExchange(CDataExchange* pDX) {
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_LAYERGC_LIST, m_ListCtrl);
}

BOOL CLayerGCPage::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    m_ListCtrl.SetExtendedStyle(m_ListCtrl.GetExtendedStyle() | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    m_ListCtrl.InsertColumn(0, "地物名", LVCFMT_CENTER, 140);
    m_ListCtrl.InsertColumn(1, "地物编码", LVCFMT_CENTER, 60);
    m_ListCtrl.InsertColumn(2, "使用状态", LVCFMT_CENTER, 60);
    m_ListCtrl.InsertColumn(3, "对象个数", LVCFMT_CENTER, 60);
    for (POSITION p = m_GClassList.GetHeadPosition(); p;) {
        POSITION at = p;
        const CGeoGClass* gc = m_GClassList.GetNext(p);
        AddRow(*gc, -1, at);
    }
    SortByColumn(0);
    for (int id : {IDC_LAYERGC_NEW, IDC_LAYERGC_IMPORT, IDC_LAYERGC_DELETE}) GetDlgItem(id)->EnableWindow(!m_bViewOnly);
    return TRUE;
}

UINT CLayerGCPage::UsageOf(UINT nCode) const {
    for (INT_PTR i = 0; i < m_arrUsedCodes.GetSize(); ++i)
        if (m_arrUsedCodes[i] == nCode) return m_arrUsedCounts[i];
    return 0;
}

void CLayerGCPage::AddRow(const CGeoGClass& gc, int nIndex, POSITION pos) {
    const int row = m_ListCtrl.InsertItem(nIndex < 0 ? m_ListCtrl.GetItemCount() : nIndex, gc.GetGCName());
    m_ListCtrl.SetItemData(row, reinterpret_cast<DWORD_PTR>(pos));
    UpdateRow(row, gc);
    SetUsage(row, UsageOf(gc.GetGCID()));
}

void CLayerGCPage::UpdateRow(int nRow, const CGeoGClass& gc) {
    CString code;
    code.Format("%u", gc.GetGCID());
    m_ListCtrl.SetItemText(nRow, 0, gc.GetGCName());
    m_ListCtrl.SetItemText(nRow, 1, code);
}

void CLayerGCPage::SetUsage(int nRow, UINT nCount) {
    CString count;
    count.Format("%u", nCount);
    m_ListCtrl.SetItemText(nRow, 2, nCount ? kUsed : kUnused);
    m_ListCtrl.SetItemText(nRow, 3, count);
}

void CLayerGCPage::SortByColumn(int nColumn) {
    // The rows move while the list sorts, so the texts are read before, by item data.
    std::map<LPARAM, CString> texts;
    for (int row = 0; row < m_ListCtrl.GetItemCount(); ++row)
        texts[static_cast<LPARAM>(m_ListCtrl.GetItemData(row))] = m_ListCtrl.GetItemText(row, nColumn);
    m_SortParam = tagSortParam{&m_ListCtrl, nColumn, m_bSortAscending, nColumn == 1 ? 1 : 0, &texts};
    m_ListCtrl.SortItems(CompareRows, reinterpret_cast<DWORD_PTR>(&m_SortParam));
    m_SortParam.pTexts = nullptr;
}

void CLayerGCPage::OnColumnClick(NMHDR* pNMHDR, LRESULT* pResult) {
    *pResult = 0;
    const int column = reinterpret_cast<NMLISTVIEW*>(pNMHDR)->iSubItem;
    if (column == m_nSortColumn) {
        m_bSortAscending = !m_bSortAscending;
    } else {
        m_bSortAscending = 1;
        m_nSortColumn = column;
    }
    SortByColumn(column);
}

int CLayerGCPage::SelectedRow() const {
    POSITION p = m_ListCtrl.GetFirstSelectedItemPosition();
    return p ? m_ListCtrl.GetNextSelectedItem(p) : -1;
}

CGeoGClass* CLayerGCPage::ClassOfRow(int nRow) const {
    auto pos = reinterpret_cast<POSITION>(m_ListCtrl.GetItemData(nRow));
    return pos ? m_GClassList.GetAt(pos) : nullptr;
}

int CLayerGCPage::FindInArray(UINT nValue, CUIntArray* pArray) {
    for (INT_PTR i = 0; i < pArray->GetSize(); ++i)
        if ((*pArray)[i] == nValue) return static_cast<int>(i);
    return -1;
}

BOOL CLayerGCPage::RunClassSheet(CGeoGClass* pClass, UINT nOwnCode, int bViewOnly, CGeoGClass* pEdited) {
    CGCPropSheet sheet("地物属性", &m_GClassList, pClass, m_pSymbolLib, bViewOnly, nullptr, 0);
    sheet.SetUsedCodes(&m_arrOrgCodes, nOwnCode);
    // A sheet left with Cancel changes nothing, even after one of its pages was applied: its class may
    // hold half an edit (or, for a new class, the code 0 of no class at all).
    if (sheet.DoModal() != 1 || !sheet.GetModifiedFlag() || bViewOnly) return FALSE;
    *pEdited = sheet.GetEditedGClass();
    return TRUE;
}

void CLayerGCPage::OnNew() {
    if (m_bViewOnly) return;
    CGeoGClass edited;
    if (!RunClassSheet(nullptr, 0, 0, &edited)) return;
    POSITION pos = m_GClassList.AddTail(new CGeoGClass(edited));
    AddRow(edited, -1, pos);
    SortByColumn(0);
    SetModified();
}

void CLayerGCPage::OnProperties() {
    const int row = SelectedRow();
    if (row < 0) return;
    CGeoGClass* gc = ClassOfRow(row);
    if (!gc) return;
    const int c = FindInArray(gc->GetGCID(), &m_arrNewCodes);
    const UINT own = c != -1 ? m_arrOldCodes[c] : gc->GetGCID();
    CGeoGClass edited;
    if (!RunClassSheet(gc, own, m_bViewOnly, &edited)) return;
    const UINT n = edited.GetGCID(), before = gc->GetGCID();
    if (n != before) {
        if (c == -1) {
            if (FindInArray(before, &m_arrOrgCodes) != -1 && FindInArray(before, &m_arrOldCodes) == -1) {
                m_arrOldCodes.Add(before);
                m_arrNewCodes.Add(n);
            }
        } else if (n == m_arrOldCodes[c]) {
            m_arrOldCodes.RemoveAt(c);
            m_arrNewCodes.RemoveAt(c);
        } else {
            m_arrNewCodes[c] = n;
        }
    }
    *gc = edited;
    UpdateRow(row, *gc);
    SortByColumn(0);
    SetModified();
}

void CLayerGCPage::OnDblClkList(NMHDR* pNMHDR, LRESULT* pResult) {
    (void)pNMHDR;
    *pResult = 0;
    const UINT selected = m_ListCtrl.GetSelectedCount();
    if (selected == 1)
        OnProperties();
    else if (selected == 0 && !m_bViewOnly)
        OnNew();
}

void CLayerGCPage::OnDelete() {
    if (m_bViewOnly) return;
    const int row = SelectedRow();
    if (row < 0) {
        AfxMessageBox("请先选择要删除的地物!", MB_OK);
        return;
    }
    CUIntArray codes;
    codes.Add(ClassOfRow(row)->GetGCID());
    DeleteClasses(codes, 1);
    SetModified();
}

void CLayerGCPage::DeleteClasses(CUIntArray& codes, int bAsk) {
    for (INT_PTR k = 0; k < codes.GetSize(); ++k) {
        const UINT code = codes[k];
        const int c = FindInArray(code, &m_arrNewCodes);
        if (bAsk) {
            // The layer code whose objects and records the deletion concerns.
            UINT layerCode = 0;
            bool inLayer = false;
            if (FindInArray(code, &m_arrOrgCodes) != -1 && c == -1) {
                layerCode = code;
                inLayer = true;
            } else if (c != -1) {
                layerCode = m_arrOldCodes[c];
                inLayer = true;
            }
            CString question;
            if (inLayer && FindInArray(layerCode, &m_arrUsedCodes) != -1)
                question.Format("地物类[%u]已被使用,删除将丢失属性数据,确实要删除该地物吗?", code);
            else
                question.Format("确实要删除地物类[%u]吗?", code);
            if (AfxMessageBox(question, MB_OKCANCEL | MB_ICONQUESTION) != IDOK) return;
        }
        if (c != -1) {
            m_arrOldCodes.RemoveAt(c);
            m_arrNewCodes.RemoveAt(c);
        }
        for (int row = 0; row < m_ListCtrl.GetItemCount(); ++row) {
            CGeoGClass* gc = ClassOfRow(row);
            if (!gc || gc->GetGCID() != code) continue;
            m_GClassList.RemoveAt(reinterpret_cast<POSITION>(m_ListCtrl.GetItemData(row)));
            gc->Remove();
            m_ListCtrl.DeleteItem(row);
            break;
        }
    }
}

void CLayerGCPage::OnRClickList(NMHDR* pNMHDR, LRESULT* pResult) {
    (void)pNMHDR;
    *pResult = 0;
    if (m_bViewOnly) return;
    bool anyUnused = false;
    for (int row = 0; row < m_ListCtrl.GetItemCount() && !anyUnused; ++row)
        anyUnused = m_ListCtrl.GetItemText(row, 2) == kUnused;
    if (!anyUnused) return;
    CMenu menu;
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING, ID_LAYERGC_DELETE_UNUSED, "删除所有未使用的地物类");
    CPoint pt;
    GetCursorPos(&pt);
    menu.TrackPopupMenu(TPM_RIGHTBUTTON, pt.x, pt.y, this);
}

void CLayerGCPage::OnDeleteUnused() {
    if (m_bViewOnly) return;
    CUIntArray codes;
    for (int row = 0; row < m_ListCtrl.GetItemCount(); ++row)
        if (m_ListCtrl.GetItemText(row, 2) == kUnused)
            codes.Add(static_cast<UINT>(std::strtoul(m_ListCtrl.GetItemText(row, 1), nullptr, 10)));
    DeleteClasses(codes, 0);
    SetModified();
}

CGeoTheme* CLayerGCPage::FindTheme(CTypedPtrList<CObList, CGeoTheme*>& themes, CString strName) {
    for (POSITION p = themes.GetHeadPosition(); p;) {
        CGeoTheme* theme = themes.GetNext(p);
        if (theme && theme->GetName().Compare(strName) == 0) return theme;
    }
    return nullptr;
}

int CLayerGCPage::CheckConflict(CString strName, UINT nCode, int* pClash) {
    int clash = 0;
    for (POSITION p = m_GClassList.GetHeadPosition(); p && !clash;) {
        const CGeoGClass* gc = m_GClassList.GetNext(p);
        if (gc->GetGCID() == nCode)
            clash = 2;
        else if (gc->GetGCName().Compare(strName) == 0)
            clash = 1;
    }
    if (!clash && FindInArray(nCode, &m_arrOrgCodes) != -1) clash = 2;
    if (pClash) *pClash = clash;
    return clash;
}

void CLayerGCPage::OnImport() {
    if (m_bViewOnly) return;
    CFileDialog fileDlg(TRUE, "sch", nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, "Velmor方案文件(*.sch)|*.sch||");
    fileDlg.m_ofn.lpstrTitle = "打开方案";
    if (fileDlg.DoModal() != IDOK) return;
    CTypedPtrList<CObList, CGeoTheme*> themes;
    int read = 0;
    try {
        read = ReadSchemeFile(fileDlg.GetPathName(), themes);
    } catch (CException&) {
        read = 0;
    }
    if (!read) {
        ClearThemeList(&themes);
        AfxMessageBox("无法打开指定文件!", MB_OK);
        return;
    }
    CSelectGCDlg selectDlg(this);
    selectDlg.SetSchemeList(&themes);
    if (selectDlg.DoModal() != IDOK) {
        ClearThemeList(&themes);
        return;
    }
    CPtrList* entries = selectDlg.GetEntryList();
    for (POSITION p = entries->GetHeadPosition(); p;) {
        const auto* entry = static_cast<tagGCEntry*>(entries->GetNext(p));
        if (!entry || !entry->bChosen) continue;
        CGeoTheme* theme = FindTheme(themes, entry->strScheme);
        CGeoGClass gc;
        const int index = theme ? theme->FindGC(entry->nCode) : -1;
        if (index < 0 || !theme->GetGC(index, gc)) continue;
        CString name = entry->strName;
        UINT code = entry->nCode;
        bool asked = false, dropped = false;
        int clash = 0;
        while (CheckConflict(name, code, &clash)) {
            CGCInfoDlg infoDlg(this);
            infoDlg.SetData(name, code, entry->strScheme);
            infoDlg.SetFocusField(clash);
            asked = true;
            if (infoDlg.DoModal() != IDOK) {
                dropped = true;
                break;
            }
            name = infoDlg.m_strName;
            code = infoDlg.m_nCode;
        }
        if (dropped) continue;
        if (asked) {
            gc.SetGCID(code);
            gc.SetGCName(name);
        }
        ClearFlagInfoList(&gc.m_FlagInfoList);
        POSITION pos = m_GClassList.AddTail(new CGeoGClass(gc));
        AddRow(gc, -1, pos);
        SortByColumn(0);
    }
    ClearThemeList(&themes);
    SetModified();
}

BOOL CLayerGCPage::OnApply() {
    UpdateData(TRUE);
    tagLayerGCData data{&m_GClassList, &m_arrOldCodes, &m_arrNewCodes};
    CWnd* pSheet = GetSheet() ? static_cast<CWnd*>(GetSheet()) : GetParent();
    if (pSheet) pSheet->SendMessage(WM_LAYERGC_CHANGED, 0, reinterpret_cast<LPARAM>(&data));
    return CPropertyPage::OnApply();
}
