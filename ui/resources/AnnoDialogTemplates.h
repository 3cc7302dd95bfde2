// The templates of the annotation text page (2015) and of its dialogs: box margins (2034), formatted-text
// spacing (2040) and insert character (2041). Registered once, by the first of them constructed; calling
// again does nothing.
#pragma once

enum {
    IDD_ANNO_TEXT_PAGE = 2015,
    IDD_GEO_RECT = 2034,
    IDD_GEO_FORMAT = 2040,
    IDD_INSERT_CHAR = 2041,
};

void RegisterAnnoDialogTemplates();
