#include "annotation/LabelParams.h"

#include "core/GeoVectorObject.h"

#include <quenby/SymbolAttrib.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>

namespace {

const char kSettings[] = "Settings";

// The fields of each record by number, so that the profile and archive orders can be written as the
// lists of field numbers they are.
int tagLINELABEL::*const kLineField[18] = {
    &tagLINELABEL::m_nSide,           &tagLINELABEL::m_nCharOrient,     &tagLINELABEL::m_nCharSpace,
    &tagLINELABEL::m_nRetryLimit,     &tagLINELABEL::m_nLineDistance,   &tagLINELABEL::m_nStepBack,
    &tagLINELABEL::m_nSymbolSize,     &tagLINELABEL::m_nHalfSymbolSize, &tagLINELABEL::m_nExtraDistance,
    &tagLINELABEL::m_nMinRepeatLength, &tagLINELABEL::m_nWholeText,     &tagLINELABEL::m_nFormatText,
    &tagLINELABEL::m_nStartMode,      &tagLINELABEL::m_nCollisionMargin, &tagLINELABEL::m_nShiftStep,
    &tagLINELABEL::m_nCollisionTest,  &tagLINELABEL::m_nJoinLines,      &tagLINELABEL::m_nRepeat,
};

int tagPOINTLABEL::*const kPointField[11] = {
    &tagPOINTLABEL::m_nPosition,      &tagPOINTLABEL::m_nHorOffset,     &tagPOINTLABEL::m_nHorOffsetLimit,
    &tagPOINTLABEL::m_nVerOffset,     &tagPOINTLABEL::m_nVerOffsetLimit, &tagPOINTLABEL::m_nVerSymbolSize,
    &tagPOINTLABEL::m_nHorSymbolSize, &tagPOINTLABEL::m_nFormatText,    &tagPOINTLABEL::m_nCollisionMargin,
    &tagPOINTLABEL::m_nSearchStep,    &tagPOINTLABEL::m_nUseGrid,
};

const int kLineProfileOrder[18] = {1, 0, 12, 5, 4, 2, 3, 7, 8, 6, 11, 10, 9, 13, 14, 15, 16, 17};
const int kPointProfileOrder[9] = {0, 6, 5, 2, 1, 7, 8, 9, 10};
const int kPointArchiveOrder[9] = {0, 1, 2, 5, 6, 7, 8, 9, 10};
const int kLineArchiveOrder[18] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 9, 12, 13, 14, 15, 16, 17};

// The built-in values. The vertical offset range of points (fields 3 and 4) has no built-in value of
// its own; 0 keeps labels level with the point.
constexpr tagLINELABEL kDefaultLine = {2, 0, 50, 100, 10, 20, 0, 0, 0, 1000, 0, 0, 2, 0, 5, 1, 1, 1};
constexpr tagPOINTLABEL kDefaultPoint = {9, 10, 20, 0, 0, 0, 0, 0, 0, 5, 1};

// Constant-initialised, so they hold the defaults before any other module's start-up code runs.
tagLINELABEL g_lineLabel = kDefaultLine;
tagPOINTLABEL g_pointLabel = kDefaultPoint;

CString ReadEntry(LPCSTR entry) {
    CWinApp* app = AfxGetApp();
    return app ? app->GetProfileString(kSettings, entry, nullptr) : CString();
}

void WriteEntry(LPCSTR entry, const CString& text) {
    if (CWinApp* app = AfxGetApp()) app->WriteProfileString(kSettings, entry, text);
}

// Reads up to n numbers joined by ':' from text into *targets[0], *targets[1], ...; stops at the first
// place that does not continue the pattern, leaving the remaining targets as they were. Blanks before a
// number are passed over, as the C library's number reading does. Only ASCII
// digits with an optional sign are numbers, whatever locale the host has set; a number outside the
// int range stops the reading too.
void ParseNumbers(const char* text, int* const* targets, int n) {
    const char* s = text;
    for (int i = 0; i < n; ++i) {
        if (i > 0) {
            if (*s != ':') return;
            ++s;
        }
        while (*s == ' ' || *s == '\t') ++s;
        bool negative = false;
        if (*s == '+' || *s == '-') negative = *s++ == '-';
        if (!std::isdigit(static_cast<unsigned char>(*s))) return;
        long long v = 0;
        while (std::isdigit(static_cast<unsigned char>(*s))) {
            v = v * 10 + (*s++ - '0');
            if (v > 2147483648LL) return;
        }
        if (negative) v = -v;
        if (v > INT_MAX || v < INT_MIN) return;
        *targets[i] = static_cast<int>(v);
    }
}

CString JoinNumbers(const int* values, int n) {
    CString text;
    for (int i = 0; i < n; ++i) {
        CString part;
        part.Format(i ? ":%d" : "%d", values[i]);
        text += part;
    }
    return text;
}

}  // namespace

tagLABELPARA::tagLABELPARA() : m_LineLabel(GetCurrentLineLabel()), m_PointLabel(GetCurrentPointLabel()) {}

tagLINELABEL GetDefaultLineLabel() { return kDefaultLine; }
tagPOINTLABEL GetDefaultPointLabel() { return kDefaultPoint; }

tagLINELABEL GetCurrentLineLabel() { return g_lineLabel; }
void SetCurrentLineLabel(const tagLINELABEL& label) { g_lineLabel = label; }
tagPOINTLABEL GetCurrentPointLabel() { return g_pointLabel; }
void SetCurrentPointLabel(const tagPOINTLABEL& label) { g_pointLabel = label; }

void LoadLineLabel() {
    const CString text = ReadEntry("LineLabel");
    if (text.IsEmpty()) return;
    int* targets[18];
    for (int i = 0; i < 18; ++i) targets[i] = &(g_lineLabel.*kLineField[kLineProfileOrder[i]]);
    ParseNumbers(text, targets, 18);
}

void SaveLineLabel() {
    int values[18];
    for (int i = 0; i < 18; ++i) values[i] = g_lineLabel.*kLineField[kLineProfileOrder[i]];
    WriteEntry("LineLabel", JoinNumbers(values, 18));
}

void LoadPointLabel() {
    const CString text = ReadEntry("PointLabel");
    if (text.IsEmpty()) return;
    int* targets[9];
    for (int i = 0; i < 9; ++i) targets[i] = &(g_pointLabel.*kPointField[kPointProfileOrder[i]]);
    ParseNumbers(text, targets, 9);
}

void SavePointLabel() {
    int values[9];
    for (int i = 0; i < 9; ++i) values[i] = g_pointLabel.*kPointField[kPointProfileOrder[i]];
    WriteEntry("PointLabel", JoinNumbers(values, 9));
}

void SerializeLabelPara(CArchive& ar, tagLABELPARA& para) {
    if (ar.IsStoring()) {
        for (int f : kPointArchiveOrder) ar << static_cast<LONG>(para.m_PointLabel.*kPointField[f]);
        for (int f : kLineArchiveOrder) ar << static_cast<LONG>(para.m_LineLabel.*kLineField[f]);
    } else {
        // Read into a copy, so that a short record leaves the pair as it was.
        tagLABELPARA read = para;
        LONG v;
        for (int f : kPointArchiveOrder) {
            ar >> v;
            read.m_PointLabel.*kPointField[f] = v;
        }
        for (int f : kLineArchiveOrder) {
            ar >> v;
            read.m_LineLabel.*kLineField[f] = v;
        }
        para = read;
    }
}

void GetObjSymbolSize(CGeoVectorObject* pObj, int& first, int& second, CSymbolLibIO* pLib) {
    first = 0;
    second = 0;
    if (!pObj) return;
    const CSymbolAttrib attrib = pObj->GetSymbolAttribute(pLib);
    const WORD mask = attrib.GetAttribMask();
    CString name;
    tagVM_SYM_VARIANT value{};
    if ((mask & 0x10) && attrib.GetAttribItem(3, name, value) == VM_SYM_OK && value.wType != 0) first = value.lValue;
    value = tagVM_SYM_VARIANT{};
    if ((mask & 0x04) && attrib.GetAttribItem(4, name, value) == VM_SYM_OK && value.wType != 0)
        second = value.lValue;
}
