// WindowPrompter: questions routed to the program's own windows.
#include "app/window_prompter_win.h"

#include <windows.h>
#include <winnetwk.h>

#include "app/app_win.h"
#include "common/prompter_win.h"
#include "filer/dir_tree_win.h"
#include "shell/frm_edit_win.h"
#include "shell/frm_history_win.h"

namespace kestrum {

int WindowPrompter::MessageDlg(std::string_view text, MsgType type, MsgButtons buttons) {
    return PlatformPrompter().MessageDlg(text, type, buttons);
}

int WindowPrompter::MessageDlgCaption(std::string_view caption, std::string_view text, MsgType type,
                                      MsgButtons buttons) {
    return PlatformPrompter().MessageDlgCaption(caption, text, type, buttons);
}

bool WindowPrompter::AskLine(LineQuestion& q) { return lineInput_ ? lineInput_->AskLine(q) : false; }

ListPick WindowPrompter::ShowList(const std::vector<std::string>& rows, ListStyle style, bool completionMode) {
    return picker_ ? picker_->ShowList(rows, style, completionMode) : ListPick{};
}

int WindowPrompter::AskPopupMenu(void* menu, int x, int y, void* owner) {
    return PlatformPrompter().AskPopupMenu(menu, x, y, owner);
}

bool WindowPrompter::AskDirectory(std::string& dir, void* owner) {
    return ShowDirectoryPicker(static_cast<HWND>(owner), dir);
}

void WindowPrompter::ShowNetworkDriveDialog(bool connect, void* owner) {
    HWND wnd = static_cast<HWND>(owner);
    if (connect) {
        WNetConnectionDialog(wnd, RESOURCETYPE_DISK);
    } else {
        WNetDisconnectDialog(wnd, RESOURCETYPE_DISK);
    }
}

bool WindowConfigQuestions::AskLineFiltered(LineQuestion& q, std::string_view filter) {
    if (!lineInput_) return false;
    lineInput_->SetFileFilter(std::string(filter));
    return lineInput_->AskLine(q);
}

Subscription InstallWindowPrompter() {
    static WindowPrompter prompter(App().lineInput, App().picker);
    return InstallPrompter(prompter);
}

}  // namespace kestrum
