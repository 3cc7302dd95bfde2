#include "afx/CursorResource.h"

#include "afx/Module.h"

#include <map>
#include <memory>
#include <utility>

namespace {

// The entry's address is the cursor handle, so entries never move while registered.
std::map<std::pair<HINSTANCE, UINT>, std::unique_ptr<CursorResource>>& Registry() {
    static auto* r = new std::map<std::pair<HINSTANCE, UINT>, std::unique_ptr<CursorResource>>;  // outlives every unload
    return *r;
}

}  // namespace

void AfxRegisterCursorResource(HINSTANCE hModule, UINT nID, const CursorResource& cursor) {
    auto& slot = Registry()[{hModule, nID}];
    if (slot)
        *slot = cursor;
    else
        slot = std::make_unique<CursorResource>(cursor);
}

void AfxUnregisterCursorResources(HINSTANCE hModule) {
    auto& r = Registry();
    for (auto it = r.begin(); it != r.end();) {
        if (it->first.first == hModule)
            it = r.erase(it);
        else
            ++it;
    }
}

HCURSOR AfxLoadCursorResource(UINT nID) {
    auto& r = Registry();
    for (CDynLinkLibrary* lib : AfxGetModuleChain()) {
        auto it = r.find({lib->m_hResource, nID});
        if (it != r.end()) return reinterpret_cast<HCURSOR>(it->second.get());
    }
    return nullptr;
}

const CursorResource* AfxGetCursorResource(HCURSOR hCursor) {
    if (hCursor == nullptr) return nullptr;
    for (const auto& entry : Registry())
        if (reinterpret_cast<HCURSOR>(entry.second.get()) == hCursor) return entry.second.get();
    return nullptr;
}
