// The archiver file system on Windows, the local-time conversions and the
// output buffer copy the libraries' exports share.
#include "libs/base/arc_platform_fs.h"

#include <windows.h>

#include <cstring>

#include "libs/base/arc_dll_win.h"
#include "libs/base/arc_path.h"
#include "libs/base/arc_time.h"

namespace kestrum::arc {

namespace {

// A directory search, closed when it goes out of scope.
class FindSearch {
public:
    FindSearch(const std::string& pattern, WIN32_FIND_DATAA& fd) : h_(FindFirstFileA(pattern.c_str(), &fd)) {}
    ~FindSearch() {
        if (Found()) FindClose(h_);
    }
    FindSearch(const FindSearch&) = delete;
    FindSearch& operator=(const FindSearch&) = delete;
    bool Found() const { return h_ != INVALID_HANDLE_VALUE; }
    bool Next(WIN32_FIND_DATAA& fd) const { return FindNextFileA(h_, &fd) != FALSE; }

private:
    HANDLE h_;
};

constexpr std::int64_t kEpochDiff = 116444736000000000LL;  // 1601 to 1970 in 100 ns

FILETIME UnixToFileTime(std::int64_t t) {
    ULARGE_INTEGER u;
    u.QuadPart = static_cast<ULONGLONG>(t * 10000000LL + kEpochDiff);
    FILETIME ft;
    ft.dwLowDateTime = u.LowPart;
    ft.dwHighDateTime = u.HighPart;
    return ft;
}

std::int64_t FileTimeToUnix(const FILETIME& ft) {
    ULARGE_INTEGER u;
    u.LowPart = ft.dwLowDateTime;
    u.HighPart = ft.dwHighDateTime;
    return (static_cast<std::int64_t>(u.QuadPart) - kEpochDiff) / 10000000LL;
}

std::int64_t LocalDosToUnix(std::uint32_t dos) {
    FILETIME local, utc;
    if (!DosDateTimeToFileTime(static_cast<WORD>(dos >> 16), static_cast<WORD>(dos & 0xFFFF), &local) ||
        !LocalFileTimeToFileTime(&local, &utc)) {
        return DosToUnixUtc(dos);
    }
    return FileTimeToUnix(utc);
}

std::uint32_t UnixToLocalDos(std::int64_t t) {
    if (t < 315532800) t = 315532800;
    FILETIME utc = UnixToFileTime(t), local;
    WORD date = 0, time = 0;
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToDosDateTime(&local, &date, &time)) {
        return UnixToDosUtc(t);
    }
    return (static_cast<std::uint32_t>(date) << 16) | time;
}

FileStat FromFindData(const WIN32_FIND_DATAA& fd) {
    FileStat r;
    r.exists = true;
    r.isDir = (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    r.isLink = (fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    r.size = (static_cast<std::uint64_t>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
    r.mtime = FileTimeToUnix(fd.ftLastWriteTime);
    r.attrib = fd.dwFileAttributes & 0xFF;
    return r;
}

class WinWriter : public FileWriter {
public:
    WinWriter(HANDLE h, std::string path) : h_(h), path_(std::move(path)) {}
    ~WinWriter() override {
        if (h_ != INVALID_HANDLE_VALUE) {
            CloseHandle(h_);
            DeleteFileA(path_.c_str());
        }
    }
    bool Write(const std::uint8_t* data, std::size_t size) override {
        while (size > 0) {
            DWORD chunk = size > 0x4000000 ? 0x4000000 : static_cast<DWORD>(size), done = 0;
            if (!WriteFile(h_, data, chunk, &done, nullptr) || done != chunk) return false;
            data += chunk;
            size -= chunk;
        }
        return true;
    }
    bool Close() override {
        bool ok = CloseHandle(h_) != 0;
        h_ = INVALID_HANDLE_VALUE;
        if (!ok) DeleteFileA(path_.c_str());
        return ok;
    }

private:
    HANDLE h_;
    std::string path_;
};

}  // namespace

void UseLocalTime() { SetTimeConversion(LocalDosToUnix, UnixToLocalDos); }

void CopyToOutput(const std::string& text, char* out, unsigned long size) {
    if (!out || size == 0) return;
    std::size_t n = 0;
    while (n < text.size()) {
        std::size_t len = SjisCharLen(text, n);
        if (n + len > size - 1) break;
        n += len;
    }
    std::memcpy(out, text.data(), n);
    out[n] = '\0';
}

bool PlatformFs::ReadAll(const std::string& path, std::vector<std::uint8_t>& out) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size;
    bool ok = GetFileSizeEx(h, &size) && size.QuadPart < 0x7FFFFFFF;
    if (ok) {
        try {
            out.resize(static_cast<std::size_t>(size.QuadPart));
        } catch (...) {
            ok = false;
        }
    }
    std::size_t pos = 0;
    while (ok && pos < out.size()) {
        DWORD want = static_cast<DWORD>(out.size() - pos > 0x1000000 ? 0x1000000 : out.size() - pos), got = 0;
        if (!ReadFile(h, out.data() + pos, want, &got, nullptr) || got == 0) ok = false;
        pos += got;
    }
    CloseHandle(h);
    return ok;
}

std::unique_ptr<FileWriter> PlatformFs::Create(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        // A read-only file in the way: the overwrite was allowed, so clear it.
        DWORD a = GetFileAttributesA(path.c_str());
        if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY) && !(a & FILE_ATTRIBUTE_DIRECTORY)) {
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        }
    }
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<WinWriter>(h, path);
}

std::unique_ptr<FileWriter> PlatformFs::CreateNew(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<WinWriter>(h, path);
}

bool PlatformFs::MakeDir(const std::string& path) {
    if (CreateDirectoryA(path.c_str(), nullptr)) return true;
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

FileStat PlatformFs::Stat(const std::string& path) {
    WIN32_FIND_DATAA fd;
    std::string p = path;
    while (p.size() > 3 && EndsWithSeparator(p)) p.pop_back();
    if (p.size() == 2 && p[1] == ':') p += '\\';
    if (p.size() <= 3 && p.size() >= 2 && p[1] == ':') {
        DWORD a = GetFileAttributesA(p.c_str());
        FileStat r;
        if (a != INVALID_FILE_ATTRIBUTES) {
            r.exists = true;
            r.isDir = (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
            r.attrib = a & 0xFF;
        }
        return r;
    }
    const FindSearch search(p, fd);
    return search.Found() ? FromFindData(fd) : FileStat{};
}

std::vector<DirEntry> PlatformFs::List(const std::string& dir) {
    std::vector<DirEntry> out;
    WIN32_FIND_DATAA fd;
    const FindSearch search(JoinPath(dir.empty() ? "." : dir, "*"), fd);
    if (!search.Found()) return out;
    do {
        std::string name = fd.cFileName;
        if (name == "." || name == "..") continue;
        // A name with no Shift-JIS form comes back with "?"; its short
        // name still opens it.
        if (name.find('?') != std::string::npos && fd.cAlternateFileName[0]) name = fd.cAlternateFileName;
        out.push_back(DirEntry{name, FromFindData(fd)});
    } while (search.Next(fd));
    return out;
}

bool PlatformFs::SetTimeAndAttributes(const std::string& path, std::int64_t mtime, std::uint32_t attrib,
                                 bool setAttrib) {
    bool ok = true;
    HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        FILETIME ft = UnixToFileTime(mtime);
        ok = SetFileTime(h, nullptr, nullptr, &ft) != 0;
        CloseHandle(h);
    } else {
        ok = false;
    }
    if (setAttrib) {
        DWORD a = attrib & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                            FILE_ATTRIBUTE_ARCHIVE);
        if (!SetFileAttributesA(path.c_str(), a ? a : FILE_ATTRIBUTE_NORMAL)) ok = false;
    }
    return ok;
}

bool PlatformFs::Remove(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

bool PlatformFs::Replace(const std::string& from, const std::string& to) {
    const DWORD how = MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED;
    if (MoveFileExA(from.c_str(), to.c_str(), how)) return true;
    // A read-only file in the way: replacing it was allowed, so clear it.
    const DWORD a = GetFileAttributesA(to.c_str());
    if (a == INVALID_FILE_ATTRIBUTES || !(a & FILE_ATTRIBUTE_READONLY) || (a & FILE_ATTRIBUTE_DIRECTORY)) return false;
    SetFileAttributesA(to.c_str(), a & ~FILE_ATTRIBUTE_READONLY);
    if (MoveFileExA(from.c_str(), to.c_str(), how)) return true;
    SetFileAttributesA(to.c_str(), a);
    return false;
}

}  // namespace kestrum::arc
