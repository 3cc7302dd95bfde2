// The annotation's part of the vector object's property sheet: the text page's hooks, and the
// insertion of characters asked for by the insert-character dialog.
#include <cmath>
#include <vector>

#include "annotation/AnnoCharPositions.h"
#include "annotation/AnnoDialogHooks.h"
#include "annotation/AnnoLayout.h"
#include "annotation/GeoAnno.h"
#include "core/PropertyParam.h"

#include <afx/PropertySheet.h>
#include <caddox/TPropertySheet.h>

namespace {

// A page made for the annotation class and the values it was given.
struct tagTextPage {
    CPropertyPage* page;
    tagAnnoTextPageData given;
};

// The pages made for the annotation class; the last one is the open page. Earlier ones stay until the
// sheet reports OK or Cancel, since a sheet that received one may still show it.
std::vector<tagTextPage>& TextPages() {
    static std::vector<tagTextPage> pages;
    return pages;
}

void DestroyTextPages() {
    std::vector<tagTextPage> pages;
    pages.swap(TextPages());
    for (tagTextPage& p : pages) delete p.page;
}

// The text without row separators: every CR and the byte after it go (double-byte characters are
// stepped over whole, so a trail byte is never taken for one).
CString JoinRows(const CString& text) {
    CString out;
    const int n = text.GetLength();
    for (int i = 0; i < n;) {
        const char c = text[i];
        if (c == '\r') {
            i += 2;
            continue;
        }
        const int bytes = (static_cast<unsigned char>(c) > 0x7F && i + 1 < n) ? 2 : 1;
        out += text.Mid(i, bytes);
        i += bytes;
    }
    return out;
}

// A size shown as `shown`, given to the page as `given`, goes to v when it converts to another value.
void TakeSize(int& v, float shown, float given, int unit, int s) {
    const int now = AnnoSizeFromPage(shown, unit, s);
    if (now != AnnoSizeFromPage(given, unit, s)) v = now;
}

// Angles in degrees as an edit shows them: a difference below its last digit is no change.
bool AngleChanged(float shown, float given) { return std::fabs(shown - given) > 0.0005f; }

}  // namespace

void CGeoAnno::OnAddPropertyPage(CTPropertySheet* pSheet, tagPropertyParam* pParam, int readOnly) {
    const tagAnnoDialogHooks& hooks = GetAnnoDialogHooks();
    if (pSheet == nullptr || hooks.pfnNewTextPage == nullptr) return;
    tagAnnoTextPageData d;
    d.nPlacement = AnnoTypeToPlacement(m_nPositionType);
    // The page starts from the annotation's own type, so OK keeps it unless the placement is changed.
    d.nPositionType = m_nPositionType;
    d.strText = m_strText;
    // Without a param the page shows sizes at scale 1: a page left unfilled would give zero sizes back.
    const int s = (pParam != nullptr && pParam->m_nScale > 0) ? pParam->m_nScale : 1;
    const int unit = GetUnit();
    d.nScale = s;
    d.nUnit = unit;
    d.fCharHeight = AnnoSizeToPage(m_nCharHeight, unit, s);
    d.fCharWidth = AnnoSizeToPage(m_nCharWidth, unit, s);
    d.fColSpace = AnnoSizeToPage(m_nColSpace, unit, s);
    d.fRowSpace = AnnoSizeToPage(m_nRowSpace, unit, s);
    d.nAlignType = m_byAlignType;
    d.fRotateAngle = GetEscapeAngle(0) / 10.0f;
    d.bTwoAlign = GetTwoAlign() ? 1 : 0;
    d.nMoveMode = m_byMoveFlag;
    d.format = GetGeoFormat();
    d.margins = GetGeoRect();
    ::ChangeUnit(nullptr, &d.format, &d.margins, unit, 3);
    d.nArrayStyle = GetArrayStyle();
    d.crBackColor = m_crBackColor;
    d.fLineWidth = m_fLineWidth;
    d.bFillFrame = GetFillFrame() ? 1 : 0;
    d.bShowFrame = GetShowFrame() ? 1 : 0;
    d.fItalicAngle = m_fItalicAngle / 10.0f;
    d.bFormatted = GetFormatStyle() ? 1 : 0;
    d.bReadOnly = readOnly ? 1 : 0;
    CPropertyPage* page = hooks.pfnNewTextPage(d);
    if (page == nullptr) return;
    TextPages().push_back(tagTextPage{page, d});
    pSheet->AddPage(page, nullptr, 0, 0, nullptr, nullptr);
}

void CGeoAnno::OnPropertyPageOK() {
    if (TextPages().empty()) return;
    const tagAnnoDialogHooks& hooks = GetAnnoDialogHooks();
    if (hooks.pfnGetTextPageData == nullptr) {
        DestroyTextPages();
        return;
    }
    tagAnnoTextPageData p;
    hooks.pfnGetTextPageData(TextPages().back().page, &p);
    // Values the page shows converted (sizes, spacing, angles) are taken back only when they were
    // changed there: the conversions truncate, the edits keep six digits, and one escape angle stands
    // for every character of a multi-point annotation, so writing back an untouched value could
    // change the annotation.
    const tagAnnoTextPageData& o = TextPages().back().given;
    const int unit = p.nUnit, s = p.nScale;

    m_strText = p.strText;
    if (p.nAlignType != m_byAlignType) SetAlignType(p.nAlignType);
    if (p.nPositionType != m_nPositionType) ChangePositionType(p.nPositionType);
    TakeSize(m_nCharHeight, p.fCharHeight, o.fCharHeight, unit, s);
    TakeSize(m_nCharWidth, p.fCharWidth, o.fCharWidth, unit, s);
    TakeSize(m_nColSpace, p.fColSpace, o.fColSpace, unit, s);
    TakeSize(m_nRowSpace, p.fRowSpace, o.fRowSpace, unit, s);
    if (p.bFormatted)
        m_byMoveFlag = 0;
    else
        m_byMoveFlag = static_cast<BYTE>(p.nArrayStyle == ARRAY_ECHELON ? 1 : p.nMoveMode);
    SetTwoAlign(p.bTwoAlign);
    if (AngleChanged(p.fRotateAngle, o.fRotateAngle)) {
        SetEscapeAngle(p.fRotateAngle * 10.0f, -1);
        m_fOrientAngle = p.fRotateAngle * 10.0f;
    }
    m_crBackColor = p.crBackColor;
    m_fLineWidth = p.fLineWidth;
    SetFillFrame(p.bFillFrame);
    SetShowFrame(p.bShowFrame);
    if (AngleChanged(p.fItalicAngle, o.fItalicAngle)) m_fItalicAngle = p.fItalicAngle * 10.0f;
    SetFormatStyle(p.bFormatted);
    SetArrayStyle(p.nArrayStyle);
    if (p.nPositionType != m_nPositionType) ChangePositionType(p.nPositionType);
    tagGEORECT margins = p.margins;
    tagGEOFORMAT format = p.format;
    ::ChangeUnit(nullptr, &format, &margins, 3, unit);
    if (!(p.margins == o.margins)) SetGeoRect(margins);
    if (!(p.format == o.format)) SetGeoFormat(format);

    // Rows are joined before the points are counted, so that a multi-point annotation ends with one
    // point per character it keeps.
    if (GetArrayStyle() != ARRAY_HORIZONTAL || m_nPositionType == 6) m_strText = JoinRows(m_strText);
    if (m_nPositionType == 6) {
        const int n = GetStringCount(m_strText);
        const int old = static_cast<int>(m_aPoints.GetSize());
        if (old > n) {
            SetPoints(n);
        } else if (old < n) {
            CPoint last = m_aPoints[old - 1];
            CalculatePosForMultiP(this, last, m_aAngles[old - 1], old, n - old);
        }
    }
    CalculateAnnoBounds();
    DestroyTextPages();
}

void CGeoAnno::OnPropertyPageCancel() { DestroyTextPages(); }

int CGeoAnno::InsertPointAfter(int x, int y, int k) {
    if (!CanBeEdited() || m_nPositionType != 6) return 0;
    if (k + 1 < 0 || k + 1 > GetStringCount(m_strText)) return 0;
    const tagAnnoDialogHooks& hooks = GetAnnoDialogHooks();
    if (hooks.pfnInsertChar == nullptr) return 0;
    CString text;
    float degrees = 0.0f;
    if (hooks.pfnInsertChar(&text, &degrees) != IDOK || text.IsEmpty()) return 0;
    CPoint start(x, y);
    // The dialog asks for degrees; the characters' angles are tenths of a degree.
    InsertAt(k + 1, start, degrees * 10.0f, text);
    return 0;
}
