// The templates of the layer property sheet's own pages: the general page (2030) and the feature-class
// page (2022). Registered once, by the first page constructed; calling again does nothing.
#pragma once

enum {
    IDD_LAYER_NORMAL = 2030,
    IDC_LAYERN_AUTOSIZE = 1047,
    IDC_LAYERN_TYPE = 1015,
    IDC_LAYERN_BUILD_DATE = 1016,
    IDC_LAYERN_FILE = 1017,
    IDC_LAYERN_EDITABLE = 1019,
    IDC_LAYERN_GIS = 1053,
    IDC_LAYERN_CARTO = 1054,
    IDC_LAYERN_KIND_LABEL = 1057,
    IDC_LAYERN_SYMBOLIZED = 1062,
    IDC_LAYERN_THEMATIC = 1063,
    IDC_LAYERN_OBJECTS = 1098,
    IDC_LAYERN_NAME = 1099,

    IDD_LAYER_GC = 2022,
    IDC_LAYERGC_LIST = 1140,
    IDC_LAYERGC_NEW = 1141,
    IDC_LAYERGC_IMPORT = 1142,
    IDC_LAYERGC_DELETE = 1143,
    IDC_LAYERGC_PROPERTIES = 1144,
    // The command of the list's pop-up menu that deletes every class no object uses.
    ID_LAYERGC_DELETE_UNUSED = 147,
};

void RegisterLayerDialogTemplates();
