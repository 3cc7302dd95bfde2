// The symbol dialogs on the demo's symbol library, driven by a scripted person: the value input asks for
// a line width, the symbol picker moves from the flag to the dashed line, the symbol selection grid
// shows the point symbols and the library picker lists the libraries of the host's folder. Each window
// is drawn into a PNG picture as it stands before the person presses OK or Cancel.
#include <afx/afxtest.h>
#include <quenby/SymbolLibIO.h>

#include "ui/SymbolGridWnd.h"
#include "ui/SymbolLibPickDlg.h"
#include "ui/SymbolPickDlg.h"
#include "ui/ValueInputDlg.h"

#include <win32/codepage.h>

#include "DemoPictures.h"

#include <cstdio>
#include <string>

int RunSymbolDialogDemo(const std::string& outDir, CSymbolLibIO* pLib) {
    std::printf("\nsymbol dialogs on the demo's symbol library:\n");
    demo::WindowPictures picture(outDir);
    afxtest::Session person(false);

    CValueInputDlg value;
    value.SetPrompt("设置符号属性", "符号宽度", "0.01毫米");
    value.SetValue(static_cast<LONG>(40));
    value.SetValueField(static_cast<LONG>(1), static_cast<LONG>(500), 0);
    person.ExpectDialog(CValueInputDlg::IDD, [&](CDialog& d) {
        afxtest::Type(d, 6000, "25");
        picture(d.m_hWnd, "demo-value-input.png", "value input:");
        afxtest::Ok(d);
    });
    const int valueResult = static_cast<int>(value.DoModal());
    std::printf("  value input returned %d with the width %ld\n", valueResult, static_cast<long>(value.GetLongValue()));

    CSymbolPickDlg pick(pLib, 2, 0xE000, nullptr);
    person.ExpectDialog(CSymbolPickDlg::IDD, [&](CDialog& d) {
        pick.GetBrowser().UpdateWindow();
        afxtest::Type(d, 1048, "11");  // typing a number selects the first symbol it begins
        picture(d.m_hWnd, "demo-symbol-picker.png", "symbol picker:");
        afxtest::Ok(d);
    });
    const int pickResult = static_cast<int>(pick.DoModal());
    std::printf("  symbol picker returned %d with the symbol %ld\n", pickResult, static_cast<long>(pick.GetSelSymbol()));

    CSymbolSelectDlg grid(pLib, 0, 1, nullptr);
    person.ExpectDialog(CSymbolSelectDlg::IDD, [&](CDialog& d) {
        grid.m_wndGrid.UpdateWindow();
        picture(d.m_hWnd, "demo-symbol-grid.png", "symbol selection grid:");
        afxtest::Cancel(d);
    });
    grid.DoModal();

    CSymbolLibPickDlg library("示例");
    person.ExpectDialog(CSymbolLibPickDlg::IDD, [&](CDialog& d) {
        picture(d.m_hWnd, "demo-symbol-library-picker.png", "symbol library picker:");
        afxtest::Cancel(d);
    });
    library.DoModal();

    const bool scripted = person.Verify();
    if (!scripted) std::printf("  the dialogs did not open as scripted\n");
    return picture.AllWritten() && scripted && valueResult == IDOK && pickResult == IDOK ? 0 : 1;
}
