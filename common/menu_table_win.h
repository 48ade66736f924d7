// Menus made from a MenuTable (common/menu_table.h).
#pragma once

#include <windows.h>

#include <vector>

#include "common/menu_table.h"

namespace kestrum {

// Appends the entries to a menu, in order.
void AppendMenuEntries(HMENU menu, const std::vector<MenuEntry>& entries);
// Appends one pop-up for each of the table's, in order, to bar and gives the
// pop-ups made in the same order; the bar owns them.
std::vector<HMENU> AppendMenuTable(HMENU bar, const MenuTable& table);

}  // namespace kestrum
