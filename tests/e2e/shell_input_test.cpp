// End to end: Japanese typed into the command boxes arrives whole, and what
// the box then runs (a folder made with that name, the history) keeps it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/drive.h"
#include "tests/test_util.h"

namespace kestrum {
namespace {

using test::Drive;
using test::DriveResult;
using test::Section;

class TypedJapaneseTest : public testing::Test {
protected:
    void SetUp() override {
        test::WriteFile(dir_.File("my.WK"), "#ＫＥＳＴＲＵＭ Ｗキー設定ファイル\r\n");
        test::WriteFile(dir_.File("my.TVK"), "#ＫＥＳＴＲＵＭ TVキー設定ファイル\r\n");
        home_ = dir_.File("home");
        CreateDirectoryA(home_.c_str(), nullptr);
        test::WriteFile(Cfg(), "[環境変数]\r\nFILERAUTO, 0\r\nHOMEDIR, " + home_ + "\r\n[END]\r\n");
    }
    std::string Cfg() const { return dir_.File("my.cfg"); }
    std::string Start() const { return "start Kestrum.exe \"" + Cfg() + "\""; }
    bool IsFolder(const std::string& path) const {
        const DWORD a = GetFileAttributesA(path.c_str());
        return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
    }
    test::TempDir dir_;
    std::string home_;
};

// ソ and 表 end in the byte of "\"; ー and ス in "[" and "X".
TEST_F(TypedJapaneseTest, ShellBox) {
    const DriveResult r = Drive(dir_, {Start(), "wait-window TfrmMain", "focus TfrmMain", "type \"mkdir ソース表\"",
                                       "expect-text TfrmMain \"mkdir ソース表\"", "key RETURN",
                                       "expect-text TfrmMain \"\"", "close"});
    ASSERT_EQ(r.code, 0u) << r.output;
    EXPECT_TRUE(IsFolder(home_ + "\\ソース表"));
    const std::vector<std::string> lines = test::CrLfLines(test::ReadFile(Cfg()));
    EXPECT_EQ(Section(lines, "[EXEHISTORY]"), (std::vector<std::string>{"mkdir ソース表"}));
}

TEST_F(TypedJapaneseTest, FilerCommandLine) {
    const DriveResult r = Drive(dir_, {Start(), "wait-window TfrmMain", "focus TfrmMain", "type ls", "key RETURN",
                                       "wait-window TfrmFM", "focus TfrmFM", "key CTRL+DOWN", "type \"mkdir 表示ソフト\"",
                                       "expect-text TfrmFM \"mkdir 表示ソフト\"", "key RETURN", "sleep 300", "close"});
    ASSERT_EQ(r.code, 0u) << r.output;
    EXPECT_TRUE(IsFolder(home_ + "\\表示ソフト"));
}

TEST_F(TypedJapaneseTest, LineInputWindow) {
    // The filer's make-directory item asks for the name in the line-input window.
    const DriveResult r = Drive(dir_, {Start(), "wait-window TfrmMain", "focus TfrmMain", "type ls", "key RETURN",
                                       "wait-window TfrmFM", "menu TfrmFM 3007", "wait-window TfrmEdit",
                                       "type 予定表", "expect-text TfrmEdit 予定表", "key RETURN",
                                       "wait-gone TfrmEdit", "sleep 300", "close"});
    ASSERT_EQ(r.code, 0u) << r.output;
    EXPECT_TRUE(IsFolder(home_ + "\\予定表"));
}

}  // namespace
}  // namespace kestrum
