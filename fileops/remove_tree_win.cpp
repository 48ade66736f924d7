// RemoveTree and the file patterns of a tree on the platform's file system.
#include "fileops/remove_tree_win.h"

#include <windows.h>

#include "common/file_system_win.h"
#include "common/prompter.h"
#include "common/sjis.h"

namespace kestrum {

namespace {

std::string CurrentDirectory() {
    char buf[MAX_PATH * 2];
    const DWORD n = GetCurrentDirectoryA(sizeof buf, buf);
    return n == 0 || n >= sizeof buf ? std::string() : std::string(buf, n);
}

// Puts the current directory back when the removal ends; when it was
// removed, the nearest directory above it that still exists.
class CurrentDirKeeper {
public:
    CurrentDirKeeper() : saved_(CurrentDirectory()) {}
    ~CurrentDirKeeper() {
        std::string d = saved_;
        while (!d.empty() && !SetCurrentDirectoryA(d.c_str())) {
            const std::string parent = ExtractFilePath(ExcludeTrailingBackslash(d));
            if (parent.empty() || parent.size() >= d.size()) break;
            d = parent;
        }
    }
    CurrentDirKeeper(const CurrentDirKeeper&) = delete;
    CurrentDirKeeper& operator=(const CurrentDirKeeper&) = delete;

private:
    std::string saved_;
};

}  // namespace

bool RemoveTree(const std::string& path, bool verbose) {
    CurrentDirKeeper keeper;
    // The current directory cannot be removed: step out of it first.
    return RemoveTree(CurrentFileSystem(), CurrentPrompter(), path, verbose, [](const std::string& dir) {
        if (SameText(ExcludeTrailingBackslash(CurrentDirectory()), ExcludeTrailingBackslash(dir))) {
            SetCurrentDirectoryA((IncludeTrailingBackslash(dir) + "..").c_str());
        }
    });
}

std::vector<std::string> DirTreePatterns(const std::string& dir) { return DirTreePatterns(CurrentFileSystem(), dir); }

}  // namespace kestrum
