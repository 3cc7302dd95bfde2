// The field dialogs driven as a person would: the refusals of both dialogs as tables (message, focus,
// dialog kept open), the type list's enabling and defaults, and what the caller reads after OK.
#include "ui/FieldDefDlg.h"
#include "ui/FieldPropDlg.h"

#include <afx/afxtest.h>

#include <gtest/gtest.h>

#include <string>

namespace {

afxtest::Session* Strict(afxtest::Session& s) {
    s.SetFailureHandler([](const std::string& m) { ADD_FAILURE() << m; });
    return &s;
}

// A list whose column 0 holds the names already used, in a window of its own.
class NameList {
public:
    explicit NameList(std::initializer_list<const char*> names) {
        m_host.CreateEx(0, AfxRegisterWndClass(0), "host", WS_POPUP, CRect(0, 0, 400, 300), nullptr, 0);
        m_list.Create(LVS_REPORT | WS_VISIBLE, CRect(0, 0, 300, 200), &m_host, 1138);
        m_list.InsertColumn(0, "字段名");
        int i = 0;
        for (const char* n : names) m_list.InsertItem(i++, n);
    }
    ~NameList() {
        m_list.DestroyWindow();
        m_host.DestroyWindow();
    }
    CListCtrl* List() { return &m_list; }

private:
    CWnd m_host;
    CListCtrl m_list;
};

CDaoFieldInfo Field(const char* name, short type, LONG size) {
    CDaoFieldInfo f;
    f.m_strName = name;
    f.m_nType = type;
    f.m_lSize = size;
    return f;
}

int ComboSel(CDialog& d, int id) { return static_cast<CComboBox*>(d.GetDlgItem(id))->GetCurSel(); }

}  // namespace

TEST(FieldPropDlg, RefusalsKeepTheDialogOpenWithTheFieldFocused) {
    const struct {
        int id;             // the control typed into
        const char* typed;  // what is typed there
        const char* box;    // "" for data exchange's own message
        int focus;          // the control focused afterwards
        const char* fixed;  // what makes it pass
    } cases[] = {
        {1024, "", "请输入字段名!", 1024, "面积"},
        {1024, "Name", "字段名不能重复!", 1024, "Name2"},  // "NAME" is in the list: case is ignored
        {1024, "编码", "字段名不能重复!", 1024, "编码2"},
        {1116, "256", "", 1116, "255"},
        {1117, "300", "", 1117, "255"},  // wider than the size's eight bits
        {1118, "11", "", 1118, "10"},
    };
    for (const auto& c : cases) {
        afxtest::Session s;
        Strict(s);
        NameList names{"NAME", "编码"};
        CFieldPropDlg dlg;
        dlg.SetData(names.List(), 1, nullptr);
        s.ExpectDialog(2031, [&](CDialog& d) {
            afxtest::Type(d, 1024, "面积");
            afxtest::Select(d, 1025, "浮点数");
            afxtest::Type(d, c.id, c.typed);
            afxtest::Ok(d);
            EXPECT_FALSE(d.IsEnded()) << c.typed;
            EXPECT_EQ(afxtest::FocusId(), c.focus) << c.typed;
            EXPECT_EQ(afxtest::Selection(d, c.focus).second, (int)std::string(c.typed).size()) << c.typed;
            afxtest::Type(d, c.id, c.fixed);
            afxtest::Ok(d);
        });
        s.ExpectMessageBox(c.box, IDOK);
        EXPECT_EQ(dlg.DoModal(), IDOK) << c.typed;
        EXPECT_TRUE(s.Verify()) << c.typed;
    }
}

TEST(FieldPropDlg, EditModeShowsTheFieldAndChecksOnlyAChangedName) {
    afxtest::Session s;
    Strict(s);
    NameList names{"Area", "Code"};
    CDaoFieldInfo area = Field("Area", dbDouble, GetFieldSize(dbDouble, 12, 10, 3));
    area.m_strDefaultValue = "0";
    area.m_bRequired = 1;
    area.m_lAttributes = dbVariableField;

    // Unchanged name passes although the list holds it; a change of case alone meets its own row.
    CFieldPropDlg dlg;
    dlg.SetData(names.List(), 0, &area);
    s.ExpectDialog(2031, [](CDialog& d) {
        EXPECT_EQ(afxtest::Text(d, 1024), "Area");
        EXPECT_EQ(ComboSel(d, 1025), 3);  // "浮点数"
        EXPECT_EQ(afxtest::Text(d, 1040), "输出宽度");
        EXPECT_EQ(afxtest::Text(d, 1116), "12");
        EXPECT_EQ(afxtest::Text(d, 1117), "10");
        EXPECT_EQ(afxtest::Text(d, 1118), "3");
        EXPECT_EQ(afxtest::Text(d, 1027), "0");
        EXPECT_EQ(ComboSel(d, 1029), 1);
        EXPECT_TRUE(afxtest::IsEnabled(d, 1118));
        afxtest::Type(d, 1024, "AREA");
        afxtest::Ok(d);
        EXPECT_FALSE(d.IsEnded());
        afxtest::Type(d, 1024, "Area");
        afxtest::Type(d, 1118, "4");
        afxtest::Ok(d);
    });
    s.ExpectMessageBox("字段名不能重复!", IDOK);
    ASSERT_EQ(dlg.DoModal(), IDOK);
    const CDaoFieldInfo out = dlg.GetFieldInfo();
    EXPECT_EQ(out.m_nType, dbDouble);
    EXPECT_EQ(out.m_lSize, GetFieldSize(dbDouble, 12, 10, 4));
    EXPECT_EQ(out.m_bRequired, 1);
    EXPECT_EQ(out.m_lAttributes, dbVariableField);  // what the dialog does not show is kept
    EXPECT_TRUE(s.Verify());
}

TEST(FieldPropDlg, TypeChangeSetsLabelEnablingAndDefaults) {
    const struct {
        const char* type;
        const char* label;
        bool sized, decimals;
        short dao;
    } cases[] = {
        {"浮点数", "输出宽度", true, true, dbDouble},  {"文本", "文本长度", true, false, dbText},
        {"短整数", "输出宽度", true, false, dbInteger}, {"长整数", "输出宽度", true, false, dbLong},
        {"是/否", "字段长度", false, false, dbBoolean}, {"日期", "字段长度", false, false, dbDate},
    };
    for (const auto& c : cases) {
        afxtest::Session s;
        Strict(s);
        CFieldPropDlg dlg;
        dlg.SetData(nullptr, 1, nullptr);
        s.ExpectDialog(2031, [&](CDialog& d) {
            EXPECT_EQ(afxtest::Text(d, 1040), "文本长度");
            EXPECT_FALSE(afxtest::IsEnabled(d, 1118));
            afxtest::Type(d, 1024, "f");
            afxtest::Select(d, 1025, c.type);
            int w = 0, l = 0, dec = 0;
            GetFieldSize(c.dao, -1, w, l, dec);
            EXPECT_EQ(afxtest::Text(d, 1040), c.label) << c.type;
            EXPECT_EQ(afxtest::IsEnabled(d, 1116), c.sized) << c.type;
            EXPECT_EQ(afxtest::IsEnabled(d, 1117), c.sized) << c.type;
            EXPECT_EQ(afxtest::IsEnabled(d, 1118), c.decimals) << c.type;
            EXPECT_EQ(afxtest::Text(d, 1116), std::to_string(w)) << c.type;
            EXPECT_EQ(afxtest::Text(d, 1117), std::to_string(l)) << c.type;
            EXPECT_EQ(afxtest::Text(d, 1118), std::to_string(dec)) << c.type;
            afxtest::Ok(d);
        });
        ASSERT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(dlg.GetFieldInfo().m_nType, c.dao) << c.type;
        EXPECT_TRUE(s.Verify());
    }
}

TEST(FieldPropDlg, ATypeTheListLacksIsKeptUnlessOneIsPicked) {
    for (short type : {static_cast<short>(dbByte), static_cast<short>(dbCurrency), static_cast<short>(dbMemo)}) {
        afxtest::Session s;
        Strict(s);
        CDaoFieldInfo f = Field("F", type, type == dbMemo ? 80 : 0);
        CFieldPropDlg kept;
        kept.SetData(nullptr, 0, &f);
        s.ExpectDialog(2031, [](CDialog& d) {
            EXPECT_EQ(ComboSel(d, 1025), -1);
            afxtest::Ok(d);
        });
        ASSERT_EQ(kept.DoModal(), IDOK);
        EXPECT_EQ(kept.GetFieldInfo().m_nType, type);
        EXPECT_EQ(kept.GetFieldInfo().m_lSize, type == dbMemo ? 80 : GetFieldSize(type, 3, 3, 0)) << type;

        CFieldPropDlg picked;
        picked.SetData(nullptr, 0, &f);
        s.ExpectDialog(2031, [](CDialog& d) {
            afxtest::Select(d, 1025, "文本");
            afxtest::Ok(d);
        });
        ASSERT_EQ(picked.DoModal(), IDOK);
        EXPECT_EQ(picked.GetFieldInfo().m_nType, dbText);
        EXPECT_TRUE(s.Verify());
    }
}

TEST(FieldPropDlg, ListTypeMapping) {
    const short expected[] = {dbText, dbByte, dbInteger, dbLong, dbDouble, dbBoolean, dbCurrency, dbDate, dbMemo, dbText};
    for (UINT i = 0; i < 10; ++i) EXPECT_EQ(ListTypeToDaoType(i), expected[i]) << i;
    EXPECT_EQ(ListTypeToDaoType(0xFFFFFFFFu), dbText);
}

TEST(FieldDefDlg, RefusalsAsATable) {
    const struct {
        const char* type;  // "" keeps text
        int fixed;         // 1 fixed length, 0 variable
        const char* name;
        const char* size;
        const char* def;
        int refusedAt;     // 0 accepted
        const char* stored;
    } cases[] = {
        {"", 0, "一二三四五六七八九十甲", "50", "", 1024, ""},  // 22 bytes
        {"", 0, "一二三四五六七八九十", "50", "", 0, "一二三四五六七八九十"},
        {"", 0, "  ", "50", "", 1024, ""},
        {"", 0, " ab cd ", "50", "", 0, "abcd"},
        {"", 0, "t", "256", "", 1026, ""},
        {"", 1, "t", "10", "abc", 1027, ""},
        {"", 1, "t", "3", "abc", 0, "t"},
        {"", 0, "t", "10", "abc", 0, "t"},
        {"", 0, "t", "2", "abc", 1027, ""},
        {"长整型", 0, "n", "", "12345", 0, "n"},  // only text checks the default's length
    };
    for (const auto& c : cases) {
        afxtest::Session s;
        Strict(s);
        CDaoFieldInfo text = Field("x", dbText, 50);
        text.m_lAttributes = dbVariableField;
        CFieldDefDlg dlg(&text);
        s.ExpectDialog(2000, [&](CDialog& d) {
            EXPECT_EQ(afxtest::Text(&d), "修改字段");
            if (*c.type) afxtest::Select(d, 1025, c.type);
            if (!*c.type) afxtest::Click(d, c.fixed ? 1030 : 1031);
            afxtest::Type(d, 1024, c.name);
            if (*c.size) afxtest::Type(d, 1026, c.size);
            afxtest::Type(d, 1027, c.def);
            afxtest::Ok(d);
            if (c.refusedAt) {
                EXPECT_FALSE(d.IsEnded()) << c.name;
                EXPECT_EQ(afxtest::FocusId(), c.refusedAt) << c.name;
                afxtest::Cancel(d);
            } else {
                EXPECT_EQ(afxtest::Text(d, 1024), c.stored);
            }
        });
        if (c.refusedAt) s.ExpectMessageBox("设置错误,需重填!", IDOK);
        const INT_PTR r = dlg.DoModal();
        EXPECT_EQ(r, c.refusedAt ? IDCANCEL : IDOK) << c.name;
        if (!c.refusedAt) {
            EXPECT_EQ(std::string(dlg.GetFieldInfo().m_strName), c.stored);
        }
        EXPECT_TRUE(s.Verify()) << c.name;
    }
}

TEST(FieldDefDlg, TypeChangeSetsSizeAndLengthKind) {
    afxtest::Session s;
    Strict(s);
    CFieldDefDlg dlg;
    s.ExpectDialog(2000, [](CDialog& d) {
        EXPECT_EQ(afxtest::Text(&d), "增加字段");
        EXPECT_EQ(ComboSel(d, 1025), 0);  // the default description is boolean
        EXPECT_FALSE(afxtest::IsEnabled(d, 1030));
        EXPECT_EQ(afxtest::Text(d, 1026), "1");
        afxtest::Select(d, 1025, "字符串");
        EXPECT_TRUE(afxtest::IsEnabled(d, 1030));
        EXPECT_EQ(afxtest::CheckState(d, 1031), BST_CHECKED);
        afxtest::Type(d, 1026, "30");
        afxtest::Select(d, 1025, "长整型");
        EXPECT_EQ(afxtest::Text(d, 1026), "4");
        EXPECT_EQ(afxtest::CheckState(d, 1030), BST_CHECKED);
        EXPECT_TRUE(d.GetDlgItem(1026)->GetStyle() & ES_READONLY);  // read-only unless text
        afxtest::Select(d, 1025, "备注");
        EXPECT_EQ(afxtest::Text(d, 1026), "0");
        afxtest::Type(d, 1024, "memo");
        afxtest::Ok(d);
    });
    ASSERT_EQ(dlg.DoModal(), IDOK);
    const CDaoFieldInfo f = dlg.GetFieldInfo();
    EXPECT_EQ(f.m_nType, dbMemo);
    EXPECT_EQ(f.m_lSize, 0);
    EXPECT_EQ(f.m_lAttributes & (dbFixedField | dbVariableField), dbVariableField);
    EXPECT_TRUE(s.Verify());
}
