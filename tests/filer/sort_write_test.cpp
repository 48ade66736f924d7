// Writing the listing's order over a fake file system: the question, the
// refusals, the two passes and what happens when moves fail.
#include "filer/sort_write.h"

#include <gtest/gtest.h>

#include "common/prompter.h"
#include "tests/common/mem_file_system.h"
#include "tests/fakes/scripted_prompter.h"

namespace kestrum {
namespace {

using test::MemFileSystem;
using Op = MemFileSystem::Op;

// Entries with their attributes; what is moved and removed is logged.
class FakeFs : public MemFileSystem {
public:
    void Add(const std::string& path, std::uint32_t attr = 0) {
        if (attr & kAttrDirectory) {
            AddDir(path, attr);
        } else {
            AddFile(path, std::nullopt, 0, attr);
        }
    }
    std::vector<std::string> Moves() const { return Log(Op::Move); }
    std::vector<std::string> Removed() const { return Log(Op::RemoveDir); }
};

constexpr const char* kDir = "D:\\WORK\\";
constexpr const char* kTemp = "D:\\WORK\\KestrumTempDir";

class SortWriteTest : public testing::Test {
protected:
    SortWriteReport Write(const std::vector<std::string>& names, const std::string& dir = kDir) {
        return WriteSortOrder(dir, names, "C:\\WINDOWS", fs_);
    }
    std::vector<std::string> Messages() const {
        std::vector<std::string> out;
        for (const auto& q : prompter_.Questions()) out.push_back(q.text);
        return out;
    }

    FakeFs fs_;
    ScriptedPrompter prompter_;
    const Subscription scope_ = InstallPrompter(prompter_);
};

TEST_F(SortWriteTest, EntriesGoOutAndComeBackInListOrder) {
    for (const char* n : {"b.txt", "a.txt", "SUB", "\x95\x5C.txt"}) fs_.Add(std::string(kDir) + n);
    const SortWriteReport r = Write({".", "..", "SUB", "\x95\x5C.txt", "a.txt", "b.txt"});
    EXPECT_EQ(r.result, SortWriteResult::Finished);
    EXPECT_EQ(r.moved, (std::vector<std::string>{"SUB", "\x95\x5C.txt", "a.txt", "b.txt"}));
    ASSERT_EQ(fs_.Moves().size(), 8u);
    EXPECT_EQ(fs_.Moves()[0], "D:\\WORK\\SUB -> D:\\WORK\\KestrumTempDir\\SUB");
    EXPECT_EQ(fs_.Moves()[4], "D:\\WORK\\KestrumTempDir\\SUB -> D:\\WORK\\SUB");
    EXPECT_EQ(fs_.Moves()[5], "D:\\WORK\\KestrumTempDir\\\x95\x5C.txt -> D:\\WORK\\\x95\x5C.txt");
    EXPECT_FALSE(fs_.Exists(kTemp));
    EXPECT_TRUE(fs_.Exists(std::string(kDir) + "b.txt"));

    const auto& asked = prompter_.Questions();
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].type, MsgType::Warning);
    EXPECT_EQ(asked[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(asked[0].text.rfind("-------ソート結果を書き込み-------\r\n", 0), 0u);
    EXPECT_EQ(asked[1].text, "ソート書き込みを終了しました");
}

TEST_F(SortWriteTest, OnlyNoDeclines) {
    fs_.Add(std::string(kDir) + "a.txt");
    prompter_.Answer(mrNo);
    EXPECT_EQ(Write({"a.txt"}).result, SortWriteResult::Declined);
    EXPECT_TRUE(fs_.Moves().empty());
    EXPECT_FALSE(fs_.Exists(kTemp));
    prompter_.Answer(mrCancel);
    EXPECT_EQ(Write({"a.txt"}).result, SortWriteResult::Finished);
}

TEST_F(SortWriteTest, TheWindowsDirectoryItsSubdirectoriesAndItsRootAreRefused) {
    for (const char* dir : {"C:\\WINDOWS\\", "c:\\windows\\system32\\", "C:\\", "C:\\WINDOWS.OLD\\"}) {
        prompter_.Clear();
        EXPECT_EQ(Write({"a.txt"}, dir).result, SortWriteResult::Refused) << dir;
        EXPECT_EQ(Messages().back(), "このディレクトリには書き込めません");
    }
    EXPECT_TRUE(fs_.Moves().empty());
    EXPECT_TRUE(fs_.Log(Op::MakeDir).empty());
    EXPECT_FALSE(TouchesWindowsDirectory("D:\\", "C:\\WINDOWS"));
    EXPECT_FALSE(TouchesWindowsDirectory("C:\\WORK\\", "C:\\WINDOWS"));
}

TEST_F(SortWriteTest, ALeftoverTemporaryDirectoryStopsBeforeAnythingMoves) {
    fs_.Add(std::string(kDir) + "a.txt");
    fs_.Add(kTemp, kAttrDirectory);
    fs_.Add(std::string(kTemp) + "\\a.txt");  // an earlier run's stranded file
    const SortWriteReport r = Write({"a.txt"});
    EXPECT_EQ(r.result, SortWriteResult::TempExists);
    EXPECT_TRUE(fs_.Moves().empty());
    EXPECT_TRUE(fs_.Removed().empty());
    EXPECT_NE(Messages().back().find(kTemp), std::string::npos);
    EXPECT_NE(Messages().back().find("テンプディレクトリ"), std::string::npos);

    fs_.Erase(kDir);
    fs_.FailOn(Op::MakeDir, kTemp);
    fs_.Add(std::string(kDir) + "a.txt");
    EXPECT_EQ(Write({"a.txt"}).result, SortWriteResult::TempNotCreated);
    EXPECT_EQ(Messages().back(), "テンプディレクトリの作成に失敗しました");
    EXPECT_TRUE(fs_.Moves().empty());
}

TEST_F(SortWriteTest, SystemUnreadableAndOverlongEntriesKeepTheirPlaces) {
    const std::string longName(256 - std::string(kTemp).size() - 1, 'L');  // target of exactly 256
    const std::string fits = longName.substr(1);
    fs_.Add(std::string(kDir) + "SYS.DAT", kAttrSystem);
    fs_.Add(std::string(kDir) + longName);
    fs_.Add(std::string(kDir) + fits);
    fs_.Add(std::string(kDir) + "a.txt");
    const SortWriteReport r = Write({"SYS.DAT", "gone.txt", longName, fits, "a.txt"});
    EXPECT_EQ(r.result, SortWriteResult::Finished);
    EXPECT_EQ(r.moved, (std::vector<std::string>{fits, "a.txt"}));
    const auto messages = Messages();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[1], "ファイル名が長すぎてソート結果を書き込めません。\r\n>" + longName);
    EXPECT_TRUE(fs_.Exists(std::string(kDir) + "SYS.DAT"));
    EXPECT_TRUE(fs_.Exists(std::string(kDir) + longName));
}

TEST_F(SortWriteTest, EntriesThatCannotComeBackAreNamedWithTheirPlace) {
    for (const char* n : {"a.txt", "b.txt", "c.txt"}) fs_.Add(std::string(kDir) + n);
    // b.txt cannot go out: it keeps its place and is no concern.
    fs_.FailOn(Op::Move, std::string(kDir) + "b.txt");
    // c.txt goes out, and meanwhile another c.txt appears in the directory.
    fs_.FailOn(Op::Move, std::string(kTemp) + "\\c.txt");
    const SortWriteReport r = Write({"a.txt", "b.txt", "c.txt"});
    EXPECT_EQ(r.result, SortWriteResult::Stranded);
    EXPECT_EQ(r.stranded, (std::vector<std::string>{"c.txt"}));
    EXPECT_EQ(r.tempDir, kTemp);
    EXPECT_TRUE(fs_.Exists(std::string(kTemp) + "\\c.txt"));
    EXPECT_TRUE(fs_.Exists(kTemp));
    EXPECT_TRUE(fs_.Removed().empty());
    const auto& last = prompter_.Questions().back();
    EXPECT_EQ(last.type, MsgType::Warning);
    EXPECT_NE(last.text.find(kTemp), std::string::npos);
    EXPECT_NE(last.text.find("c.txt"), std::string::npos);
    EXPECT_EQ(last.text.find("b.txt"), std::string::npos);
    for (const auto& q : prompter_.Questions()) EXPECT_NE(q.text, "ソート書き込みを終了しました");
}

}  // namespace
}  // namespace kestrum
