#include "ui/resources/ObjectDialogTemplates.h"

#include <afx/DialogTemplate.h>

void RegisterObjectDialogTemplates() {
    static const bool registered = [] {
        const DWORD label = SS_LEFT;
        const DWORD edit = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
        const DWORD readOnly = ES_AUTOHSCROLL | ES_READONLY | WS_BORDER | WS_TABSTOP;
        const DWORD button = BS_PUSHBUTTON | WS_TABSTOP;
        const DWORD dropList = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
        AfxRegisterDialogTemplate(
            {IDD_VECTOR_NORMAL, "常规", 302, 203, WS_CHILD | WS_CAPTION,
             {{IDC_STATIC, "Static", "对象名称:", label, 7, 9, 40, 10},
              {IDC_VN_NAME, "Edit", "", edit, 50, 7, 150, 13},
              {IDC_VN_ATTRIBUTES, "Button", "属性数据", button, 220, 6, 75, 14},
              {IDC_STATIC, "Static", "对象类型:", label, 7, 27, 40, 10},
              {IDC_VN_TYPE, "Edit", "", readOnly, 50, 25, 150, 13},
              {IDC_VN_FACE, "Button", "面状对象", BS_AUTOCHECKBOX | WS_TABSTOP, 220, 27, 75, 10, 0, true},
              {IDC_STATIC, "Static", "附属图层:", label, 7, 45, 40, 10},
              {IDC_VN_LAYER, "Edit", "", readOnly, 50, 43, 150, 13},
              {IDC_STATIC, "Button", "地物类:", BS_GROUPBOX, 7, 62, 288, 36},
              {IDC_STATIC, "Static", "名称:", label, 14, 77, 22, 10},
              {IDC_VN_CLASS_NAME, "Edit", "", readOnly, 38, 75, 90, 13},
              {IDC_STATIC, "Static", "编码:", label, 134, 77, 22, 10},
              {IDC_VN_CLASS_CODE, "Edit", "", readOnly, 158, 75, 50, 13},
              {IDC_VN_PICK_CLASS, "Button", "选择地物类 >>>", button, 214, 74, 75, 14},
              {IDC_VN_CONTROL_LABEL, "Static", "控制点数:", label, 7, 108, 40, 10, 0, true},
              {IDC_VN_CONTROL_POINTS, "Edit", "", readOnly, 50, 106, 50, 13, 0, true},
              {IDC_VN_ANGLE_LABEL, "Static", "旋转角度:", label, 7, 108, 40, 10, 0, true},
              {IDC_VN_ANGLE, "Edit", "", edit, 50, 106, 50, 13, 0, true},
              {IDC_VN_INTERP_LABEL, "Static", "内插点数:", label, 110, 108, 40, 10, 0, true},
              {IDC_VN_INTERP_POINTS, "Edit", "", edit, 152, 106, 50, 13, 0, true},
              {IDC_STATIC, "Static", "高程:", label, 7, 127, 40, 10},
              {IDC_VN_ELEVATION, "Edit", "", edit, 50, 125, 90, 13},
              {IDC_STATIC, "Static", "米", label, 144, 127, 12, 10},
              {IDC_VN_LENGTH_LABEL, "Static", "长度:", label, 7, 146, 40, 10},
              {IDC_VN_LENGTH, "Edit", "", readOnly, 50, 144, 90, 13},
              {IDC_VN_LENGTH_UNIT, "ComboBox", "", dropList, 144, 144, 60, 80},
              {IDC_VN_AREA_LABEL, "Static", "面积:", label, 7, 165, 40, 10},
              {IDC_VN_AREA, "Edit", "", readOnly, 50, 163, 90, 13},
              {IDC_VN_AREA_UNIT, "ComboBox", "", dropList, 144, 163, 60, 80},
              {IDC_STATIC, "Button", "显示方式:", BS_GROUPBOX, 214, 100, 81, 60, 0, true},
              {IDC_VN_BY_LAYER, "Button", "按图层风格", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 220, 112,
               70, 10, 0, true},
              {IDC_VN_BY_CLASS, "Button", "按地物类风格", BS_AUTORADIOBUTTON, 220, 126, 70, 10, 0, true},
              {IDC_VN_BY_SELF, "Button", "按自身风格", BS_AUTORADIOBUTTON, 220, 140, 70, 10, 0, true}}});
        return true;
    }();
    (void)registered;
}
