// The DEM level dialog driven as a person would: the class rows, adding, deleting and splitting
// classes, the bound edits with their refusals, Enter, the colour picker, dragging on the colour bar,
// and the dialog opened by a DEM through its hook.
#include <afx/afx.h>
#include <afx/afxtest.h>
#include <caddox/ChooserActions.h>
#include <win32/gdirecord.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "terrain/DemFixtures.h"
#include "terrain/GeoDEM.h"
#include "ui/BilParamDlg.h"
#include "ui/ColorListCtrl.h"
#include "ui/DEMLevelDlg.h"
#include "ui/resources/DemDialogTemplates.h"

namespace {

const COLORREF kNine[9] = {0x217500, 0x4AAE02, 0x2EC449, 0x07DFBC, 0x09BAD5, 0x185AAD, 0x6C69AE, 0xBDBABC, 0xFFFFFF};

// Nine classes of 100 over 0 .. 900, as a DEM's default classes.
CGeoClassificationParameter NineClasses()
{
    CGeoClassificationParameter p;
    CArray<DWORD, DWORD> colors;
    CArray<double, double> thresholds;
    for (COLORREF c : kNine) colors.Add(c);
    for (int i = 1; i <= 8; ++i) thresholds.Add(100.0 * i);
    p.SetArrange(0.0, 900.0);
    p.SetColorArray(colors);
    p.SetThresholdArray(thresholds);
    return p;
}

CColorListCtrl* List(CDialog& d) { return static_cast<CColorListCtrl*>(d.GetDlgItem(IDC_DEM_CLASS_LIST)); }
CDEMLevelDlg& Level(CDialog& d) { return static_cast<CDEMLevelDlg&>(d); }

// A click on a class row, scrolled into view first as a person would.
bool ClickClass(CDialog& d, int row)
{
    List(d)->EnsureVisible(row, FALSE);
    return afxtest::ClickRow(List(d), row);
}

std::vector<std::string> Rows(CDialog& d)
{
    std::vector<std::string> rows;
    CListCtrl* list = List(d);
    for (int i = 0; i < list->GetItemCount(); ++i) rows.push_back(list->GetItemText(i, 1).str());
    return rows;
}

std::vector<double> Breaks(CDialog& d)
{
    const CArray<double, double>& b = Level(d).GetBreaks();
    return std::vector<double>(b.GetData(), b.GetData() + b.GetSize());
}

class LevelDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        session.SetFailureHandler([](const std::string& m) { ADD_FAILURE() << m; });
    }
    // Runs the dialog on the classes with the script; the dialog's result.
    INT_PTR Run(const CGeoClassificationParameter& p, double lo, double hi, std::function<void(CDialog&)> act)
    {
        dlg.m_Parameter = p;
        dlg.m_strUnit = "米";
        dlg.m_dMinimum = lo;
        dlg.m_dMaximum = hi;
        session.ExpectDialog(IDD_DEM_LEVEL, std::move(act));
        const INT_PTR r = dlg.DoModal();
        EXPECT_TRUE(session.Verify());
        return r;
    }
    afxtest::Session session;
    CDEMLevelDlg dlg;
};

TEST_F(LevelDialog, OpensWithOneRowPerClassAndTheFirstClassSelected)
{
    Run(NineClasses(), 0.0, 900.0, [](CDialog& d) {
        std::vector<std::string> expected;
        for (int i = 0; i < 9; ++i)
            expected.push_back(CDEMLevelDlg::FormatClassRange(100.0 * i, 100.0 * (i + 1)).str());
        EXPECT_EQ(Rows(d), expected);
        EXPECT_EQ(List(d)->GetColumnText(0).str(), "颜色");
        EXPECT_EQ(List(d)->GetColumnText(1).str(), "阈值");
        CArray<DWORD, DWORD> colors;
        ASSERT_EQ(List(d)->GetRowColors(colors), 9);
        EXPECT_EQ(colors[4], kNine[4]);
        EXPECT_EQ(afxtest::Text(d, IDC_DEM_LOWER), "0.0");
        EXPECT_EQ(afxtest::Text(d, IDC_DEM_UPPER), "100.0");
        EXPECT_EQ(afxtest::Text(d, IDC_DEM_LOWER_UNIT), "米");
        EXPECT_FALSE(afxtest::IsEnabled(d, IDC_DEM_LOWER));
        EXPECT_TRUE(afxtest::IsEnabled(d, IDC_DEM_UPPER));
        EXPECT_EQ(afxtest::FocusId(), IDC_DEM_CLASS_LIST);
        // The last class: its upper bound is the maximum and cannot be edited.
        ASSERT_TRUE(ClickClass(d, 8));
        EXPECT_EQ(Level(d).GetSelectedClass(), 8);
        EXPECT_EQ(afxtest::Text(d, IDC_DEM_LOWER), "800.0");
        EXPECT_EQ(afxtest::Text(d, IDC_DEM_UPPER), "900.0");
        EXPECT_TRUE(afxtest::IsEnabled(d, IDC_DEM_LOWER));
        EXPECT_FALSE(afxtest::IsEnabled(d, IDC_DEM_UPPER));
        afxtest::Cancel(d);
    });
}

TEST_F(LevelDialog, AddSplitsTheSelectedClassWithTheMixedColour)
{
    Run(NineClasses(), 0.0, 900.0, [](CDialog& d) {
        ASSERT_TRUE(ClickClass(d, 8));
        ASSERT_TRUE(afxtest::Click(d, IDC_DEM_ADD));
        ASSERT_EQ(Level(d).GetClassCount(), 10);
        EXPECT_EQ(Rows(d)[8], "[800.0,850.0]");
        EXPECT_EQ(Rows(d)[9], "[850.0,900.0]");
        // The last class mixes with the one before it: each channel halved and added.
        EXPECT_EQ(Level(d).GetColors()[9], CDEMLevelDlg::MixColors(0xFFFFFF, 0xBDBABC));
        EXPECT_EQ(CDEMLevelDlg::MixColors(0xFFFFFF, 0xBDBABC), static_cast<COLORREF>(0xDDDCDD));
        EXPECT_EQ(Level(d).GetSelectedClass(), 8);
        // A middle class mixes with the next one and the new class goes after it.
        ASSERT_TRUE(ClickClass(d, 0));
        ASSERT_TRUE(afxtest::Click(d, IDC_DEM_ADD));
        EXPECT_EQ(Rows(d)[0], "[0.0,50.0]");
        EXPECT_EQ(Rows(d)[1], "[50.0,100.0]");
        EXPECT_EQ(Level(d).GetColors()[1], CDEMLevelDlg::MixColors(kNine[0], kNine[1]));
        EXPECT_EQ(afxtest::FocusId(), IDC_DEM_CLASS_LIST);
        afxtest::Cancel(d);
    });
}

TEST_F(LevelDialog, DeletingDownToOneClassConfirmsWithoutThresholds)
{
    const INT_PTR r = Run(NineClasses(), 0.0, 900.0, [](CDialog& d) {
        // The middle class: the next class takes over its range from its lower bound.
        ASSERT_TRUE(ClickClass(d, 4));
        ASSERT_TRUE(afxtest::Click(d, IDC_DEM_DELETE));
        EXPECT_EQ(Rows(d)[4], "[400.0,600.0]");
        EXPECT_EQ(Level(d).GetColors()[4], kNine[5]);
        // The last class: the one before it reaches the maximum and becomes the selection.
        ASSERT_TRUE(ClickClass(d, 7));
        ASSERT_TRUE(afxtest::Click(d, IDC_DEM_DELETE));
        EXPECT_EQ(Rows(d).back(), "[700.0,900.0]");
        EXPECT_EQ(Level(d).GetSelectedClass(), 6);
        while (Level(d).GetClassCount() > 1) ASSERT_TRUE(afxtest::Click(d, IDC_DEM_DELETE));
        EXPECT_EQ(Rows(d), std::vector<std::string>{"[0.0,900.0]"});
        ASSERT_TRUE(afxtest::Click(d, IDC_DEM_DELETE));  // nothing left to delete
        EXPECT_EQ(Level(d).GetClassCount(), 1);
        EXPECT_FALSE(afxtest::IsEnabled(d, IDC_DEM_LOWER));
        EXPECT_FALSE(afxtest::IsEnabled(d, IDC_DEM_UPPER));
        ASSERT_TRUE(afxtest::Click(d, IDC_DEM_CONFIRM));
    });
    ASSERT_EQ(r, IDOK);
    // One colour and no thresholds: the eight old thresholds would leave classes without colours.
    EXPECT_EQ(dlg.m_Parameter.GetColorCount(), 1);
    EXPECT_EQ(dlg.m_Parameter.GetThresholdCount(), 0);
    EXPECT_EQ(dlg.m_Parameter.GetLow(), 0.0);
    EXPECT_EQ(dlg.m_Parameter.GetHigh(), 900.0);
}

TEST_F(LevelDialog, EqualSplitAsksTheCountAndCutsTheRangeEvenly)
{
    session.SetFailureHandler([](const std::string& m) { ADD_FAILURE() << m; });
    const INT_PTR r = Run(NineClasses(), 0.0, 900.0, [this](CDialog& d) {
        session.ExpectDialog(IDD_LEVEL_COUNT, [](CDialog& c) {
            EXPECT_EQ(afxtest::Text(c, IDC_LEVEL_COUNT), "9");
            afxtest::Type(c, IDC_LEVEL_COUNT, "17");
            afxtest::Ok(c);  // refused with the range message; the count dialog stays open
            EXPECT_FALSE(c.IsEnded());
            afxtest::Type(c, IDC_LEVEL_COUNT, "3");
            afxtest::Ok(c);
        });
        session.ExpectMessageBox("", IDOK);
        ASSERT_TRUE(afxtest::Click(d, IDC_DEM_SPLIT));
        EXPECT_EQ(Breaks(d), (std::vector<double>{0.0, 300.0, 600.0, 900.0}));
        EXPECT_EQ(Rows(d), (std::vector<std::string>{"[0.0,300.0]", "[300.0,600.0]", "[600.0,900.0]"}));
        EXPECT_EQ(Level(d).GetColors()[2], kNine[2]);
        // Growing again: new colours are mixed from the selected (first) class and its neighbour.
        session.ExpectDialog(IDD_LEVEL_COUNT, [](CDialog& c) {
            afxtest::Type(c, IDC_LEVEL_COUNT, "4");
            afxtest::Ok(c);
        });
        ASSERT_TRUE(afxtest::Click(d, IDC_DEM_SPLIT));
        EXPECT_EQ(Level(d).GetColors()[3], CDEMLevelDlg::MixColors(kNine[0], kNine[1]));
        EXPECT_EQ(Level(d).GetSelectedClass(), 0);
        ASSERT_TRUE(afxtest::Click(d, IDC_DEM_CONFIRM));
    });
    ASSERT_EQ(r, IDOK);
    CArray<double, double> t;
    dlg.m_Parameter.GetThresholdArray(t);
    ASSERT_EQ(t.GetSize(), 3);
    EXPECT_DOUBLE_EQ(t[0], 225.0);
    EXPECT_DOUBLE_EQ(t[2], 675.0);
    EXPECT_EQ(dlg.m_Parameter.GetColorCount(), 4);
}

TEST_F(LevelDialog, BoundEditsRefuseValuesOutsideTheNeighbouringClasses)
{
    const INT_PTR r = Run(NineClasses(), 0.0, 900.0, [](CDialog& d) {
        ASSERT_TRUE(ClickClass(d, 2));  // [200, 300]
        // Below the previous class's lower bound: restored, the edit keeps the focus, text selected.
        afxtest::Type(d, IDC_DEM_LOWER, "50");
        afxtest::SetFocus(d, IDC_DEM_UPPER);
        EXPECT_EQ(afxtest::Text(d, IDC_DEM_LOWER), "200.0");
        EXPECT_EQ(afxtest::FocusId(), IDC_DEM_LOWER);
        EXPECT_EQ(afxtest::Selection(d, IDC_DEM_LOWER), std::make_pair(0, 5));
        // Exactly the previous class's lower bound is accepted.
        afxtest::Type(d, IDC_DEM_LOWER, "100");
        afxtest::SetFocus(d, IDC_DEM_UPPER);
        EXPECT_EQ(Rows(d)[1], "[100.0,100.0]");
        EXPECT_EQ(Rows(d)[2], "[100.0,300.0]");
        // Enter in the upper bound checks it and leaves the dialog open.
        afxtest::Type(d, IDC_DEM_UPPER, "350");
        ASSERT_TRUE(afxtest::Key(VK_RETURN));
        EXPECT_FALSE(d.IsEnded());
        EXPECT_EQ(Rows(d)[3], "[350.0,400.0]");
        afxtest::Type(d, IDC_DEM_UPPER, "401");  // beyond the next class's upper bound
        ASSERT_TRUE(afxtest::Key(VK_RETURN));
        EXPECT_EQ(afxtest::Text(d, IDC_DEM_UPPER), "350.0");
        EXPECT_FALSE(d.IsEnded());
        ASSERT_TRUE(afxtest::Click(d, IDC_DEM_CONFIRM));
    });
    ASSERT_EQ(r, IDOK);
    CArray<double, double> t;
    dlg.m_Parameter.GetThresholdArray(t);
    EXPECT_EQ(t[1], 100.0);
    EXPECT_EQ(t[2], 350.0);
}

TEST_F(LevelDialog, PickedColourGoesToTheSelectedClassOnly)
{
    const INT_PTR r = Run(NineClasses(), 0.0, 900.0, [](CDialog& d) {
        ASSERT_TRUE(ClickClass(d, 3));
        auto* picker = static_cast<CColourPicker*>(d.GetDlgItem(IDC_DEM_COLOUR));
        EXPECT_EQ(picker->GetColour(), kNine[3]);
        ASSERT_TRUE(afxtest::ChooseColour(d, IDC_DEM_COLOUR, 0x0000FF));
        CArray<DWORD, DWORD> colors;
        List(d)->GetRowColors(colors);
        EXPECT_EQ(colors[3], 0x0000FFu);
        // The same message from another control is not the picker's.
        d.SendMessage(CPN_SELCHANGE_MSG, 0x00FF00, 9999);
        EXPECT_EQ(Level(d).GetColors()[3], 0x0000FFu);
        ASSERT_TRUE(afxtest::Click(d, IDC_DEM_CONFIRM));
    });
    ASSERT_EQ(r, IDOK);
    EXPECT_EQ(dlg.m_Parameter.GetColor(350.0), 0x0000FFu);
    EXPECT_EQ(dlg.m_Parameter.GetColor(450.0), kNine[4]);
}

TEST_F(LevelDialog, DraggingOnTheBarMovesTheNearerBound)
{
    Run(NineClasses(), 0.0, 900.0, [](CDialog& d) {
        CWnd* bar = d.GetDlgItem(IDC_DEM_BAR);
        ASSERT_TRUE(ClickClass(d, 4));  // [400, 500] between [300, 400] and [500, 600]
        const double k = Level(d).GetPixelsPerUnit();
        const CRect area = Level(d).GetBarRect();
        ASSERT_GT(k, 0.0);
        EXPECT_DOUBLE_EQ(k, area.Width() / 300.0);
        // Painted: previous class, this class, next class.
        EXPECT_EQ(Level(d).GetBarColorAt(area.left), kNine[3]);
        EXPECT_EQ(Level(d).GetBarColorAt(static_cast<int>(150 * k)), kNine[4]);
        EXPECT_EQ(Level(d).GetBarColorAt(area.right - 1), kNine[5]);
        // A point of the bar in the dialog's client coordinates.
        auto at = [&](int x) {
            CPoint p(x, area.top + 2);
            bar->ClientToScreen(&p);
            d.ScreenToClient(&p);
            return p;
        };
        const int x = static_cast<int>(250 * k) - 1;  // nearer the upper bound (200 k) than the lower (100 k)
        ASSERT_TRUE(afxtest::Mouse(&d, WM_LBUTTONDOWN, at(x), MK_LBUTTON));
        const double moved = 300.0 + x / k;
        EXPECT_DOUBLE_EQ(Breaks(d)[5], moved);
        EXPECT_EQ(Rows(d)[4], CDEMLevelDlg::FormatClassRange(400.0, moved).str());
        EXPECT_EQ(Rows(d)[5], CDEMLevelDlg::FormatClassRange(moved, 600.0).str());
        // Moving without the button changes nothing; with it the lower bound follows.
        const int y = static_cast<int>(110 * k);
        ASSERT_TRUE(afxtest::Mouse(&d, WM_MOUSEMOVE, at(y), 0));
        EXPECT_DOUBLE_EQ(Breaks(d)[4], 400.0);
        ASSERT_TRUE(afxtest::Mouse(&d, WM_MOUSEMOVE, at(y), MK_LBUTTON));
        EXPECT_DOUBLE_EQ(Breaks(d)[4], 300.0 + y / k);
        // Outside the bar nothing happens.
        const std::vector<double> before = Breaks(d);
        ASSERT_TRUE(afxtest::Mouse(&d, WM_LBUTTONDOWN, CPoint(1, 1), MK_LBUTTON));
        EXPECT_EQ(Breaks(d), before);
        afxtest::Cancel(d);
    });
}

TEST_F(LevelDialog, FlatRangeHasNoBarScaleAndNoDrag)
{
    CGeoClassificationParameter flat;
    CArray<DWORD, DWORD> colors;
    CArray<double, double> thresholds;
    colors.Add(0x111111);
    colors.Add(0x222222);
    thresholds.Add(50.0);
    flat.SetColorArray(colors);
    flat.SetThresholdArray(thresholds);
    Run(flat, 50.0, 50.0, [](CDialog& d) {
        EXPECT_EQ(Level(d).GetPixelsPerUnit(), 0.0);
        const CRect area = Level(d).GetBarRect();
        EXPECT_EQ(Level(d).GetBarColorAt(area.right - 1), 0x111111u);
        CPoint p(area.CenterPoint());
        d.GetDlgItem(IDC_DEM_BAR)->ClientToScreen(&p);
        d.ScreenToClient(&p);
        ASSERT_TRUE(afxtest::Mouse(&d, WM_LBUTTONDOWN, p, MK_LBUTTON));
        EXPECT_EQ(Breaks(d), (std::vector<double>{50.0, 50.0, 50.0}));
        afxtest::Cancel(d);
    });
}

TEST(ColorListCtrl, ClicksOnRowsOnlyTellTheParentAndModesAboveTwoAreRefused)
{
    afxtest::Session session;
    session.SetFailureHandler([](const std::string& m) { ADD_FAILURE() << m; });
    CDEMLevelDlg dlg;
    dlg.m_Parameter = NineClasses();
    dlg.m_dMaximum = 900.0;
    session.ExpectDialog(IDD_DEM_LEVEL, [](CDialog& d) {
        CColorListCtrl* list = List(d);
        afxtest::MessageSpy spy;
        ASSERT_TRUE(afxtest::ClickRow(list, 2));
        ASSERT_EQ(spy.Of(CLM_ROWCLICKED).size(), 1u);
        EXPECT_EQ(spy.Of(CLM_ROWCLICKED)[0].lParam, 2);
        EXPECT_EQ(list->GetItemState(2, LVIS_SELECTED), static_cast<UINT>(LVIS_SELECTED));
        spy.Clear();
        // Nine rows fill the list: there is no empty space below the last one for a person to click.
        std::vector<std::string> refused;
        afxtest::Current()->SetFailureHandler([&](const std::string& m) { refused.push_back(m); });
        EXPECT_FALSE(afxtest::ClickRow(list, -1));
        afxtest::Current()->SetFailureHandler([](const std::string& m) { ADD_FAILURE() << m; });
        EXPECT_EQ(refused.size(), 1u);
        EXPECT_TRUE(spy.Of(CLM_ROWCLICKED).empty());
        EXPECT_EQ(Level(d).GetSelectedClass(), 2);

        EXPECT_EQ(list->SetSelectionMode(2), 1);
        EXPECT_EQ(list->SetSelectionMode(3), 2);
        EXPECT_EQ(list->GetSelectionMode(), 2);
        CArray<DWORD, DWORD> none;
        EXPECT_EQ(list->SetRowColors(none), 0);
        CArray<DWORD, DWORD> kept;
        EXPECT_EQ(list->GetRowColors(kept), 9);
        afxtest::Cancel(d);
    });
    dlg.DoModal();
    EXPECT_TRUE(session.Verify());

    CREATESTRUCT cs{};
    cs.style = static_cast<LONG>(LVS_ICON | LVS_SHOWSELALWAYS | WS_BORDER);
    CColorListCtrl made;
    ASSERT_TRUE(made.PreCreateWindow(cs));
    EXPECT_EQ(static_cast<DWORD>(cs.style), LVS_REPORT | LVS_OWNERDRAWFIXED | WS_BORDER);
}

TEST(ColorListCtrl, TheRangesStandOnTheRowsBackgroundNotOnTheSwatchColour)
{
    afxtest::Session session;
    session.SetFailureHandler([](const std::string& m) { ADD_FAILURE() << m; });
    CDEMLevelDlg dlg;
    dlg.m_Parameter = NineClasses();
    dlg.m_dMaximum = 900.0;
    session.ExpectDialog(IDD_DEM_LEVEL, [](CDialog& d) {
        CColorListCtrl* list = List(d);
        afxtest::SetFocus(list);
        CArray<DWORD, DWORD> colors;
        list->GetRowColors(colors);
        for (int row = 0; row < 3; ++row) {
            HDC hdc = win32::CreateRecordingDC(400, 400);
            DRAWITEMSTRUCT dis{};
            dis.CtlType = ODT_LISTVIEW;
            dis.itemID = static_cast<UINT>(row);
            dis.hDC = hdc;
            list->DrawItem(&dis);
            const std::string range = list->GetItemText(row, 1).str();
            bool drawn = false;
            for (const auto& r : win32::GetRecording(hdc))
                if (r.call == "DrawText" && r.text == range) {
                    drawn = true;
                    EXPECT_TRUE(r.bkMode == TRANSPARENT || r.bkColor == ::GetSysColor(COLOR_WINDOW) ||
                                r.bkColor == ::GetSysColor(COLOR_HIGHLIGHT))
                        << "row " << row << " " << range << " on " << std::hex << r.bkColor;
                }
            EXPECT_TRUE(drawn) << row;
            DeleteDC(hdc);
        }
        afxtest::Cancel(d);
    });
    dlg.DoModal();
    EXPECT_TRUE(session.Verify());
}

TEST(DemLevelHook, TheDemOpensTheDialogAndStoresOnlyAConfirmedResult)
{
    auto dem = demtest::MakeDemFn(10, 1, [](int c, int) { return c * 100; });  // 0 .. 900
    dem->LevelShow(1);
    afxtest::Session session;
    session.SetFailureHandler([](const std::string& m) { ADD_FAILURE() << m; });
    session.ExpectDialog(IDD_DEM_LEVEL, [](CDialog& d) {
        ASSERT_TRUE(afxtest::Click(d, IDC_DEM_DELETE));
        afxtest::Cancel(d);
    });
    session.ExpectDialog(IDD_DEM_LEVEL, [](CDialog& d) {
        EXPECT_EQ(afxtest::Text(d, IDC_DEM_LOWER_UNIT), "米");
        EXPECT_EQ(Rows(d).back(), "[800.0,900.0]");
        ASSERT_TRUE(afxtest::Click(d, IDC_DEM_DELETE));
        ASSERT_TRUE(afxtest::Click(d, IDC_DEM_CONFIRM));
    });
    EXPECT_EQ(dem->SetLevelParameter(), 0);
    EXPECT_EQ(dem->SetLevelParameter(), 1);
    EXPECT_EQ(dem->GetLevelParameter().GetColorCount(), 8);
    EXPECT_EQ(dem->GetLevelParameter().GetThresholdCount(), 7);
    EXPECT_TRUE(dem->IsBitmapOutdated());
    EXPECT_TRUE(session.Verify());
}

TEST(BilParamDialog, RefusesAnHzoomOutOfRangeAndStartsOnTheInvalidValue)
{
    afxtest::Session session;
    session.SetFailureHandler([](const std::string& m) { ADD_FAILURE() << m; });
    CBilParamDlg dlg;
    session.ExpectDialog(IDD_BIL_PARAM, [](CDialog& d) {
        EXPECT_EQ(afxtest::FocusId(), IDC_BIL_INVALID);
        EXPECT_EQ(afxtest::Text(d, IDC_BIL_HZOOM), "10");
        afxtest::Type(d, IDC_BIL_HZOOM, "0");
        afxtest::Ok(d);
        EXPECT_FALSE(d.IsEnded());
        afxtest::Type(d, IDC_BIL_HZOOM, "100");
        afxtest::Type(d, IDC_BIL_INVALID, "-99999");
        afxtest::Ok(d);
    });
    session.ExpectMessageBox("", IDOK);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_nHzoom, 100u);
    EXPECT_EQ(dlg.m_lInvalid, -99999);
    EXPECT_TRUE(session.Verify());
}

}  // namespace
