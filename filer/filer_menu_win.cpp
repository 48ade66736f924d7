// Filer menus from the action table.
#include "filer/filer_menu_win.h"

namespace kestrum {

void FilerMenus::Fill(HMENU top, bool popup, FileSystem& files) {
    const auto driveType = [&files](char letter) { return files.DriveTypeOf(letter); };
    for (const FilerMenuGroup& group : FilerMenuGroups(popup, driveType)) {
        HMENU sub = CreatePopupMenu();
        for (const FilerMenuItem& item : group.items) AppendMenuA(sub, MF_STRING, item.id, item.caption.c_str());
        AppendMenuA(top, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), group.title.c_str());
    }
}

void FilerMenus::Build(FileSystem& files) {
    bar_ = MenuBar(CreateMenu());
    popup_.Reset(CreatePopupMenu());
    Fill(bar_.Get(), false, files);
    Fill(popup_.Get(), true, files);
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
