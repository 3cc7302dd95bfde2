// The annotation record: exact bytes of the current layout, round trips, the older layouts a load still
// accepts, and damaged records.
#include "annotation/GeoAnno.h"
#include "core/GeoView.h"
#include "core/ObjectBytes.h"

#include <gtest/gtest.h>
#include <quenby/SymbolAttrib.h>

#include <vector>

using objbytes::Bytes;

namespace {

// The vector-object part as this object stores it.
std::vector<BYTE> VectorPart(CGeoAnno& a) {
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    a.CGeoVectorObject::Serialize(ar);
    ar.Close();
    return file.Data();
}

// A vector-object part of an older version, built field by field: feature class 7 (so no own style
// follows), no user words, Z 0.
Bytes OldPrefix(float version, const CRect& bounds = CRect(0, 0, 100, 60)) {
    Bytes b;
    b.GeoObject(bounds, "A", 3, version).Dword(0).Dword(0).Long(0);
    if (version >= 1.12f) b.Long(0);
    if (version >= 1.15f) b.Byte(0);
    b.Dword(7).Dword(1).Double(0.0);
    if (version >= 1.31f) {
        CSymbolAttrib attrib;
        b.Append(objbytes::Store(attrib));
    }
    return b;
}

TEST(GeoAnnoStore, CurrentLayoutByteForByte) {
    const tagGEORECT margins{11, 12, 13, 14};
    CGeoAnno a(CString("AB"), CRect(0, 0, 300, 100), 40, 50, margins, 4, 5, 6, 0);
    a.SetFormatStyle(1);
    a.SetGeoFormat(tagGEOFORMAT{21, 22, 23, 24, 2.5f});
    a.SetItalicAngle(120.0f);
    a.SetLineWidth(1.5f);
    a.SetBackColor(0x00102030);
    a.SetBoldValue(700);
    a.SetOrientAngle(450.0f);
    a.SetEscapeAngle(300.0f, 0);
    a.SetPositionPoint(CPoint(-7, 9), 0);
    a.SetMoveFlag(3);

    Bytes want;
    want.Append(VectorPart(a))
        .Str("AB").Long(50).Long(40)
        .Word(1).Float(300.0f)                               // escape angles
        .Byte(4).Long(5).Byte(3).Float(450.0f).Long(2).Byte(0x10)
        .Float(120.0f).Float(1.5f).Dword(0x00102030).Long(6).Long(700)
        .Long(23).Float(2.5f).Long(24).Long(21).Long(22)     // fen_hor, width, fen_ver, hor, ver
        .Long(11).Long(12).Long(13).Long(14)                 // margins
        .Word(1).Long(-7).Long(9);                           // points
    EXPECT_EQ(objbytes::Store(a), want.Data());

    CGeoAnno back;
    EXPECT_EQ(objbytes::Load(back, want.Data()), 0u);
    EXPECT_EQ(back.GetName(), CString("AB"));
    EXPECT_EQ(back.GetGeoRect(), margins);
    EXPECT_EQ(back.GetGeoFormat(), (tagGEOFORMAT{21, 22, 23, 24, 2.5f}));
    EXPECT_EQ(back.GetPositionPoint(0), CPoint(-7, 9));
    EXPECT_FLOAT_EQ(back.GetEscapeAngle(0), 300.0f);
    EXPECT_EQ(back.GetBoldValue(), 700);
    EXPECT_EQ(objbytes::Store(back), want.Data());
}

TEST(GeoAnnoStore, RoundTripsOfEveryKind) {
    CGeoAnno plain(CString("A\r\nBC"), CPoint(10, 20), 50, 40, 100.0f, 100.0f, 4, 0, 1, 2, 3, 0, 1);
    CGeoAnno multi(CString("\xD6\xD0" "AB"), CPoint(10, 20), 50, 40, 0.0f, 0.0f, 0, 6, 1, 0, 0, 0, 0);
    multi.SetEscapeAngle(150.0f, 2);
    multi.SetPositionPoint(CPoint(300, -400), 1);
    CGeoAnno formatted(CString("12@34"), CPoint(1, 2), 50, 50, tagGEOFORMAT{1, 2, 3, 4, 0.5f}, 0.0f, 0.0f, 0, 0, 0);
    CGeoAnno box(CString("AB"), CRect(-5, -5, 200, 90), 50, 50, tagGEORECT{1, 2, 3, 4}, 0, 0, 0, 0);
    box.SetShowFrame(1);
    box.SetFillFrame(1);
    CGeoAnno* kinds[] = {&plain, &multi, &formatted, &box};
    for (CGeoAnno* a : kinds) {
        const std::vector<BYTE> bytes = objbytes::Store(*a);
        CGeoAnno back;
        EXPECT_EQ(objbytes::Load(back, bytes), 0u) << a->GetName().str();
        EXPECT_EQ(objbytes::Store(back), bytes) << a->GetName().str();
        EXPECT_EQ(back.GetPoints(), a->GetPoints());
        EXPECT_EQ(back.GetBounds(), a->GetBounds());
    }
    CGeoAnno back;
    objbytes::Load(back, objbytes::Store(multi));
    EXPECT_EQ(back.GetPoints(), 3);
    EXPECT_FLOAT_EQ(back.GetEscapeAngle(2), 150.0f);
    EXPECT_EQ(back.GetPositionPoint(1), CPoint(300, -400));
}

// The head shared by the layouts before 1.37: one angle and the anchor inline.
Bytes& Head(Bytes& b, const char* text, int type, BYTE style) {
    return b.Str(text).Long(60).Long(70).Float(450.0f).Byte(5).Long(4).Byte(2).Long(33).Long(-44).Float(900.0f)
        .Long(type).Byte(style);
}

TEST(GeoAnnoStore, Version136HasNoArrays) {
    Bytes b = OldPrefix(1.36f);
    Head(b, "AB", 0, 0x10).Float(120.0f).Float(2.5f).Dword(0xFF).Long(8).Long(700);
    b.Long(1).Float(1.5f).Long(2).Long(3).Long(4);  // format spacing
    CGeoAnno a;
    EXPECT_EQ(objbytes::Load(a, b.Data()), 0u);
    EXPECT_EQ(a.GetPoints(), 1);
    EXPECT_EQ(a.GetPositionPoint(0), CPoint(33, -44));
    EXPECT_FLOAT_EQ(a.GetEscapeAngle(0), 450.0f);
    EXPECT_EQ(a.GetCharWidthA(), 60);
    EXPECT_EQ(a.GetCharHeight(), 70);
    EXPECT_EQ(a.GetAlignType(), 5);
    EXPECT_EQ(a.GetSpace(), 4);
    EXPECT_EQ(a.GetMoveFlag(), 2);
    EXPECT_FLOAT_EQ(a.GetOrientAngle(), 900.0f);
    EXPECT_FLOAT_EQ(a.GetLineWidth(), 2.5f);
    EXPECT_EQ(a.GetRowSpace(), 8);
    EXPECT_EQ(a.GetBoldValue(), 700);
    EXPECT_EQ(a.GetGeoFormat(), (tagGEOFORMAT{3, 4, 1, 2, 1.5f}));
}

TEST(GeoAnnoStore, Versions12To135KeepIntegerWidths) {
    {
        Bytes b = OldPrefix(1.3f);
        Head(b, "AB", 2, 0x10).Float(120.0f).Long(3).Dword(0xFF).Long(8).Long(700);
        b.Long(1).Long(2).Long(3).Long(4).Long(5);  // fen_hor, bar width as int, fen_ver, hor, ver
        b.Long(11).Long(12).Long(13).Long(14);      // margins
        CGeoAnno a;
        EXPECT_EQ(objbytes::Load(a, b.Data()), 0u);
        EXPECT_FLOAT_EQ(a.GetLineWidth(), 3.0f);
        EXPECT_EQ(a.GetRowSpace(), 8);
        EXPECT_EQ(a.GetGeoFormat(), (tagGEOFORMAT{4, 5, 1, 3, 2.0f}));
        EXPECT_EQ(a.GetGeoRect(), (tagGEORECT{11, 12, 13, 14}));
        EXPECT_EQ(a.GetBounds(), CRect(0, 0, 100, 60));  // a box keeps its bounds
    }
    {
        // Up to 1.25 there is no row space and no bold value.
        Bytes b = OldPrefix(1.25f);
        Head(b, "AB", 0, 0x04).Float(120.0f).Long(3).Dword(0xFF);
        CGeoAnno a;
        a.SetRowSpace(9);
        a.SetBoldValue(1);
        EXPECT_EQ(objbytes::Load(a, b.Data()), 0u);
        EXPECT_EQ(a.GetRowSpace(), 0);
        EXPECT_EQ(a.GetBoldValue(), 400);
        EXPECT_TRUE(a.GetShowFrame());
    }
}

TEST(GeoAnnoStore, Version12TurnsFormattedTypeIntoTheFormatStyle) {
    {
        Bytes b = OldPrefix(1.2f);
        Head(b, "12@34", 5, 0x0C).Long(1).Long(2).Long(3).Long(4).Long(5);
        CGeoAnno a;
        EXPECT_EQ(objbytes::Load(a, b.Data()), 0u);
        EXPECT_EQ(a.GetPositionType(), 0);
        EXPECT_TRUE(a.GetFormatStyle());
        EXPECT_EQ(a.GetGeoFormat(), (tagGEOFORMAT{4, 5, 1, 3, 2.0f}));
        EXPECT_FALSE(a.GetShowFrame());
        EXPECT_FALSE(a.GetFillFrame());
        EXPECT_FLOAT_EQ(a.GetItalicAngle(), 150.0f);  // not in the record: the default's
    }
    {
        Bytes b = OldPrefix(1.2f);
        Head(b, "AB", 1, 0x1C);
        CGeoAnno a;
        EXPECT_EQ(objbytes::Load(a, b.Data()), 0u);
        EXPECT_EQ(a.GetPositionType(), 1);
        EXPECT_EQ(a.GetStyleFlags(), 0);  // format style and both frame bits cleared
    }
    {
        Bytes b = OldPrefix(1.2f);
        Head(b, "AB", 2, 0x0C).Long(1).Long(2).Long(3).Long(4);
        CGeoAnno a;
        EXPECT_EQ(objbytes::Load(a, b.Data()), 0u);
        EXPECT_EQ(a.GetGeoRect(), (tagGEORECT{1, 2, 3, 4}));
        EXPECT_TRUE(a.GetShowFrame());
        EXPECT_TRUE(a.GetFillFrame());
    }
}

TEST(GeoAnnoStore, OldestRecordAnchorsOnItsBounds) {
    // text, dropped int, char height, weight, alignment word, vertical flag, dropped angle, three ints.
    Bytes b = OldPrefix(1.1f, CRect(0, 0, 100, 60));
    b.Str("AB").Long(99).Long(40).Long(700).Long(0x06).Long(1).Float(33.0f).Long(5).Long(1).Long(6);
    CGeoAnno a;
    EXPECT_EQ(objbytes::Load(a, b.Data()), 0u);
    EXPECT_EQ(a.GetCharHeight(), 40);
    EXPECT_EQ(a.GetCharWidthA(), 40);
    EXPECT_EQ(a.GetAlignType(), 7);
    EXPECT_EQ(a.GetPositionPoint(0), CPoint(100, 30));
    EXPECT_FLOAT_EQ(a.GetEscapeAngle(0), 900.0f);
    EXPECT_FLOAT_EQ(a.GetOrientAngle(), 900.0f);
    EXPECT_TRUE(a.GetShowFrame());
    EXPECT_TRUE(a.GetGeoView().m_dwTextFlags & GEOVIEW_TEXT_BOLD);
    EXPECT_EQ(a.GetPoints(), 1);

    Bytes light = OldPrefix(1.1f);
    light.Str("AB").Long(0).Long(40).Long(400).Long(0).Long(0).Float(33.0f).Long(0).Long(0).Long(0);
    CGeoAnno c;
    GEOVIEW view = c.GetGeoView();
    view.SetBold(1);
    c.SetGeoView(view);
    EXPECT_EQ(objbytes::Load(c, light.Data()), 0u);
    EXPECT_FALSE(c.GetGeoView().m_dwTextFlags & GEOVIEW_TEXT_BOLD);
    EXPECT_FLOAT_EQ(c.GetEscapeAngle(0), 0.0f);  // the stored angle is dropped
    EXPECT_EQ(c.GetPositionPoint(0), CPoint(0, 0));
}

TEST(GeoAnnoStore, OldRecordsWithAbsurdCharacterSizesAreRefused) {
    // The oldest layout: one size for height and width.
    for (LONG height : {0x7FFFFFFF, -0x7FFFFFFF - 1, 100000001}) {
        Bytes oldest = OldPrefix(1.1f, CRect(0, 0, 100, 60));
        oldest.Str("AB").Long(0).Long(height).Long(400).Long(0x06).Long(0).Float(0.0f).Long(0).Long(0).Long(0);
        CGeoAnno a;
        EXPECT_THROW(objbytes::Load(a, oldest.Data()), CArchiveException) << height;
    }
}

TEST(GeoAnnoStore, ArraysOfTheWrongSizeAreBroughtBackToOneSizePerCharacter) {
    CGeoAnno source(CString("AB"), CPoint(0, 0), 50, 50, 0.0f, 0.0f, 0, 0, 1, 0, 0, 0, 0);
    std::vector<BYTE> prefix = VectorPart(source);
    struct Case {
        int type;
        int angles, points;
        int want;
    } cases[] = {
        {6, 3, 1, 2}, {6, 0, 0, 2}, {6, 1, 5, 2}, {0, 0, 0, 1}, {0, 4, 2, 1},
    };
    for (const Case& c : cases) {
        Bytes b;
        b.Append(prefix).Str("AB").Long(50).Long(50).Word(static_cast<WORD>(c.angles));
        for (int i = 0; i < c.angles; ++i) b.Float(100.0f + i);
        b.Byte(0).Long(0).Byte(1).Float(0.0f).Long(c.type).Byte(0).Float(150.0f).Float(1.0f).Dword(0).Long(0).Long(400);
        b.Word(static_cast<WORD>(c.points));
        for (int i = 0; i < c.points; ++i) b.Long(10 * i).Long(0);
        CGeoAnno a;
        EXPECT_EQ(objbytes::Load(a, b.Data()), 0u);
        EXPECT_EQ(a.GetPoints(), c.want) << c.type << " " << c.angles << " " << c.points;
        for (int k = 0; k < c.want; ++k) {
            EXPECT_FLOAT_EQ(a.GetAnglePtr()[k], c.angles > 0 ? 100.0f + (k < c.angles ? k : 0) : 0.0f);
            EXPECT_EQ(a.GetPointPtr()[k].x, c.points > 0 ? 10 * (k < c.points ? k : 0) : 0);
        }
    }
}

TEST(GeoAnnoStore, DamagedRecordsRaiseArchiveExceptions) {
    CGeoAnno source(CString("\xD6\xD0" "AB"), CPoint(3, 4), 50, 50, 0.0f, 0.0f, 0, 6, 1, 0, 0, 0, 0);
    source.SetFormatStyle(1);
    const std::vector<BYTE> bytes = objbytes::Store(source);
    for (size_t n = 0; n < bytes.size(); ++n) {
        std::vector<BYTE> cut(bytes.begin(), bytes.begin() + n);
        CGeoAnno a;
        bool thrown = false;
        try {
            objbytes::Load(a, cut);
        } catch (CArchiveException&) {
            thrown = true;
        }
        EXPECT_TRUE(thrown) << "cut at " << n;
        EXPECT_GE(a.GetPoints(), 1);
    }

    // A point count far beyond the data.
    std::vector<BYTE> huge(bytes.begin(), bytes.end() - (2 + 3 * 8));
    Bytes tail;
    tail.Word(0xFFFF).Dword(0x7FFFFFF0);
    huge.insert(huge.end(), tail.Data().begin(), tail.Data().end());
    CGeoAnno a;
    EXPECT_THROW(objbytes::Load(a, huge), CArchiveException);
    EXPECT_EQ(a.GetPoints(), 3);
}

}  // namespace
