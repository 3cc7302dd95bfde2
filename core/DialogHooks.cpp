#include "core/DialogHooks.h"

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

}  // namespace

ObjectSheetHook GetObjectSheetHook() { return ObjectSheet(); }

ObjectSheetHook SetObjectSheetHook(ObjectSheetHook hook) {
    const ObjectSheetHook previous = ObjectSheet();
    ObjectSheet() = hook;
    return previous;
}
