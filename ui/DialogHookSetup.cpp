// Fills the core's dialog hooks with the dialogs of this floor when the library is loaded, so that
// GetSymbol, SelectSymbolLib, EditSymbolAttribute and a vector object's EditProperties open them;
// likewise the raster floor's hooks, so that images and mosaic lines open their property dialogs from
// EditProperties; and the annotation floor's, so that an annotation adds its text page to the object
// sheet and asks for characters to insert.
#include "annotation/AnnoDialogHooks.h"
#include "core/DialogHooks.h"
#include "raster/RasterDialogHooks.h"
#include "core/GeoClassEdit.h"
#include "ui/AnnoTextPropPage.h"
#include "ui/GCPropSheet.h"
#include "ui/InsertCharDlg.h"
#include "ui/LayerPropSheet.h"
#include "ui/SymbolLibPickDlg.h"
#include "ui/SymbolPickDlg.h"
#include "ui/ValueInputDlg.h"
#include "ui/VectorObjectPropSheetEx.h"
#include "ui/ImagePropertyDlg.h"
#include "ui/MosaicLinePropertyDlg.h"

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

int ImageProperties(CGeoImage* image) {
    CImagePropertyDlg dlg(nullptr);
    dlg.SetImage(image);
    if (dlg.DoModal() != IDOK) return 0;
    return dlg.ApplyTo(image);
}

int MosaicLineProperties(CGeoMosaicPLine* line) {
    CMosaicLinePropertyDlg dlg(nullptr);
    dlg.SetMosaicLine(line);
    return dlg.DoModal() == IDOK ? 1 : 0;
}

CPropertyPage* NewAnnoTextPage(const tagAnnoTextPageData& data) {
    CAnnoTextPropPage* page = new CAnnoTextPropPage;
    page->m_data = data;
    return page;
}

void GetAnnoTextPageData(CPropertyPage* page, tagAnnoTextPageData* data) {
    *data = static_cast<CAnnoTextPropPage*>(page)->m_data;
}

int InsertChar(CString* text, float* angleDegrees) {
    CInsertCharDlg dlg(nullptr);
    const int result = static_cast<int>(dlg.DoModal());
    if (result == IDOK) {
        *text = dlg.m_strText;
        *angleDegrees = dlg.m_fAngle;
    }
    return result;
}

struct HookInstaller {
    HookInstaller() {
        SetDialogHooks(tagDialogHooks{PickSymbol, PickSymbolLib, InputLong});
        SetGClassSheetHook(RunGClassSheet);
        SetObjectSheetHook(RunVectorObjectSheet);
        SetLayerSheetHook(RunLayerPropSheet);
        SetRasterDialogHooks(tagRasterDialogHooks{ImageProperties, MosaicLineProperties});
        SetAnnoDialogHooks(tagAnnoDialogHooks{NewAnnoTextPage, GetAnnoTextPageData, InsertChar});
    }
} g_installer;

}  // namespace
