// Fixed-width text for reports. Widths count bytes (a two-byte character is two columns wide in a
// monospace Chinese font); text already as wide as width or wider comes back unchanged.
#pragma once

#include <afx/afx.h>

// The text padded with blanks on the right to width bytes.
CString GetLeftString(CString text, int width);
// The text centred in width bytes: half the padding (rounded down) on the left, the rest on the right.
CString GetCenterString(CString text, int width);
// The text n times; "" for n <= 0.
CString DupString(CString text, int n);
