// Identification points: giving the topological polygons of a vector layer their label points.
//
// Relating makes one of the points already lying inside a polygon its label point; adding creates a new
// label point at an inner position. Either goes without condition or by the rules of an
// identification-point file (IP file): a text table mapping a code, the feature-class ID shared by all
// border arcs of a polygon, to the feature-class ID its label point must have.
//
// IP file: text, one row per line, three decimal integers (code, class ID, type) separated by white
// space; written as "%d\t%d\t%d\n". Reading stops at the end of the file or at the first row that does
// not hold three numbers; the rows before it are kept.
//
// Profile: section "Settings", key "IPInfo", value "<immediate-input flag>:<IP file path>"; the path is
// everything after the first colon, blanks included, and is refused when longer than 255 bytes.
//
// Process-wide state (unguarded, for the user-interface thread): one CIdentificationPointRelate (the
// switches and the layer), the IP table, the current IP file path (empty at start) and the
// immediate-input flag (1 at start). The free functions below work on them.
#pragma once

#include <afx/afx.h>

class CGeoVectorLayer;
class CGeoPolygon;
class CGeoPoint;

// One row of an IP table.
class CIPInfo : public CObject {
public:
    CIPInfo() = default;
    CIPInfo(const CIPInfo& src) : CObject(), m_nCode(src.m_nCode), m_nClassID(src.m_nClassID), m_nType(src.m_nType) {}
    CIPInfo(UINT nCode, UINT nClassID, int nType) : m_nCode(nCode), m_nClassID(nClassID), m_nType(nType) {}
    CIPInfo& operator=(const CIPInfo& src);

    UINT m_nCode = 0;     // feature-class ID shared by all border arcs of a polygon
    UINT m_nClassID = 0;  // feature-class ID the label point of such a polygon has
    int m_nType = 0;      // carried for the host
};

// An IP table: owns its rows (heap objects), in file order.
class CIPInfoList : public CObList {
public:
    CIPInfoList() : CObList(10) {}
    CIPInfoList(const CIPInfoList&) = delete;
    ~CIPInfoList() override { ClearAll(); }
    // ClearAll, then a copy of every row of src in order (self-assignment changes nothing).
    CIPInfoList& operator=(const CIPInfoList& src);
    // The first row with that code; NULL when none.
    CIPInfo* GetIPInfo(UINT nCode) const;
    // Deletes every row and empties the list.
    void ClearAll();
};

// The switches and the layer of a relate run. All switches are BOOL ints.
class CIdentificationPointRelate : public CObject {
public:
    CIdentificationPointRelate() = default;
    CIdentificationPointRelate(const CIdentificationPointRelate& src) : CObject() { *this = src; }
    // Copies the seven switches, not the layer.
    CIdentificationPointRelate& operator=(const CIdentificationPointRelate& src);

    void SetLayer(CGeoVectorLayer* pLayer) { m_pLayer = pLayer; }
    CGeoVectorLayer* GetLayer() const { return m_pLayer; }

    void SetAutoRelate(int b) { m_bAutoRelate = b; }
    void SetNeedIPFile(int b) { m_bNeedIPFile = b; }
    void SetNoCondition(int b) { m_bNoCondition = b; }
    void SetAutoAdd(int b) { m_bAutoAdd = b; }
    void SetAutoAddNeedIPFile(int b) { m_bAutoAddNeedIPFile = b; }
    void SetAutoAddNoCondition(int b) { m_bAutoAddNoCondition = b; }
    void SetConstructByLabPoint(int b) { m_bConstructByLabPoint = b; }
    int GetAutoRelate() const { return m_bAutoRelate; }
    int GetNeedIPFile() const { return m_bNeedIPFile; }
    int GetNoCondition() const { return m_bNoCondition; }
    int GetAutoAdd() const { return m_bAutoAdd; }
    int GetAutoAddNeedIPFile() const { return m_bAutoAddNeedIPFile; }
    int GetAutoAddNoCondition() const { return m_bAutoAddNoCondition; }
    int GetConstructByLabPoint() const { return m_bConstructByLabPoint; }

    // Point lists. A point (any CGeoPoint of the layer: plain, label point, node) lies inside a polygon
    // when it is in the polygon's bounds (right and bottom edges excluded), in its first ring and in
    // none of its holes. Nothing happens without a layer.
    // Whole layer: every polygon's list is emptied, then each point goes to the first polygon in layer
    // order that contains it.
    void ConstructPolygonPointList();
    // One polygon: its list is emptied and gets every point of the layer inside it, whatever other
    // polygons hold.
    void ConstructPolygonPointList(CGeoPolygon* pPolygon);

    // Every polygon of the layer, in layer order: relate (IP file first, then without condition, as
    // switched), and add only when relating did not label it. Nothing happens without a layer or when
    // no mode of a switched-on operation is on. The IP file is read once per call.
    void RelateIdentificationPoint();

    // All four return 1 when the polygon got a label point, else 0; 0 for NULL, a polygon already
    // labelled (GetLabelPointCount > 0) or a polygon outside the layer.
    // The first point of the polygon's list becomes its label point (the point is replaced by a
    // CGeoLabelPoint in the layer; every polygon's list that held it then holds the label point). 0 when
    // the list is empty.
    int AtuoRelateNoCondition(CGeoPolygon* pPolygon);
    // The IP table row of the code shared by its border arcs gives a class ID; the first listed point of
    // that class becomes the label point. 0 when the list is empty, the current IP file cannot be read,
    // the arcs disagree, no row has the code or no point has the class.
    int AutoRelateNeedIPFile(CGeoPolygon* pPolygon);
    // A new label point at an inner position (Ostrel FindCenPos), with nClassID, the polygon's unit and
    // the default polygon style of the settings, is added to the layer and the list and linked. 0 when
    // no inner position is found (nothing is added).
    int AutoAddNoCondition(CGeoPolygon* pPolygon, UINT nClassID);
    // As AutoAddNoCondition with the class ID of the IP table row of the border arcs' code, the style
    // and unit left as constructed. 0 when the IP file cannot be read, the arcs disagree, no row has the
    // code or no inner position is found.
    int AutoAddNeedIPFile(CGeoPolygon* pPolygon);

private:
    // 1 and the class ID of the first border arc when every arc of the border has that class; 0 when
    // they disagree or the border has no arc.
    int PolyIsSameCode(CGeoPolygon* pPolygon, UINT& nCode);
    // The IP table for the IP-file variants: the one read for the current run, else the current file.
    const CIPInfoList* ReadIPTable(CIPInfoList& scratch);
    int AddLabelPoint(CGeoPolygon* pPolygon, UINT nClassID, bool bDefaultStyle);
    void RelatePoint(CGeoPolygon* pPolygon, CGeoPoint* pPoint);

    CGeoVectorLayer* m_pLayer = nullptr;
    int m_bAutoRelate = 1;
    int m_bNeedIPFile = 1;
    int m_bNoCondition = 1;
    int m_bAutoAdd = 1;
    int m_bAutoAddNeedIPFile = 1;
    int m_bAutoAddNoCondition = 0;
    int m_bConstructByLabPoint = 1;  // kept for the host; nothing here reads it

    const CIPInfoList* m_pRunTable = nullptr;  // the table read once for a RelateIdentificationPoint run
    int m_bRunTableRead = 0;
    // Which polygons' lists hold each point, kept for a RelateIdentificationPoint run.
    struct PointHolders;
    PointHolders* m_pRunHolders = nullptr;
};

// ---- process-wide instance and table ----
void SetIdentificationPointLayer(CGeoVectorLayer* pLayer);
void SetIdentificationPointRelate(CIdentificationPointRelate& relate);  // copies the switches in
void GetIdentificationPointRelate(CIdentificationPointRelate& relate);  // copies the switches out
void IdentificationPointRelate();
void ConstructPolygonPointList();
void ConstructPolygonPointList(CGeoPolygon* pPolygon);
int AtuoAddNoCondition(CGeoPolygon* pPolygon);  // class ID 0
int AtuoAddNeedIPFile(CGeoPolygon* pPolygon);
int AtuoRelateNoCondition(CGeoPolygon* pPolygon);
int AtuoRelateNeedIPFile(CGeoPolygon* pPolygon);
// 1 and the row's class ID and type when the IP table has that code; else 0, outputs untouched.
int GetIdentificationPointCode(UINT nCode, UINT& nClassID, int& nType);
// The IP table becomes a copy of list.
void SetIdentificationPointCode(CIPInfoList& list);
int IsInputIPAttributeImmediately();
void InputIPAttributeImmediately(int bOn);
// 0 for an empty path or a file that cannot be opened (list untouched). Otherwise the list is cleared
// and gets the rows of the file (see the top of this file); 1 when it then holds a row, else 0.
int LoadIdentificationPointFile(CString strPath, CIPInfoList& list);
// Writes every row and returns 1 (an empty list: empty file). The file is written beside the old one
// and renamed over it when complete, so a save that fails (0: the file cannot be made or written, or
// the old file is read-only) leaves the old file as it was.
int SaveIdentificationPointFile(CString strPath, CIPInfoList& list);
// Empty path: the current path becomes empty, the table is cleared, 1. Otherwise the file is read into
// the table; 1 and the path becomes current, or 0 with the current path kept.
int SpacifyIdentificationPointFile(CString strPath);
CString GetIdentificationPointFile();
// Reads "Settings"/"IPInfo" from the application profile (nothing without an application): a value
// "<int>:<path>" sets the flag and the current path (a value without a colon or number, or with a path
// over 255 bytes, leaves both as they were). Then the current file is read into the table.
void LoadIdentificationPointInfo();
// Writes "<flag>:<path>" to "Settings"/"IPInfo" (nothing without an application).
void SaveIdentificationPointInfo();
