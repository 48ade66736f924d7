// TprogForm: a small window with a progress bar and a cancel button, shown
// while a long piece of work runs in the thread that owns the windows.
#pragma once

#include <windows.h>

#include <string>

#include "common/window_win.h"

namespace kestrum {

class TprogForm : public Window {
public:
    // Creates and shows the window over owner with a bar from 0 to max.
    bool Start(HWND owner, const std::string& title, int max, bool cancellable);
    // Moves the bar and lets the window messages that wait run; false once
    // the user has cancelled.
    bool Step(int position);
    void Cancel() { cancelled_ = true; }
    bool Cancelled() const { return cancelled_; }
    int Position() const { return position_; }
    // Hides the window.
    void Finish();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    HWND bar_ = nullptr;
    HWND cancel_ = nullptr;
    int position_ = 0;
    bool cancelled_ = false;
};

}  // namespace kestrum
