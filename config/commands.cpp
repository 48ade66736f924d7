// Command names as the settings call them now.
#include "config/commands.h"

#include <vector>

namespace kestrum {

const std::string& CommandNameIn(const SettingsLists& lists, int n) {
    static const std::string none;
    const auto& t = lists.commandTable;
    if (n >= 0 && static_cast<std::size_t>(n) < t.size()) return t[static_cast<std::size_t>(n)];
    static const std::vector<std::string> defaults(DefaultCommandNames().begin(), DefaultCommandNames().end());
    return n >= 0 && n < kCommandCount ? defaults[static_cast<std::size_t>(n)] : none;
}

}  // namespace kestrum
