// The command box's logic without windows: history browsing, completion over
// a fake directory search, the picker's row rules and the key handler.
#include "shell/command_box.h"

#include <gtest/gtest.h>

#include "common/sjis.h"
#include "config/settings.h"
#include "tests/common/mem_file_system.h"
#include "tests/fakes/scripted_prompter.h"

namespace kestrum {
namespace {

// Directories held in memory, each listing its entries in the order given;
// the current directory E:\CUR lies on a drive that is no fixed disk.
class FakeLister : public test::MemFileSystem {
public:
    struct Entry {
        std::string name;
        bool directory = false;
    };
    FakeLister() {
        SetCurrentDir("E:\\CUR");
        SetFixed("C");
    }
    // Fills dir ("" for the current directory) with entries, replacing what
    // it held; "." and ".." come with every directory that is no root.
    void Fill(const std::string& dir, const std::vector<Entry>& entries) {
        const std::string path = dir.empty() ? std::string("E:\\CUR") : ExcludeTrailingBackslash(dir);
        const std::string prefix = IncludeTrailingBackslash(path);
        AddDir(path);
        for (const std::string& name : Names(path)) Erase(prefix + name);
        for (const Entry& e : entries) {
            if (e.name == "." || e.name == "..") continue;
            if (e.directory) {
                AddDir(prefix + e.name);
            } else {
                AddFile(prefix + e.name);
            }
        }
    }
    // The drives that are fixed disks; the others with a root are removable.
    void SetFixed(const std::string& letters) {
        for (char d = 'A'; d <= 'Z'; ++d) {
            SetDriveType(d, letters.find(d) != std::string::npos ? kDriveFixed : kDriveRemovable);
        }
    }
    std::vector<std::string> Patterns() const { return Log(Op::Find); }
};

FakeLister Sample() {
    FakeLister l;
    l.Fill("", {{".", true}, {"..", true}, {"WINDOWS", true}, {"WINAPP", true}, {"WinNote.txt", false},
                {"readme.txt", false}, {"表計算", true}, {"ｱﾙﾊﾞﾑ.txt", false}});
    l.Fill("WINDOWS\\", {{"SYSTEM", true}, {"win.ini", false}});
    l.Fill("C:\\", {{"WORK", true}, {"WINNT", true}});
    l.Fill("D:\\", {{"WORK2", true}});
    return l;
}

// ---- history ---------------------------------------------------------------

TEST(HistoryBrowsing, BackTwiceAndForwardReturnsToTheTypedText) {
    std::vector<std::string> h = {"cd c:\\a", "dir", "cd d:\\b", "cls"};
    HistoryBrowser b;
    auto match = [](const std::string& e, const std::string& p) { return HistoryMatches(e, p); };
    const std::string prefix = b.BeginBack(h, "cd");
    EXPECT_EQ(h.front(), "cd");
    EXPECT_EQ(b.StepBack(h, prefix, match).value_or(""), "cd c:\\a");
    EXPECT_EQ(b.StepBack(h, prefix, match).value_or(""), "cd d:\\b");
    EXPECT_FALSE(b.StepBack(h, prefix, match).has_value());
    EXPECT_EQ(b.historyIndex, 3);
    EXPECT_EQ(b.StepForward(h, h[0], match).value_or(""), "cd c:\\a");
    EXPECT_EQ(b.StepForward(h, h[0], match).value_or(""), "cd");
    EXPECT_FALSE(b.StepForward(h, h[0], match).has_value());
    b.EndBrowsing(h);
    EXPECT_EQ(h, (std::vector<std::string>{"cd c:\\a", "dir", "cd d:\\b", "cls"}));
}

TEST(HistoryBrowsing, ForwardEndsAtAnEmptyTypedText) {
    std::vector<std::string> h = {"one", "two"};
    HistoryBrowser b;
    auto match = [](const std::string& e, const std::string& p) { return HistoryMatches(e, p); };
    const std::string prefix = b.BeginBack(h, "");
    EXPECT_EQ(b.StepBack(h, prefix, match).value_or("-"), "one");
    EXPECT_EQ(b.StepBack(h, prefix, match).value_or("-"), "two");
    EXPECT_EQ(b.StepForward(h, h[0], match).value_or("-"), "one");
    EXPECT_EQ(b.StepForward(h, h[0], match).value_or("-"), "");
}

TEST(HistoryBrowsing, AnEditRestartsFromTheTypedSlot) {
    std::vector<std::string> h = {"abc", "abd", "xyz"};
    HistoryBrowser b;
    auto match = [](const std::string& e, const std::string& p) { return HistoryMatches(e, p); };
    b.BeginBack(h, "a");
    ASSERT_TRUE(b.StepBack(h, "a", match));
    b.Observe("x");  // the user typed over the shown entry
    EXPECT_EQ(b.historyIndex, 0);
    EXPECT_FALSE(b.typedSlotFresh);
    const std::string prefix = b.BeginBack(h, "x");
    EXPECT_EQ(prefix, "x");
    EXPECT_EQ(h.size(), 4u);  // replaced, not inserted again
    EXPECT_EQ(b.StepBack(h, prefix, match).value_or(""), "xyz");
}

TEST(HistoryBrowsing, WildcardsInTheTypedPrefix) {
    EXPECT_TRUE(HistoryMatches("cd c:\\x", "c?"));
    EXPECT_TRUE(HistoryMatches("copy a b", "co*zzz"));  // "*" ends the prefix
    EXPECT_FALSE(HistoryMatches("dir", "cd"));
    EXPECT_FALSE(HistoryMatches("", ""));
    std::vector<std::string> h = {"typed", "cp a", "cd x", "c"};
    auto match = [](const std::string& e, const std::string& p) { return HistoryMatches(e, p); };
    EXPECT_EQ(MatchingEntries(h, "c?", match), (std::vector<std::string>{"cp a", "cd x"}));
}

// ---- completion -------------------------------------------------------------

struct CompletionCase {
    const char* name;
    std::string text;
    int caret;
    CompleteMode mode;
    std::string wantText;
    int wantCaret;
};

TEST(Completion, SingleCandidates) {
    const CompletionCase cases[] = {
        {"directory gets a backslash", "cd windows\\sys", 14, CompleteMode::FilesAndDirs, "cd windows\\SYSTEM\\", 18},
        {"file gets a blank", "edit rea", 8, CompleteMode::FilesAndDirs, "edit readme.txt ", 16},
        {"text after the caret stays", "type rea | more", 8, CompleteMode::FilesAndDirs,
         "type readme.txt  | more", 16},
        {"files only skips directories", "x win", 5, CompleteMode::FilesOnly, "x WinNote.txt ", 14},
        {"slashes are turned", "x windows/w", 11, CompleteMode::FilesOnly, "x windows\\win.ini ", 18},
        {"no word, no change", "zzz qqq", 7, CompleteMode::FilesAndDirs, "zzz qqq", 7},
    };
    for (const auto& c : cases) {
        FakeLister l = Sample();
        ScriptedPrompter p;
        BoxText box{c.text, c.caret};
        CompletionRequest req;
        req.mode = c.mode;
        Complete(box, req, l, p);
        EXPECT_EQ(box.text, c.wantText) << c.name;
        EXPECT_EQ(box.caret, c.wantCaret) << c.name;
        EXPECT_TRUE(p.ListsShown().empty()) << c.name;
    }
}

TEST(Completion, ChangeDirectoryListsDirectoriesWithTheUpperCasePrefix) {
    FakeLister l = Sample();
    ScriptedPrompter p;
    BoxText box{"CD win", 6};
    CompletionRequest req;  // F6: files and directories
    Complete(box, req, l, p);
    EXPECT_EQ(box.text, "CD WIN");
    EXPECT_EQ(box.caret, 6);
    ASSERT_EQ(p.ListsShown().size(), 1u);
    EXPECT_EQ(p.ListsShown()[0], (std::vector<std::string>{"WINDOWS\\", "WINAPP\\"}));
}

TEST(Completion, PickerAnswers) {
    {
        FakeLister l = Sample();
        ScriptedPrompter p;
        p.AnswerList(ListPick{ListResult::Ok, "WINAPP\\", 1});
        BoxText box{"x win", 5};
        Complete(box, CompletionRequest{}, l, p);
        EXPECT_EQ(box.text, "x WINAPP\\");
    }
    {   // a typed letter that leaves one candidate completes it
        FakeLister l = Sample();
        ScriptedPrompter p;
        p.AnswerList(ListPick{ListResult::Typed, "", -1, 'd'});
        BoxText box{"x win", 5};
        Complete(box, CompletionRequest{}, l, p);
        EXPECT_EQ(box.text, "x WINDOWS\\");
    }
    {   // a letter no candidate has next is typed into the box
        FakeLister l = Sample();
        ScriptedPrompter p;
        p.AnswerList(ListPick{ListResult::Typed, "", -1, 'q'});
        BoxText box{"x win tail", 5};
        Complete(box, CompletionRequest{}, l, p);
        EXPECT_EQ(box.text, "x WINq tail");
        EXPECT_EQ(box.caret, 6);
    }
    {   // several left: the list is shown again with the longer prefix
        FakeLister l = Sample();
        l.Fill("", {{"ABC1", true}, {"ABC2", true}, {"ABD", true}});
        ScriptedPrompter p;
        p.AnswerList(ListPick{ListResult::Typed, "", -1, 'c'});
        BoxText box{"x a", 3};
        Complete(box, CompletionRequest{}, l, p);
        ASSERT_EQ(p.ListsShown().size(), 2u);
        EXPECT_EQ(p.ListsShown()[1], (std::vector<std::string>{"ABC1\\", "ABC2\\"}));
        EXPECT_EQ(box.text, "x ABC");  // cancelled the second time
    }
    {   // an editing key goes back to the box
        FakeLister l = Sample();
        ScriptedPrompter p;
        p.AnswerList(ListPick{ListResult::Typed, "", -1, 0, kKeyBack});
        BoxText box{"x win", 5};
        const CompletionOutcome o = Complete(box, CompletionRequest{}, l, p);
        EXPECT_EQ(o.postKey, kKeyBack);
        EXPECT_EQ(box.text, "x WIN");
    }
}

TEST(Completion, EveryFixedDiskForQuestionMarkDrive) {
    FakeLister l = Sample();
    l.SetFixed("CD");
    ScriptedPrompter p;
    BoxText box{"cd ?:\\w", 7};
    Complete(box, CompletionRequest{}, l, p);
    ASSERT_EQ(p.ListsShown().size(), 1u);
    EXPECT_EQ(p.ListsShown()[0], (std::vector<std::string>{"C:\\WORK\\", "C:\\WINNT\\", "D:\\WORK2\\"}));
    EXPECT_EQ(box.text, "cd ");  // C and D have no common prefix
}

TEST(Completion, ShiftKeepsOnlyJapaneseNames) {
    FakeLister l = Sample();
    ScriptedPrompter p;
    BoxText box{"", 0};
    CompletionRequest req;
    req.shift = true;
    Complete(box, req, l, p);
    ASSERT_EQ(p.ListsShown().size(), 1u);
    EXPECT_EQ(p.ListsShown()[0], (std::vector<std::string>{"表計算\\", "ｱﾙﾊﾞﾑ.txt "}));
}

TEST(Completion, MaskLimitsFiles) {
    FakeLister l = Sample();
    const auto names = ListCandidates("", "", CompleteMode::FilesOnly, false, "*.EXE", l);
    EXPECT_TRUE(names.empty());
    EXPECT_EQ(ListCandidates("re", "", CompleteMode::FilesOnly, false, "*.TXT", l),
              (std::vector<std::string>{"readme.txt "}));
}

TEST(Completion, WholeTextIsThePathForLineQuestions) {
    FakeLister l = Sample();
    ScriptedPrompter p;
    BoxText box{"cd x", 4};
    CompletionRequest req;
    req.wholeTextIsPath = true;
    Complete(box, req, l, p);
    EXPECT_EQ(box.text, "cd x");  // "cd x*" is searched as it stands
    EXPECT_EQ(l.Patterns(), (std::vector<std::string>{"cd x*"}));
}

TEST(CommonPrefix, CutsOnCharacterBoundaries) {
    EXPECT_EQ(CommonPrefix({"Windows\\", "winapp\\"}), "WIN");
    EXPECT_EQ(CommonPrefix({"abc"}), "ABC");
    EXPECT_EQ(CommonPrefix({}), "");
    // Two kanji that share their lead byte have no common prefix.
    const std::string a = "\x95\x5C" "A";
    const std::string b = "\x95\x5D" "A";
    EXPECT_EQ(CommonPrefix({a, b}), "");
    // Trail bytes in a-z are not upper-cased.
    const std::string c = "\x83\x61x";  // trail byte 0x61
    EXPECT_EQ(CommonPrefix({c, c + "y"}), "\x83\x61X");
}

// ---- picker rows -------------------------------------------------------------

TEST(PickerRows, NumbersAndTypedCharacters) {
    std::vector<std::string> entries;
    for (int i = 0; i < 12; ++i) entries.push_back("e" + std::to_string(i));
    const auto rows = NumberRows(entries);
    EXPECT_EQ(rows[0], "0 e0");
    EXPECT_EQ(rows[9], "9 e9");
    EXPECT_EQ(rows[10], "  e10");

    PickerTyped t = PickerChar(rows, '3', false);
    EXPECT_EQ(t.kind, PickerTyped::Choose);
    EXPECT_EQ(t.row, 3);
    EXPECT_EQ(PickerChar(rows, ' ', false).kind, PickerTyped::Ignore);
    EXPECT_EQ(PickerChar(rows, 'x', false).kind, PickerTyped::Ignore);
    // Completion mode: digits that number a row still choose; anything else goes back.
    EXPECT_EQ(PickerChar(rows, '3', true).kind, PickerTyped::Choose);
    EXPECT_EQ(PickerChar(rows, 'x', true).kind, PickerTyped::HandOver);
    EXPECT_EQ(PickerChar({"0 a", "1 b"}, '5', true).kind, PickerTyped::HandOver);

    const std::vector<std::string> keyed = {"a C:\\A", "b C:\\B", "A C:\\AA"};
    t = PickerChar(keyed, 'a', false);
    EXPECT_EQ(t.kind, PickerTyped::Narrow);
    EXPECT_EQ(t.rows, (std::vector<int>{0, 2}));
    t = PickerChar(keyed, 'B', false);
    EXPECT_EQ(t.kind, PickerTyped::Choose);
    EXPECT_EQ(t.row, 1);
}

// ---- editing actions -----------------------------------------------------------

TEST(EditActions, WholeCharactersAroundTheCaret) {
    const std::string hyo = "\x95\x5C";  // 表: its trail byte is "\"
    BoxText b{"a" + hyo + "b", 3};
    CaretLeft(b);
    EXPECT_EQ(b.caret, 1);
    CaretLeft(b);
    EXPECT_EQ(b.caret, 0);
    CaretLeft(b);
    EXPECT_EQ(b.caret, 0);
    CaretRight(b);
    CaretRight(b);
    EXPECT_EQ(b.caret, 3);
    b.caret = 3;
    DeleteCharBeforeCaret(b);
    EXPECT_EQ(b.text, "ab");
    EXPECT_EQ(b.caret, 1);
    b = {"x" + hyo + "yz", 2};  // inside the character: taken as its start
    DeleteAfterCaret(b);
    EXPECT_EQ(b.text, "x");
    EXPECT_EQ(b.caret, 1);
    b = {"", 0};
    DeleteCharBeforeCaret(b);
    CaretRight(b);
    EXPECT_EQ(b.caret, 0);
}

// ---- key handler -----------------------------------------------------------------

class KeyHandlerTest : public testing::Test {
protected:
    KeyHandlerTest() {
        env_.history = &history_;
        env_.settings = &settings_;
        env_.fs = &lister_;
        env_.prompter = &prompter_;
        env_.run = [this](const std::string& line) {
            ran_.push_back(line);
            return result_;
        };
    }
    bool Key(int key, bool shift = false, bool ctrl = false) {
        return logic_.KeyDown(KeyInput{key, shift, ctrl, false}, box_, env_);
    }
    std::vector<std::string> history_ = {"cd c:\\old", "dir", "cd d:\\"};
    Settings settings_;
    FakeLister lister_ = Sample();
    ScriptedPrompter prompter_;
    BoxEnv env_;
    CommandBoxLogic logic_;
    BoxText box_;
    std::vector<std::string> ran_;
    int result_ = 1;
};

TEST_F(KeyHandlerTest, EnterRunsAndStoresTheLine) {
    box_ = {"dir", 3};
    EXPECT_TRUE(Key(kKeyReturn));
    EXPECT_EQ(ran_, (std::vector<std::string>{"dir"}));
    EXPECT_EQ(box_.text, "");
    EXPECT_EQ(history_.front(), "dir");
    EXPECT_EQ(history_.size(), 3u);  // the old "dir" went

    result_ = 0;
    box_ = {"nosuch", 6};
    EXPECT_TRUE(Key(kKeyReturn));
    EXPECT_EQ(box_.text, "nosuch");
    EXPECT_EQ(history_.front(), "dir");

    result_ = 1;
    box_ = {"c:", 2};
    Key(kKeyReturn);
    EXPECT_EQ(ran_.back(), "c:");
    EXPECT_EQ(history_.front(), "dir");  // drive only: not stored
}

TEST_F(KeyHandlerTest, EnterAfterBrowsingDropsTheTypedSlot) {
    box_ = {"cd", 2};
    Key(kKeyUp);
    EXPECT_EQ(box_.text, "cd c:\\old");
    EXPECT_EQ(history_.size(), 4u);
    result_ = 0;
    Key(kKeyReturn);
    EXPECT_EQ(history_, (std::vector<std::string>{"cd c:\\old", "dir", "cd d:\\"}));
    EXPECT_EQ(logic_.Browser().historyIndex, -1);
}

TEST_F(KeyHandlerTest, MenuHistoryOffersTheMatchingEntries) {
    settings_.menuHistory = true;
    prompter_.AnswerList(ListPick{ListResult::Ok, "cd d:\\", 1});
    box_ = {"cd", 2};
    Key(kKeyUp);
    ASSERT_EQ(prompter_.ListsShown().size(), 1u);
    EXPECT_EQ(prompter_.ListsShown()[0], (std::vector<std::string>{"cd c:\\old", "cd d:\\"}));
    EXPECT_EQ(box_.text, "cd d:\\");
    EXPECT_EQ(box_.caret, 6);
}

TEST_F(KeyHandlerTest, HomeShiftModeZeroKeys) {
    settings_.homeShiftMode = 0;
    box_ = {"abc def", 3};
    EXPECT_TRUE(Key(kKeyLeft, true));
    EXPECT_EQ(box_.caret, 0);
    EXPECT_TRUE(Key(kKeyRight, true));
    EXPECT_EQ(box_.caret, 7);
    EXPECT_FALSE(Key(kKeyLeft));
    EXPECT_TRUE(Key(kKeyHome, true));
    EXPECT_EQ(box_.text, "");
    EXPECT_EQ(history_.front(), "abc def");
    settings_.homeShiftMode = 1;
    EXPECT_FALSE(Key(kKeyHome));
    EXPECT_FALSE(Key(kKeyLeft, true));
}

TEST_F(KeyHandlerTest, CtrlUpAndTheFilerBox) {
    int focused = 0;
    env_.focusFiler = [&] { ++focused; };
    EXPECT_TRUE(Key(kKeyUp, false, true));
    EXPECT_EQ(focused, 1);
    CommandBoxLogic filer(kFilerBox);
    BoxText empty;
    EXPECT_TRUE(filer.KeyDown(KeyInput{kKeyReturn}, empty, env_));
    EXPECT_EQ(focused, 2);
    EXPECT_TRUE(ran_.empty());
    EXPECT_FALSE(logic_.KeyDown(KeyInput{kKeyUp, false, false, true}, box_, env_));  // Alt: the control's
}

TEST_F(KeyHandlerTest, LineInputVariant) {
    CommandBoxLogic line(kLineInputBox);
    int accepted = 0;
    int browsed = 0;
    env_.accept = [&] { ++accepted; };
    env_.browse = [&] { ++browsed; };
    env_.fullPath = [](const std::string& p) { return "C:\\" + p; };
    BoxText b{"", 0};
    line.KeyDown(KeyInput{kKeyReturn}, b, env_);
    EXPECT_EQ(accepted, 1);
    settings_.retTree = true;
    line.KeyDown(KeyInput{kKeyReturn}, b, env_);
    EXPECT_EQ(browsed, 1);
    b = {"x", 1};
    line.KeyDown(KeyInput{kKeyReturn}, b, env_);
    EXPECT_EQ(accepted, 2);
    EXPECT_TRUE(ran_.empty());

    // A relative prefix finds entries kept as full paths.
    b = {"ol", 2};
    line.Browser().Reset("ol");
    line.KeyDown(KeyInput{kKeyUp}, b, env_);
    EXPECT_EQ(b.text, "ol");  // "C:\ol" matches nothing either
    history_ = {"C:\\old\\x", "D:\\"};
    line.Browser().Reset("old");
    b = {"old", 3};
    line.KeyDown(KeyInput{kKeyUp}, b, env_);
    EXPECT_EQ(b.text, "C:\\old\\x");
    // Tab completes with the AUTONAME mode.
    settings_.autoName = 3;
    line.SetLineMode(amFreeText);
    b = {"x win", 5};
    line.KeyDown(KeyInput{kKeyTab}, b, env_);
    EXPECT_EQ(b.text, "x WIN");  // free text: files and directories, whatever the key
    ASSERT_EQ(prompter_.ListsShown().size(), 1u);
    EXPECT_EQ(prompter_.ListsShown()[0].size(), 3u);
}

}  // namespace
}  // namespace kestrum
