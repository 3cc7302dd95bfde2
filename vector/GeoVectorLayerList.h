// CGeoVectorLayerList: an ordered list of vector layers, the input of layer merging and clipping and
// of the TIN's layer build. The list never owns its layers.
#pragma once

#include <afx/afx.h>

class CGeoVectorLayer;

typedef CTypedPtrList<CObList, CGeoVectorLayer*> CGeoVectorLayerList;
