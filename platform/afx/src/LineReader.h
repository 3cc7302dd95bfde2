// Reading one text line byte by byte, shared by the archive and the text file.
#pragma once

#include "afx/String.h"

#include <string>

namespace afx {
// Reads bytes with readByte(char&) -> bool until '\n' or the end; the line excludes "\n" and, when
// dropCr, a '\r' before it. FALSE when nothing at all could be read.
template <class ReadByte>
BOOL ReadTextLine(ReadByte readByte, bool dropCr, CString& rString) {
    std::string line;
    char c;
    bool any = false;
    while (readByte(c)) {
        any = true;
        if (c == '\n') break;
        line += c;
    }
    if (dropCr && !line.empty() && line.back() == '\r') line.pop_back();
    rString = CString(line);
    return any;
}
}  // namespace afx
