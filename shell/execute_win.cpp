// The command interpreter's entry point. This first version dispatches the
// commands the menus and the tray need (LS, DIR, EXIT, CLOSE, MENU, PVIEW,
// TVIEW, VER) by number through the command table.
#include <windows.h>

#include "common/history.h"
#include "common/sjis.h"
#include "common/split.h"
#include "filer/frm_fm_win.h"
#include "shell/app_win.h"
#include "shell/app_window_win.h"
#include "shell/forms_win.h"
#include "shell/frm_main_win.h"

namespace kestrum {

AppState& App() {
    static AppState state;
    return state;
}

const std::string& CommandName(int n) {
    static const std::string empty;
    const auto& table = App().lists.commandTable;
    if (n < 0 || static_cast<std::size_t>(n) >= table.size()) {
        // Before the settings are loaded the built-in names apply.
        static std::vector<std::string> defaults(DefaultCommandNames().begin(), DefaultCommandNames().end());
        return n >= 0 && n < kCommandCount ? defaults[static_cast<std::size_t>(n)] : empty;
    }
    return table[static_cast<std::size_t>(n)];
}

namespace {

int FindCommand(const std::string& word) {
    for (int i = 0; i < kCommandCount; ++i) {
        if (SameText(CommandName(i), word)) return i;
    }
    return -1;
}

}  // namespace

int Execute_t(const std::string& input) {
    AppState& app = App();
    const std::string line = Trim(input);
    if (line.empty()) return 3;
    const HeadTail wt = SplitFirst(line, ' ');
    const std::string arg = Trim(wt.tail);
    const int n = FindCommand(wt.head);
    if (n < 0) return 0;
    if (app.main) app.main->SetStatus(line);
    switch (n) {
    case 1:  // LS
    case 28: // DIR
        if (app.filer) app.filer->ShowFiler();
        return 1;
    case 2:  // EXIT
        if (app.activeEdit) AddToHistory(app.lists.exeHistory, GetText(app.activeEdit));
        if (app.main) SendMessageA(app.main->Handle(), WM_CLOSE, 0, 0);
        return 1;
    case 3:  // PVIEW
        if (app.imageViewer) app.imageViewer->Show();
        return 3;
    case 4:  // TVIEW
        if (app.textViewer) app.textViewer->Show();
        return 3;
    case 29:  // CLOSE
        CloseFiler();
        return 3;
    case 30: {  // MENU
        const std::string a = UpperAscii(arg);
        if (!app.main) return 1;
        if (a == "OFF") {
            app.main->MenuOff();
        } else if (a == "ON") {
            app.main->MenuOn();
        } else if (app.menuBarShown) {
            app.main->MenuOff();
        } else {
            app.main->MenuOn();
        }
        return 1;
    }
    case 31:  // VER
        ShowVersionWindow();
        return 1;
    default: return 1;
    }
}

bool HandleSystemMenuCommand(UINT id) {
    AppState& app = App();
    switch (id) {
    case kSysMain:
        if (app.main) app.main->ShowShell();
        return true;
    case kSysFiler: Execute_t(CommandName(1)); return true;
    case kSysImage: Execute_t(CommandName(3)); return true;
    case kSysText: Execute_t(CommandName(4)); return true;
    default: return false;
    }
}

}  // namespace kestrum
