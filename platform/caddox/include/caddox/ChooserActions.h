// The scripted user (afxtest.h) at a picker: a click on it, and in the chooser that opens what a person
// does to take a value. Each needs an active session and returns false, with the session told, when the
// picker cannot be reached (disabled, hidden, not a picker) or the value cannot be picked.
#pragma once

#include <afx/afxtest.h>

namespace afxtest {

// The colour's cell of the palette clicked when the palette holds it, else its red, green and blue typed
// into the fields; then OK.
bool ChooseColour(CWnd& parent, int id, COLORREF cr);
// The width's row clicked when it is one of the rows, else the width typed into the field; then OK.
bool ChooseWidth(CWnd& parent, int id, float width);
// The marker's cell clicked (0 .. CADDOX_MARKER_COUNT - 1); then OK.
bool ChooseMarker(CWnd& parent, int id, int marker);
// The chooser opened by a click on the picker and left with Cancel.
bool CancelChooser(CWnd& parent, int id);

}  // namespace afxtest
