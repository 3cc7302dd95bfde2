#include "core/GeoVectorObject.h"

#include "core/CorvaneModule.h"
#include "core/GeoGClass.h"
#include "core/GeoLayer.h"

#include <ostrel/Contact.h>
#include <quenby/SymbolLibIO.h>

#include <cstring>

IMPLEMENT_SERIAL(CGeoVectorObject, CGeoAccessorialObject, 0)

namespace {

tagVM_SYM_VARIANT Variant(WORD type, LONG value)
{
    tagVM_SYM_VARIANT v;
    v.wType = type;
    v.lValue = value;
    return v;
}

}  // namespace

CGeoVectorObject::CGeoVectorObject() = default;

CGeoVectorObject::~CGeoVectorObject() = default;

void CGeoVectorObject::Serialize(CArchive& ar)
{
    CGeoAccessorialObject::Serialize(ar);
    if (ar.IsStoring()) {
        m_nDisplayAttr = GetDisplayAttribute();
        ar << static_cast<DWORD>(m_nClassID) << static_cast<DWORD>(m_nDisplayAttr) << m_dZ;
        SerializeSymbolAttribute(ar);
        if (m_nDisplayAttr == DISPLAYATTR_SELF) m_GeoView.Serialize(ar);
    } else {
        DWORD classID = 0;
        DWORD attr = 0;
        ar >> classID >> attr >> m_dZ;
        m_nClassID = classID;
        m_nDisplayAttr = static_cast<DISPLAYATTR>(attr);
        SerializeSymbolAttribute(ar);
        if (attr == DISPLAYATTR_SELF) m_GeoView.Serialize(ar);
    }
}

void CGeoVectorObject::SerializeSymbolAttribute(CArchive& ar)
{
    if (ar.IsStoring() || GetOldVersion() >= 1.31f) {
        m_SymbolAttrib.Serialize(ar);
        return;
    }
    // The old form: a flag and a width, announced by bit 0 of the flag byte.
    if (!(m_byFlag & 0x01)) return;
    DWORD flag = 0;
    ar >> flag;
    m_dwSymbolAttrFlag = flag;
    if (flag & 0x01) {
        LONG width = 0;
        ar >> width;
        m_lWidth = width;
        m_SymbolAttrib.SetAttribMask(static_cast<WORD>(m_SymbolAttrib.GetAttribMask() | VM_SYM_MASK_WIDTH));
        m_SymbolAttrib.SetAttribItem(VM_SYM_ITEM_WIDTH, Variant(VM_SYM_INTEGER, width));
    }
}

CString CGeoVectorObject::GetObjectTypeName() const { return CString("矢量对象"); }

void CGeoVectorObject::RecalcBounds() {}

int CGeoVectorObject::CanEditSymbolAttribute() const { return CanBeEdited(); }

UINT CGeoVectorObject::GetObjectClassID() const { return m_nClassID; }

int CGeoVectorObject::CopySymbolAttribute(const CGeoVectorObject& src)
{
    m_SymbolAttrib = src.m_SymbolAttrib;
    return 1;
}

WORD CGeoVectorObject::PrepareSymbolAttribute(CSymbolLibIO*, int, int keepColours, DWORD crColour)
{
    const WORD mask = m_SymbolAttrib.GetAttribMask();
    if (!keepColours && !(mask & VM_SYM_MASK_COLOR)) {
        m_SymbolAttrib.SetAttribMask(static_cast<WORD>(mask | VM_SYM_MASK_COLOR));
        tagVM_SYM_VARIANT v;
        v.wType = VM_SYM_COLOR;
        v.crValue = crColour;
        m_SymbolAttrib.SetAttribItem(VM_SYM_ITEM_COLOR, v);
    }
    return mask;
}

CSymbolAttrib CGeoVectorObject::GetSymbolAttribute(CSymbolLibIO* pLib, int nSymbol) const
{
    if (!pLib || nSymbol == 0) return m_SymbolAttrib;
    CSymbolAttrib merged = pLib->GetSymbolAttrib(nSymbol);
    CString name;
    tagVM_SYM_VARIANT v;
    for (LONG i = 0; i < VM_SYM_FIXED_ITEMS; ++i) {
        if (m_SymbolAttrib.GetAttribItem(i, name, v) == VM_SYM_OK && v.wType != VM_SYM_NONE)
            merged.SetAttribItem(i, v);
    }
    for (LONG i = VM_SYM_FIXED_ITEMS; i < merged.GetItemCount(); ++i) {
        if (m_SymbolAttrib.GetAttribItemByID(merged.GetAttribItemID(i), name, v) == VM_SYM_OK && v.wType != VM_SYM_NONE)
            merged.SetAttribItem(i, v);
    }
    merged.SetAttribMask(m_SymbolAttrib.GetAttribMask());
    return merged;
}

CSymbolAttrib CGeoVectorObject::GetSymbolAttribute(CSymbolLibIO* pLib) const
{
    if (!pLib) return m_SymbolAttrib;
    return GetSymbolAttribute(pLib, GetSymbolID(nullptr));
}

void CGeoVectorObject::SetSymbolAttribute(DWORD dwItemID, CString strName, tagVM_SYM_VARIANT value)
{
    if (m_SymbolAttrib.SetAttribItemByID(dwItemID, value) == VM_SYM_NO_ID)
        m_SymbolAttrib.AddAttribItem(strName, dwItemID, value);
}

void CGeoVectorObject::SetSymbolAttribute(int nItem, tagVM_SYM_VARIANT value)
{
    m_SymbolAttrib.SetAttribItem(nItem, value);
}

void CGeoVectorObject::SetSymbolAttribute(CSymbolAttrib attrib) { m_SymbolAttrib = attrib; }

void CGeoVectorObject::SetSymbolAttributeMark(int nKind, int bOn)
{
    static const WORD kBits[VM_SYM_FIXED_ITEMS] = {0x001, 0x002, 0x080, 0x010, 0x004, 0x008, 0x020, 0x100, 0x400};
    if (nKind < 0) return;
    const WORD bit = nKind < VM_SYM_FIXED_ITEMS ? kBits[nKind] : 0x200;
    const WORD mask = m_SymbolAttrib.GetAttribMask();
    m_SymbolAttrib.SetAttribMask(static_cast<WORD>(bOn ? (mask | bit) : (mask & ~bit)));
}

int CGeoVectorObject::CopyData(const CGeoVectorObject& src)
{
    m_rcBounds = src.m_rcBounds;
    m_nUnit = src.m_nUnit;
    m_dZ = src.m_dZ;
    CopySymbolAttribute(src);
    return 1;
}

int CGeoVectorObject::GetSnapPointA(CPoint&, CRect, int&, SNAPTYPE, LONG) { return 0; }

void CGeoVectorObject::OnPrepareGeoView(GEOVIEW&, SHOWSTATE) {}

void CGeoVectorObject::OnDrawWithSymbolization(CDC*, UINT, UINT, CPoint, CPoint, const GEOVIEW&, RECT*, int, int,
                                               void*, int)
{
}

void CGeoVectorObject::OnDrawWithoutSymbolization(CDC*, UINT, UINT, CPoint, CPoint, const GEOVIEW&, RECT*, int, int,
                                                  int)
{
}

void CGeoVectorObject::OnHideWithSymbolization(CDC*, UINT, UINT, CPoint, const GEOVIEW&, RECT*) {}

void CGeoVectorObject::OnHideWithoutSymbolization(CDC*, UINT, UINT, CPoint, const GEOVIEW&, RECT*) {}

void CGeoVectorObject::OnBlinkWithSymbolization(CDC*, UINT, UINT, CPoint, const GEOVIEW&, RECT*) {}

void CGeoVectorObject::OnBlinkWithoutSymbolization(CDC*, UINT, UINT, CPoint, const GEOVIEW&, RECT*) {}

void CGeoVectorObject::OnAddPropertyPage(CTPropertySheet*, tagPropertyParam*, int) {}

void CGeoVectorObject::OnPropertyPageOK() {}

void CGeoVectorObject::OnPropertyPageCancel() {}

int CGeoVectorObject::OnMirror(POINT, POINT) { return 0; }

void CGeoVectorObject::AfterMirrorRecalcBounds() { RecalcBounds(); }

int CGeoVectorObject::OnSymbolizeOutput(CSymbolLibIO*, CSymbolOutputer*, CCoordsConverter*, GEOVIEW*) { return 0; }

int CGeoVectorObject::GetObjectSymbolID(GEOVIEW) const { return 0; }

CPoint CGeoVectorObject::GetPoint(int) const { return CPoint(0, 0); }

int CGeoVectorObject::GetX(int) const { return 0; }

int CGeoVectorObject::GetY(int) const { return 0; }

double CGeoVectorObject::GetZ(int) const { return m_dZ; }

void CGeoVectorObject::SetZ(double z) { m_dZ = z; }

int CGeoVectorObject::GetPoints() const { return 0; }

LONG CGeoVectorObject::GetTinPointNumber() const { return GetPoints(); }

LONG CGeoVectorObject::CreateTinPoints(CGeoTinPoint*&, CPoint&) { return 0; }

int CGeoVectorObject::OnLayerLoaded() { return 1; }
void CGeoVectorObject::OnDeleteFromLayer(CGeoVectorLayer*) {}
CGeoVectorObject* CGeoVectorObject::GetAttributeCarrier() { return this; }
int CGeoVectorObject::IsFoundLast() const { return 0; }
int CGeoVectorObject::UsesBorderArc(const CGeoVectorObject*) const { return 0; }

void CGeoVectorObject::GetBorderArcs(std::vector<const CGeoVectorObject*>&) const {}
int CGeoVectorObject::HasHandleNear(POINT) const { return 0; }
int CGeoVectorObject::HasBorderPointAt(POINT, CGeoVectorLayer*) const { return 0; }
int CGeoVectorObject::CanConvertTo(WORD, DWORD) const { return 0; }
CGeoVectorObject* CGeoVectorObject::ConvertShape(WORD, DWORD) const { return nullptr; }
CGeoVectorObject* CGeoVectorObject::ConvertToPolyline() const { return nullptr; }
CGeoPLine* CGeoVectorObject::AsPLine() { return nullptr; }

CGeoObject* CGeoVectorObject::Duplicate(int withAttribute, int withRecord)
{
    CGeoVectorObject* pCopy = new CGeoVectorObject;
    if (!pCopy->Copy(*this, withAttribute, withRecord)) {
        delete pCopy;
        return nullptr;
    }
    return pCopy;
}

int CGeoVectorObject::SetObjectClassID(UINT nClassID)
{
    m_nClassID = nClassID;
    m_nDisplayAttr = nClassID ? DISPLAYATTR_GCLASS : DISPLAYATTR_SELF;
    return 1;
}

GEOVIEW CGeoVectorObject::SetGeoView(GEOVIEW view)
{
    GEOVIEW previous = m_GeoView.Get();
    m_GeoView = view;
    return previous;
}

DISPLAYATTR CGeoVectorObject::SetDisplayAttribute(DISPLAYATTR attr)
{
    const DISPLAYATTR previous = m_nDisplayAttr;
    m_nDisplayAttr = attr;
    return previous;
}

CString CGeoVectorObject::GetGClassName() const
{
    CGeoGClass gc;
    return GetGClass(gc) ? gc.GetGCName() : CString("未命名地物");
}

int CGeoVectorObject::IsVisible(UINT scale) const
{
    CGeoGClass gc;
    return GetGClass(gc) ? gc.IsValidScale(scale) : 1;
}

int CGeoVectorObject::GetSymbolID(GEOVIEW* pView) const
{
    return pView ? GetObjectSymbolID(*pView) : GetObjectSymbolID(GetGClassGeoView());
}

int CGeoVectorObject::SetDangleType(int t)
{
    const int previous = m_nDangleType;
    m_nDangleType = t | (t <= 3 ? (previous & (FALSENODE_FIRST | FALSENODE_LAST)) : (previous & (DANGLE_FIRST | DANGLE_LAST)));
    return previous;
}

int CGeoVectorObject::AddDangleType(int t)
{
    m_nDangleType |= t;
    return m_nDangleType;
}

int CGeoVectorObject::ClearDangleType(int t)
{
    m_nDangleType &= ~t;
    return m_nDangleType;
}

void CGeoVectorObject::SetSymbolAttributeFlag(DWORD dwFlag)
{
    m_dwSymbolAttrFlag = dwFlag;
    if (dwFlag)
        m_byFlag |= 0x01;
    else
        m_byFlag &= static_cast<BYTE>(~0x01);
}

int CGeoVectorObject::IsSameType(const CGeoVectorObject& other) const
{
    return std::strcmp(GetRuntimeClass()->m_lpszClassName, other.GetRuntimeClass()->m_lpszClassName) == 0;
}

int CGeoVectorObject::Copy(const CGeoVectorObject& src, int withAttribute, int withRecord)
{
    if (!IsSameType(src)) return 0;
    const int result = CopyData(src);
    if (result && withAttribute) return CopyAttribute(src, withRecord);
    return result;
}

int CGeoVectorObject::EnvelopmentIntersects(const CRect& rect) const
{
    const CRect b = GetBounds();
    CRect r = rect;
    r.NormalizeRect();
    if (b.left == b.right && b.top == b.bottom) return CRect(rect).PtInRect(b.TopLeft());
    if (!b.IsRectEmpty()) {
        CRect overlap;
        return overlap.IntersectRect(&b, &r);
    }
    return LineXRect(b.TopLeft(), b.BottomRight(), r);
}
