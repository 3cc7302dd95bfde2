#include "caddox/Font.h"

#include <cstdlib>

BOOL CreateFontA(CDC*, CFont* pFont, LONG lHeight, LONG lWidth, BYTE byCharSet, CString strFace) {
    if (!pFont) return FALSE;
    pFont->DeleteObject();
    // A negative height asks the font mapper for the character (em) height rather than the cell height.
    return pFont->CreateFont(-std::abs(lHeight), std::abs(lWidth), 0, 0, FW_NORMAL, 0, 0, 0, byCharSet,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                             strFace);
}
