// The filer's own writes to the settings file: directory registration and
// the home directory keep the file's rules and report a save that failed.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "common/handles_win.h"
#include "common/prompter.h"
#include "common/sjis.h"
#include "config/action_table.h"
#include "config/session.h"
#include "config/settings_loader.h"
#include "filer/frm_fm_win.h"
#include "tests/fakes/scripted_prompter.h"
#include "tests/test_util.h"

namespace kestrum {
namespace {

using Code = FilerActionCode;

class FilerSettingsTest : public testing::Test {
protected:
    void SetUp() override {
        char cwd[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, cwd);
        saved_ = cwd;
        TheSession() = Session();
        TheSession().settingsPath = dir_.File("k.cfg");
        test::WriteFile(TheSession().settingsPath, Start());
        filer_ = std::make_unique<TfrmFM>();
        ASSERT_TRUE(filer_->Create(nullptr));
        filer_->ShowFiler();
        asked_ = prompter_.Questions().size();  // the missing key and colour files
    }
    void TearDown() override {
        filer_.reset();
        TheSession() = Session();
        SetCurrentDirectoryA(saved_.c_str());
    }
    std::string Start() const {
        return "[環境変数]\r\nFILERAUTO, 0\r\nHOMEDIR, " + dir_.Path() +
               "\r\n[END]\r\n[LogDiskList] ; my folders\r\nC:\\A,1\r\n[ALIAS]\r\ned,notepad\r\n[END]\r\n";
    }
    std::vector<std::string> NewMessages() const {
        std::vector<std::string> m;
        for (std::size_t i = asked_; i < prompter_.Questions().size(); ++i) m.push_back(prompter_.Questions()[i].text);
        return m;
    }

    ScriptedPrompter prompter_;
    const Subscription scope_ = InstallPrompter(prompter_);
    test::TempDir dir_;
    std::string saved_;
    std::unique_ptr<TfrmFM> filer_;
    std::size_t asked_ = 0;
};

TEST_F(FilerSettingsTest, RegisteredDirectoryGoesIntoItsSectionEvenWithoutEnd) {
    prompter_.AnswerLine("");
    filer_->RunAction(Code::RegisterInLogList);
    const std::string dir = TheSession().currentDir;
    const std::string text = test::ReadFile(TheSession().settingsPath);
    // The header with its remark is found; the section is closed before
    // the alias section instead of writing into it.
    EXPECT_NE(text.find("[LogDiskList] ; my folders\r\nC:\\A,1\r\n" + dir + ",2\r\n[END]\r\n[ALIAS]\r\ned,notepad\r\n[END]"),
              std::string::npos)
        << text;
    Settings s;
    SettingsLists lists;
    ASSERT_TRUE(LoadSettingsFile(TheSession().settingsPath, s, lists));
    EXPECT_EQ(lists.logList, (std::vector<std::string>{"1 C:\\A", "2 " + UpperAscii(dir)}));
    ASSERT_EQ(lists.aliases.size(), 1u);
    EXPECT_TRUE(NewMessages().empty());
}

TEST_F(FilerSettingsTest, FailedSavesAreReportedOnce) {
    const std::string missing = dir_.File("no-folder\\k.cfg");
    TheSession().settingsPath = missing;
    prompter_.AnswerLine("");
    filer_->RunAction(Code::RegisterInLogList);
    filer_->RunAction(Code::MakeHomeDirectory);
    const std::string cannot = "設定ファイルに書き込めません。\r\n" + missing;
    EXPECT_EQ(NewMessages(), (std::vector<std::string>{cannot, cannot}));

    // A settings file another program keeps locked is not rewritten from nothing.
    TheSession().settingsPath = dir_.File("k.cfg");
    {
        FileHandle locked(CreateFileA(TheSession().settingsPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(locked);
        filer_->RunAction(Code::MakeHomeDirectory);
    }
    EXPECT_EQ(test::ReadFile(TheSession().settingsPath), Start());
    ASSERT_EQ(NewMessages().size(), 3u);
    EXPECT_EQ(NewMessages()[2], "設定ファイルを読み込めないため、書き込みませんでした。\r\n" + TheSession().settingsPath);

    // Unlocked, the home directory is written as the HOMEDIR key.
    filer_->RunAction(Code::MakeHomeDirectory);
    EXPECT_NE(test::ReadFile(TheSession().settingsPath).find("\r\nHomeDir, " + TheSession().currentDir + "\r\n[END]"),
              std::string::npos);
    EXPECT_EQ(NewMessages().size(), 3u);
}

}  // namespace
}  // namespace kestrum
