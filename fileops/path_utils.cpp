// Path utilities on the text alone and through a file system.
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

bool DirExists(FileSystem& fs, std::string_view path) {
    const auto a = fs.Attributes(IncludeTrailingBackslash(path));
    return a && (*a & kAttrDirectory);
}

bool FileExists(FileSystem& fs, std::string_view path) {
    if (path.empty()) return false;
    const auto a = fs.Attributes(std::string(path));
    return a && !(*a & kAttrDirectory);
}

namespace {

bool CreateLevels(FileSystem& fs, const std::string& path) {
    if (path.size() <= 2 || DirExists(fs, path)) return true;
    const std::string parent = ExcludeTrailingBackslash(ExtractFilePath(path));
    if (parent.size() < path.size() && !CreateLevels(fs, parent)) return false;
    return fs.MakeDir(path) || DirExists(fs, path);
}

}  // namespace

bool ForceDirs(FileSystem& fs, std::string_view path) {
    const std::string full = ExcludeTrailingBackslash(fs.FullPath(std::string(path)));
    if (full.empty()) return false;
    CreateLevels(fs, full);
    return DirExists(fs, full);
}

bool DirHasEntries(FileSystem& fs, std::string_view dir) {
    for (const FindRecord& r : fs.Find(IncludeTrailingBackslash(dir) + "*")) {
        if (!r.IsDots()) return true;
    }
    return false;
}

bool SameFile(FileSystem& fs, std::string_view a, std::string_view b) {
    const auto ia = fs.Identity(std::string(a));
    const auto ib = fs.Identity(std::string(b));
    if (ia && ib) return *ia == *ib;
    const std::string fa = fs.FullPath(std::string(a));
    const std::string fb = fs.FullPath(std::string(b));
    if (fa.empty() || fb.empty()) return false;
    return SameText(ExcludeTrailingBackslash(fs.LongPath(fa)), ExcludeTrailingBackslash(fs.LongPath(fb)));
}

bool IsInsideDirectory(FileSystem& fs, std::string_view path, std::string_view dir) {
    const std::string p = ExcludeTrailingBackslash(fs.FullPath(std::string(path)));
    const std::string d = ExcludeTrailingBackslash(fs.FullPath(std::string(dir)));
    if (p.empty() || d.empty()) return false;
    if (IsSameOrInsidePath(p, d)) return true;
    // Another spelling of dir (a short name, a substituted drive) is found
    // by the identity of path or of a directory above it; path itself need
    // not exist yet.
    const auto id = fs.Identity(d);
    if (!id) return false;
    std::string cur = p;
    for (;;) {
        // "C:" alone would name the drive's current directory, not its root.
        const auto c = fs.Identity(EndsWithColon(cur) ? cur + "\\" : cur);
        if (c && *c == *id) return true;
        if (EndsWithColon(cur)) return false;
        const std::string parent = ExcludeTrailingBackslash(ExtractFilePath(cur));
        if (parent.size() < 2 || parent.size() >= cur.size()) return false;
        cur = parent;
    }
}

bool RenameNoReplace(FileSystem& fs, const std::string& from, const std::string& to) {
    return fs.Move(from, to, 0);
}

}  // namespace kestrum
