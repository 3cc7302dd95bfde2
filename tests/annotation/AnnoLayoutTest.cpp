// Text layout: characters and rows of code-page-936 text, row widths, align offsets, corner points,
// rotation, angle folding and the scaling of a text style.
#include "annotation/AnnoLayout.h"
#include "core/GeoView.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

std::vector<std::string> Rows(const char* text, int style) {
    CStringArray rows;
    CalculateMultiLineRows(CString(text), rows, style);
    std::vector<std::string> out;
    for (int i = 0; i < rows.GetSize(); ++i) out.push_back(rows[i].str());
    return out;
}

TEST(AnnoLayout, CharactersCountDoubleByteOnceAndALoneLeadByteAsOne) {
    EXPECT_EQ(GetStringCount(""), 0);
    EXPECT_EQ(GetStringCount("AB"), 2);
    EXPECT_EQ(GetStringCount("\xD6\xD0" "A"), 2);
    EXPECT_EQ(GetStringCount("A\xB0"), 2);  // lone lead byte at the end

    EXPECT_EQ(FindCharPosition(1, "\xD6\xD0" "A\xD6\xD0"), 2);
    EXPECT_EQ(FindCharPosition(2, "\xD6\xD0" "A\xD6\xD0"), 3);
    EXPECT_EQ(FindCharPosition(3, "\xD6\xD0" "A\xD6\xD0"), 3);  // past the last character: the last one
    EXPECT_EQ(FindCharPosition(-1, "AB"), -1);
    EXPECT_EQ(FindCharPosition(2, "AB"), -1);

    const char text[] = "\xD6\xD0" "A";
    int pos = 0;
    EXPECT_TRUE(NextCharPos(text, pos, 3));
    EXPECT_EQ(pos, 2);
    EXPECT_FALSE(NextCharPos(text, pos, 3));
    EXPECT_EQ(pos, 3);
    pos = 4;
    EXPECT_FALSE(NextCharPos(text, pos, 3));
    EXPECT_EQ(pos, 4);
    EXPECT_FALSE(NextCharPos(nullptr, pos, 3));
}

TEST(AnnoLayout, RowsSplitAtSeparatorsAndNeverHoldEmptyRows) {
    using V = std::vector<std::string>;
    struct Case {
        const char* text;
        int style;
        V rows;
    } cases[] = {
        {"A\\nB", 0, {"A", "B"}},
        {"A\\\\nB", 0, {"A\\\\nB"}},          // an escaped backslash is no separator
        {"\\nA", 0, {"A"}},                   // at the very start the escape counts
        {"A\r\n\r\nB", 0, {"A", "B"}},
        {"\r\n\\n\r\n", 0, {}},
        {"", 0, {}},
        {"AB", 0, {"AB"}},
        // A double-byte character whose trail byte is a backslash, followed by 'n', stays whole.
        {"\x81\x5Cn", 0, {"\x81\x5Cn"}},
        {"\xD6\xD0\r\n\xB9\xFA", 1, {"\xD6\xD0", "\xB9\xFA"}},
        {"\xD6\xD0\r\n\r\nA", 2, {"\xD6\xD0", "A"}},
    };
    for (const Case& c : cases) EXPECT_EQ(Rows(c.text, c.style), c.rows) << c.text;

    CStringArray rows;
    rows.Add("old");
    EXPECT_EQ(CalculateMultiLineRows("A\\nB", rows, 0), 3);  // counts the rows already there
    EXPECT_EQ(CalculateMultiLineRows("", rows, 0), 0);
    EXPECT_EQ(rows.GetSize(), 3);
}

TEST(AnnoLayout, RemoveLineBreaksDeletesConsecutiveSeparators) {
    CString s = "A\r\n\\n\r\nB\\\\nC\x81\x5Cn";
    EXPECT_TRUE(RemoveLineBreaks(s));
    EXPECT_EQ(s.str(), "AB\\\\nC\x81\x5Cn");
    CString empty;
    EXPECT_FALSE(RemoveLineBreaks(empty));
}

TEST(AnnoLayout, WidthsOfRowsAndColumns) {
    CStringArray one;
    one.Add("\xD6\xD0" "A");
    EXPECT_EQ(GetMaxWidth(one, 50, 50, 10, 0.0f, 0), 85);
    CStringArray single;
    single.Add("A");
    EXPECT_EQ(GetMaxWidth(single, 50, 50, 10, 0.0f, 0), 25);
    CStringArray none;
    EXPECT_EQ(GetMaxWidth(none, 50, 50, 10, 0.0f, 0), -1);
    EXPECT_EQ(GetMaxWords(none), -1);
    // The slant allowance: tan(15 degrees) * 100 = 26.79..., truncated.
    EXPECT_EQ(GetMaxWidth(single, 50, 100, 0, 150.0f, 1), 25 + 26);

    CStringArray two;
    two.Add("AB");
    two.Add("\xD6\xD0\xD6\xD0\xD6\xD0");
    EXPECT_EQ(GetMaxWidth(two, 50, 50, 0, 0.0f, 0), 150);
    EXPECT_EQ(GetMaxWords(two), 3);

    EXPECT_EQ(GetRowWidth("\xD6\xD0" "A", 51, 0, 10), 77 + 10);  // round(51 * 3 / 2) + 10
    CStringArray column;
    column.Add("\xD6\xD0");
    column.Add("A");
    EXPECT_EQ(GetColumnHeight(column, 51, 0, 7), 51 + 26 + 7);
}

TEST(AnnoLayout, AlignOffsetTables) {
    // w 101, h 51, d 20
    struct Case {
        int align;
        CSize first, device, chr;
    } cases[] = {
        {0, {0, 31}, {0, 0}, {0, 0}},      {1, {0, 6}, {0, 10}, {0, 26}},    {2, {0, -20}, {0, 51}, {0, 0}},
        {3, {51, 31}, {50, 0}, {51, 0}},   {4, {51, 6}, {50, 10}, {51, 26}}, {5, {51, -20}, {50, 51}, {51, 0}},
        {6, {101, 31}, {101, 0}, {101, 0}}, {7, {101, 6}, {101, 10}, {101, 26}}, {8, {101, -20}, {101, 51}, {101, 0}},
        {9, {0, 0}, {0, 0}, {0, 0}},       {-1, {0, 0}, {0, 0}, {0, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetFirstRowOffset(c.align, 101, 51, 20), c.first) << c.align;
        EXPECT_EQ(GetDeviceAlignOffset(c.align, 101, 51, 20, 1.0), c.device) << c.align;
        EXPECT_EQ(GetCharAlignOffset(c.align, 101, 51, 1.0), c.chr) << c.align;
    }
    EXPECT_EQ(GetAlignColumnCode(4), 2);
    EXPECT_EQ(GetAlignColumnCode(8), 1);
    EXPECT_EQ(GetAlignColumnCode(2), 0);
    EXPECT_EQ(GetAlignColumnCode(9), 0);
}

GEOANNO Anno(const char* text, int align) {
    GEOANNO a;
    a.m_strText = text;
    a.m_nAlignType = align;
    a.m_ptPosition = CPoint(1000, 2000);
    return a;
}

TEST(AnnoLayout, CornersOfTheTextBox) {
    // Two rows "AB" and a double-byte pair, char size 50, column space 1, row space 1:
    // W = 2 * (25 + 1) ... widest row is 101, H = 2 * 50 + 1 = 101.
    GEOANNO a = Anno("\xD6\xD0\xD6\xD0\r\nAB", 4);
    a.m_nColSpace = 1;
    a.m_nRowSpace = 1;
    CPoint c[4];
    GetFourSquarePoint(a, c, 0, nullptr);
    EXPECT_EQ(c[0], CPoint(1000 - 51, 2000 - 51));
    EXPECT_EQ(c[1], CPoint(1000 - 51 + 101, 2000 - 51));
    EXPECT_EQ(c[2], CPoint(1000 - 51 + 101, 2000 - 51 + 101));
    EXPECT_EQ(c[3], CPoint(1000 - 51, 2000 - 51 + 101));

    // Align 8 puts the anchor at the top right; a quarter turn carries corner 0 counter-clockwise.
    GEOANNO b = Anno("AB", 8);
    b.m_fEscapeAngle = 900.0f;
    GetFourSquarePoint(b, c, 0, nullptr);
    EXPECT_EQ(c[0], CPoint(950, 1950));
    GetFourSquarePoint(b, c, 1, nullptr);
    // y' = 2000 + round(-50.000...) = 2000 - 49: rounding adds 0.5 and truncates toward zero.
    EXPECT_EQ(c[0], CPoint(1050, 1951));
    EXPECT_EQ(c[2], CPoint(1000, 2000));

    // Empty text: every corner on the anchor.
    GEOANNO e = Anno("", 4);
    GetFourSquarePoint(e, c, 1, nullptr);
    for (const CPoint& p : c) EXPECT_EQ(p, CPoint(1000, 2000));

    // A box ignores rotation and is normalised in place.
    GEOANNO box = Anno("AB", 4);
    box.m_nPositionType = 2;
    box.m_fEscapeAngle = 450.0f;
    box.m_rcBounds = CRect(100, 80, 10, 20);
    GetFourSquarePoint(box, c, 1, nullptr);
    EXPECT_EQ(box.m_rcBounds, CRect(10, 20, 100, 80));
    EXPECT_EQ(c[0], CPoint(10, 20));
    EXPECT_EQ(c[1], CPoint(100, 20));
    EXPECT_EQ(c[2], CPoint(100, 80));
    EXPECT_EQ(c[3], CPoint(10, 80));

    // Formatted text without spacing leaves the corners alone.
    GEOANNO f = Anno("A@B", 0);
    f.SetFormatStyle(1);
    CPoint keep[4] = {{1, 2}, {3, 4}, {5, 6}, {7, 8}};
    GetFourSquarePoint(f, keep, 1, nullptr);
    EXPECT_EQ(keep[3], CPoint(7, 8));
}

TEST(AnnoLayout, RotationRoundsAndFoldingBringsAnglesIntoTheFirstQuadrant) {
    const double pi = 3.141592653589793;
    POINT p = {10, 0};
    RotatePointAbout(0, 0, &p, 0.0);
    EXPECT_EQ(p.x, 10);
    RotatePointAbout(0, 0, &p, pi / 2);
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 10);
    // Round is trunc(v + 0.5): -2.7 becomes -2, and a negative whole value moves up by one.
    POINT q[1] = {{27, 0}};
    RotatePoints(0, 0, q, q, 1, pi);
    EXPECT_EQ(q[0].x, -26);
    POINT r[1] = {{-3, 0}};
    POINT out[1];
    RotatePoints(0, 0, r, out, 1, 25.0 * pi / 180.0);  // x = -2.718..., y = -1.267...
    EXPECT_EQ(out[0].x, -2);
    EXPECT_EQ(out[0].y, 0);
    EXPECT_EQ(r[0].x, -3);  // the source is left alone
    RotatePoints(0, 0, r, out, 1, 0.0);  // no turn, no rounding step
    EXPECT_EQ(out[0].x, -3);

    auto deg = [pi](double d) { return d * pi / 180.0; };
    EXPECT_NEAR(FoldAngle(deg(100)), deg(80), 1e-12);
    EXPECT_NEAR(FoldAngle(deg(200)), deg(20), 1e-12);
    EXPECT_NEAR(FoldAngle(deg(300)), deg(60), 1e-12);
    EXPECT_NEAR(FoldAngle(deg(-30)), deg(30), 1e-12);
}

TEST(AnnoLayout, ScalingAndUnitConversionOfAStyle) {
    GEOANNO a;
    a.m_nColSpace = 3;
    a.m_nRowSpace = 7;
    GEOVIEW view = GetDefaultGEOVIEW();
    view.m_nBufferWidth = 5;
    tagGEOFORMAT f{10, 11, 12, 13, 2.0f};
    ChangeAnnoSize(a, view, f, 1.5);
    EXPECT_EQ(a.m_nCharHeight, 75);
    EXPECT_EQ(a.m_nColSpace, 4);
    EXPECT_EQ(a.m_nRowSpace, 10);
    EXPECT_EQ(view.m_nBufferWidth, 7);
    EXPECT_EQ(f.ver, 16);
    EXPECT_FLOAT_EQ(f.fen_shu_width, 3.0f);

    GEOANNO b;
    b.m_nCharWidth = 2500;
    tagGEORECT m{1000, 2000, 3000, 999};
    ChangeUnit(&b, nullptr, &m, 3, 6);
    EXPECT_EQ(b.m_nCharWidth, 2);
    EXPECT_EQ(b.m_nCharHeight, 0);
    EXPECT_EQ(m.left, 1);
    EXPECT_EQ(m.bottom, 0);
    ChangeUnit(&b, nullptr, &m, 6, 6);
    EXPECT_EQ(b.m_nCharWidth, 2);
}

}  // namespace

namespace {

GEOANNO Echelon(float escape) {
    GEOANNO a;
    a.m_strText = "\xD6\xD0" "A\xD6\xD0";
    a.SetArrayStyle(ARRAY_ECHELON);
    a.m_ptPosition = a.m_ptRotateCenter = CPoint(100, 200);
    a.m_fEscapeAngle = escape;
    return a;
}

TEST(AnnoEchelon, StepsAndPositionsAlongTheTextAngle) {
    GEOANNO flat = Echelon(0.0f);
    tagECHELONSTEPS st;
    EXPECT_EQ(GetEchelonSteps(flat, st, 1), CSize(125, 0));  // 50 + 25.5 + 50, truncated
    EXPECT_DOUBLE_EQ(st.x2, 50.0);
    EXPECT_DOUBLE_EQ(st.x1, 25.5);
    CArray<CPoint, CPoint> pos;
    CArray<int, int> widths;
    ASSERT_EQ(CalculateEchelonPositions(flat, pos, widths, 1), 3);
    EXPECT_EQ(pos[0], CPoint(100, 200));
    EXPECT_EQ(pos[1], CPoint(150, 200));
    EXPECT_EQ(pos[2], CPoint(175, 200));
    EXPECT_EQ(widths[0], 50);
    EXPECT_EQ(widths[1], 25);

    // A quarter turn: the characters stack upwards, each upright; turned back they lie to the right.
    GEOANNO up = Echelon(900.0f);
    ASSERT_EQ(CalculateEchelonPositions(up, pos, widths, 1), 3);
    EXPECT_EQ(pos[1], CPoint(100, 250));
    EXPECT_EQ(pos[2], CPoint(100, 300));
    CalculateEchelonPositions(up, pos, widths, 0);
    EXPECT_EQ(pos[1], CPoint(150, 200));
    EXPECT_EQ(pos[2], CPoint(200, 200));

    GEOANNO zero = Echelon(0.0f);
    zero.m_nCharWidth = 0;
    zero.m_nCharHeight = 0;
    GetEchelonSteps(zero, st, 0);
    EXPECT_EQ(zero.m_nCharWidth, 1);
    EXPECT_EQ(zero.m_nCharHeight, 1);
}

TEST(AnnoEchelon, CornersOfTheBandBetweenFirstAndLastCharacter) {
    // The quarter-turn text above: a column from y 200 to 350, 50 wide.
    GEOANNO up = Echelon(900.0f);
    CPoint c[4];
    GetFourSquarePoint(up, c, 1, nullptr);
    EXPECT_EQ(c[0], CPoint(150, 200));
    EXPECT_EQ(c[1], CPoint(150, 350));
    EXPECT_EQ(c[2], CPoint(100, 350));
    EXPECT_EQ(c[3], CPoint(100, 200));

    const CRect a(100, 200, 150, 250), b(100, 300, 150, 350);
    GetEchelonCorners(b, a, 90.0f, c);  // the first box above the last: corners exchanged
    EXPECT_EQ(c[0], CPoint(100, 350));
    EXPECT_EQ(c[1], CPoint(100, 200));
    EXPECT_EQ(c[2], CPoint(150, 200));
    EXPECT_EQ(c[3], CPoint(150, 350));

    // A falling band at 120 degrees.
    GetEchelonCorners(CRect(0, 0, 50, 50), CRect(-100, 100, -50, 150), 120.0f - 360.0f, c);
    EXPECT_EQ(c[0], CPoint(75, 25));
    EXPECT_EQ(c[1], CPoint(-75, 175));
    EXPECT_EQ(c[2], CPoint(-125, 125));
    EXPECT_EQ(c[3], CPoint(25, -25));

    // One character: its own box.
    GetEchelonCorners(a, a, 30.0f, c);
    EXPECT_EQ(c[0], CPoint(100, 200));
    EXPECT_EQ(c[2], CPoint(150, 250));
}

}  // namespace
