// The scheme report: the whole text of a small scheme, the centring of the title, the save dialog and
// Notepad, and the layer-list form.
#include "ui/SchemeReport.h"

#include "core/GeoVectorLayer.h"
#include "support/TempDir.h"

#include <afx/afxtest.h>
#include <win32/module.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

using testsupport::ReadFileBytes;
using testsupport::TempDir;

namespace {

CDaoFieldInfo Field(const char* name, short type, LONG size, const char* def, BOOL required) {
    CDaoFieldInfo f;
    f.m_strName = name;
    f.m_nType = type;
    f.m_lSize = size;
    f.m_strDefaultValue = def;
    f.m_bRequired = required;
    return f;
}

// Layer 交通 with a common field ID, a directed line class 道路 [10] with one required text field, a
// scale range and elevations, and an annotation class 注记 [20] without fields.
CGeoTheme* MakeTheme() {
    auto* theme = new CGeoTheme;
    theme->SetName("交通");
    theme->AddField(Field("ID", dbLong, 6, "", FALSE), -2);
    CGeoGClass road;
    road.SetGCID(10);
    road.SetGCName("道路");
    road.SetType(GCT_LINE | GCT_LINE_DIRECTED | GCT_GIS_DATA);
    road.SetMinMaxScale(500, 10000);
    road.ValidElevation(1);
    road.AddField(Field("名称", dbText, 20, "无", TRUE), -2);
    theme->AddGC(road, -2);
    CGeoGClass anno;
    anno.SetGCID(20);
    anno.SetGCName("注记");
    anno.SetType(GCT_ANNO | GCT_GIS_DATA);
    anno.SetFontSize(30, 40);
    theme->AddGC(anno, -2);
    return theme;
}

std::string Lines(const std::vector<std::string>& lines) {
    std::string s;
    for (const std::string& l : lines) s += l + "\r\n";
    return s;
}

std::string Sp(int n) { return std::string(n, ' '); }

// The layer part of the report for MakeTheme at indent 0.
std::vector<std::string> ThemeLines() {
    const std::string rule8 = Sp(8) + "-" + std::string(61, '-') + "-";
    const std::string rule16 = Sp(16) + "-" + std::string(61, '-') + "-";
    const std::string head = "| 字段号 |  字段名  | 字段类型 | 字段长度 | 缺省值 | 必填字段 |";
    const std::string mid = "|" + std::string(61, '-') + "|";
    return {
        "★ [交通]层",
        "    层属属性[共1个]",
        rule8,
        Sp(8) + head,
        Sp(8) + mid,
        Sp(8) + "| 1.     | ID       |  长整数  |    6     |        |    否    |",
        rule8,
        "",
        "    地物类[共2个]",
        "        ▲ 道路 [10]",
        "            类属属性[共1个]",
        rule16,
        Sp(16) + head,
        Sp(16) + mid,
        Sp(16) + "| 1.     | 名称     |   文本   |    20    |   无   |    是    |",
        rule16,
        "",
        "            几何特征:    ×点状地物(无向)    √线状地物(有向)    ×注记地物",
        "            √限制在1:500到1:10000比例尺范围内显示",
        "            √需要高程值",
        "",
        "        ▲ 注记 [20]",
        "            类属属性[无]",
        "",
        "            几何特征:    ×点状地物(无向)    ×线状地物(无向)    √注记地物(字宽:30,字高:40)",
        "            ×不限制显示比例尺",
        "            ×不需要高程值",
        "",
    };
}

// Records what the save dialog offered and answers with a path.
class FileDialogProbe : public CUserDriver {
public:
    explicit FileDialogProbe(std::string answer) : m_answer(std::move(answer)) { AfxSetUserDriver(this); }
    ~FileDialogProbe() override { AfxSetUserDriver(nullptr); }
    int OnMessageBox(const CString&, UINT, UINT) override { return IDOK; }
    int OnFileDialog(CFileDialog& dlg, CString& rPathName) override {
        m_seen = {dlg.IsOpenDialog() ? "open" : "save", dlg.GetTitle().str(), dlg.GetDefExt().str(),
                  dlg.GetInitialFileName().str(), dlg.GetFilter().str(), std::to_string(dlg.m_ofn.Flags)};
        if (m_answer.empty()) return IDCANCEL;
        rPathName = m_answer.c_str();
        return IDOK;
    }
    std::vector<std::string> m_seen;

private:
    std::string m_answer;
};

}  // namespace

TEST(SchemeReport, SchemeReportTextAndNotepad) {
    TempDir dir;
    CScheme scheme;
    scheme.m_strPath = "d:\\maps\\道路.sch";
    scheme.m_lstThemes.AddTail(MakeTheme());
    win32::ClearWinExecLog();
    const std::string path = dir("r.txt");
    ASSERT_EQ(WriteSchemeToFile(&scheme, CString(path.c_str())), 1);

    std::vector<std::string> expect = {
        std::string(80, '='),
        Sp(33) + "道路方案报告",
        std::string(80, '='),
        "对应方案文件:[D:\\MAPS\\道路.SCH]",
        "",
        "方案名: 道路 [共1层]",
    };
    for (const std::string& l : ThemeLines()) expect.push_back(l);
    EXPECT_EQ(ReadFileBytes(path), Lines(expect));

    ASSERT_EQ(win32::GetWinExecLog().size(), 1u);
    EXPECT_EQ(win32::GetWinExecLog()[0].commandLine, "notepad.exe " + path);
    EXPECT_EQ(win32::GetWinExecLog()[0].nCmdShow, static_cast<UINT>(SW_SHOWNORMAL));
}

TEST(SchemeReport, TitleIsCentredUnlessItFillsTheLine) {
    const struct {
        int chineseChars;  // of the scheme's name
        int indent;
    } cases[] = {{1, 34}, {34, 1}, {35, 0}, {36, 0}};  // title bytes: 2n + 8 + 1 ("方案报告\n")
    TempDir dir;
    for (const auto& c : cases) {
        std::string name;
        for (int i = 0; i < c.chineseChars; ++i) name += "图";
        CScheme scheme;
        scheme.m_strPath = CString(("c:\\" + name + ".sch").c_str());
        ASSERT_EQ(WriteSchemeToFile(&scheme, CString(dir("t.txt").c_str())), 1);
        const std::string text = ReadFileBytes(dir("t.txt"));
        const size_t start = 82, end = text.find("\r\n", start);
        EXPECT_EQ(text.substr(start, end - start), Sp(c.indent) + name + "方案报告") << c.chineseChars;
    }
}

TEST(SchemeReport, SaveDialogOffersTheSchemesTextFile) {
    TempDir dir;
    CScheme scheme;
    scheme.m_strPath = "d:\\maps\\道路.sch";
    {
        FileDialogProbe probe("");
        EXPECT_EQ(WriteSchemeToFile(&scheme), 0);
        EXPECT_EQ(probe.m_seen, (std::vector<std::string>{"save", "输出方案", "txt", "d:\\maps\\道路.txt",
                                                          "文本文件(*.txt)|*.txt||",
                                                          std::to_string(OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT)}));
    }
    FileDialogProbe probe(dir("chosen.txt"));
    EXPECT_EQ(WriteSchemeToFile(&scheme), 1);
    EXPECT_TRUE(std::filesystem::exists(dir("chosen.txt")));
}

TEST(SchemeReport, LayerListReportHasNoTitleBlock) {
    TempDir dir;
    std::unique_ptr<CGeoTheme> theme(MakeTheme());
    std::unique_ptr<CGeoVectorLayer> layer(CreateVectorLayer(nullptr, theme.get(), "交通", "", 0));
    CGeoLayer plain;
    CTypedPtrList<CObList, CGeoLayer*> layers;
    layers.AddTail(&plain);
    layers.AddTail(layer.get());
    ASSERT_EQ(WriteSchemeToFile(CString(dir("l.txt").c_str()), layers), 1);
    EXPECT_EQ(ReadFileBytes(dir("l.txt")), Lines(ThemeLines()));

    CTypedPtrList<CObList, CGeoLayer*> none;
    none.AddTail(&plain);
    EXPECT_EQ(WriteSchemeToFile(CString(dir("n.txt").c_str()), none), 0);
    EXPECT_FALSE(std::filesystem::exists(dir("n.txt")));
}

TEST(SchemeReport, UncreatableFileIsReported) {
    TempDir dir;
    CScheme scheme;
    afxtest::Session s;
    s.SetFailureHandler([](const std::string& m) { ADD_FAILURE() << m; });
    s.ExpectMessageBox("", IDOK);
    win32::ClearWinExecLog();
    EXPECT_EQ(WriteSchemeToFile(&scheme, CString(dir("no/such/folder.txt").c_str())), 0);
    EXPECT_TRUE(s.Verify());
    EXPECT_TRUE(win32::GetWinExecLog().empty());
}
