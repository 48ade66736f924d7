// The shell's file commands against a recording file host: cutting the two
// names, the wildcard rename mapping, usage and refusal messages, and which
// operation each command hands to the platform.
#include "shell/file_commands.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "common/prompter.h"
#include "common/sjis.h"
#include "config/services.h"
#include "config/settings_loader.h"
#include "shell/interpreter.h"
#include "tests/fakes/scripted_prompter.h"
#include "tests/shell/fake_hosts.h"

namespace kestrum {
namespace {

using test::FakeFiles;

TEST(SplitTwoNames, FirstNameMayHoldBlanks) {
    const std::set<std::string> existing = {"my notes.txt", "a b c"};
    auto exists = [&](const std::string& p) { return existing.count(p) > 0; };
    using P = std::pair<std::string, std::string>;
    EXPECT_EQ(SplitTwoNames("a.txt", exists), P("a.txt", ""));
    EXPECT_EQ(SplitTwoNames("my notes.txt D:\\BACKUP", exists), P("my notes.txt", "D:\\BACKUP"));
    // The longest existing prefix wins, tried from the last blank.
    EXPECT_EQ(SplitTwoNames("a b c d e", exists), P("a b c", "d e"));
    // Nothing exists: the first blank; the names are trimmed.
    EXPECT_EQ(SplitTwoNames("x y  z ", exists), P("x", "y  z"));
    // The first blank itself is never tried against the disk.
    EXPECT_EQ(SplitTwoNames("my notes.txt", exists), P("my", "notes.txt"));
}

TEST(MapWildName, ClassicNameAndExtensionMapping) {
    EXPECT_EQ(MapWildName("A.TXT", "*.BAK"), "A.BAK");
    EXPECT_EQ(MapWildName("readme.txt", "*.?"), "readme.t");
    EXPECT_EQ(MapWildName("a.b.txt", "*.*.OLD"), "a.b.OLD");
    EXPECT_EQ(MapWildName("abc.txt", "x?z.*"), "xbz.txt");
    EXPECT_EQ(MapWildName("MAKEFILE", "*.BAK"), "MAKEFILE.BAK");
    // "?" past the end of the name stays, and the result is refused.
    EXPECT_EQ(MapWildName("A", "??"), std::nullopt);
    EXPECT_EQ(MapWildName("A.TXT", "*.????"), std::nullopt);
    // Positions count characters: the "?" takes the whole double-byte one.
    EXPECT_EQ(MapWildName("表ソ.txt", "?X.*"), "表X.txt");
}

// Only what the file commands need of the shell host.
class QuietHost : public ShellHost {
public:
    bool Exists(const std::string&) override { return false; }
    std::string FullPath(const std::string& p) override { return p.size() > 1 && p[1] == ':' ? p : "C:\\WORK\\" + p; }
    std::string ShortPath(const std::string& p) override { return p; }
    long long StartFile(const std::string&, const std::string&, const std::string&, const std::string&) override {
        return 42;
    }
    bool OpenWithPlatform(const std::string&) override { return false; }
    void StartAndWait(const std::string&, const std::string&, const std::string&) override {}
    void Sleep(int) override {}
    LocalDate Today() override { return {2026, 12, 8, 9}; }
    bool ChangeDirectory(const std::string&) override { return true; }
    bool ShellShowing() override { return true; }
    void ShowVersion() override {}
    void ShowHelp(int) override {}
    void SetStatus(const std::string&) override {}
    void MenuOn() override {}
    void MenuOff() override {}
    void Exit() override {}
    void HideAfterStart() override {}
    bool ReloadConfiguration() override { return true; }
};

// The filer, counting how often it is asked to list again.
class RefreshCounter : public FilerService {
public:
    int refreshes = 0;
    void RefreshListing() override { ++refreshes; }
};

class FileCommandTest : public testing::Test {
protected:
    void SetUp() override {
        LoadSettingsLines({}, state_.settings, state_.lists);
        state_.currentDir = "C:\\WORK\\";
        state_.programDir = "C:\\K\\";
        interp_.SetFileHost(&files_);
    }
    std::vector<std::string> Messages() const {
        std::vector<std::string> out;
        for (const auto& q : prompter_.Questions()) out.push_back(q.text);
        return out;
    }

    Session state_;
    QuietHost host_;
    RefreshCounter filer_;
    const Subscription filerInstalled_ = InstallService<FilerService>(filer_);
    FakeFiles files_;
    Interpreter interp_{state_, host_};
    ScriptedPrompter prompter_;
    const Subscription scope_ = InstallPrompter(prompter_);
};

TEST_F(FileCommandTest, CopyMoveAndBackUpCutTheirNames) {
    files_.entries["MY NOTES.TXT"] = false;
    interp_.Execute_t("CP my notes.txt D:\\BACKUP");
    interp_.Execute_t("MV my notes.txt D:\\OLD");
    interp_.Execute_t("BP a.txt a.bak");
    EXPECT_EQ(files_.calls, (std::vector<std::string>{"copy C:\\WORK\\my notes.txt| -> D:\\BACKUP",
                                                      "move C:\\WORK\\my notes.txt| -> D:\\OLD",
                                                      "copypath a.txt -> a.bak"}));
    EXPECT_EQ(filer_.refreshes, 3);
    // One name only: the usage, under the command's current name.
    interp_.Execute_t("CP lonely.txt");
    ASSERT_FALSE(Messages().empty());
    EXPECT_EQ(Messages().back(), "Usage CP FileName Dir:ファイルをDirにコピーします");
    EXPECT_EQ(files_.calls.size(), 3u);
}

TEST_F(FileCommandTest, DeletionUsesFullPaths) {
    interp_.Execute_t("RM *.TXT");
    interp_.Execute_t("DELETE old.log");
    EXPECT_EQ(files_.calls, (std::vector<std::string>{"recycle C:\\WORK\\*.TXT|", "erase C:\\WORK\\old.log|"}));
    interp_.Execute_t("RM");
    EXPECT_EQ(Messages().back(), "Usage RM FileName\r\nファイルをごみ箱に移動します");
}

TEST_F(FileCommandTest, RenameWithWildcardsNeverOverwrites) {
    files_.entries = {{"A.TXT", false}, {"B.TXT", false}, {"C.DOC", false}, {"SUB.TXT", true}, {"B.BAK", false}};
    interp_.Execute_t("REN *.TXT *.BAK");
    // A directory is left alone when the new pattern has wildcards; B.BAK
    // exists already, so B.TXT is reported and kept.
    EXPECT_EQ(files_.calls, (std::vector<std::string>{"ren A.TXT -> A.BAK", "ren B.TXT -> B.BAK"}));
    EXPECT_EQ(Messages(), (std::vector<std::string>{"リネームに失敗しました ->B.TXT"}));
}

TEST_F(FileCommandTest, RenameRefusesBadResults) {
    files_.entries = {{"A", false}, {"B", false}};
    interp_.Execute_t("REN * ??");
    EXPECT_TRUE(files_.calls.empty());
    EXPECT_EQ(Messages(), (std::vector<std::string>{"無効なファイル名です", "リネームを中断しました"}));
    prompter_.Clear();
    files_.entries = {{"A.TXT", false}};
    interp_.Execute_t("REN A.TXT B<C.TXT");
    EXPECT_TRUE(files_.calls.empty());
    EXPECT_EQ(Messages(), (std::vector<std::string>{"\\ / : * ? \" < >  |はファイル名として使えません"}));
}

TEST_F(FileCommandTest, RenameWorksInThePatternsDirectory) {
    files_.entries = {{"X.TXT", false}};
    interp_.Execute_t("REN D:\\OTHER\\*.TXT *.BAK");
    EXPECT_EQ(files_.calls, (std::vector<std::string>{"ren D:\\OTHER\\X.TXT -> D:\\OTHER\\X.BAK"}));
}

TEST_F(FileCommandTest, MarkedRenameNeedsMarksAndBothPatterns) {
    interp_.Execute_t("MREN *.TXT *.BAK");
    EXPECT_EQ(Messages().back(), "ファイルがマークされていません。");
    interp_.Execute_t("MREN *.TXT");
    EXPECT_EQ(Messages().back(), "Usage MREN OldName NewName\r\nファイル名変更。ワイルドカードの対象をマークファイルに限定");
    files_.marked = {"A.TXT", "B.DOC"};
    interp_.Execute_t("MREN *.TXT *.BAK");
    EXPECT_EQ(files_.calls, (std::vector<std::string>{"ren C:\\WORK\\A.TXT -> C:\\WORK\\A.BAK"}));
}

TEST_F(FileCommandTest, SplitRefusesBadSizes) {
    for (const char* bad : {"SPLIT", "SPLIT a.bin", "SPLIT a.bin,0", "SPLIT a.bin,-5", "SPLIT a.bin,5x", "SPLIT ,5"}) {
        prompter_.Clear();
        interp_.Execute_t(bad);
        EXPECT_EQ(Messages(), (std::vector<std::string>{"文法が違います"})) << bad;
    }
    EXPECT_TRUE(files_.calls.empty());
    interp_.Execute_t("SPLIT a.bin,5");
    interp_.Execute_t("SPLIT a.bin,1440000,D:\\PIECES");
    EXPECT_EQ(files_.calls,
              (std::vector<std::string>{"split a.bin,5,C:\\WORK\\", "split a.bin,1440000,D:\\PIECES"}));
}

TEST_F(FileCommandTest, DirectoriesAndTheRest) {
    interp_.Execute_t("MKDIR new");
    interp_.Execute_t("MKDIR BAD");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"ディレクトリの作成に失敗しました。"}));
    EXPECT_EQ(filer_.refreshes, 1);  // only after success
    interp_.Execute_t("REMOVEDIR old");
    interp_.Execute_t("EJECT E:");
    interp_.Execute_t("COMBINE x");
    EXPECT_EQ(files_.calls, (std::vector<std::string>{"mkdir new", "mkdir BAD", "rmtree old", "eject E:"}));
    EXPECT_EQ(Messages()[1], "まだ作っていません(__)");
}

// The archiver commands hand the text after the command word to the
// archive subsystem and refresh the filer; DLHA and DTAR bring up a window.
TEST_F(FileCommandTest, ArchiverCommandsGoToTheArchives) {
    struct Archives : ArchiveService {
        std::vector<std::string> calls;
        bool RunLibraryCommand(int command, const std::string& text) override {
            calls.push_back(std::to_string(command) + ":" + text);
            return true;
        }
    } archives;
    const Subscription installed = InstallService<ArchiveService>(archives);
    const int refreshes = filer_.refreshes;
    EXPECT_EQ(interp_.Execute_t("DLHA l a.lzh"), rrWindow);
    EXPECT_EQ(interp_.Execute_t("DTAR tvf \"my a.tar\""), rrWindow);
    EXPECT_EQ(interp_.Execute_t("DISH a.ish /f=C:\\o"), rrInternal);
    EXPECT_EQ(interp_.Execute_t("LZH2EXE a.lzh"), rrInternal);
    EXPECT_EQ(archives.calls, (std::vector<std::string>{std::to_string(cmdDLHA) + ":l a.lzh",
                                                        std::to_string(cmdDTAR) + ":tvf \"my a.tar\"",
                                                        std::to_string(cmdDISH) + ":a.ish /f=C:\\o",
                                                        std::to_string(cmdLZH2EXE) + ":a.lzh"}));
    EXPECT_EQ(filer_.refreshes, refreshes + 4);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(FileCommandTest, WallpaperFromOtherFormatsAndOtherDrives) {
    interp_.Execute_t("CHWP D:\\pic\\cat.png");
    EXPECT_EQ(files_.calls, (std::vector<std::string>{"convert D:\\pic\\cat.png -> C:\\K\\Kestrum壁紙.BMP",
                                                      "wallpaper C:\\K\\Kestrum壁紙.BMP"}));
    files_.calls.clear();
    files_.driveType = 2;  // removable: asked; Yes copies to the typed directory
    prompter_.Answer(mrYes);
    prompter_.AnswerLine("C:\\WALL");
    interp_.Execute_t("CHWP A:\\cat.bmp");
    EXPECT_EQ(files_.calls,
              (std::vector<std::string>{"copy A:\\cat.bmp| -> C:\\WALL", "wallpaper C:\\WALL\\cat.bmp"}));
    files_.calls.clear();
    prompter_.Answer(mrCancel);
    interp_.Execute_t("CHWP A:\\cat.bmp");
    EXPECT_TRUE(files_.calls.empty());
}

}  // namespace
}  // namespace kestrum
