// Menus as data: each pop-up a caption and its entries, each entry a
// command id and a caption; the window code only walks the table
// (menu_table_win.h).
#pragma once

#include <string>
#include <vector>

namespace kestrum {

struct MenuEntry {
    unsigned id;
    std::string caption;
};

struct MenuPopup {
    std::string caption;  // a leading "\b" puts the pop-up at the bar's right end
    std::vector<MenuEntry> entries;  // none: a pop-up filled later
};

using MenuTable = std::vector<MenuPopup>;

}  // namespace kestrum
