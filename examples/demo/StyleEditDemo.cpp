// The style editors on the demo's river layer, driven by a scripted person: the display-style page
// shows the layer's style in its previews; its line button opens the style sheet, where the line gets
// square ends and a wider pen (picked in the width chooser) and the lettering a right slant; the page,
// two sheet pages, the point page with the symbol browser and the three choosers are drawn into PNG
// pictures as they stand.
#include <afx/afxtest.h>
#include <caddox/Choosers.h>

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

namespace {

// A click on a cell of a chooser's grid.
void PickCell(CDialog& chooser, int cell) {
    auto* grid = static_cast<CChooserGrid*>(CWnd::FromHandlePermanent(chooser.GetDlgItem(CADDOX_IDC_CHOOSER_GRID)->m_hWnd));
    const CPoint at = grid->GetCellRect(cell).CenterPoint();
    afxtest::Mouse(grid, WM_LBUTTONDOWN, at, MK_LBUTTON);
    afxtest::Mouse(grid, WM_LBUTTONUP, at, 0);
}

}  // namespace

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
        // The width picker's chooser: the 2 mm row clicked, then OK.
        person.OpenDialog(CADDOX_IDD_WIDTH_CHOOSER, [&](CDialog& c) {
            PickCell(c, CLineWidthChooser::WidthIndex(2.0f));
            picture(c.m_hWnd, "demo-chooser-width.png", "line-width chooser:");
            afxtest::Ok(c);
        }, [&] { return afxtest::Click(line, 1043); });
        picture(sheet.m_hWnd, "demo-style-sheet-line.png", "style sheet, line page:");
        afxtest::ActivatePage(sheet, 0);
        CPropertyPage& point = *sheet.GetActivePage();
        // The marker and colour choosers of the point page, left as they were (Cancel).
        person.OpenDialog(CADDOX_IDD_MARKER_CHOOSER, [&](CDialog& c) {
            picture(c.m_hWnd, "demo-chooser-marker.png", "marker chooser:");
            afxtest::Cancel(c);
        }, [&] { return afxtest::Click(point, 1121); });
        person.OpenDialog(CADDOX_IDD_COLOUR_CHOOSER, [&](CDialog& c) {
            picture(c.m_hWnd, "demo-chooser-colour.png", "colour chooser:");
            afxtest::Cancel(c);
        }, [&] { return afxtest::Click(point, 1063); });
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
