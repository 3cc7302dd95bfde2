#include "vector/GeoNode.h"

#include <ostrel/Misc.h>

IMPLEMENT_SERIAL(CGeoNode, CGeoPoint, 1)

int CGeoNode::s_nNodeCount = -1;

CGeoNode::CGeoNode() : CGeoNode(0, 0) {}

CGeoNode::CGeoNode(POINT p) : CGeoNode(p.x, p.y) {}

CGeoNode::CGeoNode(int x, int y) : CGeoPoint(x, y) {
    ++s_nNodeCount;
    DefaultObjectName();
}

CGeoNode::CGeoNode(const CGeoNode& src, int copyAttributes, int attributeMode) : CGeoNode(0, 0) {
    // Copied here so that the node's own CopyData runs and the ID list comes along.
    Copy(src, copyAttributes, attributeMode);
}

CGeoNode::~CGeoNode() { m_LineIDs.RemoveAll(); }

void CGeoNode::Serialize(CArchive& ar) {
    CGeoPoint::Serialize(ar);
    m_LineIDs.Serialize(ar);
}

void CGeoNode::DefaultObjectName() { m_strName = CString("结点 ") + itos(s_nNodeCount); }

CString CGeoNode::GetObjectTypeName() const { return CString("结点"); }

CGeoObject* CGeoNode::Duplicate(int withAttribute, int withRecord) {
    CGeoNode* copy = new CGeoNode;
    if (!copy->Copy(*this, withAttribute, withRecord)) {
        copy->Remove();
        return nullptr;
    }
    return copy;
}

int CGeoNode::CopyData(const CGeoVectorObject& src) {
    if (!src.IsKindOf(RUNTIME_CLASS(CGeoNode))) return 0;
    if (!CGeoPoint::CopyData(src)) return 0;
    m_LineIDs.Copy(static_cast<const CGeoNode&>(src).m_LineIDs);
    return 1;
}

void CGeoNode::RecalcBounds() {}

void CGeoNode::DoRotateCCW(double, CPoint) {}

void CGeoNode::OnUnitChanged(int nOldUnit) { CGeoPoint::OnUnitChanged(nOldUnit); }

CRect CGeoNode::GetDrawBounds(UINT scale, CPoint origin, CPoint offset, int withHandles, const GEOVIEW*) const {
    return CGeoPoint::GetDrawBounds(scale, origin, offset, withHandles, nullptr);
}

void CGeoNode::OnDrawWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                       const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8, void*, int) {
    OnDrawWithoutSymbolization(pDC, scale, scale2, origin, offset, view, pClip, xorMode, nWord8, 1);
}

void CGeoNode::OnDrawWithoutSymbolization(CDC*, UINT, UINT, CPoint, CPoint, const GEOVIEW&, RECT*, int, int, int) {}

void CGeoNode::OnHideWithSymbolization(CDC*, UINT, UINT, CPoint, const GEOVIEW&, RECT*) {}

void CGeoNode::OnHideWithoutSymbolization(CDC*, UINT, UINT, CPoint, const GEOVIEW&, RECT*) {}

void CGeoNode::OnBlinkWithSymbolization(CDC*, UINT, UINT, CPoint, const GEOVIEW&, RECT*) {}

void CGeoNode::OnBlinkWithoutSymbolization(CDC*, UINT, UINT, CPoint, const GEOVIEW&, RECT*) {}
