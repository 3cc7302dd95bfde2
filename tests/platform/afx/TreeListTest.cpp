// Trees and lists driven as a person would: selection with veto, deletion that moves the selection,
// label editing, right clicks at the cursor, and drags that take the mouse capture.
#include <afx/afx.h>
#include <afx/afxtest.h>
#include <gtest/gtest.h>

namespace {

enum { IDD_TREES = 9101, IDC_TREE = 200, IDC_ROWS = 201 };

const int kRegistered = [] {
    AfxRegisterDialogTemplate({IDD_TREES, "树", 200, 150, DS_MODALFRAME | WS_POPUP | WS_CAPTION,
                               {{IDC_TREE, "SysTreeView32", "",
                                 TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_EDITLABELS | TVS_SHOWSELALWAYS | WS_BORDER,
                                 5, 5, 90, 120},
                                {IDC_ROWS, "SysListView32", "", LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER, 100, 5, 90, 120},
                                {IDOK, "Button", "确定", BS_DEFPUSHBUTTON, 100, 130, 40, 14},
                                {IDCANCEL, "Button", "取消", BS_PUSHBUTTON, 150, 130, 40, 14}}});
    return 0;
}();

class TreesDlg : public CDialog {
public:
    TreesDlg() : CDialog(IDD_TREES) {}
    CTreeCtrl m_tree;
    CListCtrl m_rows;
    HTREEITEM a = nullptr, a1 = nullptr, a2 = nullptr, b = nullptr, c = nullptr;
    HTREEITEM vetoed = nullptr;
    bool vetoEdit = false;
    BOOL acceptEdit = TRUE;
    std::vector<std::string> events;
    CImageList* dragImage = nullptr;
    HTREEITEM dragging = nullptr;
    int draggingRow = -1;

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, IDC_TREE, m_tree);
        DDX_Control(pDX, IDC_ROWS, m_rows);
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        a = m_tree.InsertItem("甲", 0, 1);
        a1 = m_tree.InsertItem("甲一", 2, 3, a);
        a2 = m_tree.InsertItem("甲二", 2, 3, a);
        b = m_tree.InsertItem("乙", 0, 1);
        c = m_tree.InsertItem("丙", 0, 1);
        m_tree.SetItemData(a1, 11);
        m_tree.Expand(a, TVE_EXPAND);
        m_rows.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
        m_rows.InsertColumn(0, "名称", LVCFMT_CENTER, 60);
        m_rows.InsertColumn(1, "类型", LVCFMT_CENTER, 60);
        const char* names[] = {"河流", "道路", "湖泊"};
        for (int i = 0; i < 3; ++i) {
            m_rows.InsertItem(i, names[i]);
            m_rows.SetItemText(i, 1, i == 1 ? "线" : "面");
            m_rows.SetItemData(i, static_cast<DWORD_PTR>(100 + i));
        }
        return TRUE;
    }
    std::string Name(HTREEITEM h) { return h ? m_tree.GetItemText(h).str() : std::string("(none)"); }
    void OnSelChanging(NMHDR* p, LRESULT* r) {
        auto* nm = reinterpret_cast<NMTREEVIEW*>(p);
        *r = nm->itemNew.hItem == vetoed && vetoed ? 1 : 0;
        events.push_back("changing " + Name(nm->itemNew.hItem) + (*r ? " vetoed" : ""));
    }
    void OnSelChanged(NMHDR* p, LRESULT*) { events.push_back("changed " + Name(reinterpret_cast<NMTREEVIEW*>(p)->itemNew.hItem)); }
    void OnBeginEdit(NMHDR*, LRESULT* r) { *r = vetoEdit; }
    void OnEndEdit(NMHDR* p, LRESULT* r) {
        auto* nm = reinterpret_cast<NMTVDISPINFO*>(p);
        events.push_back(std::string("end ") + (nm->item.pszText ? nm->item.pszText : "(null)"));
        *r = acceptEdit;
    }
    void OnTreeRClick(NMHDR*, LRESULT* r) {
        CPoint pt;
        GetCursorPos(&pt);
        m_tree.ScreenToClient(&pt);
        events.push_back("rclick " + Name(m_tree.HitTest(pt)));
        *r = 1;
    }
    void OnBeginDrag(NMHDR* p, LRESULT*) {
        dragging = reinterpret_cast<NMTREEVIEW*>(p)->itemNew.hItem;
        dragImage = m_tree.CreateDragImage(dragging);
        CImageList::BeginDrag(dragImage, 0, CPoint(0, 0));
        CImageList::DragEnter(this, reinterpret_cast<NMTREEVIEW*>(p)->ptDrag);
        SetCapture();
        events.push_back("drag " + Name(dragging));
    }
    void OnRowsBeginDrag(NMHDR* p, LRESULT*) {
        draggingRow = reinterpret_cast<NMLISTVIEW*>(p)->iItem;
        SetCapture();
    }
    void OnRowChanged(NMHDR* p, LRESULT*) {
        auto* nm = reinterpret_cast<NMLISTVIEW*>(p);
        if ((nm->uNewState ^ nm->uOldState) & LVIS_SELECTED)
            events.push_back("row " + std::to_string(nm->iItem) + ((nm->uNewState & LVIS_SELECTED) ? " on" : " off"));
    }
    void OnMouseMove(UINT, CPoint pt) {
        if (!dragging) return;
        CImageList::DragMove(pt);
        ClientToScreen(&pt);
        m_tree.ScreenToClient(&pt);
        m_tree.SelectDropTarget(m_tree.HitTest(pt));
    }
    void OnLButtonUp(UINT, CPoint pt) {
        if (draggingRow >= 0) {
            ReleaseCapture();
            ClientToScreen(&pt);
            m_rows.ScreenToClient(&pt);
            events.push_back("row drop " + std::to_string(draggingRow) + " on " + std::to_string(m_rows.HitTest(pt)));
            draggingRow = -1;
            return;
        }
        if (!dragging) return;
        ReleaseCapture();
        CImageList::DragLeave(this);
        CImageList::EndDrag();
        delete dragImage;
        dragImage = nullptr;
        events.push_back("drop " + Name(dragging) + " on " + Name(m_tree.GetDropHilightItem()));
        m_tree.SelectDropTarget(nullptr);
        dragging = nullptr;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TreesDlg, CDialog)
    ON_NOTIFY(TVN_SELCHANGING, IDC_TREE, OnSelChanging)
    ON_NOTIFY(TVN_SELCHANGED, IDC_TREE, OnSelChanged)
    ON_NOTIFY(TVN_BEGINLABELEDIT, IDC_TREE, OnBeginEdit)
    ON_NOTIFY(TVN_ENDLABELEDIT, IDC_TREE, OnEndEdit)
    ON_NOTIFY(NM_RCLICK, IDC_TREE, OnTreeRClick)
    ON_NOTIFY(TVN_BEGINDRAG, IDC_TREE, OnBeginDrag)
    ON_NOTIFY(LVN_BEGINDRAG, IDC_ROWS, OnRowsBeginDrag)
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_ROWS, OnRowChanged)
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

class TreeListTest : public ::testing::Test {
protected:
    void SetUp() override {
        (void)kRegistered;
        win32::ResetWindowManager();
        s.SetFailureHandler([](const std::string& m) { ADD_FAILURE() << m; });
    }
    void TearDown() override {
        s.Verify();
        win32::ResetWindowManager();
    }
    // Runs the dialog with one scripted session body.
    void Run(std::function<void(TreesDlg&)> body) {
        s.ExpectDialog(IDD_TREES, [&](CDialog&) {
            body(dlg);
            afxtest::Cancel(dlg);
        });
        dlg.DoModal();
    }
    afxtest::Session s;
    TreesDlg dlg;
};

}  // namespace

TEST_F(TreeListTest, SelectionByCodeAndClickCanBeVetoed) {
    Run([](TreesDlg& d) {
        EXPECT_TRUE(d.m_tree.SelectItem(d.a1));
        d.vetoed = d.b;
        EXPECT_FALSE(d.m_tree.SelectItem(d.b));
        afxtest::ClickItem(&d.m_tree, d.b);
        EXPECT_EQ(d.m_tree.GetSelectedItem(), d.a1);
        d.vetoed = nullptr;
        afxtest::ClickItem(&d.m_tree, d.c);
        EXPECT_EQ(afxtest::DumpTree(&d.m_tree), "甲 | 0 | 0,1 +\n  甲一 | 11 | 2,3\n  甲二 | 0 | 2,3\n乙 | 0 | 0,1\n*丙 | 0 | 0,1\n");
    });
    std::vector<std::string> want = {"changing 甲一", "changed 甲一", "changing 乙 vetoed", "changing 乙 vetoed",
                                     "changing 丙", "changed 丙"};
    EXPECT_EQ(dlg.events, want);
}

TEST_F(TreeListTest, DeletingTheSelectionMovesItToANeighbourAndNotifies) {
    Run([](TreesDlg& d) {
        d.m_tree.SelectItem(d.a2);
        d.events.clear();
        d.m_tree.DeleteItem(d.a2);  // last child: the previous sibling
        EXPECT_EQ(d.m_tree.GetSelectedItem(), d.a1);
        d.m_tree.DeleteItem(d.a);  // an ancestor of the selection: the next sibling
        EXPECT_EQ(d.m_tree.GetSelectedItem(), d.b);
        EXPECT_EQ(d.m_tree.GetCount(), 2u);
        EXPECT_FALSE(d.m_tree.DeleteItem(d.a1));  // gone with its parent
        d.m_tree.DeleteAllItems();
        EXPECT_EQ(d.m_tree.GetSelectedItem(), nullptr);
    });
    std::vector<std::string> want = {"changed 甲一", "changed 乙", "changed (none)"};
    EXPECT_EQ(dlg.events, want);
}

TEST_F(TreeListTest, LabelEditEndsWithTextOnEnterEvenUnchangedAndNullOnEscape) {
    Run([](TreesDlg& d) {
        EXPECT_TRUE(afxtest::EditTreeLabel(&d.m_tree, d.b, "乙层"));
        EXPECT_EQ(d.m_tree.GetItemText(d.b), "乙层");
        CEdit* e = d.m_tree.EditLabel(d.b);  // unchanged, Enter
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(afxtest::FocusId(), 0);  // the editor has the focus
        afxtest::Key(VK_RETURN);
        EXPECT_FALSE(d.IsEnded());  // Enter went to the editor, not the dialog's default button
        EXPECT_TRUE(afxtest::EditTreeLabel(&d.m_tree, d.b, "不要", true));
        d.acceptEdit = FALSE;
        afxtest::EditTreeLabel(&d.m_tree, d.c, "拒绝");
        EXPECT_EQ(d.m_tree.GetItemText(d.c), "丙");
        d.vetoEdit = true;
        EXPECT_EQ(d.m_tree.EditLabel(d.c), nullptr);
        EXPECT_EQ(d.m_tree.GetEditControl(), nullptr);
    });
    std::vector<std::string> want = {"end 乙层", "end 乙层", "end (null)", "end 拒绝"};
    EXPECT_EQ(dlg.events, want);
}

TEST_F(TreeListTest, RightClickReportsTheItemUnderTheCursorWithoutSelecting) {
    Run([](TreesDlg& d) {
        afxtest::RightClick(&d.m_tree, d.a2);
        afxtest::RightClick(&d.m_tree, nullptr);
        EXPECT_EQ(d.m_tree.GetSelectedItem(), nullptr);
        CRect rc;
        d.m_tree.GetItemRect(d.a2, &rc, TRUE);
        d.m_tree.ClientToScreen(&rc);
        CWnd* under = CWnd::WindowFromPoint(rc.CenterPoint());
        ASSERT_NE(under, nullptr);
        EXPECT_EQ(under->GetClassName(), "SysTreeView32");
    });
    std::vector<std::string> want = {"rclick 甲二", "rclick (none)"};
    EXPECT_EQ(dlg.events, want);
}

TEST_F(TreeListTest, TreeDragTakesTheCaptureAndDropsOnTheHighlightedItem) {
    Run([](TreesDlg& d) {
        EXPECT_TRUE(afxtest::DragTree(&d.m_tree, d.a1, d.c));
        EXPECT_EQ(GetCapture(), nullptr);
        EXPECT_FALSE(ImageList_GetDragState().dragging);
        afxtest::DragTree(&d.m_tree, d.b, nullptr);  // released on empty space
    });
    std::vector<std::string> want = {"drag 甲一", "drop 甲一 on 丙", "drag 乙", "drop 乙 on (none)"};
    EXPECT_EQ(dlg.events, want);
}

TEST_F(TreeListTest, ListSelectionNotifiesAndListDragsDropOnRows) {
    Run([](TreesDlg& d) {
        afxtest::ClickRow(&d.m_rows, 1);
        afxtest::SelectRows(&d.m_rows, {0, 2});
        EXPECT_EQ(d.m_rows.GetSelectedCount(), 2u);
        POSITION pos = d.m_rows.GetFirstSelectedItemPosition();
        EXPECT_EQ(d.m_rows.GetNextSelectedItem(pos), 0);
        EXPECT_EQ(d.m_rows.GetNextSelectedItem(pos), 2);
        EXPECT_EQ(pos, nullptr);
        LVFINDINFO fi{LVFI_PARAM, nullptr, 101, {0, 0}, 0};
        EXPECT_EQ(d.m_rows.FindItem(&fi), 1);
        EXPECT_EQ(afxtest::DumpList(&d.m_rows), "*河流 | 面 | 100 | 0\n道路 | 线 | 101 | 0\n*湖泊 | 面 | 102 | 0\n");
        EXPECT_EQ(d.events, (std::vector<std::string>{"row 1 on", "row 1 off", "row 0 on", "row 2 on"}));
        d.events.clear();
        afxtest::DragList(&d.m_rows, 0, 2);
        afxtest::DragList(&d.m_rows, 1, -1);
        d.m_rows.SortItems([](LPARAM x, LPARAM y, LPARAM) { return static_cast<int>(y - x); }, 0);
        EXPECT_EQ(d.m_rows.GetItemText(0, 0), "湖泊");
    });
    // Row 0 was selected (with row 2): its drag keeps both. Row 1 was not: the press selects it first,
    // alone, as a press on a desktop list does, before the drag begins.
    EXPECT_EQ(dlg.events, (std::vector<std::string>{"row drop 0 on 2", "row 0 off", "row 2 off", "row 1 on",
                                                     "row drop 1 on -1"}));
}

TEST_F(TreeListTest, ItemsScrolledOutOfViewAreRefusedUntilScrolledTo) {
    std::vector<std::string> refused;
    s.SetFailureHandler([&](const std::string& m) { refused.push_back(m); });
    Run([&](TreesDlg& d) {
        for (int i = 3; i < 30; ++i) d.m_rows.InsertItem(i, "行");
        for (int i = 0; i < 30; ++i) d.m_tree.InsertItem("项");
        d.events.clear();
        // Far below the visible rows: a person cannot click them, and nothing is selected.
        EXPECT_FALSE(afxtest::ClickRow(&d.m_rows, 25));
        EXPECT_FALSE(afxtest::DoubleClickRow(&d.m_rows, 25));
        EXPECT_FALSE(afxtest::DragList(&d.m_rows, 25, 0));
        HTREEITEM last = d.m_tree.GetRootItem();
        while (d.m_tree.GetNextSiblingItem(last)) last = d.m_tree.GetNextSiblingItem(last);
        EXPECT_FALSE(afxtest::ClickItem(&d.m_tree, last));
        EXPECT_EQ(refused.size(), 4u);
        EXPECT_TRUE(d.events.empty());
        EXPECT_EQ(d.m_rows.GetSelectedCount(), 0u);
        // Scrolled to, they are clicked as any other.
        d.m_rows.EnsureVisible(25, FALSE);
        d.m_tree.EnsureVisible(last);
        EXPECT_TRUE(afxtest::ClickRow(&d.m_rows, 25));
        EXPECT_TRUE(afxtest::ClickItem(&d.m_tree, last));
        EXPECT_EQ(d.m_rows.GetNextItem(-1, LVNI_SELECTED), 25);
        EXPECT_EQ(d.m_tree.GetSelectedItem(), last);
        // The first rows are now above the view.
        EXPECT_FALSE(afxtest::ClickRow(&d.m_rows, 0));
        EXPECT_EQ(refused.size(), 5u);
    });
}
