// Path utilities that work on the text alone.
#include "fileops/path_utils.h"

namespace kestrum {

bool EndsWithColon(std::string_view s) {
    if (s.empty()) return false;
    const std::size_t last = FindLastChar(s, ':');
    return last != std::string_view::npos && last == s.size() - 1;
}

const char* const kBadNameMessage = "\\ / : * ? \" < >  |はファイル名として使えません";

bool IsValidFileName(std::string_view name) {
    return FindAnyChar(name, "/:\\*?<>|\"") == std::string_view::npos;
}

bool IsSameOrInsidePath(std::string_view path, std::string_view dir) {
    const std::string p = UpperAscii(ExcludeTrailingBackslash(path));
    const std::string d = UpperAscii(ExcludeTrailingBackslash(dir));
    if (d.empty() || p.size() < d.size() || p.compare(0, d.size(), d) != 0) return false;
    if (p.size() == d.size()) return true;
    // The prefix must end on a character boundary and be followed by "\"
    // ("C:\AB" is not inside "C:\A"; a trail byte 0x5C is no separator).
    return p[d.size()] == '\\' && IsCharBoundary(p, d.size());
}

}  // namespace kestrum
