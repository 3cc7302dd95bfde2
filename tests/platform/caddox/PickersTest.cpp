// The pickers on a small test dialog: data exchange both ways, a pick notifying the parent with the
// control id, values set by code notifying nobody, and the owner-drawn lists drawing in their colour.
#include <caddox/Pickers.h>

#include <afx/afxtest.h>
#include <win32/gdirecord.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const UINT kTemplate = 9301;

void RegisterTemplate() {
    AfxDlgTemplate t;
    t.id = kTemplate;
    t.caption = "pickers";
    t.cx = 200;
    t.cy = 100;
    t.items = {
        {1063, "Button", "", BS_PUSHBUTTON, 7, 7, 40, 14},
        {1043, "Button", "", BS_PUSHBUTTON, 7, 27, 40, 14},
        {1121, "Button", "", BS_PUSHBUTTON, 7, 47, 40, 14},
        {IDOK, "Button", "OK", BS_DEFPUSHBUTTON, 140, 80, 50, 14},
    };
    AfxRegisterDialogTemplate(t);
}

struct Heard {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class CPickerDlg : public CDialog {
public:
    CPickerDlg() : CDialog(kTemplate) {}
    COLORREF m_crColour = 0x123456;
    float m_fWidth = 0.5f;
    int m_nMarker = 3;
    CColourPicker m_colour;  // subclassed by the dialog; the other two by their DDX functions
    std::vector<Heard> heard;

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, 1063, m_colour);
        DDX_ColourPicker(pDX, 1063, m_crColour);
        DDX_LineWidthPicker(pDX, 1043, m_fWidth);
        DDX_NonSymbPntPicker(pDX, 1121, m_nMarker);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == CPN_COLOURCHANGED || message == CPN_WIDTHCHANGED || message == CPN_MARKERCHANGED)
            heard.push_back({message, wParam, lParam});
        return CDialog::WindowProc(message, wParam, lParam);
    }
};

}  // namespace

TEST(CaddoxPickers, ExchangeNotifyAndCodeSetsStayQuiet) {
    RegisterTemplate();
    afxtest::Session s;
    s.SetFailureHandler([](const std::string& m) { ADD_FAILURE() << m; });
    CPickerDlg dlg;
    s.ExpectDialog(kTemplate, [&](CDialog& d) {
        auto* colour = static_cast<CColourPicker*>(CWnd::FromHandlePermanent(d.GetDlgItem(1063)->m_hWnd));
        auto* width = dynamic_cast<CLineWidthPicker*>(CWnd::FromHandlePermanent(d.GetDlgItem(1043)->m_hWnd));
        auto* marker = dynamic_cast<CNonSymbPntPicker*>(CWnd::FromHandlePermanent(d.GetDlgItem(1121)->m_hWnd));
        ASSERT_EQ(colour, &dlg.m_colour);
        ASSERT_NE(width, nullptr);
        ASSERT_NE(marker, nullptr);
        EXPECT_EQ(colour->GetColour(), 0x123456u);  // loaded, without a word to the parent
        EXPECT_FLOAT_EQ(width->GetWidth(), 0.5f);
        EXPECT_EQ(marker->GetMarker(), 3);
        EXPECT_TRUE(dlg.heard.empty());

        colour->PickColour(0x0000FF);
        width->PickWidth(1.25f);
        marker->PickMarker(6);
        marker->SetMarker(7);  // by code: quiet
        ASSERT_EQ(dlg.heard.size(), 3u);
        EXPECT_EQ(dlg.heard[0].message, 0x7ECu);
        EXPECT_EQ(dlg.heard[0].lParam, 1063);
        EXPECT_EQ(dlg.heard[0].wParam, 0x0000FFu);
        EXPECT_EQ(dlg.heard[1].message, 0xBD5u);
        EXPECT_EQ(dlg.heard[1].lParam, 1043);
        EXPECT_EQ(dlg.heard[2].message, 0xBF2u);
        EXPECT_EQ(dlg.heard[2].lParam, 1121);
        EXPECT_EQ(dlg.heard[2].wParam, 6u);
        afxtest::Ok(d);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_crColour, 0x0000FFu);
    EXPECT_FLOAT_EQ(dlg.m_fWidth, 1.25f);
    EXPECT_EQ(dlg.m_nMarker, 7);
}

TEST(CaddoxPickers, OwnerDrawnListsDrawEachItemInTheirColour) {
    HDC hdc = win32::CreateRecordingDC(60, 20);
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_COMBOBOX;
    dis.itemID = 0;
    dis.hDC = hdc;
    dis.rcItem = RECT{0, 0, 60, 20};

    CLineStyleBox lines;
    lines.m_crColor = 0x00FF00;
    dis.itemData = PS_DASH;
    lines.DrawItem(&dis);
    CFillTypeComboBox fills;
    fills.m_crColor = 0x0000FF;
    dis.itemData = 5;  // cross hatch
    fills.DrawItem(&dis);
    const std::vector<win32::GdiRecord> drawn = win32::GetRecording(hdc);
    bool line = false, hatch = false;
    for (const auto& r : drawn) {
        if (r.call == "LineTo" && r.pen.lopnColor == 0x00FF00u && (r.pen.lopnStyle & 0xF) == PS_DASH) line = true;
        if (r.call == "FillRect" && r.brush.lbColor == 0x0000FFu && r.brush.lbStyle == BS_HATCHED) hatch = true;
    }
    EXPECT_TRUE(line);
    EXPECT_TRUE(hatch);
    DeleteDC(hdc);
}
