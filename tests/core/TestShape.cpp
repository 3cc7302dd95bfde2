#include "core/TestShape.h"

IMPLEMENT_SERIAL(CTestShape, CGeoVectorObject, 0)

CTestShape::CTestShape(const CRect& bounds)
{
    m_rcBounds = bounds;
    m_rcBounds.NormalizeRect();
}

CGeoObject* CTestShape::Duplicate(int withAttribute, int withRecord)
{
    CTestShape* pCopy = new CTestShape;
    if (!pCopy->Copy(*this, withAttribute, withRecord)) {
        delete pCopy;
        return nullptr;
    }
    return pCopy;
}

CString CTestShape::GetObjectTypeName() const { return CString("测试图形"); }

CPoint CTestShape::GetPoint(int nIndex) const
{
    const CRect r = GetBounds();
    switch (nIndex < 0 ? 0 : nIndex % 4) {
    case 1: return CPoint(r.right, r.top);
    case 2: return CPoint(r.right, r.bottom);
    case 3: return CPoint(r.left, r.bottom);
    default: return CPoint(r.left, r.top);
    }
}
