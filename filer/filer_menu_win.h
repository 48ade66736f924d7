// The filer's menu bar and pop-up menu, built from the action table: one
// item per action (grouped by the bracketed group of its name), the drive
// menu, and the menu-bar switch. Item ids are a base plus the action code.
#pragma once

#include <windows.h>

#include <string>

#include "common/file_system.h"
#include "common/handles_win.h"
#include "filer/filer_menu.h"

namespace kestrum {

class FilerMenus {
public:
    FilerMenus() = default;
    FilerMenus(const FilerMenus&) = delete;
    FilerMenus& operator=(const FilerMenus&) = delete;

    // Builds both menus; drives whose root has a type above 1 get an item.
    void Build(FileSystem& files);
    HMENU Bar() const { return bar_.Get(); }
    HMENU Popup() const { return popup_.Get(); }
    // Shows the menu bar in the filer's window or takes it out.
    void ShowBar(HWND wnd, bool show) { bar_.Show(wnd, show); }
    // Sets the caption of the items of an action code in both menus (a
    // check mark stays).
    void SetCaption(int code, const std::string& caption);
    // Sets or clears the check mark of the items with this id in both menus.
    void SetChecked(UINT id, bool checked);
    // The action code of a menu id, or -1.
    static int CodeOf(UINT id) { return FilerMenuCode(id); }

private:
    void Fill(HMENU top, bool popup, FileSystem& files);
    MenuBar bar_;
    MenuHandle popup_;
};

}  // namespace kestrum
