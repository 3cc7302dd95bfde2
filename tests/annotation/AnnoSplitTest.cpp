// Cutting annotations in two: multi-point text before a character, rows after a row, and at a hit.
#include "annotation/AnnoDefaults.h"
#include "annotation/AnnoSplit.h"
#include "annotation/GeoAnno.h"
#include "annotation/AnnoTextDraw.h"
#include "core/GeoVectorLayer.h"
#include "vector/GeoPoint.h"
#include "core/GeoView.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// Takes the parts out of the list; the test owns them.
std::vector<std::unique_ptr<CGeoAnno>> Take(CObList& out)
{
    std::vector<std::unique_ptr<CGeoAnno>> parts;
    while (!out.IsEmpty()) parts.emplace_back(static_cast<CGeoAnno*>(out.RemoveHead()));
    return parts;
}

std::string Text(const CGeoAnno& a) { return std::string(static_cast<const char*>(a.GetName())); }

// Three rows, char height 10, row space 4, anchored at (100, 200).
std::unique_ptr<CGeoAnno> ThreeRows(int align, float angle = 0.0f)
{
    return std::make_unique<CGeoAnno>(CString("AA\r\nBB\r\nCC"), CPoint(100, 200), 10, 20, angle, angle, align, 0,
                                      1, 0, 4, 0, 0);
}

// Upright text box of a (smallest and largest y of its corners).
std::pair<int, int> YRange(const CGeoAnno& a)
{
    CPoint c[4];
    a.GetFourPoints(c, 0, -1);
    int lo = c[0].y, hi = c[0].y;
    for (const CPoint& p : c) {
        lo = std::min(lo, p.y);
        hi = std::max(hi, p.y);
    }
    return {lo, hi};
}

class AnnoSplitTest : public ::testing::Test {
protected:
    void TearDown() override { SetCurrentGeoAnno(GEOANNO()); }
};

std::unique_ptr<CGeoAnno> MultiPoint()
{
    auto a = std::make_unique<CGeoAnno>(CString("a文b"), CPoint(0, 0), 10, 20, 0.0f, 0.0f, 0, 6, 1, 0, 0, 0, 0);
    const CPoint pts[3] = {{0, 0}, {100, 0}, {200, 50}};
    for (int i = 0; i < 3; ++i) {
        a->SetPositionPoint(pts[i], i);
        a->SetEscapeAngle(100.0f * i, i);
    }
    a->CalculateAnnoBounds();
    a->SetObjectClassID(77);
    a->SetUnit(1);
    return a;
}

TEST_F(AnnoSplitTest, MultiPointPartsKeepTheirCharactersPointsAndAngles)
{
    auto a = MultiPoint();
    CObList out;
    ASSERT_EQ(SplitMultiPointAnno(a.get(), 1, out), 1);
    auto parts = Take(out);
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(Text(*parts[0]), "a");
    ASSERT_EQ(parts[0]->GetPoints(), 1);
    EXPECT_EQ(parts[0]->GetPositionPoint(0), CPoint(0, 0));
    EXPECT_EQ(Text(*parts[1]), "文b");
    ASSERT_EQ(parts[1]->GetPoints(), 2);
    EXPECT_EQ(parts[1]->GetPositionPoint(0), CPoint(100, 0));
    EXPECT_EQ(parts[1]->GetPositionPoint(1), CPoint(200, 50));
    EXPECT_FLOAT_EQ(parts[1]->GetEscapeAngle(0), 100.0f);
    EXPECT_FLOAT_EQ(parts[1]->GetEscapeAngle(1), 200.0f);
    for (auto& p : parts) {
        EXPECT_EQ(p->GetPositionType(), 6);
        EXPECT_EQ(p->GetUnit(), 3);
        EXPECT_EQ(p->GetObjectClassID(), 77u);
    }
    EXPECT_EQ(Text(*a), "a文b");  // the source is untouched
    EXPECT_EQ(a->GetPoints(), 3);
}

TEST_F(AnnoSplitTest, RefusedCutsCreateNothing)
{
    auto a = MultiPoint();
    auto rows = ThreeRows(0);
    auto single = std::make_unique<CGeoAnno>(CString("AB"), CPoint(0, 0), 10, 20, 0.0f, 0.0f, 0, 0, 1, 0, 0, 0, 0);
    CObList out;
    for (int k : {0, 3, -1}) EXPECT_EQ(SplitMultiPointAnno(a.get(), k, out), 0) << k;
    EXPECT_EQ(SplitMultiPointAnno(rows.get(), 1, out), 0);  // not multi-point
    EXPECT_EQ(SplitMultiPointAnno(nullptr, 1, out), 0);
    for (int k : {2, -1, 5}) EXPECT_EQ(SplitRowsAnno(rows.get(), k, out), 0) << k;
    EXPECT_EQ(SplitRowsAnno(single.get(), 0, out), 0);  // one row
    EXPECT_EQ(SplitRowsAnno(nullptr, 0, out), 0);
    EXPECT_TRUE(out.IsEmpty());
}

TEST_F(AnnoSplitTest, RowPartsStandWhereTheRowsStood)
{
    struct Case {
        int align;
        CPoint p1, p2;
    } cases[] = {
        {0, {100, 228}, {100, 200}},  // bottom: part 1 lifted by the two rows below and a row space
        {1, {100, 214}, {100, 193}},  // middle
        {2, {100, 200}, {100, 186}},  // top
        {4, {100, 214}, {100, 193}},
        {8, {100, 200}, {100, 186}},
    };
    for (const Case& c : cases) {
        auto a = ThreeRows(c.align);
        const auto whole = YRange(*a);
        CObList out;
        ASSERT_EQ(SplitRowsAnno(a.get(), 0, out), 1) << c.align;
        auto parts = Take(out);
        ASSERT_EQ(parts.size(), 2u);
        EXPECT_EQ(Text(*parts[0]), "AA");
        EXPECT_EQ(Text(*parts[1]), "BB\r\nCC");
        EXPECT_EQ(parts[0]->GetPositionPoint(0), c.p1) << c.align;
        EXPECT_EQ(parts[1]->GetPositionPoint(0), c.p2) << c.align;
        EXPECT_EQ(parts[0]->GetAlignType(), c.align);
        EXPECT_EQ(parts[1]->GetAlignType(), c.align);
        EXPECT_EQ(YRange(*parts[0]).second, whole.second) << c.align;  // top row stays on top
        EXPECT_EQ(YRange(*parts[1]).first, whole.first) << c.align;    // bottom row stays at the bottom
        EXPECT_EQ(YRange(*parts[0]).first - YRange(*parts[1]).second, 4) << c.align;  // one row space apart
    }
}

TEST_F(AnnoSplitTest, RowPartsTurnWithTheText)
{
    auto a = ThreeRows(0, 900.0f);
    CObList out;
    ASSERT_EQ(SplitRowsAnno(a.get(), 1, out), 1);
    auto parts = Take(out);
    EXPECT_EQ(Text(*parts[0]), "AA\r\nBB");
    EXPECT_EQ(Text(*parts[1]), "CC");
    // Rows of text turned a quarter counter-clockwise stack leftwards.
    EXPECT_EQ(parts[0]->GetPositionPoint(0), CPoint(86, 200));
    EXPECT_EQ(parts[1]->GetPositionPoint(0), CPoint(100, 200));
}

TEST_F(AnnoSplitTest, TwoSidedRowsWidenTheNarrowerPart)
{
    auto a = std::make_unique<CGeoAnno>(CString("AAAA\r\nAA"), CPoint(0, 0), 10, 20, 0.0f, 0.0f, 0, 0, 1, 0, 0, 0,
                                        1);
    CObList out;
    ASSERT_EQ(SplitRowsAnno(a.get(), 0, out), 1);
    auto parts = Take(out);
    EXPECT_EQ(parts[0]->GetSpace(), 0);
    EXPECT_EQ(parts[1]->GetSpace(), 20);  // two characters of 10 stretched to the 40 of the wider row
}

TEST_F(AnnoSplitTest, DivideDelegatesMultiPointAndRows)
{
    auto a = MultiPoint();
    CTypedPtrList<CObList, CGeoVectorObject*> list;
    a->DivideAnnoIntoTwoParts(CPoint(105, 5), list);  // on the second character
    auto parts = Take(list);
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(Text(*parts[0]), "a");
    EXPECT_EQ(Text(*parts[1]), "文b");

    auto rows = ThreeRows(0);  // rows from the top at y 228, 214 and 200 (height 10)
    rows->DivideAnnoIntoTwoParts(CPoint(105, 216), list);  // lower half of the middle row
    parts = Take(list);
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(Text(*parts[0]), "AA\r\nBB");
    EXPECT_EQ(Text(*parts[1]), "CC");
}

TEST_F(AnnoSplitTest, HitInSingleRowTextKeepsBothHalvesInPlace)
{
    auto a = std::make_unique<CGeoAnno>(CString("ABCD"), CPoint(0, 0), 10, 20, 0.0f, 0.0f, 8, 0, 1, 2, 0, 0, 0);
    GEOANNO hit = a->MakeGeoAnno();
    hit.m_nIndexResult = 2;
    hit.m_nWorkX = 24;  // two characters of 10 and two column spaces
    hit.m_nWorkY = 0;
    CString text = a->GetName();
    CObList out;
    ASSERT_EQ(SplitAnnoAtHit(1, 1, text, CPoint(0, 0), hit, a->GetGeoView(), out, a.get()), 1);
    auto parts = Take(out);
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(Text(*parts[0]), "AB");
    EXPECT_EQ(Text(*parts[1]), "CD");
    EXPECT_EQ(parts[0]->GetPositionPoint(0), CPoint(0, 0));
    EXPECT_EQ(parts[1]->GetPositionPoint(0), CPoint(24, 0));
    EXPECT_EQ(parts[0]->GetAlignType(), 2);  // a right-top source becomes left-top
    EXPECT_EQ(parts[1]->GetAlignType(), 2);
}

TEST_F(AnnoSplitTest, HitInBoxTextCutsTheBoxAtTheHitRow)
{
    tagGEORECT margins;
    margins.left = 3;
    margins.right = 4;
    margins.top = 5;
    margins.bottom = 6;
    auto a = std::make_unique<CGeoAnno>(CString("ABCDEFGH"), CRect(0, 0, 100, 200), 10, 20, margins, 0, 0, 0, 0);
    GEOANNO hit = a->MakeGeoAnno();
    hit.m_nIndexResult = 4;
    hit.m_nWorkX = 0;
    hit.m_nWorkY = 120;
    GEOVIEW view = a->GetGeoView();
    view.m_fLineWidth = 2.0f;
    CString text = a->GetName();
    CObList out;
    ASSERT_EQ(SplitAnnoAtHit(10, 50, text, CPoint(0, 0), hit, view, out, a.get()), 1);  // t = 2 * 50 / 10
    auto parts = Take(out);
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[0]->GetBounds(), CRect(0, 130, 100, 200));  // above the hit row
    EXPECT_EQ(parts[1]->GetBounds(), CRect(0, 0, 100, 110));    // below it
    EXPECT_EQ(parts[0]->GetAlignType(), 0);
    EXPECT_EQ(parts[1]->GetAlignType(), 2);
    for (auto& p : parts) {
        EXPECT_EQ(p->GetPositionType(), 2);
        const tagGEORECT m = p->GetGeoRect();
        EXPECT_EQ(m.left, 3);
        EXPECT_EQ(m.right, 4);
        EXPECT_EQ(m.top, 5);
        EXPECT_EQ(m.bottom, 6);
    }
}

TEST_F(AnnoSplitTest, HitOutsideTheTextOrWithoutSourceIsRefused)
{
    auto a = std::make_unique<CGeoAnno>(CString("AB"), CPoint(0, 0), 10, 20, 0.0f, 0.0f, 0, 0, 1, 0, 0, 0, 0);
    GEOANNO hit = a->MakeGeoAnno();
    CString text = a->GetName();
    CObList out;
    EXPECT_EQ(SplitAnnoAtHit(1, 1, text, CPoint(0, 0), hit, a->GetGeoView(), out, nullptr), 0);
    for (int i : {-1, 3}) {
        hit.m_nIndexResult = i;
        EXPECT_EQ(SplitAnnoAtHit(1, 1, text, CPoint(0, 0), hit, a->GetGeoView(), out, a.get()), 0) << i;
    }
    EXPECT_TRUE(out.IsEmpty());
}

// Breaking up: the list holds annotations and decoration objects.
struct Broken {
    std::vector<std::unique_ptr<CGeoVectorObject>> objects;
    int annos = 0;
    int withCode(DWORD code) const
    {
        int n = 0;
        for (auto& o : objects)
            if (dynamic_cast<CGeoAnno*>(o.get()) == nullptr && o->GetObjectData() == code) ++n;
        return n;
    }
};

Broken TakeAll(CTypedPtrList<CObList, CGeoVectorObject*>& list)
{
    Broken b;
    while (!list.IsEmpty()) {
        b.objects.emplace_back(list.RemoveHead());
        if (dynamic_cast<CGeoAnno*>(b.objects.back().get()) != nullptr) ++b.annos;
    }
    return b;
}

std::unique_ptr<CGeoAnno> Lettered(const char* text, int colSpace, DWORD textFlags)
{
    auto a = std::make_unique<CGeoAnno>(CString(text), CPoint(0, 0), 20, 20, 0.0f, 0.0f, 0, 0, 1, colSpace, 0, 0,
                                        0);
    GEOVIEW v = a->GetGeoView();
    v.m_dwTextFlags = textFlags;
    a->CGeoVectorObject::SetGeoView(v);
    return a;
}

TEST_F(AnnoSplitTest, BreakUpRefusesWhatTheAnnotationDoesNotHave)
{
    auto a = Lettered("文字", 0, GEOVIEW_TEXT_TRANSPARENT);
    CTypedPtrList<CObList, CGeoVectorObject*> out;
    EXPECT_EQ(BreakUpAnno(a.get(), out, 0, 1), 0);
    EXPECT_EQ(BreakUpAnno(a.get(), out, BREAKUP_UNDERLINE | BREAKUP_COLSPACE | BREAKUP_BACKGROUND, 1), 0);
    EXPECT_EQ(BreakUpAnno(nullptr, out, BREAKUP_UNDERLINE, 1), 0);
    EXPECT_EQ(BreakUpAnno(a.get(), out, 0x40, 0), 0);  // outlines need a width
    EXPECT_TRUE(out.IsEmpty());
    EXPECT_EQ(GetBreakUpEffectiveFlags(a.get(), 0xFFFFF), BREAKUP_OUTLINES);  // plain text: only outlines
}

TEST_F(AnnoSplitTest, BreakUpSpacedTextGivesPlainPiecesAndTheRequestedLines)
{
    auto a = Lettered("文字", 10, GEOVIEW_TEXT_TRANSPARENT | GEOVIEW_TEXT_UNDERLINE | GEOVIEW_TEXT_STRIKE);
    CTypedPtrList<CObList, CGeoVectorObject*> out;
    ASSERT_EQ(BreakUpAnno(a.get(), out, BREAKUP_COLSPACE | BREAKUP_UNDERLINE, 1), 1);
    Broken b = TakeAll(out);
    EXPECT_EQ(b.annos, 2);  // one per spaced character
    EXPECT_GT(b.withCode(ANNO_DATA_UNDERLINE), 0);
    EXPECT_EQ(b.withCode(ANNO_DATA_STRIKE), 0);  // not requested: stays with the pieces
    for (auto& o : b.objects) {
        if (auto* piece = dynamic_cast<CGeoAnno*>(o.get())) {
            EXPECT_EQ(piece->GetGeoView().m_dwTextFlags & GEOVIEW_TEXT_UNDERLINE, 0u);
            EXPECT_NE(piece->GetGeoView().m_dwTextFlags & GEOVIEW_TEXT_STRIKE, 0u);
        }
    }
    EXPECT_NE(a->GetGeoView().m_dwTextFlags & GEOVIEW_TEXT_UNDERLINE, 0u);  // the source keeps its style
}

TEST_F(AnnoSplitTest, BreakUpKeepsAStrippedCopyWhenTheStructureStays)
{
    auto a = Lettered("文字\r\n字文", 0, GEOVIEW_TEXT_TRANSPARENT | GEOVIEW_TEXT_UNDERLINE);
    ASSERT_TRUE(a->IsPositionType(3));
    CTypedPtrList<CObList, CGeoVectorObject*> out;
    ASSERT_EQ(BreakUpAnno(a.get(), out, BREAKUP_UNDERLINE, 1), 1);
    Broken b = TakeAll(out);
    ASSERT_EQ(b.annos, 1);  // the copy stands for the rows
    auto* copy = dynamic_cast<CGeoAnno*>(b.objects.front().get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetName(), a->GetName());
    EXPECT_EQ(copy->GetGeoView().m_dwTextFlags & GEOVIEW_TEXT_UNDERLINE, 0u);
    EXPECT_GT(b.withCode(ANNO_DATA_UNDERLINE), 0);
}

TEST_F(AnnoSplitTest, BreakUpIntoOutlinesKeepsWhatTheListHeld)
{
    auto a = Lettered("文字", 0, GEOVIEW_TEXT_TRANSPARENT);
    CTypedPtrList<CObList, CGeoVectorObject*> out;
    auto* held = new CGeoPoint();
    out.AddTail(held);
    ASSERT_EQ(BreakUpAnno(a.get(), out, 0x40, 1), 1);
    Broken b = TakeAll(out);
    ASSERT_GT(b.objects.size(), 1u);
    EXPECT_EQ(b.objects.front().get(), held);
    EXPECT_EQ(b.annos, 0);
}

TEST_F(AnnoSplitTest, PartsKnowTheLayerButAreNotInIt)
{
    CGeoVectorLayer layer(CRect(0, 0, 1000, 1000));
    auto* a = ThreeRows(0).release();
    ASSERT_EQ(a->AttachLayer(&layer), 1);  // the layer owns the source
    const int before = layer.GetObjectCount();
    CObList out;
    ASSERT_EQ(SplitRowsAnno(a, 0, out), 1);
    auto parts = Take(out);
    for (auto& p : parts) EXPECT_EQ(p->GetLayer(), &layer);
    EXPECT_EQ(layer.GetObjectCount(), before);
    // The caller owns the parts: cut the link before they go.
    for (auto& p : parts) p->DetachLayer(0);
}

TEST_F(AnnoSplitTest, HitInRowTextTakesTheAlignColumnsEnds)
{
    auto a = std::make_unique<CGeoAnno>(CString("AB\r\nCD"), CPoint(0, 0), 10, 20, 0.0f, 0.0f, 7, 3, 1, 0, 4, 0, 0);
    GEOANNO hit = a->MakeGeoAnno();
    hit.m_ptRotateCenter = CPoint(0, 0);
    hit.m_nIndexResult = 4;  // the second row starts after "AB" and CR LF
    hit.m_nWorkX = 50;
    hit.m_nWorkY = -7;
    CString text = a->GetName();
    CObList out;
    ASSERT_EQ(SplitAnnoAtHit(1, 1, text, CPoint(0, 0), hit, a->GetGeoView(), out, a.get()), 1);
    auto parts = Take(out);
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(Text(*parts[0]), "AB\r\n");
    EXPECT_EQ(Text(*parts[1]), "CD");
    EXPECT_EQ(parts[0]->GetPositionPoint(0), CPoint(50, -3));  // one row space above the hit
    EXPECT_EQ(parts[1]->GetPositionPoint(0), CPoint(50, -7));
    EXPECT_EQ(parts[0]->GetAlignType(), 6);  // right column, bottom row
    EXPECT_EQ(parts[1]->GetAlignType(), 8);  // right column, top row
}

TEST_F(AnnoSplitTest, BreakUpFlagsTakeEffectOnlyWithTheirFeature)
{
    tagGEORECT margins;
    auto box = std::make_unique<CGeoAnno>(CString("AB"), CRect(0, 0, 100, 100), 10, 20, margins, 0, 0, 0, 0);
    box->SetShowFrame(1);
    box->SetFillFrame(1);
    auto spaced = std::make_unique<CGeoAnno>(CString("AB"), CPoint(0, 0), 10, 20, 0.0f, 0.0f, 0, 0, 1, 5, 0, 0, 1);
    auto rows = ThreeRows(0);
    struct Case {
        const CGeoAnno* a;
        int flags;
        int effective;
    } cases[] = {
        {box.get(), BREAKUP_BOX, BREAKUP_BOX | BREAKUP_FRAMELINE | BREAKUP_FILLFRAME},  // the box brings both
        {spaced.get(), BREAKUP_BOX | BREAKUP_COLSPACE | BREAKUP_ROWSPACE, BREAKUP_COLSPACE},
        {spaced.get(), BREAKUP_TWOALIGN | BREAKUP_WIDECHAR, BREAKUP_TWOALIGN | BREAKUP_WIDECHAR},
        {rows.get(), BREAKUP_MULTIROW | BREAKUP_ROWSPACE | BREAKUP_MULTIPOINT, BREAKUP_MULTIROW | BREAKUP_ROWSPACE},
    };
    for (const Case& c : cases) EXPECT_EQ(GetBreakUpEffectiveFlags(c.a, c.flags), c.effective) << c.flags;
}

}  // namespace
