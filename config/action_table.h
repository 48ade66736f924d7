// The filer's action table: every command that can be bound to a key, with
// the code the key file stores and the menu item it runs; and the names of
// the drive-change actions added for each drive.
#pragma once

#include <cstddef>
#include <span>
#include <string>

#include "common/file_system.h"

namespace kestrum {

struct FilerAction {
    int code;              // the action id of the key file
    const char* name;      // shown in the key customisation dialog
    const char* menuItem;  // the filer menu item the action runs ("KC1")
};

inline constexpr std::size_t kFilerActionCount = 86;

// The action codes (the ids the key file stores) by name.
struct FilerActionCode {
    enum : int {
        Copy = 0,                   // "C"
        Delete = 1,                 // "D": to the recycle bin
        Move = 2,                   // "M"
        Rename = 3,                 // "R"
        Unpack = 4,                 // "U"
        Pack = 5,                   // "P"
        ChangeDirectory = 6,        // "L"
        MakeDirectory = 7,          // "K"
        Run = 8,                    // "X"
        View = 9,                   // "V"
        Edit = 10,                  // "E"
        CloseViewers = 11,          // "Q"
        Mask = 12,                  // "F"
        Sort = 13,                  // "S"
        Duplicate = 14,             // "B"
        NamesOnly = 15,             // "5"
        NamesSizesDates = 16,       // "2"
        ToShellWindow = 17,
        ParentDirectory = 18,       // Backspace
        NextPage = 19,              // PageDown
        PreviousPage = 20,          // PageUp
        Mark = 21,                  // Space
        MarkAll = 22,               // Home
        OpenFirst = 23,             // Return
        CloseFiler = 24,            // Escape
        ChangeDirectoryListed = 25,  // Shift+"L"
        CopyListed = 26,            // Shift+"C"
        MoveListed = 27,            // Shift+"M"
        MaskListed = 28,            // Shift+"F"
        Erase = 29,                 // Shift+"D"
        OpenSecond = 30,            // Shift+Return
        RunEmpty = 31,              // Shift+"X"
        Format = 32,
        ShortcutOnDesktop = 33,     // shortcut places 0 to 6
        ShortcutInStartup = 34,
        ShortcutInPrograms = 35,
        ShortcutInStartMenu = 36,
        ShortcutHere = 37,
        ShortcutTyped = 38,
        ShortcutListed = 39,
        ClipNames = 40,
        ClipNamesSizesDates = 41,
        ClipFullNames = 42,
        ClipFullNamesSizesDates = 43,
        ClipDirectory = 44,
        SettingsDialog = 45,
        NewAssociation = 46,
        EditAssociation = 47,
        RegisterInLogList = 48,
        RegisterInCopyList = 49,
        MakeHomeDirectory = 50,
        RegisterAlias = 51,
        EditSettingsFile = 52,
        ReloadSettings = 53,
        FilerAtStart = 54,
        OpenList = 55,              // Ctrl+Return
        Attributes = 56,
        FirstEntry = 57,
        LastEntry = 58,
        Dates = 59,
        SendToWindow = 60,
        SendToWindowAndFocus = 61,
        ToCommandLineWithName = 62,
        ToCommandLine = 63,
        RegisterAliasEmpty = 64,
        Join = 65,
        InvertMarksFiles = 66,
        InvertMarksAll = 67,
        PopupMenu = 68,
        ContextMenu = 69,
        MarkFromCursorFiles = 70,
        MarkFromCursorAll = 71,
        MapNetworkDrive = 72,
        DisconnectNetworkDrive = 73,
        CursorDown = 74,
        CursorUp = 75,
        CursorRight = 76,
        CursorLeft = 77,
        WriteSortOrder = 78,
        Properties = 79,
        EditUserDefinitions = 80,
        EditAliases = 81,
        EditLogList = 82,
        EditCopyList = 83,
        EditFunctionKeys = 84,
        EditAssociations = 85,
    };
};

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

// Menu caption of a drive: the letter, ":" and a 22-byte type text.
std::string DriveCaption(char letter, int driveType);
// "[ドライブ移動]" followed by the drive's caption.
std::string DriveActionName(char letter, int driveType);

}  // namespace kestrum
