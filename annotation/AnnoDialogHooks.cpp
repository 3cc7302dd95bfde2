#include "annotation/AnnoDialogHooks.h"

#include <cmath>

#include "ostrel/Units.h"

namespace {

tagAnnoDialogHooks& Hooks() {
    static tagAnnoDialogHooks hooks{};
    return hooks;
}

int ScaleOf(int s) { return s < 1 ? 1 : s; }

}  // namespace

const tagAnnoDialogHooks& GetAnnoDialogHooks() { return Hooks(); }

tagAnnoDialogHooks SetAnnoDialogHooks(const tagAnnoDialogHooks& hooks) {
    const tagAnnoDialogHooks previous = Hooks();
    Hooks() = hooks;
    return previous;
}

int AnnoTypeToPlacement(int positionType) {
    if (positionType == 0 || positionType == 1 || positionType == 3) return ANNO_PLACE_POINT;
    return positionType == 2 ? ANNO_PLACE_BOX : ANNO_PLACE_MULTI;
}

int AnnoPlacementToType(int placement) {
    if (placement == ANNO_PLACE_BOX) return 2;
    return placement == ANNO_PLACE_MULTI ? 6 : 0;
}

float AnnoSizeToPage(int v, int unit, int s) {
    const double mm = unit == 3 ? v : ChangeUnit(unit, 3, static_cast<double>(v));
    return static_cast<float>(std::trunc(mm) / ScaleOf(s) * 10.0);
}

int AnnoSizeFromPage(float w, int unit, int s) {
    const double mm = std::trunc(ScaleOf(s) * static_cast<double>(w) / 10.0 + 0.5);
    const double v = unit == 3 ? mm : ChangeUnit(3, unit, mm);
    if (v >= 2147483647.0) return 2147483647;
    if (v <= -2147483648.0) return -2147483647 - 1;
    return static_cast<int>(std::trunc(v));
}
