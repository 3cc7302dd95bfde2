#include "ui/resources/DemDialogTemplates.h"

#include <afx/DialogTemplate.h>

#include "ui/ColorListCtrl.h"

#ifndef SS_WHITEFRAME
#define SS_WHITEFRAME 0x09u
#endif

void RegisterDemDialogTemplates()
{
    static const bool registered = [] {
        const DWORD edit = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
        const DWORD button = BS_PUSHBUTTON | WS_TABSTOP;
        // The level dialog has no default button: Enter only checks the edit that has the focus.
        AfxRegisterDialogTemplate(
            {IDD_DEM_LEVEL, "分级设置", 193, 149, DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
             {{IDC_STATIC, "Button", "颜色和阈值设置", BS_GROUPBOX, 7, 7, 179, 112},
              {IDC_DEM_COLOUR, "Button", "", button, 13, 21, 58, 14},
              {IDC_DEM_BAR, "Static", "", SS_WHITEFRAME, 13, 45, 58, 33},
              {IDC_DEM_LOWER, "Edit", "", edit, 13, 83, 41, 13},
              {IDC_DEM_LOWER_UNIT, "Static", "米", SS_LEFT, 58, 83, 13, 12},
              {IDC_DEM_UPPER, "Edit", "", edit, 13, 101, 41, 13},
              {IDC_DEM_UPPER_UNIT, "Static", "米", SS_LEFT, 58, 101, 13, 12},
              {IDC_DEM_CLASS_LIST, "SysListView32", "",
               LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_OWNERDRAWFIXED | WS_BORDER | WS_TABSTOP, 78, 17,
               107, 82},
              {IDC_DEM_ADD, "Button", "增加", button, 78, 103, 28, 14},
              {IDC_DEM_DELETE, "Button", "删除", button, 116, 103, 28, 14},
              {IDC_DEM_SPLIT, "Button", "等分", button, 154, 103, 28, 14},
              {IDC_DEM_CONFIRM, "Button", "确定", button, 67, 129, 51, 14},
              {IDCANCEL, "Button", "取消", button, 129, 129, 51, 14}}});
        AfxRegisterDialogTemplate({IDD_LEVEL_COUNT, "等分阈值设置", 149, 51,
                                   DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                                   {{IDC_STATIC, "Static", "请设置等分级数：", SS_LEFT, 7, 7, 67, 12},
                                    {IDC_LEVEL_COUNT, "Edit", "", edit | ES_NUMBER, 80, 7, 62, 12},
                                    {IDOK, "Button", "确定", BS_DEFPUSHBUTTON | WS_TABSTOP, 21, 30, 50, 14},
                                    {IDCANCEL, "Button", "取消", button, 78, 30, 50, 14}}});
        AfxRegisterDialogTemplate({IDD_BIL_PARAM, "输入BIL参数", 135, 67,
                                   DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                                   {{IDC_STATIC, "Static", "高程放大因子:", SS_LEFT, 7, 9, 55, 12},
                                    {IDC_BIL_HZOOM, "Edit", "", edit, 66, 7, 62, 13},
                                    {IDC_STATIC, "Static", "高程无效值:", SS_LEFT, 7, 28, 55, 12},
                                    {IDC_BIL_INVALID, "Edit", "", edit, 66, 26, 62, 13},
                                    {IDOK, "Button", "确定", BS_DEFPUSHBUTTON | WS_TABSTOP, 42, 46, 50, 14}}});
        return true;
    }();
    (void)registered;
}
