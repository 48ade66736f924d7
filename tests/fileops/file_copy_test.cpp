// The copy engine on an in-memory file system: what goes into the batches,
// merging, the collision policies, the directories a move empties, and what
// a failure at any step leaves behind.
#include "fileops/file_copy.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "common/prompter.h"
#include "tests/fakes/scripted_prompter.h"
#include "tests/common/mem_file_system.h"
#include "tests/fileops/mem_transfer_batches.h"

namespace kestrum {
namespace {

using test::MemFileSystem;
using test::MemTransferBatches;
using Op = MemFileSystem::Op;
using Kind = TransferBatches::Kind;

class FileCopyCoreTest : public testing::Test {
protected:
    // Builds a tree under root: a name ending in "\" is a directory, any
    // other a file holding its own name.
    void Tree(const std::string& root, const std::vector<std::string>& entries) {
        fs_.AddDir(root);
        for (const std::string& e : entries) {
            if (EndsWithBackslash(e)) {
                fs_.AddDir(root + "\\" + ExcludeTrailingBackslash(e));
            } else {
                fs_.AddFile(root + "\\" + e);
            }
        }
    }
    std::vector<std::string> Messages() const {
        std::vector<std::string> out;
        for (const auto& q : prompter_.Questions()) out.push_back(q.text);
        return out;
    }

    MemFileSystem fs_;
    MemTransferBatches batches_{fs_};
    ScriptedPrompter prompter_;
    const Subscription scopedPrompter_ = InstallPrompter(prompter_);
    FileCopyEngine fc_{fs_, batches_};
};

TEST_F(FileCopyCoreTest, ANewTreeGoesInOneBatchWithItsEmptyDirectoriesMade) {
    // 表 and ソ end in the byte of "\": neither is split nor refused.
    Tree("C:\\src", {"a.txt", "表\\", "表\\ソ.txt", "表\\empty\\"});
    fc_.CopyX({}, "C:\\src", cmAsk, "C:\\dst");
    EXPECT_TRUE(batches_.Batches().empty());
    EXPECT_FALSE(fs_.Has("C:\\dst"));

    fs_.AddDir("C:\\dst");
    fc_.CopyX({"a.txt", "表"}, "C:\\src\\", cmAsk, "C:\\dst\\");
    ASSERT_EQ(batches_.Batches().size(), 1u);
    const auto& b = batches_.Batches()[0];
    EXPECT_EQ(b.kind, Kind::kCopy);
    EXPECT_EQ(b.title, "COPYしています。");
    EXPECT_EQ(b.from, (std::vector<std::string>{"C:\\src\\a.txt", "C:\\src\\表\\ソ.txt"}));
    EXPECT_EQ(b.to, (std::vector<std::string>{"C:\\dst\\a.txt", "C:\\dst\\表\\ソ.txt"}));
    EXPECT_EQ(fs_.Content("C:\\dst\\表\\ソ.txt"), "ソ.txt");
    EXPECT_TRUE(fs_.IsDir("C:\\dst\\表\\empty"));
    EXPECT_EQ(fs_.Content("C:\\src\\表\\ソ.txt"), "ソ.txt");
    EXPECT_EQ(fc_.Result(), 0);
    EXPECT_TRUE(prompter_.Questions().empty());
}

// A folder whose search fails is not an empty folder: the operation says it
// failed, transfers nothing and a move leaves every source file in place.
TEST_F(FileCopyCoreTest, AFolderThatCannotBeReadFailsTheOperation) {
    Tree("C:\\src", {"a.txt", "表\\", "表\\in.txt", "sub\\", "sub\\deep.txt"});
    fs_.AddDir("C:\\dst");
    fs_.AddDir("C:\\dst\\sub");  // sub merges, 表 is new
    for (const char* unreadable : {"C:\\src\\表\\*", "C:\\src\\sub\\*"}) {
        SCOPED_TRACE(unreadable);
        fs_.FailOn(Op::Find, unreadable);
        for (bool move : {false, true}) {
            prompter_.Clear();
            if (move) {
                fc_.MoveX({"a.txt", "表", "sub"}, "C:\\src", cmOverwrite, "C:\\dst");
            } else {
                fc_.CopyX({"a.txt", "表", "sub"}, "C:\\src", cmOverwrite, "C:\\dst");
            }
            EXPECT_NE(fc_.Result(), 0);
            EXPECT_EQ(Messages(), std::vector<std::string>{move ? "移動は失敗に終わりました" : "コピーは失敗に終わりました"});
            EXPECT_TRUE(batches_.Batches().empty());
            EXPECT_EQ(fs_.Content("C:\\src\\a.txt"), "a.txt");
            EXPECT_EQ(fs_.Content("C:\\src\\表\\in.txt"), "in.txt");
            EXPECT_EQ(fs_.Content("C:\\src\\sub\\deep.txt"), "deep.txt");
        }
        fs_.ClearFaults();
    }
}

TEST_F(FileCopyCoreTest, AMoveMergesAsksOnceAndRemovesTheDirectoriesItEmptied) {
    Tree("C:\\src", {"a.txt", "new.txt", "d\\", "d\\c.txt", "d\\n.txt", "top\\", "top\\skip.txt", "t2\\",
                     "t2\\deeper\\", "t2\\z.txt"});
    Tree("C:\\dst", {"d\\", "keep.txt", "top\\"});
    for (const char* f : {"a.txt", "d\\c.txt", "top\\skip.txt"}) fs_.AddFile(std::string("C:\\dst\\") + f, "old");
    int asked = 0;
    fc_.OnSameName = [&](const std::string& name, CopyMode& flag) {
        ++asked;
        EXPECT_EQ(name, "a.txt");
        EXPECT_EQ(flag, cmAsk);
        flag = cmOverwrite;
    };
    fc_.MoveX({"a.txt", "new.txt", "d", "t2"}, "C:\\src", cmAsk, "C:\\dst");
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(fc_.Mode(), cmOverwrite);
    ASSERT_EQ(batches_.Batches().size(), 1u);
    EXPECT_EQ(batches_.Batches()[0].kind, Kind::kMove);
    EXPECT_EQ(batches_.Batches()[0].title, "移動しています。");
    for (const char* f : {"a.txt", "new.txt", "d\\c.txt", "d\\n.txt", "t2\\z.txt"}) {
        EXPECT_EQ(fs_.Content(std::string("C:\\dst\\") + f), ExtractFileName(f)) << f;
        EXPECT_FALSE(fs_.Has(std::string("C:\\src\\") + f)) << f;
    }
    EXPECT_EQ(fs_.Content("C:\\dst\\keep.txt"), "keep.txt");
    EXPECT_TRUE(fs_.IsDir("C:\\dst\\t2\\deeper"));
    // Emptied and removed, children first; the source directory stays.
    EXPECT_EQ(fs_.Log(Op::RemoveDir), (std::vector<std::string>{"C:\\src\\d", "C:\\src\\t2\\deeper", "C:\\src\\t2"}));
    EXPECT_EQ(fs_.Names("C:\\src"), std::vector<std::string>{"top"});

    // Skipped: the file keeps its directory.
    fs_.ClearLog();
    fc_.MoveX({"top"}, "C:\\src", cmSkip, "C:\\dst");
    EXPECT_EQ(fs_.Content("C:\\src\\top\\skip.txt"), "skip.txt");
    EXPECT_TRUE(fs_.Log(Op::RemoveDir).empty());
    EXPECT_TRUE(prompter_.Questions().empty());
}

TEST_F(FileCopyCoreTest, NewerTransfersOverOlderAndAMoveDeletesSourcesNotNewer) {
    auto setUp = [&] {
        fs_.Erase("C:\\src");
        fs_.Erase("C:\\dst");
        for (auto [name, src, dst] : {std::tuple{"old.txt", 100, 150}, {"new.txt", 200, 100}, {"same.txt", 150, 150}}) {
            fs_.AddFile(std::string("C:\\src\\") + name, std::nullopt, src);
            fs_.AddFile(std::string("C:\\dst\\") + name, "dst", dst);
        }
        batches_.Clear();
    };
    const std::vector<std::string> names{"old.txt", "new.txt", "same.txt"};
    setUp();
    fc_.CopyX(names, "C:\\src", cmNewer, "C:\\dst");
    ASSERT_EQ(batches_.Batches().size(), 1u);
    EXPECT_EQ(batches_.Batches()[0].from, std::vector<std::string>{"C:\\src\\new.txt"});
    EXPECT_TRUE(fs_.Has("C:\\src\\old.txt"));

    setUp();
    fc_.MoveX(names, "C:\\src", cmNewer, "C:\\dst");
    ASSERT_EQ(batches_.Batches().size(), 2u);
    EXPECT_EQ(batches_.Batches()[0].from, std::vector<std::string>{"C:\\src\\new.txt"});
    EXPECT_EQ(batches_.Batches()[1].kind, Kind::kDelete);
    EXPECT_TRUE(batches_.Batches()[1].to.empty());
    EXPECT_EQ(batches_.Batches()[1].from, (std::vector<std::string>{"C:\\src\\old.txt", "C:\\src\\same.txt"}));
    EXPECT_EQ(fs_.Content("C:\\dst\\old.txt"), "dst");
    EXPECT_EQ(fs_.Content("C:\\dst\\new.txt"), "new.txt");
    EXPECT_TRUE(fs_.Names("C:\\src").empty());

    // A stamp that cannot be read decides nothing: the file stays put.
    setUp();
    fs_.FailOn(Op::Stat, "C:\\dst\\old.txt");
    fc_.MoveX({"old.txt"}, "C:\\src", cmNewer, "C:\\dst");
    EXPECT_TRUE(batches_.Batches().empty());
    EXPECT_TRUE(fs_.Has("C:\\src\\old.txt"));

    // The same directory spelt another way: every file is its own
    // destination and is neither deleted nor copied over itself.
    setUp();
    fc_.MoveX({"same.txt"}, "C:\\src", cmNewer, "c:\\SRC");
    fc_.CopyX({"same.txt"}, "C:\\src", cmOverwrite, "C:\\src\\.");
    EXPECT_TRUE(batches_.Batches().empty());
    EXPECT_EQ(fs_.Content("C:\\src\\same.txt"), "same.txt");
    EXPECT_TRUE(prompter_.Questions().empty());
}

TEST_F(FileCopyCoreTest, RenameRefusesInvalidExistingAndAlreadyQueuedNames) {
    Tree("C:\\src", {"a.txt", "b.txt", "c.txt"});
    Tree("C:\\dst", {"a.txt", "b.txt", "c.txt", "taken.txt"});
    prompter_.AnswerLine("bad\\name");
    prompter_.AnswerLine("taken.txt");
    prompter_.AnswerLine("A2.TXT");
    prompter_.AnswerLine("a2.txt.");  // queued for a.txt a moment ago, spelt another way
    prompter_.AnswerLine("ソ.txt");
    prompter_.AnswerLine(std::nullopt);  // cancelled: "abort?" No, then asked again
    prompter_.AnswerLine("c2.txt");
    for (int i = 0; i < 3; ++i) prompter_.Answer(mrOk);
    prompter_.Answer(mrNo);
    fc_.CopyX({"a.txt", "b.txt", "c.txt"}, "C:\\src", cmRename, "C:\\dst");

    EXPECT_EQ(Messages(), (std::vector<std::string>{"無効なファイル名です", "そのファイル名のファイルも存在します。",
                                                    "そのファイル名のファイルも存在します。", "コピーを中断しますか？"}));
    ASSERT_EQ(prompter_.LineQuestions().size(), 7u);
    EXPECT_EQ(prompter_.LineQuestions()[0].title, "名前を変えてコピー");
    EXPECT_EQ(prompter_.LineQuestions()[4].text, "b.txt");
    EXPECT_EQ(batches_.Batches()[0].to,
              (std::vector<std::string>{"C:\\dst\\A2.TXT", "C:\\dst\\ソ.txt", "C:\\dst\\c2.txt"}));
    EXPECT_EQ(fs_.Content("C:\\dst\\ソ.txt"), "b.txt");

    // A renamed file takes a name a later source then collides with,
    // although it is not written yet.
    Tree("D:\\src", {"a.txt", "b.txt"});
    Tree("D:\\dst", {"a.txt"});
    prompter_.Clear();
    prompter_.AnswerLine("b.txt");
    prompter_.AnswerLine("b2.txt");
    fc_.MoveX({"a.txt", "b.txt"}, "D:\\src", cmRename, "D:\\dst");
    EXPECT_EQ(fs_.Content("D:\\dst\\b.txt"), "a.txt");
    EXPECT_EQ(fs_.Content("D:\\dst\\b2.txt"), "b.txt");
    EXPECT_EQ(prompter_.LineQuestions().size(), 2u);
}

TEST_F(FileCopyCoreTest, ThreeHundredAndOneTransfersMakeTwoBatchesIntoAMadeDestination) {
    std::vector<std::string> names;
    for (int i = 0; i < 301; ++i) {
        names.push_back("f" + std::to_string(i) + ".txt");
        fs_.AddFile("C:\\src\\" + names.back());
    }
    prompter_.Answer(mrYes);
    fc_.CopyX(names, "C:\\src", cmAsk, "C:\\x\\y");
    EXPECT_EQ(Messages(), std::vector<std::string>{"ディレクトリC:\\x\\yが存在しません。\r\n作りますか？"});
    EXPECT_EQ(fs_.Log(Op::MakeDir), (std::vector<std::string>{"C:\\x", "C:\\x\\y"}));
    ASSERT_EQ(batches_.Batches().size(), 2u);
    EXPECT_EQ(batches_.Batches()[0].to.size(), 300u);
    EXPECT_EQ(batches_.Batches()[1].to, std::vector<std::string>{"C:\\x\\y\\f300.txt"});

    // Declined: nothing is made.
    prompter_.Clear();
    batches_.Clear();
    fs_.ClearLog();
    fc_.OnExistsDir = [](bool& flag) { flag = false; };
    fc_.CopyX(names, "C:\\src", cmAsk, "C:\\z");
    EXPECT_EQ(Messages(), std::vector<std::string>{"コピーを中断しました"});
    EXPECT_TRUE(fs_.Log(Op::MakeDir).empty());
    EXPECT_TRUE(batches_.Batches().empty());
}

TEST_F(FileCopyCoreTest, AFailedOrAbortedBatchLosesNoFileAndDeletesNothing) {
    for (const bool abort : {false, true}) {
        SCOPED_TRACE(abort ? "aborted" : "failed");
        fs_.Erase("C:\\src");
        fs_.Erase("C:\\dst");
        fs_.AddFile("C:\\src\\old.txt", std::nullopt, 100);  // not newer: queued for deletion first
        fs_.AddFile("C:\\dst\\old.txt", "dst", 200);
        std::vector<std::string> files;
        for (int i = 0; i < 320; ++i) {
            files.push_back("d\\f" + std::to_string(i));
            fs_.AddFile("C:\\src\\" + files.back());
        }
        batches_.Clear();
        batches_.failBatch = 0;
        batches_.doneBeforeFailure = 120;
        batches_.abort = abort;
        prompter_.Clear();
        fc_.MoveX({"old.txt", "d"}, "C:\\src", cmNewer, "C:\\dst");

        ASSERT_EQ(batches_.Batches().size(), 1u);  // no later batch, no deletion
        EXPECT_TRUE(fc_.Failed());
        EXPECT_EQ(fc_.Cancelled(), abort);
        EXPECT_EQ(fc_.Result(), abort ? 2 : 0x4C7);
        std::vector<std::string> expected;
        if (abort) expected.push_back("移動を中断しました");
        expected.push_back("移動は失敗に終わりました");
        EXPECT_EQ(Messages(), expected);
        EXPECT_EQ(fs_.Content("C:\\src\\old.txt"), "old.txt");
        EXPECT_EQ(fs_.Names("C:\\src\\d").size(), 200u);
        for (const std::string& f : files) {
            EXPECT_TRUE(fs_.Has("C:\\src\\" + f) || fs_.Content("C:\\dst\\" + f) == ExtractFileName(f)) << f;
        }
    }
}

// The seam lets any single step fail: whatever fails, the operation says
// so, stops, and no source is lost.
TEST_F(FileCopyCoreTest, AStepThatFailsStopsTheOperationAndLosesNothing) {
    auto setUp = [&] {
        fs_.Erase("C:\\src");
        fs_.Erase("C:\\dst");
        fs_.Erase("C:\\new");
        Tree("C:\\src", {"a.txt", "t\\", "t\\u\\", "t\\u\\b.txt", "t\\c.txt"});
        Tree("C:\\dst", {});
        batches_.Clear();
        prompter_.Clear();
        fs_.ClearLog();
        fs_.ClearFaults();
    };
    const std::vector<std::string> failed{"移動は失敗に終わりました"};

    // A level of the new tree cannot be made: nothing below it is queued,
    // nothing is moved.
    setUp();
    fs_.FailOn(Op::MakeDir, "C:\\dst\\t\\u");
    fc_.MoveX({"a.txt", "t"}, "C:\\src", cmAsk, "C:\\dst");
    EXPECT_EQ(Messages(), failed);
    EXPECT_EQ(fc_.Result(), 1);
    EXPECT_TRUE(batches_.Batches().empty());
    EXPECT_EQ(fs_.Names("C:\\src"), (std::vector<std::string>{"a.txt", "t"}));
    EXPECT_TRUE(fs_.Log(Op::RemoveDir).empty());

    // A missing destination that cannot be made.
    setUp();
    prompter_.Answer(mrYes);
    fs_.FailOn(Op::MakeDir, "C:\\new");
    fc_.MoveX({"a.txt"}, "C:\\src", cmAsk, "C:\\new");
    EXPECT_EQ(Messages().back(), "移動は失敗に終わりました");
    EXPECT_TRUE(batches_.Batches().empty());

    // A source gone between the listing and the walk.
    setUp();
    fc_.MoveX({"gone.txt", "a.txt"}, "C:\\src", cmAsk, "C:\\dst");
    EXPECT_EQ(Messages(), failed);
    EXPECT_TRUE(batches_.Batches().empty());
    EXPECT_TRUE(fs_.Has("C:\\src\\a.txt"));

    // One move of the batch fails: the rest stands, the directory of the
    // file left behind stays, and the emptied one goes.
    setUp();
    fs_.FailOn(Op::Move, "C:\\src\\t\\c.txt", 32);
    fc_.MoveX({"t"}, "C:\\src", cmAsk, "C:\\dst");
    EXPECT_EQ(Messages(), failed);
    EXPECT_EQ(fc_.Result(), 32);
    EXPECT_EQ(fs_.Content("C:\\dst\\t\\u\\b.txt"), "b.txt");
    EXPECT_EQ(fs_.Names("C:\\src\\t"), std::vector<std::string>{"c.txt"});
    EXPECT_EQ(fs_.Log(Op::RemoveDir), std::vector<std::string>{"C:\\src\\t\\u"});

    // The emptied directories cannot be removed: they stay, nothing else
    // is the worse for it.
    setUp();
    fs_.FailOn(Op::RemoveDir, "C:\\src\\t\\u");
    fc_.MoveX({"t"}, "C:\\src", cmAsk, "C:\\dst");
    EXPECT_TRUE(prompter_.Questions().empty());
    EXPECT_EQ(fs_.Names("C:\\src\\t"), std::vector<std::string>{"u"});
    EXPECT_EQ(fs_.Content("C:\\dst\\t\\c.txt"), "c.txt");
}

TEST_F(FileCopyCoreTest, ALinkIsMovedAsItselfAndNeverWalkedInto) {
    fs_.AddDirLink("C:\\src\\lnk");
    fs_.AddFile("C:\\src\\lnk\\inside.txt");
    fs_.AddDir("C:\\dst");
    fc_.MoveX({"lnk"}, "C:\\src", cmAsk, "C:\\dst");
    EXPECT_EQ(fs_.Log(Op::Move), std::vector<std::string>{"C:\\src\\lnk -> C:\\dst\\lnk"});
    EXPECT_TRUE(batches_.Batches().empty());
    EXPECT_TRUE(fs_.Log(Op::MakeDir).empty());
    EXPECT_TRUE(fs_.Has("C:\\dst\\lnk\\inside.txt"));

    // Where it cannot be renamed it stays, and the move says it failed.
    fs_.AddDirLink("C:\\src\\l2");
    fs_.FailOn(Op::Move, "C:\\src\\l2", MemFileSystem::kNotSameDevice);
    fc_.MoveX({"l2"}, "C:\\src", cmAsk, "C:\\dst");
    EXPECT_EQ(fc_.Result(), MemFileSystem::kNotSameDevice);
    EXPECT_TRUE(fs_.Has("C:\\src\\l2"));
    EXPECT_EQ(Messages(), std::vector<std::string>{"移動は失敗に終わりました"});
}

TEST_F(FileCopyCoreTest, ClashesOfFileAndDirectoryAndADestinationInsideItsSourceAreRefused) {
    Tree("C:\\src", {"d\\", "d\\sub\\", "d\\a.txt", "f"});
    Tree("C:\\dst", {"d", "f\\"});
    fc_.CopyX({"d"}, "C:\\src", cmOverwrite, "C:\\dst");
    fc_.CopyX({"f"}, "C:\\src", cmOverwrite, "C:\\dst");
    fc_.CopyX({"d"}, "C:\\src", cmAsk, "C:\\SRC\\D\\sub\\into");
    fc_.MoveX({"d"}, "C:\\src", cmAsk, "C:\\src\\d");
    EXPECT_EQ(Messages(),
              (std::vector<std::string>{"ＥＲＲＯＲ！\r\nコピー先にコピー元のディレクトリと同名のファイルがあります。>d",
                                        "コピーは失敗に終わりました",
                                        "ＥＲＲＯＲ！\r\nコピー先にコピー元のファイルと同名のディレクトリがあります。>f",
                                        "コピーは失敗に終わりました",
                                        "ＥＲＲＯＲ！\r\nコピー先がコピー元のディレクトリの中にあります。>d",
                                        "コピーは失敗に終わりました",
                                        "ＥＲＲＯＲ！\r\n移動先が移動元のディレクトリの中にあります。>d",
                                        "移動は失敗に終わりました"}));
    EXPECT_TRUE(batches_.Batches().empty());
    EXPECT_TRUE(fs_.Log(Op::MakeDir).empty());
    EXPECT_FALSE(fs_.Has("C:\\src\\d\\sub\\into"));
}

// Whatever breaks the walk (out of memory, a handler that throws) is named
// in the failure message, and nothing is transferred or deleted.
TEST_F(FileCopyCoreTest, AWalkThatThrowsSaysWhyItFailed) {
    Tree("C:\\src", {"a.txt", "b.txt"});
    Tree("C:\\dst", {"a.txt"});
    fc_.OnSameName = [](const std::string&, CopyMode&) { throw std::runtime_error("メモリが足りません"); };
    fc_.MoveX({"a.txt", "b.txt"}, "C:\\src", cmAsk, "C:\\dst");
    EXPECT_EQ(Messages(), std::vector<std::string>{"移動は失敗に終わりました\r\nメモリが足りません"});
    EXPECT_NE(fc_.Result(), 0);
    EXPECT_TRUE(batches_.Batches().empty());
    EXPECT_EQ(fs_.Names("C:\\src"), (std::vector<std::string>{"a.txt", "b.txt"}));
}

}  // namespace
}  // namespace kestrum
