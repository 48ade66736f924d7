// TfrmSort: controls, keys and the modal question of the sort dialog.
#include "filer/frm_sort_win.h"

#include "filer/sort.h"

namespace kestrum {

namespace {

enum : int { kIdRadio0 = 101, kIdAutoSort = 105, kIdReverse = 106 };
// No WS_CLIPCHILDREN: the group boxes leave their insides to the dialog.
constexpr DWORD kStyle = WS_POPUP | WS_THICKFRAME;
constexpr int kClientWidth = 300;
constexpr int kClientHeight = 128;

// The settings' key of each radio button, in the order shown.
constexpr int kRadioKey[TfrmSort::kRadioCount] = {kSortName, kSortDate, kSortSize, kSortExt};
constexpr const char* kRadioCaption[TfrmSort::kRadioCount] = {"&N 名前順", "&T 日付順", "&S ファイルサイズ",
                                                              "&E 拡張子"};

}  // namespace

bool TfrmSort::Create(HWND owner) {
    RegisterWindowClass("TfrmSort");
    const SIZE outer = OuterSizeForClient(kClientWidth, kClientHeight, kStyle, 0, false);
    if (!CreateWin("TfrmSort", 0, kStyle, "ソート", 0, 0, outer.cx, outer.cy, owner)) return false;
    FormCreate();
    Centre();
    return true;
}

void TfrmSort::FormCreate() {
    sortGroup_ = AddChild("BUTTON", "Sort", BS_GROUPBOX, 8, 4, 132, 116, -1);
    AddRadioGroup(radios_, kRadioCaption, kIdRadio0, 18, 22, 116, 20, 24);
    optionGroup_ = AddChild("BUTTON", "Option", BS_GROUPBOX, 148, 4, 144, 64, -1);
    ifsort_ = AddChild("BUTTON", "常にソート(A)", BS_AUTOCHECKBOX | WS_GROUP | WS_TABSTOP, 158, 22, 128, 20, kIdAutoSort);
    cbxReverse_ = AddChild("BUTTON", "いつもと逆に(R)", BS_AUTOCHECKBOX, 158, 44, 128, 20, kIdReverse);
    // Neither button is reached by Tab; Enter and Escape press them.
    ok_ = AddChild("BUTTON", "OK", BS_DEFPUSHBUTTON | WS_GROUP, 172, 90, 56, 26, IDOK);
    cancel_ = AddChild("BUTTON", "Cancel", BS_PUSHBUTTON, 236, 90, 56, 26, IDCANCEL);
    const HWND controls[] = {radios_[0], radios_[1], radios_[2], radios_[3], ifsort_, cbxReverse_};
    for (std::size_t i = 0; i < controlSubclasses_.size(); ++i) {
        controlSubclasses_[i].Attach(controls[i], this, &TfrmSort::ControlProc);
    }
}

void TfrmSort::Begin(const FilerQuestions::SortChoice& choice) {
    int radio = kRadioName;
    for (int i = 0; i < kRadioCount; ++i) {
        if (kRadioKey[i] == choice.key) radio = i;
    }
    for (int i = 0; i < kRadioCount; ++i) SetChecked(radios_[i], i == radio);
    SetChecked(ifsort_, choice.autoSort);
    SetChecked(cbxReverse_, choice.reverse);
    BeginModal();
    focus_ = radios_[radio];
    Centre();
    ShowWindow(Handle(), SW_SHOWNA);
    SetFocus(focus_);
}

bool TfrmSort::AskSort(FilerQuestions::SortChoice& choice) {
    Begin(choice);
    HWND active = GetActiveWindow();
    if (!RunModal(active)) EndModal(mrCancel);
    if (ModalResult() != mrOk) return false;
    choice = Choice();
    return true;
}

FilerQuestions::SortChoice TfrmSort::Choice() const {
    FilerQuestions::SortChoice c;
    for (int i = 0; i < kRadioCount; ++i) {
        if (IsChecked(radios_[i])) c.key = kRadioKey[i];
    }
    c.autoSort = IsChecked(ifsort_);
    c.reverse = IsChecked(cbxReverse_);
    return c;
}

void TfrmSort::End(int result) {
    if (Finished()) return;
    EndModal(result);
    ShowWindow(Handle(), SW_HIDE);
}

bool TfrmSort::IsRadio(HWND w) const {
    for (HWND r : radios_) {
        if (r == w) return true;
    }
    return false;
}

HWND TfrmSort::CheckedRadio() const {
    for (HWND r : radios_) {
        if (IsChecked(r)) return r;
    }
    return radios_[kRadioName];
}

bool TfrmSort::ControlKeyDown(HWND control, WPARAM key) {
    if (key != VK_TAB && key != VK_LEFT && key != VK_RIGHT) return false;
    if (IsRadio(control)) {
        SetFocus(ifsort_);
        return true;
    }
    if (control == ifsort_ || control == cbxReverse_) {
        SetFocus(CheckedRadio());
        return true;
    }
    return false;
}

bool TfrmSort::ControlChar(HWND control, WPARAM ch) {
    if (!IsRadio(control)) return false;
    HWND box = nullptr;
    if (ch == 'a' || ch == 'A') box = ifsort_;
    if (ch == 'r' || ch == 'R') box = cbxReverse_;
    if (!box) return false;
    SetChecked(box, !IsChecked(box));
    return true;
}

LRESULT TfrmSort::ControlProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_GETDLGCODE: {
        // Ask the dialog manager for the group keys and, on a radio button,
        // for A and R (which are no mnemonics).
        const auto* m = reinterpret_cast<const MSG*>(lp);
        const LRESULT code = Subclass::CallNext(wnd, msg, wp, lp);
        if (!m) return code;
        if (m->message == WM_KEYDOWN && (m->wParam == VK_TAB || m->wParam == VK_LEFT || m->wParam == VK_RIGHT)) {
            return code | DLGC_WANTMESSAGE;
        }
        if (m->message == WM_CHAR && IsRadio(wnd) &&
            (m->wParam == 'a' || m->wParam == 'A' || m->wParam == 'r' || m->wParam == 'R')) {
            return code | DLGC_WANTMESSAGE;
        }
        return code;
    }
    case WM_KEYDOWN:
        if (ControlKeyDown(wnd, wp)) return 0;
        break;
    case WM_CHAR:
        if (ControlChar(wnd, wp)) return 0;
        break;
    default: break;
    }
    return Subclass::CallNext(wnd, msg, wp, lp);
}

LRESULT TfrmSort::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_NCHITTEST: {
        // Dragged anywhere by its client area; the frame still sizes it.
        const LRESULT hit = Default(msg, wp, lp);
        return hit == HTCLIENT ? HTCAPTION : hit;
    }
    case DM_GETDEFID: return MAKELRESULT(IDOK, DC_HASDEFID);
    case WM_COMMAND:
        if (LOWORD(wp) == IDOK) {
            End(mrOk);
            return 0;
        }
        if (LOWORD(wp) == IDCANCEL) {
            End(mrCancel);
            return 0;
        }
        break;
    case WM_CLOSE: End(mrCancel); return 0;
    case WM_ACTIVATE:
        if (LOWORD(wp) == WA_INACTIVE) {
            HWND f = GetFocus();
            if (f && IsChild(Handle(), f)) focus_ = f;
        } else {
            SetFocus(focus_ && IsWindow(focus_) ? focus_ : CheckedRadio());
        }
        return 0;
    default: break;
    }
    return Default(msg, wp, lp);
}

}  // namespace kestrum
