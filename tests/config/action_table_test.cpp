// The filer's action table as the key files and the customisation dialog
// see it, and the drive-change action names.
#include "config/action_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace kestrum {
namespace {

using Code = FilerActionCode;

TEST(FilerActionTable, HoldsEveryCodeFrom0To85Once) {
    const auto actions = FilerActions();
    ASSERT_EQ(actions.size(), 86u);
    std::set<int> codes;
    std::set<std::string> items;
    for (const FilerAction& a : actions) {
        codes.insert(a.code);
        items.insert(a.menuItem);
    }
    EXPECT_EQ(codes.size(), 86u);
    EXPECT_EQ(*codes.begin(), 0);
    EXPECT_EQ(*codes.rbegin(), 85);
    EXPECT_EQ(items.size(), 86u);  // every action runs its own menu item
}

TEST(FilerActionTable, KeepsTheTableOrderAndNames) {
    struct Row {
        int index;
        int code;
        const char* name;
        const char* item;
    };
    const Row rows[] = {
        {0, 0, "[ファイルのコピー]コピー先を入力", "KC1"},
        {11, 56, "[ファイル]属性の変更", "KAttribute1"},
        {27, 18, "親ディレクトリに変更", "KBS1"},
        {48, 55, "[関連付け実行]一覧", "KCTRLRETURN1"},
        {53, 34, "[ショートカット]スタートアップ ", "K22"},  // trailing blank
        {71, 50, " 現在のディレクトリをホームディレクトリに", "K4"},
        {72, 52, "   コンフィグ編集", "AddCurrentDir1"},
        {80, 54, "ＫＥＳＴＲＵＭ実行時にファイラーも起動する", "LSAuto"},
        {85, 24, "ファイラーを閉じる", "KESC1"},
    };
    for (const Row& r : rows) {
        const FilerAction& a = FilerActions()[static_cast<std::size_t>(r.index)];
        EXPECT_EQ(a.code, r.code) << r.index;
        EXPECT_STREQ(a.name, r.name) << r.index;
        EXPECT_STREQ(a.menuItem, r.item) << r.index;
        EXPECT_EQ(FilerActionIndex(r.code), r.index);
    }
}

TEST(FilerActionTable, LooksUpByCode) {
    ASSERT_NE(FindFilerAction(Code::ToShellWindow), nullptr);
    EXPECT_STREQ(FindFilerAction(Code::ToShellWindow)->menuItem, "KsHell1");
    EXPECT_EQ(FindFilerAction(86), nullptr);
    EXPECT_EQ(FindFilerAction(-1), nullptr);
    EXPECT_EQ(FilerActionIndex(400), -1);
}

TEST(FilerActionTable, DriveActionNamesCarryAFixedWidthType) {
    EXPECT_EQ(DriveActionName('A', kDriveRemovable), "[ドライブ移動]A:  リムーバブルディスク");
    EXPECT_EQ(DriveActionName('Z', kDriveRemote), "[ドライブ移動]Z:  ネットワークドライブ");
    EXPECT_EQ(DriveCaption('E', kDriveCdRom), "E:  CDROM               ");
    EXPECT_EQ(DriveCaption('R', kDriveRamDisk), "R:  RAMDISK             ");
    EXPECT_EQ(DriveCaption('C', kDriveFixed), "C:" + std::string(22, ' '));
    for (int type = 0; type <= 6; ++type) EXPECT_EQ(DriveCaption('D', type).size(), 24u) << type;
}

TEST(FilerActionTable, CodeRanges) {
    EXPECT_TRUE(IsDriveActionCode(400));
    EXPECT_TRUE(IsDriveActionCode(426));
    EXPECT_FALSE(IsDriveActionCode(427));
    EXPECT_FALSE(IsDriveActionCode(399));
    EXPECT_TRUE(IsUserFunctionCode(1000));
    EXPECT_TRUE(IsUserFunctionCode(1999));
    EXPECT_FALSE(IsUserFunctionCode(2000));
    EXPECT_FALSE(IsUserFunctionCode(500));
}

// The letter items route to the character their menu item stands for, with
// Shift exactly on the tags above 16; navigation items to their key.
TEST(FilerActionTable, LetterAndNavigationRouting) {
    const struct {
        const char* menuItem;
        char letter;
        bool shift;
    } expected[] = {
        {"KC1", 'C', false},          {"KD", 'D', false},          {"KM1", 'M', false},
        {"KR1", 'R', false},          {"KU1", 'U', false},         {"KP1", 'P', false},
        {"KandL1", 'L', false},       {"KK1", 'K', false},         {"KX1", 'X', false},
        {"KView1", 'V', false},       {"KEdit1", 'E', false},      {"KpviewtviewQ1", 'Q', false},
        {"KFind1", 'F', false},       {"KS1", 'S', false},         {"KBackup1", 'B', false},
        {"K51", '5', false},          {"K21", '2', false},         {"KSHIFTLogdisk1", 'L', true},
        {"KSHIFTF1", 'F', true},      {"K8", 'D', true},           {"KSHIFTRETURN1", 0, true},
        {"KSHIFTX1", 'X', true},      {"KCOPYLIST4", 'C', true},   {"KCOPYLISTSHIFTM1", 'M', true},
    };
    int routed = 0;
    for (const FilerAction& a : FilerActions()) {
        const LetterRoute* r = LetterRouteForCode(a.code);
        if (!r) continue;
        ++routed;
        bool found = false;
        for (const auto& e : expected) {
            if (std::string(e.menuItem) != a.menuItem) continue;
            found = true;
            EXPECT_EQ(r->letter, e.letter) << a.menuItem;
            EXPECT_EQ(r->shift, e.shift) << a.menuItem;
            EXPECT_EQ(r->shift, r->tag > 16) << a.menuItem;
        }
        EXPECT_TRUE(found) << a.menuItem;
    }
    EXPECT_EQ(routed, 24);
    EXPECT_EQ(NavigationKeyForCode(Code::ParentDirectory), 8);  // BS
    EXPECT_EQ(NavigationKeyForCode(Code::NextPage), 34);       // PageDown
    EXPECT_EQ(NavigationKeyForCode(Code::PreviousPage), 33);   // PageUp
    EXPECT_EQ(NavigationKeyForCode(Code::CloseFiler), 27);     // Escape
    EXPECT_EQ(NavigationKeyForCode(Code::Copy), 0);
}

}  // namespace
}  // namespace kestrum
