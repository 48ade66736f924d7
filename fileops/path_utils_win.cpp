// Path utilities that ask the file system: directory tests and creation,
// full and long paths, and the "same file" test.
#include "fileops/path_utils.h"

#include <windows.h>

#include <vector>

#include "common/handles_win.h"
#include "common/prompter.h"

namespace kestrum {

namespace {

// Long form of a full path (8.3 parts expanded); the path itself when the
// platform cannot tell.
std::string LongPathName(const std::string& full) {
    std::vector<char> buf(MAX_PATH * 2);
    DWORD n = GetLongPathNameA(full.c_str(), buf.data(), static_cast<DWORD>(buf.size()));
    if (n >= buf.size()) {
        buf.resize(n + 1);
        n = GetLongPathNameA(full.c_str(), buf.data(), static_cast<DWORD>(buf.size()));
    }
    if (n == 0 || n >= buf.size()) return full;
    return std::string(buf.data(), n);
}

}  // namespace

std::string FullPathName(std::string_view path) {
    if (path.empty()) return {};
    const std::string p(path);
    std::vector<char> buf(MAX_PATH * 2);
    char* filePart = nullptr;
    DWORD n = GetFullPathNameA(p.c_str(), static_cast<DWORD>(buf.size()), buf.data(), &filePart);
    if (n >= buf.size()) {
        buf.resize(n + 1);
        n = GetFullPathNameA(p.c_str(), static_cast<DWORD>(buf.size()), buf.data(), &filePart);
    }
    if (n == 0 || n >= buf.size()) return {};
    return std::string(buf.data(), n);
}

bool DirExists(std::string_view path) {
    const std::string p = IncludeTrailingBackslash(path);
    const DWORD a = GetFileAttributesA(p.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileExists(std::string_view path) {
    if (path.empty()) return false;
    const std::string p(path);
    const DWORD a = GetFileAttributesA(p.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

namespace {

bool CreateLevels(const std::string& path) {
    if (path.size() <= 2 || DirExists(path)) return true;
    const std::string parent = ExcludeTrailingBackslash(ExtractFilePath(path));
    if (parent.size() < path.size() && !CreateLevels(parent)) return false;
    return CreateDirectoryA(path.c_str(), nullptr) || DirExists(path);
}

}  // namespace

bool ForceDirs(std::string_view path) {
    const std::string full = ExcludeTrailingBackslash(FullPathName(path));
    if (full.empty()) return false;
    CreateLevels(full);
    return DirExists(full);
}

bool DirHasEntries(std::string_view dir) {
    const std::string pattern = IncludeTrailingBackslash(dir) + "*";
    WIN32_FIND_DATAA fd{};
    FindHandle find(FindFirstFileA(pattern.c_str(), &fd));
    if (!find) return false;
    do {
        const std::string_view name(fd.cFileName);
        if (name != "." && name != "..") return true;
    } while (FindNextFileA(find.Get(), &fd));
    return false;
}

bool EnsureDirectory(std::string& path) {
    path = ExcludeTrailingBackslash(FullPathName(path));
    bool ok = false;
    if (path.empty()) {
        ok = false;
    } else if (DirExists(path)) {
        ok = true;
    } else if (CurrentPrompter().MessageDlg("ディレクトリ" + path + "が存在しません。\r\n作りますか？",
                                            MsgType::Confirmation, MsgButtons::YesCancel) == mrYes) {
        ok = ForceDirs(path);
        if (!ok) CurrentPrompter().ShowMessage("ディレクトリの作成に失敗しました。");
    }
    path = IncludeTrailingBackslash(path);
    return ok;
}

std::optional<FileId> GetFileId(std::string_view path) {
    if (path.empty()) return std::nullopt;
    const std::string p(path);
    // Backup semantics let a directory be opened too; no access is asked.
    FileHandle h(CreateFileA(p.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!h) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(h.Get(), &info)) return std::nullopt;
    return FileId{info.dwVolumeSerialNumber,
                  (static_cast<unsigned long long>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

bool SameFile(std::string_view a, std::string_view b) {
    const auto ia = GetFileId(a);
    const auto ib = GetFileId(b);
    if (ia && ib) return *ia == *ib;
    const std::string fa = FullPathName(a);
    const std::string fb = FullPathName(b);
    if (fa.empty() || fb.empty()) return false;
    return SameText(ExcludeTrailingBackslash(LongPathName(fa)), ExcludeTrailingBackslash(LongPathName(fb)));
}

bool IsInsideDirectory(std::string_view path, std::string_view dir) {
    const std::string p = ExcludeTrailingBackslash(FullPathName(path));
    const std::string d = ExcludeTrailingBackslash(FullPathName(dir));
    if (p.empty() || d.empty()) return false;
    if (IsSameOrInsidePath(p, d)) return true;
    // Another spelling of dir (a short name, a substituted drive) is found
    // by the identity of path or of a directory above it; path itself need
    // not exist yet.
    const auto id = GetFileId(d);
    if (!id) return false;
    std::string cur = p;
    for (;;) {
        // "C:" alone would name the drive's current directory, not its root.
        const auto c = GetFileId(EndsWithColon(cur) ? cur + "\\" : cur);
        if (c && *c == *id) return true;
        if (EndsWithColon(cur)) return false;
        const std::string parent = ExcludeTrailingBackslash(ExtractFilePath(cur));
        if (parent.size() < 2 || parent.size() >= cur.size()) return false;
        cur = parent;
    }
}

}  // namespace kestrum
