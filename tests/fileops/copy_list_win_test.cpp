// List copy and move and the single copy: what is handed to the platform,
// the result codes, the failure messages, and the overwrite question.
#include "fileops/copy_list_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "common/prompter.h"
#include "fileops/file_copy_win.h"
#include "fileops/path_utils.h"
#include "tests/fakes/scripted_file_op_questions.h"
#include "tests/fakes/scripted_prompter.h"
#include "tests/fileops/file_op_fake_win.h"
#include "tests/test_util.h"

namespace kestrum {
namespace {

using test::Exists;
using test::Get;
using test::Put;
using test::Tree;

class CopyListTest : public testing::Test {
protected:
    std::string P(const std::string& rel) const { return dir_.File(rel); }
    std::vector<std::string> Messages() const {
        std::vector<std::string> out;
        for (const auto& q : prompter_.Questions()) out.push_back(q.text);
        return out;
    }
    test::TempDir dir_;
    ScriptedPrompter prompter_;
    const Subscription scopedPrompter_ = InstallPrompter(prompter_);
    ScriptedFileOpQuestions fileQuestions_;
    test::RecordingFileOp op_;
    const Subscription scopedOp_ = InstallShellFileOp(op_);
};

TEST_F(CopyListTest, ListCopyHandsOneCallToThePlatform) {
    Tree(P("src"), {"a.txt", "ソ.txt"});
    const std::string sources = P("src\\a.txt") + '\0' + P("src\\ソ.txt");
    HWND owner = reinterpret_cast<HWND>(0x1234);
    EXPECT_EQ(CopyListTo(sources, P("dst") + "\\", owner), 0);  // made after Yes
    ASSERT_EQ(op_.requests.size(), 1u);
    const ShellFileRequest& r = op_.requests[0];
    EXPECT_EQ(r.owner, owner);
    EXPECT_EQ(r.func, static_cast<UINT>(FO_COPY));
    EXPECT_EQ(r.flags, 0);  // files-only is for wildcard names alone
    EXPECT_EQ(r.from, sources + '\0' + '\0');
    EXPECT_EQ(r.to, P("dst") + '\0' + '\0');
    EXPECT_EQ(Get(P("dst\\ソ.txt")), "ソ.txt");

    prompter_.Clear();
    EXPECT_EQ(MoveListTo(sources + '\0', P("dst"), nullptr), 0);
    EXPECT_EQ(op_.requests[1].func, static_cast<UINT>(FO_MOVE));
    EXPECT_EQ(op_.requests[1].from, sources + '\0' + '\0');
    EXPECT_FALSE(Exists(P("src\\a.txt")));
    EXPECT_TRUE(prompter_.Questions().empty());

    op_.perform = false;
    EXPECT_EQ(CopyListTo(P("dst\\*.txt") + '\0' + P("dst\\ソ.txt"), P("src"), nullptr), 0);
    EXPECT_EQ(op_.requests[2].flags, 0x80);
}

// A directory copied or moved into itself or below itself is refused before
// the destination is made; a wildcard source or a file is no such directory.
TEST_F(CopyListTest, ListCopyIntoItsOwnSourceIsRefusedBeforeAnythingIsMade) {
    Tree(P("表"), {"sub\\", "sub\\a.txt"});
    const std::string sources = P("x.txt") + '\0' + P("表");
    EXPECT_EQ(CopyListTo(sources, P("表\\sub\\new"), nullptr), 255);
    EXPECT_EQ(MoveListTo(P("表"), P("表"), nullptr), 255);
    EXPECT_TRUE(op_.requests.empty());
    EXPECT_FALSE(Exists(P("表\\sub\\new")));
    EXPECT_EQ(Messages(), (std::vector<std::string>{"ＥＲＲＯＲ！\r\nコピー先がコピー元のディレクトリの中にあります。>表",
                                                    "コピーは失敗に終わりました",
                                                    "ＥＲＲＯＲ！\r\n移動先が移動元のディレクトリの中にあります。>表",
                                                    "移動は失敗に終わりました"}));

    prompter_.Clear();
    op_.perform = false;
    EXPECT_EQ(CopyListTo(P("表\\*.*"), P("表\\sub"), nullptr), 0);
    EXPECT_EQ(CopyListTo(P("表\\sub\\a.txt"), P("表\\sub\\again"), nullptr), 0);  // made after Yes
    EXPECT_EQ(op_.requests.size(), 2u);
}

TEST_F(CopyListTest, FailuresReturnTheirCodeAndAreReported) {
    Tree(P("src"), {"a.txt"});
    const std::string source = P("src\\a.txt");
    EXPECT_EQ(CopyListTo(source, "", nullptr), 255);
    prompter_.Answer(mrCancel);
    EXPECT_EQ(MoveListTo(source, P("missing"), nullptr), 255);
    EXPECT_FALSE(Exists(P("missing")));
    op_.failCall = 0;
    op_.failCode = 0x75;
    EXPECT_EQ(CopyListTo(source, P("src"), nullptr), 0x75);
    op_.failCall = 1;
    op_.abort = true;
    EXPECT_EQ(MoveListTo(source, P("src"), nullptr), 2);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"コピーは失敗に終わりました",
                                                    "ディレクトリ" + P("missing") + "が存在しません。\r\n作りますか？",
                                                    "移動は失敗に終わりました", "コピーは失敗に終わりました",
                                                    "移動は失敗に終わりました"}));
}

TEST_F(CopyListTest, SingleCopyAsksBeforeReplacingAndNeverDeletesFirst) {
    Tree(P("d"), {"x.txt", "x.bak"});
    prompter_.Answer(mrCancel);
    EXPECT_EQ(CopyPath(P("d\\x.txt"), P("d\\x.bak"), nullptr), 2);
    EXPECT_TRUE(op_.requests.empty());
    EXPECT_EQ(Get(P("d\\x.bak")), "x.bak");
    ASSERT_EQ(Messages(), std::vector<std::string>{P("d\\x.bak") + "は既に存在します。上書きしますか？"});
    EXPECT_EQ(prompter_.Questions()[0].type, MsgType::Warning);

    // Yes: the old file stays until the platform replaces it.
    op_.failCall = 0;
    op_.doneBeforeFailure = 0;
    EXPECT_EQ(CopyPath(P("d\\x.txt"), P("d\\x.bak"), nullptr), 0x4C7);
    EXPECT_EQ(Get(P("d\\x.bak")), "x.bak");
    ASSERT_EQ(op_.requests.size(), 1u);
    EXPECT_EQ(op_.requests[0].flags, FOF_NOCONFIRMATION);
    EXPECT_EQ(op_.requests[0].to, P("d\\x.bak") + '\0' + '\0');

    op_.failCall = -1;
    EXPECT_EQ(CopyPath(P("d\\x.txt"), P("d\\new\\y.txt"), nullptr), 0);  // the directory is made (Yes)
    EXPECT_EQ(op_.requests[1].flags, 0);
    EXPECT_EQ(Get(P("d\\new\\y.txt")), "x.txt");
}

TEST_F(CopyListTest, SingleCopyRefusesTheSourceItself) {
    Tree(P("d"), {"x.txt"});
    EXPECT_EQ(CopyPath(P("d\\x.txt"), P("D\\.\\X.TXT"), nullptr), 255);
    EXPECT_EQ(Messages(), std::vector<std::string>{P("D\\X.TXT") + "はコピー元と同じファイルです。"});
    EXPECT_TRUE(op_.requests.empty());
    EXPECT_EQ(Get(P("d\\x.txt")), "x.txt");
}

TEST_F(CopyListTest, SingleCopyOfADirectoryMergesThroughTheEngine) {
    Tree(P("src"), {"a.txt", "sub\\", "sub\\b.txt"});
    Tree(P("dst"), {"a.txt"});
    TFileCopy engine;
    UseCopyDialog(engine);
    fileQuestions_.AnswerCopyMode(cmSkip);
    EXPECT_EQ(CopyPath(P("src"), P("dst"), nullptr, &engine), 0);
    EXPECT_EQ(fileQuestions_.CopyModesAsked().size(), 1u);
    EXPECT_EQ(Get(P("dst\\a.txt")), "a.txt");
    EXPECT_EQ(Get(P("dst\\sub\\b.txt")), "b.txt");
    EXPECT_EQ(op_.requests[0].flags, 0x91);

    // A wildcard source is no directory: it goes to the platform as it is.
    op_.perform = false;
    EXPECT_EQ(CopyPath(P("src\\*.txt"), P("dst"), nullptr, &engine), 0);
    ASSERT_EQ(op_.requests.size(), 2u);
    EXPECT_EQ(op_.requests[1].from, P("src\\*.txt") + '\0' + '\0');
}

}  // namespace
}  // namespace kestrum
