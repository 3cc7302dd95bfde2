// The polyline's painters on a recording device context (pens, raster operation, what is put back,
// the marks at its ends, the symbol library and its fallback) and its symbolised output.
#include "LineTestSupport.h"

#include "core/GeoSettings.h"
#include "core/VMSymbolLibIO.h"
#include "platform/quenby/SampleSymbolLib.h"
#include "vector/GeoPLine.h"

#include <ostrel/PointBuffer.h>
#include <quenby/SymbolOutputer.h>
#include <win32/gdirecord.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace linetest;

namespace {

using Records = std::vector<win32::GdiRecord>;

// Scale 10 in millimetres maps a unit to a device unit; the origin puts y = 300 at the top of the device.
const UINT kScale = 10;
const CPoint kOrigin(0, -300);
const COLORREF kRed = 0x0000FF;

class GeoPLineDraw : public ::testing::Test {
protected:
    void SetUp() override {
        m_dc.Attach(win32::CreateRecordingDC(400, 400));
        m_line.reset(MakeLine({{10, 10}, {100, 10}, {100, 100}}));
        m_view.m_crLineColor = kRed;
        m_view.m_nLineShape = PS_ENDCAP_FLAT;  // 512, the default
        m_view.m_fLineWidth = 3.0f;
        m_lib.reset(new CVMSymbolLibIO);
        quenbytest::AddSampleSymbols(*m_lib);
    }
    void TearDown() override { EXPECT_EQ(GetFXPointBufferDepth(), 0); }

    void Plain(int scaleWidths, UINT scale = kScale, UINT scale2 = kScale, int xorMode = 0, RECT* clip = nullptr) {
        m_line->OnDrawWithoutSymbolization(&m_dc, scale, scale2, kOrigin, CPoint(0, 0), m_view, clip, xorMode, 0,
                                           scaleWidths);
    }
    void Symbolised(void* lib, int keepColours = 1, int xorMode = 0) {
        m_line->OnDrawWithSymbolization(&m_dc, kScale, kScale, kOrigin, CPoint(0, 0), m_view, nullptr, xorMode, 0,
                                        lib, keepColours);
    }
    Records All() const { return win32::GetRecording(m_dc.m_hDC); }
    Records Calls(const std::string& name) const {
        Records out;
        for (const win32::GdiRecord& r : All())
            if (r.call == name) out.push_back(r);
        return out;
    }

    CDC m_dc;
    std::unique_ptr<CGeoPLine> m_line;
    GEOVIEW m_view;
    std::unique_ptr<CSymbolLibIO> m_lib;
};

const Pts kDevice = {{10, 290}, {100, 290}, {100, 200}};

TEST_F(GeoPLineDraw, PenKindAndWidthFollowTheScaledWidth) {
    struct Case {
        float width;
        UINT scale, scale2;
        int scaleWidths;
        bool geometric;
        LONG penWidth;
    };
    const Case cases[] = {
        {3.0f, 10, 10, 1, true, 3},    // over one device unit: geometric
        {0.3f, 10, 100, 1, true, 3},   // 0.3 * 100 / 10
        {2.0f, 10, 10, 1, true, 2},
        {1.9f, 10, 10, 1, false, 1},   // truncated to 1: cosmetic
        {0.5f, 10, 20, 1, false, 1},
        {2.0f, 1000, 10, 1, false, 0},
        {3.0f, 10, 10, 0, false, 0},   // widths not scaled: the thinnest pen whatever the style says
        {-4.0f, 10, 10, 1, false, 0},
    };
    for (const Case& c : cases) {
        m_view.m_fLineWidth = c.width;
        win32::ClearRecording(m_dc.m_hDC);
        Plain(c.scaleWidths, c.scale, c.scale2);
        Records lines = Calls("Polyline");
        ASSERT_EQ(lines.size(), 1u) << c.width;
        const LOGPEN& pen = lines[0].pen;
        EXPECT_EQ((pen.lopnStyle & PS_GEOMETRIC) != 0, c.geometric) << c.width << " " << c.scale2;
        if (c.geometric)
            EXPECT_EQ(pen.lopnStyle, static_cast<UINT>(PS_GEOMETRIC | PS_ENDCAP_FLAT)) << c.width;
        else
            EXPECT_EQ(pen.lopnStyle & PS_STYLE_MASK, static_cast<UINT>(PS_SOLID)) << c.width;
        EXPECT_EQ(pen.lopnWidth.x, c.geometric ? c.penWidth : std::max<LONG>(c.penWidth, 1)) << c.width;
        EXPECT_EQ(pen.lopnColor, kRed);
        EXPECT_EQ(lines[0].rop2, R2_COPYPEN);
        if (c.scale == kScale) {
            EXPECT_TRUE(SamePoints(lines[0].points, kDevice));
        }
    }
}

TEST_F(GeoPLineDraw, XorDrawingAndWhatIsPutBack) {
    m_line->SetDangleType(DANGLE_FIRST | DANGLE_LAST);
    m_line->AddDangleType(FALSENODE_LAST);
    CPen pen(PS_DASH, 1, 0x123456);
    CBrush brush(0x654321);
    HGDIOBJ oldPen = ::SelectObject(m_dc.m_hDC, pen);
    HGDIOBJ oldBrush = ::SelectObject(m_dc.m_hDC, brush);
    m_dc.SetROP2(R2_MASKPEN);

    Plain(1, kScale, kScale, 1);
    Records all = All();
    ASSERT_EQ(all.size(), 4u);  // the line, two dangle marks, one false-node mark, in this order
    EXPECT_EQ(all[0].call, "Polyline");
    EXPECT_EQ(all[0].brush.lbStyle, static_cast<UINT>(BS_NULL));
    for (const win32::GdiRecord& r : all) EXPECT_EQ(r.rop2, R2_NOTXORPEN) << r.ToString();
    const int d = GetDangleRadius(), f = GetFalseNodeRadius();
    EXPECT_TRUE(SamePoints(all[1].points, {{10 - d, 290 - d}, {10 + d, 290 + d}}));
    EXPECT_TRUE(SamePoints(all[2].points, {{100 - d, 200 - d}, {100 + d, 200 + d}}));
    EXPECT_TRUE(SamePoints(all[3].points, {{100 - f, 200 - f}, {100 + f, 200 + f}}));
    EXPECT_EQ(all[1].pen.lopnColor, GetDangleColor());
    EXPECT_EQ(all[3].pen.lopnColor, GetFalseNodeColor());

    // The raster operation, the pen and the brush are the caller's again.
    EXPECT_EQ(m_dc.GetROP2(), R2_MASKPEN);
    EXPECT_EQ(::GetCurrentObject(m_dc.m_hDC, OBJ_PEN), static_cast<HGDIOBJ>(pen));
    EXPECT_EQ(::GetCurrentObject(m_dc.m_hDC, OBJ_BRUSH), static_cast<HGDIOBJ>(brush));
    ::SelectObject(m_dc.m_hDC, oldPen);
    ::SelectObject(m_dc.m_hDC, oldBrush);
}

TEST_F(GeoPLineDraw, EndMarksNeedTwoSlotsForTheLastEndAndTheClipPassesThrough) {
    auto dot = std::unique_ptr<CGeoPLine>(MakeLine({{50, 50}}));
    dot->SetDangleType(DANGLE_FIRST | DANGLE_LAST);
    dot->OnDrawWithoutSymbolization(&m_dc, kScale, kScale, kOrigin, CPoint(0, 0), m_view, nullptr, 0, 0, 1);
    Records marks = Calls("Rectangle");
    ASSERT_EQ(marks.size(), 1u);  // a single slot has no last end of its own
    EXPECT_TRUE(Calls("Polyline").empty());

    win32::ClearRecording(m_dc.m_hDC);
    RECT clip{0, 280, 50, 300};  // meets the first segment only
    Plain(1, kScale, kScale, 0, &clip);
    Records lines = Calls("Polyline");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(SamePoints(lines[0].points, {{10, 290}, {100, 290}}));
}

TEST_F(GeoPLineDraw, SymbolisedDrawingUsesTheLineSymbol) {
    m_view.SetSymbol(SYMBOL_LINE, 11);  // black dashes
    const WORD mask = m_line->GetSymbolAttribute(nullptr).GetAttribMask();
    Symbolised(m_lib.get(), 1);
    Records drawn = All();
    ASSERT_FALSE(drawn.empty());
    for (const win32::GdiRecord& r : drawn) {
        EXPECT_EQ(r.pen.lopnColor, 0x000000u) << r.ToString();  // the symbol's own colour
        EXPECT_EQ(r.rop2, R2_COPYPEN);
    }
    EXPECT_EQ(m_line->GetSymbolAttribute(nullptr).GetAttribMask(), mask);

    // Without keepColours the style's line colour overrides the symbol's; the mask is put back.
    win32::ClearRecording(m_dc.m_hDC);
    Symbolised(m_lib.get(), 0, 1);
    drawn = All();
    ASSERT_FALSE(drawn.empty());
    for (const win32::GdiRecord& r : drawn) {
        EXPECT_EQ(r.pen.lopnColor, kRed) << r.ToString();
        EXPECT_EQ(r.rop2, R2_NOTXORPEN);  // XOR display drawing by the library
    }
    EXPECT_EQ(m_line->GetSymbolAttribute(nullptr).GetAttribMask(), mask);
    EXPECT_EQ(m_dc.GetROP2(), R2_COPYPEN);
}

TEST_F(GeoPLineDraw, SymbolisedDrawingFallsBackToThePlainPainter) {
    struct Case {
        const char* what;
        int symbol;
        bool library;
    };
    const Case cases[] = {
        {"no line symbol", 0, true},
        {"no library", 11, false},
        {"the library has no such symbol", 99, true},
        {"a point symbol cannot follow a line", 1, true},
    };
    for (const Case& c : cases) {
        m_view.SetSymbol(SYMBOL_LINE, c.symbol);
        m_view.SetSymbol(SYMBOL_POINT, 2);
        win32::ClearRecording(m_dc.m_hDC);
        const WORD mask = m_line->GetSymbolAttribute(nullptr).GetAttribMask();
        Symbolised(c.library ? m_lib.get() : nullptr, 0);
        // One plain line, its width scaled (3 units: a geometric pen), in the style's colour.
        Records all = All();
        ASSERT_EQ(all.size(), 1u) << c.what;
        EXPECT_EQ(all[0].call, "Polyline") << c.what;
        EXPECT_EQ(all[0].pen.lopnStyle, static_cast<UINT>(PS_GEOMETRIC | PS_ENDCAP_FLAT)) << c.what;
        EXPECT_EQ(all[0].pen.lopnWidth.x, 3) << c.what;
        EXPECT_EQ(all[0].pen.lopnColor, kRed) << c.what;
        EXPECT_TRUE(SamePoints(all[0].points, kDevice)) << c.what;
        EXPECT_EQ(m_line->GetSymbolAttribute(nullptr).GetAttribMask(), mask) << c.what;
    }
}

TEST_F(GeoPLineDraw, DrawingTwiceInXorRestoresThePixels) {
    CDC image;
    image.Attach(win32::CreateImageDC(120, 120));
    auto line = std::unique_ptr<CGeoPLine>(MakeLine({{10, 10}, {100, 10}, {60, 100}}));
    line->SetDangleType(DANGLE_FIRST | FALSENODE_LAST);
    m_view.m_fLineWidth = 4.0f;
    auto pixels = [&image] {
        std::vector<COLORREF> v;
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < 120; ++x) v.push_back(image.GetPixel(x, y));
        return v;
    };
    const std::vector<COLORREF> blank = pixels();
    line->OnDrawWithoutSymbolization(&image, kScale, kScale, CPoint(0, -110), CPoint(0, 0), m_view, nullptr, 1, 0, 1);
    EXPECT_NE(pixels(), blank);
    line->OnDrawWithoutSymbolization(&image, kScale, kScale, CPoint(0, -110), CPoint(0, 0), m_view, nullptr, 1, 0, 1);
    EXPECT_EQ(pixels(), blank);
}

// Keeps the polylines handed to it.
class CRecordingOutputer : public CSymbolOutputer {
public:
    LONG OutputPolyLine(const POINT* pPoints, LONG nCount, DWORD crColor, DWORD, DWORD, BYTE, const RECT*,
                        void*) override {
        lines.push_back(Pts(pPoints, pPoints + nCount));
        colours.push_back(crColor);
        return 0;
    }
    std::vector<Pts> lines;
    std::vector<DWORD> colours;
};

TEST_F(GeoPLineDraw, SymbolisedOutputInMillimetres) {
    auto line = std::unique_ptr<CGeoPLine>(MakeLine({{1, 2}, {1, 12}}));
    line->SetUnit(6);  // metres: the outputer receives (1000, 2000) to (1000, 12000)
    GEOVIEW view;
    view.m_crLineColor = kRed;
    view.SetSymbol(SYMBOL_LINE, 11);
    CCoordsConverter converter(1000, 1000, 0);
    CRecordingOutputer out;
    const WORD mask = line->GetSymbolAttribute(nullptr).GetAttribMask();
    EXPECT_EQ(line->OnSymbolizeOutput(m_lib.get(), &out, &converter, &view), 1);
    ASSERT_FALSE(out.lines.empty());
    EXPECT_EQ(CPoint(out.lines.front().front()), CPoint(1000, 2000));
    for (size_t i = 0; i < out.lines.size(); ++i) {
        EXPECT_EQ(out.colours[i], 0x000000u);  // colours kept
        for (const POINT& p : out.lines[i]) {
            EXPECT_EQ(p.x, 1000);
            EXPECT_TRUE(p.y >= 2000 && p.y <= 12000) << p.y;
        }
    }
    EXPECT_EQ(line->GetSymbolAttribute(nullptr).GetAttribMask(), mask);

    view.SetSymbol(SYMBOL_LINE, 99);
    EXPECT_EQ(line->OnSymbolizeOutput(m_lib.get(), &out, &converter, &view), 0);  // the library failed
    view.SetSymbol(SYMBOL_LINE, 0);
    EXPECT_EQ(line->OnSymbolizeOutput(m_lib.get(), &out, &converter, &view), 0);
    view.SetSymbol(SYMBOL_LINE, 11);
    EXPECT_EQ(line->OnSymbolizeOutput(nullptr, &out, &converter, &view), 0);
    EXPECT_EQ(line->OnSymbolizeOutput(m_lib.get(), nullptr, &converter, &view), 0);
    EXPECT_EQ(line->OnSymbolizeOutput(m_lib.get(), &out, nullptr, &view), 0);
    EXPECT_EQ(line->OnSymbolizeOutput(m_lib.get(), &out, &converter, nullptr), 0);
}

}  // namespace
