#include "pellion/MapInfo.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace {

const double kSheetSideKm = 0.5;

// A plain decimal number filling the whole of s.
bool ParseNumber(const std::string& s, double& value) {
    if (s.empty()) return false;
    for (char c : s)
        if (!(c == '.' || (c >= '0' && c <= '9'))) return false;
    char* end = nullptr;
    value = std::strtod(s.c_str(), &end);
    return end == s.c_str() + s.size() && std::isfinite(value);
}

}  // namespace

MapInfo::MapInfo(const CString& sheetNumber, int coordinateSystem) {
    if (coordinateSystem != 0) return;
    std::string s(static_cast<LPCTSTR>(sheetNumber), static_cast<size_t>(sheetNumber.GetLength()));
    const size_t first = s.find_first_not_of(' ');
    const size_t last = s.find_last_not_of(' ');
    if (first == std::string::npos) return;
    s = s.substr(first, last - first + 1);
    const size_t dash = s.find('-');
    if (dash == std::string::npos) return;
    double north = 0.0, east = 0.0;
    if (!ParseNumber(s.substr(0, dash), north) || !ParseNumber(s.substr(dash + 1), east)) return;
    m_dSouth = north;
    m_dWest = east;
    m_bValid = 1;
}

int MapInfo::GetMapCornerCoordinate(int corner, double& x, double& y, int coordinateType, int) const {
    if (!m_bValid || coordinateType != 2 || corner < 0 || corner > 3) return 0;
    const bool east = corner == 1 || corner == 2;
    const bool north = corner == 0 || corner == 1;
    x = m_dWest + (east ? kSheetSideKm : 0.0);
    y = m_dSouth + (north ? kSheetSideKm : 0.0);
    return 1;
}
