// Fills the core's dialog hooks with the dialogs of this floor when the library is loaded, so that
// GetSymbol, SelectSymbolLib and EditSymbolAttribute open them.
#include "core/DialogHooks.h"
#include "core/GeoClassEdit.h"
#include "ui/GCPropSheet.h"
#include "ui/SymbolLibPickDlg.h"
#include "ui/SymbolPickDlg.h"
#include "ui/ValueInputDlg.h"

namespace {

int PickSymbol(CSymbolLibIO* pLib, LONG lCurrent, DWORD dwFilter, LONG* plChosen) {
    CSymbolPickDlg dlg(pLib, lCurrent, dwFilter, nullptr);
    const int result = static_cast<int>(dlg.DoModal());
    if (result == IDOK) *plChosen = dlg.GetSelSymbol();
    return result;
}

int PickSymbolLib(const CString& strCurrent, CString* pstrChosen) {
    CSymbolLibPickDlg dlg(strCurrent, nullptr);
    const int result = static_cast<int>(dlg.DoModal());
    if (result == IDOK) *pstrChosen = dlg.GetLibFileName();
    return result;
}

int InputLong(const CString& strCaption, const CString& strLabel, const CString& strUnit, LONG* plValue) {
    CValueInputDlg dlg(nullptr);
    dlg.SetPrompt(strCaption, strLabel, strUnit);
    dlg.SetValue(*plValue);
    const int result = static_cast<int>(dlg.DoModal());
    if (result == IDOK) *plValue = dlg.GetLongValue();
    return result;
}

struct HookInstaller {
    HookInstaller() {
        SetDialogHooks(tagDialogHooks{PickSymbol, PickSymbolLib, InputLong});
        SetGClassSheetHook(RunGClassSheet);
    }
} g_installer;

}  // namespace
