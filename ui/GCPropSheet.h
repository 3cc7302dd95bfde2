// CGCPropSheet: the feature-class property sheet ("地物属性"), a tree sheet over a working copy of one
// class: the general page, the display-style page with the point, line, fill and annotation pages under
// it, and the field page, in that order. The caller takes the edited copy with GetEditedGClass and
// learns from GetModifiedFlag whether a page was applied (the flag may be set after Cancel when a page
// had been applied before); it decides what to store.
//
// Private messages from the pages (SendMessage, result 0): WM_FIELDINFO_CHANGED (0x2660) replaces the
// class's fields and rename records; WM_GCNORMAL_CHANGED (0x2661) follows an applied general page;
// 0x2662 stores the working style in the class; 0x2663 (a style being edited) changes nothing;
// 0x2666 stores the annotation letter size (wParam width, lParam height); WM_GCTYPE_CHANGED (0x2667)
// follows a click on "注记地物". Every one but 0x2663 sets the modified flag.
#pragma once

#include <afx/afx.h>
#include <caddox/TPropertySheet.h>

#include "core/GeoGClass.h"
#include "ui/GCNormalPage.h"
#include "ui/PropageStyleAnno.h"
#include "ui/PropageStyleLine.h"
#include "ui/PropageStylePoint.h"
#include "ui/PropageStylePolygon.h"
#include "ui/SDFieldPage.h"
#include "ui/SDStylePage.h"
#include "ui/StylePageMessages.h"  // the messages of the style pages that reach this sheet

class CSymbolLibIO;


class CGCPropSheet : public CTPropertySheet {
    DECLARE_DYNAMIC(CGCPropSheet)
public:
    // pOtherClasses (CGeoGClass*, not owned, may be NULL): the classes the edited one must not collide
    // with. pGClass (copied; NULL for a new class: code shown as 1, type line and directed). pLib (may be
    // NULL) for the style pages.
    CGCPropSheet(UINT nIDCaption, CObList* pOtherClasses, CGeoGClass* pGClass, CSymbolLibIO* pLib, int bViewOnly,
                 CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    CGCPropSheet(LPCTSTR pszCaption, CObList* pOtherClasses, CGeoGClass* pGClass, CSymbolLibIO* pLib, int bViewOnly,
                 CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    ~CGCPropSheet() override = default;

    CGeoGClass GetEditedGClass() const { return m_GClass; }
    int GetModifiedFlag() const { return m_bModified; }
    // Codes in use elsewhere (not owned) and the class's own code, for the general page's check.
    void SetUsedCodes(CUIntArray* pCodes, UINT nOwnCode);

    int m_bViewOnly = 0;
    int m_bModified = 0;
    CGeoGClass m_GClass;
    CObList* m_pOtherClasses = nullptr;
    GEOVIEW m_GeoView;
    CGCNormalPage m_NormalPage;
    CSDStylePage m_StylePage;
    CPropageStylePoint m_PointPage;
    CPropageStyleLine m_LinePage;
    CPropageStylePolygon m_PolygonPage;
    CPropageStyleAnno m_AnnoPage;
    CSDFieldPage m_FieldPage;

protected:
    LRESULT OnFieldInfoChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnGCNormalChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnGeoViewChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnGeoViewChanging(WPARAM wParam, LPARAM lParam);
    LRESULT OnAnnoSizeChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnGCTypeChanged(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void InitSheet(CGeoGClass* pGClass, CSymbolLibIO* pLib);
};

// The feature-class sheet as the core's EditGeoClass runs it (its hook): "地物属性" over a copy of
// *pClass; the modified flag, with the edited class in *pEdited when it is set.
int RunGClassSheet(CObList* pOthers, CGeoGClass* pClass, CSymbolLibIO* pLib, int bViewOnly, CGeoGClass* pEdited);
