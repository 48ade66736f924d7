// WinFilerQuestions: the filer's questions answered by its dialogs: the
// sort dialog, one window for the run.
#pragma once

#include <windows.h>

#include "filer/filer_questions.h"
#include "filer/frm_sort_win.h"

namespace kestrum {

class WinFilerQuestions : public FilerQuestions {
public:
    // Makes the hidden sort dialog for owner.
    bool Create(HWND owner) { return sortDialog_.Create(owner); }
    // The sort dialog modally (cancelled when it could not be made).
    bool AskSort(SortChoice& choice) override { return sortDialog_.Handle() && sortDialog_.AskSort(choice); }

private:
    TfrmSort sortDialog_;
};

}  // namespace kestrum
