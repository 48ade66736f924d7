// TfrmSort: the sort dialog: the key as four radio buttons, always-sort
// and reverse as check boxes; borderless, sizeable, dragged by its client
// area.
#pragma once

#include <windows.h>

#include "common/prompter.h"
#include "common/window_win.h"

namespace kestrum {

class TfrmSort : public Window {
public:
    // Radio buttons in the order shown: name, date, size, extension.
    enum Radio : int { kRadioName, kRadioDate, kRadioSize, kRadioExt, kRadioCount };

    ~TfrmSort() override;
    // Creates the hidden dialog; the last one created answers the window
    // prompter's AskSort.
    bool Create(HWND owner);
    static TfrmSort* Current();

    // Modal: the controls set from choice; true on OK with choice the state
    // of the controls.
    bool AskSort(Prompter::SortChoice& choice);
    // The same without the modal loop: sets the controls and the focus (the
    // checked radio button); the question ends when Finished() is true.
    void Begin(const Prompter::SortChoice& choice);
    bool Finished() const { return finished_; }
    int ModalResult() const { return modalResult_; }
    // The state of the controls.
    Prompter::SortChoice Choice() const;

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
    void Center();
    void End(int result);
    bool IsRadio(HWND w) const;
    HWND CheckedRadio() const;
    static LRESULT CALLBACK ControlProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data);

    HWND sortGroup_ = nullptr;
    HWND optionGroup_ = nullptr;
    HWND radios_[kRadioCount] = {};
    HWND ifsort_ = nullptr;
    HWND cbxReverse_ = nullptr;
    HWND ok_ = nullptr;
    HWND cancel_ = nullptr;
    HWND focus_ = nullptr;  // the control to give the focus back to
    bool finished_ = true;
    int modalResult_ = 0;
};

}  // namespace kestrum
