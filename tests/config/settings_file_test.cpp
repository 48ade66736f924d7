// TSettingsFile: in-place key and list writes that keep everything else.
#include "config/settings_file.h"

#include <gtest/gtest.h>

#include <random>

#include "config/profile.h"
#include "tests/test_util.h"

namespace kestrum {
namespace {

using Lines = std::vector<std::string>;

TEST(SettingsFileTest, KeyInAMissingSectionIsAppendedThenReplacedInPlace) {
    TSettingsFile f = TSettingsFile::FromLines({"[ALIAS]", "x,y", "[END]"});
    f.WriteString("form_ls", "Top", "10");
    EXPECT_EQ(f.Lines(), (Lines{"[ALIAS]", "x,y", "[END]", "", "[FORM_LS]", "Top=10", "[END]"}));
    f.WriteString("FORM_LS", "TOP", "20");
    EXPECT_EQ(f.Lines(), (Lines{"[ALIAS]", "x,y", "[END]", "", "[FORM_LS]", "TOP=20", "[END]"}));
    f.WriteInteger("FORM_LS", "Left", -5);
    f.WriteBool("FORM_LS", "ISWSMAX", true);
    EXPECT_EQ(f.Lines(), (Lines{"[ALIAS]", "x,y", "[END]", "", "[FORM_LS]", "TOP=20", "Left=-5", "ISWSMAX=1", "[END]"}));
}

TEST(SettingsFileTest, SectionWithoutEndAtEndOfFile) {
    TSettingsFile f = TSettingsFile::FromLines({"[FORM_LS]", "Top=1"});
    f.WriteString("FORM_LS", "Width", "300");
    EXPECT_EQ(f.Lines(), (Lines{"[FORM_LS]", "Top=1", "Width=300", "[END]"}));
}

TEST(SettingsFileTest, SectionWithoutEndIsClosedBeforeTheNextKnownSection) {
    // Without this the key would land inside [環境変数].
    TSettingsFile f = TSettingsFile::FromLines({"[FORM_LS]", "Top=1", "[環境変数]", "MENUBAR, 1", "[END]"});
    f.WriteString("FORM_LS", "Width", "300");
    EXPECT_EQ(f.Lines(), (Lines{"[FORM_LS]", "Top=1", "Width=300", "[END]", "[環境変数]", "MENUBAR, 1", "[END]"}));
    TSettingsFile g = TSettingsFile::FromLines({"[ALIAS]", "old,x", "[環境変数]", "SORT, 1", "[END]"});
    g.WriteListSection("ALIAS", {"new,y"});
    EXPECT_EQ(g.Lines(), (Lines{"[ALIAS]", "new,y", "[END]", "[環境変数]", "SORT, 1", "[END]"}));
}

TEST(SettingsFileTest, WriteLineMatchesKeysWithoutRegardToCaseAndComments) {
    TSettingsFile f = TSettingsFile::FromLines(
        {"; my settings", "[環境変数]", "menubar, 0 ; off for now", "HOMEDIR, C:\\", "", "[END]", "[UNKNOWN]", "k=v"});
    f.WriteLine("[環境変数]", "MENUBAR", "MenuBar, 1");
    f.WriteLine("[環境変数]", "SORT", "SORT, 2");
    EXPECT_EQ(f.Lines(), (Lines{"; my settings", "[環境変数]", "MenuBar, 1", "HOMEDIR, C:\\", "", "SORT, 2", "[END]",
                                "[UNKNOWN]", "k=v"}));
}

TEST(SettingsFileTest, CommentRuleFollowsTheMarker) {
    // Without the marker ";X, 1" is a comment and does not hold key ";X".
    TSettingsFile plain = TSettingsFile::FromLines({"[環境変数]", ";X, 1", "[END]"});
    plain.WriteLine("[環境変数]", "A;B", "A;B, 2");
    EXPECT_EQ(plain.Lines(), (Lines{"[環境変数]", ";X, 1", "A;B, 2", "[END]"}));
    // With it, ";" is an ordinary character.
    TSettingsFile marked = TSettingsFile::FromLines({"[CFG Ver1.1]", "[環境変数]", "A;B, 1", "[END]"});
    marked.WriteLine("[環境変数]", "A;B", "A;B, 2");
    EXPECT_EQ(marked.Lines(), (Lines{"[CFG Ver1.1]", "[環境変数]", "A;B, 2", "[END]"}));
    marked.InsertMarker();
    EXPECT_EQ(marked.Lines().front(), "[CFG Ver1.1]");
    EXPECT_EQ(marked.Lines().size(), 4u);
}

TEST(SettingsFileTest, ListSections) {
    TSettingsFile f = TSettingsFile::FromLines(
        {"[DIRHISTORY]", "C:\\A", "; a comment", "", "C:\\B", "[END]", "[KEEP]", "x"});
    f.WriteListSection("dirhistory", {"D:\\1", "D:\\2"});
    f.WriteListSection("EXEHISTORY", {"ls"});
    EXPECT_EQ(f.Lines(), (Lines{"[DIRHISTORY]", "D:\\1", "D:\\2", "[END]", "[KEEP]", "x", "", "[EXEHISTORY]", "ls",
                                "[END]"}));
    TSettingsFile open = TSettingsFile::FromLines({"[EXEHISTORY]", "old"});
    open.WriteListSection("EXEHISTORY", {});
    EXPECT_EQ(open.Lines(), (Lines{"[EXEHISTORY]", "[END]"}));
}

TEST(SettingsFileTest, SavesCrLfAndKeepsUnknownBytes) {
    test::TempDir dir;
    const std::string path = dir.File("k.cfg");
    test::WriteFile(path, "[X]\nk=v\r\n;\x95\x5C comment\r[FORM_LS]\r\nTop=1\r\n[END]\r\n");
    TSettingsFile f(path);
    f.WriteString("FORM_LS", "Top", "2");
    ASSERT_TRUE(f.Save());
    EXPECT_EQ(test::ReadFile(path), "[X]\r\nk=v\r\n;\x95\x5C comment\r\n[FORM_LS]\r\nTop=2\r\n[END]\r\n");
    // A missing file is an empty list; the first save creates it.
    TSettingsFile fresh(dir.File("new.cfg"));
    EXPECT_TRUE(fresh.Lines().empty());
    fresh.WriteString("TVIEW", "PTop", "7");
    ASSERT_TRUE(fresh.Save());
    EXPECT_EQ(test::ReadFile(dir.File("new.cfg")), "\r\n[TVIEW]\r\nPTop=7\r\n[END]\r\n");
}

TEST(SettingsFileTest, SaveFailureIsReportedAndLeavesNoFile) {
    test::TempDir dir;
    TSettingsFile f(dir.File("no-such-dir") + "/x.cfg");
    f.WriteString("A", "b", "c");
    EXPECT_FALSE(f.Save());
    EXPECT_FALSE(TSettingsFile::FromLines({"x"}).Save());
}

TEST(SettingsFileTest, GarbageSurvives) {
    std::mt19937 rng(12345);
    const char* pieces[] = {"[END]", "[FORM_LS]", "[ALIAS]", "[環境変数]", "=", ",", ";", "\"", "\x95", "\x5C",
                            "Top", " ", "[CFG Ver1.1]", "\r", "\n", "\0"};
    for (int round = 0; round < 300; ++round) {
        Lines lines;
        const int n = static_cast<int>(rng() % 12);
        for (int i = 0; i < n; ++i) {
            std::string l;
            const int parts = static_cast<int>(rng() % 6);
            for (int k = 0; k < parts; ++k) l += pieces[rng() % (sizeof pieces / sizeof *pieces)];
            lines.push_back(l);
        }
        TSettingsFile f = TSettingsFile::FromLines(lines);
        f.WriteString("FORM_LS", "Top", "1");
        f.WriteLine("[環境変数]", "MENUBAR", "MenuBar, 1");
        f.WriteListSection("ALIAS", {"a,b"});
        f.WriteListSection("DIRHISTORY", {});
        EXPECT_GE(f.Lines().size(), lines.size());
    }
}

TEST(SettingsFileTest, SectionWithoutEndNeverTakesInASectionItDoesNotKnow) {
    const Lines start = {"[ALIAS]", "a,b", "[MYSECTION]", "foo=1", "[END]"};
    TSettingsFile list = TSettingsFile::FromLines(start);
    list.WriteListSection("ALIAS", {"x,y", "z,w"});
    EXPECT_EQ(list.Lines(), (Lines{"[ALIAS]", "x,y", "z,w", "[END]", "[MYSECTION]", "foo=1", "[END]"}));
    TSettingsFile key = TSettingsFile::FromLines({"[FORM_LS]", "Top=1", "[Other] ; not ours", "Top=5", "[END]"});
    key.WriteString("FORM_LS", "Top", "2");
    key.WriteString("FORM_LS", "Left", "3");
    EXPECT_EQ(key.Lines(), (Lines{"[FORM_LS]", "Top=2", "Left=3", "[END]", "[Other] ; not ours", "Top=5", "[END]"}));
    TSettingsFile append = TSettingsFile::FromLines(start);
    append.AppendListLine("[Alias]", "n,m");
    EXPECT_EQ(append.Lines(), (Lines{"[ALIAS]", "a,b", "n,m", "[END]", "[MYSECTION]", "foo=1", "[END]"}));
    // A function key with a title and no command looks like a header and
    // is still one of the (at most twelve) keys.
    TSettingsFile keys = TSettingsFile::FromLines({"[FUNCTION]", "[F1]", "[F2]LS", "[END]", "[KEEP]", "k"});
    keys.WriteListSection("FUNCTION", {"[VIEW]TVIEW"});
    EXPECT_EQ(keys.Lines(), (Lines{"[FUNCTION]", "[VIEW]TVIEW", "[END]", "[KEEP]", "k"}));
}

// The window positions are read back under the profile rules, where any
// line opening with "[" starts a section of its own, though it is none of
// the settings file's: a key is written above the first such line.
TEST(SettingsFileTest, KeysStayWhereTheProfileReaderFindsThem) {
    TSettingsFile f = TSettingsFile::FromLines({"[FORM_LS]", "Top=1", "[", "[x", "[END]"});
    f.WriteString("FORM_LS", "Width", "300");
    EXPECT_EQ(f.Lines(), (Lines{"[FORM_LS]", "Top=1", "Width=300", "[", "[x", "[END]"}));
    EXPECT_EQ(ProfileReader(f.Lines()).Find("FORM_LS", "Width"), "300");
    // A key below such a line moves above it.
    TSettingsFile g = TSettingsFile::FromLines({"[FORM_LS]", "[x] old", "Top=1", "[END]"});
    g.WriteString("FORM_LS", "Top", "2");
    EXPECT_EQ(g.Lines(), (Lines{"[FORM_LS]", "Top=2", "[x] old", "[END]"}));
    EXPECT_EQ(ProfileReader(g.Lines()).Find("FORM_LS", "Top"), "2");
}

TEST(SettingsFileTest, WrittenPositionsReadBackBelowAHeaderOnlyTheProfileRulesKnow) {
    // The profile rules read each of these as [FORM_LS]; the writer does
    // not, and puts the section of its own below it.
    for (const char* odd : {"[ form_ls ]", "[FORM_LS] window", "[FORM_LS"}) {
        TSettingsFile f = TSettingsFile::FromLines({odd, "Top=7", "Left=3", "[END]"});
        f.WriteString("FORM_LS", "Top", "120");
        const ProfileReader p(f.Lines());
        EXPECT_EQ(p.Find("FORM_LS", "Top"), "120") << odd;
        EXPECT_EQ(p.Find("FORM_LS", "Left"), std::nullopt) << odd;  // one section counts, as before
    }
    // Without a section of the writer's the odd one is still read.
    EXPECT_EQ(ProfileReader({"[ form_ls ]", "Top=7"}).Find("FORM_LS", "Top"), "7");
    // With ";" a command separator, "[FORM_LS];x" is no header of the writer's.
    TSettingsFile g = TSettingsFile::FromLines({"[FORM_LS];x", "Top=7"}, true);
    g.WriteString("FORM_LS", "Top", "120");
    EXPECT_EQ(ProfileReader(g.Lines(), true).Find("FORM_LS", "Top"), "120");
}

TEST(SettingsFileTest, DuplicateSectionsAndKeysAreNotWrittenTwice) {
    // Both [ALIAS] sections were read into one list: it goes into the first,
    // and the second is emptied (keeping its bounds).
    TSettingsFile f = TSettingsFile::FromLines(
        {"[ALIAS]", "a,1", "[END]", "[KEEP]", "x", "[END]", "[alias]", "b,2", "[ENV]", "[END]"});
    f.WriteListSection("ALIAS", {"a,1", "b,2"});
    EXPECT_EQ(f.Lines(), (Lines{"[ALIAS]", "a,1", "b,2", "[END]", "[KEEP]", "x", "[END]", "[alias]", "[END]", "[ENV]",
                                "[END]"}));
    // A key read twice takes the value read last: the written line is the
    // only one left.
    TSettingsFile g = TSettingsFile::FromLines({"[環境変数]", "SORT, 1", "MENUBAR, 0", "sort , 2", "[END]",
                                                "[環境変数]", "Sort, 3", "TABWIDTH, 4", "[END]"});
    g.WriteLine("[環境変数]", "SORT", "Sort, 0");
    EXPECT_EQ(g.Lines(), (Lines{"[環境変数]", "Sort, 0", "MENUBAR, 0", "[END]", "[環境変数]", "TABWIDTH, 4", "[END]"}));
}

TEST(SettingsFileTest, AppendedListLinesFollowTheCommentRule) {
    // Without the marker the remark after ";" is no part of the header.
    TSettingsFile plain = TSettingsFile::FromLines({"[LOGDISKLIST] ; mine", "C:\\A,1", "[END]"});
    plain.AppendListLine("[LogDiskList]", "D:\\B,2");
    EXPECT_EQ(plain.Lines(), (Lines{"[LOGDISKLIST] ; mine", "C:\\A,1", "D:\\B,2", "[END]"}));
    // With it, that line is no header: a new section is appended as spelled.
    TSettingsFile marked = TSettingsFile::FromLines({"[CFG Ver1.1]", "[LOGDISKLIST] ; mine", "[END]"});
    marked.AppendListLine("[LogDiskList]", "D:\\B,2");
    EXPECT_EQ(marked.Lines(),
              (Lines{"[CFG Ver1.1]", "[LOGDISKLIST] ; mine", "[END]", "", "[LogDiskList]", "D:\\B,2", "[END]"}));
}

}  // namespace
}  // namespace kestrum
