// The tree and list controls: search and navigation over a small tree (whole words, case, wrapping,
// two-byte characters), moves among siblings, and the drop messages of the scheme tree and the drag
// list for each kind of drag.
#include "ui/DragListCtrl.h"
#include "ui/SchemeTreeCtrl.h"

#include <afx/afxtest.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

afxtest::Session* Strict(afxtest::Session& s) {
    s.SetFailureHandler([](const std::string& m) { ADD_FAILURE() << m; });
    return &s;
}

// A visible window that keeps the drop messages its controls send.
class Host : public CWnd {
public:
    struct Message {
        UINT id;
        WPARAM w;
        LPARAM l;
    };
    std::vector<Message> seen;
    Host() { CreateEx(0, AfxRegisterWndClass(0), "host", WS_POPUP | WS_VISIBLE, CRect(0, 0, 500, 600), nullptr, 0); }
    ~Host() override { DestroyWindow(); }
    LRESULT WindowProc(UINT m, WPARAM w, LPARAM l) override {
        if (m >= 0x47A && m <= 0x47F) seen.push_back({m, w, l});
        return CWnd::WindowProc(m, w, l);
    }
};

// R / S1 / L1 / {C1 "river bank", C2 "a_river"}, L2 / {C3 "rivers river", C4 "\x81\x41"}; S2.
struct SchemeTree {
    Host host;
    CSchemeTreeCtrl tree;
    HTREEITEM R, S1, L1, C1, C2, L2, C3, C4, S2;
    SchemeTree() {
        tree.Create(WS_VISIBLE | WS_BORDER | TVS_HASLINES | TVS_HASBUTTONS, CRect(0, 0, 400, 560), &host, 1108);
        R = tree.InsertItem("R");
        S1 = tree.InsertItem("S1", R);
        L1 = tree.InsertItem("L1", S1);
        C1 = tree.InsertItem("river bank", L1);
        C2 = tree.InsertItem("a_river", L1);
        L2 = tree.InsertItem("L2", S1);
        C3 = tree.InsertItem("rivers river", L2);
        C4 = tree.InsertItem("\x81\x41", L2);  // one two-byte character whose second byte is "A"
        S2 = tree.InsertItem("S2", R);
        for (HTREEITEM h : {R, S1, L1, L2}) tree.Expand(h, TVE_EXPAND);
    }
};

}  // namespace

TEST(MyTreeCtrl, FindItemWholeWordsCaseAndWrapping) {
    SchemeTree t;
    const struct {
        const char* text;
        BOOL matchCase, down, whole;
        HTREEITEM SchemeTree::*start;
        HTREEITEM SchemeTree::*found;  // nullptr member: none
    } cases[] = {
        {"river", FALSE, TRUE, TRUE, &SchemeTree::R, &SchemeTree::C1},
        {"river", FALSE, TRUE, TRUE, &SchemeTree::C1, &SchemeTree::C3},  // "a_river" is no whole word
        {"river", FALSE, TRUE, FALSE, &SchemeTree::C1, &SchemeTree::C2},
        {"RIVER", TRUE, TRUE, FALSE, &SchemeTree::R, nullptr},
        {"RIVER", FALSE, FALSE, FALSE, &SchemeTree::C2, &SchemeTree::C1},
        {"s2", FALSE, FALSE, FALSE, &SchemeTree::R, &SchemeTree::S2},   // up from the first wraps to the last
        {"r", FALSE, TRUE, TRUE, &SchemeTree::S2, &SchemeTree::R},      // down from the last wraps to the top
        {"A", TRUE, TRUE, FALSE, &SchemeTree::C2, nullptr},             // never inside a two-byte character
        {"A", FALSE, TRUE, FALSE, &SchemeTree::C3, &SchemeTree::C1},    // ...nor after lower-casing it
        {"", FALSE, TRUE, FALSE, &SchemeTree::R, nullptr},
    };
    for (const auto& c : cases) {
        CString text(c.text);
        HTREEITEM got = t.tree.FindItem(text, c.matchCase, c.down, c.whole, t.*c.start);
        HTREEITEM want = c.found ? t.*c.found : nullptr;
        EXPECT_EQ(got, want) << c.text << " from " << std::string(t.tree.GetItemText(t.*c.start));
    }
}

TEST(MyTreeCtrl, NavigationAndMoves) {
    SchemeTree t;
    CMyTreeCtrl& tree = t.tree;
    EXPECT_EQ(tree.GetLastItem(nullptr), t.S2);
    EXPECT_EQ(tree.GetLastItem(t.S1), t.C4);
    EXPECT_EQ(tree.GetPrevItem(t.S2), t.C4);
    EXPECT_EQ(tree.GetNextItem(t.C4), t.S2);
    EXPECT_EQ(tree.GetNextItem(t.S2), nullptr);
    EXPECT_EQ(tree.GetFirstItem(t.S1), t.C1);
    EXPECT_EQ(tree.GetFirstSibling(t.C2), t.C1);
    EXPECT_EQ(tree.GetLastSibling(t.L1), t.L2);
    EXPECT_TRUE(tree.IsLeafItem(t.C1));
    EXPECT_FALSE(tree.IsLeafItem(t.L1));

    tree.SetItemData(t.C2, 42);
    HTREEITEM moved = tree.Move(t.C2, TMA_UP);  // the second child becomes the first
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(tree.GetChildItem(t.L1), moved);
    EXPECT_EQ(tree.GetItemData(moved), 42u);
    EXPECT_EQ(std::string(tree.GetItemText(moved)), "a_river");
    HTREEITEM last = tree.GetLastSibling(moved);
    EXPECT_EQ(tree.Move(last, TMA_DOWN), last) << "already last: unchanged";
    EXPECT_EQ(tree.Move(nullptr, TMA_FIRST), nullptr);
    HTREEITEM l1 = tree.Move(t.L1, TMA_LAST);  // with its children
    EXPECT_EQ(tree.GetLastSibling(t.L2), l1);
    EXPECT_EQ(std::string(tree.GetItemText(tree.GetChildItem(l1))), "a_river");
    EXPECT_EQ(tree.Move(t.S1, tree.GetChildItem(l1), TVI_LAST), nullptr) << "not into its own branch";
    EXPECT_EQ(tree.GetCount(), 9u);
}

TEST(SchemeTreeCtrl, DropMessagesByLevel) {
    const struct {
        HTREEITEM SchemeTree::*from;
        HTREEITEM SchemeTree::*to;  // nullptr member: empty space
        bool right;
        int sortMode;
        UINT msg;                         // 0: none
        HTREEITEM SchemeTree::*target;
    } cases[] = {
        {&SchemeTree::C1, &SchemeTree::L2, false, 2, 0x47B, &SchemeTree::L2},
        {&SchemeTree::L1, &SchemeTree::S2, false, 2, 0x47C, &SchemeTree::S2},
        {&SchemeTree::L1, &SchemeTree::L2, false, 2, 0x47D, &SchemeTree::L2},
        {&SchemeTree::C1, &SchemeTree::C2, false, 2, 0x47F, &SchemeTree::C2},
        {&SchemeTree::C1, &SchemeTree::C2, false, 1, 0, nullptr},           // sorted: no reorder
        {&SchemeTree::C1, &SchemeTree::C3, false, 0, 0x47B, &SchemeTree::L2},  // a copy into the other layer
        {&SchemeTree::L1, &SchemeTree::C3, false, 2, 0, nullptr},
        {&SchemeTree::C1, nullptr, true, 2, 0x47A, nullptr},                 // right drop on empty space
        {&SchemeTree::L2, &SchemeTree::S2, true, 2, 0x47A, &SchemeTree::S2},
        {&SchemeTree::S1, &SchemeTree::S2, false, 2, 0, nullptr},            // schemes do not drag
        {&SchemeTree::R, &SchemeTree::S2, true, 2, 0, nullptr},
    };
    for (const auto& c : cases) {
        afxtest::Session s;
        SchemeTree t;
        t.tree.SetSortMode(c.sortMode);
        afxtest::DragTree(&t.tree, t.*c.from, c.to ? t.*c.to : nullptr, c.right);
        const std::string what = std::string(t.tree.GetItemText(t.*c.from)) + " -> " +
                                 (c.to ? std::string(t.tree.GetItemText(t.*c.to)) : std::string("space"));
        if (!c.msg) {
            EXPECT_TRUE(t.host.seen.empty()) << what;
        } else {
            ASSERT_EQ(t.host.seen.size(), 1u) << what;
            EXPECT_EQ(t.host.seen[0].id, c.msg) << what;
            EXPECT_EQ(reinterpret_cast<HTREEITEM>(t.host.seen[0].w), c.target ? t.*c.target : nullptr) << what;
            EXPECT_EQ(reinterpret_cast<HTREEITEM>(t.host.seen[0].l), t.*c.from) << what;
        }
        EXPECT_FALSE(t.tree.m_bLDragging || t.tree.m_bRDragging) << what;
    }
}

TEST(SchemeTreeCtrl, TheOtherButtonEndsADragWithoutDropping) {
    SchemeTree t;
    t.tree.m_bLDragging = 1;  // a left drag under way
    t.tree.m_hDragItem = t.C1;
    t.tree.SetCapture();
    CRect r;
    t.tree.GetItemRect(t.L2, &r, TRUE);
    afxtest::Mouse(&t.tree, WM_RBUTTONUP, r.CenterPoint());
    EXPECT_EQ(t.tree.m_bLDragging, 0);
    afxtest::Mouse(&t.tree, WM_LBUTTONUP, r.CenterPoint());
    EXPECT_TRUE(t.host.seen.empty());
}

TEST(DragListCtrl, DropTargetsAndRefusedDrags) {
    afxtest::Session s;
    Strict(s);
    Host host;
    CDragListCtrl list;
    list.Create(WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, CRect(0, 0, 300, 200), &host, 1138);
    list.InsertColumn(0, "c", LVCFMT_LEFT, 100);
    for (int i = 0; i < 4; ++i) list.InsertItem(i, std::to_string(i).c_str());
    afxtest::ClickRow(&list, 0);
    afxtest::DragList(&list, 0, 2);
    afxtest::ClickRow(&list, 1);
    afxtest::DragList(&list, 1, -1);  // below the rows
    afxtest::ClickRow(&list, 3);
    afxtest::DragList(&list, 3, 3);  // onto itself: nothing
    afxtest::SelectRows(&list, {0, 2});
    afxtest::DragList(&list, 0, 3);  // two rows selected: no drag
    ASSERT_EQ(host.seen.size(), 2u);
    EXPECT_EQ(host.seen[0].w, 0u);
    EXPECT_EQ(host.seen[0].l, 2);
    EXPECT_EQ(host.seen[1].w, 1u);
    EXPECT_EQ(host.seen[1].l, -2);
    EXPECT_FALSE(list.IsDragging());
    list.DestroyWindow();
}
