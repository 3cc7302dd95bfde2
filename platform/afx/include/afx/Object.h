// The root of the class library's object model: run-time class information, dynamic creation by
// class name, and the hooks for archive serialisation.
//
// Every class declared with DECLARE_DYNAMIC / DECLARE_DYNCREATE / DECLARE_SERIAL and implemented with
// the matching IMPLEMENT_ macro has one static CRuntimeClass, registered in one process-wide table
// when its library is loaded and removed when it is unloaded. `CRuntimeClass::FromName` looks a class
// up in that table across every loaded library.
#pragma once

#include "win32/wintypes.h"

class CArchive;
class CObject;

// Bit of a schema number meaning "accept any stored schema and let Serialize decide".
#define VERSIONABLE_SCHEMA (0x80000000u)

struct CRuntimeClass {
    LPCSTR m_lpszClassName;          // ASCII name, written into archives
    int m_nObjectSize;
    UINT m_wSchema;                  // 0xFFFF for classes that are not serialisable
    CObject* (*m_pfnCreateObject)(); // NULL for classes that cannot be created dynamically
    CRuntimeClass* m_pBaseClass;     // NULL for CObject

    // A new object of this class, or NULL when the class cannot be created dynamically.
    // The caller deletes it.
    CObject* CreateObject() const;

    // TRUE when this class is pBaseClass or derives from it.
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;

    // The registered class with exactly this name (case-sensitive), or NULL.
    static CRuntimeClass* FromName(LPCSTR lpszClassName);

    // Serialisable classes only (m_wSchema != 0xFFFF).
    BOOL IsSerializable() const { return m_wSchema != 0xFFFF; }
};

namespace afx {
// Adds a class to the process-wide table for as long as the registrar lives; the IMPLEMENT_ macros
// create one static registrar per class, so a library's classes come and go with the library.
class ClassRegistrar {
public:
    explicit ClassRegistrar(CRuntimeClass* pClass);
    ~ClassRegistrar();
    ClassRegistrar(const ClassRegistrar&) = delete;
    ClassRegistrar& operator=(const ClassRegistrar&) = delete;

private:
    CRuntimeClass* m_pClass;
};
}  // namespace afx

class CObject {
public:
    virtual ~CObject() = default;

    virtual CRuntimeClass* GetRuntimeClass() const;
    BOOL IsKindOf(const CRuntimeClass* pClass) const;
    BOOL IsSerializable() const;

    // Reads or writes the object's own data; the base writes and reads nothing.
    virtual void Serialize(CArchive& ar);

    virtual void AssertValid() const {}

    static CRuntimeClass classCObject;

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

#define RUNTIME_CLASS(class_name) (static_cast<CRuntimeClass*>(&class_name::class##class_name))

#define DECLARE_DYNAMIC(class_name)                                      \
public:                                                                  \
    static CRuntimeClass class##class_name;                              \
    CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name)       \
    static CObject* CreateObject();

#define DECLARE_SERIAL(class_name)  \
    DECLARE_DYNCREATE(class_name)   \
    friend CArchive& operator>>(CArchive& ar, class_name*& pOb);

#define CORVANE_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, pfnNew)                     \
    CRuntimeClass class_name::class##class_name = {#class_name, static_cast<int>(sizeof(class_name)),     \
                                                   static_cast<UINT>(wSchema), pfnNew,                    \
                                                   RUNTIME_CLASS(base_class_name)};                       \
    static ::afx::ClassRegistrar s_registrar_##class_name(RUNTIME_CLASS(class_name));                     \
    CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
    CORVANE_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                       \
    CObject* class_name::CreateObject() { return new class_name; }             \
    CORVANE_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_class_name, wSchema)                                    \
    CObject* class_name::CreateObject() { return new class_name; }                                \
    CORVANE_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, class_name::CreateObject) \
    [[maybe_unused]] CArchive& operator>>(CArchive& ar, class_name*& pOb) {                       \
        pOb = static_cast<class_name*>(ar.ReadObject(RUNTIME_CLASS(class_name)));                 \
        return ar;                                                                                \
    }
