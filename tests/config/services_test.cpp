// The services between the subsystems: what a missing one answers, what
// the system menus run, and how removing one gives the one before it back.
#include "config/services.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/action_table.h"
#include "config/session.h"

namespace kestrum {
namespace {

class RecordingCommands : public CommandService {
public:
    int Execute(const std::string& line) override {
        lines.push_back(line);
        return rrInternal;
    }
    std::vector<std::string> lines;
};

class RecordingShell : public ShellWindowService {
public:
    bool Present() const override { return true; }
    void ShowShell() override { ++shown; }
    int shown = 0;
};

class ServicesTest : public testing::Test {
protected:
    void SetUp() override { TheSession() = Session(); }
    void TearDown() override { TheSession() = Session(); }
};

TEST_F(ServicesTest, NoneInstalledDoesNothingAndSaysNo) {
    ASSERT_EQ(Installed<CommandService>(), nullptr);
    ASSERT_EQ(Installed<FilerService>(), nullptr);
    ASSERT_EQ(Installed<ShellWindowService>(), nullptr);
    ASSERT_EQ(Installed<ViewerService>(), nullptr);
    EXPECT_EQ(Execute_t("cd \\"), rrFailed);
    EXPECT_EQ(TheCommands().OpenByAssociation("a.txt", 0), rrFailed);
    std::string text = "/$C";
    TheCommands().ExpandMacrosFor("a.txt", text);
    EXPECT_EQ(text, "/$C");
    EXPECT_FALSE(TheFiler().Present());
    EXPECT_FALSE(TheFiler().Showing());
    EXPECT_FALSE(TheFiler().RunAction(FilerActionCode::NextPage));
    EXPECT_FALSE(TheShellWindow().Present());
    int width = 7;
    int height = 7;
    EXPECT_FALSE(TheViewers().ImageViewerClientSize(width, height));
    EXPECT_EQ(width, 7);
    // The system-menu entries are taken (and do nothing); other ids are not.
    EXPECT_TRUE(HandleSystemMenuCommand(kSysMain));
    EXPECT_TRUE(HandleSystemMenuCommand(kSysFiler));
    EXPECT_FALSE(HandleSystemMenuCommand(0xF020));  // minimise
}

// A command the user renamed keeps working from the system menus.
TEST_F(ServicesTest, SystemMenusRunTheirCommandsByTheNamesInForce) {
    RecordingCommands commands;
    RecordingShell shell;
    const Subscription installedCommands = InstallService<CommandService>(commands);
    const Subscription installedShell = InstallService<ShellWindowService>(shell);
    TheSession().lists.commandTable.assign(DefaultCommandNames().begin(), DefaultCommandNames().end());
    TheSession().lists.commandTable[cmdLS] = "FILER";
    EXPECT_TRUE(HandleSystemMenuCommand(kSysFiler));
    EXPECT_TRUE(HandleSystemMenuCommand(kSysText));
    EXPECT_TRUE(HandleSystemMenuCommand(kSysImage));
    EXPECT_EQ(commands.lines, (std::vector<std::string>{"FILER", "TVIEW", "PVIEW"}));
    EXPECT_EQ(shell.shown, 0);
    EXPECT_TRUE(HandleSystemMenuCommand(kSysMain));
    EXPECT_EQ(shell.shown, 1);
    EXPECT_EQ(commands.lines.size(), 3u);
}

TEST_F(ServicesTest, CommandNamesComeFromTheTableElseTheDefaults) {
    EXPECT_EQ(CommandName(cmdCD), "CD");  // no table read yet
    EXPECT_EQ(CommandName(cmdSHEXE), "SHEXE");
    EXPECT_EQ(CommandName(-1), "");
    EXPECT_EQ(CommandName(kCommandCount), "");
    TheSession().lists.commandTable = {"CHDIR"};  // a short table: the rest by default
    EXPECT_EQ(CommandName(cmdCD), "CHDIR");
    EXPECT_EQ(CommandName(cmdLS), "LS");
}

TEST_F(ServicesTest, EachServiceGivesTheOneBeforeItBack) {
    RecordingCommands outer;
    RecordingCommands inner;
    const Subscription first = InstallService<CommandService>(outer);
    {
        RecordingShell shell;
        const Subscription second = InstallService<CommandService>(inner);
        const Subscription shellInstalled = InstallService<ShellWindowService>(shell);
        Execute_t("a");
        EXPECT_TRUE(TheShellWindow().Present());
    }
    Execute_t("b");
    EXPECT_FALSE(TheShellWindow().Present());
    EXPECT_EQ(inner.lines, std::vector<std::string>{"a"});
    EXPECT_EQ(outer.lines, std::vector<std::string>{"b"});
}

}  // namespace
}  // namespace kestrum
