#include "brisca/StringFunctions.h"

#include <string>

CString GetLeftString(CString text, int width)
{
    const int pad = width - text.GetLength();
    if (pad <= 0) return text;
    return text + CString(std::string((size_t)pad, ' ').c_str());
}

CString GetCenterString(CString text, int width)
{
    const int pad = width - text.GetLength();
    if (pad <= 0) return text;
    return CString(std::string((size_t)(pad / 2), ' ').c_str()) + text +
           CString(std::string((size_t)(pad - pad / 2), ' ').c_str());
}

CString DupString(CString text, int n)
{
    std::string out;
    for (int i = 0; i < n; ++i) out += (LPCSTR)text;
    return CString(out.c_str());
}
