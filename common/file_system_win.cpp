// The platform's file system: FindFirstFileA and friends.
#include "common/file_system_win.h"

#include <windows.h>

#include <vector>

#include "common/handles_win.h"
#include "common/installed.h"
#include "common/sjis.h"

namespace kestrum {

namespace {

// A call whose answer is a path written into a buffer, retried once with
// the length it asks for; empty when it fails.
template <typename Call>
std::string PathCall(Call call) {
    std::vector<char> buf(MAX_PATH * 2);
    DWORD n = call(buf.data(), static_cast<DWORD>(buf.size()));
    if (n >= buf.size()) {
        buf.resize(n + 1);
        n = call(buf.data(), static_cast<DWORD>(buf.size()));
    }
    if (n == 0 || n >= buf.size()) return std::string();
    return std::string(buf.data(), n);
}

}  // namespace

std::uint64_t FileTimeValue(const FILETIME& t) {
    return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

void ReadFindData(const WIN32_FIND_DATAA& fd, FindRecord& r) {
    r.attributes = fd.dwFileAttributes;
    r.creationTime = FileTimeValue(fd.ftCreationTime);
    r.lastAccessTime = FileTimeValue(fd.ftLastAccessTime);
    r.lastWriteTime = FileTimeValue(fd.ftLastWriteTime);
    r.size = (static_cast<std::uint64_t>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
    r.name = fd.cFileName;
    r.altName = fd.cAlternateFileName;
}

bool Win32FileSystem::Done(bool ok) {
    if (!ok) lastError_ = static_cast<int>(GetLastError());
    return ok;
}

std::vector<FindRecord> Win32FileSystem::Find(const std::string& pattern) {
    std::vector<FindRecord> out;
    const UINT oldMode = quietDrives_ ? SetErrorMode(SEM_FAILCRITICALERRORS) : 0;
    WIN32_FIND_DATAA fd{};
    lastError_ = 0;
    if (const FindHandle h{FindFirstFileA(pattern.c_str(), &fd)}) {
        do {
            FindRecord r;
            ReadFindData(fd, r);
            out.push_back(std::move(r));
        } while (FindNextFileA(h.Get(), &fd));
    } else {
        // Nothing matching is a search that ran; anything else is not.
        const DWORD e = GetLastError();
        if (e != ERROR_FILE_NOT_FOUND && e != ERROR_NO_MORE_FILES) lastError_ = static_cast<int>(e);
    }
    if (quietDrives_) SetErrorMode(oldMode);
    return out;
}

std::optional<std::uint32_t> Win32FileSystem::Attributes(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    if (a == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    return static_cast<std::uint32_t>(a);
}

std::optional<FindRecord> Win32FileSystem::Stat(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    FindRecord r;
    r.attributes = data.dwFileAttributes;
    r.creationTime = FileTimeValue(data.ftCreationTime);
    r.lastAccessTime = FileTimeValue(data.ftLastAccessTime);
    r.lastWriteTime = FileTimeValue(data.ftLastWriteTime);
    r.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    r.name = ExtractFileName(ExcludeTrailingBackslash(path));
    return r;
}

std::optional<FileId> Win32FileSystem::Identity(const std::string& path) {
    if (path.empty()) return std::nullopt;
    // Backup semantics let a directory be opened too; no access is asked.
    const FileHandle h(CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!h) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(h.Get(), &info)) return std::nullopt;
    return FileId{info.dwVolumeSerialNumber,
                  (static_cast<unsigned long long>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

std::string Win32FileSystem::FullPath(const std::string& path) {
    if (path.empty()) return std::string();
    return PathCall([&](char* buf, DWORD size) {
        char* filePart = nullptr;
        return GetFullPathNameA(path.c_str(), size, buf, &filePart);
    });
}

std::string Win32FileSystem::LongPath(const std::string& full) {
    const std::string longer =
        PathCall([&](char* buf, DWORD size) { return GetLongPathNameA(full.c_str(), buf, size); });
    return longer.empty() ? full : longer;
}

int Win32FileSystem::DriveTypeOf(char letter) {
    const char root[] = {letter, ':', '\\', '\0'};
    return static_cast<int>(GetDriveTypeA(root));
}

std::optional<std::string> Win32FileSystem::ReadAll(const std::string& path) {
    const FileHandle f(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) {
        Done(false);
        return std::nullopt;
    }
    std::string content;
    char buf[65536];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(f.Get(), buf, sizeof buf, &got, nullptr)) {
            Done(false);
            return std::nullopt;
        }
        if (got == 0) return content;
        content.append(buf, got);
    }
}

bool Win32FileSystem::MakeDir(const std::string& path) { return Done(CreateDirectoryA(path.c_str(), nullptr) != 0); }

bool Win32FileSystem::RemoveDir(const std::string& path) { return Done(RemoveDirectoryA(path.c_str()) != 0); }

bool Win32FileSystem::Remove(const std::string& path) { return Done(DeleteFileA(path.c_str()) != 0); }

bool Win32FileSystem::Move(const std::string& from, const std::string& to, unsigned flags) {
    DWORD how = 0;
    if (flags & kMoveReplace) how |= MOVEFILE_REPLACE_EXISTING;
    if (flags & kMoveAcrossVolumes) how |= MOVEFILE_COPY_ALLOWED;
    return Done(MoveFileExA(from.c_str(), to.c_str(), how) != 0);
}

bool Win32FileSystem::Copy(const std::string& from, const std::string& to, bool replace) {
    return Done(CopyFileA(from.c_str(), to.c_str(), replace ? FALSE : TRUE) != 0);
}

bool Win32FileSystem::WriteAll(const std::string& path, std::string_view content) {
    const FileHandle f(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) return Done(false);
    DWORD written = 0;
    if (!WriteFile(f.Get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr)) {
        return Done(false);
    }
    if (written != content.size()) {
        SetLastError(ERROR_WRITE_FAULT);
        return Done(false);
    }
    return true;
}

FileSystem& PlatformFileSystem() {
    static Win32FileSystem fs;
    return fs;
}

DiskSpace Win32FileSystem::SpaceOf(const std::string& dir) {
    DiskSpace space;
    // Totals in 64 bits: large disks show their real sizes.
    ULARGE_INTEGER avail{};
    ULARGE_INTEGER total{};
    ULARGE_INTEGER freeBytes{};
    if (GetDiskFreeSpaceExA(dir.c_str(), &avail, &total, &freeBytes)) {
        space.known = true;
        space.total = total.QuadPart;
        space.free = freeBytes.QuadPart;
    }
    // The cluster size is asked of the root: "X:\" or "\\server\share\".
    std::string root;
    if (dir.size() >= 2 && dir[1] == ':') {
        root = dir.substr(0, 2) + "\\";
    } else if (dir.rfind("\\\\", 0) == 0) {
        const std::size_t server = FindChar(dir, '\\', 2);
        const std::size_t share = server == std::string::npos ? server : FindChar(dir, '\\', server + 1);
        root = share == std::string::npos ? IncludeTrailingBackslash(dir) : dir.substr(0, share + 1);
    }
    DWORD spc = 0, bps = 0, freeClusters = 0, clusters = 0;
    if (GetDiskFreeSpaceA(root.empty() ? nullptr : root.c_str(), &spc, &bps, &freeClusters, &clusters)) {
        space.clusterBytes = static_cast<std::uint64_t>(spc) * bps;
    }
    return space;
}

FileSystem& CurrentFileSystem() { return InstalledOr<FileSystem>(PlatformFileSystem()); }

Subscription InstallFileSystem(FileSystem& fs) { return Install<FileSystem>(fs); }

}  // namespace kestrum
