// AddToHistory.
#include "common/history.h"

#include "common/sjis.h"

namespace kestrum {

bool IsDriveOnly(std::string_view t) {
    auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    switch (t.size()) {
    case 0: return true;
    case 1: return letter(t[0]);
    case 2: return letter(t[0]) && t[1] == ':';
    case 3: return letter(t[0]) && t[1] == ':' && t[2] == '\\';
    default: return false;
    }
}

void AddToHistory(std::vector<std::string>& list, std::string_view text, bool plain, std::size_t limit) {
    if (!plain && IsDriveOnly(text)) return;
    list.insert(list.begin(), std::string(text));
    for (std::size_t i = 1; i < list.size();) {
        if (SameText(list[i], text)) {
            list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            ++i;
        }
    }
    if (list.size() > limit) list.resize(limit);
}

}  // namespace kestrum
