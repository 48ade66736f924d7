// The file system as the program's cores see it: directory searches,
// attributes and identities, making, moving, copying and deleting, and whole
// small files. The Win32 layer implements it over the platform
// (file_system_win.h); tests hand the cores one held in memory.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrum {

// Attribute bits as the platform reports them.
inline constexpr std::uint32_t kAttrReadOnly = 0x01;
inline constexpr std::uint32_t kAttrHidden = 0x02;
inline constexpr std::uint32_t kAttrSystem = 0x04;
inline constexpr std::uint32_t kAttrDirectory = 0x10;
inline constexpr std::uint32_t kAttrArchive = 0x20;
inline constexpr std::uint32_t kAttrReparsePoint = 0x400;

// A directory whose content lies here: not a junction or directory link,
// whose content belongs elsewhere.
constexpr bool IsRealDirectory(std::uint32_t attributes) {
    return (attributes & kAttrDirectory) && !(attributes & kAttrReparsePoint);
}

// One directory-search result. Times are the platform's 64-bit file times
// (100 ns units since 1601, UTC); the size is the full 64-bit size.
struct FindRecord {
    std::uint32_t attributes = 0;
    std::uint64_t creationTime = 0;
    std::uint64_t lastAccessTime = 0;
    std::uint64_t lastWriteTime = 0;
    std::uint64_t size = 0;
    std::string name;
    std::string altName;

    bool IsDirectory() const { return (attributes & kAttrDirectory) != 0; }
    bool IsDots() const { return name == "." || name == ".."; }
};

// Identity of a file or directory: volume serial number and file index.
struct FileId {
    unsigned long volume = 0;
    unsigned long long index = 0;
    bool operator==(const FileId&) const = default;
};

// Drive types as the platform numbers them.
enum DriveType : int {
    kDriveUnknown = 0,
    kDriveNoRoot = 1,
    kDriveRemovable = 2,
    kDriveFixed = 3,
    kDriveRemote = 4,
    kDriveCdRom = 5,
    kDriveRamDisk = 6,
};

// The size of a disk and its free room in bytes, and its allocation unit.
struct DiskSpace {
    bool known = false;  // total and free were read
    std::uint64_t total = 0;
    std::uint64_t free = 0;
    std::uint64_t clusterBytes = 0;  // 0 when it could not be read
};

// How Move may go about it.
enum MoveFlags : unsigned {
    kMoveReplace = 1,        // an existing file at the destination is replaced
    kMoveAcrossVolumes = 2,  // a file may be copied to another volume and deleted
};

// Paths are Shift-JIS bytes in the platform's form ("C:\DIR\NAME"); a
// relative one is taken from the current directory, "X:NAME" from the
// drive's. A call that changes something returns false when it failed and
// LastError() then tells the platform's code.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Every entry matching pattern, a directory and a name with "*" and "?"
    // ("C:\WORK\*.*", "SUB\ab*"), "." and ".." too where the platform gives
    // them, in the platform's order. Empty when nothing matches or the
    // directory cannot be read; LastError() then tells which: 0 after a
    // search that ran (whatever it found), the platform's code after one
    // that could not.
    virtual std::vector<FindRecord> Find(const std::string& pattern) = 0;
    // The attributes of path (a trailing "\" is allowed on a directory);
    // nullopt when it does not exist or cannot be reached.
    virtual std::optional<std::uint32_t> Attributes(const std::string& path) = 0;
    // Attributes, size and times of path (name: its last part); nullopt
    // when it does not exist.
    virtual std::optional<FindRecord> Stat(const std::string& path) = 0;
    // The identity of a file or directory; nullopt when it cannot be opened.
    virtual std::optional<FileId> Identity(const std::string& path) = 0;
    // path made full ("." and ".." resolved, relative parts from the
    // current directories); empty when it cannot be formed.
    virtual std::string FullPath(const std::string& path) = 0;
    // The long form of a full path (short 8.3 parts expanded); the path
    // itself when that cannot be told.
    virtual std::string LongPath(const std::string& full) = 0;
    // The DriveType of the root of drive letter.
    virtual int DriveTypeOf(char letter) = 0;
    // The whole content of a file; nullopt when it cannot be read.
    virtual std::optional<std::string> ReadAll(const std::string& path) = 0;

    // One directory level; fails when path exists.
    virtual bool MakeDir(const std::string& path) = 0;
    // An empty directory.
    virtual bool RemoveDir(const std::string& path) = 0;
    // A file.
    virtual bool Remove(const std::string& path) = 0;
    // Renames or moves a file or directory (flags: MoveFlags); a directory
    // moves within its volume only.
    virtual bool Move(const std::string& from, const std::string& to, unsigned flags) = 0;
    // Copies a file with its attributes and last-write time.
    virtual bool Copy(const std::string& from, const std::string& to, bool replace) = 0;
    // Creates or replaces a file holding content.
    virtual bool WriteAll(const std::string& path, std::string_view content) = 0;
    // The disk that holds dir (a full directory path ending in "\"): its
    // size, free room and cluster size, each as far as it could be read.
    // Without a disk behind it: nothing known.
    virtual DiskSpace SpaceOf(const std::string& /*dir*/) { return {}; }
    // The platform's code for the last call that failed.
    virtual int LastError() const = 0;

    bool Exists(const std::string& path) { return Attributes(path).has_value(); }
};

}  // namespace kestrum
