// RemoveTree and the file patterns of a tree.
#include "fileops/remove_tree_win.h"

#include <windows.h>

#include "common/handles_win.h"
#include "common/prompter.h"
#include "common/sjis.h"
#include "fileops/path_utils.h"

namespace kestrum {

namespace {

const char kStoppedText[] = "空ディレクトリがあればそれは削除しましたかも(^^;;;";

// Without its trailing "\", except for a drive root ("C:\" would become the
// drive's current directory).
std::string DirPath(const std::string& path) {
    std::string d = ExcludeTrailingBackslash(path);
    if (d.size() == 2 && d[1] == ':') d += '\\';
    return d;
}

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

bool IsDots(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

bool RemoveTreeAt(const std::string& dir, bool verbose) {
    const DWORD attr = GetFileAttributesA(dir.c_str());
    // A junction or symbolic link: the link goes, what it points to stays.
    if (attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_REPARSE_POINT)) {
        return RemoveDirectoryA(dir.c_str()) != 0;
    }
    const std::string prefix = IncludeTrailingBackslash(dir);
    {
        WIN32_FIND_DATAA fd;
        FindHandle find(FindFirstFileA((prefix + "*.*").c_str(), &fd));
        if (find) {
            do {
                if (IsDots(fd.cFileName)) continue;
                const std::string child = prefix + fd.cFileName;
                if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    RemoveTreeAt(child, verbose);
                } else if (verbose) {
                    DeleteFileA(child.c_str());
                } else {
                    throw RemoveTreeStopped();
                }
            } while (FindNextFileA(find.Get(), &fd));
        }
    }
    // The current directory cannot be removed: step out of it first.
    if (SameText(ExcludeTrailingBackslash(CurrentDirectory()), ExcludeTrailingBackslash(dir))) {
        SetCurrentDirectoryA((prefix + "..").c_str());
    }
    return RemoveDirectoryA(dir.c_str()) != 0;
}

void CollectPatterns(const std::string& dir, std::vector<std::string>& out) {
    const std::string prefix = IncludeTrailingBackslash(dir);
    std::vector<std::string> subdirs;
    bool hasFile = false;
    {
        WIN32_FIND_DATAA fd;
        FindHandle find(FindFirstFileA((prefix + "*").c_str(), &fd));
        if (!find) return;
        do {
            if (IsDots(fd.cFileName)) continue;
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                hasFile = true;
            } else if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
                subdirs.push_back(prefix + fd.cFileName);
            }
        } while (FindNextFileA(find.Get(), &fd));
    }
    for (const std::string& sub : subdirs) CollectPatterns(sub, out);
    if (hasFile) out.push_back(prefix + "*");
}

}  // namespace

RemoveTreeStopped::RemoveTreeStopped() : std::runtime_error(kStoppedText) {}

bool RemoveTree(const std::string& path, bool verbose) {
    Prompter& p = CurrentPrompter();
    if (FindAnyChar(path, "*?") != std::string::npos) {
        if (verbose) p.ShowMessage("ワイルドカードには対応していません。");
        return false;
    }
    const std::string full = FullPathName(path);
    const std::string dir = DirPath(full.empty() ? path : full);
    const DWORD attr = GetFileAttributesA(dir.c_str());
    if (attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY)) {
        if (verbose) p.ShowMessage("ファイルは削除できません。");
        return false;
    }
    if (attr == INVALID_FILE_ATTRIBUTES) {
        if (verbose) p.ShowMessage("指定されたディレクトリが見つかりません");
        return false;
    }
    CurrentDirKeeper keeper;
    return RemoveTreeAt(dir, verbose);
}

std::vector<std::string> DirTreePatterns(const std::string& dir) {
    const std::string d = DirPath(dir);
    const DWORD attr = GetFileAttributesA(d.c_str());
    if (attr == INVALID_FILE_ATTRIBUTES || !(attr & FILE_ATTRIBUTE_DIRECTORY)) return {dir};
    std::vector<std::string> out;
    if (attr & FILE_ATTRIBUTE_REPARSE_POINT) return out;
    CollectPatterns(d, out);
    return out;
}

}  // namespace kestrum
