// Formatted text: the mark-up checks and splits, the measures, the anchoring and the drawing of parts
// and strokes on a recording DC, and the conversion to one annotation per part.
#include "annotation/FormatText.h"

#include "AnnoDrawSupport.h"
#include "annotation/AnnoLayout.h"
#include "annotation/DrawGeoAnno.h"
#include "annotation/GeoAnno.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace annodraw_test;

namespace {

tagGEOFORMAT Spacing(int hor, int ver, int fenHor, int fenVer, float width)
{
    tagGEOFORMAT f;
    f.hor = hor;
    f.ver = ver;
    f.fen_hor = fenHor;
    f.fen_ver = fenVer;
    f.fen_shu_width = width;
    return f;
}

// A formatted record at the origin: a single-byte character is 20 wide, every row 20 high.
GEOANNO Formatted(const char* text, int align = 0)
{
    GEOANNO r = MakeRecord(text, 40, 20, align);
    r.SetFormatStyle(1);
    return r;
}

std::string PartsText(const CFormatPartArray& parts)
{
    std::string s;
    for (const tagFORMATPART& p : parts)
        s += std::string((LPCSTR)p.text) + "[" + std::to_string(p.left) + "," + std::to_string(p.bottom) + ".." +
             std::to_string(p.right) + "," + std::to_string(p.top) + "]";
    return s;
}

// Draws the record on a recording DC with a part output array; returns the leaves' boxes.
std::string DrawParts(GEOANNO r, tagGEOFORMAT f, RecordingDC& rec)
{
    CFormatPartArray parts;
    r.m_pPartOutput = &parts;
    DrawGeoFormatAnno(&rec.dc, kScale, kScale, CPoint(), CPoint(), MakeStyle(), r, &f, nullptr, 0);
    return PartsText(parts);
}

}  // namespace

TEST(FormatText, ValidationCodes)
{
    const struct {
        const char* text;
        int code;
    } cases[] = {
        {"", 0},
        {"12@34", 1},
        {"(a)/(b)", 1},
        {"((a|b))@c", 1},
        {"\\(a\\|", 1},          // escaped specials are ordinary characters
        {"a\\\\(b)", 1},         // an escaped "\" counts as special before "("
        {")(", 1},               // only the count of brackets matters
        {"(", 2},
        {"(a)(b", 2},
        {"ab\\", 3},             // "\" at the end
        {"a\\b", 3},             // "\" before an ordinary character
        {"a\\\xD6\xD0", 3},      // "\" before a double-byte character
        {"a(b)", 6},
        {"\xD6\xD0(b)", 6},      // after a double-byte character
        {"\x81\x5C", 1},         // a trail byte 0x5C is no escape
        {"\x81\x7C(a)", 6},      // nor is a trail byte 0x7C a separator
    };
    for (const auto& c : cases) {
        CString t(c.text);
        EXPECT_EQ(IsValidFormatString(t), c.code) << c.text;
    }
}

TEST(FormatText, ErrorMessages)
{
    const struct {
        int code;
        const char* text;
    } cases[] = {
        {1, "正常!"},
        {2, "括号不匹配!"},
        {3, "竖线的个数不对!"},
        {6, "括号后面或前面应该为特殊分割符!"},
        {7, "格式化文本中不能有回车键!"},
        {8, "没有格式化标志符!"},
        {0, "格式化文本错误!"},
        {4, "格式化文本错误!"},
        {-1, "格式化文本错误!"},
    };
    for (const auto& c : cases) {
        CString m("old");
        GetFormatError(c.code, m);
        EXPECT_STREQ((LPCSTR)m, c.text) << c.code;
    }
}

TEST(FormatText, SpecialCharactersAndKinds)
{
    for (char c : std::string("()/@\\|")) EXPECT_TRUE(IsFormatSpecial(c, 1)) << c;
    for (char c : std::string("/@|")) EXPECT_TRUE(IsFormatSpecial(c, 0)) << c;
    for (char c : std::string("()\\a ")) EXPECT_FALSE(IsFormatSpecial(c, 0)) << c;
    EXPECT_FALSE(IsFormatSpecial('a', 1));
    EXPECT_EQ(GetFormatKind('|'), 1);
    EXPECT_EQ(GetFormatKind('/'), 2);
    EXPECT_EQ(GetFormatKind('@'), 3);
    EXPECT_EQ(GetFormatKind(')'), 4);
    EXPECT_EQ(GetFormatKind('x'), 4);
}

TEST(FormatText, SplitTable)
{
    const struct {
        const char* text;
        const char* left;
        int kind;
        const char* right;  // not checked for kind 0
        const char* after;  // the text after the call
    } cases[] = {
        {"12@34", "12", 3, "34", "12@34"},
        {"A|B", "A", 1, "B", "A|B"},
        {"a/b/c", "a", 2, "b/c", "a/b/c"},
        {"|", "", 1, "", "|"},
        {"abc", "abc", 0, "", "abc"},
        // the whole text in brackets is unwrapped, level by level
        {"(a|b)", "a", 1, "b", "a|b"},
        {"((a@b))", "a", 3, "b", "a@b"},
        {"((ab))", "ab", 0, "", "ab"},
        // a separator inside brackets does not split the outer text
        {"(a|b)@c", "a|b", 3, "c", "(a|b)@c"},
        {"(a|b)cd", "a|b", 4, "cd", "(a|b)cd"},
        {"(a)(b|c)", "a", 4, "(b|c)", "(a)(b|c)"},
        {"x(a|b)", "x", 4, "(a|b)", "x(a|b)"},
        {"a\\|b", "a\\|b", 0, "", "a\\|b"},
        {"a\\|b@c", "a\\|b", 3, "c", "a\\|b@c"},
        {"ab\r\ncd|e", "abcd", 1, "e", "abcd|e"},
        {"(ab", "(ab", 0, "", "(ab"},
        {"(a)b)", "a", 4, "b)", "(a)b)"},
        // double-byte characters are stepped over whole: their trail bytes are not mark-up
        {"\x81\x7C|b", "\x81\x7C", 1, "b", "\x81\x7C|b"},
        {"\x81\x40\x81\x5C", "\x81\x40\x81\x5C", 0, "", "\x81\x40\x81\x5C"},
        {"\xD6\xD0(b)", "\xD6\xD0", 4, "(b)", "\xD6\xD0(b)"},
    };
    for (const auto& c : cases) {
        CString text(c.text), left("L"), right("R");
        int kind = -1;
        EXPECT_EQ(SplitFormat(text, left, right, kind), 1) << c.text;
        EXPECT_EQ(kind, c.kind) << c.text;
        EXPECT_STREQ((LPCSTR)left, c.left) << c.text;
        if (c.kind != 0) {
            EXPECT_STREQ((LPCSTR)right, c.right) << c.text;
        }
        EXPECT_STREQ((LPCSTR)text, c.after) << c.text;
    }
    CString empty, left("L"), right("R");
    int kind = 5;
    EXPECT_EQ(SplitFormat(empty, left, right, kind), 0);
    EXPECT_EQ(kind, 0);
    EXPECT_TRUE(left.IsEmpty());
}

TEST(FormatText, EscapesAreRemovedOnce)
{
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"a\\|b", "a|b"},   {"\\(x\\)", "(x)"},  {"\\\\|", "\\|"},          {"\\\\\\@", "\\@"},
        {"a\\b", "a\\b"},   {"end\\", "end\\"},  {"\x81\x5C|", "\x81\x5C|"}, {"", ""},
    };
    for (const auto& c : cases) {
        CString t(c.in);
        RemoveFormatEscapes(t);
        EXPECT_STREQ((LPCSTR)t, c.out) << c.in;
    }
}

TEST(FormatText, MeasuresOfEveryKind)
{
    // Single bytes 20 wide, rows 20 high; fen_shu_width 2.5 rounds to 3.
    GEOANNO r = Formatted("");
    tagGEOFORMAT f = Spacing(10, 5, 10, 10, 2.5f);
    const struct {
        const char* text;
        int leaves;
        int width;
        int height;
    } cases[] = {
        {"AB", 1, 40, 20},
        {"AB", 0, 0, 0},
        {"A|B", 1, 20 + 20 + 20 + 3, 20 + 20},
        {"A|B", 0, 20 + 3, 20},
        // stroke reach 20 / tan 75 + cos 75 * 20 = 10.535, height 20 + round(sin 75 * 20)
        {"A/B", 1, 70, 39},
        {"A/B", 0, 30, 19},  // the reach is still taken from the parts' real heights
        {"A@B", 1, 20 + 20, 20 + 20 + 10 + 3},
        {"A@B", 0, 20, 13},
        {"(AB)C", 1, 40 + 20 + 10, 20},
        {"(A@B)|C", 1, 40 + 20 + 20 + 3, 53 + 20},
        {"(ABCDE)WXYZ", 1, 190, 20},  // 100 and 80 wide, one gap of fen_hor counted
        {"ABCDE@XYZ", 1, 120, 53},
        {"\\@", 1, 40, 20},  // a leaf is measured with its escape characters
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GetFormatWidth(c.text, &r, &f, 0, c.leaves), c.width) << c.text << " " << c.leaves;
        EXPECT_EQ(GetFormatHeight(c.text, &r, &f, 0, c.leaves), c.height) << c.text << " " << c.leaves;
    }
    EXPECT_EQ(GetFormatWidth("A|B", &r, nullptr, 0, 1), 0);
    EXPECT_EQ(GetFormatHeight("A|B", nullptr, &f, 0, 1), 0);

    // Absurd spacing clamps instead of overflowing.
    tagGEOFORMAT huge = Spacing(INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, 3e38f);
    EXPECT_EQ(GetFormatWidth("A|B", &r, &huge, 0, 1), INT32_MAX);
    EXPECT_EQ(GetFormatHeight("A@B", &r, &huge, 0, 1), INT32_MAX);
}

TEST(FormatText, BoxOfFormattedTextIsTheMeasuredBlock)
{
    GEOANNO r = Formatted("A|B", 4);
    r.m_ptPosition = CPoint(1000, 1000);
    tagGEOFORMAT f = Spacing(0, 0, 10, 10, 2.5f);  // 63 wide, 40 high
    CPoint c[4];
    GetFourSquarePoint(r, c, 0, &f);
    EXPECT_EQ(c[0], CPoint(1000 - 32, 1000 - 20));
    EXPECT_EQ(c[2], CPoint(1000 - 32 + 63, 1000 + 20));

    r.m_fEscapeAngle = 900.0f;
    GetFourSquarePoint(r, c, 1, &f);
    EXPECT_EQ(c[0], CPoint(1000 + 20, 1000 - 31));  // -32 rounds as trunc(-32 + 0.5)
}

TEST(FormatText, AnchorMovesToTheTopRow)
{
    const struct {
        int align;
        CPoint at;
        int newAlign;
    } cases[] = {
        {0, {100, 231}, 0}, {1, {100, 205}, 0}, {2, {100, 200}, 2}, {3, {50, 231}, 0}, {4, {50, 205}, 0},
        {5, {50, 200}, 2},  {6, {-1, 231}, 0},  {7, {-1, 205}, 0},  {8, {-1, 200}, 2}, {9, {100, 200}, 0},
        {-1, {100, 200}, 0},
    };
    for (const auto& c : cases) {
        GEOANNO r = Formatted("x", c.align);
        r.m_ptPosition = CPoint(100, 200);
        AnchorFormatBlock(r, 101, 51, 20);
        EXPECT_EQ(r.m_ptPosition, c.at) << c.align;
        EXPECT_EQ(r.m_nAlignType, c.newAlign) << c.align;
    }
}

TEST(FormatText, PartsSetSideBySide)
{
    // 100 and 80 wide leaves: the right one starts 120 after the left (twice fen_hor).
    RecordingDC rec;
    const std::string parts = DrawParts(Formatted("(ABCDE)WXYZ"), Spacing(0, 0, 10, 0, 0.0f), rec);
    EXPECT_EQ(parts, "ABCDE[0,0..100,20]WXYZ[120,0..200,20]");
    const auto chars = rec.Calls("TextOut");  // one call per character
    ASSERT_EQ(chars.size(), 9u);
    EXPECT_EQ(chars[5].text, "W");
    EXPECT_EQ(chars[5].points[0].x - chars[0].points[0].x, 120);
    EXPECT_TRUE(rec.Calls("Polygon").empty());  // no stroke between them
}

TEST(FormatText, StackedPairWithItsBar)
{
    // hor 10, ver 5, bar 2: the block is 120 wide and 52 high; the narrower leaf is centred 20 in.
    const tagGEOFORMAT f = Spacing(10, 5, 0, 0, 2.0f);
    RecordingDC rec;
    EXPECT_EQ(DrawParts(Formatted("ABCDE@XYZ"), f, rec), "ABCDE[10,32..110,52]XYZ[30,0..90,20]");
    auto bars = rec.Calls("Polygon");
    ASSERT_EQ(bars.size(), 1u);
    EXPECT_EQ(Pts(bars[0].points), "(0,-25)(120,-25)(120,-27)(0,-27)(0,-25)");
    EXPECT_EQ(bars[0].brush.lbColor, RGB(0, 0, 0));

    // Anchored at its top-left the block hangs below the point; the bar still lies ver below the upper
    // part and ver above the lower one.
    RecordingDC top;
    EXPECT_EQ(DrawParts(Formatted("ABCDE@XYZ", 2), f, top), "ABCDE[10,-20..110,0]XYZ[30,-52..90,-32]");
    bars = top.Calls("Polygon");
    ASSERT_EQ(bars.size(), 1u);
    EXPECT_EQ(Pts(bars[0].points), "(0,27)(120,27)(120,25)(0,25)(0,27)");

    // Centred in the middle row: the same block moved by half its size.
    RecordingDC mid;
    EXPECT_EQ(DrawParts(Formatted("ABCDE@XYZ", 4), f, mid), "ABCDE[-50,6..50,26]XYZ[-30,-26..30,-6]");
}

TEST(FormatText, VerticalBarBetweenPartsOfUnequalHeight)
{
    // fen_hor 10, fen_ver 4, bar 2: "A|B" is 62 wide and 28 high.
    RecordingDC rec;
    EXPECT_EQ(DrawParts(Formatted("A|B"), Spacing(10, 5, 10, 4, 2.0f), rec), "A[0,4..20,24]B[42,4..62,24]");
    auto bars = rec.Calls("Polygon");
    ASSERT_EQ(bars.size(), 1u);
    EXPECT_EQ(Pts(bars[0].points), "(30,0)(32,0)(32,-28)(30,-28)(30,0)");

    // A stacked pair (52 high) beside one row: the row is centred on the pair, the bar spans the pair.
    RecordingDC tall;
    EXPECT_EQ(DrawParts(Formatted("(A@B)|C"), Spacing(10, 5, 10, 4, 2.0f), tall),
              "A[10,36..30,56]B[10,4..30,24]C[62,20..82,40]");
    bars = tall.Calls("Polygon");
    ASSERT_EQ(bars.size(), 2u);  // the fraction bar, then the vertical bar
    EXPECT_EQ(Pts(bars[1].points), "(50,0)(52,0)(52,-60)(50,-60)(50,0)");
}

TEST(FormatText, SlantStrokeLeansAtSeventyFiveDegrees)
{
    // Stroke of length round(20 / sin 75) + 8 = 29 from x 30, turned about its left end at (30, 0).
    RecordingDC rec;
    EXPECT_EQ(DrawParts(Formatted("A/B"), Spacing(0, 0, 10, 4, 2.0f), rec), "A[0,4..20,24]B[47,4..67,24]");
    const auto strokes = rec.Calls("Polygon");
    ASSERT_EQ(strokes.size(), 1u);
    EXPECT_EQ(Pts(strokes[0].points), "(31,0)(38,-28)(38,-28)(30,0)(31,0)");
}

TEST(FormatText, LeavesAreDrawnWithoutEscapesAndTrailBytesStayWhole)
{
    const tagGEOFORMAT f = Spacing(0, 0, 0, 0, 1.0f);
    const struct {
        const char* text;
        const char* drawn;                // every character drawn, in order
        std::vector<std::string> leaves;  // the part output
    } cases[] = {
        {"\\|", "|", {"|"}},
        {"a\\@b@c", "a@bc", {"a@b", "c"}},
        {"(\\(x\\))", "(x)", {"(x)"}},
        {"\x81\x7C\x81\x40", "\x81\x7C\x81\x40", {"\x81\x7C\x81\x40"}},
        {"a(b", "a(b", {}},          // not valid: drawn as a plain row
        {"a(b\r\nc", "a(bc", {}},    // (two plain rows)
        {"ab\r\n|c", "abc", {"ab", "c"}},  // valid: the line break is removed
    };
    for (const auto& c : cases) {
        RecordingDC rec;
        GEOANNO r = Formatted(c.text);
        CFormatPartArray parts;
        r.m_pPartOutput = &parts;
        tagGEOFORMAT copy = f;
        DrawGeoFormatAnno(&rec.dc, kScale, kScale, CPoint(), CPoint(), MakeStyle(), r, &copy, nullptr, 0);
        std::string drawn;
        for (const auto& t : rec.Calls("TextOut")) drawn += t.text;
        EXPECT_EQ(drawn, c.drawn) << c.text;
        std::vector<std::string> leaves;
        for (const tagFORMATPART& p : parts) leaves.push_back((LPCSTR)p.text);
        EXPECT_EQ(leaves, c.leaves) << c.text;
    }

    // Without a spacing nothing is drawn.
    RecordingDC none;
    GEOANNO r = Formatted("A|B");
    DrawGeoFormatAnno(&none.dc, kScale, kScale, CPoint(), CPoint(), MakeStyle(), r, nullptr, nullptr, 0);
    EXPECT_TRUE(none.All().empty());
}

TEST(FormatText, HighlightedStrokesVanishWhenDrawnTwice)
{
    ImageDC img(120, 120);
    const std::vector<COLORREF> before = img.Pixels();
    tagGEOFORMAT f = Spacing(10, 5, 10, 4, 4.0f);
    for (int pass = 0; pass < 2; ++pass) {
        GEOANNO r = Formatted("A|B@C");
        r.m_ptPosition = CPoint(10, -100);
        DrawGeoFormatAnno(&img.dc, kScale, kScale, CPoint(), CPoint(), MakeStyle(), r, &f, nullptr, 1);
        if (pass == 0) {
            EXPECT_NE(img.Pixels(), before);
        }
    }
    EXPECT_EQ(img.Pixels(), before);
}

TEST(FormatText, ConversionGivesOneAnnotationPerLeafAndTheBars)
{
    // Turned a quarter turn about the origin: (x, y) becomes (-y, x), rounded.
    CObList out;
    GEOANNO r = Formatted("12@34");
    r.m_fEscapeAngle = 900.0f;
    r.m_nOutputMode = 5;
    r.m_pOutputList = &out;
    tagGEOFORMAT f = Spacing(10, 5, 0, 0, 2.0f);
    DrawGeoAnno(nullptr, kScale, kScale, CPoint(), CPoint(), MakeStyle(), r, nullptr, 0, nullptr, &f, 0, 1);
    ASSERT_EQ(out.GetCount(), 3);
    POSITION pos = out.GetHeadPosition();
    CGeoAnno* upper = dynamic_cast<CGeoAnno*>(out.GetNext(pos));
    CGeoObject* bar = dynamic_cast<CGeoObject*>(out.GetNext(pos));
    CGeoAnno* lower = dynamic_cast<CGeoAnno*>(out.GetNext(pos));
    ASSERT_TRUE(upper && bar && lower);
    EXPECT_STREQ(upper->GetName(), "12");
    EXPECT_STREQ(lower->GetName(), "34");
    EXPECT_EQ(upper->GetPositionPoint(0), CPoint(-31, 10));  // -32 rounds as trunc(-32 + 0.5)
    EXPECT_EQ(lower->GetPositionPoint(0), CPoint(0, 10));
    EXPECT_FALSE(upper->GetFormatStyle());
    EXPECT_EQ(bar->GetObjectData(), ANNO_DATA_FORMATSTROKE);
    ClearOutput(out);
}

TEST(FormatText, FramedFormattedTextGetsTheBlocksBox)
{
    // The frame of "A|B" (62 x 28) is drawn around the measured block before the parts.
    RecordingDC rec;
    GEOANNO r = Formatted("A|B");
    r.SetShowFrame(1);
    r.SetFillFrame(1);
    r.m_crBackColor = RGB(0, 255, 0);
    tagGEOFORMAT f = Spacing(10, 5, 10, 4, 2.0f);
    DrawGeoAnno(&rec.dc, kScale, kScale, CPoint(), CPoint(), MakeStyle(), r, nullptr, 0, nullptr, &f, 0, 1);
    const auto polys = rec.Calls("Polygon");
    ASSERT_EQ(polys.size(), 2u);
    EXPECT_EQ(Pts(polys[0].points), "(0,0)(62,0)(62,-28)(0,-28)(0,0)");
    EXPECT_EQ(polys[0].brush.lbColor, RGB(0, 255, 0));

    // Without the spacing there is neither a box nor text.
    RecordingDC none;
    GEOANNO n = Formatted("A|B");
    n.SetShowFrame(1);
    DrawGeoAnno(&none.dc, kScale, kScale, CPoint(), CPoint(), MakeStyle(), n, nullptr, 0, nullptr, nullptr, 0, 1);
    EXPECT_TRUE(none.Calls("Polygon").empty());
    EXPECT_TRUE(none.Calls("TextOut").empty());
}

TEST(FormatText, DeepNestingStopsAtALimitInsteadOfExhaustingTheStack)
{
    // Brackets are unwrapped without recursion, however many there are.
    const int levels = 1000;
    CString nested = CString(std::string(levels, '(').c_str()) + "a|b" + CString(std::string(levels, ')').c_str());
    CString left, right;
    int kind = 0;
    EXPECT_EQ(SplitFormat(nested, left, right, kind), 1);
    EXPECT_EQ(kind, 1);
    EXPECT_STREQ((LPCSTR)left, "a");

    // A long chain of separators: 64 levels are laid out, the rest stays one leaf.
    std::string chain = "a";
    for (int i = 0; i < levels; ++i) chain += "|a";
    GEOANNO r = Formatted(chain.c_str());
    CFormatPartArray parts;
    r.m_pPartOutput = &parts;
    tagGEOFORMAT f = Spacing(0, 0, 0, 0, 0.0f);
    DrawGeoFormatAnno(nullptr, kScale, kScale, CPoint(), CPoint(), MakeStyle(), r, &f, nullptr, 0);
    ASSERT_EQ(parts.size(), 65u);
    EXPECT_STREQ((LPCSTR)parts[0].text, "a");
    EXPECT_EQ(parts[64].text.GetLength(), 2 * (levels - 64) + 1);
    EXPECT_GT(GetFormatWidth(chain.c_str(), &r, &f, 0, 1), 64 * 20);
}
