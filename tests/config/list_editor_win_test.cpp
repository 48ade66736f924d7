// The settings-menu editor windows under the null display driver, created
// modeless and driven with SendMessage; questions go to a scripted prompter.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>

#include "common/prompter.h"
#include "config/list_editor_win.h"
#include "tests/fakes/scripted_prompter.h"
#include "tests/test_util.h"

namespace kestrum {
namespace {

using Lines = std::vector<std::string>;

void Click(HWND form, int id) {
    SendMessageA(form, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(form, id)));
}

std::string Text(HWND wnd) { return GetText(wnd); }

Lines ListRows(HWND list) {
    Lines rows;
    const int n = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        char buf[512] = {};
        SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf));
        rows.push_back(buf);
    }
    return rows;
}

int CurSel(HWND list) { return static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0)); }

class EditorWinTest : public testing::Test {
protected:
    void SetUp() override { state_.settingsPath = dir_.File("Kestrum.Cfg"); }
    Lines FileLines() const { return test::CrLfLines(test::ReadFile(state_.settingsPath)); }
    test::TempDir dir_;
    Session state_;
    ScriptedPrompter prompter_;
    const Subscription scoped_ = InstallPrompter(prompter_);
};

TEST_F(EditorWinTest, ListWindowButtonsAndTheirEnabledState) {
    TDirListEditor model(state_, TDirListEditor::Which::LogList);
    int opened = 0;
    TFormEdit form(model, [&](HWND, int index) {
        ++opened;
        EXPECT_EQ(index, -1);
        model.Store(index, {"C:\\TEMP", "t"});
        return true;
    });
    ASSERT_TRUE(form.Create(nullptr));
    EXPECT_EQ(Text(form.Handle()), "ディレクトリ変更先リスト");
    const std::pair<int, const char*> captions[] = {{kEditNew, "新規"},     {kEditDelete, "削除"},
                                                    {kEditEdit, "編集"},    {kEditUp, "１つ上へ"},
                                                    {kEditDown, "１つ下へ"}, {IDOK, "OK"},
                                                    {IDCANCEL, "Cancel"}};
    for (const auto& [id, text] : captions) EXPECT_EQ(Text(form.Control(id)), text) << id;
    // An empty list: only New (and OK, Cancel) work.
    EXPECT_TRUE(IsWindowEnabled(form.Control(kEditNew)));
    for (int id : {kEditDelete, kEditEdit, kEditUp, kEditDown}) EXPECT_FALSE(IsWindowEnabled(form.Control(id))) << id;
    EXPECT_EQ(CurSel(form.ListBox()), -1);
    Click(form.Handle(), kEditEdit);  // disabled in the window; no selection in the model either
    EXPECT_EQ(opened, 0);
    Click(form.Handle(), kEditNew);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(ListRows(form.ListBox()), (Lines{"T C:\\TEMP"}));
    EXPECT_EQ(CurSel(form.ListBox()), 0);
    for (int id : {kEditDelete, kEditEdit, kEditUp, kEditDown}) EXPECT_TRUE(IsWindowEnabled(form.Control(id))) << id;
    Click(form.Handle(), kEditDelete);
    EXPECT_TRUE(ListRows(form.ListBox()).empty());
    EXPECT_FALSE(IsWindowEnabled(form.Control(kEditDelete)));
    EXPECT_FALSE(form.Finished());
}

TEST_F(EditorWinTest, UpDownAndDragMoveTheRowsAndKeepTheSelection) {
    state_.lists.functions = {{"[A]", "CA"}, {"[B]", "CB"}, {"[C]", "CC"}, {"[D]", "CD"}};
    TFunctionEditor model(state_);
    TFormEdit form(model, nullptr);
    ASSERT_TRUE(form.Create(nullptr));
    ShowWindow(form.Handle(), SW_SHOWNOACTIVATE);
    HWND list = form.ListBox();
    EXPECT_EQ(ListRows(list), (Lines{"A", "B", "C", "D"}));
    EXPECT_EQ(CurSel(list), 0);  // the first entry is selected when shown
    Click(form.Handle(), kEditDown);
    Click(form.Handle(), kEditDown);
    EXPECT_EQ(ListRows(list), (Lines{"B", "C", "A", "D"}));
    EXPECT_EQ(CurSel(list), 2);
    // A selection made in the list box is the one the buttons move.
    SendMessageA(list, LB_SETCURSEL, 3, 0);
    SendMessageA(form.Handle(), WM_COMMAND, MAKEWPARAM(kEditList, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    Click(form.Handle(), kEditUp);
    EXPECT_EQ(ListRows(list), (Lines{"B", "C", "D", "A"}));
    EXPECT_EQ(CurSel(list), 2);

    // Drag row 0 onto row 3.
    auto rowPoint = [&](int row) {
        RECT r{};
        SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
        POINT p{r.left + 5, (r.top + r.bottom) / 2};
        ClientToScreen(list, &p);
        return p;
    };
    DRAGLISTINFO info{DL_BEGINDRAG, list, rowPoint(0)};
    EXPECT_TRUE(SendMessageA(form.Handle(), TFormEdit::DragMessage(), 0, reinterpret_cast<LPARAM>(&info)));
    info = DRAGLISTINFO{DL_DROPPED, list, rowPoint(3)};
    SendMessageA(form.Handle(), TFormEdit::DragMessage(), 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(ListRows(list), (Lines{"C", "D", "A", "B"}));
    EXPECT_EQ(CurSel(list), 3);
    EXPECT_EQ(model.Commands(), (Lines{"CC", "CD", "CA", "CB"}));

    // OK writes the moved keys with their commands.
    Click(form.Handle(), IDOK);
    EXPECT_TRUE(form.Finished());
    EXPECT_EQ(form.ModalResult(), mrOk);
    EXPECT_EQ(FileLines(), (Lines{"", "[FUNCTION]", "[C]CC", "[D]CD", "[A]CA", "[B]CB", "[END]"}));
}

TEST_F(EditorWinTest, CancelLeavesListAndFileAlone) {
    test::WriteFile(state_.settingsPath, "[ALIAS]\r\ned,notepad\r\n[END]\r\n");
    state_.lists.aliases = {{"ed", "notepad", ""}};
    TAliasEditor model(state_);
    TFormEdit form(model, nullptr);
    ASSERT_TRUE(form.Create(nullptr));
    EXPECT_EQ(ListRows(form.ListBox()), (Lines{"ed"}));
    Click(form.Handle(), kEditDelete);
    SendMessageA(form.Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(form.Finished());
    EXPECT_EQ(form.ModalResult(), mrCancel);
    EXPECT_EQ(state_.lists.aliases.size(), 1u);
    EXPECT_EQ(FileLines(), (Lines{"[ALIAS]", "ed,notepad", "[END]"}));
}

TEST_F(EditorWinTest, AliasEntryWindowFieldsChangeButtonsAndValidation) {
    state_.lists.aliases = {{"ed", "notepad", "C:\\TEMP"}};
    TAliasEditor model(state_);
    TAliasEntryForm entry(model, 0);
    ASSERT_TRUE(entry.Create(nullptr));
    HWND form = entry.Handle();
    EXPECT_EQ(Text(form), "エイリアスの設定");
    EXPECT_EQ(Text(entry.Control(kEntryField1)), "ed");
    EXPECT_EQ(Text(entry.Control(kEntryField2)), "notepad");
    EXPECT_EQ(Text(entry.Control(kEntryField3)), "C:\\TEMP");
    EXPECT_FALSE(GetWindowLongA(entry.Control(kEntryField1), GWL_STYLE) & ES_READONLY);
    EXPECT_TRUE(GetWindowLongA(entry.Control(kEntryField2), GWL_STYLE) & ES_READONLY);
    EXPECT_TRUE(GetWindowLongA(entry.Control(kEntryField3), GWL_STYLE) & ES_READONLY);
    EXPECT_EQ(Text(entry.Control(kEntryChange1)), "変更");
    EXPECT_EQ(Text(entry.Control(kEntryChange2)), "変更");

    prompter_.AnswerLine("notepad /$C");
    Click(form, kEntryChange1);
    prompter_.AnswerLine(std::nullopt);
    Click(form, kEntryChange2);
    ASSERT_EQ(prompter_.LineQuestions().size(), 2u);
    EXPECT_EQ(prompter_.LineQuestions()[0].title, "エイリアス::ファイル名");
    EXPECT_EQ(prompter_.LineQuestions()[0].text, "notepad");
    EXPECT_EQ(prompter_.LineQuestions()[1].title, "エイリアス::起動ディレクトリ");
    EXPECT_EQ(Text(entry.Control(kEntryField2)), "notepad /$C");
    EXPECT_EQ(Text(entry.Control(kEntryField3)), "C:\\TEMP");

    // A blank name keeps the window open and the model as it was.
    SetWindowTextA(entry.Control(kEntryField1), "   ");
    Click(form, IDOK);
    EXPECT_FALSE(entry.Finished());
    ASSERT_EQ(prompter_.Questions().size(), 1u);
    EXPECT_EQ(prompter_.Questions()[0].text, "エイリアス名が入力されていません");
    EXPECT_EQ(model.Entries()[0].expansion, "notepad");

    SetWindowTextA(entry.Control(kEntryField1), " エディタ ");
    Click(form, IDOK);
    EXPECT_TRUE(entry.Finished());
    EXPECT_EQ(entry.ModalResult(), mrOk);
    ASSERT_EQ(model.Entries().size(), 1u);
    EXPECT_EQ(model.Entries()[0].name, "エディタ");
    EXPECT_EQ(model.Entries()[0].expansion, "notepad /$C");
    EXPECT_EQ(state_.lists.aliases[0].name, "ed");  // only OK of the list writes back
}

TEST_F(EditorWinTest, NewAliasThroughTheListWindow) {
    TAliasEditor model(state_);
    // The opener fills the entry window and presses its OK, as a user would.
    TFormEdit form(model, [&](HWND owner, int index) {
        TAliasEntryForm entry(model, index);
        EXPECT_TRUE(entry.Create(owner));
        EXPECT_EQ(Text(entry.Control(kEntryField1)), "");
        SetWindowTextA(entry.Control(kEntryField1), "dl");
        prompter_.AnswerLine("wget ,x");
        Click(entry.Handle(), kEntryChange1);
        Click(entry.Handle(), IDOK);
        return entry.ModalResult() == mrOk;
    });
    ASSERT_TRUE(form.Create(nullptr));
    Click(form.Handle(), kEditNew);
    EXPECT_EQ(ListRows(form.ListBox()), (Lines{"dl"}));
    Click(form.Handle(), IDOK);
    EXPECT_EQ(FileLines(), (Lines{"", "[ALIAS]", "dl,\"wget ,x\"", "[END]"}));
    ASSERT_EQ(state_.lists.aliases.size(), 1u);
}

TEST_F(EditorWinTest, DirectoryEntryKeyFieldHoldsTheLastKeyTyped) {
    state_.lists.copyList = {"1 C:\\A"};
    TDirListEditor model(state_, TDirListEditor::Which::CopyList);
    TDirEntryForm entry(model, -1);
    ASSERT_TRUE(entry.Create(nullptr));
    EXPECT_EQ(Text(entry.Handle()), "コピー先ディレクトリリスト");
    HWND key = entry.Control(kEntryField2);
    EXPECT_EQ(Text(entry.Control(kEntryField1)), "");
    EXPECT_EQ(Text(key), "1");  // a new entry starts with the key 1
    SendMessageA(key, WM_CHAR, 'b', 0);
    EXPECT_EQ(Text(key), "B");
    SendMessageA(key, WM_CHAR, '7', 0);
    EXPECT_EQ(Text(key), "7");
    // A double-byte character (its trail byte 0x62 is "b") and the blank are no keys.
    SendMessageA(key, WM_CHAR, 0x83, 0);
    SendMessageA(key, WM_CHAR, 0x62, 0);
    SendMessageA(key, WM_CHAR, ' ', 0);
    EXPECT_EQ(Text(key), "7");

    Click(entry.Handle(), IDOK);
    EXPECT_FALSE(entry.Finished());
    ASSERT_EQ(prompter_.Questions().size(), 1u);
    EXPECT_EQ(prompter_.Questions()[0].text, "ディレクトリ名が入力されていません");

    prompter_.AnswerLine("D:\\WORK");
    Click(entry.Handle(), kEntryChange1);
    ASSERT_EQ(prompter_.LineQuestions().size(), 1u);
    EXPECT_EQ(prompter_.LineQuestions()[0].title, "変更するディレクトリリスト");
    EXPECT_EQ(Text(entry.Control(kEntryField1)), "D:\\WORK");
    SetWindowTextA(key, "");
    Click(entry.Handle(), IDOK);
    EXPECT_FALSE(entry.Finished());
    EXPECT_EQ(prompter_.Questions().back().text, "呼び出しキーが入力されていません");
    SendMessageA(key, WM_CHAR, 'w', 0);
    Click(entry.Handle(), IDOK);
    EXPECT_TRUE(entry.Finished());
    EXPECT_EQ(model.Entries(), (Lines{"1 C:\\A", "W D:\\WORK"}));
}

TEST_F(EditorWinTest, FunctionEntryWindowNamesItsKey) {
    state_.lists.functions = {{"[A]", "CA"}, {"[B]", "CB"}};
    TFunctionEditor model(state_);
    TFunctionEntryForm entry(model, 1);
    ASSERT_TRUE(entry.Create(nullptr));
    EXPECT_EQ(Text(entry.Handle()), "ファンクション2の設定");
    EXPECT_EQ(Text(entry.Control(kEntryField1)), "B");
    SetWindowTextA(entry.Control(kEntryField1), "");
    Click(entry.Handle(), IDOK);
    EXPECT_FALSE(entry.Finished());
    ASSERT_EQ(prompter_.Questions().size(), 1u);
    EXPECT_EQ(prompter_.Questions()[0].text, "タイトルが入力されていません");
    SetWindowTextA(entry.Control(kEntryField1), "表示");
    Click(entry.Handle(), IDOK);
    EXPECT_TRUE(entry.Finished());
    EXPECT_EQ(model.Titles(), (Lines{"A", "表示"}));
    Click(entry.Handle(), IDCANCEL);  // after the end nothing changes
    EXPECT_EQ(model.Titles(), (Lines{"A", "表示"}));
}

TEST_F(EditorWinTest, TwelveFunctionKeysDisableNew) {
    for (int i = 0; i < 12; ++i) state_.lists.functions.push_back({"[F]", "C"});
    TFunctionEditor model(state_);
    int opened = 0;
    TFormEdit form(model, [&](HWND, int) { return ++opened > 0; });
    ASSERT_TRUE(form.Create(nullptr));
    EXPECT_FALSE(IsWindowEnabled(form.Control(kEditNew)));
    Click(form.Handle(), kEditNew);
    EXPECT_EQ(opened, 0);
    Click(form.Handle(), kEditDelete);
    EXPECT_TRUE(IsWindowEnabled(form.Control(kEditNew)));
}

TEST_F(EditorWinTest, ModalLoopEndsOnAQueuedButtonAndFreesTheOwner) {
    // The answers are queued before the loop starts, so nothing waits.
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(owner);
    state_.lists.functions = {{"[A]", "CA"}};
    TFunctionEditor model(state_);
    TFunctionEntryForm entry(model, 0);
    ASSERT_TRUE(entry.Create(owner));
    SetWindowTextA(entry.Control(kEntryField1), "B");
    PostMessageA(entry.Handle(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(entry.ShowModal());
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_FALSE(IsWindowVisible(entry.Handle()));
    EXPECT_EQ(model.Titles(), (Lines{"B"}));

    TFormEdit form(model, nullptr);
    ASSERT_TRUE(form.Create(owner));
    PostMessageA(form.Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(form.ShowModal());
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(state_.lists.functions[0].title, "[A]");
    DestroyWindow(owner);
}

}  // namespace
}  // namespace kestrum
