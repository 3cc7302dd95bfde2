// Drawing points, label points and nodes on a recording device context: draw bounds, the marker and the
// cross, the point symbol turned for directed point classes, the fallback when the library fails, the
// four ways of showing label points with their Z text, nodes that never show, and symbolised output.
#include "LineTestSupport.h"

#include "core/GeoGClass.h"
#include "core/GeoSettings.h"
#include "core/GeoVectorLayer.h"
#include "core/VMSymbolLibIO.h"
#include "platform/quenby/SampleSymbolLib.h"
#include "vector/GeoLabelPoint.h"
#include "vector/GeoNode.h"
#include "vector/GeoPoint.h"

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

// Scale 10 in millimetres maps a unit to a device unit; the origin puts y = 300 at the top of the device,
// so the object point (100, 100) is the device point (100, 200).
const UINT kScale = 10;
const CPoint kOrigin(0, -300);
const CPoint kDevice(100, 200);
const COLORREF kBlue = 0xFF0000;

const UINT kDirectedClass = 7;
const UINT kPlainClass = 8;

// Keeps the label-point show type of the process for the test's length.
struct ShowTypeGuard {
    LABELTYPE saved = GetLabelPointShowType();
    ~ShowTypeGuard() { SetLabelPointShowType(saved); }
};

class GeoPointDraw : public ::testing::Test {
protected:
    void SetUp() override {
        m_dc.Attach(win32::CreateRecordingDC(400, 400));
        m_view.m_crPointColor = kBlue;
        m_view.m_nPointSize = 10;
        m_view.m_nPointShape = 3;
        m_lib.reset(new CVMSymbolLibIO);
        quenbytest::AddSampleSymbols(*m_lib);
        for (UINT id : {kDirectedClass, kPlainClass}) {
            CGeoGClass gc;
            gc.SetGCID(id);
            gc.SetType(id == kDirectedClass ? (GCT_POINT | GCT_POINT_DIRECTED) : GCT_POINT);
            m_layer.m_Theme.AddGC(gc, -2);
        }
    }
    void TearDown() override { EXPECT_EQ(GetFXPointBufferDepth(), 0); }

    // A point of the test's layer (which owns it) at (100, 100).
    template <class T>
    T* Add(UINT nClass = 0) {
        T* p = new T(100, 100);
        p->SetObjectClassID(nClass);
        EXPECT_TRUE(m_layer.Add(p));
        return p;
    }
    void Plain(CGeoVectorObject& o, int nWord8 = 0, int xorMode = 0) {
        o.OnDrawWithoutSymbolization(&m_dc, kScale, kScale, kOrigin, CPoint(0, 0), m_view, nullptr, xorMode, nWord8,
                                     1);
    }
    void Symbolised(CGeoVectorObject& o, void* lib, int nWord8 = 0, int xorMode = 0) {
        o.OnDrawWithSymbolization(&m_dc, kScale, kScale, kOrigin, CPoint(0, 0), m_view, nullptr, xorMode, nWord8, lib,
                                  1);
    }
    Records All() const { return win32::GetRecording(m_dc.m_hDC); }
    Records Calls(const std::string& name) const {
        Records out;
        for (const win32::GdiRecord& r : All())
            if (r.call == name) out.push_back(r);
        return out;
    }
    void Clear() { win32::ClearRecording(m_dc.m_hDC); }

    CGeoVectorLayer m_layer{CRect(0, 0, 1000, 1000)};
    CDC m_dc;
    GEOVIEW m_view;
    std::unique_ptr<CSymbolLibIO> m_lib;
};

CRect Grown(CPoint p, int d) { return CRect(p.x - d, p.y - d, p.x + d, p.y + d); }

}  // namespace

TEST_F(GeoPointDraw, DrawBoundsReachAsFarAsTheTurnedMarker) {
    const int cross = GetCrossRadius(), handle = GetHandleRadius();
    ASSERT_GT(cross, handle);  // the defaults, which the cases below rely on
    CGeoPoint p(100, 100);
    const struct {
        double direction;
        int size;
        int withHandles;
        int grow;
    } cases[] = {
        {0, 10, 0, 10},   // the marker's corner lies on the diagonal: h / cos 45 = size
        {45, 10, 0, 7},   // turned by 45 the corner points along an axis: h = 7.07
        {90, 10, 0, 10},  {135, 10, 0, 7},  {30, 10, 0, 7},  {20, 10, 0, 8},
        {45, 2, 0, 1},
        {45, 2, 1, handle},  // the handles reach further than a small marker
        {0, 40, 1, 40},
    };
    for (const auto& c : cases) {
        p.SetDirect(c.direction);
        m_view.m_nPointSize = c.size;
        EXPECT_EQ(p.GetDrawBounds(kScale, kOrigin, CPoint(0, 0), c.withHandles, &m_view), Grown(kDevice, c.grow))
            << c.direction << " " << c.size;
    }
    // Without a style, and for label points and nodes whatever the style, the cross radius counts.
    EXPECT_EQ(p.GetDrawBounds(kScale, kOrigin, CPoint(0, 0), 0, nullptr), Grown(kDevice, cross));
    m_view.m_nPointSize = 100;
    CGeoLabelPoint lp(100, 100);
    CGeoNode n(100, 100);
    EXPECT_EQ(lp.GetDrawBounds(kScale, kOrigin, CPoint(0, 0), 0, &m_view), Grown(kDevice, cross));
    EXPECT_EQ(n.GetDrawBounds(kScale, kOrigin, CPoint(0, 0), 1, &m_view), Grown(kDevice, cross));
}

TEST_F(GeoPointDraw, PlainPointIsACrossWithWord8ElseTheStylesMarker) {
    CGeoPoint& p = *Add<CGeoPoint>();
    CPen pen(PS_DASH, 1, 0x123456);
    HGDIOBJ oldPen = ::SelectObject(m_dc.m_hDC, pen);

    Plain(p, 1);
    Records lines = Calls("LineTo");
    const int r = GetCrossRadius();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(SamePoints(lines[0].points, {{100 - r, 200}, {100 + r, 200}}));
    EXPECT_TRUE(SamePoints(lines[1].points, {{100, 200 - r}, {100, 200 + r}}));
    for (const auto& l : lines) {
        EXPECT_EQ(l.pen.lopnColor, kBlue);
        EXPECT_EQ(l.pen.lopnStyle & PS_STYLE_MASK, static_cast<UINT>(PS_SOLID));
        EXPECT_EQ(l.pen.lopnWidth.x, 1);
    }
    EXPECT_EQ(::GetCurrentObject(m_dc.m_hDC, OBJ_PEN), static_cast<HGDIOBJ>(pen));

    // Marker 3 of Caddox is a hollow square, here of size 10 turned by the direction.
    Clear();
    p.SetDirect(90);
    Plain(p, 0, 1);
    Records squares = Calls("Polygon");
    ASSERT_EQ(squares.size(), 1u);
    EXPECT_EQ(squares[0].pen.lopnColor, kBlue);
    EXPECT_EQ(squares[0].brush.lbStyle, static_cast<UINT>(BS_NULL));
    EXPECT_EQ(squares[0].rop2, R2_NOTXORPEN);
    for (const POINT& q : squares[0].points) {
        EXPECT_EQ(std::abs(q.x - 100), 5);
        EXPECT_EQ(std::abs(q.y - 200), 5);
    }
    EXPECT_EQ(m_dc.GetROP2(), R2_COPYPEN);
    EXPECT_EQ(::GetCurrentObject(m_dc.m_hDC, OBJ_PEN), static_cast<HGDIOBJ>(pen));
    ::SelectObject(m_dc.m_hDC, oldPen);
}

namespace {

// The arrow of sample symbol 3 as drawn: from its base to its tip, in device coordinates.
CPoint ArrowDirection(const Records& polylines) {
    for (const win32::GdiRecord& r : polylines)
        if (r.points.size() == 5) return CPoint(r.points[1].x - r.points[0].x, r.points[1].y - r.points[0].y);
    ADD_FAILURE() << "no arrow drawn";
    return CPoint(0, 0);
}

}  // namespace

TEST_F(GeoPointDraw, SymbolTurnsWithTheDirectionOnlyForDirectedPointClasses) {
    m_view.SetSymbol(SYMBOL_POINT, 3);  // an arrow pointing east
    const struct {
        UINT nClass;
        double direction;
        bool turnedUp;
    } cases[] = {
        {kDirectedClass, 90, true},   // counter-clockwise by 90: the arrow points up the device
        {kDirectedClass, 0, false},   // 0 is drawn as a whole turn
        {kPlainClass, 90, false},     // a plain point class draws every symbol unturned
        {0, 90, false},               // so does a point without a feature class
    };
    for (const auto& c : cases) {
        CGeoPoint& p = *Add<CGeoPoint>(c.nClass);
        p.SetDirect(c.direction);
        Clear();
        Symbolised(p, m_lib.get());
        const CPoint d = ArrowDirection(Calls("Polyline"));
        if (c.turnedUp) {
            EXPECT_EQ(d.x, 0) << c.nClass;
            EXPECT_LT(d.y, 0) << c.nClass;
        } else {
            EXPECT_GT(d.x, 0) << c.nClass << " " << c.direction;
            EXPECT_EQ(d.y, 0) << c.nClass << " " << c.direction;
        }
        EXPECT_TRUE(Calls("Polygon").empty());  // no marker: the symbol drew
    }
}

TEST_F(GeoPointDraw, SymbolisedDrawingFallsBackToTheMarker) {
    CGeoPoint& p = *Add<CGeoPoint>();
    const WORD mask = p.GetSymbolAttribute(nullptr).GetAttribMask();
    const struct {
        int symbol;
        bool withLibrary;
    } cases[] = {{0, true}, {1, false}, {99, true} /* not in the library */, {11, true} /* a line symbol */};
    for (const auto& c : cases) {
        m_view.SetSymbol(SYMBOL_POINT, c.symbol);
        Clear();
        Symbolised(p, c.withLibrary ? m_lib.get() : nullptr, 0, 0);
        EXPECT_EQ(Calls("Polygon").size(), 1u) << c.symbol;  // the hollow square marker
        EXPECT_TRUE(Calls("Ellipse").empty()) << c.symbol;
        EXPECT_EQ(p.GetSymbolAttribute(nullptr).GetAttribMask(), mask) << c.symbol;
    }
    // With the red dot symbol the library draws and no marker is needed.
    m_view.SetSymbol(SYMBOL_POINT, 1);
    Clear();
    Symbolised(p, m_lib.get());
    EXPECT_EQ(Calls("Ellipse").size(), 1u);
    EXPECT_TRUE(Calls("Polygon").empty());
    EXPECT_EQ(p.GetSymbolAttribute(nullptr).GetAttribMask(), mask);
}

TEST_F(GeoPointDraw, LabelPointsShowAsTheSettingSays) {
    ShowTypeGuard guard;
    CGeoLabelPoint& lp = *Add<CGeoLabelPoint>();
    lp.SetZ(12.5);
    const int r = GetCrossRadius();
    CBrush brush(0x00FF00);
    HGDIOBJ oldBrush = ::SelectObject(m_dc.m_hDC, brush);
    m_dc.SetBkMode(OPAQUE);
    m_dc.SetTextColor(0x010101);

    const struct {
        LABELTYPE type;
        int lines, ellipses;
    } cases[] = {{LABEL_HIDE, 0, 0}, {LABEL_DOT, 0, 1}, {LABEL_CROSS, 2, 0}, {LABEL_SYMBOL, 0, 0}};
    for (const auto& c : cases) {
        SetLabelPointShowType(c.type);
        for (int word8 : {0, 1}) {
            Clear();
            Plain(lp, word8, 1);
            const Records all = All();
            EXPECT_EQ(Calls("LineTo").size(), static_cast<size_t>(c.lines)) << c.type;
            EXPECT_EQ(Calls("Ellipse").size(), static_cast<size_t>(c.ellipses)) << c.type;
            const Records texts = Calls("TextOut");
            // The Z text with word 8, except when label points are not drawn at all.
            ASSERT_EQ(texts.size(), word8 && c.type != LABEL_HIDE ? 1u : 0u) << c.type << " " << word8;
            EXPECT_EQ(all.size(), static_cast<size_t>(c.lines + c.ellipses) + texts.size());
            for (const auto& rec : all) {
                if (rec.call == "TextOut") continue;
                EXPECT_EQ(rec.rop2, R2_XORPEN);
                EXPECT_EQ(rec.pen.lopnColor, kBlue);
                EXPECT_EQ(rec.pen.lopnWidth.x, 1);
            }
            if (c.type == LABEL_DOT) {
                EXPECT_TRUE(SamePoints(Calls("Ellipse")[0].points, {{99, 199}, {102, 202}}));
                EXPECT_EQ(Calls("Ellipse")[0].brush.lbColor, 0x00FF00u);  // the brush the DC had
            }
            if (c.type == LABEL_CROSS) {
                EXPECT_TRUE(SamePoints(Calls("LineTo")[0].points, {{100 - r, 200}, {100 + r, 200}}));
                EXPECT_TRUE(SamePoints(Calls("LineTo")[1].points, {{100, 200 - r}, {100, 200 + r}}));
            }
            if (!texts.empty()) {
                EXPECT_EQ(texts[0].text, "12.500");
                EXPECT_TRUE(SamePoints(texts[0].points, {{100 + r, 200 - r}}));
                EXPECT_EQ(texts[0].textColor, kBlue);
                EXPECT_EQ(texts[0].bkMode, TRANSPARENT);
            }
            // The DC is the caller's again.
            EXPECT_EQ(m_dc.GetROP2(), R2_COPYPEN);
            EXPECT_EQ(m_dc.GetBkMode(), OPAQUE);
            EXPECT_EQ(m_dc.GetTextColor(), 0x010101u);
            EXPECT_EQ(::GetCurrentObject(m_dc.m_hDC, OBJ_BRUSH), static_cast<HGDIOBJ>(brush));
        }
    }
    ::SelectObject(m_dc.m_hDC, oldBrush);
}

TEST_F(GeoPointDraw, LabelPointsDrawTheirSymbolOnlyWhenShownAsSymbols) {
    ShowTypeGuard guard;
    CGeoLabelPoint& lp = *Add<CGeoLabelPoint>(kDirectedClass);
    lp.SetDirect(90);
    lp.SetZ(-1.25);
    m_view.SetSymbol(SYMBOL_POINT, 3);

    SetLabelPointShowType(LABEL_SYMBOL);
    Symbolised(lp, m_lib.get(), 1);
    const CPoint d = ArrowDirection(Calls("Polyline"));  // never turned, even in a directed class
    EXPECT_GT(d.x, 0);
    EXPECT_EQ(d.y, 0);
    ASSERT_EQ(Calls("TextOut").size(), 1u);
    EXPECT_EQ(Calls("TextOut")[0].text, "-1.250");

    // Without a library, or with a symbol the library cannot draw, only the Z text is left: the plain
    // painter has no figure for this setting. The text is drawn once.
    for (void* lib : {static_cast<void*>(nullptr), static_cast<void*>(m_lib.get())}) {
        m_view.SetSymbol(SYMBOL_POINT, lib ? 99 : 3);
        Clear();
        Symbolised(lp, lib, 1);
        ASSERT_EQ(All().size(), 1u);
        EXPECT_EQ(All()[0].call, "TextOut");
    }

    // Shown as crosses, the symbol is not used.
    SetLabelPointShowType(LABEL_CROSS);
    m_view.SetSymbol(SYMBOL_POINT, 3);
    Clear();
    Symbolised(lp, m_lib.get(), 0);
    EXPECT_TRUE(Calls("Polyline").empty());
    EXPECT_EQ(Calls("LineTo").size(), 2u);
}

TEST_F(GeoPointDraw, NodesAreNeverDrawn) {
    CGeoNode& n = *Add<CGeoNode>();
    m_view.SetSymbol(SYMBOL_POINT, 1);
    Plain(n, 1);
    Symbolised(n, m_lib.get(), 1);
    tagDisplayState ds{};
    ds.m_nDisplayAttr = DISPLAYATTR_SELF;
    ds.m_nShowMode = VISIBLE_ALL;
    n.Draw(&m_dc, nullptr, kScale, kScale, kOrigin, CPoint(0, 0), ds, 0);
    n.Hide(&m_dc, nullptr, kScale, kScale, kOrigin, CPoint(0, 0), ds);
    n.Blink(&m_dc, nullptr, kScale, kScale, kOrigin, CPoint(0, 0), ds);
    EXPECT_TRUE(All().empty());
}

TEST_F(GeoPointDraw, PointsDrawThroughTheirLayer) {
    ShowTypeGuard guard;
    SetLabelPointShowType(LABEL_CROSS);
    CGeoPoint& p = *Add<CGeoPoint>();
    CGeoLabelPoint& lp = *Add<CGeoLabelPoint>();
    lp += CPoint(50, 0);
    p.SetGeoView(m_view);
    lp.SetGeoView(m_view);
    tagDisplayState ds{};
    ds.m_nDisplayAttr = DISPLAYATTR_SELF;
    ds.m_nShowMode = VISIBLE_ALL;
    ds.m_bScaleWidth = 1;
    CRect clip(0, 0, 400, 400);
    m_layer.Draw(&m_dc, &clip, kScale, kScale, kOrigin, ds, 0, nullptr);
    EXPECT_EQ(Calls("Polygon").size(), 1u);  // the point's marker
    EXPECT_EQ(Calls("LineTo").size(), 2u);   // the label point's cross
}

namespace {

class CEllipseOutputer : public CSymbolOutputer {
public:
    LONG OutputEllipse(const RECT* pBox, DWORD, DWORD, DWORD, DWORD, BYTE, const RECT*, void*) override {
        boxes.push_back(*pBox);
        return 0;
    }
    std::vector<RECT> boxes;
};

}  // namespace

TEST_F(GeoPointDraw, SymbolisedOutputIsInMillimetres) {
    CGeoPoint p(1, 2);
    p.SetUnit(6);  // metres: the symbol is centred on (1000, 2000) mm
    GEOVIEW view;
    view.SetSymbol(SYMBOL_POINT, 1);
    CCoordsConverter converter(1000, 1000, 0);
    CEllipseOutputer out;
    const WORD mask = p.GetSymbolAttribute(nullptr).GetAttribMask();
    EXPECT_EQ(p.OnSymbolizeOutput(m_lib.get(), &out, &converter, &view), 1);
    ASSERT_EQ(out.boxes.size(), 1u);
    CRect box(out.boxes[0]);
    box.NormalizeRect();
    EXPECT_EQ(box.CenterPoint(), CPoint(1000, 2000));
    EXPECT_EQ(p.GetSymbolAttribute(nullptr).GetAttribMask(), mask);

    view.SetSymbol(SYMBOL_POINT, 0);
    EXPECT_EQ(p.OnSymbolizeOutput(m_lib.get(), &out, &converter, &view), 0);
    view.SetSymbol(SYMBOL_POINT, 99);
    EXPECT_EQ(p.OnSymbolizeOutput(m_lib.get(), &out, &converter, &view), 0);
    EXPECT_EQ(p.OnSymbolizeOutput(nullptr, &out, &converter, &view), 0);
    EXPECT_EQ(out.boxes.size(), 1u);
}

// A picture for a person to look at: the eight markers unturned and turned by 30 degrees, the sample
// point symbols, and label points as dots and crosses with their Z text.
TEST_F(GeoPointDraw, GalleryPicture) {
    ShowTypeGuard guard;
    CDC image;
    image.Attach(win32::CreateImageDC(400, 200));
    GEOVIEW view = m_view;
    view.m_nPointSize = 14;
    for (int marker = 0; marker < 8; ++marker) {
        view.m_nPointShape = marker;
        for (int row = 0; row < 2; ++row) {
            CGeoPoint p(30 + 45 * marker, 270 - 40 * row);
            p.SetDirect(30.0 * row);
            p.OnDrawWithoutSymbolization(&image, kScale, kScale, kOrigin, CPoint(0, 0), view, nullptr, 0, 0, 1);
        }
    }
    for (int symbol = 1; symbol <= 3; ++symbol) {
        view.SetSymbol(SYMBOL_POINT, symbol);
        CGeoPoint p(30 + 60 * (symbol - 1), 160);
        p.OnDrawWithSymbolization(&image, kScale, kScale, kOrigin, CPoint(0, 0), view, nullptr, 0, 0, m_lib.get(), 1);
    }
    for (LABELTYPE type : {LABEL_DOT, LABEL_CROSS}) {
        SetLabelPointShowType(type);
        CGeoLabelPoint lp(250 + 70 * (type - 1), 160);
        lp.SetZ(12.5 * type);
        lp.OnDrawWithoutSymbolization(&image, kScale, kScale, kOrigin, CPoint(0, 0), view, nullptr, 0, 1, 1);
    }
    EXPECT_NE(::GetPixel(image.m_hDC, 30, 30), 0xFFFFFFu);  // the filled circle of the first marker
    EXPECT_TRUE(win32::WriteDCToPNG(image.m_hDC, (std::string(CORVANE_TEST_OUTPUT_DIR) + "/points.png").c_str()));
}
