// Inserting dropped file names into a command box.
#pragma once

#include <string>
#include <vector>

namespace kestrum {

struct BoxText {
    std::string text;
    int caret = 0;  // byte position
};

// A blank and each path followed by a blank are inserted at the caret, the
// whole text is trimmed, and the caret moves by the growth of the text.
// Paths are not quoted.
BoxText InsertDroppedPaths(const BoxText& box, const std::vector<std::string>& paths);

}  // namespace kestrum
