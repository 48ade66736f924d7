// Writing the listing's order through the platform's file system, in a
// temporary folder: what moves, what stays, and what a failed move leaves.
#include "filer/sort_write_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "common/file_system_win.h"
#include "common/prompter.h"
#include "tests/fakes/scripted_prompter.h"
#include "tests/test_util.h"

namespace kestrum {
namespace {

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class SortWriteWinTest : public testing::Test {
protected:
    void SetUp() override {
        dir_ = tmp_.Path() + "\\";
        temp_ = dir_ + "KestrumTempDir";
        for (const char* n : {"b.txt", "a.txt", "表.txt"}) test::WriteFile(dir_ + n, n);
        ASSERT_TRUE(CreateDirectoryA((dir_ + "SUB").c_str(), nullptr));
        test::WriteFile(dir_ + "SUB\\inner.txt", "inner");
        test::WriteFile(dir_ + "SYS.DAT", "sys");
        SetFileAttributesA((dir_ + "SYS.DAT").c_str(), FILE_ATTRIBUTE_SYSTEM);
    }
    void TearDown() override { SetFileAttributesA((dir_ + "SYS.DAT").c_str(), FILE_ATTRIBUTE_NORMAL); }

    const std::vector<std::string> names_ = {".", "..", "SUB", "表.txt", "a.txt", "b.txt", "SYS.DAT"};
    test::TempDir tmp_;
    std::string dir_;
    std::string temp_;
    ScriptedPrompter prompter_;
    const Subscription scope_ = InstallPrompter(prompter_);
};

TEST_F(SortWriteWinTest, EverythingComesBackWithItsContents) {
    const SortWriteReport r = WriteSortOrderToDisk(dir_, names_);
    EXPECT_EQ(r.result, SortWriteResult::Finished);
    EXPECT_EQ(r.moved, (std::vector<std::string>{"SUB", "表.txt", "a.txt", "b.txt"}));
    EXPECT_EQ(test::ReadFile(dir_ + "表.txt"), "表.txt");
    EXPECT_EQ(test::ReadFile(dir_ + "SUB\\inner.txt"), "inner");
    EXPECT_EQ(test::ReadFile(dir_ + "SYS.DAT"), "sys");
    EXPECT_FALSE(Exists(temp_));
    EXPECT_EQ(prompter_.Questions().back().text, "ソート書き込みを終了しました");
}

TEST_F(SortWriteWinTest, ALeftoverTemporaryDirectoryIsLeftAlone) {
    ASSERT_TRUE(CreateDirectoryA(temp_.c_str(), nullptr));
    test::WriteFile(temp_ + "\\a.txt", "older");
    EXPECT_EQ(WriteSortOrderToDisk(dir_, names_).result, SortWriteResult::TempExists);
    EXPECT_EQ(test::ReadFile(temp_ + "\\a.txt"), "older");
    EXPECT_EQ(test::ReadFile(dir_ + "a.txt"), "a.txt");
    EXPECT_TRUE(Exists(dir_ + "SUB\\inner.txt"));
}

// The platform's file system, except that one name cannot be moved back.
class BlockedReturn : public Win32FileSystem {
public:
    explicit BlockedReturn(std::string from) : from_(std::move(from)) {}
    bool Move(const std::string& from, const std::string& to, unsigned flags) override {
        if (from == from_) {
            test::WriteFile(to, "newcomer");  // someone wrote the name meanwhile
            return Win32FileSystem::Move(from, to, flags);
        }
        return Win32FileSystem::Move(from, to, flags);
    }

private:
    std::string from_;
};

TEST_F(SortWriteWinTest, AFileThatCannotComeBackIsReportedWhereItIs) {
    BlockedReturn fs(temp_ + "\\a.txt");
    const SortWriteReport r = WriteSortOrder(dir_, names_, WindowsDirectory(), fs);
    EXPECT_EQ(r.result, SortWriteResult::Stranded);
    EXPECT_EQ(r.stranded, (std::vector<std::string>{"a.txt"}));
    EXPECT_EQ(test::ReadFile(temp_ + "\\a.txt"), "a.txt");
    EXPECT_EQ(test::ReadFile(dir_ + "a.txt"), "newcomer");
    EXPECT_EQ(test::ReadFile(dir_ + "b.txt"), "b.txt");
    const std::string& text = prompter_.Questions().back().text;
    EXPECT_NE(text.find(temp_), std::string::npos);
    EXPECT_NE(text.find("a.txt"), std::string::npos);
}

// Refusal must come before anything is touched: this one fails on any move.
class NoMoves : public Win32FileSystem {
public:
    bool Move(const std::string&, const std::string&, unsigned) override {
        ADD_FAILURE() << "moved in a refused directory";
        return false;
    }
    bool MakeDir(const std::string&) override {
        ADD_FAILURE() << "created a directory in a refused directory";
        return false;
    }
};

TEST_F(SortWriteWinTest, TheWindowsDirectoryAndTheRootOfItsDriveAreRefused) {
    const std::string windows = WindowsDirectory();
    ASSERT_FALSE(windows.empty());
    NoMoves fs;
    for (const std::string& dir : {windows + "\\", windows + "\\system32\\", windows.substr(0, 3)}) {
        EXPECT_EQ(WriteSortOrder(dir, {"a.txt"}, windows, fs).result, SortWriteResult::Refused) << dir;
    }
    EXPECT_EQ(prompter_.Questions().back().text, "このディレクトリには書き込めません");
}

}  // namespace
}  // namespace kestrum
