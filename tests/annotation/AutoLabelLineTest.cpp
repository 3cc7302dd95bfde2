// Line labelling: pieces along the line and their angles, sides and alignment, repeats, the block on a
// short line, shifting against the collision grid, clipping to the area, and the list form with joining,
// marks and progress.
#include "annotation/AutoLabelLine.h"
#include "annotation/GeoAnno.h"
#include "core/GeoView.h"
#include "vector/GeoPLine.h"
#include "vector/GeoSPLine.h"

#include "AnnoDrawSupport.h"

#include <gtest/gtest.h>
#include <ostrel/Measure.h>

#include <vector>

namespace {

using Pts = std::vector<POINT>;

// "ABC" at char width 200 and height 100: single-byte pieces 100 wide, row width 300.
tagLINEPARA BasePara() {
    tagLINEPARA p;
    p.m_nSide = 2;
    p.m_nCharOrient = 1;
    p.m_nScale = 10;
    p.m_nKind = 3;
    p.m_nUnit = 3;
    return p;
}

class AutoLabelLine : public ::testing::Test {
protected:
    AutoLabelLine() {
        m_text = annodraw_test::MakeRecord("ABC", 200, 100);
        m_text.m_pOutputList = &m_out;
        m_style = annodraw_test::MakeStyle();
        m_grid.SetTotalRect(CRect(-3000, -3000, 6000, 6000));
        m_grid.BuildIndex();
    }
    ~AutoLabelLine() override { annodraw_test::ClearOutput(m_out); }

    int Label(tagLINEPARA p, Pts pts, CRect area = CRect(0, 0, 0, 0)) {
        p.m_pPoints = pts.data();
        p.m_nPoints = static_cast<int>(pts.size());
        return AutoLabelGeoLine(nullptr, 10, CPoint(0, 0), CPoint(0, 0), m_style, m_text, p, area, m_format,
                                &m_grid);
    }
    CGeoAnno* At(int i) {
        POSITION pos = m_out.FindIndex(i);
        return pos ? static_cast<CGeoAnno*>(m_out.GetAt(pos)) : nullptr;
    }
    std::vector<LONG> Xs() {
        std::vector<LONG> xs;
        for (int i = 0; i < m_out.GetCount(); ++i) xs.push_back(At(i)->GetPositionPoint(0).x);
        return xs;
    }
    std::vector<LONG> GridXs() {
        std::vector<LONG> xs;
        const CAnnoRectList& list = m_grid.GetRecordList();
        for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
            const tagANNORECT* b = list.GetNext(pos);
            if (b->id != 900) xs.push_back(b->left);
        }
        return xs;
    }

    CObList m_out;
    GEOANNO m_text;
    GEOVIEW m_style;
    tagGEOFORMAT m_format;
    CGeoAnnoGrid m_grid;
};

const Pts kLong = {{0, 0}, {5000, 0}};

TEST_F(AutoLabelLine, RefusesEmptyInputAndKindsWithoutLabelling) {
    tagLINEPARA p = BasePara();
    EXPECT_EQ(LABEL_NOT_PLACED, Label(p, {{0, 0}}));
    p.m_pPoints = nullptr;
    p.m_nPoints = 5;
    CRect area;
    EXPECT_EQ(LABEL_NOT_PLACED, AutoLabelGeoLine(nullptr, 10, CPoint(), CPoint(), m_style, m_text, p, area,
                                                 m_format, &m_grid));
    m_text.m_strText.Empty();
    EXPECT_EQ(LABEL_NOT_PLACED, Label(BasePara(), kLong));
    m_text.m_strText = "ABC";
    for (int kind : {0, 1}) {
        p = BasePara();
        p.m_nKind = kind;
        EXPECT_EQ(LABEL_PLACED, Label(p, kLong)) << kind;
    }
    EXPECT_EQ(0, m_out.GetCount());
    EXPECT_EQ(0, m_grid.GetRecordList().GetCount());
}

TEST_F(AutoLabelLine, CharactersFollowTheLineWithTheirAngleAndAlignment) {
    struct Case {
        int orient, side, startMode;
        Pts line;
        std::vector<LONG> xs;
        LONG y;
        float angle;
        int align;
    } cases[] = {
        {1, 2, 0, kLong, {0, 100, 200}, 0, 0.0f, 1},
        {2, 2, 0, kLong, {0, 100, 200}, 0, 900.0f, 4},
        {0, 2, 0, kLong, {0, 100, 200}, 0, 0.0f, 1},
        {1, 1, 0, kLong, {0, 100, 200}, 50, 0.0f, 0},    // left of travel, y up
        {1, 3, 0, kLong, {0, 100, 200}, -50, 0.0f, 2},
        {2, 1, 0, kLong, {0, 100, 200}, 50, 900.0f, 6},
        {1, 2, 2, kLong, {2350, 2450, 2550}, 0, 0.0f, 1},  // centred: (5000 - 300) / 2
        {1, 2, 1, kLong, {5000, 4900, 4800}, 0, 1800.0f, 1},
        {1, 2, 0, {{0, 0}, {0, 1000}}, {0, 0, 0}, 0, 900.0f, 1},
    };
    for (const Case& c : cases) {
        annodraw_test::ClearOutput(m_out);
        tagLINEPARA p = BasePara();
        p.m_nCharOrient = c.orient;
        p.m_nSide = c.side;
        p.m_nStartMode = c.startMode;
        p.m_nLineDistance = 50;
        p.m_nCharSpace = 0;
        ASSERT_EQ(LABEL_PLACED, Label(p, c.line));
        ASSERT_EQ(3, m_out.GetCount()) << c.orient << "/" << c.side;
        EXPECT_EQ(c.xs, Xs()) << c.orient << "/" << c.side << "/" << c.startMode;
        EXPECT_EQ(c.y, At(0)->GetPositionPoint(0).y) << c.orient << "/" << c.side;
        EXPECT_FLOAT_EQ(c.angle, At(0)->GetEscapeAngle(0)) << c.orient << "/" << c.side;
        EXPECT_EQ(c.align, At(0)->GetAlignType()) << c.orient << "/" << c.side;
        EXPECT_EQ("A", std::string(At(0)->GetName()));
    }
}

TEST_F(AutoLabelLine, LengthsAreGivenAtLabelScale) {
    tagLINEPARA p = BasePara();
    p.m_nScale = 20;  // everything doubles: pieces 200 apart, spacing 10 becomes 20
    p.m_nCharSpace = 10;
    ASSERT_EQ(LABEL_PLACED, Label(p, kLong));
    EXPECT_EQ((std::vector<LONG>{0, 220, 440}), Xs());
    EXPECT_EQ(400, At(0)->GetCharWidthA());
}

TEST_F(AutoLabelLine, LongLinesAreCutIntoRepeats) {
    struct Case {
        int minLength;
        std::vector<LONG> firstXs;
    } cases[] = {
        {1000, {0, 1001, 2002, 3003, 4004}},  // 5000 / 1000 = 5 runs of 1001
        {2000, {0, 1667, 3334}},              // trunc(2.5 + 0.5) = 3 runs of 1667
        {10000, {0}},                         // longer than the line: one run
    };
    for (const Case& c : cases) {
        annodraw_test::ClearOutput(m_out);
        tagLINEPARA p = BasePara();
        p.m_nRepeat = 1;
        p.m_nMinRepeatLength = c.minLength;
        ASSERT_EQ(LABEL_PLACED, Label(p, kLong));
        ASSERT_EQ(static_cast<int>(c.firstXs.size()) * 3, m_out.GetCount()) << c.minLength;
        std::vector<LONG> firsts;
        for (int i = 0; i < m_out.GetCount(); i += 3) firsts.push_back(At(i)->GetPositionPoint(0).x);
        EXPECT_EQ(c.firstXs, firsts) << c.minLength;
    }
    // Never more than 5 runs.
    annodraw_test::ClearOutput(m_out);
    tagLINEPARA p = BasePara();
    p.m_nRepeat = 1;
    p.m_nMinRepeatLength = 100;
    Label(p, kLong);
    EXPECT_EQ(15, m_out.GetCount());
}

TEST_F(AutoLabelLine, ShortLineGetsOneCentredBlock) {
    tagLINEPARA p = BasePara();
    p.m_nCollisionTest = 1;
    ASSERT_EQ(LABEL_PLACED, Label(p, {{0, 0}, {200, 0}}));
    ASSERT_EQ(1, m_out.GetCount());
    EXPECT_EQ("ABC", std::string(At(0)->GetName()));
    EXPECT_EQ(4, At(0)->GetAlignType());
    EXPECT_EQ(CPoint(100, 0), At(0)->GetPositionPoint(0));
    EXPECT_EQ(1, m_grid.GetRecordList().GetCount());
}

TEST_F(AutoLabelLine, BlockedCharactersShiftForwardOrArePlacedWhenTheyCannotMove) {
    struct Case {
        const char* what;
        int step, retryLimit;
        std::vector<LONG> xs;
    } cases[] = {
        {"shifted past the block", 5, 1000, {155, 265, 375}},
        {"a shift step of 0 places in place", 0, 1000, {0, 110, 220}},
        {"too far: stepped back and placed", 5, 0, {0, 20, 40}},
    };
    for (const Case& c : cases) {
        annodraw_test::ClearOutput(m_out);
        CGeoAnnoGrid grid;
        grid.SetTotalRect(CRect(-3000, -3000, 6000, 6000));
        grid.BuildIndex();
        grid.AddRecord(tagANNORECT(900, 0, -50, 150, 100, 0.0f));
        tagLINEPARA p = BasePara();
        p.m_nCollisionTest = 1;
        p.m_nCharSpace = 10;
        p.m_nShiftStep = c.step;
        p.m_nRetryLimit = c.retryLimit;
        Pts pts = kLong;
        p.m_pPoints = pts.data();
        p.m_nPoints = 2;
        CRect area;
        ASSERT_EQ(LABEL_PLACED, AutoLabelGeoLine(nullptr, 10, CPoint(), CPoint(), m_style, m_text, p, area,
                                                 m_format, &grid));
        EXPECT_EQ(c.xs, Xs()) << c.what;
        EXPECT_EQ(4, grid.GetRecordList().GetCount()) << c.what;
    }
}

TEST_F(AutoLabelLine, RestOfTextIsPlacedAtTheEndWhenNoRoomIsLeft) {
    // The whole line is blocked: the first character runs to the end and takes the rest with it.
    m_grid.AddRecord(tagANNORECT(900, -100, -50, 700, 100, 0.0f));
    tagLINEPARA p = BasePara();
    p.m_nCollisionTest = 1;
    p.m_nShiftStep = 5;
    p.m_nRetryLimit = 1000;
    ASSERT_EQ(LABEL_PLACED, Label(p, {{0, 0}, {400, 0}}));
    ASSERT_EQ(1, m_out.GetCount());
    EXPECT_EQ("ABC", std::string(At(0)->GetName()));
    EXPECT_EQ(400, At(0)->GetPositionPoint(0).x);
}

TEST_F(AutoLabelLine, ClippingLabelsEachVisiblePiece) {
    // Drawing kind: nothing is created, but every placed box is recorded in the grid.
    tagLINEPARA p = BasePara();
    p.m_nKind = 2;
    const Pts zigzag = {{-1000, 0}, {1000, 0}, {1000, 500}, {-1000, 500}};
    ASSERT_EQ(LABEL_PLACED, Label(p, zigzag, CRect(0, -100, 1500, 600)));
    EXPECT_EQ(0, m_out.GetCount());
    // Enters at (0, 0), leaves at (0, 500): one piece of three segments; (0,0) first.
    EXPECT_EQ((std::vector<LONG>{0, 100, 200}), GridXs());

    // Two separate passes through the area: two pieces.
    CGeoAnnoGrid grid;
    grid.SetTotalRect(CRect(-3000, -3000, 6000, 6000));
    grid.BuildIndex();
    const Pts wave = {{-1000, 0}, {1000, 0}, {1000, 2000}, {-1000, 2000}, {-1000, 500}, {1000, 500}};
    Pts pts = wave;
    p.m_pPoints = pts.data();
    p.m_nPoints = static_cast<int>(pts.size());
    CRect area(0, -100, 900, 600);
    AutoLabelGeoLine(nullptr, 10, CPoint(), CPoint(), m_style, m_text, p, area, m_format, &grid);
    EXPECT_EQ(6, grid.GetRecordList().GetCount());
}

TEST_F(AutoLabelLine, StartPointModeBeginsAtTheNearestPointOfTheLine) {
    tagLINEPARA p = BasePara();
    p.m_nStartMode = 3;
    p.m_nStartX = 1500;
    p.m_nStartY = 50;
    ASSERT_EQ(LABEL_PLACED, Label(p, {{0, 0}, {2000, 0}}));
    EXPECT_EQ((std::vector<LONG>{1500, 1600, 1700}), Xs());
}

TEST_F(AutoLabelLine, SlantedLetteringWidensTheAdvance) {
    m_style = annodraw_test::MakeStyle(GEOVIEW_TEXT_TRANSPARENT | GEOVIEW_TEXT_SLANT);
    m_text.m_fItalicAngle = 150.0f;  // 15 degrees: 100 + trunc(26.8 + 0.5)
    ASSERT_EQ(LABEL_PLACED, Label(BasePara(), kLong));
    EXPECT_EQ((std::vector<LONG>{0, 127, 254}), Xs());
}

TEST_F(AutoLabelLine, TurnedNeighboursMayOverlapByTheScaleTolerance) {
    // On a diagonal the boxes are turned, so the previous-box test applies its margin of -S/10.
    struct Case {
        int space;
        bool shifted;
    } cases[] = {{0, false}, {-1, false}, {-10, true}};
    for (const Case& c : cases) {
        annodraw_test::ClearOutput(m_out);
        tagLINEPARA p = BasePara();
        p.m_nCollisionTest = 1;
        p.m_nShiftStep = 5;
        p.m_nRetryLimit = 1000;
        p.m_nCharSpace = c.space;
        ASSERT_EQ(LABEL_PLACED, Label(p, {{0, 0}, {3000, 3000}}));
        ASSERT_EQ(3, m_out.GetCount());
        const double along = Distance(At(0)->GetPositionPoint(0), At(1)->GetPositionPoint(0));
        EXPECT_EQ(c.shifted, along > 100 + c.space + 2) << c.space << ": " << along;
        EXPECT_FLOAT_EQ(450.0f, At(1)->GetEscapeAngle(0));
    }
}

TEST_F(AutoLabelLine, DrawingKindsDrawOnTheDeviceContext) {
    annodraw_test::RecordingDC rec;
    tagLINEPARA p = BasePara();
    p.m_nKind = 2;
    GEOANNO drawn = m_text;
    drawn.m_pOutputList = nullptr;
    Pts pts = kLong;
    p.m_pPoints = pts.data();
    p.m_nPoints = 2;
    CRect area(-100, -100, 6000, 100);
    ASSERT_EQ(LABEL_PLACED,
              AutoLabelGeoLine(&rec.dc, 10, CPoint(0, 0), CPoint(0, 0), m_style, drawn, p, area, m_format, &m_grid));
    EXPECT_TRUE(m_out.IsEmpty());
    EXPECT_FALSE(rec.All().empty());
    EXPECT_EQ(3, m_grid.GetRecordList().GetCount());
}

TEST_F(AutoLabelLine, FormattedTextIsPlacedAsOneBlockOutsideTheObjectKinds) {
    tagLINEPARA p = BasePara();
    p.m_nFormatText = 1;
    ASSERT_EQ(LABEL_PLACED, Label(p, kLong));
    ASSERT_EQ(1, m_out.GetCount());
    EXPECT_EQ("ABC", std::string(At(0)->GetName()));
    EXPECT_TRUE(At(0)->GetFormatStyle());

    // Kind 1 ignores the request (and, not being a labelling kind, places nothing).
    annodraw_test::ClearOutput(m_out);
    p.m_nKind = 1;
    Label(p, kLong);
    EXPECT_EQ(0, m_out.GetCount());
}

TEST_F(AutoLabelLine, RestAcrossTheLineIsSetVertically) {
    m_grid.AddRecord(tagANNORECT(900, -200, -200, 800, 400, 0.0f));
    for (int orient : {1, 2}) {
        annodraw_test::ClearOutput(m_out);
        tagLINEPARA p = BasePara();
        p.m_nCharOrient = orient;
        p.m_nCollisionTest = 1;
        p.m_nShiftStep = 5;
        p.m_nRetryLimit = 1000;
        ASSERT_EQ(LABEL_PLACED, Label(p, {{0, 0}, {400, 0}}));
        ASSERT_EQ(1, m_out.GetCount());
        EXPECT_EQ(orient == 2 ? 1 : 0, At(0)->GetArrayStyle()) << orient;
    }
}

// ---- the list form ----

class ProgressWnd : public CWnd {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_GEO_LABEL_PROGRESS) {
            values.push_back(static_cast<int>(wParam));
            EXPECT_EQ(0, lParam);
        }
        return 0;
    }
    std::vector<int> values;
};

class AutoLabelLineList : public AutoLabelLine {
protected:
    AutoLabelLineList() { m_app.m_pMainWnd = &m_wnd; }
    ~AutoLabelLineList() override {
        m_app.m_pMainWnd = nullptr;
        for (CGeoPLine* l : m_owned) delete l;
    }
    CGeoPLine* Add(const Pts& pts, const char* text) {
        CGeoPLine* l = new CGeoPLine(static_cast<int>(pts.size()), pts.data(), TRUE);
        m_owned.push_back(l);
        m_lines.AddTail(l);
        m_texts.AddTail(CString(text));
        return l;
    }
    int Run(const tagLINEPARA& p) {
        CPoint origin, offset;
        CRect area;
        return AutoLabelGeoLine(nullptr, 10, origin, offset, m_style, m_text, p, area, m_lines, m_texts, m_format,
                                &m_grid, nullptr);
    }

    CWinApp m_app;
    ProgressWnd m_wnd;
    std::vector<CGeoPLine*> m_owned;
    CTypedPtrList<CObList, CGeoPLine*> m_lines;
    CStringList m_texts;
};

TEST_F(AutoLabelLineList, JoinedLinesAreLabelledOnceAndTheListIsRestored) {
    Add({{0, 0}, {1000, 0}}, "ABC");
    Add({{2000, 0}, {1000, 0}}, "ABC");   // touches end to end (reversed)
    Add({{0, 900}, {1000, 900}}, "ABD");  // other text: labelled alone
    tagLINEPARA p = BasePara();
    p.m_nStartMode = 2;
    p.m_nJoinLines = 1;
    ASSERT_EQ(1, Run(p));
    ASSERT_EQ(6, m_out.GetCount());
    // One centred label over the joined 2000 units, then the third line's.
    EXPECT_EQ((std::vector<LONG>{850, 950, 1050, 350, 450, 550}), Xs());
    ASSERT_EQ(3, m_lines.GetCount());
    int i = 0;
    for (POSITION pos = m_lines.GetHeadPosition(); pos != nullptr; ++i) {
        CGeoPLine* l = m_lines.GetNext(pos);
        EXPECT_EQ(m_owned[i], l);
        EXPECT_EQ(0u, l->GetObjectData());
        EXPECT_EQ(2, l->GetPoints());
    }

    // Without joining each line is labelled on its own.
    annodraw_test::ClearOutput(m_out);
    p.m_nJoinLines = 0;
    Run(p);
    EXPECT_EQ(9, m_out.GetCount());
}

// Each line takes only later lines, in list order, that meet its ends as they are when reached: the
// second line meets the first only after the third has grown it, so it is passed over and later takes
// the fourth itself. A line of other text at a shared end is never taken.
TEST_F(AutoLabelLineList, JoiningFollowsListOrderNotReachability) {
    Add({{0, 0}, {1000, 0}}, "ABC");
    Add({{2000, 0}, {3000, 0}}, "ABC");
    Add({{1000, 0}, {2000, 0}}, "ABC");
    Add({{3000, 0}, {4000, 0}}, "ABC");
    Add({{2000, 0}, {2000, 900}}, "ABD");
    tagLINEPARA p = BasePara();
    p.m_nStartMode = 2;
    p.m_nJoinLines = 1;
    ASSERT_EQ(1, Run(p));
    ASSERT_EQ(9, m_out.GetCount());
    const std::vector<LONG> xs = Xs();
    EXPECT_EQ((std::vector<LONG>{850, 950, 1050, 2850, 2950, 3050}), std::vector<LONG>(xs.begin(), xs.begin() + 6));
    ASSERT_EQ(5, m_lines.GetCount());
    for (POSITION pos = m_lines.GetHeadPosition(); pos != nullptr;) {
        CGeoPLine* l = m_lines.GetNext(pos);
        EXPECT_EQ(0u, l->GetObjectData());
        EXPECT_EQ(2, l->GetPoints());
    }
}

TEST_F(AutoLabelLineList, ProgressAndMismatchedLists) {
    Add({{0, 0}, {1000, 0}}, "ABC");
    Add({{0, 500}, {1000, 500}}, "ABC");
    tagLINEPARA p = BasePara();
    p.m_nTotalObjects = 4;
    p.m_nObjectsDone = 2;
    ASSERT_EQ(1, Run(p));
    EXPECT_EQ((std::vector<int>{50, 75, 100}), m_wnd.values);
    EXPECT_EQ(6, m_out.GetCount());

    m_wnd.values.clear();
    p.m_nTotalObjects = 0;  // no total: no message, no division by zero
    Run(p);
    EXPECT_TRUE(m_wnd.values.empty());

    p.m_nKind = 1;  // no progress outside kind 3
    p.m_nTotalObjects = 4;
    Run(p);
    EXPECT_TRUE(m_wnd.values.empty());

    m_texts.RemoveTail();
    annodraw_test::ClearOutput(m_out);
    p.m_nKind = 3;
    EXPECT_EQ(0, Run(p));
    EXPECT_EQ(0, m_out.GetCount());
    EXPECT_TRUE(m_wnd.values.empty());
}

TEST_F(AutoLabelLineList, SplinesAreLabelledAndJoinedThroughPolylines) {
    CGeoSPLine* spline = new CGeoSPLine(0);
    for (POINT pt : Pts{{0, 0}, {1000, 0}, {2000, 0}}) spline->AddPoint(pt);
    m_owned.push_back(spline);
    m_lines.AddTail(spline);
    m_texts.AddTail(CString("ABC"));
    Add({{2000, 0}, {3000, 0}}, "ABC");
    tagLINEPARA p = BasePara();
    p.m_nJoinLines = 1;
    ASSERT_EQ(1, Run(p));
    EXPECT_EQ(3, m_out.GetCount());  // one label for the joined line
    EXPECT_EQ(spline, m_lines.GetHead());
    EXPECT_EQ(0u, spline->GetObjectData());
    EXPECT_EQ(0u, m_lines.GetTail()->GetObjectData());

    annodraw_test::ClearOutput(m_out);
    p.m_nJoinLines = 0;
    Run(p);
    EXPECT_EQ(6, m_out.GetCount());
    EXPECT_EQ(0, At(0)->GetPositionPoint(0).y);
}

}  // namespace
