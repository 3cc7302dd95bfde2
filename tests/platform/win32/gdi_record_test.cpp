// Recording: a DC keeps the list of what it drew, in device coordinates with the state it drew with.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "gdi_test_util.h"

using namespace gditest;

TEST(GdiRecording, ASmallSceneGivesTheExpectedCalls) {
    HDC dc = win32::CreateRecordingDC(400, 300);
    ASSERT_NE(dc, nullptr);
    // Logical coordinates with the origin moved, as the layers draw.
    SetViewportOrgEx(dc, 100, 200, nullptr);
    HPEN red = CreatePen(PS_SOLID, 2, RGB(255, 0, 0));
    HBRUSH hatch = CreateHatchBrush(HS_CROSS, RGB(0, 0, 255));
    HGDIOBJ oldPen = SelectObject(dc, red), oldBrush = SelectObject(dc, hatch);
    Rectangle(dc, 0, -50, 40, -10);
    SetROP2(dc, R2_NOTXORPEN);
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    POINT tri[3] = {{0, 0}, {10, -20}, {20, 0}};
    Polygon(dc, tri, 3);
    SetROP2(dc, R2_COPYPEN);
    MoveToEx(dc, -5, 5, nullptr);
    LineTo(dc, 5, 5);
    LOGFONT lf{};
    lf.lfHeight = -12;
    lf.lfEscapement = 900;
    lf.lfWeight = FW_BOLD;
    std::strcpy(lf.lfFaceName, "宋体");
    HFONT font = CreateFontIndirect(&lf);
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetTextAlign(dc, TA_BOTTOM | TA_LEFT);
    SetBkMode(dc, TRANSPARENT);
    TextOut(dc, 3, 4, "图层", 4);
    BeginPath(dc);
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, 1, 1);
    EndPath(dc);
    StrokePath(dc);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldFont);
    DeleteObject(red);
    DeleteObject(hatch);
    DeleteObject(font);

    std::vector<std::string> expect = {
        "Rectangle (100,150) (140,190) pen=solid/2/0000ff brush=hatch4/ff0000 bk=2/ffffff rop2=13",
        "Polygon (100,200) (110,180) (120,200) pen=solid/2/0000ff brush=null rop2=10",
        "LineTo (95,205) (105,205) pen=solid/2/0000ff rop2=13",
        "TextOut (103,204) \"图层\" font=宋体/-12/0/900/700 align=8 text=000000 bk=1/ffffff",
        "LineTo (100,200) (101,201) inpath pen=solid/2/0000ff rop2=13",
        "StrokePath (100,200) (101,201) pen=solid/2/0000ff rop2=13",
    };
    std::vector<win32::GdiRecord> rec = win32::GetRecording(dc);
    ASSERT_EQ(rec.size(), expect.size());
    for (size_t i = 0; i < rec.size(); ++i) EXPECT_EQ(rec[i].ToString(), expect[i]) << i;
    // The structured fields say the same.
    EXPECT_EQ(rec[1].call, "Polygon");
    EXPECT_EQ(rec[1].rop2, R2_NOTXORPEN);
    EXPECT_EQ(rec[3].text, "图层");
    EXPECT_EQ(rec[3].font.lfEscapement, 900);
    EXPECT_EQ(rec[5].types, (std::vector<BYTE>{PT_MOVETO, PT_LINETO}));
    // A DC without pixels still measures text.
    SIZE sz;
    GetTextExtentPoint32(dc, "图层", 4, &sz);
    EXPECT_EQ(sz.cx, 24);
    DeleteDC(dc);
}

TEST(GdiRecording, AnyDcCanRecordWhileDrawing) {
    HDC dc = Canvas(10, 10);
    EXPECT_TRUE(win32::GetRecording(dc).empty());
    win32::StartRecording(dc);
    Ellipse(dc, 1, 1, 9, 9);
    win32::StopRecording(dc);
    Ellipse(dc, 2, 2, 8, 8);
    std::vector<win32::GdiRecord> rec = win32::GetRecording(dc);
    ASSERT_EQ(rec.size(), 1u);
    EXPECT_EQ(rec[0].ToString(), "Ellipse (1,1) (9,9) pen=solid/1/000000 brush=solid/ffffff rop2=13");
    EXPECT_NE(InkBox(dc).right, 0);  // and it drew
    win32::ClearRecording(dc);
    EXPECT_TRUE(win32::GetRecording(dc).empty());
    DeleteDC(dc);
}
