// The application: the windows created once at start, the services that let
// the subsystems reach one another, and the interpreter of the running
// program.
#pragma once

#include <windows.h>

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
};

AppState& App();

// The services over the windows of App(): the shell window and the filer
// as they are now, the interpreter, the viewers and the application's own.
Services AppServices();
// Installs AppServices(); again whenever a window of App() is made.
void InstallAppServices();

// The interpreter of the running program, and the platform side of its
// file commands.
Interpreter& TheInterpreter();
FileCommandHost& TheFileCommandHost();

}  // namespace kestrum
