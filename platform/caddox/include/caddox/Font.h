// Caddox: making a font for drawing markers and samples.
#pragma once

#include <afx/afx.h>

// Creates into *pFont the font of face strFace (GBK; "" lets the font mapper choose) whose characters
// are lHeight logical units of pDC high (the em height; the sign is ignored) and lWidth units wide on
// average (0: the face's own proportion), with the character set byCharSet (for example
// SYMBOL_CHARSET 2 for a marker font). Normal weight, upright, no underline or strike-out. A font
// pFont already holds is deleted first. pDC is only the caller's context and may be NULL: the sizes are
// logical units whatever its mapping mode. TRUE on success; FALSE when pFont is NULL or the font cannot
// be made (pFont is then empty).
BOOL CreateFontA(CDC* pDC, CFont* pFont, LONG lHeight, LONG lWidth, BYTE byCharSet, CString strFace);
