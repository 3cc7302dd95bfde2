// Conversions between attribute values and their text.
#pragma once

#include <afx/afx.h>

// The text read as a value of the DAO field type daoType; VT_EMPTY when it does not read.
// - Text (10) and memo (12): the text as it is, VT_BSTR.
// - Numbers (byte 2, integer 3, long 4, currency 5, single 6, double 7): the text without blanks at
//   either end must be a decimal number ("12", "-3.5", "1e3"; nothing else, not even a unit). Byte,
//   integer and long round halves away from zero and must lie in their range (0..255, -32768..32767,
//   the LONG range); currency keeps four decimals. Types VT_UI1, VT_I2, VT_I4, VT_CY, VT_R4, VT_R8.
// - Boolean (1): "1", "-1", "true", "yes", "on", "是" and any other non-zero number read as TRUE;
//   "0", "false", "no", "off", "否" as FALSE (letters in any case); VT_BOOL.
// - Date (8): "YYYY-MM-DD" or "YYYY/MM/DD", optionally followed by a blank and "HH:MM" or
//   "HH:MM:SS"; VT_DATE.
// - Any other type code: VT_EMPTY.
COleVariant stringtoVar(CString text, short daoType);

// The value as text, in a form that stringtoVar reads back and an expression evaluator can read:
// "" for NULL, VT_EMPTY and VT_NULL; whole numbers in decimal; floating values in the shortest form
// that reads back to the same value ("12", "12.345", "1e+20"); booleans "1" and "0"; currency with up
// to four decimals and no trailing zeros ("12.5"); dates "YYYY-MM-DD", with " HH:MM:SS" when the time
// is not midnight; text as it is. Other variant types give "".
CString VartoString(COleVariant* pValue);

// The unit shown before currency values in edit fields: "￥".
CString GetCurrencyUnit();
// The text read as a currency amount: blanks at either end and one leading currency unit
// (GetCurrencyUnit) are skipped, the rest read as stringtoVar reads a currency (four decimals kept).
// A text that does not read gives an amount of 0 whose status is invalid.
COleCurrency StrtoOleCurrency(CString text);
// The text, without blanks at either end, read as a decimal number; 0 when it does not read.
double StringtoDouble(CString text);
