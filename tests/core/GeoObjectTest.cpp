// CGeoObject: default names, record bytes, device mapping, handles, moving, rotation flags.
#include "core/GeoObject.h"

#include "core/GeoSettings.h"

#include <afx/Dc.h>
#include <ostrel/Translate.h>
#include <win32/gdirecord.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <vector>

namespace {

// Records what the virtual hooks receive.
class Probe : public CGeoObject {
public:
    explicit Probe(const CRect& r = CRect()) : CGeoObject(r) {}
    void DoRotateCCW(double degrees, CPoint centre) override
    {
        lastAngle = degrees;
        lastCentre = centre;
        ++rotations;
    }
    void OnUnitChanged(int old) override
    {
        unitChanges.push_back(old);
        CGeoObject::OnUnitChanged(old);
    }
    int CanMove() const override { return movable; }
    int CanMoveHandle(int) const override { return movable; }

    double lastAngle = 0;
    CPoint lastCentre;
    int rotations = 0;
    std::vector<int> unitChanges;
    int movable = 1;
};

// Holds the handle radius at its default for one test and puts back what was there.
class DefaultHandleRadius {
public:
    DefaultHandleRadius() : saved_(GetHandleRadius()) { SetHandleRadius(7); }
    ~DefaultHandleRadius() { SetHandleRadius(saved_); }

private:
    int saved_;
};

void ExpectRect(const CRect& r, LONG l, LONG t, LONG rr, LONG b)
{
    EXPECT_EQ(r.left, l);
    EXPECT_EQ(r.top, t);
    EXPECT_EQ(r.right, rr);
    EXPECT_EQ(r.bottom, b);
}

std::vector<BYTE> Store(CGeoObject& o)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        o.Serialize(ar);
        ar.Close();
    }
    return file.Data();
}

void Load(CGeoObject& o, const std::vector<BYTE>& bytes)
{
    CMemFile file(bytes.data(), (UINT)bytes.size());
    CArchive ar(&file, CArchive::load);
    o.Serialize(ar);
}

TEST(GeoObjectNamesDeathTest, CountersStartAtZeroInAFreshProcess)
{
    // The threadsafe style runs the statement in a newly started copy of this program.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            CGeoObject first;
            CGeoObject second(CRect(0, 0, 1, 1));
            bool ok = first.GetObjectName() == CString("对象 0") && second.GetObjectName() == CString("对象 1");
            first.SetObjectName("");
            ok = ok && first.GetObjectName() == CString("对象 1"); // the current counter
            std::exit(ok ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(GeoObject, NamesFollowOneCounter)
{
    CGeoObject a, b;
    CString na = a.GetObjectName(), nb = b.GetObjectName();
    ASSERT_EQ(na.Left(5), CString("对象 "));
    EXPECT_EQ(atoi(nb.Mid(5)), atoi(na.Mid(5)) + 1);
    a.SetObjectName("路");
    EXPECT_EQ(a.GetObjectName(), CString("路"));
}

TEST(GeoObject, RecordBytesMatchTheLayout)
{
    CGeoObject o(CRect(1, 2, 3, 4));
    o.SetObjectName("对象 0");
    const std::vector<BYTE> expected = {
        1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 4, 0, 0, 0,   // bounds
        6, 0xB6, 0xD4, 0xCF, 0xF3, 0x20, 0x30,            // "对象 0" in code page 936
        0x03, 0x00, 0x00, 0x80,                           // unit 3 with the version flag
        0xD7, 0xA3, 0xB0, 0x3F,                           // 1.38f
    };
    EXPECT_EQ(Store(o), expected);

    Probe loaded;
    Load(loaded, expected);
    ExpectRect(loaded.GetPosition(), 1, 2, 3, 4);
    EXPECT_EQ(loaded.GetObjectName(), CString("对象 0"));
    EXPECT_EQ(loaded.GetUnit(), 3);
    EXPECT_EQ(loaded.GetOldVersion(), 1.38f);
    EXPECT_TRUE(loaded.unitChanges.empty()); // loading sets the unit without converting
}

TEST(GeoObject, RecordVersionsAndBrokenRecords)
{
    // Without bit 31 the record ends after the unit and the version stays 1.0.
    std::vector<BYTE> old = {9, 0, 0, 0, 8, 0, 0, 0, 7, 0, 0, 0, 6, 0, 0, 0, 1, 'A', 6, 0, 0, 0};
    CGeoObject o;
    Load(o, old);
    EXPECT_EQ(o.GetOldVersion(), 1.0f);
    EXPECT_EQ(o.GetUnit(), 6);
    ExpectRect(o.GetPosition(), 9, 8, 7, 6); // kept as stored
    ExpectRect(o.GetBounds(), 7, 6, 9, 8);

    std::vector<BYTE> v12 = old;
    v12[21] = 0x80;
    const float f = 1.2f;
    const BYTE* fb = reinterpret_cast<const BYTE*>(&f);
    v12.insert(v12.end(), fb, fb + 4);
    Load(o, v12);
    EXPECT_EQ(o.GetOldVersion(), 1.2f);
    EXPECT_EQ(o.GetUnit(), 6);
    Store(o);
    EXPECT_EQ(o.GetOldVersion(), 1.0f); // storing resets it

    for (size_t cut = 0; cut < v12.size(); ++cut) {
        std::vector<BYTE> part(v12.begin(), v12.begin() + (long)cut);
        CGeoObject victim;
        EXPECT_THROW(Load(victim, part), CArchiveException) << cut;
    }
}

TEST(GeoObject, CreatableByClassName)
{
    CRuntimeClass* rc = CRuntimeClass::FromName("CGeoObject");
    ASSERT_NE(rc, nullptr);
    EXPECT_EQ(rc->m_wSchema, 1u);
    CObject* made = rc->CreateObject();
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(CGeoObject)));
    CGeoObject::Remove(static_cast<CGeoObject*>(made));
    CGeoObject::Remove(nullptr);
}

TEST(GeoObject, DeviceMappingBothWays)
{
    CGeoObject o;
    const CPoint zero(0, 0);
    EXPECT_EQ(o.RPtoLP(100, zero, zero, CPoint(1000, 2000)), CPoint(100, -200));
    EXPECT_EQ(o.LPtoRP(100, zero, zero, CPoint(100, -200)), CPoint(1000, 2000));
    // Truncation toward zero before the sign of y: -trunc(15 * 10 / 100) = -1.
    EXPECT_EQ(o.RPtoLP(100, zero, zero, CPoint(-15, 15)), CPoint(-1, -1));
    EXPECT_EQ(o.RPtoLP(20, CPoint(5, 6), CPoint(-1, 2), CPoint(10, 20)), CPoint(7, -14));
    EXPECT_EQ(o.LPtoRP(20, CPoint(5, 6), CPoint(-1, 2), CPoint(7, -14)), CPoint(10, 20));

    CRect dev = o.RPtoLP(100, zero, zero, CRect(0, 0, 1000, 2000));
    ExpectRect(dev, 0, -200, 100, 0); // normalised with y down
    ExpectRect(o.LPtoRP(100, zero, zero, dev, 0), 0, 0, 1000, 2000);

    POINT pts[2] = {{1000, 2000}, {-500, 0}};
    o.RPtoLP(100, zero, zero, pts, pts, 2); // in place
    EXPECT_EQ(pts[0].y, -200);
    EXPECT_EQ(pts[1].x, -50);
    o.LPtoRP(100, zero, zero, pts, pts, 2);
    EXPECT_EQ(pts[0].x, 1000);
    EXPECT_EQ(pts[1].x, -500);

    CGeoObject metres;
    metres.SetUnit(6);
    EXPECT_EQ(metres.RPtoLP(10, zero, zero, CPoint(1, 1)), CPoint(1000, -1000));
    EXPECT_EQ(metres.LPtoRP(10, zero, zero, CPoint(1000, -1000)), CPoint(1, 1));
    ExpectRect(metres.RPtoLP(10, zero, zero, CRect(0, 0, 1, 2)), 0, -2000, 1000, 0);

    // Extreme values and a zero scale neither overflow nor divide by zero.
    EXPECT_EQ(o.RPtoLP(10, CPoint(INT_MAX, INT_MIN), CPoint(INT_MAX, INT_MIN), CPoint(INT_MAX, INT_MIN)),
              CPoint(INT_MAX, INT_MAX));
    EXPECT_EQ(o.RPtoLP(0, zero, zero, CPoint(3, 4)), CPoint(30, -40));
}

TEST(GeoObject, DeviceMappingThroughTheDisplayTranslation)
{
    SetTranslate(1);
    SetBasePoint(100, 100);
    SetRotateAngle(90.0);
    SetTransform(10, 0);
    CGeoObject o;
    const CPoint zero(0, 0);
    // (110, 100) turns a quarter counter-clockwise about (100, 100) to (100, 110), then shifts to (110, 110).
    EXPECT_EQ(o.RPtoLP(10, zero, zero, CPoint(110, 100)), CPoint(110, -110));
    EXPECT_EQ(o.LPtoRP(10, zero, zero, CPoint(110, -110)), CPoint(110, 100));
    EXPECT_EQ(o.RPtoLP(10, CPoint(1, 2), CPoint(5, 0), CPoint(105, 100)), CPoint(111, -112));
    EXPECT_EQ(o.LPtoRP(10, CPoint(1, 2), CPoint(5, 0), CPoint(111, -112)), CPoint(105, 100));
    CRect dev = o.RPtoLP(10, zero, zero, CRect(100, 100, 120, 110));
    CRect back = o.LPtoRP(10, zero, zero, dev, 2);
    ExpectRect(back, 100, 100, 120, 110);
    // The rectangle form's switch: 0 never translates.
    ExpectRect(o.LPtoRP(10, zero, zero, CRect(0, -20, 10, 0), 0), 0, 0, 10, 20);
    SetTranslate(0);
    ExpectRect(o.LPtoRP(10, zero, zero, dev, 1), 100, 100, 120, 110);
    SetBasePoint(0, 0);
    SetRotateAngle(0.0);
    SetTransform(0, 0);
}

TEST(GeoObject, MovingAndHandles)
{
    Probe o(CRect(0, 0, 5, 5));
    o.MoveTo(CRect(10, 20, 10, 20));
    ExpectRect(o.GetPosition(), 10, 20, 15, 25);
    o.MoveTo(CRect(10, 20, 30, 40));
    ExpectRect(o.GetPosition(), 10, 20, 30, 40);
    o.MoveTo(CRect(30, 40, 10, 20));
    ExpectRect(o.GetPosition(), 10, 20, 30, 40);
    o.Move(CSize(-10, 5));
    ExpectRect(o.GetPosition(), 0, 25, 20, 45);
    o.movable = 0;
    o.Move(CSize(1, 1));
    o.MoveTo(CRect(0, 0, 1, 1));
    o.MoveHandleTo(5, CPoint(1, 1));
    ExpectRect(o.GetPosition(), 0, 25, 20, 45);

    struct Case {
        int handle;
        CPoint to;
        CRect result;
    };
    const Case cases[] = {
        {5, CPoint(-3, 7), CRect(0, 0, 0, 7)},   {1, CPoint(4, 3), CRect(4, 3, 10, 10)},
        {2, CPoint(4, 3), CRect(0, 3, 10, 10)},  {3, CPoint(4, 3), CRect(0, 3, 4, 10)},
        {4, CPoint(20, 3), CRect(0, 0, 10, 10)}, {6, CPoint(4, 3), CRect(0, 0, 10, 3)},
        {7, CPoint(4, 3), CRect(4, 0, 10, 3)},   {8, CPoint(4, 3), CRect(4, 0, 10, 10)},
        {9, CPoint(4, 3), CRect(4, 3, 10, 10)},
        // Handle 1 dragged onto the far corner leaves a rectangle of no size, which MoveTo takes as a
        // move of the whole object to that corner.
        {1, CPoint(12, 15), CRect(10, 10, 20, 20)},
    };
    for (const Case& c : cases) {
        Probe h(CRect(0, 0, 10, 10));
        h.MoveHandleTo(c.handle, c.to);
        ExpectRect(h.GetPosition(), c.result.left, c.result.top, c.result.right, c.result.bottom);
    }

    CGeoObject g(CRect(0, 0, 10, 20));
    const CPoint handles[] = {CPoint(0, 0), CPoint(5, 0), CPoint(10, 0), CPoint(10, 10),
                              CPoint(10, 20), CPoint(5, 20), CPoint(0, 20), CPoint(0, 10)};
    const LPCSTR cursors[] = {IDC_SIZENWSE, IDC_SIZENS, IDC_SIZENESW, IDC_SIZEWE,
                              IDC_SIZENWSE, IDC_SIZENS, IDC_SIZENESW, IDC_SIZEWE};
    EXPECT_EQ(g.GetHandleCount(), 8);
    for (int i = 1; i <= 8; ++i) {
        EXPECT_EQ(g.GetHandle(i), handles[i - 1]) << i;
        EXPECT_EQ(g.GetHandleCursor(i), LoadCursor(nullptr, cursors[i - 1])) << i;
    }
    EXPECT_EQ(g.GetHandle(0), CPoint(0, 0));
    EXPECT_EQ(g.GetHandleCursor(42), LoadCursor(nullptr, IDC_SIZENWSE));
    EXPECT_NE(LoadCursor(nullptr, IDC_SIZENS), LoadCursor(nullptr, IDC_SIZEWE));
    EXPECT_EQ(CGeoObject(CRect(-3, -3, 0, 0)).GetVisiblePoint(), CPoint(-1, -1));
}

TEST(GeoObject, HitTests)
{
    DefaultHandleRadius radius;
    CGeoObject o(CRect(0, 0, 100, 100));
    const CPoint zero(0, 0);
    // Scale 10: a millimetre is one device unit; handle 5 sits at (100, -100).
    EXPECT_EQ(o.HandleHitTest(CPoint(100, -100), 10, zero, zero), 5);
    EXPECT_EQ(o.HandleHitTest(CPoint(106, -94), 10, zero, zero), 5);
    EXPECT_EQ(o.HandleHitTest(CPoint(107, -100), 10, zero, zero), 0); // right edge excluded
    EXPECT_EQ(o.HandleHitTest(CPoint(93, -107), 10, zero, zero), 5);
    EXPECT_EQ(o.HandleHitTest(CPoint(50, -50), 10, zero, zero), 0);
    EXPECT_EQ(o.HitTest(CPoint(50, -50), 10, zero, zero, 0), TRUE);
    EXPECT_EQ(o.HitTest(CPoint(50, -50), 10, zero, zero, 1), 0);
    EXPECT_EQ(o.NormalHitTest(CPoint(100, -50), 10, zero, zero), FALSE); // right edge excluded
    EXPECT_EQ(o.NormalHitTest(CPoint(0, -100), 10, zero, zero), TRUE);
    // Overlapping handles: the highest number wins.
    CGeoObject tiny(CRect(0, 0, 2, 2));
    EXPECT_EQ(tiny.HandleHitTest(CPoint(0, 0), 10, zero, zero), 8);

    ExpectRect(o.GetDrawBounds(10, zero, zero, 0, nullptr), -5, -105, 105, 5);
    ExpectRect(o.GetDrawBounds(10, zero, zero, 1, nullptr), -12, -112, 112, 12);
    EXPECT_TRUE(o.IntersectsDrawField(nullptr, 10, zero, zero, 0, nullptr));
    RECT near = {104, 0, 200, 10}, far = {106, 0, 200, 10};
    EXPECT_TRUE(o.IntersectsDrawField(&near, 10, zero, zero, 0, nullptr));
    EXPECT_FALSE(o.IntersectsDrawField(&far, 10, zero, zero, 0, nullptr));
}

// The Rectangle calls a tracker makes on a recording DC.
std::vector<win32::GdiRecord> TrackerCalls(CGeoObject& o, int state, int drawState, RECT* clip = nullptr)
{
    CDC dc;
    dc.Attach(win32::CreateRecordingDC(300, 300));
    o.DrawTracker(&dc, clip, 10, CPoint(0, 0), CPoint(0, 0), (TrackerState)state, (TrackerDrawState)drawState);
    std::vector<win32::GdiRecord> calls;
    for (const win32::GdiRecord& r : win32::GetRecording(dc.GetSafeHdc()))
        if (r.call == "Rectangle") calls.push_back(r);
    EXPECT_EQ(dc.GetROP2(), R2_COPYPEN); // restored
    return calls;
}

TEST(GeoObject, TrackerSquares)
{
    DefaultHandleRadius radius;
    CGeoObject o(CRect(0, 0, 100, 100));
    std::vector<win32::GdiRecord> calls = TrackerCalls(o, 1, 3);
    ASSERT_EQ(calls.size(), 8u);
    // Handle 1 at device (0, 0): the square (-8, -8, 7, 7).
    EXPECT_EQ(calls[0].pen.lopnStyle, (UINT)PS_SOLID);
    EXPECT_EQ(calls[0].pen.lopnColor, 0x0000FFu); // tracker frame colour
    EXPECT_EQ(calls[0].brush.lbStyle, (UINT)BS_SOLID);
    EXPECT_EQ(calls[0].brush.lbColor, 0x00FF00u); // tracker fill colour
    for (int i = 0; i < 8; ++i) {
        const CPoint h = o.RPtoLP(10, CPoint(0, 0), CPoint(0, 0), o.GetHandle(i + 1));
        ASSERT_EQ(calls[i].points.size(), 2u);
        EXPECT_EQ(calls[i].points[0].x, h.x - 8);
        EXPECT_EQ(calls[i].points[0].y, h.y - 8);
        EXPECT_EQ(calls[i].points[1].x, h.x + 7);
        EXPECT_EQ(calls[i].points[1].y, h.y + 7);
        EXPECT_EQ(calls[i].rop2, R2_NOTXORPEN);
    }
    EXPECT_EQ(TrackerCalls(o, 2, 3).size(), 8u);
    EXPECT_TRUE(TrackerCalls(o, 0, 3).empty());
    EXPECT_TRUE(TrackerCalls(o, 3, 3).empty());
    calls = TrackerCalls(o, 1, 2); // handles 2 to 7
    ASSERT_EQ(calls.size(), 6u);
    EXPECT_EQ(calls[0].points[0].x, 50 - 8);
    EXPECT_EQ(calls[5].points[0].x, 0 - 8);
    EXPECT_EQ(calls[5].points[0].y, -100 - 8);
    EXPECT_EQ(TrackerCalls(o, 1, 0).size(), 7u);
    EXPECT_EQ(TrackerCalls(o, 1, 1).size(), 7u);
    RECT clip = {-20, -20, 20, 20}; // only the square of handle 1
    EXPECT_EQ(TrackerCalls(o, 1, 3, &clip).size(), 1u);
    o.DrawTracker(nullptr, nullptr, 10, CPoint(0, 0), CPoint(0, 0), TRACKER_SELECTED, TRACKER_ALL);
}

TEST(GeoObject, TrackerDrawnTwiceLeavesTheBitmapAsItWas)
{
    CDC dc;
    dc.Attach(win32::CreateImageDC(64, 64));
    // A background that is not plain white, so that the XOR has something to undo.
    CBrush stripes(HS_DIAGCROSS, RGB(200, 30, 90));
    RECT all = {0, 0, 64, 64};
    dc.FillRect(&all, &stripes);
    std::vector<COLORREF> before;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) before.push_back(dc.GetPixel(x, y));

    CGeoObject o(CRect(10, -50, 50, -10)); // device (10, 10) to (50, 50) at scale 10
    o.DrawTracker(&dc, nullptr, 10, CPoint(0, 0), CPoint(0, 0), TRACKER_SELECTED, TRACKER_ALL);
    EXPECT_NE(dc.GetPixel(10, 10), before[10 * 64 + 10]); // something was drawn
    o.DrawTracker(&dc, nullptr, 10, CPoint(0, 0), CPoint(0, 0), TRACKER_SELECTED, TRACKER_ALL);
    size_t changed = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) changed += dc.GetPixel(x, y) != before[(size_t)(y * 64 + x)];
    EXPECT_EQ(changed, 0u);
}

TEST(GeoObject, IntersectsBySelectionMode)
{
    CGeoObject o(CRect(0, 0, 10, 10));
    EXPECT_TRUE(o.Intersects(CRect(0, 0, 10, 10), SELOBJ_INSIDE));
    EXPECT_FALSE(o.Intersects(CRect(1, 0, 10, 10), SELOBJ_INSIDE));
    EXPECT_TRUE(o.Intersects(CRect(20, 20, -5, -5), SELOBJ_INSIDE)); // normalised first
    EXPECT_TRUE(o.Intersects(CRect(9, 9, 20, 20), SELOBJ_MEET));
    EXPECT_FALSE(o.Intersects(CRect(10, 0, 20, 10), SELOBJ_MEET)); // touching shares no area
    EXPECT_FALSE(o.Intersects(CRect(0, 0, 10, 10), (SELOBJMODE)2));
    EXPECT_FALSE(o.Intersects(CRect(-100, -100, 100, 100), (SELOBJMODE)2));
}

TEST(GeoObject, RotationFlags)
{
    Probe o(CRect(0, 0, 10, 20));
    struct Case {
        int flags;
        double degrees;
        double angle;
        CPoint centre;
    };
    const Case cases[] = {
        {2, 90, 270, CPoint(7, 7)},        {0, -450, -90, CPoint(7, 7)},    {0, 400, 40, CPoint(7, 7)},
        {0, -30, -30, CPoint(7, 7)},       {4, 33, 90, CPoint(7, 7)},       {8 | 4, 33, 90, CPoint(7, 7)},
        {8, 33, 180, CPoint(7, 7)},        {0x10, 33, 270, CPoint(7, 7)},   {0x10 | 2, 33, 90, CPoint(7, 7)},
        {0x40, 10, 10, CPoint(5, 10)},     {0x80, 10, 10, CPoint(0, 0)},    {0x400, 10, 10, CPoint(10, 20)},
        {0x100, 10, 10, CPoint(10, 0)},    {0x200, 10, 10, CPoint(0, 20)},  {0x40 | 0x80, 10, 10, CPoint(5, 10)},
        {0x80 | 0x400 | 0x100, 10, 10, CPoint(0, 0)},
    };
    for (const Case& c : cases) {
        o.Rotate(c.flags, c.degrees, CPoint(7, 7));
        EXPECT_DOUBLE_EQ(o.lastAngle, c.angle) << c.flags << " " << c.degrees;
        EXPECT_EQ(o.lastCentre, c.centre) << c.flags;
    }
}

TEST(GeoObject, UnitsDuplicatesAndUserWords)
{
    Probe o(CRect(0, 0, 1000, 2000));
    EXPECT_EQ(o.SetUnit(6), 3); // no conversion
    ExpectRect(o.GetPosition(), 0, 0, 1000, 2000);
    o.SetUnit(3);
    EXPECT_EQ(o.ChangeUnit(6), 3);
    ExpectRect(o.GetPosition(), 0, 0, 1, 2);
    ASSERT_EQ(o.unitChanges.size(), 1u);
    EXPECT_EQ(o.unitChanges[0], 3);
    o.ChangeUnit(6); // same code: nothing to convert
    EXPECT_EQ(o.unitChanges.size(), 1u);
    ExpectRect(o.GetBoundsInMillimeter(), 0, 0, 1000, 2000);

    o.SetObjectData(0xDEADBEEF);
    int marker = 0;
    o.SetObjectDataPtr(&marker);
    CGeoObject* copy = o.Duplicate(5, 6);
    ExpectRect(copy->GetPosition(), 0, 0, 1, 2);
    EXPECT_EQ(copy->GetUnit(), 6);
    EXPECT_EQ(copy->GetObjectData(), 0u);
    EXPECT_EQ(copy->GetObjectDataPtr(), nullptr);
    EXPECT_NE(copy->GetObjectName(), o.GetObjectName());
    EXPECT_EQ(o.GetObjectData(), 0xDEADBEEFu);
    EXPECT_EQ(o.GetObjectDataPtr(), &marker);
    copy->Remove();

    EXPECT_EQ(o.EditProperties(0, 0, nullptr), 0);
    EXPECT_EQ(o.Mirror(POINT{0, 0}, POINT{1, 1}), 0);
    EXPECT_EQ(o.CanDeleteHandle(1), 0);
    EXPECT_EQ(o.CanAddHandle(1), 0);
}

} // namespace
