// Ostrel: the list of installed type faces a dialog offers.
#pragma once

#include "afx/StdCtrls.h"
#include "afx/String.h"

// Empties the combo box and adds the name of every installed face (GBK), each once, in the order the
// system gives them (a sorted combo box sorts them itself). Then selects the item whose text equals
// strFace ignoring case; when no item does (or strFace is empty) nothing is selected. The number of
// faces added; 0 when pCombo has no window.
int UpdateFontComboBox(CComboBox* pCombo, const CString& strFace);
