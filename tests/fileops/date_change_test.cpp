// Date text and packed dates, and the stepping of the date dialog over a
// list of files with a recording stand-in for the file system.
#include "fileops/date_change.h"

#include <gtest/gtest.h>

#include <map>

#include "common/prompter.h"
#include "tests/fakes/scripted_file_op_questions.h"
#include "tests/fakes/scripted_prompter.h"

namespace kestrum {
namespace {

TEST(DateTextTest, ParsesTheMaskShapesAndRejectsTheRest) {
    const DateTimeParts t{2024, 2, 29, 13, 5, 9};
    EXPECT_EQ(FormatDateText(t), "2024/02/29 13:05:09");
    EXPECT_EQ(ParseDateText("2024/02/29 13:05:09"), t);
    // Blanks of the mask where digits were not typed.
    EXPECT_EQ(ParseDateText("2024/ 2/29 13: 5: 9"), t);
    EXPECT_EQ(ParseDateText("2024/2 /29 13:5 :9 "), t);
    EXPECT_EQ(ParseDateText("2024/02/29"), (DateTimeParts{2024, 2, 29, 0, 0, 0}));
    EXPECT_EQ(ParseDateText("2024/02/29 13:05"), (DateTimeParts{2024, 2, 29, 13, 5, 0}));

    for (const char* bad : {"", "    /  /     :  :  ", "2023/02/29 00:00:00", "2024/13/01 00:00:00",
                            "2024/00/10 00:00:00", "2024/01/32 00:00:00", "2024/01/01 24:00:00",
                            "2024/01/01 00:60:00", "2024/01/01 00:00:60", "20 24/01/01", "2024/01/01   :  :  ",
                            "2024-01-01", "2024/01/01 12", "2024/01/01/05", "12345/01/01", "2024/01/01 1:2:3:4"}) {
        EXPECT_FALSE(ParseDateText(bad)) << bad;
    }
}

TEST(DateTextTest, PackedDateKeepsTwoSecondStepsAndTheYearRange) {
    // 2000-01-02 03:04:06: year 20, month 1, day 2; hour 3, minute 4, 3 double seconds.
    EXPECT_EQ(PackFileDate({2000, 1, 2, 3, 4, 6}), (20u << 25 | 1u << 21 | 2u << 16 | 3u << 11 | 4u << 5 | 3u));
    EXPECT_EQ(PackFileDate({2000, 1, 2, 3, 4, 7}), PackFileDate({2000, 1, 2, 3, 4, 6}));
    EXPECT_EQ(PackFileDate({1980, 1, 1, 0, 0, 0}), 1u << 21 | 1u << 16);
    EXPECT_EQ(PackFileDate({2099, 12, 31, 23, 59, 59}) >> 25, 119u);
    EXPECT_EQ(PackFileDate({1979, 12, 31, 23, 59, 59}), 0u);
    EXPECT_EQ(PackFileDate({2100, 1, 1, 0, 0, 0}), 0u);
}

// Files with stamps in memory; writes are recorded, some paths fail.
class FakeStamps : public DateStampFiles {
public:
    std::map<std::string, std::uint32_t> written;
    std::map<std::string, WriteResult> failing;
    std::optional<DateTimeParts> Read(const std::string& path) override {
        if (path.find("unreadable") != std::string::npos) return std::nullopt;
        return DateTimeParts{2001, 2, 3, 4, 5, static_cast<int>(path.size() % 60)};
    }
    WriteResult Write(const std::string& path, std::uint32_t packed) override {
        if (auto f = failing.find(path); f != failing.end()) return f->second;
        written[path] = packed;
        return WriteResult::Ok;
    }
};

class DateSteppingTest : public testing::Test {
protected:
    ScriptedPrompter prompter_;
    const Subscription scoped_ = InstallPrompter(prompter_);
    ScriptedFileOpQuestions fileQuestions_;
    FakeStamps io_;
    const std::vector<std::string> files_ = {"C:\\d\\one.txt", "C:\\d\\two.txt", "C:\\d\\three.txt",
                                             "C:\\d\\four.txt", "C:\\d\\five.txt"};
};

TEST_F(DateSteppingTest, AllOnTheSecondFileSetsTheRestWithoutAsking) {
    fileQuestions_.AnswerDate(FileOpQuestions::fdOk, "2010/10/10 10:10:10");
    fileQuestions_.AnswerDate(FileOpQuestions::fdAll, "2020/05/06 07:08:10");
    RunDateChange("Kestrum 日付の変更", files_, io_);

    ASSERT_EQ(fileQuestions_.DatesAsked().size(), 2u);
    const auto& first = fileQuestions_.DatesAsked()[0];
    EXPECT_EQ(first.caption, "Kestrum 日付の変更");
    EXPECT_EQ(first.fileName, "one.txt");
    EXPECT_EQ(first.oldText, FormatDateText(*io_.Read(files_[0])));
    EXPECT_EQ(first.newText, first.oldText);
    EXPECT_TRUE(first.hasFile);
    EXPECT_EQ(fileQuestions_.DatesAsked()[1].fileName, "two.txt");

    ASSERT_EQ(io_.written.size(), 5u);
    EXPECT_EQ(io_.written[files_[0]], PackFileDate({2010, 10, 10, 10, 10, 10}));
    for (std::size_t i = 1; i < 5; ++i) EXPECT_EQ(io_.written[files_[i]], PackFileDate({2020, 5, 6, 7, 8, 10}));
    EXPECT_TRUE(prompter_.Questions().empty());
}

TEST_F(DateSteppingTest, CancelLeavesTheRestAndOkStepsOneByOne) {
    fileQuestions_.AnswerDate(FileOpQuestions::fdOk, "2010/10/10 10:10:10");
    fileQuestions_.AnswerDate(FileOpQuestions::fdOk, "2011/10/10 10:10:10");
    fileQuestions_.AnswerDate(FileOpQuestions::fdCancel);
    RunDateChange("c", files_, io_);
    EXPECT_EQ(fileQuestions_.DatesAsked().size(), 3u);
    ASSERT_EQ(io_.written.size(), 2u);
    EXPECT_EQ(io_.written[files_[1]], PackFileDate({2011, 10, 10, 10, 10, 10}));
}

TEST_F(DateSteppingTest, RejectedTextIsReportedAndAskedAgainForTheSameFile) {
    fileQuestions_.AnswerDate(FileOpQuestions::fdAll, "2024/02/30 00:00:00");
    fileQuestions_.AnswerDate(FileOpQuestions::fdAll, "2024/02/28 00:00:00");
    RunDateChange("c", {"C:\\x\\a.txt", "C:\\x\\b.txt"}, io_);

    ASSERT_EQ(prompter_.Questions().size(), 1u);
    EXPECT_EQ(prompter_.Questions()[0].text, "'2024/02/30 00:00:00' は正しい日付と時刻ではありません");
    EXPECT_EQ(prompter_.Questions()[0].type, MsgType::Error);
    ASSERT_EQ(fileQuestions_.DatesAsked().size(), 2u);
    EXPECT_EQ(fileQuestions_.DatesAsked()[1].fileName, "a.txt");
    EXPECT_EQ(fileQuestions_.DatesAsked()[1].newText, "2024/02/30 00:00:00");  // the typed text stays
    EXPECT_EQ(io_.written.size(), 2u);
}

TEST_F(DateSteppingTest, FailuresAreReportedByNameAndTheStepsGoOn) {
    io_.failing["C:\\d\\one.txt"] = DateStampFiles::WriteResult::OpenFailed;
    io_.failing["C:\\d\\two.txt"] = DateStampFiles::WriteResult::SetFailed;
    // Years outside the packed range give 0, which the file system refuses
    // in its own way; here it is simply written.
    fileQuestions_.AnswerDate(FileOpQuestions::fdAll, "1970/01/01 00:00:00");
    RunDateChange("c", {"C:\\d\\one.txt", "C:\\d\\two.txt", "C:\\d\\unreadable.txt"}, io_);

    ASSERT_EQ(prompter_.Questions().size(), 2u);
    EXPECT_EQ(prompter_.Questions()[0].text, "C:\\d\\one.txtのオープンに失敗しました");
    EXPECT_EQ(prompter_.Questions()[1].text, "C:\\d\\two.txt日付の変更に失敗しました");
    EXPECT_EQ(io_.written.at("C:\\d\\unreadable.txt"), 0u);
}

TEST_F(DateSteppingTest, UnreadableStampShowsEmptyFieldsAndEmptyListDisablesOk) {
    RunDateChange("c", {"C:\\d\\unreadable.txt"}, io_);
    ASSERT_EQ(fileQuestions_.DatesAsked().size(), 1u);
    EXPECT_EQ(fileQuestions_.DatesAsked()[0].oldText, "");

    fileQuestions_.AnswerDate(FileOpQuestions::fdOk, "2020/01/01 00:00:00");
    RunDateChange("c", {}, io_);
    ASSERT_EQ(fileQuestions_.DatesAsked().size(), 2u);
    EXPECT_FALSE(fileQuestions_.DatesAsked()[1].hasFile);
    EXPECT_TRUE(io_.written.empty());
}

}  // namespace
}  // namespace kestrum
