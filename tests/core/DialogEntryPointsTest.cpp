// The core's entry points that open dialogs, seen through the dialog hooks: what each hands to its
// dialog, and what it does with the answer (OK, cancel, or no dialog installed at all).
#include "core/DialogHooks.h"
#include "core/GeoVectorObject.h"
#include "core/SymbolLibAccess.h"

#include <quenby/SymbolLibIO.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// What the fake dialogs saw and what they answer.
struct FakeUser {
    int answer = IDOK;
    LONG symbolChosen = 0;
    CString libChosen;
    LONG valueTyped = 0;
    std::vector<std::string> seen;
};
FakeUser* g_user = nullptr;

int PickSymbol(CSymbolLibIO*, LONG lCurrent, DWORD dwFilter, LONG* plChosen) {
    char buf[64];
    snprintf(buf, sizeof buf, "symbol %d %#x", (int)lCurrent, (unsigned)dwFilter);
    g_user->seen.push_back(buf);
    if (g_user->answer == IDOK) *plChosen = g_user->symbolChosen;
    return g_user->answer;
}
int PickSymbolLib(const CString& strCurrent, CString* pstrChosen) {
    g_user->seen.push_back(std::string("lib ") + (const char*)strCurrent);
    if (g_user->answer == IDOK) *pstrChosen = g_user->libChosen;
    return g_user->answer;
}
int InputLong(const CString& caption, const CString& label, const CString& unit, LONG* plValue) {
    g_user->seen.push_back(std::string((const char*)caption) + "|" + (const char*)label + "|" + (const char*)unit +
                           "|" + std::to_string(*plValue));
    if (g_user->answer == IDOK) *plValue = g_user->valueTyped;
    return g_user->answer;
}

// Installs the fake dialogs for one test and puts the library's own back afterwards.
class DialogEntryPoints : public ::testing::Test {
protected:
    void SetUp() override {
        g_user = &user;
        saved = SetDialogHooks(tagDialogHooks{PickSymbol, PickSymbolLib, InputLong});
    }
    void TearDown() override {
        SetDialogHooks(saved);
        g_user = nullptr;
    }
    FakeUser user;
    tagDialogHooks saved{};
};

class NoDialogs : public ::testing::Test {
protected:
    void SetUp() override { saved = SetDialogHooks(tagDialogHooks{nullptr, nullptr, nullptr}); }
    void TearDown() override { SetDialogHooks(saved); }
    tagDialogHooks saved{};
};

}  // namespace

TEST_F(DialogEntryPoints, GetSymbolHandsTheKindFilterAndReturnsTheChoiceOrTheCurrent) {
    const struct {
        int kind;
        const char* seen;
    } cases[] = {{0, "symbol 5 0x8000"}, {1, "symbol 5 0x4000"}, {2, "symbol 5 0x2000"},
                 {3, "symbol 5 0x1000"}, {7, "symbol 5 0xf000"}, {-1, "symbol 5 0xf000"}};
    user.symbolChosen = 12;
    for (const auto& c : cases) {
        user.seen.clear();
        EXPECT_EQ(GetSymbol(static_cast<SYMBOLTYPE>(c.kind), 5, nullptr), 12) << c.kind;
        ASSERT_EQ(user.seen.size(), 1u);
        EXPECT_EQ(user.seen[0], c.seen);
    }
    user.answer = IDCANCEL;
    EXPECT_EQ(GetSymbol(SYMBOL_LINE, 5, nullptr), 5);
}

TEST_F(DialogEntryPoints, SelectSymbolLibReturnsTheChoiceOrTheNameGiven) {
    user.libChosen = "#符号";
    EXPECT_STREQ(SelectSymbolLib("Normal"), "#符号");
    user.answer = IDCANCEL;
    EXPECT_STREQ(SelectSymbolLib("Normal"), "Normal");
    EXPECT_EQ(user.seen, (std::vector<std::string>{"lib Normal", "lib Normal"}));
}

TEST_F(NoDialogs, WithoutDialogsEveryEntryPointActsAsCancelled) {
    EXPECT_EQ(GetSymbol(SYMBOL_POINT, 9, nullptr), 9);
    EXPECT_STREQ(SelectSymbolLib("#a"), "#a");
    CGeoVectorObject obj;
    EXPECT_EQ(obj.EditSymbolAttribute(nullptr, 0, 0), 0);
    EXPECT_EQ(obj.GetSymbolAttributeFlag(), 0u);
}

TEST_F(DialogEntryPoints, EditSymbolAttributeSetsOrClearsTheWidthBit) {
    CGeoVectorObject obj;
    user.valueTyped = 25;
    EXPECT_EQ(obj.EditSymbolAttribute(nullptr, 0, 0), 1);
    EXPECT_EQ(obj.GetSymbolAttributeFlag() & 1, 1u);
    // The next opening starts at the stored width.
    user.valueTyped = 0;
    EXPECT_EQ(obj.EditSymbolAttribute(nullptr, 0, 0), 1);
    EXPECT_EQ(obj.GetSymbolAttributeFlag() & 1, 0u);
    // The width stays where it was: the bit set again without typing shows 25.
    obj.SetSymbolAttributeFlag(obj.GetSymbolAttributeFlag() | 1);
    user.answer = IDCANCEL;
    EXPECT_EQ(obj.EditSymbolAttribute(nullptr, 0, 0), 0);
    EXPECT_EQ(obj.GetSymbolAttributeFlag() & 1, 1u);
    EXPECT_EQ(user.seen, (std::vector<std::string>{"设置符号属性|符号宽度|0.01毫米|0", "设置符号属性|符号宽度|0.01毫米|25",
                                                   "设置符号属性|符号宽度|0.01毫米|25"}));
}

TEST_F(DialogEntryPoints, EditSymbolAttributeStartsAtTheSymbolsWidthItem) {
    CSymbolLibIO lib;
    auto* line = new CGeoGroupLineSymbol;
    line->SetSymbolNumber(11);
    QuenbyStroke stroke;
    stroke.nWidth = 30;  // 0.3 mm at 100 units per millimetre
    line->m_strokes.push_back(stroke);
    ASSERT_TRUE(lib.AddSymbol(line));
    auto* point = new CGeoPointSymbol;
    point->SetSymbolNumber(1);
    ASSERT_TRUE(lib.AddSymbol(point));

    CGeoVectorObject obj;
    user.answer = IDCANCEL;
    obj.EditSymbolAttribute(&lib, 11, 0);  // a line symbol takes a width: its item and its name
    obj.EditSymbolAttribute(&lib, 1, 0);   // a point symbol does not
    obj.EditSymbolAttribute(&lib, 0, 0);   // no symbol
    EXPECT_EQ(user.seen, (std::vector<std::string>{"设置符号属性|线宽|0.01毫米|30", "设置符号属性|符号宽度|0.01毫米|0",
                                                   "设置符号属性|符号宽度|0.01毫米|0"}));
}
