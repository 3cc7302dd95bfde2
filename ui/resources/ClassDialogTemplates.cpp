#include "ui/resources/ClassDialogTemplates.h"

#include <afx/DialogTemplate.h>

void RegisterClassDialogTemplates() {
    static const bool registered = [] {
        const DWORD label = SS_LEFT;
        const DWORD edit = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
        const DWORD readOnly = ES_AUTOHSCROLL | ES_READONLY | WS_BORDER | WS_TABSTOP;
        const DWORD button = BS_PUSHBUTTON | WS_TABSTOP;
        const DWORD check = BS_AUTOCHECKBOX | WS_TABSTOP;
        const DWORD modal = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
        AfxRegisterDialogTemplate(
            {IDD_GC_INFO, "地物信息", 168, 82, modal,
             {{IDC_STATIC, "Static", "地物名称", label, 7, 9, 40, 10},
              {IDC_GCINFO_NAME, "Edit", "", edit, 50, 7, 111, 13},
              {IDC_STATIC, "Static", "地物编码", label, 7, 27, 40, 10},
              {IDC_GCINFO_CODE, "Edit", "", edit, 50, 25, 111, 13},
              {IDC_GCINFO_LAYER_LABEL, "Static", "所在图层", label, 7, 45, 40, 10},
              {IDC_GCINFO_LAYER, "Edit", "", edit | WS_DISABLED, 50, 43, 111, 13},
              {IDOK, "Button", "确定", BS_DEFPUSHBUTTON | WS_TABSTOP, 30, 62, 50, 14},
              {IDCANCEL, "Button", "取消", button, 88, 62, 50, 14}}});
        const DWORD lists = LBS_SORT | LBS_MULTIPLESEL | LBS_NOTIFY | WS_VSCROLL | WS_BORDER | WS_TABSTOP;
        AfxRegisterDialogTemplate(
            {IDD_SELECT_GC, "选择地物类", 243, 177, modal,
             {{IDC_SELGC_AVAILABLE, "ListBox", "", lists, 7, 7, 100, 140},
              {IDC_SELGC_CHOSEN, "ListBox", "", lists, 136, 7, 100, 140},
              {IDC_SELGC_ADD, "Button", ">", button, 111, 30, 21, 14},
              {IDC_SELGC_ADD_ALL, "Button", ">>", button, 111, 50, 21, 14},
              {IDC_SELGC_REMOVE, "Button", "<", button | WS_DISABLED, 111, 80, 21, 14},
              {IDC_SELGC_REMOVE_ALL, "Button", "<<", button | WS_DISABLED, 111, 100, 21, 14},
              {IDOK, "Button", "确  定", BS_DEFPUSHBUTTON | WS_TABSTOP, 64, 156, 50, 14},
              {IDCANCEL, "Button", "取  消", button, 128, 156, 50, 14}}});
        AfxRegisterDialogTemplate(
            {IDD_GC_NORMAL, "常规", 302, 203, WS_CHILD | WS_CAPTION,
             {{IDC_STATIC, "Static", "地物名称", label, 7, 9, 40, 10},
              {IDC_GCN_NAME, "Edit", "", edit, 50, 7, 100, 13},
              {IDC_STATIC, "Static", "地物编码", label, 160, 9, 40, 10},
              {IDC_GCN_CODE, "Edit", "", edit, 203, 7, 92, 13},
              {IDC_STATIC, "Static", "", SS_ETCHEDHORZ, 7, 26, 288, 1},
              {IDC_STATIC, "Button", "地物几何特征：", BS_GROUPBOX, 7, 32, 288, 62},
              {IDC_GCN_POINT, "Button", "点状地物", check, 14, 44, 60, 10},
              {IDC_GCN_POINT_DIRECTED, "Button", "有向", check, 24, 56, 40, 10},
              {IDC_GCN_IDPOINT, "Button", "标识点", check, 24, 68, 40, 10},
              {IDC_GCN_LINE, "Button", "线状地物", check, 100, 44, 60, 10},
              {IDC_GCN_LINE_DIRECTED, "Button", "有向", check, 110, 56, 40, 10},
              {IDC_GCN_FILLED, "Button", "填充", check, 110, 68, 40, 10},
              {IDC_GCN_ANNO, "Button", "注记地物", check, 186, 44, 60, 10},
              {IDC_STATIC, "Button", "", BS_GROUPBOX, 7, 98, 288, 28},
              {IDC_STATIC, "Static", "地物类数据类型:", label, 14, 110, 70, 10},
              {IDC_GCN_GIS, "Button", "GIS数据", check, 100, 110, 50, 10},
              {IDC_GCN_CARTO, "Button", "制图数据", check, 186, 110, 50, 10},
              {IDC_GCN_ELEVATION, "Button", "需要高程值", check, 7, 132, 80, 10},
              {IDC_STATIC, "Button", "", BS_GROUPBOX, 7, 148, 288, 48},
              {IDC_GCN_LIMIT_SCALE, "Button", "限制地物在比例尺区间内", check, 14, 148, 120, 10},
              {IDC_STATIC, "Static", "从 1:", label, 14, 168, 22, 10},
              {IDC_GCN_MIN_SCALE, "Edit", "", edit, 38, 166, 80, 13},
              {IDC_STATIC, "Static", "到 1:", label, 150, 168, 22, 10},
              {IDC_GCN_MAX_SCALE, "Edit", "", edit, 174, 166, 80, 13}}});
        AfxRegisterDialogTemplate(
            {IDD_PICK_GC, "选择地物类", 224, 147, modal,
             {{IDC_STATIC, "Static", "可选地物:", label, 7, 7, 100, 10},
              {IDC_PICKGC_LIST, "ListBox", "", LBS_SORT | LBS_NOTIFY | WS_VSCROLL | WS_BORDER | WS_TABSTOP, 7, 19, 100, 121},
              {IDC_STATIC, "Button", "", BS_GROUPBOX, 114, 7, 103, 40},
              {IDC_PICKGC_BY_NAME, "Button", "使用地物类名称", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 120, 17, 90, 10},
              {IDC_PICKGC_BY_CODE, "Button", "使用地物类编码", BS_AUTORADIOBUTTON, 120, 31, 90, 10},
              {IDC_STATIC, "Static", "地物类名称:", label, 114, 52, 60, 10},
              {IDC_PICKGC_NAME, "Edit", "", readOnly, 114, 63, 103, 13},
              {IDC_STATIC, "Static", "地物类编码:", label, 114, 80, 60, 10},
              {IDC_PICKGC_CODE, "Edit", "", readOnly, 114, 91, 103, 13},
              {IDC_PICKGC_NEW, "Button", "新建地物类", button | WS_GROUP, 114, 109, 50, 14},
              {IDC_PICKGC_PROPERTIES, "Button", "属性", button, 167, 109, 50, 14},
              {IDOK, "Button", "确定(&O)", BS_DEFPUSHBUTTON | WS_TABSTOP, 114, 126, 50, 14},
              {IDCANCEL, "Button", "取消(&C)", button, 167, 126, 50, 14}}});
        return true;
    }();
    (void)registered;
}
