#include "core/GeoClassEdit.h"

#include <algorithm>
#include <vector>

#include <tamsel/GeoAttributeDatabase.h>

#include "core/GeoVectorLayer.h"
#include "core/GeoVectorObject.h"

namespace {

PFN_GCLASS_SHEET g_pfnSheet = nullptr;

// Field descriptions compare by what the field dialogs edit.
bool SameField(const CDaoFieldInfo& a, const CDaoFieldInfo& b) {
    return a.m_strName.Compare(b.m_strName) == 0 && a.m_nType == b.m_nType && a.m_lSize == b.m_lSize &&
           a.m_bRequired == b.m_bRequired && a.m_strDefaultValue.Compare(b.m_strDefaultValue) == 0;
}

}  // namespace

template <class THolder>
void ApplyFieldEdits(CGeoAttributeDatabase* pDB, UINT nCode, THolder& stored, const CGeoGClass& edited,
                     CStringArray& refused) {
    const bool hasRecords = pDB->GetIDCount(nCode) > 0;
    CDaoFieldInfo field, change;
    for (POSITION p = edited.m_FlagInfoList.GetHeadPosition(); p;) {
        const auto* pFlag = static_cast<const CFlagInfo*>(edited.m_FlagInfoList.GetNext(p));
        if (!pFlag) continue;
        if (!pFlag->m_strOldName.IsEmpty() && pFlag->m_nState == 1) {
            const int i = stored.FindField(pFlag->m_strOldName);
            const int j = edited.FindField(pFlag->m_strNewName);
            if (i < 0 || j < 0) continue;
            stored.GetFieldInfo(i, field);
            edited.GetFieldInfo(j, change);
            if (SameField(field, change)) continue;
            if (pDB->ModifyFieldInfo(pFlag->m_strOldName, change, nCode))
                stored.SetFieldInfo(i, change);
            else
                refused.Add(pFlag->m_strOldName);
        } else if (!pFlag->m_strOldName.IsEmpty() && pFlag->m_nState == 2) {
            const int i = stored.FindField(pFlag->m_strOldName);
            if (i < 0) continue;
            if (hasRecords) {
                const CString question =
                    "数据库中已经有记录，删除字段(" + pFlag->m_strOldName + ") 将删除字段内容，是否继续？";
                if (AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION) != IDYES) continue;
            }
            if (pDB->DeleteField(pFlag->m_strOldName, nCode))
                stored.DeleteField(i);
            else
                refused.Add(pFlag->m_strOldName);
        } else if (pFlag->m_strOldName.IsEmpty()) {
            const int j = edited.FindField(pFlag->m_strNewName);
            if (j < 0) continue;
            edited.GetFieldInfo(j, change);
            if (pDB->AddField(change, nCode, -1))
                stored.AddField(change, -2);
            else
                refused.Add(pFlag->m_strNewName);
        }
    }

    // The order the edited fields give, where the stored fields are out of it; fields the edited list
    // lacks (a deletion declined or refused) go last.
    const int n = stored.GetFieldCount();
    if (n <= 1) return;
    CUIntArray positions;
    CStringArray names;
    bool outOfOrder = false;
    for (int i = 0; i < n; ++i) {
        stored.GetFieldInfo(i, field);
        positions.Add(static_cast<UINT>(edited.FindField(field.m_strName)));
        names.Add(field.m_strName);
        if (i > 0 && positions[i - 1] > positions[i]) outOfOrder = true;
    }
    if (!outOfOrder || !pDB->SetFieldPos(positions, names, nCode)) return;
    std::vector<std::pair<UINT, int>> order;
    for (int i = 0; i < n; ++i) order.emplace_back(positions[i], i);
    std::stable_sort(order.begin(), order.end(),
                     [](const std::pair<UINT, int>& a, const std::pair<UINT, int>& b) { return a.first < b.first; });
    std::vector<CDaoFieldInfo> fields;
    for (auto& o : order) {
        stored.GetFieldInfo(o.second, field);
        fields.push_back(field);
    }
    stored.DeleteAllFields();
    for (CDaoFieldInfo& f : fields) stored.AddField(f, -2);
}

template void ApplyFieldEdits<CGeoGClass>(CGeoAttributeDatabase*, UINT, CGeoGClass&, const CGeoGClass&, CStringArray&);
template void ApplyFieldEdits<CGeoTheme>(CGeoAttributeDatabase*, UINT, CGeoTheme&, const CGeoGClass&, CStringArray&);

void ReportRefusedFields(const CStringArray& refused) {
    if (refused.GetSize() == 0) return;
    CString list;
    for (INT_PTR i = 0; i < refused.GetSize(); ++i) list += (i ? "、" : "") + refused[i];
    AfxMessageBox("数据库拒绝了以下字段的修改，这些字段保持原样：" + list, MB_OK | MB_ICONEXCLAMATION);
}

void MoveObjectsToClass(CGeoVectorLayer* pLayer, UINT nOldCode, UINT nNewCode) {
    if (!pLayer || nOldCode == nNewCode) return;
    for (POSITION p = pLayer->m_ObjList.GetHeadPosition(); p;) {
        auto* pObject = static_cast<CGeoVectorObject*>(pLayer->m_ObjList.GetNext(p));
        if (pObject->GetObjectClassID() == nOldCode) pObject->SetObjectClassID(nNewCode);
    }
}

int RenumberGeoClass(CGeoVectorLayer* pLayer, UINT nOldCode, UINT nNewCode) {
    if (!pLayer) return 0;
    CGeoTheme& theme = pLayer->m_Theme;
    const int index = theme.FindGC(nOldCode);
    if (index < 0) return 0;
    if (nOldCode == nNewCode) return 1;
    const int other = theme.FindGC(nNewCode);
    CGeoAttributeDatabase* pDB = pLayer->GetAttributeDatabase();
    // The table goes first: objects that took a code whose table the database refused would lose their
    // records. Two classes of one code would share their objects and table for good.
    if (nNewCode == 0 || other >= 0 || (pDB && pDB->IsExistGC(nOldCode) && !pDB->ModifyGCID(nOldCode, nNewCode))) {
        CString text;
        text.Format("数据库不能把地物类编码%u改为%u，地物类没有改变。", nOldCode, nNewCode);
        if (nNewCode == 0 || other >= 0)
            text.Format("地物类编码%u已被使用，地物类[%u]没有改为这个编码。", nNewCode, nOldCode);
        AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    CGeoGClass gc;
    theme.GetGC(index, gc);
    gc.SetGCID(nNewCode);
    theme.SetGC(index, gc);
    MoveObjectsToClass(pLayer, nOldCode, nNewCode);
    return 1;
}

PFN_GCLASS_SHEET SetGClassSheetHook(PFN_GCLASS_SHEET pfn) {
    PFN_GCLASS_SHEET previous = g_pfnSheet;
    g_pfnSheet = pfn;
    return previous;
}

PFN_GCLASS_SHEET GetGClassSheetHook() { return g_pfnSheet; }

int EditGeoClass(CGeoVectorLayer* pLayer, UINT nCode, CSymbolLibIO* pLib, int bViewOnly) {
    if (!pLayer) return 0;
    CGeoTheme& theme = pLayer->m_Theme;
    const int index = theme.FindGC(nCode);
    if (index < 0) return 0;
    CGeoGClass stored;
    theme.GetGC(index, stored);
    CObList others;
    CGeoGClass gc;
    for (int i = 0; i < theme.GetGCCount(); ++i)
        if (i != index && theme.GetGC(i, gc)) others.AddTail(new CGeoGClass(gc));
    CGeoGClass edited;
    const int modified = g_pfnSheet ? g_pfnSheet(&others, &stored, pLib, bViewOnly, &edited) : 0;
    for (POSITION p = others.GetHeadPosition(); p;) static_cast<CGeoGClass*>(others.GetNext(p))->Remove();
    others.RemoveAll();
    // A view-only sheet cannot change anything, whatever it reports.
    if (!modified || bViewOnly) return 0;
    return ApplyGeoClassEdit(pLayer, nCode, edited);
}

int ApplyGeoClassEdit(CGeoVectorLayer* pLayer, UINT nCode, const CGeoGClass& edited) {
    if (!pLayer) return 0;
    CGeoTheme& theme = pLayer->m_Theme;
    const int index = theme.FindGC(nCode);
    if (index < 0) return 0;
    CGeoGClass stored;
    theme.GetGC(index, stored);
    CGeoAttributeDatabase* pDB = pLayer->GetAttributeDatabase();
    const UINT newCode = edited.GetGCID();

    if (newCode != nCode && !RenumberGeoClass(pLayer, nCode, newCode)) return 0;

    CGeoGClass result = edited;
    ClearFlagInfoList(&result.m_FlagInfoList);
    if (pDB && pDB->IsExistGC(newCode)) {
        stored.SetGCID(newCode);
        stored.SetGCName(edited.GetGCName());
        stored.SetGeoView(edited.GetGeoView());
        UINT nMin = 0, nMax = 0;
        edited.GetMinMaxScale(nMin, nMax);
        stored.SetMinMaxScale(nMin, nMax);
        stored.SetType(edited.GetType());
        stored.ValidElevation(edited.IsElevationValid());
        // The letter size is no attribute of the table; it goes with the rest of the class.
        UINT w = 50, h = 50;
        CGeoGClass sizeProbe = edited;
        sizeProbe.SetType(sizeProbe.GetType() | GCT_ANNO);
        sizeProbe.GetFontSize(w, h);
        stored.SetFontSize(w, h);

        CStringArray refused;
        ApplyFieldEdits(pDB, newCode, stored, edited, refused);
        ReportRefusedFields(refused);
        ClearFlagInfoList(&stored.m_FlagInfoList);
        result = stored;
    }
    theme.SetGC(index, result);
    pLayer->Modified(1);
    return 1;
}
