// Drawing symbols on device contexts: the exact geometry on a recording DC (through the base
// conversions: 100 library units per mm become 10 device units, y pointing down), the drawing modes,
// overrides, clipping, errors, XOR drawing that undoes itself, legends and a picture to look at.
#include "platform/quenby/SampleSymbolLib.h"
#include "platform/win32/gdi_test_util.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using win32::GdiRecord;

namespace {

class SymbolDraw : public ::testing::Test {
protected:
    void SetUp() override {
        quenbytest::AddSampleSymbols(m_lib);
        m_dc = win32::CreateRecordingDC(400, 400);
    }
    void TearDown() override { DeleteDC(m_dc); }

    std::vector<GdiRecord> Drawn() {
        std::vector<GdiRecord> records = win32::GetRecording(m_dc);
        win32::ClearRecording(m_dc);
        return records;
    }
    static std::string Dump(const std::vector<GdiRecord>& records) {
        std::string s;
        for (const GdiRecord& r : records) s += r.ToString() + "\n";
        return s;
    }
    LONG DrawPoly(LONG symbol, std::vector<POINT> pts, int mode = QUENBY_MODE_NORMAL, CSymbolAttrib* attrib = nullptr,
                  const RECT* clip = nullptr, RECT* out = nullptr) {
        LONG count = static_cast<LONG>(pts.size());
        return m_lib.DrawSymbol(m_dc, symbol, pts.data(), &count, 1, clip, 0, 0, nullptr, mode, out, attrib);
    }

    CSymbolLibIO m_lib;
    HDC m_dc = nullptr;
};

bool SamePoints(const std::vector<POINT>& a, const std::vector<POINT>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].x != b[i].x || a[i].y != b[i].y) return false;
    return true;
}

}  // namespace

TEST_F(SymbolDraw, APointSymbolIsPlacedAtThePoint) {
    EXPECT_EQ(m_lib.DrawSymbol(m_dc, 1, POINT{50, 60}, 0.0, nullptr, 0, nullptr, QUENBY_MODE_NORMAL, nullptr, nullptr),
              QUENBY_OK);
    std::vector<GdiRecord> r = Drawn();
    ASSERT_EQ(r.size(), 1u) << Dump(r);
    EXPECT_EQ(r[0].call, "Ellipse");
    EXPECT_TRUE(SamePoints(r[0].points, {POINT{40, 50}, POINT{60, 70}})) << Dump(r);
    EXPECT_EQ(r[0].brush.lbStyle, static_cast<UINT>(BS_SOLID));
    EXPECT_EQ(r[0].brush.lbColor, 0x0000FFu);
    EXPECT_EQ(r[0].pen.lopnColor, 0u);
    EXPECT_EQ(r[0].rop2, R2_COPYPEN);
}

TEST_F(SymbolDraw, APointSymbolTurnsCounterClockwise) {
    // The flag's pole runs up from the point; turned by 90 degrees it runs to the left.
    ASSERT_EQ(m_lib.DrawSymbol(m_dc, 2, POINT{100, 100}, 90.0, nullptr, 0, nullptr, QUENBY_MODE_NORMAL, nullptr, nullptr),
              QUENBY_OK);
    std::vector<GdiRecord> r = Drawn();
    ASSERT_GE(r.size(), 2u) << Dump(r);
    EXPECT_EQ(r[0].call, "Polyline");
    EXPECT_TRUE(SamePoints(r[0].points, {POINT{100, 100}, POINT{60, 100}})) << Dump(r);
    EXPECT_EQ(r[1].call, "PolyPolygon");
    EXPECT_TRUE(SamePoints(r[1].points, {POINT{60, 100}, POINT{68, 75}, POINT{76, 100}})) << Dump(r);

    // Unturned, the pole runs up (towards smaller y on the device).
    m_lib.DrawSymbol(m_dc, 2, POINT{100, 100}, 0.0, nullptr, 0, nullptr, QUENBY_MODE_NORMAL, nullptr, nullptr);
    r = Drawn();
    EXPECT_TRUE(SamePoints(r[0].points, {POINT{100, 100}, POINT{100, 60}})) << Dump(r);
}

TEST_F(SymbolDraw, LineSymbolsAreDashedAndOffset) {
    ASSERT_EQ(DrawPoly(11, {POINT{0, 50}, POINT{100, 50}}), QUENBY_OK);
    std::vector<GdiRecord> r = Drawn();
    ASSERT_EQ(r.size(), 3u) << Dump(r);
    const std::vector<POINT> runs[3] = {{POINT{0, 50}, POINT{30, 50}}, {POINT{45, 50}, POINT{75, 50}},
                                        {POINT{90, 50}, POINT{100, 50}}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(r[i].call, "Polyline");
        EXPECT_TRUE(SamePoints(r[i].points, runs[i])) << Dump(r);
        EXPECT_EQ(r[i].pen.lopnWidth.x, 2);
        EXPECT_EQ(r[i].pen.lopnStyle & PS_ENDCAP_MASK, static_cast<UINT>(PS_ENDCAP_FLAT));
    }

    // Positive offsets lie to the left of the direction of travel, as the viewer sees it.
    ASSERT_EQ(DrawPoly(12, {POINT{0, 50}, POINT{100, 50}}), QUENBY_OK);
    r = Drawn();
    ASSERT_GE(r.size(), 2u);
    EXPECT_TRUE(SamePoints(r[0].points, {POINT{0, 44}, POINT{100, 44}})) << Dump(r);
    EXPECT_TRUE(SamePoints(r[1].points, {POINT{0, 56}, POINT{100, 56}})) << Dump(r);
    ASSERT_EQ(DrawPoly(12, {POINT{100, 50}, POINT{0, 50}}), QUENBY_OK);
    r = Drawn();
    EXPECT_TRUE(SamePoints(r[0].points, {POINT{100, 56}, POINT{0, 56}})) << Dump(r);

    // Corners are mitred: the left stroke of a line going right, then down, turns inside the corner.
    ASSERT_EQ(DrawPoly(12, {POINT{0, 50}, POINT{100, 50}, POINT{100, 150}}), QUENBY_OK);
    r = Drawn();
    EXPECT_TRUE(SamePoints(r[0].points, {POINT{0, 44}, POINT{106, 44}, POINT{106, 150}})) << Dump(r);
}

TEST_F(SymbolDraw, FillSymbolsFillTheRingsAndStrokeTheirBorders) {
    // A square, counter-clockwise as seen on the device: the border offset (0.3 mm) lies inside.
    const std::vector<POINT> square{POINT{0, 0}, POINT{0, 100}, POINT{100, 100}, POINT{100, 0}, POINT{0, 0}};
    ASSERT_EQ(DrawPoly(21, square), QUENBY_OK);
    std::vector<GdiRecord> r = Drawn();
    ASSERT_EQ(r.size(), 2u) << Dump(r);
    EXPECT_EQ(r[0].call, "PolyPolygon");
    EXPECT_EQ(r[0].brush.lbStyle, static_cast<UINT>(BS_HATCHED));
    EXPECT_EQ(r[0].brush.lbHatch, static_cast<ULONG_PTR>(HS_BDIAGONAL));
    EXPECT_EQ(r[0].brush.lbColor, 0x008000u);
    EXPECT_EQ(r[0].pen.lopnStyle & PS_STYLE_MASK, static_cast<UINT>(PS_NULL));
    EXPECT_EQ(r[1].call, "Polyline");
    EXPECT_TRUE(SamePoints(r[1].points, square)) << Dump(r);

    ASSERT_EQ(DrawPoly(22, square), QUENBY_OK);
    r = Drawn();
    ASSERT_GT(r.size(), 2u);
    EXPECT_EQ(r[0].brush.lbColor, 0x00FFFFu);
    EXPECT_TRUE(SamePoints(r[1].points, {POINT{3, 3}, POINT{3, 28}})) << Dump(r);  // the first dash
    for (size_t i = 1; i < r.size(); ++i)
        for (const POINT& p : r[i].points) {
            EXPECT_TRUE(p.x >= 3 && p.x <= 97 && p.y >= 3 && p.y <= 97) << Dump(r);
            EXPECT_TRUE(p.x == 3 || p.x == 97 || p.y == 3 || p.y == 97) << Dump(r);
        }

    // Two rings make one area with a hole.
    std::vector<POINT> both = square;
    const std::vector<POINT> hole{POINT{40, 40}, POINT{60, 40}, POINT{60, 60}, POINT{40, 60}, POINT{40, 40}};
    both.insert(both.end(), hole.begin(), hole.end());
    LONG counts[2] = {5, 5};
    ASSERT_EQ(m_lib.DrawSymbol(m_dc, 21, both.data(), counts, 2, nullptr, 0, 0, nullptr, QUENBY_MODE_NORMAL, nullptr,
                               nullptr),
              QUENBY_OK);
    r = Drawn();
    ASSERT_EQ(r.size(), 3u) << Dump(r);
    EXPECT_EQ(r[0].counts, (std::vector<int>{5, 5}));
    EXPECT_EQ(r[0].polyFillMode, ALTERNATE);
}

TEST_F(SymbolDraw, TheRectangleFormDrawsAlongTheInscribedEllipse) {
    const RECT box{0, 0, 200, 100};
    ASSERT_EQ(m_lib.DrawSymbol(m_dc, 21, &box, nullptr, 0, 0, nullptr, QUENBY_MODE_NORMAL, nullptr, nullptr), QUENBY_OK);
    std::vector<GdiRecord> r = Drawn();
    ASSERT_EQ(r.size(), 2u);
    for (const POINT& p : r[0].points) {
        const double dx = (p.x - 100) / 100.0, dy = (p.y - 50) / 50.0;
        EXPECT_NEAR(dx * dx + dy * dy, 1.0, 0.03);
    }
    // A point symbol sits at the centre; a custom symbol fills the rectangle.
    m_lib.DrawSymbol(m_dc, 1, &box, nullptr, 0, 0, nullptr, QUENBY_MODE_NORMAL, nullptr, nullptr);
    r = Drawn();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_TRUE(SamePoints(r[0].points, {POINT{90, 40}, POINT{110, 60}})) << Dump(r);
    m_lib.DrawSymbol(m_dc, 31, &box, nullptr, 0, 0, nullptr, QUENBY_MODE_NORMAL, nullptr, nullptr);
    r = Drawn();
    ASSERT_GE(r.size(), 2u);
    EXPECT_EQ(r[0].call, "Ellipse");
    EXPECT_TRUE(SamePoints(r[0].points, {POINT{0, 0}, POINT{200, 100}})) << Dump(r);
    EXPECT_EQ(r[1].call, "Chord");
}

TEST_F(SymbolDraw, ErrorsDrawNothing) {
    const POINT two[2] = {POINT{0, 0}, POINT{10, 10}};
    LONG two_count = 2, zero = 0;
    struct Case {
        const char* name;
        LONG result, expected;
    } cases[] = {
        {"no symbol", m_lib.DrawSymbol(m_dc, 99, POINT{1, 1}, 0, nullptr, 0, nullptr, 13, nullptr, nullptr),
         QUENBY_ERR_NO_SYMBOL},
        {"line symbol at a point", m_lib.DrawSymbol(m_dc, 11, POINT{1, 1}, 0, nullptr, 0, nullptr, 13, nullptr, nullptr),
         QUENBY_ERR_SHAPE},
        {"fill symbol at a point", m_lib.DrawSymbol(m_dc, 21, POINT{1, 1}, 0, nullptr, 0, nullptr, 13, nullptr, nullptr),
         QUENBY_ERR_SHAPE},
        {"point symbol on a line",
         m_lib.DrawSymbol(m_dc, 1, two, &two_count, 1, nullptr, 0, 0, nullptr, 13, nullptr, nullptr), QUENBY_ERR_SHAPE},
        {"no DC", m_lib.DrawSymbol(nullptr, 1, POINT{1, 1}, 0, nullptr, 0, nullptr, 13, nullptr, nullptr),
         QUENBY_ERR_ARGUMENT},
        {"unknown mode", m_lib.DrawSymbol(m_dc, 1, POINT{1, 1}, 0, nullptr, 0, nullptr, 7, nullptr, nullptr),
         QUENBY_ERR_ARGUMENT},
        {"empty part", m_lib.DrawSymbol(m_dc, 11, two, &zero, 1, nullptr, 0, 0, nullptr, 13, nullptr, nullptr),
         QUENBY_ERR_ARGUMENT},
        {"no parts", m_lib.DrawSymbol(m_dc, 11, two, &two_count, 0, nullptr, 0, 0, nullptr, 13, nullptr, nullptr),
         QUENBY_ERR_ARGUMENT},
        {"no rectangle", m_lib.DrawSymbol(m_dc, 21, static_cast<const RECT*>(nullptr), nullptr, 0, 0, nullptr, 13,
                                          nullptr, nullptr),
         QUENBY_ERR_ARGUMENT},
        {"a DC that is not one",
         m_lib.DrawSymbol(reinterpret_cast<HDC>(&zero), 1, POINT{1, 1}, 0, nullptr, 0, nullptr, 13, nullptr, nullptr),
         QUENBY_ERR_DEVICE},
    };
    for (const Case& c : cases) EXPECT_EQ(c.result, c.expected) << c.name;
    EXPECT_TRUE(Drawn().empty());
}

TEST_F(SymbolDraw, ModesClippingAndBounds) {
    SetROP2(m_dc, R2_MASKPEN);
    RECT out{1, 1, 1, 1};
    ASSERT_EQ(m_lib.DrawSymbol(m_dc, 1, POINT{50, 60}, 0.0, nullptr, 0, nullptr, QUENBY_MODE_XOR, &out, nullptr),
              QUENBY_OK);
    std::vector<GdiRecord> r = Drawn();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].rop2, R2_NOTXORPEN);
    EXPECT_EQ(GetROP2(m_dc), R2_MASKPEN);  // the DC's state is restored
    EXPECT_TRUE(out.left <= 40 && out.top <= 50 && out.right >= 60 && out.bottom >= 70);
    EXPECT_TRUE(out.left >= 35 && out.top >= 45 && out.right <= 65 && out.bottom <= 75);

    const RECT clip{0, 0, 100, 100};
    EXPECT_EQ(m_lib.DrawSymbol(m_dc, 1, POINT{500, 500}, 0.0, &clip, 0, nullptr, QUENBY_MODE_NORMAL, &out, nullptr),
              QUENBY_OK);
    EXPECT_TRUE(Drawn().empty());
    EXPECT_EQ(out.left, 0);
    EXPECT_EQ(out.right, 0);
    EXPECT_EQ(m_lib.DrawSymbol(m_dc, 1, POINT{105, 50}, 0.0, &clip, 0, nullptr, QUENBY_MODE_NORMAL, nullptr, nullptr),
              QUENBY_OK);
    EXPECT_EQ(Drawn().size(), 1u);  // it reaches into the clip
}

TEST_F(SymbolDraw, AttributeOverridesColourAndWidth) {
    CSymbolAttrib attrib;
    tagVM_SYM_VARIANT colour;
    colour.wType = VM_SYM_COLOR;
    colour.crValue = 0x8C3232;
    attrib.SetAttribItem(VM_SYM_ITEM_COLOR, colour);
    tagVM_SYM_VARIANT width;
    width.wType = VM_SYM_INTEGER;
    width.lValue = 50;  // 0.5 mm
    attrib.SetAttribItem(VM_SYM_ITEM_WIDTH, width);

    // Without mask bits the items change nothing.
    DrawPoly(12, {POINT{0, 50}, POINT{100, 50}}, QUENBY_MODE_NORMAL, &attrib);
    std::vector<GdiRecord> r = Drawn();
    EXPECT_EQ(r[0].pen.lopnColor, 0xFF0000u);

    attrib.SetAttribMask(VM_SYM_MASK_COLOR | VM_SYM_MASK_WIDTH);
    DrawPoly(12, {POINT{0, 50}, POINT{100, 50}}, QUENBY_MODE_NORMAL, &attrib);
    r = Drawn();
    for (const GdiRecord& rec : r) {
        EXPECT_EQ(rec.pen.lopnColor, 0x8C3232u);
        EXPECT_EQ(rec.pen.lopnWidth.x, 5);
    }
    m_lib.DrawSymbol(m_dc, 2, POINT{50, 50}, 0.0, nullptr, 0, nullptr, QUENBY_MODE_NORMAL, nullptr, &attrib);
    r = Drawn();
    EXPECT_EQ(r[1].brush.lbColor, 0x8C3232u);
    EXPECT_EQ(r[0].pen.lopnWidth.x, 2);  // point symbols keep their widths
}

TEST_F(SymbolDraw, LegendsFitTheirRectangle) {
    const RECT cell{10, 10, 70, 40};
    for (LONG symbol : {1, 2, 3, 11, 12, 21, 22, 31}) {
        ASSERT_EQ(m_lib.DrawSymbolLegend(m_dc, symbol, &cell), QUENBY_OK) << symbol;
        std::vector<GdiRecord> r = Drawn();
        ASSERT_FALSE(r.empty()) << symbol;
        for (const GdiRecord& rec : r)
            for (const POINT& p : rec.points) {
                if (rec.call == "TextOut") continue;
                EXPECT_TRUE(p.x >= 8 && p.x <= 72 && p.y >= 8 && p.y <= 42) << symbol << "\n" << Dump(r);
            }
    }
    EXPECT_EQ(m_lib.DrawSymbolLegend(m_dc, 99, &cell), QUENBY_ERR_NO_SYMBOL);
}

TEST_F(SymbolDraw, XorDrawingTwiceRestoresThePicture) {
    HDC canvas = win32::CreateImageDC(240, 160);
    HBRUSH grey = CreateSolidBrush(RGB(180, 200, 220));
    RECT band{0, 60, 240, 100};
    FillRect(canvas, &band, grey);
    DeleteObject(grey);
    const gditest::Pixels before(canvas);
    const std::vector<POINT> zigzag{POINT{10, 20}, POINT{60, 120}, POINT{110, 20}, POINT{160, 120}};
    const std::vector<POINT> ring{POINT{170, 10}, POINT{170, 150}, POINT{230, 150}, POINT{230, 10}, POINT{170, 10}};
    const RECT box{120, 60, 230, 150};
    auto drawAll = [&] {
        for (LONG s : {1, 2, 3}) m_lib.DrawSymbol(canvas, s, POINT{40 + 60 * (s - 1), 80}, 30.0, nullptr, 0, nullptr,
                                                  QUENBY_MODE_XOR, nullptr, nullptr);
        for (LONG s : {11, 12}) {
            LONG n = static_cast<LONG>(zigzag.size());
            m_lib.DrawSymbol(canvas, s, zigzag.data(), &n, 1, nullptr, 0, 0, nullptr, QUENBY_MODE_XOR, nullptr, nullptr);
        }
        for (LONG s : {21, 22}) {
            LONG n = static_cast<LONG>(ring.size());
            m_lib.DrawSymbol(canvas, s, ring.data(), &n, 1, nullptr, 0, 0, nullptr, QUENBY_MODE_XOR, nullptr, nullptr);
        }
        m_lib.DrawSymbol(canvas, 31, &box, nullptr, 0, 0, nullptr, QUENBY_MODE_XOR, nullptr, nullptr);
    };
    drawAll();
    const gditest::Pixels once(canvas);
    EXPECT_NE(once.c, before.c);
    drawAll();
    const gditest::Pixels twice(canvas);
    EXPECT_EQ(twice.c, before.c);
    DeleteDC(canvas);
}

TEST_F(SymbolDraw, PictureOfEverySymbol) {
    // For a person to look at: each symbol in each form it takes, and its legend.
    HDC canvas = win32::CreateImageDC(640, 360);
    int row = 0;
    for (LONG s : {1, 2, 3, 31}) {
        const int y = 40 + row * 80;
        EXPECT_EQ(m_lib.DrawSymbol(canvas, s, POINT{40, y}, 0.0, nullptr, 0, nullptr, 13, nullptr, nullptr), QUENBY_OK);
        EXPECT_EQ(m_lib.DrawSymbol(canvas, s, POINT{120, y}, 45.0, nullptr, 0, nullptr, 13, nullptr, nullptr), QUENBY_OK);
        const RECT cell{180, y - 30, 260, y + 30};
        EXPECT_EQ(m_lib.DrawSymbolLegend(canvas, s, &cell), QUENBY_OK);
        ++row;
    }
    row = 0;
    for (LONG s : {11, 12, 21, 22}) {
        const int y = 40 + row * 80;
        const std::vector<POINT> line{POINT{300, y + 20}, POINT{360, y - 20}, POINT{420, y + 20}, POINT{480, y - 10}};
        LONG n = static_cast<LONG>(line.size());
        EXPECT_EQ(m_lib.DrawSymbol(canvas, s, line.data(), &n, 1, nullptr, 0, 0, nullptr, 13, nullptr, nullptr),
                  QUENBY_OK);
        const RECT ellipse{500, y - 30, 560, y + 30};
        EXPECT_EQ(m_lib.DrawSymbol(canvas, s, &ellipse, nullptr, 0, 0, nullptr, 13, nullptr, nullptr), QUENBY_OK);
        const RECT cell{570, y - 20, 630, y + 20};
        EXPECT_EQ(m_lib.DrawSymbolLegend(canvas, s, &cell), QUENBY_OK);
        ++row;
    }
    EXPECT_TRUE(win32::WriteDCToPNG(canvas, gditest::OutputPath("quenby_symbols.png").c_str()));
    DeleteDC(canvas);
}
