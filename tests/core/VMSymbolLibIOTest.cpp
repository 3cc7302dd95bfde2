// The library's symbol-library reader: its conversion operations in both coordinate modes, and symbols
// drawn and decomposed through them at a scale.
#include "core/VMSymbolLibIO.h"

#include "platform/quenby/SampleSymbolLib.h"

#include <win32/gdirecord.h>

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

const double kPi = 3.14159265358979323846;

// The sample library read into this library's reader.
class Reader : public ::testing::Test {
protected:
    void SetUp() override { quenbytest::AddSampleSymbols(m_io); }
    CVMSymbolLibIO m_io;
};

LONG LibToSystomLength(CVMSymbolLibIO& io, LONG v, CCoordsConverter c) {
    LONG out = -1;
    EXPECT_EQ(io.OnLibToSystomLength(v, out, &c), 0);
    return out;
}

LONG SystomToLibLength(CVMSymbolLibIO& io, LONG v, CCoordsConverter c) {
    LONG out = -1;
    EXPECT_EQ(io.OnSystomToLibLength(v, out, &c), 0);
    return out;
}

}  // namespace

TEST(CoordsConverter, StartsAsOneOneOne) {
    CCoordsConverter c;
    EXPECT_EQ(c.m_nDenominator, 1);
    EXPECT_EQ(c.m_nNumerator, 1);
    EXPECT_EQ(c.m_nDevice, 1);
}

TEST_F(Reader, LengthsBothWays) {
    // {5000, 5000, 0} with 100 units per mm.
    EXPECT_EQ(LibToSystomLength(m_io, 250, {5000, 5000, 0}), 12500);
    EXPECT_EQ(SystomToLibLength(m_io, 12500, {5000, 5000, 0}), 250);

    struct Case {
        CCoordsConverter c;
        LONG lib, system;
    } cases[] = {
        {{10000, 5000, 1}, 1000, 50},   // 10 mm on paper at half the reference scale: 5 mm, 50 device units
        {{5000, 5000, 1}, 250, 25},
        {{0, 1, 1}, 100, 10},           // a denominator of 0 counts as 1
        {{5000, 5000, 0}, -250, -12500},
        {{1000, 2000, 0}, 1, 20},
    };
    for (const Case& k : cases) {
        EXPECT_EQ(LibToSystomLength(m_io, k.lib, k.c), k.system) << k.lib;
        EXPECT_EQ(SystomToLibLength(m_io, k.system, k.c), k.lib) << k.system;
    }
    EXPECT_EQ(LibToSystomLength(m_io, 99, {5000, 5000, 0}), 4950);
    EXPECT_EQ(LibToSystomLength(m_io, 1, {3000, 3, 0}), 0);   // truncated toward zero
    EXPECT_EQ(SystomToLibLength(m_io, 5, {1, 1000, 0}), 1);   // 0.5 rounds up
    EXPECT_EQ(SystomToLibLength(m_io, 5, {1, 0, 0}), 0);      // no numerator: 0
}

TEST_F(Reader, PointsRectanglesAndAngles) {
    CCoordsConverter device{1000, 1000, 1}, object{1000, 1000, 0};
    POINT p{0, 0};
    m_io.OnLibToSystomPoint(POINT{100, 200}, p, &device);
    EXPECT_EQ(p.x, 10);
    EXPECT_EQ(p.y, -20);  // y points down on the device
    m_io.OnLibToSystomPoint(POINT{100, 200}, p, &object);
    EXPECT_EQ(p.x, 1000);
    EXPECT_EQ(p.y, 2000);

    // Rectangles go through RPtoLP at the denominator's scale, in both modes.
    CCoordsConverter half{2, 4, 1};
    RECT r{0, 0, 0, 0};
    m_io.OnLibToSystomRect(RECT{100, 200, 300, -400}, r, &half);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.right, 30);
    EXPECT_EQ(r.bottom, -40);

    struct Norm {
        RECT in;
        int device;
        RECT out;
    } norms[] = {
        {{5, 1, 0, 9}, 1, {0, 1, 5, 9}}, {{0, 9, 5, 1}, 1, {0, 1, 5, 9}},
        {{5, 1, 0, 9}, 0, {0, 9, 5, 1}}, {{0, 9, 5, 1}, 0, {0, 9, 5, 1}},
    };
    for (const Norm& n : norms) {
        CCoordsConverter c{1, 1, n.device};
        RECT x = n.in;
        m_io.OnNormalizeRect(x, &c);
        EXPECT_TRUE(x.left == n.out.left && x.top == n.out.top && x.right == n.out.right && x.bottom == n.out.bottom)
            << n.device;
    }

    double a = -1;
    m_io.OnLibToSystomAngle(1.0, a, &device);
    EXPECT_EQ(a, 1.0);
    m_io.OnLibToSystomAngle(1.0, a, &object);
    EXPECT_DOUBLE_EQ(a, 2 * kPi - 1.0);
    m_io.OnLibToSystomAngle(-1.0, a, &object);
    EXPECT_EQ(a, 1.0);
}

TEST_F(Reader, AnglesOfDirections) {
    const double h = std::sqrt(0.5);
    struct Case {
        double cos, sin, device, object;
    } cases[] = {
        {1, 0, 2 * kPi, 2 * kPi},
        {0, 1, 3 * kPi / 2, kPi / 2},
        {-1, 0, kPi, kPi},
        {0, -1, kPi / 2, 5 * kPi / 2},
        {h, h, 7 * kPi / 4, kPi / 4},
        {h, -h, kPi / 4, 9 * kPi / 4},
        {-h, h, 5 * kPi / 4, 3 * kPi / 4},
        {-h, -h, 3 * kPi / 4, 3 * kPi / 4},
    };
    for (const Case& c : cases) {
        CCoordsConverter device{1, 1, 1}, object{1, 1, 0};
        double a = -1;
        m_io.OnGetAngle(c.cos, c.sin, a, &device);
        EXPECT_NEAR(a, c.device, 1e-9) << c.cos << "," << c.sin;
        m_io.OnGetAngle(c.cos, c.sin, a, &object);
        EXPECT_NEAR(a, c.object, 1e-9) << c.cos << "," << c.sin;
    }
}

TEST_F(Reader, RotationRoundsToTheNearestPoint) {
    CCoordsConverter c;
    POINT out{7, 7};
    struct Case {
        double angle;
        POINT in, out;
    } cases[] = {
        {kPi / 2, {10, 0}, {0, 10}},
        {kPi / 2, {0, 10}, {-10, 0}},
        {kPi, {3, -4}, {-3, 4}},
        {kPi / 4, {10, 0}, {7, 7}},
        {-kPi / 4, {-10, 0}, {-7, 7}},
    };
    for (const Case& k : cases) {
        m_io.OnRotatePoint(std::sin(k.angle), std::cos(k.angle), k.in, out, &c);
        EXPECT_EQ(out.x, k.out.x) << k.in.x << "," << k.in.y;
        EXPECT_EQ(out.y, k.out.y) << k.in.x << "," << k.in.y;
    }
    out = POINT{7, 7};
    EXPECT_EQ(m_io.OnRotatePoint(1, 0, POINT{10, 0}, out, nullptr), 0);
    EXPECT_EQ(out.x, 7);  // no context: nothing written
    EXPECT_EQ(out.y, 7);
}

TEST_F(Reader, ArcFactors) {
    CCoordsConverter device{1, 1, 1}, object{1, 1, 0};
    double f = 0;
    // A quarter from b (north with y up) to a (east): cot 45 degrees, clockwise with y up.
    m_io.OnGetArcFactor(POINT{10, 0}, POINT{0, 0}, POINT{0, 10}, f, &object);
    EXPECT_NEAR(f, -1.0, 1e-12);
    m_io.OnGetArcFactor(POINT{10, 0}, POINT{0, 0}, POINT{0, 10}, f, &device);
    EXPECT_NEAR(f, 1.0, 1e-12);
    m_io.OnGetArcFactor(POINT{10, 0}, POINT{0, 0}, POINT{-10, 10}, f, &object);
    EXPECT_NEAR(f, -std::tan(kPi / 8), 1e-12);
    // No angle: 0 rather than a division by zero.
    m_io.OnGetArcFactor(POINT{0, 0}, POINT{0, 0}, POINT{0, 10}, f, &object);
    EXPECT_EQ(f, 0.0);
    m_io.OnGetArcFactor(POINT{5, 0}, POINT{0, 0}, POINT{20, 0}, f, &object);
    EXPECT_EQ(f, 0.0);
}

TEST_F(Reader, SymbolsAreDrawnAtTheDrawingScale) {
    HDC dc = win32::CreateRecordingDC(400, 400);
    CCoordsConverter same{1000, 1000, 1}, smaller{2000, 1000, 1};
    ASSERT_EQ(m_io.DrawSymbol(dc, 1, POINT{100, 100}, 0.0, nullptr, 0, &same, 13, nullptr, nullptr), 0);
    ASSERT_EQ(m_io.DrawSymbol(dc, 1, POINT{200, 100}, 0.0, nullptr, 0, &smaller, 13, nullptr, nullptr), 0);
    std::vector<win32::GdiRecord> r = win32::GetRecording(dc);
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].points[0].x, 90);
    EXPECT_EQ(r[0].points[1].y, 110);
    EXPECT_EQ(r[1].points[0].x, 195);  // drawn at twice the denominator: half the size
    EXPECT_EQ(r[1].points[1].y, 105);
    DeleteDC(dc);
}

namespace {

class Collect : public CSymbolOutputer {
public:
    LONG OutputEllipse(const RECT* box, DWORD, DWORD w, DWORD, DWORD, BYTE, const RECT*, void*) override {
        boxes.push_back(*box);
        widths.push_back(w);
        return 0;
    }
    LONG OutputPolyLine(const POINT* p, LONG n, DWORD, DWORD, DWORD, BYTE, const RECT*, void*) override {
        lines.emplace_back(p, p + n);
        return 0;
    }
    std::vector<RECT> boxes;
    std::vector<DWORD> widths;
    std::vector<std::vector<POINT>> lines;
};

}  // namespace

TEST_F(Reader, SymbolsAreDecomposedInObjectCoordinates) {
    CCoordsConverter output{5000, 5000, 0};
    Collect out;
    ASSERT_EQ(m_io.OutputSymbol(&out, 1, POINT{10000, 20000}, 0.0, nullptr, &output, nullptr), 0);
    ASSERT_EQ(out.boxes.size(), 1u);
    // A circle of 1 mm on paper at 1:5000 is 5 m across the ground, in millimetres, y up.
    EXPECT_EQ(out.boxes[0].left, 5000);
    EXPECT_EQ(out.boxes[0].top, 25000);
    EXPECT_EQ(out.boxes[0].right, 15000);
    EXPECT_EQ(out.boxes[0].bottom, 15000);
    EXPECT_EQ(out.widths[0], 500u);

    // Turned by 90 degrees the flag's pole, which stands north, points west.
    ASSERT_EQ(m_io.OutputSymbol(&out, 2, POINT{0, 0}, 90.0, nullptr, &output, nullptr), 0);
    ASSERT_FALSE(out.lines.empty());
    const std::vector<POINT>& pole = out.lines[0];
    ASSERT_EQ(pole.size(), 2u);
    EXPECT_EQ(pole[1].x, -20000);
    EXPECT_EQ(pole[1].y, 0);
}

TEST_F(Reader, PictureThroughTheReader) {
    // Each kind drawn at twice the reference size (numerator 2000 over denominator 1000), to look at.
    HDC dc = win32::CreateImageDC(420, 140);
    CCoordsConverter c{1000, 2000, 1};
    EXPECT_EQ(m_io.DrawSymbol(dc, 2, POINT{40, 100}, 0.0, nullptr, 0, &c, 13, nullptr, nullptr), 0);
    EXPECT_EQ(m_io.DrawSymbol(dc, 3, POINT{110, 70}, 30.0, nullptr, 0, &c, 13, nullptr, nullptr), 0);
    const POINT line[3] = {POINT{160, 120}, POINT{220, 20}, POINT{280, 120}};
    LONG n = 3;
    EXPECT_EQ(m_io.DrawSymbol(dc, 12, line, &n, 1, nullptr, 0, 0, &c, 13, nullptr, nullptr), 0);
    const POINT ring[5] = {POINT{300, 20}, POINT{300, 120}, POINT{400, 120}, POINT{400, 20}, POINT{300, 20}};
    n = 5;
    EXPECT_EQ(m_io.DrawSymbol(dc, 22, ring, &n, 1, nullptr, 0, 0, &c, 13, nullptr, nullptr), 0);
    const RECT box{320, 40, 380, 100};
    EXPECT_EQ(m_io.DrawSymbol(dc, 31, &box, nullptr, 0, 0, &c, 13, nullptr, nullptr), 0);
    EXPECT_TRUE(win32::WriteDCToPNG(dc, (std::string(CORVANE_TEST_OUTPUT_DIR) + "/corvane_symbols.png").c_str()));
    DeleteDC(dc);
}
