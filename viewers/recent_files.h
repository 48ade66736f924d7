// The text viewer's recent-file list: at most eight files, most recent
// first, each remembering the top line at which it was left. Its menu
// entries are captioned "&1 " + path, "&2 " + path, ...
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrum {

class TRecentFiles {
public:
    static constexpr std::size_t kLimit = 8;
    struct Entry {
        std::string path;
        std::size_t topLine = 0;
    };

    // Upkeep on each load: the file left (empty for none) remembers leftTop;
    // a loaded file already listed moves to the front and its remembered top
    // line is returned; otherwise it is put in front (dropping the oldest
    // when the list is full) and nullopt is returned. Paths are compared
    // without regard to the case of ASCII letters.
    std::optional<std::size_t> Loaded(std::string_view leftFile, std::size_t leftTop, std::string_view loadedFile);

    const std::vector<Entry>& Entries() const { return entries_; }
    std::vector<std::string> Captions() const;
    // The path of a menu entry: its caption from the fourth character on.
    static std::string PathOfCaption(std::string_view caption);

private:
    long Find(std::string_view path) const;
    std::vector<Entry> entries_;
};

}  // namespace kestrum
