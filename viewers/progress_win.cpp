#include "viewers/progress_win.h"

#include <commctrl.h>

#include "common/message_pump_win.h"

namespace kestrum {

namespace {
constexpr int kCancelId = 1;
constexpr int kWidth = 320;
constexpr int kHeight = 110;
}  // namespace

bool TprogForm::Start(HWND owner, const std::string& title, int max, bool cancellable) {
    cancelled_ = false;
    position_ = 0;
    if (!Handle()) {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&icc);
        RegisterWindowClass("TprogForm");
        RECT r{};
        if (owner) GetWindowRect(owner, &r);
        const int x = owner ? (r.left + r.right - kWidth) / 2 : CW_USEDEFAULT;
        const int y = owner ? (r.top + r.bottom - kHeight) / 2 : CW_USEDEFAULT;
        if (!CreateWin("TprogForm", WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW, WS_POPUP | WS_CAPTION, title, x, y, kWidth,
                       kHeight, owner)) {
            return false;
        }
        bar_ = AddChild(PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, 10, 10, kWidth - 26, 20, -1);
        cancel_ = AddChild("BUTTON", "キャンセル", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, (kWidth - 90) / 2, 40, 84, 25,
                           kCancelId);
    } else {
        SetWindowTextA(Handle(), title.c_str());
    }
    SendMessageA(bar_, PBM_SETRANGE32, 0, max < 1 ? 1 : max);
    SendMessageA(bar_, PBM_SETPOS, 0, 0);
    EnableWindow(cancel_, cancellable ? TRUE : FALSE);
    ShowWindow(Handle(), SW_SHOWNA);
    UpdateWindow(Handle());
    return true;
}

bool TprogForm::Step(int position) {
    position_ = position;
    if (bar_) SendMessageA(bar_, PBM_SETPOS, static_cast<WPARAM>(position), 0);
    PumpPendingMessages();
    return !cancelled_;
}

void TprogForm::Finish() {
    if (Handle()) ShowWindow(Handle(), SW_HIDE);
}

LRESULT TprogForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        if (LOWORD(wp) == kCancelId) {
            cancelled_ = true;
            return 0;
        }
        break;
    case WM_CLOSE:
        cancelled_ = true;
        return 0;
    default: break;
    }
    return Default(msg, wp, lp);
}

}  // namespace kestrum
