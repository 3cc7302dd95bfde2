// Extension modules: a library registers itself in the process's chain of resource and class modules
// when it is loaded, and leaves it when it is unloaded.
#pragma once

#include "afx/Object.h"

#include <vector>

struct AFX_EXTENSION_MODULE {
    BOOL bInitialized = FALSE;
    HMODULE hModule = nullptr;
    HMODULE hResource = nullptr;
};

// FALSE when hModule is NULL (the module cannot be identified); otherwise fills the state.
BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule);
// Removes and deletes the chain entries of this module. bAll is accepted for the original signature.
void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll = FALSE);

// One link of the chain. Creating one on the heap links it in; the chain owns it from then on.
class CDynLinkLibrary : public CObject {
    DECLARE_DYNAMIC(CDynLinkLibrary)
public:
    CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem = FALSE);
    ~CDynLinkLibrary() override;

    HMODULE m_hModule;
    HMODULE m_hResource;
    BOOL m_bSystem;
};

// The modules of the chain, most recently linked first.
std::vector<CDynLinkLibrary*> AfxGetModuleChain();

BOOL AfxIsValidAddress(const void* lp, UINT nBytes, BOOL bReadWrite = TRUE);
