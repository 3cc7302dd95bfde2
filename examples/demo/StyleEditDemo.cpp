// The style editors on the demo's river layer, driven by a scripted person: the display-style page
// shows the layer's style in its previews; its line button opens the style sheet, where the line gets
// square ends and a wider pen and the lettering a right slant; the page, two sheet pages and the
// point page with the symbol browser are drawn into PNG pictures as they stand.
#include <afx/afxtest.h>

#include "core/GeoVectorLayer.h"
#include "ui/SDStylePage.h"
#include "ui/StyleSheet.h"

#include "DemoMap.h"
#include "DemoSymbols.h"

#include <quenby/SymbolLibIO.h>
#include <win32/codepage.h>

#include "DemoPictures.h"

#include <cstdio>
#include <memory>
#include <string>

int RunStyleEditDemo(const std::string& outDir) {
    std::unique_ptr<CGeoVectorLayer> layer(demo::BuildRivers());
    CSymbolLibIO lib;
    demo::AddSampleSymbols(lib);
    GEOVIEW style = layer->GetGeoView();
    std::printf("\nstyle editors on the river layer: line shape 0x%x, width %.1f, lettering %d\n", style.m_nLineShape,
                style.m_fLineWidth, static_cast<int>(style.GetFontType()));

    demo::WindowPictures picture(outDir);
    CSDStylePage page;
    page.SetData(style, &lib, 0);
    CPropertySheet host("图层属性");
    host.AddPage(&page);
    afxtest::Session person(false);
    person.ExpectSheet("图层属性", [&](CPropertySheet& sheet) {
        picture(sheet.m_hWnd, "demo-style-page.png", "display-style page:");
        afxtest::Click(page, 1039);
        picture(sheet.m_hWnd, "demo-style-page-edited.png", "display-style page, edited:");
        afxtest::Ok(sheet);
    });
    person.ExpectSheet("显示风格设置", [&](CPropertySheet& sheet) {
        CPropertyPage& line = *sheet.GetActivePage();
        afxtest::Click(line, 1054);
        static_cast<CStyleSheet&>(sheet).m_pageLine.m_btnWidth.PickWidth(2.0f);
        picture(sheet.m_hWnd, "demo-style-sheet-line.png", "style sheet, line page:");
        afxtest::ActivatePage(sheet, 0);
        picture(sheet.m_hWnd, "demo-style-sheet-point.png", "style sheet, point page:");
        afxtest::ActivatePage(sheet, 3);
        afxtest::Click(*sheet.GetActivePage(), 1482);
        picture(sheet.m_hWnd, "demo-style-sheet-anno.png", "style sheet, lettering page:");
        afxtest::Ok(sheet);
    });
    host.DoModal();
    style = page.GetGeoView();
    std::printf("  after: line shape 0x%x, width %.1f, lettering %d\n", style.m_nLineShape, style.m_fLineWidth,
                static_cast<int>(style.GetFontType()));
    return picture.AllWritten() && (style.m_nLineShape & 0x300) == PS_ENDCAP_SQUARE ? 0 : 1;
}
