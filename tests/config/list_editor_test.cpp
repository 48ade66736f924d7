// The settings-menu editors without windows: selection and moves, entry
// validation, the change buttons' line questions and the sections written.
#include "config/list_editor.h"

#include <gtest/gtest.h>

#include "common/prompter.h"
#include "config/settings_loader.h"
#include "tests/fakes/scripted_prompter.h"
#include "tests/test_util.h"

namespace kestrum {
namespace {

using Lines = std::vector<std::string>;

// Keeps the history list each line question offered.
class HistoryPrompter : public ScriptedPrompter {
public:
    bool AskLine(LineQuestion& q) override {
        histories.push_back(q.history);
        return ScriptedPrompter::AskLine(q);
    }
    std::vector<std::vector<std::string>*> histories;
};

class ListEditorTest : public testing::Test {
protected:
    void SetUp() override { state_.settingsPath = dir_.File("Kestrum.Cfg"); }
    Lines FileLines() const { return test::CrLfLines(test::ReadFile(state_.settingsPath)); }
    std::vector<std::string> Messages() const {
        std::vector<std::string> m;
        for (const auto& q : prompter_.Questions()) m.push_back(q.text);
        return m;
    }
    test::TempDir dir_;
    Session state_;
    HistoryPrompter prompter_;
    const Subscription scoped_ = InstallPrompter(prompter_);
};

// ---- shared list editor ------------------------------------------------------------

TEST(MoveItemTest, MovesOneEntryAndShiftsTheRest) {
    struct Case {
        std::size_t from, to;
        Lines want;
    };
    const Case cases[] = {
        {0, 3, {"b", "c", "d", "a"}}, {3, 0, {"d", "a", "b", "c"}}, {1, 2, {"a", "c", "b", "d"}},
        {2, 1, {"a", "c", "b", "d"}}, {2, 2, {"a", "b", "c", "d"}},
    };
    for (const Case& c : cases) {
        Lines v{"a", "b", "c", "d"};
        EXPECT_TRUE(MoveItem(v, c.from, c.to));
        EXPECT_EQ(v, c.want) << c.from << "->" << c.to;
    }
    Lines v{"a", "b"};
    EXPECT_FALSE(MoveItem(v, 2, 0));
    EXPECT_FALSE(MoveItem(v, 0, 2));
    EXPECT_EQ(v, (Lines{"a", "b"}));
}

TEST_F(ListEditorTest, SelectionFollowsTheMovedEntryAndStaysInRange) {
    state_.lists.copyList = {"1 A", "2 B", "3 C"};
    TDirListEditor ed(state_, TDirListEditor::Which::CopyList);
    ed.SelectFirst();
    EXPECT_EQ(ed.Selected(), 0);
    EXPECT_FALSE(ed.Up());  // already at the top
    EXPECT_TRUE(ed.Down());
    EXPECT_EQ(ed.Selected(), 1);
    EXPECT_EQ(ed.Rows(), (Lines{"2 B", "1 A", "3 C"}));
    EXPECT_TRUE(ed.Down());
    EXPECT_FALSE(ed.Down());  // at the bottom
    EXPECT_EQ(ed.Rows(), (Lines{"2 B", "3 C", "1 A"}));
    EXPECT_TRUE(ed.Drag(2, 0));
    EXPECT_EQ(ed.Selected(), 0);
    EXPECT_EQ(ed.Rows(), (Lines{"1 A", "2 B", "3 C"}));
    EXPECT_FALSE(ed.Drag(0, 3));
    EXPECT_FALSE(ed.Drag(1, 1));
    // Deleting the last row selects the new last one; the only row, none.
    ed.Select(2);
    EXPECT_TRUE(ed.DeleteSelected());
    EXPECT_EQ(ed.Selected(), 1);
    ed.Select(0);
    EXPECT_TRUE(ed.DeleteSelected());
    EXPECT_EQ(ed.Selected(), 0);
    EXPECT_EQ(ed.Rows(), (Lines{"2 B"}));
    EXPECT_TRUE(ed.DeleteSelected());
    EXPECT_EQ(ed.Selected(), -1);
    EXPECT_FALSE(ed.HasEntries());
    EXPECT_FALSE(ed.DeleteSelected());
    EXPECT_FALSE(ed.Up());
    EXPECT_FALSE(ed.Down());
    ed.SelectFirst();
    EXPECT_EQ(ed.Selected(), -1);
    // The running list is untouched until OK.
    EXPECT_EQ(state_.lists.copyList, (Lines{"1 A", "2 B", "3 C"}));
}

// ---- aliases ------------------------------------------------------------------------

TEST_F(ListEditorTest, AliasEditorMovesAllThreeFieldsAndWritesOnlyOnCommit) {
    test::WriteFile(state_.settingsPath, "; mine\r\n[ALIAS]\r\nold,x\r\n[END]\r\n[UNKNOWN]\r\nk=v\r\n");
    state_.lists.aliases = {{"ed", "notepad", "C:\\TEMP"}, {"a,b", "prog \"x\",y", ""}};
    TAliasEditor ed(state_);
    EXPECT_EQ(ed.Caption(), "エイリアス編集");
    EXPECT_EQ(ed.Rows(), (Lines{"ed", "a,b"}));
    ed.SelectFirst();
    ASSERT_TRUE(ed.Down());
    ed.Store(-1, {"表示", "view /$C", "D:\\ソフト\\"});
    EXPECT_EQ(ed.Selected(), 2);
    ed.Store(0, {"ab", "prog", ""});
    EXPECT_EQ(ed.Selected(), 0);
    EXPECT_EQ(state_.lists.aliases.size(), 2u);
    EXPECT_EQ(FileLines()[2], "old,x");
    ASSERT_TRUE(ed.Commit());
    EXPECT_EQ(state_.lists.aliases[1].directory, "C:\\TEMP");
    EXPECT_EQ(FileLines(), (Lines{"; mine", "[ALIAS]", "ab,prog", "ed,notepad,C:\\TEMP", "表示,view /$C,D:\\ソフト\\",
                                  "[END]", "[UNKNOWN]", "k=v"}));
    // What was written reads back as it was edited.
    Settings s;
    SettingsLists lists;
    ASSERT_TRUE(LoadSettingsFile(state_.settingsPath, s, lists));
    ASSERT_EQ(lists.aliases.size(), 3u);
    EXPECT_EQ(lists.aliases[2].name, "表示");
    EXPECT_EQ(lists.aliases[2].directory, "D:\\ソフト\\");
}

TEST_F(ListEditorTest, AliasEntryIsTrimmedAndNeedsNameAndExpansion) {
    struct Case {
        AliasEntry in;
        bool ok;
        const char* message;
    };
    const Case cases[] = {
        {{"", "notepad", ""}, false, "エイリアス名が入力されていません"},
        {{"  \t", "", ""}, false, "エイリアス名が入力されていません"},  // the name is checked first
        {{"ed", " ", "C:\\"}, false, "ファイル名が入力されていません"},
        {{" ed ", " notepad  ", "  "}, true, nullptr},
    };
    for (const Case& c : cases) {
        prompter_.Clear();
        AliasEntry e = c.in;
        EXPECT_EQ(TAliasEditor::Validate(e), c.ok) << c.in.name;
        if (c.message) {
            EXPECT_EQ(Messages(), (Lines{c.message}));
        } else {
            EXPECT_TRUE(Messages().empty());
            EXPECT_EQ(e.name, "ed");
            EXPECT_EQ(e.expansion, "notepad");
            EXPECT_EQ(e.directory, "");
        }
    }
}

TEST_F(ListEditorTest, AliasChangeButtonsAskTheLineQuestions) {
    state_.lists.exeHistory = {"notepad"};
    state_.lists.dirHistory = {"C:\\"};
    TAliasEditor ed(state_);
    prompter_.AnswerLine("notepad /$C");
    prompter_.AnswerLine(std::nullopt);
    std::string expansion = "old";
    EXPECT_TRUE(ed.AskExpansion(expansion));
    EXPECT_EQ(expansion, "notepad /$C");
    std::string dir = "C:\\TEMP";
    EXPECT_FALSE(ed.AskDirectory(dir));
    EXPECT_EQ(dir, "C:\\TEMP");  // cancelled: unchanged
    const auto& asked = prompter_.LineQuestions();
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].title, "エイリアス::ファイル名");
    EXPECT_EQ(asked[0].prompt, "ファイル名を入れてください\r\nオプションも同時に指定出来ます");
    EXPECT_EQ(asked[0].mode, amFreeText);
    EXPECT_EQ(asked[0].text, "old");
    EXPECT_EQ(asked[1].title, "エイリアス::起動ディレクトリ");
    EXPECT_EQ(asked[1].prompt, "起動ディレクトリを入力してください");
    EXPECT_EQ(asked[1].mode, 0);
    EXPECT_EQ(asked[1].text, "C:\\TEMP");
    EXPECT_EQ(prompter_.histories, (std::vector<std::vector<std::string>*>{&state_.lists.exeHistory,
                                                                           &state_.lists.dirHistory}));
}

TEST_F(ListEditorTest, UnwritableFileIsReportedAndTheListsAreStillTaken) {
    state_.settingsPath = dir_.Path() + "/no/such/Kestrum.Cfg";
    state_.lists.logList = {"1 C:\\"};
    TDirListEditor ed(state_, TDirListEditor::Which::LogList);
    ed.SelectFirst();
    ed.DeleteSelected();
    EXPECT_FALSE(ed.Commit());
    EXPECT_TRUE(state_.lists.logList.empty());
    ASSERT_EQ(prompter_.Questions().size(), 1u);
    EXPECT_EQ(prompter_.Questions()[0].type, MsgType::Error);
}

// ---- directory lists -------------------------------------------------------------------

TEST_F(ListEditorTest, DirectoryEntriesKeepKeyBlankDirectory) {
    state_.lists.logList = {"1 C:\\WINDOWS", "  D:\\NOKEY", "A \x95\x5C\\"};  // "表\" : a trail byte 0x5C
    TDirListEditor ed(state_, TDirListEditor::Which::LogList);
    EXPECT_EQ(ed.Caption(), "ディレクトリ変更先リスト");
    EXPECT_EQ(std::string(ed.Section()), "LOGDISKLIST");
    const DirListEntry fresh = ed.Draft(-1);
    EXPECT_EQ(fresh.directory, "");
    EXPECT_EQ(fresh.key, "1");
    EXPECT_EQ(ed.Draft(0).directory, "C:\\WINDOWS");
    EXPECT_EQ(ed.Draft(0).key, "1");
    EXPECT_EQ(ed.Draft(1).key, " ");
    EXPECT_EQ(ed.Draft(1).directory, "D:\\NOKEY");
    // Only the key is put in upper case; trail bytes 0x61-0x7A of the
    // directory (ソ is 0x83 0x5C, ャ is 0x83 0x62) stay as they are.
    ed.Store(-1, {"c:\\\x83\x62x", "z"});
    EXPECT_EQ(ed.Rows().back(), "Z c:\\\x83\x62x");
    EXPECT_EQ(ed.Selected(), 3);
    ed.Store(1, {"E:\\", "q"});
    EXPECT_EQ(ed.Rows()[1], "Q E:\\");
    EXPECT_EQ(TDirListEditor::SectionLine("A \x95\x5C\\"), "\x95\x5C\\,A");
    EXPECT_EQ(TDirListEditor::SectionLine("b x"), "x,B");
}

TEST_F(ListEditorTest, DirectoryEntryNeedsDirectoryAndASingleByteKey) {
    struct Case {
        DirListEntry in;
        const char* message;  // nullptr: accepted
        const char* key;
    };
    const Case cases[] = {
        {{"  ", "1"}, "ディレクトリ名が入力されていません", ""},
        {{"", ""}, "ディレクトリ名が入力されていません", ""},
        {{"C:\\", " "}, "呼び出しキーが入力されていません", ""},
        {{"C:\\", "\x95\x5C"}, "呼び出しキーが入力されていません", ""},  // a double-byte character
        {{" C:\\ ", " a "}, nullptr, "a"},
        {{"C:\\", "\xB1"}, nullptr, "\xB1"},  // half-width katakana is one byte
    };
    for (const Case& c : cases) {
        prompter_.Clear();
        DirListEntry e = c.in;
        EXPECT_EQ(TDirListEditor::Validate(e), c.message == nullptr) << c.in.directory << "|" << c.in.key;
        if (c.message) {
            EXPECT_EQ(Messages(), (Lines{c.message}));
        } else {
            EXPECT_TRUE(Messages().empty());
            EXPECT_EQ(e.directory, "C:\\");
            EXPECT_EQ(e.key, c.key);
        }
    }
    EXPECT_EQ(TDirListEditor::KeyFromTyped('a'), "a");
    EXPECT_EQ(TDirListEditor::KeyFromTyped('5'), "5");
    for (unsigned char bad : {0x00, 0x08, 0x0D, 0x20, 0x7F, 0x81, 0x95, 0xE0, 0xFC}) {
        EXPECT_EQ(TDirListEditor::KeyFromTyped(bad), "") << int(bad);
    }
}

TEST_F(ListEditorTest, DirectoryListIsWrittenAsDirectoryCommaKeyAndReadsBack) {
    test::WriteFile(state_.settingsPath,
                    "[LOGDISKLIST]\r\nc:\\old,1\r\n[END]\r\n[COPYDIRLIST]\r\nD:\\BACKUP,B\r\n[END]\r\n");
    state_.lists.logList = {"1 C:\\OLD"};
    state_.lists.copyList = {"B D:\\BACKUP"};
    TDirListEditor ed(state_, TDirListEditor::Which::LogList);
    ed.SelectFirst();
    ed.DeleteSelected();
    ed.Store(-1, {"C:\\\x83\x5C\x83\x74\x83\x67", "w"});  // C:\ソフト
    ed.Store(-1, {"C:\\TEMP", "2"});
    ASSERT_TRUE(ed.Up());
    ASSERT_TRUE(ed.Commit());
    EXPECT_EQ(FileLines(), (Lines{"[LOGDISKLIST]", "C:\\TEMP,2", "C:\\\x83\x5C\x83\x74\x83\x67,W", "[END]",
                                  "[COPYDIRLIST]", "D:\\BACKUP,B", "[END]"}));
    EXPECT_EQ(state_.lists.logList, (Lines{"2 C:\\TEMP", "W C:\\\x83\x5C\x83\x74\x83\x67"}));
    EXPECT_EQ(state_.lists.copyList, (Lines{"B D:\\BACKUP"}));
    Settings s;
    SettingsLists lists;
    ASSERT_TRUE(LoadSettingsFile(state_.settingsPath, s, lists));
    EXPECT_EQ(lists.logList, state_.lists.logList);
    EXPECT_EQ(lists.copyList, state_.lists.copyList);
}

TEST_F(ListEditorTest, CopyListWithoutEndDoesNotSwallowTheNextSection) {
    test::WriteFile(state_.settingsPath, "[COPYDIRLIST]\r\nD:\\A,1\r\n[ALIAS]\r\ned,notepad\r\n[END]\r\n");
    state_.lists.copyList = {"1 D:\\A"};
    TDirListEditor ed(state_, TDirListEditor::Which::CopyList);
    EXPECT_EQ(ed.Caption(), "コピー先ディレクトリリスト");
    ed.Store(-1, {"E:\\B", "2"});
    ASSERT_TRUE(ed.Commit());
    EXPECT_EQ(FileLines(), (Lines{"[COPYDIRLIST]", "D:\\A,1", "E:\\B,2", "[END]", "[ALIAS]", "ed,notepad", "[END]"}));
}

TEST_F(ListEditorTest, DirectoryChangeButtonAsksForADirectory) {
    state_.lists.dirHistory = {"C:\\"};
    TDirListEditor ed(state_, TDirListEditor::Which::CopyList);
    prompter_.AnswerLine("D:\\WORK");
    std::string dir = "C:\\";
    EXPECT_TRUE(ed.AskDirectory(dir));
    EXPECT_EQ(dir, "D:\\WORK");
    ASSERT_EQ(prompter_.LineQuestions().size(), 1u);
    const LineQuestion& q = prompter_.LineQuestions()[0];
    EXPECT_EQ(q.title, "変更するディレクトリリスト");
    EXPECT_EQ(q.prompt, "ディレクトリ名を入力してください");
    EXPECT_EQ(q.mode, 0);
    EXPECT_EQ(q.text, "C:\\");
    EXPECT_EQ(prompter_.histories, (std::vector<std::vector<std::string>*>{&state_.lists.dirHistory}));
}

// ---- function keys ------------------------------------------------------------------------

TEST(FunctionTitleTest, BracketsAreTakenOff) {
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {"[F1]", "F1"}, {"[]", ""}, {"", ""}, {"[", "["}, {"]", "]"}, {"X]", "X]"},
        {"[\x83\x5D]", "\x83\x5D"},  // a trail byte 0x5D inside is no bracket
        {"[\x81\x5D", "[\x81\x5D"},  // ends in a trail byte 0x5D, not in "]"
    };
    for (const Case& c : cases) EXPECT_EQ(TFunctionEditor::BareTitle(c.in), c.out) << c.in;
}

TEST_F(ListEditorTest, FunctionTitlesMoveWithTheirCommandsAndAreWrittenBracketed) {
    test::WriteFile(state_.settingsPath, "[FUNCTION]\r\n[VIEW]TVIEW\r\n[EDIT]EDIT\r\n[END]\r\n");
    state_.lists.functions = {{"[VIEW]", "TVIEW"}, {"[EDIT]", "EDIT /$C"}, {"", "NOTITLE"}};
    TFunctionEditor ed(state_);
    EXPECT_EQ(ed.Caption(), "ファンクションのカスタマイズ");
    EXPECT_EQ(ed.Rows(), (Lines{"VIEW", "EDIT", ""}));
    EXPECT_EQ(ed.EntryCaption(1), "ファンクション2の設定");
    EXPECT_EQ(ed.EntryCaption(-1), "ファンクション4の設定");
    EXPECT_EQ(ed.Draft(0), "VIEW");
    ASSERT_TRUE(ed.Drag(0, 2));
    ed.Store(1, "無題");
    ed.Store(0, "Edit");
    ASSERT_TRUE(ed.Commit());
    EXPECT_EQ(FileLines(), (Lines{"[FUNCTION]", "[Edit]EDIT /$C", "[無題]NOTITLE", "[VIEW]TVIEW", "[END]"}));
    ASSERT_EQ(state_.lists.functions.size(), 3u);
    EXPECT_EQ(state_.lists.functions[1].title, "[無題]");
    EXPECT_EQ(state_.lists.functions[1].command, "NOTITLE");
    Settings s;
    SettingsLists lists;
    ASSERT_TRUE(LoadSettingsFile(state_.settingsPath, s, lists));
    ASSERT_EQ(lists.functions.size(), 3u);
    EXPECT_EQ(lists.functions[0].title, "[EDIT]");
    EXPECT_EQ(lists.functions[0].command, "EDIT /$C");
}

TEST_F(ListEditorTest, FunctionKeysStopAtTwelveAndNeedATitle) {
    for (int i = 0; i < 11; ++i) state_.lists.functions.push_back({"[F]", "C" + std::to_string(i)});
    TFunctionEditor ed(state_);
    EXPECT_TRUE(ed.CanAdd());
    ed.Store(-1, "NEW");
    EXPECT_EQ(ed.Selected(), 11);
    EXPECT_EQ(ed.Commands().back(), "");
    EXPECT_FALSE(ed.CanAdd());
    ed.Store(-1, "MORE");
    EXPECT_EQ(ed.Count(), 12u);
    ed.Select(3);
    ed.DeleteSelected();
    EXPECT_EQ(ed.Commands()[3], "C4");
    EXPECT_TRUE(ed.CanAdd());

    std::string blank = " \t ";
    EXPECT_FALSE(TFunctionEditor::Validate(blank));
    EXPECT_EQ(Messages(), (Lines{"タイトルが入力されていません"}));
    std::string padded = "  コピー ";
    EXPECT_TRUE(TFunctionEditor::Validate(padded));
    EXPECT_EQ(padded, "コピー");
}

TEST_F(ListEditorTest, FunctionKeysNotEditedAreWrittenAsTheyWereRead) {
    // No title, and a title without its opening bracket: both read back the
    // same only when written as they were.
    test::WriteFile(state_.settingsPath, "[FUNCTION]\r\nLSHELP\r\nABC]LS\r\n[F3]VIEW\r\n[END]\r\n");
    ASSERT_TRUE(LoadSettingsFile(state_.settingsPath, state_.settings, state_.lists));
    const std::vector<FunctionKey> read = state_.lists.functions;
    TFunctionEditor ed(state_);
    ed.Store(2, "F3");  // the same title typed again
    ASSERT_TRUE(ed.Commit());
    EXPECT_EQ(FileLines(), (Lines{"[FUNCTION]", "LSHELP", "ABC]LS", "[F3]VIEW", "[END]"}));
    Settings s;
    SettingsLists lists;
    ASSERT_TRUE(LoadSettingsFile(state_.settingsPath, s, lists));
    EXPECT_EQ(lists.functions, read);
    EXPECT_EQ(state_.lists.functions, read);
}

}  // namespace
}  // namespace kestrum
