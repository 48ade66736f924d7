// The settings loader: sections, comment rule, normalisation, defaults,
// reload behaviour and damaged input.
#include "config/settings_loader.h"

#include <gtest/gtest.h>

#include <random>

#include "common/split.h"
#include "config/settings_file.h"
#include "config/text_file.h"
#include "config/window_state.h"
#include "tests/test_util.h"

namespace kestrum {
namespace {

using Lines = std::vector<std::string>;

struct Loaded {
    Settings s;
    SettingsLists l;
};

Loaded Load(const Lines& lines) {
    Loaded r;
    LoadSettingsLines(lines, r.s, r.l);
    return r;
}

TEST(SettingsLoaderTest, CommentRuleWithAndWithoutTheMarker) {
    const Lines body = {"[環境変数]", "VIEWER, c:\\tools\\view.exe ; my viewer", "[END]"};
    EXPECT_EQ(Load(body).s.viewer, "C:\\TOOLS\\VIEW.EXE");
    Lines marked = body;
    marked.insert(marked.begin(), "[CFG Ver1.1]");
    const Loaded m = Load(marked);
    EXPECT_EQ(m.s.viewer, "C:\\TOOLS\\VIEW.EXE ; MY VIEWER");
    EXPECT_TRUE(m.s.semicolonMode);
    // The marker is compared exactly: another spelling is no marker.
    EXPECT_FALSE(Load({"[cfg ver1.1]"}).s.semicolonMode);
    EXPECT_FALSE(Load({" [CFG Ver1.1]"}).s.semicolonMode);
}

// The settings writers compare and write every line of a file that holds
// the marker in that mode: the loader reads the whole file so too, wherever
// the marker stands, or a list written above the marker would lose its ";".
TEST(SettingsLoaderTest, AMarkerFurtherDownCountsForTheWholeFile) {
    const Loaded r = Load({"[ALIAS]", "x,a;b", "[END]", "[CFG Ver1.1]", "[ALIAS]", "y,c;d", "[END]"});
    EXPECT_TRUE(r.s.semicolonMode);
    ASSERT_EQ(r.l.aliases.size(), 2u);
    EXPECT_EQ(r.l.aliases[0].expansion, "a;b");
    EXPECT_EQ(r.l.aliases[1].expansion, "c;d");
}

// The marker is never an entry of a list, not even a title without a
// command in [FUNCTION]: the list would be written back upper-cased, and the
// file would lose its marker and with it every ";" in its values.
TEST(SettingsLoaderTest, TheMarkerEndsAFunctionSection) {
    const Loaded r = Load({"[FUNCTION]", "[F3]", "[CFG Ver1.1]", "x;y", "[END]"});
    EXPECT_TRUE(r.s.semicolonMode);
    ASSERT_EQ(r.l.functions.size(), 1u);
    EXPECT_EQ(r.l.functions[0].title, "[F3]");
    // Another spelling is no marker, but a header all the same.
    EXPECT_EQ(Load({"[FUNCTION]", "[F3]", "[cfg ver1.1]", "[END]"}).l.functions.size(), 1u);
}

// A history entry that would read as a header once the marker goes ("[A];")
// is never stored: it is not taken in either, so the history shown is the
// one the next save keeps.
TEST(SettingsLoaderTest, HistoryEntriesThatReadAsHeadersAreLeftOut) {
    const Loaded r = Load({"[CFG Ver1.1]", "[EXEHISTORY]", "[A];", "LS", "[END]"});
    EXPECT_EQ(r.l.exeHistory, (Lines{"LS"}));
}

TEST(SettingsLoaderTest, SemicolonModeIsNeverClearedByAReload) {
    Loaded r = Load({"[CFG Ver1.1]"});
    LoadSettingsLines({"[ALIAS]", "x,a;b", "[END]"}, r.s, r.l);
    EXPECT_TRUE(r.s.semicolonMode);
    ASSERT_EQ(r.l.aliases.size(), 1u);
    EXPECT_EQ(r.l.aliases[0].expansion, "a;b");
}

TEST(SettingsLoaderTest, HistoriesKeepTwentyFourAndAreReadOnlyOnce) {
    Lines lines = {"[DIRHISTORY]"};
    for (int i = 0; i < 25; ++i) {
        lines.push_back("C:\\D" + std::to_string(i));
        if (i == 3) lines.push_back("   ");
    }
    lines.insert(lines.end(), {"[END]", "[EXEHISTORY]", "  ls  ", "[END]"});
    Loaded r = Load(lines);
    ASSERT_EQ(r.l.dirHistory.size(), 24u);
    EXPECT_EQ(r.l.dirHistory.back(), "C:\\D23");
    EXPECT_EQ(r.l.exeHistory, (Lines{"ls"}));
    // A reload keeps the histories in memory and replaces the other lists.
    r.l.exeHistory = {"mine"};
    r.l.aliases = {{"old", "x", ""}};
    LoadSettingsLines({"[EXEHISTORY]", "from file", "[END]"}, r.s, r.l);
    EXPECT_EQ(r.l.exeHistory, (Lines{"mine"}));
    EXPECT_TRUE(r.l.aliases.empty());
}

TEST(SettingsLoaderTest, CommandNamesByLineWithBlankLinesKeepingTheirSlot) {
    const Loaded r = Load({"[内部コマンド]", "chdir", "FILER", "", "viewx", "[END]"});
    EXPECT_EQ(r.l.commandTable[0], "CHDIR");
    EXPECT_EQ(r.l.commandTable[1], "FILER");
    EXPECT_EQ(r.l.commandTable[2], "EXIT");
    EXPECT_EQ(r.l.commandTable[3], "VIEWX");
    EXPECT_EQ(r.l.commandTable[41], "SHEXE");
    // Reloading refills the built-in names first.
    Loaded again = r;
    LoadSettingsLines({}, again.s, again.l);
    EXPECT_EQ(again.l.commandTable[0], "CD");
    // More than 42 lines: the rest is ignored.
    Lines many = {"[内部コマンド]"};
    for (int i = 0; i < 50; ++i) many.push_back("C" + std::to_string(i));
    EXPECT_EQ(Load(many).l.commandTable.size(), 42u);
    EXPECT_EQ(Load(many).l.commandTable[41], "C41");
}

TEST(SettingsLoaderTest, AliasQuotingRoundTrip) {
    const AliasEntry a{"ed", R"(notepad "a,b".txt)", "C:\\Program Files,x"};
    const AliasEntry b{"plain", "ls", ""};
    EXPECT_EQ(FormatAliasLine(b), "plain,ls");
    TSettingsFile f = TSettingsFile::FromLines({});
    f.WriteListSection("ALIAS", {FormatAliasLine(a), FormatAliasLine(b)});
    const Loaded r = Load(f.Lines());
    ASSERT_EQ(r.l.aliases.size(), 2u);
    EXPECT_EQ(r.l.aliases[0].name, a.name);
    EXPECT_EQ(r.l.aliases[0].expansion, a.expansion);
    EXPECT_EQ(r.l.aliases[0].directory, a.directory);
    EXPECT_EQ(r.l.aliases[1].directory, "");
}

TEST(SettingsLoaderTest, KeyedListsNumberKeylessEntries) {
    Lines lines = {"[LOGDISKLIST]", "c:\\windows,w"};
    for (int i = 0; i < 12; ++i) lines.push_back("c:\\d" + std::to_string(i));
    lines.push_back("[END]");
    const Loaded r = Load(lines);
    ASSERT_EQ(r.l.logList.size(), 13u);
    EXPECT_EQ(r.l.logList[0], "W C:\\WINDOWS");
    EXPECT_EQ(r.l.logList[1], "0 C:\\D0");
    EXPECT_EQ(r.l.logList[10], "9 C:\\D9");
    EXPECT_EQ(r.l.logList[11], "  C:\\D10");
    EXPECT_EQ(r.l.logList[12], "  C:\\D11");
}

// A digit an earlier entry already has is not handed out again: its key
// would call the earlier entry. So once the editor has written every key
// out, an entry left with a blank key reads back blank.
TEST(SettingsLoaderTest, KeylessEntriesSkipDigitsTaken) {
    const Loaded r = Load({"[COPYDIRLIST]", "a,1", "b", "c", "d,3", "e", "[END]"});
    EXPECT_EQ(r.l.copyList, (Lines{"1 A", "0 B", "2 C", "3 D", "4 E"}));
    Lines full = {"[LOGDISKLIST]"};
    for (char d = '0'; d <= '9'; ++d) full.push_back(std::string("x") + d + "," + d);
    full.push_back("blank, ");
    full.push_back("[END]");
    EXPECT_EQ(Load(full).l.logList.back(), "  BLANK");
}

TEST(SettingsLoaderTest, ExtFindAndFunctionSections) {
    const Loaded r = Load({"[EXT]", " txt , Notepad %1 ", "[END]", "[FINDLIST]", "*.cpp", "", "[END]", "[FUNCTION]",
                           "[Help]lshelp", "[Copy] cp", "no bracket", "[END]"});
    ASSERT_EQ(r.l.ext.size(), 1u);
    EXPECT_EQ(r.l.ext[0].ext, "TXT");
    EXPECT_EQ(r.l.ext[0].command, "Notepad %1");
    EXPECT_EQ(r.l.findList, (Lines{"*.cpp"}));
    ASSERT_EQ(r.l.functions.size(), 3u);
    EXPECT_EQ(r.l.functions[0].title, "[HELP]");
    EXPECT_EQ(r.l.functions[0].command, "LSHELP");
    EXPECT_EQ(r.l.functions[1].command, "CP");
    EXPECT_EQ(r.l.functions[2].title, "");
}

TEST(SettingsLoaderTest, EnvironmentValues) {
    const Loaded r = Load({"[環境変数]", "homedir, c:\\work", "CursorStyle, 1", "MENUBAR, 0", "FilerAuto, 2",
                           "SORT, 2, TRUE, true", "unknownkey, 5", "no comma here", "[END]"});
    EXPECT_EQ(r.s.homeDir, "C:\\WORK");  // values come back upper-case
    EXPECT_EQ(r.s.cursorStyle, 1);
    EXPECT_FALSE(r.s.menuBar);
    EXPECT_FALSE(r.s.filerAuto);  // only "1" is true
    EXPECT_EQ(r.s.sort, 2);
    EXPECT_TRUE(r.s.autoSort);
    EXPECT_TRUE(r.s.revSort);
    EXPECT_TRUE(r.s.subDirSize);  // untouched default
}

TEST(SettingsLoaderTest, BadNumbersKeepTheirValue) {
    const Loaded r = Load({"[環境変数]", "PVMAXX, wide", "CURSORSTYLE, 9", "TABWIDTH, 4x", "FILEPITCH, 3",
                           "SORT, 7", "AUTONAME, 9", "FUNCTIONKAZU, 99999999999", "[END]"});
    EXPECT_EQ(r.s.pvMaxX, 800);
    EXPECT_EQ(r.s.cursorStyle, 2);
    EXPECT_EQ(r.s.tabWidth, 8);
    EXPECT_EQ(r.s.filePitch, 3);
    EXPECT_EQ(r.s.sort, 0);      // other values read as 0
    EXPECT_EQ(r.s.autoName, 1);  // other values read as 1
    EXPECT_EQ(r.s.functionKazu, 10);
}

TEST(SettingsLoaderTest, LoadDefaultsAreResetOtherValuesKept) {
    Loaded r = Load({"[環境変数]", "PVMAXX, 1024", "CURSORSTYLE, 0", "AUTONAME, 3", "[END]"});
    EXPECT_EQ(r.s.pvMaxX, 1024);
    LoadSettingsLines({}, r.s, r.l);
    EXPECT_EQ(r.s.pvMaxX, 800);
    EXPECT_EQ(r.s.autoName, 2);
    EXPECT_EQ(r.s.cursorStyle, 0);  // not a load default: kept from memory
}

TEST(SettingsLoaderTest, ViewerEqualToTheTviewNameSelectsTheBuiltInViewer) {
    Loaded r = Load({"[環境変数]", "VIEWER, tview", "[END]"});
    EXPECT_TRUE(r.s.viewMode);
    EXPECT_EQ(r.s.viewer, "NOTEPAD");
    EXPECT_EQ(r.s.effectiveViewer, "TVIEW");
    r = Load({"[内部コマンド]", "", "", "", "", "TV", "[END]", "[環境変数]", "VIEWER, TV", "[END]"});
    EXPECT_TRUE(r.s.viewMode);
    r = Load({"[環境変数]", "VIEWER, less", "[END]"});
    EXPECT_FALSE(r.s.viewMode);
    EXPECT_EQ(r.s.effectiveViewer, "LESS");
    r = Load({"[環境変数]", "VIEWER, less", "VIEWMODE, 1", "[END]"});
    EXPECT_EQ(r.s.effectiveViewer, "TVIEW");
}

TEST(SettingsLoaderTest, MissingEndDoesNotSwallowTheNextSection) {
    const Loaded r = Load({"[ALIAS]", "a,b", "[環境変数]", "MENUBAR, 0", "[END]"});
    ASSERT_EQ(r.l.aliases.size(), 1u);
    EXPECT_FALSE(r.s.menuBar);
}

TEST(SettingsLoaderTest, MissingFileAppliesDefaults) {
    test::TempDir dir;
    Settings s;
    SettingsLists l;
    s.pvMaxX = 5;
    EXPECT_FALSE(LoadSettingsFile(dir.File("absent.cfg"), s, l));
    EXPECT_EQ(s.pvMaxX, 800);
    EXPECT_EQ(l.commandTable.size(), 42u);
}

TEST(SettingsLoaderTest, AnyInputLoads) {
    std::mt19937 rng(7);
    const char* pieces[] = {"[END]", "[ALIAS]", "[環境変数]", "[内部コマンド]", "[FUNCTION]", "[LOGDISKLIST]",
                            "[DIRHISTORY]", ",", ";", "\"", "\"\"", "]", "SORT", "AUTONAME", "\x95", "\xFC",
                            " ", "1", "-2147483649", "[CFG Ver1.1]", "VIEWER", "TVIEW"};
    for (int round = 0; round < 500; ++round) {
        Lines lines;
        const int n = static_cast<int>(rng() % 30);
        for (int i = 0; i < n; ++i) {
            std::string l;
            const int parts = static_cast<int>(rng() % 5);
            for (int k = 0; k < parts; ++k) l += pieces[rng() % (sizeof pieces / sizeof *pieces)];
            lines.push_back(l);
        }
        const Loaded r = Load(lines);
        EXPECT_EQ(r.l.commandTable.size(), 42u);
        EXPECT_LE(r.l.dirHistory.size(), 24u);
        EXPECT_LE(r.l.functions.size(), 12u);
        EXPECT_GE(r.s.sort, 0);
        EXPECT_LE(r.s.sort, 3);
    }
}

TEST(SettingsLoaderTest, ListWithoutEndStopsBeforeASectionItDoesNotKnow) {
    const Loaded r = Load({"[DIRHISTORY]", "C:\\A", "[MYSECTION]", "foo=1", "[END]", "[ALIAS]", "a,b", "[Other]",
                           "x,y", "[END]", "[LOGDISKLIST]", "C:\\L,1", "[x y]", "D:\\M,2", "[END]"});
    EXPECT_EQ(r.l.dirHistory, (Lines{"C:\\A"}));
    ASSERT_EQ(r.l.aliases.size(), 1u);
    EXPECT_EQ(r.l.aliases[0].name, "a");
    EXPECT_EQ(r.l.logList, (Lines{"1 C:\\L"}));
    // Function keys whose title has no command look like headers and are
    // still read, up to the twelve keys.
    Lines keys = {"[FUNCTION]"};
    for (int i = 1; i <= 13; ++i) keys.push_back("[F" + std::to_string(i) + "]");
    keys.insert(keys.end(), {"[ALIAS]", "z,w", "[END]"});
    const Loaded f = Load(keys);
    ASSERT_EQ(f.l.functions.size(), 12u);
    EXPECT_EQ(f.l.functions[11].title, "[F12]");
    EXPECT_EQ(f.l.aliases.size(), 1u);
}

TEST(SettingsLoaderTest, UnknownSectionSurvivesTheCloseUnchanged) {
    // A full history without [END], then a section of the user's: the close
    // puts the current directory first and must not eat that section.
    Lines lines = {"[MYSECTION] ; mine", "keep=1", "[END]", "[DIRHISTORY]"};
    for (int i = 0; i < 24; ++i) lines.push_back("C:\\D" + std::to_string(i));
    lines.insert(lines.end(), {"[MYSECTION2]", "foo=1", "", "bar", "[END]"});
    const Loaded r = Load(lines);
    ASSERT_EQ(r.l.dirHistory.size(), 24u);
    EXPECT_EQ(r.l.dirHistory.back(), "C:\\D23");
    for (int run = 0; run < 3; ++run) {
        TSettingsFile f = TSettingsFile::FromLines(lines);
        CloseState close;
        close.currentDir = "C:\\NEW" + std::to_string(run) + "\\";
        close.dirHistory = Load(lines).l.dirHistory;
        WriteCloseState(f, close);
        lines = f.Lines();
    }
    const std::string text = JoinLinesCrLf(lines);
    EXPECT_EQ(text.find("[MYSECTION] ; mine\r\nkeep=1\r\n[END]\r\n"), 0u) << text;
    EXPECT_NE(text.find("C:\\D20\r\n[END]\r\n[MYSECTION2]\r\nfoo=1\r\n\r\nbar\r\n[END]\r\n"), std::string::npos) << text;
    EXPECT_EQ(Load(lines).l.dirHistory.front(), "C:\\NEW2\\");
}

TEST(SettingsLoaderTest, DuplicateSectionsDoNotMultiplyAtEverySave) {
    Lines lines = {"[ALIAS]", "a,1", "[END]", "[EXEHISTORY]", "ls", "[END]",
                   "[ALIAS]", "b,2", "[END]", "[EXEHISTORY]", "cd", "[END]"};
    for (int run = 0; run < 3; ++run) {
        const Loaded r = Load(lines);
        ASSERT_EQ(r.l.aliases.size(), 2u) << run;
        // A history is read only while it is empty: the second is skipped.
        EXPECT_EQ(r.l.exeHistory, (Lines{"ls"})) << run;
        TSettingsFile f = TSettingsFile::FromLines(lines);
        Lines aliases;
        for (const AliasEntry& a : r.l.aliases) aliases.push_back(FormatAliasLine(a));
        f.WriteListSection("ALIAS", aliases);
        CloseState close;
        close.exeHistory = r.l.exeHistory;
        WriteCloseState(f, close);
        lines = f.Lines();
    }
}

TEST(SettingsLoaderTest, HistoryEntriesThatLookLikeHeadersAreNotStored) {
    TSettingsFile f = TSettingsFile::FromLines({});
    CloseState close;
    close.exeHistory = {"ls", "[END]", "[foo]", "cd ..", "[x];y"};
    WriteCloseState(f, close);
    EXPECT_EQ(Load(f.Lines()).l.exeHistory, (Lines{"ls", "cd .."}));
}

}  // namespace
}  // namespace kestrum
