#include "vector/GeoLine.h"

#include "core/CoreResources.h"
#include "core/GeoView.h"
#include "vector/GeoLineType.h"

#include <afx/CursorResource.h>

#include "ostrel/Contact.h"
#include "ostrel/Misc.h"

IMPLEMENT_SERIAL(CGeoLine, CGeoVectorObject, 1)
IMPLEMENT_SERIAL(CGeoOpenLine, CGeoLine, 1)

int CGeoLine::s_nLineCount = -1;

CGeoLine::CGeoLine() : CGeoVectorObject(NameLater()) {
    ++s_nLineCount;
    DefaultObjectName();
}

CGeoLine::~CGeoLine() = default;

void CGeoLine::Serialize(CArchive& ar) {
    CGeoVectorObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar << static_cast<LONG>(m_bCompleted) << static_cast<LONG>(m_nSlotCount);
    } else {
        LONG completed = 0, slots = 0;
        ar >> completed >> slots;
        m_bCompleted = completed;
        m_nSlotCount = slots;
    }
}

CPoint CGeoLine::GetFirstPoint() const { return GetPoint(0); }

CPoint CGeoLine::GetLastPoint() const { return GetPoint(GetPoints() - 1); }

int CGeoLine::GetStartAndEndPoint(CPoint& start, CPoint& end) const {
    if (GetPoints() < 1) return 0;
    start = GetFirstPoint();
    end = GetLastPoint();
    return 1;
}

int CGeoLine::CanConvertTo(WORD code, DWORD) const {
    return IsLineConversionAccepted(GetRuntimeClass(), code, GetPoints());
}

int CGeoLine::AddPoint(POINT) { return 1; }

void CGeoLine::Clear() {
    m_nSlotCount = 0;
    m_rcBounds.SetRectEmpty();
}

int CGeoLine::PointOnLine(POINT, int) const { return -1; }

int CGeoLine::PointOnLine(POINT) const { return -1; }

int CGeoLine::LineXLine(const CGeoLine&) const { return 0; }

double CGeoLine::Length() const { return 0.0; }

void CGeoLine::MovePoint(int, POINT) {}

void CGeoLine::MovePointTo(int, POINT) {}

int CGeoLine::Through(const CRect&) const { return 1; }

CGeoLine* CGeoLine::ConvertMeTo(WORD, DWORD) const { return nullptr; }

CGeoObject* CGeoLine::Duplicate(int withAttribute, int withRecord) {
    CGeoLine* copy = new CGeoLine;
    if (!copy->Copy(*this, withAttribute, withRecord)) {
        copy->Remove();
        return nullptr;
    }
    return copy;
}

int CGeoLine::CopyData(const CGeoVectorObject& src) {
    if (!src.IsKindOf(RUNTIME_CLASS(CGeoLine))) return 0;
    if (!CGeoVectorObject::CopyData(src)) return 0;
    const CGeoLine& line = static_cast<const CGeoLine&>(src);
    m_nSlotCount = line.m_nSlotCount;
    m_bCompleted = line.m_bCompleted;
    return 1;
}

int CGeoLine::GetPoints() const { return m_nSlotCount; }

CPoint CGeoLine::GetPoint(int) const { return CPoint(0, 0); }

int CGeoLine::GetHandleCount() const { return GetPoints(); }

void CGeoLine::MoveTo(CRect rect) {
    CRect bounds = GetBounds();
    if (rect == bounds) return;
    Move(CSize(rect.left - bounds.left, rect.top - bounds.top));
}

int CGeoLine::Intersects(const CRect& rect, SELOBJMODE mode) const {
    if (mode == SELOBJ_INSIDE) return CGeoObject::Intersects(rect, mode);
    if (!EnvelopmentIntersects(rect)) return 0;
    CRect r = rect;
    r.NormalizeRect();
    CRect b = GetBounds();
    if (b.TopLeft() == b.BottomRight()) return r.PtInRect(b.TopLeft()) ? 1 : 0;
    if (b.IsRectEmpty()) return LineXRect(b.TopLeft(), b.BottomRight(), r) ? 1 : 0;
    if ((r.top <= b.top && r.bottom >= b.bottom) || (r.left <= b.left && r.right >= b.right)) return 1;
    return Through(r & b);
}

void CGeoLine::DefaultObjectName() { SetNumberedName("线 ", s_nLineCount); }

CGeoVectorObject* CGeoLine::ConvertShape(WORD code, DWORD flags) const { return ConvertTo(code, flags); }

CGeoVectorObject* CGeoLine::ConvertToPolyline() const { return ConvertTo(GLT_PLINE, 0); }

CGeoLine* CGeoLine::ConvertTo(WORD code, DWORD flags) const {
    if (!CanConvertTo(code, flags)) return nullptr;
    CGeoLine* result = ConvertMeTo(code, flags);
    if (result != nullptr) result->SetZ(m_dZ);
    return result;
}

int CGeoLine::AddPoint(int x, int y) { return AddPoint(POINT{x, y}); }

void CGeoLine::MovePoint(int index, int dx, int dy) { MovePoint(index, POINT{dx, dy}); }

void CGeoLine::MovePointTo(int index, int x, int y) { MovePointTo(index, POINT{x, y}); }

// ---- CGeoOpenLine ----

CGeoOpenLine::CGeoOpenLine() = default;

CGeoOpenLine::~CGeoOpenLine() = default;

void CGeoOpenLine::Serialize(CArchive& ar) { CGeoLine::Serialize(ar); }

void CGeoOpenLine::Invert() {}

CPoint CGeoOpenLine::GetVisiblePoint() const { return GetPoint(GetPoints() / 2); }

int CGeoOpenLine::GetHandleCount() const { return GetPoints(); }

CPoint CGeoOpenLine::GetHandle(int nHandle) const { return GetPoint(nHandle - 1); }

HCURSOR CGeoOpenLine::GetHandleCursor(int) const { return AfxLoadCursorResource(IDC_GEO_HANDLE); }

void CGeoOpenLine::MoveHandleTo(int nHandle, CPoint point) {
    if (CanMoveHandle(nHandle)) MovePointTo(nHandle - 1, point);
}

int CGeoOpenLine::GetObjectSymbolID(GEOVIEW view) const { return view.GetSymbol(SYMBOL_LINE); }
