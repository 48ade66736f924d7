// TfrmSort: the sort dialog: the key as four radio buttons, always-sort
// and reverse as check boxes; borderless, sizeable, dragged by its client
// area.
#pragma once

#include <windows.h>

#include <array>

#include "common/dialog_win.h"
#include "common/subclass_win.h"
#include "filer/filer_questions.h"

namespace kestrum {

class TfrmSort : public Dialog {
public:
    // Radio buttons in the order shown: name, date, size, extension.
    enum Radio : int { kRadioName, kRadioDate, kRadioSize, kRadioExt, kRadioCount };

    // Creates the hidden dialog.
    bool Create(HWND owner);

    // Modal: the controls set from choice; true on OK with choice the state
    // of the controls.
    bool AskSort(FilerQuestions::SortChoice& choice);
    // The same without the modal loop: sets the controls and the focus (the
    // checked radio button); the question ends when Finished() is true.
    void Begin(const FilerQuestions::SortChoice& choice);
    // The state of the controls.
    FilerQuestions::SortChoice Choice() const;

    HWND RadioButton(int i) const { return radios_[i]; }
    HWND ifsort() const { return ifsort_; }
    HWND cbxReverse() const { return cbxReverse_; }
    HWND OkButton() const { return ok_; }
    HWND CancelButton() const { return cancel_; }

    // The keys of the two groups, for a control of the dialog: Tab, Left
    // and Right move to the other group; A and R on a radio button toggle
    // the check boxes. True when the key was taken.
    bool ControlKeyDown(HWND control, WPARAM key);
    bool ControlChar(HWND control, WPARAM ch);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void FormCreate();
    void End(int result);
    bool IsRadio(HWND w) const;
    HWND CheckedRadio() const;
    LRESULT ControlProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);

    HWND sortGroup_ = nullptr;
    HWND optionGroup_ = nullptr;
    HWND radios_[kRadioCount] = {};
    HWND ifsort_ = nullptr;
    HWND cbxReverse_ = nullptr;
    HWND ok_ = nullptr;
    HWND cancel_ = nullptr;
    HWND focus_ = nullptr;  // the control to give the focus back to
    std::array<Subclass, kRadioCount + 2> controlSubclasses_;  // the radio buttons and the check boxes
};

}  // namespace kestrum
