// The application's message hook and the pump of long operations.
#include "common/message_pump_win.h"

namespace kestrum {

namespace {
MessageHook g_hook = nullptr;
}  // namespace

MessageHook SetMessageHook(MessageHook hook) {
    const MessageHook before = g_hook;
    g_hook = hook;
    return before;
}

bool RunMessageHook(const MSG& msg) { return g_hook && g_hook(msg); }

bool PumpPendingMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        if (RunMessageHook(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}

}  // namespace kestrum
