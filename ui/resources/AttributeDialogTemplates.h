// The template of the attribute value dialog (2016): four rows, each with a marker, a field name, an
// edit, a date picker and a "否/是" list laid over a hidden placeholder, a vertical scroll bar, and the
// buttons. Registered once, by the first dialog constructed; calling again does nothing.
#pragma once

enum {
    IDD_ADB_VALUE = 2016,

    IDC_ADB_SCROLL = 1253,
    IDC_ADB_DELETE = 1012,
    IDC_ADB_SPLIT = 1031,
};

// Control ids of row 0 to 3.
extern const int g_nADBMarkerIDs[4];       // 1017, 1016, 1015, 1014
extern const int g_nADBNameIDs[4];         // 1252, 1251, 1250, 1245
extern const int g_nADBEditIDs[4];         // 1098, 1099, 1100, 1101
extern const int g_nADBDateIDs[4];         // 1254, 1256, 1258, 1260
extern const int g_nADBListIDs[4];         // 1255, 1257, 1259, 1261
extern const int g_nADBPlaceholderIDs[4];  // 1247, 1248, 1249, 1246

void RegisterAttributeDialogTemplates();
