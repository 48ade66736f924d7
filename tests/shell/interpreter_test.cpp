// The interpreter against a recording host: splitting, aliases, ";"
// sequences, shorthands, program starts, macros and the internal commands.
#include "shell/interpreter.h"

#include <gtest/gtest.h>

#include <set>

#include "common/prompter.h"
#include "common/sjis.h"
#include "config/aliases.h"
#include "config/settings_loader.h"
#include "tests/fakes/scripted_prompter.h"
#include "tests/shell/fake_hosts.h"
#include "tests/test_util.h"

namespace kestrum {
namespace {

using test::FakeHost;

class InterpreterTest : public testing::Test {
protected:
    void SetUp() override {
        LoadSettingsLines({}, state_.settings, state_.lists);
        state_.currentDir = "C:\\WORK\\";
        state_.programDir = "C:\\K\\";
        state_.settingsPath = dir_.File("k.cfg");
        host_.state = &state_;
    }
    int Run(const std::string& line) { return interp_.Execute_t(line); }
    void Alias(const std::string& name, const std::string& expansion, const std::string& dir = "") {
        state_.lists.aliases.push_back({name, expansion, dir});
    }

    test::TempDir dir_;
    Session state_;
    FakeHost host_;
    Interpreter interp_{state_, host_};
    ScriptedPrompter prompter_;
    const Subscription scope_ = InstallPrompter(prompter_);
};

TEST_F(InterpreterTest, EmptyLinesAndStatus) {
    EXPECT_EQ(Run("   "), rrWindow);
    EXPECT_EQ(Run("  ver  "), rrInternal);
    EXPECT_EQ(host_.status, "ver");
    EXPECT_EQ(Run("Ls"), rrInternal);  // commands are found without regard to case
    EXPECT_EQ(host_.calls.back(), "filer list");
    EXPECT_EQ(Run("dir"), rrInternal);
    EXPECT_EQ(host_.calls.back(), "filer box");
    EXPECT_EQ(Run("pview  a.bmp "), rrWindow);
    EXPECT_EQ(Run("close"), rrWindow);
}

TEST_F(InterpreterTest, ChangeDirectoryShorthands) {
    Run("CD/TEMP");
    Run("cd\\windows");
    Run("c:");
    Run("d:\\ more words");
    EXPECT_EQ(host_.cds, (std::vector<std::string>{"/TEMP", "\\windows", "c:", "d:\\"}));
    EXPECT_EQ(Run("CDX"), rrStarted);  // no shorthand: a program name
    ASSERT_EQ(host_.started.size(), 1u);
    EXPECT_EQ(host_.started[0].file, "CDX");
}

TEST_F(InterpreterTest, RenamedChangeDirectoryCommand) {
    LoadSettingsLines({"[内部コマンド]", "CHDIR", "[END]"}, state_.settings, state_.lists);
    Run("CHDIR \\X");
    EXPECT_EQ(host_.cds, (std::vector<std::string>{"\\X"}));
    EXPECT_EQ(Run("CD \\X"), rrStarted);
    EXPECT_EQ(host_.started.back().file, "CD");
    EXPECT_EQ(host_.started.back().params, "\\X");
    Run("e:");
    EXPECT_EQ(host_.cds.back(), "e:");
}

TEST_F(InterpreterTest, BareCdOffersTheLogList) {
    Run("cd");
    ASSERT_EQ(prompter_.Questions().size(), 1u);
    EXPECT_EQ(prompter_.Questions()[0].text, "登録されていません");
    state_.lists.logList = {"W C:\\WINDOWS", "T C:\\TEMP"};
    ListPick pick;
    pick.result = ListResult::Ok;
    pick.text = "C:\\TEMP";
    pick.index = 1;
    prompter_.AnswerList(pick);
    Run("cd");
    EXPECT_EQ(host_.cds, (std::vector<std::string>{"C:\\TEMP"}));
    Run("cd");  // cancelled
    EXPECT_EQ(host_.cds.size(), 1u);
}

TEST_F(InterpreterTest, ProgramPathsWithBlanks) {
    host_.files = {"C:\\PROGRAM FILES\\TOOL\\TOOL.EXE", "C:\\WORK\\README.BAT"};
    EXPECT_EQ(Run("C:\\Program Files\\Tool\\tool data.txt"), rrStarted);
    ASSERT_EQ(host_.started.size(), 1u);
    EXPECT_EQ(host_.started[0].file, "C:\\Program Files\\Tool\\tool.EXE");
    EXPECT_EQ(host_.started[0].params, "data.txt");
    EXPECT_EQ(host_.started[0].dir, "C:\\WORK\\");
    EXPECT_EQ(host_.status, "C:\\Program Files\\Tool\\tool.EXE data.txt");
    Run("readme now");
    EXPECT_EQ(host_.started[1].file, "readme.BAT");
    EXPECT_EQ(host_.started[1].params, "now");
    // Nothing matches: the first word goes to the platform as it is.
    Run("notepad  a b");
    EXPECT_EQ(host_.started[2].file, "notepad");
    EXPECT_EQ(host_.started[2].params, "a b");
    EXPECT_EQ(Run("FAILS x"), rrFailed);
}

TEST_F(InterpreterTest, DocumentsGoToTheAssociations) {
    host_.files = {"C:\\WORK\\A.TXT"};
    Run("setext txt,notepad");
    host_.started.clear();
    EXPECT_EQ(Run("a.txt"), rrStarted);
    ASSERT_EQ(host_.started.size(), 1u);
    EXPECT_EQ(host_.started[0].file, "notepad");
    EXPECT_EQ(host_.started[0].params, "a.txt");  // the file itself is the current file
    Run("unsetext TXT");
    EXPECT_EQ(Run("b.doc"), rrStarted);  // no such file: still handed to the platform's verb
    EXPECT_EQ(host_.opened, (std::vector<std::string>{"b.doc"}));
    host_.platformOpens = false;
    EXPECT_EQ(Run("c.xyz"), rrFailed);
}

TEST_F(InterpreterTest, SetextAndUnsetext) {
    Run("SETEXT txt , notepad");
    Run("setext TXT,wordpad");
    ASSERT_EQ(state_.setExt.size(), 1u);
    EXPECT_EQ(state_.setExt[0].ext, "TXT");
    EXPECT_EQ(state_.setExt[0].command, "wordpad");
    Run("UNSETEXT txt");
    EXPECT_TRUE(state_.setExt.empty());
    Run("UNSETEXT txt");
    ASSERT_EQ(prompter_.Questions().size(), 1u);
    EXPECT_EQ(prompter_.Questions()[0].text, "拡張子txtはSETEXTされていません。");
}

TEST_F(InterpreterTest, SeparatorModeRunsFieldsAndKeepsQuotedSemicolons) {
    state_.settings.semicolonMode = true;
    Run("CD \\TEMP;LS");
    EXPECT_EQ(host_.cds, (std::vector<std::string>{"\\TEMP"}));
    EXPECT_EQ(host_.calls.back(), "filer list");
    Run("echo \"a;b\" c;ver");
    ASSERT_EQ(host_.started.size(), 1u);
    EXPECT_EQ(host_.started[0].params, "\"a;b\" c");
    EXPECT_EQ(host_.calls.back(), "ver");
    // Without the mode ";" is plain text.
    state_.settings.semicolonMode = false;
    Run("echo x;ver");
    EXPECT_EQ(host_.started.back().params, "x;ver");
}

TEST_F(InterpreterTest, AliasesInsideFieldsExpandInTurn) {
    state_.settings.semicolonMode = true;
    Alias("both", "go;ver", "D:\\START");
    Alias("go", "cd \\A");
    Run("both");
    EXPECT_EQ(host_.cds, (std::vector<std::string>{"\\A"}));
    EXPECT_EQ(host_.calls.back(), "ver");
}

TEST_F(InterpreterTest, SelfReferringAliasesStop) {
    Alias("x", "x -a");
    EXPECT_EQ(Run("x b"), rrStarted);  // resolved once, then x is a program name
    EXPECT_EQ(host_.started.back().file, "x");
    EXPECT_EQ(host_.started.back().params, "-a b");
    state_.settings.semicolonMode = true;
    Alias("loop", "ver;loop");
    EXPECT_EQ(Run("loop"), rrFailed);
    ASSERT_EQ(prompter_.Questions().size(), 1u);  // one message, not one per level
    EXPECT_EQ(prompter_.Questions().back().type, MsgType::Error);
    // The next line runs as usual.
    EXPECT_EQ(Run("ver"), rrInternal);
}

TEST_F(InterpreterTest, AliasStartingWithItsOwnNameResolvesOnceInSeparatorMode) {
    state_.settings.semicolonMode = true;
    Alias("dir", "dir /w");
    EXPECT_EQ(Run("dir;ver"), rrInternal);
    EXPECT_TRUE(prompter_.Questions().empty());
    EXPECT_EQ(host_.calls, (std::vector<std::string>{"filer list", "filer box", "ver"}));
    EXPECT_EQ(state_.maskText, "/w");
    host_.calls.clear();
    EXPECT_EQ(Run("dir *.txt;ver"), rrInternal);
    EXPECT_EQ(state_.maskText, "/w *.txt");
    EXPECT_EQ(host_.calls, (std::vector<std::string>{"refresh", "filer list", "filer box", "ver"}));
    // The same when the name is the first of several fields of its own.
    Alias("loop", "loop;ver");
    EXPECT_EQ(Run("loop"), rrInternal);
    ASSERT_EQ(host_.started.size(), 1u);
    EXPECT_EQ(host_.started[0].file, "loop");
    EXPECT_EQ(host_.calls.back(), "ver");
    EXPECT_TRUE(prompter_.Questions().empty());
}

TEST_F(InterpreterTest, CommandsThatCallThemselvesStopWithAMessage) {
    // An association whose command opens another file of the same kind.
    state_.lists.ext = {{"TXT", "/$C.TXT"}};
    EXPECT_EQ(Run("a.txt"), rrFailed);
    ASSERT_EQ(prompter_.Questions().size(), 1u);
    EXPECT_EQ(prompter_.Questions()[0].type, MsgType::Error);
    EXPECT_TRUE(host_.started.empty());
    EXPECT_TRUE(host_.opened.empty());
    // An editor and a viewer setting that name the shell's own commands.
    state_.settings.editer = "EDIT";
    EXPECT_EQ(Run("edit a.txt"), rrFailed);
    EXPECT_EQ(prompter_.Questions().size(), 2u);
    state_.settings.viewer = "view";
    EXPECT_EQ(Run("view a.txt"), rrFailed);
    EXPECT_EQ(prompter_.Questions().size(), 3u);
    EXPECT_TRUE(host_.started.empty());
    // Ordinary nesting still works: an editor started through EDIT.
    state_.settings.editer = "notepad";
    EXPECT_EQ(Run("edit a.txt"), rrStarted);
    EXPECT_EQ(host_.started.back().file, "notepad");
}

TEST_F(InterpreterTest, FailuresToChangeDirectoryOrStartAreToldInTheStatusLine) {
    host_.badDirs = {"\\NOWHERE", "Q:"};
    EXPECT_EQ(Run("cd \\nowhere"), rrInternal);
    EXPECT_EQ(host_.status, "\\nowhere に移動できません");
    EXPECT_EQ(Run("q:"), rrInternal);
    EXPECT_EQ(host_.status, "q: に移動できません");
    EXPECT_EQ(Run("cd \\TEMP"), rrInternal);
    EXPECT_EQ(host_.status, "cd \\TEMP");
    EXPECT_EQ(Run("FAILS x"), rrFailed);
    EXPECT_EQ(host_.status, "FAILS を起動できません");
    host_.platformOpens = false;
    EXPECT_EQ(Run("c.xyz"), rrFailed);
    EXPECT_EQ(host_.status, "c.xyz を開けません");
    EXPECT_TRUE(prompter_.Questions().empty());  // no message box: scripts go on
}

TEST_F(InterpreterTest, AliasChainsAndDirectories) {
    Alias("x", "y -a", "C:\\TEMP");
    Alias("y", "prog -b", "D:\\OTHER");
    Run("x typed");
    EXPECT_EQ(host_.started.back().file, "prog");
    EXPECT_EQ(host_.started.back().params, "-b -a typed");
    EXPECT_EQ(host_.started.back().dir, "C:\\TEMP");  // the first alias's directory
    // An argument that is exactly an alias name is replaced by its expansion.
    Alias("docs", "C:\\DOCS");
    Run("cd docs");
    EXPECT_EQ(host_.cds.back(), "C:\\DOCS");
}

TEST_F(InterpreterTest, MenuToggledTwiceReturns) {
    const bool first = state_.menuBarShown;
    Run("MENU");
    EXPECT_NE(state_.menuBarShown, first);
    Run("menu");
    EXPECT_EQ(state_.menuBarShown, first);
    Run("menu off");
    EXPECT_FALSE(state_.menuBarShown);
    Run("menu ON");
    EXPECT_TRUE(state_.menuBarShown);
}

TEST_F(InterpreterTest, MacrosExpandOnlyWhenOnAndInTheirOrder) {
    host_.filerShowing = true;
    host_.filerFile = "C:\\WORK\\readme.txt";
    Run("notepad /$C");
    EXPECT_EQ(host_.started.back().params, "/$C");  // MACROFLAG off
    state_.settings.macroFlag = true;
    Run("notepad /$C /$M-/$D");
    EXPECT_EQ(host_.started.back().params, "C:\\WORK\\readme.txt 12-08");
    // "/$$" escapes the first group only: /$$C stays /$C, /$$P still expands.
    Run("echo /$$C /$$P /$X./$E /$S");
    EXPECT_EQ(host_.started.back().params, "/$C C:\\WORK\\ readme.txt SHORT(C:\\WORK\\readme.txt)");
    state_.settings.edmcf = false;
    Run("echo /$C");
    EXPECT_EQ(host_.started.back().params, "/$C");
}

TEST_F(InterpreterTest, OneShotFileAndForce) {
    std::string text = "/$C /$E";
    interp_.SetOneShotFile("D:\\x\\a.bmp");
    interp_.ForceMacros();
    interp_.ExpandMacros(text);
    EXPECT_EQ(text, "D:\\x\\a.bmp bmp");
    text = "/$C";
    interp_.ExpandMacros(text);  // both were used up
    EXPECT_EQ(text, "/$C");
}

TEST_F(InterpreterTest, AliasCommandStoresTheRawArgument) {
    state_.settings.macroFlag = true;
    Run("ALIAS x,notepad /$C,C:\\TEMP");
    ASSERT_EQ(state_.lists.aliases.size(), 1u);
    EXPECT_EQ(state_.lists.aliases[0].expansion, "notepad /$C");
    EXPECT_EQ(state_.lists.aliases[0].directory, "C:\\TEMP");
    // Saved at once, and read back.
    Settings s;
    SettingsLists l;
    LoadSettingsFile(state_.settingsPath, s, l);
    ASSERT_EQ(l.aliases.size(), 1u);
    EXPECT_EQ(l.aliases[0].expansion, "notepad /$C");
    // Running it with the filer on readme.txt: notepad on that file in C:\TEMP.
    host_.filerShowing = true;
    host_.filerFile = "C:\\WORK\\readme.txt";
    Run("x");
    EXPECT_EQ(host_.started.back().file, "notepad");
    EXPECT_EQ(host_.started.back().params, "C:\\WORK\\readme.txt");
    EXPECT_EQ(host_.started.back().dir, "C:\\TEMP");
}

TEST_F(InterpreterTest, AliasCommandQuestions) {
    Run("alias x,one");
    prompter_.Answer(mrCancel);
    Run("ALIAS X,two");
    EXPECT_EQ(state_.lists.aliases[0].expansion, "one");
    ASSERT_EQ(prompter_.Questions().size(), 1u);
    EXPECT_EQ(prompter_.Questions()[0].caption, "Kestrum Alias");
    EXPECT_NE(prompter_.Questions()[0].text.find("Xは既に登録されてます"), std::string::npos);
    EXPECT_NE(prompter_.Questions()[0].text.find("指定されていません"), std::string::npos);
    prompter_.Answer(mrYes);
    Run("ALIAS x,\"two, three\",D:\\");
    EXPECT_EQ(state_.lists.aliases[0].expansion, "two, three");
    Run("alias x");
    EXPECT_NE(prompter_.Questions().back().text.find("エイリアスxの情報"), std::string::npos);
    Run("alias nothing");
    EXPECT_EQ(prompter_.Questions().back().text, "nothingはエイリアス登録されてません");
    // A comma inside a field survives the file.
    Settings s;
    SettingsLists l;
    LoadSettingsFile(state_.settingsPath, s, l);
    ASSERT_EQ(l.aliases.size(), 1u);
    EXPECT_EQ(l.aliases[0].expansion, "two, three");
}

TEST_F(InterpreterTest, Unalias) {
    Alias("Edit", "notepad");
    prompter_.Answer(mrNo);
    Run("unalias EDIT");
    EXPECT_EQ(state_.lists.aliases.size(), 1u);
    EXPECT_EQ(prompter_.Questions().back().text, "エイリアスEDITを削除します\r\nよろしいですか。");
    prompter_.Answer(mrYes);
    Run("unalias edit");
    EXPECT_TRUE(state_.lists.aliases.empty());
    Run("unalias edit");
    EXPECT_EQ(prompter_.Questions().back().text, "editはエイリアス登録されてません");
}

TEST_F(InterpreterTest, MaskAndLauto) {
    Run("MASK [*.TXT,*.doc],text files");
    EXPECT_EQ(state_.maskText, "text files");
    EXPECT_EQ(state_.masks, (std::vector<std::string>{"0*.TXT", "0*.DOC"}));
    Run("mask \\+ *.c");
    EXPECT_EQ(state_.masks.size(), 3u);
    Run("mask");
    EXPECT_EQ(state_.masks, (std::vector<std::string>{"0*.*"}));
    Run("lauto on");
    EXPECT_EQ(prompter_.Questions().back().text, "Err:Lautoが以前に設定されていません。");
    EXPECT_FALSE(state_.lautoOn);
    Run("lauto [*.txt, *.doc],docs");
    EXPECT_EQ(state_.lautoList, (std::vector<std::string>{"*.TXT", "*.DOC"}));
    EXPECT_TRUE(state_.lautoOn);
    EXPECT_EQ(state_.lautoLabel, "docs");
    Run("lauto off");
    EXPECT_FALSE(state_.lautoOn);
    Run("lauto on");
    EXPECT_TRUE(state_.lautoOn);
    EXPECT_EQ(state_.lautoLabel, "docs");
}

TEST_F(InterpreterTest, EditViewWaitSleepShexeCfgload) {
    state_.settings.editer = "notepad";
    state_.settings.editOption = true;
    Run("edit my file.txt");
    EXPECT_EQ(host_.started.back().params, "\"my file.txt\"");
    state_.settings.viewMode = true;
    Run("view a.txt");
    EXPECT_EQ(host_.calls.back(), "tview a.txt");
    Run("wait");
    EXPECT_EQ(prompter_.Questions().back().text, "アプリケーションを起動し、その終了を待ちます");
    Run("wait calc -x");
    EXPECT_EQ(host_.calls.back(), "wait calc|-x|C:\\WORK\\");
    Run("sleep 10");
    EXPECT_EQ(host_.calls.back(), "sleep 10");
    Run("sleep ten");
    EXPECT_EQ(prompter_.Questions().back().type, MsgType::Error);
    Run("shexe print, C:\\a.txt");
    EXPECT_EQ(host_.started.back().verb, "print");
    EXPECT_EQ(host_.started.back().file, "C:\\a.txt");
    Run("cfgload other.cfg");
    EXPECT_EQ(host_.calls.back(), "reload C:\\K\\other.cfg");
    Run("cfgload D:\\x.cfg");
    EXPECT_EQ(host_.calls.back(), "reload D:\\x.cfg");
}

TEST_F(InterpreterTest, CfgloadOfAFileThatCannotBeReadKeepsTheSettingsInForce) {
    Run("cfgload D:\\x.cfg");
    host_.reloadReads = false;
    Run("cfgload missing.cfg");
    EXPECT_EQ(state_.settingsPath, "D:\\x.cfg");
    ASSERT_EQ(prompter_.Questions().size(), 1u);
    EXPECT_EQ(prompter_.Questions()[0].text, "設定ファイル C:\\K\\missing.cfg が見つかりません。\r\n今の設定のままです。");
    host_.files = {"C:\\K\\LOCKED.CFG"};
    Run("cfgload locked.cfg");
    EXPECT_EQ(state_.settingsPath, "D:\\x.cfg");
    EXPECT_EQ(prompter_.Questions().back().text, "設定ファイル C:\\K\\locked.cfg を読み込めません。\r\n今の設定のままです。");
}

TEST_F(InterpreterTest, DotStartsTheFolder) {
    EXPECT_EQ(Run(".."), rrStarted);
    EXPECT_EQ(host_.started.back().file, "C:\\");
}

}  // namespace
}  // namespace kestrum
