// The symbol-library file: its bytes for a small library built by hand, opening with every error code,
// damaged files, and the browsing calls.
#include "platform/quenby/SampleSymbolLib.h"

#include <gtest/gtest.h>
#include "support/TempDir.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

typedef std::vector<BYTE> Bytes;

struct Builder {
    Bytes b;
    Builder& by(BYTE v) { return raw(&v, 1); }
    Builder& w(WORD v) { return raw(&v, 2); }
    Builder& dw(DWORD v) { return raw(&v, 4); }
    Builder& i32(LONG v) { return raw(&v, 4); }
    Builder& str(const std::string& s) {
        b.push_back(static_cast<BYTE>(s.size()));
        return raw(s.data(), s.size());
    }
    Builder& bytes(const Bytes& x) { return raw(x.data(), x.size()); }
    Builder& raw(const void* p, size_t n) {
        b.insert(b.end(), static_cast<const BYTE*>(p), static_cast<const BYTE*>(p) + n);
        return *this;
    }
};

// An entry: its length, then number, kind, name and body.
Bytes Entry(DWORD number, WORD kind, const std::string& name, const Bytes& body) {
    Builder e;
    e.dw(number).w(kind).str(name).bytes(body);
    Builder r;
    r.dw(static_cast<DWORD>(e.b.size())).bytes(e.b);
    return r.b;
}

Bytes Header(DWORD count, WORD version = 1, DWORD units = 100) {
    Builder h;
    h.raw("QSYM", 4).w(version).w(0).dw(units).str("测").dw(count);
    return h.b;
}

Bytes PointBody() {
    Builder b;
    b.dw(1).by(4).dw(0).i32(10).dw(0).dw(0xFF).by(1).i32(-100).i32(100).i32(100).i32(-100);
    return b.b;
}
Bytes LineBody() {
    Builder b;
    b.dw(1).dw(0xFF0000).i32(20).i32(-5).dw(2).i32(30).i32(15);
    return b.b;
}
Bytes FillBody() {
    Builder b;
    b.dw(0x00FF00).by(5).dw(1).dw(0).i32(0).i32(0).dw(0);
    return b.b;
}
Bytes CustomBody() {
    Builder b;
    b.i32(0).i32(0).i32(10).i32(10).dw(2);
    b.by(3).dw(0x123456).i32(0).dw(0).i32(1).i32(9).i32(5).str("宋体").str("A");
    b.by(1).dw(0).i32(1).dw(0).dw(2).i32(0).i32(0).i32(10).i32(10);
    return b.b;
}

// The library that the four bodies above describe, built through the classes.
void AddSmallSymbols(CSymbolLibIO& lib) {
    lib.SetUnitsPerMM(100);
    lib.SetFileDescribe("测");
    auto* p = quenbytest::Named(new CGeoPointSymbol, 1, "p");
    QuenbyPrimitive e = quenbytest::Prim(QUENBY_PRIM_ELLIPSE, 0, 10);
    e.crFill = 0xFF;
    e.byFillStyle = QUENBY_FILL_SOLID;
    e.rcBox = RECT{-100, 100, 100, -100};
    p->m_primitives = {e};
    lib.AddSymbol(p);
    auto* l = quenbytest::Named(new CGeoGroupLineSymbol, 2, "l");
    l->m_strokes = {quenbytest::Stroke(0xFF0000, 20, -5, {30, 15})};
    lib.AddSymbol(l);
    auto* f = quenbytest::Named(new CGeoFillSymbol, 3, "f");
    f->m_crFill = 0x00FF00;
    f->m_byFillStyle = 5;
    f->m_border = {quenbytest::Stroke(0, 0, 0)};
    lib.AddSymbol(f);
    auto* c = quenbytest::Named(new CGeoCustomSymbol, 4, "c");
    c->m_rcFrame = RECT{0, 0, 10, 10};
    QuenbyPrimitive t = quenbytest::Prim(QUENBY_PRIM_TEXT, 0x123456, 0);
    t.ptText = POINT{1, 9};
    t.nTextHeight = 5;
    t.strFace = "宋体";
    t.strText = "A";
    QuenbyPrimitive line = quenbytest::Prim(QUENBY_PRIM_POLYLINE, 0, 1);
    line.points = {POINT{0, 0}, POINT{10, 10}};
    c->m_primitives = {t, line};
    lib.AddSymbol(c);
}

Bytes SmallLibraryBytes() {
    Builder f;
    f.bytes(Header(4));
    f.bytes(Entry(1, 0x8000, "p", PointBody()));
    f.bytes(Entry(2, 0x4000, "l", LineBody()));
    f.bytes(Entry(3, 0x2000, "f", FillBody()));
    f.bytes(Entry(4, 0x1000, "c", CustomBody()));
    return f.b;
}

Bytes StoreLibrary(CSymbolLibIO& lib) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        lib.Serialize(ar);
        ar.Close();
    }
    return file.Data();
}

class LibraryFiles : public ::testing::Test {
protected:
    testsupport::TempDir m_tmp{"corvane-quenby"};
    std::string m_dir = m_tmp.Path();
    std::string Write(const Bytes& data, const char* name = "lib.sym") {
        std::string path = m_dir + "/" + name;
        FILE* f = std::fopen(path.c_str(), "wb");
        EXPECT_TRUE(f != nullptr);
        if (!data.empty()) {
            EXPECT_EQ(std::fwrite(data.data(), 1, data.size(), f), data.size());
        }
        std::fclose(f);
        return path;
    }
    LONG OpenError(const Bytes& data) {
        LONG error = -1;
        CSymbolLibIO* lib = CSymbolLibIO::OpenSymbolLib(RUNTIME_CLASS(CSymbolLibIO), Write(data).c_str(), &error, 0);
        EXPECT_EQ(lib == nullptr, error != QUENBY_OPEN_OK);
        delete lib;
        return error;
    }
};

}  // namespace

TEST_F(LibraryFiles, TheFileHoldsTheDocumentedBytes) {
    CSymbolLibIO lib;
    AddSmallSymbols(lib);
    const Bytes expected = SmallLibraryBytes();
    EXPECT_EQ(StoreLibrary(lib), expected);

    LONG error = -1;
    CSymbolLibIO* opened = CSymbolLibIO::OpenSymbolLib(RUNTIME_CLASS(CSymbolLibIO), Write(expected).c_str(), &error, 25000);
    ASSERT_TRUE(opened != nullptr);
    EXPECT_EQ(error, QUENBY_OPEN_OK);
    EXPECT_EQ(opened->GetMapScale(), 25000u);
    EXPECT_EQ(opened->GetFileDescribe(), CString("测"));
    EXPECT_EQ(StoreLibrary(*opened), expected);
    delete opened;
}

TEST_F(LibraryFiles, TheSampleLibraryRoundTrips) {
    CSymbolLibIO lib;
    quenbytest::AddSampleSymbols(lib);
    std::string path = m_dir + "/Normal.sym";
    ASSERT_TRUE(quenbytest::WriteSampleLibrary(path.c_str()));
    LONG error = -1;
    CSymbolLibIO* opened = CSymbolLibIO::OpenSymbolLib(RUNTIME_CLASS(CSymbolLibIO), path.c_str(), &error, 0);
    ASSERT_TRUE(opened != nullptr);
    EXPECT_EQ(StoreLibrary(*opened), StoreLibrary(lib));
    EXPECT_EQ(opened->GetFilePath(), CString(path.c_str()));
    delete opened;
}

TEST_F(LibraryFiles, OpenReportsEachError) {
    LONG error = -1;
    EXPECT_TRUE(CSymbolLibIO::OpenSymbolLib(nullptr, Write(SmallLibraryBytes()).c_str(), &error, 0) == nullptr);
    EXPECT_EQ(error, QUENBY_OPEN_BAD_CLASS);
    EXPECT_TRUE(CSymbolLibIO::OpenSymbolLib(RUNTIME_CLASS(CObList), Write(SmallLibraryBytes()).c_str(), &error, 0) ==
                nullptr);
    EXPECT_EQ(error, QUENBY_OPEN_BAD_CLASS);
    EXPECT_TRUE(CSymbolLibIO::OpenSymbolLib(RUNTIME_CLASS(CSymbolLibIO), (m_dir + "/none.sym").c_str(), &error, 0) ==
                nullptr);
    EXPECT_EQ(error, QUENBY_OPEN_NO_FILE);
    EXPECT_TRUE(CSymbolLibIO::OpenSymbolLib(RUNTIME_CLASS(CSymbolLibIO), m_dir.c_str(), nullptr, 0) == nullptr);

    auto withBody = [](const Bytes& entry) {
        Builder f;
        f.bytes(Header(1)).bytes(entry);
        return f.b;
    };
    Bytes badMagic = SmallLibraryBytes();
    badMagic[3] = 'X';
    Bytes trailing = SmallLibraryBytes();
    trailing.push_back(0);
    Bytes longEntry = Entry(1, 0x8000, "p", PointBody());
    longEntry.push_back(0);
    longEntry[0] += 1;
    struct Case {
        const char* name;
        Bytes data;
        LONG expected;
    } cases[] = {
        {"empty file", Bytes(), QUENBY_OPEN_NOT_LIBRARY},
        {"magic", badMagic, QUENBY_OPEN_NOT_LIBRARY},
        {"version 2", Header(0, 2), QUENBY_OPEN_BAD_VERSION},
        {"no units", Header(0, 1, 0), QUENBY_OPEN_DAMAGED},
        {"too many units", Header(0, 1, 1000001), QUENBY_OPEN_DAMAGED},
        {"a byte after the last entry", trailing, QUENBY_OPEN_DAMAGED},
        {"an entry longer than its symbol", withBody(longEntry), QUENBY_OPEN_DAMAGED},
        {"count beyond the data", Header(0x10000000), QUENBY_OPEN_DAMAGED},
        {"number 0", withBody(Entry(0, 0x8000, "p", PointBody())), QUENBY_OPEN_DAMAGED},
        {"number too big", withBody(Entry(0x200000, 0x8000, "p", PointBody())), QUENBY_OPEN_DAMAGED},
        {"repeated number",
         [] {
             Builder f;
             f.bytes(Header(2)).bytes(Entry(5, 0x8000, "p", PointBody())).bytes(Entry(5, 0x4000, "l", LineBody()));
             return f.b;
         }(),
         QUENBY_OPEN_DAMAGED},
        {"polyline of one point",
         withBody(Entry(1, 0x8000, "p", Builder().dw(1).by(1).dw(0).i32(0).dw(0).dw(1).i32(0).i32(0).b)),
         QUENBY_OPEN_DAMAGED},
        {"unknown primitive", withBody(Entry(1, 0x8000, "p", Builder().dw(1).by(9).dw(0).i32(0).dw(0).b)),
         QUENBY_OPEN_DAMAGED},
        {"negative width", withBody(Entry(1, 0x4000, "l", Builder().dw(1).dw(0).i32(-1).i32(0).dw(0).b)),
         QUENBY_OPEN_DAMAGED},
        {"odd dash count", withBody(Entry(1, 0x4000, "l", Builder().dw(1).dw(0).i32(1).i32(0).dw(1).i32(5).b)),
         QUENBY_OPEN_DAMAGED},
        {"zero dash", withBody(Entry(1, 0x4000, "l", Builder().dw(1).dw(0).i32(1).i32(0).dw(2).i32(5).i32(0).b)),
         QUENBY_OPEN_DAMAGED},
        {"fill style 9", withBody(Entry(1, 0x2000, "f", Builder().dw(0).by(9).dw(0).b)), QUENBY_OPEN_DAMAGED},
        {"flat custom frame",
         withBody(Entry(1, 0x1000, "c", Builder().i32(0).i32(3).i32(10).i32(3).dw(0).b)), QUENBY_OPEN_DAMAGED},
    };
    for (const Case& c : cases) EXPECT_EQ(OpenError(c.data), c.expected) << c.name;
}

TEST_F(LibraryFiles, EveryTruncationFailsToOpen) {
    const Bytes good = SmallLibraryBytes();
    for (size_t n = 0; n < good.size(); ++n)
        EXPECT_NE(OpenError(Bytes(good.begin(), good.begin() + n)), QUENBY_OPEN_OK) << "prefix " << n;
}

TEST_F(LibraryFiles, AnEntryOfAnUnknownKindIsSkipped) {
    Builder f;
    f.bytes(Header(2)).bytes(Entry(7, 0x0800, "later", Bytes{1, 2, 3})).bytes(Entry(2, 0x4000, "l", LineBody()));
    LONG error = -1;
    CSymbolLibIO* lib = CSymbolLibIO::OpenSymbolLib(RUNTIME_CLASS(CSymbolLibIO), Write(f.b).c_str(), &error, 0);
    ASSERT_TRUE(lib != nullptr);
    EXPECT_EQ(lib->GetSymbolMap().GetCount(), 1);
    EXPECT_TRUE(lib->IsKindOfLineSymbol(2));
    EXPECT_TRUE(lib->FindSymbol(7) == nullptr);
    delete lib;
}

TEST(SymbolLibrary, BrowsingCalls) {
    CSymbolLibIO lib;
    quenbytest::AddSampleSymbols(lib);
    EXPECT_EQ(lib.GetFileDescribe(), CString("示例符号库"));
    EXPECT_EQ(lib.GetUnitsPerMM(), 100u);

    CMap<LONG, LONG, CQuenby*, CQuenby*>& map = lib.GetSymbolMap();
    EXPECT_EQ(map.GetCount(), 8);
    int points = 0, lines = 0, fills = 0, customs = 0;
    for (POSITION pos = map.GetStartPosition(); pos;) {
        LONG number;
        CQuenby* symbol;
        map.GetNextAssoc(pos, number, symbol);
        EXPECT_EQ(symbol->GetSymbolNumber(), number);
        EXPECT_EQ(lib.GetSymbolName(number), symbol->GetSymbolName());
        points += lib.IsKindOfPointSymbol(number) && symbol->IsKindOf(RUNTIME_CLASS(CGeoPointSymbol));
        lines += lib.IsKindOfLineSymbol(number) && symbol->IsKindOf(RUNTIME_CLASS(CGeoGroupLineSymbol));
        fills += lib.IsKindOfFillSymbol(number) && symbol->IsKindOf(RUNTIME_CLASS(CGeoFillSymbol));
        customs += symbol->IsKindOf(RUNTIME_CLASS(CGeoCustomSymbol));
        EXPECT_TRUE(symbol->IsKindOf(RUNTIME_CLASS(CQuenby)));
    }
    EXPECT_EQ(points, 3);
    EXPECT_EQ(lines, 2);
    EXPECT_EQ(fills, 2);
    EXPECT_EQ(customs, 1);
    EXPECT_EQ(lib.GetSymbolName(12), CString("双线"));
    EXPECT_TRUE(lib.GetSymbolName(99).IsEmpty());
    EXPECT_FALSE(lib.IsKindOfPointSymbol(99));

    EXPECT_EQ(lib.GetSupportSymAttribMask(1), VM_SYM_MASK_COLOR);
    EXPECT_EQ(lib.GetSupportSymAttribMask(31), VM_SYM_MASK_COLOR);
    EXPECT_EQ(lib.GetSupportSymAttribMask(11), VM_SYM_MASK_COLOR | VM_SYM_MASK_WIDTH);
    EXPECT_EQ(lib.GetSupportSymAttribMask(22), VM_SYM_MASK_COLOR | VM_SYM_MASK_WIDTH);
    EXPECT_EQ(lib.GetSupportSymAttribMask(99), 0);

    CSymbolAttrib line = lib.GetSymbolAttrib(22);
    CString name;
    tagVM_SYM_VARIANT v;
    EXPECT_EQ(line.GetAttribMask(), 0);
    line.GetAttribItem(VM_SYM_ITEM_COLOR, name, v);
    EXPECT_EQ(v.wType, VM_SYM_COLOR);
    EXPECT_EQ(v.crValue, 0x00FFFFu);
    line.GetAttribItem(VM_SYM_ITEM_WIDTH, name, v);
    EXPECT_EQ(v.wType, VM_SYM_INTEGER);
    EXPECT_EQ(v.lValue, 30);  // 30 library units at 100 per mm: 0.30 mm
    CSymbolAttrib point = lib.GetSymbolAttrib(1);
    point.GetAttribItem(VM_SYM_ITEM_WIDTH, name, v);
    EXPECT_EQ(v.wType, VM_SYM_NONE);
    EXPECT_EQ(lib.GetSymbolAttrib(99).GetItemCount(), 9);

    // Replacing, removing, refusing numbers outside 1..0x1FFFFF.
    auto* replacement = quenbytest::Named(new CGeoGroupLineSymbol, 12, "新");
    EXPECT_TRUE(lib.AddSymbol(replacement));
    EXPECT_EQ(lib.GetSymbolName(12), CString("新"));
    EXPECT_EQ(map.GetCount(), 8);
    EXPECT_TRUE(lib.RemoveSymbol(12));
    EXPECT_FALSE(lib.RemoveSymbol(12));
    EXPECT_FALSE(lib.AddSymbol(quenbytest::Named(new CGeoPointSymbol, 0, "零")));
    EXPECT_FALSE(lib.AddSymbol(quenbytest::Named(new CGeoPointSymbol, 0x200000, "大")));
    EXPECT_FALSE(lib.SetUnitsPerMM(0));
    EXPECT_EQ(lib.GetUnitsPerMM(), 100u);
}
