// The shell's command box driven with real key messages: history, Enter
// through an injected runner, completion on a temporary directory, and the
// menu entries that feed keys to the box.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "common/prompter.h"
#include "config/key_custom_win.h"
#include "config/key_files_win.h"
#include "config/session.h"
#include "shell/command_box_win.h"
#include "shell/frm_edit_win.h"
#include "shell/frm_history_win.h"
#include "shell/frm_main_win.h"
#include "tests/fakes/scripted_prompter.h"
#include "tests/test_util.h"

namespace kestrum {
namespace {

// Lists go to a real list picker, as in the running program.
class PickerPrompter : public ScriptedPrompter {
public:
    explicit PickerPrompter(TfrmHistory& picker) : picker_(picker) {}
    ListPick ShowList(const std::vector<std::string>& rows, ListStyle style, bool completionMode) override {
        return picker_.ShowList(rows, style, completionMode);
    }

private:
    TfrmHistory& picker_;
};

class CommandBoxWinTest : public testing::Test {
protected:
    void SetUp() override {
        TheSession() = Session();
        TheSession().settingsPath = dir_.File("Kestrum.Cfg");
        test::WriteFile(TheSession().settingsPath, "[FORM_LS]\r\n[END]\r\n");
        GetCurrentDirectoryA(MAX_PATH, oldCwd_);
        form_ = std::make_unique<TfrmMain>();
        ASSERT_TRUE(form_->Create(nullptr));
        ShowWindow(form_->Handle(), SW_SHOW);
        edit_ = form_->Edit1();
        CommandBox::For(edit_, kShellBox).SetRunner([this](const std::string& line) {
            ran_.push_back(line);
            return result_;
        });
    }
    void TearDown() override {
        form_.reset();
        TheSession() = Session();
        SetCurrentDirectoryA(oldCwd_);
    }
    void Type(const std::string& text) {
        for (char c : text) SendMessageA(edit_, WM_CHAR, static_cast<unsigned char>(c), 0);
    }
    void Key(WPARAM vk) {
        SendMessageA(edit_, WM_KEYDOWN, vk, 0);
        SendMessageA(edit_, WM_KEYUP, vk, 0);
    }
    std::string Text() const { return GetText(edit_); }
    int Caret() const {
        DWORD start = 0;
        SendMessageA(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
        return static_cast<int>(start);
    }
    static std::vector<std::string> Sorted(std::vector<std::string> v) {
        std::sort(v.begin(), v.end());
        return v;
    }

    test::TempDir dir_;
    char oldCwd_[MAX_PATH] = {};
    std::unique_ptr<TfrmMain> form_;
    HWND edit_ = nullptr;
    ScriptedPrompter prompter_;
    const Subscription scoped_ = InstallPrompter(prompter_);
    std::vector<std::string> ran_;
    int result_ = 1;
};

TEST_F(CommandBoxWinTest, UpTwiceAndDownReturnToTheTypedText) {
    TheSession().lists.exeHistory = {"cd c:\\one", "dir", "cd c:\\two", "cls"};
    Type("cd");
    Key(VK_UP);
    EXPECT_EQ(Text(), "cd c:\\one");
    EXPECT_EQ(Caret(), 9);
    Key(VK_UP);
    EXPECT_EQ(Text(), "cd c:\\two");
    Key(VK_DOWN);
    EXPECT_EQ(Text(), "cd c:\\one");
    Key(VK_DOWN);
    EXPECT_EQ(Text(), "cd");
    // The typed text sits in entry 0 while browsing; Enter takes it out.
    EXPECT_EQ(TheSession().lists.exeHistory.front(), "cd");
    Key(VK_RETURN);
    EXPECT_EQ(ran_, (std::vector<std::string>{"cd"}));
    EXPECT_EQ(TheSession().lists.exeHistory,
              (std::vector<std::string>{"cd", "cd c:\\one", "dir", "cd c:\\two", "cls"}));
}

TEST_F(CommandBoxWinTest, EnterThatStartsNothingKeepsTheLine) {
    TheSession().lists.exeHistory = {"dir"};
    Type("nosuch");
    result_ = 0;
    Key(VK_RETURN);
    SendMessageA(edit_, WM_CHAR, '\r', 0);
    EXPECT_EQ(Text(), "nosuch");
    EXPECT_EQ(TheSession().lists.exeHistory, (std::vector<std::string>{"dir"}));
    EXPECT_EQ(TheSession().lineOrigin, kShellBox);

    result_ = 2;
    Key(VK_RETURN);
    EXPECT_EQ(Text(), "");
    EXPECT_EQ(TheSession().lists.exeHistory, (std::vector<std::string>{"nosuch", "dir"}));

    Type("c:");  // run, never stored
    Key(VK_RETURN);
    EXPECT_EQ(ran_.back(), "c:");
    EXPECT_EQ(TheSession().lists.exeHistory.front(), "nosuch");
}

TEST_F(CommandBoxWinTest, CompletionOfChangeDirectoryListsOnlyDirectories) {
    CreateDirectoryA(dir_.File("WINDOWS").c_str(), nullptr);
    CreateDirectoryA(dir_.File("WINAPP").c_str(), nullptr);
    test::WriteFile(dir_.File("WINNOTE.TXT"), "x");
    ASSERT_TRUE(SetCurrentDirectoryA(dir_.Path().c_str()));
    Type("CD win");
    Key(VK_TAB);
    SendMessageA(edit_, WM_CHAR, '\t', 0);
    EXPECT_EQ(Text(), "CD WIN");
    EXPECT_EQ(Caret(), 6);
    ASSERT_EQ(prompter_.ListsShown().size(), 1u);
    EXPECT_EQ(Sorted(prompter_.ListsShown()[0]), (std::vector<std::string>{"WINAPP\\", "WINDOWS\\"}));

    // The picker's choice completes the word.
    prompter_.AnswerList(ListPick{ListResult::Ok, "WINAPP\\", -1});
    form_->RunMenuCommand(kKTAB1);
    EXPECT_EQ(Text(), "CD WINAPP\\");
}

TEST_F(CommandBoxWinTest, SingleCandidatesEndReadyForTheNextWord) {
    CreateDirectoryA(dir_.File("Alpha").c_str(), nullptr);
    test::WriteFile(dir_.File("beta.txt"), "x");
    ASSERT_TRUE(SetCurrentDirectoryA(dir_.Path().c_str()));
    Type("cd al");
    Key(VK_F6);
    EXPECT_EQ(Text(), "cd Alpha\\");
    SetWindowTextA(edit_, "");
    Type("type be tail");
    SendMessageA(edit_, EM_SETSEL, 7, 7);
    Key(VK_F6);
    EXPECT_EQ(Text(), "type beta.txt  tail");
    EXPECT_EQ(Caret(), 14);
    // F7 completes directories only: the file is no candidate.
    SetWindowTextA(edit_, "x be");
    SendMessageA(edit_, EM_SETSEL, 4, 4);
    Key(VK_F7);
    EXPECT_EQ(Text(), "x be");
    EXPECT_TRUE(prompter_.ListsShown().empty());
}

TEST_F(CommandBoxWinTest, MenuEntriesFeedTheBox) {
    TheSession().lists.exeHistory = {"first", "second"};
    form_->RunMenuCommand(kK4);
    EXPECT_EQ(Text(), "first");
    form_->RunMenuCommand(kK4);
    EXPECT_EQ(Text(), "second");
    form_->RunMenuCommand(kK3);
    EXPECT_EQ(Text(), "first");
    form_->RunMenuCommand(kKSHIFT2);
    EXPECT_EQ(Caret(), 0);
    form_->RunMenuCommand(kKSHIFT1);
    EXPECT_EQ(Caret(), 5);

    TheSession().settings.homeShiftMode = 0;
    SetWindowTextA(edit_, "keep me");
    form_->RunMenuCommand(kKHOMECLR1);
    EXPECT_EQ(Text(), "");
    EXPECT_EQ(TheSession().lists.exeHistory.front(), "keep me");
}

TEST_F(CommandBoxWinTest, MenuHistoryShowsTheMatchesInThePicker) {
    TheSession().settings.menuHistory = true;
    TheSession().lists.exeHistory = {"copy a", "dir", "cls", "copy b"};
    prompter_.AnswerList(ListPick{ListResult::Ok, "copy b", 1});
    Type("co");
    Key(VK_UP);
    ASSERT_EQ(prompter_.ListsShown().size(), 1u);
    EXPECT_EQ(prompter_.ListsShown()[0], (std::vector<std::string>{"copy a", "copy b"}));
    EXPECT_EQ(Text(), "copy b");
    EXPECT_EQ(Caret(), 6);
}

// Completion through the real list picker: after the choice the keyboard
// focus is back in the box, the caret after the completed name.
TEST_F(CommandBoxWinTest, FocusReturnsToTheBoxAfterThePicker) {
    CreateDirectoryA(dir_.File("WINDOWS").c_str(), nullptr);
    CreateDirectoryA(dir_.File("WINAPP").c_str(), nullptr);
    ASSERT_TRUE(SetCurrentDirectoryA(dir_.Path().c_str()));
    TfrmHistory picker;
    ASSERT_TRUE(picker.Create(form_->Handle(), ProfileReader()));
    PickerPrompter windows(picker);
    const Subscription scoped = InstallPrompter(windows);
    SetForegroundWindow(form_->Handle());
    SetFocus(edit_);
    ASSERT_EQ(GetFocus(), edit_);
    Type("cd win");
    // The user takes the first candidate with Enter once the picker shows.
    PostMessageA(picker.HistoryList(), WM_KEYDOWN, VK_RETURN, 0);
    Key(VK_TAB);
    const std::string text = Text();
    EXPECT_TRUE(text == "cd WINDOWS\\" || text == "cd WINAPP\\") << text;
    EXPECT_FALSE(IsWindowVisible(picker.Handle()));
    EXPECT_EQ(GetFocus(), edit_);
    EXPECT_EQ(Caret(), static_cast<int>(text.size()));
    // Keys typed next go on into the box.
    Type("x");
    EXPECT_EQ(Text(), text + "x");
}

// The command boxes' key map with the line-input window that runs its
// actions.
class BoundKeyTest : public CommandBoxWinTest {
protected:
    void SetUp() override {
        CommandBoxWinTest::SetUp();
        ASSERT_TRUE(lineInput_.Create(nullptr, ProfileReader()));
        saved_ = EditKeyX().KeyXUserKey;
        EditKeyX().KeyXUserKey.Clear();
        GetKeyboardState(keys_);
    }
    void TearDown() override {
        SetKeyboardState(keys_);
        EditKeyX().KeyXUserKey.Assign(saved_);
        CommandBoxWinTest::TearDown();
    }
    void Bind(int key, unsigned char modifiers, int action) {
        KeyBinding& b = EditKeyX().KeyXUserKey.Add();
        b.key = key;
        b.name = std::string(1, static_cast<char>(key));
        b.modifiers = modifiers;
        b.action = action;
    }
    void Ctrl(bool down) {
        BYTE state[256] = {};
        GetKeyboardState(state);
        state[VK_CONTROL] = down ? 0x80 : 0;
        SetKeyboardState(state);
    }
    // A key as the message loop delivers it: the key-down, then its character.
    void Press(WPARAM vk, WPARAM ch) {
        SendMessageA(edit_, WM_KEYDOWN, vk, 0);
        SendMessageA(edit_, WM_CHAR, ch, 0);
    }
    TfrmEdit lineInput_;
    TUserKey saved_;
    BYTE keys_[256] = {};
};

TEST_F(BoundKeyTest, ABoundKeyThatMakesACharacterActsOnce) {
    Bind('H', kModCtrl, 11);  // delete the character before the caret
    Bind('E', 0, 4);          // caret to the end
    Type("abc");
    Ctrl(true);
    Press('H', 8);  // Ctrl+H also makes a backspace
    Ctrl(false);
    EXPECT_EQ(Text(), "ab");
    SetBoxCaret(edit_, 0);
    Press('E', 'e');
    EXPECT_EQ(Text(), "ab");
    EXPECT_EQ(Caret(), 2);
    // Unbound keys type as before.
    Press('X', 'x');
    EXPECT_EQ(Text(), "abx");
}

TEST_F(BoundKeyTest, TheMenuOpensTheKeyCustomisationOfTheCommandBoxes) {
    Bind('E', 0, 4);
    std::string caption;
    std::vector<KeyBinding> working;
    LRESULT rows = 0;
    Subscription runner = InstallKeyCustomRunner([&](TKCForm& form) {
        caption = GetText(form.Handle());
        working = form.WorkingCopy().Records();
        rows = SendMessageA(form.ListBox(), LB_GETCOUNT, 0, 0);
        return static_cast<int>(mrCancel);
    });
    form_->RunMenuCommand(kK17);
    runner.Reset();
    EXPECT_EQ(caption, kKeyCustomCaption);
    EXPECT_EQ(working, EditKeyX().KeyXUserKey.Records());
    EXPECT_EQ(rows, 1 + kEditKeyActionCount);  // "なし" and the editing actions
}

}  // namespace
}  // namespace kestrum
