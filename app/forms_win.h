// The windows created at start whose own behaviour comes later (thin hidden
// forms that already keep their geometry and fonts), the start-up order,
// and what the application gathers from every window and applies to them.
#pragma once

#include <string>

#include "common/window_win.h"
#include "config/profile.h"
#include "config/window_placement_win.h"
#include "config/window_state.h"

namespace kestrum {

class TfrmMain;
class TfrmFM;
class TShellResident;

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
// Installs the subsystems' question sets over the dialogs CreateAllForms
// made, for the rest of the run.
void InstallWindowQuestions();
// What the shell writes at close, gathered from the windows.
CloseState CollectCloseState();
// Applies what the settings loader read to the windows.
void ApplyLoadedSettings();
// TASKTRAY and TASKSHOW: whether the task-bar button shows.
void ApplyTaskBar();
// Gives the shell window its hot key and tray icon (not yet set from the
// settings); the window owns them from here on.
TShellResident& MakeShellResident(TfrmMain& main);
// The shell window's hot key and tray icon; null when it has none.
TShellResident* ResidentOf(const TfrmMain& main);
// Makes the filer's command line a command box of the shell's kind, its
// Ctrl+Up and Escape going back to the filer.
void MakeFilerCommandLine(TfrmFM& filer);

}  // namespace kestrum
