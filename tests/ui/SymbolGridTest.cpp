// The symbol grid: its layout for the worked cases, press and release inside and outside a cell, and
// the selection dialog around it (typing a number, Enter, OK).
#include "ui/SymbolGridWnd.h"

#include <afx/afxtest.h>
#include <quenby/SymbolLibIO.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

void AddSymbols(CSymbolLibIO& lib) {
    for (LONG n : {4, 9, 15, 22, 31, 40, 57}) {  // seven point symbols
        auto* p = new CGeoPointSymbol;
        p->SetSymbolNumber(n);
        CString name;
        name.Format("点%d", static_cast<int>(n));
        p->SetSymbolName(name);
        lib.AddSymbol(p);
    }
    for (LONG n : {100, 101, 102}) {
        auto* l = new CGeoGroupLineSymbol;
        l->SetSymbolNumber(n);
        lib.AddSymbol(l);
    }
}

// A host window for a grid whose client area is exactly cx x cy.
class GridHost : public ::testing::Test {
protected:
    void SetUp() override {
        AddSymbols(m_lib);
        m_host.CreateEx(0, AfxRegisterWndClass(0), "host", WS_POPUP | WS_VISIBLE, CRect(0, 0, 600, 600), nullptr, 0);
    }
    void MakeGrid(CSymbolGridWnd& grid, int cx, int cy) {
        ASSERT_TRUE(grid.Create(WS_VISIBLE, CRect(0, 0, cx, cy), &m_host, &m_lib, 1262));
        CRect client;
        grid.GetClientRect(&client);
        grid.MoveWindow(0, 0, 2 * cx - client.Width(), 2 * cy - client.Height());
        grid.GetClientRect(&client);
        ASSERT_EQ(client.Width(), cx);
        grid.Layout();
    }
    CSymbolLibIO m_lib;
    CWnd m_host;
};

}  // namespace

TEST_F(GridHost, LayoutOfTheWorkedCases) {
    CSymbolGridWnd points(0, &m_lib, 0);
    MakeGrid(points, 250, 200);
    EXPECT_EQ(points.GetCellCount(), 8);  // seven symbols and one empty cell
    EXPECT_EQ(points.GetColumnCount(), 6);
    EXPECT_EQ(points.GetCellWidth(), 41);
    EXPECT_EQ(points.GetRowCount(), 2);

    CSymbolGridWnd wide(1, &m_lib, 0), narrow(1, &m_lib, 0);
    MakeGrid(wide, 400, 200);
    MakeGrid(narrow, 399, 200);
    EXPECT_EQ(wide.GetColumnCount(), 2);
    EXPECT_EQ(wide.GetCellWidth(), 195);
    EXPECT_EQ(narrow.GetColumnCount(), 1);
    EXPECT_EQ(narrow.GetCellHeight(), 40);

    EXPECT_EQ(points.Locate(5), 1);  // 57 is the first number beginning with 5
    EXPECT_EQ(points.GetSelectedSymbol(), 57);
    EXPECT_EQ(points.Locate(8), 0);
}

TEST_F(GridHost, CellLinesAreSingleAndEvenlySpaced) {
    // With a scroll bar that the few rows do not need, the bar goes while the grid paints and the grid
    // is laid out again over the wider area; without one, the layout stays.
    for (DWORD style : {0u, static_cast<DWORD>(WS_VSCROLL)}) {
        SCOPED_TRACE(style);
        CSymbolGridWnd points(0, &m_lib, 0);
        ASSERT_TRUE(points.Create(WS_VISIBLE | style, CRect(0, 0, 250, 200), &m_host, &m_lib, 1262));
        points.Invalidate();
        points.UpdateWindow();
        CDC* dc = points.GetDC();
        const int cell = points.GetCellWidth(), cols = points.GetColumnCount();
        const int left = points.GetCellRect(0).left + 1;
        CRect client;
        points.GetClientRect(&client);
        for (int row = 0; row < 2; ++row) {  // a full row, then the last cells
            const int cells = row == 0 ? cols : points.GetCellCount() - cols;
            std::vector<int> lines, want;
            const int y = left + row * cell + cell / 2;
            for (int x = 0; x < client.Width(); ++x)
                if (dc->GetPixel(x, y) == RGB(255, 0, 0)) lines.push_back(x);
            for (int k = 0; k <= cells; ++k) want.push_back(left + k * cell);
            EXPECT_EQ(lines, want) << "row " << row;
        }
        points.ReleaseDC(dc);
        points.DestroyWindow();
    }
}

TEST(SymbolSelectDlg, PressAndReleaseTypingAndEnter) {
    CSymbolLibIO lib;
    AddSymbols(lib);
    lib.SetFileDescribe("测试库");
    afxtest::Session s;
    s.SetFailureHandler([](const std::string& m) { ADD_FAILURE() << m; });
    CSymbolSelectDlg dlg(&lib, 0, 9, nullptr);
    s.ExpectDialog(2018, [&](CDialog& d) {
        EXPECT_EQ(afxtest::Text(&d), "符号选择(点符号)");
        EXPECT_EQ(afxtest::Text(d, 1024), "测试库");
        EXPECT_EQ(afxtest::Text(d, 1026), "点9");
        EXPECT_EQ(afxtest::Text(d, 1013), "9");
        EXPECT_EQ(afxtest::FocusId(), 1013);
        CSymbolGridWnd& grid = dlg.m_wndGrid;
        EXPECT_EQ(grid.GetSelectedSymbol(), 9);

        // Pressed on the cell of 15, released over the cell of 22: nothing chosen.
        const CPoint on15 = grid.GetCellRect(2).CenterPoint(), on22 = grid.GetCellRect(3).CenterPoint();
        s.FeedLoop([&] { grid.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(on22.x, on22.y)); });
        afxtest::Mouse(&grid, WM_LBUTTONDOWN, on15, MK_LBUTTON);
        EXPECT_EQ(afxtest::Text(d, 1025), "9");
        // Released inside the pressed cell: chosen.
        s.FeedLoop([&] { grid.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(on15.x, on15.y)); });
        afxtest::Mouse(&grid, WM_LBUTTONDOWN, on15, MK_LBUTTON);
        EXPECT_EQ(afxtest::Text(d, 1025), "15");
        EXPECT_EQ(afxtest::Text(d, 1026), "点15");

        afxtest::Type(d, 1013, "4");  // finds 4 (and 40 comes later)
        EXPECT_EQ(grid.GetSelectedSymbol(), 4);
        afxtest::SetFocus(d, 1013);
        afxtest::Key(VK_RETURN);  // taken by the dialog: the found symbol becomes the choice
        EXPECT_FALSE(d.IsEnded());
        EXPECT_EQ(afxtest::Text(d, 1025), "4");
        afxtest::Ok(d);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_nSymbol, 4);
    EXPECT_TRUE(s.Verify());
}
