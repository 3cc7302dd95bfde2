#include "caddox/LineShape.h"

#include <win32/wingdi.h>

int GetLineShape(int nLineShape) {
    const int style = nLineShape & PS_STYLE_MASK;
    return style <= PS_INSIDEFRAME ? style : PS_SOLID;
}
