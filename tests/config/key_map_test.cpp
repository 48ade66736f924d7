// Key maps: the key file lines, loading with its failures and unknown ids,
// the three maps' rules, lookup, menu captions, saving and the dialog's
// capture and update rules.
#include "config/key_map.h"

#include <gtest/gtest.h>

#include <map>

#include "common/prompter.h"
#include "config/action_table.h"
#include "tests/fakes/scripted_prompter.h"
#include "tests/test_util.h"

namespace kestrum {
namespace {

constexpr std::string_view kHeader = "#TEST";

KeyBinding Bind(int action, int key, const char* name, unsigned char mods = 0) {
    KeyBinding b;
    b.action = action;
    b.key = key;
    b.name = name;
    b.modifiers = mods;
    return b;
}

// A small table whose runs and captions are recorded.
class KeyMapTest : public testing::Test {
protected:
    void SetUp() override {
        keyx_.AddAction("[グループ]上へ", 100, 0);
        keyx_.AddAction("下へ", 101, 1);
        keyx_.AddAction("二つ目の上", 102, 0);  // id 0 twice
        runs_ = keyx_.runCommand.Connect([this](int c) { ran_.push_back(c); });
        captionsShown_ = keyx_.setCaption.Connect([this](int c, const std::string& s) { captions_[c] = s; });
    }
    std::string File(const std::string& body) {
        const std::string path = dir_.File("k.key");
        test::WriteFile(path, body);
        return path;
    }

    test::TempDir dir_;
    TKeyX keyx_;
    std::vector<int> ran_;
    std::map<int, std::string> captions_;
    Subscription runs_;
    Subscription captionsShown_;
    ScriptedPrompter prompter_;
    const Subscription scoped_ = InstallPrompter(prompter_);
};

TEST(KeyFileLine, WritesTheSevenFields) {
    KeyBinding b = Bind(12, 70, "F", kModShift | kModCtrl | kModAlt);
    b.reserved = true;
    EXPECT_EQ(BindingLine(b), "12, 70, F, 1, 1, 1, 1");
    EXPECT_EQ(BindingLine(Bind(3, 188, ",")), "3, 188, ，, 0, 0, 0, 0");
    EXPECT_EQ(BindingLine(Bind(9, 32, "[SPACE]", kModAlt)), "9, 32, [SPACE], 0, 0, 0, 1");
}

TEST(KeyFileLine, ReadsBackWhatItWrites) {
    for (const KeyBinding& b : {Bind(0, 65, "A"), Bind(7, 112, "F1", kModCtrl), Bind(1004, 40, "↓", kModAlt | kModShift),
                                Bind(3, 188, "，")}) {
        const auto back = ParseBindingLine(BindingLine(b));
        ASSERT_TRUE(back);
        EXPECT_EQ(*back, b);
    }
}

TEST(KeyFileLine, FieldRules) {
    // Shift and Ctrl by number, Alt only as the exact text "1".
    auto b = ParseBindingLine("5, 65, A, 01, +1, 1, 01");
    ASSERT_TRUE(b);
    EXPECT_EQ(b->modifiers, kModShift | kModCtrl);
    EXPECT_TRUE(b->reserved);
    // Fewer than seven fields: the rest are empty; the name is trimmed.
    b = ParseBindingLine("5,  66 ,  B  ");
    ASSERT_TRUE(b);
    EXPECT_EQ(b->key, 66);
    EXPECT_EQ(b->name, "B");
    EXPECT_EQ(b->modifiers, 0);
    EXPECT_FALSE(b->reserved);
    // Keypad digits are kept as the main-row digits.
    b = ParseBindingLine("5, 101, 5, 0, 0, 0, 0");
    ASSERT_TRUE(b);
    EXPECT_EQ(b->key, 53);
    // A quoted name keeps its comma.
    b = ParseBindingLine("5, 188, \",\", 0, 0, 0, 0");
    ASSERT_TRUE(b);
    EXPECT_EQ(b->name, ",");
}

TEST(KeyFileLine, SkipsLinesWithoutALeadingField) {
    EXPECT_FALSE(ParseBindingLine(""));
    EXPECT_FALSE(ParseBindingLine("5 65 A"));
    EXPECT_FALSE(ParseBindingLine(", 5, 65, A"));
    EXPECT_FALSE(ParseBindingLine("x, 65, A, 0, 0, 0, 0"));
    EXPECT_FALSE(ParseBindingLine("99999999999, 65, A"));
}

TEST_F(KeyMapTest, MissingOrEmptyFileKeepsTheMap) {
    keyx_.KeyXUserKey.Add() = Bind(1, 65, "A");
    int notFound = 0;
    keyx_.OnNotFound = [&] { ++notFound; };
    EXPECT_EQ(LoadKeyFile(keyx_, dir_.File("none.key"), kHeader), KeyFileResult::NotFound);
    EXPECT_EQ(LoadKeyFile(keyx_, File(""), kHeader), KeyFileResult::NotFound);
    EXPECT_EQ(notFound, 2);
    EXPECT_EQ(keyx_.KeyXUserKey.Count(), 1);
    EXPECT_TRUE(prompter_.Questions().empty());
}

TEST_F(KeyMapTest, ForeignHeaderIsReportedAndKeepsTheMap) {
    keyx_.KeyXUserKey.Add() = Bind(1, 65, "A");
    EXPECT_EQ(LoadKeyFile(keyx_, File("#OTHER\r\n0, 66, B, 0, 0, 0, 0\r\n"), kHeader), KeyFileResult::Invalid);
    ASSERT_EQ(prompter_.Questions().size(), 1u);
    EXPECT_EQ(prompter_.Questions()[0].text, "指定されたキー設定ファイルが無効です。");
    ASSERT_EQ(keyx_.KeyXUserKey.Count(), 1);
    EXPECT_EQ(keyx_.KeyXUserKey.Get(0).name, "A");
    // The header is compared exactly (a trailing blank is another header).
    EXPECT_EQ(LoadKeyFile(keyx_, File("#TEST \r\n"), kHeader), KeyFileResult::Invalid);
}

TEST_F(KeyMapTest, HeaderOnlyGivesAnEmptyMapAndBareCaptions) {
    keyx_.KeyXUserKey.Add() = Bind(1, 65, "A");
    EXPECT_EQ(LoadKeyFile(keyx_, File("#TEST\r\n"), kHeader), KeyFileResult::Loaded);
    EXPECT_EQ(keyx_.KeyXUserKey.Count(), 0);
    EXPECT_EQ(captions_[100], "上へ\t");
    EXPECT_EQ(captions_[101], "下へ\t");
}

TEST_F(KeyMapTest, AnIdTwiceInTheTableGetsTwoBindings) {
    LoadKeyFile(keyx_, File("#TEST\r\n0, 38, ↑, 0, 0, 0, 0\r\n\r\n,junk\r\n1, 40, ↓, 0, 0, 0, 0\n"), kHeader);
    ASSERT_EQ(keyx_.KeyXUserKey.Count(), 3);
    EXPECT_EQ(keyx_.KeyXUserKey.Get(0).action, 0);
    EXPECT_EQ(keyx_.KeyXUserKey.Get(1).action, 0);
    EXPECT_EQ(keyx_.KeyXUserKey.Get(2).action, 1);
}

TEST_F(KeyMapTest, UnknownIdsAskTheTableThenDrop) {
    std::vector<int> asked;
    keyx_.OnUnknownAction = [&](int id, bool&) {
        asked.push_back(id);
        if (id == 7) keyx_.AddAction("後から", 107, 7);
    };
    int saves = 0;
    keyx_.OnSaveNeeded = [&] { ++saves; };
    LoadKeyFile(keyx_, File("#TEST\r\n7, 65, A, 0, 0, 0, 0\r\n8, 66, B, 0, 0, 0, 0\r\n"), kHeader);
    EXPECT_EQ(asked, (std::vector<int>{7, 8}));
    ASSERT_EQ(keyx_.KeyXUserKey.Count(), 1);
    EXPECT_EQ(keyx_.KeyXUserKey.Get(0).action, 7);
    EXPECT_EQ(captions_[107], "後から\tA");
    EXPECT_EQ(saves, 0);  // nobody asked for it
}

TEST_F(KeyMapTest, LookUpNeedsTheExactModifiers) {
    keyx_.KeyXUserKey.Add() = Bind(1, 'X', "X", kModShift | kModCtrl);
    keyx_.KeyXUserKey.Add() = Bind(0, 'X', "X", kModCtrl);
    keyx_.KeyXUserKey.Add() = Bind(1, 'X', "X", kModCtrl);  // never reached: the first wins
    int key = 'X';
    keyx_.LookUp(key, kModCtrl);
    EXPECT_EQ(key, 0);
    EXPECT_EQ(keyx_.handled, 1);
    EXPECT_EQ(ran_, (std::vector<int>{100}));  // the first action with id 0
    key = 'X';
    keyx_.LookUp(key, kModCtrl | kModShift);
    EXPECT_EQ(ran_.back(), 101);
    key = 'X';
    keyx_.LookUp(key, 0);
    EXPECT_EQ(key, 'X');
    EXPECT_EQ(keyx_.handled, 0);
    EXPECT_EQ(ran_.size(), 2u);
}

TEST_F(KeyMapTest, AltBindingsRaiseOnAltKeyAndUnknownIdsStillConsume) {
    int alts = 0;
    keyx_.OnAltKey = [&] { ++alts; };
    keyx_.KeyXUserKey.Add() = Bind(1, 32, "[SPACE]", kModAlt);
    keyx_.KeyXUserKey.Add() = Bind(1500, 'U', "U");
    int key = 32;
    keyx_.LookUp(key, kModAlt);
    EXPECT_EQ(alts, 1);
    key = 'U';
    keyx_.LookUp(key, 0);
    EXPECT_EQ(key, 0);
    EXPECT_EQ(keyx_.handled, 1);
    EXPECT_EQ(ran_, (std::vector<int>{101}));
    EXPECT_EQ(alts, 1);
}

TEST_F(KeyMapTest, CaptionsShowTheFirstKeyOfTheAction) {
    keyx_.KeyXUserKey.Add() = Bind(1, 112, "F1", kModAlt | kModCtrl | kModShift);
    keyx_.KeyXUserKey.Add() = Bind(1, 113, "F2");
    keyx_.KeyXUserKey.Add() = Bind(0, 38, "↑");
    EXPECT_EQ(keyx_.MenuCaption(1), "下へ\tSHIFT+CTRL+ALT+F1");
    EXPECT_EQ(keyx_.MenuCaption(0), "上へ\t↑");
    // The text after the first "]" only; a "]" that is a trail byte does not count.
    keyx_.AddAction("[a]b]c", 200, 9);
    keyx_.AddAction("ソ]x", 201, 10);  // ソ is 0x83 0x5C; "]" is 0x5D, a trail byte too
    keyx_.AddAction("\x83]x", 202, 11);
    EXPECT_EQ(keyx_.MenuCaption(3), "b]c\t");
    EXPECT_EQ(keyx_.MenuCaption(4), "x\t");
    EXPECT_EQ(keyx_.MenuCaption(5), "\x83]x\t");
    keyx_.RenameAction(1, "[新]名前");
    EXPECT_EQ(captions_[101], "名前\tSHIFT+CTRL+ALT+F1");
}

// A window redraws its menu bar once per refresh, after every caption is
// set: a redraw per item made loading a key file cost a second at start.
TEST_F(KeyMapTest, RefreshSetsEveryCaptionThenSaysSoOnce) {
    std::vector<bool> refreshingSeen;
    const Subscription seen =
        keyx_.setCaption.Connect([&](int, const std::string&) { refreshingSeen.push_back(keyx_.RefreshingCaptions()); });
    int refreshed = 0;
    std::size_t captionsAtRefresh = 0;
    const Subscription done = keyx_.captionsRefreshed.Connect([&] {
        ++refreshed;
        captionsAtRefresh = refreshingSeen.size();
    });
    const std::string file = File(std::string(kHeader) + "\r\n1, 113, F2, 0, 0, 0, 0\r\n");
    ASSERT_EQ(LoadKeyFile(keyx_, file, kHeader), KeyFileResult::Loaded);
    EXPECT_EQ(refreshed, 1);
    EXPECT_EQ(captionsAtRefresh, 3u);
    EXPECT_EQ(refreshingSeen, std::vector<bool>(3, true));
    EXPECT_FALSE(keyx_.RefreshingCaptions());
    // A single rename is not a refresh: its window redraws at once.
    keyx_.RenameAction(0, "新");
    EXPECT_EQ(refreshed, 1);
    EXPECT_FALSE(refreshingSeen.back());
}

TEST_F(KeyMapTest, SavesNamedBindingsInCrLfLines) {
    TUserKey& map = keyx_.KeyXUserKey;
    map.Add() = Bind(0, 65, "A");
    map.Add() = Bind(1, 66, "  ");
    map.Add() = Bind(1, 188, ",", kModCtrl);
    const std::string path = dir_.File("out.key");
    ASSERT_TRUE(SaveKeyFile(map, kHeader, path));
    EXPECT_EQ(test::ReadFile(path), "#TEST\r\n0, 65, A, 0, 0, 0, 0\r\n1, 188, ，, 0, 1, 0, 0\r\n");
    // And it loads back as it was, less the unnamed binding.
    LoadKeyFile(keyx_, path, kHeader);
    ASSERT_EQ(map.Count(), 3);  // id 0 is in the table twice
    EXPECT_EQ(map.Get(2), Bind(1, 188, "，", kModCtrl));
}

TEST(UserKey, EditingOperations) {
    TUserKey map;
    map.Add() = Bind(0, 65, "A");
    map.Add() = Bind(1, 66, "B");
    map.Set(0, Bind(2, 67, "C", kModAlt));
    EXPECT_EQ(map.Find(67, kModAlt), 0);
    EXPECT_EQ(map.Find(67, 0), -1);
    EXPECT_EQ(map.FindAction(1), 1);
    TUserKey copy;
    copy.Add() = Bind(9, 9, "x");
    copy.Assign(map);
    EXPECT_EQ(copy.Records(), map.Records());
    copy.Delete(0);
    copy.Delete(5);
    EXPECT_EQ(copy.Count(), 1);
    EXPECT_EQ(map.Count(), 2);
}

TEST(FilerKeyMap, UnknownIdsAreDroppedAndTheFileSavedAgain) {
    test::TempDir dir;
    TKeyX keyx;
    const std::string path = dir.File("Kestrum.Key");
    SetUpFilerKeyX(keyx, [](char) { return kDriveFixed; },
                   [&] { keyx.KeyXUserKey.Save(path, kFilerKeyHeader); });
    ASSERT_EQ(keyx.Count(), 86);
    test::WriteFile(path, std::string(kFilerKeyHeader) +
                              "\r\n500, 65, A, 0, 0, 0, 0\r\n1000, 66, B, 0, 0, 0, 0\r\n403, 68, D, 0, 1, 0, 0\r\n"
                              "0, 67, C, 0, 0, 0, 0\r\n");
    EXPECT_EQ(LoadKeyFile(keyx, path, kFilerKeyHeader), KeyFileResult::Loaded);
    // 500 is gone; the user function's binding stays though no function is
    // loaded; drive D got an action of its own.
    EXPECT_EQ(test::ReadFile(path), std::string(kFilerKeyHeader) +
                                        "\r\n1000, 66, B, 0, 0, 0, 0\r\n403, 68, D, 0, 1, 0, 0\r\n"
                                        "0, 67, C, 0, 0, 0, 0\r\n");
    const int d = keyx.IndexOfId(403);
    ASSERT_GE(d, 86);
    EXPECT_EQ(keyx.Name(d), "[ドライブ移動]D:" + std::string(22, ' '));
    EXPECT_EQ(keyx.Command(d), 403);
    EXPECT_EQ(keyx.Command(keyx.IndexOfId(55)), 55);
}

TEST(FilerKeyMap, UserFunctionBindingsAloneNeverRewriteTheFile) {
    test::TempDir dir;
    TKeyX keyx;
    int saves = 0;
    SetUpFilerKeyX(keyx, nullptr, [&] { ++saves; });
    const std::string path = dir.File("k.key");
    test::WriteFile(path, std::string(kFilerKeyHeader) + "\r\n1999, 66, B, 0, 0, 0, 0\r\n2000, 65, A, 0, 0, 0, 0\r\n");
    LoadKeyFile(keyx, path, kFilerKeyHeader, true);  // a preview: the id 2000 line asks for a save
    EXPECT_EQ(saves, 0);
    ASSERT_EQ(keyx.KeyXUserKey.Count(), 1);
    EXPECT_EQ(keyx.KeyXUserKey.Get(0).action, 1999);
    LoadKeyFile(keyx, path, kFilerKeyHeader);
    EXPECT_EQ(saves, 1);
}

TEST(FilerKeyMap, MissingFileMessage) {
    ScriptedPrompter prompter;
    const Subscription scoped = InstallPrompter(prompter);
    TKeyX keyx;
    SetUpFilerKeyX(keyx, nullptr, nullptr);
    test::TempDir dir;
    LoadKeyFile(keyx, dir.File("none.key"), kFilerKeyHeader);
    ASSERT_EQ(prompter.Questions().size(), 1u);
    EXPECT_EQ(prompter.Questions()[0].text, "指定されたキー設定ファイルが見つかりません。");
}

TEST(OtherKeyMaps, TablesAndUnknownIds) {
    TKeyX edit;
    SetUpEditKeyX(edit, 300);
    ASSERT_EQ(edit.Count(), 15);
    EXPECT_EQ(edit.Name(0), "ファイル名自動補充");
    EXPECT_EQ(edit.Name(14), "カーソルを右に移動");
    EXPECT_EQ(edit.Command(14), 314);
    TKeyX viewer;
    SetUpViewerKeyX(viewer, 0);
    ASSERT_EQ(viewer.Count(), 18);
    EXPECT_EQ(viewer.Name(8), "[カーソル移動]上へ");
    EXPECT_EQ(viewer.Name(17), "動作設定(&E)");
    EXPECT_EQ(viewer.MenuCaption(15), "表示する\t");

    // The viewer never saves because of unknown lines, nor does the line input.
    test::TempDir dir;
    const std::string path = dir.File("k.tvk");
    test::WriteFile(path, std::string(kViewerKeyHeader) + "\r\n40, 65, A, 0, 0, 0, 0\r\n3, 67, C, 0, 1, 0, 0\r\n");
    int saves = 0;
    viewer.OnSaveNeeded = [&] { ++saves; };
    edit.OnSaveNeeded = [&] { ++saves; };
    LoadKeyFile(viewer, path, kViewerKeyHeader);
    EXPECT_EQ(viewer.KeyXUserKey.Count(), 1);
    test::WriteFile(path, std::string(kEditKeyHeader) + "\r\n40, 65, A, 0, 0, 0, 0\r\n");
    LoadKeyFile(edit, path, kEditKeyHeader);
    EXPECT_EQ(edit.KeyXUserKey.Count(), 0);
    EXPECT_EQ(saves, 0);
}

TEST(OtherKeyMaps, FilesAndMessagesFollowTheSettingsFile) {
    EXPECT_EQ(FilerKeyFilePath("Kestrum.Key", "C:\\K\\"), "C:\\K\\Kestrum.Key");
    EXPECT_EQ(FilerKeyFilePath("D:\\keys\\my.key", "C:\\K\\"), "D:\\keys\\my.key");
    EXPECT_EQ(EditKeyFilePath("Kestrum.Cfg", "C:\\K\\"), "C:\\K\\Kestrum.WK");
    EXPECT_EQ(ViewerKeyFilePath("E:\\cfg\\my.cfg", "C:\\K\\"), "E:\\cfg\\my.TVK");
    EXPECT_EQ(EditKeyNotFoundText("E:\\cfg\\my.cfg", "C:\\K\\"), "E:\\cfg\\my.WKファイルが見つかりません。");
    EXPECT_EQ(ViewerKeyNotFoundText("my.cfg", "C:\\K\\"), "C:\\K\\my.tvkファイルが見つかりません。");
}

TEST(KeyCapture, NamesOfCapturedKeys) {
    const struct {
        int key;
        unsigned ch;
        const char* name;
    } rows[] = {
        {8, 8, "BS"},       {13, 13, "RETURN"}, {27, 27, ""},      {32, ' ', "[SPACE]"}, {35, 0, "END"},
        {36, 0, "HOME"},    {38, 0, "↑"},      {40, 0, "↓"},     {45, 0, "INS"},       {46, 0, "DEL"},
        {112, 0, "F1"},     {126, 0, "F15"},    {65, 'A', "A"},    {188, ',', "，"},     {53, '5', "5"},
        {37, 0, ""},        {9, 9, ""},         {186, ':', ":"},
    };
    for (const auto& r : rows) EXPECT_EQ(CapturedKeyName(r.key, r.ch), r.name) << r.key;
}

TEST(KeyCapture, UpdateStep) {
    TUserKey map;
    map.Add() = Bind(1, 65, "A", kModCtrl);
    // Found with an action: the record changes in place, keeping its flag.
    KeyBinding flagged = map.Get(0);
    flagged.reserved = true;
    map.Set(0, flagged);
    UpdateBinding(map, 65, "A", kModCtrl, 4);
    ASSERT_EQ(map.Count(), 1);
    EXPECT_EQ(map.Get(0).action, 4);
    EXPECT_TRUE(map.Get(0).reserved);
    // Not found: appended; with "なし" nothing happens.
    UpdateBinding(map, 65, "A", 0, 2);
    UpdateBinding(map, 66, "B", 0, std::nullopt);
    ASSERT_EQ(map.Count(), 2);
    EXPECT_EQ(map.Get(1), Bind(2, 65, "A"));
    // Found with "なし": deleted.
    UpdateBinding(map, 65, "A", kModCtrl, std::nullopt);
    ASSERT_EQ(map.Count(), 1);
    EXPECT_EQ(map.Get(0).modifiers, 0);
}

}  // namespace
}  // namespace kestrum
