// The templates of the four style pages (2036 point, 2037 line, 2038 fill, 2039 annotation) and of the
// display-style page (2020), and the picture of line ends and corners (bitmap 2028), registered when the
// library is loaded. Rectangles are in dialog units.
#include <afx/DialogTemplate.h>
#include <afx/GdiObject.h>
#include <win32/windraw.h>

namespace {

const DWORD kPage = WS_CHILD | DS_CONTROL | WS_CAPTION;
const DWORD kLabel = SS_LEFT;
const DWORD kEdit = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
const DWORD kReadOnly = ES_AUTOHSCROLL | ES_READONLY | WS_BORDER | WS_TABSTOP;
const DWORD kButton = BS_PUSHBUTTON | WS_TABSTOP;
const DWORD kCheck = BS_AUTOCHECKBOX | WS_TABSTOP;
const DWORD kRadio = BS_AUTORADIOBUTTON;
const DWORD kOwnerList = CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | WS_VSCROLL | WS_TABSTOP;

// The right-hand half the point, line and fill pages share: the browser's frame, the symbol preview,
// the symbol's number and name, and "恢复".
void AddSymbolArea(AfxDlgTemplate& t) {
    t.items.push_back({IDC_STATIC, "Static", "", SS_ETCHEDHORZ, 7, 26, 288, 1});
    t.items.push_back({1041, "Static", "", WS_BORDER, 7, 32, 146, 163, 0, true});
    t.items.push_back({1045, "Static", "", WS_BORDER | SS_OWNERDRAW, 160, 32, 135, 60});
    t.items.push_back({IDC_STATIC, "Static", "符号ID：", kLabel, 160, 99, 48, 10});
    t.items.push_back({1050, "Edit", "", kReadOnly, 210, 97, 85, 13});
    t.items.push_back({IDC_STATIC, "Static", "符号名称：", kLabel, 160, 115, 48, 10});
    t.items.push_back({1051, "Edit", "", kReadOnly, 210, 113, 85, 13});
    t.items.push_back({1042, "Button", "恢复", kButton, 245, 181, 50, 14});
}

AfxDlgTemplate PointPage() {
    AfxDlgTemplate t;
    t.id = 2036;
    t.caption = "点风格";
    t.cx = 302;
    t.cy = 203;
    t.style = kPage;
    t.items = {
        {IDC_STATIC, "Static", "符号", kLabel, 7, 10, 20, 10},
        {1121, "Button", "", kButton, 30, 7, 50, 14},
        {IDC_STATIC, "Static", "颜色", kLabel, 95, 10, 20, 10},
        {1063, "Button", "", kButton, 118, 7, 50, 14},
        {IDC_STATIC, "Static", "大小", kLabel, 183, 10, 20, 10},
        {1068, "Edit", "", kEdit, 206, 7, 45, 13},
    };
    AddSymbolArea(t);
    return t;
}

AfxDlgTemplate LinePage() {
    AfxDlgTemplate t;
    t.id = 2037;
    t.caption = "线风格";
    t.cx = 302;
    t.cy = 203;
    t.style = kPage;
    t.items = {
        {IDC_STATIC, "Static", "线宽", kLabel, 7, 10, 20, 10},
        {1043, "Button", "", kButton, 30, 7, 50, 14},
        {IDC_STATIC, "Static", "颜色", kLabel, 95, 10, 20, 10},
        {1063, "Button", "", kButton, 118, 7, 50, 14},
        {IDC_STATIC, "Static", "线型", kLabel, 183, 10, 20, 10, 0, true},
        {1094, "ComboBox", "", kOwnerList, 206, 7, 89, 80, 0, true},
    };
    AddSymbolArea(t);
    // Three radios a row, each under its picture in bitmap 2028 (ends above, corners below).
    t.items.push_back({IDC_STATIC, "Static", "线端头:", kLabel, 160, 136, 30, 10});
    t.items.push_back({1052, "Button", "", kRadio | WS_GROUP | WS_TABSTOP, 194, 135, 10, 10});
    t.items.push_back({1053, "Button", "", kRadio, 208, 135, 10, 10});
    t.items.push_back({1054, "Button", "", kRadio, 222, 135, 10, 10});
    t.items.push_back({IDC_STATIC, "Static", "线转角:", kLabel, 160, 152, 30, 10});
    t.items.push_back({1055, "Button", "", kRadio | WS_GROUP | WS_TABSTOP, 194, 151, 10, 10});
    t.items.push_back({1056, "Button", "", kRadio, 208, 151, 10, 10});
    t.items.push_back({1057, "Button", "", kRadio, 222, 151, 10, 10});
    t.items.push_back({1060, "Static", "#2028", SS_BITMAP | WS_GROUP, 237, 133, 56, 28});
    return t;
}

AfxDlgTemplate FillPage() {
    AfxDlgTemplate t;
    t.id = 2038;
    t.caption = "面风格";
    t.cx = 302;
    t.cy = 203;
    t.style = kPage;
    t.items = {
        {IDC_STATIC, "Static", "模式", kLabel, 7, 10, 20, 10},
        {1090, "ComboBox", "", kOwnerList, 30, 7, 60, 100},
        {IDC_STATIC, "Static", "颜色", kLabel, 105, 10, 20, 10},
        {1063, "Button", "", kButton, 128, 7, 50, 14},
        {1046, "Button", "透明", kCheck, 193, 9, 40, 10},
    };
    AddSymbolArea(t);
    return t;
}

AfxDlgTemplate AnnoPage() {
    AfxDlgTemplate t;
    t.id = 2039;
    t.caption = "文字风格";
    t.cx = 302;
    t.cy = 203;
    t.style = kPage;
    t.items = {
        {IDC_STATIC, "Static", "字体", kLabel, 7, 10, 20, 10},
        {1080, "ComboBox", "", CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | WS_TABSTOP, 30, 7, 110, 120},
        {IDC_STATIC, "Static", "颜色", kLabel, 155, 10, 20, 10},
        {1063, "Button", "", kButton, 178, 7, 50, 14},
        {1477, "Button", "着重符", kCheck, 7, 28, 50, 10},
        {1475, "Button", "下划线", kCheck, 62, 28, 50, 10},
        {1476, "Button", "中划线", kCheck, 117, 28, 50, 10},
        {1041, "Button", "左耸肩", kCheck, 7, 42, 50, 10},
        {1048, "Button", "右耸肩", kCheck, 62, 42, 50, 10},
        {1481, "Button", "左斜体", kCheck, 117, 42, 50, 10},
        {1482, "Button", "右斜体", kCheck, 172, 42, 50, 10},
        {1478, "Button", "粗体", kCheck, 7, 56, 50, 10},
        {1046, "Button", "透明", kCheck, 62, 56, 50, 10},
        {IDC_STATIC, "Static", "缓冲宽度", kLabel, 7, 74, 36, 10},
        {1480, "Edit", "", kEdit, 45, 72, 50, 13},
        {IDC_STATIC, "Static", "0.1毫米", kLabel, 99, 74, 35, 10},
        {1044, "Static", "字宽", kLabel, 7, 92, 20, 10},
        {1045, "Edit", "", kEdit, 30, 90, 50, 13},
        {1050, "Static", "0.1毫米", kLabel, 84, 92, 35, 10},
        {1049, "Static", "字高", kLabel, 140, 92, 20, 10},
        {1047, "Edit", "", kEdit, 163, 90, 50, 13},
        {1051, "Static", "0.1毫米", kLabel, 217, 92, 35, 10},
        {IDC_STATIC, "Button", "预览", BS_GROUPBOX, 7, 110, 288, 86},
        {1134, "Static", "", WS_BORDER | SS_OWNERDRAW, 14, 122, 274, 68},  // the page draws the sample
    };
    return t;
}

AfxDlgTemplate StyleOverviewPage() {
    AfxDlgTemplate t;
    t.id = 2020;
    t.caption = "显示风格";
    t.cx = 230;
    t.cy = 170;
    t.style = kPage;
    const DWORD frame = WS_BORDER | SS_OWNERDRAW;  // the previews paint themselves
    t.items = {
        // Point, top left: the style and the symbol side by side.
        {IDC_STATIC, "Button", "", BS_GROUPBOX, 7, 7, 105, 76},
        {1038, "Button", ">>", kButton, 90, 3, 18, 10},
        {1118, "Static", "", frame, 12, 18, 46, 60},
        {1119, "Static", "", frame, 61, 18, 46, 60},
        // Fill, top right.
        {IDC_STATIC, "Button", "", BS_GROUPBOX, 118, 7, 105, 76},
        {1040, "Button", ">>", kButton, 201, 3, 18, 10},
        {1115, "Static", "", frame, 123, 18, 46, 60},
        {1117, "Static", "", frame, 172, 18, 46, 60},
        // Annotation, bottom left.
        {IDC_STATIC, "Button", "", BS_GROUPBOX, 7, 89, 105, 76},
        {1041, "Button", ">>", kButton, 90, 85, 18, 10},
        {1113, "Static", "", frame, 12, 100, 95, 60},
        // Line, bottom right: the style above the symbol.
        {IDC_STATIC, "Button", "", BS_GROUPBOX, 118, 89, 105, 76},
        {1039, "Button", ">>", kButton, 201, 85, 18, 10},
        {1114, "Static", "", frame, 123, 100, 95, 28},
        {1116, "Static", "", frame, 123, 132, 95, 28},
    };
    return t;
}

// Bitmap 2028: six 28 x 21 cells on white, ends above (flat, round, square) and corners below (mitre,
// round, bevel), each drawn with a thick geometric pen of that kind over a thin grey guide that shows
// where the line's end point or corner lies.
HBITMAP MakeCapJoinPicture() {
    const int cw = 28, ch = 21;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 3 * cw, 2 * ch);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    const RECT all = {0, 0, 3 * cw, 2 * ch};
    HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
    FillRect(dc, &all, white);
    DeleteObject(white);

    const DWORD caps[3] = {PS_ENDCAP_FLAT, PS_ENDCAP_ROUND, PS_ENDCAP_SQUARE};
    const DWORD joins[3] = {PS_JOIN_MITER, PS_JOIN_ROUND, PS_JOIN_BEVEL};
    LOGBRUSH ink = {BS_SOLID, RGB(0, 0, 0), 0};
    HPEN guide = CreatePen(PS_SOLID, 1, RGB(160, 160, 160));
    for (int c = 0; c < 3; ++c) {
        const int x0 = c * cw;
        HPEN end = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | caps[c], 7, &ink, 0, nullptr);
        HGDIOBJ old = SelectObject(dc, end);
        MoveToEx(dc, x0 + 8, ch / 2, nullptr);
        LineTo(dc, x0 + 20, ch / 2);
        SelectObject(dc, guide);
        MoveToEx(dc, x0 + 8, ch / 2, nullptr);
        LineTo(dc, x0 + 20, ch / 2);
        SelectObject(dc, old);
        DeleteObject(end);

        HPEN corner = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT | joins[c], 7, &ink, 0, nullptr);
        old = SelectObject(dc, corner);
        const POINT v[3] = {{x0 + 6, ch + 18}, {x0 + 14, ch + 6}, {x0 + 22, ch + 18}};
        Polyline(dc, v, 3);
        SelectObject(dc, guide);
        Polyline(dc, v, 3);
        SelectObject(dc, old);
        DeleteObject(corner);
    }
    DeleteObject(guide);
    SelectObject(dc, oldBitmap);
    DeleteDC(dc);
    return bitmap;
}

struct Registrar {
    Registrar() {
        AfxRegisterDialogTemplate(PointPage());
        AfxRegisterDialogTemplate(LinePage());
        AfxRegisterDialogTemplate(FillPage());
        AfxRegisterDialogTemplate(AnnoPage());
        AfxRegisterDialogTemplate(StyleOverviewPage());
        AfxRegisterBitmapResource(2028, MakeCapJoinPicture);
    }
} g_registrar;

}  // namespace
