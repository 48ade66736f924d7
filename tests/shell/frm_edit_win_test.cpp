// The line-input window driven without its modal loop: the answer's path
// rules, the caller's history, Enter and browsing, the registered list, the
// menus and the editing actions.
#include "shell/frm_edit_win.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "common/sjis.h"
#include "config/key_files_win.h"
#include "config/session.h"
#include "shell/command_box.h"
#include "shell/command_box_win.h"
#include "tests/fakes/scripted_prompter.h"
#include "tests/test_util.h"

namespace kestrum {
namespace {

std::string MenuText(HMENU menu, UINT item, UINT flags) {
    char buf[128] = {};
    GetMenuStringA(menu, item, buf, sizeof buf, flags);
    return buf;
}

class FrmEditTest : public testing::Test {
protected:
    void SetUp() override {
        TheSession() = Session();
        const std::string cfg = dir_.File("Kestrum.Cfg");
        test::WriteFile(cfg, "[FORM_LS]\r\nweTop=60\r\nweLeft=70\r\n[END]\r\n");
        CreateDirectoryA(dir_.File("sub").c_str(), nullptr);
        TheSession().currentDir = dir_.File("sub") + "\\";
        ASSERT_TRUE(form_.Create(nullptr, ProfileReader::FromFile(cfg)));
    }
    void TearDown() override { TheSession() = Session(); }

    // Asks q, lets act do what the user does, and returns AskLine's result.
    template <typename Act>
    bool Ask(LineQuestion& q, Act act) {
        form_.BeginQuestion(q);
        act();
        return form_.EndQuestion(form_.ModalResult() == mrOk);
    }
    void Answer(const std::string& text) {
        SetWindowTextA(form_.Edit1(), text.c_str());
        SendMessageA(form_.Handle(), WM_COMMAND, IDOK, 0);
    }
    void Key(WPARAM vk) { SendMessageA(form_.Edit1(), WM_KEYDOWN, vk, 0); }
    std::string Text() const { return GetText(form_.Edit1()); }

    test::TempDir dir_;
    TfrmEdit form_;
    ScriptedPrompter prompter_;
    const Subscription scoped_ = InstallPrompter(prompter_);
};

TEST_F(FrmEditTest, AnswersBecomePathsOutsideFreeText) {
    std::vector<std::string> history;
    LineQuestion q{"コピー", "コピー先", "", 0, &history};
    EXPECT_TRUE(Ask(q, [&] { Answer("d"); }));
    EXPECT_EQ(q.text, "d:");  // case unchanged

    EXPECT_TRUE(Ask(q, [&] { Answer("..\\x"); }));
    EXPECT_TRUE(SameText(q.text, dir_.File("x"))) << q.text;

    EXPECT_TRUE(Ask(q, [&] { Answer("E:"); }));
    EXPECT_EQ(q.text, "E:");

    q.mode = amFreeText;
    EXPECT_TRUE(Ask(q, [&] { Answer("d"); }));
    EXPECT_EQ(q.text, "d");
    // Drive-only answers were not added; the others were, newest first.
    ASSERT_EQ(history.size(), 1u);
    EXPECT_TRUE(SameText(history[0], dir_.File("x")));
}

TEST_F(FrmEditTest, PlainHistoryKeepsDriveOnlyAnswers) {
    std::vector<std::string> history = {"C:\\OLD"};
    LineQuestion q{"t", "p", "", amPlainHistory, &history};
    EXPECT_TRUE(Ask(q, [&] { Answer("C:\\"); }));
    EXPECT_EQ(history, (std::vector<std::string>{"C:\\", "C:\\OLD"}));
    q.mode = 0;
    EXPECT_TRUE(Ask(q, [&] { Answer("C:\\"); }));
    EXPECT_EQ(history, (std::vector<std::string>{"C:\\", "C:\\OLD"}));
}

TEST_F(FrmEditTest, CancelLeavesTheHistoryUntouched) {
    std::vector<std::string> history = {"C:\\ONE", "C:\\TWO"};
    LineQuestion q{"t", "p", "C:\\", 0, &history};
    EXPECT_FALSE(Ask(q, [&] {
        Key(VK_UP);  // browsing puts the typed text in the private copy
        EXPECT_EQ(Text(), "C:\\ONE");
        SendMessageA(form_.Handle(), WM_COMMAND, IDCANCEL, 0);
    }));
    EXPECT_EQ(history, (std::vector<std::string>{"C:\\ONE", "C:\\TWO"}));
    EXPECT_EQ(q.text, "C:\\");
    EXPECT_EQ(Text(), "");  // emptied for the next question
    EXPECT_TRUE(form_.PrivateHistory().size() == 2u);
}

TEST_F(FrmEditTest, HistoryFindsFullPathsFromARelativePrefix) {
    std::vector<std::string> history = {dir_.File("sub") + "\\deep", "Z:\\other"};
    LineQuestion q{"t", "p", "", 0, &history};
    EXPECT_FALSE(Ask(q, [&] {
        SetWindowTextA(form_.Edit1(), "de");
        Key(VK_UP);
        EXPECT_EQ(Text(), dir_.File("sub") + "\\deep");
        // Unedited in this question, forward would take any entry; edited,
        // it ends at the typed text.
        Key(VK_DOWN);
        EXPECT_EQ(Text(), "de");
    }));
}

TEST_F(FrmEditTest, EnterAndBrowsing) {
    LineQuestion q{"t", "p", "", 0, nullptr};
    int folderAsked = 0;
    form_.pickFolder = [&]() -> std::optional<std::string> {
        ++folderAsked;
        return std::string("C:\\PICKED");
    };
    EXPECT_TRUE(Ask(q, [&] { Key(VK_RETURN); }));  // RETTREE off: OK on an empty line
    EXPECT_EQ(folderAsked, 0);

    TheSession().settings.retTree = true;
    EXPECT_TRUE(Ask(q, [&] { Key(VK_RETURN); }));
    EXPECT_EQ(folderAsked, 1);
    EXPECT_EQ(q.text, "C:\\PICKED");

    q.mode = amNoBrowse;
    EXPECT_TRUE(Ask(q, [&] {
        EXPECT_FALSE(IsWindowEnabled(form_.Button3()));
        SetWindowTextA(form_.Edit1(), "C:\\KEEP");
        form_.Browse();
    }));
    EXPECT_EQ(q.text, "C:\\KEEP");
    EXPECT_EQ(folderAsked, 1);

    form_.pickFile = [] { return std::optional<std::string>("C:\\A.EXE"); };
    q.mode = amFreeText;
    q.text = "run";
    EXPECT_FALSE(Ask(q, [&] {
        form_.Browse();
        EXPECT_EQ(Text(), "run C:\\A.EXE");
        EXPECT_EQ(form_.ModalResult(), 0);
    }));
    q.mode = amFreeText | amReplaceOnBrowse;
    EXPECT_FALSE(Ask(q, [&] {
        form_.Browse();
        EXPECT_EQ(Text(), "C:\\A.EXE");
    }));
}

TEST_F(FrmEditTest, RegisteredListAndSelection) {
    const std::vector<std::string> list = {"a C:\\ALPHA", "b C:\\BETA"};
    LineQuestion q{"t", "p", "start", amFreeText | amSelectAll, nullptr, &list, 1};
    prompter_.AnswerList(ListPick{ListResult::Ok, "C:\\BETA", 1});
    EXPECT_FALSE(Ask(q, [&] {
        DWORD a = 0;
        DWORD b = 0;
        SendMessageA(form_.Edit1(), EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
        EXPECT_EQ(a, 0u);
        EXPECT_EQ(b, 5u);
        EXPECT_TRUE(IsWindowEnabled(form_.SpeedButton1()));
        SendMessageA(form_.Handle(), WM_COMMAND, kEditAction0 + EditKeyAction::PickRegistered, 0);
        EXPECT_EQ(Text(), "C:\\BETA");
    }));
    ASSERT_EQ(prompter_.ListsShown().size(), 1u);
    EXPECT_EQ(prompter_.ListsShown()[0], list);
    q.registered = nullptr;
    EXPECT_FALSE(Ask(q, [&] { EXPECT_FALSE(IsWindowEnabled(form_.SpeedButton1())); }));
}

TEST_F(FrmEditTest, MenusAndEditingActions) {
    HMENU bar = form_.Menu();
    ASSERT_EQ(GetMenuItemCount(bar), 4);
    EXPECT_EQ(MenuText(bar, 0, MF_BYPOSITION), "基本操作");
    EXPECT_EQ(MenuText(bar, 1, MF_BYPOSITION), "ユーザー定義(&U)");
    EXPECT_EQ(MenuText(bar, 2, MF_BYPOSITION), "編集");
    EXPECT_EQ(MenuText(bar, 3, MF_BYPOSITION), "設定'(&C)");
    EXPECT_EQ(MenuText(bar, kEditAction0, MF_BYCOMMAND), "ファイル名自動補充");
    EXPECT_EQ(MenuText(bar, kEditAction0 + EditKeyAction::CaretRight, MF_BYCOMMAND), "カーソルを右に移動");
    EXPECT_EQ(MenuText(bar, kEditKeyCustomize, MF_BYCOMMAND), "キーカスタマイズ");
    char label[32] = {};
    GetWindowTextA(form_.Button3(), label, sizeof label);
    EXPECT_STREQ(label, "参照(&R)");

    LineQuestion q{"t", "p", "", amFreeText, nullptr};
    EXPECT_FALSE(Ask(q, [&] {
        SetWindowTextA(form_.Edit1(), "ab表cd");  // 表 ends in a "\" byte
        SetBoxCaret(form_.Edit1(), 4);
        form_.RunEditAction(EditKeyAction::DeleteBefore);
        EXPECT_EQ(Text(), "abcd");
        form_.RunEditAction(EditKeyAction::CaretRight);
        form_.RunEditAction(EditKeyAction::DeleteToEnd);
        EXPECT_EQ(Text(), "abc");
        form_.RunEditAction(EditKeyAction::CaretToStart);
        form_.RunEditAction(EditKeyAction::CaretRight);
        form_.RunEditAction(EditKeyAction::CaretLeft);
        EXPECT_EQ(ReadBoxText(form_.Edit1()).caret, 0);
    }));
}

// The line-input key map captions (and runs) the newest line-input window;
// when that goes, the one made before it again.
TEST_F(FrmEditTest, TheKeyMapFollowsTheNewestWindowAndFallsBackWhenItGoes) {
    {
        TfrmEdit second;
        ASSERT_TRUE(second.Create(nullptr, ProfileReader::FromFile(dir_.File("Kestrum.Cfg"))));
        EditKeyX().setCaption(kEditAction0, "second");
        EXPECT_EQ(MenuText(second.Menu(), kEditAction0, MF_BYCOMMAND), "second");
        EXPECT_EQ(MenuText(form_.Menu(), kEditAction0, MF_BYCOMMAND), "ファイル名自動補充");
    }
    EditKeyX().setCaption(kEditAction0, "first");
    EXPECT_EQ(MenuText(form_.Menu(), kEditAction0, MF_BYCOMMAND), "first");
}

// A question for a program (the settings dialog's editor) completes only
// programs and directories; the next question completes everything again.
TEST_F(FrmEditTest, AProgramQuestionCompletesPrograms) {
    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, cwd);
    ASSERT_TRUE(SetCurrentDirectoryA(dir_.Path().c_str()));
    test::WriteFile(dir_.File("tool.exe"), "x");
    test::WriteFile(dir_.File("tool.txt"), "x");
    CreateDirectoryA(dir_.File("toolbox").c_str(), nullptr);
    auto complete = [&] {
        SetWindowTextA(form_.Edit1(), "tool");
        SetBoxCaretToEnd(form_.Edit1());
        Key(VK_F6);
    };
    auto sorted = [](std::vector<std::string> v) {
        std::sort(v.begin(), v.end());
        return v;
    };
    LineQuestion q{"エディタ", "ファイル名を入力してください", "", amFreeText | amReplaceOnBrowse, nullptr};
    form_.SetFileFilter("*.EXE");
    EXPECT_FALSE(Ask(q, complete));
    ASSERT_EQ(prompter_.ListsShown().size(), 1u);
    EXPECT_EQ(sorted(prompter_.ListsShown()[0]), (std::vector<std::string>{"tool.exe ", "toolbox\\"}));
    EXPECT_EQ(TheSession().completionMask, "*.*");
    EXPECT_FALSE(Ask(q, complete));
    ASSERT_EQ(prompter_.ListsShown().size(), 2u);
    EXPECT_EQ(prompter_.ListsShown()[1].size(), 3u);
    SetCurrentDirectoryA(cwd);
}

}  // namespace
}  // namespace kestrum
