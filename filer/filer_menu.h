// The filer's menus as items: one per action of the action table (grouped by
// the bracketed group of its name, the ungrouped ones in the filer's own
// menu with the two items of no action), the drive menu, the font menu and,
// in the pop-up menu, the menu-bar switch. Item ids are a base plus the
// action code; the window makes the platform's menus from these.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace kestrum {

inline constexpr unsigned kFilerMenuBase = 3000;  // + action code (0..85, 400..426)
inline constexpr unsigned kFilerMenuBarShow = 2990;
inline constexpr unsigned kFilerMenuBarHide = 2991;
// Font items: file-name area, drive bar, function-key bar, command line.
inline constexpr unsigned kFilerMenuFontFirst = 2992;
inline constexpr unsigned kFilerMenuFontLast = 2995;
// Items of no action: the SubDirSize switch and the disk copy.
inline constexpr unsigned kFilerMenuSubDirSize = 2996;
inline constexpr unsigned kFilerMenuDiskCopy = 2997;

struct FilerMenuItem {
    unsigned id = 0;
    std::string caption;
};
struct FilerMenuGroup {
    std::string title;
    std::vector<FilerMenuItem> items;
};

// The group of an action's name ("[ファイル]閲覧" -> "ファイル", "閲覧"); no
// group for a name without a closed bracket at its start.
void SplitActionName(const std::string& name, std::string& group, std::string& caption);
// The menus in order: "ファイラー(&F)", the action groups in the order of
// their first action, "ドライブ移動" (drives whose type is above 1),
// "フォント", and with popup "メニューバー". driveType: the type of a
// drive letter's root.
std::vector<FilerMenuGroup> FilerMenuGroups(bool popup, const std::function<int(char)>& driveType);
// The action code of a menu id, or -1.
int FilerMenuCode(unsigned id);

}  // namespace kestrum
