#include "ui/resources/LayerDialogTemplates.h"

#include <afx/DialogTemplate.h>

void RegisterLayerDialogTemplates() {
    static const bool registered = [] {
        const DWORD label = SS_LEFT;
        const DWORD edit = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
        const DWORD readOnly = ES_AUTOHSCROLL | ES_READONLY | WS_BORDER | WS_TABSTOP;
        const DWORD button = BS_PUSHBUTTON | WS_TABSTOP;
        const DWORD check = BS_AUTOCHECKBOX | WS_TABSTOP;
        const DWORD page = WS_CHILD | WS_CAPTION;
        AfxDlgItem autoSize{IDC_LAYERN_AUTOSIZE, "Button", "范围自动跟踪", check, 7, 154, 80, 10};
        autoSize.hidden = true;
        AfxRegisterDialogTemplate(
            {IDD_LAYER_NORMAL, "常规属性", 302, 203, page,
             {{IDC_STATIC, "Static", "图层文件", label, 7, 9, 40, 10},
              {IDC_LAYERN_FILE, "Edit", "", readOnly, 50, 7, 245, 13},
              {IDC_STATIC, "Static", "图层名称", label, 7, 29, 40, 10},
              {IDC_LAYERN_NAME, "Edit", "", edit, 50, 27, 245, 13},
              {IDC_STATIC, "Static", "图层类型", label, 7, 49, 40, 10},
              {IDC_LAYERN_TYPE, "Edit", "", readOnly, 50, 47, 95, 13},
              {IDC_STATIC, "Static", "创建时间", label, 157, 49, 40, 10},
              {IDC_LAYERN_BUILD_DATE, "Edit", "", readOnly, 200, 47, 95, 13},
              {IDC_STATIC, "Static", "附属对象", label, 7, 69, 40, 10},
              {IDC_LAYERN_OBJECTS, "Edit", "", edit | WS_DISABLED, 50, 67, 95, 13},
              {IDC_STATIC, "Static", "", SS_ETCHEDHORZ, 7, 88, 288, 1},
              {IDC_LAYERN_KIND_LABEL, "Static", "图层数据类型:", label, 7, 100, 60, 10},
              {IDC_LAYERN_GIS, "Button", "GIS数据", check, 70, 99, 50, 10},
              {IDC_LAYERN_CARTO, "Button", "制图数据", check, 130, 99, 50, 10},
              {IDC_LAYERN_SYMBOLIZED, "Button", "符号化数据层", check, 70, 117, 70, 10},
              {IDC_LAYERN_THEMATIC, "Button", "专题图层", check, 7, 136, 60, 10},
              autoSize,
              {IDC_LAYERN_EDITABLE, "Button", "可编辑", check, 7, 172, 60, 10}}});
        AfxRegisterDialogTemplate(
            {IDD_LAYER_GC, "地物类", 302, 203, page,
             {{IDC_LAYERGC_LIST, "SysListView32", "", LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP, 7, 7,
               288, 166},
              {IDC_LAYERGC_NEW, "Button", "新建", button, 7, 180, 50, 14},
              {IDC_LAYERGC_IMPORT, "Button", "导入", button, 66, 180, 50, 14},
              {IDC_LAYERGC_DELETE, "Button", "删除", button, 125, 180, 50, 14},
              {IDC_LAYERGC_PROPERTIES, "Button", "属性", button, 245, 180, 50, 14}}});
        return true;
    }();
    (void)registered;
}
