// kdrive: drives a running Kestrum from outside, as a user would, for the
// end-to-end tests. One Driver runs one program; each command returns an
// empty string on success or the reason it failed.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "common/handles_win.h"

namespace kdrive {

class Driver {
public:
    ~Driver();
    // Runs one script line; output (caption, text) goes to out.
    std::string Run(const std::string& line, std::string& out);
    // How long each command waits for the program to take what was posted
    // before it checks that it answers (150 ms; long runs use less).
    void SetSettleMs(DWORD ms) { settleMs_ = ms; }

private:
    std::string Start(const std::string& exe, const std::string& args);
    HWND FindWindowOf(const std::string& cls, const std::string& caption, bool visibleOnly) const;
    std::string WaitWindow(const std::vector<std::string>& args, bool visibleOnly);
    std::string TypeText(const std::string& text);
    std::string SendKey(const std::string& spec);
    std::string Close(DWORD timeoutMs);
    std::string WaitExit(DWORD timeoutMs);
    // Fails unless the program runs and each of its visible windows answers within ms.
    std::string Ping(DWORD ms) const;
    // Answers every message box of the program with its most cautious button
    // and closes any other window but the shell and the filer; out gets the count.
    std::string Dismiss(std::string& out);
    void Settle(HWND w) const;
    HWND Focused() const;
    // The class of the control that has the keyboard focus in the program's
    // thread, with its top-level window's ("Edit in TfrmMain").
    std::string FocusInfo() const;
    // The commands of the global hot key and the tray icon (kdrive_desktop.cpp).
    std::string RunDesktop(const std::vector<std::string>& args);

    kestrum::UniqueHandle process_;  // the program started
    kestrum::UniqueHandle thread_;
    DWORD pid_ = 0;
    DWORD tid_ = 0;  // the program's first thread, which runs its windows
    DWORD exitCode_ = STILL_ACTIVE;
    HWND current_ = nullptr;
    DWORD settleMs_ = 150;
};

// Splits a script line into words; double quotes group words.
std::vector<std::string> Words(const std::string& line);
// The virtual-key code of a key name of the key command; -1 for none.
int KeyCode(const std::string& name);

}  // namespace kdrive
