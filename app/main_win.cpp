// Program start: the application window, every form in the start-up order,
// and the one message loop.
#include <windows.h>
#include <commctrl.h>

#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "app/app_win.h"
#include "app/app_window_win.h"
#include "app/forms_win.h"
#include "app/window_prompter_win.h"
#include "common/message_pump_win.h"
#include "common/prompter.h"
#include "common/window_win.h"
#include "config/session.h"
#include "shell/frm_main_win.h"

using namespace kestrum;

namespace {

// The application's message hook: discards the one WM_SYSCHAR that follows
// an Alt key binding.
bool OnMessageEvent(const MSG& msg) {
    Session& session = TheSession();
    if (msg.message == WM_SYSCHAR && session.swallowSysChar) {
        session.swallowSysChar = false;
        return true;
    }
    return false;
}

}  // namespace

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    SetMessageHook(OnMessageEvent);
    AppState& app = App();

    // The platform's implementations and the services, for the whole run.
    app.installed = InstallPlatform();
    for (Subscription& service : InstallAppServices()) app.installed.push_back(std::move(service));

    static AppWindow appWindow;
    if (!appWindow.Create(TheSession().title, LoadIconA(inst, MAKEINTRESOURCEA(1)))) return 1;
    app.app = &appWindow;

    // An error raised while the windows are made never ends the program: it
    // is shown, and the program goes on once its shell window exists.
    bool created = false;
    try {
        created = CreateAllForms(appWindow.Handle());
    } catch (const std::exception& e) {
        ShowErrorBox(std::string("起動中にエラーが発生しました。\r\n") + e.what());
        created = app.main && app.main->Handle();
    }
    if (!created) {
        CurrentPrompter().MessageDlg("ウインドウを作成できません。", MsgType::Error, MsgButtons::Ok);
        return 1;
    }
    // Questions go to the program's own windows from here on.
    app.installed.push_back(InstallWindowPrompter());
    InstallWindowQuestions();
    ShowWindow(app.main->Handle(), SW_SHOW);
    SetForegroundWindow(app.main->Handle());
    ApplyTaskBar();

    // A Unicode loop: a character typed through an input method reaches the
    // command boxes whole (an ANSI loop hands it over byte by byte).
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (RunMessageHook(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
