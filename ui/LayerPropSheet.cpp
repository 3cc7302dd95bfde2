#include "ui/LayerPropSheet.h"

#include <map>

#include <tamsel/GeoAttributeDatabase.h>

#include "core/FlagInfo.h"
#include "core/GeoClassEdit.h"
#include "core/GeoFieldList.h"
#include "core/GeoVectorLayer.h"
#include "raster/GeoImageLayer.h"
#include "ui/StylePageGroup.h"
#include "terrain/GeoDEMLayer.h"

IMPLEMENT_DYNAMIC(CLayerPropSheet, CTPropertySheet)

BEGIN_MESSAGE_MAP(CLayerPropSheet, CTPropertySheet)
    ON_MESSAGE(WM_LAYERNORMAL_CHANGED, OnLayerNormalChanged)
    ON_MESSAGE(WM_GEOVIEW_CHANGED, OnGeoViewChanged)
    ON_MESSAGE(WM_GEOVIEW_CHANGING, OnGeoViewChanging)
    ON_MESSAGE(WM_FIELDINFO_CHANGED, OnFieldInfoChanged)
    ON_MESSAGE(WM_LAYERGC_CHANGED, OnLayerGCChanged)
END_MESSAGE_MAP()

// What the pages applied last, kept until the sheet closes: each page sends its whole state, so the
// latest message of a page stands for all earlier ones.
struct CLayerPropSheet::tagPending {
    bool bGeneral = false;
    tagLayerNormalData general{"", 0, 0, 0};
    bool bGeoView = false;
    bool bFields = false;
    CPtrList fields;  // CDaoFieldInfo*, owned
    CObList flags;    // CFlagInfo*, owned
    bool bClasses = false;
    CGeoGClassList classes;  // owned
    CUIntArray oldCodes, newCodes;

    ~tagPending() {
        ClearFieldInfoList(&fields);
        ClearFlagInfoList(&flags);
        ClearClasses();
    }
    void ClearClasses() {
        for (POSITION p = classes.GetHeadPosition(); p;) classes.GetNext(p)->Remove();
        classes.RemoveAll();
    }
};

CLayerPropSheet::CLayerPropSheet(UINT nIDCaption, CGeoLayer* pLayer, CSymbolLibIO* pLib, int bViewOnly,
                                 CWnd* pParentWnd, UINT iSelectPage)
    : CTPropertySheet(nIDCaption, pParentWnd, iSelectPage), m_NormalPage(""), m_pPending(new tagPending) {
    InitSheet(pLayer, pLib, bViewOnly);
}

CLayerPropSheet::CLayerPropSheet(LPCTSTR pszCaption, CGeoLayer* pLayer, CSymbolLibIO* pLib, int bViewOnly,
                                 CWnd* pParentWnd, UINT iSelectPage)
    : CTPropertySheet(pszCaption, pParentWnd, iSelectPage), m_NormalPage(""), m_pPending(new tagPending) {
    InitSheet(pLayer, pLib, bViewOnly);
}

CLayerPropSheet::~CLayerPropSheet() = default;

int CLayerPropSheet::GetLayerType(CGeoLayer* pLayer) {
    if (!pLayer || !pLayer->IsKindOf(RUNTIME_CLASS(CGeoLayer))) return 0;
    if (pLayer->IsKindOf(RUNTIME_CLASS(CGeoVectorLayer))) return 2;
    if (pLayer->IsKindOf(RUNTIME_CLASS(CGeoDEMLayer))) return 4;
    if (pLayer->IsKindOf(RUNTIME_CLASS(CGeoImageLayer))) return 3;
    return 1;
}

int CLayerPropSheet::IsModifyPos(CUIntArray& positions) {
    for (INT_PTR i = 0; i + 1 < positions.GetSize(); ++i)
        if (positions[i] > positions[i + 1]) return 1;
    return 0;
}

int CLayerPropSheet::FindGC(UINT nCode, CGeoGClassList* pList) {
    int i = 0;
    for (POSITION p = pList->GetHeadPosition(); p; ++i)
        if (pList->GetNext(p)->GetGCID() == nCode) return i;
    return -1;
}

void CLayerPropSheet::InitSheet(CGeoLayer* pLayer, CSymbolLibIO* pLib, int bViewOnly) {
    m_pGeoLayer = pLayer;
    if (pLayer) pLayer->Modified(0);
    m_pSymbolLib = pLib;
    m_bViewOnly = bViewOnly;
    const int type = GetLayerType(pLayer);
    if (type == 3 || type == 4) {
        auto* raster = static_cast<CGeoRasterLayer*>(pLayer);
        m_NormalPage.SetData(type, raster->GetFileName(), raster->GetObjectName(), raster->GetBuiltDateTime(),
                             raster->CanBeEdited(), bViewOnly, static_cast<UINT>(raster->GetObjectCount()),
                             raster->IsAutoSize(), 0);
    } else if (type == 2) {
        auto* vector = static_cast<CGeoVectorLayer*>(pLayer);
        m_NormalPage.SetData(type, vector->GetFileName(), vector->GetObjectName(), vector->GetBuiltDateTime(),
                             vector->CanBeEdited(), bViewOnly, static_cast<UINT>(vector->GetObjectCount()), 0,
                             vector->GetLayerType());
    } else {
        return;
    }
    AddPage(&m_NormalPage);
    if (type != 2) return;
    auto* vector = static_cast<CGeoVectorLayer*>(pLayer);
    m_GeoView = vector->GetGeoView();
    AddStylePages(*this, m_StylePage, m_PointPage, m_LinePage, m_PolygonPage, m_AnnoPage, &m_GeoView, pLib, bViewOnly, 0,
                  50, 50);
    CPtrList fields;
    CDaoFieldInfo info;
    for (int i = 0; i < vector->m_Theme.GetFieldCount(); ++i)
        if (vector->m_Theme.GetFieldInfo(i, info)) fields.AddTail(new CDaoFieldInfo(info));
    m_FieldPage.SetData(&fields, &vector->m_Theme.m_FlagInfoList, bViewOnly);
    ClearFieldInfoList(&fields);
    AddPage(&m_FieldPage);
    m_GCPage.SetData(vector, pLib, bViewOnly);
    AddPage(&m_GCPage);
}

INT_PTR CLayerPropSheet::DoModal() {
    const INT_PTR result = CTPropertySheet::DoModal();
    // A view-only sheet shows the layer; nothing it reports may change it.
    if (result != 1 || m_bViewOnly || !m_pGeoLayer) return result;
    tagPending& pending = *m_pPending;
    if (pending.bGeneral) WriteGeneral();
    if (GetLayerType(m_pGeoLayer) == 2) {
        auto* vector = static_cast<CGeoVectorLayer*>(m_pGeoLayer);
        if (pending.bGeoView) {
            vector->SetGeoView(m_GeoView);
            vector->Modified(1);
        }
        if (pending.bFields) WriteFields(vector);
        if (pending.bClasses) WriteClasses(vector);
    }
    return result;
}

LRESULT CLayerPropSheet::OnLayerNormalChanged(WPARAM, LPARAM lParam) {
    if (auto* data = reinterpret_cast<tagLayerNormalData*>(lParam)) {
        m_pPending->general = *data;
        m_pPending->bGeneral = true;
    }
    return 0;
}

LRESULT CLayerPropSheet::OnGeoViewChanged(WPARAM, LPARAM) {
    // The style pages wrote into m_GeoView already.
    m_pPending->bGeoView = true;
    return 0;
}

LRESULT CLayerPropSheet::OnGeoViewChanging(WPARAM wParam, LPARAM lParam) {
    if (auto* view = reinterpret_cast<GEOVIEW*>(lParam)) m_StylePage.UpdatePart(*view, static_cast<int>(wParam));
    return 0;
}

LRESULT CLayerPropSheet::OnFieldInfoChanged(WPARAM, LPARAM lParam) {
    auto* data = reinterpret_cast<tagFieldPageData*>(lParam);
    if (!data) return 0;
    tagPending& pending = *m_pPending;
    ClearFieldInfoList(&pending.fields);
    if (data->pFieldList) CopyFieldInfoList(&pending.fields, data->pFieldList);
    ClearFlagInfoList(&pending.flags);
    if (data->pFlagInfoList) CopyFlagInfoList(&pending.flags, data->pFlagInfoList);
    pending.bFields = true;
    return 0;
}

LRESULT CLayerPropSheet::OnLayerGCChanged(WPARAM, LPARAM lParam) {
    auto* data = reinterpret_cast<tagLayerGCData*>(lParam);
    if (!data) return 0;
    tagPending& pending = *m_pPending;
    pending.ClearClasses();
    if (data->pClassList)
        for (POSITION p = data->pClassList->GetHeadPosition(); p;)
            if (CGeoGClass* gc = data->pClassList->GetNext(p)) pending.classes.AddTail(new CGeoGClass(*gc));
    pending.oldCodes.RemoveAll();
    pending.newCodes.RemoveAll();
    // Only complete pairs mean anything.
    if (data->pOldCodes && data->pNewCodes)
        for (INT_PTR i = 0; i < data->pNewCodes->GetSize() && i < data->pOldCodes->GetSize(); ++i) {
            pending.oldCodes.Add((*data->pOldCodes)[i]);
            pending.newCodes.Add((*data->pNewCodes)[i]);
        }
    pending.bClasses = true;
    return 0;
}

void CLayerPropSheet::WriteGeneral() {
    const tagLayerNormalData& data = m_pPending->general;
    CGeoLayer* layer = m_pGeoLayer;
    layer->SetObjectName(data.strName);
    if (!data.bEditable != !layer->CanBeEdited()) {
        if (data.bEditable && layer->IsLockEditable())
            AfxMessageBox("图层[" + layer->GetObjectName() + "]的属性数据库只能以只读方式打开, 图层不能设为可编辑!",
                          MB_OK | MB_ICONEXCLAMATION);
        else
            layer->Editable(data.bEditable);
    }
    const int type = GetLayerType(layer);
    if (type == 3 || type == 4) {
        auto* raster = static_cast<CGeoRasterLayer*>(layer);
        if (!data.bAutoSize != !raster->IsAutoSize()) raster->AutoSize(data.bAutoSize);
    } else if (type == 2) {
        static_cast<CGeoVectorLayer*>(layer)->SetLayerType(data.nLayerType);
    }
    layer->Modified(1);
}

bool CLayerPropSheet::SchemaChangeable(CGeoVectorLayer* pLayer) {
    if (!pLayer->HasUnopenedDatabase()) return true;
    AfxMessageBox("图层[" + pLayer->GetObjectName() +
                      "]的属性数据库无法打开, 字段和地物类的修改没有保存, 以免图层与属性数据库不再一致!",
                  MB_OK | MB_ICONEXCLAMATION);
    return false;
}

void CLayerPropSheet::WriteFields(CGeoVectorLayer* pLayer) {
    if (!SchemaChangeable(pLayer)) return;
    tagPending& pending = *m_pPending;
    CGeoTheme& theme = pLayer->m_Theme;
    CGeoAttributeDatabase* pDB = pLayer->GetAttributeDatabase();
    if (pDB) {
        CGeoGClass edited;
        for (POSITION p = pending.fields.GetHeadPosition(); p;)
            edited.AddField(*static_cast<CDaoFieldInfo*>(pending.fields.GetNext(p)), -2);
        CopyFlagInfoList(&edited.m_FlagInfoList, &pending.flags);
        CStringArray refused;
        ApplyFieldEdits(pDB, 0, theme, edited, refused);
        ReportRefusedFields(refused);
    } else {
        theme.DeleteAllFields();
        for (POSITION p = pending.fields.GetHeadPosition(); p;)
            theme.AddField(*static_cast<CDaoFieldInfo*>(pending.fields.GetNext(p)), -2);
    }
    // The records are used up either way: without a database there is no stored field for them to name,
    // and the database's fields are made from the theme's when it is created.
    ClearFlagInfoList(&theme.m_FlagInfoList);
    pLayer->Modified(1);
}

void CLayerPropSheet::WriteClasses(CGeoVectorLayer* pLayer) {
    if (!SchemaChangeable(pLayer)) return;
    tagPending& pending = *m_pPending;
    CGeoTheme& theme = pLayer->m_Theme;
    CGeoAttributeDatabase* pDB = pLayer->GetAttributeDatabase();

    // Renumbering first, so that the classes below meet their tables and objects under the new codes.
    // A renumbering that cannot be made keeps the class under its old code, where it takes the page's
    // edit all the same (refusedNew: the page's code -> the code the class kept).
    std::map<UINT, UINT> refusedNew, keptAs;
    for (INT_PTR i = 0; i < pending.newCodes.GetSize(); ++i) {
        const UINT oldCode = pending.oldCodes[i], newCode = pending.newCodes[i];
        if (theme.FindGC(oldCode) < 0) continue;
        if (!RenumberGeoClass(pLayer, oldCode, newCode)) {
            refusedNew[newCode] = oldCode;
            keptAs[oldCode] = newCode;
        }
    }

    CGeoGClass gc;
    for (int i = 0; i < theme.GetGCCount(); ++i) {
        theme.GetGC(i, gc);
        const UINT code = gc.GetGCID();
        const auto kept = keptAs.find(code);
        const UINT pageCode = kept != keptAs.end() ? kept->second : code;
        const int k = FindGC(pageCode, &pending.classes);
        const bool hasTable = pDB && pDB->IsExistGC(code);
        if (k < 0) {
            if (hasTable) {
                if (pDB->GetIDCount(code) > 0) {
                    const CString question = "数据库中已经有相关属性数据，删除地物类(" + gc.GetGCName() +
                                             ")将删除记录信息，是否继续？";
                    if (AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION) != IDYES) continue;
                }
                if (!pDB->DeleteGC(code)) {
                    // Objects moved to no class would leave their records behind in the table.
                    CString text;
                    text.Format("数据库不能删除地物类[%u]的属性表，地物类(", code);
                    AfxMessageBox(text + gc.GetGCName() + ")及其对象保持原样。", MB_OK | MB_ICONEXCLAMATION);
                    continue;
                }
            }
            theme.DeleteGC(i);
            --i;
            MoveObjectsToClass(pLayer, code, 0);
            continue;
        }
        CGeoGClass edited = *pending.classes.GetAt(pending.classes.FindIndex(k));
        edited.SetGCID(code);
        ApplyGeoClassEdit(pLayer, code, edited);
    }

    for (POSITION p = pending.classes.GetHeadPosition(); p;) {
        CGeoGClass added = *pending.classes.GetNext(p);
        if (theme.FindGC(added.GetGCID()) >= 0 || refusedNew.count(added.GetGCID())) continue;
        ClearFlagInfoList(&added.m_FlagInfoList);
        theme.AddGC(added, -2);
    }
    pLayer->Modified(1);
}

int RunLayerPropSheet(CGeoLayer* pLayer, CSymbolLibIO* pLib, int bViewOnly) {
    CLayerPropSheet sheet("图层属性", pLayer, pLib, bViewOnly, nullptr, 0);
    return static_cast<int>(sheet.DoModal());
}
