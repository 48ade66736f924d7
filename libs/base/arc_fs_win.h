// The archiver file system on Windows (ANSI calls, code page 932 names),
// and the local-time conversions the libraries install at load.
#pragma once

#include <string>

#include "libs/base/arc_fs.h"

namespace kestrum::arc {

class WinFs : public ArcFs {
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

// Installs the platform's local-time conversion for DOS time stamps.
void UseLocalTime();

// Copies text into a caller's output buffer of `size` bytes: cut on a
// character boundary, always terminated; nothing when the buffer is null
// or the size 0.
void CopyToOutput(const std::string& text, char* out, unsigned long size);

}  // namespace kestrum::arc
