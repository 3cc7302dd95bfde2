// The planar geometry library and its registry key class: include this one header for all of it.
#pragma once

#include "GeomTypes.h"
#include "PlanarMeasures.h"
#include "LinePredicates.h"
#include "PointCurvePredicates.h"
#include "CurvePredicates.h"
#include "PolygonPredicates.h"
#include "RegKey.h"
