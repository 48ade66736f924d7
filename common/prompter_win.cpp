// The platform prompter: message boxes owned by the active window.
#include <windows.h>

#include <string>

#include "common/prompter_win.h"

namespace kestrum {

namespace {

struct Relabel {
    int id;
    const char* text;
};
thread_local HHOOK t_relabelHook = nullptr;
thread_local const Relabel* t_relabels = nullptr;

// Button sets the platform's message box lacks are shown as another set with
// renamed buttons: Yes/No/All as Abort/Retry/Ignore (which Escape cannot
// close), Yes/Cancel as OK/Cancel.
LRESULT CALLBACK RelabelProc(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_ACTIVATE && t_relabels) {
        HWND dlg = reinterpret_cast<HWND>(wp);
        for (const Relabel* r = t_relabels; r->text; ++r) SetDlgItemTextA(dlg, r->id, r->text);
        t_relabels = nullptr;
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

constexpr Relabel kYesNoAll[] = {{IDABORT, "はい(&Y)"}, {IDRETRY, "いいえ(&N)"}, {IDIGNORE, "すべて(&A)"}, {0, nullptr}};
constexpr Relabel kYesCancel[] = {{IDOK, "はい(&Y)"}, {0, nullptr}};

class WinPrompter : public Prompter {
public:
    int MessageDlg(std::string_view text, MsgType type, MsgButtons buttons) override {
        return MessageDlgCaption(MsgCaption(type), text, type, buttons);
    }

    int MessageDlgCaption(std::string_view captionText, std::string_view text, MsgType type,
                          MsgButtons buttons) override {
        UINT flags = MB_TASKMODAL;
        switch (type) {
        case MsgType::Warning: flags |= MB_ICONWARNING; break;
        case MsgType::Error: flags |= MB_ICONERROR; break;
        case MsgType::Information: flags |= MB_ICONINFORMATION; break;
        case MsgType::Confirmation: flags |= MB_ICONQUESTION; break;
        case MsgType::Plain: break;
        }
        switch (buttons) {
        case MsgButtons::Ok: flags |= MB_OK; break;
        case MsgButtons::OkCancel: flags |= MB_OKCANCEL; break;
        case MsgButtons::YesNo: flags |= MB_YESNO; break;
        case MsgButtons::YesCancel: flags |= MB_OKCANCEL; t_relabels = kYesCancel; break;
        case MsgButtons::YesNoCancel: flags |= MB_YESNOCANCEL; break;
        case MsgButtons::YesNoAll:
            flags |= MB_ABORTRETRYIGNORE;
            t_relabels = kYesNoAll;
            break;
        }
        if (t_relabels) t_relabelHook = SetWindowsHookExA(WH_CBT, RelabelProc, nullptr, GetCurrentThreadId());
        const std::string t(text);
        const std::string caption(captionText);
        HWND owner = GetActiveWindow();
        int r = MessageBoxA(owner, t.c_str(), caption.c_str(), flags);
        if (t_relabelHook) {
            UnhookWindowsHookEx(t_relabelHook);
            t_relabelHook = nullptr;
        }
        t_relabels = nullptr;
        if (buttons == MsgButtons::YesNoAll) {
            r = r == IDABORT ? mrYes : r == IDRETRY ? mrNo : r == IDIGNORE ? mrAll : mrNone;
        } else if (buttons == MsgButtons::YesCancel) {
            r = r == IDOK ? mrYes : mrCancel;
        }
        return r;
    }

    int AskPopupMenu(void* menu, int x, int y, void* owner) override {
        HWND wnd = static_cast<HWND>(owner);
        // A menu of a window in the background would not close when the
        // user clicks elsewhere.
        if (wnd) SetForegroundWindow(wnd);
        const int id = static_cast<int>(TrackPopupMenu(static_cast<HMENU>(menu),
                                                       TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, x, y, 0,
                                                       wnd, nullptr));
        if (wnd) PostMessageA(wnd, WM_NULL, 0, 0);
        return id;
    }
};

}  // namespace

Prompter& PlatformPrompter() {
    static WinPrompter p;
    return p;
}

}  // namespace kestrum
