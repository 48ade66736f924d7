// The ISH32 command line: ISH-encoded files to decode and "/f=DIR", the
// directory the decoded files go to. Decoding itself is not provided: the
// library checks the line, the files and the directory, and answers that
// decoding is not supported.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "libs/base/arc_fs.h"

namespace kestrum::ish {

struct IshCommand {
    std::vector<std::string> files;
    std::string outDir;  // from /f= (or /F=); empty = the current directory
};

int ParseIshCommand(std::string_view line, IshCommand& cmd, std::string& error);

int RunIsh(arc::ArcFs& fs, std::string_view line, std::string& out);

}  // namespace kestrum::ish
