// The expression evaluator that attribute conditions are handed to.
#pragma once

#include "afx/String.h"

// Evaluates an arithmetic and logical expression and returns its value as text.
//
// Syntax: decimal numbers ("12", "-3.5", ".5", "1e+20"), parentheses, unary "-", "+" and "!", the
// binary operators "* /", "+ -", "< <= > >=", "== !=", "&&", "||" (binding in that order, tightest
// first, each group left to right); blanks anywhere between tokens.
//
// Result: a comparison or a logical operator gives "1" (true) or "0" (false); "!" and the logical
// operators take any non-zero number as true. An arithmetic result is the shortest decimal text that
// reads back to the same double ("12", "0.5", "1e+20").
//
// An empty text, NULL, anything else in the text (names, quotes, a single '=' or '&'), an unbalanced
// parenthesis, a division by zero or a result that is not finite gives "" — never "1".
CString Evaluate(const char* lpszExpression);
