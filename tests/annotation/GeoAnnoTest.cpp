// The annotation object: constructors and names, the conversions to and from the plain record, the
// per-character arrays, position and align types, bounds, unit changes and copies.
#include "annotation/AnnoDefaults.h"
#include "annotation/GeoAnno.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

int NameNumber(const CGeoObject& o) {
    const std::string s = o.GetObjectName().str();
    const std::string prefix = CString("注记 ").str();
    if (s.compare(0, prefix.size(), prefix) != 0) return -1;
    return std::stoi(s.substr(prefix.size()));
}

class GeoAnnoTest : public ::testing::Test {
protected:
    void TearDown() override { SetCurrentGeoAnno(GEOANNO()); }
};

TEST_F(GeoAnnoTest, EveryConstructorButTheRecordOneCountsAName) {
    CGeoAnno a;
    const int n = NameNumber(a);
    EXPECT_GE(n, 1);  // the counter starts at 0 and is raised before naming
    CGeoAnno b(CString("A"), CPoint(0, 0), 50, 50, 0.0f, 0.0f, 0, 0, 1, 0, 0, 0, 0);
    CGeoAnno c(CString("A"), CRect(0, 0, 100, 100), 50, 50, tagGEORECT(), 0, 0, 0, 0);
    CGeoAnno d(CString("A"), CPoint(0, 0), 50, 50, tagGEOFORMAT(), 0.0f, 0.0f, 0, 0, 0);
    CGeoAnno e(CString("A"), CRect(0, 0, 100, 100), 50, 50, 0u, 0, 0.0f);
    EXPECT_EQ(NameNumber(b), n + 1);
    EXPECT_EQ(NameNumber(c), n + 2);
    EXPECT_EQ(NameNumber(d), n + 3);
    EXPECT_EQ(NameNumber(e), n + 4);
    CGeoAnno f{GEOANNO()};
    EXPECT_EQ(NameNumber(f), -1);  // keeps the base name
    f.DefaultObjectName();
    EXPECT_EQ(NameNumber(f), n + 4);
    EXPECT_EQ(f.GetObjectTypeName(), CString("注记"));
}

TEST_F(GeoAnnoTest, DefaultConstructorTakesTheTextStyleOfTheCurrentDefault) {
    GEOANNO cur;
    cur.m_fEscapeAngle = 300.0f;
    cur.m_fOrientAngle = 200.0f;
    cur.m_nAlignType = 4;
    cur.m_nCharWidth = 70;
    cur.m_nCharHeight = 80;
    cur.m_nUnit = 6;
    cur.m_crBackColor = 0xFF;
    cur.m_fLineWidth = 3.0f;
    cur.m_fItalicAngle = 100.0f;
    cur.m_nRowSpace = 9;
    cur.m_nColSpace = 9;
    cur.m_nPositionType = 2;
    cur.m_byMoveFlag = 3;
    cur.m_byStyle = 0x0C;
    cur.m_nBoldValue = 700;
    cur.m_ptPosition = CPoint(5, 5);
    SetCurrentGeoAnno(cur);
    CGeoAnno a;
    EXPECT_FLOAT_EQ(a.GetEscapeAngle(0), 300.0f);
    EXPECT_FLOAT_EQ(a.GetOrientAngle(), 200.0f);
    EXPECT_EQ(a.GetAlignType(), 4);
    EXPECT_EQ(a.GetCharWidthA(), 70);
    EXPECT_EQ(a.GetCharHeight(), 80);
    EXPECT_EQ(a.GetUnit(), 6);
    EXPECT_EQ(a.GetBackColor(), 0xFFu);
    EXPECT_FLOAT_EQ(a.GetLineWidth(), 3.0f);
    EXPECT_FLOAT_EQ(a.GetItalicAngle(), 100.0f);
    EXPECT_EQ(a.GetRowSpace(), 0);
    EXPECT_EQ(a.GetSpace(), 0);
    EXPECT_EQ(a.GetPositionType(), 0);
    EXPECT_EQ(a.GetMoveFlag(), 1);
    EXPECT_EQ(a.GetStyleFlags(), 0);
    EXPECT_EQ(a.GetBoldValue(), 400);
    EXPECT_EQ(a.GetPositionPoint(0), CPoint(0, 0));
    EXPECT_EQ(a.GetPoints(), 1);
}

TEST_F(GeoAnnoTest, ConstructorsBuildTheirKindOfText) {
    // Multi-point text gets one point and one angle per character.
    CGeoAnno multi(CString("\xD6\xD0" "AB"), CPoint(10, 20), 50, 40, 100.0f, 50.0f, 12, 6, 2, 3, 4, 1, 1);
    EXPECT_EQ(multi.GetPoints(), 3);
    EXPECT_EQ(multi.GetPositionPoint(0), CPoint(10, 20));
    EXPECT_FLOAT_EQ(multi.GetEscapeAngle(0), 100.0f);
    EXPECT_FLOAT_EQ(multi.GetEscapeAngle(1), 0.0f);
    EXPECT_EQ(multi.GetAlignType(), 0);  // 12 is out of range
    EXPECT_TRUE(multi.GetVert());
    EXPECT_TRUE(multi.GetTwoAlign());
    EXPECT_EQ(multi.GetCharWidthA(), 40);
    EXPECT_EQ(multi.GetMoveFlag(), 2);

    // Box text: bounds are the box, margins as given.
    const tagGEORECT margins{1, 2, 3, 4};
    CGeoAnno box(CString("AB"), CRect(0, 0, 300, 100), 50, 50, margins, 4, 5, 6, 1);
    EXPECT_EQ(box.GetPositionType(), 2);
    EXPECT_EQ(box.GetBounds(), CRect(0, 0, 300, 100));
    EXPECT_EQ(box.GetGeoRect(), margins);
    EXPECT_EQ(box.GetMoveFlag(), 0);

    // Formatted text: the format style alone, type 0.
    const tagGEOFORMAT spacing{1, 2, 3, 4, 0.5f};
    CGeoAnno formatted(CString("A@B"), CPoint(1, 2), 50, 50, spacing, 10.0f, 20.0f, 3, 99, 7);
    EXPECT_EQ(formatted.GetStyleFlags(), ANNO_FORMATSTYLE);
    EXPECT_EQ(formatted.GetPositionType(), 0);
    EXPECT_EQ(formatted.GetGeoFormat(), spacing);
    EXPECT_EQ(formatted.GetSpace(), 7);

    // Legacy form: the anchor of the normalised box by the alignment word; angles from degrees.
    CGeoAnno legacy(CString("AB"), CRect(100, 60, 0, 0), 50, 50, 0x06u, 0, 30.0f);  // column 2, row 1
    EXPECT_EQ(legacy.GetAlignType(), 7);
    EXPECT_EQ(legacy.GetPositionPoint(0), CPoint(100, 30));
    EXPECT_FLOAT_EQ(legacy.GetEscapeAngle(0), 300.0f);
    CGeoAnno upright(CString("AB"), CRect(0, 0, 10, 10), 50, 50, 0u, 1, 30.0f);
    EXPECT_FLOAT_EQ(upright.GetOrientAngle(), 900.0f);
    EXPECT_FLOAT_EQ(upright.GetEscapeAngle(0), 900.0f);
}

TEST_F(GeoAnnoTest, RecordConversionsRoundTrip) {
    GEOANNO r;
    r.m_strText = "AB";
    r.m_nCharWidth = 60;
    r.m_nCharHeight = 70;
    r.m_fEscapeAngle = 12.0f;
    r.m_fOrientAngle = 34.0f;
    r.m_ptPosition = CPoint(100, 200);
    r.m_nUnit = 4;
    r.m_nColSpace = 5;
    r.m_nAlignType = 8;
    r.m_nRowSpace = 6;
    r.m_byStyle = 0x0D;
    r.m_byMoveFlag = 2;
    r.m_nBoldValue = 700;
    r.m_crBackColor = 0x00ABCDEF;
    r.m_fLineWidth = 2.0f;
    r.m_fItalicAngle = 99.0f;
    CGeoAnno a(r);
    const GEOANNO back = a.MakeGeoAnno();
    EXPECT_EQ(back.m_strText.str(), "AB");
    EXPECT_EQ(back.m_nCharWidth, 60);
    EXPECT_EQ(back.m_nCharHeight, 70);
    EXPECT_FLOAT_EQ(back.m_fEscapeAngle, 12.0f);
    EXPECT_FLOAT_EQ(back.m_fOrientAngle, 34.0f);
    EXPECT_EQ(back.m_ptPosition, CPoint(100, 200));
    EXPECT_EQ(back.m_ptRotateCenter, CPoint(100, 200));
    EXPECT_EQ(back.m_nUnit, 4);
    EXPECT_EQ(back.m_nColSpace, 5);
    EXPECT_EQ(back.m_nAlignType, 8);
    EXPECT_EQ(back.m_nRowSpace, 6);
    EXPECT_EQ(back.m_byStyle, 0x0D);
    EXPECT_EQ(back.m_byMoveFlag, 2);
    EXPECT_EQ(back.m_nBoldValue, 700);
    EXPECT_EQ(back.m_crBackColor, 0x00ABCDEFu);
    EXPECT_FLOAT_EQ(back.m_fLineWidth, 2.0f);
    EXPECT_FLOAT_EQ(back.m_fItalicAngle, 99.0f);
    // Bounds follow the laid-out text: W = 2 * (5 + 30) - 5 = 65, H = 70, anchored top right.
    a.SetEscapeAngle(0.0f, 0);
    a.CalculateAnnoBounds();
    EXPECT_EQ(a.GetBounds(), CRect(100 - 65, 200 - 70, 100, 200));
    // Turned a quarter about the anchor, the box lies to the right of it and below.
    a.SetEscapeAngle(900.0f, 0);
    a.CalculateAnnoBounds();
    EXPECT_EQ(a.GetBounds(), CRect(100, 200 - 64, 100 + 70, 200));

    // A multi-point record sizes the arrays by its characters; an empty one keeps one entry.
    r.m_nPositionType = 6;
    r.m_strText = "\xD6\xD0\xD6\xD0" "A";
    a.SetGeoAnno(r);
    EXPECT_EQ(a.GetPoints(), 3);
    r.m_strText = "";
    a.SetGeoAnno(r);
    EXPECT_EQ(a.GetPoints(), 1);
}

TEST_F(GeoAnnoTest, PositionTypeTests) {
    CGeoAnno a(CString("A\r\nB"), CPoint(0, 0), 50, 50, 0.0f, 0.0f, 0, 0, 1, 0, 0, 0, 0);
    EXPECT_TRUE(a.IsPositionType(3));
    EXPECT_TRUE(a.IsPositionType(0));
    EXPECT_TRUE(a.IsPositionType(1));
    EXPECT_FALSE(a.IsPositionType(2));
    a.SetName("A\\nB");
    EXPECT_FALSE(a.IsPositionType(3));
    EXPECT_TRUE(a.IsPositionType(1));
    a.SetName("A\r\nB\\nC");
    EXPECT_FALSE(a.IsPositionType(3));
    a.SetName("A\r\n\x81\x5Cn");  // a trail byte that looks like a backslash is no escape
    EXPECT_TRUE(a.IsPositionType(3));
    a.SetPositionType(2);
    EXPECT_TRUE(a.IsPositionType(2));
    EXPECT_FALSE(a.IsPositionType(0));
    EXPECT_FALSE(a.IsPositionType(1));
}

TEST_F(GeoAnnoTest, AlignTypesAndTheLegacyAlignmentWord) {
    CGeoAnno a;
    a.SetAlignType(9);
    EXPECT_EQ(a.GetAlignType(), 0);
    a.SetAlignType(8);
    EXPECT_EQ(a.GetAlignType(), 8);
    const struct {
        UINT word;
        int align;
    } words[] = {{0x0A, 8}, {0x00, 0}, {0x01, 3}, {0x04, 1}, {0x03, 6}, {0x0C, 2}, {0x05, 4}};
    for (const auto& w : words) {
        a.SetGeoAnnoFormat(w.word);
        EXPECT_EQ(a.GetAlignType(), w.align) << w.word;
    }
    const int back[9] = {0, 4, 8, 1, 5, 9, 2, 6, 10};
    for (int align = 0; align <= 8; ++align) {
        a.SetAlignType(align);
        EXPECT_EQ(a.GetGeoAnnoFormat(), back[align]);
    }
    const CRect box(0, 0, 11, 21);
    EXPECT_EQ(CGeoAnno::GetBoxAnchor(box, 0), CPoint(0, 0));
    EXPECT_EQ(CGeoAnno::GetBoxAnchor(box, 4), CPoint(5, 10));
    EXPECT_EQ(CGeoAnno::GetBoxAnchor(box, 5), CPoint(5, 21));
    EXPECT_EQ(CGeoAnno::GetBoxAnchor(box, 6), CPoint(11, 0));
    EXPECT_EQ(CGeoAnno::GetBoxAnchor(CRect(-11, -21, 0, 0), 4), CPoint(-5, -10));
}

TEST_F(GeoAnnoTest, EscapeAnglesPerCharacterOnlyForMultiPointText) {
    CGeoAnno single(CString("ABC"), CPoint(0, 0), 50, 50, 0.0f, 0.0f, 0, 0, 1, 0, 0, 0, 0);
    single.SetEscapeAngle(300.0f, 2);
    EXPECT_FLOAT_EQ(single.GetEscapeAngle(0), 300.0f);
    EXPECT_FLOAT_EQ(single.GetEscapeAngle(2), 300.0f);  // entry 0 whatever the index
    EXPECT_EQ(single.GetPoints(), 1);

    CGeoAnno multi(CString("ABC"), CPoint(0, 0), 50, 50, 0.0f, 0.0f, 0, 6, 1, 0, 0, 0, 0);
    multi.SetEscapeAngle(100.0f, -1);
    multi.SetEscapeAngle(200.0f, 1);
    multi.SetEscapeAngle(900.0f, 7);  // outside: nothing
    EXPECT_FLOAT_EQ(multi.GetEscapeAngle(0), 100.0f);
    EXPECT_FLOAT_EQ(multi.GetEscapeAngle(1), 200.0f);
    EXPECT_FLOAT_EQ(multi.GetEscapeAngle(2), 100.0f);
    EXPECT_FLOAT_EQ(multi.GetEscapeAngle(7), 0.0f);
    multi.SetPositionPoint(CPoint(5, 6), 2);
    multi.SetPositionPoint(CPoint(9, 9), 3);
    EXPECT_EQ(multi.GetPositionPoint(2), CPoint(5, 6));
    EXPECT_EQ(multi.GetPositionPoint(3), CPoint(0, 0));

    CPoint p;
    float angle = 0;
    char ch[3];
    EXPECT_EQ(multi.GetAt(2, &p, &angle, ch), 1);
    EXPECT_EQ(p, CPoint(5, 6));
    EXPECT_STREQ(ch, "C");
    EXPECT_EQ(multi.GetAt(3, &p, nullptr, nullptr), 0);
    EXPECT_EQ(multi.GetAt(0, nullptr, nullptr, nullptr), 0);
}

TEST_F(GeoAnnoTest, MultiPointBoundsSurroundEveryCharacter) {
    CGeoAnno multi(CString("A\xD6\xD0"), CPoint(0, 0), 40, 60, 0.0f, 0.0f, 0, 6, 1, 0, 0, 0, 0);
    multi.SetPositionPoint(CPoint(1000, 1000), 1);
    multi.CalculateAnnoBounds();
    // "A" at (0, 0): 30 x 40; the double-byte character at (1000, 1000): 60 x 40.
    EXPECT_EQ(multi.GetBounds(), CRect(0, 0, 1060, 1040));
    CPoint pts[4];
    multi.GetFourPoints(pts, 0, 1);
    EXPECT_EQ(pts[0], CPoint(1000, 1000));
    EXPECT_EQ(pts[2], CPoint(1060, 1040));
}

TEST_F(GeoAnnoTest, UnitChangeConvertsSizesAndPointsButNotMargins) {
    const tagGEORECT margins{1000, 2000, 3000, 4000};
    CGeoAnno box(CString("AB"), CRect(0, 0, 30000, 12000), 2500, 1500, margins, 0, 3700, 1200, 0);
    box.SetPositionPoint(CPoint(4000, -8000), 0);
    box.ChangeUnit(6);
    EXPECT_EQ(box.GetCharWidthA(), 1);
    EXPECT_EQ(box.GetCharHeight(), 2);
    EXPECT_EQ(box.GetSpace(), 3);
    EXPECT_EQ(box.GetRowSpace(), 1);
    EXPECT_EQ(box.GetBounds(), CRect(0, 0, 30, 12));  // converted once
    EXPECT_EQ(box.GetPositionPoint(0), CPoint(4, -8));
    EXPECT_EQ(box.GetGeoRect(), margins);
}

TEST_F(GeoAnnoTest, CopiesAndDuplicates) {
    CGeoAnno src(CString("ABC"), CPoint(7, 8), 50, 50, 10.0f, 20.0f, 5, 6, 2, 3, 4, 0, 1);
    src.SetGeoRect(tagGEORECT{1, 2, 3, 4});
    src.SetGeoFormat(tagGEOFORMAT{5, 6, 7, 8, 9.0f});
    src.SetBackColor(0x42);
    src.SetLineWidth(2.5f);
    src.SetItalicAngle(33.0f);
    src.SetBoldValue(700);
    src.SetEscapeAngle(44.0f, 2);
    std::unique_ptr<CGeoObject> dup(src.Duplicate(0, 0));
    ASSERT_NE(dup, nullptr);
    CGeoAnno* d = dynamic_cast<CGeoAnno*>(dup.get());
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->GetName(), CString("ABC"));
    EXPECT_EQ(d->GetPoints(), 3);
    EXPECT_FLOAT_EQ(d->GetEscapeAngle(2), 44.0f);
    EXPECT_EQ(d->GetPositionPoint(0), CPoint(7, 8));
    EXPECT_EQ(d->GetGeoRect(), (tagGEORECT{1, 2, 3, 4}));
    EXPECT_EQ(d->GetGeoFormat(), (tagGEOFORMAT{5, 6, 7, 8, 9.0f}));
    EXPECT_EQ(d->GetBackColor(), 0x42u);
    EXPECT_FLOAT_EQ(d->GetLineWidth(), 2.5f);
    EXPECT_FLOAT_EQ(d->GetItalicAngle(), 33.0f);
    EXPECT_EQ(d->GetBoldValue(), 700);
    EXPECT_EQ(d->GetAlignType(), 5);
    EXPECT_EQ(d->GetRowSpace(), 4);
    EXPECT_TRUE(d->GetTwoAlign());
    EXPECT_EQ(d->GetBounds(), src.GetBounds());

    CGeoVectorObject plain;
    CGeoAnno target;
    EXPECT_EQ(target.Copy(plain, 0, 0), 0);  // different kinds do not copy
    EXPECT_EQ(src.CanEditSymbolAttribute(), 0);
    CPoint snap;
    int index = 0;
    EXPECT_EQ(src.GetSnapPointA(snap, CRect(0, 0, 100, 100), index, SNAP_VERTEX, 0), 0);
}

}  // namespace
