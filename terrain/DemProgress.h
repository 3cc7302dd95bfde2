// Progress reports of long DEM operations to the host's main window, when there is one:
// 1224 (0, text) at the start, 1225 (percent, 0) as work goes on, 1226 (0, 0) at the end.
#pragma once

#include <afx/afx.h>
#include <afx/WinApp.h>

namespace demprogress {

inline void Begin(const char* text)
{
    if (CWnd* w = AfxGetMainWnd()) w->SendMessage(1224, 0, reinterpret_cast<LPARAM>(text));
}

inline void Step(int percent)
{
    if (CWnd* w = AfxGetMainWnd()) w->SendMessage(1225, static_cast<WPARAM>(percent), 0);
}

inline void End()
{
    if (CWnd* w = AfxGetMainWnd()) w->SendMessage(1226, 0, 0);
}

}  // namespace demprogress
