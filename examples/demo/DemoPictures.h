// Pictures of the demo's windows: each window drawn into a PNG in the output folder and listed on
// standard output with what it shows.
#pragma once

#include <afx/WindowPicture.h>
#include <win32/codepage.h>

#include <cstdio>
#include <string>
#include <utility>

namespace demo {

class WindowPictures {
public:
    explicit WindowPictures(std::string outDir) : m_outDir(std::move(outDir)) {}

    // Writes the picture of h as <outDir>/name and prints `what` with the file, or "NOT WRITTEN".
    void operator()(HWND h, const char* name, const char* what) {
        const std::string png = m_outDir + "/" + name;
        const BOOL ok = AfxWriteWindowPicture(h, win32::NativePathToGbk(png).c_str());
        std::printf("  %-36s %s\n", what, ok ? png.c_str() : "NOT WRITTEN");
        m_bAllWritten = m_bAllWritten && ok;
    }
    // Whether every picture asked for was written.
    bool AllWritten() const { return m_bAllWritten; }

private:
    std::string m_outDir;
    bool m_bAllWritten = true;
};

}  // namespace demo
