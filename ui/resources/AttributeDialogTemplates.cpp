#include "ui/resources/AttributeDialogTemplates.h"

#include <afx/DialogTemplate.h>

const int g_nADBMarkerIDs[4] = {1017, 1016, 1015, 1014};
const int g_nADBNameIDs[4] = {1252, 1251, 1250, 1245};
const int g_nADBEditIDs[4] = {1098, 1099, 1100, 1101};
const int g_nADBDateIDs[4] = {1254, 1256, 1258, 1260};
const int g_nADBListIDs[4] = {1255, 1257, 1259, 1261};
const int g_nADBPlaceholderIDs[4] = {1247, 1248, 1249, 1246};

void RegisterAttributeDialogTemplates()
{
    static const bool registered = [] {
        const DWORD button = BS_PUSHBUTTON | WS_TABSTOP;
        AfxDlgTemplate t{IDD_ADB_VALUE, "属性数据输入", 208, 127, DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, {}};
        t.items.push_back({IDC_STATIC, "Button", "", BS_GROUPBOX, 7, 4, 194, 94});
        for (int row = 0; row < 4; ++row) {
            const int y = 12 + row * 21;
            t.items.push_back({g_nADBMarkerIDs[row], "Static", "", SS_LEFT, 12, y + 2, 16, 10});
            t.items.push_back({g_nADBNameIDs[row], "Static", "", SS_LEFT, 30, y + 2, 60, 10});
            // The input controls start anywhere; the dialog lays them over the placeholder.
            t.items.push_back({g_nADBEditIDs[row], "Edit", "", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 94, y, 90, 14});
            t.items.push_back({g_nADBDateIDs[row], "SysDateTimePick32", "", WS_TABSTOP, 94, y, 90, 14});
            t.items.push_back({g_nADBListIDs[row], "ComboBox", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 94, y,
                               90, 40, 0, false, "否\n是"});
            t.items.push_back({g_nADBPlaceholderIDs[row], "Static", "", SS_LEFT, 94, y, 90, 14, 0, true});
        }
        t.items.push_back({IDC_ADB_SCROLL, "ScrollBar", "", SBS_VERT, 188, 10, 10, 84});
        t.items.push_back({IDCANCEL, "Button", "取消", button, 151, 106, 50, 14});
        t.items.push_back({IDOK, "Button", "确定", BS_DEFPUSHBUTTON | WS_TABSTOP, 97, 106, 50, 14});
        t.items.push_back({IDC_ADB_DELETE, "Button", "删除", button, 7, 106, 40, 14});
        t.items.push_back({IDC_ADB_SPLIT, "Button", "拆分", button, 51, 106, 40, 14});
        AfxRegisterDialogTemplate(t);
        return true;
    }();
    (void)registered;
}
