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
    // (fileops/copy_dialog_win.cpp: the collision dialog, modally.)
    int AskCopyMode(std::string_view prefix, int state) override;

    // -- other file operation dialogs --
    // (fileops/date_dialog_win.cpp, attrib_dialog_win.cpp: modal dialogs.)
    DateAnswer AskDate(std::string_view caption, std::string_view fileName, std::string_view oldText,
                       std::string_view newText, bool hasFile) override;
    AttribAnswer AskAttributes(std::string_view fileName, unsigned attributes) override;

    // -- sort dialog --
    // (filer/frm_sort_win.cpp: the sort dialog made at start, modally.)
    bool AskSort(SortChoice& choice) override;

    // -- settings dialog --
    // (config/cfg_form_win.cpp: the line-input window with a file filter,
    // the system colour picker and font dialog.)
    bool AskLineFiltered(LineQuestion& q, std::string_view filter) override;
    bool AskColor(int& color) override;
    bool AskFont(FontChoice& font) override;

    // -- pop-up menus --
    // (The platform's menu.)
    int AskPopupMenu(void* menu, int x, int y, void* owner) override;
    // (The platform's network drive dialogs.)
    void ShowNetworkDriveDialog(bool connect, void* owner) override;

private:
    TfrmEdit* lineInput_;
    TfrmHistory* picker_;
};

// Installs the window prompter over the windows made at start (App()).
void InstallWindowPrompter();

}  // namespace kestrum
