// The file system as the archiver cores see it. Paths are Shift-JIS bytes
// with "\" separators (Windows form); the native implementation maps them.
// The cores never touch files any other way, so a test can hand them an
// in-memory file system and see every path they write.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kestrum::arc {

// DOS attribute bits.
enum : std::uint32_t {
    kAttrReadOnly = 0x01,
    kAttrHidden = 0x02,
    kAttrSystem = 0x04,
    kAttrDirectory = 0x10,
    kAttrArchive = 0x20,
};

struct FileStat {
    bool exists = false;
    bool isDir = false;
    bool isLink = false;  // a symbolic link or other reparse point
    std::uint64_t size = 0;
    std::int64_t mtime = 0;  // seconds since 1970, UTC
    std::uint32_t attrib = 0;
};

struct DirEntry {
    std::string name;  // the name alone, no path
    FileStat stat;
};

// An output file being written. Close() reports whether every byte landed;
// destroying an unclosed writer removes the partial file.
class FileWriter {
public:
    virtual ~FileWriter() = default;
    virtual bool Write(const std::uint8_t* data, std::size_t size) = 0;
    virtual bool Close() = 0;
};

class ArcFs {
public:
    virtual ~ArcFs() = default;
    // The whole file; false when it cannot be opened or read.
    virtual bool ReadAll(const std::string& path, std::vector<std::uint8_t>& out) = 0;
    // A new file, replacing an existing one; null when it cannot be created.
    virtual std::unique_ptr<FileWriter> Create(const std::string& path) = 0;
    // A new file where nothing of that name is; null when something is
    // there or it cannot be created.
    virtual std::unique_ptr<FileWriter> CreateNew(const std::string& path) = 0;
    // One directory level; true when it exists afterwards.
    virtual bool MakeDir(const std::string& path) = 0;
    virtual FileStat Stat(const std::string& path) = 0;
    // Entries of a directory, without "." and "..".
    virtual std::vector<DirEntry> List(const std::string& dir) = 0;
    virtual bool SetTimeAndAttributes(const std::string& path, std::int64_t mtime,
                                      std::uint32_t attrib, bool setAttrib) = 0;
    virtual bool Remove(const std::string& path) = 0;
    // Replaces `to` with `from` in one step where the platform can.
    virtual bool Replace(const std::string& from, const std::string& to) = 0;
};

// Creates every missing directory of a relative path under an existing
// base ("a\b\c" makes a, a\b, a\b\c). Refuses to go through a link.
bool MakeDirs(ArcFs& fs, const std::string& base, const std::string& relDir);

// base + "\" + rel, without doubling the separator (base may be empty).
std::string JoinPath(const std::string& base, const std::string& rel);

}  // namespace kestrum::arc
