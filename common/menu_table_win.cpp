// Menus made from a table.
#include "common/menu_table_win.h"

namespace kestrum {

void AppendMenuEntries(HMENU menu, const std::vector<MenuEntry>& entries) {
    for (const MenuEntry& e : entries) AppendMenuA(menu, MF_STRING, e.id, e.caption.c_str());
}

std::vector<HMENU> AppendMenuTable(HMENU bar, const MenuTable& table) {
    std::vector<HMENU> popups;
    popups.reserve(table.size());
    for (const MenuPopup& p : table) {
        HMENU popup = CreatePopupMenu();
        AppendMenuEntries(popup, p.entries);
        AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), p.caption.c_str());
        popups.push_back(popup);
    }
    return popups;
}

}  // namespace kestrum
