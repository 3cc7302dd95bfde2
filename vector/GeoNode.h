// CGeoNode: a topological node, the point where arcs meet, with the signed IDs of the arcs that touch
// it: +ID when the arc starts here, -ID when it ends here (stored as DWORDs, two's complement). Nodes
// are never drawn and do not rotate.
//
// Default names: every node constructor, after the point's, raises a process-wide node counter that
// starts at -1 and names the node "结点 " followed by it, so the first node of a process is "结点 0"
// whatever the point counter is.
//
// Record (after the point record; no version gate): the ID list in the class library's CDWordArray
// form (the count as a WORD, or 0xFFFF and a DWORD count when it is 0xFFFF or more, then the DWORDs).
#pragma once

#include "vector/GeoPoint.h"

class CGeoNode : public CGeoPoint {
    DECLARE_SERIAL(CGeoNode)

public:
    // As the point's constructors; no arcs.
    CGeoNode();
    explicit CGeoNode(POINT p);
    CGeoNode(int x, int y);
    // A new node with a fresh default name, filled by CGeoVectorObject::Copy (src, copyAttributes,
    // attributeMode).
    CGeoNode(const CGeoNode& src, int copyAttributes, int attributeMode);
    // Empties the ID list.
    ~CGeoNode() override;

    void Serialize(CArchive& ar) override;

    // The point's assignments (= a CPoint moves the node).
    using CGeoPoint::operator=;

    // The signed arc IDs, in the order they were recorded.
    CDWordArray& GetLineIDs() { return m_LineIDs; }
    const CDWordArray& GetLineIDs() const { return m_LineIDs; }

    // ---- overrides ----

    // "结点 " + the node counter.
    void DefaultObjectName() override;
    // "结点".
    CString GetObjectTypeName() const override;
    // A new CGeoNode filled by Copy (this, withAttribute, withRecord); NULL when the copy fails. The
    // caller owns the result.
    CGeoObject* Duplicate(int withAttribute, int withRecord) override;
    // The point part, then the whole ID list in place of this node's; 0 (nothing copied) when src is
    // not a node.
    int CopyData(const CGeoVectorObject& src) override;
    // Nothing: the stored bounds stay as they are.
    void RecalcBounds() override;
    // Nothing: nodes do not rotate.
    void DoRotateCCW(double degrees, CPoint centre) override;
    // The point's.
    void OnUnitChanged(int nOldUnit) override;
    // As the label point's: D (the bounds in device coordinates) grown by the cross radius, united with
    // D grown by the handle radius when withHandles is set.
    CRect GetDrawBounds(UINT scale, CPoint origin, CPoint offset, int withHandles, const GEOVIEW* pView) const override;
    // Nodes draw, hide and blink nothing.
    void OnDrawWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset, const GEOVIEW& view,
                                 RECT* pClip, int xorMode, int nWord8, void* pSymbolLib, int keepColours) override;
    void OnDrawWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, CPoint offset,
                                    const GEOVIEW& view, RECT* pClip, int xorMode, int nWord8,
                                    int scaleWidths) override;
    void OnHideWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, const GEOVIEW& view,
                                 RECT* pClip) override;
    void OnHideWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, const GEOVIEW& view,
                                    RECT* pClip) override;
    void OnBlinkWithSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, const GEOVIEW& view,
                                  RECT* pClip) override;
    void OnBlinkWithoutSymbolization(CDC* pDC, UINT scale, UINT scale2, CPoint origin, const GEOVIEW& view,
                                     RECT* pClip) override;

    // The process-wide node counter (-1 before the first node).
    static int GetNodeCount() { return s_nNodeCount; }

protected:
    CDWordArray m_LineIDs;

    static int s_nNodeCount;
};
