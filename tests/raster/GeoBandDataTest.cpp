#include "raster/GeoBandData.h"

#include "core/ObjectBytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <dirent.h>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

std::vector<BYTE> Pattern(size_t n, unsigned seed) {
    std::vector<BYTE> v(n);
    for (size_t i = 0; i < n; ++i) v[i] = (BYTE)((i * 7 + seed) ^ (i >> 8));
    return v;
}

void WriteFile(const std::string& path, const std::vector<BYTE>& bytes) {
    CFile f(path.c_str(), CFile::modeCreate | CFile::modeWrite);
    f.Write(bytes.data(), (UINT)bytes.size());
}

std::vector<BYTE> ReadAll(const std::string& path) {
    std::string s = testsupport::ReadFileBytes(path);
    return std::vector<BYTE>(s.begin(), s.end());
}

size_t CountFiles(const std::string& dir) {
    size_t n = 0;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d))
            if (e->d_name[0] != '.') ++n;
        closedir(d);
    }
    return n;
}

class GeoBandDataTest : public ::testing::Test {
protected:
    void SetUp() override {
        AfxClearMessageLog();
        setenv("TMPDIR", m_tmp.Path().c_str(), 1);
    }
    void TearDown() override { unsetenv("TMPDIR"); }
    testsupport::TempDir m_tmp{"corvane-band"};
};

TEST_F(GeoBandDataTest, ScratchBandIsZeroedWritableAndLeavesNothingOnDisk) {
    {
        CGeoBandData band(nullptr, 100000, 0);
        ASSERT_NE(band.GetBuffer(), nullptr);
        EXPECT_EQ(band.GetLength(), 100000u);
        EXPECT_TRUE(band.IsWritable());
        EXPECT_EQ(band.GetBuffer()[99999], 0);
        band.GetBuffer()[99999] = 42;
        EXPECT_EQ(band.GetMappingName().Left(5), CString("share"));
        EXPECT_EQ(band.GetMappingName().Find('/'), -1);
        EXPECT_EQ(CountFiles(m_tmp.Path()), 0u);  // the name is gone while the band lives
    }
    EXPECT_EQ(CountFiles(m_tmp.Path()), 0u);
    EXPECT_TRUE(AfxGetMessageLog().empty());
}

TEST_F(GeoBandDataTest, CreateNamesItsMappingAndRefusesAnExistingFile) {
    CGeoBandData band;
    ASSERT_EQ(band.Create(m_tmp("a.bin").c_str(), nullptr, 16, 0), 1);
    EXPECT_EQ(band.GetMappingName(), CString("sharea.bin"));
    CGeoBandData named;
    ASSERT_EQ(named.Create(nullptr, "mine", 16, 0), 1);
    EXPECT_EQ(named.GetMappingName(), CString("mine"));

    WriteFile(m_tmp("exists.bin"), Pattern(8, 1));
    CGeoBandData clash;
    EXPECT_EQ(clash.Create(m_tmp("exists.bin").c_str(), nullptr, 16, 0), 0);
    EXPECT_EQ(clash.GetBuffer(), nullptr);
    EXPECT_TRUE(AfxGetMessageLog().empty());  // silent
    EXPECT_EQ(ReadAll(m_tmp("exists.bin")), Pattern(8, 1));

    CGeoBandData empty;
    EXPECT_EQ(empty.Create(nullptr, nullptr, 0, 0), 0);  // a mapping of nothing fails loudly
    EXPECT_EQ(AfxGetMessageLog().size(), 1u);
}

TEST_F(GeoBandDataTest, OpenRoundsTheViewDownToTheGranularity) {
    const std::vector<BYTE> data = Pattern(70000 + 500, 3);
    WriteFile(m_tmp("g.bin"), data);
    CGeoBandData band(m_tmp("g.bin").c_str(), nullptr, 70000, 500, 500);
    ASSERT_NE(band.GetBuffer(), nullptr);
    EXPECT_EQ(band.GetViewBase(), 65536u);
    EXPECT_EQ(band.GetOffsetInView(), 4464u);
    EXPECT_EQ(band.GetLength(), 500u);
    EXPECT_EQ(0, std::memcmp(band.GetBuffer(), data.data() + 70000, 500));

    // A read/write band writes straight through to its file.
    band.GetBuffer()[0] = (BYTE)~data[70000];
    band.ReleaseHugeData();
    EXPECT_EQ(band.GetBuffer(), nullptr);
    EXPECT_EQ(band.GetLength(), 500u);
    EXPECT_EQ(ReadAll(m_tmp("g.bin"))[70000], (BYTE)~data[70000]);
}

TEST_F(GeoBandDataTest, ReadOnlyOpenGivesAPrivateWritableCopy) {
    const std::vector<BYTE> data = Pattern(70100, 5);
    WriteFile(m_tmp("ro.bin"), data);
    HANDLE h = CreateFileA(m_tmp("ro.bin").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CGeoBandData band;
    ASSERT_EQ(band.Open(h, 70000, 100, 100), 1);  // the band owns the handle from here
    EXPECT_FALSE(band.IsWritable());
    EXPECT_EQ(band.GetBuffer()[10], data[70010]);
    band.GetBuffer()[10] = (BYTE)~data[70010];  // would fault on a plain read-only view
    EXPECT_EQ(band.GetBuffer()[10], (BYTE)~data[70010]);
    band.ReleaseHugeData();
    EXPECT_EQ(ReadAll(m_tmp("ro.bin")), data);
}

TEST_F(GeoBandDataTest, OpenFailuresShowTheSystemTextAndLeaveNoView) {
    WriteFile(m_tmp("short.bin"), Pattern(100, 0));
    struct Case {
        const char* name;
        DWORD offset;
        DWORD length;
    } cases[] = {{"missing.bin", 0, 10}, {"short.bin", 50, 100}, {"short.bin", 70000, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AfxClearMessageLog();
        CGeoBandData band;
        EXPECT_EQ(band.Open(m_tmp(c.name).c_str(), nullptr, c.offset, c.length, c.length), 0);
        EXPECT_EQ(band.GetBuffer(), nullptr);
        EXPECT_EQ(AfxGetMessageLog().size(), 1u);
    }
    // A damaged document is never grown by loading it.
    EXPECT_EQ(ReadAll(m_tmp("short.bin")).size(), 100u);
    CGeoBandData none;
    EXPECT_EQ(none.Open(nullptr, nullptr, 70000, 10, 0), 0);
    EXPECT_EQ(none.GetOffsetInView(), 4464u);
}

TEST_F(GeoBandDataTest, CopiesAreIndependentTemporaryMappings) {
    CGeoBandData source(nullptr, 300, 0);
    source.m_strName = "band";
    std::memcpy(source.GetBuffer(), Pattern(300, 9).data(), 300);
    CString ext("ext.bin");
    source.SetExternFileName(ext);

    CGeoBandData copy(source);
    CGeoBandData* viaCopy = static_cast<CGeoBandData*>(source.Copy());
    CGeoBandData assigned(nullptr, 10, 0);
    assigned = source;
    assigned = assigned;  // itself: nothing happens
    for (CGeoBandData* c : {&copy, viaCopy, &assigned}) {
        ASSERT_NE(c->GetBuffer(), nullptr);
        EXPECT_EQ(c->GetLength(), 300u);
        EXPECT_EQ(0, std::memcmp(c->GetBuffer(), source.GetBuffer(), 300));
        EXPECT_NE(c->GetBuffer(), source.GetBuffer());
        EXPECT_TRUE(c->GetExternFileName().IsEmpty());
        EXPECT_EQ(c->m_strName, CString("band"));
    }
    copy.GetBuffer()[0] ^= 0xFF;
    EXPECT_NE(copy.GetBuffer()[0], source.GetBuffer()[0]);
    delete viaCopy;

    // A band without a view copies as an empty band instead of reading through NULL.
    source.ReleaseHugeData();
    CGeoBandData fromReleased(source);
    EXPECT_EQ(fromReleased.GetBuffer(), nullptr);
    EXPECT_EQ(fromReleased.m_strName, CString("band"));
}

TEST_F(GeoBandDataTest, RecordBytesAndArrayOfThree) {
    CGeoBandArray bands;
    CString ext("d:\\img.raw");
    for (DWORD n : {4u, 8u, 12u}) bands.Add(new CGeoBandData(nullptr, n, 0));
    bands[1]->SetExternFileName(ext);
    CMemFile mem;
    {
        CArchive ar(&mem, CArchive::store);
        bands.Serialize(ar);
    }
    objbytes::Bytes expected;
    expected.Dword(3).Word(0xFFFF).Word(0).Word(12);
    for (char c : std::string("CGeoBandData")) expected.Byte((BYTE)c);
    expected.Dword(4).Str("").Word(0x8001).Dword(8).Str("d:\\img.raw").Word(0x8001).Dword(12).Str("");
    EXPECT_EQ(mem.Data(), expected.Data());

    CMemFile in(mem.Data().data(), (UINT)mem.Data().size());
    CGeoBandArray loaded;
    {
        CArchive ar(&in, CArchive::load);
        loaded.Serialize(ar);
    }
    ASSERT_EQ(loaded.GetSize(), 3);
    EXPECT_EQ(loaded[0]->GetLength(), 4u);
    EXPECT_EQ(loaded[1]->GetExternFileName(), ext);
    EXPECT_EQ(loaded[2]->GetLength(), 12u);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(loaded[i]->GetBuffer(), nullptr);
    loaded.DeleteAllBands();
    bands.DeleteAllBands();
    EXPECT_EQ(bands.GetSize(), 0);
}

TEST_F(GeoBandDataTest, TruncatedArrayRecordThrowsAtEveryLength) {
    CGeoBandArray bands;
    for (DWORD n : {4u, 8u}) bands.Add(new CGeoBandData(nullptr, n, 0));
    CMemFile mem;
    {
        CArchive ar(&mem, CArchive::store);
        bands.Serialize(ar);
    }
    bands.DeleteAllBands();
    const std::vector<BYTE>& all = mem.Data();
    for (size_t cut = 0; cut < all.size(); ++cut) {
        CMemFile in(all.data(), (UINT)cut);
        CArchive ar(&in, CArchive::load);
        CGeoBandArray loaded;
        EXPECT_THROW(loaded.Serialize(ar), CArchiveException) << cut;
        EXPECT_EQ(loaded.GetSize(), 0);
    }
    // A huge count runs into the end of the data instead of allocating.
    objbytes::Bytes huge;
    huge.Dword(0xFFFFFFF0u);
    CMemFile in(huge.Data().data(), (UINT)huge.Data().size());
    CArchive ar(&in, CArchive::load);
    CGeoBandArray loaded;
    EXPECT_THROW(loaded.Serialize(ar), CArchiveException);
}

// The host's two passes: records, then the raw bytes where each record expects them; loading maps
// them in place.
TEST_F(GeoBandDataTest, HugeDataInTheDocumentFileIsMappedWhereItStands) {
    const std::string doc = m_tmp("doc.bin");
    const std::vector<BYTE> a = Pattern(5000, 1), b = Pattern(70001, 2);
    {
        CGeoBandArray bands;
        bands.Add(new CGeoBandData(nullptr, (DWORD)a.size(), 0));
        bands.Add(new CGeoBandData(nullptr, (DWORD)b.size(), 0));
        std::memcpy(bands[0]->GetBuffer(), a.data(), a.size());
        std::memcpy(bands[1]->GetBuffer(), b.data(), b.size());
        CFile f(doc.c_str(), CFile::modeCreate | CFile::modeReadWrite);
        f.Write("HEAD", 4);
        EXPECT_EQ(bands.WriteHugeData(&f), 2);
        f.Write("TAIL", 4);
        bands.DeleteAllBands();
    }
    CGeoBandArray loaded;
    loaded.Add(new CGeoBandData);
    loaded.Add(new CGeoBandData);
    {
        // Lengths as a loaded record would have set them.
        objbytes::Bytes rec;
        rec.Dword((DWORD)a.size()).Str("");
        CMemFile r1(rec.Data().data(), (UINT)rec.Data().size());
        CArchive ar1(&r1, CArchive::load);
        loaded[0]->Serialize(ar1);
        objbytes::Bytes rec2;
        rec2.Dword((DWORD)b.size()).Str("");
        CMemFile r2(rec2.Data().data(), (UINT)rec2.Data().size());
        CArchive ar2(&r2, CArchive::load);
        loaded[1]->Serialize(ar2);
    }
    CFile f(doc.c_str(), CFile::modeRead);
    f.Seek(4, CFile::begin);
    EXPECT_EQ(loaded.ReadHugeData(&f), 2);
    EXPECT_EQ(f.GetPosition(), 4u + a.size() + b.size());
    char tail[4];
    ASSERT_EQ(f.Read(tail, 4), 4u);
    EXPECT_EQ(std::string(tail, 4), "TAIL");
    ASSERT_NE(loaded[0]->GetBuffer(), nullptr);
    ASSERT_NE(loaded[1]->GetBuffer(), nullptr);
    EXPECT_EQ(0, std::memcmp(loaded[0]->GetBuffer(), a.data(), a.size()));
    EXPECT_EQ(0, std::memcmp(loaded[1]->GetBuffer(), b.data(), b.size()));
    EXPECT_EQ(loaded[1]->GetOffset(), 5004u);
    EXPECT_EQ(loaded.ReleaseHugeData(), 2);
    EXPECT_EQ(loaded[0]->GetBuffer(), nullptr);
    loaded.DeleteAllBands();
}

TEST_F(GeoBandDataTest, ExternFileBandsLeaveTheArchiveFileAlone) {
    const std::string ext = m_tmp("ext.raw");
    CString extName(ext.c_str());
    const std::vector<BYTE> data = Pattern(3000, 4);
    CFile doc(m_tmp("doc.bin").c_str(), CFile::modeCreate | CFile::modeReadWrite);
    {
        CGeoBandData band(nullptr, (DWORD)data.size(), 0);
        std::memcpy(band.GetBuffer(), data.data(), data.size());
        band.SetExternFileName(extName);
        EXPECT_EQ(band.WriteHugeData(&doc), 1);
    }
    EXPECT_EQ(doc.GetPosition(), 0u);
    EXPECT_EQ(ReadAll(ext), data);

    CGeoBandData loaded;
    objbytes::Bytes rec;
    rec.Dword((DWORD)data.size()).Str(ext.c_str());
    CMemFile r(rec.Data().data(), (UINT)rec.Data().size());
    CArchive ar(&r, CArchive::load);
    loaded.Serialize(ar);
    EXPECT_EQ(loaded.ReadHugeData(&doc), 1);
    EXPECT_EQ(doc.GetPosition(), 0u);
    ASSERT_NE(loaded.GetBuffer(), nullptr);
    EXPECT_EQ(0, std::memcmp(loaded.GetBuffer(), data.data(), data.size()));

    // Writing a band back over the very file it maps keeps its bytes.
    loaded.GetBuffer()[0] = 0x5A;
    EXPECT_EQ(loaded.WriteHugeData(&doc), 1);
    std::vector<BYTE> expected = data;
    expected[0] = 0x5A;
    EXPECT_EQ(ReadAll(ext), expected);
}

TEST_F(GeoBandDataTest, BandWithoutViewWritesZerosAndReportsFailure) {
    CGeoBandData band;
    objbytes::Bytes rec;
    rec.Dword(6).Str("");
    CMemFile r(rec.Data().data(), (UINT)rec.Data().size());
    CArchive ar(&r, CArchive::load);
    band.Serialize(ar);
    CMemFile out;
    EXPECT_EQ(band.WriteHugeData(&out), 0);
    EXPECT_EQ(out.Data(), std::vector<BYTE>(6, 0));
}

}  // namespace
