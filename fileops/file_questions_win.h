// WinFileOpQuestions: the file operations' questions answered by their
// dialogs: the collision dialog (one window for the run, which keeps the
// last choice), and a date or attribute dialog made for each question.
#pragma once

#include <windows.h>

#include "fileops/copy_dialog_win.h"
#include "fileops/file_questions.h"

namespace kestrum {

class WinFileOpQuestions : public FileOpQuestions {
public:
    // Makes the hidden collision dialog for owner; until then it is made on
    // first use.
    bool Create(HWND owner);

    CopyMode AskCopyMode(std::string_view prefix, int state) override;
    DateAnswer AskDate(std::string_view caption, std::string_view fileName, std::string_view oldText,
                       std::string_view newText, bool hasFile) override;
    AttribAnswer AskAttributes(std::string_view fileName, unsigned attributes) override;

private:
    HWND owner_ = nullptr;
    TfrmCopyDialog copyDialog_;
};

}  // namespace kestrum
