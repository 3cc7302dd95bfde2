#include "core/GeoSettings.h"

#include "core/GeoVectorObject.h"
#include "core/SymbolLibAccess.h"

#include <ostrel/Misc.h>
#include <ostrel/Translate.h>
#include <pellion/TicPrecision.h>

#include <cctype>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <locale.h>

namespace {

// ------------------------------------------------------------------------------------------------
// The values, with their built-in defaults.

int g_nSelRectRadiusX = 10;
int g_nSelRectRadiusY = 10;
int g_nHandleRadius = 7;
int g_nXBorder = 5;
int g_nYBorder = 5;
int g_nSplineIntpPts = 7;
COLORREF g_crDefaultColor = 0;
COLORREF g_crDefaultFillColor = 0xFF0000;
int g_nDefaultPointSize = 16;
int g_nCrossRadius = 10;
int g_nDangleRadius = 5;
COLORREF g_crDangleColor = 0xFF00;
COLORREF g_crShowElevationColor = 0xFF0000;
int g_nHoldBelt = 0;
int g_nShowElevationPrecision = 1;
int g_nShowElevationCharHeight = 50;
int g_nTicPrecision = 2;
COLORREF g_crTrackerFrameColor = 0xFF;
COLORREF g_crTrackerFillColor = 0xFF00;
int g_nDefaultPolygonFillShape = 0;
COLORREF g_crDefaultPolygonFillColor = 0xFF0000;
int g_nDefaultPolygonBorderLineShape = 3;
COLORREF g_crDefaultPolygonBorderColor = 0xFF;
int g_bDefaultPolygonTransparent = 1;
int g_nFalseNodeRadius = 7;
COLORREF g_crFalseNodeColor = 0xFF0000;
float g_fClearDangleDist = 5.0f;
int g_nDangleMode = 1;
int g_nClearFalseNodeCondition = 7;

int g_nPolygonSides = 3;
int g_bLoadMATFile = 0;
int g_bAvlPermit = 1;

const _tagELEVATIONCHART kDefaultChart = {
    10.0f,
    0.0f,
    {0xFF, 0xFF00, 0xFF0000, 0xFFFF, 0x2A2AA5, 0xB469FF, 0xB469FF, 0xFF, 0xFACE87, 0xFF00FF},
    {40, 20, 20, 20, 20, 10, 10, 20, 10, 30},
};
_tagELEVATIONCHART g_chart = kDefaultChart;

UINT g_nIndexContourCode = 201;
UINT g_nMedianContourCode = 202;
UINT g_nSuContourCode = 203;
UINT g_nZhuContourCode = 204;
int g_bOnlyContourShowElevChart = 1;
int g_bElevPointShowElevChart = 1;

int g_nDefaultMapScale = 50000;
CSymbolLibIO* g_pDefaultSymbolLibIO = nullptr;

LABELTYPE g_nLabelType = LABEL_CROSS;

float g_fCompressLength = 5.0f;
float g_fCompressPro = 0.2f;
float g_fSmoothA = 1.0f;
float g_fSmoothB = 0.5f;

// The strings and styles are built by the library's static initialisation and destroyed at unload.
CString& OptFileName() {
    static CString s("图廓点.opt");
    return s;
}
CString& MatFilePathName() {
    static CString s;
    return s;
}
CString& DefaultSymbolLibName() {
    static CString s("Normal");
    return s;
}

GEOVIEW MakeMark(COLORREF colour, COLORREF fill, int transparent) {
    GEOVIEW v;
    v.m_nViewType = GEOVIEW_ALL;
    v.m_nPointShape = 66;
    v.m_nPointSize = g_nDefaultPointSize;
    v.m_nLineShape = 3;
    v.m_fLineWidth = 0.0f;
    v.m_nFillShape = 0;
    v.m_crPointColor = v.m_crLineColor = v.m_crAnnoColor = colour;
    v.m_crFillColor = fill;
    v.m_bTransparent = transparent;
    v.m_nBufferWidth = 0;
    return v;
}

GEOVIEW* Marks() {
    static GEOVIEW marks[5] = {
        MakeMark(0xFF0000, 0xFFFF, 1), MakeMark(0xFF00, 0xFFFF, 1), MakeMark(0xFF, 0xFF, 0),
        MakeMark(0x2A2AA5, 0xFFFF, 1), MakeMark(0xFFFF, 0xFFFF, 0),
    };
    return marks;
}

// Built at load, not at first use, so that they take the point size the library starts with.
struct BuildAtLoad {
    BuildAtLoad() {
        OptFileName();
        MatFilePathName();
        DefaultSymbolLibName();
        Marks();
    }
} g_buildAtLoad;

// ------------------------------------------------------------------------------------------------
// Profile access.

const char kSettings[] = "Settings";
const char kCompress[] = "Compress Settings";

CString ReadEntry(LPCSTR section, LPCSTR entry) {
    CWinApp* app = AfxGetApp();
    return app ? app->GetProfileString(section, entry, nullptr) : CString();
}

void WriteEntry(LPCSTR section, LPCSTR entry, const CString& text) {
    if (CWinApp* app = AfxGetApp()) app->WriteProfileString(section, entry, text);
}

// Numbers in the profile are read in the "C" locale whatever the host has set.
class CNumericLocale {
public:
    CNumericLocale() {
        static locale_t c = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(0));
        m_previous = c ? uselocale(c) : static_cast<locale_t>(0);
    }
    ~CNumericLocale() {
        if (m_previous) uselocale(m_previous);
    }
    CNumericLocale(const CNumericLocale&) = delete;
    CNumericLocale& operator=(const CNumericLocale&) = delete;

private:
    locale_t m_previous;
};

}  // namespace

// ------------------------------------------------------------------------------------------------
// The "BaseVariable" group.

int GetSelRectRadiusX() { return g_nSelRectRadiusX; }
int GetSelRectRadiusY() { return g_nSelRectRadiusY; }
void GetSelRectRadius(int& x, int& y) {
    x = g_nSelRectRadiusX;
    y = g_nSelRectRadiusY;
}
void SetSelRectRadius(int x, int y) {
    g_nSelRectRadiusX = x;
    g_nSelRectRadiusY = y;
}
int GetHandleRadius() { return g_nHandleRadius; }
void SetHandleRadius(int r) { g_nHandleRadius = r; }
int GetXBorder() { return g_nXBorder; }
int GetYBorder() { return g_nYBorder; }
void GetXYBorder(int& x, int& y) {
    x = g_nXBorder;
    y = g_nYBorder;
}
void SetXYBorder(int x, int y) {
    g_nXBorder = x;
    g_nYBorder = y;
}
int GetSplineIntpPts() { return g_nSplineIntpPts; }
void SetSplineIntpPts(int n) {
    if (n >= 1) g_nSplineIntpPts = n;
}
COLORREF GetDefaultColor() { return g_crDefaultColor; }
void SetDefaultColor(COLORREF cr) { g_crDefaultColor = cr; }
COLORREF GetDefaultFillColor() { return g_crDefaultFillColor; }
void SetDefaultFillColor(COLORREF cr) { g_crDefaultFillColor = cr; }
int GetDefaultPointSize() { return g_nDefaultPointSize; }
void SetDefaultPointSize(int n) { g_nDefaultPointSize = n; }
int GetCrossRadius() { return g_nCrossRadius; }
void SetCrossRadius(int r) { g_nCrossRadius = r; }
int GetDangleRadius() { return g_nDangleRadius; }
void SetDangleRadius(int r) {
    if (r >= 1) g_nDangleRadius = r;
}
COLORREF GetDangleColor() { return g_crDangleColor; }
void SetDangleColor(COLORREF cr) { g_crDangleColor = cr; }
COLORREF GetShowElevationColor() { return g_crShowElevationColor; }
void SetShowElevationColor(COLORREF cr) { g_crShowElevationColor = cr; }
int GetHoldBelt() { return g_nHoldBelt; }
void SetHoldBelt(int n) { g_nHoldBelt = n; }
int GetShowElevationPrecision() { return g_nShowElevationPrecision; }
void SetShowElevationPrecision(int n) { g_nShowElevationPrecision = n; }
int GetShowElevationCharHeight() { return g_nShowElevationCharHeight; }
void SetShowElevationCharHeight(int n) { g_nShowElevationCharHeight = n; }
int GetTicPrecision() { return g_nTicPrecision; }
void SetTicPrecision(int n) { g_nTicPrecision = (n < -1 || n > GetMaxTicPrecision()) ? -1 : n; }
COLORREF GetTrackerFrameColor() { return g_crTrackerFrameColor; }
void SetTrackerFrameColor(COLORREF cr) { g_crTrackerFrameColor = cr; }
COLORREF GetTrackerFillColor() { return g_crTrackerFillColor; }
void SetTrackerFillColor(COLORREF cr) { g_crTrackerFillColor = cr; }
int GetDefaultPolygonFillShape() { return g_nDefaultPolygonFillShape; }
void SetDefaultPolygonFillShape(int n) { g_nDefaultPolygonFillShape = n; }
COLORREF GetDefaultPolygonFillColor() { return g_crDefaultPolygonFillColor; }
void SetDefaultPolygonFillColor(COLORREF cr) { g_crDefaultPolygonFillColor = cr; }
int GetDefaultPolygonBorderLineShape() { return g_nDefaultPolygonBorderLineShape; }
void SetDefaultPolygonBorderLineShape(int n) { g_nDefaultPolygonBorderLineShape = n; }
COLORREF GetDefaultPolygonBorderLineColor() { return g_crDefaultPolygonBorderColor; }
void SetDefaultPolygonBorderColor(COLORREF cr) { g_crDefaultPolygonBorderColor = cr; }
int IsDefaultPolygonTransparent() { return g_bDefaultPolygonTransparent; }
void SetDefaultPolygonTransparent(int on) { g_bDefaultPolygonTransparent = on; }
int GetFalseNodeRadius() { return g_nFalseNodeRadius; }
void SetFalseNodeRadius(int r) { g_nFalseNodeRadius = r; }
COLORREF GetFalseNodeColor() { return g_crFalseNodeColor; }
void SetFalseNodeColor(COLORREF cr) { g_crFalseNodeColor = cr; }
float GetClearDangleDist() { return g_fClearDangleDist; }
void SetClearDangleDist(float d) { g_fClearDangleDist = d; }
int GetDangleMode() { return g_nDangleMode; }
void SetDangleMode(int n) { g_nDangleMode = n; }
int GetClearFalseNodeCondition() { return g_nClearFalseNodeCondition; }
void SetClearFalseNodeCondition(int n) { g_nClearFalseNodeCondition = n; }

// ------------------------------------------------------------------------------------------------
// Values that are not persisted.

int GetNPolygonSides() { return g_nPolygonSides; }
void SetNPolygonSides(int n) { g_nPolygonSides = n; }
CString GetOPTFileName() { return OptFileName(); }
void SetOPTFileName(CString name) { OptFileName() = name; }
int GetIsLoadMATFile() { return g_bLoadMATFile; }
void SetIsLoadMATFile(int on) { g_bLoadMATFile = on; }
CString GetMATFilePathName() { return MatFilePathName(); }
void SetMATFilePathName(CString path) { MatFilePathName() = path; }
int IsAvlPermit() { return g_bAvlPermit; }
void SetAvlPermit(int on) { g_bAvlPermit = on; }

// ------------------------------------------------------------------------------------------------
// Elevation chart and contour codes.

_tagELEVATIONCHART GetCurrentElevationChart() { return g_chart; }
_tagELEVATIONCHART SetCurrentElevationChart(_tagELEVATIONCHART chart) {
    _tagELEVATIONCHART previous = g_chart;
    g_chart = chart;
    return previous;
}
_tagELEVATIONCHART GetDefaultElevationChart() { return kDefaultChart; }
int IsEqual(_tagELEVATIONCHART a, _tagELEVATIONCHART b) { return std::memcmp(&a, &b, sizeof a) == 0; }

UINT GetIndexContourCode() { return g_nIndexContourCode; }
UINT GetMedianContourCode() { return g_nMedianContourCode; }
UINT GetSuContourCode() { return g_nSuContourCode; }
UINT GetZhuContourCode() { return g_nZhuContourCode; }
void SetContourCode(UINT index, UINT median, UINT su, UINT zhu) {
    g_nIndexContourCode = index;
    g_nMedianContourCode = median;
    g_nSuContourCode = su;
    g_nZhuContourCode = zhu;
}
int IsContourCode(UINT code) {
    return code == g_nIndexContourCode || code == g_nMedianContourCode || code == g_nSuContourCode ||
           code == g_nZhuContourCode;
}

int IsOnlyContourShowElevChart() { return g_bOnlyContourShowElevChart; }
void OnlycontourShowElevChart(int on) { g_bOnlyContourShowElevChart = on; }
int IsElevPointShowElevChart() { return g_bElevPointShowElevChart; }
void ElevPointShowElevChart(int on) { g_bElevPointShowElevChart = on; }

void ColorGeoViewByElevation(double z, GEOVIEW* pView, int mode) {
    if (!pView) return;
    const _tagELEVATIONCHART chart = g_chart;
    auto line = [&](int k) {
        pView->m_crLineColor = chart.m_crColor[k];
        pView->m_fLineWidth = static_cast<float>(chart.m_nWidth[k] / 10.0);
    };
    auto byMode = [&](int k) {
        if (mode == 0)
            pView->m_crPointColor = chart.m_crColor[k];
        else
            line(k);
    };
    if (z == 0.0) {
        byMode(7);
        return;
    }
    const int k = GetContourType(z, chart.m_fContourInterval, mode == 0 ? 1 : 0);
    if (k >= 0 && k <= 4)
        byMode(k);
    else if (k == 5 || k == 6)
        line(k);
    else if (k == -1)
        line(z == chart.m_fSpecialElevation ? 8 : 9);
}

void SetGeoViewByElevation(CGeoVectorObject* pObject, GEOVIEW* pView, int mode)
{
    if (pObject != nullptr && pView != nullptr) ColorGeoViewByElevation(pObject->GetZ(), pView, mode);
}

// ------------------------------------------------------------------------------------------------
// The default symbol library.

CString GetDefaultSymbolLibFile() { return DefaultSymbolLibName(); }
int GetDefaultMapScale() { return g_nDefaultMapScale; }
CSymbolLibIO* GetDefaultSymbolLibIO() { return g_pDefaultSymbolLibIO; }

void SetDefaultSymbolLibFile(CString name, int scale) {
    if (name.IsEmpty()) {
        ReleaseSymbolLibIO(g_pDefaultSymbolLibIO);
        g_pDefaultSymbolLibIO = nullptr;
        DefaultSymbolLibName() = name;
        g_nDefaultMapScale = scale;
        return;
    }
    CSymbolLibIO* opened = GetSymbolLibIO(GetSymbolLibFileName(name), scale);
    if (!opened) return;
    ReleaseSymbolLibIO(g_pDefaultSymbolLibIO);
    g_pDefaultSymbolLibIO = opened;
    DefaultSymbolLibName() = name;
    g_nDefaultMapScale = scale;
}

// ------------------------------------------------------------------------------------------------
// Label points, compression and smoothing.

LABELTYPE GetLabelPointShowType() { return g_nLabelType; }
void SetLabelPointShowType(LABELTYPE type) { g_nLabelType = type; }

void SetCompressLengthPro(float length, float pro) {
    g_fCompressLength = length;
    g_fCompressPro = pro;
    CString text;
    text.Format("%f:%f", length, pro);
    WriteEntry(kCompress, "Para", text);
}

void GetCompressLengthPro(float& length, float& pro) {
    CString text = ReadEntry(kCompress, "Para");
    if (text.IsEmpty()) {
        length = g_fCompressLength;
        pro = g_fCompressPro;
        return;
    }
    CNumericLocale c;
    std::sscanf(text, "%f:%f", &length, &pro);
}

void SetSmoothParameter(float a, float b) {
    g_fSmoothA = a;
    g_fSmoothB = b;
    CString text;
    text.Format("%f:%f", a, b);
    WriteEntry(kCompress, "Smooth Para", text);
}

void GetSmoothParameter(float& a, float& b) {
    a = g_fSmoothA;
    b = g_fSmoothB;
    CString text = ReadEntry(kCompress, "Smooth Para");
    if (text.IsEmpty()) return;
    CNumericLocale c;
    std::sscanf(text, "%f:%f", &a, &b);
}

// ------------------------------------------------------------------------------------------------
// Mark styles.

GEOVIEW GetMarkGeoView(GEOMARK mark) {
    if (mark < GEOMARK_1 || mark > GEOMARK_5) return GetDefaultGEOVIEW();
    return Marks()[mark - 1];
}

void SetMarkGeoView(GEOVIEW view, GEOMARK mark) {
    if (mark < GEOMARK_1 || mark > GEOMARK_5) return;
    Marks()[mark - 1] = view;
}

// ------------------------------------------------------------------------------------------------
// Profile entries.

namespace {

// The 29 "BaseVariable" values as ints, in the entry's order; the 27th is the float.
int* const kBaseInts[] = {
    &g_nSelRectRadiusX,  &g_nSelRectRadiusY,  &g_nHandleRadius,   &g_nXBorder,
    &g_nYBorder,         &g_nSplineIntpPts,   nullptr,            nullptr,
    &g_nDefaultPointSize, &g_nCrossRadius,    &g_nDangleRadius,   nullptr,
    nullptr,             &g_nHoldBelt,        &g_nShowElevationPrecision, &g_nShowElevationCharHeight,
    &g_nTicPrecision,    nullptr,             nullptr,            &g_nDefaultPolygonFillShape,
    nullptr,             &g_nDefaultPolygonBorderLineShape, nullptr, &g_bDefaultPolygonTransparent,
    &g_nFalseNodeRadius, nullptr,             nullptr,            &g_nDangleMode,
    &g_nClearFalseNodeCondition,
};
// The colour fields among them (by position), which are COLORREF variables.
COLORREF* BaseColor(int i) {
    switch (i) {
    case 6: return &g_crDefaultColor;
    case 7: return &g_crDefaultFillColor;
    case 11: return &g_crDangleColor;
    case 12: return &g_crShowElevationColor;
    case 17: return &g_crTrackerFrameColor;
    case 18: return &g_crTrackerFillColor;
    case 20: return &g_crDefaultPolygonFillColor;
    case 22: return &g_crDefaultPolygonBorderColor;
    case 25: return &g_crFalseNodeColor;
    default: return nullptr;
    }
}
const int kClearDangleIndex = 26;
const int kBaseCount = 29;

}  // namespace

void SaveCorvaneVariable() {
    CString text;
    for (int i = 0; i < kBaseCount; ++i) {
        CString field;
        if (i == kClearDangleIndex)
            field.Format("%.3f", static_cast<double>(g_fClearDangleDist));
        else if (COLORREF* cr = BaseColor(i))
            field.Format("%d", static_cast<int>(*cr));
        else
            field.Format("%d", *kBaseInts[i]);
        if (i > 0) text += ':';
        text += field;
    }
    WriteEntry(kSettings, "BaseVariable", text);

    int x, y, cx, cy;
    GetBasePoint(x, y);
    GetTransform(cx, cy);
    CString translation;
    translation.Format("%d:%f:%d:%d:%d:%d", IsUsedTranslate(), GetRotateAngle(), x, y, cx, cy);
    WriteEntry(kSettings, "BaseVariable2", translation);
}

void LoadCorvaneVariable() {
    CString text = ReadEntry(kSettings, "BaseVariable");
    if (!text.IsEmpty()) {
        int v[kBaseCount];
        for (int i = 0; i < kBaseCount; ++i) {
            if (i == kClearDangleIndex)
                v[i] = 0;
            else if (COLORREF* cr = BaseColor(i))
                v[i] = static_cast<int>(*cr);
            else
                v[i] = *kBaseInts[i];
        }
        float clearDangle = g_fClearDangleDist;
        {
            CNumericLocale c;
            std::sscanf(text,
                        "%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%f:%d:%d",
                        &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], &v[7], &v[8], &v[9], &v[10], &v[11],
                        &v[12], &v[13], &v[14], &v[15], &v[16], &v[17], &v[18], &v[19], &v[20], &v[21], &v[22],
                        &v[23], &v[24], &v[25], &clearDangle, &v[27], &v[28]);
        }
        for (int i = 0; i < kBaseCount; ++i) {
            if (i == kClearDangleIndex)
                g_fClearDangleDist = clearDangle;
            else if (COLORREF* cr = BaseColor(i))
                *cr = static_cast<COLORREF>(v[i]);
            else
                *kBaseInts[i] = v[i];
        }
    }

    CString translation = ReadEntry(kSettings, "BaseVariable2");
    if (!translation.IsEmpty()) {
        int on = 0, x = 0, y = 0, cx = 0, cy = 0;
        double angle = 0.0;
        int parsed;
        {
            CNumericLocale c;
            parsed = std::sscanf(translation, "%d:%lf:%d:%d:%d:%d", &on, &angle, &x, &y, &cx, &cy);
        }
        // A damaged entry would hand the translation values that were never read: it changes nothing.
        if (parsed == 6) {
            SetTranslate(on);
            SetRotateAngle(angle);
            SetBasePoint(x, y);
            SetTransform(cx, cy);
        }
    }
}

void SaveElevationChart() {
    CString text;
    text.Format("%f:%f", static_cast<double>(g_chart.m_fContourInterval), static_cast<double>(g_chart.m_fSpecialElevation));
    for (int i = 0; i < 10; ++i) {
        CString field;
        field.Format(":%d", static_cast<int>(g_chart.m_crColor[i]));
        text += field;
    }
    for (int i = 0; i < 10; ++i) {
        CString field;
        field.Format(":%d", g_chart.m_nWidth[i]);
        text += field;
    }
    WriteEntry(kSettings, "ElevationChart", text);
}

void LoadElevationChart() {
    CString text = ReadEntry(kSettings, "ElevationChart");
    if (text.IsEmpty()) return;
    _tagELEVATIONCHART& c = g_chart;
    int cr[10];
    for (int i = 0; i < 10; ++i) cr[i] = static_cast<int>(c.m_crColor[i]);
    int* w = c.m_nWidth;
    {
        CNumericLocale locale;
        std::sscanf(text, "%f:%f:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d",
                    &c.m_fContourInterval, &c.m_fSpecialElevation, &cr[0], &cr[1], &cr[2], &cr[3], &cr[4], &cr[5],
                    &cr[6], &cr[7], &cr[8], &cr[9], &w[0], &w[1], &w[2], &w[3], &w[4], &w[5], &w[6], &w[7], &w[8],
                    &w[9]);
    }
    for (int i = 0; i < 10; ++i) c.m_crColor[i] = static_cast<COLORREF>(cr[i]);
}

void SaveContourCode() {
    CString text;
    text.Format("%d:%d:%d:%d", static_cast<int>(g_nIndexContourCode), static_cast<int>(g_nMedianContourCode),
                static_cast<int>(g_nSuContourCode), static_cast<int>(g_nZhuContourCode));
    WriteEntry(kSettings, "ContourCode", text);
}

void LoadContourCode() {
    CString text = ReadEntry(kSettings, "ContourCode");
    if (text.IsEmpty()) return;
    int v[4] = {static_cast<int>(g_nIndexContourCode), static_cast<int>(g_nMedianContourCode),
                static_cast<int>(g_nSuContourCode), static_cast<int>(g_nZhuContourCode)};
    {
        CNumericLocale c;
        std::sscanf(text, "%d:%d:%d:%d", &v[0], &v[1], &v[2], &v[3]);
    }
    SetContourCode(static_cast<UINT>(v[0]), static_cast<UINT>(v[1]), static_cast<UINT>(v[2]), static_cast<UINT>(v[3]));
}

void SaveShowElevCharType() {
    WriteEntry(kSettings, "OnlyContour", g_bOnlyContourShowElevChart ? "1" : "0");
    WriteEntry(kSettings, "ElevPoint", g_bElevPointShowElevChart ? "1" : "0");
}

void LoadShowElevCharType() {
    g_bOnlyContourShowElevChart = ReadEntry(kSettings, "OnlyContour") == "0" ? 0 : 1;
    g_bElevPointShowElevChart = ReadEntry(kSettings, "ElevPoint") == "0" ? 0 : 1;
}

void SaveDefaultSymbolLibFile() {
    CString text;
    text.Format("%d:%s", g_nDefaultMapScale, static_cast<LPCSTR>(DefaultSymbolLibName()));
    WriteEntry(kSettings, "SymbolLib", text);
}

void LoadDefaultSymbolLibFile() {
    // The entry is parsed into locals: a library that cannot be opened then leaves the previous
    // library, name and scale together, instead of a name that no longer matches the open library.
    int scale = g_nDefaultMapScale;
    CString name = DefaultSymbolLibName();
    CString text = ReadEntry(kSettings, "SymbolLib");
    if (!text.IsEmpty()) {
        int nameStart = -1;
        {
            CNumericLocale c;
            std::sscanf(text, "%d:%n", &scale, &nameStart);
        }
        if (nameStart >= 0) {
            // The name is a "%s" field: leading white space skipped, then up to the next white space.
            const char* p = static_cast<LPCSTR>(text) + nameStart;
            while (*p && std::isspace(static_cast<unsigned char>(*p))) ++p;
            const char* end = p;
            while (*end && !std::isspace(static_cast<unsigned char>(*end))) ++end;
            const size_t kMaxName = 255;
            if (end > p && static_cast<size_t>(end - p) <= kMaxName) name = CString(p, static_cast<int>(end - p));
        }
    }
    SetDefaultSymbolLibFile(name, scale);
}

void SaveLabelPointShowType() {
    CString text;
    text.Format("%d", static_cast<int>(g_nLabelType));
    WriteEntry(kSettings, "LabelType", text);
}

void LoadLabelPointShowType() {
    CString text = ReadEntry(kSettings, "LabelType");
    if (text.IsEmpty()) return;
    int type = g_nLabelType;
    {
        CNumericLocale c;
        std::sscanf(text, "%d", &type);
    }
    g_nLabelType = static_cast<LABELTYPE>(type);
}

void LoadMarkGeoView() {}
void SaveMarkGeoView() {}
