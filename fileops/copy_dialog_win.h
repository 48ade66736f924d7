// TfrmCopyDialog: the collision dialog of the copy engine. It asks once per
// operation which policy settles same-named files; being one window for the
// program's lifetime, it keeps the last choice selected.
#pragma once

#include <windows.h>

#include <string_view>

#include "common/window_win.h"

namespace kestrum {

class TfrmCopyDialog : public Window {
public:
    static constexpr int kRadioCount = 4;

    ~TfrmCopyDialog() override;
    // Creates the hidden dialog; the last one created answers the prompter.
    bool Create(HWND owner);
    static TfrmCopyDialog* Current();

    // Shows the dialog modally: the chosen policy 1..4, 0 on cancel or close.
    // prefix starts the caption; state 1 means moving, else copying.
    int Execute(std::string_view prefix, int state);
    // The same in two halves around the modal loop: Begin sets the caption
    // and texts and shows the dialog without a loop; Finished and Result
    // tell the answer once OK, Cancel or close was pressed.
    void Begin(std::string_view prefix, int state);
    bool Finished() const { return finished_; }
    int Result() const { return result_; }
    // The policy of the checked radio button (4 wins over 3 over 2, else 1).
    int CheckedMode() const;

    HWND Label1() const { return label1_; }
    HWND Radio(int i) const { return radios_[i]; }
    HWND OkButton() const { return ok_; }
    HWND CancelButton() const { return cancel_; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void FormCreate();
    void Center();
    void Close(int result);

    HWND label1_ = nullptr;
    HWND panel1_ = nullptr;
    HWND radios_[kRadioCount] = {};
    HWND ok_ = nullptr;
    HWND cancel_ = nullptr;
    bool finished_ = true;
    int result_ = 0;
};

}  // namespace kestrum
