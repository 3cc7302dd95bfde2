// What the window sources of the class library share. Private to afx.
#pragma once

#include <string>

class CWnd;

namespace afx {
// FromHandle makes an object of this class for windows of the class name that no object claims.
void RegisterWrapperFactory(const char* className, CWnd* (*make)());
std::string win32LowerName(const std::string& s);
}  // namespace afx
