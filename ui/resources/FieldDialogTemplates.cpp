#include "ui/resources/FieldDialogTemplates.h"

#include <afx/DialogTemplate.h>
#include <afx/ListCtrl.h>

void RegisterFieldDialogTemplates() {
    static const bool registered = [] {
        const DWORD label = SS_LEFT;
        const DWORD edit = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
        const DWORD button = BS_PUSHBUTTON | WS_TABSTOP;
        const DWORD dropList = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
        AfxRegisterDialogTemplate(
            {IDD_FIELD_PROP, "字段属性", 164, 143, DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
             {{IDC_STATIC, "Static", "字段名", label, 7, 9, 45, 10},
              {IDC_FIELD_NAME, "Edit", "", edit, 55, 7, 102, 13},
              {IDC_STATIC, "Static", "字段类型", label, 7, 26, 45, 10},
              {IDC_FIELD_TYPE, "ComboBox", "", dropList, 55, 24, 102, 80},
              {IDC_FIELD_LENGTH_LABEL, "Static", "字段长度", label, 7, 43, 45, 10},
              {IDC_FIELD_LENGTH, "Edit", "", edit, 55, 41, 102, 13},
              {IDC_STATIC, "Static", "输入宽度", label, 7, 60, 45, 10},
              {IDC_FIELD_INPUT_WIDTH, "Edit", "", edit, 55, 58, 102, 13},
              {IDC_STATIC, "Static", "小数位数", label, 7, 77, 45, 10},
              {IDC_FIELD_DECIMALS, "Edit", "", edit, 55, 75, 102, 13},
              {IDC_STATIC, "Static", "缺省值", label, 7, 94, 45, 10},
              {IDC_FIELD_DEFAULT, "Edit", "", edit, 55, 92, 102, 13},
              {IDC_STATIC, "Static", "必填字段", label, 7, 111, 45, 10},
              {IDC_FIELD_REQUIRED, "ComboBox", "", dropList, 55, 109, 102, 40, 0, false, "否\n是"},
              {IDOK, "Button", "确定", BS_DEFPUSHBUTTON | WS_TABSTOP, 30, 124, 50, 14},
              {IDCANCEL, "Button", "取消", button, 86, 124, 50, 14}}});
        AfxRegisterDialogTemplate(
            {IDD_FIELD_DEF, "增加字段", 195, 126, DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
             {{IDC_STATIC, "Button", "字段信息：", BS_GROUPBOX, 7, 7, 116, 112},
              {IDC_STATIC, "Static", "字段名称：", label, 13, 20, 50, 10},
              {IDC_FIELDDEF_NAME, "Edit", "", edit, 13, 31, 104, 13},
              {IDC_FIELDDEF_TYPE, "ComboBox", "", dropList, 13, 49, 104, 90},
              {IDC_STATIC, "Static", "字段尺寸：", label, 13, 67, 50, 10},
              {IDC_FIELDDEF_SIZE, "Edit", "", edit, 63, 65, 54, 13},
              {IDC_STATIC, "Static", "字段缺省值:", label, 13, 85, 104, 10},
              {IDC_FIELDDEF_DEFAULT, "Edit", "", edit, 13, 97, 104, 13},
              {IDC_STATIC, "Button", "字段特征值：", BS_GROUPBOX, 129, 7, 59, 72},
              {IDC_FIELDDEF_ZEROLENGTH, "Button", "允许空值", BS_AUTOCHECKBOX | WS_TABSTOP, 135, 20, 50, 10},
              {IDC_FIELDDEF_REQUIRED, "Button", "必须赋值", BS_AUTOCHECKBOX | WS_TABSTOP, 135, 34, 50, 10},
              {IDC_FIELDDEF_FIXED, "Button", "长度固定", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 135, 48, 50, 10},
              {IDC_FIELDDEF_VARIABLE, "Button", "长度可变", BS_AUTORADIOBUTTON, 135, 62, 50, 10},
              {IDOK, "Button", "确定(&O)", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 135, 86, 53, 14},
              {IDCANCEL, "Button", "取消(&C)", button, 135, 105, 53, 14}}});
        AfxRegisterDialogTemplate(
            {IDD_FIELD_PAGE, "属性信息", 303, 203, WS_CHILD | WS_CAPTION,
             {{IDC_FIELDPAGE_LIST, "SysListView32", "",
               LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP, 7, 7, 289, 166},
              {IDC_FIELDPAGE_ADD, "Button", "增加", button, 7, 180, 50, 14},
              {IDC_FIELDPAGE_DELETE, "Button", "删除", button, 66, 180, 50, 14},
              {IDC_FIELDPAGE_EDIT, "Button", "编辑", button, 125, 180, 50, 14},
              {IDC_FIELDPAGE_UP, "Button", "上移", button, 187, 180, 50, 14},
              {IDC_FIELDPAGE_DOWN, "Button", "下移", button, 246, 180, 50, 14}}});
        return true;
    }();
    (void)registered;
}
