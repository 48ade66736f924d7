// Path utilities against the file system: directory tests, creation of
// missing levels, EnsureDirectory's question, and the "same file" test.
#include "fileops/path_utils.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "common/prompter.h"
#include "tests/fakes/scripted_prompter.h"
#include "tests/fileops/file_op_fake_win.h"
#include "tests/test_util.h"

namespace kestrum {
namespace {

class PathUtilsWinTest : public testing::Test {
protected:
    std::string P(const std::string& rel) const { return dir_.File(rel); }
    test::TempDir dir_;
    ScriptedPrompter prompter_;
    const Subscription scoped_ = InstallPrompter(prompter_);
};

TEST_F(PathUtilsWinTest, DirectoryTestsAndCreation) {
    test::Tree(P("表"), {"ソ.txt", "empty\\"});
    EXPECT_TRUE(DirExists(P("表")));
    EXPECT_FALSE(DirExists(P("表\\ソ.txt")));
    EXPECT_TRUE(FileExists(P("表\\ソ.txt")));
    EXPECT_TRUE(DirHasEntries(P("表")));
    EXPECT_FALSE(DirHasEntries(P("表\\empty")));
    EXPECT_FALSE(DirHasEntries(P("missing")));

    EXPECT_TRUE(ForceDirs(P("a\\ソ\\c\\")));
    EXPECT_TRUE(DirExists(P("a\\ソ\\c")));
    EXPECT_FALSE(ForceDirs(P("表\\ソ.txt\\sub")));  // a file is in the way
    EXPECT_TRUE(FileExists(P("表\\ソ.txt")));
}

TEST_F(PathUtilsWinTest, EnsureDirectoryAsksBeforeCreating) {
    std::string path = P("x\\y") + "\\";
    prompter_.Answer(mrCancel);
    EXPECT_FALSE(EnsureDirectory(path));
    EXPECT_EQ(path, P("x\\y") + "\\");
    EXPECT_FALSE(DirExists(path));
    ASSERT_EQ(prompter_.Questions().size(), 1u);
    EXPECT_EQ(prompter_.Questions()[0].text, "ディレクトリ" + P("x\\y") + "が存在しません。\r\n作りますか？");
    EXPECT_EQ(prompter_.Questions()[0].buttons, MsgButtons::YesCancel);

    EXPECT_TRUE(EnsureDirectory(path));  // Yes
    EXPECT_TRUE(DirExists(P("x\\y")));
    prompter_.Clear();
    path = P("x");
    EXPECT_TRUE(EnsureDirectory(path));
    EXPECT_EQ(path, P("x") + "\\");
    EXPECT_TRUE(prompter_.Questions().empty());

    test::Put(P("file"));
    path = P("file\\sub");
    EXPECT_FALSE(EnsureDirectory(path));
    ASSERT_EQ(prompter_.Questions().size(), 2u);
    EXPECT_EQ(prompter_.Questions()[1].text, "ディレクトリの作成に失敗しました。");
}

TEST_F(PathUtilsWinTest, SameFileSeesThroughOtherSpellings) {
    test::Tree(P("d"), {"a.txt", "b.txt"});
    EXPECT_TRUE(SameFile(P("d\\a.txt"), P("D\\A.TXT")));
    EXPECT_TRUE(SameFile(P("d\\a.txt"), P("d\\..\\d\\.\\a.txt")));
    EXPECT_TRUE(SameFile(P("d"), P("d") + "\\"));
    EXPECT_FALSE(SameFile(P("d\\a.txt"), P("d\\b.txt")));
    EXPECT_FALSE(SameFile(P("d\\a.txt"), P("d")));
    // Paths that cannot be opened are compared as long full paths.
    EXPECT_TRUE(SameFile(P("d\\gone.txt"), P("D\\GONE.TXT")));
    EXPECT_FALSE(SameFile(P("d\\gone.txt"), P("d\\gone2.txt")));
}

}  // namespace
}  // namespace kestrum
