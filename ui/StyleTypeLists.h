// Filling the owner-drawn line-type and fill-type lists of the style pages.
#pragma once

#include <afx/afx.h>

class CLineStyleBox;
class CFillTypeComboBox;

// Empties the list, adds one item per line type with the data 3, 4, 5, 6 and 7 in that order, draws
// them in crColour and selects the item whose data equals nCurrent (none when no item does).
void UpdateLineStyleComboBox(CLineStyleBox& box, DWORD crColour, int nCurrent);
// The same with the fill types 0 to 6 (solid, then the six hatches).
void UpdateFaceStyleComboBox(CFillTypeComboBox& box, DWORD crColour, int nCurrent);
