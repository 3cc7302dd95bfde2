// The choosers a click on a picker opens: what a person picks there reaches the picker and its parent
// with the picker's notification, Cancel and refused fields change nothing, the keyboard works the grid,
// and a picker a person cannot reach opens nothing.
#include <caddox/ChooserActions.h>
#include <caddox/Choosers.h>
#include <caddox/DrawPoint.h>
#include <caddox/Pickers.h>

#include <afx/WindowPicture.h>
#include <afx/afxtest.h>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace {

const UINT kTemplate = 9302;

void RegisterTemplate() {
    AfxDlgTemplate t;
    t.id = kTemplate;
    t.caption = "pickers";
    t.cx = 200;
    t.cy = 100;
    t.items = {
        {1063, "Button", "", BS_PUSHBUTTON | WS_TABSTOP, 7, 7, 40, 14},
        {1043, "Button", "", BS_PUSHBUTTON | WS_TABSTOP, 7, 27, 40, 14},
        {1121, "Button", "", BS_PUSHBUTTON | WS_TABSTOP, 7, 47, 40, 14},
        {IDOK, "Button", "OK", BS_DEFPUSHBUTTON, 140, 80, 50, 14},
    };
    AfxRegisterDialogTemplate(t);
}

struct Heard {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Heard& o) const { return message == o.message && wParam == o.wParam && lParam == o.lParam; }
};

class CPickerDlg : public CDialog {
public:
    CPickerDlg() : CDialog(kTemplate) {}
    COLORREF m_crColour = 0x123456;
    float m_fWidth = 0.5f;
    int m_nMarker = 3;
    std::vector<Heard> heard;
    std::vector<UINT> clicked;  // BN_CLICKED reaching the map (none: the picker takes its own click)

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_ColourPicker(pDX, 1063, m_crColour);
        DDX_LineWidthPicker(pDX, 1043, m_fWidth);
        DDX_NonSymbPntPicker(pDX, 1121, m_nMarker);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == CPN_COLOURCHANGED || message == CPN_WIDTHCHANGED || message == CPN_MARKERCHANGED)
            heard.push_back({message, wParam, lParam});
        return CDialog::WindowProc(message, wParam, lParam);
    }
    void OnPickerClicked(UINT id) { clicked.push_back(id); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPickerDlg, CDialog)
    ON_CONTROL_RANGE(BN_CLICKED, 1043, 1121, OnPickerClicked)
END_MESSAGE_MAP()

// Runs the dialog with act inside it, then OK; the dialog afterwards.
struct PickerRun {
    CPickerDlg dlg;
    std::vector<std::string> failures;
    explicit PickerRun(const std::function<void(CDialog&)>& act, bool expectFailures = false) {
        RegisterTemplate();
        afxtest::Session s;
        s.SetFailureHandler([&](const std::string& m) {
            failures.push_back(m);
            if (!expectFailures) ADD_FAILURE() << m;
        });
        s.ExpectDialog(kTemplate, [&](CDialog& d) {
            act(d);
            afxtest::Ok(d);
        });
        EXPECT_EQ(dlg.DoModal(), IDOK);
        s.Verify();
    }
};

}  // namespace

TEST(CaddoxChoosers, APickTakesTheValueAndTellsTheParent) {
    struct Case {
        const char* what;
        std::function<bool(CDialog&)> pick;
        COLORREF colour;
        float width;
        int marker;
        std::vector<Heard> heard;
    };
    const std::vector<Case> cases = {
        {"palette colour", [](CDialog& d) { return afxtest::ChooseColour(d, 1063, 0x0000FF); }, 0x0000FF, 0.5f, 3,
         {{CPN_COLOURCHANGED, 0x0000FF, 1063}}},
        {"custom colour", [](CDialog& d) { return afxtest::ChooseColour(d, 1063, 0x123457); }, 0x123457, 0.5f, 3,
         {{CPN_COLOURCHANGED, 0x123457, 1063}}},
        // A colour taken tells the parent even when it is the one held.
        {"same colour", [](CDialog& d) { return afxtest::ChooseColour(d, 1063, 0x123456); }, 0x123456, 0.5f, 3,
         {{CPN_COLOURCHANGED, 0x123456, 1063}}},
        {"width of a row", [](CDialog& d) { return afxtest::ChooseWidth(d, 1043, 1.5f); }, 0x123456, 1.5f, 3,
         {{CPN_WIDTHCHANGED, 0, 1043}}},
        {"width typed", [](CDialog& d) { return afxtest::ChooseWidth(d, 1043, 0.35f); }, 0x123456, 0.35f, 3,
         {{CPN_WIDTHCHANGED, 0, 1043}}},
        {"same width", [](CDialog& d) { return afxtest::ChooseWidth(d, 1043, 0.5f); }, 0x123456, 0.5f, 3, {}},
        {"marker", [](CDialog& d) { return afxtest::ChooseMarker(d, 1121, 6); }, 0x123456, 0.5f, 6,
         {{CPN_MARKERCHANGED, 6, 1121}}},
        {"same marker", [](CDialog& d) { return afxtest::ChooseMarker(d, 1121, 3); }, 0x123456, 0.5f, 3, {}},
        {"cancelled", [](CDialog& d) { return afxtest::CancelChooser(d, 1063) && afxtest::CancelChooser(d, 1043) &&
                                              afxtest::CancelChooser(d, 1121); }, 0x123456, 0.5f, 3, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PickerRun r([&](CDialog& d) { EXPECT_TRUE(c.pick(d)); });
        EXPECT_EQ(r.dlg.m_crColour, c.colour);
        EXPECT_FLOAT_EQ(r.dlg.m_fWidth, c.width);
        EXPECT_EQ(r.dlg.m_nMarker, c.marker);
        EXPECT_EQ(r.dlg.heard, c.heard);
        EXPECT_TRUE(r.dlg.clicked.empty());
    }
}

TEST(CaddoxChoosers, TheChooserStartsAtTheValueHeld) {
    PickerRun r([](CDialog& d) {
        afxtest::Session* s = afxtest::Current();
        s->OpenDialog(CADDOX_IDD_COLOUR_CHOOSER, [](CDialog& c) {
            auto* grid = static_cast<CChooserGrid*>(CWnd::FromHandlePermanent(c.GetDlgItem(CADDOX_IDC_CHOOSER_GRID)->m_hWnd));
            EXPECT_EQ(grid->GetCurSel(), -1);  // 0x123456 is not in the palette
            EXPECT_EQ(afxtest::Text(c, CADDOX_IDC_CHOOSER_RED), "86");
            EXPECT_EQ(afxtest::Text(c, CADDOX_IDC_CHOOSER_GREEN), "52");
            EXPECT_EQ(afxtest::Text(c, CADDOX_IDC_CHOOSER_BLUE), "18");
            // Typing a palette colour selects its cell.
            afxtest::Type(c, CADDOX_IDC_CHOOSER_RED, "0");
            afxtest::Type(c, CADDOX_IDC_CHOOSER_GREEN, "0");
            afxtest::Type(c, CADDOX_IDC_CHOOSER_BLUE, "0");
            EXPECT_EQ(grid->GetCurSel(), CColourChooser::PaletteIndex(0x000000));
            afxtest::Cancel(c);
        }, [&] { return afxtest::Click(d, 1063); });
        s->OpenDialog(CADDOX_IDD_WIDTH_CHOOSER, [](CDialog& c) {
            auto* grid = static_cast<CChooserGrid*>(CWnd::FromHandlePermanent(c.GetDlgItem(CADDOX_IDC_CHOOSER_GRID)->m_hWnd));
            EXPECT_EQ(grid->GetCurSel(), CLineWidthChooser::WidthIndex(0.5f));
            EXPECT_EQ(afxtest::Text(c, CADDOX_IDC_CHOOSER_WIDTH), "0.5");
            afxtest::Cancel(c);
        }, [&] { return afxtest::Click(d, 1043); });
    });
    EXPECT_TRUE(r.dlg.heard.empty());
}

TEST(CaddoxChoosers, FieldsThatHoldNoValueKeepTheChooserOpen) {
    struct Case {
        UINT idd;
        int picker;
        int field;
        const char* typed;
    };
    for (const Case& c : {Case{CADDOX_IDD_COLOUR_CHOOSER, 1063, CADDOX_IDC_CHOOSER_GREEN, "256"},
                          Case{CADDOX_IDD_COLOUR_CHOOSER, 1063, CADDOX_IDC_CHOOSER_BLUE, ""},
                          Case{CADDOX_IDD_COLOUR_CHOOSER, 1063, CADDOX_IDC_CHOOSER_RED, "-1"},
                          Case{CADDOX_IDD_WIDTH_CHOOSER, 1043, CADDOX_IDC_CHOOSER_WIDTH, "-0.5"},
                          Case{CADDOX_IDD_WIDTH_CHOOSER, 1043, CADDOX_IDC_CHOOSER_WIDTH, "1mm"},
                          Case{CADDOX_IDD_WIDTH_CHOOSER, 1043, CADDOX_IDC_CHOOSER_WIDTH, "nan"}}) {
        SCOPED_TRACE(c.typed);
        PickerRun r([&](CDialog& d) {
            afxtest::Session* s = afxtest::Current();
            s->ExpectMessageBox("", IDOK);
            s->OpenDialog(c.idd, [&](CDialog& chooser) {
                afxtest::Type(chooser, c.field, c.typed);
                afxtest::Ok(chooser);
                EXPECT_FALSE(chooser.IsEnded());
                afxtest::Cancel(chooser);
            }, [&] { return afxtest::Click(d, c.picker); });
        });
        EXPECT_TRUE(r.dlg.heard.empty());
        EXPECT_EQ(r.dlg.m_crColour, 0x123456u);
        EXPECT_FLOAT_EQ(r.dlg.m_fWidth, 0.5f);
    }
}

TEST(CaddoxChoosers, TheKeyboardMovesInTheGridAndEnterTakes) {
    PickerRun r([](CDialog& d) {
        afxtest::SetFocus(d, 1121);
        afxtest::Current()->OpenDialog(CADDOX_IDD_MARKER_CHOOSER, [](CDialog& c) {
            EXPECT_EQ(afxtest::FocusId(), CADDOX_IDC_CHOOSER_GRID);
            afxtest::Key(VK_RIGHT);  // 3 -> 4
            afxtest::Key(VK_DOWN);   // past the last row: stays
            afxtest::Key(VK_UP);     // 4 -> 0
            afxtest::Key(VK_RIGHT);  // 0 -> 1
            afxtest::Key(VK_RETURN);
            EXPECT_TRUE(c.IsEnded());
        }, [] { return afxtest::Key(VK_SPACE); });  // Space on the focused picker clicks it
    });
    EXPECT_EQ(r.dlg.m_nMarker, 1);
    EXPECT_EQ(r.dlg.heard, (std::vector<Heard>{{CPN_MARKERCHANGED, 1, 1121}}));
}

TEST(CaddoxChoosers, ADoubleClickOnACellTakesIt) {
    PickerRun r([](CDialog& d) {
        afxtest::Current()->OpenDialog(CADDOX_IDD_WIDTH_CHOOSER, [](CDialog& c) {
            CWnd* grid = c.GetDlgItem(CADDOX_IDC_CHOOSER_GRID);
            const CRect cell = static_cast<CChooserGrid*>(CWnd::FromHandlePermanent(grid->m_hWnd))->GetCellRect(7);
            afxtest::Mouse(grid, WM_LBUTTONDOWN, cell.CenterPoint(), MK_LBUTTON);
            afxtest::Mouse(grid, WM_LBUTTONUP, cell.CenterPoint(), 0);
            afxtest::Mouse(grid, WM_LBUTTONDBLCLK, cell.CenterPoint(), MK_LBUTTON);
            EXPECT_TRUE(c.IsEnded());
        }, [&] { return afxtest::Click(d, 1043); });
    });
    EXPECT_FLOAT_EQ(r.dlg.m_fWidth, CLineWidthChooser::Widths()[7]);
    EXPECT_EQ(r.dlg.heard.size(), 1u);
}

TEST(CaddoxChoosers, APickerAPersonCannotReachOpensNothing) {
    PickerRun r([](CDialog& d) {
        d.GetDlgItem(1063)->EnableWindow(FALSE);
        d.GetDlgItem(1043)->ShowWindow(SW_HIDE);
        EXPECT_FALSE(afxtest::ChooseColour(d, 1063, 0x0000FF));
        EXPECT_FALSE(afxtest::ChooseWidth(d, 1043, 2.0f));
        EXPECT_FALSE(afxtest::ChooseMarker(d, 1121, CADDOX_MARKER_COUNT));
        EXPECT_EQ(afxtest::Current()->PendingExpectations(), 0u);
    }, true);
    EXPECT_EQ(r.failures.size(), 3u);
    EXPECT_TRUE(r.dlg.heard.empty());
    EXPECT_EQ(r.dlg.m_crColour, 0x123456u);
}

TEST(CaddoxChoosers, APictureOfTheWindowShowsThePickersFaces) {
    // The picture runs the pickers' own painting: the colour picker's face is filled with its colour
    // (nothing else on the dialog has it), where a plain button would show an empty face.
    PickerRun r([](CDialog& d) {
        HDC dc = AfxDrawWindowPicture(d.m_hWnd);
        ASSERT_NE(dc, nullptr);
        CRect rc;
        d.GetWindowRect(&rc);
        int found = 0;
        for (int y = 0; y < rc.Height() + 40; ++y)
            for (int x = 0; x < rc.Width(); ++x) found += GetPixel(dc, x, y) == 0x123456u;
        CRect face;
        d.GetDlgItem(1063)->GetClientRect(&face);
        EXPECT_GT(found, face.Width() * face.Height() / 3);
        DeleteDC(dc);
    });
}
