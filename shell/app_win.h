// Process-wide state of the running program: the settings, the shell-owned
// lists, the paths, and the windows created once at start.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "shell/shell_state.h"

namespace kestrum {

class TfrmMain;
class TfrmFM;
class TPlaceholderForm;
class TfrmHistory;
class TfrmEdit;
class Window;

// Owns the hidden application window that carries the task-bar button and
// the program's title; every other window is owned by it.
class AppWindow;

struct AppState : ShellState {
    HWND activeEdit = nullptr;  // the command box that last had the focus

    AppWindow* app = nullptr;
    TfrmMain* main = nullptr;
    TfrmFM* filer = nullptr;
    TPlaceholderForm* imageViewer = nullptr;
    TfrmHistory* picker = nullptr;
    TPlaceholderForm* archiveViewer = nullptr;
    TfrmEdit* lineInput = nullptr;
    TPlaceholderForm* textViewer = nullptr;
    TPlaceholderForm* progress = nullptr;
    Window* sortDialog = nullptr;
    Window* copyDialog = nullptr;
    TPlaceholderForm* userMenuEditor = nullptr;
    Window* formatDialog = nullptr;
};

AppState& App();

// Name of internal command n as the settings call it now.
const std::string& CommandName(int n);

// Runs a command line (the interpreter's entry point).
int Execute_t(const std::string& line);
// The interpreter of the running program.
class Interpreter;
Interpreter& TheInterpreter();

// System-command ids of the entries added to the system menus.
enum : UINT { kSysMain = 256, kSysFiler = 512, kSysImage = 768, kSysText = 1024 };
// Runs one of the system-menu entries; false for other ids.
bool HandleSystemMenuCommand(UINT id);

}  // namespace kestrum
