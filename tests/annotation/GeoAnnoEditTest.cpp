// Editing geometry of annotations: handles and their kinds, cursors, handle drags with the four move
// flags and the flipped-handle memory, hit tests, selection, moves, turns, transforms and changes of
// position type.
#include "AnnoDrawSupport.h"

#include "annotation/AnnoDefaults.h"
#include "annotation/GeoAnno.h"
#include "core/CoreResources.h"

#include <afx/CursorResource.h>
#include <pellion/GeoCoordinateTransformer.h>

#include <gtest/gtest.h>

namespace {

using annodraw_test::kScale;
using annodraw_test::RecordingDC;

// "文字": two double-byte characters, so at char width 50 the row is 100 wide.
const char* const kTwo = "文字";

class GeoAnnoEditTest : public ::testing::Test {
protected:
    void SetUp() override { SetHandleZero(); }
    void TearDown() override
    {
        SetHandleZero();
        SetCurrentGeoAnno(GEOANNO());
    }
};

// Anchored text at (0, 0), align 0, char height 20: its unturned box is (0, 0) - (100, 20) for kTwo.
CGeoAnno Text(const char* text, float angle = 0.0f, int moveFlag = 0, int rowSpace = 0, int colSpace = 0,
              int positionType = 0)
{
    return CGeoAnno(CString(text), CPoint(0, 0), 20, 50, angle, angle, 0, positionType, moveFlag, colSpace,
                    rowSpace, 0, 0);
}

TEST_F(GeoAnnoEditTest, HandleCountsAndKindsFollowTheArrangement)
{
    CGeoAnno plain = Text(kTwo);
    EXPECT_EQ(plain.GetHandleCount(), 8);
    // Kinds on the unturned box (0, 0) - (100, 20), y up: 1 left-bottom, counter-clockwise.
    const CPoint expected[9] = {{0, 0},    {0, 0},    {50, 0}, {100, 0}, {100, 10},
                                {100, 20}, {50, 20},  {0, 20}, {0, 10}};
    for (int h = 1; h <= 8; ++h) EXPECT_EQ(plain.GetHandle(h), expected[h]) << h;

    CGeoAnno echelon = Text(kTwo);
    echelon.SetArrayStyle(ARRAY_ECHELON);
    echelon.CalculateAnnoBounds();
    EXPECT_EQ(echelon.GetHandleCount(), 2);
    CPoint pts[4];
    echelon.GetFourPoints(pts, 1, -1);
    EXPECT_EQ(echelon.GetHandle(1), CPoint((pts[1].x + pts[2].x) / 2, (pts[1].y + pts[2].y) / 2));  // kind 4
    EXPECT_EQ(echelon.GetHandle(2), CPoint((pts[0].x + pts[3].x) / 2, (pts[0].y + pts[3].y) / 2));  // kind 8

    CGeoAnno vertical1 = Text(kTwo, 0.0f, 1);
    vertical1.SetVert(1);
    EXPECT_EQ(vertical1.GetHandleCount(), 2);
    CGeoAnno vertical0 = Text(kTwo, 0.0f, 0);
    vertical0.SetVert(1);
    EXPECT_EQ(vertical0.GetHandleCount(), 8);

    CGeoAnno multi = Text("abc", 0.0f, 0, 0, 0, 6);
    multi.SetPositionPoint(CPoint(7, 8), 2);
    EXPECT_EQ(multi.GetHandleCount(), 3);
    EXPECT_EQ(multi.GetHandle(3), CPoint(7, 8));
    EXPECT_EQ(multi.GetHandle(4), CPoint(0, 0));
}

TEST_F(GeoAnnoEditTest, BoxHandlesSitOnTheBoundsAndMoveTheirEdges)
{
    CGeoAnno box(CString(kTwo), CRect(0, 0, 101, 51), 20, 50, tagGEORECT(), 0, 0, 0, 0);
    EXPECT_EQ(box.GetHandleCount(), 8);
    EXPECT_EQ(box.GetHandle(2), CPoint(50, 0));
    EXPECT_EQ(box.GetHandle(4), CPoint(101, 25));
    EXPECT_EQ(box.GetHandle(7), CPoint(0, 51));
    EXPECT_EQ(box.GetHandle(9), CPoint(0, 0));
    box.MoveHandleTo(5, CPoint(300, 200));
    EXPECT_EQ(box.GetPosition(), CRect(0, 0, 300, 200));
    box.MoveHandleTo(8, CPoint(-10, 999));
    EXPECT_EQ(box.GetPosition(), CRect(-10, 0, 300, 200));
    EXPECT_EQ(box.GetCharWidthA(), 50);  // the box alone changes
}

TEST_F(GeoAnnoEditTest, LockedAspectRatioFreezesTheCornerHandles)
{
    CGeoAnno a = Text(kTwo, 0.0f, 3);
    for (int h = 1; h <= 8; ++h) EXPECT_EQ(a.CanMoveHandle(h), h % 2 == 0 ? 1 : 0) << h;
    const CRect before = a.GetBounds();
    a.MoveHandleTo(5, CPoint(500, 500));
    EXPECT_EQ(a.GetBounds(), before);
    EXPECT_EQ(a.CanAddHandle(1), 0);
}

TEST_F(GeoAnnoEditTest, CursorsFollowTheKindAndWhetherTheTextIsLevel)
{
    const HCURSOR nesw = LoadCursor(nullptr, IDC_SIZENESW), nwse = LoadCursor(nullptr, IDC_SIZENWSE);
    const HCURSOR ns = LoadCursor(nullptr, IDC_SIZENS), we = LoadCursor(nullptr, IDC_SIZEWE);
    struct Case {
        float angle;
        int handle;
        HCURSOR cursor;
    } cases[] = {
        {0.0f, 1, nesw},   {0.0f, 5, nesw},   {0.0f, 2, ns},     {0.0f, 3, nwse},  {0.0f, 8, we},
        {450.0f, 7, nwse}, {900.0f, 1, nwse}, {900.0f, 6, we},   {900.0f, 3, nesw}, {900.0f, 4, ns},
        {-10.0f, 1, nwse},
    };
    for (const Case& c : cases) {
        CGeoAnno a = Text(kTwo, c.angle);
        EXPECT_EQ(a.GetHandleCursor(c.handle), c.cursor) << c.angle << " " << c.handle;
    }
    CGeoAnno box(CString(kTwo), CRect(0, 0, 100, 50), 20, 50, tagGEORECT(), 0, 0, 0, 0);
    EXPECT_EQ(box.GetHandleCursor(1), nesw);
    EXPECT_EQ(box.GetHandleCursor(4), we);
    CGeoAnno multi = Text("ab", 900.0f, 0, 0, 0, 6);
    EXPECT_EQ(multi.GetHandleCursor(1), AfxLoadCursorResource(IDC_GEO_HANDLE));
    EXPECT_NE(multi.GetHandleCursor(1), nullptr);
}

// One drag of a handle of kTwo-like text, then the sizes and spacing.
struct DragCase {
    const char* text;
    int moveFlag;
    int rowSpace, colSpace;
    int handle;
    CPoint to;
    int cw, ch, cs, rs;
};

TEST_F(GeoAnnoEditTest, DragRefitsTheSizesByTheMoveFlag)
{
    const DragCase cases[] = {
        // Characters grow: the box (0, 0) - (100, 20) dragged by its top-right corner to (120, 40).
        {kTwo, 0, 0, 0, 5, CPoint(120, 40), 60, 40, 0, 0},
        // Spacing grows: two rows 20 high, 10 apart; the top edge up by 10, the right edge out by 20.
        {"文字\r\n文字", 1, 10, 0, 6, CPoint(50, 60), 50, 20, 0, 20},
        {"文字\r\n文字", 1, 10, 0, 4, CPoint(120, 25), 50, 20, 20, 10},
        // Both grow. One row of one character: height truncated, width rounded by the factors.
        {"文", 2, 0, 0, 5, CPoint(75, 30), 75, 30, 0, 0},
        // One row of two characters: a zero column space becomes 1, and with the ratio 50 above 20
        // s = round(33 / 3) goes to both the char width and the column space.
        {kTwo, 2, 0, 0, 5, CPoint(133, 33), 61, 33, 12, 0},
        // Both grow over two rows and columns with a ratio out of 2..20: s = round(dH / 3) to both.
        {"文字\r\n文字", 2, 30, 10, 6, CPoint(50, 100), 50, 30, 10, 40},
        // Aspect ratio locked: the width doubles, the height follows the ratio 50 / 20.
        {kTwo, 3, 0, 0, 4, CPoint(200, 10), 100, 40, 0, 0},
        {kTwo, 3, 0, 0, 6, CPoint(50, 30), 75, 30, 0, 0},
        // Sizes never fall below 1.
        {kTwo, 0, 0, 0, 5, CPoint(0, 0), 1, 1, 0, 0},
    };
    for (const DragCase& c : cases) {
        SetHandleZero();
        CGeoAnno a = Text(c.text, 0.0f, c.moveFlag, c.rowSpace, c.colSpace);
        a.MoveHandleTo(c.handle, c.to);
        EXPECT_EQ(a.GetCharWidthA(), c.cw) << c.moveFlag << " " << c.handle;
        EXPECT_EQ(a.GetCharHeight(), c.ch) << c.moveFlag << " " << c.handle;
        EXPECT_EQ(a.GetSpace(), c.cs) << c.moveFlag << " " << c.handle;
        EXPECT_EQ(a.GetRowSpace(), c.rs) << c.moveFlag << " " << c.handle;
    }
}

TEST_F(GeoAnnoEditTest, EchelonAndVerticalHandlesDragTheirEdges)
{
    // Echelon handle 1 is the right edge: dragging it out spreads the characters (move flag forced to 1).
    CGeoAnno e = Text(kTwo);
    e.SetArrayStyle(ARRAY_ECHELON);
    e.CalculateAnnoBounds();
    const CRect before = e.GetBounds();
    const CPoint h1 = e.GetHandle(1);
    e.MoveHandleTo(1, CPoint(h1.x + 20, h1.y));
    EXPECT_EQ(e.GetMoveFlag(), 1);
    EXPECT_EQ(e.GetSpace(), 20);
    EXPECT_EQ(e.GetCharWidthA(), 50);
    EXPECT_EQ(e.GetPositionPoint(0), CPoint(0, 0));
    EXPECT_EQ(e.GetBounds().Width(), before.Width() + 20);

    // Vertical text with move flag 1: handle 1 is the bottom edge, handle 2 the top edge.
    CGeoAnno v = Text(kTwo, 0.0f, 1, 10);
    v.SetVert(1);
    v.CalculateAnnoBounds();
    CPoint pts[4];
    v.GetFourPoints(pts, 1, -1);
    EXPECT_EQ(v.GetHandle(1), CPoint(pts[0].x / 2 + pts[1].x / 2, pts[0].y));
    EXPECT_EQ(v.GetHandle(2), CPoint(pts[2].x / 2 + pts[3].x / 2, pts[2].y));
    v.MoveHandleTo(2, CPoint(0, pts[2].y + 30));  // two rows of one character: row space 10 -> 40
    EXPECT_EQ(v.GetRowSpace(), 40);
    EXPECT_EQ(v.GetCharHeight(), 20);
}

TEST_F(GeoAnnoEditTest, DragKeepsTheAnchoredCornerAndRecomputesTheBounds)
{
    CGeoAnno a = Text(kTwo);
    a.MoveHandleTo(5, CPoint(120, 40));
    EXPECT_EQ(a.GetPositionPoint(0), CPoint(0, 0));
    EXPECT_EQ(a.GetBounds(), CRect(0, 0, 120, 40));

    // Right-top anchored text dragged by its left-bottom corner: the anchor stays at the right top.
    CGeoAnno b(CString(kTwo), CPoint(100, 20), 20, 50, 0.0f, 0.0f, 8, 0, 0, 0, 0, 0, 0);
    ASSERT_EQ(b.GetBounds(), CRect(0, 0, 100, 20));
    b.MoveHandleTo(1, CPoint(-20, -20));
    EXPECT_EQ(b.GetCharWidthA(), 60);
    EXPECT_EQ(b.GetCharHeight(), 40);
    EXPECT_EQ(b.GetPositionPoint(0), CPoint(100, 20));
    EXPECT_EQ(b.GetBounds(), CRect(-20, -20, 100, 20));
}

TEST_F(GeoAnnoEditTest, DragOfTurnedTextWorksInTheTextsOwnFrame)
{
    // Turned a quarter counter-clockwise about (0, 0): the top-right corner (100, 20) lies at (-20, 100)
    // (-19.99999 with this value of pi, rounded as trunc(v + 0.5)).
    CGeoAnno a = Text(kTwo, 900.0f);
    EXPECT_EQ(a.GetHandle(5), CPoint(-19, 100));
    a.MoveHandleTo(5, CPoint(-40, 120));
    EXPECT_EQ(a.GetCharWidthA(), 60);
    EXPECT_EQ(a.GetCharHeight(), 40);
    EXPECT_EQ(a.GetPositionPoint(0), CPoint(0, 0));
    EXPECT_EQ(a.GetBounds(), CRect(-39, 0, 0, 120));
}

TEST_F(GeoAnnoEditTest, ACrossedEdgeContinuesAsTheOppositeKindUntilReset)
{
    CGeoAnno a = Text(kTwo);
    // Handle 2 (bottom middle) dragged above the top edge: the box turns inside out, the factor is
    // taken as 1.0 and nothing grows; the drag continues as kind 6.
    a.MoveHandleTo(2, CPoint(50, 30));
    EXPECT_EQ(a.GetCharHeight(), 20);
    EXPECT_EQ(a.GetBounds(), CRect(0, 0, 100, 20));
    // Still handle 2, now moving the top edge: 20 -> 50.
    a.MoveHandleTo(2, CPoint(50, 50));
    EXPECT_EQ(a.GetCharHeight(), 50);
    EXPECT_EQ(a.GetBounds(), CRect(0, 0, 100, 50));
    // The memory is shared: another annotation's handle 2 also moves its top edge.
    CGeoAnno other = Text(kTwo);
    other.MoveHandleTo(2, CPoint(50, 30));
    EXPECT_EQ(other.GetCharHeight(), 30);

    SetHandleZero();
    CGeoAnno c = Text(kTwo);
    c.MoveHandleTo(2, CPoint(50, 10));  // the bottom edge again: 20 -> 10
    EXPECT_EQ(c.GetCharHeight(), 10);
    EXPECT_EQ(c.GetBounds(), CRect(0, 10, 100, 20));
}

TEST_F(GeoAnnoEditTest, MultiPointHandlesMoveAndDeleteCharacters)
{
    CGeoAnno a = Text("a文b", 0.0f, 0, 0, 0, 6);
    for (int i = 0; i < 3; ++i) a.SetPositionPoint(CPoint(100 * i, 0), i);
    a.SetEscapeAngle(100.0f * 1, 1);
    a.MoveHandleTo(3, CPoint(500, 7));
    EXPECT_EQ(a.GetPositionPoint(2), CPoint(500, 7));
    EXPECT_GE(a.GetBounds().right, 500);
    a.MoveHandleTo(4, CPoint(1, 1));  // no such character: nothing

    const int can[] = {0, 1, 1, 1, 0};
    for (int h = 0; h <= 4; ++h) EXPECT_EQ(a.CanDeleteHandle(h), can[h]) << h;
    a.DeleteHandle(2);
    EXPECT_EQ(a.GetName(), CString("ab"));
    EXPECT_EQ(a.GetPoints(), 2);
    EXPECT_EQ(a.GetPositionPoint(1), CPoint(500, 7));
    EXPECT_EQ(a.GetEscapeAngle(1), 0.0f);
    a.DeleteHandle(1);
    EXPECT_EQ(a.GetName(), CString("b"));
    EXPECT_EQ(a.CanDeleteHandle(1), 0);  // the last character stays
    a.DeleteHandle(1);
    EXPECT_EQ(a.GetName(), CString("b"));
    EXPECT_EQ(a.GetPoints(), 1);

    CGeoAnno single = Text(kTwo);
    EXPECT_EQ(single.CanDeleteHandle(1), 0);
}

TEST_F(GeoAnnoEditTest, NormalHitTestUsesTheTurnedBox)
{
    // At 45 degrees the box's corners are about (0, 0), (71, 71), (57, 85), (-14, 14).
    CGeoAnno a = Text(kTwo, 450.0f);
    const CPoint origin(0, 0), offset(0, 0);
    // At scale 10 a millimetre is one device unit and device y is -y.
    EXPECT_TRUE(a.NormalHitTest(CPoint(35, -40), kScale, origin, offset));
    EXPECT_FALSE(a.NormalHitTest(CPoint(60, -5), kScale, origin, offset));  // inside the bounds only
    EXPECT_TRUE(a.GetBounds().PtInRect(CPoint(60, 5)));
    // The handle test takes the highest-numbered square.
    EXPECT_EQ(a.HandleHitTest(CPoint(0, 0), kScale, origin, offset), 1);

    CGeoAnno box(CString(kTwo), CRect(0, 0, 100, 50), 20, 50, tagGEORECT(), 0, 0, 0, 0);
    EXPECT_TRUE(box.NormalHitTest(CPoint(10, -10), kScale, origin, offset));
}

TEST_F(GeoAnnoEditTest, SelectionMeetsRowsNotTheSpaceBetweenThem)
{
    // Two rows 20 high and 40 apart, turned a quarter: row 0 spans x -80..-60, row 1 x -20..0 (the
    // turned corners round -79.99999 to -79).
    CGeoAnno a = Text("文字\r\n文字", 900.0f, 0, 40);
    ASSERT_EQ(a.GetBounds(), CRect(-79, 0, 0, 100));
    EXPECT_EQ(a.Intersects(CRect(-50, 40, -30, 60), SELOBJ_MEET), 0);  // the gap; the bounds meet it
    EXPECT_EQ(a.Intersects(CRect(-100, 40, -78, 45), SELOBJ_MEET), 1);
    EXPECT_EQ(a.Intersects(CRect(-10, 90, 30, 130), SELOBJ_MEET), 1);
    EXPECT_EQ(a.Intersects(CRect(-75, 40, -70, 45), SELOBJ_MEET), 1);  // inside a row
    EXPECT_EQ(a.Intersects(CRect(10, 10, 30, 30), SELOBJ_MEET), 0);

    EXPECT_EQ(a.Intersects(CRect(-79, 0, 1, 101), SELOBJ_INSIDE), 1);
    EXPECT_EQ(a.Intersects(CRect(-79, 0, 0, 100), SELOBJ_INSIDE), 0);  // right and bottom excluded
    EXPECT_EQ(a.Intersects(CRect(-100, -100, 100, 100), static_cast<SELOBJMODE>(2)), 0);

    // Multi-point: each character at its own point.
    CGeoAnno m = Text("ab", 0.0f, 0, 0, 0, 6);
    m.SetPositionPoint(CPoint(0, 0), 0);
    m.SetPositionPoint(CPoint(200, 0), 1);
    m.CalculateAnnoBounds();
    EXPECT_EQ(m.Intersects(CRect(100, 0, 150, 20), SELOBJ_MEET), 0);
    EXPECT_EQ(m.Intersects(CRect(210, 5, 215, 10), SELOBJ_MEET), 1);

    // Echelon text at 45 degrees: two upright boxes (0, 0) - (50, 20) and (20, 20) - (70, 40) inside a
    // turned band whose bounds reach far beyond them.
    CGeoAnno e = Text(kTwo, 450.0f);
    e.SetArrayStyle(ARRAY_ECHELON);
    e.CalculateAnnoBounds();
    ASSERT_TRUE(e.GetBounds().PtInRect(CPoint(25, -20)));
    EXPECT_EQ(e.Intersects(CRect(20, -20, 30, -10), SELOBJ_MEET), 0);
    EXPECT_EQ(e.Intersects(CRect(0, 45, 10, 55), SELOBJ_MEET), 0);
    EXPECT_EQ(e.Intersects(CRect(60, 30, 65, 35), SELOBJ_MEET), 1);
    EXPECT_EQ(e.Intersects(CRect(-5, -5, 0, 0), SELOBJ_MEET), 1);

    // A box answers with its bounds.
    CGeoAnno box(CString(kTwo), CRect(0, 0, 100, 50), 20, 50, tagGEORECT(), 0, 0, 0, 0);
    EXPECT_EQ(box.Intersects(CRect(90, 40, 200, 200), SELOBJ_MEET), 1);
}

TEST_F(GeoAnnoEditTest, RotationTurnsAnglesAndPointsAndReducesTheAngle)
{
    struct Case {
        float angle;
        double degrees;
        float expected;
    } cases[] = {{100.0f, 90.0, -800.0f}, {3500.0f, -90.0, 800.0f}, {125.5f, -360.0, 125.5f}, {0.0f, 720.0, 0.0f}};
    for (const Case& c : cases) {
        CGeoAnno a = Text(kTwo, c.angle);
        a.DoRotateCCW(c.degrees, CPoint(0, 0));
        EXPECT_FLOAT_EQ(a.GetEscapeAngle(0), c.expected) << c.angle << " " << c.degrees;
        EXPECT_FLOAT_EQ(a.GetOrientAngle(), c.expected) << c.angle << " " << c.degrees;
    }
    // A positive angle turns the points clockwise (y up); the bounds follow.
    CGeoAnno m = Text("ab", 0.0f, 0, 0, 0, 6);
    m.SetPositionPoint(CPoint(100, 0), 0);
    m.SetPositionPoint(CPoint(0, 100), 1);
    m.SetEscapeAngle(0.0f, -1);
    m.DoRotateCCW(90.0, CPoint(0, 0));
    EXPECT_EQ(m.GetPositionPoint(0), CPoint(0, -100));
    EXPECT_EQ(m.GetPositionPoint(1), CPoint(100, 0));
    EXPECT_FLOAT_EQ(m.GetEscapeAngle(1), -900.0f);
    EXPECT_LE(m.GetBounds().top, -100);

    CGeoAnno box(CString(kTwo), CRect(0, 0, 100, 50), 20, 50, tagGEORECT(), 0, 0, 0, 0);
    EXPECT_EQ(box.CanbeRotate(), 0);
    EXPECT_EQ(m.CanbeRotate(), 1);
    box.DoRotateCCW(90.0, CPoint(0, 0));
    EXPECT_EQ(box.GetPosition(), CRect(0, 0, 100, 50));
    EXPECT_EQ(box.GetEscapeAngle(0), 0.0f);
}

TEST_F(GeoAnnoEditTest, MovesOffsetEveryPoint)
{
    CGeoAnno m = Text("ab", 0.0f, 0, 0, 0, 6);
    m.SetPositionPoint(CPoint(100, 0), 1);
    m.CalculateAnnoBounds();
    const CRect b = m.GetBounds();
    m.Move(CSize(10, -5));
    EXPECT_EQ(m.GetPositionPoint(0), CPoint(10, -5));
    EXPECT_EQ(m.GetPositionPoint(1), CPoint(110, -5));
    EXPECT_EQ(m.GetBounds(), CRect(b.left + 10, b.top - 5, b.right + 10, b.bottom - 5));

    CGeoAnno a = Text(kTwo);
    a.MoveTo(CRect(30, 40, 30, 40));
    EXPECT_EQ(a.GetPositionPoint(0), CPoint(30, 40));
    EXPECT_EQ(a.GetBounds(), CRect(30, 40, 130, 60));
}

// Shifts every point by (1 m, 2 m); the second offsets are taken off by the annotation.
class ShiftTransformer : public CBaseCoordinateTransformer {
public:
    int Transform(double x, double y, double& xOut, double& yOut) const override
    {
        xOut = x + 1.0;
        yOut = y + 2.0;
        return 1;
    }
};

TEST_F(GeoAnnoEditTest, TransformMovesTheBoundsAndTheAnchorOnly)
{
    CGeoAnno a(CString(kTwo), CPoint(1000, 2000), 20, 50, 0.0f, 0.0f, 0, 0, 0, 0, 0, 0, 0);
    ASSERT_EQ(a.GetBounds(), CRect(1000, 2000, 1100, 2020));
    ShiftTransformer t;
    t.SetSecondOffsetX(0.5);
    a.Transform(t, 0.25, 0.0);
    EXPECT_EQ(a.GetPositionPoint(0), CPoint(1750, 4000));
    // 2020 mm = 2.02 m goes through metres and back truncated: 4019.99... -> 4019.
    EXPECT_EQ(a.GetBounds(), CRect(1750, 4000, 1850, 4019));
    EXPECT_EQ(a.GetCharWidthA(), 50);

    CGeoAnno m = Text("ab", 0.0f, 0, 0, 0, 6);
    m.SetPositionPoint(CPoint(500, 0), 1);
    m.Transform(t, 0.0, 0.0);
    EXPECT_EQ(m.GetPositionPoint(0), CPoint(500, 2000));
    EXPECT_EQ(m.GetPositionPoint(1), CPoint(500, 0));  // the other points stay
}

// Doubles every length: a transformation that changes the scale of the map.
class DoublingTransformer : public CGeoCoordinateTransformer {
public:
    int Transform(double x, double y, double& xOut, double& yOut) const override
    {
        xOut = 2.0 * x;
        yOut = 2.0 * y;
        return 1;
    }
    int IsLengthChanged() const override { return 1; }
    double TransformLength(double length) const override { return 2.0 * length; }
};

TEST_F(GeoAnnoEditTest, TransformScalesTheLettersWhenLengthsChange)
{
    CGeoAnno a(CString(kTwo), CPoint(1000, 2000), 20, 50, 0.0f, 0.0f, 0, 0, 0, 0, 0, 0, 0);
    a.SetCharWidth(25);
    DoublingTransformer t;
    a.Transform(t, 0.0, 0.0);
    EXPECT_EQ(a.GetPositionPoint(0), CPoint(2000, 4000));
    EXPECT_EQ(a.GetCharWidthA(), 50);
    EXPECT_EQ(a.GetCharHeight(), 40);
}

TEST_F(GeoAnnoEditTest, ChangePositionType)
{
    // Formatted text cannot become a box.
    CGeoAnno f(CString("AB"), CPoint(5, 5), 20, 50, tagGEOFORMAT(), 0.0f, 0.0f, 0, 0, 0);
    const CRect fb = f.GetPosition();
    EXPECT_EQ(f.ChangePositionType(2), 0);
    EXPECT_EQ(f.GetPositionType(), 0);
    EXPECT_EQ(f.GetPosition(), fb);

    // Anchored text becomes a box of its unturned text box, echelon laid out as horizontal.
    CGeoAnno a(CString(kTwo), CPoint(100, 20), 20, 50, 300.0f, 300.0f, 8, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(a.ChangePositionType(2), 1);
    EXPECT_EQ(a.GetPositionType(), 2);
    EXPECT_EQ(a.GetAlignType(), 0);
    EXPECT_EQ(a.GetBounds(), CRect(0, 0, 100, 20));
    EXPECT_EQ(a.ChangePositionType(7), 1);  // nothing to do for a box
    EXPECT_EQ(a.GetPositionType(), 2);

    // A box re-flowed into anchored rows at its smaller corner.
    CGeoAnno box(CString("文字文字"), CRect(10, 10, 120, 200), 20, 50, tagGEORECT(), 4, 0, 0, 0);
    EXPECT_EQ(box.ChangePositionType(0), 1);
    EXPECT_EQ(box.GetPositionType(), 0);
    EXPECT_EQ(box.GetAlignType(), 0);
    EXPECT_EQ(box.GetPositionPoint(0), CPoint(10, 10));
    EXPECT_NE(box.GetName().Find('\n'), -1);  // two characters a row

    // A box spread to one point per character along its top edge from its left-top corner.
    CGeoAnno spread(CString("文字文字"), CRect(10, 10, 120, 200), 20, 50, tagGEORECT(), 4, 0, 0, 0);
    EXPECT_EQ(spread.ChangePositionType(6), 1);
    EXPECT_EQ(spread.GetPositionType(), 6);
    ASSERT_EQ(spread.GetPoints(), 4);
    EXPECT_EQ(spread.GetPositionPoint(0), CPoint(10, 10));
    EXPECT_EQ(spread.GetPositionPoint(3).y, 10);
    EXPECT_GT(spread.GetPositionPoint(3).x, spread.GetPositionPoint(2).x);

    // Anchored text spread the same way: one point per character.
    CGeoAnno single = Text("abc");
    EXPECT_EQ(single.ChangePositionType(6), 1);
    EXPECT_EQ(single.GetPositionType(), 6);
    EXPECT_EQ(single.GetPoints(), 3);

    // Multi-point text shrinks to its first point.
    CGeoAnno m = Text("abc", 0.0f, 0, 0, 0, 6);
    m.SetPositionPoint(CPoint(9, 9), 0);
    m.SetEscapeAngle(50.0f, 0);
    EXPECT_EQ(m.ChangePositionType(6), 1);
    EXPECT_EQ(m.GetPoints(), 3);
    EXPECT_EQ(m.ChangePositionType(0), 1);
    EXPECT_EQ(m.GetPoints(), 1);
    EXPECT_EQ(m.GetPositionPoint(0), CPoint(9, 9));
    EXPECT_FLOAT_EQ(m.GetEscapeAngle(0), 50.0f);
}

TEST_F(GeoAnnoEditTest, TrackerDrawsEveryHandleWithoutClipping)
{
    CGeoAnno a = Text(kTwo);
    RecordingDC rec;
    RECT clip{1000, 1000, 1001, 1001};
    a.DrawTracker(&rec.dc, &clip, kScale, CPoint(0, 0), CPoint(0, 0), TRACKER_SELECTED, TRACKER_ALL);
    auto squares = rec.Calls("Rectangle");
    ASSERT_EQ(squares.size(), 8u);
    const int r = GetHandleRadius();
    EXPECT_EQ(squares[0].points[0].x, -r - 1);
    EXPECT_EQ(squares[0].points[1].x, r);
    EXPECT_EQ(squares[0].rop2, R2_NOTXORPEN);
    rec.Clear();
    a.DrawTracker(&rec.dc, nullptr, kScale, CPoint(0, 0), CPoint(0, 0), TRACKER_ACTIVE, TRACKER_NOENDS);
    EXPECT_EQ(rec.Calls("Rectangle").size(), 6u);
    rec.Clear();
    a.DrawTracker(&rec.dc, nullptr, kScale, CPoint(0, 0), CPoint(0, 0), TRACKER_NORMAL, TRACKER_ALL);
    EXPECT_TRUE(rec.All().empty());

    // A multi-point annotation draws its base line first.
    CGeoAnno m = Text("ab", 0.0f, 0, 0, 0, 6);
    m.SetPositionPoint(CPoint(100, 0), 1);
    a.DrawTracker(&rec.dc, nullptr, kScale, CPoint(0, 0), CPoint(0, 0), TRACKER_NORMAL, TRACKER_ALL);
    m.DrawTracker(&rec.dc, nullptr, kScale, CPoint(0, 0), CPoint(0, 0), TRACKER_SELECTED, TRACKER_ALL);
    const auto all = rec.All();
    ASSERT_FALSE(all.empty());
    EXPECT_NE(all.front().call, "Rectangle");
    EXPECT_EQ(rec.Calls("Rectangle").size(), 2u);
}

TEST_F(GeoAnnoEditTest, TextExtentIsTheBoundsSize)
{
    CGeoAnno a = Text(kTwo);
    const GEOVIEW v = GetDefaultGEOVIEW();
    EXPECT_EQ(a.GetTextExtent(nullptr, 0, v), CSize(100, 20));
    CGeoAnno empty = Text("");
    EXPECT_EQ(empty.GetTextExtent(nullptr, 0, v), CSize(0, 0));
}

TEST_F(GeoAnnoEditTest, FormattedTextGrowsItsCharactersButNotItsSpacing)
{
    // Two leaves side by side with a bar and 10 units of spacing about it: dragging the box's top-right
    // corner lets the characters fill the new box while the spacing stays, so the text's box ends
    // where the handle was dropped.
    tagGEOFORMAT spacing;
    spacing.hor = 10;
    spacing.ver = 6;
    spacing.fen_hor = 4;
    spacing.fen_ver = 4;
    CGeoAnno f(CString("AB|CD"), CPoint(0, 0), 20, 40, spacing, 0.0f, 0.0f, 0, 0, 0);
    f.SetMoveFlag(2);
    CPoint pts[4];
    f.GetFourPoints(pts, 0, -1);
    const CRect b0(pts[0].x, pts[0].y, pts[1].x, pts[2].y);
    f.MoveHandleTo(5, CPoint(b0.right + 80, b0.bottom + 20));
    EXPECT_EQ(f.GetMoveFlag(), 0);  // formatted text always grows its characters
    f.GetFourPoints(pts, 0, -1);
    EXPECT_NEAR(pts[1].x, b0.right + 80, 1);
    EXPECT_NEAR(pts[2].y, b0.bottom + 20, 1);
    EXPECT_EQ(f.GetHor(), 10);
}

}  // namespace
