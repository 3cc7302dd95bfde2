// Whether an annotation must be broken up to be drawn in pieces, and breaking it into one annotation
// per character, and the conversions that collect what drawing emits.
#include "AnnoDrawSupport.h"

#include "annotation/AnnoDefaults.h"
#include "annotation/GeoAnno.h"
#include "core/GeoVectorLayer.h"
#include "core/GeoView.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

std::unique_ptr<CGeoAnno> Text(const char* text, int align, int colSpace, float angle = 0.0f, int positionType = 0)
{
    return std::make_unique<CGeoAnno>(CString(text), CPoint(0, 0), 20, 50, angle, angle, align, positionType, 1,
                                      colSpace, 0, 0, 0);
}

void SetLettering(CGeoAnno& a, DWORD flags)
{
    GEOVIEW v = a.GetGeoView();
    v.m_dwTextFlags = flags;
    a.CGeoVectorObject::SetGeoView(v);
}

std::vector<std::unique_ptr<CGeoAnno>> Take(CTypedPtrList<CObList, CGeoVectorObject*>& list)
{
    std::vector<std::unique_ptr<CGeoAnno>> out;
    while (!list.IsEmpty()) out.emplace_back(dynamic_cast<CGeoAnno*>(list.RemoveHead()));
    return out;
}

class GeoAnnoPartsTest : public ::testing::Test {
protected:
    void TearDown() override { SetCurrentGeoAnno(GEOANNO()); }
};

TEST_F(GeoAnnoPartsTest, WhenTextMustBeDrawnInPieces)
{
    auto plain = Text("文字", 0, 0);
    SetLettering(*plain, GEOVIEW_TEXT_TRANSPARENT);
    EXPECT_EQ(plain->GeoAnnoCanBeSpit(), 0);
    for (DWORD extra : {GEOVIEW_TEXT_UNDERLINE, GEOVIEW_TEXT_STRIKE, GEOVIEW_TEXT_EMPHASIS}) {
        SetLettering(*plain, GEOVIEW_TEXT_TRANSPARENT | extra);
        EXPECT_EQ(plain->GeoAnnoCanBeSpit(), 1) << extra;
    }
    SetLettering(*plain, 0);  // opaque background
    EXPECT_EQ(plain->GeoAnnoCanBeSpit(), 1);
    SetLettering(*plain, GEOVIEW_TEXT_TRANSPARENT);
    plain->SetShowFrame(1);
    EXPECT_EQ(plain->GeoAnnoCanBeSpit(), 1);

    auto spaced = Text("文字", 0, 5);
    SetLettering(*spaced, GEOVIEW_TEXT_TRANSPARENT);
    EXPECT_EQ(spaced->GeoAnnoCanBeSpit(), 1);
    auto rows = Text("文\r\n字", 0, 0);
    SetLettering(*rows, GEOVIEW_TEXT_TRANSPARENT);
    EXPECT_EQ(rows->GeoAnnoCanBeSpit(), 1);
    auto one = Text("文", 0, 0, 0.0f, 6);
    SetLettering(*one, GEOVIEW_TEXT_TRANSPARENT);
    EXPECT_EQ(one->GeoAnnoCanBeSpit(), 0);
    auto two = Text("文字", 0, 0, 0.0f, 6);
    SetLettering(*two, GEOVIEW_TEXT_TRANSPARENT);
    EXPECT_EQ(two->GeoAnnoCanBeSpit(), 1);
}

TEST_F(GeoAnnoPartsTest, EachCharacterStaysWhereItStood)
{
    struct Case {
        int align;
        float angle;
        std::vector<CPoint> anchors;
    } cases[] = {
        {0, 0.0f, {{0, 0}, {60, 0}, {120, 0}}},
        {8, 0.0f, {{-95, 0}, {-35, 0}, {0, 0}}},     // right-top: each character's own right-top corner
        {0, 900.0f, {{0, 0}, {0, 60}, {0, 120}}},    // along the turned row
    };
    for (const Case& c : cases) {
        auto a = Text("文字a", c.align, 10, c.angle);
        a->SetObjectClassID(12);
        CTypedPtrList<CObList, CGeoVectorObject*> list;
        ASSERT_EQ(ConvertGeoAnnoToPartAnno(a.get(), list, nullptr), 1);
        auto parts = Take(list);
        ASSERT_EQ(parts.size(), 3u);
        const char* texts[3] = {"文", "字", "a"};
        for (size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(parts[i]->GetName(), CString(texts[i]));
            EXPECT_EQ(parts[i]->GetPositionPoint(0), c.anchors[i]) << c.align << " " << i;
            EXPECT_EQ(parts[i]->GetAlignType(), c.align);
            EXPECT_FLOAT_EQ(parts[i]->GetEscapeAngle(0), c.angle);
            EXPECT_EQ(parts[i]->GetObjectClassID(), 12u);
        }
        if (c.align == 8) {
            // The first character's box is where the row put it: (-145, -20) to (-95, 0).
            EXPECT_EQ(parts[0]->GetBounds(), CRect(-145, -20, -95, 0));
        }
    }
}

TEST_F(GeoAnnoPartsTest, MultiPointCharactersKeepTheirPointsAndAngles)
{
    auto m = Text("文a", 0, 0, 0.0f, 6);
    m->SetPositionPoint(CPoint(300, 40), 1);
    m->SetEscapeAngle(450.0f, 1);
    CTypedPtrList<CObList, CGeoVectorObject*> list;
    ASSERT_EQ(ConvertGeoAnnoToPartAnno(m.get(), list, nullptr), 1);
    auto parts = Take(list);
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[1]->GetName(), CString("a"));
    EXPECT_EQ(parts[1]->GetPositionPoint(0), CPoint(300, 40));
    EXPECT_FLOAT_EQ(parts[1]->GetEscapeAngle(0), 450.0f);
    EXPECT_EQ(parts[1]->GetPoints(), 1);

    EXPECT_EQ(ConvertGeoAnnoToPartAnno(nullptr, list, nullptr), 0);
}

TEST_F(GeoAnnoPartsTest, RowsAreBrokenUpByDrawingThemIntoTheLayer)
{
    CGeoVectorLayer layer(CRect(0, 0, 1000, 1000));  // owns the text and its parts
    auto* rows = new CGeoAnno(CString("文\r\n字"), CPoint(0, 0), 20, 50, 0.0f, 0.0f, 0, 0, 1, 0, 0, 0, 0);
    ASSERT_EQ(rows->AttachLayer(&layer), 1);
    CTypedPtrList<CObList, CGeoVectorObject*> list;
    ASSERT_EQ(ConvertGeoAnnoToPartAnno(rows, list, nullptr), 1);
    ASSERT_EQ(list.GetCount(), 2);  // one per row
    EXPECT_EQ(dynamic_cast<CGeoAnno*>(list.GetHead())->GetName(), CString("文"));
    EXPECT_EQ(list.GetTail()->GetLayer(), &layer);
    EXPECT_EQ(layer.GetObjectCount(), 3);

    CGeoAnno box(CString("x"), CRect(0, 0, 10, 10), 20, 50, tagGEORECT(), 0, 0, 0, 0);
    EXPECT_EQ(ConvertGeoAnnoToPartion(&box, box.GetGeoView(), list, nullptr), 0);
}

}  // namespace

namespace {

TEST_F(GeoAnnoPartsTest, PartsGoIntoALayerMovedByTheLayersOffset)
{
    CGeoVectorLayer from(CRect(100, 200, 1100, 1200));
    CGeoVectorLayer to(CRect(40, 50, 1040, 1050));
    CTypedPtrList<CObList, CGeoVectorObject*> list;
    // Both layers own what they hold and delete it with themselves.
    list.AddTail(new CGeoAnno(CString("a"), CPoint(10, 10), 20, 50, 0.0f, 0.0f, 0, 0, 1, 0, 0, 0, 0));
    list.AddTail(new CGeoAnno(CString("b"), CPoint(30, 10), 20, 50, 0.0f, 0.0f, 0, 0, 1, 0, 0, 0, 0));

    ASSERT_EQ(AddAnnoListtoLayer(list, &from, nullptr), 1);
    EXPECT_EQ(from.GetObjectCount(), 2);
    EXPECT_EQ(list.GetHead()->GetLayer(), &from);
    EXPECT_EQ(dynamic_cast<CGeoAnno*>(list.GetHead())->GetPositionPoint(0), CPoint(10, 10));

    ASSERT_EQ(AddAnnoListtoLayer(list, &from, &to), 1);
    EXPECT_EQ(from.GetObjectCount(), 0);
    EXPECT_EQ(to.GetObjectCount(), 2);
    EXPECT_EQ(list.GetTail()->GetLayer(), &to);
    EXPECT_EQ(dynamic_cast<CGeoAnno*>(list.GetHead())->GetPositionPoint(0), CPoint(70, 160));

    EXPECT_EQ(AddAnnoListtoLayer(list, nullptr, &to), 0);
}

}  // namespace

namespace {

void DeleteAll(CTypedPtrList<CObList, CGeoVectorObject*>& list)
{
    while (!list.IsEmpty()) delete list.RemoveHead();
}

TEST_F(GeoAnnoPartsTest, DrawnConversionsCollectObjectsOfTheAnnotationsClass)
{
    annodraw_test::RecordingDC rec;
    auto a = Text("文字", 0, 10);
    a->SetObjectClassID(31);
    GEOVIEW view = a->GetGeoView();
    view.m_dwTextFlags = GEOVIEW_TEXT_TRANSPARENT;
    SetLettering(*a, GEOVIEW_TEXT_TRANSPARENT);

    CTypedPtrList<CObList, CGeoVectorObject*> list;
    a->ConvertGeoAnnoToAnnoList(&rec.dc, annodraw_test::kScale, annodraw_test::kScale, CPoint(0, 0), CPoint(0, 0),
                                view, list, nullptr, 0, 0, 1);
    ASSERT_EQ(list.GetCount(), 2);  // spaced characters come one by one
    EXPECT_EQ(dynamic_cast<CGeoAnno*>(list.GetHead())->GetName(), CString("文"));
    EXPECT_EQ(list.GetTail()->GetObjectClassID(), 31u);
    DeleteAll(list);

    // Text drawn in one piece: nothing to collect, and a transparent style has no background.
    auto whole = Text("文字", 0, 0);
    SetLettering(*whole, GEOVIEW_TEXT_TRANSPARENT);
    whole->ConvertGeoAnnoToAnnoList(&rec.dc, annodraw_test::kScale, annodraw_test::kScale, CPoint(0, 0),
                                    CPoint(0, 0), view, list, nullptr, 0, 0, 1);
    EXPECT_TRUE(list.IsEmpty());

    a->ConvertGeoAnnoToVectorPath(&rec.dc, annodraw_test::kScale, annodraw_test::kScale, CPoint(0, 0), CPoint(0, 0),
                                  view, list, nullptr, 0, 0, 1);
    EXPECT_FALSE(list.IsEmpty());
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) EXPECT_EQ(list.GetNext(pos)->GetObjectClassID(), 31u);
    DeleteAll(list);

    // An outline width of 0 would divide by zero in the scale: refused.
    EXPECT_EQ(ConvertGeoAnnoToPath(a.get(), view, list, 0, nullptr), 0);
    EXPECT_TRUE(list.IsEmpty());
}

}  // namespace
