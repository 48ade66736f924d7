// The menus of the shell window and the line-input window as tables: their
// command ids, captions and order.
#pragma once

#include "common/menu_table.h"
#include "config/key_map.h"

namespace kestrum {

// Menu command ids of the shell window (main menu and tray menu).
enum MainMenuId : unsigned {
    kFont1 = 100, kKFont1, kClose1, kKls1, kKEXIT1, kK2, kK1, kKTAB1, kK4, kK3, kKSHIFT2, kKSHIFT1,
    kKHOMECLR1, kKGRPHSPACE1, kK16, kK7, kK17, kK8, kK9, kK10, kK11, kK18, kK5, kK6,
    kK12 = 150, kK13, kK14, kK15, kExit1,
};

// Menu command ids of the line-input window.
enum EditMenuId : unsigned {
    kEditAction0 = kEditKeyCommand0,  // ... kEditAction0 + 14
    kEditKeyCustomize = 330,
    kEditUserMenuEdit,
};

// The shell window's menu bar: Font, Action1, Action2, 設定 and Help, in
// that order (Action2 is the one whose caret entries follow the HOMECLR
// setting).
inline constexpr int kMainMenuAction2 = 2;
MenuTable MainMenuTable();
// The tray icon's menu.
std::vector<MenuEntry> TrayMenuEntries();

// The line-input window's menu bar: the basic editing actions, the user
// functions (filled when they are loaded), the other editing actions and
// its settings.
inline constexpr int kEditMenuBasic = 0;
MenuTable EditMenuTable();

// The caret entries' captions: the keys they name follow the HOMECLR
// setting (homeMode: HOMECLR and HELP instead of Shift with the arrows).
const char* CaretToStartCaption(bool homeMode);
const char* CaretToEndCaption(bool homeMode);

}  // namespace kestrum
