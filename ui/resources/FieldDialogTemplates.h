// The templates of the field dialogs (2031 field properties, 2000 raw field definition) and of the
// field page (2025). Registered once, by the first dialog or page constructed; calling again does
// nothing.
#pragma once

enum {
    IDD_FIELD_PROP = 2031,
    IDC_FIELD_NAME = 1024,
    IDC_FIELD_TYPE = 1025,
    IDC_FIELD_DEFAULT = 1027,
    IDC_FIELD_REQUIRED = 1029,
    IDC_FIELD_LENGTH_LABEL = 1040,
    IDC_FIELD_LENGTH = 1116,
    IDC_FIELD_INPUT_WIDTH = 1117,
    IDC_FIELD_DECIMALS = 1118,

    IDD_FIELD_DEF = 2000,
    IDC_FIELDDEF_NAME = 1024,
    IDC_FIELDDEF_TYPE = 1025,
    IDC_FIELDDEF_SIZE = 1026,
    IDC_FIELDDEF_DEFAULT = 1027,
    IDC_FIELDDEF_ZEROLENGTH = 1028,
    IDC_FIELDDEF_REQUIRED = 1029,
    IDC_FIELDDEF_FIXED = 1030,
    IDC_FIELDDEF_VARIABLE = 1031,

    IDD_FIELD_PAGE = 2025,
    IDC_FIELDPAGE_ADD = 1136,
    IDC_FIELDPAGE_DELETE = 1137,
    IDC_FIELDPAGE_LIST = 1138,
    IDC_FIELDPAGE_EDIT = 1139,
    IDC_FIELDPAGE_UP = 1140,
    IDC_FIELDPAGE_DOWN = 1141,
    IDC_FIELDPAGE_INSERT = 1174,  // context menu only
};

void RegisterFieldDialogTemplates();
