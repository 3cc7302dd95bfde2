// The display style: defaults, symbol-number packing, lettering flags, and both record forms checked
// against records built by hand for every version path.
#include "core/GeoView.h"

#include "core/GeoSettings.h"
#include "core/SchemaBytes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using schematest::ByteBuilder;
using schematest::Bytes;

namespace {

const std::string kSongTi = "宋体";  // CB CE CC E5 at run time

// The eight symbol bytes as the packing table spells them, written independently of the class.
Bytes SymbolBytes(DWORD p, DWORD l, DWORD f) {
    return Bytes{static_cast<BYTE>((p >> 14) & 0x7F),
                 static_cast<BYTE>((p >> 6) & 0xFF),
                 static_cast<BYTE>(((p & 0x3F) << 2) | ((l >> 19) & 0x03)),
                 static_cast<BYTE>((l >> 11) & 0xFF),
                 static_cast<BYTE>((l >> 3) & 0xFF),
                 static_cast<BYTE>(((l & 0x07) << 5) | ((f >> 16) & 0x1F)),
                 static_cast<BYTE>((f >> 8) & 0xFF),
                 static_cast<BYTE>(f & 0xFF)};
}

GEOVIEW SampleStyle(int type) {
    GEOVIEW v;
    v.m_nViewType = type;
    v.m_nPointShape = 3;
    v.m_crPointColor = 0xFF;
    v.m_nPointSize = 16;
    v.m_nLineShape = 0x1200;
    v.m_crLineColor = 0xFF00;
    v.m_fLineWidth = 2.5f;
    v.m_crFillColor = 0xFF0000;
    v.m_nFillShape = 2;
    v.m_bTransparent = 1;
    v.SetSymbol(SYMBOL_POINT, 5);
    v.SetSymbol(SYMBOL_LINE, 0x1ABCDE);
    v.SetSymbol(SYMBOL_FILL, 7);
    v.m_crAnnoColor = 0x123456;
    v.m_dwTextFlags = 0x80;
    v.m_nBufferWidth = 3;
    return v;
}

Bytes StoreView(GEOVIEW& v, bool form1 = false) {
    return schematest::Store([&](CArchive& ar) { form1 ? v.Serialize1(ar) : v.Serialize(ar); });
}

// Loads the record and checks that it was read to its last byte.
void LoadView(GEOVIEW& v, const Bytes& data, bool form1 = false) {
    schematest::Load(data, [&](CArchive& ar) {
        form1 ? v.Serialize1(ar) : v.Serialize(ar);
        BYTE extra;
        EXPECT_EQ(ar.Read(&extra, 1), 0u) << "record not read to its end";
    });
}

void ExpectSameFields(const GEOVIEW& a, const GEOVIEW& b) {
    EXPECT_EQ(a.m_nViewType, b.m_nViewType);
    EXPECT_EQ(a.m_nPointShape, b.m_nPointShape);
    EXPECT_EQ(a.m_crPointColor, b.m_crPointColor);
    EXPECT_EQ(a.m_nPointSize, b.m_nPointSize);
    EXPECT_EQ(a.m_nLineShape, b.m_nLineShape);
    EXPECT_EQ(a.m_crLineColor, b.m_crLineColor);
    EXPECT_EQ(a.m_fLineWidth, b.m_fLineWidth);
    EXPECT_EQ(a.m_crFillColor, b.m_crFillColor);
    EXPECT_EQ(a.m_nFillShape, b.m_nFillShape);
    EXPECT_EQ(a.m_bTransparent, b.m_bTransparent);
    EXPECT_EQ(0, std::memcmp(a.m_bySymbol, b.m_bySymbol, 8));
    EXPECT_EQ(a.m_crAnnoColor, b.m_crAnnoColor);
    EXPECT_STREQ(a.m_szFaceName, b.m_szFaceName);
    EXPECT_EQ(a.m_dwTextFlags, b.m_dwTextFlags);
    EXPECT_EQ(a.m_nBufferWidth, b.m_nBufferWidth);
}

}  // namespace

TEST(GeoView, DefaultsComeFromTheSettings) {
    GEOVIEW v;
    EXPECT_EQ(v.m_nViewType, 0);
    EXPECT_EQ(v.m_nLineShape, 512);
    EXPECT_EQ(v.m_fLineWidth, 0.0f);
    EXPECT_EQ(v.m_crPointColor, GetDefaultColor());
    EXPECT_EQ(v.m_crFillColor, GetDefaultFillColor());
    EXPECT_EQ(v.m_nPointSize, GetDefaultPointSize());
    EXPECT_EQ(v.m_bTransparent, 1);
    EXPECT_EQ(v.m_dwTextFlags, 0x80u);
    EXPECT_EQ(v.GetFontType(), FONT_NORMAL);  // although bit 0x01 is clear
    EXPECT_EQ(std::string(v.m_szFaceName), kSongTi);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(v.GetSymbol(static_cast<SYMBOLTYPE>(k)), 0);

    COLORREF saved = GetDefaultColor();
    SetDefaultColor(0x123);
    EXPECT_EQ(GetDefaultGEOVIEW().m_crLineColor, 0x123u);
    EXPECT_EQ(GetDefaultGEOVIEW().m_crAnnoColor, 0x123u);
    SetDefaultColor(saved);
}

TEST(GeoView, CopiesTakeEveryFieldButTheVersion) {
    GEOVIEW src = SampleStyle(4);
    src.m_fVersion = 1.37f;
    GEOVIEW copy(src);
    ExpectSameFields(copy, src);
    EXPECT_EQ(copy.m_fVersion, 0.0f);
    GEOVIEW assigned;
    assigned.m_fVersion = 1.2f;
    assigned = src;
    ExpectSameFields(assigned, src);
    EXPECT_EQ(assigned.m_fVersion, 1.2f);
}

TEST(GeoView, SymbolNumbersLieInTheirOwnBits) {
    struct Case {
        DWORD p, l, f;
    } cases[] = {
        {0x1FFFFF, 0, 0}, {0, 0x1FFFFF, 0}, {0, 0, 0x1FFFFF}, {1, 1, 1},
        {0x100000, 0x100000, 0x100000}, {0x3F, 0x7FF, 0xFFFF}, {0x40, 0x800, 0x10000},
    };
    for (const Case& c : cases) {
        GEOVIEW v;
        v.SetSymbol(SYMBOL_POINT, static_cast<int>(c.p));
        v.SetSymbol(SYMBOL_LINE, static_cast<int>(c.l));
        v.SetSymbol(SYMBOL_FILL, static_cast<int>(c.f));
        EXPECT_EQ(Bytes(v.m_bySymbol, v.m_bySymbol + 8), SymbolBytes(c.p, c.l, c.f)) << c.p << " " << c.l << " " << c.f;
        EXPECT_EQ(v.GetSymbol(SYMBOL_POINT), static_cast<int>(c.p));
        EXPECT_EQ(v.GetSymbol(SYMBOL_LINE), static_cast<int>(c.l));
        EXPECT_EQ(v.GetSymbol(SYMBOL_FILL), static_cast<int>(c.f));
        EXPECT_EQ(v.m_bySymbol[0] & 0x80, 0);
    }
}

TEST(GeoView, SetSymbolKeepsTheOtherKindsAndMasksTo21Bits) {
    GEOVIEW v;
    v.SetSymbol(SYMBOL_POINT, 5);
    v.SetSymbol(SYMBOL_FILL, 7);
    EXPECT_EQ(v.SetSymbol(SYMBOL_LINE, 0x1FFFFF), 0);
    EXPECT_EQ(v.GetSymbol(SYMBOL_POINT), 5);
    EXPECT_EQ(v.GetSymbol(SYMBOL_LINE), 0x1FFFFF);
    EXPECT_EQ(v.GetSymbol(SYMBOL_FILL), 7);
    EXPECT_EQ(v.SetSymbol(SYMBOL_POINT, 0x200000), 5);  // bit 21 is cut off: 0
    EXPECT_EQ(v.GetSymbol(SYMBOL_POINT), 0);
    EXPECT_EQ(v.SetSymbol(SYMBOL_FILL, -1), 7);  // all 32 bits set: the low 21 remain
    EXPECT_EQ(v.GetSymbol(SYMBOL_FILL), 0x1FFFFF);
    EXPECT_EQ(v.GetSymbol(SYMBOL_LINE), 0x1FFFFF);
    Bytes before(v.m_bySymbol, v.m_bySymbol + 8);
    EXPECT_EQ(v.SetSymbol(static_cast<SYMBOLTYPE>(3), 9), 0);
    EXPECT_EQ(v.GetSymbol(static_cast<SYMBOLTYPE>(3)), 0);
    EXPECT_EQ(v.GetSymbol(static_cast<SYMBOLTYPE>(-1)), 0);
    EXPECT_EQ(Bytes(v.m_bySymbol, v.m_bySymbol + 8), before);
}

TEST(GeoView, LetteringStylesExcludeEachOther) {
    GEOVIEW v;
    v.SetXieTi(1, 1);
    EXPECT_EQ(v.m_dwTextFlags, 0x80u | 0x02u | 0x100u);  // 0x200, 0x08 and 0x01 clear
    EXPECT_EQ(v.GetFontType(), FONT_SLANT);

    v.SetSongjian(1, 0);
    EXPECT_EQ(v.m_dwTextFlags, 0x80u | 0x08u | 0x100u | 0x200u);
    EXPECT_EQ(v.GetFontType(), FONT_SONGJIAN_REVERSE);

    v.SetNomal(1);
    EXPECT_EQ(v.m_dwTextFlags, 0x80u | 0x01u | 0x100u | 0x200u);
    EXPECT_EQ(v.GetFontType(), FONT_NORMAL);

    for (int t = 0; t <= 4; ++t) {
        v.SetFontType(static_cast<FONTTYPE>(t));
        EXPECT_EQ(v.GetFontType(), t);
    }
    DWORD before = v.m_dwTextFlags;
    v.SetFontType(static_cast<FONTTYPE>(7));
    EXPECT_EQ(v.m_dwTextFlags, before);

    // The plain switches: on > 0 sets, on <= 0 clears.
    struct Switch {
        void (GEOVIEW::*set)(int);
        DWORD bit;
    } switches[] = {{&GEOVIEW::SetBold, 0x04}, {&GEOVIEW::SetUnderLine, 0x10}, {&GEOVIEW::SetZhongLine, 0x20},
                    {&GEOVIEW::SetZhuoZhong, 0x40}, {&GEOVIEW::SetTransparent, 0x80}};
    for (const Switch& s : switches) {
        GEOVIEW w;
        (w.*s.set)(1);
        EXPECT_TRUE(w.m_dwTextFlags & s.bit);
        (w.*s.set)(-1);
        EXPECT_FALSE(w.m_dwTextFlags & s.bit);
    }
}

// ---------------------------------------------------------------------------------------------------
// Serialize

TEST(GeoViewRecord, StoresTypeZeroAsTheTableSays) {
    GEOVIEW v = SampleStyle(0);
    const Bytes sym = SymbolBytes(5, 0x1ABCDE, 7);
    Bytes expected = ByteBuilder()
                         .dw(0x20000000)
                         .i32(3).dw(0xFF).i32(16)
                         .bytes(Bytes(sym.begin(), sym.begin() + 4))
                         .i32(0x1200).dw(0xFF00).i32(1)
                         .bytes(Bytes(sym.begin() + 4, sym.end()))
                         .dw(0xFF0000).i32(2).i32(1)
                         .dw(0x123456).str(kSongTi).dw(0x80)
                         .f(1.38f)
                         .i32(3)
                         .f(2.5f)
                         .get();
    EXPECT_EQ(StoreView(v), expected);
    EXPECT_EQ(v.m_fVersion, 1.15f);  // storing leaves 1.15 behind

    GEOVIEW loaded;
    LoadView(loaded, expected);
    ExpectSameFields(loaded, SampleStyle(0));
    EXPECT_EQ(loaded.m_fVersion, 1.38f);
    EXPECT_EQ(schematest::CountTruncationFailures(expected, [](CArchive& ar) { GEOVIEW().Serialize(ar); }), 0);
}

TEST(GeoViewRecord, EachTypeWritesOnlyItsParts) {
    const Bytes sym = SymbolBytes(5, 0x1ABCDE, 7);
    const Bytes head(sym.begin(), sym.begin() + 4), tail(sym.begin() + 4, sym.end());
    auto pointPart = [&](ByteBuilder& b) { b.i32(3).dw(0xFF).i32(16).bytes(head); };
    auto linePart = [&](ByteBuilder& b) { b.i32(0x1200).dw(0xFF00).i32(1).bytes(tail).dw(0xFF0000).i32(2).i32(1); };
    for (int type = 1; type <= 4; ++type) {
        ByteBuilder b;
        b.dw(0x20000000u | type);
        if (type == 1) pointPart(b);
        if (type == 2 || type == 3) linePart(b);
        if (type == 4) b.dw(0x123456).str(kSongTi).dw(0x80);
        b.f(1.38f);
        if (type == 4) b.i32(3);
        if (type == 2 || type == 3) b.f(2.5f);
        GEOVIEW v = SampleStyle(type);
        EXPECT_EQ(StoreView(v), b.get()) << "type " << type;
    }
}

TEST(GeoViewRecord, LoadingKeepsThePartsTheTypeDoesNotCarry) {
    GEOVIEW loader;
    loader.m_nPointShape = 9;
    loader.m_crLineColor = 0xABCDEF;
    loader.m_crFillColor = 0x010203;
    loader.m_fLineWidth = 7.0f;
    loader.SetFaceName("黑体");
    loader.SetSymbol(SYMBOL_POINT, 11);

    GEOVIEW anno = SampleStyle(4);
    anno.SetFaceName("楷体");
    anno.m_dwTextFlags = 0x94;
    GEOVIEW a = loader;
    LoadView(a, StoreView(anno));
    EXPECT_EQ(a.m_nViewType, 4);
    EXPECT_EQ(a.m_nPointShape, 9);
    EXPECT_EQ(a.m_crLineColor, 0xABCDEFu);
    EXPECT_EQ(a.m_crFillColor, 0x010203u);
    EXPECT_EQ(a.m_fLineWidth, 7.0f);
    EXPECT_EQ(a.GetSymbol(SYMBOL_POINT), 11);
    EXPECT_EQ(std::string(a.m_szFaceName), std::string("楷体"));
    EXPECT_EQ(a.m_dwTextFlags, 0x94u);
    EXPECT_EQ(a.m_nBufferWidth, 3);
    EXPECT_EQ(a.m_crAnnoColor, 0x123456u);

    // Types 1 to 3 carry no face: it becomes 宋体.
    for (int type = 1; type <= 3; ++type) {
        GEOVIEW b = loader;
        GEOVIEW src = SampleStyle(type);
        LoadView(b, StoreView(src));
        EXPECT_EQ(std::string(b.m_szFaceName), kSongTi) << "type " << type;
        EXPECT_EQ(b.m_crAnnoColor, loader.m_crAnnoColor);
    }
}

TEST(GeoViewRecord, ALineStyleKeepsOnlyTheLow11BitsOfItsLineSymbol) {
    GEOVIEW v;
    v.m_nViewType = GEOVIEW_LINE;
    v.SetSymbol(SYMBOL_LINE, 0x1FFFFF);
    v.SetSymbol(SYMBOL_FILL, 0x1FFFFF);
    GEOVIEW loaded;
    LoadView(loaded, StoreView(v));
    EXPECT_EQ(loaded.GetSymbol(SYMBOL_LINE), 0x7FF);
    EXPECT_EQ(loaded.GetSymbol(SYMBOL_FILL), 0x1FFFFF);

    GEOVIEW small;
    small.m_nViewType = GEOVIEW_FILL;
    small.SetSymbol(SYMBOL_LINE, 2047);
    GEOVIEW loadedSmall;
    LoadView(loadedSmall, StoreView(small));
    EXPECT_EQ(loadedSmall.GetSymbol(SYMBOL_LINE), 2047);

    // Serialize1 writes all eight bytes.
    GEOVIEW full;
    LoadView(full, StoreView(v, true), true);
    EXPECT_EQ(full.GetSymbol(SYMBOL_LINE), 0x1FFFFF);
}

namespace {

// A type-0 Serialize record of an older library: line shape 0x1200, integer width 4, float width 6.5,
// text flags as given, buffer width 9.
Bytes OldRecord(bool flagged, float version, DWORD textFlags) {
    ByteBuilder b;
    b.dw(flagged ? 0x20000000u : 0u);
    b.i32(3).dw(0xFF).i32(16).bytes(Bytes(4, 0));
    b.i32(0x1200).dw(0xFF00).i32(4).bytes(Bytes(4, 0)).dw(0xFF0000).i32(2).i32(1);
    b.dw(0x123456).str(kSongTi).dw(textFlags);
    if (!flagged) {
        b.f(1.0f).f(2.0f).i32(0).i32(1);  // two ignored floats, transparent text off, underline on
        return b.get();
    }
    b.f(version);
    if (version >= 1.2f) b.i32(9);
    if (version >= 1.36f) b.f(6.5f);
    return b.get();
}

}  // namespace

TEST(GeoViewRecord, LoadsEveryOlderVersion) {
    struct Case {
        const char* name;
        bool flagged;
        float version;
        DWORD storedFlags;
        float expectVersion;
        DWORD expectFlags;
        int expectBuffer;  // -1: not read (the loader's 0 stays)
        float expectWidth;
        int expectShape;
    } cases[] = {
        // Without the flag: slanting survives as SetXieTi (1, 0); then transparent 0 and underline 1.
        {"no flag", false, 0, 0x82, 1.15f, 0x02 | 0x100 | 0x200 | 0x10, -1, 4.0f, 512},
        {"no flag, upright", false, 0, 0xC5, 1.15f, 0x10, -1, 4.0f, 512},
        {"1.15", true, 1.15f, 0x82, 1.15f, 0x82, -1, 4.0f, 512},
        {"1.2 slanted", true, 1.2f, 0x82, 1.2f, 0x82 | 0x100 | 0x200, 9, 4.0f, 512},
        {"1.2 upright", true, 1.2f, 0x81, 1.2f, 0x81, 9, 4.0f, 512},
        {"1.35", true, 1.35f, 0x82, 1.35f, 0x82, 9, 4.0f, 512},
        {"1.36", true, 1.36f, 0x82, 1.36f, 0x82, 9, 6.5f, 512},
        {"1.37", true, 1.37f, 0x82, 1.37f, 0x82, 9, 6.5f, 0x1200},
        {"1.38", true, 1.38f, 0x82, 1.38f, 0x82, 9, 6.5f, 0x1200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GEOVIEW v;
        v.m_nBufferWidth = 0;
        LoadView(v, OldRecord(c.flagged, c.version, c.storedFlags));
        EXPECT_EQ(v.m_fVersion, c.expectVersion);
        EXPECT_EQ(v.m_dwTextFlags, c.expectFlags);
        EXPECT_EQ(v.m_nBufferWidth, c.expectBuffer < 0 ? 0 : c.expectBuffer);
        EXPECT_EQ(v.m_fLineWidth, c.expectWidth);
        EXPECT_EQ(v.m_nLineShape, c.expectShape);
        EXPECT_EQ(v.m_crLineColor, 0xFF00u);
        EXPECT_EQ(v.m_crAnnoColor, 0x123456u);
    }
}

TEST(GeoViewRecord, CutsLongFaceNamesOnACharacterBoundary) {
    std::string fifteen;
    for (int i = 0; i < 15; ++i) fifteen += "宋";
    struct Case {
        std::string stored, expected;
    } cases[] = {
        {fifteen + "ab", fifteen + "a"},      // 32 bytes: the 32nd goes
        {"a" + fifteen + "宋", "a" + fifteen},  // 33 bytes: a whole character goes, none is split
        {"a" + fifteen, "a" + fifteen},        // 31 bytes fit
    };
    for (const Case& c : cases) {
        Bytes record = ByteBuilder().dw(0x20000004).dw(0).str(c.stored).dw(0x80).f(1.38f).i32(0).get();
        GEOVIEW v;
        LoadView(v, record);
        EXPECT_EQ(std::string(v.m_szFaceName), c.expected);
    }
}

// ---------------------------------------------------------------------------------------------------
// Serialize1

TEST(GeoViewRecord1, StoresEveryFieldInItsFixedOrder) {
    GEOVIEW v = SampleStyle(2);
    Bytes expected = ByteBuilder()
                         .dw(3 | 0x20000000)
                         .dw(0xFF).i32(16).i32(0x1200).dw(0xFF00).i32(1).dw(0xFF0000).i32(2).i32(1)
                         .bytes(SymbolBytes(5, 0x1ABCDE, 7))
                         .dw(0x123456).fixed(kSongTi, 32).dw(0x80).i32(2)
                         .f(1.38f).i32(3)
                         .f(2.5f)
                         .get();
    EXPECT_EQ(StoreView(v, true), expected);
    GEOVIEW loaded;
    LoadView(loaded, expected, true);
    ExpectSameFields(loaded, SampleStyle(2));
    EXPECT_EQ(loaded.m_fVersion, 1.38f);
    EXPECT_EQ(schematest::CountTruncationFailures(expected, [](CArchive& ar) { GEOVIEW().Serialize1(ar); }), 0);
}

TEST(GeoViewRecord1, LoadsOlderRecords) {
    // Without the flag the record starts with one more word; two floats and the two text switches
    // follow the text flags.
    Bytes noFlag = ByteBuilder()
                       .dw(0x11).i32(3)
                       .dw(0xFF).i32(16).i32(0x1200).dw(0xFF00).i32(4).dw(0xFF0000).i32(2).i32(1)
                       .bytes(SymbolBytes(5, 6, 7))
                       .dw(0x123456).fixed(kSongTi, 32).dw(0x02)
                       .f(1.0f).f(2.0f).i32(1).i32(0)
                       .i32(2)
                       .get();
    GEOVIEW a;
    a.m_nBufferWidth = 77;
    LoadView(a, noFlag, true);
    EXPECT_EQ(a.m_nPointShape, 3);
    EXPECT_EQ(a.m_fVersion, 1.15f);
    EXPECT_EQ(a.m_dwTextFlags, 0x02u | 0x100u | 0x200u | 0x80u);
    EXPECT_EQ(a.m_nViewType, 2);
    EXPECT_EQ(a.m_nBufferWidth, 77);
    EXPECT_EQ(a.m_fLineWidth, 4.0f);
    EXPECT_EQ(a.m_nLineShape, 512);
    EXPECT_EQ(a.GetSymbol(SYMBOL_LINE), 6);

    struct Case {
        float version;
        DWORD expectFlags;
        float expectWidth;
        int expectShape;
    } cases[] = {
        {1.2f, 0x82 | 0x100 | 0x200, 4.0f, 512},
        {1.35f, 0x82, 4.0f, 512},
        {1.36f, 0x82, 6.5f, 512},
        {1.37f, 0x82, 6.5f, 0x1200},
    };
    for (const Case& c : cases) {
        ByteBuilder b;
        b.dw(3 | 0x20000000).dw(0xFF).i32(16).i32(0x1200).dw(0xFF00).i32(4).dw(0xFF0000).i32(2).i32(1);
        b.bytes(SymbolBytes(5, 6, 7)).dw(0x123456).fixed(kSongTi, 32).dw(0x82).i32(0);
        b.f(c.version).i32(9);
        if (c.version >= 1.36f) b.f(6.5f);
        GEOVIEW v;
        LoadView(v, b.get(), true);
        EXPECT_EQ(v.m_fVersion, c.version);
        EXPECT_EQ(v.m_dwTextFlags, c.expectFlags) << c.version;
        EXPECT_EQ(v.m_nBufferWidth, 9);
        EXPECT_EQ(v.m_fLineWidth, c.expectWidth) << c.version;
        EXPECT_EQ(v.m_nLineShape, c.expectShape) << c.version;
    }
}

TEST(GeoViewRecord1, CutsAFaceFieldWithoutTerminator) {
    std::string sixteen;
    for (int i = 0; i < 16; ++i) sixteen += "宋";
    Bytes record = ByteBuilder()
                       .dw(0x20000000).dw(0).i32(16).i32(512).dw(0).i32(1).dw(0).i32(0).i32(1)
                       .bytes(Bytes(8, 0)).dw(0).fixed(sixteen, 32).dw(0x80).i32(0)
                       .f(1.38f).i32(0).f(0.0f)
                       .get();
    GEOVIEW v;
    LoadView(v, record, true);
    EXPECT_EQ(std::string(v.m_szFaceName), sixteen.substr(0, 30));
}
