// Test entry point. On Windows a safety net answers any dialog box that a
// test opens by mistake (and fails that test), so that no run ever hangs.
#include <gtest/gtest.h>

#include "tests/test_util.h"

#ifdef _WIN32
#include <windows.h>

#include <cstring>
#include <string>

namespace {

LRESULT CALLBACK AnswerDialogs(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_ACTIVATE && !kestrum::test::ExpectDialogs::Active()) {
        HWND dlg = reinterpret_cast<HWND>(wp);
        char cls[16] = {};
        GetClassNameA(dlg, cls, sizeof cls);
        if (std::strcmp(cls, "#32770") == 0) {
            char text[1024] = {};
            GetDlgItemTextA(dlg, 0xFFFF, text, sizeof text);
            ADD_FAILURE() << "a dialog box was opened: " << text;
            // Whichever of these the box has closes it.
            for (int id : {IDCANCEL, IDNO, IDOK, IDABORT}) {
                PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
            }
        }
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace
#endif

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
#ifdef _WIN32
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    HHOOK hook = SetWindowsHookExA(WH_CBT, AnswerDialogs, nullptr, GetCurrentThreadId());
    const int rc = RUN_ALL_TESTS();
    if (hook) UnhookWindowsHookEx(hook);
    return rc;
#else
    return RUN_ALL_TESTS();
#endif
}
