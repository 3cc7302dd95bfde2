// CGeoLayer: the base of every layer (vector, image and DEM layers).
//
// A layer is itself a CGeoObject: its bounds are the extent of its content in the layer's own
// coordinates and its unit is the unit of those coordinates. Object coordinates are relative to the
// top-left corner of the layer's bounds (GetLayerBase), and the layer's system sits in the world at the
// layer origin, in metres: world millimetres = object millimetres + top-left in millimetres + origin
// x 1000.
//
// The base adds the editable and lock flags, the modified flag, the counter that hands out object IDs,
// the layer origin, an optional coordinate-conversion record, the file the layer was last saved to or
// loaded from, its build time and the option to delete that file when the layer dies. It declares the
// virtual interface through which objects are added, removed and found; the base accepts everything and
// finds nothing.
//
// Default names: "图层 " followed by a process-wide layer counter that starts at -1 and is raised by
// every CGeoLayer constructor, so the first layer of a process is "图层 0".
//
// Record (Serialize), after the CGeoObject part; no field depends on the version:
//   max ID                  DWORD
//   background colour       32-bit LONG (COLORREF)
//   reserved                32-bit LONG
//   editable                DWORD
//   origin x, origin y      8-byte doubles, metres
//   coordinate info         24 raw bytes: the three doubles of tagGLAYCOORINFO
//   coordinate info valid   DWORD
//   build time              COleDateTime: 32-bit status, 8-byte date
// The lock-editable and modified flags, the file name and the remove-file option are not stored.
#pragma once

#include "core/GeoAccessorialObject.h"
#include "core/GeoObject.h"

class CGeoCoordinateTransformer;

// The coordinate-conversion record of a layer: LayerCoordinate maps a layer point p to
// (left + p.x * dXFactor, top + p.y * dYFactor). dReserved is kept and stored, not interpreted.
struct tagGLAYCOORINFO {
    double dReserved;
    double dXFactor;
    double dYFactor;
};
static_assert(sizeof(tagGLAYCOORINFO) == 24, "the coordinate info is stored as 24 raw bytes");

typedef CTypedPtrList<CObList, CGeoAccessorialObject*> CGeoAccessorialObjectList;

class CGeoLayer : public CGeoObject {
    DECLARE_SERIAL(CGeoLayer)

public:
    // An empty layer: white background, max ID 0, not modified, origin (0, 0), no coordinate info, no
    // file, built now (COleDateTime::GetCurrentTime).
    explicit CGeoLayer(int bEditable = 1);
    CGeoLayer(const CRect& bounds, int bEditable = 1);
    // Deletes the layer file when that option is set, the file name is not empty and the file exists and
    // is not read-only; failures are ignored. Derived layers release their content first.
    ~CGeoLayer() override;

    void Serialize(CArchive& ar) override;

    // ---- virtual interface of every layer (the base bodies accept everything and find nothing) ----

    // The object with that ID, or NULL; the base finds nothing.
    virtual CGeoAccessorialObject* FindObj(UINT nID);
    // An object selected by the rectangle (SELOBJMODE), or NULL; the base finds nothing.
    virtual CGeoAccessorialObject* FindObj(const CRect& rect, SELOBJMODE mode, int nFlag);
    // Collects the objects with that user ID into the list; returns whether it found any (layers say how
    // they fill the list). The base finds none (0).
    virtual int FindUserObj(UINT nUserID, CGeoAccessorialObjectList& list);
    // Orders a list of objects of this layer; the base does nothing.
    virtual void SortUserObj(CGeoAccessorialObjectList& list);
    // The bounds become the rectangle as it is (not normalised).
    virtual void ResetBounds(CRect rect);
    // Shrinks the bounds to the content; the base does nothing.
    virtual void AutoCompactBounds();
    // Transforms the content; the base does nothing.
    virtual void Transform(CGeoCoordinateTransformer& transformer);
    // Takes the object into the layer (link, IDs, list position): 1 accepted, 0 refused. The base
    // accepts without linking anything.
    virtual int Add(CGeoAccessorialObject* pObject);
    // Takes the object out of the layer, with its attribute record when bWithRecord; never frees it.
    // 1 done, 0 refused. The base accepts without changing anything.
    virtual int Delete(CGeoAccessorialObject* pObject, int bWithRecord);
    // Whether the object belongs in this layer; the base says yes (1).
    virtual int ObjectIsValid(CGeoAccessorialObject* pObject);
    // Called after the origin changed: the old origin in metres, and whether the bounds were shifted
    // with it (MoveLayerOrigin, 1) or not (SetLayerOrigin, 0). The base does nothing.
    virtual void OnLayerOriginChanged(double dOldX, double dOldY, int bMoved);
    // The largest object ID in use; the base gives the max-ID counter.
    virtual int GetMaxID();

    // ---- overrides ----

    // NULL: a layer is not duplicated through this.
    CGeoObject* Duplicate(int nFlag1, int nFlag2) override;
    // Names the layer "图层 " + the current layer counter.
    void DefaultObjectName() override;

    // ---- flags ----

    int CanBeEdited() const { return m_bEditable; }
    void Editable(int bEditable) { m_bEditable = bEditable; }
    int IsLockEditable() const { return m_bLockEditable; }
    void LockEditable(int bLock) { m_bLockEditable = bLock; }
    int IsModified() const { return m_bModified; }
    void Modified(int bModified) { m_bModified = bModified; }

    // ---- identifiers ----

    // Raises the max ID and returns it (1 on a fresh layer, then 2...).
    int AssignID();
    // Gives the object the next ID as both its ID and its user ID (SetID, then SetUserID).
    void AssignID(CGeoAccessorialObject* pObject);
    // The max ID becomes the virtual GetMaxID; returns it.
    int CollateID();

    // What a listed object (link and list position set) tells its layer: its user ID changed from
    // nOldUserID to the one it holds now, or its bounds changed. The base does nothing.
    virtual void OnObjectUserIDChanged(CGeoAccessorialObject* pObject, UINT nOldUserID);
    virtual void OnObjectBoundsChanged(CGeoAccessorialObject* pObject);

    // Sets the object's layer link to this layer, nothing else.
    void Fetch(CGeoAccessorialObject* pObject);
    // Keeps the object's current layer in its user pointer (SetObjectDataPtr) and clears its link.
    void Deviate(CGeoAccessorialObject* pObject);

    // The user ID of the object the virtual FindObj (rect, SELOBJ_MEET, nFlag) finds, looked up with the
    // virtual FindUserObj (user ID, list); 0 when FindObj finds nothing.
    int FindUserObj(const CRect& rect, CGeoAccessorialObjectList& list, int nFlag);

    // ---- position in the world ----

    // The top-left corner of the virtual GetBounds: what object coordinates are relative to.
    CPoint GetLayerBase() const;
    // Stores the origin (metres), then OnLayerOriginChanged (old x, old y, 0).
    void SetLayerOrigin(double x, double y);
    void GetLayerOrigin(double& x, double& y) const;
    // MoveLayerOrigin by the difference when either coordinate differs from the current origin.
    void ChangeLayerOrigin(double x, double y);
    // Moves the origin by (dx, dy) metres and the bounds by the same distance the other way, converted
    // to the layer's unit and truncated, so the content keeps its world position; then
    // OnLayerOriginChanged (old x, old y, 1).
    void MoveLayerOrigin(double dx, double dy);

    void SetLayerCoordinateInfo(tagGLAYCOORINFO info) { m_CoorInfo = info; }
    tagGLAYCOORINFO GetLayerCoordinateInfo() const { return m_CoorInfo; }
    int LayerCoordinateInfoIsValid() const { return m_bCoorInfoValid; }
    void LayerCoordinateValidate(int bValid) { m_bCoorInfoValid = bValid; }
    // (trunc(left + p.x * dXFactor), trunc(top + p.y * dYFactor)), (left, top) being the top-left corner
    // of the bounds; the result is clamped to the LONG range.
    CPoint LayerCoordinate(const CPoint& point) const;
    // Both corners (left, top) and (right, bottom) mapped the same way.
    CRect LayerCoordinate(const CRect& rect) const;

    // ---- file ----

    // Returns the previous name.
    CString SetFileName(CString strFileName);
    CString GetFileName() const { return m_strFileName; }
    void RemoveFileWhenDestruct(int bRemove) { m_bRemoveFileWhenDestruct = bRemove; }
    int IsRemoveFileWhenDestruct() const { return m_bRemoveFileWhenDestruct; }

    COleDateTime GetBuiltDateTime() const { return m_BuildTime; }

protected:
    // Image objects fill new pixels with it; a vector layer does not read it.
    LONG m_lBackColor = 0xFFFFFF;
    LONG m_lReserved = 0;
    int m_bEditable;
    int m_bLockEditable = 0;
    int m_nMaxID = 0;
    int m_bModified = 0;
    double m_dOriginX = 0.0;
    double m_dOriginY = 0.0;
    tagGLAYCOORINFO m_CoorInfo = {0.0, 0.0, 0.0};
    int m_bCoorInfoValid = 0;
    CString m_strFileName;
    COleDateTime m_BuildTime;
    int m_bRemoveFileWhenDestruct = 0;

    // The layer counter: -1 before the first layer, raised by every constructor.
    static int s_nLayerCount;
};
