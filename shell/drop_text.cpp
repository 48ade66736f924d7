// Dropped file names into the command box.
#include "shell/drop_text.h"

#include <algorithm>

#include "common/sjis.h"

namespace kestrum {

BoxText InsertDroppedPaths(const BoxText& box, const std::vector<std::string>& paths) {
    std::string insert = " ";
    for (const std::string& p : paths) insert += p + " ";
    std::size_t caret = static_cast<std::size_t>(std::clamp(box.caret, 0, static_cast<int>(box.text.size())));
    // Never insert between the two bytes of a character.
    while (caret > 0 && !IsCharBoundary(box.text, caret)) --caret;
    std::string merged = box.text.substr(0, caret) + insert + box.text.substr(caret);
    BoxText out;
    out.text = Trim(merged);
    const int growth = static_cast<int>(out.text.size()) - static_cast<int>(box.text.size());
    out.caret = std::clamp(static_cast<int>(caret) + growth, 0, static_cast<int>(out.text.size()));
    return out;
}

}  // namespace kestrum
