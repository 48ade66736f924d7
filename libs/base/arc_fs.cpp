// Helpers over the archiver file system.
#include "libs/base/arc_fs.h"

#include "libs/base/arc_path.h"

namespace kestrum::arc {

std::string JoinPath(const std::string& base, const std::string& rel) {
    if (base.empty()) return rel;
    if (rel.empty()) return base;
    if (EndsWithSeparator(base)) return base + rel;
    return base + "\\" + rel;
}

bool MakeDirs(ArcFs& fs, const std::string& base, const std::string& relDir) {
    std::string path = base;
    std::size_t i = 0;
    while (i <= relDir.size()) {
        std::size_t end = i;
        while (end < relDir.size() && relDir[end] != '\\') end += SjisCharLen(relDir, end);
        if (end > i) {
            path = JoinPath(path, relDir.substr(i, end - i));
            FileStat st = fs.Stat(path);
            if (st.isLink) return false;
            if (!st.exists) {
                if (!fs.MakeDir(path)) return false;
            } else if (!st.isDir) {
                return false;
            }
        }
        i = end + 1;
    }
    return true;
}

}  // namespace kestrum::arc
