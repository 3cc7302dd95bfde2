#include "raster/RasterTinHooks.h"

namespace {
tagRasterTinHooks& Hooks()
{
    static tagRasterTinHooks hooks{};
    return hooks;
}
}  // namespace

const tagRasterTinHooks& GetRasterTinHooks() { return Hooks(); }

tagRasterTinHooks SetRasterTinHooks(const tagRasterTinHooks& hooks)
{
    const tagRasterTinHooks previous = Hooks();
    Hooks() = hooks;
    return previous;
}
