// TfrmCopyDialog: the collision dialog of the copy engine. It asks once per
// operation which policy settles same-named files; being one window for the
// program's lifetime, it keeps the last choice selected.
#pragma once

#include <windows.h>

#include <string_view>

#include "common/dialog_win.h"
#include "fileops/file_questions.h"

namespace kestrum {

class TfrmCopyDialog : public Dialog {
public:
    static constexpr int kRadioCount = 4;

    // Creates the hidden dialog.
    bool Create(HWND owner);

    // Shows the dialog modally: the chosen policy, cmCancel on cancel or
    // close. prefix starts the caption; state 1 means moving, else copying.
    CopyMode Execute(std::string_view prefix, int state);
    // The same in two halves around the modal loop: Begin sets the caption
    // and texts and shows the dialog without a loop; Finished and Result
    // tell the answer once OK, Cancel or close was pressed.
    void Begin(std::string_view prefix, int state);
    CopyMode Result() const { return static_cast<CopyMode>(ModalResult()); }
    // The policy of the checked radio button (4 wins over 3 over 2, else 1).
    CopyMode CheckedMode() const;

    HWND Label1() const { return label1_; }
    HWND Radio(int i) const { return radios_[i]; }
    HWND OkButton() const { return ok_; }
    HWND CancelButton() const { return cancel_; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void FormCreate();
    void Close(CopyMode result);

    HWND label1_ = nullptr;
    HWND panel1_ = nullptr;
    HWND radios_[kRadioCount] = {};
    HWND ok_ = nullptr;
    HWND cancel_ = nullptr;
};

}  // namespace kestrum
