// CGeoDEM's file formats: NSDTF-DEM ".dem" (read), CNSDTF-DEM ".grd" (read, write) and ARC/INFO BIL
// (".bil" data, ".hdr" header, ".blw" world file; read, window read, write), and the BIL helpers.
//
// Text is parsed from one buffered read of the whole file with a hand tokenizer (numbers in the "C"
// form); CR LF line ends are accepted everywhere. Companion files (".hdr", ".blw") are looked up
// without regard to case when the exact name is missing, as files made on case-blind systems often
// carry upper-case names.
#include "terrain/GeoDEM.h"
#include "terrain/DemProgress.h"
#include "terrain/TerrainFileSave.h"

#include <afx/FileReplacement.h>
#include <afx/WinApp.h>
#include <win32/codepage.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

const char kReadingDem[] = "正在读取DEM数据...";
const char kReadingBil[] = "正在读取Bil数据...";
const char kMissingBilFile[] = "读取ARC/INFO BIL格式DEM时缺少:";
const char kBadNbits[] = "不支持非32、16或8位的BIL格式DEM！";
const char kShortData[] = "DEM数据不完整: ";
const char kOutOfRange[] = "DEM的范围超出坐标范围: ";
const char kFloatBil[] = "不支持浮点型(PIXELTYPE FLOAT)的BIL格式DEM: ";
const char kSaveFailed[] = "DEM数据保存失败: ";

std::string Native(const CString& path) { return win32::GbkPathToNative(std::string(static_cast<LPCTSTR>(path))); }

FILE* OpenFile(const CString& path, const char* mode) { return std::fopen(Native(path).c_str(), mode); }

// A companion file for reading: the exact name, else the one name in its folder that differs only in
// case.
FILE* OpenCompanion(const CString& path, const char* mode)
{
    const std::string native = Native(path);
    if (FILE* fp = std::fopen(native.c_str(), mode)) return fp;
    namespace fs = std::filesystem;
    const fs::path p(native);
    const fs::path dir = p.has_parent_path() ? p.parent_path() : fs::path(".");
    const std::string want = p.filename().string();
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() == want.size() &&
            std::equal(name.begin(), name.end(), want.begin(), [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
            }))
            return std::fopen(it->path().string().c_str(), mode);
    }
    return nullptr;
}

bool ReadAll(FILE* fp, std::string& out)
{
    out.clear();
    char buf[1 << 16];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, fp)) > 0) out.append(buf, n);
    return !std::ferror(fp);
}

inline bool IsSpace(char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\v'; }

// Whitespace-separated tokens of a NUL-terminated buffer.
struct Tokenizer {
    const char* p;
    const char* end;

    bool Next(std::string& token)
    {
        while (p < end && IsSpace(*p)) ++p;
        if (p >= end) return false;
        const char* s = p;
        while (p < end && !IsSpace(*p)) ++p;
        token.assign(s, p);
        return true;
    }
    bool Skip()
    {
        while (p < end && IsSpace(*p)) ++p;
        if (p >= end) return false;
        while (p < end && !IsSpace(*p)) ++p;
        return true;
    }
    bool Double(double& v)
    {
        while (p < end && IsSpace(*p)) ++p;
        if (p >= end) return false;
        char* e = nullptr;
        v = std::strtod(p, &e);
        if (e == p) return false;
        p = e;
        return true;
    }
    // A decimal integer as "%ld" reads it (sign, digits); values beyond 32 bits saturate.
    bool Long(LONG& v)
    {
        while (p < end && IsSpace(*p)) ++p;
        if (p >= end) return false;
        const char* s = p;
        bool neg = false;
        if (*s == '-' || *s == '+') neg = *s++ == '-';
        if (s >= end || *s < '0' || *s > '9') return false;
        int64_t n = 0;
        while (s < end && *s >= '0' && *s <= '9') {
            if (n < 0x100000000LL) n = n * 10 + (*s - '0');
            ++s;
        }
        if (neg) n = -n;
        v = n > 0x7FFFFFFF ? 0x7FFFFFFF : n < -0x7FFFFFFFLL - 1 ? static_cast<LONG>(-0x7FFFFFFFLL - 1) : static_cast<LONG>(n);
        // Anything glued to the number (a decimal part, an exponent) is left for the next read, as
        // "%ld" does.
        p = s;
        return true;
    }
};

LONG TruncLong(double v)
{
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return 2147483647;
    if (v <= -2147483648.0) return -2147483647 - 1;
    return static_cast<LONG>(v);
}

std::string Lower(std::string s)
{
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

CString Lower4(const CString& path)
{
    CString ext = path.Right(4);
    ext.MakeLower();
    return ext;
}

// The edges of a grid (in its file's unit) as bounds: false, after saying so, when one lies beyond the
// 32-bit coordinates the bounds hold (they would be clamped, and the grid placed wrong).
bool EdgesFit(double west, double south, double east, double north, const CString& path)
{
    for (double v : {west, south, east, north})
        if (!(v >= -2147483648.0 && v < 2147483648.0)) {
            AfxMessageBox(CString(kOutOfRange) + path);
            return false;
        }
    return true;
}

// A grid size that a single band can hold.
// Each side is bounded before the product is formed, so a header of huge sides cannot overflow it.
bool SizeOk(int64_t w, int64_t h)
{
    return w >= 1 && h >= 1 && w <= 0x3FFFFFFF && h <= 0x3FFFFFFF && w * h * 4 <= 0xFFFFFFFFLL;
}

// The header keys of a BIL ".hdr" as the reader understands them.
struct BilHeader {
    bool intel = true;
    bool floating = false;  // PIXELTYPE FLOAT: the values are IEEE floats
    bool hasRows = false, hasCols = false, hasBits = false, hasHZoom = false, hasInvalid = false, hasOffset = false;
    LONG rows = 0, cols = 0, bits = 0, hzoom = 0, invalid = 0, offset = 0;
    // The placement some writers put in the header instead of a world file: the centre of the
    // north-west cell and the cell sizes.
    int placementKeys = 0;  // bit per key found: ULXMAP 1, ULYMAP 2, XDIM 4, YDIM 8
    double ulxmap = 0, ulymap = 0, xdim = 0, ydim = 0;
};

LONG ToLong(const std::string& s) { return TruncLong(std::strtod(s.c_str(), nullptr)); }

bool ParseBilHeader(FILE* fp, BilHeader& h)
{
    std::string text;
    if (!ReadAll(fp, text)) return false;
    Tokenizer t{text.data(), text.data() + text.size()};
    std::string key, value;
    while (t.Next(key)) {
        key = Lower(key);
        static const char* const kKeys[] = {"byteorder", "layout", "nrows", "ncols", "nbands", "nbits", "bandrowbytes",
                                            "totalrowbytes", "bandgapbytes", "hzoom", "invalidvalue", "offset",
                                            "ulxmap", "ulymap", "xdim", "ydim", "pixeltype"};
        if (std::find_if(std::begin(kKeys), std::end(kKeys), [&](const char* k) { return key == k; }) == std::end(kKeys))
            continue;  // other tokens are skipped
        if (!t.Next(value)) break;
        if (key == "byteorder") h.intel = Lower(value) == "i";
        else if (key == "nrows") { h.rows = ToLong(value); h.hasRows = true; }
        else if (key == "ncols") { h.cols = ToLong(value); h.hasCols = true; }
        else if (key == "nbits") { h.bits = ToLong(value); h.hasBits = true; }
        else if (key == "hzoom") { h.hzoom = ToLong(value); h.hasHZoom = true; }
        else if (key == "invalidvalue") { h.invalid = ToLong(value); h.hasInvalid = true; }
        else if (key == "offset") { h.offset = ToLong(value); h.hasOffset = true; }
        else if (key == "ulxmap") { h.ulxmap = std::strtod(value.c_str(), nullptr); h.placementKeys |= 1; }
        else if (key == "ulymap") { h.ulymap = std::strtod(value.c_str(), nullptr); h.placementKeys |= 2; }
        else if (key == "xdim") { h.xdim = std::strtod(value.c_str(), nullptr); h.placementKeys |= 4; }
        else if (key == "ydim") { h.ydim = std::strtod(value.c_str(), nullptr); h.placementKeys |= 8; }
        else if (key == "pixeltype") h.floating = Lower(value) == "float";
    }
    return true;
}

// The six numbers of a world file, in double precision (single precision moves projected edges).
bool ReadWorldFile(FILE* fp, double v[6])
{
    std::string text;
    if (!ReadAll(fp, text)) return false;
    Tokenizer t{text.data(), text.data() + text.size()};
    for (int i = 0; i < 6; ++i)
        if (!t.Double(v[i])) return false;
    return true;
}

CString BilBase(const CString& path) { return path.Left(std::max(0, path.GetLength() - 4)); }

// Finishes a save of the BIL files of base that a killed process left between its renames (SaveAsBil
// commits the header first), so that no reader meets a header and a grid from different saves.
void FinishBilSave(const CString& base) { CFileReplacement::Recover(base + ".hdr"); }

enum class Placement { kRead, kUnreadable, kMissing };

// The six world-file numbers of a BIL: from base + ".blw" when it exists, else from the header's
// ULXMAP, ULYMAP, XDIM and YDIM when it holds all four (the same numbers: the north-west cell's
// centre, rows running south); kMissing when neither.
Placement ReadBilPlacement(const CString& base, const BilHeader& h, double world[6])
{
    if (FILE* blw = OpenCompanion(base + ".blw", "rt")) {
        const bool ok = ReadWorldFile(blw, world);
        if (std::fclose(blw) != 0) AfxMessageBox(CString("The file ") + base + ".blw" + " was not closed\n");
        return ok ? Placement::kRead : Placement::kUnreadable;
    }
    if (h.placementKeys != 15) return Placement::kMissing;
    const double fromHeader[6] = {h.xdim, 0.0, 0.0, -h.ydim, h.ulxmap, h.ulymap};
    std::copy(fromHeader, fromHeader + 6, world);
    return Placement::kRead;
}

// Converts one file row of n values of bits bits into 32-bit stored values.
void DecodeRow(const BYTE* src, LONG* dst, LONG n, int bits, bool intel)
{
    if (bits == 32) {
        for (LONG i = 0; i < n; ++i, src += 4) {
            const uint32_t u = intel ? (uint32_t(src[0]) | uint32_t(src[1]) << 8 | uint32_t(src[2]) << 16 | uint32_t(src[3]) << 24)
                                     : (uint32_t(src[3]) | uint32_t(src[2]) << 8 | uint32_t(src[1]) << 16 | uint32_t(src[0]) << 24);
            dst[i] = static_cast<LONG>(u);
        }
    } else if (bits == 16) {
        for (LONG i = 0; i < n; ++i, src += 2)
            dst[i] = intel ? (LONG(src[0]) | LONG(src[1]) << 8) : (LONG(src[1]) | LONG(src[0]) << 8);
    } else {
        for (LONG i = 0; i < n; ++i) dst[i] = src[i];
    }
}

// Reads one row of n values of the given width from fp into dst, through row (room for the row's bytes)
// unless the file's values are already this machine's 32-bit integers, which go straight into dst.
bool ReadRow(FILE* fp, std::vector<BYTE>& row, LONG* dst, LONG n, int bits, bool intel)
{
    const size_t bytes = static_cast<size_t>(n) * static_cast<size_t>(bits) / 8;
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    if (bits == 32 && intel) return std::fread(dst, 1, bytes, fp) == bytes;
#endif
    if (std::fread(row.data(), 1, bytes, fp) != bytes) return false;
    DecodeRow(row.data(), dst, n, bits, intel);
    return true;
}

// Appends the decimal form of v.
inline char* PutLong(char* out, LONG v)
{
    char tmp[12];
    int n = 0;
    uint32_t u = v < 0 ? 0u - static_cast<uint32_t>(v) : static_cast<uint32_t>(v);
    do {
        tmp[n++] = static_cast<char>('0' + u % 10);
        u /= 10;
    } while (u);
    if (v < 0) *out++ = '-';
    while (n) *out++ = tmp[--n];
    return out;
}

}  // namespace

// ---------------------------------------------------------------------------------------------------
// Loading

void CGeoDEM::ResetForLoad(const CString& path)
{
    m_strFileName = path;
    m_BandArray.DeleteAllBands();
    m_ptExtent = CPoint(0, 0);
    m_wBitCount = 0;
    m_dAlfa = 0.0;
    m_dCompress = 0.0;
    m_lInvalid = kDemNoInvalid;
    m_lMax = kDemEmptyMax;
    m_lMin = kDemEmptyMin;
    m_bBitmapOutdated = 1;
}

int CGeoDEM::LoadRasterFile(CString path)
{
    ResetForLoad(path);
    if (Lower4(path) == ".bil") FinishBilSave(BilBase(path));
    FILE* fp = OpenFile(path, "rb");
    if (!fp) {
        AfxMessageBox(CString("can't open this file: ") + path);
        return 0;
    }
    const CString ext = Lower4(path);
    int result = 0;
    if (ext == ".dem") result = LoadDemText(fp, path);
    else if (ext == ".grd") result = LoadGrdText(fp, path);
    else if (ext == ".bil") result = LoadBilData(fp, path);
    std::fclose(fp);
    return result;
}

namespace {

// Reads H rows of W values (north row first) from t into band; min and max over the valid values.
// Returns false when the values run out.
bool ReadTextValues(Tokenizer& t, LONG* v, LONG w, LONG h, LONG invalid, LONG& lo, LONG& hi)
{
    for (LONG k = 0; k < h; ++k) {
        LONG* row = v + static_cast<size_t>(h - 1 - k) * w;
        for (LONG c = 0; c < w; ++c) {
            if (!t.Long(row[c])) return false;
            if (row[c] == invalid) continue;
            if (row[c] < lo) lo = row[c];
            if (row[c] > hi) hi = row[c];
        }
        demprogress::Step(static_cast<int>((static_cast<int64_t>(k) + 1) * 100 / h));
    }
    return true;
}

// A text grid of count values needs at least two characters a value (a digit and a separator; the
// last may end the file). A header asking for more than the rest of the file can hold is short data,
// found before the band is allocated rather than after reading to the end.
bool TextCanHold(const Tokenizer& t, int64_t count) { return count <= (static_cast<int64_t>(t.end - t.p) + 1) / 2; }

}  // namespace

int CGeoDEM::LoadDemText(FILE* fp, const CString& path)
{
    std::string text;
    if (!ReadAll(fp, text)) return 0;
    Tokenizer t{text.data(), text.data() + text.size()};
    std::string mark;
    if (!t.Next(mark) || mark != "NSDTF-DEM") return 0;
    double alfa, compress, x0, y0, dx, dy, hzoom;
    LONG rows, cols;
    if (!t.Skip() || !t.Skip() || !t.Double(alfa) || !t.Double(compress) || !t.Double(x0) || !t.Double(y0) ||
        !t.Double(dx) || !t.Double(dy) || !t.Long(rows) || !t.Long(cols) || !t.Double(hzoom))
        return 0;
    (void)dx;
    // A header that would overflow the band size or make the scale infinite is not a grid.
    if (!SizeOk(cols, rows) || !(hzoom > 0.0) || !(dy > 0.0) || !std::isfinite(x0) || !std::isfinite(y0)) return 0;
    const double cell = dy;
    m_dAlfa = alfa;
    m_dCompress = compress;
    m_ptExtent = CPoint(cols - 1, rows - 1);
    m_wBitCount = 32;
    m_dwBytesPerRow = static_cast<DWORD>(cols) * 4u;
    m_nUnit = 6;
    m_dScale = 1.0 / hzoom;
    m_lInvalid = TruncLong(-99999.0 * hzoom - 0.5);
    m_RasterParameter.m_dPixelSize = cell;
    if (!EdgesFit(x0, y0 - rows * cell, x0 + cols * cell, y0, path)) return 0;
    m_rcBounds = CRect(TruncLong(x0), TruncLong(y0 - rows * cell), TruncLong(x0 + cols * cell), TruncLong(y0));
    if (!TextCanHold(t, static_cast<int64_t>(rows) * cols)) {
        AfxMessageBox(CString(kShortData) + path);
        return 0;
    }
    CGeoBandData* band = new CGeoBandData();
    if (!band->Create(nullptr, nullptr, static_cast<DWORD>(static_cast<int64_t>(rows) * cols * 4), 0) || !band->GetBuffer()) {
        delete band;
        AfxMessageBox("malloc failure(Load raster file)!");
        return 0;
    }
    demprogress::Begin(kReadingDem);
    LONG lo = kDemEmptyMin, hi = kDemEmptyMax;
    const bool complete = ReadTextValues(t, reinterpret_cast<LONG*>(band->GetBuffer()), cols, rows, m_lInvalid, lo, hi);
    demprogress::End();
    if (!complete) {
        delete band;
        AfxMessageBox(CString(kShortData) + path);
        return 0;
    }
    m_lMin = lo;
    m_lMax = hi;
    m_BandArray.Add(band);
    return 1;
}

int CGeoDEM::LoadGrdText(FILE* fp, const CString& path)
{
    std::string text;
    if (!ReadAll(fp, text)) return 0;
    // The first line (at most 79 characters) names the format.
    size_t eol = text.find('\n');
    if (eol == std::string::npos) eol = text.size();
    const std::string first = text.substr(0, std::min<size_t>(eol, 79));
    if (first.find("CNSDTF-DEM") == std::string::npos) return 0;
    const size_t bodyStart = std::min(text.size(), eol + (eol < 79 ? 1 : 0));
    // The header is short: scan it from a bounded copy.
    const std::string head = text.substr(bodyStart, 4096);
    double version = 0, alfa = 0, x0 = 0, y0 = 0, dx = 0, dy = 0, hzoom = 0;
    int compress = 0;
    long long rows = 0, cols = 0;
    int used = -1;
    const int got = std::sscanf(head.c_str(),
                                "%*s%lf%*s%lf%*s%*s%*s%d%*s%lf%*s%lf%*s%lf%*s%lf%*s%lld%*s%lld%*s%*s%*s%lf%*s%*s%*s%*s%n",
                                &version, &alfa, &compress, &x0, &y0, &dx, &dy, &rows, &cols, &hzoom, &used);
    if (got != 10 || used <= 0) return 0;
    if (!SizeOk(cols, rows) || !(hzoom > 0.0) || !(dy > 0.0) || !std::isfinite(x0) || !std::isfinite(y0)) return 0;
    (void)version;
    (void)dx;
    const double cell = dy;
    m_dAlfa = alfa;
    m_ptExtent = CPoint(static_cast<LONG>(cols) - 1, static_cast<LONG>(rows) - 1);
    m_wBitCount = 32;
    m_dwBytesPerRow = static_cast<DWORD>(cols) * 4u;
    m_nUnit = 6;
    m_dScale = 1.0 / hzoom;
    m_lInvalid = -99999;
    m_RasterParameter.m_dPixelSize = cell;
    if (!EdgesFit(x0, y0 - rows * cell, x0 + cols * cell, y0, path)) return 0;
    m_rcBounds = CRect(TruncLong(x0), TruncLong(y0 - rows * cell), TruncLong(x0 + cols * cell), TruncLong(y0));
    Tokenizer t{text.data() + bodyStart + used, text.data() + text.size()};
    if (!TextCanHold(t, rows * cols)) {
        AfxMessageBox(CString(kShortData) + path);
        return 0;
    }
    CGeoBandData* band = new CGeoBandData();
    if (!band->Create(nullptr, nullptr, static_cast<DWORD>(rows * cols * 4), 0) || !band->GetBuffer()) {
        delete band;
        AfxMessageBox("malloc failure(DataBuf)!");
        return 0;
    }
    demprogress::Begin(kReadingDem);
    LONG lo = kDemEmptyMin, hi = kDemEmptyMax;
    const bool complete = ReadTextValues(t, reinterpret_cast<LONG*>(band->GetBuffer()), static_cast<LONG>(cols),
                                         static_cast<LONG>(rows), m_lInvalid, lo, hi);
    demprogress::End();
    if (!complete) {
        delete band;
        AfxMessageBox(CString(kShortData) + path);
        return 0;
    }
    m_lMin = lo;
    m_lMax = hi;
    m_BandArray.Add(band);
    return 1;
}

int CGeoDEM::ReadBilInfoFile(CString path, int& reserved, int& intelOrder, UINT& bits)
{
    reserved = 0;
    intelOrder = 1;
    return ReadBilInfoFileImpl(path, intelOrder, bits);
}

int CGeoDEM::ReadBilInfoFileImpl(CString path, int& intelOrder, UINT& bits)
{
    const CString base = BilBase(path);
    FinishBilSave(base);
    FILE* hdr = OpenCompanion(base + ".hdr", "rt");
    if (!hdr) {
        AfxMessageBox(CString(kMissingBilFile) + base + ".hdr");
        return 0;
    }
    BilHeader h;
    const bool parsed = ParseBilHeader(hdr, h);
    if (std::fclose(hdr) != 0) AfxMessageBox(CString("The file ") + base + ".hdr" + " was not closed\n");
    if (!parsed) return 0;
    double world[6];
    const Placement placement = ReadBilPlacement(base, h, world);
    if (placement == Placement::kMissing) {
        AfxMessageBox(CString(kMissingBilFile) + base + ".blw");
        return 0;
    }
    const bool worldOk = placement == Placement::kRead;
    // Sizes, cell and hzoom from files are validated before anything divides or allocates by them.
    if (!worldOk || !SizeOk(h.cols, h.rows) || (h.hasHZoom && h.hzoom <= 0) || !(world[0] > 0.0) ||
        !std::isfinite(world[4]) || !std::isfinite(world[5]))
        return 0;
    // Values stored as floating point would be taken for integers of the same bits: refused, not misread.
    if (h.floating) {
        AfxMessageBox(CString(kFloatBil) + path);
        return 0;
    }
    {
        const double c = world[0], w = world[4] - c / 2, n = world[5] + c / 2;
        if (!EdgesFit(w, n - h.rows * c, h.cols * c + w, n, path)) return 0;
    }
    intelOrder = h.intel ? 1 : 0;
    if (h.hasBits) bits = static_cast<UINT>(h.bits);
    if (h.hasHZoom) {
        m_dScale = 1.0 / h.hzoom;
        m_bHZoomGiven = 1;
    }
    if (h.hasInvalid) {
        m_lInvalid = h.invalid;
        m_bInvalidGiven = 1;
    }
    if (h.hasOffset) m_lOffset = h.offset;
    m_ptExtent = CPoint(h.cols - 1, h.rows - 1);
    const double cell = world[0];
    m_RasterParameter.m_dPixelSize = cell;
    m_dAlfa = world[1];
    const double west = world[4] - cell / 2, north = world[5] + cell / 2;
    m_rcBounds = CRect(TruncLong(west), TruncLong(north - h.rows * cell), TruncLong(h.cols * cell + west), TruncLong(north));
    m_nUnit = 6;
    m_wBitCount = 32;
    m_dwBytesPerRow = static_cast<DWORD>(h.cols) * 4u;
    if (!m_bHZoomGiven) m_dScale = 0.1;
    if (!m_bInvalidGiven) m_lInvalid = 0;
    return 1;
}

int CGeoDEM::LoadBilData(FILE* fp, const CString& path)
{
    int intel = 1;
    UINT bits = 0;
    if (!ReadBilInfoFileImpl(path, intel, bits)) {
        AfxMessageBox("读BIL信息文件失败！");
        return 0;
    }
    const LONG w = GetWidth(), h = GetHeight();
    if (bits != 8 && bits != 16 && bits != 32) {
        AfxMessageBox(kBadNbits);
        return 0;
    }
    const size_t rowBytes = static_cast<size_t>(w) * bits / 8;
    // A data file shorter than the header's grid is short data: said before the band is allocated.
    const long here = std::ftell(fp);
    if (here < 0 || std::fseek(fp, 0, SEEK_END) != 0) return 0;
    const long size = std::ftell(fp);
    if (size < 0 || std::fseek(fp, here, SEEK_SET) != 0) return 0;
    if (static_cast<uint64_t>(size - here) < static_cast<uint64_t>(rowBytes) * static_cast<uint64_t>(h)) {
        AfxMessageBox(CString(kShortData) + path);
        return 0;
    }
    CGeoBandData* band = new CGeoBandData();
    if (!band->Create(nullptr, nullptr, static_cast<DWORD>(static_cast<int64_t>(w) * h * 4), 0) || !band->GetBuffer()) {
        delete band;
        AfxMessageBox("malloc failure(DataBuf)!");
        return 0;
    }
    demprogress::Begin(kReadingBil);
    LONG* v = reinterpret_cast<LONG*>(band->GetBuffer());
    std::vector<BYTE> row(rowBytes);
    const LONG invalid = m_lInvalid, offset = m_lOffset;
    LONG lo = kDemEmptyMin, hi = kDemEmptyMax;
    for (LONG k = 0; k < h; ++k) {
        LONG* dst = v + static_cast<size_t>(h - 1 - k) * w;
        if (!ReadRow(fp, row, dst, w, static_cast<int>(bits), intel != 0)) {
            delete band;
            AfxMessageBox(CString(kShortData) + path);
            demprogress::End();
            return 0;
        }
        for (LONG c = 0; c < w; ++c) {
            if (dst[c] == invalid) continue;
            dst[c] -= offset;
            if (dst[c] < lo) lo = dst[c];
            if (dst[c] > hi) hi = dst[c];
        }
        demprogress::Step(static_cast<int>((static_cast<int64_t>(k) + 1) * 100 / h));
    }
    demprogress::End();
    m_lMin = lo;
    m_lMax = hi;
    m_BandArray.Add(band);
    return 1;
}

int CGeoDEM::LoadBilBlock(CString path, CRect rect, int applyOffset)
{
    m_strFileName = path;
    int intel = 1;
    UINT bits = 0;
    if (!ReadBilInfoFileImpl(path, intel, bits)) return 0;
    const LONG wf = GetWidth(), hf = GetHeight();
    const double cell = GetCellSize();
    const double north = GetMaxY(), west = m_rcBounds.left;
    rect.NormalizeRect();
    const LONG bh = TruncLong(rect.Height() / cell + 0.5), bw = TruncLong(rect.Width() / cell + 0.5);
    const LONG r0 = TruncLong((north - rect.bottom) / cell + 0.5), c0 = TruncLong((rect.left - west) / cell + 0.5);
    // A window reaching outside the file would seek before its start or read the next rows.
    if (bw < 1 || bh < 1 || r0 < 0 || c0 < 0 || r0 + bh > hf || c0 + bw > wf) return 0;
    if (bits != 8 && bits != 16 && bits != 32) {
        AfxMessageBox(kBadNbits);
        return 0;
    }
    FILE* fp = OpenFile(path, "rb");
    if (!fp) {
        AfxMessageBox(CString("无法打开: ") + path);
        return 0;
    }
    CGeoBandData* band = new CGeoBandData();
    if (!band->Create(nullptr, nullptr, static_cast<DWORD>(static_cast<int64_t>(bw) * bh * 4), 0) || !band->GetBuffer()) {
        delete band;
        std::fclose(fp);
        AfxMessageBox("malloc failure(DataBuf)!");
        return 0;
    }
    demprogress::Begin(kReadingBil);
    LONG* v = reinterpret_cast<LONG*>(band->GetBuffer());
    const size_t rowBytes = static_cast<size_t>(bw) * bits / 8;
    std::vector<BYTE> row(rowBytes);
    const LONG invalid = m_lInvalid;
    const LONG offset = (applyOffset || m_lOffset > 0) ? m_lOffset : 0;
    LONG lo = kDemEmptyMin, hi = kDemEmptyMax;
    for (LONG k = 0; k < bh; ++k) {
        const int64_t pos = ((static_cast<int64_t>(r0) + k) * wf + c0) * bits / 8;
        LONG* dst = v + static_cast<size_t>(bh - 1 - k) * bw;
        if (fseeko(fp, static_cast<off_t>(pos), SEEK_SET) != 0 ||
            !ReadRow(fp, row, dst, bw, static_cast<int>(bits), intel != 0)) {
            delete band;
            std::fclose(fp);
            AfxMessageBox(CString(kShortData) + path);
            demprogress::End();
            return 0;
        }
        for (LONG c = 0; c < bw; ++c) {
            if (dst[c] == invalid) continue;
            dst[c] -= offset;
            if (dst[c] < lo) lo = dst[c];
            if (dst[c] > hi) hi = dst[c];
        }
        demprogress::Step(static_cast<int>((static_cast<int64_t>(k) + 1) * 100 / bh));
    }
    demprogress::End();
    std::fclose(fp);
    m_ptExtent = CPoint(bw - 1, bh - 1);
    m_dwBytesPerRow = static_cast<DWORD>(bw) * 4u;
    m_rcBounds = rect;
    m_lMin = lo;
    m_lMax = hi;
    m_BandArray.DeleteAllBands();
    m_BandArray.Add(band);
    m_bBitmapOutdated = 1;
    return 1;
}

// ---------------------------------------------------------------------------------------------------
// Writing

int CGeoDEM::SaveAsGrd(CString path)
{
    const LONG* v = Nodes();
    if (!v) return 0;
    CTerrainFileSave save;
    FILE* fp = save.Open(path, "w");
    if (!fp) return save.Report(kSaveFailed, path);
    const LONG w = GetWidth(), h = GetHeight();
    char head[1024];
    const int n = std::snprintf(head, sizeof head,
                                "DataMark: CNSDTF-DEM\nVersion: 1.0\nAlfa: %.3lf\nUnit: M\nCompress: 0\nX0: %ld\nY0: %ld\n"
                                "DX: %.3lf\nDY: %.3lf\nRow: %d\nCol: %d\nValuetype: Integer\nHzoom: %d\nMinV: %ld\nMaxV: %ld\n",
                                m_dAlfa, static_cast<long>(m_rcBounds.left), static_cast<long>(GetMaxY()), GetCellSize(),
                                GetCellSize(), static_cast<int>(h), static_cast<int>(w),
                                static_cast<int>(TruncLong(1.0 / m_dScale + 0.5)), static_cast<long>(m_lMin),
                                static_cast<long>(m_lMax));
    bool ok = std::fwrite(head, 1, static_cast<size_t>(n), fp) == static_cast<size_t>(n);
    const LONG invalid = m_lInvalid;
    std::vector<char> buf(static_cast<size_t>(w) * 13 + 2);
    for (LONG k = 0; k < h && ok; ++k) {
        const LONG* row = v + static_cast<size_t>(h - 1 - k) * w;
        char* out = buf.data();
        for (LONG c = 0; c < w; ++c) {
            out = PutLong(out, row[c] == invalid ? -99999 : row[c]);
            *out++ = (c + 1) % 10 == 0 ? '\n' : ' ';
        }
        *out++ = '\n';
        const size_t len = static_cast<size_t>(out - buf.data());
        ok = std::fwrite(buf.data(), 1, len, fp) == len;
    }
    if (!save.Close(fp, path, ok) || !save.Commit()) return save.Report(kSaveFailed, path);
    return 1;
}

int CGeoDEM::SaveAsBil(CString path, int nbits)
{
    const LONG* v = Nodes();
    if (!v || (nbits != 8 && nbits != 16 && nbits != 32)) return 0;
    const LONG w = GetWidth(), h = GetHeight();
    const size_t count = static_cast<size_t>(w) * h;
    const LONG invalid = m_lInvalid;
    if (nbits != 32) {
        // An unsigned narrow file cannot hold what does not fit: refuse rather than wrap heights into
        // other heights or no-data into heights.
        const LONG top = nbits == 8 ? 0xFF : 0xFFFF;
        bool anyInvalid = false;
        for (size_t i = 0; i < count; ++i) {
            if (v[i] == invalid) {
                anyInvalid = true;
                continue;
            }
            if (v[i] < 0 || v[i] > top) return 0;
        }
        if (anyInvalid && (invalid < 0 || invalid > top)) return 0;
    }
    CString base, data;
    if (Lower4(path) == ".bil") {
        base = path.Left(path.GetLength() - 4);
        data = path;
    } else {
        base = path;
        data = path + ".bil";
    }
    // The three files are one save: the header goes first, as readers look for a commit left unfinished
    // under its name (CFileReplacement::Recover).
    CTerrainFileSave save;
    const CString hdrName = base + ".hdr", blwName = base + ".blw";
    FILE* hdr = save.Open(hdrName, "w");
    if (!hdr) return save.Report(kSaveFailed, path);
    const int rowBytes = static_cast<int>(w) * (nbits / 8);
    bool ok = std::fprintf(hdr,
                 "BYTEORDER      I\nLAYOUT       BIL\nNROWS         %d\nNCOLS         %d\nNBANDS        1\nNBITS         %d\n"
                 "BANDROWBYTES         %d\nTOTALROWBYTES        %d\nBANDGAPBYTES         0\nHZoom        %d\nInvalidValue         %d\n",
                 static_cast<int>(h), static_cast<int>(w), nbits, rowBytes, rowBytes,
                 static_cast<int>(TruncLong(1.0 / m_dScale + 0.5)), static_cast<int>(invalid)) > 0;
    // Readers that follow the format's own rules take 32-bit data as unsigned unless told.
    if (ok && nbits == 32) ok = std::fprintf(hdr, "PIXELTYPE SIGNEDINT\n") > 0;
    if (!save.Close(hdr, hdrName, ok)) return save.Report(kSaveFailed, path);
    FILE* blw = save.Open(blwName, "w");
    if (!blw) return save.Report(kSaveFailed, path);
    const double cell = GetCellSize();
    ok = std::fprintf(blw, "%f\n%f\n0.00000000000000\n%f\n%f\n%f\n", cell, m_dAlfa, -cell, m_rcBounds.left + cell / 2,
                      GetMaxY() - cell / 2) > 0;
    if (!save.Close(blw, blwName, ok)) return save.Report(kSaveFailed, path);
    FILE* fp = save.Open(data, "wb");
    if (!fp) return save.Report(kSaveFailed, path);
    std::vector<BYTE> buf(static_cast<size_t>(rowBytes));
    for (LONG k = 0; k < h && ok; ++k) {
        const LONG* row = v + static_cast<size_t>(h - 1 - k) * w;
        BYTE* out = buf.data();
        for (LONG c = 0; c < w; ++c) {
            const uint32_t u = static_cast<uint32_t>(row[c]);
            *out++ = static_cast<BYTE>(u);
            if (nbits >= 16) *out++ = static_cast<BYTE>(u >> 8);
            if (nbits == 32) {
                *out++ = static_cast<BYTE>(u >> 16);
                *out++ = static_cast<BYTE>(u >> 24);
            }
        }
        ok = std::fwrite(buf.data(), 1, buf.size(), fp) == buf.size();
    }
    if (!save.Close(fp, data, ok) || !save.Commit()) return save.Report(kSaveFailed, path);
    return 1;
}

// ---------------------------------------------------------------------------------------------------
// BIL helpers

int GetBilRange(CString path, double& x1, double& y1, double& x2, double& y2)
{
    const CString base = BilBase(path);
    FinishBilSave(base);
    FILE* hdr = OpenCompanion(base + ".hdr", "rt");
    if (!hdr) return 0;
    BilHeader h;
    const bool parsed = ParseBilHeader(hdr, h);
    std::fclose(hdr);
    double world[6];
    if (!parsed || ReadBilPlacement(base, h, world) != Placement::kRead) return 0;
    const double cell = world[0];
    x1 = world[4] - cell / 2;
    y1 = world[5] + cell / 2;
    x2 = x1 + h.cols * cell;
    y2 = y1 - h.rows * cell;
    return 1;
}

int GetBilResolution(CString path, double& dx, double& dy)
{
    const CString base = BilBase(path);
    FinishBilSave(base);
    BilHeader h;
    if (FILE* hdr = OpenCompanion(base + ".hdr", "rt")) {
        if (!ParseBilHeader(hdr, h)) h = BilHeader();
        std::fclose(hdr);
    }
    double world[6];
    if (ReadBilPlacement(base, h, world) != Placement::kRead) return 0;
    dx = std::fabs(world[0]);
    dy = std::fabs(world[3]);
    return 1;
}

namespace {

// The base of the invalid-value and offset editors.
CString EditorBase(const CString& path)
{
    if (path.GetLength() >= 4 && path.Right(4) == ".bil") return path.Left(path.GetLength() - 4);
    const int dot = path.ReverseFind('.');
    return dot >= 0 ? path.Left(dot) : path;
}

// Sets key's line in base + ".hdr" to line (the whole file rewritten, other lines kept as they were).
// 1 done, 0 open failure (message shown), -1 the file could not be written back.
int EditHeader(const CString& base, const char* key, const std::string& line)
{
    const CString name = base + ".hdr";
    FinishBilSave(base);
    FILE* fp = OpenCompanion(name, "rb");
    if (!fp) {
        AfxMessageBox(CString("无法打开文件:") + name);
        return 0;
    }
    std::string text;
    const bool readOk = ReadAll(fp, text);
    std::fclose(fp);
    if (!readOk) return -1;
    std::string out;
    bool done = false;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t eol = text.find('\n', pos);
        const size_t next = eol == std::string::npos ? text.size() : eol + 1;
        const std::string current = text.substr(pos, next - pos);
        Tokenizer t{current.data(), current.data() + current.size()};
        std::string first;
        if (!done && t.Next(first) && Lower(first) == key) {
            out += line;
            done = true;
        } else {
            out += current;
        }
        pos = next;
    }
    if (!done) {
        if (!out.empty() && out.back() != '\n') out += '\n';
        out += line;
    }
    CTerrainFileSave save;
    FILE* wf = save.Open(name, "wb");
    if (!wf) return -1;
    const bool ok = std::fwrite(out.data(), 1, out.size(), wf) == out.size();
    return save.Close(wf, name, ok) && save.Commit() ? 1 : -1;
}

std::string Line(const char* format, long value)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, format, value);
    return buf;
}

}  // namespace

int SetBilHZoom(CString path, UINT value)
{
    const CString base = BilBase(path);
    const int r = EditHeader(base, "hzoom", Line("HZoom   %ld\n", static_cast<long>(static_cast<int>(value))));
    if (r < 0) {
        AfxMessageBox(CString("文件： ") + base + ".hdr" + "不能关闭\n");
        return 0;
    }
    return r;
}

int SetBilInvalidElevation(CString path, LONG value)
{
    const CString base = EditorBase(path);
    const int r = EditHeader(base, "invalidvalue", Line("invalidvalue   %ld\n", value));
    if (r < 0) AfxMessageBox(CString("The file ") + base + ".hdr" + " was not closed\n");
    return r == 0 ? 0 : 1;
}

int SetBilElevationOffset(CString path, LONG value)
{
    const CString base = EditorBase(path);
    const int r = EditHeader(base, "offset", Line("offset   %ld\n", value));
    if (r < 0) AfxMessageBox(CString("The file ") + base + ".hdr" + " was not closed\n");
    return r == 0 ? 0 : 1;
}
