// ScriptedFileOpQuestions: the file operations' questions answered from
// queues, each question recorded; in force while it lives.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "fileops/file_questions.h"
#include "tests/fakes/scripted_prompter.h"

namespace kestrum {

// When a queue runs out the question is cancelled.
class ScriptedFileOpQuestions : public FileOpQuestions {
public:
    struct CopyModeAsked {
        std::string prefix;
        int state;
    };
    struct DateAsked {
        std::string caption, fileName, oldText, newText;
        bool hasFile;
    };
    struct AttribAsked {
        std::string fileName;
        unsigned attributes;
    };

    void AnswerCopyMode(CopyMode mode) { copyModeAnswers_.push_back(mode); }
    void AnswerDate(int result, std::string text = {}) { dateAnswers_.push_back({result, std::move(text)}); }
    void AnswerAttributes(int result, unsigned attributes = 0) { attribAnswers_.push_back({result, attributes}); }

    CopyMode AskCopyMode(std::string_view prefix, int state) override {
        copyModesAsked_.push_back({std::string(prefix), state});
        return NextAnswer(copyModeAnswers_);  // cmCancel when the queue is empty
    }
    DateAnswer AskDate(std::string_view caption, std::string_view fileName, std::string_view oldText,
                       std::string_view newText, bool hasFile) override {
        datesAsked_.push_back({std::string(caption), std::string(fileName), std::string(oldText),
                               std::string(newText), hasFile});
        return NextAnswer(dateAnswers_);
    }
    AttribAnswer AskAttributes(std::string_view fileName, unsigned attributes) override {
        attribAsked_.push_back({std::string(fileName), attributes});
        return NextAnswer(attribAnswers_);
    }

    const std::vector<CopyModeAsked>& CopyModesAsked() const { return copyModesAsked_; }
    const std::vector<DateAsked>& DatesAsked() const { return datesAsked_; }
    const std::vector<AttribAsked>& AttributesAsked() const { return attribAsked_; }

private:
    std::deque<CopyMode> copyModeAnswers_;
    std::deque<DateAnswer> dateAnswers_;
    std::deque<AttribAnswer> attribAnswers_;
    std::vector<CopyModeAsked> copyModesAsked_;
    std::vector<DateAsked> datesAsked_;
    std::vector<AttribAsked> attribAsked_;
    Subscription installed_ = InstallQuestions<FileOpQuestions>(*this);
};

}  // namespace kestrum
