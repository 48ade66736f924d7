// Writing the listing's order into the directory itself: every entry is
// moved into a temporary directory and back in list order.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/file_system.h"
#include "filer/file_list.h"

namespace kestrum {

inline constexpr std::string_view kSortTempDirName = "KestrumTempDir";

enum class SortWriteResult {
    Declined,        // the user answered No
    Refused,         // the Windows directory, a directory inside it or one holding it
    TempExists,      // a leftover temporary directory: nothing was touched
    TempNotCreated,  // the temporary directory could not be made: nothing was touched
    Finished,        // every entry moved out came back
    Stranded,        // some entries are still in the temporary directory
};

struct SortWriteReport {
    SortWriteResult result = SortWriteResult::Declined;
    std::string tempDir;                // current directory + kSortTempDirName
    std::vector<std::string> moved;     // names moved out (and back unless stranded)
    std::vector<std::string> stranded;  // names left in tempDir
};

// True when either path holds the other, compared upper-cased as plain
// substrings (so the root of the Windows directory's drive counts too).
bool TouchesWindowsDirectory(std::string_view currentDir, std::string_view windowsDir);

// Asks, refuses or writes the order of names ("." and ".." are passed
// over) into currentDir (which ends in "\"). Entries with the system
// attribute, unreadable ones and names too long for the temporary
// directory keep their places. Every message goes through the current
// prompter; stranded entries are named with the directory that holds them.
SortWriteReport WriteSortOrder(std::string_view currentDir, const std::vector<std::string>& names,
                               std::string_view windowsDir, FileSystem& fs);

// The names of the listing in its present order.
std::vector<std::string> ListedNames(const FileListModel& model);

}  // namespace kestrum
