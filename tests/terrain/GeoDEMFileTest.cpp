#include "terrain/GeoDEM.h"

#include "DemFixtures.h"
#include "support/TempDir.h"

#include <afx/WinApp.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

using demtest::MakeDem;
using demtest::MakeDemFn;
using testsupport::ReadFileBytes;
using testsupport::TempDir;
using testsupport::WriteFileBytes;

namespace {

const LONG X = -99999;

// Records the progress messages the DEM sends to the host's main window.
class ProgressWindow : public CWnd {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == 1224) log.push_back("begin " + std::string(reinterpret_cast<const char*>(lParam)));
        else if (message == 1225) last = static_cast<int>(wParam), ++steps;
        else if (message == 1226) log.push_back("end " + std::to_string(last));
        return 0;
    }
    std::vector<std::string> log;
    int last = -1;
    int steps = 0;
};

struct AppWithWindow {
    AppWithWindow() { app.m_pMainWnd = &window; }
    ~AppWithWindow() { app.m_pMainWnd = nullptr; }
    CWinApp app;
    ProgressWindow window;
};

std::string Bytes(std::initializer_list<int> b)
{
    std::string s;
    for (int v : b) s.push_back(static_cast<char>(v));
    return s;
}

// A BIL triple with a given header and data.
void WriteBil(const TempDir& dir, const std::string& base, const std::string& hdr, const std::string& data,
              const std::string& blw = "10\n0\n0\n-10\n105\n195\n")
{
    WriteFileBytes(dir(base + ".hdr"), hdr);
    WriteFileBytes(dir(base + ".blw"), blw);
    WriteFileBytes(dir(base + ".bil"), data);
}

std::string LastMessage()
{
    const auto& log = AfxGetMessageLog();
    return log.empty() ? std::string() : std::string(static_cast<LPCTSTR>(log.back().text));
}

}  // namespace

TEST(DemFiles, GrdWriteHasExactTextAndReadsBack)
{
    TempDir dir;
    // 12 columns: a line feed after the 10th value; the row ends with an extra one.
    auto dem = MakeDemFn(12, 2, [](int c, int r) { return r == 1 && c == 3 ? X : c * 10 - r; }, 1000, 2020, 10.0, 0.1);
    const std::string path = dir("a.grd");
    ASSERT_EQ(dem->SaveAsGrd(CString(path.c_str())), 1);
    const std::string expected =
        "DataMark: CNSDTF-DEM\nVersion: 1.0\nAlfa: 0.000\nUnit: M\nCompress: 0\nX0: 1000\nY0: 2020\nDX: 10.000\n"
        "DY: 10.000\nRow: 2\nCol: 12\nValuetype: Integer\nHzoom: 10\nMinV: -1\nMaxV: 110\n"
        "0 10 20 30 40 50 60 70 80 90\n100 110 \n"
        "-1 9 19 -99999 39 49 59 69 79 89\n99 109 \n";
    EXPECT_EQ(ReadFileBytes(path), expected);

    CGeoDEM back;
    ASSERT_EQ(back.LoadRasterFile(CString(path.c_str())), 1);
    EXPECT_EQ(back.GetWidth(), 12);
    EXPECT_EQ(back.GetHeight(), 2);
    EXPECT_DOUBLE_EQ(back.GetResZ(), 0.1);
    EXPECT_EQ(back.GetInvalidElevation(), -99999);
    EXPECT_EQ(back.GetPosition(), CRect(1000, 2000, 1120, 2020));
    EXPECT_EQ(back.GetUnit(), 6);
    EXPECT_EQ(back.GetMinElevation(), -1);
    EXPECT_EQ(back.GetMaxElevation(), 110);
    EXPECT_EQ(std::memcmp(back.GetNodes(), dem->GetNodes(), 12 * 2 * 4), 0);

    // Exactly ten values: the row ends in an empty line. CR LF files read the same.
    auto ten = MakeDemFn(10, 1, [](int c, int) { return c; });
    ASSERT_EQ(ten->SaveAsGrd(CString(dir("t.grd").c_str())), 1);
    const std::string text = ReadFileBytes(dir("t.grd"));
    EXPECT_EQ(text.substr(text.size() - 21), "0 1 2 3 4 5 6 7 8 9\n\n");
    std::string crlf;
    for (char ch : text) {
        if (ch == '\n') crlf += '\r';
        crlf += ch;
    }
    WriteFileBytes(dir("crlf.grd"), crlf);
    CGeoDEM fromCrlf;
    ASSERT_EQ(fromCrlf.LoadRasterFile(CString(dir("crlf.grd").c_str())), 1);
    EXPECT_EQ(fromCrlf.GetNodes()[9], 9);
}

TEST(DemFiles, DemTextReadAndProgress)
{
    TempDir dir;
    AppWithWindow host;
    WriteFileBytes(dir("a.dem"),
                   "NSDTF-DEM x y 0.5 0 100.0 230.0 10.0 10.0 3 2 10\n"
                   "1 2\n3 -999990\n5 6\n");
    CGeoDEM dem;
    ASSERT_EQ(dem.LoadRasterFile(CString(dir("a.dem").c_str())), 1);
    EXPECT_EQ(dem.GetInvalidElevation(), -999990);  // -99999 metres at Hzoom 10
    EXPECT_DOUBLE_EQ(dem.GetResZ(), 0.1);
    EXPECT_DOUBLE_EQ(dem.GetAlfa(), 0.5);
    EXPECT_EQ(dem.GetPosition(), CRect(100, 200, 120, 230));
    EXPECT_EQ(dem.GetMinElevation(), 1);
    EXPECT_EQ(dem.GetMaxElevation(), 6);
    double out = 0;
    ASSERT_EQ(dem.GetPixel(0L, 2L, out), 1);
    EXPECT_DOUBLE_EQ(out, 0.5);
    ASSERT_EQ(host.window.log.size(), 2u);
    EXPECT_EQ(host.window.log[0], "begin 正在读取DEM数据...");
    EXPECT_EQ(host.window.log[1], "end 100");
    EXPECT_EQ(host.window.steps, 3);

    // Refusals: another format mark, another extension, a truncated value list, an unsafe header.
    WriteFileBytes(dir("b.dem"), "NSDTF-DEMX x y 0 0 0 0 1 1 1 1 1\n5\n");
    EXPECT_EQ(dem.LoadRasterFile(CString(dir("b.dem").c_str())), 0);
    WriteFileBytes(dir("c.txt"), "NSDTF-DEM x y 0 0 0 0 1 1 1 1 1\n5\n");
    EXPECT_EQ(dem.LoadRasterFile(CString(dir("c.txt").c_str())), 0);
    AfxClearMessageLog();
    WriteFileBytes(dir("d.dem"), "NSDTF-DEM x y 0 0 0 0 1 1 2 2 1\n5 6    7\n");
    EXPECT_EQ(dem.LoadRasterFile(CString(dir("d.dem").c_str())), 0);
    EXPECT_EQ(dem.GetNodes(), nullptr);
    EXPECT_NE(LastMessage().find(dir("d.dem")), std::string::npos);
    EXPECT_EQ(host.window.log.back(), "end 50");  // the progress display is closed
    WriteFileBytes(dir("e.dem"), "NSDTF-DEM x y 0 0 0 0 1 1 -2 2 1\n");
    EXPECT_EQ(dem.LoadRasterFile(CString(dir("e.dem").c_str())), 0);
    WriteFileBytes(dir("f.dem"), "NSDTF-DEM x y 0 0 0 0 1 1 1 1 0\n5\n");
    EXPECT_EQ(dem.LoadRasterFile(CString(dir("f.dem").c_str())), 0);
    // A header asking for more values than the rest of the file can hold is short data before any
    // band is allocated (30000 x 30000 nodes would be 3.6 GB), in both text formats.
    const size_t steps = host.window.log.size();
    WriteFileBytes(dir("big.dem"), "NSDTF-DEM x y 0 0 0 0 1 1 30000 30000 1\n5\n");
    EXPECT_EQ(dem.LoadRasterFile(CString(dir("big.dem").c_str())), 0);
    EXPECT_EQ(LastMessage(), "DEM数据不完整: " + dir("big.dem"));
    WriteFileBytes(dir("big.grd"), "DataMark: CNSDTF-DEM\nVersion: 1.0\nAlfa: 0\nUnit: M\nCompress: 0\nX0: 0\n"
                                   "Y0: 0\nDX: 1\nDY: 1\nRow: 30000\nCol: 30000\nValuetype: Integer\nHzoom: 1\n"
                                   "MinV: 0\nMaxV: 0\n5\n");
    EXPECT_EQ(dem.LoadRasterFile(CString(dir("big.grd").c_str())), 0);
    EXPECT_EQ(LastMessage(), "DEM数据不完整: " + dir("big.grd"));
    EXPECT_EQ(host.window.log.size(), steps);  // no progress display was opened
    // Sides near the largest 32-bit number are refused as unsafe before their product is formed.
    WriteFileBytes(dir("wide.dem"), "NSDTF-DEM x y 0 0 0 0 1 1 2147483647 2147483647 1\n5\n");
    EXPECT_EQ(dem.LoadRasterFile(CString(dir("wide.dem").c_str())), 0);
    AfxClearMessageLog();
    EXPECT_EQ(dem.LoadRasterFile(CString(dir("missing.dem").c_str())), 0);
    EXPECT_EQ(LastMessage(), "can't open this file: " + dir("missing.dem"));
}

TEST(DemFiles, BilReadsWidthsByteOrdersAndHeaderKeys)
{
    TempDir dir;
    struct Case {
        const char* name;
        std::string hdr;
        std::string data;
        LONG expect;
    } cases[] = {
        {"m32", "byteorder M\nNROWS 1\nNCOLS 1\nNBITS 32\n", Bytes({0, 0, 1, 2}), 258},
        {"i32", "BYTEORDER I\nNROWS 1\nNCOLS 1\nNBITS 32\n", Bytes({0xFE, 0xFF, 0xFF, 0xFF}), -2},
        {"m16", "ByteOrder m\nnrows 1\nncols 1\nnbits 16\n", Bytes({0xFF, 0xFE}), 65534},
        {"i16", "nrows 1\nncols 1\nnbits 16\n", Bytes({0x02, 0x01}), 258},  // Intel by default
        {"u8", "NROWS 1 NCOLS 1 NBITS 8 UNKNOWNKEY SIGNEDINT PIXELTYPE SIGNEDINT\n", Bytes({200}), 200},
    };
    for (const Case& c : cases) {
        WriteBil(dir, c.name, c.hdr, c.data);
        CGeoDEM dem;
        ASSERT_EQ(dem.LoadRasterFile(CString(dir(std::string(c.name) + ".bil").c_str())), 1) << c.name;
        EXPECT_EQ(dem.GetNodes()[0], c.expect) << c.name;
        // Without hzoom and invalidvalue: scale 0.1 and invalid 0.
        EXPECT_DOUBLE_EQ(dem.GetResZ(), 0.1) << c.name;
        EXPECT_EQ(dem.GetInvalidElevation(), 0) << c.name;
        EXPECT_EQ(dem.GetPosition(), CRect(100, 190, 110, 200)) << c.name;
    }

    // hzoom, invalidvalue and offset: the offset comes off valid values only.
    WriteBil(dir, "off", "NROWS 2\nNCOLS 2\nNBITS 16\nHZOOM 100\nINVALIDVALUE 9\nOFFSET 5\n",
             Bytes({10, 0, 9, 0, 20, 0, 30, 0}));
    CGeoDEM dem;
    ASSERT_EQ(dem.LoadRasterFile(CString(dir("off.bil").c_str())), 1);
    EXPECT_DOUBLE_EQ(dem.GetResZ(), 0.01);
    EXPECT_EQ(dem.GetInvalidElevation(), 9);
    EXPECT_EQ(dem.GetElevationOffset(), 5);
    EXPECT_EQ(dem.GetNodes()[2], 5);  // north row (10, 9) is band row 1
    EXPECT_EQ(dem.GetNodes()[3], 9);
    EXPECT_EQ(dem.GetMinElevation(), 5);
    EXPECT_EQ(dem.GetMaxElevation(), 25);

    // Upper-case companions are found; a world file at projected coordinates keeps its edges.
    WriteFileBytes(dir("UP.HDR"), "NROWS 1\nNCOLS 2\nNBITS 8\n");
    WriteFileBytes(dir("UP.BLW"), "2\n0\n0\n-2\n17500001\n3400001\n");
    WriteFileBytes(dir("UP.bil"), Bytes({1, 2}));
    ASSERT_EQ(dem.LoadRasterFile(CString(dir("UP.bil").c_str())), 1);
    EXPECT_EQ(dem.GetPosition(), CRect(17500000, 3400000, 17500004, 3400002));

    // Failures: bad nbits, short data, missing world file, unsafe size.
    AfxClearMessageLog();
    WriteBil(dir, "n12", "NROWS 1\nNCOLS 1\nNBITS 12\n", Bytes({1, 2}));
    EXPECT_EQ(dem.LoadRasterFile(CString(dir("n12.bil").c_str())), 0);
    EXPECT_EQ(LastMessage(), "不支持非32、16或8位的BIL格式DEM！");
    WriteBil(dir, "short", "NROWS 2\nNCOLS 2\nNBITS 8\n", Bytes({1, 2, 3}));
    EXPECT_EQ(dem.LoadRasterFile(CString(dir("short.bil").c_str())), 0);
    EXPECT_EQ(dem.GetNodes(), nullptr);
    WriteFileBytes(dir("noblw.hdr"), "NROWS 1\nNCOLS 1\nNBITS 8\n");
    WriteFileBytes(dir("noblw.bil"), Bytes({1}));
    AfxClearMessageLog();
    EXPECT_EQ(dem.LoadRasterFile(CString(dir("noblw.bil").c_str())), 0);
    ASSERT_GE(AfxGetMessageLog().size(), 2u);
    EXPECT_EQ(std::string(AfxGetMessageLog()[0].text), "读取ARC/INFO BIL格式DEM时缺少:" + dir("noblw") + ".blw");
    EXPECT_EQ(LastMessage(), "读BIL信息文件失败！");
    WriteBil(dir, "tall", "NROWS 30000\nNCOLS 30000\nNBITS 8\n", Bytes({1, 2, 3}));  // 3.6 GB of band
    EXPECT_EQ(dem.LoadRasterFile(CString(dir("tall.bil").c_str())), 0);
    EXPECT_EQ(LastMessage(), "DEM数据不完整: " + dir("tall.bil"));
    WriteBil(dir, "huge", "NROWS 70000\nNCOLS 70000\nNBITS 8\n", Bytes({1}));
    EXPECT_EQ(dem.LoadRasterFile(CString(dir("huge.bil").c_str())), 0);
    WriteBil(dir, "hz0", "NROWS 1\nNCOLS 1\nNBITS 8\nHZOOM 0\n", Bytes({1}));
    EXPECT_EQ(dem.LoadRasterFile(CString(dir("hz0.bil").c_str())), 0);
}

// Without a world file the header's ULXMAP, ULYMAP (north-west cell centre), XDIM and YDIM place the
// grid; a world file, when there is one, wins; a header missing any of the four places nothing.
TEST(DemFiles, BilPlacementFromTheHeaderWithoutAWorldFile)
{
    TempDir dir;
    const std::string grid = "NROWS 2\nNCOLS 3\nNBITS 8\n";
    struct Case {
        const char* what;
        std::string keys;
        bool withWorld;
        bool loads;
        CRect position;
    };
    const Case cases[] = {
        {"header keys", "ULXMAP 505\nULYMAP 1015\nXDIM 10\nYDIM 10\n", false, true, CRect(500, 1000, 530, 1020)},
        {"lower case, other order", "xdim 2.5\nydim 2.5\nulymap 3400001.25\nulxmap 17500001.25\n", false, true,
         CRect(17500000, 3399997, 17500007, 3400002)},
        {"the world file wins", "ULXMAP 505\nULYMAP 1015\nXDIM 10\nYDIM 10\n", true, true, CRect(100, 180, 130, 200)},
        {"no YDIM", "ULXMAP 505\nULYMAP 1015\nXDIM 10\n", false, false, CRect()},
        {"no keys", "", false, false, CRect()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(dir("p.blw"));
        WriteFileBytes(dir("p.hdr"), grid + c.keys);
        WriteFileBytes(dir("p.bil"), Bytes({1, 2, 3, 4, 5, 6}));
        if (c.withWorld) WriteFileBytes(dir("p.blw"), "10\n0\n0\n-10\n105\n195\n");
        CGeoDEM dem;
        AfxClearMessageLog();
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0, dx = 0, dy = 0;
        const CString path(dir("p.bil").c_str());
        ASSERT_EQ(dem.LoadRasterFile(path), c.loads ? 1 : 0);
        EXPECT_EQ(GetBilRange(path, x1, y1, x2, y2), c.loads ? 1 : 0);
        EXPECT_EQ(GetBilResolution(path, dx, dy), c.loads ? 1 : 0);
        if (!c.loads) {
            ASSERT_FALSE(AfxGetMessageLog().empty());
            EXPECT_EQ(std::string(AfxGetMessageLog()[0].text), "读取ARC/INFO BIL格式DEM时缺少:" + dir("p") + ".blw");
            continue;
        }
        EXPECT_EQ(dem.GetPosition(), c.position);
        EXPECT_EQ(dem.GetWidth(), 3);
        EXPECT_EQ(dem.GetHeight(), 2);
        EXPECT_EQ(x2 - x1, dx * 3);
        EXPECT_EQ(y1 - y2, dy * 2);
        EXPECT_EQ(static_cast<LONG>(x1), c.position.left);
        EXPECT_EQ(static_cast<LONG>(y1), c.position.bottom);
    }
}

// Grids placed beyond the 32-bit coordinates of the bounds, and BIL values stored as floats, would load
// wrong (bounds clamped, floats taken for integers): each is refused and said.
TEST(DemFiles, GridsThatCannotBeHeldRightAreRefusedWithAMessage)
{
    TempDir dir;
    const std::string grd = "DataMark: CNSDTF-DEM\nVersion: 1.0\nAlfa: 0\nUnit: M\nCompress: 0\nX0: %s\n"
                            "Y0: 100\nDX: 10\nDY: 10\nRow: 1\nCol: 2\nValuetype: Integer\nHzoom: 1\n"
                            "MinV: 0\nMaxV: 0\n5 6\n";
    auto grdText = [&](const char* x0) {
        std::string t = grd;
        t.replace(t.find("%s"), 2, x0);
        return t;
    };
    WriteFileBytes(dir("far.dem"), "NSDTF-DEM x y 0 0 3000000000.0 230.0 10.0 10.0 1 2 1\n5 6\n");
    WriteFileBytes(dir("wide.dem"), "NSDTF-DEM x y 0 0 2147483000.0 230.0 10.0 10.0 1 100 1\n" + std::string(200, '5'));
    WriteFileBytes(dir("far.grd"), grdText("-3000000000"));
    WriteBil(dir, "far", "NROWS 1\nNCOLS 2\nNBITS 8\n", Bytes({1, 2}), "10\n0\n0\n-10\n5000000000\n195\n");
    WriteBil(dir, "north", "NROWS 1\nNCOLS 2\nNBITS 8\n", Bytes({1, 2}), "10\n0\n0\n-10\n105\n-2147483700\n");
    const float f[2] = {1.5f, -2.25f};
    WriteBil(dir, "float", "NROWS 1\nNCOLS 2\nNBITS 32\nPIXELTYPE FLOAT\n", std::string(reinterpret_cast<const char*>(f), 8));
    const struct {
        const char* file;
        const char* message;
    } cases[] = {
        {"far.dem", "DEM的范围超出坐标范围: "},   {"wide.dem", "DEM的范围超出坐标范围: "},
        {"far.grd", "DEM的范围超出坐标范围: "},   {"far.bil", "DEM的范围超出坐标范围: "},
        {"north.bil", "DEM的范围超出坐标范围: "}, {"float.bil", "不支持浮点型(PIXELTYPE FLOAT)的BIL格式DEM: "},
    };
    for (const auto& c : cases) {
        AfxClearMessageLog();
        CGeoDEM dem;
        EXPECT_EQ(dem.LoadRasterFile(CString(dir(c.file).c_str())), 0) << c.file;
        EXPECT_EQ(dem.GetNodes(), nullptr) << c.file;
        ASSERT_FALSE(AfxGetMessageLog().empty()) << c.file;
        EXPECT_EQ(std::string(static_cast<LPCTSTR>(AfxGetMessageLog()[0].text)), c.message + dir(c.file)) << c.file;
    }
    // The window reader refuses the float grid as well.
    CGeoDEM window;
    EXPECT_EQ(window.LoadBilBlock(CString(dir("float.bil").c_str()), CRect(100, 190, 120, 200), 0), 0);
    AfxClearMessageLog();
}

TEST(DemFiles, BilWriteTextPathsAndRoundTrip)
{
    TempDir dir;
    auto dem = MakeDemFn(3, 2, [](int c, int r) { return c == 1 && r == 0 ? X : -5 + c * 100 + r; }, 500, 1020, 10.0, 0.1);
    ASSERT_EQ(dem->SaveAsBil(CString(dir("a.BIL").c_str()), 32), 1);
    EXPECT_EQ(ReadFileBytes(dir("a.hdr")),
              "BYTEORDER      I\nLAYOUT       BIL\nNROWS         2\nNCOLS         3\nNBANDS        1\n"
              "NBITS         32\nBANDROWBYTES         12\nTOTALROWBYTES        12\nBANDGAPBYTES         0\n"
              "HZoom        10\nInvalidValue         -99999\nPIXELTYPE SIGNEDINT\n");
    EXPECT_EQ(ReadFileBytes(dir("a.blw")), "10.000000\n0.000000\n0.00000000000000\n-10.000000\n505.000000\n1015.000000\n");
    EXPECT_EQ(ReadFileBytes(dir("a.BIL")).size(), 24u);
    CGeoDEM back;
    ASSERT_EQ(back.LoadRasterFile(CString(dir("a.BIL").c_str())), 1);
    EXPECT_EQ(back.GetPosition(), dem->GetPosition());
    EXPECT_EQ(back.GetInvalidElevation(), X);
    EXPECT_DOUBLE_EQ(back.GetResZ(), 0.1);
    EXPECT_EQ(std::memcmp(back.GetNodes(), dem->GetNodes(), 24), 0);
    double x1, y1, x2, y2, dx, dy;
    ASSERT_EQ(GetBilRange(CString(dir("a.BIL").c_str()), x1, y1, x2, y2), 1);
    EXPECT_DOUBLE_EQ(x1, 500);
    EXPECT_DOUBLE_EQ(y1, 1020);  // north first
    EXPECT_DOUBLE_EQ(x2, 530);
    EXPECT_DOUBLE_EQ(y2, 1000);
    ASSERT_EQ(GetBilResolution(CString(dir("a.bil").c_str()), dx, dy), 1);
    EXPECT_DOUBLE_EQ(dx, 10);
    EXPECT_DOUBLE_EQ(dy, 10);
    EXPECT_EQ(GetBilRange(CString(dir("none.bil").c_str()), x1, y1, x2, y2), 0);

    // No extension: base.hdr, base.blw and base.bil; 16 bits have no PIXELTYPE line.
    auto positive = MakeDemFn(2, 1, [](int c, int) { return 65535 - c; });
    ASSERT_EQ(positive->SaveAsBil(CString(dir("plain").c_str()), 16), 1);
    EXPECT_EQ(ReadFileBytes(dir("plain.bil")), Bytes({0xFF, 0xFF, 0xFE, 0xFF}));
    EXPECT_EQ(ReadFileBytes(dir("plain.hdr")).find("PIXELTYPE"), std::string::npos);
    CGeoDEM narrow;
    ASSERT_EQ(narrow.LoadRasterFile(CString(dir("plain.bil").c_str())), 1);
    EXPECT_EQ(narrow.GetNodes()[1], 65534);

    // What an unsigned narrow file cannot hold is refused before any file is made.
    struct Refusal {
        const char* name;
        int bits;
        LONG value;
    } refusals[] = {{"neg16", 16, -1}, {"big8", 8, 256}, {"inv8", 8, X}, {"bits24", 24, 1}};
    for (const Refusal& r : refusals) {
        const LONG value = r.value;
        auto d = MakeDemFn(1, 1, [value](int, int) { return value; });
        if (value == X) d->SetMinElevation(0);
        EXPECT_EQ(d->SaveAsBil(CString(dir(r.name).c_str()), r.bits), 0) << r.name;
        EXPECT_FALSE(std::filesystem::exists(dir(std::string(r.name) + ".hdr"))) << r.name;
    }
}

TEST(DemFiles, BilWindowEqualsTheSameBlockOfTheWholeGrid)
{
    TempDir dir;
    auto dem = MakeDemFn(6, 5, [](int c, int r) { return r == 2 && c == 2 ? X : 100 * r + c; }, 0, 50, 10.0, 0.1);
    ASSERT_EQ(dem->SaveAsBil(CString(dir("w.bil").c_str()), 32), 1);
    CGeoDEM window;
    ASSERT_EQ(window.LoadBilBlock(CString(dir("w.bil").c_str()), CRect(10, 10, 40, 40), 0), 1);
    ASSERT_EQ(window.GetWidth(), 3);
    ASSERT_EQ(window.GetHeight(), 3);
    std::unique_ptr<CGeoDEM> cut(dem->GetBlock(CRect(10, 10, 40, 40)));
    ASSERT_TRUE(cut);
    EXPECT_EQ(std::memcmp(window.GetNodes(), cut->GetNodes(), 36), 0);
    EXPECT_EQ(window.GetMinElevation(), 101);  // always updated, over valid values
    EXPECT_EQ(window.GetMaxElevation(), 303);
    EXPECT_EQ(window.GetPosition(), CRect(10, 10, 40, 40));
    // A window reaching outside the file is refused; a missing data file is a message, not a throw.
    EXPECT_EQ(window.LoadBilBlock(CString(dir("w.bil").c_str()), CRect(40, 10, 70, 40), 0), 0);
    std::filesystem::copy_file(dir("w.hdr"), dir("gone.hdr"));
    std::filesystem::copy_file(dir("w.blw"), dir("gone.blw"));
    AfxClearMessageLog();
    EXPECT_EQ(window.LoadBilBlock(CString(dir("gone.bil").c_str()), CRect(10, 10, 40, 40), 0), 0);
    EXPECT_EQ(LastMessage(), "无法打开: " + dir("gone.bil"));
}

TEST(DemFiles, HeaderEditorsChangeOneEntryAndKeepTheRest)
{
    TempDir dir;
    const std::string hdr = "BYTEORDER I\nNROWS 1\nNCOLS 1\nNBITS 8\nHZoom 10\nextra  keep me\n";
    WriteBil(dir, "e", hdr, Bytes({7}));
    ASSERT_EQ(SetBilHZoom(CString(dir("e.bil").c_str()), 100), 1);
    ASSERT_EQ(SetBilInvalidElevation(CString(dir("e.bil").c_str()), 7), 1);
    ASSERT_EQ(SetBilElevationOffset(CString(dir("e.xyz").c_str()), -3), 1);  // base up to the last '.'
    EXPECT_EQ(ReadFileBytes(dir("e.hdr")),
              "BYTEORDER I\nNROWS 1\nNCOLS 1\nNBITS 8\nHZoom   100\nextra  keep me\ninvalidvalue   7\noffset   -3\n");
    ASSERT_EQ(SetBilInvalidElevation(CString(dir("e").c_str()), 8), 1);  // no extension: the path itself
    EXPECT_NE(ReadFileBytes(dir("e.hdr")).find("invalidvalue   8\noffset"), std::string::npos);
    CGeoDEM dem;
    ASSERT_EQ(dem.LoadRasterFile(CString(dir("e.bil").c_str())), 1);
    EXPECT_DOUBLE_EQ(dem.GetResZ(), 0.01);
    EXPECT_EQ(dem.GetInvalidElevation(), 8);
    AfxClearMessageLog();
    EXPECT_EQ(SetBilHZoom(CString(dir("nope.bil").c_str()), 1), 0);
    EXPECT_EQ(LastMessage(), "无法打开文件:" + dir("nope") + ".hdr");
}

TEST(DemFiles, RecordReloadsTheGridFileAndSkipsStoredBands)
{
    TempDir dir;
    auto dem = MakeDemFn(4, 3, [](int c, int r) { return c + 10 * r; }, 0, 30, 10.0, 0.1);
    const std::string grd = dir("g.grd");
    ASSERT_EQ(dem->SaveAsGrd(CString(grd.c_str())), 1);
    CGeoDEM fromFile;
    ASSERT_EQ(fromFile.LoadRasterFile(CString(grd.c_str())), 1);
    fromFile.ChangeUnit(3);  // the record stands in millimetres
    const CRect mmBounds = fromFile.GetPosition();

    const std::string doc = dir("doc.bin");
    ULONGLONG recordLength = 0;
    {
        CFile f(doc.c_str(), CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&f, CArchive::store);
        fromFile.Serialize(ar);
        ar.Close();
        recordLength = f.GetPosition();
        fromFile.WriteHugeData(&f);
        const DWORD marker = 0xA5A5A5A5;
        f.Write(&marker, 4);
    }
    // The grid file grows: the document's band bytes must still be skipped by their stored length.
    auto bigger = MakeDemFn(5, 3, [](int c, int r) { return 7 + c + r; }, 0, 30, 10.0, 0.1);
    ASSERT_EQ(bigger->SaveAsGrd(CString(grd.c_str())), 1);
    CFile f(doc.c_str(), CFile::modeRead);
    CGeoDEM loaded;
    {
        CArchive ar(&f, CArchive::load);
        loaded.Serialize(ar);
        ar.Close();
    }
    f.Seek(static_cast<LONGLONG>(recordLength), CFile::begin);
    loaded.ReadHugeData(&f);
    DWORD marker = 0;
    ASSERT_EQ(f.Read(&marker, 4), 4u);
    EXPECT_EQ(marker, 0xA5A5A5A5u);
    EXPECT_EQ(loaded.GetWidth(), 5);
    EXPECT_EQ(loaded.GetUnit(), 3);
    EXPECT_EQ(loaded.GetPosition(), mmBounds);
    EXPECT_DOUBLE_EQ(loaded.GetCellSize(), 10000.0);
    double out = 0;
    ASSERT_EQ(loaded.GetPixel(0L, 0L, out), 1);
    EXPECT_DOUBLE_EQ(out, 0.7);
}

TEST(DemFiles, AFailedSaveSaysWhyAndLeavesThePreviousFiles)
{
    TempDir dir;
    auto first = MakeDemFn(4, 3, [](int c, int r) { return c + 10 * r; });
    auto second = MakeDemFn(3, 4, [](int c, int r) { return 50 + c + r; });
    ASSERT_EQ(first->SaveAsBil(CString(dir("a.bil").c_str()), 32), 1);
    ASSERT_EQ(first->SaveAsGrd(CString(dir("a.grd").c_str())), 1);
    const std::string files[] = {"a.bil", "a.hdr", "a.blw", "a.grd"};
    std::vector<std::string> before;
    for (const std::string& f : files) before.push_back(testsupport::ReadFileBytes(dir(f)));

    // A read-only header stops the whole BIL save before any of its files changes.
    std::filesystem::permissions(dir("a.hdr"), std::filesystem::perms::owner_read | std::filesystem::perms::group_read |
                                                   std::filesystem::perms::others_read);
    AfxClearMessageLog();
    EXPECT_EQ(second->SaveAsBil(CString(dir("a.bil").c_str()), 32), 0);
    EXPECT_EQ(LastMessage(), "DEM数据保存失败: " + dir("a.hdr") + ": 拒绝访问。");
    std::filesystem::permissions(dir("a.grd"), std::filesystem::perms::owner_read);
    EXPECT_EQ(second->SaveAsGrd(CString(dir("a.grd").c_str())), 0);
    EXPECT_EQ(LastMessage(), "DEM数据保存失败: " + dir("a.grd") + ": 拒绝访问。");
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(testsupport::ReadFileBytes(dir(files[i])), before[i]) << files[i];

    EXPECT_EQ(second->SaveAsGrd(CString(dir("no/such/b.grd").c_str())), 0);
    EXPECT_EQ(LastMessage(), "DEM数据保存失败: " + dir("no/such/b.grd") + ": 找不到文件。");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), std::filesystem::directory_iterator()), 4);
}
