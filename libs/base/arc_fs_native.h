// The archiver file system on a POSIX host (the native test build): "\"
// separators become "/", names stay bytes.
#pragma once

#include "libs/base/arc_fs.h"

namespace kestrum::arc {

class NativeFs : public ArcFs {
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

    static std::string HostPath(const std::string& path);
};

}  // namespace kestrum::arc
