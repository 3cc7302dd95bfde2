#include "pellion/GeoCoordinateTransformer.h"

IMPLEMENT_DYNAMIC(CGeoCoordinateTransformer, CObject)
IMPLEMENT_DYNAMIC(CBaseCoordinateTransformer, CGeoCoordinateTransformer)

int CGeoCoordinateTransformer::IsLengthChanged() const { return 0; }

double CGeoCoordinateTransformer::TransformLength(double length) const { return length; }
