#include "pellion/TicPrecision.h"

int GetMaxTicPrecision() { return 6; }
