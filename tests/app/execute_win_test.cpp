// The interpreter in the running program: failures told in the shell
// window's status line, and CFGLOAD of a file that cannot be read.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "app/app_win.h"
#include "common/prompter.h"
#include "config/services.h"
#include "config/session.h"
#include "config/settings_loader.h"
#include "shell/frm_main_win.h"
#include "shell/interpreter.h"
#include "tests/fakes/scripted_prompter.h"
#include "tests/test_util.h"
#include "viewers/text_viewer_win.h"

namespace kestrum {
namespace {

class ExecuteWinTest : public testing::Test {
protected:
    void SetUp() override {
        char cwd[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, cwd);
        saved_ = cwd;
        TheSession() = Session();
        TheSession().settingsPath = dir_.File("k.cfg");
        test::WriteFile(TheSession().settingsPath, "[ALIAS]\r\nx,notepad\r\n[END]\r\n[環境変数]\r\nFILERAUTO, 0\r\n[END]\r\n");
        LoadSettingsFile(TheSession().settingsPath, TheSession().settings, TheSession().lists);
        form_ = std::make_unique<TfrmMain>();
        ASSERT_TRUE(form_->Create(nullptr));
        App().main = form_.get();
        services_ = InstallAppServices();
    }
    void TearDown() override {
        services_.clear();
        App().main = nullptr;
        form_.reset();
        TheSession() = Session();
        SetCurrentDirectoryA(saved_.c_str());
    }
    std::string Status() const { return GetText(form_->Label1()); }

    test::TempDir dir_;
    std::string saved_;
    std::unique_ptr<TfrmMain> form_;
    std::vector<Subscription> services_;
    ScriptedPrompter prompter_;
    const Subscription scoped_ = InstallPrompter(prompter_);
};

TEST_F(ExecuteWinTest, AMissingDirectoryIsToldEvenWhenTheDriveRootWasReached) {
    EXPECT_EQ(Execute_t("cd " + dir_.Path()), rrInternal);
    EXPECT_EQ(Status(), "cd " + dir_.Path());
    const std::string missing = dir_.File("no\\such");
    EXPECT_EQ(Execute_t("cd " + missing), rrInternal);
    EXPECT_EQ(Status(), missing + " に移動できません");
    EXPECT_TRUE(prompter_.Questions().empty());
}

TEST_F(ExecuteWinTest, AProgramThatCannotStartIsToldInTheStatusLine) {
    ASSERT_TRUE(SetCurrentDirectoryA(dir_.Path().c_str()));
    EXPECT_EQ(Execute_t("no-such-program-here"), rrFailed);
    EXPECT_EQ(Status(), "no-such-program-here を起動できません");
    EXPECT_TRUE(prompter_.Questions().empty());
}

TEST_F(ExecuteWinTest, CfgloadOfAMissingFileKeepsTheSettingsAndTheirFile) {
    const std::string path = TheSession().settingsPath;
    Execute_t("cfgload " + dir_.File("gone.cfg"));
    EXPECT_EQ(TheSession().settingsPath, path);
    ASSERT_EQ(TheSession().lists.aliases.size(), 1u);
    EXPECT_EQ(TheSession().lists.aliases[0].name, "x");
    ASSERT_EQ(prompter_.Questions().size(), 1u);
    EXPECT_EQ(prompter_.Questions()[0].text,
              "設定ファイル " + dir_.File("gone.cfg") + " が見つかりません。\r\n今の設定のままです。");
}

TEST_F(ExecuteWinTest, TviewAndViewShowTheFileInTheTextViewer) {
    TwttForm viewer;
    ASSERT_TRUE(viewer.Create(nullptr));
    App().textViewer = &viewer;
    const std::string a = dir_.File("a.txt");
    test::WriteFile(a, "first\r\n");
    Execute_t("tview " + a);
    EXPECT_TRUE(viewer.Visible());
    EXPECT_EQ(viewer.CurrentFile(), a);
    EXPECT_EQ(viewer.View().GetText(), "first\r\n");
    // VIEW goes to the built-in viewer when it is chosen.
    ShowWindow(viewer.Handle(), SW_HIDE);
    const std::string b = dir_.File("b.txt");
    test::WriteFile(b, "second\r\n");
    TheSession().settings.viewMode = true;
    Execute_t("view " + b);
    EXPECT_TRUE(viewer.Visible());
    EXPECT_EQ(viewer.CurrentFile(), b);
    // A text that is no file reaches it through the viewer service.
    EXPECT_TRUE(TheViewers().ShowText("DTAR t x.tar", "listing\r\n"));
    EXPECT_EQ(viewer.View().GetText(), "listing\r\n");
    App().textViewer = nullptr;
}

TEST_F(ExecuteWinTest, LoadedSettingsReachTheTextViewer) {
    TwttForm viewer;
    ASSERT_TRUE(viewer.Create(nullptr));
    App().textViewer = &viewer;
    const std::string other = dir_.File("other.cfg");
    test::WriteFile(other, "[環境変数]\r\nTabWidth, 4\r\nTVSPSC, 5\r\n[END]\r\n");
    Execute_t("cfgload " + other);
    EXPECT_EQ(TheSession().settings.tabWidth, 4);
    EXPECT_EQ(viewer.View().ViewTabStop(), 4);
    EXPECT_EQ(viewer.View().ScrollSense(), 5);
    // At start the filer's settings loader ends the same way.
    TheSession().settings.tabWidth = 2;
    TheSession().settings.tvspsc = 3;
    TheApplication().ApplyLoadedSettings();
    EXPECT_EQ(viewer.View().ViewTabStop(), 2);
    EXPECT_EQ(viewer.View().ScrollSense(), 3);
    App().textViewer = nullptr;
}

}  // namespace
}  // namespace kestrum
