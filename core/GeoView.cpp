#include "core/GeoView.h"

#include "core/CorvaneModule.h"
#include "core/GeoSettings.h"

#include <cstring>

IMPLEMENT_SERIAL(GEOVIEW, CObject, 1)

namespace {

const char kDefaultFace[] = "宋体";

// Symbol numbers are 21-bit fields of the eight bytes read as one big-endian word:
// point bits 62..42, line 41..21, fill 20..0 (bit 63, the top bit of b0, is never set).
const int kSymbolShift[3] = {42, 21, 0};
const ULONGLONG kSymbolMask = 0x1FFFFF;

ULONGLONG PackedSymbols(const BYTE b[8]) {
    ULONGLONG v = 0;
    for (int i = 0; i < 8; ++i) v = (v << 8) | b[i];
    return v;
}

void StorePackedSymbols(BYTE b[8], ULONGLONG v) {
    for (int i = 7; i >= 0; --i) {
        b[i] = static_cast<BYTE>(v & 0xFF);
        v >>= 8;
    }
}

// Copies at most 31 bytes of a GBK string into a 32-byte field, never splitting a two-byte character,
// and zero-fills the rest.
void CopyFaceName(char dst[32], const char* src, size_t srcLen) {
    size_t n = 0;
    while (n < srcLen && src[n] != '\0') {
        size_t charLen = (static_cast<BYTE>(src[n]) >= 0x81 && static_cast<BYTE>(src[n]) <= 0xFE) ? 2 : 1;
        if (n + charLen > 31 || n + charLen > srcLen) break;
        if (charLen == 2 && src[n + 1] == '\0') break;
        n += charLen;
    }
    std::memcpy(dst, src, n);
    std::memset(dst + n, 0, 32 - n);
}

void SetFlag(DWORD& flags, DWORD bit, bool on) {
    if (on)
        flags |= bit;
    else
        flags &= ~bit;
}

bool CarriesPoint(int type) { return type == GEOVIEW_ALL || type == GEOVIEW_POINT; }
bool CarriesLine(int type) { return type == GEOVIEW_ALL || type == GEOVIEW_LINE || type == GEOVIEW_FILL; }
bool CarriesAnno(int type) { return type == GEOVIEW_ALL || type == GEOVIEW_ANNO; }

int ReadInt(CArchive& ar) {
    LONG v;
    ar >> v;
    return v;
}

DWORD ReadDword(CArchive& ar) {
    DWORD v;
    ar >> v;
    return v;
}

float ReadFloat(CArchive& ar) {
    float v;
    ar >> v;
    return v;
}

void ReadBytes(CArchive& ar, BYTE* p, UINT n) {
    if (ar.Read(p, n) != n) AfxThrowArchiveException(CArchiveException::endOfFile);
}

// Four raw bytes, read as a DWORD is (in line from the archive's buffer) and kept in their file order.
void Read4Bytes(CArchive& ar, BYTE* p) {
    DWORD v;
    ar >> v;
    std::memcpy(p, &v, 4);
}

}  // namespace

GEOVIEW::GEOVIEW()
    : m_nViewType(GEOVIEW_ALL),
      m_fVersion(0.0f),
      m_nPointShape(0),
      m_crPointColor(GetDefaultColor()),
      m_nPointSize(GetDefaultPointSize()),
      m_nLineShape(512),
      m_crLineColor(GetDefaultColor()),
      m_fLineWidth(0.0f),
      m_crFillColor(GetDefaultFillColor()),
      m_nFillShape(0),
      m_bTransparent(1),
      m_bySymbol{},
      m_crAnnoColor(GetDefaultColor()),
      m_szFaceName{},
      m_dwTextFlags(0),
      m_nBufferWidth(0) {
    SetFaceName(kDefaultFace);
    SetTransparent(1);
    SetUnderLine(0);
}

GEOVIEW::GEOVIEW(const GEOVIEW& src) : CObject(), m_fVersion(0.0f) { operator=(src); }

GEOVIEW& GEOVIEW::operator=(const GEOVIEW& src) {
    if (this == &src) return *this;
    m_nPointShape = src.m_nPointShape;
    m_crPointColor = src.m_crPointColor;
    m_nPointSize = src.m_nPointSize;
    m_nLineShape = src.m_nLineShape;
    m_crLineColor = src.m_crLineColor;
    m_fLineWidth = src.m_fLineWidth;
    m_crFillColor = src.m_crFillColor;
    m_nFillShape = src.m_nFillShape;
    m_bTransparent = src.m_bTransparent;
    std::memcpy(m_bySymbol, src.m_bySymbol, sizeof m_bySymbol);
    m_crAnnoColor = src.m_crAnnoColor;
    CopyFaceName(m_szFaceName, src.m_szFaceName, sizeof src.m_szFaceName);
    m_dwTextFlags = src.m_dwTextFlags;
    m_nViewType = src.m_nViewType;
    m_nBufferWidth = src.m_nBufferWidth;
    return *this;
}

int GEOVIEW::GetSymbol(SYMBOLTYPE kind) const {
    if (kind < SYMBOL_POINT || kind > SYMBOL_FILL) return 0;
    return static_cast<int>((PackedSymbols(m_bySymbol) >> kSymbolShift[kind]) & kSymbolMask);
}

int GEOVIEW::SetSymbol(SYMBOLTYPE kind, int id) {
    if (kind < SYMBOL_POINT || kind > SYMBOL_FILL) return 0;
    int previous = GetSymbol(kind);
    ULONGLONG v = PackedSymbols(m_bySymbol);
    v &= ~(kSymbolMask << kSymbolShift[kind]);
    v |= (static_cast<ULONGLONG>(static_cast<DWORD>(id)) & kSymbolMask) << kSymbolShift[kind];
    StorePackedSymbols(m_bySymbol, v);
    return previous;
}

void GEOVIEW::SetNomal(int on) {
    SetFlag(m_dwTextFlags, GEOVIEW_TEXT_NORMAL, on > 0);
    if (on != 0) {
        SetSongjian(0, 0);
        SetXieTi(0, 0);
    }
}

void GEOVIEW::SetBold(int on) { SetFlag(m_dwTextFlags, GEOVIEW_TEXT_BOLD, on > 0); }
void GEOVIEW::SetUnderLine(int on) { SetFlag(m_dwTextFlags, GEOVIEW_TEXT_UNDERLINE, on > 0); }
void GEOVIEW::SetZhongLine(int on) { SetFlag(m_dwTextFlags, GEOVIEW_TEXT_STRIKE, on > 0); }
void GEOVIEW::SetZhuoZhong(int on) { SetFlag(m_dwTextFlags, GEOVIEW_TEXT_EMPHASIS, on > 0); }
void GEOVIEW::SetTransparent(int on) { SetFlag(m_dwTextFlags, GEOVIEW_TEXT_TRANSPARENT, on > 0); }

void GEOVIEW::SetXieTi(int on, int dir) {
    SetFlag(m_dwTextFlags, GEOVIEW_TEXT_SLANT, on > 0);
    SetFlag(m_dwTextFlags, GEOVIEW_TEXT_SLANT_DIR, dir == 0);
    if (on != 0) {
        SetSongjian(0, 0);
        SetNomal(0);
    }
}

void GEOVIEW::SetSongjian(int on, int dir) {
    SetFlag(m_dwTextFlags, GEOVIEW_TEXT_SONGJIAN, on > 0);
    SetFlag(m_dwTextFlags, GEOVIEW_TEXT_SONGJIAN_DIR, dir == 0);
    if (on != 0) {
        SetXieTi(0, 0);
        SetNomal(0);
    }
}

void GEOVIEW::SetFontType(FONTTYPE type) {
    switch (type) {
    case FONT_NORMAL: SetNomal(1); break;
    case FONT_SLANT: SetXieTi(1, 1); break;
    case FONT_SLANT_REVERSE: SetXieTi(1, 0); break;
    case FONT_SONGJIAN: SetSongjian(1, 1); break;
    case FONT_SONGJIAN_REVERSE: SetSongjian(1, 0); break;
    default: break;
    }
}

FONTTYPE GEOVIEW::GetFontType() const {
    if (m_dwTextFlags & GEOVIEW_TEXT_SONGJIAN)
        return (m_dwTextFlags & GEOVIEW_TEXT_SONGJIAN_DIR) ? FONT_SONGJIAN_REVERSE : FONT_SONGJIAN;
    if (m_dwTextFlags & GEOVIEW_TEXT_SLANT)
        return (m_dwTextFlags & GEOVIEW_TEXT_SLANT_DIR) ? FONT_SLANT_REVERSE : FONT_SLANT;
    return FONT_NORMAL;
}

void GEOVIEW::SetFaceName(LPCSTR lpszFace) {
    if (!lpszFace) lpszFace = "";
    CopyFaceName(m_szFaceName, lpszFace, std::strlen(lpszFace));
}

namespace {

// The text flags of a record without version: only slanting survives, then the two separate flags.
void RebuildOldTextFlags(GEOVIEW& v, int transparent, int underline) {
    bool slanted = (v.m_dwTextFlags & GEOVIEW_TEXT_SLANT) != 0;
    v.m_dwTextFlags = 0;
    if (slanted) v.SetXieTi(1, 0);
    v.SetTransparent(transparent);
    v.SetUnderLine(underline);
}

}  // namespace

void GEOVIEW::Serialize(CArchive& ar) {
    m_fVersion = 1.15f;
    if (ar.IsStoring()) {
        const float lib = GetCorvaneLibraryVersion();
        const bool versioned = lib >= 1.2f;
        const int type = m_nViewType;
        ar << static_cast<DWORD>(static_cast<DWORD>(type) | (versioned ? GEOVIEW_VERSION_FLAG : 0u));
        if (CarriesPoint(type)) {
            ar << static_cast<LONG>(m_nPointShape) << m_crPointColor << static_cast<LONG>(m_nPointSize);
            ar.Write(m_bySymbol, 4);
        }
        if (CarriesLine(type)) {
            ar << static_cast<LONG>(m_nLineShape) << m_crLineColor << static_cast<LONG>(1);
            ar.Write(m_bySymbol + 4, 4);
            ar << m_crFillColor << static_cast<LONG>(m_nFillShape) << static_cast<LONG>(m_bTransparent);
        }
        if (CarriesAnno(type)) ar << m_crAnnoColor << CString(m_szFaceName) << m_dwTextFlags;
        if (versioned) {
            ar << lib;
            if (CarriesAnno(type)) ar << static_cast<LONG>(m_nBufferWidth);
        }
        if (CarriesLine(type)) ar << m_fLineWidth;
        return;
    }

    const DWORD w = ReadDword(ar);
    const bool versioned = (w & GEOVIEW_VERSION_FLAG) != 0;
    const int type = static_cast<int>(versioned ? (w & 0x1FFFFFFFu) : w);
    m_nViewType = type;
    int intWidth = 0;
    if (CarriesPoint(type)) {
        m_nPointShape = ReadInt(ar);
        m_crPointColor = ReadDword(ar);
        m_nPointSize = ReadInt(ar);
        Read4Bytes(ar, m_bySymbol);
    }
    if (CarriesLine(type)) {
        m_nLineShape = ReadInt(ar);
        m_crLineColor = ReadDword(ar);
        intWidth = ReadInt(ar);
        Read4Bytes(ar, m_bySymbol + 4);
        m_crFillColor = ReadDword(ar);
        m_nFillShape = ReadInt(ar);
        m_bTransparent = ReadInt(ar);
    }
    if (CarriesAnno(type)) {
        m_crAnnoColor = ReadDword(ar);
        CString face;
        ar >> face;
        CopyFaceName(m_szFaceName, face, static_cast<size_t>(face.GetLength()));
        m_dwTextFlags = ReadDword(ar);
        if (!versioned) {
            ReadFloat(ar);
            ReadFloat(ar);
            int transparent = ReadInt(ar);
            int underline = ReadInt(ar);
            RebuildOldTextFlags(*this, transparent, underline);
        }
    } else if (type == GEOVIEW_POINT || type == GEOVIEW_LINE || type == GEOVIEW_FILL) {
        SetFaceName(kDefaultFace);
    }
    if (versioned) m_fVersion = ReadFloat(ar);
    if (CarriesAnno(type) && m_fVersion >= 1.2f) {
        m_nBufferWidth = ReadInt(ar);
        if (m_fVersion == 1.2f && (m_dwTextFlags & GEOVIEW_TEXT_SLANT)) SetXieTi(1, 0);
    }
    if (CarriesLine(type)) {
        if (m_fVersion >= 1.36f)
            m_fLineWidth = ReadFloat(ar);
        else
            m_fLineWidth = static_cast<float>(intWidth);
    }
    if (m_fVersion < 1.37f) m_nLineShape = 512;
}

void GEOVIEW::Serialize1(CArchive& ar) {
    m_fVersion = 1.15f;
    if (ar.IsStoring()) {
        const float lib = GetCorvaneLibraryVersion();
        ar << static_cast<DWORD>(static_cast<DWORD>(m_nPointShape) | GEOVIEW_VERSION_FLAG);
        ar << m_crPointColor << static_cast<LONG>(m_nPointSize) << static_cast<LONG>(m_nLineShape) << m_crLineColor
           << static_cast<LONG>(1) << m_crFillColor << static_cast<LONG>(m_nFillShape)
           << static_cast<LONG>(m_bTransparent);
        ar.Write(m_bySymbol, 8);
        ar << m_crAnnoColor;
        char face[32];
        CopyFaceName(face, m_szFaceName, sizeof m_szFaceName);
        ar.Write(face, 32);
        ar << m_dwTextFlags << static_cast<LONG>(m_nViewType);
        ar << lib << static_cast<LONG>(m_nBufferWidth);
        if (lib >= 1.36f) ar << m_fLineWidth;
        return;
    }

    const DWORD w = ReadDword(ar);
    const bool versioned = (w & GEOVIEW_VERSION_FLAG) != 0;
    m_nPointShape = versioned ? static_cast<int>(w & 0x1FFFFFFFu) : ReadInt(ar);
    m_crPointColor = ReadDword(ar);
    m_nPointSize = ReadInt(ar);
    m_nLineShape = ReadInt(ar);
    m_crLineColor = ReadDword(ar);
    const int intWidth = ReadInt(ar);
    m_crFillColor = ReadDword(ar);
    m_nFillShape = ReadInt(ar);
    m_bTransparent = ReadInt(ar);
    ReadBytes(ar, m_bySymbol, 8);
    m_crAnnoColor = ReadDword(ar);
    char face[32];
    ReadBytes(ar, reinterpret_cast<BYTE*>(face), 32);
    CopyFaceName(m_szFaceName, face, sizeof face);
    m_dwTextFlags = ReadDword(ar);
    if (!versioned) {
        ReadFloat(ar);
        ReadFloat(ar);
        int transparent = ReadInt(ar);
        int underline = ReadInt(ar);
        RebuildOldTextFlags(*this, transparent, underline);
    }
    m_nViewType = ReadInt(ar);
    if (versioned) m_fVersion = ReadFloat(ar);
    if (m_fVersion >= 1.2f) m_nBufferWidth = ReadInt(ar);
    if (m_fVersion >= 1.36f)
        m_fLineWidth = ReadFloat(ar);
    else
        m_fLineWidth = static_cast<float>(intWidth);
    if (m_fVersion == 1.2f && (m_dwTextFlags & GEOVIEW_TEXT_SLANT)) SetXieTi(1, 0);
    if (m_fVersion < 1.37f) m_nLineShape = 512;
}

GEOVIEW GetDefaultGEOVIEW() { return GEOVIEW(); }
