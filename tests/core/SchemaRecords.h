// Hand-built records of the schema classes: a display style in its fixed-order form, field lists and
// feature-class bodies, written field by field from the record layouts.
#pragma once

#include "core/SchemaBytes.h"

#include "core/GeoGClass.h"

#include <cstring>
#include <vector>

namespace schematest {

// A style whose every field differs from the defaults.
inline GEOVIEW TestStyle() {
    GEOVIEW v;
    v.m_nViewType = 0;
    v.m_nPointShape = 3;
    v.m_crPointColor = 0x0000FF;
    v.m_nPointSize = 7;
    v.m_nLineShape = 0x1200;
    v.m_crLineColor = 0x00FF00;
    v.m_fLineWidth = 0.5f;
    v.m_crFillColor = 0x00FFFF;
    v.m_nFillShape = 2;
    v.m_bTransparent = 0;
    const BYTE symbols[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    std::memcpy(v.m_bySymbol, symbols, 8);
    v.m_crAnnoColor = 0x123456;
    std::memset(v.m_szFaceName, 0, sizeof v.m_szFaceName);
    std::strcpy(v.m_szFaceName, "\xBA\xDA\xCC\xE5");  // "黑体"
    v.m_dwTextFlags = 0x84;
    v.m_nBufferWidth = 4;
    return v;
}

// TestStyle in the fixed-order form as a library of the given version writes it (the buffer width
// from 1.2, the float line width from 1.36).
inline Bytes TestStyleBytes(float fVersion) {
    ByteBuilder b;
    b.dw(3 | 0x20000000).dw(0x0000FF).i32(7).i32(0x1200).dw(0x00FF00).i32(1).dw(0x00FFFF).i32(2).i32(0);
    b.bytes({1, 2, 3, 4, 5, 6, 7, 8}).dw(0x123456).fixed("\xBA\xDA\xCC\xE5", 32).dw(0x84).i32(0);
    b.f(fVersion);
    if (fVersion >= 1.2f) b.i32(4);
    if (fVersion >= 1.36f) b.f(0.5f);
    return b.get();
}

// One field named name of type long and size 6, every other member at its zero value.
inline CDaoFieldInfo LongField(const char* name) {
    CDaoFieldInfo f;
    f.m_strName = name;
    f.m_nType = dbLong;
    f.m_lSize = 6;
    return f;
}

// A field list of LongField(name) descriptions.
inline Bytes LongFieldListBytes(const std::vector<std::string>& names) {
    ByteBuilder b;
    b.dw(static_cast<DWORD>(names.size()));
    for (const std::string& n : names) {
        b.str(n).w(dbLong).dw(6).dw(0).w(0).dw(0).dw(0).dw(0);
        for (int i = 0; i < 6; ++i) b.str("");
    }
    return b.get();
}

// The feature-class body this library (1.38) writes for a class with LongField fields and TestStyle.
struct ClassBody {
    std::vector<std::string> fields;
    DWORD minScale = 1, maxScale = 0xFFFFFFFF, code = 0;
    std::string name;
    DWORD type = 0x20000067;
    LONG elevation = 0;
    DWORD fontWidth = 50, fontHeight = 50;

    Bytes get() const {
        ByteBuilder b;
        b.bytes(LongFieldListBytes(fields)).bytes(TestStyleBytes(1.38f));
        b.dw(minScale | 0x80000000).dw(maxScale).dw(code).str(name);
        b.f(1.38f).dw(type).i32(elevation).dw(fontWidth).dw(fontHeight);
        return b.get();
    }
};

// A class with TestStyle, LongField fields and the given code and name.
inline CGeoGClass MakeClass(UINT code, const char* name, const std::vector<std::string>& fields = {}) {
    CGeoGClass gc;
    gc.SetGCID(code);
    gc.SetGCName(name);
    gc.SetGeoView(TestStyle());
    for (const std::string& f : fields) gc.AddField(LongField(f.c_str()), -2);
    return gc;
}

}  // namespace schematest
