#include "quenby/SymbolLibIO.h"

#include "SymbolRender.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

IMPLEMENT_DYNCREATE(CSymbolLibIO, CObject)

using quenby::Ring;

namespace {

const double kPi = 3.14159265358979323846;
const BYTE kMagic[4] = {'Q', 'S', 'Y', 'M'};
const DWORD kMaxUnitsPerMM = 1000000;

[[noreturn]] void Damaged() { AfxThrowArchiveException(CArchiveException::genericException); }

// Device units (0.1 mm) per library unit of the base conversions.
double BaseFactor(const CSymbolLibIO* io) { return 10.0 / io->GetUnitsPerMM(); }

int DcPixelsPerInch(HDC hdc) {
    int dpi = hdc ? GetDeviceCaps(hdc, LOGPIXELSX) : 0;
    return dpi > 0 ? dpi : 96;
}

CQuenby* NewSymbolOfKind(WORD kind) {
    switch (kind) {
    case QUENBY_POINT_SYMBOL: return new CGeoPointSymbol;
    case QUENBY_LINE_SYMBOL: return new CGeoGroupLineSymbol;
    case QUENBY_FILL_SYMBOL: return new CGeoFillSymbol;
    case QUENBY_CUSTOM_SYMBOL: return new CGeoCustomSymbol;
    default: return nullptr;
    }
}

bool ValidMode(int nMode) { return nMode == QUENBY_MODE_NORMAL || nMode == QUENBY_MODE_XOR; }

bool RectsMeet(const RECT& a, const RECT& b) {
    const RECT c{std::min(b.left, b.right), std::min(b.top, b.bottom), std::max(b.left, b.right),
                 std::max(b.top, b.bottom)};
    return a.left <= c.right && c.left <= a.right && a.top <= c.bottom && c.top <= a.bottom;
}

// The parts of a poly form as rings; false when the arguments are unusable.
bool SplitParts(const POINT* pPoints, const LONG* pCounts, LONG nParts, std::vector<Ring>& parts) {
    if (!pPoints || !pCounts || nParts < 1) return false;
    const POINT* p = pPoints;
    for (LONG i = 0; i < nParts; ++i) {
        if (pCounts[i] < 1) return false;
        parts.emplace_back(p, p + pCounts[i]);
        p += pCounts[i];
    }
    return true;
}

RECT BoundsOf(const std::vector<Ring>& parts) {
    RECT rc{0, 0, 0, 0};
    bool any = false;
    for (const Ring& r : parts)
        for (const POINT& q : r) {
            if (!any) {
                rc = RECT{q.x, q.y, q.x, q.y};
                any = true;
            }
            rc.left = std::min(rc.left, q.x);
            rc.top = std::min(rc.top, q.y);
            rc.right = std::max(rc.right, q.x);
            rc.bottom = std::max(rc.bottom, q.y);
        }
    return rc;
}

}  // namespace

// ---------------------------------------------------------------------------------------------------
// How each call's geometry becomes primitives, independent of where they go.

class CSymbolLibIORender {
public:
    enum Shape { kPoint, kRect, kParts };

    CSymbolLibIORender(CSymbolLibIO* io, const CQuenby& symbol, void* context, const CSymbolAttrib* attrib)
        : m_io(io), m_symbol(symbol), m_context(context),
          m_ov(quenby::ResolveOverrides(attrib, symbol, io->GetUnitsPerMM())) {}

    // Whether the symbol's kind takes the shape.
    bool Accepts(Shape shape) const {
        const DWORD kind = m_symbol.GetKind();
        if (shape == kPoint) return kind == QUENBY_POINT_SYMBOL || kind == QUENBY_CUSTOM_SYMBOL;
        if (shape == kParts) return kind != QUENBY_POINT_SYMBOL;
        return true;
    }

    void Point(const POINT& pt, double angle, quenby::Sink& sink) const {
        if (auto* ps = dynamic_cast<const CGeoPointSymbol*>(&m_symbol)) {
            quenby::HookFrame frame(m_io, m_context, pt, POINT{0, 0}, angle);
            quenby::RenderPrimitives(ps->m_primitives, frame, m_ov, sink);
        } else if (auto* cs = dynamic_cast<const CGeoCustomSymbol*>(&m_symbol)) {
            const RECT& f = cs->m_rcFrame;
            const POINT centre{static_cast<LONG>((static_cast<long long>(f.left) + f.right) / 2),
                               static_cast<LONG>((static_cast<long long>(f.top) + f.bottom) / 2)};
            quenby::HookFrame frame(m_io, m_context, pt, centre, angle);
            quenby::RenderPrimitives(cs->m_primitives, frame, m_ov, sink);
        }
    }

    void Rect(const RECT& rc, quenby::Sink& sink) const {
        const DWORD kind = m_symbol.GetKind();
        if (kind == QUENBY_POINT_SYMBOL) {
            const POINT centre{static_cast<LONG>((static_cast<long long>(rc.left) + rc.right) / 2),
                               static_cast<LONG>((static_cast<long long>(rc.top) + rc.bottom) / 2)};
            Point(centre, 0.0, sink);
        } else if (kind == QUENBY_CUSTOM_SYMBOL) {
            Custom(rc, sink);
        } else {
            Parts({quenby::EllipseRing(rc, Flipped())}, sink);
        }
    }

    void Parts(const std::vector<Ring>& parts, quenby::Sink& sink) const {
        const quenby::StrokeSpace space{[this](LONG v) { return Length(v); }, Flipped()};
        if (auto* ls = dynamic_cast<const CGeoGroupLineSymbol*>(&m_symbol)) {
            for (const Ring& part : parts) quenby::RenderStrokes(ls->m_strokes, part, space, m_ov, sink);
        } else if (auto* fs = dynamic_cast<const CGeoFillSymbol*>(&m_symbol)) {
            quenby::RenderFill(*fs, parts, space, m_ov, sink);
        } else if (m_symbol.GetKind() == QUENBY_CUSTOM_SYMBOL) {
            Custom(BoundsOf(parts), sink);
        }
    }

    // Whether the system's y axis points down as a viewer sees it: the library's up maps to a smaller y.
    bool Flipped() const {
        POINT up{0, 0};
        m_io->OnLibToSystomPoint(POINT{0, 1 << 20}, up, m_context);
        return up.y < 0;
    }

private:
    LONG Length(LONG v) const {
        LONG out = 0;
        m_io->OnLibToSystomLength(v, out, m_context);
        return out;
    }

    void Custom(const RECT& rc, quenby::Sink& sink) const {
        const auto& cs = static_cast<const CGeoCustomSymbol&>(m_symbol);
        RECT target = rc;
        m_io->OnNormalizeRect(target, m_context);
        quenby::FitFrame frame(cs.m_rcFrame, target, false, [this](LONG v) { return Length(v); });
        quenby::RenderPrimitives(cs.m_primitives, frame, m_ov, sink);
    }

    CSymbolLibIO* m_io;
    const CQuenby& m_symbol;
    void* m_context;
    quenby::Overrides m_ov;
};

namespace {

// Runs a drawing call: checks, clip rejection, the bounds for pOutRect, then the device context.
template <class Emit>
LONG RunDraw(HDC hdc, int nMode, const RECT* pClip, RECT* pOutRect, Emit emit) {
    if (pOutRect) *pOutRect = RECT{0, 0, 0, 0};
    if (!hdc || !ValidMode(nMode)) return QUENBY_ERR_ARGUMENT;
    quenby::BoundsSink bounds;
    emit(bounds);
    if (bounds.empty || (pClip && !RectsMeet(bounds.bounds, *pClip))) return QUENBY_OK;
    quenby::DcSink dc(hdc, nMode == QUENBY_MODE_XOR);
    if (!dc.ok) return QUENBY_ERR_DEVICE;
    emit(dc);
    if (pOutRect) *pOutRect = bounds.bounds;
    return QUENBY_OK;
}

template <class Emit>
LONG RunOutput(CSymbolLibIO* io, CSymbolOutputer* out, const RECT* pClip, void* pContext, Emit emit) {
    if (!out) return QUENBY_ERR_ARGUMENT;
    if (pClip) {
        quenby::BoundsSink bounds;
        emit(bounds);
        if (bounds.empty || !RectsMeet(bounds.bounds, *pClip)) return QUENBY_OK;
    }
    quenby::OutputSink sink(io, out, pClip, pContext);
    out->BeginOutput();
    emit(sink);
    out->EndOutput();
    return QUENBY_OK;
}

}  // namespace

// ---------------------------------------------------------------------------------------------------

CSymbolLibIO::CSymbolLibIO() : m_dwUnitsPerMM(100), m_dwMapScale(0) {}

CSymbolLibIO::~CSymbolLibIO() { RemoveAllSymbols(); }

void CSymbolLibIO::RemoveAllSymbols() {
    for (POSITION pos = m_symbols.GetStartPosition(); pos;) {
        LONG number;
        CQuenby* symbol;
        m_symbols.GetNextAssoc(pos, number, symbol);
        delete symbol;
    }
    m_symbols.RemoveAll();
}

CSymbolLibIO* CSymbolLibIO::OpenSymbolLib(CRuntimeClass* pClass, const CString& strPath, LONG* pError, DWORD n) {
    LONG error = QUENBY_OPEN_OK;
    CSymbolLibIO* io = nullptr;
    if (!pClass || !pClass->IsDerivedFrom(RUNTIME_CLASS(CSymbolLibIO))) {
        error = QUENBY_OPEN_BAD_CLASS;
    } else {
        CObject* created = pClass->CreateObject();
        io = created ? static_cast<CSymbolLibIO*>(created) : nullptr;
        if (!io) error = QUENBY_OPEN_BAD_CLASS;
    }
    if (io) {
        CFile file;
        if (!file.Open(strPath, CFile::modeRead | CFile::shareDenyWrite)) {
            error = QUENBY_OPEN_NO_FILE;
        } else {
            try {
                CArchive ar(&file, CArchive::load);
                io->Serialize(ar);
            } catch (CArchiveException& e) {
                error = e.m_cause == CArchiveException::badClass    ? QUENBY_OPEN_NOT_LIBRARY
                        : e.m_cause == CArchiveException::badSchema ? QUENBY_OPEN_BAD_VERSION
                                                                     : QUENBY_OPEN_DAMAGED;
            } catch (CFileException&) {
                error = QUENBY_OPEN_NO_FILE;
            }
        }
        if (error == QUENBY_OPEN_OK) {
            io->m_strPath = strPath;
            io->m_dwMapScale = n;
        } else {
            delete io;
            io = nullptr;
        }
    }
    if (pError) *pError = error;
    return io;
}

void CSymbolLibIO::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.Write(kMagic, 4);
        ar << static_cast<WORD>(QUENBY_FILE_VERSION) << static_cast<WORD>(0) << m_dwUnitsPerMM << m_strDescribe;
        std::vector<LONG> numbers;
        for (POSITION pos = m_symbols.GetStartPosition(); pos;) {
            LONG number;
            CQuenby* symbol;
            m_symbols.GetNextAssoc(pos, number, symbol);
            numbers.push_back(number);
        }
        std::sort(numbers.begin(), numbers.end());
        ar << static_cast<DWORD>(numbers.size());
        for (LONG number : numbers) {
            CQuenby* symbol = FindSymbol(number);
            CMemFile entry;
            {
                CArchive out(&entry, CArchive::store);
                out << static_cast<DWORD>(number) << static_cast<WORD>(symbol->GetKind()) << symbol->GetSymbolName();
                symbol->Serialize(out);
                out.Close();
            }
            ar << static_cast<DWORD>(entry.Data().size());
            ar.Write(entry.Data().data(), static_cast<UINT>(entry.Data().size()));
        }
        return;
    }

    RemoveAllSymbols();
    BYTE magic[4];
    if (ar.Read(magic, 4) != 4 || std::memcmp(magic, kMagic, 4) != 0)
        AfxThrowArchiveException(CArchiveException::badClass);
    WORD version, reserved;
    ar >> version >> reserved;
    if (version != QUENBY_FILE_VERSION) AfxThrowArchiveException(CArchiveException::badSchema);
    DWORD units;
    CString describe;
    DWORD count;
    ar >> units >> describe >> count;
    if (units == 0 || units > kMaxUnitsPerMM) Damaged();
    ar.EnsureAvailable(static_cast<ULONGLONG>(count) * 4);

    CMap<LONG, LONG, CQuenby*, CQuenby*> loaded;
    auto discard = [&loaded] {
        for (POSITION pos = loaded.GetStartPosition(); pos;) {
            LONG number;
            CQuenby* symbol;
            loaded.GetNextAssoc(pos, number, symbol);
            delete symbol;
        }
        loaded.RemoveAll();
    };
    try {
        for (DWORD i = 0; i < count; ++i) {
            DWORD length;
            ar >> length;
            ar.EnsureAvailable(length);
            std::vector<BYTE> bytes(length);
            if (length && ar.Read(bytes.data(), length) != length) Damaged();
            CMemFile entry(bytes.data(), length);
            CArchive in(&entry, CArchive::load);
            DWORD number;
            WORD kind;
            CString name;
            in >> number >> kind >> name;
            std::unique_ptr<CQuenby> symbol(NewSymbolOfKind(kind));
            if (!symbol) continue;  // a kind of a later library: skipped whole
            CQuenby* existing = nullptr;
            if (number < 1 || number > QUENBY_MAX_SYMBOL || loaded.Lookup(static_cast<LONG>(number), existing))
                Damaged();
            symbol->SetSymbolNumber(static_cast<LONG>(number));
            symbol->SetSymbolName(name);
            symbol->Serialize(in);
            if (!(in.IsBufferEmpty() && entry.GetPosition() == entry.GetLength())) Damaged();
            loaded.SetAt(static_cast<LONG>(number), symbol.release());
        }
        if (!ar.IsBufferEmpty()) Damaged();
        BYTE extra;
        if (ar.Read(&extra, 1) != 0) Damaged();
    } catch (...) {
        discard();
        throw;
    }
    m_dwUnitsPerMM = units;
    m_strDescribe = describe;
    for (POSITION pos = loaded.GetStartPosition(); pos;) {
        LONG number;
        CQuenby* symbol;
        loaded.GetNextAssoc(pos, number, symbol);
        m_symbols.SetAt(number, symbol);
    }
    loaded.RemoveAll();
}

BOOL CSymbolLibIO::SetUnitsPerMM(DWORD dwUnits) {
    if (dwUnits == 0 || dwUnits > kMaxUnitsPerMM) return FALSE;
    m_dwUnitsPerMM = dwUnits;
    return TRUE;
}

// ---------------------------------------------------------------------------------------------------
// Symbols

CQuenby* CSymbolLibIO::FindSymbol(LONG lSymbol) const {
    CQuenby* symbol = nullptr;
    return m_symbols.Lookup(lSymbol, symbol) ? symbol : nullptr;
}

BOOL CSymbolLibIO::AddSymbol(CQuenby* pSymbol) {
    if (!pSymbol) return FALSE;
    const LONG number = pSymbol->GetSymbolNumber();
    if (number < 1 || number > QUENBY_MAX_SYMBOL) {
        delete pSymbol;
        return FALSE;
    }
    CQuenby* existing = FindSymbol(number);
    if (existing == pSymbol) return TRUE;
    delete existing;
    m_symbols.SetAt(number, pSymbol);
    return TRUE;
}

BOOL CSymbolLibIO::RemoveSymbol(LONG lSymbol) {
    CQuenby* symbol = FindSymbol(lSymbol);
    if (!symbol) return FALSE;
    delete symbol;
    m_symbols.RemoveKey(lSymbol);
    return TRUE;
}

CString CSymbolLibIO::GetSymbolName(LONG lSymbol) const {
    CQuenby* symbol = FindSymbol(lSymbol);
    return symbol ? symbol->GetSymbolName() : CString();
}

BOOL CSymbolLibIO::IsKindOfPointSymbol(LONG lSymbol) const {
    CQuenby* symbol = FindSymbol(lSymbol);
    return symbol && symbol->GetKind() == QUENBY_POINT_SYMBOL;
}

BOOL CSymbolLibIO::IsKindOfLineSymbol(LONG lSymbol) const {
    CQuenby* symbol = FindSymbol(lSymbol);
    return symbol && symbol->GetKind() == QUENBY_LINE_SYMBOL;
}

BOOL CSymbolLibIO::IsKindOfFillSymbol(LONG lSymbol) const {
    CQuenby* symbol = FindSymbol(lSymbol);
    return symbol && symbol->GetKind() == QUENBY_FILL_SYMBOL;
}

CSymbolAttrib CSymbolLibIO::GetSymbolAttrib(LONG lSymbol) const {
    CSymbolAttrib attrib;
    CQuenby* symbol = FindSymbol(lSymbol);
    if (!symbol) return attrib;
    tagVM_SYM_VARIANT colour;
    colour.wType = VM_SYM_COLOR;
    colour.crValue = symbol->GetMainColor();
    attrib.SetAttribItem(VM_SYM_ITEM_COLOR, colour);
    const DWORD kind = symbol->GetKind();
    if (kind == QUENBY_LINE_SYMBOL || kind == QUENBY_FILL_SYMBOL) {
        tagVM_SYM_VARIANT width;
        width.wType = VM_SYM_INTEGER;
        width.lValue = quenby::RoundToLong(symbol->GetMainWidth() * 100.0 / m_dwUnitsPerMM);
        attrib.SetAttribItem(VM_SYM_ITEM_WIDTH, width);
    }
    return attrib;
}

WORD CSymbolLibIO::GetSupportSymAttribMask(LONG lSymbol) const {
    CQuenby* symbol = FindSymbol(lSymbol);
    if (!symbol) return 0;
    const DWORD kind = symbol->GetKind();
    WORD mask = VM_SYM_MASK_COLOR;
    if (kind == QUENBY_LINE_SYMBOL || kind == QUENBY_FILL_SYMBOL) mask |= VM_SYM_MASK_WIDTH;
    return mask;
}

// ---------------------------------------------------------------------------------------------------
// Drawing

LONG CSymbolLibIO::DrawSymbol(HDC hdc, LONG lSymbol, const RECT* pRect, const RECT* pClip, int, int, void* pContext,
                              int nMode, RECT* pOutRect, CSymbolAttrib* pAttrib) {
    if (pOutRect) *pOutRect = RECT{0, 0, 0, 0};
    const CQuenby* symbol = FindSymbol(lSymbol);
    if (!symbol) return QUENBY_ERR_NO_SYMBOL;
    if (!pRect) return QUENBY_ERR_ARGUMENT;
    CSymbolLibIORender render(this, *symbol, pContext, pAttrib);
    const RECT rc = *pRect;
    return RunDraw(hdc, nMode, pClip, pOutRect, [&](quenby::Sink& sink) { render.Rect(rc, sink); });
}

LONG CSymbolLibIO::DrawSymbol(HDC hdc, LONG lSymbol, const POINT& pt, double dAngle, const RECT* pClip, int,
                              void* pContext, int nMode, RECT* pOutRect, CSymbolAttrib* pAttrib) {
    if (pOutRect) *pOutRect = RECT{0, 0, 0, 0};
    const CQuenby* symbol = FindSymbol(lSymbol);
    if (!symbol) return QUENBY_ERR_NO_SYMBOL;
    CSymbolLibIORender render(this, *symbol, pContext, pAttrib);
    if (!render.Accepts(CSymbolLibIORender::kPoint)) return QUENBY_ERR_SHAPE;
    const POINT at = pt;
    return RunDraw(hdc, nMode, pClip, pOutRect, [&](quenby::Sink& sink) { render.Point(at, dAngle, sink); });
}

LONG CSymbolLibIO::DrawSymbol(HDC hdc, LONG lSymbol, const POINT* pPoints, const LONG* pCounts, LONG nParts,
                              const RECT* pClip, int, int, void* pContext, int nMode, RECT* pOutRect,
                              CSymbolAttrib* pAttrib) {
    if (pOutRect) *pOutRect = RECT{0, 0, 0, 0};
    const CQuenby* symbol = FindSymbol(lSymbol);
    if (!symbol) return QUENBY_ERR_NO_SYMBOL;
    CSymbolLibIORender render(this, *symbol, pContext, pAttrib);
    if (!render.Accepts(CSymbolLibIORender::kParts)) return QUENBY_ERR_SHAPE;
    std::vector<Ring> parts;
    if (!SplitParts(pPoints, pCounts, nParts, parts)) return QUENBY_ERR_ARGUMENT;
    return RunDraw(hdc, nMode, pClip, pOutRect, [&](quenby::Sink& sink) { render.Parts(parts, sink); });
}

LONG CSymbolLibIO::DrawSymbolLegend(HDC hdc, LONG lSymbol, const RECT* pRect, const RECT* pClip, int, void*,
                                    int nMode, CSymbolAttrib* pAttrib, LONG) {
    const CQuenby* symbol = FindSymbol(lSymbol);
    if (!symbol) return QUENBY_ERR_NO_SYMBOL;
    if (!pRect) return QUENBY_ERR_ARGUMENT;
    const RECT r{std::min(pRect->left, pRect->right), std::min(pRect->top, pRect->bottom),
                 std::max(pRect->left, pRect->right), std::max(pRect->top, pRect->bottom)};
    const quenby::Overrides ov = quenby::ResolveOverrides(pAttrib, *symbol, m_dwUnitsPerMM);
    auto dcLength = [this, hdc](LONG v) {
        LONG out = 0;
        OnLibToDCLogic(hdc, v, out);
        return out;
    };

    std::function<void(quenby::Sink&)> emit;
    if (auto* ps = dynamic_cast<const CGeoPointSymbol*>(symbol)) {
        RECT lib;
        if (!quenby::PrimitiveBounds(ps->m_primitives, lib)) return QUENBY_OK;
        const RECT inner{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
        const double lw = std::max<double>(1, static_cast<double>(lib.right) - lib.left);
        const double lh = std::max<double>(1, static_cast<double>(lib.bottom) - lib.top);
        const double k = std::min((inner.right - inner.left) / lw, (inner.bottom - inner.top) / lh);
        emit = [=, &ov](quenby::Sink& sink) {
            quenby::FitFrame frame(lib, inner, true, [k](LONG v) { return quenby::RoundToLong(v * k); });
            quenby::RenderPrimitives(ps->m_primitives, frame, ov, sink);
        };
    } else if (auto* cs = dynamic_cast<const CGeoCustomSymbol*>(symbol)) {
        emit = [=, &ov](quenby::Sink& sink) {
            quenby::FitFrame frame(cs->m_rcFrame, r, false, dcLength);
            quenby::RenderPrimitives(cs->m_primitives, frame, ov, sink);
        };
    } else {
        const auto& strokes = symbol->GetKind() == QUENBY_LINE_SYMBOL
                                  ? static_cast<const CGeoGroupLineSymbol*>(symbol)->m_strokes
                                  : static_cast<const CGeoFillSymbol*>(symbol)->m_border;
        // Strokes wider than the rectangle are scaled down to fit its height.
        double extent = 0;
        for (const QuenbyStroke& s : strokes)
            extent = std::max(extent, 2.0 * std::abs(dcLength(s.nOffset)) + dcLength(ov.width ? ov.widthLib : s.nWidth));
        const double room = 0.8 * (r.bottom - r.top);
        const double shrink = extent > room && extent > 0 ? room / extent : 1.0;
        const quenby::StrokeSpace space{
            [dcLength, shrink](LONG v) { return quenby::RoundToLong(dcLength(v) * shrink); }, true};
        if (symbol->GetKind() == QUENBY_LINE_SYMBOL) {
            const LONG mid = static_cast<LONG>((static_cast<long long>(r.top) + r.bottom) / 2);
            const Ring line{POINT{r.left, mid}, POINT{r.right, mid}};
            emit = [=, &ov](quenby::Sink& sink) { quenby::RenderStrokes(strokes, line, space, ov, sink); };
        } else {
            // Counter-clockwise as the viewer sees it, so that border offsets to the left lie inside.
            const Ring ring{POINT{r.left, r.top}, POINT{r.left, r.bottom}, POINT{r.right, r.bottom},
                            POINT{r.right, r.top}, POINT{r.left, r.top}};
            const auto* fs = static_cast<const CGeoFillSymbol*>(symbol);
            emit = [=, &ov](quenby::Sink& sink) { quenby::RenderFill(*fs, {ring}, space, ov, sink); };
        }
    }
    return RunDraw(hdc, nMode, pClip, nullptr, emit);
}

// ---------------------------------------------------------------------------------------------------
// Decomposition

LONG CSymbolLibIO::OutputSymbol(CSymbolOutputer* pOutputer, LONG lSymbol, const POINT* pPoints, const LONG* pCounts,
                                LONG nParts, int, const RECT* pClip, void* pContext, CSymbolAttrib* pAttrib) {
    const CQuenby* symbol = FindSymbol(lSymbol);
    if (!symbol) return QUENBY_ERR_NO_SYMBOL;
    CSymbolLibIORender render(this, *symbol, pContext, pAttrib);
    if (!render.Accepts(CSymbolLibIORender::kParts)) return QUENBY_ERR_SHAPE;
    std::vector<Ring> parts;
    if (!SplitParts(pPoints, pCounts, nParts, parts)) return QUENBY_ERR_ARGUMENT;
    return RunOutput(this, pOutputer, pClip, pContext, [&](quenby::Sink& sink) { render.Parts(parts, sink); });
}

LONG CSymbolLibIO::OutputSymbol(CSymbolOutputer* pOutputer, LONG lSymbol, const POINT& pt, double dAngle,
                                const RECT* pClip, void* pContext, CSymbolAttrib* pAttrib) {
    const CQuenby* symbol = FindSymbol(lSymbol);
    if (!symbol) return QUENBY_ERR_NO_SYMBOL;
    CSymbolLibIORender render(this, *symbol, pContext, pAttrib);
    if (!render.Accepts(CSymbolLibIORender::kPoint)) return QUENBY_ERR_SHAPE;
    const POINT at = pt;
    return RunOutput(this, pOutputer, pClip, pContext, [&](quenby::Sink& sink) { render.Point(at, dAngle, sink); });
}

LONG CSymbolLibIO::OutputSymbol(CSymbolOutputer* pOutputer, LONG lSymbol, const RECT* pRect, const RECT* pClip,
                                void* pContext, CSymbolAttrib* pAttrib) {
    const CQuenby* symbol = FindSymbol(lSymbol);
    if (!symbol) return QUENBY_ERR_NO_SYMBOL;
    if (!pRect) return QUENBY_ERR_ARGUMENT;
    CSymbolLibIORender render(this, *symbol, pContext, pAttrib);
    const RECT rc = *pRect;
    return RunOutput(this, pOutputer, pClip, pContext, [&](quenby::Sink& sink) { render.Rect(rc, sink); });
}

LONG CSymbolLibIO::OutputSymbol(CSymbolOutputer* pOutputer, LONG lSymbol, const POINT& p1, const POINT& p2,
                                const POINT& p3, const RECT* pClip, void* pContext, CSymbolAttrib* pAttrib) {
    const CQuenby* symbol = FindSymbol(lSymbol);
    if (!symbol) return QUENBY_ERR_NO_SYMBOL;
    CSymbolLibIORender render(this, *symbol, pContext, pAttrib);
    if (!render.Accepts(CSymbolLibIORender::kParts)) return QUENBY_ERR_SHAPE;
    const std::vector<Ring> parts{quenby::ThreePointArc(p1, p2, p3)};
    return RunOutput(this, pOutputer, pClip, pContext, [&](quenby::Sink& sink) { render.Parts(parts, sink); });
}

LONG CSymbolLibIO::OutputSymbol(CSymbolOutputer* pOutputer, LONG lSymbol, const RECT* pRect, const POINT& ptCorner,
                                const RECT* pClip, void* pContext, CSymbolAttrib* pAttrib) {
    const CQuenby* symbol = FindSymbol(lSymbol);
    if (!symbol) return QUENBY_ERR_NO_SYMBOL;
    if (!pRect) return QUENBY_ERR_ARGUMENT;
    CSymbolLibIORender render(this, *symbol, pContext, pAttrib);
    if (!render.Accepts(CSymbolLibIORender::kParts)) return QUENBY_ERR_SHAPE;
    const std::vector<Ring> parts{quenby::RoundRectRing(*pRect, ptCorner, render.Flipped())};
    return RunOutput(this, pOutputer, pClip, pContext, [&](quenby::Sink& sink) { render.Parts(parts, sink); });
}

// ---------------------------------------------------------------------------------------------------
// Base conversions: library units to tenths of a millimetre, y down; the context is not used.

LONG CSymbolLibIO::OnLibToDCLogic(HDC hdc, const RECT& rcLib, RECT& rcOut) {
    POINT a, b;
    OnLibToDCLogic(hdc, POINT{rcLib.left, rcLib.top}, a);
    OnLibToDCLogic(hdc, POINT{rcLib.right, rcLib.bottom}, b);
    rcOut = RECT{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
    return 0;
}

LONG CSymbolLibIO::OnLibToDCLogic(HDC hdc, const POINT& ptLib, POINT& ptOut) {
    LONG x, y;
    OnLibToDCLogic(hdc, ptLib.x, x);
    OnLibToDCLogic(hdc, ptLib.y, y);
    ptOut = POINT{x, quenby::RoundToLong(-static_cast<double>(y))};
    return 0;
}

LONG CSymbolLibIO::OnLibToDCLogic(HDC hdc, LONG nLib, LONG& nOut) {
    nOut = quenby::RoundToLong(nLib * static_cast<double>(DcPixelsPerInch(hdc)) / (25.4 * m_dwUnitsPerMM));
    return 0;
}

LONG CSymbolLibIO::OnDCLogicToLib(HDC hdc, LONG nLogic, LONG& nOut) {
    nOut = quenby::RoundToLong(nLogic * 25.4 * m_dwUnitsPerMM / DcPixelsPerInch(hdc));
    return 0;
}

LONG CSymbolLibIO::OnNormalizeRect(RECT& rc, void*) {
    if (rc.left > rc.right) std::swap(rc.left, rc.right);
    if (rc.top > rc.bottom) std::swap(rc.top, rc.bottom);
    return 0;
}

LONG CSymbolLibIO::OnGetAngle(double dCos, double dSin, double& dAngle, void*) {
    // A direction on a device whose y points down, as the viewer's counter-clockwise angle.
    double a = std::atan2(-dSin, dCos);
    if (a < 0) a += 2 * kPi;
    dAngle = a;
    return 0;
}

LONG CSymbolLibIO::OnRotatePoint(double dSin, double dCos, const POINT& ptIn, POINT& ptOut, void*) {
    ptOut.x = quenby::RoundToLong(ptIn.x * dCos - ptIn.y * dSin);
    ptOut.y = quenby::RoundToLong(ptIn.x * dSin + ptIn.y * dCos);
    return 0;
}

LONG CSymbolLibIO::OnGetArcFactor(const POINT& ptA, const POINT& ptCentre, const POINT& ptB, double& dOut, void*) {
    const double ax = static_cast<double>(ptA.x) - ptCentre.x, ay = static_cast<double>(ptA.y) - ptCentre.y;
    const double bx = static_cast<double>(ptB.x) - ptCentre.x, by = static_cast<double>(ptB.y) - ptCentre.y;
    const double la = std::hypot(ax, ay), lb = std::hypot(bx, by);
    if (la == 0 || lb == 0) {
        dOut = 0;
        return 0;
    }
    const double c = (ax * bx + ay * by) / (la * lb);
    dOut = c >= 1 ? 0 : std::sqrt(std::max(0.0, 1 - c * c)) / (1 - c);
    // Positive when the turn from b to a is counter-clockwise as seen on the y-down device.
    if (bx * ay - by * ax > 0) dOut = -dOut;
    return 0;
}

LONG CSymbolLibIO::OnLibToSystomRect(const RECT& rcIn, RECT& rcOut, void* pContext) {
    POINT a, b;
    OnLibToSystomPoint(POINT{rcIn.left, rcIn.top}, a, pContext);
    OnLibToSystomPoint(POINT{rcIn.right, rcIn.bottom}, b, pContext);
    rcOut = RECT{a.x, a.y, b.x, b.y};
    return 0;
}

LONG CSymbolLibIO::OnLibToSystomPoint(const POINT& ptIn, POINT& ptOut, void*) {
    ptOut.x = quenby::RoundToLong(ptIn.x * BaseFactor(this));
    ptOut.y = quenby::RoundToLong(-ptIn.y * BaseFactor(this));
    return 0;
}

LONG CSymbolLibIO::OnLibToSystomLength(LONG nIn, LONG& nOut, void*) {
    nOut = quenby::RoundToLong(nIn * BaseFactor(this));
    return 0;
}

LONG CSymbolLibIO::OnLibToSystomAngle(double dIn, double& dOut, void*) {
    dOut = dIn;
    return 0;
}

LONG CSymbolLibIO::OnSystomToLib(const RECT& rcIn, RECT& rcOut, void* pContext) {
    POINT a, b;
    OnSystomToLib(POINT{rcIn.left, rcIn.top}, a, pContext);
    OnSystomToLib(POINT{rcIn.right, rcIn.bottom}, b, pContext);
    rcOut = RECT{a.x, a.y, b.x, b.y};
    return 0;
}

LONG CSymbolLibIO::OnSystomToLib(const POINT& ptIn, POINT& ptOut, void*) {
    ptOut.x = quenby::RoundToLong(ptIn.x / BaseFactor(this));
    ptOut.y = quenby::RoundToLong(-ptIn.y / BaseFactor(this));
    return 0;
}

LONG CSymbolLibIO::OnSystomToLibLength(LONG nIn, LONG& nOut, void*) {
    nOut = quenby::RoundToLong(nIn / BaseFactor(this));
    return 0;
}

LONG CSymbolLibIO::OnOutputPolyLine(CSymbolOutputer* pOutputer, const POINT* pPoints, LONG nCount, DWORD crColor,
                                    DWORD dwWidth, DWORD dwLineStyle, BYTE byReserved, const RECT* pClip,
                                    void* pContext) {
    return pOutputer->OutputPolyLine(pPoints, nCount, crColor, dwWidth, dwLineStyle, byReserved, pClip, pContext);
}

LONG CSymbolLibIO::OnOutputPolygon(CSymbolOutputer* pOutputer, const POINT* pPoints, LONG nCount, DWORD crLine,
                                   DWORD dwWidth, DWORD dwLineStyle, DWORD crFill, BYTE byFillStyle, BYTE byReserved,
                                   const RECT* pClip, void* pContext) {
    return pOutputer->OutputPolygon(pPoints, nCount, crLine, dwWidth, dwLineStyle, crFill, byFillStyle, byReserved,
                                    pClip, pContext);
}

LONG CSymbolLibIO::OnOutputAnno(CSymbolOutputer* pOutputer, const POINT& ptPosition, DWORD crColor, LOGFONT& font,
                                const char* pszText, const RECT* pClip, void* pContext) {
    return pOutputer->OutputAnno(ptPosition, crColor, font, pszText, pClip, pContext);
}

LONG CSymbolLibIO::OnOutputEllipse(CSymbolOutputer* pOutputer, const RECT* pBox, DWORD crLine, DWORD dwWidth,
                                   DWORD dwLineStyle, DWORD crFill, BYTE byFillStyle, const RECT* pClip,
                                   void* pContext) {
    return pOutputer->OutputEllipse(pBox, crLine, dwWidth, dwLineStyle, crFill, byFillStyle, pClip, pContext);
}

LONG CSymbolLibIO::OnOutputArc(CSymbolOutputer* pOutputer, const RECT* pBox, const POINT& ptStart, const POINT& ptEnd,
                               DWORD crLine, DWORD dwWidth, DWORD dwLineStyle, DWORD crFill, BYTE byFillStyle,
                               BYTE byPie, const RECT* pClip, void* pContext) {
    return pOutputer->OutputArc(pBox, ptStart, ptEnd, crLine, dwWidth, dwLineStyle, crFill, byFillStyle, byPie, pClip,
                                pContext);
}

LONG CSymbolLibIO::OnOutputChord(CSymbolOutputer* pOutputer, const RECT* pBox, const POINT& ptStart,
                                 const POINT& ptEnd, DWORD crLine, DWORD dwWidth, DWORD dwLineStyle, DWORD crFill,
                                 BYTE byFillStyle, const RECT* pClip, void* pContext) {
    return pOutputer->OutputChord(pBox, ptStart, ptEnd, crLine, dwWidth, dwLineStyle, crFill, byFillStyle, pClip,
                                  pContext);
}
