// Dialog: the base of the program's own dialogs and question windows: where
// they are centred, radio groups, the question's state and result, and the
// one modal loop.
#pragma once

#include <windows.h>

#include <span>

#include "common/prompter.h"
#include "common/window_win.h"

namespace kestrum {

// Where a window goes when there is no shown window to centre it over.
enum class CentreFallback { Screen, WorkArea };

// Centres wnd over the window over when that is shown, else over the screen
// (or the screen's work area). keepOnScreen moves it back inside the screen
// where it would stick out.
void CentreWindow(HWND wnd, HWND over, CentreFallback fallback = CentreFallback::Screen, bool keepOnScreen = false);

class Dialog : public Window {
public:
    // False while a question runs (from BeginModal to EndModal).
    bool Finished() const { return finished_; }
    // What EndModal was given: a button id (mrOk, mrCancel ...) or an
    // answer of the dialog's own.
    int ModalResult() const { return modalResult_; }

protected:
    void BeginModal() {
        finished_ = false;
        modalResult_ = 0;
    }
    void EndModal(int result) {
        modalResult_ = result;
        finished_ = true;
    }
    // Shows the dialog and runs the modal loop until EndModal: the thread's
    // other windows are disabled meanwhile and the dialog is hidden at the
    // end. activeBefore, when given and still there, is active again after.
    // False when WM_QUIT ended the loop (it is posted again) and the question
    // is still open.
    bool RunModal(HWND activeBefore);
    // Makes activeBefore active again when it is still there (and is not
    // this dialog).
    void ActivateAgain(HWND activeBefore);

    void Centre(HWND over = nullptr, CentreFallback fallback = CentreFallback::Screen, bool keepOnScreen = false) {
        CentreWindow(Handle(), over, fallback, keepOnScreen);
    }
    // Radio buttons one below the other, step pixels apart, with the ids
    // firstId on, into out: the first starts the group and the tab stop and
    // is checked.
    void AddRadioGroup(std::span<HWND> out, std::span<const char* const> captions, int firstId, int x, int y, int w,
                       int h, int step);

private:
    bool finished_ = true;
    int modalResult_ = 0;
};

}  // namespace kestrum
