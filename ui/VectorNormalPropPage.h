// CVectorNormalPropPage: the general page "常规" (template 2009) of the vector-object sheet: the
// object's name, type and layer, its feature class with the picker "选择地物类 >>>", the face flag of a
// closed shape, control and interpolation point counts, a point's direction, the elevation, length and
// area with their unit lists, and the button "属性数据" to the attribute record.
//
// The opener sets m_bEditable and the object (SetObject) before the sheet runs and reads the
// public fields after OK. For a topological polygon the class, display and record are those of its
// label point (m_pObject becomes the label point, NULL without one: no class can be chosen then).
//
// Measures: the length (perimeter) and area are kept in metres and square metres; the unit lists only
// change what the edits show ("%.3f").
//
// Changing the class moves the object's attribute record to the new class's table at once: the layer
// theme's common fields as they are, and every field of the old class that the new class has under the
// same name (letter case aside) with the same type and, for text, no smaller size. A user ID shared
// with other objects is renewed first, leaving the shared record to them. The person is asked before a
// record is touched; a refused or failed change says why and leaves class, user ID and record as they
// were. Cancel (of an editable page) undoes what the page changed in the layer's theme, the object's
// class and user ID and its record, back to their state when the page opened; a page whose class and
// record were never changed leaves the database alone.
#pragma once

#include <afx/afx.h>
#include <afx/PropertySheet.h>
#include <afx/StdCtrls.h>

#include "core/GeoTheme.h"

class CGeoVectorObject;
class CGeoVectorLayer;

class CVectorNormalPropPage : public CPropertyPage {
    DECLARE_DYNCREATE(CVectorNormalPropPage)
public:
    enum { IDD = 2009 };

    CVectorNormalPropPage();
    ~CVectorNormalPropPage() override;

    // The object to edit (not owned); call before the page's window exists.
    void SetObject(CGeoVectorObject* pObject) { m_pObject = pObject; }

    int m_bHasElevation = 1;
    CStatic m_stcLength;
    CStatic m_stcArea;
    CEdit m_edtLength;
    CEdit m_edtArea;
    CComboBox m_cmbLengthUnit;
    CComboBox m_cmbAreaUnit;
    CString m_strClassName;
    int m_nDisplayAttr = -1;
    CString m_strName;
    CString m_strTypeName;
    CString m_strLayerName;
    UINT m_nClassCode = 0;
    BOOL m_bFace = 0;
    int m_nControlPoints = 0;
    int m_nInterpPoints = 0;
    float m_fElevation = 0.0f;
    float m_fAngle = 0.0f;
    int m_bEditable = 1;
    CGeoTheme m_theme;
    int m_bClosed = 0;
    int m_bLine = 0;
    int m_bSpline = 0;
    int m_bPoint = 0;
    int m_bDirected = 0;
    int m_bHasRecord = 0;
    CList<COleVariant, COleVariant&> m_lstValues;
    int m_nValueCount = 0;
    UINT m_nOldClassCode = 0;
    UINT m_nOldUserID = 0;
    CGeoVectorObject* m_pObject = nullptr;
    int m_nUnit = 3;
    int m_bOpenLine = 1;
    double m_dLength = 0.0;
    double m_dArea = 0.0;
    int m_bHasLabelPoint = 1;
    int m_bPolygon = 0;
    CGeoVectorLayer* m_pLayer = nullptr;
    // The object shown (the polygon itself for a polygon), whatever m_pObject became.
    CGeoVectorObject* m_pShownObject = nullptr;
    // Whether the person typed into the elevation or the direction. The edits show single-precision
    // figures, so the opener keeps the object's own, more precise value unless the person changed it.
    int m_bElevationEdited = 0;
    int m_bAngleEdited = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    BOOL OnApply() override;

    void OnPickClass();
    void OnAttributes();
    void OnLengthUnit();
    void OnAreaUnit();
    void OnChanged();
    void OnElevationChanged();
    void OnAngleChanged();
    DECLARE_MESSAGE_MAP()

private:
    void FillFromObject();
    void RefreshClassFields();
    void ApplyElevationRule();
    void ShowDirection();
    // Gives the object the class nNewCode, moving its record: TRUE when the class changed or the person
    // declined (nothing changed); FALSE after a refusal that was reported (nothing changed either).
    BOOL ChangeClass(UINT nNewCode);
    // The record of the object, read under the old class, written under the new one (see the top).
    BOOL MigrateRecord(UINT nNewCode, int nSharing, CList<COleVariant, COleVariant&>& oldValues);
    // Whether the page changed the object's class, user ID or record since it opened (Cancel undoes it).
    int m_bRecordTouched = 0;
    // Whether the database held any record under the object's user ID when the page opened.
    int m_bUserIDHadRecord = 0;
};
