// The annotation's text page and its dialogs, driven by a scripted person on three annotations of the
// kind a map carries: a place name whose size and angle change on the page, a box annotation whose
// margins are set, a fraction whose spacing is set, and a multi-point street name that gets two more
// characters. The page and each dialog are drawn into PNG pictures as they stand.
#include <afx/afxtest.h>
#include <caddox/TPropertySheet.h>

#include "annotation/GeoAnno.h"
#include "core/PropertyParam.h"

#include <win32/codepage.h>

#include "DemoPictures.h"

#include <cstdio>
#include <functional>
#include <string>

int RunAnnoTextDemo(const std::string& outDir) {
    std::printf("\nannotation text page and its dialogs:\n");
    demo::WindowPictures picture(outDir);
    afxtest::Session person(false);
    tagPropertyParam param;
    param.m_nScale = 10000;  // sizes in millimetres on the ground, shown in tenths of a millimetre at 1 : 10000

    // The sheet as the object sheet runs it: the annotation adds its page, OK hands the values back.
    auto edit = [&](CGeoAnno& anno, std::function<void(CPropertySheet&, CPropertyPage&)> act) {
        person.ExpectSheet("矢量对象属性", [&](CPropertySheet& sheet) { act(sheet, *sheet.GetPage(0)); });
        CTPropertySheet sheet("矢量对象属性");
        anno.OnAddPropertyPage(&sheet, &param, 0);
        if (sheet.DoModal() == IDOK) {
            anno.OnPropertyPageOK();
            return true;
        }
        anno.OnPropertyPageCancel();
        return false;
    };

    CGeoAnno town(CString("青石镇"), CPoint(0, 0), 40000, 40000, 0.0f, 0.0f, 0, 0, 1, 0, 0, 0, 0);
    const bool townDone = edit(town, [&](CPropertySheet& sheet, CPropertyPage& page) {
        afxtest::Click(page, 1043);
        afxtest::Select(page, 1042, "三号");
        afxtest::Type(page, 1034, "15");
        afxtest::Select(page, 1040, "中心对齐");
        afxtest::Click(page, 1057);
        picture(sheet.m_hWnd, "demo-anno-text-page.png", "annotation text page:");
        afxtest::Ok(sheet);
    });
    std::printf("  the town name is now %d x %d mm on the ground at %.1f degrees\n", town.GetCharWidthA(),
                town.GetCharHeight(), town.GetEscapeAngle(0) / 10.0);

    CGeoAnno note(CString("此处为河道管理范围"), CRect(0, 120000, 160000, 0), 30000, 30000, tagGEORECT{}, 0, 0, 0, 0);
    const bool noteDone = edit(note, [&](CPropertySheet& sheet, CPropertyPage& page) {
        person.ExpectDialog(2034, [&](CDialog& d) {
            for (int id : {1042, 1043, 1044, 1045}) afxtest::Type(d, id, "5");
            picture(d.m_hWnd, "demo-anno-box-margins.png", "box margins:");
            afxtest::Ok(d);
        });
        afxtest::Click(page, 1049);
        afxtest::Ok(sheet);
    });
    std::printf("  the box text keeps %d mm inside its box\n", note.GetGeoRect().left);

    CGeoAnno fraction(CString("(12/3)"), CPoint(0, 0), 30000, 30000, tagGEOFORMAT{10000, 10000, 10000, 10000, 2000.0f},
                      0.0f, 0.0f, 0, 0, 0);
    const bool fractionDone = edit(fraction, [&](CPropertySheet& sheet, CPropertyPage& page) {
        person.ExpectDialog(2040, [&](CDialog& d) {
            afxtest::Type(d, 1504, "3");
            picture(d.m_hWnd, "demo-anno-format.png", "formatted-text spacing:");
            afxtest::Ok(d);
        });
        afxtest::Click(page, 1048);
        afxtest::Ok(sheet);
    });
    std::printf("  the fraction bar is %.0f mm wide\n", fraction.GetFenShuWidth());

    CGeoAnno street(CString("滨河路"), CPoint(0, 0), 30000, 30000, 0.0f, 0.0f, 0, 6, 1, 0, 0, 0, 0);
    for (int i = 0; i < 3; ++i) street.SetPositionPoint(CPoint(40000 * i, 0), i);
    person.ExpectDialog(2041, [&](CDialog& d) {
        afxtest::Type(d, 1067, "东段");
        afxtest::Type(d, 1068, "10");
        picture(d.m_hWnd, "demo-anno-insert-char.png", "insert characters:");
        afxtest::Ok(d);
    });
    street.InsertPointAfter(120000, 0, 2);
    std::printf("  the street name reads %s on %d points\n",
                win32::GbkToUtf8(static_cast<LPCSTR>(street.GetName())).c_str(), street.GetPoints());

    const bool scripted = person.Verify();
    if (!scripted) std::printf("  the dialogs did not open as scripted\n");
    const bool edited = townDone && noteDone && fractionDone && street.GetPoints() == 5;
    return picture.AllWritten() && scripted && edited ? 0 : 1;
}
