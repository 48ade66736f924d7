// The registry's reading helpers and the report of a missing library export.
#include "common/handles_win.h"

#include <cstring>

namespace kestrum {

std::string MissingExportText(const std::string& exportName) { return exportName + "が見つかりません"; }

RegKey OpenRegKey(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return RegKey();
    return RegKey(key);
}

std::string RegString(HKEY key, const char* valueName) {
    char value[MAX_PATH] = {};
    DWORD len = sizeof value;
    DWORD type = 0;
    if (::RegQueryValueExA(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(value), &len) != ERROR_SUCCESS) {
        return std::string();
    }
    return std::string(value, ::strnlen(value, len));
}

std::vector<std::string> RegSubkeyNames(HKEY key) {
    std::vector<std::string> names;
    for (DWORD i = 0;; ++i) {
        char name[256] = {};
        DWORD len = sizeof name;
        if (::RegEnumKeyExA(key, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.push_back(name);
    }
    return names;
}

}  // namespace kestrum
