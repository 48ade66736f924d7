// WinFileOpQuestions: each question modally in its dialog, owned by the
// window active at the call.
#include "fileops/file_questions_win.h"

#include <string>

#include "fileops/attrib_dialog_win.h"
#include "fileops/date_dialog_win.h"

namespace kestrum {

bool WinFileOpQuestions::Create(HWND owner) {
    owner_ = owner;
    return copyDialog_.Handle() || copyDialog_.Create(owner);
}

CopyMode WinFileOpQuestions::AskCopyMode(std::string_view prefix, int state) {
    if (!copyDialog_.Handle() && !copyDialog_.Create(owner_)) return cmCancel;
    return copyDialog_.Execute(prefix, state);
}

FileOpQuestions::DateAnswer WinFileOpQuestions::AskDate(std::string_view caption, std::string_view fileName,
                                                        std::string_view oldText, std::string_view newText,
                                                        bool hasFile) {
    TDateChangeForm form;
    if (!form.Create(GetActiveWindow(), std::string(caption))) return {};
    return form.ShowModal(fileName, oldText, newText, hasFile);
}

FileOpQuestions::AttribAnswer WinFileOpQuestions::AskAttributes(std::string_view fileName, unsigned attributes) {
    TWinAttribForm form;
    if (!form.Create(GetActiveWindow())) return {};
    return form.ShowModal(fileName, attributes);
}

}  // namespace kestrum
