// Splitting and joining files, temporary directories, file stamps and
// attributes through the platform, and the drive operations' messages.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/prompter.h"
#include "fileops/attrib_dialog_win.h"
#include "fileops/date_change_win.h"
#include "fileops/disk_copy_win.h"
#include "fileops/eject_win.h"
#include "fileops/path_utils.h"
#include "fileops/split_join_win.h"
#include "fileops/temp_dir_win.h"
#include "tests/fakes/scripted_file_op_questions.h"
#include "tests/fakes/scripted_prompter.h"
#include "tests/fileops/file_op_fake_win.h"
#include "tests/test_util.h"

namespace kestrum {
namespace {

using test::Exists;

class OtherOpsTest : public testing::Test {
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
    ScriptedFileOpQuestions fileQuestions_;
};

TEST_F(OtherOpsTest, SplitWritesFullPiecesAndAnEmptyLastOne) {
    test::WriteFile(P("data.bin"), "0123456789");
    CreateDirectoryA(P("out").c_str(), nullptr);
    EXPECT_EQ(SplitFile(P("data.bin"), 5, P("out")), FileOpOutcome::Done);
    EXPECT_EQ(test::ReadFile(P("out\\data.000")), "01234");
    EXPECT_EQ(test::ReadFile(P("out\\data.001")), "56789");
    EXPECT_TRUE(Exists(P("out\\data.002")));
    EXPECT_EQ(test::ReadFile(P("out\\data.002")), "");
    EXPECT_FALSE(Exists(P("out\\data.003")));
    EXPECT_TRUE(prompter_.Questions().empty());

    // Pieces bigger than the copy buffer come out whole.
    std::string big(300000, '\0');
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7 % 251);
    test::WriteFile(P("big.dat"), big);
    EXPECT_EQ(SplitFile(P("big.dat"), 200000, P("out\\")), FileOpOutcome::Done);
    EXPECT_EQ(test::ReadFile(P("out\\big.000")), big.substr(0, 200000));
    EXPECT_EQ(test::ReadFile(P("out\\big.001")), big.substr(200000));
    EXPECT_FALSE(Exists(P("out\\big.002")));
}

TEST_F(OtherOpsTest, SplitAsksBeforeOverwritingAPiece) {
    test::WriteFile(P("data.bin"), "0123456789");
    test::WriteFile(P("data.000"), "old0");
    test::WriteFile(P("data.001"), "old1");
    prompter_.Answer(mrNo);
    EXPECT_EQ(SplitFile(P("data.bin"), 5, dir_.Path()), FileOpOutcome::Interrupted);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"ファイル" + P("data.000") + "は存在します。上書きしますか？",
                                                    "分割を中断しました。"}));
    EXPECT_EQ(prompter_.Questions()[0].buttons, MsgButtons::YesNoAll);
    EXPECT_EQ(test::ReadFile(P("data.000")), "old0");

    prompter_.Clear();
    prompter_.Answer(mrAll);
    EXPECT_EQ(SplitFile(P("data.bin"), 5, dir_.Path()), FileOpOutcome::Done);
    EXPECT_EQ(prompter_.Questions().size(), 1u);
    EXPECT_EQ(test::ReadFile(P("data.001")), "56789");
}

TEST_F(OtherOpsTest, SplitRefusesBadSizesAndTooManyPieces) {
    test::WriteFile(P("data.bin"), std::string(1001, 'x'));
    EXPECT_EQ(SplitFile(P("data.bin"), 0, dir_.Path()), FileOpOutcome::Refused);
    EXPECT_EQ(SplitFile(P("data.bin"), 1, dir_.Path()), FileOpOutcome::Refused);
    EXPECT_EQ(SplitFile(P("missing.bin"), 5, dir_.Path()), FileOpOutcome::Failed);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"分割サイズが正しくありません。", "分割数が1000を超えるので分割できません。",
                                                    P("missing.bin") + "のオープンに失敗しました"}));
    EXPECT_FALSE(Exists(P("data.000")));
}

TEST_F(OtherOpsTest, JoinWritesTheFilesInOrderAndAppendAddsToTheEnd) {
    test::WriteFile(P("a.001"), "first,");
    test::WriteFile(P("a.002"), "second,");
    test::WriteFile(P("a.003"), std::string(70000, 'z'));
    EXPECT_EQ(JoinFiles(P("whole.lzh"), {P("a.001"), P("a.002"), P("a.003")}), FileOpOutcome::Done);
    EXPECT_EQ(test::ReadFile(P("whole.lzh")), "first,second," + std::string(70000, 'z'));
    EXPECT_TRUE(prompter_.Questions().empty());

    EXPECT_EQ(AppendFile(P("a.001"), P("a.002")), FileOpOutcome::Done);
    EXPECT_EQ(test::ReadFile(P("a.001")), "first,second,");
    EXPECT_EQ(JoinFiles(P("none"), {}), FileOpOutcome::Done);
    EXPECT_FALSE(Exists(P("none")));
}

TEST_F(OtherOpsTest, JoinAsksBeforeReplacingAndRefusesATargetThatIsAnInput) {
    test::WriteFile(P("a.001"), "one");
    test::WriteFile(P("a.002"), "two");
    test::WriteFile(P("t.lzh"), "keep");
    prompter_.Answer(mrNo);
    EXPECT_EQ(JoinFiles(P("t.lzh"), {P("a.001"), P("a.002")}), FileOpOutcome::Interrupted);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"ファイル" + P("t.lzh") + "は存在します。上書きしますか？",
                                                    "結合を中断しました。"}));
    EXPECT_EQ(test::ReadFile(P("t.lzh")), "keep");

    // The second input reached by another spelling of its path.
    prompter_.Clear();
    const std::string other = dir_.Path() + "\\.\\A.002";
    EXPECT_EQ(JoinFiles(other, {P("a.001"), P("a.002")}), FileOpOutcome::Refused);
    EXPECT_EQ(AppendFile(P("a.002"), other), FileOpOutcome::Refused);
    ASSERT_EQ(prompter_.Questions().size(), 2u);
    EXPECT_EQ(prompter_.Questions()[0].text, "ファイル" + other + "は結合するファイルの一つです。\r\n結合を中断しました。");
    EXPECT_EQ(test::ReadFile(P("a.002")), "two");
}

TEST_F(OtherOpsTest, TempDirTakesTheFirstFreeNumber) {
    const std::string prefix = P("KestrumTempDir");
    EXPECT_EQ(MakeTempDir(prefix), prefix + "0.TMP");
    EXPECT_EQ(MakeTempDir(prefix), prefix + "1.TMP");
    RemoveDirectoryA((prefix + "0.TMP").c_str());
    EXPECT_EQ(MakeTempDir(prefix), prefix + "0.TMP");
    EXPECT_TRUE(DirExists(prefix + "1.TMP"));
    EXPECT_EQ(MakeTempDir(P("no\\such\\dir\\x")), "");
}

TEST_F(OtherOpsTest, StampsAreWrittenInLocalTimeAndFailuresAreTold) {
    test::WriteFile(P("s.txt"), "s");
    WinDateStampFiles io;
    const DateTimeParts t{2003, 4, 5, 6, 7, 8};
    EXPECT_EQ(io.Write(P("s.txt"), PackFileDate(t)), DateStampFiles::WriteResult::Ok);
    EXPECT_EQ(io.Read(P("s.txt")), t);
    EXPECT_EQ(io.Write(P("missing.txt"), PackFileDate(t)), DateStampFiles::WriteResult::OpenFailed);
    EXPECT_FALSE(io.Read(P("missing.txt")));
    {
        // Open elsewhere: exclusive access is refused.
        HANDLE h = CreateFileA(P("s.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        EXPECT_EQ(io.Write(P("s.txt"), PackFileDate(t)), DateStampFiles::WriteResult::OpenFailed);
        CloseHandle(h);
    }
    EXPECT_NE(io.Write(P("s.txt"), 0), DateStampFiles::WriteResult::OpenFailed);
}

TEST_F(OtherOpsTest, DateChangeAllOnTheSecondOfFiveFiles) {
    TDateChange dc;
    dc.Caption = "Kestrum 日付の変更";
    for (int i = 1; i <= 5; ++i) {
        dc.FileNames.push_back(P("f" + std::to_string(i) + ".txt"));
        test::WriteFile(dc.FileNames.back(), "x");
    }
    const std::vector<std::string> files = dc.FileNames;
    WinDateStampFiles io;
    fileQuestions_.AnswerDate(FileOpQuestions::fdOk, "    /  /     :  :  ");  // "新" emptied: rejected, asked again
    fileQuestions_.AnswerDate(FileOpQuestions::fdOk, "2030/ 1/ 2  3: 4: 6");
    fileQuestions_.AnswerDate(FileOpQuestions::fdAll, "2031/12/24 18:30:00");
    dc.Execute();
    EXPECT_TRUE(dc.FileNames.empty());
    ASSERT_EQ(fileQuestions_.DatesAsked().size(), 3u);
    EXPECT_EQ(fileQuestions_.DatesAsked()[1].fileName, "f1.txt");
    EXPECT_EQ(fileQuestions_.DatesAsked()[2].fileName, "f2.txt");
    EXPECT_EQ(fileQuestions_.DatesAsked()[0].caption, "Kestrum 日付の変更");
    EXPECT_EQ(prompter_.Questions().size(), 1u);
    EXPECT_EQ(io.Read(files[0]), (DateTimeParts{2030, 1, 2, 3, 4, 6}));
    for (int i = 1; i < 5; ++i) EXPECT_EQ(io.Read(files[i]), (DateTimeParts{2031, 12, 24, 18, 30, 0})) << i;
}

TEST_F(OtherOpsTest, AttributesAreSetOnTheFilesThemselves) {
    test::WriteFile(P("a"), "a");
    test::WriteFile(P("b"), "b");
    SetFileAttributesA(P("a").c_str(), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY);
    SetFileAttributesA(P("b").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
    fileQuestions_.AnswerAttributes(FileOpQuestions::fdOk, kAttribHidden | kAttribArchive);
    fileQuestions_.AnswerAttributes(FileOpQuestions::fdOk, 0);
    EXPECT_EQ(ChangeAttributes({P("a"), P("b")}), 2);
    ASSERT_EQ(fileQuestions_.AttributesAsked().size(), 2u);
    EXPECT_EQ(fileQuestions_.AttributesAsked()[0].attributes & kAttribDialogBits, kAttribReadOnly | kAttribArchive);
    EXPECT_EQ(GetFileAttributesA(P("a").c_str()) & 0xFF, kAttribHidden | kAttribArchive);
    // Nothing checked: a plain file (the platform may still report it as archive).
    EXPECT_EQ(GetFileAttributesA(P("b").c_str()) & (kAttribReadOnly | kAttribHidden | kAttribSystem), 0u);
}

TEST_F(OtherOpsTest, DriveOperationsReportWhatIsMissing) {
    EXPECT_FALSE(EjectMedia("Q:"));
    TDiskCopy(nullptr, "kestrum_no_such_library.dll").Execute(0);
    TDiskCopy(nullptr, "kernel32.dll").Execute(0);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"Open Error!", "DiskCopy.Dllが見つかりません。", "実装エラー:DiskCopyDlg"}));
}

}  // namespace
}  // namespace kestrum
