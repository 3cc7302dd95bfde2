// Caddox: the mapping of a display style's line shape to a GDI pen style.
#pragma once

// The CreatePen style of a style's line shape: its style bits (PS_STYLE_MASK) when they name one of the
// styles PS_SOLID .. PS_INSIDEFRAME, else PS_SOLID. End-cap and join bits are dropped (a cosmetic pen
// has none).
int GetLineShape(int nLineShape);
