#include "caddox/ChooserActions.h"

#include "caddox/Choosers.h"
#include "caddox/DrawPoint.h"
#include "caddox/Pickers.h"

#include <cstdio>

namespace afxtest {
namespace {

void Tell(const std::string& why) {
    if (Session* s = Current()) s->Fail(why);
    else std::fprintf(stderr, "[afxtest] %s\n", why.c_str());
}

// The picker of the kind at parent's control id, or NULL (told).
template <class T>
T* PickerAt(CWnd& parent, int id, const char* what) {
    CWnd* c = parent.GetDlgItem(id);
    T* p = c ? dynamic_cast<T*>(CWnd::FromHandlePermanent(c->m_hWnd)) : nullptr;
    if (!p) Tell(std::string(what) + ": control " + std::to_string(id) + " is not such a picker");
    return p;
}

bool ClickCell(CDialog& d, int cell) {
    auto* grid = dynamic_cast<CChooserGrid*>(CWnd::FromHandlePermanent(d.GetDlgItem(CADDOX_IDC_CHOOSER_GRID)->m_hWnd));
    if (!grid) return false;
    const CPoint c = grid->GetCellRect(cell).CenterPoint();
    return Mouse(grid, WM_LBUTTONDOWN, c, MK_LBUTTON) && Mouse(grid, WM_LBUTTONUP, c, 0);
}

// Clicks the picker with the chooser's answer scripted; whether it ended with OK.
bool Run(CWnd& parent, int id, UINT idd, std::function<bool(CDialog&)> act, const char* what) {
    Session* s = Current();
    if (!s) {
        Tell(std::string(what) + ": no session");
        return false;
    }
    bool ok = false;
    const bool opened = s->OpenDialog(
        idd, [&](CDialog& d) { ok = act(d) && Ok(d) && d.IsEnded(); }, [&] { return Click(parent, id); });
    if (opened && !ok) Tell(std::string(what) + ": the chooser did not take the value");
    return opened && ok;
}

}  // namespace

bool ChooseColour(CWnd& parent, int id, COLORREF cr) {
    if (!PickerAt<CColourPicker>(parent, id, "ChooseColour")) return false;
    cr &= 0xFFFFFF;
    return Run(parent, id, CADDOX_IDD_COLOUR_CHOOSER, [cr](CDialog& d) {
        const int cell = CColourChooser::PaletteIndex(cr);
        if (cell >= 0) return ClickCell(d, cell);
        return Type(d, CADDOX_IDC_CHOOSER_RED, std::to_string(GetRValue(cr))) &&
               Type(d, CADDOX_IDC_CHOOSER_GREEN, std::to_string(GetGValue(cr))) &&
               Type(d, CADDOX_IDC_CHOOSER_BLUE, std::to_string(GetBValue(cr)));
    }, "ChooseColour");
}

bool ChooseWidth(CWnd& parent, int id, float width) {
    if (!PickerAt<CLineWidthPicker>(parent, id, "ChooseWidth")) return false;
    return Run(parent, id, CADDOX_IDD_WIDTH_CHOOSER, [width](CDialog& d) {
        const int row = CLineWidthChooser::WidthIndex(width);
        if (row >= 0) return ClickCell(d, row);
        char buf[32];
        std::snprintf(buf, sizeof buf, "%g", static_cast<double>(width));
        return Type(d, CADDOX_IDC_CHOOSER_WIDTH, buf);
    }, "ChooseWidth");
}

bool ChooseMarker(CWnd& parent, int id, int marker) {
    if (!PickerAt<CNonSymbPntPicker>(parent, id, "ChooseMarker")) return false;
    if (marker < 0 || marker >= CADDOX_MARKER_COUNT) {
        Tell("ChooseMarker: the chooser has no marker " + std::to_string(marker));
        return false;
    }
    return Run(parent, id, CADDOX_IDD_MARKER_CHOOSER, [marker](CDialog& d) { return ClickCell(d, marker); }, "ChooseMarker");
}

bool CancelChooser(CWnd& parent, int id) {
    Session* s = Current();
    CWnd* c = parent.GetDlgItem(id);
    auto* p = c ? dynamic_cast<CCaddoxPicker*>(CWnd::FromHandlePermanent(c->m_hWnd)) : nullptr;
    if (!s || !p) {
        Tell("CancelChooser: control " + std::to_string(id) + " is not a picker");
        return false;
    }
    const UINT idd = dynamic_cast<CColourPicker*>(p) ? CADDOX_IDD_COLOUR_CHOOSER
                     : dynamic_cast<CLineWidthPicker*>(p) ? CADDOX_IDD_WIDTH_CHOOSER
                                                           : CADDOX_IDD_MARKER_CHOOSER;
    return s->OpenDialog(idd, [](CDialog& d) { Cancel(d); }, [&] { return Click(parent, id); });
}

}  // namespace afxtest
