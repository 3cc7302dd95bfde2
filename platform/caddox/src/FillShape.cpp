#include "caddox/FillShape.h"

int GetFillShape(int nFillShape) {
    if (nFillShape >= 1 && nFillShape <= 6) return nFillShape - 1;
    return -1;
}
