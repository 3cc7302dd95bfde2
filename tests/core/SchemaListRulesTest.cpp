// The rules every ordered schema list shares: insert positions, refused duplicates, and which look-ups
// ignore letter case.
#include "core/GeoTemplet.h"

#include "core/SchemaRecords.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>

using namespace schematest;

namespace {

// One ordered schema list, keyed by a short text (a field name, a class name whose first letter is also
// its code, a theme name).
class SchemaList {
public:
    virtual ~SchemaList() = default;
    virtual int Add(const std::string& key, int pos) = 0;
    virtual std::string Keys() const = 0;  // the keys in order, joined
};

class ClassFields : public SchemaList {
public:
    int Add(const std::string& key, int pos) override { return gc.AddField(LongField(key.c_str()), pos); }
    std::string Keys() const override {
        std::string s;
        for (int i = 0; i < gc.GetFieldCount(); ++i) {
            CDaoFieldInfo f;
            gc.GetFieldInfo(i, f);
            s += f.m_strName.str();
        }
        return s;
    }
    CGeoGClass gc;
};

class ThemeFields : public SchemaList {
public:
    int Add(const std::string& key, int pos) override { return theme.AddField(LongField(key.c_str()), pos); }
    std::string Keys() const override {
        std::string s;
        for (int i = 0; i < theme.GetFieldCount(); ++i) {
            CDaoFieldInfo f;
            theme.GetFieldInfo(i, f);
            s += f.m_strName.str();
        }
        return s;
    }
    CGeoTheme theme;
};

class ThemeClasses : public SchemaList {
public:
    int Add(const std::string& key, int pos) override {
        return theme.AddGC(MakeClass(static_cast<UINT>(key[0]), key.c_str()), pos);
    }
    std::string Keys() const override {
        std::string s;
        for (int i = 0; i < theme.GetGCCount(); ++i) {
            CGeoGClass gc;
            theme.GetGC(i, gc);
            s += gc.GetGCName().str();
        }
        return s;
    }
    CGeoTheme theme;
};

class TempletThemes : public SchemaList {
public:
    int Add(const std::string& key, int pos) override {
        CGeoTheme theme;
        theme.SetName(key.c_str());
        return templet.AddTheme(theme, pos);
    }
    std::string Keys() const override {
        std::string s;
        for (int i = 0; i < templet.GetThemeCount(); ++i) {
            CGeoTheme theme;
            templet.GetTheme(i, theme);
            s += theme.GetName().str();
        }
        return s;
    }
    CGeoTemplet templet;
};

std::vector<std::pair<const char*, std::function<std::unique_ptr<SchemaList>()>>> AllLists() {
    return {
        {"CGeoGClass::AddField", [] { return std::unique_ptr<SchemaList>(new ClassFields); }},
        {"CGeoTheme::AddField", [] { return std::unique_ptr<SchemaList>(new ThemeFields); }},
        {"CGeoTheme::AddGC", [] { return std::unique_ptr<SchemaList>(new ThemeClasses); }},
        {"CGeoTemplet::AddTheme", [] { return std::unique_ptr<SchemaList>(new TempletThemes); }},
    };
}

}  // namespace

TEST(SchemaLists, InsertPositionsAndDuplicates) {
    struct Case { const char* start; int pos; const char* key; int result; const char* after; };
    const Case cases[] = {
        {"ABC", -1, "N", 1, "NABC"},
        {"ABC", -2, "N", 1, "ABCN"},
        {"ABC", 0, "N", 1, "ANBC"},   // after index 0
        {"ABC", 1, "N", 1, "ABNC"},
        {"ABC", 2, "N", 1, "ABCN"},
        {"ABC", 3, "N", 0, "ABC"},    // one past the end is refused
        {"ABC", -3, "N", 0, "ABC"},
        {"ABC", INT_MIN, "N", 0, "ABC"},
        {"ABC", INT_MAX, "N", 0, "ABC"},
        {"ABC", 1, "B", 0, "ABC"},    // duplicate key
        {"ABC", -2, "C", 0, "ABC"},
        {"", 0, "N", 0, ""},
        {"", -1, "N", 1, "N"},
        {"", -2, "N", 1, "N"},
    };
    for (const auto& list : AllLists()) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << list.first << " start " << c.start << " pos " << c.pos << " key "
                                            << c.key);
            std::unique_ptr<SchemaList> l = list.second();
            for (const char* k = c.start; *k; ++k) ASSERT_EQ(l->Add(std::string(1, *k), -2), 1);
            EXPECT_EQ(l->Add(c.key, c.pos), c.result);
            EXPECT_EQ(l->Keys(), c.after);
        }
    }
}

// Fields and rename records compare names ignoring the case of single-byte letters (a two-byte character
// is compared whole, so "丄" 81 41 and "乤" 81 61 stay apart); classes and themes compare names exactly.
TEST(SchemaLists, CaseRules) {
    struct Lookup {
        const char* what;
        bool ignoresCase;
        std::function<int(const char* stored, const char* probe)> find;  // index found, or -1
    };
    auto flag = [](CObList& list, const char* oldName, const char* newName) {
        auto* f = new CFlagInfo;
        f->m_strOldName = oldName;
        f->m_strNewName = newName;
        list.AddTail(f);
    };
    const Lookup lookups[] = {
        {"CGeoGClass::FindField", true,
         [](const char* s, const char* p) { return MakeClass(1, "C", {"X", s}).FindField(p); }},
        {"CGeoTheme::FindField", true,
         [](const char* s, const char* p) {
             CGeoTheme t;
             t.AddField(LongField("X"), -2);
             t.AddField(LongField(s), -2);
             return t.FindField(p);
         }},
        {"CGeoGClass::FindFlagInfoByOldname", true,
         [&](const char* s, const char* p) {
             CGeoGClass gc;
             flag(gc.m_FlagInfoList, "X", "X");
             flag(gc.m_FlagInfoList, s, "");
             return gc.FindFlagInfoByOldname(p);
         }},
        {"CGeoTheme::FindFlagInfoByNewname", true,
         [&](const char* s, const char* p) {
             CGeoTheme t;
             flag(t.m_FlagInfoList, "X", "X");
             flag(t.m_FlagInfoList, "", s);
             return t.FindFlagInfoByNewname(p);
         }},
        {"CGeoTheme::FindGC", false,
         [](const char* s, const char* p) {
             CGeoTheme t;
             t.AddGC(MakeClass(1, "X"), -2);
             t.AddGC(MakeClass(2, s), -2);
             return t.FindGC(CString(p));
         }},
        {"CGeoTemplet::FindTheme", false,
         [](const char* s, const char* p) {
             CGeoTemplet tp;
             CGeoTheme t;
             t.SetName("X");
             tp.AddTheme(t, -2);
             t.SetName(s);
             tp.AddTheme(t, -2);
             return tp.FindTheme(p);
         }},
    };
    struct Probe { const char* stored; const char* probe; bool sameIgnoringCase; };
    const Probe probes[] = {
        {"Road", "Road", true},
        {"Road", "rOAD", true},
        {"Road", "Road ", false},
        {"\xB5\xC0\xC2\xB7" "a", "\xB5\xC0\xC2\xB7" "A", true},  // "道路a" / "道路A"
        {"\x81\x41", "\x81\x61", false},
        {"\x81\x41", "\x81\x41", true},
    };
    for (const Lookup& l : lookups) {
        for (const Probe& p : probes) {
            SCOPED_TRACE(testing::Message() << l.what << " " << p.stored << " / " << p.probe);
            bool exact = std::string(p.stored) == p.probe;
            bool expectFound = exact || (l.ignoresCase && p.sameIgnoringCase);
            EXPECT_EQ(l.find(p.stored, p.probe), expectFound ? 1 : -1);
        }
    }

    // Adding: a field name that differs only in letter case is a duplicate; a theme name is not.
    CGeoGClass gc = MakeClass(1, "C", {"Road"});
    EXPECT_EQ(gc.AddField(LongField("ROAD"), -2), 0);
    CGeoTemplet tp;
    CGeoTheme t;
    t.SetName("Road");
    EXPECT_EQ(tp.AddTheme(t, -2), 1);
    t.SetName("ROAD");
    EXPECT_EQ(tp.AddTheme(t, -2), 1);
    EXPECT_EQ(tp.GetThemeCount(), 2);
}
