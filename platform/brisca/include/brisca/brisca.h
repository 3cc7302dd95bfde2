// The bitmap library: bitmaps, GeoTIFF placement, path and fixed-width string functions.
#pragma once

#include "brisca/FileFunctions.h"
#include "brisca/GeoTIFF.h"
#include "brisca/NewDIB.h"
#include "brisca/StringFunctions.h"
