// RemoveTree and the file patterns of a tree, over a file system.
#include "fileops/remove_tree.h"

#include "common/sjis.h"

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

// dir's attributes come from the search that found it (or the check of
// the path given): asked again, a failed answer would let a link be taken
// for a directory and the files it points to be deleted.
bool RemoveTreeAt(FileSystem& fs, const std::string& dir, std::uint32_t attr, bool verbose,
                  const BeforeRemovingDir& beforeRemoving) {
    // A junction or symbolic link: the link goes, what it points to stays.
    if (attr & kAttrReparsePoint) {
        if (beforeRemoving) beforeRemoving(dir);
        return fs.RemoveDir(dir);
    }
    const std::string prefix = IncludeTrailingBackslash(dir);
    for (const FindRecord& r : fs.Find(prefix + "*.*")) {
        if (r.IsDots()) continue;
        const std::string child = prefix + r.name;
        if (r.IsDirectory()) {
            RemoveTreeAt(fs, child, r.attributes, verbose, beforeRemoving);
        } else if (verbose) {
            fs.Remove(child);
        } else {
            throw RemoveTreeStopped();
        }
    }
    if (beforeRemoving) beforeRemoving(dir);
    return fs.RemoveDir(dir);
}

void CollectPatterns(FileSystem& fs, const std::string& dir, std::vector<std::string>& out) {
    const std::string prefix = IncludeTrailingBackslash(dir);
    std::vector<std::string> subdirs;
    bool hasFile = false;
    for (const FindRecord& r : fs.Find(prefix + "*")) {
        if (r.IsDots()) continue;
        if (!r.IsDirectory()) {
            hasFile = true;
        } else if (!(r.attributes & kAttrReparsePoint)) {
            subdirs.push_back(prefix + r.name);
        }
    }
    for (const std::string& sub : subdirs) CollectPatterns(fs, sub, out);
    if (hasFile) out.push_back(prefix + "*");
}

}  // namespace

RemoveTreeStopped::RemoveTreeStopped() : std::runtime_error(kStoppedText) {}

bool RemoveTree(FileSystem& fs, Prompter& prompter, const std::string& path, bool verbose,
                const BeforeRemovingDir& beforeRemoving) {
    if (FindAnyChar(path, "*?") != std::string::npos) {
        if (verbose) prompter.ShowMessage("ワイルドカードには対応していません。");
        return false;
    }
    const std::string full = fs.FullPath(path);
    const std::string dir = DirPath(full.empty() ? path : full);
    const std::optional<std::uint32_t> attr = fs.Attributes(dir);
    if (attr && !(*attr & kAttrDirectory)) {
        if (verbose) prompter.ShowMessage("ファイルは削除できません。");
        return false;
    }
    if (!attr) {
        if (verbose) prompter.ShowMessage("指定されたディレクトリが見つかりません");
        return false;
    }
    if (RemoveTreeAt(fs, dir, *attr, verbose, beforeRemoving)) return true;
    if (verbose) prompter.ShowMessage(dir + "を削除できませんでした");
    return false;
}

std::vector<std::string> DirTreePatterns(FileSystem& fs, const std::string& dir) {
    const std::string d = DirPath(dir);
    const std::optional<std::uint32_t> attr = fs.Attributes(d);
    if (!attr || !(*attr & kAttrDirectory)) return {dir};
    std::vector<std::string> out;
    if (*attr & kAttrReparsePoint) return out;
    CollectPatterns(fs, d, out);
    return out;
}

}  // namespace kestrum
