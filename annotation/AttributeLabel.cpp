#include "annotation/AttributeLabel.h"

#include "annotation/AutoLabelPoint.h"
#include "annotation/GeoAnno.h"
#include "core/GeoVectorLayer.h"
#include "vector/GeoPLine.h"
#include "vector/GeoPoint.h"
#include "vector/GeoPolygonLine.h"

#include <ostrel/CenPos.h>
#include <tamsel/ValueConvert.h>

#include <cmath>
#include <vector>

namespace {

const char* const kLayerName = "图层名";
const char* const kElevation = "高程";
const char* const kClassName = "地物名称";
const char* const kClassCode = "地物编码";

bool IsPseudoField(const CString& name) {
    return name == kLayerName || name == kElevation || name == kClassName || name == kClassCode;
}

bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// Backslashes before the special characters of formatted text, stepping over double-byte characters.
CString Escape(const CString& text) {
    std::string out;
    const char* s = text;
    const int n = text.GetLength();
    bool escaped = false;  // the previous character was a single-byte backslash
    for (int i = 0; i < n; ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (IsLeadByte(c) && i + 1 < n) {
            out += s[i];
            out += s[++i];
            escaped = false;
            continue;
        }
        if ((c == '|' || c == '/' || c == '@' || c == '(' || c == ')' || c == '\\') && !escaped) out += '\\';
        out += static_cast<char>(c);
        escaped = c == '\\';
    }
    return CString(out.c_str());
}

// Cuts the decimals of a float's text after the last '.'; no rounding.
CString CutDecimals(const CString& text, int precision) {
    const int dot = text.ReverseFind('.');
    if (dot < 0) return text;
    if (precision < 0) precision = 1;
    if (precision == 0) return text.Left(dot);
    return text.Left(dot + 1 + precision);
}

std::vector<CDaoFieldInfo> ThemeFields(CGeoVectorLayer* layer) {
    std::vector<CDaoFieldInfo> out(static_cast<size_t>(layer->m_Theme.GetFieldCount()));
    for (int i = 0; i < layer->m_Theme.GetFieldCount(); ++i) layer->m_Theme.GetFieldInfo(i, out[i]);
    return out;
}

}  // namespace

int GetAttributeByClassField(CGeoVectorObject* pObject, CStringArray& names, CList<COleVariant, COleVariant&>& values) {
    values.RemoveAll();
    if (!pObject) return 0;
    CGeoVectorLayer* layer = dynamic_cast<CGeoVectorLayer*>(pObject->GetLayer());
    const UINT classID = pObject->GetObjectClassID();
    CGeoGClass gc;
    bool hasClass = layer && layer->GetGClass(classID, gc);
    std::vector<COleVariant> record;
    if (layer && layer->GetAttributeDatabase()) {
        CGeoValueList list;
        if (layer->GetAttribute(pObject->GetUserID(), &list, classID))
            for (POSITION pos = list.GetHeadPosition(); pos;) record.push_back(list.GetNext(pos));
    }
    const int themeCount = layer ? layer->m_Theme.GetFieldCount() : 0;
    for (int i = 0; i < names.GetSize(); ++i) {
        const CString& name = names[i];
        COleVariant value{CString("")};
        if (name == kLayerName) {
            value = COleVariant(layer ? layer->GetObjectName() : CString(""));
        } else if (name == kElevation) {
            value = COleVariant(pObject->GetZ(0));
        } else if (name == kClassName) {
            value = COleVariant(pObject->GetGClassName());
        } else if (name == kClassCode) {
            value = COleVariant(static_cast<LONG>(classID), VT_I4);
        } else if (layer) {
            int at = layer->m_Theme.FindField(name);
            if (at < 0 && hasClass) {
                const int own = gc.FindField(name);
                if (own >= 0) at = own + themeCount;
            }
            if (at >= 0 && at < static_cast<int>(record.size())) value = record[at];
        }
        values.AddTail(value);
    }
    return 1;
}

int CreateGClassAttibuteLabel(CStringArray& names, CList<COleVariant, COleVariant&>& values, CString& label,
                              int precision, int bFormatText) {
    bool content = false;
    POSITION pos = values.GetHeadPosition();
    for (int i = 0; i < names.GetSize() && pos; ++i) {
        COleVariant& value = values.GetNext(pos);
        CString text = VartoString(&value);
        if (text.IsEmpty()) {
            text = " ";
        } else {
            content = true;
            if (value.vt == VT_R4 || value.vt == VT_R8) text = CutDecimals(text, precision);
        }
        if (bFormatText) text = Escape(text);
        label.Replace(CString("%") + names[i] + "%", text);
    }
    if (!content) {
        values.RemoveAll();
        return 0;
    }
    return 1;
}

void ShowAttributeAnnotationLabel(CDC* dc, CPoint& origin, CPoint& offset, CRect& area, CGeoVectorLayer* layer,
                                  CGeoClassLabel& settings, CTypedPtrList<CObList, CGeoVectorObject*>& objects,
                                  int scale, int labelScale, ANNOLABELTYPE kind, CGeoVectorLayer* target, int fitText,
                                  CSymbolLibIO* symbols) {
    if (!layer || objects.IsEmpty() || (kind == ANNOLABEL_CREATE && !target)) return;

    // The field list, without names the layer cannot give.
    CStringArray names;
    settings.GetFieldList(names);
    CGeoGClass gc;
    const bool hasClass = layer->GetGClass(settings.GetClassID(), gc) != 0;
    const std::vector<CDaoFieldInfo> themeFields = ThemeFields(layer);
    for (int i = names.GetSize() - 1; i >= 0; --i) {
        if (IsPseudoField(names[i]) || layer->m_Theme.FindField(names[i]) >= 0) continue;
        if (hasClass && gc.FindField(names[i]) >= 0) continue;
        names.RemoveAt(i);
    }

    tagPOINTPARA para;
    para.m_nPosition = settings.GetPositionType();
    settings.GetOffset(para.m_nHorOffset, para.m_nHorOffsetLimit);
    settings.GetOffset2(para.m_nVerOffset, para.m_nVerOffsetLimit);
    para.m_nScale = labelScale;
    para.m_nKind = kind;
    para.m_nFitScale = fitText;

    CTypedPtrList<CObList, CGeoVectorObject*> created;
    GEOANNO anno;
    anno.SetFormatStyle(settings.GetFormatStyle());
    anno.m_nAlignType = 0;
    settings.GetCharSize(anno.m_nCharHeight, anno.m_nCharWidth);
    anno.m_nUnit = 3;
    anno.m_fItalicAngle = settings.GetItalicAngle();
    if (kind == ANNOLABEL_CREATE) anno.m_pOutputList = &created;
    tagGEOFORMAT format = settings.GetGeoFor();
    const CString templ = settings.GetFormat();
    const GEOVIEW style = settings.GetGeoView();
    const double minEnd = std::trunc(labelScale * 0.2);
    tagRECT labelArea = area;

    for (POSITION pos = objects.GetHeadPosition(); pos;) {
        CGeoVectorObject* obj = objects.GetNext(pos);
        if (!obj) continue;
        if (kind == ANNOLABEL_DRAW) {
            const CRect b = obj->GetBoundsInMillimeter();
            if (b.right < area.left || b.left > area.right || b.bottom < area.top || b.top > area.bottom) continue;
        }
        CList<COleVariant, COleVariant&> values;
        if (!GetAttributeByClassField(obj, names, values)) continue;
        CString text = templ;
        if (!CreateGClassAttibuteLabel(names, values, text, settings.GetPrecision(), settings.GetFormatStyle()))
            continue;

        int first = 0, second = 0;
        GetObjSymbolSize(obj, first, second, symbols);
        std::vector<POINT> anchors;
        int position = para.m_nPosition;
        if (auto* point = dynamic_cast<CGeoPoint*>(obj)) {
            anchors.push_back(point->GetPoint());
        } else if (auto* ring = dynamic_cast<CGeoPolygonLine*>(obj)) {
            const int n = ring->GetPoints();
            if (n <= 0) continue;
            if (ring->IsFace()) {
                std::vector<POINT> pts(static_cast<size_t>(n));
                for (int i = 0; i < n; ++i) pts[i] = ring->GetPoint(i);
                POINT inner = pts[0];
                if (!FindCenPos(pts.data(), &n, 1, inner, 1.0)) continue;
                anchors.push_back(inner);
                first = second = 0;
                position = 8;
            } else {
                switch (settings.GetLinePoint()) {
                    case LINENODE_FIRST:
                    case LINENODE_BOTH: anchors.push_back(ring->GetPoint(0)); break;
                    case LINENODE_LAST: anchors.push_back(ring->GetPoint(n - 1)); break;
                    case LINENODE_MIDDLE: anchors.push_back(ring->GetPoint(n / 2)); break;
                    default: break;
                }
            }
        } else if (auto* line = dynamic_cast<CGeoPLine*>(obj)) {
            const int n = line->GetPoints();
            if (n <= 0) continue;
            const POINT a = line->GetPoint(0), z = line->GetPoint(n - 1);
            switch (settings.GetLinePoint()) {
                case LINENODE_FIRST: anchors.push_back(a); break;
                case LINENODE_LAST: anchors.push_back(z); break;
                case LINENODE_MIDDLE: anchors.push_back(line->GetPoint(n / 2)); break;
                case LINENODE_BOTH:
                    anchors.push_back(z);
                    if (std::hypot(static_cast<double>(z.x) - a.x, static_cast<double>(z.y) - a.y) > minEnd)
                        anchors.push_back(a);
                    break;
                default: break;
            }
        }
        for (const POINT& at : anchors) {
            tagPOINTPARA p = para;
            p.m_nPosition = position;
            p.m_nX = at.x;
            p.m_nY = at.y;
            p.m_nHorSymbolSize = first;
            p.m_nVerSymbolSize = second;
            p.m_nUnit = obj->GetUnit();
            GEOANNO a = anno;
            a.m_strText = text;
            AutoLabelGeoPoint(dc, scale, origin, offset, style, a, p, labelArea, format, nullptr);
        }
    }

    if (kind == ANNOLABEL_CREATE && !created.IsEmpty()) {
        AddAnnoListtoLayer(created, layer, target);
        CGeoGClass first;
        CGeoVectorObject* head = objects.GetHead();
        UINT code = 0;
        if (head && head->GetGClass(first)) {
            code = first.GetGCID();
            if (target->m_Theme.FindGC(code) < 0) {
                first.SetGeoView(style);
                target->m_Theme.AddGC(first, -2);
            }
        }
        for (POSITION pos = created.GetHeadPosition(); pos;) created.GetNext(pos)->SetObjectClassID(code);
        created.RemoveAll();
    }
    objects.RemoveAll();
}
