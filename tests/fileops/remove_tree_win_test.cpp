// Directory-tree removal, the file patterns of a tree, and deletion through
// a recording stand-in for the platform's file operation.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/prompter.h"
#include "fileops/delete_win.h"
#include "fileops/remove_tree_win.h"
#include "tests/fakes/scripted_prompter.h"
#include "tests/fileops/file_op_fake_win.h"
#include "tests/test_util.h"

namespace kestrum {
namespace {

using test::Exists;
using test::Tree;

std::string CurrentDir() {
    char buf[MAX_PATH];
    const DWORD n = GetCurrentDirectoryA(sizeof buf, buf);
    return std::string(buf, n);
}

// Keeps the process's current directory for the test.
class CurrentDirScope {
public:
    CurrentDirScope() : saved_(CurrentDir()) {}
    ~CurrentDirScope() { SetCurrentDirectoryA(saved_.c_str()); }

private:
    std::string saved_;
};

// Makes a directory link with the host system (Wine shows it as a directory
// with the reparse-point attribute); false where that is not possible.
bool MakeDirectoryLink(const std::string& link, const std::string& target) {
    using ToUnix = char*(CDECL*)(const WCHAR*);
    auto toUnix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!toUnix) return false;
    auto unixName = [&](const std::string& p) {
        WCHAR wide[MAX_PATH] = {};
        MultiByteToWideChar(CP_ACP, 0, p.c_str(), -1, wide, MAX_PATH);
        char* u = toUnix(wide);
        std::string out = u ? u : "";
        if (u) HeapFree(GetProcessHeap(), 0, u);
        return out;
    };
    std::string cmd = "/bin/ln -s \"" + unixName(target) + "\" \"" + unixName(ExtractFilePath(link)) +
                      ExtractFileName(link) + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA("Z:\\bin\\ln", cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        return false;
    }
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    for (int i = 0; i < 250; ++i) {
        const DWORD a = GetFileAttributesA(link.c_str());
        if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_REPARSE_POINT)) return true;
        Sleep(20);
    }
    return false;
}

// Deletes what each entry names, patterns included, as the platform would
// with FOF_FILESONLY; records every request.
class PatternDeleteOp : public ShellFileOp {
public:
    std::vector<ShellFileRequest> requests;
    ShellFileResult answer;
    bool perform = true;
    ShellFileResult Run(const ShellFileRequest& r) override {
        requests.push_back(r);
        if (!perform) return answer;
        for (const std::string& e : test::RecordingFileOp::Entries(r.from)) {
            WIN32_FIND_DATAA fd;
            HANDLE h = FindFirstFileA(e.c_str(), &fd);
            if (h == INVALID_HANDLE_VALUE) continue;
            do {
                if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                    DeleteFileA((ExtractFilePath(e) + fd.cFileName).c_str());
                }
            } while (FindNextFileA(h, &fd));
            FindClose(h);
        }
        return answer;
    }
};

class RemoveTreeTest : public testing::Test {
protected:
    std::string P(const std::string& rel) const { return dir_.File(rel); }
    std::vector<std::string> Messages() const {
        std::vector<std::string> out;
        for (const auto& q : prompter_.Questions()) out.push_back(q.text);
        return out;
    }
    test::TempDir dir_;
    ScriptedPrompter prompter_;
    const Subscription scoped_ = InstallPrompter(prompter_);
    CurrentDirScope cwd_;
};

TEST_F(RemoveTreeTest, VerboseRefusesWildcardsFilesAndMissingDirectories) {
    Tree(P("d"), {"f.txt"});
    EXPECT_FALSE(RemoveTree(P("d\\*.txt")));
    EXPECT_FALSE(RemoveTree(P("d\\f.txt")));
    EXPECT_FALSE(RemoveTree(P("nothing")));
    EXPECT_EQ(Messages(), (std::vector<std::string>{"ワイルドカードには対応していません。", "ファイルは削除できません。",
                                                    "指定されたディレクトリが見つかりません"}));
    EXPECT_TRUE(Exists(P("d\\f.txt")));
    // Quiet: the same refusals say nothing.
    prompter_.Clear();
    EXPECT_FALSE(RemoveTree(P("d\\*.txt"), false));
    EXPECT_FALSE(RemoveTree(P("d\\f.txt"), false));
    EXPECT_TRUE(prompter_.Questions().empty());
}

TEST_F(RemoveTreeTest, VerboseRemovesAWholeTreeAndKeepsTheCurrentDirectory) {
    Tree(P("d"), {"a.txt", "表\\", "表\\ソ.txt", "表\\empty\\", "sub\\", "sub\\b.txt"});
    Tree(P("other"), {});
    ASSERT_TRUE(SetCurrentDirectoryA(P("other").c_str()));
    EXPECT_TRUE(RemoveTree(P("d\\")));
    EXPECT_FALSE(Exists(P("d")));
    EXPECT_TRUE(SameText(CurrentDir(), P("other")));
    EXPECT_TRUE(prompter_.Questions().empty());

    // Removing the tree that holds the current directory leaves the
    // nearest directory above it current.
    Tree(P("e"), {"in\\", "in\\x.txt"});
    ASSERT_TRUE(SetCurrentDirectoryA(P("e\\in").c_str()));
    EXPECT_TRUE(RemoveTree("..\\..\\e"));
    EXPECT_FALSE(Exists(P("e")));
    EXPECT_TRUE(SameText(ExcludeTrailingBackslash(CurrentDir()), dir_.Path()));
}

TEST_F(RemoveTreeTest, QuietRemovesEmptyDirectoriesAndStopsAtAFile) {
    Tree(P("d"), {"x\\", "x\\y\\", "z\\"});
    EXPECT_TRUE(RemoveTree(P("d"), false));
    EXPECT_FALSE(Exists(P("d")));

    Tree(P("k"), {"left.txt"});
    try {
        RemoveTree(P("k"), false);
        ADD_FAILURE() << "a file did not stop the removal";
    } catch (const RemoveTreeStopped& e) {
        EXPECT_STREQ(e.what(), "空ディレクトリがあればそれは削除しましたかも(^^;;;");
    }
    EXPECT_TRUE(Exists(P("k\\left.txt")));
}

TEST_F(RemoveTreeTest, PatternsListSubdirectoriesFirstAndOnlyDirectoriesWithFiles) {
    Tree(P("d"), {"a.txt", "s\\", "s\\b.txt", "s\\t\\", "s\\t\\c.txt", "s\\empty\\", "e\\", "e\\f\\"});
    EXPECT_EQ(DirTreePatterns(P("d\\")), (std::vector<std::string>{P("d\\s\\t\\*"), P("d\\s\\*"), P("d\\*")}));
    EXPECT_TRUE(DirTreePatterns(P("d\\e")).empty());
    EXPECT_EQ(DirTreePatterns(P("d\\a.txt")), std::vector<std::string>{P("d\\a.txt")});
    EXPECT_EQ(DirTreePatterns(P("*.txt")), std::vector<std::string>{P("*.txt")});
}

TEST_F(RemoveTreeTest, LinksAreNeverEnteredOnlyTheLinkGoes) {
    Tree(P("target"), {"keep.txt", "deep\\", "deep\\keep2.txt"});
    Tree(P("d"), {"own.txt"});
    if (!MakeDirectoryLink(P("d\\link"), P("target"))) GTEST_SKIP() << "no directory links here";
    EXPECT_EQ(DirTreePatterns(P("d")), std::vector<std::string>{P("d\\*")});
    EXPECT_TRUE(DirTreePatterns(P("d\\link")).empty());
    RemoveTree(P("d"));
    EXPECT_TRUE(Exists(P("target\\keep.txt")));
    EXPECT_TRUE(Exists(P("target\\deep\\keep2.txt")));
    EXPECT_FALSE(Exists(P("d\\own.txt")));
}

class DeleteTest : public RemoveTreeTest {
protected:
    std::vector<std::string> From(std::size_t i = 0) const {
        return test::RecordingFileOp::Entries(op_.requests.at(i).from);
    }
    PatternDeleteOp op_;
    const Subscription scopedOp_ = InstallShellFileOp(op_);
};

TEST_F(DeleteTest, NamesBecomeFullPathsWithTheRecycleBinFlags) {
    Tree(P("d"), {"a.txt", "b.txt"});
    ASSERT_TRUE(SetCurrentDirectoryA(P("d").c_str()));
    HWND owner = GetDesktopWindow();
    op_.perform = false;
    EXPECT_EQ(DeleteToRecycleBin({"a.txt", "", "*.TXT"}, owner, false), 0);
    EXPECT_EQ(EraseFiles({"..\\d\\b.txt"}, owner, false), 0);
    ASSERT_EQ(op_.requests.size(), 2u);
    EXPECT_EQ(op_.requests[0].func, static_cast<UINT>(FO_DELETE));
    EXPECT_EQ(op_.requests[0].flags, 0xC0);
    EXPECT_EQ(op_.requests[0].owner, owner);
    EXPECT_TRUE(op_.requests[0].to.empty());
    EXPECT_EQ(From(0), (std::vector<std::string>{P("d\\a.txt"), P("d\\*.TXT")}));
    EXPECT_EQ(op_.requests[1].flags, 0x80);
    EXPECT_EQ(From(1), std::vector<std::string>{P("d\\b.txt")});
    EXPECT_TRUE(prompter_.Questions().empty());
}

TEST_F(DeleteTest, ByContentSendsPatternsThenRemovesTheEmptiedTree) {
    Tree(P("d"), {"a.txt", "s\\", "s\\b.txt", "s\\empty\\"});
    Tree(P("plain"), {"p.txt"});
    EXPECT_EQ(DeleteToRecycleBin({P("d"), P("plain\\p.txt")}, nullptr, true), 0);
    ASSERT_EQ(op_.requests.size(), 1u);
    EXPECT_EQ(From(), (std::vector<std::string>{P("d\\s\\*"), P("d\\*"), P("plain\\p.txt")}));
    EXPECT_FALSE(Exists(P("d")));
    EXPECT_FALSE(Exists(P("plain\\p.txt")));
    EXPECT_TRUE(Exists(P("plain")));
    EXPECT_TRUE(prompter_.Questions().empty());
}

TEST_F(DeleteTest, ADirectoryWithoutFilesIsAskedAboutAndNoLaterEntryIsLost) {
    Tree(P("bare"), {"x\\"});
    Tree(P("full"), {"f.txt"});
    prompter_.Answer(mrCancel);
    EXPECT_EQ(EraseFiles({P("bare"), P("full")}, nullptr, true), 0);
    EXPECT_TRUE(op_.requests.empty());
    EXPECT_TRUE(Exists(P("bare\\x")));
    ASSERT_EQ(prompter_.Questions().size(), 1u);
    EXPECT_EQ(prompter_.Questions()[0].text, "削除します。よろしいですか？");
    EXPECT_EQ(prompter_.Questions()[0].type, MsgType::Warning);
    EXPECT_EQ(prompter_.Questions()[0].buttons, MsgButtons::OkCancel);

    prompter_.Answer(mrOk);
    EXPECT_EQ(EraseFiles({P("bare"), P("full")}, nullptr, true), 0);
    ASSERT_EQ(op_.requests.size(), 1u);
    EXPECT_EQ(From(), std::vector<std::string>{P("full\\*")});
    EXPECT_FALSE(Exists(P("bare")));
    EXPECT_FALSE(Exists(P("full")));

    // Only bare directories: nothing for the platform, the clean-up alone.
    Tree(P("bare2"), {"y\\"});
    EXPECT_EQ(EraseFiles({P("bare2")}, nullptr, true), 0);
    EXPECT_EQ(op_.requests.size(), 1u);
    EXPECT_FALSE(Exists(P("bare2")));
}

TEST_F(DeleteTest, AbortFailureAndASurvivingFileEndTheCleanUp) {
    Tree(P("d"), {"a.txt"});
    op_.perform = false;
    op_.answer = {0, true};
    EXPECT_EQ(DeleteToRecycleBin({P("d")}, nullptr, true), 2);
    EXPECT_EQ(Messages(), std::vector<std::string>{"中断しました"});
    op_.answer = {0x78, false};
    EXPECT_EQ(DeleteToRecycleBin({P("d")}, nullptr, true), 0x78);
    EXPECT_EQ(Messages().size(), 1u);
    EXPECT_TRUE(Exists(P("d\\a.txt")));

    // The platform left the file in place (the user declined it).
    op_.answer = {};
    EXPECT_EQ(DeleteToRecycleBin({P("d")}, nullptr, true), 0);
    ASSERT_EQ(prompter_.Questions().size(), 2u);
    EXPECT_EQ(prompter_.Questions()[1].text, "空ディレクトリがあればそれは削除しましたかも(^^;;;");
    EXPECT_EQ(prompter_.Questions()[1].type, MsgType::Error);
    EXPECT_TRUE(Exists(P("d\\a.txt")));
}

}  // namespace
}  // namespace kestrum
