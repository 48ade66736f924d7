// The windows created at start whose own behaviour comes later: thin hidden
// forms that already keep their geometry and fonts, and the helpers the shell
// uses to show, hide and close them.
#pragma once

#include <functional>
#include <string>

#include "common/window_win.h"
#include "config/profile.h"
#include "config/window_state.h"

namespace kestrum {

// Normal (restored) placement of a window in the settings file's terms.
Geometry WindowGeometry(HWND wnd);
// A placement read from the settings file kept on the visible desktop: on
// the work area of the monitor nearest to it (KeepOnDesktop).
Geometry OnVisibleDesktop(const Geometry& g, const Geometry& def);
bool IsMaximised(HWND wnd);

// A form created once at start and hidden. It reads its geometry (and font)
// from the settings file when created and closes by hiding.
class TPlaceholderForm : public Window {
public:
    struct Keys {
        const char* section = "FORM_LS";
        const char* prefix = "";  // "we", "hh", "" ...
        Geometry defaults{100, 100, 300, 400};
        bool hasFont = false;
        FontSpec defaultFont{"ＭＳ ゴシック", 10, 0};
        bool positionOnly = false;  // PTop/PLeft of the image viewer
    };
    TPlaceholderForm(std::string className, std::string caption, Keys keys);
    bool Create(HWND owner, const ProfileReader& profile);

    Geometry NormalGeometry() const { return WindowGeometry(Handle()); }
    const FontSpec& Font() const { return font_; }
    bool Maximised() const { return IsMaximised(Handle()); }
    void Show();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    std::string className_;
    std::string caption_;
    Keys keys_;
    FontSpec font_;
};

// Creates every window in the start-up order; false when one could not be made.
bool CreateAllForms(HWND owner);
// What the shell writes at close, gathered from the windows.
CloseState CollectCloseState();
// The window last activated (the shell or the line-input window), focused
// again when the hot key brings the program back.
void SetLastActiveForm(HWND wnd);
HWND LastActiveForm();
void CloseFiler();
void ShowVersionWindow();
// Applies what the settings loader read to the windows.
void ApplyLoadedSettings();
// One step of start-up. An error raised in it is shown in the error box and
// fallback (when given) runs instead, so that the program starts anyway.
void StartupStep(const std::function<void()>& step, const std::function<void()>& fallback = nullptr);
// TASKTRAY and TASKSHOW: whether the task-bar button shows.
void ApplyTaskBar();

}  // namespace kestrum
