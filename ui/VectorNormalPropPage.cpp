#include "ui/VectorNormalPropPage.h"

#include "core/GeoVectorLayer.h"
#include "ui/ADBValueDlg.h"
#include "ui/PickGCDlg.h"
#include "ui/resources/ObjectDialogTemplates.h"
#include "vector/GeoCloseLine.h"
#include "vector/GeoLabelPoint.h"
#include "vector/GeoPoint.h"
#include "vector/GeoPolygon.h"
#include "vector/GeoPolygonLine.h"
#include "vector/GeoSPLine.h"
#include "vector/GeoTriPointCircle.h"

#include <ostrel/Units.h>
#include <tamsel/GeoAttributeDatabase.h>

#include <vector>

IMPLEMENT_DYNCREATE(CVectorNormalPropPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CVectorNormalPropPage, CPropertyPage)
    ON_BN_CLICKED(IDC_VN_PICK_CLASS, OnPickClass)
    ON_BN_CLICKED(IDC_VN_ATTRIBUTES, OnAttributes)
    ON_CBN_SELCHANGE(IDC_VN_AREA_UNIT, OnAreaUnit)
    ON_CBN_SELCHANGE(IDC_VN_LENGTH_UNIT, OnLengthUnit)
    ON_EN_CHANGE(IDC_VN_NAME, OnChanged)
    ON_BN_CLICKED(IDC_VN_FACE, OnChanged)
    ON_EN_CHANGE(IDC_VN_ELEVATION, OnElevationChanged)
    ON_EN_CHANGE(IDC_VN_INTERP_POINTS, OnChanged)
    ON_EN_CHANGE(IDC_VN_ANGLE, OnAngleChanged)
END_MESSAGE_MAP()

namespace {

const int kMetre = 6;
const UINT kMeasureIds[6] = {IDC_VN_LENGTH_LABEL, IDC_VN_LENGTH, IDC_VN_LENGTH_UNIT,
                             IDC_VN_AREA_LABEL,   IDC_VN_AREA,   IDC_VN_AREA_UNIT};

// The object as the class named, NULL when it is not one.
#define AS(T, p) ((p) && (p)->IsKindOf(RUNTIME_CLASS(T)) ? static_cast<T*>(p) : nullptr)

// The kinds that carry a face flag, tested in this order.
int ClosedShapeFace(CGeoVectorObject* p, int* pFace, double* pArea) {
    if (auto* c = AS(CGeoCloseLine, p)) {
        *pFace = c->IsFace();
        if (pArea) *pArea = c->Area();
        return 1;
    }
    if (auto* c = AS(CGeoTriPointCircle, p)) {
        *pFace = c->IsFace();
        if (pArea) *pArea = c->Area();
        return 1;
    }
    if (auto* c = AS(CGeoPolygonLine, p)) {
        *pFace = c->IsFace();
        if (pArea) *pArea = c->Area();
        return 1;
    }
    return 0;
}

// A square measure: the unit conversion applied once per side.
double ChangeSquareUnit(int from, int to, double value) {
    return ChangeUnit(from, to, ChangeUnit(from, to, value, 1.0), 1.0);
}

void FillUnitList(CComboBox& list, const char* const names[4]) {
    static const int codes[4] = {6, 3, 7, 1};
    list.ResetContent();
    for (int i = 0; i < 4; ++i) list.SetItemData(list.AddString(names[i]), static_cast<DWORD_PTR>(codes[i]));
    list.SetCurSel(0);
}

}  // namespace

CVectorNormalPropPage::CVectorNormalPropPage() : CPropertyPage(IDD) { RegisterObjectDialogTemplates(); }

CVectorNormalPropPage::~CVectorNormalPropPage() = default;

void CVectorNormalPropPage::DoDataExchange(CDataExchange* pDX) {
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_VN_AREA_LABEL, m_stcArea);
    DDX_Control(pDX, IDC_VN_LENGTH_LABEL, m_stcLength);
    DDX_Control(pDX, IDC_VN_AREA, m_edtArea);
    DDX_Control(pDX, IDC_VN_LENGTH, m_edtLength);
    DDX_Control(pDX, IDC_VN_AREA_UNIT, m_cmbAreaUnit);
    DDX_Control(pDX, IDC_VN_LENGTH_UNIT, m_cmbLengthUnit);
    DDX_Text(pDX, IDC_VN_CLASS_NAME, m_strClassName);
    DDX_Radio(pDX, IDC_VN_BY_LAYER, m_nDisplayAttr);
    DDX_Text(pDX, IDC_VN_NAME, m_strName);
    DDX_Text(pDX, IDC_VN_TYPE, m_strTypeName);
    DDX_Text(pDX, IDC_VN_LAYER, m_strLayerName);
    DDX_Text(pDX, IDC_VN_CLASS_CODE, m_nClassCode);
    DDX_Check(pDX, IDC_VN_FACE, m_bFace);
    DDX_Text(pDX, IDC_VN_CONTROL_POINTS, m_nControlPoints);
    DDX_Text(pDX, IDC_VN_INTERP_POINTS, m_nInterpPoints);
    DDX_Text(pDX, IDC_VN_ELEVATION, m_fElevation);
    DDX_Text(pDX, IDC_VN_ANGLE, m_fAngle);
    DDV_MinMaxFloat(pDX, m_fAngle, 0.0f, 360.0f);
}

void CVectorNormalPropPage::FillFromObject() {
    CGeoVectorObject* obj = m_pObject;
    m_pShownObject = obj;
    if (!obj) return;
    m_strName = obj->GetObjectName();
    m_strTypeName = obj->GetObjectTypeName();
    m_pLayer = AS(CGeoVectorLayer, obj->GetLayer());
    m_strLayerName = obj->GetLayer() ? obj->GetLayer()->GetObjectName() : CString();
    if (m_pLayer) m_theme = m_pLayer->m_Theme;
    m_nUnit = obj->GetUnit();
    if (auto* polygon = AS(CGeoPolygon, obj)) {
        m_bPolygon = 1;
        m_bOpenLine = 0;
        m_bHasElevation = 0;
        m_bPoint = m_bFace = m_bClosed = m_bSpline = 0;
        m_bLine = 1;
        m_dArea = polygon->Area();
        m_dLength = polygon->Length();
        m_nControlPoints = polygon->GetHandleCount();
        m_pObject = polygon->GetLabelPoint();
        m_bHasLabelPoint = m_pObject ? 1 : 0;
    } else {
        m_bPolygon = 0;
        int face = 0;
        if (ClosedShapeFace(obj, &face, nullptr)) {
            m_bClosed = 1;
            m_bFace = face;
        } else if (AS(CGeoPoint, obj)) {
            m_bPoint = 1;
        }
        m_bLine = AS(CGeoLine, obj) ? 1 : 0;
        m_bSpline = AS(CGeoSPLine, obj) ? 1 : 0;
        m_fElevation = static_cast<float>(obj->GetZ(0));
        if (m_bLine) m_nControlPoints = obj->GetHandleCount();
        if (m_bSpline) m_nInterpPoints = static_cast<CGeoSPLine*>(obj)->GetSplineIntpPoints();
        if (m_bPoint) m_fAngle = static_cast<float>(static_cast<CGeoPoint*>(obj)->GetDirect());
    }
    if (m_pObject) {
        m_nDisplayAttr = m_pObject->GetDisplayAttribute();
        m_nOldUserID = m_pObject->GetUserID();
        m_nOldClassCode = m_nClassCode = m_pObject->GetObjectClassID();
    }
}

BOOL CVectorNormalPropPage::OnInitDialog() {
    FillFromObject();
    CPropertyPage::OnInitDialog();

    // Measures, in metres and square metres whatever the object's unit.
    BOOL bMeasures = FALSE;
    if (m_bPolygon) {
        bMeasures = TRUE;
    } else if (m_pObject) {
        if (ClosedShapeFace(m_pObject, &m_bFace, &m_dArea)) {
            m_bOpenLine = 0;
            m_dLength = static_cast<CGeoLine*>(m_pObject)->Length();
            bMeasures = TRUE;
        } else if (auto* open = AS(CGeoOpenLine, m_pObject)) {
            m_bOpenLine = 1;
            m_dLength = open->Length();
            m_dArea = 0.0;
            bMeasures = TRUE;
        }
    }
    if (bMeasures) {
        m_dArea = ChangeSquareUnit(m_nUnit, kMetre, m_dArea);
        m_dLength = ChangeUnit(m_nUnit, kMetre, m_dLength, 1.0);
        static const char* const lengthUnits[4] = {"米", "毫米", "公里", "英寸"};
        static const char* const areaUnits[4] = {"平方米", "平方毫米", "平方公里", "平方英寸"};
        FillUnitList(m_cmbLengthUnit, lengthUnits);
        CString text;
        text.Format("%.3f", m_dLength);
        m_edtLength.SetWindowText(text);
        if (m_bOpenLine) {
            m_edtArea.ShowWindow(SW_HIDE);
            m_cmbAreaUnit.ShowWindow(SW_HIDE);
            m_stcArea.ShowWindow(SW_HIDE);
        } else {
            FillUnitList(m_cmbAreaUnit, areaUnits);
            m_stcLength.SetWindowText("周长:");
            text.Format("%.3f", m_dArea);
            m_edtArea.SetWindowText(text);
        }
    } else {
        for (UINT id : kMeasureIds) GetDlgItem(id)->ShowWindow(SW_HIDE);
    }

    RefreshClassFields();
    GetDlgItem(IDC_VN_FACE)->ShowWindow(m_bClosed ? SW_SHOW : SW_HIDE);
    GetDlgItem(IDC_VN_CONTROL_LABEL)->ShowWindow(m_bLine ? SW_SHOW : SW_HIDE);
    GetDlgItem(IDC_VN_CONTROL_POINTS)->ShowWindow(m_bLine ? SW_SHOW : SW_HIDE);
    GetDlgItem(IDC_VN_INTERP_LABEL)->ShowWindow(m_bSpline ? SW_SHOW : SW_HIDE);
    GetDlgItem(IDC_VN_INTERP_POINTS)->ShowWindow(m_bSpline ? SW_SHOW : SW_HIDE);
    ShowDirection();
    GetDlgItem(IDC_VN_ELEVATION)->EnableWindow(!m_bPolygon);

    // The record as it is now, for Cancel to put back.
    m_bHasRecord = 0;
    m_lstValues.RemoveAll();
    CGeoAttributeDatabase* db = m_pLayer ? m_pLayer->GetAttributeDatabase() : nullptr;
    m_bUserIDHadRecord = m_pObject && db && db->IsExistID(m_nOldUserID, 0) ? 1 : 0;
    if (m_bEditable && m_pObject && m_nClassCode && db && db->IsExistID(m_nOldUserID, m_nClassCode) &&
        db->GetIDValue(m_nOldUserID, &m_lstValues, m_nClassCode, "")) {
        m_nValueCount = static_cast<int>(m_lstValues.GetCount());
        m_bHasRecord = 1;
    }

    // A class can be chosen and a record edited only on an object of a vector layer.
    const BOOL bClassEditable = m_bEditable && m_bHasLabelPoint && m_pLayer;
    GetDlgItem(IDC_VN_ATTRIBUTES)->EnableWindow(m_nClassCode && m_bEditable && m_pObject && m_pLayer);
    GetDlgItem(IDC_VN_NAME)->EnableWindow(m_bEditable);
    GetDlgItem(IDC_VN_FACE)->EnableWindow(m_bEditable);
    for (UINT id : {IDC_VN_BY_LAYER, IDC_VN_BY_CLASS, IDC_VN_BY_SELF, IDC_VN_INTERP_POINTS, IDC_VN_ANGLE})
        GetDlgItem(id)->EnableWindow(m_bEditable && m_bHasLabelPoint);
    GetDlgItem(IDC_VN_PICK_CLASS)->EnableWindow(bClassEditable);
    ApplyElevationRule();
    return TRUE;
}

void CVectorNormalPropPage::RefreshClassFields() {
    if (!m_pObject) return;
    const UINT code = m_pObject->GetObjectClassID();
    m_nClassCode = code;
    const CGeoGClass* gc = m_pLayer ? m_pLayer->m_Theme.FindGCPtr(code) : nullptr;
    m_strClassName = gc ? gc->GetGCName() : CString();
    if (m_bPoint) m_bDirected = gc && (gc->GetType() & GCT_POINT_DIRECTED) ? 1 : 0;
    UpdateData(FALSE);
}

void CVectorNormalPropPage::ApplyElevationRule() {
    if (!m_bHasElevation) return;
    const UINT code = m_pObject ? m_pObject->GetObjectClassID() : 0;
    const CGeoGClass* gc = m_pLayer ? m_pLayer->m_Theme.FindGCPtr(code) : nullptr;
    const BOOL bWritable = (!gc || gc->IsElevationValid()) && m_bEditable;
    static_cast<CEdit*>(GetDlgItem(IDC_VN_ELEVATION))->SetReadOnly(!bWritable);
}

void CVectorNormalPropPage::ShowDirection() {
    const int show = m_bPoint && m_bDirected ? SW_SHOW : SW_HIDE;
    GetDlgItem(IDC_VN_ANGLE_LABEL)->ShowWindow(show);
    GetDlgItem(IDC_VN_ANGLE)->ShowWindow(show);
}

void CVectorNormalPropPage::OnChanged() { SetModified(TRUE); }

void CVectorNormalPropPage::OnElevationChanged() {
    m_bElevationEdited = 1;
    SetModified(TRUE);
}

void CVectorNormalPropPage::OnAngleChanged() {
    m_bAngleEdited = 1;
    SetModified(TRUE);
}

void CVectorNormalPropPage::OnLengthUnit() {
    const int sel = m_cmbLengthUnit.GetCurSel();
    if (sel < 0) return;
    const int unit = static_cast<int>(m_cmbLengthUnit.GetItemData(sel));
    CString text;
    text.Format("%.3f", ChangeUnit(kMetre, unit, m_dLength, 1.0));
    m_edtLength.SetWindowText(text);
}

void CVectorNormalPropPage::OnAreaUnit() {
    const int sel = m_cmbAreaUnit.GetCurSel();
    if (sel < 0) return;
    const int unit = static_cast<int>(m_cmbAreaUnit.GetItemData(sel));
    CString text;
    text.Format("%.3f", ChangeSquareUnit(kMetre, unit, m_dArea));
    m_edtArea.SetWindowText(text);
}

void CVectorNormalPropPage::OnAttributes() {
    if (!m_pObject) return;
    UpdateData(TRUE);
    CADBValueDlg dlg;
    if (dlg.InitData(m_pObject)) {
        dlg.DoModal();
        if (dlg.GetRetCode() != 0) m_bRecordTouched = 1;
    }
}

void CVectorNormalPropPage::OnPickClass() {
    if (!m_pObject || !m_pLayer) return;
    UpdateData(TRUE);
    CPickGCDlg picker(nullptr);
    picker.m_Theme = m_pLayer->m_Theme;
    picker.m_nCode = m_nClassCode;
    picker.m_pSymbolLib = nullptr;
    if (picker.DoModal() == IDOK) {
        // Classes made or edited in the picker belong to the layer from now on (Cancel takes them back).
        m_pLayer->m_Theme = picker.m_Theme;
        if (picker.m_nCode != m_nClassCode && !ChangeClass(picker.m_nCode)) return;
        SetModified(TRUE);
    }
    ShowDirection();
    GetDlgItem(IDC_VN_ATTRIBUTES)->EnableWindow(m_nClassCode != 0);
    ApplyElevationRule();
}

BOOL CVectorNormalPropPage::ChangeClass(UINT nNewCode) {
    const UINT nUserID = m_pObject->GetUserID();
    CGeoAccessorialObjectList sharing;
    m_pLayer->FindUserObj(nUserID, sharing);
    const int nSharing = static_cast<int>(sharing.GetCount());
    CGeoAttributeDatabase* db = m_pLayer->GetAttributeDatabase();
    if (db && db->IsExistID(nUserID, 0)) {
        if (AfxMessageBox("该地物的属性信息已输入属性数据库中，改变地物类编码将有可能丢失属性数据！是否继续?",
                          MB_OKCANCEL) != IDOK)
            return TRUE;
        CList<COleVariant, COleVariant&> values;
        if (!db->GetIDValue(nUserID, &values, m_nClassCode, "")) {
            AfxMessageBox("获取对象属性信息错误，地物类编码没有改动!");
            return FALSE;
        }
        return MigrateRecord(nNewCode, nSharing, values);
    }
    if (nSharing > 1) m_pObject->SetUserID(static_cast<UINT>(m_pLayer->AssignID()));
    m_nClassCode = nNewCode;
    m_pObject->SetObjectClassID(nNewCode);
    m_bRecordTouched = 1;
    RefreshClassFields();
    return TRUE;
}

BOOL CVectorNormalPropPage::MigrateRecord(UINT nNewCode, int nSharing, CList<COleVariant, COleVariant&>& oldValues) {
    const UINT nOldCode = m_nClassCode;
    const UINT nOldUserID = m_pObject->GetUserID();
    CGeoAttributeDatabase* db = m_pLayer->GetAttributeDatabase();
    const BOOL bTableExisted = db->IsExistGC(nNewCode);
    // A shared record stays with the objects that share it; an own record goes before the new one is
    // written (records are keyed by user ID across every table).
    if (nSharing > 1)
        m_pObject->SetUserID(static_cast<UINT>(m_pLayer->AssignID()));
    else
        m_pLayer->RemoveAttribute(m_pObject, 1);
    CGeoGClass oldClass, newClass;
    m_pLayer->GetGClass(nOldCode, oldClass);
    m_pLayer->GetGClass(nNewCode, newClass);
    const int nCommon = m_pLayer->m_Theme.GetFieldCount();
    const int nNew = newClass.GetFieldCount();
    const int nOld = oldClass.GetFieldCount();
    const int nTotal = nCommon + nNew;
    m_nClassCode = nNewCode;
    m_pObject->SetObjectClassID(nNewCode);
    m_bRecordTouched = 1;

    // Required fields of the new class are relaxed while the record is written, since the old record
    // cannot fill them.
    auto storeClass = [&] {
        const int index = m_pLayer->m_Theme.FindGC(nNewCode);
        if (index >= 0) m_pLayer->m_Theme.SetGC(index, newClass);
    };
    CStringList relaxed;
    CDaoFieldInfo info;
    for (int i = 0; i < nNew; ++i)
        if (newClass.GetFieldInfo(i, info) && info.m_bRequired) {
            relaxed.AddTail(info.m_strName);
            info.m_bRequired = FALSE;
            newClass.SetFieldInfo(i, info);
        }
    if (!relaxed.IsEmpty()) storeClass();

    BOOL bWritten = TRUE;
    if (nTotal > 0) {
        std::vector<COleVariant> old;
        for (POSITION pos = oldValues.GetHeadPosition(); pos;) old.push_back(oldValues.GetNext(pos));
        std::vector<COleVariant> values(static_cast<size_t>(nTotal));
        for (int i = 0; i < nCommon && i < static_cast<int>(old.size()); ++i) values[i] = old[i];
        BOOL bCopied = FALSE;
        CDaoFieldInfo oldField, newField;
        for (int i = 0; i < nOld && nCommon + i < static_cast<int>(old.size()); ++i) {
            if (!oldClass.GetFieldInfo(i, oldField)) continue;
            const int m = newClass.FindField(oldField.m_strName);
            if (m < 0 || !newClass.GetFieldInfo(m, newField) || newField.m_nType != oldField.m_nType) continue;
            if (oldField.m_nType == dbText && newField.m_lSize < oldField.m_lSize) continue;
            values[nCommon + m] = old[nCommon + i];
            bCopied = TRUE;
        }
        if (nCommon > 0 || bCopied) {
            CList<COleVariant, COleVariant&> list;
            for (COleVariant& v : values) list.AddTail(v);
            if (bTableExisted && !relaxed.IsEmpty()) db->SetFieldsCanNULL(relaxed, 1, nNewCode);
            bWritten = m_pLayer->SetAttribute(m_pObject, &list);
            if (CGeoAttributeDatabase* now = m_pLayer->GetAttributeDatabase())
                if (!relaxed.IsEmpty() && now->IsExistGC(nNewCode)) now->SetFieldsCanNULL(relaxed, 0, nNewCode);
        }
    }
    if (!relaxed.IsEmpty()) {
        for (int i = 0; i < nNew; ++i)
            if (newClass.GetFieldInfo(i, info) && relaxed.Find(info.m_strName)) {
                info.m_bRequired = TRUE;
                newClass.SetFieldInfo(i, info);
            }
        storeClass();
    }
    if (!bWritten) {
        // The record could not take its new place: the object keeps its class, user ID and record.
        m_pObject->SetObjectClassID(nOldCode);
        m_nClassCode = nOldCode;
        if (nSharing > 1)
            m_pObject->SetUserID(nOldUserID);
        else
            m_pLayer->SetAttribute(m_pObject, &oldValues);
        RefreshClassFields();
        AfxMessageBox("属性数据无法写入新地物类，地物类编码没有改动!");
        return FALSE;
    }
    RefreshClassFields();
    return TRUE;
}

void CVectorNormalPropPage::OnOK() { CPropertyPage::OnOK(); }

BOOL CVectorNormalPropPage::OnApply() {
    if (!UpdateData(TRUE)) return FALSE;
    return CPropertyPage::OnApply();
}

void CVectorNormalPropPage::OnCancel() {
    if (m_bEditable && m_pLayer) {
        m_pLayer->m_Theme = m_theme;
        if (m_pObject && m_bRecordTouched) {
            // Only what the page did is undone: a record under a user ID given here, or under the old
            // user ID in a new class, or one the page wrote where none was, goes; the record read at
            // open is put back.
            const BOOL bSameKey =
                m_pObject->GetUserID() == m_nOldUserID && m_pObject->GetObjectClassID() == m_nOldClassCode;
            if (m_pLayer->GetAttributeDatabase() && (!bSameKey || (!m_bHasRecord && !m_bUserIDHadRecord)))
                m_pLayer->RemoveAttribute(m_pObject, 1);
            m_pObject->SetUserID(m_nOldUserID);
            m_pObject->SetObjectClassID(m_nOldClassCode);
            if (m_bHasRecord) m_pLayer->SetAttribute(m_pObject, &m_lstValues);
        }
    }
    CPropertyPage::OnCancel();
}
