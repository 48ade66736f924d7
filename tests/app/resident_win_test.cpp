// The shell window's hot key and tray icon under the null display driver,
// the notification area replaced by a recording fake: the settings set them
// up, the icon's buttons toggle the shell, the settings dialog moves the
// key, and the program stays reachable when the icon is refused. (The key
// pressed in a running program: the end-to-end tests.)
#include <windows.h>

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
#include "config/cfg_form_win.h"
#include "config/session.h"
#include "config/settings_loader.h"
#include "desktop/tray_icon_win.h"
#include "shell/frm_main_win.h"
#include "tests/desktop/hot_key_press.h"
#include "tests/fakes/scripted_prompter.h"
#include "tests/test_util.h"

namespace kestrum {
namespace {

const ShortCut kCtrlAltK = kScCtrl | kScAlt | 'K';
const ShortCut kCtrlAltJ = kScCtrl | kScAlt | 'J';

using test::Taken;

class ResidentTest : public testing::Test {
protected:
    void SetUp() override {
        Session& session = TheSession();
        session = Session();
        session.settingsPath = dir_.File("Kestrum.Cfg");
        AppState& app = App();
        app = AppState();
        prompterInstalled_ = InstallPrompter(prompter_);
        previousNotifier_ = TTrayIcon::SetNotifier([this](DWORD message, NOTIFYICONDATAA& data) {
            calls_.push_back({message, data});
            return refuse_ ? FALSE : TRUE;
        });
        previousPopup_ = TTrayIcon::SetPopupRunner([this](const TrayPopupMenu& m, POINT) { popups_.push_back(m); });
        appWindow_ = std::make_unique<AppWindow>();
        ASSERT_TRUE(appWindow_->Create("Kestrum", nullptr));
        app.app = appWindow_.get();
        form_ = std::make_unique<TfrmMain>();
        app.main = form_.get();
        ASSERT_TRUE(form_->Create(appWindow_->Handle()));
        MakeShellResident(*form_);
        services_ = InstallAppServices();
        ShowWindow(form_->Handle(), SW_SHOW);
        ApplyTaskBar();
    }
    void TearDown() override {
        services_.clear();
        form_.reset();
        appWindow_.reset();
        TTrayIcon::SetNotifier(std::move(previousNotifier_));
        TTrayIcon::SetPopupRunner(std::move(previousPopup_));
        prompterInstalled_.Reset();
        TheSession() = Session();
        App() = AppState();
    }
    // Reads the settings as the loader does at start and applies them.
    void Load(const std::string& env) {
        test::WriteFile(TheSession().settingsPath, "[環境変数]\r\n" + env + "[END]\r\n");
        TheSession().settings = Settings();
        LoadSettingsFile(TheSession().settingsPath, TheSession().settings, TheSession().lists);
        ApplyLoadedSettings();
    }
    HWND Shell() const { return form_->Handle(); }
    bool TaskButtonShown() const { return IsWindowVisible(appWindow_->Handle()) != FALSE; }
    TTrayIcon& Icon() const { return *ResidentOf(*form_)->TrayIcon1(); }
    std::vector<std::string> Errors() const {
        std::vector<std::string> out;
        for (const auto& q : prompter_.Questions()) {
            if (q.type == MsgType::Error) out.push_back(q.text);
        }
        return out;
    }

    struct Call {
        DWORD message;
        NOTIFYICONDATAA data;
    };
    test::TempDir dir_;
    ScriptedPrompter prompter_;
    Subscription prompterInstalled_;
    std::vector<Call> calls_;
    std::vector<TrayPopupMenu> popups_;
    bool refuse_ = false;
    TTrayIcon::Notifier previousNotifier_;
    TTrayIcon::PopupRunner previousPopup_;
    std::unique_ptr<AppWindow> appWindow_;
    std::vector<Subscription> services_;
    std::unique_ptr<TfrmMain> form_;
};

TEST_F(ResidentTest, SettingsShowTheIconAndRegisterTheKey) {
    EXPECT_TRUE(calls_.empty());
    EXPECT_FALSE(Taken(kCtrlAltK));
    Load("TASKTRAY, 1\r\nHOTKEYFLAG, 1\r\nHOTTEXT, Ctrl+Alt+K\r\n");
    ASSERT_EQ(calls_.size(), 1u);
    EXPECT_EQ(calls_[0].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_STREQ(calls_[0].data.szTip, "Kestrum");
    EXPECT_NE(calls_[0].data.hIcon, nullptr);
    EXPECT_TRUE(form_->TrayIconVisible());
    EXPECT_TRUE(Taken(kCtrlAltK));
    EXPECT_TRUE(ResidentOf(*form_)->HotKeyMsg1().Enabled());

    // A reload that turns both off gives the key back and removes the icon.
    Load("TASKTRAY, 0\r\nHOTKEYFLAG, 0\r\nHOTTEXT, CTRL+ALT+K\r\n");
    ASSERT_EQ(calls_.size(), 2u);
    EXPECT_EQ(calls_[1].message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_FALSE(form_->TrayIconVisible());
    EXPECT_FALSE(Taken(kCtrlAltK));
    EXPECT_FALSE(ResidentOf(*form_)->HotKeyMsg1().Enabled());
    EXPECT_TRUE(Errors().empty());
}

TEST_F(ResidentTest, IconButtonsToggleAndOpenTheTrayMenu) {
    Load("TASKTRAY, 1\r\n");
    HWND callback = TTrayIcon::CallbackWindow();
    ASSERT_NE(callback, nullptr);
    SetForegroundWindow(Shell());
    SendMessageA(callback, kTrayMessage, Icon().Id(), WM_LBUTTONDOWN);
    EXPECT_FALSE(IsWindowVisible(Shell()));
    SendMessageA(callback, kTrayMessage, Icon().Id(), WM_LBUTTONDOWN);
    EXPECT_TRUE(IsWindowVisible(Shell()));

    ShowWindow(Shell(), SW_HIDE);
    SendMessageA(callback, kTrayMessage, Icon().Id(), WM_RBUTTONDOWN);
    ASSERT_EQ(popups_.size(), 1u);
    EXPECT_EQ(popups_[0].menu, form_->TrayMenu());
    EXPECT_EQ(popups_[0].commandWindow, Shell());
    EXPECT_FALSE(IsWindowVisible(Shell()));
    // The menu's "シェル", as the platform's menu sends it.
    SendMessageA(Shell(), WM_COMMAND, kK12, 0);
    EXPECT_TRUE(IsWindowVisible(Shell()));
}

TEST_F(ResidentTest, SettingsDialogMovesTheKeyUnderTheSameIdentifier) {
    Load("HOTKEYFLAG, 1\r\nHOTTEXT, CTRL+ALT+K\r\n");
    const ATOM id = ResidentOf(*form_)->HotKeyMsg1().Id();
    ASSERT_NE(id, 0);
    TcfgForm dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    dialog.Begin(kPageMainScreen);
    SetWindowTextA(dialog.HotKeyPart(TcfgForm::kHotKeyBox), "J");
    ASSERT_TRUE(dialog.OkClick());
    EXPECT_EQ(TheSession().settings.hotText, "CTRL+ALT+J");
    EXPECT_EQ(ResidentOf(*form_)->HotKeyMsg1().Id(), id);
    EXPECT_EQ(ResidentOf(*form_)->HotKeyMsg1().HotKey(), kCtrlAltJ);
    EXPECT_TRUE(Taken(kCtrlAltJ));
    EXPECT_FALSE(Taken(kCtrlAltK));

    // Turning the key off in the dialog gives it back; the icon follows too.
    TcfgForm again;
    ASSERT_TRUE(again.Create(nullptr));
    again.Begin(kPageMainScreen);
    SendMessageA(again.Item("HOTKEYFLAG"), BM_CLICK, 0, 0);
    SendMessageA(again.Item("TASKTRAY"), BM_CLICK, 0, 0);
    ASSERT_TRUE(again.OkClick());
    EXPECT_FALSE(Taken(kCtrlAltJ));
    EXPECT_TRUE(form_->TrayIconVisible());
    EXPECT_TRUE(Errors().empty());
}

TEST_F(ResidentTest, TaskButtonStaysUnlessTheIconIsThere) {
    // No icon: hiding the shell (the hot key, or HIDEFLAG after a start)
    // leaves the task-bar button, the way back.
    Load("TASKTRAY, 0\r\nTASKSHOW, 1\r\n");
    SetForegroundWindow(Shell());
    form_->HotKeyMsg1HotKey();
    EXPECT_FALSE(IsWindowVisible(Shell()));
    EXPECT_TRUE(TaskButtonShown());

    // The icon refused: said once, and the button stays as well.
    ShowWindow(Shell(), SW_SHOW);
    refuse_ = true;
    Load("TASKTRAY, 1\r\nTASKSHOW, 1\r\n");
    EXPECT_EQ(Errors(), std::vector<std::string>{"タスクトレイにアイコンを登録できません。"});
    EXPECT_FALSE(form_->TrayIconVisible());
    SetForegroundWindow(Shell());
    form_->HotKeyMsg1HotKey();
    EXPECT_FALSE(IsWindowVisible(Shell()));
    EXPECT_TRUE(TaskButtonShown());

    // Resident in the tray: no button while hidden; TASKSHOW: none at all.
    refuse_ = false;
    Load("TASKTRAY, 1\r\nTASKSHOW, 0\r\n");
    form_->HotKeyMsg1HotKey();
    EXPECT_TRUE(IsWindowVisible(Shell()));
    EXPECT_TRUE(TaskButtonShown());
    SetForegroundWindow(Shell());
    form_->HotKeyMsg1HotKey();
    EXPECT_FALSE(IsWindowVisible(Shell()));
    EXPECT_FALSE(TaskButtonShown());
    Load("TASKTRAY, 1\r\nTASKSHOW, 1\r\n");
    form_->HotKeyMsg1HotKey();
    EXPECT_TRUE(IsWindowVisible(Shell()));
    EXPECT_FALSE(TaskButtonShown());
}

TEST_F(ResidentTest, RestoreBringsTheShellBackOnlyWithoutTheIcon) {
    Load("TASKTRAY, 1\r\n");
    ShowWindow(Shell(), SW_HIDE);
    SendMessageA(appWindow_->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(IsWindowVisible(Shell()));
    Load("TASKTRAY, 0\r\n");
    SendMessageA(appWindow_->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(IsWindowVisible(Shell()));
}

TEST_F(ResidentTest, KeyHeldByAnotherProgramIsReported) {
    const HotKeyParts k = SplitShortCut(kCtrlAltK);
    ASSERT_TRUE(RegisterHotKey(nullptr, 0x4321, k.modifiers, k.virtualKey));
    Load("HOTKEYFLAG, 1\r\nHOTTEXT, CTRL+ALT+K\r\n");
    EXPECT_EQ(Errors(), std::vector<std::string>{"指定されたホットキーは他のプログラムが使用しています"});
    EXPECT_EQ(ResidentOf(*form_)->HotKeyMsg1().HotKey(), 0);
    UnregisterHotKey(nullptr, 0x4321);
}

TEST_F(ResidentTest, ClosingTheShellReleasesKeyAndIcon) {
    Load("TASKTRAY, 1\r\nHOTKEYFLAG, 1\r\nHOTTEXT, CTRL+ALT+K\r\n");
    const UINT id = Icon().Id();
    calls_.clear();
    DestroyWindow(Shell());
    ASSERT_EQ(calls_.size(), 1u);
    EXPECT_EQ(calls_[0].message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(calls_[0].data.uID, id);
    EXPECT_FALSE(Taken(kCtrlAltK));
    EXPECT_FALSE(form_->TrayIconVisible());
    // The quit message the destroyed shell posted is not for this test run.
    MSG msg;
    PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

}  // namespace
}  // namespace kestrum
