// TfrmFormat: the format dialog (drive and kind of format), confirming
// through the prompter before the platform's format runs.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "common/dialog_win.h"

namespace kestrum {

class TfrmFormat : public Dialog {
public:
    // The platform's format call: owner, drive index (A: = 0), format
    // identifier, options (the kind: 0 quick, 1 normal, 2 boot only).
    using Formatter = std::function<DWORD(HWND, UINT, UINT, UINT)>;

    // Creates the hidden window (class "TfrmFormat1").
    bool Create(HWND owner);
    // Shows the dialog modally until it is closed.
    void ShowModal();
    // The same without the modal loop (tests drive it with messages).
    void Begin();
    // Tests put a recorder in place of the platform's format.
    void SetFormatter(Formatter f) { formatter_ = std::move(f); }

    HWND DriveBox() const { return drives_; }
    HWND KindButton(int kind) const { return kind >= 0 && kind < 3 ? kinds_[kind] : nullptr; }
    HWND OkButton() const { return ok_; }
    // Selects a drive by index (A: = 0); false when it is not listed.
    bool SelectDrive(int drive);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void FormCreate();
    void FillDrives();
    void OkClick();
    void Finish();
    int SelectedDrive() const;
    int SelectedKind() const;

    HWND owner_ = nullptr;
    HWND drives_ = nullptr;
    HWND kinds_[3] = {};
    HWND ok_ = nullptr;
    Formatter formatter_;
};

}  // namespace kestrum
