// The scheme designer's template 2021 and tree bitmap 180, registered when the library is loaded.
// Rectangles are in dialog units.
#include "ui/resources/SchemeDesignTemplates.h"

#include <afx/DialogTemplate.h>
#include <afx/GdiObject.h>
#include <afx/ListCtrl.h>
#include <afx/TreeCtrl.h>
#include <win32/windraw.h>

namespace {

const DWORD kLabel = SS_LEFT;
const DWORD kEdit = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
const DWORD kButton = BS_PUSHBUTTON | WS_TABSTOP;
const DWORD kCheck = BS_AUTOCHECKBOX | WS_TABSTOP;
const DWORD kGroup = BS_GROUPBOX;
const DWORD kPreview = WS_BORDER | SS_OWNERDRAW;  // the previews paint themselves

AfxDlgTemplate SchemaDesign() {
    AfxDlgTemplate t;
    t.id = IDD_SCHEMA_DESIGN;
    t.caption = "方案设计";
    t.cx = 461;
    t.cy = 381;
    t.items = {
        {IDC_SD_TREE, "SysTreeView32", "",
         TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_EDITLABELS | TVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP,
         7, 7, 135, 367},
        // The right-hand part starts close to the tree so that the field list holds its seven columns
        // side by side. Styles: four groups across the top, each with its ">>" and its previews.
        {IDC_STATIC, "Button", "点状", kGroup, 149, 4, 70, 64},
        {IDC_SD_POINT_STYLE, "Button", ">>", kButton, 199, 13, 16, 11},
        {IDC_SD_POINT_VIEW, "Static", "", kPreview, 154, 27, 29, 37},
        {IDC_SD_POINT_SYMBOL, "Static", "", kPreview, 186, 27, 29, 37},
        {IDC_STATIC, "Button", "线状", kGroup, 222, 4, 70, 64},
        {IDC_SD_LINE_STYLE, "Button", ">>", kButton, 272, 13, 16, 11},
        {IDC_SD_LINE_VIEW, "Static", "", kPreview, 227, 27, 29, 37},
        {IDC_SD_LINE_SYMBOL, "Static", "", kPreview, 259, 27, 29, 37},
        {IDC_STATIC, "Button", "面状", kGroup, 295, 4, 70, 64},
        {IDC_SD_FILL_STYLE, "Button", ">>", kButton, 345, 13, 16, 11},
        {IDC_SD_FILL_VIEW, "Static", "", kPreview, 300, 27, 29, 37},
        {IDC_SD_FILL_SYMBOL, "Static", "", kPreview, 332, 27, 29, 37},
        {IDC_STATIC, "Button", "注记", kGroup, 368, 4, 86, 64},
        {IDC_SD_ANNO_STYLE, "Button", ">>", kButton, 434, 13, 16, 11},
        {IDC_SD_ANNO_VIEW, "Static", "", kPreview, 373, 27, 76, 37},
        // Feature-class options.
        {IDC_SD_LIMIT_SCALE, "Button", "限制地物在比例尺区间内", kCheck, 149, 74, 120, 10},
        {IDC_STATIC, "Static", "从1:", kLabel, 149, 89, 18, 10},
        {IDC_SD_MIN_SCALE, "Edit", "", kEdit, 167, 87, 50, 12},
        {IDC_STATIC, "Static", "到1:", kLabel, 222, 89, 18, 10},
        {IDC_SD_MAX_SCALE, "Edit", "", kEdit, 240, 87, 50, 12},
        {IDC_SD_ELEVATION, "Button", "需要高程值", kCheck, 149, 104, 60, 10},
        {IDC_STATIC, "Button", "几何特征：", kGroup, 295, 71, 159, 57},
        {IDC_SD_POINT, "Button", "点状地物", kCheck, 301, 83, 50, 10},
        {IDC_SD_POINT_DIRECTED, "Button", "有向", kCheck, 355, 83, 30, 10},
        {IDC_SD_IDENT_POINT, "Button", "标识点", kCheck, 389, 83, 44, 10},
        {IDC_SD_LINE, "Button", "线状地物", kCheck, 301, 97, 50, 10},
        {IDC_SD_LINE_DIRECTED, "Button", "有向", kCheck, 355, 97, 30, 10},
        {IDC_SD_FILLED, "Button", "填充", kCheck, 389, 97, 44, 10},
        {IDC_SD_ANNO, "Button", "注记地物", kCheck, 301, 111, 50, 10},
        {IDC_STATIC, "Button", "数据类型", kGroup, 149, 116, 141, 24},
        {IDC_SD_GIS_DATA, "Button", "GIS数据", kCheck, 155, 126, 50, 10},
        {IDC_SD_MAP_DATA, "Button", "制图数据", kCheck, 215, 126, 50, 10},
        // The symbol library of the symbol previews.
        {IDC_STATIC, "Button", "符号库", kGroup, 149, 140, 305, 26},
        {IDC_SD_SYMBOL_LIB, "Edit", "", kEdit, 155, 150, 88, 12},
        {IDC_SD_LIB_BROWSE, "Button", "浏览 >>", kButton, 246, 149, 40, 14},
        {IDC_STATIC, "Static", "比例尺:", kLabel, 291, 152, 28, 10},
        {IDC_SD_SYMBOL_SCALE, "Edit", "", kEdit, 319, 150, 52, 12},
        {IDC_SD_LIB_RELOAD, "Button", "重新载入符号库", kButton, 375, 149, 75, 14},
        {IDC_SD_FIELDS, "SysListView32", "", LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP, 149, 171, 305, 182},
        {IDOK, "Button", "保存结束(&O)", kButton, 320, 360, 64, 14},
        {IDCANCEL, "Button", "不保存结束(&C)", kButton, 390, 360, 64, 14},
        {ID_SD_TREE_RENAME, "Button", "Button3", BS_DEFPUSHBUTTON | WS_TABSTOP, 164, 360, 50, 14, 0, true},
    };
    return t;
}

void Fill(HDC dc, int x0, int y0, int x1, int y1, COLORREF c) {
    const RECT r = {x0, y0, x1, y1};
    HBRUSH b = CreateSolidBrush(c);
    FillRect(dc, &r, b);
    DeleteObject(b);
}

// One 16 x 16 picture at cell i: a stack of sheets (root), a bound file (scheme), a single map sheet
// (layer), a small mark (class); a selected picture is drawn on a blue tile.
void DrawPicture(HDC dc, int cell) {
    const int x = cell * 16, kind = cell / 2;
    const bool selected = cell % 2 == 1;
    if (selected) Fill(dc, x, 0, x + 16, 16, RGB(0, 0, 128));
    const COLORREF ink = selected ? RGB(255, 255, 255) : RGB(0, 0, 0);
    switch (kind) {
        case 0:  // root: three stacked sheets
            for (int k = 0; k < 3; ++k) {
                Fill(dc, x + 2 + 2 * k, 2 + 2 * k, x + 10 + 2 * k, 10 + 2 * k, ink);
                Fill(dc, x + 3 + 2 * k, 3 + 2 * k, x + 9 + 2 * k, 9 + 2 * k, RGB(255, 255, 128));
            }
            break;
        case 1:  // scheme: a file with a folded spine
            Fill(dc, x + 3, 1, x + 13, 15, ink);
            Fill(dc, x + 5, 2, x + 12, 14, RGB(255, 220, 120));
            Fill(dc, x + 6, 5, x + 11, 6, ink);
            Fill(dc, x + 6, 8, x + 11, 9, ink);
            break;
        case 2:  // layer: a map sheet with a road
            Fill(dc, x + 1, 4, x + 15, 12, ink);
            Fill(dc, x + 2, 5, x + 14, 11, RGB(160, 220, 160));
            Fill(dc, x + 2, 7, x + 14, 9, RGB(200, 60, 40));
            break;
        default:  // feature class: a square mark
            Fill(dc, x + 5, 5, x + 11, 11, ink);
            Fill(dc, x + 6, 6, x + 10, 10, RGB(60, 120, 220));
            break;
    }
}

HBITMAP MakeTreePictures() {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 128, 16);
    HGDIOBJ old = SelectObject(dc, bitmap);
    Fill(dc, 0, 0, 128, 16, RGB(255, 255, 255));  // white is the mask colour
    for (int cell = 0; cell < 8; ++cell) DrawPicture(dc, cell);
    SelectObject(dc, old);
    DeleteDC(dc);
    return bitmap;
}

struct Registrar {
    Registrar() {
        AfxRegisterDialogTemplate(SchemaDesign());
        AfxRegisterBitmapResource(IDB_SCHEME_TREE, MakeTreePictures);
    }
} g_registrar;

}  // namespace
