// Changing directory: captions, per-drive memory and the root fallback.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/sjis.h"
#include "config/session.h"
#include "fileops/change_dir_win.h"
#include "tests/test_util.h"

namespace kestrum {
namespace {

std::string Cwd() {
    char buf[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, buf);
    return IncludeTrailingBackslash(buf);
}

class ChangeDirectoryTest : public testing::Test {
protected:
    void SetUp() override {
        TheSession() = Session();
        saved_ = Cwd();
        CreateDirectoryA(dir_.File("表示").c_str(), nullptr);
    }
    void TearDown() override {
        SetCurrentDirectoryA(saved_.c_str());
        TheSession() = Session();
    }
    test::TempDir dir_;
    std::string saved_;
};

TEST_F(ChangeDirectoryTest, KeepsCurrentDirWithTrailingBackslash) {
    ASSERT_TRUE(ChangeDirectory(dir_.File("表示")));
    EXPECT_EQ(TheSession().currentDir, Cwd());
    EXPECT_TRUE(EndsWithBackslash(TheSession().currentDir));
    EXPECT_EQ(TheSession().title, TheSession().currentDir + " - Kestrum");
    ASSERT_TRUE(ChangeDirectory(".."));
    EXPECT_EQ(TheSession().returningFrom, "表示");
}

TEST_F(ChangeDirectoryTest, FailedRelativeChangeStaysPut) {
    ASSERT_TRUE(ChangeDirectory(dir_.Path()));
    const std::string before = TheSession().currentDir;
    // "docs" starts with a letter but names no drive: no fallback to D:\.
    EXPECT_FALSE(ChangeDirectory("docs-that-do-not-exist"));
    EXPECT_EQ(TheSession().currentDir, before);
    EXPECT_EQ(Cwd(), before);
}

TEST_F(ChangeDirectoryTest, DriveOnlyGoesToTheRememberedDirectory) {
    TheSession().settings.flagDcd = true;
    ASSERT_TRUE(ChangeDirectory(dir_.File("表示")));
    const std::string remembered = TheSession().currentDir;
    ASSERT_TRUE(ChangeDirectory("Z:\\"));  // another drive (the whole file system under Wine)
    ASSERT_TRUE(ChangeDirectory(remembered.substr(0, 2)));  // "C:"
    EXPECT_EQ(TheSession().currentDir, remembered);
    // A missing directory on a drive falls back to that drive's root.
    EXPECT_TRUE(ChangeDirectory(remembered.substr(0, 3) + "no\\such\\dir"));
    EXPECT_EQ(TheSession().currentDir, remembered.substr(0, 3));
}

// Listeners hear of every change with the new directory, the session
// already showing it (the captions are made from the title), and no more
// once their subscription has gone.
TEST_F(ChangeDirectoryTest, ListenersSeeTheNewDirectoryAndTitle) {
    std::vector<std::string> heard;
    Subscription listening = AddDirectoryListener([&](const std::string& dir) {
        heard.push_back(dir);
        EXPECT_EQ(TheSession().currentDir, dir);
        EXPECT_EQ(TheSession().title, dir + " - Kestrum");
    });
    ASSERT_TRUE(ChangeDirectory(dir_.File("表示")));
    EXPECT_FALSE(ChangeDirectory("no-such-directory-here"));  // told all the same: nothing moved
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[0], Cwd());
    EXPECT_EQ(heard[1], Cwd());
    listening.Reset();
    ASSERT_TRUE(ChangeDirectory(".."));
    EXPECT_EQ(heard.size(), 2u);
}

}  // namespace
}  // namespace kestrum
