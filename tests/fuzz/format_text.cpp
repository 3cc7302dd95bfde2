// Formatted-text mark-up: checking, splitting and measuring an annotation's mark-up.
#include "FuzzSupport.h"

#include "annotation/FormatText.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    bytes.erase(std::find(bytes.begin(), bytes.end(), '\0'), bytes.end());
    CString text(bytes.c_str());
    CString check = text;
    IsValidFormatString(check);
    CString whole = text, left, right;
    int kind = 0;
    SplitFormat(whole, left, right, kind);
    GEOANNO anno;
    anno.m_strText = text;
    tagGEOFORMAT format;
    for (int fontType : {0, 1, 3}) {
        GetFormatWidth(text, &anno, &format, fontType, 0);
        GetFormatHeight(text, &anno, &format, fontType, 1);
    }
    return 0;
}

void CorvaneFuzzWriteSeeds(const std::string& dir) {
    const char* const texts[] = {"125.5@高程", "水田|旱地", "a/b", "(x@y)z", "\\@\\|(((a)))", "一@(二|三)/四"};
    int k = 0;
    for (const char* t : texts) {
        std::string s(CString(t).str());
        fuzz::SaveSeed(dir, "markup" + std::to_string(k++), std::vector<uint8_t>(s.begin(), s.end()));
    }
}
