// The exception the class library throws when the system refuses a resource: a GDI object its
// constructor could not create, for one.
#pragma once

#include "afx/Exception.h"

class CResourceException : public CException {
    DECLARE_DYNAMIC(CResourceException)
public:
    CString GetErrorText() const override;
};

[[noreturn]] void AfxThrowResourceException();
