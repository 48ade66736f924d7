// The prompter of the running program: the platform's message boxes for
// messages, the line-input window for line questions and the list picker
// for lists.
#pragma once

#include "common/prompter.h"

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

    // -- copy engine dialogs --

    // -- other file operation dialogs --

    // -- sort dialog --

    // -- settings dialog --

private:
    TfrmEdit* lineInput_;
    TfrmHistory* picker_;
};

// Installs the window prompter over the windows made at start (App()).
void InstallWindowPrompter();

}  // namespace kestrum
