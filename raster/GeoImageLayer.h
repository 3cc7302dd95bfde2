// CGeoImageLayer: the raster layer that holds georeferenced images (objects of the class CGeoImage).
//
// It adds no data to the raster layer, and its record is the raster layer's. A map creates it by its
// class name when it loads a layer file that names "CGeoImageLayer".
#pragma once

#include "raster/GeoRasterLayer.h"

class CDC;

class CGeoImageLayer : public CGeoRasterLayer {
    DECLARE_SERIAL(CGeoImageLayer)

public:
    // An editable raster layer without bounds, or with the given bounds.
    CGeoImageLayer();
    explicit CGeoImageLayer(const CRect& bounds);
    ~CGeoImageLayer() override;

    void Serialize(CArchive& ar) override;

    // Storing adds nothing. After loading, every image whose file was not found or could not be read
    // (empty bitmap) is named in a message box ("图像文件不存在: <file>" or "图像文件无法读取: <file>") and
    // stays in the layer without pixels, its file name, control points and mosaic lines kept, so that
    // saving the layer keeps the link and the image comes back once its file is in place again.
    // Only objects of the class CGeoImage or a class derived from it.
    int ObjectIsValid(CGeoAccessorialObject* pObject) override;
    // Only a Gauss transformer is acted on: with an east input offset below 1 the layer's origin follows
    // the mapped south-west corner of its bounds (snapped down to a multiple of 1 000 000 m for each
    // mapped coordinate above that) and the bounds move by the rest in whole metres; then every object's
    // Transform runs and each object then takes the layer's new origin keeping its ground position.
    // Whatever the transformer, the bounds are compacted afterwards.
    void Transform(CGeoCoordinateTransformer& transformer) override;

    // 0, opening nothing, when nFlag1 is non-zero; otherwise NewEditProperties (nFlag2).
    int EditProperties(int nFlag1, int nFlag2, void* pParam) override;

    // Draws every image (CGeoImage::Draw with a zero offset) inside the layer's device rectangle cut to
    // clip (NULL: no cut); nothing when that is empty. Device mapping as CGeoObject::RPtoLP.
    void Draw(CDC* pDC, RECT* clip, UINT scale, CPoint origin);
    // The same cut, then every image's Hide (which draws nothing).
    void Hide(CDC* pDC, RECT* clip, UINT scale, CPoint origin, CPoint offset);

protected:
    // Shows the layer property sheet "图层属性" (core/DialogHooks.h: its general page only, no symbol
    // library, not view-only; the argument is not read). 1 when the sheet closed with OK or changed the
    // layer, else 0.
    virtual int NewEditProperties(int nPage);
};

// A new image layer, owned by the caller. With autoSize nonzero the layer has no bounds, otherwise
// *bounds (NULL: empty). AutoSize(autoSize) is applied. name and fileName are trimmed of blanks at both
// ends; a non-empty name replaces the default name, a non-empty file name becomes the layer's file name.
// The last argument is not used.
CGeoImageLayer* CreateImageLayer(const CRect* bounds, CString name, CString fileName, int autoSize, int reserved);
