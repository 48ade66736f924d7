// Under a virtual X display with Wine's X11 driver, where a notification
// area exists: the icon really enters and leaves it, the shell's settings
// put it there, and a running Kestrum.exe answers its icon and tray menu.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/app_win.h"
#include "app/app_window_win.h"
#include "app/forms_win.h"
#include "app/resident_win.h"
#include "common/prompter.h"
#include "config/session.h"
#include "config/settings_loader.h"
#include "desktop/tray_icon_win.h"
#include "shell/frm_main_win.h"
#include "tests/e2e/drive.h"
#include "tests/fakes/scripted_prompter.h"
#include "tests/test_util.h"

namespace kestrum {
namespace {

// Whether the notification area holds an icon, asked without changing it.
bool InTray(HWND window, UINT id) {
    NOTIFYICONDATAA d{};
    d.cbSize = NOTIFYICONDATAA_V1_SIZE;
    d.hWnd = window;
    d.uID = id;
    return Shell_NotifyIconA(NIM_MODIFY, &d) != FALSE;
}

HICON AppIcon() { return LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION)); }

TEST(TrayIconX11Test, IconEntersAndLeavesTheNotificationArea) {
    HWND window = nullptr;
    UINT id = 0;
    {
        TTrayIcon icon;
        window = TTrayIcon::CallbackWindow();
        id = icon.Id();
        icon.SetIcon(AppIcon());
        icon.SetTipHelp("Kestrum");
        EXPECT_FALSE(InTray(window, id));
        ASSERT_NO_THROW(icon.SetVisible(true));
        EXPECT_TRUE(icon.Registered());
        EXPECT_TRUE(InTray(window, id));
        EXPECT_NO_THROW(icon.SetTipHelp("Kestrum テスト"));
        EXPECT_NO_THROW(icon.SetIcon(LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_INFORMATION))));
        icon.SetVisible(false);
        EXPECT_FALSE(InTray(window, id));
        icon.SetVisible(true);
        EXPECT_TRUE(InTray(window, id));
    }
    // Gone with its object.
    EXPECT_FALSE(InTray(window, id));
}

class ShellTrayX11Test : public testing::Test {
protected:
    void SetUp() override {
        AppState& app = App();
        app = AppState();
        TheSession() = Session();
        TheSession().settingsPath = dir_.File("Kestrum.Cfg");
        prompterInstalled_ = InstallPrompter(prompter_);
        appWindow_ = std::make_unique<AppWindow>();
        ASSERT_TRUE(appWindow_->Create("Kestrum", nullptr));
        app.app = appWindow_.get();
        form_ = std::make_unique<TfrmMain>();
        app.main = form_.get();
        ASSERT_TRUE(form_->Create(appWindow_->Handle()));
        MakeShellResident(*form_);
        services_ = InstallAppServices();
        ShowWindow(form_->Handle(), SW_SHOW);
    }
    void TearDown() override {
        services_.clear();
        form_.reset();
        appWindow_.reset();
        prompterInstalled_.Reset();
        App() = AppState();
        TheSession() = Session();
        MSG msg;
        PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    }
    test::TempDir dir_;
    ScriptedPrompter prompter_;
    Subscription prompterInstalled_;
    std::unique_ptr<AppWindow> appWindow_;
    std::unique_ptr<TfrmMain> form_;
    std::vector<Subscription> services_;
};

TEST_F(ShellTrayX11Test, TaskTraySettingPutsTheShellsIconThere) {
    test::WriteFile(TheSession().settingsPath, "[環境変数]\r\nTASKTRAY, 1\r\n[END]\r\n");
    LoadSettingsFile(TheSession().settingsPath, TheSession().settings, TheSession().lists);
    ApplyLoadedSettings();
    EXPECT_TRUE(prompter_.Questions().empty());
    ASSERT_TRUE(form_->TrayIconVisible());
    HWND window = TTrayIcon::CallbackWindow();
    const UINT id = ResidentOf(*form_)->TrayIcon1()->Id();
    EXPECT_TRUE(InTray(window, id));
    // Resident: hiding the shell takes the task-bar button away too.
    SetForegroundWindow(form_->Handle());
    form_->HotKeyMsg1HotKey();
    EXPECT_FALSE(IsWindowVisible(form_->Handle()));
    EXPECT_FALSE(IsWindowVisible(appWindow_->Handle()));
    DestroyWindow(form_->Handle());
    EXPECT_FALSE(InTray(window, id));
}

TEST(KestrumX11Test, IconTogglesTheShellAndItsMenuEndsTheProgram) {
    test::TempDir dir;
    test::WriteFile(dir.File("my.WK"), "#ＫＥＳＴＲＵＭ Ｗキー設定ファイル\r\n");
    test::WriteFile(dir.File("my.TVK"), "#ＫＥＳＴＲＵＭ TVキー設定ファイル\r\n");
    test::WriteFile(dir.File("my.cfg"), "[環境変数]\r\nFILERAUTO, 0\r\nTASKTRAY, 1\r\n[END]\r\n");
    const test::DriveResult r = test::Drive(
        dir, {"start Kestrum.exe \"" + dir.File("my.cfg") + "\"", "wait-window TfrmMain", "expect-tray on",
              "focus TfrmMain", "tray left", "wait-gone TfrmMain 5000", "expect-hidden TApplication", "tray left",
              "wait-window TfrmMain \"\" 5000", "expect-visible TApplication",
              // The tray menu: its last entry "常駐終了" ends the program.
              "tray right", "wait-window #32768 \"\" 5000", "key UP", "key RETURN", "wait-exit 10000"});
    ASSERT_EQ(r.code, 0u) << r.output;
}

}  // namespace
}  // namespace kestrum
