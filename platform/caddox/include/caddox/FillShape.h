// Caddox: the mapping of a display style's fill shape number to a GDI brush.
#pragma once

// The GDI hatch style (HS_HORIZONTAL 0 .. HS_DIAGCROSS 5) of a style's fill shape, or -1 for a solid
// brush. Fill shape 0 is solid; shapes 1 to 6 are the six hatch styles in order (1 horizontal,
// 2 vertical, 3 forward diagonal, 4 backward diagonal, 5 cross, 6 diagonal cross); every other number
// is solid.
int GetFillShape(int nFillShape);
