// Saving the settings, key and colour files under Windows' sharing rules:
// another program holding a file open must never cost the user its old
// contents, and a file that could not be read is never written over.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/handles_win.h"
#include "common/prompter.h"
#include "config/colors_win.h"
#include "config/key_files_win.h"
#include "config/session.h"
#include "config/settings_file.h"
#include "tests/fakes/scripted_prompter.h"
#include "tests/test_util.h"

namespace kestrum {
namespace {

// Another program holding the file open with the given sharing.
FileHandle Hold(const std::string& path, DWORD share) {
    return FileHandle(
        CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}
constexpr DWORD kNoSharing = 0;
constexpr DWORD kNoDelete = FILE_SHARE_READ | FILE_SHARE_WRITE;

const char kSettings[] = "; 私の設定\r\n[ALIAS]\r\nls,dir\r\n[END]\r\n[MYSECTION]\r\nk=v\r\n[END]\r\n";

class FileSafetyTest : public testing::Test {
protected:
    void SetUp() override {
        TheSession() = Session();
        TheSession().programDir = dir_.Path() + "\\";
        TheSession().settingsPath = dir_.File("Kestrum.Cfg");
        TheSession().settings.keyCustomFile = "Kestrum.Key";
        TheSession().settings.colorCustomFile = "Kestrum.Col";
        TheColors().Reset();
        FilerKeyX().KeyXUserKey.Clear();
        FilerKeyX().unreadableFile.clear();
    }
    void TearDown() override {
        TheColors().Reset();
        FilerKeyX().KeyXUserKey.Clear();
        FilerKeyX().unreadableFile.clear();
        TheSession() = Session();
    }
    std::vector<std::string> Messages() const {
        std::vector<std::string> m;
        for (const auto& q : prompter_.Questions()) m.push_back(q.text);
        return m;
    }

    test::TempDir dir_;
    ScriptedPrompter prompter_;
    const Subscription scoped_ = InstallPrompter(prompter_);
};

TEST_F(FileSafetyTest, AReplaceThatFailsKeepsTheOldFileAndSaysSo) {
    const std::string path = TheSession().settingsPath;
    test::WriteFile(path, kSettings);
    // The file written beside it cannot be moved into place while another
    // program holds it: the old file must still be there afterwards.
    {
        FileHandle held = Hold(SaveTempPath(path), kNoDelete);
        ASSERT_TRUE(held);
        TSettingsFile f(path);
        f.WriteListSection("ALIAS", {"new,x"});
        EXPECT_FALSE(f.SaveOrSay());
    }
    EXPECT_EQ(test::ReadFile(path), kSettings);
    EXPECT_EQ(Messages(), std::vector<std::string>{"設定ファイルに書き込めません。\r\n" + path});
    // The same for a key file held open without delete sharing.
    const std::string keys = dir_.File("Kestrum.Key");
    const std::string keyText = std::string(kFilerKeyHeader) + "\r\n0, 65, A, 0, 0, 0, 0\r\n";
    test::WriteFile(keys, keyText);
    {
        FileHandle held = Hold(keys, kNoDelete);
        ASSERT_TRUE(held);
        EXPECT_FALSE(SaveFilerKeyFile());
    }
    EXPECT_EQ(test::ReadFile(keys), keyText);
    EXPECT_EQ(Messages().back(), "キー設定ファイルに書き込めません。\r\n" + keys);
    // Once nothing holds them, the saves go through and leave no temporary file.
    TSettingsFile f(path);
    f.WriteListSection("ALIAS", {"new,x"});
    EXPECT_TRUE(f.SaveOrSay());
    EXPECT_EQ(test::ReadFile(path), "; 私の設定\r\n[ALIAS]\r\nnew,x\r\n[END]\r\n[MYSECTION]\r\nk=v\r\n[END]\r\n");
    EXPECT_EQ(GetFileAttributesA(SaveTempPath(path).c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(Messages().size(), 2u);
}

TEST_F(FileSafetyTest, SettingsFileThatCouldNotBeReadIsNeverWritten) {
    const std::string path = TheSession().settingsPath;
    test::WriteFile(path, kSettings);
    std::optional<TSettingsFile> f;
    {
        FileHandle locked = Hold(path, kNoSharing);
        ASSERT_TRUE(locked);
        f.emplace(path);
    }
    // Unlocked by now, but what was read is not what the file holds.
    EXPECT_EQ(f->State(), FileState::Unreadable);
    f->WriteLine("[環境変数]", "MENUBAR", "MenuBar, 0");
    EXPECT_FALSE(f->SaveOrSay());
    EXPECT_EQ(test::ReadFile(path), kSettings);
    EXPECT_EQ(Messages(), std::vector<std::string>{"設定ファイルを読み込めないため、書き込みませんでした。\r\n" + path});
}

TEST_F(FileSafetyTest, KeyFileThatCouldNotBeReadIsNeverWritten) {
    const std::string path = dir_.File("Kestrum.Key");
    const std::string text = std::string(kFilerKeyHeader) + "\r\n0, 65, A, 0, 0, 0, 0\r\n1, 66, B, 0, 0, 0, 0\r\n";
    test::WriteFile(path, text);
    {
        FileHandle locked = Hold(path, kNoSharing);
        ASSERT_TRUE(locked);
        LoadFilerKeyFile("Kestrum.Key", false);
    }
    EXPECT_EQ(Messages(), std::vector<std::string>{"指定されたキー設定ファイルが見つかりません。"});
    // The customisation dialog's save, or a load that asks for one.
    EXPECT_FALSE(SaveFilerKeyFile());
    EXPECT_EQ(test::ReadFile(path), text);
    ASSERT_EQ(Messages().size(), 2u);
    EXPECT_EQ(Messages()[1], "キー設定ファイルを読み込めないため、書き込みませんでした。\r\n" + path);
    // Read again, the map is the file's and may be written back.
    LoadFilerKeyFile("Kestrum.Key", false);
    EXPECT_EQ(FilerKeyX().KeyXUserKey.Count(), 2);
    EXPECT_TRUE(SaveFilerKeyFile());
    EXPECT_EQ(test::ReadFile(path), text);
    EXPECT_EQ(Messages().size(), 2u);
}

TEST_F(FileSafetyTest, ColourFileThatCannotBeReadIsNeverWritten) {
    const std::string path = dir_.File("Kestrum.Col");
    const std::string text = std::string(kColorFileHeader) + "\r\n22,111\r\n";
    test::WriteFile(path, text);
    {
        FileHandle locked = Hold(path, kNoSharing);
        ASSERT_TRUE(locked);
        EXPECT_FALSE(LoadColorFile());
    }
    SetColor(kColShellForm, 222);  // the user changes a colour afterwards
    EXPECT_FALSE(SaveColorFileAtClose());
    EXPECT_EQ(test::ReadFile(path), text);
    ASSERT_EQ(Messages().size(), 2u);
    EXPECT_EQ(Messages()[1], "色設定ファイルを読み込めないため、書き込みませんでした。\r\n" + path);

    // Loaded well, then locked by another program at the save: refused too.
    ASSERT_TRUE(LoadColorFile());
    SetColor(kColShellForm, 333);
    {
        FileHandle locked = Hold(path, kNoSharing);
        ASSERT_TRUE(locked);
        EXPECT_FALSE(SaveColorFile());
    }
    EXPECT_EQ(test::ReadFile(path), text);
    EXPECT_EQ(Messages().size(), 3u);
    EXPECT_TRUE(SaveColorFile());
    EXPECT_NE(test::ReadFile(path).find("\r\n22,333\r\n"), std::string::npos);
}

}  // namespace
}  // namespace kestrum
