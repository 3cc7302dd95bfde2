// The templates of the raster property dialogs: the image's (2001) and the mosaic line's (2014).
// Registered once, by the first dialog constructed; calling again does nothing.
#pragma once

enum {
    IDD_IMAGE_PROPERTY = 2001,
    IDD_MOSAIC_LINE_PROPERTY = 2014,

    IDC_IMAGE_NAME = 1001,
    IDC_IMAGE_FILE = 1002,
    IDC_IMAGE_WIDTH = 1003,
    IDC_IMAGE_HEIGHT = 1004,
    IDC_IMAGE_XDPI = 1005,
    IDC_IMAGE_YDPI = 1006,
    IDC_IMAGE_SCALE = 1007,
    IDC_IMAGE_RESET = 1008,

    IDC_MOSAIC_LAYER = 1002,
    IDC_MOSAIC_HEAD = 1003,
    IDC_MOSAIC_TAIL = 1004,
    IDC_MOSAIC_COUNT = 1005,
    IDC_MOSAIC_POINTS = 1011,
};

void RegisterRasterDialogTemplates();
