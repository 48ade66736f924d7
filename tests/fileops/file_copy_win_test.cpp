// The copy engine over real temporary trees, with the platform's file
// operation replaced by a recording one: batches and their flags, merging,
// the collision policies, removal of emptied directories, and that a
// failed batch loses no file.
#include "fileops/file_copy_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "common/prompter.h"
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
using test::RecordingFileOp;
using test::Stamp;
using test::Tree;

class FileCopyTest : public testing::Test {
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
    RecordingFileOp op_;
    const Subscription scopedOp_ = InstallShellFileOp(op_);
    TFileCopy fc_;
};

TEST_F(FileCopyTest, CopiesANewTreeInOneBatchWithTheFixedFlags) {
    // 表 and ソ end in the byte of "\": neither is split nor refused.
    Tree(P("src"), {"a.txt", "表\\", "表\\ソ.txt", "表\\empty\\"});
    fc_.CopyX({}, P("src"), cmAsk, P("dst"));
    EXPECT_TRUE(op_.requests.empty());
    EXPECT_TRUE(prompter_.Questions().empty());
    EXPECT_FALSE(Exists(P("dst")));

    CreateDirectoryA(P("dst").c_str(), nullptr);
    fc_.CopyX({"a.txt", "表"}, P("src") + "\\", cmAsk, P("dst") + "\\");
    ASSERT_EQ(op_.requests.size(), 1u);
    const ShellFileRequest& r = op_.requests[0];
    EXPECT_EQ(r.func, static_cast<UINT>(FO_COPY));
    EXPECT_EQ(r.flags, 0x91);
    EXPECT_EQ(r.title, "COPYしています。");
    EXPECT_EQ(r.from, P("src\\a.txt") + '\0' + P("src\\表\\ソ.txt") + '\0' + '\0');
    EXPECT_EQ(r.to, P("dst\\a.txt") + '\0' + P("dst\\表\\ソ.txt") + '\0' + '\0');
    EXPECT_EQ(Get(P("dst\\表\\ソ.txt")), "ソ.txt");
    EXPECT_TRUE(DirExists(P("dst\\表\\empty")));
    EXPECT_TRUE(Exists(P("src\\表\\ソ.txt")));
    EXPECT_EQ(fc_.Result(), 0);
    EXPECT_TRUE(prompter_.Questions().empty());
}

TEST_F(FileCopyTest, MergesIntoAnExistingTreeAskingOncePerOperation) {
    Tree(P("src"), {"a.txt", "b.txt", "new.txt", "d\\", "d\\c.txt", "d\\n.txt"});
    Tree(P("dst"), {"d\\", "keep.txt"});
    for (const char* f : {"a.txt", "b.txt", "d\\c.txt"}) Put(P("dst\\") + f, "old");
    UseCopyDialog(fc_);
    fileQuestions_.AnswerCopyMode(cmOverwrite);
    fc_.MoveX({"a.txt", "b.txt", "new.txt", "d"}, P("src"), cmAsk, P("dst"));

    ASSERT_EQ(fileQuestions_.CopyModesAsked().size(), 1u);
    EXPECT_EQ(fileQuestions_.CopyModesAsked()[0].prefix, "Kestrum");
    EXPECT_EQ(fileQuestions_.CopyModesAsked()[0].state, 1);
    EXPECT_EQ(fc_.Mode(), cmOverwrite);
    for (const char* f : {"a.txt", "b.txt", "new.txt", "d\\c.txt", "d\\n.txt"}) {
        EXPECT_EQ(Get(P("dst\\") + f), ExtractFileName(f)) << f;
        EXPECT_FALSE(Exists(P("src\\") + f)) << f;
    }
    EXPECT_EQ(Get(P("dst\\keep.txt")), "keep.txt");
    EXPECT_FALSE(Exists(P("src\\d")));  // merged, emptied and removed
    EXPECT_TRUE(DirExists(P("src")));   // the source directory itself stays
    ASSERT_EQ(op_.requests.size(), 1u);
    EXPECT_EQ(op_.requests[0].func, static_cast<UINT>(FO_MOVE));
    EXPECT_EQ(op_.requests[0].title, "移動しています。");
    EXPECT_TRUE(prompter_.Questions().empty());
}

TEST_F(FileCopyTest, CancelledDialogOrNoHandlerAndInvalidModes) {
    Tree(P("src"), {"a.txt", "z.txt"});
    Tree(P("dst"), {});
    Put(P("dst\\a.txt"), "old");
    UseCopyDialog(fc_);
    fc_.CopyX({"z.txt", "a.txt"}, P("src"), cmAsk, P("dst"));  // the dialog is cancelled
    EXPECT_TRUE(fc_.Cancelled());
    EXPECT_EQ(fc_.Result(), 2);
    EXPECT_EQ(Messages(), std::vector<std::string>{"コピーを中断しました"});
    EXPECT_TRUE(op_.requests.empty());  // the queued z.txt is dropped
    EXPECT_FALSE(Exists(P("dst\\z.txt")));

    prompter_.Clear();
    fc_.OnSameName = nullptr;  // colliding files are skipped silently
    fc_.CopyX({"z.txt", "a.txt"}, P("src"), cmAsk, P("dst"));
    EXPECT_TRUE(prompter_.Questions().empty());
    EXPECT_EQ(Get(P("dst\\a.txt")), "old");
    EXPECT_EQ(Get(P("dst\\z.txt")), "z.txt");

    fc_.SetMode(static_cast<CopyMode>(5));  // a value read from elsewhere that is no policy
    EXPECT_EQ(fc_.Mode(), cmAsk);
    EXPECT_EQ(Messages(), std::vector<std::string>{"TFileCopy:Modeに無効な値を代入しようとしました。"});
}

TEST_F(FileCopyTest, NewerPolicyTransfersOverOlderAndAMoveDeletesSourcesNotNewer) {
    auto setUp = [&] {
        Tree(P("src"), {"old.txt", "new.txt", "same.txt"});
        Tree(P("dst"), {});
        for (const char* f : {"old.txt", "new.txt", "same.txt"}) Put(P("dst\\") + f, "dst");
        Stamp(P("src\\old.txt"), 100);
        Stamp(P("dst\\old.txt"), 150);
        Stamp(P("src\\new.txt"), 200);
        Stamp(P("dst\\new.txt"), 100);
        Stamp(P("src\\same.txt"), 150);
        Stamp(P("dst\\same.txt"), 150);
    };
    const std::vector<std::string> names{"old.txt", "new.txt", "same.txt"};
    setUp();
    fc_.CopyX(names, P("src"), cmNewer, P("dst"));
    ASSERT_EQ(op_.requests.size(), 1u);
    EXPECT_EQ(RecordingFileOp::Entries(op_.requests[0].from), std::vector<std::string>{P("src\\new.txt")});
    EXPECT_TRUE(Exists(P("src\\old.txt")));

    op_.requests.clear();
    setUp();
    fc_.MoveX(names, P("src"), cmNewer, P("dst"));
    ASSERT_EQ(op_.requests.size(), 2u);
    EXPECT_EQ(RecordingFileOp::Entries(op_.requests[0].from), std::vector<std::string>{P("src\\new.txt")});
    const ShellFileRequest& del = op_.requests[1];
    EXPECT_EQ(del.func, static_cast<UINT>(FO_DELETE));
    EXPECT_EQ(del.flags, 0x90);
    EXPECT_TRUE(del.to.empty());
    EXPECT_EQ(RecordingFileOp::Entries(del.from), (std::vector<std::string>{P("src\\old.txt"), P("src\\same.txt")}));
    EXPECT_EQ(Get(P("dst\\old.txt")), "dst");
    EXPECT_EQ(Get(P("dst\\new.txt")), "new.txt");
}

TEST_F(FileCopyTest, NewerPolicyNeverDeletesASourceThatIsItsOwnDestination) {
    Tree(P("src"), {"x.txt"});
    // The same directory spelt another way: every file collides with itself.
    fc_.MoveX({"x.txt"}, P("src"), cmNewer, UpperAscii(P("src")));
    fc_.CopyX({"x.txt"}, P("src"), cmOverwrite, P("src") + "\\.");
    EXPECT_TRUE(op_.requests.empty());
    EXPECT_EQ(Get(P("src\\x.txt")), "x.txt");
    EXPECT_TRUE(prompter_.Questions().empty());
}

TEST_F(FileCopyTest, RenameRefusesInvalidExistingAndAlreadyQueuedNames) {
    Tree(P("src"), {"a.txt", "b.txt", "c.txt"});
    Tree(P("dst"), {"a.txt", "b.txt", "c.txt", "taken.txt"});
    prompter_.AnswerLine("bad\\name");
    prompter_.AnswerLine("taken.txt");
    prompter_.AnswerLine("A2.TXT");
    prompter_.AnswerLine("a2.txt");  // queued for a.txt a moment ago
    prompter_.AnswerLine("ソ.txt");
    prompter_.AnswerLine(std::nullopt);  // cancelled: "abort?" No, then asked again
    prompter_.AnswerLine("c2.txt");
    for (int i = 0; i < 3; ++i) prompter_.Answer(mrOk);
    prompter_.Answer(mrNo);
    fc_.CopyX({"a.txt", "b.txt", "c.txt"}, P("src"), cmRename, P("dst"));

    EXPECT_EQ(Messages(), (std::vector<std::string>{"無効なファイル名です", "そのファイル名のファイルも存在します。",
                                                    "そのファイル名のファイルも存在します。", "コピーを中断しますか？"}));
    const auto& asked = prompter_.LineQuestions();
    ASSERT_EQ(asked.size(), 7u);
    EXPECT_EQ(asked[0].title, "名前を変えてコピー");
    EXPECT_EQ(asked[0].prompt, "新しいファイル名を入れてください");
    EXPECT_EQ(asked[2].text, "a.txt");  // the name again on every round
    EXPECT_EQ(asked[4].text, "b.txt");
    EXPECT_EQ(Get(P("dst\\A2.TXT")), "a.txt");
    EXPECT_EQ(Get(P("dst\\ソ.txt")), "b.txt");
    EXPECT_EQ(Get(P("dst\\c2.txt")), "c.txt");
    EXPECT_EQ(Get(P("dst\\a.txt")), "a.txt");

    prompter_.Clear();
    prompter_.AnswerLine(std::nullopt);
    prompter_.Answer(mrYes);
    fc_.MoveX({"a.txt"}, P("src"), cmRename, P("dst"));
    EXPECT_EQ(Messages(), (std::vector<std::string>{"移動を中断しますか？", "移動を中断しました"}));
    EXPECT_TRUE(Exists(P("src\\a.txt")));
}

TEST_F(FileCopyTest, ARenamedFileTakesANameLaterSourcesCollideWith) {
    // a.txt is renamed to b.txt, which is not on disk yet when b.txt comes.
    Tree(P("src"), {"a.txt", "b.txt"});
    Tree(P("dst"), {"a.txt"});
    prompter_.AnswerLine("b.txt");
    prompter_.AnswerLine("b2.txt");
    fc_.MoveX({"a.txt", "b.txt"}, P("src"), cmRename, P("dst"));
    EXPECT_EQ(Get(P("dst\\b.txt")), "a.txt");
    EXPECT_EQ(Get(P("dst\\b2.txt")), "b.txt");
    EXPECT_EQ(prompter_.LineQuestions().size(), 2u);
}

TEST_F(FileCopyTest, ThreeHundredAndOneTransfersMakeTwoBatches) {
    std::vector<std::string> names;
    Tree(P("src"), {});
    for (int i = 0; i < 301; ++i) {
        names.push_back("f" + std::to_string(i) + ".txt");
        Put(P("src\\") + names.back());
    }
    fc_.CopyX(names, P("src"), cmAsk, P("dst"));  // the missing destination is made (Yes)
    ASSERT_EQ(op_.requests.size(), 2u);
    EXPECT_EQ(RecordingFileOp::Entries(op_.requests[0].to).size(), 300u);
    ASSERT_EQ(RecordingFileOp::Entries(op_.requests[1].to), std::vector<std::string>{P("dst\\f300.txt")});
    EXPECT_EQ(Messages(), std::vector<std::string>{"ディレクトリ" + P("dst") + "が存在しません。\r\n作りますか？"});
    EXPECT_EQ(prompter_.Questions()[0].buttons, MsgButtons::YesCancel);
    EXPECT_EQ(Get(P("dst\\f300.txt")), "f300.txt");
}

TEST_F(FileCopyTest, MissingDestinationDeclinedCancels) {
    Tree(P("src"), {"a.txt"});
    bool asked = false;
    fc_.OnExistsDir = [&](bool& flag) {
        asked = flag;
        flag = false;
    };
    fc_.CopyX({"a.txt"}, P("src"), cmAsk, P("x\\y"));
    EXPECT_TRUE(asked);
    EXPECT_FALSE(Exists(P("x")));
    EXPECT_EQ(Messages(), std::vector<std::string>{"コピーを中断しました"});
}

TEST_F(FileCopyTest, MoveLeavesExactlyTheDirectoriesThatStillHoldSomething) {
    Tree(P("src"), {"top\\", "top\\x.txt", "top\\sub\\", "top\\sub\\y.txt", "new\\", "new\\z.txt", "new\\deeper\\"});
    Tree(P("dst"), {"top\\", "top\\x.txt"});
    fc_.MoveX({"top", "new"}, P("src"), cmSkip, P("dst"));
    EXPECT_TRUE(Exists(P("src\\top\\x.txt")));  // skipped: its directory stays
    EXPECT_FALSE(Exists(P("src\\top\\sub")));
    EXPECT_FALSE(Exists(P("src\\new")));
    EXPECT_EQ(Get(P("dst\\top\\sub\\y.txt")), "y.txt");
    EXPECT_EQ(Get(P("dst\\new\\z.txt")), "z.txt");
    EXPECT_TRUE(DirExists(P("dst\\new\\deeper")));
    EXPECT_TRUE(prompter_.Questions().empty());
}

TEST_F(FileCopyTest, AFailedOrAbortedBatchLosesNoFile) {
    for (const bool abort : {false, true}) {
        SCOPED_TRACE(abort ? "aborted" : "failed");
        test::TempDir root;
        const std::string src = root.File("src");
        const std::string dst = root.File("dst");
        std::vector<std::string> files{"old.txt"};
        Tree(src, {"old.txt", "d\\"});
        Tree(dst, {"old.txt"});
        Stamp(src + "\\old.txt", 100);  // not newer: queued for deletion first
        Stamp(dst + "\\old.txt", 200);
        for (int i = 0; i < 320; ++i) {
            files.push_back("d\\f" + std::to_string(i));
            Put(src + "\\" + files.back());
        }
        op_ = RecordingFileOp();
        op_.failCall = 0;
        op_.doneBeforeFailure = 120;
        op_.abort = abort;
        prompter_.Clear();
        fc_.MoveX({"old.txt", "d"}, src, cmNewer, dst);

        ASSERT_EQ(op_.requests.size(), 1u);  // no later batch, no deletion
        EXPECT_TRUE(fc_.Failed());
        EXPECT_EQ(fc_.Cancelled(), abort);
        std::vector<std::string> expected;
        if (abort) expected.push_back("移動を中断しました");
        expected.push_back("移動は失敗に終わりました");
        EXPECT_EQ(Messages(), expected);
        EXPECT_EQ(Get(src + "\\old.txt"), "old.txt");
        EXPECT_TRUE(DirExists(src + "\\d"));
        int atSource = 0;
        for (const std::string& f : files) {
            const bool here = Exists(src + "\\" + f);
            atSource += here;
            EXPECT_TRUE(here || Get(dst + "\\" + f) == ExtractFileName(f)) << f;
        }
        EXPECT_EQ(atSource, 201);
    }
}

// Refused before anything is made: the missing destination is not created
// inside the source (nor is its creation offered), on a copy or a move.
TEST_F(FileCopyTest, RefusesADestinationInsideASourceDirectory) {
    Tree(P("src"), {"d\\", "d\\sub\\", "d\\a.txt"});
    fc_.CopyX({"d"}, P("src"), cmAsk, P("SRC\\D\\sub\\into"));
    EXPECT_TRUE(op_.requests.empty());
    EXPECT_EQ(Messages(), (std::vector<std::string>{"ＥＲＲＯＲ！\r\nコピー先がコピー元のディレクトリの中にあります。>d",
                                                    "コピーは失敗に終わりました"}));
    EXPECT_FALSE(Exists(P("src\\d\\sub\\into")));

    prompter_.Clear();
    fc_.MoveX({"d"}, P("src"), cmAsk, P("src\\d"));  // the source itself
    EXPECT_TRUE(op_.requests.empty());
    EXPECT_EQ(Messages(), (std::vector<std::string>{"ＥＲＲＯＲ！\r\n移動先が移動元のディレクトリの中にあります。>d",
                                                    "移動は失敗に終わりました"}));
    EXPECT_EQ(Get(P("src\\d\\a.txt")), "a.txt");
}

TEST_F(FileCopyTest, FileAndDirectoryOfOneNameStopTheOperation) {
    Tree(P("src"), {"d\\", "f"});
    Tree(P("dst"), {"d", "f\\"});
    fc_.CopyX({"d"}, P("src"), cmOverwrite, P("dst"));
    fc_.CopyX({"f"}, P("src"), cmOverwrite, P("dst"));
    EXPECT_EQ(Messages(), (std::vector<std::string>{
                              "ＥＲＲＯＲ！\r\nコピー先にコピー元のディレクトリと同名のファイルがあります。>d",
                              "コピーは失敗に終わりました",
                              "ＥＲＲＯＲ！\r\nコピー先にコピー元のファイルと同名のディレクトリがあります。>f",
                              "コピーは失敗に終わりました"}));
    EXPECT_TRUE(op_.requests.empty());
    prompter_.Clear();
    fc_.CopyX({"gone"}, P("src"), cmOverwrite, P("dst"));
    EXPECT_EQ(Messages(), std::vector<std::string>{"コピーは失敗に終わりました"});
}

}  // namespace
}  // namespace kestrum
