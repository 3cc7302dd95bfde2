// Finding the seam at a point of an annotation and dividing it in two there.
#include "annotation/AnnoDefaults.h"
#include "annotation/GeoAnno.h"
#include "ostrel/Measure.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// Five characters of 50 with column space 10 at the origin: cells start at x 0, 60, 120, 180, 240.
std::unique_ptr<CGeoAnno> Five(float angle = 0.0f)
{
    return std::make_unique<CGeoAnno>(CString("文字文字文"), CPoint(0, 0), 20, 50, angle, angle, 0, 0, 1, 10, 0,
                                      0, 0);
}

class GeoAnnoDivideTest : public ::testing::Test {
protected:
    void TearDown() override { SetCurrentGeoAnno(GEOANNO()); }
};

TEST_F(GeoAnnoDivideTest, SeamFollowsTheHalfOfTheCharacterHit)
{
    auto t = Five();
    struct Case {
        CPoint p;
        int k;
        CPoint a;
    } cases[] = {
        {{160, 10}, 2, {170, 0}},   // right half of the third: after it
        {{130, 10}, 1, {120, 0}},   // left half of the third: before it
        {{5, 10}, 0, {50, 0}},      // the first is always split after
        {{285, 10}, 3, {240, 0}},   // the last is always split before
        {{174, 10}, 2, {170, 0}},   // the column space belongs half to each neighbour
        {{176, 10}, 2, {180, 0}},
    };
    for (const Case& c : cases) {
        CPoint a, b;
        EXPECT_EQ(t->GetPointPositionInAnno(c.p, a, b, 0, 1), c.k) << c.p.x;
        EXPECT_EQ(a, c.a) << c.p.x;
        EXPECT_EQ(b, CPoint(c.a.x, 20)) << c.p.x;
    }
    CPoint a, b;
    EXPECT_EQ(t->GetPointPositionInAnno(CPoint(160, 10), a, b, 0, 0), 6);  // bytes of three characters
    EXPECT_EQ(t->GetPointPositionInAnno(CPoint(160, 40), a, b, 0, 1), -1);
}

TEST_F(GeoAnnoDivideTest, TurnedTextIsTestedInItsOwnFrame)
{
    auto t = Five(900.0f);
    CPoint a, b;
    EXPECT_EQ(t->GetPointPositionInAnno(CPoint(-10, 160), a, b, 0, 1), 2);
    EXPECT_EQ(a, CPoint(0, 170));
    EXPECT_EQ(b, CPoint(-20, 170));
}

TEST_F(GeoAnnoDivideTest, SeamAfterACharacterMatchesTheSplitAtAPoint)
{
    for (float angle : {0.0f, 900.0f, 300.0f}) {
        auto t = Five(angle);
        for (int k = 0; k < 4; ++k) {
            // A point in the right half of character k, turned with the text.
            POINT inside = {60 * k + 40, 10};
            inside = RotatePoint(inside, POINT{0, 0}, angle * 3.141592653589793 / 1800.0);
            CPoint a1, b1, a2, b2;
            ASSERT_EQ(t->GetPointPositionInAnno(CPoint(inside), a1, b1, 0, 1), k) << angle;
            t->GetPointPositionInAnno(k, a2, b2);
            EXPECT_EQ(a1, a2) << angle << " " << k;
            EXPECT_EQ(b1, b2) << angle << " " << k;
        }
        CPoint a(1, 1), b(2, 2);
        t->GetPointPositionInAnno(5, a, b);
        EXPECT_EQ(a, CPoint(1, 1));
    }
}

TEST_F(GeoAnnoDivideTest, DivisionGivesTwoPartsHalfAColumnSpaceOffTheSeam)
{
    auto t = Five();
    t->SetObjectClassID(77);
    CTypedPtrList<CObList, CGeoVectorObject*> list;
    t->DivideAnnoIntoTwoParts(CPoint(160, 10), list);
    ASSERT_EQ(list.GetCount(), 2);
    std::unique_ptr<CGeoAnno> first(dynamic_cast<CGeoAnno*>(list.RemoveHead()));
    std::unique_ptr<CGeoAnno> second(dynamic_cast<CGeoAnno*>(list.RemoveHead()));
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->GetName(), CString("文字文"));
    EXPECT_EQ(first->GetAlignType(), 6);
    EXPECT_EQ(first->GetPositionPoint(0), CPoint(165, 0));
    EXPECT_EQ(second->GetName(), CString("字文"));
    EXPECT_EQ(second->GetAlignType(), 0);
    EXPECT_EQ(second->GetPositionPoint(0), CPoint(175, 0));
    EXPECT_EQ(first->GetObjectClassID(), 77u);
    EXPECT_EQ(second->GetUnit(), 3);
    EXPECT_EQ(t->GetName(), CString("文字文字文"));

    // Nothing for a point on no character.
    t->DivideAnnoIntoTwoParts(CPoint(160, 40), list);
    EXPECT_TRUE(list.IsEmpty());
}

TEST_F(GeoAnnoDivideTest, VerticalTextSplitsBetweenRows)
{
    // Rows of 20 with row space 10: characters at y 60, 30 and 0.
    CGeoAnno v(CString("文字文"), CPoint(0, 0), 20, 50, 0.0f, 0.0f, 0, 0, 1, 0, 10, 1, 0);
    CPoint a, b;
    EXPECT_EQ(v.GetPointPositionInAnno(CPoint(25, 35), a, b, 0, 1), 1);
    EXPECT_EQ(a, CPoint(0, 30));
    EXPECT_EQ(b, CPoint(50, 30));
    EXPECT_EQ(v.GetPointPositionInAnno(CPoint(25, 45), a, b, 0, 1), 0);
    EXPECT_EQ(a, CPoint(0, 50));

    CTypedPtrList<CObList, CGeoVectorObject*> list;
    v.DivideAnnoIntoTwoParts(CPoint(25, 35), list);
    ASSERT_EQ(list.GetCount(), 2);
    std::unique_ptr<CGeoAnno> lower(dynamic_cast<CGeoAnno*>(list.RemoveHead()));
    std::unique_ptr<CGeoAnno> upper(dynamic_cast<CGeoAnno*>(list.RemoveHead()));
    EXPECT_EQ(lower->GetName(), CString("文"));
    EXPECT_EQ(lower->GetAlignType(), 2);
    EXPECT_EQ(lower->GetPositionPoint(0), CPoint(0, 25));
    EXPECT_EQ(upper->GetName(), CString("文字"));
    EXPECT_EQ(upper->GetPositionPoint(0), CPoint(0, 35));
}

TEST_F(GeoAnnoDivideTest, MultiPointCharactersAreHitInTheirOwnTurnedBoxes)
{
    CGeoAnno m(CString("文字"), CPoint(0, 0), 20, 50, 0.0f, 0.0f, 0, 6, 1, 0, 0, 0, 0);
    m.SetPositionPoint(CPoint(100, 100), 1);
    m.SetEscapeAngle(900.0f, 1);  // stands up from (100, 100): its box runs to x 80, y 150
    m.CalculateAnnoBounds();
    CPoint a, b;
    EXPECT_EQ(m.GetPointPositionInAnno(CPoint(90, 140), a, b, 0, 1), 1);
    EXPECT_EQ(a, CPoint(100, 100));
    EXPECT_EQ(m.GetPointPositionInAnno(CPoint(10, 10), a, b, 0, 1), 0);
    EXPECT_EQ(m.GetPointPositionInAnno(CPoint(110, 140), a, b, 0, 1), -1);

    CTypedPtrList<CObList, CGeoVectorObject*> list;
    m.DivideAnnoIntoTwoParts(CPoint(10, 10), list);
    EXPECT_TRUE(list.IsEmpty());
}

// The two parts FindPosition made, text and position point, taken out of the list.
std::vector<std::pair<CString, CPoint>> TakeParts(CTypedPtrList<CObList, CGeoAccessorialObject*>& list)
{
    std::vector<std::pair<CString, CPoint>> parts;
    while (!list.IsEmpty()) {
        std::unique_ptr<CGeoAnno> a(dynamic_cast<CGeoAnno*>(list.RemoveHead()));
        if (a) parts.emplace_back(a->GetName(), a->GetPositionPoint(0));
    }
    return parts;
}

TEST_F(GeoAnnoDivideTest, FindPositionCutsWhereTheSegmentCrossesTheRow)
{
    // A segment across the row at x 150 of the text's own frame: the left half of the fourth
    // character, which starts the second part; turned text is cut the same way in its frame.
    for (float angle : {0.0f, 900.0f, 300.0f}) {
        auto t = Five(angle);
        const double turn = angle * 3.141592653589793 / 1800.0;
        const CPoint p1(RotatePoint(POINT{150, -10}, POINT{0, 0}, turn));
        const CPoint p2(RotatePoint(POINT{150, 30}, POINT{0, 0}, turn));
        CTypedPtrList<CObList, CGeoAccessorialObject*> list;
        ASSERT_EQ(t->FindPosition(t->GetGeoView(), p1, p2, list), 1) << angle;
        const auto parts = TakeParts(list);
        ASSERT_EQ(parts.size(), 2u);
        EXPECT_EQ(parts[0].first, CString("文字文"));
        EXPECT_EQ(parts[1].first, CString("字文"));
        const CPoint second(RotatePoint(POINT{180, 0}, POINT{0, 0}, turn));
        EXPECT_LE(std::abs(parts[0].second.x) + std::abs(parts[0].second.y), 1) << angle;
        EXPECT_LE(std::abs(parts[1].second.x - second.x) + std::abs(parts[1].second.y - second.y), 1) << angle;
        EXPECT_EQ(t->GetName(), CString("文字文字文"));
    }
}

TEST_F(GeoAnnoDivideTest, FindPositionRefusesWhatItCannotCut)
{
    auto formatted = std::make_unique<CGeoAnno>(CString("1/2"), CPoint(0, 0), 20, 50, tagGEOFORMAT{}, 0.0f, 0.0f, 0,
                                                0, 0);
    auto echelon = Five();
    echelon->SetArrayStyle(ARRAY_ECHELON);
    auto empty = Five();
    empty->SetName("");
    auto multi = std::make_unique<CGeoAnno>(CString("文字"), CPoint(0, 0), 20, 50, 0.0f, 0.0f, 0, 6, 1, 0, 0, 0, 0);
    struct Case {
        const char* what;
        CGeoAnno* a;
        CPoint p1, p2;
    } cases[] = {
        {"crosses the bottom edge only", Five().release(), {150, -10}, {150, 10}},
        {"misses the text", Five().release(), {150, 40}, {150, 60}},
        {"cuts before the first character", Five().release(), {10, -10}, {10, 30}},
        {"formatted", formatted.get(), {10, -10}, {10, 30}},
        {"echelon", echelon.get(), {150, -10}, {150, 30}},
        {"empty", empty.get(), {150, -10}, {150, 30}},
        {"multi-point", multi.get(), {60, -10}, {60, 30}},
    };
    for (Case& c : cases) {
        CTypedPtrList<CObList, CGeoAccessorialObject*> list;
        EXPECT_EQ(c.a->FindPosition(c.a->GetGeoView(), c.p1, c.p2, list), 0) << c.what;
        EXPECT_TRUE(list.IsEmpty()) << c.what;
    }
    for (int i = 0; i < 3; ++i) delete cases[i].a;
}

TEST_F(GeoAnnoDivideTest, FindPositionCutsBoxAndRowsBetweenRows)
{
    // Box text of four characters of 50 in a box 110 wide: two rows of two.
    CGeoAnno box(CString("文字注记"), CRect(0, 0, 110, 60), 20, 50, tagGEORECT{}, 0, 0, 10, 0);
    CTypedPtrList<CObList, CGeoAccessorialObject*> list;
    CRect b = box.GetBounds();
    b.NormalizeRect();
    const int mid = (b.top + b.bottom) / 2;
    ASSERT_EQ(box.FindPosition(box.GetGeoView(), CPoint(-10, mid), CPoint(120, mid), list), 1);
    auto parts = TakeParts(list);
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[0].first, CString("文字"));
    EXPECT_EQ(parts[1].first, CString("注记"));

    // Two rows of a single-point text (type 3).
    CGeoAnno rows(CString("文字\r\n注记"), CPoint(0, 0), 20, 50, 0.0f, 0.0f, 0, 3, 1, 0, 10, 0, 0);
    CPoint c[4];
    rows.GetFourPoints(c, 0, -1);
    const int y = (c[0].y + c[3].y) / 2;
    ASSERT_EQ(rows.FindPosition(rows.GetGeoView(), CPoint(-10, y), CPoint(200, y), list), 1);
    parts = TakeParts(list);
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[0].first, CString("文字"));
    EXPECT_EQ(parts[1].first, CString("注记"));

    // Below the second of three rows: the separators before it are not content, so the cut still
    // falls between rows, never inside a character.
    CGeoAnno three(CString("文字\r\n注记\r\n地名"), CPoint(0, 0), 20, 50, 0.0f, 0.0f, 0, 3, 1, 0, 10, 0, 0);
    three.GetFourPoints(c, 0, -1);
    const int y2 = std::min(c[0].y, c[3].y) + 25;
    ASSERT_EQ(three.FindPosition(three.GetGeoView(), CPoint(-10, y2), CPoint(200, y2), list), 1);
    parts = TakeParts(list);
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[0].first, CString("文字\r\n注记"));
    EXPECT_EQ(parts[1].first, CString("地名"));
}

}  // namespace
