// The prompter of the running program: the platform's message boxes for
// messages, and the program's own windows for every other question (the
// line-input window, the list picker, the dialogs of the file operations,
// the sort dialog and the directory tree window).
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

    // The collision dialog made at start (or on first use), modally.
    int AskCopyMode(std::string_view prefix, int state) override;
    // The date and attribute dialogs, modally.
    DateAnswer AskDate(std::string_view caption, std::string_view fileName, std::string_view oldText,
                       std::string_view newText, bool hasFile) override;
    AttribAnswer AskAttributes(std::string_view fileName, unsigned attributes) override;
    // The sort dialog made at start, modally.
    bool AskSort(SortChoice& choice) override;
    // The line-input window with a file filter, the system colour picker
    // and font dialog.
    bool AskLineFiltered(LineQuestion& q, std::string_view filter) override;
    bool AskColor(int& color) override;
    bool AskFont(FontChoice& font) override;
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

// Installs the window prompter over the windows made at start (App()).
void InstallWindowPrompter();

}  // namespace kestrum
