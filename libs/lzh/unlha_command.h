// The UNLHA32 command line: parsing, and the commands a (add), e and x
// (extract), l and v (list), t (test) and s (self-extracting: refused).
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "libs/base/arc_fs.h"
#include "libs/base/arc_records.h"

namespace kestrum::lzh {

struct UnlhaCommand {
    char command = 0;  // lower case
    std::map<std::string, std::string> switches;  // "x" -> "1", "jf" -> "0", "gw" -> ""
    std::string archive;
    std::string baseDir;  // ends in "\" (or ":"); empty when none
    std::vector<std::string> names;
    bool Has(const std::string& sw) const { return switches.count(sw) != 0; }
    // A switch's value as a number: "" and "+" count as 1, "-" as 0.
    int Value(const std::string& sw, int absent) const;
};

// Splits the command line (response files are read through fs). Returns 0
// or the result code for a malformed line, with a message in `error`.
int ParseUnlhaCommand(arc::ArcFs& fs, std::string_view line, UnlhaCommand& cmd, std::string& error);

// Runs a command line; the text for the caller's buffer goes to `out`.
int RunUnlha(arc::ArcFs& fs, std::string_view line, std::string& out);

// The members of an archive as the listing functions report them; false
// when the file cannot be read or holds no LHA header.
bool ListLzh(arc::ArcFs& fs, const std::string& path, std::vector<arc::ListEntry>& entries);

}  // namespace kestrum::lzh
