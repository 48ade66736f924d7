// Writing the listing's order into a directory of the platform's file
// system.
#pragma once

#include <string>
#include <vector>

#include "filer/sort_write.h"

namespace kestrum {

// The platform's Windows directory ("C:\WINDOWS"); empty when unknown.
std::string WindowsDirectory();

// The filer's "ソート結果書き込み": names in list order, in currentDir.
SortWriteReport WriteSortOrderToDisk(const std::string& currentDir, const std::vector<std::string>& names);

}  // namespace kestrum
