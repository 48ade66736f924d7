// The TAR32 command line: a first word of flags (x extract, c create,
// t or l list, z gzip, f archive follows, o output directory follows),
// then the archive, an output directory ending in "\", and member names.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "libs/base/arc_fs.h"
#include "libs/base/arc_records.h"

namespace kestrum::tar {

struct TarCommand {
    char command = 0;  // 'x', 'c' or 't'
    bool gzip = false;
    std::string archive;
    std::string outDir;
    std::vector<std::string> names;
};

int ParseTarCommand(std::string_view line, TarCommand& cmd, std::string& error);

// Runs a command line; the text for the caller's buffer goes to `out`.
int RunTar(arc::ArcFs& fs, std::string_view line, std::string& out);

// The entries of a tar, tar.gz or gz file for the listing functions; false
// when the file cannot be read or is none of these.
bool ListTar(arc::ArcFs& fs, const std::string& path, std::vector<arc::ListEntry>& entries);

}  // namespace kestrum::tar
