// The vector-object property sheet on the demo's canal, driven by a scripted person: the sheet opens on
// "南干渠" (class 11 "水渠"), the class picker moves it to class 10 "河流" and the person agrees to move
// its attribute record; the general page, the picker and the display-style page are drawn into PNG
// pictures as they stand, and the canal's class and record are printed before and after.
#include <afx/WindowPicture.h>
#include <afx/afxtest.h>
#include <tamsel/GeoAttributeDatabase.h>

#include "core/GeoVectorLayer.h"
#include "ui/PickGCDlg.h"
#include "vector/GeoPLine.h"

#include "DemoMap.h"

#include <win32/codepage.h>

#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

std::string Utf8(const CString& s) { return win32::GbkToUtf8(s.str()); }

void PrintObject(CGeoVectorLayer& layer, CGeoVectorObject* object) {
    const UINT code = object->GetObjectClassID();
    std::printf("  \"%s\": class %u \"%s\", user ID %u, record:", Utf8(object->GetObjectName()).c_str(), code,
                Utf8(object->GetGClassName()).c_str(), object->GetUserID());
    CGeoValueList values;
    if (!layer.GetAttribute(object, &values)) {
        std::printf(" none\n");
        return;
    }
    for (POSITION p = values.GetHeadPosition(); p;) {
        const COleVariant& v = values.GetNext(p);
        if (v.vt == VT_BSTR)
            std::printf(" \"%s\"", Utf8(CString(v.strVal)).c_str());
        else if (v.vt == VT_R8)
            std::printf(" %.1f", v.dblVal);
        else
            std::printf(" (empty)");
    }
    std::printf("\n");
}

}  // namespace

int RunObjectSheetDemo(const std::string& outDir) {
    std::vector<std::pair<CGeoPLine*, CString>> names;
    std::unique_ptr<CGeoVectorLayer> layer(demo::BuildRivers(&names));
    CGeoPLine* canal = names.at(1).first;
    canal->SetObjectName(names.at(1).second);
    std::printf("\nobject property sheet on the layer \"%s\":\n  before:\n", Utf8(layer->GetObjectName()).c_str());
    PrintObject(*layer, canal);

    bool allWritten = true;
    auto picture = [&](HWND h, const char* name, const char* what) {
        const std::string png = outDir + "/" + name;
        const BOOL ok = AfxWriteWindowPicture(h, win32::NativePathToGbk(png).c_str());
        std::printf("  %-36s %s\n", what, ok ? png.c_str() : "NOT WRITTEN");
        allWritten = allWritten && ok;
    };
    CPickGCDlg::s_nListBy = 0;
    afxtest::Session person(false);
    person.ExpectSheet("矢量对象属性", [&](CPropertySheet& sheet) {
        CPropertyPage& general = *sheet.GetPage(0);
        afxtest::Select(general, 1056, "公里");
        picture(sheet.m_hWnd, "demo-object-sheet.png", "object sheet, general page:");
        afxtest::Click(general, 1041);
        picture(sheet.m_hWnd, "demo-object-sheet-moved.png", "object sheet, after the class change:");
        afxtest::ActivatePage(sheet, 1);
        picture(sheet.m_hWnd, "demo-object-style.png", "object sheet, display-style page:");
        afxtest::Ok(sheet);
    });
    person.ExpectDialog(2010, [&](CDialog& dlg) {
        afxtest::Select(dlg, 1055, "河流");
        picture(dlg.m_hWnd, "demo-class-picker.png", "class picker:");
        afxtest::Ok(dlg);
    });
    person.ExpectMessageBox("改变地物类编码", IDOK);
    const int changed = canal->EditProperties(0, 0, nullptr);
    std::printf("  EditProperties returned %d; after:\n", changed);
    PrintObject(*layer, canal);
    return changed == 1 && canal->GetObjectClassID() == 10 && allWritten ? 0 : 1;
}
