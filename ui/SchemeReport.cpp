#include "ui/SchemeReport.h"

#include "core/GeoFieldList.h"

#include <afx/Document.h>
#include <afx/WinApp.h>
#include <brisca/FileFunctions.h>
#include <brisca/StringFunctions.h>
#include <win32/module.h>
#include <win32/winuser.h>

namespace {

typedef CTypedPtrList<CObList, CGeoTheme*> ThemeList;

const int kReportWidth = 80;
const int kRuleLength = 61;  // 8 + (10 + 1) + (10 + 1) + (10 + 1) + (8 + 1) + (10 + 1)

CString Indent(int n) { return DupString(" ", n); }

// Heap copies of fields, freed with the holder.
struct FieldCopies {
    CPtrList list;
    ~FieldCopies() { ClearFieldInfoList(&list); }
    void Add(const CDaoFieldInfo& info) { list.AddTail(new CDaoFieldInfo(info)); }
};

void ReportFailure(const CString& strPath, CException& e) {
    CDocument doc;
    doc.ReportSaveLoadException(strPath, &e, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
}

// Creates the text file, lets body write it and opens it in Notepad; a failure is reported and gives 0.
template <class Body>
int WriteReportFile(const CString& strPath, Body body) {
    CStdioFile file;
    CFileException fe;
    if (!file.Open(strPath, CFile::modeCreate | CFile::modeWrite | CFile::typeText, &fe)) {
        ReportFailure(strPath, fe);
        return 0;
    }
    try {
        body(&file);
        file.Close();
    } catch (CFileException& e) {
        ReportFailure(strPath, e);
        return 0;
    }
    CString cmd;
    cmd.Format("notepad.exe %s", static_cast<LPCTSTR>(strPath));
    WinExec(cmd, SW_SHOWNORMAL);
    return 1;
}

}  // namespace

int WriteSchemeToFile(CScheme* pScheme) {
    if (!pScheme) return 0;
    const CString strDefault =
        GetFilePath(pScheme->m_strPath) + "\\" + GetFileName(pScheme->m_strPath) + ".txt";
    CFileDialog dlg(FALSE, "txt", strDefault, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, "文本文件(*.txt)|*.txt||");
    dlg.m_ofn.lpstrTitle = "输出方案";
    if (dlg.DoModal() != IDOK) return 0;
    return WriteSchemeToFile(pScheme, dlg.GetPathName());
}

int WriteSchemeToFile(CScheme* pScheme, CString strPath) {
    if (!pScheme) return 0;
    return WriteReportFile(strPath, [&](CStdioFile* pFile) { WriteSchemeToFile(pFile, pScheme); });
}

int WriteSchemeToFile(CString strPath, const CTypedPtrList<CObList, CGeoLayer*>& layers) {
    ThemeList themes;
    GetLayerThemes(layers, themes);
    if (themes.IsEmpty()) return 0;
    int result = 0;
    try {
        result = WriteReportFile(strPath, [&](CStdioFile* pFile) { WriteSchemeToFile(pFile, themes, 0); });
    } catch (...) {
        ClearThemeList(&themes);
        throw;
    }
    ClearThemeList(&themes);
    return result;
}

void WriteSchemeToFile(CStdioFile* pFile, CScheme* pScheme) {
    const CString rule = DupString("=", kReportWidth) + "\n";
    const CString strName = GetFileName(pScheme->m_strPath);
    pFile->WriteString(rule);
    CString title;
    title.Format("%s方案报告\n", static_cast<LPCTSTR>(strName));
    if (title.GetLength() < kReportWidth) title = Indent((kReportWidth - title.GetLength()) / 2) + title;
    pFile->WriteString(title);
    pFile->WriteString(rule);
    CString strUpper = pScheme->m_strPath;
    strUpper.MakeUpper();
    CString line;
    line.Format("对应方案文件:[%s]\n", static_cast<LPCTSTR>(strUpper));
    pFile->WriteString(line);
    pFile->WriteString("\n");
    line.Format("方案名: %s [共%d层]\n", static_cast<LPCTSTR>(strName), pScheme->m_lstThemes.GetCount());
    pFile->WriteString(line);
    WriteSchemeToFile(pFile, pScheme->m_lstThemes, 0);
}

int WriteSchemeToFile(CStdioFile* pFile, ThemeList& list, int nIndent) {
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        CGeoTheme* pTheme = list.GetNext(pos);
        if (pTheme) WriteThemeToFile(pFile, pTheme, nIndent);
    }
    return 1;
}

void WriteThemeToFile(CStdioFile* pFile, CGeoTheme* pTheme, int n) {
    CString line;
    line.Format("%s★ [%s]层\n", static_cast<LPCTSTR>(Indent(n)), static_cast<LPCTSTR>(pTheme->GetName()));
    pFile->WriteString(line);

    const int nFields = pTheme->GetFieldCount();
    if (nFields > 0)
        line.Format("%s层属属性[共%d个]\n", static_cast<LPCTSTR>(Indent(n + 4)), nFields);
    else
        line.Format("%s层属属性[无]\n", static_cast<LPCTSTR>(Indent(n + 4)));
    pFile->WriteString(line);
    FieldCopies fields;
    for (int i = 0; i < nFields; ++i) {
        CDaoFieldInfo info;
        if (pTheme->GetFieldInfo(i, info)) fields.Add(info);
    }
    WriteFieldInfoList(pFile, &fields.list, n + 8);

    const int nClasses = pTheme->GetGCCount();
    if (nClasses > 0)
        line.Format("%s地物类[共%d个]\n", static_cast<LPCTSTR>(Indent(n + 4)), nClasses);
    else
        line.Format("%s地物类[无]\n", static_cast<LPCTSTR>(Indent(n + 4)));
    pFile->WriteString(line);
    for (int i = 0; i < nClasses; ++i) {
        CGeoGClass gc;
        if (pTheme->GetGC(i, gc)) WriteClassToFile(pFile, &gc, n + 8);
    }
}

void WriteClassToFile(CStdioFile* pFile, CGeoGClass* pClass, int n) {
    const CString in4 = Indent(n + 4);
    CString line;
    line.Format("%s▲ %s [%d]\n", static_cast<LPCTSTR>(Indent(n)), static_cast<LPCTSTR>(pClass->GetGCName()),
                static_cast<int>(pClass->GetGCID()));
    pFile->WriteString(line);

    const int nFields = pClass->GetFieldCount();
    if (nFields > 0)
        line.Format("%s类属属性[共%d个]\n", static_cast<LPCTSTR>(in4), nFields);
    else
        line.Format("%s类属属性[无]\n", static_cast<LPCTSTR>(in4));
    pFile->WriteString(line);
    FieldCopies fields;
    for (int i = 0; i < nFields; ++i) {
        CDaoFieldInfo info;
        if (pClass->GetFieldInfo(i, info)) fields.Add(info);
    }
    WriteFieldInfoList(pFile, &fields.list, n + 8);

    const int t = pClass->GetType();
    line.Format("%s几何特征:    %s点状地物(%s%s)    %s线状地物(%s%s)    %s注记地物", static_cast<LPCTSTR>(in4),
                (t & GCT_POINT) ? "√" : "×", (t & GCT_POINT_DIRECTED) ? "有向" : "无向",
                (t & GCT_POINT_IDPOINT) ? ",标识点" : "", (t & GCT_LINE) ? "√" : "×",
                (t & GCT_LINE_DIRECTED) ? "有向" : "无向", (t & GCT_LINE_FILLED) ? ",填充" : "",
                (t & GCT_ANNO) ? "√" : "×");
    UINT nWidth = 0, nHeight = 0;
    if (pClass->GetFontSize(nWidth, nHeight) == 1) {
        CString size;
        size.Format("(字宽:%d,字高:%d)", static_cast<int>(nWidth), static_cast<int>(nHeight));
        line += size;
    }
    pFile->WriteString(line + "\n");

    UINT nMin = 0, nMax = 0;
    pClass->GetMinMaxScale(nMin, nMax);
    // Scale denominators are unsigned: printed as such, a range up to 0xFFFFFFFF does not read "-1".
    if (!(nMax == 0xFFFFFFFF && nMin == 1))
        line.Format("%s√限制在1:%u到1:%u比例尺范围内显示\n", static_cast<LPCTSTR>(in4), nMin, nMax);
    else
        line.Format("%s×不限制显示比例尺\n", static_cast<LPCTSTR>(in4));
    pFile->WriteString(line);

    line.Format(pClass->IsElevationValid() ? "%s√需要高程值\n" : "%s×不需要高程值\n", static_cast<LPCTSTR>(in4));
    pFile->WriteString(line);
    pFile->WriteString("\n");
}

void WriteFieldInfoList(CStdioFile* pFile, const CPtrList* pFields, int n) {
    if (!pFields || pFields->IsEmpty()) {
        pFile->WriteString("\n");
        return;
    }
    const CString in = Indent(n);
    const CString rule = DupString("-", kRuleLength);
    pFile->WriteString(in + "-" + rule + "-" + "\n");
    CString line;
    line.Format("%s|%s|%s|%s|%s|%s|%s|\n", static_cast<LPCTSTR>(in),
                static_cast<LPCTSTR>(GetCenterString("字段号", 8)), static_cast<LPCTSTR>(GetCenterString("字段名", 10)),
                static_cast<LPCTSTR>(GetCenterString("字段类型", 10)),
                static_cast<LPCTSTR>(GetCenterString("字段长度", 10)),
                static_cast<LPCTSTR>(GetCenterString("缺省值", 8)),
                static_cast<LPCTSTR>(GetCenterString("必填字段", 10)));
    pFile->WriteString(line);
    pFile->WriteString(in + "|" + rule + "|" + "\n");
    FTListMap types;
    int k = 1;
    for (POSITION pos = pFields->GetHeadPosition(); pos; ++k) {
        const auto* pInfo = static_cast<const CDaoFieldInfo*>(pFields->GetNext(pos));
        if (!pInfo) continue;
        CString number, size;
        number.Format("%d.", k);
        size.Format("%d", static_cast<int>(pInfo->m_lSize));
        line.Format("%s| %s| %s|%s|%s| %s|%s|\n", static_cast<LPCTSTR>(in),
                    static_cast<LPCTSTR>(GetLeftString(number, 7)),
                    static_cast<LPCTSTR>(GetLeftString(pInfo->m_strName, 9)),
                    static_cast<LPCTSTR>(GetCenterString(types.GetTypeString(pInfo->m_nType), 10)),
                    static_cast<LPCTSTR>(GetCenterString(size, 10)),
                    static_cast<LPCTSTR>(GetCenterString(pInfo->m_strDefaultValue, 7)),
                    static_cast<LPCTSTR>(GetCenterString(pInfo->m_bRequired ? "是" : "否", 10)));
        pFile->WriteString(line);
    }
    pFile->WriteString(in + "-" + rule + "-" + "\n");
    pFile->WriteString("\n");
}
