// The plain annotation record: its defaults, the style-flag rules and the copy for the painters.
#include "annotation/GeoAnnoRecord.h"

#include <gtest/gtest.h>

namespace {

TEST(GeoAnnoRecord, DefaultValues) {
    GEOANNO a;
    EXPECT_TRUE(a.m_strText.IsEmpty());
    EXPECT_EQ(a.m_nCharWidth, 50);
    EXPECT_EQ(a.m_nCharHeight, 50);
    EXPECT_EQ(a.m_nUnit, 3);
    EXPECT_EQ(a.m_byMoveFlag, 1);
    EXPECT_EQ(a.m_nBoldValue, 400);
    EXPECT_FLOAT_EQ(a.m_fLineWidth, 1.0f);
    EXPECT_FLOAT_EQ(a.m_fItalicAngle, 150.0f);
    EXPECT_EQ(a.m_byStyle, 0);
    EXPECT_EQ(a.m_nOutputMode, 0);
    EXPECT_EQ(a.m_pOutputList, nullptr);
    EXPECT_EQ(a.m_pClipRect, nullptr);
}

TEST(GeoAnnoRecord, FormatStyleAndArrayStyleExcludeEachOther) {
    struct Case {
        BYTE before;
        int op;  // 0 SetFormatStyle, 1 SetArrayStyle
        int value;
        BYTE after;
    } cases[] = {
        {0x10, 1, 1, 0x10},  // array style refused while formatted
        {0x10, 1, 2, 0x10},
        {0x10, 1, 0, 0x10},  // clearing the array bits is always fine
        {0x02, 0, 1, 0x02},  // format style refused while vertical
        {0x20, 0, 1, 0x20},
        {0x12, 0, 0, 0x02},  // clearing always works
        {0x00, 0, 1, 0x10},
        {0x00, 1, 1, 0x02},
        {0x02, 1, 2, 0x20},
        {0x25, 1, 1, 0x07},
        {0x22, 1, 0, 0x00},
        {0x02, 1, 3, 0x02},  // unknown style: nothing changes
    };
    for (const Case& c : cases) {
        GEOANNO a;
        a.m_byStyle = c.before;
        if (c.op == 0)
            a.SetFormatStyle(c.value);
        else
            a.SetArrayStyle(c.value);
        EXPECT_EQ(a.m_byStyle, c.after) << int(c.before) << " op " << c.op << " value " << c.value;
    }
    EXPECT_EQ(annoflags::GetArrayStyle(0x22), 1);
    EXPECT_EQ(annoflags::GetArrayStyle(0x20), 2);
    EXPECT_EQ(annoflags::GetArrayStyle(0x1D), 0);

    BYTE flags = 0x05;
    EXPECT_TRUE(annoflags::TestFlag(flags, 0x05));
    EXPECT_FALSE(annoflags::TestFlag(flags, 0x07));  // every bit of the mask must be set
    EXPECT_FALSE(annoflags::TestFlag(flags, 0x105));  // masks above 256 are ignored
    annoflags::SetFlag(flags, 0x108, 1);
    EXPECT_EQ(flags, 0x05);

    GEOANNO b;
    b.SetShowFrame(1);
    b.SetFillFrame(1);
    b.SetTwoAlign(1);
    EXPECT_EQ(b.m_byStyle, 0x0D);
    b.SetFillFrame(0);
    EXPECT_FALSE(b.GetFillFrame());
    EXPECT_TRUE(b.GetShowFrame());
    EXPECT_TRUE(b.GetTwoAlign());
}

TEST(GeoAnnoRecord, PainterCopyTurnsAboutTheAnchorAndClearsThePartWork) {
    GEOANNO a;
    CObList list;
    RECT clip = {1, 2, 3, 4};
    int part = 0;
    a.m_strText = "A";
    a.m_ptPosition = CPoint(10, 20);
    a.m_ptRotateCenter = CPoint(-1, -1);
    a.m_pClipRect = &clip;
    a.m_nOutputMode = 3;
    a.m_pOutputList = &list;
    a.m_pPartOutput = &part;
    a.m_nIndexResult = 7;
    a.m_nWorkX = 8;
    a.m_nWorkY = 9;
    GEOANNO r = MakeGeoAnno(a);
    EXPECT_EQ(r.m_ptRotateCenter, CPoint(10, 20));
    EXPECT_EQ(r.m_pClipRect, &clip);
    EXPECT_EQ(r.m_nOutputMode, 3);
    EXPECT_EQ(r.m_pOutputList, &list);
    EXPECT_EQ(r.m_pPartOutput, nullptr);
    EXPECT_EQ(r.m_nIndexResult, 0);
    EXPECT_EQ(r.m_nWorkX, 0);
    EXPECT_EQ(r.m_nWorkY, 0);
    EXPECT_EQ(r.m_strText.str(), "A");
}

}  // namespace
