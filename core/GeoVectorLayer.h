// CGeoVectorLayer: the vector objects of one layer, their index by ID, the layer's schema (its theme)
// and its attribute database.
//
// Objects. The layer keeps its objects in drawing order (head first). Every listed object has this
// layer as its layer link, its list node as its position, and an ID unique in the layer; Add gives a
// new object ID = user ID = the next ID of the layer. The layer owns the objects whose auto-remove flag
// is set and deletes them when it dies; the others it only detaches then.
//
// Index. FindObj by ID builds an index of the objects on its first use (while IsAvlPermit is on) and
// Add, Delete and Replace keep it current from then on. A change made while the switch is off drops
// the index, which the next search rebuilds, so that it never holds objects that left the layer.
//
// Look-ups by user ID and by bounds (sharing tests, FindUserObj, FindObj by rectangle, the clip test of
// Draw, the neighbourhood queries) go through a CGeoObjectIndex built on first use and kept current by
// Add, Delete, Replace and loading, and by the objects themselves, which tell the layer of every change
// of their user ID or bounds; it answers exactly as walking the list would, in the same order. Once an
// object is listed twice (added again while still listed, here or elsewhere) the layer can no longer
// tell its list from its objects' links and walks the list from then on.
//
// Attribute database. Each object's attribute values live in the layer's database as one record keyed
// by its user ID in the table of its feature class (tamsel/GeoAttributeDatabase.h): the theme's common
// fields first, then the class's own fields. The database file lies beside the layer file, named by the
// layer file's title followed by ".mdb" ("roads.LYR" -> "roads.mdb"). The first write of a record
// creates the database (a temporary file until the layer is stored) and the class's table.
//
// Record (Serialize), after the CGeoLayer part:
//   objects            CObList::Serialize: the count, then each object class-tagged
//   theme              CGeoTheme::Serialize
//   has database       32-bit int, 1 or 0
//   database name N    string, only with a database: the title of the archive file's path
//   layer type         DWORD, when the version is 1.31 or more
//   display rules      CAttriDispParam::Serialize, when the version is 1.38 or more
// Storing with a database first saves it as <folder of the layer file>N.mdb; the layer then works on
// that file. Into an archive whose file has no path (a memory file) no database file is written.
// Loading opens <folder of the layer file>N.mdb (".mdb" for an empty N). A file that cannot be opened
// (missing, damaged, empty or another program's) leaves the layer without a database but keeps the
// binding: the message "属性数据库[<path>]无法打开!\n图层保留与它的连接, 属性不能修改。" is shown
// once, storing writes "has database" 1 and the same N again, and every attribute write is refused
// (the message "图层[<name>]的属性数据库无法打开, 属性不能修改!" once per layer) rather than creating a
// new database over the file, which the layer never writes or deletes. A read-only file opens
// read-only, with the message
// "数据库[<path>]只能以只读方式打开!\n所有对此属性库的操作都将被禁止!", and locks the layer not
// editable. Older layer types convert: below 1.37 a stored 1 becomes 6 and anything else 1; from 1.37
// on, 1 is added when neither 1 nor 2 is set. Loaded objects must be vector objects, each listed once;
// anything else raises CArchiveException, the objects read being deleted.
//
// Attribute records (GetAttribute, SetAttribute, RemoveAttribute) tell the host's main window of every
// written record with message WM_GEO_ATTRIBUTE_CHANGED (9832): wParam 0, lParam the object.
#pragma once

#include "core/AttriDispParam.h"
#include "core/AvlTree.h"
#include "core/DisplayState.h"
#include "core/GeoLayer.h"
#include "core/GeoObjectIndex.h"
#include "core/GeoTheme.h"

#include <memory>
#include <vector>

class CGeoAttributeDatabase;
class CGeoVectorObject;
class CGeoPLine;
class CGeoPolygon;
class CSymbolLibIO;

typedef CTypedPtrList<CObList, CGeoPolygon*> CGeoPolygonList;

// Sent to the host's main window after SetAttribute wrote an object's record: wParam 0, lParam the
// object passed to SetAttribute.
#define WM_GEO_ATTRIBUTE_CHANGED 9832

typedef CList<COleVariant, COleVariant&> CGeoValueList;

class CGeoVectorLayer : public CGeoLayer {
    DECLARE_SERIAL(CGeoVectorLayer)
public:
    // An editable, empty layer: bounds empty or as given, an empty theme, no database, layer type 1.
    CGeoVectorLayer();
    explicit CGeoVectorLayer(const CRect& bounds);
    // Deletes the objects it owns and detaches the others (with their records, as Delete does; a layer
    // that is not editable leaves records alone), then releases the database (deleting its file when
    // the layer's remove-file option is set).
    ~CGeoVectorLayer() override;

    void Serialize(CArchive& ar) override;

    // ---- objects -------------------------------------------------------------------------------
    int GetObjectCount() const { return m_ObjList.GetCount(); }

    // Appends a vector object: new ID and user ID (the next ID), list position, layer link, index
    // entry; the layer is marked modified. 0 for NULL, an object that is not a vector object, or a
    // layer that is not editable. The object's previous layer is not consulted.
    int Add(CGeoAccessorialObject* pObject) override;
    // Takes the object out of the list (removing its attribute record first when bWithRecord: see
    // RemoveAttribute with force 0) and out of the index, clears its position and detaches it (its
    // former layer kept in its user pointer); the object is never deleted. The index entry of the
    // object's ID goes only when it holds this very object (after Replace the ID belongs to the new
    // one). An object listed in another layer is not taken out of any list. 0 for a layer that is not
    // editable or an object that is not a vector object, else 1.
    int Delete(CGeoAccessorialObject* pObject, int bWithRecord) override;
    // TRUE for any vector object.
    int ObjectIsValid(CGeoAccessorialObject* pObject) override;
    // The largest ID among the objects; 0 when there are none.
    int GetMaxID() override;
    // Puts pNew in pOld's place: pNew takes pOld's user ID, ID, feature class, name, own view,
    // effective display attribute and symbol attributes, its list node and its index entry; pOld keeps
    // its layer link but loses its position. Nothing happens when pOld is not in the list.
    void Replace(CGeoVectorObject* pNew, CGeoVectorObject* pOld);

    // The object with that ID (the first in list order), NULL for 0 or none. Uses the index while
    // IsAvlPermit is on, building it on first use.
    CGeoAccessorialObject* FindObj(UINT nID) override;

    // ---- copies -------------------------------------------------------------------------------
    // Bounds, unit (without conversion), theme, display rules, name and origin of src; no objects. 1.
    virtual int CopyData(const CGeoVectorLayer& src);
    // CopyData when IsSameType; else 0.
    virtual int Copy(const CGeoVectorLayer& src, int nFlag1, int nFlag2);
    // TRUE when both layers' run-time class names are equal.
    virtual int IsSameType(const CGeoVectorLayer& src) const;
    // A new CGeoVectorLayer that is a Copy of this one; NULL when that fails. The caller deletes it.
    CGeoObject* Duplicate(int nFlag1, int nFlag2) override;
    // Converts the bounds, then every object, to the layer's new unit.
    void OnUnitChanged(int nOldUnit) override;

    // ---- the layer property sheet ---------------------------------------------------------------
    // 0, opening nothing, when nFlag1 is non-zero; otherwise NewEditProperties (nFlag2, or 1 when the
    // layer is not editable; pParam as the symbol library, a CSymbolLibIO* or NULL).
    int EditProperties(int nFlag1, int nFlag2, void* pParam) override;
    // Shows the layer property sheet "图层属性" (core/DialogHooks.h), read-only when bReadOnly, the
    // style pages drawing with pLib (may be NULL). 1 when the sheet closed with OK or changed the layer,
    // else 0 (RunLayerPropertySheet).
    virtual int NewEditProperties(int bReadOnly, CSymbolLibIO* pLib);

    // ---- schema -------------------------------------------------------------------------------
    GEOVIEW GetGeoView() const { return m_Theme.GetGeoView(); }
    void SetGeoView(GEOVIEW view) { m_Theme.SetGeoView(view); }
    // A copy of the theme's class with that code or name (names compare exactly); 0 when absent.
    int GetGClass(UINT nCode, CGeoGClass& gc) const;
    int GetGClass(CString strName, CGeoGClass& gc) const;
    CAttriDispParam& GetAttriDispParam() { return m_AttriDispParam; }
    // Stores the layer-type bits (1 GIS, 2 cartographic, 4 symbolised, 8 thematic) in the layer and as
    // the theme's data type.
    void SetLayerType(int nType);
    // The theme's data type, which the layer keeps as its layer type too.
    int GetLayerType();
    // The distinct non-zero class IDs of the objects in order of first use; counts (when given) the
    // number of objects of each.
    void GetUsedGCID(CUIntArray& ids, CUIntArray* pCounts) const;
    // The class codes of the theme in theme order.
    void GetAllGCID(CUIntArray& ids) const;
    // TRUE when the theme has common fields or any class has fields.
    int HasField() const;
    // TRUE when an object has that user ID and either nClass is 0 or the object's class is nClass.
    int IsExistUserID(UINT nUserID, UINT nClass) const;
    // Whether the object is in this layer's list: its layer link and list position answer for it, the
    // list itself only when they do not name this layer.
    BOOL IsListed(const CGeoVectorObject* pObject) const;
    // The listed objects whose bounds meet the rectangle, both taken as object coordinates whatever
    // the object's unit (closed: touching counts; the rectangle is normalised), in list order, through
    // the bounds look-up. FALSE, with found empty, while the layer walks its list instead (an object
    // listed twice): the caller then walks m_ObjList.
    BOOL FindByBounds(const CRect& rect, std::vector<CGeoVectorObject*>& found);
    // The listed objects whose borders hold the arc (GetBorderArcs), each once, in list order, through
    // the border-arc look-up; each may still be asked whether it uses the arc. FALSE, with found empty,
    // while the layer walks its list instead, as for FindByBounds.
    BOOL FindBorderHolders(const CGeoVectorObject* pArc, std::vector<CGeoVectorObject*>& found);

    // What listed objects tell the layer (see the index at the top of this file).
    void OnObjectUserIDChanged(CGeoAccessorialObject* pObject, UINT nOldUserID) override;
    void OnObjectBoundsChanged(CGeoAccessorialObject* pObject) override;

    // ---- attribute records ----------------------------------------------------------------------
    // The layer's database, NULL when it has none. The layer owns it.
    CGeoAttributeDatabase* GetAttributeDatabase() const { return m_pAttriDB; }
    // Whether the layer is bound to a database file it could not open (see the top of this file): its
    // schema must then not change, or the file and the layer would no longer match.
    int HasUnopenedDatabase() const { return m_bUnopenedDB; }

    // Whether the object (listed in this layer, with a feature class) has a record. 0 without a
    // database.
    int HasAttribute(CGeoVectorObject* pObject);
    // Appends the record of (user ID, class) to the list: the theme's common fields, then the class's
    // fields (none when the theme lacks the class). Without a database or record, that many empty
    // values and the result 0; else 1. Then every empty or NULL value appended takes its field's
    // default value text, converted to the field's type, when the field has one.
    int GetAttribute(UINT nUserID, CGeoValueList* pValues, UINT nClass);
    // The same with the object's user ID and class; 0 for NULL.
    int GetAttribute(CGeoVectorObject* pObject, CGeoValueList* pValues);
    // Writes the object's record (a new one or over the one there): one value per common field and
    // class field. The database and the class's table are made when missing (removed again when
    // their fields cannot be made). 0 when the object is NULL, not in this layer or has no class,
    // when the count differs, or when creating or writing fails. After the write, successful or not, the object's attribute
    // display style is marked stale and the main window, when there is one, gets
    // WM_GEO_ATTRIBUTE_CHANGED. With pValues NULL the attribute value dialog opens on the record's
    // object (core/DialogHooks.h), writing what the person confirms; the result is then 0.
    int SetAttribute(CGeoVectorObject* pObject, CGeoValueList* pValues);
    // The same by user ID and class, without the object checks, the stale mark and the message. 0 also
    // when the theme lacks the class.
    int SetAttribute(UINT nUserID, UINT nClass, CGeoValueList* pValues);
    // Writes new records for many objects at once, pairing the objects with the value lists in order;
    // each object's user ID is put at the head of its list. Both lists are emptied (the objects and the
    // value lists themselves stay the caller's). 1 when every record was written; 0 when either list
    // is NULL, their counts differ, or a table or a record cannot be made (records of classes written
    // before stay).
    int SetAttribute(CTypedPtrList<CObList, CGeoVectorObject*>* pObjects,
                     CList<CGeoValueList*, CGeoValueList*>* pValueLists);
    // Removes the object's record. 0 when the object is NULL or not in this layer; 1 when there is
    // no database or no record; 0 when nForce is 0 and another object of the layer has the same user
    // ID (the record is shared); else the user ID's records go (0 when that fails) and the class's
    // table is dropped when it is left empty; 1.
    int RemoveAttribute(CGeoVectorObject* pObject, int nForce);
    // The same by user ID and class, whatever objects hold the user ID.
    int RemoveAttribute(UINT nUserID, UINT nClass);

    // ==== Drawing, searches and layer-wide editing (GeoVectorLayerDraw.cpp) ====

    // The process-wide draw flag, initially 1: Draw stops before the next object once it is 0. The host
    // clears it to abort a long redraw (from a handler that runs during the drawing) and sets it again
    // afterwards; nothing in the library changes it.
    static void SetLayerDrawFlag(int bDraw);
    static int GetLayerDrawFlag();

    // Draws the objects head to tail while the draw flag is set. Filter mode 1 draws nothing; objects
    // whose class fails GCIsVisible (class, nFilterMode, pIDs) are skipped. With a clip (device units),
    // it is mapped to object coordinates (the layer's LPtoRP, no display translation) and an object is
    // skipped when its normalised bounds lie wholly left of, above, right of or below it (touching counts
    // as overlap). Each remaining object gets Draw (pDC, pClip, scale, scale2, origin, offset, ds, 0),
    // offset being the top-left corner of the layer's bounds in millimetres.
    void Draw(CDC* pDC, RECT* pClip, UINT scale, UINT scale2, CPoint origin, tagDisplayState ds, int nFilterMode,
              CDWordArray* pIDs);
    // Every object (head to tail; no draw flag, no clip test) that passes GCIsVisible gets its Hide
    // (Blink) with the origin moved by the top-left corner of the layer's bounds in millimetres and the
    // other arguments as given. Filter mode 1 does nothing.
    void Hide(CDC* pDC, RECT* pClip, UINT scale, UINT scale2, CPoint origin, CPoint offset, tagDisplayState ds,
              int nFilterMode, CDWordArray* pIDs);
    void Blink(CDC* pDC, RECT* pClip, UINT scale, UINT scale2, CPoint origin, CPoint offset, tagDisplayState ds,
               int nFilterMode, CDWordArray* pIDs);

    // The object the rectangle (millimetres, converted to each object's unit) selects by its virtual
    // Intersects (rect, mode): objects are tried from the tail (the last drawn) to the head, polygons
    // (CGeoPolygon and derived) only after every other object, again last to first. NULL when none.
    // nFlag is not used.
    CGeoAccessorialObject* FindObj(const CRect& rect, SELOBJMODE mode, int nFlag) override;
    using CGeoLayer::FindUserObj;
    // 0 for user ID 0 (the list untouched); else the list is emptied and receives every object with
    // that user ID in list order; 1 when it is not empty, else 0.
    int FindUserObj(UINT nUserID, CGeoAccessorialObjectList& list) override;

    // The union of the objects' bounds in millimetres (bounds without area count), converted to the
    // layer's unit; (0, 0, 0, 0) for an empty layer.
    CRect GetValideRect();
    // Nothing when rect equals the bounds or the layer is not editable (its objects could not follow).
    // Otherwise the bounds keep their top-left corner and take rect's width and height, then move to
    // rect's top-left corner while every object moves the other way, keeping its place in the world.
    void ResetBounds(CRect rect) override;
    // Fits the bounds to the objects: ResetBounds (GetValideRect offset by the bounds' top-left corner).
    // An empty layer keeps its bounds.
    void AutoCompactBounds() override;
    // AutoCompactBounds.
    void RecalBounds();

    // Transforms every object into another coordinate system; nothing when the layer is not editable or
    // empty. (X, Y) = the bounds' left and top in metres plus the layer origin.
    //   A CGeoGaussTransformer: X and Y take its input offsets (e, n); the origin becomes
    //   (output zone * 1 000 000, origin y + n) only when -1 < e < 1; the transformer's second offsets
    //   become (left and top in metres) + that origin, applied or not.
    //   Another CBaseCoordinateTransformer: (X, Y) mapped is (X', Y'), which becomes both its second
    //   offsets and the layer origin; the bounds move so that their top-left corner is (0, 0).
    // Every object then gets Transform (transformer, X, Y), and (for every transformer that got this
    // far) AutoCompactBounds. The transformer's second offsets are changed.
    void Transform(CGeoCoordinateTransformer& transformer) override;

    // Conversion between shape kinds of a line listed in this layer (0 / NULL for a layer that is not
    // editable, an object that is not a line (converts to nothing) or not in the list). CanConvertObj:
    // the line's CanConvertTo. ConvertObj: the line's ConvertTo (ConvertShape); on success the new object takes the old one's
    // place, IDs, class and style (Replace) and is returned; the old object, no longer listed, belongs to
    // the caller. NULL when the conversion fails, the layer then unchanged. FixedLine: ConvertObj to a
    // plain polyline (type 0).
    int CanConvertObj(CGeoVectorObject* pObject, WORD wType, DWORD dwParam);
    CGeoVectorObject* ConvertObj(CGeoVectorObject* pObject, WORD wType, DWORD dwParam);
    CGeoPLine* FixedLine(CGeoVectorObject* pLine);

    // Topological polygons around an arc or a point (object coordinates of the layer's objects). Each
    // returns TRUE when it added a polygon to the list.
    // IsPublicLine: appends every polygon whose border holds the line.
    int IsPublicLine(CGeoVectorObject* pLine, CGeoPolygonList& list);
    // GetNeighbourPolygonList: puts at the head of the list every polygon whose bounds meet the square
    // (p.x - 10, p.y - 10, p.x + 10, p.y + 10) (touching counts) and whose cached ring data has a point
    // at p (CGeoPolygon::IsHandle).
    int GetNeighbourPolygonList(POINT p, CGeoPolygonList& list);
    // GetPolygonListShareSamePoint: puts at the head of the list every polygon whose bounds meet that
    // square and one of whose arcs (looked up by its key string) has p as an end or a vertex
    // (CGeoPolygon::GetHandlePosOnLine not 0).
    int GetPolygonListShareSamePoint(POINT p, CGeoPolygonList& list);

    // Clears the dangle marks of every object (SetDangleType (0): false-node marks stay); 0.
    int ClearDangle();
    // The style the layer's attribute-display rules give the object (CAttriDispParam::GetGeoView): 1
    // with view set, 0 when none applies (view untouched).
    int GetGeoViewAD(CGeoVectorObject* pObject, GEOVIEW& view);
    // Marks every object's attribute-display style stale.
    void ResetADRefresh();

    // ==== Symbolised output (GeoSymbolizeOutput.cpp) ====
    // Writes the objects (those whose feature class is in pClasses when it is given and not empty) into
    // pTarget as symbolised shapes, each through its SymbolizeOutput with one CVMSymbolOutputer whose
    // offset is the difference of the layers' absolute origins (top-left of the bounds in millimetres +
    // layer origin * 1000), truncated. An object that outputs nothing is copied instead (Duplicate
    // (0, 1)) with its effective own style (GetSelfGeoView), its feature-class ID, display attribute 2,
    // moved by minus the offset (in its unit) and attached to pTarget. The objects listed when the call
    // starts are the ones written, so pTarget may be this layer. 0 (nothing written) when pTarget or pLib
    // is NULL or scale is 0; else 1.
    int SymbolizeOutput(CGeoVectorLayer* pTarget, CSymbolLibIO* pLib, UINT scale, CUIntArray* pClasses);
    // ==== end of symbolised output ====

    // ---- public data --------------------------------------------------------------------------
    CGeoTheme m_Theme;  // the layer's schema
    CObList m_ObjList;  // the objects (CGeoVectorObject*), drawing order

protected:
    // ==== (GeoVectorLayerDraw.cpp) Offsets the bounds by d (layer unit) and moves every object by -d
    // converted to its unit; nothing for (0, 0).
    void MoveBounds(CSize d);

    // Takes the object out of the list and the index and detaches it, whatever the editable flag;
    // with bWithRecord its record goes as RemoveAttribute (object, 0) says.
    void Unlink(CGeoVectorObject* pObject, BOOL bWithRecord);
    // After loading: what each kind of object needs once it is listed (see Serialize).
    void ResolveLoadedObjects();
    // The index as the layer uses it.
    void IndexAdd(CGeoVectorObject* pObject);
    void IndexRemove(CGeoVectorObject* pObject);
    void IndexReplace(CGeoVectorObject* pOld, CGeoVectorObject* pNew);
    void IndexDrop();
    // Creates the database with the theme's common fields when the layer has none; FALSE on failure.
    BOOL EnsureDatabase();
    // Creates the class's table with its fields when missing; FALSE on failure.
    BOOL EnsureClassTable(UINT nClass);
    // The number of common fields plus that of the class's fields.
    int GetRecordFieldCount(UINT nClass) const;
    // Whether another listed object than pObject has that user ID.
    BOOL IsUserIDShared(UINT nUserID, const CGeoVectorObject* pObject) const;

    CGeoAttributeDatabase* m_pAttriDB = nullptr;
    // A binding whose database file could not be opened (see the top of this file): its stored name,
    // and whether the refusal of attribute writes has been reported.
    // Objects this layer loaded whose stored auto-remove flag is 0. Nobody else holds them, so the layer
    // frees them with itself unless they leave it first (then whoever takes them out owns them).
    std::vector<CGeoVectorObject*> m_loadedKept;
    int m_bUnopenedDB = 0;
    CString m_strUnopenedDB;
    int m_bUnopenedDBReported = 0;
    CAvlTree m_AvlTree;
    int m_bAvlBuilt = 0;
    // While ResolveLoadedObjects runs (m_bResolving): the loaded objects by ID, which FindObj makes on
    // its first call and answers from instead of building the ID tree (defined in GeoVectorLayer.cpp).
    struct LoadedIDs;
    struct LoadedIDsDeleter {
        void operator()(LoadedIDs* p) const;
    };
    std::unique_ptr<LoadedIDs, LoadedIDsDeleter> m_pLoadedIDs;
    int m_bResolving = 0;
    // Look-ups by user ID and bounds; m_bListOnly once they cannot be trusted (an object listed twice).
    // The order key the next listed object gets.
    mutable CGeoObjectIndex m_ObjIndex;
    int m_bListOnly = 0;
    ULONGLONG m_nNextListOrder = 0;
    // Puts the object at the end of the list with its order key and link.
    void ListAtTail(CGeoVectorObject* pObject);
    // Gives up the look-ups of this layer for good.
    void ListOnly();
    // The user-ID or bounds look-up, built when missing; NULL while the layer walks its list.
    CGeoObjectIndex* UserIDIndex() const;
    CGeoObjectIndex* BoundsIndex();
    CAttriDispParam m_AttriDispParam;
    int m_nLayerType = 1;
};

// ==== (GeoVectorLayerDraw.cpp) Whether a feature class passes a class filter: mode 0 every class; 2 only
// the classes in pIDs (none when pIDs is NULL); 3 every class not in pIDs (none when pIDs is NULL); 1 and
// any other mode none.
int GCIsVisible(UINT nClassID, int nMode, CDWordArray* pIDs);

// A new editable vector layer: bounds (NULL = (0, 0, 5000000, 5000000)), a copy of the theme (NULL =
// an empty theme), and the name and file name, each trimmed of blanks at both ends, when not empty.
// The last argument is not used. The caller deletes the layer.
CGeoVectorLayer* CreateVectorLayer(const CRect* pBounds, const CGeoTheme* pTheme, CString strName,
                                   CString strFile, int nReserved);
