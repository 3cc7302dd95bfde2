// Scripted steps on the layer's feature-class page, shared by its own tests and the layer sheet's.
#pragma once

#include <afx/afxtest.h>

#include <string>

#include "ui/LayerGCPage.h"

namespace layersheet_test {

inline int RowOfCode(CLayerGCPage& page, const char* code) {
    for (int r = 0; r < page.m_ListCtrl.GetItemCount(); ++r)
        if (std::string(page.m_ListCtrl.GetItemText(r, 1)) == code) return r;
    return -1;
}

// Gives the class of `code` the code `to` in the feature-class sheet ("属性").
inline void Renumber(afxtest::Session& s, CLayerGCPage& page, const char* code, const char* to) {
    s.ExpectSheet("地物属性", [to](CPropertySheet& gcs) {
        afxtest::Type(*gcs.GetPage(0), 1112, to);
        afxtest::Ok(gcs);
    });
    afxtest::ClickRow(&page.m_ListCtrl, RowOfCode(page, code));
    afxtest::Click(page, 1144);
}

// Deletes the class of `code` ("删除"), answering the question that contains `question`.
inline void DeleteClass(afxtest::Session& s, CLayerGCPage& page, const char* code, const char* question,
                        int answer = IDOK) {
    s.ExpectMessageBox(question, answer);
    afxtest::ClickRow(&page.m_ListCtrl, RowOfCode(page, code));
    afxtest::Click(page, 1143);
}

}  // namespace layersheet_test
