#include "raster/RasterParameter.h"

#include <clocale>
#include <cstdio>
#include <locale.h>

namespace {

const char kSection[] = "Settings";
const char kEntry[] = "DefaultRasterParameter";

// Profile numbers use '.' whatever locale the host has set.
class CLocaleC {
public:
    CLocaleC() : m_c(newlocale(LC_NUMERIC_MASK, "C", (locale_t)0)), m_old(m_c ? uselocale(m_c) : (locale_t)0) {}
    ~CLocaleC() {
        if (m_c) {
            uselocale(m_old);
            freelocale(m_c);
        }
    }
    CLocaleC(const CLocaleC&) = delete;
    CLocaleC& operator=(const CLocaleC&) = delete;

private:
    locale_t m_c;
    locale_t m_old;
};

}  // namespace

tagRasterParameter GetBuiltinRasterParameter()
{
    tagRasterParameter p;
    p.m_nScale = 50000;
    p.m_nReserved = 0;
    p.m_dXResolution = 400.0;
    p.m_dYResolution = 400.0;
    p.m_dPixelSize = 1.0;
    return p;
}

tagRasterParameter GetDefaultRasterParameter()
{
    tagRasterParameter p = GetBuiltinRasterParameter();
    CWinApp* app = AfxGetApp();
    if (!app) return p;
    CString text = app->GetProfileString(kSection, kEntry, nullptr);
    if (text.IsEmpty()) return p;
    int scale = 0;
    float x = 0, y = 0, size = 0;
    int fields;
    {
        CLocaleC c;
        fields = std::sscanf((LPCSTR)text, "%d:%f:%f:%f", &scale, &x, &y, &size);
    }
    if (fields != 4 || !(x > 0) || !(y > 0) || !(size > 0)) return p;
    p.m_nScale = scale;
    p.m_dXResolution = x;
    p.m_dYResolution = y;
    p.m_dPixelSize = size;
    return p;
}

void SetDefaultRasterParameter(tagRasterParameter parameter)
{
    CWinApp* app = AfxGetApp();
    if (!app) return;
    char text[256];
    {
        CLocaleC c;
        std::snprintf(text, sizeof text, "%d:%f:%f:%f", parameter.m_nScale, parameter.m_dXResolution,
                      parameter.m_dYResolution, parameter.m_dPixelSize);
    }
    app->WriteProfileString(kSection, kEntry, text);
}
