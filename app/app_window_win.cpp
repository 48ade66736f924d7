// The application window and the restore hook.
#include "app/app_window_win.h"

#include "app/app_win.h"
#include "config/session.h"
#include "filer/frm_fm_win.h"
#include "shell/frm_main_win.h"

namespace kestrum {

bool AppWindow::Create(const std::string& title, HICON icon) {
    RegisterWindowClass("TApplication", icon);
    // A visible window of no size: it carries the task-bar button.
    const int x = GetSystemMetrics(SM_CXSCREEN) / 2;
    const int y = GetSystemMetrics(SM_CYSCREEN) / 2;
    if (!CreateWin("TApplication", 0, WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, title,
                   x, y, 0, 0, nullptr)) {
        return false;
    }
    HMENU sys = GetSystemMenu(Handle(), FALSE);
    InsertMenuA(sys, 2, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    InsertMenuA(sys, 3, MF_BYPOSITION | MF_STRING, kSysMain, "&1 Main");
    InsertMenuA(sys, 4, MF_BYPOSITION | MF_STRING, kSysText, "&2 テキストビューワー");
    InsertMenuA(sys, 5, MF_BYPOSITION | MF_STRING, kSysImage, "&3 画像ビューワー");
    InsertMenuA(sys, 6, MF_BYPOSITION | MF_STRING, kSysFiler, "&4 ファイラー");
    return true;
}

void AppWindow::SetTitle(const std::string& title) { SetWindowTextA(Handle(), title.c_str()); }

void AppWindow::ShowTaskButton(bool show) { ShowWindow(Handle(), show ? SW_SHOWNA : SW_HIDE); }

LRESULT AppWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SYSCOMMAND: {
        const UINT id = static_cast<UINT>(wp & 0xFFF0);
        if (HandleSystemMenuCommand(id)) return 0;
        if (id == SC_RESTORE) {
            // Restore hook: with nothing showing and no tray icon, bring
            // back the window that was active last.
            AppState& app = App();
            const bool shellShown = app.main && app.main->Visible();
            const bool filerShown = app.filer && app.filer->Visible();
            const bool trayShown = app.main && app.main->TrayIconVisible();
            if (!shellShown && !filerShown && !trayShown) {
                if (TheSession().filerLastActive && app.filer) {
                    app.filer->ShowFiler();
                } else if (app.main) {
                    app.main->ShowShell();
                }
            }
            return 0;
        }
        break;
    }
    case WM_CLOSE:
        if (App().main) PostMessageA(App().main->Handle(), WM_CLOSE, 0, 0);
        return 0;
    default: break;
    }
    return Default(msg, wp, lp);
}

}  // namespace kestrum
