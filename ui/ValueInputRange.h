// The range check of the value input dialog (CValueInputDlg), apart from its window.
//
// Range modes: 0 the value must lie between the minimum and the maximum (both included), 1 it must be at
// least the minimum, 2 at most the maximum, 3 nothing is checked. The messages say "大于" and "小于"
// although a value equal to the bound passes.
#pragma once

#include <afx/afx.h>

// A mode outside 0..3 becomes 3.
int ClampValueRangeMode(int nMode);

// TRUE when lValue passes the mode's check (a mode outside 0..3 checks nothing); otherwise FALSE with
// the message in *pstrMessage (when given): "输入值应在%d和%d之间!" (min, max), "输入值应大于%d!" (min)
// or "输入值应小于%d!" (max).
BOOL CheckValueInRange(LONG lValue, LONG lMin, LONG lMax, int nMode, CString* pstrMessage);

// The same for a float, with "%f" in the messages. The minimum is tested as "not (value >= min)", so a
// value that is not a number fails every check that involves the minimum.
BOOL CheckValueInRange(float fValue, float fMin, float fMax, int nMode, CString* pstrMessage);
