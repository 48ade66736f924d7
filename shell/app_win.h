// Process-wide state of the running program: the settings, the shell-owned
// lists, the paths, and the windows created once at start.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "config/settings.h"

namespace kestrum {

class TfrmMain;
class TfrmFM;
class TPlaceholderForm;

// Owns the hidden application window that carries the task-bar button and
// the program's title; every other window is owned by it.
class AppWindow;

struct AppState {
    Settings settings;
    SettingsLists lists;

    std::string currentDir;   // always ends in "\"
    std::string programDir;   // ends in "\"
    std::string settingsPath;
    std::string helpFile;
    std::string title = "Kestrum";
    std::string maskText = "*.*";
    std::vector<std::string> masks = {"0*.*"};
    // Last directory visited per drive, without its "X:\".
    std::array<std::string, 26> driveDirs;
    // The child directory just left by "..", where the filer's cursor goes.
    std::string returningFrom;

    bool menuBarShown = true;
    bool filerLastActive = false;
    bool swallowSysChar = false;   // the next WM_SYSCHAR is discarded
    bool menuOffAfterLs = false;   // FILERAUTO attached the menu only for LS
    HWND activeEdit = nullptr;
    int activeEditTag = 0;         // 0 the shell's box, 1 the filer's

    AppWindow* app = nullptr;
    TfrmMain* main = nullptr;
    TfrmFM* filer = nullptr;
    TPlaceholderForm* imageViewer = nullptr;
    TPlaceholderForm* picker = nullptr;
    TPlaceholderForm* archiveViewer = nullptr;
    TPlaceholderForm* lineInput = nullptr;
    TPlaceholderForm* textViewer = nullptr;
    TPlaceholderForm* progress = nullptr;
    TPlaceholderForm* sortDialog = nullptr;
    TPlaceholderForm* copyDialog = nullptr;
    TPlaceholderForm* userMenuEditor = nullptr;
    TPlaceholderForm* formatDialog = nullptr;
};

AppState& App();

// Name of internal command n as the settings call it now.
const std::string& CommandName(int n);

// Runs a command line (the interpreter's entry point).
int Execute_t(const std::string& line);

// System-command ids of the entries added to the system menus.
enum : UINT { kSysMain = 256, kSysFiler = 512, kSysImage = 768, kSysText = 1024 };
// Runs one of the system-menu entries; false for other ids.
bool HandleSystemMenuCommand(UINT id);

}  // namespace kestrum
