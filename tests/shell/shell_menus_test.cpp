// The menu tables of the shell window and the line-input window: every
// command once, and the pop-ups the windows change later where they say.
#include "shell/shell_menus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

namespace kestrum {
namespace {

bool Holds(const MenuPopup& popup, unsigned id) {
    return std::any_of(popup.entries.begin(), popup.entries.end(), [&](const MenuEntry& e) { return e.id == id; });
}

TEST(ShellMenus, EveryCommandOfTheShellWindowOnceWithACaption) {
    std::multiset<unsigned> ids;
    for (const MenuPopup& p : MainMenuTable()) {
        EXPECT_FALSE(p.caption.empty());
        for (const MenuEntry& e : p.entries) {
            ids.insert(e.id);
            EXPECT_FALSE(e.caption.empty()) << e.id;
        }
    }
    for (const MenuEntry& e : TrayMenuEntries()) ids.insert(e.id);
    // Every id from kKFont1 to kK6 and from kK12 to kExit1 (kFont1 is the
    // bar's own, no entry).
    std::multiset<unsigned> want;
    for (unsigned id = kKFont1; id <= kK6; ++id) want.insert(id);
    for (unsigned id = kK12; id <= kExit1; ++id) want.insert(id);
    EXPECT_EQ(ids, want);
}

TEST(ShellMenus, ThePopupsTheWindowsRecaptionAreTheNamedOnes) {
    const MenuTable main = MainMenuTable();
    ASSERT_LT(kMainMenuAction2, static_cast<int>(main.size()));
    for (unsigned id : {kKSHIFT2, kKSHIFT1, kKHOMECLR1}) EXPECT_TRUE(Holds(main[kMainMenuAction2], id)) << id;
    EXPECT_EQ(main.back().caption, "\b&Help");  // right-justified, hence last

    const MenuTable edit = EditMenuTable();
    ASSERT_LT(kEditMenuBasic, static_cast<int>(edit.size()));
    EXPECT_TRUE(Holds(edit[kEditMenuBasic], kEditAction0 + EditKeyAction::CaretToStart));
    EXPECT_TRUE(Holds(edit[kEditMenuBasic], kEditAction0 + EditKeyAction::CaretToEnd));
}

TEST(ShellMenus, TheLineInputMenusHoldEachEditingActionOnceUnderItsName) {
    std::multiset<unsigned> ids;
    for (const MenuPopup& p : EditMenuTable()) {
        for (const MenuEntry& e : p.entries) {
            ids.insert(e.id);
            if (e.id >= kEditAction0 && e.id < kEditAction0 + kEditKeyActionCount) {
                EXPECT_EQ(e.caption, EditKeyActionName(static_cast<int>(e.id - kEditAction0)));
            }
        }
    }
    std::multiset<unsigned> want{kEditKeyCustomize, kEditUserMenuEdit};
    for (int n = 0; n < kEditKeyActionCount; ++n) want.insert(kEditAction0 + static_cast<unsigned>(n));
    EXPECT_EQ(ids, want);
}

}  // namespace
}  // namespace kestrum
