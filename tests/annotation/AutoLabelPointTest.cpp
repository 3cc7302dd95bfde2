// Point labelling: the nine anchor positions, the automatic search against the collision grid with
// growing offsets, scaling at the label scale, the lettering growth of the box, the area switch, the
// two outputs (new annotations, drawing) and the list form with its progress messages.
#include "annotation/AutoLabelPoint.h"
#include "annotation/GeoAnno.h"
#include "core/GeoView.h"
#include "vector/GeoPLine.h"
#include "vector/GeoPoint.h"
#include "vector/GeoPolygonLine.h"

#include <ostrel/CenPos.h>

#include "AnnoDrawSupport.h"

#include <gtest/gtest.h>
#include <quenby/SymbolAttrib.h>

#include <memory>
#include <vector>

namespace {

// "AB" at char width 20 and height 10: a box 20 wide and 10 high.
const int kW = 20;
const int kH = 10;
const CPoint kAt(100, 200);

tagPOINTPARA BasePara() {
    tagPOINTPARA p;
    p.m_nPosition = 0;
    p.m_nScale = 10;
    p.m_nKind = 1;
    p.m_nUseGrid = 1;
    p.m_nX = kAt.x;
    p.m_nY = kAt.y;
    p.m_nUnit = 3;
    return p;
}

class AutoLabelPoint : public ::testing::Test {
protected:
    AutoLabelPoint() {
        m_text = annodraw_test::MakeRecord("AB", kW, kH);
        m_text.m_pOutputList = &m_out;
        m_style = annodraw_test::MakeStyle();
        m_grid.SetTotalRect(CRect(0, 0, 1000, 1000));
        m_grid.BuildIndex();
    }
    ~AutoLabelPoint() override {
        while (!m_out.IsEmpty()) delete m_out.RemoveHead();
    }

    // Labels with the fixture's text into the output list; the corner of the new annotation.
    CPoint Place(tagPOINTPARA p, CGeoAnnoGrid* grid, RECT area = RECT{0, 0, 0, 0}) {
        const int before = static_cast<int>(m_out.GetCount());
        EXPECT_EQ(LABEL_PLACED,
                  AutoLabelGeoPoint(nullptr, 10, CPoint(0, 0), CPoint(0, 0), m_style, m_text, p, area, m_format,
                                    grid));
        EXPECT_EQ(before + 1, static_cast<int>(m_out.GetCount()));
        if (m_out.IsEmpty()) return CPoint(-1, -1);
        return Last()->GetPositionPoint(0);
    }
    CGeoAnno* Last() { return static_cast<CGeoAnno*>(m_out.GetTail()); }
    // Blocks every box that touches the rectangle.
    void Block(int l, int t, int r, int b) { m_grid.AddRecord(tagANNORECT(900, l, t, r - l, b - t, 0.0f)); }
    const tagANNORECT& LastRecord() { return *m_grid.GetRecordList().GetTail(); }

    CObList m_out;
    GEOANNO m_text;
    GEOVIEW m_style;
    tagGEOFORMAT m_format;
    CGeoAnnoGrid m_grid;
};

TEST_F(AutoLabelPoint, FixedPositionsPutTheBoxCornerAroundThePoint) {
    struct Case {
        int position;
        CPoint corner;
    } cases[] = {
        {0, {100, 195}}, {1, {100, 200}}, {2, {90, 200}}, {3, {80, 200}}, {4, {80, 195}},
        {5, {80, 190}},  {6, {90, 190}},  {7, {100, 190}}, {8, {90, 195}}, {12, {100, 200}},
    };
    for (const Case& c : cases) {
        tagPOINTPARA p = BasePara();
        p.m_nPosition = c.position;
        EXPECT_EQ(c.corner, Place(p, nullptr)) << "position " << c.position;
    }
    // Offsets move every position the same way, and the grid boxes carry fields 15 and 16 too.
    tagPOINTPARA p = BasePara();
    p.m_nPosition = 4;
    p.m_nHorOffset = 3;
    p.m_nVerOffset = -2;  // trunc(-2 + 0.5) = -1
    p.m_nOffsetX = 1000;
    p.m_nOffsetY = 2000;
    EXPECT_EQ(CPoint(83, 194), Place(p, &m_grid));
    EXPECT_EQ(1083, LastRecord().left);
    EXPECT_EQ(2194, LastRecord().top);
    EXPECT_EQ(1083 + kW, LastRecord().right);
    EXPECT_EQ(2194 + kH, LastRecord().bottom);
}

TEST_F(AutoLabelPoint, TheNewAnnotationCarriesTheWorkingValues) {
    tagPOINTPARA p = BasePara();
    p.m_nPosition = 8;
    m_style.m_nBufferWidth = 0;
    m_text.m_nUnit = 6;
    m_format.hor = 7;
    Place(p, nullptr);
    CGeoAnno* a = Last();
    EXPECT_EQ(CString("AB"), a->GetName());
    EXPECT_EQ(kW, a->GetCharWidthA());
    EXPECT_EQ(kH, a->GetCharHeight());
    EXPECT_EQ(3, a->GetUnit());
    EXPECT_EQ(7, a->GetGeoFormat().hor);
    EXPECT_EQ(m_style.m_crAnnoColor, a->GetGeoView().m_crAnnoColor);
    // The caller's records are left alone.
    EXPECT_EQ(6, m_text.m_nUnit);
    EXPECT_EQ(kAt.x, p.m_nX);
}

TEST_F(AutoLabelPoint, AutomaticSearchTakesTheFirstFreeOfRightAboveLeftBelow) {
    tagPOINTPARA p = BasePara();
    p.m_nPosition = 9;
    p.m_nHorOffsetLimit = 20;
    p.m_nVerOffsetLimit = 20;
    p.m_nSearchStep = 5;

    // Empty grid: right of the point at the start offsets, and its box recorded.
    {
        CGeoAnnoGrid grid;
        grid.SetTotalRect(CRect(0, 0, 1000, 1000));
        grid.BuildIndex();
        EXPECT_EQ(CPoint(100, 195), Place(p, &grid));
        ASSERT_EQ(1, static_cast<int>(grid.GetRecordList().GetCount()));
        EXPECT_EQ(100, grid.GetRecordList().GetHead()->left);
        EXPECT_EQ(195, grid.GetRecordList().GetHead()->top);
    }
    // A small box that only the right-hand label meets: above, still at the start offsets.
    m_grid.AddRecord(tagANNORECT(900, 115, 196, 3, 2, 0.0f));
    EXPECT_EQ(CPoint(90, 200), Place(p, &m_grid));
    // The label just placed and another box above: left.
    {
        CGeoAnnoGrid grid;
        grid.SetTotalRect(CRect(0, 0, 1000, 1000));
        grid.BuildIndex();
        grid.AddRecord(tagANNORECT(900, 115, 196, 3, 2, 0.0f));
        grid.AddRecord(tagANNORECT(901, 104, 207, 2, 2, 0.0f));
        EXPECT_EQ(CPoint(80, 195), Place(p, &grid));
    }
}

TEST_F(AutoLabelPoint, ABlockedSearchEndsAtTheLimitsOrWithoutAStep) {
    Block(0, 0, 1000, 1000);
    tagPOINTPARA p = BasePara();
    p.m_nPosition = 9;
    p.m_nHorOffset = 10;
    p.m_nHorOffsetLimit = 20;
    p.m_nVerOffset = 10;
    p.m_nVerOffsetLimit = 20;
    p.m_nSearchStep = 5;
    // Passes at 10, 15 and 20; the label keeps the last corner tried (below) of the third pass.
    EXPECT_EQ(CPoint(90 + 20, 190 + 20), Place(p, &m_grid));
    EXPECT_EQ(110, LastRecord().left);
    EXPECT_EQ(210, LastRecord().top);

    p.m_nSearchStep = 0;
    EXPECT_EQ(CPoint(90 + 10, 190 + 10), Place(p, &m_grid));
    p.m_nSearchStep = -3;
    EXPECT_EQ(CPoint(90 + 10, 190 + 10), Place(p, &m_grid));

    // A fixed position grows its offsets in place.
    p.m_nPosition = 1;
    p.m_nSearchStep = 5;
    EXPECT_EQ(CPoint(120, 220), Place(p, &m_grid));
}

TEST_F(AutoLabelPoint, WithoutTheGridEveryCandidateIsFreeAndNothingIsRecorded) {
    Block(0, 0, 1000, 1000);
    tagPOINTPARA p = BasePara();
    p.m_nPosition = 9;
    p.m_nSearchStep = 5;
    p.m_nHorOffsetLimit = p.m_nVerOffsetLimit = 50;
    p.m_nUseGrid = 0;
    EXPECT_EQ(CPoint(100, 195), Place(p, &m_grid));
    EXPECT_EQ(CPoint(100, 195), Place(p, nullptr));
    EXPECT_EQ(1, static_cast<int>(m_grid.GetRecordList().GetCount()));
}

TEST_F(AutoLabelPoint, LengthsAreScaledToTheLabelScaleAndRounded) {
    tagPOINTPARA p = BasePara();
    p.m_nPosition = 1;
    p.m_nScale = 15;
    p.m_nHorOffset = 3;        // 4.5 -> 5
    p.m_nVerOffset = -3;       // -4.5 -> trunc(-4.0) = -4
    p.m_nHorSymbolSize = 30;   // 4.5 -> 5
    p.m_nVerSymbolSize = 10;   // 1.5 -> 2
    m_style.m_nBufferWidth = 1;  // 1.5 -> 2 on both axes
    m_text.m_nCharWidth = 20;  // 30
    m_text.m_nCharHeight = 10; // 15
    m_format.fen_shu_width = 2.0f;
    EXPECT_EQ(CPoint(100 + 5 + 2 + 5, 200 - 4 + 2 + 2), Place(p, nullptr));
    EXPECT_EQ(30, Last()->GetCharWidthA());
    EXPECT_EQ(15, Last()->GetCharHeight());
    EXPECT_FLOAT_EQ(3.0f, Last()->GetGeoFormat().fen_shu_width);

    // The box grows with the sizes: position 5 sits a whole box below and left.
    p.m_nPosition = 5;
    p.m_nHorOffset = p.m_nVerOffset = p.m_nHorSymbolSize = p.m_nVerSymbolSize = 0;
    m_style.m_nBufferWidth = 0;
    EXPECT_EQ(CPoint(100 - 30, 200 - 15), Place(p, nullptr));
}

TEST_F(AutoLabelPoint, SlantedAndShoulderRaisedLetteringGrowTheBox) {
    tagPOINTPARA p = BasePara();
    p.m_nPosition = 5;
    m_text.m_fItalicAngle = 450.0f;  // tan = 1: w grows by round(20 / 2) = 10
    m_style.SetXieTi(1, 0);
    EXPECT_EQ(CPoint(100 - 30, 200 - 10), Place(p, nullptr));

    m_style.SetSongjian(1, 0);  // slanting off, shoulders on
    p.m_fSongJianAngle = 450.0f;  // h grows by the char height
    EXPECT_EQ(CPoint(100 - 20, 200 - 20), Place(p, nullptr));
}

TEST_F(AutoLabelPoint, AFixedBoxLeavingTheAreaSearchesAutomaticallyOnTheNextPass) {
    tagPOINTPARA p = BasePara();
    p.m_nPosition = 0;
    p.m_nSearchStep = 5;
    p.m_nHorOffsetLimit = p.m_nVerOffsetLimit = 50;
    // In the way of position 0 at offsets 0, 5 and 10, and of every automatic position up to 5.
    const tagANNORECT obstacle(900, 100, 195, 12, 12, 0.0f);
    {
        // Inside the area the fixed position keeps growing its offsets until it is clear.
        CGeoAnnoGrid grid;
        grid.SetTotalRect(CRect(0, 0, 1000, 1000));
        grid.BuildIndex();
        grid.AddRecord(obstacle);
        EXPECT_EQ(CPoint(115, 210), Place(p, &grid, RECT{0, 0, 1000, 1000}));
    }
    {
        // A box that reaches past the area's right edge turns to the automatic search, which finds
        // the place above free at offset 10.
        CGeoAnnoGrid grid;
        grid.SetTotalRect(CRect(0, 0, 1000, 1000));
        grid.BuildIndex();
        grid.AddRecord(obstacle);
        EXPECT_EQ(CPoint(100, 210), Place(p, &grid, RECT{0, 0, 115, 1000}));
    }
}

TEST_F(AutoLabelPoint, UnitsAreConvertedToMillimetres) {
    tagPOINTPARA p = BasePara();
    p.m_nPosition = 1;
    p.m_nUnit = 6;  // metres
    p.m_nX = 2;
    p.m_nY = -3;
    EXPECT_EQ(CPoint(2000, -3000), Place(p, nullptr));
}

TEST_F(AutoLabelPoint, EmptyTextOrDrawingWithoutADeviceContextChangesNothing) {
    tagPOINTPARA p = BasePara();
    RECT area{0, 0, 0, 0};
    GEOANNO empty = m_text;
    empty.m_strText = "";
    EXPECT_EQ(LABEL_NOT_PLACED,
              AutoLabelGeoPoint(nullptr, 10, CPoint(), CPoint(), m_style, empty, p, area, m_format, &m_grid));
    GEOANNO drawn = m_text;
    drawn.m_pOutputList = nullptr;
    p.m_nKind = 0;
    EXPECT_EQ(LABEL_NOT_PLACED,
              AutoLabelGeoPoint(nullptr, 10, CPoint(), CPoint(), m_style, drawn, p, area, m_format, &m_grid));
    EXPECT_TRUE(m_out.IsEmpty());
    EXPECT_EQ(0, static_cast<int>(m_grid.GetRecordList().GetCount()));
}

TEST_F(AutoLabelPoint, DrawingModeDrawsTheTextAtTheChosenCorner) {
    annodraw_test::RecordingDC rec;
    tagPOINTPARA p = BasePara();
    p.m_nKind = 0;
    p.m_nPosition = 1;
    p.m_nY = -200;  // device y = -y at scale 10
    GEOANNO drawn = m_text;
    drawn.m_pOutputList = nullptr;
    RECT area{0, 0, 0, 0};
    EXPECT_EQ(LABEL_PLACED,
              AutoLabelGeoPoint(&rec.dc, 10, CPoint(0, 0), CPoint(0, 0), m_style, drawn, p, area, m_format, &m_grid));
    EXPECT_TRUE(m_out.IsEmpty());
    ASSERT_FALSE(rec.All().empty());
    // Everything drawn lies around the box (100, 200)-(120, 210), device y down.
    for (const win32::GdiRecord& r : rec.All())
        for (const POINT& pt : r.points) {
            EXPECT_GE(pt.x, 95) << r.call;
            EXPECT_LE(pt.x, 125) << r.call;
            EXPECT_GE(pt.y, 185) << r.call;
            EXPECT_LE(pt.y, 205) << r.call;
        }
    EXPECT_EQ(1, static_cast<int>(m_grid.GetRecordList().GetCount()));
}

TEST_F(AutoLabelPoint, DrawingFitsTheTextToTheDisplayScale) {
    annodraw_test::RecordingDC rec;
    GEOANNO drawn = m_text;
    drawn.m_pOutputList = nullptr;
    RECT area{0, 0, 0, 0};
    tagPOINTPARA p = BasePara();
    p.m_nKind = 0;
    p.m_nPosition = 1;
    p.m_nHorOffset = 3;
    p.m_nVerOffset = 3;
    p.m_nFitScale = 1;
    // Display scale 20 at label scale 10: the text and the horizontal offset double, the vertical
    // offset does not.
    EXPECT_EQ(LABEL_PLACED,
              AutoLabelGeoPoint(&rec.dc, 20, CPoint(), CPoint(), m_style, drawn, p, area, m_format, &m_grid));
    const tagANNORECT& box = LastRecord();
    EXPECT_EQ(106, box.left);
    EXPECT_EQ(203, box.top);
    EXPECT_EQ(2 * kW, box.right - box.left);
    EXPECT_EQ(2 * kH, box.bottom - box.top);
    // Objects are never fitted.
    p.m_nKind = 1;
    EXPECT_EQ(CPoint(103, 203), Place(p, nullptr));
    EXPECT_EQ(kW, Last()->GetCharWidthA());
    // Without a label scale there is nothing to fit to.
    p.m_nKind = 0;
    p.m_nScale = 0;
    EXPECT_EQ(LABEL_PLACED,
              AutoLabelGeoPoint(&rec.dc, 20, CPoint(), CPoint(), m_style, drawn, p, area, m_format, &m_grid));
}

TEST_F(AutoLabelPoint, TheFormatRequestTurnsFormattedTextOnOutsideKindsZeroAndOne) {
    tagPOINTPARA p = BasePara();
    p.m_nFormatText = 1;
    for (int kind : {1, 3}) {
        p.m_nKind = kind;
        Place(p, nullptr);
        EXPECT_EQ(kind == 3, Last()->GetFormatStyle() != 0) << "kind " << kind;
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

class AutoLabelPointList : public AutoLabelPoint {
protected:
    AutoLabelPointList() { m_app.m_pMainWnd = &m_wnd; }
    ~AutoLabelPointList() override {
        m_app.m_pMainWnd = nullptr;
        for (CGeoVectorObject* o : m_owned) delete o;
    }
    template <class T>
    T* Own(T* o) {
        m_owned.push_back(o);
        m_objects.AddTail(o);
        return o;
    }
    int Run(const tagPOINTPARA& p) {
        CPoint origin, offset;
        CRect area;
        return AutoLabelGeoPoint(nullptr, 10, origin, offset, m_style, m_text, p, area, m_objects, m_texts,
                                 m_format, &m_grid, nullptr);
    }

    CWinApp m_app;
    ProgressWnd m_wnd;
    std::vector<CGeoVectorObject*> m_owned;
    CTypedPtrList<CObList, CGeoVectorObject*> m_objects;
    CStringList m_texts;
};

TEST_F(AutoLabelPointList, PointsAndRingsAreLabelledOthersSkipped) {
    Own(new CGeoPoint(10, 20));
    const POINT square[4] = {{0, 0}, {100, 0}, {100, 100}, {0, 100}};
    Own(new CGeoPolygonLine(4, square, FALSE));
    const POINT open[2] = {{0, 0}, {50, 50}};
    Own(new CGeoPLine(2, open, FALSE));
    m_objects.AddTail(static_cast<CGeoVectorObject*>(nullptr));
    for (const char* t : {"P1", "R1", "L1", "N1"}) m_texts.AddTail(t);

    tagPOINTPARA p = BasePara();
    p.m_nPosition = 1;
    EXPECT_EQ(1, Run(p));
    ASSERT_EQ(2, static_cast<int>(m_out.GetCount()));
    CGeoAnno* first = static_cast<CGeoAnno*>(m_out.GetHead());
    EXPECT_EQ(CString("P1"), first->GetName());
    EXPECT_EQ(CPoint(10, 20), first->GetPositionPoint(0));
    // The ring is labelled centred on its middle.
    EXPECT_EQ(CString("R1"), Last()->GetName());
    EXPECT_EQ(CPoint(50 - kW / 2, 50 - kH / 2), Last()->GetPositionPoint(0));
    EXPECT_EQ(2, static_cast<int>(m_grid.GetRecordList().GetCount()));
    EXPECT_TRUE(m_wnd.values.empty());  // kind 1 reports nothing
}

TEST_F(AutoLabelPointList, AConcaveRingIsLabelledInsideIt) {
    // A U whose bounds' middle lies in the notch.
    const POINT u[8] = {{0, 0}, {100, 0}, {100, 100}, {70, 100}, {70, 30}, {30, 30}, {30, 100}, {0, 100}};
    Own(new CGeoPolygonLine(8, u, FALSE));
    m_texts.AddTail("U");
    tagPOINTPARA p = BasePara();
    EXPECT_EQ(1, Run(p));
    ASSERT_EQ(1, static_cast<int>(m_out.GetCount()));
    const CPoint c = Last()->GetPositionPoint(0) + CPoint(kW / 4, kH / 2);  // "U" is half a width
    const bool inBase = c.y > 0 && c.y < 30 && c.x > 0 && c.x < 100;
    const bool inArm = c.y > 0 && c.y < 100 && ((c.x > 0 && c.x < 30) || (c.x > 70 && c.x < 100));
    EXPECT_TRUE(inBase || inArm) << c.x << ", " << c.y;
}

TEST_F(AutoLabelPointList, ARingIsAnchoredAtTheLibraryInnerPosition) {
    // An L: the inner position of the outside library, which a finder of the labeller's own would not
    // necessarily give (the widest scan line of an L lies in its foot).
    const POINT l[6] = {{0, 0}, {100, 0}, {100, 30}, {30, 30}, {30, 100}, {0, 100}};
    Own(new CGeoPolygonLine(6, l, FALSE));
    m_texts.AddTail("L");
    POINT want{-1, -1};
    const int sizes[1] = {6};
    ASSERT_EQ(1, FindCenPos(l, sizes, 1, want, 1.0));
    tagPOINTPARA p = BasePara();
    EXPECT_EQ(1, Run(p));
    ASSERT_EQ(1, static_cast<int>(m_out.GetCount()));
    EXPECT_EQ(CPoint(want.x - kW / 4, want.y - kH / 2), Last()->GetPositionPoint(0));  // "L" is half a width
}

TEST_F(AutoLabelPointList, EachObjectBringsItsSymbolSizesAndUnit) {
    CGeoPoint* symbolised = Own(new CGeoPoint(10, 20));
    tagVM_SYM_VARIANT v{};
    v.wType = VM_SYM_INTEGER;
    v.lValue = 40;  // first size: horizontal, 40 * 10 / 100 = 4
    symbolised->SetSymbolAttribute(3, v);
    symbolised->SetSymbolAttributeMark(3, 1);
    v.lValue = 20;  // second size: vertical, 2
    symbolised->SetSymbolAttribute(4, v);
    symbolised->SetSymbolAttributeMark(4, 1);
    CGeoPoint* inMetres = Own(new CGeoPoint(1, 2));
    inMetres->SetUnit(6);
    m_texts.AddTail("S");
    m_texts.AddTail("M");

    tagPOINTPARA p = BasePara();
    p.m_nPosition = 1;
    p.m_nHorSymbolSize = 500;  // the caller's values are replaced by the object's
    p.m_nVerSymbolSize = 500;
    p.m_nUnit = 9;
    EXPECT_EQ(1, Run(p));
    ASSERT_EQ(2, static_cast<int>(m_out.GetCount()));
    EXPECT_EQ(CPoint(14, 22), static_cast<CGeoAnno*>(m_out.GetHead())->GetPositionPoint(0));
    EXPECT_EQ(CPoint(1000, 2000), Last()->GetPositionPoint(0));
}

TEST_F(AutoLabelPointList, ListsOfDifferentLengthsLabelNothing) {
    Own(new CGeoPoint(10, 20));
    m_texts.AddTail("A");
    m_texts.AddTail("B");
    tagPOINTPARA p = BasePara();
    p.m_nKind = 3;
    p.m_nTotalObjects = 2;
    EXPECT_EQ(0, Run(p));
    EXPECT_TRUE(m_out.IsEmpty());
    EXPECT_TRUE(m_wnd.values.empty());
}

TEST_F(AutoLabelPointList, LabelKindThreeReportsProgress) {
    for (int i = 0; i < 4; ++i) {
        Own(new CGeoPoint(100 * i, 0));
        m_texts.AddTail("T");
    }
    tagPOINTPARA p = BasePara();
    p.m_nKind = 3;
    p.m_nTotalObjects = 4;
    EXPECT_EQ(1, Run(p));
    EXPECT_EQ((std::vector<int>{0, 25, 50, 75, 100}), m_wnd.values);
    EXPECT_EQ(4, static_cast<int>(m_out.GetCount()));

    // Counting on from the objects done before, over a larger run.
    m_wnd.values.clear();
    p.m_nTotalObjects = 12;
    p.m_nObjectsDone = 4;
    Run(p);
    EXPECT_EQ((std::vector<int>{33, 41, 50, 58, 66}), m_wnd.values);

    // A run without a total labels without reporting (no division by zero).
    m_wnd.values.clear();
    p.m_nTotalObjects = 0;
    EXPECT_EQ(1, Run(p));
    EXPECT_TRUE(m_wnd.values.empty());
    EXPECT_EQ(12, static_cast<int>(m_out.GetCount()));
}

}  // namespace
