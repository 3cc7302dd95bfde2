// Opens every dialog of the library on a real screen, one after another, against demo data, for a
// person to fill in. Run by hand on a desktop (it is not part of make demo):
//     ./dialogs_on_screen
// Each dialog's result and what it wrote are printed when it closes.
#include <QApplication>

#include <afx/WinApp.h>

#include <afxqt/QtScreen.h>
#include <caddox/Choosers.h>
#include <quenby/SymbolLibIO.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "annotation/GeoAnno.h"
#include "core/GeoVectorLayer.h"
#include "core/GeoView.h"
#include "core/PropertyParam.h"
#include "terrain/GeoDEM.h"
#include "ui/ADBValueDlg.h"
#include "ui/BilParamDlg.h"
#include "ui/FieldDefDlg.h"
#include "ui/FieldPropDlg.h"
#include "raster/GeoImage.h"
#include "raster/GeoMosaicPLine.h"
#include "ui/GCInfoDlg.h"
#include "ui/GCPropSheet.h"
#include "ui/PickGCDlg.h"
#include "ui/SelectGCDlg.h"
#include "ui/GeoFormatDlg.h"
#include "ui/GeoRectDlg.h"
#include "ui/InsertCharDlg.h"
#include "ui/SchemaDesignDlg.h"
#include "ui/Scheme.h"
#include "ui/StyleSheet.h"
#include "vector/GeoPoint.h"
#include "ui/DEMLevelDlg.h"
#include "ui/LevelCountDlg.h"
#include "ui/SymbolLibPickDlg.h"
#include "ui/SymbolPickDlg.h"
#include "ui/ValueInputDlg.h"

namespace {

// A small symbol library drawn in code: a point, a line and a fill.
void AddDemoSymbols(CSymbolLibIO& lib) {
    lib.SetUnitsPerMM(100);
    lib.SetFileDescribe("示例符号库");
}

CGeoClassificationParameter DemoClasses() {
    CGeoClassificationParameter p;
    CArray<DWORD, DWORD> colors;
    CArray<double, double> thresholds;
    for (COLORREF c : {0x217500u, 0x2EC449u, 0x07DFBCu, 0x185AADu, 0xBDBABCu, 0xFFFFFFu}) colors.Add(c);
    for (double t : {200.0, 400.0, 600.0, 800.0, 1000.0}) thresholds.Add(t);
    p.SetArrange(0.0, 1200.0);
    p.SetColorArray(colors);
    p.SetThresholdArray(thresholds);
    return p;
}

CDaoFieldInfo DemoField(const char* name, short type, LONG size, BOOL required) {
    CDaoFieldInfo f;
    f.m_strName = name;
    f.m_nType = type;
    f.m_lSize = size;
    f.m_bRequired = required;
    return f;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    CWinApp host("图层编辑");
    if (!AfxQtInstallScreen()) return 1;

    CValueInputDlg value;
    value.SetPrompt("设置符号属性", "符号宽度", "0.01毫米");
    value.SetValue(static_cast<LONG>(40));
    value.SetValueField(static_cast<LONG>(1), static_cast<LONG>(1000), 0);
    INT_PTR r = value.DoModal();
    std::printf("value input: %d, %d\n", static_cast<int>(r), static_cast<int>(value.GetLongValue()));

    CLevelCountDlg count;
    count.m_nCount = 5;
    r = count.DoModal();
    std::printf("level count: %d, %d\n", static_cast<int>(r), count.m_nCount);

    CBilParamDlg bil;
    r = bil.DoModal();
    std::printf("BIL parameters: %d, %u, %d\n", static_cast<int>(r), bil.m_nHzoom, static_cast<int>(bil.m_lInvalid));

    CDEMLevelDlg level;
    level.m_Parameter = DemoClasses();
    level.m_strUnit = "米";
    level.m_dMinimum = 0.0;
    level.m_dMaximum = 1200.0;
    r = level.DoModal();
    std::printf("DEM levels: %d, %d classes\n", static_cast<int>(r), level.GetClassCount());

    CSymbolLibIO lib;
    AddDemoSymbols(lib);
    CSymbolPickDlg pick(&lib, 0, 0xE000, nullptr);
    r = pick.DoModal();
    std::printf("symbol: %d, %d\n", static_cast<int>(r), static_cast<int>(pick.GetSelSymbol()));

    CSymbolLibPickDlg libPick("", nullptr);
    r = libPick.DoModal();
    std::printf("symbol library: %d, %s\n", static_cast<int>(r), static_cast<LPCTSTR>(libPick.GetLibFileName()));

    // The style sheet's pickers open their choosers on a click; here they are also opened alone.
    CStyleSheet styles("显示风格设置");
    styles.SetData(GEOVIEW(), &lib, 1, 30, 40);
    r = styles.DoModal();
    std::printf("display style: %d\n", static_cast<int>(r));
    CColourChooser colour(0x217500);
    r = colour.DoModal();
    std::printf("colour: %d, %06x\n", static_cast<int>(r), static_cast<unsigned>(colour.GetColour()));
    CLineWidthChooser width(0.5f);
    r = width.DoModal();
    std::printf("line width: %d, %g\n", static_cast<int>(r), static_cast<double>(width.GetWidth()));
    CMarkerChooser marker(2);
    r = marker.DoModal();
    std::printf("marker: %d, %d\n", static_cast<int>(r), marker.GetMarker());

    CGeoGClass river;
    river.SetGCID(3);
    river.SetGCName("河流");
    river.AddField(DemoField("名称", dbText, 20, TRUE), -2);
    river.AddField(DemoField("宽度", dbDouble, 0, FALSE), -2);
    CGCPropSheet classSheet("地物属性", nullptr, &river, &lib, 0);
    r = classSheet.DoModal();
    std::printf("feature class: %d, %s\n", static_cast<int>(r), static_cast<LPCTSTR>(classSheet.GetEditedGClass().GetGCName()));

    CFieldDefDlg fieldDef;
    r = fieldDef.DoModal();
    std::printf("new field: %d, %s\n", static_cast<int>(r), static_cast<LPCTSTR>(fieldDef.GetFieldInfo().m_strName));

    CFieldPropDlg fieldProp;
    fieldProp.SetData(nullptr, 1, nullptr);
    r = fieldProp.DoModal();
    std::printf("field: %d, %s\n", static_cast<int>(r), static_cast<LPCTSTR>(fieldProp.GetFieldInfo().m_strName));

    CGeoVectorLayer roads;
    roads.m_Theme.AddField(DemoField("名称", dbText, 20, TRUE), -2);
    roads.m_Theme.AddField(DemoField("通车日期", dbDate, 0, FALSE), -2);
    auto* road = new CGeoPoint(1, 2);
    roads.Add(road);
    CADBValueDlg values;
    values.InitData(road);
    r = values.DoModal();
    std::printf("attribute values: %d, %d\n", static_cast<int>(r), values.GetRetCode());

    // The layer's own sheet (general, style, field and feature-class pages) and the sheet of one of its
    // objects, both opened through their objects' hooks as a host's map view opens them.
    CGeoGClass street;
    street.SetGCID(5);
    street.SetGCName("街道");
    street.AddField(DemoField("宽度", dbDouble, 0, FALSE), -2);
    roads.m_Theme.AddGC(street, -2);
    road->SetObjectClassID(5);
    r = roads.EditProperties(0, 0, nullptr);
    std::printf("layer: %d, %s\n", static_cast<int>(r), static_cast<LPCTSTR>(roads.GetObjectName()));
    tagPropertyParam param;
    param.m_pSymbolLib = &lib;
    param.m_nScale = 1000;
    r = road->EditProperties(0, 0, &param);
    std::printf("object: %d, %s\n", static_cast<int>(r), static_cast<LPCTSTR>(road->GetObjectName()));

    // The class picker of the object sheet's general page, over the demo layer's classes.
    CPickGCDlg picker;
    picker.m_Theme = roads.m_Theme;
    picker.m_nCode = 5;
    picker.m_pSymbolLib = &lib;
    r = picker.DoModal();
    std::printf("class picked: %d, %u\n", static_cast<int>(r), picker.m_nCode);

    // The class selection of the layer's class page, over the demo layer's schema and a second one.
    CTypedPtrList<CObList, CGeoTheme*> schemas;
    CGeoTheme water;
    water.SetName("水系");
    CGeoGClass lake;
    lake.SetGCID(6);
    lake.SetGCName("湖泊");
    water.AddGC(lake, -2);
    water.AddGC(river, -2);
    CGeoTheme streets = roads.m_Theme;
    streets.SetName("道路");
    schemas.AddTail(&streets);
    schemas.AddTail(&water);
    CSelectGCDlg selection;
    selection.SetSchemeList(&schemas);
    r = selection.DoModal();
    int chosen = 0;
    for (POSITION p = selection.GetEntryList()->GetHeadPosition(); p;)
        chosen += static_cast<tagGCEntry*>(selection.GetEntryList()->GetNext(p))->bChosen;
    std::printf("classes chosen: %d, %d\n", static_cast<int>(r), chosen);

    // The class info asked for when an imported class clashes with one of the layer's.
    CGCInfoDlg info;
    info.SetData("河流", 5, "水系");
    info.SetFocusField(2);
    r = info.DoModal();
    std::printf("class info: %d, %s %u\n", static_cast<int>(r), static_cast<LPCTSTR>(info.m_strName), info.m_nCode);

    // A scanned image and a mosaic line open their own dialogs, as a host's map view opens them.
    tagRasterParameter scan{};
    scan.m_nScale = 50000;
    scan.m_dXResolution = 400.0;
    scan.m_dYResolution = 400.0;
    scan.m_dPixelSize = 1.0;
    CGeoImage image(640, 480, 8, 0, 480, scan);
    image.SetObjectName("扫描图");
    r = image.EditProperties(0, 0, nullptr);
    std::printf("image: %d, %s\n", static_cast<int>(r), static_cast<LPCTSTR>(image.GetObjectName()));
    CGeoMosaicPLine seam;
    seam.AddPoint(10.5, 20.25, 1000.0, 2000.125);
    seam.AddPoint(30.0, 40.0, 3000.5, 4000.0);
    seam.SetHeadNodeName("甲");
    seam.SetTailNodeName("乙");
    r = seam.EditProperties(0, 0, nullptr);
    std::printf("mosaic line: %d\n", static_cast<int>(r));

    // An annotation's sheet carries its text page; the page's box and format buttons open their dialogs.
    CGeoAnno label(CString("长江大桥"), CPoint(0, 0), 5000, 5000, 0.0f, 0.0f, 0, 0, 1, 0, 0, 0, 0);
    r = label.EditProperties(0, 0, &param);
    std::printf("annotation: %d, %s\n", static_cast<int>(r), static_cast<LPCTSTR>(label.GetName()));

    CGeoRectDlg margins;
    margins.SetMargins(tagGEORECT{2000, 2000, 1000, 1000}, 1000);
    r = margins.DoModal();
    const tagGEORECT m = margins.GetMargins();
    std::printf("box margins: %d, %d %d %d %d\n", static_cast<int>(r), m.left, m.right, m.top, m.bottom);

    CGeoFormatDlg format;
    r = format.DoModal();
    std::printf("format: %d, %d %d\n", static_cast<int>(r), format.m_Format.hor, format.m_Format.ver);

    CInsertCharDlg insert;
    r = insert.DoModal();
    std::printf("insert: %d, %s %g\n", static_cast<int>(r), static_cast<LPCTSTR>(insert.m_strText), insert.m_fAngle);

    // The scheme designer over a scheme written from the demo layer.
    roads.SetObjectName("道路");
    CTypedPtrList<CObList, CGeoLayer*> layers;
    layers.AddTail(&roads);
    const std::string scheme = (std::filesystem::temp_directory_path() / "dialogs_on_screen.sch").string();
    SaveSchemeFile(scheme.c_str(), layers);
    CSchemaDesignDlg designer;
    designer.InitData(scheme.c_str());
    r = designer.DoModal();
    std::printf("scheme designer: %d\n", static_cast<int>(r));

    AfxQtRemoveScreen();
    return 0;
}
