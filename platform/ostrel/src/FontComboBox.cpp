#include "ostrel/FontComboBox.h"

#include <win32/gdirecord.h>

int UpdateFontComboBox(CComboBox* pCombo, const CString& strFace) {
    if (!pCombo || !pCombo->GetSafeHwnd()) return 0;
    pCombo->ResetContent();
    int added = 0;
    for (const std::string& face : win32::GetInstalledFaceNames())
        if (pCombo->AddString(face.c_str()) >= 0) ++added;
    pCombo->SetCurSel(strFace.IsEmpty() ? -1 : pCombo->FindStringExact(-1, strFace));
    return added;
}
