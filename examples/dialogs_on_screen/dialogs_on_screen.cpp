// Opens every dialog of the library on a real screen, one after another, against demo data, for a
// person to fill in. Run by hand on a desktop (it is not part of make demo):
//     ./dialogs_on_screen
// Each dialog's result and what it wrote are printed when it closes.
#include <QApplication>

#include <afx/WinApp.h>

#include <afxqt/QtScreen.h>
#include <quenby/SymbolLibIO.h>

#include <cstdio>

#include "terrain/GeoDEM.h"
#include "ui/BilParamDlg.h"
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

    AfxQtRemoveScreen();
    return 0;
}
