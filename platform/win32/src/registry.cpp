#include "win32/registry.h"

#include "win32/codepage.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <sstream>
#include <vector>

namespace {

struct Value {
    std::string name;  // as written
    DWORD type = REG_NONE;
    std::string bytes;
};

struct Key {
    std::string name;  // as created
    bool isVolatile = false;
    std::map<std::string, Value> values;                // by folded name
    std::map<std::string, std::unique_ptr<Key>> children;  // by folded name
};

// ASCII letters fold to lower case; the trail byte of a GBK character is left alone.
std::string Fold(const std::string& s) {
    std::string f = s;
    for (size_t i = 0; i < f.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(f[i]);
        if (win32::IsGbkLeadByte(c) && i + 1 < f.size()) {
            ++i;
        } else if (c >= 'A' && c <= 'Z') {
            f[i] = static_cast<char>(c - 'A' + 'a');
        }
    }
    return f;
}

const char* const kRootNames[4] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS"};

struct Handle {
    int root;
    std::vector<std::string> path;  // folded names below the root
};

struct Registry {
    std::mutex mutex;
    Key roots[4];
    std::map<uintptr_t, Handle> handles;
    uintptr_t nextHandle = 0x1000;
    std::string file;  // native path, "" for none
    bool envChecked = false;
};

Registry& Reg() {
    static Registry r;
    return r;
}

int RootIndex(HKEY h) {
    uintptr_t v = reinterpret_cast<uintptr_t>(h);
    if (v >= 0x80000000u && v <= 0x80000003u) return static_cast<int>(v - 0x80000000u);
    return -1;
}

// Splits a key path at "\\" (not inside a GBK character); empty elements are dropped.
bool SplitPath(const char* path, std::vector<std::string>& parts) {
    parts.clear();
    if (!path) return true;
    if (path[0] == '\\') return false;
    std::string cur;
    for (size_t i = 0; path[i]; ++i) {
        unsigned char c = static_cast<unsigned char>(path[i]);
        if (win32::IsGbkLeadByte(c) && path[i + 1]) {
            cur += path[i];
            cur += path[++i];
        } else if (c == '\\') {
            if (!cur.empty()) parts.push_back(cur);
            cur.clear();
        } else {
            cur += path[i];
        }
    }
    if (!cur.empty()) parts.push_back(cur);
    return true;
}

// The key a handle (or root) names: the root index, the folded path, and the key itself (NULL when it
// was deleted). False for an unknown handle.
bool Resolve(Registry& r, HKEY h, int& root, std::vector<std::string>& path, Key*& key) {
    root = RootIndex(h);
    path.clear();
    if (root < 0) {
        auto it = r.handles.find(reinterpret_cast<uintptr_t>(h));
        if (it == r.handles.end()) return false;
        root = it->second.root;
        path = it->second.path;
    }
    key = &r.roots[root];
    for (const std::string& p : path) {
        auto c = key->children.find(p);
        if (c == key->children.end()) {
            key = nullptr;
            break;
        }
        key = c->second.get();
    }
    return true;
}

std::string Escape(const std::string& s) {
    std::string e;
    for (unsigned char c : s) {
        if (c < 0x20 || c == '%' || c == '"' || c == '[' || c == ']' || c == '=' || c == 0x7F) {
            char buf[4];
            std::snprintf(buf, sizeof buf, "%%%02X", c);
            e += buf;
        } else {
            e += static_cast<char>(c);
        }
    }
    return e;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool Unescape(const std::string& s, std::string& out) {
    out.clear();
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '%') {
            out += s[i];
            continue;
        }
        if (i + 2 >= s.size() || HexDigit(s[i + 1]) < 0 || HexDigit(s[i + 2]) < 0) return false;
        out += static_cast<char>(HexDigit(s[i + 1]) * 16 + HexDigit(s[i + 2]));
        i += 2;
    }
    return true;
}

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string h;
    for (unsigned char c : bytes) {
        h += digits[c >> 4];
        h += digits[c & 15];
    }
    return h;
}

bool Unhex(const std::string& h, std::string& out) {
    out.clear();
    if (h.size() % 2) return false;
    for (size_t i = 0; i < h.size(); i += 2) {
        int hi = HexDigit(h[i]), lo = HexDigit(h[i + 1]);
        if (hi < 0 || lo < 0) return false;
        out += static_cast<char>(hi * 16 + lo);
    }
    return true;
}

const char* TypeName(DWORD type) {
    switch (type) {
    case REG_SZ: return "sz";
    case REG_DWORD: return "dword";
    case REG_BINARY: return "hex";
    default: return nullptr;
    }
}

void DumpKey(const Key& key, const std::string& path, bool withVolatile, std::ostringstream& out) {
    if (key.isVolatile && !withVolatile) return;
    out << '[' << Escape(path) << ']' << (key.isVolatile ? " volatile" : "") << '\n';
    for (const auto& v : key.values) {
        out << '"' << Escape(v.second.name) << "\"=";
        if (const char* t = TypeName(v.second.type))
            out << t;
        else
            out << "type" << v.second.type;
        out << ':' << Hex(v.second.bytes) << '\n';
    }
    for (const auto& c : key.children) DumpKey(*c.second, path + "\\" + c.second->name, withVolatile, out);
}

std::string DumpAll(Registry& r, bool withVolatile) {
    std::ostringstream out;
    for (int i = 0; i < 4; ++i) DumpKey(r.roots[i], kRootNames[i], withVolatile, out);
    return out.str();
}

void Save(Registry& r) {
    if (r.file.empty()) return;
    const std::string text = DumpAll(r, false);
    const std::string tmp = r.file + ".tmp";
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out) return;
        out << text;
        if (!out.flush()) return;
    }
    std::rename(tmp.c_str(), r.file.c_str());
}

// Drops the persistent keys, keeping the volatile ones with their volatile ancestors.
bool PruneKeepVolatile(Key& key) {
    key.values.clear();
    for (auto it = key.children.begin(); it != key.children.end();) {
        if (it->second->isVolatile || PruneKeepVolatile(*it->second))
            ++it;
        else
            it = key.children.erase(it);
    }
    return !key.children.empty();
}

// Reads the persistent keys from the file; lines that do not parse are skipped.
void Load(Registry& r) {
    for (Key& root : r.roots) PruneKeepVolatile(root);
    if (r.file.empty()) return;
    std::ifstream in(r.file, std::ios::binary);
    std::string line;
    Key* current = nullptr;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() >= 2 && line[0] == '[' && line.back() == ']') {
            std::string path;
            current = nullptr;
            if (!Unescape(line.substr(1, line.size() - 2), path)) continue;
            std::vector<std::string> parts;
            const size_t slash = path.find('\\');
            const std::string rootName = path.substr(0, slash);
            int root = -1;
            for (int i = 0; i < 4; ++i)
                if (rootName == kRootNames[i]) root = i;
            if (root < 0) continue;
            Key* key = &r.roots[root];
            if (slash != std::string::npos && !SplitPath(path.c_str() + slash + 1, parts)) continue;
            for (const std::string& p : parts) {
                auto& child = key->children[Fold(p)];
                if (!child) {
                    child.reset(new Key);
                    child->name = p;
                }
                key = child.get();
            }
            current = key;
            continue;
        }
        if (!current || line.empty() || line[0] != '"') continue;
        size_t close = line.find("\"=");
        size_t colon = line.find(':', close == std::string::npos ? 0 : close);
        if (close == std::string::npos || colon == std::string::npos) continue;
        Value v;
        std::string type = line.substr(close + 2, colon - close - 2);
        if (!Unescape(line.substr(1, close - 1), v.name) || !Unhex(line.substr(colon + 1), v.bytes)) continue;
        if (type == "sz")
            v.type = REG_SZ;
        else if (type == "dword")
            v.type = REG_DWORD;
        else if (type == "hex")
            v.type = REG_BINARY;
        else if (type.compare(0, 4, "type") == 0)
            v.type = static_cast<DWORD>(std::strtoul(type.c_str() + 4, nullptr, 10));
        else
            continue;
        current->values[Fold(v.name)] = v;
    }
}

void EnsureFile(Registry& r) {
    if (r.envChecked) return;
    r.envChecked = true;
    if (const char* env = std::getenv("CORVANE_REGISTRY_FILE")) {
        r.file = win32::GbkPathToNative(env);
        Load(r);
    }
}

HKEY NewHandle(Registry& r, int root, std::vector<std::string> path) {
    uintptr_t h = r.nextHandle;
    r.nextHandle += 8;
    r.handles[h] = Handle{root, std::move(path)};
    return reinterpret_cast<HKEY>(h);
}

LONG OpenOrCreate(HKEY hKey, LPCSTR lpSubKey, bool create, DWORD dwOptions, PHKEY phkResult,
                  LPDWORD lpdwDisposition) {
    if (!phkResult) return ERROR_INVALID_PARAMETER;
    Registry& r = Reg();
    std::lock_guard<std::mutex> lock(r.mutex);
    EnsureFile(r);
    int root = 0;
    std::vector<std::string> path;
    Key* key = nullptr;
    if (!Resolve(r, hKey, root, path, key)) return ERROR_INVALID_HANDLE;
    if (!key) return ERROR_KEY_DELETED;
    std::vector<std::string> parts;
    if (!SplitPath(lpSubKey, parts)) return ERROR_BAD_PATHNAME;
    const bool wantVolatile = (dwOptions & REG_OPTION_VOLATILE) != 0;
    // Check first, so that a refused creation leaves nothing behind.
    Key* k = key;
    size_t existing = 0;
    for (; existing < parts.size(); ++existing) {
        auto c = k->children.find(Fold(parts[existing]));
        if (c == k->children.end()) break;
        k = c->second.get();
    }
    if (existing < parts.size()) {
        if (!create) return ERROR_FILE_NOT_FOUND;
        if (k->isVolatile && !wantVolatile) return ERROR_CHILD_MUST_BE_VOLATILE;
    }
    bool created = false;
    for (size_t i = existing; i < parts.size(); ++i) {
        auto& child = k->children[Fold(parts[i])];
        child.reset(new Key);
        child->name = parts[i];
        child->isVolatile = wantVolatile;
        k = child.get();
        created = true;
    }
    for (const std::string& p : parts) path.push_back(Fold(p));
    *phkResult = NewHandle(r, root, path);
    if (lpdwDisposition) *lpdwDisposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    if (created && !wantVolatile) Save(r);
    return ERROR_SUCCESS;
}

std::string ValueKey(LPCSTR name) { return Fold(name ? name : ""); }

}  // namespace

LONG RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD, LPSTR, DWORD dwOptions, REGSAM, LPSECURITY_ATTRIBUTES,
                     PHKEY phkResult, LPDWORD lpdwDisposition) {
    return OpenOrCreate(hKey, lpSubKey, true, dwOptions, phkResult, lpdwDisposition);
}

LONG RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD, REGSAM, PHKEY phkResult) {
    return OpenOrCreate(hKey, lpSubKey, false, 0, phkResult, nullptr);
}

LONG RegCloseKey(HKEY hKey) {
    if (RootIndex(hKey) >= 0) return ERROR_SUCCESS;
    Registry& r = Reg();
    std::lock_guard<std::mutex> lock(r.mutex);
    return r.handles.erase(reinterpret_cast<uintptr_t>(hKey)) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LONG RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD, DWORD dwType, const BYTE* lpData, DWORD cbData) {
    if (!lpData && cbData) return ERROR_INVALID_PARAMETER;
    Registry& r = Reg();
    std::lock_guard<std::mutex> lock(r.mutex);
    EnsureFile(r);
    int root = 0;
    std::vector<std::string> path;
    Key* key = nullptr;
    if (!Resolve(r, hKey, root, path, key)) return ERROR_INVALID_HANDLE;
    if (!key) return ERROR_KEY_DELETED;
    Value& v = key->values[ValueKey(lpValueName)];
    v.name = lpValueName ? lpValueName : "";
    v.type = dwType;
    v.bytes.assign(reinterpret_cast<const char*>(lpData ? lpData : reinterpret_cast<const BYTE*>("")), cbData);
    if (!key->isVolatile) Save(r);
    return ERROR_SUCCESS;
}

LONG RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD, LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData) {
    if (lpData && !lpcbData) return ERROR_INVALID_PARAMETER;
    Registry& r = Reg();
    std::lock_guard<std::mutex> lock(r.mutex);
    EnsureFile(r);
    int root = 0;
    std::vector<std::string> path;
    Key* key = nullptr;
    if (!Resolve(r, hKey, root, path, key)) return ERROR_INVALID_HANDLE;
    if (!key) return ERROR_KEY_DELETED;
    auto it = key->values.find(ValueKey(lpValueName));
    if (it == key->values.end()) return ERROR_FILE_NOT_FOUND;
    const Value& v = it->second;
    const DWORD size = static_cast<DWORD>(v.bytes.size());
    if (lpType) *lpType = v.type;
    if (!lpData) {
        if (lpcbData) *lpcbData = size;
        return ERROR_SUCCESS;
    }
    if (*lpcbData < size) {
        *lpcbData = size;
        return ERROR_MORE_DATA;
    }
    if (size) std::memcpy(lpData, v.bytes.data(), size);
    *lpcbData = size;
    return ERROR_SUCCESS;
}

LONG RegDeleteValueA(HKEY hKey, LPCSTR lpValueName) {
    Registry& r = Reg();
    std::lock_guard<std::mutex> lock(r.mutex);
    EnsureFile(r);
    int root = 0;
    std::vector<std::string> path;
    Key* key = nullptr;
    if (!Resolve(r, hKey, root, path, key)) return ERROR_INVALID_HANDLE;
    if (!key) return ERROR_KEY_DELETED;
    if (!key->values.erase(ValueKey(lpValueName))) return ERROR_FILE_NOT_FOUND;
    if (!key->isVolatile) Save(r);
    return ERROR_SUCCESS;
}

LONG RegDeleteKeyA(HKEY hKey, LPCSTR lpSubKey) {
    Registry& r = Reg();
    std::lock_guard<std::mutex> lock(r.mutex);
    EnsureFile(r);
    int root = 0;
    std::vector<std::string> path;
    Key* key = nullptr;
    if (!Resolve(r, hKey, root, path, key)) return ERROR_INVALID_HANDLE;
    if (!key) return ERROR_KEY_DELETED;
    std::vector<std::string> parts;
    if (!SplitPath(lpSubKey, parts)) return ERROR_BAD_PATHNAME;
    if (parts.empty()) return ERROR_ACCESS_DENIED;
    Key* parent = key;
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
        auto c = parent->children.find(Fold(parts[i]));
        if (c == parent->children.end()) return ERROR_FILE_NOT_FOUND;
        parent = c->second.get();
    }
    auto victim = parent->children.find(Fold(parts.back()));
    if (victim == parent->children.end()) return ERROR_FILE_NOT_FOUND;
    if (!victim->second->children.empty()) return ERROR_ACCESS_DENIED;
    const bool wasVolatile = victim->second->isVolatile;
    parent->children.erase(victim);
    if (!wasVolatile) Save(r);
    return ERROR_SUCCESS;
}

namespace win32 {

void SetRegistryFile(const std::string& gbkPath) {
    Registry& r = Reg();
    std::lock_guard<std::mutex> lock(r.mutex);
    r.envChecked = true;
    r.file = gbkPath.empty() ? std::string() : GbkPathToNative(gbkPath);
    Load(r);
}

void ResetRegistry() {
    Registry& r = Reg();
    std::lock_guard<std::mutex> lock(r.mutex);
    for (Key& root : r.roots) {
        root.values.clear();
        root.children.clear();
    }
    r.handles.clear();
    r.file.clear();
    r.envChecked = true;
}

std::string DumpRegistry() {
    Registry& r = Reg();
    std::lock_guard<std::mutex> lock(r.mutex);
    EnsureFile(r);
    return DumpAll(r, true);
}

}  // namespace win32
