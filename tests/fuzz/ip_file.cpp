// Identification-point files: the text table of code, class ID and type.
#include "FuzzSupport.h"

#include "vector/IdentifyPoints.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = fuzz::Scratch("ip.txt");
    fuzz::WriteBytes(path, data, size);
    CIPInfoList list;
    LoadIdentificationPointFile(path.c_str(), list);
    list.GetIPInfo(1);
    AfxClearMessageLog();
    return 0;
}

void CorvaneFuzzWriteSeeds(const std::string& dir) {
    const std::string rows = "1 10 0\r\n2 20 1\r\n  300\t31 2\r\n";
    fuzz::SaveSeed(dir, "ip.txt", std::vector<uint8_t>(rows.begin(), rows.end()));
}
