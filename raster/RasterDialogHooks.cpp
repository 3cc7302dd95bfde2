#include "raster/RasterDialogHooks.h"

namespace {
tagRasterDialogHooks& Hooks()
{
    static tagRasterDialogHooks hooks{};
    return hooks;
}
}  // namespace

const tagRasterDialogHooks& GetRasterDialogHooks() { return Hooks(); }

tagRasterDialogHooks SetRasterDialogHooks(const tagRasterDialogHooks& hooks)
{
    const tagRasterDialogHooks previous = Hooks();
    Hooks() = hooks;
    return previous;
}
