// The copy engine with the platform's own file operation (flags that ask
// nothing): a tree copied and moved for real; and links made by the host
// system, handed on whole and never walked into.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "common/handles_win.h"
#include "common/prompter.h"
#include "fileops/copy_list_win.h"
#include "fileops/file_copy_win.h"
#include "fileops/path_utils.h"
#include "tests/fakes/scripted_prompter.h"
#include "tests/fileops/file_op_fake_win.h"
#include "tests/test_util.h"

namespace kestrum {
namespace {

using test::Exists;
using test::Get;
using test::Tree;

class FileCopyPlatformTest : public testing::Test {
protected:
    std::string P(const std::string& rel) const { return dir_.File(rel); }
    // Runs a program of the host system (Wine starts those too) and waits
    // until check holds; false where that is not possible.
    template <typename Check>
    static bool RunHost(const std::string& program, std::string cmd, Check check) {
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!CreateProcessA(program.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
            return false;
        }
        const UniqueHandle process(pi.hProcess);
        const UniqueHandle thread(pi.hThread);
        WaitForSingleObject(process.Get(), 10000);
        // The host's program may finish after its handle is signalled.
        for (int i = 0; i < 250 && !check(); ++i) Sleep(20);
        return check();
    }
    static std::string UnixName(const std::string& path) {
        using ToUnix = char*(CDECL*)(const WCHAR*);
        auto toUnix = reinterpret_cast<ToUnix>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
        if (!toUnix) return {};
        WCHAR wide[MAX_PATH] = {};
        MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
        char* u = toUnix(wide);
        std::string out = u ? u : "";
        if (u) HeapFree(GetProcessHeap(), 0, u);
        return out;
    }
    // A symbolic link made by the host system: Wine shows a link to a
    // directory as a directory with the reparse-point attribute.
    static bool MakeDirectoryLink(const std::string& link, const std::string& target) {
        const std::string from = UnixName(target);
        const std::string to = UnixName(ExtractFilePath(link));
        if (from.empty() || to.empty()) return false;
        return RunHost("Z:\\bin\\ln", "/bin/ln -s \"" + from + "\" \"" + to + ExtractFileName(link) + "\"", [&] {
            const DWORD a = GetFileAttributesA(link.c_str());
            return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_REPARSE_POINT);
        });
    }
    static void RemoveLink(const std::string& link) {
        RunHost("Z:\\bin\\rm", "/bin/rm \"" + UnixName(ExtractFilePath(link)) + ExtractFileName(link) + "\"",
                [&] { return !Exists(link); });
    }

    test::TempDir dir_;
    ScriptedPrompter prompter_;
    const Subscription scoped_ = InstallPrompter(prompter_);
    TFileCopy fc_;
};

TEST_F(FileCopyPlatformTest, CopiesAndMovesATreeForReal) {
    Tree(P("src"), {"a.txt", "表\\", "表\\ソ.txt", "表\\empty\\", "keep\\", "keep\\k.txt"});
    Tree(P("dst"), {"keep\\", "keep\\k.txt"});
    fc_.CopyX({"a.txt", "表", "keep"}, P("src"), cmSkip, P("dst"));
    EXPECT_EQ(fc_.Result(), 0);
    EXPECT_EQ(Get(P("dst\\a.txt")), "a.txt");
    EXPECT_EQ(Get(P("dst\\表\\ソ.txt")), "ソ.txt");
    EXPECT_TRUE(DirExists(P("dst\\表\\empty")));
    EXPECT_TRUE(Exists(P("src\\表\\ソ.txt")));

    fc_.MoveX({"a.txt", "表", "keep"}, P("src"), cmSkip, P("moved"));  // made after Yes
    EXPECT_EQ(fc_.Result(), 0);
    EXPECT_EQ(Get(P("moved\\表\\ソ.txt")), "ソ.txt");
    EXPECT_TRUE(DirExists(P("moved\\表\\empty")));
    EXPECT_FALSE(Exists(P("src\\表")));
    EXPECT_FALSE(Exists(P("src\\a.txt")));
    EXPECT_FALSE(Exists(P("src\\keep")));
    EXPECT_EQ(prompter_.Questions().size(), 1u);  // the question to make "moved"
}

TEST_F(FileCopyPlatformTest, LinksAreHandedOnWholeAndNeverWalkedInto) {
    Tree(P("target"), {"t.txt", "deep\\", "deep\\u.txt"});
    Tree(P("src"), {"d\\", "d\\x.txt"});
    Tree(P("dst"), {});
    // The temporary folder's clean-up cannot remove host links: they go first.
    struct Links {
        std::vector<std::string> paths;
        ~Links() {
            for (const std::string& p : paths) RemoveLink(p);
        }
    } links{{P("src\\d\\link"), P("src\\top")}};
    for (const std::string& link : links.paths) {
        if (!MakeDirectoryLink(link, P("target"))) GTEST_SKIP() << "no directory links here";
    }
    test::RecordingFileOp op;
    op.perform = false;
    {
        const Subscription scoped = InstallShellFileOp(op);
        fc_.CopyX({"d", "top"}, P("src"), cmAsk, P("dst"));
    }
    ASSERT_EQ(op.requests.size(), 1u);
    std::vector<std::string> from = test::RecordingFileOp::Entries(op.requests[0].from);
    std::sort(from.begin(), from.end());
    EXPECT_EQ(from, (std::vector<std::string>{P("src\\d\\link"), P("src\\d\\x.txt"), P("src\\top")}));
    EXPECT_TRUE(DirExists(P("dst\\d")));
    EXPECT_FALSE(Exists(P("dst\\d\\link")));  // not made as a directory to walk into
    EXPECT_EQ(Get(P("target\\deep\\u.txt")), "u.txt");
    EXPECT_TRUE(prompter_.Questions().empty());
}

// The list copy and move behind CP and MV, with the platform's operation: a
// directory three levels deep arrives whole.
TEST_F(FileCopyPlatformTest, ListCopyAndMoveCarryWholeTrees) {
    const std::vector<std::string> files = {"表.txt", "一\\二.txt", "一\\二\\三.txt", "一\\二\\三\\底.txt"};
    Tree(P("元"), {"表.txt", "一\\", "一\\二.txt", "一\\二\\", "一\\二\\三.txt", "一\\二\\三\\",
                   "一\\二\\三\\底.txt"});
    ASSERT_EQ(CopyListTo(P("元"), P("写"), nullptr), 0);  // made after Yes
    for (const std::string& f : files) EXPECT_EQ(Get(P("写\\元\\" + f)), ExtractFileName(f)) << f;

    Tree(P("移"), {"他.txt"});
    ASSERT_EQ(MoveListTo(P("写\\元"), P("移"), nullptr), 0);
    for (const std::string& f : files) EXPECT_EQ(Get(P("移\\元\\" + f)), ExtractFileName(f)) << f;
    EXPECT_FALSE(Exists(P("写\\元")));
    EXPECT_EQ(prompter_.Questions().size(), 1u);  // the question to make "写"
}

}  // namespace
}  // namespace kestrum
