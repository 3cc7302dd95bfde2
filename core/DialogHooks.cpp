#include "core/DialogHooks.h"

#include "core/GeoLayer.h"

namespace {

tagDialogHooks& Hooks() {
    // A function-local object, so that the dialogs can fill it from their own start-up code whatever
    // the order in which the library's static objects are built.
    static tagDialogHooks hooks = {nullptr, nullptr, nullptr};
    return hooks;
}

}  // namespace

const tagDialogHooks& GetDialogHooks() { return Hooks(); }

tagDialogHooks SetDialogHooks(const tagDialogHooks& hooks) {
    const tagDialogHooks previous = Hooks();
    Hooks() = hooks;
    return previous;
}

namespace {

AttributeValueDialogHook& AttributeHook() {
    static AttributeValueDialogHook hook = nullptr;
    return hook;
}

}  // namespace

AttributeValueDialogHook GetAttributeValueDialogHook() { return AttributeHook(); }

AttributeValueDialogHook SetAttributeValueDialogHook(AttributeValueDialogHook hook) {
    const AttributeValueDialogHook previous = AttributeHook();
    AttributeHook() = hook;
    return previous;
}

namespace {

ObjectSheetHook& ObjectSheet() {
    static ObjectSheetHook hook = nullptr;
    return hook;
}

LayerSheetHook& LayerHook() {
    static LayerSheetHook hook = nullptr;
    return hook;
}

}  // namespace

ObjectSheetHook GetObjectSheetHook() { return ObjectSheet(); }

ObjectSheetHook SetObjectSheetHook(ObjectSheetHook hook) {
    const ObjectSheetHook previous = ObjectSheet();
    ObjectSheet() = hook;
    return previous;
}

LayerSheetHook GetLayerSheetHook() { return LayerHook(); }

LayerSheetHook SetLayerSheetHook(LayerSheetHook hook) {
    const LayerSheetHook previous = LayerHook();
    LayerHook() = hook;
    return previous;
}

int RunLayerPropertySheet(CGeoLayer* pLayer, CSymbolLibIO* pLib, int bViewOnly) {
    if (!pLayer) return 0;
    const int bWasModified = pLayer->IsModified();
    pLayer->Modified(0);
    const int result = LayerHook() ? LayerHook()(pLayer, pLib, bViewOnly) : IDCANCEL;
    const int bChanged = result == 1 || pLayer->IsModified();
    pLayer->Modified(bWasModified || pLayer->IsModified());
    return bChanged ? 1 : 0;
}
