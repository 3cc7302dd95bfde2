// Test support for images: GeoTIFF files written with libtiff directly (not through the bitmap library
// under test), in-memory images, a recording main window for progress messages, and the GDAL tools
// when they are installed.
#pragma once

#include "raster/GeoImage.h"

#include <afx/WinApp.h>
#include <brisca/GeoTIFF.h>

#include <tiffio.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace imagefixtures {

// An 8-bit grey TIFF of w x h pixels, pixel (x, row from the top) = value(x, row); with a model
// transformation when matrix is given (16 doubles).
template <class F>
bool WriteGreyTiff(const std::string& path, int w, int h, F value, const double* matrix = nullptr)
{
    BriscaRegisterGeoTIFFTags();
    TIFF* t = TIFFOpen(path.c_str(), "w");
    if (!t) return false;
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, w);
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, h);
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, h);
    if (matrix) TIFFSetField(t, 34264, 16, matrix);
    std::vector<uint8_t> row(w);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) row[x] = static_cast<uint8_t>(value(x, y));
        if (TIFFWriteScanline(t, row.data(), y, 0) < 0) {
            TIFFClose(t);
            return false;
        }
    }
    TIFFClose(t);
    return true;
}

// The model transformation of a north-up image whose lower-left corner is (e, n) metres, with square
// pixels of size metres, for an image of height rows.
inline std::vector<double> NorthUpMatrix(double e, double n, double size, int height)
{
    std::vector<double> m(16, 0.0);
    m[0] = size;
    m[3] = e;
    m[5] = -size;
    m[7] = n + size * height;
    m[15] = 1.0;
    return m;
}

// Records what the library sends the main window.
class CRecordingWnd : public CWnd {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM) override
    {
        messages.push_back({message, static_cast<int>(wParam)});
        return 0;
    }
    struct Message {
        UINT id;
        int w;
    };
    std::vector<Message> messages;
};

// Installs an application with the recording main window for the object's lifetime.
class ProgressScope {
public:
    ProgressScope()
    {
        m_app.m_pMainWnd = &wnd;
    }
    ~ProgressScope() { m_app.m_pMainWnd = nullptr; }
    CRecordingWnd wnd;

private:
    CWinApp m_app{"raster-test"};
};

inline bool HaveTool(const char* tool)
{
    const std::string cmd = std::string("command -v ") + tool + " >/dev/null 2>&1";
    return std::system(cmd.c_str()) == 0;
}

inline int RunQuiet(const std::string& cmd) { return std::system((cmd + " >/dev/null 2>&1").c_str()); }

inline std::string Capture(const std::string& cmd)
{
    std::string out;
    if (FILE* f = popen(cmd.c_str(), "r")) {
        char buf[4096];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
        pclose(f);
    }
    return out;
}

}  // namespace imagefixtures
