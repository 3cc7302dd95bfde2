// Paths built from primitives: their points, closing, flattening, filling and regions.
#include <gtest/gtest.h>

#include <vector>

#include "gdi_test_util.h"

using namespace gditest;

namespace {

struct PathData {
    std::vector<POINT> pts;
    std::vector<BYTE> types;
};

PathData ReadPath(HDC dc) {
    PathData p;
    int n = GetPath(dc, nullptr, nullptr, 0);
    if (n <= 0) return p;
    p.pts.resize((size_t)n);
    p.types.resize((size_t)n);
    GetPath(dc, p.pts.data(), p.types.data(), n);
    return p;
}

}  // namespace

TEST(GdiPath, FiguresFromLinesAndClosedShapes) {
    HDC dc = Canvas(20, 20);
    EXPECT_EQ(GetPath(dc, nullptr, nullptr, 0), -1);  // no path yet
    EXPECT_FALSE(CloseFigure(dc));
    ASSERT_TRUE(BeginPath(dc));
    EXPECT_TRUE(CloseFigure(dc));  // an empty path: nothing happens
    MoveToEx(dc, 1, 1, nullptr);
    LineTo(dc, 5, 1);
    LineTo(dc, 5, 5);  // continues the figure
    CloseFigure(dc);
    Rectangle(dc, 10, 10, 14, 13);  // right and bottom excluded
    EXPECT_EQ(GetPath(dc, nullptr, nullptr, 0), -1);  // still open
    EndPath(dc);
    EXPECT_EQ(InkBox(dc).right, 0);  // nothing drawn while building
    PathData p = ReadPath(dc);
    std::vector<BYTE> types = {PT_MOVETO, PT_LINETO, PT_LINETO | PT_CLOSEFIGURE,
                               PT_MOVETO, PT_LINETO, PT_LINETO, PT_LINETO | PT_CLOSEFIGURE};
    ASSERT_EQ(p.types, types);
    EXPECT_EQ(p.pts[2].x, 5);
    EXPECT_EQ(p.pts[2].y, 5);
    RECT box{100, 100, -100, -100};
    for (size_t i = 3; i < p.pts.size(); ++i) {
        box.left = std::min(box.left, p.pts[i].x);
        box.top = std::min(box.top, p.pts[i].y);
        box.right = std::max(box.right, p.pts[i].x);
        box.bottom = std::max(box.bottom, p.pts[i].y);
    }
    EXPECT_EQ(box.left, 10);
    EXPECT_EQ(box.top, 10);
    EXPECT_EQ(box.right, 13);
    EXPECT_EQ(box.bottom, 12);
    // Ellipses are Béziers until flattened.
    BeginPath(dc);
    Ellipse(dc, 0, 0, 20, 20);
    EndPath(dc);
    p = ReadPath(dc);
    EXPECT_EQ(p.types.size(), 13u);
    EXPECT_EQ(p.types[1], PT_BEZIERTO);
    FlattenPath(dc);
    p = ReadPath(dc);
    EXPECT_GT(p.types.size(), 13u);
    for (BYTE t : p.types) EXPECT_TRUE((t & ~PT_CLOSEFIGURE) == PT_MOVETO || (t & ~PT_CLOSEFIGURE) == PT_LINETO);
    EXPECT_TRUE(p.types.back() & PT_CLOSEFIGURE);
    AbortPath(dc);
    EXPECT_EQ(GetPath(dc, nullptr, nullptr, 0), -1);
    DeleteDC(dc);
}

TEST(GdiPath, FillStrokeAndRegion) {
    HDC dc = Canvas(12, 8);
    POINT star[4] = {{1, 1}, {9, 1}, {9, 6}, {1, 6}};
    BeginPath(dc);
    Polygon(dc, star, 4);
    EndPath(dc);
    HRGN fromPath = PathToRegion(dc);
    ASSERT_NE(fromPath, nullptr);
    HRGN rect = CreateRectRgn(1, 1, 9, 6);  // pixel centres inside, right and bottom edges out
    EXPECT_TRUE(EqualRgn(fromPath, rect));
    EXPECT_EQ(GetPath(dc, nullptr, nullptr, 0), -1);  // PathToRegion used the path up
    DeleteObject(fromPath);
    DeleteObject(rect);
    BeginPath(dc);
    Polygon(dc, star, 4);
    EndPath(dc);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    HGDIOBJ old = SelectObject(dc, red);
    ASSERT_TRUE(StrokeAndFillPath(dc));
    SelectObject(dc, old);
    DeleteObject(red);
    EXPECT_EQ(Art(dc, {{RGB(255, 0, 0), 'r'}}),
              "............\n"
              ".#########..\n"
              ".#rrrrrrr#..\n"
              ".#rrrrrrr#..\n"
              ".#rrrrrrr#..\n"
              ".#rrrrrrr#..\n"
              ".#########..\n"
              "............\n");
    EXPECT_FALSE(StrokePath(dc));  // the path is gone
    DeleteDC(dc);
}

TEST(GdiPath, PolyDrawAddsFiguresAndDraws) {
    HDC dc = Canvas(10, 6);
    POINT pts[5] = {{1, 1}, {8, 1}, {8, 4}, {1, 4}, {1, 1}};
    BYTE types[5] = {PT_MOVETO, PT_LINETO, PT_LINETO, PT_LINETO | PT_CLOSEFIGURE, PT_MOVETO};
    BeginPath(dc);
    ASSERT_TRUE(PolyDraw(dc, pts, types, 4));
    EndPath(dc);
    EXPECT_EQ(GetPath(dc, nullptr, nullptr, 0), 4);
    StrokePath(dc);
    EXPECT_EQ(Art(dc),
              "..........\n"
              ".########.\n"
              ".#......#.\n"
              ".#......#.\n"
              ".########.\n"
              "..........\n");
    BYTE bad[2] = {PT_MOVETO, PT_BEZIERTO};
    EXPECT_FALSE(PolyDraw(dc, pts, bad, 2));
    DeleteDC(dc);
}
