// Editing the characters of multi-point annotations and uniting annotations.
#include "annotation/AnnoDefaults.h"
#include "annotation/GeoAnno.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// A multi-point annotation (char height 20, width 50) with character i at (100 i, 0).
std::unique_ptr<CGeoAnno> MultiPoint(const char* text)
{
    auto a = std::make_unique<CGeoAnno>(CString(text), CPoint(0, 0), 20, 50, 0.0f, 0.0f, 0, 6, 1, 0, 0, 0, 0);
    for (int i = 0; i < a->GetPoints(); ++i) a->SetPositionPoint(CPoint(100 * i, 0), i);
    a->CalculateAnnoBounds();
    return a;
}

std::unique_ptr<CGeoAnno> Single(const char* text, CPoint at)
{
    return std::make_unique<CGeoAnno>(CString(text), at, 20, 50, 0.0f, 0.0f, 0, 0, 1, 0, 0, 0, 0);
}

class GeoAnnoTextEditTest : public ::testing::Test {
protected:
    void TearDown() override { SetCurrentGeoAnno(GEOANNO()); }
};

TEST_F(GeoAnnoTextEditTest, SetAtSwapsCharactersOfEitherWidth)
{
    auto a = MultiPoint("ab字");
    char wide[] = "文";
    ASSERT_EQ(a->SetAt(0, nullptr, nullptr, wide), 1);
    EXPECT_EQ(a->GetName(), CString("文b字"));
    EXPECT_EQ(a->GetPoints(), 3);

    char narrow[] = "x";
    CPoint p(7, 8);
    float angle = 450.0f;
    ASSERT_EQ(a->SetAt(2, &p, &angle, narrow), 1);
    EXPECT_EQ(a->GetName(), CString("文bx"));
    CPoint got;
    float gotAngle = 0.0f;
    char text[3];
    ASSERT_EQ(a->GetAt(2, &got, &gotAngle, text), 1);
    EXPECT_EQ(got, p);
    EXPECT_FLOAT_EQ(gotAngle, 450.0f);

    EXPECT_EQ(a->SetAt(3, &p, nullptr, nullptr), 0);
    EXPECT_EQ(a->SetAt(-1, &p, nullptr, nullptr), 0);
    auto single = Single("ab", CPoint(0, 0));
    EXPECT_EQ(single->SetAt(0, nullptr, nullptr, wide), 0);
    EXPECT_EQ(single->GetName(), CString("ab"));
}

TEST_F(GeoAnnoTextEditTest, InsertAtPlacesTheNewCharactersAndKeepsTheOthers)
{
    auto a = MultiPoint("文字");
    CPoint start(0, 50);
    CString text("新a");
    ASSERT_EQ(a->InsertAt(1, start, 0.0f, text), 1);
    EXPECT_EQ(a->GetName(), CString("文新a字"));
    ASSERT_EQ(a->GetPoints(), 4);
    EXPECT_EQ(a->GetPositionPoint(0), CPoint(0, 0));
    EXPECT_EQ(a->GetPositionPoint(1), CPoint(0, 50));
    EXPECT_EQ(a->GetPositionPoint(2), CPoint(50, 50));
    EXPECT_EQ(a->GetPositionPoint(3), CPoint(100, 0));

    // At the count it appends, one character after the last one; one further is refused.
    CPoint last = a->GetPositionPoint(3);
    CString tail("b");
    ASSERT_EQ(a->InsertAt(4, last, 0.0f, tail), 1);
    EXPECT_EQ(a->GetName(), CString("文新a字b"));
    EXPECT_EQ(a->GetPositionPoint(4), CPoint(150, 0));
    EXPECT_EQ(a->InsertAt(6, last, 0.0f, tail), 0);
    EXPECT_EQ(a->InsertAt(-1, last, 0.0f, tail), 0);
    EXPECT_EQ(a->GetPoints(), 5);
    EXPECT_EQ(a->GetBounds().right, 175);
}

TEST_F(GeoAnnoTextEditTest, AddDeleteAndMoveKeepTextAndPointsTogether)
{
    auto a = MultiPoint("文字");
    CPoint p(500, 0);
    // Only the first character is taken, so every character has a point.
    ASSERT_EQ(a->Add(p, 0.0f, "ab"), 1);
    EXPECT_EQ(a->GetName(), CString("文字a"));
    ASSERT_EQ(a->GetPoints(), 3);
    EXPECT_EQ(a->GetPositionPoint(2), CPoint(500, 0));
    EXPECT_EQ(a->GetBounds().right, 525);
    EXPECT_EQ(a->Add(p, 0.0f, ""), 0);

    ASSERT_EQ(a->DeletePoint(0), 1);
    EXPECT_EQ(a->GetName(), CString("字a"));
    EXPECT_EQ(a->GetPositionPoint(0), CPoint(100, 0));
    EXPECT_EQ(a->DeletePoint(2), 0);

    a->MovePoint(1, POINT{10, 5});
    EXPECT_EQ(a->GetPositionPoint(1), CPoint(510, 5));
    a->MovePointTo(0, POINT{-40, 0});
    EXPECT_EQ(a->GetPositionPoint(0), CPoint(-40, 0));
    EXPECT_EQ(a->GetBounds().left, -40);

    // The last character stays: a multi-point annotation never loses its only point.
    ASSERT_EQ(a->DeletePoint(1), 1);
    EXPECT_EQ(a->DeletePoint(0), 0);
    EXPECT_EQ(a->GetName(), CString("字"));
}

TEST_F(GeoAnnoTextEditTest, UnionOfTwoAnnotations)
{
    auto a = Single("文字", CPoint(10, 10));
    auto b = Single("ab", CPoint(500, 500));
    ASSERT_EQ(a->UnionAnno(b.get(), 0), 1);
    EXPECT_EQ(a->GetName(), CString("文字ab"));
    EXPECT_EQ(a->GetPositionPoint(0), CPoint(10, 10));
    EXPECT_EQ(a->GetBounds(), CRect(10, 10, 160, 30));

    // Spreading into a multi-point one takes each character at its place.
    auto m = MultiPoint("文");
    ASSERT_EQ(m->UnionAnno(b.get(), 1), 1);
    EXPECT_EQ(m->GetName(), CString("文ab"));
    ASSERT_EQ(m->GetPoints(), 3);
    EXPECT_EQ(m->GetPositionPoint(1), CPoint(500, 500));
    EXPECT_EQ(m->GetPositionPoint(2), CPoint(525, 500));
    EXPECT_EQ(b->GetName(), CString("ab"));
    EXPECT_EQ(b->GetPositionType(), 0);

    CGeoAnno box(CString("x"), CRect(0, 0, 10, 10), 20, 50, tagGEORECT(), 0, 0, 0, 0);
    EXPECT_EQ(a->UnionAnno(&box, 0), 0);
    EXPECT_EQ(a->UnionAnno(nullptr, 0), 0);
    // Characters without points of their own are refused either way.
    EXPECT_EQ(a->UnionAnno(b.get(), 1), 0);
    EXPECT_EQ(m->UnionAnno(b.get(), 0), 0);
    EXPECT_EQ(m->GetName(), CString("文ab"));
}

TEST_F(GeoAnnoTextEditTest, UnionOfAListIntoOneMultiPointAnnotation)
{
    auto first = Single("文字", CPoint(0, 0));
    auto second = Single("ab", CPoint(300, 40));
    CTypedPtrList<CObList, CGeoVectorObject*> list;
    list.AddTail(first.get());
    list.AddTail(second.get());

    CGeoAnno united;
    ASSERT_EQ(united.UnionAnno(list, 1), 1);
    EXPECT_EQ(united.GetPositionType(), 6);
    EXPECT_EQ(united.GetName(), CString("文字ab"));
    ASSERT_EQ(united.GetPoints(), 4);
    const CPoint expected[4] = {{0, 0}, {50, 0}, {300, 40}, {325, 40}};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(united.GetPositionPoint(i), expected[i]) << i;
    EXPECT_EQ(united.GetCharHeight(), 20);
    EXPECT_EQ(united.GetUnit(), 3);

    CGeoAnno text;
    ASSERT_EQ(text.UnionAnno(list, 0), 1);
    EXPECT_EQ(text.GetPositionType(), 0);
    EXPECT_EQ(text.GetName(), CString("文字ab"));
    EXPECT_EQ(text.GetPositionPoint(0), CPoint(0, 0));

    // Led by a multi-point annotation, the united text is single-point with one point and angle.
    auto lead = MultiPoint("文字");
    lead->SetPositionPoint(CPoint(5, 6), 0);
    CTypedPtrList<CObList, CGeoVectorObject*> led;
    led.AddTail(lead.get());
    led.AddTail(second.get());
    CGeoAnno joined;
    ASSERT_EQ(joined.UnionAnno(led, 0), 1);
    EXPECT_EQ(joined.GetName(), CString("文字ab"));
    EXPECT_EQ(joined.GetPoints(), 1);
    EXPECT_EQ(joined.GetPositionPoint(0), CPoint(5, 6));
}

}  // namespace
