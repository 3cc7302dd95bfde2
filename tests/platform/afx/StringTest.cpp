// CString over GBK bytes: a trail byte that looks like ASCII never acts as a character of its own.
#include <afx/afx.h>
#include <gtest/gtest.h>

// "表" is B1 ED, "\xD5\x5C" has a '\\' trail byte, "\x81\x40" an '@' trail byte, "\x82\x61" an 'a' trail byte.
static const char kBackslashChar[] = "\xD5\x5C";
static const char kAtChar[] = "\x81\x40";
static const char kLetterChar[] = "\x82\x61";

TEST(String, FindAndReverseFindStepOverTrailBytes) {
    CString path = CString("C:") + "\\" + kBackslashChar + "x";
    EXPECT_EQ(path.ReverseFind('\\'), 2);
    CString s = CString(kAtChar) + "@";
    EXPECT_EQ(s.Find('@'), 2);
    EXPECT_EQ(s.Find("@"), 2);
    EXPECT_EQ(CString(kLetterChar).Find('a'), -1);
    EXPECT_EQ(CString("abcabc").Find("bc", 2), 4);
    EXPECT_EQ(CString("abc").Find("zz"), -1);
    EXPECT_EQ(CString(kBackslashChar).FindOneOf("\\"), -1);
}

TEST(String, CaseChangesKeepTwoByteCharacters) {
    CString s = CString("ab") + kLetterChar + "c.lyr";
    s.MakeUpper();
    EXPECT_EQ(s, CString("AB") + kLetterChar + "C.LYR");
    s.MakeLower();
    EXPECT_EQ(s, CString("ab") + kLetterChar + "c.lyr");
    EXPECT_EQ(CString("Name图").CompareNoCase("NAME图"), 0);
    EXPECT_NE(CString(kLetterChar).CompareNoCase("\x82\x41"), 0);
    EXPECT_LT(CString("a").Compare("b"), 0);
}

TEST(String, TrimAndSubstrings) {
    CString s("  图层 \t\r\n");
    s.TrimLeft();
    s.TrimRight();
    EXPECT_EQ(s, "图层");
    CString t = CString("x") + kBackslashChar;
    t.TrimRight('\\');
    EXPECT_EQ(t, CString("x") + kBackslashChar);  // the trail byte is not a backslash
    CString u("--ab--");
    u.TrimLeft('-');
    u.TrimRight("-");
    EXPECT_EQ(u, "ab");
    CString v("abcdef");
    EXPECT_EQ(v.Left(2), "ab");
    EXPECT_EQ(v.Right(2), "ef");
    EXPECT_EQ(v.Mid(2, 3), "cde");
    EXPECT_EQ(v.Mid(4), "ef");
    EXPECT_EQ(v.Mid(10), "");
    EXPECT_EQ(v.Left(-1), "");
    EXPECT_EQ(v.Right(100), "abcdef");
}

TEST(String, ReplaceRemoveReverse) {
    CString s = CString(kBackslashChar) + "\\a";
    EXPECT_EQ(s.Replace('\\', '/'), 1);
    EXPECT_EQ(s, CString(kBackslashChar) + "/a");
    CString r = CString("中") + "ab";
    r.MakeReverse();
    EXPECT_EQ(r, CString("ba") + "中");
    CString m("a-b-c");
    EXPECT_EQ(m.Remove('-'), 2);
    EXPECT_EQ(m, "abc");
    CString p("a.b.c");
    EXPECT_EQ(p.Replace(".", ".."), 2);
    EXPECT_EQ(p, "a..b..c");
}

TEST(String, FormatUsesTheCNumericLocale) {
    CString s;
    s.Format("%d:%.3f:%s", 42, 1.5, "图");
    EXPECT_EQ(s, "42:1.500:图");
}

TEST(String, BufferAccess) {
    CString s;
    char* p = s.GetBuffer(10);
    std::strcpy(p, "abc");
    s.ReleaseBuffer();
    EXPECT_EQ(s.GetLength(), 3);
    p = s.GetBuffer(0);
    p[1] = 'X';
    s.ReleaseBuffer(2);
    EXPECT_EQ(s, "aX");
}
