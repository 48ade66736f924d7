// TfrmMain: the shell window with the command box, its prompt, the status
// line, the main menu and the tray menu.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "common/handles_win.h"
#include "common/signal.h"
#include "common/window_win.h"
#include "config/font_win.h"
#include "config/services.h"
#include "config/window_state.h"
#include "shell/shell_menus.h"

namespace kestrum {

// What keeps the program resident (the hot key and the tray icon), given to
// the shell window by the application. The window owns it and lets it go
// when it is destroyed, while the program's windows still exist.
class ShellResidency {
public:
    virtual ~ShellResidency() = default;
    virtual bool TrayIconVisible() const = 0;
};

// Panel1: the sunken panel that holds the prompt and the command box. Its
// children's colour questions and notifications go on to the shell window.
class TShellPanel : public Window {
public:
    bool Create(HWND parent);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};

class TfrmMain : public Window, public ShellWindowService {
public:
    TfrmMain();
    ~TfrmMain() override;
    // Creates the window and runs FormCreate; shown later by the caller.
    bool Create(HWND owner);

    HWND Edit1() const { return edit1_; }
    HWND DirName() const { return dirName_; }
    HWND Panel1() const { return panel1_.Handle(); }
    HWND Label1() const { return label1_; }
    HMENU MainMenu() const { return mainMenu_.Get(); }
    HMENU TrayMenu() const { return popupMenu1_.Get(); }

    void MenuOn();
    void MenuOff();
    bool MenuAttached() const { return GetMenu(Handle()) != nullptr; }
    void ShellFontSet();
    void SetShellFont(const FontSpec& spec);
    const FontSpec& ShellFont() const { return e1Font_; }
    // HOMESHIFTMODE: caret-movement captions and whether KHOMECLR1 shows.
    void ApplyHomeShiftMode(int mode);
    // DIRWINDOW: whether the prompt shows.
    void ShowDirName(bool show);
    void SetPrompt(const std::string& dir) override;
    void SetStatus(const std::string& text);
    // Shows the shell as the tray entry "シェル" does.
    void ShowShell() override;
    // The hot key (and a left click on the tray icon): hides the program's
    // window when it is active, else brings it back.
    void HotKeyMsg1HotKey();
    // HotKeyMsg1 and TrayIcon1; null until given and once the window is
    // destroyed.
    void AttachResidency(std::unique_ptr<ShellResidency> residency) { residency_ = std::move(residency); }
    ShellResidency* Residency() const { return residency_.get(); }
    bool TrayIconVisible() const;
    // Normal placement as the settings file keeps it.
    Geometry NormalGeometry() const;
    // Runs a menu command as if chosen.
    void RunMenuCommand(UINT id);

    // The shell window as the other windows reach it.
    bool Present() const override { return true; }
    void FocusCommandBox() override;
    void Show() override { ShowWindow(Handle(), SW_SHOW); }
    void Hide() override { ShowWindow(Handle(), SW_HIDE); }
    void Close() override { PostMessageA(Handle(), WM_CLOSE, 0, 0); }
    void HotKeyToggle() override { HotKeyMsg1HotKey(); }
    FontSpec Font() const override { return ShellFont(); }
    void SetFont(const FontSpec& font) override { SetShellFont(font); }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void FormCreate();
    void BuildMenus();
    void Layout();
    void FormCloseQuery();
    void OnDropFiles(HDROP drop);
    void OnActivate(bool active);
    void Edit1KeyDown(WPARAM& key);

    TShellPanel panel1_;
    HWND dirName_ = nullptr;
    HWND edit1_ = nullptr;
    HWND label1_ = nullptr;
    MenuBar mainMenu_;
    HMENU action11_ = nullptr;  // a submenu: the menu bar owns it
    MenuHandle popupMenu1_;
    FontSpec e1Font_;
    FontHandle e1FontHandle_;
    FontHandle formFont_;
    int panelHeight_ = 21;
    int savedCaret_ = 0;
    bool dirNameShown_ = false;
    bool homeClrShown_ = true;
    std::unique_ptr<ShellResidency> residency_;
    // Registrations with the process-wide lists; they go with the window.
    std::vector<Subscription> subscriptions_;
};

// The window last activated (the shell or the line-input window), focused
// again when the hot key brings the program back.
void SetLastActiveForm(HWND wnd);
HWND LastActiveForm();
// "バージョン情報": the version message.
void ShowVersionWindow();

}  // namespace kestrum
