// The filer's menus from the action table.
#include "filer/filer_menu.h"

#include <map>

#include "common/sjis.h"
#include "config/action_table.h"

namespace kestrum {

void SplitActionName(const std::string& name, std::string& group, std::string& caption) {
    group.clear();
    caption = name;
    if (name.empty() || name[0] != '[') return;
    const std::size_t close = FindChar(name, ']');
    if (close == std::string::npos) return;
    group = name.substr(1, close - 1);
    caption = name.substr(close + 1);
}

std::vector<FilerMenuGroup> FilerMenuGroups(bool popup, const std::function<int(char)>& driveType) {
    std::vector<FilerMenuGroup> menus{FilerMenuGroup{"ファイラー(&F)", {}}};
    std::map<std::string, std::size_t> groups;
    for (const FilerAction& a : FilerActions()) {
        std::string group;
        std::string caption;
        SplitActionName(a.name, group, caption);
        const FilerMenuItem item{kFilerMenuBase + static_cast<unsigned>(a.code), caption + "\t"};
        if (group.empty()) {
            menus[0].items.push_back(item);
            if (a.code == FilerActionCode::FilerAtStart) {
                menus[0].items.push_back({kFilerMenuSubDirSize, "ディレクトリのサイズも計算"});
            } else if (a.code == FilerActionCode::Format) {
                menus[0].items.push_back({kFilerMenuDiskCopy, "ディスクコピー"});
            }
            continue;
        }
        auto it = groups.find(group);
        if (it == groups.end()) {
            it = groups.emplace(group, menus.size()).first;
            menus.push_back(FilerMenuGroup{group, {}});
        }
        menus[it->second].items.push_back(item);
    }
    FilerMenuGroup drives{"ドライブ移動", {}};
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const int type = driveType(letter);
        if (type <= 1) continue;
        drives.items.push_back({kFilerMenuBase + kDriveActionFirst + static_cast<unsigned>(letter - 'A'),
                                DriveCaption(letter, type)});
    }
    menus.push_back(std::move(drives));
    FilerMenuGroup fonts{"フォント", {}};
    const char* const fontItems[] = {"ファイル名表示部", "ドライブ情報部", "ファンクション部", "シェル部"};
    for (unsigned i = 0; i < 4; ++i) fonts.items.push_back({kFilerMenuFontFirst + i, fontItems[i]});
    menus.push_back(std::move(fonts));
    if (popup) menus.push_back(FilerMenuGroup{"メニューバー", {{kFilerMenuBarShow, "表示"}, {kFilerMenuBarHide, "非表示"}}});
    return menus;
}

int FilerMenuCode(unsigned id) {
    if (id < kFilerMenuBase) return -1;
    const int code = static_cast<int>(id - kFilerMenuBase);
    if (FindFilerAction(code) || IsDriveActionCode(code)) return code;
    return -1;
}

}  // namespace kestrum
