// CLayerPropSheet: the layer property sheet ("图层属性"), a tree sheet over one layer. A vector layer
// shows the general page, the display-style page with the point, line, fill and annotation pages under
// it, the field page and the feature-class page, in that order; an image or DEM layer the general page
// only; any other layer no page (DoModal then returns -1).
//
// Building the sheet clears the layer's modified flag. The pages never change the layer: each page
// applied sends its result to the sheet, which keeps the latest one of each page, and only when the sheet
// closes with OK (DoModal 1) does it write them into the layer, in page order: name, editable flag and
// bounds tracking or layer type; the display style; the common fields; the feature classes. A sheet
// closed with Cancel, or shown view-only, leaves the layer as it was, also after "应用". Each write sets
// the layer's modified flag.
//
// Fields and classes reach the layer's theme and its attribute database together:
//  - common fields: with a database, each change of the field page (its rename records) is made in the
//    database first and in the theme only when the database took it; deleting a field whose values are
//    stored asks first ("No" keeps it); fields the database put in a new order are stored in that order.
//    Without a database the theme takes the page's fields as they are.
//  - classes: renumbered classes first (their table, then the class, then the objects), then each class
//    of the theme: one the page dropped goes with its table (asking first when records are stored; "No"
//    keeps class, table and objects) and its objects go to code 0; one the page kept takes the page's
//    edit (fields as above, in its table); then the page's new classes are appended.
// Whatever the database refuses is left as it was in theme, objects and database, and one message says
// what and why. A layer bound to a database file it could not open takes no field or class change.
#pragma once

#include <afx/afx.h>
#include <caddox/TPropertySheet.h>

#include <memory>

#include "core/GeoView.h"
#include "ui/LayerGCPage.h"
#include "ui/LayerNormalPage.h"
#include "ui/PropageStyleAnno.h"
#include "ui/PropageStyleLine.h"
#include "ui/PropageStylePoint.h"
#include "ui/PropageStylePolygon.h"
#include "ui/SDFieldPage.h"
#include "ui/SDStylePage.h"
#include "ui/StylePageMessages.h"

class CGeoLayer;
class CGeoVectorLayer;
class CSymbolLibIO;

class CLayerPropSheet : public CTPropertySheet {
    DECLARE_DYNAMIC(CLayerPropSheet)
public:
    // pLayer: the layer edited (not owned); pLib: the symbol library of the style pages (may be NULL).
    CLayerPropSheet(UINT nIDCaption, CGeoLayer* pLayer, CSymbolLibIO* pLib, int bViewOnly, CWnd* pParentWnd = nullptr,
                    UINT iSelectPage = 0);
    CLayerPropSheet(LPCTSTR pszCaption, CGeoLayer* pLayer, CSymbolLibIO* pLib, int bViewOnly,
                    CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    ~CLayerPropSheet() override;

    // Shows the sheet; after OK (1) writes what the pages applied into the layer (see above).
    INT_PTR DoModal() override;

    // 0 NULL or not a layer object; 2 vector layer; 4 DEM layer; 3 image layer; 1 any other layer.
    static int GetLayerType(CGeoLayer* pLayer);
    CGeoLayer* GetGeoLayer() const { return m_pGeoLayer; }
    // 1 when some entry is greater than the one after it (unsigned: -1 counts as the largest), else 0.
    static int IsModifyPos(CUIntArray& positions);

    CGeoLayer* m_pGeoLayer = nullptr;
    GEOVIEW m_GeoView;
    CSymbolLibIO* m_pSymbolLib = nullptr;
    int m_bViewOnly = 0;
    CLayerNormalPage m_NormalPage;
    CSDStylePage m_StylePage;
    CPropageStylePoint m_PointPage;
    CPropageStyleLine m_LinePage;
    CPropageStylePolygon m_PolygonPage;
    CPropageStyleAnno m_AnnoPage;
    CSDFieldPage m_FieldPage;
    CLayerGCPage m_GCPage;

protected:
    LRESULT OnLayerNormalChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnGeoViewChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnGeoViewChanging(WPARAM wParam, LPARAM lParam);
    LRESULT OnFieldInfoChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnLayerGCChanged(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    struct tagPending;
    std::unique_ptr<tagPending> m_pPending;

    void InitSheet(CGeoLayer* pLayer, CSymbolLibIO* pLib, int bViewOnly);
    void WriteGeneral();
    void WriteFields(CGeoVectorLayer* pLayer);
    void WriteClasses(CGeoVectorLayer* pLayer);
    // Whether the layer's schema may change; otherwise says why.
    static bool SchemaChangeable(CGeoVectorLayer* pLayer);
    static int FindGC(UINT nCode, CGeoGClassList* pList);
};

// The sheet as the core's layers open it (their hook): "图层属性" over the layer; DoModal's result.
int RunLayerPropSheet(CGeoLayer* pLayer, CSymbolLibIO* pLib, int bViewOnly);
