// Writing the listing's order into a directory through the platform's file
// system (MoveFileA and friends).
#pragma once

#include <string>
#include <vector>

#include "filer/sort_write.h"

namespace kestrum {

class Win32SortWriteFs : public SortWriteFs {
public:
    bool Exists(const std::string& path) override;
    bool CreateDir(const std::string& path) override;
    std::optional<std::uint32_t> Attributes(const std::string& path) override;
    bool Move(const std::string& from, const std::string& to) override;
    bool RemoveDir(const std::string& path) override;
};

// The platform's Windows directory ("C:\WINDOWS"); empty when unknown.
std::string WindowsDirectory();

// The filer's "ソート結果書き込み": names in list order, in currentDir.
SortWriteReport WriteSortOrderToDisk(const std::string& currentDir, const std::vector<std::string>& names);

}  // namespace kestrum
