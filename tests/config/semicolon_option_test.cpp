// The semicolon option: its questions, the marker line and the comment cut
// that must not shift the internal command names.
#include "config/semicolon_option.h"

#include <gtest/gtest.h>

#include "common/prompter.h"
#include "config/settings_loader.h"
#include "config/text_file.h"
#include "tests/fakes/scripted_prompter.h"
#include "tests/test_util.h"

namespace kestrum {
namespace {

using Lines = std::vector<std::string>;

TEST(CutCfgCommentsTest, DeletesOnlyTheLinesTheCutEmptied) {
    Lines l = {"; header remark", "[ALIAS]", "x,notepad ; my editor", "", "   ; indented remark", "[END]",
               "表;示", "[環境変数]", "SORT, 1;", "[END]"};
    CutCfgComments(l);
    EXPECT_EQ(l, (Lines{"[ALIAS]", "x,notepad ", "", "[END]", "表", "[環境変数]", "SORT, 1", "[END]"}));
}

TEST(CutCfgCommentsTest, InternalCommandLinesKeepTheirPositions) {
    // Line 1 is empty on purpose (CD keeps its name) and line 3 holds only a
    // remark: deleting either would move FILER and TV up a slot.
    Lines l = {"[内部コマンド] ; names", "", "FILER ; was LS", "; EXIT unchanged", "", "TV", "[END]",
               "; gone", "[CFG Ver1.1]"};
    CutCfgComments(l);
    EXPECT_EQ(l, (Lines{"[内部コマンド] ", "", "FILER ", "", "", "TV", "[END]", "[CFG Ver1.1]"}));
    Settings s;
    SettingsLists lists;
    LoadSettingsLines(l, s, lists);
    EXPECT_EQ(lists.commandTable[0], "CD");
    EXPECT_EQ(lists.commandTable[1], "FILER");
    EXPECT_EQ(lists.commandTable[2], "EXIT");
    EXPECT_EQ(lists.commandTable[4], "TV");
}

TEST(CutCfgCommentsTest, SectionWithoutEndStopsAtTheNextKnownHeader) {
    Lines l = {"[内部コマンド]", "; keep slot", "[ALIAS]", "; drop", "a,b", "[END]"};
    CutCfgComments(l);
    EXPECT_EQ(l, (Lines{"[内部コマンド]", "", "[ALIAS]", "a,b", "[END]"}));
}

class SemicolonOptionTest : public testing::Test {
protected:
    std::string Cfg() const { return dir_.File("k.cfg"); }
    Lines FileLines() const { return test::CrLfLines(test::ReadFile(Cfg())); }
    void Write(const std::string& text) { test::WriteFile(Cfg(), text); }

    test::TempDir dir_;
    ScriptedPrompter prompter_;
    const Subscription scoped_ = InstallPrompter(prompter_);
    Settings s_;
};

const char kFile[] =
    "; my settings\r\n"
    "[ALIAS]\r\nup,cd ..;ls ; two commands\r\n[END]\r\n"
    "[環境変数]\r\nSORT, 1 ; by size\r\n[END]\r\n";

TEST_F(SemicolonOptionTest, NoLeavesTheFileAlone) {
    Write(kFile);
    prompter_.Answer(mrNo);
    const SemicolonOutcome out = TurnOnSemicolonOption(Cfg(), s_);
    EXPECT_FALSE(out.ticked);
    EXPECT_FALSE(out.disabled);
    EXPECT_EQ(test::ReadFile(Cfg()), kFile);
    EXPECT_FALSE(s_.semicolonMode);
    ASSERT_EQ(prompter_.Questions().size(), 1u);
    EXPECT_EQ(prompter_.Questions()[0].text, kSemicolonQuestion);
    EXPECT_EQ(prompter_.Questions()[0].buttons, MsgButtons::YesNo);
}

TEST_F(SemicolonOptionTest, YesAndYesCutsTheCommentsAfterTheMarker) {
    Write(kFile);
    prompter_.Answer(mrYes);
    prompter_.Answer(mrYes);
    const SemicolonOutcome out = TurnOnSemicolonOption(Cfg(), s_);
    EXPECT_TRUE(out.ticked);
    EXPECT_TRUE(out.disabled);
    EXPECT_TRUE(s_.semicolonMode);
    EXPECT_TRUE(s_.cutComment);
    ASSERT_EQ(prompter_.Questions().size(), 2u);
    EXPECT_EQ(prompter_.Questions()[1].text, kCutCommentQuestion);
    EXPECT_EQ(prompter_.Questions()[1].buttons, MsgButtons::YesNoCancel);
    EXPECT_EQ(FileLines(), (Lines{"[CFG Ver1.1]", "[ALIAS]", "up,cd ..", "[END]", "[環境変数]", "SORT, 1 ", "[END]"}));

    // From now on ";" belongs to the values.
    test::WriteFile(Cfg(), test::ReadFile(Cfg()) + "[EXT]\r\nTXT,notepad;echo\r\n[END]\r\n"
                                                   "[ALIAS]\r\nup2,cd ..;ls\r\n[END]\r\n");
    Settings r;
    SettingsLists lists;
    ASSERT_TRUE(LoadSettingsFile(Cfg(), r, lists));
    ASSERT_EQ(lists.aliases.size(), 2u);
    EXPECT_EQ(lists.aliases[1].expansion, "cd ..;ls");
    EXPECT_EQ(lists.ext[0].command, "notepad;echo");
    EXPECT_TRUE(r.semicolonMode);
}

TEST_F(SemicolonOptionTest, NoToTheCutKeepsCommentsCancelUnticks) {
    Write(kFile);
    prompter_.Answer(mrYes);
    prompter_.Answer(mrNo);
    SemicolonOutcome out = TurnOnSemicolonOption(Cfg(), s_);
    EXPECT_TRUE(out.ticked);
    EXPECT_TRUE(out.disabled);
    EXPECT_FALSE(s_.cutComment);
    EXPECT_EQ(test::ReadFile(Cfg()), std::string("[CFG Ver1.1]\r\n") + kFile);

    Write(kFile);
    s_ = Settings();
    prompter_.Answer(mrYes);
    prompter_.Answer(mrCancel);
    out = TurnOnSemicolonOption(Cfg(), s_);
    EXPECT_FALSE(out.ticked);
    EXPECT_TRUE(out.disabled);
    EXPECT_EQ(test::ReadFile(Cfg()), std::string("[CFG Ver1.1]\r\n") + kFile);  // the marker stays
}

TEST_F(SemicolonOptionTest, AlreadyCutAsksOnceAndMarkerIsNotDoubled) {
    Write(std::string("[CFG Ver1.1]\r\n") + kFile);
    s_.cutComment = true;
    prompter_.Answer(mrYes);
    const SemicolonOutcome out = TurnOnSemicolonOption(Cfg(), s_);
    EXPECT_TRUE(out.ticked);
    EXPECT_EQ(prompter_.Questions().size(), 1u);
    EXPECT_EQ(test::ReadFile(Cfg()), std::string("[CFG Ver1.1]\r\n") + kFile);
}

TEST_F(SemicolonOptionTest, MissingFileGetsTheMarker) {
    prompter_.Answer(mrYes);
    prompter_.Answer(mrYes);
    TurnOnSemicolonOption(Cfg(), s_);
    EXPECT_EQ(test::ReadFile(Cfg()), "[CFG Ver1.1]\r\n");
}

TEST_F(SemicolonOptionTest, UnwritableFileIsReportedAndChangesNothing) {
    prompter_.Answer(mrYes);
    const SemicolonOutcome out = TurnOnSemicolonOption(dir_.File("no-such-dir/k.cfg"), s_);
    EXPECT_FALSE(out.ticked);
    EXPECT_FALSE(out.disabled);
    EXPECT_FALSE(s_.semicolonMode);
    ASSERT_EQ(prompter_.Questions().size(), 2u);
    EXPECT_EQ(prompter_.Questions()[1].type, MsgType::Error);
}

}  // namespace
}  // namespace kestrum
