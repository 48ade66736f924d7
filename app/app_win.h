// The application: the windows created once at start, the services that let
// the subsystems reach one another, and the interpreter of the running
// program.
#pragma once

#include <windows.h>

#include <vector>

#include "common/signal.h"

#include "config/services.h"

namespace kestrum {

class TfrmMain;
class TfrmFM;
class TPlaceholderForm;
class TfrmLZHV;
class TfrmHistory;
class TfrmEdit;
class TwttForm;
class Interpreter;
class FileCommandHost;

// Owns the hidden application window that carries the task-bar button and
// the program's title; every other window is owned by it.
class AppWindow;

// The windows made at start (null until made).
struct AppState {
    AppWindow* app = nullptr;
    TfrmMain* main = nullptr;
    TfrmFM* filer = nullptr;
    TPlaceholderForm* imageViewer = nullptr;
    TfrmHistory* picker = nullptr;
    TfrmLZHV* archiveViewer = nullptr;
    TfrmEdit* lineInput = nullptr;
    TwttForm* textViewer = nullptr;
    TPlaceholderForm* progress = nullptr;
    TPlaceholderForm* userMenuEditor = nullptr;
    // What the program installed at start: the platform's implementations,
    // the services and the window prompter.
    std::vector<Subscription> installed;
};

AppState& App();

// Installs the services over the windows of App() (the shell window and
// the filer as they are when asked, the interpreter, the viewers, the
// archives and the application's own) until the subscriptions go.
[[nodiscard]] std::vector<Subscription> InstallAppServices();
// Installs the platform's prompter and file commit over the cores'
// fallbacks until the subscriptions go.
[[nodiscard]] std::vector<Subscription> InstallPlatform();

// The interpreter of the running program, and the platform side of its
// file commands.
Interpreter& TheInterpreter();
FileCommandHost& TheFileCommandHost();

}  // namespace kestrum
