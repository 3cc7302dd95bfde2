// Decomposing symbols into primitives for an outputer, in all five shapes, through the base conversions
// (100 library units per mm become 10 system units, y pointing down).
#include "platform/quenby/SampleSymbolLib.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

// Keeps every primitive it is handed.
class RecordingOutputer : public CSymbolOutputer {
public:
    struct Item {
        Item(std::string k, std::vector<POINT> pts, DWORD cr = 0, DWORD w = 0, DWORD s = 0, DWORD f = 0, BYTE fs = 0,
             BYTE p = 0)
            : kind(std::move(k)), points(std::move(pts)), line(cr), width(w), style(s), fill(f), fillStyle(fs), pie(p) {}
        std::string kind;
        std::vector<POINT> points;  // polylines, polygons; box corners, start and end for the rest
        DWORD line = 0, width = 0, style = 0, fill = 0;
        BYTE fillStyle = 0, pie = 0;
        LOGFONT font{};
        std::string text;
        void* context = nullptr;
    };

    LONG BeginOutput() override { ++begun; return 0; }
    LONG EndOutput() override { ++ended; return 0; }
    LONG OutputPolyLine(const POINT* p, LONG n, DWORD cr, DWORD w, DWORD s, BYTE, const RECT*, void* ctx) override {
        Item i("polyline", std::vector<POINT>(p, p + n), cr, w, s);
        i.context = ctx;
        items.push_back(i);
        return refuse;
    }
    LONG OutputPolygon(const POINT* p, LONG n, DWORD cr, DWORD w, DWORD s, DWORD fill, BYTE fs, BYTE, const RECT*,
                       void* ctx) override {
        Item i("polygon", std::vector<POINT>(p, p + n), cr, w, s, fill, fs);
        i.context = ctx;
        items.push_back(i);
        return refuse;
    }
    LONG OutputAnno(const POINT& pos, DWORD cr, LOGFONT& font, const char* text, const RECT*, void* ctx) override {
        Item i("anno", {pos}, cr);
        i.font = font;
        i.text = text;
        i.context = ctx;
        items.push_back(i);
        return refuse;
    }
    LONG OutputEllipse(const RECT* box, DWORD cr, DWORD w, DWORD s, DWORD fill, BYTE fs, const RECT*, void* ctx) override {
        Item i("ellipse", {POINT{box->left, box->top}, POINT{box->right, box->bottom}}, cr, w, s, fill, fs);
        i.context = ctx;
        items.push_back(i);
        return refuse;
    }
    LONG OutputArc(const RECT* box, const POINT& a, const POINT& b, DWORD cr, DWORD w, DWORD s, DWORD fill, BYTE fs,
                   BYTE pie, const RECT*, void* ctx) override {
        Item i("arc", {POINT{box->left, box->top}, POINT{box->right, box->bottom}, a, b}, cr, w, s, fill, fs, pie);
        i.context = ctx;
        items.push_back(i);
        return refuse;
    }
    LONG OutputChord(const RECT* box, const POINT& a, const POINT& b, DWORD cr, DWORD w, DWORD s, DWORD fill, BYTE fs,
                     const RECT*, void* ctx) override {
        Item i("chord", {POINT{box->left, box->top}, POINT{box->right, box->bottom}, a, b}, cr, w, s, fill, fs);
        i.context = ctx;
        items.push_back(i);
        return refuse;
    }

    std::vector<Item> items;
    int begun = 0, ended = 0;
    LONG refuse = 0;
};

std::string Str(const std::vector<POINT>& pts) {
    std::string s;
    for (const POINT& p : pts) s += "(" + std::to_string(p.x) + "," + std::to_string(p.y) + ")";
    return s;
}

class SymbolOutput : public ::testing::Test {
protected:
    void SetUp() override { quenbytest::AddSampleSymbols(m_lib); }
    CSymbolLibIO m_lib;
    RecordingOutputer m_out;
    int m_context = 0;
};

}  // namespace

TEST_F(SymbolOutput, PointSymbolsBecomeTheirPrimitives) {
    ASSERT_EQ(m_lib.OutputSymbol(&m_out, 1, POINT{1000, 2000}, 0.0, nullptr, &m_context, nullptr), QUENBY_OK);
    ASSERT_EQ(m_out.items.size(), 1u);
    const auto& e = m_out.items[0];
    EXPECT_EQ(e.kind, "ellipse");
    EXPECT_EQ(Str(e.points), "(990,1990)(1010,2010)");
    EXPECT_EQ(e.width, 1u);
    EXPECT_EQ(e.fill, 0xFFu);
    EXPECT_EQ(e.fillStyle, QUENBY_FILL_SOLID);
    EXPECT_EQ(e.context, &m_context);
    EXPECT_EQ(m_out.begun, 1);
    EXPECT_EQ(m_out.ended, 1);

    m_out.items.clear();
    ASSERT_EQ(m_lib.OutputSymbol(&m_out, 2, POINT{0, 0}, 0.0, nullptr, &m_context, nullptr), QUENBY_OK);
    ASSERT_EQ(m_out.items.size(), 3u);
    EXPECT_EQ(m_out.items[0].kind, "polyline");
    EXPECT_EQ(Str(m_out.items[0].points), "(0,0)(0,-40)");
    EXPECT_EQ(m_out.items[0].width, 2u);
    EXPECT_EQ(m_out.items[1].kind, "polygon");
    EXPECT_EQ(Str(m_out.items[1].points), "(0,-40)(25,-32)(0,-24)");
    const auto& anno = m_out.items[2];
    EXPECT_EQ(anno.kind, "anno");
    EXPECT_EQ(Str(anno.points), "(4,-22)");
    EXPECT_EQ(anno.font.lfHeight, 12);
    EXPECT_EQ(std::string(anno.font.lfFaceName), std::string("宋体"));
    EXPECT_EQ(anno.text, "A");

    // Turned by 90 degrees, circles stay arcs: only their centres and end points move.
    m_out.items.clear();
    ASSERT_EQ(m_lib.OutputSymbol(&m_out, 3, POINT{100, 100}, 90.0, nullptr, &m_context, nullptr), QUENBY_OK);
    ASSERT_EQ(m_out.items.size(), 3u);
    const auto& sector = m_out.items[0];
    EXPECT_EQ(sector.kind, "arc");
    EXPECT_EQ(sector.pie, 1);
    EXPECT_EQ(Str(sector.points), "(80,80)(120,120)(100,80)(80,100)");  // east turns north, north turns west
    EXPECT_EQ(m_out.items[2].kind, "polyline");
    EXPECT_EQ(Str(m_out.items[2].points).substr(0, 20), "(100,100)(100,65)(96");
}

TEST_F(SymbolOutput, CustomSymbolsAreStretchedOntoTheRectangle) {
    const RECT box{0, 0, 100, 60};
    ASSERT_EQ(m_lib.OutputSymbol(&m_out, 31, &box, nullptr, &m_context, nullptr), QUENBY_OK);
    ASSERT_EQ(m_out.items.size(), 3u);
    EXPECT_EQ(m_out.items[0].kind, "ellipse");
    EXPECT_EQ(Str(m_out.items[0].points), "(0,0)(100,60)");
    EXPECT_EQ(m_out.items[1].kind, "chord");
    EXPECT_EQ(Str(m_out.items[1].points), "(0,0)(100,60)(100,40)(0,40)");
    EXPECT_EQ(m_out.items[2].kind, "anno");
    EXPECT_EQ(Str(m_out.items[2].points), "(40,5)");
    EXPECT_EQ(m_out.items[2].font.lfHeight, 20);  // lengths are not stretched
}

TEST_F(SymbolOutput, LineAndFillSymbolsFollowTheGeometry) {
    const POINT line[2] = {POINT{0, 0}, POINT{100, 0}};
    LONG n = 2;
    ASSERT_EQ(m_lib.OutputSymbol(&m_out, 11, line, &n, 1, 0, nullptr, &m_context, nullptr), QUENBY_OK);
    ASSERT_EQ(m_out.items.size(), 3u);
    EXPECT_EQ(Str(m_out.items[1].points), "(45,0)(75,0)");
    EXPECT_EQ(m_out.items[1].width, 2u);
    EXPECT_EQ(m_out.items[1].style, 0x200u);  // solid, flat ends

    m_out.items.clear();
    const POINT square[5] = {POINT{0, 0}, POINT{0, 100}, POINT{100, 100}, POINT{100, 0}, POINT{0, 0}};
    n = 5;
    ASSERT_EQ(m_lib.OutputSymbol(&m_out, 21, square, &n, 1, 0, nullptr, &m_context, nullptr), QUENBY_OK);
    ASSERT_EQ(m_out.items.size(), 2u);
    EXPECT_EQ(m_out.items[0].kind, "polygon");
    EXPECT_EQ(m_out.items[0].fillStyle, QUENBY_FILL_HATCH_FIRST + 3);
    EXPECT_EQ(m_out.items[0].style, static_cast<DWORD>(PS_NULL));
    EXPECT_EQ(m_out.items[1].kind, "polyline");
    EXPECT_EQ(m_out.items[1].width, 2u);
}

TEST_F(SymbolOutput, ThreePointAndRoundedRectangleForms) {
    ASSERT_EQ(m_lib.OutputSymbol(&m_out, 12, POINT{0, 0}, POINT{50, 50}, POINT{100, 0}, nullptr, &m_context, nullptr),
              QUENBY_OK);
    // The middle stroke (offset 0) of the arc lies on the circle through the three points.
    bool sawCentreStroke = false;
    for (const auto& item : m_out.items) {
        if (item.line != 0x0000FF) continue;
        sawCentreStroke = true;
        for (const POINT& p : item.points) EXPECT_NEAR(std::hypot(p.x - 50.0, p.y), 50.0, 1.0) << Str(item.points);
    }
    EXPECT_TRUE(sawCentreStroke);

    m_out.items.clear();
    ASSERT_EQ(m_lib.OutputSymbol(&m_out, 11, POINT{0, 0}, POINT{50, 0}, POINT{100, 0}, nullptr, &m_context, nullptr),
              QUENBY_OK);
    for (const auto& item : m_out.items)
        for (const POINT& p : item.points) EXPECT_EQ(p.y, 0);  // collinear: a straight run

    m_out.items.clear();
    const RECT box{0, 0, 100, 60};
    ASSERT_EQ(m_lib.OutputSymbol(&m_out, 21, &box, POINT{40, 20}, nullptr, &m_context, nullptr), QUENBY_OK);
    ASSERT_FALSE(m_out.items.empty());
    const auto& ring = m_out.items[0];
    EXPECT_EQ(ring.kind, "polygon");
    for (const POINT& p : ring.points) {
        EXPECT_TRUE(p.x >= 0 && p.x <= 100 && p.y >= 0 && p.y <= 60) << Str(ring.points);
        EXPECT_FALSE((p.x < 5 && p.y < 5) || (p.x > 95 && p.y > 55)) << "corners are rounded: " << Str(ring.points);
    }
}

TEST_F(SymbolOutput, RefusalsDoNotStopTheRunAndErrorsHandNothing) {
    m_out.refuse = 1;
    const POINT line[2] = {POINT{0, 0}, POINT{100, 0}};
    LONG n = 2;
    EXPECT_EQ(m_lib.OutputSymbol(&m_out, 11, line, &n, 1, 0, nullptr, &m_context, nullptr), QUENBY_OK);
    EXPECT_EQ(m_out.items.size(), 3u);

    m_out.items.clear();
    EXPECT_EQ(m_lib.OutputSymbol(nullptr, 11, line, &n, 1, 0, nullptr, &m_context, nullptr), QUENBY_ERR_ARGUMENT);
    EXPECT_EQ(m_lib.OutputSymbol(&m_out, 99, line, &n, 1, 0, nullptr, &m_context, nullptr), QUENBY_ERR_NO_SYMBOL);
    EXPECT_EQ(m_lib.OutputSymbol(&m_out, 1, line, &n, 1, 0, nullptr, &m_context, nullptr), QUENBY_ERR_SHAPE);
    EXPECT_EQ(m_lib.OutputSymbol(&m_out, 21, POINT{0, 0}, 0.0, nullptr, &m_context, nullptr), QUENBY_ERR_SHAPE);
    EXPECT_TRUE(m_out.items.empty());

    // The base outputer refuses everything.
    CSymbolOutputer base;
    EXPECT_EQ(m_lib.OutputSymbol(&base, 31, POINT{0, 0}, 0.0, nullptr, &m_context, nullptr), QUENBY_OK);
    LOGFONT font{};
    EXPECT_EQ(base.OutputAnno(POINT{0, 0}, 0, font, "x", nullptr, nullptr), 1);
}
