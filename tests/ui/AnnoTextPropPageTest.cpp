// The annotation's text page and its dialogs driven as a person would, through the annotation's own
// property-page hooks on a tree sheet: what the page shows, its handlers and refusals, what OK writes
// back and what Cancel leaves; and the insert-character dialog of InsertPointAfter.
#include "annotation/AnnoDefaults.h"
#include "annotation/GeoAnno.h"
#include "core/PropertyParam.h"

#include <afx/afxtest.h>
#include <caddox/TPropertySheet.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// Everything the page can change, and the points and angles of every character.
std::string Dump(const CGeoAnno& a) {
    CString s;
    const tagGEORECT m = const_cast<CGeoAnno&>(a).GetGeoRect();
    const tagGEOFORMAT f = a.GetGeoFormat();
    s.Format("%s|h%d w%d c%d r%d|al%d pt%d st%02x mv%d|or%g it%g lw%g bc%06x|m%d,%d,%d,%d|f%d,%d,%d,%d,%g|",
             static_cast<LPCSTR>(a.GetName()), a.GetCharHeight(), a.GetCharWidthA(), a.GetSpace(), a.GetRowSpace(),
             a.GetAlignType(), a.GetPositionType(), a.GetStyleFlags(), a.GetMoveFlag(), a.GetOrientAngle(),
             a.GetItalicAngle(), a.GetLineWidth(), a.GetBackColor(), m.left, m.right, m.top, m.bottom, f.hor, f.ver,
             f.fen_hor, f.fen_ver, f.fen_shu_width);
    std::string out = static_cast<LPCSTR>(s);
    for (int i = 0; i < a.GetPoints(); ++i) {
        const CPoint p = a.GetPositionPoint(i);
        s.Format("(%d,%d,%g)", p.x, p.y, a.GetEscapeAngle(i));
        out += static_cast<LPCSTR>(s);
    }
    return out;
}

// Single-point text at the origin, sizes in millimetres (the default unit).
std::unique_ptr<CGeoAnno> Text(const char* text, int h, int w, int type = 0) {
    return std::make_unique<CGeoAnno>(CString(text), CPoint(0, 0), h, w, 0.0f, 0.0f, 0, type, 1, 0, 0, 0, 0);
}

class AnnoTextPage : public ::testing::Test {
protected:
    void SetUp() override {
        m_session.SetFailureHandler([](const std::string& m) { ADD_FAILURE() << m; });
        m_param.m_nScale = 1;
    }
    void TearDown() override { SetCurrentGeoAnno(GEOANNO()); }

    // The sheet the object sheet makes, with only the annotation's page: OK reaches OnPropertyPageOK,
    // Cancel OnPropertyPageCancel. The script acts on the page.
    INT_PTR Run(CGeoAnno& a, std::function<void(CPropertySheet&, CPropertyPage&)> act, tagPropertyParam* param,
                int readOnly = 0) {
        m_session.ExpectSheet("矢量对象属性", [&](CPropertySheet& sh) {
            ASSERT_EQ(sh.GetPageCount(), 1);
            act(sh, *sh.GetPage(0));
        });
        CTPropertySheet sheet("矢量对象属性");
        a.OnAddPropertyPage(&sheet, param, readOnly);
        const INT_PTR r = sheet.DoModal();
        if (r == IDOK)
            a.OnPropertyPageOK();
        else
            a.OnPropertyPageCancel();
        EXPECT_TRUE(m_session.Verify());
        return r;
    }
    INT_PTR Run(CGeoAnno& a, std::function<void(CPropertySheet&, CPropertyPage&)> act) {
        return Run(a, act, &m_param);
    }

    afxtest::Session m_session;
    tagPropertyParam m_param;
};

bool MultiLine(CPropertyPage& p) { return (p.GetDlgItem(1001)->GetStyle() & ES_MULTILINE) != 0; }

}  // namespace

TEST_F(AnnoTextPage, ShowsSizesInTenthsOfAMillimetreAtTheMapScale) {
    // Equal sizes open by type-size name when the table has one (5 mm is "小三", 9 mm has none).
    struct Case {
        int h, w, s;
        const char* height;
        bool byName;
        const char* name;
    } cases[] = {
        {5, 5, 1, "50", true, "小三"},
        {6, 5, 1, "60", false, ""},
        {9, 9, 1, "90", false, ""},
        {5000, 5000, 1000, "50", true, "小三"},  // 5 m on the ground at 1 : 1000
    };
    for (const Case& c : cases) {
        auto a = Text("注记", c.h, c.w);
        a->SetSpace(c.h / 5);
        m_param.m_nScale = c.s;
        Run(*a, [&](CPropertySheet& sh, CPropertyPage& p) {
            EXPECT_EQ(afxtest::Text(&p), "文字");
            EXPECT_EQ(afxtest::Text(p, 1001), "注记");
            EXPECT_EQ(afxtest::Text(p, 1030), c.height);
            EXPECT_EQ(afxtest::Text(p, 1032), "10");
            EXPECT_EQ(afxtest::CheckState(p, 1043) == BST_CHECKED, c.byName) << c.h;
            EXPECT_EQ(afxtest::IsEnabled(p, 1042), c.byName);
            EXPECT_EQ(afxtest::IsEnabled(p, 1030), !c.byName);
            if (c.byName) {
                EXPECT_EQ(afxtest::Text(p, 1042), c.name);
            }
            EXPECT_EQ(afxtest::Text(p, 1040), "左下对齐");
            EXPECT_EQ(afxtest::Text(p, 1066), "单点");
            EXPECT_EQ(afxtest::Text(p, 1054), "15");  // the default italic angle, 150 tenths
            EXPECT_EQ(afxtest::Items(p, 1042).size(), 38u);
            afxtest::Cancel(sh);
        });
    }
}

TEST_F(AnnoTextPage, SizeEditsKeepTheRatioAndTypeSizesSetBoth) {
    auto a = Text("注记", 2, 1);  // shown 20 high, 10 wide: ratio 0.5
    Run(*a, [](CPropertySheet& sh, CPropertyPage& p) {
        EXPECT_EQ(afxtest::CheckState(p, 1041), BST_CHECKED);
        afxtest::Type(p, 1030, "40");
        EXPECT_EQ(afxtest::Text(p, 1031), "20");
        afxtest::Type(p, 1031, "30");
        EXPECT_EQ(afxtest::Text(p, 1030), "60");
        afxtest::Check(p, 1041, false);
        afxtest::Type(p, 1030, "80");
        EXPECT_EQ(afxtest::Text(p, 1031), "30");
        afxtest::Check(p, 1041, true);  // the ratio is taken anew: 30 / 80
        afxtest::Type(p, 1030, "160");
        EXPECT_EQ(afxtest::Text(p, 1031), "60");
        afxtest::Click(p, 1043);  // by name: the combo takes over from the edits
        EXPECT_FALSE(afxtest::IsEnabled(p, 1030));
        afxtest::Select(p, 1042, "小三");
        EXPECT_EQ(afxtest::Text(p, 1030), "50");
        EXPECT_EQ(afxtest::Text(p, 1031), "50");
        afxtest::Ok(sh);
    });
    EXPECT_EQ(a->GetCharHeight(), 5);
    EXPECT_EQ(a->GetCharWidthA(), 5);
}

TEST_F(AnnoTextPage, ItalicAngleIsFoldedIntoItsRange) {
    struct Case {
        const char* typed;
        const char* shown;
    } cases[] = {{"95", "15"}, {"-30", "30"}, {"80", "80"}, {"160.5", "0.5"}, {"12", "12"}};
    auto a = Text("注记", 5, 5);
    Run(*a, [&](CPropertySheet& sh, CPropertyPage& p) {
        for (const Case& c : cases) {
            afxtest::Type(p, 1054, c.typed);
            EXPECT_EQ(afxtest::Text(p, 1054), c.shown) << c.typed;
        }
        afxtest::Ok(sh);
    });
    EXPECT_FLOAT_EQ(a->GetItalicAngle(), 120.0f);
}

TEST_F(AnnoTextPage, ControlStatesFollowFormatPlacementAndArrangement) {
    auto a = Text("注记", 5, 5);
    Run(*a, [](CPropertySheet& sh, CPropertyPage& p) {
        EXPECT_TRUE(MultiLine(p));
        EXPECT_FALSE(afxtest::IsVisible(p, 1048));
        EXPECT_FALSE(afxtest::IsVisible(p, 1049));

        afxtest::Select(p, 1058, "雁行字列");  // echelon: drag mode 1, one row
        EXPECT_EQ(afxtest::CheckState(p, 1468), BST_CHECKED);
        EXPECT_FALSE(MultiLine(p));
        EXPECT_FALSE(afxtest::IsEnabled(p, 1047));
        EXPECT_FALSE(afxtest::IsEnabled(p, 1066));
        afxtest::Select(p, 1058, "横排字列");
        EXPECT_TRUE(MultiLine(p));

        afxtest::Click(p, 1047);  // formatted
        EXPECT_TRUE(afxtest::IsVisible(p, 1048));
        EXPECT_FALSE(afxtest::IsEnabled(p, 1467));
        EXPECT_FALSE(afxtest::IsEnabled(p, 1058));
        EXPECT_FALSE(afxtest::IsEnabled(p, 1066));
        afxtest::Click(p, 1047);

        afxtest::Select(p, 1066, "方框");
        EXPECT_TRUE(afxtest::IsVisible(p, 1049));
        EXPECT_FALSE(afxtest::IsEnabled(p, 1047));
        EXPECT_TRUE(afxtest::IsEnabled(p, 1032));
        afxtest::Select(p, 1066, "多点");
        EXPECT_FALSE(afxtest::IsVisible(p, 1049));
        EXPECT_FALSE(afxtest::IsEnabled(p, 1032));
        EXPECT_FALSE(afxtest::IsEnabled(p, 1033));
        EXPECT_FALSE(afxtest::IsEnabled(p, 1486));
        EXPECT_FALSE(MultiLine(p));
        afxtest::Cancel(sh);
    });
}

TEST_F(AnnoTextPage, RefusedValuesKeepThePageOpenAndCancelChangesNothing) {
    auto a = Text("注记", 5, 5);
    a->SetItalicAngle(100.0f);
    const std::string before = Dump(*a);
    Run(*a, [this](CPropertySheet& sh, CPropertyPage& p) {
        afxtest::Type(p, 1001, "(1/2");
        afxtest::Type(p, 1032, "25");
        afxtest::Select(p, 1040, "中心对齐");
        afxtest::Click(p, 1044);
        afxtest::Type(p, 1030, "0");
        m_session.ExpectMessageBox("", IDOK);  // char height 0: out of range
        afxtest::Ok(sh);
        EXPECT_FALSE(sh.IsEnded());
        afxtest::Type(p, 1030, "50");
        afxtest::Click(p, 1047);
        m_session.ExpectMessageBox("格式化注记的字符串的格式有误，请检查！", IDOK);  // unbalanced brackets
        afxtest::Ok(sh);
        EXPECT_FALSE(sh.IsEnded());
        afxtest::Cancel(sh);
    });
    EXPECT_EQ(Dump(*a), before);
}

TEST_F(AnnoTextPage, OkWithoutChangesKeepsTheAnnotationExactly) {
    // Sizes that do not survive the trip through tenths of a millimetre (inches truncate), and the
    // characters' own angles of a multi-point annotation.
    auto inch = Text("注记", 3, 2);
    inch->SetUnit(1);
    inch->SetGeoRect(tagGEORECT{1, 1, 1, 1});
    auto multi = Text("文字注记", 5, 5, 6);
    for (int i = 0; i < 4; ++i) {
        CPoint p(60 * i, 5 * i);
        float angle = 100.0f * i;
        multi->SetAt(i, &p, &angle, nullptr);
    }
    multi->CalculateAnnoBounds();
    for (CGeoAnno* a : {inch.get(), multi.get()}) {
        const std::string before = Dump(*a);
        m_param.m_nScale = 3;
        Run(*a, [](CPropertySheet& sh, CPropertyPage&) { afxtest::Ok(sh); });
        EXPECT_EQ(Dump(*a), before);
        // Without a param the page shows the sizes at scale 1, so OK still gives back what it got.
        Run(*a, [](CPropertySheet& sh, CPropertyPage&) { afxtest::Ok(sh); }, nullptr);
        EXPECT_EQ(Dump(*a), before);
    }
}

TEST_F(AnnoTextPage, OkWritesThePageBackInItsOrder) {
    auto a = Text("注记", 5, 5);
    Run(*a, [](CPropertySheet& sh, CPropertyPage& p) {
        afxtest::Type(p, 1001, "新注记");
        afxtest::Select(p, 1040, "中心对齐");
        afxtest::Type(p, 1034, "30");
        afxtest::Type(p, 1032, "20");
        afxtest::Click(p, 1057);
        afxtest::Click(p, 1469);
        afxtest::Ok(sh);
    });
    EXPECT_EQ(a->GetName(), CString("新注记"));
    EXPECT_EQ(a->GetAlignType(), 4);
    EXPECT_FLOAT_EQ(a->GetEscapeAngle(0), 300.0f);
    EXPECT_FLOAT_EQ(a->GetOrientAngle(), 300.0f);
    EXPECT_EQ(a->GetSpace(), 2);
    EXPECT_TRUE(a->GetShowFrame());
    EXPECT_EQ(a->GetMoveFlag(), 2);

    // Vertical text becomes one row.
    a->SetName("上\r\n下");
    Run(*a, [](CPropertySheet& sh, CPropertyPage& p) {
        afxtest::Select(p, 1058, "竖排字列");
        afxtest::Ok(sh);
    });
    EXPECT_EQ(a->GetName(), CString("上下"));
    EXPECT_EQ(a->GetArrayStyle(), ARRAY_VERTICAL);
}

TEST_F(AnnoTextPage, PlacementBoxConvertsBeforeTheSizesAreTaken) {
    auto a = Text("注记文字", 6, 5);
    CPoint corners[4];
    a->GetFourPoints(corners, 0, -1);
    Run(*a, [](CPropertySheet& sh, CPropertyPage& p) {
        afxtest::Select(p, 1066, "方框");
        afxtest::Check(p, 1041, false);
        afxtest::Type(p, 1030, "120");  // twice the size, taken after the conversion
        afxtest::Type(p, 1031, "100");
        afxtest::Ok(sh);
    });
    EXPECT_EQ(a->GetPositionType(), 2);
    CRect box = a->GetBounds();
    box.NormalizeRect();
    CRect text(corners[0], corners[2]);
    text.NormalizeRect();
    EXPECT_EQ(box, text);  // the box is the text's box at the old size
    EXPECT_EQ(a->GetCharHeight(), 12);
    EXPECT_EQ(a->GetCharWidthA(), 10);
}

TEST_F(AnnoTextPage, MultiPointTextGetsOnePointPerCharacter) {
    struct Case {
        const char* text;
        int points;
    } cases[] = {{"一二三", 3}, {"一二三四五六七", 7}, {"一二三四五", 5}};
    for (const Case& c : cases) {
        auto a = Text("一二三四五", 5, 5, 6);
        for (int i = 0; i < 5; ++i) a->SetPositionPoint(CPoint(100 * i, 0), i);
        Run(*a, [&](CPropertySheet& sh, CPropertyPage& p) {
            EXPECT_EQ(afxtest::Text(p, 1066), "多点");
            afxtest::Type(p, 1001, c.text);
            afxtest::Ok(sh);
        });
        ASSERT_EQ(a->GetPoints(), c.points) << c.text;
        EXPECT_EQ(a->GetPositionType(), 6);
        for (int i = 0; i < std::min(c.points, 5); ++i) EXPECT_EQ(a->GetPositionPoint(i), CPoint(100 * i, 0));
        for (int i = 5; i < c.points; ++i)  // laid on after the last point
            EXPECT_GT(a->GetPositionPoint(i).x, a->GetPositionPoint(i - 1).x) << i;
    }
}

TEST_F(AnnoTextPage, BoxAndFormatDialogsShowTenthsAtTheScale) {
    auto box = std::make_unique<CGeoAnno>(CString("方框注记"), CRect(0, 100, 200, 0), 5, 5, tagGEORECT{12, 12, 12, 12},
                                          0, 0, 0, 0);
    Run(*box, [&](CPropertySheet& sh, CPropertyPage& p) {
        EXPECT_EQ(afxtest::Text(p, 1066), "方框");
        ASSERT_TRUE(afxtest::IsVisible(p, 1049));
        m_session.ExpectDialog(2034, [](CDialog& d) {
            EXPECT_EQ(afxtest::Text(&d), "方框注记设置");
            EXPECT_EQ(afxtest::Text(d, 1042), "120");
            afxtest::Type(d, 1042, "125");  // 12.5 mm: rounded to 13
            afxtest::Type(d, 1045, "-1");   // refused by its range
            afxtest::Ok(d);
            EXPECT_FALSE(d.IsEnded());
            afxtest::Type(d, 1045, "40");
            afxtest::Ok(d);
        });
        m_session.ExpectMessageBox("", IDOK);
        afxtest::Click(p, 1049);
        m_session.ExpectDialog(2034, [](CDialog& d) {
            EXPECT_EQ(afxtest::Text(d, 1042), "130");
            afxtest::Type(d, 1043, "500");
            afxtest::Cancel(d);
        });
        afxtest::Click(p, 1049);
        afxtest::Ok(sh);
    });
    const tagGEORECT m = box->GetGeoRect();
    EXPECT_EQ(m.left, 13);
    EXPECT_EQ(m.right, 12);
    EXPECT_EQ(m.bottom, 4);

    tagGEOFORMAT spacing{10, 20, 30, 40, 2.0f};
    auto formatted = std::make_unique<CGeoAnno>(CString("1/2"), CPoint(0, 0), 5, 5, spacing, 0.0f, 0.0f, 0, 0, 0);
    m_param.m_nScale = 4;  // shown as value * 10 / 4
    Run(*formatted, [&](CPropertySheet& sh, CPropertyPage& p) {
        m_session.ExpectDialog(2040, [](CDialog& d) {
            EXPECT_EQ(afxtest::Text(&d), "定义格式化文本参数");
            EXPECT_EQ(afxtest::Text(d, 1500), "25");
            EXPECT_EQ(afxtest::Text(d, 1503), "100");
            EXPECT_EQ(afxtest::Text(d, 1504), "5");
            afxtest::Type(d, 1501, "51");  // 20.4 mm: 20
            afxtest::Type(d, 1504, "7");   // 2.8 mm
            afxtest::Ok(d);
        });
        afxtest::Click(p, 1048);
        afxtest::Ok(sh);
    });
    const tagGEOFORMAT f = formatted->GetGeoFormat();
    EXPECT_EQ(f.hor, 10);
    EXPECT_EQ(f.ver, 20);
    EXPECT_FLOAT_EQ(f.fen_shu_width, 2.8f);
}

TEST_F(AnnoTextPage, ReadOnlyPageOffersNothingToEdit) {
    auto a = Text("注记", 5, 5);
    Run(
        *a,
        [](CPropertySheet& sh, CPropertyPage& p) {
            for (int id : {1001, 1040, 1030, 1031, 1042, 1043, 1044, 1041, 1047, 1034, 1032, 1033, 1486, 1066, 1054,
                           1053, 1055, 1058, 1056, 1057, 1467, 1050})
                EXPECT_FALSE(afxtest::IsEnabled(p, id)) << id;
            afxtest::Ok(sh);
        },
        &m_param, 1);
}

TEST_F(AnnoTextPage, InsertPointAfterAsksForCharactersAndTheirAngle) {
    auto a = Text("一二三", 5, 5, 6);
    for (int i = 0; i < 3; ++i) a->SetPositionPoint(CPoint(100 * i, 0), i);
    m_session.ExpectDialog(2041, [](CDialog& d) {
        EXPECT_EQ(afxtest::Text(&d), "插入字符");
        afxtest::Type(d, 1067, "甲乙");
        afxtest::Type(d, 1068, "400");  // above 360: refused
        afxtest::Ok(d);
        EXPECT_FALSE(d.IsEnded());
        afxtest::Type(d, 1068, "90");
        afxtest::Ok(d);
    });
    m_session.ExpectMessageBox("", IDOK);
    EXPECT_EQ(a->InsertPointAfter(150, 0, 1), 0);  // the result says nothing; the text does
    EXPECT_EQ(a->GetName(), CString("一二甲乙三"));
    ASSERT_EQ(a->GetPoints(), 5);
    EXPECT_EQ(a->GetPositionPoint(2), CPoint(150, 0));
    EXPECT_FLOAT_EQ(a->GetEscapeAngle(2), 900.0f);
    EXPECT_FLOAT_EQ(a->GetEscapeAngle(3), 900.0f);
    EXPECT_EQ(a->GetPositionPoint(4), CPoint(200, 0));

    const std::string before = Dump(*a);
    m_session.ExpectDialog(2041, [](CDialog& d) {
        afxtest::Type(d, 1067, "丙");
        afxtest::Cancel(d);
    });
    a->InsertPointAfter(0, 0, 4);  // after the last character
    EXPECT_EQ(Dump(*a), before);
    // Nothing is asked where nothing could be inserted (the strict session fails on any dialog).
    a->InsertPointAfter(0, 0, 5);
    auto single = Text("一二三", 5, 5);
    single->InsertPointAfter(0, 0, 0);
    EXPECT_EQ(single->GetName(), CString("一二三"));
    EXPECT_TRUE(m_session.Verify());
}

TEST_F(AnnoTextPage, TheObjectSheetCarriesTheTextPage) {
    auto a = Text("注记", 5, 5);
    m_session.ExpectSheet("矢量对象属性", [](CPropertySheet& sh) {
        int text = -1;
        for (int i = 0; i < sh.GetPageCount(); ++i)
            if (sh.GetPage(i)->GetCaption() == CString("文字")) text = i;
        ASSERT_GE(text, 0);
        ASSERT_TRUE(afxtest::ActivatePage(sh, text));
        afxtest::Type(*sh.GetPage(text), 1001, "新注记");
        afxtest::Type(*sh.GetPage(text), 1034, "45");
        afxtest::Ok(sh);
    });
    EXPECT_EQ(a->EditProperties(0, 0, &m_param), 1);
    EXPECT_EQ(a->GetName(), CString("新注记"));
    EXPECT_FLOAT_EQ(a->GetEscapeAngle(0), 450.0f);

    const std::string before = Dump(*a);
    m_session.ExpectSheet("矢量对象属性", [](CPropertySheet& sh) {
        for (int i = 0; i < sh.GetPageCount(); ++i)
            if (sh.GetPage(i)->GetCaption() == CString("文字")) {
                afxtest::ActivatePage(sh, i);
                afxtest::Type(*sh.GetPage(i), 1001, "不要");
            }
        afxtest::Cancel(sh);
    });
    EXPECT_EQ(a->EditProperties(0, 0, &m_param), 0);
    EXPECT_EQ(Dump(*a), before);
    EXPECT_TRUE(m_session.Verify());
}
