// The demo's symbol library, built in code: a few symbols of each kind in the
// library's own format. Nothing here comes from any other library.
//
//   100 units per millimetre, description "示例符号库"
//   1  point  "圆点"   a red filled circle of radius 1 mm with a black outline
//   2  point  "旗帜"   a pole (polyline), a blue flag (polygon) and the text "A"
//   3  point  "方位"   a black arc with a pie-shaped green sector and an arrow, for turning tests
//   11 line   "虚线"   one black stroke 0.2 mm wide, dashed 3 mm on, 1.5 mm off
//   12 line   "双线"   two blue strokes 0.15 mm wide, 0.6 mm either side, and a red dashed centre line
//   21 fill   "斜线"   a green hatch (HS_BDIAGONAL) with a solid dark border 0.2 mm wide
//   22 fill   "实心"   a solid yellow fill with a dashed brown border, 0.3 mm wide, set 0.3 mm inside
//   31 custom "标牌"   a frame (-500, -300) to (500, 300): an orange ellipse, a chord and the text "标"
#pragma once

#include <afx/afx.h>
#include <quenby/SymbolLibIO.h>

#include <memory>

namespace demo {

inline QuenbyPrimitive Prim(BYTE type, COLORREF line, LONG width, DWORD style = 0) {
    QuenbyPrimitive p;
    p.nType = type;
    p.crLine = line;
    p.nWidth = width;
    p.dwLineStyle = style;
    return p;
}

inline QuenbyStroke Stroke(COLORREF cr, LONG width, LONG offset, std::vector<LONG> dashes = {}) {
    QuenbyStroke s;
    s.crColor = cr;
    s.nWidth = width;
    s.nOffset = offset;
    s.dashes = std::move(dashes);
    return s;
}

template <class T>
T* Named(T* symbol, LONG number, const char* name) {
    symbol->SetSymbolNumber(number);
    symbol->SetSymbolName(name);
    return symbol;
}

// Fills lib (any CSymbolLibIO, typically empty) with the sample symbols.
inline void AddSampleSymbols(CSymbolLibIO& lib) {
    lib.SetUnitsPerMM(100);
    lib.SetFileDescribe("示例符号库");

    auto* dot = Named(new CGeoPointSymbol, 1, "圆点");
    QuenbyPrimitive circle = Prim(QUENBY_PRIM_ELLIPSE, 0x000000, 10);
    circle.crFill = 0x0000FF;
    circle.byFillStyle = QUENBY_FILL_SOLID;
    circle.rcBox = RECT{-100, 100, 100, -100};
    dot->m_primitives.push_back(circle);
    lib.AddSymbol(dot);

    auto* flag = Named(new CGeoPointSymbol, 2, "旗帜");
    QuenbyPrimitive pole = Prim(QUENBY_PRIM_POLYLINE, 0x000000, 20);
    pole.points = {POINT{0, 0}, POINT{0, 400}};
    QuenbyPrimitive cloth = Prim(QUENBY_PRIM_POLYGON, 0x800000, 5);
    cloth.crFill = 0xFF0000;
    cloth.byFillStyle = QUENBY_FILL_SOLID;
    cloth.points = {POINT{0, 400}, POINT{250, 320}, POINT{0, 240}};
    QuenbyPrimitive letter = Prim(QUENBY_PRIM_TEXT, 0x000000, 0);
    letter.ptText = POINT{40, 220};
    letter.nTextHeight = 120;
    letter.strFace = "宋体";
    letter.strText = "A";
    flag->m_primitives = {pole, cloth, letter};
    lib.AddSymbol(flag);

    auto* bearing = Named(new CGeoPointSymbol, 3, "方位");
    QuenbyPrimitive sector = Prim(QUENBY_PRIM_ARC, 0x000000, 0);
    sector.crFill = 0x00A000;
    sector.byFillStyle = QUENBY_FILL_SOLID;
    sector.byPie = 1;
    sector.rcBox = RECT{-200, 200, 200, -200};
    sector.ptStart = POINT{200, 0};
    sector.ptEnd = POINT{0, 200};
    QuenbyPrimitive rim = Prim(QUENBY_PRIM_ARC, 0x000000, 10);
    rim.rcBox = RECT{-200, 200, 200, -200};
    rim.ptStart = POINT{0, 200};
    rim.ptEnd = POINT{200, 0};
    QuenbyPrimitive arrow = Prim(QUENBY_PRIM_POLYLINE, 0x000000, 15);
    arrow.points = {POINT{0, 0}, POINT{350, 0}, POINT{290, 40}, POINT{290, -40}, POINT{350, 0}};
    bearing->m_primitives = {sector, rim, arrow};
    lib.AddSymbol(bearing);

    auto* dashed = Named(new CGeoGroupLineSymbol, 11, "虚线");
    dashed->m_strokes = {Stroke(0x000000, 20, 0, {300, 150})};
    lib.AddSymbol(dashed);

    auto* twin = Named(new CGeoGroupLineSymbol, 12, "双线");
    twin->m_strokes = {Stroke(0xFF0000, 15, 60), Stroke(0xFF0000, 15, -60), Stroke(0x0000FF, 10, 0, {200, 100})};
    lib.AddSymbol(twin);

    auto* hatch = Named(new CGeoFillSymbol, 21, "斜线");
    hatch->m_crFill = 0x008000;
    hatch->m_byFillStyle = QUENBY_FILL_HATCH_FIRST + 3;  // HS_BDIAGONAL
    hatch->m_border = {Stroke(0x004000, 20, 0)};
    lib.AddSymbol(hatch);

    auto* solid = Named(new CGeoFillSymbol, 22, "实心");
    solid->m_crFill = 0x00FFFF;
    solid->m_byFillStyle = QUENBY_FILL_SOLID;
    solid->m_border = {Stroke(0x2A2AA5, 30, 30, {250, 120})};
    lib.AddSymbol(solid);

    auto* sign = Named(new CGeoCustomSymbol, 31, "标牌");
    sign->m_rcFrame = RECT{-500, 300, 500, -300};
    QuenbyPrimitive board = Prim(QUENBY_PRIM_ELLIPSE, 0x000000, 10);
    board.crFill = 0x00A5FF;
    board.byFillStyle = QUENBY_FILL_SOLID;
    board.rcBox = RECT{-500, 300, 500, -300};
    QuenbyPrimitive band = Prim(QUENBY_PRIM_CHORD, 0x000000, 5);
    band.crFill = 0xFFFFFF;
    band.byFillStyle = QUENBY_FILL_SOLID;
    band.rcBox = RECT{-500, 300, 500, -300};
    band.ptStart = POINT{500, -100};
    band.ptEnd = POINT{-500, -100};
    QuenbyPrimitive mark = Prim(QUENBY_PRIM_TEXT, 0x000000, 0);
    mark.ptText = POINT{-100, 250};
    mark.nTextHeight = 200;
    mark.strFace = "宋体";
    mark.strText = "标";
    sign->m_primitives = {board, band, mark};
    lib.AddSymbol(sign);
}

// Writes the sample library to path (GBK); FALSE when the file cannot be written.
inline BOOL WriteSampleLibrary(LPCTSTR path) {
    CSymbolLibIO lib;
    AddSampleSymbols(lib);
    CFile file;
    if (!file.Open(path, CFile::modeCreate | CFile::modeWrite)) return FALSE;
    try {
        CArchive ar(&file, CArchive::store);
        lib.Serialize(ar);
        ar.Close();
        file.Close();
    } catch (CException&) {
        return FALSE;
    }
    return TRUE;
}

}  // namespace demo
