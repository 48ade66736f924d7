// The settings dialog without its window: the pages, the control table that
// ties each control to its [環境変数] key, the page layout, the values moved
// between the controls and the running settings, their checks, and the lines
// the dialog writes.
#pragma once

#include <array>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/settings.h"
#include "config/settings_file.h"

namespace kestrum {

inline constexpr int kCfgPageCount = 10;
enum CfgPage : int {
    kPageMain = 0,
    kPageFiler,
    kPageTextViewer,
    kPageImageViewer,
    kPageArchiveViewer,
    kPageDirectories,
    kPageFilerScreen,
    kPageMainScreen,
    kPageBehaviour,
    kPageMacros,
};
// Tab captions in page order.
const std::array<std::string_view, kCfgPageCount>& CfgPageNames();

enum class CfgKind {
    Check,   // a bool key
    Radio,   // an int key, one button per value
    Number,  // an int key typed as digits, with a range
    Text,    // a text key
    HotKey,  // HOTTEXT: three modifier boxes and a one-character key
    Label,   // a fixed text
    Button,  // an action, no key
};
// What a "変更" button beside a text asks for.
enum class CfgPick { None, Program, Directory, File };
// What a button does.
enum class CfgAction {
    None,
    FilerKeys,    // key customisation of the filer keys
    ViewerKeys,   // key customisation of the text viewer keys
    FilerColors,  // the filer's colour dialog
    Color,        // one colour slot (arg)
    Font,         // one window font (arg: CfgFont)
    ViewerSize,   // the image viewer's client size into PVMaxX/PVMaxY
};
// The fonts the dialog's font buttons change.
enum CfgFont : int {
    kFontShell = 0,
    kFontTextViewer,
    kFontArchiveViewer,
    kFontFilerList,
    kFontFilerDrives,
    kFontFilerFunctions,
    kFontFilerCommand,
    kCfgFontCount,
};

struct CfgItem {
    CfgKind kind = CfgKind::Label;
    int page = 0;
    int column = 0;             // 0 left, 1 right; 2 spans both
    std::string_view key;       // [環境変数] key as written; empty for labels and buttons
    std::string_view caption;   // the control's text (a radio group's title)
    std::vector<std::string_view> options;  // radio captions
    std::vector<int> values;                // radio values; empty: the option's index
    int min = 0;                // number range
    int max = 0;
    CfgPick pick = CfgPick::None;
    CfgAction action = CfgAction::None;
    int arg = 0;
    int width = 0;              // 0: the whole column
    bool inlineItem = false;    // placed to the right of the item before it
    std::string_view enabledBy; // a Check key that must be ticked for this item to be enabled
};

// Every control of the pages but the command names of page 0, page by page.
const std::vector<CfgItem>& CfgItems();
const CfgItem* FindCfgItem(std::string_view key);  // case-insensitive

// The rows of page 0's group "内部コマンド名": label and command number;
// rows 0-10 in the left column, 11-21 in the right.
struct CfgCommandRow {
    std::string_view label;
    int command;
};
inline constexpr int kCfgCommandRows = 22;
const std::array<CfgCommandRow, kCfgCommandRows>& CfgCommandRows();

// The [環境変数] keys the dialog writes on OK, in the table's order: every
// key but those kept only in the file.
const std::vector<const EnvKey*>& CfgWrittenKeys();

// ---- layout ----------------------------------------------------------------

struct CfgRect {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
};
inline constexpr int kCfgPageWidth = 560;
inline constexpr int kCfgPageHeight = 372;
inline constexpr int kCfgRowHeight = 20;
inline constexpr int kCfgPickWidth = 56;  // a "変更" button

// Where each item of a page goes inside a page of the given size, in the
// order of CfgItems (items of other pages are left out; the index into
// CfgItems is kept in `item`).
struct CfgPlaced {
    std::size_t item;
    CfgRect rect;
};
std::vector<CfgPlaced> LayoutCfgPage(int page, int width = kCfgPageWidth, int height = kCfgPageHeight);
// The group "内部コマンド名" and its rows (label and edit box side by side).
struct CfgCommandLayout {
    CfgRect group;
    std::array<CfgRect, kCfgCommandRows> labels;
    std::array<CfgRect, kCfgCommandRows> edits;
};
CfgCommandLayout LayoutCfgCommands(int width = kCfgPageWidth, int height = kCfgPageHeight);

// ---- values ----------------------------------------------------------------

// The value of every keyed control as text: a check "1"/"0", a radio or a
// number in decimal, a text as it stands, the hot key as shortcut text.
using CfgValues = std::map<std::string, std::string, std::less<>>;

// The values the controls show for the running settings.
CfgValues CfgFill(const Settings& s);
// The first refused value of the controls, as the message that says why;
// nullopt when all are acceptable.
std::optional<std::string> CfgValidate(const CfgValues& v);
// Copies checked values into the settings (keys without a value are left).
void CfgStore(const CfgValues& v, Settings& s);

// Command names typed on page 0 (the whole table): the message for the
// first empty, blank-holding or repeated name; nullopt when all are good.
std::optional<std::string> ValidateCommandNames(const std::vector<std::string>& table);

// The hot key as shortcut text ("CTRL+ALT+K") and back.
struct HotKeyText {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
    std::string key;  // "K", "5", "F3"; empty for none
};
HotKeyText ParseHotText(std::string_view text);
std::string FormatHotText(const HotKeyText& h);
// A key the hot key accepts: one letter or digit, or F1 to F24.
bool IsHotKeyName(std::string_view key);

// ---- writing ---------------------------------------------------------------

// The value written for a key: the viewer line names the TVIEW command while
// the built-in viewer is chosen.
std::string CfgWrittenValue(const Settings& s, const EnvKey& key, std::string_view tviewName);
// Rewrites [内部コマンド] with every name and each written key as a
// "Key, value" line of [環境変数].
void WriteCfgDialog(TSettingsFile& f, const Settings& s, const std::vector<std::string>& commandTable);

}  // namespace kestrum
