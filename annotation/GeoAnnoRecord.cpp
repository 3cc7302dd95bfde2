#include "annotation/GeoAnnoRecord.h"

namespace annoflags {

void SetFlag(BYTE& flags, int mask, int on) {
    if (mask > 256) return;
    if (on)
        flags = static_cast<BYTE>(flags | mask);
    else
        flags = static_cast<BYTE>(flags & ~mask);
}

BOOL TestFlag(BYTE flags, int mask) {
    if (mask > 256) return FALSE;
    return (flags & mask) == mask;
}

void SetFormatStyle(BYTE& flags, int on) {
    if (on && GetArrayStyle(flags) != 0) return;
    SetFlag(flags, ANNO_FORMATSTYLE, on);
}

void SetArrayStyle(BYTE& flags, int style) {
    if (style != 0 && TestFlag(flags, ANNO_FORMATSTYLE)) return;
    switch (style) {
    case 0:
        SetFlag(flags, ANNO_VERTICAL | ANNO_ECHELON, 0);
        break;
    case 1:
        SetFlag(flags, ANNO_VERTICAL, 1);
        SetFlag(flags, ANNO_ECHELON, 0);
        break;
    case 2:
        SetFlag(flags, ANNO_ECHELON, 1);
        SetFlag(flags, ANNO_VERTICAL, 0);
        break;
    default:
        break;
    }
}

int GetArrayStyle(BYTE flags) {
    if (flags & ANNO_VERTICAL) return 1;
    if (flags & ANNO_ECHELON) return 2;
    return 0;
}

}  // namespace annoflags

GEOANNO MakeGeoAnno(const GEOANNO& anno) {
    GEOANNO r = anno;
    r.m_ptRotateCenter = anno.m_ptPosition;
    r.m_pPartOutput = nullptr;
    r.m_nIndexResult = 0;
    r.m_nWorkX = 0;
    r.m_nWorkY = 0;
    return r;
}
