// CGeoDEMLayer: the raster layer that holds DEM grids (CGeoDEM). It accepts only DEMs, has no property
// dialog, ignores coordinate transformation and draws its DEMs clipped to its own rectangle. The map
// creates it by class name from a layer file ("CGeoDEMLayer").
//
// Record (Serialize, schema 0): the raster layer's record, nothing added.
#pragma once

#include "raster/GeoRasterLayer.h"

class CDC;

class CGeoDEMLayer : public CGeoRasterLayer {
    DECLARE_SERIAL(CGeoDEMLayer)
public:
    // Editable, as the raster layer otherwise.
    CGeoDEMLayer();
    explicit CGeoDEMLayer(const CRect& rect);
    ~CGeoDEMLayer() override;

    void Serialize(CArchive& ar) override;
    // 0: a DEM layer has no property dialog.
    int EditProperties(int nFlag1, int nFlag2, void* pParam) override;
    // Does nothing: DEMs are not transformed.
    void Transform(CGeoCoordinateTransformer& transformer) override;
    // Nonzero exactly for a CGeoDEM (or a class derived from it).
    int ObjectIsValid(CGeoAccessorialObject* pObject) override;

    // Draws every DEM of the layer, in list order, limited to clip and the layer's device rectangle
    // (RPtoLP of its bounds). Each DEM gets (dc, that intersection, scale, origin, (0, 0)). Nothing when
    // the two do not meet. Objects that are not DEMs (a crafted file) are skipped.
    void Draw(CDC* pDC, RECT* clip, UINT scale, CPoint origin, CPoint offset);
};

// A new DEM layer (the caller owns it): auto-sized (autoSize nonzero) or with rect as its bounds; name
// and file, trimmed of blanks, become its name and file name when not empty. The last argument is not
// used.
CGeoDEMLayer* CreateDemLayer(CRect rect, CString name, CString file, int autoSize, int unused);
