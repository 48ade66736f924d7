// The key customisation dialog driven without its modal loop, and the
// line-input map at work: captions, bound keys in the command boxes, the
// ".WK" file written from the dialog.
#include "config/key_custom_win.h"

#include <gtest/gtest.h>

#include "common/prompter.h"
#include "config/key_files_win.h"
#include "config/session.h"
#include "shell/command_box_win.h"
#include "shell/frm_edit_win.h"
#include "tests/fakes/scripted_prompter.h"
#include "tests/test_util.h"

namespace kestrum {
namespace {

std::string ListText(HWND list, int i) {
    char buf[256] = {};
    SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf));
    return buf;
}
int Selected(HWND list) { return static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0)); }
bool Ticked(HWND box) { return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

KeyBinding Bind(int action, int key, const char* name, unsigned char mods = 0) {
    KeyBinding b;
    b.action = action;
    b.key = key;
    b.name = name;
    b.modifiers = mods;
    return b;
}

class KcFormTest : public testing::Test {
protected:
    void SetUp() override {
        keyx_.AddAction("[移動]上へ", 500, 0);
        keyx_.AddAction("下へ", 501, 1);
        keyx_.AddAction("開く", 502, 2);
        captionsShown_ =
            keyx_.setCaption.Connect([this](int c, const std::string& s) { captions_.push_back(std::to_string(c) + s); });
        keyx_.KeyXUserKey.Add() = Bind(1, 'D', "D", kModCtrl);
        keyx_.KeyXUserKey.Add() = Bind(2, 'O', "O");
        ASSERT_TRUE(form_.Create(nullptr, keyx_, "", [this] { ++saves_; }, 7));
    }
    void Select(int entry) {
        SendMessageA(form_.ListBox(), LB_SETCURSEL, static_cast<WPARAM>(entry), 0);
        SendMessageA(form_.Handle(), WM_COMMAND, MAKEWPARAM(TKCForm::kIdList, LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(form_.ListBox()));
    }
    void Click(HWND button) { SendMessageA(button, BM_CLICK, 0, 0); }
    std::string Field() const { return GetText(form_.KeyField()); }

    TKeyX keyx_;
    TKCForm form_;
    int saves_ = 0;
    std::vector<std::string> captions_;
    Subscription captionsShown_;
};

TEST_F(KcFormTest, ListsNoneThenEveryAction) {
    EXPECT_EQ(GetText(form_.Handle()), "Kestrum ファイラーキーカスタマイズ");
    ASSERT_EQ(SendMessageA(form_.ListBox(), LB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(ListText(form_.ListBox(), 0), "なし");
    EXPECT_EQ(ListText(form_.ListBox(), 1), "[移動]上へ");  // the whole name here
    EXPECT_EQ(ListText(form_.ListBox(), 3), "開く");
    EXPECT_FALSE(IsWindowEnabled(form_.UpdateButton()));
    EXPECT_EQ(GetText(form_.UpdateButton()), "更新");
    EXPECT_EQ(GetText(form_.SaveButton()), "保存");
    EXPECT_EQ(GetText(form_.CancelButton()), "Cancel");
    EXPECT_EQ(GetText(form_.HelpButton()), "Help");

    TKCForm titled;
    ASSERT_TRUE(titled.Create(nullptr, keyx_, kKeyCustomCaption, nullptr, 0));
    EXPECT_EQ(GetText(titled.Handle()), "Kestrum　キーカスタマイズ");
}

TEST_F(KcFormTest, CaptureTicksModifiersAndSelectsTheBoundAction) {
    form_.CaptureKeyDown('D', kModCtrl);
    EXPECT_EQ(Field(), "D");
    EXPECT_EQ(form_.CapturedKey(), 'D');
    EXPECT_TRUE(Ticked(form_.CtrlBox()));
    EXPECT_FALSE(Ticked(form_.ShiftBox()));
    EXPECT_EQ(Selected(form_.ListBox()), 2);
    // Unticking CTRL looks at plain D, which is free.
    Click(form_.CtrlBox());
    EXPECT_EQ(Selected(form_.ListBox()), 0);
    Click(form_.CtrlBox());
    EXPECT_EQ(Selected(form_.ListBox()), 2);
    // Shift+Ctrl+D is another key.
    form_.CaptureKeyDown('D', kModCtrl | kModShift);
    EXPECT_EQ(Selected(form_.ListBox()), 0);
}

TEST_F(KcFormTest, CaptureFieldRules) {
    int alts = 0;
    keyx_.OnAltKey = [&] { ++alts; };
    form_.CaptureKeyDown(VK_NUMPAD5, 0);
    EXPECT_EQ(Field(), "5");
    EXPECT_EQ(form_.CapturedKey(), '5');
    form_.CaptureKeyDown(VK_F4, kModAlt);
    EXPECT_EQ(Field(), "F4");
    EXPECT_EQ(alts, 1);
    EXPECT_TRUE(Ticked(form_.AltBox()));
    form_.CaptureKeyDown(VK_OEM_COMMA, 0);
    EXPECT_EQ(Field(), "，");
    form_.CaptureKeyDown(VK_RETURN, kModShift);
    EXPECT_EQ(Field(), "RETURN");
    form_.CaptureKeyDown(VK_ESCAPE, 0);
    EXPECT_EQ(Field(), "");
    EXPECT_EQ(form_.CapturedKey(), 0);
    // ESC left nothing captured: an update changes nothing.
    Select(3);
    Click(form_.UpdateButton());
    EXPECT_EQ(form_.WorkingCopy().Count(), 2);
}

TEST_F(KcFormTest, PagingKeysGoToTheListAndTypingIsDiscarded) {
    SendMessageA(form_.KeyField(), WM_KEYDOWN, VK_DOWN, 0);
    SendMessageA(form_.KeyField(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(Selected(form_.ListBox()), 2);
    EXPECT_EQ(form_.CapturedKey(), 0);
    EXPECT_TRUE(IsWindowEnabled(form_.UpdateButton()));  // the list changed
    SendMessageA(form_.KeyField(), WM_KEYDOWN, 'Q', 0);
    SendMessageA(form_.KeyField(), WM_CHAR, 'q', 0);
    EXPECT_EQ(Field(), "Q");
    // Alt+F4 is captured and leaves the dialog open.
    SendMessageA(form_.KeyField(), WM_SYSKEYDOWN, VK_F4, 1 << 29);
    EXPECT_EQ(Field(), "F4");
    EXPECT_TRUE(Ticked(form_.AltBox()));
    EXPECT_TRUE(IsWindow(form_.Handle()));
    EXPECT_EQ(form_.ModalResult(), 0);
}

TEST_F(KcFormTest, UpdateAddsChangesAndDeletes) {
    form_.CaptureKeyDown('U', kModShift);
    Select(1);
    Click(form_.UpdateButton());
    ASSERT_EQ(form_.WorkingCopy().Count(), 3);
    EXPECT_EQ(form_.WorkingCopy().Get(2), Bind(0, 'U', "U", kModShift));
    EXPECT_FALSE(IsWindowEnabled(form_.UpdateButton()));
    // Another action for the same key changes the record.
    Select(3);
    SendMessageA(form_.KeyField(), WM_KEYDOWN, VK_RETURN, 0);  // Return presses "更新"
    EXPECT_EQ(form_.WorkingCopy().Get(2).action, 2);
    // "なし" deletes it; the map itself is untouched until "保存".
    form_.CaptureKeyDown('D', kModCtrl);
    Select(0);
    Click(form_.UpdateButton());
    EXPECT_EQ(form_.WorkingCopy().Count(), 2);
    EXPECT_EQ(keyx_.KeyXUserKey.Count(), 2);
}

TEST_F(KcFormTest, SaveCopiesBackAndCancelDoesNot) {
    form_.CaptureKeyDown(VK_F2, 0);
    Select(1);
    Click(form_.CancelButton());
    EXPECT_EQ(form_.ModalResult(), mrCancel);
    EXPECT_EQ(keyx_.KeyXUserKey.Count(), 2);
    EXPECT_EQ(saves_, 0);

    TKCForm again;
    ASSERT_TRUE(again.Create(nullptr, keyx_, "", [this] { ++saves_; }, 0));
    again.CaptureKeyDown(VK_F2, 0);
    SendMessageA(again.ListBox(), LB_SETCURSEL, 1, 0);
    Click(again.SaveButton());  // updates first
    EXPECT_EQ(again.ModalResult(), mrOk);
    EXPECT_EQ(saves_, 1);
    ASSERT_EQ(keyx_.KeyXUserKey.Count(), 3);
    EXPECT_EQ(keyx_.KeyXUserKey.Get(2), Bind(0, VK_F2, "F2"));
    EXPECT_NE(std::find(captions_.begin(), captions_.end(), "500上へ\tF2"), captions_.end());
}

// The line-input window with the process-wide map of the command boxes.
class EditKeysTest : public testing::Test {
protected:
    void SetUp() override {
        TheSession() = Session();
        TheSession().programDir = dir_.Path() + "\\";
        TheSession().settingsPath = "Kestrum.Cfg";
        TheSession().currentDir = dir_.Path() + "\\";
        EditKeyX().KeyXUserKey.Clear();
        ASSERT_TRUE(form_.Create(nullptr, ProfileReader()));
    }
    void TearDown() override {
        keyRunner_.Reset();
        EditKeyX().KeyXUserKey.Clear();
        TheSession() = Session();
    }
    std::string MenuText(UINT id) {
        char buf[128] = {};
        GetMenuStringA(form_.Menu(), id, buf, sizeof buf, MF_BYCOMMAND);
        return buf;
    }
    void LoadWk(const std::string& lines) {
        test::WriteFile(dir_.File("Kestrum.WK"), std::string(kEditKeyHeader) + "\r\n" + lines);
        LoadKeyFile(EditKeyX(), EditKeyFilePath(TheSession().settingsPath, TheSession().programDir), kEditKeyHeader);
    }
    int Caret() {
        DWORD start = 0;
        SendMessageA(form_.Edit1(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
        return static_cast<int>(start);
    }

    test::TempDir dir_;
    TfrmEdit form_;
    ScriptedPrompter prompter_;
    const Subscription scoped_ = InstallPrompter(prompter_);
    Subscription keyRunner_;
};

TEST_F(EditKeysTest, MenuCaptionsShowTheBoundKeys) {
    LoadWk("4, 113, F2, 0, 1, 0, 0\r\n9, 86, V, 1, 0, 0, 1\r\n");
    EXPECT_EQ(MenuText(kEditAction0 + EditKeyAction::CaretToEnd),
              "カーソルを文字列の最後に移動\tCTRL+F2");
    EXPECT_EQ(MenuText(kEditAction0 + EditKeyAction::Paste), "貼りつけ\tSHIFT+ALT+V");
    EXPECT_EQ(MenuText(kEditAction0 + EditKeyAction::Complete), "ファイル名自動補充\t");
}

TEST_F(EditKeysTest, BoundKeysRunTheActionInTheBox) {
    LoadWk("4, 113, F2, 0, 0, 0, 0\r\n3, 113, F2, 0, 1, 0, 0\r\n1, 38, ↑, 0, 0, 0, 0\r\n");
    SetWindowTextA(form_.Edit1(), "abcdef");
    SendMessageA(form_.Edit1(), EM_SETSEL, 2, 2);
    CommandBox& box = CommandBox::For(form_.Edit1(), kLineInputBox);
    WPARAM key = VK_F2;
    box.KeyDown(key, false, false, false);
    EXPECT_EQ(key, 0u);
    EXPECT_EQ(Caret(), 6);
    key = VK_F2;
    box.KeyDown(key, false, true, false);
    EXPECT_EQ(Caret(), 0);
    // The history action sends Up to the box: that Up is the box's own and
    // does not run the binding again.
    key = VK_UP;
    box.KeyDown(key, false, false, false);
    EXPECT_EQ(key, 0u);
    // Unbound keys go on.
    key = VK_F3;
    box.KeyDown(key, false, false, false);
    EXPECT_NE(key, 0u);
}

TEST_F(EditKeysTest, KeyCustomizeMenuSavesTheWkFile) {
    std::string caption;
    keyRunner_ = InstallKeyCustomRunner([&](TKCForm& dlg) {
        caption = GetText(dlg.Handle());
        dlg.CaptureKeyDown('Z', kModCtrl);
        SendMessageA(dlg.ListBox(), LB_SETCURSEL, 13, 0);  // 12 "UNDO"
        dlg.Save();
        return dlg.ModalResult();
    });
    SendMessageA(form_.Handle(), WM_COMMAND, kEditKeyCustomize, 0);
    EXPECT_EQ(caption, "Kestrum　キーカスタマイズ");
    EXPECT_EQ(test::ReadFile(dir_.File("Kestrum.WK")), std::string(kEditKeyHeader) + "\r\n12, 90, Z, 0, 1, 0, 0\r\n");
    EXPECT_EQ(MenuText(kEditAction0 + EditKeyAction::Undo), "UNDO\tCTRL+Z");
}

TEST_F(EditKeysTest, MissingFilesAreReportedByName) {
    TheSession().settings.keyCustomFile = "none.key";
    LoadKeyFiles();
    ASSERT_EQ(prompter_.Questions().size(), 3u);
    EXPECT_EQ(prompter_.Questions()[0].text, "指定されたキー設定ファイルが見つかりません。");
    EXPECT_EQ(prompter_.Questions()[1].text, dir_.File("Kestrum.WK") + "ファイルが見つかりません。");
    EXPECT_EQ(prompter_.Questions()[2].text, dir_.File("Kestrum.tvk") + "ファイルが見つかりません。");
}

}  // namespace
}  // namespace kestrum
