// MakeTempDir.
#include "fileops/temp_dir_win.h"

#include <windows.h>

namespace kestrum {

std::string MakeTempDir(const std::string& prefix) {
    for (int n = 0; n <= 99999; ++n) {
        const std::string path = prefix + std::to_string(n) + ".TMP";
        if (CreateDirectoryA(path.c_str(), nullptr)) return path;
        const DWORD err = GetLastError();
        if (err != ERROR_ALREADY_EXISTS && err != ERROR_FILE_EXISTS && err != ERROR_ACCESS_DENIED) break;
    }
    return {};
}

}  // namespace kestrum
