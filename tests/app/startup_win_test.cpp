// Errors raised while the program starts or closes: shown, and the program
// goes on (start-up) or ends (closing) all the same.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/app_win.h"
#include "common/installed.h"
#include "common/prompter_win.h"
#include "config/file_commit_win.h"
#include "common/sjis.h"
#include "config/session.h"
#include "filer/frm_fm_win.h"
#include "shell/frm_main_win.h"
#include "tests/fakes/scripted_prompter.h"
#include "tests/test_util.h"

namespace kestrum {
namespace {

// A component that fails: its first message raises an error instead.
class FailingOncePrompter : public ScriptedPrompter {
public:
    int MessageDlg(std::string_view text, MsgType type, MsgButtons buttons) override {
        if (!failed_) {
            failed_ = true;
            throw std::runtime_error("部品の故障");
        }
        return ScriptedPrompter::MessageDlg(text, type, buttons);
    }

private:
    bool failed_ = false;
};

class StartupTest : public testing::Test {
protected:
    void SetUp() override {
        char cwd[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, cwd);
        saved_ = cwd;
        TheSession() = Session();
        TheSession().programDir = dir_.Path() + "\\";
        services_ = InstallAppServices();
    }
    void TearDown() override {
        services_.clear();
        TheSession() = Session();
        SetCurrentDirectoryA(saved_.c_str());
        // A closed shell window asked the thread's loop to end.
        MSG m;
        while (PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
    test::TempDir dir_;
    std::string saved_;
    std::vector<Subscription> services_;
    FailingOncePrompter prompter_;
    const Subscription scoped_ = InstallPrompter(prompter_);
};

// The missing key file's message fails while the filer reads its files.
TEST_F(StartupTest, AnErrorWhileTheFilerReadsItsFilesIsShownAndTheFilerStarts) {
    TheSession().settingsPath = dir_.File("k.cfg");
    test::WriteFile(TheSession().settingsPath,
                    "[ALIAS]\r\nx,notepad\r\n[END]\r\n[環境変数]\r\nFILERAUTO, 0\r\nHOMEDIR, " + dir_.Path() + "\r\n[END]\r\n");
    auto filer = std::make_unique<TfrmFM>();
    App().filer = filer.get();
    bool created = false;
    EXPECT_NO_THROW(created = filer->Create(nullptr));
    EXPECT_TRUE(created);
    ASSERT_FALSE(prompter_.Questions().empty());
    EXPECT_EQ(prompter_.Questions()[0].type, MsgType::Error);
    EXPECT_NE(prompter_.Questions()[0].text.find("部品の故障"), std::string::npos);
    // What was read before the error is in force.
    EXPECT_EQ(TheSession().lists.aliases.size(), 1u);
    EXPECT_TRUE(SameText(TheSession().currentDir, dir_.Path() + "\\")) << TheSession().currentDir;
    filer->ShowFiler();
    EXPECT_GT(filer->Model().Count(), 0u);
    App().filer = nullptr;
}

TEST_F(StartupTest, ClosingEndsTheShellWhenSavingItsStateFails) {
    TheSession().settingsPath = dir_.File("no such folder\\k.cfg");
    TfrmMain shell;
    ASSERT_TRUE(shell.Create(nullptr));
    HWND wnd = shell.Handle();
    SendMessageA(wnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(wnd));
    ASSERT_FALSE(prompter_.Questions().empty());
    EXPECT_NE(prompter_.Questions()[0].text.find("部品の故障"), std::string::npos);
}

// A commit whose every step fails: the one in force before the program's.
class FailingSteps : public CommitSteps {
public:
    bool Create(const std::string&) override { return false; }
    std::size_t Write(std::string_view) override { return 0; }
    bool Flush() override { return false; }
    bool Close() override { return false; }
    bool Replace(const std::string&, const std::string&) override { return false; }
    void Remove(const std::string&) override {}
};
class NoCommit : public CommitPlatform {
public:
    std::unique_ptr<CommitSteps> MakeSteps() override { return std::make_unique<FailingSteps>(); }
};

// The program asks through the platform's message boxes and saves through
// the platform's commit, whatever was in force before it started.
TEST(PlatformInstallTest, TheProgramInstallsThePlatformsPrompterAndCommit) {
    ScriptedPrompter earlier;
    NoCommit none;
    const Subscription prompter = InstallPrompter(earlier);
    const Subscription commit = InstallCommitPlatform(none);
    {
        const std::vector<Subscription> platform = InstallPlatform();
        EXPECT_EQ(&CurrentPrompter(), &PlatformPrompter());
        EXPECT_EQ(Installed<CommitPlatform>(), &PlatformCommit());
        // Its commit replaces a file in one step.
        test::TempDir dir;
        const std::string target = dir.File("Kestrum.Cfg");
        ASSERT_TRUE(CommitFile(target + ".tmp~", target, "old"));
        ASSERT_TRUE(CommitFile(target + ".tmp~", target, "new"));
        EXPECT_EQ(test::ReadFile(target), "new");
    }
    EXPECT_EQ(&CurrentPrompter(), &earlier);
    EXPECT_EQ(Installed<CommitPlatform>(), &none);
}

}  // namespace
}  // namespace kestrum
