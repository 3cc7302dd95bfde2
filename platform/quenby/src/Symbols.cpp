#include "quenby/Symbols.h"

IMPLEMENT_DYNAMIC(CQuenby, CObject)
IMPLEMENT_SERIAL(CGeoPointSymbol, CQuenby, 1)
IMPLEMENT_SERIAL(CGeoGroupLineSymbol, CQuenby, 1)
IMPLEMENT_SERIAL(CGeoFillSymbol, CQuenby, 1)
IMPLEMENT_SERIAL(CGeoCustomSymbol, CQuenby, 1)

namespace {

const DWORD kMaxDashes = 64;
const int kMaxFaceBytes = 31;

[[noreturn]] void Damaged() { AfxThrowArchiveException(CArchiveException::genericException); }

// A stored count of elements of at least minBytes each, checked against the data that is left.
DWORD ReadCount(CArchive& ar, ULONGLONG minBytes) {
    DWORD n;
    ar >> n;
    ar.EnsureAvailable(static_cast<ULONGLONG>(n) * minBytes);
    return n;
}

void SerializePoints(CArchive& ar, std::vector<POINT>& points, DWORD minCount) {
    if (ar.IsStoring()) {
        ar << static_cast<DWORD>(points.size());
        for (const POINT& p : points) ar << p;
        return;
    }
    DWORD n = ReadCount(ar, sizeof(POINT));
    if (n < minCount) Damaged();
    points.resize(n);
    for (POINT& p : points) ar >> p;
}

void CheckFillStyle(BYTE style) {
    if (style > 8) Damaged();
}

template <class T>
void SerializeList(CArchive& ar, std::vector<T>& items, ULONGLONG minBytes) {
    if (ar.IsStoring()) {
        ar << static_cast<DWORD>(items.size());
        for (T& item : items) item.Serialize(ar);
        return;
    }
    DWORD n = ReadCount(ar, minBytes);
    items.clear();
    items.resize(n);
    for (T& item : items) item.Serialize(ar);
}

}  // namespace

void QuenbyPrimitive::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << nType << crLine << nWidth << dwLineStyle;
        switch (nType) {
        case QUENBY_PRIM_POLYLINE: SerializePoints(ar, points, 2); break;
        case QUENBY_PRIM_POLYGON:
            ar << crFill << byFillStyle;
            SerializePoints(ar, points, 3);
            break;
        case QUENBY_PRIM_TEXT: ar << ptText << nTextHeight << strFace << strText; break;
        case QUENBY_PRIM_ELLIPSE: ar << crFill << byFillStyle << rcBox; break;
        case QUENBY_PRIM_ARC: ar << crFill << byFillStyle << byPie << rcBox << ptStart << ptEnd; break;
        case QUENBY_PRIM_CHORD: ar << crFill << byFillStyle << rcBox << ptStart << ptEnd; break;
        default: break;
        }
        return;
    }
    ar >> nType >> crLine >> nWidth >> dwLineStyle;
    if (nWidth < 0) Damaged();
    switch (nType) {
    case QUENBY_PRIM_POLYLINE: SerializePoints(ar, points, 2); break;
    case QUENBY_PRIM_POLYGON:
        ar >> crFill >> byFillStyle;
        CheckFillStyle(byFillStyle);
        SerializePoints(ar, points, 3);
        break;
    case QUENBY_PRIM_TEXT:
        ar >> ptText >> nTextHeight >> strFace >> strText;
        if (nTextHeight <= 0 || strFace.GetLength() > kMaxFaceBytes) Damaged();
        break;
    case QUENBY_PRIM_ELLIPSE:
        ar >> crFill >> byFillStyle >> rcBox;
        CheckFillStyle(byFillStyle);
        break;
    case QUENBY_PRIM_ARC:
        ar >> crFill >> byFillStyle >> byPie >> rcBox >> ptStart >> ptEnd;
        CheckFillStyle(byFillStyle);
        break;
    case QUENBY_PRIM_CHORD:
        ar >> crFill >> byFillStyle >> rcBox >> ptStart >> ptEnd;
        CheckFillStyle(byFillStyle);
        break;
    default: Damaged();
    }
}

void QuenbyStroke::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << crColor << nWidth << nOffset << static_cast<DWORD>(dashes.size());
        for (LONG d : dashes) ar << d;
        return;
    }
    ar >> crColor >> nWidth >> nOffset;
    DWORD n = ReadCount(ar, sizeof(LONG));
    if (nWidth < 0 || n % 2 != 0 || n > kMaxDashes) Damaged();
    dashes.resize(n);
    for (LONG& d : dashes) {
        ar >> d;
        if (d <= 0) Damaged();
    }
}

CQuenby::~CQuenby() = default;

// Primitives: type, line colour, width, style and a count at the least.
static const ULONGLONG kMinPrimitiveBytes = 1 + 4 + 4 + 4;
static const ULONGLONG kMinStrokeBytes = 4 + 4 + 4 + 4;

COLORREF CGeoPointSymbol::GetMainColor() const { return m_primitives.empty() ? 0 : m_primitives.front().crLine; }

void CGeoPointSymbol::Serialize(CArchive& ar) { SerializeList(ar, m_primitives, kMinPrimitiveBytes); }

COLORREF CGeoGroupLineSymbol::GetMainColor() const { return m_strokes.empty() ? 0 : m_strokes.front().crColor; }
LONG CGeoGroupLineSymbol::GetMainWidth() const { return m_strokes.empty() ? 0 : m_strokes.front().nWidth; }

void CGeoGroupLineSymbol::Serialize(CArchive& ar) { SerializeList(ar, m_strokes, kMinStrokeBytes); }

LONG CGeoFillSymbol::GetMainWidth() const { return m_border.empty() ? 0 : m_border.front().nWidth; }

void CGeoFillSymbol::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << m_crFill << m_byFillStyle;
    } else {
        ar >> m_crFill >> m_byFillStyle;
        CheckFillStyle(m_byFillStyle);
    }
    SerializeList(ar, m_border, kMinStrokeBytes);
}

COLORREF CGeoCustomSymbol::GetMainColor() const { return m_primitives.empty() ? 0 : m_primitives.front().crLine; }

void CGeoCustomSymbol::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << m_rcFrame;
    } else {
        ar >> m_rcFrame;
        if (m_rcFrame.left == m_rcFrame.right || m_rcFrame.top == m_rcFrame.bottom) Damaged();
    }
    SerializeList(ar, m_primitives, kMinPrimitiveBytes);
}
