// Caddox: the colour picker alone. It is one of the picker family of Pickers.h; this header keeps the
// name its message has where a dialog waits for the person's choice of colour.
#pragma once

#include "caddox/Pickers.h"

// The message a picker sends to its parent after the person chose a colour (CPN_COLOURCHANGED).
const UINT CPN_SELCHANGE_MSG = CPN_COLOURCHANGED;
