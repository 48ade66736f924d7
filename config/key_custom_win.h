// TKCForm: the key customisation dialog. It edits a working copy of a key
// map; "保存" copies it back, calls the owner's save handler and refreshes
// the menu captions.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "common/dialog_win.h"
#include "common/signal.h"
#include "common/subclass_win.h"
#include "config/key_map.h"

namespace kestrum {

inline constexpr const char* kKeyCustomDefaultCaption = "Kestrum ファイラーキーカスタマイズ";
inline constexpr const char* kKeyCustomCaption = "Kestrum　キーカスタマイズ";

class TKCForm : public Dialog {
public:
    // Creates the hidden dialog for keyx; an empty caption gives the default.
    bool Create(HWND owner, TKeyX& keyx, const std::string& caption, std::function<void()> onSave, int helpIndex);
    // Runs the dialog modally; mrOk after "保存", else mrCancel.
    int ShowModal();

    // A key-down in the capture field with the event's modifier bits.
    void CaptureKeyDown(int key, unsigned char modifiers);
    void Update();  // "更新"
    void Save();    // "保存"

    const TUserKey& WorkingCopy() const { return work_; }
    int CapturedKey() const { return capturedKey_; }

    HWND ListBox() const { return list_; }
    HWND KeyField() const { return field_; }
    HWND ShiftBox() const { return shift_; }
    HWND CtrlBox() const { return ctrl_; }
    HWND AltBox() const { return alt_; }
    HWND UpdateButton() const { return update_; }
    HWND SaveButton() const { return save_; }
    HWND CancelButton() const { return cancel_; }
    HWND HelpButton() const { return help_; }

    enum ControlId : int { kIdList = 101, kIdField, kIdShift, kIdCtrl, kIdAlt, kIdUpdate, kIdSave, kIdCancel, kIdHelp };

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    LRESULT FieldProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
    void FormCreate();
    unsigned char TickedModifiers() const;
    void Reselect();
    void Close(int result);

    TKeyX* keyx_ = nullptr;
    TUserKey work_;
    std::function<void()> onSave_;
    int helpIndex_ = 0;
    int capturedKey_ = 0;
    HWND list_ = nullptr;
    HWND field_ = nullptr;
    HWND shift_ = nullptr;
    HWND ctrl_ = nullptr;
    HWND alt_ = nullptr;
    HWND update_ = nullptr;
    HWND save_ = nullptr;
    HWND cancel_ = nullptr;
    HWND help_ = nullptr;
    Subclass fieldSubclass_;  // the capture field takes every key
};

// Opens the dialog modally for keyx and returns its result. While a runner
// is installed (tests), the dialog is created and handed to it instead of
// the modal loop; the runner's result is returned.
int ShowKeyCustomDialog(HWND owner, TKeyX& keyx, const std::string& caption, std::function<void()> onSave,
                        int helpIndex);
using KeyCustomRunner = std::function<int(TKCForm&)>;
// Installs a runner until the subscription goes (the one installed before
// is in force again then).
[[nodiscard]] Subscription InstallKeyCustomRunner(KeyCustomRunner runner);

}  // namespace kestrum
