#include "ui/resources/RasterDialogTemplates.h"

#include <afx/DialogTemplate.h>

void RegisterRasterDialogTemplates()
{
    static const bool registered = [] {
        const DWORD edit = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
        const DWORD shown = ES_AUTOHSCROLL | ES_READONLY | WS_BORDER | WS_TABSTOP;
        const DWORD button = BS_PUSHBUTTON | WS_TABSTOP;
        AfxRegisterDialogTemplate(
            {IDD_IMAGE_PROPERTY, "图像属性", 217, 167, DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
             {{IDC_STATIC, "Static", "对象名称:", SS_LEFT, 10, 10, 40, 10},
              {IDC_IMAGE_NAME, "Edit", "", edit, 54, 8, 150, 13},
              {IDC_STATIC, "Static", "文件名:", SS_LEFT, 10, 28, 40, 10},
              {IDC_IMAGE_FILE, "Edit", "", shown, 54, 26, 150, 13},
              {IDC_STATIC, "Button", "图像尺寸:", BS_GROUPBOX, 7, 44, 100, 50},
              {IDC_STATIC, "Static", "宽度:", SS_LEFT, 13, 58, 24, 10},
              {IDC_IMAGE_WIDTH, "Edit", "", shown, 39, 56, 40, 13},
              {IDC_STATIC, "Static", "像素", SS_LEFT, 83, 58, 18, 10},
              {IDC_STATIC, "Static", "高度:", SS_LEFT, 13, 76, 24, 10},
              {IDC_IMAGE_HEIGHT, "Edit", "", shown, 39, 74, 40, 13},
              {IDC_STATIC, "Static", "像素", SS_LEFT, 83, 76, 18, 10},
              {IDC_STATIC, "Button", "扫描分辨率:", BS_GROUPBOX, 111, 44, 100, 50},
              {IDC_STATIC, "Static", "横向:", SS_LEFT, 117, 58, 24, 10},
              {IDC_IMAGE_XDPI, "Edit", "", edit, 143, 56, 40, 13},
              {IDC_STATIC, "Static", "dpi", SS_LEFT, 187, 58, 18, 10},
              {IDC_STATIC, "Static", "纵向:", SS_LEFT, 117, 76, 24, 10},
              {IDC_IMAGE_YDPI, "Edit", "", edit, 143, 74, 40, 13},
              {IDC_STATIC, "Static", "dpi", SS_LEFT, 187, 76, 18, 10},
              {IDC_STATIC, "Static", "比例尺:  1  :  ", SS_LEFT, 10, 104, 60, 10},
              {IDC_IMAGE_SCALE, "Edit", "", edit, 72, 102, 70, 13},
              {IDC_IMAGE_RESET, "Button", "重置(&R)", button, 150, 101, 54, 14},
              {IDOK, "Button", "确定(&O)", BS_DEFPUSHBUTTON | WS_TABSTOP, 46, 140, 54, 14},
              {IDCANCEL, "Button", "取消(&C)", button, 117, 140, 54, 14}}});
        AfxRegisterDialogTemplate(
            // Wide enough for the five column headings of the point list side by side.
            {IDD_MOSAIC_LINE_PROPERTY, "接边线属性", 301, 167, DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
             {{IDC_STATIC, "Static", "线属图对象", SS_LEFT, 7, 9, 42, 10},
              {IDC_MOSAIC_LAYER, "Edit", "", shown, 52, 7, 92, 13},
              {IDC_STATIC, "Static", "线接点总数", SS_LEFT, 154, 9, 42, 10},
              {IDC_MOSAIC_COUNT, "Edit", "", shown, 199, 7, 95, 13},
              {IDC_STATIC, "Static", "头接点名称", SS_LEFT, 7, 27, 42, 10},
              {IDC_MOSAIC_HEAD, "Edit", "", shown, 52, 25, 92, 13},
              {IDC_STATIC, "Static", "尾接点名称", SS_LEFT, 154, 27, 42, 10},
              {IDC_MOSAIC_TAIL, "Edit", "", shown, 199, 25, 95, 13},
              {IDC_MOSAIC_POINTS, "SysListView32", "", LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP,
               7, 44, 287, 97},
              {IDOK, "Button", "确定", BS_DEFPUSHBUTTON | WS_TABSTOP, 125, 147, 50, 14}}});
        return true;
    }();
    (void)registered;
}
