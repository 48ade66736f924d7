// WindowPrompter: questions routed to the program's own windows.
#include "app/window_prompter_win.h"

#include <windows.h>
#include <winnetwk.h>

#include "app/app_win.h"
#include "app/app_window_win.h"
#include "config/colors_dialog_win.h"
#include "config/font_win.h"
#include "fileops/attrib_dialog_win.h"
#include "fileops/copy_dialog_win.h"
#include "fileops/date_dialog_win.h"
#include "filer/dir_tree_win.h"
#include "filer/frm_sort_win.h"
#include "shell/frm_edit_win.h"
#include "shell/frm_history_win.h"

namespace kestrum {

Prompter& PlatformPrompter();  // common/prompter_win.cpp

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

int WindowPrompter::AskCopyMode(std::string_view prefix, int state) {
    TfrmCopyDialog* dialog = TfrmCopyDialog::Current();
    if (!dialog) {
        // Until the dialog is made at start-up, one is made on first use.
        static TfrmCopyDialog lazy;
        HWND owner = App().app ? App().app->Handle() : nullptr;
        if (!lazy.Create(owner)) return 0;
        dialog = &lazy;
    }
    return dialog->Execute(prefix, state);
}

Prompter::DateAnswer WindowPrompter::AskDate(std::string_view caption, std::string_view fileName,
                                             std::string_view oldText, std::string_view newText, bool hasFile) {
    TDateChangeForm form;
    if (!form.Create(GetActiveWindow(), std::string(caption))) return {};
    return form.ShowModal(fileName, oldText, newText, hasFile);
}

Prompter::AttribAnswer WindowPrompter::AskAttributes(std::string_view fileName, unsigned attributes) {
    TWinAttribForm form;
    if (!form.Create(GetActiveWindow())) return {};
    return form.ShowModal(fileName, attributes);
}

bool WindowPrompter::AskSort(SortChoice& choice) {
    TfrmSort* dialog = TfrmSort::Current();
    return dialog ? dialog->AskSort(choice) : false;
}

bool WindowPrompter::AskLineFiltered(LineQuestion& q, std::string_view filter) {
    if (!lineInput_) return false;
    lineInput_->SetFileFilter(std::string(filter));
    return lineInput_->AskLine(q);
}

bool WindowPrompter::AskColor(int& color) {
    HWND owner = GetActiveWindow();
    const std::optional<ColorValue> c = ChooseColorWithSystemPicker(owner, color);
    if (!c) return false;
    color = *c;
    return true;
}

bool WindowPrompter::AskFont(FontChoice& font) {
    FontSpec spec{font.name, font.size, font.style};
    if (!PickFont(GetActiveWindow(), spec)) return false;
    font = FontChoice{spec.name, spec.size, spec.style};
    return true;
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

void InstallWindowPrompter() {
    static WindowPrompter prompter(App().lineInput, App().picker);
    SetPrompter(&prompter);
}

}  // namespace kestrum
