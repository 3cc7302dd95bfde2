// The vertex operations of the TIN's layer build, over single vector layers and over a
// CGeoVectorLayerList. Neither the list nor these functions own layers.
#pragma once

#include <afx/afx.h>

#include "vector/GeoVectorLayerList.h"

class CGeoTinPoint;
class CGeoVectorLayer;


// The sum of GetTinPointNumber over the layer's objects in list order.
LONG GetLayerTinPointNumber(const CGeoVectorLayer* pLayer);
// Every object's CreateTinPoints (cursor, centre) in list order; the sum of the results. The cursor's
// array must hold GetLayerTinPointNumber records.
LONG CreateLayerTinPoints(CGeoVectorLayer* pLayer, CGeoTinPoint*& cursor, CPoint& centre);

// The sum of the layers' GetLayerTinPointNumber, in list order.
LONG CountLayerTinPoints(const CGeoVectorLayerList& layers);
// Each layer's stored bounds (GetPosition) converted from the layer's unit to unit; the first non-empty
// one starts the result and later non-empty ones are united into it (a rectangle with left >= right or
// top >= bottom counts as empty); all zero when every one is empty.
CRect GetLayerListBounds(const CGeoVectorLayerList& layers, int unit);
// The sum of the layers' CreateLayerTinPoints with one moving cursor.
LONG FillLayerTinPoints(const CGeoVectorLayerList& layers, CGeoTinPoint*& cursor, CPoint& centre);
