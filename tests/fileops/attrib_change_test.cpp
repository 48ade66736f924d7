// The attribute dialog's loop over the selection: OK per entry, ALL for the
// rest, Cancel stops, and only the dialog's four bits are set.
#include "fileops/attrib_change.h"

#include <gtest/gtest.h>

#include <map>

#include "common/prompter.h"
#include "tests/fakes/scripted_file_op_questions.h"
#include "tests/fakes/scripted_prompter.h"

namespace kestrum {
namespace {

class FakeAttribs : public AttribFiles {
public:
    std::map<std::string, unsigned> now;
    std::vector<std::pair<std::string, unsigned>> sets;
    std::optional<unsigned> Get(const std::string& path) override {
        auto it = now.find(path);
        if (it == now.end()) return std::nullopt;
        return it->second;
    }
    bool Set(const std::string& path, unsigned a) override {
        sets.emplace_back(path, a);
        return now.count(path) != 0;
    }
};

class AttribLoopTest : public testing::Test {
protected:
    ScriptedPrompter prompter_;
    const Subscription scoped_ = InstallPrompter(prompter_);
    ScriptedFileOpQuestions fileQuestions_;
    FakeAttribs io_;
};

TEST_F(AttribLoopTest, AllAppliesTheSameValueToLaterEntriesWithoutAsking) {
    io_.now = {{"C:\\a\\one", 0x21}, {"C:\\a\\dir", 0x10}, {"C:\\a\\three", 0x20}, {"C:\\a\\four", 0x01}};
    fileQuestions_.AnswerAttributes(FileOpQuestions::fdOk, kAttribReadOnly);
    fileQuestions_.AnswerAttributes(FileOpQuestions::fdAll, kAttribHidden | 0x10 | 0x80);  // stray bits are dropped
    const int set = RunAttribChange({"C:\\a\\one", "C:\\a\\dir", "C:\\a\\three", "C:\\a\\four"}, io_);

    ASSERT_EQ(fileQuestions_.AttributesAsked().size(), 2u);
    EXPECT_EQ(fileQuestions_.AttributesAsked()[0].fileName, "one");
    EXPECT_EQ(fileQuestions_.AttributesAsked()[0].attributes, 0x21u);
    EXPECT_EQ(fileQuestions_.AttributesAsked()[1].fileName, "dir");
    const std::vector<std::pair<std::string, unsigned>> want = {
        {"C:\\a\\one", kAttribReadOnly}, {"C:\\a\\dir", kAttribHidden}, {"C:\\a\\three", kAttribHidden},
        {"C:\\a\\four", kAttribHidden}};
    EXPECT_EQ(io_.sets, want);
    EXPECT_EQ(set, 4);
}

TEST_F(AttribLoopTest, CancelStopsAndAMissingEntryShowsNoBits) {
    fileQuestions_.AnswerAttributes(FileOpQuestions::fdOk, kAttribArchive);
    fileQuestions_.AnswerAttributes(FileOpQuestions::fdCancel);
    const int set = RunAttribChange({"C:\\gone", "C:\\b", "C:\\c"}, io_);
    EXPECT_EQ(fileQuestions_.AttributesAsked().size(), 2u);
    EXPECT_EQ(fileQuestions_.AttributesAsked()[0].attributes, 0u);
    ASSERT_EQ(io_.sets.size(), 1u);
    EXPECT_EQ(set, 0);  // the set on the missing entry failed
}

}  // namespace
}  // namespace kestrum
