// TDateChangeForm: the date dialog for one file, with the old stamp and an
// editable new one in fixed-format fields ("yyyy/mm/dd hh:nn:ss").
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "common/dialog_win.h"
#include "common/subclass_win.h"
#include "fileops/file_questions.h"
#include "fileops/fixed_mask.h"

namespace kestrum {

// The field layout: four digits, two, two, then hours, minutes and seconds;
// blanks stand for places not typed.
inline constexpr char kDateMaskPattern[] = "0000/90/90 90:90:90";

class TDateChangeForm : public Dialog {
public:
    enum : int { kAllId = 8 };  // the ALL button's id and result

    bool Create(HWND owner, const std::string& caption);
    // Shows the file modally until a button is pressed.
    FileOpQuestions::DateAnswer ShowModal(std::string_view fileName, std::string_view oldText, std::string_view newText,
                                   bool hasFile);
    // The same in halves (tests drive the window with messages between).
    void Begin(std::string_view fileName, std::string_view oldText, std::string_view newText, bool hasFile);
    const FileOpQuestions::DateAnswer& Answer() const { return answer_; }

    HWND NameLabel() const { return name_; }
    HWND OldEdit() const { return old_; }
    HWND NewEdit() const { return new_; }
    HWND OkButton() const { return ok_; }
    HWND AllButton() const { return all_; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void FormCreate();
    void Finish(int result);
    LRESULT MaskProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
    void ApplyMask(HWND edit, const FixedMask::State& s);

    HWND owner_ = nullptr;
    HWND name_ = nullptr;
    HWND old_ = nullptr;
    HWND new_ = nullptr;
    HWND ok_ = nullptr;
    HWND all_ = nullptr;
    HWND cancel_ = nullptr;
    FixedMask mask_{kDateMaskPattern};
    Subclass maskSubclass_;
    FileOpQuestions::DateAnswer answer_;
};

}  // namespace kestrum
