#include "afx/ResourceException.h"

IMPLEMENT_DYNAMIC(CResourceException, CException)

CString CResourceException::GetErrorText() const { return CString("系统资源不足。"); }

void AfxThrowResourceException() { throw CResourceException(); }
