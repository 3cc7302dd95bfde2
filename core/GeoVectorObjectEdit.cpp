// Editing entry points of vector objects: hit test, snapping gate, mirroring, the property sheet and
// the symbol-width dialog. The shapes supply the hooks these call (Intersects, GetSnapPointA, OnMirror,
// AfterMirrorRecalcBounds).
#include "core/GeoVectorObject.h"

#include "core/DialogHooks.h"
#include "core/GeoLayer.h"
#include "core/GeoSettings.h"
#include "core/GeoVectorLayer.h"

#include <quenby/SymbolLibIO.h>

#include <cstdint>

namespace {

// a - b, held to the LONG range.
LONG ClampedDifference(LONG a, LONG b)
{
    const int64_t d = static_cast<int64_t>(a) - b;
    return d > INT32_MAX ? INT32_MAX : (d < INT32_MIN ? INT32_MIN : static_cast<LONG>(d));
}

}  // namespace

int CGeoVectorObject::NormalHitTest(CPoint point, UINT scale, CPoint origin, CPoint offset) const
{
    int rx = 0, ry = 0;
    GetSelRectRadius(rx, ry);
    // The selection square around the device point, taken back to object coordinates (with the display
    // translation when it is on).
    const RECT device = {point.x - rx, point.y - ry, point.x + rx, point.y + ry};
    const CRect rect = LPtoRP(scale, origin, offset, device, -1);
    return Intersects(rect, SELOBJ_MEET);
}

int CGeoVectorObject::GetSnapPoint(CPoint& point, CRect box, int& nIndex, SNAPTYPE type, LONG lParam)
{
    if (type == SNAP_NONE || !EnvelopmentIntersects(box)) return 0;
    return GetSnapPointA(point, box, nIndex, type, lParam);
}

int CGeoVectorObject::Mirror(POINT a, POINT b)
{
    if (!CanBeEdited()) return 0;
    if (CGeoLayer* pLayer = GetLayer()) {
        // The axis arrives in the layer's frame; the object's coordinates are relative to the layer's
        // top-left corner.
        const CPoint base = pLayer->GetBoundsInMillimeter().TopLeft();
        a = POINT{ClampedDifference(a.x, base.x), ClampedDifference(a.y, base.y)};
        b = POINT{ClampedDifference(b.x, base.x), ClampedDifference(b.y, base.y)};
    }
    if (!OnMirror(a, b)) return 0;
    AfterMirrorRecalcBounds();
    return 1;
}

int CGeoVectorObject::EditProperties(int nFirst, int bViewOnly, void* pParam)
{
    if (nFirst) return 0;
    return NewEditProperties(CanBeEdited() ? bViewOnly : 1, static_cast<tagPropertyParam*>(pParam));
}

int CGeoVectorObject::NewEditProperties(int bViewOnly, tagPropertyParam* pParam)
{
    // The sheet lives on the dialog floor, which also writes the confirmed edits back: it knows the
    // shapes whose options the sheet shows.
    if (const ObjectSheetHook hook = GetObjectSheetHook()) return hook(this, bViewOnly, pParam);
    OnPropertyPageCancel();
    return 0;
}

int CGeoVectorObject::EditSymbolAttribute(CSymbolLibIO* pLib, int nSymbol, int)
{
    if (!CanEditSymbolAttribute()) return 0;
    CString label = "符号宽度";
    LONG value = 0;
    if (m_dwSymbolAttrFlag & 1) {
        value = m_lWidth;
    } else if (pLib && nSymbol && (pLib->GetSupportSymAttribMask(nSymbol) & VM_SYM_MASK_WIDTH)) {
        const CSymbolAttrib attrib = GetSymbolAttribute(pLib, nSymbol);
        CString name;
        tagVM_SYM_VARIANT item = {};
        if (attrib.GetAttribItem(VM_SYM_ITEM_WIDTH, name, item) == VM_SYM_OK) {
            if (item.wType == VM_SYM_INTEGER) value = item.lValue;
            label = name;
        }
    }
    const tagDialogHooks& hooks = GetDialogHooks();
    if (!hooks.pfnInputLong || hooks.pfnInputLong("设置符号属性", label, "0.01毫米", &value) != IDOK) return 0;
    if (value != 0) {
        SetSymbolAttributeFlag(m_dwSymbolAttrFlag | 1);
        m_lWidth = value;
    } else {
        SetSymbolAttributeFlag(m_dwSymbolAttrFlag & ~1u);
    }
    return 1;
}

int ObjAttributeEdit(CGeoVectorObject* pObject)
{
    if (!pObject || pObject->GetObjectClassID() == 0) return 2;
    CGeoLayer* pLayer = pObject->GetLayer();
    if (!pLayer || !pLayer->IsKindOf(RUNTIME_CLASS(CGeoVectorLayer))) return 2;
    const AttributeValueDialogHook hook = GetAttributeValueDialogHook();
    const int code = hook ? hook(pObject) : -1;
    if (code < 0) return 2;
    return code != 0 ? 0 : 1;
}
