#include "ui/StyleTypeLists.h"

#include <caddox/Pickers.h>

namespace {

// The list holds no strings: each item is only its data, which the list draws.
void Refill(CComboBox& box, int nFirst, int nLast, int nCurrent) {
    box.ResetContent();
    int selected = -1;
    for (int data = nFirst; data <= nLast; ++data) {
        const int index = box.AddString("");
        if (index < 0) continue;
        box.SetItemData(index, static_cast<DWORD_PTR>(data));
        if (data == nCurrent) selected = index;
    }
    box.SetCurSel(selected);
}

}  // namespace

void UpdateLineStyleComboBox(CLineStyleBox& box, DWORD crColour, int nCurrent) {
    Refill(box, 3, 7, nCurrent);
    box.m_crColor = crColour;
    box.Invalidate();
}

void UpdateFaceStyleComboBox(CFillTypeComboBox& box, DWORD crColour, int nCurrent) {
    Refill(box, 0, 6, nCurrent);
    box.m_crColor = crColour;
    box.Invalidate();
}
