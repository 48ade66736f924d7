// TfrmSort: controls, keys and the modal question of the sort dialog.
#include "filer/frm_sort_win.h"

#include <commctrl.h>

#include <exception>

#include "common/modal_loop_win.h"
#include "filer/sort.h"

namespace kestrum {

namespace {

enum : int { kIdRadio0 = 101, kIdAutoSort = 105, kIdReverse = 106 };
constexpr UINT_PTR kSubclassId = 0x4B53;  // "KS"
// No WS_CLIPCHILDREN: the group boxes leave their insides to the dialog.
constexpr DWORD kStyle = WS_POPUP | WS_THICKFRAME;
constexpr int kClientWidth = 300;
constexpr int kClientHeight = 128;

// The settings' key of each radio button, in the order shown.
constexpr int kRadioKey[TfrmSort::kRadioCount] = {kSortName, kSortDate, kSortSize, kSortExt};
constexpr const char* kRadioCaption[TfrmSort::kRadioCount] = {"&N 名前順", "&T 日付順", "&S ファイルサイズ",
                                                              "&E 拡張子"};

TfrmSort* g_current = nullptr;

bool Checked(HWND w) { return SendMessageA(w, BM_GETCHECK, 0, 0) == BST_CHECKED; }
void SetChecked(HWND w, bool on) { SendMessageA(w, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); }

}  // namespace

TfrmSort::~TfrmSort() {
    if (g_current == this) g_current = nullptr;
}

TfrmSort* TfrmSort::Current() { return g_current; }

bool TfrmSort::Create(HWND owner) {
    RegisterWindowClass("TfrmSort");
    const SIZE outer = OuterSizeForClient(kClientWidth, kClientHeight, kStyle, 0, false);
    if (!CreateWin("TfrmSort", 0, kStyle, "ソート", 0, 0, outer.cx, outer.cy, owner)) return false;
    FormCreate();
    Center();
    g_current = this;
    return true;
}

void TfrmSort::FormCreate() {
    HINSTANCE inst = GetModuleHandleA(nullptr);
    auto make = [&](const char* cls, const char* text, DWORD style, int id, int x, int y, int w, int h) {
        HWND c = CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, Handle(),
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), inst, nullptr);
        SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        return c;
    };
    sortGroup_ = make("BUTTON", "Sort", BS_GROUPBOX, -1, 8, 4, 132, 116);
    for (int i = 0; i < kRadioCount; ++i) {
        const DWORD style = BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP | WS_TABSTOP : 0);
        radios_[i] = make("BUTTON", kRadioCaption[i], style, kIdRadio0 + i, 18, 22 + 24 * i, 116, 20);
    }
    optionGroup_ = make("BUTTON", "Option", BS_GROUPBOX, -1, 148, 4, 144, 64);
    ifsort_ = make("BUTTON", "常にソート(A)", BS_AUTOCHECKBOX | WS_GROUP | WS_TABSTOP, kIdAutoSort, 158, 22, 128, 20);
    cbxReverse_ = make("BUTTON", "いつもと逆に(R)", BS_AUTOCHECKBOX, kIdReverse, 158, 44, 128, 20);
    // Neither button is reached by Tab; Enter and Escape press them.
    ok_ = make("BUTTON", "OK", BS_DEFPUSHBUTTON | WS_GROUP, IDOK, 172, 90, 56, 26);
    cancel_ = make("BUTTON", "Cancel", BS_PUSHBUTTON, IDCANCEL, 236, 90, 56, 26);
    for (HWND c : radios_) SetWindowSubclass(c, &TfrmSort::ControlProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    for (HWND c : {ifsort_, cbxReverse_}) {
        SetWindowSubclass(c, &TfrmSort::ControlProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    }
    SetChecked(radios_[kRadioName], true);
}

void TfrmSort::Center() {
    RECT r{};
    GetWindowRect(Handle(), &r);
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    SetWindowPos(Handle(), nullptr, (GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 2,
                 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TfrmSort::Begin(const Prompter::SortChoice& choice) {
    int radio = kRadioName;
    for (int i = 0; i < kRadioCount; ++i) {
        if (kRadioKey[i] == choice.key) radio = i;
    }
    for (int i = 0; i < kRadioCount; ++i) SetChecked(radios_[i], i == radio);
    SetChecked(ifsort_, choice.autoSort);
    SetChecked(cbxReverse_, choice.reverse);
    finished_ = false;
    modalResult_ = 0;
    focus_ = radios_[radio];
    Center();
    ShowWindow(Handle(), SW_SHOWNA);
    SetFocus(focus_);
}

bool TfrmSort::AskSort(Prompter::SortChoice& choice) {
    Begin(choice);
    HWND active = GetActiveWindow();
    if (!RunModalLoop(Handle(), finished_)) modalResult_ = mrCancel;
    if (active && IsWindow(active) && active != Handle()) SetActiveWindow(active);
    finished_ = true;
    if (modalResult_ != mrOk) return false;
    choice = Choice();
    return true;
}

Prompter::SortChoice TfrmSort::Choice() const {
    Prompter::SortChoice c;
    for (int i = 0; i < kRadioCount; ++i) {
        if (Checked(radios_[i])) c.key = kRadioKey[i];
    }
    c.autoSort = Checked(ifsort_);
    c.reverse = Checked(cbxReverse_);
    return c;
}

void TfrmSort::End(int result) {
    if (finished_) return;
    modalResult_ = result;
    finished_ = true;
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
        if (Checked(r)) return r;
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
    SetChecked(box, !Checked(box));
    return true;
}

LRESULT CALLBACK TfrmSort::ControlProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<TfrmSort*>(data);
    try {
        switch (msg) {
        case WM_GETDLGCODE: {
            // Ask the dialog manager for the group keys and, on a radio
            // button, for A and R (which are no mnemonics).
            const auto* m = reinterpret_cast<const MSG*>(lp);
            const LRESULT code = DefSubclassProc(wnd, msg, wp, lp);
            if (!m) return code;
            if (m->message == WM_KEYDOWN && (m->wParam == VK_TAB || m->wParam == VK_LEFT || m->wParam == VK_RIGHT)) {
                return code | DLGC_WANTMESSAGE;
            }
            if (m->message == WM_CHAR && self->IsRadio(wnd) &&
                (m->wParam == 'a' || m->wParam == 'A' || m->wParam == 'r' || m->wParam == 'R')) {
                return code | DLGC_WANTMESSAGE;
            }
            return code;
        }
        case WM_KEYDOWN:
            if (self->ControlKeyDown(wnd, wp)) return 0;
            break;
        case WM_CHAR:
            if (self->ControlChar(wnd, wp)) return 0;
            break;
        case WM_NCDESTROY: RemoveWindowSubclass(wnd, &TfrmSort::ControlProc, kSubclassId); break;
        default: break;
        }
    } catch (const std::exception& e) {
        ShowErrorBox(e.what());
        return 0;
    }
    return DefSubclassProc(wnd, msg, wp, lp);
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
