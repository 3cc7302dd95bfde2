#include "ui/EditGeoView.h"

#include "core/GeoView.h"
#include "ui/PropageStyleAnno.h"
#include "ui/PropageStyleLine.h"
#include "ui/PropageStylePoint.h"
#include "ui/PropageStylePolygon.h"

#include <memory>

namespace {

// A symbol page of the kind, loaded from gv.
template <class Page>
CStylePage* SymbolPage(GEOVIEW& gv, CSymbolLibIO* pLib) {
    auto* p = new Page;
    p->SetData(&gv, pLib);
    return p;
}

}  // namespace

int EditGEOVIEW(GEOVIEW& gv, int nKind, CSymbolLibIO* pLib, int bViewOnly) {
    if (nKind < 0 || nKind > 3) return 0;
    auto sheet = std::make_unique<CPropertySheet>("显示风格设置", nullptr, 0);
    std::unique_ptr<CStylePage> page;
    switch (nKind) {
    case 0: page.reset(SymbolPage<CPropageStylePoint>(gv, pLib)); break;
    case 1: page.reset(SymbolPage<CPropageStyleLine>(gv, pLib)); break;
    case 2: page.reset(SymbolPage<CPropageStylePolygon>(gv, pLib)); break;
    default: {
        auto* p = new CPropageStyleAnno;
        page.reset(p);
        p->SetData(&gv, 0, 50, 50);
        break;
    }
    }
    page->SetViewOnly(bViewOnly);
    sheet->AddPage(page.get());
    const INT_PTR result = sheet->DoModal();
    sheet.reset();  // the sheet goes before its page
    return result == IDOK ? 1 : 0;
}

void CopyGeoViewPart(GEOVIEW* pTarget, const GEOVIEW* pSource, UINT nKind) {
    if (!pTarget || !pSource || pTarget == pSource) return;
    const GEOVIEW& s = *pSource;
    switch (nKind) {
    case 0:
        pTarget->m_nPointShape = s.m_nPointShape;
        pTarget->m_crPointColor = s.m_crPointColor;
        pTarget->m_nPointSize = s.m_nPointSize;
        pTarget->SetSymbol(SYMBOL_POINT, s.GetSymbol(SYMBOL_POINT));
        break;
    case 1:
        pTarget->m_nLineShape = s.m_nLineShape;
        pTarget->m_crLineColor = s.m_crLineColor;
        pTarget->m_fLineWidth = s.m_fLineWidth;
        pTarget->SetSymbol(SYMBOL_LINE, s.GetSymbol(SYMBOL_LINE));
        break;
    case 2:
        pTarget->m_nFillShape = s.m_nFillShape;
        pTarget->m_crFillColor = s.m_crFillColor;
        pTarget->m_bTransparent = s.m_bTransparent;
        pTarget->SetSymbol(SYMBOL_FILL, s.GetSymbol(SYMBOL_FILL));
        break;
    case 3: {
        const DWORD f = s.m_dwTextFlags;
        pTarget->SetFaceName(s.m_szFaceName);
        pTarget->m_crAnnoColor = s.m_crAnnoColor;
        pTarget->SetTransparent((f & GEOVIEW_TEXT_TRANSPARENT) ? 1 : 0);
        pTarget->SetBold((f & GEOVIEW_TEXT_BOLD) ? 1 : 0);
        pTarget->SetSongjian((f & GEOVIEW_TEXT_SONGJIAN) ? 1 : 0,
                             (f & GEOVIEW_TEXT_SONGJIAN) && !(f & GEOVIEW_TEXT_SONGJIAN_DIR) ? 1 : 0);
        pTarget->SetUnderLine((f & GEOVIEW_TEXT_UNDERLINE) ? 1 : 0);
        pTarget->SetXieTi((f & GEOVIEW_TEXT_SLANT) ? 1 : 0,
                          (f & GEOVIEW_TEXT_SLANT) && !(f & GEOVIEW_TEXT_SLANT_DIR) ? 1 : 0);
        pTarget->SetZhongLine((f & GEOVIEW_TEXT_STRIKE) ? 1 : 0);
        pTarget->SetZhuoZhong((f & GEOVIEW_TEXT_EMPHASIS) ? 1 : 0);
        pTarget->m_nBufferWidth = s.m_nBufferWidth;
        break;
    }
    default:
        break;
    }
}
