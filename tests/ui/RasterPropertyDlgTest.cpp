// The raster property dialogs driven as a person would, opened through the objects' EditProperties:
// the image's fields, its refusals and reset and what OK writes back; the mosaic line's read-only list.
#include "raster/GeoImage.h"
#include "support/UiFixtures.h"
#include "raster/GeoMosaicPLine.h"
#include "ui/MosaicLinePropertyDlg.h"

#include <afx/afxtest.h>

#include <gtest/gtest.h>

#include <string>

namespace {

afxtest::Session* Strict(afxtest::Session& s) {
    s.SetFailureHandler([](const std::string& m) { ADD_FAILURE() << m; });
    return &s;
}


}  // namespace

TEST(ImagePropertyDlg, ShowsTheImageAndAppliesWhatChanged) {
    tagRasterParameter p = fixtures::ScannedImageParameter();
    CGeoImage image(40, 30, 8, 0, 30, p);
    image.SetObjectName("影像");
    afxtest::Session s;
    Strict(s);
    s.ExpectDialog(2001, [](CDialog& d) {
        EXPECT_EQ(afxtest::Text(&d), "图像属性");
        EXPECT_EQ(afxtest::Text(d, 1001), "影像");
        EXPECT_EQ(afxtest::Text(d, 1003), "40");
        EXPECT_EQ(afxtest::Text(d, 1004), "30");
        EXPECT_EQ(afxtest::Text(d, 1005), "400");  // truncated
        EXPECT_EQ(afxtest::Text(d, 1006), "300");
        EXPECT_EQ(afxtest::Text(d, 1007), "50000");
        afxtest::Type(d, 1005, "600");
        afxtest::Type(d, 1001, "影像甲");
        afxtest::Ok(d);
    });
    EXPECT_EQ(image.EditProperties(0, 0, nullptr), 1);
    EXPECT_TRUE(s.Verify());
    EXPECT_DOUBLE_EQ(image.GetRasterParameter().m_dXResolution, 600.0);
    EXPECT_DOUBLE_EQ(image.GetRasterParameter().m_dYResolution, 300.0);
    EXPECT_EQ(image.GetObjectName(), CString("影像甲"));
}

TEST(ImagePropertyDlg, ResetRefusalsAndCancelChangeNothing) {
    tagRasterParameter p = fixtures::ScannedImageParameter();
    CGeoImage image(40, 30, 8, 0, 30, p);
    image.SetObjectName("影像");
    {
        afxtest::Session s;
        Strict(s);
        s.ExpectDialog(2001, [](CDialog& d) {
            afxtest::Type(d, 1007, "50");  // below 100: refused, the dialog stays
            afxtest::Ok(d);
            EXPECT_FALSE(d.IsEnded());
            afxtest::Type(d, 1001, "一个超过二十个字符的很长的名字");  // more than 20 bytes: the field stops at 20
            EXPECT_LE(afxtest::Text(d, 1001).size(), 20u);
            afxtest::Type(d, 1007, "25000");
            afxtest::Click(d, 1008);  // back to what the dialog opened with
            EXPECT_EQ(afxtest::Text(d, 1001), "影像");
            EXPECT_EQ(afxtest::Text(d, 1007), "50000");
            afxtest::Ok(d);
        });
        s.ExpectMessageBox("", IDOK);
        EXPECT_EQ(image.EditProperties(0, 0, nullptr), 0);
        EXPECT_TRUE(s.Verify());
    }
    {
        afxtest::Session s;
        Strict(s);
        s.ExpectDialog(2001, [](CDialog& d) {
            afxtest::Type(d, 1006, "150");
            afxtest::Cancel(d);
        });
        EXPECT_EQ(image.EditProperties(0, 0, nullptr), 0);
        EXPECT_TRUE(s.Verify());
    }
    EXPECT_EQ(image.GetRasterParameter().m_nScale, 50000);
    EXPECT_DOUBLE_EQ(image.GetRasterParameter().m_dYResolution, 300.0);
    EXPECT_EQ(image.GetObjectName(), CString("影像"));
}

TEST(MosaicLinePropertyDlg, ListsTheMosaicPoints) {
    CGeoMosaicPLine line;
    line.AddPoint(10.5, 20.25, 1000.0, 2000.125);
    line.AddPoint(30.0, 40.0, 3000.5, 4000.0);
    line.SetHeadNodeName("N1");
    line.SetTailNodeName("N2");
    afxtest::Session s;
    Strict(s);
    s.ExpectDialog(2014, [](CDialog& d) {
        EXPECT_EQ(afxtest::Text(&d), "接边线属性");
        EXPECT_EQ(afxtest::Text(d, 1002), "");  // in no layer
        EXPECT_EQ(afxtest::Text(d, 1003), "N1");
        EXPECT_EQ(afxtest::Text(d, 1004), "N2");
        EXPECT_EQ(afxtest::Text(d, 1005), "2");
        auto& dlg = static_cast<CMosaicLinePropertyDlg&>(d);
        CListCtrl& list = dlg.m_ListCtrl;
        EXPECT_EQ(list.GetColumnCount(), 5);
        EXPECT_EQ(list.GetExtendedStyle() & 0x21u, 0x21u);
        ASSERT_EQ(list.GetItemCount(), 2);
        EXPECT_EQ(list.GetItemText(0, 0), CString("0"));
        EXPECT_EQ(list.GetItemText(0, 1), CString("10.500"));
        EXPECT_EQ(list.GetItemText(0, 2), CString("20.250"));
        EXPECT_EQ(list.GetItemText(0, 4), CString("2000.125"));
        EXPECT_EQ(list.GetItemText(1, 3), CString("3000.500"));
        afxtest::Ok(d);
    });
    EXPECT_EQ(line.EditProperties(0, 0, nullptr), 1);
    EXPECT_TRUE(s.Verify());
}
