// The templates of the DEM dialogs: the level dialog (2026), the equal-split count (2027) and the BIL
// parameters (2013). Registered once, by the first dialog constructed; calling again does nothing.
#pragma once

enum {
    IDD_DEM_LEVEL = 2026,
    IDD_LEVEL_COUNT = 2027,
    IDD_BIL_PARAM = 2013,

    IDC_DEM_CLASS_LIST = 1035,
    IDC_DEM_ADD = 1011,
    IDC_DEM_DELETE = 1012,
    IDC_DEM_SPLIT = 1013,
    IDC_DEM_COLOUR = 1047,
    IDC_DEM_LOWER = 1050,
    IDC_DEM_UPPER = 1051,
    IDC_DEM_BAR = 1052,
    IDC_DEM_LOWER_UNIT = 1053,
    IDC_DEM_UPPER_UNIT = 1054,
    IDC_DEM_CONFIRM = 1183,
    IDC_LEVEL_COUNT = 1046,
    IDC_BIL_HZOOM = 1000,
    IDC_BIL_INVALID = 1001,
};

void RegisterDemDialogTemplates();
