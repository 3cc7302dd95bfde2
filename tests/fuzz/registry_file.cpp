// The registry file: the persistent keys and values the registry stand-in keeps on disk.
#include "FuzzSupport.h"

#include <win32/registry.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = fuzz::Scratch("registry.txt");
    fuzz::WriteBytes(path, data, size);
    win32::SetRegistryFile(path);
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\ODBC\\ODBC.INI\\dBASE Files", 0, KEY_READ, &key) == 0) {
        BYTE buf[256];
        DWORD type = 0, len = sizeof buf;
        RegQueryValueExA(key, "Driver", nullptr, &type, buf, &len);
        RegCloseKey(key);
    }
    win32::DumpRegistry();
    win32::SetRegistryFile("");
    win32::ResetRegistry();
    return 0;
}

void CorvaneFuzzWriteSeeds(const std::string& dir) {
    const std::string path = dir + "/registry.txt";
    win32::SetRegistryFile(path);
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\ODBC\\ODBC.INI\\dBASE Files", 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr) == 0) {
        const char driver[] = "数据驱动.so";
        RegSetValueExA(key, "Driver", 0, REG_SZ, reinterpret_cast<const BYTE*>(driver), sizeof driver - 1);
        DWORD n = 25;
        RegSetValueExA(key, "PageTimeout", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&n), 4);
        BYTE raw[] = {0, 1, 2, 0xFF};
        RegSetValueExA(key, "Raw", 0, REG_BINARY, raw, sizeof raw);
        RegCloseKey(key);
    }
    win32::SetRegistryFile("");
    win32::ResetRegistry();
}
