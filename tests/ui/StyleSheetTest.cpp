// The style editors as a whole: EditGEOVIEW, the display-style sheet, the display-style page with its
// seven previews and ">>" buttons, the previews' drawing on the recording DC, and CopyGeoViewPart.
#include "core/GeoView.h"
#include "ui/EditGeoView.h"
#include "ui/GeoViewPreview.h"
#include "ui/SDStylePage.h"
#include "ui/StylePageMessages.h"
#include "ui/StyleSheet.h"

#include "platform/quenby/SampleSymbolLib.h"

#include <afx/afxtest.h>
#include <quenby/SymbolLibIO.h>
#include <win32/gdirecord.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

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
    v.m_nPointShape = 'A';
    v.m_crPointColor = 0x0000FF;
    v.m_nPointSize = 20;
    v.SetSymbol(SYMBOL_POINT, 2);
    v.m_nLineShape = 0x200 | 0x2000;
    v.m_crLineColor = 0x00FF00;
    v.m_fLineWidth = 3.7f;
    v.SetSymbol(SYMBOL_LINE, 12);
    v.m_nFillShape = 0;
    v.m_crFillColor = 0xFF0000;
    v.m_bTransparent = 0;
    v.SetSymbol(SYMBOL_FILL, 21);
    v.SetFaceName("黑体");
    v.m_crAnnoColor = 0x112233;
    v.m_dwTextFlags = 0x02 | 0x04;  // left slanted, bold
    v.m_nBufferWidth = 7;
    return v;
}

class StyleEditors : public ::testing::Test {
protected:
    void SetUp() override {
        m_session.SetFailureHandler([](const std::string& m) { ADD_FAILURE() << m; });
        quenbytest::AddSampleSymbols(m_lib);
    }
    afxtest::Session m_session;
    CSymbolLibIO m_lib;
};

// The calls of a window's last paint, without the ones that only set state.
std::vector<win32::GdiRecord> Painted(CWnd& wnd) {
    wnd.Invalidate();
    wnd.UpdateWindow();
    return win32::GetPaintRecording(wnd.m_hWnd);
}

std::vector<win32::GdiRecord> Calls(const std::vector<win32::GdiRecord>& all, const std::string& name) {
    std::vector<win32::GdiRecord> out;
    for (const auto& r : all)
        if (r.call == name) out.push_back(r);
    return out;
}

std::vector<POINT> Pts(std::initializer_list<std::pair<int, int>> xy) {
    std::vector<POINT> out;
    for (const auto& p : xy) out.push_back(POINT{p.first, p.second});
    return out;
}

bool Same(const std::vector<POINT>& a, const std::vector<POINT>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].x != b[i].x || a[i].y != b[i].y) return false;
    return true;
}

}  // namespace

TEST_F(StyleEditors, EditGeoViewOpensOnePageOfItsKindAndAnswersOkOrCancel) {
    GEOVIEW gv = Sample();
    const GEOVIEW before = gv;
    EXPECT_EQ(EditGEOVIEW(gv, 4, &m_lib, 0), 0);  // nothing shown: the strict session would say so
    EXPECT_EQ(EditGEOVIEW(gv, -1, &m_lib, 0), 0);

    const char* captions[4] = {"点风格", "线风格", "面风格", "文字风格"};
    for (int kind = 0; kind < 4; ++kind) {
        m_session.ExpectSheet("显示风格设置", [&](CPropertySheet& s) {
            EXPECT_EQ(s.GetPageCount(), 1);
            EXPECT_EQ(s.GetActivePage()->GetCaption(), captions[kind]);
            afxtest::Cancel(s);
        });
        EXPECT_EQ(EditGEOVIEW(gv, kind, &m_lib, 0), 0) << kind;
    }
    m_session.ExpectSheet("显示风格设置", [&](CPropertySheet& s) {
        afxtest::Click(*s.GetActivePage(), 1054);  // square ends
        afxtest::Ok(s);
    });
    EXPECT_EQ(EditGEOVIEW(gv, 1, &m_lib, 0), 1);
    GEOVIEW expected = before;
    expected.m_nLineShape = 0x100 | 0x2000;
    EXPECT_EQ(Dump(gv), Dump(expected));
    EXPECT_TRUE(m_session.Verify());
}

TEST_F(StyleEditors, StyleSheetOpensAtTheKindAndReturnsTheAppliedStyleAndSize) {
    const GEOVIEW given = Sample();
    {
        CStyleSheet sheet("显示风格设置", nullptr, 3);
        sheet.SetData(given, &m_lib, 1, 30, 40);
        m_session.ExpectSheet("显示风格设置", [&](CPropertySheet& s) {
            EXPECT_EQ(s.GetActivePage(), &sheet.m_pageAnno);
            EXPECT_EQ(s.GetPageCount(), 4);
            afxtest::Type(sheet.m_pageAnno, 1047, "45");
            afxtest::ActivatePage(s, 2);
            afxtest::Select(sheet.m_pagePolygon, 1090, 5);
            afxtest::Ok(s);
        });
        EXPECT_EQ(sheet.DoModal(), 1);
        GEOVIEW expected = given;
        expected.m_nFillShape = 5;
        expected.SetSymbol(SYMBOL_FILL, 21);
        expected.m_dwTextFlags = sheet.GetGeoView().m_dwTextFlags;  // the stored flags: their own test
        EXPECT_EQ(Dump(sheet.GetGeoView()), Dump(expected));
        EXPECT_EQ(sheet.GetGeoView().GetFontType(), FONT_SLANT);
        UINT w = 0, h = 0;
        sheet.GetAnnoSize(w, h);
        EXPECT_EQ(w, 30u);
        EXPECT_EQ(h, 45u);
    }
    {
        // Cancel: the style given, even after edits on several pages.
        CStyleSheet sheet("显示风格设置", nullptr, 0);
        sheet.SetData(given, nullptr, 0, 50, 50);
        m_session.ExpectSheet("", [&](CPropertySheet& s) {
            afxtest::Type(sheet.m_pagePoint, 1068, "99");
            afxtest::ActivatePage(s, 1);
            afxtest::Click(sheet.m_pageLine, 1053);
            afxtest::Cancel(s);
        });
        EXPECT_EQ(sheet.DoModal(), 2);
        EXPECT_EQ(Dump(sheet.GetGeoView()), Dump(given));
    }
    EXPECT_TRUE(m_session.Verify());
}

TEST_F(StyleEditors, AnnotationSizeSetOnAnOpenPageShowsAtItsNextActivation) {
    CStyleSheet sheet("显示风格设置", nullptr, 3);
    sheet.SetData(Sample(), nullptr, 0, 50, 50);
    m_session.ExpectSheet("", [&](CPropertySheet& s) {
        CPropageStyleAnno& anno = sheet.m_pageAnno;
        EXPECT_FALSE(afxtest::IsVisible(anno, 1045));
        afxtest::ActivatePage(s, 0);
        UINT width = 80;
        anno.SetShowSize(1, &width, nullptr);
        afxtest::ActivatePage(s, 3);
        EXPECT_TRUE(afxtest::IsVisible(anno, 1045));
        EXPECT_EQ(afxtest::Text(anno, 1045), "80");
        EXPECT_EQ(afxtest::Text(anno, 1047), "50");
        afxtest::Ok(s);
    });
    EXPECT_EQ(sheet.DoModal(), 1);
    UINT w = 0, h = 0;
    sheet.GetAnnoSize(w, h);
    EXPECT_EQ(w, 80u);
    EXPECT_EQ(h, 50u);
    EXPECT_TRUE(m_session.Verify());
}

TEST_F(StyleEditors, StylePageOpensTheSheetAtEachButtonsKindAndKeepsWhatOkReturns) {
    const GEOVIEW given = Sample();
    CSDStylePage page;
    page.SetData(given, &m_lib, 0);
    CPropertySheet host("图层属性");
    host.AddPage(&page);
    afxtest::MessageSpy spy;
    HWND hostWnd = nullptr;
    m_session.ExpectSheet("图层属性", [&](CPropertySheet& s) {
        hostWnd = s.m_hWnd;
        for (int id : {1038, 1039, 1040, 1041}) EXPECT_TRUE(afxtest::IsEnabled(page, id)) << id;
        EXPECT_EQ(page.m_stcPoint.m_nKind, 1);
        EXPECT_EQ(page.m_stcPointSymbol.m_nKind, 0);
        EXPECT_EQ(page.m_stcLine.m_nKind, 2);
        EXPECT_EQ(page.m_stcLineSymbol.m_nKind, 1);
        EXPECT_EQ(page.m_stcFill.m_nKind, 3);
        EXPECT_EQ(page.m_stcFillSymbol.m_nKind, 2);
        EXPECT_EQ(page.m_stcAnno.m_nKind, 4);
        EXPECT_EQ(page.m_stcLineSymbol.m_pSymbolLib, &m_lib);

        const int buttons[4] = {1038, 1039, 1040, 1041};
        for (int kind = 0; kind < 4; ++kind) {
            m_session.ExpectSheet("显示风格设置", [&](CPropertySheet& style) {
                EXPECT_EQ(style.GetActiveIndex(), kind);
                afxtest::Cancel(style);
            });
            afxtest::Click(page, buttons[kind]);
        }
        EXPECT_FALSE(page.IsModified());
        EXPECT_EQ(Dump(page.GetGeoView()), Dump(given));

        m_session.ExpectSheet("显示风格设置", [&](CPropertySheet& style) {
            afxtest::Type(*style.GetActivePage(), 1068, "33");
            afxtest::Ok(style);
        });
        afxtest::Click(page, 1038);
        EXPECT_TRUE(page.IsModified());
        EXPECT_EQ(page.GetGeoView().m_nPointSize, 33);
        EXPECT_EQ(page.m_stcPoint.m_GeoView.m_nPointSize, 33);  // the previews show it

        // A style page of the host's sheet tells its edits through UpdatePart.
        GEOVIEW part;
        part.m_crFillColor = 0x00FFFF;
        part.m_nFillShape = 2;
        page.UpdatePart(part, STYLEPAGE_FILL);
        EXPECT_EQ(page.m_stcFill.m_GeoView.m_crFillColor, 0x00FFFFu);
        EXPECT_EQ(page.GetGeoView().m_nPointSize, 33);
        afxtest::Ok(s);
    });
    host.DoModal();
    // OK leaves the page (0x484) and applies it (0x483), both with wParam 7, to the page's parent.
    const auto left = spy.Of(WM_SDSTYLE_KILLACTIVE), applied = spy.Of(WM_SDSTYLE_APPLY);
    ASSERT_EQ(left.size(), 1u);
    ASSERT_EQ(applied.size(), 1u);
    EXPECT_EQ(applied[0].wParam, 7u);
    EXPECT_EQ(applied[0].lParam, 0);
    EXPECT_EQ(left[0].wParam, 7u);
    EXPECT_EQ(applied[0].to, hostWnd);
    EXPECT_TRUE(m_session.Verify());
}

TEST_F(StyleEditors, StylePageWithoutButtonsOnlyShows) {
    CSDStylePage page;
    page.SetData(Sample(), nullptr, 1);
    CPropertySheet host("地物类属性");
    host.AddPage(&page);
    m_session.ExpectSheet("", [&](CPropertySheet& s) {
        for (int id : {1038, 1039, 1040, 1041}) EXPECT_FALSE(afxtest::IsEnabled(page, id)) << id;
        // Without a library the symbol previews stay empty.
        EXPECT_TRUE(Painted(page.m_stcPointSymbol).empty());
        afxtest::Cancel(s);
    });
    host.DoModal();
    EXPECT_TRUE(m_session.Verify());
}

TEST_F(StyleEditors, PreviewsDrawTheirPartOnTheControl) {
    CSDStylePage page;
    page.SetData(Sample(), &m_lib, 0);
    CPropertySheet host("图层属性");
    host.AddPage(&page);
    m_session.ExpectSheet("", [&](CPropertySheet& s) {
        CGeoViewPreview& pv = page.m_stcLine;
        CRect rc;
        pv.GetClientRect(&rc);
        const int w = rc.Width(), h = rc.Height();
        ASSERT_GT(w, 20);

        // Line: the zigzag with the style's pen (width cut to 3).
        GEOVIEW gv = Sample();
        pv.SetData(gv, 2);
        auto lines = Calls(Painted(pv), "Polyline");
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_TRUE(Same(lines[0].points, Pts({{w / 7, h / 7 * 6}, {w / 7 * 3, h / 7 * 2}, {w / 7 * 5, h / 7 * 5},
                                               {w / 7 * 6, h / 7}})));
        EXPECT_EQ(lines[0].pen.lopnWidth.x, 3);
        EXPECT_EQ(lines[0].pen.lopnColor, 0x00FF00u);

        // Fill: solid and opaque, hatched, and transparent.
        const int d = w / 10, c = h / 10;
        const auto outline = Pts({{d, 9 * c}, {d, 6 * c}, {3 * d, 3 * c}, {5 * d, 4 * c}, {7 * d, 2 * c}, {9 * d, 6 * c},
                                  {9 * d, 9 * c}});
        const struct {
            int shape, transparent;
            UINT brushStyle;
            int rop2;
        } fills[] = {{0, 0, BS_SOLID, R2_COPYPEN}, {5, 0, BS_HATCHED, R2_COPYPEN}, {0, 1, BS_SOLID, R2_MASKPEN}};
        for (const auto& f : fills) {
            gv.m_nFillShape = f.shape;
            gv.m_bTransparent = f.transparent;
            pv.SetData(gv, 3);
            auto polys = Calls(Painted(pv), "Polygon");
            ASSERT_EQ(polys.size(), 1u) << f.shape;
            EXPECT_TRUE(Same(polys[0].points, outline)) << f.shape;
            EXPECT_EQ(polys[0].brush.lbStyle, f.brushStyle) << f.shape;
            EXPECT_EQ(polys[0].brush.lbColor, 0xFF0000u) << f.shape;
            EXPECT_EQ(polys[0].rop2, f.rop2) << f.shape;
        }

        // Point: the shape's character in the marker font, point size high, in the point colour,
        // centred on a square of the point size.
        pv.SetData(gv, 1);
        auto texts = Calls(Painted(pv), "DrawText");
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0].text, "A");
        EXPECT_STREQ(texts[0].font.lfFaceName, "VOZivuz");
        EXPECT_EQ(std::abs(texts[0].font.lfHeight), 20);
        EXPECT_EQ(texts[0].textColor, 0x0000FFu);
        EXPECT_TRUE(Same(texts[0].points, Pts({{w / 2 - 10, h / 2 - 10}, {w / 2 + 10, h / 2 + 10}})));

        // Annotation: the sample text, inside the rectangle shrunk by 8.
        pv.SetData(gv, 4);
        bool drewText = false;
        for (const auto& r : Painted(pv))
            if (r.call == "TextOut" || r.call == "ExtTextOut") {
                drewText = true;
                EXPECT_EQ(r.textColor, 0x112233u);
            }
        EXPECT_TRUE(drewText);

        // Any other kind: nothing.
        pv.SetData(gv, 5);
        for (const auto& r : Painted(pv)) ADD_FAILURE() << "drew " << r.ToString();

        // The symbol previews draw the legend of a symbol of their kind, and nothing for another kind.
        CGeoViewSymbolPreview& sp = page.m_stcPointSymbol;
        gv.SetSymbol(SYMBOL_POINT, 2);
        sp.SetData(gv, 0, &m_lib);
        EXPECT_FALSE(Painted(sp).empty());
        gv.SetSymbol(SYMBOL_POINT, 12);  // a line symbol
        sp.SetData(gv, 0, &m_lib);
        EXPECT_TRUE(Painted(sp).empty());
        afxtest::Cancel(s);
    });
    host.DoModal();
    EXPECT_TRUE(m_session.Verify());
}

TEST(CopyGeoViewPart, CopiesOnePartAndNothingElse) {
    const GEOVIEW src = Sample();
    const GEOVIEW dflt;
    struct Case {
        UINT kind;
        void (*expect)(GEOVIEW&, const GEOVIEW&);
    };
    const Case cases[] = {
        {0, [](GEOVIEW& e, const GEOVIEW& s) {
             e.m_nPointShape = s.m_nPointShape;
             e.m_crPointColor = s.m_crPointColor;
             e.m_nPointSize = s.m_nPointSize;
             e.SetSymbol(SYMBOL_POINT, s.GetSymbol(SYMBOL_POINT));
         }},
        {1, [](GEOVIEW& e, const GEOVIEW& s) {
             e.m_nLineShape = s.m_nLineShape;
             e.m_crLineColor = s.m_crLineColor;
             e.m_fLineWidth = s.m_fLineWidth;
             e.SetSymbol(SYMBOL_LINE, s.GetSymbol(SYMBOL_LINE));
         }},
        {2, [](GEOVIEW& e, const GEOVIEW& s) {
             e.m_nFillShape = s.m_nFillShape;
             e.m_crFillColor = s.m_crFillColor;
             e.m_bTransparent = s.m_bTransparent;
             e.SetSymbol(SYMBOL_FILL, s.GetSymbol(SYMBOL_FILL));
         }},
        {3, [](GEOVIEW& e, const GEOVIEW& s) {
             e.SetFaceName(s.m_szFaceName);
             e.m_crAnnoColor = s.m_crAnnoColor;
             e.m_nBufferWidth = s.m_nBufferWidth;
             e.m_dwTextFlags = 0x02 | 0x04 | 0x100;  // left slanted and bold; no background
         }},
        {4, [](GEOVIEW&, const GEOVIEW&) {}},
    };
    for (const auto& c : cases) {
        GEOVIEW target;
        CopyGeoViewPart(&target, &src, c.kind);
        GEOVIEW expected = dflt;
        c.expect(expected, src);
        EXPECT_EQ(Dump(target), Dump(expected)) << c.kind;
    }
    GEOVIEW left;
    CopyGeoViewPart(&left, &src, 3);
    EXPECT_EQ(left.GetFontType(), FONT_SLANT);
}
