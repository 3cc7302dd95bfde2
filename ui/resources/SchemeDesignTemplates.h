// The scheme designer's template (2021, "方案设计") and the pictures of its tree (bitmap 180: eight
// 16 x 16 images on white, root, scheme, layer and class, each normal then selected), with the ids of
// the designer's controls and commands. Registered when the library is loaded.
#pragma once

enum {
    IDD_SCHEMA_DESIGN = 2021,
    IDB_SCHEME_TREE = 180,

    // Controls.
    IDC_SD_TREE = 1108,
    IDC_SD_FIELDS = 1109,
    IDC_SD_POINT_STYLE = 1038,
    IDC_SD_LINE_STYLE = 1039,
    IDC_SD_FILL_STYLE = 1040,
    IDC_SD_ANNO_STYLE = 1041,
    IDC_SD_ANNO_VIEW = 1113,
    IDC_SD_LINE_VIEW = 1114,
    IDC_SD_FILL_VIEW = 1115,
    IDC_SD_FILL_SYMBOL = 1116,
    IDC_SD_LINE_SYMBOL = 1117,
    IDC_SD_POINT_VIEW = 1118,
    IDC_SD_POINT_SYMBOL = 1119,
    IDC_SD_LIMIT_SCALE = 1142,
    IDC_SD_MIN_SCALE = 1098,
    IDC_SD_MAX_SCALE = 1100,
    IDC_SD_POINT = 1018,
    IDC_SD_LINE = 1019,
    IDC_SD_ANNO = 1020,
    IDC_SD_ELEVATION = 1021,
    IDC_SD_POINT_DIRECTED = 1023,
    IDC_SD_LINE_DIRECTED = 1024,
    IDC_SD_IDENT_POINT = 1042,
    IDC_SD_FILLED = 1043,
    IDC_SD_GIS_DATA = 1058,
    IDC_SD_MAP_DATA = 1059,
    IDC_SD_SYMBOL_LIB = 1389,
    IDC_SD_SYMBOL_SCALE = 1390,
    IDC_SD_LIB_BROWSE = 1369,
    IDC_SD_LIB_RELOAD = 1431,

    // Tree commands.
    ID_SD_TREE_NEW = 1124,
    ID_SD_TREE_SAVE = 1125,
    ID_SD_TREE_SAVEAS = 1126,
    ID_SD_TREE_SAVEALL = 1127,
    ID_SD_TREE_INPUT = 1128,
    ID_SD_TREE_COPY = 1129,
    ID_SD_TREE_PASTE = 1130,
    ID_SD_TREE_PROP = 1131,
    ID_SD_TREE_DEL = 1132,
    ID_SD_TREE_RENAME = 1133,  // also the hidden default button, so Enter renames
    ID_SD_TREE_COPYFIELD = 1138,
    ID_SD_TREE_PASTEFIELD = 1139,
    ID_SD_TREE_COPYSTYLE = 1140,
    ID_SD_TREE_PASTESTYLE = 1141,
    ID_SD_TREE_REPORT = 1175,
    ID_SD_SORT_NAME = 1176,
    ID_SD_SORT_CODE = 1177,
    ID_SD_SORT_NONE = 1178,

    // Field-list commands.
    ID_SD_FIELD_NEW = 1134,
    ID_SD_FIELD_EDIT = 1135,
    ID_SD_FIELD_DEL = 1136,
    ID_SD_FIELD_INSERT = 1137,
    ID_SD_FIELD_COPY = 1161,
    ID_SD_FIELD_PASTE = 1162,

    // Commands of the right-drop popup.
    ID_SD_RDROP_CANCEL = 1156,
    ID_SD_RDROP_COPYLAYER = 1157,
    ID_SD_RDROP_COPYGC = 1158,
    ID_SD_RDROP_MOVELAYER = 1159,
};
