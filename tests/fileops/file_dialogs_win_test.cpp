// The date, attribute and format dialogs under the null display driver,
// driven with messages (never modally).
#include <windows.h>

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "common/prompter.h"
#include "fileops/attrib_dialog_win.h"
#include "fileops/date_dialog_win.h"
#include "fileops/format_dialog_win.h"
#include "tests/fakes/scripted_prompter.h"

namespace kestrum {
namespace {

void Command(HWND form, int id) { SendMessageA(form, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

void Type(HWND edit, const char* text) {
    for (const char* p = text; *p; ++p) SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(*p), 0);
}

std::string ClassName(HWND wnd) {
    char buf[64] = {};
    GetClassNameA(wnd, buf, sizeof buf);
    return buf;
}

class FileDialogsTest : public testing::Test {
protected:
    ScriptedPrompter prompter_;
    const Subscription scoped_ = InstallPrompter(prompter_);
};

TEST_F(FileDialogsTest, DateFieldsKeepTheirShapeWhileTyping) {
    TDateChangeForm form;
    ASSERT_TRUE(form.Create(nullptr, "Kestrum 日付の変更"));
    EXPECT_EQ(GetText(form.Handle()), "Kestrum 日付の変更");
    form.Begin("memo.txt", "2001/02/03 04:05:06", "2001/02/03 04:05:06", true);
    EXPECT_EQ(GetText(form.NameLabel()), "memo.txt");
    EXPECT_EQ(GetText(form.OldEdit()), "2001/02/03 04:05:06");
    EXPECT_TRUE(GetWindowLongA(form.OldEdit(), GWL_STYLE) & ES_READONLY);

    HWND edit = form.NewEdit();
    SendMessageA(edit, EM_SETSEL, 0, 0);
    Type(edit, "2019x1224");  // the letter is refused, the "/" stepped over
    EXPECT_EQ(GetText(edit), "2019/12/24 04:05:06");
    SendMessageA(edit, WM_CHAR, VK_BACK, 0);
    SendMessageA(edit, WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_EQ(GetText(edit), "2019/12/2  04:05:06");
    SendMessageA(edit, EM_SETSEL, 11, 19);
    Type(edit, ":");  // jumps, nothing erased
    SendMessageA(edit, EM_SETSEL, 11, 19);
    SendMessageA(edit, WM_CLEAR, 0, 0);
    EXPECT_EQ(GetText(edit), "2019/12/2    :  :  ");

    Command(form.Handle(), TDateChangeForm::kAllId);
    ASSERT_TRUE(form.Finished());
    EXPECT_EQ(form.Answer().result, FileOpQuestions::fdAll);
    EXPECT_EQ(form.Answer().text, "2019/12/2    :  :  ");
}

TEST_F(FileDialogsTest, DateDialogWithoutAFileOffersOnlyCancel) {
    TDateChangeForm form;
    ASSERT_TRUE(form.Create(nullptr, "c"));
    form.Begin("", "", "", false);
    EXPECT_EQ(GetText(form.OldEdit()), "    /  /     :  :  ");
    EXPECT_FALSE(IsWindowEnabled(form.OkButton()));
    EXPECT_FALSE(IsWindowEnabled(form.AllButton()));
    Command(form.Handle(), IDOK);
    Command(form.Handle(), TDateChangeForm::kAllId);
    EXPECT_FALSE(form.Finished());
    SendMessageA(form.Handle(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(form.Finished());
    EXPECT_EQ(form.Answer().result, FileOpQuestions::fdCancel);

    form.Begin("a", "2001/02/03 04:05:06", "2001/02/03 04:05:06", true);
    EXPECT_TRUE(IsWindowEnabled(form.OkButton()));
    Command(form.Handle(), IDOK);
    EXPECT_EQ(form.Answer().result, FileOpQuestions::fdOk);
    EXPECT_EQ(form.Answer().text, "2001/02/03 04:05:06");
}

TEST_F(FileDialogsTest, AttributeBoxesFollowTheFileAndBuildTheValue) {
    TWinAttribForm form;
    ASSERT_TRUE(form.Create(nullptr));
    EXPECT_EQ(GetText(form.Handle()), "Kestrum Attribute");
    EXPECT_EQ(GetText(form.Box(kAttribReadOnly)), "Read Only");
    EXPECT_EQ(GetText(form.Box(kAttribArchive)), "Archive");

    form.Begin("memo.txt", kAttribReadOnly | kAttribArchive | 0x10);
    EXPECT_EQ(GetText(form.NameLabel()), "memo.txt");
    EXPECT_EQ(SendMessageA(form.Box(kAttribReadOnly), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(form.Box(kAttribHidden), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    SendMessageA(form.Box(kAttribHidden), BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(form.Box(kAttribReadOnly), BM_SETCHECK, BST_UNCHECKED, 0);
    Command(form.Handle(), TWinAttribForm::kAllId);
    ASSERT_TRUE(form.Finished());
    EXPECT_EQ(form.Answer().result, 8);
    EXPECT_EQ(form.Answer().attributes, kAttribHidden | kAttribArchive);

    form.Begin("x", kAttribSystem);
    EXPECT_EQ(SendMessageA(form.Box(kAttribHidden), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    Command(form.Handle(), IDOK);
    EXPECT_EQ(form.Answer().result, 1);
    EXPECT_EQ(form.Answer().attributes, kAttribSystem);
    form.Begin("x", kAttribSystem);
    Command(form.Handle(), IDCANCEL);
    EXPECT_EQ(form.Answer().result, 2);
}

TEST_F(FileDialogsTest, FormatAsksFirstAndPassesDriveAndKind) {
    TfrmFormat form;
    ASSERT_TRUE(form.Create(nullptr));
    EXPECT_EQ(ClassName(form.Handle()), "TfrmFormat1");
    EXPECT_EQ(GetText(form.Handle()), "Format");
    EXPECT_EQ(GetText(form.KindButton(0)), "クイックフォーマット");
    EXPECT_EQ(GetText(form.KindButton(2)), "起動専用");
    EXPECT_EQ(GetText(form.OkButton()), "ＯＫ");
    EXPECT_EQ(SendMessageA(form.KindButton(0), BM_GETCHECK, 0, 0), BST_CHECKED);
    std::vector<std::tuple<HWND, UINT, UINT, UINT>> calls;
    form.SetFormatter([&](HWND w, UINT d, UINT id, UINT o) {
        calls.emplace_back(w, d, id, o);
        return 0;
    });

    form.Begin();
    ASSERT_TRUE(form.SelectDrive(2));  // C:
    SendMessageA(form.KindButton(0), BM_SETCHECK, BST_UNCHECKED, 0);
    SendMessageA(form.KindButton(1), BM_SETCHECK, BST_CHECKED, 0);
    prompter_.Answer(mrCancel);
    Command(form.Handle(), IDOK);
    EXPECT_TRUE(calls.empty());
    EXPECT_FALSE(form.Finished());
    ASSERT_EQ(prompter_.Questions().size(), 1u);
    EXPECT_EQ(prompter_.Questions()[0].text, "Cドライブを通常フォーマットで初期化します。");
    EXPECT_EQ(prompter_.Questions()[0].type, MsgType::Plain);
    EXPECT_EQ(prompter_.Questions()[0].buttons, MsgButtons::OkCancel);

    Command(form.Handle(), IDOK);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0], std::make_tuple(form.Handle(), 2u, 0u, 1u));
    EXPECT_TRUE(form.Finished());
}

}  // namespace
}  // namespace kestrum
