#include "afx/Object.h"

#include <cstring>
#include <map>
#include <string>

namespace {
// Keyed by name; a class registered twice under one name (two libraries) keeps the latest.
std::multimap<std::string, CRuntimeClass*>& Registry() {
    static auto* r = new std::multimap<std::string, CRuntimeClass*>;  // outlives every unload
    return *r;
}
}  // namespace

CRuntimeClass CObject::classCObject = {"CObject", static_cast<int>(sizeof(CObject)), 0xFFFF, nullptr, nullptr};
static afx::ClassRegistrar s_registrar_CObject(&CObject::classCObject);

CRuntimeClass* CObject::GetRuntimeClass() const { return &classCObject; }

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const { return GetRuntimeClass()->IsDerivedFrom(pClass); }

BOOL CObject::IsSerializable() const { return GetRuntimeClass()->IsSerializable(); }

void CObject::Serialize(CArchive&) {}

CObject* CRuntimeClass::CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const {
    for (const CRuntimeClass* c = this; c; c = c->m_pBaseClass)
        if (c == pBaseClass) return TRUE;
    return FALSE;
}

CRuntimeClass* CRuntimeClass::FromName(LPCSTR lpszClassName) {
    if (!lpszClassName) return nullptr;
    auto range = Registry().equal_range(lpszClassName);
    CRuntimeClass* found = nullptr;
    for (auto it = range.first; it != range.second; ++it) found = it->second;
    return found;
}

namespace afx {
ClassRegistrar::ClassRegistrar(CRuntimeClass* pClass) : m_pClass(pClass) {
    Registry().emplace(pClass->m_lpszClassName, pClass);
}
ClassRegistrar::~ClassRegistrar() {
    auto range = Registry().equal_range(m_pClass->m_lpszClassName);
    for (auto it = range.first; it != range.second; ++it) {
        if (it->second == m_pClass) {
            Registry().erase(it);
            break;
        }
    }
}
}  // namespace afx
