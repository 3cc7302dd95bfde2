// GEOVIEW: the display style of everything that is drawn (point, line, fill and annotation parts), with
// three symbol numbers of the symbol library and the lettering flags of annotation text.
//
// A style is always copied by value: holders return copies and assign on set. It has two record forms:
//   Serialize   writes only the parts its type carries; used where a style stands alone.
//   Serialize1  writes every field in a fixed order; used inside feature classes and themes.
// Both are described field by field at their declarations below. Integers, colours and floats are
// 4 bytes little-endian; versions are floats compared with float constants.
//
// Known limit of the Serialize record, kept for compatibility with existing files: the line symbol's
// bits 11 to 20 live in symbol bytes b2 and b3, which only types 0 and 1 write. A style of type 2 or 3
// whose line symbol is 2048 or more therefore loses those bits (they are mixed with whatever the loading
// style held); only the low 11 bits of such a line symbol survive a Serialize round trip. Serialize1
// writes all eight bytes and keeps every symbol number.
#pragma once

#include <afx/afx.h>

// Which symbol number of a style (GetSymbol, SetSymbol).
enum SYMBOLTYPE : int {
    SYMBOL_POINT = 0,
    SYMBOL_LINE = 1,
    SYMBOL_FILL = 2,
};

// The lettering style as one code (GetFontType, SetFontType).
enum FONTTYPE : int {
    FONT_NORMAL = 0,         // normal lettering
    FONT_SLANT = 1,          // slanted, direction bit 0x200 clear
    FONT_SLANT_REVERSE = 2,  // slanted, direction bit 0x200 set
    FONT_SONGJIAN = 3,       // shoulder-raised, direction bit 0x100 clear
    FONT_SONGJIAN_REVERSE = 4,  // shoulder-raised, direction bit 0x100 set
};

// Lettering flags (m_dwTextFlags).
#define GEOVIEW_TEXT_NORMAL 0x01u
#define GEOVIEW_TEXT_SLANT 0x02u
#define GEOVIEW_TEXT_BOLD 0x04u
#define GEOVIEW_TEXT_SONGJIAN 0x08u
#define GEOVIEW_TEXT_UNDERLINE 0x10u
#define GEOVIEW_TEXT_STRIKE 0x20u
#define GEOVIEW_TEXT_EMPHASIS 0x40u
#define GEOVIEW_TEXT_TRANSPARENT 0x80u
#define GEOVIEW_TEXT_SONGJIAN_DIR 0x100u
#define GEOVIEW_TEXT_SLANT_DIR 0x200u

// Style types (m_nViewType): which parts the style carries.
#define GEOVIEW_ALL 0
#define GEOVIEW_POINT 1
#define GEOVIEW_LINE 2
#define GEOVIEW_FILL 3
#define GEOVIEW_ANNO 4

// The flag in the leading word of both records that says a version float follows.
#define GEOVIEW_VERSION_FLAG 0x20000000u

class GEOVIEW : public CObject {
    DECLARE_SERIAL(GEOVIEW)
public:
    // The defaults: type 0, point shape 0, point size GetDefaultPointSize(), line shape 512 (a solid
    // line with flat ends), line width 0.0, point, line and annotation colour GetDefaultColor(), fill
    // colour GetDefaultFillColor(), fill shape 0, transparent 1, no symbols, face "宋体", text flags
    // 0x80 (transparent background), buffer width 0. m_fVersion starts at 0.0 (never loaded).
    GEOVIEW();
    // Copies every field but the record version, which becomes 0.0.
    GEOVIEW(const GEOVIEW& src);
    ~GEOVIEW() override = default;

    // Copies every field except m_fVersion, which keeps its value.
    virtual GEOVIEW& operator=(const GEOVIEW& src);

    // The symbol number of that kind (21 bits, 0 = no symbol); 0 for any other kind.
    int GetSymbol(SYMBOLTYPE kind) const;
    // Stores id & 0x1FFFFF as the number of that kind, keeping the other two, and returns the previous
    // number; any other kind changes nothing and returns 0.
    int SetSymbol(SYMBOLTYPE kind, int id);

    // Set their bit when on > 0, clear it when on <= 0. SetNomal with on != 0 then switches slanted and
    // shoulder-raised lettering off (SetSongjian (0, 0), SetXieTi (0, 0)).
    void SetNomal(int on);
    void SetBold(int on);
    void SetUnderLine(int on);
    void SetZhongLine(int on);
    void SetZhuoZhong(int on);
    void SetTransparent(int on);
    // Slanted (0x02) and shoulder-raised (0x08) lettering: the style bit as above; the direction bit
    // (0x200, 0x100) is set when dir is 0 and cleared otherwise; with on != 0 the other lettering styles
    // are switched off (their direction bits end up set).
    void SetXieTi(int on, int dir);
    void SetSongjian(int on, int dir);
    // 0 SetNomal (1); 1 SetXieTi (1, 1); 2 SetXieTi (1, 0); 3 SetSongjian (1, 1); 4 SetSongjian (1, 0);
    // other values change nothing.
    void SetFontType(FONTTYPE type);
    // 4 or 3 when 0x08 is set (4 with 0x100), else 2 or 1 when 0x02 is set (2 with 0x200), else 0.
    FONTTYPE GetFontType() const;

    // Sets the face name, cut to 31 bytes on a character boundary (a two-byte character that would not
    // fit whole is left out), and zero-fills the rest of the field.
    void SetFaceName(LPCSTR lpszFace);

    // The stand-alone record. Both directions first set m_fVersion to 1.15.
    // Storing, with the library version (GetCorvaneLibraryVersion, 1.38):
    //   DWORD  m_nViewType | 0x20000000 (the flag only when the library version is 1.2 or more)
    //   types 0, 1:    point shape, point colour, point size, symbol bytes b0..b3 (4 raw bytes)
    //   types 0, 2, 3: line shape, line colour, int 1 (an obsolete integer width), symbol bytes b4..b7,
    //                  fill colour, fill shape, transparent
    //   types 0, 4:    annotation colour, face name (archive string), text flags
    //   float  library version (when 1.2 or more)
    //   types 0, 4:    buffer width (when the library version is 1.2 or more)
    //   types 0, 2, 3: float line width
    // Loading reads the same fields as the leading word's type and the stored version say:
    //   - without the flag (an old record) the word is the type, the version stays 1.15, and types 0 and 4
    //     carry two more floats (ignored) and a transparent-text and an underline int after the text
    //     flags, from which the text flags are rebuilt (slanting kept as SetXieTi (1, 0));
    //   - types 1 to 3 set the face name to "宋体";
    //   - buffer width from 1.2; a 1.2 record with the slant bit gets SetXieTi (1, 0);
    //   - float line width from 1.36, before that the integer width;
    //   - records older than 1.37 load with line shape 512.
    // Fields of parts the type does not carry keep their values. A face name of 32 bytes or more is cut
    // to 31 bytes on a character boundary. Archive errors raise CArchiveException.
    void Serialize(CArchive& ar) override;

    // The fixed record used inside feature classes and themes. Both directions first set m_fVersion to
    // 1.15. Storing:
    //   DWORD  point shape | 0x20000000
    //   point colour, point size, line shape, line colour, int 1, fill colour, fill shape, transparent
    //   8 symbol bytes, annotation colour, face name as 32 raw bytes (zero-padded), text flags, type
    //   float library version, buffer width
    //   float line width (when the library version is 1.36 or more)
    // Loading: without the flag the first word is discarded and the point shape is the next word (older
    // libraries wrote one more word); such records then carry two ignored floats, a transparent-text and
    // an underline int before the type, and rebuild the text flags as Serialize does. With the flag the
    // version follows the type; buffer width from 1.2; line width from 1.36 (else the integer width);
    // a 1.2 record with the slant bit gets SetXieTi (1, 0); older than 1.37 loads line shape 512.
    // The face bytes are cut to 31 bytes on a character boundary.
    void Serialize1(CArchive& ar);

    int m_nViewType;        // 0 all parts, 1 point, 2 line, 3 fill, 4 annotation
    float m_fVersion;       // record version of the last load (1.15 for a record without version)
    int m_nPointShape;
    COLORREF m_crPointColor;
    int m_nPointSize;
    int m_nLineShape;       // ExtCreatePen style: style low bits, end caps 0x100/0x200, joins 0x1000/0x2000
    COLORREF m_crLineColor;
    float m_fLineWidth;
    COLORREF m_crFillColor;
    int m_nFillShape;
    int m_bTransparent;
    BYTE m_bySymbol[8];     // point, line and fill symbol numbers, 21 bits each, big-endian packed
    COLORREF m_crAnnoColor;
    char m_szFaceName[32];  // GBK, zero-terminated
    DWORD m_dwTextFlags;
    int m_nBufferWidth;     // width of the halo around annotation text, in 0.1 mm
};

// A copy of a default-constructed style (built from the current default colours and point size).
GEOVIEW GetDefaultGEOVIEW();
