// Symbol libraries: the library file with point, line, fill and custom symbols.
#include "FuzzSupport.h"

#include "platform/quenby/SampleSymbolLib.h"

#include <quenby/SymbolLibIO.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CSymbolLibIO lib;
    fuzz::Load(lib, data, size);
    return 0;
}

void CorvaneFuzzWriteSeeds(const std::string& dir) {
    CSymbolLibIO lib;
    quenbytest::AddSampleSymbols(lib);
    fuzz::SaveSeed(dir, "sample.lib", fuzz::Store(lib));
    CSymbolLibIO empty;
    fuzz::SaveSeed(dir, "empty.lib", fuzz::Store(empty));
}
