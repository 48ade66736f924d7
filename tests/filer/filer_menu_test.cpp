// The filer's menus from the action table: groups in order, the items of no
// action, the drives shown and the ids that lead back to actions.
#include "filer/filer_menu.h"

#include <gtest/gtest.h>

#include "config/action_table.h"

namespace kestrum {
namespace {

std::vector<std::string> Titles(const std::vector<FilerMenuGroup>& menus) {
    std::vector<std::string> out;
    for (const FilerMenuGroup& g : menus) out.push_back(g.title);
    return out;
}

TEST(FilerMenuTest, EveryActionOnceInItsGroupAndTheFixedMenusAfter) {
    const auto none = [](char) { return 1; };
    const std::vector<FilerMenuGroup> bar = FilerMenuGroups(false, none);
    const std::vector<FilerMenuGroup> popup = FilerMenuGroups(true, none);
    ASSERT_GE(bar.size(), 4u);
    EXPECT_EQ(bar.front().title, "ファイラー(&F)");
    EXPECT_EQ(Titles(bar)[bar.size() - 2], "ドライブ移動");
    EXPECT_EQ(bar.back().title, "フォント");
    EXPECT_EQ(popup.size(), bar.size() + 1);
    EXPECT_EQ(popup.back().title, "メニューバー");
    EXPECT_TRUE(bar[bar.size() - 2].items.empty());  // no drive has a root

    std::size_t actions = 0;
    for (const FilerMenuGroup& g : bar) {
        for (const FilerMenuItem& item : g.items) {
            const int code = FilerMenuCode(item.id);
            if (code < 0) continue;
            ++actions;
            const FilerAction* a = FindFilerAction(code);
            ASSERT_NE(a, nullptr);
            std::string group;
            std::string caption;
            SplitActionName(a->name, group, caption);
            EXPECT_EQ(item.caption, caption + "\t");
            EXPECT_EQ(group.empty() ? std::string("ファイラー(&F)") : group, g.title);
        }
    }
    EXPECT_EQ(actions, FilerActions().size());
}

TEST(FilerMenuTest, TheSwitchesFollowTheirActionsAndDrivesWithARootAreListed) {
    const std::vector<FilerMenuGroup> menus = FilerMenuGroups(false, [](char c) { return c == 'C' ? 3 : c == 'Q' ? 4 : 0; });
    const std::vector<FilerMenuItem>& general = menus.front().items;
    for (std::size_t i = 0; i + 1 < general.size(); ++i) {
        const unsigned code = general[i].id - kFilerMenuBase;
        if (code == FilerActionCode::FilerAtStart) {
            EXPECT_EQ(general[i + 1].id, kFilerMenuSubDirSize);
        } else if (code == FilerActionCode::Format) {
            EXPECT_EQ(general[i + 1].id, kFilerMenuDiskCopy);
        }
    }
    const std::vector<FilerMenuItem>& drives = menus[menus.size() - 2].items;
    ASSERT_EQ(drives.size(), 2u);
    EXPECT_EQ(FilerMenuCode(drives[0].id), kDriveActionFirst + 2);
    EXPECT_EQ(drives[0].caption, DriveCaption('C', 3));
    EXPECT_EQ(FilerMenuCode(drives[1].id), kDriveActionFirst + 16);
    EXPECT_EQ(FilerMenuCode(kFilerMenuSubDirSize), -1);
    EXPECT_EQ(FilerMenuCode(kFilerMenuBase + 399), -1);
}

TEST(FilerMenuTest, AGroupIsTheBracketAtTheStartOfAName) {
    std::string group;
    std::string caption;
    SplitActionName("[ファイル]閲覧", group, caption);
    EXPECT_EQ(group, "ファイル");
    EXPECT_EQ(caption, "閲覧");
    SplitActionName("[開いたまま", group, caption);
    EXPECT_EQ(group, "");
    EXPECT_EQ(caption, "[開いたまま");
    SplitActionName("終了[X]", group, caption);
    EXPECT_EQ(group, "");
}

}  // namespace
}  // namespace kestrum
