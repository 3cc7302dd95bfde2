// CTestShape: the smallest real vector shape, for tests that need objects in layers, indexes and
// archives before the library's own shapes exist.
//
// It is a serial vector object (schema 0) that occupies its bounds: its record is exactly the
// CGeoVectorObject record, its four vertices for the point-and-height contract are the corners of its
// bounds (left, top), (right, top), (right, bottom), (left, bottom), and Duplicate gives a CTestShape.
// Nothing else is overridden: it draws nothing and snaps to nothing.
//
// A test folder other than tests/core uses it by including "core/TestShape.h" and compiling
// tests/core/TestShape.cpp once, e.g. `#include "core/TestShape.cpp"` in one of its sources.
#pragma once

#include "core/GeoVectorObject.h"

class CTestShape : public CGeoVectorObject {
    DECLARE_SERIAL(CTestShape)
public:
    CTestShape() = default;
    // Bounds normalised; feature-class ID and IDs 0.
    explicit CTestShape(const CRect& bounds);

    CGeoObject* Duplicate(int withAttribute, int withRecord) override;
    CString GetObjectTypeName() const override;
    int GetPoints() const override { return 4; }
    // Corner nIndex % 4 (negative indexes count as 0).
    CPoint GetPoint(int nIndex) const override;
    int GetX(int nIndex) const override { return GetPoint(nIndex).x; }
    int GetY(int nIndex) const override { return GetPoint(nIndex).y; }
};
