// The shell window's residency: its global hot key (HotKeyMsg1) and its
// notification-area icon (TrayIcon1), both wired to the shell's toggle, and
// set from HOTKEYFLAG/HOTTEXT and TASKTRAY after the settings are read and
// again after the settings dialog's OK. A registration the platform refuses
// is reported in the error box and the program goes on without it.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "common/signal.h"
#include "config/settings.h"
#include "desktop/hot_key_win.h"
#include "desktop/tray_icon_win.h"
#include "shell/frm_main_win.h"

namespace kestrum {

class TShellResident : public ShellResidency {
public:
    // toggle: what the hot key and a left click on the icon do; trayMenu is
    // popped up by the right button and sends its commands to
    // commandWindow; icon is the icon's picture (not owned).
    TShellResident(std::function<void()> toggle, HMENU trayMenu, HWND commandWindow, HICON icon);
    ~TShellResident() override;
    TShellResident(const TShellResident&) = delete;
    TShellResident& operator=(const TShellResident&) = delete;

    // HOTKEYFLAG enables the key and registers HOTTEXT (off: the key is
    // released); TASKTRAY shows or hides the icon.
    void Apply(const Settings& s);
    void ApplyHotKey(const Settings& s);
    void ApplyTray(const Settings& s);

    bool TrayIconVisible() const override { return trayIcon1_ && trayIcon1_->Visible(); }
    THotKeyMsg& HotKeyMsg1() { return hotKeyMsg1_; }
    // Null when the icon could not be made.
    TTrayIcon* TrayIcon1() { return trayIcon1_.get(); }

private:
    THotKeyMsg hotKeyMsg1_{"HotKeyMsg1"};
    std::unique_ptr<TTrayIcon> trayIcon1_;
    Subscription cfgListener_;
};

}  // namespace kestrum
