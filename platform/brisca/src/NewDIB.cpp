#include "brisca/NewDIB.h"

#include <afx/FileReplacement.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>

namespace {

const uint64_t kMaxPixelBytes = (uint64_t)1 << 31;

bool Indexed(int bitCount) { return bitCount == 1 || bitCount == 4 || bitCount == 8; }

uint64_t RowBytes(int width, int bitCount) { return (((uint64_t)width * (uint64_t)bitCount + 31) / 32) * 4; }

std::vector<RGBQUAD> GreyTable(int bitCount)
{
    std::vector<RGBQUAD> table;
    if (!Indexed(bitCount)) return table;
    const int n = 1 << bitCount;
    for (int i = 0; i < n; ++i) {
        const BYTE v = (BYTE)(i * 255 / (n - 1));
        table.push_back(RGBQUAD{v, v, v, 0});
    }
    return table;
}

}  // namespace

bool CNewDIBObject::Adopt(int width, int height, int bitCount, const std::vector<RGBQUAD>& table)
{
    if (width <= 0 || height <= 0) return false;
    if (!Indexed(bitCount) && bitCount != 24 && bitCount != 32) return false;
    const uint64_t stride = RowBytes(width, bitCount);
    if (stride * (uint64_t)height > kMaxPixelBytes) return false;
    const size_t entries = Indexed(bitCount) ? std::min(table.size(), (size_t)1 << bitCount) : 0;
    std::vector<BYTE> info(sizeof(BITMAPINFOHEADER) + std::max<size_t>(entries, 1) * sizeof(RGBQUAD), 0);
    BITMAPINFOHEADER h{};
    h.biSize = sizeof(BITMAPINFOHEADER);
    h.biWidth = width;
    h.biHeight = height;
    h.biPlanes = 1;
    h.biBitCount = (WORD)bitCount;
    h.biCompression = BI_RGB;
    h.biSizeImage = (DWORD)(stride * (uint64_t)height);
    h.biClrUsed = (DWORD)entries;
    std::memcpy(info.data(), &h, sizeof h);
    if (entries) std::memcpy(info.data() + sizeof h, table.data(), entries * sizeof(RGBQUAD));
    m_bits.assign((size_t)(stride * (uint64_t)height), 0);
    m_info.swap(info);
    return true;
}

int CNewDIBObject::CreateDIB(int width, int height, int bitCount)
{
    return Adopt(width, height, bitCount, GreyTable(bitCount)) ? 1 : 0;
}

void CNewDIBObject::Clear()
{
    m_info.clear();
    m_bits.clear();
}

const BITMAPINFO* CNewDIBObject::GetBitmapInfo() const
{
    return m_bits.empty() ? nullptr : reinterpret_cast<const BITMAPINFO*>(m_info.data());
}

BITMAPINFOHEADER* CNewDIBObject::GetBitmapInfoHeader()
{
    return m_bits.empty() ? nullptr : reinterpret_cast<BITMAPINFOHEADER*>(m_info.data());
}

int CNewDIBObject::GetWidth() const { return m_bits.empty() ? 0 : GetBitmapInfo()->bmiHeader.biWidth; }
int CNewDIBObject::GetHeight() const { return m_bits.empty() ? 0 : GetBitmapInfo()->bmiHeader.biHeight; }
int CNewDIBObject::GetBitCount() const { return m_bits.empty() ? 0 : GetBitmapInfo()->bmiHeader.biBitCount; }

DWORD CNewDIBObject::GetBytesPerLine() const
{
    return m_bits.empty() ? 0 : (DWORD)RowBytes(GetWidth(), GetBitCount());
}

int CNewDIBObject::GetPixelIndex(int x, int y) const
{
    if (x < 0 || y < 0 || x >= GetWidth() || y >= GetHeight()) return -1;
    const int bits = GetBitCount();
    const BYTE* row = m_bits.data() + (size_t)y * GetBytesPerLine();
    switch (bits) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return (x & 1) ? row[x >> 1] & 0x0F : row[x >> 1] >> 4;
    case 8: return row[x];
    default: return -1;
    }
}

void CNewDIBObject::SetPixelIndex(int x, int y, int index)
{
    if (x < 0 || y < 0 || x >= GetWidth() || y >= GetHeight()) return;
    BYTE* row = m_bits.data() + (size_t)y * GetBytesPerLine();
    switch (GetBitCount()) {
    case 1: {
        const BYTE mask = (BYTE)(0x80 >> (x & 7));
        row[x >> 3] = (BYTE)((index & 1) ? row[x >> 3] | mask : row[x >> 3] & ~mask);
        break;
    }
    case 4:
        row[x >> 1] = (x & 1) ? (BYTE)((row[x >> 1] & 0xF0) | (index & 0x0F))
                              : (BYTE)((row[x >> 1] & 0x0F) | ((index & 0x0F) << 4));
        break;
    case 8: row[x] = (BYTE)index; break;
    default: break;
    }
}

DWORD CNewDIBObject::GetPixelRGB(int x, int y) const
{
    if (x < 0 || y < 0 || x >= GetWidth() || y >= GetHeight()) return 0;
    const int bits = GetBitCount();
    if (Indexed(bits)) {
        const int i = GetPixelIndex(x, y);
        const BITMAPINFO* bmi = GetBitmapInfo();
        if (i < 0 || (DWORD)i >= bmi->bmiHeader.biClrUsed) return 0;
        const RGBQUAD q = bmi->bmiColors[i];
        return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
    }
    const BYTE* p = m_bits.data() + (size_t)y * GetBytesPerLine() + (size_t)x * (bits / 8);
    return RGB(p[2], p[1], p[0]);
}

void CNewDIBObject::SetPiexlRGB(int x, int y, DWORD color)
{
    if (x < 0 || y < 0 || x >= GetWidth() || y >= GetHeight()) return;
    const int bits = GetBitCount();
    if (Indexed(bits)) {
        SetPixelIndex(x, y, NearestIndex(color));
        return;
    }
    BYTE* p = m_bits.data() + (size_t)y * GetBytesPerLine() + (size_t)x * (bits / 8);
    p[0] = GetBValue(color);
    p[1] = GetGValue(color);
    p[2] = GetRValue(color);
}

int CNewDIBObject::NearestIndex(DWORD color) const
{
    const BITMAPINFO* bmi = GetBitmapInfo();
    if (!bmi) return 0;
    int best = 0;
    long bestDistance = -1;
    for (DWORD i = 0; i < bmi->bmiHeader.biClrUsed; ++i) {
        const RGBQUAD q = bmi->bmiColors[i];
        const long dr = (long)q.rgbRed - GetRValue(color), dg = (long)q.rgbGreen - GetGValue(color),
                   db = (long)q.rgbBlue - GetBValue(color);
        const long d = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || d < bestDistance) {
            bestDistance = d;
            best = (int)i;
        }
    }
    return best;
}

int CNewDIBObject::GetColorTable(DWORD* table) const
{
    const BITMAPINFO* bmi = GetBitmapInfo();
    if (!bmi || !Indexed(GetBitCount())) return -1;
    const int n = (int)std::min<DWORD>(bmi->bmiHeader.biClrUsed, 256);
    if (table) std::memcpy(table, bmi->bmiColors, (size_t)n * sizeof(DWORD));
    return n;
}

void CNewDIBObject::SetColorTable(int count, const DWORD* table)
{
    const int bits = GetBitCount();
    if (!table || !Indexed(bits) || count <= 0) return;
    count = std::min(count, 1 << bits);
    m_info.resize(sizeof(BITMAPINFOHEADER) + (size_t)count * sizeof(RGBQUAD));
    std::memcpy(m_info.data() + sizeof(BITMAPINFOHEADER), table, (size_t)count * sizeof(DWORD));
    reinterpret_cast<BITMAPINFOHEADER*>(m_info.data())->biClrUsed = (DWORD)count;
}

// ------------------------------------------------------------------------------------------------

int CNewDIB::SetFileName(CString name)
{
    m_strFileName = name;
    const int dot = name.ReverseFind('.');
    if (dot < 0) return 0;
    CString ext = name.Mid(dot + 1);
    return ext.CompareNoCase("tif") == 0 || ext.CompareNoCase("tiff") == 0 || ext.CompareNoCase("bmp") == 0;
}

int CNewDIB::ReadFile(const CString& path, int type)
{
    if (type == typeBMP) return ReadBMP(path);
    if (type == typeTIFF) return ReadTIFF(path);
    if (type != typeAuto) return 0;
    BYTE magic[4] = {};
    try {
        CFile f(path, CFile::modeRead | CFile::shareDenyWrite);
        if (f.Read(magic, 4) < 2) return 0;
    } catch (CFileException&) {
        return 0;
    }
    if (magic[0] == 'B' && magic[1] == 'M') return ReadBMP(path);
    if ((magic[0] == 'I' && magic[1] == 'I' && magic[2] == 42 && magic[3] == 0) ||
        (magic[0] == 'M' && magic[1] == 'M' && magic[2] == 0 && magic[3] == 42))
        return ReadTIFF(path);
    return 0;
}

int CNewDIB::SaveFailed(const CString& path, const CFileException& e)
{
    m_strSaveError = CFileReplacement::FailureText(path, e);
    return 0;
}

int CNewDIB::SaveFile(const CString& path, int type, int)
{
    m_strSaveError.Empty();
    if (!Ready()) return 0;
    if (type == typeAuto) {
        const int dot = path.ReverseFind('.');
        const CString ext = dot < 0 ? CString() : path.Mid(dot + 1);
        if (ext.CompareNoCase("bmp") == 0) type = typeBMP;
        else if (ext.CompareNoCase("tif") == 0 || ext.CompareNoCase("tiff") == 0) type = typeTIFF;
    }
    if (type == typeBMP) return SaveBMP(path);
    if (type == typeTIFF) return SaveTIFF(path);
    return 0;
}

int CNewDIB::DrawDIB(CDC* pDC, RECT* destination, RECT* source, DWORD rop)
{
    if (!pDC || !destination || !source || !Ready()) return 0;
    // Sizes that an int cannot hold (rectangles reaching across the coordinate range) cannot be drawn.
    const int64_t dw = int64_t(destination->right) - destination->left, dh = int64_t(destination->bottom) - destination->top;
    const int64_t sw64 = int64_t(source->right) - source->left, sh64 = int64_t(source->bottom) - source->top;
    for (int64_t v : {dw, dh, sw64, sh64})
        if (v > INT_MAX || v < INT_MIN) return 0;
    const int sw = static_cast<int>(sw64), sh = static_cast<int>(sh64);
    // The source counts rows from the top; the bits are bottom-up.
    const int64_t ySrc64 = int64_t(GetHeight()) - source->bottom;
    if (ySrc64 > INT_MAX || ySrc64 < INT_MIN) return 0;
    const int ySrc = static_cast<int>(ySrc64);
    const int lines = ::StretchDIBits(pDC->GetSafeHdc(), destination->left, destination->top,
                                      static_cast<int>(dw), static_cast<int>(dh), source->left, ySrc, sw, sh,
                                      GetDIBBits(), GetBitmapInfo(), DIB_RGB_COLORS, rop);
    return lines > 0;
}

int CNewDIB::Resize(CSize size, DWORD fill)
{
    if (!Ready()) return 0;
    CNewDIB next;
    std::vector<RGBQUAD> table;
    const BITMAPINFO* bmi = GetBitmapInfo();
    for (DWORD i = 0; i < bmi->bmiHeader.biClrUsed; ++i) table.push_back(bmi->bmiColors[i]);
    if (!next.Adopt(size.cx, size.cy, GetBitCount(), table)) return 0;
    BITMAPINFOHEADER* h = next.GetBitmapInfoHeader();
    h->biXPelsPerMeter = bmi->bmiHeader.biXPelsPerMeter;
    h->biYPelsPerMeter = bmi->bmiHeader.biYPelsPerMeter;
    // Fill everything, then lay the old pixels over the bottom-left corner.
    for (int y = 0; y < size.cy; ++y) {
        if (Indexed(GetBitCount())) {
            const int index = NearestIndex(fill);
            for (int x = 0; x < size.cx; ++x) next.SetPixelIndex(x, y, index);
        } else {
            for (int x = 0; x < size.cx; ++x) next.SetPiexlRGB(x, y, fill);
        }
    }
    CopyBlock(*this, 0, 0, next, 0, 0, GetWidth(), GetHeight());
    next.m_strFileName = m_strFileName;
    *this = std::move(next);
    return 1;
}

int CNewDIB::CopyBlock(const CNewDIB& from, int fx, int fy, CNewDIB& to, int tx, int ty, int w, int h)
{
    if (!from.Ready() || !to.Ready() || from.GetBitCount() != to.GetBitCount() || w <= 0 || h <= 0) return 0;
    // Clip the block to both images, moving both corners together.
    auto clip = [&](int& a, int& b, int& len, int limA, int limB) {
        const int shift = std::max({0, -a, -b});
        a += shift;
        b += shift;
        len -= shift;
        len = std::min({len, limA - a, limB - b});
    };
    clip(fx, tx, w, from.GetWidth(), to.GetWidth());
    clip(fy, ty, h, from.GetHeight(), to.GetHeight());
    if (w <= 0 || h <= 0) return 0;
    const int bits = from.GetBitCount();
    for (int row = 0; row < h; ++row) {
        const BYTE* src = from.m_bits.data() + (size_t)(fy + row) * from.GetBytesPerLine();
        BYTE* dst = to.m_bits.data() + (size_t)(ty + row) * to.GetBytesPerLine();
        if (bits >= 8) {
            const int bpp = bits / 8;
            std::memmove(dst + (size_t)tx * bpp, src + (size_t)fx * bpp, (size_t)w * bpp);
        } else {
            for (int x = 0; x < w; ++x) to.SetPixelIndex(tx + x, ty + row, from.GetPixelIndex(fx + x, fy + row));
        }
    }
    return 1;
}

int CNewDIB::GetDIBBlock(CNewDIB* other, int ox, int oy, int x, int y, int width, int height)
{
    return other ? CopyBlock(*other, ox, oy, *this, x, y, width, height) : 0;
}

int CNewDIB::PutDIBBlock(CNewDIB* other, int ox, int oy, int x, int y, int width, int height)
{
    return other ? CopyBlock(*this, x, y, *other, ox, oy, width, height) : 0;
}
