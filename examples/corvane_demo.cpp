// The example host: links the library as a map program would, prints what it loads, and shows a
// round trip through a layer-style archive file.
#include "core/CorvaneModule.h"

#include <win32/codepage.h>

#include <cstdio>
#include <string>

namespace {

std::string Utf8(const CString& s) { return win32::GbkToUtf8(s.str()); }

}  // namespace

int main(int argc, char** argv) {
    CWinApp app("corvane_demo");
    std::string outDir = argc > 1 ? argv[1] : ".";

    std::printf("Corvane library version %.2f (ProductVersion \"%s\", FileVersion \"%s\")\n",
                GetCorvaneVersion(), GetVersionSection(GetCorvaneInstance(), "ProductVersion").str().c_str(),
                GetVersionSection(GetCorvaneInstance(), "FileVersion").str().c_str());

    // A small archive written through the document opener and read back.
    CString path = CString(win32::NativePathToGbk(outDir).c_str()) + "/demo-archive.bin";
    CDocument doc;
    CFileException fe;
    CFile* f = doc.GetFile(path, CFile::modeCreate | CFile::modeReadWrite, &fe);
    if (!f) {
        std::printf("cannot write %s\n", Utf8(path).c_str());
        return 1;
    }
    CStringList names;
    names.AddTail("图层 0");
    names.AddTail("道路");
    {
        CArchive ar(f, CArchive::store);
        ar << CString("CGeoVectorLayer") << GetCorvaneVersion();
        names.Serialize(ar);
        ar.Close();
    }
    doc.ReleaseFile(f, FALSE);

    f = doc.GetFile(path, CFile::modeRead, &fe);
    if (!f) return 1;
    CString className;
    float version = 0;
    CStringList back;
    {
        CArchive ar(f, CArchive::load);
        ar >> className >> version;
        back.Serialize(ar);
    }
    ULONGLONG size = f->GetLength();
    doc.ReleaseFile(f, FALSE);
    std::printf("archive %s: %llu bytes, class name \"%s\", version %.2f, %d names:", Utf8(path).c_str(),
                static_cast<unsigned long long>(size), Utf8(className).c_str(), version, back.GetCount());
    for (POSITION p = back.GetHeadPosition(); p;) std::printf(" \"%s\"", Utf8(back.GetNext(p)).c_str());
    std::printf("\n");
    return 0;
}
