// TWinAttribForm: the attribute dialog for one file; and the filer's
// attribute change over a list of entries through the platform.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "common/dialog_win.h"
#include "fileops/attrib_change.h"
#include "fileops/file_questions.h"

namespace kestrum {

class TWinAttribForm : public Dialog {
public:
    enum : int { kAllId = 8 };  // the ALL button's id and result

    bool Create(HWND owner);
    // Shows the dialog modally with the boxes set from attributes; the
    // answer holds 1 (OK), 8 (ALL) or 2 (Cancel) and the boxes' value.
    FileOpQuestions::AttribAnswer ShowModal(std::string_view fileName, unsigned attributes);
    // The same in halves (tests drive the window with messages between).
    void Begin(std::string_view fileName, unsigned attributes);
    const FileOpQuestions::AttribAnswer& Answer() const { return answer_; }

    // The check box of one of the four attribute bits.
    HWND Box(unsigned bit) const;
    HWND NameLabel() const { return name_; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void FormCreate();
    void Finish(int result);

    struct BoxItem {
        unsigned bit;
        HWND wnd;
    };
    HWND owner_ = nullptr;
    HWND name_ = nullptr;
    HWND ok_ = nullptr;
    std::vector<BoxItem> boxes_;
    FileOpQuestions::AttribAnswer answer_;
};

// Attributes through the platform (a value of 0 is set as "normal").
class WinAttribFiles : public AttribFiles {
public:
    std::optional<unsigned> Get(const std::string& path) override;
    bool Set(const std::string& path, unsigned attributes) override;
};

// The filer's attribute change: the dialog over paths in order (see
// RunAttribChange). Returns how many entries were set.
int ChangeAttributes(const std::vector<std::string>& paths);

}  // namespace kestrum
