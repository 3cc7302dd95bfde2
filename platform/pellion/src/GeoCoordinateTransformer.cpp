#include "pellion/GeoCoordinateTransformer.h"

IMPLEMENT_DYNAMIC(CGeoCoordinateTransformer, CObject)
IMPLEMENT_DYNAMIC(CBaseCoordinateTransformer, CGeoCoordinateTransformer)
