// Coordinate transformers: objects that map a point of one planar coordinate system to another.
//
// Every transformer maps metres to metres: x grows to the east, y to the north. Layers and vector
// objects take a transformer by reference (CGeoVectorLayer::Transform, the objects' Transform) and
// tell the kinds apart by their run-time class (IsKindOf): a CBaseCoordinateTransformer carries the
// two "second offsets" that callers subtract from every mapped point, so that a layer can keep its
// objects' coordinates small and relative to a corner it chooses.
//
// Transformers hold no process-wide state; one transformer is used from one thread at a time.
#pragma once

#include <afx/afx.h>

class CGeoCoordinateTransformer : public CObject {
    DECLARE_DYNAMIC(CGeoCoordinateTransformer)

public:
    ~CGeoCoordinateTransformer() override = default;
    CGeoCoordinateTransformer(const CGeoCoordinateTransformer&) = delete;
    CGeoCoordinateTransformer& operator=(const CGeoCoordinateTransformer&) = delete;

    // Maps (x, y) into (xOut, yOut), all in metres. Returns 1 on success. On failure (a point the
    // transformation cannot take, parameters it cannot work with) it returns 0 and writes x and y
    // unchanged into the outputs, so a caller that ignores the result never receives a value that is not
    // finite. The outputs may be the same variables as the inputs.
    virtual int Transform(double x, double y, double& xOut, double& yOut) const = 0;

    // Whether the transformation changes lengths (1) or keeps them (0): sizes that are not points, such
    // as the height of text, then go through TransformLength. The base keeps them (0).
    virtual int IsLengthChanged() const;
    // A length (any unit, the same unit out) as the transformation changes it; the base returns it as
    // it is. Meaningful only when IsLengthChanged answers 1.
    virtual double TransformLength(double length) const;

protected:
    CGeoCoordinateTransformer() = default;
};

// A transformer with second offsets: callers subtract GetSecondOffsetX () and GetSecondOffsetY () from
// every point it maps. The transformer itself never applies them; a layer sets them before it hands the
// transformer to its objects. Both start at 0.0.
class CBaseCoordinateTransformer : public CGeoCoordinateTransformer {
    DECLARE_DYNAMIC(CBaseCoordinateTransformer)

public:
    ~CBaseCoordinateTransformer() override = default;

    void SetSecondOffsetX(double x) { m_dSecondOffsetX = x; }
    void SetSecondOffsetY(double y) { m_dSecondOffsetY = y; }
    double GetSecondOffsetX() const { return m_dSecondOffsetX; }
    double GetSecondOffsetY() const { return m_dSecondOffsetY; }

protected:
    CBaseCoordinateTransformer() = default;

private:
    double m_dSecondOffsetX = 0.0;
    double m_dSecondOffsetY = 0.0;
};
