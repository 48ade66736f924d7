// The file system of the platform behind the FileSystem interface.
#pragma once

#include <windows.h>

#include "common/file_system.h"
#include "common/signal.h"

namespace kestrum {

// A platform file time as one 64-bit value.
std::uint64_t FileTimeValue(const FILETIME& t);
// Fills r from one result of the platform's directory search.
void ReadFindData(const WIN32_FIND_DATAA& fd, FindRecord& r);

// Each call is the platform's ("A" functions, code page 932); nothing is
// cached. Tests derive from it to make one call fail on a real disk.
class Win32FileSystem : public FileSystem {
public:
    // quietDrives: a search of a drive without its medium fails quietly
    // instead of the platform asking for the medium.
    explicit Win32FileSystem(bool quietDrives = false) : quietDrives_(quietDrives) {}
    std::vector<FindRecord> Find(const std::string& pattern) override;
    std::optional<std::uint32_t> Attributes(const std::string& path) override;
    std::optional<FindRecord> Stat(const std::string& path) override;
    std::optional<FileId> Identity(const std::string& path) override;
    std::string FullPath(const std::string& path) override;
    std::string LongPath(const std::string& full) override;
    int DriveTypeOf(char letter) override;
    std::optional<std::string> ReadAll(const std::string& path) override;
    bool MakeDir(const std::string& path) override;
    bool RemoveDir(const std::string& path) override;
    bool Remove(const std::string& path) override;
    bool Move(const std::string& from, const std::string& to, unsigned flags) override;
    bool Copy(const std::string& from, const std::string& to, bool replace) override;
    bool WriteAll(const std::string& path, std::string_view content) override;
    DiskSpace SpaceOf(const std::string& dir) override;
    int LastError() const override { return lastError_; }

protected:
    // Keeps the platform's code of a failed call; returns ok.
    bool Done(bool ok);

private:
    bool quietDrives_;
    int lastError_ = 0;
};

// The platform's file system itself.
FileSystem& PlatformFileSystem();
// The file system the program works on: the one installed last and still
// installed, else the platform's. Tests install an in-memory one.
FileSystem& CurrentFileSystem();
// Installs fs until the subscription goes.
[[nodiscard]] Subscription InstallFileSystem(FileSystem& fs);

}  // namespace kestrum
