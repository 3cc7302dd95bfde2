// The layer property sheet on the demo's river layer, driven by a scripted person: the common field
// "名称" is renamed "河名" in the field dialog and the class "水渠" goes from code 11 to 13 in the
// feature-class sheet; the sheet's general, field and feature-class pages are drawn into PNG pictures as
// they stand, and the layer's fields, classes and the canal's record are printed before and after.
#include <afx/afxtest.h>
#include <tamsel/GeoAttributeDatabase.h>

#include "core/GeoVectorLayer.h"
#include "ui/LayerGCPage.h"
#include "ui/SDFieldPage.h"

#include "DemoMap.h"
#include "DemoPictures.h"

#include <win32/codepage.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

std::string Utf8(const CString& s) { return win32::GbkToUtf8(s.str()); }

void PrintLayer(CGeoVectorLayer& layer, CGeoVectorObject* canal) {
    std::printf("    common fields:");
    CDaoFieldInfo f;
    for (int i = 0; i < layer.m_Theme.GetFieldCount(); ++i)
        if (layer.m_Theme.GetFieldInfo(i, f)) std::printf(" %s", Utf8(f.m_strName).c_str());
    std::printf("\n    classes:");
    CGeoGClass gc;
    for (int i = 0; i < layer.m_Theme.GetGCCount(); ++i)
        if (layer.m_Theme.GetGC(i, gc)) std::printf(" %u \"%s\"", gc.GetGCID(), Utf8(gc.GetGCName()).c_str());
    CGeoValueList values;
    layer.GetAttribute(canal, &values);
    std::printf("\n    canal: class %u, record:", canal->GetObjectClassID());
    for (POSITION p = values.GetHeadPosition(); p;) std::printf(" \"%s\"", Utf8(values.GetNext(p).strVal).c_str());
    std::printf("\n");
}

int RowOfCode(CLayerGCPage& page, const char* code) {
    for (int r = 0; r < page.m_ListCtrl.GetItemCount(); ++r)
        if (page.m_ListCtrl.GetItemText(r, 1) == code) return r;
    return -1;
}

}  // namespace

int RunLayerSheetDemo(const std::string& outDir) {
    std::vector<std::pair<CGeoPLine*, CString>> names;
    std::unique_ptr<CGeoVectorLayer> layer(demo::BuildRivers(&names));
    CGeoVectorObject* canal = names.at(1).first;
    std::printf("\nlayer property sheet on the layer \"%s\":\n  before:\n", Utf8(layer->GetObjectName()).c_str());
    PrintLayer(*layer, canal);

    demo::WindowPictures picture(outDir);
    afxtest::Session person(false);
    person.ExpectSheet("图层属性", [&](CPropertySheet& sheet) {
        picture(sheet.m_hWnd, "demo-layer-sheet.png", "layer sheet, general page:");
        afxtest::ActivatePage(sheet, 6);
        auto& fields = static_cast<CSDFieldPage&>(*sheet.GetPage(6));
        person.ExpectDialog(2031, [&](CDialog& dlg) {
            afxtest::Type(dlg, 1024, "河名");
            afxtest::Ok(dlg);
        });
        afxtest::ClickRow(&fields.m_ListCtrl, 0);
        afxtest::Click(fields, 1139);
        picture(sheet.m_hWnd, "demo-layer-field-page.png", "layer sheet, field page:");
        afxtest::ActivatePage(sheet, 7);
        auto& classes = static_cast<CLayerGCPage&>(*sheet.GetPage(7));
        person.ExpectSheet("地物属性", [](CPropertySheet& classSheet) {
            afxtest::Type(*classSheet.GetPage(0), 1112, "13");
            afxtest::Ok(classSheet);
        });
        afxtest::ClickRow(&classes.m_ListCtrl, RowOfCode(classes, "11"));
        afxtest::Click(classes, 1144);
        picture(sheet.m_hWnd, "demo-layer-class-page.png", "layer sheet, feature-class page:");
        afxtest::Ok(sheet);
    });
    const int changed = layer->EditProperties(0, 0, nullptr);
    std::printf("  EditProperties returned %d; after:\n", changed);
    PrintLayer(*layer, canal);
    const bool done = changed == 1 && canal->GetObjectClassID() == 13 && layer->m_Theme.FindField("河名") == 0;
    return done && picture.AllWritten() ? 0 : 1;
}
