// The platform prompter's message boxes: captions, results and renamed buttons.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/prompter.h"
#include "tests/test_util.h"

namespace kestrum {
namespace {

// Answers the next message box with a button and records what it showed.
struct Seen {
    std::string caption;
    std::string buttonText;
    int press = IDOK;
    int buttonToRead = IDOK;
};
thread_local Seen* t_seen = nullptr;

LRESULT CALLBACK Answer(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_ACTIVATE && t_seen) {
        HWND dlg = reinterpret_cast<HWND>(wp);
        char buf[512] = {};
        GetClassNameA(dlg, buf, sizeof buf);
        // Other windows are activated again after the box has gone.
        if (std::strcmp(buf, "#32770") != 0) return CallNextHookEx(nullptr, code, wp, lp);
        GetWindowTextA(dlg, buf, sizeof buf);
        t_seen->caption = buf;
        PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(t_seen->press, BN_CLICKED), 0);
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

int Ask(Seen& seen, MsgType type, MsgButtons buttons) {
    test::ExpectDialogs expect;
    t_seen = &seen;
    HHOOK hook = SetWindowsHookExA(WH_CBT, Answer, nullptr, GetCurrentThreadId());
    const int r = CurrentPrompter().MessageDlg("ファイルを上書きしますか？", type, buttons);
    UnhookWindowsHookEx(hook);
    t_seen = nullptr;
    return r;
}

TEST(PrompterWinTest, CaptionsTextAndResults) {
    Seen seen;
    seen.press = IDNO;
    EXPECT_EQ(Ask(seen, MsgType::Confirmation, MsgButtons::YesNo), mrNo);
    EXPECT_EQ(seen.caption, "確認");
    seen.press = IDOK;
    EXPECT_EQ(Ask(seen, MsgType::Warning, MsgButtons::Ok), mrOk);
    EXPECT_EQ(seen.caption, "警告");
}

TEST(PrompterWinTest, SetsTheBoxLacksAreMapped) {
    Seen seen;
    seen.press = IDIGNORE;
    EXPECT_EQ(Ask(seen, MsgType::Confirmation, MsgButtons::YesNoAll), mrAll);
    seen.press = IDABORT;
    EXPECT_EQ(Ask(seen, MsgType::Confirmation, MsgButtons::YesNoAll), mrYes);
    seen.press = IDOK;
    EXPECT_EQ(Ask(seen, MsgType::Confirmation, MsgButtons::YesCancel), mrYes);
    seen.press = IDCANCEL;
    EXPECT_EQ(Ask(seen, MsgType::Confirmation, MsgButtons::YesCancel), mrCancel);
}

}  // namespace
}  // namespace kestrum
