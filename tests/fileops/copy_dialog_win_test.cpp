// The collision dialog without its modal loop: caption and radio texts by
// state, the answer of OK, Cancel and close, and the choice kept; and the
// collision question of the program, which runs it modally.
#include "fileops/copy_dialog_win.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "common/window_win.h"
#include "fileops/file_questions_win.h"

namespace kestrum {
namespace {

class CopyDialogTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dialog_.Create(nullptr)); }
    void Click(HWND button) { SendMessageA(button, BM_CLICK, 0, 0); }
    TfrmCopyDialog dialog_;
};

TEST_F(CopyDialogTest, CaptionAndRadioTextsFollowTheState) {
    char cls[32] = {};
    GetClassNameA(dialog_.Handle(), cls, sizeof cls);
    EXPECT_STREQ(cls, "TfrmCopyDialog");
    EXPECT_EQ(GetText(dialog_.Label1()), "同名のファイルがあります。");
    EXPECT_EQ(GetText(dialog_.OkButton()), "ＯＫ");
    EXPECT_EQ(GetText(dialog_.CancelButton()), "Ｃａｎｃｅｌ");

    dialog_.Begin("Kestrum", 1);
    EXPECT_EQ(GetText(dialog_.Handle()), "Kestrum 移動");
    EXPECT_EQ(GetText(dialog_.Radio(0)), "日付が新しいファイルを移動。古いファイルは削除");
    EXPECT_EQ(GetText(dialog_.Radio(1)), "名前を変えて移動");
    EXPECT_EQ(GetText(dialog_.Radio(2)), "全て上書き移動。");
    EXPECT_EQ(GetText(dialog_.Radio(3)), "同名は移動しない。");
    EXPECT_EQ(GetFocus(), dialog_.Radio(0));
    SendMessageA(dialog_.Handle(), WM_COMMAND, IDCANCEL, 0);

    dialog_.Begin("Kestrum", 0);
    EXPECT_EQ(GetText(dialog_.Handle()), "Kestrum コピー");
    EXPECT_EQ(GetText(dialog_.Radio(0)), "日付が新しいファイルをコピー");
    EXPECT_EQ(GetText(dialog_.Radio(1)), "名前を変えてコピー");
    EXPECT_EQ(GetText(dialog_.Radio(2)), "全て上書きコピー。");
    EXPECT_EQ(GetText(dialog_.Radio(3)), "同名はコピーしない。");
}

TEST_F(CopyDialogTest, AnswersAndTheChoiceKeptForNextTime) {
    dialog_.Begin("Kestrum", 0);
    EXPECT_FALSE(dialog_.Finished());
    Click(dialog_.OkButton());
    ASSERT_TRUE(dialog_.Finished());
    EXPECT_EQ(dialog_.Result(), 1);  // checked at start-up
    EXPECT_FALSE(IsWindowVisible(dialog_.Handle()));

    for (int i = 0; i < TfrmCopyDialog::kRadioCount; ++i) {
        dialog_.Begin("Kestrum", 0);
        Click(dialog_.Radio(i));
        Click(dialog_.OkButton());
        EXPECT_EQ(dialog_.Result(), i + 1);
    }
    dialog_.Begin("Kestrum", 1);
    EXPECT_EQ(SendMessageA(dialog_.Radio(3), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(GetFocus(), dialog_.Radio(3));
    Click(dialog_.CancelButton());
    EXPECT_EQ(dialog_.Result(), 0);

    dialog_.Begin("Kestrum", 1);
    SendMessageA(dialog_.Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(dialog_.Finished());
    EXPECT_EQ(dialog_.Result(), 0);

    // Two checked buttons: the later policy wins.
    SendMessageA(dialog_.Radio(1), BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(dialog_.Radio(2), BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(dialog_.Radio(3), BM_SETCHECK, BST_UNCHECKED, 0);
    EXPECT_EQ(dialog_.CheckedMode(), 3);
}

// Answers the collision dialog from inside its modal loop: a timer of the
// thread finds it shown, notes its caption and presses what answer says.
class CopyDialogAnswerer {
public:
    explicit CopyDialogAnswerer(std::function<void(HWND dialog)> answer) {
        answer_ = std::move(answer);
        timer_ = SetTimer(nullptr, 0, 10, &Tick);
    }
    ~CopyDialogAnswerer() {
        KillTimer(nullptr, timer_);
        answer_ = nullptr;
    }
    CopyDialogAnswerer(const CopyDialogAnswerer&) = delete;
    CopyDialogAnswerer& operator=(const CopyDialogAnswerer&) = delete;
    static inline std::string caption;

private:
    static BOOL CALLBACK FindShown(HWND w, LPARAM lp) {
        char cls[32] = {};
        GetClassNameA(w, cls, sizeof cls);
        if (IsWindowVisible(w) && std::string(cls) == "TfrmCopyDialog") *reinterpret_cast<HWND*>(lp) = w;
        return TRUE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        HWND shown = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), &FindShown, reinterpret_cast<LPARAM>(&shown));
        if (!shown || !answer_) return;
        caption = GetText(shown);
        const auto answer = std::move(answer_);
        answer_ = nullptr;
        answer(shown);
    }
    static inline std::function<void(HWND)> answer_;
    UINT_PTR timer_;
};

TEST(WinFileOpQuestionsTest, TheCollisionQuestionRunsTheDialogModally) {
    WinFileOpQuestions questions;
    ASSERT_TRUE(questions.Create(nullptr));
    const Subscription installed = InstallQuestions<FileOpQuestions>(questions);
    {
        CopyDialogAnswerer answerer([](HWND dlg) {
            SendMessageA(GetDlgItem(dlg, 103), BM_CLICK, 0, 0);  // the third policy
            SendMessageA(GetDlgItem(dlg, IDOK), BM_CLICK, 0, 0);
        });
        EXPECT_EQ(FileOpAsk().AskCopyMode("Kestrum", 1), cmOverwrite);
    }
    EXPECT_EQ(CopyDialogAnswerer::caption, "Kestrum 移動");
    {
        // Asked again: the choice is still selected; closing cancels.
        bool keptChoice = false;
        CopyDialogAnswerer answerer([&](HWND dlg) {
            keptChoice = SendMessageA(GetDlgItem(dlg, 103), BM_GETCHECK, 0, 0) == BST_CHECKED;
            PostMessageA(dlg, WM_CLOSE, 0, 0);
        });
        EXPECT_EQ(FileOpAsk().AskCopyMode("Kestrum", 0), cmCancel);
        EXPECT_TRUE(keptChoice);
    }
    EXPECT_EQ(CopyDialogAnswerer::caption, "Kestrum コピー");
}

TEST(WinFileOpQuestionsTest, WithoutADialogMadeAtStartOneIsMadeOnFirstUse) {
    WinFileOpQuestions questions;
    CopyDialogAnswerer answerer([](HWND dlg) { SendMessageA(GetDlgItem(dlg, IDOK), BM_CLICK, 0, 0); });
    EXPECT_EQ(questions.AskCopyMode("Kestrum", 0), cmNewer);
}

}  // namespace
}  // namespace kestrum
