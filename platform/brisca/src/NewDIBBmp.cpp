// BMP files: the file header, a 40-byte (or longer) information header, the colour table and the rows.
#include "brisca/NewDIB.h"

#include <afx/FileReplacement.h>

#include <cstring>

namespace {

bool ReadAll(const CString& path, std::vector<BYTE>& data)
{
    try {
        CFile f(path, CFile::modeRead | CFile::shareDenyWrite);
        const ULONGLONG n = f.GetLength();
        if (n > 0x7FFFFFFFu) return false;
        data.resize((size_t)n);
        return n == 0 || f.Read(data.data(), (UINT)n) == n;
    } catch (CFileException&) {
        return false;
    }
}

template <class T>
T At(const std::vector<BYTE>& d, size_t offset)
{
    T v;
    std::memcpy(&v, d.data() + offset, sizeof v);
    return v;
}

}  // namespace

int CNewDIB::ReadBMP(const CString& path)
{
    std::vector<BYTE> d;
    if (!ReadAll(path, d) || d.size() < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)) return 0;
    const BITMAPFILEHEADER fh = At<BITMAPFILEHEADER>(d, 0);
    const BITMAPINFOHEADER ih = At<BITMAPINFOHEADER>(d, sizeof fh);
    if (fh.bfType != 0x4D42 || ih.biSize < sizeof(BITMAPINFOHEADER) || ih.biSize > d.size()) return 0;
    const int bits = ih.biBitCount;
    if (ih.biWidth <= 0 || ih.biHeight == 0 || ih.biHeight == INT32_MIN || ih.biPlanes != 1 ||
        ih.biCompression != BI_RGB)
        return 0;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return 0;
    const bool topDown = ih.biHeight < 0;
    const int height = topDown ? -ih.biHeight : ih.biHeight;

    std::vector<RGBQUAD> table;
    if (bits <= 8) {
        const uint64_t entries = ih.biClrUsed ? ih.biClrUsed : (1u << bits);
        if (entries > (1u << bits)) return 0;
        const uint64_t start = sizeof fh + (uint64_t)ih.biSize;
        if (start + entries * 4 > d.size()) return 0;
        table.resize((size_t)entries);
        std::memcpy(table.data(), d.data() + start, (size_t)entries * 4);
    }
    // The rows must be in the file before their block is made: a header alone never sizes the image.
    const uint64_t rowBytes = ((uint64_t)ih.biWidth * bits + 31) / 32 * 4;
    if ((uint64_t)fh.bfOffBits + rowBytes * (uint64_t)height > d.size()) return 0;
    CNewDIB next;
    if (!next.Adopt(ih.biWidth, height, bits, table)) return 0;
    const size_t stride = next.GetBytesPerLine();
    if ((uint64_t)fh.bfOffBits + (uint64_t)stride * height > d.size()) return 0;
    for (int row = 0; row < height; ++row) {
        const int target = topDown ? height - 1 - row : row;
        std::memcpy(next.GetDIBBits() + (size_t)target * stride, d.data() + fh.bfOffBits + (size_t)row * stride, stride);
    }
    BITMAPINFOHEADER* h = next.GetBitmapInfoHeader();
    h->biXPelsPerMeter = ih.biXPelsPerMeter;
    h->biYPelsPerMeter = ih.biYPelsPerMeter;
    m_info.swap(next.m_info);
    m_bits.swap(next.m_bits);
    return 1;
}

int CNewDIB::SaveBMP(const CString& path)
{
    const BITMAPINFOHEADER& ih = GetBitmapInfo()->bmiHeader;
    const DWORD tableBytes = ih.biClrUsed * 4;
    BITMAPFILEHEADER fh{};
    fh.bfType = 0x4D42;
    fh.bfOffBits = (DWORD)(sizeof fh + sizeof ih) + tableBytes;
    fh.bfSize = fh.bfOffBits + (DWORD)m_bits.size();
    // Written beside the old file and renamed over it, so that a failed save leaves the old image.
    CFileReplacement save;
    CString temp;
    CFileException e;
    if (!save.Add(path, temp, &e)) return SaveFailed(path, e);
    try {
        CFile f(temp, CFile::modeCreate | CFile::modeWrite);
        f.Write(&fh, sizeof fh);
        f.Write(&ih, sizeof ih);
        if (tableBytes) f.Write(GetBitmapInfo()->bmiColors, tableBytes);
        f.Write(m_bits.data(), (UINT)m_bits.size());
        f.Close();
    } catch (CFileException& written) {
        written.m_strFileName = path;
        return SaveFailed(path, written);
    }
    if (!save.Commit(&e)) return SaveFailed(path, e);
    return 1;
}
