// The application window: hidden owner of every window, carrier of the
// task-bar button and of the program's title.
#pragma once

#include "common/window_win.h"

namespace kestrum {

class AppWindow : public Window {
public:
    bool Create(const std::string& title, HICON icon);
    void SetTitle(const std::string& title);
    // Shows or hides the task-bar button.
    void ShowTaskButton(bool show);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};

}  // namespace kestrum
