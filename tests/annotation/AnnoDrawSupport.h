// Small helpers of the annotation drawing tests: a recording DC, an image DC, record and style makers.
#pragma once

#include "annotation/GeoAnnoRecord.h"
#include "core/GeoView.h"

#include <afx/Dc.h>
#include <win32/gdirecord.h>

#include <string>
#include <vector>

namespace annodraw_test {

// At scale 10 and unit millimetre a record unit is one device pixel, and device y = -record y.
constexpr UINT kScale = 10;

struct RecordingDC {
    CDC dc;
    explicit RecordingDC(int w = 400, int h = 400) { dc.Attach(win32::CreateRecordingDC(w, h)); }
    std::vector<win32::GdiRecord> All() const { return win32::GetRecording(dc.m_hDC); }
    // The calls of one name drawn outside a path.
    std::vector<win32::GdiRecord> Calls(const std::string& name) const
    {
        std::vector<win32::GdiRecord> out;
        for (const win32::GdiRecord& r : All())
            if (r.call == name && !r.inPath) out.push_back(r);
        return out;
    }
    void Clear() { win32::ClearRecording(dc.m_hDC); }
};

struct ImageDC {
    CDC dc;
    int w, h;
    ImageDC(int width, int height) : w(width), h(height) { dc.Attach(win32::CreateImageDC(width, height)); }
    std::vector<COLORREF> Pixels() const
    {
        std::vector<COLORREF> px;
        px.reserve((size_t)w * h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) px.push_back(::GetPixel(dc.m_hDC, x, y));
        return px;
    }
};

inline GEOANNO MakeRecord(const char* text, int cw, int ch, int align = 0)
{
    GEOANNO r;
    r.m_strText = text;
    r.m_nCharWidth = cw;
    r.m_nCharHeight = ch;
    r.m_nAlignType = align;
    r.m_nUnit = 3;
    return r;
}

inline GEOVIEW MakeStyle(DWORD flags = GEOVIEW_TEXT_TRANSPARENT, COLORREF colour = RGB(0, 0, 0))
{
    GEOVIEW v = GetDefaultGEOVIEW();
    v.m_dwTextFlags = flags;
    v.m_crAnnoColor = colour;
    v.m_nBufferWidth = 0;
    return v;
}

// Device points as "(x,y) (x,y)" for comparisons that print well.
inline std::string Pts(const std::vector<POINT>& pts)
{
    std::string s;
    for (const POINT& p : pts) s += "(" + std::to_string(p.x) + "," + std::to_string(p.y) + ")";
    return s;
}

inline std::vector<int> Xs(const std::vector<win32::GdiRecord>& calls)
{
    std::vector<int> xs;
    for (const win32::GdiRecord& r : calls) xs.push_back(r.points.empty() ? INT32_MIN : r.points[0].x);
    return xs;
}
inline std::vector<int> Ys(const std::vector<win32::GdiRecord>& calls)
{
    std::vector<int> ys;
    for (const win32::GdiRecord& r : calls) ys.push_back(r.points.empty() ? INT32_MIN : r.points[0].y);
    return ys;
}

// Deletes the objects of an output list.
inline void ClearOutput(CObList& list)
{
    POSITION pos = list.GetHeadPosition();
    while (pos) delete list.GetNext(pos);
    list.RemoveAll();
}

}  // namespace annodraw_test
