// Field-rename records: copying and the case rules of the look-ups.
#include "core/FlagInfo.h"

#include <gtest/gtest.h>

namespace {

CFlagInfo* Flag(const char* oldName, const char* newName, int state) {
    auto* f = new CFlagInfo;
    f->m_strOldName = oldName;
    f->m_strNewName = newName;
    f->m_nState = state;
    return f;
}

struct FlagList {
    CObList list;
    ~FlagList() { ClearFlagInfoList(&list); }
};

}  // namespace

TEST(FlagInfo, CopyReplacesWithNewRecords) {
    FlagList src, dst;
    src.list.AddTail(Flag("A", "B", 1));
    src.list.AddTail(Flag("", "C", 3));
    dst.list.AddTail(Flag("X", "", 2));
    CopyFlagInfoList(&dst.list, &src.list);
    ASSERT_EQ(dst.list.GetCount(), 2);
    auto* first = static_cast<CFlagInfo*>(dst.list.GetHead());
    auto* last = static_cast<CFlagInfo*>(dst.list.GetTail());
    EXPECT_NE(first, src.list.GetHead());
    EXPECT_EQ(first->m_strOldName, "A");
    EXPECT_EQ(first->m_strNewName, "B");
    EXPECT_EQ(first->m_nState, 1);
    EXPECT_EQ(last->m_strOldName, "");
    EXPECT_EQ(last->m_nState, 3);

    CopyFlagInfoList(&dst.list, &dst.list);
    EXPECT_EQ(dst.list.GetCount(), 2);
    dst.list.AddTail(static_cast<CObject*>(nullptr));
    ClearFlagInfoList(&dst.list);
    EXPECT_TRUE(dst.list.IsEmpty());
}

TEST(FlagInfo, LookupsIgnoreCaseOfSingleByteLettersOnly) {
    FlagList flags;
    flags.list.AddTail(Flag("Road", "Street", 1));
    flags.list.AddTail(Flag("\x81\x41", "\x81\x61", 1));  // "丄" -> "乤": trail bytes 'A' and 'a'
    flags.list.AddTail(Flag("ROAD", "", 2));
    EXPECT_EQ(FindFlagInfoByOldname(flags.list, "road"), 0);  // the first of two equal names
    EXPECT_EQ(FindFlagInfoByNewname(flags.list, "STREET"), 0);
    EXPECT_EQ(FindFlagInfoByOldname(flags.list, "\x81\x41"), 1);
    EXPECT_EQ(FindFlagInfoByOldname(flags.list, "\x81\x61"), -1);  // another character, not another case
    EXPECT_EQ(FindFlagInfoByNewname(flags.list, "\x81\x41"), -1);
    EXPECT_EQ(FindFlagInfoByNewname(flags.list, ""), 2);
    EXPECT_EQ(FindFlagInfoByOldname(flags.list, "Road "), -1);
}
