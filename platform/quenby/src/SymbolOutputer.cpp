#include "quenby/SymbolOutputer.h"

CSymbolOutputer::~CSymbolOutputer() = default;
LONG CSymbolOutputer::BeginOutput() { return 0; }
LONG CSymbolOutputer::EndOutput() { return 0; }
LONG CSymbolOutputer::OutputPolyLine(const POINT*, LONG, DWORD, DWORD, DWORD, BYTE, const RECT*, void*) { return 1; }
LONG CSymbolOutputer::OutputPolygon(const POINT*, LONG, DWORD, DWORD, DWORD, DWORD, BYTE, BYTE, const RECT*, void*) {
    return 1;
}
LONG CSymbolOutputer::OutputAnno(const POINT&, DWORD, LOGFONT&, const char*, const RECT*, void*) { return 1; }
LONG CSymbolOutputer::OutputEllipse(const RECT*, DWORD, DWORD, DWORD, DWORD, BYTE, const RECT*, void*) { return 1; }
LONG CSymbolOutputer::OutputArc(const RECT*, const POINT&, const POINT&, DWORD, DWORD, DWORD, DWORD, BYTE, BYTE,
                                const RECT*, void*) {
    return 1;
}
LONG CSymbolOutputer::OutputChord(const RECT*, const POINT&, const POINT&, DWORD, DWORD, DWORD, DWORD, BYTE,
                                  const RECT*, void*) {
    return 1;
}
