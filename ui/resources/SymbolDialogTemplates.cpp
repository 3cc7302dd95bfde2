// The dialog templates of the symbol pickers, the symbol grid dialog and the value input, and the
// picker's icon bitmap 182, registered when the library is loaded. Rectangles are in dialog units.
#include <afx/DialogTemplate.h>
#include <afx/GdiObject.h>
#include <win32/windraw.h>

namespace {

const DWORD kLabel = SS_LEFT;
const DWORD kEdit = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
const DWORD kReadOnly = ES_AUTOHSCROLL | ES_READONLY | WS_BORDER | WS_TABSTOP;
const DWORD kButton = BS_PUSHBUTTON | WS_TABSTOP;
const DWORD kDefault = BS_DEFPUSHBUTTON | WS_TABSTOP;

AfxDlgTemplate ValueInput() {
    AfxDlgTemplate t;
    t.id = 2033;
    t.caption = "标题";
    t.cx = 192;
    t.cy = 57;
    t.items = {
        {1038, "Static", "", SS_RIGHT, 7, 12, 50, 10},
        {6000, "Edit", "", kEdit, 60, 10, 80, 13},
        {6001, "Edit", "", kEdit, 60, 10, 80, 13},
        {1039, "Static", "", kLabel, 145, 12, 40, 10},
        {IDOK, "Button", "确定", kDefault, 42, 36, 50, 14},
        {IDCANCEL, "Button", "取消", kButton, 100, 36, 50, 14},
    };
    return t;
}

AfxDlgTemplate SymbolPick() {
    AfxDlgTemplate t;
    t.id = 2035;
    t.caption = "选择符号对话框";
    t.cx = 337;
    t.cy = 241;
    t.items = {
        {1041, "Static", "", WS_BORDER, 7, 7, 230, 227, 0, true},
        {1045, "Static", "", WS_BORDER, 245, 7, 85, 70},
        {IDC_STATIC, "Button", "属性", BS_GROUPBOX, 245, 82, 85, 72},
        {IDC_STATIC, "Static", "符号ID：", kLabel, 251, 94, 70, 10},
        {1050, "Edit", "", kReadOnly, 251, 105, 73, 13},
        {IDC_STATIC, "Static", "符号名称：", kLabel, 251, 122, 70, 10},
        {1051, "Edit", "", kReadOnly, 251, 133, 73, 13},
        {IDC_STATIC, "Button", "查找", BS_GROUPBOX, 245, 158, 85, 34},
        {IDC_STATIC, "Static", "符号ID:", kLabel, 251, 173, 30, 10},
        {1048, "Edit", "", kEdit, 283, 171, 41, 13},
        {1049, "Button", "恢复", kButton, 245, 199, 85, 14},
        {IDOK, "Button", "确定", kDefault, 245, 220, 40, 14},
        {IDCANCEL, "Button", "取消", kButton, 290, 220, 40, 14},
    };
    return t;
}

AfxDlgTemplate SymbolLibPick() {
    AfxDlgTemplate t;
    t.id = 2019;
    t.caption = "选择符号库";
    t.cx = 206;
    t.cy = 113;
    t.items = {
        {1033, "SysListView32", "", LVS_LIST | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SORTASCENDING | WS_BORDER | WS_TABSTOP,
         7, 7, 120, 99},
        {IDC_STATIC, "Static", "库名：", kLabel, 134, 7, 65, 10},
        {1034, "Edit", "", kEdit, 134, 18, 65, 13},
        {IDC_STATIC, "Static", "库类型：", kLabel, 134, 36, 65, 10},
        {1035, "ComboBox", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 134, 47, 65, 60, 0, false,
         "符号库\n符号文件\n所有类型"},
        {IDOK, "Button", "选择", kDefault, 134, 74, 65, 14},
        {IDCANCEL, "Button", "取消", kButton, 134, 92, 65, 14},
    };
    return t;
}

AfxDlgTemplate SymbolSelect() {
    AfxDlgTemplate t;
    t.id = 2018;
    t.caption = "符号选择";
    t.cx = 254;
    t.cy = 189;
    t.items = {
        {IDC_STATIC, "Static", "符号库:", kLabel, 7, 9, 30, 10},
        {1024, "Edit", "", kReadOnly, 40, 7, 207, 13},
        {1262, "Static", "", SS_ETCHEDFRAME, 7, 26, 160, 134, 0, true},
        {IDC_STATIC, "Static", "符号码:", kLabel, 172, 28, 75, 10},
        {1025, "Edit", "", kReadOnly, 172, 39, 75, 13},
        {IDC_STATIC, "Static", "符号名称:", kLabel, 172, 56, 75, 10},
        {1026, "Edit", "", kReadOnly, 172, 67, 75, 13},
        {1027, "Button", "恢复", kButton, 172, 86, 75, 14},
        {1028, "Button", "高级 >>>", kButton, 172, 104, 75, 14},
        {1013, "Edit", "", kEdit, 172, 125, 75, 13},
        {IDOK, "Button", "确定", kDefault, 172, 146, 36, 14},
        {IDCANCEL, "Button", "取消", kButton, 211, 146, 36, 14},
        {1037, "Static", "", kLabel, 7, 166, 240, 10},
    };
    return t;
}

// Bitmap 182: two 10 x 10 icons on the mask colour 0x00FF00: a bound book (a symbol library file) and
// a single sheet (a symbol file).
HBITMAP MakePickerIcons() {
    HDC screen = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 20, 10);
    HGDIOBJ old = SelectObject(screen, bitmap);
    const RECT all = {0, 0, 20, 10};
    HBRUSH mask = CreateSolidBrush(RGB(0, 255, 0));
    FillRect(screen, &all, mask);
    DeleteObject(mask);
    HBRUSH book = CreateSolidBrush(RGB(0, 0, 160));
    const RECT cover = {1, 1, 9, 9};
    FillRect(screen, &cover, book);
    DeleteObject(book);
    HBRUSH spine = CreateSolidBrush(RGB(255, 255, 255));
    const RECT pages = {3, 2, 8, 3};
    FillRect(screen, &pages, spine);
    DeleteObject(spine);
    HBRUSH paper = CreateSolidBrush(RGB(255, 255, 255));
    const RECT sheet = {12, 1, 19, 9};
    FillRect(screen, &sheet, paper);
    DeleteObject(paper);
    HBRUSH ink = CreateSolidBrush(RGB(0, 0, 0));
    const RECT line1 = {13, 3, 18, 4}, line2 = {13, 5, 18, 6}, line3 = {13, 7, 16, 8};
    FillRect(screen, &line1, ink);
    FillRect(screen, &line2, ink);
    FillRect(screen, &line3, ink);
    DeleteObject(ink);
    SelectObject(screen, old);
    DeleteDC(screen);
    return bitmap;
}

struct Registrar {
    Registrar() {
        AfxRegisterDialogTemplate(ValueInput());
        AfxRegisterDialogTemplate(SymbolPick());
        AfxRegisterDialogTemplate(SymbolLibPick());
        AfxRegisterDialogTemplate(SymbolSelect());
        AfxRegisterBitmapResource(182, MakePickerIcons);
    }
} g_registrar;

}  // namespace
