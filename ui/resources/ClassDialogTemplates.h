// The templates of the feature-class dialogs: the class info dialog (2032), the class selection (2024),
// the general page of the feature-class sheet (2023) and the feature-class picker (2010). Registered
// once, by the first dialog or page constructed; calling again does nothing.
#pragma once

enum {
    IDD_GC_INFO = 2032,
    IDC_GCINFO_LAYER = 1098,
    IDC_GCINFO_NAME = 1099,
    IDC_GCINFO_CODE = 1112,
    IDC_GCINFO_LAYER_LABEL = 1151,

    IDD_SELECT_GC = 2024,
    IDC_SELGC_AVAILABLE = 1148,
    IDC_SELGC_CHOSEN = 1149,
    IDC_SELGC_ADD = 1150,
    IDC_SELGC_ADD_ALL = 1151,
    IDC_SELGC_REMOVE_ALL = 1152,
    IDC_SELGC_REMOVE = 1153,

    IDD_GC_NORMAL = 2023,
    IDC_GCN_POINT = 1018,
    IDC_GCN_LINE = 1019,
    IDC_GCN_ANNO = 1020,
    IDC_GCN_ELEVATION = 1021,
    IDC_GCN_POINT_DIRECTED = 1023,
    IDC_GCN_LINE_DIRECTED = 1024,
    IDC_GCN_IDPOINT = 1041,
    IDC_GCN_FILLED = 1042,
    IDC_GCN_GIS = 1055,
    IDC_GCN_CARTO = 1056,
    IDC_GCN_NAME = 1098,
    IDC_GCN_MIN_SCALE = 1100,
    IDC_GCN_MAX_SCALE = 1101,
    IDC_GCN_CODE = 1112,
    IDC_GCN_LIMIT_SCALE = 1142,

    IDD_PICK_GC = 2010,
    IDC_PICKGC_NAME = 1000,
    IDC_PICKGC_CODE = 1001,
    IDC_PICKGC_LIST = 1055,
    IDC_PICKGC_BY_NAME = 1057,
    IDC_PICKGC_BY_CODE = 1058,
    IDC_PICKGC_NEW = 1059,
    IDC_PICKGC_PROPERTIES = 1060,
};

void RegisterClassDialogTemplates();
