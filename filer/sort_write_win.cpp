// Writing the listing's order on the platform's disks.
#include "filer/sort_write_win.h"

#include <windows.h>

#include "common/file_system_win.h"

namespace kestrum {

std::string WindowsDirectory() {
    char buf[MAX_PATH] = {};
    const UINT n = GetWindowsDirectoryA(buf, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::string(buf, n) : std::string();
}

SortWriteReport WriteSortOrderToDisk(const std::string& currentDir, const std::vector<std::string>& names) {
    return WriteSortOrder(currentDir, names, WindowsDirectory(), CurrentFileSystem());
}

}  // namespace kestrum
