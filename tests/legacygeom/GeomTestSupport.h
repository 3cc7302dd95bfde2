// Shared helpers of the geometry library's tests.
#pragma once

#include <afx/afx.h>

#include <string>
#include <vector>

inline tagPOINT P(LONG x, LONG y) { return tagPOINT{x, y}; }

// The texts of the message boxes shown since the last call, oldest first; clears the log.
inline std::vector<std::string> TakeMessages() {
    std::vector<std::string> texts;
    for (const AfxMessageRecord& m : AfxGetMessageLog()) texts.push_back(m.text.str());
    AfxClearMessageLog();
    return texts;
}
