// The modal loop of the program's own dialogs.
#include "common/modal_loop_win.h"

#include <vector>

#include "common/message_pump_win.h"

namespace kestrum {

namespace {

struct EnableInfo {
    HWND self;
    std::vector<HWND> disabled;
};

BOOL CALLBACK DisableOthers(HWND wnd, LPARAM lp) {
    auto* info = reinterpret_cast<EnableInfo*>(lp);
    if (wnd != info->self && IsWindowVisible(wnd) && IsWindowEnabled(wnd)) {
        EnableWindow(wnd, FALSE);
        info->disabled.push_back(wnd);
    }
    return TRUE;
}

}  // namespace

bool RunModalLoop(HWND wnd, const bool& done) {
    EnableInfo info{wnd, {}};
    EnumThreadWindows(GetCurrentThreadId(), DisableOthers, reinterpret_cast<LPARAM>(&info));
    ShowWindow(wnd, SW_SHOW);
    SetForegroundWindow(wnd);
    bool quit = false;
    MSG msg{};
    while (!done && IsWindow(wnd)) {
        // Unicode, as the main loop: typed characters arrive whole.
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            quit = true;
            break;
        }
        if (got < 0) break;
        if (RunMessageHook(msg) || IsDialogMessageW(wnd, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    for (HWND w : info.disabled) {
        if (IsWindow(w)) EnableWindow(w, TRUE);
    }
    if (IsWindow(wnd)) ShowWindow(wnd, SW_HIDE);
    if (quit) PostQuitMessage(static_cast<int>(msg.wParam));
    return !quit;
}

}  // namespace kestrum
