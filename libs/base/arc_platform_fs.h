// The archiver file system of the platform the library is built for: on
// Windows ANSI calls with code page 932 names (arc_fs_win.cpp), on a POSIX
// host, for the native tests and tools, "\" separators become "/" and
// names stay bytes (arc_fs_native.cpp). The build links one of the two.
#pragma once

#include "libs/base/arc_fs.h"

namespace kestrum::arc {

class PlatformFs : public ArcFs {
public:
    bool ReadAll(const std::string& path, std::vector<std::uint8_t>& out) override;
    std::unique_ptr<FileWriter> Create(const std::string& path) override;
    std::unique_ptr<FileWriter> CreateNew(const std::string& path) override;
    bool MakeDir(const std::string& path) override;
    FileStat Stat(const std::string& path) override;
    std::vector<DirEntry> List(const std::string& dir) override;
    bool SetTimeAndAttributes(const std::string& path, std::int64_t mtime, std::uint32_t attrib,
                              bool setAttrib) override;
    bool Remove(const std::string& path) override;
    bool Replace(const std::string& from, const std::string& to) override;
};

}  // namespace kestrum::arc
