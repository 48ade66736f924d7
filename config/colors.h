// The colour table: 31 numbered colour slots, their defaults, and the colour
// file that keeps them (a header line, then one "slot,value" line per slot).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "config/text_file.h"

namespace kestrum {

inline constexpr int kColorSlotCount = 31;
inline constexpr std::string_view kColorFileHeader = "#ＫＥＳＴＲＵＭ色設定ファイル";
// The kind of file in the messages of a failed save.
inline constexpr std::string_view kColorFileKind = "色設定ファイル";

// A colour as the window system numbers it: 0x00BBGGRR, or a system colour
// (top bit set, so negative) whose low byte is the system colour index.
using ColorValue = std::int32_t;
using ColorSlots = std::array<ColorValue, kColorSlotCount>;

// Slots by use. The filer's (0-17, 29, 30) are changed in the colour dialog;
// the shell's, the text viewer's and the list windows' in the settings dialog.
enum ColorSlot : int {
    kColFilerForm = 0,
    kColListBack = 1,
    kColFileNormal = 2,
    kColFileReadOnly = 3,
    kColFileHidden = 4,
    kColFileSystem = 5,
    kColFileDirectory = 6,
    kColDriveBack = 7,
    kColDriveText = 8,
    kColFuncBack = 9,
    kColFuncText = 10,
    kColCurDirBack = 11,
    kColCurDirText = 12,
    kColMarkSizeBack = 13,
    kColMarkSizeText = 14,
    kColCursorInfoBack = 15,
    kColCursorInfoText = 16,
    kColDivider = 17,
    kColViewerText = 18,
    kColPickerText = 19,
    kColPickerBack = 20,
    kColViewerBack = 21,
    kColShellForm = 22,
    kColShellDirBack = 23,
    kColShellDirText = 24,
    kColShellEditBack = 25,
    kColShellEditText = 26,
    kColShellLabelBack = 27,
    kColShellLabelText = 28,
    kColFilerCmdBack = 29,
    kColFilerCmdText = 30,
};

// The colours every window starts with, before a colour file is read.
const ColorSlots& DefaultColors();

// Parses a colour file. Succeeds when its first line is exactly the header;
// every later line "slot,value" then overwrites its slot in file order (so a
// slot given twice keeps the later value). Lines whose slot lies outside
// 0-30, or whose fields are not whole numbers in range, are skipped. On
// failure colors is left untouched.
bool ParseColorFile(std::string_view bytes, ColorSlots& colors);
// The file text: the header and all 31 slots in order, CR LF line ends.
std::string FormatColorFile(const ColorSlots& colors);

// The path of the colour file for the ColorCustomFile setting: as it stands
// when its second character is ":", else inside programDir (ending in "\").
std::string ColorFilePath(std::string_view setting, std::string_view programDir);

// The colours in force, with the rule for writing them back at close: a
// failed load leaves the file as the user wrote it, so the close does not
// overwrite it with the colours shown unless one of them is changed after.
// Before any load the table holds only defaults, which the close does not
// write either.
class ColorTable {
public:
    ColorTable() : colors_(DefaultColors()) {}

    ColorValue Get(int slot) const;
    // Sets a slot (ignored outside 0-30); counts as a change for the close.
    void Set(int slot, ColorValue value);
    const ColorSlots& Values() const { return colors_; }
    void Reset() { *this = ColorTable(); }

    // Reads the file; false (colours unchanged) when it is missing, empty,
    // unreadable or has no header.
    bool LoadFile(const std::string& path);
    // Writes the file in one step. A file that exists but cannot be read, now
    // or at the last load, is not written over (Unreadable).
    SaveResult Save(const std::string& path) const;
    bool SaveFile(const std::string& path) const { return Save(path) == SaveResult::Saved; }
    // Whether the shell's close writes the file.
    bool SaveAtClose() const { return saveAtClose_; }

private:
    ColorSlots colors_;
    bool saveAtClose_ = false;
    std::string unreadable_;  // the last load's file when it could not be read
};

}  // namespace kestrum
