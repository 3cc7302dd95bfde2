#include "ui/SelectGCDlg.h"

#include <vector>

#include "ui/resources/ClassDialogTemplates.h"

IMPLEMENT_DYNAMIC(CSelectGCDlg, CDialog)

BEGIN_MESSAGE_MAP(CSelectGCDlg, CDialog)
    ON_BN_CLICKED(IDC_SELGC_ADD, OnAdd)
    ON_BN_CLICKED(IDC_SELGC_ADD_ALL, OnAddAll)
    ON_BN_CLICKED(IDC_SELGC_REMOVE, OnRemove)
    ON_BN_CLICKED(IDC_SELGC_REMOVE_ALL, OnRemoveAll)
    ON_LBN_DBLCLK(IDC_SELGC_AVAILABLE, OnAdd)
    ON_LBN_DBLCLK(IDC_SELGC_CHOSEN, OnRemove)
    ON_LBN_SELCHANGE(IDC_SELGC_AVAILABLE, OnSelChangeAvailable)
    ON_LBN_SELCHANGE(IDC_SELGC_CHOSEN, OnSelChangeChosen)
END_MESSAGE_MAP()

namespace {

int IndexOfData(CListBox& list, void* pData) {
    for (int i = 0; i < list.GetCount(); ++i)
        if (list.GetItemDataPtr(i) == pData) return i;
    return -1;
}

int MoveItem(CListBox& from, int i, CListBox& to) {
    CString text;
    from.GetText(i, text);
    void* pData = from.GetItemDataPtr(i);
    from.DeleteString(static_cast<UINT>(i));
    const int at = to.AddString(text);
    to.SetItemDataPtr(at, pData);
    return at;
}

}  // namespace

CSelectGCDlg::CSelectGCDlg(CWnd* pParent) : CDialog(IDD, pParent) { RegisterClassDialogTemplates(); }

CSelectGCDlg::~CSelectGCDlg() {
    for (POSITION p = m_EntryList.GetHeadPosition(); p;) delete static_cast<tagGCEntry*>(m_EntryList.GetNext(p));
    m_EntryList.RemoveAll();
}

void CSelectGCDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SELGC_CHOSEN, m_lbChosen);
    DDX_Control(pDX, IDC_SELGC_ADD, m_btnAdd);
    DDX_Control(pDX, IDC_SELGC_ADD_ALL, m_btnAddAll);
    DDX_Control(pDX, IDC_SELGC_REMOVE, m_btnRemove);
    DDX_Control(pDX, IDC_SELGC_REMOVE_ALL, m_btnRemoveAll);
    DDX_Control(pDX, IDC_SELGC_AVAILABLE, m_lbAvailable);
}

BOOL CSelectGCDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (!m_pSchemeList || m_pSchemeList->IsEmpty()) {
        m_btnAdd.EnableWindow(FALSE);
        m_btnAddAll.EnableWindow(FALSE);
        return TRUE;
    }
    CGeoGClass gc;
    for (POSITION p = m_pSchemeList->GetHeadPosition(); p;) {
        CGeoTheme* pTheme = m_pSchemeList->GetNext(p);
        if (!pTheme) continue;
        for (int i = 0; i < pTheme->GetGCCount(); ++i) {
            if (!pTheme->GetGC(i, gc)) continue;
            auto* e = new tagGCEntry;
            e->strScheme = pTheme->GetName();
            e->strName = gc.GetGCName();
            e->nCode = gc.GetGCID();
            m_EntryList.AddTail(e);
            CString text;
            // Codes are unsigned: printed as such, a code above 2^31 does not show as negative.
            text.Format("%s : %s [%u]", static_cast<LPCSTR>(e->strScheme), static_cast<LPCSTR>(e->strName), e->nCode);
            const int at = m_lbAvailable.AddString(text);
            m_lbAvailable.SetItemDataPtr(at, e);
        }
    }
    if (m_lbAvailable.GetCount() > 0) m_lbAvailable.SetSel(0, TRUE);
    UpdateButtons();
    return TRUE;
}

void CSelectGCDlg::MoveSelected(CListBox& from, CListBox& to) {
    const int n = from.GetSelCount();
    if (n <= 0) return;
    std::vector<int> sel(static_cast<size_t>(n));
    from.GetSelItems(n, sel.data());
    void* pLast = nullptr;
    for (int k = n - 1; k >= 0; --k) {
        pLast = from.GetItemDataPtr(sel[static_cast<size_t>(k)]);
        MoveItem(from, sel[static_cast<size_t>(k)], to);
    }
    from.SetSel(-1, FALSE);
    if (from.GetCount() > 0) {
        int keep = sel.front() - 1;
        if (keep < 0) keep = 0;
        if (keep >= from.GetCount()) keep = from.GetCount() - 1;
        from.SetSel(keep, TRUE);
    }
    to.SetSel(-1, FALSE);
    const int last = IndexOfData(to, pLast);
    if (last >= 0) to.SetSel(last, TRUE);
}

void CSelectGCDlg::MoveAll(CListBox& from, CListBox& to) {
    for (int i = from.GetCount() - 1; i >= 0; --i) MoveItem(from, i, to);
    to.SetSel(-1, FALSE);
    if (to.GetCount() > 0) to.SetSel(0, TRUE);
}

void CSelectGCDlg::UpdateButtons() {
    m_btnAdd.EnableWindow(m_lbAvailable.GetCount() > 0);
    m_btnAddAll.EnableWindow(m_lbAvailable.GetCount() > 0);
    m_btnRemove.EnableWindow(m_lbChosen.GetCount() > 0);
    m_btnRemoveAll.EnableWindow(m_lbChosen.GetCount() > 0);
}

void CSelectGCDlg::OnAdd() {
    MoveSelected(m_lbAvailable, m_lbChosen);
    UpdateButtons();
}

void CSelectGCDlg::OnAddAll() {
    MoveAll(m_lbAvailable, m_lbChosen);
    UpdateButtons();
}

void CSelectGCDlg::OnRemove() {
    MoveSelected(m_lbChosen, m_lbAvailable);
    UpdateButtons();
}

void CSelectGCDlg::OnRemoveAll() {
    MoveAll(m_lbChosen, m_lbAvailable);
    UpdateButtons();
}

void CSelectGCDlg::OnSelChangeAvailable() { m_btnAdd.EnableWindow(m_lbAvailable.GetSelCount() > 0); }

void CSelectGCDlg::OnSelChangeChosen() { m_btnRemove.EnableWindow(m_lbChosen.GetSelCount() > 0); }

void CSelectGCDlg::OnOK() {
    for (POSITION p = m_EntryList.GetHeadPosition(); p;) static_cast<tagGCEntry*>(m_EntryList.GetNext(p))->bChosen = 0;
    for (int i = 0; i < m_lbChosen.GetCount(); ++i)
        if (auto* e = static_cast<tagGCEntry*>(m_lbChosen.GetItemDataPtr(i))) e->bChosen = 1;
    EndDialog(IDOK);
}
