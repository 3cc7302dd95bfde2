// Precision of the tick values (grid and sheet-corner coordinates) that Pellion formats: the number of
// digits after the decimal point of a value in metres.
#pragma once

// The largest precision Pellion supports: 6 (micrometres). Settings refuse larger values.
int GetMaxTicPrecision();
