// The platform's file system for writing the listing's order.
#include "filer/sort_write_win.h"

#include <windows.h>

namespace kestrum {

bool Win32SortWriteFs::Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Win32SortWriteFs::CreateDir(const std::string& path) { return CreateDirectoryA(path.c_str(), nullptr) != 0; }

std::optional<std::uint32_t> Win32SortWriteFs::Attributes(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    if (a == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    return static_cast<std::uint32_t>(a);
}

bool Win32SortWriteFs::Move(const std::string& from, const std::string& to) {
    return MoveFileA(from.c_str(), to.c_str()) != 0;
}

bool Win32SortWriteFs::RemoveDir(const std::string& path) { return RemoveDirectoryA(path.c_str()) != 0; }

std::string WindowsDirectory() {
    char buf[MAX_PATH] = {};
    const UINT n = GetWindowsDirectoryA(buf, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::string(buf, n) : std::string();
}

SortWriteReport WriteSortOrderToDisk(const std::string& currentDir, const std::vector<std::string>& names) {
    Win32SortWriteFs fs;
    return WriteSortOrder(currentDir, names, WindowsDirectory(), fs);
}

}  // namespace kestrum
