// The template of the vector-object sheet's general page (2009 "常规"). Registered once, by the first
// page constructed; calling again does nothing.
#pragma once

enum {
    IDD_VECTOR_NORMAL = 2009,
    IDC_VN_NAME = 1000,
    IDC_VN_TYPE = 1037,
    IDC_VN_LAYER = 1038,
    IDC_VN_CLASS_NAME = 1039,
    IDC_VN_CLASS_CODE = 1040,
    IDC_VN_PICK_CLASS = 1041,
    IDC_VN_BY_LAYER = 1042,
    IDC_VN_BY_CLASS = 1043,
    IDC_VN_BY_SELF = 1044,
    IDC_VN_ATTRIBUTES = 1045,
    IDC_VN_FACE = 1046,
    IDC_VN_CONTROL_POINTS = 1048,
    IDC_VN_INTERP_POINTS = 1049,
    IDC_VN_CONTROL_LABEL = 1050,
    IDC_VN_INTERP_LABEL = 1051,
    IDC_VN_ELEVATION = 1052,
    IDC_VN_ANGLE = 1053,
    IDC_VN_ANGLE_LABEL = 1054,
    IDC_VN_LENGTH = 1055,
    IDC_VN_LENGTH_UNIT = 1056,
    IDC_VN_AREA = 1057,
    IDC_VN_AREA_UNIT = 1058,
    IDC_VN_LENGTH_LABEL = 1059,
    IDC_VN_AREA_LABEL = 1060,
};

void RegisterObjectDialogTemplates();
