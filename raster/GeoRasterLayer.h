// CGeoRasterLayer: the layer of raster objects (images, elevation grids).
//
// It keeps its objects in the order they were added and owns them. With auto-size on (the default) its
// bounds follow its objects: RecalcBounds runs after every change, and raster objects call it whenever
// their own bounds change. Objects take the layer's origin when they are added, and follow unit and
// origin changes of the layer.
//
// Default names: "栅格图层 " followed by a process-wide counter raised by both constructors.
//
// Record (Serialize), after the layer part: the object list in the class library's list form (a
// count, then every object with its class record), then the auto-size flag as a 32-bit int. Loading
// attaches every object to this layer; an element that is not a raster object raises CArchiveException.
#pragma once

#include "core/GeoLayer.h"
#include "raster/GeoRasterObject.h"

class CGeoRasterLayer : public CGeoLayer {
    DECLARE_SERIAL(CGeoRasterLayer)

public:
    explicit CGeoRasterLayer(int bEditable = 1);
    CGeoRasterLayer(const CRect& bounds, int bEditable);
    // Deletes every object.
    ~CGeoRasterLayer() override;

    void Serialize(CArchive& ar) override;

    // ---- overrides ----

    // "栅格图层 " + the counter.
    void DefaultObjectName() override;
    // The layer's own conversion, then every object changed to the layer's unit.
    void OnUnitChanged(int nOldUnit) override;
    // The first object with that ID; NULL for 0 or none.
    CGeoAccessorialObject* FindObj(UINT nID) override;
    // Picking. NULL unless kinds has one of the bits 0x0F00. An empty (normalised) rectangle is its
    // corner point: nothing with mode 1, nothing outside the layer's bounds, else the last-added object
    // whose bounds hold the point. A rectangle is cut to the layer's bounds (nothing when that leaves
    // nothing); the last-added object that Intersects it in that mode.
    CGeoAccessorialObject* FindObj(const CRect& rect, SELOBJMODE mode, int kinds) override;
    // Empties list and appends every object with that user ID in list order; 1 when any was found. 0 at
    // once for user ID 0.
    int FindUserObj(UINT nUserID, CGeoAccessorialObjectList& list) override;
    // Does nothing.
    void SortUserObj(CGeoAccessorialObjectList& list) override;
    // The bounds become rect.
    void ResetBounds(CRect rect) override;
    // The bounds recalculated as with auto-size on, the flag kept.
    void AutoCompactBounds() override;
    // 0 when the layer is not editable, the object is NULL or not valid here. Otherwise the object takes
    // the layer's origin (keeping its ground position), is appended, gets the next ID as ID and user ID
    // and is attached; bounds recalculated, layer modified; 1.
    int Add(CGeoAccessorialObject* pObject) override;
    // The same refusals, and 0 when the object is not in the layer; otherwise removed and detached (not
    // freed), bounds recalculated, layer modified; 1. The int is not used.
    int Delete(CGeoAccessorialObject* pObject, int bWithRecord) override;
    // The object is a CGeoRasterObject.
    int ObjectIsValid(CGeoAccessorialObject* pObject) override;
    // d = origin - old origin. Moved: every object's MoveOrigin(d) (ground positions kept); otherwise
    // every object's origin += d with its bounds untouched (objects shift with the layer).
    void OnLayerOriginChanged(double dOldX, double dOldY, int bMoved) override;
    // The largest object ID (0 when empty).
    int GetMaxID() override;

    // ---- own operations ----

    int IsAutoSize() const { return m_bAutoSize; }
    // Recalculates first when switching on; returns the previous flag.
    int AutoSize(int bOn);
    // With auto-size on: the union of the objects' bounds converted to the layer's unit ((0, 0, 0, 0)
    // for no objects). Nothing with auto-size off.
    void RecalcBounds();

    int GetObjectCount() const { return static_cast<int>(m_ObjList.GetCount()); }
    // The objects in the order they were added; the layer owns them.
    const CObList& GetObjectList() const { return m_ObjList; }
    // The colour images fill new pixels with (COLORREF; white unless the record says otherwise).
    LONG GetBackColor() const { return m_lBackColor; }

protected:
    CObList m_ObjList{10};
    int m_bAutoSize = 1;

    static int s_nRasterLayerCount;
};
