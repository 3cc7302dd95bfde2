// Small objects the dialog tests and the screen's dialog table both build.
#pragma once

#include "core/GeoGClass.h"
#include "core/GeoTheme.h"
#include "raster/RasterParameter.h"

#include <initializer_list>
#include <utility>

namespace fixtures {

// A new schema (the caller deletes it) holding the classes given as (code, name), in that order.
inline CGeoTheme* MakeTheme(const char* name, std::initializer_list<std::pair<UINT, const char*>> classes) {
    auto* t = new CGeoTheme;
    t->SetName(name);
    for (auto& c : classes) {
        CGeoGClass gc;
        gc.SetGCID(c.first);
        gc.SetGCName(c.second);
        t->AddGC(gc, -2);
    }
    return t;
}

// Class 9, "高程点": directed points with elevations, as the object sheet's spot height pages need.
inline CGeoGClass SpotHeightClass() {
    CGeoGClass gc;
    gc.SetGCID(9);
    gc.SetGCName("高程点");
    gc.SetType(GCT_POINT | GCT_POINT_DIRECTED);
    gc.ValidElevation(1);
    return gc;
}

// A scanned image's parameters: 400.7 by 300 dpi at 1 : 50 000, pixel size 1.
inline tagRasterParameter ScannedImageParameter() {
    tagRasterParameter p{};
    p.m_nScale = 50000;
    p.m_dXResolution = 400.7;
    p.m_dYResolution = 300.0;
    p.m_dPixelSize = 1.0;
    return p;
}

}  // namespace fixtures
