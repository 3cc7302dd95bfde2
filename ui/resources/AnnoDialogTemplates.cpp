#include "ui/resources/AnnoDialogTemplates.h"

#include <afx/DialogTemplate.h>

namespace {

const DWORD kLabel = SS_LEFT;
const DWORD kEdit = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
const DWORD kButton = BS_PUSHBUTTON | WS_TABSTOP;
const DWORD kCheck = BS_AUTOCHECKBOX | WS_TABSTOP;
const DWORD kRadio = BS_AUTORADIOBUTTON;
const DWORD kDropList = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
const DWORD kDialog = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;

AfxDlgTemplate TextPage() {
    AfxDlgTemplate t;
    t.id = IDD_ANNO_TEXT_PAGE;
    t.caption = "文字";
    t.cx = 330;
    t.cy = 230;
    t.style = WS_CHILD | DS_CONTROL | WS_CAPTION;
    t.items = {
        {IDC_STATIC, "Static", "注记文本：", kLabel, 7, 7, 60, 10},
        {1001, "Edit", "", ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER | WS_TABSTOP, 7,
         18, 316, 34},
        // Character size: by type-size name or custom. The two radios stand together so that they form
        // one group; the control after them starts the next.
        {IDC_STATIC, "Button", "字符大小", BS_GROUPBOX, 7, 56, 155, 82},
        {1043, "Button", "根据字号", kRadio | WS_GROUP | WS_TABSTOP, 13, 68, 48, 10},
        {1044, "Button", "自定义", kRadio, 13, 85, 48, 10},
        {1042, "ComboBox", "", kDropList | WS_GROUP, 64, 66, 60, 160},
        {1041, "Button", "锁定宽高比", kCheck, 64, 85, 62, 10},
        {IDC_STATIC, "Static", "字高", kLabel, 13, 102, 20, 10},
        {1030, "Edit", "", kEdit, 36, 100, 48, 13},
        {IDC_STATIC, "Static", "0.1毫米", kLabel, 88, 102, 34, 10},
        {IDC_STATIC, "Static", "字宽", kLabel, 13, 119, 20, 10},
        {1031, "Edit", "", kEdit, 36, 117, 48, 13},
        {IDC_STATIC, "Static", "0.1毫米", kLabel, 88, 119, 34, 10},
        // Spacing and angles.
        {IDC_STATIC, "Button", "间距与角度", BS_GROUPBOX, 7, 142, 155, 82},
        {IDC_STATIC, "Static", "字间距", kLabel, 13, 155, 28, 10},
        {1032, "Edit", "", kEdit, 44, 153, 48, 13},
        {IDC_STATIC, "Static", "0.1毫米", kLabel, 96, 155, 34, 10},
        {IDC_STATIC, "Static", "行间距", kLabel, 13, 171, 28, 10},
        {1033, "Edit", "", kEdit, 44, 169, 48, 13},
        {IDC_STATIC, "Static", "0.1毫米", kLabel, 96, 171, 34, 10},
        {IDC_STATIC, "Static", "旋转角", kLabel, 13, 187, 28, 10},
        {1034, "Edit", "", kEdit, 44, 185, 48, 13},
        {IDC_STATIC, "Static", "度", kLabel, 96, 187, 12, 10},
        {IDC_STATIC, "Static", "斜体角", kLabel, 13, 203, 28, 10},
        {1054, "Edit", "", kEdit, 44, 201, 48, 13},
        {IDC_STATIC, "Static", "度", kLabel, 96, 203, 12, 10},
        // Alignment, arrangement and placement.
        {IDC_STATIC, "Static", "对齐方式", kLabel, 168, 58, 36, 10},
        {1040, "ComboBox", "", kDropList, 208, 56, 80, 150, 0, false,
         "左下对齐\n左中对齐\n左上对齐\n中下对齐\n中心对齐\n中上对齐\n右下对齐\n右中对齐\n右上对齐"},
        {IDC_STATIC, "Static", "排列方式", kLabel, 168, 75, 36, 10},
        {1058, "ComboBox", "", kDropList, 208, 73, 80, 60, 0, false, "横排字列\n竖排字列\n雁行字列"},
        {IDC_STATIC, "Static", "注记方式", kLabel, 168, 92, 36, 10},
        {1066, "ComboBox", "", kDropList, 208, 90, 80, 60, 0, false, "单点\n方框\n多点"},
        {1486, "Button", "分散对齐", kCheck, 168, 108, 50, 10},
        {1047, "Button", "格式化", kCheck, 228, 108, 50, 10},
        {1048, "Button", "格式化文本参数", kButton, 168, 122, 72, 14, 0, true},
        {1049, "Button", "方框注记设置", kButton, 244, 122, 72, 14, 0, true},
        // What a drag of a handle changes.
        {IDC_STATIC, "Button", "拖动控制点时", BS_GROUPBOX, 168, 140, 155, 40},
        {1467, "Button", "注记尺寸增大", kRadio | WS_GROUP | WS_TABSTOP, 174, 152, 70, 10},
        {1468, "Button", "注记间隔增大", kRadio, 248, 152, 70, 10},
        {1469, "Button", "间隔尺寸都增大", kRadio, 174, 165, 72, 10},
        {1050, "Button", "锁定宽高比", kRadio, 248, 165, 70, 10},
        // The frame.
        {IDC_STATIC, "Button", "边框", BS_GROUPBOX | WS_GROUP, 168, 184, 155, 40},
        {1056, "Button", "显示背景", kCheck | WS_GROUP, 174, 196, 48, 10},
        {1057, "Button", "显示边框", kCheck, 226, 196, 48, 10},
        {IDC_STATIC, "Static", "颜色", kLabel, 276, 196, 18, 10},
        {1055, "Button", "", kButton, 294, 194, 24, 13},
        {IDC_STATIC, "Static", "线宽", kLabel, 174, 210, 18, 10},
        {1053, "Edit", "", kEdit, 196, 208, 40, 13},
    };
    return t;
}

AfxDlgTemplate RectDialog() {
    AfxDlgTemplate t;
    t.id = IDD_GEO_RECT;
    t.caption = "方框注记设置";
    t.cx = 150;
    t.cy = 106;
    t.style = kDialog;
    t.items = {{IDC_STATIC, "Button", "内部边距", BS_GROUPBOX, 7, 7, 136, 72}};
    const char* labels[] = {"左：", "右：", "上：", "下："};
    for (int i = 0; i < 4; ++i) {
        const int y = 20 + 14 * i;
        t.items.push_back({IDC_STATIC, "Static", labels[i], kLabel, 15, y + 2, 18, 10});
        t.items.push_back({1042 + i, "Edit", "", kEdit, 36, y, 60, 13});
        t.items.push_back({IDC_STATIC, "Static", "0.1毫米", kLabel, 100, y + 2, 34, 10});
    }
    t.items.push_back({IDOK, "Button", "确定", BS_DEFPUSHBUTTON | WS_TABSTOP, 20, 86, 50, 14});
    t.items.push_back({IDCANCEL, "Button", "取消", kButton, 80, 86, 50, 14});
    return t;
}

AfxDlgTemplate FormatDialog() {
    AfxDlgTemplate t;
    t.id = IDD_GEO_FORMAT;
    t.caption = "定义格式化文本参数";
    t.cx = 196;
    t.cy = 116;
    t.style = kDialog;
    const char* labels[] = {"分数线的水平起始距", "分数线的垂直起始距", "竖画线的水平起始距", "竖画线的垂直起始距",
                            "分数线宽度"};
    for (int i = 0; i < 5; ++i) {
        const int y = 8 + 16 * i;
        t.items.push_back({IDC_STATIC, "Static", labels[i], kLabel, 7, y + 2, 80, 10});
        t.items.push_back({1500 + i, "Edit", "", kEdit, 90, y, 60, 13});
        t.items.push_back({IDC_STATIC, "Static", "0.1毫米", kLabel, 154, y + 2, 34, 10});
    }
    t.items.push_back({IDOK, "Button", "确定", BS_DEFPUSHBUTTON | WS_TABSTOP, 40, 94, 50, 14});
    t.items.push_back({IDCANCEL, "Button", "取消", kButton, 106, 94, 50, 14});
    return t;
}

AfxDlgTemplate InsertCharDialog() {
    AfxDlgTemplate t;
    t.id = IDD_INSERT_CHAR;
    t.caption = "插入字符";
    t.cx = 160;
    t.cy = 70;
    t.style = kDialog;
    t.items = {
        {IDC_STATIC, "Static", "字符", kLabel, 7, 10, 30, 10},
        {1067, "Edit", "", kEdit, 40, 8, 110, 13},
        {IDC_STATIC, "Static", "旋转角", kLabel, 7, 28, 30, 10},
        {1068, "Edit", "", kEdit, 40, 26, 60, 13},
        {IDOK, "Button", "确定", BS_DEFPUSHBUTTON | WS_TABSTOP, 24, 49, 50, 14},
        {IDCANCEL, "Button", "取消", kButton, 86, 49, 50, 14},
    };
    return t;
}

}  // namespace

void RegisterAnnoDialogTemplates() {
    static const bool registered = [] {
        AfxRegisterDialogTemplate(TextPage());
        AfxRegisterDialogTemplate(RectDialog());
        AfxRegisterDialogTemplate(FormatDialog());
        AfxRegisterDialogTemplate(InsertCharDialog());
        return true;
    }();
    (void)registered;
}
