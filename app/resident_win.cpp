// The shell's hot key and tray icon, and how the settings set them.
#include "app/resident_win.h"

#include "app/forms_win.h"
#include "common/window_win.h"
#include "config/cfg_form_win.h"
#include "config/session.h"

namespace kestrum {

TShellResident::TShellResident(std::function<void()> toggle, HMENU trayMenu, HWND commandWindow, HICON icon) {
    hotKeyMsg1_.OnHotKey = toggle;
    try {
        trayIcon1_ = std::make_unique<TTrayIcon>();
        trayIcon1_->SetIcon(icon);
        trayIcon1_->SetTipHelp("Kestrum");
        trayIcon1_->RBPopupMenu = TrayPopupMenu{trayMenu, commandWindow};
        trayIcon1_->OnMouseDown = [toggle](MouseButton button, unsigned, int, int) {
            if (button == MouseButton::Left) toggle();
        };
    } catch (const ETrayError& e) {
        trayIcon1_.reset();
        ShowErrorBox(e.what());
    }
    // The dialog's OK: a changed key is registered again under the same
    // identifier; the icon and the task bar follow TASKTRAY.
    cfgListener_ = AddCfgAppliedListener([this](const Settings& before) {
        const Settings& s = TheSession().settings;
        if (before.hotKeyFlag != s.hotKeyFlag || before.hotText != s.hotText) ApplyHotKey(s);
        ApplyTray(s);
        ApplyTaskBar();
    });
}

TShellResident::~TShellResident() = default;

void TShellResident::Apply(const Settings& s) {
    ApplyHotKey(s);
    ApplyTray(s);
}

void TShellResident::ApplyHotKey(const Settings& s) {
    hotKeyMsg1_.SetEnabled(s.hotKeyFlag);
    if (!s.hotKeyFlag) {
        // A key the user no longer uses is not kept from other programs.
        hotKeyMsg1_.DeleteHotKey();
        return;
    }
    try {
        hotKeyMsg1_.SetHotKey(TextToShortCut(s.hotText));
    } catch (const EHotKeyError& e) {
        ShowErrorBox(e.what());
    }
}

void TShellResident::ApplyTray(const Settings& s) {
    if (!trayIcon1_) return;
    try {
        trayIcon1_->SetVisible(s.taskTray);
    } catch (const ETrayError& e) {
        ShowErrorBox(e.what());
    }
}

}  // namespace kestrum
