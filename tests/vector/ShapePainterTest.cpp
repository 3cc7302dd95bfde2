// The painting rules the shapes share: device line widths, the symbol choice, and a painter that puts
// the device context back as it found it.
#include "vector/ShapePainter.h"

#include <win32/gdirecord.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(ShapePainter, DevicePenWidth) {
    struct Case {
        float width;
        UINT scale, scale2;
        int scaleWidths;
        int expected;
    };
    const Case cases[] = {
        {3.0f, 10, 10, 1, 3},     {2.5f, 10, 10, 1, 2},  // truncated
        {0.3f, 10, 100, 1, 3},    {3.0f, 10, 10, 0, 0},  // widths not scaled
        {3.0f, 0, 10, 1, 30},     // a scale of 0 counts as 1
        {-1.0f, 10, 10, 1, 0},    {std::numeric_limits<float>::quiet_NaN(), 10, 10, 1, 0},
        {1e9f, 1, 0xFFFFFFFFu, 1, std::numeric_limits<int>::max()},
    };
    for (const Case& c : cases) {
        GEOVIEW view;
        view.m_fLineWidth = c.width;
        EXPECT_EQ(GetDevicePenWidth(view, c.scale, c.scale2, c.scaleWidths), c.expected) << c.width << " " << c.scale;
    }
}

TEST(ShapePainter, SymbolChoiceAndMode) {
    GEOVIEW view;
    view.SetSymbol(SYMBOL_LINE, 11);
    view.SetSymbol(SYMBOL_FILL, 21);
    int library = 0;  // any non-NULL pointer stands for a library here
    EXPECT_EQ(ChooseSymbol(&library, view, SYMBOL_LINE), 11);
    EXPECT_EQ(ChooseSymbol(&library, view, SYMBOL_FILL), 21);
    EXPECT_EQ(ChooseSymbol(&library, view, SYMBOL_POINT), 0);
    EXPECT_EQ(ChooseSymbol(nullptr, view, SYMBOL_LINE), 0);
    EXPECT_EQ(GetSymbolDrawMode(0), 13);
    EXPECT_EQ(GetSymbolDrawMode(1), -300);
}

TEST(ShapePainter, EverythingItChangedIsPutBack) {
    CDC dc;
    dc.Attach(win32::CreateRecordingDC(100, 100));
    const HGDIOBJ pen0 = ::GetCurrentObject(dc.m_hDC, OBJ_PEN), brush0 = ::GetCurrentObject(dc.m_hDC, OBJ_BRUSH);
    dc.SetBkMode(OPAQUE);
    GEOVIEW view;
    view.m_crLineColor = 0x00FF00;
    view.m_crFillColor = 0x0000FF;
    view.m_nLineShape = PS_USERSTYLE;  // no geometric pen takes it without dash lengths
    {
        CShapePainter painter(&dc);
        EXPECT_TRUE(painter.SelectLinePen(view, 4, TRUE));
        EXPECT_TRUE(painter.SelectFillBrush(HS_CROSS, view.m_crFillColor));
        painter.SetXorMode(1);
        painter.SetROP2(R2_MASKPEN);
        painter.SetBkMode(TRANSPARENT);
        dc.Rectangle(10, 10, 50, 50);
        painter.SelectStockObject(NULL_PEN);  // a second pen: the first one selected is still what goes back
        painter.SelectStockObject(NULL_BRUSH);
        painter.SetROP2(R2_COPYPEN);
        dc.Rectangle(20, 20, 60, 60);
    }
    std::vector<win32::GdiRecord> r = win32::GetRecording(dc.m_hDC);
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].pen.lopnStyle, static_cast<UINT>(PS_SOLID));  // the solid pen in place of the bad shape
    EXPECT_EQ(r[0].pen.lopnWidth.x, 4);
    EXPECT_EQ(r[0].pen.lopnColor, 0x00FF00u);
    EXPECT_EQ(r[0].brush.lbStyle, static_cast<UINT>(BS_HATCHED));
    EXPECT_EQ(r[0].rop2, R2_MASKPEN);
    EXPECT_EQ(r[0].bkMode, TRANSPARENT);
    EXPECT_EQ(r[1].pen.lopnStyle, static_cast<UINT>(PS_NULL));
    EXPECT_EQ(r[1].rop2, R2_COPYPEN);
    EXPECT_EQ(dc.GetROP2(), R2_COPYPEN);
    EXPECT_EQ(dc.GetBkMode(), OPAQUE);
    EXPECT_EQ(::GetCurrentObject(dc.m_hDC, OBJ_PEN), pen0);
    EXPECT_EQ(::GetCurrentObject(dc.m_hDC, OBJ_BRUSH), brush0);

    // A geometric pen of a valid shape, and nothing at all without a DC.
    view.m_nLineShape = PS_DOT | PS_ENDCAP_SQUARE | PS_JOIN_BEVEL;
    win32::ClearRecording(dc.m_hDC);
    {
        CShapePainter painter(&dc);
        painter.SelectLinePen(view, 5, TRUE);
        dc.MoveTo(0, 0);
        dc.LineTo(50, 50);
    }
    r = win32::GetRecording(dc.m_hDC);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].pen.lopnStyle, static_cast<UINT>(PS_GEOMETRIC | PS_DOT | PS_ENDCAP_SQUARE | PS_JOIN_BEVEL));
    CShapePainter none(nullptr);
    EXPECT_FALSE(none.SelectLinePen(view, 5, TRUE));
    EXPECT_FALSE(none.SelectStockObject(NULL_BRUSH));
    none.SetXorMode(1);
}

}  // namespace
