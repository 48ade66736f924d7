// The filer's action table: every command that can be bound to a key, with
// the code the key file stores and the menu item it runs; and the names of
// the drive-change actions added for each drive.
#pragma once

#include <cstddef>
#include <span>
#include <string>

namespace kestrum {

struct FilerAction {
    int code;              // the action id of the key file
    const char* name;      // shown in the key customisation dialog
    const char* menuItem;  // the filer menu item the action runs ("KC1")
};

inline constexpr std::size_t kFilerActionCount = 86;

// The fixed actions in table order (the order of the customisation list).
std::span<const FilerAction> FilerActions();
// The action with this code; nullptr for none.
const FilerAction* FindFilerAction(int code);
// Its position in the table; -1 for none.
int FilerActionIndex(int code);

// Menu items that stand for a letter key carry a tag; the tag names the
// character and whether Shift is held. Tag 20 stands for Return.
struct LetterRoute {
    int tag;
    char letter;  // 0 for Return
    bool shift;
};
// The letter route of an action code; nullptr when the code is not a letter item.
const LetterRoute* LetterRouteForCode(int code);
// Navigation items: the built-in key (a virtual-key code) an action code
// runs, or 0 when the code is not a navigation item.
int NavigationKeyForCode(int code);

// Drive actions: code 400 + drive number (A = 0); the key file may name
// 400 to 426.
inline constexpr int kDriveActionFirst = 400;
inline constexpr int kDriveActionLast = 426;
inline constexpr bool IsDriveActionCode(int code) { return code >= kDriveActionFirst && code <= kDriveActionLast; }

// User-defined functions take the codes 1000 to 1999.
inline constexpr int kUserFunctionFirst = 1000;
inline constexpr int kUserFunctionLast = 1999;
inline constexpr bool IsUserFunctionCode(int code) { return code >= kUserFunctionFirst && code <= kUserFunctionLast; }

// Drive types as the platform numbers them (GetDriveType).
enum DriveType : int {
    kDriveUnknown = 0,
    kDriveNoRoot = 1,
    kDriveRemovable = 2,
    kDriveFixed = 3,
    kDriveRemote = 4,
    kDriveCdRom = 5,
    kDriveRamDisk = 6,
};

// Menu caption of a drive: the letter, ":" and a 22-byte type text.
std::string DriveCaption(char letter, int driveType);
// "[ドライブ移動]" followed by the drive's caption.
std::string DriveActionName(char letter, int driveType);

}  // namespace kestrum
