// ScriptedFilerQuestions: the filer's sort question answered from a queue,
// each preset recorded; in force while it lives.
#pragma once

#include <deque>
#include <optional>
#include <vector>

#include "filer/filer_questions.h"
#include "tests/fakes/scripted_prompter.h"

namespace kestrum {

class ScriptedFilerQuestions : public FilerQuestions {
public:
    // The next sort dialog is answered with choice (nullopt: Cancel); when
    // the queue runs out it is cancelled.
    void AnswerSort(std::optional<SortChoice> choice) { sortAnswers_.push_back(choice); }
    bool AskSort(SortChoice& choice) override {
        sortsAsked_.push_back(choice);
        const std::optional<SortChoice> a = NextAnswer(sortAnswers_);
        if (!a) return false;
        choice = *a;
        return true;
    }
    const std::vector<SortChoice>& SortsAsked() const { return sortsAsked_; }

private:
    std::deque<std::optional<SortChoice>> sortAnswers_;
    std::vector<SortChoice> sortsAsked_;
    Subscription installed_ = InstallQuestions<FilerQuestions>(*this);
};

}  // namespace kestrum
