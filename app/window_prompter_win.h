// The prompter of the running program: the platform's message boxes for
// messages, the program's own windows for the line-input window, the list
// picker and the directory tree window; and the question sets of the
// subsystems, answered by their dialogs.
#pragma once

#include "common/prompter.h"
#include "config/config_questions_win.h"

namespace kestrum {

class TfrmEdit;
class TfrmHistory;

class WindowPrompter : public Prompter {
public:
    WindowPrompter(TfrmEdit* lineInput, TfrmHistory* picker) : lineInput_(lineInput), picker_(picker) {}
    int MessageDlg(std::string_view text, MsgType type, MsgButtons buttons) override;
    int MessageDlgCaption(std::string_view caption, std::string_view text, MsgType type,
                          MsgButtons buttons) override;
    bool AskLine(LineQuestion& q) override;
    ListPick ShowList(const std::vector<std::string>& rows, ListStyle style, bool completionMode) override;
    // The platform's menu.
    int AskPopupMenu(void* menu, int x, int y, void* owner) override;
    // The directory tree window.
    bool AskDirectory(std::string& dir, void* owner) override;
    // The platform's network drive dialogs.
    void ShowNetworkDriveDialog(bool connect, void* owner) override;

private:
    TfrmEdit* lineInput_;
    TfrmHistory* picker_;
};

// The settings' questions with the line-input window for a program's name.
class WindowConfigQuestions : public WinConfigQuestions {
public:
    explicit WindowConfigQuestions(TfrmEdit* lineInput) : lineInput_(lineInput) {}
    // The line-input window, its file-open dialog offering the matches.
    bool AskLineFiltered(LineQuestion& q, std::string_view filter) override;

private:
    TfrmEdit* lineInput_;
};

// Installs the window prompter over the windows made at start (App())
// until the subscription goes.
[[nodiscard]] Subscription InstallWindowPrompter();

}  // namespace kestrum
