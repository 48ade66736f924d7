// End to end: Kestrum.exe started with its own settings file, driven by
// kdrive.exe, and the settings file it leaves behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "config/profile.h"
#include "tests/e2e/drive.h"
#include "tests/test_util.h"

namespace kestrum {
namespace {

using test::Drive;
using test::DriveResult;
using test::Section;

std::vector<std::string> Keys(const std::vector<std::string>& lines) {
    std::vector<std::string> keys;
    for (const std::string& l : lines) keys.push_back(l.substr(0, l.find('=')));
    return keys;
}

class EndToEndTest : public testing::Test {
protected:
    // The key files named like the settings file sit beside it.
    void SetUp() override {
        test::WriteFile(dir_.File("my.WK"), "#ＫＥＳＴＲＵＭ Ｗキー設定ファイル\r\n");
        test::WriteFile(dir_.File("my.TVK"), "#ＫＥＳＴＲＵＭ TVキー設定ファイル\r\n");
    }
    std::string Cfg() const { return dir_.File("my.cfg"); }
    test::TempDir dir_;
};

TEST_F(EndToEndTest, ClosingWritesStateAndKeepsEverythingElse) {
    test::WriteFile(Cfg(),
                    "; 私の設定\r\n"
                    "[MYSECTION]\r\nfoo=bar ; kept\r\n[END]\r\n"
                    "[環境変数]\r\nFILERAUTO, 0\r\nHOMEDIR, " + dir_.Path() + "\r\n[END]\r\n"
                    "[DIRHISTORY]\r\nC:\\WINDOWS\\\r\nC:\\表\\\r\n[END]\r\n"
                    "[EXEHISTORY]\r\nls *.txt\r\nver\r\n[END]\r\n");
    const DriveResult r = Drive(dir_, {"start Kestrum.exe \"" + Cfg() + "\"", "wait-window TfrmMain",
                                       "expect-hidden TfrmFM", "close"});
    ASSERT_EQ(r.code, 0u) << r.output;

    const std::vector<std::string> lines = test::CrLfLines(test::ReadFile(Cfg()));
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], "; 私の設定");
    EXPECT_EQ(lines[1], "[MYSECTION]");
    EXPECT_EQ(lines[2], "foo=bar ; kept");
    const std::vector<std::string> env = Section(lines, "[環境変数]");
    EXPECT_NE(std::find(env.begin(), env.end(), "MenuBar, 1"), env.end());
    // The home directory became current and leads the directory history.
    const std::vector<std::string> dirs = Section(lines, "[DIRHISTORY]");
    ASSERT_EQ(dirs.size(), 3u);
    EXPECT_TRUE(dirs[0].find("KESTRUM-TEST-") != std::string::npos) << dirs[0];  // values load upper-case
    EXPECT_EQ(dirs[1], "C:\\WINDOWS\\");
    EXPECT_EQ(dirs[2], "C:\\表\\");
    EXPECT_EQ(Section(lines, "[EXEHISTORY]"), (std::vector<std::string>{"ls *.txt", "ver"}));
    EXPECT_EQ(Keys(Section(lines, "[FORM_LS]")),
              (std::vector<std::string>{"Top", "Left", "Height", "Width", "FontName", "FontSize", "FontStyle",
                                        "FontName2", "FontSize2", "FontStyle2", "FontName3", "FontSize3",
                                        "FontStyle3", "FontName4", "FontSize4", "FontStyle4", "ddTop", "ddLeft",
                                        "ddHeight", "ddWidth", "dsLeft", "ISWSMAX", "weTop", "weLeft", "weHeight",
                                        "weWidth", "hhTop", "hhLeft", "hhHeight", "hhWidth", "mTop", "mLeft",
                                        "mHeight", "mWidth", "e1FontName", "e1FontSize", "e1FontStyle"}));
    EXPECT_EQ(Keys(Section(lines, "[LVIEW]")).size(), 7u);
    EXPECT_EQ(Keys(Section(lines, "[TVIEW]")).size(), 10u);
    // Geometry written is geometry read: a second run writes the same values.
    const std::string first = test::ReadFile(Cfg());
    const DriveResult again = Drive(dir_, {"start Kestrum.exe \"" + Cfg() + "\"", "wait-window TfrmMain", "close"});
    ASSERT_EQ(again.code, 0u) << again.output;
    EXPECT_EQ(test::ReadFile(Cfg()), first);
}

TEST_F(EndToEndTest, TypedCommandRunsAndEntersTheHistory) {
    test::WriteFile(Cfg(), "[環境変数]\r\nFILERAUTO, 0\r\n[END]\r\n");
    const DriveResult r = Drive(dir_, {"start Kestrum.exe \"" + Cfg() + "\"", "wait-window TfrmMain",
                                       "focus TfrmMain", "type ls", "key RETURN", "wait-window TfrmFM",
                                       "caption TfrmFM", "close"});
    ASSERT_EQ(r.code, 0u) << r.output;
    EXPECT_NE(r.output.find("\\*.* - Kestrum ﾌｧｲﾗｰ"), std::string::npos) << r.output;
    const std::vector<std::string> lines = test::CrLfLines(test::ReadFile(Cfg()));
    EXPECT_EQ(Section(lines, "[EXEHISTORY]"), (std::vector<std::string>{"ls"}));
}

TEST_F(EndToEndTest, FilerAutoWithoutMenuBar) {
    test::WriteFile(Cfg(), "[環境変数]\r\nFILERAUTO, 1\r\nMENUBAR, 0\r\n[END]\r\n");
    const DriveResult r = Drive(dir_, {"start Kestrum.exe \"" + Cfg() + "\"", "wait-window TfrmFM",
                                       "find-window TfrmMain", "sleep 300", "expect-menu TfrmMain off", "close"});
    ASSERT_EQ(r.code, 0u) << r.output;
    const std::vector<std::string> env = Section(test::CrLfLines(test::ReadFile(Cfg())), "[環境変数]");
    EXPECT_NE(std::find(env.begin(), env.end(), "MenuBar, 0"), env.end());
}

TEST_F(EndToEndTest, RenamedCommandsStillWorkFromTheMenus) {
    test::WriteFile(Cfg(), "[内部コマンド]\r\n\r\nFILER\r\n[END]\r\n[環境変数]\r\nFILERAUTO, 0\r\n[END]\r\n");
    const DriveResult r = Drive(dir_, {"start Kestrum.exe \"" + Cfg() + "\"", "wait-window TfrmMain",
                                       "sysmenu TfrmMain 512", "wait-window TfrmFM", "close"});
    ASSERT_EQ(r.code, 0u) << r.output;
}

}  // namespace
}  // namespace kestrum

namespace kestrum {
namespace {

TEST_F(EndToEndTest, AliasTypedInTheShellIsSavedAndShownNextTime) {
    test::WriteFile(Cfg(), "[環境変数]\r\nFILERAUTO, 0\r\n[END]\r\n");
    DriveResult r = Drive(dir_, {"start Kestrum.exe \"" + Cfg() + "\"", "wait-window TfrmMain", "focus TfrmMain",
                                 "type \"ALIAS x,notepad /$C,C:\\TEMP\"", "key RETURN", "expect-text TfrmMain \"\"",
                                 "close"});
    ASSERT_EQ(r.code, 0u) << r.output;
    const std::vector<std::string> lines = test::CrLfLines(test::ReadFile(Cfg()));
    EXPECT_EQ(Section(lines, "[ALIAS]"), (std::vector<std::string>{"x,notepad /$C,C:\\TEMP"}));
    EXPECT_EQ(Section(lines, "[EXEHISTORY]"), (std::vector<std::string>{"ALIAS x,notepad /$C,C:\\TEMP"}));

    r = Drive(dir_, {"start Kestrum.exe \"" + Cfg() + "\"", "wait-window TfrmMain", "focus TfrmMain",
                     "type \"ALIAS x\"", "key RETURN", "wait-window #32770", "expect-caption #32770 \"Kestrum Alias\"",
                     "press #32770 1", "wait-gone #32770", "close"});
    ASSERT_EQ(r.code, 0u) << r.output;
}

}  // namespace
}  // namespace kestrum

namespace kestrum {
namespace {

TEST_F(EndToEndTest, CommandRenamedInTheSettingsDialogTakesEffectAtOnce) {
    test::WriteFile(Cfg(), "[環境変数]\r\nFILERAUTO, 0\r\n[END]\r\n");
    const std::string there = dir_.File("there");
    const std::string elsewhere = dir_.File("elsewhere");
    CreateDirectoryA(there.c_str(), nullptr);
    CreateDirectoryA(elsewhere.c_str(), nullptr);
    // Menu entry "動作設定(&E)" (id 115); the dialog opens on "Main" with
    // the name of command 0 selected.
    const DriveResult r = Drive(dir_, {"start Kestrum.exe \"" + Cfg() + "\"", "wait-window TfrmMain",
                                       "menu TfrmMain 115", "wait-window TcfgForm", "expect-text TcfgForm CD",
                                       "type chdir", "press TcfgForm 1", "wait-gone TcfgForm", "focus TfrmMain",
                                       "type \"CHDIR " + there + "\"", "key RETURN", "expect-text TfrmMain \"\"",
                                       "type \"CD " + elsewhere + "\"", "key RETURN", "sleep 500", "close"});
    ASSERT_EQ(r.code, 0u) << r.output;
    const std::vector<std::string> lines = test::CrLfLines(test::ReadFile(Cfg()));
    const std::vector<std::string> names = Section(lines, "[内部コマンド]");
    ASSERT_EQ(names.size(), 42u);
    EXPECT_EQ(names[0], "CHDIR");
    EXPECT_EQ(names[1], "LS");
    // CHDIR changed the directory; CD was taken for a program and left it.
    const std::vector<std::string> dirs = Section(lines, "[DIRHISTORY]");
    ASSERT_FALSE(dirs.empty());
    auto upper = [](std::string s) {
        CharUpperA(s.data());
        return s;
    };
    EXPECT_EQ(upper(dirs[0]), upper(there + "\\"));
    for (const std::string& d : dirs) EXPECT_EQ(upper(d).find("ELSEWHERE"), std::string::npos) << d;
}

}  // namespace
}  // namespace kestrum

namespace kestrum {
namespace {

// File commands and the filer's copy key in the running program.
TEST_F(EndToEndTest, FileCommandsAndTheFilersCopyKey) {
    const std::string src = dir_.File("src");
    const std::string dest = dir_.File("dest");
    const std::string backup = dir_.File("backup");
    CreateDirectoryA(src.c_str(), nullptr);
    CreateDirectoryA(dest.c_str(), nullptr);
    CreateDirectoryA(backup.c_str(), nullptr);
    test::WriteFile(src + "\\a.txt", "alpha");
    test::WriteFile(src + "\\b.txt", "beta");
    test::WriteFile(src + "\\my notes.txt", "notes");
    test::WriteFile(Cfg(), "[環境変数]\r\nFILERAUTO, 0\r\nHOMEDIR, " + src + "\r\n[END]\r\n");

    // CP with a blank in the file name, then REN with wildcards.
    DriveResult r = Drive(dir_, {"start Kestrum.exe \"" + Cfg() + "\"", "wait-window TfrmMain", "focus TfrmMain",
                                 "type \"CP my notes.txt " + backup + "\"", "key RETURN", "sleep 500",
                                 "type \"REN *.TXT *.BAK\"", "key RETURN", "sleep 500", "close"});
    ASSERT_EQ(r.code, 0u) << r.output;
    EXPECT_EQ(test::ReadFile(backup + "\\my notes.txt"), "notes");
    EXPECT_EQ(test::ReadFile(src + "\\a.BAK"), "alpha");
    EXPECT_EQ(test::ReadFile(src + "\\b.BAK"), "beta");
    EXPECT_EQ(GetFileAttributesA((src + "\\a.txt").c_str()), INVALID_FILE_ATTRIBUTES);

    // In the filer: Home marks every file, C asks for the destination.
    r = Drive(dir_, {"start Kestrum.exe \"" + Cfg() + "\"", "wait-window TfrmMain", "focus TfrmMain", "type ls",
                     "key RETURN", "wait-window TfrmFM", "focus TfrmFM", "key HOME", "key C", "wait-window TfrmEdit",
                     "type \"" + dest + "\"", "key RETURN", "wait-gone TfrmEdit", "sleep 800", "close"});
    ASSERT_EQ(r.code, 0u) << r.output;
    EXPECT_EQ(test::ReadFile(dest + "\\a.BAK"), "alpha");
    EXPECT_EQ(test::ReadFile(dest + "\\b.BAK"), "beta");
    EXPECT_EQ(test::ReadFile(dest + "\\my notes.BAK"), "notes");
    EXPECT_EQ(test::ReadFile(src + "\\a.BAK"), "alpha");  // a copy leaves the sources
}

}  // namespace
}  // namespace kestrum
