// Filer menus from the action table.
#include "filer/filer_menu_win.h"

#include <map>
#include <utility>
#include <vector>

#include "common/sjis.h"
#include "config/action_table.h"

namespace kestrum {

namespace {

// The group of a name ("[ファイル]閲覧" -> "ファイル") and its caption.
void SplitName(const std::string& name, std::string& group, std::string& caption) {
    group.clear();
    caption = name;
    if (name.empty() || name[0] != '[') return;
    const std::size_t close = FindChar(name, ']');
    if (close == std::string::npos) return;
    group = name.substr(1, close - 1);
    caption = name.substr(close + 1);
}

}  // namespace

int FilerMenus::CodeOf(UINT id) {
    if (id < kFilerMenuBase) return -1;
    const int code = static_cast<int>(id - kFilerMenuBase);
    if (FindFilerAction(code) || IsDriveActionCode(code)) return code;
    return -1;
}

void FilerMenus::Fill(HMENU top, bool popup) {
    HMENU general = CreatePopupMenu();
    std::map<std::string, HMENU> groups;
    std::vector<std::pair<std::string, HMENU>> order;
    for (const FilerAction& a : FilerActions()) {
        std::string group;
        std::string caption;
        SplitName(a.name, group, caption);
        const UINT id = kFilerMenuBase + static_cast<UINT>(a.code);
        if (group.empty()) {
            AppendMenuA(general, MF_STRING, id, (caption + "\t").c_str());
            if (a.code == FilerActionCode::FilerAtStart) {
                AppendMenuA(general, MF_STRING, kFilerMenuSubDirSize, "ディレクトリのサイズも計算");
            } else if (a.code == FilerActionCode::Format) {
                AppendMenuA(general, MF_STRING, kFilerMenuDiskCopy, "ディスクコピー");
            }
            continue;
        }
        auto it = groups.find(group);
        if (it == groups.end()) {
            HMENU sub = CreatePopupMenu();
            it = groups.emplace(group, sub).first;
            order.emplace_back(group, sub);
        }
        AppendMenuA(it->second, MF_STRING, id, (caption + "\t").c_str());
    }
    HMENU drives = CreatePopupMenu();
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const char root[] = {letter, ':', '\\', '\0'};
        const UINT type = GetDriveTypeA(root);
        if (type <= 1) continue;
        AppendMenuA(drives, MF_STRING, kFilerMenuBase + kDriveActionFirst + static_cast<UINT>(letter - 'A'),
                    DriveCaption(letter, static_cast<int>(type)).c_str());
    }
    AppendMenuA(top, MF_POPUP, reinterpret_cast<UINT_PTR>(general), "ファイラー(&F)");
    for (const auto& [name, sub] : order) AppendMenuA(top, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), name.c_str());
    AppendMenuA(top, MF_POPUP, reinterpret_cast<UINT_PTR>(drives), "ドライブ移動");
    HMENU fonts = CreatePopupMenu();
    const char* const fontItems[] = {"ファイル名表示部", "ドライブ情報部", "ファンクション部", "シェル部"};
    for (UINT i = 0; i < 4; ++i) AppendMenuA(fonts, MF_STRING, kFilerMenuFontFirst + i, fontItems[i]);
    AppendMenuA(top, MF_POPUP, reinterpret_cast<UINT_PTR>(fonts), "フォント");
    if (popup) {
        HMENU bar = CreatePopupMenu();
        AppendMenuA(bar, MF_STRING, kFilerMenuBarShow, "表示");
        AppendMenuA(bar, MF_STRING, kFilerMenuBarHide, "非表示");
        AppendMenuA(top, MF_POPUP, reinterpret_cast<UINT_PTR>(bar), "メニューバー");
    }
}

void FilerMenus::Build() {
    bar_ = MenuBar(CreateMenu());
    popup_.Reset(CreatePopupMenu());
    Fill(bar_.Get(), false);
    Fill(popup_.Get(), true);
}

void FilerMenus::SetCaption(int code, const std::string& caption) {
    const UINT id = kFilerMenuBase + static_cast<UINT>(code);
    for (HMENU m : {bar_.Get(), popup_.Get()}) {
        if (!m) continue;
        const UINT state = GetMenuState(m, id, MF_BYCOMMAND);
        const UINT check = state != static_cast<UINT>(-1) && (state & MF_CHECKED) ? MF_CHECKED : 0;
        ModifyMenuA(m, id, MF_BYCOMMAND | MF_STRING | check, id, caption.c_str());
    }
}

void FilerMenus::SetChecked(UINT id, bool checked) {
    for (HMENU m : {bar_.Get(), popup_.Get()}) {
        if (m) CheckMenuItem(m, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
    }
}

}  // namespace kestrum
