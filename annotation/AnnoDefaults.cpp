#include "annotation/AnnoDefaults.h"

#include <clocale>
#include <cmath>
#include <cstdio>
#include <locale.h>

namespace {

GEOANNO g_anno;
tagGEORECT g_rect;                // built-in 0, 0, 0, 0
tagGEOFORMAT g_format = {10, 10, 10, 10, 2.0f};
float g_fSongJianAngle = 150.0f;
int g_nDynamicAnno = 1;
tagCONTOURLABEL g_contour = LoadDefaultContourLabel();
int g_nLabelFontFit = 0;

const char kSettings[] = "Settings";

CString ReadEntry(LPCSTR entry) {
    CWinApp* app = AfxGetApp();
    return app ? app->GetProfileString(kSettings, entry, nullptr) : CString();
}

void WriteEntry(LPCSTR entry, const CString& text) {
    if (CWinApp* app = AfxGetApp()) app->WriteProfileString(kSettings, entry, text);
}

// Profile numbers are written and read in the "C" locale whatever the host has set.
class CLocaleC {
public:
    CLocaleC() {
        static locale_t c = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(0));
        m_previous = c ? uselocale(c) : static_cast<locale_t>(0);
    }
    ~CLocaleC() {
        if (m_previous) uselocale(m_previous);
    }
    CLocaleC(const CLocaleC&) = delete;
    CLocaleC& operator=(const CLocaleC&) = delete;

private:
    locale_t m_previous;
};

// v * scale / 10 in integers, truncated, kept inside the int range.
int Scaled(int v, int scale) {
    const long long r = static_cast<long long>(v) * scale / 10;
    if (r > 2147483647LL) return 2147483647;
    if (r < -2147483647LL - 1) return -2147483647 - 1;
    return static_cast<int>(r);
}

// The profile order of the contour-label fields.
const int kContourOrder[15] = {0, 1, 2, 3, 9, 6, 8, 5, 7, 10, 4, 11, 12, 13, 14};

}  // namespace

// ---- current annotation ----

GEOANNO GetCurrentGeoAnno(int scale) {
    if (scale == -1) return g_anno;
    GEOANNO r = MakeGeoAnno(g_anno);
    r.m_nCharHeight = Scaled(r.m_nCharHeight, scale);
    r.m_nCharWidth = Scaled(r.m_nCharWidth, scale);
    r.m_nRowSpace = Scaled(r.m_nRowSpace, scale);
    r.m_nColSpace = Scaled(r.m_nColSpace, scale);
    return r;
}

void SetCurrentGeoAnno(const GEOANNO& anno) {
    g_anno = MakeGeoAnno(anno);
    g_anno.m_strText.Empty();
    g_anno.m_pOutputList = nullptr;
}

GEOANNO LoadDefaultGeoAnno() { return GEOANNO(); }

void LoadGeoAnno() {
    const CString text = ReadEntry("GeoAnno");
    if (text.IsEmpty()) return;
    GEOANNO& a = g_anno;
    int style = 0, move = 0;
    int colour = static_cast<int>(a.m_crBackColor);
    {
        CLocaleC c;
        std::sscanf(text, "%f:%f:%d:%d:%d:%d:%d:%d:%d:%d:%d:%f:%f:%d", &a.m_fEscapeAngle, &a.m_fOrientAngle,
                    &a.m_nAlignType, &a.m_nCharHeight, &a.m_nCharWidth, &a.m_nPositionType, &a.m_nRowSpace,
                    &a.m_nColSpace, &a.m_nUnit, &style, &move, &a.m_fItalicAngle, &a.m_fLineWidth, &colour);
    }
    a.m_byStyle = static_cast<BYTE>(style);
    a.m_byMoveFlag = static_cast<BYTE>(move);
    a.m_crBackColor = static_cast<COLORREF>(colour);
}

void SaveGeoAnno() {
    const GEOANNO& a = g_anno;
    CString text;
    {
        CLocaleC c;
        text.Format("%f:%f:%d:%d:%d:%d:%d:%d:%d:%d:%d:%f:%.1f:%d", static_cast<double>(a.m_fEscapeAngle),
                    static_cast<double>(a.m_fOrientAngle), a.m_nAlignType, a.m_nCharHeight, a.m_nCharWidth,
                    a.m_nPositionType, a.m_nRowSpace, a.m_nColSpace, a.m_nUnit, static_cast<int>(a.m_byStyle),
                    static_cast<int>(a.m_byMoveFlag), static_cast<double>(a.m_fItalicAngle),
                    static_cast<double>(a.m_fLineWidth), static_cast<int>(a.m_crBackColor));
    }
    WriteEntry("GeoAnno", text);
}

void SetGeoAnnoPositionType(int type) { g_anno.m_nPositionType = type; }
void SetGeoAnnoAlignType(int align) { g_anno.m_nAlignType = align; }
void SetGeoAnnoMoveFlag(int flag) { g_anno.m_byMoveFlag = static_cast<BYTE>(flag); }
void SetGeoAnnoColSpace(int space) { g_anno.m_nColSpace = space; }
void SetGeoAnnoRowSpace(int space) { g_anno.m_nRowSpace = space; }
void SetGeoAnnoCharWidth(int width) { g_anno.m_nCharWidth = width; }
void SetGeoAnnoCharHeight(int height) { g_anno.m_nCharHeight = height; }
void SetGeoAnnoLineWidth(float width) { g_anno.m_fLineWidth = width; }
void SetGeoAnnoBackColor(COLORREF colour) { g_anno.m_crBackColor = colour; }
void SetGeoAnnoTwoAlign(int on) { g_anno.SetTwoAlign(on); }
void SetGeoAnnoRotateAngle(float degrees) { g_anno.m_fEscapeAngle = degrees * 10; }
void SetGeoAnnoEscapeAngle(float degrees) { g_anno.m_fOrientAngle = degrees * 10; }

void SetGeoAnnoItalicAngle(float degrees) {
    double d = degrees;
    if (d < 0) d = -d;
    if (d > 80) {
        const double whole = std::trunc(d);
        d = std::fmod(whole, 80.0) + (d - whole);
    }
    g_anno.m_fItalicAngle = static_cast<float>(d * 10);
}

int GetCurrentCharHeight() { return g_anno.m_nCharHeight; }
int GetCurrentCharWidth() { return g_anno.m_nCharWidth; }
int GetGeoAnnoPositionType() { return g_anno.m_nPositionType; }

// ---- margins and format spacing ----

tagGEORECT GetCurrentGeoRect(int scale) {
    tagGEORECT r = g_rect;
    if (scale > 0) {
        r.left = Scaled(r.left, scale);
        r.right = Scaled(r.right, scale);
        r.top = Scaled(r.top, scale);
        r.bottom = Scaled(r.bottom, scale);
    }
    return r;
}

void SetCurrentGeoRect(const tagGEORECT& rect) { g_rect = rect; }

tagGEORECT GetBuiltInGeoRect() { return tagGEORECT(); }

tagGEORECT LoadDefaultGeoRect() {
    g_rect = GetBuiltInGeoRect();
    return g_rect;
}

void LoadGeoRect() {
    const CString text = ReadEntry("GeoRect");
    if (text.IsEmpty()) return;
    CLocaleC c;
    std::sscanf(text, "%d:%d:%d:%d", &g_rect.bottom, &g_rect.left, &g_rect.right, &g_rect.top);
}

void SaveGeoRect() {
    CString text;
    text.Format("%d:%d:%d:%d", g_rect.bottom, g_rect.left, g_rect.right, g_rect.top);
    WriteEntry("GeoRect", text);
}

tagGEOFORMAT GetCurrentGeoFor(int scale) {
    tagGEOFORMAT f = g_format;
    if (scale > 0) {
        f.hor = Scaled(f.hor, scale);
        f.ver = Scaled(f.ver, scale);
        f.fen_hor = Scaled(f.fen_hor, scale);
        f.fen_ver = Scaled(f.fen_ver, scale);
        f.fen_shu_width = f.fen_shu_width * static_cast<float>(scale) / 10.0f;
    }
    return f;
}

void SetCurrentGeoFor(const tagGEOFORMAT& format) { g_format = format; }

tagGEOFORMAT GetBuiltInGeoFormat() { return tagGEOFORMAT{10, 10, 10, 10, 2.0f}; }

tagGEOFORMAT LoadDefaultGeoFormat() {
    g_format = GetBuiltInGeoFormat();
    return g_format;
}

void LoadGeoFormat() {
    const CString text = ReadEntry("GeoFormat");
    if (text.IsEmpty()) return;
    CLocaleC c;
    std::sscanf(text, "%d:%d:%d:%d:%f", &g_format.fen_hor, &g_format.fen_ver, &g_format.hor, &g_format.ver,
                &g_format.fen_shu_width);
}

void SaveGeoFormat() {
    CString text;
    {
        CLocaleC c;
        text.Format("%d:%d:%d:%d:%.1f", g_format.fen_hor, g_format.fen_ver, g_format.hor, g_format.ver,
                    static_cast<double>(g_format.fen_shu_width));
    }
    WriteEntry("GeoFormat", text);
}

// ---- other values ----

float GetCurrentSongJianAngle() { return g_fSongJianAngle; }
void SetCurrentSongJianAngle(float angle) { g_fSongJianAngle = angle; }

void LoadSongJianAngle() {
    const CString text = ReadEntry("SongJianAngle");
    if (text.IsEmpty()) return;
    CLocaleC c;
    std::sscanf(text, "%f", &g_fSongJianAngle);
}

void SaveSongJianAngle() {
    CString text;
    {
        CLocaleC c;
        text.Format("%f", static_cast<double>(g_fSongJianAngle));
    }
    WriteEntry("SongJianAngle", text);
}

int GetCurrentDynamicGeoAnno() { return g_nDynamicAnno; }
void SetCurrentDynamicGeoAnno(int on) { g_nDynamicAnno = on; }

void LoadDynamicGeoAnno() {
    const CString text = ReadEntry("DynamicAnno");
    if (text.IsEmpty()) return;
    std::sscanf(text, "%d", &g_nDynamicAnno);
}

void SaveDynamicGeoAnno() {
    CString text;
    text.Format("%d", g_nDynamicAnno);
    WriteEntry("DynamicAnno", text);
}

tagCONTOURLABEL GetCurrentContourLabel() { return g_contour; }
void SetCurrentContourLabel(const tagCONTOURLABEL& label) { g_contour = label; }

tagCONTOURLABEL LoadDefaultContourLabel() {
    tagCONTOURLABEL l;
    const int values[15] = {1, 0, 0, 0, 1, 30, 0, 0, 0, 1, 1, 0, 1, 0, 0};
    for (int i = 0; i < 15; ++i) l.m_nField[i] = values[i];
    return l;
}

void LoadContourLabel() {
    const CString text = ReadEntry("ContourLabel");
    if (text.IsEmpty()) return;
    int* f = g_contour.m_nField;
    const int* o = kContourOrder;
    std::sscanf(text, "%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d", &f[o[0]], &f[o[1]], &f[o[2]], &f[o[3]],
                &f[o[4]], &f[o[5]], &f[o[6]], &f[o[7]], &f[o[8]], &f[o[9]], &f[o[10]], &f[o[11]], &f[o[12]],
                &f[o[13]], &f[o[14]]);
}

void SaveContourLabel() {
    const int* f = g_contour.m_nField;
    const int* o = kContourOrder;
    CString text;
    text.Format("%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d", f[o[0]], f[o[1]], f[o[2]], f[o[3]], f[o[4]], f[o[5]],
                f[o[6]], f[o[7]], f[o[8]], f[o[9]], f[o[10]], f[o[11]], f[o[12]], f[o[13]], f[o[14]]);
    WriteEntry("ContourLabel", text);
}

COLORREF GetElevationColor() { return static_cast<COLORREF>(g_contour.m_nField[6]); }
int GetElevationCharHeight() { return g_contour.m_nField[5]; }
int GetElevationPrecision() { return g_contour.m_nField[10]; }

int GetAttributeLabelFontFit() { return g_nLabelFontFit; }
void SetAttributeLabelFontFit(int on) { g_nLabelFontFit = on; }

void LoadAttributeLabelFontFit() {
    const CString text = ReadEntry("LabelFontFit");
    if (text.IsEmpty()) return;
    std::sscanf(text, "%d", &g_nLabelFontFit);
}

void SaveAttributeLabelFontFit() {
    CString text;
    text.Format("%d", g_nLabelFontFit);
    WriteEntry("LabelFontFit", text);
}
