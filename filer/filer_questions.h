// The questions the filer asks of its own: the sort dialog. Answered by
// filer/filer_questions_win.h in the program and by scripted fakes in tests.
#pragma once

#include "common/questions.h"

namespace kestrum {

class FilerQuestions {
public:
    virtual ~FilerQuestions() = default;

    // The sort dialog's state: the key as SORT stores it (0 name, 1 size,
    // 2 date, 3 extension), always sort, reverse.
    struct SortChoice {
        int key = 0;
        bool autoSort = false;
        bool reverse = false;
    };
    // The sort dialog shown with choice; true on OK with choice the answer.
    virtual bool AskSort(SortChoice& /*choice*/) { return false; }
};

// The filer's questions in force.
inline FilerQuestions& FilerAsk() { return CurrentQuestions<FilerQuestions>(); }

}  // namespace kestrum
