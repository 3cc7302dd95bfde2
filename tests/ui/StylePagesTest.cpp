// The four style pages driven as a person would: what they load from a style and store back (the line
// ends and corners, the lettering flags), the part sent on every edit and on Apply, inert view-only
// pages, the symbol browser, and the annotation page's face, size and live sample.
#include "core/GeoView.h"
#include "ui/EditGeoView.h"
#include "ui/PropageStyleAnno.h"
#include "ui/PropageStyleLine.h"
#include "ui/PropageStylePoint.h"
#include "ui/PropageStylePolygon.h"
#include "ui/StylePageMessages.h"

#include "platform/quenby/SampleSymbolLib.h"

#include <afx/afxtest.h>
#include <caddox/ChooserActions.h>
#include <quenby/SymbolLibIO.h>
#include <win32/gdirecord.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// What a page told its sheet; the scratch style of WM_GEOVIEW_CHANGING is copied during the call,
// the only time it is valid.
struct Heard {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    GEOVIEW view;
};

class CListeningSheet : public CPropertySheet {
public:
    CListeningSheet() : CPropertySheet("样式") {}
    std::vector<Heard> heard;
    std::vector<Heard> Of(UINT msg) const {
        std::vector<Heard> out;
        for (const Heard& h : heard)
            if (h.msg == msg) out.push_back(h);
        return out;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_GEOVIEW_CHANGING || message == WM_GEOVIEW_CHANGED)
            heard.push_back({message, wParam, lParam, *reinterpret_cast<GEOVIEW*>(lParam)});
        else if (message == WM_ANNOSIZE_CHANGED)
            heard.push_back({message, wParam, lParam, GEOVIEW()});
        return CPropertySheet::WindowProc(message, wParam, lParam);
    }
};

class StylePages : public ::testing::Test {
protected:
    void SetUp() override { m_session.SetFailureHandler([](const std::string& m) { ADD_FAILURE() << m; }); }
    // Opens the page alone in a listening sheet and runs act on it while it is open.
    void Run(CPropertyPage& page, std::function<void(CPropertySheet&, CPropertyPage&)> act) {
        m_sheet.AddPage(&page);
        m_session.ExpectSheet("样式", [&](CPropertySheet& s) { act(s, *s.GetActivePage()); });
        m_sheet.DoModal();
        EXPECT_TRUE(m_session.Verify());
    }
    afxtest::Session m_session;
    CListeningSheet m_sheet;
};

// Every field of a GEOVIEW that a page may touch, for comparing whole styles.
std::string Dump(const GEOVIEW& v) {
    CString s;
    s.Format("pt %d/%06x/%d/%d line %d/%06x/%g/%d fill %d/%06x/%d/%d anno %s/%06x/%x/%d", v.m_nPointShape,
             v.m_crPointColor, v.m_nPointSize, v.GetSymbol(SYMBOL_POINT), v.m_nLineShape, v.m_crLineColor,
             v.m_fLineWidth, v.GetSymbol(SYMBOL_LINE), v.m_nFillShape, v.m_crFillColor, v.m_bTransparent,
             v.GetSymbol(SYMBOL_FILL), v.m_szFaceName, v.m_crAnnoColor, v.m_dwTextFlags, v.m_nBufferWidth);
    return s.str();
}

GEOVIEW Sample() {
    GEOVIEW v;
    v.m_nPointShape = 2;
    v.m_crPointColor = 0x0000FF;
    v.m_nPointSize = 30;
    v.SetSymbol(SYMBOL_POINT, 2);
    v.m_nLineShape = 0x100 | 0x1000;
    v.m_crLineColor = 0x00FF00;
    v.m_fLineWidth = 0.5f;
    v.SetSymbol(SYMBOL_LINE, 12);
    v.m_nFillShape = 3;
    v.m_crFillColor = 0xFF0000;
    v.m_bTransparent = 0;
    v.SetSymbol(SYMBOL_FILL, 21);
    v.SetFaceName("黑体");
    v.m_crAnnoColor = 0x112233;
    v.m_dwTextFlags = 0x04 | 0x10;
    v.m_nBufferWidth = 7;
    return v;
}

}  // namespace

TEST_F(StylePages, PointPageSendsItsPartWhileEditedAndWritesItOnlyOnApply) {
    GEOVIEW gv = Sample();
    const GEOVIEW before = gv;
    CPropageStylePoint page;
    page.SetData(&gv, nullptr);
    Run(page, [&](CPropertySheet& s, CPropertyPage& p) {
        EXPECT_EQ(afxtest::Text(p, 1068), "30");
        EXPECT_EQ(afxtest::Text(p, 1050), "2");  // no library: the number, without a name
        EXPECT_EQ(afxtest::Text(p, 1051), "");
        EXPECT_TRUE(afxtest::IsVisible(p, 1041));  // the browser's frame stays empty
        EXPECT_EQ(page.m_btnMarker.GetMarker(), 2);
        EXPECT_EQ(page.m_btnColour.GetColour(), 0x0000FFu);

        afxtest::MessageSpy spy;
        afxtest::Type(p, 1068, "45");
        afxtest::ChooseColour(p, 1063, 0x00AA00);
        afxtest::ChooseMarker(p, 1121, 5);
        const auto changing = m_sheet.Of(WM_GEOVIEW_CHANGING);
        ASSERT_EQ(changing.size(), 3u);
        for (const Heard& h : changing) EXPECT_EQ(h.wParam, static_cast<WPARAM>(STYLEPAGE_POINT));
        EXPECT_EQ(changing[0].view.m_nPointSize, 45);
        // The point part in an otherwise default style; the symbol loaded stays without a library.
        GEOVIEW expected;
        expected.m_nPointShape = 5;
        expected.m_crPointColor = 0x00AA00;
        expected.m_nPointSize = 45;
        expected.SetSymbol(SYMBOL_POINT, 2);
        EXPECT_EQ(Dump(changing[2].view), Dump(expected));
        EXPECT_EQ(Dump(gv), Dump(before));  // nothing written yet
        EXPECT_TRUE(spy.Of(WM_GEOVIEW_CHANGED).empty());

        afxtest::Apply(s);
        afxtest::Ok(s);  // applied twice: told twice, with the style edited
        const auto applied = spy.Of(WM_GEOVIEW_CHANGED);
        ASSERT_EQ(applied.size(), 2u);
        for (const auto& r : applied) {
            EXPECT_EQ(r.wParam, static_cast<WPARAM>(STYLEPAGE_POINT));
            EXPECT_EQ(r.lParam, reinterpret_cast<LPARAM>(&gv));
        }
    });
    GEOVIEW expected = before;
    expected.m_nPointShape = 5;
    expected.m_crPointColor = 0x00AA00;
    expected.m_nPointSize = 45;
    EXPECT_EQ(Dump(gv), Dump(expected));  // only the point part changed
}

TEST_F(StylePages, ViewOnlyPagesNeitherTellNorWrite) {
    // One edit a person can make on each page.
    const std::function<void(CPropertyPage&)> edits[4] = {
        [](CPropertyPage& p) { afxtest::Type(p, 1068, "12"); },
        [](CPropertyPage& p) { afxtest::Click(p, 1054); },
        [](CPropertyPage& p) { afxtest::Click(p, 1046); },
        [](CPropertyPage& p) {
            afxtest::Click(p, 1478);
            afxtest::Type(p, 1480, "3");
        },
    };
    for (int kind = 0; kind < 4; ++kind) {
        GEOVIEW gv = Sample();
        const GEOVIEW before = gv;
        afxtest::MessageSpy spy;
        m_session.ExpectSheet("显示风格设置", [&](CPropertySheet& s) {
            CPropertyPage& p = *s.GetActivePage();
            edits[kind](p);
            EXPECT_FALSE(p.IsModified()) << kind;
            afxtest::Ok(s);
        });
        EXPECT_EQ(EditGEOVIEW(gv, kind, nullptr, 1), 1) << kind;
        EXPECT_EQ(Dump(gv), Dump(before)) << kind;
        EXPECT_TRUE(spy.Of(WM_GEOVIEW_CHANGING).empty()) << kind;
        EXPECT_TRUE(spy.Of(WM_GEOVIEW_CHANGED).empty()) << kind;
    }
    EXPECT_TRUE(m_session.Verify());
}

TEST_F(StylePages, LineEndsAndCornersLoadFlatAndMitreFirstAndStoreOnlyTheirBits) {
    const struct {
        int shape;
        int cap, join;  // the radio checked in each group (0..2)
        int stored;
    } cases[] = {
        {512, 0, 1, 0x200},                    // a new style: flat ends, round corners
        {0x300, 0, 1, 0x200},                  // flat and square: flat is tested first
        {0x100 | 0x1000, 2, 2, 0x1100},        // square ends, bevelled corners
        {0x2000 | 0x1000, 1, 0, 0x2000},       // mitre and bevel: mitre first
        {0, 1, 1, 0},                          // round and round
        {PS_DASH | 0x200 | 0x2000, 0, 0, 0x2200},  // the pen style is not kept
    };
    for (const auto& c : cases) {
        GEOVIEW gv;
        gv.m_nLineShape = c.shape;
        m_session.ExpectSheet("显示风格设置", [&](CPropertySheet& s) {
            CPropertyPage& p = *s.GetActivePage();
            for (int i = 0; i < 3; ++i) {
                EXPECT_EQ(afxtest::CheckState(p, 1052 + i), i == c.cap ? 1 : 0) << c.shape;
                EXPECT_EQ(afxtest::CheckState(p, 1055 + i), i == c.join ? 1 : 0) << c.shape;
            }
            afxtest::Ok(s);
        });
        EXPECT_EQ(EditGEOVIEW(gv, 1, nullptr, 0), 1);
        EXPECT_EQ(gv.m_nLineShape, c.stored) << c.shape;
    }
    EXPECT_TRUE(m_session.Verify());
}

TEST_F(StylePages, LinePageSendsTheChosenEndsWidthAndColour) {
    GEOVIEW gv = Sample();  // square ends, bevelled corners
    CPropageStyleLine page;
    page.SetData(&gv, nullptr);
    Run(page, [&](CPropertySheet& s, CPropertyPage& p) {
        EXPECT_FALSE(afxtest::IsVisible(p, 1094));  // the line-type list stays hidden
        EXPECT_EQ(page.m_cmbLineType.GetCount(), 5);
        EXPECT_EQ(page.m_cmbLineType.GetItemData(0), 3u);
        afxtest::Click(p, 1052);  // flat ends
        afxtest::Click(p, 1056);  // round corners
        afxtest::ChooseWidth(p, 1043, 1.5f);
        afxtest::ChooseColour(p, 1063, 0x123456);
        EXPECT_EQ(page.m_cmbLineType.m_crColor, 0x123456u);  // the list draws in the new colour
        const auto changing = m_sheet.Of(WM_GEOVIEW_CHANGING);
        ASSERT_EQ(changing.size(), 4u);
        EXPECT_EQ(changing[0].wParam, static_cast<WPARAM>(STYLEPAGE_LINE));
        EXPECT_EQ(changing[0].view.m_nLineShape, 0x200 | 0x1000);
        EXPECT_EQ(changing[1].view.m_nLineShape, 0x200);
        EXPECT_FLOAT_EQ(changing[2].view.m_fLineWidth, 1.5f);
        EXPECT_EQ(changing[3].view.m_crLineColor, 0x123456u);
        EXPECT_EQ(changing[3].view.GetSymbol(SYMBOL_LINE), 12);
        afxtest::Ok(s);
    });
    EXPECT_EQ(gv.m_nLineShape, 0x200);
    EXPECT_FLOAT_EQ(gv.m_fLineWidth, 1.5f);
    EXPECT_EQ(gv.m_crLineColor, 0x123456u);
    EXPECT_EQ(gv.m_crPointColor, 0x0000FFu);
}

TEST_F(StylePages, FillPageSendsTypeTransparencyAndColourAndRestoreReloads) {
    GEOVIEW gv = Sample();  // fill type 3, opaque
    CPropageStylePolygon page;
    page.SetData(&gv, nullptr);
    Run(page, [&](CPropertySheet& s, CPropertyPage& p) {
        EXPECT_EQ(afxtest::Items(p, 1090).size(), 7u);
        EXPECT_EQ(page.m_cmbFillType.GetCurSel(), 3);
        EXPECT_EQ(afxtest::CheckState(p, 1046), 0);
        afxtest::Select(p, 1090, 6);
        afxtest::Click(p, 1046);
        afxtest::ChooseColour(p, 1063, 0x00FFFF);
        EXPECT_EQ(page.m_cmbFillType.m_crColor, 0x00FFFFu);
        EXPECT_EQ(page.m_cmbFillType.GetCurSel(), 6);  // refilled on the type chosen
        const auto changing = m_sheet.Of(WM_GEOVIEW_CHANGING);
        ASSERT_EQ(changing.size(), 3u);
        EXPECT_EQ(changing[0].wParam, static_cast<WPARAM>(STYLEPAGE_FILL));
        EXPECT_EQ(changing[0].view.m_nFillShape, 6);
        EXPECT_EQ(changing[1].view.m_bTransparent, 1);
        EXPECT_EQ(changing[2].view.m_crFillColor, 0x00FFFFu);

        const size_t told = m_sheet.heard.size();
        afxtest::Click(p, 1042);  // "恢复": back to the style, without a word
        EXPECT_EQ(m_sheet.heard.size(), told);
        EXPECT_EQ(page.m_cmbFillType.GetCurSel(), 3);
        EXPECT_EQ(afxtest::CheckState(p, 1046), 0);
        EXPECT_EQ(page.m_btnColour.GetColour(), 0xFF0000u);
        afxtest::Select(p, 1090, 0);
        afxtest::Ok(s);
    });
    EXPECT_EQ(gv.m_nFillShape, 0);
    EXPECT_EQ(gv.m_crFillColor, 0xFF0000u);
    EXPECT_EQ(gv.m_bTransparent, 0);
    EXPECT_EQ(gv.GetSymbol(SYMBOL_FILL), 21);
}

TEST_F(StylePages, PagesWithALibraryBrowseTheirKindAndSendTheSymbolChosen) {
    CSymbolLibIO lib;
    quenbytest::AddSampleSymbols(lib);
    GEOVIEW gv = Sample();  // point 2, line 12, fill 21
    const struct {
        int kind;
        size_t listed;
        LONG chosen;  // another symbol of the kind than the one loaded
    } cases[] = {{0, 3, 1}, {1, 2, 11}, {2, 2, 22}};
    for (const auto& c : cases) {
        afxtest::MessageSpy spy;
        m_session.ExpectSheet("显示风格设置", [&](CPropertySheet& s) {
            CPropertyPage& p = *s.GetActivePage();
            CWnd* pBrowser = p.GetDlgItem(9999);
            ASSERT_NE(pBrowser, nullptr);
            auto* browser = static_cast<CSymbolLibBrowser*>(CWnd::FromHandlePermanent(pBrowser->m_hWnd));
            EXPECT_EQ(browser->GetItems().size(), c.listed) << c.kind;
            EXPECT_FALSE(afxtest::IsVisible(p, 1041));
            EXPECT_EQ(afxtest::Text(p, 1050), std::to_string(gv.GetSymbol(static_cast<SYMBOLTYPE>(c.kind))));
            EXPECT_NE(afxtest::Text(p, 1051), "");
            browser->UpdateWindow();  // painted, as on a screen before anyone clicks it
            browser->SelectSymbol(c.chosen, 1);
            EXPECT_EQ(afxtest::Text(p, 1050), std::to_string(c.chosen));
            EXPECT_EQ(afxtest::Text(p, 1051), lib.GetSymbolName(c.chosen).str());
            afxtest::Ok(s);
        });
        EXPECT_EQ(EditGEOVIEW(gv, c.kind, &lib, 0), 1);
        EXPECT_EQ(gv.GetSymbol(static_cast<SYMBOLTYPE>(c.kind)), c.chosen) << c.kind;
        EXPECT_EQ(spy.Of(WM_GEOVIEW_CHANGING).size(), 1u) << c.kind;
    }
    EXPECT_TRUE(m_session.Verify());
}

TEST_F(StylePages, LetteringFlagsLoadIntoTheBoxesAndStoreWithSlantBeforeShoulder) {
    const struct {
        DWORD flags;
        std::vector<int> ticked;  // of 1041 1048 1481 1482 1478 1475 1476 1477 1046
        DWORD stored;
        int fontType;
    } cases[] = {
        {0x80, {1046}, 0x380, 0},
        {0x08 | 0x02, {1041, 1481}, 0x102, 1},  // both loaded; the slant is kept
        {0x08 | 0x100 | 0x04 | 0x10 | 0x20 | 0x40, {1048, 1478, 1475, 1476, 1477}, 0x37C, 4},
        {0x02 | 0x200, {1482}, 0x302, 2},
        {0x08, {1041}, 0x208, 3},
    };
    const int boxes[] = {1041, 1048, 1481, 1482, 1478, 1475, 1476, 1477, 1046};
    for (const auto& c : cases) {
        GEOVIEW gv;
        gv.m_dwTextFlags = c.flags;
        m_session.ExpectSheet("显示风格设置", [&](CPropertySheet& s) {
            CPropertyPage& p = *s.GetActivePage();
            for (int id : boxes) {
                const bool on = std::find(c.ticked.begin(), c.ticked.end(), id) != c.ticked.end();
                EXPECT_EQ(afxtest::CheckState(p, id), on ? 1 : 0) << std::hex << c.flags << " box " << std::dec << id;
            }
            afxtest::Ok(s);
        });
        EXPECT_EQ(EditGEOVIEW(gv, 3, nullptr, 0), 1);
        EXPECT_EQ(gv.m_dwTextFlags, c.stored) << std::hex << c.flags;
        EXPECT_EQ(gv.GetFontType(), c.fontType) << std::hex << c.flags;
    }
    EXPECT_TRUE(m_session.Verify());
}

TEST_F(StylePages, AnnotationStylesExcludeOneAnotherAndAFaceMustBeChosen) {
    GEOVIEW gv = Sample();
    gv.SetFaceName("没有这种字体");
    CPropageStyleAnno page;
    page.SetData(&gv, 0, 50, 50);
    Run(page, [&](CPropertySheet& s, CPropertyPage& p) {
        EXPECT_LT(page.m_cmbFace.GetCurSel(), 0);  // the face is not installed: nothing selected
        EXPECT_GT(page.m_cmbFace.GetCount(), 0);
        for (int id : {1044, 1045, 1050, 1049, 1047, 1051}) EXPECT_FALSE(afxtest::IsVisible(p, id)) << id;

        afxtest::Ok(s);  // no face chosen: refused, nothing written
        EXPECT_FALSE(s.IsEnded());
        EXPECT_STREQ(gv.m_szFaceName, "没有这种字体");
        EXPECT_TRUE(m_sheet.Of(WM_GEOVIEW_CHANGED).empty());
        afxtest::Select(p, 1080, "宋体");

        afxtest::Click(p, 1041);
        afxtest::Click(p, 1482);  // right slant clears left shoulder
        EXPECT_EQ(afxtest::CheckState(p, 1041), 0);
        EXPECT_EQ(afxtest::CheckState(p, 1482), 1);
        afxtest::Click(p, 1048);
        EXPECT_EQ(afxtest::CheckState(p, 1482), 0);
        afxtest::Click(p, 1048);  // unticked: nothing else changes
        EXPECT_EQ(afxtest::CheckState(p, 1041) + afxtest::CheckState(p, 1048) + afxtest::CheckState(p, 1481) +
                      afxtest::CheckState(p, 1482),
                  0);
        afxtest::Click(p, 1481);
        const auto changing = m_sheet.Of(WM_GEOVIEW_CHANGING);
        ASSERT_EQ(changing.size(), 6u);
        EXPECT_EQ(changing[0].wParam, static_cast<WPARAM>(STYLEPAGE_ANNO));
        EXPECT_STREQ(changing[0].view.m_szFaceName, "宋体");
        EXPECT_EQ(changing[1].view.GetFontType(), FONT_SONGJIAN);
        EXPECT_EQ(changing[2].view.GetFontType(), FONT_SLANT_REVERSE);
        EXPECT_EQ(changing[3].view.GetFontType(), FONT_SONGJIAN_REVERSE);
        EXPECT_EQ(changing[4].view.GetFontType(), FONT_NORMAL);
        EXPECT_EQ(changing[5].view.GetFontType(), FONT_SLANT);

        // Out of range: the exchange says so while typing and again on OK, which is refused.
        m_session.ExpectMessageBox("", IDOK);
        m_session.ExpectMessageBox("", IDOK);
        afxtest::Type(p, 1480, "-1");
        afxtest::Ok(s);
        EXPECT_FALSE(s.IsEnded());
        afxtest::Type(p, 1480, "25");
        afxtest::Ok(s);
    });
    EXPECT_STREQ(gv.m_szFaceName, "宋体");
    EXPECT_EQ(gv.m_nBufferWidth, 25);
    EXPECT_EQ(gv.GetFontType(), FONT_SLANT);
    EXPECT_EQ(gv.m_dwTextFlags & 0xF4, 0x14u);  // bold and underline as loaded, no background
    EXPECT_TRUE(m_sheet.Of(WM_ANNOSIZE_CHANGED).empty());  // the size is not shown
}

TEST_F(StylePages, AnnotationSizeIsShownSentOnApplyAndTheSampleFollowsTheColour) {
    GEOVIEW gv;
    gv.m_crAnnoColor = 0x000000;
    CPropageStyleAnno page;
    page.SetData(&gv, 1, 30, 40);
    Run(page, [&](CPropertySheet& s, CPropertyPage& p) {
        for (int id : {1044, 1045, 1050, 1049, 1047, 1051}) EXPECT_TRUE(afxtest::IsVisible(p, id)) << id;
        EXPECT_EQ(afxtest::Text(p, 1045), "30");
        EXPECT_EQ(afxtest::Text(p, 1047), "40");
        afxtest::Type(p, 1045, "60");
        EXPECT_EQ(m_sheet.Of(WM_GEOVIEW_CHANGING).size(), 1u);

        // The sample is drawn at once on the static in the colour picked.
        afxtest::ChooseColour(p, 1063, 0x0000FF);
        CWnd* sample = p.GetDlgItem(1134);
        CRect rc;
        sample->GetClientRect(&rc);
        HDC dc = ::GetDC(sample->m_hWnd);
        int red = 0;
        for (int y = 0; y < rc.Height(); ++y)
            for (int x = 0; x < rc.Width(); ++x)
                if (::GetPixel(dc, x, y) == 0x0000FF) ++red;
        ::ReleaseDC(sample->m_hWnd, dc);
        EXPECT_GT(red, 50);
        afxtest::Ok(s);
    });
    const auto size = m_sheet.Of(WM_ANNOSIZE_CHANGED);
    ASSERT_EQ(size.size(), 1u);
    EXPECT_EQ(size[0].wParam, 60u);
    EXPECT_EQ(size[0].lParam, 40);
    // The part first, then the size.
    ASSERT_EQ(m_sheet.heard.size(), 4u);
    EXPECT_EQ(m_sheet.heard[2].msg, static_cast<UINT>(WM_GEOVIEW_CHANGED));
    EXPECT_EQ(m_sheet.heard[2].lParam, reinterpret_cast<LPARAM>(&gv));
    EXPECT_EQ(m_sheet.heard[3].msg, static_cast<UINT>(WM_ANNOSIZE_CHANGED));
    EXPECT_EQ(gv.m_crAnnoColor, 0x0000FFu);
}

TEST_F(StylePages, ALargeLetteringSampleShowsWholeInsideItsBox) {
    // The sample's characters as large as the box or larger (the default 100 without the size shown,
    // upright and slanted, and large sizes shown) still show whole, with no ink against the box's ends.
    struct Case {
        int showSize;
        UINT width, height;
        DWORD flags;  // right slant: 0x02 with 0x200
    };
    for (const Case& c : {Case{0, 30, 40, 0}, Case{0, 30, 40, 0x02 | 0x200}, Case{1, 200, 150, 0}, Case{1, 500, 500, 0}}) {
        SCOPED_TRACE(c.showSize);
        GEOVIEW gv;
        gv.m_crAnnoColor = 0x0000FF;
        gv.m_dwTextFlags = c.flags;
        CPropageStyleAnno page;
        page.SetData(&gv, c.showSize, c.width, c.height);
        Run(page, [&](CPropertySheet& s, CPropertyPage& p) {
            CWnd* sample = p.GetDlgItem(1134);
            sample->Invalidate();
            sample->UpdateWindow();
            p.Invalidate();
            p.UpdateWindow();
            CRect rc;
            sample->GetClientRect(&rc);
            HDC dc = ::GetDC(sample->m_hWnd);
            int inside = 0, atEnds = 0;
            for (int y = 0; y < rc.Height(); ++y)
                for (int x = 0; x < rc.Width(); ++x)
                    if (::GetPixel(dc, x, y) == 0x0000FF) (x < 6 || x >= rc.Width() - 6 || y < 4 || y >= rc.Height() - 4 ? atEnds : inside)++;
            ::ReleaseDC(sample->m_hWnd, dc);
            EXPECT_GT(inside, 50);
            EXPECT_EQ(atEnds, 0);
            afxtest::Cancel(s);
        });
    }
}
