// The feature-class editor on the demo's river layer, driven by a scripted person: the class sheet
// opens on "河流", the code goes from 10 to 12 and the field "长度" is renamed "河长" in the field
// dialog; the sheet's pages and the field dialog are drawn into PNG pictures as they stand, and the
// class, its table and the river's record are printed before and after. Then the river's attribute
// record is edited in the attribute value dialog (the length becomes 106.2), pictured as it stands.
#include <afx/afxtest.h>
#include <tamsel/GeoAttributeDatabase.h>

#include "core/GeoClassEdit.h"
#include "core/GeoVectorLayer.h"
#include "ui/ADBValueDlg.h"
#include "ui/SDFieldPage.h"
#include "core/GeoVectorObject.h"

#include "DemoMap.h"
#include "DemoPictures.h"

#include <win32/codepage.h>


#include <cstdio>
#include <memory>
#include <string>

namespace {

std::string Utf8(const CString& s) { return win32::GbkToUtf8(s.str()); }

void PrintClass(CGeoVectorLayer& layer, UINT code) {
    CGeoGClass gc;
    if (!layer.GetGClass(code, gc)) {
        std::printf("  class %u: none\n", code);
        return;
    }
    std::printf("  class %u \"%s\", fields:", code, Utf8(gc.GetGCName()).c_str());
    CDaoFieldInfo f;
    for (int i = 0; i < gc.GetFieldCount(); ++i)
        if (gc.GetFieldInfo(i, f)) std::printf(" %s", Utf8(f.m_strName).c_str());
    CGeoAttributeDatabase* db = layer.GetAttributeDatabase();
    std::printf("; table %s, %ld record(s)\n", db && db->IsExistGC(code) ? "present" : "absent",
                db && db->IsExistGC(code) ? static_cast<long>(db->GetIDCount(code)) : 0L);
}

}  // namespace

int RunClassEditDemo(const std::string& outDir) {
    std::unique_ptr<CGeoVectorLayer> layer(demo::BuildRivers());
    std::printf("\nfeature-class editor on the layer \"%s\":\n  before:\n", Utf8(layer->GetObjectName()).c_str());
    PrintClass(*layer, 10);

    demo::WindowPictures picture(outDir);
    afxtest::Session person(false);
    person.ExpectSheet("地物属性", [&](CPropertySheet& sheet) {
        afxtest::Type(*sheet.GetPage(0), 1112, "12");
        picture(sheet.m_hWnd, "demo-class-sheet.png", "class sheet, general page:");
        afxtest::ActivatePage(sheet, 6);
        auto& fields = static_cast<CSDFieldPage&>(*sheet.GetPage(6));
        afxtest::ClickRow(&fields.m_ListCtrl, 0);
        picture(sheet.m_hWnd, "demo-field-page.png", "class sheet, field page:");
        afxtest::Click(fields, 1139);
        afxtest::Ok(sheet);
    });
    person.ExpectDialog(2031, [&](CDialog& dlg) {
        afxtest::Type(dlg, 1024, "河长");
        picture(dlg.m_hWnd, "demo-field-dialog.png", "field dialog:");
        afxtest::Ok(dlg);
    });
    const int stored = EditGeoClass(layer.get(), 10, nullptr, 0);
    std::printf("  EditGeoClass returned %d; after:\n", stored);
    PrintClass(*layer, 10);
    PrintClass(*layer, 12);

    // The river is the layer's first object; its record holds 名称 then 河长.
    auto* river = static_cast<CGeoVectorObject*>(layer->m_ObjList.GetHead());
    person.ExpectDialog(2016, [&](CDialog& dlg) {
        afxtest::Type(dlg, 1099, "106.2");
        picture(dlg.m_hWnd, "demo-attribute-value.png", "attribute value dialog:");
        afxtest::Ok(dlg);
    });
    const int edited = ObjAttributeEdit(river);
    COleVariant length;
    CGeoAttributeDatabase* db = layer->GetAttributeDatabase();
    const bool read = db && db->GetFieldValue(river->GetUserID(), "河长", length, 12);
    std::printf("  ObjAttributeEdit returned %d (0: the record changed); the river's %s is now %s\n", edited,
                Utf8("河长").c_str(), read ? std::to_string(length.dblVal).c_str() : "unreadable");
    return stored == 1 && picture.AllWritten() ? 0 : 1;
}
