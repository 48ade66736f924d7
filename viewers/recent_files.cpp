// The text viewer's recent-file list.
#include "viewers/recent_files.h"

#include "common/sjis.h"

namespace kestrum {

long TRecentFiles::Find(std::string_view path) const {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (SameText(entries_[i].path, path)) return static_cast<long>(i);
    }
    return -1;
}

std::optional<std::size_t> TRecentFiles::Loaded(std::string_view leftFile, std::size_t leftTop,
                                                 std::string_view loadedFile) {
    if (!leftFile.empty()) {
        const long left = Find(leftFile);
        if (left >= 0) entries_[static_cast<std::size_t>(left)].topLine = leftTop;
    }
    const long found = Find(loadedFile);
    if (found >= 0) {
        Entry e = entries_[static_cast<std::size_t>(found)];
        entries_.erase(entries_.begin() + found);
        entries_.insert(entries_.begin(), e);
        return e.topLine;
    }
    if (entries_.size() >= kLimit) entries_.resize(kLimit - 1);
    entries_.insert(entries_.begin(), Entry{std::string(loadedFile), 0});
    return std::nullopt;
}

std::vector<std::string> TRecentFiles::Captions() const {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        out.push_back("&" + std::to_string(i + 1) + " " + entries_[i].path);
    }
    return out;
}

std::string TRecentFiles::PathOfCaption(std::string_view caption) {
    return caption.size() > 3 ? std::string(caption.substr(3)) : std::string();
}

}  // namespace kestrum
