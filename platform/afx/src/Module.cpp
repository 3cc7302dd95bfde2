#include "afx/Module.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CDynLinkLibrary, CObject)

namespace {
std::vector<CDynLinkLibrary*>& Chain() {
    static auto* c = new std::vector<CDynLinkLibrary*>;  // outlives every unload
    return *c;
}
}  // namespace

BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule) {
    if (!hModule) return FALSE;
    state.hModule = hModule;
    state.hResource = hModule;
    state.bInitialized = TRUE;
    return TRUE;
}

void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL) {
    auto& chain = Chain();
    std::vector<CDynLinkLibrary*> mine;
    for (CDynLinkLibrary* lib : chain)
        if (lib->m_hModule == state.hModule) mine.push_back(lib);
    for (CDynLinkLibrary* lib : mine) delete lib;  // the destructor unlinks
    state.bInitialized = FALSE;
}

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem)
    : m_hModule(state.hModule), m_hResource(state.hResource), m_bSystem(bSystem) {
    Chain().insert(Chain().begin(), this);
}

CDynLinkLibrary::~CDynLinkLibrary() {
    auto& chain = Chain();
    chain.erase(std::remove(chain.begin(), chain.end(), this), chain.end());
}

std::vector<CDynLinkLibrary*> AfxGetModuleChain() { return Chain(); }

BOOL AfxIsValidAddress(const void* lp, UINT, BOOL) { return lp != nullptr; }
